#include "platform/mfc/CheckListBox.h"

#include <algorithm>

#include "platform/mfc/Dc.h"
#include "platform/user/Controls.h"

IMPLEMENT_DYNAMIC(CCheckListBox, CListBox)

BEGIN_MESSAGE_MAP(CCheckListBox, CListBox)
ON_WM_LBUTTONDOWN()
ON_WM_KEYDOWN()
ON_WM_LBUTTONDBLCLK()
ON_MESSAGE(LB_ADDSTRING, OnAddString)
ON_MESSAGE(LB_INSERTSTRING, OnInsertString)
ON_MESSAGE(LB_DELETESTRING, OnDeleteString)
ON_MESSAGE(LB_RESETCONTENT, OnResetContent)
END_MESSAGE_MAP()

namespace {
constexpr int kBoxSize = 13;
constexpr int kBoxMargin = 2;
}  // namespace

BOOL CCheckListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  // Rows are drawn here and keep their strings.
  dwStyle &= ~static_cast<DWORD>(LBS_OWNERDRAWVARIABLE);
  return CListBox::Create(dwStyle | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, rect, pParentWnd, nID);
}

int CCheckListBox::GetCheck(int nIndex) const {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_rows.size())) return -1;
  return m_rows[static_cast<size_t>(nIndex)].check;
}

void CCheckListBox::SetCheck(int nIndex, int nCheck) {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_rows.size())) return;
  m_rows[static_cast<size_t>(nIndex)].check = nCheck;
  CRect row;
  if (GetSafeHwnd() != nullptr && GetItemRect(nIndex, &row) != LB_ERR) InvalidateRect(&row, FALSE);
}

void CCheckListBox::Enable(int nIndex, BOOL bEnabled) {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_rows.size())) return;
  m_rows[static_cast<size_t>(nIndex)].enabled = bEnabled;
  CRect row;
  if (GetSafeHwnd() != nullptr && GetItemRect(nIndex, &row) != LB_ERR) InvalidateRect(&row, FALSE);
}

BOOL CCheckListBox::IsEnabled(int nIndex) const {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_rows.size())) return FALSE;
  return m_rows[static_cast<size_t>(nIndex)].enabled;
}

int CCheckListBox::CheckBoxWidth() const {
  return kBoxSize + 2 * kBoxMargin;
}

int CCheckListBox::CheckFromPoint(CPoint point, BOOL& bInCheck) const {
  bInCheck = FALSE;
  BOOL outside = TRUE;
  const UINT index = ItemFromPoint(point, outside);
  if (outside || static_cast<int>(index) >= GetCount()) return -1;
  bInCheck = point.x >= 0 && point.x < CheckBoxWidth();
  return static_cast<int>(index);
}

void CCheckListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMIS) {
  lpMIS->itemHeight = std::max<UINT>(lpMIS->itemHeight, kBoxSize + 2 * kBoxMargin);
}

void CCheckListBox::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  if (lpDIS->itemID == static_cast<UINT>(-1)) return;
  CDC* dc = CDC::FromHandle(lpDIS->hDC);
  const CRect rect(lpDIS->rcItem);
  const int index = static_cast<int>(lpDIS->itemID);
  const BOOL selected = (lpDIS->itemState & ODS_SELECTED) != 0;

  CRect box(rect.left + kBoxMargin, rect.top + (rect.Height() - kBoxSize) / 2,
            rect.left + kBoxMargin + kBoxSize, rect.top + (rect.Height() - kBoxSize) / 2 + kBoxSize);
  dc->FillSolidRect(CRect(rect.left, rect.top, rect.left + CheckBoxWidth(), rect.bottom),
                    ::GetSysColor(COLOR_WINDOW));
  UINT state = DFCS_BUTTONCHECK | DFCS_FLAT;
  if (GetCheck(index) == BST_CHECKED) state |= DFCS_CHECKED;
  if (!IsEnabled(index) || !IsWindowEnabled()) state |= DFCS_INACTIVE;
  dc->DrawFrameControl(&box, DFC_BUTTON, state);

  CRect text(rect.left + CheckBoxWidth(), rect.top, rect.right, rect.bottom);
  dc->FillSolidRect(&text, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  CString label;
  GetText(index, label);
  text.left += 2;
  dc->DrawText(label, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (lpDIS->itemState & ODS_FOCUS) {
    CRect focus(rect.left + CheckBoxWidth(), rect.top, rect.right, rect.bottom);
    dc->DrawFocusRect(&focus);
  }
}

void CCheckListBox::ToggleAndNotify(int nIndex) {
  if (nIndex < 0 || nIndex >= GetCount() || !IsEnabled(nIndex)) return;
  m_nCheckChanged = nIndex;
  SetCheck(nIndex, GetCheck(nIndex) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
  if (CWnd* parent = GetParent())
    parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CLBN_CHKCHANGE),
                        reinterpret_cast<LPARAM>(m_hWnd));
}

void CCheckListBox::OnLButtonDown(UINT nFlags, CPoint point) {
  BOOL inCheck = FALSE;
  const int index = CheckFromPoint(point, inCheck);
  if (index >= 0 && inCheck) {
    // A box toggles by itself: the selection stays where it was.
    SetFocus();
    ToggleAndNotify(index);
    return;
  }
  Default();
}

void CCheckListBox::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_SPACE) {
    ToggleAndNotify(GetCaretIndex());
    return;
  }
  Default();
}

void CCheckListBox::OnLButtonDblClk(UINT nFlags, CPoint point) {
  BOOL inCheck = FALSE;
  const int index = CheckFromPoint(point, inCheck);
  if (index >= 0 && inCheck) {
    ToggleAndNotify(index);  // the second click of a double-click on a box
    return;
  }
  Default();
}

LRESULT CCheckListBox::OnAddString(WPARAM, LPARAM) {
  const LRESULT index = Default();
  if (index >= 0 && index <= static_cast<LRESULT>(m_rows.size()))
    m_rows.insert(m_rows.begin() + index, RowState{});
  return index;
}

LRESULT CCheckListBox::OnInsertString(WPARAM, LPARAM) {
  const LRESULT index = Default();
  if (index >= 0 && index <= static_cast<LRESULT>(m_rows.size()))
    m_rows.insert(m_rows.begin() + index, RowState{});
  return index;
}

LRESULT CCheckListBox::OnDeleteString(WPARAM wParam, LPARAM) {
  const LRESULT result = Default();
  if (result != LB_ERR && wParam < m_rows.size()) m_rows.erase(m_rows.begin() + static_cast<long>(wParam));
  m_nCheckChanged = -1;
  return result;
}

LRESULT CCheckListBox::OnResetContent(WPARAM, LPARAM) {
  const LRESULT result = Default();
  m_rows.clear();
  m_nCheckChanged = -1;
  return result;
}
