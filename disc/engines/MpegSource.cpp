#include "disc/engines/MpegSource.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "modules/burn/Msf.h"
#include "modules/log/Log.h"

namespace {

constexpr double kPelAspect[16] = {0,      1.0,    0.6735, 0.7031, 0.7615, 0.8055, 0.8437, 0.8935,
                                   0.9157, 0.9815, 1.0255, 1.0695, 1.0950, 1.1575, 1.2015, 0};
constexpr double kFrameRates[16] = {0, 24000.0 / 1001, 24, 25, 30000.0 / 1001, 30, 50, 60000.0 / 1001, 60};
constexpr uint32_t kAudioKbps[3][16] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}};
constexpr uint32_t kSamplingRates[4] = {44100, 48000, 32000, 0};

bool StartCode(const uint8_t* b, uint32_t at, uint32_t end) {
  return at + 4 <= end && b[at] == 0 && b[at + 1] == 0 && b[at + 2] == 1;
}

double ReadPts(const uint8_t* p) {
  const uint64_t v = (uint64_t(p[0] >> 1) & 7) << 30 | uint64_t(p[1]) << 22 | uint64_t(p[2] >> 1) << 15 |
                     uint64_t(p[3]) << 7 | uint64_t(p[4] >> 1);
  return static_cast<double>(v) / 90000.0;
}

void NoteTime(_tagStreamInfo& s, _tagPacketInfo& info, double t) {
  info.hasTimeStamp = 1;
  info.timeStamp = t;
  if (!s.timeStampsSeen) {
    s.firstTime = s.lastTime = t;
    s.timeStampsSeen = true;
  } else {
    s.firstTime = std::min(s.firstTime, t);
    s.lastTime = std::max(s.lastTime, t);
  }
}

// The PES header from `at` (just after the length field) to `end`: the payload's offset.
uint32_t ParsePesHeader(const uint8_t* b, uint32_t at, uint32_t end, _tagStreamInfo& s,
                        _tagPacketInfo& info) {
  if (at >= end) return end;
  if ((b[at] & 0xC0) == 0x80) {
    if (at + 3 > end) return end;
    const uint32_t payload = at + 3 + b[at + 2];
    if ((b[at + 1] >> 6) >= 2 && at + 8 <= std::min(payload, end)) NoteTime(s, info, ReadPts(b + at + 3));
    return std::min(payload, end);
  }
  uint32_t p = at;
  for (int stuffing = 0; stuffing < 16 && p < end && b[p] == 0xFF; ++stuffing) ++p;
  if (p < end && (b[p] & 0xC0) == 0x40) p += 2;
  if (p >= end) return end;
  const uint8_t flags = b[p] & 0xF0;
  if (flags == 0x20 || flags == 0x30) {
    const uint32_t size = flags == 0x20 ? 5 : 10;
    if (p + size > end) return end;
    NoteTime(s, info, ReadPts(b + p));
    return p + size;
  }
  if (b[p] == 0x0F) return p + 1;
  return p;
}

void ParseAudioPayload(const uint8_t* b, uint32_t at, uint32_t end, AudioStreamInfo& a) {
  for (uint32_t p = at; p + 4 <= end; ++p) {
    if (b[p] != 0xFF || (b[p + 1] & 0xF8) != 0xF8) continue;
    const uint32_t layerCode = (b[p + 1] >> 1) & 3;
    a.layer = layerCode ? 4 - layerCode : 0;
    a.bitRate = a.layer ? kAudioKbps[a.layer - 1][b[p + 2] >> 4] * 1024 : 0;
    a.samplingRate = kSamplingRates[(b[p + 2] >> 2) & 3];
    a.mode = (b[p + 3] >> 6) + 1u;
    a.headerRead = true;
    return;
  }
}

// The next start code prefix at or after `p` that leaves room for its code byte; `end` when none.
uint32_t NextStartCode(const uint8_t* b, uint32_t p, uint32_t end) {
  while (p + 4 <= end) {
    const void* one = std::memchr(b + p + 2, 1, end - 1 - (p + 2));
    if (!one) return end;
    const uint32_t at = static_cast<uint32_t>(static_cast<const uint8_t*>(one) - b) - 2;
    if (b[at] == 0 && b[at + 1] == 0) return at;
    p = at + 1;
  }
  return end;
}

