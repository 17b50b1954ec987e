#include "toolkit/core/PlxMDIFrameWnd.h"

#include "platform/mfc/Document.h"
#include "platform/mfc/OleFrames.h"
#include "platform/user/Menu.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxFrameRouting.h"

namespace {

constexpr UINT kFirstWindowCommand = 0xE130;  // ID_WINDOW_NEW ... the MDI Window commands
constexpr UINT kLastWindowCommand = 0xE13F;
constexpr UINT kMoreWindowsEntry = 0xFF09;  // the entry Windows adds past the ninth child

BOOL HasWindowCommand(HMENU hMenu) {
  const int count = hMenu != nullptr ? ::GetMenuItemCount(hMenu) : 0;
  for (int i = 0; i < count; ++i) {
    const UINT id = ::GetMenuItemID(hMenu, i);
    if (id >= kFirstWindowCommand && id <= kLastWindowCommand) return TRUE;
  }
  return FALSE;
}

}  // namespace

IMPLEMENT_DYNCREATE(CPlxMDIFrameWnd, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CPlxMDIFrameWnd, CMDIFrameWnd)
ON_WM_MENUCHAR()
ON_WM_CLOSE()
ON_WM_ACTIVATE()
ON_WM_DESTROY()
ON_WM_WINDOWPOSCHANGED()
ON_COMMAND(ID_CONTEXT_HELP, OnContextHelp)
ON_REGISTERED_MESSAGE(PLX_WM_CREATETOOLBAR, OnToolbarCreateNew)
ON_REGISTERED_MESSAGE(PLX_WM_DELETETOOLBAR, OnToolbarDelete)
END_MESSAGE_MAP()

CPlxMDIFrameWnd::CPlxMDIFrameWnd() : m_Impl(this) {
  if (PLX_WM_RESETRPROMPT == 0) PlxRegisterToolbarMessages();
}

CPlxMDIFrameWnd::~CPlxMDIFrameWnd() = default;

// ---- hooks ----

BOOL CPlxMDIFrameWnd::OnSetMenu(HMENU hMenu) {
  if (COleClientItem* item = GetInPlaceActiveItem(); item != nullptr) return FALSE;
  CPlxMenuBar* bar = m_Impl.m_pMenuBar;
  if (bar == nullptr) return FALSE;
  ::SetMenu(m_hWnd, nullptr);
  bar->CreateFromMenu(hMenu != nullptr ? hMenu : m_Impl.m_hDefaultMenu, FALSE, FALSE);
  return TRUE;
}

BOOL CPlxMDIFrameWnd::OnBeforeShowPopupMenu(CPlxPopupMenu* pMenu) {
  plxframe::NotifyPopupStart(pMenu);
  return TRUE;
}

void CPlxMDIFrameWnd::OnClosePopupMenu(CPlxPopupMenu* pMenu) {
  plxframe::ClosePopupMenu(pMenu, plxframe::Kind::kMain);
}

BOOL CPlxMDIFrameWnd::OnShowCustomizePane(CPlxPopupMenu* pMenu, UINT uiToolbarResId) {
  m_Impl.AddHiddenToolbarButtons(pMenu, uiToolbarResId);
  return TRUE;
}

COleClientItem* CPlxMDIFrameWnd::GetInPlaceActiveItem() {
  CFrameWnd* frame = GetActiveFrame();
  CView* view = frame != nullptr ? frame->GetActiveView() : nullptr;
  auto* document = view != nullptr ? dynamic_cast<COleDocument*>(view->GetDocument()) : nullptr;
  return document != nullptr ? document->GetInPlaceActiveItem(view) : nullptr;
}

