// The tooltip control ("tooltips_class32"): a top-level pop-up that shows a tool's text when the
// mouse rests over it. Its owner relays mouse messages to it (TTM_RELAYEVENT), or the tool
// window is subclassed (TTF_SUBCLASS); tracking tips are placed by the program.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/comctl/Notify.h"

#define TOOLTIPS_CLASSA "tooltips_class32"
#define TOOLTIPS_CLASS TOOLTIPS_CLASSA

// Styles.
#define TTS_ALWAYSTIP 0x01
#define TTS_NOPREFIX 0x02
#define TTS_NOANIMATE 0x10
#define TTS_NOFADE 0x20
#define TTS_BALLOON 0x40
#define TTS_CLOSE 0x80

// TOOLINFO::uFlags.
#define TTF_IDISHWND 0x0001
#define TTF_CENTERTIP 0x0002
#define TTF_RTLREADING 0x0004
#define TTF_SUBCLASS 0x0010
#define TTF_TRACK 0x0020
#define TTF_ABSOLUTE 0x0080
#define TTF_TRANSPARENT 0x0100
#define TTF_PARSELINKS 0x1000
#define TTF_DI_SETITEM 0x8000

// TTM_SETDELAYTIME / TTM_GETDELAYTIME.
#define TTDT_AUTOMATIC 0
#define TTDT_RESHOW 1
#define TTDT_AUTOPOP 2
#define TTDT_INITIAL 3

// Messages.
#define TTM_ACTIVATE (WM_USER + 1)
#define TTM_SETDELAYTIME (WM_USER + 3)
#define TTM_ADDTOOLA (WM_USER + 4)
#define TTM_DELTOOLA (WM_USER + 5)
#define TTM_NEWTOOLRECTA (WM_USER + 6)
#define TTM_RELAYEVENT (WM_USER + 7)  // lParam: the MSG
#define TTM_GETTOOLINFOA (WM_USER + 8)
#define TTM_SETTOOLINFOA (WM_USER + 9)
#define TTM_HITTESTA (WM_USER + 10)
#define TTM_GETTEXTA (WM_USER + 11)
#define TTM_UPDATETIPTEXTA (WM_USER + 12)
#define TTM_GETTOOLCOUNT (WM_USER + 13)
#define TTM_ENUMTOOLSA (WM_USER + 14)
#define TTM_GETCURRENTTOOLA (WM_USER + 15)
#define TTM_WINDOWFROMPOINT (WM_USER + 16)
#define TTM_TRACKACTIVATE (WM_USER + 17)  // wParam TRUE/FALSE, lParam the TOOLINFO naming the tool
#define TTM_TRACKPOSITION (WM_USER + 18)  // lParam MAKELPARAM(x, y), screen coordinates
#define TTM_SETTIPBKCOLOR (WM_USER + 19)
#define TTM_SETTIPTEXTCOLOR (WM_USER + 20)
#define TTM_GETDELAYTIME (WM_USER + 21)
#define TTM_GETTIPBKCOLOR (WM_USER + 22)
#define TTM_GETTIPTEXTCOLOR (WM_USER + 23)
#define TTM_SETMAXTIPWIDTH (WM_USER + 24)
#define TTM_GETMAXTIPWIDTH (WM_USER + 25)
#define TTM_SETMARGIN (WM_USER + 26)
#define TTM_GETMARGIN (WM_USER + 27)
#define TTM_POP (WM_USER + 28)
#define TTM_UPDATE (WM_USER + 29)
#define TTM_GETBUBBLESIZE (WM_USER + 30)
#define TTM_ADJUSTRECT (WM_USER + 31)
#define TTM_POPUP (WM_USER + 34)
#define TTM_ADDTOOL TTM_ADDTOOLA
#define TTM_DELTOOL TTM_DELTOOLA
#define TTM_NEWTOOLRECT TTM_NEWTOOLRECTA
#define TTM_GETTOOLINFO TTM_GETTOOLINFOA
#define TTM_SETTOOLINFO TTM_SETTOOLINFOA
#define TTM_HITTEST TTM_HITTESTA
#define TTM_GETTEXT TTM_GETTEXTA
#define TTM_UPDATETIPTEXT TTM_UPDATETIPTEXTA
#define TTM_ENUMTOOLS TTM_ENUMTOOLSA
#define TTM_GETCURRENTTOOL TTM_GETCURRENTTOOLA

// Notifications, sent to the window of the tool (TOOLINFO::hwnd) with idFrom = the tool's id.
#define TTN_GETDISPINFOA (TTN_FIRST - 0)
#define TTN_SHOW (TTN_FIRST - 1)  // return TRUE when the handler placed the tip itself
#define TTN_POP (TTN_FIRST - 2)
#define TTN_LINKCLICK (TTN_FIRST - 3)
#define TTN_GETDISPINFOW (TTN_FIRST - 10)
#define TTN_GETDISPINFO TTN_GETDISPINFOA
#define TTN_NEEDTEXTA TTN_GETDISPINFOA
#define TTN_NEEDTEXTW TTN_GETDISPINFOW
#define TTN_NEEDTEXT TTN_NEEDTEXTA

struct TOOLINFOA {
  UINT cbSize;
  UINT uFlags;
  HWND hwnd;     // the window the tool belongs to (gets the notifications)
  UINT_PTR uId;  // the tool's id, or its window with TTF_IDISHWND
  RECT rect;     // in hwnd's client coordinates (not with TTF_IDISHWND)
  HINSTANCE hinst;
  LPSTR lpszText;  // text, LPSTR_TEXTCALLBACK, or a string resource id with hinst
  LPARAM lParam;
  void* lpReserved;
};
using TOOLINFO = TOOLINFOA;
using TTTOOLINFO = TOOLINFOA;
using LPTOOLINFO = TOOLINFOA*;
// The sizes older callers pass in cbSize.
#define TTTOOLINFOA_V1_SIZE (offsetof(TOOLINFOA, lParam))
#define TTTOOLINFOA_V2_SIZE (offsetof(TOOLINFOA, lpReserved))
#define TTTOOLINFO_V1_SIZE TTTOOLINFOA_V1_SIZE

struct TTHITTESTINFOA {
  HWND hwnd;
  POINT pt;
  TOOLINFOA ti;
};
using TTHITTESTINFO = TTHITTESTINFOA;
using LPTTHITTESTINFO = TTHITTESTINFOA*;

// TTN_GETDISPINFO: the handler sets lpszText (to its own text or szText), or a string resource id
// with hinst; TTF_DI_SETITEM in uFlags keeps the text for the tool.
struct NMTTDISPINFOA {
  NMHDR hdr;
  LPSTR lpszText;
  char szText[80];
  HINSTANCE hinst;
  UINT uFlags;
  LPARAM lParam;
};
using NMTTDISPINFO = NMTTDISPINFOA;
using TOOLTIPTEXT = NMTTDISPINFOA;
using TOOLTIPTEXTA = NMTTDISPINFOA;
using LPNMTTDISPINFO = NMTTDISPINFOA*;
using LPTOOLTIPTEXT = NMTTDISPINFOA*;
