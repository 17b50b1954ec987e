// Keyboard navigation in dialogs: tab order, groups, Enter and Escape, mnemonics, and the default
// push button that follows the focus.
#include <algorithm>
#include <string>

#include "platform/base/VirtualKeys.h"
#include "platform/kernel/Unicode.h"
#include "platform/user/Controls.h"
#include "platform/user/Dialog.h"
#include "platform/user/DialogInternal.h"
#include "platform/user/Input.h"
#include "platform/user/Metrics.h"
#include "platform/user/Window.h"

namespace pictavo::user::dialog {
namespace {

DWORD StyleOf(HWND hwnd) {
  return static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE));
}

// Visible and enabled by its own style: a dialog being built is still hidden, its controls are
// not.
bool IsUsable(HWND hwnd) {
  const DWORD style = StyleOf(hwnd);
  return (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

bool IsTabStop(HWND hwnd) {
  return IsUsable(hwnd) && (StyleOf(hwnd) & WS_TABSTOP);
}

void CollectItems(HWND parent, std::vector<HWND>& out) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetWindowLong(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) {
      if (IsUsable(child)) CollectItems(child, out);
      continue;
    }
    out.push_back(child);
  }
}

// Index of `hwnd`, or of the ancestor of it that is an item; -1 when neither is.
int IndexOf(const std::vector<HWND>& items, HWND hwnd) {
  for (HWND h = hwnd; h; h = (StyleOf(h) & WS_CHILD) ? GetParent(h) : nullptr) {
    auto it = std::find(items.begin(), items.end(), h);
    if (it != items.end()) return static_cast<int>(it - items.begin());
  }
  return -1;
}

// The character after the first single '&' of a control's text, folded; 0 when there is none.
char32_t MnemonicOf(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    size_t pos = i + 1;
    const char32_t cp = unicode::DecodeUtf8(text, pos);
    return cp == unicode::kInvalid ? 0 : unicode::FoldCase(cp);
  }
  return 0;
}

void ClickDefault(HWND dialog, HWND focus, UINT focusCode) {
  UINT id = 0;
  HWND button = nullptr;
  if (IsPushButton(focusCode) && IsWindowEnabled(focus)) {
    button = focus;
    id = static_cast<UINT>(GetDlgCtrlID(focus));
  } else {
    const LRESULT def = SendMessage(dialog, DM_GETDEFID, 0, 0);
    id = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
    button = GetDlgItem(dialog, static_cast<int>(id));
    if (button && !IsWindowEnabled(button)) {
      MessageBeep(0);
      return;
    }
  }
  SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void Cancel(HWND dialog) {
  HWND cancel = GetDlgItem(dialog, IDCANCEL);
  if (cancel && !IsWindowEnabled(cancel)) {
    MessageBeep(0);
    return;
  }
  SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
}

}  // namespace

std::vector<HWND> DialogItems(HWND dialog) {
  std::vector<HWND> items;
  if (dialog) CollectItems(dialog, items);
  return items;
}

UINT DialogCode(HWND control, const MSG* msg) {
  if (!control) return 0;
  return static_cast<UINT>(
      SendMessage(control, WM_GETDLGCODE, msg ? msg->wParam : 0, reinterpret_cast<LPARAM>(msg)));
}

bool IsPushButton(UINT code) {
  return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

HWND PushButtonById(HWND dialog, UINT id) {
  HWND button = id ? GetDlgItem(dialog, static_cast<int>(id)) : nullptr;
  return button && IsPushButton(DialogCode(button)) ? button : nullptr;
}

void SetButtonLook(HWND button, bool isDefault) {
  if (!button) return;
  if (((DialogCode(button) & DLGC_DEFPUSHBUTTON) != 0) == isDefault) return;
  const DWORD style = StyleOf(button);
  const DWORD type = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  SendMessage(button, BM_SETSTYLE, (style & ~static_cast<DWORD>(BS_TYPEMASK)) | type, TRUE);
}

void UpdateDefaultButton(HWND dialog, HWND from, HWND to) {
  auto state = FindState(dialog);
  if (!state) return;
  HWND def = PushButtonById(dialog, state->defId);
  const bool fromButton = from && from != to && IsChild(dialog, from) && IsPushButton(DialogCode(from));
  if (to && IsPushButton(DialogCode(to))) {
    if (fromButton) SetButtonLook(from, false);
    if (def && def != to) SetButtonLook(def, false);
    SetButtonLook(to, true);
    return;
  }
  if (fromButton && from != def) SetButtonLook(from, false);
  if (def) SetButtonLook(def, true);
}

void SetDialogFocus(HWND dialog, HWND control, bool selectText) {
  HWND old = GetFocus();
  SetFocus(control);
  if (GetFocus() != control) return;
  if (selectText && (DialogCode(control) & DLGC_HASSETSEL)) SendMessage(control, EM_SETSEL, 0, -1);
  UpdateDefaultButton(dialog, old, control);
}

bool HandleMnemonic(HWND dialog, HWND focus, char32_t ch) {
  if (ch < 0x20) return false;
  const char32_t wanted = unicode::FoldCase(ch);
  const std::vector<HWND> items = DialogItems(dialog);
  const int n = static_cast<int>(items.size());
  const int start = IndexOf(items, focus);
  for (int step = 1; step <= n; ++step) {
    const int i = ((start + step) % n + n) % n;
    HWND item = items[static_cast<size_t>(i)];
    if (!IsUsable(item)) continue;
    const UINT code = DialogCode(item);
    if ((code & DLGC_STATIC) && (StyleOf(item) & SS_NOPREFIX) && !(code & DLGC_BUTTON)) continue;
    if (MnemonicOf(pictavo::user::WindowText(item)) != wanted) continue;
    if (code & DLGC_STATIC) {
      // A label (or a group box): the focus goes to the control it names, the next one.
      for (int k = 1; k < n; ++k) {
        HWND next = items[static_cast<size_t>((i + k) % n)];
        if (IsUsable(next) && !(DialogCode(next) & DLGC_STATIC)) {
          SetDialogFocus(dialog, next, true);
          break;
        }
      }
      return true;
    }
    if (IsPushButton(code)) {
      SendMessage(item, BM_CLICK, 0, 0);
    } else if (code & (DLGC_BUTTON | DLGC_RADIOBUTTON)) {
      SetDialogFocus(dialog, item, false);
      SendMessage(item, BM_CLICK, 0, 0);
    } else {
      SetDialogFocus(dialog, item, true);
    }
    return true;
  }
  return false;
}

}  // namespace pictavo::user::dialog

