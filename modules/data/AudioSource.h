// One sound clip: a background-music entry of a photo album or a slide's sound annotation. All
// times are milliseconds. The clip plays the part [nTrimStart, nTrimEnd) of the file, beginning at
// nStartPos on the slideshow's time axis; in an album's list each entry starts where the previous
// one ends.
#pragma once

#include "platform/base/CString.h"

struct _AUDIO_SOURCE {
  CString strPathName;
  int nSourceLength = 0;  // the whole file
  int nTrimStart = 0;
  int nTrimEnd = 0;
  int nStartPos = 0;

  int GetClipLength() const { return nTrimEnd > nTrimStart ? nTrimEnd - nTrimStart : 0; }
  bool operator==(const _AUDIO_SOURCE&) const = default;
};
