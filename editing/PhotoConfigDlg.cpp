#include "editing/PhotoConfigDlg.h"

#include <vector>

#include "albums/AlbumEditorDlg.h"
#include "albums/AlbumMessages.h"
#include "albums/PhotoListRows.h"
#include "controls/ListCtrls.h"
#include "controls/SkinTabStrip.h"
#include "editing/PhotoConfigRules.h"
#include "editing/PhotoEditCanvas.h"
#include "editing/PhotoEditMessages.h"
#include "editing/PhotoEditOperArtClipPage.h"
#include "editing/PhotoEditOperPanZoomPage.h"
#include "editing/PhotoEditOperProcessPage.h"
#include "editing/PhotoEditOperTextPage.h"
#include "editing/PhotoEditOperTransitionPage.h"
#include "modules/buttonbar/CoolButtonBar.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/ImageLoadManager.h"
#include "platform/comctl/AfxImageList.h"
#include "platform/mfc/WinApp.h"
#include "render/AlbumPreviewContainer.h"
#include "render/AlbumPreviewDlg.h"
#include "shell/ARRegistry.h"
#include "shell/AppSettings.h"
#include "shell/EnvironmentChecks.h"
#include "shell/LanguageFile.h"
#include "shell/PageSet.h"
#include "shell/ProcessObjects.h"
#include "shell/SkinMain.h"
#include "shell/SkinMinor.h"
#include "shell/UIHelpers.h"

namespace {

constexpr char kTabValue[] = "PhotoOperSubIndex";
constexpr int kTabStripHeight = 29;
constexpr int kCellWidth = 112;
constexpr int kCellThumbBottom = 86;
constexpr int kCellCaptionBottom = 102;
constexpr COLORREF kCaptionBand = RGB(72, 82, 96);  // behind the white caption

struct TabDef {
  UINT caption;
  UINT tip;
};
// In tab order, which is also the page set's order.
constexpr TabDef kTabs[photo_config::kTabCount] = {
    {225, 226}, {227, 228}, {202, 203}, {204, 205}, {231, 232}};

struct ColumnDef {
  const char* title;
  int width;
  int format;
};
constexpr ColumnDef kColumns[kPhotoColumnCount] = {
    {"#", 50, LVCFMT_LEFT},           {"Name", 160, LVCFMT_LEFT},
    {"Size", 68, LVCFMT_RIGHT},       {"Photo/File Date", 140, LVCFMT_LEFT},
    {"Dimensions", 100, LVCFMT_LEFT}, {"Path", 214, LVCFMT_LEFT}};

CImageList* SkinList(HIMAGELIST handle) {
  return handle != nullptr ? CImageList::FromHandle(handle) : nullptr;
}

BOOL ReadRememberedTab(int* pTab) {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, TRUE);
  return registry != nullptr && registry->Open("General") && registry->ReadInt(kTabValue, *pTab);
}

void WriteRememberedTab(int nTab) {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, FALSE);
  if (registry != nullptr && (registry->Open("General") || registry->CreateKey("General")))
    registry->WriteInt(kTabValue, nTab);
}

void ShowIfCreated(CWnd* pWnd, int nCmdShow) {
  if (pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr) pWnd->ShowWindow(nCmdShow);
}

void EnableIfCreated(CWnd* pWnd, BOOL bEnable) {
  if (pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr) pWnd->EnableWindow(bEnable);
}

template <class Page>
void DestroyAndDelete(Page*& pPage) {
  if (pPage != nullptr && pPage->GetSafeHwnd() != nullptr) pPage->DestroyWindow();
  delete pPage;
  pPage = nullptr;
}

}  // namespace

int CPhotoConfigDlg::s_nLastObjectCount = -1;

BEGIN_MESSAGE_MAP(CPhotoConfigDlg, CDialog)
ON_WM_SHOWWINDOW()
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_FILL_PHOTO_LIST, OnFillPhotoList)
ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_MESSAGE(WM_PHOTO_OPER_TAB, OnPhotoOperTab)
ON_MESSAGE(WM_SPRITE_SELECTED, OnSpriteSelected)
ON_MESSAGE(WM_REDRAW_PHOTO_ROWS, OnRedrawPhotoRows)
ON_MESSAGE(WM_PHOTO_NAV_BUTTON, OnNavButton)
ON_MESSAGE(WM_PHOTO_PREVIEW_PLAY, OnPreviewPlay)
ON_MESSAGE(WM_PHOTO_PREVIEW_STOP, OnPreviewStop)
ON_MESSAGE(WM_PREVIEW_ENDED, OnPreviewEnded)
END_MESSAGE_MAP()

