#include "toolkit/core/PlxFrameWnd.h"

#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxFrameRouting.h"

IMPLEMENT_DYNCREATE(CPlxFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CPlxFrameWnd, CFrameWnd)
ON_WM_MENUCHAR()
ON_WM_CLOSE()
ON_WM_ACTIVATE()
ON_WM_DESTROY()
ON_COMMAND(ID_CONTEXT_HELP, OnContextHelp)
ON_REGISTERED_MESSAGE(PLX_WM_CREATETOOLBAR, OnToolbarCreateNew)
ON_REGISTERED_MESSAGE(PLX_WM_DELETETOOLBAR, OnToolbarDelete)
END_MESSAGE_MAP()

CPlxFrameWnd::CPlxFrameWnd() : m_Impl(this) {
  if (PLX_WM_RESETRPROMPT == 0) PlxRegisterToolbarMessages();
}

CPlxFrameWnd::~CPlxFrameWnd() = default;

// ---- hooks ----

BOOL CPlxFrameWnd::OnBeforeShowPopupMenu(CPlxPopupMenu* pMenu) {
  plxframe::NotifyPopupStart(pMenu);
  return TRUE;
}

void CPlxFrameWnd::OnClosePopupMenu(CPlxPopupMenu* pMenu) {
  plxframe::ClosePopupMenu(pMenu, plxframe::Kind::kMain);
}

BOOL CPlxFrameWnd::OnShowCustomizePane(CPlxPopupMenu* pMenu, UINT uiToolbarResId) {
  m_Impl.AddHiddenToolbarButtons(pMenu, uiToolbarResId);
  return TRUE;
}

BOOL CPlxFrameWnd::OnShowPopupMenu(CPlxPopupMenu* pMenu) {
  BOOL askHook = FALSE;
  if (!plxframe::ShowPopupMenu(this, m_Impl, pMenu, askHook)) return FALSE;
  if (!askHook) return TRUE;
  const BOOL result = OnBeforeShowPopupMenu(pMenu);
  plxframe::ExportForAccessibility(pMenu);
  return result;
}

// ---- framework overrides ----

BOOL CPlxFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  m_Impl.RestorePosition(cs);
  return CFrameWnd::PreCreateWindow(cs);
}

BOOL CPlxFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                             CCreateContext* pContext) {
  m_Impl.m_uiDefaultMenuResId = nIDResource;
  const BOOL result = CFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext);
  if (result) m_Impl.OnLoadFrame();
  return result;
}

BOOL CPlxFrameWnd::PreTranslateMessage(MSG* pMsg) {
  const plxframe::Routed routed = plxframe::PreTranslate(this, m_Impl, pMsg, plxframe::Kind::kMain);
  if (routed.decided) return routed.result;
  return CFrameWnd::PreTranslateMessage(pMsg);
}

BOOL CPlxFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  BOOL callBase = FALSE;
  const BOOL handled = plxframe::OnCommand(m_Impl, wParam, callBase);
  return callBase ? CFrameWnd::OnCommand(wParam, lParam) : handled;
}

void CPlxFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
  CFrameWnd::OnUpdateFrameMenu(hMenuAlt);
  // The menu bar shows the menu; the window keeps none.
  CPlxMenuBar* bar = m_Impl.m_pMenuBar;
  if (bar != nullptr && bar->GetSafeHwnd() != nullptr && (bar->GetStyle() & WS_VISIBLE) != 0)
    ::SetMenu(m_hWnd, nullptr);
}

void CPlxFrameWnd::WinHelp(DWORD_PTR dwData, UINT nCmd) {
  if (dwData == 0 && m_bContextHelp) {
    OnContextHelp();
    return;
  }
  plxframe::LogHelpRequest(dwData, nCmd);
}

// ---- messages ----

LRESULT CPlxFrameWnd::OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu) {
  if (plxframe::MenuCharHandled(m_Impl, nChar)) return MAKELRESULT(2, 0xFFFF);
  return CFrameWnd::Default();
}

LRESULT CPlxFrameWnd::OnToolbarCreateNew(WPARAM, LPARAM lParam) {
  return plxframe::CreateToolbar(m_Impl, lParam);
}

LRESULT CPlxFrameWnd::OnToolbarDelete(WPARAM, LPARAM lParam) {
  return plxframe::DeleteToolbar(m_Impl, lParam);
}

void CPlxFrameWnd::OnClose() {
  m_Impl.OnCloseFrame();
  CFrameWnd::OnClose();
}

void CPlxFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  Default();
  plxframe::OnActivate(this, m_Impl, nState);
}

void CPlxFrameWnd::OnDestroy() {
  plxframe::DestroyAccelerators(this);
  CFrameWnd::OnDestroy();
}

void CPlxFrameWnd::OnContextHelp() {
  // No help mode on this desktop: the loop is the toolbar hook's install and removal around it.
  m_bContextHelp = TRUE;
  CPlxToolBar::SetMouseHook(TRUE);
  plxframe::LogHelpRequest(0, HELP_CONTEXT);
  CPlxToolBar::SetMouseHook(FALSE);
  m_bContextHelp = FALSE;
}
