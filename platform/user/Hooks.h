// Hooks of a thread's message processing. A hook installed for thread 0 sees every thread of the
// program. The newest hook of a kind is called first; CallNextHookEx passes on down the chain.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"

using HOOKPROC = LRESULT(CALLBACK*)(int code, WPARAM wParam, LPARAM lParam);

#define WH_MSGFILTER (-1)
#define WH_GETMESSAGE 3
#define WH_CBT 5
#define WH_MOUSE 7
#define WH_KEYBOARD 2

// Hook codes.
#define HC_ACTION 0
#define HC_NOREMOVE 3

// WH_CBT codes.
#define HCBT_MOVESIZE 0
#define HCBT_MINMAX 1
#define HCBT_QS 2
#define HCBT_CREATEWND 3
#define HCBT_DESTROYWND 4
#define HCBT_ACTIVATE 5
#define HCBT_CLICKSKIPPED 6
#define HCBT_KEYSKIPPED 7
#define HCBT_SYSCOMMAND 8
#define HCBT_SETFOCUS 9

// Where CallMsgFilter is called from (WH_MSGFILTER code).
#define MSGF_DIALOGBOX 0
#define MSGF_MESSAGEBOX 1
#define MSGF_MENU 2
#define MSGF_SCROLLBAR 5
#define MSGF_NEXTWINDOW 6
#define MSGF_MAX 8
#define MSGF_USER 4096

// lParam of WH_MOUSE: wParam is the mouse message.
struct MOUSEHOOKSTRUCT {
  POINT pt;
  HWND hwnd;
  UINT wHitTestCode;
  ULONG_PTR dwExtraInfo;
};
using LPMOUSEHOOKSTRUCT = MOUSEHOOKSTRUCT*;

// lParam of HCBT_CREATEWND (wParam is the new window, already valid; a non-zero result destroys
// it and CreateWindowEx fails). The hook may change the position in lpcs and the z-order.
struct CBT_CREATEWND {
  CREATESTRUCT* lpcs;
  HWND hwndInsertAfter;
};
using LPCBT_CREATEWND = CBT_CREATEWND*;

// lParam of HCBT_ACTIVATE (wParam is the window being activated).
struct CBTACTIVATESTRUCT {
  BOOL fMouse;
  HWND hWndActive;
};

// WH_KEYBOARD: wParam is the virtual key, lParam the key message's lParam. WH_GETMESSAGE:
// wParam is PM_REMOVE or PM_NOREMOVE, lParam the MSG (the hook may change it). A non-zero
// result of a WH_MOUSE or WH_KEYBOARD hook (with HC_ACTION) discards the message.
HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE module, DWORD threadId);
BOOL UnhookWindowsHookEx(HHOOK hook);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);
// Runs the thread's WH_MSGFILTER hooks for a message a modal loop retrieved; TRUE when one
// of them processed it (the loop then neither translates nor dispatches it).
BOOL CallMsgFilter(MSG* msg, int code);
#define SetWindowsHookExA SetWindowsHookEx
#define CallMsgFilterA CallMsgFilter