CPhotoConfigDlg::CPhotoConfigDlg(int bStart, CWnd* pParent)
    : CDialog(IDD_PHOTO_CONFIG, pParent),
      m_pCanvas(new CPhotoEditCanvas),
      m_pList(new CBufferedListCtrl),
      m_pTabStrip(new CSkinTabStrip),
      m_pTabs(m_pTabStrip),
      m_pNavBar(GetSkinMinor()->m_pPhotoEditNavigatorButton),
      m_pPlayBar(GetSkinMinor()->m_pPhotoEditPreviewPlayButton),
      m_pStopBar(GetSkinMinor()->m_pPhotoEditPreviewStopButton),
      m_bStart(bStart),
      m_hThumbFrames(GetSkinMinor()->GetMiscBitmaps().m_hThumbnailFrames),
      m_pPageSet(new CPageSet),
      m_pTextPage(new CPhotoEditOperTextPage(&m_textStyle)),
      m_pArtClipPage(new CPhotoEditOperArtClipPage),
      m_pTransitionPage(new CPhotoEditOperTransitionPage),
      m_pPanZoomPage(new CPhotoEditOperPanZoomPage),
      m_pProcessPage(new CPhotoEditOperProcessPage),
      m_pCustomPanZoomPage(
          new CPhotoEditOperCustomPanZoomPage(m_pCanvas->GetDisplayImage(), &m_pCurrentImage)),
      m_pPreviewPage(new CAlbumPreviewContainer2Page),
      m_pLoader(std::make_unique<CImageLoadManager>(1, kPhotoColumnDate, kPhotoColumnDimensions,
                                                    kPhotoColumnName, kPhotoColumnSize, kPhotoColumnPath)) {}

CPhotoConfigDlg::~CPhotoConfigDlg() {
  m_pLoader->WaitForThreadTerminated(TRUE);
  DestroyAndDelete(m_pTextPage);
  DestroyAndDelete(m_pArtClipPage);
  DestroyAndDelete(m_pTransitionPage);
  DestroyAndDelete(m_pPanZoomPage);
  DestroyAndDelete(m_pProcessPage);
  DestroyAndDelete(m_pCustomPanZoomPage);
  DestroyAndDelete(m_pPreviewPage);
  delete m_pPageSet;
  m_listPending.RemoveAll();
  m_arrSubset.RemoveAll();
  // The skin's bars outlive the dialog: give their windows back before the dialog's go.
  for (CCoolButtonBar* bar : {m_pNavBar, m_pPlayBar, m_pStopBar})
    if (bar != nullptr && bar->GetSafeHwnd() != nullptr) bar->UnsubclassWindow();
  delete m_pTabStrip;
  delete m_pList;
  delete m_pCanvas;
}

CDVDAlbumImage* CPhotoConfigDlg::GetAlbum() {
  auto* editor = static_cast<AlbumEditorDlg*>(GetWindowRegistry()->m_pAlbumEditor);
  if (editor == nullptr || editor->GetSafeHwnd() == nullptr) return nullptr;
  return editor->GetCurrentImageAlbum();
}

int CPhotoConfigDlg::GetCurrentTab() const {
  return m_pPageSet->GetCurrentPage();
}

void CPhotoConfigDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
}

