// CxImage life cycle, information and pixel access.
#include "modules/image/CxImage.h"

#include <cstring>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"

using pictavo::image::Raster;

CxImage::CxImage(DWORD imagetype) : m_type(imagetype) {}

CxImage::CxImage(const CxImage& src, bool copypixels, bool copyselection, bool copyalpha) {
  Copy(src, copypixels, copyselection, copyalpha);
}

CxImage& CxImage::operator=(const CxImage& src) {
  if (this != &src) Copy(src);
  return *this;
}

CxImage::CxImage(CxImage&& src) noexcept {
  Transfer(src);
}

CxImage& CxImage::operator=(CxImage&& src) noexcept {
  Transfer(src);
  return *this;
}

CxImage::~CxImage() = default;

bool CxImage::Fail(DWORD code, std::string text) {
  m_lastError = std::move(text);
  ::SetLastError(code);
  return false;
}

void CxImage::Succeed() {
  m_lastError.clear();
}

void* CxImage::Create(DWORD width, DWORD height, DWORD bpp, DWORD imagetype) {
  Destroy();
  if (bpp != 24) {
    Fail(ERROR_NOT_SUPPORTED, "only 24-bit pictures are kept");
    return nullptr;
  }
  std::string error;
  if (!m_raster.Allocate(static_cast<int>(std::min<DWORD>(width, INT32_MAX)),
                         static_cast<int>(std::min<DWORD>(height, INT32_MAX)), true, error)) {
    Fail(ERROR_NOT_ENOUGH_MEMORY, error);
    return nullptr;
  }
  m_type = imagetype;
  m_sourceWidth = static_cast<long>(width);
  m_sourceHeight = static_cast<long>(height);
  Succeed();
  return m_raster.Dib();
}

bool CxImage::Destroy() {
  m_raster.Reset();
  m_exif = EXIFINFO{};
  m_sourceWidth = m_sourceHeight = 0;
  return true;
}

void CxImage::Copy(const CxImage& src, bool copypixels, bool copyselection, bool copyalpha) {
  if (this == &src) return;
  std::string error;
  if (!m_raster.Clone(src.m_raster, copypixels, copyalpha, error)) {
    Destroy();
    Fail(ERROR_NOT_ENOUGH_MEMORY, error);
    return;
  }
  m_type = src.m_type;
  m_bkColor = src.m_bkColor;
  m_jpegQuality = src.m_jpegQuality;
  m_exif = src.m_exif;
  m_sourceWidth = src.m_sourceWidth;
  m_sourceHeight = src.m_sourceHeight;
  Succeed();
}

bool CxImage::Transfer(CxImage& from) {
  if (this == &from) return true;
  m_raster = std::move(from.m_raster);
  from.m_raster.Reset();
  m_type = from.m_type;
  m_bkColor = from.m_bkColor;
  m_jpegQuality = from.m_jpegQuality;
  m_exif = from.m_exif;
  m_sourceWidth = from.m_sourceWidth;
  m_sourceHeight = from.m_sourceHeight;
  from.Destroy();
  Succeed();
  return true;
}

bool CxImage::CreateFromArray(const BYTE* array, DWORD width, DWORD height, DWORD bpp, DWORD bytesperline,
                              bool bFlipImage) {
  Destroy();
  if (!array || (bpp != 24 && bpp != 32))
    return Fail(ERROR_INVALID_PARAMETER, "24 or 32-bit pixels expected");
  const size_t pixelBytes = bpp / 8;
  if (width > INT32_MAX || height > INT32_MAX || bytesperline < uint64_t{width} * pixelBytes)
    return Fail(ERROR_INVALID_PARAMETER, "rows shorter than the width");
  std::string error;
  if (!m_raster.Allocate(static_cast<int>(width), static_cast<int>(height), false, error))
    return Fail(ERROR_NOT_ENOUGH_MEMORY, error);
  if (bpp == 32 && !m_raster.AllocateAlphaUninitialised()) {
    Destroy();
    return Fail(ERROR_NOT_ENOUGH_MEMORY, "out of memory");
  }
  const int h = static_cast<int>(height), w = static_cast<int>(width);
  for (int i = 0; i < h; ++i) {
    const BYTE* src = array + static_cast<size_t>(bytesperline) * i;
    const int row = bFlipImage ? h - 1 - i : i;
    BYTE* dst = m_raster.Row(row);
    if (bpp == 24) {
      std::memcpy(dst, src, static_cast<size_t>(w) * 3);
      continue;
    }
    BYTE* alpha = m_raster.AlphaRow(row);
    for (int x = 0; x < w; ++x, src += 4, dst += 3) {
      dst[0] = src[0];
      dst[1] = src[1];
      dst[2] = src[2];
      alpha[x] = src[3];
    }
  }
  m_type = CXIMAGE_FORMAT_UNKNOWN;
  m_sourceWidth = w;
  m_sourceHeight = h;
  Succeed();
  return true;
}

