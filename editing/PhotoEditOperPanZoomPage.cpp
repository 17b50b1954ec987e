#include "editing/PhotoEditOperPanZoomPage.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "controls/NumericRange.h"
#include "editing/PhotoEditPagePaint.h"
#include "modules/buttonbar/CoolButtonBar.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/PhotoParams.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"
#include "shell/SkinMinor.h"
#include "shell/UIHelpers.h"

// Controls of the pan-and-zoom tab.
#define IDC_PANZOOM_AUTO 1386
#define IDC_PANZOOM_ALBUM 1387
#define IDC_PANZOOM_CUSTOM 1388
#define IDC_PANZOOM_PRESET 1243

// Controls of the custom page.
#define IDC_PANZOOM_HINT 1483
#define IDC_PANZOOM_START_PREVIEW 1468
#define IDC_PANZOOM_END_PREVIEW 1469
#define IDC_PANZOOM_RESET_START 1481
#define IDC_PANZOOM_RESET_END 1482
#define IDC_PANZOOM_COPY 1486
#define IDC_PANZOOM_PASTE 1487
#define IDC_PANZOOM_FIRST_EDIT 1085
#define IDC_PANZOOM_LAST_EDIT 1092

namespace {

double Rounded(double value) {
  RoundToHundredths(value);
  return value;
}

void SetPosition(_tagPanZoomWorkParamEx& param, double panX, double panY, double zoom, double rotate) {
  param.fStartPanX = param.fEndPanX = Rounded(panX);
  param.fStartPanY = param.fEndPanY = Rounded(panY);
  param.fStartZoom = param.fEndZoom = Rounded(zoom);
  param.fStartRotate = param.fEndRotate = Rounded(rotate);
}

// The positions of an engine preset as a slide saves them.
_tagPhotoPanZoomSaveParam PresetPositions(int index) {
  _tagPanZoomWorkParamEx record;
  CPanZoomEx::GetPanZoomType_PresetValue(index, record);
  _tagPhotoPanZoomSaveParam positions;
  positions.ConvertDataFromPanZoomExWorkParam(record);
  return positions;
}

// The motion a slide's kind and saved positions stand for; false for the album's.
bool SlideMotion(int kind, const _tagPhotoPanZoomSaveParam* saved, _tagPhotoPanZoomSaveParam& motion) {
  if (saved != nullptr) {
    motion = *saved;
    return true;
  }
  if (kind == DVD_PANZOOM_CUSTOM) {
    motion = _tagPhotoPanZoomSaveParam();
    return true;
  }
  if (kind < 0) return false;
  motion = PresetPositions(kind % std::max(CPanZoomEx::GetPanZoomType_PresetCount(), 1));
  return true;
}

int ZoomSliderPos(double zoom) {
  return static_cast<int>(zoom + 0.5);
}

int RotateSliderPos(double rotate) {
  return static_cast<int>(rotate + 0.5) + 360;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The "Pan&Zoom" tab

IMPLEMENT_DYNCREATE(CPhotoEditOperPanZoomPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CPhotoEditOperPanZoomPage, CPropertyPage)
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_BN_CLICKED(IDC_PANZOOM_ALBUM, OnAlbum)
ON_BN_CLICKED(IDC_PANZOOM_CUSTOM, OnCustom)
ON_CBN_SELCHANGE(IDC_PANZOOM_PRESET, OnSelChangePreset)
END_MESSAGE_MAP()

CPhotoEditOperPanZoomPage::CPhotoEditOperPanZoomPage() : CPropertyPage(IDD_PHOTO_EDIT_PANZOOM) {}

CPhotoEditOperPanZoomPage::~CPhotoEditOperPanZoomPage() = default;

void CPhotoEditOperPanZoomPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Check(pDX, IDC_PANZOOM_AUTO, m_nAuto);
  DDX_CBIndex(pDX, IDC_PANZOOM_PRESET, m_nPreset);
  DDX_Radio(pDX, IDC_PANZOOM_ALBUM, m_nChoice);
}

BOOL CPhotoEditOperPanZoomPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_PHOTO_EDIT_PANZOOM);
  m_brushBackground.CreateSolidBrush(GetSkinColor(SKIN_COLOR_PHOTO_CONFIGURE));
  if (m_pImage == nullptr) return FALSE;
  if (m_pAlbum != nullptr) m_nAuto = m_pAlbum->Get_bAutoPanZoom() ? 1 : 0;
  const int kind = m_pImage->Get_nPanZoom();
  const int count = std::max(CPanZoomEx::GetPanZoomType_PresetCount(), 1);
  if (kind == DVD_PANZOOM_ALBUM) {
    m_nChoice = 0, m_nPreset = 0;
  } else {
    // A stored preset past the engine's list (another version's) shows the one it wraps to.
    m_nChoice = 1, m_nPreset = kind < 0 ? 0 : kind % count;
  }
  CComboBox* combo = static_cast<CComboBox*>(GetDlgItem(IDC_PANZOOM_PRESET));
  for (int i = 0; i < CPanZoomEx::GetPanZoomType_PresetCount(); ++i)
    if (const _tagPanZoomType_Preset* preset = CPanZoomEx::GetPanZoomType_Preset(i))
      combo->AddString(preset->szName);
  UpdateData(FALSE);
  GetDlgItem(IDC_PANZOOM_AUTO)->EnableWindow(FALSE);
  m_bHold = FALSE;
  EnablePresets();
  return TRUE;
}

