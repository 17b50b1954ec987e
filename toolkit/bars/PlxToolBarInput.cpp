// Toolbar input outside customize mode: pressing and releasing buttons, hot tracking, drop-down
// menu navigation, mnemonics, focus, tooltips, status texts, command routing and the update of
// button states from the command handlers.
#include "toolkit/bars/PlxToolBar.h"

#include <cstdlib>
#include <cstring>

#include "platform/comctl/AfxControls.h"
#include "platform/comctl/Tooltip.h"
#include "platform/kernel/Thread.h"
#include "platform/mfc/CmdUI.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/user/Accel.h"
#include "platform/user/Hooks.h"
#include "platform/user/Input.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxTrackMouse.h"
#include "toolkit/core/PlxGlobalData.h"

namespace {

constexpr UINT_PTR kAccessibilityTimer = 20;
constexpr UINT kToolTipId = 1;

bool IsSystemRange(UINT cmd) {
  return (cmd >= 0xF000 && cmd <= 0xF1EF) || cmd > 0xFEFF;
}

// The framework's command-UI bound to one button of one bar.
class CPlxToolCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn) override {
    m_bEnableChanged = TRUE;
    auto* bar = static_cast<CPlxToolBar*>(m_pOther);
    const UINT style = bar->GetButtonStyle(m_nIndex);
    bar->SetButtonStyle(m_nIndex, bOn ? (style & ~TBBS_DISABLED) : (style | TBBS_DISABLED));
  }
  void SetCheck(int nCheck) override {
    if (nCheck > 2) nCheck = 1;
    auto* bar = static_cast<CPlxToolBar*>(m_pOther);
    const UINT old = bar->GetButtonStyle(m_nIndex) & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
    UINT style = (old & 0xFF) | TBBS_CHECKBOX | (old & ~0xFFu);
    if (nCheck == 1) style |= TBBS_CHECKED;
    if (nCheck == 2) style |= TBBS_INDETERMINATE;
    bar->SetButtonStyle(m_nIndex, style);
  }
  void SetRadio(BOOL bOn) override {
    SetCheck(bOn ? 1 : 0);
    if (CPlxToolbarButton* button = static_cast<CPlxToolBar*>(m_pOther)->GetButton(m_nIndex))
      button->SetRadio();
  }
  void SetText(LPCTSTR lpszText) override {
    auto* bar = static_cast<CPlxToolBar*>(m_pOther);
    if (bar->m_bIgnoreSetText || lpszText == nullptr) return;
    CPlxToolbarButton* button = bar->GetButton(m_nIndex);
    if (button == nullptr) return;
    CString text(lpszText);
    if (int tab = text.Find('\t'); tab >= 0) text = text.Left(tab);
    CString current = button->m_strText;
    if (int tab = current.Find('\t'); tab >= 0) current = current.Left(tab);
    if (text != current) {
      button->m_strText = text;
      bar->AdjustLayout();
    }
  }
};

// The shortcut of a command in a frame's accelerator table, as "Ctrl+O".
BOOL FindShortcut(UINT uiCmd, CFrameWnd* pFrame, CString& text) {
  if (pFrame == nullptr || pFrame->m_hAccelTable == nullptr) return FALSE;
  const int count = ::CopyAcceleratorTable(pFrame->m_hAccelTable, nullptr, 0);
  if (count <= 0) return FALSE;
  std::vector<ACCEL> table(static_cast<size_t>(count));
  ::CopyAcceleratorTable(pFrame->m_hAccelTable, table.data(), count);
  for (const ACCEL& a : table) {
    if (a.cmd != uiCmd) continue;
    text.Empty();
    if (a.fVirt & FCONTROL) text += "Ctrl+";
    if (a.fVirt & FSHIFT) text += "Shift+";
    if (a.fVirt & FALT) text += "Alt+";
    if ((a.fVirt & FVIRTKEY) && a.key >= VK_F1 && a.key <= VK_F12) {
      CString f;
      f.Format("F%d", a.key - VK_F1 + 1);
      text += f;
    } else {
      text += static_cast<char>(a.key);
    }
    return TRUE;
  }
  return FALSE;
}

