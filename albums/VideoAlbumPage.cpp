#include "albums/VideoAlbumPage.h"

#include <algorithm>

#include "albums/AlbumEditorDlg.h"
#include "albums/AlbumMessages.h"
#include "albums/ExploreBarDlg.h"
#include "albums/VideoClipRules.h"
#include "controls/DragDropHelper.h"
#include "modules/buttonbar/CoolButtonBar.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDProject.h"
#include "modules/files/Files.h"
#include "platform/kernel/Module.h"
#include "platform/user/Accel.h"
#include "render/VideoPreviewContainer.h"
#include "shell/LanguageFile.h"
#include "shell/PageEditorNew.h"
#include "shell/ProcessObjects.h"
#include "shell/SkinMinor.h"
#include "shell/UIHelpers.h"

namespace {

constexpr int kTile = 128;
constexpr COLORREF kDragMask = RGB(10, 2, 12);
constexpr UINT IDR_CLIP_ACCELERATORS = 189;
constexpr UINT ID_CLIP_SELECT_ALL = 32934;
constexpr UINT ID_CLIP_REMOVE = 32918;
constexpr UINT ID_CLIP_REMOVE_ALL = 32922;
constexpr UINT ID_CLIP_VIEW_DETAILS = 33923;
constexpr UINT ID_CLIP_VIEW_THUMBNAILS = 33924;

enum ClipColumn { kColNumber, kColName, kColSize, kColDuration, kColDimensions, kColPath, kColCount };

_tagLayoutRow g_videoPageLayout[5];
const LayoutRowInit kVideoPageLayout[5] = {
    {LAYOUT_ROWS | LAYOUT_REST, 0, 0},   {LAYOUT_TOFIT, IDC_VIDEO_CLIP_BAR, 0},
    {LAYOUT_REST, IDC_VIDEO_CLIP_LIST, 0}, {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_END_TABLE, LAYOUT_NO_WINDOW, 0},
};
_tagLayoutRow* VideoPageLayout() {
  static const bool ready = (InitLayoutRows(g_videoPageLayout, kVideoPageLayout), true);
  (void)ready;
  return g_videoPageLayout;
}

const struct {
  const char* title;
  int width;
  int format;
} kColumns[kColCount] = {
    {"#", 50, LVCFMT_LEFT},         {"Name", 160, LVCFMT_LEFT},       {"Size", 68, LVCFMT_RIGHT},
    {"Duration", 140, LVCFMT_LEFT}, {"Dimensions", 100, LVCFMT_LEFT}, {"Path", 214, LVCFMT_LEFT},
};

// The tiles: normal; selected with the focus (and drop target); selected without the focus.
const struct {
  COLORREF fill, frame;
} kTileLooks[3] = {
    {RGB(255, 255, 255), RGB(0, 128, 255)},
    {RGB(0, 128, 255), RGB(0, 255, 0)},
    {RGB(0, 64, 128), RGB(0, 255, 0)},
};

DWORD ClipStart(const _DV_LIST_ITEM_DATA* clip) {
  return clip->pSource != nullptr ? clip->pSource->dwStart : 0;
}
DWORD ClipEnd(const _DV_LIST_ITEM_DATA* clip) {
  return clip->pSource != nullptr ? clip->pSource->dwEnd : 0;
}

// The clip page's tiles for the selection picture of a drag.
CVideoAlbumPage* g_dragPage = nullptr;
CImageList* RowDragImage(CListCtrl* list, int row, POINT* origin) {
  if (g_dragPage == nullptr || list != &g_dragPage->GetListCtrl()) return nullptr;
  CRect bounds;
  if (!list->GetItemRect(row, &bounds, LVIR_BOUNDS)) return nullptr;
  *origin = bounds.TopLeft();
  return g_dragPage->CreateClipDragImage(row);
}
CImageList* BuildSelectionDragImage(const _tagDragInfo* info, POINT* origin) {
  if (info->nKind != DRAG_KIND_LIST_CTRL) return nullptr;
  auto* list = static_cast<CListCtrl*>(info->pSource);
  if (list == nullptr || list->GetSelectedCount() == 0) return nullptr;
  return CListCtrlDragHelper::BuildSelectionImage(list, origin, &RowDragImage);
}

void StopVideoPreview() {
  if (auto* preview = static_cast<CVideoPreviewContainer*>(GetWindowRegistry()->m_pVideoPreviewContainer);
      preview != nullptr && preview->GetSafeHwnd() != nullptr)
    preview->StopPreview();
}

AlbumEditorDlg* Editor() {
  auto* editor = static_cast<AlbumEditorDlg*>(GetWindowRegistry()->m_pAlbumEditor);
  return editor != nullptr && editor->GetSafeHwnd() != nullptr ? editor : nullptr;
}

void RedrawAlbumList() {
  if (auto* list = static_cast<CWnd*>(GetWindowRegistry()->m_pAlbumListBox);
      list != nullptr && list->GetSafeHwnd() != nullptr)
    list->Invalidate();
}

}  // namespace

