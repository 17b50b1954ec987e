#include "controls/LayoutMgr.h"

#include <algorithm>
#include <cstdlib>

#include "platform/mfc/Wnd.h"
#include "platform/user/Metrics.h"
#include "platform/user/User.h"
#include "platform/user/WindowPos.h"

UINT g_uWinMgrMsg = RegisterWinMgrMessage();

UINT RegisterWinMgrMessage() {
  return ::RegisterWindowMessage("WM_WINMGR");
}

namespace {

bool IsEndOfTable(const _tagLayoutRow* row) {
  return row->flags == LAYOUT_END_TABLE;
}
bool IsEndMarker(const _tagLayoutRow* row) {
  return row->flags == LAYOUT_END_GROUP || row->flags == LAYOUT_END_TABLE;
}
bool IsGroup(const _tagLayoutRow* row) {
  return (row->flags & LAYOUT_GROUP_MASK) != 0 && !IsEndMarker(row);
}
// Only the rows group runs vertically; every other group kind stacks left to right.
bool IsRowsGroup(const _tagLayoutRow* row) {
  return (row->flags & LAYOUT_GROUP_MASK) == LAYOUT_ROWS;
}
int SizingKind(const _tagLayoutRow* row) {
  return row->flags & LAYOUT_SIZING_MASK;
}
// The first child of a group; NULL for a group written without children.
_tagLayoutRow* FirstChild(_tagLayoutRow* group) {
  _tagLayoutRow* child = group + 1;
  return IsEndMarker(child) ? nullptr : child;
}

int Width(const RECT& rc) {
  return rc.right - rc.left;
}
int Height(const RECT& rc) {
  return rc.bottom - rc.top;
}
int AxisLength(const RECT& rc, bool vertical) {
  return vertical ? Height(rc) : Width(rc);
}
void SetAxisLength(RECT& rc, bool vertical, int length) {
  if (vertical)
    rc.bottom = rc.top + length;
  else
    rc.right = rc.left + length;
}

// The control a row positions. Spacers and markers carry -1, which must never find a window: a
// template's unnamed statics carry that id too.
CWnd* FindControl(CWnd* owner, UINT id) {
  if (owner == nullptr || owner->GetSafeHwnd() == nullptr || id == 0 || id == LAYOUT_NO_WINDOW)
    return nullptr;
  return owner->GetDlgItem(static_cast<int>(id));
}

bool HasVisibleStyle(const CWnd* wnd) {
  return wnd != nullptr && wnd->GetSafeHwnd() != nullptr && (wnd->GetStyle() & WS_VISIBLE) != 0;
}

// max(min(desired, maximum), minimum) compared as unsigned, so a negative desired size takes the maximum.
int ClampDesired(int desired, int minimum, int maximum) {
  unsigned value = std::min(static_cast<unsigned>(desired), static_cast<unsigned>(maximum));
  value = std::max(value, static_cast<unsigned>(minimum));
  return static_cast<int>(value);
}

int CappedSum(int a, int b) {
  return std::min(a + b, LAYOUT_MAX_SIZE);
}

}  // namespace

_tagLayoutRow* InitLayoutRow(_tagLayoutRow* row, WORD flags, UINT id, LONG param) {
  *row = _tagLayoutRow{};
  row->flags = flags;
  row->id = id;
  row->param = param;
  return row;
}

_tagLayoutRow* LinkLayoutRows(_tagLayoutRow* first, _tagLayoutRow* parent) {
  _tagLayoutRow* previous = nullptr;
  _tagLayoutRow* row = first;
  while (!IsEndMarker(row)) {
    row->prev = previous;
    row->next = nullptr;
    if (previous != nullptr) previous->next = row;
    previous = row;
    if (IsGroup(row)) {
      _tagLayoutRow* end = LinkLayoutRows(row + 1, row);
      // A group left open by a faulty table ends at the end of the table; never read past it.
      if (IsEndOfTable(end)) {
        row = end;
        break;
      }
      row = end + 1;
    } else {
      ++row;
    }
  }
  return parent != nullptr ? row : nullptr;
}

CLayoutMgr::CLayoutMgr(_tagLayoutRow* table) : m_pTable(table) {
  if (m_pTable != nullptr) LinkLayoutRows(m_pTable, nullptr);
}

_tagLayoutRow* CLayoutMgr::GetParentGroup(_tagLayoutRow* row) {
  while (row->prev != nullptr) row = row->prev;
  return row - 1;
}

