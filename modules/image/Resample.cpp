#include "modules/image/Resample.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pictavo::image {
namespace {

constexpr int kShift = 14;
constexpr int32_t kOne = 1 << kShift;
constexpr int32_t kHalf = 1 << (kShift - 1);

inline BYTE Clamp8(int32_t v) {
  return static_cast<BYTE>(v < 0 ? 0 : v > 255 ? 255 : v);
}

double Triangle(double t) {
  t = std::fabs(t);
  return t < 1.0 ? 1.0 - t : 0.0;
}

// Catmull-Rom: sharp, no ringing to speak of, passes through the samples.
double CatmullRom(double t) {
  constexpr double a = -0.5;
  t = std::fabs(t);
  if (t < 1.0) return ((a + 2.0) * t - (a + 3.0)) * t * t + 1.0;
  if (t < 2.0) return ((a * t - 5.0 * a) * t + 8.0 * a) * t - 4.0 * a;
  return 0.0;
}

// Weights of one axis: output i reads `taps` source samples from first[i].
struct Axis {
  int taps = 0;
  std::vector<int> first;
  std::vector<int16_t> weights;  // taps per output, fixed point, each group sums to kOne
  // The same weights two by two, packed as 16-bit halves for pmaddwd; an odd last tap is paired
  // with a zero weight on the sample after it.
  int pairCount = 0;
  std::vector<int32_t> pairs;
};

Axis BuildAxis(int src, int dst, Filter filter) {
  const double support = filter == Filter::Bicubic ? 2.0 : 1.0;
  const double widen = std::max(1.0, static_cast<double>(src) / dst);
  const double radius = support * widen;
  const auto kernel = filter == Filter::Bicubic ? CatmullRom : Triangle;

  // First pass: real weights per output over clamped source indices.
  struct Span {
    int lo, hi;
    std::vector<double> w;  // indexed from lo
  };
  std::vector<Span> spans(dst);
  int taps = 1;
  for (int o = 0; o < dst; ++o) {
    const double center = (o + 0.5) * src / dst;
    const int lo = static_cast<int>(std::floor(center - radius));
    const int hi = static_cast<int>(std::ceil(center + radius));
    Span& s = spans[o];
    s.lo = std::max(0, lo);
    s.hi = std::min(src - 1, hi);
    s.w.assign(s.hi - s.lo + 1, 0.0);
    double sum = 0;
    for (int i = lo; i <= hi; ++i) {
      const double w = kernel((i + 0.5 - center) / widen);
      if (w == 0.0) continue;
      s.w[std::clamp(i, 0, src - 1) - s.lo] += w;  // edges repeat the border pixel
      sum += w;
    }
    if (sum == 0.0) {  // cannot happen with these kernels, but never divide by zero
      s.w.assign(s.w.size(), 0.0);
      s.w[std::min<size_t>(static_cast<size_t>(std::clamp(static_cast<int>(center), s.lo, s.hi) - s.lo),
                           s.w.size() - 1)] = 1.0;
      sum = 1.0;
    }
    for (double& w : s.w) w /= sum;
    // Trim zero weights at both ends.
    while (s.lo < s.hi && s.w.front() == 0.0) s.w.erase(s.w.begin()), ++s.lo;
    while (s.hi > s.lo && s.w.back() == 0.0) s.w.pop_back(), --s.hi;
    taps = std::max(taps, s.hi - s.lo + 1);
  }

  Axis axis;
  axis.taps = taps;
  axis.first.resize(dst);
  axis.weights.assign(static_cast<size_t>(dst) * taps, 0);
  for (int o = 0; o < dst; ++o) {
    const Span& s = spans[o];
    const int first = std::min(s.lo, src - taps);
    axis.first[o] = first;
    int16_t* w = &axis.weights[static_cast<size_t>(o) * taps];
    int32_t total = 0, largest = 0;
    for (size_t k = 0; k < s.w.size(); ++k) {
      const int slot = s.lo - first + static_cast<int>(k);
      w[slot] = static_cast<int16_t>(std::lround(s.w[k] * kOne));
      total += w[slot];
      if (std::abs(w[slot]) > std::abs(w[largest])) largest = slot;
    }
    w[largest] = static_cast<int16_t>(w[largest] + (kOne - total));  // exact unity gain
  }
  axis.pairCount = (taps + 1) / 2;
  axis.pairs.assign(static_cast<size_t>(dst) * axis.pairCount, 0);
  for (int o = 0; o < dst; ++o) {
    const int16_t* w = &axis.weights[static_cast<size_t>(o) * taps];
    for (int t = 0; t < taps; ++t) {
      const auto bits = static_cast<uint32_t>(static_cast<uint16_t>(w[t])) << (t % 2 ? 16 : 0);
      axis.pairs[static_cast<size_t>(o) * axis.pairCount + t / 2] |= static_cast<int32_t>(bits);
    }
  }
  return axis;
}

// Bytes after a row's last sample that the horizontal pass may read (at zero weight).
constexpr size_t kRowSlack = 16;

// The horizontal pass over one row held in a buffer with kRowSlack bytes after it.
template <int C>
void FilterRow(const BYTE* src, BYTE* dst, int dstWidth, const Axis& ax) {
#if defined(__SSE2__)
  if constexpr (C == 3) {
    // One output pixel at a time, its three channels in the lanes of one register: two
    // neighbouring samples are interleaved channel by channel and weighted in one pmaddwd.
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi32(kHalf);
    for (int o = 0; o < dstWidth; ++o, dst += 3) {
      const BYTE* s = src + static_cast<size_t>(ax.first[o]) * 3;
      const int32_t* pair = &ax.pairs[static_cast<size_t>(o) * ax.pairCount];
      __m128i acc = half;
      for (int p = 0; p < ax.pairCount; ++p, s += 6) {
        int32_t a, b;
        std::memcpy(&a, s, 4);
        std::memcpy(&b, s + 3, 4);
        const __m128i mixed = _mm_unpacklo_epi8(_mm_cvtsi32_si128(a), _mm_cvtsi32_si128(b));
        acc = _mm_add_epi32(acc, _mm_madd_epi16(_mm_unpacklo_epi8(mixed, zero), _mm_set1_epi32(pair[p])));
      }
      const __m128i words = _mm_packs_epi32(_mm_srai_epi32(acc, kShift), zero);
      const int32_t bgr = _mm_cvtsi128_si32(_mm_packus_epi16(words, zero));
      std::memcpy(dst, &bgr, 3);
    }
    return;
  }
#endif
  const int taps = ax.taps;
  for (int o = 0; o < dstWidth; ++o, dst += C) {
    const BYTE* s = src + static_cast<size_t>(ax.first[o]) * C;
    const int16_t* w = &ax.weights[static_cast<size_t>(o) * taps];
    int32_t acc[C];
    for (int c = 0; c < C; ++c) acc[c] = kHalf;
    for (int t = 0; t < taps; ++t, s += C)
      for (int c = 0; c < C; ++c) acc[c] += s[c] * w[t];
    for (int c = 0; c < C; ++c) dst[c] = Clamp8(acc[c] >> kShift);
  }
}

// Rows and weights of one output row of the vertical pass, zero weights left out and the count
// made even.
struct Taps {
  std::vector<const BYTE*> rows;
  std::vector<int16_t> weights;