BEGIN_MESSAGE_MAP(CVideoAlbumPage, CPropertyPage)
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_CONTEXTMENU()
ON_WM_INITMENUPOPUP()
ON_WM_DESTROY()
ON_MESSAGE(WM_VIDEO_CLIPS_BUTTON_BAR, OnButtonBar)
ON_MESSAGE(WM_LIST_KEYDOWN, OnListKeyDown)
ON_MESSAGE(WM_PROJECT_RELOADED, OnProjectReloaded)
END_MESSAGE_MAP()

CVideoAlbumPage::CVideoAlbumPage(CDVDAlbumMovie** ppAlbum)
    : CPropertyPage(IDD_VIDEO_ALBUM_PAGE),
      m_layout(VideoPageLayout()),
      m_ppAlbum(ppAlbum),
      m_pSkinBar(GetSkinMinor()->m_pVideoClipsToolbar) {}

CVideoAlbumPage::~CVideoAlbumPage() {
  if (g_dragPage == this) g_dragPage = nullptr;
}

void CVideoAlbumPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_VIDEO_CLIP_LIST, m_list);
}

BOOL CVideoAlbumPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_VIDEO_ALBUM_PAGE);
  CWindowRegistry* registry = GetWindowRegistry();
  registry->m_pVideoClipListCtrl = &m_list;
  m_hAccel = ::LoadAccelerators(::GetModuleHandle(nullptr), MAKEINTRESOURCE(IDR_CLIP_ACCELERATORS));

  if (m_pSkinBar != nullptr && m_pSkinBar->GetSafeHwnd() == nullptr &&
      m_pSkinBar->SubclassDlgItem(IDC_VIDEO_CLIP_BAR, this)) {
    m_pBar = m_pSkinBar;
    m_pBar->SetNotifyMessage(m_hWnd, WM_VIDEO_CLIPS_BUTTON_BAR);
    m_pBar->EnableToolTip(1);
    CRect rc;
    m_pBar->GetWindowRect(&rc);
    ScreenToClient(&rc);
    m_pBar->MoveWindow(rc.left, rc.top, 1000, m_pBar->GetSize().cy);
  }
  m_layout.CaptureToFitSizes(this);
  CRect client;
  GetClientRect(&client);
  m_layout.LayoutRoot(client, this);
  m_layout.ApplyLayout(this);

  m_pDragHelper = std::make_unique<CListCtrlDragHelper>(this, FALSE);
  BuildClipImageList();
  for (int i = 0; i < kColCount; ++i)
    m_list.InsertColumn(i, TranslateDictionaryWord(kColumns[i].title), kColumns[i].format, kColumns[i].width);
  m_list.SetImageList(&m_tiles, LVSIL_NORMAL);
  m_list.SetIconSpacing(kTile, kTile);
  m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  ShowThumbnailView();
  if (m_pBar != nullptr) m_pBar->SetWindowText("");
  UpdateClipButtons();
  return TRUE;
}

