// A WAV file written while sound comes in: the samples go into a temporary file beside the
// target, and only Finish puts the finished file (with its sizes in the header) in the target's
// place. A recording that fails or is abandoned leaves whatever was at the target untouched.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include "platform/media/MediaTypes.h"

namespace pictavo::sound {

class WaveFileWriter {
 public:
  WaveFileWriter() = default;
  // Abandons an unfinished file: the temporary file goes, the target stays as it was.
  ~WaveFileWriter();
  WaveFileWriter(const WaveFileWriter&) = delete;
  WaveFileWriter& operator=(const WaveFileWriter&) = delete;

  // Creates the temporary file in the target's folder (which must exist) with a header for
  // 16-bit PCM of `format`. False, with Error() set, when it cannot be created.
  [[nodiscard]] bool Open(const std::string& target, const media::AudioFormat& format);
  // Appends whole frames; a failed write is remembered and fails Finish.
  void Write(std::span<const int16_t> samples);
  // Writes the sizes, flushes to disk and renames the file to the target. False, with Error()
  // set, when any step failed; the temporary file is gone either way.
  [[nodiscard]] bool Finish();
  void Abandon();

  bool IsOpen() const { return m_file != nullptr; }
  uint64_t DataBytes() const { return m_dataBytes; }
  const std::string& Error() const { return m_error; }

  // The 44-byte header of a PCM file of `dataBytes` bytes.
  static std::string Header(const media::AudioFormat& format, uint32_t dataBytes);

 private:
  void Fail(const std::string& what);

  std::FILE* m_file = nullptr;
  std::string m_target;
  std::string m_temporary;
  media::AudioFormat m_format;
  uint64_t m_dataBytes = 0;
  std::string m_error;
};

}  // namespace pictavo::sound