void CxImage::Clear(BYTE value) {
  if (!IsValid()) return;
  std::memset(m_raster.Pixels(), value, m_raster.PixelBytes());
  m_raster.ZeroPadding();
}

void CxImage::Fill(COLORREF color) {
  if (!IsValid()) return;
  BYTE* first = m_raster.Row(0);
  const int w = m_raster.Width();
  for (int x = 0; x < w; ++x) {
    first[3 * x] = GetBValue(color);
    first[3 * x + 1] = GetGValue(color);
    first[3 * x + 2] = GetRValue(color);
  }
  for (int y = 1; y < m_raster.Height(); ++y) std::memcpy(m_raster.Row(y), first, m_raster.Stride());
}

bool CxImage::ConvertTo24Bits() {
  return IsValid() ? (Succeed(), true) : Fail(ERROR_INVALID_PARAMETER, "no picture");
}

BYTE* CxImage::GetBits(DWORD row) {
  if (!IsValid() || row >= GetHeight()) return nullptr;
  return m_raster.Row(static_cast<int>(row));
}

void CxImage::SetBkColor(COLORREF color) {
  m_bkColor = RGBQUAD{GetBValue(color), GetGValue(color), GetRValue(color), 0};
}

bool CxImage::IsInside(long x, long y) const {
  return IsValid() && x >= 0 && y >= 0 && x < m_raster.Width() && y < m_raster.Height();
}

RGBQUAD CxImage::GetPixelColor(long x, long y, bool bGetAlpha) const {
  if (!IsInside(x, y)) return m_bkColor;
  const BYTE* p = m_raster.Row(static_cast<int>(y)) + 3 * x;
  BYTE alpha = 0;
  if (bGetAlpha) alpha = AlphaIsValid() ? m_raster.AlphaRow(static_cast<int>(y))[x] : 255;
  return RGBQUAD{p[0], p[1], p[2], alpha};
}

void CxImage::SetPixelColor(long x, long y, RGBQUAD color, bool bSetAlpha) {
  if (!IsInside(x, y)) return;
  BYTE* p = m_raster.Row(static_cast<int>(y)) + 3 * x;
  p[0] = color.rgbBlue;
  p[1] = color.rgbGreen;
  p[2] = color.rgbRed;
  if (bSetAlpha && AlphaIsValid()) m_raster.AlphaRow(static_cast<int>(y))[x] = color.rgbReserved;
}

void CxImage::SetPixelColor(long x, long y, COLORREF color) {
  SetPixelColor(x, y, RGBQUAD{GetBValue(color), GetGValue(color), GetRValue(color), 0}, false);
}

bool CxImage::AlphaCreate() {
  if (!IsValid()) return Fail(ERROR_INVALID_PARAMETER, "no picture");
  if (AlphaIsValid()) return true;
  return m_raster.AllocateAlpha(255) ? true : Fail(ERROR_NOT_ENOUGH_MEMORY, "out of memory");
}

void CxImage::AlphaDelete() {
  m_raster.DropAlpha();
}

void CxImage::AlphaSet(BYTE level) {
  if (AlphaIsValid())
    std::memset(m_raster.Alpha(), level, static_cast<size_t>(m_raster.Width()) * m_raster.Height());
}

void CxImage::AlphaSet(long x, long y, BYTE level) {
  if (AlphaIsValid() && IsInside(x, y)) m_raster.AlphaRow(static_cast<int>(y))[x] = level;
}

BYTE CxImage::AlphaGet(long x, long y) const {
  if (!AlphaIsValid() || !IsInside(x, y)) return 0;
  return m_raster.AlphaRow(static_cast<int>(y))[x];
}

BYTE* CxImage::AlphaGetPointer(long x, long y) {
  if (!AlphaIsValid() || !IsInside(x, y)) return nullptr;
  return m_raster.AlphaRow(static_cast<int>(y)) + x;
}

void CxImage::AlphaStrip() {
  if (!AlphaIsValid()) return;
  const int bg[3] = {m_bkColor.rgbBlue, m_bkColor.rgbGreen, m_bkColor.rgbRed};
  for (int y = 0; y < m_raster.Height(); ++y) {
    BYTE* p = m_raster.Row(y);
    const BYTE* a = m_raster.AlphaRow(y);
    for (int x = 0; x < m_raster.Width(); ++x, p += 3) {
      const int level = a[x];
      if (level == 255) continue;
      for (int c = 0; c < 3; ++c)
        p[c] = static_cast<BYTE>((p[c] * level + bg[c] * (255 - level) + 127) / 255);
    }
  }
  m_raster.DropAlpha();
}
