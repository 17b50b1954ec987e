// List view items, columns and states, and the notifications that go with changing them.
#include <algorithm>
#include <numeric>

#include "platform/comctl/Header.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListViewInternal.h"

namespace pictavo::comctl::detail::listview {

View ViewOf(const ListViewState& s) {
  switch (StyleOf(s) & LVS_TYPEMASK) {
    case LVS_REPORT:
      return View::kReport;
    case LVS_SMALLICON:
      return View::kSmallIcon;
    case LVS_LIST:
      return View::kList;
    default:
      return View::kIcon;
  }
}

int Count(const ListViewState& s) {
  return static_cast<int>(s.items.size());
}

bool Valid(const ListViewState& s, int index) {
  return index >= 0 && index < Count(s);
}

LRESULT NotifyListView(ListViewState& s, UINT code, int item, int subItem, POINT pt) {
  NMLISTVIEW nm{};
  nm.iItem = item;
  nm.iSubItem = subItem;
  nm.ptAction = pt;
  if (Valid(s, item)) nm.lParam = s.items[static_cast<size_t>(item)].param;
  return SendNotify(s, code, &nm.hdr);
}

namespace {

// LVN_ITEMCHANGING / LVN_ITEMCHANGED for one item.
LRESULT NotifyChange(ListViewState& s, UINT code, int index, UINT changed, UINT oldState, UINT newState) {
  NMLISTVIEW nm{};
  nm.iItem = index;
  nm.uChanged = changed;
  nm.uOldState = oldState;
  nm.uNewState = newState;
  nm.lParam = s.items[static_cast<size_t>(index)].param;
  return SendNotify(s, code, &nm.hdr);
}

void ShiftMarks(ListViewState& s, int index, int delta) {
  if (delta > 0) {
    if (s.focus >= index) s.focus += delta;
    if (s.anchor >= index) s.anchor += delta;
    if (s.editItem >= index) s.editItem += delta;
    return;
  }
  auto adjust = [&](int& mark) {
    if (mark == index)
      mark = -1;
    else if (mark > index)
      --mark;
  };
  adjust(s.focus);
  adjust(s.anchor);
  adjust(s.editItem);
}

int SortedPosition(ListViewState& s, const std::string& text) {
  const bool descending = (StyleOf(s) & LVS_SORTDESCENDING) != 0;
  auto it =
      std::upper_bound(s.items.begin(), s.items.end(), text, [&](const std::string& t, const Item& item) {
        const int c = CompareNoCase(t, item.text);
        return descending ? c > 0 : c < 0;
      });
  return static_cast<int>(it - s.items.begin());
}

}  // namespace

int InsertItem(ListViewState& s, const LVITEMA& in) {
  if (in.iSubItem != 0 || in.iItem < 0) return -1;
  Item item;
  if (in.mask & LVIF_TEXT) {
    item.textCallback = in.pszText == LPSTR_TEXTCALLBACK;
    if (!item.textCallback && in.pszText) item.text = in.pszText;
  }
  if (in.mask & LVIF_IMAGE) item.image = in.iImage;
  if (in.mask & LVIF_PARAM) item.param = in.lParam;
  if (in.mask & LVIF_INDENT) item.indent = in.iIndent;
  UINT state = (in.mask & LVIF_STATE) ? (in.state & in.stateMask) : 0;
  if ((s.exStyle & LVS_EX_CHECKBOXES) && !(state & LVIS_STATEIMAGEMASK)) state |= INDEXTOSTATEIMAGEMASK(1);
  // The focus and the selection are given through SetItemState below, so they are notified.
  item.state = state & ~(LVIS_FOCUSED | LVIS_SELECTED);
  int index = std::min(in.iItem, Count(s));
  const DWORD style = StyleOf(s);
  if ((style & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) && !item.textCallback)
    index = SortedPosition(s, item.text);
  s.items.insert(s.items.begin() + index, std::move(item));
  ShiftMarks(s, index, 1);
  InvalidateLayout(s);
  NotifyListView(s, LVN_INSERTITEM, index, 0);
  if (s.alive && Valid(s, index) && (state & (LVIS_FOCUSED | LVIS_SELECTED)))
    SetItemState(s, index, state, LVIS_FOCUSED | LVIS_SELECTED);
  return index;
}

bool SetItem(ListViewState& s, const LVITEMA& in) {
  if (!Valid(s, in.iItem) || in.iSubItem < 0) return false;
  Item& item = s.items[static_cast<size_t>(in.iItem)];
  if (in.iSubItem > 0) {
    if (item.subItems.size() < static_cast<size_t>(in.iSubItem))
      item.subItems.resize(static_cast<size_t>(in.iSubItem));
    SubItem& sub = item.subItems[static_cast<size_t>(in.iSubItem) - 1];
    if (in.mask & LVIF_TEXT) {
      sub.textCallback = in.pszText == LPSTR_TEXTCALLBACK;
      sub.text = (!sub.textCallback && in.pszText) ? in.pszText : "";
    }
    if (in.mask & LVIF_IMAGE) sub.image = in.iImage;
    InvalidateItem(s, in.iItem);
    return true;
  }
  const UINT changed = in.mask & (LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_INDENT);
  if (changed) {
    if (NotifyChange(s, LVN_ITEMCHANGING, in.iItem, changed, item.state, item.state)) return false;
    if (!s.alive || !Valid(s, in.iItem)) return false;
    Item& current = s.items[static_cast<size_t>(in.iItem)];
    if (in.mask & LVIF_TEXT) {
      current.textCallback = in.pszText == LPSTR_TEXTCALLBACK;
      current.text = (!current.textCallback && in.pszText) ? in.pszText : "";
    }
    if (in.mask & LVIF_IMAGE) current.image = in.iImage;
    if (in.mask & LVIF_PARAM) current.param = in.lParam;
    if (in.mask & LVIF_INDENT) current.indent = in.iIndent;
    InvalidateItem(s, in.iItem);
    NotifyChange(s, LVN_ITEMCHANGED, in.iItem, changed, current.state, current.state);
    if (!s.alive) return false;
  }
  if (in.mask & LVIF_STATE) return SetItemState(s, in.iItem, in.state, in.stateMask);
  return true;
}

ItemView Resolve(ListViewState& s, int index, int subItem, UINT mask) {
  ItemView view;
  if (!Valid(s, index)) return view;
  const Item& item = s.items[static_cast<size_t>(index)];
  bool textCallback = false;
  if (subItem == 0) {
    view.text = item.text;
    view.image = item.image;
    view.state = item.state;
    view.indent = item.indent;
    textCallback = item.textCallback;
  } else if (static_cast<size_t>(subItem) <= item.subItems.size()) {
    const SubItem& sub = item.subItems[static_cast<size_t>(subItem) - 1];
    view.text = sub.text;
    view.image = sub.image;
    textCallback = sub.textCallback;
  }
  UINT ask = 0;
  if ((mask & LVIF_TEXT) && textCallback) ask |= LVIF_TEXT;
  if ((mask & LVIF_IMAGE) && view.image == I_IMAGECALLBACK) ask |= LVIF_IMAGE;
  if ((mask & LVIF_STATE) && s.callbackMask && subItem == 0) ask |= LVIF_STATE;
  if (!ask) return view;
  char buffer[MAX_PATH + 1] = {};
  NMLVDISPINFOA info{};
  info.item.mask = ask;
  info.item.iItem = index;
  info.item.iSubItem = subItem;
  info.item.stateMask = s.callbackMask;
  info.item.pszText = buffer;
  info.item.cchTextMax = static_cast<int>(sizeof buffer);
  info.item.iImage = view.image;
  info.item.lParam = item.param;
  SendNotify(s, LVN_GETDISPINFOA, &info.hdr);
  if (ask & LVIF_TEXT) {
    view.text = (info.item.pszText && info.item.pszText != LPSTR_TEXTCALLBACK) ? info.item.pszText : "";
  }
  if (ask & LVIF_IMAGE) view.image = info.item.iImage;
  if (ask & LVIF_STATE) view.state = (view.state & ~s.callbackMask) | (info.item.state & s.callbackMask);
  // The parent may ask us to keep what it gave.
  if ((info.item.mask & LVIF_DI_SETITEM) && s.alive && Valid(s, index)) {
    Item& stored = s.items[static_cast<size_t>(index)];
    if (subItem == 0) {
      if (ask & LVIF_TEXT) {
        stored.text = view.text;
        stored.textCallback = false;
      }
      if (ask & LVIF_IMAGE) stored.image = view.image;
    } else if (static_cast<size_t>(subItem) <= stored.subItems.size()) {
      SubItem& sub = stored.subItems[static_cast<size_t>(subItem) - 1];
      if (ask & LVIF_TEXT) {
        sub.text = view.text;
        sub.textCallback = false;
      }
      if (ask & LVIF_IMAGE) sub.image = view.image;
    }
  }
  return view;
}

bool GetItem(ListViewState& s, LVITEMA* out) {
  if (!out || !Valid(s, out->iItem) || out->iSubItem < 0) return false;
  const ItemView view = Resolve(s, out->iItem, out->iSubItem, out->mask);
  if (!s.alive || !Valid(s, out->iItem)) return false;
  const Item& item = s.items[static_cast<size_t>(out->iItem)];
  if (out->mask & LVIF_TEXT) CopyText(view.text, out->pszText, out->cchTextMax);
  if (out->mask & LVIF_IMAGE) out->iImage = view.image;
  if (out->iSubItem == 0) {
    if (out->mask & LVIF_PARAM) out->lParam = item.param;
    if (out->mask & LVIF_STATE) out->state = view.state & out->stateMask;
    if (out->mask & LVIF_INDENT) out->iIndent = item.indent;
  }
  return true;
}

bool DeleteItem(ListViewState& s, int index) {
  if (!Valid(s, index)) return false;
  if (s.editItem == index && s.editor) s.editor->End(true);
  if (!s.alive || !Valid(s, index)) return false;
  NotifyListView(s, LVN_DELETEITEM, index, 0);
  if (!s.alive || !Valid(s, index)) return false;
  s.items.erase(s.items.begin() + index);
  ShiftMarks(s, index, -1);
  InvalidateLayout(s);
  return true;
}

bool DeleteAllItems(ListViewState& s) {
  if (s.editor) s.editor->End(true);
  if (!s.alive) return false;
  // A non-zero answer to LVN_DELETEALLITEMS spares the per-item notifications.
  const bool quiet = NotifyListView(s, LVN_DELETEALLITEMS, -1, 0) != 0;
  if (!s.alive) return false;
  if (!quiet) {
    for (int i = 0; i < Count(s); ++i) {
      NotifyListView(s, LVN_DELETEITEM, i, 0);
      if (!s.alive) return false;
    }
  }
  s.items.clear();
  s.focus = s.anchor = s.editItem = -1;
  s.scrollX = s.scrollY = 0;
  InvalidateLayout(s);
  return true;
}

bool SetItemState(ListViewState& s, int index, UINT state, UINT mask) {
  if (index == -1) {
    bool ok = true;
    for (int i = 0; i < Count(s) && s.alive; ++i) ok = SetItemState(s, i, state, mask) && ok;
    return ok;
  }
  if (!Valid(s, index)) return false;
  const UINT old = s.items[static_cast<size_t>(index)].state;
  const UINT now = (old & ~mask) | (state & mask);
  if (now == old) return true;
  if ((now & LVIS_FOCUSED) && !(old & LVIS_FOCUSED) && s.focus != index && Valid(s, s.focus)) {
    if (!SetItemState(s, s.focus, 0, LVIS_FOCUSED) || !s.alive) return false;
  }
  if ((now & LVIS_SELECTED) && !(old & LVIS_SELECTED) && (StyleOf(s) & LVS_SINGLESEL)) {
    for (int i = 0; i < Count(s) && s.alive; ++i)
      if (i != index && (s.items[static_cast<size_t>(i)].state & LVIS_SELECTED))
        SetItemState(s, i, 0, LVIS_SELECTED);
    if (!s.alive || !Valid(s, index)) return false;
  }
  const UINT before = s.items[static_cast<size_t>(index)].state;
  const UINT after = (before & ~mask) | (state & mask);
  if (NotifyChange(s, LVN_ITEMCHANGING, index, LVIF_STATE, before, after)) return false;
  if (!s.alive || !Valid(s, index)) return false;
  s.items[static_cast<size_t>(index)].state = after;
  if (after & LVIS_FOCUSED)
    s.focus = index;
  else if (s.focus == index)
    s.focus = -1;
  InvalidateItem(s, index);
  NotifyChange(s, LVN_ITEMCHANGED, index, LVIF_STATE, before, after);
  return s.alive;
}

void SelectOnly(ListViewState& s, int index) {
  for (int i = 0; i < Count(s) && s.alive; ++i) {
    if (i == index) continue;
    const UINT state = s.items[static_cast<size_t>(i)].state;
    UINT drop = state & LVIS_SELECTED;
    if (index >= 0 && (state & LVIS_FOCUSED)) drop |= LVIS_FOCUSED;
    if (drop) SetItemState(s, i, 0, drop);
  }
  if (!s.alive) return;
  if (Valid(s, index)) SetItemState(s, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  s.anchor = index;
}

void SelectRange(ListViewState& s, int from, int to) {
  if (!Valid(s, to)) return;
  if (!Valid(s, from)) from = to;
  const int low = std::min(from, to);
  const int high = std::max(from, to);
  for (int i = 0; i < Count(s) && s.alive; ++i) {
    const UINT state = s.items[static_cast<size_t>(i)].state;
    const bool inside = i >= low && i <= high;
    if (i == to) continue;
    if (inside && !(state & LVIS_SELECTED))
      SetItemState(s, i, LVIS_SELECTED, LVIS_SELECTED);
    else if (!inside && (state & LVIS_SELECTED))
      SetItemState(s, i, 0, LVIS_SELECTED);
  }
  if (s.alive && Valid(s, to))
    SetItemState(s, to, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void SetFocusItem(ListViewState& s, int index) {
  if (Valid(s, index)) SetItemState(s, index, LVIS_FOCUSED, LVIS_FOCUSED);
}

int SelectedCount(const ListViewState& s) {
  return static_cast<int>(std::count_if(s.items.begin(), s.items.end(),
                                        [](const Item& item) { return (item.state & LVIS_SELECTED) != 0; }));
}

int NextItem(ListViewState& s, int start, UINT flags) {
  const UINT wanted = flags & (LVNI_FOCUSED | LVNI_SELECTED | LVNI_CUT | LVNI_DROPHILITED);
  auto matches = [&](int i) {
    const UINT state = s.items[static_cast<size_t>(i)].state;
    UINT have = 0;
    if (state & LVIS_FOCUSED) have |= LVNI_FOCUSED;
    if (state & LVIS_SELECTED) have |= LVNI_SELECTED;
    if (state & LVIS_CUT) have |= LVNI_CUT;
    if (state & LVIS_DROPHILITED) have |= LVNI_DROPHILITED;
    return (have & wanted) == wanted;
  };
  const UINT direction = flags & (LVNI_ABOVE | LVNI_BELOW | LVNI_TOLEFT | LVNI_TORIGHT);
  if (direction) {
    if (!Valid(s, start)) return -1;
    for (int i = Neighbour(s, start, direction); i >= 0; i = Neighbour(s, i, direction))
      if (matches(i)) return i;
    return -1;
  }
  if (wanted == LVNI_FOCUSED) return (Valid(s, s.focus) && s.focus > start) ? s.focus : -1;
  for (int i = std::max(start + 1, 0); i < Count(s); ++i)
    if (matches(i)) return i;
  return -1;
}

bool SortItems(ListViewState& s, PFNLVCOMPARE compare, LPARAM lParam) {
  if (!compare) return false;
  if (s.editor) s.editor->End(true);
  if (!s.alive) return false;
  std::vector<LPARAM> params;
  params.reserve(s.items.size());
  for (const Item& item : s.items) params.push_back(item.param);
  std::vector<int> order(s.items.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return compare(params[static_cast<size_t>(a)], params[static_cast<size_t>(b)], lParam) < 0;
  });
  if (!s.alive || order.size() != s.items.size()) return false;
  std::vector<Item> sorted;
  sorted.reserve(s.items.size());
  int anchor = -1;
  for (size_t i = 0; i < order.size(); ++i) {
    sorted.push_back(std::move(s.items[static_cast<size_t>(order[i])]));
    if (order[i] == s.anchor) anchor = static_cast<int>(i);
  }
  s.items = std::move(sorted);
  s.anchor = anchor;
  s.focus = -1;
  for (int i = 0; i < Count(s); ++i)
    if (s.items[static_cast<size_t>(i)].state & LVIS_FOCUSED) s.focus = i;
  InvalidateLayout(s);
  return true;
}

int FindItem(ListViewState& s, int start, const LVFINDINFOA& find) {
  const int count = Count(s);
  if (count == 0) return -1;
  const std::string wanted = TextOf(find.psz);
  auto matches = [&](int i) {
    if (find.flags & LVFI_PARAM) return s.items[static_cast<size_t>(i)].param == find.lParam;
    if (!(find.flags & (LVFI_STRING | LVFI_PARTIAL | LVFI_SUBSTRING))) return false;
    const std::string text = Resolve(s, i, 0, LVIF_TEXT).text;
    if (find.flags & (LVFI_PARTIAL | LVFI_SUBSTRING)) return StartsWithNoCase(text, wanted);
    return CompareNoCase(text, wanted) == 0;
  };
  const int first = std::max(start + 1, 0);
  for (int i = first; i < count && s.alive; ++i)
    if (matches(i)) return i;
  if (find.flags & LVFI_WRAP)
    for (int i = 0; i < std::min(first, count) && s.alive; ++i)
      if (matches(i)) return i;
  return -1;
}

// Columns.

namespace {

int HeaderFormat(int fmt) {
  // The justification and image bits have the same values in both records.
  return (fmt & (LVCFMT_JUSTIFYMASK | LVCFMT_IMAGE | LVCFMT_BITMAP_ON_RIGHT)) | HDF_STRING;
}

HDITEMA HeaderItemOf(const Column& column) {
  HDITEMA hd{};
  hd.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | HDI_IMAGE | HDI_LPARAM;
  hd.pszText = const_cast<LPSTR>(column.text.c_str());
  hd.cxy = column.width;
  hd.fmt = HeaderFormat(column.fmt);
  hd.iImage = column.image;
  return hd;
}

}  // namespace

void SyncHeaderItem(ListViewState& s, int index) {
  if (!s.header || index < 0 || index >= static_cast<int>(s.columns.size())) return;
  HDITEMA hd = HeaderItemOf(s.columns[static_cast<size_t>(index)]);
  ++s.headerSync;
  SendMessage(s.header, HDM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hd));
  --s.headerSync;
}

const std::vector<int>& ColumnOrder(const ListViewState& s) {
  return s.order;
}

void RefreshColumnOrder(ListViewState& s) {
  s.order.resize(s.columns.size());
  std::iota(s.order.begin(), s.order.end(), 0);
  if (s.header && !s.order.empty())
    SendMessage(s.header, HDM_GETORDERARRAY, s.order.size(), reinterpret_cast<LPARAM>(s.order.data()));
}

int InsertColumn(ListViewState& s, int index, const LVCOLUMNA& in) {
  if (index < 0) return -1;
  index = std::min(index, static_cast<int>(s.columns.size()));
  Column column;
  if (in.mask & LVCF_TEXT) column.text = TextOf(in.pszText == LPSTR_TEXTCALLBACK ? nullptr : in.pszText);
  if (in.mask & LVCF_FMT) column.fmt = in.fmt;
  if (in.mask & LVCF_WIDTH) column.width = std::max(0, in.cx);
  column.subItem = (in.mask & LVCF_SUBITEM) ? in.iSubItem : index;
  if (in.mask & LVCF_IMAGE) column.image = in.iImage;
  // The first column is always left-aligned.
  if (index == 0) column.fmt &= ~LVCFMT_JUSTIFYMASK;
  s.columns.insert(s.columns.begin() + index, column);
  if (s.header) {
    HDITEMA hd = HeaderItemOf(column);
    if (in.mask & LVCF_ORDER) {
      hd.mask |= HDI_ORDER;
      hd.iOrder = in.iOrder;
    }
    ++s.headerSync;
    SendMessage(s.header, HDM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hd));
    --s.headerSync;
  }
  RefreshColumnOrder(s);
  InvalidateLayout(s);
  return index;
}

bool SetColumn(ListViewState& s, int index, const LVCOLUMNA& in) {
  if (index < 0 || index >= static_cast<int>(s.columns.size())) return false;
  Column& column = s.columns[static_cast<size_t>(index)];
  if (in.mask & LVCF_TEXT) column.text = TextOf(in.pszText == LPSTR_TEXTCALLBACK ? nullptr : in.pszText);
  if (in.mask & LVCF_FMT) column.fmt = index == 0 ? (in.fmt & ~LVCFMT_JUSTIFYMASK) : in.fmt;
  if (in.mask & LVCF_WIDTH) column.width = std::max(0, in.cx);
  if (in.mask & LVCF_SUBITEM) column.subItem = in.iSubItem;
  if (in.mask & LVCF_IMAGE) column.image = in.iImage;
  SyncHeaderItem(s, index);
  if ((in.mask & LVCF_ORDER) && s.header) {
    HDITEMA hd{};
    hd.mask = HDI_ORDER;
    hd.iOrder = in.iOrder;
    ++s.headerSync;
    SendMessage(s.header, HDM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hd));
    --s.headerSync;
    RefreshColumnOrder(s);
  }
  InvalidateLayout(s);
  return true;
}

