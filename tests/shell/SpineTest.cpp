// The program's start-up and shut-down, run as the real executable on the headless display, and
// the clean-up of per-run temporary folders.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/registry/Hive.h"
#include "shell/GeneralSettings.h"
#include "shell/ProcessObjects.h"
#include "tests/shell/ShellTestSupport.h"

using namespace shelltest;
namespace fs = std::filesystem;

namespace {

struct RunResult {
  int exitCode = -1;
  std::vector<std::string> log;  // the log's lines without their time stamps
};

class SpineTest : public RegistryFixture {
 protected:
  // The temporary base the program uses when the settings name none.
  std::string DefaultBase() const { return CGeneralSettings::DefaultTempFolder().Str(); }

  // Runs pictavo with `args` on the headless display: it waits for the main window, takes a
  // snapshot and leaves through File > Exit. Reads the log from `base`.
  RunResult Run(const std::vector<std::string>& args, const std::string& base) {
    const std::string script = "wait-window \"Talvane Pictavo\"\nsnapshot \"" + (folder / "main.png") +
                               "\" \"Talvane Pictavo\"\ncommand 32791\n";
    RunResult result;
    result.exitCode = WaitForExit(StartProgram(folder.Path(), args, script));
    result.log = ReadProgramLog(base);
    return result;
  }
};

int IndexOf(const std::vector<std::string>& lines, const std::string& text) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i] == text) return static_cast<int>(i);
  return -1;
}

}  // namespace

TEST_F(SpineTest, NormalStartAndExitLogsTheStepsInOrder) {
  const RunResult run = Run({}, DefaultBase());
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_TRUE(fs::exists(folder / "main.png"));
  ASSERT_FALSE(run.log.empty());

  int previous = -1;
  for (int step = 1; step <= 11; ++step) {
    const int at = IndexOf(run.log, "Initialize...(" + std::to_string(step) + ")");
    ASSERT_GT(at, previous) << "step " << step;
    previous = at;
  }
  EXPECT_EQ(IndexOf(run.log, "Initialize...(4)"), IndexOf(run.log, "Initialize...(3)") + 1);
  EXPECT_EQ(IndexOf(run.log, "Perpare to show main window..."), previous + 1);
  EXPECT_EQ(run.log.back(), "Program ExitInstance.");
  EXPECT_LT(IndexOf(run.log, "Software Information:"), IndexOf(run.log, "Initialize...(1)"));
  EXPECT_EQ(IndexOf(run.log, "Setup options to default setting(1)!"), -1);
}

TEST_F(SpineTest, SetupSwitchResetsTheSectionsWhileTheRunKeepsTheLoadedValues) {
  // A temporary folder of the user's choice: the run must still use it after the reset.
  const std::string chosen = folder / "chosen";
  fs::create_directories(chosen);
  {
    CGeneralSettings general;
    general.Load();
    general.TempFolder = chosen.c_str();
    ASSERT_TRUE(general.Save());
  }
  ASSERT_TRUE(KeyExists(kAppKey + "\\General"));

  const RunResult run = Run({"-setup"}, chosen);
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_NE(IndexOf(run.log, "Setup options to default setting(1)!"), -1);
  EXPECT_EQ(run.log.back(), "Program ExitInstance.");
  pictavo::registry::FlushAllHives();
  EXPECT_FALSE(KeyExists(kAppKey + "\\General"));
  EXPECT_FALSE(KeyExists(kAppKey + "\\Transition"));
}

TEST_F(SpineTest, LogFileOverOneMegabyteIsDeletedAtStart) {
  const struct {
    size_t bytes;
    bool kept;
  } cases[] = {{1048576, true}, {1048577, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    const std::string log = fs::path(DefaultBase()) / "zel.log";
    fs::create_directories(DefaultBase());
    std::ofstream(log, std::ios::trunc) << std::string(c.bytes, 'x');

    const RunResult run = Run({}, DefaultBase());
    ASSERT_EQ(run.exitCode, 0);
    std::ifstream in(log);
    char first = 0;
    in.get(first);
    EXPECT_EQ(first == 'x', c.kept);
    EXPECT_EQ(fs::file_size(log) > c.bytes, c.kept);
  }
}

TEST(CleanTempFoldersTest, RemovesOnlyTheProgramsOwnRunFolders) {
  ScratchDir base;
  struct Entry {
    std::string name;
    bool folder;
    bool marked;
    bool survives;
  };
  const Entry entries[] = {
      {"230101120000", true, true, false},   // a run folder of this program
      {"230101120001", true, false, true},   // the user's own twelve-digit folder
      {"23010112000", true, true, true},     // eleven digits
      {"2301011200001", true, true, true},   // thirteen digits
      {"23010112000a", true, true, true},    // a letter among twelve
      {"230101120002", false, false, true},  // a file named with twelve digits
  };
  for (const std::string& where : {base.Path(), std::string(base / "Temp")}) {
    for (const Entry& e : entries) {
      const fs::path path = fs::path(where) / e.name;
      if (e.folder) {
        fs::create_directories(path / "inside");
        if (e.marked) ASSERT_TRUE(MarkProgramTempFolder(path.c_str()));
      } else {
        fs::create_directories(where);
        std::ofstream(path) << "data";
      }
    }
  }
  CleanTempFolders(base.Path().c_str());
  for (const std::string& where : {base.Path(), std::string(base / "Temp")})
    for (const Entry& e : entries)
      EXPECT_EQ(fs::exists(fs::path(where) / e.name), e.survives) << where << "/" << e.name;
}
