// The file browser panel's rows: filling the list from a folder, freeing the rows, and the
// thumbnail tiles of the thumbnail view (drawn on screen and into drag pictures).
#include <cctype>
#include <map>
#include <string>

#include "albums/AlbumRules.h"
#include "albums/ExploreBarDlg.h"
#include "albums/ExploreBarRules.h"
#include "controls/DragDropHelper.h"
#include "controls/PathInfo.h"
#include "modules/data/DVDImage.h"
#include "modules/data/ImageLoadManager.h"
#include "modules/log/Log.h"
#include "platform/comctl/AfxImageList.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Path.h"
#include "shell/ProcessObjects.h"

namespace {

// A tile: its picture is 78 pixels square, the name below it 16 pixels high.
constexpr int kTileSize = 78;
constexpr int kTileTextBottom = 94;
constexpr int kThumbnailInset = 7;
constexpr int kThumbnailSize = 64;
constexpr int kIconInset = 23;
constexpr COLORREF kTileDragMask = RGB(10, 2, 12);

ExploreBarDlg* g_dragPanel = nullptr;  // the panel whose tiles the drag picture shows; UI thread

CImageList* TileDragImage(CListCtrl*, int row, POINT* origin) {
  if (g_dragPanel == nullptr) return nullptr;
  CRect rc;
  if (!g_dragPanel->GetFileList().GetItemRect(row, &rc, LVIR_BOUNDS)) return nullptr;
  *origin = rc.TopLeft();
  return g_dragPanel->CreateTileDragImage(row);
}

}  // namespace

CString BrowserItemPath(const _tagBrowserItem* pItem) {
  if (pItem == nullptr || pItem->pData == nullptr) return CString();
  if (pItem->nKind == BROWSER_ROW_PHOTO)
    return static_cast<const CDVDImage*>(pItem->pData)->Get_strPathName();
  return *static_cast<const CString*>(pItem->pData);
}

void ExploreBarDlg::FreeRows() {
  if (m_list.GetSafeHwnd() == nullptr) return;
  for (int row = 0; row < m_list.GetItemCount(); ++row) {
    auto* item = reinterpret_cast<_tagBrowserItem*>(m_list.GetItemData(row));
    if (item == nullptr) continue;
    if (item->nKind == BROWSER_ROW_PHOTO)
      delete static_cast<CDVDImage*>(item->pData);
    else
      delete static_cast<CString*>(item->pData);
    delete item;
    m_list.SetItemData(row, 0);
  }
  m_list.DeleteAllItems();
}

