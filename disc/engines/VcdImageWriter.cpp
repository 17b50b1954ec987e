#include "disc/engines/VcdImageWriter.h"

#include <algorithm>
#include <cstring>

#include "disc/engines/DiscAuthor.h"
#include "disc/engines/ImageSink.h"
#include "disc/engines/IsoFileSystem.h"
#include "disc/engines/Mode2Sector.h"
#include "disc/engines/PbcLists.h"
#include "disc/engines/VcdInfoFiles.h"
#include "modules/log/Log.h"

namespace {

// The first taken sector of the range, or at + count when all are free.
uint32_t FirstTaken(const SectorMap& map, uint32_t at, uint32_t count) {
  for (uint32_t k = 0; k < count; ++k)
    if (map.Taken(at + k)) return at + k;
  return at + count;
}

bool Free(const SectorMap& map, uint32_t at, uint32_t count) {
  return FirstTaken(map, at, count) == at + count;
}

uint32_t Highest(const _tagDiscAuthor* a) {
  return static_cast<uint32_t>(a->sectorMap.Highest() + 1);
}

_tagIsoBuffer* PlaceBuffer(_tagDiscAuthor* a, const char* key, int64_t at, uint32_t count, uint8_t flags) {
  const uint32_t first = AllocateSectors(a, at, count);
  if (first == 0xFFFFFFFF) return nullptr;
  return AddIsoBuffer(a, key, first, count, flags);
}

// The buffer sector covering `address`, and whether it is its buffer's last.
const uint8_t* BufferSector(const _tagDiscAuthor* a, uint32_t address, uint8_t& endFlags) {
  for (const auto& b : a->isoBuffers) {
    if (address >= b->firstSector && address < b->firstSector + b->sectorCount) {
      endFlags = address + 1 == b->firstSector + b->sectorCount ? b->endFlags : 0;
      return b->data.data() + size_t(address - b->firstSector) * 2048;
    }
  }
  endFlags = 0;
  return nullptr;
}

bool Svcd(const _tagDiscAuthor* a) {
  return DiscTypeSupports(a, 2);
}

bool WriteCustomFile(_tagDiscAuthor* a, _tagCustomFile& f) {
  uint8_t piece[kRawForm2Bytes];
  StreamSeek(f.source, 0);
  bool ok = true;
  for (uint32_t k = 0; k < f.sectorCount && ok; ++k) {
    const size_t want =
        f.form2 ? kRawForm2Bytes : size_t(std::min<int64_t>(2048, f.size - int64_t(k) * 2048));
    std::memset(piece, 0, sizeof(piece));
    if (StreamReadBytes(f.source, piece, want) != want) {
      // A file that changed or cannot be read would leave zeros on the disc in its place.
      WriteErrorLog("Extra file %s could not be read whole", StreamPath(f.source).c_str());
      ok = false;
      break;
    }
    if (f.form2) {
      uint8_t sector[kRawSectorBytes];
      EncodeRawForm2Sector(sector, piece, a->currentSector);
      ok = SinkWriteSector(a->sink, sector, a->currentSector) == 0;
      ++a->currentSector;
      ok = ok && ReportProgress(a, false);
    } else {
      const uint8_t submode = k + 1 == f.sectorCount ? 0x88 : 0x08;
      ok = WriteImageSector(a, piece, a->currentSector, 1, 0, submode, 0);
    }
  }
  StreamClose(f.source);
  return ok;
}

bool FillTo(_tagDiscAuthor* a, uint32_t end, uint8_t fileNumber) {
  while (a->currentSector < end) {
    uint8_t flags = 0;
    const uint8_t* data = BufferSector(a, a->currentSector, flags);
    if (!WriteImageSector(a, data, a->currentSector, fileNumber, 0, uint8_t(0x08 | flags), 0)) return false;
  }
  return true;
}

bool HasSequenceEnd(const uint8_t* packet) {
  for (int i = 0; i <= 2320; ++i)
    if (packet[i] == 0 && packet[i + 1] == 0 && packet[i + 2] == 1 && packet[i + 3] == 0xB7) return true;
  return false;
}

}  // namespace

uint32_t AllocateSectors(_tagDiscAuthor* a, int64_t position, uint32_t count) {
  count = std::max<uint32_t>(count, 1);
  uint32_t at;
  if (position < 0) {
    at = a->sectorMap.firstFree;
    for (uint32_t taken; (taken = FirstTaken(a->sectorMap, at, count)) != at + count;) at = taken + 1;
  } else {
    at = static_cast<uint32_t>(position);
    if (!Free(a->sectorMap, at, count)) return 0xFFFFFFFF;
  }
  for (uint32_t k = 0; k < count; ++k) a->sectorMap.Set(at + k, true);
  return at;
}

