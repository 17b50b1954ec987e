// The file browser panel's window: start-up, layout with the splitter, the folder tree's
// notifications, the views, sorting, the context menu and its commands. The rows are in
// ExploreBarList.cpp, drag and drop in ExploreBarDrag.cpp, the folder walks in ExploreBarWalk.cpp.
#include "albums/ExploreBarDlg.h"

#include "albums/AlbumEditorDlg.h"
#include "albums/AlbumPhotoDlg.h"
#include "albums/ExploreBarRules.h"
#include "albums/FileTreeCtrl.h"
#include "albums/VideoAlbumPage.h"
#include "controls/DragDropHelper.h"
#include "controls/IconMenu.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/ImageLoadManager.h"
#include "modules/log/Log.h"
#include "platform/comctl/AfxImageList.h"
#include "platform/comctl/AfxTreeCtrl.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Module.h"
#include "platform/user/Accel.h"
#include "shell/AppSettings.h"
#include "shell/LanguageFile.h"
#include "shell/PageEditorNew.h"
#include "shell/ProcessObjects.h"
#include "shell/SkinMinor.h"
#include "shell/SlideshowApp.h"
#include "shell/UIHelpers.h"

namespace {

constexpr UINT ID_VIEW_THUMBNAILS = 32819;
constexpr UINT ID_VIEW_DETAILS = 32818;
constexpr UINT ID_VIEW_LARGE_ICONS = 32927;
constexpr UINT ID_VIEW_LIST = 32817;
constexpr UINT ID_VIEW_SMALL_ICONS = 32928;
constexpr UINT ID_SORT_BY_NAME = 32930;
constexpr UINT ID_SORT_BY_SIZE = 32932;
constexpr UINT ID_SORT_BY_TYPE = 32931;
constexpr UINT ID_SORT_BY_DATE = 32933;
constexpr UINT ID_SORT_BY_PHOTO_DATE = 33920;
constexpr UINT ID_SORT_BY_PHOTO_SIZE = 33921;
constexpr UINT ID_ADD_TO_ALBUM = 32923;
constexpr UINT ID_ADD_ALL = 32924;
constexpr UINT ID_SELECT_ALL = 32934;

constexpr int kTileSpacingX = 86, kTileSpacingY = 98;
constexpr int kMinTreeWidth = 270;

const struct {
  const char* title;
  int format;
  int width;
} kColumns[BROWSER_COLUMN_COUNT] = {
    {"Name", LVCFMT_LEFT, 200},
    {"Size", LVCFMT_RIGHT, 80},
    {"Type", LVCFMT_LEFT, 100},
    {"Modified", LVCFMT_LEFT, 130},
    {"Photo/File Date", LVCFMT_LEFT, 140},
    {"Dimensions", LVCFMT_LEFT, 100},
};

// The tree beside the splitter and the file list, side by side.
_tagLayoutRow g_exploreLayout[6];
const LayoutRowInit kExploreLayout[6] = {
    {LAYOUT_COLUMNS | LAYOUT_REST, 0, 0},    {LAYOUT_TOFIT, IDC_EXPLORE_TREE, 0},
    {LAYOUT_FIXED, IDC_EXPLORE_SPLITTER, 6}, {LAYOUT_REST, IDC_EXPLORE_LIST, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0}, {LAYOUT_END_TABLE, LAYOUT_NO_WINDOW, 0},
};
_tagLayoutRow* InitExploreBarLayout() {
  static const bool ready = (InitLayoutRows(g_exploreLayout, kExploreLayout), true);
  (void)ready;
  return g_exploreLayout;
}

CWnd* LiveWindow(void* slot) {
  auto* wnd = static_cast<CWnd*>(slot);
  return wnd != nullptr && wnd->GetSafeHwnd() != nullptr ? wnd : nullptr;
}

CImageList* ListOf(HIMAGELIST handle) {
  return handle != nullptr ? CImageList::FromHandle(handle) : nullptr;
}

}  // namespace

