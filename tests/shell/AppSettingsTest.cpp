#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "modules/data/ImageSprite.h"
#include "modules/effects/PanZoom.h"
#include "shell/ARRegistry.h"
#include "shell/AppSettings.h"
#include "tests/shell/ShellTestSupport.h"

using namespace shelltest;

namespace {

std::string Section(const char* name) {
  return kAppKey + "\\" + name;
}

// A music file of the given size.
std::string MusicFile(const ScratchDir& folder, const std::string& name, size_t bytes) {
  const std::string path = folder / name;
  WriteWholeFile(path, std::string(bytes, 'm'));
  return path;
}

void Fill(CStringArray& array, std::initializer_list<const char*> items) {
  array.RemoveAll();
  for (const char* item : items) array.Add(item);
}

std::vector<std::string> Items(const CStringArray& array) {
  std::vector<std::string> items;
  for (INT_PTR i = 0; i < array.GetSize(); ++i) items.push_back(array[i].Str());
  return items;
}

class AppSettingsTest : public RegistryFixture {
 protected:
  std::string DefaultMusic() const { return CDVDProject::GetExeFilePath().Str() + "/music/default.mp3"; }
};

}  // namespace

TEST_F(AppSettingsTest, FirstRunTakesDefaultsAndCreatesOnlyTransitionAndGeneral) {
  AppSettings settings;
  EXPECT_TRUE(settings.LoadAll());

  CDVDProject project;
  CDVDAlbumImage album(&project);
  EXPECT_EQ(static_cast<int>(settings.Transition.DurationOne), album.Get_nOneDuration(-1));
  EXPECT_EQ(static_cast<int>(settings.Transition.DurationTwo), album.Get_nTwoDuration(-1));
  EXPECT_EQ(settings.Transition.MusicRandOrder, 1);
  EXPECT_EQ(settings.Transition.ContinueAfterPanZoom, 1);
  EXPECT_EQ(settings.General.TempFolder, CString(folder / "home/Documents/Talvane Pictavo"));
  EXPECT_TRUE(Exists(folder / "home/Documents/Talvane Pictavo"));
  EXPECT_EQ(settings.General.PlaybackMode, 2);
  EXPECT_EQ(settings.General.TVSafeAreaRatio, 15);
  EXPECT_EQ(settings.General.Correction, project.GetOptionsData()->nAspectCorrection);
  EXPECT_EQ(settings.Window.Maximized, 1);
  EXPECT_EQ(settings.Window.Width, 1024);
  EXPECT_EQ(settings.Window.LastFolder, CString(folder / "home/Documents"));
  EXPECT_EQ(settings.SubtitleFont.Font, CDVDSubtitleFont());
  EXPECT_EQ(settings.Recorder.VideoEncodingQuality, 0);
  EXPECT_EQ(settings.AVOutputProfile.OutputFolder, "");

  struct Case {
    const char* section;
    bool created;
  };
  const Case cases[] = {{"Transition", true},      {"General", true},       {"Settings", false},
                        {"TextFont", false},       {"SubtitleFont", false}, {"Recorder", false},
                        {"AVOutputProfile", false}};
  for (const Case& c : cases) EXPECT_EQ(KeyExists(Section(c.section)), c.created) << c.section;
  DWORD type = 0;
  Bytes data;
  ASSERT_TRUE(QueryRaw(Section("General"), "TVSafeAreaRatio", type, data));
  EXPECT_EQ(data, (Bytes{15, 0, 0, 0}));
  ASSERT_TRUE(QueryRaw(Section("Transition"), "PlayOverCurrentSong", type, data));
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
}

