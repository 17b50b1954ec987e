// ffmpeg's machine-readable progress report (`-progress pipe:1`): blocks of `key=value` lines,
// each ended by `progress=continue`, the last one by `progress=end`.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace pictavo::encoders {

struct Progress {
  uint64_t frames = 0;    // frames encoded into the output so far
  uint64_t bytes = 0;     // bytes written to the output so far
  int64_t outTimeUs = 0;  // the output's length so far, in microseconds
  bool finished = false;  // the last report of the run
};

class FfmpegProgressParser {
 public:
  // Takes one line; returns the report when the line ends a block. Values ffmpeg cannot tell yet
  // ("N/A") keep the previous ones.
  std::optional<Progress> Feed(std::string_view line);
  void Reset() { m_current = {}; }

 private:
  Progress m_current;
};

}  // namespace pictavo::encoders
