// The arithmetic and the rules of the Options dialog's pages, kept apart from the windows so that
// each can be checked on its own: what a setting shows as, what a control stores back, which
// project options an OK changes, and how the music list of the album defaults is edited.
#pragma once

#include <vector>

#include "modules/data/ProjectOptions.h"
#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

class CGeneralSettings;
class CTransitionSettings;

namespace options_logic {

// The TV options block: six 32-bit values in the order of the first six fields of the project's
// options record and of the "General" values "PAL" to "PhotoScaleMode".
struct TvOptions {
  int32_t nTVSystem = 0;  // 1 PAL, 0 NTSC
  int32_t bCropEnable = 0;
  int32_t nCropRatio = 0;         // percent, 0 to 25
  int32_t nAspectCorrection = 0;  // 0 none, 1 4:3, 2 16:9
  int32_t bAntiFlicker = 0;
  int32_t nPhotoScaleMode = 0;  // 0 fit, 1 fill
  friend bool operator==(const TvOptions&, const TvOptions&) = default;
};
static_assert(sizeof(TvOptions) == 24);

TvOptions TvFromSettings(const CGeneralSettings& general);
void TvToSettings(const TvOptions& tv, CGeneralSettings& general);
TvOptions TvFromProject(const _PROJECT_OPTIONS_DATA& options);
// The crop slider's range.
inline constexpr int kCropRatioMax = 25;

// General page.

// The "After Playback" item of a stored "PlaybackMode": the remainder by 4 with the value's sign.
// 6 -> 2, 3 -> 3, -5 -> -1 (no item).
int PlaybackIndex(int stored);
// Whole megabytes of a byte count, grouped: 0 -> "0", 5 MB -> "5", 1536 MB -> "1,536".
CString MegabytesText(ULONGLONG bytes);

// What the general page shows of the project's options: the TV block and the disc-menu choices.
struct GeneralPageValues {
  TvOptions tv;
  int nPlaybackMode = 0;
  int bUseDVDMenu = 0;
  int bPlaySlideshowAfterMenu = 0;
  friend bool operator==(const GeneralPageValues&, const GeneralPageValues&) = default;
};

// The project's options record after OK of the general page: a value reaches the project only
// when the page's value differs from the one the page showed when it opened, so a project that
// was opened with options of its own keeps them when the user changes nothing. The photo scale
// is never taken (the main window's scale commands own it).
_PROJECT_OPTIONS_DATA MergeIntoProject(const _PROJECT_OPTIONS_DATA& current, const GeneralPageValues& shown,
                                       const GeneralPageValues& now);

// Album-defaults page.

// The page's controls as the dialog-data exchange sees them.
struct AlbumDefaults {
  int bFade = 0;                // 1349 "MusicFadeInOut"
  int bLoopAudio = 0;           // 1354: ticked when "DurationType" is 0
  int bPanZoom = 0;             // 1261 "AutoPanZoom"
  int nTransitionDuration = 0;  // 1095 "DurationOne"
  int nPhotoDuration = 0;       // 1099 "DurationTwo"
  int bRandomOrder = 0;         // 1443 "MusicRandOrder"
  int bTooltips = 0;            // 1446 "ShowTooltips"
  int bPanZoomWholeTime = 0;    // 1262 "ContinueAfterPanZoom"
  COLORREF clrBackground = 0;   // 1154 "BackgroundColor"
  friend bool operator==(const AlbumDefaults&, const AlbumDefaults&) = default;
};

AlbumDefaults AlbumDefaultsFromSettings(const CTransitionSettings& transition);
// Everything but the music lists and the transition subset.
void AlbumDefaultsToSettings(const AlbumDefaults& page, CTransitionSettings& transition);
// "&Reset": durations, colour, loop audio and both pan-and-zoom flags from the defaults; fade,
// random order and tooltips keep the page's values.
AlbumDefaults ResetAlbumDefaults(const AlbumDefaults& page, const AlbumDefaults& defaults);

// The spin ranges of the two durations, in seconds; typed values are held to them as well.
inline constexpr int kTransitionDurationMax = 30;
inline constexpr int kPhotoDurationMax = 99;
bool TransitionDurationInRange(int seconds);
bool PhotoDurationInRange(int seconds);

// A row of the music list: the file name and the folder it is in. "/m/a.mp3" -> "a.mp3", "/m";
// "/a.mp3" -> "a.mp3", "/"; a bare "a.mp3" -> "a.mp3", "".
struct MusicRow {
  CString name;
  CString folder;
};
MusicRow MusicRowOf(const CString& path);
// The path a row stands for: its folder and name joined by one separator.
CString MusicRowPath(const MusicRow& row);
// The length column: "24s" for a file that exists, "???" for one that does not.
CString MusicLengthText(bool exists, int seconds);

// What Add does with a chosen file.
enum class MusicVerdict {
  kAccept,
  kMissing,       // skipped without a word
  kTooSmall,      // "Invalid File": at most 307200 bytes for ".wav", 30720 for the rest
  kZeroDuration,  // skipped without a word
};
MusicVerdict JudgeMusicFile(const CString& path, bool exists, ULONGLONG sizeBytes, int durationSeconds);
// "The file %s is corrupt or the size is too small." filled with the path.
CString TooSmallMessage(const CString& format, const CString& path);
// The list before the first added file: a list holding the default music alone is emptied.
bool IsLoneDefaultMusic(const CStringArray& list);

// Removes the selected rows (indices in ascending order) from the list one after the other, each
// time the first one still selected; the row to select afterwards: the one at the last removed
// index, or the last row when that is past the end (-1 for an empty list).
int RemoveMusicRows(CStringArray& list, const std::vector<int>& selected);
// Moves entry i one place up (delta -1) or down (+1); the entry's new index, or -1 when it can't
// move (first row up, last row down, no such row).
int MoveMusicEntry(CStringArray& list, int index, int delta);

// The Play button while music plays: string 57490 "Stop[%02d:%02d/%02d:%02d]" filled with the
// elapsed minutes and seconds and the file's length. "Stop[01:05/03:20]".
CString PlayButtonText(const CString& format, DWORD elapsedMs, int durationSeconds);

}  // namespace options_logic
