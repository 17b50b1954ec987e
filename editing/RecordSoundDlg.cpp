#include "editing/RecordSoundDlg.h"

#include <atomic>

#include "disc/engines/SysCommandHandler.h"
#include "editing/RecordSoundNames.h"
#include "modules/data/DVDProject.h"
#include "modules/files/Files.h"
#include "modules/sound/AudioMixer.h"
#include "modules/sound/RecordSound.h"
#include "platform/comctl/Trackbar.h"
#include "platform/comdlg/CommonDialogs.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Time.h"
#include "shell/ARRegistry.h"
#include "shell/LanguageFile.h"
#include "shell/SkinMinor.h"

#define IDS_FILE_EXISTS_OVERWRITE 233

namespace {

constexpr char kWaveFilter[] = "Microsoft Wave File(*.wav)|*.wav||";
constexpr char kRecordSoundPath[] = "RecordSoundPath";

// Timer messages can nest while a message box of a handler runs; one flag for the process.
std::atomic<bool> g_inRecordTimer{false};

bool FileExists(const CString& path) {
  CFileStatus status{};
  return Zorv_CFileGetStatus(path, status, 0) != FALSE;
}

}  // namespace

BEGIN_MESSAGE_MAP(CRecordSoundDlg, CDialog)
ON_CBN_SELCHANGE(IDC_RECORD_DEVICES, OnDeviceChanged)
ON_LBN_SELCHANGE(IDC_RECORD_INPUTS, OnInputChanged)
ON_WM_HSCROLL()
ON_WM_TIMER()
ON_WM_SYSCOMMAND()
ON_BN_CLICKED(IDC_RECORD_START, OnStartRecording)
ON_BN_CLICKED(IDC_RECORD_STOP, OnStopRecording)
ON_BN_CLICKED(IDC_RECORD_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CRecordSoundDlg::CRecordSoundDlg(CWnd* pParent) : CDialog(IDD_RECORD_SOUND, pParent) {}

CRecordSoundDlg::~CRecordSoundDlg() {
  if (m_bRecording) CRecordSound::Stop_Record();
}

void CRecordSoundDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_RECORD_BANNER, m_banner);
  DDX_Control(pDX, IDC_RECORD_OUTPUT, m_editOutput);
  DDX_Control(pDX, IDC_RECORD_TIME, m_staticTime);
  DDX_Control(pDX, IDC_RECORD_RECORDING_VOLUME, m_sliderRecording);
  DDX_Control(pDX, IDC_RECORD_PLAYBACK_VOLUME, m_sliderPlayback);
  DDX_Control(pDX, IDC_RECORD_INPUTS, m_listInputs);
  DDX_Control(pDX, IDC_RECORD_DEVICES, m_comboDevices);
  DDX_CBIndex(pDX, IDC_RECORD_DEVICES, m_nDevice);
  DDX_LBIndex(pDX, IDC_RECORD_INPUTS, m_nInput);
  DDX_Text(pDX, IDC_RECORD_TIME, m_strTime);
  DDX_Text(pDX, IDC_RECORD_OUTPUT, m_strOutput);
}

CString CRecordSoundDlg::TempBase() const {
  CDVDProject* project = GetProject();
  return project != nullptr ? project->Get_strTempFilePathBase() : CString();
}

BOOL CRecordSoundDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_RECORD_SOUND);
  CAudioMixer mixer;
  FillMixerControls(mixer);
  if (CSkinMinor* skin = GetSkinMinor()) m_banner.SetBitmap(skin->GetDialogHintBitmap(6));
  const CString folder = record_names::DefaultFolder(ReadGeneralString(kRecordSoundPath), TempBase());
  m_strOutput = record_names::AutomaticName(folder);
  UpdateData(FALSE);
  m_fontBold.CreateFont(-MulDiv(9, 96, 72), 0, 0, 0, 700, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                        "Ms Sans Serif");
  m_staticTime.SetFont(&m_fontBold);
  if (CWnd* label = GetDlgItem(IDC_RECORD_TIME_LABEL)) label->SetFont(&m_fontBold);
  EnableControls(FALSE);
  return TRUE;
}