LRESULT CALLBACK ToolbarMouseHook(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode != HC_ACTION) return ::CallNextHookEx(CPlxToolBar::m_hMouseHook, nCode, wParam, lParam);
  if (wParam == WM_MOUSEMOVE) {
    const auto* info = reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam);
    CPoint pt = info->pt;
    auto* bar = dynamic_cast<CPlxToolBar*>(CWnd::FromHandlePermanent(::WindowFromPoint(pt)));
    if (bar != nullptr) {
      bar->ScreenToClient(&pt);
      bar->HandleMouseMove(0, pt);
    }
    CPlxToolBar* last = CPlxToolBar::m_pLastHookToolbar;
    if (bar != last && last != nullptr && last->GetSafeHwnd() != nullptr) {
      last->m_bMouseTracked = FALSE;
      last->m_ptLastMouse = CPoint(-1, -1);
      last->OnChangeHot(-1);
      last->RedrawWindow();
    }
    CPlxToolBar::m_pLastHookToolbar = bar;
  }
  return 0;
}

}  // namespace

int CPlxToolBar::HitTest(CPoint point) {
  int i = 0;
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr; ++i) {
    auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
    if (button == nullptr) break;
    if (button->m_bIsHidden || !button->m_rect.PtInRect(point)) continue;
    return (button->m_nStyle & TBBS_SEPARATOR) ? -1 : i;
  }
  return -1;
}

void CPlxToolBar::SendIdleMessage() const {
  CWnd* owner = GetBarOwner();
  if (owner != nullptr) owner->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
}

void CPlxToolBar::ShowCommandMessageString(UINT uiCmdId) {
  if (m_hMouseHook != nullptr) return;
  if (uiCmdId == (UINT)-1)
    uiCmdId = AFX_IDS_IDLEMESSAGE;
  else if (uiCmdId >= 0xF000 && uiCmdId <= 0xF1EF)
    uiCmdId = 0xEF00 + ((uiCmdId - 0xF000) >> 4);
  else if (uiCmdId > 0xFEFF)
    uiCmdId = 0xEF1F;
  CWnd* owner = GetBarOwner();
  if (owner != nullptr) owner->SendMessage(WM_SETMESSAGESTRING, uiCmdId);
}

void CPlxToolBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (OnEditLButtonDown(nFlags, point)) return;
  const int i = HitTest(point);
  if (i < 0) {
    m_iPressed = -1;
    CControlBar::OnLButtonDown(nFlags, point);
    return;
  }
  m_iPressed = i;
  UpdateButton(i);
  CPlxToolbarButton* button = GetButton(i);
  if (button == nullptr) return;
  if ((button->m_nStyle & TBBS_DISABLED) && dynamic_cast<CPlxDropDownToolbarButton*>(button) == nullptr) {
    m_iPressed = -1;
    return;
  }
  button->m_nStyle |= TBBS_PRESSED;
  InvalidateButton(i);
  UpdateWindow();
  ShowCommandMessageString(button->m_nID);
  if (button->OnClick(this, FALSE)) {
    if (ButtonToIndex(button) >= 0) button->m_nStyle &= ~TBBS_PRESSED;
    m_iPressed = -1;
    m_iHot = -1;
    OnChangeHot(-1);
    RedrawWindow();
    return;
  }
  m_pPrevCaptureWnd = SetCapture();
}

void CPlxToolBar::OnMouseMove(UINT nFlags, CPoint point) {
  if (OnEditMouseMove(point)) return;
  HandleMouseMove(nFlags, point);
}

