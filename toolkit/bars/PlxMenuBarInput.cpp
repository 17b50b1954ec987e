// The menu bar's layout across its dock row, its keys and mouse, and the drag hook that snaps a
// dragged bar to the work area.
#include "platform/kernel/Thread.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/MdiFrameWnd.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/user/Metrics.h"
#include "platform/user/Timer.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxMenuBar.h"
#include "toolkit/bars/PlxMenuWindowButtons.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/core/PlxGlobalData.h"

namespace {

constexpr UINT_PTR kShowAllTimer = 1;
constexpr UINT kShowAllDelay = 5000;  // ms the pointer rests on a dropped item before it expands
constexpr UINT kMenuBarTitle = 16006;

BOOL IsChildButton(const CPlxToolbarButton* button) {
  return dynamic_cast<const CPlxToolbarMenuButtonsButton*>(button) != nullptr ||
         dynamic_cast<const CPlxToolbarSystemMenuButton*>(button) != nullptr;
}

}  // namespace

BEGIN_MESSAGE_MAP(CPlxMenuBar, CPlxToolBar)
ON_WM_CREATE()
ON_WM_LBUTTONDOWN()
ON_WM_SETFOCUS()
ON_WM_WINDOWPOSCHANGED()
ON_WM_TIMER()
ON_WM_LBUTTONDBLCLK()
ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

int CPlxMenuBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CPlxToolBar::OnCreate(lpCreateStruct) == -1) return -1;
  // Inside a toolkit frame the frame core takes the bar as its menu bar (and hands it the menu).
  if (CPlxToolkitFrame frame(dynamic_cast<CFrameWnd*>(m_pParentWnd)); frame && frame.GetImpl() != nullptr)
    frame.GetImpl()->SetMenuBar(this);
  CString title;
  if (!title.LoadString(kMenuBarTitle)) title = "Menu Bar";
  SetWindowText(title);
  m_dwStyle |= CBRS_HIDE_INPLACE;
  CalcSysButtonSize();
  return 0;
}

void CPlxMenuBar::CalcSysButtonSize() {
  CWindowDC screen(nullptr);
  CDC dc;
  dc.CreateCompatibleDC(&screen);
  const int side = ::GetSystemMetrics(SM_CXMENUSIZE);
  CRect rect(0, 0, side, side);
  dc.DrawFrameControl(rect, DFC_CAPTION, DFCS_ADJUSTRECT);
  m_sizeSysButton = rect.Size();
}

void CPlxMenuBar::OnSettingChange(UINT uFlags, LPCTSTR lpszSection) {
  CPlxToolBar::OnSettingChange(uFlags, lpszSection);
  CalcSysButtonSize();
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
}

// ---------------------------------------------------------------------------------------------
// Layout

int CPlxMenuBar::CalcMaxButtonHeight() {
  m_bHasImages = FALSE;
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr && !m_bHasImages;) {
    auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
    if (button == nullptr || IsChildButton(button) || !button->m_bImage) continue;
    m_bHasImages = (button->m_bUserImage ? button->m_iUserImage : button->m_iImage) >= 0;
  }
  return GetRowHeight();
}

int CPlxMenuBar::GetRowHeight() const {
  int height = 0;
  if (m_bHasImages)
    height = GetButtonSize().cy;
  else
    height = (m_sizeMenuButton.cy > 0 ? m_sizeMenuButton.cy : m_sizeButton.cy) - 2;
  const int text = IsHorizontal() ? g_plxGlobalData.nTextHeightHorz : g_plxGlobalData.nTextHeightVert;
  return std::max(height, text);
}

int CPlxMenuBar::GetColumnWidth() const {
  if (m_bHasImages) return GetButtonSize().cx;
  return (m_sizeMenuButton.cx > 0 ? m_sizeMenuButton.cx : m_sizeButton.cx) - 2;
}

CSize CPlxMenuBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  if (GetCount() == 0) return GetButtonSize();
  return CalcLayout((bStretch ? LM_STRETCH : 0) | (bHorz ? LM_HORZ : 0), -1);
}

