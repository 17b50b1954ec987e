// The docking bars as a user meets them: the docking demonstration's MDI frame on the headless
// display, driven by the input script with a snapshot per step, its log showing what the bars did;
// then a second run that finds the bars' sizes, the floating bar's rolling and the colour as the
// first run left them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
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

constexpr int kToolBar = 1002, kColorBar = 1004;
constexpr int kMdiClient = 0xE900;
constexpr int kLeftDock = 0xE81C, kBottomDock = 0xE81E;  // where the sizing bars' captions are

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Shot(const char* name) {
  return "snapshot \"" + pictavo::test::SnapshotPath(std::string("docking-demo-") + name + ".png") + "\"\n";
}

// The rectangles the --layout run wrote ("<what> <id> [<index>] l t r b"), by the words before
// the numbers ("<what> <id> [<index>]").
std::map<std::string, std::vector<int>> Rects(const std::vector<std::string>& lines) {
  std::map<std::string, std::vector<int>> at;
  for (const std::string& line : lines) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    if (words.size() < 5) continue;
    const size_t n = words.size();
    std::vector<int> v(4);
    try {
      for (int i = 0; i < 4; ++i) v[i] = std::stoi(words[n - 4 + i]);
    } catch (...) {
      continue;
    }
    std::string key = words[0];
    for (size_t i = 1; i + 4 < n; ++i) key += " " + words[i];
    at.emplace(key, v);
  }
  return at;
}

std::string Point(int x, int y) {
  return std::to_string(x) + " " + std::to_string(y);
}
std::string Centre(const std::vector<int>& r) {
  return Point((r[0] + r[2]) / 2, (r[1] + r[3]) / 2);
}
// The key of the first rectangle whose key starts with the prefix, "" when none does.
std::string KeyStarting(const std::map<std::string, std::vector<int>>& rects, const std::string& prefix) {
  for (const auto& [key, rect] : rects)
    if (key.rfind(prefix, 0) == 0) return key;
  return "";
}

// The words of the log line that starts with the prefix, "" when none does.
std::string LineStarting(const std::vector<std::string>& log, const std::string& prefix) {
  for (const std::string& line : log)
    if (line.rfind(prefix, 0) == 0) return line.substr(prefix.size());
  return "";
}

// "l t r b ..." of a bar's end or start line.
std::vector<int> Numbers(const std::string& text) {
  std::istringstream in(text);
  std::vector<int> numbers;
  for (int n = 0; in >> n;) numbers.push_back(n);
  return numbers;
}

}  // namespace