void ExploreBarDlg::DisplayFolder(CString strFolder) {
  WriteLog("Display iamges of folder %s", strFolder.GetString());
  // The loader reads the rows' slides: it must be gone before they are freed.
  m_pLoader->WaitForThreadTerminated(TRUE);
  FreeRows();
  // The parent-folder row carries a trailing separator; the folder shown is kept without one, as
  // the tree names it, so that the two compare equal.
  m_strCurrentFolder = std::string(pictavo::path::WithoutTrailingSeparator(strFolder.GetString())).c_str();

  // The shell's type name and icon follow a file's extension: asked once per extension (and
  // once for folders), a folder of 2,000 photos costs two questions instead of 4,000.
  struct ShellLook {
    CString typeName;
    int icon = 0;
  };
  std::map<std::string, ShellLook> looks;
  auto LookOf = [&looks](LPCTSTR path, int kind) -> const ShellLook& {
    std::string key =
        kind == BROWSER_ROW_FOLDER ? std::string("/") : std::string(FileExtOf(path).GetString());
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto found = looks.find(key);
    if (found == looks.end()) {
      const CPathInfo info(path);
      found = looks.emplace(key, ShellLook{info.GetTypeName(), info.GetIconIndex()}).first;
    }
    return found->second;
  };
  m_list.SetRedraw(FALSE);
  const std::string folder(pictavo::path::WithoutTrailingSeparator(strFolder.GetString()));
  WIN32_FIND_DATA find{};
  const HANDLE handle = ::FindFirstFile(pictavo::path::Join(folder, "*.*").c_str(), &find);
  for (BOOL more = handle != INVALID_HANDLE_VALUE; more; more = ::FindNextFile(handle, &find)) {
    const std::string name = find.cFileName;
    if (name == ".") continue;
    const std::string path = pictavo::path::Join(folder, name);
    // A failed attribute read counts as hidden: what cannot be read is not offered.
    const DWORD attributes = ::GetFileAttributes(path.c_str());
    const BOOL hidden = attributes == INVALID_FILE_ATTRIBUTES ||
                        (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
    const BOOL isFolder = (find.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    CString rowPath = path.c_str();
    int kind;
    const bool parentRow = name == "..";
    if (parentRow) {
      rowPath = ParentFolderRowPath(folder.c_str());
      if (rowPath.IsEmpty()) continue;
      kind = BROWSER_ROW_FOLDER;
    } else {
      kind = BrowserRowKindOf(name.c_str(), isFolder, hidden);
      if (kind == BROWSER_ROW_NONE) continue;
    }

    const ShellLook& look = LookOf(parentRow ? rowPath.GetString() : path.c_str(), kind);
    const CString& typeName = look.typeName;
    const int row =
        m_list.InsertItem(LVIF_TEXT | LVIF_IMAGE, m_list.GetItemCount(), name.c_str(), 0, 0, look.icon, 0);
    if (row < 0) continue;
    auto* item = new _tagBrowserItem{kind, nullptr};
    if (kind == BROWSER_ROW_PHOTO) {
      auto* slide = new CDVDImage(nullptr);
      slide->SetDataFromParam(path.c_str(), &find, typeName);
      item->pData = slide;
    } else {
      item->pData = new CString(rowPath);
    }
    if (kind != BROWSER_ROW_FOLDER) {
      const ULONGLONG bytes = (static_cast<ULONGLONG>(find.nFileSizeHigh) << 32) | find.nFileSizeLow;
      m_list.SetItemText(row, BROWSER_COLUMN_SIZE, BrowserSizeText(bytes));
      m_list.SetItemText(row, BROWSER_COLUMN_MODIFIED, BrowserTimeText(find.ftLastWriteTime));
    }
    if (!parentRow) m_list.SetItemText(row, BROWSER_COLUMN_TYPE, typeName);
    m_list.SetItemText(row, BROWSER_COLUMN_DATE, "");
    m_list.SetItemData(row, reinterpret_cast<DWORD_PTR>(item));
  }
  if (handle != INVALID_HANDLE_VALUE) ::FindClose(handle);
  m_list.SetRedraw(TRUE);
  m_list.Invalidate();

  if (m_pLoader->m_hStopEvent != nullptr) ::ResetEvent(m_pLoader->m_hStopEvent);
  if (m_pLoader->m_hDoneEvent != nullptr) ::ResetEvent(m_pLoader->m_hDoneEvent);
  m_pLoader->StartLoadImageThread(&m_list);
}

// Thumbnail tiles.

LRESULT ExploreBarDlg::OnListCustomDraw(NMHDR* pNotify) {
  if (!m_bThumbnailView) return CDRF_DODEFAULT;
  auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(pNotify);
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      const int row = static_cast<int>(draw->nmcd.dwItemSpec);
      CRect rc;
      if (m_list.GetItemRect(row, &rc, LVIR_BOUNDS))
        DrawThumbnailTile(CDC::FromHandle(draw->nmcd.hdc), row, rc.left, rc.top);
      return CDRF_SKIPDEFAULT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

void ExploreBarDlg::DrawThumbnailTile(CDC* pDC, int nRow, int x, int y, int nTile) {
  const UINT state = m_list.GetItemState(nRow, LVIS_SELECTED | LVIS_DROPHILITED);
  int tile = 0;
  if (nTile >= 0)
    tile = nTile;
  else if (state & LVIS_DROPHILITED)
    tile = 1;
  else if (state & LVIS_SELECTED)
    tile = ::GetFocus() == m_list.GetSafeHwnd() ? 1 : 2;
  if (CImageList* tiles = TileImages()) tiles->Draw(pDC, tile, CPoint(x, y), ILD_NORMAL);

  const auto* item = reinterpret_cast<const _tagBrowserItem*>(m_list.GetItemData(nRow));
  const auto* slide = item != nullptr && item->nKind == BROWSER_ROW_PHOTO
                          ? static_cast<const CDVDImage*>(item->pData)
                          : nullptr;
  const BOOL drawn =
      slide != nullptr && slide->DrawThumbnail(pDC->GetSafeHdc(), CRect(x, y, x + kTileSize, y + kTileSize),
                                               CPoint(kThumbnailInset, kThumbnailInset),
                                               CSize(kThumbnailSize, kThumbnailSize), 0, 1);
  CImageList* icons = drawn ? nullptr : LargeIcons();
  if (icons != nullptr) {
    LVITEM icon{};
    icon.mask = LVIF_IMAGE;
    icon.iItem = nRow;
    m_list.GetItem(&icon);
    icons->Draw(pDC, icon.iImage, CPoint(x + kIconInset, y + kIconInset), ILD_TRANSPARENT);
  }

  pDC->SetBkColor(RGB(255, 255, 255));
  pDC->SetTextColor(RGB(0, 0, 0));
  if (slide != nullptr) {
    slide->DrawFileDesc(pDC->GetSafeHdc(), CPoint(x, y));
  } else {
    CRect caption(x, y + kTileSize, x + kTileSize, y + kTileTextBottom);
    pDC->DrawText(m_list.GetItemText(nRow, BROWSER_COLUMN_NAME), &caption,
                  DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  }
}

CImageList* ExploreBarDlg::CreateTileDragImage(int nRow) {
  CRect bounds;
  if (nRow < 0 || nRow >= m_list.GetItemCount() || !m_list.GetItemRect(nRow, &bounds, LVIR_BOUNDS) ||
      bounds.IsRectEmpty())
    return nullptr;
  // Tile picture 1, as a selected tile with the focus is drawn.
  return CreatePaintedDragImage(bounds.Size(), kTileDragMask,
                                [&](CDC& dc) { DrawThumbnailTile(&dc, nRow, 0, 0, 1); });
}

CImageList* ExploreBarDlg::CreateBrowserDragImage(const _tagDragInfo* pInfo, POINT* pOrigin) {
  if (pInfo == nullptr || pInfo->nKind != DRAG_KIND_LIST_CTRL) return nullptr;
  auto* list = static_cast<CListCtrl*>(pInfo->pSource);
  if (list == nullptr || list->GetSelectedCount() == 0) return nullptr;
  // Rows of the panel's own list draw as tiles; another list gives its own drag pictures.
  auto* panel = static_cast<ExploreBarDlg*>(GetWindowRegistry()->m_pExploreBar);
  g_dragPanel = panel != nullptr && list == &panel->GetFileList() ? panel : nullptr;
  CImageList* image = CListCtrlDragHelper::BuildSelectionImage(
      list, pOrigin, g_dragPanel != nullptr ? &TileDragImage : nullptr);
  g_dragPanel = nullptr;
  return image;
}
