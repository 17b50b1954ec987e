// CBurnOptionTV: the page of a project's TV output options (TV system, cropping, aspect
// correction, anti-flicker, photo scaling). Embedded, its owner fills it and reads it back and
// the page never touches the project (the Options dialog shows it so, every control disabled);
// stand-alone, it edits the project's options record itself: read when shown, written when
// hidden or before a save, single controls written at once.
#pragma once

#include "platform/comctl/AfxControls.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/PropertySheet.h"
#include "shell/OptionsPageLogic.h"

#define IDD_BURN_OPTION_TV 157
#define IDC_TV_SYSTEM_GROUP 1048
#define IDC_TV_PAL 1049
#define IDC_TV_NTSC 1050
#define IDC_TV_SYSTEM_TEXT 1163
#define IDC_TV_CROP_GROUP 1052
#define IDC_TV_CROP_ENABLE 1296
#define IDC_TV_CROP_SLIDER 1053
#define IDC_TV_CROP_TEXT 1164
#define IDC_TV_ASPECT_LABEL 1054
#define IDC_TV_ASPECT 1055
#define IDC_TV_ANTI_FLICKER 1056
#define IDC_TV_SCALE_LABEL 1503
#define IDC_TV_SCALE 1057

#define IDS_NTSC_EXPLANATION 110
#define IDS_PAL_EXPLANATION 111
#define IDS_CROP_RATIO 113

class CBurnOptionTV : public CPropertyPage {
  DECLARE_DYNCREATE(CBurnOptionTV)

 public:
  CBurnOptionTV();
  ~CBurnOptionTV() override;

  // Takes the six values and, with a window, shows them.
  void SetTVOptions(const options_logic::TvOptions& options);
  // The values the controls show (the stored ones when there is no window).
  void GetTVOptions(options_logic::TvOptions& options);

  // Stand-alone only: the controls from the project's options record, and back.
  void LoadOptions();
  void SaveOptions();
  void UpdateSystemText();
  void UpdateCropText();

  CBrush m_brushBackground;
  options_logic::TvOptions m_options;
  BOOL m_bEmbedded = FALSE;  // set by the owner before the window is made
  CSliderCtrl m_slider;
  int m_bAntiFlicker = 0;
  int m_nAspectIndex = -1;
  int m_bCropEnable = 0;
  int m_nScaleIndex = -1;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnEnableCropping();
  afx_msg void OnSystemClicked();
  afx_msg void OnAspectChange();
  afx_msg void OnScaleChange();
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnPaint();
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg LRESULT OnPrepareProjectSave(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTvAspectChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  // The controls from the dialog-data fields and the radio buttons, then the texts.
  void ShowValues(const options_logic::TvOptions& options);
  // The combo items in English; a language file replaces them as it translates the page.
  void FillLists();
};

// Posts WM_TV_ASPECT_CHANGED to the preview windows that follow the aspect correction.
void PostTvAspectChanged();
