#include "toolkit/bars/PlxMiniDockFrameWnd.h"

#include <algorithm>

#include "platform/mfc/Dc.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/WinThread.h"
#include "platform/user/Metrics.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxSizingControlBar.h"

IMPLEMENT_DYNCREATE(CPlxMiniDockFrameWnd, CMiniDockFrameWnd)

namespace {

constexpr DWORD kFourThickFrame = 0x200;  // the framework's mini-frame style we do not want
constexpr int kMaxPendingPaints = 256;    // a window that never validates cannot hold the tear-off

// Set while a frame moves itself back onto the work area: that move is not looked at again.
bool g_bRepositioning = false;  // UI thread only

// On top of the other windows without taking the focus: a frame that took it would never roll up.
void RaiseWithoutActivation(CWnd* pWnd) {
  pWnd->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool IsAutoRoll(int nState) {
  return nState == CPlxMiniDockFrameWnd::RollAuto || nState == CPlxMiniDockFrameWnd::RollAutoNarrow;
}

CPoint PointOf(LPARAM lParam) {
  return CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

}  // namespace

CPlxMiniDockFrameWnd::CPlxMiniDockFrameWnd() = default;

BOOL CPlxMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle) {
  if (!CMiniDockFrameWnd::Create(pParent, dwBarStyle)) return FALSE;
  ModifyStyle(kFourThickFrame, 0);
  ModifyStyleEx(0, WS_EX_TOOLWINDOW);
  return TRUE;
}

CPlxSizingControlBar* CPlxMiniDockFrameWnd::GetSizingBar() const {
  return dynamic_cast<CPlxSizingControlBar*>(GetBar());
}

// ---- pure rules ----

void CPlxMiniDockFrameWnd::NextRollState(int& nState, BOOL& bRolled) {
  switch (nState) {
    case RollNone:
      return;
    case RollAuto:  // the click holds the frame open
      nState = RollAutoSuspended;
      bRolled = FALSE;
      return;
    case RollAutoSuspended:
      nState = RollAuto;
      return;
    case RollAutoNarrow:
      nState = RollAutoNarrowSuspended;
      bRolled = FALSE;
      return;
    case RollAutoNarrowSuspended:
      nState = RollAutoNarrow;
      return;
    default:
      bRolled = !bRolled;
      return;
  }
}

CRect CPlxMiniDockFrameWnd::RollButtonRect(CSize sizeWindow, BOOL bThickFrame) {
  const CSize border = bThickFrame ? CSize(GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME))
                                   : CSize(GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME));
  const int right = sizeWindow.cx - border.cx;
  const int top = border.cy;
  const int cx = GetSystemMetrics(SM_CXSMSIZE);
  const int cy = GetSystemMetrics(SM_CYSMSIZE);
  return CRect(right - 2 * cx, top + 2, right - cx - 2, top + cy - 2);
}

int CPlxMiniDockFrameWnd::CaptionOnScreenTop(const CRect& rectWindow, const CRect& rectWork) {
  const int caption = GetSystemMetrics(SM_CYSMCAPTION);
  if (rectWindow.top < rectWork.top) return rectWork.top;
  if (rectWindow.top + caption > rectWork.bottom)
    return std::max<int>(rectWork.bottom - caption, rectWork.top);
  return rectWindow.top;
}

int CPlxMiniDockFrameWnd::RollGlyph(int nState, BOOL bRolled) {
  if (IsAutoRoll(nState)) return CPlxMenuGlyphs::IdArowRight;
  return bRolled ? CPlxMenuGlyphs::IdArowDown : CPlxMenuGlyphs::IdArowUp;
}

// ---- layout ----

