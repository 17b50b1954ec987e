#include "modules/effects/Sampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Every path computes a sample the same way, so results never depend on which path a pixel
// took: the two source rows are weighed first with 7-bit weights (fy = 0..127 of 128), the two
// columns then with 8-bit weights (fx = 0..255 of 256), and the sum (at most 255 * 2^15) is
// rounded once. Whole-pixel positions give the source pixel exactly.

namespace pictavo::effects {

namespace {

constexpr int64_t kOne = int64_t{1} << 16;

inline int WeightX(int64_t u) {
  return static_cast<int>((u >> 8) & 255);
}
inline int WeightY(int64_t v) {
  return static_cast<int>((v >> 9) & 127);
}
inline BYTE Round15(int32_t sum) {
  return static_cast<BYTE>((sum + 16384) >> 15);
}

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if (a % b != 0 && ((a < 0) != (b < 0))) --q;
  return q;
}

int64_t CeilDiv(int64_t a, int64_t b) {
  return -FloorDiv(-a, b);
}

// Narrows [lo, hi) to the x for which minValue <= p + x * dp <= maxValue.
void Clip(int64_t p, int64_t dp, int64_t minValue, int64_t maxValue, int64_t& lo, int64_t& hi) {
  if (dp == 0) {
    if (p < minValue || p > maxValue) hi = lo;
    return;
  }
  if (dp > 0) {
    lo = std::max(lo, CeilDiv(minValue - p, dp));
    hi = std::min(hi, FloorDiv(maxValue - p, dp) + 1);
  } else {
    lo = std::max(lo, CeilDiv(maxValue - p, dp));
    hi = std::min(hi, FloorDiv(minValue - p, dp) + 1);
  }
}

// A pixel near the edge: neighbours outside the picture are the pixel beneath.
inline void SampleEdge(const SourceView& s, int64_t u, int64_t v, const BYTE* under, BYTE* out) {
  const int64_t ix = u >> 16;
  const int64_t iy = v >> 16;
  if (ix < -1 || iy < -1 || ix >= s.width || iy >= s.height) {
    if (out != under) std::memcpy(out, under, 3);
    return;
  }
  const int fx = WeightX(u);
  const int fy = WeightY(v);
  const BYTE* neighbours[4];
  for (int k = 0; k < 4; ++k) {
    const int64_t x = ix + (k & 1);
    const int64_t y = iy + (k >> 1);
    neighbours[k] = (x >= 0 && y >= 0 && x < s.width && y < s.height)
                        ? s.top + static_cast<ptrdiff_t>(y) * s.step + static_cast<ptrdiff_t>(x) * 3
                        : under;
  }
  BYTE result[3];
  for (int c = 0; c < 3; ++c) {
    const int32_t left = neighbours[0][c] * (128 - fy) + neighbours[2][c] * fy;
    const int32_t right = neighbours[1][c] * (128 - fy) + neighbours[3][c] * fy;
    result[c] = Round15(left * (256 - fx) + right * fx);
  }
  std::memcpy(out, result, 3);
}

// Weighs two source rows into one of 16-bit values: upper * (128 - fy) + lower * fy.
void BlendRows(const BYTE* upper, const BYTE* lower, int16_t* out, int bytes, int fy) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i wu = _mm_set1_epi16(static_cast<short>(128 - fy));
  const __m128i wl = _mm_set1_epi16(static_cast<short>(fy));
  for (; i + 16 <= bytes; i += 16) {
    const __m128i u = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper + i));
    const __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                     _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(u, zero), wu),
                                   _mm_mullo_epi16(_mm_unpacklo_epi8(l, zero), wl)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8),
                     _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(u, zero), wu),
                                   _mm_mullo_epi16(_mm_unpackhi_epi8(l, zero), wl)));
  }
#endif
  for (; i < bytes; ++i) out[i] = static_cast<int16_t>(upper[i] * (128 - fy) + lower[i] * fy);
}

#if defined(__SSE2__)
// Weights as the vector operations take them: per fx the column pair (256 - fx, fx) in every
// 32-bit lane, per fy the row weights 128 - fy and fy in every 16-bit lane.
struct Weights {
  __m128i columns[256];
  __m128i upper[128];
  __m128i lower[128];
};

const Weights& WeightTables() {
  static const Weights tables = [] {
    Weights w;
    for (int fx = 0; fx < 256; ++fx)
      w.columns[fx] = _mm_set1_epi32(static_cast<int>((static_cast<uint32_t>(fx) << 16) | (256u - fx)));
    for (int fy = 0; fy < 128; ++fy) {
      w.upper[fy] = _mm_set1_epi16(static_cast<short>(128 - fy));
      w.lower[fy] = _mm_set1_epi16(static_cast<short>(fy));
    }
    return w;
  }();
  return tables;
}

// The sum of one pixel from its weighed columns (16-bit: left0 left1 left2 right0 right1 right2
// ...): left * (256 - fx) + right * fx in the first three 32-bit lanes (the fourth is spare).
inline __m128i MixColumns(__m128i weighed, __m128i columnWeights) {
  return _mm_madd_epi16(_mm_unpacklo_epi16(weighed, _mm_srli_si128(weighed, 6)), columnWeights);
}