CSize CPlxMenuBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
  return CalcLayout(dwMode, nLength);
}

CSize CPlxMenuBar::CalcLayout(DWORD dwMode, int nLength) {
  OnChangeHot(-1);
  CalcMaxButtonHeight();
  if (m_pDockContext != nullptr && m_pDockContext->m_bDragging) SetDragHook(TRUE);
  if (dwMode == (LM_HORZ | LM_MRUWIDTH) ||
      (IsFloating() && m_pDockContext != nullptr && !m_pDockContext->m_bDragging))
    return CPlxToolBar::CalcLayout(dwMode, nLength);

  const BOOL vert = (dwMode & LM_VERTDOCK) != 0 || (dwMode & LM_HORZ) == 0;
  CRect reference(0, 0, 0, 0);
  if (m_pDockBar != nullptr && !m_pDockBar->m_rectLayout.IsRectEmpty()) {
    reference = m_pDockBar->m_rectLayout;
  } else if (CWnd* owner = GetOwnerOrParent(); owner != nullptr && owner->GetSafeHwnd() != nullptr) {
    owner->GetClientRect(reference);
  }
  CRect border(0, 0, 0, 0);
  CalcInsideRect(border, (dwMode & LM_HORZ) != 0);
  const int bw = border.Width(), bh = border.Height();  // negative: what the borders take
  CSize answer;
  if (!vert) {
    WrapButtons(reference.Width() + bw - 1, 0x7FFF);
    const CSize content = CalcSize(FALSE);
    answer = CSize(reference.Width() - bw / 2, content.cy - bh);
  } else {
    const CSize content = CalcSize(TRUE);
    answer = CSize(content.cx - bw, reference.Height() - bh / 2);
  }
  RebuildMnemonics();
  return answer;
}

void CPlxMenuBar::AdjustLocations() {
  CPlxToolBar::AdjustLocations();
  if (!m_bMaximizedChild || m_nSysButtons <= 0 || GetSafeHwnd() == nullptr) return;
  const BOOL horz = IsHorizontal();
  CRect client;
  GetClientRect(client);
  if (!horz) {
    CRect border(0, 0, 0, 0);
    CalcInsideRect(border, FALSE);
    client.bottom += border.Height();
  }
  CRect rect(client.BottomRight() - m_sizeSysButton, m_sizeSysButton);
  const int chevron = m_pChevron != nullptr ? 1 : 0;
  for (int n = 0; n < m_nSysButtons; ++n) {
    CPlxToolbarButton* button = GetButton(GetCount() - 1 - chevron - n);
    if (button == nullptr) break;
    if (button->m_rect != rect) {
      button->m_rect = rect;
      button->OnMove();
    }
    button->Show(TRUE);
    if (horz)
      rect.OffsetRect(-(m_sizeSysButton.cx + 1), 0);
    else
      rect.OffsetRect(0, -(m_sizeSysButton.cy + 1));
  }
}

int CPlxMenuBar::FindDropIndex(const CPoint point, CRect& rectDrag) const {
  int index = CPlxToolBar::FindDropIndex(point, rectDrag);
  if (!m_bMaximizedChild || index < 0) return index;
  if (index == 0) return -1;  // nothing goes in front of the child's icon
  const int ordinary = GetCount() - m_nSysButtons - (m_pChevron != nullptr ? 1 : 0);
  if (index > ordinary) {
    index = ordinary;
    if (m_nSysButtons > 0) {
      const CPlxToolbarButton* last = GetButton(ordinary - 1);
      if (last != nullptr) {
        const CPoint edge(last->m_rect.right, last->m_rect.CenterPoint().y);
        CPlxToolBar::FindDropIndex(edge, rectDrag);
      }
    }
  }
  return index;
}