BOOL CVideoAlbumPage::PreTranslateMessage(MSG* pMsg) {
  if (m_hAccel != nullptr && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
      ::TranslateAccelerator(m_hWnd, m_hAccel, pMsg))
    return TRUE;
  return CPropertyPage::PreTranslateMessage(pMsg);
}

void CVideoAlbumPage::BuildClipImageList() {
  if (m_tiles.GetSafeHandle() != nullptr) return;
  m_tiles.Create(kTile, kTile, ILC_COLOR24, 3, 0);
  CClientDC screen(nullptr);
  for (const auto& look : kTileLooks) {
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, kTile, kTile);
    CBitmap* old = memory.SelectObject(&bitmap);
    memory.FillSolidRect(0, 0, kTile, kTile, look.fill);
    CRect frame(0, 0, kTile, kTile);
    frame.DeflateRect(2, 2);
    memory.Draw3dRect(&frame, look.frame, look.frame);
    memory.SelectObject(old);
    m_tiles.Add(&bitmap, static_cast<CBitmap*>(nullptr));
  }
}

// --- rows ---

CDVDAlbumMovie* CVideoAlbumPage::CurrentAlbum() const {
  return m_ppAlbum != nullptr ? *m_ppAlbum : nullptr;
}

_DV_LIST_ITEM_DATA* CVideoAlbumPage::ClipOfRow(int nRow) const {
  if (nRow < 0 || nRow >= m_list.GetItemCount()) return nullptr;
  return reinterpret_cast<_DV_LIST_ITEM_DATA*>(m_list.GetItemData(nRow));
}

void CVideoAlbumPage::ShowMovieAlbum(CDVDAlbumMovie* pAlbum) {
  m_pShown = pAlbum != nullptr && pAlbum->IsKindOf(RUNTIME_CLASS(CDVDAlbumMovie)) ? pAlbum : nullptr;
  if (m_list.GetSafeHwnd() == nullptr) return;
  m_list.SetRedraw(FALSE);
  m_list.DeleteAllItems();
  for (int i = 0; m_pShown != nullptr && i < m_pShown->Get_nVideoItemCount(); ++i) {
    _DV_LIST_ITEM_DATA* clip = m_pShown->Get_pVideoItemData(i);
    const int row = m_list.InsertItem(i, ClipNumberText(i + 1));
    m_list.SetItemData(row, reinterpret_cast<DWORD_PTR>(clip));
    if (clip == nullptr) continue;
    CString name, folder;
    SplitClipPath(clip->strPathName, &name, &folder);
    CFileStatus status{};
    const uint64_t bytes = Zorv_CFileGetStatus(clip->strPathName, status, 0) ? status.m_size : 0;
    m_list.SetItemText(row, kColDimensions, ClipResolutionText(clip->nWidth, clip->nHeight, FALSE));
    m_list.SetItemText(row, kColName, name);
    m_list.SetItemText(row, kColPath, folder);
    m_list.SetItemText(row, kColSize, ClipSizeText(bytes));
    m_list.SetItemText(row, kColDuration, ClipDurationText(ClipStart(clip), ClipEnd(clip)));
  }
  m_list.SetRedraw(TRUE);
  m_list.Invalidate();
  UpdateClipButtons();
}

void CVideoAlbumPage::UpdateClipButtons() {
  if (m_pBar == nullptr || m_pBar->GetSafeHwnd() == nullptr) return;
  if (m_list.GetSafeHwnd() != nullptr && m_list.GetSelectedCount() > 0)
    m_pBar->EnableButton(2, FALSE);
  else
    m_pBar->DisableButton(2, FALSE);
  m_pBar->Invalidate();
}

void CVideoAlbumPage::DeselectAll() {
  for (int row = 0; row < m_list.GetItemCount(); ++row) m_list.SetItemState(row, 0, LVIS_SELECTED);
  UpdateClipButtons();
}

void CVideoAlbumPage::SelectAll() {
  for (int row = 0; row < m_list.GetItemCount(); ++row) m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
  m_list.Invalidate();
  UpdateClipButtons();
}

