// The subtitle page as a user meets it in its host: the input script types a subtitle, adds a
// macro from the page's menu, applies the subtitle to every slide, and sets the album's font
// size, with the mouse and the keyboard on the headless display.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/Programs.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/Snapshot.h"

namespace {

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(SubtitlePageDemo, SubtitleMacrosApplyToAllAndTheFontSize) {
  pictavo::test::ScratchDir folder;
  pictavo::test::ScopedEnv config("XDG_CONFIG_HOME", (folder.Path() + "/config").c_str());
  const auto shot = [](const char* name) {
    return "snapshot \"" + pictavo::test::SnapshotPath(std::string("subtitle-page-demo-") + name + ".png") +
           "\" \"Subtitle Page Demo\"\n";
  };
  std::ostringstream script;
  script << "wait-window \"Subtitle Page Demo\"\n"
         << shot("1-opened")
         // The subtitle typed after the slide's own, then "$[p]" from the menu: its ninth command.
         << "click 1307\nkey End\ntype  at the sea \n"
         << "click 1315\n";
  for (int i = 0; i < 9; ++i) script << "key Down\n";
  script << "key Enter\n"
         << shot("2-macro")
         // "Apply Current Subtitle to All Photos", the question answered Yes.
         << "click 1315\nkey Down\nkey Enter\n"
         << "wait-window Error\n"
         << "snapshot \"" << pictavo::test::SnapshotPath("subtitle-page-demo-3-asked.png") << "\" Error\n"
         << "key Enter\n"
         << "wait-window \"Subtitle Page Demo\"\n"
         // The font controls open; a size of 40 is typed. Applying again is refused by the size's
         // range check; closing keeps 36, the most the page allows.
         << "click 1495\n"
         << "click 1223\nkey End\nkey Backspace\nkey Backspace\ntype 40\n"
         << shot("4-font") << "click 1315\nkey Down\nkey Enter\n"
         << "wait-window Error\n"
         << "snapshot \"" << pictavo::test::SnapshotPath("subtitle-page-demo-5-size.png") << "\" Error\n"
         << "key Enter\n"
         << "wait-window \"Subtitle Page Demo\"\n";
  const std::string scriptPath = folder.Path() + "/demo.script";
  std::ofstream(scriptPath) << script.str();
  const std::string logPath = folder.Path() + "/demo.log";
  pictavo::test::ScopedEnv env("PICTAVO_SCRIPT", scriptPath.c_str());
  ASSERT_TRUE(pictavo::test::Run({SUBTITLE_PAGE_DEMO, "--log", logPath}));

  const std::vector<std::string> expected = {
      "subtitle 0 Beach at the sea $[p]",
      "subtitle 1 Beach at the sea $[p]",
      "subtitle 2 Beach at the sea $[p]",
      "font size 36",
      "font charset Western",
  };
  const std::vector<std::string> log = Lines(logPath);
  ASSERT_GE(log.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(log[i], expected[i]);
  for (const char* name : {"1-opened", "2-macro", "3-asked", "4-font", "5-size"})
    EXPECT_TRUE(std::filesystem::exists(
        pictavo::test::SnapshotPath(std::string("subtitle-page-demo-") + name + ".png")))
        << name;
}

}  // namespace
