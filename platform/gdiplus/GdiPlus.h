// The GDI+ classes over the flat API: each object owns its flat-API object, reports failures
// through GetLastStatus (the latest failure since the last call) and cannot be copied.
#pragma once

#include "platform/gdiplus/GdiPlusFlat.h"
#include "platform/gdiplus/GdiPlusTypes.h"

namespace Gdiplus {

class Graphics;
class Image;
class Bitmap;
class Brush;
class Pen;
class FontFamily;
class Font;
class FontCollection;   // only the installed fonts: callers pass null
class ImageAttributes;  // not supported: callers pass null
class StringFormat;
class GraphicsPath;
class Matrix;

class GdiplusBase {
 protected:
  GdiplusBase() = default;
};

// Keeps the latest failure until GetLastStatus reads it.
class StatusKeeper : public GdiplusBase {
 public:
  Status GetLastStatus() const {
    Status s = lastResult;
    lastResult = Ok;
    return s;
  }

 protected:
  Status SetStatus(Status status) const {
    if (status != Ok) lastResult = status;
    return status;
  }
  mutable Status lastResult = Ok;
};

class Matrix : public StatusKeeper {
 public:
  Matrix();
  Matrix(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy);
  ~Matrix();
  Matrix(const Matrix&) = delete;
  Matrix& operator=(const Matrix&) = delete;

  Matrix* Clone() const;
  Status GetElements(REAL* m) const;
  Status SetElements(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy);
  REAL OffsetX() const;
  REAL OffsetY() const;
  Status Reset();
  Status Multiply(const Matrix* matrix, MatrixOrder order = MatrixOrderPrepend);
  Status Translate(REAL offsetX, REAL offsetY, MatrixOrder order = MatrixOrderPrepend);
  Status Scale(REAL scaleX, REAL scaleY, MatrixOrder order = MatrixOrderPrepend);
  Status Rotate(REAL angle, MatrixOrder order = MatrixOrderPrepend);
  Status Invert();
  Status TransformPoints(PointF* points, INT count = 1) const;
  Status TransformPoints(Point* points, INT count = 1) const;
  BOOL IsIdentity() const;
  BOOL IsInvertible() const;

  GpMatrix* nativeMatrix = nullptr;
};

class Image : public StatusKeeper {
 public:
  virtual ~Image();
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  virtual Image* Clone();
  UINT GetWidth();
  UINT GetHeight();
  PixelFormat GetPixelFormat();
  REAL GetHorizontalResolution();
  REAL GetVerticalResolution();

  GpImage* nativeImage = nullptr;

 protected:
  Image() = default;
  explicit Image(GpImage* image, Status status) : nativeImage(image) { lastResult = status; }
};

class Bitmap : public Image {
 public:
  Bitmap(INT width, INT height, PixelFormat format = PixelFormat32bppARGB);
  // Uses the caller's pixels, which must outlive the bitmap.
  Bitmap(INT width, INT height, INT stride, PixelFormat format, BYTE* scan0);
  // Copies the pixels of a GDI bitmap.
  Bitmap(HBITMAP hbm, HPALETTE palette);
  static Bitmap* FromHBITMAP(HBITMAP hbm, HPALETTE palette);

  Bitmap* Clone() override;
  // A new 32-bit DIB section of the pixels over `background`.
  Status GetHBITMAP(const Color& background, HBITMAP* hbm);
  Status LockBits(const Rect* rect, UINT flags, PixelFormat format, BitmapData* lockedData);
  Status UnlockBits(BitmapData* lockedData);
  Status GetPixel(INT x, INT y, Color* color);
  Status SetPixel(INT x, INT y, const Color& color);

 private:
  Bitmap(GpImage* image, Status status) : Image(image, status) {}
};

class Brush : public StatusKeeper {
 public:
  virtual ~Brush();
  Brush(const Brush&) = delete;
  Brush& operator=(const Brush&) = delete;

  virtual Brush* Clone() const;
  BrushType GetType() const;

  GpBrush* nativeBrush = nullptr;

