// The toolbars as a user meets them: the demonstration frame on the headless display, driven by
// the input script, then started again to see what it kept.
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

struct Button {
  int bar = 0, index = 0, id = 0, left = 0, top = 0, right = 0, bottom = 0;
  bool hidden = false;
  int X() const { return (left + right) / 2; }
  int Y() const { return (top + bottom) / 2; }
};

struct Layout {
  std::vector<Button> buttons;
  std::map<int, std::string> bars;  // id -> the rest of its line
  std::string large;
  const Button* Find(int bar, int id) const {
    for (const Button& b : buttons)
      if (b.bar == bar && b.id == id) return &b;
    return nullptr;
  }
  std::vector<int> Ids(int bar) const {
    std::vector<int> ids;
    for (const Button& b : buttons)
      if (b.bar == bar) ids.push_back(b.id);
    return ids;
  }
};

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

Layout ReadLayout(const std::string& path) {
  Layout layout;
  for (const std::string& line : Lines(path)) {
    std::istringstream in(line);
    std::string word;
    in >> word;
    if (word == "button") {
      Button b;
      std::string flag;
      in >> b.bar >> b.index >> b.id >> b.left >> b.top >> b.right >> b.bottom >> flag;
      b.hidden = flag == "hidden";
      layout.buttons.push_back(b);
    } else if (word == "bar") {
      int id = 0;
      in >> id;
      std::getline(in >> std::ws, layout.bars[id]);
    } else if (word == "large") {
      in >> layout.large;
    }
  }
  return layout;
}

std::string Resources() {
  return std::string(std::getenv("PICTAVO_BIN_DIR")) + "/resources";
}

bool RunLayout(const std::string& log) {
  return pictavo::test::Run({TOOLBAR_DEMO, "--log", log, "--resources", Resources(), "--layout"});
}

std::string Shot(const char* name, bool window = true) {
  return "snapshot \"" + pictavo::test::SnapshotPath(std::string("toolbar-demo-") + name + ".png") + "\"" +
         (window ? " \"Toolbar Demo\"" : "") + "\n";
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
  for (const std::string& l : lines)
    if (l == line) return true;
  return false;
}

}  // namespace

TEST(ToolbarDemo, PressesChecksWrapsAndKeepsTheBarsAsLeft) {
  ScratchDir folder;
  const std::string config = (folder / "config");
  std::filesystem::create_directories(config);
  ScopedEnv home("HOME", config.c_str());
  ScopedEnv xdg("XDG_CONFIG_HOME", config.c_str());

  const std::string firstLayout = (folder / "layout1.log");
  ASSERT_TRUE(RunLayout(firstLayout));
  Layout start = ReadLayout(firstLayout);
  const Button* open = start.Find(1001, 57601);
  const Button* save = start.Find(1001, 57603);
  const Button* exposure = start.Find(1001, 32857);
  ASSERT_TRUE(open && save && exposure);
  ASSERT_EQ(start.Ids(1002).size(), 18u) << "the locked bar holds the context images' commands";
  const auto top = [](const std::string& bar) {
    std::istringstream in(bar);
    int left = 0, top = 0;
    in >> left >> top;
    return top;
  };
  EXPECT_EQ(top(start.bars[1001]), top(start.bars[1002])) << "both bars share the first row";

  std::ostringstream script;
  script << "wait-window \"Toolbar Demo\"\n"
         << Shot("1-start") << "move 1001 " << open->X() << " " << open->Y() << "\n"
         << Shot("2-hover-open", false) << "click 1001 " << save->X() << " " << save->Y() << "\n"
         << Shot("3-saved") << "click 1001 " << exposure->X() << " " << exposure->Y() << "\n"
         << "move 59648 20 20\n"
         << Shot("4-checked") << "key Ctrl+W\n"
         << Shot("5-narrow") << "key Ctrl+L\n"
         << Shot("6-large-icons") << "key Ctrl+T\n"
         << Shot("7-text-labels") << "key Ctrl+F\n"
         << Shot("8-floating", false) << "key Ctrl+D\n"
         << Shot("9-docked-again");
  const std::string scriptPath = (folder / "demo.script");
  std::ofstream(scriptPath) << script.str();
  const std::string logPath = (folder / "demo.log");
  {
    ScopedEnv env("PICTAVO_SCRIPT", scriptPath.c_str());
    ASSERT_TRUE(pictavo::test::Run({TOOLBAR_DEMO, "--log", logPath, "--resources", Resources()}));
  }
  const std::vector<std::string> log = Lines(logPath);
  std::string all;
  for (const std::string& l : log) all += l + "\n";
  EXPECT_TRUE(Has(log, "command 57603 Save")) << all;
  EXPECT_TRUE(Has(log, "command 32857 Auto Exposure")) << all;
  EXPECT_TRUE(Has(log, "save 1001 ok")) << all;
  EXPECT_TRUE(Has(log, "save 1002 ok")) << all;
  EXPECT_TRUE(Has(log, "workspace ok")) << all;
  Layout left = ReadLayout(logPath);
  EXPECT_EQ(left.large, "1");
  EXPECT_NE(left.bars[1001].find("labels 1"), std::string::npos) << all;

  // Started again with the same configuration: large icons and labels as left.
  const std::string again = (folder / "layout2.log");
  ASSERT_TRUE(RunLayout(again));
  Layout kept = ReadLayout(again);
  EXPECT_EQ(kept.large, "1");
  EXPECT_NE(kept.bars[1001].find("labels 1"), std::string::npos);
  EXPECT_EQ(kept.Ids(1001), start.Ids(1001));
  EXPECT_EQ(kept.Ids(1002), start.Ids(1002));

  // Without the registry file: the resources' layout.
  std::filesystem::remove(std::filesystem::path(config) / "pictavo" / "current_user.reg");
  const std::string fresh = (folder / "layout3.log");
  ASSERT_TRUE(RunLayout(fresh));
  Layout reset = ReadLayout(fresh);
  EXPECT_EQ(reset.large, "0");
  EXPECT_NE(reset.bars[1001].find("labels 0"), std::string::npos);
  EXPECT_EQ(reset.Ids(1001), start.Ids(1001));
  const Button* openAgain = reset.Find(1001, 57601);
  ASSERT_NE(openAgain, nullptr);
  EXPECT_EQ(openAgain->right - openAgain->left, open->right - open->left);
}
