// List view input: selection by mouse (click, Shift, Ctrl) and keyboard, drag detection,
// type-ahead search and in-place label editing.
#include <algorithm>

#include "platform/base/Utf8.h"
#include "platform/comctl/ListViewInternal.h"
#include "platform/kernel/Time.h"

namespace pictavo::comctl::detail::listview {
namespace {

UINT KeyFlags() {
  return (KeyDown(VK_MENU) ? LVKF_ALT : 0) | (KeyDown(VK_CONTROL) ? LVKF_CONTROL : 0) |
         (KeyDown(VK_SHIFT) ? LVKF_SHIFT : 0);
}

LRESULT NotifyActivate(ListViewState& s, UINT code, int item, int subItem, POINT pt) {
  NMITEMACTIVATE nm{};
  nm.iItem = item;
  nm.iSubItem = subItem;
  nm.ptAction = pt;
  nm.uKeyFlags = KeyFlags();
  if (Valid(s, item)) {
    nm.lParam = s.items[static_cast<size_t>(item)].param;
    nm.uNewState = nm.uOldState = s.items[static_cast<size_t>(item)].state;
  }
  return SendNotify(s, code, &nm.hdr);
}

void ToggleCheck(ListViewState& s, int index) {
  const UINT state = s.items[static_cast<size_t>(index)].state;
  const UINT image = (state & LVIS_STATEIMAGEMASK) >> 12;
  SetItemState(s, index, INDEXTOSTATEIMAGEMASK(image == 2 ? 1 : 2), LVIS_STATEIMAGEMASK);
}

void AddRange(ListViewState& s, int from, int to) {
  if (!Valid(s, from)) from = to;
  for (int i = std::min(from, to); i <= std::max(from, to) && s.alive; ++i)
    SetItemState(s, i, LVIS_SELECTED, LVIS_SELECTED);
  if (s.alive) SetFocusItem(s, to);
}

// Moves the focus to `target` the way the keys do: selecting it alone, extending from the
// anchor with Shift, or only moving the focus with Ctrl.
void MoveTo(ListViewState& s, int target, bool shift, bool ctrl) {
  if (!Valid(s, target)) return;
  const bool single = (StyleOf(s) & LVS_SINGLESEL) != 0;
  if (shift && !single) {
    const int anchor = Valid(s, s.anchor) ? s.anchor : target;
    SelectRange(s, anchor, target);
    if (s.alive) s.anchor = anchor;
  } else if (ctrl && !single) {
    SetFocusItem(s, target);
  } else {
    SelectOnly(s, target);
  }
  if (s.alive) EnsureVisible(s, target, false);
}

}  // namespace

void CancelPress(ListViewState& s) {
  s.press.active = false;
  if (GetCapture() == s.hwnd) ReleaseCapture();
}

void OnButtonDown(ListViewState& s, POINT pt, WPARAM keys, bool right, bool doubleClick) {
  const bool hadFocus = s.focused;
  if (GetFocus() != s.hwnd) SetFocus(s.hwnd);
  if (!s.alive) return;
  KillTimer(s.hwnd, kEditTimer);
  LVHITTESTINFO hit{};
  hit.pt = pt;
  const int index = HitTest(s, &hit, true);
  if (doubleClick) {
    // The first click of the pair did the selecting.
    NotifyActivate(s, right ? NM_RDBLCLK : NM_DBLCLK, index, hit.iSubItem, pt);
    if (s.alive && !right && Valid(s, index)) NotifyActivate(s, LVN_ITEMACTIVATE, index, hit.iSubItem, pt);
    return;
  }
  const bool ctrl = (keys & MK_CONTROL) != 0;
  const bool shift = (keys & MK_SHIFT) != 0;
  const bool single = (StyleOf(s) & LVS_SINGLESEL) != 0;
  s.press = ListViewState::Press{};
  s.press.right = right;
  s.press.start = pt;
  s.press.item = index;
  if (Valid(s, index)) {
    if (!right && hit.flags == LVHT_ONITEMSTATEICON && (s.exStyle & LVS_EX_CHECKBOXES)) {
      ToggleCheck(s, index);
      return;
    }
    const UINT state = s.items[static_cast<size_t>(index)].state;
    const bool selected = (state & LVIS_SELECTED) != 0;
    if (right) {
      if (!selected)
        SelectOnly(s, index);
      else
        SetFocusItem(s, index);
    } else if (shift && !single) {
      const int anchor = Valid(s, s.anchor) ? s.anchor : index;
      if (ctrl)
        AddRange(s, anchor, index);
      else
        SelectRange(s, anchor, index);
      if (s.alive) s.anchor = anchor;
    } else if (ctrl && !single) {
      SetItemState(s, index, (selected ? 0 : LVIS_SELECTED) | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
      if (s.alive) s.anchor = index;
    } else if (selected) {
      // Several selected items may be about to be dragged: narrow the selection on release.
      s.press.selectOnRelease = SelectedCount(s) > 1;
      s.press.editOnRelease = hadFocus && (state & LVIS_FOCUSED) && !s.press.selectOnRelease &&
                              (StyleOf(s) & LVS_EDITLABELS) && (hit.flags & LVHT_ONITEMLABEL);
      SetFocusItem(s, index);
      if (s.alive) s.anchor = index;
    } else {
      SelectOnly(s, index);
    }
  } else if (!ctrl && !shift) {
    SelectOnly(s, -1);
  }
  if (!s.alive) return;
  s.press.active = true;
  SetCapture(s.hwnd);
}

void OnMouseMove(ListViewState& s, POINT pt, WPARAM keys) {
  if (!s.press.active) return;
  const bool held = (keys & (s.press.right ? MK_RBUTTON : MK_LBUTTON)) != 0;
  if (!held) {
    CancelPress(s);
    return;
  }
  if (!BeyondDragDistance(s.press.start, pt)) return;
  const ListViewState::Press press = s.press;
  CancelPress(s);
  if (Valid(s, press.item))
    NotifyListView(s, press.right ? LVN_BEGINRDRAG : LVN_BEGINDRAG, press.item, 0, press.start);
}

void OnButtonUp(ListViewState& s, POINT pt, WPARAM keys, bool right) {
  if (!s.press.active || s.press.right != right) return;
  const ListViewState::Press press = s.press;
  CancelPress(s);
  if (press.selectOnRelease && Valid(s, press.item)) SelectOnly(s, press.item);
  if (!s.alive) return;
  LVHITTESTINFO hit{};
  hit.pt = press.start;
  HitTest(s, &hit, true);
  const LRESULT handled = NotifyActivate(s, right ? NM_RCLICK : NM_CLICK, press.item, hit.iSubItem, pt);
  if (!s.alive) return;
  if (!right && Valid(s, press.item) && (s.exStyle & LVS_EX_ONECLICKACTIVATE))
    NotifyActivate(s, LVN_ITEMACTIVATE, press.item, hit.iSubItem, pt);
  if (!s.alive) return;
  if (right && !handled) {
    POINT screen = pt;
    ClientToScreen(s.hwnd, &screen);
    SendMessage(s.hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(s.hwnd), MAKELPARAM(screen.x, screen.y));
    return;
  }
  if (press.editOnRelease && Valid(s, press.item)) {
    // Editing starts unless this click turns out to be the first of a double click.
    s.editItem = press.item;
    SetTimer(s.hwnd, kEditTimer, GetDoubleClickTime(), nullptr);
  }
}

void OnTimer(ListViewState& s, UINT_PTR id) {
  if (id != kEditTimer) return;
  KillTimer(s.hwnd, kEditTimer);
  const int index = s.editItem;
  if (Valid(s, index) && s.focus == index && !s.editor) EditLabel(s, index);
}

void OnKeyDown(ListViewState& s, UINT key) {
  NMLVKEYDOWN nm{};
  nm.wVKey = static_cast<WORD>(key);
  SendNotify(s, LVN_KEYDOWN, &nm.hdr);
  if (!s.alive || Count(s) == 0) return;
  EnsureLayout(s);
  const bool shift = KeyDown(VK_SHIFT);
  const bool ctrl = KeyDown(VK_CONTROL);
  const int focus = Valid(s, s.focus) ? s.focus : -1;
  const int from = focus >= 0 ? focus : 0;
  const View view = ViewOf(s);
  int target = -1;
  switch (key) {
    case VK_UP:
      target = focus < 0 ? 0 : Neighbour(s, from, LVNI_ABOVE);
      break;
    case VK_DOWN:
      target = focus < 0 ? 0 : Neighbour(s, from, LVNI_BELOW);
      break;
    case VK_LEFT:
      if (view == View::kReport) {
        ScrollBy(s, -16, 0);
        return;
      }
      target = focus < 0 ? 0 : Neighbour(s, from, LVNI_TOLEFT);
      break;
    case VK_RIGHT:
      if (view == View::kReport) {
        ScrollBy(s, 16, 0);
        return;
      }
      target = focus < 0 ? 0 : Neighbour(s, from, LVNI_TORIGHT);
      break;
    case VK_HOME:
      target = 0;
      break;
    case VK_END:
      target = Count(s) - 1;
      break;
    case VK_PRIOR:
    case VK_NEXT: {
      int page = std::max(1, CountPerPage(s) - 1);
      if (view == View::kIcon || view == View::kSmallIcon) {
        // A screenful of rows of cells.
        RECT area = ClientArea(s);
        const int cols =
            std::max(1, static_cast<int>((area.right - area.left) / std::max<LONG>(1, IconCell(s).cx)));
        page = std::max(1, static_cast<int>((area.bottom - area.top) / std::max<LONG>(1, IconCell(s).cy))) *
               cols;
      }
      target = std::clamp(from + (key == VK_NEXT ? page : -page), 0, Count(s) - 1);
      break;
    }
    case VK_SPACE:
      if (focus < 0) return;
      if (ctrl && !(StyleOf(s) & LVS_SINGLESEL)) {
        const bool selected = (s.items[static_cast<size_t>(focus)].state & LVIS_SELECTED) != 0;
        SetItemState(s, focus, selected ? 0 : LVIS_SELECTED, LVIS_SELECTED);
      } else if (s.exStyle & LVS_EX_CHECKBOXES) {
        ToggleCheck(s, focus);
      } else {
        SetItemState(s, focus, LVIS_SELECTED, LVIS_SELECTED);
      }
      return;
    case VK_RETURN:
      SendSimpleNotify(s, NM_RETURN);
      if (s.alive && focus >= 0) NotifyActivate(s, LVN_ITEMACTIVATE, focus, 0, POINT{});
      return;
    case VK_F2:
      if ((StyleOf(s) & LVS_EDITLABELS) && focus >= 0) EditLabel(s, focus);
      return;
    default:
      return;
  }
  MoveTo(s, target, shift, ctrl);
}

void OnChar(ListViewState& s, char32_t ch) {
  if (ch < 32 || Count(s) == 0) return;
  const DWORD now = static_cast<DWORD>(GetMessageTime());
  // A pause of a second starts a new search.
  if (s.search.empty() || now - s.searchTime > 1000) s.search.clear();
  s.searchTime = now;
  utf8::AppendCodePoint(s.search, ch);
  // Typing the same letter again steps through the items that start with it.
  std::string prefix = s.search;
  const size_t first = utf8::CharLength(s.search);
  bool repeated = true;
  for (size_t i = first; i + first <= s.search.size(); i += first)
    if (s.search.compare(i, first, s.search, 0, first) != 0) repeated = false;
  if (repeated) prefix = s.search.substr(0, first);
  const int focus = Valid(s, s.focus) ? s.focus : -1;
  const int start = (repeated || focus < 0) ? focus : focus - 1;
  LVFINDINFOA find{};
  find.flags = LVFI_PARTIAL | LVFI_WRAP;
  find.psz = prefix.c_str();
  const int found = FindItem(s, start, find);
  if (!s.alive || found < 0) return;
  SelectOnly(s, found);
  if (s.alive) EnsureVisible(s, found, false);
}

HWND EditLabel(ListViewState& s, int index) {
  if (s.editor) s.editor->End(false);
  if (!s.alive || !Valid(s, index)) return nullptr;
  EnsureVisible(s, index, false);
  const ItemView view = Resolve(s, index, 0, LVIF_TEXT);
  if (!s.alive) return nullptr;
  std::string text = view.text;
  NMLVDISPINFOA begin{};
  begin.item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
  begin.item.iItem = index;
  begin.item.pszText = text.data();
  begin.item.cchTextMax = static_cast<int>(text.size()) + 1;
  begin.item.lParam = s.items[static_cast<size_t>(index)].param;
  begin.item.state = s.items[static_cast<size_t>(index)].state;
  if (SendNotify(s, LVN_BEGINLABELEDITA, &begin.hdr) || !s.alive || !Valid(s, index)) return nullptr;
  RECT label;
  ItemRect(s, index, LVIR_LABEL, &label);
  if (ViewOf(s) == View::kIcon) label.bottom = label.top + LineHeightOf(FontOf(s)) + 6;
  label.right = std::max(label.right, label.left + 40);
  s.editItem = index;
  HWND edit = StartLabelEditor(s, label, FontOf(s), view.text,
                               [index](ListViewState& ls, bool cancelled, const std::string& typed) {
                                 const int item = ls.editItem >= 0 ? ls.editItem : index;
                                 ls.editItem = -1;
                                 std::string copy = typed;
                                 NMLVDISPINFOA end{};
                                 end.item.mask = LVIF_TEXT | LVIF_PARAM;
                                 end.item.iItem = item;
                                 end.item.pszText = cancelled ? nullptr : copy.data();
                                 end.item.cchTextMax = static_cast<int>(copy.size()) + 1;
                                 if (Valid(ls, item))
                                   end.item.lParam = ls.items[static_cast<size_t>(item)].param;
                                 const LRESULT accept = SendNotify(ls, LVN_ENDLABELEDITA, &end.hdr);
                                 if (!ls.alive || cancelled || !accept || !Valid(ls, item)) return;
                                 LVITEMA set{};
                                 set.mask = LVIF_TEXT;
                                 set.iItem = item;
                                 set.pszText = copy.data();
                                 SetItem(ls, set);
                               });
  if (!edit) s.editItem = -1;
  return edit;
}

}  // namespace pictavo::comctl::detail::listview
