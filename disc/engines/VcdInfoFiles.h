// The information files of track 1: INFO and ENTRIES, and for Super Video CD TRACKS.SVD,
// SEARCH.DAT and EXT/SCANDATA.DAT (big-endian numbers, BCD addresses).
#pragma once

#include <cstdint>
#include <vector>

struct _tagDiscAuthor;
struct _tagStreamInfo;

uint8_t ContentByte(const _tagDiscAuthor* author, const _tagStreamInfo& info);
void WriteInfoFile(const _tagDiscAuthor* author, uint8_t* sector);
void WriteEntriesFile(const _tagDiscAuthor* author, uint8_t* sector);
void WriteTracksFile(const _tagDiscAuthor* author, uint8_t* sector);
// Number of half-second points and the file sizes, for the layout.
uint32_t SearchPointCount(const _tagDiscAuthor* author);
uint32_t SearchFileBytes(const _tagDiscAuthor* author);
uint32_t ScanDataFileBytes(const _tagDiscAuthor* author);
void WriteSearchFile(const _tagDiscAuthor* author, uint8_t* buffer);
void WriteScanDataFile(const _tagDiscAuthor* author, uint8_t* buffer);
// A playing time as BCD minutes, seconds, frames (not offset by 150), 99:59:74 at 6000 s and up.
void PlayingTimeToBcd(double seconds, uint8_t* out);
