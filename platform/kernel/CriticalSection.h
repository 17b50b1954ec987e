// Critical sections: recursive locks within the process, taken by the thread that enters them.
#pragma once

#include <pthread.h>

#include <atomic>

#include "platform/base/WinTypes.h"

// Only the functions below touch the fields.
struct CRITICAL_SECTION {
  pthread_mutex_t Lock;
  std::atomic<DWORD> OwningThread;  // GetCurrentThreadId() of the owner, 0 when free
  LONG RecursionCount;              // the owner only
  DWORD SpinCount;                  // tries before a contended enter sleeps
};
using RTL_CRITICAL_SECTION = CRITICAL_SECTION;
using LPCRITICAL_SECTION = CRITICAL_SECTION*;
using PCRITICAL_SECTION = CRITICAL_SECTION*;

void InitializeCriticalSection(LPCRITICAL_SECTION section);
BOOL InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION section, DWORD spinCount);
void EnterCriticalSection(LPCRITICAL_SECTION section);
BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section);
// Leaving a section the calling thread does not own is ignored.
void LeaveCriticalSection(LPCRITICAL_SECTION section);
void DeleteCriticalSection(LPCRITICAL_SECTION section);