BEGIN_MESSAGE_MAP(ExploreBarDlg, CPropertyPage)
ON_WM_SIZE()
ON_WM_DESTROY()
ON_WM_ERASEBKGND()
ON_WM_CONTEXTMENU()
ON_WM_INITMENUPOPUP()
ON_WM_MEASUREITEM()
ON_WM_MENUCHAR()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_CAPTURECHANGED()
ON_WM_CANCELMODE()
ON_REGISTERED_MESSAGE(g_uWinMgrMsg, OnWinMgr)
ON_MESSAGE(WM_FILELIST_RESORT, OnResort)
ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
ON_COMMAND(ID_VIEW_THUMBNAILS, OnViewThumbnails)
ON_COMMAND(ID_VIEW_DETAILS, OnViewDetails)
ON_COMMAND(ID_VIEW_LARGE_ICONS, OnViewLargeIcons)
ON_COMMAND(ID_VIEW_LIST, OnViewList)
ON_COMMAND(ID_VIEW_SMALL_ICONS, OnViewSmallIcons)
ON_COMMAND_RANGE(ID_SORT_BY_NAME, ID_SORT_BY_DATE, OnSortCommand)
ON_COMMAND_RANGE(ID_SORT_BY_PHOTO_DATE, ID_SORT_BY_PHOTO_SIZE, OnSortCommand)
ON_COMMAND(ID_ADD_TO_ALBUM, OnAddToAlbum)
ON_COMMAND(ID_ADD_ALL, OnAddAll)
ON_COMMAND(ID_SELECT_ALL, OnSelectAll)
END_MESSAGE_MAP()

ExploreBarDlg::ExploreBarDlg()
    : CPropertyPage(IDD_EXPLORE_BAR),
      m_layout(InitExploreBarLayout()),
      // Rows are browser records; the loader fills the photo date and dimensions columns.
      m_pLoader(
          std::make_unique<CImageLoadManager>(0, BROWSER_COLUMN_DATE, BROWSER_COLUMN_DIMENSIONS, 0, 0, 0)) {}

ExploreBarDlg::~ExploreBarDlg() {
  m_pLoader.reset();
  delete m_pTree;
  delete m_pListDrag;
  delete m_pTreeDrag;
  if (m_hAccel != nullptr) ::DestroyAcceleratorTable(m_hAccel);
  delete m_pProgress;
}

void ExploreBarDlg::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  // Without its list the panel still opens, empty, rather than taking the organize page down.
  if (GetDlgItem(IDC_EXPLORE_LIST) != nullptr) DDX_Control(pDX, IDC_EXPLORE_LIST, m_list);
}

BOOL ExploreBarDlg::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_EXPLORE_BAR);
  SetDlgCtrlID(IDD_EXPLORE_BAR);
  WriteLog("ExploreBarDlg begin to initalize ...");
  m_hAccel = ::LoadAccelerators(::GetModuleHandle(nullptr), MAKEINTRESOURCE(IDR_EXPLORE_ACCEL));

  m_pListDrag = new CListCtrlDragHelper(this, TRUE);
  m_pTreeDrag = new CTreeCtrlDragHelper(this, TRUE);
  CWindowRegistry* registry = GetWindowRegistry();
  registry->m_pExploreBar = this;
  registry->m_pExploreDragHelper = m_pListDrag;
  WriteLog("ExploreBarDlg begin to initalize (1)...");

  // The template's static only marks the splitter's place.
  CStatic placeholder;
  const HWND marker = ::GetDlgItem(m_hWnd, IDC_EXPLORE_SPLITTER);
  if (marker == nullptr || m_list.GetSafeHwnd() == nullptr || !placeholder.Attach(marker)) return FALSE;
  placeholder.DestroyWindow();
  WriteLog("ExploreBarDlg begin to initalize (2)...");
  m_sizerBar.Create(WS_CHILD | WS_VISIBLE, this, &m_layout, IDC_EXPLORE_SPLITTER, CRect(0, 0, 0, 0));

  m_nIconSpacingX = 0;
  m_nIconSpacingY = 0;
  m_nArrowColumn = -1;
  m_bAscending = FALSE;
  m_pFileList = &m_list;
  for (int i = 0; i < BROWSER_COLUMN_COUNT; ++i)
    m_list.InsertColumn(i, TranslateDictionaryWord(kColumns[i].title), kColumns[i].format, kColumns[i].width);
  if (CImageList* tiles = TileImages()) m_list.SetImageList(tiles, LVSIL_NORMAL);
  m_list.SetIconSpacing(kTileSpacingX, kTileSpacingY);
  m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  WriteLog("ExploreBarDlg begin to initalize (3)...");

  const CWindowSettings& settings = GetAppSettings()->Window;
  const CString lastFolder = settings.LastFolder;
  m_nSortColumn = SortColumnFromSetting(settings.FileListSortType);
  if (CreateFolderTree() && !lastFolder.IsEmpty()) TreeSelectFolder(lastFolder);
  // The tree's selection normally fills the list; a folder the tree cannot show still opens.
  if (m_strCurrentFolder.IsEmpty() && !lastFolder.IsEmpty() &&
      ::GetFileAttributes(lastFolder) != INVALID_FILE_ATTRIBUTES)
    DisplayFolder(lastFolder);
  if (m_strCurrentFolder.IsEmpty()) m_strCurrentFolder = lastFolder;

  registry->m_pDragSourceList = &m_list;
  registry->m_pFolderTree = m_pTree;
  WriteLog("ExploreBarDlg begin to initalize (4)...");

  m_layout.CaptureToFitSizes(this);
  CRect client;
  GetClientRect(&client);
  m_layout.LayoutRoot(client, this);
  m_layout.ApplyLayout(this);
  OnViewThumbnails();
  WriteLog("ExploreBarDlg finish to initalize.");
  return TRUE;
}

