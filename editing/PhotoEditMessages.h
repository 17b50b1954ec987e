// Window messages of the photo editor: between the photo configuration dialog, its canvas and its
// operation pages. Values are fixed: the windows post them to each other by number.
#pragma once

#include "platform/base/Messages.h"

#define WM_PHOTO_OPER_TAB 0x0901           // tab strip to the dialog, wParam = tab
#define WM_SPRITE_SELECTED 0x0902          // canvas to the dialog: the user picked an object
#define WM_PHOTO_INTENSITY_CHANGED 0x0903  // to the canvas, lParam the CDVDImage
#define WM_PHOTO_ROTATED 0x0904            // to the canvas, wParam 90/180/270, lParam the CDVDImage
#define WM_REDRAW_PHOTO_ROWS 0x0905        // the dialog to itself: repaint the selected rows
#define WM_PHOTO_NAV_BUTTON 0x0A01         // navigation bar, wParam = button
#define WM_PHOTO_PREVIEW_PLAY 0x0A02       // play bar
#define WM_PHOTO_PREVIEW_STOP 0x0A03       // stop bar
#define WM_TEXT_FONT_CHANGED 0x06B4        // wParam a _DVDImageTextFont*
#define WM_FILL_PHOTO_LIST 0x1020          // the dialog to itself when shown
#define WM_PANZOOM_PREVIEW_DRAGGED 0x18A7  // pan-and-zoom preview to its page, wParam id, lParam params

// Text macro commands of the "_text_macro" menu (MENU 237): command - 32823 is the macro index.
#define ID_TEXT_MACRO_FIRST 32823
#define ID_TEXT_MACRO_LAST 32831
