// The album editor page itself: construction, layout, the album list and its selection, the tab
// strips and sheets, and the messages the page answers. The add operations are in
// AlbumEditorAdd.cpp, the project and album commands in AlbumEditorCommands.cpp.
#include "albums/AlbumEditorDlg.h"

#include <algorithm>

#include "albums/AlbumMessages.h"
#include "albums/AlbumOptionsOneDlg.h"
#include "albums/AlbumRules.h"
#include "albums/ExploreBarDlg.h"
#include "albums/VideoAlbumPage.h"
#include "controls/DragDropHelper.h"
#include "modules/buttonbar/CoolButtonBar.h"
#include "modules/data/DSTLAudio.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDProject.h"
#include "modules/log/Log.h"
#include "platform/shellapi/DragDrop.h"
#include "render/AlbumPreviewContainer.h"
#include "render/AlbumVideoProfilePage.h"
#include "render/FullScreenPlayerWnd.h"
#include "shell/LanguageFile.h"
#include "shell/PageEditorNew.h"
#include "shell/ProcessObjects.h"
#include "shell/SkinMain.h"
#include "shell/UIHelpers.h"

#define ID_ALBUM_NEW 32925
#define ID_ALBUM_DELETE 32804
#define ID_ALBUM_PROPERTIES 32805
#define ID_ALBUM_FULL_SCREEN 32809
#define ID_ALBUM_BATCH_COLLECT 32820
#define ID_ALBUM_NEW_VARIANT 33994
#define TIMER_ALBUM_DRAG_SCROLL 7213

namespace {

// The album cards in a column on the left; beside them a rows group: a 2-pixel gap, the tab
// strips at the placeholder's template height, another gap, the sheets taking the rest.
constexpr int kEditorRows = 10;
constexpr int kTabAreaHeightDlu = 18;  // the tab placeholder's height in the template
_tagLayoutRow g_editorLayout[kEditorRows];
const LayoutRowInit kEditorLayout[kEditorRows] = {
    {LAYOUT_COLUMNS | LAYOUT_REST, 0, 0},    {LAYOUT_FIXED, IDC_ALBUM_LIST, AlbumCardLayout::kCardWidth + 14},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, -4},    {LAYOUT_ROWS | LAYOUT_REST, 0, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, -2},    {LAYOUT_FIXED, IDC_ALBUM_TAB_AREA, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, -2},    {LAYOUT_REST, IDC_ALBUM_SHEET_AREA, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0}, {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
};
_tagLayoutRow g_editorLayoutEnd;

_tagLayoutRow* EditorLayoutTable() {
  static const bool ready = [] {
    InitLayoutRows(g_editorLayout, kEditorLayout);
    InitLayoutRow(&g_editorLayoutEnd, LAYOUT_END_TABLE, LAYOUT_NO_WINDOW, 0);
    return true;
  }();
  (void)ready;
  return g_editorLayout;
}

struct TabText {
  UINT caption;
  UINT tip;
};
constexpr TabText kPhotoTabs[] = {{183, 57425}, {184, 57426}, {57510, 57511}, {185, 57427}, {284, 285}};
constexpr TabText kVideoTabs[] = {{274, 274}, {275, 275}};

template <size_t N>
void FillTabs(CSkinTabStrip& strip, const TabText (&tabs)[N], UINT notify) {
  strip.SetSkin(g_skinMain.GetGeneralTabControl());
  strip.RemoveAllTabs();
  for (const TabText& tab : tabs) strip.AddTab(LoadLangString(tab.caption), tab.tip);
  strip.SetNotifyMessage(notify);
  strip.RecalcTabs();
  strip.Invalidate();
}

}  // namespace

