// Mode 2 sectors judged by the independent checker, and the scrambler's known sequence.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "disc/engines/Mode2Sector.h"
#include "modules/burn/Msf.h"
#include "tests/disc/engines/SectorChecker.h"

TEST(Msf, AddressesAndBcd) {
  struct Case {
    uint32_t address, m, s, f;
  };
  const Case kCases[] = {
      {0, 0, 0, 0}, {150, 0, 2, 0}, {4499, 0, 59, 74}, {4500, 1, 0, 0}, {449999, 99, 59, 74}};
  for (const Case& c : kCases) {
    const Msf msf(c.address);
    EXPECT_EQ(msf.Minute(), c.m) << c.address;
    EXPECT_EQ(msf.Second(), c.s) << c.address;
    EXPECT_EQ(msf.Frame(), c.f) << c.address;
    EXPECT_EQ(msf.Address(), c.address);
  }
  EXPECT_EQ(ToBcd(59), 0x59);
  EXPECT_EQ(ToBcd(7), 0x07);
}

TEST(Mode2Sector, HeaderOfSectorZero) {
  uint8_t s[kRawSectorBytes];
  EncodeMode2Sector(s, nullptr, 0, 0, 0, 0x08, 0);
  EXPECT_EQ(s[12], 0x00);
  EXPECT_EQ(s[13], 0x02);
  EXPECT_EQ(s[14], 0x00);
  EXPECT_EQ(s[15], 0x02);
  EXPECT_EQ(sectorcheck::Check(s, 0), "");
  // The subheader is inside the EDC: an all-zero form 1 payload still has a non-zero EDC.
  EXPECT_NE(sectorcheck::Le32(s + 2072), 0u);
}

TEST(Mode2Sector, FormsPassTheCheckerAndKeepTheirPayload) {
  std::mt19937 random(7);
  std::vector<uint8_t> payload(kForm2Bytes);
  for (uint32_t address : {0u, 1u, 149u, 4499u, 300000u}) {
    for (uint8_t submode :
         {uint8_t(0x08), uint8_t(0x88), uint8_t(0x62), uint8_t(0x64), uint8_t(0x20), uint8_t(0xE0)}) {
      for (auto& b : payload) b = static_cast<uint8_t>(random());
      uint8_t s[kRawSectorBytes];
      EncodeMode2Sector(s, payload.data(), address, 3, 1, submode, 0x0F);
      EXPECT_EQ(sectorcheck::Check(s, address), "") << address << " " << int(submode);
      const size_t size = submode & 0x20 ? kForm2Bytes : kForm1Bytes;
      EXPECT_EQ(std::vector<uint8_t>(s + 24, s + 24 + size),
                std::vector<uint8_t>(payload.begin(), payload.begin() + size));
      EXPECT_EQ(s[16], 3);
      EXPECT_EQ(s[17], 1);
      EXPECT_EQ(s[18], submode);
      EXPECT_EQ(s[19], 0x0F);
      // One flipped payload bit is caught.
      s[100] ^= 0x10;
      EXPECT_NE(sectorcheck::Check(s, address), "");
    }
  }
}

TEST(Mode2Sector, RawForm2KeepsTheStoredBytes) {
  std::vector<uint8_t> stored(kRawForm2Bytes);
  for (size_t i = 0; i < stored.size(); ++i) stored[i] = static_cast<uint8_t>(i * 7);
  uint8_t s[kRawSectorBytes];
  EncodeRawForm2Sector(s, stored.data(), 10);
  EXPECT_EQ(std::vector<uint8_t>(s + 16, s + kRawSectorBytes), stored);
  EXPECT_EQ(s[14], 0x10);  // 160 = 00:02:10
}

TEST(Mode2Sector, ScramblerSequenceAndInverse) {
  uint8_t s[kRawSectorBytes] = {};
  ScrambleSector(s);
  // ECMA-130 Annex B: the sequence starts 01 80 00 60 00 28 00 1E 80 08.
  const uint8_t kStart[] = {0x01, 0x80, 0x00, 0x60, 0x00, 0x28, 0x00, 0x1E, 0x80, 0x08};
  EXPECT_EQ(std::vector<uint8_t>(s + 12, s + 22), std::vector<uint8_t>(std::begin(kStart), std::end(kStart)));
  for (int i = 0; i < 12; ++i) EXPECT_EQ(s[i], 0);
  ScrambleSector(s);
  for (uint8_t b : s) EXPECT_EQ(b, 0);
}
