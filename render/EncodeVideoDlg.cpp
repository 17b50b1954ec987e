#include "render/EncodeVideoDlg.h"

#include <algorithm>
#include <chrono>
#include <cstdarg>

#include "disc/engines/SysCommandHandler.h"
#include "modules/data/DVDProject.h"
#include "modules/data/SingleFlag.h"
#include "modules/log/Log.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/Thread.h"
#include "platform/kernel/Time.h"
#include "platform/kernel/Wait.h"
#include "platform/media/ExitWindows.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/WinApp.h"
#include "platform/user/Message.h"
#include "render/EncodeProgressText.h"
#include "shell/LanguageFile.h"
#include "shell/SkinMinor.h"
#include "shell/SlideshowApp.h"

IMPLEMENT_DYNAMIC(CEncodeVideoDlg, CDialog)

BEGIN_MESSAGE_MAP(CEncodeVideoDlg, CDialog)
ON_MESSAGE(WM_ENCODE_ALBUM_STARTED, OnEncodeAlbumStarted)
ON_MESSAGE(WM_FFMPEG_PROGRESS, OnFfmpegProgress)
ON_MESSAGE(WM_VIDEO_ENCODE_FINISHED, OnVideoEncodeFinished)
ON_WM_TIMER()
ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

CEncodeVideoDlg::CEncodeVideoDlg(CWnd* pParent)
    : CDialog(static_cast<UINT>(IDD), pParent),
      m_hCancelEvent(CreateEvent(nullptr, TRUE, FALSE, nullptr)),
      m_hCmdStartedEvent(CreateEvent(nullptr, TRUE, FALSE, nullptr)) {
  for (HANDLE& event : m_hWorkerEvents) event = CreateEvent(nullptr, TRUE, FALSE, nullptr);
}

CEncodeVideoDlg::~CEncodeVideoDlg() {
  if (m_hWorkerThread != nullptr) {
    // The dialog ends only after the worker did; this covers a caller that did not wait.
    m_bStop = TRUE;
    SetEvent(m_hCancelEvent);
    WaitForSingleObject(m_hWorkerThread, INFINITE);
    CloseHandle(m_hWorkerThread);
  }
  CloseHandle(m_hCancelEvent);
  CloseHandle(m_hCmdStartedEvent);
  for (HANDLE event : m_hWorkerEvents) CloseHandle(event);
}

void CEncodeVideoDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_ENCODE_DETAILED_PROGRESS, m_progressDetail);
  DDX_Control(pDX, IDC_ENCODE_OVERALL_PROGRESS, m_progressOverall);
  DDX_Control(pDX, IDC_ENCODE_BANNER, m_banner);
}

BOOL CEncodeVideoDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD);
  if (CSkinMinor* skin = GetSkinMinor()) m_banner.SetBitmap(skin->GetDialogHintBitmap(12));
  m_progressDetail.SetRange(0, 100);
  m_progressOverall.SetRange(0, 100);

  CDVDProject* project = GetProject();
  CheckDlgButton(IDC_ENCODE_SHUTDOWN,
                 project->GetOptionsData()->bShutdownWhenDone ? BST_CHECKED : BST_UNCHECKED);
  CString text;
  text.Format("%d", project->GetAlbumCount());
  SetDlgItemText(IDC_ENCODE_TOTAL_ALBUMS, text);
  text.Format("%d", project->GetTotalImages());
  SetDlgItemText(IDC_ENCODE_TOTAL_IMAGES, text);
  m_nOverallFrameTotal = static_cast<ULONGLONG>(std::max(0, project->GetTotalFrames()));
  m_nFinishedFrames = 0;
  const int fps = project->Get_nFramesPerSecond();
  SetDlgItemText(IDC_ENCODE_TOTAL_TIME,
                 encode_text::Duration(fps > 0 ? m_nOverallFrameTotal / static_cast<ULONGLONG>(fps) : 0));

  m_nTimerID = SetTimer(kElapsedTimerId, 1000, nullptr);
  m_dwStartTick = GetTickCount();
  ShowElapsedTime();
  UpdateData(FALSE);
  // A worker that cannot start ends the run like a failed album.
  if (!StartWorker()) PostMessage(WM_VIDEO_ENCODE_FINISHED, 0, 0);
  return TRUE;
}

