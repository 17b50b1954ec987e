#include "albums/AlbumPhotoDlg.h"

#include <algorithm>

#include "albums/AlbumEditorDlg.h"
#include "albums/AlbumOptionsOneDlg.h"
#include "albums/PhotoListRows.h"
#include "controls/DragDropHelper.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "modules/log/Log.h"
#include "platform/comctl/AfxImageList.h"
#include "platform/kernel/Module.h"
#include "platform/user/Accel.h"
#include "shell/LanguageFile.h"
#include "shell/PageEditorNew.h"
#include "shell/ProcessObjects.h"
#include "shell/SkinMain.h"
#include "shell/SkinMinor.h"
#include "shell/UIHelpers.h"

namespace {

constexpr UINT_PTR kAutoScrollTimer = 7203;
constexpr int kTileWidth = 112, kTileHeight = 86, kCaptionBottom = 102;
constexpr int kSpacingX = 116, kSpacingY = 106;
constexpr COLORREF kItemDragMask = RGB(10, 2, 12);

_tagLayoutRow g_photoLayout[5];
const LayoutRowInit kPhotoLayout[5] = {
    {LAYOUT_ROWS | LAYOUT_REST, 0, 0},       {LAYOUT_TOFIT, IDC_PHOTO_BUTTON_BAR, 0},
    {LAYOUT_REST, IDC_PHOTO_LIST, 0},        {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_END_TABLE, LAYOUT_NO_WINDOW, 0},
};
_tagLayoutRow* PhotoLayout() {
  static const bool ready = (InitLayoutRows(g_photoLayout, kPhotoLayout), true);
  (void)ready;
  return g_photoLayout;
}

const struct {
  const char* title;
  int width;
  int format;
} kColumns[kPhotoColumnCount] = {
    {"#", 50, LVCFMT_LEFT},           {"Name", 160, LVCFMT_LEFT},
    {"Size", 68, LVCFMT_RIGHT},       {"Photo/File Date", 140, LVCFMT_LEFT},
    {"Dimensions", 100, LVCFMT_LEFT}, {"Path", 214, LVCFMT_LEFT},
};

CImageList* SkinList(HIMAGELIST handle) {
  return handle != nullptr ? CImageList::FromHandle(handle) : nullptr;
}

// The photo list's own drag picture per row, for the selection picture of the thumbnail view.
AlbumPhotoDlg* g_dragPage = nullptr;
CImageList* RowDragImage(CListCtrl*, int row, POINT* origin) {
  return g_dragPage != nullptr ? g_dragPage->CreateItemDragImage(row, origin) : nullptr;
}
CImageList* BuildSelectionDragImage(const _tagDragInfo* info, POINT* origin) {
  auto* list = static_cast<CListCtrl*>(info->pSource);
  return CListCtrlDragHelper::BuildSelectionImage(list, origin, &RowDragImage);
}

void RebuildOptionsTimeline() {
  if (auto* options = static_cast<AlbumOptionsOneDlg*>(GetWindowRegistry()->m_pAlbumOptionsOne))
    options->RebuildTimeline();
}

}  // namespace

BEGIN_MESSAGE_MAP(AlbumPhotoDlg, CPropertyPage)
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_SHOWWINDOW()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_WM_DESTROY()
ON_WM_CONTEXTMENU()
ON_WM_INITMENUPOPUP()
ON_WM_MENUSELECT()
ON_MESSAGE(WM_LIST_KEYDOWN, OnListKeyDown)
ON_MESSAGE(WM_PROJECT_RELOADED, OnProjectReloaded)
ON_MESSAGE(WM_RELOAD_THUMBNAILS, OnReloadThumbnails)
ON_MESSAGE(WM_PHOTO_BAR_NOTIFY, OnPhotoBarNotify)
ON_MESSAGE(WM_ENABLE_PHOTO_BAR, OnEnablePhotoBar)
END_MESSAGE_MAP()

AlbumPhotoDlg::AlbumPhotoDlg()
    : CPropertyPage(IDD_ALBUM_PHOTO),
      m_pSkinBar(g_skinMain.GetEditButtonBar()),
      m_layout(PhotoLayout()),
      m_loader(1, kPhotoColumnDate, kPhotoColumnDimensions, kPhotoColumnName, kPhotoColumnSize,
               kPhotoColumnPath) {}