BEGIN_MESSAGE_MAP(AlbumEditorDlg, CPropertyPage)
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_WM_DROPFILES()
ON_WM_CONTEXTMENU()
ON_WM_INITMENUPOPUP()
ON_LBN_SELCHANGE(IDC_ALBUM_LIST, OnAlbumListSelChange)
ON_LBN_DBLCLK(IDC_ALBUM_LIST, OnAlbumListDblClk)
ON_COMMAND(ID_ALBUM_NEW, OnNewAlbum)
ON_COMMAND(ID_ALBUM_DELETE, OnDeleteAlbumCommand)
ON_COMMAND(ID_ALBUM_PROPERTIES, OnAlbumProperties)
ON_COMMAND(ID_ALBUM_FULL_SCREEN, OnFullScreen)
ON_COMMAND(ID_ALBUM_BATCH_COLLECT, OnBatchCollect)
ON_COMMAND(ID_ALBUM_NEW_VARIANT, OnNewAlbumVariant)
ON_MESSAGE(WM_ALBUM_TAB_SELECTED, OnAlbumTabSelected)
ON_MESSAGE(WM_VIDEO_ALBUM_TAB_SELECTED, OnVideoAlbumTabSelected)
ON_MESSAGE(WM_ALBUM_BUTTON_BAR, OnAlbumButtonBar)
ON_MESSAGE(WM_ALBUM_DRAG_DROP, OnAlbumDragDrop)
ON_MESSAGE(WM_PROJECT_RELOADED, OnProjectReloaded)
ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
ON_MESSAGE(WM_ADD_PHOTOS_STEP, OnAddPhotosStep)
ON_REGISTERED_MESSAGE(g_uWinMgrMsg, OnWinMgr)
END_MESSAGE_MAP()

AlbumEditorDlg::AlbumEditorDlg()
    : CPropertyPage(IDD_ALBUM_EDITOR),
      m_layout(EditorLayoutTable()),
      m_pVideoSheet(new CVideoAlbumPropSheet),
      m_pButtonBar(g_skinMain.GetAlbumButtonBar()) {
  SetActiveAlbumIndex(-1);
}

AlbumEditorDlg::~AlbumEditorDlg() {
  // Other pages find the editor through the window table: never leave them a freed one.
  CWindowRegistry* slots = GetWindowRegistry();
  if (slots->m_pAlbumEditor == this) {
    slots->m_pAlbumEditor = nullptr;
    slots->m_pAlbumListBox = nullptr;
  }
  if (slots->m_pVideoAlbumPropSheet == m_pVideoSheet) slots->m_pVideoAlbumPropSheet = nullptr;
  if (m_bAutoScroll && GetSafeHwnd() != nullptr) KillTimer(TIMER_ALBUM_DRAG_SCROLL);
  delete m_pDragHelper;
  // A full-screen player still open goes first: its end clears m_pFullScreen and stops the music.
  if (m_pFullScreen != nullptr && m_pFullScreen->GetSafeHwnd() != nullptr) m_pFullScreen->DestroyWindow();
  delete m_pAudio;
  delete m_pVideoSheet;
  if (m_hStopEvent != nullptr) CloseHandle(m_hStopEvent);
  if (m_hDoneEvent != nullptr) CloseHandle(m_hDoneEvent);
}

void AlbumEditorDlg::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_ALBUM_TAB_AREA, m_tabArea);
  DDX_Control(pDX, IDC_ALBUM_SHEET_AREA, m_sheetArea);
  DDX_Control(pDX, IDC_ALBUM_COMBO, m_combo);
  DDX_Control(pDX, IDC_ALBUM_LIST, m_albumList);
}

