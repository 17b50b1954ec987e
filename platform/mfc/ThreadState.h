// Internal: what the framework keeps per thread — the handle maps, the message the window
// procedure is handling (for Default), the window being created and the wait cursor.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/mfc/HandleMap.h"
#include "platform/user/Message.h"
#include "platform/user/WindowClass.h"

class CWnd;
class CDC;
class CGdiObject;
class CMenu;
class CWinThread;

namespace pictavo::mfc {

struct ThreadState {
  HandleMap<HWND, CWnd> windows;
  HandleMap<HDC, CDC> dcs;
  HandleMap<HGDIOBJ, CGdiObject> gdiObjects;
  HandleMap<HMENU, CMenu> menus;
  // The super procedures of subclassed windows, for a window whose object is gone.
  std::unordered_map<HWND, WNDPROC> superProcs;

  MSG lastSent{};                      // the message the innermost window procedure handles
  MSG msgCur{};                        // the message the thread's pump retrieved last
  int dispatchDepth = 0;               // window procedures running: temporary objects stay
  CWnd* wndInit = nullptr;             // the object CreateEx is making a window for
  HWND lockoutNotifyWindow = nullptr;  // UpdateData runs: its controls' notifications are dropped
  HHOOK createHook = nullptr;
  int createHookUsers = 0;
  CWinThread* thread = nullptr;  // the CWinThread of this thread
};

// The calling thread's state, made on first use and freed when the thread ends.
ThreadState& State();

// Frees the calling thread's temporary objects unless a window procedure is running. The thread's
// message loop does it when idle (CWinThread::OnIdle); modal loops do not, so pointers a dialog
// took from FromHandle stay valid while it runs.
void DeleteTempObjects();

// Installs the hook that attaches `wnd` to the next window the thread creates (before any
// message reaches it); returns with the hook in place. EndCreateHook returns whether the hook
// was used.
void BeginCreateHook(CWnd* wnd);
bool EndCreateHook();

}  // namespace pictavo::mfc