using namespace pictavo::user::dialog;

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  const std::vector<HWND> items = DialogItems(dialog);
  const int n = static_cast<int>(items.size());
  if (n == 0) return nullptr;
  const int start = control ? IndexOf(items, control) : -1;
  for (int step = 1; step <= n; ++step) {
    int i;
    if (start < 0)
      i = previous ? n - step : step - 1;
    else
      i = ((previous ? start - step : start + step) % n + n) % n;
    if (IsTabStop(items[static_cast<size_t>(i)])) return items[static_cast<size_t>(i)];
  }
  return control;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  HWND parent = control && (StyleOf(control) & WS_CHILD) ? GetParent(control) : dialog;
  std::vector<HWND> siblings;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    siblings.push_back(child);
  if (siblings.empty()) return nullptr;
  auto it = std::find(siblings.begin(), siblings.end(), control);
  if (it == siblings.end()) return siblings.front();
  const int index = static_cast<int>(it - siblings.begin());
  int first = index;
  while (first > 0 && !(StyleOf(siblings[static_cast<size_t>(first)]) & WS_GROUP)) --first;
  int end = index + 1;
  while (end < static_cast<int>(siblings.size()) && !(StyleOf(siblings[static_cast<size_t>(end)]) & WS_GROUP))
    ++end;
  const int length = end - first;
  for (int step = 1; step < length; ++step) {
    const int offset = ((index - first + (previous ? -step : step)) % length + length) % length;
    HWND candidate = siblings[static_cast<size_t>(first + offset)];
    if (IsUsable(candidate)) return candidate;
  }
  return control;
}

BOOL IsDialogMessage(HWND dialog, LPMSG msg) {
  if (!dialog || !msg || !msg->hwnd) return FALSE;
  if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
  // A dialog inside another one (DS_CONTROL: a page) navigates as part of the dialog around it.
  for (HWND parent; (StyleOf(dialog) & WS_CHILD) &&
                    (GetWindowLong(dialog, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) &&
                    (parent = GetParent(dialog)) != nullptr && FindState(parent);)
    dialog = parent;
  HWND focus = msg->hwnd;
  switch (msg->message) {
    case WM_KEYDOWN: {
      const UINT code = DialogCode(focus, msg);
      if (code & DLGC_WANTMESSAGE) break;
      switch (msg->wParam) {
        case VK_TAB: {
          if (code & DLGC_WANTTAB) break;
          HWND next = GetNextDlgTabItem(dialog, focus, GetKeyState(VK_SHIFT) < 0 ? TRUE : FALSE);
          if (next) SetDialogFocus(dialog, next, true);
          return TRUE;
        }
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN: {
          if (code & DLGC_WANTARROWS) break;
          const BOOL back = (msg->wParam == VK_LEFT || msg->wParam == VK_UP) ? TRUE : FALSE;
          HWND next = GetNextDlgGroupItem(dialog, focus, back);
          if (next && next != focus) {
            SetDialogFocus(dialog, next, true);
            if (DialogCode(next) & DLGC_RADIOBUTTON) SendMessage(next, BM_CLICK, 0, 0);
          }
          return TRUE;
        }
        case VK_RETURN:
          ClickDefault(dialog, focus, code);
          return TRUE;
        case VK_ESCAPE:
          Cancel(dialog);
          return TRUE;
        default:
          break;
      }
      break;
    }
    case WM_CHAR: {
      const UINT code = DialogCode(focus, msg);
      if (code & (DLGC_WANTCHARS | DLGC_WANTMESSAGE)) break;
      if (msg->wParam == '\t' && !(code & DLGC_WANTTAB)) return TRUE;
      if (HandleMnemonic(dialog, focus, static_cast<char32_t>(msg->wParam))) return TRUE;
      break;
    }
    case WM_SYSCHAR:
      if (HandleMnemonic(dialog, focus, static_cast<char32_t>(msg->wParam))) return TRUE;
      break;
    default:
      break;
  }
  TranslateMessage(msg);
  DispatchMessage(msg);
  return TRUE;
}
