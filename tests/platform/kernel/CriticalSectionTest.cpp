#include <gtest/gtest.h>

#include "platform/kernel/CriticalSection.h"
#include "platform/kernel/Thread.h"
#include "platform/kernel/Wait.h"

namespace {

struct Section {
  CRITICAL_SECTION cs;
  explicit Section(DWORD spin = 0) { InitializeCriticalSectionAndSpinCount(&cs, spin); }
  ~Section() { DeleteCriticalSection(&cs); }
};

BOOL TryFromAnotherThread(CRITICAL_SECTION& cs) {
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](LPVOID p) -> DWORD {
        auto* section = static_cast<CRITICAL_SECTION*>(p);
        const BOOL got = TryEnterCriticalSection(section);
        if (got) LeaveCriticalSection(section);
        return static_cast<DWORD>(got);
      },
      &cs, 0, nullptr);
  WaitForSingleObject(thread, INFINITE);
  DWORD got = 0;
  GetExitCodeThread(thread, &got);
  CloseHandle(thread);
  return static_cast<BOOL>(got);
}

}  // namespace

TEST(CriticalSection, RecursiveForItsOwnerClosedToOthers) {
  Section section;
  EnterCriticalSection(&section.cs);
  EXPECT_TRUE(TryEnterCriticalSection(&section.cs));
  EnterCriticalSection(&section.cs);
  EXPECT_FALSE(TryFromAnotherThread(section.cs));
  LeaveCriticalSection(&section.cs);
  LeaveCriticalSection(&section.cs);
  EXPECT_FALSE(TryFromAnotherThread(section.cs)) << "entered three times, left twice";
  LeaveCriticalSection(&section.cs);
  EXPECT_TRUE(TryFromAnotherThread(section.cs));
}

TEST(CriticalSection, LeaveByAThreadThatDoesNotOwnItIsIgnored) {
  Section section;
  EnterCriticalSection(&section.cs);
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](LPVOID p) -> DWORD {
        LeaveCriticalSection(static_cast<CRITICAL_SECTION*>(p));
        return 0;
      },
      &section.cs, 0, nullptr);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  EXPECT_FALSE(TryFromAnotherThread(section.cs));
  LeaveCriticalSection(&section.cs);
}

TEST(CriticalSection, KeepsUpdatesFromManyThreadsWhole) {
  for (DWORD spin : {0u, 4000u}) {
    struct Shared {
      Section section;
      long long counter = 0;  // guarded by section
      explicit Shared(DWORD spin) : section(spin) {}
    } shared(spin);
    constexpr int kThreads = 4;
    constexpr int kRounds = 20000;
    HANDLE threads[kThreads];
    for (HANDLE& thread : threads) {
      thread = CreateThread(
          nullptr, 0,
          [](LPVOID p) -> DWORD {
            auto* s = static_cast<Shared*>(p);
            for (int i = 0; i < kRounds; ++i) {
              EnterCriticalSection(&s->section.cs);
              const long long seen = s->counter;
              s->counter = seen + 1;
              LeaveCriticalSection(&s->section.cs);
            }
            return 0;
          },
          &shared, 0, nullptr);
    }
    WaitForMultipleObjects(kThreads, threads, TRUE, INFINITE);
    for (HANDLE thread : threads) CloseHandle(thread);
    EXPECT_EQ(shared.counter, static_cast<long long>(kThreads) * kRounds) << "spin " << spin;
  }
}
