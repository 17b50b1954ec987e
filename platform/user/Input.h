// Keyboard and mouse state, focus, activation and capture.
#pragma once

#include "platform/base/Messages.h"
#include "platform/base/Styles.h"
#include "platform/base/VirtualKeys.h"
#include "platform/base/WinTypes.h"

// TrackMouseEvent.
#define TME_HOVER 0x00000001
#define TME_LEAVE 0x00000002
#define TME_NONCLIENT 0x00000010
#define TME_QUERY 0x40000000
#define TME_CANCEL 0x80000000
#define HOVER_DEFAULT 0xFFFFFFFF
struct TRACKMOUSEEVENT {
  DWORD cbSize;
  DWORD dwFlags;
  HWND hwndTrack;
  DWORD dwHoverTime;
};
using LPTRACKMOUSEEVENT = TRACKMOUSEEVENT*;

// MapVirtualKey translations.
#define MAPVK_VK_TO_VSC 0
#define MAPVK_VSC_TO_VK 1
#define MAPVK_VK_TO_CHAR 2
#define MAPVK_VSC_TO_VK_EX 3

// Focus: the window of the calling thread that receives keyboard input. Setting it activates its
// top-level window first; WM_KILLFOCUS goes to the old one, WM_SETFOCUS to the new one.
HWND SetFocus(HWND hwnd);
HWND GetFocus();
// Activation of top-level windows: WM_NCACTIVATE and WM_ACTIVATE to the window losing and the
// one gaining activation, WM_ACTIVATEAPP when the program as a whole becomes (in)active.
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();

// Capture: mouse input goes to the window whatever is under the pointer. WM_CAPTURECHANGED goes
// to the window losing it.
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();

// Leave and hover notifications (WM_MOUSELEAVE, WM_MOUSEHOVER) for one window, one-shot.
BOOL TrackMouseEvent(TRACKMOUSEEVENT* track);
#define _TrackMouseEvent TrackMouseEvent

// Key state: 0x8000 set while down, bit 0 the toggle (Caps Lock on ...). GetKeyState is the state
// as of the last input message the thread retrieved; GetAsyncKeyState is the state now.
SHORT GetKeyState(int virtualKey);
SHORT GetAsyncKeyState(int virtualKey);
BOOL GetKeyboardState(BYTE* keyState);
BOOL SetKeyboardState(BYTE* keyState);

// The keyboard layout (United States).
UINT MapVirtualKey(UINT code, UINT mapType);
SHORT VkKeyScan(CHAR ch);
// The character a key makes with a keyboard state: 1 with it in the low byte of *chars, 0 when
// the key makes none.
int ToAscii(UINT virtualKey, UINT scanCode, const BYTE* keyState, LPWORD chars, UINT flags);
int ToAsciiEx(UINT virtualKey, UINT scanCode, const BYTE* keyState, LPWORD chars, UINT flags, HANDLE layout);
#define MapVirtualKeyA MapVirtualKey
// The one layout there is; the thread id is not looked at.
using HKL = HANDLE;
HKL GetKeyboardLayout(DWORD threadId);
UINT MapVirtualKeyEx(UINT code, UINT mapType, HKL layout);
// The key's name as the user reads it on the keyboard ("Ctrl", "Page Up", "Num 7", "F5", "A"),
// from the scan code in bits 16 to 23 of a key message's lParam and its extended flag (bit 24).
// Writes at most size - 1 characters and the terminator; returns the characters written, 0 for a
// key without a name.
int GetKeyNameText(LONG lParam, LPSTR buffer, int size);
#define MapVirtualKeyExA MapVirtualKeyEx
#define GetKeyNameTextA GetKeyNameText
#define VkKeyScanA VkKeyScan

UINT GetDoubleClickTime();
