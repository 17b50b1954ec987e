// CGeneralOptionsPage: the "General" page of the Options dialog. The user picks the temporary
// folder (its disk space follows the folder once a second), cleans it up or opens it; the
// DVD-menu choices and the TV options page inside it are shown but disabled. OK stores the
// "General" section whole and hands what changed to the project's options.
#pragma once

#include "platform/base/CString.h"
#include "platform/mfc/PropertySheet.h"
#include "shell/BurnOptionTV.h"
#include "shell/GeneralSettings.h"
#include "shell/OptionsPageLogic.h"

#define IDD_GENERAL_OPTIONS 206
#define IDC_GENERAL_TEMP_GROUP 1568
#define IDC_GENERAL_TEMP_FOLDER 1246
#define IDC_GENERAL_BROWSE_FOLDER 1249
#define IDC_GENERAL_FREE_MB 1270
#define IDC_GENERAL_TOTAL_MB 1271
#define IDC_GENERAL_CLEAN_MANAGER 1269
#define IDC_GENERAL_REMOVE_TEMP 1268
#define IDC_GENERAL_OPEN_FOLDER 1343
#define IDC_GENERAL_MENU_GROUP 1569
#define IDC_GENERAL_USE_MENU 1380
#define IDC_GENERAL_PLAY_AFTER_MENU 1381
#define IDC_GENERAL_PLAYBACK_LABEL 1574
#define IDC_GENERAL_PLAYBACK 1243
#define IDC_GENERAL_TV_FRAME 1250

#define IDS_REMOVE_TEMP_FOLDERS 219

class CGeneralOptionsPage : public CPropertyPage {
 public:
  CGeneralOptionsPage();
  ~CGeneralOptionsPage() override;

  // The disk-space figures for the folder the edit holds.
  void UpdateDiskSpace();
  // Stores the page (called by the dialog's OK).
  void OnOK() override;

  CString m_strFolder;  // 1246
  CString m_strFree;    // 1270, megabytes
  CString m_strTotal;   // 1271, megabytes
  int m_nPlaybackIndex = -1;
  int m_bUseDVDMenu = 0;
  int m_bPlayAfterMenu = 0;
  CBurnOptionTV m_tvPage;
  CGeneralSettings m_settings;  // the working copy of the "General" section
  UINT_PTR m_nTimer = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  afx_msg void OnBrowseTempFolder();
  afx_msg void OnCleanManager();
  afx_msg void OnRemoveTempFolders();
  afx_msg void OnOpenTempFolder();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  options_logic::GeneralPageValues ShownValues();
  void FillPlaybackList();

  // What the page showed when it opened, so that OK hands on only what changed.
  options_logic::GeneralPageValues m_opened;
};
