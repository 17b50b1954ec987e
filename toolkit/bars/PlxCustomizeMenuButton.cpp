// The quick-customize item: its row (check cell, image, label with shortcut) and what choosing it
// does to the bar being customized. Items are bound by index, so every use checks that the bar and
// the button at that index are still there.
#include "toolkit/bars/PlxCustomizeMenuButton.h"

#include "platform/mfc/Dc.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/WinApp.h"
#include "platform/user/Paint.h"
#include "toolkit/bars/PlxCustomizeButton.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxKeyboardManager.h"
#include "toolkit/core/PlxVisualManager.h"

IMPLEMENT_DYNCREATE(CPlxCustomizeMenuButton, CPlxToolbarMenuButton)

CPlxToolBar* CPlxCustomizeMenuButton::m_pWndToolBar = nullptr;
CMap<UINT, UINT, int, int> CPlxCustomizeMenuButton::m_mapPresentIDs(10);

namespace {

constexpr UINT kSystemCommandFirst = 0xF000;
constexpr UINT kSystemCommandLast = 0xF1EF;

BOOL IsSeparator(const CPlxToolbarButton* button) {
  return button != nullptr && (button->m_nStyle & TBBS_SEPARATOR) != 0;
}

CPlxPopupMenu* OutermostPopup(CWnd* pWndParent) {
  CPlxPopupMenu* popup =
      pWndParent != nullptr ? dynamic_cast<CPlxPopupMenu*>(pWndParent->GetParent()) : nullptr;
  while (popup != nullptr && popup->GetParentPopupMenu() != nullptr) popup = popup->GetParentPopupMenu();
  return popup;
}

}  // namespace

CPlxCustomizeMenuButton::CPlxCustomizeMenuButton() = default;

CPlxCustomizeMenuButton::CPlxCustomizeMenuButton(UINT uiID, HMENU hMenu, int iImage, LPCTSTR lpszText,
                                                 BOOL bUserButton)
    : CPlxToolbarMenuButton(uiID, hMenu, iImage, lpszText, bUserButton) {}

void CPlxCustomizeMenuButton::CopyFrom(const CPlxToolbarButton& src) {
  CPlxToolbarMenuButton::CopyFrom(src);
  if (const auto* other = dynamic_cast<const CPlxCustomizeMenuButton*>(&src)) {
    m_nIndex = other->m_nIndex;
    m_bChecked = other->m_bChecked;
    m_bExist = other->m_bExist;
    m_bAddSpr = other->m_bAddSpr;
  }
}

void CPlxCustomizeMenuButton::OnToolbarDestroyed(const CPlxToolBar* pBar) {
  if (pBar != nullptr && m_pWndToolBar == pBar) {
    m_pWndToolBar = nullptr;
    m_mapPresentIDs.RemoveAll();
  }
}

CPlxToolbarButton* CPlxCustomizeMenuButton::BoundButton() const {
  if (m_pWndToolBar == nullptr || !m_bExist || IsResetItem()) return nullptr;
  CPlxToolbarButton* button = m_pWndToolBar->GetButton(m_nIndex);
  // The chevron is never an item's button: an index run past the bar's buttons lands on it.
  if (button == nullptr || dynamic_cast<CCustomizeButton*>(button) != nullptr) return nullptr;
  return button;
}

void CPlxCustomizeMenuButton::SetItemIndex(int iIndex, BOOL bExist, BOOL bAddSpr) {
  m_nIndex = iIndex;
  m_bExist = bExist;
  m_bAddSpr = bAddSpr;
  const CPlxToolbarButton* button = BoundButton();
  m_bChecked = button != nullptr && button->m_bVisible;
}