void ParseVideoPayload(const uint8_t* b, uint32_t at, uint32_t end, int stream, _tagStreamInfo& s,
                       _tagPacketInfo& info) {
  VideoStreamInfo& v = s.video[stream];
  int64_t sequence = -1, gop = -1, picture = -1;
  uint32_t p = at;
  while (p + 4 <= end) {
    p = NextStartCode(b, p, end);
    if (p + 4 > end) break;
    const uint8_t code = b[p + 3];
    if (code == 0x00) {
      if (p + 6 <= end && ((b[p + 5] >> 3) & 7) == 1 && picture < 0) picture = p;
      p += 4;
    } else if (code == 0xB2) {
      uint32_t q = p + 4;
      while (q + 2 <= end) {
        const uint8_t tag = b[q], length = b[q + 1];
        if (tag == 0 || length < 2 || q + length > end || (tag != 0x10 && tag != 0x11)) break;
        if (tag == 0x10 && length == 14) info.scanInfoOffset = static_cast<int>(q);
        q += length;
      }
      p = std::max(q, p + 4);
    } else if (code == 0xB3) {
      sequence = p;
      if (!v.sequenceHeaderRead && p + 12 <= end) {
        v.sequenceHeaderRead = true;
        v.horizontalSize = uint32_t(b[p + 4]) << 4 | b[p + 5] >> 4;
        v.verticalSize = uint32_t(b[p + 5] & 0x0F) << 8 | b[p + 6];
        v.pelAspectRatio = kPelAspect[b[p + 7] >> 4];
        v.frameRate = kFrameRates[b[p + 7] & 0x0F];
        v.bitRate = (uint32_t(b[p + 8]) << 10 | uint32_t(b[p + 9]) << 2 | b[p + 10] >> 6) * 400;
        v.vbvBufferSize = (uint32_t(b[p + 10] & 0x1F) << 5 | b[p + 11] >> 3) * 16384;
        v.constrainedParameters = (b[p + 11] >> 2) & 1;
      }
      p += 4;
    } else if (code == 0xB8) {
      gop = p;
      if (p + 8 <= end) {
        info.gopSeen = 1;
        info.gopHours = (b[p + 4] >> 2) & 0x1F;
        info.gopMinutes = static_cast<uint8_t>((b[p + 4] & 3) << 4 | b[p + 5] >> 4);
        info.gopSeconds = static_cast<uint8_t>((b[p + 5] & 7) << 3 | b[p + 6] >> 5);
        info.gopPictures = static_cast<uint8_t>((b[p + 6] & 0x1F) << 1 | b[p + 7] >> 7);
      }
      p += 4;
    } else {
      p += 4;
    }
  }
  if (!info.hasTimeStamp || picture < 0 || (s.mpegVersion != 1 && s.mpegVersion != 2)) return;
  uint32_t kind;
  if (sequence >= 0 && gop > sequence && picture > gop)
    kind = static_cast<uint32_t>(sequence) == at ? 4 : 3;
  else
    kind = gop >= 0 && gop < picture ? 2 : 1;
  if (info.timeStamp < v.lastAccessPointTime) return;
  v.lastAccessPointTime = info.timeStamp;
  info.accessPointKind = kind;
  info.accessPointTime = info.timeStamp;
  info.accessPointStream = static_cast<uint32_t>(stream);
}

}  // namespace

