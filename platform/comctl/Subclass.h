// Window subclassing by callback: several procedures can be stacked on one window, each known by
// its procedure and id, removed in any order. The controls use it for the windows they watch
// (tooltip tools, up-down buddies, label editors).
#pragma once

#include "platform/base/WinTypes.h"

using SUBCLASSPROC = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM, UINT_PTR id, DWORD_PTR refData);

// Installs (or updates the reference data of) the subclass (proc, id) on a window of the calling
// thread. The newest subclass sees a message first; DefSubclassProc passes it on.
BOOL SetWindowSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR refData);
BOOL GetWindowSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR* refData);
BOOL RemoveWindowSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id);
// Inside a subclass procedure: the next one down, then the window's own procedure.
LRESULT DefSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
