// A drive written through cdrdao: the image's sectors go unchanged to cdrdao's standard input
// (a FIFO), described by a TOC made from the raw cue sheet.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "modules/burn/Recorder.h"

namespace pictavo::burn {

class CdrdaoRecorder final : public Recorder {
 public:
  CdrdaoRecorder(std::string program, std::string device);
  ~CdrdaoRecorder() override;

  std::string Name() const override { return m_device; }
  bool TakesRawSectors() const override { return false; }
  void SetWritingMode(int mode) override { m_mode = mode; }
  void SetCueSheet(std::span<const uint8_t> cueSheet) override;
  bool Prepare(std::string& error) override;
  bool Start(std::string& error) override;
  bool Write(uint32_t sectorsWritten, std::span<const uint8_t> data, std::string& error) override;
  void SetLeadoutStart(uint32_t sectors) override { m_leadout = sectors; }
  bool Finish(std::string& error) override;
  void Abort() override;

  // The TOC cdrdao is given for a raw cue sheet: one MODE2_RAW track per track entry read from
  // standard input, with its pregap as part of the data. Empty when the sheet has no lead-out.
  static std::string TocFromCueSheet(std::span<const uint8_t> cueSheet);

 private:
  std::string m_program;
  std::string m_device;
  std::vector<uint8_t> m_cueSheet;
  std::string m_folder;  // holds the TOC and the FIFO while writing
  int m_mode = 1;
  uint32_t m_leadout = 0;
  pid_t m_child = -1;
  int m_fifo = -1;
};

// The recorders cdrdao can see: every /dev/sr* that `cdrdao drive-info` answers for. None when
// cdrdao is not installed.
std::vector<std::string> FindCdrdaoDrives(const std::string& program);

}  // namespace pictavo::burn
