#include "shell/AppSettings.h"

#include "modules/data/DVDProject.h"
#include "modules/effects/PanZoom.h"
#include "shell/ARRegistry.h"

AppSettings* GetAppSettings() {
  static AppSettings settings;
  return &settings;
}

BOOL AppSettings::LoadAll() {
  Transition.Load();
  General.Load();
  Window.Load();
  TextFont.Load();
  SubtitleFont.Load();
  Recorder.Load();
  AVOutputProfile.Load();
  CZoomPan::EnableBounce(Transition.ContinueAfterPanZoom);
  return TRUE;
}

BOOL AppSettings::ApplyToProject(CDVDProject* pProject) {
  if (pProject == nullptr) return TRUE;
  pProject->Put_strTempFilePathBase(General.TempFolder);
  CDVDProject::g_m_strAppTempPathBase = General.TempFolder;

  _PROJECT_OPTIONS_DATA* options = pProject->GetOptionsData();
  options->nTVSystem = General.PAL;
  options->bCropEnable = General.CropEnable;
  options->nCropRatio = General.CropRatio;
  options->nAspectCorrection = General.Correction;
  options->bAntiFlicker = General.AntiFlick;
  options->nPhotoScaleMode = General.PhotoScaleMode;
  options->bUseDVDMenu = General.UseDVDMenu;
  options->nPlaybackMode = General.PlaybackMode;
  options->bPlaySlideshowAfterMenu = General.PlaySlideshowAfterPlayingMenu;
  options->nDriverMode = Recorder.DriverMode;
  options->nVCDBurningMode = Recorder.CDWritingMode;

  CStringArray* music = pProject->GetDiscMenuBackgroundMusic();
  music->RemoveAll();
  for (INT_PTR i = 0; i < General.MenuBkMusic.GetSize(); ++i) music->Add(General.MenuBkMusic[i]);

  pProject->Put_bDirty(FALSE);
  pProject->Put_bMenuEncodeDirty(TRUE);
  pProject->SetOutputDiscFormat(0);
  return TRUE;
}

BOOL AppSettings::DeleteAll() {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, FALSE);
  for (const char* key : {"General", "AVOutputProfile", "Settings", "Recent File List", "Recorder",
                          "SubtitleFont", "TextFont", "Transition"})
    registry->DeleteKey(key, FALSE);
  return TRUE;
}
