#include "platform/kernel/CriticalSection.h"

#include "platform/kernel/Thread.h"
#include "platform/kernel/ThreadBlocking.h"

namespace {

DWORD OwnerOf(const void* section) {
  return static_cast<const CRITICAL_SECTION*>(section)->OwningThread.load();
}

void TakeOwnership(LPCRITICAL_SECTION section, DWORD self) {
  section->OwningThread.store(self);
  section->RecursionCount = 1;
}

}  // namespace

void InitializeCriticalSection(LPCRITICAL_SECTION section) {
  InitializeCriticalSectionAndSpinCount(section, 0);
}

BOOL InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION section, DWORD spinCount) {
  pthread_mutex_init(&section->Lock, nullptr);
  section->OwningThread.store(0);
  section->RecursionCount = 0;
  section->SpinCount = spinCount;
  return TRUE;
}

void EnterCriticalSection(LPCRITICAL_SECTION section) {
  const DWORD self = GetCurrentThreadId();
  if (section->OwningThread.load() == self) {
    ++section->RecursionCount;
    return;
  }
  bool taken = pthread_mutex_trylock(&section->Lock) == 0;
  for (DWORD i = 0; !taken && i < section->SpinCount; ++i) taken = pthread_mutex_trylock(&section->Lock) == 0;
  if (!taken) {
    pictavo::kernel::BlockedOn blocked(section, &OwnerOf);
    pthread_mutex_lock(&section->Lock);
  }
  TakeOwnership(section, self);
}

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section) {
  const DWORD self = GetCurrentThreadId();
  if (section->OwningThread.load() == self) {
    ++section->RecursionCount;
    return TRUE;
  }
  if (pthread_mutex_trylock(&section->Lock) != 0) return FALSE;
  TakeOwnership(section, self);
  return TRUE;
}

void LeaveCriticalSection(LPCRITICAL_SECTION section) {
  if (section->OwningThread.load() != GetCurrentThreadId()) return;
  if (--section->RecursionCount > 0) return;
  section->OwningThread.store(0);
  pthread_mutex_unlock(&section->Lock);
}

void DeleteCriticalSection(LPCRITICAL_SECTION section) {
  pthread_mutex_destroy(&section->Lock);
  section->OwningThread.store(0);
  section->RecursionCount = 0;
}
