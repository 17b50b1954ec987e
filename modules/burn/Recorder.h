// One CD recorder as the burning engine drives it for session-at-once writing. The engine holds a
// list of them: cdrdao-driven drives found at start, or the virtual recorders tests install.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace pictavo::burn {

class Recorder {
 public:
  virtual ~Recorder() = default;

  virtual std::string Name() const = 0;
  // True when the recorder takes scrambled 2,352-byte sectors whose headers carry their disc
  // address; otherwise it takes the image's sectors as they are.
  virtual bool TakesRawSectors() const = 0;
  virtual void SetWritingMode(int mode) = 0;
  virtual void SetCueSheet(std::span<const uint8_t> cueSheet) = 0;
  // Each returns false with a one-line reason in `error` (shown to the user).
  virtual bool Prepare(std::string& error) = 0;
  virtual bool Start(std::string& error) = 0;
  virtual bool Write(uint32_t sectorsWritten, std::span<const uint8_t> data, std::string& error) = 0;
  virtual void SetLeadoutStart(uint32_t sectors) = 0;
  virtual bool Finish(std::string& error) = 0;
  // Ends a write that will not be finished (stop, failure): the recorder is left idle.
  virtual void Abort() = 0;
};

}  // namespace pictavo::burn
