// Window messages between the album editor, its sheets and pages, and the windows they tell of
// changes. Values are fixed: other windows post them by number.
#pragma once

#include "platform/base/Messages.h"

#define WM_ALBUM_TAB_SELECTED 0x0610        // photo-album tab strip, wParam = tab
#define WM_PREVIEW_SELECT_ALBUM 0x0611      // wParam album index, lParam 0 stop / nonzero play
#define WM_VIDEO_ALBUM_TAB_SELECTED 0x0612  // video-album tab strip, wParam = tab
#define WM_ADD_PHOTOS_STEP 0x0613           // the album editor to itself: the next files of an add
#define WM_ALBUM_DRAG_DROP 0x0709           // album list button down, wParam keys, lParam screen point
#define WM_ALBUM_BUTTON_BAR 0x0782          // album button bar, wParam = button
#ifndef WM_UPDATE_STATUS_BAR
#define WM_UPDATE_STATUS_BAR 0x07C1  // posted to the main dialog after the project's content changed
#endif
#define WM_STOP_PLAYBACK 0x07D2
#ifndef WM_PROJECT_RELOADED
#define WM_PROJECT_RELOADED 0x07FF
#endif
#define WM_STOP_PREVIEW 0x0800
#define WM_PREVIEW_ENDED 0x0B6D
#ifndef WM_LANGUAGE_CHANGED
#define WM_LANGUAGE_CHANGED 0x12D8
#endif
