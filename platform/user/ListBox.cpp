// The list box control: single, multiple and extended selection, sorted and owner-drawn lists,
// the LB_ messages and keyboard and mouse behaviour. The same procedure serves the list of a
// combo box ("ComboLBox", LBS_COMBOBOX), which reports to its combo box instead of its parent.
#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "platform/base/Utf8.h"
#include "platform/kernel/Unicode.h"
#include "platform/user/ControlsInternal.h"
#include "platform/user/Input.h"
#include "platform/user/Message.h"
#include "platform/user/Metrics.h"
#include "platform/user/Paint.h"
#include "platform/user/WindowPos.h"

namespace pictavo::user::controls {
namespace {

constexpr DWORD kTypeAheadMs = 1000;
constexpr int kTextPad = 2;

struct Item {
  std::string text;
  ULONG_PTR data = 0;
  bool selected = false;
  int height = 0;  // LBS_OWNERDRAWVARIABLE
};

struct ListBoxState : ControlState {
  std::vector<Item> items;
  int itemHeight = 15;
  int top = 0;
  int caret = 0;     // the focus item (also with no items: 0)
  int anchor = -1;   // extended selection: where Shift ranges start
  int current = -1;  // single selection: the selected item
  bool focused = false;
  bool tracking = false;  // the mouse button is held over it
  bool changed = false;   // the selection changed during this press
  int horizontalExtent = 0;
  int left = 0;  // a single-column list scrolled sideways: the pixels hidden at the left
  DWORD locale = 0;
  std::string typed;  // type-ahead
  DWORD typedTime = 0;
  bool hasBar = false;      // made with WS_VSCROLL
  bool hasHorzBar = false;  // made with WS_HSCROLL: columns, or rows wider than the list, scroll sideways
  int columnWidth = 0;      // LBS_MULTICOLUMN; 0 for the default
  bool updatingScroll = false;
  // Drop-down of a combo box.
  HWND combo = nullptr;
  bool dropped = false;
  bool pressHeld = false;  // opened by a press whose release is still to come
  int hover = -1;
  bool scrollTracking = false;
};
StateTable<ListBoxState>& States() {
  static auto* table = new StateTable<ListBoxState>;
  return *table;
}

enum class Mode { kSingle, kMultiple, kExtended, kNone };

Mode ModeOf(DWORD style) {
  if (style & LBS_NOSEL) return Mode::kNone;
  if (style & LBS_EXTENDEDSEL) return Mode::kExtended;
  if (style & LBS_MULTIPLESEL) return Mode::kMultiple;
  return Mode::kSingle;
}
bool IsMulti(DWORD style) {
  const Mode m = ModeOf(style);
  return m == Mode::kMultiple || m == Mode::kExtended;
}
bool IsOwnerDraw(DWORD style) {
  return (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}
bool HasStrings(DWORD style) {
  return !IsOwnerDraw(style) || (style & LBS_HASSTRINGS);
}
bool IsVariable(DWORD style) {
  return (style & LBS_OWNERDRAWVARIABLE) != 0;
}

int Count(const ListBoxState& s) {
  return static_cast<int>(s.items.size());
}
bool Valid(const ListBoxState& s, long long index) {
  return index >= 0 && index < Count(s);
}

// Who hears about the items: the combo box's parent for a combo's list.
struct Owner {
  HWND window = nullptr;
  UINT type = ODT_LISTBOX;
  UINT id = 0;
  HWND item = nullptr;
};
Owner OwnerOf(HWND hwnd, const ListBoxState& s) {
  if (s.combo) return Owner{GetParent(s.combo), ODT_COMBOBOX, static_cast<UINT>(ControlId(s.combo)), s.combo};
  return Owner{GetParent(hwnd), ODT_LISTBOX, static_cast<UINT>(ControlId(hwnd)), hwnd};
}

void Notify(HWND hwnd, const ListBoxState& s, WORD code) {
  if (s.combo) {
    SendMessage(s.combo, WM_COMMAND, MAKEWPARAM(kComboListId, code), reinterpret_cast<LPARAM>(hwnd));
    return;
  }
  const bool always =
      code == LBN_SETFOCUS || code == LBN_KILLFOCUS || code == static_cast<WORD>(LBN_ERRSPACE);
  if (always || (StyleOf(hwnd) & LBS_NOTIFY)) NotifyParent(hwnd, code);
}

// LBS_MULTICOLUMN with items of one height: items run down a column, then on in the next; `top`
// is then the first item of the first column shown.
bool IsColumns(HWND hwnd) {
  const DWORD style = StyleOf(hwnd);
  return (style & LBS_MULTICOLUMN) && !IsVariable(style) && !(style & LBS_COMBOBOX);
}

int HeightOf(HWND hwnd, const ListBoxState& s, int index) {
  if (IsVariable(StyleOf(hwnd)) && Valid(s, index))
    return std::max(1, s.items[static_cast<size_t>(index)].height);
  return std::max(1, s.itemHeight);
}

// Top of an item relative to the client top (negative above the first visible item).
int ItemTop(HWND hwnd, const ListBoxState& s, int index) {
  if (!IsVariable(StyleOf(hwnd))) return (index - s.top) * std::max(1, s.itemHeight);
  int y = 0;
  if (index >= s.top)
    for (int i = s.top; i < index; ++i) y += HeightOf(hwnd, s, i);
  else
    for (int i = index; i < s.top; ++i) y -= HeightOf(hwnd, s, i);
  return y;
}

int ClientHeight(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  return r.bottom - r.top;
}

int ClientWidth(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  return r.right - r.left;
}

int RowsPerColumn(HWND hwnd, const ListBoxState& s) {
  return std::max(1, ClientHeight(hwnd) / std::max(1, s.itemHeight));
}

int ColumnWidth(const ListBoxState& s) {
  return s.columnWidth > 0 ? s.columnWidth : 15 * std::max(1, s.itemHeight / 2);
}

int ColumnCount(HWND hwnd, const ListBoxState& s) {
  const int rows = RowsPerColumn(hwnd, s);
  return (Count(s) + rows - 1) / rows;
}

// Columns wholly visible (at least one).
int VisibleColumns(HWND hwnd, const ListBoxState& s) {
  return std::max(1, ClientWidth(hwnd) / ColumnWidth(s));
}

// Items wholly visible from `top` (at least one).
int PageFrom(HWND hwnd, const ListBoxState& s, int top) {
  if (IsColumns(hwnd)) return RowsPerColumn(hwnd, s) * VisibleColumns(hwnd, s);
  const int height = ClientHeight(hwnd);
  int used = 0, n = 0;
  for (int i = top; i < Count(s); ++i) {
    used += HeightOf(hwnd, s, i);
    if (used > height) break;
    ++n;
  }
  if (!IsVariable(StyleOf(hwnd)) && top + n >= Count(s)) n = std::max(n, height / std::max(1, s.itemHeight));
  return std::max(1, n);
}

// The lowest top index that still fills the view.
int MaxTop(HWND hwnd, const ListBoxState& s) {
  if (IsColumns(hwnd))
    return std::max(0, ColumnCount(hwnd, s) - VisibleColumns(hwnd, s)) * RowsPerColumn(hwnd, s);
  const int height = ClientHeight(hwnd);
  int used = 0;
  int top = Count(s);
  while (top > 0 && used + HeightOf(hwnd, s, top - 1) <= height) used += HeightOf(hwnd, s, --top);
  return std::min(top, std::max(0, Count(s) - 1));
}

int ItemAt(HWND hwnd, const ListBoxState& s, int x, int y) {
  if (y < 0) return -1;
  if (IsColumns(hwnd)) {
    const int rows = RowsPerColumn(hwnd, s);
    const int row = y / std::max(1, s.itemHeight);
    if (x < 0 || row >= rows) return -1;
    const int index = s.top + (x / ColumnWidth(s)) * rows + row;
    return Valid(s, index) ? index : -1;
  }
  int at = 0;
  for (int i = s.top; i < Count(s); ++i) {
    at += HeightOf(hwnd, s, i);
    if (y < at) return i;
  }
  return -1;
}

RECT ItemRect(HWND hwnd, const ListBoxState& s, int index) {
  RECT client;
  GetClientRect(hwnd, &client);
  if (IsColumns(hwnd)) {
    const int rows = RowsPerColumn(hwnd, s);
    const int column = index / rows - s.top / rows;
    const int top = (index % rows) * s.itemHeight;
    const int width = ColumnWidth(s);
    return RECT{column * width, top, (column + 1) * width, top + s.itemHeight};
  }
  const int top = ItemTop(hwnd, s, index);
  // A row as wide as the horizontal extent when that is wider, shifted by the sideways scroll.
  const int width = std::max(static_cast<int>(client.right), s.horizontalExtent);
  return RECT{-s.left, top, width - s.left, top + HeightOf(hwnd, s, index)};
}

// How far a single-column list scrolls sideways: the extent past the client width.
int MaxLeft(HWND hwnd, const ListBoxState& s) {
  if (!s.hasHorzBar || IsColumns(hwnd)) return 0;
  return std::max(0, s.horizontalExtent - ClientWidth(hwnd));
}

void UpdateScroll(HWND hwnd, ListBoxState& s) {
  // A list made with a vertical bar shows it while there is something to scroll (always, with
  // LBS_DISABLENOSCROLL); the range change shows or hides it.
  if (s.updatingScroll) return;
  const DWORD style = StyleOf(hwnd);
  if (IsColumns(hwnd)) {
    if (!s.hasHorzBar) return;
    s.updatingScroll = true;
    const int rows = RowsPerColumn(hwnd, s);
    SCROLLINFO info{sizeof info,
                    SIF_RANGE | SIF_PAGE | SIF_POS,
                    0,
                    std::max(0, ColumnCount(hwnd, s) - 1),
                    static_cast<UINT>(VisibleColumns(hwnd, s)),
                    s.top / rows,
                    0};
    if (style & LBS_DISABLENOSCROLL) info.fMask |= SIF_DISABLENOSCROLL;
    SetScrollInfo(hwnd, SB_HORZ, &info, TRUE);
    s.updatingScroll = false;
    return;
  }
  if (s.hasHorzBar) {
    // Rows wider than the list (the horizontal extent) scroll sideways by pixels.
    s.updatingScroll = true;
    s.left = std::clamp(s.left, 0, MaxLeft(hwnd, s));
    SCROLLINFO info{sizeof info,
                    SIF_RANGE | SIF_PAGE | SIF_POS,
                    0,
                    std::max(0, s.horizontalExtent - 1),
                    static_cast<UINT>(std::max(0, ClientWidth(hwnd))),
                    s.left,
                    0};
    if (style & LBS_DISABLENOSCROLL) info.fMask |= SIF_DISABLENOSCROLL;
    SetScrollInfo(hwnd, SB_HORZ, &info, TRUE);
    s.updatingScroll = false;
  }
  if (!s.hasBar) return;
  s.updatingScroll = true;
  SCROLLINFO info{sizeof info,
                  SIF_RANGE | SIF_PAGE | SIF_POS,
                  0,
                  std::max(0, Count(s) - 1),
                  static_cast<UINT>(PageFrom(hwnd, s, IsVariable(style) ? MaxTop(hwnd, s) : s.top)),
                  s.top,
                  0};
  if (style & LBS_DISABLENOSCROLL) info.fMask |= SIF_DISABLENOSCROLL;
  SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
  s.updatingScroll = false;
}

void Redraw(HWND hwnd) {
  InvalidateRect(hwnd, nullptr, TRUE);
}

void SetLeft(HWND hwnd, ListBoxState& s, int left) {
  left = std::clamp(left, 0, MaxLeft(hwnd, s));
  if (left == s.left) return;
  s.left = left;
  UpdateScroll(hwnd, s);
  Redraw(hwnd);
}

void SetTop(HWND hwnd, ListBoxState& s, int top) {
  top = std::clamp(top, 0, MaxTop(hwnd, s));
  if (IsColumns(hwnd)) top -= top % RowsPerColumn(hwnd, s);
  if (top == s.top) return;
  s.top = top;
  UpdateScroll(hwnd, s);
  Redraw(hwnd);
}

void EnsureVisible(HWND hwnd, ListBoxState& s, int index) {
  if (!Valid(s, index)) return;
  if (IsColumns(hwnd)) {
    const int rows = RowsPerColumn(hwnd, s);
    const int column = index / rows, first = s.top / rows, shown = VisibleColumns(hwnd, s);
    if (column < first)
      SetTop(hwnd, s, column * rows);
    else if (column >= first + shown)
      SetTop(hwnd, s, (column - shown + 1) * rows);
    return;
  }
  if (index < s.top) {
    SetTop(hwnd, s, index);
    return;
  }
  // Scroll down until the item's bottom is in view.
  int top = s.top;
  const int height = ClientHeight(hwnd);
  auto bottomOf = [&](int first) {
    int y = 0;
    for (int i = first; i <= index; ++i) y += HeightOf(hwnd, s, i);
    return y;
  };
  while (top < index && bottomOf(top) > height) ++top;
  SetTop(hwnd, s, top);
}

// Selection changes; each returns whether anything changed.
bool SelectSingle(ListBoxState& s, int index) {
  if (s.current == index) return false;
  s.current = index;
  return true;
}

bool SetSelected(ListBoxState& s, int index, bool on) {
  Item& item = s.items[static_cast<size_t>(index)];
  if (item.selected == on) return false;
  item.selected = on;
  return true;
}

bool SelectRange(ListBoxState& s, int from, int to, bool on) {
  if (from > to) std::swap(from, to);
  bool changed = false;
  for (int i = std::max(0, from); i <= std::min(to, Count(s) - 1); ++i) changed |= SetSelected(s, i, on);
  return changed;
}

bool SelectOnlyRange(ListBoxState& s, int from, int to) {
  if (from > to) std::swap(from, to);
  bool changed = false;
  for (int i = 0; i < Count(s); ++i) changed |= SetSelected(s, i, i >= from && i <= to);
  return changed;
}

bool IsSelected(HWND hwnd, const ListBoxState& s, int index) {
  if (!Valid(s, index)) return false;
  return IsMulti(StyleOf(hwnd)) ? s.items[static_cast<size_t>(index)].selected : s.current == index;
}

// Drawing.
void DrawItem(HWND hwnd, HDC dc, const ListBoxState& s, int index, const RECT& rect, bool selected,
              bool focus, bool disabled) {
  const DWORD style = StyleOf(hwnd);
  if (IsOwnerDraw(style)) {
    const Owner owner = OwnerOf(hwnd, s);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = owner.type;
    dis.CtlID = owner.id;
    dis.itemID = static_cast<UINT>(index);
    dis.itemAction = Valid(s, index) ? ODA_DRAWENTIRE : ODA_FOCUS;
    dis.itemState = (selected ? ODS_SELECTED : 0) | (focus ? ODS_FOCUS : 0) | (disabled ? ODS_DISABLED : 0);
    dis.hwndItem = owner.item;
    dis.hDC = dc;
    dis.rcItem = rect;
    dis.itemData = Valid(s, index) ? s.items[static_cast<size_t>(index)].data : 0;
    SaveDC(dc);
    SendMessage(owner.window, WM_DRAWITEM, owner.id, reinterpret_cast<LPARAM>(&dis));
    RestoreDC(dc, -1);
    return;
  }
  if (Valid(s, index)) {
    const COLORREF text = GetTextColor(dc);
    if (selected) {
      gdi::FillSolidRect(dc, rect, GetSysColor(COLOR_HIGHLIGHT));
      SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else if (disabled) {
      SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    SetBkMode(dc, TRANSPARENT);
    RECT area = rect;
    area.left += kTextPad;
    area.right -= kTextPad;
    const std::string& str = s.items[static_cast<size_t>(index)].text;
    const UINT format =
        DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | ((style & LBS_USETABSTOPS) ? DT_EXPANDTABS : 0);
    DrawText(dc, str.c_str(), static_cast<int>(str.size()), &area, format);
    SetTextColor(dc, text);
  }
  if (focus) DrawFocusRect(dc, &rect);
}

void Paint(HWND hwnd, HDC dc, ListBoxState& s) {
  RECT client;
  GetClientRect(hwnd, &client);
  HBRUSH brush = ControlColorBrush(s.combo ? s.combo : hwnd, dc, WM_CTLCOLORLISTBOX);
  FillBackground(hwnd, dc, brush, client);
  Selected font(dc, FontOrDefault(s.font));
  const bool disabled = !IsWindowEnabled(hwnd);
  const bool multi = IsMulti(StyleOf(hwnd));
  // A combo's drop-down shows the item under the pointer (or the keyboard's) as the selection.
  const bool hovering = s.dropped && s.hover >= 0;
  if (s.items.empty()) {
    if (s.focused)
      DrawItem(hwnd, dc, s, -1, RECT{0, 0, client.right, HeightOf(hwnd, s, 0)}, false, true, disabled);
    return;
  }
  for (int i = s.top; i < Count(s); ++i) {
    const RECT r = ItemRect(hwnd, s, i);
    if (r.top >= client.bottom || r.left >= client.right) break;
    const bool selected = hovering ? i == s.hover : IsSelected(hwnd, s, i);
    // The focus rectangle sits on the caret; a single-selection list shows it on its selection.
    const bool focus = s.focused && !s.combo && i == s.caret && (multi || s.current == i || s.current < 0);
    DrawItem(hwnd, dc, s, i, r, selected && !disabled, focus, disabled);
  }
}

// Items.
void SendDelete(HWND hwnd, const ListBoxState& s, int index) {
  const DWORD style = StyleOf(hwnd);
  const Item& item = s.items[static_cast<size_t>(index)];
  if (!IsOwnerDraw(style) && item.data == 0) return;
  const Owner owner = OwnerOf(hwnd, s);
  if (!owner.window) return;
  DELETEITEMSTRUCT del{owner.type, owner.id, static_cast<UINT>(index), owner.item, item.data};
  SendMessage(owner.window, WM_DELETEITEM, owner.id, reinterpret_cast<LPARAM>(&del));
}

int Measure(HWND hwnd, const ListBoxState& s, int index, ULONG_PTR data) {
  const Owner owner = OwnerOf(hwnd, s);
  MEASUREITEMSTRUCT mis{owner.type, owner.id, static_cast<UINT>(index), 0, static_cast<UINT>(s.itemHeight),
                        data};
  if (owner.window) SendMessage(owner.window, WM_MEASUREITEM, owner.id, reinterpret_cast<LPARAM>(&mis));
  return std::clamp(static_cast<int>(mis.itemHeight), 1, 255);
}

// Where a new item goes in a sorted list: after the items that sort before or with it (found
// by halving, as the list is kept in order).
int SortedPosition(HWND hwnd, const ListBoxState& s, const Item& item) {
  const bool strings = HasStrings(StyleOf(hwnd));
  const Owner owner = OwnerOf(hwnd, s);
  auto before = [&](int i) {  // the new item sorts before item i
    const Item& other = s.items[static_cast<size_t>(i)];
    if (strings) return unicode::CompareNoCase(item.text, other.text) < 0;
    if (!owner.window) return false;
    COMPAREITEMSTRUCT cmp{owner.type,           owner.id,   owner.item, static_cast<UINT>(-1), item.data,
                          static_cast<UINT>(i), other.data, s.locale};
    return static_cast<int>(
               SendMessage(owner.window, WM_COMPAREITEM, owner.id, reinterpret_cast<LPARAM>(&cmp))) < 0;
  };
  int low = 0, high = Count(s);
  while (low < high) {
    const int mid = low + (high - low) / 2;
    if (before(mid))
      high = mid;
    else
      low = mid + 1;
  }
  return low;
}

LRESULT InsertItem(HWND hwnd, ListBoxState& s, int index, LPARAM lParam, bool sort) {
  const DWORD style = StyleOf(hwnd);
  Item item;
  if (HasStrings(style)) {
    const auto* text = reinterpret_cast<LPCSTR>(lParam);
    item.text = text ? text : "";
  } else {
    item.data = static_cast<ULONG_PTR>(lParam);
  }
  if (sort && (style & LBS_SORT))
    index = SortedPosition(hwnd, s, item);
  else if (index < 0 || index > Count(s))
    index = index < 0 ? Count(s) : -1;
  if (index < 0) return LB_ERR;
  if (IsVariable(style)) item.height = Measure(hwnd, s, index, item.data);
  try {
    s.items.insert(s.items.begin() + index, std::move(item));
  } catch (const std::bad_alloc&) {
    Notify(hwnd, s, static_cast<WORD>(LBN_ERRSPACE));
    return LB_ERRSPACE;
  }
  // Indices at or after the new item move down.
  if (s.current >= index) ++s.current;
  if (s.caret >= index && Count(s) > 1) ++s.caret;
  if (s.anchor >= index) ++s.anchor;
  if (s.hover >= index) ++s.hover;
  UpdateScroll(hwnd, s);
  Redraw(hwnd);
  return index;
}

LRESULT DeleteItem(HWND hwnd, ListBoxState& s, int index) {
  if (!Valid(s, index)) return LB_ERR;
  SendDelete(hwnd, s, index);
  if (!Valid(s, index)) return LB_ERR;  // the owner changed the list meanwhile
  s.items.erase(s.items.begin() + index);
  auto shift = [&](int& i) {
    if (i > index)
      --i;
    else if (i == index)
      i = -1;
  };
  shift(s.current);
  shift(s.anchor);
  shift(s.hover);
  if (s.caret > index) --s.caret;
  s.caret = std::clamp(s.caret, 0, std::max(0, Count(s) - 1));
  s.top = std::clamp(s.top, 0, MaxTop(hwnd, s));
  UpdateScroll(hwnd, s);
  Redraw(hwnd);
  return Count(s);
}

void ResetContent(HWND hwnd, ListBoxState& s) {
  // WM_DELETEITEM goes out for each item before the list empties.
  std::vector<Item> items = std::move(s.items);
  s.items.clear();
  const DWORD style = StyleOf(hwnd);
  const Owner owner = OwnerOf(hwnd, s);
  for (size_t i = 0; i < items.size(); ++i) {
    if (!owner.window || (!IsOwnerDraw(style) && items[i].data == 0)) continue;
    DELETEITEMSTRUCT del{owner.type, owner.id, static_cast<UINT>(i), owner.item, items[i].data};
    SendMessage(owner.window, WM_DELETEITEM, owner.id, reinterpret_cast<LPARAM>(&del));
  }
  s.top = 0;
  s.caret = 0;
  s.anchor = -1;
  s.current = -1;
  s.hover = -1;
  UpdateScroll(hwnd, s);
  Redraw(hwnd);
}

// FINDSTRING (prefix) and FINDSTRINGEXACT, case-insensitive, from the item after `start`
// round to `start` itself. Lists without strings compare item data.
LRESULT Find(HWND hwnd, const ListBoxState& s, int start, LPARAM lParam, bool exact) {
  const int n = Count(s);
  if (n == 0) return LB_ERR;
  const bool strings = HasStrings(StyleOf(hwnd));
  const std::string key = strings && lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
  const std::string folded = unicode::FoldCase(key);
  const int first = (start < 0 || start >= n) ? 0 : start + 1;
  for (int k = 0; k < n; ++k) {
    const int i = (first + k) % n;
    const Item& item = s.items[static_cast<size_t>(i)];
    if (!strings) {
      if (item.data == static_cast<ULONG_PTR>(lParam)) return i;
      continue;
    }
    const std::string text = unicode::FoldCase(item.text);
    if (exact ? text == folded : text.compare(0, folded.size(), folded) == 0) return i;
  }
  return LB_ERR;
}

LRESULT GetText(HWND hwnd, const ListBoxState& s, int index, LPSTR out) {
  if (!Valid(s, index)) return LB_ERR;
  const Item& item = s.items[static_cast<size_t>(index)];
  if (!HasStrings(StyleOf(hwnd))) {
    if (out) std::memcpy(out, &item.data, sizeof item.data);
    return sizeof item.data;
  }
  if (out) std::memcpy(out, item.text.c_str(), item.text.size() + 1);
  return static_cast<LRESULT>(item.text.size());
}

// Keyboard and mouse selection.

// Moves the caret to `index` the way the list's selection mode says; `extend` (Shift) and
// `keep` (Ctrl) are the modifiers. Returns whether the selection changed.
bool MoveTo(HWND hwnd, ListBoxState& s, int index, bool extend, bool keep) {
  if (s.items.empty()) return false;
  index = std::clamp(index, 0, Count(s) - 1);
  bool changed = false;
  switch (ModeOf(StyleOf(hwnd))) {
    case Mode::kSingle:
      changed = SelectSingle(s, index);
      break;
    case Mode::kMultiple:
      break;
    case Mode::kExtended:
      if (extend) {
        if (s.anchor < 0) s.anchor = s.caret;
        changed = keep ? SelectRange(s, s.anchor, index, true) : SelectOnlyRange(s, s.anchor, index);
      } else if (!keep) {
        changed = SelectOnlyRange(s, index, index);
        s.anchor = index;
      }
      break;
    case Mode::kNone:
      break;
  }
  s.caret = index;
  if (s.dropped) s.hover = index;
  EnsureVisible(hwnd, s, index);
  Redraw(hwnd);
  return changed;
}

int TypeAhead(HWND hwnd, ListBoxState& s, char32_t ch) {
  if (!HasStrings(StyleOf(hwnd)) || s.items.empty()) return -1;
  const DWORD now = static_cast<DWORD>(GetMessageTime());
  std::string letter;
  utf8::AppendCodePoint(letter, ch);
  if (now - s.typedTime > kTypeAheadMs) s.typed.clear();
  s.typedTime = now;
  s.typed += letter;
  const int from = IsMulti(StyleOf(hwnd)) ? s.caret : (s.current >= 0 ? s.current : s.caret);
  // The typed prefix from the current item on; a repeated letter steps through the items that
  // begin with it.
  bool repeated = s.typed.size() > letter.size();
  for (size_t i = 0; repeated && i < s.typed.size(); i += letter.size())
    repeated = s.typed.compare(i, letter.size(), letter) == 0;
  if (!repeated) {
    const std::string prefix = s.typed;
    const LRESULT found = Find(hwnd, s, from - 1, reinterpret_cast<LPARAM>(prefix.c_str()), false);
    if (found != LB_ERR) return static_cast<int>(found);
  }
  const LRESULT found = Find(hwnd, s, from, reinterpret_cast<LPARAM>(letter.c_str()), false);
  return found == LB_ERR ? -1 : static_cast<int>(found);
}

void KeyDown(HWND hwnd, const std::shared_ptr<ListBoxState>& state, WPARAM key) {
  ListBoxState& s = *state;
  const DWORD style = StyleOf(hwnd);
  int target = s.caret;
  if (!IsMulti(style) && s.current >= 0) target = s.current;
  if (s.dropped && s.hover >= 0) target = s.hover;
  if (style & LBS_WANTKEYBOARDINPUT) {
    const Owner owner = OwnerOf(hwnd, s);
    const LRESULT r = SendMessage(owner.window, WM_VKEYTOITEM, MAKEWPARAM(static_cast<WORD>(key), s.caret),
                                  reinterpret_cast<LPARAM>(hwnd));
    if (!s.alive || r == -2) return;
    if (r >= 0) {
      if (MoveTo(hwnd, s, static_cast<int>(r), false, false)) Notify(hwnd, s, LBN_SELCHANGE);
      return;
    }
  }
  const int page = PageFrom(hwnd, s, s.top);
  const bool shift = controls::KeyDown(VK_SHIFT);
  const bool ctrl = controls::KeyDown(VK_CONTROL);
  const int across = IsColumns(hwnd) ? RowsPerColumn(hwnd, s) : 1;
  switch (key) {
    case VK_UP:
      target -= 1;
      break;
    case VK_LEFT:
      target -= across;
      break;
    case VK_DOWN:
      target += 1;
      break;
    case VK_RIGHT:
      target += across;
      break;
    case VK_PRIOR:
      target -= std::max(1, page - 1);
      break;
    case VK_NEXT:
      target += std::max(1, page - 1);
      break;
    case VK_HOME:
      target = 0;
      break;
    case VK_END:
      target = Count(s) - 1;
      break;
    case VK_SPACE: {
      const Mode mode = ModeOf(style);
      if (s.items.empty()) return;
      if (mode == Mode::kMultiple || (mode == Mode::kExtended && ctrl)) {
        Item& item = s.items[static_cast<size_t>(s.caret)];
        item.selected = !item.selected;
        s.anchor = s.caret;
        Redraw(hwnd);
        Notify(hwnd, s, LBN_SELCHANGE);
      }
      return;
    }
    default:
      return;
  }
  if (s.items.empty()) return;
  // With nothing selected yet, an arrow selects the caret's item itself.
  if (ModeOf(style) == Mode::kSingle && s.current < 0 && !s.dropped &&
      (key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT))
    target = s.caret;
  const bool extended = ModeOf(style) == Mode::kExtended;
  if (MoveTo(hwnd, s, target, extended && shift, extended && ctrl)) Notify(hwnd, s, LBN_SELCHANGE);
}

void Char(HWND hwnd, const std::shared_ptr<ListBoxState>& state, WPARAM ch) {
  ListBoxState& s = *state;
  const DWORD style = StyleOf(hwnd);
  if (ch == ' ' && IsMulti(style)) return;  // handled as a key
  if (ch < 0x20) return;
  if ((style & LBS_WANTKEYBOARDINPUT) && !HasStrings(style)) {
    const Owner owner = OwnerOf(hwnd, s);
    const LRESULT r = SendMessage(owner.window, WM_CHARTOITEM, MAKEWPARAM(static_cast<WORD>(ch), s.caret),
                                  reinterpret_cast<LPARAM>(hwnd));
    if (!s.alive || r < 0) return;
    if (MoveTo(hwnd, s, static_cast<int>(r), false, false)) Notify(hwnd, s, LBN_SELCHANGE);
    return;
  }
  const int found = TypeAhead(hwnd, s, static_cast<char32_t>(ch));
  if (found >= 0 && MoveTo(hwnd, s, found, false, false)) Notify(hwnd, s, LBN_SELCHANGE);
}

// A press (or the pointer dragged while pressed) over `index`.
void PressAt(HWND hwnd, ListBoxState& s, int index, bool first, WPARAM keys) {
  if (!Valid(s, index)) return;
  const DWORD style = StyleOf(hwnd);
  bool changed = false;
  switch (ModeOf(style)) {
    case Mode::kSingle:
      changed = SelectSingle(s, index);
      break;
    case Mode::kMultiple:
      if (first) changed = SetSelected(s, index, !s.items[static_cast<size_t>(index)].selected);
      break;
    case Mode::kExtended: {
      const bool shift = (keys & MK_SHIFT) != 0, ctrl = (keys & MK_CONTROL) != 0;
      if (first && !shift) {
        s.anchor = index;
        changed = ctrl ? SetSelected(s, index, !s.items[static_cast<size_t>(index)].selected)
                       : SelectOnlyRange(s, index, index);
      } else {
        if (s.anchor < 0) s.anchor = s.caret;
        changed = ctrl ? SelectRange(s, s.anchor, index, true) : SelectOnlyRange(s, s.anchor, index);
      }
      break;
    }
    case Mode::kNone:
      break;
  }
  s.caret = index;
  s.changed |= changed;
  EnsureVisible(hwnd, s, index);
  Redraw(hwnd);
}

// The item under a client point, scrolling when the pointer is above or below the list.
int TrackedItem(HWND hwnd, ListBoxState& s, POINT pt) {
  if (s.items.empty()) return -1;
  if (pt.y < 0) {
    SetTop(hwnd, s, s.top - 1);
    return s.top;
  }
  const int at = ItemAt(hwnd, s, pt.x, pt.y);
  if (at >= 0 && pt.y < ClientHeight(hwnd)) return at;
  const int last = std::min(Count(s) - 1, s.top + PageFrom(hwnd, s, s.top) - 1);
  if (pt.y >= ClientHeight(hwnd) && last + 1 < Count(s)) {
    SetTop(hwnd, s, s.top + 1);
    return last + 1;
  }
  return last;
}

// Drop-down of a combo box: the pointer hovers, a click chooses, a click elsewhere cancels.
void DropMouse(HWND hwnd, const std::shared_ptr<ListBoxState>& state, UINT message, LPARAM lParam) {
  ListBoxState& s = *state;
  POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  RECT client;
  GetClientRect(hwnd, &client);
  const bool inside = PtInRect(&client, pt) != FALSE;
  POINT screen = pt;
  ClientToScreen(hwnd, &screen);
  RECT window;
  GetWindowRect(hwnd, &window);
  if (message == WM_MOUSEMOVE) {
    if (inside) {
      const int at = ItemAt(hwnd, s, pt.x, pt.y);
      if (at >= 0 && at != s.hover) {
        s.hover = at;
        Redraw(hwnd);
      }
    } else if (s.pressHeld && (GetAsyncKeyState(VK_LBUTTON) < 0) && (pt.y < 0 || pt.y >= client.bottom)) {
      // Dragging from the combo box past the list's edge scrolls it.
      s.hover = TrackedItem(hwnd, s, pt);
      Redraw(hwnd);
    }
    return;
  }
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
    s.pressHeld = false;
    if (inside) return;  // chosen at the release
    if (PtInRect(&window, screen)) {
      // The list's own scroll bar, operated while the list keeps the mouse.
      const LRESULT hit = SendMessage(hwnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
      if (hit == HTVSCROLL) {
        s.scrollTracking = true;
        DefWindowProc(hwnd, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(screen.x, screen.y));
        s.scrollTracking = false;
        if (s.alive && s.dropped) SetCapture(hwnd);
      }
      return;
    }
    Notify(hwnd, s, kListCancelled);
    return;
  }
  if (message == WM_LBUTTONUP) {
    if (inside) {
      const int at = ItemAt(hwnd, s, pt.x, pt.y);
      s.pressHeld = false;
      if (at >= 0) {
        s.hover = at;
        Notify(hwnd, s, kListChosen);
      }
      return;
    }
    // The release of the press that opened the list, over the combo box: the list stays.
    s.pressHeld = false;
  }
}

}  // namespace

LRESULT CALLBACK ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto state = States().Find(hwnd);
  if (!state) {
    if (message != WM_NCCREATE) return DefWindowProc(hwnd, message, wParam, lParam);
    state = States().Create(hwnd);
    const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
    if (cs->style & LBS_COMBOBOX) state->combo = static_cast<HWND>(cs->lpCreateParams);
  }
  ListBoxState& s = *state;
  const DWORD style = StyleOf(hwnd);
  switch (message) {
    case WM_NCDESTROY:
      States().Remove(hwnd);
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_CREATE: {
      s.itemHeight = LineHeightOf(nullptr) + 2;
      if ((style & LBS_OWNERDRAWFIXED) && !(style & LBS_OWNERDRAWVARIABLE))
        s.itemHeight = Measure(hwnd, s, 0, 0);
      s.hasBar = (style & WS_VSCROLL) != 0;
      // A combo's drop-down never scrolls sideways; other lists do, by columns or by the extent.
      s.hasHorzBar = (style & WS_HSCROLL) != 0 && !(style & LBS_COMBOBOX);
      if ((style & WS_HSCROLL) && !s.hasHorzBar) ShowScrollBar(hwnd, SB_HORZ, FALSE);
      UpdateScroll(hwnd, s);
      return 0;
    }
    case WM_DESTROY:
      ResetContent(hwnd, s);
      return 0;
    case WM_SIZE:
      s.top = std::clamp(s.top, 0, MaxTop(hwnd, s));
      UpdateScroll(hwnd, s);
      Redraw(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      PaintDc paint(hwnd, wParam);
      Paint(hwnd, paint.Dc(), s);
      return 0;
    }
    case WM_MOUSEACTIVATE:
      if (s.combo) return MA_NOACTIVATE;
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_SETREDRAW: {
      const LRESULT r = DefWindowProc(hwnd, message, wParam, lParam);
      if (wParam) Redraw(hwnd);
      return r;
    }
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFONT:
      s.font = reinterpret_cast<HFONT>(wParam);
      if (!IsOwnerDraw(style)) s.itemHeight = LineHeightOf(s.font) + 2;
      UpdateScroll(hwnd, s);
      if (LOWORD(lParam)) Redraw(hwnd);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(s.font);
    case WM_ENABLE:
      Redraw(hwnd);
      return 0;
    case WM_SETFOCUS:
      s.focused = true;
      Redraw(hwnd);
      Notify(hwnd, s, LBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      s.focused = false;
      if (s.tracking) {
        s.tracking = false;
        if (GetCapture() == hwnd) ReleaseCapture();
      }
      Redraw(hwnd);
      Notify(hwnd, s, LBN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (s.dropped) {
        DropMouse(hwnd, state, message, lParam);
        return 0;
      }
      if (s.combo) {
        // A simple combo box's list: the combo box keeps the focus.
        const int at = ItemAt(hwnd, s, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        if (at >= 0 && SelectSingle(s, at)) {
          s.caret = at;
          Redraw(hwnd);
          Notify(hwnd, s, LBN_SELCHANGE);
        }
        if (s.alive && message == WM_LBUTTONDBLCLK) Notify(hwnd, s, LBN_DBLCLK);
        return 0;
      }
      if (!s.focused) SetFocus(hwnd);
      if (!s.alive) return 0;
      const int at = ItemAt(hwnd, s, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      if (message == WM_LBUTTONDBLCLK) {
        if (at >= 0) {
          if (ModeOf(style) == Mode::kSingle && SelectSingle(s, at)) {
            s.caret = at;
            Redraw(hwnd);
            Notify(hwnd, s, LBN_SELCHANGE);
          }
          if (s.alive) Notify(hwnd, s, LBN_DBLCLK);
        }
        return 0;
      }
      s.changed = false;
      s.tracking = true;
      SetCapture(hwnd);
      PressAt(hwnd, s, at, true, wParam);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (s.dropped) {
        DropMouse(hwnd, state, message, lParam);
      } else if (s.tracking && ModeOf(style) != Mode::kMultiple) {
        const int at = TrackedItem(hwnd, s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (at >= 0 && at != s.caret) PressAt(hwnd, s, at, false, wParam);
      }
      return 0;
    case WM_LBUTTONUP:
      if (s.dropped) {
        DropMouse(hwnd, state, message, lParam);
        return 0;
      }
      if (s.tracking) {
        s.tracking = false;
        if (GetCapture() == hwnd) ReleaseCapture();
        if (s.changed) {
          s.changed = false;
          Notify(hwnd, s, LBN_SELCHANGE);
        }
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (s.dropped && !s.scrollTracking && reinterpret_cast<HWND>(lParam) != hwnd) {
        Notify(hwnd, s, kListCancelled);
        return 0;
      }
      if (s.tracking) {
        s.tracking = false;
        if (s.changed) {
          s.changed = false;
          Notify(hwnd, s, LBN_SELCHANGE);
        }
      }
      return 0;
    case WM_MOUSEWHEEL: {
      const int notches = static_cast<SHORT>(HIWORD(wParam)) / WHEEL_DELTA;
      SetTop(hwnd, s, s.top - notches * (IsColumns(hwnd) ? RowsPerColumn(hwnd, s) : 3));
      return 0;
    }
    case WM_HSCROLL: {
      if (!IsColumns(hwnd)) {
        const int line = std::max(1, s.itemHeight / 2), page = std::max(1, ClientWidth(hwnd) - line);
        switch (LOWORD(wParam)) {
          case SB_LINELEFT:
            SetLeft(hwnd, s, s.left - line);
            break;
          case SB_LINERIGHT:
            SetLeft(hwnd, s, s.left + line);
            break;
          case SB_PAGELEFT:
            SetLeft(hwnd, s, s.left - page);
            break;
          case SB_PAGERIGHT:
            SetLeft(hwnd, s, s.left + page);
            break;
          case SB_LEFT:
            SetLeft(hwnd, s, 0);
            break;
          case SB_RIGHT:
            SetLeft(hwnd, s, MaxLeft(hwnd, s));
            break;
          case SB_THUMBTRACK:
          case SB_THUMBPOSITION: {
            SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
            GetScrollInfo(hwnd, SB_HORZ, &info);
            SetLeft(hwnd, s, info.nTrackPos);
            break;
          }
          default:
            break;
        }
        return 0;
      }
      const int rows = RowsPerColumn(hwnd, s);
      const int shown = VisibleColumns(hwnd, s);
      switch (LOWORD(wParam)) {
        case SB_LINELEFT:
          SetTop(hwnd, s, s.top - rows);
          break;
        case SB_LINERIGHT:
          SetTop(hwnd, s, s.top + rows);
          break;
        case SB_PAGELEFT:
          SetTop(hwnd, s, s.top - shown * rows);
          break;
        case SB_PAGERIGHT:
          SetTop(hwnd, s, s.top + shown * rows);
          break;
        case SB_LEFT:
          SetTop(hwnd, s, 0);
          break;
        case SB_RIGHT:
          SetTop(hwnd, s, Count(s));
          break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
          SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
          GetScrollInfo(hwnd, SB_HORZ, &info);
          SetTop(hwnd, s, info.nTrackPos * rows);
          break;
        }
        default:
          break;
      }
      return 0;
    }
    case WM_VSCROLL: {
      const int page = PageFrom(hwnd, s, s.top);
      switch (LOWORD(wParam)) {
        case SB_LINEUP:
          SetTop(hwnd, s, s.top - 1);
          break;
        case SB_LINEDOWN:
          SetTop(hwnd, s, s.top + 1);
          break;
        case SB_PAGEUP:
          SetTop(hwnd, s, s.top - std::max(1, page - 1));
          break;
        case SB_PAGEDOWN:
          SetTop(hwnd, s, s.top + std::max(1, page - 1));
          break;
        case SB_TOP:
          SetTop(hwnd, s, 0);
          break;
        case SB_BOTTOM:
          SetTop(hwnd, s, Count(s));
          break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
          SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
          GetScrollInfo(hwnd, SB_VERT, &info);
          SetTop(hwnd, s, info.nTrackPos);
          break;
        }
        default:
          break;
      }
      return 0;
    }
    case WM_KEYDOWN:
      KeyDown(hwnd, state, wParam);
      return 0;
    case WM_CHAR:
      Char(hwnd, state, wParam);
      return 0;
    case kListBeginDrop:
      s.dropped = true;
      s.pressHeld = wParam != 0;
      s.hover = s.current;
      if (s.current >= 0) EnsureVisible(hwnd, s, s.current);
      SetCapture(hwnd);
      Redraw(hwnd);
      return 0;
    case kListEndDrop:
      s.dropped = false;
      s.pressHeld = false;
      s.hover = -1;
      if (GetCapture() == hwnd) ReleaseCapture();
      return 0;
    case kListGetHover:
      return s.hover;
    case kListSetHover:
      if (Valid(s, static_cast<int>(wParam))) {
        s.hover = static_cast<int>(wParam);
        EnsureVisible(hwnd, s, s.hover);
        Redraw(hwnd);
      }
      return 0;
    // Items.
    case LB_ADDSTRING:
      return InsertItem(hwnd, s, -1, lParam, true);
    case LB_INSERTSTRING:
      return InsertItem(hwnd, s, static_cast<int>(wParam), lParam, false);
    case LB_DELETESTRING:
      return DeleteItem(hwnd, s, static_cast<int>(wParam));
    case LB_RESETCONTENT:
      ResetContent(hwnd, s);
      return LB_OKAY;
    case LB_GETCOUNT:
      return Count(s);
    case LB_GETTEXT:
      return GetText(hwnd, s, static_cast<int>(wParam), reinterpret_cast<LPSTR>(lParam));
    case LB_GETTEXTLEN:
      if (!Valid(s, static_cast<int>(wParam))) return LB_ERR;
      return HasStrings(style) ? static_cast<LRESULT>(s.items[wParam].text.size()) : sizeof(ULONG_PTR);
    case LB_GETITEMDATA:
      if (!Valid(s, static_cast<int>(wParam))) return LB_ERR;
      return static_cast<LRESULT>(s.items[wParam].data);
    case LB_SETITEMDATA:
      if (!Valid(s, static_cast<int>(wParam))) return LB_ERR;
      s.items[wParam].data = static_cast<ULONG_PTR>(lParam);
      return TRUE;
    case LB_FINDSTRING:
      return Find(hwnd, s, static_cast<int>(wParam), lParam, false);
    case LB_FINDSTRINGEXACT:
      return Find(hwnd, s, static_cast<int>(wParam), lParam, true);
    case LB_SELECTSTRING: {
      if (IsMulti(style)) return LB_ERR;
      const LRESULT found = Find(hwnd, s, static_cast<int>(wParam), lParam, false);
      if (found == LB_ERR) return LB_ERR;
      MoveTo(hwnd, s, static_cast<int>(found), false, false);
      return found;
    }
    case LB_INITSTORAGE:
      s.items.reserve(s.items.size() + wParam);
      return static_cast<LRESULT>(s.items.capacity());
    case LB_SETCOUNT:
    case LB_DIR:
    case LB_ADDFILE:
      return LB_ERR;  // no LBS_NODATA lists or file listings here
    // Selection.
    case LB_SETCURSEL: {
      if (IsMulti(style)) return LB_ERR;
      const int index = static_cast<int>(wParam);
      if (!Valid(s, index)) {
        if (s.current >= 0) {
          s.current = -1;
          Redraw(hwnd);
        }
        return LB_ERR;
      }
      SelectSingle(s, index);
      s.caret = index;
      s.hover = s.dropped ? index : s.hover;
      EnsureVisible(hwnd, s, index);
      Redraw(hwnd);
      return index;
    }
    case LB_GETCURSEL:
      if (IsMulti(style)) return s.items.empty() ? LB_ERR : s.caret;
      return s.current >= 0 ? s.current : LB_ERR;
    case LB_SETSEL: {
      if (!IsMulti(style)) return LB_ERR;
      const int index = static_cast<int>(lParam);
      if (index == -1) {
        SelectRange(s, 0, Count(s) - 1, wParam != 0);
      } else {
        if (!Valid(s, index)) return LB_ERR;
        SetSelected(s, index, wParam != 0);
        if (wParam) s.caret = index;
      }
      Redraw(hwnd);
      return 0;
    }
    case LB_GETSEL:
      if (!Valid(s, static_cast<int>(wParam))) return LB_ERR;
      return IsSelected(hwnd, s, static_cast<int>(wParam)) ? 1 : 0;
    case LB_GETSELCOUNT:
      if (!IsMulti(style)) return LB_ERR;
      return std::count_if(s.items.begin(), s.items.end(), [](const Item& i) { return i.selected; });
    case LB_GETSELITEMS: {
      if (!IsMulti(style)) return LB_ERR;
      auto* out = reinterpret_cast<int*>(lParam);
      int n = 0;
      for (int i = 0; i < Count(s) && n < static_cast<int>(wParam); ++i)
        if (s.items[static_cast<size_t>(i)].selected) {
          if (out) out[n] = i;
          ++n;
        }
      return n;
    }
    case LB_SELITEMRANGE:
      if (!IsMulti(style)) return LB_ERR;
      SelectRange(s, LOWORD(lParam), HIWORD(lParam), wParam != 0);
      Redraw(hwnd);
      return 0;
    case LB_SELITEMRANGEEX: {
      if (!IsMulti(style)) return LB_ERR;
      const int first = static_cast<int>(wParam), last = static_cast<int>(lParam);
      // A range given backwards clears it.
      if (first <= last)
        SelectRange(s, first, last, true);
      else
        SelectRange(s, last, first, false);
      Redraw(hwnd);
      return 0;
    }
    case LB_SETANCHORINDEX:
      if (!Valid(s, static_cast<int>(wParam))) return LB_ERR;
      s.anchor = static_cast<int>(wParam);
      return 0;
    case LB_GETANCHORINDEX:
      return s.anchor;
    case LB_SETCARETINDEX:
      if (!Valid(s, static_cast<int>(wParam))) return LB_ERR;
      s.caret = static_cast<int>(wParam);
      if (!LOWORD(lParam)) EnsureVisible(hwnd, s, s.caret);
      Redraw(hwnd);
      return 0;
    case LB_GETCARETINDEX:
      return s.items.empty() ? (IsMulti(style) ? 0 : LB_ERR) : s.caret;
    // Geometry.
    case LB_SETTOPINDEX:
      if (!Valid(s, static_cast<int>(wParam)) && !(wParam == 0 && s.items.empty())) return LB_ERR;
      SetTop(hwnd, s, static_cast<int>(wParam));
      return 0;
    case LB_GETTOPINDEX:
      return s.top;
    case LB_GETITEMRECT: {
      const int index = static_cast<int>(wParam);
      if (!Valid(s, index) && !(index == 0 && s.items.empty())) return LB_ERR;
      if (lParam) *reinterpret_cast<RECT*>(lParam) = ItemRect(hwnd, s, index);
      return 1;
    }
    case LB_ITEMFROMPOINT: {
      if (s.items.empty()) return MAKELRESULT(0, 1);
      const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      RECT client;
      GetClientRect(hwnd, &client);
      int at = ItemAt(hwnd, s, pt.x, pt.y);
      const bool outside = !PtInRect(&client, pt) || at < 0;
      if (at < 0) at = pt.y < 0 ? s.top : std::min(Count(s) - 1, s.top + PageFrom(hwnd, s, s.top) - 1);
      return MAKELRESULT(static_cast<WORD>(at), outside ? 1 : 0);
    }
    case LB_SETITEMHEIGHT: {
      const int height = LOWORD(lParam);
      if (height <= 0 || height > 255) return LB_ERR;
      if (IsVariable(style)) {
        if (!Valid(s, static_cast<int>(wParam))) return LB_ERR;
        s.items[wParam].height = height;
      } else {
        s.itemHeight = height;
      }
      s.top = std::clamp(s.top, 0, MaxTop(hwnd, s));
      UpdateScroll(hwnd, s);
      Redraw(hwnd);
      return 0;
    }
    case LB_GETITEMHEIGHT:
      if (IsVariable(style)) {
        if (!Valid(s, static_cast<int>(wParam))) return LB_ERR;
        return s.items[wParam].height;
      }
      return s.itemHeight;
    case LB_SETHORIZONTALEXTENT:
      s.horizontalExtent = std::max(0, static_cast<int>(wParam));
      if (!IsColumns(hwnd)) {
        UpdateScroll(hwnd, s);
        Redraw(hwnd);
      }
      return 0;
    case LB_GETHORIZONTALEXTENT:
      return s.horizontalExtent;
    case LB_SETCOLUMNWIDTH:
      s.columnWidth = std::max(1, static_cast<int>(wParam));
      s.top = std::clamp(s.top, 0, MaxTop(hwnd, s));
      UpdateScroll(hwnd, s);
      Redraw(hwnd);
      return TRUE;
    case LB_SETTABSTOPS:
      return TRUE;
    case LB_SETLOCALE: {
      const DWORD old = s.locale;
      s.locale = static_cast<DWORD>(wParam);
      return old;
    }
    case LB_GETLOCALE:
      return s.locale;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace pictavo::user::controls