void CVideoAlbumPage::GetSelectedClips(CPtrArray& clips) {
  for (int row = m_list.GetNextItem(-1, LVNI_SELECTED); row != -1; row = m_list.GetNextItem(row, LVNI_SELECTED))
    if (_DV_LIST_ITEM_DATA* clip = ClipOfRow(row)) clips.Add(clip);
}

void CVideoAlbumPage::SelectClips(const CPtrArray& clips) {
  int first = -1;
  for (int row = 0; row < m_list.GetItemCount(); ++row) {
    bool chosen = false;
    for (INT_PTR i = 0; i < clips.GetSize() && !chosen; ++i) chosen = clips[i] == ClipOfRow(row);
    m_list.SetItemState(row, chosen ? LVIS_SELECTED : 0, LVIS_SELECTED);
    if (chosen && first == -1) first = row;
  }
  if (first != -1) m_list.EnsureVisible(first, FALSE);
}

void CVideoAlbumPage::RemoveSelectedClips() {
  CDVDAlbumMovie* album = CurrentAlbum();
  if (album == nullptr) return;
  StopVideoPreview();
  int lastDeleted = -1;
  for (int row = m_list.GetNextItem(-1, LVNI_SELECTED); row != -1; row = m_list.GetNextItem(-1, LVNI_SELECTED)) {
    if (_DV_LIST_ITEM_DATA* clip = ClipOfRow(row)) {
      m_list.SetItemData(row, 0);
      album->RemoveVideoItemData(clip);
      CDVDAlbumMovie::FreeVideoItemData(clip, 1);
    }
    m_list.DeleteItem(row);
    lastDeleted = row;
  }
  if (lastDeleted != -1 && m_list.GetItemCount() > 0) {
    const int select = std::min(lastDeleted, m_list.GetItemCount() - 1);
    m_list.SetItemState(select, LVIS_SELECTED, LVIS_SELECTED);
    m_list.EnsureVisible(select, FALSE);
  }
  // The numbers follow the new order.
  for (int row = 0; row < m_list.GetItemCount(); ++row) m_list.SetItemText(row, kColNumber, ClipNumberText(row + 1));
  album->Put_bDirty(TRUE);
  RedrawAlbumList();
  if (auto* main = static_cast<CWnd*>(GetWindowRegistry()->m_pMainDlg); main != nullptr && main->GetSafeHwnd())
    main->PostMessage(WM_UPDATE_STATUS_BAR, 0, 0);
  UpdateClipButtons();
}

void CVideoAlbumPage::RemoveAllClips() {
  SelectAll();
  RemoveSelectedClips();
}

void CVideoAlbumPage::ShowThumbnailView() {
  m_list.ModifyStyle(LVS_TYPEMASK, LVS_ICON | LVS_AUTOARRANGE);
  m_bThumbnailView = TRUE;
  m_list.SetImageList(&m_tiles, LVSIL_NORMAL);
  m_list.SetIconSpacing(kTile, kTile);
  m_list.Invalidate();
}

void CVideoAlbumPage::ShowDetailsView() {
  m_list.ModifyStyle(LVS_TYPEMASK, LVS_REPORT);
  m_bThumbnailView = FALSE;
  m_list.SetIconSpacing(m_nDetailsSpacingX, m_nDetailsSpacingY);
  m_list.Invalidate();
}

// --- moving and copying ---

int CVideoAlbumPage::MoveSelectedClips(int nTargetRow) {
  CDVDAlbumMovie* album = CurrentAlbum();
  CPtrArray clips;
  GetSelectedClips(clips);
  if (album == nullptr || clips.GetSize() == 0) return 0;
  StopVideoPreview();
  album->MoveVideoItemPos(nTargetRow == -1 ? nullptr : ClipOfRow(nTargetRow), clips);
  album->Put_bDirty(TRUE);
  ShowMovieAlbum(album);
  SelectClips(clips);
  UpdateClipButtons();
  return 1;
}