 protected:
  Brush() = default;
};

class SolidBrush : public Brush {
 public:
  explicit SolidBrush(const Color& color);
  Status GetColor(Color* color) const;
  Status SetColor(const Color& color);
};

class LinearGradientBrush : public Brush {
 public:
  // The first colour at point1, the second at point2.
  LinearGradientBrush(const PointF& point1, const PointF& point2, const Color& color1, const Color& color2);
  LinearGradientBrush(const Point& point1, const Point& point2, const Color& color1, const Color& color2);
  // Across the rectangle: left to right, top to bottom, or corner to corner.
  LinearGradientBrush(const RectF& rect, const Color& color1, const Color& color2, LinearGradientMode mode);
  LinearGradientBrush(const Rect& rect, const Color& color1, const Color& color2, LinearGradientMode mode);
  // Along a direction `angle` degrees clockwise from the x axis, from the rectangle's first
  // corner in that direction to its last; a scalable angle is taken in the rectangle's
  // proportions, as the modes are.
  LinearGradientBrush(const RectF& rect, const Color& color1, const Color& color2, REAL angle,
                      BOOL isAngleScalable = FALSE);
  LinearGradientBrush(const Rect& rect, const Color& color1, const Color& color2, REAL angle,
                      BOOL isAngleScalable = FALSE);

  Status SetLinearColors(const Color& color1, const Color& color2);
  Status GetLinearColors(Color* colors) const;
  Status GetRectangle(RectF* rect) const;
  Status SetWrapMode(WrapMode wrapMode);
  WrapMode GetWrapMode() const;
  Status SetTransform(const Matrix* matrix);
  Status GetTransform(Matrix* matrix) const;
  Status ResetTransform();
  Status TranslateTransform(REAL dx, REAL dy, MatrixOrder order = MatrixOrderPrepend);
  Status ScaleTransform(REAL sx, REAL sy, MatrixOrder order = MatrixOrderPrepend);
};

// Tiles a copy of the image (or of a rectangle of it) from the world origin.
class TextureBrush : public Brush {
 public:
  explicit TextureBrush(Image* image, WrapMode wrapMode = WrapModeTile);
  TextureBrush(Image* image, WrapMode wrapMode, const RectF& dstRect);
  TextureBrush(Image* image, WrapMode wrapMode, const Rect& dstRect);
  TextureBrush(Image* image, WrapMode wrapMode, REAL dstX, REAL dstY, REAL dstWidth, REAL dstHeight);

  Status SetWrapMode(WrapMode wrapMode);
  WrapMode GetWrapMode() const;
  Status SetTransform(const Matrix* matrix);
  Status GetTransform(Matrix* matrix) const;
  Status ResetTransform();
  Status TranslateTransform(REAL dx, REAL dy, MatrixOrder order = MatrixOrderPrepend);
  Status ScaleTransform(REAL sx, REAL sy, MatrixOrder order = MatrixOrderPrepend);
};

class Pen : public StatusKeeper {
 public:
  explicit Pen(const Color& color, REAL width = 1.0f);
  explicit Pen(const Brush* brush, REAL width = 1.0f);
  ~Pen();
  Pen(const Pen&) = delete;
  Pen& operator=(const Pen&) = delete;

  Pen* Clone() const;
  Status SetWidth(REAL width);
  REAL GetWidth() const;
  Status SetColor(const Color& color);
  Status GetColor(Color* color) const;
  Status SetBrush(const Brush* brush);
  Status SetDashStyle(DashStyle dashStyle);
  DashStyle GetDashStyle() const;
  Status SetLineJoin(LineJoin lineJoin);
  LineJoin GetLineJoin() const;
  Status SetStartCap(LineCap startCap);
  Status SetEndCap(LineCap endCap);
  Status SetLineCap(LineCap startCap, LineCap endCap, DashCap dashCap);
  Status SetMiterLimit(REAL miterLimit);

  GpPen* nativePen = nullptr;

 private:
  Pen(GpPen* pen, Status status) : nativePen(pen) { lastResult = status; }
};

class FontFamily : public StatusKeeper {
 public:
  FontFamily() = default;
  explicit FontFamily(const WCHAR* name, const FontCollection* fontCollection = nullptr);
  ~FontFamily();
  FontFamily(const FontFamily&) = delete;
  FontFamily& operator=(const FontFamily&) = delete;

  // Shared families, never deleted.
  static const FontFamily* GenericSansSerif();
  static const FontFamily* GenericSerif();
  static const FontFamily* GenericMonospace();

  FontFamily* Clone() const;
  BOOL IsAvailable() const { return nativeFamily != nullptr; }
  Status GetFamilyName(WCHAR name[LF_FACESIZE], LANGID language = 0) const;
  BOOL IsStyleAvailable(INT style) const;
  UINT16 GetEmHeight(INT style) const;
  UINT16 GetCellAscent(INT style) const;
  UINT16 GetCellDescent(INT style) const;
  UINT16 GetLineSpacing(INT style) const;

