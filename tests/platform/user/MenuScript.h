// Drives a menu loop as a user would: each time the loop waits (WM_ENTERIDLE to its owner) the
// next step runs; a step that returns false is tried again at the next wait (for something the
// loop does on its own, such as a submenu opening after the pointer rests). A menu still open
// when the steps are used up, or after a generous guard time, is ended with EndMenu and the
// test fails instead of hanging.
#pragma once

#include <functional>
#include <vector>

#include "Recorder.h"
#include "platform/user/Menu.h"

namespace testing_user {

class MenuFixture : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    owner = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 500, 400});
    SetForegroundWindow(owner);
    SetActiveWindow(owner);
    PumpPending();
  }
  void TearDown() override {
    using pictavo::user::InjectKey;
    using pictavo::user::InjectMouseButton;
    using pictavo::user::MouseButton;
    for (UINT vk : {VK_SHIFT, VK_CONTROL, VK_MENU})
      if (GetAsyncKeyState(static_cast<int>(vk)) < 0) InjectKey({vk, false});
    for (MouseButton b : {MouseButton::kLeft, MouseButton::kRight})
      if (GetAsyncKeyState(b == MouseButton::kLeft ? VK_LBUTTON : VK_RBUTTON) < 0)
        InjectMouseButton(b, false);
    pictavo::user::InjectMouseMove(POINT{0, 0});
    PumpPending();
    UserTest::TearDown();
  }

  // Plays `steps` during the next menu loop of `owner`.
  void Play(std::vector<std::function<bool()>> steps) {
    m_steps = std::move(steps);
    m_next = 0;
    m_stuck = false;
    Recorder::Get().Handle(owner, WM_ENTERIDLE, [this](HWND, WPARAM, LPARAM) -> LRESULT {
      if (m_next >= m_steps.size()) {
        m_stuck = true;
        EndMenu();
      } else if (m_steps[m_next]()) {
        ++m_next;
        // The next step comes at the next wait, also when this one gave the loop nothing to do.
        PostMessage(owner, WM_NULL, 0, 0);
      }
      return 0;
    });
    Recorder::Get().Handle(owner, WM_TIMER, [this](HWND, WPARAM id, LPARAM) -> LRESULT {
      if (id == kGuardTimer) {
        m_stuck = true;
        EndMenu();
      }
      return 0;
    });
    SetTimer(owner, kGuardTimer, 10000, nullptr);
  }
  // Whether every step ran and the menu closed by itself.
  bool Finished() {
    KillTimer(owner, kGuardTimer);
    return !m_stuck && m_next == m_steps.size();
  }

  HWND owner = nullptr;

 private:
  static constexpr UINT_PTR kGuardTimer = 0x6A7D;
  std::vector<std::function<bool()>> m_steps;
  size_t m_next = 0;
  bool m_stuck = false;
};

// Presses and releases a key.
inline void Tap(UINT virtualKey) {
  pictavo::user::InjectKey({virtualKey, true});
  pictavo::user::InjectKey({virtualKey, false});
}

inline POINT Center(const RECT& r) {
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

inline void ClickAt(POINT screen, pictavo::user::MouseButton button = pictavo::user::MouseButton::kLeft) {
  pictavo::user::InjectMouseMove(screen);
  pictavo::user::InjectMouseButton(button, true);
  pictavo::user::InjectMouseButton(button, false);
}

// The screen rectangle of an item of an open popup (or of a window's menu bar); empty when it
// is not shown.
inline RECT ItemRect(HMENU menu, int position, HWND hwnd = nullptr) {
  RECT r{};
  if (!GetMenuItemRect(hwnd, menu, static_cast<UINT>(position), &r)) return RECT{};
  return r;
}

inline bool Shown(HMENU menu) {
  RECT r{};
  return GetMenuItemRect(nullptr, menu, 0, &r) != FALSE;
}

// Step helpers: each does its action and counts as done.
inline std::function<bool()> Keys(std::vector<UINT> keys) {
  return [keys] {
    for (UINT vk : keys) Tap(vk);
    return true;
  };
}
inline std::function<bool()> ClickItem(
    HMENU menu, int position, pictavo::user::MouseButton button = pictavo::user::MouseButton::kLeft) {
  return [=] {
    const RECT r = ItemRect(menu, position);
    if (r.right <= r.left) return false;
    ClickAt(Center(r), button);
    return true;
  };
}

}  // namespace testing_user
