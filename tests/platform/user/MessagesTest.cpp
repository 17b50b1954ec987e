#include <gtest/gtest.h>

#include <atomic>
#include <map>

#include "Recorder.h"
#include "UiThread.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/Wait.h"

using namespace testing_user;

namespace {

class Messages : public UserTest {};

HWND HiddenWindow() {
  return MakeWindow(WS_POPUP, RECT{0, 0, 10, 10});
}

TEST_F(Messages, PostedMessagesKeepTheirOrderAndFiltersPickThem) {
  HWND a = HiddenWindow();
  HWND b = HiddenWindow();
  PostMessage(a, WM_APP + 1, 1, 0);
  PostMessage(b, WM_APP + 2, 2, 0);
  PostMessage(a, WM_APP + 3, 3, 0);
  PostThreadMessage(GetCurrentThreadId(), WM_APP + 4, 4, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, b, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP + 2));
  ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_APP + 3, WM_APP + 4, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP + 3));
  ASSERT_TRUE(PeekMessage(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP + 4));
  EXPECT_EQ(msg.hwnd, nullptr);
  std::vector<UINT> rest;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) rest.push_back(msg.message);
  EXPECT_EQ(rest, (std::vector<UINT>{WM_APP + 1, WM_APP + 2}));
}

TEST_F(Messages, RetrievalOrderIsSentPostedQuitInputPaintTimer) {
  HWND w = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{300, 300, 400, 400});  // shown: it needs painting
  SetTimer(w, 1, 10, nullptr);
  // Wait for the timer to be due without taking it.
  ASSERT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 5000, QS_TIMER), WAIT_OBJECT_0);
  pictavo::user::InjectMouseMove(POINT{350, 350});
  PostQuitMessage(0);
  PostMessage(w, WM_APP, 0, 0);
  std::thread([w] { SendNotifyMessage(w, WM_APP + 1, 0, 0); }).join();
  std::vector<UINT> order;
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_APP || msg.message == WM_QUIT || msg.message == WM_MOUSEMOVE ||
        msg.message == WM_PAINT || msg.message == WM_TIMER)
      order.push_back(msg.message);
    DispatchMessage(&msg);
    if (msg.message == WM_TIMER) break;
  }
  KillTimer(w, 1);
  EXPECT_EQ(order, (std::vector<UINT>{WM_APP, WM_QUIT, WM_MOUSEMOVE, WM_PAINT, WM_TIMER}));
  // The message sent by the other thread was handled before any of them was retrieved.
  const auto seq = Recorder::Get().Sequence({WM_APP, WM_APP + 1});
  ASSERT_EQ(seq.size(), 2u);
  EXPECT_EQ(seq[0].second, static_cast<UINT>(WM_APP + 1));
}

TEST_F(Messages, QuitEndsGetMessageAfterThePostedMessages) {
  HWND w = HiddenWindow();
  PostQuitMessage(7);
  PostMessage(w, WM_APP, 0, 0);
  MSG msg;
  EXPECT_EQ(GetMessage(&msg, nullptr, 0, 0), TRUE);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP));
  EXPECT_EQ(GetMessage(&msg, nullptr, 0, 0), FALSE);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_EQ(GetMessage(&msg, reinterpret_cast<HWND>(0x12345), 0, 0), -1);
}

TEST_F(Messages, ThreadMessagesReachTheThreadsQueue) {
  std::promise<MSG> got;
  UiThread worker(nullptr, [&] {
    MSG msg;
    GetMessage(&msg, nullptr, 0, 0);
    got.set_value(msg);
  });
  ASSERT_TRUE(PostThreadMessage(worker.Id(), WM_APP + 5, 11, 22));
  const MSG msg = got.get_future().get();
  EXPECT_EQ(msg.hwnd, nullptr);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP + 5));
  EXPECT_EQ(msg.wParam, 11u);
  EXPECT_EQ(msg.lParam, 22);
  worker.Join();
  EXPECT_FALSE(PostThreadMessage(worker.Id(), WM_APP, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_THREAD_ID));
}

TEST_F(Messages, WorkersPostToAWindowAndKeepTheirOrder) {
  HWND w = HiddenWindow();
  constexpr int kWorkers = 4;
  constexpr int kEach = 200;
  std::vector<std::thread> workers;
  for (int t = 0; t < kWorkers; ++t)
    workers.emplace_back([w, t] {
      for (int i = 0; i < kEach; ++i) PostMessage(w, WM_APP, static_cast<WPARAM>(t), i);
    });
  std::map<WPARAM, std::vector<LPARAM>> received;
  Recorder::Get().Handle(w, WM_APP, [&](HWND, WPARAM wp, LPARAM lp) -> LRESULT {
    received[wp].push_back(lp);
    return 0;
  });
  EXPECT_TRUE(PumpUntil([&] {
    size_t n = 0;
    for (auto& [t, list] : received) n += list.size();
    return n == kWorkers * kEach;
  }));
  for (auto& thread : workers) thread.join();
  for (auto& [t, list] : received)
    for (int i = 0; i < kEach; ++i) EXPECT_EQ(list[static_cast<size_t>(i)], i) << "worker " << t;
}