int CVideoAlbumPage::CopySelectedClips(int nTargetRow) {
  CDVDAlbumMovie* album = CurrentAlbum();
  CPtrArray clips, copies;
  GetSelectedClips(clips);
  if (album == nullptr || clips.GetSize() == 0) return 0;
  StopVideoPreview();
  album->DuplicateVideoItemToPos(clips, nTargetRow == -1 ? nullptr : ClipOfRow(nTargetRow), &copies);
  album->Put_bDirty(TRUE);
  ShowMovieAlbum(album);
  SelectClips(copies);
  UpdateClipButtons();
  return 1;
}

int CVideoAlbumPage::DropClipsOnAlbum(int x, int y, BOOL bCopy) {
  CDVDAlbumMovie* album = CurrentAlbum();
  CPtrArray clips;
  GetSelectedClips(clips);
  AlbumEditorDlg* editor = Editor();
  if (album == nullptr || clips.GetSize() == 0 || editor == nullptr) return 0;
  StopVideoPreview();
  CMyListBoxA& albums = editor->GetAlbumList();
  CPoint point(x, y);
  albums.ScreenToClient(&point);
  CRect client;
  albums.GetClientRect(&client);
  BOOL outside = TRUE;
  const int index = static_cast<int>(albums.ItemFromPoint(point, outside));
  if (!client.PtInRect(point) || index < 0 || index >= albums.GetCount()) return 0;
  CRect itemRect;
  albums.GetItemRect(index, &itemRect);
  CDVDAlbumBase* target = static_cast<CDVDAlbumBase*>(albums.GetItemDataPtr(index));
  // Below the last album: a new video album takes the clips.
  if (!itemRect.PtInRect(point)) target = editor->NewVideoAlbum(nullptr);
  if (target == nullptr || !target->IsKindOf(RUNTIME_CLASS(CDVDAlbumMovie))) return 0;
  auto* into = static_cast<CDVDAlbumMovie*>(target);
  if (into == album && !bCopy) return 0;
  CPtrArray shown;
  if (bCopy) {
    into->DuplicateVideoItemToPos(clips, nullptr, &shown);
  } else {
    album->RemoveVideoItemData(clips);
    into->AddVideoItemData(clips, 0);
    album->Put_bDirty(TRUE);
    shown.Copy(clips);
  }
  into->Put_bDirty(TRUE);
  editor->SelectAlbum(into);
  ShowMovieAlbum(into);
  SelectClips(shown);
  UpdateClipButtons();
  return 1;
}

// --- drawing ---

void CVideoAlbumPage::DrawClipTile(CDC* pDC, int nRow, CPoint origin, int nImage, COLORREF clrText) {
  m_tiles.Draw(pDC, nImage, origin, ILD_NORMAL);
  const _DV_LIST_ITEM_DATA* clip = ClipOfRow(nRow);
  if (clip == nullptr) return;
  if (clip->pThumbBits != nullptr && clip->nThumbWidth > 0 && clip->nThumbHeight > 0) {
    const int old = pDC->SetStretchBltMode(HALFTONE);
    ::StretchDIBits(pDC->GetSafeHdc(), origin.x + 24, origin.y + 8, kTile - 48, 60, 0, 0, clip->nThumbWidth,
                    clip->nThumbHeight, clip->pThumbBits, &clip->bmiThumb, DIB_RGB_COLORS, SRCCOPY);
    pDC->SetStretchBltMode(old);
  }
  CFont font;
  font.CreatePointFont(72, "Microsoft Sans Serif", pDC);
  CFont* oldFont = pDC->SelectObject(&font);
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  const COLORREF oldColor = pDC->SetTextColor(clrText);
  const struct {
    int dy;
    const char* label;
    CString value;
  } lines[] = {
      {72, "Dura.: ", ClipDurationText(ClipStart(clip), ClipEnd(clip))},
      {88, "Res.:", ClipResolutionText(clip->nWidth, clip->nHeight, clip->bHeightIsTVSystem)},
      {104, "From:  ", ClipRangeText(ClipStart(clip), ClipEnd(clip))},
  };
  for (const auto& line : lines) {
    pDC->TextOut(origin.x + 4, origin.y + line.dy, line.label);
    // Our sans face is wider than the one the tile was drawn for: a value that would run past
    // the tile's frame is set smaller instead, so it stays whole and inside.
    const int room = kTile - 4 - 34;
    const int width = pDC->GetTextExtent(line.value).cx;
    if (width <= room) {
      pDC->TextOut(origin.x + 34, origin.y + line.dy, line.value);
      continue;
    }
    CFont smaller;
    smaller.CreatePointFont(std::max(50, 72 * room / width), "Microsoft Sans Serif", pDC);
    CFont* previous = pDC->SelectObject(&smaller);
    pDC->TextOut(origin.x + 34, origin.y + line.dy + 1, line.value);
    pDC->SelectObject(previous);
  }
  pDC->SetTextColor(oldColor);
  pDC->SetBkMode(oldMode);
  pDC->SelectObject(oldFont);
}