BOOL CLayoutMgr::GetGroupMargins(const _tagLayoutRow* row, int& mx, int& my) {
  if (!IsGroup(row)) {
    mx = my = 0;
    return FALSE;
  }
  mx = static_cast<SHORT>(LOWORD(row->param));
  my = static_cast<SHORT>(HIWORD(row->param));
  return TRUE;
}

void CLayoutMgr::CaptureToFitSizes(CWnd* owner) {
  ReadControlRects(owner);
  if (m_pTable == nullptr) return;
  for (_tagLayoutRow* row = m_pTable; !IsEndOfTable(row); ++row) {
    if (IsEndMarker(row) || IsGroup(row) || SizingKind(row) != LAYOUT_TOFIT) continue;
    row->param = MAKELONG(Width(row->rect) & 0xFFFF, Height(row->rect) & 0xFFFF);
  }
}

void CLayoutMgr::ReadControlRects(CWnd* owner) {
  if (m_pTable == nullptr) return;
  for (_tagLayoutRow* row = m_pTable; !IsEndOfTable(row); ++row) {
    CWnd* control = FindControl(owner, row->id);
    if (control == nullptr) continue;
    RECT rc;
    control->GetWindowRect(&rc);
    owner->ScreenToClient(&rc);
    row->rect = rc;
  }
}

int CLayoutMgr::CountControls() const {
  int count = 0;
  if (m_pTable == nullptr) return 0;
  for (const _tagLayoutRow* row = m_pTable; !IsEndOfTable(row); ++row) count += row->id != 0;
  return count;
}

_tagLayoutRow* CLayoutMgr::FindRow(UINT id) const {
  if (m_pTable == nullptr) return nullptr;
  for (_tagLayoutRow* row = m_pTable; !IsEndOfTable(row); ++row)
    if (row->id == id) return row;
  return nullptr;
}

BOOL CLayoutMgr::QueryControlSize(_tagLayoutSizeInfo& info, CWnd* owner, UINT id) {
  if (owner == nullptr || owner->GetSafeHwnd() == nullptr) return FALSE;
  _tagLayoutNotify notify{};
  notify.hdr.idFrom = id;
  notify.hdr.code = LAYOUT_NOTIFY_SIZE_QUERY;
  notify.sizeInfo = info;
  const auto lParam = reinterpret_cast<LPARAM>(&notify);
  LRESULT answered = owner->SendMessage(g_uWinMgrMsg, id, lParam);
  if (answered == 0) {
    if (CWnd* control = FindControl(owner, id)) answered = control->SendMessage(g_uWinMgrMsg, id, lParam);
  }
  if (answered == 0) return FALSE;
  info = notify.sizeInfo;
  return TRUE;
}

