// Windows of another running copy: a child process (this test binary again) makes windows and
// tells what its window procedure saw through a pipe; this process reaches them by handle.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/SyncObjectsNamed.h"
#include "platform/user/User.h"

namespace {

int g_report = -1;  // the child's end of the pipe

void Report(const std::string& line) {
  const std::string text = line + "\n";
  if (write(g_report, text.data(), text.size()) != static_cast<ssize_t>(text.size())) _exit(2);
}

std::string Hex(uintptr_t value) {
  char text[32];
  std::snprintf(text, sizeof(text), "%lx", static_cast<unsigned long>(value));
  return text;
}

HWND g_main = nullptr;
bool g_ready = false;  // activations are told from the ready line on

LRESULT CALLBACK ChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COPYDATA: {
      const auto* record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      std::string line =
          "copydata " + Hex(wParam) + " " + Hex(record->dwData) + " " + std::to_string(record->cbData);
      if (!record->lpData) {
        line += " null";
      } else {
        const auto* bytes = static_cast<const unsigned char*>(record->lpData);
        for (DWORD i = 0; i < record->cbData; ++i) line += " " + Hex(bytes[i]);
      }
      Report(line);
      return 4242;
    }
    case WM_SIZE:
      if (hwnd == g_main && wParam == SIZE_MINIMIZED) Report("minimized");
      if (hwnd == g_main && wParam == SIZE_RESTORED) Report("restored");
      break;
    case WM_ACTIVATE:
      if (g_ready && LOWORD(wParam) != WA_INACTIVE)
        Report("activated " + Hex(reinterpret_cast<uintptr_t>(hwnd)));
      break;
    default:
      break;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

// The other copy: a main window and a pop-up it owns, never activated yet.
TEST(CrossProcessChild, AnswersForItsWindows) {
  const char* fd = std::getenv("PICTAVO_CROSS_PROCESS_FD");
  if (!fd) GTEST_SKIP() << "run by CrossProcess";
  g_report = std::atoi(fd);
  WNDCLASS wc{};
  wc.lpfnWndProc = ChildProc;
  wc.lpszClassName = "CrossProcessChild";
  ASSERT_TRUE(RegisterClass(&wc));
  g_main = CreateWindowEx(0, "CrossProcessChild", "Main", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                          nullptr, nullptr, nullptr);
  HWND popup = CreateWindowEx(0, "CrossProcessChild", "Popup", WS_POPUP, 50, 50, 100, 50, g_main, nullptr,
                              nullptr, nullptr);
  ShowWindow(popup, SW_SHOWNOACTIVATE);
  g_ready = true;
  Report("ready " + Hex(reinterpret_cast<uintptr_t>(g_main)) + " " + Hex(reinterpret_cast<uintptr_t>(popup)));
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0) > 0) DispatchMessage(&msg);
}

class CrossProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    m_pid = fork();
    if (m_pid == 0) {
      setenv("PICTAVO_CROSS_PROCESS_FD", std::to_string(fds[1]).c_str(), 1);
      const int quiet = open("/dev/null", O_WRONLY);
      dup2(quiet, 1);
      execl("/proc/self/exe", "/proc/self/exe", "--gtest_filter=CrossProcessChild.AnswersForItsWindows",
            static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    m_from = fds[0];
  }
  void TearDown() override {
    if (m_pid > 0) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
    close(m_from);
  }

  // The child's next line, other than the activations it tells; empty when it has nothing to say
  // within a guard time.
  std::string NextBesidesActivation() {
    std::string line = Next();
    while (line.rfind("activated ", 0) == 0) line = Next();
    return line;
  }
  std::string Next() {
    std::string line;
    for (;;) {
      pollfd p{m_from, POLLIN, 0};
      if (poll(&p, 1, 20000) <= 0) return {};
      char c = 0;
      if (read(m_from, &c, 1) != 1) return {};
      if (c == '\n') return line;
      line += c;
    }
  }

  void Kill() {
    kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
  }

  pid_t m_pid = -1;
  int m_from = -1;
};

HWND HandleFrom(const std::string& hex) {
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::stoul(hex, nullptr, 16)));
}

TEST_F(CrossProcess, TheOtherCopysWindowIsFoundRestoredActivatedAndGivenData) {
  std::istringstream ready(Next());
  std::string word, mainHex, popupHex;
  ready >> word >> mainHex >> popupHex;
  ASSERT_EQ(word, "ready");
  const HWND main = HandleFrom(mainHex);
  const HWND popup = HandleFrom(popupHex);
  ASSERT_TRUE(pictavo::user::IsForeignWindowHandle(main));
  EXPECT_TRUE(IsWindow(main));
  EXPECT_TRUE(IsWindow(popup));
  // Another handle of that copy that is no window of it.
  EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(main) + 1000)));

  EXPECT_EQ(GetLastActivePopup(main), main);
  EXPECT_TRUE(SetForegroundWindow(popup));
  EXPECT_EQ(Next(), "activated " + popupHex);
  EXPECT_EQ(GetLastActivePopup(main), popup);

  EXPECT_FALSE(IsIconic(main));
  // Minimizing and restoring may move the activation too.
  ShowWindow(main, SW_MINIMIZE);
  EXPECT_EQ(NextBesidesActivation(), "minimized");
  EXPECT_TRUE(IsIconic(main));
  ShowWindow(main, SW_RESTORE);
  EXPECT_EQ(NextBesidesActivation(), "restored");
  EXPECT_FALSE(IsIconic(main));

  const char bytes[] = {'a', 0, 'b', static_cast<char>(0xFF), 'z'};
  COPYDATASTRUCT record{7, sizeof(bytes), const_cast<char*>(bytes)};
  EXPECT_EQ(SendMessage(main, WM_COPYDATA, 0x1234, reinterpret_cast<LPARAM>(&record)), 4242);
  EXPECT_EQ(NextBesidesActivation(), "copydata 1234 7 5 61 0 62 ff 7a");
  COPYDATASTRUCT empty{0, 0, nullptr};
  EXPECT_EQ(SendMessage(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&empty)), 4242);
  EXPECT_EQ(NextBesidesActivation(), "copydata 0 0 0 null");
  // Only WM_COPYDATA crosses.
  SetLastError(0);
  EXPECT_EQ(SendMessage(main, WM_USER, 1, 2), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

TEST_F(CrossProcess, ACopyThatDiedHasNoWindowsAndLeavesNoSocket) {
  std::istringstream ready(Next());
  std::string word, mainHex;
  ready >> word >> mainHex;
  ASSERT_EQ(word, "ready");
  const HWND main = HandleFrom(mainHex);
  ASSERT_TRUE(IsWindow(main));
  const std::string socket = pictavo::kernel::RuntimeFolder() + "/window-" +
                             std::to_string(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(main)) >> 20) +
                             ".sock";
  EXPECT_TRUE(std::filesystem::exists(socket));
  Kill();
  EXPECT_FALSE(IsWindow(main));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_FALSE(std::filesystem::exists(socket));
  COPYDATASTRUCT record{0, 1, const_cast<char*>("")};
  EXPECT_EQ(SendMessage(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record)), 0);
  EXPECT_FALSE(IsIconic(main));
  EXPECT_EQ(GetLastActivePopup(main), nullptr);
}

}  // namespace