LRESULT CVideoAlbumPage::OnCustomDraw(NMLVCUSTOMDRAW* pDraw) {
  if (!m_bThumbnailView) return CDRF_DODEFAULT;
  switch (pDraw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      const int row = static_cast<int>(pDraw->nmcd.dwItemSpec);
      CRect bounds;
      m_list.GetItemRect(row, &bounds, LVIR_BOUNDS);
      const UINT state = m_list.GetItemState(row, LVIS_SELECTED | LVIS_DROPHILITED);
      int image = 0;
      COLORREF text = RGB(85, 85, 85);
      if ((state & LVIS_DROPHILITED) != 0 ||
          ((state & LVIS_SELECTED) != 0 && ::GetFocus() == m_list.GetSafeHwnd())) {
        image = 1;
        text = RGB(250, 250, 250);
      } else if ((state & LVIS_SELECTED) != 0) {
        image = 2;
        text = RGB(250, 250, 250);
      }
      DrawClipTile(CDC::FromHandle(pDraw->nmcd.hdc), row, bounds.TopLeft(), image, text);
      return CDRF_SKIPDEFAULT;
    }
    default:
      return 0;
  }
}

CImageList* CVideoAlbumPage::CreateClipDragImage(int nRow) {
  CRect bounds;
  if (ClipOfRow(nRow) == nullptr || !m_list.GetItemRect(nRow, &bounds, LVIR_BOUNDS) || bounds.IsRectEmpty())
    return nullptr;
  CClientDC screen(nullptr);
  CDC memory;
  memory.CreateCompatibleDC(&screen);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&screen, bounds.Width(), bounds.Height());
  CBitmap* old = memory.SelectObject(&bitmap);
  memory.FillSolidRect(0, 0, bounds.Width(), bounds.Height(), ::GetSysColor(COLOR_WINDOW));
  DrawClipTile(&memory, nRow, CPoint(0, 0), 1, RGB(250, 250, 250));
  memory.SelectObject(old);
  auto* image = new CImageList;
  if (!image->Create(bounds.Width(), bounds.Height(), ILC_COLOR24 | ILC_MASK, 0, 1) ||
      image->Add(&bitmap, kDragMask) < 0) {
    delete image;
    return nullptr;
  }
  return image;
}

// --- notifications, commands, drag and drop ---

BOOL CVideoAlbumPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header == nullptr || header->hwndFrom != m_list.GetSafeHwnd())
    return CPropertyPage::OnNotify(wParam, lParam, pResult);
  *pResult = 0;
  switch (header->code) {
    case NM_CUSTOMDRAW:
      *pResult = OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
      return TRUE;
    case NM_CLICK:
    case LVN_ITEMCHANGED:
      // The Remove button follows the selection however it changed (keys, Ctrl+A, clicks).
      UpdateClipButtons();
      return TRUE;
    case LVN_BEGINDRAG:
      OnBeginDrag(reinterpret_cast<NMLISTVIEW*>(lParam));
      return TRUE;
    case NM_DBLCLK:
    case LVN_COLUMNCLICK:
      return TRUE;
    default:
      return CPropertyPage::OnNotify(wParam, lParam, pResult);
  }
}

