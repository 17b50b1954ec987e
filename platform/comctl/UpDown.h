// The up-down control ("msctls_updown32"): a pair of arrows stepping a position within a range,
// usually shown in a buddy window (an edit whose text it keeps as the number).
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/comctl/Notify.h"

#define UPDOWN_CLASSA "msctls_updown32"
#define UPDOWN_CLASS UPDOWN_CLASSA

#define UD_MAXVAL 0x7FFF
#define UD_MINVAL (-UD_MAXVAL)

// Styles.
#define UDS_WRAP 0x0001
#define UDS_SETBUDDYINT 0x0002
#define UDS_ALIGNRIGHT 0x0004
#define UDS_ALIGNLEFT 0x0008
#define UDS_AUTOBUDDY 0x0010
#define UDS_ARROWKEYS 0x0020
#define UDS_HORZ 0x0040
#define UDS_NOTHOUSANDS 0x0080
#define UDS_HOTTRACK 0x0100

// Messages.
#define UDM_SETRANGE (WM_USER + 101)  // lParam: MAKELONG(upper, lower)
#define UDM_GETRANGE (WM_USER + 102)  // MAKELONG(upper, lower)
#define UDM_SETPOS (WM_USER + 103)
#define UDM_GETPOS (WM_USER + 104)  // HIWORD non-zero: the buddy's text is no number in range
#define UDM_SETBUDDY (WM_USER + 105)
#define UDM_GETBUDDY (WM_USER + 106)
#define UDM_SETACCEL (WM_USER + 107)
#define UDM_GETACCEL (WM_USER + 108)
#define UDM_SETBASE (WM_USER + 109)
#define UDM_GETBASE (WM_USER + 110)
#define UDM_SETRANGE32 (WM_USER + 111)  // wParam lower, lParam upper
#define UDM_GETRANGE32 (WM_USER + 112)  // wParam int* lower, lParam int* upper
#define UDM_SETPOS32 (WM_USER + 113)
#define UDM_GETPOS32 (WM_USER + 114)  // lParam BOOL* error

// Notification: return non-zero to refuse the step.
#define UDN_DELTAPOS (UDN_FIRST - 1)

// One acceleration step: after nSec seconds of holding an arrow, steps are of nInc.
struct UDACCEL {
  UINT nSec;
  UINT nInc;
};
using LPUDACCEL = UDACCEL*;

struct NMUPDOWN {
  NMHDR hdr;
  int iPos;
  int iDelta;
};
using NM_UPDOWN = NMUPDOWN;
using LPNMUPDOWN = NMUPDOWN*;