  GpFontFamily* nativeFamily = nullptr;

 private:
  friend class Font;
  FontFamily(GpFontFamily* family, Status status) : nativeFamily(family) { lastResult = status; }
};

class Font : public StatusKeeper {
 public:
  // The LOGFONT's face, size (pixels, negative for the em height) and style.
  Font(HDC hdc, const LOGFONTA* logfont);
  Font(HDC hdc, HFONT hfont);
  // The DC's selected font.
  explicit Font(HDC hdc);
  Font(const FontFamily* family, REAL emSize, INT style = FontStyleRegular, Unit unit = UnitPoint);
  Font(const WCHAR* familyName, REAL emSize, INT style = FontStyleRegular, Unit unit = UnitPoint,
       const FontCollection* fontCollection = nullptr);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  Font* Clone() const;
  BOOL IsAvailable() const { return nativeFont != nullptr; }
  Status GetFamily(FontFamily* family) const;
  INT GetStyle() const;
  REAL GetSize() const;
  Unit GetUnit() const;
  // The line spacing in the graphics' units, or in pixels at `dpi`.
  REAL GetHeight(const Graphics* graphics) const;
  REAL GetHeight(REAL dpi) const;

  GpFont* nativeFont = nullptr;

 private:
  Font(GpFont* font, Status status) : nativeFont(font) { lastResult = status; }
};

class StringFormat : public StatusKeeper {
 public:
  explicit StringFormat(INT formatFlags = 0, LANGID language = 0);
  explicit StringFormat(const StringFormat* format);
  ~StringFormat();
  StringFormat(const StringFormat&) = delete;
  StringFormat& operator=(const StringFormat&) = delete;

  // Shared formats, never deleted. The default one pads each line by a sixth of the em on
  // both sides; the typographic one does not and neither wraps nor clips more than asked.
  static const StringFormat* GenericDefault();
  static const StringFormat* GenericTypographic();

  StringFormat* Clone() const;
  Status SetFormatFlags(INT flags);
  INT GetFormatFlags() const;
  Status SetAlignment(StringAlignment align);
  StringAlignment GetAlignment() const;
  Status SetLineAlignment(StringAlignment align);
  StringAlignment GetLineAlignment() const;
  Status SetTrimming(StringTrimming trimming);
  StringTrimming GetTrimming() const;

  GpStringFormat* nativeFormat = nullptr;

 private:
  StringFormat(GpStringFormat* format, Status status) : nativeFormat(format) { lastResult = status; }
};

class GraphicsPath : public StatusKeeper {
 public:
  explicit GraphicsPath(FillMode fillMode = FillModeAlternate);
  ~GraphicsPath();
  GraphicsPath(const GraphicsPath&) = delete;
  GraphicsPath& operator=(const GraphicsPath&) = delete;

  GraphicsPath* Clone() const;
  Status Reset();
  FillMode GetFillMode() const;
  Status SetFillMode(FillMode fillMode);
  INT GetPointCount() const;
  Status StartFigure();
  Status CloseFigure();
  Status CloseAllFigures();

