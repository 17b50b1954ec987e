// The rebar ("ReBarWindow32"): bands in rows, each a gripper, an optional text and one child
// window the rebar places. Bands follow each other on a row until one starts a new row
// (RBBS_BREAK) or the row is full; the last band of a row takes what is left of it. Dragging a
// band's gripper along its row resizes the band before it. When the rebar's height changes its
// parent hears RBN_HEIGHTCHANGE.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/comctl/Notify.h"

#define REBARCLASSNAMEA "ReBarWindow32"
#define REBARCLASSNAME REBARCLASSNAMEA

// Styles.
#define RBS_TOOLTIPS 0x0100
#define RBS_VARHEIGHT 0x0200
#define RBS_BANDBORDERS 0x0400
#define RBS_FIXEDORDER 0x0800
#define RBS_AUTOSIZE 0x2000
#define RBS_DBLCLKTOGGLE 0x8000

// Band styles.
#define RBBS_BREAK 0x0001
#define RBBS_FIXEDSIZE 0x0002
#define RBBS_CHILDEDGE 0x0004
#define RBBS_HIDDEN 0x0008
#define RBBS_NOVERT 0x0010
#define RBBS_FIXEDBMP 0x0020
#define RBBS_VARIABLEHEIGHT 0x0040
#define RBBS_GRIPPERALWAYS 0x0080
#define RBBS_NOGRIPPER 0x0100

// Which fields of REBARBANDINFO count.
#define RBBIM_STYLE 0x0001
#define RBBIM_COLORS 0x0002
#define RBBIM_TEXT 0x0004
#define RBBIM_IMAGE 0x0008
#define RBBIM_CHILD 0x0010
#define RBBIM_CHILDSIZE 0x0020
#define RBBIM_SIZE 0x0040
#define RBBIM_BACKGROUND 0x0080
#define RBBIM_ID 0x0100
#define RBBIM_IDEALSIZE 0x0200
#define RBBIM_LPARAM 0x0400
#define RBBIM_HEADERSIZE 0x0800

// Messages. Band records must give cbSize = sizeof(REBARBANDINFO); others are refused.
#define RB_INSERTBAND (WM_USER + 1)   // wParam index (-1: at the end), lParam REBARBANDINFO*
#define RB_DELETEBAND (WM_USER + 2)   // wParam index
#define RB_SETBANDINFO (WM_USER + 6)  // wParam index, lParam REBARBANDINFO*
#define RB_GETRECT (WM_USER + 9)      // wParam index, lParam RECT*: the band's rectangle
#define RB_GETBANDCOUNT (WM_USER + 12)
#define RB_GETROWCOUNT (WM_USER + 13)
#define RB_GETROWHEIGHT (WM_USER + 14)  // wParam band index
#define RB_IDTOINDEX (WM_USER + 16)     // wParam band id; -1 when none
#define RB_GETBARHEIGHT (WM_USER + 27)
#define RB_GETBANDINFO (WM_USER + 29)  // wParam index, lParam REBARBANDINFO* (cbSize and fMask set)
#define RB_MOVEBAND (WM_USER + 39)     // wParam from, lParam to

#define RBN_FIRST (0U - 831U)
#define RBN_HEIGHTCHANGE (RBN_FIRST - 0)

struct REBARBANDINFO {
  UINT cbSize;
  UINT fMask;
  UINT fStyle;
  COLORREF clrFore;
  COLORREF clrBack;
  LPSTR lpText;
  UINT cch;
  int iImage;
  HWND hwndChild;
  UINT cxMinChild;
  UINT cyMinChild;
  UINT cx;
  HBITMAP hbmBack;
  UINT wID;
  UINT cyChild;
  UINT cyMaxChild;
  UINT cyIntegral;
  UINT cxIdeal;
  LPARAM lParam;
  UINT cxHeader;
};
using LPREBARBANDINFO = REBARBANDINFO*;
#define REBARBANDINFOA REBARBANDINFO
