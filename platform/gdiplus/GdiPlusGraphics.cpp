// The Graphics wrapper class over its flat-API object.
#include "platform/gdiplus/GdiPlus.h"

namespace Gdiplus {

using namespace DllExports;

namespace {

GpBrush* NativeOf(const Brush* brush) {
  return brush ? brush->nativeBrush : nullptr;
}
GpPen* NativeOf(const Pen* pen) {
  return pen ? pen->nativePen : nullptr;
}
GpImage* NativeOf(Image* image) {
  return image ? image->nativeImage : nullptr;
}
const GpFont* NativeOf(const Font* font) {
  return font ? font->nativeFont : nullptr;
}
const GpStringFormat* NativeOf(const StringFormat* format) {
  return format ? format->nativeFormat : nullptr;
}
GpPath* NativeOf(const GraphicsPath* path) {
  return path ? path->nativePath : nullptr;
}

}  // namespace

Graphics::Graphics(HDC hdc) {
  SetStatus(GdipCreateFromHDC(hdc, &nativeGraphics));
}

Graphics::Graphics(Image* image) {
  SetStatus(GdipGetImageGraphicsContext(NativeOf(image), &nativeGraphics));
}

Graphics* Graphics::FromHDC(HDC hdc) {
  return new Graphics(hdc);
}

Graphics* Graphics::FromImage(Image* image) {
  return new Graphics(image);
}

Graphics::~Graphics() {
  if (nativeGraphics) GdipDeleteGraphics(nativeGraphics);
}

void Graphics::Flush(FlushIntention intention) {
  GdipFlush(nativeGraphics, intention);
}

HDC Graphics::GetHDC() {
  HDC hdc = nullptr;
  SetStatus(GdipGetDC(nativeGraphics, &hdc));
  return hdc;
}

void Graphics::ReleaseHDC(HDC hdc) {
  SetStatus(GdipReleaseDC(nativeGraphics, hdc));
}

Status Graphics::SetSmoothingMode(SmoothingMode mode) {
  return SetStatus(GdipSetSmoothingMode(nativeGraphics, mode));
}

SmoothingMode Graphics::GetSmoothingMode() const {
  SmoothingMode mode = SmoothingModeInvalid;
  SetStatus(GdipGetSmoothingMode(nativeGraphics, &mode));
  return mode;
}

Status Graphics::SetTextRenderingHint(TextRenderingHint hint) {
  return SetStatus(GdipSetTextRenderingHint(nativeGraphics, hint));
}

TextRenderingHint Graphics::GetTextRenderingHint() const {
  TextRenderingHint hint = TextRenderingHintSystemDefault;
  SetStatus(GdipGetTextRenderingHint(nativeGraphics, &hint));
  return hint;
}

Status Graphics::SetInterpolationMode(InterpolationMode mode) {
  return SetStatus(GdipSetInterpolationMode(nativeGraphics, mode));
}

InterpolationMode Graphics::GetInterpolationMode() const {
  InterpolationMode mode = InterpolationModeInvalid;
  SetStatus(GdipGetInterpolationMode(nativeGraphics, &mode));
  return mode;
}

Status Graphics::SetCompositingMode(CompositingMode mode) {
  return SetStatus(GdipSetCompositingMode(nativeGraphics, mode));
}

CompositingMode Graphics::GetCompositingMode() const {
  CompositingMode mode = CompositingModeSourceOver;
  SetStatus(GdipGetCompositingMode(nativeGraphics, &mode));
  return mode;
}

Status Graphics::SetCompositingQuality(CompositingQuality quality) {
  return SetStatus(GdipSetCompositingQuality(nativeGraphics, quality));
}

CompositingQuality Graphics::GetCompositingQuality() const {
  CompositingQuality quality = CompositingQualityInvalid;
  SetStatus(GdipGetCompositingQuality(nativeGraphics, &quality));
  return quality;
}

Status Graphics::SetPixelOffsetMode(PixelOffsetMode mode) {
  return SetStatus(GdipSetPixelOffsetMode(nativeGraphics, mode));
}

PixelOffsetMode Graphics::GetPixelOffsetMode() const {
  PixelOffsetMode mode = PixelOffsetModeInvalid;
  SetStatus(GdipGetPixelOffsetMode(nativeGraphics, &mode));
  return mode;
}

REAL Graphics::GetDpiX() const {
  REAL dpi = 0;
  SetStatus(GdipGetDpiX(nativeGraphics, &dpi));
  return dpi;
}

REAL Graphics::GetDpiY() const {
  REAL dpi = 0;
  SetStatus(GdipGetDpiY(nativeGraphics, &dpi));
  return dpi;
}

Status Graphics::SetTransform(const Matrix* matrix) {
  return SetStatus(GdipSetWorldTransform(nativeGraphics, matrix ? matrix->nativeMatrix : nullptr));
}

Status Graphics::ResetTransform() {
  return SetStatus(GdipResetWorldTransform(nativeGraphics));
}

Status Graphics::MultiplyTransform(const Matrix* matrix, MatrixOrder order) {
  return SetStatus(
      GdipMultiplyWorldTransform(nativeGraphics, matrix ? matrix->nativeMatrix : nullptr, order));
}

Status Graphics::TranslateTransform(REAL dx, REAL dy, MatrixOrder order) {
  return SetStatus(GdipTranslateWorldTransform(nativeGraphics, dx, dy, order));
}

Status Graphics::ScaleTransform(REAL sx, REAL sy, MatrixOrder order) {
  return SetStatus(GdipScaleWorldTransform(nativeGraphics, sx, sy, order));
}

Status Graphics::RotateTransform(REAL angle, MatrixOrder order) {
  return SetStatus(GdipRotateWorldTransform(nativeGraphics, angle, order));
}

Status Graphics::GetTransform(Matrix* matrix) const {
  return SetStatus(GdipGetWorldTransform(nativeGraphics, matrix ? matrix->nativeMatrix : nullptr));
}

Status Graphics::SetClip(const RectF& rect, CombineMode mode) {
  return SetStatus(GdipSetClipRect(nativeGraphics, rect.X, rect.Y, rect.Width, rect.Height, mode));
}

Status Graphics::SetClip(const Rect& rect, CombineMode mode) {
  return SetStatus(GdipSetClipRectI(nativeGraphics, rect.X, rect.Y, rect.Width, rect.Height, mode));
}

Status Graphics::SetClip(HRGN region, CombineMode mode) {
  return SetStatus(GdipSetClipHrgn(nativeGraphics, region, mode));
}

Status Graphics::IntersectClip(const RectF& rect) {
  return SetClip(rect, CombineModeIntersect);
}

Status Graphics::IntersectClip(const Rect& rect) {
  return SetClip(rect, CombineModeIntersect);
}

Status Graphics::ExcludeClip(const RectF& rect) {
  return SetClip(rect, CombineModeExclude);
}

Status Graphics::ExcludeClip(const Rect& rect) {
  return SetClip(rect, CombineModeExclude);
}

Status Graphics::ResetClip() {
  return SetStatus(GdipResetClip(nativeGraphics));
}

Status Graphics::GetClipBounds(RectF* rect) const {
  return SetStatus(GdipGetClipBounds(nativeGraphics, rect));
}

Status Graphics::GetClipBounds(Rect* rect) const {
  return SetStatus(GdipGetClipBoundsI(nativeGraphics, rect));
}

BOOL Graphics::IsClipEmpty() const {
  BOOL empty = FALSE;
  SetStatus(GdipIsClipEmpty(nativeGraphics, &empty));
  return empty;
}

Status Graphics::Clear(const Color& color) {
  return SetStatus(GdipGraphicsClear(nativeGraphics, color.GetValue()));
}

Status Graphics::DrawLine(const Pen* pen, REAL x1, REAL y1, REAL x2, REAL y2) {
  return SetStatus(GdipDrawLine(nativeGraphics, NativeOf(pen), x1, y1, x2, y2));
}

Status Graphics::DrawLine(const Pen* pen, const PointF& pt1, const PointF& pt2) {
  return DrawLine(pen, pt1.X, pt1.Y, pt2.X, pt2.Y);
}

Status Graphics::DrawLine(const Pen* pen, INT x1, INT y1, INT x2, INT y2) {
  return SetStatus(GdipDrawLineI(nativeGraphics, NativeOf(pen), x1, y1, x2, y2));
}

Status Graphics::DrawLine(const Pen* pen, const Point& pt1, const Point& pt2) {
  return DrawLine(pen, pt1.X, pt1.Y, pt2.X, pt2.Y);
}

Status Graphics::DrawLines(const Pen* pen, const PointF* points, INT count) {
  return SetStatus(GdipDrawLines(nativeGraphics, NativeOf(pen), points, count));
}

Status Graphics::DrawLines(const Pen* pen, const Point* points, INT count) {
  return SetStatus(GdipDrawLinesI(nativeGraphics, NativeOf(pen), points, count));
}

Status Graphics::DrawRectangle(const Pen* pen, const RectF& rect) {
  return DrawRectangle(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status Graphics::DrawRectangle(const Pen* pen, REAL x, REAL y, REAL width, REAL height) {
  return SetStatus(GdipDrawRectangle(nativeGraphics, NativeOf(pen), x, y, width, height));
}

Status Graphics::DrawRectangle(const Pen* pen, const Rect& rect) {
  return DrawRectangle(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status Graphics::DrawRectangle(const Pen* pen, INT x, INT y, INT width, INT height) {
  return SetStatus(GdipDrawRectangleI(nativeGraphics, NativeOf(pen), x, y, width, height));
}

Status Graphics::DrawEllipse(const Pen* pen, const RectF& rect) {
  return DrawEllipse(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status Graphics::DrawEllipse(const Pen* pen, REAL x, REAL y, REAL width, REAL height) {
  return SetStatus(GdipDrawEllipse(nativeGraphics, NativeOf(pen), x, y, width, height));
}

Status Graphics::DrawEllipse(const Pen* pen, const Rect& rect) {
  return DrawEllipse(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status Graphics::DrawEllipse(const Pen* pen, INT x, INT y, INT width, INT height) {
  return SetStatus(GdipDrawEllipseI(nativeGraphics, NativeOf(pen), x, y, width, height));
}

Status Graphics::DrawPolygon(const Pen* pen, const PointF* points, INT count) {
  return SetStatus(GdipDrawPolygon(nativeGraphics, NativeOf(pen), points, count));
}

Status Graphics::DrawPolygon(const Pen* pen, const Point* points, INT count) {
  return SetStatus(GdipDrawPolygonI(nativeGraphics, NativeOf(pen), points, count));
}

Status Graphics::DrawPath(const Pen* pen, const GraphicsPath* path) {
  return SetStatus(GdipDrawPath(nativeGraphics, NativeOf(pen), NativeOf(path)));
}

Status Graphics::FillRectangle(const Brush* brush, const RectF& rect) {
  return FillRectangle(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status Graphics::FillRectangle(const Brush* brush, REAL x, REAL y, REAL width, REAL height) {
  return SetStatus(GdipFillRectangle(nativeGraphics, NativeOf(brush), x, y, width, height));
}

Status Graphics::FillRectangle(const Brush* brush, const Rect& rect) {
  return FillRectangle(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status Graphics::FillRectangle(const Brush* brush, INT x, INT y, INT width, INT height) {
  return SetStatus(GdipFillRectangleI(nativeGraphics, NativeOf(brush), x, y, width, height));
}

Status Graphics::FillEllipse(const Brush* brush, const RectF& rect) {
  return FillEllipse(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status Graphics::FillEllipse(const Brush* brush, REAL x, REAL y, REAL width, REAL height) {
  return SetStatus(GdipFillEllipse(nativeGraphics, NativeOf(brush), x, y, width, height));
}

Status Graphics::FillEllipse(const Brush* brush, const Rect& rect) {
  return FillEllipse(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status Graphics::FillEllipse(const Brush* brush, INT x, INT y, INT width, INT height) {
  return SetStatus(GdipFillEllipseI(nativeGraphics, NativeOf(brush), x, y, width, height));
}

Status Graphics::FillPolygon(const Brush* brush, const PointF* points, INT count) {
  return FillPolygon(brush, points, count, FillModeAlternate);
}

Status Graphics::FillPolygon(const Brush* brush, const PointF* points, INT count, FillMode fillMode) {
  return SetStatus(GdipFillPolygon(nativeGraphics, NativeOf(brush), points, count, fillMode));
}

Status Graphics::FillPolygon(const Brush* brush, const Point* points, INT count) {
  return FillPolygon(brush, points, count, FillModeAlternate);
}

Status Graphics::FillPolygon(const Brush* brush, const Point* points, INT count, FillMode fillMode) {
  return SetStatus(GdipFillPolygonI(nativeGraphics, NativeOf(brush), points, count, fillMode));
}

Status Graphics::FillPath(const Brush* brush, const GraphicsPath* path) {
  return SetStatus(GdipFillPath(nativeGraphics, NativeOf(brush), NativeOf(path)));
}

Status Graphics::DrawImage(Image* image, const PointF& point) {
  return DrawImage(image, point.X, point.Y);
}

Status Graphics::DrawImage(Image* image, REAL x, REAL y) {
  return SetStatus(GdipDrawImage(nativeGraphics, NativeOf(image), x, y));
}

Status Graphics::DrawImage(Image* image, const Point& point) {
  return DrawImage(image, point.X, point.Y);
}

Status Graphics::DrawImage(Image* image, INT x, INT y) {
  return SetStatus(GdipDrawImageI(nativeGraphics, NativeOf(image), x, y));
}

Status Graphics::DrawImage(Image* image, const RectF& rect) {
  return DrawImage(image, rect.X, rect.Y, rect.Width, rect.Height);
}

Status Graphics::DrawImage(Image* image, REAL x, REAL y, REAL width, REAL height) {
  return SetStatus(GdipDrawImageRect(nativeGraphics, NativeOf(image), x, y, width, height));
}

Status Graphics::DrawImage(Image* image, const Rect& rect) {
  return DrawImage(image, rect.X, rect.Y, rect.Width, rect.Height);
}

Status Graphics::DrawImage(Image* image, INT x, INT y, INT width, INT height) {
  return SetStatus(GdipDrawImageRectI(nativeGraphics, NativeOf(image), x, y, width, height));
}

Status Graphics::DrawImage(Image* image, REAL x, REAL y, REAL srcx, REAL srcy, REAL srcwidth, REAL srcheight,
                           Unit srcUnit) {
  return SetStatus(GdipDrawImagePointRect(nativeGraphics, NativeOf(image), x, y, srcx, srcy, srcwidth,
                                          srcheight, srcUnit));
}

Status Graphics::DrawImage(Image* image, INT x, INT y, INT srcx, INT srcy, INT srcwidth, INT srcheight,
                           Unit srcUnit) {
  return SetStatus(GdipDrawImagePointRectI(nativeGraphics, NativeOf(image), x, y, srcx, srcy, srcwidth,
                                           srcheight, srcUnit));
}

Status Graphics::DrawImage(Image* image, const RectF& destRect, REAL srcx, REAL srcy, REAL srcwidth,
                           REAL srcheight, Unit srcUnit, const ImageAttributes* imageAttributes,
                           DrawImageAbort callback, VOID* callbackData) {
  if (imageAttributes) return SetStatus(NotImplemented);
  return SetStatus(GdipDrawImageRectRect(nativeGraphics, NativeOf(image), destRect.X, destRect.Y,
                                         destRect.Width, destRect.Height, srcx, srcy, srcwidth, srcheight,
                                         srcUnit, nullptr, callback, callbackData));
}

Status Graphics::DrawImage(Image* image, const Rect& destRect, INT srcx, INT srcy, INT srcwidth,
                           INT srcheight, Unit srcUnit, const ImageAttributes* imageAttributes,
                           DrawImageAbort callback, VOID* callbackData) {
  if (imageAttributes) return SetStatus(NotImplemented);
  return SetStatus(GdipDrawImageRectRectI(nativeGraphics, NativeOf(image), destRect.X, destRect.Y,
                                          destRect.Width, destRect.Height, srcx, srcy, srcwidth, srcheight,
                                          srcUnit, nullptr, callback, callbackData));
}

Status Graphics::DrawString(const WCHAR* string, INT length, const Font* font, const RectF& layoutRect,
                            const StringFormat* stringFormat, const Brush* brush) {
  return SetStatus(GdipDrawString(nativeGraphics, string, length, NativeOf(font), &layoutRect,
                                  NativeOf(stringFormat), NativeOf(brush)));
}

Status Graphics::DrawString(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                            const Brush* brush) {
  return DrawString(string, length, font, origin, nullptr, brush);
}

Status Graphics::DrawString(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                            const StringFormat* stringFormat, const Brush* brush) {
  RectF rect(origin.X, origin.Y, 0, 0);
  return DrawString(string, length, font, rect, stringFormat, brush);
}

Status Graphics::MeasureString(const WCHAR* string, INT length, const Font* font, const RectF& layoutRect,
                               const StringFormat* stringFormat, RectF* boundingBox, INT* codepointsFitted,
                               INT* linesFilled) const {
  return SetStatus(GdipMeasureString(nativeGraphics, string, length, NativeOf(font), &layoutRect,
                                     NativeOf(stringFormat), boundingBox, codepointsFitted, linesFilled));
}

Status Graphics::MeasureString(const WCHAR* string, INT length, const Font* font, const SizeF& layoutRectSize,
                               const StringFormat* stringFormat, SizeF* size, INT* codepointsFitted,
                               INT* linesFilled) const {
  if (!size) return SetStatus(InvalidParameter);
  RectF box;
  Status status =
      MeasureString(string, length, font, RectF(0, 0, layoutRectSize.Width, layoutRectSize.Height),
                    stringFormat, &box, codepointsFitted, linesFilled);
  if (status == Ok) *size = SizeF(box.Width, box.Height);
  return status;
}

Status Graphics::MeasureString(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                               const StringFormat* stringFormat, RectF* boundingBox) const {
  return MeasureString(string, length, font, RectF(origin.X, origin.Y, 0, 0), stringFormat, boundingBox);
}

Status Graphics::MeasureString(const WCHAR* string, INT length, const Font* font, const RectF& layoutRect,
                               RectF* boundingBox) const {
  return MeasureString(string, length, font, layoutRect, nullptr, boundingBox);
}

Status Graphics::MeasureString(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                               RectF* boundingBox) const {
  return MeasureString(string, length, font, RectF(origin.X, origin.Y, 0, 0), nullptr, boundingBox);
}

}  // namespace Gdiplus