void CLayoutMgr::GetRowSizeInfo(_tagLayoutSizeInfo& info, _tagLayoutRow* row, CWnd* owner) {
  info.cxMin = info.cyMin = 0;
  info.cxMax = info.cyMax = LAYOUT_MAX_SIZE;
  info.cxDesired = Width(row->rect);
  info.cyDesired = Height(row->rect);

  if (IsGroup(row)) {
    const bool vertical = IsRowsGroup(row);
    info.cxDesired = info.cyDesired = 0;
    // Along the axis the children add up; across it the widest minimum and narrowest maximum win.
    int alongMin = 0, alongMax = 0, alongDesired = 0;
    int acrossMin = 0, acrossMax = LAYOUT_MAX_SIZE, acrossDesired = 0;
    for (_tagLayoutRow* child = FirstChild(row); child != nullptr; child = child->next) {
      _tagLayoutSizeInfo ci{};
      GetRowSizeInfo(ci, child, owner);
      alongMin += vertical ? ci.cyMin : ci.cxMin;
      alongMax = CappedSum(alongMax, vertical ? ci.cyMax : ci.cxMax);
      alongDesired += vertical ? ci.cyDesired : ci.cxDesired;
      acrossMin = std::max(acrossMin, vertical ? ci.cxMin : ci.cyMin);
      acrossMax = std::min(acrossMax, vertical ? ci.cxMax : ci.cyMax);
      acrossDesired = std::max(acrossDesired, vertical ? ci.cxDesired : ci.cyDesired);
    }
    if (FirstChild(row) == nullptr) alongMax = LAYOUT_MAX_SIZE;
    if (vertical) {
      info.cxMin = acrossMin, info.cyMin = alongMin;
      info.cxMax = acrossMax, info.cyMax = alongMax;
      info.cxDesired = acrossDesired, info.cyDesired = alongDesired;
    } else {
      info.cxMin = alongMin, info.cyMin = acrossMin;
      info.cxMax = alongMax, info.cyMax = acrossMax;
      info.cxDesired = alongDesired, info.cyDesired = acrossDesired;
    }
    int mx = 0, my = 0;
    GetGroupMargins(row, mx, my);
    // A negative margin is applied but does not count towards the minimum.
    if (mx >= 0) info.cxMin += 2 * mx;
    if (my >= 0) info.cyMin += 2 * my;
    info.cxDesired += 2 * std::abs(mx);
    info.cyDesired += 2 * std::abs(my);
    return;
  }

  _tagLayoutRow* parent = GetParentGroup(row);
  const bool vertical = IsRowsGroup(parent);
  CWnd* control = FindControl(owner, row->id);
  const bool ownerVisible = HasVisibleStyle(owner);
  const bool hiddenInVisibleOwner = control != nullptr && !HasVisibleStyle(control) && ownerVisible;
  int& alongDesired = vertical ? info.cyDesired : info.cxDesired;
  int& acrossDesired = vertical ? info.cxDesired : info.cyDesired;

  switch (SizingKind(row)) {
    case LAYOUT_FIXED: {
      const int length = std::abs(static_cast<int>(row->param));
      alongDesired = length;
      (vertical ? info.cyMax : info.cxMax) = length;
      (vertical ? info.cyMin : info.cxMin) = row->param < 0 ? 0 : length;
      if (hiddenInVisibleOwner)
        info.cxDesired = info.cyDesired = info.cxMin = info.cyMin = info.cxMax = info.cyMax = 0;
      break;
    }
    case LAYOUT_PERCENT:
      alongDesired = AxisLength(parent->rect, vertical) * static_cast<int>(row->param) / 100;
      acrossDesired = AxisLength(parent->rect, !vertical);
      break;
    case LAYOUT_TOFIT:
      if (row->param != 0) {
        info.cxDesired = LOWORD(row->param);
        info.cyDesired = HIWORD(row->param);
      }
      break;
    default:  // rest: keeps its current size
      break;
  }

  if (control != nullptr) {
    if (!hiddenInVisibleOwner) {
      info.cxAvailable = Width(parent->rect);
      info.cyAvailable = Height(parent->rect);
      QueryControlSize(info, owner, row->id);
    } else {
      info.cxDesired = info.cyDesired = 0;
    }
  }
  info.cxDesired = ClampDesired(info.cxDesired, info.cxMin, info.cxMax);
  info.cyDesired = ClampDesired(info.cyDesired, info.cyMin, info.cyMax);
}

void CLayoutMgr::LayoutRoot(const RECT& rc, CWnd* owner) {
  if (m_pTable == nullptr) return;
  m_pTable->rect = rc;
  LayoutGroup(m_pTable, owner);
}

void CLayoutMgr::LayoutGroup(_tagLayoutRow* group, CWnd* owner) {
  RECT inner = group->rect;
  int mx = 0, my = 0;
  if (GetGroupMargins(group, mx, my)) {
    const int x = std::min(std::abs(mx), Width(inner) / 2);
    const int y = std::min(std::abs(my), Height(inner) / 2);
    inner.left += x, inner.right -= x;
    inner.top += y, inner.bottom -= y;
  }
  const bool vertical = IsRowsGroup(group);
  int remaining = AxisLength(inner, vertical);

  // First every child gets its minimum, in table order, while there is length left.
  for (_tagLayoutRow* child = FirstChild(group); child != nullptr; child = child->next) {
    _tagLayoutSizeInfo info{};
    GetRowSizeInfo(info, child, owner);
    const int length = std::max(0, std::min(vertical ? info.cyMin : info.cxMin, remaining));
    SetAxisLength(child->rect, vertical, length);
    remaining -= length;
  }
  // Then each grows towards its desired length; the last rest child takes what is left.
  _tagLayoutRow* rest = nullptr;
  for (_tagLayoutRow* child = FirstChild(group); child != nullptr; child = child->next) {
    if (SizingKind(child) == LAYOUT_REST) {
      rest = child;
      continue;
    }
    GrowChild(child, vertical, remaining, owner);
  }
  if (rest != nullptr) GrowChild(rest, vertical, remaining, owner);

  StackChildren(group, inner, vertical);
  for (_tagLayoutRow* child = FirstChild(group); child != nullptr; child = child->next)
    if (IsGroup(child)) LayoutGroup(child, owner);
}

void CLayoutMgr::GrowChild(_tagLayoutRow* child, BOOL vertical, int& remaining, CWnd* owner) {
  _tagLayoutSizeInfo info{};
  GetRowSizeInfo(info, child, owner);
  const int current = AxisLength(child->rect, vertical);
  int target = vertical ? info.cyDesired : info.cxDesired;
  if (SizingKind(child) == LAYOUT_REST) target = current + remaining;
  const int extra = std::min(std::max(target - current, 0), remaining);
  SetAxisLength(child->rect, vertical, current + extra);
  remaining -= extra;
}