bool GetColumn(const ListViewState& s, int index, LVCOLUMNA* out) {
  if (!out || index < 0 || index >= static_cast<int>(s.columns.size())) return false;
  const Column& column = s.columns[static_cast<size_t>(index)];
  if (out->mask & LVCF_TEXT) CopyText(column.text, out->pszText, out->cchTextMax);
  if (out->mask & LVCF_FMT) out->fmt = column.fmt;
  if (out->mask & LVCF_WIDTH) out->cx = column.width;
  if (out->mask & LVCF_SUBITEM) out->iSubItem = column.subItem;
  if (out->mask & LVCF_IMAGE) out->iImage = column.image;
  if (out->mask & LVCF_ORDER) {
    const std::vector<int>& order = ColumnOrder(s);
    out->iOrder = static_cast<int>(std::find(order.begin(), order.end(), index) - order.begin());
  }
  return true;
}

bool DeleteColumn(ListViewState& s, int index) {
  if (index < 0 || index >= static_cast<int>(s.columns.size())) return false;
  s.columns.erase(s.columns.begin() + index);
  if (s.header) SendMessage(s.header, HDM_DELETEITEM, static_cast<WPARAM>(index), 0);
  // The sub-item texts of the column go with it (column 0's item text stays, as the items do).
  if (index > 0) {
    for (Item& item : s.items)
      if (item.subItems.size() >= static_cast<size_t>(index))
        item.subItems.erase(item.subItems.begin() + (index - 1));
  }
  for (size_t i = 0; i < s.columns.size(); ++i)
    if (s.columns[i].subItem > index) --s.columns[i].subItem;
  RefreshColumnOrder(s);
  InvalidateLayout(s);
  return true;
}