TEST_F(AppSettingsTest, EverySectionRoundTripsThroughTheRegistry) {
  const std::string song = MusicFile(folder, "song.mp3", 40000);
  AppSettings written;
  Fill(written.Transition.TransitionName, {"Fade", "Wipe"});
  Fill(written.Transition.BackgroundMusic, {song.c_str()});
  written.Transition.DurationOne = 3;
  written.Transition.DurationTwo = 9;
  written.Transition.BackgroundColor = 0x123456;
  written.Transition.DurationType = 0;
  written.Transition.AutoPanZoom = 0;
  written.Transition.MusicFadeInOut = 0;
  written.Transition.MusicRandOrder = 0;
  written.Transition.ShowTooltips = 0;
  written.Transition.EmptySubsetIsValid = 1;
  written.Transition.ShowTransSubsetInList = 1;
  written.Transition.ContinueAfterPanZoom = 0;
  written.General.TempFolder = (folder / "work").c_str();
  written.General.PlaybackMode = 1;
  written.General.UseDVDMenu = 0;
  written.General.PlaySlideshowAfterPlayingMenu = 0;
  written.General.TVSafeAreaRatio = 20;
  written.General.PAL = 1;
  written.General.CropEnable = 1;
  written.General.CropRatio = 10;
  written.General.Correction = 1;
  written.General.AntiFlick = 1;
  written.General.PhotoScaleMode = 1;
  Fill(written.General.MenuBkMusic, {song.c_str()});
  written.Window.Maximized = 0;
  written.Window.X = 40;
  written.Window.Y = -5;
  written.Window.Width = 900;
  written.Window.Height = 700;
  written.Window.ExploreBarHeight = 200;
  written.Window.ShellTreeWidth = 300;
  written.Window.LastFolder = "/srv/photos";
  written.Window.HideFullScreenPreviewMessage = 1;
  written.Window.FileListSortType = 3;
  std::strcpy(written.TextFont.Font.szFaceName, "DejaVu Serif");
  written.TextFont.Font.clrText = 0x00FF8000;
  written.TextFont.Font.nFontSize = 44;
  written.TextFont.Font.clrShadow = 0x00010203;
  written.TextFont.Font.nShadowYOffset = -3;
  written.TextFont.Font.nShadowTransparency = 60;
  written.TextFont.Font.nEffectIndex = 5;
  written.SubtitleFont.Font.Set_strCharset("Greek");
  written.SubtitleFont.Font.Set_strFontFileName("/fonts/sub.ttf");
  written.SubtitleFont.Font.Set_nFontSize(40);
  written.Recorder.DriverMode = 1;
  written.Recorder.CDWritingMode = 2;
  written.Recorder.bInterBurningEngine = 3;
  written.Recorder.nCurrentNeroDrive = 4;
  written.Recorder.nTalvaneBurningEngine = 5;
  written.Recorder.VideoEncodingQuality = 6;
  written.Recorder.PaddingDVD = 7;
  written.AVOutputProfile.OutputFolder = "/srv/videos";
  for (auto save : std::initializer_list<std::function<BOOL()>>{
           [&] { return written.Transition.Save(); }, [&] { return written.General.Save(); },
           [&] { return written.Window.Save(); }, [&] { return written.TextFont.Save(); },
           [&] { return written.SubtitleFont.Save(); }, [&] { return written.Recorder.Save(); },
           [&] { return written.AVOutputProfile.Save(); }})
    EXPECT_TRUE(save());

  AppSettings read;
  EXPECT_TRUE(read.LoadAll());
  EXPECT_EQ(Items(read.Transition.TransitionName), Items(written.Transition.TransitionName));
  EXPECT_EQ(Items(read.Transition.BackgroundMusic), Items(written.Transition.BackgroundMusic));
  EXPECT_EQ(read.Transition.DurationOne, 3u);
  EXPECT_EQ(read.Transition.DurationTwo, 9u);
  EXPECT_EQ(read.Transition.BackgroundColor, 0x123456u);
  EXPECT_EQ(read.Transition.DurationType, 0u);
  EXPECT_EQ(read.Transition.AutoPanZoom, 0);
  EXPECT_EQ(read.Transition.MusicFadeInOut, 0);
  EXPECT_EQ(read.Transition.MusicRandOrder, 0);
  EXPECT_EQ(read.Transition.ShowTooltips, 0);
  EXPECT_EQ(read.Transition.EmptySubsetIsValid, 1);
  EXPECT_EQ(read.Transition.ShowTransSubsetInList, 1);
  EXPECT_EQ(read.Transition.ContinueAfterPanZoom, 0);
  EXPECT_FALSE(CZoomPan::IsBounceEnabled());
  CZoomPan::EnableBounce(TRUE);
  EXPECT_EQ(read.General.TempFolder, written.General.TempFolder);
  EXPECT_TRUE(Exists(folder / "work"));
  const int generalRead[] = {
      read.General.PlaybackMode,    read.General.UseDVDMenu, read.General.PlaySlideshowAfterPlayingMenu,
      read.General.TVSafeAreaRatio, read.General.PAL,        read.General.CropEnable,
      read.General.CropRatio,       read.General.Correction, read.General.AntiFlick,
      read.General.PhotoScaleMode};
  const int generalWritten[] = {1, 0, 0, 20, 1, 1, 10, 1, 1, 1};
  EXPECT_TRUE(std::equal(std::begin(generalRead), std::end(generalRead), std::begin(generalWritten)));
  EXPECT_EQ(Items(read.General.MenuBkMusic), Items(written.General.MenuBkMusic));
  const int windowRead[] = {read.Window.Maximized,
                            read.Window.X,
                            read.Window.Y,
                            read.Window.Width,
                            read.Window.Height,
                            read.Window.ExploreBarHeight,
                            read.Window.ShellTreeWidth,
                            read.Window.HideFullScreenPreviewMessage,
                            read.Window.FileListSortType};
  const int windowWritten[] = {0, 40, -5, 900, 700, 200, 300, 1, 3};
  EXPECT_TRUE(std::equal(std::begin(windowRead), std::end(windowRead), std::begin(windowWritten)));
  EXPECT_EQ(read.Window.LastFolder, "/srv/photos");
  EXPECT_EQ(std::memcmp(&read.TextFont.Font, &written.TextFont.Font, offsetof(_DVDImageTextFont, effect)), 0);
  EXPECT_EQ(read.TextFont.Font.nEffectIndex, 5);
  EXPECT_EQ(read.SubtitleFont.Font, written.SubtitleFont.Font);
  const int recorderRead[] = {read.Recorder.DriverMode,
                              read.Recorder.CDWritingMode,
                              read.Recorder.bInterBurningEngine,
                              read.Recorder.nCurrentNeroDrive,
                              read.Recorder.nTalvaneBurningEngine,
                              read.Recorder.VideoEncodingQuality,
                              read.Recorder.PaddingDVD};
  const int recorderWritten[] = {1, 2, 3, 4, 5, 6, 7};
  EXPECT_TRUE(std::equal(std::begin(recorderRead), std::end(recorderRead), std::begin(recorderWritten)));
  EXPECT_EQ(read.AVOutputProfile.OutputFolder, "/srv/videos");
}

