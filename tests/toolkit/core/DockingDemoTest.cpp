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

// The centres of the rectangles the --layout run wrote ("<what> <id> [<index>] l t r b"), by
// "<what> <id> [<index>]"; "<what> <id> [<index>] left" etc. give single sides.
std::map<std::string, std::string> Centres(const std::vector<std::string>& lines) {
  std::map<std::string, std::string> at;
  for (const std::string& line : lines) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    if (words.size() < 5) continue;
    const size_t n = words.size();
    int v[4];
    try {
      for (int i = 0; i < 4; ++i) v[i] = std::stoi(words[n - 4 + i]);
    } catch (...) {
      continue;
    }
    std::string key = words[0];
    for (size_t i = 1; i + 4 < n; ++i) key += " " + words[i];
    at[key] = std::to_string((v[0] + v[2]) / 2) + " " + std::to_string((v[1] + v[3]) / 2);
  }
  return at;
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
  std::map<std::string, std::string> at = Centres(Lines(layoutLog));
  for (const char* key : {"edge 1011", "button 1011 1", "button 1012 0", "caption 1010", "floating frame",
                          "tool 1002 1", "cell 14", "layout 1011"})
    ASSERT_TRUE(at.count(key)) << key;
  std::istringstream edge(at["edge 1011"]);
  int edgeX = 0, edgeY = 0;
  edge >> edgeX >> edgeY;

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
         << Shot("05b-restored")
         // A colour cell of the docked colour bar.
         << "click " << kColorBar << " " << at["cell 14"] << "\n"
         << Shot("08-colour")
         // Typed into the toolbar's edit box: its twin on the other bar follows.
         << "click " << kToolBar << " " << at["tool 1002 1"] << "\n"
         << "type Holiday\n"
         << "key Enter\n"
         << Shot("09-typed")
         // The status pane's animation runs.
         << "wait-file \"" << animated << "\"\n"
         << Shot("10-animated")
         // The tree floats on a double click on its caption.
         << "dblclick " << kLeftDock << " " << at["caption 1010"] << "\n"
         << Shot("11-tree-floating");
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
  EXPECT_NE(LineStarting(log, "end bar 1010 ").find(" floating"), std::string::npos) << all;
  EXPECT_NE(all.find("workspace ok"), std::string::npos) << all;

  // The second run starts as the first one ended.
  const std::string rerunScript = (folder / "rerun.script");
  std::ofstream(rerunScript) << "wait-window \"Docking Demo\"\n" << Shot("12-rerun");
  const std::string rerunLog = (folder / "rerun.log");
  {
    ScopedEnv env("PICTAVO_SCRIPT", rerunScript.c_str());
    ASSERT_TRUE(run({"--log", rerunLog}));
  }
  const std::vector<std::string> again = Lines(rerunLog);
  for (const char* bar : {"bar 1010 ", "bar 1011 ", "bar 1012 ", "colour ", "cells "})
    EXPECT_EQ(LineStarting(again, std::string("start ") + bar), LineStarting(log, std::string("end ") + bar))
        << bar;
}
