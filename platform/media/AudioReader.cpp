#include "platform/media/AudioReader.h"

#include <algorithm>
#include <cstring>
#include <optional>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/mathematics.h>
}

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/media/FfmpegSupport.h"

namespace pictavo::media {
namespace {

// A stream whose audio starts later than asked gets silence in front, but never more than this:
// a larger gap means broken timestamps, not a pause.
constexpr MediaTime kMaxLeadingSilence = std::chrono::seconds(60);
constexpr int kMaxSampleRate = 768000;
// Seeks land this much before the position and decode up to it: container seeks can land a frame
// or two late (MP3 without a table of contents), and some decoders need earlier frames to
// produce the first one correctly (MP3's bit reservoir, Opus).
constexpr MediaTime kSeekPreroll = std::chrono::milliseconds(250);

}  // namespace

struct AudioReader::State {
  std::string path;
  detail::Input input;
  detail::StreamDecoder decoder;
  detail::ResamplerPtr resampler;
  detail::FramePtr frame = detail::MakeFrame();
  AudioFormat format;
  AVChannelLayout outLayout{};

  // The resampler's input, to notice a stream that changes format midway.
  int inRate = 0;
  int inFormat = -1;
  AVChannelLayout inLayout{};

  std::vector<int16_t> pending;      // converted samples not yet read
  size_t pendingOffset = 0;          // samples of `pending` already read
  bool end = false;                  // nothing more will be converted
  std::optional<MediaTime> alignTo;  // the next decoded frame is placed relative to this time
  int64_t dropFrames = 0;            // converted frames still to drop to reach alignTo
  MediaTime nextTime{};              // where a frame without a timestamp is assumed to start
  MediaError error;

  ~State() {
    av_channel_layout_uninit(&outLayout);
    av_channel_layout_uninit(&inLayout);
  }

  int Channels() const { return format.channels; }
  size_t PendingFrames() const { return (pending.size() - pendingOffset) / static_cast<size_t>(Channels()); }

  bool EnsureResampler(const AVFrame& f) {
    AVChannelLayout layout{};
    if (f.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || f.ch_layout.nb_channels <= 0)
      av_channel_layout_default(&layout, std::max(1, f.ch_layout.nb_channels));
    else
      av_channel_layout_copy(&layout, &f.ch_layout);
    if (resampler && inRate == f.sample_rate && inFormat == f.format &&
        av_channel_layout_compare(&layout, &inLayout) == 0) {
      av_channel_layout_uninit(&layout);
      return true;
    }
    av_channel_layout_uninit(&inLayout);
    inLayout = layout;
    inRate = f.sample_rate;
    inFormat = f.format;
    SwrContext* raw = nullptr;
    int result = swr_alloc_set_opts2(&raw, &outLayout, AV_SAMPLE_FMT_S16, format.sampleRate, &inLayout,
                                     static_cast<AVSampleFormat>(f.format), f.sample_rate, 0, nullptr);
    resampler.reset(raw);
    if (result >= 0) result = swr_init(raw);
    if (result < 0) {
      resampler.reset();
      error = detail::ErrorFromAv(result, path, "Cannot convert the audio of");
      return false;
    }
    return true;
  }

  // Silence for the part of the time line before a stream's first sample.
  void AppendSilence(int64_t frames) {
    pending.resize(pending.size() + static_cast<size_t>(frames * Channels()), 0);
  }

  void Convert(const AVFrame& f) {
    if (!EnsureResampler(f)) {
      end = true;
      return;
    }
    MediaTime t = nextTime;
    if (f.best_effort_timestamp != AV_NOPTS_VALUE)
      t = input.StreamToMedia(decoder.stream, f.best_effort_timestamp);
    if (f.sample_rate > 0) nextTime = t + LengthOfFrames(f.nb_samples, f.sample_rate);
    if (alignTo) {
      const int64_t offset = av_rescale_rnd((t - *alignTo).count(), format.sampleRate, MediaTime::period::den,
                                            AV_ROUND_NEAR_INF);
      if (offset > 0 && t - *alignTo <= kMaxLeadingSilence) AppendSilence(offset);
      if (offset < 0) dropFrames = -offset;
      alignTo.reset();
    }
    const int capacity = swr_get_out_samples(resampler.get(), f.nb_samples);
    if (capacity <= 0) return;
    Produce(capacity, const_cast<const uint8_t**>(f.extended_data), f.nb_samples);
  }

  // Runs the resampler into the pending buffer, then drops what lies before the aligned start.
  void Produce(int capacity, const uint8_t** in, int inFrames) {
    const size_t old = pending.size();
    pending.resize(old + static_cast<size_t>(capacity * Channels()));
    uint8_t* out = reinterpret_cast<uint8_t*>(pending.data() + old);
    const int produced = swr_convert(resampler.get(), &out, capacity, in, inFrames);
    pending.resize(old + static_cast<size_t>(std::max(produced, 0) * Channels()));
    if (produced < 0) {
      error = detail::ErrorFromAv(produced, path, "Cannot convert the audio of");
      end = true;
      return;
    }
    const int64_t drop = std::min<int64_t>(dropFrames, static_cast<int64_t>(PendingFrames()));
    pendingOffset += static_cast<size_t>(drop * Channels());
    dropFrames -= drop;
  }

