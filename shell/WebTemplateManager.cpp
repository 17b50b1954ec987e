#include "shell/WebTemplateManager.h"

CWebTemplateManager* g_pWebTemplateManager = nullptr;

CWebTemplateManager* GetWebTemplateManager() { return g_pWebTemplateManager; }