TEST_F(Messages, SendMessageToAnotherThreadWaitsForItsAnswer) {
  UiThread worker([] {
    HWND w = HiddenWindow();
    Recorder::Get().Handle(w, WM_APP, [](HWND, WPARAM wp, LPARAM) -> LRESULT {
      return InSendMessage() ? static_cast<LRESULT>(wp * 2 + GetCurrentThreadId() * 0) : -1;
    });
    Recorder::Get().Handle(w, WM_APP + 1,
                           [](HWND, WPARAM, LPARAM) -> LRESULT { return GetCurrentThreadId(); });
    return w;
  });
  EXPECT_EQ(SendMessage(worker.Window(), WM_APP, 21, 0), 42);
  EXPECT_EQ(static_cast<DWORD>(SendMessage(worker.Window(), WM_APP + 1, 0, 0)), worker.Id());
  EXPECT_FALSE(InSendMessage());
}

TEST_F(Messages, TwoThreadsSendingToEachOtherBothGetAnswers) {
  HWND mine = HiddenWindow();
  Recorder::Get().Handle(mine, WM_APP + 1, [](HWND, WPARAM wp, LPARAM) -> LRESULT { return wp + 1; });
  UiThread worker([mine] {
    HWND w = HiddenWindow();
    Recorder::Get().Handle(w, WM_APP, [mine](HWND, WPARAM wp, LPARAM) -> LRESULT {
      // Back to the thread that is waiting for this very message.
      return SendMessage(mine, WM_APP + 1, wp * 10, 0) * 10;
    });
    return w;
  });
  EXPECT_EQ(SendMessage(worker.Window(), WM_APP, 4, 0), 410);
}

TEST_F(Messages, ATargetInAModalLoopHandlesSentMessages) {
  std::atomic<bool> modal{false};
  std::atomic<bool> done{false};
  UiThread worker(
      [&] {
        HWND w = HiddenWindow();
        Recorder::Get().Handle(w, WM_APP,
                               [&](HWND, WPARAM wp, LPARAM) -> LRESULT { return modal ? wp + 100 : -1; });
        Recorder::Get().Handle(w, WM_APP + 1, [&](HWND h, WPARAM, LPARAM) -> LRESULT {
          done = true;
          PostMessage(h, WM_NULL, 0, 0);
          return 1;
        });
        return w;
      },
      [&] {
        modal = true;
        pictavo::user::ModalLoop loop;
        loop.done = [&] { return done.load(); };
        pictavo::user::RunModalLoop(loop);
        modal = false;
      });
  EXPECT_EQ(SendMessage(worker.Window(), WM_APP, 5, 0), 105);
  EXPECT_EQ(SendMessage(worker.Window(), WM_APP + 1, 0, 0), 1);
  worker.Join();
  EXPECT_FALSE(modal);
}

TEST_F(Messages, SendMessageTimeoutGivesUpOnABusyThread) {
  HANDLE release = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  UiThread worker([] { return HiddenWindow(); },
                  [release] {
                    WaitForSingleObject(release, INFINITE);  // busy: not looking at its queue
                    MSG msg;
                    while (GetMessage(&msg, nullptr, 0, 0) > 0) DispatchMessage(&msg);
                  });
  DWORD_PTR result = 99;
  EXPECT_EQ(SendMessageTimeout(worker.Window(), WM_APP, 0, 0, SMTO_NORMAL, 20, &result), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TIMEOUT));
  EXPECT_EQ(result, 99u);
  // A notification does not wait at all.
  EXPECT_TRUE(SendNotifyMessage(worker.Window(), WM_APP + 2, 0, 0));
  SetEvent(release);
  EXPECT_EQ(SendMessageTimeout(worker.Window(), WM_APP + 3, 0, 0, SMTO_NORMAL, 5000, &result), 1);
  EXPECT_EQ(Recorder::Get().Count(worker.Window(), WM_APP + 2), 1);
  CloseHandle(release);
}

