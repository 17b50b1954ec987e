#include "modules/yuv/FrameComposer.h"

#include <libyuv/convert.h>
#include <libyuv/planar_functions.h>

#include <algorithm>
#include <cstring>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "modules/yuv/StreamFormat.h"
#include "platform/base/ErrorCodes.h"

namespace pictavo::yuv {

namespace {

// The planes start on a 64-byte boundary, with the frame marker right in front of them.
constexpr size_t kPlanesOffset = 64;
constexpr std::align_val_t kAlignment{64};

// BT.709 limited range (Y 16-235, U and V 128 +- 112) with weights in 256ths: the rows of U and
// V sum to zero, so greys stay exactly neutral, and every sum fits 16 bits, which lets the
// compiler convert many pixels at a time. Y is within half a level of the exact value.
void Bt709Luma(const uint8_t* r, const uint8_t* g, const uint8_t* b, uint8_t* y, int n) {
  int x = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i kr = _mm_set1_epi16(47), kg = _mm_set1_epi16(157), kb = _mm_set1_epi16(16);
  const __m128i half = _mm_set1_epi16(128), offset = _mm_set1_epi8(16);
  const auto weigh = [&](__m128i r16, __m128i g16, __m128i b16) {
    const __m128i sum = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(r16, kr), _mm_mullo_epi16(g16, kg)),
                                      _mm_add_epi16(_mm_mullo_epi16(b16, kb), half));
    return _mm_srli_epi16(sum, 8);
  };
  for (; x + 16 <= n; x += 16) {
    const __m128i rr = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r + x));
    const __m128i gg = _mm_loadu_si128(reinterpret_cast<const __m128i*>(g + x));
    const __m128i bb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x));
    const __m128i lo =
        weigh(_mm_unpacklo_epi8(rr, zero), _mm_unpacklo_epi8(gg, zero), _mm_unpacklo_epi8(bb, zero));
    const __m128i hi =
        weigh(_mm_unpackhi_epi8(rr, zero), _mm_unpackhi_epi8(gg, zero), _mm_unpackhi_epi8(bb, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(y + x), _mm_add_epi8(_mm_packus_epi16(lo, hi), offset));
  }
#endif
  for (; x < n; ++x) y[x] = static_cast<uint8_t>(((47 * r[x] + 157 * g[x] + 16 * b[x] + 128) >> 8) + 16);
}

// Each chroma sample from the mean of its 2 x 2 block (the last column of an odd width counts
// twice).
void Bt709Chroma(const uint8_t* const above[3], const uint8_t* const below[3], uint8_t* u, uint8_t* v,
                 int width) {
  const auto mean = [&](int plane, int x0, int x1) {
    return (above[plane][x0] + above[plane][x1] + below[plane][x0] + below[plane][x1] + 2) >> 2;
  };
  const int pairs = width / 2;
  int c = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i ones = _mm_set1_epi16(1), two = _mm_set1_epi16(2), half = _mm_set1_epi16(128);
  // The means of eight blocks of one plane from sixteen columns of both rows.
  const auto means = [&](int plane, int x) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(above[plane] + x));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(below[plane] + x));
    const __m128i lo =
        _mm_madd_epi16(_mm_add_epi16(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero)), ones);
    const __m128i hi =
        _mm_madd_epi16(_mm_add_epi16(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero)), ones);
    return _mm_srli_epi16(_mm_add_epi16(_mm_packs_epi32(lo, hi), two), 2);
  };
  const auto weigh = [&](__m128i r, __m128i g, __m128i b, int wr, int wg, int wb) {
    const __m128i sum =
        _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(r, _mm_set1_epi16(static_cast<short>(wr))),
                                    _mm_mullo_epi16(g, _mm_set1_epi16(static_cast<short>(wg)))),
                      _mm_add_epi16(_mm_mullo_epi16(b, _mm_set1_epi16(static_cast<short>(wb))), half));
    return _mm_add_epi16(_mm_srai_epi16(sum, 8), half);
  };
  for (; 2 * c + 16 <= width && c + 8 <= pairs; c += 8) {
    const __m128i r = means(0, 2 * c), g = means(1, 2 * c), b = means(2, 2 * c);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(u + c),
                     _mm_packus_epi16(weigh(r, g, b, -26, -86, 112), zero));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(v + c),
                     _mm_packus_epi16(weigh(r, g, b, 112, -102, -10), zero));
  }
#endif
  for (; c < pairs; ++c) {
    const int r = mean(0, 2 * c, 2 * c + 1), g = mean(1, 2 * c, 2 * c + 1), b = mean(2, 2 * c, 2 * c + 1);
    u[c] = static_cast<uint8_t>(((112 * b - 26 * r - 86 * g + 128) >> 8) + 128);
    v[c] = static_cast<uint8_t>(((112 * r - 102 * g - 10 * b + 128) >> 8) + 128);
  }
  if (width % 2 != 0) {
    const int r = mean(0, width - 1, width - 1), g = mean(1, width - 1, width - 1),
              b = mean(2, width - 1, width - 1);
    u[pairs] = static_cast<uint8_t>(((112 * b - 26 * r - 86 * g + 128) >> 8) + 128);
    v[pairs] = static_cast<uint8_t>(((112 * r - 102 * g - 10 * b + 128) >> 8) + 128);
  }
}

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
    // libyuv converts 24-bit pixels with the BT.601 matrix only: the rows are split into planes
    // (libyuv, fast) and converted here. libyuv's RGB plane order is our B, G, R.
    const size_t w = static_cast<size_t>(width);
    if (m_rows.size() < 6 * w) m_rows.resize(6 * w);
    uint8_t* const rows = m_rows.data();
    const uint8_t* const above[3] = {rows + 2 * w, rows + w, rows};
    const uint8_t* const below[3] = {rows + 5 * w, rows + 4 * w, rows + 3 * w};
    for (int y = 0; y < height; y += 2) {
      const bool pair = y + 1 < height;
      const uint8_t* source = firstRow + static_cast<ptrdiff_t>(y) * rowStep;
      libyuv::SplitRGBPlane(source, static_cast<int>(rowStep), rows, 0, rows + w, 0, rows + 2 * w, 0, width,
                            1);
      if (pair)
        libyuv::SplitRGBPlane(source + rowStep, static_cast<int>(rowStep), rows + 3 * w, 0, rows + 4 * w, 0,
                              rows + 5 * w, 0, width, 1);
      const uint8_t* const* second = pair ? below : above;
      Bt709Luma(above[0], above[1], above[2], dst[0] + static_cast<size_t>(y) * dstStride[0], width);
      if (pair)
        Bt709Luma(below[0], below[1], below[2], dst[0] + static_cast<size_t>(y + 1) * dstStride[0], width);
      Bt709Chroma(above, second, dst[1] + static_cast<size_t>(y / 2) * dstStride[1],
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
