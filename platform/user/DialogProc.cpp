// The dialog class's procedure, the state of each dialog, EndDialog and the modal dialog loop.
#include <mutex>
#include <unordered_map>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/res/Templates.h"
#include "platform/user/Controls.h"
#include "platform/user/Dialog.h"
#include "platform/user/DialogInternal.h"
#include "platform/user/Hooks.h"
#include "platform/user/Input.h"
#include "platform/user/Metrics.h"
#include "platform/user/ModalLoop.h"
#include "platform/user/Paint.h"
#include "platform/user/Window.h"
#include "platform/user/WindowPos.h"

namespace pictavo::user::dialog {
namespace {

struct StateTable {
  std::mutex lock;
  std::unordered_map<HWND, std::shared_ptr<DialogState>> states;  // guarded by lock
};
StateTable& States() {
  static StateTable* table = new StateTable;
  return *table;
}

void SaveFocus(HWND dialog, DialogState& state) {
  HWND focus = GetFocus();
  if (focus && IsChild(dialog, focus)) state.focusSave = focus;
}

void RestoreFocus(HWND dialog, DialogState& state) {
  HWND target = state.focusSave;
  // Its own style decides: the dialog itself may still be on its way to the screen.
  const DWORD style = target ? static_cast<DWORD>(GetWindowLong(target, GWL_STYLE)) : 0;
  if (!target || !IsWindow(target) || !IsChild(dialog, target) || !(style & WS_VISIBLE) ||
      (style & WS_DISABLED))
    target = GetNextDlgTabItem(dialog, nullptr, FALSE);
  if (target) SetDialogFocus(dialog, target, false);
}

void SetDefaultId(HWND dialog, DialogState& state, UINT id) {
  HWND focus = GetFocus();
  const bool focusIsButton = focus && IsChild(dialog, focus) && IsPushButton(DialogCode(focus));
  HWND old = PushButtonById(dialog, state.defId);
  state.defId = id;
  if (focusIsButton) return;  // the focused button keeps the look while it has the focus
  if (old) SetButtonLook(old, false);
  SetButtonLook(PushButtonById(dialog, id), true);
}

void KeepOnDesktop(HWND dialog) {
  RECT r{};
  if (!GetWindowRect(dialog, &r) || (GetWindowLong(dialog, GWL_STYLE) & WS_CHILD)) return;
  const SIZE desktop = gdi::DesktopSize();
  int x = r.left, y = r.top;
  if (r.right > desktop.cx) x -= r.right - desktop.cx;
  if (r.bottom > desktop.cy) y -= r.bottom - desktop.cy;
  if (x < 0) x = 0;
  if (y < 0) y = 0;
  if (x != r.left || y != r.top)
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT DefaultProcessing(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_ERASEBKGND: {
      auto brush = reinterpret_cast<HBRUSH>(
          SendMessage(dialog, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(dialog)));
      if (!brush) brush = GetSysColorBrush(COLOR_3DFACE);
      RECT client{};
      GetClientRect(dialog, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
      return TRUE;
    }
    case WM_SHOWWINDOW:
      if (!wParam) SaveFocus(dialog, *StateOf(dialog));
      return DefWindowProc(dialog, message, wParam, lParam);
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE)
        SaveFocus(dialog, *StateOf(dialog));
      else if (!IsIconic(dialog))
        RestoreFocus(dialog, *StateOf(dialog));
      return 0;
    case WM_SETFOCUS:
      RestoreFocus(dialog, *StateOf(dialog));
      return 0;
    case WM_CLOSE: {
      HWND cancel = GetDlgItem(dialog, IDCANCEL);
      if (cancel && !IsWindowEnabled(cancel)) {
        MessageBeep(0);
        return 0;
      }
      PostMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      return 0;
    }
    case WM_NEXTDLGCTL: {
      HWND to = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                               : GetNextDlgTabItem(dialog, GetFocus(), wParam != 0 ? TRUE : FALSE);
      if (to && IsWindow(to)) SetDialogFocus(dialog, to, true);
      return 0;
    }
    case DM_GETDEFID: {
      const UINT id = StateOf(dialog)->defId;
      return id ? MAKELRESULT(id, DC_HASDEFID) : 0;
    }
    case DM_SETDEFID:
      SetDefaultId(dialog, *StateOf(dialog), static_cast<UINT>(wParam));
      return TRUE;
    case DM_REPOSITION:
      KeepOnDesktop(dialog);
      return 0;
    case WM_SETFONT:
      StateOf(dialog)->font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(StateOf(dialog)->font);
    case WM_NCDESTROY:
      ReleaseState(dialog);
      return DefWindowProc(dialog, message, wParam, lParam);
    default:
      return DefWindowProc(dialog, message, wParam, lParam);
  }
}

// Messages whose result the dialog procedure returns itself instead of through DWLP_MSGRESULT.
bool ReturnsDirectly(UINT message) {
  return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_COMPAREITEM ||
         message == WM_VKEYTOITEM || message == WM_CHARTOITEM || message == WM_QUERYDRAGICON ||
         message == WM_INITDIALOG;
}

INT_PTR RunDialog(HINSTANCE instance, const res::DialogTemplate& t, HWND parent, DLGPROC proc,
                  LPARAM initParam) {
  HWND owner = parent ? GetAncestor(parent, GA_ROOT) : nullptr;
  if (t.style & WS_CHILD) {
    SetLastError(ERROR_INVALID_PARAMETER);  // a modal dialog is a top-level window
    return -1;
  }
  HWND dialog = CreateFromTemplate(instance, t, owner, proc, initParam);
  if (!dialog) return -1;
  auto state = StateOf(dialog);
  state->modal = true;
  const bool disableOwner = owner && IsWindowEnabled(owner);
  if (disableOwner) EnableWindow(owner, FALSE);
  const bool noIdleMessage = (GetWindowLong(dialog, GWL_STYLE) & DS_NOIDLEMSG) != 0;

  bool quit = false;
  if (!state->ended && IsWindow(dialog)) {
    if (!IsWindowVisible(dialog)) {
      ShowWindow(dialog, SW_SHOWNORMAL);
      UpdateWindow(dialog);
    }
    ModalLoop loop;
    loop.done = [&] { return state->ended || !IsWindow(dialog); };
    loop.preTranslate = [dialog](MSG& msg) {
      return CallMsgFilter(&msg, MSGF_DIALOGBOX) || IsDialogMessage(dialog, &msg);
    };
    loop.idle = [owner, dialog, noIdleMessage](LONG count) {
      if (count == 0 && owner && !noIdleMessage)
        SendMessage(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(dialog));
      return false;
    };
    quit = !RunModalLoop(loop);
  }
  // The owner comes back before the dialog goes, so activation returns to it.
  if (disableOwner && IsWindow(owner)) EnableWindow(owner, TRUE);
  if (IsWindow(dialog)) DestroyWindow(dialog);
  if (quit) return -1;
  return state->ended ? state->result : -1;
}

}  // namespace

std::shared_ptr<DialogState> StateOf(HWND dialog) {
  auto& table = States();
  std::lock_guard lock(table.lock);
  auto& slot = table.states[dialog];
  if (!slot) slot = std::make_shared<DialogState>();
  return slot;
}

std::shared_ptr<DialogState> FindState(HWND dialog) {
  auto& table = States();
  std::lock_guard lock(table.lock);
  auto it = table.states.find(dialog);
  return it == table.states.end() ? nullptr : it->second;
}

void ReleaseState(HWND dialog) {
  std::shared_ptr<DialogState> state;
  {
    auto& table = States();
    std::lock_guard lock(table.lock);
    auto it = table.states.find(dialog);
    if (it == table.states.end()) return;
    state = std::move(it->second);
    table.states.erase(it);
  }
  if (state->ownsFont && state->font) DeleteObject(state->font);
  state->font = nullptr;
  state->ownsFont = false;
}

}  // namespace pictavo::user::dialog