BOOL CPlxMDIFrameWnd::OnShowPopupMenu(CPlxPopupMenu* pMenu) {
  BOOL askHook = FALSE;
  if (!plxframe::ShowPopupMenu(this, m_Impl, pMenu, askHook)) return FALSE;
  if (!CPlxToolBar::m_bCustomizeMode && m_hmenuWindow != nullptr && pMenu != nullptr &&
      HasWindowCommand(pMenu->GetHMenu()))
    AddWindowList(pMenu);
  if (!askHook) return TRUE;
  const BOOL result = OnBeforeShowPopupMenu(pMenu);
  plxframe::ExportForAccessibility(pMenu);
  return result;
}

void CPlxMDIFrameWnd::AddWindowList(CPlxPopupMenu* pMenu) {
  BOOL first = TRUE;
  BOOL moreWindows = FALSE;
  const int count = ::GetMenuItemCount(m_hmenuWindow);
  for (int i = 0; i < count; ++i) {
    const UINT id = ::GetMenuItemID(m_hmenuWindow, i);
    if (id < AFX_IDM_FIRST_MDICHILD || id == (UINT)-1) continue;
    if (m_uiWindowsDlgMenuId != 0 && id == kMoreWindowsEntry) {
      moreWindows = TRUE;
      continue;
    }
    if (first) {
      pMenu->InsertSeparator();
      ::SendMessage(m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
      first = FALSE;
    }
    char text[256] = {};
    ::GetMenuString(m_hmenuWindow, static_cast<UINT>(i), text, sizeof(text) - 1, MF_BYPOSITION);
    CPlxToolbarMenuButton item(id, nullptr, -1, text);
    if (::GetMenuState(m_hmenuWindow, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED)
      item.m_nStyle |= TBBS_CHECKED;
    pMenu->InsertItem(item);
  }
  if (m_uiWindowsDlgMenuId != 0 && (moreWindows || m_bShowWindowsDlgAlways)) {
    if (!CPlxToolBar::m_lstBasicCommands.IsEmpty()) CPlxToolBar::AddBasicCommand(m_uiWindowsDlgMenuId);
    pMenu->InsertItem(CPlxToolbarMenuButton(m_uiWindowsDlgMenuId, nullptr, -1, m_strWindowsDlgMenuText));
  }
}

// ---- framework overrides ----

BOOL CPlxMDIFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  m_Impl.RestorePosition(cs);
  return CMDIFrameWnd::PreCreateWindow(cs);
}

BOOL CPlxMDIFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                                CCreateContext* pContext) {
  m_Impl.m_uiDefaultMenuResId = nIDResource;
  const BOOL result = CMDIFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext);
  if (result) m_Impl.OnLoadFrame();
  if (m_Impl.m_pMenuBar != nullptr) m_Impl.m_hDefaultMenu = m_hMenuDefault;
  return result;
}

BOOL CPlxMDIFrameWnd::PreTranslateMessage(MSG* pMsg) {
  const plxframe::Routed routed = plxframe::PreTranslate(this, m_Impl, pMsg, plxframe::Kind::kMain);
  if (routed.decided) return routed.result;
  return CMDIFrameWnd::PreTranslateMessage(pMsg);
}

BOOL CPlxMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  BOOL callBase = FALSE;
  const BOOL handled = plxframe::OnCommand(m_Impl, wParam, callBase);
  return callBase ? CMDIFrameWnd::OnCommand(wParam, lParam) : handled;
}

void CPlxMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
  CMDIFrameWnd::OnUpdateFrameMenu(hMenuAlt);
  CPlxMenuBar* bar = m_Impl.m_pMenuBar;
  if (bar == nullptr || bar->GetSafeHwnd() == nullptr || (bar->GetStyle() & WS_VISIBLE) == 0) return;
  if (GetInPlaceActiveItem() == nullptr) ::SetMenu(m_hWnd, nullptr);
}

BOOL CPlxMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) {
  if (!CMDIFrameWnd::OnCreateClient(lpcs, pContext)) return FALSE;
  if (m_bEnableMDIClientSubclass && m_hWndMDIClient != nullptr && m_wndClientArea.GetSafeHwnd() == nullptr)
    m_wndClientArea.SubclassWindow(m_hWndMDIClient);
  return TRUE;
}

