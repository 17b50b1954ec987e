// The main window as a new user meets it: the real program started with the sample project on
// the command line, on the headless display, driven by an input script: the title names the
// project, Save As writes a new file through the file dialog, New empties the project, and the
// recent-file list opens the saved file again. Snapshots of the window and of an open menu are
// left under build/bin/test-output/.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "shell/GeneralSettings.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"

using namespace shelltest;
namespace fs = std::filesystem;

namespace {

int IndexOf(const std::vector<std::string>& lines, const std::string& text) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].find(text) != std::string::npos) return static_cast<int>(i);
  return -1;
}

struct ProgramRun {
  int exitCode = -1;
  std::vector<std::string> log;
};

ProgramRun RunProgram(const std::string& folder, const std::vector<std::string>& args,
                      const std::string& script, const std::string& base,
                      const std::vector<std::string>& env = {}) {
  ProgramRun run;
  run.exitCode = WaitForExit(StartProgram(folder, args, script, {}, env));
  run.log = ReadProgramLog(base);
  return run;
}

class MainWindowTest : public RegistryFixture {
 protected:
  std::string DefaultBase() const { return CGeneralSettings::DefaultTempFolder().Str(); }
  static std::string Sample() { return std::string(PICTAVO_SOURCE_DIR_VALUE()) + "/samples/sample.r7m"; }
  static const char* PICTAVO_SOURCE_DIR_VALUE() { return getenv("PICTAVO_SOURCE_DIR"); }
};

}  // namespace

TEST_F(MainWindowTest, SampleProjectSavedAsNewThenReopenedFromTheRecentFiles) {
  ASSERT_TRUE(fs::exists(Sample())) << "run samples/make-samples.sh";
  const std::string saved = folder / "Holiday Trip.r7m";
  const std::string mainShot = pictavo::test::SnapshotPath("main-window-1024x768.png");
  const std::string menuShot = pictavo::test::SnapshotPath("main-window-file-menu.png");
  const std::string organizeShot = pictavo::test::SnapshotPath("main-window-organize-menu.png");
  const std::string createShot = pictavo::test::SnapshotPath("main-window-create-menu.png");
  const std::string reopenedShot = pictavo::test::SnapshotPath("main-window-reopened.png");
  std::ostringstream script;
  script << "wait-window \"sample - Talvane Pictavo\" 60\n"
         << "wait-gone Splash 30\n"
         << "snapshot \"" << mainShot
         << "\"\n"
         // Save As through the file dialog.
         << "command 57604\n"
         << "wait-window \"Save As\"\n"
         << "type " << saved << "\n"
         << "key Enter\n"
         << "wait-file \"" << saved << "\"\n"
         << "wait-window \"Holiday Trip - Talvane Pictavo\"\n"
         // New: the project was just saved, so nothing is asked.
         << "command 57600\n"
         << "wait-window \"Untitled - Talvane Pictavo\"\n"
         // The first entry of the recent files is the file saved above.
         << "command 57616\n"
         << "wait-window \"Holiday Trip - Talvane Pictavo\"\n"
         << "snapshot \"" << reopenedShot
         << "\"\n"
         // New again, then Open (Ctrl+O) through the file dialog.
         << "command 57600\n"
         << "wait-window \"Untitled - Talvane Pictavo\"\n"
         << "key Ctrl+O\n"
         << "wait-window Open\n"
         << "type " << saved << "\n"
         << "key Enter\n"
         << "wait-window \"Holiday Trip - Talvane Pictavo\"\n"
         // The File menu as the user opens it.
         << "key Alt+F\n"
         << "snapshot \"" << menuShot
         << "\"\n"
         // On to Organize and its blank-image swatches.
         << "key Right\n"
         << "key Down\n"
         << "key Right\n"
         << "snapshot \"" << organizeShot << "\"\n"
         << "key Escape\n"
         << "key Escape\n"
         << "key Escape\n"
         // The Create items, one per output-profile group, the active one checked.
         << "key Alt+C\n"
         << "snapshot \"" << createShot << "\"\n"
         << "key Escape\n"
         << "key Escape\n"
         << "command 32791\n";
  const ProgramRun run =
      RunProgram(folder.Path(), {Sample()}, script.str(), DefaultBase(), {"PICTAVO_DESKTOP=1024x768"});
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_TRUE(fs::exists(saved));
  EXPECT_NE(IndexOf(run.log, "Open project file: " + Sample()), -1);
  EXPECT_NE(IndexOf(run.log, "Create new project..."), -1);
  const int reopened = IndexOf(run.log, "Open project file: " + saved);
  EXPECT_GT(reopened, IndexOf(run.log, "Create new project..."));
  EXPECT_EQ(run.log.back(), "Program ExitInstance.");

  pictavo::test::Picture window, menu;
  ASSERT_TRUE(pictavo::test::ReadPng(mainShot, &window));
  EXPECT_EQ(window.width, 1024);
  EXPECT_EQ(window.height, 768);
  ASSERT_TRUE(pictavo::test::ReadPng(menuShot, &menu));
}