AlbumPhotoDlg::~AlbumPhotoDlg() {
  m_loader.WaitForThreadTerminated(TRUE);
  if (g_dragPage == this) g_dragPage = nullptr;
}

AlbumEditorDlg* AlbumPhotoDlg::Editor() const {
  return static_cast<AlbumEditorDlg*>(GetWindowRegistry()->m_pAlbumEditor);
}

void AlbumPhotoDlg::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_PHOTO_LIST, m_list);
}

BOOL AlbumPhotoDlg::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_ALBUM_PHOTO);
  WriteLog("AlbumPhotoDlg begin to initalize ...");
  m_nSortColumn = -1;
  m_bSortAscending = FALSE;
  m_nLastClickedColumn = 0;
  m_list.SetEmptyListText(TRUE, 57477);
  WriteLog("AlbumPhotoDlg begin to initalize (1)...");

  if (m_pSkinBar != nullptr && m_pSkinBar->GetSafeHwnd() == nullptr &&
      m_pSkinBar->SubclassDlgItem(IDC_PHOTO_BUTTON_BAR, this)) {
    m_pBar = m_pSkinBar;
    m_pBar->SetNotifyMessage(m_hWnd, WM_PHOTO_BAR_NOTIFY);
    m_pBar->EnableToolTip(0);
    CRect rc;
    m_pBar->GetWindowRect(&rc);
    ScreenToClient(&rc);
    m_pBar->MoveWindow(rc.left, rc.top, 1000, m_pBar->GetSize().cy);
    m_pBar->ShowWindow(SW_SHOW);
  }
  SetDlgCtrlID(IDD_ALBUM_PHOTO);
  WriteLog("AlbumPhotoDlg begin to initalize (2)...");
  m_hAccel = ::LoadAccelerators(::GetModuleHandle(nullptr), MAKEINTRESOURCE(IDR_PHOTO_ACCELERATORS));
  WriteLog("AlbumPhotoDlg begin to initalize (3)...");
  m_pDragHelper = std::make_unique<CListCtrlDragHelper>(this, FALSE);
  WriteLog("AlbumPhotoDlg begin to initalize (4)...");

  CWindowRegistry* registry = GetWindowRegistry();
  registry->m_pAlbumPhotoDlg = this;
  registry->m_pPhotoListCtrl = &m_list;
  registry->m_pPhotoDragHelper = m_pDragHelper.get();

  m_layout.CaptureToFitSizes(this);
  CRect client;
  GetClientRect(&client);
  m_layout.LayoutRoot(client, this);
  m_layout.ApplyLayout(this);

  for (int i = 0; i < kPhotoColumnCount; ++i)
    m_list.InsertColumn(i, TranslateDictionaryWord(kColumns[i].title), kColumns[i].format, kColumns[i].width);
  m_bThumbnailView = FALSE;  // switched on below
  SetThumbnailView();
  WriteLog("AlbumPhotoDlg begin to initalize (5)...");
  m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  WriteLog("AlbumPhotoDlg begin to initalize (6)...");
  UpdateButtonBar();
  if (m_pBar != nullptr) m_pBar->SetWindowText("");
  WriteLog("AlbumPhotoDlg finish to initalize ...");
  return TRUE;
}

BOOL AlbumPhotoDlg::PreTranslateMessage(MSG* pMsg) {
  if (m_hAccel != nullptr && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
      ::TranslateAccelerator(m_hWnd, m_hAccel, pMsg))
    return TRUE;
  return CPropertyPage::PreTranslateMessage(pMsg);
}

void AlbumPhotoDlg::OnSize(UINT nType, int cx, int cy) {
  CPropertyPage::OnSize(nType, cx, cy);
  if (m_list.GetSafeHwnd() == nullptr) return;
  m_layout.LayoutRoot(CRect(0, 0, cx, cy), this);
  m_layout.ApplyLayout(this);
}