  Status AddLine(const PointF& pt1, const PointF& pt2);
  Status AddLine(REAL x1, REAL y1, REAL x2, REAL y2);
  Status AddLine(const Point& pt1, const Point& pt2);
  Status AddLine(INT x1, INT y1, INT x2, INT y2);
  Status AddLines(const PointF* points, INT count);
  Status AddLines(const Point* points, INT count);
  Status AddArc(const RectF& rect, REAL startAngle, REAL sweepAngle);
  Status AddArc(REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
  Status AddArc(const Rect& rect, REAL startAngle, REAL sweepAngle);
  Status AddArc(INT x, INT y, INT width, INT height, REAL startAngle, REAL sweepAngle);
  Status AddBezier(const PointF& pt1, const PointF& pt2, const PointF& pt3, const PointF& pt4);
  Status AddBezier(REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4, REAL y4);
  Status AddBezier(const Point& pt1, const Point& pt2, const Point& pt3, const Point& pt4);
  Status AddBezier(INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4, INT y4);
  Status AddRectangle(const RectF& rect);
  Status AddRectangle(const Rect& rect);
  Status AddEllipse(const RectF& rect);
  Status AddEllipse(REAL x, REAL y, REAL width, REAL height);
  Status AddEllipse(const Rect& rect);
  Status AddEllipse(INT x, INT y, INT width, INT height);
  Status AddPolygon(const PointF* points, INT count);
  Status AddPolygon(const Point* points, INT count);
  // The outlines of the string's glyphs at `emSize` world units.
  Status AddString(const WCHAR* string, INT length, const FontFamily* family, INT style, REAL emSize,
                   const PointF& origin, const StringFormat* format);
  Status AddString(const WCHAR* string, INT length, const FontFamily* family, INT style, REAL emSize,
                   const RectF& layoutRect, const StringFormat* format);
  Status AddString(const WCHAR* string, INT length, const FontFamily* family, INT style, REAL emSize,
                   const Point& origin, const StringFormat* format);
  Status AddString(const WCHAR* string, INT length, const FontFamily* family, INT style, REAL emSize,
                   const Rect& layoutRect, const StringFormat* format);
  Status GetBounds(RectF* bounds, const Matrix* matrix = nullptr, const Pen* pen = nullptr) const;
  Status GetBounds(Rect* bounds, const Matrix* matrix = nullptr, const Pen* pen = nullptr) const;
  Status Transform(const Matrix* matrix);

  GpPath* nativePath = nullptr;

 private:
  GraphicsPath(GpPath* path, Status status) : nativePath(path) { lastResult = status; }
};

class Graphics : public StatusKeeper {
 public:
  explicit Graphics(HDC hdc);
  explicit Graphics(Image* image);
  static Graphics* FromHDC(HDC hdc);
  static Graphics* FromImage(Image* image);
  ~Graphics();
  Graphics(const Graphics&) = delete;
  Graphics& operator=(const Graphics&) = delete;

  void Flush(FlushIntention intention = FlushIntentionFlush);
  // A DC drawing into the same pixels; the graphics draws nothing until it is released.
  HDC GetHDC();
  void ReleaseHDC(HDC hdc);

  Status SetSmoothingMode(SmoothingMode mode);
  SmoothingMode GetSmoothingMode() const;
  Status SetTextRenderingHint(TextRenderingHint hint);
  TextRenderingHint GetTextRenderingHint() const;
  Status SetInterpolationMode(InterpolationMode mode);
  InterpolationMode GetInterpolationMode() const;
  Status SetCompositingMode(CompositingMode mode);
  CompositingMode GetCompositingMode() const;
  Status SetCompositingQuality(CompositingQuality quality);
  CompositingQuality GetCompositingQuality() const;
  Status SetPixelOffsetMode(PixelOffsetMode mode);
  PixelOffsetMode GetPixelOffsetMode() const;
  REAL GetDpiX() const;
  REAL GetDpiY() const;

  Status SetTransform(const Matrix* matrix);
  Status ResetTransform();
  Status MultiplyTransform(const Matrix* matrix, MatrixOrder order = MatrixOrderPrepend);
  Status TranslateTransform(REAL dx, REAL dy, MatrixOrder order = MatrixOrderPrepend);
  Status ScaleTransform(REAL sx, REAL sy, MatrixOrder order = MatrixOrderPrepend);
  Status RotateTransform(REAL angle, MatrixOrder order = MatrixOrderPrepend);
  Status GetTransform(Matrix* matrix) const;

  Status SetClip(const RectF& rect, CombineMode mode = CombineModeReplace);
  Status SetClip(const Rect& rect, CombineMode mode = CombineModeReplace);
  Status SetClip(HRGN region, CombineMode mode = CombineModeReplace);
  Status IntersectClip(const RectF& rect);
  Status IntersectClip(const Rect& rect);
  Status ExcludeClip(const RectF& rect);
  Status ExcludeClip(const Rect& rect);
  Status ResetClip();
  Status GetClipBounds(RectF* rect) const;
  Status GetClipBounds(Rect* rect) const;
  BOOL IsClipEmpty() const;

  Status Clear(const Color& color);

  Status DrawLine(const Pen* pen, REAL x1, REAL y1, REAL x2, REAL y2);
  Status DrawLine(const Pen* pen, const PointF& pt1, const PointF& pt2);
  Status DrawLine(const Pen* pen, INT x1, INT y1, INT x2, INT y2);
  Status DrawLine(const Pen* pen, const Point& pt1, const Point& pt2);
  Status DrawLines(const Pen* pen, const PointF* points, INT count);
  Status DrawLines(const Pen* pen, const Point* points, INT count);
  Status DrawRectangle(const Pen* pen, const RectF& rect);
  Status DrawRectangle(const Pen* pen, REAL x, REAL y, REAL width, REAL height);
  Status DrawRectangle(const Pen* pen, const Rect& rect);
  Status DrawRectangle(const Pen* pen, INT x, INT y, INT width, INT height);
  Status DrawEllipse(const Pen* pen, const RectF& rect);
  Status DrawEllipse(const Pen* pen, REAL x, REAL y, REAL width, REAL height);
  Status DrawEllipse(const Pen* pen, const Rect& rect);
  Status DrawEllipse(const Pen* pen, INT x, INT y, INT width, INT height);
  Status DrawPolygon(const Pen* pen, const PointF* points, INT count);
  Status DrawPolygon(const Pen* pen, const Point* points, INT count);
  Status DrawPath(const Pen* pen, const GraphicsPath* path);

