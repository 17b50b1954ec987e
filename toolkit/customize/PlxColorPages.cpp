// The standard and custom pages of the colour dialog.
#include "toolkit/customize/PlxColorPages.h"

#include <cmath>

#include "platform/comctl/UpDown.h"
#include "platform/mfc/DataExchange.h"
#include "platform/res/Templates.h"
#include "toolkit/core/PlxDrawHelper.h"
#include "toolkit/customize/PlxColorDialog.h"

IMPLEMENT_DYNAMIC(CPlxColorPage1, CPropertyPage)
IMPLEMENT_DYNAMIC(CPlxColorPage2, CPropertyPage)

namespace {

using pictavo::res::DialogControl;
using pictavo::res::DialogTemplate;

DialogControl Control(DWORD id, const char* cls, const char* text, DWORD style, short x, short y, short cx,
                      short cy) {
  DialogControl c;
  c.id = id;
  c.className = cls;
  c.text = text;
  c.style = WS_CHILD | WS_VISIBLE | style;
  c.x = x;
  c.y = y;
  c.cx = cx;
  c.cy = cy;
  return c;
}

DialogTemplate PageTemplate(const char* caption) {
  DialogTemplate t;
  t.style = WS_CHILD | DS_SETFONT | DS_CONTROL;
  t.cx = 164;
  t.cy = 122;
  t.caption = caption;
  t.fontFace = "MS Shell Dlg";
  t.pointSize = 8;
  return t;
}

// The hexagon above the grey row.
const DialogTemplate& StandardTemplate() {
  static const DialogTemplate kTemplate = [] {
    DialogTemplate t = PageTemplate("Standard");
    t.controls = {
        Control(CPlxColorPage1::IDC_HEXAGON, "Button", "", BS_OWNERDRAW | WS_TABSTOP, 4, 2, 156, 90),
        Control(CPlxColorPage1::IDC_GREYS, "Button", "", BS_OWNERDRAW | WS_TABSTOP, 4, 94, 156, 22)};
    return t;
  }();
  return kTemplate;
}

// The plane and the bar on top, the six edits with their spins below.
const DialogTemplate& CustomTemplate() {
  static const DialogTemplate kTemplate = [] {
    DialogTemplate t = PageTemplate("Custom");
    t.controls = {
        Control(CPlxColorPage2::IDC_PLANE, "Button", "", BS_OWNERDRAW | WS_TABSTOP, 4, 4, 124, 66),
        Control(CPlxColorPage2::IDC_LUMINANCE_BAR, "Button", "", BS_OWNERDRAW | WS_TABSTOP, 134, 0, 26, 74)};
    struct Row {
      const char* label;
      DWORD edit, spin;
      short x, y;
    };
    const Row rows[] = {{"&Red:", CPlxColorPage2::IDC_RED, 16976, 4, 78},
                        {"&Green:", CPlxColorPage2::IDC_GREEN, 16977, 4, 92},
                        {"&Blue:", CPlxColorPage2::IDC_BLUE, 16978, 4, 106},
                        {"&Hue:", CPlxColorPage2::IDC_HUE, 16979, 84, 78},
                        {"&Lum:", CPlxColorPage2::IDC_LUM, 16980, 84, 92},
                        {"&Sat:", CPlxColorPage2::IDC_SAT, 16981, 84, 106}};
    for (const Row& r : rows) {
      t.controls.push_back(
          Control(0xFFFF, "Static", r.label, SS_LEFT, r.x, static_cast<short>(r.y + 2), 28, 8));
      t.controls.push_back(Control(r.edit, "Edit", "", ES_NUMBER | WS_BORDER | WS_TABSTOP,
                                   static_cast<short>(r.x + 30), r.y, 32, 12));
      t.controls.push_back(Control(r.spin, "msctls_updown32", "",
                                   UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_AUTOBUDDY | UDS_ARROWKEYS,
                                   static_cast<short>(r.x + 62), r.y, 10, 12));
    }
    return t;
  }();
  return kTemplate;
}

}  // namespace

int ColorUnitToByte(double x) {
  const double v = std::trunc(x * 255 + 0.5);
  if (!(v >= 0 && v <= 255)) return 255;
  return static_cast<int>(v);
}

double ColorByteToUnit(unsigned v) {
  const double x = (v + 0.5) / 255;
  return x > 1 ? 1 : x;
}

// ---- standard page ----

CPlxColorPage1::CPlxColorPage1() {
  m_lpDialogTemplate = &StandardTemplate();
  m_lpszTemplateName = nullptr;
  m_psp.pszTemplate = nullptr;
}

BOOL CPlxColorPage1::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  CPalette* palette = m_pDialog != nullptr ? m_pDialog->GetPalette() : nullptr;
  m_hexagon.SubclassDlgItem(IDC_HEXAGON, this);
  m_greys.SubclassDlgItem(IDC_GREYS, this);
  m_hexagon.SetPalette(palette);
  m_greys.SetPalette(palette);
  m_hexagon.SetChooserType(CPlxColorChooserCtrl::Hexagon);
  m_greys.SetChooserType(CPlxColorChooserCtrl::Greys);
  return TRUE;
}