HMENU CPlxMDIFrameWnd::GetWindowMenuPopup(HMENU hMenuBar) {
  m_hmenuWindow = CMDIFrameWnd::GetWindowMenuPopup(hMenuBar);
  return m_hmenuWindow;
}

void CPlxMDIFrameWnd::OnSetPreviewMode(BOOL bPreview, void*) {
  // The preview takes the whole client area: the document tabs go while it shows.
  if (m_wndClientArea.m_bTabsEnabled && m_wndClientArea.m_wndTab.GetSafeHwnd() != nullptr)
    m_wndClientArea.m_wndTab.ShowWindow(bPreview ? SW_HIDE : SW_SHOWNOACTIVATE);
}

void CPlxMDIFrameWnd::WinHelp(DWORD_PTR dwData, UINT nCmd) {
  if (dwData == 0 && m_bContextHelp) {
    OnContextHelp();
    return;
  }
  plxframe::LogHelpRequest(dwData, nCmd);
}

// ---- messages ----

LRESULT CPlxMDIFrameWnd::OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu) {
  if (plxframe::MenuCharHandled(m_Impl, nChar)) return MAKELRESULT(2, 0xFFFF);
  return Default();
}

LRESULT CPlxMDIFrameWnd::OnToolbarCreateNew(WPARAM, LPARAM lParam) {
  return plxframe::CreateToolbar(m_Impl, lParam);
}

LRESULT CPlxMDIFrameWnd::OnToolbarDelete(WPARAM, LPARAM lParam) {
  return plxframe::DeleteToolbar(m_Impl, lParam);
}

void CPlxMDIFrameWnd::OnClose() {
  // An in-place active item would be deactivated here; there is none on this desktop.
  m_Impl.OnCloseFrame();
  CMDIFrameWnd::OnClose();
}

void CPlxMDIFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  Default();
  plxframe::OnActivate(this, m_Impl, nState);
}

void CPlxMDIFrameWnd::OnDestroy() {
  plxframe::DestroyAccelerators(this);
  CMDIFrameWnd::OnDestroy();
}

void CPlxMDIFrameWnd::OnWindowPosChanged(WINDOWPOS*) {
  Default();
  UpdateMaximizedChild();
}

void CPlxMDIFrameWnd::UpdateMaximizedChild() {
  if (m_hWndMDIClient == nullptr) return;
  BOOL maximized = FALSE;
  CMDIChildWnd* child = MDIGetActive(&maximized);
  const HWND shown = child != nullptr && maximized ? child->GetSafeHwnd() : nullptr;
  const BOOL changed = shown != m_hwndMaximizedChild;
  m_hwndMaximizedChild = shown;
  // The caption names the document itself only while no child is maximized (the client adds a
  // maximized child's name), so it is composed again whenever that changes.
  if (changed) OnUpdateFrameTitle(TRUE);
  CPlxMenuBar* bar = m_Impl.m_pMenuBar;
  if (bar == nullptr || bar->GetSafeHwnd() == nullptr) return;
  if (!changed && bar->m_bMaximizedChild == (shown != nullptr)) return;
  // Another maximized child took over: its own icon and buttons replace the old one's.
  if (bar->m_bMaximizedChild) bar->SetMaximizedChild(FALSE, nullptr, shown == nullptr);
  if (shown != nullptr) bar->SetMaximizedChild(TRUE, child, TRUE);
}

void CPlxMDIFrameWnd::OnContextHelp() {
  m_bContextHelp = TRUE;
  CPlxToolBar::SetMouseHook(TRUE);
  plxframe::LogHelpRequest(0, HELP_CONTEXT);
  CPlxToolBar::SetMouseHook(FALSE);
  m_bContextHelp = FALSE;
}