// The folder tree.

BOOL ExploreBarDlg::CreateFolderTree() {
  auto* tree = new CFileTreeCtrl;
  if (!tree->SubclassDlgItem(IDC_EXPLORE_TREE, this)) {
    delete tree;
    return FALSE;
  }
  m_pTree = tree;
  tree->AttachImageList();
  tree->SetShowDesktop(TRUE);
  tree->SetShowMyDocuments(TRUE);
  tree->SetShowNetwork(TRUE);
  tree->SetShowFiles(FALSE);
  // A navigator only: nothing renamed, opened, deleted or shown from here.
  tree->SetAllowRename(FALSE);
  tree->SetAllowOpen(FALSE);
  tree->SetAllowProperties(FALSE);
  tree->SetAllowDelete(FALSE);
  return TRUE;
}

CString ExploreBarDlg::TreeSelectedPath() {
  return m_pTree != nullptr && m_pTree->GetSafeHwnd() != nullptr ? m_pTree->GetSelectedPath() : CString();
}

BOOL ExploreBarDlg::TreeSelectFolder(const CString& strPath) {
  if (m_pTree == nullptr || m_pTree->GetSafeHwnd() == nullptr) return FALSE;
  const HTREEITEM item = m_pTree->SelectPath(strPath, TRUE);
  // The tree selects with its drawing switched off: what changed is painted again here.
  m_pTree->Invalidate();
  if (item == nullptr) return FALSE;
  m_pTree->Expand(item, TVE_EXPAND);
  m_pTree->EnsureVisible(item);
  return TRUE;
}

CString ExploreBarDlg::TreeItemPath(HTREEITEM hItem) const {
  return m_pTree != nullptr && hItem != nullptr ? m_pTree->GetItemPath(hItem) : CString();
}

CString ExploreBarDlg::GetSelectedTreeFolder() {
  const CString selected = TreeSelectedPath();
  return selected.IsEmpty() ? m_strCurrentFolder : selected;
}

// Layout.

void ExploreBarDlg::OnSize(UINT nType, int cx, int cy) {
  CPropertyPage::OnSize(nType, cx, cy);
  if (m_list.GetSafeHwnd() == nullptr) return;
  m_layout.LayoutRoot(CRect(0, 0, cx, cy), this);
  m_layout.ApplyLayout(this);
}