bool SetColumnWidth(ListViewState& s, int index, int width) {
  const View view = ViewOf(s);
  if (view == View::kList || view == View::kSmallIcon) {
    if (width < 0) return false;
    s.listColumnWidth = width;
    InvalidateLayout(s);
    return true;
  }
  if (index < 0 || index >= static_cast<int>(s.columns.size())) return false;
  if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER) {
    const int subItem = s.columns[static_cast<size_t>(index)].subItem;
    int widest = 0;
    for (int i = 0; i < Count(s) && s.alive; ++i)
      widest = std::max(widest, StringWidth(s, Resolve(s, i, subItem, LVIF_TEXT).text));
    if (!s.alive) return false;
    widest += 12;
    if (subItem == 0) {
      int cx = 0;
      int cy = 0;
      if (s.smallImages && ImageList_GetIconSize(s.smallImages, &cx, &cy)) widest += cx + 2;
      if (s.stateImages && ImageList_GetIconSize(s.stateImages, &cx, &cy)) widest += cx + 2;
    }
    if (width == LVSCW_AUTOSIZE_USEHEADER) {
      widest = std::max(widest, StringWidth(s, s.columns[static_cast<size_t>(index)].text) + 12);
      // The last column takes the rest of the client width.
      if (index == static_cast<int>(s.columns.size()) - 1) {
        const RECT client = ClientArea(s);
        int others = 0;
        for (size_t i = 0; i + 1 < s.columns.size(); ++i) others += s.columns[i].width;
        widest = std::max(widest, static_cast<int>(client.right - client.left) - others);
      }
    }
    width = widest;
  }
  s.columns[static_cast<size_t>(index)].width = std::max(0, width);
  SyncHeaderItem(s, index);
  InvalidateLayout(s);
  return true;
}

