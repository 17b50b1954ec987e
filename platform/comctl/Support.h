// Internal: what the control implementations share — per-window state, notifications to the
// parent, custom draw, fonts, colours and text helpers.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/base/Geometry.h"
#include "platform/base/WinTypes.h"
#include "platform/comctl/Notify.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/User.h"

namespace pictavo::comctl::detail {

// What every control window keeps. UI thread of the window only.
struct ControlBase {
  HWND hwnd = nullptr;
  HWND notify = nullptr;  // where WM_NOTIFY goes: the parent at creation (CCM_SETNOTIFYWINDOW)
  HFONT font = nullptr;   // WM_SETFONT; null: the default GUI font
  bool alive = true;      // false once the window is destroyed (a handler may destroy it)
};

// The state of a window of one class, in the class's extra bytes. A message handler holds a
// reference, so a nested call that destroys the window leaves it with `alive == false` instead
// of freed memory. Classes that use it reserve sizeof(void*) extra bytes.
template <class State>
class WindowState {
 public:
  static std::shared_ptr<State> Attach(HWND hwnd) {
    auto holder = std::make_unique<std::shared_ptr<State>>(std::make_shared<State>());
    (*holder)->hwnd = hwnd;
    std::shared_ptr<State> state = *holder;
    SetWindowLongPtr(hwnd, 0, reinterpret_cast<LONG_PTR>(holder.release()));
    return state;
  }
  static std::shared_ptr<State> Get(HWND hwnd) {
    auto* holder = reinterpret_cast<std::shared_ptr<State>*>(GetWindowLongPtr(hwnd, 0));
    return holder ? *holder : nullptr;
  }
  static void Detach(HWND hwnd) {
    std::unique_ptr<std::shared_ptr<State>> holder(
        reinterpret_cast<std::shared_ptr<State>*>(GetWindowLongPtr(hwnd, 0)));
    SetWindowLongPtr(hwnd, 0, 0);
    if (holder && *holder) (*holder)->alive = false;
  }
};

// Registers a control class (CS_GLOBALCLASS, one pointer of extra bytes); false when a class
// of that name exists already.
bool RegisterControlClass(LPCSTR name, WNDPROC proc, UINT style, LPCSTR cursor = IDC_ARROW);
// The classes, registered by InitCommonControls.
void RegisterHeaderClass();
void RegisterListViewClass();
void RegisterTreeViewClass();
void RegisterTabClass();
void RegisterTrackbarClass();
void RegisterUpDownClass();
void RegisterProgressClass();
void RegisterTooltipClass();
void RegisterStatusBarClass();

// The notify window of a new control: its parent, or its owner for a pop-up.
HWND NotifyWindowOf(const CREATESTRUCT& cs);
// Fills the header (hwndFrom, idFrom, code) and sends WM_NOTIFY; 0 when there is no one to tell.
LRESULT SendNotify(HWND from, HWND to, UINT code, NMHDR* hdr);
LRESULT SendNotify(const ControlBase& control, UINT code, NMHDR* hdr);
// A bare notification (NM_SETFOCUS ...).
LRESULT SendSimpleNotify(const ControlBase& control, UINT code);
// WM_COMMAND-free controls report scrolling with WM_HSCROLL / WM_VSCROLL to the notify window.
void SendScroll(const ControlBase& control, bool vertical, WORD code, int position);

// NM_CUSTOMDRAW with the stage set; the record is filled by the caller (hdc, rc, item ...).
LRESULT SendCustomDraw(const ControlBase& control, NMCUSTOMDRAW* record, DWORD stage);

// Fonts.
HFONT FontOf(const ControlBase& control);
HFONT BoldFontOf(HFONT font);  // a bold font like `font`, kept for the process
int FontHeight(HFONT font);    // tmHeight
int TextWidth(HDC dc, std::string_view text);
SIZE TextExtent(HFONT font, std::string_view text);

// Colours: CLR_DEFAULT (and CLR_NONE where it makes no sense) stand for a system colour.
COLORREF ColorOr(COLORREF color, int sysColorIndex);
void FillSolid(HDC dc, const RECT& rect, COLORREF color);
void FrameSolid(HDC dc, const RECT& rect, COLORREF color);
// A dotted line every other pixel (tree lines, focus cues).
void DottedLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF color);
// A filled triangle pointing up, down, left or right, centred in `rect`, `size` pixels across.
enum class Arrow { kUp, kDown, kLeft, kRight };
void DrawArrow(HDC dc, const RECT& rect, Arrow direction, int size, COLORREF color);
// The flat check box of check-box items (13 x 13) centred in `rect`.
void DrawCheckBox(HDC dc, const RECT& rect, bool checked);

// Text.
std::string TextOf(LPCSTR text);  // null gives ""
// Copies into a caller's buffer (NUL-terminated, cut at a character boundary); the bytes copied.
int CopyText(std::string_view text, LPSTR buffer, int bufferMax);
std::string WindowTextOf(HWND hwnd);
int CompareNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// Keys as of the message being handled.
bool KeyDown(int virtualKey);
// Mouse position of a mouse message.
POINT PointFrom(LPARAM lParam);
// The cursor position in a window's client coordinates.
POINT CursorIn(HWND hwnd);

// Paints with the DC WM_PAINT was given (WM_PRINTCLIENT-style painting), or BeginPaint/EndPaint.
class PaintScope {
 public:
  PaintScope(HWND hwnd, WPARAM givenDc);
  ~PaintScope();
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC Dc() const { return m_dc; }
  // The part to paint (the update region's box, or the client area).
  const RECT& Area() const { return m_area; }

 private:
  HWND m_hwnd;
  HDC m_dc = nullptr;
  bool m_began = false;
  PAINTSTRUCT m_ps{};
  RECT m_area{};
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

// Saves and restores a DC's whole state for a scope (custom draw handlers change it).
class SavedDc {
 public:
  explicit SavedDc(HDC dc) : m_dc(dc), m_saved(SaveDC(dc)) {}
  ~SavedDc() {
    if (m_saved) RestoreDC(m_dc, m_saved);
  }
  SavedDc(const SavedDc&) = delete;
  SavedDc& operator=(const SavedDc&) = delete;

 private:
  HDC m_dc;
  int m_saved;
};

}  // namespace pictavo::comctl::detail
