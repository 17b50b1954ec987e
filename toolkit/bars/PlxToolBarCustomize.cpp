// What customize mode and button drops call on a bar. Placeholder bodies until customize-mode
// editing and in-process drag and drop arrive: drops follow the drop index, customize mode only
// clears the selection, and no context-menu item is greyed.
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/customize/PlxButtonAppearanceDlg.h"

#include "toolkit/bars/PlxOleData.h"

namespace {
constexpr int kDropNone = 0, kDropCopy = 1, kDropMove = 2;
constexpr DWORD kControlKey = 0x0008;  // MK_CONTROL
}  // namespace

CPlxToolbarButton* CPlxToolBar::CreateDroppedButton(COleDataObject* pDataObject) {
  CPlxToolbarButton* button = CPlxToolbarButton::CreateFromOleData(pDataObject);
  if (button == nullptr) return nullptr;
  if (int tab = button->m_strText.Find('\t'); tab >= 0) button->m_strText = button->m_strText.Left(tab);
  if (!button->m_bDragCopy) {
    button->m_bText = FALSE;
    button->m_bImage = TRUE;
  } else if (button->GetImage() < 0 && button->m_strText.IsEmpty()) {
    // A command with nothing to show: the user says how it looks, or it is not dropped.
    CPlxButtonAppearanceDlg dialog(button, m_pUserImages, this, 0, m_bMenuMode);
    if (dialog.DoModal() != IDOK) {
      delete button;
      return nullptr;
    }
  }
  if (button->GetImage() < 0) {
    button->m_bImage = FALSE;
    button->m_bText = TRUE;
  }
  return button;
}

int CPlxToolBar::OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
  m_iDropIndex = -1;
  m_dropSource.m_bOutsideBars = FALSE;
  return OnDragOver(pDataObject, dwKeyState, point);
}

int CPlxToolBar::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
  if (m_bLocked) return kDropNone;
  CPlxToolbarButton* probe = CPlxToolbarButton::CreateFromOleData(pDataObject);
  if (probe == nullptr) return kDropNone;
  const BOOL allowed = probe->CanBeDropped(this);
  delete probe;
  if (!allowed) return kDropNone;
  m_bCtrlDrag = (dwKeyState & kControlKey) != 0;
  if (m_pDragButton == nullptr && m_iSelected >= 0) {
    const int old = m_iSelected;
    m_iSelected = -1;
    InvalidateButton(old);
  }
  CRect mark;
  const int i = FindDropIndex(point, mark);
  if (mark != m_rectDropMark) {
    CRect old = m_rectDropMark;
    old.InflateRect(2, 2);
    m_iDropIndex = i;
    m_rectDropMark = mark;
    if (GetSafeHwnd() != nullptr) {
      InvalidateRect(old);
      InvalidateRect(mark);
    }
  }
  if (const int hot = HitTest(point); hot != m_iHot) {
    const int old = m_iHot;
    m_iHot = hot;
    InvalidateButton(old);
    InvalidateButton(hot);
    OnChangeHot(hot);
  }
  if (i == -1) return kDropNone;
  return m_bCtrlDrag ? kDropCopy : kDropMove;
}

void CPlxToolBar::OnDragLeave() {
  CRect old = m_rectDropMark;
  old.InflateRect(2, 2);
  m_rectDropMark.SetRectEmpty();
  m_iDropIndex = -1;
  m_dropSource.m_bOutsideBars = TRUE;
  // The drag no longer points at a button here.
  if (m_iHot >= 0) {
    const int hot = m_iHot;
    m_iHot = -1;
    InvalidateButton(hot);
    OnChangeHot(-1);
  }
  if (GetSafeHwnd() != nullptr) RedrawWindow(old, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

BOOL CPlxToolBar::OnDrop(COleDataObject* pDataObject, int dropEffect, CPoint point) {
  if (m_iDropIndex < 0) return FALSE;
  int index = m_iDropIndex;
  CPlxToolbarButton* dragged = m_pDragButton;
  m_pDragButton = nullptr;
  OnDragLeave();
  CPlxToolbarButton* button = CreateDroppedButton(pDataObject);
  if (button == nullptr) return FALSE;
  button->m_bDragCopy = FALSE;
  const int from = dragged != nullptr ? ButtonToIndex(dragged) : -1;
  if (from >= 0 && dropEffect != kDropCopy) {
    if (index == from || index == from + 1) {
      AddRemoveSeparator(dragged, m_ptDragStart, point);
      delete button;
      return TRUE;
    }
    RemoveButton(from);
    if (index > from) --index;
    index = std::min(index, GetCount());
  }
  if (InsertButtonObject(button, index) < 0) {
    delete button;
    return FALSE;
  }
  AdjustLayout();
  if (m_bAltDragActive) button->OnAfterAltDrop();
  m_iSelected = -1;
  if (GetSafeHwnd() != nullptr)
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
  return TRUE;
}

void CPlxToolBar::AddRemoveSeparator(const CPlxToolbarButton* pButton, const CPoint& ptStart,
                                     const CPoint& ptDrop) {
  const int i = ButtonToIndex(pButton);
  if (i <= 0) return;
  const int distance = IsHorizontal() ? ptDrop.x - ptStart.x : ptDrop.y - ptStart.y;
  if (std::abs(distance) < 6) return;
  CPlxToolbarButton* before = GetButton(i - 1);
  const BOOL separatorBefore = before != nullptr && (before->m_nStyle & TBBS_SEPARATOR);
  if (distance <= 0) {
    if (separatorBefore && before->m_bVisible) RemoveButton(i - 1);
  } else if (!separatorBefore) {
    InsertSeparator(i);
  }
  AdjustLayout();
  m_iSelected = -1;
  if (GetSafeHwnd() != nullptr)
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
}

void CPlxToolBar::OnCustomizeMode(BOOL bSet) {
  m_iDropped = m_iSelected = m_iPressed = m_iHot = -1;
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos;) {
    auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
    button->OnCancelMode();
    if (!(button->m_nStyle & TBBS_DISABLED)) button->EnableWindow(!bSet);
  }
  if (!bSet) m_pSelToolbar = nullptr;
  if (GetSafeHwnd() != nullptr) {
    AdjustLocations();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
  }
}