BOOL AlbumEditorDlg::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  WriteLog("AlbumEditorDlg begin to initalize (1)...");
  TranslateDialog(m_hWnd, IDD_ALBUM_EDITOR);
  if (m_pButtonBar != nullptr && m_pButtonBar->GetSafeHwnd() == nullptr &&
      m_pButtonBar->SubclassDlgItem(IDC_ALBUM_BUTTON_BAR, this)) {
    m_pButtonBar->SetNotifyMessage(m_hWnd, WM_ALBUM_BUTTON_BAR);
    m_pButtonBar->EnableToolTip(0);
    m_pButtonBar->SetWindowText("");
  }
  SetDlgCtrlID(IDD_ALBUM_EDITOR);
  CWindowRegistry* slots = GetWindowRegistry();
  slots->m_pAlbumEditor = this;
  slots->m_pAlbumListBox = &m_albumList;
  m_layout.CaptureToFitSizes(this);
  CRect client;
  GetClientRect(&client);
  m_layout.LayoutRoot(client, this);
  m_layout.ApplyLayout(this);

  m_pDragHelper = new CListBoxDragHelper(this, FALSE);
  WriteLog("AlbumEditorDlg begin to initalize (2)...");
  m_albumSheet.Create(this, IDC_ALBUM_SHEET);
  m_pVideoSheet->Create(this, IDC_VIDEO_ALBUM_SHEET);
  m_pVideoSheet->ShowWindow(SW_HIDE);
  slots->m_pVideoAlbumPropSheet = m_pVideoSheet;

  WriteLog("AlbumEditorDlg begin to initalize (3)...");
  while (m_albumList.GetCount() > 1) m_albumList.DeleteString(m_albumList.GetCount() - 1);

  WriteLog("AlbumEditorDlg begin to initalize (4)...");
  m_photoTabs.SubclassDlgItem(IDC_ALBUM_TAB_STRIP, this);
  m_videoTabs.SubclassDlgItem(IDC_VIDEO_ALBUM_TAB_STRIP, this);
  BuildTabStrips();
  m_videoTabs.ShowWindow(SW_HIDE);
  for (UINT id : {IDC_ALBUM_SHEET_AREA, IDC_ALBUM_TAB_AREA, IDC_ALBUM_BUTTON_BAR, IDC_ALBUM_TAB_STRIP,
                  IDC_VIDEO_ALBUM_TAB_STRIP})
    SetDlgItemText(id, "");

  WriteLog("AlbumEditorDlg begin to initalize (5)...");
  UpdateData(FALSE);
  ::DragAcceptFiles(m_hWnd, TRUE);
  m_albumList.SetItemHeight(0, AlbumCardLayout::kItemHeight);
  if (CWnd* bar = GetDlgItem(IDC_ALBUM_BUTTON_BAR)) bar->ShowWindow(SW_HIDE);
  // The sheets take the placeholder's rectangle now that they exist.
  LayOut(client.Width(), client.Height());
  WriteLog("AlbumEditorDlg finish to initalize.");
  return TRUE;
}

void AlbumEditorDlg::BuildTabStrips() {
  FillTabs(m_photoTabs, kPhotoTabs, WM_ALBUM_TAB_SELECTED);
  FillTabs(m_videoTabs, kVideoTabs, WM_VIDEO_ALBUM_TAB_SELECTED);
}

void AlbumEditorDlg::OnSize(UINT nType, int cx, int cy) {
  CPropertyPage::OnSize(nType, cx, cy);
  LayOut(cx, cy);
}

void AlbumEditorDlg::LayOut(int cx, int cy) {
  if (m_tabArea.GetSafeHwnd() == nullptr) return;
  m_layout.LayoutRoot(CRect(0, 0, cx, cy), this);
  m_layout.ApplyLayout(this);
  if (m_sheetArea.GetSafeHwnd() == nullptr || m_photoTabs.GetSafeHwnd() == nullptr ||
      m_albumSheet.GetSafeHwnd() == nullptr || m_pVideoSheet->GetSafeHwnd() == nullptr)
    return;
  // The layout collapses the hidden tab placeholder, so the strips take its template height off
  // the top of the area the placeholders share.
  CRect sheet, tabs(0, 0, 0, kTabAreaHeightDlu);
  MapDialogRect(&tabs);
  const int tabHeight = tabs.Height();
  m_sheetArea.GetWindowRect(&sheet);
  ScreenToClient(&sheet);
  tabs = CRect(sheet.left, sheet.top, sheet.right, sheet.top + tabHeight);
  sheet.top = std::min(sheet.bottom, tabs.bottom + 2);
  m_photoTabs.MoveWindow(&tabs, TRUE);
  m_videoTabs.MoveWindow(&tabs, TRUE);
  m_albumSheet.MoveWindow(&sheet, TRUE);
  m_pVideoSheet->MoveWindow(&sheet, TRUE);
}

