// One YUV 4:2:0 frame of the output size, composed from 24-bit BGR pictures through libyuv.
//
// The frame lives in one buffer laid out as the stream carries it: the frame marker directly
// followed by the Y, U and V planes (no padding), so a frame goes out in a single write and is
// never copied. Pictures are converted straight into the planes: a bottom-up picture is read with
// a negative stride instead of being flipped, and a picture smaller than the frame is converted
// into the middle of planes that already hold the background colour (painted again only when
// the placement changes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "modules/yuv/StreamFormat.h"
#include "platform/base/WinTypes.h"

namespace pictavo::yuv {

// Where a picture goes in the frame: its visible part (the middle, when it is larger than the
// frame) and the top-left corner that part lands on. Rows count from the top. The corner is on
// even coordinates so the picture starts on a chroma sample.
struct Placement {
  int sourceX = 0, sourceY = 0;
  int targetX = 0, targetY = 0;
  int width = 0, height = 0;
  friend bool operator==(const Placement&, const Placement&) = default;
};
[[nodiscard]] Placement CenteredPlacement(int pictureWidth, int pictureHeight, int frameWidth,
                                          int frameHeight);

// The largest frame side accepted.
inline constexpr int kMaxFrameSide = 16384;

class FrameComposer {
 public:
  FrameComposer();
  ~FrameComposer();
  FrameComposer(const FrameComposer&) = delete;
  FrameComposer& operator=(const FrameComposer&) = delete;

  // Sets the frame size and the background colour, (re)allocating the frame when the size
  // changes; the frame size picks the colour matrix (ColourOf). Returns NO_ERROR or the platform error.
  [[nodiscard]] DWORD Init(int width, int height, COLORREF background);
  // Converts a picture into the frame: `bits` holds `height` rows of `width` BGR pixels, `stride`
  // bytes apart, the bottom row first when `bottomUp` (a DIB). Returns NO_ERROR or the error.
  [[nodiscard]] DWORD Compose(const uint8_t* bits, int width, int height, size_t stride, bool bottomUp);

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // The frame as the stream carries it: marker, Y, U, V.
  std::span<const uint8_t> FrameBytes() const;
  // The background colour's Y, U and V values.
  const uint8_t* BackgroundSamples() const { return m_background; }

 private:
  struct BufferFree {
    void operator()(uint8_t* p) const;
  };

  uint8_t* Plane(int index) const;
  int Stride(int index) const { return index == 0 ? m_width : m_chromaWidth; }
  void PaintBackground();
  [[nodiscard]] DWORD Convert(const uint8_t* firstRow, ptrdiff_t rowStep, int width, int height,
                              uint8_t* const dst[3], const int dstStride[3]);

  int m_width = 0, m_height = 0;
  ColourMatrix m_matrix = ColourMatrix::kBt601;
  int m_chromaWidth = 0, m_chromaHeight = 0;
  std::unique_ptr<uint8_t, BufferFree> m_buffer;
  size_t m_capacity = 0;
  uint8_t m_background[3] = {16, 128, 128};
  std::optional<Placement> m_backgroundFor;  // the planes hold the background outside this placement
};

}  // namespace pictavo::yuv
