// Closing handles and waiting on kernel objects.
#pragma once

#include "platform/base/WinTypes.h"

#define WAIT_OBJECT_0 0x00000000u
#define WAIT_ABANDONED_0 0x00000080u
#define WAIT_ABANDONED WAIT_ABANDONED_0
#define WAIT_FAILED 0xFFFFFFFFu
#define WAIT_IO_COMPLETION 0x000000C0u
#ifndef WAIT_TIMEOUT
#define WAIT_TIMEOUT 258L
#endif
#define MAXIMUM_WAIT_OBJECTS 64

BOOL CloseHandle(HANDLE handle);
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds);

namespace pictavo::kernel {
class KernelObject;
// The core of every wait, also used by the message queue's MsgWaitForMultipleObjects: waits on
// resolved objects. Returns WAIT_OBJECT_0 + index, WAIT_TIMEOUT or WAIT_FAILED.
DWORD WaitForObjects(KernelObject* const* objects, DWORD count, bool waitAll, DWORD milliseconds);
}  // namespace pictavo::kernel
