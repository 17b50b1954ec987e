// The header control ("SysHeader32"): the column titles of a report, with dividers the user drags
// to resize columns and titles that act as buttons.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/comctl/Notify.h"
#include "platform/user/WindowPos.h"

#define WC_HEADERA "SysHeader32"
#define WC_HEADER WC_HEADERA

// Styles.
#define HDS_HORZ 0x0000
#define HDS_BUTTONS 0x0002
#define HDS_HOTTRACK 0x0004
#define HDS_HIDDEN 0x0008
#define HDS_DRAGDROP 0x0040
#define HDS_FULLDRAG 0x0080
#define HDS_FILTERBAR 0x0100
#define HDS_FLAT 0x0200

// Messages.
#define HDM_FIRST 0x1200
#define HDM_GETITEMCOUNT (HDM_FIRST + 0)
#define HDM_INSERTITEMA (HDM_FIRST + 1)
#define HDM_DELETEITEM (HDM_FIRST + 2)
#define HDM_GETITEMA (HDM_FIRST + 3)
#define HDM_SETITEMA (HDM_FIRST + 4)
#define HDM_LAYOUT (HDM_FIRST + 5)
#define HDM_HITTEST (HDM_FIRST + 6)
#define HDM_GETITEMRECT (HDM_FIRST + 7)
#define HDM_SETIMAGELIST (HDM_FIRST + 8)
#define HDM_GETIMAGELIST (HDM_FIRST + 9)
#define HDM_ORDERTOINDEX (HDM_FIRST + 15)
#define HDM_GETORDERARRAY (HDM_FIRST + 17)
#define HDM_SETORDERARRAY (HDM_FIRST + 18)
#define HDM_INSERTITEM HDM_INSERTITEMA
#define HDM_GETITEM HDM_GETITEMA
#define HDM_SETITEM HDM_SETITEMA

// Notifications (the multibyte codes are sent).
#define HDN_ITEMCHANGINGA (HDN_FIRST - 0)
#define HDN_ITEMCHANGEDA (HDN_FIRST - 1)
#define HDN_ITEMCLICKA (HDN_FIRST - 2)
#define HDN_ITEMDBLCLICKA (HDN_FIRST - 3)
#define HDN_DIVIDERDBLCLICKA (HDN_FIRST - 5)
#define HDN_BEGINTRACKA (HDN_FIRST - 6)
#define HDN_ENDTRACKA (HDN_FIRST - 7)
#define HDN_TRACKA (HDN_FIRST - 8)
#define HDN_GETDISPINFOA (HDN_FIRST - 9)
#define HDN_BEGINDRAG (HDN_FIRST - 10)
#define HDN_ENDDRAG (HDN_FIRST - 11)
#define HDN_ITEMCHANGINGW (HDN_FIRST - 20)
#define HDN_ITEMCHANGEDW (HDN_FIRST - 21)
#define HDN_ITEMCLICKW (HDN_FIRST - 22)
#define HDN_ITEMDBLCLICKW (HDN_FIRST - 23)
#define HDN_DIVIDERDBLCLICKW (HDN_FIRST - 25)
#define HDN_BEGINTRACKW (HDN_FIRST - 26)
#define HDN_ENDTRACKW (HDN_FIRST - 27)
#define HDN_TRACKW (HDN_FIRST - 28)
#define HDN_ITEMCHANGING HDN_ITEMCHANGINGA
#define HDN_ITEMCHANGED HDN_ITEMCHANGEDA
#define HDN_ITEMCLICK HDN_ITEMCLICKA
#define HDN_ITEMDBLCLICK HDN_ITEMDBLCLICKA
#define HDN_DIVIDERDBLCLICK HDN_DIVIDERDBLCLICKA
#define HDN_BEGINTRACK HDN_BEGINTRACKA
#define HDN_ENDTRACK HDN_ENDTRACKA
#define HDN_TRACK HDN_TRACKA

// HDITEM::mask.
#define HDI_WIDTH 0x0001
#define HDI_HEIGHT HDI_WIDTH
#define HDI_TEXT 0x0002
#define HDI_FORMAT 0x0004
#define HDI_LPARAM 0x0008
#define HDI_BITMAP 0x0010
#define HDI_IMAGE 0x0020
#define HDI_DI_SETITEM 0x0040
#define HDI_ORDER 0x0080

// HDITEM::fmt.
#define HDF_LEFT 0x0000
#define HDF_RIGHT 0x0001
#define HDF_CENTER 0x0002
#define HDF_JUSTIFYMASK 0x0003
#define HDF_RTLREADING 0x0004
#define HDF_SORTDOWN 0x0200
#define HDF_SORTUP 0x0400
#define HDF_IMAGE 0x0800
#define HDF_BITMAP_ON_RIGHT 0x1000
#define HDF_BITMAP 0x2000
#define HDF_STRING 0x4000
#define HDF_OWNERDRAW 0x8000

// Hit tests.
#define HHT_NOWHERE 0x0001
#define HHT_ONHEADER 0x0002
#define HHT_ONDIVIDER 0x0004
#define HHT_ONDIVOPEN 0x0008
#define HHT_ABOVE 0x0100
#define HHT_BELOW 0x0200
#define HHT_TORIGHT 0x0400
#define HHT_TOLEFT 0x0800

// Owner-drawn header items (WM_DRAWITEM).
#define ODT_HEADER 100

struct HDITEMA {
  UINT mask;
  int cxy;
  LPSTR pszText;
  HBITMAP hbm;
  int cchTextMax;
  int fmt;
  LPARAM lParam;
  int iImage;
  int iOrder;
};
using HDITEM = HDITEMA;
using HD_ITEM = HDITEMA;
using LPHDITEM = HDITEMA*;

// HDM_LAYOUT: prc is the parent's rectangle; the header takes its top and gives its position.
struct HDLAYOUT {
  RECT* prc;
  WINDOWPOS* pwpos;
};
using HD_LAYOUT = HDLAYOUT;
using LPHDLAYOUT = HDLAYOUT*;

struct HDHITTESTINFO {
  POINT pt;
  UINT flags;
  int iItem;
};
using HD_HITTESTINFO = HDHITTESTINFO;
using LPHDHITTESTINFO = HDHITTESTINFO*;

struct NMHEADERA {
  NMHDR hdr;
  int iItem;
  int iButton;  // 0 left, 1 right, 2 middle
  HDITEMA* pitem;
};
using NMHEADER = NMHEADERA;
using HD_NOTIFY = NMHEADERA;
using LPNMHEADER = NMHEADERA*;