TEST_F(AppSettingsTest, TransitionValuesFallBackOneByOne) {
  const AppSettings defaults;
  // A DWORD of the wrong size is unreadable; the others are read as stored.
  SetDword(Section("Transition"), "DurationOne", 7);
  SetString(Section("Transition"), "DurationTwo", "long text");
  SetDword(Section("Transition"), "ShowTooltips", 0);
  SetRaw(Section("Transition"), "TransitionName", REG_BINARY, {0x05, 0x00, 0x01});  // damaged
  AppSettings settings;
  settings.Transition.DurationTwo = 99;
  Fill(settings.Transition.TransitionName, {"stale"});
  settings.Transition.Load();
  EXPECT_EQ(settings.Transition.DurationOne, 7u);
  EXPECT_EQ(settings.Transition.DurationTwo, defaults.Transition.DurationTwo);
  EXPECT_EQ(settings.Transition.ShowTooltips, 0);
  EXPECT_EQ(settings.Transition.MusicRandOrder, 1);
  EXPECT_TRUE(settings.Transition.TransitionName.IsEmpty());
  // The section existed, so nothing was written back.
  DWORD type = 0;
  Bytes data;
  EXPECT_FALSE(QueryRaw(Section("Transition"), "MusicRandOrder", type, data));
}

