// Section "General": the temporary folder, the DVD-menu and TV options and the disc-menu music.
#pragma once

#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

class CGeneralSettings {
 public:
  CGeneralSettings();
  CGeneralSettings(const CGeneralSettings& other) { *this = other; }
  virtual ~CGeneralSettings() = default;
  // Copies every field, the list element by element.
  CGeneralSettings& operator=(const CGeneralSettings& other);

  // Reads the section value by value from the defaults; a missing section (or an unreadable
  // music list) is written whole. Drops music files that are gone or too small (in memory),
  // puts the default back for a temporary folder on a removable or unknown drive and creates
  // the temporary folder. TRUE.
  BOOL Load();
  BOOL Save();
  BOOL SaveMenuBkMusic();
  BOOL SavePhotoScaleMode();
  BOOL SaveCorrection();

  // The folder below which each run keeps its temporary files.
  static CString DefaultTempFolder();

  CString TempFolder;
  int PlaybackMode;  // what the disc does after the slideshow
  int UseDVDMenu;
  int PlaySlideshowAfterPlayingMenu;
  int TVSafeAreaRatio;
  // The first six fields of the project's options record, in its order.
  int PAL;  // 1 PAL, 0 NTSC
  int CropEnable;
  int CropRatio;
  int Correction;  // aspect correction: 0 none, 1 4:3, 2 16:9
  int AntiFlick;
  int PhotoScaleMode;  // 0 fit, 1 fill
  CStringArray MenuBkMusic;

 private:
  void SetDefaults();
};