void CPhotoEditOperPanZoomPage::SetImage(CDVDImage* pImage) {
  Exchange(TRUE);
  m_pImage = pImage;
  Exchange(FALSE);
}

void CPhotoEditOperPanZoomPage::Exchange(BOOL bStore) {
  if (m_bHold || m_pImage == nullptr || GetSafeHwnd() == nullptr) return;
  if (bStore) {
    UpdateData(TRUE);
    int kind = DVD_PANZOOM_ALBUM;
    _tagPhotoPanZoomSaveParam saved;
    const bool custom = m_nChoice == 1 || m_pAlbum == nullptr;
    if (custom) {
      kind = 0;
      if (m_pCustomPage != nullptr) m_pCustomPage->GetSaveParam(kind, saved);
    }
    // The setter marks the album changed: only a real change may, or browsing would ask to save.
    _tagPhotoPanZoomSaveParam before;
    const bool hadMotion =
        SlideMotion(m_pImage->Get_nPanZoom(), m_pImage->GetpPhotoPanZoomSaveParam(), before);
    // The motion decides: a slide shown and left as it was keeps its kind and positions.
    const bool same = hadMotion == custom && (!custom || before == saved);
    if (!same) m_pImage->Set_nPanZoom(kind, custom ? &saved : nullptr);
    return;
  }
  if (m_pAlbum != nullptr) m_nAuto = m_pAlbum->Get_bAutoPanZoom() ? 1 : 0;
  const int kind = m_pImage->Get_nPanZoom();
  const int count = std::max(CPanZoomEx::GetPanZoomType_PresetCount(), 1);
  if (kind == DVD_PANZOOM_ALBUM) {
    m_nChoice = 0, m_nPreset = 0;
    if (m_pCustomPage != nullptr) m_pCustomPage->EnableCustom(FALSE), m_pCustomPage->ApplyPreset(0);
  } else if (kind == DVD_PANZOOM_CUSTOM) {
    m_nChoice = 1;
    // Without saved positions the reset ones are shown, never what the last slide left.
    const _tagPhotoPanZoomSaveParam* saved = m_pImage->GetpPhotoPanZoomSaveParam();
    if (m_pCustomPage != nullptr)
      m_pCustomPage->EnableCustom(TRUE),
          m_pCustomPage->ApplySaveParam(saved != nullptr ? *saved : _tagPhotoPanZoomSaveParam(), TRUE, TRUE);
  } else {
    m_nChoice = 1, m_nPreset = kind % count;
    if (m_pCustomPage != nullptr) m_pCustomPage->EnableCustom(TRUE), m_pCustomPage->ApplyPreset(m_nPreset);
  }
  UpdateData(FALSE);
  EnablePresets();
}

void CPhotoEditOperPanZoomPage::EnablePresets() {
  if (CWnd* combo = GetDlgItem(IDC_PANZOOM_PRESET)) combo->EnableWindow(m_nChoice == 1);
}

void CPhotoEditOperPanZoomPage::OnAlbum() {
  UpdateData(TRUE);
  EnablePresets();
  if (m_pCustomPage != nullptr) m_pCustomPage->EnableCustom(FALSE);
}

void CPhotoEditOperPanZoomPage::OnCustom() {
  UpdateData(TRUE);
  EnablePresets();
  if (m_pCustomPage != nullptr) m_pCustomPage->EnableCustom(TRUE);
}

void CPhotoEditOperPanZoomPage::OnSelChangePreset() {
  UpdateData(TRUE);
  if (m_pCustomPage != nullptr && m_nPreset >= 0) m_pCustomPage->ApplyPreset(m_nPreset);
}

