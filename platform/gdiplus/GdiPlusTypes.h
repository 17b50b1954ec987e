// Values, records and geometry of the GDI+ API, with the numbers and layouts callers rely on.
#pragma once

#include "platform/base/WinTypes.h"

namespace Gdiplus {

using REAL = float;
using UINT16 = uint16_t;
using UINT32 = uint32_t;
using ARGB = DWORD;
using GraphicsState = UINT;
using GraphicsContainer = UINT;

enum Status {
  Ok = 0,
  GenericError = 1,
  InvalidParameter = 2,
  OutOfMemory = 3,
  ObjectBusy = 4,
  InsufficientBuffer = 5,
  NotImplemented = 6,
  Win32Error = 7,
  WrongState = 8,
  Aborted = 9,
  FileNotFound = 10,
  ValueOverflow = 11,
  AccessDenied = 12,
  UnknownImageFormat = 13,
  FontFamilyNotFound = 14,
  FontStyleNotFound = 15,
  NotTrueTypeFont = 16,
  UnsupportedGdiplusVersion = 17,
  GdiplusNotInitialized = 18,
  PropertyNotFound = 19,
  PropertyNotSupported = 20,
};
using GpStatus = Status;

enum Unit { UnitWorld, UnitDisplay, UnitPixel, UnitPoint, UnitInch, UnitDocument, UnitMillimeter };
using GpUnit = Unit;

enum QualityMode { QualityModeInvalid = -1, QualityModeDefault = 0, QualityModeLow = 1, QualityModeHigh = 2 };

enum SmoothingMode {
  SmoothingModeInvalid = QualityModeInvalid,
  SmoothingModeDefault = QualityModeDefault,
  SmoothingModeHighSpeed = QualityModeLow,
  SmoothingModeHighQuality = QualityModeHigh,
  SmoothingModeNone,
  SmoothingModeAntiAlias,
  SmoothingModeAntiAlias8x4 = SmoothingModeAntiAlias,
  SmoothingModeAntiAlias8x8,
};

enum TextRenderingHint {
  TextRenderingHintSystemDefault = 0,
  TextRenderingHintSingleBitPerPixelGridFit,
  TextRenderingHintSingleBitPerPixel,
  TextRenderingHintAntiAliasGridFit,
  TextRenderingHintAntiAlias,
  TextRenderingHintClearTypeGridFit,
};

enum InterpolationMode {
  InterpolationModeInvalid = QualityModeInvalid,
  InterpolationModeDefault = QualityModeDefault,
  InterpolationModeLowQuality = QualityModeLow,
  InterpolationModeHighQuality = QualityModeHigh,
  InterpolationModeBilinear,
  InterpolationModeBicubic,
  InterpolationModeNearestNeighbor,
  InterpolationModeHighQualityBilinear,
  InterpolationModeHighQualityBicubic,
};

enum CompositingMode { CompositingModeSourceOver, CompositingModeSourceCopy };

enum CompositingQuality {
  CompositingQualityInvalid = QualityModeInvalid,
  CompositingQualityDefault = QualityModeDefault,
  CompositingQualityHighSpeed = QualityModeLow,
  CompositingQualityHighQuality = QualityModeHigh,
  CompositingQualityGammaCorrected,
  CompositingQualityAssumeLinear,
};

enum PixelOffsetMode {
  PixelOffsetModeInvalid = QualityModeInvalid,
  PixelOffsetModeDefault = QualityModeDefault,
  PixelOffsetModeHighSpeed = QualityModeLow,
  PixelOffsetModeHighQuality = QualityModeHigh,
  PixelOffsetModeNone,
  PixelOffsetModeHalf,
};

enum FontStyle {
  FontStyleRegular = 0,
  FontStyleBold = 1,
  FontStyleItalic = 2,
  FontStyleBoldItalic = 3,
  FontStyleUnderline = 4,
  FontStyleStrikeout = 8,
};

enum StringAlignment { StringAlignmentNear = 0, StringAlignmentCenter = 1, StringAlignmentFar = 2 };

enum StringFormatFlags {
  StringFormatFlagsDirectionRightToLeft = 0x0001,
  StringFormatFlagsDirectionVertical = 0x0002,
  StringFormatFlagsNoFitBlackBox = 0x0004,
  StringFormatFlagsDisplayFormatControl = 0x0020,
  StringFormatFlagsNoFontFallback = 0x0400,
  StringFormatFlagsMeasureTrailingSpaces = 0x0800,
  StringFormatFlagsNoWrap = 0x1000,
  StringFormatFlagsLineLimit = 0x2000,
  StringFormatFlagsNoClip = 0x4000,
};

enum StringTrimming {
  StringTrimmingNone = 0,
  StringTrimmingCharacter = 1,
  StringTrimmingWord = 2,
  StringTrimmingEllipsisCharacter = 3,
  StringTrimmingEllipsisWord = 4,
  StringTrimmingEllipsisPath = 5,
};

enum WrapMode { WrapModeTile, WrapModeTileFlipX, WrapModeTileFlipY, WrapModeTileFlipXY, WrapModeClamp };
using GpWrapMode = WrapMode;

enum LinearGradientMode {
  LinearGradientModeHorizontal,
  LinearGradientModeVertical,
  LinearGradientModeForwardDiagonal,
  LinearGradientModeBackwardDiagonal,
};

enum BrushType {
  BrushTypeSolidColor = 0,
  BrushTypeHatchFill = 1,
  BrushTypeTextureFill = 2,
  BrushTypePathGradient = 3,
  BrushTypeLinearGradient = 4,
};
using GpBrushType = BrushType;

enum DashStyle {
  DashStyleSolid,
  DashStyleDash,
  DashStyleDot,
  DashStyleDashDot,
  DashStyleDashDotDot,
  DashStyleCustom
};
using GpDashStyle = DashStyle;

enum DashCap { DashCapFlat = 0, DashCapRound = 2, DashCapTriangle = 3 };
using GpDashCap = DashCap;

enum LineJoin { LineJoinMiter = 0, LineJoinBevel = 1, LineJoinRound = 2, LineJoinMiterClipped = 3 };
using GpLineJoin = LineJoin;

enum LineCap {
  LineCapFlat = 0,
  LineCapSquare = 1,
  LineCapRound = 2,
  LineCapTriangle = 3,
  LineCapNoAnchor = 0x10,
  LineCapSquareAnchor = 0x11,
  LineCapRoundAnchor = 0x12,
  LineCapDiamondAnchor = 0x13,
  LineCapArrowAnchor = 0x14,
  LineCapCustom = 0xff,
};
using GpLineCap = LineCap;

enum FillMode { FillModeAlternate, FillModeWinding };
using GpFillMode = FillMode;

enum CombineMode {
  CombineModeReplace,
  CombineModeIntersect,
  CombineModeUnion,
  CombineModeXor,
  CombineModeExclude,
  CombineModeComplement,
};

enum MatrixOrder { MatrixOrderPrepend = 0, MatrixOrderAppend = 1 };
using GpMatrixOrder = MatrixOrder;

enum FlushIntention { FlushIntentionFlush = 0, FlushIntentionSync = 1 };

enum ImageLockMode { ImageLockModeRead = 1, ImageLockModeWrite = 2, ImageLockModeUserInputBuf = 4 };

enum PathPointType {
  PathPointTypeStart = 0,
  PathPointTypeLine = 1,
  PathPointTypeBezier = 3,
  PathPointTypePathTypeMask = 0x07,
  PathPointTypeDashMode = 0x10,
  PathPointTypePathMarker = 0x20,
  PathPointTypeCloseSubpath = 0x80,
  PathPointTypeBezier3 = 3,
};

enum DebugEventLevel { DebugEventLevelFatal, DebugEventLevelWarning };

// Pixel formats: index | bits per pixel << 8 | kind flags.
using PixelFormat = INT;
inline constexpr PixelFormat PixelFormatIndexed = 0x00010000;
inline constexpr PixelFormat PixelFormatGDI = 0x00020000;
inline constexpr PixelFormat PixelFormatAlpha = 0x00040000;
inline constexpr PixelFormat PixelFormatPAlpha = 0x00080000;
inline constexpr PixelFormat PixelFormatExtended = 0x00100000;
inline constexpr PixelFormat PixelFormatCanonical = 0x00200000;
inline constexpr PixelFormat PixelFormatUndefined = 0;
inline constexpr PixelFormat PixelFormatDontCare = 0;
inline constexpr PixelFormat PixelFormat1bppIndexed = 1 | (1 << 8) | PixelFormatIndexed | PixelFormatGDI;
inline constexpr PixelFormat PixelFormat4bppIndexed = 2 | (4 << 8) | PixelFormatIndexed | PixelFormatGDI;
inline constexpr PixelFormat PixelFormat8bppIndexed = 3 | (8 << 8) | PixelFormatIndexed | PixelFormatGDI;
inline constexpr PixelFormat PixelFormat16bppRGB555 = 5 | (16 << 8) | PixelFormatGDI;
inline constexpr PixelFormat PixelFormat16bppRGB565 = 6 | (16 << 8) | PixelFormatGDI;
inline constexpr PixelFormat PixelFormat24bppRGB = 8 | (24 << 8) | PixelFormatGDI;
inline constexpr PixelFormat PixelFormat32bppRGB = 9 | (32 << 8) | PixelFormatGDI;
inline constexpr PixelFormat PixelFormat32bppARGB =
    10 | (32 << 8) | PixelFormatAlpha | PixelFormatGDI | PixelFormatCanonical;
inline constexpr PixelFormat PixelFormat32bppPARGB =
    11 | (32 << 8) | PixelFormatAlpha | PixelFormatPAlpha | PixelFormatGDI;
inline constexpr UINT GetPixelFormatSize(PixelFormat format) {
  return static_cast<UINT>((format >> 8) & 0xFF);
}
inline constexpr BOOL IsAlphaPixelFormat(PixelFormat format) {
  return (format & PixelFormatAlpha) != 0;
}

// Geometry.
class SizeF;
class PointF {
 public:
  PointF() : X(0), Y(0) {}
  PointF(REAL x, REAL y) : X(x), Y(y) {}
  PointF operator+(const PointF& p) const { return PointF(X + p.X, Y + p.Y); }
  PointF operator-(const PointF& p) const { return PointF(X - p.X, Y - p.Y); }
  BOOL Equals(const PointF& p) const { return X == p.X && Y == p.Y; }
  REAL X, Y;
};

class Point {
 public:
  Point() : X(0), Y(0) {}
  Point(INT x, INT y) : X(x), Y(y) {}
  Point operator+(const Point& p) const { return Point(X + p.X, Y + p.Y); }
  Point operator-(const Point& p) const { return Point(X - p.X, Y - p.Y); }
  BOOL Equals(const Point& p) const { return X == p.X && Y == p.Y; }
  INT X, Y;
};

class SizeF {
 public:
  SizeF() : Width(0), Height(0) {}
  SizeF(REAL width, REAL height) : Width(width), Height(height) {}
  BOOL Empty() const { return Width == 0 && Height == 0; }
  BOOL Equals(const SizeF& s) const { return Width == s.Width && Height == s.Height; }
  REAL Width, Height;
};

class Size {
 public:
  Size() : Width(0), Height(0) {}
  Size(INT width, INT height) : Width(width), Height(height) {}
  BOOL Empty() const { return Width == 0 && Height == 0; }
  BOOL Equals(const Size& s) const { return Width == s.Width && Height == s.Height; }
  INT Width, Height;
};

class RectF {
 public:
  RectF() : X(0), Y(0), Width(0), Height(0) {}
  RectF(REAL x, REAL y, REAL width, REAL height) : X(x), Y(y), Width(width), Height(height) {}
  RectF(const PointF& location, const SizeF& size)
      : X(location.X), Y(location.Y), Width(size.Width), Height(size.Height) {}
  RectF* Clone() const { return new RectF(X, Y, Width, Height); }
  void GetLocation(PointF* p) const { *p = PointF(X, Y); }
  void GetSize(SizeF* s) const { *s = SizeF(Width, Height); }
  void GetBounds(RectF* r) const { *r = *this; }
  REAL GetLeft() const { return X; }
  REAL GetTop() const { return Y; }
  REAL GetRight() const { return X + Width; }
  REAL GetBottom() const { return Y + Height; }
  BOOL IsEmptyArea() const { return Width <= 0 || Height <= 0; }
  BOOL Equals(const RectF& r) const { return X == r.X && Y == r.Y && Width == r.Width && Height == r.Height; }
  BOOL Contains(REAL x, REAL y) const { return x >= X && x < X + Width && y >= Y && y < Y + Height; }
  BOOL Contains(const PointF& p) const { return Contains(p.X, p.Y); }
  void Inflate(REAL dx, REAL dy) {
    X -= dx;
    Y -= dy;
    Width += 2 * dx;
    Height += 2 * dy;
  }
  void Offset(REAL dx, REAL dy) {
    X += dx;
    Y += dy;
  }
  BOOL Intersect(const RectF& r) { return Intersect(*this, *this, r); }
  static BOOL Intersect(RectF& out, const RectF& a, const RectF& b) {
    REAL right = a.GetRight() < b.GetRight() ? a.GetRight() : b.GetRight();
    REAL bottom = a.GetBottom() < b.GetBottom() ? a.GetBottom() : b.GetBottom();
    REAL left = a.X > b.X ? a.X : b.X;
    REAL top = a.Y > b.Y ? a.Y : b.Y;
    out = RectF(left, top, right - left, bottom - top);
    return !out.IsEmptyArea();
  }
  static BOOL Union(RectF& out, const RectF& a, const RectF& b) {
    REAL right = a.GetRight() > b.GetRight() ? a.GetRight() : b.GetRight();
    REAL bottom = a.GetBottom() > b.GetBottom() ? a.GetBottom() : b.GetBottom();
    REAL left = a.X < b.X ? a.X : b.X;
    REAL top = a.Y < b.Y ? a.Y : b.Y;
    out = RectF(left, top, right - left, bottom - top);
    return !out.IsEmptyArea();
  }
  REAL X, Y, Width, Height;
};

class Rect {
 public:
  Rect() : X(0), Y(0), Width(0), Height(0) {}
  Rect(INT x, INT y, INT width, INT height) : X(x), Y(y), Width(width), Height(height) {}
  Rect(const Point& location, const Size& size)
      : X(location.X), Y(location.Y), Width(size.Width), Height(size.Height) {}
  Rect* Clone() const { return new Rect(X, Y, Width, Height); }
  void GetLocation(Point* p) const { *p = Point(X, Y); }
  void GetSize(Size* s) const { *s = Size(Width, Height); }
  void GetBounds(Rect* r) const { *r = *this; }
  INT GetLeft() const { return X; }
  INT GetTop() const { return Y; }
  INT GetRight() const { return X + Width; }
  INT GetBottom() const { return Y + Height; }
  BOOL IsEmptyArea() const { return Width <= 0 || Height <= 0; }
  BOOL Equals(const Rect& r) const { return X == r.X && Y == r.Y && Width == r.Width && Height == r.Height; }
  BOOL Contains(INT x, INT y) const { return x >= X && x < X + Width && y >= Y && y < Y + Height; }
  BOOL Contains(const Point& p) const { return Contains(p.X, p.Y); }
  void Inflate(INT dx, INT dy) {
    X -= dx;
    Y -= dy;
    Width += 2 * dx;
    Height += 2 * dy;
  }
  void Offset(INT dx, INT dy) {
    X += dx;
    Y += dy;
  }
  BOOL Intersect(const Rect& r) { return Intersect(*this, *this, r); }
  static BOOL Intersect(Rect& out, const Rect& a, const Rect& b) {
    INT right = a.GetRight() < b.GetRight() ? a.GetRight() : b.GetRight();
    INT bottom = a.GetBottom() < b.GetBottom() ? a.GetBottom() : b.GetBottom();
    INT left = a.X > b.X ? a.X : b.X;
    INT top = a.Y > b.Y ? a.Y : b.Y;
    out = Rect(left, top, right - left, bottom - top);
    return !out.IsEmptyArea();
  }
  static BOOL Union(Rect& out, const Rect& a, const Rect& b) {
    INT right = a.GetRight() > b.GetRight() ? a.GetRight() : b.GetRight();
    INT bottom = a.GetBottom() > b.GetBottom() ? a.GetBottom() : b.GetBottom();
    INT left = a.X < b.X ? a.X : b.X;
    INT top = a.Y < b.Y ? a.Y : b.Y;
    out = Rect(left, top, right - left, bottom - top);
    return !out.IsEmptyArea();
  }
  INT X, Y, Width, Height;
};

using GpPointF = PointF;
using GpPoint = Point;
using GpRectF = RectF;
using GpRect = Rect;
using GpSizeF = SizeF;

// A colour with straight (not premultiplied) alpha: 0xAARRGGBB.
class Color {
 public:
  Color() : Argb(Black) {}
  Color(BYTE r, BYTE g, BYTE b) : Argb(MakeARGB(255, r, g, b)) {}
  Color(BYTE a, BYTE r, BYTE g, BYTE b) : Argb(MakeARGB(a, r, g, b)) {}
  Color(ARGB argb) : Argb(argb) {}  // NOLINT: converts implicitly, as callers expect

