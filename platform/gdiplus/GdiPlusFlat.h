// The GDI+ flat API: opaque objects created, used and deleted through functions returning a
// Status. Objects may be used from any thread, one thread at a time per object. Every creating
// function needs GdiplusStartup first and answers GdiplusNotInitialized otherwise.
#pragma once

#include "platform/gdi/GdiTypes.h"
#include "platform/gdiplus/GdiPlusTypes.h"

namespace Gdiplus {

class GpGraphics;
class GpBrush;  // solid, linear-gradient and texture brushes alike
using GpSolidFill = GpBrush;
using GpLineGradient = GpBrush;
using GpTexture = GpBrush;
class GpPen;
class GpImage;  // every image is a bitmap
using GpBitmap = GpImage;
class GpFontFamily;
class GpFont;
class GpFontCollection;  // only the installed fonts: callers pass null
class GpStringFormat;
class GpPath;
class GpMatrix;
class GpImageAttributes;  // not supported: callers pass null

Status WINAPI GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                             GdiplusStartupOutput* output);
VOID WINAPI GdiplusShutdown(ULONG_PTR token);

namespace DllExports {

// Graphics.
GpStatus WINAPI GdipCreateFromHDC(HDC hdc, GpGraphics** graphics);
GpStatus WINAPI GdipGetImageGraphicsContext(GpImage* image, GpGraphics** graphics);
GpStatus WINAPI GdipDeleteGraphics(GpGraphics* graphics);
GpStatus WINAPI GdipFlush(GpGraphics* graphics, FlushIntention intention);
GpStatus WINAPI GdipGetDC(GpGraphics* graphics, HDC* hdc);
GpStatus WINAPI GdipReleaseDC(GpGraphics* graphics, HDC hdc);
GpStatus WINAPI GdipSetSmoothingMode(GpGraphics* graphics, SmoothingMode mode);
GpStatus WINAPI GdipGetSmoothingMode(GpGraphics* graphics, SmoothingMode* mode);
GpStatus WINAPI GdipSetTextRenderingHint(GpGraphics* graphics, TextRenderingHint hint);
GpStatus WINAPI GdipGetTextRenderingHint(GpGraphics* graphics, TextRenderingHint* hint);
GpStatus WINAPI GdipSetInterpolationMode(GpGraphics* graphics, InterpolationMode mode);
GpStatus WINAPI GdipGetInterpolationMode(GpGraphics* graphics, InterpolationMode* mode);
GpStatus WINAPI GdipSetCompositingMode(GpGraphics* graphics, CompositingMode mode);
GpStatus WINAPI GdipGetCompositingMode(GpGraphics* graphics, CompositingMode* mode);
GpStatus WINAPI GdipSetCompositingQuality(GpGraphics* graphics, CompositingQuality quality);
GpStatus WINAPI GdipGetCompositingQuality(GpGraphics* graphics, CompositingQuality* quality);
GpStatus WINAPI GdipSetPixelOffsetMode(GpGraphics* graphics, PixelOffsetMode mode);
GpStatus WINAPI GdipGetPixelOffsetMode(GpGraphics* graphics, PixelOffsetMode* mode);
GpStatus WINAPI GdipGetDpiX(GpGraphics* graphics, REAL* dpi);
GpStatus WINAPI GdipGetDpiY(GpGraphics* graphics, REAL* dpi);

GpStatus WINAPI GdipSetWorldTransform(GpGraphics* graphics, GpMatrix* matrix);
GpStatus WINAPI GdipResetWorldTransform(GpGraphics* graphics);
GpStatus WINAPI GdipMultiplyWorldTransform(GpGraphics* graphics, const GpMatrix* matrix, GpMatrixOrder order);
GpStatus WINAPI GdipTranslateWorldTransform(GpGraphics* graphics, REAL dx, REAL dy, GpMatrixOrder order);
GpStatus WINAPI GdipScaleWorldTransform(GpGraphics* graphics, REAL sx, REAL sy, GpMatrixOrder order);
GpStatus WINAPI GdipRotateWorldTransform(GpGraphics* graphics, REAL angle, GpMatrixOrder order);
GpStatus WINAPI GdipGetWorldTransform(GpGraphics* graphics, GpMatrix* matrix);

// Clipping, in device coordinates once set (a rectangle is transformed when it is set).
GpStatus WINAPI GdipSetClipRect(GpGraphics* graphics, REAL x, REAL y, REAL width, REAL height,
                                CombineMode mode);
GpStatus WINAPI GdipSetClipRectI(GpGraphics* graphics, INT x, INT y, INT width, INT height, CombineMode mode);
GpStatus WINAPI GdipSetClipHrgn(GpGraphics* graphics, HRGN region, CombineMode mode);
GpStatus WINAPI GdipResetClip(GpGraphics* graphics);
GpStatus WINAPI GdipGetClipBounds(GpGraphics* graphics, GpRectF* rect);
GpStatus WINAPI GdipGetClipBoundsI(GpGraphics* graphics, GpRect* rect);
GpStatus WINAPI GdipIsClipEmpty(GpGraphics* graphics, BOOL* result);

// Drawing.
GpStatus WINAPI GdipGraphicsClear(GpGraphics* graphics, ARGB color);
GpStatus WINAPI GdipDrawLine(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2);
GpStatus WINAPI GdipDrawLineI(GpGraphics* graphics, GpPen* pen, INT x1, INT y1, INT x2, INT y2);
GpStatus WINAPI GdipDrawLines(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count);
GpStatus WINAPI GdipDrawLinesI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count);
GpStatus WINAPI GdipDrawRectangle(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height);
GpStatus WINAPI GdipDrawRectangleI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height);
GpStatus WINAPI GdipDrawEllipse(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height);
GpStatus WINAPI GdipDrawEllipseI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height);
GpStatus WINAPI GdipDrawPolygon(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count);
GpStatus WINAPI GdipDrawPolygonI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count);
GpStatus WINAPI GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path);
GpStatus WINAPI GdipFillRectangle(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width,
                                  REAL height);
