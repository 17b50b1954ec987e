#include "modules/yuv/Bt709Rows.h"

#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>
#define PICTAVO_BT709_SSSE3 1
#endif

namespace pictavo::yuv {

namespace {

// Weights in 256ths: the rows of U and V sum to zero, so greys stay exactly neutral, and every sum
// fits 16 bits, so the vector path computes the very same values. Y is within half a level of the
// exact value.
inline uint8_t Luma(int r, int g, int b) {
  return static_cast<uint8_t>(((47 * r + 157 * g + 16 * b + 128) >> 8) + 16);
}
inline uint8_t ChromaU(int r, int g, int b) {
  return static_cast<uint8_t>(((112 * b - 26 * r - 86 * g + 128) >> 8) + 128);
}
inline uint8_t ChromaV(int r, int g, int b) {
  return static_cast<uint8_t>(((112 * r - 102 * g - 10 * b + 128) >> 8) + 128);
}

// Pixels [from, width) of the row pair, one at a time; `from` is even.
void RowPairFrom(const uint8_t* above, const uint8_t* below, uint8_t* yAbove, uint8_t* yBelow, uint8_t* u,
                 uint8_t* v, int from, int width) {
  for (int x = from; x < width; ++x) {
    const uint8_t* a = above + 3 * x;
    yAbove[x] = Luma(a[2], a[1], a[0]);
    if (yBelow != nullptr) {
      const uint8_t* b = below + 3 * x;
      yBelow[x] = Luma(b[2], b[1], b[0]);
    }
  }
  for (int x = from; x < width; x += 2) {
    const int right = x + 1 < width ? x + 1 : x;
    int mean[3];
    for (int c = 0; c < 3; ++c)
      mean[c] = (above[3 * x + c] + above[3 * right + c] + below[3 * x + c] + below[3 * right + c] + 2) >> 2;
    u[x / 2] = ChromaU(mean[2], mean[1], mean[0]);
    v[x / 2] = ChromaV(mean[2], mean[1], mean[0]);
  }
}

#if PICTAVO_BT709_SSSE3
#define SSSE3 __attribute__((target("ssse3")))

// pshufb masks picking channel c (0 B, 1 G, 2 R) of sixteen pixels out of the k-th of their three
// 16-byte vectors; -128 leaves a lane for another vector.
struct SplitMasks {
  alignas(16) int8_t lanes[3][3][16];
};
constexpr SplitMasks MakeSplitMasks() {
  SplitMasks m{};
  for (int c = 0; c < 3; ++c)
    for (int k = 0; k < 3; ++k)
      for (int i = 0; i < 16; ++i) {
        const int at = 3 * i + c - 16 * k;
        m.lanes[c][k][i] = at >= 0 && at < 16 ? static_cast<int8_t>(at) : static_cast<int8_t>(-128);
      }
  return m;
}
constexpr SplitMasks kSplit = MakeSplitMasks();

SSSE3 inline __m128i Channel(__m128i v0, __m128i v1, __m128i v2, int c) {
  const auto mask = [c](int k) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(kSplit.lanes[c][k]));
  };
  return _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(v0, mask(0)), _mm_shuffle_epi8(v1, mask(1))),
                      _mm_shuffle_epi8(v2, mask(2)));
}

struct Planes {
  __m128i b, g, r;
};

SSSE3 inline Planes Split(const uint8_t* p) {
  const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
  const __m128i v2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32));
  return {Channel(v0, v1, v2, 0), Channel(v0, v1, v2, 1), Channel(v0, v1, v2, 2)};
}

SSSE3 inline __m128i Weigh16(__m128i r, __m128i g, __m128i b, __m128i kr, __m128i kg, __m128i kb) {
  const __m128i half = _mm_set1_epi16(128);
  return _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(r, kr), _mm_mullo_epi16(g, kg)),
                       _mm_add_epi16(_mm_mullo_epi16(b, kb), half));
}

SSSE3 inline void StoreLuma(const Planes& p, uint8_t* y) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i kr = _mm_set1_epi16(47), kg = _mm_set1_epi16(157), kb = _mm_set1_epi16(16);
  const __m128i lo = _mm_srli_epi16(Weigh16(_mm_unpacklo_epi8(p.r, zero), _mm_unpacklo_epi8(p.g, zero),
                                            _mm_unpacklo_epi8(p.b, zero), kr, kg, kb),
                                    8);
  const __m128i hi = _mm_srli_epi16(Weigh16(_mm_unpackhi_epi8(p.r, zero), _mm_unpackhi_epi8(p.g, zero),
                                            _mm_unpackhi_epi8(p.b, zero), kr, kg, kb),
                                    8);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(y), _mm_add_epi8(_mm_packus_epi16(lo, hi), _mm_set1_epi8(16)));
}

// The means of the eight 2 x 2 blocks of one channel, as 16-bit values.
SSSE3 inline __m128i Means(__m128i above, __m128i below) {
  const __m128i zero = _mm_setzero_si128(), ones = _mm_set1_epi16(1);
  const __m128i lo =
      _mm_madd_epi16(_mm_add_epi16(_mm_unpacklo_epi8(above, zero), _mm_unpacklo_epi8(below, zero)), ones);
  const __m128i hi =
      _mm_madd_epi16(_mm_add_epi16(_mm_unpackhi_epi8(above, zero), _mm_unpackhi_epi8(below, zero)), ones);
  return _mm_srli_epi16(_mm_add_epi16(_mm_packs_epi32(lo, hi), _mm_set1_epi16(2)), 2);
}

SSSE3 inline void StoreChroma(__m128i r, __m128i g, __m128i b, int wr, int wg, int wb, uint8_t* out) {
  const __m128i sum = Weigh16(r, g, b, _mm_set1_epi16(static_cast<short>(wr)),
                              _mm_set1_epi16(static_cast<short>(wg)), _mm_set1_epi16(static_cast<short>(wb)));
  const __m128i value = _mm_add_epi16(_mm_srai_epi16(sum, 8), _mm_set1_epi16(128));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(value, _mm_setzero_si128()));
}

SSSE3 void RowPairSsse3(const uint8_t* above, const uint8_t* below, uint8_t* yAbove, uint8_t* yBelow,
                        uint8_t* u, uint8_t* v, int width) {
  int x = 0;
  for (; x + 16 <= width; x += 16) {
    const Planes a = Split(above + 3 * x);
    const Planes b = below == above ? a : Split(below + 3 * x);
    StoreLuma(a, yAbove + x);
    if (yBelow != nullptr) StoreLuma(b, yBelow + x);
    const __m128i r = Means(a.r, b.r), g = Means(a.g, b.g), bl = Means(a.b, b.b);
    StoreChroma(r, g, bl, -26, -86, 112, u + x / 2);
    StoreChroma(r, g, bl, 112, -102, -10, v + x / 2);
  }
  RowPairFrom(above, below, yAbove, yBelow, u, v, x, width);
}

// Asked at static initialisation, which may run before the compiler's own CPU probe: probe first.
const bool kHasSsse3 = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("ssse3") != 0;
}();
#endif

}  // namespace

void Bt709RowPair(const uint8_t* above, const uint8_t* below, uint8_t* yAbove, uint8_t* yBelow, uint8_t* u,
                  uint8_t* v, int width) {
#if PICTAVO_BT709_SSSE3
  if (kHasSsse3) return RowPairSsse3(above, below, yAbove, yBelow, u, v, width);
#endif
  RowPairFrom(above, below, yAbove, yBelow, u, v, 0, width);
}

}  // namespace pictavo::yuv