  void Collect(const BYTE* src, size_t stride, const Axis& ay, int y) {
    rows.clear();
    weights.clear();
    const int16_t* w = &ay.weights[static_cast<size_t>(y) * ay.taps];
    for (int t = 0; t < ay.taps; ++t) {
      if (w[t] == 0) continue;
      rows.push_back(src + stride * (ay.first[y] + t));
      weights.push_back(w[t]);
    }
    if (rows.size() % 2) {
      rows.push_back(rows.back());
      weights.push_back(0);
    }
  }
};

// Weighted sum of whole rows into `out` (n bytes): the vertical pass. With SSE2 (every x86-64),
// 16 bytes at a time: two rows' bytes are interleaved as 16-bit pairs and multiplied by their
// two weights and summed in one step (pmaddwd); the result is narrowed back to bytes with
// saturation, which is the clamp to 0..255.
void FilterColumns(const Taps& taps, BYTE* out, size_t n) {
  const BYTE* const* rows = taps.rows.data();
  const int16_t* weights = taps.weights.data();
  const int count = static_cast<int>(taps.rows.size());
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i half = _mm_set1_epi32(kHalf);
  for (; i + 16 <= n; i += 16) {
    __m128i acc0 = half, acc1 = half, acc2 = half, acc3 = half;
    for (int t = 0; t < count; t += 2) {
      const auto packed = static_cast<uint32_t>(static_cast<uint16_t>(weights[t])) |
                          static_cast<uint32_t>(static_cast<uint16_t>(weights[t + 1])) << 16;
      const __m128i pair = _mm_set1_epi32(static_cast<int32_t>(packed));
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[t] + i));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[t + 1] + i));
      const __m128i lo = _mm_unpacklo_epi8(a, b), hi = _mm_unpackhi_epi8(a, b);  // a0 b0 a1 b1 ...
      acc0 = _mm_add_epi32(acc0, _mm_madd_epi16(_mm_unpacklo_epi8(lo, zero), pair));
      acc1 = _mm_add_epi32(acc1, _mm_madd_epi16(_mm_unpackhi_epi8(lo, zero), pair));
      acc2 = _mm_add_epi32(acc2, _mm_madd_epi16(_mm_unpacklo_epi8(hi, zero), pair));
      acc3 = _mm_add_epi32(acc3, _mm_madd_epi16(_mm_unpackhi_epi8(hi, zero), pair));
    }
    const __m128i words0 = _mm_packs_epi32(_mm_srai_epi32(acc0, kShift), _mm_srai_epi32(acc1, kShift));
    const __m128i words1 = _mm_packs_epi32(_mm_srai_epi32(acc2, kShift), _mm_srai_epi32(acc3, kShift));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(words0, words1));
  }
