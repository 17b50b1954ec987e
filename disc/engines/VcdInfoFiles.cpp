#include "disc/engines/VcdInfoFiles.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "disc/engines/DiscAuthor.h"
#include "disc/engines/Mode2Sector.h"
#include "disc/engines/PbcLists.h"
#include "modules/burn/Msf.h"

namespace {

void Put16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 8);
  p[1] = static_cast<uint8_t>(v);
}

double ReduceBelow6000(double t) {
  while (t >= 6000) t -= 6000;
  return t;
}

struct Point {
  uint32_t sector;
  double time;
};

// Sector of every half second from `points` (in time order): the nearest point not passed.
void PickPoints(const std::vector<Point>& points, uint32_t n, uint8_t* out) {
  size_t current = 0;
  for (uint32_t k = 0; k < n; ++k) {
    const double t = k / 2.0;
    while (current + 1 < points.size() &&
           std::fabs(points[current + 1].time - t) < std::fabs(points[current].time - t))
      ++current;
    AddressToBcd(points.empty() ? 150 : points[current].sector + 150, out + 3 * k);
  }
}

std::vector<Point> TrackPoints(const _tagDiscAuthor* a, size_t i, double offset) {
  const _tagSequenceTrack& t = a->sequences[i];
  std::vector<Point> points;
  for (const AccessPoint& p : t.source->info.video[0].accessPoints)
    points.push_back({a->isoSize + t.relativeStart + a->frontMargin + p.packet, offset + p.time});
  return points;
}

uint32_t TrackPointCount(const _tagDiscAuthor* a, size_t i) {
  return static_cast<uint32_t>(std::ceil(2 * a->sequences[i].source->info.playingTime));
}

}  // namespace

void PlayingTimeToBcd(double seconds, uint8_t* out) {
  if (seconds >= 6000 || !(seconds >= 0)) {
    if (seconds >= 6000) {
      out[0] = 0x99, out[1] = 0x59, out[2] = 0x74;
      return;
    }
    seconds = 0;
  }
  const uint32_t whole = static_cast<uint32_t>(seconds);
  out[0] = ToBcd(whole / 60);
  out[1] = ToBcd(whole % 60);
  out[2] = ToBcd(static_cast<uint32_t>((seconds - whole) * 75));
}

uint8_t ContentByte(const _tagDiscAuthor* a, const _tagStreamInfo& s) {
  uint32_t video = 0;
  const auto tall = [](const VideoStreamInfo& v) { return v.verticalSize == 288 || v.verticalSize == 576; };
  if (s.video[0].present)
    video = tall(s.video[0]) ? 7 : 3;
  else if (s.video[2].present)
    video = tall(s.video[2]) ? 6 : 2;
  else if (s.video[1].present)
    video = tall(s.video[1]) ? 5 : 1;
  uint32_t audio = 0, subtitle = 0;
  const bool svcd = DiscTypeSupports(a, 2);
  if (s.audio[0].present) {
    if (svcd)
      audio = s.audio[2].present ? 3 : s.audio[1].present ? 2 : 1;
    else
      audio = s.audio[0].mode <= 2 ? (s.audio[0].mode ? 2 : 0) : s.audio[0].mode == 3 ? 3 : 1;
  }
  if (svcd) {
    if (s.subtitle[0] && s.subtitle[1] && (s.subtitle[2] || s.subtitle[3]))
      subtitle = 3;
    else if (s.subtitle[0] && s.subtitle[1])
      subtitle = 2;
    else if (s.subtitle[0])
      subtitle = 1;
  }
  return static_cast<uint8_t>(video * 4 + audio + subtitle * 64);
}

void WriteInfoFile(const _tagDiscAuthor* a, uint8_t* s) {
  std::memset(s, 0, 2048);
  static const char* kIds[] = {"", "VIDEO_CD", "VIDEO_CD", "VIDEO_CD", "SUPERVCD", "HQ-VCD  "};
  static const uint8_t kVersion[] = {0, 1, 1, 2, 1, 1}, kProfile[] = {0, 0, 1, 0, 0, 1};
  std::memcpy(s, kIds[a->discType], 8);
  s[8] = kVersion[a->discType];
  s[9] = kProfile[a->discType];
  std::memset(s + 10, ' ', 16);
  std::memcpy(s + 10, a->albumName.data(), std::min<size_t>(16, a->albumName.size()));
  Put16(s + 26, a->volumeCount);
  Put16(s + 28, a->volumeNumber);
  if (!DiscTypeSupports(a, 3)) return;
  for (size_t i = 0; i < a->sequences.size() && i < kMaxSequences; ++i) {
    const _tagStreamInfo& info = a->sequences[i].source->info;
    const int format = ClassifyVideoFormat(info);
    const uint32_t h = info.video[0].present ? info.video[0].verticalSize : 0;
    if (format == VideoPalSif || format == VideoPal23D1 || h == 288 || h == 576)
      s[30 + i / 8] |= uint8_t(1 << (i % 8));
  }
  const bool pbc = HasPlaybackControl(a);
  s[43] = static_cast<uint8_t>((a->restriction & 3) << 1 | (a->nextVolumeList2 ? 0x20 : 0) |
                               (a->nextVolumeTrack3 ? 0x40 : 0) |
                               (a->discType == DiscTypeVcd2 && pbc ? 0x80 : 0));
  if (pbc) {
    const uint32_t size = a->psdSize;
    s[44] = uint8_t(size >> 24), s[45] = uint8_t(size >> 16), s[46] = uint8_t(size >> 8),
    s[47] = uint8_t(size);
    s[51] = 8;
    Put16(s + 52, GetMaxListId(a));
  }
  if (!a->segments.empty()) {
    AddressToBcd(a->isoCoreSize + 150, s + 48);
    uint32_t units = 0;
    for (const _tagSegmentItem& seg : a->segments) {
      const uint8_t content = ContentByte(a, seg.source->info);
      for (uint32_t u = 0; u < seg.units && 56 + units < 2048; ++u, ++units)
        s[56 + units] = content | (u ? 0x20 : 0);
    }
    Put16(s + 54, units);
  }
}

