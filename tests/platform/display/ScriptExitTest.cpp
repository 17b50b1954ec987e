// A script that cannot be played to its end ends the program with exit status 3: played in a
// child process (this test binary again), as the program plays PICTAVO_SCRIPT.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "Probe.h"
#include "platform/display/Display.h"
#include "platform/display/ScriptPlayer.h"

namespace {

// The program: a window whose control 101 ends the message loop and whose control 102 keeps
// the program busy for good, and the script from the environment. Runs only as the child of the
// test below.
TEST(ScriptChild, PlaysTheScriptFromTheEnvironment) {
  if (!std::getenv("PICTAVO_SCRIPT_CHILD")) GTEST_SKIP() << "run by ScriptExit";
  ASSERT_TRUE(pictavo::display::Initialize());
  const HWND window = probe::TopLevel("Probe", RECT{100, 100, 400, 300}, RGB(10, 20, 30));
  const HWND quit = probe::Child(window, 101, RECT{10, 10, 60, 40}, RGB(40, 50, 60));
  probe::On(quit, WM_LBUTTONDOWN, [](HWND, WPARAM, LPARAM) { PostQuitMessage(0); });
  const HWND busy = probe::Child(window, 102, RECT{70, 10, 120, 40}, RGB(40, 50, 60));
  probe::On(busy, WM_LBUTTONDOWN,
            [](HWND, WPARAM, LPARAM) { std::this_thread::sleep_for(std::chrono::hours(1)); });
  ASSERT_TRUE(pictavo::display::StartScriptFromEnvironment());
  probe::RunLoop();
}

TEST(ScriptExit, AScriptThatCannotBePlayedEndsTheProgramWithStatus3) {
  struct Case {
    const char* script;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {"wait-window Probe\nclick 101\n", 0, ""},
      {"wait-window Probe\n\nwait-gone Probe 0.2\n", 3,
       "line 3 (wait-gone Probe 0.2): not done within 0.2 s"},
      {"wait-window Probe\nfrobnicate\n", 3, "line 2: unknown step \"frobnicate\""},
      {"wait-window Probe\nclick 101\nwait-file /nonexistent/x 5\n", 3,
       "line 3 (wait-file /nonexistent/x 5): the program ended before this step was played"},
      {"wait-window Probe\nclick 101\nwait-gone Probe\n", 0, ""},
      {"wait-window Probe\nclick 102\nwait-window Other 0.3\n", 3,
       "line 3 (wait-window Other 0.3): not done within 0.3 s: the program stayed busy"},
  };
  const std::string path =
      (std::filesystem::temp_directory_path() / ("exit-" + std::to_string(getpid()) + ".script")).string();
  for (const Case& c : cases) {
    std::ofstream(path) << c.script;
    const probe::ChildResult child = probe::RunTestInChild(
        "ScriptChild.PlaysTheScriptFromTheEnvironment",
        {{"PICTAVO_SCRIPT_CHILD", "1"}, {"PICTAVO_SCRIPT", path}, {"PICTAVO_DISPLAY", "headless"}});
    EXPECT_EQ(child.status, c.status) << c.script << child.output;
    if (*c.message)
      EXPECT_NE(child.output.find("pictavo: script \"" + path + "\" " + c.message), std::string::npos)
          << c.script << child.output;
  }
  const probe::ChildResult missing = probe::RunTestInChild("ScriptChild.PlaysTheScriptFromTheEnvironment",
                                                           {{"PICTAVO_SCRIPT_CHILD", "1"},
                                                            {"PICTAVO_SCRIPT", path + ".missing"},
                                                            {"PICTAVO_DISPLAY", "headless"}});
  EXPECT_EQ(missing.status, 3);
  EXPECT_NE(missing.output.find("cannot be read"), std::string::npos) << missing.output;
  std::remove(path.c_str());
}

}  // namespace
