// An independent judge of CD-ROM XA mode 2 sectors, written from ECMA-130 and the XA rules
// without the program's encoder: bitwise CRC, syndromes of the P and Q code words.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace sectorcheck {

// GF(2^8) with x^8 + x^4 + x^3 + x^2 + 1, multiplied bit by bit.
inline uint8_t GfMul(uint8_t a, uint8_t b) {
  uint8_t r = 0;
  while (b) {
    if (b & 1) r ^= a;
    a = static_cast<uint8_t>((a << 1) ^ (a & 0x80 ? 0x1D : 0));
    b >>= 1;
  }
  return r;
}

// The EDC: CRC with (x^16 + x^15 + x^2 + 1)(x^16 + x^2 + x + 1), least significant bit first.
inline uint32_t Edc(const uint8_t* p, size_t n) {
  uint32_t crc = 0;
  for (size_t i = 0; i < n; ++i) {
    crc ^= p[i];
    for (int b = 0; b < 8; ++b) crc = crc & 1 ? (crc >> 1) ^ 0xD8018001u : crc >> 1;
  }
  return crc;
}

inline uint32_t Le32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}

inline uint8_t Bcd(uint32_t v) {
  return static_cast<uint8_t>(v / 10 * 16 + v % 10);
}

// Syndromes s0 = sum c_i, s1 = sum alpha^(n-1-i) c_i of one code word must both be zero.
inline bool CodewordOk(const uint8_t* bytes, const size_t* index, size_t n) {
  uint8_t s0 = 0, s1 = 0;
  for (size_t i = 0; i < n; ++i) {
    s0 ^= bytes[index[i]];
    s1 = static_cast<uint8_t>(GfMul(s1, 2) ^ bytes[index[i]]);  // Horner: alpha = 2
  }
  return s0 == 0 && s1 == 0;
}

// P and Q of a form 1 sector, computed over bytes 12.. with the header taken as zero.
inline bool ParityOk(const uint8_t* sector) {
  uint8_t d[2340];
  std::memcpy(d, sector + 12, sizeof(d));
  std::memset(d, 0, 4);
  size_t index[45];
  for (size_t plane = 0; plane < 2; ++plane) {
    for (size_t column = 0; column < 43; ++column) {  // P: 26 rows of a column
      for (size_t row = 0; row < 26; ++row) index[row] = 2 * (43 * row + column) + plane;
      if (!CodewordOk(d, index, 26)) return false;
    }
    for (size_t diagonal = 0; diagonal < 26; ++diagonal) {  // Q: 43 words of a diagonal + 2
      for (size_t m = 0; m < 43; ++m) index[m] = 2 * ((44 * m + 43 * diagonal) % 1118) + plane;
      index[43] = 2 * (1118 + diagonal) + plane;
      index[44] = 2 * (1144 + diagonal) + plane;
      if (!CodewordOk(d, index, 45)) return false;
    }
  }
  return true;
}

// Empty when the sector at `address` (0 = first sector of track 1) is a sound mode 2 sector;
// else what is wrong.
inline std::string Check(const uint8_t* s, uint32_t address) {
  static const uint8_t kSync[12] = {0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0};
  if (std::memcmp(s, kSync, 12) != 0) return "sync";
  const uint32_t abs = address + 150;
  if (s[12] != Bcd(abs / 4500) || s[13] != Bcd(abs / 75 % 60) || s[14] != Bcd(abs % 75))
    return "header address";
  if (s[15] != 2) return "mode";
  if (std::memcmp(s + 16, s + 20, 4) != 0) return "subheader copies";
  if (s[18] & 0x20) {
    const uint32_t edc = Le32(s + 2348);
    // A form 2 EDC of zero means "not computed"; the image writer always computes it.
    if (edc != Edc(s + 16, 2332)) return "form 2 EDC";
  } else {
    if (Le32(s + 2072) != Edc(s + 16, 2056)) return "form 1 EDC";
    if (!ParityOk(s)) return "P/Q parity";
  }
  return {};
}

}  // namespace sectorcheck
