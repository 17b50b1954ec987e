// The menus as a user meets them: the menu demonstration's MDI frame on the headless display,
// driven by the input script with a snapshot per step, its log showing the commands that ran; then
// a second run that finds the menus, the toolbar and the frame's placement as the first one left
// them.
#include <gtest/gtest.h>

#include <cstdlib>
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

constexpr int kMenuBar = 0xE81A;  // the menu bar's control id
constexpr int kToolBar = 1002;
constexpr int kPopupBar = 1;  // the bar inside a popup menu

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

// The centre of a rectangle the --layout run wrote ("<phase> <what> <index> l t r b ..."), by
// "<phase> <what> <index>".
std::map<std::string, std::string> Centres(const std::vector<std::string>& lines) {
  std::map<std::string, std::string> centres;
  for (const std::string& line : lines) {
    std::istringstream in(line);
    std::string phase, what;
    int index = 0, l = 0, t = 0, r = 0, b = 0;
    if (in >> phase >> what >> index >> l >> t >> r >> b)
      centres[phase + " " + what + " " + std::to_string(index)] =
          std::to_string((l + r) / 2) + " " + std::to_string((t + b) / 2);
  }
  return centres;
}

// The line of the log that starts with the prefix, "" when none does.
std::string LineStarting(const std::vector<std::string>& log, const std::string& prefix) {
  for (const std::string& line : log)
    if (line.rfind(prefix, 0) == 0) return line.substr(prefix.size());
  return "";
}

}  // namespace

