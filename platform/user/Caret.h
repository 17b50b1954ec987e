// The caret: one per thread, owned by a window of that thread, blinking while shown.
#pragma once

#include "platform/base/WinTypes.h"

// A bitmap of (HBITMAP)1 asks for a grey caret; null for a solid one of width x height (0: the
// border width / the window's font height).
BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);
// Fails unless the caret belongs to a window of the calling thread.
BOOL DestroyCaret();
// Hiding nests: the caret shows again after as many ShowCaret calls as HideCaret calls.
// A null window means the caret's own window.
BOOL HideCaret(HWND hwnd);
BOOL ShowCaret(HWND hwnd);
BOOL SetCaretPos(int x, int y);  // client coordinates of the caret's window
BOOL GetCaretPos(POINT* point);
UINT GetCaretBlinkTime();
BOOL SetCaretBlinkTime(UINT milliseconds);
