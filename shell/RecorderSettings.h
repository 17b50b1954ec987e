// Sections "Recorder" (disc-writing and encoding choices) and "AVOutputProfile" (the folder the
// video files go to).
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

class CRecorderSettings {
 public:
  CRecorderSettings() = default;
  virtual ~CRecorderSettings() = default;

  // When the section exists every value starts at 0 and takes what can be read. TRUE.
  BOOL Load();
  BOOL Save();
  BOOL SaveVideoEncodingQuality();
  BOOL SavePaddingDVD();

  int DriverMode = 0;
  int CDWritingMode = 0;
  int bInterBurningEngine = 0;
  int nCurrentNeroDrive = 0;
  int nTalvaneBurningEngine = 0;
  int VideoEncodingQuality = 0;  // the data model's video encode engine
  int PaddingDVD = 0;
};

class CAVOutputProfileSettings {
 public:
  CAVOutputProfileSettings() = default;
  virtual ~CAVOutputProfileSettings() = default;

  // When the section exists: the stored folder, "" when missing. TRUE.
  BOOL Load();
  BOOL Save();

  CString OutputFolder;
};
