// MPEG-1/MPEG-2 program stream files of a Video-CD image: scanned once for their packs, streams,
// video format, time range and access points, then handed out pack by pack with the description
// that decides each sector's subheader. Every read stays inside the pack and the bytes read.
#pragma once

#include <cstdint>
#include <vector>

#include "disc/engines/ImageStreams.h"

constexpr int kPacketBytes = 2324;

struct AccessPoint {
  uint32_t packet;
  double time;  // seconds from the first time stamp (after the scan)
};

struct VideoStreamInfo {
  bool present = false;
  uint32_t horizontalSize = 0, verticalSize = 0;
  double pelAspectRatio = 0, frameRate = 0;
  uint32_t bitRate = 0, vbvBufferSize = 0;
  bool constrainedParameters = false;
  std::vector<AccessPoint> accessPoints;
  double lastAccessPointTime = -1e300;
  bool sequenceHeaderRead = false;
};

struct AudioStreamInfo {
  bool present = false;
  uint32_t layer = 0, bitRate = 0, samplingRate = 0, mode = 0;  // mode + 1: 1 stereo ... 4 single
  bool headerRead = false;
};

struct _tagStreamInfo {
  uint32_t packetCount = 0;
  uint32_t mpegVersion = 0;
  uint8_t subtitle[4] = {};
  VideoStreamInfo video[3];
  AudioStreamInfo audio[3];
  uint32_t muxRate = 0;
  bool timeStampsSeen = false;
  double firstTime = 0, lastTime = 0, playingTime = 0;
};

struct _tagPacketInfo {
  uint8_t video[3];
  uint8_t audio[3];
  uint8_t subtitle[4];
  uint8_t padding;
  uint8_t endCode;
  uint8_t zeroPacket;
  uint8_t systemHeader;
  int scanInfoOffset;  // byte offset of the SVCD scan information in the pack, -1 when none
  uint32_t accessPointKind;
  double accessPointTime;
  uint32_t accessPointStream;
  uint8_t hasTimeStamp;
  double timeStamp;
  uint64_t systemClockReference;
  uint32_t muxRate;
  uint8_t gopSeen;
  uint8_t gopHours, gopMinutes, gopSeconds, gopPictures;
};

enum PacketClass {
  PacketNone = 0,
  PacketVideo = 1,
  PacketAudio = 2,
  PacketSubtitle = 3,
  PacketZero = 4,
  PacketOther = 5
};
enum VideoFormat {
  VideoFormatNone = 0,
  VideoPalSif = 1,
  VideoNtscSif = 2,
  VideoFilmSif = 3,
  VideoPal23D1 = 4,
  VideoNtsc23D1 = 5
};

struct ScanProgress {
  uint32_t packet;
  int64_t position;
  int64_t fileSize;
};
using ScanProgressCallback = void (*)(const ScanProgress&, void* data);

struct _tagMpegSource {
  _tagDataSource* source = nullptr;
  bool scanned = false;
  bool damaged = false;  // the parser stopped before the file's end
  int64_t nextPosition = 0;
  uint32_t nextPacket = 0;
  _tagStreamInfo info;
};

_tagMpegSource* CreateMpegSource(_tagDataSource* source);
void DestroyMpegSource(_tagMpegSource* source, bool alsoDataSource);
const _tagStreamInfo& GetMpegStreamInfo(const _tagMpegSource* source);
// 0 when the whole file parsed; -1 when the packs end before the file does (the offset is
// logged; the adds refuse such a source). A second call returns the first call's result.
int ScanMpegSource(_tagMpegSource* source, bool strict, bool fixScan, ScanProgressCallback progress,
                   void* data);
// Copies pack `number` into a 2324-byte buffer (zero-filled behind it); -1 when there is none.
int ReadMpegPacket(_tagMpegSource* source, uint32_t number, uint8_t* buffer, _tagPacketInfo* info,
                   bool fixScan);

int ClassifyPacket(const _tagPacketInfo& info);
int ClassifyVideoFormat(const _tagStreamInfo& info);

// The parser on one pack's bytes (at most 2324): the pack's length, 0 when no pack starts here.
// `stream` collects what the scan learns; `lastApTimes` are not needed by the caller.
uint32_t ParseMpegPacket(const uint8_t* bytes, uint32_t length, bool full, _tagStreamInfo& stream,
                         _tagPacketInfo& info);

// Writes the four scan offsets of an SVCD scan-information block for `packet` at `time`.
void UpdateScanOffsets(uint8_t* block, uint32_t packet, double time, const std::vector<AccessPoint>& points);
// The time of `packet` from a stream's access points (nearest when fewer than two).
double InterpolatePacketTime(uint32_t packet, const std::vector<AccessPoint>& points);