LRESULT ExploreBarDlg::OnWinMgr(WPARAM wParam, LPARAM lParam) {
  auto* notify = reinterpret_cast<_tagLayoutNotify*>(lParam);
  if (notify == nullptr) return 0;
  const UINT id = static_cast<UINT>(wParam);
  if (notify->hdr.code == LAYOUT_NOTIFY_SIZE_QUERY) {
    if (id != IDC_EXPLORE_TREE) return 0;
    _tagLayoutSizeInfo& info = notify->sizeInfo;
    info.cxMin = kMinTreeWidth;
    info.cyMin = info.cyAvailable;
    if (m_pTree == nullptr || m_pTree->GetSafeHwnd() == nullptr) return 1;
    CRect rc;
    m_pTree->GetWindowRect(&rc);
    // The stored width until the tree has once been given it, then the width the user dragged.
    const int stored = GetAppSettings()->Window.ShellTreeWidth;
    if (m_nTreeWidth == -1 && rc.Width() == stored) m_nTreeWidth = stored;
    if (m_nTreeWidth != -1) m_nTreeWidth = rc.Width();
    info.cxDesired = m_nTreeWidth != -1 ? m_nTreeWidth : stored;
    info.cyDesired = info.cyAvailable;
    return 1;
  }
  if (notify->hdr.code == LAYOUT_NOTIFY_SIZER_MOVED) {
    m_layout.MoveSizer(id, notify->move.dx, notify->move.dy, this);
    m_layout.ApplyLayout(this);
    return 1;
  }
  return 0;
}

BOOL ExploreBarDlg::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  pDC->SaveDC();
  for (UINT id : {IDC_EXPLORE_TREE, IDC_EXPLORE_SPLITTER, IDC_EXPLORE_LIST}) {
    CWnd* child = GetDlgItem(id);
    if (child == nullptr || !child->IsWindowVisible()) continue;
    CRect rc;
    child->GetWindowRect(&rc);
    ScreenToClient(&rc);
    pDC->ExcludeClipRect(&rc);
  }
  pDC->FillSolidRect(&client, GetSkinColor(SKIN_COLOR_MAIN_DLG));
  pDC->RestoreDC(-1);
  return TRUE;
}

void ExploreBarDlg::OnDestroy() {
  m_pLoader->WaitForThreadTerminated(TRUE);
  FreeRows();
  StopAutoScrolls();
  CWindowRegistry* registry = GetWindowRegistry();
  if (registry->m_pExploreBar == this) registry->m_pExploreBar = nullptr;
  if (registry->m_pExploreDragHelper == m_pListDrag) registry->m_pExploreDragHelper = nullptr;
  if (registry->m_pDragSourceList == &m_list) registry->m_pDragSourceList = nullptr;
  if (registry->m_pFolderTree == m_pTree) registry->m_pFolderTree = nullptr;
  CPropertyPage::OnDestroy();
}

LRESULT ExploreBarDlg::OnLanguageChanged(WPARAM, LPARAM) {
  TranslateDialog(m_hWnd, IDD_EXPLORE_BAR);
  CHeaderCtrl* header = m_list.GetHeaderCtrl();
  for (int i = 0; header != nullptr && i < BROWSER_COLUMN_COUNT; ++i) {
    const CString title = TranslateDictionaryWord(kColumns[i].title);
    HDITEM item{};
    item.mask = HDI_TEXT;
    item.pszText = const_cast<LPSTR>(title.GetString());
    header->SetItem(i, &item);
  }
  Invalidate();
  return 1;
}

BOOL ExploreBarDlg::PreTranslateMessage(MSG* pMsg) {
  if (m_hAccel != nullptr && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
      ::TranslateAccelerator(m_hWnd, m_hAccel, pMsg))
    return TRUE;
  return CPropertyPage::PreTranslateMessage(pMsg);
}

// Notifications of the tree and the list.

BOOL ExploreBarDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header == nullptr) return CPropertyPage::OnNotify(wParam, lParam, pResult);
  if (header->idFrom == IDC_EXPLORE_TREE) {
    switch (header->code) {
      case TVN_SELCHANGED:
        *pResult = OnTreeSelChanged(header);
        return TRUE;
      case NM_CLICK:
        *pResult = OnTreeClick();
        return TRUE;
      case TVN_BEGINDRAG:
        OnTreeBeginDrag(header);
        *pResult = 0;
        return TRUE;
      case TVN_DELETEITEM:
      case TVN_ITEMEXPANDING:
      case TVN_ITEMEXPANDED:
      case NM_DBLCLK:
        *pResult = 0;
        return TRUE;
      default:
        break;
    }
  } else if (header->idFrom == IDC_EXPLORE_LIST) {
    switch (header->code) {
      case NM_DBLCLK:
        *pResult = OnListDblClk();
        return TRUE;
      case LVN_BEGINDRAG:
        OnListBeginDrag(reinterpret_cast<NMLISTVIEW*>(lParam));
        *pResult = 0;
        return TRUE;
      case LVN_COLUMNCLICK:
        SortByColumn(reinterpret_cast<NMLISTVIEW*>(lParam)->iSubItem);
        *pResult = 0;
        return TRUE;
      case NM_CUSTOMDRAW:
        *pResult = OnListCustomDraw(header);
        return TRUE;
      case NM_CLICK:
        *pResult = 0;
        return TRUE;
      default:
        break;
    }
  }
  return CPropertyPage::OnNotify(wParam, lParam, pResult);
}

