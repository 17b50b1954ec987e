// The small pop-up that names the button under the pointer: a borderless top-level window owned
// by the bar's top-level window, placed below the pointer so that it never covers the button,
// and transparent to the mouse.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

namespace pictavo::buttonbar {

class TipWindow {
 public:
  TipWindow() = default;
  ~TipWindow();
  TipWindow(const TipWindow&) = delete;
  TipWindow& operator=(const TipWindow&) = delete;

  // Shows `text` with its top-left corner near `screenPoint`, kept on the desktop. The pop-up is
  // created on first use, owned by `owner`'s top-level window. False when it cannot be created.
  bool Show(HWND owner, const CString& text, POINT screenPoint);
  void Hide();
  void Destroy();
  [[nodiscard]] bool IsVisible() const;
  [[nodiscard]] HWND Hwnd() const { return m_hwnd; }

 private:
  HWND m_hwnd = nullptr;  // UI thread only
};

}  // namespace pictavo::buttonbar