  BYTE GetAlpha() const { return static_cast<BYTE>(Argb >> AlphaShift); }
  BYTE GetA() const { return GetAlpha(); }
  BYTE GetRed() const { return static_cast<BYTE>(Argb >> RedShift); }
  BYTE GetR() const { return GetRed(); }
  BYTE GetGreen() const { return static_cast<BYTE>(Argb >> GreenShift); }
  BYTE GetG() const { return GetGreen(); }
  BYTE GetBlue() const { return static_cast<BYTE>(Argb >> BlueShift); }
  BYTE GetB() const { return GetBlue(); }
  ARGB GetValue() const { return Argb; }
  void SetValue(ARGB argb) { Argb = argb; }
  void SetFromCOLORREF(COLORREF rgb) {
    Argb = MakeARGB(255, rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
  }
  COLORREF ToCOLORREF() const {
    return static_cast<COLORREF>(GetRed()) | (static_cast<COLORREF>(GetGreen()) << 8) |
           (static_cast<COLORREF>(GetBlue()) << 16);
  }

  static ARGB MakeARGB(BYTE a, BYTE r, BYTE g, BYTE b) {
    return (static_cast<ARGB>(a) << AlphaShift) | (static_cast<ARGB>(r) << RedShift) |
           (static_cast<ARGB>(g) << GreenShift) | (static_cast<ARGB>(b) << BlueShift);
  }

  enum : ARGB {
    Transparent = 0x00FFFFFFu,
    Black = 0xFF000000u,
    White = 0xFFFFFFFFu,
    Red = 0xFFFF0000u,
    Green = 0xFF008000u,
    Blue = 0xFF0000FFu,
    Gray = 0xFF808080u,
  };
  enum { AlphaShift = 24, RedShift = 16, GreenShift = 8, BlueShift = 0 };
  enum : ARGB {
    AlphaMask = 0xFF000000u,
    RedMask = 0x00FF0000u,
    GreenMask = 0x0000FF00u,
    BlueMask = 0x000000FFu
  };

 protected:
  ARGB Argb;
};

// The pixels LockBits hands out.
class BitmapData {
 public:
  UINT Width;
  UINT Height;
  INT Stride;
  ::Gdiplus::PixelFormat PixelFormat;
  VOID* Scan0;
  UINT_PTR Reserved;
};

// GdiplusStartup's records.
using DebugEventProc = VOID(WINAPI*)(DebugEventLevel level, CHAR* message);
using NotificationHookProc = Status(WINAPI*)(ULONG_PTR* token);
using NotificationUnhookProc = VOID(WINAPI*)(ULONG_PTR token);

struct GdiplusStartupInput {
  UINT32 GdiplusVersion;
  DebugEventProc DebugEventCallback;
  BOOL SuppressBackgroundThread;
  BOOL SuppressExternalCodecs;

  GdiplusStartupInput(DebugEventProc debugEventCallback = nullptr, BOOL suppressBackgroundThread = FALSE,
                      BOOL suppressExternalCodecs = FALSE)
      : GdiplusVersion(1),
        DebugEventCallback(debugEventCallback),
        SuppressBackgroundThread(suppressBackgroundThread),
        SuppressExternalCodecs(suppressExternalCodecs) {}
};

struct GdiplusStartupOutput {
  NotificationHookProc NotificationHook;
  NotificationUnhookProc NotificationUnhook;
};

// Called between frames of a long DrawImage; returning TRUE stops it.
using DrawImageAbort = BOOL(CALLBACK*)(VOID* data);

}  // namespace Gdiplus
