// The wrapper classes other than Graphics: images, brushes, pens, fonts, formats, paths and
// matrices over their flat-API objects.
#include <mutex>

#include "platform/gdi/Gdi.h"
#include "platform/gdiplus/GdiPlus.h"

namespace Gdiplus {

using namespace DllExports;

// Matrix.

Matrix::Matrix() {
  SetStatus(GdipCreateMatrix(&nativeMatrix));
}

Matrix::Matrix(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy) {
  SetStatus(GdipCreateMatrix2(m11, m12, m21, m22, dx, dy, &nativeMatrix));
}

Matrix::~Matrix() {
  if (nativeMatrix) GdipDeleteMatrix(nativeMatrix);
}

Matrix* Matrix::Clone() const {
  REAL m[6];
  if (SetStatus(GdipGetMatrixElements(nativeMatrix, m)) != Ok) return nullptr;
  return new Matrix(m[0], m[1], m[2], m[3], m[4], m[5]);
}

Status Matrix::GetElements(REAL* m) const {
  return SetStatus(GdipGetMatrixElements(nativeMatrix, m));
}

Status Matrix::SetElements(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy) {
  return SetStatus(GdipSetMatrixElements(nativeMatrix, m11, m12, m21, m22, dx, dy));
}

REAL Matrix::OffsetX() const {
  REAL m[6] = {};
  return GetElements(m) == Ok ? m[4] : 0;
}

REAL Matrix::OffsetY() const {
  REAL m[6] = {};
  return GetElements(m) == Ok ? m[5] : 0;
}

Status Matrix::Reset() {
  return SetElements(1, 0, 0, 1, 0, 0);
}

Status Matrix::Multiply(const Matrix* matrix, MatrixOrder order) {
  if (!matrix) return SetStatus(InvalidParameter);
  return SetStatus(GdipMultiplyMatrix(nativeMatrix, matrix->nativeMatrix, order));
}

Status Matrix::Translate(REAL offsetX, REAL offsetY, MatrixOrder order) {
  return SetStatus(GdipTranslateMatrix(nativeMatrix, offsetX, offsetY, order));
}

Status Matrix::Scale(REAL scaleX, REAL scaleY, MatrixOrder order) {
  return SetStatus(GdipScaleMatrix(nativeMatrix, scaleX, scaleY, order));
}

Status Matrix::Rotate(REAL angle, MatrixOrder order) {
  return SetStatus(GdipRotateMatrix(nativeMatrix, angle, order));
}

Status Matrix::Invert() {
  return SetStatus(GdipInvertMatrix(nativeMatrix));
}

Status Matrix::TransformPoints(PointF* points, INT count) const {
  return SetStatus(GdipTransformMatrixPoints(nativeMatrix, points, count));
}

Status Matrix::TransformPoints(Point* points, INT count) const {
  return SetStatus(GdipTransformMatrixPointsI(nativeMatrix, points, count));
}

BOOL Matrix::IsIdentity() const {
  BOOL result = FALSE;
  SetStatus(GdipIsMatrixIdentity(nativeMatrix, &result));
  return result;
}

BOOL Matrix::IsInvertible() const {
  BOOL result = FALSE;
  SetStatus(GdipIsMatrixInvertible(nativeMatrix, &result));
  return result;
}

// Images.

Image::~Image() {
  if (nativeImage) GdipDisposeImage(nativeImage);
}

Image* Image::Clone() {
  GpImage* clone = nullptr;
  Status status = SetStatus(GdipCloneImage(nativeImage, &clone));
  return status == Ok ? new Image(clone, Ok) : nullptr;
}

UINT Image::GetWidth() {
  UINT width = 0;
  SetStatus(GdipGetImageWidth(nativeImage, &width));
  return width;
}

UINT Image::GetHeight() {
  UINT height = 0;
  SetStatus(GdipGetImageHeight(nativeImage, &height));
  return height;
}

PixelFormat Image::GetPixelFormat() {
  PixelFormat format = PixelFormatUndefined;
  SetStatus(GdipGetImagePixelFormat(nativeImage, &format));
  return format;
}

REAL Image::GetHorizontalResolution() {
  REAL resolution = 0;
  SetStatus(GdipGetImageHorizontalResolution(nativeImage, &resolution));
  return resolution;
}

REAL Image::GetVerticalResolution() {
  REAL resolution = 0;
  SetStatus(GdipGetImageVerticalResolution(nativeImage, &resolution));
  return resolution;
}

Bitmap::Bitmap(INT width, INT height, PixelFormat format) {
  SetStatus(GdipCreateBitmapFromScan0(width, height, 0, format, nullptr, &nativeImage));
}

Bitmap::Bitmap(INT width, INT height, INT stride, PixelFormat format, BYTE* scan0) {
  SetStatus(GdipCreateBitmapFromScan0(width, height, stride, format, scan0, &nativeImage));
}

Bitmap::Bitmap(HBITMAP hbm, HPALETTE palette) {
  SetStatus(GdipCreateBitmapFromHBITMAP(hbm, palette, &nativeImage));
}

Bitmap* Bitmap::FromHBITMAP(HBITMAP hbm, HPALETTE palette) {
  return new Bitmap(hbm, palette);
}

Bitmap* Bitmap::Clone() {
  GpImage* clone = nullptr;
  Status status = SetStatus(GdipCloneImage(nativeImage, &clone));
  return status == Ok ? new Bitmap(clone, Ok) : nullptr;
}

Status Bitmap::GetHBITMAP(const Color& background, HBITMAP* hbm) {
  return SetStatus(GdipCreateHBITMAPFromBitmap(nativeImage, hbm, background.GetValue()));
}

Status Bitmap::LockBits(const Rect* rect, UINT flags, PixelFormat format, BitmapData* lockedData) {
  return SetStatus(GdipBitmapLockBits(nativeImage, rect, flags, format, lockedData));
}

Status Bitmap::UnlockBits(BitmapData* lockedData) {
  return SetStatus(GdipBitmapUnlockBits(nativeImage, lockedData));
}

Status Bitmap::GetPixel(INT x, INT y, Color* color) {
  if (!color) return SetStatus(InvalidParameter);
  ARGB argb = 0;
  Status status = SetStatus(GdipBitmapGetPixel(nativeImage, x, y, &argb));
  if (status == Ok) color->SetValue(argb);
  return status;
}

Status Bitmap::SetPixel(INT x, INT y, const Color& color) {
  return SetStatus(GdipBitmapSetPixel(nativeImage, x, y, color.GetValue()));
}

// Brushes.

Brush::~Brush() {
  if (nativeBrush) GdipDeleteBrush(nativeBrush);
}

Brush* Brush::Clone() const {
  GpBrush* clone = nullptr;
  if (SetStatus(GdipCloneBrush(nativeBrush, &clone)) != Ok) return nullptr;
  // A clone is a plain Brush: every brush behaves by its flat-API object.
  auto* brush = new Brush;
  brush->nativeBrush = clone;
  return brush;
}

BrushType Brush::GetType() const {
  BrushType type = BrushTypeSolidColor;
  SetStatus(GdipGetBrushType(nativeBrush, &type));
  return type;
}

SolidBrush::SolidBrush(const Color& color) {
  SetStatus(GdipCreateSolidFill(color.GetValue(), &nativeBrush));
}

Status SolidBrush::GetColor(Color* color) const {
  if (!color) return SetStatus(InvalidParameter);
  ARGB argb = 0;
  Status status = SetStatus(GdipGetSolidFillColor(nativeBrush, &argb));
  if (status == Ok) color->SetValue(argb);
  return status;
}

Status SolidBrush::SetColor(const Color& color) {
  return SetStatus(GdipSetSolidFillColor(nativeBrush, color.GetValue()));
}

LinearGradientBrush::LinearGradientBrush(const PointF& point1, const PointF& point2, const Color& color1,
                                         const Color& color2) {
  SetStatus(GdipCreateLineBrush(&point1, &point2, color1.GetValue(), color2.GetValue(), WrapModeTile,
                                &nativeBrush));
}

LinearGradientBrush::LinearGradientBrush(const Point& point1, const Point& point2, const Color& color1,
                                         const Color& color2) {
  SetStatus(GdipCreateLineBrushI(&point1, &point2, color1.GetValue(), color2.GetValue(), WrapModeTile,
                                 &nativeBrush));
}

LinearGradientBrush::LinearGradientBrush(const RectF& rect, const Color& color1, const Color& color2,
                                         LinearGradientMode mode) {
  SetStatus(GdipCreateLineBrushFromRect(&rect, color1.GetValue(), color2.GetValue(), mode, WrapModeTile,
                                        &nativeBrush));
}

LinearGradientBrush::LinearGradientBrush(const Rect& rect, const Color& color1, const Color& color2,
                                         LinearGradientMode mode) {
  SetStatus(GdipCreateLineBrushFromRectI(&rect, color1.GetValue(), color2.GetValue(), mode, WrapModeTile,
                                         &nativeBrush));
}

LinearGradientBrush::LinearGradientBrush(const RectF& rect, const Color& color1, const Color& color2,
                                         REAL angle, BOOL isAngleScalable) {
  SetStatus(GdipCreateLineBrushFromRectWithAngle(&rect, color1.GetValue(), color2.GetValue(), angle,
                                                 isAngleScalable, WrapModeTile, &nativeBrush));
}

LinearGradientBrush::LinearGradientBrush(const Rect& rect, const Color& color1, const Color& color2,
                                         REAL angle, BOOL isAngleScalable) {
  SetStatus(GdipCreateLineBrushFromRectWithAngleI(&rect, color1.GetValue(), color2.GetValue(), angle,
                                                  isAngleScalable, WrapModeTile, &nativeBrush));
}

Status LinearGradientBrush::SetLinearColors(const Color& color1, const Color& color2) {
  return SetStatus(GdipSetLineColors(nativeBrush, color1.GetValue(), color2.GetValue()));
}

Status LinearGradientBrush::GetLinearColors(Color* colors) const {
  if (!colors) return SetStatus(InvalidParameter);
  ARGB argb[2] = {};
  Status status = SetStatus(GdipGetLineColors(nativeBrush, argb));
  if (status == Ok) {
    colors[0].SetValue(argb[0]);
    colors[1].SetValue(argb[1]);
  }
  return status;
}

Status LinearGradientBrush::GetRectangle(RectF* rect) const {
  return SetStatus(GdipGetLineRect(nativeBrush, rect));
}

Status LinearGradientBrush::SetWrapMode(WrapMode wrapMode) {
  return SetStatus(GdipSetLineWrapMode(nativeBrush, wrapMode));
}

WrapMode LinearGradientBrush::GetWrapMode() const {
  WrapMode mode = WrapModeTile;
  SetStatus(GdipGetLineWrapMode(nativeBrush, &mode));
  return mode;
}

Status LinearGradientBrush::SetTransform(const Matrix* matrix) {
  if (!matrix) return SetStatus(InvalidParameter);
  return SetStatus(GdipSetLineTransform(nativeBrush, matrix->nativeMatrix));
}

Status LinearGradientBrush::GetTransform(Matrix* matrix) const {
  if (!matrix) return SetStatus(InvalidParameter);
  return SetStatus(GdipGetLineTransform(nativeBrush, matrix->nativeMatrix));
}

Status LinearGradientBrush::ResetTransform() {
  return SetStatus(GdipResetLineTransform(nativeBrush));
}

Status LinearGradientBrush::TranslateTransform(REAL dx, REAL dy, MatrixOrder order) {
  return SetStatus(GdipTranslateLineTransform(nativeBrush, dx, dy, order));
}

Status LinearGradientBrush::ScaleTransform(REAL sx, REAL sy, MatrixOrder order) {
  return SetStatus(GdipScaleLineTransform(nativeBrush, sx, sy, order));
}

TextureBrush::TextureBrush(Image* image, WrapMode wrapMode) {
  SetStatus(GdipCreateTexture(image ? image->nativeImage : nullptr, wrapMode, &nativeBrush));
}

TextureBrush::TextureBrush(Image* image, WrapMode wrapMode, const RectF& dstRect) {
  SetStatus(GdipCreateTexture2(image ? image->nativeImage : nullptr, wrapMode, dstRect.X, dstRect.Y,
                               dstRect.Width, dstRect.Height, &nativeBrush));
}

TextureBrush::TextureBrush(Image* image, WrapMode wrapMode, const Rect& dstRect) {
  SetStatus(GdipCreateTexture2I(image ? image->nativeImage : nullptr, wrapMode, dstRect.X, dstRect.Y,
                                dstRect.Width, dstRect.Height, &nativeBrush));
}

TextureBrush::TextureBrush(Image* image, WrapMode wrapMode, REAL dstX, REAL dstY, REAL dstWidth,
                           REAL dstHeight) {
  SetStatus(GdipCreateTexture2(image ? image->nativeImage : nullptr, wrapMode, dstX, dstY, dstWidth,
                               dstHeight, &nativeBrush));
}

Status TextureBrush::SetWrapMode(WrapMode wrapMode) {
  return SetStatus(GdipSetTextureWrapMode(nativeBrush, wrapMode));
}

WrapMode TextureBrush::GetWrapMode() const {
  WrapMode mode = WrapModeTile;
  SetStatus(GdipGetTextureWrapMode(nativeBrush, &mode));
  return mode;
}

Status TextureBrush::SetTransform(const Matrix* matrix) {
  if (!matrix) return SetStatus(InvalidParameter);
  return SetStatus(GdipSetTextureTransform(nativeBrush, matrix->nativeMatrix));
}

Status TextureBrush::GetTransform(Matrix* matrix) const {
  if (!matrix) return SetStatus(InvalidParameter);
  return SetStatus(GdipGetTextureTransform(nativeBrush, matrix->nativeMatrix));
}

Status TextureBrush::ResetTransform() {
  return SetStatus(GdipResetTextureTransform(nativeBrush));
}

Status TextureBrush::TranslateTransform(REAL dx, REAL dy, MatrixOrder order) {
  return SetStatus(GdipTranslateTextureTransform(nativeBrush, dx, dy, order));
}

Status TextureBrush::ScaleTransform(REAL sx, REAL sy, MatrixOrder order) {
  return SetStatus(GdipScaleTextureTransform(nativeBrush, sx, sy, order));
}

// Pens.

Pen::Pen(const Color& color, REAL width) {
  SetStatus(GdipCreatePen1(color.GetValue(), width, UnitWorld, &nativePen));
}

Pen::Pen(const Brush* brush, REAL width) {
  SetStatus(GdipCreatePen2(brush ? brush->nativeBrush : nullptr, width, UnitWorld, &nativePen));
}

Pen::~Pen() {
  if (nativePen) GdipDeletePen(nativePen);
}

Pen* Pen::Clone() const {
  GpPen* clone = nullptr;
  Status status = SetStatus(GdipClonePen(nativePen, &clone));
  return status == Ok ? new Pen(clone, Ok) : nullptr;
}

Status Pen::SetWidth(REAL width) {
  return SetStatus(GdipSetPenWidth(nativePen, width));
}

REAL Pen::GetWidth() const {
  REAL width = 0;
  SetStatus(GdipGetPenWidth(nativePen, &width));
  return width;
}

Status Pen::SetColor(const Color& color) {
  return SetStatus(GdipSetPenColor(nativePen, color.GetValue()));
}

Status Pen::GetColor(Color* color) const {
  if (!color) return SetStatus(InvalidParameter);
  ARGB argb = 0;
  Status status = SetStatus(GdipGetPenColor(nativePen, &argb));
  if (status == Ok) color->SetValue(argb);
  return status;
}

Status Pen::SetBrush(const Brush* brush) {
  if (!brush) return SetStatus(InvalidParameter);
  return SetStatus(GdipSetPenBrushFill(nativePen, brush->nativeBrush));
}

Status Pen::SetDashStyle(DashStyle dashStyle) {
  return SetStatus(GdipSetPenDashStyle(nativePen, dashStyle));
}

DashStyle Pen::GetDashStyle() const {
  DashStyle style = DashStyleSolid;
  SetStatus(GdipGetPenDashStyle(nativePen, &style));
  return style;
}

Status Pen::SetLineJoin(LineJoin lineJoin) {
  return SetStatus(GdipSetPenLineJoin(nativePen, lineJoin));
}

LineJoin Pen::GetLineJoin() const {
  LineJoin join = LineJoinMiter;
  SetStatus(GdipGetPenLineJoin(nativePen, &join));
  return join;
}

Status Pen::SetStartCap(LineCap startCap) {
  return SetStatus(GdipSetPenStartCap(nativePen, startCap));
}

Status Pen::SetEndCap(LineCap endCap) {
  return SetStatus(GdipSetPenEndCap(nativePen, endCap));
}

Status Pen::SetLineCap(LineCap startCap, LineCap endCap, DashCap dashCap) {
  return SetStatus(GdipSetPenLineCap197819(nativePen, startCap, endCap, dashCap));
}

Status Pen::SetMiterLimit(REAL miterLimit) {
  return SetStatus(GdipSetPenMiterLimit(nativePen, miterLimit));
}

// Font families and fonts.

FontFamily::FontFamily(const WCHAR* name, const FontCollection* fontCollection) {
  SetStatus(fontCollection ? InvalidParameter : GdipCreateFontFamilyFromName(name, nullptr, &nativeFamily));
}

FontFamily::~FontFamily() {
  if (nativeFamily) GdipDeleteFontFamily(nativeFamily);
}

namespace {

// A shared generic family, made on first use (once GDI+ has been started).
const FontFamily* Generic(FontFamily& family, GpStatus (*make)(GpFontFamily**)) {
  static std::mutex lock;
  std::lock_guard guard(lock);
  if (!family.nativeFamily) make(&family.nativeFamily);
  return &family;
}

}  // namespace

const FontFamily* FontFamily::GenericSansSerif() {
  static FontFamily* family = new FontFamily;  // shared until the process ends
  return Generic(*family, GdipGetGenericFontFamilySansSerif);
}

const FontFamily* FontFamily::GenericSerif() {
  static FontFamily* family = new FontFamily;  // shared until the process ends
  return Generic(*family, GdipGetGenericFontFamilySerif);
}

const FontFamily* FontFamily::GenericMonospace() {
  static FontFamily* family = new FontFamily;  // shared until the process ends
  return Generic(*family, GdipGetGenericFontFamilyMonospace);
}

FontFamily* FontFamily::Clone() const {
  GpFontFamily* clone = nullptr;
  Status status = SetStatus(GdipCloneFontFamily(nativeFamily, &clone));
  return status == Ok ? new FontFamily(clone, Ok) : nullptr;
}

Status FontFamily::GetFamilyName(WCHAR name[LF_FACESIZE], LANGID language) const {
  return SetStatus(GdipGetFamilyName(nativeFamily, name, language));
}

BOOL FontFamily::IsStyleAvailable(INT style) const {
  BOOL available = FALSE;
  SetStatus(GdipIsStyleAvailable(nativeFamily, style, &available));
  return available;
}

UINT16 FontFamily::GetEmHeight(INT style) const {
  UINT16 value = 0;
  SetStatus(GdipGetEmHeight(nativeFamily, style, &value));
  return value;
}

UINT16 FontFamily::GetCellAscent(INT style) const {
  UINT16 value = 0;
  SetStatus(GdipGetCellAscent(nativeFamily, style, &value));
  return value;
}

UINT16 FontFamily::GetCellDescent(INT style) const {
  UINT16 value = 0;
  SetStatus(GdipGetCellDescent(nativeFamily, style, &value));
  return value;
}

UINT16 FontFamily::GetLineSpacing(INT style) const {
  UINT16 value = 0;
  SetStatus(GdipGetLineSpacing(nativeFamily, style, &value));
  return value;
}

Font::Font(HDC hdc, const LOGFONTA* logfont) {
  SetStatus(GdipCreateFontFromLogfontA(hdc, logfont, &nativeFont));
}

Font::Font(HDC hdc, HFONT hfont) {
  LOGFONTA lf{};
  if (!hfont || GetObject(hfont, sizeof lf, &lf) == 0) {
    SetStatus(InvalidParameter);
    return;
  }
  SetStatus(GdipCreateFontFromLogfontA(hdc, &lf, &nativeFont));
}

Font::Font(HDC hdc) {
  SetStatus(GdipCreateFontFromDC(hdc, &nativeFont));
}

Font::Font(const FontFamily* family, REAL emSize, INT style, Unit unit) {
  SetStatus(GdipCreateFont(family ? family->nativeFamily : nullptr, emSize, style, unit, &nativeFont));
}

Font::Font(const WCHAR* familyName, REAL emSize, INT style, Unit unit, const FontCollection* fontCollection) {
  FontFamily family(familyName, fontCollection);
  Status status = family.GetLastStatus();
  if (status != Ok) {
    SetStatus(status);
    return;
  }
  SetStatus(GdipCreateFont(family.nativeFamily, emSize, style, unit, &nativeFont));
}

Font::~Font() {
  if (nativeFont) GdipDeleteFont(nativeFont);
}

Font* Font::Clone() const {
  GpFont* clone = nullptr;
  Status status = SetStatus(GdipCloneFont(nativeFont, &clone));
  return status == Ok ? new Font(clone, Ok) : nullptr;
}

Status Font::GetFamily(FontFamily* family) const {
  if (!family) return SetStatus(InvalidParameter);
  GpFontFamily* native = nullptr;
  Status status = SetStatus(GdipGetFamily(nativeFont, &native));
  if (status != Ok) return status;
  if (family->nativeFamily) GdipDeleteFontFamily(family->nativeFamily);
  family->nativeFamily = native;
  return Ok;
}

INT Font::GetStyle() const {
  INT style = 0;
  SetStatus(GdipGetFontStyle(nativeFont, &style));
  return style;
}

REAL Font::GetSize() const {
  REAL size = 0;
  SetStatus(GdipGetFontSize(nativeFont, &size));
  return size;
}

Unit Font::GetUnit() const {
  Unit unit = UnitPoint;
  SetStatus(GdipGetFontUnit(nativeFont, &unit));
  return unit;
}

REAL Font::GetHeight(const Graphics* graphics) const {
  REAL height = 0;
  SetStatus(GdipGetFontHeight(nativeFont, graphics ? graphics->nativeGraphics : nullptr, &height));
  return height;
}

REAL Font::GetHeight(REAL dpi) const {
  REAL height = 0;
  SetStatus(GdipGetFontHeightGivenDPI(nativeFont, dpi, &height));
  return height;
}

// String formats.

StringFormat::StringFormat(INT formatFlags, LANGID language) {
  SetStatus(GdipCreateStringFormat(formatFlags, language, &nativeFormat));
}

StringFormat::StringFormat(const StringFormat* format) {
  SetStatus(format ? GdipCloneStringFormat(format->nativeFormat, &nativeFormat) : InvalidParameter);
}

StringFormat::~StringFormat() {
  if (nativeFormat) GdipDeleteStringFormat(nativeFormat);
}

namespace {

const StringFormat* Generic(StringFormat& format, GpStatus (*make)(GpStringFormat**)) {
  static std::mutex lock;
  std::lock_guard guard(lock);
  if (!format.nativeFormat) make(&format.nativeFormat);
  return &format;
}

}  // namespace

const StringFormat* StringFormat::GenericDefault() {
  static StringFormat* format = new StringFormat(static_cast<GpStringFormat*>(nullptr), Ok);  // shared
  return Generic(*format, GdipStringFormatGetGenericDefault);
}

const StringFormat* StringFormat::GenericTypographic() {
  static StringFormat* format = new StringFormat(static_cast<GpStringFormat*>(nullptr), Ok);  // shared
  return Generic(*format, GdipStringFormatGetGenericTypographic);
}

StringFormat* StringFormat::Clone() const {
  return new StringFormat(this);
}

Status StringFormat::SetFormatFlags(INT flags) {
  return SetStatus(GdipSetStringFormatFlags(nativeFormat, flags));
}

INT StringFormat::GetFormatFlags() const {
  INT flags = 0;
  SetStatus(GdipGetStringFormatFlags(nativeFormat, &flags));
  return flags;
}

Status StringFormat::SetAlignment(StringAlignment align) {
  return SetStatus(GdipSetStringFormatAlign(nativeFormat, align));
}

StringAlignment StringFormat::GetAlignment() const {
  StringAlignment align = StringAlignmentNear;
  SetStatus(GdipGetStringFormatAlign(nativeFormat, &align));
  return align;
}

Status StringFormat::SetLineAlignment(StringAlignment align) {
  return SetStatus(GdipSetStringFormatLineAlign(nativeFormat, align));
}

StringAlignment StringFormat::GetLineAlignment() const {
  StringAlignment align = StringAlignmentNear;
  SetStatus(GdipGetStringFormatLineAlign(nativeFormat, &align));
  return align;
}

Status StringFormat::SetTrimming(StringTrimming trimming) {
  return SetStatus(GdipSetStringFormatTrimming(nativeFormat, trimming));
}

StringTrimming StringFormat::GetTrimming() const {
  StringTrimming trimming = StringTrimmingNone;
  SetStatus(GdipGetStringFormatTrimming(nativeFormat, &trimming));
  return trimming;
}

// Paths.

GraphicsPath::GraphicsPath(FillMode fillMode) {
  SetStatus(GdipCreatePath(fillMode, &nativePath));
}

GraphicsPath::~GraphicsPath() {
  if (nativePath) GdipDeletePath(nativePath);
}

GraphicsPath* GraphicsPath::Clone() const {
  GpPath* clone = nullptr;
  Status status = SetStatus(GdipClonePath(nativePath, &clone));
  return status == Ok ? new GraphicsPath(clone, Ok) : nullptr;
}

Status GraphicsPath::Reset() {
  return SetStatus(GdipResetPath(nativePath));
}

FillMode GraphicsPath::GetFillMode() const {
  FillMode mode = FillModeAlternate;
  SetStatus(GdipGetPathFillMode(nativePath, &mode));
  return mode;
}

Status GraphicsPath::SetFillMode(FillMode fillMode) {
  return SetStatus(GdipSetPathFillMode(nativePath, fillMode));
}

INT GraphicsPath::GetPointCount() const {
  INT count = 0;
  SetStatus(GdipGetPointCount(nativePath, &count));
  return count;
}

Status GraphicsPath::StartFigure() {
  return SetStatus(GdipStartPathFigure(nativePath));
}

Status GraphicsPath::CloseFigure() {
  return SetStatus(GdipClosePathFigure(nativePath));
}

Status GraphicsPath::CloseAllFigures() {
  return SetStatus(GdipClosePathFigures(nativePath));
}

Status GraphicsPath::AddLine(const PointF& pt1, const PointF& pt2) {
  return AddLine(pt1.X, pt1.Y, pt2.X, pt2.Y);
}

Status GraphicsPath::AddLine(REAL x1, REAL y1, REAL x2, REAL y2) {
  return SetStatus(GdipAddPathLine(nativePath, x1, y1, x2, y2));
}

Status GraphicsPath::AddLine(const Point& pt1, const Point& pt2) {
  return AddLine(pt1.X, pt1.Y, pt2.X, pt2.Y);
}

Status GraphicsPath::AddLine(INT x1, INT y1, INT x2, INT y2) {
  return SetStatus(GdipAddPathLineI(nativePath, x1, y1, x2, y2));
}

Status GraphicsPath::AddLines(const PointF* points, INT count) {
  return SetStatus(GdipAddPathLine2(nativePath, points, count));
}

Status GraphicsPath::AddLines(const Point* points, INT count) {
  return SetStatus(GdipAddPathLine2I(nativePath, points, count));
}

Status GraphicsPath::AddArc(const RectF& rect, REAL startAngle, REAL sweepAngle) {
  return AddArc(rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
}

Status GraphicsPath::AddArc(REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle) {
  return SetStatus(GdipAddPathArc(nativePath, x, y, width, height, startAngle, sweepAngle));
}

Status GraphicsPath::AddArc(const Rect& rect, REAL startAngle, REAL sweepAngle) {
  return AddArc(rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
}

Status GraphicsPath::AddArc(INT x, INT y, INT width, INT height, REAL startAngle, REAL sweepAngle) {
  return SetStatus(GdipAddPathArcI(nativePath, x, y, width, height, startAngle, sweepAngle));
}

Status GraphicsPath::AddBezier(const PointF& pt1, const PointF& pt2, const PointF& pt3, const PointF& pt4) {
  return AddBezier(pt1.X, pt1.Y, pt2.X, pt2.Y, pt3.X, pt3.Y, pt4.X, pt4.Y);
}

Status GraphicsPath::AddBezier(REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4, REAL y4) {
  return SetStatus(GdipAddPathBezier(nativePath, x1, y1, x2, y2, x3, y3, x4, y4));
}

Status GraphicsPath::AddBezier(const Point& pt1, const Point& pt2, const Point& pt3, const Point& pt4) {
  return AddBezier(pt1.X, pt1.Y, pt2.X, pt2.Y, pt3.X, pt3.Y, pt4.X, pt4.Y);
}

Status GraphicsPath::AddBezier(INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4, INT y4) {
  return SetStatus(GdipAddPathBezierI(nativePath, x1, y1, x2, y2, x3, y3, x4, y4));
}

Status GraphicsPath::AddRectangle(const RectF& rect) {
  return SetStatus(GdipAddPathRectangle(nativePath, rect.X, rect.Y, rect.Width, rect.Height));
}

Status GraphicsPath::AddRectangle(const Rect& rect) {
  return SetStatus(GdipAddPathRectangleI(nativePath, rect.X, rect.Y, rect.Width, rect.Height));
}

Status GraphicsPath::AddEllipse(const RectF& rect) {
  return AddEllipse(rect.X, rect.Y, rect.Width, rect.Height);
}

Status GraphicsPath::AddEllipse(REAL x, REAL y, REAL width, REAL height) {
  return SetStatus(GdipAddPathEllipse(nativePath, x, y, width, height));
}

Status GraphicsPath::AddEllipse(const Rect& rect) {
  return AddEllipse(rect.X, rect.Y, rect.Width, rect.Height);
}

Status GraphicsPath::AddEllipse(INT x, INT y, INT width, INT height) {
  return SetStatus(GdipAddPathEllipseI(nativePath, x, y, width, height));
}

Status GraphicsPath::AddPolygon(const PointF* points, INT count) {
  return SetStatus(GdipAddPathPolygon(nativePath, points, count));
}

Status GraphicsPath::AddPolygon(const Point* points, INT count) {
  return SetStatus(GdipAddPathPolygonI(nativePath, points, count));
}

Status GraphicsPath::AddString(const WCHAR* string, INT length, const FontFamily* family, INT style,
                               REAL emSize, const PointF& origin, const StringFormat* format) {
  RectF rect(origin.X, origin.Y, 0, 0);
  return AddString(string, length, family, style, emSize, rect, format);
}

Status GraphicsPath::AddString(const WCHAR* string, INT length, const FontFamily* family, INT style,
                               REAL emSize, const RectF& layoutRect, const StringFormat* format) {
  return SetStatus(GdipAddPathString(nativePath, string, length, family ? family->nativeFamily : nullptr,
                                     style, emSize, &layoutRect, format ? format->nativeFormat : nullptr));
}

Status GraphicsPath::AddString(const WCHAR* string, INT length, const FontFamily* family, INT style,
                               REAL emSize, const Point& origin, const StringFormat* format) {
  Rect rect(origin.X, origin.Y, 0, 0);
  return AddString(string, length, family, style, emSize, rect, format);
}

Status GraphicsPath::AddString(const WCHAR* string, INT length, const FontFamily* family, INT style,
                               REAL emSize, const Rect& layoutRect, const StringFormat* format) {
  return SetStatus(GdipAddPathStringI(nativePath, string, length, family ? family->nativeFamily : nullptr,
                                      style, emSize, &layoutRect, format ? format->nativeFormat : nullptr));
}

Status GraphicsPath::GetBounds(RectF* bounds, const Matrix* matrix, const Pen* pen) const {
  return SetStatus(GdipGetPathWorldBounds(nativePath, bounds, matrix ? matrix->nativeMatrix : nullptr,
                                          pen ? pen->nativePen : nullptr));
}

Status GraphicsPath::GetBounds(Rect* bounds, const Matrix* matrix, const Pen* pen) const {
  return SetStatus(GdipGetPathWorldBoundsI(nativePath, bounds, matrix ? matrix->nativeMatrix : nullptr,
                                           pen ? pen->nativePen : nullptr));
}

Status GraphicsPath::Transform(const Matrix* matrix) {
  return SetStatus(GdipTransformPath(nativePath, matrix ? matrix->nativeMatrix : nullptr));
}

}  // namespace Gdiplus