void CEncodeVideoDlg::ShowElapsedTime() {
  SetDlgItemText(IDC_ENCODE_TIME_ELAPSED, encode_text::Duration((GetTickCount() - m_dwStartTick) / 1000));
}

void CEncodeVideoDlg::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kElapsedTimerId)
    ShowElapsedTime();
  else
    CDialog::OnTimer(nIDEvent);
}

LRESULT CEncodeVideoDlg::OnEncodeAlbumStarted(WPARAM wParam, LPARAM) {
  CString text;
  text.Format(LoadLangString(IDS_ENCODING_ALBUM_NO), static_cast<int>(wParam) + 1);
  SetDlgItemText(IDC_ENCODE_MESSAGE, text);
  return 0;
}

LRESULT CEncodeVideoDlg::OnFfmpegProgress(WPARAM wParam, LPARAM lParam) {
  const ULONGLONG albumTotal = m_nAlbumFrameTotal;
  const ULONGLONG overallTotal = m_nOverallFrameTotal;
  if (albumTotal == 0 || overallTotal == 0) return 0;  // the album's length is not known yet
  const ULONGLONG frames = wParam;
  const encode_text::Percent album = encode_text::PercentOf(frames, albumTotal);
  const encode_text::Percent overall = encode_text::PercentOf(frames + m_nFinishedFrames, overallTotal);
  m_progressDetail.SetPos(static_cast<int>(album.whole));
  m_progressOverall.SetPos(static_cast<int>(overall.whole));
  m_progressDetail.SetText(encode_text::PercentText(album));
  m_progressOverall.SetText(encode_text::PercentText(overall));
  if (overall.whole > 0) {
    const ULONGLONG remaining = encode_text::RemainingMs(overall.whole, GetTickCount() - m_dwStartTick);
    SetDlgItemText(IDC_ENCODE_TIME_ESTIMATED, encode_text::Remaining(remaining / 1000));
  }
  SetDlgItemText(IDC_ENCODE_FILE_SIZE,
                 encode_text::FileSize(static_cast<ULONGLONG>(std::max<LPARAM>(lParam, 0))));
  UpdateData(FALSE);
  return 0;
}

LRESULT CEncodeVideoDlg::OnVideoEncodeFinished(WPARAM wParam, LPARAM) {
  if (m_bStopping) return 0;  // the stop closes the dialog itself
  if (m_bAsking) {
    // The run ended while the user was asked whether to cancel it: that answer has nothing
    // left to stop, so the ending waits for the question to go.
    m_nPendingFinish = wParam;
    return 0;
  }
  EndRun(wParam);
  return 0;
}

void CEncodeVideoDlg::EndRun(WPARAM succeeded) {
  if (!succeeded) {
    // The user did not stop the run, so an album failed: say what failed.
    CString reason = GetLastFailure();
    if (reason.IsEmpty()) reason = LoadLangString(IDS_ENCODE_FAILED_SEE_LOG);
    CString text;
    text.Format(LoadLangString(IDS_ENCODE_FAILED), reason.GetString());
    AfxMessageBox(text, MB_OK | MB_ICONERROR);
    EndDialog(IDCANCEL);
    return;
  }
  if (IsDlgButtonChecked(IDC_ENCODE_SHUTDOWN) == BST_CHECKED) {
    // The dialog stays up while the session ends; a session that refuses ends the run as usual.
    if (RequestPowerOff()) return;
  }
  const bool bluray = GetProject()->GetEmOutputType() == DVD_OUTPUT_BLURAY;
  AfxMessageBox(LoadLangString(bluray ? IDS_BLURAY_FOLDER_CREATED : IDS_ENCODE_SUCCEEDED), MB_OK);
  if (m_pOwnerPage != nullptr && m_pOwnerPage->GetSafeHwnd() != nullptr)
    m_pOwnerPage->PostMessage(WM_OPEN_OUTPUT_FOLDER, 0, 0);
  EndDialog(IDOK);
}

