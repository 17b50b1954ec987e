// Window geometry: position, size, z-order, showing and hiding, coordinate mapping and hit
// lookups. Rectangles of a child are in its parent's client coordinates where the API says so,
// otherwise in screen coordinates (the desktop's client area).
#pragma once

#include "platform/base/Styles.h"
#include "platform/base/WinTypes.h"

struct WINDOWPOS {
  HWND hwnd;
  HWND hwndInsertAfter;
  int x;
  int y;
  int cx;
  int cy;
  UINT flags;
};
using LPWINDOWPOS = WINDOWPOS*;

struct NCCALCSIZE_PARAMS {
  RECT rgrc[3];
  WINDOWPOS* lppos;
};
using LPNCCALCSIZE_PARAMS = NCCALCSIZE_PARAMS*;

struct MINMAXINFO {
  POINT ptReserved;
  POINT ptMaxSize;
  POINT ptMaxPosition;
  POINT ptMinTrackSize;
  POINT ptMaxTrackSize;
};
using LPMINMAXINFO = MINMAXINFO*;

struct WINDOWPLACEMENT {
  UINT length;
  UINT flags;
  UINT showCmd;
  POINT ptMinPosition;
  POINT ptMaxPosition;
  RECT rcNormalPosition;
};
using LPWINDOWPLACEMENT = WINDOWPLACEMENT*;
#define WPF_SETMINPOSITION 0x0001
#define WPF_RESTORETOMAXIMIZED 0x0002

// Set by SetWindowPos in WM_WINDOWPOSCHANGED when the client area did not change size or move;
// the default processing sends WM_SIZE and WM_MOVE only for what changed.
#define SWP_NOCLIENTSIZE 0x0800
#define SWP_NOCLIENTMOVE 0x1000

// Results of WM_NCCALCSIZE with wParam TRUE.
#define WVR_ALIGNTOP 0x0010
#define WVR_ALIGNLEFT 0x0020
#define WVR_ALIGNBOTTOM 0x0040
#define WVR_ALIGNRIGHT 0x0080
#define WVR_HREDRAW 0x0100
#define WVR_VREDRAW 0x0200
#define WVR_REDRAW (WVR_HREDRAW | WVR_VREDRAW)
#define WVR_VALIDRECTS 0x0400

// lParam of WM_SHOWWINDOW when the change comes from the owner.
#define SW_PARENTCLOSING 1
#define SW_OTHERZOOM 2
#define SW_PARENTOPENING 3
#define SW_OTHERUNZOOM 4

// Sends WM_WINDOWPOSCHANGING and WM_WINDOWPOSCHANGED (whose default processing sends WM_MOVE and
// WM_SIZE), and WM_NCCALCSIZE when the size or the frame changes.
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL BringWindowToTop(HWND hwnd);
// Returns whether the window was visible before. Sends WM_SHOWWINDOW when visibility changes.
BOOL ShowWindow(HWND hwnd, int command);
BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement);
BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement);

// A batch of moves applied together by EndDeferWindowPos (each as by SetWindowPos, in order).
HDWP BeginDeferWindowPos(int count);
HDWP DeferWindowPos(HDWP batch, HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL EndDeferWindowPos(HDWP batch);

// Geometry; GetWindowRect, GetClientRect, ClientToScreen, ScreenToClient and MapWindowPoints may
// be called from any thread.
BOOL GetWindowRect(HWND hwnd, RECT* rect);  // screen coordinates
BOOL GetClientRect(HWND hwnd, RECT* rect);  // (0, 0, width, height)
BOOL ClientToScreen(HWND hwnd, POINT* point);
BOOL ScreenToClient(HWND hwnd, POINT* point);
// Maps between client coordinates of two windows (null = the screen). The result's low word is
// the horizontal offset added, the high word the vertical one.
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu);
BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle);

// The deepest visible window at a screen point (disabled ones included, as the platform does).
HWND WindowFromPoint(POINT point);
// The child of `parent` at a point in its client coordinates; `parent` itself when no child is
// there but the point is inside it, null when outside.
HWND ChildWindowFromPoint(HWND parent, POINT point);
HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags);