BOOL CPhotoEditOperPanZoomPage::SelectCustom() {
  if (GetSafeHwnd() == nullptr) return TRUE;
  UpdateData(TRUE);
  if (m_nChoice != 1) {
    m_nChoice = 1;
    UpdateData(FALSE);
    OnCustom();
  }
  return TRUE;
}

LRESULT CPhotoEditOperPanZoomPage::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  return TRUE;
}

BOOL CPhotoEditOperPanZoomPage::OnEraseBkgnd(CDC* pDC) {
  return PhotoEditPageEraseBkgnd(*this, pDC);
}

HBRUSH CPhotoEditOperPanZoomPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  if (HBRUSH brush = PhotoEditPageCtlColor(m_brushBackground, pDC, pWnd, nCtlColor, FALSE)) return brush;
  return CPropertyPage::OnCtlColor(pDC, pWnd, nCtlColor);
}

// ---------------------------------------------------------------------------------------------
// The custom page

struct CPhotoEditOperCustomPanZoomPage::EditInfo {
  UINT nEdit;
  BOOL bStart;  // the start preview's position, else the end preview's
  int nField;   // 0 pan X, 1 pan Y, 2 zoom, 3 rotation
  double fMin, fMax;
  const char* lpszRange;
};

namespace {

// Two decimals, trailing zeros kept.
constexpr const char* kSpinFormat = "%.2f";
constexpr const char* kPanXRange = "Pan X limit to [-100.00, 100.00]";
constexpr const char* kPanYRange = "Pan Y limit to [-100.00, 100.00]";
constexpr const char* kZoomRange = "Zoom Factor limit to [20.00, 500.00]";
constexpr const char* kRotateRange = "Rotate Factor limit to [-360.00, 360.00]";

}  // namespace

const CPhotoEditOperCustomPanZoomPage::EditInfo* CPhotoEditOperCustomPanZoomPage::FindEdit(UINT nID) {
  // In the order the values are exchanged.
  static const EditInfo kEdits[] = {
      {1085, TRUE, 0, -100, 100, kPanXRange},   {1089, FALSE, 0, -100, 100, kPanXRange},
      {1086, TRUE, 1, -100, 100, kPanYRange},   {1090, FALSE, 1, -100, 100, kPanYRange},
      {1087, TRUE, 2, 20, 500, kZoomRange},     {1091, FALSE, 2, 20, 500, kZoomRange},
      {1088, TRUE, 3, -360, 360, kRotateRange}, {1092, FALSE, 3, -360, 360, kRotateRange},
  };
  for (const EditInfo& info : kEdits)
    if (info.nEdit == nID) return &info;
  return nullptr;
}

CNumericSpinCtrl& CPhotoEditOperCustomPanZoomPage::SpinOf(const EditInfo& info) {
  CNumericSpinCtrl* start[] = {&m_spinStartPanX, &m_spinStartPanY, &m_spinStartZoom, &m_spinStartRotate};
  CNumericSpinCtrl* end[] = {&m_spinEndPanX, &m_spinEndPanY, &m_spinEndZoom, &m_spinEndRotate};
  return *(info.bStart ? start : end)[info.nField];
}

CSliderCtrl* CPhotoEditOperCustomPanZoomPage::SliderOf(const EditInfo& info) {
  if (info.nField == 2) return info.bStart ? &m_sliderStartZoom : &m_sliderEndZoom;
  if (info.nField == 3) return info.bStart ? &m_sliderStartRotate : &m_sliderEndRotate;
  return nullptr;
}

CPanZoomPreviewStatic& CPhotoEditOperCustomPanZoomPage::PreviewOf(const EditInfo& info) {
  return info.bStart ? m_previewStart : m_previewEnd;
}

double& CPhotoEditOperCustomPanZoomPage::ValueOf(const EditInfo& info) {
  double* start[] = {&m_fStartPanX, &m_fStartPanY, &m_fStartZoom, &m_fStartRotate};
  double* end[] = {&m_fEndPanX, &m_fEndPanY, &m_fEndZoom, &m_fEndRotate};
  return *(info.bStart ? start : end)[info.nField];
}

BEGIN_MESSAGE_MAP(CPhotoEditOperCustomPanZoomPage, CPropertyPage)
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
ON_WM_SETCURSOR()
ON_WM_DESTROY()
ON_WM_HSCROLL()
ON_CONTROL_RANGE(EN_CHANGE, IDC_PANZOOM_FIRST_EDIT, IDC_PANZOOM_LAST_EDIT, OnEditChange)
ON_CONTROL_RANGE(EN_KILLFOCUS, IDC_PANZOOM_FIRST_EDIT, IDC_PANZOOM_LAST_EDIT, OnEditKillFocus)
ON_BN_CLICKED(IDC_PANZOOM_COPY, OnCopyPosition)
ON_BN_CLICKED(IDC_PANZOOM_PASTE, OnPastePosition)
ON_MESSAGE(WM_PANZOOM_PREVIEW_DRAGGED, OnPreviewDragged)
ON_MESSAGE(WM_PANZOOM_RESET_START, OnResetStart)
ON_MESSAGE(WM_PANZOOM_RESET_END, OnResetEnd)
END_MESSAGE_MAP()