void CVideoAlbumPage::AddBrowserClips() {
  StopVideoPreview();
  int videos = 0;
  if (auto* panel = static_cast<ExploreBarDlg*>(GetWindowRegistry()->m_pExploreBar);
      panel != nullptr && panel->GetSafeHwnd() != nullptr)
    panel->CountSelectedItems(nullptr, nullptr, &videos);
  AlbumEditorDlg* editor = Editor();
  if (videos > 0 && editor != nullptr) {
    editor->AddSelectedBrowserItems(FALSE, TRUE, FALSE);
    UpdateClipButtons();
  } else if (CWnd* main = AfxGetMainWnd()) {
    main->PostMessage(WM_COMMAND, ID_ADD_VIDEO_CLIPS, 0);
  }
}

BOOL CVideoAlbumPage::OnCommand(WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case IDC_VIDEO_ADD_FILES:
      AddBrowserClips();
      return TRUE;
    case IDC_VIDEO_REMOVE:
    case ID_CLIP_REMOVE:
      RemoveSelectedClips();
      return TRUE;
    case IDC_VIDEO_REMOVE_ALL:
    case ID_CLIP_REMOVE_ALL:
      RemoveAllClips();
      return TRUE;
    case ID_CLIP_SELECT_ALL:
      SelectAll();
      return TRUE;
    case ID_CLIP_VIEW_DETAILS:
      ShowDetailsView();
      return TRUE;
    case ID_CLIP_VIEW_THUMBNAILS:
      ShowThumbnailView();
      return TRUE;
    default:
      return CPropertyPage::OnCommand(wParam, lParam);
  }
}

LRESULT CVideoAlbumPage::OnButtonBar(WPARAM wParam, LPARAM) {
  if (m_pBar != nullptr) m_pBar->RedrawWindow();
  switch (wParam) {
    case 0:
      AddBrowserClips();
      break;
    case 1:
      StopVideoPreview();
      if (AlbumEditorDlg* editor = Editor()) editor->AddAllBrowserItems();
      UpdateClipButtons();
      break;
    case 2:
      RemoveSelectedClips();
      break;
    default:
      break;
  }
  return TRUE;
}

LRESULT CVideoAlbumPage::OnListKeyDown(WPARAM wParam, LPARAM) {
  if (wParam == VK_DELETE) RemoveSelectedClips();
  return 1;
}

LRESULT CVideoAlbumPage::OnProjectReloaded(WPARAM, LPARAM) {
  m_pShown = nullptr;
  if (m_list.GetSafeHwnd() != nullptr) m_list.DeleteAllItems();
  return 0;
}

void CVideoAlbumPage::OnBeginDrag(NMLISTVIEW* pNotify) {
  if (!m_pDragHelper) return;
  CWindowRegistry* registry = GetWindowRegistry();
  CPtrArray targets;
  targets.Add(&m_list);
  if (registry->m_pAlbumListBox != nullptr) targets.Add(registry->m_pAlbumListBox);
  registry->m_nDragOrigin = 1;
  _tagDragInfo info;
  info.nKind = DRAG_KIND_LIST_CTRL;
  info.pSource = &m_list;
  info.bDropOnSource = TRUE;
  info.nOwnerData[0] = pNotify->iItem;
  g_dragPage = this;
  if (m_bThumbnailView) info.pfnImageCreator = &BuildSelectionDragImage;
  m_pDragHelper->BeginDrag(&info, reinterpret_cast<LPARAM>(pNotify), &targets);
}

void CVideoAlbumPage::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_pDragHelper && m_pDragHelper->IsDragging()) m_pDragHelper->DragOver(nFlags, point);
  CPropertyPage::OnMouseMove(nFlags, point);
}

