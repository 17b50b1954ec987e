#include "modules/burn/VirtualRecorder.h"

#include <cstdarg>

namespace pictavo::burn {

VirtualRecorder::VirtualRecorder(VirtualRecorderSetup setup) : m_setup(std::move(setup)) {
  m_log = std::fopen(m_setup.logPath.c_str(), "w");
}

VirtualRecorder::~VirtualRecorder() {
  if (m_stream) std::fclose(m_stream);
  if (m_log) std::fclose(m_log);
}

void VirtualRecorder::Log(const char* format, ...) {
  if (!m_log) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(m_log, format, args);
  va_end(args);
  std::fputc('\n', m_log);
  std::fflush(m_log);
}

void VirtualRecorder::SetWritingMode(int mode) {
  Log("mode %d", mode);
}

void VirtualRecorder::SetCueSheet(std::span<const uint8_t> cueSheet) {
  std::string line = "cue";
  char hex[4];
  for (uint8_t b : cueSheet) {
    std::snprintf(hex, sizeof(hex), " %02X", b);
    line += hex;
  }
  Log("%s", line.c_str());
}

bool VirtualRecorder::Prepare(std::string& error) {
  Log("prepare");
  if (m_prepares++ < m_setup.failPrepare) {
    error = "The virtual recorder refused the set-up.";
    return false;
  }
  return true;
}

bool VirtualRecorder::Start(std::string& error) {
  Log("start");
  if (m_setup.failStart) {
    error = "The virtual recorder could not start.";
    return false;
  }
  m_stream = std::fopen(m_setup.streamPath.c_str(), "wb");
  return m_stream != nullptr;
}

bool VirtualRecorder::Write(uint32_t sectorsWritten, std::span<const uint8_t> data, std::string& error) {
  Log("write %u %zu", sectorsWritten, data.size());
  if (m_writes++ == m_setup.failWriteAt || !m_stream ||
      std::fwrite(data.data(), 1, data.size(), m_stream) != data.size()) {
    error = "The virtual recorder failed to write.";
    return false;
  }
  return true;
}

void VirtualRecorder::SetLeadoutStart(uint32_t sectors) {
  Log("leadout %u", sectors);
}

bool VirtualRecorder::Finish(std::string& error) {
  Log("finish");
  const bool closed = m_stream && std::fclose(m_stream) == 0;
  m_stream = nullptr;
  if (m_setup.failFinish || !closed) {
    error = "The virtual recorder could not close the disc.";
    return false;
  }
  return true;
}

void VirtualRecorder::Abort() {
  Log("abort");
  if (m_stream) std::fclose(m_stream);
  m_stream = nullptr;
}

}  // namespace pictavo::burn
