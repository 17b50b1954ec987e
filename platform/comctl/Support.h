// Internal: what the control implementations share — per-window state and the messages every
// control answers alike, notifications to the parent, custom draw, painting, fonts, colours and
// text helpers.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/base/Geometry.h"
#include "platform/base/WinTypes.h"
#include "platform/comctl/Notify.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/ControlsInternal.h"
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
void RegisterReBarClass();

// The notify window of a new control: its parent, or its owner for a pop-up.
HWND NotifyWindowOf(const CREATESTRUCT& cs);

// The window procedure of a control class: the state is attached at WM_NCCREATE (with the notify
// window of the creation) and detached at WM_NCDESTROY; `Handle` gets every message in between
// while holding a reference to it.
template <class State, LRESULT (*Handle)(State&, HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    WindowState<State>::Attach(hwnd)->notify = NotifyWindowOf(*reinterpret_cast<CREATESTRUCT*>(lParam));
    return DefWindowProc(hwnd, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    WindowState<State>::Detach(hwnd);
    return DefWindowProc(hwnd, message, wParam, lParam);
  }
  std::shared_ptr<State> state = WindowState<State>::Get(hwnd);
  if (!state) return DefWindowProc(hwnd, message, wParam, lParam);
  return Handle(*state, hwnd, message, wParam, lParam);
}

// What a control's handler leaves to DefControlProc besides WM_ERASEBKGND (nothing to erase: each
// control's painting fills its background) and WM_GETFONT, which every control answers alike.
enum CommonMessages : unsigned {
  kSetFont = 1u << 0,          // WM_SETFONT keeps the font, redrawing when lParam asks
  kSetNotifyWindow = 1u << 1,  // CCM_SETNOTIFYWINDOW changes where notifications go; the old one
};
// Answers those of `common` and the two above; the rest goes to DefWindowProc.
LRESULT DefControlProc(ControlBase& control, UINT message, WPARAM wParam, LPARAM lParam, unsigned common = 0);

// Fills the header (hwndFrom, idFrom, code) and sends WM_NOTIFY; 0 when there is no one to tell.
LRESULT SendNotify(HWND from, HWND to, UINT code, NMHDR* hdr);
LRESULT SendNotify(const ControlBase& control, UINT code, NMHDR* hdr);
// A bare notification (NM_SETFOCUS ...).
LRESULT SendSimpleNotify(const ControlBase& control, UINT code);
// WM_COMMAND-free controls report scrolling with WM_HSCROLL / WM_VSCROLL to the notify window.
void SendScroll(const ControlBase& control, bool vertical, WORD code, int position);

// NM_CUSTOMDRAW with the stage set; the record is filled by the caller (hdc, rc, item ...).
LRESULT SendCustomDraw(const ControlBase& control, NMCUSTOMDRAW* record, DWORD stage);

// The standard controls' helpers serve these too.
using user::WindowText;
using user::controls::KeyDown;  // as of the message being handled
using user::controls::LineHeightOf;
using user::controls::Selected;
using user::controls::TextWidth;

DWORD StyleOf(const ControlBase& control);

// Fonts.
HFONT FontOf(const ControlBase& control);  // the font set, else the default GUI font
HFONT BoldFontOf(HFONT font);              // a bold font like `font`, kept for the process
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
// The state images of check-box items (16 x 16): `blanks` empty images, then the box unchecked
// and checked.
HIMAGELIST CreateCheckBoxImages(int blanks);

// Text.
std::string TextOf(LPCSTR text);  // null gives ""
// Copies into a caller's buffer (NUL-terminated, cut at a character boundary); the bytes copied.
int CopyText(std::string_view text, LPSTR buffer, int bufferMax);
int CompareNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// Mouse position of a mouse message.
POINT PointFrom(LPARAM lParam);
// The cursor position in a window's client coordinates.
POINT CursorIn(HWND hwnd);
// Whether the pointer has gone far enough from where a button went down to start a drag.
bool BeyondDragDistance(POINT start, POINT pt);

// Where a scroll request of WM_VSCROLL / WM_HSCROLL (SB_LINEUP ... SB_BOTTOM) takes `pos`, moving
// `line` a line and a page of the window's bar a page; nothing for a request that moves nothing.
std::optional<int> ScrolledPosition(HWND hwnd, bool vertical, WORD code, int pos, int line);

// Paints with the DC WM_PAINT was given (WM_PRINTCLIENT-style painting), or BeginPaint/EndPaint.
class PaintScope {
 public:
  PaintScope(HWND hwnd, WPARAM givenDc);
  HDC Dc() const { return m_paint.Dc(); }
  // The part to paint (the update region's box, or the client area).
  const RECT& Area() const { return m_area; }

 private:
  RECT m_area;
  user::controls::PaintDc m_paint;
};

// WM_PAINT and WM_PRINTCLIENT: `paint(control, dc)`, or `paint(control, dc, area)` for painters
// that keep to the part to paint.
template <class State, class Painter>
LRESULT PaintControl(State& control, WPARAM givenDc, Painter paint) {
  PaintScope scope(control.hwnd, givenDc);
  if constexpr (std::is_invocable_v<Painter, State&, HDC, const RECT&>)
    paint(control, scope.Dc(), scope.Area());
  else
    paint(control, scope.Dc());
  return 0;
}

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
