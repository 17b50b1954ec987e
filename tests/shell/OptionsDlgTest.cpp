// The Options dialog and its pages as a user meets them, on the headless display: the category
// list switches pages, the general page offers only the temporary folder, OK writes the "General"
// and "Transition" sections and hands the project only what changed, Cancel writes nothing, the
// album defaults' music list is added to, edited and played, and every page translates itself
// again when the language changes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "modules/data/DVDProject.h"
#include "modules/effects/PanZoom.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/display/ScriptPlayer.h"
#include "platform/gdiplus/GdiPlus.h"
#include "platform/mfc/WinApp.h"
#include "platform/res/ResourceModule.h"
#include "shell/ARRegistry.h"
#include "shell/AppSettings.h"
#include "shell/LanguageFile.h"
#include "shell/LanguageSettings.h"
#include "shell/MainDlg.h"
#include "shell/OptionsDlg.h"
#include "shell/ProcessObjects.h"
#include "shell/TransitionList.h"
#include "tests/shell/OptionsTestSupport.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Programs.h"
#include "tests/support/ThreadWindows.h"

using namespace shelltest;
namespace fs = std::filesystem;

namespace {

constexpr char kAppName[] = "Options Test";

// The dialog with its OK reachable, as the OK button reaches it.
class TestOptionsDlg : public COptionsDlg {
 public:
  using COptionsDlg::OnOK;
};

std::string Text(HWND window) {
  return pictavo::user::WindowText(window);
}
std::string Text(CWnd& page, int id) {
  return Text(::GetDlgItem(page.GetSafeHwnd(), id));
}

void Click(CWnd& page, int id) {
  page.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(page.m_hWnd, id)));
}

int ComboSelection(CWnd& page, int id) {
  return static_cast<int>(::SendMessage(::GetDlgItem(page.m_hWnd, id), CB_GETCURSEL, 0, 0));
}

// A DWORD value of a settings section, -1 when it is missing.
long long RegistryDword(const char* section, const char* name) {
  DWORD type = 0;
  Bytes data;
  if (!QueryRaw(kAppKey + "\\" + section, name, type, data) || data.size() != 4) return -1;
  DWORD value = 0;
  std::memcpy(&value, data.data(), 4);
  return value;
}

std::vector<std::string> RegistryList(const char* section, const char* name) {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, TRUE);
  CStringArray list;
  if (!registry->Open(section) || !registry->ReadStringArray(name, list)) return {"<missing>"};
  std::vector<std::string> items;
  for (INT_PTR i = 0; i < list.GetSize(); ++i) items.push_back(list[i].Str());
  return items;
}

// A music file of `seconds`, made by ffmpeg.
std::string MakeMusic(const fs::path& path, int seconds) {
  EXPECT_TRUE(pictavo::test::Run({"ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                  "sine=frequency=440:duration=" + std::to_string(seconds), "-ac", "2",
                                  "-b:a", "192k", path.string()}))
      << path;
  return path.string();
}

