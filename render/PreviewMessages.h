// Window messages of the slideshow preview. Values are fixed: other windows post them by number.
#pragma once

#include "albums/AlbumMessages.h"

#define WM_PREVIEW_STARTING 0x0752       // preview -> host
#define WM_MENU_PREVIEW_STOPPED 0x0789   // menu preview -> host (sent)
#define WM_MENU_PREVIEW_FINISHED 0x07A6  // menu watcher -> preview
#define WM_PREVIEW_FINISHED 0x08D2       // watcher -> preview, at the natural end of a run
#define WM_PREVIEW_POSITION 0x08D3       // preview -> host: wParam position, lParam total (frames)
#ifndef WM_TV_ASPECT_CHANGED
#define WM_TV_ASPECT_CHANGED 0x08D4
#endif
#define WM_PREVIEW_VIDEO_ALBUM 0x08D5  // preview -> host: wParam album index, lParam the album
#ifndef WM_PAGE_SHOW
#define WM_PAGE_SHOW 0x0589
#endif
#ifndef WM_APP_ACTIVE_CHANGED
#define WM_APP_ACTIVE_CHANGED 0x07D3
#endif
#ifndef WM_PREPARE_PROJECT_SAVE
#define WM_PREPARE_PROJECT_SAVE 0x07FE
#endif
#define WM_PREVIEW_PLAY_BEGIN 0x1F05  // button bars -> preview container
#define WM_PREVIEW_PLAY_CURRENT 0x1F06
#define WM_PREVIEW_STOP 0x1F07

// WM_PREVIEW_ENDED's wParam.
#define PREVIEW_ENDED_NATURAL 6000
#define PREVIEW_ENDED_HIDDEN 8