  void FlushResampler() {
    if (!resampler) return;
    const int capacity = swr_get_out_samples(resampler.get(), 0);
    if (capacity > 0) Produce(capacity, nullptr, 0);
  }

  // Decodes until more samples are pending or the stream has ended; false once nothing more comes.
  bool DecodeMore() {
    if (end) return false;
    switch (decoder.Next(input, frame.get(), path, "Cannot decode the audio of", error)) {
      case detail::StreamDecoder::Result::kFrame:
        Convert(*frame);
        av_frame_unref(frame.get());
        return true;
      case detail::StreamDecoder::Result::kEnd:
        FlushResampler();
        end = true;
        return true;
      case detail::StreamDecoder::Result::kError:
        end = true;
        return false;
    }
    return false;
  }

  size_t ReadInto(uint8_t* out, size_t frames) {
    size_t done = 0;
    while (done < frames) {
      if (PendingFrames() == 0) {
        pending.clear();
        pendingOffset = 0;
        if (!DecodeMore()) break;
        continue;
      }
      const size_t n = std::min(frames - done, PendingFrames());
      const size_t bytes = n * format.BytesPerFrame();
      std::memcpy(out + done * format.BytesPerFrame(), pending.data() + pendingOffset, bytes);
      pendingOffset += n * static_cast<size_t>(Channels());
      done += n;
    }
    return done;
  }
};

AudioReader::AudioReader(std::unique_ptr<State> state) : m(std::move(state)) {}
AudioReader::~AudioReader() = default;

std::unique_ptr<AudioReader> AudioReader::Open(std::string_view path, AudioFormat output, MediaError* error) {
  auto fail = [&](MediaError failure) -> std::unique_ptr<AudioReader> {
    SetLastError(failure.code);
    if (error) *error = std::move(failure);
    return nullptr;
  };
  if (output.sampleRate < 0 || output.sampleRate > kMaxSampleRate || output.channels < 0 ||
      output.channels > 8)
    return fail(
        MediaError{ERROR_INVALID_PARAMETER, "Unsupported output format for \"" + std::string(path) + "\""});
  auto state = std::make_unique<State>();
  state->path = path;
  MediaError failure;
  if (!state->decoder.Open(path, &detail::Input::audioStream, "audio", state->input, failure))
    return fail(std::move(failure));
  const MediaInfo& info = state->input.info;
  if (output.sampleRate == 0) output.sampleRate = info.sampleRate > 0 ? info.sampleRate : 44100;
  if (output.channels == 0) output.channels = std::clamp(info.channels, 1, 2);
  state->format = output;
  av_channel_layout_default(&state->outLayout, output.channels);
  state->alignTo = MediaTime::zero();
  return std::unique_ptr<AudioReader>(new AudioReader(std::move(state)));
}

const MediaInfo& AudioReader::Info() const {
  return m->input.info;
}
const AudioFormat& AudioReader::Format() const {
  return m->format;
}
const MediaError& AudioReader::Error() const {
  return m->error;
}
bool AudioReader::AtEnd() const {
  return m->end && m->PendingFrames() == 0;
}

bool AudioReader::Seek(MediaTime position) {
  position = std::max(position, MediaTime::zero());
  State& s = *m;
  const int64_t ts =
      s.input.MediaToStream(s.decoder.stream, std::max(position - kSeekPreroll, MediaTime::zero()));
  const int result = av_seek_frame(s.input.format.get(), s.decoder.stream, ts, AVSEEK_FLAG_BACKWARD);
  if (result < 0) {
    s.error = detail::ErrorFromAv(result, s.path, "Cannot seek in");
    SetLastError(s.error.code);
    return false;
  }
  s.decoder.Restart();
  s.resampler.reset();
  s.pending.clear();
  s.pendingOffset = 0;
  s.end = false;
  s.alignTo = position;
  s.dropFrames = 0;
  s.nextTime = position;
  s.error = {};
  return true;
}

size_t AudioReader::Read(std::span<int16_t> out) {
  return m->ReadInto(reinterpret_cast<uint8_t*>(out.data()), out.size() / static_cast<size_t>(m->Channels()));
}

size_t AudioReader::ReadBytes(void* buffer, size_t bytes) {
  const size_t frames = bytes / m->format.BytesPerFrame();
  return m->ReadInto(static_cast<uint8_t*>(buffer), frames) * m->format.BytesPerFrame();
}

bool AudioReader::ReadExact(MediaTime start, MediaTime length, std::vector<int16_t>& out) {
  const int64_t frames = FramesForLength(length, m->format.sampleRate);
  out.assign(static_cast<size_t>(frames * m->Channels()), 0);
  if (!Seek(start)) return false;
  static_cast<void>(Read(out));  // what the file lacks stays silence
  return true;
}

}  // namespace pictavo::media
