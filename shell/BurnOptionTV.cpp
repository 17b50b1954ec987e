#include "shell/BurnOptionTV.h"

#include "modules/data/DVDProject.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Dc.h"
#include "shell/AppSettings.h"
#include "shell/LanguageFile.h"
#include "shell/MainDlg.h"
#include "shell/ProcessObjects.h"
#include "shell/UIHelpers.h"

using options_logic::TvOptions;

namespace {

const char* const kAspectItems[] = {"No Correction", "4:3", "16:9"};
const char* const kScaleItems[] = {"Scale to fit", "Scale to fill"};

void FillCombo(CWnd* combo, const char* const* items, int count) {
  if (combo == nullptr) return;
  combo->SendMessage(CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < count; ++i) combo->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i]));
}

_PROJECT_OPTIONS_DATA* ProjectOptions() {
  return GetProject()->GetOptionsData();
}

}  // namespace

void PostTvAspectChanged() {
  CWindowRegistry* slots = GetWindowRegistry();
  for (void* slot : {slots->m_pAlbumPreviewDlg, slots->m_pMenuPreviewDlg}) {
    auto* window = static_cast<CWnd*>(slot);
    if (window != nullptr && ::IsWindow(window->GetSafeHwnd()))
      window->PostMessage(WM_TV_ASPECT_CHANGED, 0, 0);
  }
}

IMPLEMENT_DYNCREATE(CBurnOptionTV, CPropertyPage)

BEGIN_MESSAGE_MAP(CBurnOptionTV, CPropertyPage)
ON_WM_HSCROLL()
ON_BN_CLICKED(IDC_TV_CROP_ENABLE, OnEnableCropping)
ON_BN_CLICKED(IDC_TV_PAL, OnSystemClicked)
ON_BN_CLICKED(IDC_TV_NTSC, OnSystemClicked)
ON_CBN_SELCHANGE(IDC_TV_ASPECT, OnAspectChange)
ON_CBN_SELCHANGE(IDC_TV_SCALE, OnScaleChange)
ON_WM_SHOWWINDOW()
ON_WM_PAINT()
ON_WM_CTLCOLOR()
ON_MESSAGE(WM_PREPARE_PROJECT_SAVE, OnPrepareProjectSave)
ON_MESSAGE(WM_TV_ASPECT_CHANGED, OnTvAspectChanged)
ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
END_MESSAGE_MAP()

CBurnOptionTV::CBurnOptionTV() : CPropertyPage(IDD_BURN_OPTION_TV) {}

CBurnOptionTV::~CBurnOptionTV() {
  if (::IsWindow(m_slider.GetSafeHwnd())) m_slider.DestroyWindow();
  m_brushBackground.DeleteObject();
}

void CBurnOptionTV::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_TV_CROP_SLIDER, m_slider);
  DDX_Check(pDX, IDC_TV_ANTI_FLICKER, m_bAntiFlicker);
  DDX_CBIndex(pDX, IDC_TV_ASPECT, m_nAspectIndex);
  DDX_Check(pDX, IDC_TV_CROP_ENABLE, m_bCropEnable);
  DDX_CBIndex(pDX, IDC_TV_SCALE, m_nScaleIndex);
}

void CBurnOptionTV::FillLists() {
  FillCombo(GetDlgItem(IDC_TV_ASPECT), kAspectItems, 3);
  FillCombo(GetDlgItem(IDC_TV_SCALE), kScaleItems, 2);
}

BOOL CBurnOptionTV::OnInitDialog() {
  FillLists();
  CPropertyPage::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_BURN_OPTION_TV);
  m_brushBackground.DeleteObject();
  m_brushBackground.CreateSolidBrush(GetSkinColor(SKIN_COLOR_TAB_PAGE));
  m_slider.SetRange(0, options_logic::kCropRatioMax);
  LoadOptions();
  if (!m_bEmbedded) GetWindowRegistry()->m_pBurnOptionTV = this;
  return TRUE;
}

void CBurnOptionTV::ShowValues(const TvOptions& options) {
  CheckRadioButton(IDC_TV_PAL, IDC_TV_NTSC, options.nTVSystem != 0 ? IDC_TV_PAL : IDC_TV_NTSC);
  m_slider.SetPos(options.nCropRatio);
  m_slider.Invalidate();
  m_nAspectIndex = options.nAspectCorrection;
  m_bAntiFlicker = options.bAntiFlicker;
  m_bCropEnable = options.bCropEnable;
  m_nScaleIndex = options.nPhotoScaleMode;
  UpdateData(FALSE);
  UpdateSystemText();
  UpdateCropText();
  OnEnableCropping();
}

void CBurnOptionTV::SetTVOptions(const TvOptions& options) {
  m_options = options;
  if (::IsWindow(m_hWnd)) ShowValues(options);
}

