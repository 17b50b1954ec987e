// Sections "TextFont" (the default style of new texts on photos) and "SubtitleFont" (the font
// new albums give their subtitles).
#pragma once

#include "modules/data/SubtitleFont.h"
#include "modules/data/TextRecords.h"
#include "platform/base/WinTypes.h"

class CTextFontSettings {
 public:
  CTextFontSettings();
  virtual ~CTextFontSettings() = default;

  // When the section exists: the record starts from the default text style and takes every
  // value that can be read. TRUE.
  BOOL Load();
  BOOL Save();

  _DVDImageTextFont Font;
};

class CSubtitleFontSettings {
 public:
  CSubtitleFontSettings() = default;
  virtual ~CSubtitleFontSettings() = default;

  // When the section exists: a new font takes a known character set, the stored font file (""
  // when missing) and a size from 16 to 64 (32 when missing). TRUE.
  BOOL Load();
  BOOL Save();

  CDVDSubtitleFont Font;
};
