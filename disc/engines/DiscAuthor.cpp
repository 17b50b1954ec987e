#include "disc/engines/DiscAuthor.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "disc/engines/DiscJobState.h"
#include "disc/engines/ImageSink.h"
#include "disc/engines/IsoFileSystem.h"
#include "disc/engines/Mode2Sector.h"
#include "disc/engines/PbcLists.h"
#include "disc/engines/VcdImageWriter.h"
#include "modules/log/Log.h"
#include "platform/user/Message.h"

void SectorMap::Set(uint32_t sector, bool taken) {
  if (sector / 8 >= bits.size()) bits.resize((sector / 8 / 16 + 1) * 16, 0);
  if (taken) {
    bits[sector / 8] |= uint8_t(1 << (sector % 8));
    while (sector == firstFree && Taken(firstFree)) sector = ++firstFree;
  } else {
    bits[sector / 8] &= uint8_t(~(1 << (sector % 8)));
    firstFree = std::min(firstFree, sector);
  }
}

int64_t SectorMap::Highest() const {
  for (size_t i = bits.size(); i-- > 0;)
    if (bits[i])
      for (int b = 7; b >= 0; --b)
        if (bits[i] >> b & 1) return int64_t(i) * 8 + b;
  return -1;
}

uint32_t SectorsFor(uint64_t bytes) {
  return static_cast<uint32_t>((bytes + 2047) / 2048);
}

_tagDiscAuthor* CreateDiscAuthor(uint32_t type) {
  if (type < DiscTypeVcd1 || type > DiscTypeHqVcd) return nullptr;
  auto* a = new _tagDiscAuthor;
  a->discType = type;
  if (DiscTypeSupports(a, 1)) {
    a->frontMargin = 30;
    a->rearMargin = 45;
  }
  return a;
}

void DestroyDiscAuthor(_tagDiscAuthor* a) {
  if (!a) return;
  EndDiscOutput(a);
  for (_tagCustomFile& f : a->customFiles) StreamFree(f.source);
  for (_tagSequenceTrack& t : a->sequences) DestroyMpegSource(t.source, true);
  for (_tagSegmentItem& s : a->segments) DestroyMpegSource(s.source, true);
  for (_tagPbcItem* item : a->pbcItems) DestroyPbcItem(item);
  delete a;
}

bool DiscTypeSupports(const _tagDiscAuthor* a, int feature) {
  const uint32_t t = a ? a->discType : 0;
  switch (feature) {
    case 0:
      return t >= 1 && t <= 5;
    case 1:
    case 5:
      return t >= 1 && t <= 3;
    case 2:
    case 6:
      return t == 4 || t == 5;
    case 3:
    case 7:
      return t >= 3 && t <= 5;
    case 4:
      return t == 3;
    default:
      return false;
  }
}

int SetDiscNumberParam(_tagDiscAuthor* a, int code, uint32_t v) {
  switch (code) {
    case ParamVolumeCount:
      a->volumeCount = v == 0 ? 1 : std::min<uint32_t>(v, 65535);
      break;
    case ParamVolumeNumber:
      a->volumeNumber = std::min<uint32_t>(v, 65534);
      break;
    case ParamRestriction:
      a->restriction = std::min<uint32_t>(v, 65534);
      break;
    case ParamLeadoutGapSectors:
      a->leadoutGap = std::min<uint32_t>(v, 300);
      break;
    case ParamTrackGapSectors:
      a->trackGap = v == 0 ? 1 : std::min<uint32_t>(v, 300);
      break;
    case ParamFrontMarginSectors:
      a->frontMargin = std::min<uint32_t>(v, 150);
      break;
    case ParamRearMarginSectors:
      a->rearMargin = std::min<uint32_t>(v, 150);
      break;
    default:
      return SetDiscFlagParam(a, code, v ? 1 : 0);
  }
  return 0;
}

int SetDiscTextParam(_tagDiscAuthor* a, int code, const char* value) {
  const std::string text = value ? value : "";
  switch (code) {
    case ParamVolumeLabel:
      a->volumeLabel = text.substr(0, 32);
      break;
    case ParamPublisher:
      a->publisher = text.substr(0, 128);
      break;
    case ParamAlbumName:
      a->albumName = text.substr(0, 16);
      break;
    case ParamApplication:
      a->application = text.substr(0, 128);
      break;
    default:
      break;
  }
  return 0;
}

