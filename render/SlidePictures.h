// The pictures the frame encoder puts into its frames besides the effects' own: a slide's photo
// loaded as the video shows it (through the photo cache, with its rotation, adjustments and
// objects), the picture that stands in for a photo that cannot be read, and the picture of an
// album without photos.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

class CDVDAlbumImage;
class CxImage;

namespace pictavo::render {

// Loads slide `index` of the album into `picture`, fitted into `size` on `background`: from the
// photo cache's copy when the project lets the encoder use it and there is one, else from the
// photo itself. A photo that cannot be read gives the placeholder picture (never whatever the
// picture held before). Logs "Encode slide id=..." with the file loaded (and the slide's stored
// durations unless `stills`). FALSE for the placeholder.
BOOL LoadSlidePicture(const CDVDAlbumImage& album, int index, CxImage& picture, SIZE size,
                      COLORREF background, bool stills = false);

// A dark picture of `size` saying that the photo `path` (its file name shown) cannot be read.
void MakePlaceholderPicture(CxImage& picture, SIZE size, LPCTSTR path);
// The picture of an album without photos (768 x 576, a blue diagonal gradient with three
// centred lines of white text), resampled to `size`.
void MakeNoPhotosPicture(CxImage& picture, SIZE size);

}  // namespace pictavo::render
