// The theme page in the real program on the headless display: the sample project (titles
// switched off) opened, the "Album Theme" tab, the "Classic Frame" theme picked from the list,
// titles ticked, a title typed, Preview: the preview area plays the titles over their background
// and then returns to the theme over the first photo. Saved and opened again, the album keeps its
// theme and titles. Snapshots: theme-e2e-*.png under build/bin/test-output/.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "tests/shell/ShellTestSupport.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"

using namespace shelltest;
namespace fs = std::filesystem;

namespace {

class ThemePageEndToEndTest : public RegistryFixture {};

std::string ReadText(const fs::path& path) {
  std::ifstream in(path);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::array<int, 3> At(const pictavo::test::Picture& p, int x, int y) {
  const size_t i = (static_cast<size_t>(y) * p.width + x) * 3;
  return {p.rgb[i], p.rgb[i + 1], p.rgb[i + 2]};
}

// The sample project beside a copy of its photos, with its titles switched off.
fs::path CopySample(const fs::path& folder) {
  const fs::path source = fs::path(getenv("PICTAVO_SOURCE_DIR")) / "samples";
  fs::copy(source / "media", folder / "media", fs::copy_options::recursive);
  std::string project = ReadText(source / "sample.r7m");
  project = std::regex_replace(project, std::regex("<title enabled=\"1\""), "<title enabled=\"0\"");
  const fs::path copy = folder / "Trip.r7m";
  std::ofstream(copy) << project;
  return copy;
}

// The theme tab of the album sheet at 1024 x 768, and the list's second theme ("Classic Frame";
// "_no_theme" sorts first).
const char kOpenThemePage[] =
    "wait-window \"Talvane Pictavo\" 60\n"
    "wait-gone Splash 30\n"
    "click 1139 300 13\n";

// The preview's 4:3 box on the desktop: x 366..703, y 251..504; the theme's cream mount shows at
// its edges, the titles' background in its middle.
constexpr std::array<int, 3> kCream{246, 239, 222};
constexpr std::array<int, 3> kTitleBackground{0x10, 0x20, 0x40};

}  // namespace

TEST_F(ThemePageEndToEndTest, ATitleTypedAndPreviewedIsKeptWithTheThemeAfterSavingAndOpening) {
  ASSERT_TRUE(fs::exists(fs::path(getenv("PICTAVO_SOURCE_DIR")) / "samples/media/beach_landscape.jpg"))
      << "run samples/make-samples.sh";
  const fs::path project = CopySample(folder.Path());
  const std::string theme = pictavo::test::SnapshotPath("theme-e2e-theme.png");
  const std::string titles = pictavo::test::SnapshotPath("theme-e2e-titles.png");
  const std::string back = pictavo::test::SnapshotPath("theme-e2e-back-to-theme.png");
  const std::string reopened = pictavo::test::SnapshotPath("theme-e2e-reopened.png");
  std::ostringstream script;
  script << kOpenThemePage << "click 1021 60 200\n"
         << "sleep 300\n"
         << "snapshot \"" << theme << "\"\n"
         // The first check box and text of the page are the titles'.
         << "click 1375\n"
         << "click 1172\n"
         << "key Ctrl+Home\n"
         << "key Ctrl+Shift+End\n"
         << "type Our Trip to the Sea\n"
         << "click 1373\n"
         << "sleep 2000\n"
         << "snapshot \"" << titles << "\"\n"
         // 5 s of titles, then the theme again.
         << "sleep 4500\n"
         << "snapshot \"" << back << "\"\n"
         << "command 57603\n"
         << "sleep 500\n"
         << "command 32791\n";
  pid_t child = StartProgram(folder.Path(), {project.string()}, script.str(), {},
                             {"PICTAVO_DESKTOP=1024x768", "SDL_AUDIODRIVER=dummy"});
  ASSERT_EQ(WaitForExit(child), 0);

  pictavo::test::Picture picture;
  ASSERT_TRUE(pictavo::test::ReadPng(theme, &picture));
  EXPECT_EQ(At(picture, 380, 490), kCream) << "the theme's mount below the photo";
  ASSERT_TRUE(pictavo::test::ReadPng(titles, &picture));
  EXPECT_EQ(At(picture, 380, 270), kTitleBackground) << "the titles' own background, faded in";
  ASSERT_TRUE(pictavo::test::ReadPng(back, &picture));
  EXPECT_EQ(At(picture, 380, 490), kCream) << "the theme returns after the titles";

  const auto log = ReadProgramLog((fs::path(folder.Path()) / "home/Documents/Talvane Pictavo").string());
  bool chosen = false, ended = false, noFlash = false;
  for (const std::string& line : log) {
    chosen |= line.find("Album \"Sample\" takes the theme \"Classic Frame\"") != std::string::npos;
    ended |= line.find("Theme page: title preview ended after") != std::string::npos;
    noFlash |= line.find("AlbumThemeDlg::CreateFlashWnd() begin to initalize (3)..., hr = 80040154") != std::string::npos;
  }
  EXPECT_TRUE(chosen);
  EXPECT_TRUE(ended);
  EXPECT_TRUE(noFlash);

  const std::string saved = ReadText(project);
  EXPECT_NE(saved.find("<theme name=\"Classic Frame\""), std::string::npos) << saved;
  std::smatch title;
  ASSERT_TRUE(std::regex_search(saved, title, std::regex(R"(<title [^>]*>[^<]*</title>)"))) << saved;
  EXPECT_NE(title.str().find("enabled=\"1\""), std::string::npos) << title.str();
  EXPECT_NE(title.str().find(">Our Trip to the Sea</title>"), std::string::npos) << title.str();

  // Opened again: the page shows the theme over the photo at once.
  std::ostringstream again;
  again << kOpenThemePage << "sleep 500\n"
        << "snapshot \"" << reopened << "\"\n"
        << "command 32791\n";
  child = StartProgram(folder.Path(), {project.string()}, again.str(), {},
                       {"PICTAVO_DESKTOP=1024x768", "SDL_AUDIODRIVER=dummy"});
  ASSERT_EQ(WaitForExit(child), 0);
  ASSERT_TRUE(pictavo::test::ReadPng(reopened, &picture));
  EXPECT_EQ(At(picture, 380, 490), kCream);
  EXPECT_EQ(ReadText(project), saved) << "opening and closing changed nothing";
}
