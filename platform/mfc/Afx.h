// The application framework in one include: application and threads, command targets and
// message maps, windows, dialogs and data exchange, property sheets, control bars, the standard
// controls, device contexts and drawing objects, menus.
#pragma once

#include "platform/mfc/AfxRes.h"
#include "platform/mfc/CmdTarget.h"
#include "platform/mfc/CmdUI.h"
#include "platform/mfc/CommandLineInfo.h"
#include "platform/mfc/ControlBar.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/PropertySheet.h"
#include "platform/mfc/RecentFileList.h"
#include "platform/mfc/StatusBar.h"
#include "platform/mfc/StdControls.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/WinThread.h"
#include "platform/mfc/Wnd.h"