BOOL AlbumPhotoDlg::OnEraseBkgnd(CDC* pDC) {
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

// Rows.

CDVDImage* AlbumPhotoDlg::SlideOfRow(int nRow) const {
  if (nRow < 0 || nRow >= m_list.GetItemCount()) return nullptr;
  return reinterpret_cast<CDVDImage*>(m_list.GetItemData(nRow));
}

void AlbumPhotoDlg::FillPhotoList(CDVDAlbumBase* pAlbum, BOOL bWait) {
  if (pAlbum == nullptr || !pAlbum->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage))) return;
  auto* album = static_cast<CDVDAlbumImage*>(pAlbum);
  m_pAlbum = album;
  StopThumbnailLoader(bWait);
  m_list.SetRedraw(FALSE);
  m_list.DeleteAllItems();
  int current = -1;
  const int count = static_cast<int>(album->m_arrImages.GetSize());
  for (int i = 0; i < count; ++i) {
    CDVDImage* slide = album->m_arrImages[i];
    const int row = m_list.InsertItem(i, PhotoRowNumberText(i));
    m_list.SetItemData(row, reinterpret_cast<DWORD_PTR>(slide));
    if (slide == nullptr) continue;
    // A date or size not yet known is left to the thumbnail loader, which reads the files off the
    // UI thread: reading a thousand photos' EXIF here would freeze the page.
    if (slide->m_bDateRead) m_list.SetItemText(row, kPhotoColumnDate, slide->Get_strPhotoDateTime(0));
    if (slide->m_nWidth > 0)
      m_list.SetItemText(row, kPhotoColumnDimensions, PhotoDimensionsText(slide->m_nWidth, slide->m_nHeight));
    CString name, folder;
    SplitPhotoPath(slide->Get_strPathName().Left(MAX_PATH), &name, &folder);
    m_list.SetItemText(row, kPhotoColumnName, name);
    m_list.SetItemText(row, kPhotoColumnPath, folder);
    m_list.SetItemText(row, kPhotoColumnSize, PhotoSizeText(slide->m_dwFileSize));
    if (slide == album->m_pCurImage) {
      album->Set_bFirstTransActive(0);
      m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
      current = row;
    }
  }
  m_list.SetRedraw(TRUE);
  m_list.Invalidate();
  if (current != -1) m_list.EnsureVisible(current, FALSE);
  if (count > 0) m_loader.StartLoadImageThread(&m_list);
}

void AlbumPhotoDlg::FillPhotoListByIndex(int nIndex, BOOL bWait) {
  CDVDProject* project = GetProject();
  if (nIndex < 0 || nIndex >= project->m_arrAlbums.GetSize()) return;
  CDVDAlbumBase* album = project->m_arrAlbums[nIndex];
  if (album == nullptr || !album->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage))) return;
  FillPhotoList(album, bWait);
}

void AlbumPhotoDlg::SetAlbum(CDVDAlbumBase* pAlbum) {
  if (static_cast<CDVDAlbumBase*>(m_pAlbum) == pAlbum) return;
  m_pAlbum = pAlbum != nullptr && pAlbum->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage))
                 ? static_cast<CDVDAlbumImage*>(pAlbum)
                 : nullptr;
  FillPhotoList(pAlbum, 1);
}

void AlbumPhotoDlg::DeselectAll() {
  for (int i = 0; i < m_list.GetItemCount(); ++i) m_list.SetItemState(i, 0, LVIS_SELECTED);
  if (auto* page = static_cast<AlbumPhotoDlg*>(GetWindowRegistry()->m_pAlbumPhotoDlg))
    page->UpdateButtonBar();
}

void AlbumPhotoDlg::ReloadThumbnails() {
  m_loader.WaitForThreadTerminatedAndRestart(&m_list);
}

void AlbumPhotoDlg::StopThumbnailLoader(BOOL bWait) {
  m_loader.WaitForThreadTerminated(bWait);
}

BOOL AlbumPhotoDlg::IsLoadingThumbnails() {
  return m_loader.IsThreadStarted();
}

CDVDImage* AlbumPhotoDlg::GetPhotoAtScreenPoint(int x, int y) {
  CPoint point(x, y);
  m_list.ScreenToClient(&point);
  const int row = m_list.HitTest(point);
  return row == -1 ? nullptr : SlideOfRow(row);
}

void AlbumPhotoDlg::GetSelectedSlides(CDVDImageArray& slides) {
  for (int row = m_list.GetNextItem(-1, LVNI_SELECTED); row != -1;
       row = m_list.GetNextItem(row, LVNI_SELECTED))
    if (CDVDImage* slide = SlideOfRow(row)) slides.Add(slide);
}

