// The application's web-album template manager (the class is the web-album engine's).
#pragma once

#include "disc/engines/WebTemplateManager.h"

// The application's manager; null outside the application object's life.
CWebTemplateManager* GetWebTemplateManager();
extern CWebTemplateManager* g_pWebTemplateManager;
