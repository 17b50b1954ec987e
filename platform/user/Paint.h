// Painting: update regions, WM_PAINT, window DCs and window regions. Each top-level window draws
// into a surface of its own that the display composes; a child draws into its top-level window's
// surface, clipped to its visible part.
#pragma once

#include "platform/base/WinTypes.h"

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;  // the background still needs erasing (WM_ERASEBKGND returned 0)
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};
using LPPAINTSTRUCT = PAINTSTRUCT*;

// RedrawWindow flags.
#define RDW_INVALIDATE 0x0001
#define RDW_INTERNALPAINT 0x0002
#define RDW_ERASE 0x0004
#define RDW_VALIDATE 0x0008
#define RDW_NOINTERNALPAINT 0x0010
#define RDW_NOERASE 0x0020
#define RDW_NOCHILDREN 0x0040
#define RDW_ALLCHILDREN 0x0080
#define RDW_UPDATENOW 0x0100
#define RDW_ERASENOW 0x0200
#define RDW_FRAME 0x0400
#define RDW_NOFRAME 0x0800

// GetDCEx flags.
#define DCX_WINDOW 0x00000001
#define DCX_CACHE 0x00000002
#define DCX_NORESETATTRS 0x00000004
#define DCX_CLIPCHILDREN 0x00000008
#define DCX_CLIPSIBLINGS 0x00000010
#define DCX_PARENTCLIP 0x00000020
#define DCX_EXCLUDERGN 0x00000040
#define DCX_INTERSECTRGN 0x00000080
#define DCX_EXCLUDEUPDATE 0x00000100
#define DCX_INTERSECTUPDATE 0x00000200
#define DCX_LOCKWINDOWUPDATE 0x00000400
#define DCX_VALIDATE 0x00200000

// Any thread. A rectangle or region in client coordinates; null = the whole client area. Child
// windows share the invalidation unless the window has WS_CLIPCHILDREN.
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
BOOL ValidateRgn(HWND hwnd, HRGN region);
BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase);
int GetUpdateRgn(HWND hwnd, HRGN region, BOOL erase);
BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags);
// Sends WM_PAINT now (to the window and its children) when they need painting.
BOOL UpdateWindow(HWND hwnd);
// One window at a time: drawing in it and its descendants is dropped until it is unlocked with
// a null window, which invalidates it (children included).
BOOL LockWindowUpdate(HWND hwnd);
// Clips the DC to the update region (and the visible part); sends WM_NCPAINT and WM_ERASEBKGND
// when they are pending, then validates.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);

// Any thread. A DC over the window's part of its top-level surface: origin at the client area
// (the window's corner for GetWindowDC and DCX_WINDOW), clipped to the visible part, honouring
// WS_CLIPCHILDREN and WS_CLIPSIBLINGS. Must be released by ReleaseDC.
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags);
int ReleaseDC(HWND hwnd, HDC dc);
HWND WindowFromDC(HDC dc);

// The window's shape, in window coordinates; the window takes ownership of the region.
int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw);
// Copies the shape into `region`: the region kind, or ERROR when the window has none.
int GetWindowRgn(HWND hwnd, HRGN region);
