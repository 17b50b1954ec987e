// A second copy of the program started while a first one runs: it hands its project over, brings
// the first copy forward and ends. The first copy here is this test (a window registered as the
// program's), or a real program that is killed to stand for a crash.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "modules/data/SingleFlag.h"
#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/kernel/SyncObjectsNamed.h"
#include "platform/user/User.h"
#include "shell/GeneralSettings.h"
#include "shell/SingleInstance.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TestInChild.h"

using namespace shelltest;
namespace fs = std::filesystem;

namespace {

constexpr char kInstanceName[] = "ZorvPictavo";
constexpr DWORD kPollMs = 20;  // for what no message announces: a process ending, a file appearing

// The copies' named objects live in the runtime folder; each test runs in a fresh copy of this
// binary with a runtime folder of its own (set before its first named object), shared only with
// the programs it starts, so no other test or program on the machine is taken for a first copy.
constexpr char kIsolated[] = "PICTAVO_SECOND_COPY_TEST_RUNTIME";

std::string SharedRuntime() {
  const char* runtime = std::getenv(kIsolated);
  return runtime ? runtime : "";
}

// Runs the current test again in a child with its own runtime folder; false in that child.
bool RanIsolated() {
  if (std::getenv(kIsolated)) return false;
  ScratchDir runtime;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string name = std::string(info->test_suite_name()) + "." + info->name();
  const auto child = pictavo::test::RunTestInChild(
      name, {{kIsolated, runtime.Path()}, {"XDG_RUNTIME_DIR", runtime.Path()}}, 180000);
  EXPECT_EQ(child.status, 0) << child.output;
  EXPECT_NE(child.output.find("[  PASSED  ] 1 test"), std::string::npos) << child.output;
  return true;
}

#define RUN_ISOLATED() \
  if (RanIsolated()) return

// What the running copy's window received.
std::vector<std::string>& HandedOver() {
  static std::vector<std::string> paths;
  return paths;
}

LRESULT CALLBACK FirstCopyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) {
    CString path;
    if (CSingleInstance::GetHandedOverPath(reinterpret_cast<const COPYDATASTRUCT*>(lParam), path))
      HandedOver().push_back(path.GetString());
    return TRUE;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

// This process registered as the running copy with `window` as its main window.
class RegisteredCopy : public CSingleInstance {
 public:
  explicit RegisteredCopy(HWND window) : CSingleInstance(kInstanceName), m_window(window) {}
  HWND GetMainWindowHandle() const override { return m_window; }

 private:
  HWND m_window;
};

class SecondCopyTest : public RegistryFixture {
 protected:
  void SetUp() override {
    if (!std::getenv(kIsolated)) return;  // the test runs in a child
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    HandedOver().clear();
    WNDCLASS wc{};
    wc.lpfnWndProc = FirstCopyProc;
    wc.lpszClassName = "FirstCopyMain";
    if (!GetClassInfo(nullptr, wc.lpszClassName, &wc)) RegisterClass(&wc);
    m_window = CreateWindowEx(0, wc.lpszClassName, "Talvane Pictavo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50,
                              50, 400, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(m_window, nullptr);
    m_other = CreateWindowEx(0, wc.lpszClassName, "Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500,
                             50, 300, 200, nullptr, nullptr, nullptr, nullptr);
    SetDword(kAppKey + "\\Settings", "Width", 812);  // the user's own setting
  }

  void TearDown() override {
    for (HWND h : {m_window, m_other})
      if (IsWindow(h)) DestroyWindow(h);
    pictavo::test::PumpPending();
  }

  // Runs a second copy with `args` while this process keeps its window working; its exit code.
  int RunSecondCopy(const std::vector<std::string>& args, const std::string& script = {}) {
    const pid_t child = StartProgram(folder.Path(), args, script, SharedRuntime());
    int status = 0;
    const bool ended =
        pictavo::test::PumpUntil([&] { return waitpid(child, &status, WNOHANG) == child; }, 60000, kPollMs);
    if (!ended) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      ADD_FAILURE() << "the second copy did not end";
      return -1;
    }
    pictavo::test::PumpPending();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::vector<std::string> Log() const { return ReadProgramLog(CGeneralSettings::DefaultTempFolder().Str()); }

  bool UserSettingKept() {
    pictavo::registry::FlushAllHives();
    DWORD type = 0;
    Bytes data;
    return QueryRaw(kAppKey + "\\Settings", "Width", type, data) && data.size() == 4 && data[0] == 812 % 256;
  }

  HWND m_window = nullptr;
  HWND m_other = nullptr;
};

bool Has(const std::vector<std::string>& lines, const std::string& text) {
  return std::find(lines.begin(), lines.end(), text) != lines.end();
}

}  // namespace

TEST_F(SecondCopyTest, HandsItsProjectToTheRunningCopyAndEnds) {
  RUN_ISOLATED();
  RegisteredCopy first(m_window);
  ASSERT_TRUE(first.RegisterMainWindow());
  SetForegroundWindow(m_other);
  const std::string project = folder / "Holiday 2026.r7m";

  EXPECT_EQ(RunSecondCopy({project}), 0);
  EXPECT_EQ(HandedOver(), std::vector<std::string>{project});
  EXPECT_TRUE(pictavo::test::PumpUntil([&] { return GetForegroundWindow() == m_window; }));
  const auto log = Log();
  EXPECT_TRUE(Has(log, "Previous instance detected, will now restore it."));
  EXPECT_TRUE(Has(log, "New instance exit."));
  EXPECT_FALSE(Has(log, "Initialize...(1)"));
  EXPECT_TRUE(UserSettingKept());
}

TEST_F(SecondCopyTest, WhileTheRunningCopyWritesVideosItOnlyComesForward) {
  RUN_ISOLATED();
  RegisteredCopy first(m_window);
  ASSERT_TRUE(first.RegisterMainWindow());
  CWyxSingleFlag burning("ButtonBurnWritePressed");
  CWyxSingleFlagAutoLock held(burning);  // an output run in progress
  SetForegroundWindow(m_other);

  EXPECT_EQ(RunSecondCopy({folder / "Holiday 2026.r7m"}), 0);
  EXPECT_TRUE(HandedOver().empty());
  EXPECT_TRUE(pictavo::test::PumpUntil([&] { return GetForegroundWindow() == m_window; }));
  EXPECT_TRUE(Has(Log(), "New instance exit."));
}

TEST_F(SecondCopyTest, WithoutArgumentsItRestoresTheRunningCopyAndEnds) {
  RUN_ISOLATED();
  RegisteredCopy first(m_window);
  ASSERT_TRUE(first.RegisterMainWindow());
  ShowWindow(m_window, SW_MINIMIZE);
  SetForegroundWindow(m_other);
  ASSERT_TRUE(IsIconic(m_window));

  EXPECT_EQ(RunSecondCopy({}), 0);
  EXPECT_TRUE(HandedOver().empty());
  EXPECT_TRUE(
      pictavo::test::PumpUntil([&] { return !IsIconic(m_window) && GetForegroundWindow() == m_window; }));
  EXPECT_TRUE(Has(Log(), "New instance exit."));
}

TEST_F(SecondCopyTest, ARunningCopyThatCannotBeReachedLeavesTheSettingsAlone) {
  RUN_ISOLATED();
  // Registered, but its window is gone: the copy is hung or closing.
  const HWND gone = CreateWindowEx(0, "FirstCopyMain", "Closing", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   nullptr, nullptr);
  RegisteredCopy first(gone);
  ASSERT_TRUE(first.RegisterMainWindow());
  DestroyWindow(gone);

  // The copy says it cannot go on; the user closes its message.
  EXPECT_EQ(RunSecondCopy({folder / "Holiday 2026.r7m"}, "wait-window Error\nkey Enter\n"), 0);
  EXPECT_TRUE(HandedOver().empty());
  const auto log = Log();
  EXPECT_TRUE(Has(log, "New instance exit."));
  EXPECT_FALSE(Has(log, "Setup options to default setting(2)!"));
  EXPECT_TRUE(UserSettingKept());
}

TEST_F(SecondCopyTest, AFirstCopyThatDiedLeavesTheNextToStartNormally) {
  RUN_ISOLATED();
  const std::string shot = folder / "first.png";
  const pid_t first = StartProgram(
      folder.Path(), {}, "wait-window \"Talvane Pictavo\"\nsnapshot \"" + shot + "\"\n", SharedRuntime());
  CSingleInstance probe(kInstanceName);
  ASSERT_TRUE(pictavo::test::PumpUntil([&] { return fs::exists(shot) && probe.IsAnotherInstanceRunning(); },
                                       60000, kPollMs));
  kill(first, SIGKILL);  // a crash: nothing of the program's own shut-down runs
  waitpid(first, nullptr, 0);
  EXPECT_FALSE(probe.IsAnotherInstanceRunning());
  fs::remove(fs::path(CGeneralSettings::DefaultTempFolder().Str()) / "zel.log");

  const std::string shot2 = folder / "second.png";
  const pid_t second = StartProgram(
      folder.Path(), {}, "wait-window \"Talvane Pictavo\"\nsnapshot \"" + shot2 + "\"\n", SharedRuntime());
  const bool shown = pictavo::test::PumpUntil([&] { return fs::exists(shot2); }, 60000, kPollMs);
  const bool registered =
      pictavo::test::PumpUntil([&] { return probe.IsAnotherInstanceRunning(); }, 10000, kPollMs);
  kill(second, SIGKILL);
  waitpid(second, nullptr, 0);
  EXPECT_TRUE(shown);
  EXPECT_TRUE(registered);
  const auto log = Log();
  EXPECT_TRUE(Has(log, "Initialize...(1)"));
  EXPECT_FALSE(Has(log, "Previous instance detected, will now restore it."));
}

// Run by the next test: a copy that dies in its start-up, holding the start-up lock.
TEST(SecondCopyChild, DiesHoldingTheStartUpLock) {
  if (!std::getenv("PICTAVO_DIE_HOLDING_LOCK")) GTEST_SKIP() << "run by SecondCopyTest";
  CSingleInstance dying(kInstanceName);
  dying.Lock();
  _exit(0);  // no destructor releases anything
}

TEST_F(SecondCopyTest, ACopyThatDiedInItsStartUpDoesNotKeepTheNextWaiting) {
  RUN_ISOLATED();
  const auto died = pictavo::test::RunTestInChild("SecondCopyChild.DiesHoldingTheStartUpLock",
                                                  {{"PICTAVO_DIE_HOLDING_LOCK", "1"}});
  ASSERT_EQ(died.status, 0) << died.output;
  CSingleInstance next(kInstanceName);
  // The lock is a thread's; the wait is guarded so a lock that never comes fails the test.
  auto started = std::async(std::launch::async, [&] {
    next.Lock();
    const BOOL running = next.IsAnotherInstanceRunning();
    next.Unlock();
    return running;
  });
  ASSERT_EQ(started.wait_for(std::chrono::seconds(20)), std::future_status::ready) << "still waiting";
  EXPECT_FALSE(started.get());
}

TEST(HandedOverPath, OnlyAPathWithExactlyItsTerminatingZeroIsTaken) {
  struct Case {
    const char* bytes;
    DWORD size;
    bool taken;
    const char* path;
  };
  const char kTooLong[] = "/home/ann/a.r7m\0";
  const Case kCases[] = {
      {"/home/ann/Holiday.r7m", 22, true, "/home/ann/Holiday.r7m"},
      {"/home/ann/Holiday.r7m", 21, false, ""},  // the zero not counted: runs on past its length
      {"/home/ann/Holiday.r7m", 10, false, ""},  // cut short, no zero within
      {"/a\0/b.r7m", 10, false, ""},             // a zero inside
      {kTooLong, sizeof kTooLong, false, ""},    // bytes after the zero
      {"", 1, false, ""},                        // an empty path
      {"/x.r7m", 0, false, ""},
  };
  for (const Case& c : kCases) {
    COPYDATASTRUCT record{0, c.size, const_cast<char*>(c.bytes)};
    CString path = "left over";
    EXPECT_EQ(CSingleInstance::GetHandedOverPath(&record, path) != FALSE, c.taken)
        << c.bytes << "/" << c.size;
    EXPECT_EQ(std::string(path.GetString()), c.path) << c.bytes << "/" << c.size;
  }
  CString path;
  COPYDATASTRUCT noData{0, 5, nullptr};
  EXPECT_FALSE(CSingleInstance::GetHandedOverPath(&noData, path));
  EXPECT_FALSE(CSingleInstance::GetHandedOverPath(nullptr, path));
  std::string huge(CSingleInstance::kMaxHandOverBytes + 1, 'a');
  huge.back() = '\0';
  COPYDATASTRUCT tooBig{0, static_cast<DWORD>(huge.size()), huge.data()};
  EXPECT_FALSE(CSingleInstance::GetHandedOverPath(&tooBig, path));
}
