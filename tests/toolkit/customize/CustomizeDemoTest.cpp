// The customize sheet as a user meets it: the demonstration frame on the headless display, driven
// by the input script with a snapshot per step. Commands are dragged onto bars and menus, bars
// hidden and made, shortcuts assigned, menus edited and reset, a double-click command, large
// icons, a user tool set up and a button image drawn; then the shortcut and the tool run, and a
// second start finds all of it as the first one left it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/PngPicture.h"
#include "tests/support/Programs.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/Snapshot.h"

namespace {

using pictavo::test::ScopedEnv;
using pictavo::test::ScratchDir;

// Controls of the sheet's pages and dialogs the script clicks.
constexpr int kCategories = 16601, kCommands = 16602;                             // commands page
constexpr int kToolbarList = 16611, kNewToolbar = 16615, kRenameToolbar = 16616;  // toolbars page
constexpr int kKeyCategory = 16601, kKeyCommands = 16641, kAccelTable = 16642, kNewKey = 16644,
              kAssign = 16645;  // keyboard page
constexpr int kFrameMenus = 16621, kContextMenus = 16622, kResetContext = 16623, kContextHint = 16519;
constexpr int kViews = 16631, kUseDblClick = 16633, kDblClickCommands = 16634;  // mouse page
constexpr int kLargeIcons = 16653;                                              // options page
constexpr int kToolList = 16921, kToolArguments = 16924;                        // user tools page
constexpr int kTextAndImage = 16507, kUserImage = 16529, kNewImage = 16509;     // appearance
constexpr int kDrawArea = 16513;                                                // image editor
constexpr int kStandardBar = 0xE820, kFirstUserBar = 0xE830, kView = 0xE900, kPopupBar = 1;

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
  return "snapshot \"" + pictavo::test::SnapshotPath(std::string("customize-demo-") + name + ".png") + "\"\n";
}

// The lines that start with the prefix, the prefix taken off.
std::vector<std::string> Starting(const std::vector<std::string>& log, const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& line : log)
    if (line.rfind(prefix, 0) == 0) found.push_back(line.substr(prefix.size()));
  return found;
}

bool Has(const std::vector<std::string>& log, const std::string& line) {
  return std::find(log.begin(), log.end(), line) != log.end();
}

}  // namespace

