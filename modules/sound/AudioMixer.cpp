#include "modules/sound/AudioMixer.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <string>

#include "platform/media/AudioCapture.h"

namespace {

std::mutex g_levelsLock;
std::map<std::string, float>& Levels() {  // guarded by g_levelsLock
  static std::map<std::string, float> levels;
  return levels;
}

}  // namespace

CAudioMixer::CAudioMixer() {
  const auto names = pictavo::media::CaptureDeviceNames();
  if (!names.empty()) m_strDevice = names.front().c_str();
}

CAudioMixer::CAudioMixer(LPCTSTR lpszDeviceName) {
  const std::string wanted = lpszDeviceName != nullptr ? lpszDeviceName : "";
  for (const std::string& name : pictavo::media::CaptureDeviceNames())
    if (name == wanted) m_strDevice = name.c_str();
}

BOOL CAudioMixer::GetAudioRecordDevicesName(CStringArray& names) {
  names.RemoveAll();
  for (const std::string& name : pictavo::media::CaptureDeviceNames()) names.Add(name.c_str());
  return names.GetSize() > 0;
}

BOOL CAudioMixer::GetInputSourceName(CStringArray& names) const {
  names.RemoveAll();
  if (!HasDevice()) return FALSE;
  names.Add(m_strDevice);
  return TRUE;
}

BOOL CAudioMixer::SetCurrentInputSource(int nIndex) {
  return HasDevice() && nIndex == 0;
}

float CAudioMixer::GetDeviceInputVolume(const CString& device) {
  std::lock_guard lock(g_levelsLock);
  const auto it = Levels().find(std::string(device.View()));
  return it != Levels().end() ? it->second : 1.0f;
}

float CAudioMixer::GetInputVolume() const {
  return GetDeviceInputVolume(m_strDevice);
}

BOOL CAudioMixer::SetInputVolume(float volume) {
  if (!HasDevice()) return FALSE;
  std::lock_guard lock(g_levelsLock);
  Levels()[std::string(m_strDevice.View())] = std::clamp(volume, 0.0f, 1.0f);
  return TRUE;
}

float CAudioMixer::GetPCMOutputVolume() const {
  return pictavo::media::OutputLevel();
}

BOOL CAudioMixer::SetPCMOutputVolume(float volume) {
  pictavo::media::SetOutputLevel(volume);
  return TRUE;
}
