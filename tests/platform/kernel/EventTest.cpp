#include <gtest/gtest.h>

#include <thread>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/Wait.h"

TEST(Event, ManualResetStaysSignalledAutoResetReleasesOne) {
  HANDLE manual = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  HANDLE autoReset = CreateEvent(nullptr, FALSE, TRUE, nullptr);
  EXPECT_EQ(WaitForSingleObject(manual, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  SetEvent(manual);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(autoReset, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(autoReset, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  CloseHandle(manual);
  CloseHandle(autoReset);
}

TEST(Event, WaitWakesWhenAnotherThreadSets) {
  HANDLE events[2] = {CreateEvent(nullptr, TRUE, FALSE, nullptr), CreateEvent(nullptr, TRUE, FALSE, nullptr)};
  std::thread setter([&] { SetEvent(events[1]); });
  EXPECT_EQ(WaitForMultipleObjects(2, events, FALSE, INFINITE), WAIT_OBJECT_0 + 1);
  setter.join();
  std::thread second([&] { SetEvent(events[0]); });
  EXPECT_EQ(WaitForMultipleObjects(2, events, TRUE, INFINITE), WAIT_OBJECT_0);
  second.join();
  for (HANDLE h : events) CloseHandle(h);
}

TEST(Event, NamedEventsShareStateAndClosedHandlesFail) {
  HANDLE a = CreateEvent(nullptr, TRUE, FALSE, "ready");
  HANDLE b = CreateEvent(nullptr, TRUE, FALSE, "ready");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  SetEvent(a);
  EXPECT_EQ(WaitForSingleObject(b, 0), WAIT_OBJECT_0);
  CloseHandle(a);
  CloseHandle(b);
  EXPECT_EQ(WaitForSingleObject(a, 0), WAIT_FAILED);
  EXPECT_FALSE(CloseHandle(a));
  EXPECT_EQ(OpenEvent(EVENT_ALL_ACCESS, FALSE, "ready"), nullptr);
}