void CPlxToolBar::HandleMouseMove(UINT, CPoint point) {
  if (point == m_ptLastMouse) return;
  m_ptLastMouse = point;
  const int oldHot = m_iHot;
  int hot = HitTest(point);
  if (hot < 0 && ::GetFocus() == m_hWnd) return;
  if (CPlxToolbarButton* b = GetButton(hot)) {
    if ((b->m_nStyle & TBBS_SEPARATOR) || ((b->m_nStyle & TBBS_DISABLED) && !AllowHighlightDisabled()))
      hot = -1;
  }
  if (!m_bMouseTracked) {
    m_bMouseTracked = TRUE;
    TRACKMOUSEEVENT tme{sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, 0};
    TrackMouseLeave(&tme);
  }
  m_iHot = hot;
  UpdateToolTip(point);
  if (m_iHot == oldHot) return;
  if (m_iPressed >= 0) {
    const UINT style = GetButtonStyle(m_iPressed);
    SetButtonStyle(m_iPressed, m_iHot == m_iPressed ? (style | TBBS_PRESSED) : (style & ~TBBS_PRESSED));
  }
  BOOL repainted = FALSE;
  if (oldHot >= 0 && (m_bMenuMode || m_iPressed == -1 || oldHot == m_iPressed)) {
    InvalidateButton(oldHot);
    repainted = TRUE;
  }
  if (m_iHot >= 0 && (m_bMenuMode || m_iPressed == -1 || m_iHot == m_iPressed)) {
    InvalidateButton(m_iHot);
    repainted = TRUE;
    if (g_plxGlobalData.bIsRemoteSession == FALSE && m_iHot != m_iDelayMenuButton &&
        g_plxGlobalData.pfnNotifyAccessibleEvent) {
      m_iDelayMenuButton = m_iHot;
      KillTimer(kAccessibilityTimer);
      auto* menu = dynamic_cast<CPlxToolbarMenuButton*>(GetButton(m_iHot));
      SetTimer(kAccessibilityTimer, menu != nullptr && menu->m_bMenuItem ? 1300 : 500, nullptr);
    }
  }
  CPlxToolbarButton* hotButton = GetButton(m_iHot);
  if (hotButton != nullptr && (m_bMenuMode || m_iPressed == -1 || m_iHot == m_iPressed))
    ShowCommandMessageString(hotButton->m_nID);
  else if ((m_iPressed == -1 || (m_bMenuMode && hotButton == nullptr)) && m_hMouseHook == nullptr)
    SendIdleMessage();
  OnChangeHot(m_iHot);
  if (repainted) UpdateWindow();
}

void CPlxToolBar::OnLButtonUp(UINT nFlags, CPoint point) {
  if (OnEditLButtonUp(point)) return;
  if (m_iPressed < 0) {
    Default();
    m_ptLastMouse = CPoint(-1, -1);
    HandleMouseMove(nFlags, point);
    return;
  }
  ::ReleaseCapture();
  if (m_pPrevCaptureWnd != nullptr && m_pPrevCaptureWnd->GetSafeHwnd() != nullptr)
    m_pPrevCaptureWnd->SetCapture();
  m_pPrevCaptureWnd = nullptr;
  const int pressed = m_iPressed;
  m_iHot = HitTest(point);
  CPlxToolbarButton* button = GetButton(pressed);
  if (button == nullptr) {
    m_iPressed = -1;
    return;
  }
  UINT newStyle = button->m_nStyle & ~TBBS_PRESSED;
  UINT cmd = 0;
  const BOOL over = m_iHot == pressed;
  if (over) {
    UpdateButton(pressed);
    if (!(button->m_nStyle & TBBS_DISABLED)) {
      cmd = button->m_nID;
      if (button->m_nStyle & TBBS_CHECKBOX) {
        if (newStyle & TBBS_INDETERMINATE) newStyle &= ~TBBS_INDETERMINATE;
        newStyle ^= TBBS_CHECKED;
      }
    }
  }
  if (m_hMouseHook == nullptr) SendIdleMessage();
  m_iPressed = -1;
  m_iHot = -1;
  RestoreFocus();
  HWND self = m_hWnd;
  // Released away from a drop-down button before its delay: the press ends there, no bar opens.
  if (!over)
    if (auto* dropDown = dynamic_cast<CPlxDropDownToolbarButton*>(button)) dropDown->OnCancelMode();
  if (over && !OnSendCommand(button) && cmd != 0 && cmd != (UINT)-1) {
    button->m_nStyle = newStyle;
    InvalidateButton(pressed);
    UpdateWindow();
    m_commandUsage.AddCmd(cmd);
    if (!button->OnClickUp()) {
      CWnd* owner = GetBarOwner();
      if (owner != nullptr) owner->SendMessage(WM_COMMAND, cmd, 0);
    }
  }
  // The command may have rebuilt or destroyed the bar.
  if (!::IsWindow(self) || pressed >= GetCount()) return;
  SetButtonStyle(pressed, newStyle);
  UpdateButton(pressed);
  InvalidateButton(pressed);
  UpdateWindow();
  m_ptLastMouse = CPoint(-1, -1);
  HandleMouseMove(nFlags, point);
}