CSize CPlxCustomizeMenuButton::OnCalculateSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) {
  UINT command = m_nID;
  if (const CPlxToolbarButton* button = BoundButton()) command = button->m_nID;

  CString label = m_strText;
  if (!label.IsEmpty()) {
    const int tab = label.Find('\t');
    if (tab >= 0) label = label.Left(tab);
  } else {
    CString resource;
    if (resource.LoadString(command)) {
      const int newline = resource.Find('\n');
      if (newline >= 0) label = resource.Mid(newline + 1);
    }
  }

  if (g_pKeyboardManager != nullptr && m_bMenuItem &&
      (command < kSystemCommandFirst || command > kSystemCommandLast)) {
    const int tab = label.Find('\t');
    if (tab >= 0) label = label.Left(tab);
    CFrameWnd* frame = g_pTopLevelFrame;
    if (frame == nullptr && m_pWndParent != nullptr && m_pWndParent->GetSafeHwnd() != nullptr)
      frame = dynamic_cast<CFrameWnd*>(m_pWndParent->GetTopLevelParent());
    if (frame == nullptr && m_pWndParent == nullptr) frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    CString shortcut;
    BOOL found =
        frame != nullptr && CPlxKeyboardManager::FindDefaultAccelerator(command, shortcut, frame, TRUE);
    if (!found && frame != nullptr && frame->GetActiveFrame() != nullptr)
      found = CPlxKeyboardManager::FindDefaultAccelerator(command, shortcut, frame->GetActiveFrame(), FALSE);
    if (found) label += "\t" + shortcut;
  }

  // The menu row's height; its own label handling must not see ours.
  m_strText = "";
  const CSize row = CPlxToolbarMenuButton::OnCalculateSize(pDC, sizeDefault, bHorz);
  m_strText = label;

  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  const int margin = manager->GetMenuImageMargin();
  TEXTMETRIC tm{};
  if (pDC != nullptr) pDC->GetTextMetrics(&tm);
  const int width =
      label.GetLength() * tm.tmAveCharWidth + 2 * CPlxToolBar::GetMenuButtonSize().cx + 3 * margin + 50;
  int height = row.cy + 2;
  if (!m_bMenuItem) height += margin;
  return CSize(width, height);
}

void CPlxCustomizeMenuButton::OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL,
                                     BOOL bCustomizeMode, BOOL bHighlight, BOOL, BOOL bGrayDisabledButtons) {
  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  m_nStyle = (m_bChecked && bHighlight) ? TBBS_CHECKED : 0;
  if (IsResetItem()) {
    m_bImage = FALSE;
    m_iImage = -1;
  }
  const int margin = manager->GetMenuImageMargin();
  const int imageWidth = CPlxToolBar::GetMenuImageSize().cx;
  const int bottom = rect.bottom - 1;

  if (bHighlight) {
    CRect highlight(rect.left + 2, rect.top, rect.right - 1, bottom);
    if (!manager->HasMenuImageStrip() && !IsResetItem())
      highlight.left = rect.left + 2 + 5 * margin + 2 * imageWidth;
    COLORREF clrText = (COLORREF)-1;
    manager->OnHighlightMenuItem(pDC, this, highlight, clrText);
  }

  const CRect cell(rect.left + margin + 1, rect.top, rect.left + 2 * margin + imageWidth + 3, bottom - 1);
  DrawCheckBox(pDC, cell, bHighlight);

  if (bHighlight && !(m_nStyle & TBBS_DISABLED) && !IsResetItem()) m_nStyle = 0;
  DrawMenuItem(pDC, CRect(cell.right, rect.top, rect.right, bottom), pImages, bCustomizeMode, bHighlight,
               bGrayDisabledButtons, TRUE);
}

BOOL CPlxCustomizeMenuButton::DrawCheckBox(CDC* pDC, const CRect& rectCheck, BOOL bHighlighted) {
  if (!m_bChecked) return FALSE;
  CRect cell = rectCheck;
  cell.top += 1;
  cell.right -= 1;
  cell.bottom -= 1;
  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  if (!manager->IsOwnerDrawnMenuCheck()) {
    const UINT saved = m_nStyle;
    m_nStyle |= TBBS_CHECKED;
    FillInterior(pDC, cell, bHighlighted);
    if (bHighlighted && manager->IsHighlightCheckedBorder()) m_nStyle |= TBBS_MARKED;
    manager->OnDrawButtonBorder(pDC, this, cell, PlxButtonPressed);
    m_nStyle = saved;
  }
  manager->OnDrawMenuCheck(pDC, this, cell, bHighlighted, FALSE);
  return TRUE;
}

void CPlxCustomizeMenuButton::RedrawToolbar() {
  if (m_pWndToolBar == nullptr || m_pWndToolBar->GetSafeHwnd() == nullptr) return;
  if (CWnd* parent = m_pWndToolBar->GetParent(); parent != nullptr && parent->GetSafeHwnd() != nullptr)
    parent->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
  m_pWndToolBar->InvalidateChevron();
}