void CRecordSoundDlg::FillMixerControls(CAudioMixer& mixer) {
  m_comboDevices.ResetContent();
  m_listInputs.ResetContent();
  if (m_nDevice < 0) m_nDevice = 0;
  CStringArray names;
  m_bHasDevice = CAudioMixer::GetAudioRecordDevicesName(names);
  for (INT_PTR i = 0; i < names.GetSize(); ++i) m_comboDevices.AddString(names[i]);
  CStringArray inputs;
  mixer.GetInputSourceName(inputs);
  for (INT_PTR i = 0; i < inputs.GetSize(); ++i) m_listInputs.AddString(inputs[i]);
  m_nInput = mixer.GetCurrentInputSource();
  m_sliderRecording.SetRange(0, 100);
  m_sliderPlayback.SetRange(0, 100);
  m_sliderRecording.SetPos(static_cast<int>(mixer.GetInputVolume() * 100.0f + 0.5f));
  m_sliderPlayback.SetPos(static_cast<int>(mixer.GetPCMOutputVolume() * 100.0f + 0.5f));
  m_strTime = "00:00:00.000";
  if (CWnd* note = GetDlgItem(IDC_RECORD_NO_DEVICE)) note->ShowWindow(m_bHasDevice ? SW_HIDE : SW_SHOW);
  UpdateData(FALSE);
}

void CRecordSoundDlg::EnableControls(BOOL bRecording) {
  const auto enable = [this](int id, BOOL on) {
    if (CWnd* control = GetDlgItem(id)) control->EnableWindow(on);
  };
  enable(IDC_RECORD_DEVICES, !bRecording && m_bHasDevice);
  enable(IDC_RECORD_START, !bRecording && m_bHasDevice);
  enable(IDC_RECORD_OUTPUT, !bRecording);
  enable(IDC_RECORD_BROWSE, !bRecording);
  enable(IDC_RECORD_STOP, bRecording);
}

void CRecordSoundDlg::OnDeviceChanged() {
  UpdateData(TRUE);
  if (m_nDevice < 0) m_nDevice = 0;
  CString name;
  if (m_nDevice < m_comboDevices.GetCount()) m_comboDevices.GetLBText(m_nDevice, name);
  CAudioMixer mixer(name);
  FillMixerControls(mixer);
}

void CRecordSoundDlg::OnInputChanged() {
  UpdateData(TRUE);
  CString name;
  if (m_nDevice >= 0 && m_nDevice < m_comboDevices.GetCount()) m_comboDevices.GetLBText(m_nDevice, name);
  CAudioMixer mixer(name);
  mixer.SetCurrentInputSource(m_nInput);
}

void CRecordSoundDlg::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  if (nSBCode != TB_THUMBTRACK && nSBCode != TB_THUMBPOSITION) return;
  const float volume = static_cast<float>(nPos) * 0.01f;
  UpdateData(TRUE);
  CString name;
  if (m_nDevice >= 0 && m_nDevice < m_comboDevices.GetCount()) m_comboDevices.GetLBText(m_nDevice, name);
  CAudioMixer mixer(name);
  const int id = pScrollBar != nullptr ? pScrollBar->GetDlgCtrlID() : 0;
  if (id == IDC_RECORD_RECORDING_VOLUME) mixer.SetInputVolume(volume);
  if (id == IDC_RECORD_PLAYBACK_VOLUME) mixer.SetPCMOutputVolume(volume);
}

void CRecordSoundDlg::ResolveOutputFile() {
  UpdateData(TRUE);
  const record_names::Output out = record_names::Resolve(m_strOutput, TempBase());
  CDVDProject::CreateAllDirectories(out.folder);
  m_strOutput = out.path.IsEmpty() ? record_names::AutomaticName(out.folder) : out.path;
  UpdateData(FALSE);
}

