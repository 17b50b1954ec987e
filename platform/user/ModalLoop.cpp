// The message loop of modal states.
#include "platform/user/ModalLoop.h"

#include "platform/user/Message.h"

namespace pictavo::user {

bool RunModalLoop(const ModalLoop& loop) {
  auto done = [&] { return loop.done && loop.done(); };
  LONG idleCount = 0;
  bool idle = true;
  MSG msg{};
  while (!done()) {
    // Idle work runs while the queue is empty, then the loop waits for the next message.
    while (idle && loop.idle && !PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!loop.idle(idleCount++)) idle = false;
      if (done()) return true;
    }
    const BOOL got = GetMessage(&msg, nullptr, 0, 0);
    if (got == -1) return false;
    if (!got) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (!loop.preTranslate || !loop.preTranslate(msg)) {
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
    idle = true;
    idleCount = 0;
  }
  return true;
}

}  // namespace pictavo::user
