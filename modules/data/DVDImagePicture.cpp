// The slide's picture: loading, turning, adjusting and fitting into a frame.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "modules/data/DrawSupport.h"
#include "modules/data/PictureOps.h"
#include "modules/data/TextMacro.h"
#include "modules/image/CxImage.h"
#include "platform/kernel/Path.h"

namespace {

int PhotoScaleModeOf(const CDVDAlbumImage* album) {
  const CDVDProject* project =
      album != nullptr && album->GetProject() != nullptr ? album->GetProject() : GetProject();
  return project->Get_nPhotoScaleMode();
}

// A picture of `size` in one colour.
bool MakePlain(CxImage& picture, const SIZE& size, COLORREF colour) {
  if (size.cx <= 0 || size.cy <= 0) return false;
  if (picture.Create(static_cast<DWORD>(size.cx), static_cast<DWORD>(size.cy), 24) == nullptr) return false;
  picture.Fill(colour);
  return true;
}

// Fills the pixels of a bottom-up 24-bit picture's display rows [top, bottom) outside the
// columns [left, right) with `colour`.
void FillAround(CxImage& picture, long top, long bottom, long left, long right, COLORREF colour) {
  const long width = static_cast<long>(picture.GetWidth());
  const long height = static_cast<long>(picture.GetHeight());
  const BYTE pixel[3] = {GetBValue(colour), GetGValue(colour), GetRValue(colour)};
  std::vector<BYTE> row(static_cast<size_t>(width) * 3);
  for (long x = 0; x < width; ++x) std::memcpy(&row[static_cast<size_t>(x) * 3], pixel, 3);
  for (long r = std::max(0L, top); r < std::min(height, bottom); ++r) {
    BYTE* bits = picture.GetBits(static_cast<DWORD>(height - 1 - r));
    if (bits == nullptr) continue;
    std::memcpy(bits, row.data(), static_cast<size_t>(std::clamp(left, 0L, width)) * 3);
    const long from = std::clamp(right, 0L, width);
    std::memcpy(bits + from * 3, row.data(), static_cast<size_t>(width - from) * 3);
  }
}

// Puts `source` into a frame of `size` on `background`, placed by CalcZoomRect. Only the
// frame's pixels the picture leaves are filled: a moving slide's picture is large, and it is
// loaded while frames are made.
bool FitIntoFrame(CxImage& picture, const SIZE& size, COLORREF background, int mode) {
  if (size.cx <= 0 || size.cy <= 0) return false;
  const RECT frameRect{0, 0, size.cx, size.cy};
  const SIZE pictureSize{static_cast<LONG>(picture.GetWidth()), static_cast<LONG>(picture.GetHeight())};
  RECT place{};
  RECT visible{};
  if (!CDVDImage::CalcZoomRect(frameRect, pictureSize, &place, mode) ||
      !IntersectRect(&visible, &place, &frameRect)) {
    return MakePlain(picture, size, background);
  }
  // The part of the picture the visible part of the placement shows.
  const double sx = static_cast<double>(pictureSize.cx) / (place.right - place.left);
  const double sy = static_cast<double>(pictureSize.cy) / (place.bottom - place.top);
  RECT crop{static_cast<LONG>(std::floor((visible.left - place.left) * sx)),
            static_cast<LONG>(std::floor((visible.top - place.top) * sy)),
            static_cast<LONG>(std::ceil((visible.right - place.left) * sx)),
            static_cast<LONG>(std::ceil((visible.bottom - place.top) * sy))};
  crop.right = std::min(crop.right, pictureSize.cx);
  crop.bottom = std::min(crop.bottom, pictureSize.cy);
  const bool whole =
      crop.left == 0 && crop.top == 0 && crop.right == pictureSize.cx && crop.bottom == pictureSize.cy;
  if (!whole) picture.Crop(crop);
  const long w = visible.right - visible.left;
  const long h = visible.bottom - visible.top;
  // Bicubic keeps the fine detail an averaging shrink smears (pan and zoom magnifies it later).
  if (static_cast<long>(picture.GetWidth()) != w || static_cast<long>(picture.GetHeight()) != h)
    picture.Resample(w, h, CXIMAGE_RESAMPLE_BICUBIC);
  if (w == size.cx && h == size.cy && picture.IsValid() && !picture.AlphaIsValid() &&
      static_cast<long>(picture.GetWidth()) == w && static_cast<long>(picture.GetHeight()) == h)
    return true;  // the picture is the frame
  CxImage frame;
  if (frame.Create(static_cast<DWORD>(size.cx), static_cast<DWORD>(size.cy), 24) == nullptr) return false;
  FillAround(frame, 0, visible.top, 0, 0, background);
  FillAround(frame, visible.top, visible.bottom, visible.left, visible.right, background);
  FillAround(frame, visible.bottom, size.cy, 0, 0, background);
  // Rows are stored bottom-up: display row r is DIB row height - 1 - r.
  const DWORD rowBytes = static_cast<DWORD>(w) * 3;
  for (long r = 0; r < h; ++r) {
    BYTE* to = frame.GetBits(static_cast<DWORD>(size.cy - 1 - (visible.top + r))) + visible.left * 3;
    const BYTE* from = picture.GetBits(static_cast<DWORD>(h - 1 - r));
    if (from != nullptr)
      std::memcpy(to, from, rowBytes);
    else
      FillAround(frame, visible.top + r, visible.top + r + 1, 0, 0, background);  // nothing to show there
  }
  picture.Transfer(frame);
  return true;
}

}  // namespace

