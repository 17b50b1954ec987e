#include "modules/data/TimelineDecode.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "modules/data/PipeWriting.h"
#include "modules/log/Log.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/Wait.h"
#include "platform/media/AudioReader.h"
#include "platform/media/FilterGraph.h"
#include "platform/media/VideoReader.h"

namespace pictavo::data {
namespace {

constexpr size_t kSoundChunkFrames = 8192;

HRESULT FromError(DWORD error) {
  return error == NO_ERROR ? E_FAIL : HRESULT_FROM_WIN32(error);
}

}  // namespace

int64_t FrameBoundary(int64_t ms, double fps) {
  return static_cast<int64_t>(std::floor(static_cast<double>(ms) * fps / 1000.0 + 0.5));
}

int64_t SampleBoundary(int64_t frame, double fps, int rate) {
  return fps > 0 ? static_cast<int64_t>(std::floor(static_cast<double>(frame) * rate / fps + 0.5)) : 0;
}

TimelineDecode::TimelineDecode(std::vector<TimelineClip> clips, TimelineOutput output,
                               std::atomic<HRESULT>& result)
    : m_clips(std::move(clips)),
      m_output(std::move(output)),
      m_quit(CreateEvent(nullptr, TRUE, FALSE, nullptr)) {
  int64_t at = 0;
  for (const TimelineClip& clip : m_clips) {
    m_firstFrame.push_back(FrameBoundary(at, m_output.fps));
    at += clip.Length();
  }
  m_firstFrame.push_back(FrameBoundary(at, m_output.fps));
  m_thread = std::thread([this, &result] {
    // Each pipe is closed as soon as its stream has ended: a reader that takes the streams in
    // time order (ffmpeg) waits for the end of one before it reads the rest of the other.
    HRESULT frames = S_OK, sound = S_OK;
    std::thread video([&] {
      {
        const WriteCanceller canceller({m_output.yuvPipe}, {m_output.cancel, m_quit});
        frames = WriteFrames();
      }
      CloseHandle(m_output.yuvPipe);  // the frame writer's stream ends here
    });
    {
      const WriteCanceller canceller({m_output.pcmPipe}, {m_output.cancel, m_quit});
      sound = WriteSound();
    }
    CloseHandle(m_output.pcmPipe);
    video.join();
    // A stream that failed stops the other one, which then reports an abort: the failure wins.
    HRESULT outcome = S_OK;
    for (HRESULT stream : {frames, sound})
      if (FAILED(stream) && (outcome == S_OK || outcome == E_ABORT)) outcome = stream;
    if (IsSet(m_output.cancel)) outcome = E_ABORT;
    if (outcome == S_OK)
      WriteLog("Video album decode finished: %lld frames", static_cast<long long>(m_firstFrame.back()));
    else if (outcome == E_ABORT)
      WriteLog("Video album decode cancelled");
    else
      WriteErrorLog("Video album decode failed (%08x)", static_cast<unsigned>(outcome));
    result = outcome;
    m_running = false;
    if (m_output.done != nullptr) SetEvent(m_output.done);
  });
}

TimelineDecode::~TimelineDecode() {
  SetEvent(m_quit);
  if (m_thread.joinable()) m_thread.join();
  CloseHandle(m_quit);
}

HRESULT TimelineDecode::WriteFrames() {
  const int w = m_output.width, h = m_output.height;
  const size_t stride = static_cast<size_t>((w * 3 + 3) & ~3);
  std::vector<BYTE> picture(stride * static_cast<size_t>(h), 0);
  media::VideoFrame frame;
  for (size_t i = 0; i < m_clips.size(); ++i) {
    const TimelineClip& clip = m_clips[i];
    media::MediaError error;
    std::unique_ptr<media::VideoReader> reader = media::VideoReader::Open(clip.path, &error);
    if (!reader) WriteErrorLog("Video album: %s shows black: %s", clip.path.c_str(), error.message.c_str());
    // The picture fitted into the frame, its proportions kept, on black.
    int fw = w, fh = h;
    if (reader && reader->Info().width > 0 && reader->Info().height > 0) {
      const double scale = std::min(static_cast<double>(w) / reader->Info().width,
                                    static_cast<double>(h) / reader->Info().height);
      fw = std::clamp(static_cast<int>(std::lround(reader->Info().width * scale)), 1, w);
      fh = std::clamp(static_cast<int>(std::lround(reader->Info().height * scale)), 1, h);
    }
    const int left = (w - fw) / 2, top = (h - fh) / 2;
    std::fill(picture.begin(), picture.end(), BYTE{0});
    for (int64_t k = m_firstFrame[i]; k < m_firstFrame[i + 1]; ++k) {
      if (IsSet(m_output.cancel) || IsSet(m_quit)) return E_ABORT;
      const int64_t index = k - m_firstFrame[i];
      const media::MediaTime at = media::FromMilliseconds(clip.start) +
                                  media::MediaTime(static_cast<int64_t>(
                                      std::floor(static_cast<double>(index) * 1e7 / m_output.fps + 0.5)));
      if (reader) {
        if (reader->FrameAt(at, frame, fw, fh) == media::VideoResult::kFrame) {
          for (int y = 0; y < fh; ++y) {
            BYTE* row = picture.data() + stride * static_cast<size_t>(h - 1 - (top + y)) +
                        static_cast<size_t>(left) * 3;
            for (int x = 0; x < fw; ++x) {
              const uint32_t p = frame.Pixel(x, y);
              row[x * 3] = static_cast<BYTE>(p);
              row[x * 3 + 1] = static_cast<BYTE>(p >> 8);
              row[x * 3 + 2] = static_cast<BYTE>(p >> 16);
            }
          }
        } else {
          WriteErrorLog("Video album: %s shows black from %lld ms: %s", clip.path.c_str(),
                        static_cast<long long>(media::ToMilliseconds(at)), reader->Error().message.c_str());
          reader.reset();
          std::fill(picture.begin(), picture.end(), BYTE{0});
        }
      }
      SetLastError(NO_ERROR);
      if (!m_output.sink(picture.data(), w, h)) {
        const DWORD error = GetLastError();
        SetEvent(m_quit);
        return IsSet(m_output.cancel) ? E_ABORT
                                      : FromError(error == ERROR_OPERATION_ABORTED ? NO_ERROR : error);
      }
    }
  }
  return S_OK;
}

HRESULT TimelineDecode::WriteSound() {
  const media::AudioFormat format{kTimelineSampleRate, kTimelineChannels};
  std::vector<int16_t> samples(kSoundChunkFrames * static_cast<size_t>(format.channels));
  for (size_t i = 0; i < m_clips.size(); ++i) {
    const TimelineClip& clip = m_clips[i];
    int64_t left = SampleBoundary(m_firstFrame[i + 1], m_output.fps, format.sampleRate) -
                   SampleBoundary(m_firstFrame[i], m_output.fps, format.sampleRate);
    std::unique_ptr<media::AudioReader> reader;
    if (clip.sound) {
      media::MediaError error;
      reader = media::AudioReader::Open(clip.path, format, &error);
      if (reader && !reader->Seek(media::FromMilliseconds(clip.start))) reader.reset();
      if (!reader)
        WriteErrorLog("Video album: %s plays silence: %s", clip.path.c_str(), error.message.c_str());
    }
    while (left > 0) {
      if (IsSet(m_output.cancel) || IsSet(m_quit)) return E_ABORT;
      const size_t frames = static_cast<size_t>(std::min<int64_t>(left, kSoundChunkFrames));
      const size_t count = frames * static_cast<size_t>(format.channels);
      std::fill(samples.begin(), samples.begin() + static_cast<ptrdiff_t>(count), int16_t{0});
      if (reader) static_cast<void>(reader->Read(std::span<int16_t>(samples.data(), count)));
      const DWORD error = WriteAll(m_output.pcmPipe, samples.data(), count * sizeof(int16_t));
      if (error != NO_ERROR) {
        SetEvent(m_quit);
        return IsSet(m_output.cancel) ? E_ABORT : FromError(error);
      }
      left -= static_cast<int64_t>(frames);
    }
  }
  return S_OK;
}

}  // namespace pictavo::data
