#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/media/AudioSinks.h"

namespace pictavo::media::detail {
namespace {

using Clock = std::chrono::steady_clock;

// The sink wakes this often, like a device asking for its next buffer.
constexpr int kPeriodsPerSecond = 100;
constexpr int64_t kMaxFramesPerCall = 4096;

constexpr int64_t kNanosPerSecond = 1'000'000'000;

int64_t FramesIn(Clock::duration elapsed, int rate) {
  const int64_t ns = std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count();
  return ns / kNanosPerSecond * rate + ns % kNanosPerSecond * rate / kNanosPerSecond;
}

Clock::duration TimeOf(int64_t frames, int rate) {
  return std::chrono::nanoseconds(frames / rate * kNanosPerSecond + frames % rate * kNanosPerSecond / rate);
}

class SilentAudioSink final : public AudioSink {
 public:
  SilentAudioSink(const AudioFormat& format, Source source) : m_format(format), m_source(std::move(source)) {
    m_thread = std::thread([this] { Run(); });
  }
  ~SilentAudioSink() override {
    {
      std::lock_guard lock(m_lock);
      m_quit = true;
    }
    m_wake.notify_all();
    m_thread.join();
  }

  bool IsSilent() const override { return true; }
  const AudioFormat& Format() const override { return m_format; }

 private:
  // Hands the source exactly as many frames as the time since the start covers, so the samples
  // are consumed at the pace a device would play them.
  void Run() {
    const int rate = m_format.sampleRate;
    const int64_t period = std::max(1, rate / kPeriodsPerSecond);
    std::vector<int16_t> scratch;
    const Clock::time_point start = Clock::now();
    int64_t consumed = 0;
    std::unique_lock lock(m_lock);
    while (!m_quit) {
      const int64_t due = FramesIn(Clock::now() - start, rate) - consumed;
      if (due <= 0) {
        m_wake.wait_until(lock, start + TimeOf(consumed + period, rate));
        continue;
      }
      lock.unlock();
      for (int64_t left = due; left > 0;) {
        const int64_t n = std::min(left, kMaxFramesPerCall);
        scratch.assign(static_cast<size_t>(n * m_format.channels), 0);
        m_source(scratch, start + TimeOf(consumed, rate));
        consumed += n;
        left -= n;
      }
      lock.lock();
    }
  }

  const AudioFormat m_format;
  const Source m_source;
  std::mutex m_lock;
  std::condition_variable m_wake;
  bool m_quit = false;  // guarded by m_lock
  std::thread m_thread;
};

}  // namespace

std::unique_ptr<AudioSink> OpenSilentAudioSink(const AudioFormat& format, AudioSink::Source source) {
  return std::make_unique<SilentAudioSink>(format, std::move(source));
}

}  // namespace pictavo::media::detail