void CPlxToolBar::OnMouseLeave() {
  if (m_hMouseHook != nullptr) return;
  if (m_bMenuMode && !m_bCustomizeMode && GetDroppedDownMenu() != nullptr) return;
  m_ptLastMouse = CPoint(-1, -1);
  m_bMouseTracked = FALSE;
  HideToolTip();
  if (m_iHot >= 0 && ::GetFocus() != m_hWnd) {
    const int old = m_iHot;
    m_iHot = -1;
    OnChangeHot(-1);
    CPlxToolbarButton* button = InvalidateButton(old);
    if (button == nullptr || !button->IsDroppedDown()) SendIdleMessage();
  }
}

void CPlxToolBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  const int i = HitTest(point);
  CPlxToolbarButton* button = GetButton(i);
  if (button == nullptr) {
    CControlBar::OnLButtonDblClk(nFlags, point);
    return;
  }
  button->OnDblClick(this);
  if (dynamic_cast<CPlxToolbarSystemMenuButton*>(button) == nullptr) OnLButtonDown(nFlags, point);
}

void CPlxToolBar::OnCancelMode() {
  Default();
  if (m_pDragButton != nullptr || m_bStretching) {
    m_pDragButton = nullptr;
    m_bStretching = FALSE;
    m_rectStretch.SetRectEmpty();
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    if (m_pPrevCaptureWnd != nullptr && m_pPrevCaptureWnd->GetSafeHwnd() != nullptr)
      m_pPrevCaptureWnd->SetCapture();
    m_pPrevCaptureWnd = nullptr;
  }
  if (m_iPressed >= 0 || m_iHot >= 0) {
    if (m_iPressed >= 0) {
      if (::GetCapture() == m_hWnd) {
        ::ReleaseCapture();
        if (m_pPrevCaptureWnd != nullptr && m_pPrevCaptureWnd->GetSafeHwnd() != nullptr)
          m_pPrevCaptureWnd->SetCapture();
        m_pPrevCaptureWnd = nullptr;
      }
      if (CPlxToolbarButton* b = GetButton(m_iPressed)) b->m_nStyle &= ~TBBS_PRESSED;
    }
    m_iPressed = m_iHot = -1;
    OnChangeHot(-1);
  }
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;)
    static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos))->OnCancelMode();
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
}

static int ResolveAnimation() {
  int type = CPlxPopupMenu::m_AnimationType;
  if (type == CPlxPopupMenu::SystemDefaultAnimation) {
    if (!g_plxGlobalData.bMenuAnimation)
      type = CPlxPopupMenu::NoAnimation;
    else
      type = g_plxGlobalData.bMenuFadeEffect ? CPlxPopupMenu::Fade : CPlxPopupMenu::Slide;
  }
  return type;
}

void CPlxToolBar::OnChangeHot(int iHot) {
  if (iHot == m_iDropped && iHot >= 0) iHot = -1;
  m_iDropped = iHot;
  CPlxToolbarMenuButton* open = GetDroppedDownMenu();
  if (open == nullptr && !m_bCustomizeMode) return;
  if (iHot < 0 || iHot >= GetCount()) {
    m_iDropped = -1;
    if (m_bCustomizeMode && !m_bAltDragActive && open != nullptr) open->OnCancelMode();
    return;
  }
  auto* next = dynamic_cast<CPlxToolbarMenuButton*>(GetButton(iHot));
  if (next != open) {
    const int resolved = ResolveAnimation();
    BOOL closed = FALSE;
    if (open != nullptr) {
      const int hot = m_iHot;
      if (!m_bCustomizeMode) m_iHot = -1;
      open->OnCancelMode();
      m_iHot = hot;
      closed = TRUE;
    }
    if (next != nullptr &&
        (!m_bCustomizeMode || dynamic_cast<CPlxToolbarSystemMenuButton*>(next) == nullptr)) {
      CPlxPopupMenu::m_AnimationType = closed ? CPlxPopupMenu::NoAnimation : resolved;
      next->OnClick(this, TRUE);
    }
    CPlxPopupMenu::m_AnimationType = resolved;
  } else if (m_bCustomizeMode && open != nullptr) {
    open->OnCancelMode();
  }
  if (m_bCustomizeMode && m_iDropIndex < 0) {
    const int oldHot = m_iHot;
    m_iSelected = m_iDropped;
    InvalidateButton(oldHot);
    if (CPlxToolbarButton* sel = GetButton(m_iSelected); sel != nullptr && (sel->m_nStyle & TBBS_SEPARATOR))
      m_iSelected = -1;
    InvalidateButton(m_iSelected);
  }
  if (m_iDropped >= 0 && m_iDropped != m_iHot) {
    InvalidateButton(m_iHot);
    m_iHot = m_iDropped;
    InvalidateButton(m_iHot);
    UpdateWindow();
  }
}

