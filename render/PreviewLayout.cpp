#include "render/PreviewLayout.h"

#include <algorithm>

#include "modules/data/DVDAlbumImage.h"

namespace pictavo::render {

SIZE PreviewFrameSize(int w, int h) {
  if (w <= 0) return SIZE{w, h};
  const double ratio = static_cast<double>(h) / w;
  if (w > 1024) {
    h = static_cast<int>(ratio * 1024);
    w = 1024;
  }
  if (h > 768) {
    h = 768;
    w = static_cast<int>(768 / ratio);
  }
  return SIZE{w, h};
}

int RoundPreviewWidth(int w) {
  return (w + 3) & ~3;
}

DWORD PreviewMusicStart(const CDVDAlbumImage& album, bool fromBeginning) {
  if (fromBeginning) return 0;
  const int k = album.m_pCurImage != nullptr ? album.IndexOf(album.m_pCurImage) : -1;
  if (k != -1 && k != 0)
    return static_cast<DWORD>(album.Get_nSlideshowTimePos(k) + album.Get_nTitleDuration()) * 1000u;
  if (album.m_bCreditActive)
    return static_cast<DWORD>(album.Get_nSlideshowLen(-1) + album.Get_nTitleDuration()) * 1000u;
  return 0;
}

namespace {
// The largest box of the aspect within w x h, held between the smallest and the largest size.
SIZE FitBox(int w, int h, bool wide, int widest, int widestHigh) {
  const int ax = wide ? 16 : 4;
  const int ay = wide ? 9 : 3;
  const int k = std::min(w / ax, h / ay);
  SIZE box{k * ax, k * ay};
  if (box.cx > widest) box = SIZE{widest, widestHigh};
  if (box.cx < 256) box = SIZE{256, wide ? 144 : 192};
  return box;
}
}  // namespace

PreviewPlacement FitAlbumSheetPreview(const RECT& placeholder, bool wide) {
  const int w = placeholder.right - placeholder.left;
  const int h = placeholder.bottom - placeholder.top;
  const SIZE box = FitBox(w - 128, h, wide, wide ? 640 : 512, wide ? 360 : 384);
  int x = (w - box.cx) / 2;
  if (x < 0) x = 20;
  const int y = (h - box.cy) / 2;
  PreviewPlacement placement{};
  placement.preview = RECT{x, y, x + box.cx, y + box.cy};
  placement.buttonsLeft = x + box.cx + 40;
  placement.buttonsTop = placeholder.top + (h - 240) / 2;
  return placement;
}

RECT FitPhotoPagePreview(int cx, int cy, bool wide) {
  const SIZE box = FitBox(cx - 80, cy - 60, wide, wide ? 592 : 512, wide ? 333 : 384);
  int x = (cx - box.cx) / 2;
  if (x < 0) x = 20;
  const int y = (cy - box.cy) / 2;
  return RECT{x, y, x + box.cx, y + box.cy};
}

}  // namespace pictavo::render
