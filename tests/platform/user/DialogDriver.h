// Drives a modal dialog as a user at the keyboard would: each time the dialog's loop goes idle
// (WM_ENTERIDLE to its owner) the next step runs; when the steps run out while the dialog is still
// up, it is ended with kStuck so a test fails instead of hanging.
#pragma once

#include <cstdlib>
#include <deque>
#include <functional>
#include <string>

#include "Recorder.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Dialog.h"
#include "platform/user/Display.h"

namespace testing_user {

inline constexpr INT_PTR kStuck = 0x5717;

enum Modifier : UINT { kNone = 0, kShift = 1, kAlt = 2, kCtrl = 4 };

inline void PressKey(UINT virtualKey, UINT modifiers = kNone) {
  using pictavo::user::InjectKey;
  if (modifiers & kShift) InjectKey({VK_SHIFT, true});
  if (modifiers & kCtrl) InjectKey({VK_CONTROL, true});
  if (modifiers & kAlt) InjectKey({VK_MENU, true});
  InjectKey({virtualKey, true});
  InjectKey({virtualKey, false});
  if (modifiers & kAlt) InjectKey({VK_MENU, false});
  if (modifiers & kCtrl) InjectKey({VK_CONTROL, false});
  if (modifiers & kShift) InjectKey({VK_SHIFT, false});
}

class IdleSteps {
 public:
  using Step = std::function<void(HWND dialog)>;

  // `owner` is a recorder window; its WM_ENTERIDLE plays the steps.
  explicit IdleSteps(HWND owner) {
    Recorder::Get().Handle(owner, WM_ENTERIDLE, [this](HWND, WPARAM, LPARAM lParam) -> LRESULT {
      HWND dialog = reinterpret_cast<HWND>(lParam);
      if (m_steps.empty()) {
        EndDialog(dialog, kStuck);
        return 0;
      }
      Step step = std::move(m_steps.front());
      m_steps.pop_front();
      step(dialog);
      return 0;
    });
  }
  IdleSteps& Then(Step step) {
    m_steps.push_back(std::move(step));
    return *this;
  }
  IdleSteps& Key(UINT virtualKey, UINT modifiers = kNone) {
    return Then([=](HWND) { PressKey(virtualKey, modifiers); });
  }
  bool Done() const { return m_steps.empty(); }

 private:
  std::deque<Step> m_steps;
};

// The resources of the test dialogs (resources/test_mfc.xml).
inline void UseTestResources() {
  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
}

// The id of the control with the focus, or 0.
inline int FocusId() {
  HWND focus = GetFocus();
  return focus ? GetDlgCtrlID(focus) : 0;
}

}  // namespace testing_user