GpStatus WINAPI GdipFillRectangleI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height);
GpStatus WINAPI GdipFillEllipse(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width,
                                REAL height);
GpStatus WINAPI GdipFillEllipseI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height);
GpStatus WINAPI GdipFillPolygon(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count,
                                GpFillMode fillMode);
GpStatus WINAPI GdipFillPolygonI(GpGraphics* graphics, GpBrush* brush, const GpPoint* points, INT count,
                                 GpFillMode fillMode);
GpStatus WINAPI GdipFillPath(GpGraphics* graphics, GpBrush* brush, GpPath* path);

// Images: at their size, scaled into a rectangle, or a source rectangle (in pixels) of them.
GpStatus WINAPI GdipDrawImage(GpGraphics* graphics, GpImage* image, REAL x, REAL y);
GpStatus WINAPI GdipDrawImageI(GpGraphics* graphics, GpImage* image, INT x, INT y);
GpStatus WINAPI GdipDrawImageRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL width,
                                  REAL height);
GpStatus WINAPI GdipDrawImageRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT width, INT height);
GpStatus WINAPI GdipDrawImagePointRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL srcx,
                                       REAL srcy, REAL srcwidth, REAL srcheight, GpUnit srcUnit);
GpStatus WINAPI GdipDrawImagePointRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT srcx,
                                        INT srcy, INT srcwidth, INT srcheight, GpUnit srcUnit);
GpStatus WINAPI GdipDrawImageRectRect(GpGraphics* graphics, GpImage* image, REAL dstx, REAL dsty,
                                      REAL dstwidth, REAL dstheight, REAL srcx, REAL srcy, REAL srcwidth,
                                      REAL srcheight, GpUnit srcUnit, const GpImageAttributes* attributes,
                                      DrawImageAbort callback, VOID* callbackData);
GpStatus WINAPI GdipDrawImageRectRectI(GpGraphics* graphics, GpImage* image, INT dstx, INT dsty, INT dstwidth,
                                       INT dstheight, INT srcx, INT srcy, INT srcwidth, INT srcheight,
                                       GpUnit srcUnit, const GpImageAttributes* attributes,
                                       DrawImageAbort callback, VOID* callbackData);

// Text. A layout rectangle with zero width (height) does not limit the text across (down).
GpStatus WINAPI GdipDrawString(GpGraphics* graphics, const WCHAR* string, INT length, const GpFont* font,
                               const RectF* layoutRect, const GpStringFormat* format, const GpBrush* brush);
GpStatus WINAPI GdipMeasureString(GpGraphics* graphics, const WCHAR* string, INT length, const GpFont* font,
                                  const RectF* layoutRect, const GpStringFormat* format, RectF* boundingBox,
                                  INT* codepointsFitted, INT* linesFilled);

