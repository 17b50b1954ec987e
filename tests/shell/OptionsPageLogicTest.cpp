// The rules of the Options pages without their windows: what the settings show as, what the
// controls store back, which project options an OK hands on, and how the music list is edited.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/GeneralSettings.h"
#include "shell/OptionsPageLogic.h"
#include "shell/TransitionSettings.h"

using namespace options_logic;

namespace {

// A list of the given entries (the class library's arrays are not copied or moved).
struct List : CStringArray {
  List(std::initializer_list<const char*> items) {
    for (const char* item : items) Add(item);
  }
};

std::vector<std::string> Items(const CStringArray& list) {
  std::vector<std::string> items;
  for (INT_PTR i = 0; i < list.GetSize(); ++i) items.push_back(list[i].Str());
  return items;
}

}  // namespace

TEST(OptionsGeneralPage, PlaybackModeShowsAsItsItem) {
  struct Case {
    int stored, index;
  };
  const Case cases[] = {{0, 0}, {2, 2}, {3, 3}, {4, 0}, {6, 2}, {-1, -1}, {-5, -1}, {-4, 0}};
  for (const Case& c : cases) EXPECT_EQ(PlaybackIndex(c.stored), c.index) << c.stored;
}

TEST(OptionsGeneralPage, DiskSpaceInWholeGroupedMegabytes) {
  struct Case {
    ULONGLONG bytes;
    const char* text;
  };
  const ULONGLONG mb = 1024 * 1024;
  const Case cases[] = {{0, "0"},
                        {mb - 1, "0"},
                        {mb, "1"},
                        {5 * mb + 7, "5"},
                        {1536 * mb, "1,536"},
                        {2000000 * mb, "2,000,000"},
                        {~0ULL, "4,294,967,295"}};
  for (const Case& c : cases) EXPECT_EQ(MegabytesText(c.bytes), c.text) << c.bytes;
}

TEST(OptionsGeneralPage, TvValuesTravelBetweenSettingsAndProjectInRecordOrder) {
  CGeneralSettings general;
  TvToSettings(TvOptions{0, 1, 10, 2, 1, 1}, general);
  EXPECT_EQ(general.PAL, 0);
  EXPECT_EQ(general.CropEnable, 1);
  EXPECT_EQ(general.CropRatio, 10);
  EXPECT_EQ(general.Correction, 2);
  EXPECT_EQ(general.AntiFlick, 1);
  EXPECT_EQ(general.PhotoScaleMode, 1);
  EXPECT_EQ(TvFromSettings(general), (TvOptions{0, 1, 10, 2, 1, 1}));
  _PROJECT_OPTIONS_DATA record = _PROJECT_OPTIONS_DATA::Defaults();
  record.nTVSystem = 1;
  record.nCropRatio = 7;
  record.nPhotoScaleMode = 1;
  EXPECT_EQ(TvFromProject(record).nTVSystem, 1);
  EXPECT_EQ(TvFromProject(record).nCropRatio, 7);
  EXPECT_EQ(TvFromProject(record).nPhotoScaleMode, 1);
}

TEST(OptionsGeneralPage, OkHandsTheProjectOnlyWhatTheUserChanged) {
  _PROJECT_OPTIONS_DATA project = _PROJECT_OPTIONS_DATA::Defaults();
  project.nTVSystem = 0;  // a project saved for NTSC
  project.nAspectCorrection = 1;
  project.nPhotoScaleMode = 0;
  project.nPlaybackMode = 3;
  GeneralPageValues shown;  // the settings: PAL, 16:9, fill, back to menu
  shown.tv = TvOptions{1, 0, 0, 2, 0, 1};
  shown.nPlaybackMode = 0;
  shown.bUseDVDMenu = 1;

  struct Case {
    const char* what;
    void (*change)(GeneralPageValues&);
    void (*expect)(_PROJECT_OPTIONS_DATA&);
  };
  const Case cases[] = {
      {"nothing", [](GeneralPageValues&) {}, [](_PROJECT_OPTIONS_DATA&) {}},
      {"TV system", [](GeneralPageValues& v) { v.tv.nTVSystem = 0; },
       [](_PROJECT_OPTIONS_DATA& p) { p.nTVSystem = 0; }},
      {"crop", [](GeneralPageValues& v) { v.tv.bCropEnable = 1, v.tv.nCropRatio = 12; },
       [](_PROJECT_OPTIONS_DATA& p) { p.bCropEnable = 1, p.nCropRatio = 12; }},
      {"aspect", [](GeneralPageValues& v) { v.tv.nAspectCorrection = 0; },
       [](_PROJECT_OPTIONS_DATA& p) { p.nAspectCorrection = 0; }},
      {"anti-flicker", [](GeneralPageValues& v) { v.tv.bAntiFlicker = 1; },
       [](_PROJECT_OPTIONS_DATA& p) { p.bAntiFlicker = 1; }},
      {"photo scale is never taken", [](GeneralPageValues& v) { v.tv.nPhotoScaleMode = 0; },
       [](_PROJECT_OPTIONS_DATA&) {}},
      {"disc menu",
       [](GeneralPageValues& v) { v.bUseDVDMenu = 0, v.nPlaybackMode = 2, v.bPlaySlideshowAfterMenu = 1; },
       [](_PROJECT_OPTIONS_DATA& p) {
         p.bUseDVDMenu = 0, p.nPlaybackMode = 2, p.bPlaySlideshowAfterMenu = 1;
       }},
  };
  for (const Case& c : cases) {
    GeneralPageValues now = shown;
    c.change(now);
    _PROJECT_OPTIONS_DATA expected = project;
    c.expect(expected);
    const _PROJECT_OPTIONS_DATA merged = MergeIntoProject(project, shown, now);
    EXPECT_EQ(std::memcmp(&merged, &expected, sizeof merged), 0) << c.what;
  }
}