class OptionsDlgTest : public RegistryFixture {
 protected:
  static void SetUpTestSuite() {
    setenv("SDL_AUDIODRIVER", "dummy", 1);  // the player's silent sink
    PrepareWindows();
    static ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    if (token == 0) {
      ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    }
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pszAppName == nullptr) app->m_pszAppName = strdup(kAppName);
  }

  void SetUp() override {
    pictavo::shell::SetLanguageRoot(std::string(std::getenv("PICTAVO_SOURCE_DIR")) + "/data");
    g_languageSettings.LangIniFile = "lang_eng.ini";
    GetProject()->NewProject();
    AppSettings* settings = GetAppSettings();
    settings->General = CGeneralSettings();
    settings->General.TempFolder = (folder / "temp").c_str();
    fs::create_directories(folder / "temp");
    const CTransitionSettings defaults;
    CTransitionSettings& transition = settings->Transition;
    transition.BackgroundMusic.RemoveAll();
    transition.DurationOne = defaults.DurationOne;
    transition.DurationTwo = defaults.DurationTwo;
    transition.BackgroundColor = defaults.BackgroundColor;
    transition.DurationType = defaults.DurationType;
    transition.AutoPanZoom = defaults.AutoPanZoom;
    transition.MusicFadeInOut = defaults.MusicFadeInOut;
    transition.MusicRandOrder = defaults.MusicRandOrder;
    transition.ShowTooltips = defaults.ShowTooltips;
    transition.ContinueAfterPanZoom = defaults.ContinueAfterPanZoom;
  }

  void TearDown() override {
    pictavo::display::StopScript();
    if (::IsWindow(dlg.GetSafeHwnd())) dlg.DestroyWindow();
    GetWindowRegistry()->m_pAlbumPreviewDlg = nullptr;
    GetWindowRegistry()->m_pMenuPreviewDlg = nullptr;
    GetWindowRegistry()->m_pBurnOptionTV = nullptr;
    pictavo::test::PumpPending();
    CWnd::DeleteTempMap();
    pictavo::shell::SetLanguageRoot("");
    g_languageSettings.LangIniFile = "lang_eng.ini";
  }

  // The dialog as the Options command opens it, but modeless so the test can look inside.
  void Open() {
    ASSERT_TRUE(dlg.Create(IDD_OPTIONS, nullptr));
    dlg.ShowWindow(SW_SHOW);
    pictavo::test::PumpPending();
  }

  void ChooseCategory(int index) {
    dlg.m_categories.SetCurSel(index);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_OPTIONS_CATEGORIES, LBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(dlg.m_categories.GetSafeHwnd()));
  }

  // Plays `script` while the test goes on; a step that cannot go on ends the dialogs of this
  // thread and is reported at the end of the test.
  void Script(const std::string& script) {
    pictavo::display::StopScript();  // the last one may still be waiting for its window to go
    std::vector<pictavo::display::ScriptStep> steps;
    pictavo::display::ScriptError error;
    ASSERT_TRUE(pictavo::display::ParseScript(script, &steps, &error)) << error.message;
    pictavo::display::ScriptOptions options;
    options.name = "options-test";
    options.onFailure = [this](const std::string& message) {
      scriptFailure = message;
      pictavo::test::EndThreadDialogs(IDABORT);
    };
    ASSERT_TRUE(pictavo::display::PlayScript(std::move(steps), std::move(options)));
  }

  std::vector<int> SelectedRows() {
    std::vector<int> rows;
    for (int row = dlg.m_albumPage.m_listMusic.GetNextItem(-1, LVNI_SELECTED); row >= 0;
         row = dlg.m_albumPage.m_listMusic.GetNextItem(row, LVNI_SELECTED))
      rows.push_back(row);
    return rows;
  }

  std::vector<std::string> Working() {
    std::vector<std::string> items;
    for (INT_PTR i = 0; i < dlg.m_albumPage.m_arrMusic.GetSize(); ++i)
      items.push_back(dlg.m_albumPage.m_arrMusic[i].Str());
    return items;
  }

  void SelectRows(std::initializer_list<int> rows) {
    CListCtrl& list = dlg.m_albumPage.m_listMusic;
    list.SetItemState(-1, 0, LVIS_SELECTED);
    for (int row : rows) list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
  }

  TestOptionsDlg dlg;
  std::string scriptFailure;
};

}  // namespace

TEST_F(OptionsDlgTest, OpensOnGeneralAndTheListSwitchesToAlbumDefault) {
  Open();
  EXPECT_EQ(Text(dlg.m_hWnd), "Options");
  ASSERT_EQ(dlg.m_categories.GetCount(), 2);
  CString name;
  dlg.m_categories.GetText(0, name);
  EXPECT_EQ(name, "General");
  dlg.m_categories.GetText(1, name);
  EXPECT_EQ(name, "Album Default");
  EXPECT_EQ(dlg.m_categories.GetCurSel(), 0);
  EXPECT_EQ(dlg.GetShownPage(), 0);
  EXPECT_EQ(dlg.m_banner.GetTitle(), "Gerneral options");
  CRect list;
  dlg.m_categories.GetWindowRect(&list);
  EXPECT_EQ(list.Width(), 104);
  EXPECT_EQ(dlg.m_categories.GetItemHeight(0), 60);

  ChooseCategory(1);
  EXPECT_EQ(dlg.GetShownPage(), 1);
  EXPECT_TRUE(dlg.m_albumPage.IsWindowVisible());
  EXPECT_FALSE(dlg.m_generalPage.IsWindowVisible());
  EXPECT_EQ(dlg.m_banner.GetTitle(), "Album Default Options");
  ChooseCategory(0);
  EXPECT_EQ(dlg.GetShownPage(), 0);
  EXPECT_EQ(dlg.m_banner.GetTitle(), "Gerneral options");

  // Both pages sit on the placeholder's rectangle.
  CRect area, general, album;
  dlg.GetDlgItem(IDC_OPTIONS_PAGE_AREA)->GetWindowRect(&area);
  dlg.m_generalPage.GetWindowRect(&general);
  dlg.m_albumPage.GetWindowRect(&album);
  EXPECT_EQ(general, area);
  EXPECT_EQ(album, area);
}

