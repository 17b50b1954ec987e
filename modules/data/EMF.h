// Clip art: the program's own vector pictures (a small text format, README "Clip art"), which
// draw cleanly at any size, and any picture file the image module reads (PNG with alpha, JPEG,
// BMP ...). The clip-art folder keeps its vector pictures under the ".emf" ending the clip-art
// page lists.
#pragma once

#include <memory>

#include "platform/base/CString.h"
#include "platform/base/Geometry.h"
#include "platform/base/WinTypes.h"

namespace Gdiplus {
class Graphics;
class RectF;
}  // namespace Gdiplus

class CEMF {
 public:
  CEMF();
  ~CEMF();
  CEMF(const CEMF&) = delete;
  CEMF& operator=(const CEMF&) = delete;

  // FALSE, with the last error (ERROR_FILE_NOT_FOUND, ERROR_INVALID_DATA for a damaged vector
  // file, the image module's error for a picture) and a sentence in GetLastErrorText, when the
  // file cannot be read; the object is then empty.
  BOOL Load(LPCTSTR path);
  BOOL IsValid() const;
  void Clear();

  // The picture's own size: the vector picture's canvas, the raster picture's pixels.
  BOOL GetWidthHeight(CSize& size) const;
  BOOL GetWidthHeight(CSize* size) const { return size != nullptr && GetWidthHeight(*size); }

  // Stretches the picture over the rectangle (anti-aliased; a raster picture's alpha blends).
  BOOL Draw(HDC dc, const RECT& rect) const;
  BOOL Draw(HDC dc, const RECT* rect) const { return rect != nullptr && Draw(dc, *rect); }
  BOOL Draw(Gdiplus::Graphics& graphics, const Gdiplus::RectF& rect) const;

  const CString& GetLastErrorText() const { return m_strError; }

 private:
  struct Picture;
  std::unique_ptr<Picture> m_picture;
  CString m_strError;
};