TEST(OptionsAlbumPage, SettingsShowAsControlsAndComeBack) {
  CTransitionSettings transition;
  transition.DurationOne = 3;
  transition.DurationTwo = 7;
  transition.BackgroundColor = RGB(10, 20, 30);
  transition.AutoPanZoom = 1;
  transition.MusicFadeInOut = 0;
  transition.MusicRandOrder = 1;
  transition.ShowTooltips = 0;
  transition.ContinueAfterPanZoom = 1;

  // "Loop audio" is ticked exactly when the duration type is 0, and stores 0 when ticked.
  struct Case {
    DWORD durationType;
    int ticked;
    DWORD storedBack;
  };
  const Case cases[] = {{0, 1, 0}, {1, 0, 1}, {2, 0, 1}};
  for (const Case& c : cases) {
    transition.DurationType = c.durationType;
    const AlbumDefaults page = AlbumDefaultsFromSettings(transition);
    EXPECT_EQ(page.bLoopAudio, c.ticked) << c.durationType;
    EXPECT_EQ(page.nTransitionDuration, 3);
    EXPECT_EQ(page.nPhotoDuration, 7);
    EXPECT_EQ(page.clrBackground, RGB(10, 20, 30));
    EXPECT_EQ(page.bPanZoom, 1);
    EXPECT_EQ(page.bRandomOrder, 1);
    EXPECT_EQ(page.bTooltips, 0);
    EXPECT_EQ(page.bPanZoomWholeTime, 1);
    CTransitionSettings back;
    AlbumDefaultsToSettings(page, back);
    EXPECT_EQ(back.DurationType, c.storedBack) << c.durationType;
    EXPECT_EQ(back.DurationOne, 3u);
    EXPECT_EQ(back.DurationTwo, 7u);
    EXPECT_EQ(back.BackgroundColor, RGB(10, 20, 30));
    EXPECT_EQ(back.AutoPanZoom, 1);
    EXPECT_EQ(back.MusicFadeInOut, 0);
    EXPECT_EQ(back.MusicRandOrder, 1);
    EXPECT_EQ(back.ShowTooltips, 0);
    EXPECT_EQ(back.ContinueAfterPanZoom, 1);
  }
}

TEST(OptionsAlbumPage, ResetPutsBackDurationsColourLoopAndPanZoomOnly) {
  const AlbumDefaults page{1, 0, 0, 9, 50, 0, 0, 0, RGB(1, 2, 3)};
  const AlbumDefaults defaults{0, 1, 1, 2, 5, 1, 1, 1, RGB(0, 0, 0)};
  const AlbumDefaults reset = ResetAlbumDefaults(page, defaults);
  const AlbumDefaults expected{1, 1, 1, 2, 5, 0, 0, 1, RGB(0, 0, 0)};
  EXPECT_EQ(reset, expected);
}