TEST_F(OptionsDlgTest, GeneralPageOffersOnlyTheTemporaryFolderTheRestIsShownDisabled) {
  Open();
  CGeneralOptionsPage& page = dlg.m_generalPage;
  struct Case {
    int id;
    bool enabled;
  };
  const Case cases[] = {
      {IDC_GENERAL_TEMP_FOLDER, true},     {IDC_GENERAL_BROWSE_FOLDER, true},
      {IDC_GENERAL_CLEAN_MANAGER, true},   {IDC_GENERAL_REMOVE_TEMP, true},
      {IDC_GENERAL_OPEN_FOLDER, true},     {IDC_GENERAL_MENU_GROUP, false},
      {IDC_GENERAL_USE_MENU, false},       {IDC_GENERAL_PLAY_AFTER_MENU, false},
      {IDC_GENERAL_PLAYBACK_LABEL, false}, {IDC_GENERAL_PLAYBACK, false},
  };
  for (const Case& c : cases) {
    HWND control = ::GetDlgItem(page.m_hWnd, c.id);
    ASSERT_NE(control, nullptr) << c.id;
    EXPECT_EQ(::IsWindowEnabled(control) != FALSE, c.enabled) << c.id;
    EXPECT_TRUE(::IsWindowVisible(control)) << c.id;
  }
  ASSERT_TRUE(page.m_tvPage.IsWindowVisible());
  EXPECT_FALSE(page.m_tvPage.IsWindowEnabled());
  int children = 0;
  for (HWND child = ::GetWindow(page.m_tvPage.m_hWnd, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT), ++children) {
    EXPECT_FALSE(::IsWindowEnabled(child)) << ::GetDlgCtrlID(child);
    EXPECT_TRUE(::IsWindowVisible(child)) << ::GetDlgCtrlID(child);
  }
  EXPECT_EQ(children, 13);
  // The TV page sits on the frame that marks its place.
  CRect frame, tv;
  page.GetDlgItem(IDC_GENERAL_TV_FRAME)->GetWindowRect(&frame);
  page.m_tvPage.GetWindowRect(&tv);
  EXPECT_EQ(tv, frame);
}

TEST_F(OptionsDlgTest, GeneralPageShowsTheSettingsAndOkStoresTheSectionWhole) {
  CGeneralSettings& general = GetAppSettings()->General;
  general.PlaybackMode = 6;
  general.UseDVDMenu = 0;
  general.PlaySlideshowAfterPlayingMenu = 1;
  options_logic::TvToSettings({0, 1, 10, 2, 1, 1}, general);
  Open();
  CGeneralOptionsPage& page = dlg.m_generalPage;
  CBurnOptionTV& tv = page.m_tvPage;
  EXPECT_EQ(Text(page, IDC_GENERAL_TEMP_FOLDER), folder / "temp");
  EXPECT_EQ(ComboSelection(page, IDC_GENERAL_PLAYBACK), 2);
  EXPECT_EQ(Text(page, IDC_GENERAL_PLAYBACK), "Play next album, back to first at the end of last album");
  EXPECT_EQ(page.IsDlgButtonChecked(IDC_GENERAL_USE_MENU), 0u);
  EXPECT_EQ(page.IsDlgButtonChecked(IDC_GENERAL_PLAY_AFTER_MENU), 1u);
  EXPECT_EQ(tv.IsDlgButtonChecked(IDC_TV_NTSC), 1u);
  EXPECT_EQ(tv.IsDlgButtonChecked(IDC_TV_PAL), 0u);
  EXPECT_EQ(Text(tv, IDC_TV_SYSTEM_TEXT), "NTSC is used throughout North/South America and Japan.");
  EXPECT_EQ(tv.m_slider.GetPos(), 10);
  EXPECT_EQ(Text(tv, IDC_TV_CROP_TEXT), "10% will be cropped");
  EXPECT_EQ(Text(tv, IDC_TV_ASPECT), "16:9");
  EXPECT_EQ(tv.IsDlgButtonChecked(IDC_TV_ANTI_FLICKER), 1u);
  EXPECT_EQ(Text(tv, IDC_TV_SCALE), "Scale to fill");
  options_logic::TvOptions back;
  tv.GetTVOptions(back);
  EXPECT_EQ(back, (options_logic::TvOptions{0, 1, 10, 2, 1, 1}));
  // The disk figures are those of the folder's volume.
  ULONGLONG total = 0, free = 0;
  ASSERT_TRUE(GetDiskFreeSpaceInfo((folder / "temp").c_str(), &total, &free));
  EXPECT_EQ(Text(page, IDC_GENERAL_TOTAL_MB), options_logic::MegabytesText(total).Str());

  const std::string chosen = folder / "chosen temp";
  ::SetDlgItemText(page.m_hWnd, IDC_GENERAL_TEMP_FOLDER, chosen.c_str());
  dlg.OnOK();
  const struct {
    const char* name;
    long long value;
  } expected[] = {{"PlaybackMode", 2},     {"UseDVDMenu", 0}, {"PlaySlideshowAfterPlayingMenu", 1},
                  {"TVSafeAreaRatio", 15}, {"PAL", 0},        {"CropEnable", 1},
                  {"CropRatio", 10},       {"Correction", 2}, {"AntiFlick", 1},
                  {"PhotoScaleMode", 1}};
  for (const auto& e : expected) EXPECT_EQ(RegistryDword("General", e.name), e.value) << e.name;
  DWORD type = 0;
  Bytes data;
  ASSERT_TRUE(QueryRaw(kAppKey + "\\General", "TempFolder", type, data));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data.data())), chosen);
  EXPECT_EQ(GetAppSettings()->General.TempFolder, CString(chosen));
  EXPECT_EQ(GetAppSettings()->General.PlaybackMode, 2);
}

