// The per-thread state of the framework, its temporary objects and the creation hook that
// attaches a CWnd to its window before the window gets any message.
#include "platform/mfc/ThreadState.h"

#include "platform/kernel/Thread.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/Wnd.h"
#include "platform/user/Hooks.h"

namespace pictavo::mfc {
namespace {

// A plain pointer outlives the thread's other objects: the application object's destructor,
// which runs after them on the main thread, may still reach the state (a new one then).
thread_local ThreadState* t_state = nullptr;
thread_local bool t_ended = false;

struct StateOwner {
  StateOwner() {}  // dynamic: made (and its destructor registered) on first use in the thread
  ~StateOwner() {
    ThreadState* state = t_state;
    t_state = nullptr;
    t_ended = true;
    if (!state) return;
    DeleteTemporaries(*state);
    delete state;
  }
  static void DeleteTemporaries(ThreadState& state) {
    state.windows.DeleteTemporaries([](CWnd& wnd) { wnd.m_hWnd = nullptr; });
    state.dcs.DeleteTemporaries([](CDC& dc) { dc.m_hDC = dc.m_hAttribDC = nullptr; });
    state.gdiObjects.DeleteTemporaries([](CGdiObject& object) { object.m_hObject = nullptr; });
    state.menus.DeleteTemporaries([](CMenu& menu) { menu.m_hMenu = nullptr; });
  }
};
thread_local StateOwner t_owner;

LRESULT CALLBACK CreateHook(int code, WPARAM wParam, LPARAM lParam) {
  ThreadState& state = State();
  if (code != HCBT_CREATEWND || !state.wndInit) return CallNextHookEx(state.createHook, code, wParam, lParam);
  CWnd* wnd = state.wndInit;
  state.wndInit = nullptr;
  auto hwnd = reinterpret_cast<HWND>(wParam);
  wnd->Attach(hwnd);
  wnd->PreSubclassWindow();
  auto old =
      reinterpret_cast<WNDPROC>(SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
  if (old != AfxWndProc) {
    *wnd->GetSuperWndProcAddr() = old;
    state.superProcs[hwnd] = old;
  }
  return CallNextHookEx(state.createHook, code, wParam, lParam);
}

}  // namespace

ThreadState& State() {
  if (!t_state) {
    t_state = new ThreadState;
    if (!t_ended) (void)&t_owner;  // frees it when the thread ends
  }
  return *t_state;
}

void DeleteTempObjects() {
  ThreadState& state = State();
  if (state.dispatchDepth > 0) return;
  StateOwner::DeleteTemporaries(state);
}

void BeginCreateHook(CWnd* wnd) {
  ThreadState& state = State();
  if (!state.createHook)
    state.createHook = SetWindowsHookEx(WH_CBT, CreateHook, nullptr, GetCurrentThreadId());
  ++state.createHookUsers;
  state.wndInit = wnd;
}

bool EndCreateHook() {
  ThreadState& state = State();
  const bool used = state.wndInit == nullptr;
  state.wndInit = nullptr;
  if (--state.createHookUsers == 0 && state.createHook) {
    UnhookWindowsHookEx(state.createHook);
    state.createHook = nullptr;
  }
  return used;
}

}  // namespace pictavo::mfc
