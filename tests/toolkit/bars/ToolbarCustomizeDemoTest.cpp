// Customize mode in the demonstration frame, driven by the input script: buttons dragged to the
// rebar's bar, copied with Ctrl, dragged off to delete, changed from their context menu, and one
// Alt+dragged back after customize mode ended; then the managers' shortcut, tool, double-click
// command and the bars and bands as they were left, kept by a second start.
#include <gtest/gtest.h>

#include <algorithm>
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

// "button BAR INDEX ID LEFT TOP RIGHT BOTTOM" lines: the ids of one bar in order, and where one is.
std::vector<int> Ids(const std::vector<std::string>& log, int bar) {
  std::vector<int> ids;
  for (const std::string& line : log) {
    std::istringstream in(line);
    std::string word;
    int b = 0, index = 0, id = 0;
    if (in >> word >> b >> index >> id && word == "button" && b == bar && id != 0) ids.push_back(id);
  }
  return ids;
}

std::string Centre(const std::vector<std::string>& log, int bar, int wanted) {
  for (const std::string& line : log) {
    std::istringstream in(line);
    std::string word;
    int b = 0, index = 0, id = 0, left = 0, top = 0, right = 0, bottom = 0;
    if (in >> word >> b >> index >> id >> left >> top >> right >> bottom && word == "button" && b == bar &&
        id == wanted)
      return std::to_string((left + right) / 2) + " " + std::to_string((top + bottom) / 2);
  }
  ADD_FAILURE() << "no button " << wanted << " on bar " << bar;
  return "0 0";
}

std::string Value(const std::vector<std::string>& log, const std::string& name) {
  for (const std::string& line : log)
    if (line.rfind(name + " ", 0) == 0) return line.substr(name.size() + 1);
  return {};
}

std::string Resources() {
  return std::string(std::getenv("PICTAVO_BIN_DIR")) + "/resources";
}

bool RunLayout(const std::string& log) {
  return pictavo::test::Run({TOOLBAR_DEMO, "--log", log, "--resources", Resources(), "--layout"});
}

std::string Shot(const char* name, bool window = true) {
  return "snapshot \"" + pictavo::test::SnapshotPath(std::string("toolbar-customize-") + name + ".png") +
         "\"" + (window ? " \"Toolbar Demo\"" : "") + "\n";
}

constexpr int kMain = 1001, kQuick = 1003, kLog = 0xE900;

}  // namespace

TEST(ToolbarCustomizeDemo, EditsTheBarsByMouseAndKeepsWhatTheManagersHold) {
  ScratchDir folder;
  const std::string config = folder / "config";
  ScopedEnv home("HOME", config.c_str());
  ScopedEnv xdg("XDG_CONFIG_HOME", config.c_str());
  const std::string first = folder / "layout1.log";
  ASSERT_TRUE(RunLayout(first));
  const std::vector<std::string> start = Lines(first);
  const std::vector<int> quick = Ids(start, kQuick);
  ASSERT_EQ(quick, (std::vector<int>{57600, 57601, 57603}));
  std::vector<int> main = Ids(start, kMain);
  ASSERT_GE(main.size(), 8u);
  EXPECT_EQ(Value(start, "accelerators"), "10");
  EXPECT_EQ(Value(start, "tools"), "0");

  // Positions on the main bar as each step finds it: one button (22 pixels) leaves before the
  // second drag.
  const std::string moved = Centre(start, kMain, 32807);
  std::istringstream copyAt(Centre(start, kMain, 32858));
  int copyX = 0, copyY = 0;
  copyAt >> copyX >> copyY;
  std::ostringstream script;
  script << "wait-window \"Toolbar Demo\"\n"
         << "key Ctrl+M\n"
         << Shot("1-customize") << "drag " << kMain << " " << moved << " " << kQuick << " 80 10\n"
         << Shot("2-moved") << "drag " << kMain << " " << copyX - 22 << " " << copyY << " " << kQuick
         << " 102 10 Ctrl\n"
         << Shot("3-copied") << "drag " << kMain << " " << Centre(start, kMain, 32789) << " " << kLog
         << " 200 40\n"
         << Shot("4-dragged-off") << "rclick " << kMain << " " << Centre(start, kMain, 57603) << "\n"
         << Shot("5-context-menu", false) << "key T\n"
         << Shot("6-text-only") << "rclick " << kMain << " 60 10\n"
         << "key G\n"
         << Shot("7-group") << "key Ctrl+M\n"
         << Shot("8-left") << "move " << kLog << " 300 100\n"
         << "drag " << kQuick << " 78 10 " << kMain << " 3 10 Alt\n"
         << Shot("9-alt-dragged") << "key Ctrl+K\n"
         << "dblclick " << kLog << " 100 8\n"
         << Shot("10-managers");
  const std::string scriptPath = folder / "customize.script";
  std::ofstream(scriptPath) << script.str();
  const std::string logPath = folder / "customize.log";
  {
    ScopedEnv env("PICTAVO_SCRIPT", scriptPath.c_str());
    ASSERT_TRUE(pictavo::test::Run({TOOLBAR_DEMO, "--log", logPath, "--resources", Resources()}));
  }
  const std::vector<std::string> log = Lines(logPath);
  std::string all;
  for (const std::string& l : log) all += l + "\n";

  // 32807 went to the quick bar and came back to the front of the main bar by Alt+drag; 32858
  // was copied there; 32789 was dragged off; Save got a group before it.
  EXPECT_EQ(Ids(log, kQuick), (std::vector<int>{57600, 57601, 57603, 32858})) << all;
  const std::vector<int> left = Ids(log, kMain);
  ASSERT_FALSE(left.empty()) << all;
  EXPECT_EQ(left.front(), 32807) << all;
  EXPECT_NE(std::find(left.begin(), left.end(), 32858), left.end()) << "a copy leaves the original";
  EXPECT_EQ(std::find(left.begin(), left.end(), 32789), left.end()) << "dragged off every bar";
  EXPECT_EQ(Value(log, "accelerators"), "11") << all;
  EXPECT_EQ(Value(log, "save key"), "Ctrl+E") << all;
  EXPECT_EQ(Value(log, "tools"), "1") << all;
  EXPECT_EQ(Value(log, "dblclick"), "57603") << all;
  EXPECT_NE(std::find(log.begin(), log.end(), "command 57603 Save"), log.end()) << "the log's double-click";
  for (const char* saved : {"save 1001 ok", "save 1003 ok", "workspace ok"})
    EXPECT_NE(std::find(log.begin(), log.end(), saved), log.end()) << saved << "\n" << all;

  // Started again: the bars, shortcuts, tool, double-click command and band as left.
  const std::string again = folder / "layout2.log";
  ASSERT_TRUE(RunLayout(again));
  const std::vector<std::string> kept = Lines(again);
  EXPECT_EQ(Ids(kept, kQuick), Ids(log, kQuick));
  EXPECT_EQ(Ids(kept, kMain), Ids(log, kMain));
  EXPECT_EQ(Value(kept, "accelerators"), "11");
  EXPECT_EQ(Value(kept, "save key"), "Ctrl+E");
  EXPECT_EQ(Value(kept, "tools"), "1");
  EXPECT_EQ(Value(kept, "dblclick"), "57603");
  EXPECT_EQ(Value(kept, "band"), Value(log, "band"));
}