CPhotoEditOperCustomPanZoomPage::CPhotoEditOperCustomPanZoomPage(CxImage* pDisplay, CDVDImage** ppImage)
    : CPropertyPage(IDD_PHOTO_EDIT_CUSTOM_PANZOOM),
      m_previewStart(pDisplay, ppImage),
      m_previewEnd(pDisplay, ppImage),
      m_ppImage(ppImage),
      m_hMoveCursor(::LoadCursor(nullptr, IDC_SIZEALL)),
      m_hNoCursor(::LoadCursor(nullptr, IDC_NO)) {
  if (CSkinMinor* skin = GetSkinMinor()) {
    m_pResetStart = skin->m_pPhotoEditResetButton;
    m_pResetEnd = skin->m_pPhotoEditResetButton2;
  }
}

CPhotoEditOperCustomPanZoomPage::~CPhotoEditOperCustomPanZoomPage() = default;

void CPhotoEditOperCustomPanZoomPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_PANZOOM_HINT, m_hint);
  DDX_Control(pDX, 1465, m_sliderStartRotate);
  DDX_Control(pDX, 1467, m_sliderEndRotate);
  DDX_Control(pDX, 1466, m_sliderEndZoom);
  DDX_Control(pDX, 1464, m_sliderStartZoom);
  DDX_Control(pDX, 1154, m_spinStartRotate);
  DDX_Control(pDX, 1157, m_spinEndRotate);
  DDX_Control(pDX, 1156, m_spinEndZoom);
  DDX_Control(pDX, 1153, m_spinStartZoom);
  DDX_Control(pDX, 1155, m_spinEndPanY);
  DDX_Control(pDX, 1150, m_spinEndPanX);
  DDX_Control(pDX, 1152, m_spinStartPanY);
  DDX_Control(pDX, 1470, m_spinStartPanX);
  DDX_Control(pDX, IDC_PANZOOM_START_PREVIEW, m_previewStart);
  DDX_Control(pDX, IDC_PANZOOM_END_PREVIEW, m_previewEnd);
  static const UINT kOrder[] = {1085, 1089, 1086, 1090, 1087, 1091, 1088, 1092};
  for (UINT id : kOrder) {
    const EditInfo& info = *FindEdit(id);
    DDX_DoubleRange(pDX, static_cast<int>(id), ValueOf(info), info.lpszRange);
  }
}

