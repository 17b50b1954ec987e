// The maker's burning engine as the Video-CD image writer calls it: set-up, the recorder list and
// raw session-at-once writing. Recorders are found through cdrdao (drives /dev/sr*); tests install
// virtual recorders instead.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "modules/burn/Msf.h"
#include "modules/burn/Recorder.h"
#include "platform/base/WinTypes.h"

class CBurnLib {
 public:
  virtual ~CBurnLib() = default;
};

class CBurnEngine : public CBurnLib {
 public:
  CBurnEngine();
  ~CBurnEngine() override;
  CBurnEngine(const CBurnEngine&) = delete;
  CBurnEngine& operator=(const CBurnEngine&) = delete;

  // Driver mode 0 auto, 1 native, 2 ASPI: all mean cdrdao here. Non-zero when started (also with
  // no recorder found: the engine runs, it only has nothing to burn on).
  BOOL Initialize(int driverMode);
  int GetCDBurnerCount() const;
  // Copies the name (at most 259 characters and the terminator) into `buffer`.
  BOOL GetCDBurnerName(int index, char* buffer) const;
  BOOL SetWorkCDBurner(int index);
  BOOL GetWorkingBurnerName(char* buffer) const;
  void SetNotifyWnd(HWND window) { m_notifyWindow = window; }
  void SetCDWritingMode(int mode);

  BOOL IsCDWritingRawMode() const;
  void SetCueSheet(const BYTE* cueSheet, int length);
  // `text` is a 1024-byte buffer that receives the reason of a failure; `stopEvent` may be null.
  BOOL InitDAO(HWND window, char* text, HANDLE stopEvent);
  BOOL StartDAO(HWND window, char* text, HANDLE stopEvent);
  BOOL WriteData(DWORD sectorsWritten, const BYTE* data, DWORD bytes, HANDLE stopEvent);
  void SetLeadoutStart(DWORD sectors);
  BOOL FinishDAO(HWND window, char* text, HANDLE stopEvent);
  // Leaves a started write without finishing it (the disc is not closed).
  void AbortDAO();

  // Replaces the recorders found by Initialize (tests: virtual recorders); the first becomes the
  // working one.
  void UseRecorders(std::vector<std::unique_ptr<pictavo::burn::Recorder>> recorders);
  pictavo::burn::Recorder* WorkingRecorder() const;

 private:
  std::vector<std::unique_ptr<pictavo::burn::Recorder>> m_recorders;
  int m_working = -1;
  int m_writingMode = 1;
  HWND m_notifyWindow = nullptr;
};