BOOL CPlxToolBar::PrevMenu() {
  return FALSE;  // menus come with the menu buttons; no bar here holds an open one
}

BOOL CPlxToolBar::NextMenu() {
  int index = -1;
  if (GetDroppedDownMenu(&index) == nullptr) return FALSE;
  const int count = GetCount();
  for (int step = 1; step < count; ++step) {
    const int i = (index + step) % count;
    auto* menu = dynamic_cast<CPlxToolbarMenuButton*>(GetButton(i));
    if (menu == nullptr || (menu->m_nStyle & TBBS_DISABLED) || menu->m_bIsHidden) continue;
    const int resolved = ResolveAnimation();
    CPlxPopupMenu::m_AnimationType = CPlxPopupMenu::NoAnimation;
    OnChangeHot(i);
    CPlxPopupMenu::m_AnimationType = resolved;
    return TRUE;
  }
  return TRUE;
}

BOOL CPlxToolBar::SetHot(CPlxToolbarButton* pButton) {
  if (pButton == nullptr) {
    m_iDropped = -1;
    return TRUE;
  }
  const int i = ButtonToIndex(pButton);
  if (i < 0) return FALSE;
  if (i != m_iDropped) OnChangeHot(i);
  return TRUE;
}

BOOL CPlxToolBar::DropDownMenu(CPlxToolbarButton* pButton) {
  auto* menu = dynamic_cast<CPlxToolbarMenuButton*>(pButton);
  if (menu == nullptr || !menu->OnClick(this, TRUE)) return FALSE;
  SetHot(pButton);
  return TRUE;
}

BOOL CPlxToolBar::ProcessCommand(CPlxToolbarButton* pButton) {
  if (pButton == nullptr || pButton->m_nID == 0 || pButton->m_nID == (UINT)-1) return FALSE;
  PlayMenuSound();
  m_commandUsage.AddCmd(pButton->m_nID);
  CWnd* owner = GetBarOwner();
  if (owner != nullptr) owner->PostMessage(WM_COMMAND, pButton->m_nID, 0);
  return TRUE;
}

BOOL CPlxToolBar::TranslateChar(UINT nChar) {
  BYTE state[256] = {};
  ::GetKeyboardState(state);
  WORD chars[2] = {};
  if (::ToAsciiEx(nChar, ::MapVirtualKey(nChar, 0), state, chars, 1, nullptr) <= 0) return FALSE;
  CPlxToolbarButton* button = nullptr;
  if (!m_mapMnemonics.Lookup(static_cast<UINT>(toupper(chars[0] & 0xFF)), button)) return FALSE;
  const int resolved = ResolveAnimation();
  CPlxPopupMenu::m_AnimationType = CPlxPopupMenu::NoAnimation;
  const BOOL dropped = DropDownMenu(button);
  CPlxPopupMenu::m_AnimationType = resolved;
  if (!dropped) ProcessCommand(button);
  return TRUE;
}

void CPlxToolBar::OnSetFocus(CWnd* pOldWnd) {
  Default();
  if (pOldWnd == nullptr) return;
  if (dynamic_cast<CPlxToolBar*>(pOldWnd) != nullptr) return;
  if (dynamic_cast<CPlxToolBar*>(pOldWnd->GetParent()) != nullptr) return;
  m_hwndPrevFocus = pOldWnd->GetSafeHwnd();
}

BOOL CPlxToolBar::RestoreFocus() {
  if (m_hwndPrevFocus != nullptr && ::IsWindow(m_hwndPrevFocus)) ::SetFocus(m_hwndPrevFocus);
  m_hwndPrevFocus = nullptr;
  return TRUE;
}

void CPlxToolBar::Deactivate() {
  if (m_iHot >= 0 && m_iHot < GetCount()) {
    const int old = m_iHot;
    m_iDropped = m_iHot = -1;
    InvalidateButton(old);
    SendIdleMessage();
  }
  RestoreFocus();
}

