#include "toolkit/bars/PlxTrackMouse.h"

#include "platform/user/Timer.h"
#include "platform/user/WindowPos.h"

namespace {

constexpr UINT kTrackPeriodMs = 100;

}  // namespace

BOOL TrackMouseLeave(LPTRACKMOUSEEVENT lpEventTrack) {
  if (lpEventTrack == nullptr || lpEventTrack->cbSize <= 15 || !IsWindow(lpEventTrack->hwndTrack))
    return FALSE;
  if ((lpEventTrack->dwFlags & TME_LEAVE) == 0) return 0;
  // The flags are the timer id, so a second request restarts the same timer.
  return SetTimer(lpEventTrack->hwndTrack, lpEventTrack->dwFlags, kTrackPeriodMs, TrackMouseLeaveTimerProc) !=
         0;
}

void CALLBACK TrackMouseLeaveTimerProc(HWND hwnd, UINT, UINT_PTR idEvent, DWORD) {
  RECT rect{};
  GetClientRect(hwnd, &rect);
  POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
  ClientToScreen(hwnd, &corners[0]);
  ClientToScreen(hwnd, &corners[1]);
  POINT cursor{};
  GetCursorPos(&cursor);
  const bool inside = cursor.x >= corners[0].x && cursor.x < corners[1].x && cursor.y >= corners[0].y &&
                      cursor.y < corners[1].y;
  if (inside && WindowFromPoint(cursor) == hwnd) return;
  KillTimer(hwnd, idEvent);
  PostMessage(hwnd, WM_MOUSELEAVE, 0, 0);
}