int CPlxMenuBar::GetFloatPopupDirection(CPlxToolbarButton* pButton) {
  const int index = ButtonToIndex(pButton);
  if (index < 0 || !IsFloating()) return -1;
  BOOL anyWrap = FALSE;
  int firstRowEnd = -1;
  for (int i = 0; i < GetCount(); ++i) {
    if (GetButton(i)->m_bWrap) {
      anyWrap = TRUE;
      if (firstRowEnd < 0) firstRowEnd = i;
    }
  }
  if (!anyWrap) return -1;
  if (pButton->m_bWrap) return CPlxPopupMenu::DROP_DIRECTION_RIGHT;
  if (index == 0 || GetButton(index - 1)->m_bWrap) return CPlxPopupMenu::DROP_DIRECTION_LEFT;
  return index < firstRowEnd ? CPlxPopupMenu::DROP_DIRECTION_TOP : CPlxPopupMenu::DROP_DIRECTION_BOTTOM;
}

int CPlxMenuBar::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const {
  auto* self = const_cast<CPlxMenuBar*>(this);
  CPlxToolbarButton* button = self->GetButton(self->HitTest(point));
  if (button == nullptr || dynamic_cast<CPlxToolbarMenuButton*>(button) != nullptr) return -1;
  return CPlxToolBar::OnToolHitTest(point, pTI);
}

// ---------------------------------------------------------------------------------------------
// Keyboard and focus

BOOL CPlxMenuBar::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message != WM_KEYDOWN) return CPlxToolBar::PreTranslateMessage(pMsg);
  if (GetDroppedDownMenu() != nullptr) return CControlBar::PreTranslateMessage(pMsg);
  const int n = GetOrdinaryCount();
  if (m_iHot < 0 || m_iHot >= n) return CPlxToolBar::PreTranslateMessage(pMsg);
  UINT key = static_cast<UINT>(pMsg->wParam);
  if (GetExStyle() & WS_EX_LAYOUTRTL) {
    if (key == VK_LEFT)
      key = VK_RIGHT;
    else if (key == VK_RIGHT)
      key = VK_LEFT;
  }
  switch (key) {
    case VK_RETURN:
      if (DropDownMenu(GetButton(m_iHot)))
        SelectFirstItem();
      else
        ProcessCommand(GetButton(m_iHot));
      return TRUE;
    case VK_DOWN:
      if (DropDownMenu(GetButton(m_iHot))) SelectFirstItem();
      return TRUE;
    case VK_ESCAPE:
      Deactivate();
      RestoreFocus();
      m_bShowAllCommands = FALSE;
      return CPlxToolBar::PreTranslateMessage(pMsg);
    case VK_LEFT:
    case VK_RIGHT: {
      const int old = m_iHot;
      m_iHot = key == VK_LEFT ? (old == 0 ? n - 1 : old - 1) : (old == n - 1 ? 0 : old + 1);
      InvalidateButton(old);
      InvalidateButton(m_iHot);
      UpdateWindow();
      return CPlxToolBar::PreTranslateMessage(pMsg);
    }
    default:
      if (TranslateChar(key)) return TRUE;
      return CPlxToolBar::PreTranslateMessage(pMsg);
  }
}

void CPlxMenuBar::SelectFirstItem() {
  // A menu opened from the keyboard starts on its first item, so Enter runs it at once.
  CPlxToolbarMenuButton* dropped = GetDroppedDownMenu();
  CPlxPopupMenu* popup = dropped != nullptr ? dropped->GetPopupMenu() : nullptr;
  if (popup != nullptr && popup->GetSafeHwnd() != nullptr) popup->SendMessage(WM_KEYDOWN, VK_HOME, 0);
}

void CPlxMenuBar::OnSetFocus(CWnd* pOldWnd) {
  CPlxToolBar::OnSetFocus(pOldWnd);
  if (GetDroppedDownMenu() != nullptr) return;
  if (CWnd* owner = GetOwnerOrParent(); owner != nullptr && owner->GetSafeHwnd() != nullptr)
    owner->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
  const int first = m_bMaximizedChild ? 1 : 0;
  if (m_iHot < 0 && first < GetCount()) {
    m_iHot = first;
    InvalidateButton(m_iHot);
    UpdateWindow();
  }
}

