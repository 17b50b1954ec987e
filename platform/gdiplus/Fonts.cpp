// Font families and fonts of the flat API.
#include <algorithm>
#include <cmath>
#include <cwchar>
#include <new>

#include "platform/gdi/Gdi.h"
#include "platform/gdiplus/Faces.h"

using namespace Gdiplus;
using pictavo::gdiplus::Started;

namespace {

GpStatus NewFamily(const wchar_t* name, const char* platformName, GpFontFamily** family) {
  if (!family) return InvalidParameter;
  *family = nullptr;
  if (!Started()) return GdiplusNotInitialized;
  auto* f = new (std::nothrow) GpFontFamily;
  if (!f) return OutOfMemory;
  f->name = name;
  f->face = pictavo::gdi::ResolvedFaceName(platformName);
  *family = f;
  return Ok;
}

// A design metric of the family's face in a style.
GpStatus FaceMetric(const GpFontFamily* family, INT style, UINT16* out,
                    double pictavo::gdiplus::FaceMetrics::*field) {
  if (!family || !out) return InvalidParameter;
  std::shared_ptr<const pictavo::gdiplus::Face> face = pictavo::gdiplus::FaceOf(family->face, style);
  if (!face) return FontFamilyNotFound;
  *out = static_cast<UINT16>(std::lround(face->Metrics().*field));
  return Ok;
}

GpStatus NewFont(const GpFont& model, GpFont** font) {
  *font = new (std::nothrow) GpFont(model);
  return *font ? Ok : OutOfMemory;
}

}  // namespace