LRESULT ExploreBarDlg::OnTreeSelChanged(NMHDR* pNotify) {
  if (m_bNavigating || m_pTree == nullptr) return 0;
  // The tree also reports the selection moving off an item it is deleting: that item is gone,
  // and nothing of it may be read.
  const HTREEITEM item = reinterpret_cast<NMTREEVIEW*>(pNotify)->itemNew.hItem;
  TVITEM probe{};
  probe.mask = TVIF_HANDLE;
  probe.hItem = item;
  if (item == nullptr || !m_pTree->GetItem(&probe)) return 0;
  if (m_pLoader->m_hStopEvent != nullptr) ::SetEvent(m_pLoader->m_hStopEvent);
  CWaitCursor wait;
  const CString path = TreeSelectedPath();
  if (path.IsEmpty()) return 0;
  if (::GetFileAttributes(path) != INVALID_FILE_ATTRIBUTES) {
    if (path.CompareNoCase(m_strCurrentFolder) != 0) DisplayFolder(path);
  } else if (const HTREEITEM parent = m_pTree->GetParentItem(item)) {
    m_pTree->Expand(parent, TVE_EXPAND);
    m_pTree->EnsureVisible(parent);
  }
  return 0;
}

LRESULT ExploreBarDlg::OnTreeClick() {
  const CString path = TreeSelectedPath();
  if (!path.IsEmpty() && path.CompareNoCase(m_strCurrentFolder) != 0 &&
      ::GetFileAttributes(path) != INVALID_FILE_ATTRIBUTES)
    DisplayFolder(path);
  return 0;
}

LRESULT ExploreBarDlg::OnListDblClk() {
  auto* editor = static_cast<AlbumEditorDlg*>(LiveWindow(GetWindowRegistry()->m_pAlbumEditor));
  if (editor == nullptr) return 0;
  const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
  if (row < 0) return 0;
  const auto* item = reinterpret_cast<const _tagBrowserItem*>(m_list.GetItemData(row));
  if (item == nullptr) return 0;
  CDVDAlbumBase* selected = editor->GetSelectedAlbum();
  CDVDAlbumBase* photoSlot =
      selected != nullptr && selected->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage)) ? selected : nullptr;
  CDVDAlbumBase* videoSlot =
      selected != nullptr && selected->IsKindOf(RUNTIME_CLASS(CDVDAlbumMovie)) ? selected : nullptr;
  switch (item->nKind) {
    case BROWSER_ROW_PHOTO: {
      if (auto* photos = static_cast<AlbumPhotoDlg*>(LiveWindow(GetWindowRegistry()->m_pAlbumPhotoDlg)))
        photos->DeselectAll();
      editor->ClearAddedImages();
      editor->AddBrowserPhotos(&photoSlot, static_cast<CDVDImage*>(item->pData));
      if (CWnd* albums = LiveWindow(GetWindowRegistry()->m_pAlbumListBox)) albums->Invalidate();
      if (photoSlot != nullptr) editor->SelectAlbum(photoSlot);
      editor->RefreshAfterAdd(photoSlot, nullptr, TRUE);
      break;
    }
    case BROWSER_ROW_FOLDER: {
      const CString path = BrowserItemPath(item);
      if (path.CompareNoCase(m_strCurrentFolder) != 0) DisplayFolder(path);
      m_bNavigating = TRUE;
      TreeSelectFolder(path);
      m_bNavigating = FALSE;
      break;
    }
    case BROWSER_ROW_MUSIC:
      editor->AddMusicFile(BrowserItemPath(item), FALSE, FALSE);
      break;
    case BROWSER_ROW_VIDEO: {
      if (auto* clips = static_cast<CVideoAlbumPage*>(LiveWindow(GetWindowRegistry()->m_pVideoClipPage)))
        clips->DeselectAll();
      editor->AddVideoFile(&videoSlot, BrowserItemPath(item));
      if (videoSlot != nullptr) editor->SelectAlbum(videoSlot);
      editor->RefreshAfterAdd(nullptr, static_cast<CDVDAlbumMovie*>(videoSlot), FALSE);
      break;
    }
    default:
      break;
  }
  return 0;
}

