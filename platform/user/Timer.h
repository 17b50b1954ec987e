// Timers: WM_TIMER is generated for a due timer when the queue has nothing else to deliver, one
// at a time per timer (missed periods are not made up), and the next period starts when it is
// retrieved.
#pragma once

#include "platform/base/WinTypes.h"

using TIMERPROC = void(CALLBACK*)(HWND, UINT, UINT_PTR, DWORD);

#define USER_TIMER_MINIMUM 0x0000000A
#define USER_TIMER_MAXIMUM 0x7FFFFFFF

// With a window (of the calling thread): the timer is (window, id) and the result is id; an
// existing timer with that id is replaced. Without one: a thread timer with an id of its own
// (or the one given when it names an existing thread timer). DispatchMessage of the WM_TIMER
// calls `proc` when there is one, instead of the window procedure.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);
