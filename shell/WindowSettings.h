// Section "Settings": where the main window was last closed and the sizes of its panels.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

class CWindowSettings {
 public:
  CWindowSettings();
  virtual ~CWindowSettings() = default;

  // Reads the section when it exists (otherwise the fields stay as they are). A placement the
  // main window could not use (not maximized, and off screen to the top or left, or without a
  // size) puts the placement and panel values back to their defaults. Panels below their
  // minimum take their default size. TRUE.
  BOOL Load();
  BOOL Save();
  BOOL SaveHideFullScreenPreviewMessage();

  int Maximized;
  int X;
  int Y;
  int Width;
  int Height;
  int ExploreBarHeight;  // at least 100, else 148
  int ShellTreeWidth;    // at least 270
  CString LastFolder;    // the file browser's folder
  int HideFullScreenPreviewMessage;
  int FileListSortType;

 private:
  void SetDefaults();
};
