// Windows: creation and destruction, the parent/child/owner tree, window longs, text, properties,
// state and enumeration. Everything about a window is done by its own thread, except the calls
// marked "any thread".
#pragma once

#include <string>

#include "platform/base/Messages.h"
#include "platform/base/Styles.h"
#include "platform/base/WinTypes.h"
#include "platform/user/WindowClass.h"

struct CREATESTRUCT {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCSTR lpszName;
  LPCSTR lpszClass;
  DWORD dwExStyle;
};
using CREATESTRUCTA = CREATESTRUCT;
using LPCREATESTRUCT = CREATESTRUCT*;

// Position or size chosen by the system (top-level windows; a child gets 0).
#define CW_USEDEFAULT (static_cast<int>(0x80000000u))

// GetWindow relations.
#define GW_HWNDFIRST 0
#define GW_HWNDLAST 1
#define GW_HWNDNEXT 2
#define GW_HWNDPREV 3
#define GW_OWNER 4
#define GW_CHILD 5
#define GW_ENABLEDPOPUP 6

// GetAncestor relations.
#define GA_PARENT 1
#define GA_ROOT 2
#define GA_ROOTOWNER 3

// ChildWindowFromPointEx filters.
#define CWP_ALL 0x0000
#define CWP_SKIPINVISIBLE 0x0001
#define CWP_SKIPDISABLED 0x0002
#define CWP_SKIPTRANSPARENT 0x0004

// The dialog manager's slots in a dialog's extra window bytes.
#define DWLP_MSGRESULT 0
#define DWLP_DLGPROC (DWLP_MSGRESULT + static_cast<int>(sizeof(LRESULT)))
#define DWLP_USER (DWLP_DLGPROC + static_cast<int>(sizeof(void*)))
#define DWL_MSGRESULT 0
#define DLGWINDOWEXTRA 30

// The class of dialog boxes: class names "#<number>" are integer atoms.
#define WC_DIALOG MAKEINTATOM(0x8002)

// Creation. hwndParent is the parent of a WS_CHILD window and the owner of any other one (whose
// top-level ancestor becomes the owner). hMenu is the child id of a WS_CHILD window.
HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND hwndParent, HMENU menu, HINSTANCE instance, LPVOID param);
inline HWND CreateWindow(LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                         int height, HWND hwndParent, HMENU menu, HINSTANCE instance, LPVOID param) {
  return CreateWindowEx(0, className, windowName, style, x, y, width, height, hwndParent, menu, instance,
                        param);
}
// Destroys the window's owned windows and children too: WM_DESTROY reaches the window before its
// children, WM_NCDESTROY reaches the children first.
BOOL DestroyWindow(HWND hwnd);
// Procedure of windows without their own behaviour for a message.
LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Any thread.
BOOL IsWindow(HWND hwnd);
DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId);
HWND GetDesktopWindow();

// The tree.
HWND GetParent(HWND hwnd);  // the parent of a child, the owner of a top-level window
HWND SetParent(HWND child, HWND newParent);
HWND GetWindow(HWND hwnd, UINT relation);
HWND GetAncestor(HWND hwnd, UINT relation);
HWND GetTopWindow(HWND hwnd);
HWND GetNextWindow(HWND hwnd, UINT relation);
HWND GetLastActivePopup(HWND owner);
BOOL IsChild(HWND parent, HWND hwnd);
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND hwnd);

// Window longs: the GWL_* slots, and from offset 0 the cbWndExtra bytes of the class.
LONG GetWindowLong(HWND hwnd, int index);
LONG SetWindowLong(HWND hwnd, int index, LONG value);
LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);

// Text, through WM_SETTEXT / WM_GETTEXT / WM_GETTEXTLENGTH.
BOOL SetWindowText(HWND hwnd, LPCSTR text);
int GetWindowText(HWND hwnd, LPSTR text, int maxCount);
int GetWindowTextLength(HWND hwnd);

// Properties: named handles attached to a window, removed with it.
BOOL SetProp(HWND hwnd, LPCSTR name, HANDLE data);
HANDLE GetProp(HWND hwnd, LPCSTR name);
HANDLE RemoveProp(HWND hwnd, LPCSTR name);

// State.
BOOL EnableWindow(HWND hwnd, BOOL enable);  // returns whether it was disabled before
BOOL IsWindowEnabled(HWND hwnd);
BOOL IsWindowVisible(HWND hwnd);  // WS_VISIBLE on it and every ancestor
BOOL IsIconic(HWND hwnd);
BOOL IsZoomed(HWND hwnd);
BOOL IsWindowUnicode(HWND hwnd);

// Enumeration, in z-order (top first); a callback returning FALSE stops it.
using WNDENUMPROC = BOOL(CALLBACK*)(HWND, LPARAM);
BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam);  // all descendants
BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam);                    // top-level windows
BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM lParam);
HWND FindWindow(LPCSTR className, LPCSTR windowName);
HWND FindWindowEx(HWND parent, HWND childAfter, LPCSTR className, LPCSTR windowName);

#define CreateWindowExA CreateWindowEx
#define CreateWindowA CreateWindow
#define DefWindowProcA DefWindowProc
#define CallWindowProcA CallWindowProc
#define GetWindowLongA GetWindowLong
#define SetWindowLongA SetWindowLong
#define GetWindowLongPtrA GetWindowLongPtr
#define SetWindowLongPtrA SetWindowLongPtr
#define SetWindowTextA SetWindowText
#define GetWindowTextA GetWindowText
#define GetWindowTextLengthA GetWindowTextLength
#define SetPropA SetProp
#define GetPropA GetProp
#define RemovePropA RemoveProp
#define FindWindowA FindWindow
#define FindWindowExA FindWindowEx

namespace pictavo::user {
// The window's whole text ("" for no window).
std::string WindowText(HWND hwnd);
// Window handles fit in 32 bits; those of this process carry its tag in bits 20 to 30, so a
// handle read from a record or another process's mapping is recognisably foreign.
bool IsForeignWindowHandle(HWND hwnd);
}  // namespace pictavo::user