BOOL CPhotoConfigDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_PHOTO_CONFIG);
  CDVDAlbumImage* album = GetAlbum();

  // The list: six columns kept for the details, shown as thumbnail cells.
  m_pList->SubclassDlgItem(IDC_PHOTO_CONFIG_LIST, this);
  for (int column = 0; column < kPhotoColumnCount; ++column)
    m_pList->InsertColumn(column, kColumns[column].title, kColumns[column].format, kColumns[column].width);
  if (CImageList* frames = SkinList(m_hThumbFrames)) m_pList->SetImageList(frames, LVSIL_NORMAL);
  m_pList->SetIconSpacing(114, 106);
  m_pList->SetExtendedStyle(m_pList->GetExtendedStyle() | LVS_EX_FULLROWSELECT);

  // The skin's bars; the stop bar sits where the play bar is.
  const struct {
    CCoolButtonBar* bar;
    UINT id;
    UINT message;
    UINT tip;
  } bars[] = {{m_pNavBar, IDC_PHOTO_NAV_BAR, WM_PHOTO_NAV_BUTTON, 198},
              {m_pPlayBar, IDC_PHOTO_PLAY_BAR, WM_PHOTO_PREVIEW_PLAY, 269},
              {m_pStopBar, IDC_PHOTO_STOP_BAR, WM_PHOTO_PREVIEW_STOP, 144}};
  for (const auto& b : bars) {
    if (b.bar == nullptr || !b.bar->SubclassDlgItem(b.id, this)) continue;
    b.bar->SetNotifyMessage(m_hWnd, b.message);
    b.bar->EnableToolTip(b.tip);
    const CSize size = b.bar->GetSize();
    b.bar->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
  }
  if (m_pPlayBar != nullptr && m_pPlayBar->GetSafeHwnd() != nullptr && m_pStopBar != nullptr &&
      m_pStopBar->GetSafeHwnd() != nullptr) {
    CRect play;
    m_pPlayBar->GetWindowRect(&play);
    ScreenToClient(&play);
    m_pStopBar->SetWindowPos(nullptr, play.left, play.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
  ShowIfCreated(m_pPlayBar, SW_SHOW);
  ShowIfCreated(m_pStopBar, SW_HIDE);

  // The canvas and what it shares with the dialog.
  m_pCanvas->SubclassDlgItem(IDC_PHOTO_CANVAS, this);
  m_pCanvas->SetImage(m_pCurrentImage);
  m_pCanvas->SetScaleFactor(&m_fScaleFactor);
  m_pCanvas->SetTextFontData(&m_textStyle);
  m_pCanvas->SetTextPage(m_pTextPage);
  m_pCanvas->SetAlbum(album);
  m_pCanvas->SetSlideCount(album != nullptr ? album->GetImageCount() : 0);
  m_pCanvas->SetSlideIndex(album != nullptr ? album->IndexOf(m_pCurrentImage) : -1);

  // The tab strip keeps its left, top and width.
  m_pTabStrip->SubclassDlgItem(IDC_PHOTO_OPER_TABS, this);
  m_pTabStrip->SetSkin(g_skinMain.GetGeneralTabControl());
  m_pTabStrip->RemoveAllTabs();
  for (const TabDef& tab : kTabs) m_pTabStrip->AddTab(LoadLangString(tab.caption), tab.tip);
  m_pTabStrip->SetNotifyMessage(WM_PHOTO_OPER_TAB);
  m_pTabStrip->RecalcTabs();
  CRect strip;
  m_pTabStrip->GetWindowRect(&strip);
  ScreenToClient(&strip);
  m_pTabStrip->SetWindowPos(nullptr, 0, 0, strip.Width(), kTabStripHeight, SWP_NOMOVE | SWP_NOZORDER);

  m_pTransitionPage->SetImage(m_pCurrentImage);
  m_pTransitionPage->SetAlbum(album);
  m_pPanZoomPage->SetImage(m_pCurrentImage);
  m_pPanZoomPage->SetAlbum(album);
  m_pProcessPage->SetImage(m_pCurrentImage);
  m_pProcessPage->SetAlbum(album);

  // The custom pan-and-zoom page takes the canvas's place while the Pan&Zoom tab shows.
  CRect canvas;
  m_pCanvas->GetWindowRect(&canvas);
  ScreenToClient(&canvas);
  if (m_pCustomPanZoomPage->Create(IDD_PHOTO_EDIT_CUSTOM_PANZOOM, this)) {
    m_pCustomPanZoomPage->SetWindowPos(nullptr, canvas.left, canvas.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    m_pCustomPanZoomPage->ShowWindow(SW_HIDE);
  }

  if (CWnd* frame = GetDlgItem(IDC_PHOTO_PAGE_FRAME); frame != nullptr) {
    frame->GetWindowRect(&m_pPageSet->m_rcFrame);
    m_pPageSet->m_bCenter = 0;
    const struct {
      CPropertyPage* page;
      UINT id;
    } pages[] = {{m_pTransitionPage, IDD_PHOTO_EDIT_TRANSITION},
                 {m_pPanZoomPage, IDD_PHOTO_EDIT_PANZOOM},
                 {m_pTextPage, IDD_PHOTO_EDIT_TEXT},
                 {m_pArtClipPage, IDD_PHOTO_EDIT_ARTCLIP},
                 {m_pProcessPage, IDD_PHOTO_EDIT_PROCESS}};
    for (const auto& p : pages)
      if (p.page->Create(p.id, this)) m_pPageSet->AddPage(p.page);
  }

  int remembered = 0;
  const BOOL hasTab = m_bStart == 0 && ReadRememberedTab(&remembered);
  const int tab = photo_config::StartTab(m_bStart, hasTab, remembered);
  m_pPageSet->ShowPage(tab);
  m_pTabStrip->SetCurSel(tab);
  ApplyCanvasVisibility();

  // The page protocol's pointers.
  m_pTextPage->SetCanvas(m_pCanvas);
  m_pArtClipPage->SetCanvas(m_pCanvas);
  m_pProcessPage->SetCanvas(m_pCanvas);
  m_pPanZoomPage->SetCustomPage(m_pCustomPanZoomPage);
  m_pCustomPanZoomPage->SetPanZoomPage(m_pPanZoomPage);
  UpdateNavButtons();
  RefreshCustomPanZoomPage();

  // The preview plays where the canvas is.
  if (m_pPreviewPage->Create(IDD_ALBUM_PREVIEW_CONTAINER2, this)) {
    m_pPreviewPage->SetWindowPos(nullptr, canvas.left, canvas.top, canvas.Width(), canvas.Height(),
                                 SWP_NOZORDER | SWP_HIDEWINDOW);
    m_pCanvas->SetPreviewWnd(m_pPreviewPage->GetPreview());
  }
  m_pCanvas->SetCustomPanZoomPage(m_pCustomPanZoomPage);
  SetPreviewMode(FALSE);
  return TRUE;
}

void CPhotoConfigDlg::OnShowWindow(BOOL bShow, UINT nStatus) {
  CDialog::OnShowWindow(bShow, nStatus);
  if (bShow) PostMessage(WM_FILL_PHOTO_LIST);
}

BOOL CPhotoConfigDlg::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, GetSkinColor(SKIN_COLOR_PHOTO_CONFIGURE));
  return TRUE;
}

