// The maximized child's window buttons and its system-menu icon on the menu bar.
#include "toolkit/bars/PlxMenuWindowButtons.h"

#include "platform/gdi/Gdi.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/MdiFrameWnd.h"
#include "platform/user/Menu.h"
#include "platform/user/Metrics.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxVisualManager.h"

IMPLEMENT_DYNCREATE(CPlxToolbarMenuButtonsButton, CPlxToolbarButton)
IMPLEMENT_SERIAL(CPlxToolbarSystemMenuButton, CPlxToolbarMenuButton, VERSIONABLE_SCHEMA | 1)

// ---- minimize, restore, close ----

CPlxToolbarMenuButtonsButton::CPlxToolbarMenuButtonsButton(UINT uiCmdId) : m_uiSystemCommand(uiCmdId) {}

void CPlxToolbarMenuButtonsButton::CopyFrom(const CPlxToolbarButton& src) {
  CPlxToolbarButton::CopyFrom(src);
  if (const auto* other = dynamic_cast<const CPlxToolbarMenuButtonsButton*>(&src))
    m_uiSystemCommand = other->m_uiSystemCommand;
}

CSize CPlxToolbarMenuButtonsButton::OnCalculateSize(CDC*, const CSize&, BOOL) {
  return CSize(::GetSystemMetrics(SM_CXMENUSIZE), ::GetSystemMetrics(SM_CYMENUSIZE));
}

void CPlxToolbarMenuButtonsButton::OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages*, BOOL, BOOL,
                                          BOOL bHighlight, BOOL, BOOL) {
  CPlxVisualManager::GetInstance()->OnDrawMenuSystemButton(pDC, rect, m_uiSystemCommand, m_nStyle,
                                                           bHighlight);
}

// ---- the system-menu icon ----

CPlxToolbarSystemMenuButton::CPlxToolbarSystemMenuButton(HMENU hSystemMenu, HICON hSystemIcon)
    : CPlxToolbarMenuButton(0, hSystemMenu, -1) {
  m_hSysMenuIcon = hSystemIcon;
  m_hSystemMenu = hSystemMenu;
}

void CPlxToolbarSystemMenuButton::CopyFrom(const CPlxToolbarButton& src) {
  CPlxToolbarMenuButton::CopyFrom(src);
  if (const auto* other = dynamic_cast<const CPlxToolbarSystemMenuButton*>(&src)) {
    m_hSysMenuIcon = other->m_hSysMenuIcon;
    m_hSystemMenu = other->m_hSystemMenu;
  }
}

CSize CPlxToolbarSystemMenuButton::GetIconSize() {
  if (::GetSystemMetrics(SM_CYSMICON) > ::GetSystemMetrics(SM_CYSMSIZE)) return CSize(16, 16);
  return CSize(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON));
}

CSize CPlxToolbarSystemMenuButton::OnCalculateSize(CDC*, const CSize& sizeDefault, BOOL) {
  return CSize(::GetSystemMetrics(SM_CXSMICON), sizeDefault.cy);
}

void CPlxToolbarSystemMenuButton::OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages*, BOOL, BOOL, BOOL,
                                         BOOL, BOOL) {
  if (m_hSysMenuIcon == nullptr) return;
  const CSize icon = GetIconSize();
  ::DrawIconEx(pDC->GetSafeHdc(), rect.left, rect.top + (rect.Height() - icon.cy) / 2, m_hSysMenuIcon,
               icon.cx, icon.cy, 0, nullptr, DI_NORMAL);
}

void CPlxToolbarSystemMenuButton::CreateFromMenu(HMENU hMenu) {
  // The items were taken at construction; later calls only follow the child's live menu.
  m_hSystemMenu = hMenu;
}

HMENU CPlxToolbarSystemMenuButton::ExportToMenu() const {
  HMENU menu = CPlxToolbarMenuButton::ExportToMenu();
  if (menu == nullptr || !::IsMenu(m_hSystemMenu)) return menu;
  // The items were taken when the child was maximized; its menu knows what is allowed now, both
  // ways, so an item enabled since then is not left disabled.
  const int count = ::GetMenuItemCount(m_hSystemMenu);
  for (int i = 0; i < count; ++i) {
    const UINT id = ::GetMenuItemID(m_hSystemMenu, i);
    if (id == 0 || id == (UINT)-1) continue;
    const UINT state = ::GetMenuState(m_hSystemMenu, i, MF_BYPOSITION);
    if (state == (UINT)-1) continue;
    ::CheckMenuItem(menu, id, MF_BYCOMMAND | ((state & MF_CHECKED) ? MF_CHECKED : MF_UNCHECKED));
    UINT enable = MF_ENABLED;
    if (state & MF_GRAYED)
      enable = MF_GRAYED;
    else if (state & MF_DISABLED)
      enable = MF_DISABLED;
    ::EnableMenuItem(menu, id, MF_BYCOMMAND | enable);
  }
  return menu;
}

void CPlxToolbarSystemMenuButton::OnDblClick(CWnd*) {
  if (CPlxToolBar::m_bAltDragActive) return;
  OnCancelMode();
  if (m_pWndParent == nullptr || m_pWndParent->GetSafeHwnd() == nullptr) return;
  CWnd* frame = AfxGetParentFrame(m_pWndParent);
  if (dynamic_cast<CMiniDockFrameWnd*>(frame) != nullptr) frame = frame->GetParent();
  auto* mdiFrame = dynamic_cast<CMDIFrameWnd*>(frame);
  if (mdiFrame == nullptr) return;
  CMDIChildWnd* child = mdiFrame->MDIGetActive();
  if (child == nullptr || child->GetSafeHwnd() == nullptr) return;
  HMENU sysMenu = ::GetSystemMenu(child->GetSafeHwnd(), FALSE);
  if (sysMenu != nullptr) {
    const UINT state = ::GetMenuState(sysMenu, SC_CLOSE, MF_BYCOMMAND);
    if (state != (UINT)-1 && (state & (MF_DISABLED | MF_GRAYED))) return;
  }
  child->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void CPlxToolbarSystemMenuButton::OnCancelMode() {
  if (m_pPopupMenu != nullptr && ::IsWindow(m_pPopupMenu->GetSafeHwnd())) {
    if (m_pPopupMenu->InCommand()) return;
    m_pPopupMenu->SaveToParentItems();
    m_pPopupMenu->m_bCloseParentOnDestroy = FALSE;
    m_pPopupMenu->CloseMenu(FALSE);
  }
  m_pPopupMenu = nullptr;
  m_bClosePending = FALSE;
}
