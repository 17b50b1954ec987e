#include "toolkit/core/PlxDialog.h"

#include <strings.h>

#include "platform/mfc/ControlBar.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/WndMessageMap.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxUserTools.h"
#include "toolkit/customize/PlxPropertySheet.h"

IMPLEMENT_DYNAMIC(CPlxDialog, CDialog)
IMPLEMENT_DYNCREATE(CPlxPropertyPage, CPropertyPage)

HHOOK CPlxDialogCore::s_hPopupHook = nullptr;
CPlxDialogCore* CPlxDialogCore::s_pHookOwner = nullptr;

namespace {

BOOL IsLiveWindow(const CWnd* pWnd) {
  return pWnd != nullptr && ::IsWindow(pWnd->GetSafeHwnd());
}

// The popup of the running tracking, when its window still exists.
CPlxPopupMenu* TrackedPopup() {
  CPlxPopupMenu* popup = CPlxPopupMenu::m_pActiveTracked;
  return IsLiveWindow(popup) ? popup : nullptr;
}

BOOL IsThreadMainWindow(const CWnd* pWnd) {
  CWinThread* thread = AfxGetThread();
  const CWnd* main = thread != nullptr ? thread->GetMainWnd() : AfxGetMainWnd();
  return main != nullptr && main == pWnd;
}

}  // namespace

// ---- the dialog core ----

CPlxDialogCore::~CPlxDialogCore() {
  ReleaseHookOwner();
}

void CPlxDialogCore::SetActiveMenu(CPlxPopupMenu* pMenu) {
  CPlxPopupMenu::m_pActiveTracked = pMenu;
  if (pMenu != nullptr) {
    if (s_hPopupHook == nullptr) {
      s_hPopupHook = ::SetWindowsHookEx(WH_MOUSE, PopupMouseHook, nullptr, ::GetCurrentThreadId());
      if (s_hPopupHook == nullptr) TRACE("CPlxDialogCore: the popup's mouse hook could not be installed\n");
    }
    s_pHookOwner = this;
    return;
  }
  if (s_hPopupHook != nullptr) {
    ::UnhookWindowsHookEx(s_hPopupHook);
    s_hPopupHook = nullptr;
  }
  s_pHookOwner = nullptr;
}

CPlxPopupMenu* CPlxDialogCore::GetActiveMenu() const {
  return s_pHookOwner == this ? TrackedPopup() : nullptr;
}

void CPlxDialogCore::ReleaseHookOwner() {
  if (s_pHookOwner == this) s_pHookOwner = nullptr;
}

void CPlxDialogCore::CloseActiveMenu() {
  // A popup registered here, or one that reports to the owner, would call the owner back while it
  // closes; the leaf closes its parents with it.
  CPlxPopupMenu* popup = TrackedPopup();
  if (popup != nullptr && (s_pHookOwner == this || popup->m_pMessageWnd == m_pOwnerWnd)) {
    popup->m_bClosing = TRUE;
    popup->SendMessage(WM_CLOSE);
  }
  if (s_pHookOwner == this) SetActiveMenu(nullptr);
}

LRESULT CALLBACK CPlxDialogCore::PopupMouseHook(int nCode, WPARAM wParam, LPARAM lParam) {
  // The next call needs the handle even when the click below removes the hook.
  HHOOK hook = s_hPopupHook;
  if (nCode == HC_ACTION && s_pHookOwner != nullptr) {
    switch (wParam) {
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_NCLBUTTONDOWN:
      case WM_NCRBUTTONDOWN:
      case WM_NCMBUTTONDOWN: {
        CPlxDialogCore* core = s_pHookOwner;
        const auto* info = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        const CPoint point = info != nullptr ? CPoint(info->pt) : CPoint(0, 0);
        CRect rect;
        if (IsLiveWindow(core->m_pOwnerWnd)) {
          core->m_pOwnerWnd->GetWindowRect(rect);
          if (!rect.PtInRect(point)) core->HandleOutsideClick(point);
        }
        break;
      }
      default:
        break;
    }
  }
  return ::CallNextHookEx(hook, nCode, wParam, lParam);
}

