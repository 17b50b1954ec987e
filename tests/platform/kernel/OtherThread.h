// A call made on a thread of its own, for tests of what another thread sees or may take.
#pragma once

#include "platform/kernel/Thread.h"
#include "platform/kernel/Wait.h"

// Runs `body` on another thread and returns its result.
template <class Body>
DWORD OnOtherThread(Body body) {
  struct Call {
    Body body;
    static DWORD WINAPI Run(LPVOID p) { return static_cast<Call*>(p)->body(); }
  } call{body};
  HANDLE thread = CreateThread(nullptr, 0, &Call::Run, &call, 0, nullptr);
  WaitForSingleObject(thread, INFINITE);
  DWORD code = 0;
  GetExitCodeThread(thread, &code);
  CloseHandle(thread);
  return code;
}