void CBurnOptionTV::GetTVOptions(TvOptions& options) {
  if (::IsWindow(m_hWnd)) {
    UpdateData(TRUE);
    m_options.nTVSystem = IsDlgButtonChecked(IDC_TV_PAL) == BST_CHECKED ? 1 : 0;
    m_options.nAspectCorrection = m_nAspectIndex;
    m_options.bAntiFlicker = m_bAntiFlicker;
    m_options.nCropRatio = m_slider.GetPos();
    m_options.bCropEnable = m_bCropEnable;
    m_options.nPhotoScaleMode = m_nScaleIndex;
  }
  options = m_options;
}

void CBurnOptionTV::LoadOptions() {
  if (m_bEmbedded || !::IsWindow(m_hWnd)) return;
  m_options = options_logic::TvFromProject(*ProjectOptions());
  ShowValues(m_options);
}

void CBurnOptionTV::SaveOptions() {
  if (m_bEmbedded || !::IsWindow(m_hWnd)) return;
  TvOptions now;
  GetTVOptions(now);
  _PROJECT_OPTIONS_DATA* record = ProjectOptions();
  if (!(now == options_logic::TvFromProject(*record))) GetProject()->SetAllEncodeDirty();
  record->nTVSystem = now.nTVSystem;
  record->bCropEnable = now.bCropEnable;
  record->nCropRatio = now.nCropRatio;
  record->nAspectCorrection = now.nAspectCorrection;
  record->bAntiFlicker = now.bAntiFlicker;
  record->nPhotoScaleMode = now.nPhotoScaleMode;
}

void CBurnOptionTV::UpdateSystemText() {
  const BOOL pal = IsDlgButtonChecked(IDC_TV_PAL) == BST_CHECKED;
  SetDlgItemText(IDC_TV_SYSTEM_TEXT, LoadLangString(pal ? IDS_PAL_EXPLANATION : IDS_NTSC_EXPLANATION));
}

void CBurnOptionTV::UpdateCropText() {
  CString text;
  text.Format(LoadLangString(IDS_CROP_RATIO), m_slider.GetPos());
  SetDlgItemText(IDC_TV_CROP_TEXT, text);
}

void CBurnOptionTV::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  CPropertyPage::OnHScroll(nSBCode, nPos, pScrollBar);
  if (!m_bEmbedded) {
    const int position = m_slider.GetPos();
    _PROJECT_OPTIONS_DATA* record = ProjectOptions();
    if (position != record->nCropRatio) {
      record->nCropRatio = position;
      GetProject()->SetAllEncodeDirty();
    }
  }
  UpdateCropText();
}

void CBurnOptionTV::OnEnableCropping() {
  UpdateData(TRUE);
  m_slider.EnableWindow(m_bCropEnable != 0);
  if (m_bEmbedded) return;
  _PROJECT_OPTIONS_DATA* record = ProjectOptions();
  if (record->bCropEnable != m_bCropEnable) {
    record->bCropEnable = m_bCropEnable;
    GetProject()->SetAllEncodeDirty();
  }
}

void CBurnOptionTV::OnSystemClicked() {
  UpdateSystemText();
}

void CBurnOptionTV::OnAspectChange() {
  if (m_bEmbedded) return;
  UpdateData(TRUE);
  ProjectOptions()->nAspectCorrection = m_nAspectIndex;
  GetProject()->SetAllEncodeDirty();
  PostTvAspectChanged();
}

void CBurnOptionTV::OnScaleChange() {
  if (m_bEmbedded) return;
  UpdateData(TRUE);
  GetProject()->Set_nPhotoScaleMode(m_nScaleIndex);
  GetProject()->SetAllEncodeDirty();
  CGeneralSettings& general = GetAppSettings()->General;
  general.PhotoScaleMode = m_nScaleIndex;
  general.SavePhotoScaleMode();
}

void CBurnOptionTV::OnShowWindow(BOOL bShow, UINT nStatus) {
  CPropertyPage::OnShowWindow(bShow, nStatus);
  if (m_bEmbedded) return;
  if (bShow)
    LoadOptions();
  else
    SaveOptions();
}

void CBurnOptionTV::OnPaint() {
  if (m_bEmbedded) {
    CPropertyPage::OnPaint();
    return;
  }
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, GetSkinColor(SKIN_COLOR_TAB_PAGE));
}

HBRUSH CBurnOptionTV::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  if (!m_bEmbedded && nCtlColor == CTLCOLOR_STATIC && m_brushBackground.GetSafeHandle() != nullptr) {
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(m_brushBackground.GetSafeHandle());
  }
  return CPropertyPage::OnCtlColor(pDC, pWnd, nCtlColor);
}

LRESULT CBurnOptionTV::OnPrepareProjectSave(WPARAM, LPARAM) {
  SaveOptions();
  return 0;
}

LRESULT CBurnOptionTV::OnTvAspectChanged(WPARAM wParam, LPARAM) {
  if (wParam == 0 || wParam == 1) LoadOptions();
  return 0;
}

LRESULT CBurnOptionTV::OnLanguageChanged(WPARAM, LPARAM) {
  TranslateDialog(m_hWnd, IDD_BURN_OPTION_TV);
  // The two explanation texts are string-table texts, which the dialog's section does not hold.
  UpdateSystemText();
  UpdateCropText();
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  return 0;
}
