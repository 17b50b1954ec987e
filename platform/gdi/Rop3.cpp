#include "platform/gdi/Rop3.h"

#include <algorithm>
#include <cstring>

namespace pictavo::gdi {
namespace {

template <class Op>
void WithPattern(uint32_t* d, const PatternRow& pat, int n, Op op) {
  if (!pat.row) {
    const uint32_t p = pat.solid;
    for (int i = 0; i < n; ++i) d[i] = op(p, d[i]);
  } else {
    for (int i = 0; i < n; ++i) d[i] = op(pat.row[(pat.phase + i) & 7], d[i]);
  }
}

template <class Op>
void WithSource(uint32_t* d, const uint32_t* s, int n, Op op) {
  for (int i = 0; i < n; ++i) d[i] = op(s[i], d[i]);
}

template <class Op>
void WithBoth(uint32_t* d, const uint32_t* s, const PatternRow& pat, int n, Op op) {
  for (int i = 0; i < n; ++i) d[i] = op(pat.At(i), s[i], d[i]);
}

}  // namespace

void Rop3Row(uint8_t rop, uint32_t* d, const uint32_t* s, const PatternRow& pat, int n) {
  if (n <= 0) return;
  switch (rop) {
    case 0xCC:  // SRCCOPY
      if (d != s) std::memmove(d, s, static_cast<size_t>(n) * 4);
      return;
    case 0x88:
      WithSource(d, s, n, [](uint32_t sv, uint32_t dv) { return sv & dv; });
      return;  // SRCAND
    case 0xEE:
      WithSource(d, s, n, [](uint32_t sv, uint32_t dv) { return sv | dv; });
      return;  // SRCPAINT
    case 0x66:
      WithSource(d, s, n, [](uint32_t sv, uint32_t dv) { return sv ^ dv; });
      return;  // SRCINVERT
    case 0x44:
      WithSource(d, s, n, [](uint32_t sv, uint32_t dv) { return sv & ~dv; });
      return;  // SRCERASE
    case 0x33:
      WithSource(d, s, n, [](uint32_t sv, uint32_t) { return ~sv; });
      return;  // NOTSRCCOPY
    case 0x11:
      WithSource(d, s, n, [](uint32_t sv, uint32_t dv) { return ~(sv | dv); });
      return;  // NOTSRCERASE
    case 0xBB:
      WithSource(d, s, n, [](uint32_t sv, uint32_t dv) { return ~sv | dv; });
      return;  // MERGEPAINT
    case 0xC0:
      WithBoth(d, s, pat, n, [](uint32_t p, uint32_t sv, uint32_t) { return p & sv; });
      return;   // MERGECOPY
    case 0xF0:  // PATCOPY
      if (!pat.row) {
        std::fill(d, d + n, pat.solid);
      } else {
        for (int i = 0; i < n; ++i) d[i] = pat.row[(pat.phase + i) & 7];
      }
      return;
    case 0xFB:  // PATPAINT
      WithBoth(d, s, pat, n, [](uint32_t p, uint32_t sv, uint32_t dv) { return p | ~sv | dv; });
      return;
    case 0x5A:
      WithPattern(d, pat, n, [](uint32_t p, uint32_t dv) { return p ^ dv; });
      return;  // PATINVERT
    case 0x55:
      for (int i = 0; i < n; ++i) d[i] = ~d[i];
      return;  // DSTINVERT
    case 0x00:
      std::fill(d, d + n, 0u);
      return;  // BLACKNESS
    case 0xFF:
      std::fill(d, d + n, 0x00FFFFFFu);
      return;  // WHITENESS
    case 0xAA:
      return;   // D
    case 0xB8:  // P where S is 0, D where S is 1 (PSDPxax)
      WithBoth(d, s, pat, n, [](uint32_t p, uint32_t sv, uint32_t dv) { return ((dv ^ p) & sv) ^ p; });
      return;
    case 0xE2:  // D where S is 0, P where S is 1 (DSPDxax)
      WithBoth(d, s, pat, n, [](uint32_t p, uint32_t sv, uint32_t dv) { return ((p ^ dv) & sv) ^ dv; });
      return;
    case 0xA0:
      WithPattern(d, pat, n, [](uint32_t p, uint32_t dv) { return p & dv; });
      return;  // DPa
    case 0xFA:
      WithPattern(d, pat, n, [](uint32_t p, uint32_t dv) { return p | dv; });
      return;  // DPo
    default:
      break;
  }
  if (!s) {
    for (int i = 0; i < n; ++i) d[i] = Rop3Pixel(rop, pat.At(i), 0, d[i]);
  } else {
    for (int i = 0; i < n; ++i) d[i] = Rop3Pixel(rop, pat.At(i), s[i], d[i]);
  }
}

}  // namespace pictavo::gdi
