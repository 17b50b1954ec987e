// Multimedia timers: one-shot and periodic events with millisecond precision, run by one timer
// thread on absolute deadlines, so a periodic timer does not drift. Callbacks run on that thread.
#pragma once

#include "platform/base/WinTypes.h"

using MMRESULT = UINT;

#ifndef MMSYSERR_NOERROR
#define MMSYSERR_NOERROR 0u
#endif
#ifndef MMSYSERR_ERROR
#define MMSYSERR_ERROR 1u
#endif
#ifndef MMSYSERR_INVALPARAM
#define MMSYSERR_INVALPARAM 11u
#endif
#define TIMERR_BASE 96u
#define TIMERR_NOERROR 0u
#define TIMERR_NOCANDO (TIMERR_BASE + 1)

#define TIME_ONESHOT 0x0000u
#define TIME_PERIODIC 0x0001u
#define TIME_CALLBACK_FUNCTION 0x0000u
#define TIME_CALLBACK_EVENT_SET 0x0010u
#define TIME_CALLBACK_EVENT_PULSE 0x0020u
#define TIME_KILL_SYNCHRONOUS 0x0100u

struct TIMECAPS {
  UINT wPeriodMin;
  UINT wPeriodMax;
};
using LPTIMECAPS = TIMECAPS*;

using LPTIMECALLBACK = void(CALLBACK*)(UINT timerId, UINT message, DWORD_PTR user, DWORD_PTR reserved1,
                                       DWORD_PTR reserved2);

// Starts a timer after `delay` ms (and every `delay` ms with TIME_PERIODIC); returns its id, or 0
// when the delay is out of range or the callback missing. With TIME_CALLBACK_EVENT_SET or
// TIME_CALLBACK_EVENT_PULSE, `callback` is an event HANDLE to signal instead of a function.
// Every timer is served at least as precisely as `resolution` asks, so it is not used.
MMRESULT timeSetEvent(UINT delay, UINT resolution, LPTIMECALLBACK callback, DWORD_PTR user, UINT flags);
// After it returns on any other thread, the timer's callback neither runs nor will run. On the
// timer thread (from a callback) it returns at once. The one wait it skips is for a callback that
// is itself blocked on a critical section the calling thread holds: waiting would hang both.
MMRESULT timeKillEvent(UINT timerId);
MMRESULT timeBeginPeriod(UINT period);
MMRESULT timeEndPeriod(UINT period);
MMRESULT timeGetDevCaps(LPTIMECAPS caps, UINT size);
// Milliseconds, the same clock as GetTickCount.
DWORD timeGetTime();
