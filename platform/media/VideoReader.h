// Decodes the video of a file to 32-bit frames (bytes B, G, R, X; top-down rows), scaled to a
// requested size: the frame shown at a given time, or one frame after another for playback.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/media/MediaTypes.h"

namespace pictavo::gdi {
class Surface;
}

namespace pictavo::media {

struct VideoFrame {
  int width = 0;
  int height = 0;
  MediaTime time{};              // when the frame is shown
  MediaTime duration{};          // how long it stays (until the next frame)
  std::vector<uint32_t> pixels;  // width x height 0xXXRRGGBB words, top row first, X = 0xFF

  uint32_t Pixel(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// A BITMAPINFO header describing a frame's pixels (32 bits, top-down) for SetDIBitsToDevice and
// StretchDIBits.
BITMAPINFO FrameBitmapInfo(const VideoFrame& frame);
// A 32-bit top-down DIB section holding a copy of the frame; null (last error set) on failure.
HBITMAP CreateFrameDib(const VideoFrame& frame);

enum class VideoResult { kFrame, kEnd, kError };

// One reader is used by one thread at a time.
class VideoReader {
 public:
  // Null, with *error filled and the last error set, for a missing, damaged or unsupported file
  // or one without video (a cover picture in a music file is not video).
  [[nodiscard]] static std::unique_ptr<VideoReader> Open(std::string_view path, MediaError* error = nullptr);
  ~VideoReader();
  VideoReader(const VideoReader&) = delete;
  VideoReader& operator=(const VideoReader&) = delete;

  const MediaInfo& Info() const;

  // Makes the next NextFrame the frame on screen at `time`: the last one that starts at or before
  // it (the first frame for earlier times, the last for later ones). Moving forward a little
  // decodes on; anything else seeks to the key frame before `time` and decodes from there.
  [[nodiscard]] bool Seek(MediaTime time);
  // The next frame in presentation order, scaled to width x height (the video's own size when
  // either is 0). kEnd after the last frame; kError (Error() tells) when the file cannot be read.
  [[nodiscard]] VideoResult NextFrame(VideoFrame& frame, int width = 0, int height = 0);
  // Seek(time) and NextFrame.
  [[nodiscard]] VideoResult FrameAt(MediaTime time, VideoFrame& frame, int width = 0, int height = 0);
  // The frame on screen at `time`, scaled to the whole surface and written into its pixels.
  [[nodiscard]] VideoResult FrameAt(MediaTime time, gdi::Surface& target);

  const MediaError& Error() const;

 private:
  struct State;
  explicit VideoReader(std::unique_ptr<State> state);
  std::unique_ptr<State> m;
};

}  // namespace pictavo::media
