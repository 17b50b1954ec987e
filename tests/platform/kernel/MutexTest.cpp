#include <gtest/gtest.h>

#include <atomic>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/Mutex.h"
#include "platform/kernel/Thread.h"
#include "platform/kernel/Wait.h"
#include "tests/platform/kernel/OtherThread.h"
#include "tests/platform/kernel/SyncObjectsChild.h"

namespace {

constexpr DWORD kTimeout = WAIT_TIMEOUT;

}  // namespace

TEST(Mutex, OwnerTakesItRecursivelyOthersWait) {
  HANDLE mutex = CreateMutex(nullptr, TRUE, nullptr);
  ASSERT_NE(mutex, nullptr);
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
  EXPECT_EQ(OnOtherThread([&] { return WaitForSingleObject(mutex, 0); }), kTimeout);
  EXPECT_EQ(OnOtherThread([&] { return static_cast<DWORD>(ReleaseMutex(mutex) ? 0 : GetLastError()); }),
            static_cast<DWORD>(ERROR_NOT_OWNER));
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_EQ(OnOtherThread([&] { return WaitForSingleObject(mutex, 0); }), kTimeout) << "still held once";
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_FALSE(ReleaseMutex(mutex));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_OWNER));
  EXPECT_EQ(OnOtherThread([&] {
              const DWORD result = WaitForSingleObject(mutex, 0);
              ReleaseMutex(mutex);
              return result;
            }),
            WAIT_OBJECT_0);
  CloseHandle(mutex);
}

TEST(Mutex, OwnerThatEndsWithoutReleasingAbandonsIt) {
  for (const bool viaExitThread : {false, true}) {
    HANDLE mutex = CreateMutex(nullptr, FALSE, nullptr);
    HANDLE other = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    struct Take {
      HANDLE mutex;
      bool viaExitThread;
    } take{mutex, viaExitThread};
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
          auto* t = static_cast<Take*>(p);
          WaitForSingleObject(t->mutex, INFINITE);
          WaitForSingleObject(t->mutex, INFINITE);
          if (t->viaExitThread) ExitThread(0);
          return 0;
        },
        &take, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    CloseHandle(thread);

    const HANDLE both[2] = {other, mutex};
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_ABANDONED_0 + 1) << viaExitThread;
    EXPECT_TRUE(ReleaseMutex(mutex)) << "the abandoned wait made this thread the owner, once";
    EXPECT_FALSE(ReleaseMutex(mutex));
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0) << "abandonment is reported once";
    EXPECT_TRUE(ReleaseMutex(mutex));
    CloseHandle(mutex);
    CloseHandle(other);
  }
}

TEST(Mutex, WaitAllTakesNothingUntilEverythingIsFree) {
  HANDLE mutex = CreateMutex(nullptr, FALSE, nullptr);
  HANDLE event = CreateEvent(nullptr, FALSE, TRUE, nullptr);  // auto-reset, signalled
  HANDLE held = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  struct Hold {
    HANDLE mutex, held, release;
  } hold{mutex, held, release};
  HANDLE holder = CreateThread(
      nullptr, 0,
      [](LPVOID p) -> DWORD {
        auto* h = static_cast<Hold*>(p);
        WaitForSingleObject(h->mutex, INFINITE);
        SetEvent(h->held);
        WaitForSingleObject(h->release, INFINITE);
        ReleaseMutex(h->mutex);
        return 0;
      },
      &hold, 0, nullptr);
  WaitForSingleObject(held, INFINITE);

  const HANDLE both[2] = {event, mutex};
  EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 20), kTimeout);
  EXPECT_EQ(OnOtherThread([&] { return WaitForSingleObject(event, 0); }), WAIT_OBJECT_0)
      << "the failed wait-all left the event signalled";
  SetEvent(event);
  SetEvent(release);
  EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event, 0), kTimeout) << "taken together with the mutex";
  EXPECT_TRUE(ReleaseMutex(mutex));
  WaitForSingleObject(holder, INFINITE);
  for (HANDLE h : {mutex, event, held, release, holder}) CloseHandle(h);
}