TEST(OptionsAlbumPage, DurationsAreHeldToTheSpinRanges) {
  struct Case {
    int seconds;
    bool transition, photo;
  };
  const Case cases[] = {{-1, false, false}, {0, true, true},   {1, true, true},    {30, true, true},
                        {31, false, true},  {99, false, true}, {100, false, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(TransitionDurationInRange(c.seconds), c.transition) << c.seconds;
    EXPECT_EQ(PhotoDurationInRange(c.seconds), c.photo) << c.seconds;
  }
}

TEST(OptionsAlbumPage, MusicRowsSplitAndJoinTheirPaths) {
  struct Case {
    const char* path;
    const char* name;
    const char* folder;
    const char* joined;
  };
  const Case cases[] = {
      {"/home/a/Music/song.mp3", "song.mp3", "/home/a/Music", "/home/a/Music/song.mp3"},
      {"/song.mp3", "song.mp3", "/", "/song.mp3"},
      {"song.mp3", "song.mp3", "", "song.mp3"},
      {"C:\\Music\\old.wav", "old.wav", "C:\\Music", "C:\\Music/old.wav"},
  };
  for (const Case& c : cases) {
    const MusicRow row = MusicRowOf(c.path);
    EXPECT_EQ(row.name, c.name) << c.path;
    EXPECT_EQ(row.folder, c.folder) << c.path;
    EXPECT_EQ(MusicRowPath(row), c.joined) << c.path;
  }
  EXPECT_EQ(MusicLengthText(true, 24), "24s");
  EXPECT_EQ(MusicLengthText(true, 0), "0s");
  EXPECT_EQ(MusicLengthText(false, 24), "???");
}

TEST(OptionsAlbumPage, AddedMusicIsJudgedBySizeExtensionAndLength) {
  struct Case {
    const char* path;
    bool exists;
    ULONGLONG size;
    int seconds;
    MusicVerdict verdict;
  };
  const Case cases[] = {
      {"/m/a.wav", true, 307200, 10, MusicVerdict::kTooSmall},
      {"/m/a.WAV", true, 307201, 10, MusicVerdict::kAccept},
      {"/m/a.mp3", true, 30720, 10, MusicVerdict::kTooSmall},
      {"/m/a.mp3", true, 30721, 10, MusicVerdict::kAccept},
      {"/m/a.wma", true, 300000, 10, MusicVerdict::kAccept},
      {"/m/a.mp3", false, 0, 0, MusicVerdict::kMissing},
      {"/m/a.mp3", true, 500000, 0, MusicVerdict::kZeroDuration},
      {"/m/a.wav", true, 100, 0, MusicVerdict::kTooSmall},  // the size speaks first
  };
  for (const Case& c : cases)
    EXPECT_EQ(JudgeMusicFile(c.path, c.exists, c.size, c.seconds), c.verdict) << c.path << " " << c.size;
  EXPECT_EQ(TooSmallMessage("The file %s is corrupt or the size is too small.", "/m/a.wav"),
            "The file /m/a.wav is corrupt or the size is too small.");
}

TEST(OptionsAlbumPage, OnlyALoneDefaultMusicGivesWayToAddedFiles) {
  EXPECT_TRUE(IsLoneDefaultMusic(List({"/opt/pictavo/music/default.mp3"})));
  EXPECT_TRUE(IsLoneDefaultMusic(List({"/opt/pictavo/music/DEFAULT.MP3"})));
  EXPECT_FALSE(IsLoneDefaultMusic(List({"/opt/pictavo/music/default.mp3", "/m/b.mp3"})));
  EXPECT_FALSE(IsLoneDefaultMusic(List({"/m/b.mp3"})));
  EXPECT_FALSE(IsLoneDefaultMusic(List({})));
}

TEST(OptionsAlbumPage, RemovingSelectedRowsSelectsTheOneThatTookTheLastPlace) {
  struct Case {
    std::vector<int> selected;
    std::vector<std::string> left;
    int next;
  };
  const Case cases[] = {
      {{1, 3}, {"a", "c", "e"}, 2}, {{0}, {"b", "c", "d", "e"}, 0}, {{4}, {"a", "b", "c", "d"}, 3},
      {{3, 4}, {"a", "b", "c"}, 2}, {{0, 1, 2, 3, 4}, {}, -1},      {{}, {"a", "b", "c", "d", "e"}, -1},
  };
  for (const Case& c : cases) {
    List list({"a", "b", "c", "d", "e"});
    EXPECT_EQ(RemoveMusicRows(list, c.selected), c.next) << c.selected.size();
    EXPECT_EQ(Items(list), c.left);
  }
}

TEST(OptionsAlbumPage, MovingStopsAtTheEnds) {
  struct Case {
    int index, delta, moved;
    std::vector<std::string> after;
  };
  const Case cases[] = {
      {1, -1, 0, {"b", "a", "c"}},  {0, -1, -1, {"a", "b", "c"}}, {1, +1, 2, {"a", "c", "b"}},
      {2, +1, -1, {"a", "b", "c"}}, {5, -1, -1, {"a", "b", "c"}}, {-1, +1, -1, {"a", "b", "c"}},
  };
  for (const Case& c : cases) {
    List list({"a", "b", "c"});
    EXPECT_EQ(MoveMusicEntry(list, c.index, c.delta), c.moved) << c.index << " " << c.delta;
    EXPECT_EQ(Items(list), c.after);
  }
}

TEST(OptionsAlbumPage, PlayButtonCountsTheElapsedAgainstTheLength) {
  struct Case {
    DWORD elapsedMs;
    int seconds;
    const char* text;
  };
  const Case cases[] = {{0, 24, "Stop[00:00/00:24]"},
                        {999, 24, "Stop[00:00/00:24]"},
                        {65000, 200, "Stop[01:05/03:20]"},
                        {3600000, 4000, "Stop[60:00/66:40]"}};
  for (const Case& c : cases)
    EXPECT_EQ(PlayButtonText("Stop[%02d:%02d/%02d:%02d]", c.elapsedMs, c.seconds), c.text) << c.elapsedMs;
}
