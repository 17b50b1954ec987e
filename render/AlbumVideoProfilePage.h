// The output page of the photo-album sheet: the "Output Format:" list of output-profile groups,
// the "Parameters Setting" tab over the encode options page, and the skin's button bar whose
// first button runs the create-output command: the project checks, a re-check of the photo
// cache, then the encoding dialog; when that succeeds the output folder is opened.
// CAlbumVideoPorfileContainerPage (so spelled) is the sheet's page that holds it centred.
// UI thread only.
#pragma once

#include "controls/SkinComboBox.h"
#include "controls/SkinTabStrip.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/PropertySheet.h"
#include "render/AlbumPreviewContainer.h"
#include "render/EncodeOptParametersPage.h"
#include "shell/PageSet.h"

class CCoolButtonBar;

#define IDD_ALBUM_VIDEO_PROFILE 5104
#define IDC_OUTPUT_FORMAT_LABEL 1157
#define IDC_OUTPUT_FORMAT_LIST 1243
#define IDC_ENCODE_BUTTON_BAR 1246
#define IDC_OUTPUT_TAB_STRIP 1139
#define IDC_OUTPUT_OPTIONS_FRAME 1064

#define WM_BURN_BUTTON_NOTIFY 5034  // the button bar's click: button index / 0
#define WM_OUTPUT_TAB_SELECTED 1855

#define IDS_NO_IMAGES_IN_PROJECT 114
#define IDS_PARAMETERS_SETTING 57531
#define IDS_PARAMETERS_SETTING_TIP 57429
#define IDS_BURN_NOW 57437

class CAlbumVideoProfilePage : public CPropertyPage {
  DECLARE_DYNCREATE(CAlbumVideoProfilePage)

 public:
  enum { IDD = IDD_ALBUM_VIDEO_PROFILE };

  // How a run of the create-output command ended.
  enum BurnResult {
    burnReentered,      // already running: refused with its log line
    burnNoAlbum,        // the project has no album
    burnInvalidItems,   // invalid albums or missing files were shown
    burnFolderRefused,  // the output folder cannot take the files: said on the page
    burnNotVideo,       // another output type: nothing to do here
    burnDialogRun,      // the encoding dialog ran (its result is its own)
  };

  CAlbumVideoProfilePage();
  ~CAlbumVideoProfilePage() override;

  void FillFormatList();
  // The list selects the project's active group again (after the main window's choice).
  void SelectActiveFormat();
  // The create-output command.
  BurnResult OnButtonBurnWrite();
  void RecheckPhotoCache();
  BurnResult RunEncodeVideoDlg();

  CEncodeOptParametersPage& GetOptionsPage() { return m_optionsPage; }
  CSkinComboBox& GetFormatList() { return m_formatList; }
  CCoolButtonBar* GetButtonBar() const { return m_pButtonBar; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnSelchangeFormat();
  afx_msg LRESULT OnOpenOutputFolder(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnBurnButtonNotify(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void BuildTabs();
  void FreeFormatItems();

  CCoolButtonBar* m_pButtonBar = nullptr;  // the skin's; null until OnInitDialog
  CSkinComboBox m_formatList;              // 1243
  CBrush m_brBackground;
  CSkinTabStrip* m_pTabStrip;
  CSkinTabStrip m_tabStrip;  // 1139
  CEncodeOptParametersPage m_optionsPage;
  CPageSet m_pages;
};

class CAlbumVideoPorfileContainerPage : public CPreviewPageBase {
  DECLARE_DYNCREATE(CAlbumVideoPorfileContainerPage)

 public:
  CAlbumVideoPorfileContainerPage();
  // Selects the active output-profile group again.
  void SelectActiveFormat();
  CAlbumVideoProfilePage& GetProfilePage() { return m_page; }

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

 private:
  void PlacePage();
  CAlbumVideoProfilePage m_page;
};
