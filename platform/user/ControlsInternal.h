// Internal: what the standard controls share — per-window state, fonts, notifications to the
// parent, colours, owner-draw calls and UTF-8 stepping.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/base/Geometry.h"
#include "platform/base/Messages.h"
#include "platform/base/WinTypes.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Controls.h"
#include "platform/user/Paint.h"
#include "platform/user/Window.h"

namespace pictavo::user::controls {

// The state of one control window. A call of its procedure holds a reference, so a nested call
// that destroys the window (a notification handler, say) leaves the outer call with state that
// says `alive == false` instead of freed memory.
struct ControlState {
  HFONT font = nullptr;  // WM_SETFONT; null: the default GUI font
  bool alive = true;
};

// UI thread of each window; the table itself is shared by all threads.
template <class State>
class StateTable {
 public:
  std::shared_ptr<State> Find(HWND hwnd) {
    std::lock_guard lock(m_lock);
    auto it = m_states.find(hwnd);
    return it == m_states.end() ? nullptr : it->second;
  }
  std::shared_ptr<State> Create(HWND hwnd) {
    auto state = std::make_shared<State>();
    std::lock_guard lock(m_lock);
    m_states[hwnd] = state;
    return state;
  }
  void Remove(HWND hwnd) {
    std::shared_ptr<State> state;
    {
      std::lock_guard lock(m_lock);
      auto it = m_states.find(hwnd);
      if (it == m_states.end()) return;
      state = std::move(it->second);
      m_states.erase(it);
    }
    state->alive = false;
  }

 private:
  std::mutex m_lock;
  std::unordered_map<HWND, std::shared_ptr<State>> m_states;  // guarded by m_lock
};

// Window procedures of the classes.
LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ScrollBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Between a combo box and its list: private messages to the list and notification codes the
// list sends its combo box (WM_COMMAND, lParam the list) besides the LBN_ ones.
inline constexpr UINT kListBeginDrop = WM_USER + 0x7F00;  // wParam: opened by a mouse press still held
inline constexpr UINT kListEndDrop = WM_USER + 0x7F01;
inline constexpr UINT kListGetHover = WM_USER + 0x7F02;  // the item shown selected while dropped
inline constexpr UINT kListSetHover = WM_USER + 0x7F03;  // wParam: the item (scrolled into view)
inline constexpr WORD kListChosen = 0x7F01;     // an item of the drop-down was clicked (LB_GETCURSEL)
inline constexpr WORD kListCancelled = 0x7F02;  // a click outside it, or the capture went away
inline constexpr int kComboListId = 1000;
inline constexpr int kComboEditId = 1001;

// The font to draw with: the one set, else the default GUI font.
HFONT FontOrDefault(HFONT font);
// Height of a line of text in the font (tmHeight).
int LineHeightOf(HFONT font);
int TextWidth(HDC dc, std::string_view text);

DWORD StyleOf(HWND hwnd);
int ControlId(HWND hwnd);
// WM_COMMAND (id, code) from the control to its parent.
void NotifyParent(HWND control, WORD code);
bool KeyDown(int virtualKey);  // as of the message being handled

// The background of the control's client area, with the brush the parent gives.
void FillBackground(HWND control, HDC dc, HBRUSH brush, const RECT& rect);

// BeginPaint / EndPaint, or the DC WM_PAINT was given (WM_PRINTCLIENT-style painting).
class PaintDc {
 public:
  PaintDc(HWND hwnd, WPARAM givenDc);
  ~PaintDc();
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC Dc() const { return m_dc; }
  // The rectangle BeginPaint gave to update; empty with a given DC.
  const RECT& UpdateRect() const { return m_ps.rcPaint; }

 private:
  HWND m_hwnd;
  HDC m_dc = nullptr;
  bool m_began = false;
  PAINTSTRUCT m_ps{};
};

// Selects an object into a DC for a scope.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(object ? SelectObject(dc, object) : nullptr) {}
  ~Selected() {
    if (m_old) SelectObject(m_dc, m_old);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC m_dc;
  HGDIOBJ m_old;
};

// UTF-8: the start of the character after / before `pos` (never inside a sequence).
size_t NextChar(std::string_view text, size_t pos);
size_t PrevChar(std::string_view text, size_t pos);
// The start of the character containing `pos`.
size_t CharStart(std::string_view text, size_t pos);
// The code point at `pos` (U+FFFD for a malformed byte).
char32_t CharAt(std::string_view text, size_t pos);
// Upper / lower case of UTF-8 text (Latin, Greek and Cyrillic letters).
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
// The first character of `text` folded, for type-ahead.
char32_t FoldedFirst(std::string_view text);

// The system beep of a refused key.
void Beep();

}  // namespace pictavo::user::controls
