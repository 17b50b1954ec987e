#include "shell/PlxWorkspace.h"

namespace {

std::unique_ptr<CPlxVisualManager> g_visualManager;  // UI thread
BOOL g_bWinXPTheme = FALSE;

}  // namespace

BOOL g_plxShowToolbarTooltips = TRUE;

CPlxWorkspace::CPlxWorkspace(int) {}

CPlxWorkspace::~CPlxWorkspace() = default;

BOOL CPlxWorkspace::LoadState(LPCTSTR, void*) {
  return TRUE;
}

BOOL CPlxWorkspace::CleanState(LPCTSTR) {
  return TRUE;
}

BOOL CPlxWorkspace::SaveState(LPCTSTR, void*) {
  return TRUE;
}

BOOL CPlxWorkspace::InitContextMenuManager() {
  if (m_bContextMenuManager) return FALSE;
  m_bContextMenuManager = TRUE;
  return TRUE;
}

BOOL CPlxWorkspace::InitShellAccess() {
  if (m_bShellAccess) return FALSE;
  m_bShellAccess = TRUE;
  return TRUE;
}

IMPLEMENT_DYNCREATE(CPlxVisualManager, CObject)
IMPLEMENT_DYNCREATE(CPlxWinXPVisualManager, CPlxVisualManager)

void CPlxVisualManager::SetDefaultManager(CRuntimeClass* pRuntimeClass) {
  if (pRuntimeClass == nullptr || !pRuntimeClass->IsDerivedFrom(RUNTIME_CLASS(CPlxVisualManager))) return;
  g_visualManager.reset();
  g_visualManager.reset(static_cast<CPlxVisualManager*>(pRuntimeClass->CreateObject()));
  // No toolkit window exists yet in this program when the manager is chosen, so nothing to redraw.
}

CPlxVisualManager* CPlxVisualManager::GetInstance() {
  return g_visualManager.get();
}

void CPlxButton::EnableWinXPTheme(BOOL bEnable) {
  g_bWinXPTheme = bEnable;
}

BOOL CPlxButton::IsWinXPThemeEnabled() {
  return g_bWinXPTheme;
}

void PlxCleanUp() {
  g_visualManager.reset();
}