void AlbumPhotoDlg::SelectSlides(const CDVDImageArray& slides) {
  int first = -1;
  for (int row = 0; row < m_list.GetItemCount(); ++row) {
    const BOOL chosen = slides.IndexOf(SlideOfRow(row)) >= 0;
    m_list.SetItemState(row, chosen ? LVIS_SELECTED : 0, LVIS_SELECTED);
    if (chosen && first == -1) first = row;
  }
  if (first != -1) m_list.EnsureVisible(first, FALSE);
}

void AlbumPhotoDlg::RedrawVisibleRows() {
  const int count = m_list.GetItemCount();
  if (count == 0) return;
  const int top = std::max(m_list.GetTopIndex(), 0);
  m_list.RedrawItems(top, std::min(top + m_list.GetCountPerPage(), count - 1));
}

// Views and sorting.

void AlbumPhotoDlg::SetThumbnailView() {
  m_list.ModifyStyle(LVS_TYPEMASK, LVS_ICON | LVS_AUTOARRANGE);
  m_bThumbnailView = TRUE;
  CImageList* frames = SkinList(GetSkinMinor()->GetMiscBitmaps().m_hThumbnailFrames);
  if (frames != nullptr) m_list.SetImageList(frames, LVSIL_NORMAL);
  m_list.SetIconSpacing(kSpacingX, kSpacingY);
  m_list.Invalidate();
}

void AlbumPhotoDlg::SetDetailsView() {
  m_list.ModifyStyle(LVS_TYPEMASK, LVS_REPORT);
  m_bThumbnailView = FALSE;
  m_list.SetIconSpacing(m_nSavedSpacingX, m_nSavedSpacingY);
  m_list.Invalidate();
}

void AlbumPhotoDlg::SortByColumn(int nColumn) {
  m_nLastClickedColumn = nColumn;
  const BOOL report = (m_list.GetStyle() & LVS_TYPEMASK) == LVS_REPORT;
  CHeaderCtrl* header = m_list.GetHeaderCtrl();
  if (nColumn == m_nSortColumn) {
    m_bSortAscending = !m_bSortAscending;
  } else {
    if (report && header != nullptr && m_nSortColumn >= 0) {
      HDITEM item{};
      item.mask = HDI_FORMAT;
      header->GetItem(m_nSortColumn, &item);
      item.fmt &= ~(HDF_BITMAP | HDF_BITMAP_ON_RIGHT);
      header->SetItem(m_nSortColumn, &item);
    }
    m_nSortColumn = nColumn;
    m_bSortAscending = TRUE;
  }
  if (report && header != nullptr) {
    const CSkinMiscBitmaps& misc = GetSkinMinor()->GetMiscBitmaps();
    HDITEM item{};
    item.mask = HDI_FORMAT | HDI_BITMAP;
    header->GetItem(nColumn, &item);
    item.fmt |= HDF_BITMAP | HDF_BITMAP_ON_RIGHT;
    item.hbm = m_bSortAscending ? misc.m_hSortAscending : misc.m_hSortDescending;
    header->SetItem(nColumn, &item);
  }
  BeginWaitCursor();
  {
    CListCtrlSorter sorter(&m_list, nColumn);
    sorter.Sort(m_bSortAscending, LIST_SORT_TEXT);
  }
  EndWaitCursor();
}

// Notifications of the list.

BOOL AlbumPhotoDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header == nullptr || header->hwndFrom != m_list.GetSafeHwnd())
    return CPropertyPage::OnNotify(wParam, lParam, pResult);
  switch (header->code) {
    case NM_CUSTOMDRAW:
      *pResult = OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
      return TRUE;
    case NM_CLICK:
      UpdateButtonBar();
      *pResult = 0;
      return TRUE;
    case NM_DBLCLK:
      if (m_list.GetItemCount() > 0) EditSelectedPhoto();
      *pResult = 0;
      return TRUE;
    case LVN_ITEMCHANGING:
      *pResult = 0;
      return TRUE;
    case LVN_ITEMCHANGED:
      OnItemChanged(reinterpret_cast<NMLISTVIEW*>(lParam));
      *pResult = 0;
      return TRUE;
    case LVN_BEGINDRAG:
      OnBeginDrag(reinterpret_cast<NMLISTVIEW*>(lParam));
      *pResult = 0;
      return TRUE;
    case LVN_COLUMNCLICK:
      SortByColumn(reinterpret_cast<NMLISTVIEW*>(lParam)->iSubItem);
      *pResult = 0;
      return TRUE;
    default:
      return CPropertyPage::OnNotify(wParam, lParam, pResult);
  }
}

