#include "modules/sound/RecordSound.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "modules/log/Log.h"
#include "modules/sound/AudioMixer.h"
#include "modules/sound/WaveFileWriter.h"
#include "platform/media/AudioCapture.h"

namespace {

const pictavo::media::AudioFormat kRecordFormat{44100, 2};

// The one recording of the process.
struct Recorder {
  std::string path;                                       // UI thread
  std::string error;                                      // UI thread
  CString device;                                         // UI thread
  std::unique_ptr<pictavo::media::AudioCapture> capture;  // UI thread

  std::mutex lock;
  std::condition_variable more;           // frames were recorded
  pictavo::sound::WaveFileWriter writer;  // guarded by lock
  std::vector<int16_t> scaled;            // guarded by lock
  int64_t frames = 0;                     // guarded by lock
  bool running = false;                   // guarded by lock

  // On the sound system's thread.
  void Take(std::span<const int16_t> samples) {
    const float gain = CAudioMixer::GetDeviceInputVolume(device);
    std::lock_guard guard(lock);
    if (!running) return;
    if (gain >= 1.0f) {
      writer.Write(samples);
    } else {
      scaled.resize(samples.size());
      const auto g = static_cast<int32_t>(gain * 65536.0f + 0.5f);
      for (size_t i = 0; i < samples.size(); ++i)
        scaled[i] = static_cast<int16_t>((int32_t{samples[i]} * g) >> 16);
      writer.Write(scaled);
    }
    frames += static_cast<int64_t>(samples.size()) / kRecordFormat.channels;
    more.notify_all();
  }
};

Recorder& TheRecorder() {
  static Recorder recorder;
  return recorder;
}

BOOL Refuse(Recorder& r, const std::string& why) {
  r.error = why;
  WriteErrorLog("Record sound: %s", why.c_str());
  return FALSE;
}

}  // namespace

void CRecordSound::SetWaveFileName(LPCTSTR lpszPath) {
  TheRecorder().path = lpszPath != nullptr ? lpszPath : "";
}

BOOL CRecordSound::Init_Record(int nDevice) {
  Recorder& r = TheRecorder();
  if (IsRecording()) Stop_Record();
  r.capture.reset();
  r.error.clear();
  CStringArray devices;
  CAudioMixer::GetAudioRecordDevicesName(devices);
  if (nDevice < 0 || nDevice >= devices.GetSize()) return Refuse(r, "there is no recording device");
  if (r.path.empty()) return Refuse(r, "no file name was given");
  r.device = devices[nDevice];
  {
    std::lock_guard guard(r.lock);
    r.frames = 0;
    if (!r.writer.Open(r.path, kRecordFormat)) return Refuse(r, r.writer.Error());
  }
  std::string why;
  r.capture = pictavo::media::AudioCapture::Open(
      std::string(r.device.View()), kRecordFormat, [&r](std::span<const int16_t> s) { r.Take(s); }, &why);
  if (!r.capture) {
    std::lock_guard guard(r.lock);
    r.writer.Abandon();
    return Refuse(r, "cannot open " + std::string(r.device.View()) + ": " + why);
  }
  return TRUE;
}

BOOL CRecordSound::Start_Record() {
  Recorder& r = TheRecorder();
  if (!r.capture) return Refuse(r, r.error.empty() ? "the recording was not prepared" : r.error);
  {
    std::lock_guard guard(r.lock);
    r.running = true;
  }
  r.capture->Start();
  return TRUE;
}

BOOL CRecordSound::Stop_Record() {
  Recorder& r = TheRecorder();
  const bool prepared = r.capture != nullptr;
  r.capture.reset();  // no samples arrive after this
  std::lock_guard guard(r.lock);
  const bool wasRunning = r.running;
  r.running = false;
  r.more.notify_all();
  if (!prepared || !wasRunning) {
    r.writer.Abandon();
    if (r.error.empty()) r.error = "nothing was recorded";
    return FALSE;
  }
  if (!r.writer.Finish()) {
    r.error = r.writer.Error();
    WriteErrorLog("Record sound: %s", r.error.c_str());
    return FALSE;
  }
  return TRUE;
}

BOOL CRecordSound::IsRecording() {
  Recorder& r = TheRecorder();
  std::lock_guard guard(r.lock);
  return r.running;
}

int64_t CRecordSound::GetRecordedFrames() {
  Recorder& r = TheRecorder();
  std::lock_guard guard(r.lock);
  return r.frames;
}

BOOL CRecordSound::WaitForRecordedFrames(int64_t frames, DWORD dwTimeoutMs) {
  Recorder& r = TheRecorder();
  std::unique_lock guard(r.lock);
  return r.more.wait_for(guard, std::chrono::milliseconds(dwTimeoutMs), [&] {
    return r.frames >= frames || !r.running;
  }) && r.frames >= frames;
}

CString CRecordSound::GetLastRecordError() {
  return TheRecorder().error.c_str();
}