bool AllocateIsoSectors(_tagDiscAuthor* a) {
  a->isoBuffers.clear();
  a->sectorMap.Clear();
  AllocateSectors(a, 0, 16);
  AllocateSectors(a, 75, 75);
  PlaceBuffer(a, "pvd", 16, 1, 0x01);
  PlaceBuffer(a, "evd", 17, 1, 0x81);
  AllocateSectors(a, 18, 57);
  PlaceBuffer(a, "info", 150, 1, 0x80);
  PlaceBuffer(a, "entries", 151, 1, 0x80);
  const bool pbc = HasPlaybackControl(a);
  if (pbc) {
    PlaceBuffer(a, "lot", 152, kLotBytes / 2048, 0x80);
    if (!PlaceBuffer(a, "psd", 184, SectorsFor(a->psdSize), 0x80)) return false;
  }
  if (Svcd(a)) {
    PlaceBuffer(a, "tracks", -1, 1, 0x80);
    PlaceBuffer(a, "search", -1, SectorsFor(SearchFileBytes(a)), 0x80);
  }
  a->isoCoreSize = (Highest(a) + 74) / 75 * 75;
  for (uint32_t k = 0; k < a->isoCoreSize; ++k) a->sectorMap.Set(k, true);
  for (_tagSegmentItem& s : a->segments) s.firstSector = AllocateSectors(a, -1, s.units * 150);
  a->extensionStart = Highest(a);
  if (Svcd(a))
    PlaceBuffer(a, "scandata", -1, SectorsFor(ScanDataFileBytes(a)), 0x80);
  else if (a->discType == DiscTypeVcd2 && pbc) {
    PlaceBuffer(a, "lot_x", -1, kLotBytes / 2048, 0x80);
    PlaceBuffer(a, "psd_x", -1, SectorsFor(a->psdxSize), 0x80);
  }
  a->customStart = Highest(a);
  for (_tagCustomFile& f : a->customFiles) {
    if (f.sectorCount == 0)
      f.firstSector = a->customStart;
    else
      f.firstSector = AllocateSectors(a, -1, f.sectorCount);
    if (uint64_t(f.firstSector) + f.sectorCount > kMaxImageSectors) return false;
  }
  a->isoSize = std::max<uint32_t>(Highest(a), 300);
  return true;
}

bool WriteImageSector(_tagDiscAuthor* a, const uint8_t* data, uint32_t address, uint8_t fileNumber,
                      uint8_t channel, uint8_t submode, uint8_t coding) {
  uint8_t sector[kRawSectorBytes];
  EncodeMode2Sector(sector, data, address, fileNumber, channel, submode, coding);
  if (!a->sink || SinkWriteSector(a->sink, sector, address) != 0) return false;
  ++a->currentSector;
  return ReportProgress(a, false);
}

bool WriteIsoTrack(_tagDiscAuthor* a) {
  WritePrimaryVolumeDescriptor(a, FindIsoBuffer(a, "pvd")->data.data());
  WriteVolumeTerminator(FindIsoBuffer(a, "evd")->data.data());
  WriteInfoFile(a, FindIsoBuffer(a, "info")->data.data());
  WriteEntriesFile(a, FindIsoBuffer(a, "entries")->data.data());
  if (HasPlaybackControl(a)) {
    if (_tagIsoBuffer* b = FindIsoBuffer(a, "lot_x")) WriteLotFile(a, b->data.data(), true);
    if (_tagIsoBuffer* b = FindIsoBuffer(a, "psd_x")) WritePsdFile(a, b->data.data(), true);
    WriteLotFile(a, FindIsoBuffer(a, "lot")->data.data(), false);
    WritePsdFile(a, FindIsoBuffer(a, "psd")->data.data(), false);
  }
  if (Svcd(a)) {
    WriteTracksFile(a, FindIsoBuffer(a, "tracks")->data.data());
    WriteSearchFile(a, FindIsoBuffer(a, "search")->data.data());
    WriteScanDataFile(a, FindIsoBuffer(a, "scandata")->data.data());
  }
  if (!FillTo(a, a->isoCoreSize, 0)) return false;
  for (size_t i = 0; i < a->segments.size(); ++i)
    if (!WriteSegmentItem(a, i)) return false;
  if (!FillTo(a, a->customStart, Svcd(a) ? 0 : 1)) return false;
  for (_tagCustomFile& f : a->customFiles) {
    if (a->currentSector != f.firstSector && f.sectorCount) FillTo(a, f.firstSector, 0);
    if (!WriteCustomFile(a, f)) return false;
  }
  while (a->currentSector < a->isoSize)
    if (!WriteImageSector(a, nullptr, a->currentSector, 0, 0, 0x08, 0)) return false;
  return true;
}

