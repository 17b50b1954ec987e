// CD-ROM XA mode 2 sectors (forms 1 and 2) of Video-CD images, and the scrambling a raw recorder
// expects.
#pragma once

#include <cstdint>

constexpr int kRawSectorBytes = 2352;
constexpr int kForm1Bytes = 2048;
constexpr int kForm2Bytes = 2324;
constexpr int kRawForm2Bytes = 2336;  // subheaders, data and EDC as stored in a form 2 file

// Submode bits.
constexpr uint8_t kSubEndOfRecord = 0x01, kSubVideo = 0x02, kSubAudio = 0x04, kSubData = 0x08,
                  kSubForm2 = 0x20, kSubRealTime = 0x40, kSubEndOfFile = 0x80;

// Builds the 2352-byte sector at `address` (0 = first sector of track 1): form 2 (2324 payload
// bytes) when submode has kSubForm2, else form 1 (2048 bytes) with EDC and P/Q parity.
void EncodeMode2Sector(uint8_t* out, const uint8_t* payload, uint32_t address, uint8_t fileNumber,
                       uint8_t channel, uint8_t submode, uint8_t coding);

// A form 2 sector from the 2336 bytes a form 2 file stores (its own subheaders and EDC).
void EncodeRawForm2Sector(uint8_t* out, const uint8_t* stored, uint32_t address);

// Scrambles (or descrambles: the same XOR) bytes 12-2351 of a raw sector.
void ScrambleSector(uint8_t* sector);

// The BCD bytes of an absolute address (address + 150 for a sector address): minutes, seconds,
// frames.
void AddressToBcd(uint32_t absolute, uint8_t* out);

// 32 zero bytes short of a form 2 payload: the data of every empty sector.
extern const uint8_t g_zeroSectorData[kForm2Bytes];
