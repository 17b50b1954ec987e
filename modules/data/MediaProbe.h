// What the data model reads of music and video files without decoding them: lengths, frame
// sizes and rates, through the FFmpeg libraries.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pictavo::data {

struct MediaFacts {
  int64_t durationMs = 0;  // the longest stream's, 0 when unknown
  bool hasAudio = false;
  bool hasVideo = false;
  int width = 0;  // of the first video stream
  int height = 0;
  double frameRate = 0;
  bool dvVideo = false;  // the video stream is DV
};

// Nothing for a file FFmpeg cannot open or read a stream of.
std::optional<MediaFacts> ProbeMedia(const std::string& path);

}  // namespace pictavo::data
