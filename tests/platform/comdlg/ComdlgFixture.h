// What the common dialog tests share: the headless display, the program's resources, a folder of
// files made for each test, an owner window, and two ways to drive a modal dialog while its loop
// runs: steps played each time the dialog's loop goes idle (WM_ENTERIDLE to the owner), and the
// input script. Neither sleeps: a dialog left up when the steps run out is ended and reported.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/display/Display.h"
#include "platform/display/InputSynth.h"
#include "platform/display/ScriptPlayer.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Thread.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Dialog.h"
#include "platform/user/User.h"
#include "tests/support/ThreadWindows.h"

namespace comdlg_test {

// Steps run one per idle moment of the dialog's loop, each given the dialog window.
class IdleSteps {
 public:
  using Step = std::function<void(HWND dialog)>;

  IdleSteps& Then(Step step) {
    m_steps.push_back(std::move(step));
    return *this;
  }
  IdleSteps& Type(std::string text) {
    return Then([text](HWND) { pictavo::display::TypeText(text); });
  }
  IdleSteps& Key(UINT virtualKey, UINT modifiers = 0) {
    return Then([=](HWND) { pictavo::display::PressKey(virtualKey, modifiers); });
  }

  bool Done() const { return m_steps.empty(); }
  // The dialog was still up when the steps ran out, and was cancelled.
  bool Stuck() const { return m_stuck; }

  // Called by the owner on WM_ENTERIDLE.
  void Idle(HWND dialog) {
    if (m_steps.empty()) {
      m_stuck = true;
      EndDialog(dialog, IDCANCEL);
      return;
    }
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    step(dialog);
    // A step that only looks makes no message; this one brings the next idle moment.
    PostMessage(dialog, WM_NULL, 0, 0);
  }

 private:
  std::deque<Step> m_steps;
  bool m_stuck = false;
};

inline IdleSteps*& ActiveSteps() {
  static IdleSteps* steps = nullptr;
  return steps;
}

inline LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && ActiveSteps()) {
    ActiveSteps()->Idle(reinterpret_cast<HWND>(lParam));
    return 0;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

// The text of a list box item, a combo box item, or a window.
inline std::string ListItem(HWND list, int index) {
  std::string text(static_cast<size_t>(SendMessage(list, LB_GETTEXTLEN, index, 0)) + 1, '\0');
  SendMessage(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  return text.c_str();
}
inline std::vector<std::string> ListItems(HWND list) {
  std::vector<std::string> items;
  const auto count = static_cast<int>(SendMessage(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) items.push_back(ListItem(list, i));
  return items;
}
inline std::string WindowText(HWND hwnd) {
  char text[1024] = {};
  GetWindowText(hwnd, text, sizeof text);
  return text;
}

class ComdlgTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
  }

  void SetUp() override {
    m_workingFolder = std::filesystem::current_path().string();
    static int counter = 0;
    m_root = (std::filesystem::temp_directory_path() /
              ("comdlg-" + std::to_string(getpid()) + "-" + std::to_string(++counter)))
                 .string();
    std::filesystem::create_directories(m_root);
    WNDCLASS wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.lpszClassName = "ComdlgTestOwner";
    RegisterClass(&wc);  // once per process; later calls fail harmlessly
    m_owner = CreateWindowEx(0, "ComdlgTestOwner", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 900,
                             700, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(m_owner, nullptr);
  }

  void TearDown() override {
    pictavo::display::StopScript();
    ActiveSteps() = nullptr;
    if (IsWindow(m_owner)) DestroyWindow(m_owner);
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
    std::filesystem::current_path(m_workingFolder);
    std::error_code ec;
    std::filesystem::remove_all(m_root, ec);
  }

  // A file (with its folders) below the test's folder; its absolute path.
  std::string File(const std::string& relative, const std::string& content = "x") {
    const std::filesystem::path path = std::filesystem::path(m_root) / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << content;
    return path.string();
  }
  std::string Folder(const std::string& relative) {
    const std::filesystem::path path = std::filesystem::path(m_root) / relative;
    std::filesystem::create_directories(path);
    return path.string();
  }
  std::string Path(const std::string& relative) const { return m_root + "/" + relative; }

  // The steps for the next dialog; they drive it instead of a script.
  IdleSteps& Steps() {
    ActiveSteps() = &m_steps;
    return m_steps;
  }

  // Starts `script` with a last step that waits for the window titled `title` to go; the dialog
  // call that follows runs the loop the script plays in. A script that cannot finish ends the
  // dialogs and leaves its message in m_scriptFailure.
  void Script(const std::string& script, const std::string& title) {
    ActiveSteps() = nullptr;
    pictavo::display::StopScript();  // the last one may still wait for its window to go
    std::vector<pictavo::display::ScriptStep> steps;
    pictavo::display::ScriptError error;
    const std::string full = script + "\nwait-gone \"" + title + "\" 20\n";
    ASSERT_TRUE(pictavo::display::ParseScript(full, &steps, &error)) << error.message;
    pictavo::display::ScriptOptions options;
    options.name = "test";
    options.onFailure = [this](const std::string& message) {
      m_scriptFailure = message;
      pictavo::test::EndThreadDialogs(IDCANCEL);
    };
    ASSERT_TRUE(pictavo::display::PlayScript(std::move(steps), std::move(options)));
  }

  std::string m_root;
  std::string m_workingFolder;
  HWND m_owner = nullptr;
  IdleSteps m_steps;
  std::string m_scriptFailure;
};

}  // namespace comdlg_test