// ---------------------------------------------------------------------------------------------
// Mouse

void CPlxMenuBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (GetDroppedDownMenu() != nullptr && HitTest(point) < 0) return;
  CPlxToolBar::OnLButtonDown(nFlags, point);
}

void CPlxMenuBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  CPlxToolBar::OnLButtonDblClk(nFlags, point);
  auto* item = dynamic_cast<CPlxToolbarMenuButton*>(GetButton(HitTest(point)));
  if (item == nullptr || dynamic_cast<CPlxToolbarSystemMenuButton*>(item) != nullptr) return;
  if (m_bShowAllCommands || !m_bRecentlyUsedMenus || !m_commandUsage.HasEnoughStatistics() ||
      m_bCustomizeMode)
    return;
  m_bShowAllCommands = TRUE;
  item->OnCancelMode();
  if (item->OnClick(this, FALSE)) {
    OnChangeHot(ButtonToIndex(item));
    UpdateWindow();
  }
}

void CPlxMenuBar::OnChangeHot(int iHot) {
  CPlxToolBar::OnChangeHot(iHot);
  if (GetSafeHwnd() == nullptr) return;
  KillTimer(kShowAllTimer);
  if (GetDroppedDownMenu() != nullptr)
    SetTimer(kShowAllTimer, kShowAllDelay, nullptr);
  else
    m_bShowAllCommands = FALSE;
}

void CPlxMenuBar::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kShowAllTimer) {
    CPlxToolbarMenuButton* dropped = GetDroppedDownMenu();
    CPlxPopupMenu* popup = dropped != nullptr ? dropped->GetPopupMenu() : nullptr;
    if (popup != nullptr) {
      CPoint cursor;
      ::GetCursorPos(&cursor);
      ScreenToClient(&cursor);
      if (dropped->m_rect.PtInRect(cursor) && popup->GetMenuBar() != nullptr &&
          !popup->GetMenuBar()->AreAllCommandsShown())
        popup->ShowAllCommands();
    }
    KillTimer(kShowAllTimer);
  }
  CControlBar::OnTimer(nIDEvent);
}

void CPlxMenuBar::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
  CPlxToolBar::OnWindowPosChanged(lpwndpos);
  SetDragHook(FALSE);
}

// ---------------------------------------------------------------------------------------------
// The drag hook

void CPlxMenuBar::SetDragHook(BOOL bSet) {
  if (!bSet) {
    if (m_hDragHook != nullptr && m_pHookedMenuBar == this) {
      ::UnhookWindowsHookEx(m_hDragHook);
      m_hDragHook = nullptr;
      m_pHookedMenuBar = nullptr;
    }
    return;
  }
  if (m_hDragHook == nullptr) {
    m_hDragHook = ::SetWindowsHookEx(WH_MOUSE, DragHookProc, nullptr, ::GetCurrentThreadId());
    if (m_hDragHook == nullptr) return;
  }
  m_pHookedMenuBar = this;
}

void CPlxMenuBar::OnDragRelease() {
  CPlxMenuBar* bar = m_pHookedMenuBar;
  if (bar == nullptr || bar->m_pDockContext == nullptr || !bar->m_pDockContext->m_bDragging) return;
  // One work area here: the display's, whichever corner the bar is at.
  CRect work;
  ::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  bar->m_pDockContext->m_rectDragVert.top = work.top;
  bar->m_pDockContext->m_rectDragHorz.left = work.left;
  ::UnhookWindowsHookEx(m_hDragHook);
  m_hDragHook = nullptr;
  m_pHookedMenuBar = nullptr;
}

LRESULT CALLBACK CPlxMenuBar::DragHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
  const HHOOK hook = m_hDragHook;
  if (nCode == HC_ACTION && (wParam == WM_LBUTTONUP || wParam == WM_NCLBUTTONUP)) OnDragRelease();
  return ::CallNextHookEx(hook, nCode, wParam, lParam);
}