int SetDiscFlagParam(_tagDiscAuthor* a, int code, int value) {
  const bool on = value != 0;
  const bool svcd = a->discType == DiscTypeSvcd;
  switch (code) {
    case ParamNextVolumeList2:
      a->nextVolumeList2 = on;
      break;
    case ParamNextVolumeTrack3:
      a->nextVolumeTrack3 = on;
      break;
    case ParamSvcdMpegavFolder:
      if (svcd) a->svcdMpegavFolder = on;
      break;
    case ParamSvcdEntrySvd:
      if (svcd) a->svcdEntrySvd = on;
      break;
    case ParamSvcdTracksCompat:
      if (svcd) a->svcdTracksCompat = on;
      break;
    case ParamFixScanInfo:
      if (DiscTypeSupports(a, 6)) a->fixScanInfo = on;
      break;
    case ParamLooseAccessPoints:
      a->looseAccessPoints = on;
      break;
    case ParamLeadoutGap:
      a->leadoutGap = on ? 150 : 0;
      break;
    default:
      break;
  }
  return 0;
}

bool IdInUse(const _tagDiscAuthor* a, const std::string& id) {
  if (id.empty()) return false;
  for (const auto& t : a->sequences)
    if (t.itemId == id || t.entryId == id) return true;
  for (const auto& s : a->segments)
    if (s.itemId == id) return true;
  for (const _tagPbcItem* p : a->pbcItems)
    if (p->id == id) return true;
  return false;
}

namespace {

bool ScanForAdd(_tagDiscAuthor* a, _tagMpegSource* source) {
  if (!source) return false;
  if (ScanMpegSource(source, !a->looseAccessPoints, a->fixScanInfo, nullptr, nullptr) != 0) return false;
  return source->info.packetCount > 0;
}

uint32_t SegmentUnits(const _tagDiscAuthor* a) {
  uint32_t units = 0;
  for (const auto& s : a->segments) units += s.units;
  return units;
}

}  // namespace

int AddSegmentItem(_tagDiscAuthor* a, _tagMpegSource* source, const char* itemId) {
  if (a->inOutput || !DiscTypeSupports(a, 3) || !itemId || !*itemId || IdInUse(a, itemId)) return -1;
  if (!ScanForAdd(a, source)) return -1;
  const uint32_t units = (source->info.packetCount + 149) / 150;
  if (SegmentUnits(a) + units > kMaxSegmentUnits) return -1;
  a->segments.push_back({source, itemId, units, 0});
  return 0;
}

int AddSequenceTrack(_tagDiscAuthor* a, _tagMpegSource* source, const char* itemId, const char* entryId) {
  const std::string item = itemId ? itemId : "", entry = entryId ? entryId : "";
  if (a->inOutput || a->sequences.size() >= kMaxSequences || IdInUse(a, item) || IdInUse(a, entry) ||
      (!item.empty() && item == entry))
    return -1;
  if (!ScanForAdd(a, source)) return -1;
  a->trackSectors += a->trackGap;
  _tagSequenceTrack t;
  t.source = source;
  t.itemId = item;
  t.entryId = entry;
  t.relativeStart = a->trackSectors;
  a->trackSectors += a->frontMargin + source->info.packetCount + a->rearMargin;
  a->sequences.push_back(std::move(t));
  return static_cast<int>(a->sequences.size() - 1);
}

int AddPbcItem(_tagDiscAuthor* a, _tagPbcItem* item) {
  if (a->inOutput || !item || !DiscTypeSupports(a, 3) || IdInUse(a, item->id) ||
      a->pbcItems.size() >= kMaxPbcItems)
    return -1;
  a->pbcItems.push_back(item);
  return 0;
}

namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// A level 2 name of at most 31 characters: the stem is cut, the extension kept.
std::string ShortName(const std::string& name, size_t limit) {
  if (name.size() <= limit) return name;
  const size_t dot = name.rfind('.');
  std::string ext = dot == std::string::npos || dot == 0 ? "" : name.substr(dot);
  if (ext.size() >= limit) ext = ext.substr(0, limit / 2);
  return name.substr(0, limit - ext.size()) + ext;
}

bool PathTaken(const _tagDiscAuthor* a, const std::string& path) {
  for (const auto& f : a->customFiles) {
    if (f.isoPath == path) return true;
    // A file where a folder is wanted or the other way round.
    if (f.isoPath.compare(0, path.size() + 1, path + "/") == 0 ||
        path.compare(0, f.isoPath.size() + 1, f.isoPath + "/") == 0)
      return true;
  }
  return false;
}

}  // namespace

