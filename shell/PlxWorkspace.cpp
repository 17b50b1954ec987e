#include "shell/PlxWorkspace.h"

namespace {

BOOL g_bWinXPTheme = FALSE;

}  // namespace

BOOL g_plxShowToolbarTooltips = TRUE;

void CPlxButton::EnableWinXPTheme(BOOL bEnable) {
  g_bWinXPTheme = bEnable;
}

BOOL CPlxButton::IsWinXPThemeEnabled() {
  return g_bWinXPTheme;
}
