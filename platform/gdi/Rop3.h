// Ternary raster operations: the 256 ways of combining pattern (P), source (S) and destination (D)
// bit by bit. The code's bit number (P << 2 | S << 1 | D) gives the result for those input bits.
#pragma once

#include <cstdint>

namespace pictavo::gdi {

inline constexpr uint32_t Rop3Pixel(uint8_t rop, uint32_t p, uint32_t s, uint32_t d) {
  uint32_t r = 0;
  if (rop & 0x01) r |= ~p & ~s & ~d;
  if (rop & 0x02) r |= ~p & ~s & d;
  if (rop & 0x04) r |= ~p & s & ~d;
  if (rop & 0x08) r |= ~p & s & d;
  if (rop & 0x10) r |= p & ~s & ~d;
  if (rop & 0x20) r |= p & ~s & d;
  if (rop & 0x40) r |= p & s & ~d;
  if (rop & 0x80) r |= p & s & d;
  return r;
}

inline constexpr bool RopUsesSource(uint8_t rop) {
  return (((rop >> 2) ^ rop) & 0x33) != 0;
}
inline constexpr bool RopUsesPattern(uint8_t rop) {
  return (((rop >> 4) ^ rop) & 0x0F) != 0;
}
inline constexpr bool RopUsesDest(uint8_t rop) {
  return (((rop >> 1) ^ rop) & 0x55) != 0;
}

// The ternary code of a binary (pen and fill) operation R2_*: the pen plays the pattern's part.
inline constexpr uint8_t Rop2ToRop3(int rop2) {
  unsigned table = static_cast<unsigned>(rop2 - 1) & 0xF;  // bit (P << 1 | D)
  uint8_t rop = 0;
  for (int i = 0; i < 8; ++i) {
    int p = (i >> 2) & 1, d = i & 1;
    if (table & (1u << (p << 1 | d))) rop |= static_cast<uint8_t>(1u << i);
  }
  return rop;
}

// The pattern for a run of pixels: a solid pixel, or an 8-pixel pattern row read from `phase`.
struct PatternRow {
  const uint32_t* row = nullptr;  // 8 entries, or null for solid
  uint32_t solid = 0;
  int phase = 0;
  uint32_t At(int i) const { return row ? row[(phase + i) & 7] : solid; }
};

// dest[i] = rop(P, src[i], dest[i]) for n pixels; src may be null when the code ignores it.
void Rop3Row(uint8_t rop, uint32_t* dest, const uint32_t* src, const PatternRow& pattern, int n);

}  // namespace pictavo::gdi