// The list.

LRESULT CPhotoConfigDlg::OnFillPhotoList(WPARAM, LPARAM) {
  CDVDAlbumImage* album = GetAlbum();
  if (album == nullptr || m_pList->GetSafeHwnd() == nullptr) return 0;
  m_pList->DeleteAllItems();
  const std::vector<UINT> subset(m_arrSubset.GetData(), m_arrSubset.GetData() + m_arrSubset.GetSize());
  int currentRow = -1;
  for (int index : photo_config::ListedAlbumIndexes(subset, album->GetImageCount())) {
    CDVDImage* slide = album->GetImage(index);
    const int row = m_pList->InsertItem(m_pList->GetItemCount(), PhotoRowNumberText(index));
    if (row < 0) continue;
    m_pList->SetItemData(row, reinterpret_cast<DWORD_PTR>(slide));
    if (slide == nullptr) continue;
    CString name, folder;
    SplitPhotoPath(slide->Get_strPathName(), &name, &folder);
    m_pList->SetItemText(row, kPhotoColumnName, name);
    m_pList->SetItemText(row, kPhotoColumnSize, PhotoSizeText(slide->m_dwFileSize));
    m_pList->SetItemText(row, kPhotoColumnDate, slide->Get_strPhotoDateTime(0));
    m_pList->SetItemText(row, kPhotoColumnDimensions, PhotoDimensionsText(slide->m_nWidth, slide->m_nHeight));
    m_pList->SetItemText(row, kPhotoColumnPath, folder);
    if (slide == m_pCurrentImage && currentRow < 0) currentRow = row;
  }
  for (int row = 0; row < m_pList->GetItemCount(); ++row) m_pList->SetItemState(row, 0, LVIS_SELECTED);
  // Filling queued selection changes of rows that are gone now.
  m_listPending.RemoveAll();
  if (currentRow >= 0) {
    m_pList->SetItemState(currentRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_pList->EnsureVisible(currentRow, FALSE);
    m_listPending.RemoveAll();
  }
  if (m_pList->GetItemCount() > 0) m_pLoader->StartLoadImageThread(m_pList);
  UpdateNavButtons();
  return 0;
}

BOOL CPhotoConfigDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header != nullptr && header->idFrom == IDC_PHOTO_CONFIG_LIST && m_pList->GetSafeHwnd() != nullptr &&
      header->hwndFrom == m_pList->GetSafeHwnd()) {
    if (header->code == LVN_ITEMCHANGED) {
      const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
      if (change->iItem >= 0 && change->iItem < m_pList->GetItemCount() &&
          (change->uNewState & LVIS_SELECTED) && !(change->uOldState & LVIS_SELECTED))
        m_listPending.AddHead(change->iItem);
      *pResult = 0;
      return TRUE;
    }
    if (header->code == NM_CUSTOMDRAW) {
      *pResult = DrawCell(lParam);
      return TRUE;
    }
  }
  return CDialog::OnNotify(wParam, lParam, pResult);
}

