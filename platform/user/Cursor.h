// Cursors: the standard ones (IDC_*), the current cursor, its visibility and position.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/user/WindowClass.h"

#define IDC_ARROW MAKEINTRESOURCE(32512)
#define IDC_IBEAM MAKEINTRESOURCE(32513)
#define IDC_WAIT MAKEINTRESOURCE(32514)
#define IDC_CROSS MAKEINTRESOURCE(32515)
#define IDC_UPARROW MAKEINTRESOURCE(32516)
#define IDC_SIZE MAKEINTRESOURCE(32640)
#define IDC_ICON MAKEINTRESOURCE(32641)
#define IDC_SIZENWSE MAKEINTRESOURCE(32642)
#define IDC_SIZENESW MAKEINTRESOURCE(32643)
#define IDC_SIZEWE MAKEINTRESOURCE(32644)
#define IDC_SIZENS MAKEINTRESOURCE(32645)
#define IDC_SIZEALL MAKEINTRESOURCE(32646)
#define IDC_NO MAKEINTRESOURCE(32648)
#define IDC_HAND MAKEINTRESOURCE(32649)
#define IDC_APPSTARTING MAKEINTRESOURCE(32650)
#define IDC_HELP MAKEINTRESOURCE(32651)

// A null instance loads a standard cursor (the same handle every time, never destroyed);
// otherwise the cursor resource of that module (through LoadImage).
HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name);
BOOL DestroyCursor(HCURSOR cursor);
// Returns the previous cursor. The display shows it while the pointer is over the program.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// The display counter: the cursor shows while it is 0 or more. Returns the new count.
int ShowCursor(BOOL show);
// Any thread.
BOOL GetCursorPos(POINT* point);
// Moves the pointer as the user would: windows get WM_MOUSEMOVE.
BOOL SetCursorPos(int x, int y);
#define LoadCursorA LoadCursor

namespace pictavo::user {
// The IDC_* number of a standard cursor (32512 ...), or 0 for any other cursor: a display with
// native cursors of its own shows those for the standard ones.
UINT StandardCursorId(HCURSOR cursor);
}  // namespace pictavo::user
