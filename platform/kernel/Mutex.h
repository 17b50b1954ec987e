// Mutexes: owned by one thread at a time, recursively. A wait reports WAIT_ABANDONED when the
// owning thread ended without releasing it. Named mutexes are shared with this user's other
// processes; one held by another process is polled for while a wait on it runs.
#pragma once

#include "platform/base/WinTypes.h"

#define MUTEX_MODIFY_STATE 0x0001u
#define MUTEX_ALL_ACCESS 0x1F0001u

// With a name that another live handle (of any process) has open, opens that mutex, ignores
// initialOwner and sets ERROR_ALREADY_EXISTS.
HANDLE CreateMutex(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCSTR name);
HANDLE OpenMutex(DWORD access, BOOL inherit, LPCSTR name);
// Fails with ERROR_NOT_OWNER unless the calling thread owns the mutex.
BOOL ReleaseMutex(HANDLE mutex);
