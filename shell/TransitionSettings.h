// Section "Transition": the defaults of new albums (durations, colour, music, pan and zoom) and
// the choices of the transition lists.
#pragma once

#include "platform/base/Array.h"
#include "platform/base/WinTypes.h"

class CDVDAlbumImage;

class CTransitionSettings {
 public:
  CTransitionSettings();
  virtual ~CTransitionSettings() = default;

  // Reads the section value by value, each missing one taking its default; a missing section
  // is written whole. Music files that are gone or too small are dropped from the list (in
  // memory only). TRUE.
  BOOL Load();
  // Writes the whole section. TRUE.
  BOOL Save();
  // "TransitionName" and "EmptySubsetIsValid".
  BOOL SaveTransitionSubset();
  BOOL SaveShowTooltips();
  BOOL SaveShowTransSubsetInList();

  // Gives a new album the defaults: durations, background colour, duration type, automatic pan
  // and zoom, music fade and the background music (shuffled when MusicRandOrder is set).
  void ApplyToAlbum(CDVDAlbumImage* pAlbum);
  // Keeps only the transition names the transition list knows; a subset emptied this way is no
  // longer valid when empty.
  void ValidateTransitionSubset();

  CStringArray TransitionName;   // the subset of transitions random choices use
  CStringArray BackgroundMusic;  // music of new albums
  DWORD DurationOne;             // transition duration, seconds
  DWORD DurationTwo;             // photo duration, seconds
  DWORD BackgroundColor;         // COLORREF
  DWORD DurationType;            // 0 loops the music over the slideshow
  int AutoPanZoom;
  int PlayOverCurrentSong;  // kept for the section's layout; always 0
  int MusicFadeInOut;
  int MusicRandOrder;
  int ShowTooltips;
  int EmptySubsetIsValid;
  int ShowTransSubsetInList;
  int ContinueAfterPanZoom;  // pan and zoom runs through the whole photo duration

 private:
  // The defaults: a new album's values, made for a project built only for that.
  void SetDefaults();
};
