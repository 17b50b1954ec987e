// AppSettings: the user's preferences and defaults, in seven sections, each a key of its own
// below the application's key (see ARRegistry.h for where that is). Start-up loads them all
// once; after that, the code that changes a value writes it (a single writer or its whole
// section). Nothing is saved at exit. UI thread only.
#pragma once

#include "platform/base/WinTypes.h"
#include "shell/FontSettings.h"
#include "shell/GeneralSettings.h"
#include "shell/RecorderSettings.h"
#include "shell/TransitionSettings.h"
#include "shell/WindowSettings.h"

class CDVDProject;

class AppSettings {
 public:
  AppSettings() = default;

  // Loads every section in order (each falls back value by value), then hands the pan-and-zoom
  // choice to the transition module. TRUE.
  BOOL LoadAll();
  // Gives a project the temporary folder, the TV, menu and disc options and the disc-menu
  // music, and marks it clean with its menu to be encoded. TRUE.
  BOOL ApplyToProject(CDVDProject* pProject);
  // Removes the sections and the recent-file list from the registry; the fields keep their
  // values, so the current run goes on with them and the next one starts from the defaults.
  BOOL DeleteAll();

  CTransitionSettings Transition;
  CGeneralSettings General;
  CWindowSettings Window;
  CTextFontSettings TextFont;
  CSubtitleFontSettings SubtitleFont;
  CRecorderSettings Recorder;
  CAVOutputProfileSettings AVOutputProfile;
};

// The process-wide settings, made with their defaults the first time they are asked for.
AppSettings* GetAppSettings();
