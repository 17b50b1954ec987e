// The common controls in one include: list view, tree view, header, tab, trackbar, up-down,
// progress bar, tooltip and status bar, image lists and subclassing.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/comctl/Header.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/Notify.h"
#include "platform/comctl/Progress.h"
#include "platform/comctl/ReBar.h"
#include "platform/comctl/StatusBar.h"
#include "platform/comctl/Subclass.h"
#include "platform/comctl/Tab.h"
#include "platform/comctl/Tooltip.h"
#include "platform/comctl/Trackbar.h"
#include "platform/comctl/TreeView.h"
#include "platform/comctl/UpDown.h"

// InitCommonControlsEx classes; every class is registered whichever are asked for.
#define ICC_LISTVIEW_CLASSES 0x00000001
#define ICC_TREEVIEW_CLASSES 0x00000002
#define ICC_BAR_CLASSES 0x00000004
#define ICC_TAB_CLASSES 0x00000008
#define ICC_UPDOWN_CLASS 0x00000010
#define ICC_PROGRESS_CLASS 0x00000020
#define ICC_HOTKEY_CLASS 0x00000040
#define ICC_ANIMATE_CLASS 0x00000080
#define ICC_WIN95_CLASSES 0x000000FF
#define ICC_DATE_CLASSES 0x00000100
#define ICC_USEREX_CLASSES 0x00000200
#define ICC_COOL_CLASSES 0x00000400
#define ICC_INTERNET_CLASSES 0x00000800
#define ICC_PAGESCROLLER_CLASS 0x00001000
#define ICC_NATIVEFNTCTL_CLASS 0x00002000
#define ICC_STANDARD_CLASSES 0x00004000
#define ICC_LINK_CLASS 0x00008000

struct INITCOMMONCONTROLSEX {
  DWORD dwSize;
  DWORD dwICC;
};
using LPINITCOMMONCONTROLSEX = INITCOMMONCONTROLSEX*;

// Registers the control classes for the whole process (once; later calls do nothing).
void InitCommonControls();
// FALSE with ERROR_INVALID_PARAMETER for a record of the wrong size.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);
