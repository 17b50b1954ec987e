// List view geometry: where each view puts an item (a grid computed from the index), the
// item and sub-item rectangles, hit tests, scrolling and the header's place.
#include <algorithm>
#include <optional>

#include "platform/comctl/Header.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListViewInternal.h"
#include "platform/user/Controls.h"

namespace pictavo::comctl::detail::listview {
namespace {

constexpr int kMargin = 2;  // between the row's edge and the first thing in it

SIZE ImageSize(HIMAGELIST list, int fallback) {
  int cx = 0;
  int cy = 0;
  if (list && ImageList_GetIconSize(list, &cx, &cy)) return SIZE{cx, cy};
  return SIZE{fallback, fallback};
}

SIZE SmallIconSize(const ListViewState& s) {
  return s.smallImages ? ImageSize(s.smallImages, 16) : SIZE{0, 0};
}

SIZE StateIconSize(const ListViewState& s) {
  return s.stateImages ? ImageSize(s.stateImages, 16) : SIZE{0, 0};
}

int ClientWidth(const ListViewState& s) {
  const RECT area = ClientArea(s);
  return std::max<int>(0, area.right - area.left);
}

int ClientHeight(const ListViewState& s) {
  const RECT area = ClientArea(s);
  return std::max<int>(0, area.bottom - area.top);
}

// Cells per row of the icon views, rows per column of the list view.
int GridColumns(const ListViewState& s) {
  return std::max(1, ClientWidth(s) / std::max<int>(1, IconCell(s).cx));
}
int ListRows(const ListViewState& s) {
  return std::max(1, ClientHeight(s) / std::max(1, RowHeight(s)));
}
int ListColumns(const ListViewState& s) {
  const int rows = ListRows(s);
  return (Count(s) + rows - 1) / rows;
}

// The top-left of an item's cell in client coordinates (not the report view).
POINT CellOrigin(const ListViewState& s, int index) {
  const RECT area = ClientArea(s);
  const SIZE cell = IconCell(s);
  if (ViewOf(s) == View::kList) {
    const int rows = ListRows(s);
    return POINT{static_cast<LONG>((index / rows - s.scrollX) * cell.cx),
                 area.top + (index % rows) * cell.cy};
  }
  const int cols = GridColumns(s);
  return POINT{static_cast<LONG>((index % cols) * cell.cx - s.scrollX),
               static_cast<LONG>(area.top + (index / cols) * cell.cy - s.scrollY)};
}

// The pixel extent the view scrolls over.
int MaxScrollX(const ListViewState& s) {
  if (ViewOf(s) == View::kList) {
    const int visible = std::max(1, ClientWidth(s) / std::max<int>(1, IconCell(s).cx));
    return std::max(0, ListColumns(s) - visible);
  }
  if (ViewOf(s) == View::kReport) return std::max(0, TotalColumnWidth(s) - ClientWidth(s));
  return 0;
}

int MaxScrollY(const ListViewState& s) {
  switch (ViewOf(s)) {
    case View::kReport:
      return std::max(0, Count(s) - RowsPerPage(s));
    case View::kList:
      return 0;
    default: {
      const int rows = (Count(s) + GridColumns(s) - 1) / GridColumns(s);
      return std::max(0, rows * static_cast<int>(IconCell(s).cy) - ClientHeight(s));
    }
  }
}

void Clamp(ListViewState& s) {
  s.scrollX = std::clamp(s.scrollX, 0, MaxScrollX(s));
  s.scrollY = std::clamp(s.scrollY, 0, MaxScrollY(s));
}

void ScrollTo(ListViewState& s, int x, int y) {
  const int oldX = s.scrollX;
  const int oldY = s.scrollY;
  s.scrollX = x;
  s.scrollY = y;
  Clamp(s);
  if (s.scrollX == oldX && s.scrollY == oldY) return;
  if (s.editor) s.editor->End(false);
  UpdateScrollBars(s);
  PlaceHeader(s);
  InvalidateRect(s.hwnd, nullptr, TRUE);
}

}  // namespace

void InvalidateLayout(ListViewState& s) {
  s.layoutDirty = true;
  InvalidateRect(s.hwnd, nullptr, TRUE);
}

void EnsureLayout(ListViewState& s) {
  // Showing or hiding a scroll bar changes the client area, which may change the bars again.
  for (int pass = 0; pass < 3 && s.layoutDirty; ++pass) {
    s.layoutDirty = false;
    PlaceHeader(s);
    Clamp(s);
    UpdateScrollBars(s);
  }
  s.layoutDirty = false;
}

int StringWidth(const ListViewState& s, std::string_view text) {
  return TextExtent(FontOf(s), text).cx;
}

int HeaderHeight(const ListViewState& s) {
  if (!s.header || ViewOf(s) != View::kReport || !IsWindowVisible(s.header)) return 0;
  RECT r;
  GetWindowRect(s.header, &r);
  return r.bottom - r.top;
}

RECT ClientArea(const ListViewState& s) {
  RECT client;
  GetClientRect(s.hwnd, &client);
  client.top = std::min(client.bottom, client.top + HeaderHeight(s));
  return client;
}

int RowHeight(const ListViewState& s) {
  int height = LineHeightOf(FontOf(s)) + 4;
  height = std::max(height, static_cast<int>(SmallIconSize(s).cy) + 1);
  height = std::max(height, static_cast<int>(StateIconSize(s).cy) + 1);
  return height;
}

int ListColumnWidth(const ListViewState& s) {
  return s.listColumnWidth > 0 ? s.listColumnWidth : 120;
}

SIZE IconCell(const ListViewState& s) {
  switch (ViewOf(s)) {
    case View::kIcon: {
      const SIZE icon = ImageSize(s.normalImages, 32);
      const int font = LineHeightOf(FontOf(s));
      return SIZE{s.iconSpacing.cx > 0 ? s.iconSpacing.cx
                                       : std::max<LONG>(GetSystemMetrics(SM_CXICONSPACING), icon.cx + 14),
                  s.iconSpacing.cy > 0 ? s.iconSpacing.cy : icon.cy + 2 * font + 14};
    }
    case View::kSmallIcon:
    case View::kList:
      return SIZE{ListColumnWidth(s), RowHeight(s)};
    case View::kReport:
      return SIZE{TotalColumnWidth(s), RowHeight(s)};
  }
  return SIZE{1, 1};
}

int TotalColumnWidth(const ListViewState& s) {
  int total = 0;
  for (const Column& c : s.columns) total += c.width;
  return total;
}

int RowsPerPage(const ListViewState& s) {
  return std::max(0, ClientHeight(s) / std::max(1, RowHeight(s)));
}

int CountPerPage(const ListViewState& s) {
  switch (ViewOf(s)) {
    case View::kReport:
      return RowsPerPage(s);
    case View::kList:
      return ListRows(s) * std::max(1, ClientWidth(s) / std::max<int>(1, IconCell(s).cx));
    default:
      return Count(s);
  }
}

int TopIndex(const ListViewState& s) {
  switch (ViewOf(s)) {
    case View::kReport:
      return Count(s) ? std::min(s.scrollY, Count(s) - 1) : 0;
    case View::kList:
      return Count(s) ? std::min(s.scrollX * ListRows(s), Count(s) - 1) : 0;
    default:
      return 0;
  }
}

bool ColumnSpan(const ListViewState& s, int column, int* left, int* right) {
  if (column < 0 || column >= static_cast<int>(s.columns.size())) return false;
  int x = -s.scrollX;
  for (int index : ColumnOrder(s)) {
    const int w = s.columns[static_cast<size_t>(index)].width;
    if (index == column) {
      *left = x;
      *right = x + w;
      return true;
    }
    x += w;
  }
  return false;
}

namespace {

// The parts of column 0 of a report row, or of an item of the small icon and list views, laid
// out from `left` to `right`.
struct RowParts {
  RECT state;
  RECT icon;
  RECT label;
};

RowParts LayoutRow(ListViewState& s, int index, int left, int right, int top, int bottom) {
  RowParts p{};
  int x = left + kMargin;
  const Item& item = s.items[static_cast<size_t>(index)];
  const SIZE small = SmallIconSize(s);
  if (ViewOf(s) == View::kReport) x += item.indent * static_cast<int>(small.cx);
  const SIZE state = StateIconSize(s);
  p.state = RECT{x, top, x + state.cx, bottom};
  x += state.cx;
  p.icon = RECT{x, top, x + small.cx, bottom};
  x += small.cx;
  p.label = RECT{x, top, std::max(x, right), bottom};
  return p;
}

// The icon view: the icon centred at the top of the cell, the label below it.
RowParts LayoutIcon(ListViewState& s, int index, POINT origin) {
  RowParts p{};
  const SIZE cell = IconCell(s);
  const SIZE icon = ImageSize(s.normalImages, 32);
  const SIZE state = StateIconSize(s);
  const int iconLeft = origin.x + (cell.cx - icon.cx) / 2;
  p.icon = RECT{iconLeft - 2, origin.y + 2, iconLeft + icon.cx + 2, origin.y + icon.cy + 6};
  p.state = RECT{p.icon.left - state.cx, p.icon.bottom - state.cy, p.icon.left, p.icon.bottom};
  const int font = LineHeightOf(FontOf(s));
  p.label = RECT{origin.x + kMargin, p.icon.bottom, origin.x + cell.cx - kMargin,
                 std::min<LONG>(p.icon.bottom + 2 * font + 4, origin.y + cell.cy)};
  return p;
}

RowParts PartsOf(ListViewState& s, int index, RECT* bounds) {
  switch (ViewOf(s)) {
    case View::kReport: {
      const RECT area = ClientArea(s);
      const int top = area.top + (index - s.scrollY) * RowHeight(s);
      const int bottom = top + RowHeight(s);
      *bounds = RECT{-s.scrollX, top, TotalColumnWidth(s) - s.scrollX, bottom};
      int left = 0;
      int right = 0;
      if (!ColumnSpan(s, 0, &left, &right)) left = right = -s.scrollX;
      return LayoutRow(s, index, left, right, top, bottom);
    }
    case View::kIcon: {
      const POINT origin = CellOrigin(s, index);
      RowParts p = LayoutIcon(s, index, origin);
      *bounds = RECT{origin.x, origin.y, origin.x + IconCell(s).cx, p.label.bottom};
      return p;
    }
    default: {
      const POINT origin = CellOrigin(s, index);
      const SIZE cell = IconCell(s);
      *bounds = RECT{origin.x, origin.y, origin.x + cell.cx, origin.y + cell.cy};
      return LayoutRow(s, index, origin.x, origin.x + cell.cx, origin.y, origin.y + cell.cy);
    }
  }
}

}  // namespace

bool ItemRect(ListViewState& s, int index, int code, RECT* rect) {
  if (!Valid(s, index) || !rect) return false;
  EnsureLayout(s);
  RECT bounds;
  const RowParts p = PartsOf(s, index, &bounds);
  switch (code) {
    case LVIR_BOUNDS:
      *rect = bounds;
      return true;
    case LVIR_ICON:
      *rect = p.icon;
      return true;
    case LVIR_LABEL:
      *rect = p.label;
      return true;
    case LVIR_SELECTBOUNDS:
      if (ViewOf(s) == View::kReport && (s.exStyle & LVS_EX_FULLROWSELECT)) {
        *rect = bounds;
      } else {
        UnionRect(rect, &p.icon, &p.label);
      }
      return true;
    default:
      return false;
  }
}

bool SubItemRect(ListViewState& s, int index, int subItem, int code, RECT* rect) {
  if (!Valid(s, index) || !rect) return false;
  if (ViewOf(s) != View::kReport || subItem == 0) {
    if (subItem != 0) return false;
    // Sub-item 0's bounds are the whole row.
    return ItemRect(s, index, code == LVIR_BOUNDS ? LVIR_BOUNDS : code, rect);
  }
  EnsureLayout(s);
  int left = 0;
  int right = 0;
  if (!ColumnSpan(s, subItem, &left, &right)) return false;
  RECT bounds;
  PartsOf(s, index, &bounds);
  const int iconWidth = (s.exStyle & LVS_EX_SUBITEMIMAGES) ? SmallIconSize(s).cx : 0;
  switch (code) {
    case LVIR_BOUNDS:
    case LVIR_SELECTBOUNDS:
      *rect = RECT{left, bounds.top, right, bounds.bottom};
      return true;
    case LVIR_ICON:
      *rect = RECT{left + kMargin, bounds.top, left + kMargin + iconWidth, bounds.bottom};
      return true;
    case LVIR_LABEL:
      *rect = RECT{left + kMargin + iconWidth, bounds.top, std::max(left + kMargin + iconWidth, right),
                   bounds.bottom};
      return true;
    default:
      return false;
  }
}

int HitTest(ListViewState& s, LVHITTESTINFO* info, bool subItems) {
  EnsureLayout(s);
  info->flags = 0;
  info->iItem = -1;
  info->iSubItem = 0;
  RECT client;
  GetClientRect(s.hwnd, &client);
  const POINT pt = info->pt;
  if (pt.x < client.left) info->flags |= LVHT_TOLEFT;
  if (pt.x >= client.right) info->flags |= LVHT_TORIGHT;
  if (pt.y < client.top) info->flags |= LVHT_ABOVE;
  if (pt.y >= client.bottom) info->flags |= LVHT_BELOW;
  if (info->flags) return -1;
  const RECT area = ClientArea(s);
  int index = -1;
  switch (ViewOf(s)) {
    case View::kReport:
      if (pt.y >= area.top) index = s.scrollY + (pt.y - area.top) / RowHeight(s);
      break;
    case View::kList: {
      const SIZE cell = IconCell(s);
      if (pt.y >= area.top && pt.y < area.top + ListRows(s) * cell.cy)
        index = (pt.x / cell.cx + s.scrollX) * ListRows(s) + (pt.y - area.top) / cell.cy;
      break;
    }
    default: {
      const SIZE cell = IconCell(s);
      const int col = (pt.x + s.scrollX) / cell.cx;
      const int row = (pt.y - area.top + s.scrollY) / cell.cy;
      if (pt.y >= area.top && col < GridColumns(s)) index = row * GridColumns(s) + col;
      break;
    }
  }
  if (!Valid(s, index)) {
    info->flags = LVHT_NOWHERE;
    return -1;
  }
  RECT bounds;
  const RowParts p = PartsOf(s, index, &bounds);
  const bool hasState =
      s.stateImages && (s.items[static_cast<size_t>(index)].state & LVIS_STATEIMAGEMASK) != 0;
  UINT flags = 0;
  if (hasState && PtInRect(&p.state, pt))
    flags = LVHT_ONITEMSTATEICON;
  else if (PtInRect(&p.icon, pt))
    flags = LVHT_ONITEMICON;
  else if (PtInRect(&p.label, pt))
    flags = LVHT_ONITEMLABEL;
  int subItem = 0;
  if (ViewOf(s) == View::kReport && !flags && pt.x < bounds.right) {
    // Past the first column: part of the row with full-row selection, or for sub-item tests.
    for (int c = 0; c < static_cast<int>(s.columns.size()); ++c) {
      int left = 0;
      int right = 0;
      if (ColumnSpan(s, c, &left, &right) && pt.x >= left && pt.x < right) subItem = c;
    }
    if ((s.exStyle & LVS_EX_FULLROWSELECT) || subItems) flags = LVHT_ONITEMLABEL;
  } else if (ViewOf(s) == View::kReport && subItems) {
    for (int c = 0; c < static_cast<int>(s.columns.size()); ++c) {
      int left = 0;
      int right = 0;
      if (ColumnSpan(s, c, &left, &right) && pt.x >= left && pt.x < right) subItem = c;
    }
  }
  if (!flags) {
    info->flags = LVHT_NOWHERE;
    return -1;
  }
  info->flags = flags;
  info->iItem = index;
  info->iSubItem = subItem;
  return index;
}

void VisibleRange(ListViewState& s, const RECT& rect, int* first, int* last) {
  const RECT area = ClientArea(s);
  *first = 0;
  *last = -1;
  if (Count(s) == 0 || rect.bottom <= area.top) return;
  const int top = std::max(rect.top, area.top);
  switch (ViewOf(s)) {
    case View::kReport: {
      const int h = RowHeight(s);
      *first = s.scrollY + (top - area.top) / h;
      *last = s.scrollY + (rect.bottom - 1 - area.top) / h;
      break;
    }
    case View::kList: {
      const int w = IconCell(s).cx;
      const int rows = ListRows(s);
      *first = (std::max<int>(rect.left, 0) / w + s.scrollX) * rows;
      *last = ((rect.right - 1) / w + s.scrollX + 1) * rows - 1;
      break;
    }
    default: {
      const int h = IconCell(s).cy;
      const int cols = GridColumns(s);
      *first = ((top - area.top + s.scrollY) / h) * cols;
      *last = ((rect.bottom - 1 - area.top + s.scrollY) / h + 1) * cols - 1;
      break;
    }
  }
  *first = std::clamp(*first, 0, Count(s) - 1);
  *last = std::clamp(*last, -1, Count(s) - 1);
}

bool EnsureVisible(ListViewState& s, int index, bool partialOk) {
  if (!Valid(s, index)) return false;
  EnsureLayout(s);
  switch (ViewOf(s)) {
    case View::kReport: {
      const int rows = std::max(1, RowsPerPage(s));
      int top = s.scrollY;
      if (index < top)
        top = index;
      else if (index >= top + rows && !(partialOk && index == top + rows && ClientHeight(s) % RowHeight(s)))
        top = index - rows + 1;
      ScrollTo(s, s.scrollX, top);
      return true;
    }
    case View::kList: {
      const int rows = ListRows(s);
      const int visible = std::max(1, ClientWidth(s) / std::max<int>(1, IconCell(s).cx));
      int col = s.scrollX;
      const int itemCol = index / rows;
      if (itemCol < col)
        col = itemCol;
      else if (itemCol >= col + visible)
        col = itemCol - visible + 1;
      ScrollTo(s, col, s.scrollY);
      return true;
    }
    default: {
      const SIZE cell = IconCell(s);
      const int rowTop = (index / GridColumns(s)) * cell.cy;
      int y = s.scrollY;
      if (rowTop < y)
        y = rowTop;
      else if (rowTop + cell.cy > y + ClientHeight(s) && !(partialOk && rowTop < y + ClientHeight(s)))
        y = rowTop + cell.cy - ClientHeight(s);
      ScrollTo(s, s.scrollX, y);
      return true;
    }
  }
}

void ScrollBy(ListViewState& s, int dx, int dy) {
  EnsureLayout(s);
  switch (ViewOf(s)) {
    case View::kReport: {
      // Whole rows: a part of a row scrolls the whole row.
      const int h = RowHeight(s);
      const int rows = dy > 0 ? (dy + h - 1) / h : -((-dy + h - 1) / h);
      ScrollTo(s, s.scrollX + dx, s.scrollY + rows);
      break;
    }
    case View::kList:
      ScrollTo(s, s.scrollX + dx, s.scrollY);  // columns
      break;
    default:
      ScrollTo(s, s.scrollX + dx, s.scrollY + dy);
      break;
  }
}

void OnScroll(ListViewState& s, bool vertical, WORD code) {
  EnsureLayout(s);
  const View view = ViewOf(s);
  int line = 1;
  if (vertical && view != View::kReport) line = std::max(1, static_cast<int>(IconCell(s).cy) / 2);
  if (!vertical && view != View::kList) line = 16;
  const std::optional<int> pos =
      ScrolledPosition(s.hwnd, vertical, code, vertical ? s.scrollY : s.scrollX, line);
  if (!pos) return;
  if (vertical)
    ScrollTo(s, s.scrollX, *pos);
  else
    ScrollTo(s, *pos, s.scrollY);
}

void UpdateScrollBars(ListViewState& s) {
  if (StyleOf(s) & LVS_NOSCROLL) return;
  SCROLLINFO v{};
  v.cbSize = sizeof v;
  v.fMask = SIF_ALL;
  SCROLLINFO h = v;
  switch (ViewOf(s)) {
    case View::kReport:
      v.nMax = std::max(0, Count(s) - 1);
      v.nPage = static_cast<UINT>(std::max(1, RowsPerPage(s)));
      v.nPos = s.scrollY;
      h.nMax = std::max(0, TotalColumnWidth(s) - 1);
      h.nPage = static_cast<UINT>(std::max(1, ClientWidth(s)));
      h.nPos = s.scrollX;
      break;
    case View::kList: {
      h.nMax = std::max(0, ListColumns(s) - 1);
      h.nPage = static_cast<UINT>(std::max(1, ClientWidth(s) / std::max<int>(1, IconCell(s).cx)));
      h.nPos = s.scrollX;
      v.nMax = 0;
      v.nPage = 1;
      break;
    }
    default: {
      const int rows = (Count(s) + GridColumns(s) - 1) / GridColumns(s);
      v.nMax = std::max(0, rows * static_cast<int>(IconCell(s).cy) - 1);
      v.nPage = static_cast<UINT>(std::max(1, ClientHeight(s)));
      v.nPos = s.scrollY;
      h.nMax = 0;
      h.nPage = 1;
      break;
    }
  }
  // A range that fits in its page hides the bar.
  if (static_cast<int>(v.nPage) > v.nMax) v.nMax = 0, v.nPage = 0, v.nPos = 0;
  if (static_cast<int>(h.nPage) > h.nMax) h.nMax = 0, h.nPage = 0, h.nPos = 0;
  SetScrollInfo(s.hwnd, SB_VERT, &v, TRUE);
  SetScrollInfo(s.hwnd, SB_HORZ, &h, TRUE);
}

void PlaceHeader(ListViewState& s) {
  if (!s.header) return;
  const bool show = ViewOf(s) == View::kReport && !(StyleOf(s) & LVS_NOCOLUMNHEADER);
  if (!show) {
    if (IsWindowVisible(s.header)) ShowWindow(s.header, SW_HIDE);
    return;
  }
  RECT client;
  GetClientRect(s.hwnd, &client);
  RECT rect = client;
  rect.right = std::max<LONG>(client.right + s.scrollX, TotalColumnWidth(s));
  WINDOWPOS pos{};
  HDLAYOUT layout{&rect, &pos};
  SendMessage(s.header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
  SetWindowPos(s.header, nullptr, -s.scrollX, 0, pos.cx, pos.cy,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void InvalidateItem(ListViewState& s, int index) {
  if (!Valid(s, index) || s.layoutDirty) return;
  RECT bounds;
  PartsOf(s, index, &bounds);
  if (ViewOf(s) == View::kReport) {
    RECT client;
    GetClientRect(s.hwnd, &client);
    bounds.left = client.left;
    bounds.right = client.right;
  }
  InvalidateRect(s.hwnd, &bounds, TRUE);
}

int Neighbour(ListViewState& s, int index, UINT direction) {
  int next = -1;
  switch (ViewOf(s)) {
    case View::kReport:
      if (direction & LVNI_ABOVE)
        next = index - 1;
      else if (direction & LVNI_BELOW)
        next = index + 1;
      break;
    case View::kList: {
      const int rows = ListRows(s);
      if (direction & LVNI_ABOVE)
        next = index % rows ? index - 1 : -1;
      else if (direction & LVNI_BELOW)
        next = (index + 1) % rows ? index + 1 : -1;
      else if (direction & LVNI_TOLEFT)
        next = index - rows;
      else if (direction & LVNI_TORIGHT)
        next = index + rows;
      break;
    }
    default: {
      const int cols = GridColumns(s);
      if (direction & LVNI_ABOVE)
        next = index - cols;
      else if (direction & LVNI_BELOW)
        next = index + cols;
      else if (direction & LVNI_TOLEFT)
        next = index % cols ? index - 1 : -1;
      else if (direction & LVNI_TORIGHT)
        next = (index + 1) % cols ? index + 1 : -1;
      break;
    }
  }
  return Valid(s, next) ? next : -1;
}

}  // namespace pictavo::comctl::detail::listview
