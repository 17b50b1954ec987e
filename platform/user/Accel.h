// Accelerator tables: keys that send commands. TranslateAccelerator turns a key message that
// matches an entry into WM_COMMAND (HIWORD(wParam) 1) to the window; when the command is an
// item of the window's menu bar, WM_INITMENU and WM_INITMENUPOPUP go first (so the owner can
// update the item), and a disabled or grayed item sends nothing. Tables belong to the process.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/user/Message.h"

// ACCEL::fVirt.
#define FVIRTKEY 0x01  // `key` is a virtual key; otherwise a character code
#define FNOINVERT 0x02
#define FSHIFT 0x04
#define FCONTROL 0x08
#define FALT 0x10

// Six bytes, as the tables stored in the registry are laid out.
struct ACCEL {
  BYTE fVirt;
  WORD key;
  WORD cmd;
};
static_assert(sizeof(ACCEL) == 6);
using LPACCEL = ACCEL*;

// Null with ERROR_INVALID_PARAMETER for no entries.
HACCEL CreateAcceleratorTable(LPACCEL entries, int count);
BOOL DestroyAcceleratorTable(HACCEL table);
// With a null buffer the number of entries; otherwise the number copied (at most `count`).
int CopyAcceleratorTable(HACCEL table, LPACCEL entries, int count);
// A new table from an accelerator resource of the module.
HACCEL LoadAccelerators(HINSTANCE instance, LPCSTR name);
// Virtual-key entries match WM_KEYDOWN / WM_SYSKEYDOWN with exactly their Shift, Ctrl and Alt;
// character entries match WM_CHAR (WM_SYSCHAR with FALT). Non-zero when the message was an
// accelerator (and is not to be dispatched).
int TranslateAccelerator(HWND hwnd, HACCEL table, LPMSG msg);

#define CreateAcceleratorTableA CreateAcceleratorTable
#define CopyAcceleratorTableA CopyAcceleratorTable
#define LoadAcceleratorsA LoadAccelerators
#define TranslateAcceleratorA TranslateAccelerator