// Brushes.
GpStatus WINAPI GdipCreateSolidFill(ARGB color, GpSolidFill** brush);
GpStatus WINAPI GdipSetSolidFillColor(GpSolidFill* brush, ARGB color);
GpStatus WINAPI GdipGetSolidFillColor(GpSolidFill* brush, ARGB* color);
GpStatus WINAPI GdipCreateLineBrush(const GpPointF* point1, const GpPointF* point2, ARGB color1, ARGB color2,
                                    GpWrapMode wrapMode, GpLineGradient** brush);
GpStatus WINAPI GdipCreateLineBrushI(const GpPoint* point1, const GpPoint* point2, ARGB color1, ARGB color2,
                                     GpWrapMode wrapMode, GpLineGradient** brush);
GpStatus WINAPI GdipCreateLineBrushFromRect(const GpRectF* rect, ARGB color1, ARGB color2,
                                            LinearGradientMode mode, GpWrapMode wrapMode,
                                            GpLineGradient** brush);
GpStatus WINAPI GdipCreateLineBrushFromRectI(const GpRect* rect, ARGB color1, ARGB color2,
                                             LinearGradientMode mode, GpWrapMode wrapMode,
                                             GpLineGradient** brush);
GpStatus WINAPI GdipCreateLineBrushFromRectWithAngle(const GpRectF* rect, ARGB color1, ARGB color2,
                                                     REAL angle, BOOL isAngleScalable, GpWrapMode wrapMode,
                                                     GpLineGradient** brush);
GpStatus WINAPI GdipCreateLineBrushFromRectWithAngleI(const GpRect* rect, ARGB color1, ARGB color2,
                                                      REAL angle, BOOL isAngleScalable, GpWrapMode wrapMode,
                                                      GpLineGradient** brush);
GpStatus WINAPI GdipSetLineColors(GpLineGradient* brush, ARGB color1, ARGB color2);
GpStatus WINAPI GdipGetLineColors(GpLineGradient* brush, ARGB* colors);
GpStatus WINAPI GdipGetLineRect(GpLineGradient* brush, GpRectF* rect);
GpStatus WINAPI GdipSetLineWrapMode(GpLineGradient* brush, GpWrapMode wrapMode);
GpStatus WINAPI GdipGetLineWrapMode(GpLineGradient* brush, GpWrapMode* wrapMode);
GpStatus WINAPI GdipSetLineTransform(GpLineGradient* brush, const GpMatrix* matrix);
GpStatus WINAPI GdipGetLineTransform(GpLineGradient* brush, GpMatrix* matrix);
GpStatus WINAPI GdipResetLineTransform(GpLineGradient* brush);
GpStatus WINAPI GdipTranslateLineTransform(GpLineGradient* brush, REAL dx, REAL dy, GpMatrixOrder order);
GpStatus WINAPI GdipScaleLineTransform(GpLineGradient* brush, REAL sx, REAL sy, GpMatrixOrder order);
GpStatus WINAPI GdipCreateTexture(GpImage* image, GpWrapMode wrapMode, GpTexture** texture);
GpStatus WINAPI GdipCreateTexture2(GpImage* image, GpWrapMode wrapMode, REAL x, REAL y, REAL width,
                                   REAL height, GpTexture** texture);
GpStatus WINAPI GdipCreateTexture2I(GpImage* image, GpWrapMode wrapMode, INT x, INT y, INT width, INT height,
                                    GpTexture** texture);
GpStatus WINAPI GdipSetTextureWrapMode(GpTexture* brush, GpWrapMode wrapMode);
GpStatus WINAPI GdipGetTextureWrapMode(GpTexture* brush, GpWrapMode* wrapMode);
GpStatus WINAPI GdipSetTextureTransform(GpTexture* brush, const GpMatrix* matrix);
GpStatus WINAPI GdipGetTextureTransform(GpTexture* brush, GpMatrix* matrix);
GpStatus WINAPI GdipResetTextureTransform(GpTexture* brush);
GpStatus WINAPI GdipTranslateTextureTransform(GpTexture* brush, REAL dx, REAL dy, GpMatrixOrder order);
GpStatus WINAPI GdipScaleTextureTransform(GpTexture* brush, REAL sx, REAL sy, GpMatrixOrder order);
GpStatus WINAPI GdipCloneBrush(GpBrush* brush, GpBrush** clone);
GpStatus WINAPI GdipDeleteBrush(GpBrush* brush);
GpStatus WINAPI GdipGetBrushType(GpBrush* brush, GpBrushType* type);