using namespace pictavo::user::dialog;

LRESULT DefDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtr(dialog, DWLP_DLGPROC));
  if (proc) {
    SetWindowLongPtr(dialog, DWLP_MSGRESULT, 0);
    const INT_PTR handled = proc(dialog, message, wParam, lParam);
    // WM_INITDIALOG's answer is whether the dialog manager should set the focus: FALSE too.
    if (message == WM_INITDIALOG) return handled;
    if (handled) {
      if (ReturnsDirectly(message)) return handled;
      return IsWindow(dialog) ? GetWindowLongPtr(dialog, DWLP_MSGRESULT) : 0;
    }
    if (!IsWindow(dialog)) return 0;
  }
  return DefaultProcessing(dialog, message, wParam, lParam);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  if (!IsWindow(dialog)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  auto state = StateOf(dialog);
  state->ended = true;
  state->result = result;
  // Wakes the dialog's loop when this came from outside a message it dispatches.
  PostMessage(dialog, WM_NULL, 0, 0);
  return TRUE;
}

INT_PTR DialogBoxIndirectParam(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent, DLGPROC proc,
                               LPARAM initParam) {
  if (!dialogTemplate) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  return RunDialog(instance, *dialogTemplate, parent, proc, initParam);
}

INT_PTR DialogBoxParam(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM initParam) {
  const pictavo::res::DialogTemplate* t = pictavo::res::FindDialog(instance, templateName);
  if (!t) return -1;
  return RunDialog(instance, *t, parent, proc, initParam);
}
