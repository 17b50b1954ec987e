// The colour dialog's two pages: the standard one (colour hexagon and grey row) and the custom
// one (hue/saturation plane, luminance bar, RGB and HLS edits). Every change becomes the dialog's
// new colour and is shown on the other page too.
#pragma once

#include "platform/mfc/PropertySheet.h"
#include "toolkit/customize/PlxColorChooserCtrl.h"

class CPlxColorDialog;

// 0..1 model values and the 0..255 edits.
int ColorUnitToByte(double x);
double ColorByteToUnit(unsigned v);

class CPlxColorPage1 : public CPropertyPage {
  DECLARE_DYNAMIC(CPlxColorPage1)

 public:
  enum { IDD = 16962, IDC_HEXAGON = 16974, IDC_GREYS = 16972 };

  CPlxColorPage1();

  CPlxColorDialog* m_pDialog = nullptr;
  CPlxColorChooserCtrl m_hexagon;
  CPlxColorChooserCtrl m_greys;

  void OnHexagonChanged();
  void OnGreyChanged();

 protected:
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
};

class CPlxColorPage2 : public CPropertyPage {
  DECLARE_DYNAMIC(CPlxColorPage2)

 public:
  enum {
    IDD = 16963,
    IDC_LUMINANCE_BAR = 16973,
    IDC_PLANE = 16662,
    IDC_RED = 16964,
    IDC_GREEN = 16965,
    IDC_BLUE = 16966,
    IDC_LUM = 16967,
    IDC_SAT = 16968,
    IDC_HUE = 16969,
    IDC_FIRST_SPIN = 16976,
    IDC_LAST_SPIN = 16981
  };

  CPlxColorPage2();

  void ShowRGB(int r, int g, int b);

  CPlxColorDialog* m_pDialog = nullptr;
  CPlxColorChooserCtrl m_bar;
  CPlxColorChooserCtrl m_plane;
  int m_r = 0;
  int m_b = 0;
  int m_g = 0;
  UINT m_l = 0;
  UINT m_h = 0;
  UINT m_s = 0;
  BOOL m_bIsReady = FALSE;
  BOOL m_bInUpdate = FALSE;

  void OnRGBChanged();
  void OnHLSChanged();
  void OnLuminanceChanged();
  void OnPlaneChanged();

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
};