BOOL CPlxCustomizeMenuButton::OnClickMenuItem() {
  auto* popupBar = dynamic_cast<CPlxPopupMenuBar*>(m_pWndParent);
  if (popupBar != nullptr) {
    const int self = popupBar->ButtonToIndex(this);
    if (self >= 0 && popupBar->GetHotIndex() != self) {
      popupBar->m_iHot = self;
      if (popupBar->GetSafeHwnd() != nullptr) popupBar->InvalidateRect(&m_rect);
    }
  }
  if (IsResetItem()) {
    if (m_pWndToolBar != nullptr && m_pWndToolBar->GetSafeHwnd() != nullptr)
      m_pWndToolBar->PostMessage(PLX_WM_RESETRPROMPT, 0, 0);
    return FALSE;
  }
  if (m_pWndToolBar == nullptr || m_pWndToolBar->GetSafeHwnd() == nullptr) return TRUE;
  if (m_bExist)
    ToggleButtonOnBar();
  else
    PutDefaultButtonBack();
  return TRUE;
}

void CPlxCustomizeMenuButton::ToggleButtonOnBar() {
  CPlxToolbarButton* button = BoundButton();
  if (button == nullptr) return;
  CPlxToolBar* bar = m_pWndToolBar;
  const BOOL visible = !button->m_bVisible;
  button->m_bVisible = visible;
  m_bChecked = visible;

  if (CPlxToolbarButton* next = bar->GetButton(m_nIndex + 1); IsSeparator(next)) next->m_bVisible = visible;
  CPlxToolbarButton* before = m_nIndex - 1 >= 1 ? bar->GetButton(m_nIndex - 1) : nullptr;
  if (!visible) {
    BOOL laterVisible = FALSE;
    for (int i = m_nIndex + 1; i < bar->GetCount() && !laterVisible; ++i) {
      const CPlxToolbarButton* later = bar->GetButton(i);
      laterVisible = later->m_bVisible && dynamic_cast<const CCustomizeButton*>(later) == nullptr;
    }
    if (!laterVisible && IsSeparator(before)) before->m_bVisible = FALSE;
  } else if (IsSeparator(before)) {
    const CPlxToolbarButton* twoBefore = bar->GetButton(m_nIndex - 2);
    if (twoBefore != nullptr && twoBefore->m_bVisible) before->m_bVisible = TRUE;
  }

  CPlxPopupMenu* outer = OutermostPopup(m_pWndParent);
  const BOOL shown = outer != nullptr && outer->GetSafeHwnd() != nullptr;
  if (shown) outer->ShowWindow(SW_HIDE);
  bar->AdjustLayout();
  RedrawToolbar();
  if (m_pWndParent != nullptr && m_pWndParent->GetSafeHwnd() != nullptr) m_pWndParent->Invalidate();
  if (shown) outer->ShowWindow(SW_SHOWNOACTIVATE);
}

void CPlxCustomizeMenuButton::PutDefaultButtonBack() {
  CPlxToolBar* bar = m_pWndToolBar;
  const CObList& defaults = bar->GetOrigButtons();
  POSITION pos = m_nIndex >= 0 ? defaults.FindIndex(m_nIndex) : nullptr;
  const auto* original =
      pos != nullptr ? static_cast<const CPlxToolbarButton*>(defaults.GetAt(pos)) : nullptr;
  if (original == nullptr) return;

  int index = bar->InsertButton(*original, m_nIndex);
  if (index >= 0) {
    // Items bound to buttons from here on now find them one place further.
    if (auto* popupBar = dynamic_cast<CPlxPopupMenuBar*>(m_pWndParent)) {
      for (int i = 0; i < popupBar->GetCount(); ++i) {
        auto* item = dynamic_cast<CPlxCustomizeMenuButton*>(popupBar->GetButton(i));
        if (item != nullptr && item != this && item->m_nIndex >= index && !item->IsResetItem() &&
            item->m_bExist)
          ++item->m_nIndex;
      }
    }
  } else {
    index = bar->InsertButton(*original);
    if (index < 0) return;
  }
  m_nIndex = index;
  bar->AdjustLayout();
  RedrawToolbar();
  m_bExist = TRUE;
  m_bChecked = TRUE;
  if (m_pWndParent != nullptr && m_pWndParent->GetSafeHwnd() != nullptr) m_pWndParent->Invalidate();
}