void AlbumPhotoDlg::OnItemChanged(const NMLISTVIEW* pNotify) {
  if (pNotify->iItem < 0 || pNotify->iItem >= m_list.GetItemCount() || !IsWindowVisible()) return;
  if ((pNotify->uChanged & LVIF_STATE) == 0) return;
  AlbumEditorDlg* editor = Editor();
  if (editor == nullptr) return;
  CDVDAlbumImage* album = editor->GetCurrentImageAlbum();
  if (album == nullptr) return;
  CDVDImage* before = album->m_pCurImage;
  CDVDImage* after =
      TrackCurrentSlide(before, SlideOfRow(pNotify->iItem), pNotify->uOldState, pNotify->uNewState);
  if (after == before && ((pNotify->uOldState ^ pNotify->uNewState) & LVIS_SELECTED) == 0) return;
  album->m_pCurImage = after;
  album->Set_bFirstTransActive(0);
}

LRESULT AlbumPhotoDlg::OnCustomDraw(NMLVCUSTOMDRAW* pDraw) {
  if (!m_bThumbnailView) return CDRF_DODEFAULT;
  switch (pDraw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      const int row = static_cast<int>(pDraw->nmcd.dwItemSpec);
      CRect bounds;
      m_list.GetItemRect(row, &bounds, LVIR_BOUNDS);
      DrawThumbnailItem(CDC::FromHandle(pDraw->nmcd.hdc), row, bounds,
                        m_list.GetItemState(row, LVIS_SELECTED | LVIS_DROPHILITED));
      return CDRF_SKIPDEFAULT;
    }
    default:
      return 0;
  }
}

void AlbumPhotoDlg::DrawThumbnailItem(CDC* pDC, int nRow, const CRect& bounds, UINT nState) {
  const CSkinMiscBitmaps& misc = GetSkinMinor()->GetMiscBitmaps();
  const int x = bounds.left, y = bounds.top;
  int frame = 0;
  if ((nState & LVIS_DROPHILITED) != 0 ||
      ((nState & LVIS_SELECTED) != 0 && ::GetFocus() == m_list.GetSafeHwnd()))
    frame = 1;
  else if ((nState & LVIS_SELECTED) != 0)
    frame = 2;
  if (CImageList* frames = SkinList(misc.m_hThumbnailFrames))
    frames->Draw(pDC, frame, CPoint(x, y), ILD_NORMAL);

  CDVDImage* slide = SlideOfRow(nRow);
  const BOOL drawn = slide != nullptr &&
                     slide->DrawThumbnail(pDC->GetSafeHdc(), CRect(x, y, x + kTileWidth, y + kTileHeight),
                                          POINT{4, 4}, SIZE{104, 78}, 0, 1);
  if (!drawn)
    if (CImageList* placeholders = SkinList(misc.m_hPlaceholders))
      placeholders->Draw(pDC, 0, CPoint(x + 45, y + 27), ILD_TRANSPARENT);

  if (slide != nullptr) {
    CImageList* badges = SkinList(misc.m_hSlideBadges);
    const int badgeY = bounds.bottom - 32;
    int badgeX = x + 1;
    if (badges != nullptr) {
      if (slide->m_arrSprites.GetSize() > 0 ||
          (slide->GetAlbum() != nullptr && slide->GetAlbum()->m_arrSprites.GetSize() > 0)) {
        badges->Draw(pDC, 2, CPoint(badgeX, badgeY), ILD_TRANSPARENT);
        badgeX = x + 12;
      }
      if (!slide->Get_strOrgSubtilte().IsEmpty()) {
        badges->Draw(pDC, 3, CPoint(badgeX, badgeY), ILD_TRANSPARENT);
        badgeX += 11;
      }
      if (slide->Get_bAutoExposure()) badges->Draw(pDC, 0, CPoint(badgeX, badgeY), ILD_TRANSPARENT);
    }
  }

  pDC->SetBkColor(RGB(255, 255, 255));
  pDC->SetTextColor(RGB(0, 0, 0));
  CRect caption(x, y + kTileHeight, x + kTileWidth, y + kCaptionBottom);
  pDC->DrawText(m_list.GetItemText(nRow, kPhotoColumnNumber), &caption,
                DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

CImageList* AlbumPhotoDlg::CreateItemDragImage(int nRow, POINT* pOrigin) {
  CRect bounds;
  if (!m_list.GetItemRect(nRow, &bounds, LVIR_BOUNDS) || bounds.IsRectEmpty()) return nullptr;
  CImageList* image = CreatePaintedDragImage(bounds.Size(), kItemDragMask, [&](CDC& dc) {
    DrawThumbnailItem(&dc, nRow, CRect(0, 0, bounds.Width(), bounds.Height()), LVIS_DROPHILITED);
  });
  if (image != nullptr) *pOrigin = bounds.TopLeft();
  return image;
}

// Drag and drop.

void AlbumPhotoDlg::OnBeginDrag(NMLISTVIEW* pNotify) {
  if (!m_pDragHelper) return;
  CWindowRegistry* registry = GetWindowRegistry();
  CPtrArray targets;
  targets.Add(&m_list);
  if (registry->m_pAlbumListBox != nullptr) targets.Add(registry->m_pAlbumListBox);
  registry->m_nDragOrigin = 1;
  _tagDragInfo info;
  info.nKind = DRAG_KIND_LIST_CTRL;
  info.dwOwnerValue = static_cast<DWORD>(reinterpret_cast<uintptr_t>(&m_list));
  info.pSource = &m_list;
  info.bDropOnSource = TRUE;
  info.nOwnerData[0] = pNotify->iItem;
  g_dragPage = this;
  if (m_bThumbnailView) info.pfnImageCreator = &BuildSelectionDragImage;
  m_pDragHelper->BeginDrag(&info, reinterpret_cast<LPARAM>(pNotify), &targets);
}

void AlbumPhotoDlg::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_pDragHelper && m_pDragHelper->IsDragging()) {
    m_pDragHelper->DragOver(nFlags, point);
    CPoint inList = point;
    ClientToScreen(&inList);
    m_list.ScreenToClient(&inList);
    CRect client;
    m_list.GetClientRect(&client);
    if (inList.y < client.top)
      StartAutoScroll(1);
    else if (inList.y > client.bottom)
      StartAutoScroll(2);
    else
      StopAutoScroll();
  } else {
    StopAutoScroll();
  }
  CPropertyPage::OnMouseMove(nFlags, point);
}