BOOL AlbumEditorDlg::OnEraseBkgnd(CDC* pDC) {
  FillAroundChildren(this, pDC,
                     {IDC_ALBUM_BUTTON_BAR, IDC_ALBUM_LIST, IDC_ALBUM_TAB_STRIP, IDC_ALBUM_SHEET_AREA});
  return TRUE;
}

// Nothing to draw beyond the background; the paint DC validates and has the background erased.
void AlbumEditorDlg::OnPaint() {
  CPaintDC dc(this);
}

LRESULT AlbumEditorDlg::OnWinMgr(WPARAM, LPARAM) {
  return 0;
}

// --- the album list and its selection ---

void AlbumEditorDlg::SetActiveAlbumIndex(int nIndex) {
  if (nIndex == m_nActiveAlbumIndex) return;
  m_nActiveAlbumIndex = nIndex;
  GetProject()->Put_nActiveAlbumIndex(nIndex);
}

CDVDAlbumBase* AlbumEditorDlg::GetSelectedAlbum() {
  if (m_albumList.GetSafeHwnd() == nullptr) return nullptr;
  const int selected = m_albumList.GetCurSel();
  if (selected < 0) return nullptr;
  return static_cast<CDVDAlbumBase*>(m_albumList.GetItemDataPtr(selected));
}

CDVDAlbumImage* AlbumEditorDlg::GetCurrentImageAlbum() {
  CDVDAlbumBase* album = GetSelectedAlbum();
  return album != nullptr && album->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage))
             ? static_cast<CDVDAlbumImage*>(album)
             : nullptr;
}

CDVDAlbumMovie* AlbumEditorDlg::GetCurrentMovieAlbum() {
  CDVDAlbumBase* album = GetSelectedAlbum();
  return album != nullptr && album->IsKindOf(RUNTIME_CLASS(CDVDAlbumMovie))
             ? static_cast<CDVDAlbumMovie*>(album)
             : nullptr;
}

int AlbumEditorDlg::FindAlbumIndex(CDVDAlbumBase* pAlbum) {
  for (int i = 0; i < m_albumList.GetCount(); ++i)
    if (m_albumList.GetItemDataPtr(i) == pAlbum) return i;
  return -1;
}

void AlbumEditorDlg::ApplyAlbumSelection(BOOL bWait, BOOL bResetPage) {
  const int selected = m_albumList.GetSafeHwnd() != nullptr ? m_albumList.GetCurSel() : -1;
  if (selected < 0 || selected == m_nActiveAlbumIndex) return;
  if (CWnd* preview = m_albumSheet.GetPreviewContainer();
      preview != nullptr && preview->GetSafeHwnd() != nullptr)
    preview->PostMessage(WM_PREVIEW_SELECT_ALBUM, static_cast<WPARAM>(m_nActiveAlbumIndex), 0);
  m_pVideoSheet->SetMovieAlbum(nullptr);
  SetActiveAlbumIndex(selected);
  if (GetCurrentImageAlbum() != nullptr) {
    ShowAlbumSheet(0, bResetPage);
    RebuildTimeline();
    switch (m_albumSheet.GetCurrentPage()) {
      case 0:
        ShowAlbumPhotos(m_nActiveAlbumIndex, bWait);
        break;
      case 1:
        ShowAlbumOptions(m_nActiveAlbumIndex);
        break;
      case 2:
        ShowAlbumTheme(m_nActiveAlbumIndex);
        break;
      case 3:
        ShowAlbumPreview(m_nActiveAlbumIndex, 0);
        break;
      default:
        break;
    }
  } else if (CDVDAlbumMovie* movie = GetCurrentMovieAlbum()) {
    m_pVideoSheet->SetMovieAlbum(movie);
    ShowAlbumSheet(1, bResetPage);
  }
}

BOOL AlbumEditorDlg::SelectAlbum(CDVDAlbumBase* pAlbum) {
  const int index = FindAlbumIndex(pAlbum);
  if (index < 0) return FALSE;
  SetActiveAlbumIndex(-1);
  m_albumList.SetCurSel(index);
  ApplyAlbumSelection(TRUE, TRUE);
  return TRUE;
}