void CPlxMiniDockFrameWnd::RecalcLayout(BOOL bNotify) {
  CPlxSizingControlBar* bar = GetSizingBar();
  if (bar == nullptr || m_hWnd == nullptr) {
    CMiniDockFrameWnd::RecalcLayout(bNotify);
    return;
  }
  if (!m_bFittingToBar) {
    // The frame is sized around the bar: its floating size, or the caption alone when rolled up.
    const CSize size = bar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH);
    CRect window, frame(0, 0, 0, 0);
    GetWindowRect(&window);
    ::AdjustWindowRectEx(&frame, GetStyle(), FALSE, GetExStyle());
    const CSize wanted(size.cx + frame.Width(), size.cy + frame.Height());
    if (wanted != window.Size()) {
      m_bFittingToBar = TRUE;
      SetWindowPos(nullptr, 0, 0, wanted.cx, wanted.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      m_bFittingToBar = FALSE;
    }
  }
  // Sized here around the sizing bar: the base frame's own fitting to its bar stays out.
  const bool sizing = m_bSizingToBar;
  m_bSizingToBar = true;
  CMiniDockFrameWnd::RecalcLayout(bNotify);
  m_bSizingToBar = sizing;
}

void CPlxMiniDockFrameWnd::CopyRollState() {
  if (CPlxSizingControlBar* bar = GetSizingBar(); bar != nullptr && bar->m_nRollState != 0) {
    m_nRollState = bar->m_nRollState;
    m_bRolled = bar->m_bRolled;
  }
}

CFrameWnd* CPlxMiniDockFrameWnd::ToolkitTopFrame() const {
  if (g_pTopLevelFrame != nullptr) return g_pTopLevelFrame;
  CFrameWnd* top = m_pDockSite;
  for (CFrameWnd* up = AfxGetParentFrame(top); up != nullptr; up = AfxGetParentFrame(up)) top = up;
  return top;
}

// ---- rolling ----

void CPlxMiniDockFrameWnd::OnRollButton() {
  CPlxSizingControlBar* bar = GetSizingBar();
  if (m_nRollState == 0 || bar == nullptr) return;
  const int before = bar->m_nRollState;
  NextRollState(bar->m_nRollState, bar->m_bRolled);
  if (IsAutoRoll(before) || before == RollAutoSuspended || before == RollAutoNarrowSuspended)
    SendMessage(WM_NCPAINT);
  m_bRolled = bar->m_bRolled;
  m_nRollState = bar->m_nRollState;
  DelayRecalcLayout();
}

void CPlxMiniDockFrameWnd::DrawRollButton() {
  if (m_nRollState == 0 || m_rectRollButton.IsRectEmpty()) return;
  CWindowDC dc(this);
  CRect rect = m_rectRollButton;
  dc.DrawFrameControl(rect, DFC_BUTTON, DFCS_BUTTONPUSH);
  if (CPlxSizingControlBar* bar = GetSizingBar())
    CPlxMenuGlyphs::Draw(&dc, RollGlyph(bar->m_nRollState, bar->m_bRolled), m_rectRollButton);
}

void CPlxMiniDockFrameWnd::UnrollForPointer() {
  CPlxSizingControlBar* bar = GetSizingBar();
  if (bar == nullptr || !IsAutoRoll(bar->m_nRollState)) return;
  CWnd* main = AfxGetMainWnd();
  if ((main != nullptr && !main->IsWindowEnabled()) || CPlxPopupMenu::m_pActiveTracked != nullptr ||
      CWnd::GetFocus() == nullptr)
    return;
  bar->m_bRolled = FALSE;
  m_bRolled = FALSE;
  RaiseWithoutActivation(this);
  DelayRecalcLayout();
  SetTimer(static_cast<UINT_PTR>(bar->GetDlgCtrlID()), kRollTimerPeriod, nullptr);
  m_nRollDelay = kRollDelayTicks;
}

