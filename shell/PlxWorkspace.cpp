#include "shell/PlxWorkspace.h"

BOOL g_plxShowToolbarTooltips = TRUE;
