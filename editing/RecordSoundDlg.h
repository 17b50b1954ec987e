// The sound recording dialog (template 308): records from a recording device into WAV files
// named record_00001.wav, record_00002.wav ... (or as the user types), shows the recording time,
// sets the device's recording and playback volumes, and tells its caller which files were
// recorded. Without a recording device it says so and Start stays disabled. UI thread only.
#pragma once

#include "controls/HintBitmapStatic.h"
#include "platform/base/Array.h"
#include "platform/comctl/AfxControls.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/StdControls.h"

class CAudioMixer;

#define IDD_RECORD_SOUND 308

#define IDC_RECORD_BANNER 1453
#define IDC_RECORD_OUTPUT 1405
#define IDC_RECORD_TIME 1406
#define IDC_RECORD_NO_DEVICE 1407
#define IDC_RECORD_TIME_LABEL 1409
#define IDC_RECORD_START 1410
#define IDC_RECORD_STOP 1411
#define IDC_RECORD_BROWSE 1412
#define IDC_RECORD_INPUTS 1021
#define IDC_RECORD_PLAYBACK_VOLUME 1053
#define IDC_RECORD_RECORDING_VOLUME 1054
#define IDC_RECORD_DEVICES 1243

#define RECORD_TIMER_ID 12345

class CRecordSoundDlg : public CDialog {
 public:
  explicit CRecordSoundDlg(CWnd* pParent = nullptr);
  ~CRecordSoundDlg() override;

  // The last file recorded whole; empty when nothing was.
  CString GetRecordedPath() const { return m_strLastRecorded; }

  // Results, read after DoModal.
  CString m_strLastRecorded;
  CStringArray m_arrRecorded;  // in recording order, the same file twice in a row once

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  afx_msg void OnDeviceChanged();
  afx_msg void OnInputChanged();
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnStartRecording();
  afx_msg void OnStopRecording();
  afx_msg void OnBrowse();
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void FillMixerControls(CAudioMixer& mixer);
  // The typed output name made a full path in an existing folder; the controls show it.
  void ResolveOutputFile();
  void SaveFolderAndStop();
  void EnableControls(BOOL bRecording);
  CString TempBase() const;

  CHintBitmapStatic m_banner;
  CEdit m_editOutput;
  CStatic m_staticTime;
  CSliderCtrl m_sliderRecording;
  CSliderCtrl m_sliderPlayback;
  CListBox m_listInputs;
  CComboBox m_comboDevices;
  int m_nDevice = -1;
  int m_nInput = -1;
  CString m_strTime;
  CString m_strOutput;
  CFont m_fontBold;
  BOOL m_bRecording = FALSE;
  DWORD m_dwStartTick = 0;
  UINT_PTR m_nTimer = 0;
  BOOL m_bHasDevice = FALSE;
};