namespace Gdiplus::DllExports {

GpStatus WINAPI GdipCreateFontFamilyFromName(const WCHAR* name, GpFontCollection* collection,
                                             GpFontFamily** family) {
  if (!family) return InvalidParameter;
  *family = nullptr;
  if (!Started()) return GdiplusNotInitialized;
  if (!name || collection) return InvalidParameter;
  std::string face;
  if (!pictavo::gdiplus::FindFamily(name, face)) return FontFamilyNotFound;
  auto* f = new (std::nothrow) GpFontFamily;
  if (!f) return OutOfMemory;
  f->name = name;
  f->face = face;
  *family = f;
  return Ok;
}

// The platform's generic families, drawn with what those names map to.
GpStatus WINAPI GdipGetGenericFontFamilySansSerif(GpFontFamily** family) {
  return NewFamily(L"Microsoft Sans Serif", "Microsoft Sans Serif", family);
}

GpStatus WINAPI GdipGetGenericFontFamilySerif(GpFontFamily** family) {
  return NewFamily(L"Times New Roman", "Times New Roman", family);
}

GpStatus WINAPI GdipGetGenericFontFamilyMonospace(GpFontFamily** family) {
  return NewFamily(L"Courier New", "Courier New", family);
}

GpStatus WINAPI GdipCloneFontFamily(GpFontFamily* family, GpFontFamily** clone) {
  if (!family || !clone) return InvalidParameter;
  *clone = new (std::nothrow) GpFontFamily(*family);
  return *clone ? Ok : OutOfMemory;
}

GpStatus WINAPI GdipDeleteFontFamily(GpFontFamily* family) {
  if (!family) return InvalidParameter;
  delete family;
  return Ok;
}

GpStatus WINAPI GdipGetFamilyName(const GpFontFamily* family, WCHAR name[LF_FACESIZE], LANGID) {
  if (!family || !name) return InvalidParameter;
  size_t n = std::min<size_t>(family->name.size(), LF_FACESIZE - 1);
  std::wmemcpy(name, family->name.data(), n);
  name[n] = 0;
  return Ok;
}

// Every style is available: missing bold and italic faces are synthesised.
GpStatus WINAPI GdipIsStyleAvailable(const GpFontFamily* family, INT, BOOL* available) {
  if (!family || !available) return InvalidParameter;
  *available = TRUE;
  return Ok;
}

GpStatus WINAPI GdipGetEmHeight(const GpFontFamily* family, INT style, UINT16* emHeight) {
  return FaceMetric(family, style, emHeight, &pictavo::gdiplus::FaceMetrics::emHeight);
}

GpStatus WINAPI GdipGetCellAscent(const GpFontFamily* family, INT style, UINT16* cellAscent) {
  return FaceMetric(family, style, cellAscent, &pictavo::gdiplus::FaceMetrics::cellAscent);
}

GpStatus WINAPI GdipGetCellDescent(const GpFontFamily* family, INT style, UINT16* cellDescent) {
  return FaceMetric(family, style, cellDescent, &pictavo::gdiplus::FaceMetrics::cellDescent);
}

GpStatus WINAPI GdipGetLineSpacing(const GpFontFamily* family, INT style, UINT16* lineSpacing) {
  return FaceMetric(family, style, lineSpacing, &pictavo::gdiplus::FaceMetrics::lineSpacing);
}

GpStatus WINAPI GdipCreateFont(const GpFontFamily* family, REAL emSize, INT style, INT unit, GpFont** font) {
  if (!font) return InvalidParameter;
  *font = nullptr;
  if (!Started()) return GdiplusNotInitialized;
  if (!family || !std::isfinite(emSize) || emSize <= 0 || unit < UnitWorld || unit > UnitMillimeter ||
      unit == UnitDisplay)
    return InvalidParameter;
  GpFont model;
  model.family = *family;
  model.size = emSize;
  model.style = style;
  model.unit = static_cast<Unit>(unit);
  return NewFont(model, font);
}

GpStatus WINAPI GdipCreateFontFromLogfontA(HDC, const LOGFONTA* logfont, GpFont** font) {
  if (!font) return InvalidParameter;
  *font = nullptr;
  if (!Started()) return GdiplusNotInitialized;
  if (!logfont) return InvalidParameter;
  GpFont model;
  pictavo::gdiplus::FamilyOfLogFont(*logfont, model);
  if (model.family.face.empty()) return FontFamilyNotFound;
  return NewFont(model, font);
}

GpStatus WINAPI GdipCreateFontFromDC(HDC hdc, GpFont** font) {
  if (!font) return InvalidParameter;
  *font = nullptr;
  LOGFONTA lf{};
  HGDIOBJ selected = GetCurrentObject(hdc, OBJ_FONT);
  if (!selected || GetObject(selected, sizeof lf, &lf) == 0) return InvalidParameter;
  return GdipCreateFontFromLogfontA(hdc, &lf, font);
}

GpStatus WINAPI GdipCloneFont(GpFont* font, GpFont** clone) {
  if (!font || !clone) return InvalidParameter;
  return NewFont(*font, clone);
}

GpStatus WINAPI GdipDeleteFont(GpFont* font) {
  if (!font) return InvalidParameter;
  delete font;
  return Ok;
}

GpStatus WINAPI GdipGetFamily(GpFont* font, GpFontFamily** family) {
  if (!font || !family) return InvalidParameter;
  *family = new (std::nothrow) GpFontFamily(font->family);
  return *family ? Ok : OutOfMemory;
}

GpStatus WINAPI GdipGetFontStyle(GpFont* font, INT* style) {
  if (!font || !style) return InvalidParameter;
  *style = font->style;
  return Ok;
}

GpStatus WINAPI GdipGetFontSize(GpFont* font, REAL* size) {
  if (!font || !size) return InvalidParameter;
  *size = font->size;
  return Ok;
}

GpStatus WINAPI GdipGetFontUnit(GpFont* font, Unit* unit) {
  if (!font || !unit) return InvalidParameter;
  *unit = font->unit;
  return Ok;
}

// Every graphics has the screen's 96 dots per inch.
GpStatus WINAPI GdipGetFontHeight(const GpFont* font, const GpGraphics*, REAL* height) {
  return GdipGetFontHeightGivenDPI(font, 96, height);
}

GpStatus WINAPI GdipGetFontHeightGivenDPI(const GpFont* font, REAL dpi, REAL* height) {
  if (!font || !height || !(dpi > 0)) return InvalidParameter;
  std::shared_ptr<const pictavo::gdiplus::Face> face =
      pictavo::gdiplus::FaceOf(font->family.face, font->style);
  if (!face) return FontFamilyNotFound;
  const pictavo::gdiplus::FaceMetrics& m = face->Metrics();
  *height = static_cast<REAL>(pictavo::gdiplus::EmSize(*font, dpi) * m.lineSpacing / m.emHeight);
  return Ok;
}

}  // namespace Gdiplus::DllExports
