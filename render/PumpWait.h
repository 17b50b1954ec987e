// The UI thread's wait for workers: it keeps dispatching its own messages while it waits, so the
// windows stay painted and the workers' posted messages arrive (no TranslateMessage). With
// bPumpInput FALSE, mouse and keyboard messages are removed without being dispatched.
#pragma once

#include "platform/base/WinTypes.h"

namespace pictavo::render {

// Dispatches (or drops) every waiting message of the calling thread.
void DispatchWaiting(BOOL bPumpInput);
// Returns once every event is set; waits in slices of at most 200 ms, woken by messages.
void WaitAllPumping(const HANDLE* events, int count, BOOL bPumpInput);

}  // namespace pictavo::render