// Pens. Widths are in world units; a width of 0 draws one device pixel wide.
GpStatus WINAPI GdipCreatePen1(ARGB color, REAL width, GpUnit unit, GpPen** pen);
GpStatus WINAPI GdipCreatePen2(GpBrush* brush, REAL width, GpUnit unit, GpPen** pen);
GpStatus WINAPI GdipClonePen(GpPen* pen, GpPen** clone);
GpStatus WINAPI GdipDeletePen(GpPen* pen);
GpStatus WINAPI GdipSetPenWidth(GpPen* pen, REAL width);
GpStatus WINAPI GdipGetPenWidth(GpPen* pen, REAL* width);
GpStatus WINAPI GdipSetPenColor(GpPen* pen, ARGB color);
GpStatus WINAPI GdipGetPenColor(GpPen* pen, ARGB* color);
GpStatus WINAPI GdipSetPenBrushFill(GpPen* pen, GpBrush* brush);
GpStatus WINAPI GdipSetPenDashStyle(GpPen* pen, GpDashStyle dashStyle);
GpStatus WINAPI GdipGetPenDashStyle(GpPen* pen, GpDashStyle* dashStyle);
GpStatus WINAPI GdipSetPenLineJoin(GpPen* pen, GpLineJoin lineJoin);
GpStatus WINAPI GdipGetPenLineJoin(GpPen* pen, GpLineJoin* lineJoin);
GpStatus WINAPI GdipSetPenStartCap(GpPen* pen, GpLineCap cap);
GpStatus WINAPI GdipSetPenEndCap(GpPen* pen, GpLineCap cap);
GpStatus WINAPI GdipSetPenLineCap197819(GpPen* pen, GpLineCap startCap, GpLineCap endCap, GpDashCap dashCap);
GpStatus WINAPI GdipSetPenMiterLimit(GpPen* pen, REAL miterLimit);

// Bitmaps. 24-bit RGB, 32-bit RGB, ARGB and premultiplied ARGB pixels.
GpStatus WINAPI GdipCreateBitmapFromScan0(INT width, INT height, INT stride, PixelFormat format, BYTE* scan0,
                                          GpBitmap** bitmap);
GpStatus WINAPI GdipCreateBitmapFromHBITMAP(HBITMAP hbm, HPALETTE palette, GpBitmap** bitmap);
GpStatus WINAPI GdipCreateHBITMAPFromBitmap(GpBitmap* bitmap, HBITMAP* hbm, ARGB background);
GpStatus WINAPI GdipCloneImage(GpImage* image, GpImage** clone);
GpStatus WINAPI GdipDisposeImage(GpImage* image);
GpStatus WINAPI GdipGetImageWidth(GpImage* image, UINT* width);
GpStatus WINAPI GdipGetImageHeight(GpImage* image, UINT* height);
GpStatus WINAPI GdipGetImagePixelFormat(GpImage* image, PixelFormat* format);
GpStatus WINAPI GdipGetImageHorizontalResolution(GpImage* image, REAL* resolution);
GpStatus WINAPI GdipGetImageVerticalResolution(GpImage* image, REAL* resolution);
GpStatus WINAPI GdipBitmapLockBits(GpBitmap* bitmap, const GpRect* rect, UINT flags, PixelFormat format,
                                   BitmapData* lockedData);
GpStatus WINAPI GdipBitmapUnlockBits(GpBitmap* bitmap, BitmapData* lockedData);
GpStatus WINAPI GdipBitmapGetPixel(GpBitmap* bitmap, INT x, INT y, ARGB* color);
GpStatus WINAPI GdipBitmapSetPixel(GpBitmap* bitmap, INT x, INT y, ARGB color);

// Font families and fonts. Family names are the platform's (Arial, Tahoma ...), drawn with the
// installed faces the drawing layer maps them to.
GpStatus WINAPI GdipCreateFontFamilyFromName(const WCHAR* name, GpFontCollection* collection,
                                             GpFontFamily** family);