int AddCustomFile(_tagDiscAuthor* a, const char* isoPath, _tagDataSource* source, bool form2) {
  if (a->inOutput || !isoPath || !source) return -1;
  std::vector<std::string> parts;
  std::string path = Upper(isoPath), part;
  for (char c : path + "/") {
    if (c == '/' || c == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (parts.empty() || parts.size() > size_t(kMaxIsoDepth)) return -1;
  std::string folder;
  for (size_t i = 0; i + 1 < parts.size(); ++i) folder += ShortName(parts[i], kMaxIsoNameLength) + "/";
  std::string name = ShortName(parts.back(), kMaxIsoNameLength);
  // Two long names that shorten alike get a number before their extension.
  for (int n = 1; PathTaken(a, folder + name); ++n) {
    if (n > 999) return -1;
    const std::string suffix = "~" + std::to_string(n);
    const size_t dot = parts.back().rfind('.');
    const std::string ext = dot == std::string::npos || dot == 0 ? "" : parts.back().substr(dot);
    const std::string stem = parts.back().substr(0, parts.back().size() - ext.size());
    name = ShortName(
        stem.substr(0, kMaxIsoNameLength - std::min(kMaxIsoNameLength, ext.size() + suffix.size())) + suffix +
            ext,
        kMaxIsoNameLength);
  }
  const int64_t size = StreamSize(source);
  StreamClose(source);
  if (form2 && (size == 0 || size % kRawForm2Bytes != 0)) return 1;
  if (size > int64_t(kMaxImageSectors) * 2048) return -1;
  _tagCustomFile f;
  f.isoPath = folder + name;
  f.source = source;
  f.form2 = form2;
  f.size = size;
  f.sectorCount = form2 ? uint32_t(size / kRawForm2Bytes) : SectorsFor(uint64_t(size));
  a->customFiles.push_back(std::move(f));
  return 0;
}

uint32_t BeginDiscOutput(_tagDiscAuthor* a) {
  EndDiscOutput(a);
  a->inOutput = true;
  a->currentSector = 0;
  a->currentTrack = 1;
  a->lastReported = 0;
  a->stopped = false;
  const auto refuse = [&](const char* why) {
    WriteErrorLog("Video CD layout refused: %s", why);
    return 0u;
  };
  if (!LayoutPsd(a)) return refuse("playback control lists past their limits");
  if (DiscTypeSupports(a, 2))
    for (const auto& t : a->sequences)
      if (t.source->info.video[0].accessPoints.empty()) return refuse("a track without access points");
  if (!AllocateIsoSectors(a)) return refuse("track 1 does not fit");
  if (!BuildIsoFileSystem(a)) return refuse("the directories do not fit below sector 75");
  const uint64_t total = uint64_t(a->trackSectors) + a->isoSize + a->leadoutGap;
  if (total > kMaxImageSectors) return refuse("the image is longer than 99:59:74");
  return static_cast<uint32_t>(total);
}

void EndDiscOutput(_tagDiscAuthor* a) {
  a->root.reset();
  a->sectorMap.Clear();
  a->isoBuffers.clear();
  a->inOutput = false;
}

bool ReportProgress(_tagDiscAuthor* a, bool forced) {
  if (!forced && a->currentSector < a->lastReported + 75) return true;
  a->lastReported = a->currentSector;
  if (!a->progress) return true;
  const _tagImageProgress p{a->currentSector, a->trackSectors + a->isoSize, a->currentTrack,
                            static_cast<uint32_t>(a->sequences.size() + 1)};
  if (a->progress(p, a->progressData) != 0) a->stopped = true;
  return !a->stopped;
}

int WriteDiscImage(_tagDiscAuthor* a, _tagImageSink* sink, ImageProgressCallback progress, void* data,
                   VideoCDJob* job) {
  if (!sink) return -1;
  if (!a->inOutput) {
    SinkAbort(sink);
    return 1;
  }
  std::vector<_tagCueEntry> cues{{0, CueTrackStart}};
  for (const auto& t : a->sequences) {
    cues.push_back({a->isoSize + t.relativeStart - a->trackGap, CuePregapStart});
    cues.push_back({a->isoSize + t.relativeStart, CueTrackStart});
  }
  cues.push_back({a->trackSectors + a->isoSize + a->leadoutGap, CueLeadoutStart});
  a->progress = progress;
  a->progressData = data;
  a->sink = sink;
  // Every way out that is not the complete image ends the sink: its files go, a burn stops.
  const auto stop = [&] {
    a->sink = nullptr;
    SinkAbort(sink);
    return 1;
  };
  if (SinkSetCueSheet(sink, cues, job) != 0) return stop();
  if (!ReportProgress(a, true)) return stop();
  if (!WriteIsoTrack(a)) return stop();
  for (size_t i = 0; i < a->sequences.size(); ++i) {
    ++a->currentTrack;
    if (!ReportProgress(a, true) || !WriteSequenceTrack(a, i)) return stop();
  }
  for (uint32_t k = 0; k < a->leadoutGap; ++k)
    if (!WriteImageSector(a, nullptr, a->currentSector, 0, 0, 0x20, 0)) return stop();
  if (!ReportProgress(a, true)) return stop();
  a->sink = nullptr;
  if (SinkFree(sink) != 0) return 1;
  if ((g_nImageOutputFlags & kImageOutputFiles) && job && job->window)
    PostMessage(job->window, WM_IMAGE_WRITE_DONE, 0, 0);
  return 0;
}