LRESULT CPhotoConfigDlg::DrawCell(LPARAM lParam) {
  auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(lParam);
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      break;
    default:
      return CDRF_DODEFAULT;
  }
  const int row = static_cast<int>(draw->nmcd.dwItemSpec);
  CDC* dc = CDC::FromHandle(draw->nmcd.hdc);
  CRect bounds;
  m_pList->GetItemRect(row, &bounds, LVIR_BOUNDS);
  const int x = bounds.left, y = bounds.top;
  const UINT state = m_pList->GetItemState(row, LVIS_SELECTED | LVIS_DROPHILITED);
  const CSkinMiscBitmaps& misc = GetSkinMinor()->GetMiscBitmaps();

  int frame = 0;
  if (state & LVIS_DROPHILITED)
    frame = 1;
  else if (state & LVIS_SELECTED)
    frame = ::GetFocus() == m_pList->GetSafeHwnd() ? 1 : 2;
  if (CImageList* frames = SkinList(m_hThumbFrames)) frames->Draw(dc, frame, CPoint(x, y), ILD_NORMAL);

  auto* slide = reinterpret_cast<CDVDImage*>(m_pList->GetItemData(row));
  const BOOL drawn = slide != nullptr &&
                     slide->DrawThumbnail(dc->GetSafeHdc(), CRect(x, y, x + kCellWidth, y + kCellThumbBottom),
                                          POINT{4, 4}, SIZE{104, 78}, 1, 1);
  if (!drawn)
    if (CImageList* placeholders = SkinList(misc.m_hPlaceholders))
      placeholders->Draw(dc, 0, CPoint(x + 45, y + 27), ILD_TRANSPARENT);

  if (CImageList* badges = SkinList(misc.m_hSlideBadges); badges != nullptr && slide != nullptr) {
    const int badgeY = bounds.bottom - 32;
    int badgeX = x + 1;
    const CDVDAlbumImage* album = slide->GetAlbum();
    const bool objects =
        slide->m_arrSprites.GetSize() > 0 || (album != nullptr && album->m_arrSprites.GetSize() > 0);
    for (const auto& [shown, badge] :
         {std::pair{objects, 2}, std::pair{!slide->Get_strOrgSubtilte().IsEmpty(), 3},
          std::pair{slide->Get_bAutoExposure() != FALSE, 0}}) {
      if (!shown) continue;
      badges->Draw(dc, badge, CPoint(badgeX, badgeY), ILD_TRANSPARENT);
      badgeX += 11;
    }
  }

  const int oldMode = dc->SetBkMode(TRANSPARENT);
  const COLORREF oldColour = dc->SetTextColor(RGB(255, 255, 255));
  CRect caption(x, y + kCellThumbBottom, x + kCellWidth, y + kCellCaptionBottom);
  dc->FillSolidRect(CRect(x + 4, caption.top + 1, x + kCellWidth - 4, caption.bottom - 1), kCaptionBand);
  dc->DrawText(m_pList->GetItemText(row, kPhotoColumnNumber), &caption,
               DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  dc->SetTextColor(oldColour);
  dc->SetBkMode(oldMode);
  return CDRF_SKIPDEFAULT;
}

int CPhotoConfigDlg::FirstSelectedRow() const {
  if (m_pList->GetSafeHwnd() == nullptr) return -1;
  return m_pList->GetNextItem(-1, LVNI_SELECTED);
}

