// What the customize-folder tests share: the headless display with the program's resources, a
// top-level host window that records the commands its children send, a message pump that gives
// windows their PreTranslateMessage first, and pictures compared with checked-in references
// (PICTAVO_WRITE_REFERENCES=1 writes them anew).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/Wnd.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Display.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"

namespace customize_test {

inline void StartDisplay() {
  if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
}

// Handles what is queued; windows see their messages in PreTranslateMessage first, as in the
// program's own loop.
inline void Pump() {
  MSG msg;
  while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!CWnd::WalkPreTranslateTree(nullptr, &msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessage(&msg);
    }
  }
}

inline void Tap(UINT vk, std::vector<UINT> modifiers = {}) {
  for (UINT m : modifiers) pictavo::user::InjectKey({m, true});
  pictavo::user::InjectKey({vk, true});
  pictavo::user::InjectKey({vk, false});
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) pictavo::user::InjectKey({*it, false});
  Pump();
}

inline void TypeText(const char* text) {
  for (const char* p = text; *p; ++p) {
    const SHORT scan = ::VkKeyScan(*p);
    const bool shift = (scan & 0x100) != 0;
    Tap(static_cast<UINT>(scan & 0xFF), shift ? std::vector<UINT>{VK_SHIFT} : std::vector<UINT>{});
  }
}

// A press and release at a desktop point, the pointer arriving in two steps as a hand's does.
inline void Click(CPoint point) {
  pictavo::user::InjectMouseMove(point + CPoint(1, 1));
  Pump();
  pictavo::user::InjectMouseMove(point);
  Pump();
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
  Pump();
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
  Pump();
}

// A top-level window that keeps the commands its children send (id and notification) and runs
// a step whenever kStep comes to it: modal loops of its children dispatch it while they wait.
class CHostWnd : public CWnd {
 public:
  static constexpr UINT kStep = WM_APP + 17;
  struct Command {
    UINT id;
    UINT code;
    HWND from;
  };
  std::vector<Command> commands;
  std::function<void()> step;
  std::function<void(UINT id)> onCommand;

  BOOL Make(const CRect& rect) {
    return CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)),
                    "Host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, rect, nullptr, 0);
  }
  // Runs `then` the next time the queue is looked at (inside a menu's loop, say).
  void Later(std::function<void()> then) {
    step = std::move(then);
    PostMessage(kStep);
  }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND) {
      commands.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
      if (onCommand) onCommand(LOWORD(wParam));
      return 0;
    }
    if (message == kStep) {
      auto run = std::move(step);
      step = nullptr;
      if (run) run();
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

inline bool WriteReferences() {
  const char* flag = std::getenv("PICTAVO_WRITE_REFERENCES");
  return flag != nullptr && std::string(flag) == "1";
}

// Pixels of the desktop area saved as `name` that differ from the checked-in reference of that
// name (every pixel when either picture is missing or the sizes differ).
inline int CompareWithReference(const CRect& area, const std::string& name) {
  const std::string shot = pictavo::test::SaveDesktopArea(area, name);
  if (shot.empty()) return area.Width() * area.Height();
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  const std::string reference =
      std::string(source ? source : ".") + "/tests/toolkit/customize/reference/" + name;
  if (WriteReferences())
    std::filesystem::copy_file(shot, reference, std::filesystem::copy_options::overwrite_existing);
  pictavo::test::Picture now, expected;
  if (!pictavo::test::ReadPng(shot, &now) || !pictavo::test::ReadPng(reference, &expected) ||
      now.width != expected.width || now.height != expected.height)
    return area.Width() * area.Height();
  int differ = 0;
  for (int y = 0; y < now.height; ++y)
    for (int x = 0; x < now.width; ++x) differ += now.At(x, y) != expected.At(x, y);
  return differ;
}

}  // namespace customize_test