BOOL CPlxDialogCore::HandleOutsideClick(CPoint point) {
  CPlxPopupMenu* popup = TrackedPopup();
  if (CPlxToolBar::m_bCustomizeMode || popup == nullptr) return FALSE;

  switch (popup->MenuHitTest(point)) {
    case CPlxPopupMenu::HT_SHADOW_RIGHT:
    case CPlxPopupMenu::HT_SHADOW_BOTTOM:
      popup->SendMessage(WM_CLOSE);
      if (IsLiveWindow(m_pOwnerWnd)) m_pOwnerWnd->SetFocus();
      return TRUE;
    case CPlxPopupMenu::HT_OUTSIDE:
      break;
    default:
      return FALSE;
  }

  CPlxToolbarMenuButton* item = popup->GetParentButton();
  auto* bar = item != nullptr ? dynamic_cast<CPlxToolBar*>(item->m_pWndParent) : nullptr;
  if (IsLiveWindow(bar)) {
    CPoint ptBar = point;
    bar->ScreenToClient(&ptBar);
    auto* menuBar = dynamic_cast<CPlxPopupMenuBar*>(bar);
    if (item->m_rect.PtInRect(ptBar)) {
      // The item that opened the popup: the click closes it and goes no further, so the item
      // does not open it again at once.
      if (menuBar == nullptr && !popup->InCommand()) popup->SendMessage(WM_CLOSE);
      return TRUE;
    }
    if (menuBar != nullptr) {
      menuBar->CloseDelayedSubMenu();
      if (auto* parentPopup = dynamic_cast<CPlxPopupMenu*>(menuBar->GetParent()); IsLiveWindow(parentPopup)) {
        switch (parentPopup->MenuHitTest(point)) {
          case CPlxPopupMenu::HT_SHADOW_RIGHT:
          case CPlxPopupMenu::HT_SHADOW_BOTTOM:
            parentPopup->SendMessage(WM_CLOSE);
            if (IsLiveWindow(m_pOwnerWnd)) m_pOwnerWnd->SetFocus();
            return TRUE;
          case CPlxPopupMenu::HT_OUTSIDE:
            break;
          default:
            return FALSE;
        }
      }
    }
  }

  if (!popup->InCommand()) {
    popup->SendMessage(WM_CLOSE);
    CWnd* focus = CWnd::GetFocus();
    if (focus != nullptr && focus->IsKindOf(RUNTIME_CLASS(CPlxToolBar)) && IsLiveWindow(m_pOwnerWnd))
      m_pOwnerWnd->SetFocus();
  }
  return FALSE;  // the click goes on to its target
}

BOOL CPlxDialogCore::ProcessMouseMove(CPoint ptScreen) {
  CPlxPopupMenu* popup = TrackedPopup();
  if (CPlxToolBar::m_bCustomizeMode || popup == nullptr) return FALSE;
  CRect rect;
  popup->GetWindowRect(rect);
  if (rect.PtInRect(ptScreen)) return FALSE;
  if (CPlxPopupMenuBar* bar = popup->GetMenuBar();
      bar != nullptr && bar->FindMenuBarAtPoint(ptScreen) != nullptr)
    return FALSE;
  return TRUE;
}

BOOL CPlxDialogCore::FilterMessage(MSG* pMsg) {
  CPlxPopupMenu* popup = TrackedPopup();
  switch (pMsg->message) {
    case WM_KEYDOWN:
      if (popup == nullptr) return FALSE;
      popup->SendMessage(WM_KEYDOWN, pMsg->wParam, 0);
      return TRUE;

    case WM_SYSKEYDOWN:
    case WM_CONTEXTMENU:
      if (pMsg->wParam == VK_MENU && popup != nullptr) {
        popup->SendMessage(WM_CLOSE);
        return TRUE;
      }
      return FALSE;

    case WM_SYSKEYUP:
      return popup != nullptr;

    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP: {
      const CPoint point(static_cast<short>(LOWORD(pMsg->lParam)), static_cast<short>(HIWORD(pMsg->lParam)));
      return HandleOutsideClick(point);
    }

    case WM_MOUSEMOVE: {
      CPoint point(static_cast<short>(LOWORD(pMsg->lParam)), static_cast<short>(HIWORD(pMsg->lParam)));
      ::ClientToScreen(pMsg->hwnd, &point);
      return ProcessMouseMove(point);
    }

    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: {
      if (!::IsWindow(pMsg->hwnd)) return TRUE;
      CPoint point(static_cast<short>(LOWORD(pMsg->lParam)), static_cast<short>(HIWORD(pMsg->lParam)));
      ::ClientToScreen(pMsg->hwnd, &point);
      if (HandleOutsideClick(point)) return TRUE;
      if (!::IsWindow(pMsg->hwnd)) return TRUE;
      if (pMsg->message == WM_RBUTTONUP && !CPlxToolBar::m_bCustomizeMode) {
        CWnd* target = CWnd::FromHandlePermanent(pMsg->hwnd);
        if (target != nullptr && target->IsKindOf(RUNTIME_CLASS(CDockBar)) && IsLiveWindow(m_pOwnerWnd) &&
            PLX_WM_TOOLBARMENU != 0) {
          m_pOwnerWnd->SendMessage(PLX_WM_TOOLBARMENU, reinterpret_cast<WPARAM>(m_pOwnerWnd->GetSafeHwnd()),
                                   MAKELPARAM(point.x, point.y));
        }
      }
      return FALSE;
    }

    default:
      return FALSE;
  }
}

