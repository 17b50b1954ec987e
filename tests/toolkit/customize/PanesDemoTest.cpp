// The document tabs and the customize panes as a user meets them: the panes demonstration's MDI
// frame on the headless display, driven by the input script with a snapshot per step, its log
// showing what the tabs, the editable list, the menu button, the sheet's tree, the colour dialog
// and the panes did.
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

constexpr int kFirstBar = 16810, kTabs = 16812, kScrollRight = 16813, kList = 16814, kMenuButton = 16815;
constexpr int kHexagon = 16974, kGreys = 16972, kLuminance = 16973, kPick = 17038;
constexpr int kRed = 16964, kGreen = 16965, kBlue = 16966;
constexpr int kSheetTree = 101;
constexpr int kOutlook = 16850, kTasks = 16870;

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Shot(const char* name) {
  return "snapshot \"" + pictavo::test::SnapshotPath(std::string("panes-demo-") + name + ".png") + "\"\n";
}

// The rectangles the --layout run wrote ("<what...> l t r b"), by "<what...>".
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
    at[key] = v;
  }
  return at;
}

std::string Centre(const std::vector<int>& r) {
  return std::to_string((r[0] + r[2]) / 2) + " " + std::to_string((r[1] + r[3]) / 2);
}

int Middle(const std::vector<int>& r) {
  return (r[1] + r[3]) / 2;
}

std::string LineStarting(const std::vector<std::string>& log, const std::string& prefix) {
  for (const std::string& line : log)
    if (line.rfind(prefix, 0) == 0) return line.substr(prefix.size());
  return "";
}

// Every line that starts with the prefix, in order.
std::vector<std::string> LinesStarting(const std::vector<std::string>& log, const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& line : log)
    if (line.rfind(prefix, 0) == 0) found.push_back(line.substr(prefix.size()));
  return found;
}

// Selects an edit's text and types over it.
std::string Retype(int id, const char* text) {
  return "click " + std::to_string(id) + "\nkey Home\nkey Shift+End\ntype " + text + "\n";
}

}  // namespace