TEST(NamedMutex, SameNameSameMutexUntilTheLastHandleCloses) {
  const std::string name = UniqueName("mutex-local");
  HANDLE first = CreateMutex(nullptr, TRUE, name.c_str());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  HANDLE second = CreateMutex(nullptr, TRUE, name.c_str());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  HANDLE opened = OpenMutex(MUTEX_ALL_ACCESS, FALSE, name.c_str());
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(OnOtherThread([&] { return WaitForSingleObject(opened, 0); }), kTimeout);
  EXPECT_TRUE(ReleaseMutex(second));
  EXPECT_FALSE(ReleaseMutex(first)) << "the second create did not take it again";
  EXPECT_EQ(OnOtherThread([&] {
              const DWORD result = WaitForSingleObject(second, 0);
              ReleaseMutex(second);
              return result;
            }),
            WAIT_OBJECT_0);
  for (HANDLE h : {first, second, opened}) CloseHandle(h);
  EXPECT_EQ(OpenMutex(MUTEX_ALL_ACCESS, FALSE, name.c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(NamedMutex, HeldByAnotherProcessUntilThatProcessIsKilled) {
  const std::string name = UniqueName("mutex-shared");
  ForkedChild child([&](ForkedChild&) {
    HANDLE mutex = CreateMutex(nullptr, TRUE, name.c_str());
    return mutex && GetLastError() == ERROR_SUCCESS ? 'y' : 'n';
  });
  ASSERT_EQ(child.Report(), 'y');

  HANDLE mutex = CreateMutex(nullptr, TRUE, name.c_str());
  ASSERT_NE(mutex, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_FALSE(ReleaseMutex(mutex)) << "initial ownership is not given for an existing mutex";
  EXPECT_EQ(WaitForSingleObject(mutex, 30), kTimeout);

  // A waiter blocked on the other process's mutex gets it when that process dies.
  HANDLE waiting = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  struct Wait {
    HANDLE mutex, waiting;
  } wait{mutex, waiting};
  HANDLE waiter = CreateThread(
      nullptr, 0,
      [](LPVOID p) -> DWORD {
        auto* w = static_cast<Wait*>(p);
        SetEvent(w->waiting);
        const DWORD result = WaitForSingleObject(w->mutex, INFINITE);
        ReleaseMutex(w->mutex);
        return result;
      },
      &wait, 0, nullptr);
  WaitForSingleObject(waiting, INFINITE);
  child.Kill();
  ASSERT_EQ(WaitForSingleObject(waiter, INFINITE), WAIT_OBJECT_0);
  DWORD result = 0;
  GetExitCodeThread(waiter, &result);
  EXPECT_EQ(result, WAIT_ABANDONED) << "the owner died holding it";

  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(ReleaseMutex(mutex));
  for (HANDLE h : {mutex, waiting, waiter}) CloseHandle(h);
  EXPECT_EQ(OpenMutex(SYNCHRONIZE, FALSE, name.c_str()), nullptr) << "nothing left behind";
  HANDLE fresh = CreateMutex(nullptr, FALSE, name.c_str());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(WaitForSingleObject(fresh, 0), WAIT_OBJECT_0) << "a new mutex is not abandoned";
  ReleaseMutex(fresh);
  CloseHandle(fresh);
}

TEST(NamedMutex, ReleasedInOneProcessTakenInAnother) {
  const std::string name = UniqueName("mutex-handover");
  ForkedChild child([&](ForkedChild& self) {
    self.Hear();
    HANDLE mutex = OpenMutex(SYNCHRONIZE, FALSE, name.c_str());
    const DWORD result = mutex ? WaitForSingleObject(mutex, INFINITE) : WAIT_FAILED;
    return result == WAIT_OBJECT_0 ? 'y' : 'n';
  });
  HANDLE mutex = CreateMutex(nullptr, TRUE, name.c_str());
  ASSERT_NE(mutex, nullptr);
  child.Tell('!');
  ReleaseMutex(mutex);
  EXPECT_EQ(child.Report(), 'y');
  EXPECT_EQ(WaitForSingleObject(mutex, 0), kTimeout) << "the child holds it now";
  child.Kill();
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_ABANDONED);
  ReleaseMutex(mutex);
  CloseHandle(mutex);
}