CDVDAlbumBase* AlbumEditorDlg::GetAlbumAtPoint(POINT ptScreen) {
  if (m_albumList.GetSafeHwnd() == nullptr || m_albumList.GetCount() == 0) return nullptr;
  CPoint point(ptScreen);
  m_albumList.ScreenToClient(&point);
  BOOL outside = TRUE;
  const UINT index = m_albumList.ItemFromPoint(point, outside);
  if (outside || static_cast<int>(index) >= m_albumList.GetCount()) return nullptr;
  return static_cast<CDVDAlbumBase*>(m_albumList.GetItemDataPtr(static_cast<int>(index)));
}

void AlbumEditorDlg::OnAlbumListSelChange() {
  ApplyAlbumSelection(TRUE, FALSE);
}

void AlbumEditorDlg::OnAlbumListDblClk() {
  OnAlbumProperties();
}

void AlbumEditorDlg::RedrawAlbumList() {
  if (m_albumList.GetSafeHwnd() != nullptr) m_albumList.Invalidate();
}

void AlbumEditorDlg::ClearAlbumList() {
  for (int i = m_albumList.GetCount() - 1; i >= 0; --i) m_albumList.DeleteString(i);
}

void AlbumEditorDlg::FillAlbumListFromProject() {
  CDVDProject* project = GetProject();
  for (int i = 0; i < project->GetAlbumCount(); ++i) {
    const int item = m_albumList.AddString("");
    if (item >= 0) m_albumList.SetItemDataPtr(item, project->GetAlbum(i));
  }
}

// --- sheets and pages ---

void AlbumEditorDlg::SelectPropPage(int nPage) {
  const int page = WrapPage(nPage, AlbumPropSheet::kPageCount);
  if (page < 0) return;
  if (m_photoTabs.GetSafeHwnd() != nullptr) m_photoTabs.SetCurSel(page);
  m_albumSheet.SelectPage(page);
}

void AlbumEditorDlg::SelectVideoPropPage(int nPage) {
  const int page = WrapPage(nPage, 2);
  if (page < 0) return;
  if (m_videoTabs.GetSafeHwnd() != nullptr) m_videoTabs.SetCurSel(page);
  m_pVideoSheet->SelectPage(page);
}

void AlbumEditorDlg::ShowAlbumSheet(int nKind, BOOL bResetPage) {
  if (nKind == 2 || m_photoTabs.GetSafeHwnd() == nullptr) return;
  const bool video = nKind == 1;
  m_videoTabs.ShowWindow(video ? SW_SHOW : SW_HIDE);
  m_pVideoSheet->ShowWindow(video ? SW_SHOW : SW_HIDE);
  m_photoTabs.ShowWindow(video ? SW_HIDE : SW_SHOW);
  m_albumSheet.ShowWindow(video ? SW_HIDE : SW_SHOW);
  if (bResetPage) {
    if (video)
      SelectVideoPropPage(0);
    else
      SelectPropPage(0);
  }
}

void AlbumEditorDlg::ShowAlbumPhotos(int nIndex, BOOL bWait) {
  AlbumPhotoDlg& page = m_albumSheet.GetPhotoPage();
  if (page.GetSafeHwnd() == nullptr) return;
  CDVDProject* project = GetProject();
  if (nIndex < 0 || nIndex >= project->GetAlbumCount()) {
    page.SetAlbum(nullptr);
    return;
  }
  page.FillPhotoListByIndex(nIndex, bWait);
}

void AlbumEditorDlg::RefreshPhotoList(BOOL bWait) {
  ShowAlbumPhotos(m_albumList.GetCurSel(), bWait);
}

void AlbumEditorDlg::ShowAlbumOptions(int nIndex) {
  AlbumOptionsOneDlg* page = m_albumSheet.GetOptionsPage();
  if (page == nullptr) return;
  CDVDAlbumImage* album = nullptr;
  if (nIndex >= 0 && nIndex < m_albumList.GetCount()) {
    auto* item = static_cast<CDVDAlbumBase*>(m_albumList.GetItemDataPtr(nIndex));
    if (item != nullptr && item->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage)))
      album = static_cast<CDVDAlbumImage*>(item);
  }
  page->SetAlbum(album);
}

