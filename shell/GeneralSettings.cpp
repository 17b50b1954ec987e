#include "shell/GeneralSettings.h"

#include <string>

#include "modules/data/DVDProject.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Path.h"
#include "shell/ARRegistry.h"
#include "shell/SettingsSupport.h"

namespace {

constexpr char kSection[] = "General";

// The drive type of the mount point that holds the folder.
UINT DriveTypeOfFolder(const CString& folder) {
  std::string path = pictavo::path::ToNative(folder.View());
  for (;;) {
    const UINT type = GetDriveTypeA(path.c_str());
    if (type != DRIVE_NO_ROOT_DIR) return type;
    const std::string parent(pictavo::path::Folder(pictavo::path::WithoutTrailingSeparator(path)));
    if (parent.empty() || parent == path) return DRIVE_UNKNOWN;
    path = parent;
  }
}

}  // namespace

CGeneralSettings::CGeneralSettings() {
  SetDefaults();
}

CGeneralSettings& CGeneralSettings::operator=(const CGeneralSettings& other) {
  if (this == &other) return *this;
  TempFolder = other.TempFolder;
  PlaybackMode = other.PlaybackMode;
  UseDVDMenu = other.UseDVDMenu;
  PlaySlideshowAfterPlayingMenu = other.PlaySlideshowAfterPlayingMenu;
  TVSafeAreaRatio = other.TVSafeAreaRatio;
  PAL = other.PAL;
  CropEnable = other.CropEnable;
  CropRatio = other.CropRatio;
  Correction = other.Correction;
  AntiFlick = other.AntiFlick;
  PhotoScaleMode = other.PhotoScaleMode;
  MenuBkMusic.RemoveAll();
  for (INT_PTR i = 0; i < other.MenuBkMusic.GetSize(); ++i) MenuBkMusic.Add(other.MenuBkMusic[i]);
  return *this;
}

CString CGeneralSettings::DefaultTempFolder() {
  const CString documents = settings::UserDocumentsFolder();
  if (!documents.IsEmpty()) return CString(pictavo::path::Join(documents.View(), "Talvane Pictavo"));
  return CString(pictavo::path::Join(CDVDProject::GetExeFilePath().View(), "Temp"));
}

void CGeneralSettings::SetDefaults() {
  const CDVDProject project;
  const _PROJECT_OPTIONS_DATA* options = project.GetOptionsData();
  TempFolder = DefaultTempFolder();
  PlaybackMode = 2;
  UseDVDMenu = 1;
  PlaySlideshowAfterPlayingMenu = 1;
  TVSafeAreaRatio = 15;
  PAL = options->nTVSystem;
  CropEnable = options->bCropEnable;
  CropRatio = options->nCropRatio;
  Correction = options->nAspectCorrection;
  AntiFlick = options->bAntiFlicker;
  PhotoScaleMode = options->nPhotoScaleMode;
  MenuBkMusic.RemoveAll();
  MenuBkMusic.Add(settings::DefaultMusicPath());
}

BOOL CGeneralSettings::Load() {
  const CGeneralSettings defaults;
  *this = defaults;
  CStringArray music;
  bool writeDefaults = true;
  {
    CARRegistrySP creator;
    CARRegistry* registry = creator.Create(FALSE, TRUE);
    if (registry->Open(kSection)) {
      registry->ReadStringOr("TempFolder", TempFolder, defaults.TempFolder);
      registry->ReadIntOr("PlaybackMode", PlaybackMode, defaults.PlaybackMode);
      registry->ReadIntOr("UseDVDMenu", UseDVDMenu, defaults.UseDVDMenu);
      registry->ReadIntOr("PlaySlideshowAfterPlayingMenu", PlaySlideshowAfterPlayingMenu,
                          defaults.PlaySlideshowAfterPlayingMenu);
      registry->ReadIntOr("TVSafeAreaRatio", TVSafeAreaRatio, defaults.TVSafeAreaRatio);
      registry->ReadIntOr("PAL", PAL, defaults.PAL);
      registry->ReadIntOr("CropEnable", CropEnable, defaults.CropEnable);
      registry->ReadIntOr("CropRatio", CropRatio, defaults.CropRatio);
      registry->ReadIntOr("Correction", Correction, defaults.Correction);
      registry->ReadIntOr("AntiFlick", AntiFlick, defaults.AntiFlick);
      registry->ReadIntOr("PhotoScaleMode", PhotoScaleMode, defaults.PhotoScaleMode);
      writeDefaults = !registry->ReadStringArray("MenuBkMusic", music);
    }
  }
  if (writeDefaults) {
    music.RemoveAll();
    music.Add(settings::DefaultMusicPath());
    MenuBkMusic.RemoveAll();
    MenuBkMusic.Add(settings::DefaultMusicPath());
    Save();
  }
  settings::KeepPlayableMusic(music, MenuBkMusic);

  // A folder on a disc or a removable drive would not be there next time.
  const UINT drive = DriveTypeOfFolder(TempFolder);
  if (drive == DRIVE_UNKNOWN || drive == DRIVE_REMOVABLE || drive == DRIVE_CDROM)
    TempFolder = defaults.TempFolder;
  CDVDProject::CreateAllDirectories(TempFolder);
  return TRUE;
}

BOOL CGeneralSettings::Save() {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, FALSE);
  if (!settings::OpenSectionForWrite(*registry, kSection)) return TRUE;
  registry->WriteString("TempFolder", TempFolder);
  registry->WriteInt("PlaybackMode", PlaybackMode);
  registry->WriteInt("UseDVDMenu", UseDVDMenu);
  registry->WriteInt("PlaySlideshowAfterPlayingMenu", PlaySlideshowAfterPlayingMenu);
  registry->WriteInt("TVSafeAreaRatio", TVSafeAreaRatio);
  registry->WriteInt("PAL", PAL);
  registry->WriteInt("CropEnable", CropEnable);
  registry->WriteInt("CropRatio", CropRatio);
  registry->WriteInt("Correction", Correction);
  registry->WriteInt("AntiFlick", AntiFlick);
  registry->WriteInt("PhotoScaleMode", PhotoScaleMode);
  registry->WriteStringArray("MenuBkMusic", MenuBkMusic);
  return TRUE;
}

BOOL CGeneralSettings::SaveMenuBkMusic() {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, FALSE);
  if (settings::OpenSectionForWrite(*registry, kSection))
    registry->WriteStringArray("MenuBkMusic", MenuBkMusic);
  return TRUE;
}

BOOL CGeneralSettings::SavePhotoScaleMode() {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, FALSE);
  if (settings::OpenSectionForWrite(*registry, kSection))
    registry->WriteInt("PhotoScaleMode", PhotoScaleMode);
  return TRUE;
}

BOOL CGeneralSettings::SaveCorrection() {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, FALSE);
  if (settings::OpenSectionForWrite(*registry, kSection)) registry->WriteInt("Correction", Correction);
  return TRUE;
}
