// The part of the UI toolkit the application object stands on that the toolkit does not hold yet:
// the toolbar-tooltip switch.
#pragma once

#include <memory>

#include "platform/base/Object.h"
#include "platform/mfc/WinApp.h"
#include "toolkit/core/PlxButton.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxWinXPVisualManager.h"
#include "toolkit/core/PlxWorkspace.h"

// Whether toolkit toolbars show tooltips.
extern BOOL g_plxShowToolbarTooltips;
