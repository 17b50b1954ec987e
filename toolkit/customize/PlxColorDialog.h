// CPlxColorDialog: the toolkit's colour dialog. A two-colour sample (new above, current below),
// a property sheet as a child control with the standard page (hexagon, greys) and the custom page
// (plane, luminance, RGB and HLS edits), screen picking, and Ctrl+C / Ctrl+Insert copying the
// new colour as "RGB (r, g, b)" text. Below 8 bits per pixel the system colour dialog stands in.
#pragma once

#include "platform/mfc/PropertySheet.h"
#include "toolkit/core/PlxButton.h"
#include "toolkit/core/PlxDialog.h"
#include "toolkit/customize/PlxColorChooserCtrl.h"
#include "toolkit/customize/PlxColorPages.h"

// A property sheet living as a child control of a dialog.
class CPropertySheetCtrl : public CPropertySheet {
  DECLARE_DYNAMIC(CPropertySheetCtrl)

 public:
  explicit CPropertySheetCtrl(CWnd* pParentWnd) : CPropertySheet("", pParentWnd, 0) {}

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void ResizePages();

  HACCEL m_hAccel = nullptr;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override;
};

// The transparent window over the desktop that takes the mouse while picking.
class CPlxScreenPickWnd : public CWnd {
 public:
  BOOL Create(CWnd* pOwner);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  CWnd* m_pOwner = nullptr;
};

class CPlxColorDialog : public CPlxDialog {
  DECLARE_DYNAMIC(CPlxColorDialog)

 public:
  enum {
    IDD = 16961,
    IDC_PICK = 17038,
    IDC_SHEET = 16970,
    IDC_SAMPLE = 16662,
    IDB_PICK = 17039,
    IDC_PICK_CURSOR = 16145
  };

  CPlxColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr,
                  HPALETTE hPal = nullptr);
  ~CPlxColorDialog() override;

  INT_PTR DoModal() override;
  COLORREF GetChosenColor() const { return m_NewColor; }
  COLORREF GetColor() const { return m_NewColor; }
  CPalette* GetPalette() const { return m_pPalette; }

  void SetChosenColor(COLORREF color);
  void SyncStandardPage(int r, int g, int b);
  void SyncCustomPage(int r, int g, int b);
  void OnColorDoubleClick() { EndDialog(IDOK); }
  void OnPickColor();
  BOOL IsPicking() const { return m_bPickerMode; }
  BOOL PreTranslateMessage(MSG* pMsg) override;

  CPlxButton m_btnColorSelect;
  CStatic m_wndSheetPlaceholder;
  CPlxColorChooserCtrl m_wndColors;
  CPropertySheetCtrl* m_pPropSheet = nullptr;
  CPlxColorPage1* m_pPage1 = nullptr;
  CPlxColorPage2* m_pPage2 = nullptr;
  COLORREF m_CurrentColor;
  COLORREF m_NewColor;
  CPalette* m_pPalette = nullptr;
  BOOL m_bIsMyPalette = TRUE;
  BOOL m_bPickerMode = FALSE;
  HCURSOR m_hcurPicker = nullptr;
  HWND m_hwndPick = nullptr;  // the pick window while picking

 protected:
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Runs the system colour dialog in place of this one; its result.
  int RunSystemDialog();
  void BuildSystemPalette();
  void StopPicking(CPlxScreenPickWnd* pick);
  void CopyColorToClipboard();
};