void AlbumEditorDlg::ShowAlbumTheme(int nIndex) {
  if (m_albumSheet.GetSafeHwnd() == nullptr) return;
  CDVDAlbumImage* album = nullptr;
  if (nIndex >= 0 && nIndex < m_albumList.GetCount()) {
    auto* item = static_cast<CDVDAlbumBase*>(m_albumList.GetItemDataPtr(nIndex));
    if (item != nullptr && item->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage)))
      album = static_cast<CDVDAlbumImage*>(item);
  }
  m_albumSheet.GetThemePage().SetAlbum(album);
}

BOOL AlbumEditorDlg::ShowAlbumPreview(int nIndex, int nPlay) {
  CWnd* preview = m_albumSheet.GetPreviewContainer();
  if (preview != nullptr && preview->GetSafeHwnd() != nullptr)
    preview->PostMessage(WM_PREVIEW_SELECT_ALBUM, static_cast<WPARAM>(nIndex), nPlay);
  return TRUE;
}

void AlbumEditorDlg::RefreshOutputFormats() {
  if (CAlbumVideoPorfileContainerPage* page = m_albumSheet.GetOutputPage()) page->SelectActiveFormat();
}

// --- refreshing the other windows after a change ---

void AlbumEditorDlg::RebuildTimeline() {
  AlbumOptionsOneDlg* page = m_albumSheet.GetOptionsPage();
  if (page != nullptr && page->GetSafeHwnd() != nullptr) page->RebuildTimeline();
}

void AlbumEditorDlg::PostStatusBarUpdate() {
  if (auto* main = static_cast<CWnd*>(GetWindowRegistry()->m_pMainDlg);
      main != nullptr && main->GetSafeHwnd())
    main->PostMessage(WM_UPDATE_STATUS_BAR, 0, 0);
}

void AlbumEditorDlg::UpdatePageButtons() {
  AlbumPhotoDlg& photos = m_albumSheet.GetPhotoPage();
  if (photos.GetSafeHwnd() != nullptr) photos.UpdateButtonBar();
  CVideoAlbumPage* clips = m_pVideoSheet->GetClipPage();
  if (clips != nullptr && clips->GetSafeHwnd() != nullptr) clips->UpdateClipButtons();
}

void AlbumEditorDlg::StopThumbnails(int nWait) {
  AlbumPhotoDlg& photos = m_albumSheet.GetPhotoPage();
  if (photos.GetSafeHwnd() != nullptr && photos.IsLoadingThumbnails()) photos.StopThumbnailLoader(nWait);
}

// --- messages ---

LRESULT AlbumEditorDlg::OnAlbumTabSelected(WPARAM wParam, LPARAM) {
  SelectPropPage(static_cast<int>(wParam));
  switch (m_albumSheet.GetCurrentPage()) {
    case 0:
      m_albumSheet.GetPhotoPage().SetAlbum(GetCurrentImageAlbum());
      break;
    case 1:
      SetActiveAlbumIndex(m_albumList.GetCurSel());
      ShowAlbumOptions(m_nActiveAlbumIndex);
      break;
    case 2:
      SetActiveAlbumIndex(m_albumList.GetCurSel());
      break;
    case 3:
      SetActiveAlbumIndex(m_albumList.GetCurSel());
      ShowAlbumPreview(m_nActiveAlbumIndex, 0);
      break;
    default:
      break;
  }
  return TRUE;
}

LRESULT AlbumEditorDlg::OnVideoAlbumTabSelected(WPARAM wParam, LPARAM) {
  m_pVideoSheet->SelectPage(static_cast<int>(wParam));
  return TRUE;
}

LRESULT AlbumEditorDlg::OnAlbumButtonBar(WPARAM wParam, LPARAM) {
  if (wParam == 0) OnNewAlbum();
  if (wParam == 1) DeleteCurrentAlbum();
  return 0;
}

