#include "modules/buttonbar/ButtonSet.h"

#include <algorithm>

namespace pictavo::buttonbar {

namespace {

bool Contains(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

void AddUnique(std::vector<int>& list, int index) {
  if (index >= 0 && std::find(list.begin(), list.end(), index) == list.end()) list.push_back(index);
}

}  // namespace

void ButtonSet::Reset(std::vector<RECT> rects) {
  std::vector<Button> buttons;
  buttons.reserve(rects.size());
  for (size_t i = 0; i < rects.size(); ++i) {
    RECT r = rects[i];
    // A button given with a negative size is empty rather than turned inside out.
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    buttons.push_back({r, i < m_buttons.size() ? m_buttons[i].enabled : true});
  }
  m_buttons = std::move(buttons);
  m_hot = -1;
  m_pressed = -1;
}

RECT ButtonSet::Bounds() const {
  RECT bounds{0, 0, 0, 0};
  bool any = false;
  for (const Button& b : m_buttons) {
    if (b.rect.right <= b.rect.left || b.rect.bottom <= b.rect.top) continue;
    if (!any) {
      bounds = b.rect;
      any = true;
      continue;
    }
    bounds.left = std::min(bounds.left, b.rect.left);
    bounds.top = std::min(bounds.top, b.rect.top);
    bounds.right = std::max(bounds.right, b.rect.right);
    bounds.bottom = std::max(bounds.bottom, b.rect.bottom);
  }
  return bounds;
}

bool ButtonSet::SetEnabled(int index, bool enabled) {
  if (!IsValid(index)) return false;
  m_buttons[static_cast<size_t>(index)].enabled = enabled;
  if (!enabled) {
    if (m_hot == index) m_hot = -1;
    if (m_pressed == index) m_pressed = -1;
  }
  return true;
}

void ButtonSet::SetAllEnabled(bool enabled) {
  for (int i = 0; i < Count(); ++i) SetEnabled(i, enabled);
}

int ButtonSet::HitTest(POINT point) const {
  for (int i = Count() - 1; i >= 0; --i)
    if (Contains(Rect(i), point)) return i;
  return -1;
}

ButtonLook ButtonSet::LookOf(int index, bool windowEnabled) const {
  if (!windowEnabled || !IsEnabled(index)) return ButtonLook::kDisabled;
  if (m_pressed >= 0) {
    // While a button is held only that one reacts, and only while the pointer is on it.
    return index == m_pressed && m_hot == m_pressed ? ButtonLook::kPressed : ButtonLook::kNormal;
  }
  return index == m_hot ? ButtonLook::kHot : ButtonLook::kNormal;
}

std::vector<int> ButtonSet::SetHot(int hot) {
  std::vector<int> changed;
  if (hot == m_hot) return changed;
  AddUnique(changed, m_hot);
  AddUnique(changed, hot);
  m_hot = hot;
  return changed;
}

std::vector<int> ButtonSet::MouseMove(POINT point) {
  const int hit = HitTest(point);
  return SetHot(IsEnabled(hit) ? hit : -1);
}

std::vector<int> ButtonSet::MouseLeave() {
  return SetHot(-1);
}

std::vector<int> ButtonSet::Press(POINT point, int* pressed) {
  std::vector<int> changed = MouseMove(point);
  *pressed = -1;
  if (m_hot < 0) return changed;
  m_pressed = m_hot;
  *pressed = m_pressed;
  AddUnique(changed, m_pressed);
  return changed;
}

std::vector<int> ButtonSet::Release(POINT point, int* clicked) {
  std::vector<int> changed = MouseMove(point);
  *clicked = -1;
  if (m_pressed < 0) return changed;
  if (m_hot == m_pressed && IsEnabled(m_pressed)) *clicked = m_pressed;
  AddUnique(changed, m_pressed);
  m_pressed = -1;
  return changed;
}

std::vector<int> ButtonSet::Cancel() {
  std::vector<int> changed;
  AddUnique(changed, m_pressed);
  m_pressed = -1;
  return changed;
}

}  // namespace pictavo::buttonbar
