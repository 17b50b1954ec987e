// Events, manual and auto reset, optionally named within the process.
#pragma once

#include "platform/base/WinTypes.h"

#define EVENT_ALL_ACCESS 0x1F0003u
#define EVENT_MODIFY_STATE 0x0002u
#define SYNCHRONIZE 0x00100000u

HANDLE CreateEvent(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState, LPCSTR name);
HANDLE OpenEvent(DWORD access, BOOL inherit, LPCSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
BOOL PulseEvent(HANDLE event);
