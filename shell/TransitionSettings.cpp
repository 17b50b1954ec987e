#include "shell/TransitionSettings.h"

#include <cstdlib>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "platform/kernel/Time.h"
#include "shell/ARRegistry.h"
#include "shell/SettingsSupport.h"

namespace {
constexpr char kSection[] = "Transition";
}  // namespace

CTransitionSettings::CTransitionSettings() {
  SetDefaults();
}

void CTransitionSettings::SetDefaults() {
  CDVDProject project;
  CDVDAlbumImage album(&project);
  TransitionName.RemoveAll();
  BackgroundMusic.RemoveAll();
  BackgroundMusic.Add(settings::DefaultMusicPath());
  DurationOne = static_cast<DWORD>(album.Get_nOneDuration(-1));
  DurationTwo = static_cast<DWORD>(album.Get_nTwoDuration(-1));
  BackgroundColor = album.Get_clrBackground();
  DurationType = album.Get_dwTransDurationType();
  AutoPanZoom = album.Get_bAutoPanZoom();
  PlayOverCurrentSong = 0;
  MusicFadeInOut = album.Get_bMusicFadeInOut();
  MusicRandOrder = 1;
  ShowTooltips = 1;
  EmptySubsetIsValid = 0;
  ShowTransSubsetInList = 0;
  ContinueAfterPanZoom = 1;
}

BOOL CTransitionSettings::Load() {
  const CTransitionSettings defaults;
  CStringArray music;
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, TRUE);
  if (registry->Open(kSection)) {
    registry->ReadDwordOr("DurationOne", DurationOne, defaults.DurationOne);
    registry->ReadDwordOr("DurationTwo", DurationTwo, defaults.DurationTwo);
    registry->ReadDwordOr("BackgroundColor", BackgroundColor, defaults.BackgroundColor);
    registry->ReadDwordOr("DurationType", DurationType, defaults.DurationType);
    registry->ReadIntOr("AutoPanZoom", AutoPanZoom, defaults.AutoPanZoom);
    registry->ReadIntOr("MusicFadeInOut", MusicFadeInOut, defaults.MusicFadeInOut);
    registry->ReadIntOr("MusicRandOrder", MusicRandOrder, defaults.MusicRandOrder);
    registry->ReadIntOr("ShowTooltips", ShowTooltips, defaults.ShowTooltips);
    registry->ReadIntOr("EmptySubsetIsValid", EmptySubsetIsValid, defaults.EmptySubsetIsValid);
    registry->ReadIntOr("ShowTransSubsetInList", ShowTransSubsetInList, defaults.ShowTransSubsetInList);
    registry->ReadIntOr("ContinueAfterPanZoom", ContinueAfterPanZoom, defaults.ContinueAfterPanZoom);
    // A damaged list reads as empty, never as the part before the damage.
    if (!registry->ReadStringArray("BackgroundMusic", music)) music.RemoveAll();
    if (music.IsEmpty()) music.Add(settings::DefaultMusicPath());
    if (!registry->ReadStringArray("TransitionName", TransitionName)) TransitionName.RemoveAll();
  } else {
    music.Add(settings::DefaultMusicPath());
    BackgroundMusic.RemoveAll();
    BackgroundMusic.Add(settings::DefaultMusicPath());
    Save();
  }
  settings::KeepPlayableMusic(music, BackgroundMusic);
  return TRUE;
}

BOOL CTransitionSettings::Save() {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, FALSE);
  if (!settings::OpenSectionForWrite(*registry, kSection)) return TRUE;
  registry->WriteDword("DurationOne", DurationOne);
  registry->WriteDword("DurationTwo", DurationTwo);
  registry->WriteDword("BackgroundColor", BackgroundColor);
  registry->WriteDword("DurationType", DurationType);
  registry->WriteInt("AutoPanZoom", AutoPanZoom);
  registry->WriteInt("PlayOverCurrentSong", PlayOverCurrentSong);
  registry->WriteStringArray("BackgroundMusic", BackgroundMusic);
  registry->WriteStringArray("TransitionName", TransitionName);
  registry->WriteInt("MusicFadeInOut", MusicFadeInOut);
  registry->WriteInt("MusicRandOrder", MusicRandOrder);
  registry->WriteInt("ShowTooltips", ShowTooltips);
  registry->WriteInt("EmptySubsetIsValid", EmptySubsetIsValid);
  registry->WriteInt("ShowTransSubsetInList", ShowTransSubsetInList);
  registry->WriteInt("ContinueAfterPanZoom", ContinueAfterPanZoom);
  return TRUE;
}

BOOL CTransitionSettings::SaveTransitionSubset() {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, FALSE);
  if (!settings::OpenSectionForWrite(*registry, kSection)) return TRUE;
  registry->WriteStringArray("TransitionName", TransitionName);
  registry->WriteInt("EmptySubsetIsValid", EmptySubsetIsValid);
  return TRUE;
}

BOOL CTransitionSettings::SaveShowTooltips() {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, FALSE);
  if (settings::OpenSectionForWrite(*registry, kSection)) registry->WriteInt("ShowTooltips", ShowTooltips);
  return TRUE;
}

BOOL CTransitionSettings::SaveShowTransSubsetInList() {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, FALSE);
  if (settings::OpenSectionForWrite(*registry, kSection))
    registry->WriteInt("ShowTransSubsetInList", ShowTransSubsetInList);
  return TRUE;
}

void CTransitionSettings::ApplyToAlbum(CDVDAlbumImage* pAlbum) {
  if (pAlbum == nullptr) return;
  pAlbum->Set_nOneDuration(-1, static_cast<int>(DurationOne));
  pAlbum->Set_nTwoDuration(-1, static_cast<int>(DurationTwo));
  pAlbum->Set_clrBackground(BackgroundColor);
  pAlbum->Set_dwTransDurationType(DurationType);
  pAlbum->Set_bAutoPanZoom(AutoPanZoom);
  pAlbum->Set_bMusicFadeInOut(MusicFadeInOut);
  if (BackgroundMusic.IsEmpty()) BackgroundMusic.Add(settings::DefaultMusicPath());

  CStringArray order;
  if (MusicRandOrder) {
    CStringArray left;
    left.Copy(BackgroundMusic);
    std::srand(GetTickCount());
    while (!left.IsEmpty()) {
      const INT_PTR pick = std::rand() % left.GetSize();
      order.Add(left[pick]);
      left.RemoveAt(pick);
    }
  } else {
    order.Copy(BackgroundMusic);
  }
  for (INT_PTR i = 0; i < order.GetSize(); ++i) pAlbum->AddBackgroundMusic(order[i]);
}

void CTransitionSettings::ValidateTransitionSubset() {
  const bool hadEntries = !TransitionName.IsEmpty();
  CStringArray known;
  for (INT_PTR i = 0; i < TransitionName.GetSize(); ++i)
    if (CDVDImage::GetTransID(TransitionName[i], 1) != -1) known.Add(TransitionName[i]);
  TransitionName.Copy(known);
  if (hadEntries && TransitionName.IsEmpty()) EmptySubsetIsValid = 0;
}
