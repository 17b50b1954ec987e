// CEncodeVideoDlg: the progress dialog of the video output, and its worker, which writes every
// album of the project as one video file.
//
// The worker (VideoEncodeExThread, EncodeVideoWorker.cpp) takes one album after the other: it
// creates the YUV and PCM pipes, starts ffmpeg from an argument vector on a runner thread
// (EncodeImageAlbumVideo), lets the data model decode the album's music into the PCM pipe and
// CSlideEncoder render its frames into the YUV pipe (for a video album the data model's timeline
// fills both), and waits for all three in 200 ms slices. It reports to the dialog's window with
// posted messages and keeps the reason of a failure for the log and the dialog.
//
// An album succeeds only when ffmpeg exits with status 0 and both producers delivered all they
// had to. ffmpeg writes to a partial file beside the output file, which is renamed to the output
// name on success and deleted otherwise: a failed or cancelled album leaves nothing behind.
//
// The window shows the project's totals, the progress of the album and of the run, the times and
// the size of the file being written. Cancel asks first, then stops the workers and waits for the
// worker to end. At the end of a successful run it says so and has the output page open the
// output folder, or powers the computer off when the user asked for that; a failed run says why.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "controls/HintBitmapStatic.h"
#include "controls/SkinProgressCtrl.h"
#include "modules/encoders/CmdEncoder.h"
#include "modules/encoders/CmdOpts.h"
#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/kernel/Thread.h"
#include "platform/mfc/Dialog.h"

class CAVOutputProfile;
class CDVDAlbumBase;
class CDVDAlbumImage;
class CDVDAlbumMovie;
class CWyxSingleFlag;

// Messages of the video output (values are part of the interface).
#define WM_ENCODE_ALBUM_STARTED 0x0748   // album index from 0 / 0: worker -> dialog
#define WM_OPEN_OUTPUT_FOLDER 0x11AD     // 0 / 0: dialog -> output page
#define WM_FFMPEG_PROGRESS 0x11AE        // frames encoded in the album / bytes written: runner -> dialog
#define WM_VIDEO_ENCODE_FINISHED 0x8509  // 1 every album succeeded, 0 failure or cancel / 0

// Controls of the encoding dialog.
#define IDC_ENCODE_BANNER 1453
#define IDC_ENCODE_TOTAL_ALBUMS 1197
#define IDC_ENCODE_TOTAL_IMAGES 1198
#define IDC_ENCODE_TOTAL_TIME 1244
#define IDC_ENCODE_FILE_SIZE 1200
#define IDC_ENCODE_TIME_ELAPSED 1190
#define IDC_ENCODE_TIME_ESTIMATED 1191
#define IDC_ENCODE_OVERALL_PROGRESS 1065
#define IDC_ENCODE_DETAILED_PROGRESS 1069
#define IDC_ENCODE_SHUTDOWN 1186
#define IDC_ENCODE_MESSAGE 1066

// Strings of the encoding dialog.
#define IDS_ENCODING_ALBUM_NO 125
#define IDS_CANCEL_OPERATION 152
#define IDS_ENCODE_SUCCEEDED 263
#define IDS_BLURAY_FOLDER_CREATED 290
#define IDS_ENCODE_FAILED 5120          // the output failed, with the reason
#define IDS_ENCODE_FAILED_SEE_LOG 5121  // the reason when the worker gave none

class CEncodeVideoDlg : public CDialog {
  DECLARE_DYNAMIC(CEncodeVideoDlg)

 public:
  enum { IDD = 5103 };

  explicit CEncodeVideoDlg(CWnd* pParent = nullptr);
  ~CEncodeVideoDlg() override;

  // Starts VideoEncodeExThread for this dialog; its reports go to `hNotifyWnd` (the dialog's
  // own window when null). FALSE when the thread cannot start (the reason is then the failure).
  BOOL StartWorker(HWND hNotifyWnd = nullptr);
  // The worker thread while it runs: signalled once it has ended.
  HANDLE GetWorkerThread() const { return m_hWorkerThread; }
  // Stops the run: sets the stop flag and the cancel event and waits, dispatching messages, for
  // the workers of the current album (at most kStopWaitMs). Returns 1.
  BOOL StopWorkers();
  static constexpr DWORD kStopWaitMs = 10000;

  // Writes one album; 1 on success. *pFailed is 1 from the start and 0 only on success.
  int EncodeImageAlbum(CDVDAlbumImage* pAlbum, int* pFailed);
  int EncodeMovieAlbum(CDVDAlbumMovie* pAlbum, int* pFailed);
  // The file an album is written to: the output folder, the active group's folder, then
  // "<project>_<album>.<ext>" (or "<album>.<ext>" for an untitled project), numbered
  // "_0001", "_0002" ... when that file exists. Creates the folders.
  CString MakeOutputFileName(CDVDAlbumBase* pAlbum);
  // ffmpeg's arguments for an album: PCM from the PCM pipe (the profile's channels and rate for
  // a photo album, stereo 44100 Hz for a video album) and YUV4MPEG from the YUV pipe, encoded
  // by the profile into `lpszOutput`.
  static std::vector<std::string> BuildFfmpegCommand(const CAVOutputProfile& profile, LPCTSTR lpszAlbumName,
                                                     BOOL bImageAlbum, LPCTSTR lpszOutput);

  // Why the last album failed ("" after success): for the log and the dialog.
  CString GetLastFailure() const;
  // The file the last successful album was written to.
  CString GetLastOutputFile() const;

  // The worker's entry points (thread functions taking the dialog).
  UINT RunWorker();
  UINT RunCommands();