  Status FillRectangle(const Brush* brush, const RectF& rect);
  Status FillRectangle(const Brush* brush, REAL x, REAL y, REAL width, REAL height);
  Status FillRectangle(const Brush* brush, const Rect& rect);
  Status FillRectangle(const Brush* brush, INT x, INT y, INT width, INT height);
  Status FillEllipse(const Brush* brush, const RectF& rect);
  Status FillEllipse(const Brush* brush, REAL x, REAL y, REAL width, REAL height);
  Status FillEllipse(const Brush* brush, const Rect& rect);
  Status FillEllipse(const Brush* brush, INT x, INT y, INT width, INT height);
  Status FillPolygon(const Brush* brush, const PointF* points, INT count);
  Status FillPolygon(const Brush* brush, const PointF* points, INT count, FillMode fillMode);
  Status FillPolygon(const Brush* brush, const Point* points, INT count);
  Status FillPolygon(const Brush* brush, const Point* points, INT count, FillMode fillMode);
  Status FillPath(const Brush* brush, const GraphicsPath* path);

  Status DrawImage(Image* image, const PointF& point);
  Status DrawImage(Image* image, REAL x, REAL y);
  Status DrawImage(Image* image, const Point& point);
  Status DrawImage(Image* image, INT x, INT y);
  Status DrawImage(Image* image, const RectF& rect);
  Status DrawImage(Image* image, REAL x, REAL y, REAL width, REAL height);
  Status DrawImage(Image* image, const Rect& rect);
  Status DrawImage(Image* image, INT x, INT y, INT width, INT height);
  Status DrawImage(Image* image, REAL x, REAL y, REAL srcx, REAL srcy, REAL srcwidth, REAL srcheight,
                   Unit srcUnit);
  Status DrawImage(Image* image, INT x, INT y, INT srcx, INT srcy, INT srcwidth, INT srcheight, Unit srcUnit);
  Status DrawImage(Image* image, const RectF& destRect, REAL srcx, REAL srcy, REAL srcwidth, REAL srcheight,
                   Unit srcUnit, const ImageAttributes* imageAttributes = nullptr,
                   DrawImageAbort callback = nullptr, VOID* callbackData = nullptr);
  Status DrawImage(Image* image, const Rect& destRect, INT srcx, INT srcy, INT srcwidth, INT srcheight,
                   Unit srcUnit, const ImageAttributes* imageAttributes = nullptr,
                   DrawImageAbort callback = nullptr, VOID* callbackData = nullptr);

  Status DrawString(const WCHAR* string, INT length, const Font* font, const RectF& layoutRect,
                    const StringFormat* stringFormat, const Brush* brush);
  Status DrawString(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                    const Brush* brush);
  Status DrawString(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                    const StringFormat* stringFormat, const Brush* brush);
  Status MeasureString(const WCHAR* string, INT length, const Font* font, const RectF& layoutRect,
                       const StringFormat* stringFormat, RectF* boundingBox, INT* codepointsFitted = nullptr,
                       INT* linesFilled = nullptr) const;
  Status MeasureString(const WCHAR* string, INT length, const Font* font, const SizeF& layoutRectSize,
                       const StringFormat* stringFormat, SizeF* size, INT* codepointsFitted = nullptr,
                       INT* linesFilled = nullptr) const;
  Status MeasureString(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                       const StringFormat* stringFormat, RectF* boundingBox) const;
  Status MeasureString(const WCHAR* string, INT length, const Font* font, const RectF& layoutRect,
                       RectF* boundingBox) const;
  Status MeasureString(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                       RectF* boundingBox) const;

  GpGraphics* nativeGraphics = nullptr;

 private:
  Graphics(GpGraphics* graphics, Status status) : nativeGraphics(graphics) { lastResult = status; }
};

}  // namespace Gdiplus