TEST_F(AppSettingsTest, MusicListsKeepOnlyPlayableFiles) {
  const std::string wave = MusicFile(folder, "small.WAV", 300000);
  const std::string bigWave = MusicFile(folder, "big.wav", 307200);
  const std::string mp3 = MusicFile(folder, "song.mp3", 30720);
  const std::string tiny = MusicFile(folder, "tiny.mp3", 30719);
  const std::string gone = folder / "gone.mp3";
  CStringArray stored;
  Fill(stored, {wave.c_str(), mp3.c_str(), tiny.c_str(), gone.c_str(), bigWave.c_str()});
  {
    CARRegistrySP creator;
    CARRegistry* registry = creator.Create(FALSE, FALSE);
    ASSERT_TRUE(registry->CreateKey("Transition"));
    registry->WriteStringArray("BackgroundMusic", stored);
    ASSERT_TRUE(registry->CreateKey("General"));
    registry->WriteStringArray("MenuBkMusic", stored);
  }
  AppSettings settings;
  settings.Transition.Load();
  settings.General.Load();
  const std::vector<std::string> expected = {mp3, bigWave};
  EXPECT_EQ(Items(settings.Transition.BackgroundMusic), expected);
  EXPECT_EQ(Items(settings.General.MenuBkMusic), expected);
  // The registry keeps the list until it is written again.
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, TRUE);
  ASSERT_TRUE(registry->Open("Transition"));
  CStringArray back;
  ASSERT_TRUE(registry->ReadStringArray("BackgroundMusic", back));
  EXPECT_EQ(back.GetSize(), 5);
}

TEST_F(AppSettingsTest, GeneralValuesFallBackAndUnreadableMusicRewritesTheSection) {
  const AppSettings defaults;
  SetDword(Section("General"), "PAL", 1);
  SetString(Section("General"), "CropRatio", "1234567");
  SetString(Section("General"), "TempFolder", (folder / "temp base").c_str());
  AppSettings settings;
  settings.General.Load();
  EXPECT_EQ(settings.General.PAL, 1);
  EXPECT_EQ(settings.General.CropRatio, defaults.General.CropRatio);
  EXPECT_EQ(settings.General.TempFolder, CString(folder / "temp base"));
  EXPECT_TRUE(Exists(folder / "temp base"));
  EXPECT_EQ(Items(settings.General.MenuBkMusic), std::vector<std::string>{});  // default.mp3 is not there
  // "MenuBkMusic" could not be read: the whole section is written as it now stands.
  DWORD type = 0;
  Bytes data;
  ASSERT_TRUE(QueryRaw(Section("General"), "CropRatio", type, data));
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, TRUE);
  ASSERT_TRUE(registry->Open("General"));
  CStringArray music;
  ASSERT_TRUE(registry->ReadStringArray("MenuBkMusic", music));
  EXPECT_EQ(Items(music), std::vector<std::string>{DefaultMusic()});
}

TEST_F(AppSettingsTest, TemporaryFolderThatIsNoFolderTakesTheDefault) {
  const AppSettings defaults;
  SetString(Section("General"), "TempFolder", "relative/folder");
  AppSettings settings;
  settings.General.Load();
  EXPECT_EQ(settings.General.TempFolder, defaults.General.TempFolder);
}

TEST_F(AppSettingsTest, WindowPlacementAndPanelSizes) {
  struct Case {
    const char* what;
    std::vector<std::pair<const char*, int>> stored;
    int maximized, x, width, exploreBarHeight, shellTreeWidth, sort;
  };
  const Case cases[] = {
      {"panels below their minimum",
       {{"ExploreBarHeight", 99}, {"ShellTreeWidth", 100}},
       1,
       0,
       1024,
       148,
       270,
       0},
      {"panels at their minimum",
       {{"ExploreBarHeight", 100}, {"ShellTreeWidth", 270}},
       1,
       0,
       1024,
       100,
       270,
       0},
      {"a usable window rectangle",
       {{"Maximized", 0}, {"X", 30}, {"Width", 800}, {"FileListSortType", 2}},
       0,
       30,
       800,
       148,
       270,
       2},
      {"off screen resets placement and panels",
       {{"Maximized", 0}, {"X", -10}, {"Width", 800}, {"ExploreBarHeight", 300}, {"FileListSortType", 2}},
       1,
       0,
       1024,
       148,
       270,
       2},
      {"no size resets", {{"Maximized", 0}, {"Width", 0}}, 1, 0, 1024, 148, 270, 0},
      {"maximized keeps any rectangle", {{"X", -8}, {"Width", 1500}}, 1, -8, 1500, 148, 270, 0},
  };
  for (const Case& c : cases) {
    {
      CARRegistrySP creator;
      creator.Create(FALSE, FALSE)->DeleteKey("Settings", FALSE);
    }
    for (const auto& [name, value] : c.stored) SetDword(Section("Settings"), name, static_cast<DWORD>(value));
    AppSettings settings;
    settings.Window.Load();
    EXPECT_EQ(settings.Window.Maximized, c.maximized) << c.what;
    EXPECT_EQ(settings.Window.X, c.x) << c.what;
    EXPECT_EQ(settings.Window.Width, c.width) << c.what;
    EXPECT_EQ(settings.Window.ExploreBarHeight, c.exploreBarHeight) << c.what;
    EXPECT_EQ(settings.Window.ShellTreeWidth, c.shellTreeWidth) << c.what;
    EXPECT_EQ(settings.Window.FileListSortType, c.sort) << c.what;
  }
}