BOOL CPlxColorPage1::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam), code = HIWORD(wParam);
  if ((id == IDC_HEXAGON || id == IDC_GREYS) && code == BN_DOUBLECLICKED && m_pDialog != nullptr) {
    m_pDialog->OnColorDoubleClick();
    return TRUE;
  }
  if (id == IDC_HEXAGON && code == BN_CLICKED) {
    OnHexagonChanged();
    return TRUE;
  }
  if (id == IDC_GREYS && code == BN_CLICKED) {
    OnGreyChanged();
    return TRUE;
  }
  return CPropertyPage::OnCommand(wParam, lParam);
}

void CPlxColorPage1::OnHexagonChanged() {
  const COLORREF color = m_hexagon.GetColor();
  if (m_pDialog != nullptr) {
    m_pDialog->SetChosenColor(color);
    m_pDialog->SyncCustomPage(GetRValue(color), GetGValue(color), GetBValue(color));
  }
  m_greys.SelectColor(color);
  if (m_greys.GetSafeHwnd() != nullptr) m_greys.Invalidate();
}

void CPlxColorPage1::OnGreyChanged() {
  // The cell's own value: going through the HLS values would truncate 240 to 239.
  const COLORREF color = m_greys.GetColor();
  if (m_pDialog != nullptr) {
    m_pDialog->SetChosenColor(color);
    m_pDialog->SyncCustomPage(GetRValue(color), GetGValue(color), GetBValue(color));
  }
  m_hexagon.SelectColor(color);
  if (m_hexagon.GetSafeHwnd() != nullptr) m_hexagon.Invalidate();
}

// ---- custom page ----

CPlxColorPage2::CPlxColorPage2() {
  m_lpDialogTemplate = &CustomTemplate();
  m_lpszTemplateName = nullptr;
  m_psp.pszTemplate = nullptr;
  m_bar.SetChooserType(CPlxColorChooserCtrl::LuminanceBar);
}

void CPlxColorPage2::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_RED, m_r);
  DDV_MinMaxInt(pDX, m_r, 0, 255);
  DDX_Text(pDX, IDC_BLUE, m_b);
  DDV_MinMaxInt(pDX, m_b, 0, 255);
  DDX_Text(pDX, IDC_GREEN, m_g);
  DDV_MinMaxInt(pDX, m_g, 0, 255);
  DDX_Text(pDX, IDC_LUM, m_l);
  DDV_MinMaxUInt(pDX, m_l, 0, 255);
  DDX_Text(pDX, IDC_HUE, m_h);
  DDV_MinMaxUInt(pDX, m_h, 0, 255);
  DDX_Text(pDX, IDC_SAT, m_s);
  DDV_MinMaxUInt(pDX, m_s, 0, 255);
}

BOOL CPlxColorPage2::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  CPalette* palette = m_pDialog != nullptr ? m_pDialog->GetPalette() : nullptr;
  m_plane.SubclassDlgItem(IDC_PLANE, this);
  m_bar.SubclassDlgItem(IDC_LUMINANCE_BAR, this);
  m_plane.SetPalette(palette);
  m_plane.SetChooserType(CPlxColorChooserCtrl::Plane);
  m_bar.SetPalette(palette);
  m_bar.SetChooserType(CPlxColorChooserCtrl::LuminanceBar);
  double hue, lum, sat;
  m_plane.GetHueLumSat(hue, lum, sat);
  m_bar.SetHueLumSat(hue, lum, sat, TRUE);
  m_bar.SetBarWidth(14);
  for (UINT id = IDC_FIRST_SPIN; id <= IDC_LAST_SPIN; ++id)
    if (HWND spin = ::GetDlgItem(m_hWnd, static_cast<int>(id)); spin != nullptr)
      ::SendMessage(spin, UDM_SETRANGE, 0, MAKELPARAM(255, 0));
  m_bIsReady = TRUE;
  return TRUE;
}

void CPlxColorPage2::ShowRGB(int r, int g, int b) {
  double hue, sat, lum;
  CPlxDrawHelper::RGBtoHSL(RGB(r, g, b), &hue, &sat, &lum);
  m_plane.SetHueLumSat(hue, lum, sat, TRUE);
  m_bar.SetHueLumSat(hue, lum, sat, TRUE);
  m_r = r;
  m_g = g;
  m_b = b;
  m_h = static_cast<UINT>(ColorUnitToByte(hue));
  m_l = static_cast<UINT>(ColorUnitToByte(lum));
  m_s = static_cast<UINT>(ColorUnitToByte(sat));
  if (GetSafeHwnd() != nullptr) {
    const BOOL wasUpdating = m_bInUpdate;
    m_bInUpdate = TRUE;  // our own writes into the edits are no typing
    UpdateData(FALSE);
    m_bInUpdate = wasUpdating;
  }
}

