// The buttons of a bar or pad as a user meets them: where each one is, whether it takes clicks,
// which one the pointer is over and which one is held down. No window here; the controls feed it
// their mouse messages and repaint the buttons it names.
#pragma once

#include <vector>

#include "platform/base/WinTypes.h"

namespace pictavo::buttonbar {

enum class ButtonLook { kNormal, kHot, kPressed, kDisabled };

class ButtonSet {
 public:
  // Replaces the buttons. Buttons that keep their index keep their enabled state, so a bar whose
  // pictures are reloaded looks as the program last set it; new ones start enabled.
  void Reset(std::vector<RECT> rects);

  [[nodiscard]] int Count() const { return static_cast<int>(m_buttons.size()); }
  [[nodiscard]] bool IsValid(int index) const { return index >= 0 && index < Count(); }
  [[nodiscard]] const RECT& Rect(int index) const { return m_buttons[static_cast<size_t>(index)].rect; }
  [[nodiscard]] bool IsEnabled(int index) const {
    return IsValid(index) && m_buttons[static_cast<size_t>(index)].enabled;
  }
  // The union of the buttons' rectangles.
  [[nodiscard]] RECT Bounds() const;

  // False for an index out of range. A button that stops taking clicks loses its hot and
  // pressed state.
  bool SetEnabled(int index, bool enabled);
  void SetAllEnabled(bool enabled);

  // The topmost-drawn (last) button containing the point, enabled or not; -1 for none.
  [[nodiscard]] int HitTest(POINT point) const;

  [[nodiscard]] int Hot() const { return m_hot; }
  [[nodiscard]] int Pressed() const { return m_pressed; }
  [[nodiscard]] ButtonLook LookOf(int index, bool windowEnabled) const;

  // Each returns the buttons whose look changed.
  std::vector<int> MouseMove(POINT point);
  std::vector<int> MouseLeave();
  // The press starts only on an enabled button; `pressed` gets it (-1 when none).
  std::vector<int> Press(POINT point, int* pressed);
  // Ends a press; `clicked` gets the button when the pointer is released over the enabled
  // button it was pressed on, else -1.
  std::vector<int> Release(POINT point, int* clicked);
  // Ends a press without a click (the capture went elsewhere).
  std::vector<int> Cancel();

 private:
  struct Button {
    RECT rect;
    bool enabled = true;
  };
  std::vector<int> SetHot(int hot);

  std::vector<Button> m_buttons;
  int m_hot = -1;      // enabled button under the pointer
  int m_pressed = -1;  // button held down, -1 when none
};

}  // namespace pictavo::buttonbar