bool WriteSegmentItem(_tagDiscAuthor* a, size_t index) {
  _tagSegmentItem& s = a->segments[index];
  const bool svcd = Svcd(a);
  const uint32_t packets = s.source->info.packetCount;
  uint8_t packet[kForm2Bytes];
  bool ok = true;
  for (uint32_t k = 0; k < s.units * 150 && ok; ++k) {
    if (k < packets) {
      _tagPacketInfo info;
      if (ReadMpegPacket(s.source, k, packet, &info, a->fixScanInfo) != 0) {
        ok = false;
        break;
      }
      uint8_t channel = 0, submode = 0x60, coding = 0;
      const int kind = ClassifyPacket(info);
      if (kind == PacketVideo) {
        submode = 0x62, channel = 1, coding = 0x0F;
        if (info.video[1] || info.video[2]) {
          channel = info.video[2] ? 3 : 2;
          coding = info.video[2] ? 0x3F : 0x1F;
          if (HasSequenceEnd(packet)) submode |= 0x01;
        }
      } else if (kind == PacketAudio) {
        submode = 0x64, channel = 1, coding = 0x7F;
      }
      if (svcd) {
        const bool end = submode & 0x01;
        channel = 1, submode = uint8_t(0x62 | (end ? 0x01 : 0)), coding = 0x80;
      }
      if (k + 1 == packets) submode |= 0x80;
      ok = WriteImageSector(a, packet, a->currentSector, 1, channel, submode, coding);
    } else {
      ok = WriteImageSector(a, nullptr, a->currentSector, svcd ? 0 : 1, 0, svcd ? 0x20 : 0x60, 0);
    }
  }
  StreamClose(s.source->source);
  if (ok) StreamDelete(s.source->source);
  return ok;
}

bool WriteSequenceTrack(_tagDiscAuthor* a, size_t index) {
  _tagSequenceTrack& t = a->sequences[index];
  const uint8_t f = static_cast<uint8_t>(index + 1);
  const bool svcdPackets = Svcd(a) && !a->svcdMpegavFolder;
  for (uint32_t k = 0; k < a->trackGap; ++k)
    if (!WriteImageSector(a, nullptr, a->currentSector, 0, 0, 0x20, 0)) return false;
  for (uint32_t k = 0; k < a->frontMargin; ++k)
    if (!WriteImageSector(a, nullptr, a->currentSector, f, 0, 0x60, 0)) return false;
  const uint32_t packets = t.source->info.packetCount;
  uint8_t packet[kForm2Bytes];
  for (uint32_t k = 0; k < packets; ++k) {
    _tagPacketInfo info;
    if (ReadMpegPacket(t.source, k, packet, &info, a->fixScanInfo) != 0) {
      StreamClose(t.source->source);
      return false;
    }
    uint8_t fileNumber = f, channel = 0, submode = 0x60, coding = 0;
    switch (ClassifyPacket(info)) {
      case PacketVideo:
        channel = 1, submode = 0x62, coding = 0x0F;
        break;
      case PacketAudio:
        channel = info.audio[1] || info.audio[2] ? 2 : 1, submode = 0x64, coding = 0x7F;
        break;
      case PacketSubtitle:
        channel = 2, submode = 0x62, coding = 0x0F;
        break;
      case PacketZero:
      case PacketOther:
        break;
      default:
        WriteErrorLog("Sequence %u: packet %u cannot be classified", unsigned(index + 1), k);
        StreamClose(t.source->source);
        return false;
    }
    if (svcdPackets) fileNumber = 1, coding = 0x80;
    if (k + 1 == packets) submode |= uint8_t(0x01 | (a->rearMargin == 0 ? 0x80 : 0));
    if (!WriteImageSector(a, packet, a->currentSector, fileNumber, channel, submode, coding)) {
      StreamClose(t.source->source);
      return false;
    }
  }
  StreamClose(t.source->source);
  for (uint32_t k = 0; k < a->rearMargin; ++k)
    if (!WriteImageSector(a, nullptr, a->currentSector, f, 0, k + 1 == a->rearMargin ? 0xE0 : 0x60, 0))
      return false;
  return true;
}