BOOL CPlxColorPage2::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam), code = HIWORD(wParam);
  if (id == IDC_PLANE && code == BN_DOUBLECLICKED && m_pDialog != nullptr) {
    m_pDialog->OnColorDoubleClick();
    return TRUE;
  }
  if (code == EN_CHANGE && (id == IDC_RED || id == IDC_GREEN || id == IDC_BLUE)) {
    OnRGBChanged();
    return TRUE;
  }
  if (code == EN_CHANGE && (id == IDC_LUM || id == IDC_SAT || id == IDC_HUE)) {
    OnHLSChanged();
    return TRUE;
  }
  if (id == IDC_LUMINANCE_BAR && code == BN_CLICKED) {
    OnLuminanceChanged();
    return TRUE;
  }
  if (id == IDC_PLANE && code == BN_CLICKED) {
    OnPlaneChanged();
    return TRUE;
  }
  return CPropertyPage::OnCommand(wParam, lParam);
}

void CPlxColorPage2::OnRGBChanged() {
  if (m_bInUpdate || !m_bIsReady || !UpdateData(TRUE)) return;
  m_bInUpdate = TRUE;
  const COLORREF color = RGB(m_r, m_g, m_b);
  if (m_pDialog != nullptr) {
    m_pDialog->SetChosenColor(color);
    m_pDialog->SyncStandardPage(m_r, m_g, m_b);
  }
  double hue, sat, lum;
  CPlxDrawHelper::RGBtoHSL(color, &hue, &sat, &lum);
  m_h = static_cast<UINT>(ColorUnitToByte(hue));
  m_l = static_cast<UINT>(ColorUnitToByte(lum));
  m_s = static_cast<UINT>(ColorUnitToByte(sat));
  UpdateData(FALSE);
  m_plane.SetHueLumSat(hue, lum, sat, TRUE);
  m_bar.SetHueLumSat(hue, lum, sat, TRUE);
  m_bInUpdate = FALSE;
}

void CPlxColorPage2::OnHLSChanged() {
  if (m_bInUpdate || !m_bIsReady || !UpdateData(TRUE)) return;
  // Set before the edits are rewritten: their notifications would otherwise come back here
  // through the RGB handler and overwrite the value being typed.
  m_bInUpdate = TRUE;
  const double hue = ColorByteToUnit(m_h), lum = ColorByteToUnit(m_l), sat = ColorByteToUnit(m_s);
  const COLORREF color = CPlxDrawHelper::HLStoRGB(hue, lum, sat);
  m_r = GetRValue(color);
  m_g = GetGValue(color);
  m_b = GetBValue(color);
  UpdateData(FALSE);
  if (m_pDialog != nullptr) {
    m_pDialog->SetChosenColor(color);
    m_pDialog->SyncStandardPage(m_r, m_g, m_b);
  }
  m_plane.SetHueLumSat(hue, lum, sat, TRUE);
  m_bar.SetHueLumSat(hue, lum, sat, TRUE);
  m_bInUpdate = FALSE;
}

void CPlxColorPage2::OnLuminanceChanged() {
  m_bInUpdate = TRUE;
  double hue, lum, sat;
  m_bar.GetHueLumSat(hue, lum, sat);
  m_plane.SetHueLumSat(-1, lum, -1, FALSE);
  m_plane.GetHueLumSat(hue, lum, sat);
  m_h = static_cast<UINT>(ColorUnitToByte(hue));
  m_l = static_cast<UINT>(ColorUnitToByte(lum));
  m_s = static_cast<UINT>(ColorUnitToByte(sat));
  const COLORREF color = CPlxDrawHelper::HLStoRGB(hue, lum, sat);
  if (m_pDialog != nullptr) m_pDialog->SetChosenColor(color);
  m_r = GetRValue(color);
  m_g = GetGValue(color);
  m_b = GetBValue(color);
  if (m_pDialog != nullptr) m_pDialog->SyncStandardPage(m_r, m_g, m_b);
  UpdateData(FALSE);
  m_bInUpdate = FALSE;
}

void CPlxColorPage2::OnPlaneChanged() {
  m_bInUpdate = TRUE;
  const COLORREF planeColor = m_plane.GetColor();
  m_r = GetRValue(planeColor);
  m_g = GetGValue(planeColor);
  m_b = GetBValue(planeColor);
  double hue, lum, sat;
  m_plane.GetHueLumSat(hue, lum, sat);
  m_bar.SetHueLumSat(hue, -1, sat, FALSE);
  if (m_bar.GetSafeHwnd() != nullptr) m_bar.Invalidate();
  m_h = static_cast<UINT>(ColorUnitToByte(hue));
  m_l = static_cast<UINT>(ColorUnitToByte(lum));
  m_s = static_cast<UINT>(ColorUnitToByte(sat));
  const COLORREF color = CPlxDrawHelper::HLStoRGB(hue, lum, sat);
  if (m_pDialog != nullptr) {
    m_pDialog->SetChosenColor(color);
    m_pDialog->SyncStandardPage(m_r, m_g, m_b);
  }
  UpdateData(FALSE);
  m_bInUpdate = FALSE;
}