int CPhotoConfigDlg::ObjectCount(const CDVDImage* pImage) const {
  if (pImage == nullptr) return 0;
  const CDVDAlbumImage* album = pImage->GetAlbum();
  return static_cast<int>(pImage->m_arrSprites.GetSize() +
                          (album != nullptr ? album->m_arrSprites.GetSize() : 0));
}

void CPhotoConfigDlg::RedrawSelectedRows() {
  if (m_pList->GetSafeHwnd() == nullptr) return;
  for (int row = m_pList->GetNextItem(-1, LVNI_SELECTED); row >= 0;
       row = m_pList->GetNextItem(row, LVNI_SELECTED))
    m_pList->RedrawItems(row, row);
}

LRESULT CPhotoConfigDlg::OnRedrawPhotoRows(WPARAM, LPARAM) {
  RedrawSelectedRows();
  return 0;
}

// Idle time: a burst of selection changes costs one photo switch.

LRESULT CPhotoConfigDlg::OnKickIdle(WPARAM, LPARAM lParam) {
  if (lParam != 0) return FALSE;
  SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
  return TRUE;
}

LRESULT CPhotoConfigDlg::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  if (!m_listPending.IsEmpty()) {
    const int row = m_listPending.GetHead();
    m_listPending.RemoveAll();
    if (row >= 0 && row < m_pList->GetItemCount()) {
      auto* slide = reinterpret_cast<CDVDImage*>(m_pList->GetItemData(row));
      SwitchToImage(slide, FALSE);
      s_nLastObjectCount = ObjectCount(slide);
      RefreshCustomPanZoomPage();
    }
  }
  if (m_pCurrentImage != nullptr && ObjectCount(m_pCurrentImage) != s_nLastObjectCount) {
    s_nLastObjectCount = ObjectCount(m_pCurrentImage);
    RedrawSelectedRows();
  }
  return 0;
}

void CPhotoConfigDlg::CommitPendingTextEdit() {
  if (m_pCanvas->GetSafeHwnd() != nullptr) m_pCanvas->CommitTextEdit();
}

void CPhotoConfigDlg::SetImageOnPages(CDVDImage* pImage) {
  m_pTransitionPage->SetImage(pImage);
  m_pPanZoomPage->SetImage(pImage);
  m_pProcessPage->SetImage(pImage);
}

void CPhotoConfigDlg::SwitchToImage(CDVDImage* pImage, BOOL bForce) {
  if (!bForce && (pImage == nullptr || pImage == m_pCurrentImage)) return;
  CommitPendingTextEdit();
  UpdateData(TRUE);
  if (m_pCurrentImage != nullptr && m_pCurrentImage->IsChanged()) {
    m_pCurrentImage->UpdateCookie();
    RedrawSelectedRows();
  }
  m_pCurrentImage = pImage;
  m_pCanvas->SetImage(pImage);
  if (CDVDAlbumImage* album = GetAlbum(); album != nullptr) m_pCanvas->SetSlideIndex(album->IndexOf(pImage));
  SetImageOnPages(pImage);
  UpdateNavButtons();
}

void CPhotoConfigDlg::ReloadCurrentImage() {
  CommitPendingTextEdit();
  m_pCanvas->SetImage(m_pCurrentImage);
  if (CDVDAlbumImage* album = GetAlbum(); album != nullptr)
    m_pCanvas->SetSlideIndex(album->IndexOf(m_pCurrentImage));
  SetImageOnPages(m_pCurrentImage);
}

void CPhotoConfigDlg::RefreshCustomPanZoomPage() {
  if (m_pCustomPanZoomPage->GetSafeHwnd() != nullptr) m_pCustomPanZoomPage->PrepareSources();
}

// Navigation and rotation.

void CPhotoConfigDlg::UpdateNavButtons() {
  if (m_pNavBar == nullptr || m_pNavBar->GetSafeHwnd() == nullptr) return;
  const BOOL ready = m_pCurrentImage != nullptr && GetAlbum() != nullptr;
  const int listed = m_arrSubset.GetSize() >= 2 ? static_cast<int>(m_arrSubset.GetSize())
                                                : (ready ? GetAlbum()->GetImageCount() : 0);
  const auto states = photo_config::NavButtonStates(ready, FirstSelectedRow(), listed);
  for (int button = 0; button < photo_config::kNavButtons; ++button)
    states[button] ? m_pNavBar->EnableButton(button, TRUE) : m_pNavBar->DisableButton(button, TRUE);
}

