// Mouse-leave tracking for toolkit windows: one WM_MOUSELEAVE after the cursor has left the
// window's client area (or another window covers the point under it), found by a 100 ms timer.
#pragma once

#include "platform/user/Input.h"
#include "platform/user/User.h"

// Starts the timer for TME_LEAVE requests; FALSE for a short structure or a dead window, 0 for
// other flags.
BOOL TrackMouseLeave(LPTRACKMOUSEEVENT lpEventTrack);
void CALLBACK TrackMouseLeaveTimerProc(HWND hwnd, UINT uMsg, UINT_PTR idEvent, DWORD dwTime);
