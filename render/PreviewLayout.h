// The preview's arithmetic, apart from its windows: the frame size a window plays at, the width
// the renderer rounds to, where the music starts, and how the preview pages fit the preview.
#pragma once

#include "platform/base/WinTypes.h"

class CDVDAlbumImage;

namespace pictavo::render {

// The frame size of a status window of w x h: within 1024 x 768, the aspect kept.
// 1280 x 720 -> 1024 x 576; 800 x 1000 -> 614 x 768; 700 x 500 stays.
SIZE PreviewFrameSize(int w, int h);
// Frame rows without filler bytes: 701 -> 704, 700 -> 700.
int RoundPreviewWidth(int w);
// Milliseconds into the album's music a run starts at: 0 from the beginning or at the first
// slide or the titles; at slide k, (its time + the titles) x 1000; with the credits current,
// (the slides + the titles) x 1000.
DWORD PreviewMusicStart(const CDVDAlbumImage& album, bool fromBeginning);

// Where the album sheet's preview page puts the preview and its three buttons, from the
// placeholder's rectangle (page client coordinates) and the 16:9 option.
struct PreviewPlacement {
  RECT preview;  // the preview window
  int buttonsLeft;
  int buttonsTop;  // the first button's top; the others 96 and 192 below
};
PreviewPlacement FitAlbumSheetPreview(const RECT& placeholder, bool wide);
// The photo configuration dialog's preview area in a page of cx x cy.
RECT FitPhotoPagePreview(int cx, int cy, bool wide);

}  // namespace pictavo::render
