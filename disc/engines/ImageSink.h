// The image sink: sectors of the authoring object become a BIN file with its CUE sheet and/or a
// stream for the direct burner with the raw cue sheet of session-at-once writing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "disc/engines/ImageStreams.h"

struct VideoCDJob;

constexpr unsigned WM_IMAGE_CUESHEET_SET = 0xFB8;
constexpr unsigned WM_IMAGE_SECTOR_WRITTEN = 0xFB9;
constexpr unsigned WM_IMAGE_WRITE_DONE = 0xFBA;

enum CueKind { CueTrackStart = 1, CuePregapStart = 2, CueLeadoutStart = 4 };
struct _tagCueEntry {
  uint32_t address;
  uint32_t kind;
};

struct _tagImageSink {
  bool mode2336 = false;
  _tagFileStream* bin = nullptr;
  _tagFileStream* cue = nullptr;
  std::string binName, cueName;
  bool opened = false;
  VideoCDJob* job = nullptr;
  bool failed = false;  // a file write or close failed: the image is not reported done
  bool burning = false;
};

// The raw cue sheet (300 entries of 8 bytes) shared with the burner.
extern uint8_t g_rawCueSheet[2400];
extern int g_nRawCueSheetLength;

_tagImageSink* CreateImageSink(const char* cueName, const char* binName, VideoCDJob* job);
int SinkSetArg(_tagImageSink* sink, const char* key, const char* value);
int SinkSetCueSheet(_tagImageSink* sink, const std::vector<_tagCueEntry>& cues, VideoCDJob* job);
// 0 written; -1 when the BIN write or the burn hand-over failed.
int SinkWriteSector(_tagImageSink* sink, const uint8_t* sector, uint32_t address);
// Ends the sink after a complete image: the files get their names (0), or, when anything failed,
// both are removed (-1). The burn stream is ended either way.
int SinkFree(_tagImageSink* sink);
// Ends the sink after a stopped or failed image: files removed, burn aborted without lead-out.
void SinkAbort(_tagImageSink* sink);
// The text the CUE file gets for a cue list (BIN positions: track 1 at 00:00:00).
std::string CueSheetText(const std::string& binName, const std::vector<_tagCueEntry>& cues, bool mode2336);
