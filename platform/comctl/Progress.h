// The progress bar ("msctls_progress32").
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/comctl/Notify.h"

#define PROGRESS_CLASSA "msctls_progress32"
#define PROGRESS_CLASS PROGRESS_CLASSA

// Styles.
#define PBS_SMOOTH 0x01
#define PBS_VERTICAL 0x04

// Messages.
#define PBM_SETRANGE (WM_USER + 1)  // lParam MAKELPARAM(low, high); returns the old range likewise
#define PBM_SETPOS (WM_USER + 2)
#define PBM_DELTAPOS (WM_USER + 3)
#define PBM_SETSTEP (WM_USER + 4)
#define PBM_STEPIT (WM_USER + 5)
#define PBM_SETRANGE32 (WM_USER + 6)
#define PBM_GETRANGE (WM_USER + 7)  // wParam TRUE: the low limit, else the high one; lParam PBRANGE*
#define PBM_GETPOS (WM_USER + 8)
#define PBM_SETBARCOLOR (WM_USER + 9)
#define PBM_GETSTEP (WM_USER + 13)
#define PBM_GETBKCOLOR (WM_USER + 14)
#define PBM_GETBARCOLOR (WM_USER + 15)
#define PBM_SETBKCOLOR CCM_SETBKCOLOR

struct PBRANGE {
  int iLow;
  int iHigh;
};
using PPBRANGE = PBRANGE*;