TEST_F(AppSettingsTest, MissingWindowSectionKeepsTheFields) {
  AppSettings settings;
  settings.Window.Width = 640;
  settings.Window.Load();
  EXPECT_EQ(settings.Window.Width, 640);
  EXPECT_FALSE(KeyExists(Section("Settings")));
}

TEST_F(AppSettingsTest, TextFontTakesWhatCanBeRead) {
  _DVDImageTextFont defaults;
  CDVDImageText::SetDefaultTextFontData(&defaults);
  SetString(Section("TextFont"), "FontName", std::string(300, 'F'));
  SetDword(Section("TextFont"), "Bold", 1);
  SetString(Section("TextFont"), "Italic", "unreadable");
  AppSettings settings;
  settings.TextFont.Font.nFontSize = 99;
  settings.TextFont.Load();
  EXPECT_EQ(std::string(settings.TextFont.Font.szFaceName), std::string(259, 'F'));
  EXPECT_EQ(settings.TextFont.Font.bBold, 1);
  EXPECT_EQ(settings.TextFont.Font.bItalic, defaults.bItalic);
  EXPECT_EQ(settings.TextFont.Font.nFontSize, defaults.nFontSize);
}

TEST_F(AppSettingsTest, SubtitleFontSizeCharsetAndFile) {
  struct Case {
    const char* what;
    std::function<void()> store;
    int size;
    const char* charset;
    const char* file;
  };
  const std::string key = Section("SubtitleFont");
  const Case cases[] = {
      {"size below the range keeps the new font's", [&] { SetDword(key, "FontSize", 15); },
       CDVDSubtitleFont().Get_nFontSize(), "Western", ""},
      {"largest size", [&] { SetDword(key, "FontSize", 64); }, 64, "Western", ""},
      {"missing size", [&] { SetString(key, "FontFileName", "/f.ttf"); }, 32, "Western", "/f.ttf"},
      {"known charset", [&] { SetString(key, "Charset", "greek"); }, 32, "greek", ""},
      {"unknown charset", [&] { SetString(key, "Charset", "Klingon"); }, 32, "Western", ""},
  };
  for (const Case& c : cases) {
    {
      CARRegistrySP creator;
      creator.Create(FALSE, FALSE)->DeleteKey("SubtitleFont", FALSE);
    }
    c.store();
    AppSettings settings;
    settings.SubtitleFont.Font.Set_strFontFileName("/before.ttf");
    settings.SubtitleFont.Load();
    EXPECT_EQ(settings.SubtitleFont.Font.Get_nFontSize(), c.size) << c.what;
    EXPECT_EQ(settings.SubtitleFont.Font.Get_strCharset(), c.charset) << c.what;
    EXPECT_EQ(settings.SubtitleFont.Font.Get_strFontFileName(), c.file) << c.what;
  }
}

TEST_F(AppSettingsTest, RecorderAndOutputFolderDefaultWhenMissing) {
  SetDword(Section("Recorder"), "PaddingDVD", 4);
  SetDword(Section("AVOutputProfile"), "Other", 1);
  AppSettings settings;
  settings.Recorder.DriverMode = 9;
  settings.AVOutputProfile.OutputFolder = "/before";
  settings.Recorder.Load();
  settings.AVOutputProfile.Load();
  EXPECT_EQ(settings.Recorder.DriverMode, 0);
  EXPECT_EQ(settings.Recorder.PaddingDVD, 4);
  EXPECT_EQ(settings.AVOutputProfile.OutputFolder, "");
}