void CVideoAlbumPage::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_pDragHelper && m_pDragHelper->IsDragging()) {
    HWND source = nullptr, target = nullptr;
    if (m_pDragHelper->Drop(nFlags, point, &source, &target) && source == m_list.GetSafeHwnd()) {
      CPoint screen = point;
      ClientToScreen(&screen);
      auto* albumList = static_cast<CWnd*>(GetWindowRegistry()->m_pAlbumListBox);
      if (target == m_list.GetSafeHwnd()) {
        CPoint inList = screen;
        m_list.ScreenToClient(&inList);
        const int row = m_list.HitTest(inList);
        if ((nFlags & MK_CONTROL) != 0)
          CopySelectedClips(row);
        else
          MoveSelectedClips(row);
      } else if (albumList != nullptr && target == albumList->GetSafeHwnd()) {
        DropClipsOnAlbum(screen.x, screen.y, (nFlags & MK_CONTROL) != 0);
      }
      RedrawAlbumList();
    }
  }
  CPropertyPage::OnLButtonUp(nFlags, point);
}

// --- window messages ---

void CVideoAlbumPage::OnSize(UINT nType, int cx, int cy) {
  CPropertyPage::OnSize(nType, cx, cy);
  if (m_list.GetSafeHwnd() == nullptr) return;
  m_layout.LayoutRoot(CRect(0, 0, cx, cy), this);
  m_layout.ApplyLayout(this);
}

BOOL CVideoAlbumPage::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  for (CWnd* child : {static_cast<CWnd*>(m_pBar), static_cast<CWnd*>(&m_list)}) {
    if (child == nullptr || child->GetSafeHwnd() == nullptr || !child->IsWindowVisible()) continue;
    CRect rc;
    child->GetWindowRect(&rc);
    ScreenToClient(&rc);
    pDC->ExcludeClipRect(&rc);
  }
  pDC->FillSolidRect(&client, GetSkinColor(0));
  return TRUE;
}

void CVideoAlbumPage::OnContextMenu(CWnd* pWnd, CPoint point) {
  auto* organize = static_cast<CPageEditorNew*>(GetWindowRegistry()->m_pPageEditorNew);
  if (pWnd != &m_list || organize == nullptr) return;
  if (CMenu* popup = organize->GetPopupEditorVideoClipsDlg()) {
    if (point.x == -1 && point.y == -1) {
      CRect client;
      m_list.GetClientRect(&client);
      point = CPoint(client.left + 4, client.top + 4);
      m_list.ClientToScreen(&point);
    }
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
  }
}

void CVideoAlbumPage::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
  CPropertyPage::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
  if (pPopupMenu == nullptr) return;
  const auto enable = [pPopupMenu](UINT id, bool on) {
    pPopupMenu->EnableMenuItem(id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED | MF_DISABLED));
  };
  enable(ID_CLIP_REMOVE, m_list.GetSelectedCount() > 0);
  enable(ID_CLIP_REMOVE_ALL, m_list.GetItemCount() > 0);
  enable(ID_CLIP_SELECT_ALL, m_list.GetItemCount() > 0);
  pPopupMenu->CheckMenuItem(ID_CLIP_VIEW_DETAILS, MF_BYCOMMAND | (m_bThumbnailView ? MF_UNCHECKED : MF_CHECKED));
  pPopupMenu->CheckMenuItem(ID_CLIP_VIEW_THUMBNAILS, MF_BYCOMMAND | (m_bThumbnailView ? MF_CHECKED : MF_UNCHECKED));
}

void CVideoAlbumPage::OnDestroy() {
  CPropertyPage::OnDestroy();
  if (m_hAccel != nullptr) ::DestroyAcceleratorTable(m_hAccel);
  m_hAccel = nullptr;
  CWindowRegistry* registry = GetWindowRegistry();
  if (registry->m_pVideoClipListCtrl == &m_list) registry->m_pVideoClipListCtrl = nullptr;
  if (registry->m_pVideoClipPage == this) registry->m_pVideoClipPage = nullptr;
}