void AlbumPhotoDlg::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_pDragHelper && m_pDragHelper->IsDragging()) {
    StopAutoScroll();
    HWND source = nullptr, target = nullptr;
    if (m_pDragHelper->Drop(nFlags, point, &source, &target)) {
      auto* albumList = static_cast<CWnd*>(GetWindowRegistry()->m_pAlbumListBox);
      const PhotoDropAction action = DecidePhotoDrop(
          source, target, m_list.GetSafeHwnd(), albumList != nullptr ? albumList->GetSafeHwnd() : nullptr);
      CPoint screen = point;
      ClientToScreen(&screen);
      if (action == PhotoDropAction::kMoveInList) {
        CPoint inList = screen;
        m_list.ScreenToClient(&inList);
        const int row = m_list.HitTest(inList);
        if (IsCopyDrop(nFlags))
          CopySelectionTo(row);
        else
          MoveSelectionTo(row);
      } else if (action == PhotoDropAction::kToAlbumList) {
        CDVDImageArray slides;
        GetSelectedSlides(slides);
        if (AlbumEditorDlg* editor = Editor())
          editor->DropPhotosOnAlbumList(screen.x, screen.y, &slides, IsCopyDrop(nFlags));
      }
    }
  }
  CPropertyPage::OnLButtonUp(nFlags, point);
}

void AlbumPhotoDlg::StartAutoScroll(int nDirection) {
  m_nScrollDirection = nDirection;
  if (m_bAutoScroll) return;
  SetTimer(kAutoScrollTimer, 100, nullptr);
  m_bAutoScroll = TRUE;
}

void AlbumPhotoDlg::StopAutoScroll() {
  if (m_bAutoScroll) KillTimer(kAutoScrollTimer);
  m_bAutoScroll = FALSE;
  m_nScrollDirection = 0;
}