GpStatus WINAPI GdipGetGenericFontFamilySansSerif(GpFontFamily** family);
GpStatus WINAPI GdipGetGenericFontFamilySerif(GpFontFamily** family);
GpStatus WINAPI GdipGetGenericFontFamilyMonospace(GpFontFamily** family);
GpStatus WINAPI GdipCloneFontFamily(GpFontFamily* family, GpFontFamily** clone);
GpStatus WINAPI GdipDeleteFontFamily(GpFontFamily* family);
GpStatus WINAPI GdipGetFamilyName(const GpFontFamily* family, WCHAR name[LF_FACESIZE], LANGID language);
GpStatus WINAPI GdipIsStyleAvailable(const GpFontFamily* family, INT style, BOOL* available);
GpStatus WINAPI GdipGetEmHeight(const GpFontFamily* family, INT style, UINT16* emHeight);
GpStatus WINAPI GdipGetCellAscent(const GpFontFamily* family, INT style, UINT16* cellAscent);
GpStatus WINAPI GdipGetCellDescent(const GpFontFamily* family, INT style, UINT16* cellDescent);
GpStatus WINAPI GdipGetLineSpacing(const GpFontFamily* family, INT style, UINT16* lineSpacing);
GpStatus WINAPI GdipCreateFont(const GpFontFamily* family, REAL emSize, INT style, INT unit, GpFont** font);
GpStatus WINAPI GdipCreateFontFromDC(HDC hdc, GpFont** font);
GpStatus WINAPI GdipCreateFontFromLogfontA(HDC hdc, const LOGFONTA* logfont, GpFont** font);
GpStatus WINAPI GdipCloneFont(GpFont* font, GpFont** clone);
GpStatus WINAPI GdipDeleteFont(GpFont* font);
GpStatus WINAPI GdipGetFamily(GpFont* font, GpFontFamily** family);
GpStatus WINAPI GdipGetFontStyle(GpFont* font, INT* style);
GpStatus WINAPI GdipGetFontSize(GpFont* font, REAL* size);
GpStatus WINAPI GdipGetFontUnit(GpFont* font, Unit* unit);
GpStatus WINAPI GdipGetFontHeight(const GpFont* font, const GpGraphics* graphics, REAL* height);
GpStatus WINAPI GdipGetFontHeightGivenDPI(const GpFont* font, REAL dpi, REAL* height);

// String formats.
GpStatus WINAPI GdipCreateStringFormat(INT formatAttributes, LANGID language, GpStringFormat** format);
GpStatus WINAPI GdipStringFormatGetGenericDefault(GpStringFormat** format);
GpStatus WINAPI GdipStringFormatGetGenericTypographic(GpStringFormat** format);
GpStatus WINAPI GdipCloneStringFormat(const GpStringFormat* format, GpStringFormat** clone);
GpStatus WINAPI GdipDeleteStringFormat(GpStringFormat* format);
GpStatus WINAPI GdipSetStringFormatFlags(GpStringFormat* format, INT flags);
GpStatus WINAPI GdipGetStringFormatFlags(const GpStringFormat* format, INT* flags);
GpStatus WINAPI GdipSetStringFormatAlign(GpStringFormat* format, StringAlignment align);
GpStatus WINAPI GdipGetStringFormatAlign(const GpStringFormat* format, StringAlignment* align);
GpStatus WINAPI GdipSetStringFormatLineAlign(GpStringFormat* format, StringAlignment align);
GpStatus WINAPI GdipGetStringFormatLineAlign(const GpStringFormat* format, StringAlignment* align);
GpStatus WINAPI GdipSetStringFormatTrimming(GpStringFormat* format, StringTrimming trimming);
GpStatus WINAPI GdipGetStringFormatTrimming(const GpStringFormat* format, StringTrimming* trimming);

// Paths.
GpStatus WINAPI GdipCreatePath(GpFillMode fillMode, GpPath** path);
GpStatus WINAPI GdipClonePath(GpPath* path, GpPath** clone);
GpStatus WINAPI GdipDeletePath(GpPath* path);
GpStatus WINAPI GdipResetPath(GpPath* path);
GpStatus WINAPI GdipGetPointCount(GpPath* path, INT* count);
GpStatus WINAPI GdipGetPathFillMode(GpPath* path, GpFillMode* fillMode);
GpStatus WINAPI GdipSetPathFillMode(GpPath* path, GpFillMode fillMode);
GpStatus WINAPI GdipStartPathFigure(GpPath* path);
GpStatus WINAPI GdipClosePathFigure(GpPath* path);
GpStatus WINAPI GdipClosePathFigures(GpPath* path);
GpStatus WINAPI GdipAddPathLine(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2);
GpStatus WINAPI GdipAddPathLineI(GpPath* path, INT x1, INT y1, INT x2, INT y2);
GpStatus WINAPI GdipAddPathLine2(GpPath* path, const GpPointF* points, INT count);
GpStatus WINAPI GdipAddPathLine2I(GpPath* path, const GpPoint* points, INT count);
GpStatus WINAPI GdipAddPathArc(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                               REAL sweepAngle);
GpStatus WINAPI GdipAddPathArcI(GpPath* path, INT x, INT y, INT width, INT height, REAL startAngle,
                                REAL sweepAngle);
