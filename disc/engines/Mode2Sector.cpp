#include "disc/engines/Mode2Sector.h"

#include <array>
#include <cstring>

#include "modules/burn/Msf.h"

const uint8_t g_zeroSectorData[kForm2Bytes] = {};

namespace {

struct Tables {
  // edc[0] is the byte table; edc[k] advances it by k further zero bytes, so that sixteen bytes
  // are folded in at once.
  std::array<std::array<uint32_t, 256>, 16> edc{};
  std::array<uint8_t, 256> forward{};   // x * alpha
  std::array<uint8_t, 256> backward{};  // the inverse of (x * alpha) ^ x
  std::array<uint8_t, 2340> scramble{};
  Tables() {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t e = i;
      for (int k = 0; k < 8; ++k) e = (e >> 1) ^ (e & 1 ? 0xD8018001u : 0);
      edc[0][i] = e;
      const uint32_t f = (i << 1) ^ (i & 0x80 ? 0x11D : 0);
      forward[i] = static_cast<uint8_t>(f);
      backward[i ^ f] = static_cast<uint8_t>(i);
    }
    for (int k = 1; k < 16; ++k)
      for (uint32_t i = 0; i < 256; ++i) edc[k][i] = (edc[k - 1][i] >> 8) ^ edc[0][edc[k - 1][i] & 0xFF];
    uint32_t shift = 1;
    for (auto& b : scramble) {
      uint8_t v = 0;
      for (int bit = 0; bit < 8; ++bit) {
        v |= static_cast<uint8_t>((shift & 1) << bit);
        const uint32_t carry = (shift & 1) ^ ((shift >> 1) & 1);
        shift = (shift >> 1) | (carry << 14);
      }
      b = v;
    }
  }
};

const Tables& T() {
  static const Tables tables;
  return tables;
}

uint32_t Load32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}

uint32_t Edc(const uint8_t* data, size_t size) {
  const auto& t = T().edc;
  uint32_t e = 0;
  size_t i = 0;
  for (; i + 16 <= size; i += 16) {
    const uint32_t a = Load32(data + i) ^ e, b = Load32(data + i + 4), c = Load32(data + i + 8),
                   d = Load32(data + i + 12);
    e = t[15][a & 0xFF] ^ t[14][(a >> 8) & 0xFF] ^ t[13][(a >> 16) & 0xFF] ^ t[12][a >> 24] ^
        t[11][b & 0xFF] ^ t[10][(b >> 8) & 0xFF] ^ t[9][(b >> 16) & 0xFF] ^ t[8][b >> 24] ^ t[7][c & 0xFF] ^
        t[6][(c >> 8) & 0xFF] ^ t[5][(c >> 16) & 0xFF] ^ t[4][c >> 24] ^ t[3][d & 0xFF] ^
        t[2][(d >> 8) & 0xFF] ^ t[1][(d >> 16) & 0xFF] ^ t[0][d >> 24];
  }
  for (; i < size; ++i) e = (e >> 8) ^ t[0][(e ^ data[i]) & 0xFF];
  return e;
}

void PutEdc(uint8_t* out, uint32_t e) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(e >> (8 * i));
}

// One Reed-Solomon parity family of the ECMA-130 product code over the 2340 bytes from offset 12:
// `majors` code words of `minors` bytes each, taken with the given strides.
void Parity(const uint8_t* src, size_t majors, size_t minors, size_t majorMult, size_t minorInc,
            uint8_t* dest) {
  const auto& t = T();
  const size_t size = majors * minors;
  for (size_t major = 0; major < majors; ++major) {
    size_t index = (major >> 1) * majorMult + (major & 1);
    uint8_t a = 0, b = 0;
    for (size_t minor = 0; minor < minors; ++minor) {
      const uint8_t v = src[index];
      index += minorInc;
      if (index >= size) index -= size;
      a ^= v;
      b ^= v;
      a = t.forward[a];
    }
    a = t.backward[t.forward[a] ^ b];
    dest[major] = a;
    dest[major + majors] = a ^ b;
  }
}

void WriteHeader(uint8_t* out, uint32_t address) {
  static constexpr uint8_t kSync[12] = {0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0};
  std::memcpy(out, kSync, sizeof(kSync));
  AddressToBcd(address + 150, out + 12);
  out[15] = 2;
}

}  // namespace

void AddressToBcd(uint32_t absolute, uint8_t* out) {
  const Msf msf(absolute);
  out[0] = ToBcd(msf.Minute());
  out[1] = ToBcd(msf.Second());
  out[2] = ToBcd(msf.Frame());
}

void EncodeMode2Sector(uint8_t* out, const uint8_t* payload, uint32_t address, uint8_t fileNumber,
                       uint8_t channel, uint8_t submode, uint8_t coding) {
  const bool form2 = submode & kSubForm2;
  const uint8_t sub[4] = {fileNumber, channel, submode, coding};
  // Everything behind the header of an empty sector depends on its subheader alone (the parity
  // takes the header as zero): gaps, margins and filler are computed once per subheader.
  struct EmptySector {
    bool valid = false;
    uint8_t sub[4];
    uint8_t body[kRawSectorBytes - 16];
  };
  thread_local EmptySector empty;
  const bool isEmpty = !payload || payload == g_zeroSectorData;
  if (isEmpty && empty.valid && std::memcmp(empty.sub, sub, 4) == 0) {
    std::memcpy(out + 16, empty.body, sizeof(empty.body));
    WriteHeader(out, address);
    return;
  }
  std::memset(out, 0, 16);
  std::memcpy(out + 16, sub, 4);
  std::memcpy(out + 20, sub, 4);
  if (form2) {
    std::memcpy(out + 24, payload ? payload : g_zeroSectorData, kForm2Bytes);
    PutEdc(out + 2348, Edc(out + 16, 2332));
  } else {
    std::memcpy(out + 24, payload ? payload : g_zeroSectorData, kForm1Bytes);
    PutEdc(out + 2072, Edc(out + 16, 2056));
    // The parity of a mode 2 sector is computed with the header bytes taken as zero.
    Parity(out + 12, 86, 24, 2, 86, out + 2076);
    Parity(out + 12, 52, 43, 86, 88, out + 2248);
  }
  if (isEmpty) {
    std::memcpy(empty.sub, sub, 4);
    std::memcpy(empty.body, out + 16, sizeof(empty.body));
    empty.valid = true;
  }
  WriteHeader(out, address);
}

void EncodeRawForm2Sector(uint8_t* out, const uint8_t* stored, uint32_t address) {
  std::memcpy(out + 16, stored, kRawForm2Bytes);
  WriteHeader(out, address);
}

void ScrambleSector(uint8_t* sector) {
  const auto& s = T().scramble;
  for (size_t i = 0; i < s.size(); ++i) sector[12 + i] ^= s[i];
}