BOOL CPhotoEditOperCustomPanZoomPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_PHOTO_EDIT_CUSTOM_PANZOOM);
  m_brushBackground.CreateSolidBrush(GetSkinColor(SKIN_COLOR_PHOTO_CONFIGURE));
  LOGFONT lf{};
  if (CFont* font = m_hint.GetFont()) font->GetLogFont(&lf);
  lf.lfWeight = FW_BOLD;
  if (m_fontHint.CreateFontIndirect(&lf)) m_hint.SetFont(&m_fontHint);

  m_sliderStartZoom.SetRange(20, 500);
  m_sliderEndZoom.SetRange(20, 500);
  m_sliderStartRotate.SetRange(0, 720);
  m_sliderEndRotate.SetRange(0, 720);

  // 4:3 pixels at the template's top-left corner, whatever the dialog units made of the rectangle.
  for (CPanZoomPreviewStatic* preview : {&m_previewStart, &m_previewEnd}) {
    CRect rect;
    preview->GetWindowRect(&rect);
    ScreenToClient(&rect);
    const int u = std::min(rect.Height() / 3, rect.Width() / 4);
    preview->SetWindowPos(nullptr, rect.left, rect.top, 4 * u, 3 * u, SWP_NOZORDER | SWP_NOACTIVATE);
  }

  for (UINT id = IDC_PANZOOM_FIRST_EDIT; id <= IDC_PANZOOM_LAST_EDIT; ++id) {
    const EditInfo& info = *FindEdit(id);
    CNumericSpinCtrl& spin = SpinOf(info);
    spin.SetDecimals(2);
    spin.SetFormatString(kSpinFormat);
    spin.SetRange(info.fMin, info.fMax, info.nField == 0 || info.nField == 1 ? 0.5 : 1.0);
  }

  const struct {
    CCoolButtonBar* bar;
    int id;
    UINT message;
  } resets[] = {{m_pResetStart, IDC_PANZOOM_RESET_START, WM_PANZOOM_RESET_START},
                {m_pResetEnd, IDC_PANZOOM_RESET_END, WM_PANZOOM_RESET_END}};
  for (const auto& reset : resets) {
    if (reset.bar == nullptr || !reset.bar->SubclassDlgItem(reset.id, this)) continue;
    reset.bar->SetNotifyMessage(m_hWnd, reset.message);
    reset.bar->SetWindowPos(nullptr, 0, 0, 52, 22, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  m_bReady = TRUE;
  for (UINT id = IDC_PANZOOM_FIRST_EDIT; id <= IDC_PANZOOM_LAST_EDIT; ++id)
    SetEditValue(id, ValueOf(*FindEdit(id)));

  const CDVDImage* image = m_ppImage != nullptr ? *m_ppImage : nullptr;
  if (image != nullptr) {
    const int kind = image->Get_nPanZoom();
    const int count = std::max(CPanZoomEx::GetPanZoomType_PresetCount(), 1);
    if (kind == DVD_PANZOOM_ALBUM) {
      EnableCustom(FALSE);
      ApplyPreset(0);
    } else if (kind == DVD_PANZOOM_CUSTOM) {
      EnableCustom(TRUE);
      const _tagPhotoPanZoomSaveParam* saved = image->GetpPhotoPanZoomSaveParam();
      ApplySaveParam(saved != nullptr ? *saved : _tagPhotoPanZoomSaveParam(), TRUE, TRUE);
    } else {
      EnableCustom(TRUE);
      ApplyPreset(kind % count);
    }
  }
  return TRUE;
}

void CPhotoEditOperCustomPanZoomPage::OnDestroy() {
  // The reset bars belong to the skin: give their controls back before the page's windows go.
  if (m_pResetStart != nullptr && m_pResetStart->GetSafeHwnd() != nullptr) m_pResetStart->UnsubclassWindow();
  if (m_pResetEnd != nullptr && m_pResetEnd->GetSafeHwnd() != nullptr) m_pResetEnd->UnsubclassWindow();
  m_bReady = FALSE;
  CPropertyPage::OnDestroy();
}

BOOL CPhotoEditOperCustomPanZoomPage::EnableCustom(BOOL bEnable) {
  if (GetSafeHwnd() == nullptr) {
    m_previewStart.SetEditable(bEnable);
    m_previewEnd.SetEditable(bEnable);
    return TRUE;
  }
  for (CWnd* child = GetWindow(GW_CHILD); child != nullptr; child = child->GetWindow(GW_HWNDNEXT)) {
    const int id = child->GetDlgCtrlID();
    if (id == IDC_PANZOOM_START_PREVIEW || id == IDC_PANZOOM_END_PREVIEW) {
      (id == IDC_PANZOOM_START_PREVIEW ? m_previewStart : m_previewEnd).SetEditable(bEnable);
    } else if (id == IDC_PANZOOM_RESET_START || id == IDC_PANZOOM_RESET_END) {
      CCoolButtonBar* bar = id == IDC_PANZOOM_RESET_START ? m_pResetStart : m_pResetEnd;
      if (bar != nullptr && bar->GetSafeHwnd() == child->GetSafeHwnd()) {
        if (bEnable)
          bar->EnableAllButtons(TRUE);
        else
          bar->DisableAllButtons(TRUE);
      } else {
        child->EnableWindow(bEnable);
      }
    } else if (id == IDC_PANZOOM_HINT) {
      continue;
    } else if (id == IDC_PANZOOM_PASTE) {
      child->EnableWindow(g_bPanZoomClipboardFilled || bEnable);
    } else {
      child->EnableWindow(bEnable);
    }
  }
  m_hint.ShowWindow(bEnable ? SW_HIDE : SW_SHOW);
  return TRUE;
}

void CPhotoEditOperCustomPanZoomPage::ApplyPreset(int nPreset) {
  _tagPanZoomWorkParamEx record;
  CPanZoomEx::GetPanZoomType_PresetValue(nPreset, record);
  ShowPositions(record, TRUE, TRUE);
}

void CPhotoEditOperCustomPanZoomPage::ApplySaveParam(const _tagPhotoPanZoomSaveParam& saved, BOOL bStart,
                                                     BOOL bEnd) {
  _tagPanZoomWorkParamEx record;
  _tagPhotoPanZoomSaveParam::ConvertDataToPanZoomExWorkParam(record, saved);
  ShowPositions(record, bStart, bEnd);
}

void CPhotoEditOperCustomPanZoomPage::GetSaveParam(int& nPreset, _tagPhotoPanZoomSaveParam& saved) {
  CommitPending();
  const _tagPanZoomWorkParamEx& start = m_previewStart.m_workParam;
  const _tagPanZoomWorkParamEx& end = m_previewEnd.m_workParam;
  _tagPanZoomWorkParamEx record;
  record.fStartPanX = start.fStartPanX, record.fStartPanY = start.fStartPanY;
  record.fStartZoom = start.fStartZoom, record.fStartRotate = start.fStartRotate;
  record.fEndPanX = end.fStartPanX, record.fEndPanY = end.fStartPanY;
  record.fEndZoom = end.fStartZoom, record.fEndRotate = end.fStartRotate;
  saved.ConvertDataFromPanZoomExWorkParam(record);
  nPreset = saved.GetPanZoomPresetIndex();
  // Positions that are an engine preset's keep that preset's index, so a preset slide only
  // looked at stays the preset it was.
  for (int i = 0; nPreset == DVD_PANZOOM_CUSTOM && i < CPanZoomEx::GetPanZoomType_PresetCount(); ++i)
    if (PresetPositions(i) == saved) nPreset = i;
}

void CPhotoEditOperCustomPanZoomPage::ShowPositions(const _tagPanZoomWorkParamEx& record, BOOL bStart,
                                                    BOOL bEnd) {
  // A whole position replaces whatever was being typed.
  m_nDirtyEdit = 0;
  if (bStart)
    SetPosition(m_previewStart.m_workParam, record.fStartPanX, record.fStartPanY, record.fStartZoom,
                record.fStartRotate);
  if (bEnd)
    SetPosition(m_previewEnd.m_workParam, record.fEndPanX, record.fEndPanY, record.fEndZoom,
                record.fEndRotate);
  m_bHoldRender = TRUE;
  for (UINT id = IDC_PANZOOM_FIRST_EDIT; id <= IDC_PANZOOM_LAST_EDIT; ++id) {
    const EditInfo& info = *FindEdit(id);
    if (!(info.bStart ? bStart : bEnd)) continue;
    const _tagPanZoomWorkParamEx& param = PreviewOf(info).m_workParam;
    const double values[] = {param.fStartPanX, param.fStartPanY, param.fStartZoom, param.fStartRotate};
    SetEditValue(id, values[info.nField]);
  }
  m_bHoldRender = FALSE;
  RefreshPreviews();
}

void CPhotoEditOperCustomPanZoomPage::SetEditValue(UINT nID, double value) {
  const EditInfo& info = *FindEdit(nID);
  ValueOf(info) = value;
  if (!m_bReady || GetSafeHwnd() == nullptr) {
    double* fields[] = {&PreviewOf(info).m_workParam.fStartPanX, &PreviewOf(info).m_workParam.fStartPanY,
                        &PreviewOf(info).m_workParam.fStartZoom, &PreviewOf(info).m_workParam.fStartRotate};
    *fields[info.nField] = Rounded(std::clamp(value, info.fMin, info.fMax));
    return;
  }
  m_bProgrammatic = TRUE;
  SpinOf(info).SetPos(value);
  m_bProgrammatic = FALSE;
  CommitEdit(nID);
}

BOOL CPhotoEditOperCustomPanZoomPage::PrepareSources() {
  return m_previewStart.PrepareSource() && m_previewEnd.PrepareSource();
}

void CPhotoEditOperCustomPanZoomPage::RefreshPreviews() {
  if (m_bHoldRender) return;
  m_previewStart.Render();
  m_previewEnd.Render();
}

void CPhotoEditOperCustomPanZoomPage::OnEditChange(UINT nID) {
  if (!m_bReady || m_bProgrammatic) return;
  const EditInfo* info = FindEdit(nID);
  if (info == nullptr || (info->nField <= 1 && m_bPanEditQuiet)) return;
  CWnd* edit = GetDlgItem(static_cast<int>(nID));
  if (edit == nullptr) return;
  if (::GetFocus() != edit->GetSafeHwnd()) {
    CommitEdit(nID);
    return;
  }
  // Typing: a number within the range shows at once; anything else waits for the edit to be
  // left (or Enter), so "150" is not refused at its "1".
  CString text;
  edit->GetWindowText(text);
  double value = 0;
  if (numeric_range::ParseDouble(text.View(), &value) && value >= info->fMin && value <= info->fMax) {
    m_nDirtyEdit = 0;
    CommitEdit(nID);
  } else {
    m_nDirtyEdit = nID;
  }
}

void CPhotoEditOperCustomPanZoomPage::OnEditKillFocus(UINT nID) {
  if (m_nDirtyEdit == nID)
    CommitPending();
  else
    TidyEdit(nID);
}

void CPhotoEditOperCustomPanZoomPage::TidyEdit(UINT nID) {
  // A value typed and taken shows as the spins write it once the edit is left ("150" as
  // "150.00", "12.345" as the 12.35 kept).
  const EditInfo* info = FindEdit(nID);
  CWnd* edit = info != nullptr && m_bReady ? GetDlgItem(static_cast<int>(nID)) : nullptr;
  if (edit == nullptr) return;
  CString text;
  edit->GetWindowText(text);
  CNumericSpinCtrl& spin = SpinOf(*info);
  CString shown;
  shown.Format(kSpinFormat, ValueOf(*info));
  if (text == shown) return;
  m_bProgrammatic = TRUE;
  spin.SetPos(ValueOf(*info));
  m_bProgrammatic = FALSE;
}

void CPhotoEditOperCustomPanZoomPage::CommitPending() {
  const UINT nID = m_nDirtyEdit;
  m_nDirtyEdit = 0;  // before the message box takes the focus away
  if (nID != 0 && m_bReady) CommitEdit(nID);
}

void CPhotoEditOperCustomPanZoomPage::CommitEdit(UINT nID) {
  const EditInfo* info = FindEdit(nID);
  if (info == nullptr || GetDlgItem(static_cast<int>(nID)) == nullptr) return;
  double& value = ValueOf(*info);
  BOOL bReadable = TRUE;
  {
    CDataExchange dx(this, TRUE);
    try {
      CString text;
      GetDlgItem(static_cast<int>(nID))->GetWindowText(text);
      double parsed = 0;
      bReadable = numeric_range::ParseDouble(text.View(), &parsed);
      DDX_DoubleRange(&dx, static_cast<int>(nID), value, info->lpszRange);
    } catch (CUserException* e) {
      e->Delete();
    }
  }
  const double clamped = std::clamp(value, info->fMin, info->fMax);
  const bool changed = clamped != value;
  value = Rounded(clamped);
  _tagPanZoomWorkParamEx& param = PreviewOf(*info).m_workParam;
  double* fields[] = {&param.fStartPanX, &param.fStartPanY, &param.fStartZoom, &param.fStartRotate};
  *fields[info->nField] = value;
  if (CSliderCtrl* slider = SliderOf(*info); slider != nullptr && !m_bSliderSource)
    slider->SetPos(info->nField == 2 ? ZoomSliderPos(value) : RotateSliderPos(value));
  if (changed || !bReadable) {
    m_bProgrammatic = TRUE;
    SpinOf(*info).SetPos(value);
    m_bProgrammatic = FALSE;
  }
  if (!m_bHoldRender) PreviewOf(*info).Render();
}

BOOL CPhotoEditOperCustomPanZoomPage::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN) {
    for (UINT id = IDC_PANZOOM_FIRST_EDIT; id <= IDC_PANZOOM_LAST_EDIT; ++id) {
      CWnd* edit = GetDlgItem(static_cast<int>(id));
      if (edit != nullptr && edit->GetSafeHwnd() == pMsg->hwnd) {
        if (m_nDirtyEdit == id)
          CommitPending();
        else
          TidyEdit(id);
        if (CEdit* box = static_cast<CEdit*>(edit)) box->SetSel(0, -1);
        return TRUE;
      }
    }
  }
  return CPropertyPage::PreTranslateMessage(pMsg);
}