TEST_F(MainWindowTest, LooksFinishedOnAWideScreen) {
  ASSERT_TRUE(fs::exists(Sample())) << "run samples/make-samples.sh";
  const std::string shot = pictavo::test::SnapshotPath("main-window-1920x1080.png");
  std::ostringstream script;
  script << "wait-window \"sample - Talvane Pictavo\" 60\n"
         << "wait-gone Splash 30\n"
         << "snapshot \"" << shot << "\"\n"
         << "command 32791\n";
  const ProgramRun run =
      RunProgram(folder.Path(), {Sample()}, script.str(), DefaultBase(), {"PICTAVO_DESKTOP=1920x1080"});
  ASSERT_EQ(run.exitCode, 0);
  pictavo::test::Picture window;
  ASSERT_TRUE(pictavo::test::ReadPng(shot, &window));
  EXPECT_EQ(window.width, 1920);
}

TEST_F(MainWindowTest, EscapeAndEnterCloseNothingAndExitRemembersThePlacement) {
  std::ostringstream script;
  script << "wait-window \"Untitled - Talvane Pictavo\" 60\n"
         << "wait-gone Splash 30\n"
         << "key Escape\n"
         << "key Enter\n"
         << "wait-window \"Untitled - Talvane Pictavo\" 5\n"
         << "command 32791\n";
  const ProgramRun run = RunProgram(folder.Path(), {}, script.str(), DefaultBase());
  ASSERT_EQ(run.exitCode, 0);
  pictavo::registry::FlushAllHives();
  DWORD type = 0;
  Bytes data;
  ASSERT_TRUE(QueryRaw(kAppKey + "\\Settings", "Maximized", type, data));
  EXPECT_EQ(data.size(), 4u);
  EXPECT_EQ(data[0], 1);  // no placement saved before: the window opened maximized
}

