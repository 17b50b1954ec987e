// The Video-CD / Super-Video-CD authoring object: volume parameters, sequence tracks, segment
// play items, playback-control lists and extra files, laid out into an image and written sector
// by sector into an image sink.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "disc/engines/ImageStreams.h"
#include "disc/engines/MpegSource.h"

enum DiscType { DiscTypeVcd1 = 1, DiscTypeVcd11 = 2, DiscTypeVcd2 = 3, DiscTypeSvcd = 4, DiscTypeHqVcd = 5 };

enum DiscParam {
  ParamVolumeLabel = 1,
  ParamPublisher = 2,
  ParamAlbumName = 3,
  ParamVolumeCount = 4,
  ParamVolumeNumber = 5,
  ParamRestriction = 6,
  ParamNextVolumeList2 = 7,
  ParamNextVolumeTrack3 = 8,
  ParamApplication = 9,
  ParamSvcdMpegavFolder = 11,
  ParamSvcdEntrySvd = 12,
  ParamSvcdTracksCompat = 13,
  ParamFixScanInfo = 14,
  ParamLooseAccessPoints = 15,
  ParamLeadoutGap = 16,
  ParamLeadoutGapSectors = 17,
  ParamTrackGapSectors = 18,
  ParamFrontMarginSectors = 19,
  ParamRearMarginSectors = 20,
};

// Bounds of the disc formats; the adds and the layout refuse what passes them.
constexpr size_t kMaxSequences = 98;                        // tracks 2-99
constexpr uint32_t kMaxSegmentUnits = 1980;                 // play items 1000-2979
constexpr size_t kMaxPbcItems = 32767;                      // list ids of the LOT
constexpr size_t kMaxListEntries = 255;                     // items or selections of one list
constexpr uint32_t kMaxImageSectors = 100 * 60 * 75 - 150;  // up to 99:59:74
constexpr size_t kMaxIsoNameLength = 31;                    // ISO 9660 level 2
constexpr int kMaxIsoDepth = 8;

struct _tagPbcItem;
struct _tagIsoNode;
struct _tagIsoBuffer;
struct _tagImageSink;
struct VideoCDJob;

struct _tagSequenceTrack {
  _tagMpegSource* source = nullptr;
  std::string itemId, entryId;  // empty: none
  uint32_t relativeStart = 0;
};

struct _tagSegmentItem {
  _tagMpegSource* source = nullptr;
  std::string itemId;
  uint32_t units = 0;
  uint32_t firstSector = 0;
};

struct _tagCustomFile {
  std::string isoPath;
  _tagDataSource* source = nullptr;
  bool form2 = false;
  int64_t size = 0;
  uint32_t firstSector = 0;
  uint32_t sectorCount = 0;
};

struct _tagImageProgress {
  uint32_t sectorsWritten;
  uint32_t totalSectors;
  uint32_t currentTrack;
  uint32_t trackCount;
};
using ImageProgressCallback = int (*)(const _tagImageProgress&, void* data);

struct SectorMap {
  std::vector<uint8_t> bits;
  uint32_t firstFree = 0;  // every sector below it is taken
  void Clear() {
    bits.clear();
    firstFree = 0;
  }
  bool Taken(uint32_t sector) const {
    return sector / 8 < bits.size() && (bits[sector / 8] >> (sector % 8) & 1);
  }
  void Set(uint32_t sector, bool taken);
  int64_t Highest() const;  // -1 when empty
};

struct _tagDiscAuthor {
  uint32_t discType = 0;
  bool svcdMpegavFolder = false, svcdEntrySvd = false, svcdTracksCompat = false;
  bool fixScanInfo = false, looseAccessPoints = false;
  uint32_t leadoutGap = 150, trackGap = 150, frontMargin = 0, rearMargin = 0;
  _tagImageSink* sink = nullptr;
  uint32_t isoSize = 0;
  std::string volumeLabel, publisher, application, albumName;
  uint32_t volumeCount = 1, volumeNumber = 1, restriction = 0;
  bool nextVolumeTrack3 = false, nextVolumeList2 = false;
  uint32_t isoCoreSize = 0;
  std::vector<_tagSegmentItem> segments;
  std::vector<_tagSequenceTrack> sequences;
  uint32_t trackSectors = 0;
  std::vector<_tagPbcItem*> pbcItems;
  uint32_t psdSize = 0, psdxSize = 0;
  uint32_t extensionStart = 0, customStart = 0;
  std::vector<_tagCustomFile> customFiles;
  std::vector<std::unique_ptr<_tagIsoBuffer>> isoBuffers;
  SectorMap sectorMap;
  std::unique_ptr<_tagIsoNode> root;
  bool inOutput = false;
  uint32_t currentSector = 0, currentTrack = 1, lastReported = 0;
  ImageProgressCallback progress = nullptr;
  void* progressData = nullptr;
  bool stopped = false;  // the progress callback asked to stop
};

_tagDiscAuthor* CreateDiscAuthor(uint32_t type);
void DestroyDiscAuthor(_tagDiscAuthor* author);
bool DiscTypeSupports(const _tagDiscAuthor* author, int feature);
int SetDiscNumberParam(_tagDiscAuthor* author, int code, uint32_t value);
int SetDiscTextParam(_tagDiscAuthor* author, int code, const char* value);
int SetDiscFlagParam(_tagDiscAuthor* author, int code, int value);
int AddSegmentItem(_tagDiscAuthor* author, _tagMpegSource* source, const char* itemId);
int AddSequenceTrack(_tagDiscAuthor* author, _tagMpegSource* source, const char* itemId, const char* entryId);
int AddPbcItem(_tagDiscAuthor* author, _tagPbcItem* item);
// 0 added; 1 a form 2 file whose size is 0 or not a multiple of 2336; -1 a path that no ISO 9660
// level 2 name fits (too deep, empty component, clashes) or an author already laid out.
int AddCustomFile(_tagDiscAuthor* author, const char* isoPath, _tagDataSource* source, bool form2);
// The image size in sectors; 0 when the layout is refused (too many directory sectors, image
// past 99:59:74, PSD offsets past their range, a Super Video CD track without access points).
uint32_t BeginDiscOutput(_tagDiscAuthor* author);
int WriteDiscImage(_tagDiscAuthor* author, _tagImageSink* sink, ImageProgressCallback progress, void* data,
                   VideoCDJob* job);
void EndDiscOutput(_tagDiscAuthor* author);

// Shared by the layout and the writers.
bool IdInUse(const _tagDiscAuthor* author, const std::string& id);
// Reports progress after a sector (forced at the pass boundaries); false when the callback stops.
bool ReportProgress(_tagDiscAuthor* author, bool forced);
uint32_t SectorsFor(uint64_t bytes);
