// Turns one photo album into a web album from a template: slide pictures and thumbnails fitted
// into the template's boxes, the template's resources and style sheet, and pages written by the
// template engine. HTML mode writes an optional frameset, index pages with a grid of thumbnails
// and one page per photo; Flash mode writes one index page and slides.xml for a player the
// template brings.
//
// Runs on the web-album worker thread; one generation at a time (the engine state is
// process-wide). Notifications are posted to the settings' progress window.
#pragma once

#include "disc/engines/WebTemplateManager.h"
#include "platform/base/WinTypes.h"

#define WM_WEBALBUM_STOPPED 0x18B1    // every end: success, failure or cancel
#define WM_WEBALBUM_SUCCEEDED 0x18B2  // right after WM_WEBALBUM_STOPPED when the album is complete
#define WM_WEBALBUM_PROGRESS 0x18B3   // wParam: percent of the pictures made

// 0 when the album was written to its end (also after a missing index.htt or slide.htt, which
// the message says); 1 without an album, when cancelled, for a photo that went missing while the
// pages were made, a damaged template or a page that cannot be written; -1 when slides.xml cannot
// be written.
int GenerateWebAlbum(WebAlbumSettings* settings);

// Shows a message of the generator to the user; a message box by default. Tests and tools
// replace it (null restores the default).
using WebAlbumMessageHandler = void (*)(HWND owner, LPCTSTR text);
void SetWebAlbumMessageHandler(WebAlbumMessageHandler handler);