LRESULT AlbumEditorDlg::OnProjectReloaded(WPARAM wParam, LPARAM lParam) {
  CancelPhotoFiles();
  m_albumList.SendMessage(WM_PROJECT_RELOADED, wParam, lParam);
  if (m_albumSheet.GetSafeHwnd() != nullptr) m_albumSheet.SendMessage(WM_PROJECT_RELOADED, wParam, lParam);
  return TRUE;
}

LRESULT AlbumEditorDlg::OnLanguageChanged(WPARAM, LPARAM) {
  TranslateDialog(m_hWnd, IDD_ALBUM_EDITOR);
  BuildTabStrips();
  Invalidate();
  return TRUE;
}

void AlbumEditorDlg::OnContextMenu(CWnd* pWnd, CPoint point) {
  if (pWnd == nullptr || pWnd->GetSafeHwnd() != m_albumList.GetSafeHwnd()) return;
  auto* organize = static_cast<CPageEditorNew*>(GetWindowRegistry()->m_pPageEditorNew);
  if (organize == nullptr) return;
  if (CMenu* popup = organize->GetPopupEditorAlbum())
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

void AlbumEditorDlg::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
  CPropertyPage::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
  CDVDAlbumBase* selected = GetSelectedAlbum();
  CDVDAlbumImage* photos = GetCurrentImageAlbum();
  for (UINT i = 0; i < pPopupMenu->GetMenuItemCount(); ++i) {
    const UINT id = pPopupMenu->GetMenuItemID(static_cast<int>(i));
    const UINT off = MF_BYCOMMAND | MF_DISABLED | MF_GRAYED;
    if (id == ID_ALBUM_DELETE || id == ID_ALBUM_PROPERTIES)
      pPopupMenu->EnableMenuItem(id, selected != nullptr ? MF_BYCOMMAND | MF_ENABLED : off);
    if (id == ID_ALBUM_FULL_SCREEN && GetCurrentMovieAlbum() == nullptr)
      pPopupMenu->EnableMenuItem(
          id, photos != nullptr && photos->GetImageCount() > 0 ? MF_BYCOMMAND | MF_ENABLED : off);
  }
}

LRESULT AlbumEditorDlg::OnAlbumDragDrop(WPARAM, LPARAM lParam) {
  if (m_pDragHelper == nullptr || m_albumList.GetCount() == 0) return 0;
  CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
  if (CWnd::WindowFromPoint(point) != &m_albumList) return 0;
  m_albumList.ScreenToClient(&point);
  BOOL outside = TRUE;
  const int item = static_cast<int>(m_albumList.ItemFromPoint(point, outside));
  _tagDragInfo info;
  info.nKind = DRAG_KIND_LIST_BOX;
  info.pSource = &m_albumList;
  info.bDropOnSource = TRUE;
  info.nOwnerData[0] = item;
  info.nOwnerData[1] = outside;
  CPtrArray targets;
  targets.Add(&m_albumList);
  if (m_pDragHelper->BeginDrag(&info, MAKELONG(point.x, point.y), &targets)) SetCapture();
  return 0;
}

void AlbumEditorDlg::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_pDragHelper != nullptr && m_pDragHelper->IsDragging()) {
    m_pDragHelper->DragOver(nFlags, point);
    CPoint inList = point;
    ClientToScreen(&inList);
    m_albumList.ScreenToClient(&inList);
    CRect band;
    m_albumList.GetClientRect(&band);
    band.DeflateRect(0, 12);
    if (inList.y < band.top)
      StartDragScroll(1);
    else if (inList.y > band.bottom)
      StartDragScroll(2);
    else
      StopDragScroll();
  } else {
    StopDragScroll();
  }
  CPropertyPage::OnMouseMove(nFlags, point);
}

void AlbumEditorDlg::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_pDragHelper == nullptr || !m_pDragHelper->IsDragging()) {
    CPropertyPage::OnLButtonUp(nFlags, point);
    return;
  }
  StopDragScroll();
  HWND source = nullptr, target = nullptr;
  const BOOL dropped = m_pDragHelper->Drop(nFlags, point, &source, &target);
  if (::GetCapture() == m_hWnd) ReleaseCapture();
  const HWND list = m_albumList.GetSafeHwnd();
  if (dropped && source == list && target == list) MoveDraggedAlbum(nFlags, point);
  if (source == list) {
    SetActiveAlbumIndex(-1);
    ApplyAlbumSelection(TRUE, FALSE);
  }
  CPropertyPage::OnLButtonUp(nFlags, point);
}