TEST(DockingDemo, BarsSizeFloatRollAndComeBackAfterARestart) {
  ScratchDir folder;
  const std::string config = (folder / "config");
  std::filesystem::create_directories(config);
  ScopedEnv home("HOME", config.c_str());
  ScopedEnv xdg("XDG_CONFIG_HOME", config.c_str());
  const std::string resources = std::string(std::getenv("PICTAVO_BIN_DIR")) + "/resources";
  const auto run = [&](std::vector<std::string> args) {
    args.insert(args.begin(), DOCKING_DEMO);
    args.push_back("--resources");
    args.push_back(resources);
    return pictavo::test::Run(args);
  };

  const std::string layoutLog = (folder / "layout.log");
  ASSERT_TRUE(run({"--log", layoutLog, "--layout"}));
  std::map<std::string, std::vector<int>> rects = Rects(Lines(layoutLog));
  // The colour popup's red cell and its More Colors row, the drop-down bar's second item.
  const std::string red = KeyStarting(rects, "popup colour 255"), other = KeyStarting(rects, "popup other");
  const std::string dropItem = KeyStarting(rects, "drop 1 ");
  for (const std::string& key :
       {std::string("edge 1011"), std::string("button 1011 1"), std::string("button 1012 0"),
        std::string("caption 1010"), std::string("tool 1002 1"), std::string("tool 1002 2"),
        std::string("cell 14"), std::string("layout 1010"), std::string("menu 1"), std::string("menu 2"),
        std::string("menu 3"), std::string("strip"), std::string("screen effects"),
        std::string("screen drop 1"), std::string("layout 1002"), std::string("screen tree frame"), red,
        other, dropItem})
    ASSERT_TRUE(rects.count(key)) << "\"" << key << "\" in " << Lines(layoutLog).size() << " lines";
  std::map<std::string, std::string> at;
  for (const auto& [key, rect] : rects) at[key] = Centre(rect);
  const std::vector<int>& edge = rects["edge 1011"];
  const int edgeX = (edge[0] + edge[2]) / 2, edgeY = (edge[1] + edge[3]) / 2;
  const std::vector<int>& effects = rects["screen effects"];
  const std::vector<int>& treeFrame = rects["screen tree frame"];
  const std::vector<int>& treeDocked = rects["layout 1010"];
  const std::vector<int>& strip = rects["strip"];
  const std::string dropId = dropItem.substr(dropItem.rfind(' ') + 1);
  const std::vector<int>& toolbar = rects["layout 1002"];  // desktop
  const std::vector<int>& tool = rects["tool 1002 2"];     // the drop-down button, in the toolbar

  const std::string rolls = (folder / "roll-");
  const std::string animated = (folder / "animated");
  std::ostringstream script;
  script << "wait-window \"Docking Demo\"\n"
         << "wait-file \"" << rolls << "up-1\"\n"
         << Shot("01-start")
         // Tracks closed by its caption button; Ctrl+T brings it back.
         << "click " << kBottomDock << " " << at["button 1012 0"] << "\n"
         << Shot("02-closed") << "key Ctrl+T\n"
         << Shot("03-shown")
         // The splitter between the two lists, 80 pixels to the left.
         << "drag " << kBottomDock << " " << edgeX << " " << edgeY << " " << kBottomDock << " " << edgeX - 80
         << " " << edgeY << "\n"
         << Shot("04-splitter")
         // Photos expanded in its row and back.
         << "click " << kBottomDock << " " << at["button 1011 1"] << "\n"
         << Shot("05-expanded")
         // A click elsewhere first, so the second click is not taken for a double click.
         << "click " << kMdiClient << " 5 5\n"
         << "click " << kBottomDock << " " << at["button 1011 1"] << "\n"
         << Shot("06-restored")
         // A colour cell of the docked colour bar.
         << "click " << kColorBar << " " << at["cell 14"] << "\n"
         << Shot("07-colour")
         // Typed into the toolbar's edit box: its twin on the other bar follows.
         << "click " << kToolBar << " " << at["tool 1002 1"] << "\n"
         << "type Holiday\n"
         << "key Enter\n"
         << Shot("08-typed")
         // The status pane's animation runs.
         << "wait-file \"" << animated << "\"\n"
         << Shot("09-animated")
         // The tree floats on a double click on its caption, and docks again when its frame's
         // caption is dragged back to the frame's left edge.
         << "dblclick " << kLeftDock << " " << at["caption 1010"] << "\n"
         << Shot("10-tree-floating") << "drag-at " << Point(treeFrame[0] + 30, treeFrame[1] + 8) << " "
         << Point(treeDocked[0] + 4, treeDocked[1] + 100) << "\n"
         << Shot("11-tree-docked")
         // The rolled-up Effects bar unrolls with the pointer over its caption, rolls up once it
         // has gone.
         << "move-at " << Point(effects[0] + 30, (effects[1] + effects[3]) / 2) << "\n"
         << "wait-file \"" << rolls << "down-1\"\n"
         << Shot("12-unrolled") << "move-at 400 500\n"
         << "wait-file \"" << rolls
         << "up-2\"\n"
         // Edit torn off by its strip; the second try ends with Escape and leaves the menu open.
         << "click-at " << at["menu 1"] << "\n"
         << Shot("13-edit-menu") << "drag-at " << Point(strip[0], strip[1] + 2) << " 420 330\n"
         << Shot("14-torn-off") << "click-at " << at["menu 1"] << "\n"
         << "press-at " << Point(strip[0], strip[1] + 2) << "\n"
         << "move-at " << Point(strip[0] + 60, strip[1] + 120) << "\n"
         << "move-at " << Point(strip[0] + 200, strip[1] + 300) << "\n"
         << "key Escape\n"
         << "release-at " << Point(strip[0] + 200, strip[1] + 300) << "\n"
         << Shot("15-second-try-escaped")
         << "key Escape\n"
         // Two albums and a note (its window without a system menu); the view's context menu.
         << "key Ctrl+N\n"
         << "key Ctrl+N\n"
         << "key Ctrl+Shift+N\n"
         << Shot("16-children") << "rclick " << kMdiClient << " 60 40\n"
         << Shot("17-context-menu") << "key Down\n"
         << "key Enter\n"
         // Window > Windows: two children closed in the windows dialog.
         << "click-at " << at["menu 3"] << "\n"
         << Shot("18-window-menu") << "key Up\n"
         << "key Enter\n"
         << "wait-window Windows\n"
         << Shot("19-windows-dialog") << "click 16923 30 6\n"
         << "click 16922\n"
         << "click 16923 30 6\n"
         << "click 16922\n"
         << Shot("20-two-closed") << "click 1\n"
         << "wait-gone Windows\n"
         << "wait-window \"Docking Demo\"\n"
         // The dialog's colour button: its popup, More Colors cancelled, then red.
         << "key Ctrl+K\n"
         << "wait-window \"Album Colours\"\n"
         << "click 17150\n"
         << Shot("21-colour-popup") << "click-popup 1 " << at[other] << "\n"
         << "wait-window Colors\n"
         << Shot("22-more-colors") << "click 2\n"
         << "wait-window \"Album Colours\"\n"
         << "click 17150\n"
         << "click-popup 1 " << at[red] << "\n"
         << Shot("23-red") << "click 1\n"
         << "wait-window \"Docking Demo\"\n"
         // The drop-down button held until its bar shows, released on its second item after the
         // pause; a click then runs that item, the new default.
         << "press-at " << Point(toolbar[0] + tool[0] + (tool[2] - tool[0]) / 2, toolbar[1] + tool[1] + 10)
         << "\n"
         << "wait-file \"" << rolls << "drop-down-1\"\n"
         << Shot("24-drop-down-open") << "release-at " << at["screen drop 1"] << "\n"
         << Shot("25-drop-down-picked") << "click " << kToolBar << " " << at["tool 1002 2"] << "\n"
         << Shot("26-new-default")
         // The View menu.
         << "click-at " << at["menu 2"] << "\n"
         << Shot("27-view-menu") << "key Escape\n"
         << Shot("28-end");
  const std::string scriptPath = (folder / "docking.script");
  std::ofstream(scriptPath) << script.str();
  const std::string logPath = (folder / "docking.log");
  {
    ScopedEnv env("PICTAVO_SCRIPT", scriptPath.c_str());
    ASSERT_TRUE(run({"--log", logPath, "--rolls", rolls, "--animated", animated}));
  }
  const std::vector<std::string> log = Lines(logPath);
  std::string all;
  for (const std::string& l : log) all += l + "\n";
  const std::vector<int> photosStart = Numbers(LineStarting(log, "start bar 1011 "));
  const std::vector<int> photosEnd = Numbers(LineStarting(log, "end bar 1011 "));
  ASSERT_EQ(photosStart.size(), 4u) << all;
  ASSERT_EQ(photosEnd.size(), 4u) << all;
  EXPECT_LT(photosEnd[2] - photosEnd[0], photosStart[2] - photosStart[0])
      << "the splitter narrowed Photos: " << all;
  EXPECT_NE(LineStarting(log, "end bar 1012 ").find(" shown"), std::string::npos) << all;
  EXPECT_NE(LineStarting(log, "end bar 1011 ").find(" docked"), std::string::npos) << all;
  EXPECT_NE(all.find("tracks shown"), std::string::npos) << all;
  EXPECT_NE(all.find("rolled up-1"), std::string::npos) << "the floating bar rolls up by itself: " << all;
  EXPECT_NE(all.find("pane animated"), std::string::npos) << all;
  EXPECT_EQ(LineStarting(log, "end edit "), "Holiday | Holiday") << all;
  EXPECT_NE(LineStarting(log, "end colour "), LineStarting(log, "start colour ")) << all;
  EXPECT_NE(LineStarting(log, "end bar 1010 ").find(" docked"), std::string::npos) << "dragged back: " << all;
  EXPECT_NE(all.find("rolled down-1"), std::string::npos) << "unrolled over its caption: " << all;
  EXPECT_NE(LineStarting(log, "end torn Edit ").find(" floating"), std::string::npos) << all;
  EXPECT_EQ(all.find("end torn Edit", all.find("end torn Edit") + 1), std::string::npos)
      << "the second try left no bar: " << all;
  EXPECT_NE(all.find("edit command 17130"), std::string::npos) << "the context menu's Cut: " << all;
  EXPECT_NE(all.find("windows dialog closed"), std::string::npos) << all;
  EXPECT_NE(all.find("windows open 1"), std::string::npos) << "two of three closed: " << all;
  EXPECT_NE(all.find("colours dialog ok"), std::string::npos) << all;
  EXPECT_EQ(LineStarting(log, "end dialog colour "), "255") << "red: " << all;
  const size_t picked = all.find("picture command " + dropId);
  ASSERT_NE(picked, std::string::npos) << "released on the second item: " << all;
  EXPECT_NE(all.find("picture command " + dropId, picked + 1), std::string::npos)
      << "the new default: " << all;
  EXPECT_EQ(LineStarting(log, "end drop-down default "), dropId) << all;
  EXPECT_NE(all.find("workspace ok"), std::string::npos) << all;

  // The second run starts as the first one ended.
  const std::string rerunScript = (folder / "rerun.script");
  std::ofstream(rerunScript) << "wait-window \"Docking Demo\"\n" << Shot("29-rerun");
  const std::string rerunLog = (folder / "rerun.log");
  {
    ScopedEnv env("PICTAVO_SCRIPT", rerunScript.c_str());
    ASSERT_TRUE(run({"--log", rerunLog}));
  }
  const std::vector<std::string> again = Lines(rerunLog);
  for (const char* bar : {"bar 1010 ", "bar 1011 ", "bar 1012 ", "bar 1013 ", "colour ", "cells ", "find ",
                          "torn Edit ", "dialog colour ", "drop-down default "})
    EXPECT_EQ(LineStarting(again, std::string("start ") + bar), LineStarting(log, std::string("end ") + bar))
        << bar;
}
