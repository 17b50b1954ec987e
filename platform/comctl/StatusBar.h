// The status bar ("msctls_statusbar32"): panes of text and icons along the bottom of its parent.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/comctl/Notify.h"

#define STATUSCLASSNAMEA "msctls_statusbar32"
#define STATUSCLASSNAME STATUSCLASSNAMEA

// Styles.
#define SBARS_SIZEGRIP 0x0100

// Messages.
#define SB_SETTEXTA (WM_USER + 1)  // wParam: pane | SBT_* flags
#define SB_GETTEXTA (WM_USER + 2)  // MAKELONG(length, SBT_* flags)
#define SB_GETTEXTLENGTHA (WM_USER + 3)
#define SB_SETPARTS (WM_USER + 4)  // wParam count, lParam int[] of right edges (-1: to the end)
#define SB_GETPARTS (WM_USER + 6)
#define SB_GETBORDERS (WM_USER + 7)
#define SB_SETMINHEIGHT (WM_USER + 8)
#define SB_SIMPLE (WM_USER + 9)
#define SB_GETRECT (WM_USER + 10)
#define SB_ISSIMPLE (WM_USER + 14)
#define SB_SETICON (WM_USER + 15)
#define SB_GETICON (WM_USER + 20)
#ifndef SB_SETBKCOLOR  // the framework's status bar header may have it already
#define SB_SETBKCOLOR CCM_SETBKCOLOR
#endif
#define SB_SETTEXT SB_SETTEXTA
#define SB_GETTEXT SB_GETTEXTA
#define SB_GETTEXTLENGTH SB_GETTEXTLENGTHA

// Text drawing flags (in wParam of SB_SETTEXT).
#define SBT_OWNERDRAW 0x1000
#define SBT_NOBORDERS 0x0100
#define SBT_POPOUT 0x0200
#define SBT_RTLREADING 0x0400
#define SBT_NOTABPARSING 0x0800

// The pane of simple mode.
#define SB_SIMPLEID 0x00FF

#define SBN_SIMPLEMODECHANGE (SBN_FIRST - 0)