// Rounds four pixels' sums and packs them into bytes, one pixel a 32-bit lane (the fourth byte
// spare). (sum + 2^14) >> 15 == ((sum >> 14) + 1) >> 1 for sums >= 0, which lets one average
// do the rounding for eight lanes.
inline __m128i RoundFour(__m128i s0, __m128i s1, __m128i s2, __m128i s3) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i a = _mm_avg_epu16(_mm_packs_epi32(_mm_srai_epi32(s0, 14), _mm_srai_epi32(s1, 14)), zero);
  const __m128i b = _mm_avg_epu16(_mm_packs_epi32(_mm_srai_epi32(s2, 14), _mm_srai_epi32(s3, 14)), zero);
  return _mm_packus_epi16(a, b);
}

// Stores four pixels of RoundFour as 12 bytes. Writes 14: the two after them must belong to a
// pixel written later.
inline void StoreFour(__m128i pixels, BYTE* out) {
  const __m128i first = _mm_set_epi32(0, 0x00FFFFFF, 0, 0x00FFFFFF);
  const __m128i second = _mm_set_epi32(0x00FFFFFF, 0, 0x00FFFFFF, 0);
  // Each half: its first pixel, then its second moved down one byte onto the spare one.
  const __m128i packed =
      _mm_or_si128(_mm_and_si128(pixels, first), _mm_srli_epi64(_mm_and_si128(pixels, second), 8));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), packed);
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 6), _mm_unpackhi_epi64(packed, packed));
}

// Stores one pixel's sum.
inline void StoreOne(__m128i sum, BYTE* out) {
  const uint32_t packed = static_cast<uint32_t>(_mm_cvtsi128_si32(RoundFour(sum, sum, sum, sum)));
  std::memcpy(out, &packed, 3);
}

inline __m128i Load4Bytes(const BYTE* p) {
  int32_t word;
  std::memcpy(&word, p, 4);
  return _mm_unpacklo_epi8(_mm_cvtsi32_si128(word), _mm_setzero_si128());
}

inline __m128i Load8Bytes(const BYTE* p) {
  return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), _mm_setzero_si128());
}
#endif

// Every neighbour inside the picture and one source row pair for the whole run: the two rows
// are weighed once for the columns the run reads, then each pixel only mixes two columns.
void SampleLevelRun(const SourceView& s, int64_t u, int64_t du, int64_t v, BYTE* out, int n) {
  const int fy = WeightY(v);
  const BYTE* upper = s.top + static_cast<ptrdiff_t>(v >> 16) * s.step;
  const BYTE* lower = upper + s.step;
  if (du == kOne && WeightX(u) == 0 && fy == 0) {  // whole pixels: a plain copy
    std::memcpy(out, upper + static_cast<ptrdiff_t>(u >> 16) * 3, static_cast<size_t>(n) * 3);
    return;
  }
  const int64_t uLast = u + (n - 1) * du;
  const int64_t first = std::min(u, uLast) >> 16;
  const int64_t last = (std::max(u, uLast) >> 16) + 1;  // the right neighbour of the last pixel
  const size_t bytes = static_cast<size_t>(last - first + 1) * 3;
  thread_local std::vector<int16_t> columns;
  if (columns.size() < bytes + 8) columns.resize(bytes + 8);  // room for whole-vector loads
  BlendRows(upper + first * 3, lower + first * 3, columns.data(), static_cast<int>(bytes), fy);
  const int16_t* weighed = columns.data();
  u -= first << 16;
  int x = 0;
#if defined(__SSE2__)
  const Weights& w = WeightTables();
  const auto mixed = [&] {
    const int16_t* p = weighed + static_cast<ptrdiff_t>(u >> 16) * 3;
    // left0 right0 left1 right1 left2 right2 (right0 next0)
    const __m128i pairs = _mm_unpacklo_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)),
                                             _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + 3)));
    const __m128i sum = _mm_madd_epi16(pairs, w.columns[WeightX(u)]);
    u += du;
    return sum;
  };
  for (; x + 4 < n; x += 4, out += 12) {
    const __m128i s0 = mixed();
    const __m128i s1 = mixed();
    const __m128i s2 = mixed();
    const __m128i s3 = mixed();
    StoreFour(RoundFour(s0, s1, s2, s3), out);
  }
  for (; x < n; ++x, out += 3) StoreOne(mixed(), out);
#else
  for (; x < n; ++x, u += du, out += 3) {
    const int fx = WeightX(u);
    const int16_t* p = weighed + static_cast<ptrdiff_t>(u >> 16) * 3;
    for (int c = 0; c < 3; ++c) out[c] = Round15(p[c] * (256 - fx) + p[c + 3] * fx);
  }
#endif
}