void CEncodeVideoDlg::OnCancel() {
  if (m_bStopping || m_bAsking) return;
  m_bAsking = true;
  const int answer = AfxMessageBox(LoadLangString(IDS_CANCEL_OPERATION), MB_YESNO | MB_ICONQUESTION);
  m_bAsking = false;
  if (m_nPendingFinish != ~WPARAM{0}) {
    EndRun(m_nPendingFinish);
    return;
  }
  if (answer != IDNO) StopRun(IDCANCEL, IDCANCEL);
}

void CEncodeVideoDlg::OnOK() {
  if (m_bStopping || m_bAsking) return;
  StopRun(IDOK, IDOK);
}

void CEncodeVideoDlg::StopRun(int nButton, int nResult) {
  m_bStopping = true;
  theApp.SetBusy(TRUE);
  if (CWnd* button = GetDlgItem(nButton)) button->EnableWindow(FALSE);
  StopWorkers();
  GetVideoEncodeExFlag().WaitForSingleExit(TRUE);
  theApp.SetBusy(FALSE);
  EndDialog(nResult);
}

void CEncodeVideoDlg::OnSysCommand(UINT nID, LPARAM lParam) {
  OnSysCommandHideWithMain(this, nID, lParam);
}

BOOL CEncodeVideoDlg::StartWorker(HWND hNotifyWnd) {
  if (m_hWorkerThread != nullptr) return FALSE;
  m_hNotifyWnd = hNotifyWnd != nullptr ? hNotifyWnd : GetSafeHwnd();
  pictavo::kernel::ThreadStart start;
  start.body = [this] { return static_cast<DWORD>(VideoEncodeExThread(this)); };
  m_hWorkerThread = pictavo::kernel::StartThread(std::move(start), nullptr);
  if (m_hWorkerThread != nullptr) return TRUE;
  Fail("The video output could not start its worker thread (error %u)",
       static_cast<unsigned>(GetLastError()));
  return FALSE;
}

BOOL CEncodeVideoDlg::StopWorkers() {
  m_bStop = TRUE;
  SetEvent(m_hCancelEvent);
  const DWORD count = static_cast<DWORD>(std::clamp(m_nWaitCount.load(), 0, 4));
  if (count == 0) return 1;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStopWaitMs);
  for (;;) {
    MSG msg;
    while (WaitForMultipleObjects(count, m_hWorkerEvents, TRUE, 0) != WAIT_OBJECT_0 &&
           PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      // The user's input waits; what the workers post is handled.
      const bool input = (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) ||
                         (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST);
      if (!input) DispatchMessage(&msg);
    }
    if (WaitForMultipleObjects(count, m_hWorkerEvents, TRUE, 200) == WAIT_OBJECT_0) break;
    if (std::chrono::steady_clock::now() >= deadline) {
      WriteErrorLog("StopWorkers: the workers did not end within %u ms", static_cast<unsigned>(kStopWaitMs));
      break;
    }
  }
  return 1;
}

CString CEncodeVideoDlg::GetLastFailure() const {
  std::lock_guard guard(m_lock);
  return m_strLastFailure;
}

CString CEncodeVideoDlg::GetLastOutputFile() const {
  std::lock_guard guard(m_lock);
  return m_strLastOutput;
}

void CEncodeVideoDlg::SetReason(const CString& reason) {
  std::lock_guard guard(m_lock);
  m_strLastFailure = reason;
}

void CEncodeVideoDlg::Fail(const char* format, ...) {
  va_list args;
  va_start(args, format);
  CString reason;
  reason.FormatV(format, args);
  va_end(args);
  WriteErrorLog("%s", static_cast<LPCTSTR>(reason));
  SetReason(reason);
}

CWyxSingleFlag& GetVideoEncodeExFlag() {
  static CWyxSingleFlag flag("VideoEncodeEx");
  return flag;
}

bool RequestPowerOff() {
  if (ExitWindowsEx(EWX_SHUTDOWN | EWX_POWEROFF, 0)) return true;
  WriteErrorLog("ShutdownComputer: the session refused to power off (error %u)",
                static_cast<unsigned>(GetLastError()));
  return false;
}

BOOL ShutdownComputer() {
  RequestPowerOff();
  return 1;
}