TEST_F(AppSettingsTest, SingleWritersWriteOnlyTheirValues) {
  struct Case {
    const char* section;
    std::function<void(AppSettings&)> write;
    std::vector<const char*> names;
  };
  const Case cases[] = {
      {"Transition",
       [](AppSettings& s) { s.Transition.SaveTransitionSubset(); },
       {"TransitionName", "EmptySubsetIsValid"}},
      {"Transition", [](AppSettings& s) { s.Transition.SaveShowTooltips(); }, {"ShowTooltips"}},
      {"Transition",
       [](AppSettings& s) { s.Transition.SaveShowTransSubsetInList(); },
       {"ShowTransSubsetInList"}},
      {"General", [](AppSettings& s) { s.General.SaveMenuBkMusic(); }, {"MenuBkMusic"}},
      {"General", [](AppSettings& s) { s.General.SavePhotoScaleMode(); }, {"PhotoScaleMode"}},
      {"General", [](AppSettings& s) { s.General.SaveCorrection(); }, {"Correction"}},
      {"Settings",
       [](AppSettings& s) { s.Window.SaveHideFullScreenPreviewMessage(); },
       {"HideFullScreenPreviewMessage"}},
      {"Recorder", [](AppSettings& s) { s.Recorder.SaveVideoEncodingQuality(); }, {"VideoEncodingQuality"}},
      {"Recorder", [](AppSettings& s) { s.Recorder.SavePaddingDVD(); }, {"PaddingDVD"}},
  };
  for (const Case& c : cases) {
    CARRegistrySP cleaner;
    cleaner.Create(FALSE, FALSE)->DeleteKey(c.section, FALSE);
    AppSettings settings;
    c.write(settings);
    CARRegistrySP creator;
    CARRegistry* registry = creator.Create(FALSE, TRUE);
    ASSERT_TRUE(registry->Open(c.section)) << c.names[0];
    CStringArray names;
    registry->EnumValueNames(names);
    std::vector<std::string> expected(c.names.begin(), c.names.end());
    EXPECT_EQ(Items(names), expected) << c.names[0];
  }
}

TEST_F(AppSettingsTest, SetupSwitchDeletesTheSectionsButTheRunKeepsItsValues) {
  SetDword(Section("Recorder"), "VideoEncodingQuality", 2);
  SetDword(Section("Settings"), "Width", 1500);
  SetString(Section("Recent File List"), "File1", "/p/trip.r7m");
  SetDword(Section("Unrelated"), "Keep", 1);
  AppSettings settings;
  settings.LoadAll();
  ASSERT_EQ(settings.Recorder.VideoEncodingQuality, 2);

  EXPECT_TRUE(settings.DeleteAll());
  for (const char* section : {"General", "AVOutputProfile", "Settings", "Recent File List", "Recorder",
                              "SubtitleFont", "TextFont", "Transition"})
    EXPECT_FALSE(KeyExists(Section(section))) << section;
  EXPECT_TRUE(KeyExists(Section("Unrelated")));
  EXPECT_EQ(settings.Recorder.VideoEncodingQuality, 2);
  EXPECT_EQ(settings.Window.Width, 1500);

  AppSettings nextRun;
  nextRun.LoadAll();
  EXPECT_EQ(nextRun.Recorder.VideoEncodingQuality, 0);
  EXPECT_EQ(nextRun.Window.Width, 1024);
}

