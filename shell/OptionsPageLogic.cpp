#include "shell/OptionsPageLogic.h"

#include <algorithm>
#include <limits>

#include "platform/kernel/Path.h"
#include "platform/kernel/Unicode.h"
#include "shell/GeneralSettings.h"
#include "shell/ProcessObjects.h"
#include "shell/TransitionSettings.h"

namespace options_logic {

TvOptions TvFromSettings(const CGeneralSettings& general) {
  return TvOptions{general.PAL,        general.CropEnable, general.CropRatio,
                   general.Correction, general.AntiFlick,  general.PhotoScaleMode};
}

void TvToSettings(const TvOptions& tv, CGeneralSettings& general) {
  general.PAL = tv.nTVSystem;
  general.CropEnable = tv.bCropEnable;
  general.CropRatio = tv.nCropRatio;
  general.Correction = tv.nAspectCorrection;
  general.AntiFlick = tv.bAntiFlicker;
  general.PhotoScaleMode = tv.nPhotoScaleMode;
}

TvOptions TvFromProject(const _PROJECT_OPTIONS_DATA& options) {
  return TvOptions{options.nTVSystem,         options.bCropEnable,  options.nCropRatio,
                   options.nAspectCorrection, options.bAntiFlicker, options.nPhotoScaleMode};
}

int PlaybackIndex(int stored) {
  return stored % 4;  // C++ keeps the dividend's sign, as the page expects
}

CString MegabytesText(ULONGLONG bytes) {
  const ULONGLONG megabytes = bytes / 1024 / 1024;
  if (megabytes == 0) return "0";  // FormatThousands leaves 0 blank; the page shows a figure
  return FormatThousands(static_cast<UINT>(std::min<ULONGLONG>(megabytes, std::numeric_limits<UINT>::max())));
}

namespace {

template <class T>
void TakeChanged(T& target, const T& shown, const T& now) {
  if (now != shown) target = now;
}

}  // namespace

_PROJECT_OPTIONS_DATA MergeIntoProject(const _PROJECT_OPTIONS_DATA& current, const GeneralPageValues& shown,
                                       const GeneralPageValues& now) {
  _PROJECT_OPTIONS_DATA merged = current;
  TakeChanged(merged.nTVSystem, shown.tv.nTVSystem, now.tv.nTVSystem);
  TakeChanged(merged.bCropEnable, shown.tv.bCropEnable, now.tv.bCropEnable);
  TakeChanged(merged.nCropRatio, shown.tv.nCropRatio, now.tv.nCropRatio);
  TakeChanged(merged.nAspectCorrection, shown.tv.nAspectCorrection, now.tv.nAspectCorrection);
  TakeChanged(merged.bAntiFlicker, shown.tv.bAntiFlicker, now.tv.bAntiFlicker);
  TakeChanged(merged.bUseDVDMenu, shown.bUseDVDMenu, now.bUseDVDMenu);
  TakeChanged(merged.nPlaybackMode, shown.nPlaybackMode, now.nPlaybackMode);
  TakeChanged(merged.bPlaySlideshowAfterMenu, shown.bPlaySlideshowAfterMenu, now.bPlaySlideshowAfterMenu);
  return merged;
}

AlbumDefaults AlbumDefaultsFromSettings(const CTransitionSettings& transition) {
  AlbumDefaults page;
  page.bFade = transition.MusicFadeInOut;
  page.bLoopAudio = transition.DurationType == 0 ? 1 : 0;
  page.bPanZoom = transition.AutoPanZoom;
  page.nTransitionDuration = static_cast<int>(transition.DurationOne);
  page.nPhotoDuration = static_cast<int>(transition.DurationTwo);
  page.bRandomOrder = transition.MusicRandOrder;
  page.bTooltips = transition.ShowTooltips;
  page.bPanZoomWholeTime = transition.ContinueAfterPanZoom;
  page.clrBackground = transition.BackgroundColor;
  return page;
}

void AlbumDefaultsToSettings(const AlbumDefaults& page, CTransitionSettings& transition) {
  transition.AutoPanZoom = page.bPanZoom;
  transition.MusicFadeInOut = page.bFade;
  transition.DurationOne = static_cast<DWORD>(page.nTransitionDuration);
  transition.DurationTwo = static_cast<DWORD>(page.nPhotoDuration);
  transition.BackgroundColor = page.clrBackground;
  transition.DurationType = page.bLoopAudio ? 0 : 1;
  transition.MusicRandOrder = page.bRandomOrder;
  transition.ShowTooltips = page.bTooltips;
  transition.ContinueAfterPanZoom = page.bPanZoomWholeTime;
}

AlbumDefaults ResetAlbumDefaults(const AlbumDefaults& page, const AlbumDefaults& defaults) {
  AlbumDefaults reset = page;
  reset.nTransitionDuration = defaults.nTransitionDuration;
  reset.nPhotoDuration = defaults.nPhotoDuration;
  reset.clrBackground = defaults.clrBackground;
  reset.bLoopAudio = defaults.bLoopAudio;
  reset.bPanZoom = defaults.bPanZoom;
  reset.bPanZoomWholeTime = defaults.bPanZoomWholeTime;
  return reset;
}

bool TransitionDurationInRange(int seconds) {
  return seconds >= 0 && seconds <= kTransitionDurationMax;
}

bool PhotoDurationInRange(int seconds) {
  return seconds >= 0 && seconds <= kPhotoDurationMax;
}

MusicRow MusicRowOf(const CString& path) {
  return MusicRow{CString(pictavo::path::FileName(path.View())), CString(pictavo::path::Folder(path.View()))};
}

CString MusicRowPath(const MusicRow& row) {
  if (row.folder.IsEmpty()) return row.name;
  if (pictavo::path::EndsWithSeparator(row.folder.View())) return row.folder + row.name;
  return row.folder + "/" + row.name;
}

CString MusicLengthText(bool exists, int seconds) {
  if (!exists) return "???";
  CString text;
  text.Format("%ds", seconds);
  return text;
}

MusicVerdict JudgeMusicFile(const CString& path, bool exists, ULONGLONG sizeBytes, int durationSeconds) {
  if (!exists) return MusicVerdict::kMissing;
  const bool wave = pictavo::unicode::EqualsNoCase(pictavo::path::Extension(path.View()), ".wav");
  if (sizeBytes <= (wave ? 307200u : 30720u)) return MusicVerdict::kTooSmall;
  if (durationSeconds == 0) return MusicVerdict::kZeroDuration;
  return MusicVerdict::kAccept;
}

CString TooSmallMessage(const CString& format, const CString& path) {
  CString message;
  message.Format(format, path.GetString());
  return message;
}

bool IsLoneDefaultMusic(const CStringArray& list) {
  return list.GetSize() == 1 &&
         pictavo::unicode::EqualsNoCase(pictavo::path::FileName(list[0].View()), "default.mp3");
}

int RemoveMusicRows(CStringArray& list, const std::vector<int>& selected) {
  // Rows and entries are one to one; each removal moves the later selected rows up by one.
  int lastRemoved = -1;
  int removed = 0;
  for (int row : selected) {
    const int index = row - removed;
    if (index < 0 || index >= list.GetSize()) continue;
    list.RemoveAt(index);
    lastRemoved = index;
    ++removed;
  }
  if (lastRemoved < 0 || list.GetSize() == 0) return list.GetSize() == 0 ? -1 : lastRemoved;
  return std::min<int>(lastRemoved, static_cast<int>(list.GetSize()) - 1);
}

int MoveMusicEntry(CStringArray& list, int index, int delta) {
  const int target = index + delta;
  if (index < 0 || index >= list.GetSize() || target < 0 || target >= list.GetSize()) return -1;
  const CString entry = list[index];
  list.RemoveAt(index);
  list.InsertAt(target, entry);
  return target;
}

CString PlayButtonText(const CString& format, DWORD elapsedMs, int durationSeconds) {
  CString text;
  text.Format(format, static_cast<int>(elapsedMs / 60000), static_cast<int>((elapsedMs / 1000) % 60),
              durationSeconds / 60, durationSeconds % 60);
  return text;
}

}  // namespace options_logic
