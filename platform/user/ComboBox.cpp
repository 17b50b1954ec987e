// The combo box: a selection field (an edit for CBS_SIMPLE and CBS_DROPDOWN) over a list box
// that is a child for CBS_SIMPLE and otherwise a pop-up on the desktop, shown below the combo
// box (above it when there is no room) while dropped. The list holds the items; the combo box
// passes the CB_ messages on to it and turns its reports into CBN_ notifications.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/gdi/Gdi.h"
#include "platform/user/ControlsInternal.h"
#include "platform/user/Input.h"
#include "platform/user/Message.h"
#include "platform/user/Metrics.h"
#include "platform/user/Paint.h"
#include "platform/user/WindowPos.h"

namespace pictavo::user::controls {
namespace {

constexpr int kBorder = 1;
constexpr int kFieldPad = 2;  // between the border and the field's item, top and bottom

struct ComboState : ControlState {
  HWND list = nullptr;
  HWND edit = nullptr;
  bool dropped = false;
  bool focused = false;  // CBS_DROPDOWNLIST: the combo box itself has the focus
  int fieldHeight = 15;  // the selection field's item height
  bool fieldHeightSet = false;
  int listHeight = 100;  // the drop-down's height, from the height the combo box was made with
  int droppedWidth = 0;
  bool extendedUI = false;
  bool settingEdit = false;  // our own change of the edit's text
};
StateTable<ComboState>& States() {
  static auto* table = new StateTable<ComboState>;
  return *table;
}

UINT KindOf(DWORD style) {
  return style & 0x3;
}
bool HasEdit(DWORD style) {
  return KindOf(style) == CBS_SIMPLE || KindOf(style) == CBS_DROPDOWN;
}
bool IsOwnerDraw(DWORD style) {
  return (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0;
}
bool HasStrings(DWORD style) {
  return !IsOwnerDraw(style) || (style & CBS_HASSTRINGS);
}

int FieldWindowHeight(const ComboState& s) {
  return s.fieldHeight + 2 * (kBorder + kFieldPad);
}

RECT ButtonRect(HWND hwnd) {
  RECT client;
  GetClientRect(hwnd, &client);
  if (KindOf(StyleOf(hwnd)) == CBS_SIMPLE) return RECT{};
  const int width = GetSystemMetrics(SM_CXVSCROLL);
  return RECT{client.right - kBorder - width, kBorder, client.right - kBorder, client.bottom - kBorder};
}

// The selection field inside the border, left of the button.
RECT FieldRect(HWND hwnd, const ComboState& s) {
  RECT client;
  GetClientRect(hwnd, &client);
  RECT r{kBorder, kBorder, client.right - kBorder, client.bottom - kBorder};
  if (KindOf(StyleOf(hwnd)) == CBS_SIMPLE) r.bottom = FieldWindowHeight(s) - kBorder;
  const RECT button = ButtonRect(hwnd);
  if (button.right > button.left) r.right = button.left;
  return r;
}

void Layout(HWND hwnd, const ComboState& s) {
  const RECT field = FieldRect(hwnd, s);
  if (s.edit)
    SetWindowPos(s.edit, nullptr, field.left + 1, field.top + 1, field.right - field.left - 2,
                 field.bottom - field.top - 2, SWP_NOZORDER | SWP_NOACTIVATE);
  if (s.list && KindOf(StyleOf(hwnd)) == CBS_SIMPLE) {
    RECT client;
    GetClientRect(hwnd, &client);
    const int top = FieldWindowHeight(s);
    SetWindowPos(s.list, nullptr, 0, top, client.right, std::max(0, static_cast<int>(client.bottom) - top),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// A drop-down combo box is as high as its field; the height it was made with is the list's.
void FitHeight(HWND hwnd, const ComboState& s) {
  if (KindOf(StyleOf(hwnd)) == CBS_SIMPLE) {
    Layout(hwnd, s);
    return;
  }
  RECT window;
  GetWindowRect(hwnd, &window);
  SetWindowPos(hwnd, nullptr, 0, 0, window.right - window.left, FieldWindowHeight(s),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Layout(hwnd, s);
}

LRESULT ToList(const ComboState& s, UINT message, WPARAM wParam, LPARAM lParam) {
  return s.list ? SendMessage(s.list, message, wParam, lParam) : CB_ERR;
}

int Selection(const ComboState& s) {
  return static_cast<int>(ToList(s, LB_GETCURSEL, 0, 0));
}

std::string ItemText(HWND hwnd, const ComboState& s, int index) {
  if (index < 0 || !HasStrings(StyleOf(hwnd))) return {};
  const LRESULT length = ToList(s, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  ToList(s, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

void SetEditText(ComboState& s, const std::string& text) {
  if (!s.edit) return;
  s.settingEdit = true;
  SetWindowText(s.edit, text.c_str());
  SendMessage(s.edit, EM_SETSEL, 0, -1);
  s.settingEdit = false;
}

// The field shows the list's selection.
void ShowSelection(HWND hwnd, ComboState& s) {
  if (s.edit) SetEditText(s, ItemText(hwnd, s, Selection(s)));
  InvalidateRect(hwnd, nullptr, FALSE);
}

void Drop(HWND hwnd, const std::shared_ptr<ComboState>& state, bool byMouse) {
  ComboState& s = *state;
  if (s.dropped || !s.list || KindOf(StyleOf(hwnd)) == CBS_SIMPLE) return;
  NotifyParent(hwnd, CBN_DROPDOWN);
  if (!s.alive || s.dropped) return;
  RECT combo;
  GetWindowRect(hwnd, &combo);
  const int width = std::max<int>(s.droppedWidth, combo.right - combo.left);
  // As high as the items need, within the height the combo box was made with.
  const int count = static_cast<int>(ToList(s, LB_GETCOUNT, 0, 0));
  int items = 0;
  for (int i = 0; i < count && items < s.listHeight; ++i)
    items += static_cast<int>(ToList(s, LB_GETITEMHEIGHT, static_cast<WPARAM>(i), 0));
  const int minimum = static_cast<int>(ToList(s, LB_GETITEMHEIGHT, 0, 0)) + 2 * kBorder;
  const int height = std::max(minimum, std::min(s.listHeight, items + 2 * kBorder));
  const int desktop = GetSystemMetrics(SM_CYSCREEN);
  int y = combo.bottom;
  if (y + height > desktop && combo.top - height >= 0) y = combo.top - height;
  SetWindowPos(s.list, HWND_TOPMOST, combo.left, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  s.dropped = true;
  SendMessage(s.list, kListBeginDrop, byMouse ? 1 : 0, 0);
  InvalidateRect(hwnd, nullptr, FALSE);
}

void Close(HWND hwnd, ComboState& s) {
  if (!s.dropped) return;
  s.dropped = false;
  SendMessage(s.list, kListEndDrop, 0, 0);
  ShowWindow(s.list, SW_HIDE);
  InvalidateRect(hwnd, nullptr, FALSE);
  NotifyParent(hwnd, CBN_CLOSEUP);
}

// The highlighted item of the open list becomes the selection, and the list closes.
void Choose(HWND hwnd, const std::shared_ptr<ComboState>& state) {
  ComboState& s = *state;
  const int before = Selection(s);
  const int chosen = static_cast<int>(ToList(s, kListGetHover, 0, 0));
  if (chosen >= 0) ToList(s, LB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
  ShowSelection(hwnd, s);
  NotifyParent(hwnd, CBN_SELENDOK);
  if (!s.alive) return;
  Close(hwnd, s);
  if (s.alive && chosen >= 0 && chosen != before) NotifyParent(hwnd, CBN_SELCHANGE);
}

void Cancel(HWND hwnd, const std::shared_ptr<ComboState>& state) {
  ComboState& s = *state;
  if (!s.dropped) return;
  NotifyParent(hwnd, CBN_SELENDCANCEL);
  if (s.alive) Close(hwnd, s);
}

void Paint(HWND hwnd, HDC dc, const ComboState& s) {
  const DWORD style = StyleOf(hwnd);
  const bool disabled = !IsWindowEnabled(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  HBRUSH brush = ControlColorBrush(hwnd, dc, disabled ? WM_CTLCOLORSTATIC : WM_CTLCOLORLISTBOX);
  Selected font(dc, FontOrDefault(s.font));
  RECT frame = client;
  if (KindOf(style) == CBS_SIMPLE) frame.bottom = FieldWindowHeight(s);
  const RECT field = FieldRect(hwnd, s);
  FillBackground(hwnd, dc, brush, field);
  HBRUSH border = CreateSolidBrush(
      GetSysColor((s.focused || s.dropped) && !disabled ? COLOR_HIGHLIGHT : COLOR_BTNSHADOW));
  FrameRect(dc, &frame, border);
  DeleteObject(border);
  const RECT button = ButtonRect(hwnd);
  if (button.right > button.left) {
    RECT r = button;
    DrawFrameControl(
        dc, &r, DFC_SCROLL,
        DFCS_SCROLLCOMBOBOX | DFCS_FLAT | (s.dropped ? DFCS_PUSHED : 0) | (disabled ? DFCS_INACTIVE : 0));
  }
  if (HasEdit(style)) return;  // the edit draws the field
  const int selection = Selection(s);
  RECT item = field;
  InflateRect(&item, -1, -1);
  const bool highlight = s.focused && !s.dropped && !disabled;
  if (IsOwnerDraw(style)) {
    HWND parent = GetParent(hwnd);
    if (!parent) return;
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_COMBOBOX;
    dis.CtlID = static_cast<UINT>(ControlId(hwnd));
    dis.itemID = static_cast<UINT>(selection);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState =
        ODS_COMBOBOXEDIT | (highlight ? ODS_SELECTED | ODS_FOCUS : 0) | (disabled ? ODS_DISABLED : 0);
    dis.hwndItem = hwnd;
    dis.hDC = dc;
    dis.rcItem = item;
    dis.itemData = selection >= 0
                       ? static_cast<ULONG_PTR>(ToList(s, LB_GETITEMDATA, static_cast<WPARAM>(selection), 0))
                       : 0;
    SaveDC(dc);
    SendMessage(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    RestoreDC(dc, -1);
    return;
  }
  if (highlight) {
    gdi::FillSolidRect(dc, item, GetSysColor(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  } else if (disabled) {
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  }
  SetBkMode(dc, TRANSPARENT);
  const std::string text = ItemText(hwnd, s, selection);
  RECT area = item;
  area.left += 2;
  DrawText(dc, text.c_str(), static_cast<int>(text.size()), &area, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (highlight) DrawFocusRect(dc, &item);
}

void Create(HWND hwnd, const std::shared_ptr<ComboState>& state, const CREATESTRUCT& cs) {
  ComboState& s = *state;
  const DWORD style = static_cast<DWORD>(cs.style);
  s.fieldHeight = LineHeightOf(nullptr) + 2;
  if (IsOwnerDraw(style)) {
    // The owner measures the selection field first (item -1).
    MEASUREITEMSTRUCT mis{ODT_COMBOBOX,
                          static_cast<UINT>(ControlId(hwnd)),
                          static_cast<UINT>(-1),
                          0,
                          static_cast<UINT>(s.fieldHeight),
                          0};
    if (HWND parent = GetParent(hwnd))
      SendMessage(parent, WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
    s.fieldHeight = std::clamp(static_cast<int>(mis.itemHeight), 1, 255);
  }
  s.listHeight = std::max(cs.cy - FieldWindowHeight(s), s.fieldHeight + 2 * kBorder);
  DWORD listStyle = LBS_COMBOBOX | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER;
  if (style & CBS_SORT) listStyle |= LBS_SORT;
  if (style & CBS_HASSTRINGS) listStyle |= LBS_HASSTRINGS;
  if (style & CBS_OWNERDRAWFIXED) listStyle |= LBS_OWNERDRAWFIXED;
  if (style & CBS_OWNERDRAWVARIABLE) listStyle |= LBS_OWNERDRAWVARIABLE;
  if (style & CBS_DISABLENOSCROLL) listStyle |= LBS_DISABLENOSCROLL;
  if (KindOf(style) == CBS_SIMPLE) {
    s.list = CreateWindowEx(0, WC_COMBOLBOX, "", listStyle | WS_CHILD | WS_VISIBLE, 0, 0, cs.cx, cs.cy, hwnd,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kComboListId)), cs.hInstance, hwnd);
  } else {
    s.list = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WC_COMBOLBOX, "", listStyle | WS_POPUP, 0, 0,
                            cs.cx, s.listHeight, hwnd, nullptr, cs.hInstance, hwnd);
  }
  if (HasEdit(style)) {
    DWORD editStyle = WS_CHILD | WS_VISIBLE;
    if ((style & CBS_AUTOHSCROLL) || KindOf(style) == CBS_DROPDOWN) editStyle |= ES_AUTOHSCROLL;
    if (style & CBS_UPPERCASE) editStyle |= ES_UPPERCASE;
    if (style & CBS_LOWERCASE) editStyle |= ES_LOWERCASE;
    s.edit =
        CreateWindowEx(0, WC_EDIT, "", editStyle, 0, 0, 10, 10, hwnd,
                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(kComboEditId)), cs.hInstance, nullptr);
  }
  if (cs.style & WS_DISABLED) {
    if (s.edit) EnableWindow(s.edit, FALSE);
    if (s.list) EnableWindow(s.list, FALSE);
  }
  FitHeight(hwnd, s);
}

void SetFontOf(HWND hwnd, ComboState& s, HFONT font, bool redraw) {
  s.font = font;
  if (s.edit) SendMessage(s.edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (s.list) SendMessage(s.list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (!s.fieldHeightSet && !IsOwnerDraw(StyleOf(hwnd))) s.fieldHeight = LineHeightOf(font) + 2;
  FitHeight(hwnd, s);
  if (redraw) InvalidateRect(hwnd, nullptr, TRUE);
}

// Keys of the combo box (its own, or passed on by its edit).
bool Key(HWND hwnd, const std::shared_ptr<ComboState>& state, UINT message, WPARAM key) {
  ComboState& s = *state;
  const bool alt = message == WM_SYSKEYDOWN;
  if ((alt && (key == VK_DOWN || key == VK_UP)) || (!alt && key == VK_F4 && !s.extendedUI)) {
    if (s.dropped)
      Choose(hwnd, state);
    else
      Drop(hwnd, state, false);
    return true;
  }
  if (alt) return false;
  if (s.dropped && key == VK_RETURN) {
    Choose(hwnd, state);
    return true;
  }
  if (s.dropped && key == VK_ESCAPE) {
    Cancel(hwnd, state);
    return true;
  }
  if (!s.dropped && s.extendedUI && key == VK_DOWN) {
    Drop(hwnd, state, false);
    return true;
  }
  switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
    case VK_LEFT:
    case VK_RIGHT:
      // The list moves its selection and reports it (LBN_SELCHANGE).
      if (s.list)
        SendMessage(s.list, WM_KEYDOWN, key == VK_LEFT ? VK_UP : key == VK_RIGHT ? VK_DOWN : key, 0);
      return true;
    default:
      return false;
  }
}

void FromList(HWND hwnd, const std::shared_ptr<ComboState>& state, WORD code) {
  ComboState& s = *state;
  switch (code) {
    case LBN_SELCHANGE:
      ShowSelection(hwnd, s);
      NotifyParent(hwnd, CBN_SELCHANGE);
      break;
    case LBN_DBLCLK:
      NotifyParent(hwnd, CBN_DBLCLK);
      break;
    case kListChosen:
      Choose(hwnd, state);
      break;
    case kListCancelled:
      Cancel(hwnd, state);
      break;
    default:
      break;
  }
}

void FromEdit(HWND hwnd, const std::shared_ptr<ComboState>& state, WORD code) {
  ComboState& s = *state;
  switch (code) {
    case EN_CHANGE:
      if (s.settingEdit) return;
      if (s.dropped) {
        // The open list follows what is typed.
        std::string text(static_cast<size_t>(GetWindowTextLength(s.edit)) + 1, '\0');
        text.resize(static_cast<size_t>(GetWindowText(s.edit, text.data(), static_cast<int>(text.size()))));
        const LRESULT found =
            ToList(s, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
        if (found >= 0) ToList(s, kListSetHover, static_cast<WPARAM>(found), 0);
      }
      NotifyParent(hwnd, CBN_EDITCHANGE);
      break;
    case EN_UPDATE:
      if (!s.settingEdit) NotifyParent(hwnd, CBN_EDITUPDATE);
      break;
    case EN_SETFOCUS:
      if (s.focused) return;
      s.focused = true;
      SendMessage(s.edit, EM_SETSEL, 0, -1);
      InvalidateRect(hwnd, nullptr, FALSE);
      NotifyParent(hwnd, CBN_SETFOCUS);
      break;
    case EN_KILLFOCUS: {
      HWND now = GetFocus();
      if (now && (now == hwnd || IsChild(hwnd, now) || now == s.list)) return;
      Cancel(hwnd, state);
      if (!s.alive) return;
      s.focused = false;
      InvalidateRect(hwnd, nullptr, FALSE);
      NotifyParent(hwnd, CBN_KILLFOCUS);
      break;
    }
    default:
      break;
  }
}

LRESULT GetText(HWND hwnd, const ComboState& s, WPARAM max, LPSTR out) {
  if (s.edit) return SendMessage(s.edit, WM_GETTEXT, max, reinterpret_cast<LPARAM>(out));
  if (!out || max == 0) return 0;
  const std::string text = ItemText(hwnd, s, Selection(s));
  size_t n = std::min<size_t>(text.size(), max - 1);
  if (n < text.size()) n = CharStart(text, n);
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
  return static_cast<LRESULT>(n);
}

}  // namespace

LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto state = States().Find(hwnd);
  if (!state) {
    if (message != WM_NCCREATE) return DefWindowProc(hwnd, message, wParam, lParam);
    state = States().Create(hwnd);
    // Scroll bar styles are meant for the list; the combo box itself has none.
    SetWindowLong(hwnd, GWL_STYLE, GetWindowLong(hwnd, GWL_STYLE) & ~(WS_VSCROLL | WS_HSCROLL));
  }
  ComboState& s = *state;
  const DWORD style = StyleOf(hwnd);
  switch (message) {
    case WM_NCDESTROY:
      States().Remove(hwnd);
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_CREATE:
      Create(hwnd, state, *reinterpret_cast<const CREATESTRUCT*>(lParam));
      return 0;
    case WM_DESTROY:
      // The drop-down belongs to the top-level window, not to us.
      if (s.list && KindOf(style) != CBS_SIMPLE) {
        HWND list = s.list;
        s.list = nullptr;
        DestroyWindow(list);
      }
      return 0;
    case WM_WINDOWPOSCHANGING: {
      // A drop-down combo box stays as high as its field: a new height is the list's, as at creation.
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      if (pos && !(pos->flags & SWP_NOSIZE) && KindOf(style) != CBS_SIMPLE &&
          pos->cy != FieldWindowHeight(s)) {
        s.listHeight = std::max(pos->cy - FieldWindowHeight(s), s.fieldHeight + 2 * kBorder);
        pos->cy = FieldWindowHeight(s);
      }
      return 0;
    }
    case WM_SIZE:
      Layout(hwnd, s);
      return 0;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      PaintDc paint(hwnd, wParam);
      Paint(hwnd, paint.Dc(), s);
      return 0;
    }
    case WM_SETFONT:
      SetFontOf(hwnd, s, reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(s.font);
    case WM_ENABLE:
      if (s.edit) EnableWindow(s.edit, static_cast<BOOL>(wParam));
      if (s.list) EnableWindow(s.list, static_cast<BOOL>(wParam));
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS | (s.dropped ? DLGC_WANTALLKEYS : 0);
    case WM_SETFOCUS:
      if (s.edit) {
        SetFocus(s.edit);
        return 0;
      }
      s.focused = true;
      InvalidateRect(hwnd, nullptr, FALSE);
      NotifyParent(hwnd, CBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS: {
      if (s.edit) return 0;
      HWND now = reinterpret_cast<HWND>(wParam);
      if (now == s.list) return 0;
      Cancel(hwnd, state);
      if (!s.alive) return 0;
      s.focused = false;
      InvalidateRect(hwnd, nullptr, FALSE);
      NotifyParent(hwnd, CBN_KILLFOCUS);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (KindOf(style) == CBS_SIMPLE) return 0;
      if (KindOf(style) == CBS_DROPDOWN) {
        const RECT button = ButtonRect(hwnd);
        if (!PtInRect(&button, pt)) return 0;
      }
      if (GetFocus() != (s.edit ? s.edit : hwnd)) SetFocus(s.edit ? s.edit : hwnd);
      if (!s.alive) return 0;
      if (s.dropped)
        Cancel(hwnd, state);
      else
        Drop(hwnd, state, true);
      return 0;
    }
    case WM_MOUSEWHEEL:
      if (!s.dropped && s.list) {
        const int notches = static_cast<SHORT>(HIWORD(wParam)) / WHEEL_DELTA;
        if (notches) SendMessage(s.list, WM_KEYDOWN, notches > 0 ? VK_UP : VK_DOWN, 0);
      } else if (s.list) {
        SendMessage(s.list, message, wParam, lParam);
      }
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (Key(hwnd, state, message, wParam)) return 0;
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_CHAR:
      // Type-ahead in the list of a drop-down list.
      if (!s.edit && s.list && wParam >= 0x20) SendMessage(s.list, WM_CHAR, wParam, lParam);
      return 0;
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == s.list && s.list)
        FromList(hwnd, state, HIWORD(wParam));
      else if (reinterpret_cast<HWND>(lParam) == s.edit && s.edit)
        FromEdit(hwnd, state, HIWORD(wParam));
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
      // The edit's colours are the parent's to give.
      if (HWND parent = GetParent(hwnd)) return SendMessage(parent, message, wParam, lParam);
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_SETTEXT: {
      const auto* text = reinterpret_cast<LPCSTR>(lParam);
      if (s.edit) {
        SetEditText(s, text ? text : "");
        return TRUE;
      }
      const LRESULT found = ToList(s, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), lParam);
      if (found < 0) return CB_ERR;
      ToList(s, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
      ShowSelection(hwnd, s);
      return TRUE;
    }
    case WM_GETTEXT:
      return GetText(hwnd, s, wParam, reinterpret_cast<LPSTR>(lParam));
    case WM_GETTEXTLENGTH:
      if (s.edit) return SendMessage(s.edit, WM_GETTEXTLENGTH, 0, 0);
      return static_cast<LRESULT>(ItemText(hwnd, s, Selection(s)).size());
    // The items, kept by the list.
    case CB_ADDSTRING:
      return ToList(s, LB_ADDSTRING, wParam, lParam);
    case CB_INSERTSTRING:
      return ToList(s, LB_INSERTSTRING, wParam, lParam);
    case CB_DELETESTRING: {
      const LRESULT r = ToList(s, LB_DELETESTRING, wParam, lParam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return r;
    }
    case CB_RESETCONTENT:
      ToList(s, LB_RESETCONTENT, 0, 0);
      SetEditText(s, "");
      InvalidateRect(hwnd, nullptr, FALSE);
      return CB_OKAY;
    case CB_GETCOUNT:
      return ToList(s, LB_GETCOUNT, 0, 0);
    case CB_GETLBTEXT:
      return ToList(s, LB_GETTEXT, wParam, lParam);
    case CB_GETLBTEXTLEN:
      return ToList(s, LB_GETTEXTLEN, wParam, lParam);
    case CB_GETITEMDATA:
      return ToList(s, LB_GETITEMDATA, wParam, lParam);
    case CB_SETITEMDATA:
      return ToList(s, LB_SETITEMDATA, wParam, lParam) == LB_ERR ? CB_ERR : CB_OKAY;
    case CB_FINDSTRING:
      return ToList(s, LB_FINDSTRING, wParam, lParam);
    case CB_FINDSTRINGEXACT:
      return ToList(s, LB_FINDSTRINGEXACT, wParam, lParam);
    case CB_GETTOPINDEX:
      return ToList(s, LB_GETTOPINDEX, 0, 0);
    case CB_SETTOPINDEX:
      return ToList(s, LB_SETTOPINDEX, wParam, 0);
    case CB_INITSTORAGE:
      return ToList(s, LB_INITSTORAGE, wParam, lParam);
    case CB_SETLOCALE:
      return ToList(s, LB_SETLOCALE, wParam, 0);
    case CB_GETLOCALE:
      return ToList(s, LB_GETLOCALE, 0, 0);
    case CB_SETHORIZONTALEXTENT:
      return ToList(s, LB_SETHORIZONTALEXTENT, wParam, 0);
    case CB_GETHORIZONTALEXTENT:
      return ToList(s, LB_GETHORIZONTALEXTENT, 0, 0);
    case CB_DIR:
      return CB_ERR;
    // The selection.
    case CB_GETCURSEL:
      return Selection(s);
    case CB_SETCURSEL: {
      const LRESULT r = ToList(s, LB_SETCURSEL, wParam, 0);
      ShowSelection(hwnd, s);
      return r;
    }
    case CB_SELECTSTRING: {
      const LRESULT found = ToList(s, LB_FINDSTRING, wParam, lParam);
      if (found < 0) return CB_ERR;
      ToList(s, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
      ShowSelection(hwnd, s);
      return found;
    }
    // The drop-down.
    case CB_SHOWDROPDOWN:
      if (wParam)
        Drop(hwnd, state, false);
      else
        Close(hwnd, s);
      return TRUE;
    case CB_GETDROPPEDSTATE:
      return s.dropped;
    case CB_GETDROPPEDCONTROLRECT: {
      auto* out = reinterpret_cast<RECT*>(lParam);
      if (!out) return CB_ERR;
      GetWindowRect(hwnd, out);
      out->right = out->left + std::max<int>(s.droppedWidth, out->right - out->left);
      if (KindOf(style) != CBS_SIMPLE) out->bottom = out->top + FieldWindowHeight(s) + s.listHeight;
      return TRUE;
    }
    case CB_SETDROPPEDWIDTH: {
      if (static_cast<int>(wParam) < 0) return CB_ERR;
      s.droppedWidth = static_cast<int>(wParam);
      RECT window;
      GetWindowRect(hwnd, &window);
      return std::max<int>(s.droppedWidth, window.right - window.left);
    }
    case CB_GETDROPPEDWIDTH: {
      RECT window;
      GetWindowRect(hwnd, &window);
      return std::max<int>(s.droppedWidth, window.right - window.left);
    }
    case CB_SETITEMHEIGHT: {
      const int height = static_cast<int>(lParam);
      if (height <= 0 || height > 255) return CB_ERR;
      if (static_cast<int>(wParam) == -1) {
        s.fieldHeight = height;
        s.fieldHeightSet = true;
        FitHeight(hwnd, s);
        InvalidateRect(hwnd, nullptr, TRUE);
        return CB_OKAY;
      }
      return ToList(s, LB_SETITEMHEIGHT, wParam, MAKELPARAM(height, 0));
    }
    case CB_GETITEMHEIGHT:
      if (static_cast<int>(wParam) == -1) return s.fieldHeight;
      return ToList(s, LB_GETITEMHEIGHT, wParam, 0);
    case CB_SETEXTENDEDUI:
      s.extendedUI = wParam != 0;
      return CB_OKAY;
    case CB_GETEXTENDEDUI:
      return s.extendedUI;
    // The edit.
    case CB_LIMITTEXT:
      if (!s.edit) return CB_ERR;
      SendMessage(s.edit, EM_LIMITTEXT, wParam, 0);
      return TRUE;
    case CB_GETEDITSEL:
      if (!s.edit) return CB_ERR;
      return SendMessage(s.edit, EM_GETSEL, wParam, lParam);
    case CB_SETEDITSEL:
      if (!s.edit) return CB_ERR;
      SendMessage(s.edit, EM_SETSEL, static_cast<WPARAM>(static_cast<SHORT>(LOWORD(lParam))),
                  static_cast<SHORT>(HIWORD(lParam)));
      return TRUE;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace pictavo::user::controls