TEST_F(AppSettingsTest, ApplyToProjectFillsTheOptionsRecord) {
  AppSettings settings;
  settings.General.TempFolder = "/tmp/base";
  settings.General.PAL = 1;
  settings.General.CropEnable = 1;
  settings.General.CropRatio = 12;
  settings.General.Correction = 1;
  settings.General.AntiFlick = 1;
  settings.General.PhotoScaleMode = 1;
  settings.General.UseDVDMenu = 0;
  settings.General.PlaybackMode = 3;
  settings.General.PlaySlideshowAfterPlayingMenu = 0;
  Fill(settings.General.MenuBkMusic, {"/m/a.mp3", "/m/b.mp3"});
  settings.Recorder.DriverMode = 4;
  settings.Recorder.CDWritingMode = 5;
  CDVDProject project;
  project.Put_bDirty(TRUE);
  project.Put_bMenuEncodeDirty(FALSE);
  project.SetOutputDiscFormat(2);
  project.GetDiscMenuBackgroundMusic()->Add("/old.mp3");
  EXPECT_TRUE(settings.ApplyToProject(&project));

  EXPECT_EQ(project.Get_strTempFilePathBase(), "/tmp/base");
  EXPECT_EQ(CDVDProject::g_m_strAppTempPathBase, "/tmp/base");
  const _PROJECT_OPTIONS_DATA& o = *project.GetOptionsData();
  const int fields[] = {o.nTVSystem,         o.bCropEnable,    o.nCropRatio,
                        o.nAspectCorrection, o.bAntiFlicker,   o.nPhotoScaleMode,
                        o.bUseDVDMenu,       o.nPlaybackMode,  o.bPlaySlideshowAfterMenu,
                        o.nDriverMode,       o.nVCDBurningMode};
  const int expected[] = {1, 1, 12, 1, 1, 1, 0, 3, 0, 4, 5};
  EXPECT_TRUE(std::equal(std::begin(fields), std::end(fields), std::begin(expected)));
  EXPECT_EQ(Items(*project.GetDiscMenuBackgroundMusic()), (std::vector<std::string>{"/m/a.mp3", "/m/b.mp3"}));
  EXPECT_FALSE(project.Get_bDirty());
  EXPECT_TRUE(project.IsMenuEncodeDirty());
  EXPECT_EQ(project.GetOutputDiscFormat(), 0);
}

TEST_F(AppSettingsTest, NewAlbumsTakeTheTransitionDefaults) {
  // The album measures its music, so these are real songs.
  const std::string song =
      ReadWholeFile(std::string(std::getenv("PICTAVO_SOURCE_DIR")) + "/samples/media/music.mp3");
  ASSERT_FALSE(song.empty());
  const std::string a = folder / "a.mp3", b = folder / "b.mp3", c = folder / "c.mp3";
  for (const std::string& path : {a, b, c}) WriteWholeFile(path, song);
  for (int shuffled : {0, 1}) {
    AppSettings settings;
    settings.Transition.DurationOne = 5;
    settings.Transition.DurationTwo = 8;
    settings.Transition.BackgroundColor = 0xFF;
    settings.Transition.AutoPanZoom = 0;
    settings.Transition.MusicRandOrder = shuffled;
    Fill(settings.Transition.BackgroundMusic, {a.c_str(), b.c_str(), c.c_str()});
    CDVDProject project;
    CDVDAlbumImage album(&project);
    settings.Transition.ApplyToAlbum(&album);
    EXPECT_EQ(album.Get_nOneDuration(-1), 5);
    EXPECT_EQ(album.Get_nTwoDuration(-1), 8);
    EXPECT_EQ(album.Get_clrBackground(), 0xFFu);
    EXPECT_FALSE(album.Get_bAutoPanZoom());
    std::vector<std::string> music;
    for (int i = 0; i < album.GetMusicCount(); ++i) music.push_back(album.GetMusic(i)->strPathName.Str());
    std::vector<std::string> expected = {a, b, c};
    if (shuffled) {
      std::sort(music.begin(), music.end());
      std::sort(expected.begin(), expected.end());
    }
    EXPECT_EQ(music, expected) << shuffled;
  }
}

TEST_F(AppSettingsTest, TransitionSubsetKeepsKnownNames) {
  CDVDImage::ClearTransIDCache();
  CDVDImage::AddTransID2Cache("No Transition", 0);
  CDVDImage::AddTransID2Cache("Fade", 3);
  struct Case {
    std::vector<const char*> names;
    int emptyValidBefore;
    std::vector<std::string> kept;
    int emptyValidAfter;
  };
  const Case cases[] = {
      {{"Fade", "Unknown"}, 1, {"Fade"}, 1},
      {{"unknown", "Gone"}, 1, {}, 0},
      {{}, 1, {}, 1},
  };
  for (const Case& c : cases) {
    CTransitionSettings section;
    for (const char* name : c.names) section.TransitionName.Add(name);
    section.EmptySubsetIsValid = c.emptyValidBefore;
    section.ValidateTransitionSubset();
    EXPECT_EQ(Items(section.TransitionName), c.kept);
    EXPECT_EQ(section.EmptySubsetIsValid, c.emptyValidAfter);
  }
  CDVDImage::ClearTransIDCache();
}
