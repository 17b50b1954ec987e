// The property list under the mouse and the keyboard: selection, expanding, the in-place editing
// cycle with its drop-down list, dragging the divider and the description splitter, the in-place
// tooltip over clipped cells and the change notification to the owner.
#include <algorithm>
#include <cstdlib>

#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxProp.h"
#include "toolkit/core/PlxPropList.h"

namespace {

bool KeyHeld(int key) {
  return GetKeyState(key) < 0;
}

HCURSOR StretchCursor() {
  static const HCURSOR cursor = LoadCursor(nullptr, IDC_SIZEWE);
  return cursor;
}

HCURSOR StretchVertCursor() {
  static const HCURSOR cursor = LoadCursor(nullptr, IDC_SIZENS);
  return cursor;
}

CPoint PointOf(LPARAM lParam) {
  return CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

}  // namespace

// ---- notification and editing ---------------------------------------------------------------

LRESULT CPlxPropList::NotifyPropertyChanged(CPlxProp* pProp) {
  pProp->UpdateModifiedState();
  CWnd* owner = GetOwner();
  if (!owner) owner = GetParent();
  if (!owner) return 0;
  return owner->SendMessage(PlxPropertyChangedMessage(), GetDlgCtrlID(), reinterpret_cast<LPARAM>(pProp));
}

BOOL CPlxPropList::BeginEditItem(CPlxProp* pProp, const CPoint* pClick) {
  if (!pProp || !EndEditItem(TRUE)) return FALSE;
  if (pProp->m_bGroup && !pProp->m_bIsValueList) return FALSE;
  m_IPToolTip.Deactivate();
  // Callers go on to type into or click the edit: without one they must hear of the failure.
  if (!pProp->BeginEdit(pClick)) return FALSE;
  pProp->Redraw();
  SetCurSel(pProp, TRUE);
  SetCapture();
  return TRUE;
}

BOOL CPlxPropList::EndEditItem(BOOL bCommit) {
  if (!m_pSel || !m_pSel->m_bInPlaceEdit) return TRUE;
  if (bCommit && (!ValidateEdit(m_pSel) || !m_pSel->CommitEdit())) return FALSE;
  if (!m_pSel->EndEdit()) return FALSE;
  if (CWnd::GetCapture() == this) ReleaseCapture();
  m_pSel->Redraw();
  return TRUE;
}

void CPlxPropList::OnDropButtonClick(const CPoint* pPoint) {
  if (!m_pSel || !m_pSel->CommitEdit()) return;
  CWaitCursor wait;
  const CString before = m_pSel->FormatValue();
  m_pSel->OnDropButton(pPoint);
  if (m_pSel->FormatValue() != before) NotifyPropertyChanged(m_pSel);
}

void CPlxPropList::RunDropButton(const CPoint* pPoint) {
  CWaitCursor wait;
  const CString before = m_pSel->FormatValue();
  m_pSel->OnDropButton(pPoint);
  if (m_pSel->FormatValue() != before) NotifyPropertyChanged(m_pSel);
}

BOOL CPlxPropList::HandleClipboardKeys(UINT nChar) {
  if (!m_pSel || !m_pSel->m_pWndInPlace) return FALSE;
  const bool ctrl = KeyHeld(VK_CONTROL), shift = KeyHeld(VK_SHIFT);
  UINT message = 0;
  if (ctrl && (nChar == 'C' || nChar == VK_INSERT))
    message = WM_COPY;
  else if ((ctrl && nChar == 'V') || (shift && nChar == VK_INSERT))
    message = WM_PASTE;
  else if ((ctrl && nChar == 'X') || (shift && nChar == VK_DELETE))
    message = WM_CUT;
  if (!message) return FALSE;
  m_pSel->m_pWndInPlace->SendMessage(message);
  return TRUE;
}

int CPlxPropList::CompareProperties(const CPlxProp* pProp1, const CPlxProp* pProp2) const {
  return pProp1->m_strName.Compare(pProp2->m_strName);
}

void CPlxPropList::NotifyAccessibility(CPlxProp*) {
  // The accessibility switch is off in this program and no frame answers the request.
}

// ---- mouse ----------------------------------------------------------------------------------

BOOL CPlxPropList::InDividerZone(CPoint point) const {
  return std::abs(point.x - (m_rectList.left + m_nLeftColumnWidth)) <= 2;
}

BOOL CPlxPropList::InSplitterZone(CPoint point) const {
  return m_bDescriptionArea && std::abs(point.y - (m_rectList.bottom + 4)) <= 2;
}

CPlxProp* CPlxPropList::SelectAt(CPoint point, int* pnArea) {
  CPlxProp* prop = HitTest(point, pnArea);
  SetCurSel(prop, TRUE);
  if (prop) EnsureVisible(prop);
  return prop;
}

void CPlxPropList::OnLButtonDown(UINT nFlags, CPoint point) {
  CWnd::OnLButtonDown(nFlags, point);
  m_lLastDownTime = GetMessageTime();
  m_ptLastDown = point;
  SetFocus();
  if (m_bDescriptionArea) {
    if (InSplitterZone(point)) {
      SetCapture();
      TrackDescription(point.y);
      m_bTrackingDescr = TRUE;
      return;
    }
    if (point.y > m_rectList.bottom) return;
  }
  if (InDividerZone(point)) {
    SetCapture();
    TrackHeader(point.x - m_rectList.left);
    m_bTracking = TRUE;
    return;
  }
  int area = CPlxProp::ClickName;
  CPlxProp* old = m_pSel;
  CPlxProp* prop = SelectAt(point, &area);
  if (!prop) return;
  if (area == CPlxProp::ClickExpandBox) {
    prop->Expand(!prop->m_bExpanded);
  } else if (area == CPlxProp::ClickName) {
    prop->OnNameClicked(point);
  } else if (area == CPlxProp::ClickValue && prop->m_bEnabled) {
    if (!BeginEditItem(prop, &point) || !prop->m_pWndInPlace) return;
    if (prop->m_rectButton.PtInRect(point)) {
      ReleaseCapture();
      RunDropButton(&point);
    } else if (prop == old || prop->EditsOnFirstClick()) {
      prop->ForwardMouseToEditor(WM_LBUTTONDOWN, point);
    }
  }
}

void CPlxPropList::OnRButtonDown(UINT nFlags, CPoint point) {
  CWnd::OnRButtonDown(nFlags, point);
  SetFocus();
  if (InSplitterZone(point) || (m_bDescriptionArea && point.y > m_rectList.bottom) || InDividerZone(point))
    return;
  int area = CPlxProp::ClickName;
  CPlxProp* old = m_pSel;
  CPlxProp* prop = SelectAt(point, &area);
  if (!prop) return;
  if (area == CPlxProp::ClickName) {
    prop->OnNameRightClicked(point);
  } else if (area == CPlxProp::ClickValue) {
    prop->OnValueRightClicked(point, prop != old);
    if (prop->m_bEnabled && prop == old && BeginEditItem(prop, &point) && prop->m_pWndInPlace &&
        !prop->m_rectButton.PtInRect(point) && prop->EditsOnFirstClick())
      prop->ForwardMouseToEditor(WM_RBUTTONDOWN, point);
  }
}

void CPlxPropList::OnLButtonDblClk(UINT nFlags, CPoint point) {
  CWnd::OnLButtonDblClk(nFlags, point);
  if (point.y <= m_rectList.bottom && InDividerZone(point)) {
    CRect client;
    GetClientRect(client);
    m_nLeftColumnWidth = client.Width() / 2;
    SetHeaderWidths();
    LayoutRows();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return;
  }
  if (!m_pSel) return;
  if (m_pSel->m_bGroup && (!m_pSel->m_bIsValueList || point.x < m_rectList.left + m_nLeftColumnWidth)) {
    m_pSel->Expand(!m_pSel->m_bExpanded);
  } else if (m_pSel->m_bEnabled) {
    if (BeginEditItem(m_pSel, nullptr) && m_pSel->m_pWndInPlace) {
      m_pSel->m_pWndInPlace->SendMessage(WM_LBUTTONDOWN);
      m_pSel->m_pWndInPlace->SendMessage(WM_LBUTTONUP);
    }
    if (m_pSel) m_pSel->OnValueDoubleClick(point);
  }
}

void CPlxPropList::OnMouseMove(UINT nFlags, CPoint point) {
  CWnd::OnMouseMove(nFlags, point);
  if (m_bTracking) TrackHeader(point.x - m_rectList.left);
  if (m_bTrackingDescr) TrackDescription(point.y);
}

void CPlxPropList::SetLeftColumnFromX(int x) {
  CRect client;
  GetClientRect(client);
  const int limit = client.Width() - GetSystemMetrics(SM_CXHSCROLL) - 5;
  const int width = std::max(x, m_nRowHeight);
  m_nLeftColumnWidth = width < limit ? width : limit;
  SetHeaderWidths();
  LayoutRows();
  if (m_pSel && m_pSel->m_bInPlaceEdit && m_pSel->m_pWndInPlace) {
    CRect edit, spin;
    m_pSel->PlaceEditors(edit, spin);
    m_pSel->m_pWndInPlace->MoveWindow(edit);
  }
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CPlxPropList::OnLButtonUp(UINT nFlags, CPoint point) {
  CWnd::OnLButtonUp(nFlags, point);
  if (m_bTracking) {
    TrackHeader(-1);
    m_bTracking = FALSE;
    if (CWnd::GetCapture() == this) ReleaseCapture();
    SetLeftColumnFromX(point.x - m_rectList.left);
  } else if (m_bTrackingDescr) {
    TrackDescription(-1);
    m_bTrackingDescr = FALSE;
    if (CWnd::GetCapture() == this) ReleaseCapture();
    CRect client;
    GetClientRect(client);
    m_nDescrHeight = std::max<int>(
        client.Height() - std::max<int>(point.y, m_nRowHeight + m_nHeaderHeight) + 2, m_nRowHeight);
    RecalcLayout();
  }
}

void CPlxPropList::TrackHeader(int nOffset) {
  CClientDC dc(this);
  if (!m_rectTrackHeader.IsRectEmpty() && !m_bLiveDivider) dc.InvertRect(m_rectTrackHeader);
  if (nOffset < 0) {
    m_rectTrackHeader.SetRectEmpty();
    return;
  }
  m_rectTrackHeader = m_rectList;
  m_rectTrackHeader.left += nOffset;
  m_rectTrackHeader.right = m_rectTrackHeader.left + 1;
  if (m_bLiveDivider)
    SetLeftColumnFromX(nOffset);
  else
    dc.InvertRect(m_rectTrackHeader);
}

void CPlxPropList::TrackDescription(int nOffset) {
  CClientDC dc(this);
  if (!m_rectTrackDescr.IsRectEmpty()) dc.InvertRect(m_rectTrackDescr);
  if (nOffset < 0) {
    m_rectTrackDescr.SetRectEmpty();
    return;
  }
  CRect client;
  GetClientRect(client);
  nOffset = std::max<int>(nOffset, client.top + m_nHeaderHeight + m_nRowHeight);
  nOffset = std::min<int>(nOffset, client.bottom - m_nRowHeight);
  m_rectTrackDescr = CRect(client.left, nOffset - 1, client.right, nOffset + 1);
  dc.InvertRect(m_rectTrackDescr);
}

BOOL CPlxPropList::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (nHitTest == HTCLIENT) {
    CPoint point;
    GetCursorPos(&point);
    ScreenToClient(&point);
    if (InSplitterZone(point)) {
      SetCursor(StretchVertCursor());
      return TRUE;
    }
    if (point.y <= m_rectList.bottom && InDividerZone(point)) {
      SetCursor(StretchCursor());
      return TRUE;
    }
    int area = CPlxProp::ClickName;
    CPlxProp* prop = HitTest(point, &area);
    if (prop && prop == m_pSel && area == CPlxProp::ClickValue && !prop->m_rectButton.PtInRect(point) &&
        prop->SetEditCursor(point))
      return TRUE;
  }
  return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CPlxPropList::OnCancelMode() {
  if (m_bTracking) {
    TrackHeader(-1);
    m_bTracking = FALSE;
  }
  if (m_bTrackingDescr) {
    TrackDescription(-1);
    m_bTrackingDescr = FALSE;
  }
  if (CWnd::GetCapture() == this) ReleaseCapture();
  m_IPToolTip.Deactivate();
  EndEditItem(TRUE);
  CWnd::OnCancelMode();
}

void CPlxPropList::TrackToolTip(CPoint point) {
  if (m_bTracking || m_bTrackingDescr) return;
  CPoint screen = point;
  ClientToScreen(&screen);
  if (m_IPToolTip.GetSafeHwnd() && m_IPToolTip.IsWindowVisible()) {
    CRect tip;
    m_IPToolTip.GetWindowRect(tip);
    if (tip.PtInRect(screen)) return;
  }
  if (CWnd::GetCapture() == this && !(m_pSel && m_pSel->m_bInPlaceEdit)) ReleaseCapture();
  CPlxProp* prop = HitTest(point, nullptr, FALSE);
  if (!prop || InDividerZone(point)) {
    m_IPToolTip.Deactivate();
    return;
  }
  if (prop->m_bInPlaceEdit) return;
  CRect cell = prop->m_Rect;
  CString text;
  const int divider = m_rectList.left + m_nLeftColumnWidth;
  BOOL bold = FALSE;
  if (point.x < divider) {
    if (prop->m_bGroup) {
      cell.left = prop->m_Rect.left + prop->m_Rect.Height();
      if (point.x <= cell.left) {
        m_IPToolTip.Deactivate();
        return;
      }
    }
    if (prop->m_bNameIsTrancated && (!m_bAlwaysShowUserTT || prop->GetNameTipText().IsEmpty()))
      text = prop->m_strName;
    cell.right = divider;
  } else {
    if (prop->m_bValueIsTrancated && (!m_bAlwaysShowUserTT || prop->GetValueTipText().IsEmpty()))
      text = prop->FormatValue();
    cell.left = divider + 1;
    bold = prop->m_bIsModified && m_bMarkModifiedProperties;
  }
  if (text.IsEmpty()) {
    m_IPToolTip.Deactivate();
    return;
  }
  ClientToScreen(cell);
  if (cell != m_IPToolTip.GetLastRect() || text != m_IPToolTip.GetText()) {
    m_IPToolTip.m_nTextMargin = 4;
    m_IPToolTip.SendMessage(WM_SETFONT,
                            reinterpret_cast<WPARAM>(bold ? static_cast<HFONT>(m_fontBold.GetSafeHandle())
                                                          : SelectListFont(nullptr)),
                            FALSE);
    m_IPToolTip.Track(cell, text);
    SetCapture();
  }
}

// ---- keyboard -------------------------------------------------------------------------------

void CPlxPropList::SelectFirst() {
  const auto& rows = Rows();
  if (rows.IsEmpty()) return;
  SetCurSel(rows.GetHead(), TRUE);
  OnVScroll(SB_TOP, 0, nullptr);
}

void CPlxPropList::SelectLast() {
  CPlxProp* last = nullptr;
  if (m_bAlphabeticMode) {
    if (!m_lstTerminalProps.IsEmpty()) last = m_lstTerminalProps.GetTail();
  } else if (!m_lstProps.IsEmpty()) {
    last = m_lstProps.GetTail();
    while (!last->m_lstSubItems.IsEmpty() && last->m_bExpanded) last = last->m_lstSubItems.GetTail();
  }
  if (!last) return;
  SetCurSel(last, TRUE);
  OnVScroll(SB_BOTTOM, 0, nullptr);
}

void CPlxPropList::SelectNeighbour(CPlxProp* pProp) {
  if (!pProp) return;
  SetCurSel(pProp, TRUE);
  EnsureVisible(pProp);
}

void CPlxPropList::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (m_lstProps.IsEmpty()) return CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
  CPlxProp* sel = m_pSel;
  switch (nChar) {
    case VK_HOME:
      return SelectFirst();
    case VK_END:
      return SelectLast();
    case VK_UP:
      if (!sel) return SelectFirst();
      return SelectNeighbour(HitTest(CPoint(sel->m_Rect.right - 1, sel->m_Rect.top - 2), nullptr, TRUE));
    case VK_DOWN:
      if (!sel) return SelectFirst();
      if (KeyHeld(VK_MENU)) return RunDropButton(nullptr);
      return SelectNeighbour(HitTest(CPoint(sel->m_Rect.right - 1, sel->m_Rect.bottom + 2), nullptr, TRUE));
    case VK_PRIOR:
      if (sel && m_nVertScrollPage != 0) {
        EnsureVisible(sel);
        CPlxProp* hit = HitTest(
            CPoint(sel->m_Rect.right - 1, sel->m_Rect.top - m_nRowHeight * m_nVertScrollPage), nullptr, TRUE);
        if (hit) {
          SetCurSel(hit, TRUE);
          OnVScroll(SB_PAGEUP, 0, nullptr);
        }
        return;
      }
      return SelectFirst();
    case VK_NEXT:
      if (!sel) return SelectFirst();
      if (m_nVertScrollPage != 0) {
        EnsureVisible(sel);
        CPlxProp* hit = HitTest(
            CPoint(sel->m_Rect.right - 1, sel->m_Rect.top + m_nRowHeight * m_nVertScrollPage), nullptr, TRUE);
        if (hit) {
          SetCurSel(hit, TRUE);
          OnVScroll(SB_PAGEDOWN, 0, nullptr);
        }
        return;
      }
      return SelectLast();
    case VK_LEFT:
    case VK_RIGHT:
      if (KeyHeld(VK_CONTROL)) {
        const BOOL live = m_bLiveDivider;
        m_bLiveDivider = TRUE;
        TrackHeader(m_nLeftColumnWidth + (nChar == VK_LEFT ? -5 : 5));
        m_bLiveDivider = live;
        return;
      }
      if (sel && sel->m_bGroup && !sel->m_lstSubItems.IsEmpty() && sel->m_bExpanded == (nChar == VK_LEFT))
        return sel->Expand(nChar == VK_RIGHT);
      return OnKeyDown(nChar == VK_LEFT ? VK_UP : VK_DOWN, nRepCnt, nFlags);
    case VK_ADD:
    case VK_SUBTRACT:
      if (sel && sel->m_bGroup && !sel->m_bInPlaceEdit && sel->m_bExpanded == (nChar == VK_SUBTRACT))
        sel->Expand(nChar == VK_ADD);
      return;
    case VK_F4:
      if (sel && sel->m_bEnabled && BeginEditItem(sel, nullptr)) {
        if (sel->m_dwFlags & CPlxProp::kBrowseButton) RunDropButton(nullptr);
        return;
      }
      break;
    default:
      break;
  }
  CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CPlxPropList::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  CWnd::OnChar(nChar, nRepCnt, nFlags);
  if (m_pSel && m_pSel->m_bEnabled && BeginEditItem(m_pSel, nullptr)) m_pSel->OnTypedChar(nChar);
}

UINT CPlxPropList::OnGetDlgCode() {
  return DLGC_WANTARROWS | DLGC_WANTCHARS;
}

BOOL CPlxPropList::PreTranslateMessage(MSG* pMsg) {
  const UINT m = pMsg->message;
  const bool button = (m >= WM_LBUTTONDOWN && m <= WM_MBUTTONDBLCLK && m != WM_MOUSEMOVE) ||
                      (m >= WM_NCLBUTTONDOWN && m <= WM_NCMBUTTONDBLCLK);
  // The cell tooltip's tools see the list's mouse messages themselves (they subclass it).
  if (button || m == WM_KEYDOWN || m == WM_SYSKEYDOWN) {
    m_IPToolTip.Hide();
  } else if (m == WM_MOUSEMOVE && pMsg->hwnd == GetSafeHwnd() &&
             !(pMsg->wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
    TrackToolTip(PointOf(pMsg->lParam));
  }
  if (m == WM_SYSKEYDOWN && (pMsg->wParam == VK_DOWN || pMsg->wParam == VK_RIGHT) && m_pSel &&
      m_pSel->m_bEnabled) {
    if (m_pSel->m_dwFlags & CPlxProp::kBrowseButton) {
      if (BeginEditItem(m_pSel, nullptr)) RunDropButton(nullptr);
      return TRUE;
    }
    // Alt+Down opens the option list of the selection, as in any drop-down.
    if (pMsg->wParam == VK_DOWN && (m_pSel->m_dwFlags & CPlxProp::kOptionList)) {
      if (m_pSel->m_bInPlaceEdit || BeginEditItem(m_pSel, nullptr)) RunDropButton(nullptr);
      return TRUE;
    }
  }
  if (m_pSel && m_pSel->m_bInPlaceEdit && m_pSel->m_bEnabled) {
    CWnd* edit = m_pSel->m_pWndInPlace;
    if (m == WM_KEYDOWN) {
      switch (pMsg->wParam) {
        case VK_RETURN:
          if (m_pSel->m_pWndCombo && m_pSel->m_pWndCombo->GetDroppedState()) {
            m_pSel->OnComboSelected();
            if (m_pSel->m_pWndInPlace) m_pSel->m_pWndInPlace->SetFocus();
          } else if (!EndEditItem(TRUE)) {
            MessageBeep(static_cast<UINT>(-1));
          }
          SetFocus();
          return TRUE;
        case VK_ESCAPE:
          EndEditItem(FALSE);
          SetFocus();
          return TRUE;
        default:
          // An open option list takes its own keys: arrows move its selection.
          if (m_pSel->m_pWndCombo && m_pSel->m_pWndCombo->GetDroppedState()) return FALSE;
          if (m_pSel->m_bAllowEdit) return HandleClipboardKeys(static_cast<UINT>(pMsg->wParam));
          m_pSel->OnTypedChar(static_cast<UINT>(pMsg->wParam));
          return TRUE;
      }
    }
    if (m >= WM_MOUSEFIRST && m <= WM_MBUTTONDBLCLK && edit) {
      CPoint point = PointOf(pMsg->lParam);
      CWnd* target = CWnd::FromHandle(pMsg->hwnd);
      if (target != this) target->MapWindowPoints(this, &point, 1);
      if (m_pSel->m_pWndSpin) {
        CRect spin;
        m_pSel->m_pWndSpin->GetWindowRect(spin);
        ScreenToClient(spin);
        if (spin.PtInRect(point)) {
          MapWindowPoints(m_pSel->m_pWndSpin, &point, 1);
          m_pSel->m_pWndSpin->SendMessage(m, pMsg->wParam, MAKELPARAM(point.x, point.y));
          return TRUE;
        }
      }
      if (m_pSel->m_pWndCombo && pMsg->hwnd != GetSafeHwnd() && pMsg->hwnd != edit->GetSafeHwnd())
        return FALSE;
      CRect editRect;
      edit->GetWindowRect(editRect);
      ScreenToClient(editRect);
      const bool inEdit = editRect.PtInRect(point) != 0;
      if (!m_pSel->m_bAllowEdit) ::HideCaret(edit->GetSafeHwnd());
      // The click that opened the editor went to the list and the second one reaches the edit
      // made under the pointer, so the pair is no double click to the system: it is one here.
      const bool secondClick = m == WM_LBUTTONDOWN && pMsg->hwnd == edit->GetSafeHwnd() &&
                               static_cast<DWORD>(pMsg->time - m_lLastDownTime) <= GetDoubleClickTime() &&
                               std::abs(point.x - m_ptLastDown.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                               std::abs(point.y - m_ptLastDown.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
      if ((m == WM_LBUTTONDBLCLK || secondClick) && inEdit) {
        m_lLastDownTime = pMsg->time - GetDoubleClickTime() - 1;
        if (m_pSel->OnValueDoubleClick(point)) return TRUE;
      }
      if (m == WM_RBUTTONDOWN && inEdit && !m_pSel->m_bAllowEdit) return TRUE;
      if (m == WM_LBUTTONDOWN && !inEdit) {
        if (m_pSel->m_rectButton.PtInRect(point)) {
          OnDropButtonClick(&point);
          return TRUE;
        }
        if (!EndEditItem(TRUE)) return TRUE;
        // The click goes on to the list in its own coordinates: it may select another row.
        SendMessage(m, pMsg->wParam, MAKELPARAM(point.x, point.y));
        return TRUE;
      }
      if (m == WM_MOUSEMOVE && !inEdit) return TRUE;
      CPoint inner = point;
      MapWindowPoints(edit, &inner, 1);
      edit->SendMessage(m, pMsg->wParam, MAKELPARAM(inner.x, inner.y));
      return TRUE;
    }
  }
  return CWnd::PreTranslateMessage(pMsg);
}

// ---- focus and editors' notifications -------------------------------------------------------

void CPlxPropList::OnSetFocus(CWnd* pOldWnd) {
  CWnd::OnSetFocus(pOldWnd);
  m_bFocused = TRUE;
  if (m_pSel) m_pSel->Redraw();
}

void CPlxPropList::OnKillFocus(CWnd* pNewWnd) {
  if (!pNewWnd || !IsChild(pNewWnd)) {
    if (!m_pSel || m_pSel->AllowListFocusLoss(pNewWnd)) {
      EndEditItem(TRUE);
      m_bFocused = FALSE;
      if (m_pSel) m_pSel->Redraw();
    }
  }
  CWnd::OnKillFocus(pNewWnd);
}

void CPlxPropList::OnEditorKillFocus() {
  if (!m_pSel || !m_pSel->m_bInPlaceEdit || !m_pSel->m_bEnabled) return;
  CWnd* focus = CWnd::GetFocus();
  if ((focus == this || IsChild(focus)) || !m_pSel->AllowEditorFocusLoss()) return;
  if (EndEditItem(TRUE))
    OnKillFocus(focus);
  else if (m_pSel->m_pWndInPlace)
    m_pSel->m_pWndInPlace->SetFocus();
}

void CPlxPropList::OnComboKillFocus() {
  if (!m_pSel || !m_pSel->m_pWndCombo) return;
  CWnd* focus = CWnd::GetFocus();
  if (focus == this || IsChild(focus)) return;
  if (EndEditItem(TRUE))
    OnKillFocus(focus);
  else if (m_pSel->m_pWndCombo)
    m_pSel->m_pWndCombo->SetFocus();
}

void CPlxPropList::OnComboSelEndOk() {
  if (m_pSel) m_pSel->OnComboSelected();
}

void CPlxPropList::OnComboCloseUp() {
  if (m_pSel) m_pSel->OnComboClosed();
}

HBRUSH CPlxPropList::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  if (m_pSel && m_pSel->m_pWndInPlace && pWnd &&
      pWnd->GetSafeHwnd() == m_pSel->m_pWndInPlace->GetSafeHwnd()) {
    HBRUSH brush = m_pSel->GetEditorBrush(pDC, nCtlColor);
    if (brush) return brush;
  }
  return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CPlxPropList::OnDestroy() {
  while (!m_lstProps.IsEmpty()) delete m_lstProps.RemoveHead();
  m_lstTerminalProps.RemoveAll();
  m_pSel = nullptr;
  if (m_IPToolTip.GetSafeHwnd()) m_IPToolTip.DestroyWindow();
  if (m_ToolTip.GetSafeHwnd()) m_ToolTip.DestroyWindow();
  CWnd::OnDestroy();
}