void WriteEntriesFile(const _tagDiscAuthor* a, uint8_t* s) {
  std::memset(s, 0, 2048);
  std::memcpy(s, a->discType == DiscTypeSvcd && a->svcdEntrySvd ? "ENTRYSVD" : "ENTRYVCD", 8);
  s[8] = a->discType == DiscTypeVcd2 ? 2 : 1;
  const size_t n = std::min(a->sequences.size(), kMaxSequences);
  Put16(s + 10, static_cast<uint32_t>(n));
  for (size_t i = 0; i < n; ++i) {
    s[12 + 4 * i] = ToBcd(static_cast<uint32_t>(i + 2));
    AddressToBcd(a->isoSize + a->sequences[i].relativeStart + 150, s + 13 + 4 * i);
  }
}

void WriteTracksFile(const _tagDiscAuthor* a, uint8_t* s) {
  std::memset(s, 0, 2048);
  std::memcpy(s, "TRACKSVD", 8);
  s[8] = 1;
  const size_t n = std::min(a->sequences.size(), kMaxSequences);
  s[10] = static_cast<uint8_t>(n);
  const bool compat = a->discType == DiscTypeSvcd && a->svcdTracksCompat;
  double sum = 0;
  for (size_t i = 0; i < n; ++i) {
    const _tagStreamInfo& info = a->sequences[i].source->info;
    if (!compat) {
      PlayingTimeToBcd(info.playingTime, s + 11 + 3 * i);
      s[11 + 3 * n + i] = ContentByte(a, info);
    } else {
      sum += info.playingTime;
      uint8_t* e = s + 11 + 5 * i;
      PlayingTimeToBcd(ReduceBelow6000(sum), e);
      for (int k = 0; k < 4; ++k)
        if (info.subtitle[k]) e[3] |= uint8_t(1 << (2 * k));
      e[4] = (info.audio[0].present ? 0x02 : 0) | (info.audio[1].present ? 0x20 : 0);
    }
  }
}

uint32_t SearchPointCount(const _tagDiscAuthor* a) {
  double total = 0;
  for (const _tagSequenceTrack& t : a->sequences) total += t.source->info.playingTime;
  return static_cast<uint32_t>(std::max(0.0, std::ceil(2 * total)));
}

uint32_t SearchFileBytes(const _tagDiscAuthor* a) {
  return 13 + 3 * SearchPointCount(a);
}

uint32_t ScanDataFileBytes(const _tagDiscAuthor* a) {
  uint32_t points = 0;
  for (size_t i = 0; i < a->sequences.size(); ++i) points += TrackPointCount(a, i);
  return 6 * static_cast<uint32_t>(a->sequences.size()) + 19 + 3 * points;
}

void WriteSearchFile(const _tagDiscAuthor* a, uint8_t* b) {
  const uint32_t n = SearchPointCount(a);
  std::memcpy(b, "SEARCHSV", 8);
  b[8] = 1;
  b[9] = 0;
  Put16(b + 10, std::min<uint32_t>(n, 0xFFFF));
  b[12] = 1;
  std::vector<Point> all;
  double offset = 0;
  for (size_t i = 0; i < a->sequences.size(); ++i) {
    const auto points = TrackPoints(a, i, offset);
    all.insert(all.end(), points.begin(), points.end());
    offset += a->sequences[i].source->info.playingTime;
  }
  PickPoints(all, n, b + 13);
}

void WriteScanDataFile(const _tagDiscAuthor* a, uint8_t* b) {
  const uint32_t tracks = static_cast<uint32_t>(a->sequences.size());
  std::memcpy(b, "SCAN_VCD", 8);
  b[8] = 1;
  b[9] = 0;
  Put16(b + 10, std::min<uint32_t>(SearchPointCount(a), 0xFFFF));
  Put16(b + 12, tracks);
  Put16(b + 14, 0);
  double sum = 0;
  for (uint32_t i = 0; i < tracks; ++i) {
    sum += a->sequences[i].source->info.playingTime;
    PlayingTimeToBcd(ReduceBelow6000(sum), b + 16 + 3 * i);
  }
  Put16(b + 16 + 3 * tracks, 3 * tracks);
  uint32_t before = 0;
  uint8_t* points = b + 18 + 6 * tracks;
  for (uint32_t i = 0; i < tracks; ++i) {
    uint8_t* e = b + 18 + 3 * tracks + 3 * i;
    e[0] = static_cast<uint8_t>(i + 2);
    Put16(e + 1, 3 * tracks + 3 * before);
    const uint32_t count = TrackPointCount(a, i);
    PickPoints(TrackPoints(a, i, 0), count, points + 3 * before);
    before += count;
  }
}