// Views.

CImageList* ExploreBarDlg::TileImages() {
  return ListOf(GetSkinMinor()->GetMiscBitmaps().m_hBrowserTiles);
}
CImageList* ExploreBarDlg::LargeIcons() {
  return ListOf(theApp.GetSystemImageListLarge());
}
CImageList* ExploreBarDlg::SmallIcons() {
  return ListOf(theApp.GetSystemImageListSmall());
}

void ExploreBarDlg::SetView(DWORD dwStyle, BOOL bThumbnails) {
  m_list.ModifyStyle(LVS_TYPEMASK, dwStyle);
  m_bThumbnailView = bThumbnails;
  if (bThumbnails) {
    if (CImageList* tiles = TileImages()) m_list.SetImageList(tiles, LVSIL_NORMAL);
    m_list.SetIconSpacing(kTileSpacingX, kTileSpacingY);
  } else {
    if (CImageList* small = SmallIcons()) m_list.SetImageList(small, LVSIL_SMALL);
    if (CImageList* large = LargeIcons()) m_list.SetImageList(large, LVSIL_NORMAL);
    m_list.SetIconSpacing(m_nIconSpacingX, m_nIconSpacingY);
  }
  m_list.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void ExploreBarDlg::OnViewThumbnails() {
  SetView(LVS_ICON, TRUE);
}
void ExploreBarDlg::OnViewDetails() {
  SetView(LVS_REPORT, FALSE);
}
void ExploreBarDlg::OnViewLargeIcons() {
  SetView(LVS_ICON, FALSE);
}
void ExploreBarDlg::OnViewList() {
  SetView(LVS_LIST, FALSE);
}
void ExploreBarDlg::OnViewSmallIcons() {
  SetView(LVS_SMALLICON, FALSE);
}

// Sorting.

void ExploreBarDlg::OnSortCommand(UINT nID) {
  const int column = SortColumnForCommand(nID);
  if (column >= 0) SortByColumn(column);
}

LRESULT ExploreBarDlg::OnResort(WPARAM, LPARAM) {
  SortByColumn(m_nSortColumn);
  return 1;
}

void ExploreBarDlg::SortByColumn(int nColumn) {
  if (nColumn < 0 || nColumn >= BROWSER_COLUMN_COUNT) return;
  m_nSortColumn = nColumn;
  GetAppSettings()->Window.FileListSortType = nColumn;
  const BOOL report = (m_list.GetStyle() & LVS_TYPEMASK) == LVS_REPORT;
  CHeaderCtrl* header = report ? m_list.GetHeaderCtrl() : nullptr;
  if (nColumn == m_nArrowColumn) {
    m_bAscending = !m_bAscending;
  } else {
    if (header != nullptr && m_nArrowColumn >= 0) {
      HDITEM item{};
      item.mask = HDI_FORMAT;
      header->GetItem(m_nArrowColumn, &item);
      item.fmt &= ~HDF_BITMAP;
      header->SetItem(m_nArrowColumn, &item);
    }
    m_nArrowColumn = nColumn;
    m_bAscending = TRUE;
  }
  if (header != nullptr) {
    const CSkinMiscBitmaps& misc = GetSkinMinor()->GetMiscBitmaps();
    HDITEM item{};
    item.mask = HDI_FORMAT | HDI_BITMAP;
    header->GetItem(m_nArrowColumn, &item);
    item.fmt |= HDF_BITMAP | HDF_BITMAP_ON_RIGHT;
    item.hbm = m_bAscending ? misc.m_hSortAscending : misc.m_hSortDescending;
    header->SetItem(m_nArrowColumn, &item);
  }
  CWaitCursor wait;
  CListCtrlSorter sorter(&m_list, m_nArrowColumn);
  sorter.Sort(m_bAscending, SortKindForColumn(m_nArrowColumn));
}

// The context menu and its commands.

void ExploreBarDlg::OnContextMenu(CWnd* pWnd, CPoint point) {
  auto* organize = static_cast<CPageEditorNew*>(LiveWindow(GetWindowRegistry()->m_pPageEditorNew));
  if (pWnd != &m_list || organize == nullptr) return;
  if (point.x == -1 && point.y == -1) {
    // From the keyboard: under the focused row, else at the list's corner.
    CRect rc;
    const int focused = m_list.GetNextItem(-1, LVNI_FOCUSED);
    if (focused < 0 || !m_list.GetItemRect(focused, &rc, LVIR_ICON)) m_list.GetClientRect(&rc);
    point = CPoint(rc.left + 8, rc.top + 8);
    m_list.ClientToScreen(&point);
  }
  if (CMenu* popup = organize->GetPopupEditorFile())
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

void ExploreBarDlg::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
  CPropertyPage::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
  if (bSysMenu || pPopupMenu == nullptr) return;
  const UINT view = ViewCommandFor(m_bThumbnailView, m_list.GetStyle());
  const UINT sort = SortCommandForColumn(m_nSortColumn);
  for (int i = 0; i < static_cast<int>(pPopupMenu->GetMenuItemCount()); ++i) {
    const UINT id = pPopupMenu->GetMenuItemID(i);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;
    pPopupMenu->CheckMenuItem(i, MF_BYPOSITION | (id == view || id == sort ? MF_CHECKED : MF_UNCHECKED));
  }
  if (CIconMenu::IsOwnMenu(pPopupMenu)) CIconMenu::UpdateMenu(static_cast<CIconMenu*>(pPopupMenu));
}

// The context menu belongs to the organize page, which measures its owner-drawn items and finds
// their mnemonics; the panel only owns the menu while it is open.
void ExploreBarDlg::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  CWnd* organize = LiveWindow(GetWindowRegistry()->m_pPageEditorNew);
  if (lpMeasureItemStruct->CtlType == ODT_MENU && organize != nullptr) {
    organize->SendMessage(WM_MEASUREITEM, static_cast<WPARAM>(nIDCtl),
                          reinterpret_cast<LPARAM>(lpMeasureItemStruct));
    return;
  }
  CPropertyPage::OnMeasureItem(nIDCtl, lpMeasureItemStruct);
}

