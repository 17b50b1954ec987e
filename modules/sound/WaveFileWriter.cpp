#include "modules/sound/WaveFileWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <limits>

#include "platform/kernel/Path.h"

namespace pictavo::sound {
namespace {

void Put16(std::string& out, uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// RIFF sizes are 32 bits: a longer recording keeps its first 4 GB less the header.
constexpr uint64_t kMaxDataBytes = std::numeric_limits<uint32_t>::max() - 36u;

}  // namespace

std::string WaveFileWriter::Header(const media::AudioFormat& format, uint32_t dataBytes) {
  std::string h;
  h.reserve(44);
  const auto blockAlign = static_cast<uint32_t>(format.BytesPerFrame());
  h += "RIFF";
  Put32(h, 36u + dataBytes);
  h += "WAVEfmt ";
  Put32(h, 16);
  Put16(h, 1);  // PCM
  Put16(h, static_cast<uint32_t>(format.channels));
  Put32(h, static_cast<uint32_t>(format.sampleRate));
  Put32(h, static_cast<uint32_t>(format.sampleRate) * blockAlign);
  Put16(h, blockAlign);
  Put16(h, 16);
  h += "data";
  Put32(h, dataBytes);
  return h;
}

WaveFileWriter::~WaveFileWriter() {
  Abandon();
}

void WaveFileWriter::Fail(const std::string& what) {
  if (m_error.empty()) m_error = what + ": " + std::strerror(errno);
}

bool WaveFileWriter::Open(const std::string& target, const media::AudioFormat& format) {
  Abandon();
  m_error.clear();
  m_target = path::ToNative(target);
  m_format = format;
  m_dataBytes = 0;
  const std::string folder(path::FolderWithSeparator(m_target));
  std::string name = folder + "." + std::string(path::FileName(m_target)) + ".XXXXXX";
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    Fail("cannot create a file in " + (folder.empty() ? std::string(".") : folder));
    return false;
  }
  m_temporary = name;
  m_file = fdopen(fd, "wb");
  if (m_file == nullptr) {
    Fail("cannot write " + m_temporary);
    close(fd);
    unlink(m_temporary.c_str());
    return false;
  }
  const std::string header = Header(format, 0);
  if (std::fwrite(header.data(), 1, header.size(), m_file) != header.size())
    Fail("cannot write " + m_temporary);
  return m_error.empty();
}

void WaveFileWriter::Write(std::span<const int16_t> samples) {
  if (m_file == nullptr || !m_error.empty()) return;
  uint64_t bytes = samples.size_bytes();
  if (m_dataBytes + bytes > kMaxDataBytes)
    bytes = (kMaxDataBytes - m_dataBytes) / m_format.BytesPerFrame() * m_format.BytesPerFrame();
  if (bytes == 0) return;
  // Samples are kept little-endian on disk, as WAV wants; this machine's order is the same.
  static_assert(std::endian::native == std::endian::little);
  if (std::fwrite(samples.data(), 1, bytes, m_file) != bytes) {
    Fail("cannot write " + m_temporary);
    return;
  }
  m_dataBytes += bytes;
}

bool WaveFileWriter::Finish() {
  if (m_file == nullptr) {
    if (m_error.empty()) m_error = "no recording was started";
    return false;
  }
  const std::string header = Header(m_format, static_cast<uint32_t>(m_dataBytes));
  if (m_error.empty() && (std::fseek(m_file, 0, SEEK_SET) != 0 ||
                          std::fwrite(header.data(), 1, header.size(), m_file) != header.size() ||
                          std::fflush(m_file) != 0 || fsync(fileno(m_file)) != 0))
    Fail("cannot write " + m_temporary);
  if (std::fclose(m_file) != 0) Fail("cannot write " + m_temporary);
  m_file = nullptr;
  if (m_error.empty() && std::rename(m_temporary.c_str(), m_target.c_str()) != 0)
    Fail("cannot replace " + m_target);
  if (!m_error.empty()) unlink(m_temporary.c_str());
  m_temporary.clear();
  return m_error.empty();
}

void WaveFileWriter::Abandon() {
  if (m_file != nullptr) {
    std::fclose(m_file);
    m_file = nullptr;
  }
  if (!m_temporary.empty()) unlink(m_temporary.c_str());
  m_temporary.clear();
}

}  // namespace pictavo::sound