void CRecordSoundDlg::OnStartRecording() {
  if (m_bRecording || !m_bHasDevice) return;
  ResolveOutputFile();
  if (FileExists(m_strOutput)) {
    CString question;
    question.Format(LoadLangString(IDS_FILE_EXISTS_OVERWRITE), m_strOutput.GetString());
    if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDNO) {
      m_strOutput = record_names::AutomaticName(record_names::Resolve(m_strOutput, TempBase()).folder);
      UpdateData(FALSE);
    }
  }
  m_bRecording = TRUE;
  EnableControls(TRUE);
  CRecordSound::SetWaveFileName(m_strOutput);
  if (!CRecordSound::Init_Record(m_nDevice) || !CRecordSound::Start_Record()) {
    // Said now rather than after the user has spoken into nothing.
    OnStopRecording();
    return;
  }
  if (m_nTimer != 0) KillTimer(m_nTimer);
  m_dwStartTick = GetTickCount();
  m_nTimer = SetTimer(RECORD_TIMER_ID, 200, nullptr);
}

void CRecordSoundDlg::OnTimer(UINT_PTR nIDEvent) {
  if (!g_inRecordTimer.exchange(true)) {
    if (nIDEvent == RECORD_TIMER_ID) {
      m_strTime = record_names::FormatTime(record_names::Elapsed(m_dwStartTick, GetTickCount()));
      m_staticTime.SetWindowText(m_strTime);
    }
    g_inRecordTimer = false;
  }
  CDialog::OnTimer(nIDEvent);
}

void CRecordSoundDlg::OnStopRecording() {
  if (!m_bRecording) return;
  if (m_nTimer != 0) KillTimer(m_nTimer);
  m_nTimer = 0;
  const BOOL recorded = CRecordSound::Stop_Record();
  m_bRecording = FALSE;
  UpdateData(TRUE);
  if (recorded) {
    m_strLastRecorded = m_strOutput;
    if (m_arrRecorded.GetSize() == 0 ||
        m_arrRecorded[m_arrRecorded.GetSize() - 1].CompareNoCase(m_strOutput) != 0)
      m_arrRecorded.Add(m_strOutput);
  } else {
    // A recording that did not reach its file is not offered to the caller.
    CString text;
    text.Format("%s was not recorded: %s", m_strOutput.GetString(),
                CRecordSound::GetLastRecordError().GetString());
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
  }
  EnableControls(FALSE);
}

void CRecordSoundDlg::OnBrowse() {
  ResolveOutputFile();
  UpdateData(TRUE);
  const CString folder(std::string(pictavo::path::FolderWithSeparator(m_strOutput.View())).c_str());
  const CString name(std::string(pictavo::path::FileName(m_strOutput.View())).c_str());
  CFileDialog dialog(FALSE, nullptr, name, OFN_EXPLORER | OFN_HIDEREADONLY, kWaveFilter, this);
  dialog.m_ofn.lpstrInitialDir = folder;
  if (dialog.DoModal() != IDOK) return;
  CString chosen = dialog.GetPathName();
  if (chosen.IsEmpty()) return;
  if (!record_names::HasWavEnding(chosen)) chosen += ".wav";
  m_strOutput = chosen;
  UpdateData(FALSE);
}

void CRecordSoundDlg::SaveFolderAndStop() {
  UpdateData(TRUE);
  const CString folder(std::string(pictavo::path::FolderWithSeparator(m_strOutput.View())).c_str());
  if (!folder.IsEmpty()) WriteGeneralString(kRecordSoundPath, folder);
  if (m_bRecording) OnStopRecording();
}

void CRecordSoundDlg::OnOK() {
  SaveFolderAndStop();
  CDialog::OnOK();
}

void CRecordSoundDlg::OnCancel() {
  SaveFolderAndStop();
  CDialog::OnCancel();
}

void CRecordSoundDlg::OnSysCommand(UINT nID, LPARAM lParam) {
  OnSysCommandHideWithMain(this, nID, lParam);
}
