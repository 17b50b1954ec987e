#include "render/SlidePictures.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "modules/effects/PanZoom.h"
#include "modules/image/CxImage.h"
#include "modules/log/Log.h"
#include "platform/base/Geometry.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Path.h"
#include "render/PhotoCache.h"

namespace pictavo::render {

namespace {

constexpr COLORREF kPlaceholderBackground = RGB(36, 36, 40);
constexpr COLORREF kPlaceholderText = RGB(200, 200, 200);
constexpr SIZE kNoPhotosSize{768, 576};
// Picture pixels per frame pixel a moving picture is sampled with at its closest zoom.
constexpr double kPanZoomOversample = 1.5;
constexpr double kMaxPanZoomSide = 4096;

// True when the cache's copy (the photo upright, fitted into the cache's size) has every pixel
// a picture fitted into `size` needs once turned by `rotation` degrees.
bool CacheCopyCovers(SIZE size, int rotation) {
  const int turns = ((rotation % 360) + 360) % 360;
  const bool sideways = turns == 90 || turns == 270;
  const LONG w = sideways ? size.cy : size.cx;
  const LONG h = sideways ? size.cx : size.cy;
  return w <= CPhotoCache::kMaxWidth && h <= CPhotoCache::kMaxHeight;
}

struct TextLine {
  CString text;
  int top, bottom;  // rows of the picture, from the top
};

// Draws centred single lines of bold text over a picture.
void DrawLines(CxImage& picture, const TextLine* lines, size_t count, int pixelHeight, COLORREF colour) {
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) return;
  HBITMAP bitmap = picture.MakeBitmap(dc);
  if (bitmap == nullptr) {
    DeleteDC(dc);
    return;
  }
  LOGFONTA logFont{};
  logFont.lfHeight = -pixelHeight;
  logFont.lfWeight = FW_BOLD;
  std::strncpy(logFont.lfFaceName, "DejaVu Sans", sizeof(logFont.lfFaceName) - 1);
  HFONT font = CreateFontIndirectA(&logFont);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HGDIOBJ oldFont = font != nullptr ? SelectObject(dc, font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  const int width = static_cast<int>(picture.GetWidth());
  for (size_t i = 0; i < count; ++i) {
    RECT rect{width / 20, lines[i].top, width - width / 20, lines[i].bottom};
    DrawText(dc, lines[i].text, -1, &rect,
             DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (oldFont != nullptr) SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  picture.CreateFromHBITMAP(bitmap);
  if (font != nullptr) DeleteObject(font);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

}  // namespace

void MakePlaceholderPicture(CxImage& picture, SIZE size, LPCTSTR path) {
  const long w = std::max<long>(size.cx, 16);
  const long h = std::max<long>(size.cy, 16);
  picture.Create(static_cast<DWORD>(w), static_cast<DWORD>(h), 24);
  picture.Fill(kPlaceholderBackground);
  const int lineHeight = static_cast<int>(std::max<long>(h / 10, 8));
  const int mid = static_cast<int>(h / 2);
  const TextLine lines[] = {
      {"This photo cannot be shown:", mid - lineHeight, mid},
      {CString(pictavo::path::FileName(path != nullptr ? path : "")), mid, mid + lineHeight},
  };
  DrawLines(picture, lines, std::size(lines), std::max(lineHeight * 5 / 8, 6), kPlaceholderText);
}

void MakeNoPhotosPicture(CxImage& picture, SIZE size) {
  CxImage art;
  art.Create(kNoPhotosSize.cx, kNoPhotosSize.cy, 24);
  // Dark blue in the top-left corner to light blue in the bottom-right one.
  const int span = kNoPhotosSize.cx + kNoPhotosSize.cy - 2;
  for (long row = 0; row < kNoPhotosSize.cy; ++row) {
    BYTE* bits = art.GetBits(static_cast<DWORD>(kNoPhotosSize.cy - 1 - row));
    for (long x = 0; x < kNoPhotosSize.cx; ++x) {
      const int t = static_cast<int>(x + row);
      bits[3 * x + 0] = static_cast<BYTE>(110 + 130 * t / span);  // blue
      bits[3 * x + 1] = static_cast<BYTE>(30 + 140 * t / span);   // green
      bits[3 * x + 2] = static_cast<BYTE>(10 + 100 * t / span);   // red
    }
  }
  const TextLine lines[] = {
      {"There are no photos in this slideshow.", 228, 268},
      {"To avoid this screen, please add", 268, 308},
      {"your photos in slideshow.", 308, 348},
  };
  DrawLines(art, lines, std::size(lines), 26, RGB(255, 255, 255));
  if (size.cx > 0 && size.cy > 0 && (size.cx != kNoPhotosSize.cx || size.cy != kNoPhotosSize.cy))
    art.Resample(size.cx, size.cy, CXIMAGE_RESAMPLE_NEAREST);
  picture.Transfer(art);
}

SIZE PanZoomPictureSize(SIZE renderSize, const _tagPanZoomWorkParamEx& motion) {
  const bool still = motion.fStartPanX == motion.fEndPanX && motion.fStartPanY == motion.fEndPanY &&
                     motion.fStartZoom == motion.fEndZoom && motion.fStartRotate == motion.fEndRotate &&
                     motion.fStartZoom == 100 && motion.fStartPanX == 0 && motion.fStartPanY == 0 &&
                     motion.fStartRotate == 0;
  if (still || renderSize.cx <= 0 || renderSize.cy <= 0) return renderSize;
  // The closest zoom, never below the fitted picture; but no more than 2 picture pixels per frame
  // pixel at the farthest zoom, beyond which bilinear sampling skips pixels and fine detail
  // shimmers as the picture moves.
  const double closest = std::max({100.0, motion.fStartZoom, motion.fEndZoom}) / 100;
  const double farthest = std::max(100.0, std::min(motion.fStartZoom, motion.fEndZoom)) / 100;
  const double wanted = std::min(closest * kPanZoomOversample, std::max(kPanZoomOversample, 2 * farthest));
  const double longest = static_cast<double>(std::max(renderSize.cx, renderSize.cy));
  const double scale = std::clamp(wanted, 1.0, std::max(1.0, kMaxPanZoomSide / longest));
  return SIZE{static_cast<LONG>(std::lround(renderSize.cx * scale)),
              static_cast<LONG>(std::lround(renderSize.cy * scale))};
}

BOOL LoadSlidePicture(const CDVDAlbumImage& album, int index, CxImage& picture, SIZE size,
                      COLORREF background, bool stills, LPCTSTR logWhat) {
  const CDVDImage* slide = album.GetImage(index);
  const CSize frame(size.cx, size.cy);
  BOOL loaded = FALSE;
  CString file;
  if (slide != nullptr) {
    if (CDVDProject::GetEmVideoEncodeEngine() == 0 && CacheCopyCovers(size, slide->Get_nRotateAngle())) {
      const CString cached = GetPhotoCache()->GetCachedPath(slide->Get_strPathName(), nullptr);
      if (!cached.IsEmpty() && slide->LoadToCxImage(cached, &picture, &frame, background, 1)) {
        loaded = TRUE;
        file = cached;
      }
    }
    if (!loaded) {
      file = slide->Get_strPathName();
      loaded = slide->LoadToCxImage(&picture, &frame, background, 1);
    }
  }
  if (stills)
    WriteLog("%s slide id=%05d %s", logWhat, index, static_cast<LPCTSTR>(file));
  else
    WriteLog("%s slide id=%05d dur=%d %s", logWhat, index,
             slide != nullptr ? slide->Get_nTwoDuration() + slide->Get_nOneDuration() : 0,
             static_cast<LPCTSTR>(file));
  if (!loaded) {
    WriteErrorLog("%s slide id=%05d: %s cannot be read; a placeholder is shown in its place", logWhat, index,
                  static_cast<LPCTSTR>(file));
    MakePlaceholderPicture(picture, size, file);
  }
  return loaded;
}

}  // namespace pictavo::render
