#include "render/PumpWait.h"

#include "platform/kernel/Wait.h"
#include "platform/user/Message.h"

namespace pictavo::render {

namespace {
constexpr DWORD kSliceMs = 200;

bool IsInput(UINT message) {
  return (message >= WM_MOUSEMOVE && message <= 0x209) || (message >= WM_KEYDOWN && message <= 0x108);
}
}  // namespace

void DispatchWaiting(BOOL bPumpInput) {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Someone else's loop must see it.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (!bPumpInput && IsInput(msg.message)) continue;
    DispatchMessage(&msg);
  }
}

void WaitAllPumping(const HANDLE* events, int count, BOOL bPumpInput) {
  for (int i = 0; i < count; ++i) {
    if (events[i] == nullptr) continue;
    for (;;) {
      DispatchWaiting(bPumpInput);
      if (WaitForSingleObject(events[i], 0) == WAIT_OBJECT_0) break;
      MsgWaitForMultipleObjects(1, &events[i], FALSE, kSliceMs, QS_ALLINPUT);
    }
  }
}

}  // namespace pictavo::render