void CPlxMiniDockFrameWnd::OnRollTimer() {
  CPlxSizingControlBar* bar = GetSizingBar();
  if (bar == nullptr) return;
  CPoint cursor;
  ::GetCursorPos(&cursor);
  CWnd* under = CWnd::WindowFromPoint(cursor);
  const bool popupOpen = CPlxPopupMenu::m_pActiveTracked != nullptr;
  if (under != nullptr && (under == this || IsChild(under))) {
    m_nRollDelay = kRollDelayTicks;
    if (!popupOpen && IsWindowEnabled() && CWnd::GetFocus() != nullptr) RaiseWithoutActivation(this);
    return;
  }
  CWnd* focus = CWnd::GetFocus();
  if ((focus != nullptr && (focus == this || IsChild(focus))) || bar->m_bKeepUnrolled ||
      CWnd::GetCapture() == bar || popupOpen) {
    m_nRollDelay = kRollDelayTicks;
    return;
  }
  if (!IsAutoRoll(bar->m_nRollState)) return;
  if (m_nRollDelay <= 0 && !bar->m_bRolled) {
    bar->m_bRolled = TRUE;
    m_bRolled = TRUE;
    DelayRecalcLayout();
    KillTimer(static_cast<UINT_PTR>(bar->GetDlgCtrlID()));
  }
  --m_nRollDelay;
}

