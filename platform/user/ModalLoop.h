// The message loop of modal states (dialogs, message boxes, menus, size/move tracking). The caller
// owns the rest of the modal protocol: disabling the owner before the loop (EnableWindow FALSE)
// and enabling it again before hiding the modal window, so activation returns to the owner.
#pragma once

#include <functional>

#include "platform/base/WinTypes.h"
#include "platform/user/Message.h"

namespace pictavo::user {

struct ModalLoop {
  // Ends the loop when true; checked before each wait and after each message. What makes it true
  // outside a message the loop dispatches (in a message sent by another thread, say) posts a
  // message too (WM_NULL), so the waiting loop wakes and sees it.
  std::function<bool()> done;
  // Sees each retrieved message first; true when it handled it (no translation or dispatch):
  // IsDialogMessage, PreTranslateMessage, CallMsgFilter.
  std::function<bool(MSG&)> preTranslate;
  // Called when the queue is empty, with 0 the first time after a message and counting up;
  // returning true asks to be called again before the loop waits (WM_KICKIDLE / OnIdle,
  // WM_ENTERIDLE to the owner).
  std::function<bool(LONG count)> idle;
};

// Runs until `done` says so (true) or WM_QUIT arrives (false; the quit is posted again, so the
// loops outside this one end too).
bool RunModalLoop(const ModalLoop& loop);

}  // namespace pictavo::user