TEST_F(Messages, ReplyMessageLetsTheSenderGoOn) {
  HANDLE sent = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  HANDLE answered = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  UiThread worker([&] {
    HWND w = HiddenWindow();
    Recorder::Get().Handle(w, WM_APP, [&](HWND, WPARAM, LPARAM) -> LRESULT {
      EXPECT_EQ(InSendMessageEx(nullptr), static_cast<DWORD>(ISMEX_SEND));
      ReplyMessage(42);
      EXPECT_EQ(InSendMessageEx(nullptr), static_cast<DWORD>(ISMEX_SEND | ISMEX_REPLIED));
      // The sender has its answer while this procedure still runs.
      EXPECT_EQ(WaitForSingleObject(answered, 5000), WAIT_OBJECT_0);
      SetEvent(sent);
      return 7;
    });
    return w;
  });
  EXPECT_EQ(SendMessage(worker.Window(), WM_APP, 0, 0), 42);
  SetEvent(answered);
  EXPECT_EQ(WaitForSingleObject(sent, 5000), WAIT_OBJECT_0);
  EXPECT_FALSE(ReplyMessage(1));  // nothing sent to this thread is being handled
  CloseHandle(sent);
  CloseHandle(answered);
}

TEST_F(Messages, WindowsOfAnEndedThreadAreGone) {
  UiThread worker([] { return HiddenWindow(); }, [] {});
  worker.Join();
  HWND w = worker.Window();
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(SendMessage(w, WM_APP, 0, 0), 0);
  EXPECT_FALSE(PostMessage(w, WM_APP, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(Messages, ASendPendingWhenTheThreadEndsIsAnsweredWithZero) {
  HANDLE arrived = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  UiThread worker(
      [] {
        HWND w = HiddenWindow();
        Recorder::Get().Handle(w, WM_APP, [](HWND, WPARAM, LPARAM) -> LRESULT { return 5; });
        return w;
      },
      [arrived] {
        // Wait until the message is there, then end without handling it.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5000, QS_SENDMESSAGE);
        SetEvent(arrived);
      });
  LRESULT result = -1;
  std::thread sender([&] { result = SendMessage(worker.Window(), WM_APP, 0, 0); });
  EXPECT_EQ(WaitForSingleObject(arrived, 5000), WAIT_OBJECT_0);
  worker.Join();
  sender.join();
  EXPECT_EQ(result, 0);
  EXPECT_EQ(Recorder::Get().Count(worker.Window(), WM_APP), 0);
  CloseHandle(arrived);
}

TEST_F(Messages, MsgWaitWakesForAnEventAndForAPostedMessage) {
  HWND w = HiddenWindow();
  HANDLE event = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 0, QS_ALLINPUT), static_cast<DWORD>(WAIT_TIMEOUT));
  std::thread([event] { SetEvent(event); }).detach();
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 5000, QS_ALLINPUT), WAIT_OBJECT_0);
  std::thread([w] { PostMessage(w, WM_APP, 0, 0); }).detach();
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 5000, QS_POSTMESSAGE), WAIT_OBJECT_0 + 1);
  // Once looked at, a message waiting in the queue wakes only a wait that asks for what is there.
  MSG msg;
  PeekMessage(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 0, QS_POSTMESSAGE), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(1, &event, 0, QS_POSTMESSAGE, MWMO_INPUTAVAILABLE),
            WAIT_OBJECT_0 + 1);
  EXPECT_EQ(HIWORD(GetQueueStatus(QS_POSTMESSAGE)), QS_POSTMESSAGE);
  CloseHandle(event);
}

TEST_F(Messages, WaitMessageReturnsForANewMessage) {
  HWND w = HiddenWindow();
  std::thread([w] { PostMessage(w, WM_APP, 0, 0); }).detach();
  EXPECT_TRUE(WaitMessage());
  EXPECT_TRUE(PumpUntil([&] { return Recorder::Get().Count(w, WM_APP) == 1; }));
}

TEST_F(Messages, AnotherThreadsWindowIsMovedByItsOwnThread) {
  UiThread worker([] { return MakeWindow(WS_POPUP, RECT{0, 0, 10, 10}); });
  ASSERT_TRUE(SetWindowPos(worker.Window(), nullptr, 50, 60, 70, 80, SWP_NOZORDER | SWP_NOACTIVATE));
  Entry changed{};
  ASSERT_TRUE(Recorder::Get().Last(worker.Window(), WM_WINDOWPOSCHANGED, &changed));
  RECT r;
  GetWindowRect(worker.Window(), &r);
  EXPECT_EQ(r, (RECT{50, 60, 120, 140}));
}

TEST_F(Messages, RegisteredMessagesAreStablePerName) {
  const UINT a = RegisterWindowMessage("WM_WINMGR");
  EXPECT_GE(a, 0xC000u);
  EXPECT_LE(a, 0xFFFFu);
  EXPECT_EQ(RegisterWindowMessage("wm_winmgr"), a);
  EXPECT_NE(RegisterWindowMessage("FileTreeCtrlUpdateChange"), a);
  EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

}  // namespace