void CPlxToolBar::OnKillFocus(CWnd* pNewWnd) {
  Default();
  if (m_bCustomizeMode) return;
  if (auto* popup = dynamic_cast<CPlxPopupMenu*>(pNewWnd);
      popup != nullptr && popup->m_pParentBtn != nullptr && popup->m_pParentBtn->m_pWndParent == this)
    return;
  Deactivate();
}

BOOL CPlxToolBar::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST) RelayToolTip(pMsg);
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
    if (m_pDragButton != nullptr || m_bStretching) {
      OnCancelMode();
      return TRUE;
    }
    if (GetDroppedDownMenu() == nullptr) {
      Deactivate();
      RestoreFocus();
      return TRUE;
    }
  }
  if (pMsg->message == PLX_WM_RESETRPROMPT && pMsg->hwnd == m_hWnd) {
    OnPromptReset(0, 0);
    return TRUE;
  }
  return CControlBar::PreTranslateMessage(pMsg);
}

LRESULT CPlxToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // A control's notification goes to the button hosting it, which decides what the owner gets;
  // outside customize mode a button's control does not talk to the owner directly.
  if (message == WM_COMMAND && lParam != 0 && !(m_bCustomizeMode && !m_bLocked)) {
    const HWND control = reinterpret_cast<HWND>(lParam);
    for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
      auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
      if (button->GetHwnd() != nullptr && button->IsOwnerOf(control)) {
        OnCommand(wParam, lParam);
        return 0;
      }
    }
  }
  return CControlBar::WindowProc(message, wParam, lParam);
}

BOOL CPlxToolBar::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (m_bCustomizeMode && !m_bLocked) return CControlBar::OnCommand(wParam, lParam);
  HWND control = reinterpret_cast<HWND>(lParam);
  int code = HIWORD(wParam);
  BOOL accelerator = FALSE;
  if (control == nullptr) {
    if (wParam == IDCANCEL) {
      RestoreFocus();
      return TRUE;
    }
    if (wParam != IDOK) return FALSE;
    control = ::GetFocus();
    if (control == nullptr) return FALSE;
    code = 0;
    accelerator = TRUE;
  }
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
    auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
    HWND own = button->GetHwnd();
    if (own == nullptr || (own != control && !::IsChild(own, control))) continue;
    if (accelerator || button->NotifyCommand(code)) {
      CWnd* owner = GetBarOwner();
      if (owner != nullptr) owner->PostMessage(WM_COMMAND, MAKEWPARAM(button->m_nID, code), lParam);
    }
    return TRUE;
  }
  return TRUE;
}

HBRUSH CPlxToolBar::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  HBRUSH brush = CControlBar::OnCtlColor(pDC, pWnd, nCtlColor);
  // The bar's face suits labels, not fields: a control button's edit or combo keeps the window's
  // colours (its own brush) outside customize mode too.
  if ((!m_bCustomizeMode || m_bLocked) && pWnd != nullptr &&
      (nCtlColor == CTLCOLOR_EDIT || nCtlColor == CTLCOLOR_LISTBOX)) {
    for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
      auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
      if (button->IsOwnerOf(pWnd->m_hWnd)) {
        HBRUSH own = button->OnCtlColor(pDC, nCtlColor);
        return own != nullptr ? own : brush;
      }
    }
  }
  if (!m_bCustomizeMode || m_bLocked || pWnd == nullptr) return brush;
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
    auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
    if (button->IsOwnerOf(pWnd->m_hWnd)) {
      HBRUSH own = button->OnCtlColor(pDC, nCtlColor);
      return own != nullptr ? own : brush;
    }
  }
  return brush;
}

LRESULT CPlxToolBar::OnHelpHitTest(WPARAM, LPARAM lParam) {
  OnCancelMode();
  const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
  CPlxToolbarButton* button = GetButton(HitTest(point));
  if (button == nullptr) {
    ::MessageBeep(static_cast<UINT>(-1));
    return -1;
  }
  if (!button->OnContextHelp(this)) {
    if (button->m_nID != 0) {
      SetMouseHook(FALSE);
      return 0x10000 + button->m_nID;  // the framework's help id of a command
    }
  }
  return -1;
}