uint32_t ParseMpegPacket(const uint8_t* b, uint32_t length, bool full, _tagStreamInfo& s,
                         _tagPacketInfo& info) {
  std::memset(&info, 0, sizeof(info));
  info.scanInfoOffset = -1;
  if (length == 0) return 0;
  ++s.packetCount;
  if (std::all_of(b, b + length, [](uint8_t v) { return v == 0; })) {
    info.zeroPacket = 1;
    return length;
  }
  const auto none = [&] {
    --s.packetCount;
    return 0u;
  };
  if (!StartCode(b, 0, length) || b[3] != 0xBA) return none();
  uint32_t p = 0;
  while (p < length) {
    if (p + 4 <= length && b[p] == 0 && b[p + 1] == 0 && b[p + 2] == 0 && b[p + 3] == 0) {
      p += p + 4 == length ? 4 : 2;
      continue;
    }
    if (!StartCode(b, p, length)) {
      ++p;
      continue;
    }
    const uint8_t code = b[p + 3];
    if (code == 0xBA) {
      if (p != 0) return p;
      // A pack header cut by the end of the file is no pack.
      if (length < 5 || ((b[4] & 0xF0) == 0x20 && length < 12) ||
          ((b[4] & 0xC0) == 0x40 && (length < 14 || 14u + (b[13] & 7) > length)))
        return none();
      if ((b[4] & 0xF0) == 0x20) {
        if (!s.mpegVersion) s.mpegVersion = 1;
        info.systemClockReference = (uint64_t(b[4] >> 1) & 7) << 30 | uint64_t(b[5]) << 22 |
                                    uint64_t(b[6] >> 1) << 15 | uint64_t(b[7]) << 7 | uint64_t(b[8] >> 1);
        info.muxRate = ((uint32_t(b[9]) & 0x7F) << 15 | uint32_t(b[10]) << 7 | b[11] >> 1) * 400;
        s.muxRate = info.muxRate;
        p = 12;
      } else if ((b[4] & 0xC0) == 0x40) {
        if (!s.mpegVersion) s.mpegVersion = 2;
        const uint64_t base = (uint64_t(b[4] >> 3) & 7) << 30 | (uint64_t(b[4]) & 3) << 28 |
                              uint64_t(b[5]) << 20 | uint64_t(b[6] >> 3) << 15 | (uint64_t(b[6]) & 3) << 13 |
                              uint64_t(b[7]) << 5 | uint64_t(b[8] >> 3);
        const uint64_t extension = (uint64_t(b[8]) & 3) << 7 | uint64_t(b[9] >> 1);
        info.systemClockReference = base * 300 + extension;
        info.muxRate = (uint32_t(b[10]) << 14 | uint32_t(b[11]) << 6 | b[12] >> 2) * 400;
        s.muxRate = info.muxRate;
        p = 14 + (b[13] & 7);
      } else {
        p = 4;
      }
      continue;
    }
    if (code == 0xB9) {
      info.endCode = 1;
      p += 4;
      continue;
    }
    if (code == 0x00) {
      p += 3;
      continue;
    }
    const bool audio = code >= 0xC0 && code <= 0xC2, video = code >= 0xE0 && code <= 0xE2;
    if (!(code == 0xBB || code == 0xBD || code == 0xBE || audio || video)) {
      p += 4;
      continue;
    }
    if (p + 6 > length) return none();
    const uint32_t end = p + 6 + (uint32_t(b[p + 4]) << 8 | b[p + 5]);
    if (end > length) return none();
    if (code == 0xBB) {
      info.systemHeader = 1;
      for (uint32_t q = p + 12; q + 3 <= end; q += 3) {
        const uint8_t id = b[q];
        if (!(id & 0x80)) break;
        if (id >= 0xC0 && id <= 0xC2) info.audio[id - 0xC0] = 1;
        if (id >= 0xE0 && id <= 0xE2) info.video[id - 0xE0] = 1;
      }
    } else if (code == 0xBE) {
      info.padding = 1;
    } else if (code == 0xBD) {
      const uint32_t payload = ParsePesHeader(b, p + 6, end, s, info);
      int sub = -1;
      if (payload < end && b[payload] <= 3)
        sub = b[payload];
      else if (payload + 1 < end && b[payload] == 0x70 && b[payload + 1] <= 3)
        sub = b[payload + 1];
      if (sub >= 0) info.subtitle[sub] = s.subtitle[sub] = 1;
    } else if (audio) {
      const int k = code - 0xC0;
      info.audio[k] = 1;
      s.audio[k].present = true;
      const uint32_t payload = ParsePesHeader(b, p + 6, end, s, info);
      if (full && !s.audio[k].headerRead) ParseAudioPayload(b, payload, end, s.audio[k]);
    } else {
      const int k = code - 0xE0;
      info.video[k] = 1;
      s.video[k].present = true;
      const uint32_t payload = ParsePesHeader(b, p + 6, end, s, info);
      if (full) ParseVideoPayload(b, payload, end, k, s, info);
    }
    p = end;
  }
  return length;
}