  // The window's controls.
  CSkinProgressCtrl m_progressDetail;   // 1069: the current album
  CSkinProgressCtrl m_progressOverall;  // 1065: the whole run
  CHintBitmapStatic m_banner;           // 1453

  // Shared with the worker.
  _MEDIA_SOURCE m_mediaSource;
  std::vector<std::vector<std::string>>
      m_arrCommands;                     // of the current album; worker writes before the runner starts
  CCmdEncoder* m_pCmdEncoder = nullptr;  // the runner thread's; guarded by m_lock
  CWnd* m_pOwnerPage = nullptr;          // receives WM_OPEN_OUTPUT_FOLDER; UI thread
  HANDLE m_hCancelEvent;                 // manual reset
  HANDLE m_hWorkerEvents[4];             // manual reset; roles per album kind
  std::atomic<BOOL> m_bStop{FALSE};      // the user stopped the run
  std::atomic<int> m_nWaitCount{0};      // worker events a stop waits for
  HANDLE m_hCmdDoneEvent = nullptr;      // the worker event the runner sets at its end
  std::atomic<ULONGLONG> m_nAlbumFrameTotal{0};    // frames of the current album
  std::atomic<ULONGLONG> m_nOverallFrameTotal{0};  // frames of every album
  std::atomic<ULONGLONG> m_nFinishedFrames{0};     // frames of the albums finished
  UINT_PTR m_nTimerID = 0;
  DWORD m_dwStartTick = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // Enter: stops the run without asking and closes with IDOK.
  void OnOK() override;
  // Cancel, Escape, closing the window: asks, then stops the run and closes with IDCANCEL.
  void OnCancel() override;
  afx_msg LRESULT OnEncodeAlbumStarted(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnFfmpegProgress(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnVideoEncodeFinished(WPARAM wParam, LPARAM lParam);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  static constexpr UINT_PTR kElapsedTimerId = 2456;

  void ShowElapsedTime();
  // Stops the workers, waits for the worker to end and closes the dialog with `nResult`.
  void StopRun(int nButton, int nResult);
  void EndRun(WPARAM succeeded);

  // UI thread.
  bool m_bAsking = false;                // the cancel question is up
  WPARAM m_nPendingFinish = ~WPARAM{0};  // a finish that arrived while it was up
  bool m_bStopping = false;              // the user stopped the run

  // The files of the album being written.
  struct AlbumOutput {
    CString strFinal;    // the output file
    CString strPartial;  // where ffmpeg writes until it succeeded
  };
  // The pipes and the runner of the album being written.
  struct AlbumPipes {
    HANDLE yuv = INVALID_HANDLE_VALUE;
    HANDLE pcm = INVALID_HANDLE_VALUE;
    HANDLE commandDone = nullptr;  // the worker event the runner sets at its end
    HANDLE runnerThread = nullptr;
  };
  // The active profile, or null (the reason set) when there is none for this output.
  const CAVOutputProfile* AlbumProfile(CDVDAlbumBase* pAlbum);
  // What both kinds of album do first: the output file, ffmpeg's arguments, the two pipes and the
  // runner. On failure everything made is undone and the reason set.
  [[nodiscard]] bool BeginAlbum(CDVDAlbumBase* pAlbum, const CAVOutputProfile& profile, DWORD dwDurationMs,
                                AlbumOutput& output, AlbumPipes& pipes);
  // After the runner ended: the output file is kept only when the producers delivered
  // (`bProduced`), nothing was cancelled and ffmpeg exited with 0; otherwise the reason is set.
  [[nodiscard]] bool FinishAlbum(CDVDAlbumBase* pAlbum, AlbumOutput& output, bool bProduced);
  [[nodiscard]] bool PrepareOutput(CDVDAlbumBase* pAlbum, AlbumOutput& output);
  [[nodiscard]] bool CompleteOutput(CDVDAlbumBase* pAlbum, AlbumOutput& output);
  // Creates the video and sound pipes of the album; on failure says why and cleans up.
  [[nodiscard]] bool MakeAlbumPipes(const AlbumOutput& output, HANDLE& yuv, HANDLE& pcm);
  // Starts the runner thread for m_arrCommands and waits until ffmpeg runs or has ended.
  [[nodiscard]] bool StartCommand(HANDLE hDoneEvent, HANDLE& hThread);
  // Waits, in 200 ms slices and at most `limitMs`, for every event.
  bool WaitForAll(const HANDLE* handles, DWORD count, DWORD limitMs);
  void EndCommand(HANDLE hThread);
  void Fail(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void SetReason(const CString& reason);

  mutable std::mutex m_lock;
  HWND m_hNotifyWnd = nullptr;           // set before the worker starts
  HANDLE m_hWorkerThread = nullptr;      // UI thread
  HANDLE m_hCmdStartedEvent;             // manual reset: ffmpeg runs
  DWORD m_dwCmdExitCode = STILL_ACTIVE;  // guarded by m_lock; ffmpeg's exit status
  CString m_strCmdFailure;               // guarded by m_lock; ffmpeg's last lines when it failed
  CString m_strLastFailure;              // guarded by m_lock
  CString m_strLastOutput;               // guarded by m_lock
};

UINT VideoEncodeExThread(LPVOID pParam);
UINT EncodeImageAlbumVideo(LPVOID pParam);

// The re-entry flag "VideoEncodeEx" the worker holds for its whole run.
CWyxSingleFlag& GetVideoEncodeExFlag();

// Asks the session to power off (other programs are not forced to close). Returns 1.
BOOL ShutdownComputer();
// The same, saying whether the session took the request.
bool RequestPowerOff();