void CPlxToolBar::SetMouseHook(BOOL bSet) {
  if (bSet) {
    if (m_hMouseHook == nullptr)
      m_hMouseHook = ::SetWindowsHookEx(WH_MOUSE, ToolbarMouseHook, nullptr, ::GetCurrentThreadId());
    return;
  }
  if (m_hMouseHook != nullptr) ::UnhookWindowsHookEx(m_hMouseHook);
  m_hMouseHook = nullptr;
  m_pLastHookToolbar = nullptr;
  CObList& bars = GetAllToolbars();
  for (POSITION pos = bars.GetHeadPosition(); pos != nullptr;) {
    auto* bar = static_cast<CPlxToolBar*>(bars.GetNext(pos));
    if (bar->GetSafeHwnd() != nullptr && CWnd::FromHandlePermanent(bar->m_hWnd) == bar) bar->OnCancelMode();
  }
}

BOOL CPlxToolBar::OnSetDefaultButtonText(CPlxToolbarButton* pButton) {
  if (pButton == nullptr || pButton->m_nID == 0 || pButton->m_nID == (UINT)-1) return FALSE;
  CString str;
  if (!str.LoadString(pButton->m_nID)) return FALSE;
  const int nl = str.Find('\n');
  if (nl < 0) return FALSE;
  CString tip = str.Mid(nl + 1);
  if (int next = tip.Find('\n'); next >= 0) tip = tip.Left(next);
  pButton->m_strText = tip;
  return TRUE;
}

BOOL CPlxToolBar::GetFrameToolTipText(CPlxToolbarButton* pButton, CString& strTTText) const {
  return PlxGetToolkitFrame(this).GetToolbarToolTipText(pButton, strTTText);
}

int CPlxToolBar::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const {
  if (!m_bShowTooltips) return -1;
  if (CPlxPopupMenu::GetActiveMenu() != nullptr && CPlxPopupMenu::GetActiveMenu()->GetMenuBar() != this)
    return -1;
  auto* self = const_cast<CPlxToolBar*>(this);
  CPlxToolbarButton* button = self->GetButton(self->HitTest(point));
  if (button == nullptr || (button->GetHwnd() != nullptr && button->IsWindowVisible())) return -1;
  const UINT cmd = button->m_nID;
  const int answer = cmd == (UINT)-1 ? 0 : static_cast<int>(cmd);
  if (pTI == nullptr) return answer;
  CString text;
  if (!GetFrameToolTipText(button, text)) {
    if (cmd == 0 || cmd == (UINT)-1 || button->m_bUserImage) {
      text = button->m_strText;
      text.Remove('&');
    } else {
      CString str;
      if (str.LoadString(cmd)) {
        const int nl = str.Find('\n');
        if (nl >= 0) {
          text = str.Mid(nl + 1);
          if (int next = text.Find('\n'); next >= 0) text = text.Left(next);
        }
      }
    }
  }
  if (text.IsEmpty()) return -1;
  if (cmd != 0 && cmd != (UINT)-1 && m_bShowShortcutKeys) {
    if (CFrameWnd* frame = AfxGetParentFrame(this)) {
      CString shortcut;
      if (FindShortcut(cmd, frame, shortcut) || FindShortcut(cmd, frame->GetActiveFrame(), shortcut))
        text += " (" + shortcut + ")";
    }
  }
  pTI->lpszText = static_cast<LPSTR>(calloc(static_cast<size_t>(text.GetLength()) + 1, 1));
  memcpy(pTI->lpszText, static_cast<LPCTSTR>(text), text.GetLength());
  pTI->rect = button->m_rect;
  pTI->uId = answer;
  pTI->hwnd = m_hWnd;
  return answer;
}

void CPlxToolBar::RelayToolTip(MSG*) {}

