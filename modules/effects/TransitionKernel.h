// Row operations for composing transition frames, header-only so that plug-ins can use them
// without linking against us. Rows are 24-bit BGR; alpha runs 0 (all `a`) .. 256 (all `b`).
#pragma once

#include <cstdint>
#include <cstring>

#include "modules/effects/Transition.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pictavo::effects {

// One blended byte: exact at both ends (alpha 0 gives a, 256 gives b), rounded in between.
inline uint8_t BlendByte(uint8_t a, uint8_t b, int alpha) {
  return static_cast<uint8_t>((a * (256 - alpha) + b * alpha + 128) >> 8);
}

// out = a blended towards b by one alpha for every byte. out may be a or b.
inline void BlendBytes(const uint8_t* a, const uint8_t* b, uint8_t* out, int bytes, int alpha) {
  if (alpha <= 0) {
    if (out != a) std::memmove(out, a, static_cast<size_t>(bytes));
    return;
  }
  if (alpha >= 256) {
    if (out != b) std::memmove(out, b, static_cast<size_t>(bytes));
    return;
  }
  int i = 0;
#if defined(__SSE2__)
  // The same arithmetic in 16-bit lanes: a*(256-alpha) + b*alpha + 128 stays below 65536.
  const __m128i zero = _mm_setzero_si128();
  const __m128i wa = _mm_set1_epi16(static_cast<short>(256 - alpha));
  const __m128i wb = _mm_set1_epi16(static_cast<short>(alpha));
  const __m128i half = _mm_set1_epi16(128);
  for (; i + 16 <= bytes; i += 16) {
    const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
    const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
    __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(va, zero), wa),
                               _mm_mullo_epi16(_mm_unpacklo_epi8(vb, zero), wb));
    __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(va, zero), wa),
                               _mm_mullo_epi16(_mm_unpackhi_epi8(vb, zero), wb));
    lo = _mm_srli_epi16(_mm_add_epi16(lo, half), 8);
    hi = _mm_srli_epi16(_mm_add_epi16(hi, half), 8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(lo, hi));
  }
#endif
  for (; i < bytes; ++i) out[i] = BlendByte(a[i], b[i], alpha);
}

// out = a blended towards b with an alpha (0..256) of its own for every byte.
inline void BlendBytesVarying(const uint8_t* a, const uint8_t* b, uint8_t* out, const uint16_t* alpha,
                              int bytes) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i full = _mm_set1_epi16(256);
  const __m128i half = _mm_set1_epi16(128);
  for (; i + 16 <= bytes; i += 16) {
    const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
    const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
    const __m128i alo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(alpha + i));
    const __m128i ahi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(alpha + i + 8));
    __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(va, zero), _mm_sub_epi16(full, alo)),
                               _mm_mullo_epi16(_mm_unpacklo_epi8(vb, zero), alo));
    __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(va, zero), _mm_sub_epi16(full, ahi)),
                               _mm_mullo_epi16(_mm_unpackhi_epi8(vb, zero), ahi));
    lo = _mm_srli_epi16(_mm_add_epi16(lo, half), 8);
    hi = _mm_srli_epi16(_mm_add_epi16(hi, half), 8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(lo, hi));
  }
#endif
  for (; i < bytes; ++i) out[i] = BlendByte(a[i], b[i], alpha[i]);
}

// out = a blended towards one colour (BGR bytes of a COLORREF).
inline void BlendTowardsColour(const uint8_t* a, COLORREF colour, uint8_t* out, int pixels, int alpha) {
  const uint8_t blue = static_cast<uint8_t>((colour >> 16) & 0xFF);
  const uint8_t green = static_cast<uint8_t>((colour >> 8) & 0xFF);
  const uint8_t red = static_cast<uint8_t>(colour & 0xFF);
  for (int x = 0; x < pixels; ++x) {
    out[3 * x] = BlendByte(a[3 * x], blue, alpha);
    out[3 * x + 1] = BlendByte(a[3 * x + 1], green, alpha);
    out[3 * x + 2] = BlendByte(a[3 * x + 2], red, alpha);
  }
}

inline void FillPixels(uint8_t* out, int pixels, COLORREF colour) {
  const uint8_t bgr[3] = {static_cast<uint8_t>((colour >> 16) & 0xFF),
                          static_cast<uint8_t>((colour >> 8) & 0xFF), static_cast<uint8_t>(colour & 0xFF)};
  for (int x = 0; x < pixels; ++x) std::memcpy(out + 3 * x, bgr, 3);
}

// Alpha 0..256 of a progress 0..kProgressOne.
inline int AlphaOfProgress(int32_t progress) {
  return static_cast<int>((static_cast<int64_t>(progress) * 256 + kProgressOne / 2) / kProgressOne);
}

// round(progress * length), exact at both ends.
inline int ScaleByProgress(int32_t progress, int length) {
  return static_cast<int>((static_cast<int64_t>(progress) * length + kProgressOne / 2) / kProgressOne);
}

}  // namespace pictavo::effects
