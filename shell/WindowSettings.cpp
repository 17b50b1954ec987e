#include "shell/WindowSettings.h"

#include "shell/ARRegistry.h"
#include "shell/SettingsSupport.h"

namespace {

constexpr char kSection[] = "Settings";
constexpr int kDefaultExploreBarHeight = 148;
constexpr int kMinimumExploreBarHeight = 100;
constexpr int kMinimumShellTreeWidth = 270;
// A window edge this far off the screen's top or left is not a place to show a window.
constexpr int kOffScreen = -10;

}  // namespace

CWindowSettings::CWindowSettings() {
  SetDefaults();
}

void CWindowSettings::SetDefaults() {
  Maximized = 1;
  X = 0;
  Y = 0;
  Width = 1024;
  Height = 768;
  ExploreBarHeight = kDefaultExploreBarHeight;
  ShellTreeWidth = kMinimumShellTreeWidth;
  LastFolder = settings::UserDocumentsFolder();
  HideFullScreenPreviewMessage = 0;
  FileListSortType = 0;
}

BOOL CWindowSettings::Load() {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, TRUE);
  if (!registry->Open(kSection)) return TRUE;
  const CWindowSettings defaults;
  *this = defaults;
  registry->ReadIntOr("HideFullScreenPreviewMessage", HideFullScreenPreviewMessage,
                      defaults.HideFullScreenPreviewMessage);
  registry->ReadIntOr("Maximized", Maximized, defaults.Maximized);
  registry->ReadIntOr("X", X, defaults.X);
  registry->ReadIntOr("Y", Y, defaults.Y);
  registry->ReadIntOr("Width", Width, defaults.Width);
  registry->ReadIntOr("Height", Height, defaults.Height);
  registry->ReadIntOr("ExploreBarHeight", ExploreBarHeight, defaults.ExploreBarHeight);
  registry->ReadIntOr("ShellTreeWidth", ShellTreeWidth, defaults.ShellTreeWidth);
  registry->ReadStringOr("LastFolder", LastFolder, defaults.LastFolder);

  // A maximized window needs no rectangle; any other one needs a usable one.
  const bool usable = Maximized != 0 || (X > kOffScreen && Y > kOffScreen && Width > 0 && Height > 0);
  if (!usable) {
    const CString storedFolder = LastFolder;
    *this = defaults;
    if (!storedFolder.IsEmpty()) LastFolder = storedFolder;
  }
  registry->ReadIntOr("FileListSortType", FileListSortType, defaults.FileListSortType);
  if (ExploreBarHeight < kMinimumExploreBarHeight) ExploreBarHeight = kDefaultExploreBarHeight;
  if (ShellTreeWidth < kMinimumShellTreeWidth) ShellTreeWidth = kMinimumShellTreeWidth;
  return TRUE;
}

BOOL CWindowSettings::Save() {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, FALSE);
  if (!settings::OpenSectionForWrite(*registry, kSection)) return TRUE;
  registry->WriteInt("HideFullScreenPreviewMessage", HideFullScreenPreviewMessage);
  registry->WriteInt("Maximized", Maximized);
  registry->WriteInt("X", X);
  registry->WriteInt("Y", Y);
  registry->WriteInt("Width", Width);
  registry->WriteInt("Height", Height);
  registry->WriteInt("ExploreBarHeight", ExploreBarHeight);
  registry->WriteInt("ShellTreeWidth", ShellTreeWidth);
  registry->WriteString("LastFolder", LastFolder);
  registry->WriteInt("FileListSortType", FileListSortType);
  return TRUE;
}

BOOL CWindowSettings::SaveHideFullScreenPreviewMessage() {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, FALSE);
  if (settings::OpenSectionForWrite(*registry, kSection))
    registry->WriteInt("HideFullScreenPreviewMessage", HideFullScreenPreviewMessage);
  return TRUE;
}
