// Sending and posting messages, within a thread and across threads.
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Thread.h"
#include "platform/kernel/ThreadBlocking.h"
#include "platform/kernel/Wait.h"
#include "platform/user/CrossProcessInternal.h"
#include "platform/user/Message.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/UserInternal.h"
#include "platform/user/Window.h"
#include "platform/user/WindowTable.h"

namespace pictavo::user::detail {
namespace {

struct Target {
  bool valid = false;
  std::shared_ptr<MessageQueue> queue;  // null for the desktop, whose procedure runs anywhere
};

Target FindTarget(HWND hwnd) {
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  if (!w) return {};
  return Target{true, w->queue};
}

DWORD ReceiverOf(const void* blocker) {
  return static_cast<const SentMessage*>(blocker)->receiverThread;
}

// Sends to the thread of `target` and waits for the reply, handling what is sent to this thread
// meanwhile (unless SMTO_BLOCK), so two threads sending to each other both get their answer.
bool SendAcross(MessageQueue& target, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                DWORD timeout, LRESULT* result) {
  auto sent = std::make_shared<SentMessage>();
  sent->hwnd = hwnd;
  sent->message = message;
  sent->wParam = wParam;
  sent->lParam = lParam;
  MessageQueue& self = MessageQueue::Current();
  if (!target.Send(sent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  kernel::BlockedOn blocked(sent.get(), &ReceiverOf);
  // SMTO_BLOCK: what other threads send waits, only our own tasks are done meanwhile.
  const Work work = (flags & SMTO_BLOCK) ? Work::kTasks : Work::kAll;
  QueueWaiter incoming(self, 0, false, work);
  kernel::KernelObject* objects[2] = {sent.get(), &incoming};
  const bool forever = timeout == INFINITE;
  const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeout);
  for (;;) {
    HandleInternalWork(self, work);
    DWORD block = INFINITE;
    if (!forever) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
      block = left > 0 ? static_cast<DWORD>(left) : 0;
    }
    const DWORD r = kernel::WaitForObjects(objects, 2, false, block);
    if (r == WAIT_OBJECT_0) {
      *result = sent->Result();
      return true;
    }
    if (r == WAIT_TIMEOUT && !forever && Clock::now() >= deadline) {
      // The receiver may still handle it later; its reply then goes nowhere.
      SetLastError(ERROR_TIMEOUT);
      return false;
    }
    if (r == WAIT_FAILED) return false;
  }
}

}  // namespace

LRESULT CallProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC proc = nullptr;
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w) return 0;
    proc = w->proc;
  }
  if (!proc) return DefWindowProc(hwnd, message, wParam, lParam);
  return proc(hwnd, message, wParam, lParam);
}

void ReceiveSentMessage(MessageQueue& queue, SentMessage& sent) {
  if (sent.task) {
    sent.task();
    sent.Reply(0);
    return;
  }
  // The sender is answered even when the procedure unwinds (an exception, the thread ending).
  struct Receiving {
    MessageQueue& queue;
    SentMessage& sent;
    Receiving(MessageQueue& q, SentMessage& s) : queue(q), sent(s) { queue.input.receiving.push_back(&s); }
    ~Receiving() {
      queue.input.receiving.pop_back();
      sent.Reply(0);
    }
  } receiving(queue, sent);
  const LRESULT result = CallProcedure(sent.hwnd, sent.message, sent.wParam, sent.lParam);
  sent.Reply(result);
}

bool RunOnThread(MessageQueue& queue, std::function<void()> task, bool wait) {
  if (queue.IsCurrent()) {
    task();
    return true;
  }
  auto sent = std::make_shared<SentMessage>();
  sent->task = std::move(task);
  sent->notify = !wait;
  if (!queue.Send(sent)) return false;
  if (!wait) return true;
  kernel::BlockedOn blocked(sent.get(), &ReceiverOf);
  MessageQueue& self = MessageQueue::Current();
  QueueWaiter incoming(self, 0, false, Work::kAll);
  kernel::KernelObject* objects[2] = {sent.get(), &incoming};
  for (;;) {
    HandleInternalWork(self);
    if (kernel::WaitForObjects(objects, 2, false, INFINITE) == WAIT_OBJECT_0) return true;
  }
}

}  // namespace pictavo::user::detail