TEST_F(MainWindowTest, AProjectHandedOverUnderAnOpenDialogOpensOnceTheDialogCloses) {
  ASSERT_TRUE(fs::exists(Sample())) << "run samples/make-samples.sh";
  const std::string aboutOpen = folder / "about-open.png";
  const std::string handedOver = folder / "handed-over";
  std::ostringstream script;
  script << "wait-window \"Untitled - Talvane Pictavo\" 60\n"
         << "wait-gone Splash 30\n"
         << "command 32792\n"
         << "wait-window About\n"
         << "snapshot \"" << aboutOpen << "\"\n"
         << "wait-file \"" << handedOver
         << "\" 60\n"
         // The second copy has handed its project over and ended: nothing opened under the dialog.
         << "wait-gone \"sample - Talvane Pictavo\" 1\n"
         << "key Escape\n"
         << "wait-window \"sample - Talvane Pictavo\" 30\n"
         << "command 32791\n";
  const pid_t first = StartProgram(folder.Path(), {}, script.str());
  ASSERT_GT(first, 0);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!fs::exists(aboutOpen) && std::chrono::steady_clock::now() < deadline) usleep(20000);
  ASSERT_TRUE(fs::exists(aboutOpen));

  // The second copy: same user, same desktop, the sample project on its command line.
  const ProgramRun second =
      RunProgram(folder.Path(), {Sample()}, script.str(), DefaultBase(), {"PICTAVO_SCRIPT="});
  EXPECT_EQ(second.exitCode, 0);
  // The first copy has the path and keeps it until the dialog is closed.
  const auto waiting = [&] {
    return IndexOf(ReadProgramLog(DefaultBase()), "The handed-over project waits until no dialog is open.") !=
           -1;
  };
  const auto guard = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!waiting() && std::chrono::steady_clock::now() < guard) usleep(20000);
  EXPECT_TRUE(waiting());
  std::ofstream(handedOver) << "done";
  EXPECT_EQ(WaitForExit(first), 0);
  const std::vector<std::string> log = ReadProgramLog(DefaultBase());
  EXPECT_NE(IndexOf(log, "New instance exit."), -1);
  EXPECT_NE(IndexOf(log, "Open project file: " + Sample()), -1);
}

TEST_F(MainWindowTest, OpensWhereItWasClosed) {
  const std::string settings = kAppKey + "\\Settings";
  SetDword(settings, "Maximized", 0);
  SetDword(settings, "X", 10);
  SetDword(settings, "Y", 20);
  SetDword(settings, "Width", 800);
  SetDword(settings, "Height", 600);
  std::ostringstream script;
  script << "wait-window \"Untitled - Talvane Pictavo\" 60\n"
         << "wait-gone Splash 30\n"
         << "command 32791\n";
  const ProgramRun run = RunProgram(folder.Path(), {}, script.str(), DefaultBase());
  ASSERT_EQ(run.exitCode, 0);
  // Exit writes back the rectangle the window had: the one it was given.
  pictavo::registry::FlushAllHives();
  const struct {
    const char* name;
    int value;
  } expected[] = {{"Maximized", 0}, {"X", 10}, {"Y", 20}, {"Width", 800}, {"Height", 600}};
  for (const auto& e : expected) {
    DWORD type = 0;
    Bytes data;
    ASSERT_TRUE(QueryRaw(settings, e.name, type, data)) << e.name;
    ASSERT_EQ(data.size(), 4u) << e.name;
    int value = 0;
    std::memcpy(&value, data.data(), 4);
    EXPECT_EQ(value, e.value) << e.name;
  }
}

TEST_F(MainWindowTest, AProjectThatFailsToOpenNeverBecomesTheFileSaveWritesTo) {
  const std::string damaged = folder / "Damaged.r7m";
  const std::string bytes = "this is no project file\n";
  std::ofstream(damaged) << bytes;
  std::ostringstream script;
  script << "wait-gone Splash 60\n"
         // The open road says what went wrong; the project stays untitled.
         << "wait-window \"Talvane Pictavo\"\n"
         << "key Enter\n"
         << "wait-window \"Untitled - Talvane Pictavo\"\n"
         // Save (Ctrl+S) asks for a new name instead of writing over the file that failed to open.
         << "key Ctrl+S\n"
         << "wait-window \"Save As\"\n"
         << "key Escape\n"
         << "wait-window \"Untitled - Talvane Pictavo\"\n"
         << "command 32791\n";
  const ProgramRun run = RunProgram(folder.Path(), {damaged}, script.str(), DefaultBase());
  ASSERT_EQ(run.exitCode, 0);
  std::ifstream in(damaged);
  const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(after, bytes);
  EXPECT_NE(IndexOf(run.log, "Open project file: " + damaged), -1);
}
