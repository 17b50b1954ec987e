// What the photo list shows and decides, kept apart from the page's window: the texts of a row,
// what a drop of slides does, and how the album's current slide follows the list's selection.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

class CDVDImage;

// Columns of the photo list.
enum PhotoListColumn {
  kPhotoColumnNumber = 0,
  kPhotoColumnName = 1,
  kPhotoColumnSize = 2,
  kPhotoColumnDate = 3,
  kPhotoColumnDimensions = 4,
  kPhotoColumnPath = 5,
  kPhotoColumnCount = 6
};

// "0001" for the first slide.
CString PhotoRowNumberText(int index);
// The width padded to five characters, then " x " and the height: "  640 x 480".
CString PhotoDimensionsText(int width, int height);
// Kilobytes rounded up with a comma between groups of three digits: "1,234 KB".
CString PhotoSizeText(unsigned long long bytes);
// The file name and the folder of a slide's path, split at its last separator (either slash);
// without one the name is empty and the folder is the whole path.
void SplitPhotoPath(const CString& path, CString* name, CString* folder);

// What releasing a slide drag does.
enum class PhotoDropAction {
  kNone,         // not over a target, or not our drag
  kMoveInList,   // reorder within the list
  kCopyInList,   // Ctrl held: copies placed at the row
  kToAlbumList,  // to another album, moved or (Ctrl) copied by the album editor
};
PhotoDropAction DecidePhotoDrop(HWND source, HWND target, HWND photoList, HWND albumList);
inline BOOL IsCopyDrop(UINT keyFlags) {
  return (keyFlags & 0x0008) != 0;  // MK_CONTROL
}

// The album's current slide after a row's selected state changed from `oldState` to `newState`
// (list item states): the row's slide when it gained the selection, null when it lost it, else
// `current` unchanged.
CDVDImage* TrackCurrentSlide(CDVDImage* current, CDVDImage* rowSlide, UINT oldState, UINT newState);

// What the enabling of the photo list's menu items depends on.
struct PhotoMenuFacts {
  int rows = 0;
  int selected = 0;
  BOOL singleSelectionIsPhoto = FALSE;  // exactly one row selected, with a slide of type photo
  BOOL pageVisible = TRUE;
  BOOL optionsHasCurrentSlide =
      FALSE;  // page hidden: the options page shows and the album has a current slide
  BOOL loaderRunning = FALSE;
};
// 1 enabled, 0 grayed, -1 a command the photo list leaves alone.
int PhotoCommandEnabled(UINT id, const PhotoMenuFacts& facts);

// The colour of palette entry 1..16 of the blank-slide menu; CLR_INVALID outside.
COLORREF BlankSlidePaletteColour(int index);
// A picture file a blank slide may show (.bmp .jpg .jpeg .pcx .tif .tiff .png, any case).
BOOL IsBlankSlidePicture(const CString& path);
