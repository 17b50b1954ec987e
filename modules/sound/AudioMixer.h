// The recording devices and their levels, as the record dialog sees them: a device is one of the
// sound system's capture devices with a single input (itself); the recording volume is a gain
// the recorder applies to that device's samples; the playback volume is the program's own output
// level. Levels are floats from 0 to 1 and last for the run of the program. UI thread.
#pragma once

#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

class CAudioMixer {
 public:
  // The first recording device.
  CAudioMixer();
  // The device of that name; a name the sound system does not know leaves the mixer without a
  // device.
  explicit CAudioMixer(LPCTSTR lpszDeviceName);

  // Every recording device's name, in the sound system's order; FALSE when there is none.
  static BOOL GetAudioRecordDevicesName(CStringArray& names);

  BOOL HasDevice() const { return !m_strDevice.IsEmpty(); }
  const CString& GetDeviceName() const { return m_strDevice; }

  // The device's inputs: the device itself. Empty without a device.
  BOOL GetInputSourceName(CStringArray& names) const;
  int GetCurrentInputSource() const { return HasDevice() ? 0 : -1; }
  // Only the one input exists: TRUE for 0.
  BOOL SetCurrentInputSource(int nIndex);

  float GetInputVolume() const;
  BOOL SetInputVolume(float volume);
  float GetPCMOutputVolume() const;
  BOOL SetPCMOutputVolume(float volume);

  // The recording gain of a device (1 until set), read by the recorder on its own thread.
  static float GetDeviceInputVolume(const CString& device);

 private:
  CString m_strDevice;
};