BOOL CPlxDialogCore::FilterCommand(WPARAM wParam, LPARAM) {
  if (HIWORD(wParam) != 1) return FALSE;  // accelerators only
  const UINT uiCmd = LOWORD(wParam);
  CPlxToolBar::m_commandUsage.AddCmd(uiCmd);
  if (CPlxPopupMenu* popup = TrackedPopup(); popup != nullptr) {
    // An accelerator pressed while the popup is open closes it instead of running.
    popup->SendMessage(WM_KEYDOWN, VK_ESCAPE);
    return TRUE;
  }
  return g_pUserToolsManager != nullptr && g_pUserToolsManager->InvokeTool(uiCmd);
}

void CPlxDialogCore::UpdateStayActive(UINT nState, CWnd* pWndOther) {
  m_pOwnerWnd->m_nFlags &= ~WF_STAYACTIVE;
  CWnd* active = nState != WA_INACTIVE ? m_pOwnerWnd : pWndOther;
  if (active == nullptr) {
    m_pOwnerWnd->SendMessage(WM_NCPAINT, 1);
    return;
  }
  if (active != m_pOwnerWnd && active->SendMessage(WM_FLOATSTATUS, FS_SYNCACTIVE) == 0) return;
  m_pOwnerWnd->m_nFlags |= WF_STAYACTIVE;
}

void CPlxDialogCore::AdjustNcActive(BOOL& bActive) {
  if (m_pOwnerWnd->m_nFlags & WF_STAYACTIVE) bActive = TRUE;
  if (!m_pOwnerWnd->IsWindowEnabled()) bActive = FALSE;
}

// ---- CPlxDialog ----

BEGIN_MESSAGE_MAP(CPlxDialog, CDialog)
ON_WM_ACTIVATE()
ON_WM_NCACTIVATE()
ON_WM_ERASEBKGND()
ON_WM_DESTROY()
ON_WM_CTLCOLOR()
ON_WM_SYSCOLORCHANGE()
ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

CPlxDialog::CPlxDialog() = default;

CPlxDialog::CPlxDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd) {}

CPlxDialog::CPlxDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd) : CDialog(lpszTemplateName, pParentWnd) {}

CPlxDialog::~CPlxDialog() {
  if (m_bOwnsBackImage && m_hBackImage != nullptr) ::DeleteObject(m_hBackImage);
}

void CPlxDialog::SetBackgroundColor(COLORREF color, BOOL bRepaint) {
  m_brBackground.DeleteObject();
  if (color != CLR_NONE) m_brBackground.CreateSolidBrush(color);
  if (bRepaint && GetSafeHwnd() != nullptr) Invalidate();
}

void CPlxDialog::SetBackgroundImage(HBITMAP hBitmap, int nPlace, BOOL bOwns, BOOL bRepaint) {
  if (m_bOwnsBackImage && m_hBackImage != nullptr && m_hBackImage != hBitmap) ::DeleteObject(m_hBackImage);
  m_hBackImage = hBitmap;
  m_nBackImagePlace = nPlace;
  m_bOwnsBackImage = bOwns;
  m_sizeBackImage = CSize(0, 0);
  BITMAP bm{};
  if (hBitmap != nullptr && ::GetObject(hBitmap, sizeof bm, &bm) != 0)
    m_sizeBackImage = CSize(bm.bmWidth, bm.bmHeight);
  if (bRepaint && GetSafeHwnd() != nullptr) Invalidate();
}

BOOL CPlxDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (m_core.FilterCommand(wParam, lParam)) return TRUE;
  return CWnd::OnCommand(wParam, lParam);
}

BOOL CPlxDialog::PreTranslateMessage(MSG* pMsg) {
  if (m_core.FilterMessage(pMsg)) return TRUE;
  return CDialog::PreTranslateMessage(pMsg);
}

void CPlxDialog::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  CDialog::OnActivate(nState, pWndOther, bMinimized);  // the dialog's focus comes back as usual
  m_core.UpdateStayActive(nState, pWndOther);
}

BOOL CPlxDialog::OnNcActivate(BOOL bActive) {
  m_core.AdjustNcActive(bActive);
  return static_cast<BOOL>(DefWindowProc(WM_NCACTIVATE, bActive, 0));
}

