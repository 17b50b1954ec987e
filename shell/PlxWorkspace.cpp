#include "shell/PlxWorkspace.h"

#include "toolkit/bars/PlxCommandManager.h"

namespace {

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

void CPlxButton::EnableWinXPTheme(BOOL bEnable) {
  g_bWinXPTheme = bEnable;
}

BOOL CPlxButton::IsWinXPThemeEnabled() {
  return g_bWinXPTheme;
}

void PlxCleanUp() {
  GetCommandManager()->CleanUp();
  CPlxVisualManager::DestroyInstance(TRUE);
}