void AlbumEditorDlg::MoveDraggedAlbum(UINT nFlags, CPoint point) {
  const int dragged = m_pDragHelper->GetDragInfo().nOwnerData[0];
  CPoint inList = point;
  ClientToScreen(&inList);
  m_albumList.ScreenToClient(&inList);
  BOOL outside = TRUE;
  int targetIndex = static_cast<int>(m_albumList.ItemFromPoint(inList, outside));
  const int count = m_albumList.GetCount();
  if (dragged < 0 || dragged >= count || targetIndex < 0) {
    RebuildTimeline();
    return;
  }
  if (targetIndex >= count) targetIndex = count - 1;
  CDVDProject* project = GetProject();
  auto* album = static_cast<CDVDAlbumBase*>(m_albumList.GetItemDataPtr(dragged));
  auto* targetAlbum = static_cast<CDVDAlbumBase*>(m_albumList.GetItemDataPtr(targetIndex));
  CDVDAlbumBase* placed = nullptr;
  if ((nFlags & MK_CONTROL) != 0) {
    CDVDAlbumBase* copy = nullptr;
    if (album->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage)))
      copy = project->AllocImageAlbum(static_cast<CDVDAlbumImage*>(album));
    else if (album->IsKindOf(RUNTIME_CLASS(CDVDAlbumMovie)))
      copy = project->AllocMovieAlbum(static_cast<CDVDAlbumMovie*>(album));
    if (copy == nullptr) {
      RebuildTimeline();
      return;
    }
    // Appended first so the project and the list agree, then moved before the target in both.
    SetActiveAlbumIndex(-1);
    project->AddAlbum(copy);
    project->MoveAlbumPos(targetAlbum, copy);
    placed = copy;
  } else {
    if (targetIndex == dragged) {
      RebuildTimeline();
      return;
    }
    project->MoveAlbumPos(targetAlbum, album);
    placed = album;
  }
  m_albumList.LockWindowUpdate();
  ClearAlbumList();
  FillAlbumListFromProject();
  const int at = FindAlbumIndex(placed);
  m_albumList.SetCurSel(at);
  SetActiveAlbumIndex(-1);
  m_albumList.UnlockWindowUpdate();
  m_albumList.Invalidate();
  RebuildTimeline();
  PostStatusBarUpdate();
}

void AlbumEditorDlg::StartDragScroll(int nDirection) {
  if (m_bAutoScroll) return;
  m_nScrollDirection = nDirection;
  m_bAutoScroll = SetTimer(TIMER_ALBUM_DRAG_SCROLL, 100, nullptr) != 0;
}

void AlbumEditorDlg::StopDragScroll() {
  if (m_bAutoScroll) KillTimer(TIMER_ALBUM_DRAG_SCROLL);
  m_bAutoScroll = 0;
  m_nScrollDirection = 0;
}

void AlbumEditorDlg::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != TIMER_ALBUM_DRAG_SCROLL) {
    CPropertyPage::OnTimer(nIDEvent);
    return;
  }
  // Rows dragged from the file browser scroll the list as the list's own albums do.
  auto* browserDrag = static_cast<CDragDropHelper*>(GetWindowRegistry()->m_pExploreDragHelper);
  const bool dragging =
      (m_pDragHelper != nullptr && m_pDragHelper->IsDragging()) || (browserDrag && browserDrag->IsDragging());
  if (!dragging) return;
  CImageList::DragShowNolock(FALSE);
  m_albumList.SendMessage(WM_VSCROLL, m_nScrollDirection == 1 ? SB_LINEUP : SB_LINEDOWN, 0);
  m_albumList.UpdateWindow();
  CImageList::DragShowNolock(TRUE);
}

BOOL AlbumEditorDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  return CPropertyPage::OnCommand(wParam, lParam);
}