namespace pictavo::data {

// Applies an EXIF orientation (1..8) so that the picture shows upright.
void ApplyOrientation(CxImage& picture, int orientation) {
  switch (orientation) {
    case 2:
      picture.Mirror();
      break;
    case 3:
      picture.Rotate180();
      break;
    case 4:
      picture.Flip();
      break;
    case 5:
      picture.RotateRight();
      picture.Mirror();
      break;
    case 6:
      picture.RotateRight();
      break;
    case 7:
      picture.RotateLeft();
      picture.Mirror();
      break;
    case 8:
      picture.RotateLeft();
      break;
    default:
      break;
  }
}

void ApplyRotation(CxImage& picture, int degrees) {
  int angle = degrees % 360;
  if (angle < 0) angle += 360;
  switch (angle) {
    case 0:
      break;
    case 90:
      picture.RotateRight();
      break;
    case 180:
      picture.Rotate180();
      break;
    case 270:
      picture.RotateLeft();
      break;
    default:
      picture.Rotate(static_cast<float>(angle));
      break;
  }
}

bool ApplyIntensity(CxImage& picture, const _tagPhotoIntensityParam& p) {
  if (!picture.IsValid()) return false;
  if (p.IsDefaultValue()) return true;
  bool ok = true;
  if (p.nBrightness != 0 || p.nContrast != 0) ok &= picture.Light(p.nBrightness, p.nContrast);
  if (p.nGamma != _tagPhotoIntensityParam::kNeutralGamma)
    ok &= picture.Gamma(static_cast<float>(p.GammaFactor()));
  if (p.nCyanRed != 0 || p.nMagentaGreen != 0 || p.nYellowBlue != 0)
    ok &= picture.ShiftRGB(p.nCyanRed, p.nMagentaGreen, p.nYellowBlue);
  return ok;
}

}  // namespace pictavo::data

using pictavo::data::ApplyOrientation;
using pictavo::data::ApplyRotation;

BOOL CDVDImage::CalcZoomRect(const RECT& frame, const SIZE& picture, RECT* result, int mode) {
  if (result == nullptr) return FALSE;
  const long fw = frame.right - frame.left;
  const long fh = frame.bottom - frame.top;
  if (fw <= 0 || fh <= 0 || picture.cx <= 0 || picture.cy <= 0) {
    *result = frame;
    return FALSE;
  }
  bool fill = mode == 2;
  if (mode == 0) fill = GetProject()->Get_nPhotoScaleMode() == 1;
  // Scale so that the picture fits inside (fit) or covers (fill) the frame.
  const double scaleW = static_cast<double>(fw) / picture.cx;
  const double scaleH = static_cast<double>(fh) / picture.cy;
  const double scale = fill ? std::max(scaleW, scaleH) : std::min(scaleW, scaleH);
  const long w = std::max<long>(1, std::lround(picture.cx * scale));
  const long h = std::max<long>(1, std::lround(picture.cy * scale));
  result->left = frame.left + (fw - w) / 2;
  result->top = frame.top + (fh - h) / 2;
  result->right = result->left + w;
  result->bottom = result->top + h;
  return TRUE;
}

BOOL CDVDImage::ResizeXImage(const CxImage* source, COLORREF background, int width, int height,
                             CxImage* output, double, double, int) {
  if (source == nullptr || output == nullptr || !source->IsValid() || width <= 0 || height <= 0) return FALSE;
  CxImage copy(*source);
  if (!FitIntoFrame(copy, SIZE{width, height}, background, 0)) return FALSE;
  output->Transfer(copy);
  return TRUE;
}

