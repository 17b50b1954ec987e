#include "disc/engines/ImageSink.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "disc/engines/DirectBurn.h"
#include "disc/engines/DiscJobState.h"
#include "disc/engines/Mode2Sector.h"
#include "modules/burn/Msf.h"
#include "modules/log/Log.h"
#include "platform/user/Message.h"

uint8_t g_rawCueSheet[2400];
int g_nRawCueSheetLength = 0;

namespace {

// The files are written under these names and renamed once everything is on disk.
std::string Partial(const std::string& name) {
  return name + ".part";
}

void Post(const _tagImageSink* s, unsigned message) {
  if (s->job && s->job->window) PostMessage(s->job->window, message, 0, 0);
}

void Open(_tagImageSink* s) {
  if (s->opened) return;
  s->opened = true;
  s->burning = g_nImageOutputFlags & kImageOutputBurn;
  if (s->burning) BeginBurnStream();
  s->bin = CreateFileSink(Partial(s->binName).c_str());
  s->cue = CreateFileSink(Partial(s->cueName).c_str());
}

void RawEntry(int& count, uint8_t track, uint8_t index, uint8_t form, uint32_t absolute) {
  if (count >= 300) return;
  const Msf msf(absolute);
  uint8_t* e = g_rawCueSheet + 8 * count++;
  e[0] = 0x41, e[1] = track, e[2] = index, e[3] = form, e[4] = 0;
  e[5] = static_cast<uint8_t>(msf.Minute()), e[6] = static_cast<uint8_t>(msf.Second()),
  e[7] = static_cast<uint8_t>(msf.Frame());
}

std::string IndexLine(int index, uint32_t binAddress) {
  const Msf msf(binAddress);
  char line[64];
  std::snprintf(line, sizeof(line), "    INDEX %2.2d %2.2x:%2.2x:%2.2x\r\n", index, ToBcd(msf.Minute()),
                ToBcd(msf.Second()), ToBcd(msf.Frame()));
  return line;
}

void RemoveFiles(_tagImageSink* s) {
  for (_tagFileStream** f : {&s->bin, &s->cue}) {
    if (!*f) continue;
    const std::string path = StreamPath(*f);
    StreamFree(*f);
    *f = nullptr;
    ::unlink(path.c_str());
  }
}

void Release(_tagImageSink* s) {
  delete s;
}

}  // namespace

_tagImageSink* CreateImageSink(const char* cueName, const char* binName, VideoCDJob* job) {
  auto* s = new _tagImageSink;
  s->cueName = cueName ? cueName : "";
  s->binName = binName ? binName : "";
  s->job = job;
  return s;
}

int SinkSetArg(_tagImageSink* s, const char* key, const char* value) {
  const std::string k = key ? key : "";
  if (k == "bin" || k == "cue") {
    if (!value) return -2;
    (k == "bin" ? s->binName : s->cueName) = value;
    return 0;
  }
  if (k == "sector") {
    const std::string v = value ? value : "";
    if (v == "2336")
      s->mode2336 = true;
    else if (v == "2352")
      s->mode2336 = false;
    else
      return -2;
    return 0;
  }
  return -1;
}

std::string CueSheetText(const std::string& binName, const std::vector<_tagCueEntry>& cues, bool mode2336) {
  std::string text = "FILE \"" + binName + "\" BINARY\r\n";
  int track = 0;
  const _tagCueEntry* pregap = nullptr;
  char line[64];
  for (const _tagCueEntry& c : cues) {
    if (c.kind == CueTrackStart) {
      std::snprintf(line, sizeof(line), "  TRACK %2.2d MODE2/%d\r\n    FLAGS DCP\r\n", ++track,
                    mode2336 ? 2336 : 2352);
      text += line;
      if (pregap) text += IndexLine(0, pregap->address);
      text += IndexLine(1, c.address);
      pregap = nullptr;
    } else if (c.kind == CuePregapStart) {
      pregap = &c;
    } else if (c.kind == CueLeadoutStart) {
      break;
    }
  }
  return text;
}

int SinkSetCueSheet(_tagImageSink* s, const std::vector<_tagCueEntry>& cues, VideoCDJob* job) {
  if (job) s->job = job;
  if (g_nImageOutputFlags & kImageOutputFiles) Post(s, WM_IMAGE_CUESHEET_SET);
  std::memset(g_rawCueSheet, 0, sizeof(g_rawCueSheet));
  int count = 0;
  RawEntry(count, 0, 0, 0x24, 0);
  Open(s);
  int track = 0;
  const _tagCueEntry* pregap = nullptr;
  for (const _tagCueEntry& c : cues) {
    if (c.kind == CueTrackStart) {
      ++track;
      if (track > 99) return -1;
      if (pregap) RawEntry(count, uint8_t(track), 0, 0x21, pregap->address + 150);
      if (track == 1) RawEntry(count, 1, 0, 0x21, 0);
      RawEntry(count, uint8_t(track), 1, 0x21, c.address + 150);
      pregap = nullptr;
    } else if (c.kind == CuePregapStart) {
      pregap = &c;
    } else if (c.kind == CueLeadoutStart) {
      const std::string text = CueSheetText(s->binName, cues, s->mode2336);
      if (StreamWrite(s->cue, text.data(), 1, text.size()) != text.size() &&
          (g_nImageOutputFlags & kImageOutputFiles))
        s->failed = true;
      if (!StreamClose(s->cue) || s->cue->failed) s->failed = true;
      RawEntry(count, 0xAA, 1, 0x24, c.address + 150);
      g_nRawCueSheetLength = 8 * count;
      if (s->burning) StartDirectBurn(s->job);
      return 0;
    }
  }
  return -1;
}

int SinkWriteSector(_tagImageSink* s, const uint8_t* sector, uint32_t address) {
  Open(s);
  const bool files = g_nImageOutputFlags & kImageOutputFiles;
  const int64_t size = s->mode2336 ? kRawForm2Bytes : kRawSectorBytes;
  StreamSeek(s->bin, int64_t(address) * size);
  const uint8_t* bytes = s->mode2336 ? sector + 16 : sector;
  if (StreamWrite(s->bin, bytes, 1, size_t(size)) != size_t(size) && files) s->failed = true;
  if (s->bin->failed) s->failed = true;
  if (s->failed) return -1;
  if (s->mode2336) return 0;
  if (s->burning) return HandSectorToBurner(sector) ? 0 : -1;
  Post(s, WM_IMAGE_SECTOR_WRITTEN);
  return 0;
}

int SinkFree(_tagImageSink* s) {
  if (!s) return -1;
  bool ok = !s->failed;
  for (_tagFileStream* f : {s->bin, s->cue})
    if (f && (!StreamClose(f) || f->failed)) ok = false;
  if (s->burning && !EndBurnStream()) ok = false;
  if (ok && (g_nImageOutputFlags & kImageOutputFiles) && s->opened) {
    if (::rename(Partial(s->binName).c_str(), s->binName.c_str()) != 0 ||
        ::rename(Partial(s->cueName).c_str(), s->cueName.c_str()) != 0) {
      ok = false;
      ::unlink(s->binName.c_str());
    }
  }
  if (!ok) {
    WriteErrorLog("Video CD image %s could not be written", s->binName.c_str());
    RemoveFiles(s);
  }
  for (_tagFileStream* f : {s->bin, s->cue}) StreamFree(f);
  Release(s);
  return ok ? 0 : -1;
}

void SinkAbort(_tagImageSink* s) {
  if (!s) return;
  if (s->burning) AbortBurnStream();
  RemoveFiles(s);
  Release(s);
}
