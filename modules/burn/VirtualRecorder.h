// A recorder without a drive: it logs every call and the cue sheet to a text file and stores the
// stream it receives in a file, so that tests see exactly what a drive would have been given.
// Failures can be injected per call.
#pragma once

#include <cstdio>
#include <string>

#include "modules/burn/Recorder.h"

namespace pictavo::burn {

struct VirtualRecorderSetup {
  std::string logPath;     // one line per call
  std::string streamPath;  // every byte written, in order
  bool raw = true;         // takes scrambled raw sectors
  int failPrepare = 0;     // how many Prepare calls fail first (2: both writing modes)
  bool failStart = false;
  int failWriteAt = -1;  // the Write call (from 0) that fails; -1 none
  bool failFinish = false;
};

class VirtualRecorder final : public Recorder {
 public:
  explicit VirtualRecorder(VirtualRecorderSetup setup);
  ~VirtualRecorder() override;

  std::string Name() const override { return "Virtual recorder"; }
  bool TakesRawSectors() const override { return m_setup.raw; }
  void SetWritingMode(int mode) override;
  void SetCueSheet(std::span<const uint8_t> cueSheet) override;
  bool Prepare(std::string& error) override;
  bool Start(std::string& error) override;
  bool Write(uint32_t sectorsWritten, std::span<const uint8_t> data, std::string& error) override;
  void SetLeadoutStart(uint32_t sectors) override;
  bool Finish(std::string& error) override;
  void Abort() override;

 private:
  void Log(const char* format, ...) __attribute__((format(printf, 2, 3)));

  VirtualRecorderSetup m_setup;
  FILE* m_log = nullptr;
  FILE* m_stream = nullptr;
  int m_prepares = 0;
  int m_writes = 0;
};

}  // namespace pictavo::burn