void CPlxMiniDockFrameWnd::KeepCaptionOnScreen() {
  CPlxSizingControlBar* bar = GetSizingBar();
  if (bar == nullptr || !bar->IsFloating()) return;
  // One work area: the display has no monitors of its own to ask.
  CRect work;
  ::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  CRect window;
  GetWindowRect(&window);
  const int top = CaptionOnScreenTop(window, work);
  if (top == window.top) return;
  g_bRepositioning = true;
  SetWindowPos(nullptr, window.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  g_bRepositioning = false;
}

// ---- messages ----

LRESULT CPlxMiniDockFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCLBUTTONDOWN: {
      const CPoint point = PointOf(lParam);
      CRect window;
      GetWindowRect(&window);
      if (m_rectRollButton.PtInRect(CPoint(point.x - window.left, point.y - window.top))) {
        OnRollButton();
        return 0;  // a press on the button neither moves nor sizes the frame
      }
      const UINT hit = static_cast<UINT>(wParam);
      CFrameWnd* top = ToolkitTopFrame();
      if (hit == HTCAPTION) {
        if (top != nullptr && ::GetActiveWindow() != top->m_hWnd) top->SetActiveWindow();
        BringWindowToTop();
        CControlBar* bar = GetBar();
        if ((m_wndDockBar.GetBarStyle() & CBRS_FLOAT_MULTI) || bar == nullptr ||
            bar->m_pDockContext == nullptr)
          break;
        bar->m_pDockContext->StartDrag(point);
        return 0;
      }
      if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT) {
        if (top != nullptr && ::GetActiveWindow() != top->m_hWnd) top->SetActiveWindow();
        break;  // the frame sizes; WM_SIZE hands the size to a sizing bar
      }
      break;
    }
    case WM_NCRBUTTONDOWN: {
      if (CPlxToolBar::m_bCustomizeMode) return 0;
      CWnd* parent = GetParent();
      if (parent == nullptr) parent = m_pDockSite;
      if (dynamic_cast<CFrameWnd*>(parent) != nullptr && PLX_WM_TOOLBARMENU != 0)
        parent->SendMessage(PLX_WM_TOOLBARMENU, reinterpret_cast<WPARAM>(m_hWnd), lParam);
      return 0;
    }
    case WM_NCPAINT: {
      const LRESULT result = CMiniDockFrameWnd::WindowProc(message, wParam, lParam);
      DrawRollButton();
      return result;
    }
    case WM_NCACTIVATE: {
      const LRESULT result = CMiniDockFrameWnd::WindowProc(message, wParam, lParam);
      SendMessage(WM_NCPAINT);
      if (wParam != FALSE)
        if (CPlxSizingControlBar* bar = GetSizingBar())
          bar->RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
      return result;
    }
    case WM_SIZE: {
      CPlxSizingControlBar* bar = GetSizingBar();
      if (bar != nullptr && !m_bFittingToBar && !bar->m_bRolled && wParam != SIZE_MINIMIZED) {
        // A size the user gave the frame goes through the bar's own limits.
        bar->CalcDynamicLayout(static_cast<short>(LOWORD(lParam)), LM_HORZ);
        bar->CalcDynamicLayout(static_cast<short>(HIWORD(lParam)), LM_HORZ | LM_LENGTHY);
      }
      const LRESULT result = CMiniDockFrameWnd::WindowProc(message, wParam, lParam);
      m_nRollState = 0;
      m_rectRollButton.SetRectEmpty();
      if (bar != nullptr && bar->m_nRollState != 0) {
        CopyRollState();
        CRect window;
        GetWindowRect(&window);
        m_rectRollButton = RollButtonRect(window.Size(), (GetStyle() & WS_THICKFRAME) != 0);
        RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
      }
      return result;
    }
    case WM_WINDOWPOSCHANGING: {
      const LRESULT result = CMiniDockFrameWnd::WindowProc(message, wParam, lParam);
      CPlxSizingControlBar* bar = GetSizingBar();
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      if (bar == nullptr || bar->m_nRollState == 0 || pos == nullptr) return result;
      CopyRollState();
      if (!m_bRolled) return result;
      pos->cy = GetSystemMetrics(SM_CYSMCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME) - 1;
      if (m_nRollState == RollAutoNarrow) {
        if (m_rectRolled.left == -1 && m_rectRolled.right == -1) {
          GetWindowRect(&m_rectRolled);
          CString title;
          bar->GetWindowText(title);
          CWindowDC dc(this);
          m_rectRolled.right = m_rectRolled.left + dc.GetTextExtent(title).cx +
                               3 * GetSystemMetrics(SM_CXSMSIZE) + 2 * GetSystemMetrics(SM_CXFRAME) + 4;
        }
        pos->cx = m_rectRolled.Width();
      }
      return result;
    }
    case WM_NCMOUSEMOVE: {
      const LRESULT result = CMiniDockFrameWnd::WindowProc(message, wParam, lParam);
      UnrollForPointer();
      return result;
    }
    case WM_TIMER: {
      CPlxSizingControlBar* bar = GetSizingBar();
      if (bar == nullptr || wParam != static_cast<WPARAM>(bar->GetDlgCtrlID())) break;
      OnRollTimer();
      return 0;
    }
    case WM_CLOSE: {
      CPlxSizingControlBar* bar = GetSizingBar();
      if (bar != nullptr && !bar->CanBeClosed()) return 0;
      break;
    }
    case WM_WINDOWPOSCHANGED: {
      const LRESULT result = CMiniDockFrameWnd::WindowProc(message, wParam, lParam);
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (!g_bRepositioning && pos != nullptr && !(pos->flags & SWP_NOMOVE)) KeepCaptionOnScreen();
      return result;
    }
    default:
      break;
  }
  return CMiniDockFrameWnd::WindowProc(message, wParam, lParam);
}

// ---- tear-off tracking ----