TEST(MenuDemo, MenusChildrenChevronAndCustomizingSurviveARestart) {
  ScratchDir folder;
  const std::string config = (folder / "config");
  std::filesystem::create_directories(config);
  ScopedEnv home("HOME", config.c_str());
  ScopedEnv xdg("XDG_CONFIG_HOME", config.c_str());

  // Use counts: the File and Edit commands and two Tools commands are used often; the other
  // Tools commands are rare and wait behind the show-all item.
  const std::string usage = (folder / "usage.txt");
  std::ofstream(usage) << "40301 20\n40302 20\n40001 8\n40002 8\n40004 8\n40201 8\n40202 8\n40203 8\n"
                       << "40204 8\n40205 8\n40206 8\n40011 8\n40012 8\n";
  const std::vector<std::string> common = {"--resources", Resources(), "--usage", usage, "--animation", "0"};
  const auto run = [&](std::vector<std::string> args) {
    args.insert(args.begin(), MENU_DEMO);
    args.insert(args.end(), common.begin(), common.end());
    return pictavo::test::Run(args);
  };

  const std::string layoutLog = (folder / "layout.log");
  ASSERT_TRUE(run({"--log", layoutLog, "--layout"}));
  std::map<std::string, std::string> at = Centres(Lines(layoutLog));
  for (const char* key : {"normal item 4", "tools row 2", "maximized item 7", "narrow button 16"})
    ASSERT_TRUE(at.count(key)) << key;

  std::ostringstream script;
  script << "wait-window \"Menu Demo\"\n"
         << Shot("01-start")
         // Menus open by click and follow the pointer; Right opens a sub-menu.
         << "click " << kMenuBar << " " << at["normal item 0"] << "\n"
         << Shot("02-file") << "move " << kMenuBar << " " << at["normal item 1"] << "\n"
         << Shot("03-edit") << "key Escape\nkey Escape\n"
         << "click " << kMenuBar << " " << at["normal item 0"] << "\n"
         << "key Down\nkey Down\nkey Down\nkey Right\n"
         << Shot("04-sub-menu") << "key Escape\nkey Escape\n"
         << Shot("05-closed")
         // Alt+E opens Edit; F10, Right, Down and Enter run its first command.
         << "key Alt+E\n"
         << Shot("06-alt-e") << "key Escape\nkey Escape\n"
         << "key F10\n"
         << Shot("07-f10") << "key Right\nkey Down\n"
         << Shot("08-edit-by-keys")
         << "key Enter\nkey Escape\n"
         // Tools with the fixture's counts: two frequent commands and the show-all item, clicked.
         << "click " << kMenuBar << " " << at["normal item 2"] << "\n"
         << Shot("09-tools-short") << "wait-window \"Demo menu\"\n"
         << "click " << kPopupBar << " " << at["tools row 2"] << "\n"
         << "wait-window \"Menu Demo\"\n"
         << Shot("10-tools-all")
         << "key Escape\n"
         // Sixty slides scroll.
         << "click " << kMenuBar << " " << at["normal item 3"] << "\n"
         << Shot("11-slides") << "key End\n"
         << Shot("12-slides-end")
         << "key Escape\n"
         // Two documents of two kinds; the second maximized and restored from the bar.
         << "key Ctrl+N\n"
         << Shot("13-album") << "key Ctrl+M\n"
         << Shot("14-track") << "key Ctrl+G\n"
         << Shot("15-maximized") << "click " << kMenuBar << " " << at["maximized item 7"] << "\n"
         << Shot("16-restored")
         // A narrow frame: a hidden button runs from the chevron, another is hidden by
         // add-or-remove.
         << "key Ctrl+W\n"
         << Shot("17-narrow") << "click " << kToolBar << " " << at["narrow button 16"] << "\n"
         << Shot("18-chevron") << "key Down\nkey Enter\n"
         << "click " << kToolBar << " " << at["narrow button 16"] << "\n"
         << "key End\nkey Right\n"
         << Shot("19-add-remove") << "key Right\n"
         << Shot("20-add-remove-list") << "key Enter\n"
         << Shot("21-hidden")
         << "key Escape\nkey Escape\nkey Escape\n"
         // Customize mode: the Tools menu copied onto the toolbar, Slides moved to the front.
         << "key Ctrl+D\n"
         << "key Ctrl+K\n"
         << "drag " << kMenuBar << " " << at["normal item 2"] << " " << kToolBar << " "
         << at["normal button 1"] << " Ctrl\n"
         << "drag " << kMenuBar << " " << at["normal item 3"] << " " << kMenuBar << " 3 9\n"
         << Shot("22-customized") << "key Ctrl+K\n"
         << Shot("23-end");
  const std::string scriptPath = (folder / "menus.script");
  std::ofstream(scriptPath) << script.str();
  const std::string logPath = (folder / "menus.log");
  {
    ScopedEnv env("PICTAVO_SCRIPT", scriptPath.c_str());
    ASSERT_TRUE(run({"--log", logPath}));
  }
  const std::vector<std::string> log = Lines(logPath);
  std::string all;
  for (const std::string& l : log) all += l + "\n";
  std::vector<std::string> commands;
  for (const std::string& l : log)
    if (l.rfind("command ", 0) == 0) commands.push_back(l);
  // Undo by the keys, then the chevron's first hidden button.
  EXPECT_EQ(commands, (std::vector<std::string>{"command 40201", "command 32852"})) << all;
  EXPECT_NE(all.find("popup 2 items"), std::string::npos) << all;
  EXPECT_NE(all.find("popup 60 items"), std::string::npos) << all;
  EXPECT_NE(all.find("opened Album1"), std::string::npos) << all;
  EXPECT_NE(all.find("opened Track1"), std::string::npos) << all;
  EXPECT_NE(all.find("child maximized"), std::string::npos) << all;
  EXPECT_NE(all.find("child restored"), std::string::npos) << all;
  EXPECT_NE(all.find("save menus ok"), std::string::npos) << all;
  EXPECT_NE(all.find("save toolbar ok"), std::string::npos) << all;
  EXPECT_NE(all.find("closed"), std::string::npos) << all;
  const std::string endMenu = LineStarting(log, "end menu");
  const std::string endToolbar = LineStarting(log, "end toolbar");
  const std::string endPlacement = LineStarting(log, "end placement");
  EXPECT_EQ(endMenu, " &Slides &File &Edit &Tools &Window") << all;
  EXPECT_EQ(LineStarting(log, "end title "), "Menu Demo") << "no document named once all closed: " << all;
  EXPECT_NE(endToolbar.find(" 0 "), std::string::npos) << "the Tools menu on the toolbar: " << all;
  EXPECT_NE((endToolbar + " ").find(" -57600 "), std::string::npos)
      << "New Project hidden by add-or-remove: " << all;

  // The second run starts as the first one ended.
  const std::string rerunScript = (folder / "rerun.script");
  std::ofstream(rerunScript) << "wait-window \"Menu Demo\"\n" << Shot("24-rerun");
  const std::string rerunLog = (folder / "rerun.log");
  {
    ScopedEnv env("PICTAVO_SCRIPT", rerunScript.c_str());
    ASSERT_TRUE(run({"--log", rerunLog}));
  }
  const std::vector<std::string> again = Lines(rerunLog);
  EXPECT_EQ(LineStarting(again, "start menu"), endMenu);
  EXPECT_EQ(LineStarting(again, "start toolbar"), endToolbar);
  EXPECT_EQ(LineStarting(again, "start placement"), endPlacement);
}