void CPhotoEditOperCustomPanZoomPage::OnOK() {
  CommitPending();
}

void CPhotoEditOperCustomPanZoomPage::OnCancel() {}

void CPhotoEditOperCustomPanZoomPage::OnHScroll(UINT, UINT, CScrollBar* pScrollBar) {
  if (pScrollBar == nullptr) return;
  const HWND from = pScrollBar->GetSafeHwnd();
  struct Pair {
    CSliderCtrl* slider;
    UINT edit;
  };
  const Pair pairs[] = {{&m_sliderStartZoom, 1087},
                        {&m_sliderEndZoom, 1091},
                        {&m_sliderStartRotate, 1088},
                        {&m_sliderEndRotate, 1092}};
  for (const Pair& pair : pairs) {
    if (pair.slider->GetSafeHwnd() != from) continue;
    const int pos = pair.slider->GetPos();
    m_bSliderSource = TRUE;
    m_nDirtyEdit = 0;
    SetEditValue(pair.edit, pair.edit == 1087 || pair.edit == 1091 ? pos : pos - 360);
    m_bSliderSource = FALSE;
    return;
  }
}

LRESULT CPhotoEditOperCustomPanZoomPage::OnPreviewDragged(WPARAM wParam, LPARAM lParam) {
  const auto* record = reinterpret_cast<const _tagPanZoomWorkParamEx*>(lParam);
  if (record == nullptr || (wParam != IDC_PANZOOM_START_PREVIEW && wParam != IDC_PANZOOM_END_PREVIEW))
    return 0;
  const BOOL bStart = wParam == IDC_PANZOOM_START_PREVIEW;
  const double panX = Rounded(record->fStartPanX), panY = Rounded(record->fStartPanY);
  (bStart ? m_fStartPanX : m_fEndPanX) = panX;
  (bStart ? m_fStartPanY : m_fEndPanY) = panY;
  m_bPanEditQuiet = TRUE;
  m_bProgrammatic = TRUE;
  (bStart ? m_spinStartPanX : m_spinEndPanX).SetPos(panX);
  (bStart ? m_spinStartPanY : m_spinEndPanY).SetPos(panY);
  m_bProgrammatic = FALSE;
  m_bPanEditQuiet = FALSE;
  return 0;
}

