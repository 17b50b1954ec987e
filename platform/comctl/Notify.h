// What every common control shares (NMHDR itself is in base/Messages.h): custom draw, the notification code
// ranges, the common control styles and messages, and the callback markers of item records.
#pragma once

#include "platform/base/Messages.h"
#include "platform/base/WinTypes.h"

// Code ranges of the controls (NM_* themselves are in base/Messages.h).
#define LVN_FIRST (0U - 100U)
#define LVN_LAST (0U - 199U)
#define HDN_FIRST (0U - 300U)
#define HDN_LAST (0U - 399U)
#define TVN_FIRST (0U - 400U)
#define TVN_LAST (0U - 499U)
#define TTN_FIRST (0U - 520U)
#define TTN_LAST (0U - 549U)
#define TCN_FIRST (0U - 550U)
#define TCN_LAST (0U - 580U)
#define UDN_FIRST (0U - 721U)
#define UDN_LAST (0U - 729U)
#define SBN_FIRST (0U - 880U)
#define SBN_LAST (0U - 899U)
#define TRBN_FIRST (0U - 1501U)
#define TRBN_LAST (0U - 1519U)

// Messages every control takes.
#define CCM_FIRST 0x2000
#define CCM_SETBKCOLOR (CCM_FIRST + 1)
#define CCM_SETCOLORSCHEME (CCM_FIRST + 2)
#define CCM_GETCOLORSCHEME (CCM_FIRST + 3)
#define CCM_GETDROPTARGET (CCM_FIRST + 4)
#define CCM_SETUNICODEFORMAT (CCM_FIRST + 5)
#define CCM_GETUNICODEFORMAT (CCM_FIRST + 6)
#define CCM_SETVERSION (CCM_FIRST + 7)
#define CCM_GETVERSION (CCM_FIRST + 8)
#define CCM_SETNOTIFYWINDOW (CCM_FIRST + 9)

// Styles of the bars that place themselves along their parent (status bar).
#define CCS_TOP 0x00000001
#define CCS_NOMOVEY 0x00000002
#define CCS_BOTTOM 0x00000003
#define CCS_NORESIZE 0x00000004
#define CCS_NOPARENTALIGN 0x00000008
#define CCS_ADJUSTABLE 0x00000020
#define CCS_NODIVIDER 0x00000040
#define CCS_VERT 0x00000080

// Item records: the text or image is asked from the parent (LVN_/TVN_GETDISPINFO, TTN_GETDISPINFO).
#define LPSTR_TEXTCALLBACKA (reinterpret_cast<LPSTR>(static_cast<intptr_t>(-1)))
#define LPSTR_TEXTCALLBACK LPSTR_TEXTCALLBACKA
#define I_IMAGECALLBACK (-1)
#define I_IMAGENONE (-2)
#define I_CHILDRENCALLBACK (-1)
#define INFOTIPSIZE 1024

// The overlay image (bits 8-11) and state image (bits 12-15) of an item's state.
#define INDEXTOOVERLAYMASK(i) (static_cast<UINT>(i) << 8)
#define INDEXTOSTATEIMAGEMASK(i) (static_cast<UINT>(i) << 12)

// Custom draw (NM_CUSTOMDRAW): the stage and the answers.
#define CDDS_PREPAINT 0x00000001
#define CDDS_POSTPAINT 0x00000002
#define CDDS_PREERASE 0x00000003
#define CDDS_POSTERASE 0x00000004
#define CDDS_ITEM 0x00010000
#define CDDS_ITEMPREPAINT (CDDS_ITEM | CDDS_PREPAINT)
#define CDDS_ITEMPOSTPAINT (CDDS_ITEM | CDDS_POSTPAINT)
#define CDDS_ITEMPREERASE (CDDS_ITEM | CDDS_PREERASE)
#define CDDS_ITEMPOSTERASE (CDDS_ITEM | CDDS_POSTERASE)
#define CDDS_SUBITEM 0x00020000
#define CDRF_DODEFAULT 0x00000000
#define CDRF_NEWFONT 0x00000002
#define CDRF_SKIPDEFAULT 0x00000004
#define CDRF_DOERASE 0x00000008
#define CDRF_SKIPPOSTPAINT 0x00000100
#define CDRF_NOTIFYPOSTPAINT 0x00000010
#define CDRF_NOTIFYITEMDRAW 0x00000020
#define CDRF_NOTIFYSUBITEMDRAW 0x00000020
#define CDRF_NOTIFYPOSTERASE 0x00000040
#define CDIS_SELECTED 0x0001
#define CDIS_GRAYED 0x0002
#define CDIS_DISABLED 0x0004
#define CDIS_CHECKED 0x0008
#define CDIS_FOCUS 0x0010
#define CDIS_DEFAULT 0x0020
#define CDIS_HOT 0x0040
#define CDIS_MARKED 0x0080
#define CDIS_INDETERMINATE 0x0100
#define CDIS_SHOWKEYBOARDCUES 0x0200
#define CDIS_NEARHOT 0x0400
#define CDIS_OTHERSIDEHOT 0x0800
#define CDIS_DROPHILITED 0x1000

struct NMCUSTOMDRAW {
  NMHDR hdr;
  DWORD dwDrawStage;
  HDC hdc;
  RECT rc;
  DWORD_PTR dwItemSpec;  // the item index, or the tree item handle
  UINT uItemState;       // CDIS_*
  LPARAM lItemlParam;
};
using LPNMCUSTOMDRAW = NMCUSTOMDRAW*;

// NM_CLICK / NM_DBLCLK / NM_RCLICK of controls without item records of their own.
struct NMMOUSE {
  NMHDR hdr;
  DWORD_PTR dwItemSpec;
  DWORD_PTR dwItemData;
  POINT pt;
  LPARAM dwHitInfo;
};
using LPNMMOUSE = NMMOUSE*;

// NM_KEYDOWN.
struct NMKEY {
  NMHDR hdr;
  UINT nVKey;
  UINT uFlags;
};
using LPNMKEY = NMKEY*;
