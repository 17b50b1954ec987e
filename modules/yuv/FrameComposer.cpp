#include "modules/yuv/FrameComposer.h"

#include <libyuv/convert.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "modules/yuv/Bt709Rows.h"
#include "modules/yuv/StreamFormat.h"
#include "platform/base/ErrorCodes.h"

namespace pictavo::yuv {

namespace {

// The planes start on a 64-byte boundary, with the frame marker right in front of them.
constexpr size_t kPlanesOffset = 64;
constexpr std::align_val_t kAlignment{64};

}  // namespace

Placement CenteredPlacement(int pictureWidth, int pictureHeight, int frameWidth, int frameHeight) {
  Placement p;
  p.width = std::min(pictureWidth, frameWidth);
  p.height = std::min(pictureHeight, frameHeight);
  p.sourceX = std::max(0, (pictureWidth - frameWidth) / 2);
  p.sourceY = std::max(0, (pictureHeight - frameHeight) / 2);
  p.targetX = std::max(0, (frameWidth - pictureWidth) / 2) & ~1;
  p.targetY = std::max(0, (frameHeight - pictureHeight) / 2) & ~1;
  return p;
}

void FrameComposer::BufferFree::operator()(uint8_t* p) const {
  ::operator delete[](p, kAlignment);
}

FrameComposer::FrameComposer() = default;
FrameComposer::~FrameComposer() = default;

DWORD FrameComposer::Init(int width, int height, COLORREF background) {
  if (width <= 0 || height <= 0 || width > kMaxFrameSide || height > kMaxFrameSide)
    return ERROR_INVALID_PARAMETER;
  const int chromaWidth = (width + 1) / 2, chromaHeight = (height + 1) / 2;
  const size_t planes =
      static_cast<size_t>(width) * height + 2 * static_cast<size_t>(chromaWidth) * chromaHeight;
  if (kPlanesOffset + planes > m_capacity) {
    uint8_t* memory =
        static_cast<uint8_t*>(::operator new[](kPlanesOffset + planes, kAlignment, std::nothrow));
    if (!memory) return ERROR_NOT_ENOUGH_MEMORY;
    m_buffer.reset(memory);
    m_capacity = kPlanesOffset + planes;
    std::memcpy(memory + kPlanesOffset - kFrameMarkerSize, kFrameMarker, kFrameMarkerSize);
  }
  m_width = width;
  m_height = height;
  m_matrix = ColourOf(width, height).matrix;
  m_chromaWidth = chromaWidth;
  m_chromaHeight = chromaHeight;
  m_backgroundFor.reset();

  // The background goes through the same conversion as the pictures, so the two match exactly.
  const uint8_t block[2 * 2 * 3] = {
      GetBValue(background), GetGValue(background), GetRValue(background), GetBValue(background),
      GetGValue(background), GetRValue(background), GetBValue(background), GetGValue(background),
      GetRValue(background), GetBValue(background), GetGValue(background), GetRValue(background),
  };
  uint8_t y[4], u[1], v[1];
  uint8_t* const dst[3] = {y, u, v};
  const int dstStride[3] = {2, 1, 1};
  if (const DWORD error = Convert(block, 6, 2, 2, dst, dstStride); error != NO_ERROR) return error;
  m_background[0] = y[0];
  m_background[1] = u[0];
  m_background[2] = v[0];
  return NO_ERROR;
}

uint8_t* FrameComposer::Plane(int index) const {
  uint8_t* y = m_buffer.get() + kPlanesOffset;
  const size_t luma = static_cast<size_t>(m_width) * m_height;
  const size_t chroma = static_cast<size_t>(m_chromaWidth) * m_chromaHeight;
  return index == 0 ? y : index == 1 ? y + luma : y + luma + chroma;
}

std::span<const uint8_t> FrameComposer::FrameBytes() const {
  if (!m_buffer || m_width == 0) return {};
  const size_t planes =
      static_cast<size_t>(m_width) * m_height + 2 * static_cast<size_t>(m_chromaWidth) * m_chromaHeight;
  return {m_buffer.get() + kPlanesOffset - kFrameMarkerSize, kFrameMarkerSize + planes};
}

void FrameComposer::PaintBackground() {
  std::memset(Plane(0), m_background[0], static_cast<size_t>(m_width) * m_height);
  std::memset(Plane(1), m_background[1], static_cast<size_t>(m_chromaWidth) * m_chromaHeight);
  std::memset(Plane(2), m_background[2], static_cast<size_t>(m_chromaWidth) * m_chromaHeight);
}

DWORD FrameComposer::Convert(const uint8_t* firstRow, ptrdiff_t rowStep, int width, int height,
                             uint8_t* const dst[3], const int dstStride[3]) {
  // libyuv's "RGB24" is B, G, R in memory: a DIB's byte order. Each chroma sample is the mean of
  // its 2 x 2 block, the centred placement the stream header's C420jpeg names.
  if (rowStep < INT32_MIN || rowStep > INT32_MAX) return ERROR_INVALID_PARAMETER;
  if (m_matrix == ColourMatrix::kBt709) {
    // libyuv converts 24-bit pixels with the BT.601 matrix only.
    for (int y = 0; y < height; y += 2) {
      const uint8_t* above = firstRow + static_cast<ptrdiff_t>(y) * rowStep;
      const bool pair = y + 1 < height;
      Bt709RowPair(above, pair ? above + rowStep : above, dst[0] + static_cast<size_t>(y) * dstStride[0],
                   pair ? dst[0] + static_cast<size_t>(y + 1) * dstStride[0] : nullptr,
                   dst[1] + static_cast<size_t>(y / 2) * dstStride[1],
                   dst[2] + static_cast<size_t>(y / 2) * dstStride[2], width);
    }
    return NO_ERROR;
  }
  const int error = libyuv::RGB24ToI420(firstRow, static_cast<int>(rowStep), dst[0], dstStride[0], dst[1],
                                        dstStride[1], dst[2], dstStride[2], width, height);
  return error == 0 ? NO_ERROR : ERROR_INVALID_DATA;
}

DWORD FrameComposer::Compose(const uint8_t* bits, int width, int height, size_t stride, bool bottomUp) {
  if (!m_buffer || m_width == 0) return ERROR_INVALID_FUNCTION;
  if (!bits || width <= 0 || height <= 0 || width > kMaxFrameSide || height > kMaxFrameSide ||
      stride < static_cast<size_t>(width) * 3 || stride > static_cast<size_t>(INT32_MAX))
    return ERROR_INVALID_PARAMETER;

  const Placement p = CenteredPlacement(width, height, m_width, m_height);
  const bool coversFrame = p.width == m_width && p.height == m_height;
  if (!coversFrame && m_backgroundFor != p) PaintBackground();
  m_backgroundFor = p;

  // Row r from the top sits at r * stride, or at (height - 1 - r) * stride in a bottom-up picture.
  const ptrdiff_t step = bottomUp ? -static_cast<ptrdiff_t>(stride) : static_cast<ptrdiff_t>(stride);
  const size_t firstRow =
      bottomUp ? static_cast<size_t>(height - 1 - p.sourceY) : static_cast<size_t>(p.sourceY);
  const uint8_t* source = bits + firstRow * stride + static_cast<size_t>(p.sourceX) * 3;

  uint8_t* const dst[3] = {
      Plane(0) + static_cast<size_t>(p.targetY) * m_width + p.targetX,
      Plane(1) + static_cast<size_t>(p.targetY / 2) * m_chromaWidth + p.targetX / 2,
      Plane(2) + static_cast<size_t>(p.targetY / 2) * m_chromaWidth + p.targetX / 2,
  };
  const int dstStride[3] = {Stride(0), Stride(1), Stride(2)};
  const DWORD error = Convert(source, step, p.width, p.height, dst, dstStride);
  if (error != NO_ERROR) m_backgroundFor.reset();
  return error;
}

}  // namespace pictavo::yuv