void CPhotoEditOperCustomPanZoomPage::OnCopyPosition() {
  CommitPending();
  g_bPanZoomClipboardFilled = TRUE;
  _tagPanZoomWorkParamEx& clip = *GetPanZoomClipboard();
  std::memset(static_cast<void*>(&clip), 0, sizeof clip);
  clip.nSize = sizeof clip;
  clip.nOption1 = clip.nOption2 = clip.nAntiFlicker = 1;
  const _tagPanZoomWorkParamEx& start = m_previewStart.m_workParam;
  const _tagPanZoomWorkParamEx& end = m_previewEnd.m_workParam;
  clip.clrBackground = start.clrBackground;
  clip.fStartPanX = start.fStartPanX, clip.fStartPanY = start.fStartPanY;
  clip.fStartZoom = start.fStartZoom, clip.fStartRotate = start.fStartRotate;
  clip.fEndPanX = end.fStartPanX, clip.fEndPanY = end.fStartPanY;
  clip.fEndZoom = end.fStartZoom, clip.fEndRotate = end.fStartRotate;
  if (CWnd* paste = GetDlgItem(IDC_PANZOOM_PASTE)) paste->EnableWindow(TRUE);
}

void CPhotoEditOperCustomPanZoomPage::OnPastePosition() {
  if (g_bPanZoomClipboardFilled && m_pPanZoomPage != nullptr) m_pPanZoomPage->SelectCustom();
  const _tagPanZoomWorkParamEx clip = *GetPanZoomClipboard();
  ShowPositions(clip, TRUE, TRUE);
}

