#include "toolkit/core/PlxFrameRouting.h"

#include "platform/base/Debug.h"
#include "platform/user/Accel.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxUserTools.h"

namespace plxframe {
namespace {

constexpr DWORD kEventMenuEnd = 0x0005;         // EVENT_SYSTEM_MENUEND
constexpr DWORD kEventMenuPopupStart = 0x0006;  // EVENT_SYSTEM_MENUPOPUPSTART
constexpr LONG kObjClient = -4;                 // OBJID_CLIENT

BOOL AccessibilityOn() {
  return g_plxGlobalData.pfnNotifyAccessibleEvent != nullptr;
}

BOOL PopupOpen() {
  CPlxPopupMenu* active = CPlxPopupMenu::m_pActiveTracked;
  return active != nullptr && active->GetSafeHwnd() != nullptr && ::IsWindow(active->GetSafeHwnd());
}

BOOL IsButtonMessage(UINT message, Kind kind) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      return TRUE;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      return kind == Kind::kInPlace;
    default:
      return FALSE;
  }
}

Routed Decided(BOOL result) {
  return Routed{true, result};
}

}  // namespace

Routed PreTranslate(CFrameWnd* pFrame, CPlxFrameCore& impl, MSG* pMsg, Kind kind) {
  switch (pMsg->message) {
    case WM_CONTEXTMENU:
    case WM_SYSKEYDOWN:
      if (kind != Kind::kMain) break;
      // Alt counts as pressed alone until another key comes while it is held.
      if (pMsg->message == WM_SYSKEYDOWN) {
        if (pMsg->wParam != VK_MENU)
          impl.m_bAltWithKey = TRUE;
        else if ((pMsg->lParam & (1 << 30)) == 0)
          impl.m_bAltWithKey = FALSE;
      }
      if (PopupOpen() && pMsg->wParam == VK_MENU) {
        CPlxPopupMenu::m_pActiveTracked->SendMessage(WM_CLOSE);
        return Decided(TRUE);
      }
      if (impl.ProcessKeyboard(static_cast<int>(pMsg->wParam))) return Decided(TRUE);
      break;

    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP: {
      const CPoint pt(GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam));
      if (impl.ProcessMouseClick(pMsg->message, pt, pMsg->hwnd)) return Decided(TRUE);
      break;
    }

    case WM_KEYDOWN: {
      if (CPlxFrameCore::IsHelpKey(pMsg)) break;
      if (kind == Kind::kInPlace) {
        if (impl.ProcessKeyboard(static_cast<int>(pMsg->wParam))) return Decided(TRUE);
        break;
      }
      BOOL processAccel = TRUE;
      if (impl.ProcessKeyboard(static_cast<int>(pMsg->wParam), &processAccel)) return Decided(TRUE);
      // A control on a bar has the focus: it gets the key untranslated.
      if (!processAccel) return Decided(FALSE);
      break;
    }

    case WM_SYSKEYUP: {
      if (kind != Kind::kMain) break;
      CPlxMenuBar* menuBar = impl.m_pMenuBar;
      if (menuBar != nullptr && menuBar->GetSafeHwnd() != nullptr &&
          (pMsg->wParam == VK_MENU || pMsg->wParam == VK_F10)) {
        // The release of an Alt that went with a key (Alt+letter opened a menu) leaves the focus,
        // and so the menu just opened, where they are.
        const BOOL altWithKey = pMsg->wParam == VK_MENU && impl.m_bAltWithKey;
        if (pMsg->wParam == VK_MENU) impl.m_bAltWithKey = FALSE;
        if (altWithKey) return Decided(TRUE);
        // Alt or F10 alone moves the focus to the menu bar and back.
        if (CWnd::GetFocus() == menuBar)
          pFrame->SetFocus();
        else if ((pMsg->lParam & (1 << 29)) == 0)
          menuBar->SetFocus();
        return Decided(TRUE);
      }
      if (PopupOpen()) return Decided(TRUE);
      break;
    }

    case WM_MOUSEMOVE: {
      CPoint pt(GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam));
      ::ClientToScreen(pMsg->hwnd, &pt);
      if (impl.ProcessMouseMove(pt)) return Decided(TRUE);
      break;
    }

    default:
      if (!IsButtonMessage(pMsg->message, kind)) break;
      if (!::IsWindow(pMsg->hwnd)) return Decided(TRUE);
      CPoint pt(GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam));
      ::ClientToScreen(pMsg->hwnd, &pt);
      if (impl.ProcessMouseClick(pMsg->message, pt, pMsg->hwnd)) return Decided(TRUE);
      // The popup's closing may have taken the window with it.
      if (!::IsWindow(pMsg->hwnd)) return Decided(TRUE);
      if (pMsg->message == WM_RBUTTONUP && !CPlxToolBar::m_bCustomizeMode &&
          dynamic_cast<CDockBar*>(CWnd::FromHandlePermanent(pMsg->hwnd)) != nullptr)
        pFrame->SendMessage(PLX_WM_TOOLBARMENU, reinterpret_cast<WPARAM>(pFrame->GetSafeHwnd()),
                            MAKELPARAM(pt.x, pt.y));
      break;
  }
  return Routed{};
}