TEST_F(OptionsDlgTest, OkWithoutChangesLeavesAProjectsOwnOptionsAndPostsNothing) {
  // The project was saved for NTSC with 4:3 and cropping; the settings say PAL, none, no crop.
  options_logic::TvToSettings({1, 0, 0, 0, 0, 0}, GetAppSettings()->General);
  _PROJECT_OPTIONS_DATA* record = GetProject()->GetOptionsData();
  record->nTVSystem = 0;
  record->nAspectCorrection = 1;
  record->bCropEnable = 1;
  record->nCropRatio = 5;
  record->nPlaybackMode = 3;
  const _PROJECT_OPTIONS_DATA before = *record;
  GetProject()->Put_bMenuEncodeDirty(FALSE);
  AspectListener preview;
  ASSERT_TRUE(preview.CreateEx(0, nullptr, "Preview", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
  GetWindowRegistry()->m_pAlbumPreviewDlg = &preview;

  Open();
  dlg.OnOK();
  pictavo::test::PumpPending();
  EXPECT_EQ(std::memcmp(GetProject()->GetOptionsData(), &before, sizeof before), 0);
  EXPECT_FALSE(GetProject()->IsMenuEncodeDirty());
  EXPECT_EQ(preview.received, 0);
  preview.DestroyWindow();
}

TEST_F(OptionsDlgTest, AChangedTvValueReachesTheProjectAndTheAspectListeners) {
  options_logic::TvToSettings({1, 0, 0, 0, 0, 0}, GetAppSettings()->General);
  _PROJECT_OPTIONS_DATA* record = GetProject()->GetOptionsData();
  record->nTVSystem = 1;
  record->bCropEnable = 0;
  record->nCropRatio = 0;
  record->nAspectCorrection = 0;
  record->bAntiFlicker = 0;
  record->nPhotoScaleMode = 0;
  GetProject()->Put_bMenuEncodeDirty(FALSE);
  AspectListener preview;
  ASSERT_TRUE(preview.CreateEx(0, nullptr, "Preview", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
  GetWindowRegistry()->m_pAlbumPreviewDlg = &preview;

  Open();
  // What the page's controls would hold had the user changed them.
  dlg.m_generalPage.m_tvPage.SetTVOptions({0, 1, 12, 2, 1, 1});
  dlg.OnOK();
  ASSERT_TRUE(pictavo::test::PumpUntil([&] { return preview.received > 0; }));
  EXPECT_EQ(record->nTVSystem, 0);
  EXPECT_EQ(record->bCropEnable, 1);
  EXPECT_EQ(record->nCropRatio, 12);
  EXPECT_EQ(record->nAspectCorrection, 2);
  EXPECT_EQ(record->bAntiFlicker, 1);
  EXPECT_EQ(record->nPhotoScaleMode, 0);  // the scale commands own it
  EXPECT_TRUE(GetProject()->IsMenuEncodeDirty());
  EXPECT_EQ(preview.received, 1);
  EXPECT_EQ(RegistryDword("General", "PhotoScaleMode"), 1);
  preview.DestroyWindow();
}

TEST_F(OptionsDlgTest, DiskSpaceFollowsTheFolderText) {
  Open();
  CGeneralOptionsPage& page = dlg.m_generalPage;
  const std::string missing = folder / "no such folder";
  const struct {
    std::string folder;
    bool exists;
  } cases[] = {{missing, false}, {folder.Path(), true}};
  for (const auto& c : cases) {
    ::SetDlgItemText(page.m_hWnd, IDC_GENERAL_TEMP_FOLDER, c.folder.c_str());
    page.SendMessage(WM_TIMER, 1, 0);
    ULONGLONG total = 0, free = 0;
    EXPECT_EQ(GetDiskFreeSpaceInfo(c.folder.c_str(), &total, &free) != FALSE, c.exists) << c.folder;
    EXPECT_EQ(Text(page, IDC_GENERAL_TOTAL_MB), options_logic::MegabytesText(total).Str()) << c.folder;
    EXPECT_EQ(Text(page, IDC_GENERAL_FREE_MB), options_logic::MegabytesText(free).Str()) << c.folder;
    EXPECT_EQ(Text(page, IDC_GENERAL_TOTAL_MB) == "0", !c.exists) << c.folder;
    EXPECT_EQ(Text(page, IDC_GENERAL_TEMP_FOLDER), c.folder);
  }
}

TEST_F(OptionsDlgTest, RemovingTheTemporaryFoldersAsksFirst) {
  const fs::path run = folder / "temp/Temp/202612102200";
  fs::create_directories(run);
  ASSERT_TRUE(MarkProgramTempFolder(run.c_str()));
  Open();
  // No keeps them, Yes removes them.
  Script("wait-window \"" + std::string(kAppName) + "\"\nclick 7");
  Click(dlg.m_generalPage, IDC_GENERAL_REMOVE_TEMP);
  EXPECT_EQ(scriptFailure, "");
  EXPECT_TRUE(fs::exists(run));
  Script("wait-window \"" + std::string(kAppName) + "\"\nclick 6");
  Click(dlg.m_generalPage, IDC_GENERAL_REMOVE_TEMP);
  EXPECT_EQ(scriptFailure, "");
  EXPECT_FALSE(fs::exists(run));
  EXPECT_TRUE(fs::exists(folder / "temp"));
}

TEST_F(OptionsDlgTest, AlbumPageShowsTheTransitionSectionAndOkWritesIt) {
  CTransitionSettings& transition = GetAppSettings()->Transition;
  transition.DurationOne = 3;
  transition.DurationTwo = 7;
  transition.BackgroundColor = RGB(10, 20, 30);
  transition.DurationType = 1;
  transition.AutoPanZoom = 1;
  transition.MusicFadeInOut = 0;
  transition.MusicRandOrder = 1;
  transition.ShowTooltips = 0;
  transition.ContinueAfterPanZoom = 1;
  Open();
  ChooseCategory(1);
  CAlbumDefaultOptionsPage& page = dlg.m_albumPage;
  EXPECT_EQ(Text(page, IDC_ALBUM_TRANSITION_DURATION), "3");
  EXPECT_EQ(Text(page, IDC_ALBUM_PHOTO_DURATION), "7");
  EXPECT_EQ(page.m_colorButton.m_crColor, RGB(10, 20, 30));
  const struct {
    int id;
    UINT checked;
  } shown[] = {{IDC_ALBUM_LOOP_AUDIO, 0},   {IDC_ALBUM_PAN_ZOOM, 1}, {IDC_ALBUM_FADE, 0},
               {IDC_ALBUM_RANDOM_ORDER, 1}, {IDC_ALBUM_TOOLTIPS, 0}, {IDC_ALBUM_PAN_ZOOM_WHOLE_TIME, 1}};
  for (const auto& s : shown) EXPECT_EQ(page.IsDlgButtonChecked(s.id), s.checked) << s.id;

  // The user ticks "Loop audio" and the fade, clears pan and zoom over the whole time, types new
  // durations and picks a colour.
  page.CheckDlgButton(IDC_ALBUM_LOOP_AUDIO, BST_CHECKED);
  page.CheckDlgButton(IDC_ALBUM_FADE, BST_CHECKED);
  page.CheckDlgButton(IDC_ALBUM_PAN_ZOOM_WHOLE_TIME, BST_UNCHECKED);
  ::SetDlgItemText(page.m_hWnd, IDC_ALBUM_TRANSITION_DURATION, "4");
  ::SetDlgItemText(page.m_hWnd, IDC_ALBUM_PHOTO_DURATION, "12");
  page.m_colorButton.m_crColor = RGB(200, 100, 50);
  dlg.OnOK();
  const struct {
    const char* name;
    long long value;
  } expected[] = {{"DurationOne", 4},        {"DurationTwo", 12}, {"BackgroundColor", RGB(200, 100, 50)},
                  {"DurationType", 0},       {"AutoPanZoom", 1},  {"MusicFadeInOut", 1},
                  {"MusicRandOrder", 1},     {"ShowTooltips", 0}, {"ContinueAfterPanZoom", 0},
                  {"PlayOverCurrentSong", 0}};
  for (const auto& e : expected) EXPECT_EQ(RegistryDword("Transition", e.name), e.value) << e.name;
  EXPECT_FALSE(CZoomPan::IsBounceEnabled());
  CZoomPan::EnableBounce(TRUE);
}

TEST_F(OptionsDlgTest, ResetPutsTheDefaultsBackAndCancelStoresNothing) {
  const CTransitionSettings defaults;
  CTransitionSettings& transition = GetAppSettings()->Transition;
  transition.DurationOne = 9;
  transition.DurationTwo = 40;
  transition.BackgroundColor = RGB(1, 2, 3);
  transition.DurationType = 0;
  transition.MusicFadeInOut = 1;
  transition.MusicRandOrder = 0;
  transition.AutoPanZoom = 1 - defaults.AutoPanZoom;
  const std::string song = MakeMusic(folder / "song.mp3", 3);
  transition.BackgroundMusic.Add(song.c_str());
  Open();
  ChooseCategory(1);
  CAlbumDefaultOptionsPage& page = dlg.m_albumPage;
  Click(page, IDC_ALBUM_RESET);
  EXPECT_EQ(Text(page, IDC_ALBUM_TRANSITION_DURATION), std::to_string(defaults.DurationOne));
  EXPECT_EQ(Text(page, IDC_ALBUM_PHOTO_DURATION), std::to_string(defaults.DurationTwo));
  EXPECT_EQ(page.m_colorButton.m_crColor, defaults.BackgroundColor);
  EXPECT_EQ(page.IsDlgButtonChecked(IDC_ALBUM_LOOP_AUDIO), defaults.DurationType == 0 ? 1u : 0u);
  EXPECT_EQ(page.IsDlgButtonChecked(IDC_ALBUM_PAN_ZOOM), static_cast<UINT>(defaults.AutoPanZoom));
  EXPECT_EQ(page.IsDlgButtonChecked(IDC_ALBUM_FADE), 1u);          // kept
  EXPECT_EQ(page.IsDlgButtonChecked(IDC_ALBUM_RANDOM_ORDER), 0u);  // kept
  EXPECT_EQ(page.m_listMusic.GetItemCount(), 1);                   // kept
  // Cancel: nothing of it reaches the registry or the settings.
  dlg.DestroyWindow();
  EXPECT_FALSE(KeyExists(kAppKey + "\\Transition"));
  EXPECT_EQ(transition.DurationOne, 9u);
}

TEST_F(OptionsDlgTest, ATypedDurationOutsideItsRangeKeepsTheDialogOpen) {
  Open();
  ChooseCategory(0);
  ::SetDlgItemText(dlg.m_albumPage.m_hWnd, IDC_ALBUM_TRANSITION_DURATION, "45");
  Script("wait-window \"" + std::string(kAppName) + "\"\nkey Enter");
  dlg.OnOK();
  EXPECT_EQ(scriptFailure, "");
  EXPECT_TRUE(dlg.IsWindowVisible());
  EXPECT_EQ(dlg.GetShownPage(), 1);  // the page with the value to correct
  EXPECT_FALSE(KeyExists(kAppKey + "\\Transition"));
  EXPECT_FALSE(KeyExists(kAppKey + "\\General"));  // nothing written, not even the other page
  ::SetDlgItemText(dlg.m_albumPage.m_hWnd, IDC_ALBUM_TRANSITION_DURATION, "30");
  dlg.OnOK();
  EXPECT_EQ(RegistryDword("Transition", "DurationOne"), 30);
}

TEST_F(OptionsDlgTest, AddingMusicRefusesSmallFilesAndReplacesALoneDefault) {
  fs::create_directories(folder / "music");
  const std::string defaultMusic = MakeMusic(folder / "music/default.mp3", 3);
  const std::string song = MakeMusic(folder / "music/song.mp3", 3);
  pictavo::test::WriteWholeFile(folder / "music/small.wav", std::string(307200, '\0'));
  SetString(kAppKey + "\\General", "LastAudioPath", folder / "music");

  struct Case {
    std::vector<std::string> before;
    std::vector<std::string> after;
  };
  const Case cases[] = {{{defaultMusic}, {song}}, {{defaultMusic, song}, {defaultMusic, song, song}}};
  for (const Case& c : cases) {
    CTransitionSettings& transition = GetAppSettings()->Transition;
    transition.BackgroundMusic.RemoveAll();
    for (const std::string& path : c.before) transition.BackgroundMusic.Add(path.c_str());
    Open();
    ChooseCategory(1);
    Script(
        "wait-window Open\ntype \"small.wav\" \"song.mp3\"\nkey Enter\nwait-window \"Invalid File\"\nkey "
        "Enter");
    Click(dlg.m_albumPage, IDC_ALBUM_ADD_MUSIC);
    EXPECT_EQ(scriptFailure, "");
    EXPECT_EQ(Working(), c.after);
    EXPECT_EQ(SelectedRows(), std::vector<int>{static_cast<int>(c.after.size()) - 1});
    dlg.OnOK();
    EXPECT_EQ(RegistryList("Transition", "BackgroundMusic"), c.after);
    dlg.DestroyWindow();
  }
  DWORD type = 0;
  Bytes data;
  ASSERT_TRUE(QueryRaw(kAppKey + "\\General", "LastAudioPath", type, data));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data.data())), folder / "music");
}

TEST_F(OptionsDlgTest, MusicRowsAreRemovedAndMovedAsSelected) {
  std::vector<std::string> files;
  for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"})
    files.push_back(MakeMusic(folder / name, 3));
  CTransitionSettings& transition = GetAppSettings()->Transition;
  for (const std::string& path : files) transition.BackgroundMusic.Add(path.c_str());
  Open();
  ChooseCategory(1);
  CAlbumDefaultOptionsPage& page = dlg.m_albumPage;
  ASSERT_EQ(page.m_listMusic.GetItemCount(), 5);
  EXPECT_EQ(page.m_listMusic.GetItemText(0, 0), "a.mp3");
  EXPECT_EQ(page.m_listMusic.GetItemText(0, 1), "3s");
  EXPECT_EQ(page.m_listMusic.GetItemText(0, 2), CString(folder.Path()));

  SelectRows({1, 3});
  Click(page, IDC_ALBUM_REMOVE_MUSIC);
  EXPECT_EQ(Working(), (std::vector<std::string>{files[0], files[2], files[4]}));
  EXPECT_EQ(SelectedRows(), std::vector<int>{2});

  Click(page, IDC_ALBUM_MOVE_UP);
  EXPECT_EQ(Working(), (std::vector<std::string>{files[0], files[4], files[2]}));
  EXPECT_EQ(SelectedRows(), std::vector<int>{1});
  Click(page, IDC_ALBUM_MOVE_DOWN);
  Click(page, IDC_ALBUM_MOVE_DOWN);  // already last: nothing moves
  EXPECT_EQ(Working(), (std::vector<std::string>{files[0], files[2], files[4]}));
  EXPECT_EQ(SelectedRows(), std::vector<int>{2});
  SelectRows({0});
  Click(page, IDC_ALBUM_MOVE_UP);  // already first
  EXPECT_EQ(Working(), (std::vector<std::string>{files[0], files[2], files[4]}));

  // With nothing selected every button says so.
  SelectRows({});
  for (int id : {IDC_ALBUM_REMOVE_MUSIC, IDC_ALBUM_MOVE_UP, IDC_ALBUM_MOVE_DOWN}) {
    Script("wait-window \"Talvane Pictavo\"\nkey Enter");
    Click(page, id);
    EXPECT_EQ(scriptFailure, "") << id;
  }
  EXPECT_EQ(Working().size(), 3u);
  // A file that went missing shows "???" as its length.
  fs::remove(files[2]);
  page.FillMusicList();
  EXPECT_EQ(page.m_listMusic.GetItemText(1, 1), "???");
}

TEST_F(OptionsDlgTest, PlayPlaysTheFirstRowUntilStoppedOrItsEnd) {
  const std::string longer = MakeMusic(folder / "longer.mp3", 20);
  const std::string shorter = MakeMusic(folder / "shorter.mp3", 1);
  CTransitionSettings& transition = GetAppSettings()->Transition;
  transition.BackgroundMusic.Add(longer.c_str());
  transition.BackgroundMusic.Add(shorter.c_str());
  Open();
  ChooseCategory(1);
  CAlbumDefaultOptionsPage& page = dlg.m_albumPage;
  EXPECT_EQ(Text(page, IDC_ALBUM_PLAY), "&Play");

  // Nothing selected: the first row plays; Play again stops it.
  Click(page, IDC_ALBUM_PLAY);
  EXPECT_EQ(SelectedRows(), std::vector<int>{0});
  EXPECT_TRUE(page.IsPlaying());
  EXPECT_EQ(Text(page, IDC_ALBUM_PLAY), "Stop[00:00/00:20]");
  page.SendMessage(WM_TIMER, CAlbumDefaultOptionsPage::kPlayTimer, 0);
  EXPECT_EQ(Text(page, IDC_ALBUM_PLAY).substr(0, 5), "Stop[");
  Click(page, IDC_ALBUM_PLAY);
  EXPECT_FALSE(page.IsPlaying());
  EXPECT_EQ(Text(page, IDC_ALBUM_PLAY), "Play");
  EXPECT_EQ(WaitForSingleObject(page.m_hDoneEvent, 0), WAIT_OBJECT_0);

  // The short one plays to its end: the player's message puts the button back.
  SelectRows({1});
  Click(page, IDC_ALBUM_PLAY);
  EXPECT_EQ(Text(page, IDC_ALBUM_PLAY), "Stop[00:00/00:01]");
  EXPECT_TRUE(pictavo::test::PumpUntil([&] { return !page.IsPlaying(); }, 30000));
  EXPECT_EQ(Text(page, IDC_ALBUM_PLAY), "Play");

  // Closing the dialog while music plays stops the player first.
  Click(page, IDC_ALBUM_PLAY);
  EXPECT_TRUE(page.IsPlaying());
  dlg.DestroyWindow();
  EXPECT_EQ(WaitForSingleObject(page.m_hDoneEvent, 0), WAIT_OBJECT_0);
}

TEST_F(OptionsDlgTest, PlayWithAnEmptyListSaysSo) {
  Open();
  ChooseCategory(1);
  Script("wait-window \"Talvane Pictavo\"\nkey Enter");
  Click(dlg.m_albumPage, IDC_ALBUM_PLAY);
  EXPECT_EQ(scriptFailure, "");
  EXPECT_FALSE(dlg.m_albumPage.IsPlaying());
  EXPECT_EQ(Text(dlg.m_albumPage, IDC_ALBUM_PLAY), "&Play");
}

TEST_F(OptionsDlgTest, EveryPageTranslatesItselfWhenTheLanguageChanges) {
  options_logic::TvToSettings({1, 1, 5, 0, 0, 0}, GetAppSettings()->General);
  Open();
  g_languageSettings.LangIniFile = "lang_deu.ini";
  dlg.SendMessage(WM_LANGUAGE_CHANGED, 0, 0);
  struct Case {
    CWnd* page;
    int id;
    const char* text;
  };
  const Case cases[] = {
      {&dlg, IDOK, "OK"},
      {&dlg, IDCANCEL, "Abbrechen"},
      {&dlg.m_generalPage, IDC_GENERAL_TEMP_GROUP, "Temporärer Ordner:"},
      {&dlg.m_generalPage, IDC_GENERAL_OPEN_FOLDER, "Öffnen..."},
      {&dlg.m_generalPage.m_tvPage, IDC_TV_SYSTEM_GROUP, "Fernsehnorm"},
      {&dlg.m_generalPage.m_tvPage, IDC_TV_SYSTEM_TEXT,
       "PAL wird in Europa und in vielen Ländern Asiens verwendet."},
      {&dlg.m_generalPage.m_tvPage, IDC_TV_CROP_TEXT, "5% werden abgeschnitten"},
      {&dlg.m_generalPage.m_tvPage, IDC_TV_SCALE, "Einpassen"},
      {&dlg.m_albumPage, 1566, "Hintergrundmusik:"},
      {&dlg.m_albumPage, IDC_ALBUM_PLAY, "&Abspielen"},
  };
  for (const Case& c : cases) EXPECT_EQ(Text(*c.page, c.id), c.text) << c.id;
  EXPECT_EQ(Text(dlg.m_hWnd), "Optionen");
  CString name;
  dlg.m_categories.GetText(0, name);
  EXPECT_EQ(name, "Allgemein");
  EXPECT_EQ(dlg.m_banner.GetTitle(), "Allgemeine Optionen");
  EXPECT_EQ(dlg.m_categories.GetCurSel(), 0);
  LVCOLUMN column{};
  char title[64] = {};
  column.mask = LVCF_TEXT;
  column.pszText = title;
  column.cchTextMax = sizeof title;
  ASSERT_TRUE(dlg.m_albumPage.m_listMusic.SendMessage(LVM_GETCOLUMN, 1, reinterpret_cast<LPARAM>(&column)));
  EXPECT_STREQ(title, "Länge");
}

TEST_F(OptionsDlgTest, SubsetButtonStoresTheRandomSubsetForNewAlbums) {
  if (GetTransitionList()->GetSize() == 0) LoadBuiltInTransitions(std::getenv("PICTAVO_BIN_DIR"));
  CTransitionSettings& transition = GetAppSettings()->Transition;
  transition.TransitionName.RemoveAll();
  transition.EmptySubsetIsValid = 0;
  Open();
  ChooseCategory(1);
  EXPECT_TRUE(dlg.m_albumPage.GetDlgItem(IDC_ALBUM_TRANSITION_SUBSET)->IsWindowEnabled());
  // Remove All, then the first unselected row (the first transition after None) added; "Ok".
  Script("wait-window \"Randomize Transition Effect\"\nclick 1145\nclick 1022 60 17\nclick 1143\nclick 1");
  Click(dlg.m_albumPage, IDC_ALBUM_TRANSITION_SUBSET);
  EXPECT_EQ(scriptFailure, "");
  ASSERT_EQ(transition.TransitionName.GetSize(), 1);
  EXPECT_EQ(transition.TransitionName[0], GetTransitionList()->GetAt(1)->strName);
  EXPECT_EQ(transition.EmptySubsetIsValid, 1);
  EXPECT_EQ(RegistryDword("Transition", "EmptySubsetIsValid"), 1);
}