HIMAGELIST SetImageList(ListViewState& s, int which, HIMAGELIST list) {
  HIMAGELIST old = nullptr;
  switch (which) {
    case LVSIL_NORMAL:
      old = s.normalImages;
      s.normalImages = list;
      break;
    case LVSIL_SMALL:
      old = s.smallImages;
      s.smallImages = list;
      if (s.header) SendMessage(s.header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
      break;
    case LVSIL_STATE:
      old = s.stateImages;
      if (s.ownStateImages && old) {
        ImageList_Destroy(old);
        old = nullptr;
      }
      s.stateImages = list;
      s.ownStateImages = false;
      break;
    default:
      return nullptr;
  }
  InvalidateLayout(s);
  return old;
}

void SetExtendedStyle(ListViewState& s, DWORD mask, DWORD style) {
  if (!mask) mask = 0xFFFFFFFF;
  const DWORD old = s.exStyle;
  s.exStyle = (old & ~mask) | (style & mask);
  const bool checks = (s.exStyle & LVS_EX_CHECKBOXES) != 0;
  if (checks && !(old & LVS_EX_CHECKBOXES)) {
    if (!s.stateImages) {
      s.stateImages = CreateCheckBoxImages(0);  // state image 1 unchecked, 2 checked
      s.ownStateImages = true;
    }
    for (Item& item : s.items)
      if (!(item.state & LVIS_STATEIMAGEMASK)) item.state |= INDEXTOSTATEIMAGEMASK(1);
  } else if (!checks && (old & LVS_EX_CHECKBOXES)) {
    if (s.ownStateImages) {
      ImageList_Destroy(s.stateImages);
      s.stateImages = nullptr;
      s.ownStateImages = false;
    }
    for (Item& item : s.items) item.state &= ~LVIS_STATEIMAGEMASK;
  }
  InvalidateLayout(s);
}

}  // namespace pictavo::comctl::detail::listview