void CLayoutMgr::StackChildren(_tagLayoutRow* group, const RECT& inner, BOOL vertical) {
  int pos = vertical ? inner.top : inner.left;
  for (_tagLayoutRow* child = FirstChild(group); child != nullptr; child = child->next) {
    const int length = AxisLength(child->rect, vertical);
    if (vertical)
      child->rect = RECT{inner.left, pos, inner.right, pos + length};
    else
      child->rect = RECT{pos, inner.top, pos + length, inner.bottom};
    pos += length;
  }
}

BOOL CLayoutMgr::ApplyLayout(CWnd* owner) {
  const int count = CountControls();
  if (m_pTable == nullptr || owner == nullptr || owner->GetSafeHwnd() == nullptr || count <= 0) return count;
  HDWP batch = ::BeginDeferWindowPos(count);
  if (batch == nullptr) return FALSE;
  for (_tagLayoutRow* row = m_pTable; !IsEndOfTable(row); ++row) {
    if (row->id == 0) {
      owner->InvalidateRect(&row->rect, TRUE);
    } else if (CWnd* control = FindControl(owner, row->id)) {
      batch = ::DeferWindowPos(batch, control->GetSafeHwnd(), nullptr, row->rect.left, row->rect.top,
                               Width(row->rect), Height(row->rect), SWP_NOZORDER);
      if (batch == nullptr) return FALSE;
      control->Invalidate(TRUE);
    }
  }
  return ::EndDeferWindowPos(batch);
}

void CLayoutMgr::GetWindowMinMax(CWnd* owner, _tagLayoutSizeInfo& info) {
  info = _tagLayoutSizeInfo{};
  if (m_pTable == nullptr) return;
  GetRowSizeInfo(info, m_pTable, owner);
  if (!HasVisibleStyle(owner)) return;
  const DWORD style = owner->GetStyle();
  if ((style & WS_CHILD) == 0) {
    if ((style & WS_CAPTION) != 0) info.cyMin += ::GetSystemMetrics(SM_CYCAPTION);
    if (::GetMenu(owner->GetSafeHwnd()) != nullptr) info.cyMin += ::GetSystemMetrics(SM_CYMENU);
  }
  if ((style & WS_THICKFRAME) != 0) {
    info.cxMin += 2 * ::GetSystemMetrics(SM_CXFRAME);
    info.cyMin += 2 * ::GetSystemMetrics(SM_CYFRAME);
  } else if ((style & WS_BORDER) != 0) {
    info.cxMin += 2 * ::GetSystemMetrics(SM_CXBORDER);
    info.cyMin += 2 * ::GetSystemMetrics(SM_CYBORDER);
  }
  if ((owner->GetExStyle() & WS_EX_CLIENTEDGE) != 0) {
    info.cxMin += 2 * ::GetSystemMetrics(SM_CXEDGE);
    info.cyMin += 2 * ::GetSystemMetrics(SM_CYEDGE);
  }
}

MINMAXINFO* CLayoutMgr::FillMinMaxInfo(CWnd* owner, MINMAXINFO* mmi) {
  _tagLayoutSizeInfo info{};
  GetWindowMinMax(owner, info);
  mmi->ptMinTrackSize = POINT{info.cxMin, info.cyMin};
  mmi->ptMaxTrackSize = POINT{info.cxMax, info.cyMax};
  return mmi;
}

void CLayoutMgr::MoveSizerRow(_tagLayoutRow* row, int dx, int dy, CWnd* owner) {
  _tagLayoutRow* prev = row->prev;
  _tagLayoutRow* next = row->next;
  // A bar needs a neighbour on each side; a table that gives it none has nothing to resize.
  if (prev == nullptr || next == nullptr) return;
  if (IsRowsGroup(GetParentGroup(row))) {
    prev->rect.bottom += dy;
    next->rect.top += dy;
    dx = 0;
  } else {
    prev->rect.right += dx;
    next->rect.left += dx;
    dy = 0;
  }
  ::OffsetRect(&row->rect, dx, dy);
  if (IsGroup(prev)) LayoutGroup(prev, owner);
  if (IsGroup(next)) LayoutGroup(next, owner);
}

void CLayoutMgr::MoveSizer(UINT id, int dx, int dy, CWnd* owner) {
  if (_tagLayoutRow* row = FindRow(id)) MoveSizerRow(row, dx, dy, owner);
}