BOOL CPlxDialog::OnEraseBkgnd(CDC* pDC) {
  const BOOL hasBrush = m_brBackground.GetSafeHandle() != nullptr;
  if (!hasBrush && m_hBackImage == nullptr) return CDialog::OnEraseBkgnd(pDC);
  CRect client;
  GetClientRect(client);
  if (m_nBackImagePlace != BackImageTile || m_hBackImage == nullptr) {
    if (hasBrush)
      pDC->FillRect(client, &m_brBackground);
    else
      CDialog::OnEraseBkgnd(pDC);
  }
  if (m_hBackImage == nullptr) return TRUE;
  const CSize size = m_sizeBackImage;
  if (m_nBackImagePlace == BackImageTile) {
    if (size.cx <= 0 || size.cy <= 0) return TRUE;
    for (int x = client.left; x < client.Width(); x += size.cx)
      for (int y = client.top; y < client.Height(); y += size.cy)
        pDC->DrawState(CPoint(x, y), size, m_hBackImage, DST_BITMAP);
    return TRUE;
  }
  CPoint at = client.TopLeft();
  switch (m_nBackImagePlace) {
    case BackImageTopRight:
      at.x = client.right - size.cx;
      break;
    case BackImageBottomLeft:
      at.y = client.bottom - size.cy;
      break;
    case BackImageBottomRight:
      at = CPoint(client.right - size.cx, client.bottom - size.cy);
      break;
    default:
      break;
  }
  pDC->DrawState(at, size, m_hBackImage, DST_BITMAP);
  return TRUE;
}

void CPlxDialog::OnDestroy() {
  if (m_bOwnsBackImage && m_hBackImage != nullptr) {
    ::DeleteObject(m_hBackImage);
    m_hBackImage = nullptr;
  }
  // A popup left open would call this dialog back after it is gone, and the hook would stay.
  m_core.CloseActiveMenu();
  m_core.ReleaseHookOwner();
  CDialog::OnDestroy();
}

HBRUSH CPlxDialog::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  if ((m_brBackground.GetSafeHandle() != nullptr || m_hBackImage != nullptr) &&
      nCtlColor == CTLCOLOR_STATIC && pWnd != nullptr) {
    char className[256] = {};
    ::GetClassName(pWnd->GetSafeHwnd(), className, 255);
    if (strcasecmp(className, "Static") == 0 || strcasecmp(className, "Button") == 0) {
      pDC->SetBkMode(TRANSPARENT);
      return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
  }
  return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CPlxDialog::OnSysColorChange() {
  CDialog::OnSysColorChange();
  if (IsThreadMainWindow(this)) g_plxGlobalData.UpdateSysColors();
}

void CPlxDialog::OnSettingChange(UINT uFlags, LPCTSTR lpszSection) {
  CDialog::OnSettingChange(uFlags, lpszSection);
  if (IsThreadMainWindow(this)) g_plxGlobalData.OnSettingChange();
}

// ---- CPlxPropertyPage ----

BEGIN_MESSAGE_MAP(CPlxPropertyPage, CPropertyPage)
ON_WM_ACTIVATE()
ON_WM_NCACTIVATE()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CPlxPropertyPage::CPlxPropertyPage() = default;

CPlxPropertyPage::CPlxPropertyPage(UINT nIDTemplate, UINT nIDCaption)
    : CPropertyPage(nIDTemplate, nIDCaption) {}

CPlxPropertyPage::CPlxPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption)
    : CPropertyPage(lpszTemplateName, nIDCaption) {}

CPlxPropertyPage::~CPlxPropertyPage() = default;

BOOL CPlxPropertyPage::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (m_core.FilterCommand(wParam, lParam)) return TRUE;
  return CWnd::OnCommand(wParam, lParam);
}

BOOL CPlxPropertyPage::PreTranslateMessage(MSG* pMsg) {
  if (m_core.FilterMessage(pMsg)) return TRUE;
  return CPropertyPage::PreTranslateMessage(pMsg);
}

BOOL CPlxPropertyPage::OnSetActive() {
  if (auto* sheet = dynamic_cast<CPlxPropertySheet*>(GetParent())) sheet->OnActivatePage(this);
  return CPropertyPage::OnSetActive();
}

void CPlxPropertyPage::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  CPropertyPage::OnActivate(nState, pWndOther, bMinimized);
  m_core.UpdateStayActive(nState, pWndOther);
}

BOOL CPlxPropertyPage::OnNcActivate(BOOL bActive) {
  m_core.AdjustNcActive(bActive);
  return static_cast<BOOL>(DefWindowProc(WM_NCACTIVATE, bActive, 0));
}

void CPlxPropertyPage::OnDestroy() {
  m_core.CloseActiveMenu();
  m_core.ReleaseHookOwner();
  CPropertyPage::OnDestroy();
}
