#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "platform/kernel/Event.h"
#include "platform/kernel/Interlocked.h"
#include "platform/kernel/SyncObjects.h"
#include "platform/kernel/Thread.h"
#include "platform/kernel/Wait.h"
#include "tests/platform/kernel/OtherThread.h"
#include "tests/platform/kernel/SyncObjectsChild.h"

namespace {

constexpr DWORD kTimeout = WAIT_TIMEOUT;
constexpr int kWaiters = 3;

struct Waiters {
  HANDLE event;
  HANDLE woke;  // auto-reset: one set per waiter that woke
  LONG count = 0;
  HANDLE threads[kWaiters] = {};

  Waiters(BOOL manualReset)
      : event(CreateEvent(nullptr, manualReset, FALSE, nullptr)),
        woke(CreateEvent(nullptr, FALSE, FALSE, nullptr)) {
    for (HANDLE& thread : threads) {
      thread = CreateThread(
          nullptr, 0,
          [](LPVOID p) -> DWORD {
            auto* w = static_cast<Waiters*>(p);
            const DWORD result = WaitForSingleObject(w->event, INFINITE);
            InterlockedIncrement(&w->count);
            SetEvent(w->woke);
            return result;
          },
          this, 0, nullptr);
    }
  }
  ~Waiters() {
    for (HANDLE thread : threads) CloseHandle(thread);
    CloseHandle(event);
    CloseHandle(woke);
  }
};

}  // namespace

TEST(EventWaiters, ManualResetReleasesEveryWaiter) {
  Waiters waiters(TRUE);
  SetEvent(waiters.event);
  EXPECT_EQ(WaitForMultipleObjects(kWaiters, waiters.threads, TRUE, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(waiters.count, kWaiters);
  EXPECT_EQ(WaitForSingleObject(waiters.event, 0), WAIT_OBJECT_0) << "stays set";
}

TEST(EventWaiters, AutoResetReleasesOneWaiterPerSet) {
  Waiters waiters(FALSE);
  for (int i = 1; i <= kWaiters; ++i) {
    SetEvent(waiters.event);
    ASSERT_EQ(WaitForSingleObject(waiters.woke, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(waiters.count, i);
    EXPECT_EQ(WaitForSingleObject(waiters.event, 0), kTimeout) << "the woken waiter reset it";
  }
  EXPECT_EQ(WaitForMultipleObjects(kWaiters, waiters.threads, TRUE, INFINITE), WAIT_OBJECT_0);
}

TEST(SyncObjects, SingleLockHoldsACriticalSectionForItsScope) {
  CCriticalSection section;
  {
    CSingleLock lock(&section, TRUE);
    EXPECT_TRUE(lock.IsLocked());
    EXPECT_TRUE(section.Lock(0)) << "recursive for its owner";
    section.Unlock();
    EXPECT_FALSE(OnOtherThread([&] {
      CSingleLock other(&section);
      return static_cast<DWORD>(other.Lock(0));
    }));
  }
  EXPECT_TRUE(OnOtherThread([&] {
    CSingleLock other(&section);
    return static_cast<DWORD>(other.Lock(0));
  }));
}

TEST(SyncObjects, MutexLockAndUnlock) {
  const std::string name = UniqueName("cmutex");
  CMutex named(FALSE, name.c_str());
  CMutex sameName(FALSE, name.c_str());
  CMutex unnamed;
  ASSERT_NE(named.m_hObject, nullptr);
  EXPECT_TRUE(named.IsKindOf(RUNTIME_CLASS(CSyncObject)));
  CSingleLock lock(&named);
  EXPECT_FALSE(lock.IsLocked());
  EXPECT_TRUE(lock.Lock());
  EXPECT_FALSE(OnOtherThread([&] { return static_cast<DWORD>(sameName.Lock(0)); })) << "one mutex by name";
  EXPECT_TRUE(OnOtherThread([&] {
    const BOOL got = unnamed.Lock(0);
    unnamed.Unlock();
    return static_cast<DWORD>(got);
  }));
  EXPECT_TRUE(lock.Unlock());
  EXPECT_FALSE(lock.IsLocked());
  EXPECT_TRUE(OnOtherThread([&] {
    const BOOL got = sameName.Lock(0);
    sameName.Unlock();
    return static_cast<DWORD>(got);
  }));
}

TEST(SyncObjects, AbandonedMutexCountsAsLocked) {
  CMutex mutex;
  OnOtherThread([&] { return static_cast<DWORD>(mutex.Lock()); });
  CSingleLock lock(&mutex, TRUE);
  EXPECT_TRUE(lock.IsLocked());
  EXPECT_TRUE(lock.Unlock());
  EXPECT_TRUE(OnOtherThread([&] {
    const BOOL got = mutex.Lock(0);
    mutex.Unlock();
    return static_cast<DWORD>(got);
  })) << "the unlock released it";
}

TEST(SyncObjects, EventDefaultsToAutoResetAndUnset) {
  const struct {
    BOOL manual;
    BOOL secondLock;
  } cases[] = {{FALSE, FALSE}, {TRUE, TRUE}};
  for (const auto& c : cases) {
    CEvent event(FALSE, c.manual);
    CSingleLock lock(&event);
    EXPECT_FALSE(lock.Lock(0));
    EXPECT_TRUE(event.SetEvent());
    EXPECT_TRUE(lock.Lock(0));
    EXPECT_TRUE(lock.Unlock());
    EXPECT_EQ(lock.Lock(0), c.secondLock) << c.manual;
    lock.Unlock();
    EXPECT_TRUE(event.ResetEvent());
    EXPECT_FALSE(event.Lock(0));
  }
  CEvent defaults;
  EXPECT_FALSE(defaults.Lock(0));
  defaults.SetEvent();
  EXPECT_TRUE(defaults.Lock(0));
  EXPECT_FALSE(defaults.Lock(0)) << "auto-reset by default";
}