BOOL CPlxMiniDockFrameWnd::TrackTearOff(CPlxPopupMenu* pMenu) {
  HWND hwndMenu = pMenu != nullptr ? pMenu->GetSafeHwnd() : nullptr;
  if (hwndMenu != nullptr) {
    pMenu->ShowWindow(SW_HIDE);
    CPlxToolbarMenuButton* parent = pMenu->GetParentButton();
    if (parent != nullptr && parent->m_pWndParent != nullptr &&
        parent->m_pWndParent->GetSafeHwnd() != nullptr) {
      CRect rect = parent->m_rect;
      rect.InflateRect(4, 4);
      parent->m_pWndParent->InvalidateRect(rect, TRUE);
      parent->m_pWndParent->UpdateWindow();
    }
  }
  CControlBar* bar = GetBar();
  const DWORD dockStyle =
      bar != nullptr && bar->m_pDockContext != nullptr ? bar->m_pDockContext->m_dwDockStyle : 0;
  if (bar != nullptr) bar->EnableDocking(0);

  // What the hidden menu uncovered is painted before the frame follows the mouse. A quit met here
  // or a capture some other window holds ends the tear-off as a cancel would.
  MSG msg;
  for (int i = 0; i < kMaxPendingPaints; ++i) {
    if (::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
      AfxPostQuitMessage(static_cast<int>(msg.wParam));
      return EndTearOff(pMenu, hwndMenu, bar, dockStyle, FALSE);
    }
    if (!::PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE)) break;
    if (!::GetMessage(&msg, nullptr, WM_PAINT, WM_PAINT)) break;
    ::DispatchMessage(&msg);
  }
  if (bar == nullptr || ::GetCapture() != nullptr) return EndTearOff(pMenu, hwndMenu, bar, dockStyle, FALSE);

  bar->SetCapture();
  CRect window;
  GetWindowRect(&window);
  const CSize spot(window.Width() / 2, 5);  // where the cursor holds the frame
  ::SetCursorPos(window.left + spot.cx, window.top + spot.cy);

  BOOL accepted = FALSE;
  while (::GetCapture() == bar->m_hWnd) {
    if (!::GetMessage(&msg, nullptr, 0, 0)) {
      AfxPostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_MOUSEMOVE) {
      CPoint at = PointOf(msg.lParam);
      ::ClientToScreen(msg.hwnd, &at);
      SetWindowPos(nullptr, at.x - spot.cx, at.y - spot.cy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      continue;
    }
    if (msg.message == WM_LBUTTONUP) {
      accepted = TRUE;
      break;
    }
    if (msg.message == WM_RBUTTONDOWN || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)) break;
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessage(&msg);
  }
  return EndTearOff(pMenu, hwndMenu, bar, dockStyle, accepted);
}

BOOL CPlxMiniDockFrameWnd::EndTearOff(CPlxPopupMenu* pMenu, HWND hwndMenu, CControlBar* pBar,
                                      DWORD dwDockStyle, BOOL bAccepted) {
  if (pBar != nullptr && ::GetCapture() == pBar->m_hWnd) ::ReleaseCapture();
  if (pBar != nullptr) pBar->EnableDocking(dwDockStyle);
  const bool menuAlive = hwndMenu != nullptr && ::IsWindow(hwndMenu);
  if (bAccepted) {
    if (menuAlive) {
      ::PostMessage(hwndMenu, WM_CLOSE, 0, 0);  // posted: the menu is still on the stack that tore it off
      if (CFrameWnd* top = ToolkitTopFrame()) top->SetFocus();
    }
    return TRUE;
  }
  if (menuAlive) ::ShowWindow(hwndMenu, SW_SHOWNOACTIVATE);
  (void)pMenu;
  if (!m_bTearOffBarIsNew) return FALSE;  // the frame's own bar stays where it is now
  CFrameWnd* site = m_pDockSite;
  if (pBar != nullptr) {
    CFrameWnd* owner = site != nullptr ? site : pBar->GetDockingFrame();
    for (CFrameWnd* up = AfxGetParentFrame(owner); up != nullptr; up = AfxGetParentFrame(up)) owner = up;
    if (CPlxToolkitFrame frame(g_pTopLevelFrame != nullptr ? g_pTopLevelFrame : owner); frame)
      frame.GetImpl()->RemoveTearOffToolbar(pBar);
    m_wndDockBar.RemoveControlBar(pBar);
    pBar->DestroyWindow();
    delete pBar;
  }
  // The frame held only the torn-off bar: it goes too (and deletes itself).
  DestroyWindow();
  if (site != nullptr) site->RecalcLayout();
  return FALSE;
}