#endif
  for (; i < n; ++i) {
    int32_t acc = kHalf;
    for (int t = 0; t < count; ++t) acc += rows[t][i] * weights[t];
    out[i] = Clamp8(acc >> kShift);
  }
}

// Separable filter of one plane with C bytes per pixel. Rows are in storage order; the mapping
// is symmetric, so bottom-up storage gives the same picture as top-down. The vertical pass runs
// over whole rows and is cheap, the horizontal one per pixel: when shrinking vertically, rows
// are combined first so the horizontal pass sees only the output rows; otherwise each source
// row is narrowed first.
template <int C>
void FilterPlane(const BYTE* src, size_t srcStride, int srcW, int srcH, BYTE* dst, size_t dstStride, int dstW,
                 int dstH, Filter filter) {
  const Axis ax = BuildAxis(srcW, dstW, filter);
  const Axis ay = BuildAxis(srcH, dstH, filter);
  const size_t srcBytes = static_cast<size_t>(srcW) * C;
  std::vector<BYTE> line(srcBytes + kRowSlack, 0);
  Taps taps;
  if (dstH <= srcH) {
    for (int y = 0; y < dstH; ++y) {
      taps.Collect(src, srcStride, ay, y);
      FilterColumns(taps, line.data(), srcBytes);
      FilterRow<C>(line.data(), dst + dstStride * y, dstW, ax);
    }
    return;
  }
  const size_t tmpStride = static_cast<size_t>(dstW) * C;
  std::vector<BYTE> tmp(tmpStride * srcH);
  for (int y = 0; y < srcH; ++y) {
    std::memcpy(line.data(), src + srcStride * y, srcBytes);
    FilterRow<C>(line.data(), tmp.data() + tmpStride * y, dstW, ax);
  }
  for (int y = 0; y < dstH; ++y) {
    taps.Collect(tmp.data(), tmpStride, ay, y);
    FilterColumns(taps, dst + dstStride * y, tmpStride);
  }
}

std::vector<int> NearestMap(int src, int dst) {
  std::vector<int> map(dst);
  for (int o = 0; o < dst; ++o)
    map[o] = static_cast<int>(std::min<int64_t>(src - 1, (int64_t{2} * o + 1) * src / (int64_t{2} * dst)));
  return map;
}

template <int C>
void NearestPlane(const BYTE* src, size_t srcStride, int srcW, int srcH, BYTE* dst, size_t dstStride,
                  int dstW, int dstH) {
  const std::vector<int> xs = NearestMap(srcW, dstW);
  const std::vector<int> ys = NearestMap(srcH, dstH);
  int lastY = -1;
  for (int y = 0; y < dstH; ++y) {
    BYTE* out = dst + dstStride * y;
    if (ys[y] == lastY) {  // enlarging: the row repeats
      std::memcpy(out, out - dstStride, static_cast<size_t>(dstW) * C);
      continue;
    }
    lastY = ys[y];
    const BYTE* in = src + srcStride * ys[y];
    for (int x = 0; x < dstW; ++x) {
      const BYTE* p = in + static_cast<size_t>(xs[x]) * C;
      for (int c = 0; c < C; ++c) out[x * C + c] = p[c];
    }
  }
}

}  // namespace

bool ResampleRaster(const Raster& src, int width, int height, Filter filter, Raster& dst,
                    std::string& error) {
  if (!src.IsValid()) {
    error = "no picture";
    return false;
  }
  if (!dst.Allocate(width, height, false, error)) return false;
  if (src.HasAlpha() && !dst.AllocateAlphaUninitialised()) {
    error = "out of memory";
    dst.Reset();
    return false;
  }
  const int sw = src.Width(), sh = src.Height();
  if (filter == Filter::Nearest || (sw == width && sh == height)) {
    NearestPlane<3>(src.Pixels(), src.Stride(), sw, sh, dst.Pixels(), dst.Stride(), width, height);
    if (src.HasAlpha()) NearestPlane<1>(src.Alpha(), sw, sw, sh, dst.Alpha(), width, width, height);
  } else {
    FilterPlane<3>(src.Pixels(), src.Stride(), sw, sh, dst.Pixels(), dst.Stride(), width, height, filter);
    if (src.HasAlpha()) FilterPlane<1>(src.Alpha(), sw, sw, sh, dst.Alpha(), width, width, height, filter);
  }
  dst.ZeroPadding();
  return true;
}

}  // namespace pictavo::image
