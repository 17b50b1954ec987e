#include "shell/PlxWorkspace.h"

#include "toolkit/bars/PlxCommandManager.h"
#include "toolkit/core/PlxMenuGlyphs.h"

BOOL g_plxShowToolbarTooltips = TRUE;

void PlxCleanUp() {
  GetCommandManager()->CleanUp();
  CPlxVisualManager::DestroyInstance(TRUE);
  CPlxMenuGlyphs::CleanUp();
}
