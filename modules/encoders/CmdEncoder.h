// CCmdEncoder: the console runner of the video output. It runs ffmpeg (or another console
// program) as CRedirector does and reports ffmpeg's progress: frames encoded into the output and
// bytes written, posted to a window and/or handed to a callback.
//
// For ffmpeg the runner asks for the machine-readable report on standard output
// (`-progress pipe:1`) and turns off the banner and the statistics line on standard error, so
// what ffmpeg prints there is only messages: the last of them say why a run failed.
#pragma once

#include <functional>
#include <mutex>

#include "modules/encoders/FfmpegProgress.h"
#include "modules/encoders/Redirector.h"
#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

// The media-source record the program hands to the runner. The program sets the position to 0
// and the duration to the length of what is encoded (milliseconds) before each run; the runner
// keeps the pointer and reads nothing from it, since ffmpeg's own report carries what the
// program shows.
struct _MEDIA_SOURCE {
  CString strSource;
  DWORD dwFlags = 0;
  DWORD dwPositionMs = 0;
  DWORD dwDurationMs = 0;
  DWORD dwReserved = 0;
  CString strTarget;
  DWORD adwReserved[6] = {};
};

class CCmdEncoder : public CRedirector {
 public:
  explicit CCmdEncoder(_MEDIA_SOURCE* pSource = nullptr);
  ~CCmdEncoder() override;

  // After this, every report of ffmpeg is posted to the window as `nMessage` with wParam = frames
  // encoded so far and lParam = bytes written so far (both 64-bit wide). A null window stops
  // the posting.
  void SetProgressInfo(HWND hWnd, UINT nMessage);
  // The same reports as a call on the reader thread (tests, and callers without a window).
  void SetProgressSink(std::function<void(const pictavo::encoders::Progress&)> sink);
  // The latest report of the current or last run.
  pictavo::encoders::Progress GetProgress() const;

  _MEDIA_SOURCE* GetMediaSource() const { return m_pSource; }

 protected:
  void PrepareArguments(std::vector<std::string>& argv) override;
  void OnStdoutLine(std::string_view line) override;

 private:
  _MEDIA_SOURCE* const m_pSource;
  bool m_readsProgress = false;                      // set by Open before the reader starts
  pictavo::encoders::FfmpegProgressParser m_parser;  // reader thread only
  mutable std::mutex m_progressLock;
  HWND m_hWnd = nullptr;                                           // guarded by m_progressLock
  UINT m_nMessage = 0;                                             // guarded by m_progressLock
  std::function<void(const pictavo::encoders::Progress&)> m_sink;  // guarded by m_progressLock
  pictavo::encoders::Progress m_latest;                            // guarded by m_progressLock
};
