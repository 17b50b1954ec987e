// Recording one WAV file at a time from a recording device (44100 Hz, 16-bit stereo), with the
// device's recording volume applied to the samples. The call order is SetWaveFileName,
// Init_Record, Start_Record, Stop_Record. The file is written beside its target under a
// temporary name and takes its place only when Stop_Record has written it whole: a failed
// recording leaves an existing file as it was. UI thread; the samples arrive on the sound
// system's thread.
#pragma once

#include <cstdint>

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

class CRecordSound {
 public:
  static void SetWaveFileName(LPCTSTR lpszPath);
  // Opens device nDevice of CAudioMixer::GetAudioRecordDevicesName and the temporary file.
  // FALSE (GetLastRecordError tells why) when either fails; nothing is recorded then.
  static BOOL Init_Record(int nDevice);
  static BOOL Start_Record();
  // Closes the device and puts the file in place. TRUE only when the whole recording is in the
  // file at its name.
  static BOOL Stop_Record();
  static BOOL IsRecording();

  // Frames recorded since Start_Record.
  static int64_t GetRecordedFrames();
  // Waits until at least `frames` frames are recorded; FALSE when the time ran out first or no
  // recording runs.
  static BOOL WaitForRecordedFrames(int64_t frames, DWORD dwTimeoutMs);
  static CString GetLastRecordError();
};