BOOL OnCommand(CPlxFrameCore& impl, WPARAM wParam, BOOL& bCallBase) {
  bCallBase = FALSE;
  if (HIWORD(wParam) == 1) {
    const UINT id = LOWORD(wParam);
    CPlxToolBar::m_commandUsage.AddCmd(id);
    if (impl.ProcessKeyboard(VK_ESCAPE)) return TRUE;
    if (g_pUserToolsManager != nullptr && g_pUserToolsManager->InvokeTool(id)) return TRUE;
  }
  if (CPlxToolBar::m_bCustomizeMode) return FALSE;
  bCallBase = TRUE;
  return FALSE;
}

BOOL MenuCharHandled(CPlxFrameCore& impl, UINT nChar) {
  return impl.OnMenuChar(nChar);
}

BOOL ShowPopupMenu(CFrameWnd* pFrame, CPlxFrameCore& impl, CPlxPopupMenu* pMenu, BOOL& bAskHook) {
  bAskHook = FALSE;
  if (!impl.OnShowPopupMenu(pMenu, pFrame)) return FALSE;
  bAskHook = pMenu == nullptr || !pMenu->IsShown();
  return TRUE;
}

void NotifyPopupStart(CPlxPopupMenu* pMenu) {
  if (AccessibilityOn() && pMenu != nullptr && pMenu->GetSafeHwnd() != nullptr)
    g_plxGlobalData.NotifyAccessibleEvent(kEventMenuPopupStart, pMenu->GetSafeHwnd(), kObjClient, 0);
}

void ExportForAccessibility(CPlxPopupMenu* pMenu) {
  if (!AccessibilityOn() || pMenu == nullptr) return;
  pMenu->FreeExportedMenu();
  pMenu->ExportToMenu();
}

void ClosePopupMenu(CPlxPopupMenu* pMenu, Kind kind) {
  if (kind == Kind::kMain && AccessibilityOn() && pMenu != nullptr) {
    if (pMenu->GetSafeHwnd() != nullptr)
      g_plxGlobalData.NotifyAccessibleEvent(kEventMenuEnd, pMenu->GetSafeHwnd(), kObjClient, 0);
    pMenu->FreeExportedMenu();
  }
  if (CPlxPopupMenu::m_pActiveTracked == pMenu) CPlxPopupMenu::m_pActiveTracked = nullptr;
}

LRESULT CreateToolbar(CPlxFrameCore& impl, LPARAM lParam) {
  return reinterpret_cast<LRESULT>(impl.CreateNewToolBar(reinterpret_cast<LPCTSTR>(lParam)));
}

LRESULT DeleteToolbar(CPlxFrameCore& impl, LPARAM lParam) {
  return impl.DeleteToolBar(reinterpret_cast<CPlxToolBar*>(lParam));
}

void OnActivate(CFrameWnd* pFrame, CPlxFrameCore& impl, UINT nState) {
  if (nState == WA_INACTIVE) {
    if (!CPlxToolBar::m_bCustomizeMode) impl.DeactivateMenu();
  } else if (nState == WA_CLICKACTIVE) {
    pFrame->UpdateWindow();
  }
}

void DestroyAccelerators(CFrameWnd* pFrame) {
  if (pFrame->m_hAccelTable == nullptr) return;
  ::DestroyAcceleratorTable(pFrame->m_hAccelTable);
  pFrame->m_hAccelTable = nullptr;
}

void LogHelpRequest(DWORD_PTR dwData, UINT nCmd) {
  TRACE("help requested: context %lu, command %u (no help viewer)\n", static_cast<unsigned long>(dwData),
        nCmd);
}

}  // namespace plxframe