LRESULT CPhotoEditOperCustomPanZoomPage::OnResetStart(WPARAM, LPARAM) {
  ApplySaveParam(_tagPhotoPanZoomSaveParam(), TRUE, FALSE);
  return 0;
}

LRESULT CPhotoEditOperCustomPanZoomPage::OnResetEnd(WPARAM, LPARAM) {
  ApplySaveParam(_tagPhotoPanZoomSaveParam(), FALSE, TRUE);
  return 0;
}

BOOL CPhotoEditOperCustomPanZoomPage::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (pWnd != nullptr) {
    const HWND hwnd = pWnd->GetSafeHwnd();
    for (CPanZoomPreviewStatic* preview : {&m_previewStart, &m_previewEnd}) {
      if (preview->GetSafeHwnd() == hwnd && hwnd != nullptr) {
        ::SetCursor(preview->IsEditable() ? m_hMoveCursor : m_hNoCursor);
        return TRUE;
      }
    }
  }
  return CPropertyPage::OnSetCursor(pWnd, nHitTest, message);
}

BOOL CPhotoEditOperCustomPanZoomPage::OnEraseBkgnd(CDC* pDC) {
  return PhotoEditPageEraseBkgnd(*this, pDC);
}

HBRUSH CPhotoEditOperCustomPanZoomPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  // The four sliders sit on the page's colour whatever they ask for.
  const int id = pWnd != nullptr ? pWnd->GetDlgCtrlID() : 0;
  if (HBRUSH brush = PhotoEditPageCtlColor(m_brushBackground, pDC, pWnd, nCtlColor, id >= 1464 && id <= 1467))
    return brush;
  return CPropertyPage::OnCtlColor(pDC, pWnd, nCtlColor);
}