void AlbumPhotoDlg::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kAutoScrollTimer) {
    CPropertyPage::OnTimer(nIDEvent);
    return;
  }
  // Rows dragged from the file browser scroll the list as the page's own do.
  auto* browserDrag = static_cast<CDragDropHelper*>(GetWindowRegistry()->m_pExploreDragHelper);
  const bool dragging =
      (m_pDragHelper && m_pDragHelper->IsDragging()) || (browserDrag && browserDrag->IsDragging());
  if (!dragging || m_nScrollDirection == 0) return;
  ImageList_DragShowNolock(FALSE);
  m_list.SendMessage(WM_VSCROLL, m_nScrollDirection == 1 ? SB_LINEUP : SB_LINEDOWN, 0);
  ImageList_DragShowNolock(TRUE);
}

void AlbumPhotoDlg::RefillAfterDrop(CDVDAlbumImage* album) {
  // The album list's selection names the album shown; without one the slides' own album does.
  auto* albumList = static_cast<CListBox*>(GetWindowRegistry()->m_pAlbumListBox);
  const int selected =
      albumList != nullptr && ::IsWindow(albumList->GetSafeHwnd()) ? albumList->GetCurSel() : -1;
  FillPhotoListByIndex(selected >= 0 ? selected : GetProject()->IndexOfAlbum(album), 1);
}

void AlbumPhotoDlg::MoveSelectionTo(int nRow) {
  CDVDImage* target = nRow == -1 ? nullptr : SlideOfRow(nRow);
  CDVDImageArray slides;
  GetSelectedSlides(slides);
  if (slides.GetSize() == 0) return;
  CDVDAlbumImage* album = slides[0]->GetAlbum();
  if (album == nullptr) return;
  album->MoveDVDImagePos(target, slides);
  album->MarkChanged();
  RefillAfterDrop(album);
  SelectSlides(slides);
  RebuildOptionsTimeline();
  UpdateButtonBar();
}

void AlbumPhotoDlg::CopySelectionTo(int nRow) {
  CDVDImage* target = nRow == -1 ? nullptr : SlideOfRow(nRow);
  CDVDImageArray slides, copies;
  GetSelectedSlides(slides);
  if (slides.GetSize() == 0) return;
  CDVDAlbumImage* album = slides[0]->GetAlbum();
  if (album == nullptr) return;
  album->DuplicateDVDImageToPos(slides, target, &copies);
  album->MarkChanged();
  RefillAfterDrop(album);
  SelectSlides(copies);
  RebuildOptionsTimeline();
  UpdateButtonBar();
}

// Window messages.

void AlbumPhotoDlg::OnShowWindow(BOOL bShow, UINT nStatus) {
  CPropertyPage::OnShowWindow(bShow, nStatus);
  if (!bShow) return;
  for (int i = 0; i < m_list.GetItemCount(); ++i) m_list.SetItemState(i, 0, LVIS_SELECTED);
  if (m_pAlbum == nullptr || m_pAlbum->m_pCurImage == nullptr) return;
  for (int row = 0; row < m_list.GetItemCount(); ++row) {
    if (SlideOfRow(row) != m_pAlbum->m_pCurImage) continue;
    m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    m_list.EnsureVisible(row, FALSE);
    break;
  }
}

void AlbumPhotoDlg::OnDestroy() {
  StopThumbnailLoader(1);
  StopAutoScroll();
  if (m_hAccel != nullptr) ::DestroyAcceleratorTable(m_hAccel);
  m_hAccel = nullptr;
  CWindowRegistry* registry = GetWindowRegistry();
  if (registry->m_pAlbumPhotoDlg == this) {
    registry->m_pAlbumPhotoDlg = nullptr;
    registry->m_pPhotoListCtrl = nullptr;
    registry->m_pPhotoDragHelper = nullptr;
  }
  CPropertyPage::OnDestroy();
}

LRESULT AlbumPhotoDlg::OnListKeyDown(WPARAM wParam, LPARAM) {
  if (wParam == VK_DELETE) RemoveSelected();
  return 1;
}

LRESULT AlbumPhotoDlg::OnProjectReloaded(WPARAM, LPARAM) {
  m_pAlbum = nullptr;
  return 0;
}

LRESULT AlbumPhotoDlg::OnReloadThumbnails(WPARAM, LPARAM) {
  ReloadThumbnails();
  RedrawVisibleRows();
  return 0;
}
