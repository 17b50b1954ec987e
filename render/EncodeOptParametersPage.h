// CEncodeOptParametersPage: the page inside the output page where the user sets where and how
// the video files are written: the output folder (typed, browsed or opened), the profile of the
// chosen format group, the profile's video and audio options in a property list, and the
// anti-flicker filter. Edits go straight into the data model's profile objects and the project
// options; the output folder is also kept in the application settings. UI thread only.
#pragma once

#include <memory>

#include "platform/base/CString.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/PropertySheet.h"

class CAVOutputProfile;
class CPlxPropList;
class CPlxProp;

#define IDD_ENCODE_OPT_PARAMETERS 370
#define IDC_OUTPUT_FOLDER_LABEL 1561
#define IDC_OUTPUT_FOLDER 1194
#define IDC_OUTPUT_FOLDER_BROWSE 1195
#define IDC_OUTPUT_FOLDER_OPEN 1196
#define IDC_PROFILE_LABEL 1562
#define IDC_PROFILE_LIST 1210
#define IDC_PARAMETERS_FRAME 1197
#define IDC_ANTI_FLICKER 1056
#define IDC_PARAMETERS_LIST 1297

// From the output page (values are part of the interface).
#define WM_REFILL_OUTPUT_PROFILES 0x8BCB  // 0 / 0: refill the profiles of the active group
#define WM_APPLY_OUTPUT_PROFILE 0x8BCC    // 0 / 0: commit the output folder; 0 when it is unusable

#define IDS_VIDEO_OPTIONS 57549
#define IDS_AUDIO_OPTIONS 57550
#define IDS_OUTPUT_FOLDER_UNUSABLE 5123

class CEncodeOptParametersPage : public CPropertyPage {
  DECLARE_DYNCREATE(CEncodeOptParametersPage)

 public:
  enum { IDD = IDD_ENCODE_OPT_PARAMETERS };

  CEncodeOptParametersPage();
  ~CEncodeOptParametersPage() override;

  // Commits the folder text as the output folder (settings included) and makes it. 1.
  BOOL SaveOutputFolder();
  // SaveOutputFolder, then checks that the group's folder below it takes files; when it does
  // not, says why in a message box over this page and returns FALSE.
  BOOL CommitOutputFolderForOutput();
  LRESULT OnProfileGroupChanged(WPARAM wParam = 0, LPARAM lParam = 0);

  CAVOutputProfile* GetCurrentProfile() const { return m_pCurrentProfile; }
  CPlxPropList* GetPropList() const { return m_pPropList.get(); }
  const CString& GetCommittedFolder() const { return m_strCommittedFolder; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg void OnPaint();
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnBrowse();
  afx_msg void OnOpenFolder();
  afx_msg void OnAntiFlicker();
  afx_msg void OnSelchangeProfile();
  afx_msg LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnApplyOutputProfile(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPropertyChanged(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void RebuildPropList();
  // One group of the list: the options [first, first + 4) of the profile that are shown.
  void AddOptionGroup(CAVOutputProfile* pProfile, int nFirst, UINT nCaption, bool bAudio);
  void EnableProfileControls(BOOL bEnable);

  CComboBox m_profileList;    // 1210
  CStatic m_parametersFrame;  // 1197: the list's place
  CString m_strOutputFolder;  // 1194
  int m_nAntiFlicker = 0;     // 1056
  CBrush m_brBackground;
  std::unique_ptr<CPlxPropList> m_pPropList;
  CString m_strCommittedFolder;
  CAVOutputProfile* m_pCurrentProfile = nullptr;
};