TEST(PanesDemo, TabsListsMenusSheetColoursAndPanes) {
  ScratchDir folder;
  const std::string config = (folder / "config");
  std::filesystem::create_directories(config);
  ScopedEnv home("HOME", config.c_str());
  ScopedEnv xdg("XDG_CONFIG_HOME", config.c_str());
  const std::string resources = std::string(std::getenv("PICTAVO_BIN_DIR")) + "/resources";
  const auto run = [&](std::vector<std::string> args) {
    args.insert(args.begin(), PANES_DEMO);
    args.push_back("--resources");
    args.push_back(resources);
    return pictavo::test::Run(args);
  };

  const std::string layoutLog = (folder / "layout.log");
  ASSERT_TRUE(run({"--log", layoutLog, "--layout"}));
  std::map<std::string, std::vector<int>> at = Rects(Lines(layoutLog));
  for (const char* key : {"tab 0", "tab 1", "tab 2", "button 16810", "list item 0", "other 1",
                          "hexagon 0 0 255", "grey 8", "luminance", "scroll clicks", "outlook down",
                          "outlook music", "music shortcut 12", "outlook splitter", "tasks task 1 0",
                          "tasks group 0", "tasks tool 0", "tasks arrow 17016", "tasks tool 17017"})
    ASSERT_TRUE(at.count(key)) << key;
  const std::vector<int>& tab1 = at["tab 1"];
  const std::vector<int>& tab2 = at["tab 2"];
  const std::vector<int>& colour = at["button 16810"];
  const std::vector<int>& bar = at["luminance"];
  const int clicks = at["scroll clicks"][0];
  ASSERT_GT(clicks, 2) << "twelve tabs overflow the row";

  std::ostringstream script;
  script << "wait-window \"Panes Demo\"\n"
         << Shot("01-start")
         // Document tabs: a click, Ctrl+Page Down, the first tab dragged behind the last, the
         // second (now first) renamed by a double click.
         << "click " << kTabs << " " << at["tab 0"][0] + 8 << " " << Middle(at["tab 0"]) << "\n"
         << Shot("02-tab-clicked") << "key Ctrl+PageDown\n"
         << Shot("03-ctrl-page-down") << "drag " << kTabs << " " << at["tab 0"][2] - 8 << " "
         << Middle(at["tab 0"]) << " " << kTabs << " " << tab2[2] - 6 << " " << Middle(tab2) << "\n"
         << Shot("04-dragged-last") << "dblclick " << kTabs << " "
         << tab1[0] - at["tab 0"][2] + at["tab 0"][0] + 30 << " " << (tab1[1] + tab1[3]) / 2 << "\n"
         << Shot("05-renaming") << "type Beach album\nkey Enter\n"
         << Shot("06-renamed")
         // The controls child (the last tab now): the editable list's keys.
         << "key Ctrl+PageUp\n"
         << "click " << kList << " " << Centre(at["list item 0"]) << "\n"
         << "key Insert\ntype Lagoon\n"
         << Shot("07-list-new") << "key Enter\n"
         << "key F2\ntype Reef\nkey Enter\n"
         << "key Alt+Up\n"
         << Shot("08-list-moved") << "key Delete\n"
         << "key Insert\ntype Gone\nkey Escape\n"
         << Shot("09-list-escaped")
         // The menu button: clicked open and shut, then opened by Down and a command chosen.
         << "click " << kMenuButton << "\n"
         << Shot("10-menu-button") << "key Escape\n"
         << "key Down\nkey Down\n"
         << Shot("11-menu-by-keys")
         << "key Enter\n"
         // The options sheet through its tree.
         << "key Ctrl+P\nwait-window \"Options\"\n"
         << "click-item " << kSheetTree << " Sound\n"
         << Shot("12-sheet-sound") << "click-item " << kSheetTree << " Advanced\n"
         << Shot("13-sheet-advanced")
         << "click 1\nwait-window \"Panes Demo\"\n"
         // The colour button: Other..., a hexagon cell, a grey, RGB 128 0 0, the luminance bar, a
         // red window picked from the screen, Ctrl+C, OK.
         << "click " << kFirstBar << " " << colour[2] - 4 << " " << (colour[1] + colour[3]) / 2 << "\n"
         << "wait-window \"Demo popup\"\n"
         << Shot("14-colour-popup") << "click 1 " << Centre(at["other 1"]) << "\n"
         << "wait-window \"Colors\"\n"
         << Shot("15-colour-dialog") << "click " << kHexagon << " " << Centre(at["hexagon 0 0 255"]) << "\n"
         << Shot("16-hexagon") << "click " << kGreys << " " << Centre(at["grey 8"]) << "\n"
         << Shot("17-grey") << "key Ctrl+PageDown\n"
         << Retype(kRed, "128") << Retype(kGreen, "0") << Retype(kBlue, "0") << Shot("18-rgb-128-0-0")
         << "drag " << kLuminance << " " << (bar[0] + bar[2]) / 2 << " " << bar[3] * 3 / 4 << " "
         << kLuminance << " " << (bar[0] + bar[2]) / 2 << " " << bar[3] / 4 << "\n"
         << Shot("19-luminance") << "click " << kPick << "\n"
         << "click-at 1180 90\n"
         << Shot("20-picked") << "key Ctrl+C\n"
         << "click 1\nwait-window \"Panes Demo\"\n"
         << Shot("21-strips-red")
         // Twelve children: back to the first tab, then Scroll Right until it gives out.
         << "key Ctrl+T\n"
         << Shot("22-twelve") << "key Ctrl+PageDown\n";
  // Clicks a few pixels apart: two at one spot in quick succession would make a double click.
  for (int i = 0; i < clicks; ++i) script << "click " << kScrollRight << (i % 2 ? " 3 7" : " 10 7") << "\n";
  script << "wait-disabled " << kScrollRight << " 5\n"
         << Shot("23-scrolled-right")
         // The outlook bar: scrolled down one, the other page, a shortcut there, the splitter
         // dragged 60 pixels outwards.
         << "click " << kOutlook << " " << Centre(at["outlook down"]) << "\n"
         << Shot("24-outlook-scrolled") << "click " << kOutlook << " " << Centre(at["outlook music"]) << "\n"
         << Shot("25-outlook-music") << "click " << kOutlook << " " << Centre(at["music shortcut 12"])
         << "\n"
         // The splitter dragged 60 pixels into the document tabs' window beside the bar.
         << "drag " << kOutlook << " " << Centre(at["outlook splitter"]) << " " << kTabs << " 60 "
         << Middle(at["outlook splitter"]) << "\n"
         << Shot("26-outlook-wider")
         // The tasks pane: a link, a group collapsed, pages 2 and 3 from the pages menu, back two
         // steps by the Back drop-down, Forward.
         << "click " << kTasks << " " << Centre(at["tasks task 1 0"]) << "\n"
         << "click " << kTasks << " " << Centre(at["tasks group 0"]) << "\n"
         << Shot("27-tasks-collapsed") << "click " << kTasks << " " << Centre(at["tasks tool 0"]) << "\n"
         << "wait-window \"Demo popup\"\n"
         << "key Down\nkey Down\n"
         << Shot("28-tasks-pages-menu") << "key Enter\nwait-window \"Panes Demo\"\n"
         << "click " << kTasks << " " << Centre(at["tasks tool 0"]) << "\n"
         << "wait-window \"Demo popup\"\n"
         << "key Down\nkey Down\nkey Down\nkey Enter\nwait-window \"Panes Demo\"\n"
         << Shot("29-tasks-page-3") << "click " << kTasks << " " << Centre(at["tasks arrow 17016"]) << "\n"
         << "wait-window \"Demo popup\"\n"
         << "key Down\nkey Down\n"
         << Shot("30-tasks-back-list") << "key Enter\nwait-window \"Panes Demo\"\n"
         << Shot("31-tasks-back-to-1") << "click " << kTasks << " " << Centre(at["tasks tool 17017"]) << "\n"
         << Shot("32-tasks-forward");
  const std::string scriptPath = (folder / "panes.script");
  std::ofstream(scriptPath) << script.str();
  // Beside the snapshots, for whoever looks at them.
  std::ofstream(pictavo::test::SnapshotPath("panes-demo.script")) << script.str();
  const std::string logPath = (folder / "panes.log");
  {
    ScopedEnv env("PICTAVO_SCRIPT", scriptPath.c_str());
    EXPECT_TRUE(run({"--log", logPath}));
  }
  const std::vector<std::string> log = Lines(logPath);
  std::string all;
  for (const std::string& l : log) all += l + "\n";

  // The tabs.
  // Clicked, Ctrl+Page Down, pressed to drag, double-clicked to rename, Ctrl+Page Up (wrapping to
  // the last), Ctrl+Page Down among twelve (wrapping to the first).
  EXPECT_EQ(LinesStarting(log, "active tab "),
            (std::vector<std::string>{"0 Controls", "1 Holiday album 1", "0 Controls", "0 Holiday album 1",
                                      "2 Controls", "0 Beach album"}))
      << all;
  EXPECT_EQ(LineStarting(log, "moved tab "), "0 to 3") << all;
  EXPECT_EQ(LineStarting(log, "renamed tab "), "0 Beach album") << all;
  // The list.
  EXPECT_EQ(LinesStarting(log, "list "),
            (std::vector<std::string>{"added 3 Lagoon", "renamed 3 Reef", "up 2 Reef", "delete 2 Reef"}))
      << all;
  EXPECT_EQ(LineStarting(log, "end list "), "Beach|Harbour|Sunset")
      << "Escape dropped the new entry: " << all;
  // The menu button and the sheet.
  EXPECT_EQ(LineStarting(log, "menu button chose "), "16830") << all;
  EXPECT_EQ(LinesStarting(log, "sheet page "), (std::vector<std::string>{"Display", "Sound", "Proxy"}))
      << all;
  EXPECT_EQ(LineStarting(log, "options sheet "), "ok") << all;
  // The colour dialog's steps.
  // What the pages showed after each change: the hexagon's blue, a grey, RGB 128 0 0 typed with
  // its HLS, a lighter dark red from the luminance bar, the picked red; in this order.
  const std::vector<std::string> colours = LinesStarting(log, "colour dialog new ");
  const auto find = [&](const auto& matches, size_t from) {
    for (size_t i = from; i < colours.size(); ++i)
      if (matches(colours[i])) return i;
    return colours.size();
  };
  const auto starts = [](const std::string& prefix) {
    return [prefix](const std::string& line) { return line.rfind(prefix, 0) == 0; };
  };
  const size_t blue = find(starts("0 0 255 "), 0);
  const size_t grey = find(
      [](const std::string& line) {
        std::istringstream in(line);
        int r = -1, g = -2, b = -3;
        in >> r >> g >> b;
        return r == g && g == b && r > 0 && r < 255;
      },
      blue);
  const size_t typed = find(starts("128 0 0 rgb 128 0 0 hls 0 64 255"), grey);
  const size_t lighter = find(
      [](const std::string& line) {
        std::istringstream in(line);
        int r = 0, g = 0, b = 0;
        in >> r >> g >> b;
        return r > 128 && g == b && line.find("hls 0 ") != std::string::npos;
      },
      typed);
  const size_t picked = find(starts("255 0 0 rgb 255 0 0 hls 0 128 255"), lighter);
  EXPECT_LT(picked, colours.size()) << "blue " << blue << ", grey " << grey << ", typed " << typed
                                    << ", lighter " << lighter << ": " << all;
  EXPECT_EQ(LineStarting(log, "colour dialog ok "), "255 0 0") << all;
  EXPECT_EQ(LineStarting(log, "end strips "), "255 0 0 | 255 0 0") << "both strips red: " << all;
  EXPECT_EQ(LineStarting(log, "clipboard "), "RGB (255, 0, 0)") << all;
  // The outlook bar and the tasks pane.
  EXPECT_EQ(LinesStarting(log, "outlook first "), (std::vector<std::string>{"1", "0"}))
      << "scrolled by one, then the other page starts at its top: " << all;
  EXPECT_EQ(LinesStarting(log, "outlook page "), (std::vector<std::string>{"Albums", "Music"})) << all;
  EXPECT_EQ(LinesStarting(log, "shortcut "), (std::vector<std::string>{"12"})) << all;
  EXPECT_GE(std::atoi(LineStarting(log, "end outlook width ").c_str()), 185)
      << "the splitter widened the bar by about 60 pixels: " << all;
  EXPECT_EQ(LinesStarting(log, "task "), (std::vector<std::string>{"2"})) << all;
  EXPECT_EQ(LinesStarting(log, "tasks page "), (std::vector<std::string>{"1", "2", "0", "1"})) << all;
  EXPECT_EQ(LineStarting(log, "end tasks page "), "1 history 1/3") << all;
  EXPECT_EQ(LineStarting(log, "end tasks groups "), "-+++") << all;
  EXPECT_EQ(LineStarting(log, "children "), "3 tabs") << all;
  EXPECT_NE(all.find("children 12 tabs"), std::string::npos) << all;
  EXPECT_NE(all.find("closed"), std::string::npos) << all;
}