void SampleSlopedRun(const SourceView& s, int64_t u, int64_t du, int64_t v, int64_t dv, BYTE* out, int n) {
  int x = 0;
#if defined(__SSE2__)
  const Weights& w = WeightTables();
  // Where all eight bytes from a pixel's left neighbour lie inside its row (u < width - 2), four
  // pixels go at once.
  int64_t wideLo = 0;
  int64_t wideHi = n;
  Clip(u, du, 0, (s.width - 2) * kOne - 1, wideLo, wideHi);
  const auto sampled = [&](bool wide) {
    const int fx = WeightX(u);
    const int fy = WeightY(v);
    const BYTE* p = s.top + static_cast<ptrdiff_t>(v >> 16) * s.step + static_cast<ptrdiff_t>(u >> 16) * 3;
    const BYTE* q = p + s.step;
    __m128i sum;
    if (wide) {
      sum = MixColumns(_mm_add_epi16(_mm_mullo_epi16(Load8Bytes(p), w.upper[fy]),
                                     _mm_mullo_epi16(Load8Bytes(q), w.lower[fy])),
                       w.columns[fx]);
    } else {
      // Bytes p[0..3] and p[2..5] give left0 left1 left2 and right0 right1 right2 without reading
      // past the right neighbour.
      const __m128i left = _mm_add_epi16(_mm_mullo_epi16(Load4Bytes(p), w.upper[fy]),
                                         _mm_mullo_epi16(Load4Bytes(q), w.lower[fy]));
      const __m128i right = _mm_srli_si128(_mm_add_epi16(_mm_mullo_epi16(Load4Bytes(p + 2), w.upper[fy]),
                                                         _mm_mullo_epi16(Load4Bytes(q + 2), w.lower[fy])),
                                           2);
      sum = _mm_madd_epi16(_mm_unpacklo_epi16(left, right), w.columns[fx]);
    }
    u += du;
    v += dv;
    return sum;
  };
  while (x < n) {
    if (x >= wideLo && x + 4 < wideHi) {
      const __m128i s0 = sampled(true);
      const __m128i s1 = sampled(true);
      const __m128i s2 = sampled(true);
      const __m128i s3 = sampled(true);
      StoreFour(RoundFour(s0, s1, s2, s3), out);
      x += 4;
      out += 12;
    } else {
      StoreOne(sampled(false), out);
      ++x;
      out += 3;
    }
  }
#else
  for (; x < n; ++x, u += du, v += dv, out += 3) {
    const int fx = WeightX(u);
    const int fy = WeightY(v);
    const BYTE* p = s.top + static_cast<ptrdiff_t>(v >> 16) * s.step + static_cast<ptrdiff_t>(u >> 16) * 3;
    const BYTE* q = p + s.step;
    for (int c = 0; c < 3; ++c) {
      const int32_t left = p[c] * (128 - fy) + q[c] * fy;
      const int32_t right = p[c + 3] * (128 - fy) + q[c + 3] * fy;
      out[c] = Round15(left * (256 - fx) + right * fx);
    }
  }
#endif
}

}  // namespace

AffineRow RowOf(const AffineMap& map, int y) {
  const auto fixed = [](double value) { return static_cast<int64_t>(std::llround(value * kOne)); };
  return {fixed(map.u0 + map.dudy * y), fixed(map.v0 + map.dvdy * y), fixed(map.dudx), fixed(map.dvdx)};
}

void SampleRow(const SourceView& source, const AffineRow& row, const BYTE* under, BYTE* out, int n) {
  // Pixels whose samples touch the picture at all: u in [-1, width), v in [-1, height).
  int64_t touchLo = 0;
  int64_t touchHi = n;
  Clip(row.u, row.du, -kOne, source.width * kOne - 1, touchLo, touchHi);
  Clip(row.v, row.dv, -kOne, source.height * kOne - 1, touchLo, touchHi);
  if (touchHi <= touchLo) touchLo = touchHi = n;
  // Within those, the run whose four neighbours all lie inside: u in [0, width - 1) and
  // v in [0, height - 1).
  int64_t lo = touchLo;
  int64_t hi = touchHi;
  if (source.width < 2 || source.height < 2) {
    hi = lo;
  } else {
    Clip(row.u, row.du, 0, (source.width - 1) * kOne - 1, lo, hi);
    Clip(row.v, row.dv, 0, (source.height - 1) * kOne - 1, lo, hi);
  }
  if (hi <= lo) lo = hi = touchHi;

  if (out != under) {
    std::memcpy(out, under, static_cast<size_t>(touchLo) * 3);
    std::memcpy(out + 3 * touchHi, under + 3 * touchHi, static_cast<size_t>(n - touchHi) * 3);
  }
  for (int64_t x = touchLo; x < lo; ++x)
    SampleEdge(source, row.u + x * row.du, row.v + x * row.dv, under + 3 * x, out + 3 * x);
  if (hi > lo) {
    const int64_t u = row.u + lo * row.du;
    const int64_t v = row.v + lo * row.dv;
    if (row.dv == 0)
      SampleLevelRun(source, u, row.du, v, out + 3 * lo, static_cast<int>(hi - lo));
    else
      SampleSlopedRun(source, u, row.du, v, row.dv, out + 3 * lo, static_cast<int>(hi - lo));
  }
  for (int64_t x = hi; x < touchHi; ++x)
    SampleEdge(source, row.u + x * row.du, row.v + x * row.dv, under + 3 * x, out + 3 * x);
}

}  // namespace pictavo::effects
