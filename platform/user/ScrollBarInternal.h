// Internal: scroll bar geometry, drawing and mouse tracking, shared by the scroll bar control
// and the standard bars of WS_HSCROLL / WS_VSCROLL windows.
#pragma once

#include <functional>

#include "platform/base/WinTypes.h"
#include "platform/user/Controls.h"

namespace pictavo::user::detail {

// Called by the non-client code: draws the standard bars of the window into its window DC
// (window coordinates), and operates them for a press on HTVSCROLL / HTHSCROLL until release.
void DrawWindowScrollBars(HWND hwnd, HDC windowDc);
void TrackWindowScrollBar(HWND hwnd, int hit, POINT screen);

}  // namespace pictavo::user::detail

namespace pictavo::user::controls {

struct ScrollModel {
  int min = 0;
  int max = 100;
  UINT page = 0;
  int pos = 0;
  int trackPos = 0;
  bool tracking = false;
  UINT disabledArrows = ESB_ENABLE_BOTH;
  bool emptyDisabled = false;  // kept visible but disabled (SIF_DISABLENOSCROLL) for an empty range
};

// Applies SCROLLINFO to a model (the range clamps the page, the page and range clamp the
// position). Returns the position.
int ApplyScrollInfo(ScrollModel& model, const SCROLLINFO& info);
void FillScrollInfo(const ScrollModel& model, SCROLLINFO* info);
// Whether the range leaves anything to scroll.
bool HasScrollRange(const ScrollModel& model);

enum class ScrollPart { kNone, kLineUp, kPageUp, kThumb, kPageDown, kLineDown };

struct ScrollLayout {
  RECT up{};
  RECT down{};
  RECT track{};  // between the arrows
  RECT thumb{};  // empty when there is none
};
ScrollLayout LayoutScrollBar(const RECT& bar, bool vertical, const ScrollModel& model);
ScrollPart HitScrollPart(const ScrollLayout& layout, bool vertical, POINT pt);
// `enabled` false draws the whole bar disabled; `track` fills the track (null: the default).
void DrawScrollBar(HDC dc, const RECT& bar, bool vertical, const ScrollModel& model, bool enabled,
                   ScrollPart pressed, HBRUSH track, bool focused);

// One press on a bar, until the button is released: the owner gets WM_HSCROLL / WM_VSCROLL
// (SB_LINE*, SB_PAGE* repeated by timer while held, SB_THUMBTRACK while dragging,
// SB_THUMBPOSITION on release, SB_ENDSCROLL at the end).
struct ScrollTracker {
  HWND capture = nullptr;  // the window holding the mouse meanwhile
  HWND notify = nullptr;   // where WM_HSCROLL / WM_VSCROLL go
  HWND control = nullptr;  // their lParam: the scroll bar control, or null
  bool vertical = true;
  std::function<RECT()> screenRect;  // the bar
  std::function<ScrollModel()> model;
  std::function<void(int trackPos, bool tracking)> setTrack;
  std::function<void(ScrollPart pressed)> paint;
};
void TrackScrollBar(const ScrollTracker& tracker, POINT screen);

}  // namespace pictavo::user::controls