LRESULT ExploreBarDlg::OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu) {
  if (CIconMenu::IsOwnMenu(pMenu))
    return CIconMenu::FindKeyboardShortcut(nChar, nFlags, static_cast<CIconMenu*>(pMenu));
  return CPropertyPage::OnMenuChar(nChar, nFlags, pMenu);
}

void ExploreBarDlg::OnAddToAlbum() {
  if (auto* editor = static_cast<AlbumEditorDlg*>(LiveWindow(GetWindowRegistry()->m_pAlbumEditor)))
    editor->AddSelectedBrowserItems(TRUE, TRUE, TRUE);
}

void ExploreBarDlg::OnAddAll() {
  if (auto* editor = static_cast<AlbumEditorDlg*>(LiveWindow(GetWindowRegistry()->m_pAlbumEditor)))
    editor->AddAllBrowserItems();
}

void ExploreBarDlg::OnSelectAll() {
  m_list.SetRedraw(FALSE);
  for (int row = 0; row < m_list.GetItemCount(); ++row)
    m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
  m_list.SetRedraw(TRUE);
  m_list.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void PaintAlbumPanel(CWnd* pPanel, CDC* pDC) {
  CRect rc;
  pPanel->GetClientRect(&rc);
  pDC->FillSolidRect(&rc, GetSkinColor(SKIN_COLOR_TAB_PAGE));
  const COLORREF frame = DarkenColor(GetSkinColor(SKIN_COLOR_MAIN_DLG), 0.18);
  pDC->Draw3dRect(&rc, frame, frame);
}
