// Internal: composing an image list image as a drawing style asks, shared by drawing, icons and
// drag images.
#pragma once

#include "platform/comctl/ImageListData.h"

namespace pictavo::comctl::detail {

struct DrawSpec {
  UINT style = ILD_NORMAL;
  COLORREF bk = CLR_NONE;  // resolved: CLR_NONE means transparent
  COLORREF fg = 0;         // resolved blend colour
  DWORD state = ILS_NORMAL;
  BYTE alpha = 255;  // with ILS_ALPHA
  int xBitmap = 0;
  int yBitmap = 0;
  int cx = 0;
  int cy = 0;
};

// The image (and its overlay) as a straight-alpha picture of cx x cy; the list's lock is held.
Picture ComposeImage(const ImageListData& list, int index, const DrawSpec& spec);

}  // namespace pictavo::comctl::detail
