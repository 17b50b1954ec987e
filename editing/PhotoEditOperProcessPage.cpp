#include "editing/PhotoEditOperProcessPage.h"

#include "editing/PhotoEditCanvas.h"
#include "editing/PhotoEditPagePaint.h"
#include "modules/data/DVDImage.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/StdControls.h"
#include "shell/LanguageFile.h"
#include "shell/UIHelpers.h"

namespace {

constexpr UINT kSliderIds[6] = {1053, 1054, 1055, 1056, 1057, 1058};
constexpr UINT kEditIds[6] = {1087, 1086, 1392, 1389, 1390, 1391};
constexpr int kOffsets[6] = {255, 100, 0, 255, 255, 255};
constexpr int kRanges[6] = {510, 200, 100, 510, 510, 510};
constexpr UINT IDC_AUTO_EXPOSURE = 1388;
constexpr UINT IDC_RESET_LEVELS = 1393;
constexpr UINT IDC_RESET_BALANCE = 1394;
constexpr UINT ID_ROTATE_90 = 1395;
constexpr UINT ID_ROTATE_270 = 1396;

int SliderIndex(UINT id) {
  for (int i = 0; i < 6; ++i)
    if (kSliderIds[i] == id) return i;
  return -1;
}

_tagPhotoIntensityParam ShownParam(const CDVDImage& image) {
  const _tagPhotoIntensityParam* param = image.Get_pPhotoIntensityParam();
  return param != nullptr ? *param : _tagPhotoIntensityParam{};
}

}  // namespace

IMPLEMENT_DYNCREATE(CPhotoEditOperProcessPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CPhotoEditOperProcessPage, CPropertyPage)
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
ON_WM_HSCROLL()
ON_BN_CLICKED(IDC_AUTO_EXPOSURE, OnAutoExposure)
ON_BN_CLICKED(IDC_RESET_LEVELS, OnResetLevels)
ON_BN_CLICKED(IDC_RESET_BALANCE, OnResetBalance)
ON_COMMAND(ID_ROTATE_90, OnRotate90)
ON_COMMAND(ID_ROTATE_270, OnRotate270)
END_MESSAGE_MAP()

CPhotoEditOperProcessPage::CPhotoEditOperProcessPage() : CPropertyPage(IDD_PHOTO_EDIT_PROCESS) {}

CPhotoEditOperProcessPage::~CPhotoEditOperProcessPage() = default;

_tagPhotoIntensityParam CPhotoEditOperProcessPage::ParamFromPositions(const int positions[6]) {
  _tagPhotoIntensityParam param;
  int32_t* values[6] = {&param.nBrightness, &param.nContrast,     &param.nGamma,
                        &param.nCyanRed,    &param.nMagentaGreen, &param.nYellowBlue};
  for (int i = 0; i < 6; ++i) *values[i] = positions[i] - kOffsets[i];
  return param;
}

void CPhotoEditOperProcessPage::PositionsFromParam(const _tagPhotoIntensityParam& param, int positions[6]) {
  const int32_t values[6] = {param.nBrightness, param.nContrast,     param.nGamma,
                             param.nCyanRed,    param.nMagentaGreen, param.nYellowBlue};
  for (int i = 0; i < 6; ++i) positions[i] = values[i] + kOffsets[i];
}

void CPhotoEditOperProcessPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  for (int i = 0; i < 6; ++i) DDX_Control(pDX, kSliderIds[i], m_sliders[i]);
  DDX_Check(pDX, IDC_AUTO_EXPOSURE, m_nAutoExposure);
  for (int i = 0; i < 6; ++i) DDX_Text(pDX, kEditIds[i], m_nValues[i]);
}

BOOL CPhotoEditOperProcessPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_PHOTO_EDIT_PROCESS);
  m_brushBackground.CreateSolidBrush(GetSkinColor(SKIN_COLOR_PHOTO_CONFIGURE));
  if (m_pImage == nullptr) return FALSE;
  ShowFirstSlide();
  return TRUE;
}

void CPhotoEditOperProcessPage::ShowFirstSlide() {
  for (int i = 0; i < 6; ++i) m_sliders[i].SetRange(0, kRanges[i]);
  m_snapshot = ShownParam(*m_pImage);
  m_nAutoExposure = m_pImage->Get_bAutoExposure() ? 1 : 0;
  ShowParam(m_snapshot);
  m_bHold = FALSE;
}

void CPhotoEditOperProcessPage::ShowParam(const _tagPhotoIntensityParam& param) {
  int positions[6];
  PositionsFromParam(param, positions);
  for (int i = 0; i < 6; ++i) {
    m_sliders[i].SetPos(positions[i]);
    m_nValues[i] = positions[i] - kOffsets[i];
  }
  UpdateData(FALSE);
}

_tagPhotoIntensityParam CPhotoEditOperProcessPage::SliderParam() {
  UpdateData(TRUE);
  int positions[6];
  for (int i = 0; i < 6; ++i) positions[i] = m_sliders[i].GetPos();
  return ParamFromPositions(positions);
}

void CPhotoEditOperProcessPage::WriteParam(const _tagPhotoIntensityParam& param) {
  // Thumb clicks and end-of-drag notifications repeat the values already stored; writing them
  // again would mark an unchanged slide and its album changed.
  const _tagPhotoIntensityParam* current = m_pImage->Get_pPhotoIntensityParam();
  if (current != nullptr ? current->IsEqual(param) : param.IsDefaultValue()) return;
  m_pImage->Set_pPhotoIntensityParam(&param);
}

