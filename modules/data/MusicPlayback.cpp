#include "modules/data/MusicPlayback.h"

#include <algorithm>
#include <cstring>

#include "modules/data/AudioParams.h"
#include "modules/log/Log.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/Wait.h"
#include "platform/user/Message.h"

namespace pictavo::data {
namespace {

constexpr size_t kRenderFrames = 4096;

}  // namespace

MusicPlayback::MusicPlayback(std::unique_ptr<MusicRenderer> renderer, const Target& target)
    : m_renderer(std::move(renderer)),
      m_target(target),
      m_channels(static_cast<size_t>(m_renderer->Format().channels)) {
  m_quit = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  m_consumed = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  // Half a second ahead: enough to ride over opening the next file.
  m_ring.assign(static_cast<size_t>(m_renderer->Format().sampleRate / 2 + kRenderFrames) * m_channels, 0);
  m_thread = std::thread([this] { Run(); });
}

MusicPlayback::~MusicPlayback() {
  Stop();
  CloseHandle(m_quit);
  CloseHandle(m_consumed);
}

void MusicPlayback::Stop() {
  SetEvent(m_quit);
  if (m_thread.joinable()) m_thread.join();
}

bool MusicPlayback::IsPlaying() const {
  std::lock_guard lock(m_lock);
  return m_playing;
}

void MusicPlayback::Take(std::span<int16_t> out) {
  const size_t wanted = out.size() / m_channels;
  size_t given = 0;
  {
    std::lock_guard lock(m_lock);
    const size_t capacity = m_ring.size() / m_channels;
    given = std::min(wanted, m_filled);
    for (size_t done = 0; done < given;) {
      const size_t run = std::min(given - done, capacity - m_head);
      std::memcpy(out.data() + done * m_channels, m_ring.data() + m_head * m_channels,
                  run * m_channels * sizeof(int16_t));
      m_head = (m_head + run) % capacity;
      done += run;
    }
    m_filled -= given;
    m_taken += static_cast<int64_t>(given);
  }
  // Nothing rendered yet (or the end): silence, which does not count as played music.
  std::fill(out.begin() + static_cast<ptrdiff_t>(given * m_channels), out.end(), int16_t{0});
  SetEvent(m_consumed);
}

bool MusicPlayback::TopUp() {
  for (;;) {
    size_t room = 0;
    {
      std::lock_guard lock(m_lock);
      room = m_ring.size() / m_channels - m_filled;
    }
    if (room == 0) return true;
    m_render.resize(std::min(room, kRenderFrames) * m_channels);
    const size_t frames = m_renderer->Render(m_render);
    if (frames == 0) return false;
    std::lock_guard lock(m_lock);
    const size_t capacity = m_ring.size() / m_channels;
    size_t tail = (m_head + m_filled) % capacity;
    for (size_t done = 0; done < frames;) {
      const size_t run = std::min(frames - done, capacity - tail);
      std::memcpy(m_ring.data() + tail * m_channels, m_render.data() + done * m_channels,
                  run * m_channels * sizeof(int16_t));
      tail = (tail + run) % capacity;
      done += run;
    }
    m_filled += frames;
  }
}

void MusicPlayback::Run() {
  const int64_t total = m_renderer->TotalFrames() - m_renderer->Position();
  bool natural = false;
  bool rendering = TopUp();
  auto sink = media::OpenAudioSink(m_renderer->Format(), [this](std::span<int16_t> out, auto) { Take(out); });
  if (!sink) WriteErrorLog("Music: the audio output could not be opened; nothing is played");
  HANDLE waits[3] = {m_quit, m_consumed, m_target.stopEvent};
  const DWORD count = m_target.stopEvent != nullptr ? 3 : 2;
  while (sink) {
    {
      std::lock_guard lock(m_lock);
      if (!rendering && m_taken >= total) {
        natural = true;
        break;
      }
    }
    const DWORD which = WaitForMultipleObjects(count, waits, FALSE, INFINITE);
    if (which != WAIT_OBJECT_0 + 1) break;  // a stop, or a wait that failed
    if (rendering) rendering = TopUp();
  }
  sink.reset();  // no more calls of Take once this returns
  {
    std::lock_guard lock(m_lock);
    m_playing = false;
  }
  if (natural && m_target.notifyWindow != nullptr &&
      !PostMessage(m_target.notifyWindow, WM_MUSIC_PLAY_END, 0, 0))
    WriteErrorLog("Music: the end of playing could not be reported (error %u)",
                  static_cast<unsigned>(GetLastError()));
  if (m_target.doneEvent != nullptr) SetEvent(m_target.doneEvent);
}

}  // namespace pictavo::data