int ClassifyPacket(const _tagPacketInfo& i) {
  if (i.video[0] || i.video[1] || i.video[2]) return PacketVideo;
  if (i.audio[0] || i.audio[1] || i.audio[2]) return PacketAudio;
  if (i.zeroPacket) return PacketZero;
  if (i.subtitle[0] || i.subtitle[1] || i.subtitle[2] || i.subtitle[3]) return PacketSubtitle;
  if (i.systemHeader || i.padding) return PacketOther;
  return PacketNone;
}

int ClassifyVideoFormat(const _tagStreamInfo& s) {
  const VideoStreamInfo& v = s.video[0];
  struct Known {
    uint32_t w, h;
    double rate;
    int format;
  };
  static const Known kKnown[] = {{352, 288, 25, VideoPalSif},
                                 {352, 240, 30000.0 / 1001, VideoNtscSif},
                                 {352, 240, 24000.0 / 1001, VideoFilmSif},
                                 {480, 576, 25, VideoPal23D1},
                                 {480, 480, 30000.0 / 1001, VideoNtsc23D1}};
  for (const Known& k : kKnown)
    if (v.horizontalSize == k.w && v.verticalSize == k.h && v.frameRate == k.rate) return k.format;
  return VideoFormatNone;
}

_tagMpegSource* CreateMpegSource(_tagDataSource* source) {
  auto* m = new _tagMpegSource;
  m->source = source;
  return m;
}

void DestroyMpegSource(_tagMpegSource* m, bool alsoDataSource) {
  if (!m) return;
  if (alsoDataSource && m->source) StreamFree(m->source);
  delete m;
}

const _tagStreamInfo& GetMpegStreamInfo(const _tagMpegSource* m) {
  return m->info;
}

int ScanMpegSource(_tagMpegSource* m, bool strict, bool fixScan, ScanProgressCallback progress, void* data) {
  if (m->scanned) return m->damaged ? -1 : 0;
  _tagStreamInfo s;
  const int64_t size = StreamSize(m->source);
  uint8_t buffer[kPacketBytes];
  int64_t position = 0, reported = 0;
  StreamSeek(m->source, 0);
  if (progress) progress({0, 0, size}, data);
  for (;;) {
    const size_t n = StreamReadBytes(m->source, buffer, sizeof(buffer));
    if (n == 0) break;
    _tagPacketInfo info;
    const uint32_t packet = s.packetCount;
    const uint32_t length = ParseMpegPacket(buffer, static_cast<uint32_t>(n), true, s, info);
    if (length == 0) {
      m->damaged = true;
      WriteErrorLog("MPEG stream %s: no pack at byte %lld of %lld", StreamPath(m->source).c_str(),
                    static_cast<long long>(position), static_cast<long long>(size));
      break;
    }
    const uint32_t kind = info.accessPointKind;
    if (kind >= (strict ? 3u : 1u))
      s.video[info.accessPointStream].accessPoints.push_back({packet, info.accessPointTime});
    position += length;
    if (length < n) StreamSeek(m->source, position);
    if (progress && position - reported > size / 100) {
      reported = position;
      progress({s.packetCount, position, size}, data);
    }
  }
  if (progress) progress({s.packetCount, position, size}, data);
  StreamClose(m->source);
  s.playingTime = s.timeStampsSeen ? s.lastTime - s.firstTime : 0;
  for (VideoStreamInfo& v : s.video)
    for (AccessPoint& a : v.accessPoints) a.time -= s.firstTime;
  m->info = std::move(s);
  m->scanned = true;
  m->nextPosition = 0;
  m->nextPacket = 0;
  return m->damaged ? -1 : 0;
}