BOOL CDVDImage::CreateBlankImage(LPCTSTR path, COLORREF colour, int width, int height) {
  CxImage picture;
  if (path == nullptr || !MakePlain(picture, SIZE{width, height}, colour)) return FALSE;
  return picture.Save(path, CXIMAGE_FORMAT_JPG) ? TRUE : FALSE;
}

BOOL CDVDImage::PerformIntensity(CxImage* picture) const {
  if (picture == nullptr || !picture->IsValid()) return FALSE;
  if (!m_pIntensityParam) return TRUE;
  return pictavo::data::ApplyIntensity(*picture, *m_pIntensityParam) ? TRUE : FALSE;
}

BOOL CDVDImage::UpdateAutoAdjustImage(CxImage* picture) const {
  if (picture == nullptr || !picture->IsValid()) return FALSE;
  if (!m_bAutoExposure) return TRUE;
  return picture->HistogramStretch() ? TRUE : FALSE;
}

BOOL CDVDImage::DrawObjects(CxImage* picture) const {
  if (picture == nullptr || !picture->IsValid()) return FALSE;
  const CDVDImageSpriteArray* layers[2] = {m_pAlbum != nullptr ? &m_pAlbum->m_arrSprites : nullptr,
                                           &m_arrSprites};
  if ((layers[0] == nullptr || layers[0]->GetSize() == 0) && m_arrSprites.GetSize() == 0) return TRUE;
  CTextMacro macros;
  macros.Put_pDVDImage(const_cast<CDVDImage*>(this));
  macros.Put_pXImage(picture);
  if (m_pAlbum != nullptr) {
    macros.Put_nSlideCount(m_pAlbum->GetImageCount());
    macros.Put_nSlideIndex(std::max(0, m_pAlbum->IndexOf(this)));
  }
  // Positions are kept in a frame 768 units wide: this picture is that frame.
  const float factor = static_cast<float>(picture->GetWidth()) / 768.0f;
  pictavo::data::FrameGraphics graphics(*picture);
  if (graphics.Get() == nullptr) return FALSE;
  for (const CDVDImageSpriteArray* layer : layers)
    if (layer != nullptr)
      for (INT_PTR i = 0; i < layer->GetSize(); ++i)
        layer->GetAt(i)->DrawInto(*graphics.Get(), factor, &macros);
  return TRUE;
}

BOOL CDVDImage::LoadToCxImage(CxImage* picture, const CSize* size, COLORREF background, int apply) const {
  return LoadToCxImage(m_strPathName, picture, size, background, apply);
}

BOOL CDVDImage::LoadToCxImage(LPCTSTR path, CxImage* picture, const CSize* size, COLORREF background,
                              int apply) const {
  if (picture == nullptr) return FALSE;
  const SIZE frameSize = size != nullptr ? SIZE{size->cx, size->cy} : SIZE{1024, 768};
  if (m_nImageType == DVD_IMAGE_BLANK_COLOR) {
    if (!MakePlain(*picture, frameSize, m_clrBackground)) return FALSE;
    if (apply) DrawObjects(picture);
    return TRUE;
  }

  const int mode = PhotoScaleModeOf(m_pAlbum) == 1 ? 2 : 1;
  const int turns = ((m_nRotateAngle % 360) + 360) % 360;
  bool loaded = false;
  if (path != nullptr && *path != '\0') {
    if (size != nullptr && mode == 1) {
      // Fitting never needs more pixels than the frame: decode reduced, sides swapped when the
      // picture is turned on its side.
      const bool sideways = turns == 90 || turns == 270;
      loaded = picture->LoadScaled(path, sideways ? size->cy : size->cx, sideways ? size->cx : size->cy);
    } else {
      loaded = picture->Load(path);
    }
  }
  if (!loaded) {
    if (size != nullptr) MakePlain(*picture, frameSize, background);
    return FALSE;
  }
  const EXIFINFO* exif = picture->GetExifInfo();
  if (exif != nullptr && exif->IsExif) ApplyOrientation(*picture, exif->Orientation);
  ApplyRotation(*picture, m_nRotateAngle);
  if (apply) {
    PerformIntensity(picture);
    UpdateAutoAdjustImage(picture);
  }
  if (size != nullptr) FitIntoFrame(*picture, frameSize, background, mode);
  if (apply) DrawObjects(picture);
  return TRUE;
}
