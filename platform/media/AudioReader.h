// Decodes the audio of a file to PCM in one requested format (rate and channel count, signed
// 16-bit interleaved), from any start time: streamed in pieces for playback and pipes, or as an
// exact number of samples for a given length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/media/MediaTypes.h"

namespace pictavo::media {

// One reader is used by one thread at a time.
class AudioReader {
 public:
  // Opens the best audio stream of a file, converting to `output`; a rate or channel count of 0
  // in `output` takes the stream's own (at most two channels). Null, with *error filled and the
  // last error set, for a missing, damaged or unsupported file or one without audio.
  [[nodiscard]] static std::unique_ptr<AudioReader> Open(std::string_view path, AudioFormat output,
                                                         MediaError* error = nullptr);
  ~AudioReader();
  AudioReader(const AudioReader&) = delete;
  AudioReader& operator=(const AudioReader&) = delete;

  const MediaInfo& Info() const;
  const AudioFormat& Format() const;

  // The next sample read is the one at `position` (to the sample: a packet's earlier samples are
  // dropped, and a stream that begins later than `position` begins with silence). Positions
  // beyond the end leave nothing to read. False when the file cannot seek there.
  [[nodiscard]] bool Seek(MediaTime position);

  // Streaming: fills `out` with whole frames and returns the number of frames written. Fewer
  // than fit are written only at the end of the stream (or when a read error ends it early:
  // Error() tells), and 0 after that. Damaged packets inside the stream are skipped.
  [[nodiscard]] size_t Read(std::span<int16_t> out);
  // The same in bytes: fills up to `bytes` (rounded down to whole frames), returns bytes written.
  [[nodiscard]] size_t ReadBytes(void* buffer, size_t bytes);
  bool AtEnd() const;

  // Exactly FramesForLength(length, rate) frames from `start`, as interleaved samples; where the
  // file has no sound (before its audio begins, after its end) the samples are silence. False,
  // with Error() set, when seeking or reading fails.
  [[nodiscard]] bool ReadExact(MediaTime start, MediaTime length, std::vector<int16_t>& out);

  // The failure that ended reading early, if any.
  const MediaError& Error() const;

 private:
  struct State;
  explicit AudioReader(std::unique_ptr<State> state);
  std::unique_ptr<State> m;
};

}  // namespace pictavo::media