void CPhotoEditOperProcessPage::SetImage(CDVDImage* pImage) {
  Exchange(TRUE);
  if (m_pImage != nullptr && !ShownParam(*m_pImage).IsEqual(m_snapshot)) {
    m_pImage->UpdateCookie();
    if (GetSafeHwnd() != nullptr && GetParent() != nullptr) GetParent()->SendMessage(WM_REDRAW_PHOTO_ROWS);
  }
  m_pImage = pImage;
  m_snapshot = pImage != nullptr ? ShownParam(*pImage) : _tagPhotoIntensityParam{};
  // A page made while there was no slide comes alive with the first one, rather than staying
  // empty for as long as the dialog is open.
  if (m_bHold && pImage != nullptr && GetSafeHwnd() != nullptr)
    ShowFirstSlide();
  else
    Exchange(FALSE);
}

void CPhotoEditOperProcessPage::StoreOrLoad(BOOL bStore) {
  if (m_bHold || m_pImage == nullptr || GetSafeHwnd() == nullptr) return;
  if (bStore)
    WriteParam(SliderParam());
  else
    ShowParam(ShownParam(*m_pImage));
}

void CPhotoEditOperProcessPage::Exchange(BOOL bStore) {
  if (m_bHold || m_pImage == nullptr || GetSafeHwnd() == nullptr) return;
  if (bStore) {
    // A slide nobody adjusted keeps no record.
    const _tagPhotoIntensityParam param = SliderParam();
    if (!param.IsDefaultValue() || m_pImage->Get_pPhotoIntensityParam() != nullptr) WriteParam(param);
    return;
  }
  m_nAutoExposure = m_pImage->Get_bAutoExposure() ? 1 : 0;
  ShowParam(ShownParam(*m_pImage));
}

CWnd* CPhotoEditOperProcessPage::CanvasWindow() const {
  return m_pCanvas != nullptr && ::IsWindow(m_pCanvas->GetSafeHwnd()) ? m_pCanvas : nullptr;
}

void CPhotoEditOperProcessPage::NotifyCanvas() {
  if (CWnd* canvas = CanvasWindow())
    canvas->SendMessage(WM_PHOTO_INTENSITY_CHANGED, 0, reinterpret_cast<LPARAM>(m_pImage));
}

void CPhotoEditOperProcessPage::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  const int index = pScrollBar != nullptr ? SliderIndex(pScrollBar->GetDlgCtrlID()) : -1;
  if (index < 0 || m_bHold || m_pImage == nullptr) {
    CPropertyPage::OnHScroll(nSBCode, nPos, pScrollBar);
    return;
  }
  UpdateData(TRUE);
  m_nValues[index] = m_sliders[index].GetPos() - kOffsets[index];
  UpdateData(FALSE);
  StoreOrLoad(TRUE);
  NotifyCanvas();
}

void CPhotoEditOperProcessPage::ResetGroup(BOOL bKeepBalance) {
  if (m_pImage == nullptr || m_bHold) return;
  const _tagPhotoIntensityParam shown = SliderParam();
  _tagPhotoIntensityParam param;
  if (bKeepBalance) {
    param.nCyanRed = shown.nCyanRed, param.nMagentaGreen = shown.nMagentaGreen,
    param.nYellowBlue = shown.nYellowBlue;
  } else {
    param.nBrightness = shown.nBrightness, param.nContrast = shown.nContrast, param.nGamma = shown.nGamma;
  }
  WriteParam(param);
  StoreOrLoad(FALSE);
  NotifyCanvas();
}

void CPhotoEditOperProcessPage::OnResetLevels() {
  ResetGroup(TRUE);
}

void CPhotoEditOperProcessPage::OnResetBalance() {
  ResetGroup(FALSE);
}

void CPhotoEditOperProcessPage::OnAutoExposure() {
  CWnd* canvas = CanvasWindow();
  // The canvas switches the slide's flag and repaints; without it the box shows the flag again
  // rather than a change that did not happen.
  if (canvas != nullptr) static_cast<CPhotoEditCanvas*>(canvas)->ToggleAutoExposure();
  UpdateData(TRUE);
  if (m_pImage != nullptr) m_nAutoExposure = m_pImage->Get_bAutoExposure() ? 1 : 0;
  UpdateData(FALSE);
  if (canvas != nullptr && GetParent() != nullptr) GetParent()->PostMessage(WM_REDRAW_PHOTO_ROWS);
}

void CPhotoEditOperProcessPage::Rotate(int nDegrees) {
  if (m_pImage == nullptr) return;
  m_pImage->Put_nRotateAngle(m_pImage->Get_nRotateAngle() + nDegrees);
  if (CWnd* canvas = CanvasWindow())
    canvas->SendMessage(WM_PHOTO_ROTATED, nDegrees, reinterpret_cast<LPARAM>(m_pImage));
  if (GetParent() != nullptr) GetParent()->PostMessage(WM_REDRAW_PHOTO_ROWS);
}

void CPhotoEditOperProcessPage::OnRotate90() {
  Rotate(90);
}

void CPhotoEditOperProcessPage::OnRotate270() {
  Rotate(270);
}

void CPhotoEditOperProcessPage::OnOK() {
  // Enter in a tab page must not end the page.
}

BOOL CPhotoEditOperProcessPage::OnEraseBkgnd(CDC* pDC) {
  return PhotoEditPageEraseBkgnd(*this, pDC);
}

HBRUSH CPhotoEditOperProcessPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  // The sliders and the value edits sit on the page's colour whatever they ask for.
  const UINT id = pWnd != nullptr ? pWnd->GetDlgCtrlID() : 0;
  BOOL always = SliderIndex(id) >= 0;
  for (UINT edit : kEditIds) always = always || edit == id;
  if (HBRUSH brush = PhotoEditPageCtlColor(m_brushBackground, pDC, pWnd, nCtlColor, always)) return brush;
  return CPropertyPage::OnCtlColor(pDC, pWnd, nCtlColor);
}
