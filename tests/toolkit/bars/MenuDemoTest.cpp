// The popup menus as a user meets them: the menu demonstration frame on the headless display,
// driven by the input script, a snapshot per step, the chosen commands in its log.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/Programs.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/Snapshot.h"

namespace {

using pictavo::test::ScopedEnv;
using pictavo::test::ScratchDir;

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Resources() {
  return std::string(std::getenv("PICTAVO_BIN_DIR")) + "/resources";
}

std::string Shot(const char* name) {
  return "snapshot \"" + pictavo::test::SnapshotPath(std::string("menu-demo-") + name + ".png") + "\"\n";
}

struct Item {
  int x = 0, y = 0;
};

}  // namespace

TEST(MenuDemo, MenusOpenByClickFollowKeysScrollExpandAndRunCommands) {
  ScratchDir folder;
  const std::string config = (folder / "config");
  std::filesystem::create_directories(config);
  ScopedEnv home("HOME", config.c_str());
  ScopedEnv xdg("XDG_CONFIG_HOME", config.c_str());

  const std::string layoutLog = (folder / "layout.log");
  ASSERT_TRUE(pictavo::test::Run({MENU_DEMO, "--log", layoutLog, "--resources", Resources(), "--layout"}));
  std::vector<Item> items;
  for (const std::string& line : Lines(layoutLog)) {
    std::istringstream in(line);
    std::string word;
    int index = 0, left = 0, top = 0, right = 0, bottom = 0;
    if (in >> word >> index >> left >> top >> right >> bottom && word == "item")
      items.push_back({(left + right) / 2, (top + bottom) / 2});
  }
  ASSERT_EQ(items.size(), 4u);
  const auto at = [&](int i) { return std::to_string(items[i].x) + " " + std::to_string(items[i].y); };

  // Use counts: the File and Edit commands and two Tools commands are used often; Save, the
  // recent projects and the other Tools commands are rare and wait behind the show-all item.
  const std::string usage = (folder / "usage.txt");
  std::ofstream(usage) << "40301 20\n40302 20\n40001 8\n40002 8\n40004 8\n40201 8\n40202 8\n40203 8\n"
                       << "40204 8\n40205 8\n40206 8\n40101 8\n40102 8\n";

  std::ostringstream script;
  script << "wait-window \"Menu Demo\"\n"
         << "click 1001 " << at(0) << "\n"
         << Shot("1-file")  // File, with its shadow
         << "move 1001 " << at(1) << "\n"
         << Shot("2-edit")  // the open menu follows the pointer
         << "key Escape\n"
         << Shot("3-closed") << "click 1001 " << at(0) << "\n"
         << "key End\nkey Up\nkey Up\nkey Right\n"            // Recent projects, opened by Right
         << Shot("4-sub-menu") << "key Escape\nkey Escape\n"  // one level, then the menu
         << "click 1001 " << at(2) << "\n"
         << Shot("5-tools-short")  // frequent commands and the show-all item
         << "key Ctrl+Down\n"
         << Shot("6-tools-all") << "key Escape\n"
         << "click 1001 " << at(3) << "\n"
         << Shot("7-long")  // cut to the work area, a down button
         << "key End\n"
         << Shot("8-long-end") << "key Escape\n"
         << "click 1001 " << at(0) << "\n"
         << "key Home\nkey Tab\nkey Enter\n"  // Open... runs
         << "click 1001 " << at(1) << "\n"
         << "key C\n";  // Copy, by its mnemonic
  const std::string scriptPath = (folder / "menus.script");
  std::ofstream(scriptPath) << script.str();
  const std::string logPath = (folder / "menus.log");
  {
    ScopedEnv env("PICTAVO_SCRIPT", scriptPath.c_str());
    ASSERT_TRUE(pictavo::test::Run(
        {MENU_DEMO, "--log", logPath, "--resources", Resources(), "--usage", usage, "--animation", "0"}));
  }
  const std::vector<std::string> log = Lines(logPath);
  std::string all;
  for (const std::string& l : log) all += l + "\n";
  std::vector<std::string> commands;
  for (const std::string& l : log)
    if (l.rfind("command ", 0) == 0) commands.push_back(l);
  EXPECT_EQ(commands, (std::vector<std::string>{"command 40002", "command 40203"})) << all;
  // Tools opens with its two frequent commands (the show-all item comes after) and shows all six
  // rows after Ctrl+Down; the long menu has its 60.
  EXPECT_NE(all.find("popup 2 items"), std::string::npos) << all;
  EXPECT_NE(all.find("popup 6 items"), std::string::npos) << all;
  EXPECT_NE(all.find("popup 60 items"), std::string::npos) << all;
  EXPECT_NE(all.find("closed"), std::string::npos) << all;
}
