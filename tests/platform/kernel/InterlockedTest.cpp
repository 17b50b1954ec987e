#include <gtest/gtest.h>

#include <cstdint>

#include "platform/kernel/Interlocked.h"
#include "platform/kernel/Thread.h"
#include "platform/kernel/Wait.h"

TEST(Interlocked, ReturnValuesFollowEachOperation) {
  struct Case {
    const char* what;
    LONG start;
    LONG (*op)(LONG volatile*);
    LONG returned, after;
  };
  const Case cases[] = {
      {"increment", 5, [](LONG volatile* v) { return InterlockedIncrement(v); }, 6, 6},
      {"increment wraps", INT32_MAX, [](LONG volatile* v) { return InterlockedIncrement(v); }, INT32_MIN,
       INT32_MIN},
      {"decrement", 0, [](LONG volatile* v) { return InterlockedDecrement(v); }, -1, -1},
      {"exchange", 3, [](LONG volatile* v) { return InterlockedExchange(v, 9); }, 3, 9},
      {"exchange add", 10, [](LONG volatile* v) { return InterlockedExchangeAdd(v, -4); }, 10, 6},
      {"compare exchange, equal", 7, [](LONG volatile* v) { return InterlockedCompareExchange(v, 1, 7); }, 7,
       1},
      {"compare exchange, different", 7, [](LONG volatile* v) { return InterlockedCompareExchange(v, 1, 8); },
       7, 7},
  };
  for (const auto& c : cases) {
    LONG volatile value = c.start;
    EXPECT_EQ(c.op(&value), c.returned) << c.what;
    EXPECT_EQ(value, c.after) << c.what;
  }
}

TEST(Interlocked, PointerForms) {
  int a = 0, b = 0;
  PVOID volatile slot = &a;
  EXPECT_EQ(InterlockedExchangePointer(&slot, &b), &a);
  EXPECT_EQ(slot, &b);
  EXPECT_EQ(InterlockedCompareExchangePointer(&slot, &a, &a), &b) << "comparand differs: unchanged";
  EXPECT_EQ(slot, &b);
  EXPECT_EQ(InterlockedCompareExchangePointer(&slot, &a, &b), &b);
  EXPECT_EQ(slot, &a);
}

TEST(Interlocked, NoUpdateIsLostBetweenThreads) {
  constexpr int kThreads = 4;
  constexpr LONG kRounds = 50000;
  LONG volatile counter = 0;
  HANDLE threads[kThreads];
  for (HANDLE& thread : threads) {
    thread = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
          auto* c = static_cast<LONG volatile*>(p);
          for (LONG i = 0; i < kRounds; ++i) {
            InterlockedIncrement(c);
            InterlockedExchangeAdd(c, 2);
            InterlockedDecrement(c);
          }
          return 0;
        },
        const_cast<LONG*>(&counter), 0, nullptr);
  }
  WaitForMultipleObjects(kThreads, threads, TRUE, INFINITE);
  for (HANDLE thread : threads) CloseHandle(thread);
  EXPECT_EQ(counter, kThreads * kRounds * 2);
}