double InterpolatePacketTime(uint32_t packet, const std::vector<AccessPoint>& points) {
  if (points.empty()) return 0;
  if (points.size() < 2) return points.front().time;
  // The pair around the packet, or the first or last pair when it lies outside them all.
  size_t after = 0;
  while (after < points.size() && points[after].packet <= packet) ++after;
  size_t a = after == 0 ? 0 : after - 1;
  if (a + 1 >= points.size()) a = points.size() - 2;
  const AccessPoint &p0 = points[a], &p1 = points[a + 1];
  if (p1.packet == p0.packet) return p0.time;
  return p0.time +
         (double(packet) - double(p0.packet)) * (p1.time - p0.time) / (double(p1.packet) - double(p0.packet));
}

void UpdateScanOffsets(uint8_t* block, uint32_t packet, double time, const std::vector<AccessPoint>& points) {
  const AccessPoint *previous = nullptr, *next = nullptr;
  uint32_t backward = packet, forward = packet;
  bool backwardFound = false;
  for (const AccessPoint& a : points) {
    if (a.packet < packet) {
      previous = &a;
      if (!backwardFound && a.time > time - 10) {
        backward = a.packet;
        backwardFound = true;
      }
    } else if (a.packet > packet) {
      if (!next) next = &a;
      if (a.time < time + 10) forward = a.packet;
    }
  }
  const auto put = [&](int offset, const AccessPoint* a, uint32_t number) {
    uint8_t* out = block + offset;
    if (!a) {
      out[0] = out[1] = out[2] = 0xFF;
      return;
    }
    const Msf msf(number);
    out[0] = ToBcd(msf.Minute());
    out[1] = ToBcd(msf.Second()) | 0x80;
    out[2] = ToBcd(msf.Frame()) | 0x80;
  };
  put(2, previous, previous ? previous->packet : 0);
  put(5, next, next ? next->packet : 0);
  const AccessPoint self{packet, time};
  put(8, &self, backward);
  put(11, &self, forward);
}

int ReadMpegPacket(_tagMpegSource* m, uint32_t number, uint8_t* buffer, _tagPacketInfo* info, bool fixScan) {
  if (number >= m->info.packetCount) return -1;
  if (number < m->nextPacket) {
    m->nextPacket = 0;
    m->nextPosition = 0;
  }
  _tagStreamInfo scratch;
  scratch.mpegVersion = m->info.mpegVersion;
  uint8_t bytes[kPacketBytes];
  for (;;) {
    StreamSeek(m->source, m->nextPosition);
    const size_t n = StreamReadBytes(m->source, bytes, sizeof(bytes));
    if (n == 0) return -1;
    _tagPacketInfo local;
    const uint32_t length = ParseMpegPacket(bytes, static_cast<uint32_t>(n), fixScan, scratch, local);
    if (length == 0) return -1;
    const uint32_t current = m->nextPacket;
    m->nextPosition += length;
    ++m->nextPacket;
    if (length < n) StreamSeek(m->source, m->nextPosition);
    if (current != number) continue;
    std::memcpy(buffer, bytes, length);
    std::memset(buffer + length, 0, kPacketBytes - length);
    if (local.hasTimeStamp) local.timeStamp -= m->info.firstTime;
    if (local.accessPointKind) local.accessPointTime -= m->info.firstTime;
    if (fixScan && local.scanInfoOffset >= 0 && m->info.mpegVersion == 2) {
      const int stream = m->info.video[2].present ? 2 : m->info.video[1].present ? 1 : 0;
      const auto& points = m->info.video[stream].accessPoints;
      const double t = local.hasTimeStamp ? local.timeStamp : InterpolatePacketTime(number, points);
      UpdateScanOffsets(buffer + local.scanInfoOffset, number, t, points);
    }
    if (info) *info = local;
    return 0;
  }
}
