// Threads: creation (suspended or running), exit codes, priorities, the calling thread's
// identity, and sleeping. A thread handle is signalled when the thread has ended.
#pragma once

#include <functional>

#include "platform/base/WinTypes.h"

#ifndef STILL_ACTIVE
#define STILL_ACTIVE 259u
#endif
#ifndef CREATE_SUSPENDED
#define CREATE_SUSPENDED 0x00000004u
#endif
#define STACK_SIZE_PARAM_IS_A_RESERVATION 0x00010000u

#define THREAD_PRIORITY_IDLE (-15)
#define THREAD_PRIORITY_LOWEST (-2)
#define THREAD_PRIORITY_BELOW_NORMAL (-1)
#define THREAD_PRIORITY_NORMAL 0
#define THREAD_PRIORITY_ABOVE_NORMAL 1
#define THREAD_PRIORITY_HIGHEST 2
#define THREAD_PRIORITY_TIME_CRITICAL 15
#define THREAD_PRIORITY_ERROR_RETURN 0x7FFFFFFF

using LPTHREAD_START_ROUTINE = DWORD(WINAPI*)(LPVOID parameter);

HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stackSize, LPTHREAD_START_ROUTINE start,
                    LPVOID parameter, DWORD creationFlags, LPDWORD threadId);
// Returns the suspend count before the call, or (DWORD)-1 on failure.
DWORD ResumeThread(HANDLE thread);
// Ends the calling thread at once; destructors of its stack frames run while it unwinds.
[[noreturn]] void ExitThread(DWORD exitCode);
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
DWORD GetCurrentThreadId();
// A pseudo handle meaning "the calling thread"; it needs no CloseHandle.
HANDLE GetCurrentThread();
DWORD GetCurrentProcessId();
// The value is kept and reported back; the system priority follows it where the system lets an
// unprivileged process (lowering always works, raising again may not).
BOOL SetThreadPriority(HANDLE thread, int priority);
int GetThreadPriority(HANDLE thread);

void Sleep(DWORD milliseconds);
// Nothing queues asynchronous calls to our threads, so an alertable sleep ends only by time.
DWORD SleepEx(DWORD milliseconds, BOOL alertable);

// The C runtime's thread starters. _beginthread's handle closes itself when the thread ends.
uintptr_t _beginthreadex(void* security, unsigned stackSize, unsigned(__stdcall* start)(void*),
                         void* argument, unsigned initFlags, unsigned* threadId);
uintptr_t _beginthread(void(__cdecl* start)(void*), unsigned stackSize, void* argument);

namespace pictavo::kernel {

struct ThreadStart {
  std::function<DWORD()> body;  // its result is the exit code
  SIZE_T stackSize = 0;         // 0: the system default
  bool suspended = false;       // waits for ResumeThread before running body
  bool closeHandleAtExit = false;
};
// Starts a thread and returns its handle (null with the last error set when it cannot start).
[[nodiscard]] HANDLE StartThread(ThreadStart start, DWORD* threadId);

}  // namespace pictavo::kernel