TEST(CustomizeDemo, TheSheetsChangesApplyAtOnceRunAndSurviveARestart) {
  ScratchDir folder;
  const std::string config = folder / "config";
  std::filesystem::create_directories(config);
  ScopedEnv home("HOME", config.c_str());
  ScopedEnv xdg("XDG_CONFIG_HOME", config.c_str());

  // The user's tool: writes each argument it gets on a line of its own, then renames the file
  // into place, so that the file's existence means it is whole.
  const std::string tool = folder / "tool.sh";
  const std::string args = folder / "args.txt";
  std::ofstream(tool) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" << args << ".tmp' && mv '" << args
                      << ".tmp' '" << args << "'\n";
  std::filesystem::permissions(tool, std::filesystem::perms::owner_all);

  std::ostringstream script;
  script << "wait-window \"Customize Demo\"\n"
         << Shot("01-start") << "key F2\nwait-window \"Customize\"\n"
         << Shot("02-sheet")
         // Commands: Edit, then its second command, Copy, dragged to the front of Standard.
         << "click " << kCategories << " 50 22\n"
         << "drag " << kCommands << " 60 31 " << kStandardBar << " 12 10\n"
         << Shot("03-copy-on-standard")
         // Toolbars: Standard hidden by its box; the locked bar's box only beeps; a new bar, renamed.
         << "key Ctrl+Tab\nwait-window \"Customize\"\n"
         << "click " << kToolbarList << " 9 22\n"
         << "click " << kToolbarList << " 9 37\n"
         << Shot("04-standard-hidden") << "click " << kNewToolbar << "\nwait-window \"Toolbar Name\"\n"
         << "type Extras\n"
         << Shot("05-new-toolbar") << "key Enter\nwait-window \"Customize\"\n"
         << "click " << kRenameToolbar << "\nwait-window \"Toolbar Name\"\n"
         << "key Ctrl+A\ntype My Picks\nkey Enter\nwait-window \"Customize\"\n"
         << Shot("06-renamed")
         // Keyboard: Copy gets Ctrl+Shift+K, free until then; Ctrl+N names its owner and Assign
         // stays off; then the picture document's table, where Ctrl+N is taken too.
         << "key Ctrl+Tab\nkey Ctrl+Tab\nwait-window \"Customize\"\n"
         << "click " << kKeyCategory << "\nkey Down\nkey Enter\n"
         << "click " << kKeyCommands << " 40 22\n"
         << "click " << kNewKey << "\nkey Ctrl+Shift+K\n"
         << Shot("07-new-key") << "wait-enabled " << kAssign << "\nclick " << kAssign << "\n"
         << "click " << kNewKey << "\nkey Ctrl+N\nwait-disabled " << kAssign << "\n"
         << Shot("08-key-in-use") << "click " << kAccelTable << "\nkey Up\nkey Enter\nwait-disabled "
         << kAssign << "\n"
         << Shot("09-picture-keys")
         // Menu: the picture document's menu; the caption's context menu opened, Cut dragged off
         // it, then the menu reset.
         << "key Ctrl+Tab\nwait-window \"Customize\"\n"
         << "click " << kFrameMenus << "\nkey Up\nkey Enter\n"
         << "click " << kContextMenus << "\nkey Down\nkey Enter\n"
         << "wait-window \"Demo menu\"\n"
         << Shot("10-context-menu") << "drag " << kPopupBar << " 40 10 " << kContextHint << " 20 5\n"
         << "wait-window \"Customize\"\n"
         << Shot("11-cut-dragged-off") << "click " << kResetContext << "\nwait-window \"Customize Demo\"\n"
         << Shot("12-reset-question") << "click 6\nwait-window \"Customize\"\n"
         << Shot("13-reset")
         // Mouse: a double-click on the picture view makes a new picture.
         << "key Ctrl+Tab\nwait-window \"Customize\"\n"
         << "click-item " << kViews << " \"Picture view\"\n"
         << "click " << kUseDblClick << "\nclick " << kDblClickCommands << " 40 7\n"
         << Shot("14-double-click")
         // Options: large icons.
         << "key Ctrl+Tab\nclick " << kLargeIcons << "\n"
         << Shot("15-large-icons")
         // User tools: List inserted, its program browsed to, a macro and arguments a shell would
         // split, expand and unquote; then moved above the first start's tool.
         << "key Ctrl+Shift+Tab\nkey Ctrl+Shift+Tab\nkey Ctrl+Shift+Tab\nkey Ctrl+Shift+Tab\n"
         << "click " << kToolList << " 100 60\nkey Insert\ntype List\nkey Enter\n"
         << Shot("16-tool-inserted") << "click 16923\nwait-window \"Open\"\n"
         << Shot("17-browse") << "type " << tool << "\nkey Enter\nwait-window \"Customize\"\n"
         << "click " << kToolArguments << "\nkey Tab\nkey Space\n"
         << Shot("18-macros") << "key Down\nkey Enter\n"
         << "click " << kToolArguments << "\nkey End\ntype  a;b $HOME \"c d\"\n"
         << "click " << kToolList << " 100 49\nkey Alt+Up\n"
         << Shot("19-tool-moved")
         // Zoom onto the new bar, then its appearance: image and text, a new image drawn with
         // each tool of the editor.
         << "key Ctrl+Shift+Tab\nkey Ctrl+Shift+Tab\nwait-window \"Customize\"\n"
         << "click " << kCategories << " 50 37\n"
         << "drag " << kCommands << " 60 10 " << kFirstUserBar << " 10 10\n"
         << "wait-window \"My Picks\"\nrclick " << kFirstUserBar << " 12 12\n"
         << Shot("20-button-menu") << "click-at 740 501\nwait-window \"Button Appearance\"\n"
         << Shot("21-appearance") << "click " << kTextAndImage << "\nclick " << kUserImage << "\nclick "
         << kNewImage << "\nwait-window \"Edit Button Image\"\n"
         << Shot("22-editor")
         // Red pencil, blue line, green rectangle filled yellow, navy ellipse; the red picked up
         // again for a last dot. Tools and colours are clicked where the dialog shows them.
         << "click-at 790 328\nclick-at 839 432\ndrag " << kDrawArea << " 37 37 " << kDrawArea << " 37 187\n"
         << "click-at 835 328\nclick-at 811 446\ndrag " << kDrawArea << " 67 37 " << kDrawArea << " 202 187\n"
         << "click-at 790 354\nclick-at 825 404\ndrag " << kDrawArea << " 82 22 " << kDrawArea << " 157 82\n"
         << "click-at 813 354\nclick-at 853 404\ndrag " << kDrawArea << " 127 127 " << kDrawArea
         << " 217 202\n"
         << "click-at 813 328\nclick-at 797 446\nclick " << kDrawArea << " 112 52\n"
         << "click-at 835 354\nclick " << kDrawArea << " 37 97\n"
         << "click " << kDrawArea << " 217 37\n"
         << Shot("23-drawn") << "click 1\nwait-window \"Button Appearance\"\n"
         << Shot("24-new-image") << "click 1\nwait-window \"Customize\"\n"
         << Shot("25-image-on-bar") << "click 2\nwait-window \"Customize Demo\"\n"
         << Shot("26-closed")
         // The new shortcut, the tool from the Tools menu, the view's double-click.
         << "key Ctrl+Shift+K\nkey Alt+T\nkey Down\n"
         << Shot("27-tools-menu") << "key Enter\nwait-file \"" << args << "\"\n"
         << "key Ctrl+N\ndblclick " << kView << "\n"
         << Shot("28-double-clicked");
  const std::string scriptPath = folder / "customize.script";
  std::ofstream(scriptPath) << script.str();
  const std::string logPath = folder / "customize.log";
  const auto run = [&](const std::string& log) {
    return pictavo::test::Run({CUSTOMIZE_DEMO, "--log", log, "--resources", Resources()});
  };
  {
    ScopedEnv env("PICTAVO_SCRIPT", scriptPath.c_str());
    ASSERT_TRUE(run(logPath));
  }
  const std::vector<std::string> log = Lines(logPath);
  std::string all;
  for (const std::string& l : log) all += l + "\n";

  EXPECT_TRUE(Has(log, "customize open")) << all;
  EXPECT_TRUE(Has(log, "customize closed")) << all;
  // Ctrl+Shift+K ran Copy; the double-click made a second picture.
  EXPECT_TRUE(Has(log, "command 57634")) << all;
  EXPECT_TRUE(Has(log, "double-click 57600")) << all;
  EXPECT_TRUE(Has(log, "opened Picture2")) << all;
  // The locked bar's box may not be cleared: a beep, with the list of bars in focus.
  EXPECT_TRUE(Has(log, "beep at " + std::to_string(kToolbarList))) << all;

  const std::vector<std::string> end = Starting(log, "end ");
  const auto endHas = [&](const std::string& line) { return Has(end, line); };
  EXPECT_TRUE(
      endHas("bar Standard hidden 57634t 57600 57601 57603 32789 32853 32807 32858 33926 32857 32855 "
             "32856 32859 32852 32822 33934 32788"))
      << all;
  EXPECT_TRUE(
      endHas("bar Pictures shown 32934 32918 32919 32920 32834 32808 32926 32809 32923 32925 32804 "
             "33936 33937 33938 33939 33940 32810 32812"))
      << "the locked bar stays: " << all;
  EXPECT_TRUE(endHas("bar My Picks shown 16944u1")) << "Zoom with the drawn image: " << all;
  EXPECT_TRUE(endHas("copy key Ctrl+Shift+K")) << all;
  EXPECT_TRUE(endHas("frame keys 4")) << "Ctrl+N not added twice: " << all;
  EXPECT_TRUE(endHas("picture keys 3")) << all;
  EXPECT_TRUE(endHas("context 16946 57635 57634")) << "Cut back after the reset: " << all;
  EXPECT_TRUE(endHas("dblclick 57600")) << all;
  EXPECT_TRUE(endHas("large 1")) << all;
  const std::vector<std::string> tools = Starting(log, "end tool ");
  ASSERT_EQ(tools.size(), 2u) << all;
  EXPECT_EQ(tools[0], "List | " + tool + " | $(DocumentPath) a;b $HOME \"c d\" | ") << all;
  EXPECT_EQ(tools[1], "Notes | true |  | ") << all;
  EXPECT_TRUE(Has(log, "images ok")) << all;
  EXPECT_TRUE(Has(log, "workspace ok")) << all;

  // Started without a shell: every argument as typed, the macro unexpanded.
  EXPECT_EQ(Lines(args), (std::vector<std::string>{"$(DocumentPath)", "a;b", "$HOME", "c d"}));

  // The second start finds the bars, image, shortcuts, menus, mouse, options and tools as left.
  const std::string rerunScript = folder / "rerun.script";
  std::ofstream(rerunScript) << "wait-window \"Customize Demo\"\n" << Shot("29-restarted");
  const std::string rerunLog = folder / "rerun.log";
  {
    ScopedEnv env("PICTAVO_SCRIPT", rerunScript.c_str());
    ASSERT_TRUE(run(rerunLog));
  }
  EXPECT_EQ(Starting(Lines(rerunLog), "start "), end);

  // And looks it: large icons, Standard hidden, the drawn image beside Zoom on the user's bar.
  // PICTAVO_WRITE_REFERENCES=1 writes the picture anew (look at it first).
  const std::string shot = pictavo::test::SnapshotPath("customize-demo-29-restarted.png");
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  const std::string reference =
      std::string(source ? source : ".") + "/tests/toolkit/customize/reference/customize-demo-restarted.png";
  const char* write = std::getenv("PICTAVO_WRITE_REFERENCES");
  if (write != nullptr && std::string(write) == "1")
    std::filesystem::copy_file(shot, reference, std::filesystem::copy_options::overwrite_existing);
  pictavo::test::Picture got, want;
  ASSERT_TRUE(pictavo::test::ReadPng(shot, &got));
  ASSERT_TRUE(pictavo::test::ReadPng(reference, &want)) << reference;
  ASSERT_EQ(got.width, want.width);
  ASSERT_EQ(got.height, want.height);
  int differ = 0;
  for (int y = 0; y < got.height; ++y)
    for (int x = 0; x < got.width; ++x) differ += got.At(x, y) != want.At(x, y);
  EXPECT_EQ(differ, 0) << shot;
}
