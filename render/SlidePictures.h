// The pictures the frame encoder puts into its frames besides the effects' own: a slide's photo
// loaded as the video shows it (through the photo cache, with its rotation, adjustments and
// objects), the picture that stands in for a photo that cannot be read, and the picture of an
// album without photos.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

class CDVDAlbumImage;
class CxImage;
struct _tagPanZoomWorkParamEx;

namespace pictavo::render {

// The size to load a slide's photo at when it is shown with `motion` in frames of `renderSize`:
// the render size for a still picture; for a moving one, enough that every frame samples at least
// 1.5 picture pixels per frame pixel at the motion's closest zoom (the bilinear sampling of pan and
// zoom softens any picture it has no spare pixels for), yet no more than 2 at its farthest zoom,
// the long side at most 4096. The frame
// encoder and the preview load with it.
SIZE PanZoomPictureSize(SIZE renderSize, const _tagPanZoomWorkParamEx& motion);

// Loads slide `index` of the album into `picture`, fitted into `size` on `background`: from the
// photo cache's copy when the project lets the encoder use it, there is one and it has the pixels
// `size` needs (turned as the slide is), else from the photo itself. A photo that cannot be read gives the
// placeholder picture (never whatever the picture held before). Logs "Encode slide id=..." with the file
// loaded (and the slide's stored durations unless `stills`). FALSE for the placeholder.
// `logWhat` starts the log line ("Encode", "Preview").
BOOL LoadSlidePicture(const CDVDAlbumImage& album, int index, CxImage& picture, SIZE size,
                      COLORREF background, bool stills = false, LPCTSTR logWhat = "Encode");

// A dark picture of `size` saying that the photo `path` (its file name shown) cannot be read.
void MakePlaceholderPicture(CxImage& picture, SIZE size, LPCTSTR path);
// The picture of an album without photos (768 x 576, a blue diagonal gradient with three
// centred lines of white text), resampled to `size`.
void MakeNoPhotosPicture(CxImage& picture, SIZE size);

}  // namespace pictavo::render