LRESULT CPhotoConfigDlg::OnNavButton(WPARAM wParam, LPARAM) {
  const int button = static_cast<int>(wParam);
  if (button >= kNavFirst && button <= kNavLast) {
    Navigate(button);
    UpdateNavButtons();
  } else if (button == kNavRotateRight) {
    Rotate(90);
  } else if (button == kNavRotateLeft) {
    Rotate(270);
  }
  RefreshCustomPanZoomPage();
  return 0;
}

void CPhotoConfigDlg::Navigate(int nButton) {
  const int first = FirstSelectedRow();
  const int target = photo_config::NavigationTarget(nButton, first, m_pList->GetItemCount());
  if (target < 0) {
    MessageBeep(0);
    return;
  }
  if (first >= 0) m_pList->SetItemState(first, 0, LVIS_SELECTED);
  m_pList->SetItemState(target, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  m_pList->EnsureVisible(target, FALSE);
}

void CPhotoConfigDlg::Rotate(int nDegrees) {
  if (m_pCurrentImage == nullptr) return;
  m_pCurrentImage->Put_nRotateAngle(m_pCurrentImage->Get_nRotateAngle() + nDegrees);
  m_pCanvas->SendMessage(WM_PHOTO_ROTATED, nDegrees, reinterpret_cast<LPARAM>(m_pCurrentImage));
  PostMessage(WM_REDRAW_PHOTO_ROWS);
}

// Tabs.

void CPhotoConfigDlg::ShowTab(int nTab) {
  m_pPageSet->ShowPage(nTab);
  ApplyCanvasVisibility();
}

void CPhotoConfigDlg::ApplyCanvasVisibility() {
  if (m_bPreviewMode) return;
  const bool panZoom = m_pPageSet->GetCurrentPage() == kPhotoTabPanZoom;
  ShowIfCreated(m_pCustomPanZoomPage, panZoom ? SW_SHOW : SW_HIDE);
  ShowIfCreated(m_pCanvas, panZoom ? SW_HIDE : SW_SHOW);
}

LRESULT CPhotoConfigDlg::OnPhotoOperTab(WPARAM wParam, LPARAM) {
  CommitPendingTextEdit();
  const int tab = static_cast<int>(wParam % photo_config::kTabCount);
  ShowTab(tab);
  m_pTabStrip->SetCurSel(tab);
  return 0;
}

LRESULT CPhotoConfigDlg::OnSpriteSelected(WPARAM, LPARAM) {
  const CDVDImageSprite* selected = m_pCanvas->GetSelectedSprite();
  if (selected == nullptr) return 0;
  const int tab = selected->GetSpriteType() == DVD_SPRITE_TEXT ? kPhotoTabText : kPhotoTabArtClip;
  if (m_pTabStrip->GetCurSel() == tab) return 0;
  m_pTabStrip->SetCurSelNoWrap(tab);
  m_pPageSet->ShowPage(tab);
  return 0;
}

// Preview.

void CPhotoConfigDlg::SetPreviewMode(BOOL bRunning) {
  m_bPreviewMode = bRunning;
  const BOOL enable = !bRunning;
  for (CWnd* wnd : std::initializer_list<CWnd*>{m_pCanvas, m_pList, m_pTabStrip, m_pTextPage, m_pArtClipPage,
                                                m_pTransitionPage, m_pPanZoomPage, m_pProcessPage,
                                                m_pCustomPanZoomPage, m_pPreviewPage})
    EnableIfCreated(wnd, enable);
  if (m_pNavBar != nullptr && m_pNavBar->GetSafeHwnd() != nullptr)
    bRunning ? m_pNavBar->DisableAllButtons(TRUE) : m_pNavBar->EnableAllButtons(TRUE);
  if (m_pTabStrip->GetSafeHwnd() != nullptr) m_pTabStrip->Invalidate();
  if (m_pPlayBar != nullptr && m_pPlayBar->GetSafeHwnd() != nullptr) {
    bRunning ? m_pPlayBar->DisableAllButtons(TRUE) : m_pPlayBar->EnableAllButtons(TRUE);
    m_pPlayBar->ShowWindow(bRunning ? SW_HIDE : SW_SHOW);
  }
  if (m_pStopBar != nullptr && m_pStopBar->GetSafeHwnd() != nullptr) {
    bRunning ? m_pStopBar->EnableAllButtons(TRUE) : m_pStopBar->DisableAllButtons(TRUE);
    m_pStopBar->ShowWindow(bRunning ? SW_SHOW : SW_HIDE);
  }
}

LRESULT CPhotoConfigDlg::OnPreviewPlay(WPARAM, LPARAM) {
  CDVDAlbumImage* album = GetAlbum();
  if (album == nullptr || m_bPreviewMode || !IsDirectXReady()) return 0;
  CWaitCursor wait;
  ReloadCurrentImage();
  SetPreviewMode(TRUE);
  m_pPreviewPage->PreviewFromImage(album, m_pCurrentImage);
  m_pPreviewPage->ShowWindow(SW_SHOW);
  ShowIfCreated(m_pCanvas, SW_HIDE);
  ShowIfCreated(m_pCustomPanZoomPage, SW_HIDE);
  return 0;
}

LRESULT CPhotoConfigDlg::OnPreviewStop(WPARAM, LPARAM) {
  StopPreview();
  return 0;
}

LRESULT CPhotoConfigDlg::OnPreviewEnded(WPARAM wParam, LPARAM) {
  if (wParam == 8 || wParam == 6000) StopPreview();
  return 0;
}

void CPhotoConfigDlg::StopPreview() {
  if (!m_bPreviewMode) return;
  CWaitCursor wait;
  m_pPreviewPage->StopPreview();
  // The preview answers with the album index it reached; in a subset that is not a row number.
  CDVDAlbumImage* album = GetAlbum();
  const int reached = m_pPreviewPage->GetPreviewState();
  std::vector<int> listed;
  for (int row = 0; row < m_pList->GetItemCount(); ++row)
    listed.push_back(
        album != nullptr ? album->IndexOf(reinterpret_cast<CDVDImage*>(m_pList->GetItemData(row))) : -1);
  const int row = photo_config::RowOfAlbumIndex(listed, reached);
  if (row >= 0) {
    const int first = FirstSelectedRow();
    if (first >= 0) m_pList->SetItemState(first, 0, LVIS_SELECTED);
    m_pList->SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_pList->EnsureVisible(row, FALSE);
    SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  }
  SetPreviewMode(FALSE);
  ApplyCanvasVisibility();
  m_pPreviewPage->ShowWindow(SW_HIDE);
  UpdateNavButtons();
}

// Keyboard and commands.

BOOL CPhotoConfigDlg::PreTranslateMessage(MSG* pMsg) {
  // Escape belongs to the canvas and its text edit; the dialog must not turn it into Cancel.
  if ((pMsg->message == WM_KEYDOWN || pMsg->message == WM_KEYUP) && pMsg->wParam == VK_ESCAPE)
    return m_pCanvas->PreTranslateMessage(pMsg);
  return CDialog::PreTranslateMessage(pMsg);
}

BOOL CPhotoConfigDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  if (lParam == 0 && id >= ID_TEXT_MACRO_FIRST && id <= ID_TEXT_MACRO_LAST) {
    m_pCanvas->InsertMacro(static_cast<int>(id - ID_TEXT_MACRO_FIRST));
    return TRUE;
  }
  return CDialog::OnCommand(wParam, lParam);
}

// Closing.

void CPhotoConfigDlg::OnOK() {
  Close(IDOK);
}

void CPhotoConfigDlg::OnCancel() {
  Close(IDCANCEL);
}

void CPhotoConfigDlg::Close(int nResult) {
  if (m_bPreviewMode) StopPreview();
  CommitPendingTextEdit();
  UpdateData(TRUE);
  if (m_pCurrentImage != nullptr && m_pCurrentImage->IsChanged()) {
    m_pCurrentImage->UpdateCookie();
    RedrawSelectedRows();
  }
  SetImageOnPages(nullptr);
  m_pLoader->WaitForThreadTerminated(TRUE);
  AppSettings* settings = GetAppSettings();
  settings->TextFont.Font = m_textStyle;
  settings->TextFont.Save();
  WriteRememberedTab(photo_config::StoredTab(m_pPageSet->GetCurrentPage(), m_pPageSet->GetPageCount()));
  EndDialog(nResult);
}