void CPlxToolBar::HideToolTip() {
  if (m_pToolTip == nullptr || m_pToolTip->GetSafeHwnd() == nullptr) return;
  TOOLINFOA ti{};
  ti.cbSize = sizeof(ti);
  ti.hwnd = m_hWnd;
  ti.uId = kToolTipId;
  m_pToolTip->SendMessage(TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
  m_nToolTipId = -1;
}

void CPlxToolBar::UpdateToolTip(CPoint point) {
  // The tip shows at once under the hot button and goes when the pointer leaves it.
  TOOLINFOA info{};
  info.cbSize = sizeof(info);
  const int id = m_iHot >= 0 ? OnToolHitTest(point, &info) : -1;
  const int index = id >= 0 ? m_iHot : -1;
  if (index == m_nToolTipId) {
    free(info.lpszText);
    return;
  }
  if (m_pToolTip == nullptr && index >= 0) {
    m_pToolTip = new CToolTipCtrl;
    if (!m_pToolTip->Create(this, TTS_ALWAYSTIP | TTS_NOPREFIX)) {
      delete m_pToolTip;
      m_pToolTip = nullptr;
    } else {
      m_pToolTip->SendMessage(WM_SETFONT,
                              reinterpret_cast<WPARAM>(g_plxGlobalData.fontTooltip.GetSafeHandle()), FALSE);
      TOOLINFOA ti{};
      ti.cbSize = sizeof(ti);
      ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
      ti.hwnd = m_hWnd;
      ti.uId = kToolTipId;
      ti.lpszText = const_cast<LPSTR>("");
      m_pToolTip->SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti));
    }
  }
  m_nToolTipId = index;
  if (m_pToolTip == nullptr) {
    free(info.lpszText);
    return;
  }
  TOOLINFOA ti{};
  ti.cbSize = sizeof(ti);
  ti.hwnd = m_hWnd;
  ti.uId = kToolTipId;
  if (index < 0) {
    m_pToolTip->SendMessage(TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
    return;
  }
  ti.lpszText = info.lpszText;
  m_pToolTip->SendMessage(TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&ti));
  free(info.lpszText);
  CPoint at(info.rect.left, info.rect.bottom + 2);
  ClientToScreen(&at);
  m_pToolTip->SendMessage(TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
  m_pToolTip->SendMessage(TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
}

void CPlxToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  CPlxToolCmdUI state;
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(GetCount());
  BOOL disable = bDisableIfNoHndler;
  int i = 0;
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr; ++i) {
    auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
    if (button == nullptr) return;
    if ((button->m_nStyle & TBBS_SEPARATOR) || button->m_nID == 0 || IsSystemRange(button->m_nID)) continue;
    state.m_nIndex = static_cast<UINT>(i);
    state.m_nID = button->m_nID;
    state.DoUpdate(reinterpret_cast<CCmdTarget*>(pTarget), disable);
  }
  UpdateDialogControls(reinterpret_cast<CCmdTarget*>(pTarget), disable && m_bDisableControlsNoHandler);
}

void CPlxToolBar::UpdateButton(int nIndex) {
  CWnd* target = GetCommandTarget();
  CPlxToolbarButton* button = GetButton(nIndex);
  if (target == nullptr || button == nullptr || IsSystemRange(button->m_nID)) return;
  CPlxToolCmdUI state;
  state.m_pOther = this;
  state.m_nIndex = static_cast<UINT>(nIndex);
  state.m_nIndexMax = static_cast<UINT>(GetCount());
  state.m_nID = button->m_nID;
  // Only a frame greys commands nobody handles. A popup menu is a frame window itself, but the
  // commands go to its message window: a dialog's popup keeps its items enabled, or pressing
  // one would grey it and the click would run nothing.
  BOOL disableIfNoHandler = dynamic_cast<CFrameWnd*>(target) != nullptr;
  if (auto* popup = dynamic_cast<CPlxPopupMenu*>(target); popup != nullptr && popup->m_pMessageWnd != nullptr)
    disableIfNoHandler = dynamic_cast<CFrameWnd*>(popup->m_pMessageWnd) != nullptr;
  state.DoUpdate(target, disableIfNoHandler);
}

BOOL CPlxToolBar::IsCommandRarelyUsed(UINT uiCmd) {
  if (m_bCustomizeMode || uiCmd == 0 || uiCmd == (UINT)-1) return FALSE;
  if ((uiCmd >= 0xE110 && uiCmd <= 0xE11F) || (uiCmd >= 0xF000 && uiCmd <= 0xF1EF) || uiCmd >= 0xFF00 ||
      (uiCmd >= 0xE210 && uiCmd <= 0xE21F))
    return FALSE;
  if (m_lstBasicCommands.IsEmpty()) return FALSE;
  if (uiCmd == 0x4278 || uiCmd == 0x4279 || uiCmd == 0x427C) return FALSE;
  if (m_lstBasicCommands.Find(uiCmd) != nullptr) return FALSE;
  return !m_commandUsage.IsFrequentlyUsed(uiCmd);
}