GpStatus WINAPI GdipAddPathBezier(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4,
                                  REAL y4);
GpStatus WINAPI GdipAddPathBezierI(GpPath* path, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4,
                                   INT y4);
GpStatus WINAPI GdipAddPathRectangle(GpPath* path, REAL x, REAL y, REAL width, REAL height);
GpStatus WINAPI GdipAddPathRectangleI(GpPath* path, INT x, INT y, INT width, INT height);
GpStatus WINAPI GdipAddPathEllipse(GpPath* path, REAL x, REAL y, REAL width, REAL height);
GpStatus WINAPI GdipAddPathEllipseI(GpPath* path, INT x, INT y, INT width, INT height);
GpStatus WINAPI GdipAddPathPolygon(GpPath* path, const GpPointF* points, INT count);
GpStatus WINAPI GdipAddPathPolygonI(GpPath* path, const GpPoint* points, INT count);
GpStatus WINAPI GdipAddPathString(GpPath* path, const WCHAR* string, INT length, const GpFontFamily* family,
                                  INT style, REAL emSize, const RectF* layoutRect,
                                  const GpStringFormat* format);
GpStatus WINAPI GdipAddPathStringI(GpPath* path, const WCHAR* string, INT length, const GpFontFamily* family,
                                   INT style, REAL emSize, const Rect* layoutRect,
                                   const GpStringFormat* format);
GpStatus WINAPI GdipGetPathWorldBounds(GpPath* path, GpRectF* bounds, const GpMatrix* matrix,
                                       const GpPen* pen);
GpStatus WINAPI GdipGetPathWorldBoundsI(GpPath* path, GpRect* bounds, const GpMatrix* matrix,
                                        const GpPen* pen);
GpStatus WINAPI GdipTransformPath(GpPath* path, GpMatrix* matrix);

// Matrices: row vectors, [x y 1] * [m11 m12 0; m21 m22 0; dx dy 1].
GpStatus WINAPI GdipCreateMatrix(GpMatrix** matrix);
GpStatus WINAPI GdipCreateMatrix2(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy,
                                  GpMatrix** matrix);
GpStatus WINAPI GdipCloneMatrix(GpMatrix* matrix, GpMatrix** clone);
GpStatus WINAPI GdipDeleteMatrix(GpMatrix* matrix);
GpStatus WINAPI GdipSetMatrixElements(GpMatrix* matrix, REAL m11, REAL m12, REAL m21, REAL m22, REAL dx,
                                      REAL dy);
GpStatus WINAPI GdipGetMatrixElements(const GpMatrix* matrix, REAL* elements);
GpStatus WINAPI GdipMultiplyMatrix(GpMatrix* matrix, GpMatrix* other, GpMatrixOrder order);
GpStatus WINAPI GdipTranslateMatrix(GpMatrix* matrix, REAL dx, REAL dy, GpMatrixOrder order);
GpStatus WINAPI GdipScaleMatrix(GpMatrix* matrix, REAL sx, REAL sy, GpMatrixOrder order);
GpStatus WINAPI GdipRotateMatrix(GpMatrix* matrix, REAL angle, GpMatrixOrder order);
GpStatus WINAPI GdipInvertMatrix(GpMatrix* matrix);
GpStatus WINAPI GdipTransformMatrixPoints(GpMatrix* matrix, GpPointF* points, INT count);
GpStatus WINAPI GdipTransformMatrixPointsI(GpMatrix* matrix, GpPoint* points, INT count);
GpStatus WINAPI GdipIsMatrixIdentity(const GpMatrix* matrix, BOOL* result);
GpStatus WINAPI GdipIsMatrixInvertible(const GpMatrix* matrix, BOOL* result);

}  // namespace DllExports
}  // namespace Gdiplus