using namespace pictavo::user::detail;

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (pictavo::user::IsForeignWindowHandle(hwnd)) return foreign::SendMessage(hwnd, message, wParam, lParam);
  const Target target = FindTarget(hwnd);
  if (!target.valid) return 0;
  if (!target.queue || target.queue->IsCurrent()) return CallProcedure(hwnd, message, wParam, lParam);
  LRESULT result = 0;
  SendAcross(*target.queue, hwnd, message, wParam, lParam, SMTO_NORMAL, INFINITE, &result);
  return result;
}

LRESULT SendMessageTimeout(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeout,
                           DWORD_PTR* result) {
  const Target target = FindTarget(hwnd);
  if (!target.valid) return 0;
  LRESULT r = 0;
  if (!target.queue || target.queue->IsCurrent()) {
    r = CallProcedure(hwnd, message, wParam, lParam);
  } else if (!SendAcross(*target.queue, hwnd, message, wParam, lParam, flags, timeout, &r)) {
    return 0;
  }
  if (result) *result = static_cast<DWORD_PTR>(r);
  return TRUE;
}

BOOL SendNotifyMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const Target target = FindTarget(hwnd);
  if (!target.valid) return FALSE;
  if (!target.queue || target.queue->IsCurrent()) {
    CallProcedure(hwnd, message, wParam, lParam);
    return TRUE;
  }
  auto sent = std::make_shared<SentMessage>();
  sent->hwnd = hwnd;
  sent->message = message;
  sent->wParam = wParam;
  sent->lParam = lParam;
  sent->notify = true;
  if (!target.queue->Send(std::move(sent))) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return TRUE;
}

BOOL InSendMessage() {
  MessageQueue* queue = MessageQueue::CurrentIfAny();
  return queue && !queue->input.receiving.empty();
}

DWORD InSendMessageEx(LPVOID) {
  MessageQueue* queue = MessageQueue::CurrentIfAny();
  if (!queue || queue->input.receiving.empty()) return ISMEX_NOSEND;
  const SentMessage* sent = queue->input.receiving.back();
  DWORD flags = sent->notify ? ISMEX_NOTIFY : ISMEX_SEND;
  if (sent->Replied()) flags |= ISMEX_REPLIED;
  return flags;
}

BOOL ReplyMessage(LRESULT result) {
  MessageQueue* queue = MessageQueue::CurrentIfAny();
  if (!queue || queue->input.receiving.empty()) return FALSE;
  SentMessage* sent = queue->input.receiving.back();
  if (sent->notify) return FALSE;
  sent->Reply(result);
  return TRUE;
}

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!hwnd) return PostThreadMessage(GetCurrentThreadId(), message, wParam, lParam);
  const Target target = FindTarget(hwnd);
  if (!target.valid) return FALSE;
  if (!target.queue) return TRUE;  // the desktop takes no posted messages
  const MSG msg{hwnd, message, wParam, lParam, MessageTime(), CursorPosition()};
  if (!target.queue->Post(msg)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return TRUE;
}

BOOL PostThreadMessage(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<MessageQueue> queue =
      threadId == GetCurrentThreadId() ? MessageQueue::CurrentShared() : MessageQueue::ForThread(threadId);
  const MSG msg{nullptr, message, wParam, lParam, MessageTime(), CursorPosition()};
  if (!queue || !queue->Post(msg)) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return FALSE;
  }
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  MessageQueue::Current().PostQuit(exitCode);
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  return proc(hwnd, message, wParam, lParam);
}
