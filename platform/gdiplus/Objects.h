// What the flat API's opaque objects are. Each object is used by one thread at a time, as the
// API requires; the shared caches behind fonts have their own locks.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gdiplus/Cairo.h"
#include "platform/gdiplus/GdiPlusFlat.h"

namespace pictavo::gdiplus {

// True between a GdiplusStartup and its GdiplusShutdown.
bool Started();

}  // namespace pictavo::gdiplus

namespace Gdiplus {

class GpMatrix {
 public:
  cairo_matrix_t m = pictavo::gdiplus::IdentityMatrix();
};

enum class BrushKind { Solid, Linear, Texture };

class GpBrush {
 public:
  explicit GpBrush(BrushKind kind) : kind(kind) {}

  const BrushKind kind;
  ARGB color = Color::Black;  // solid
  // Linear gradient: colours[0] at `start`, colours[1] at `end`, both in the gradient's own
  // space, which `shape` maps into brush space (the unit square onto the rectangle for the
  // modes and scalable angles).
  ARGB colors[2] = {Color::Black, Color::White};
  PointF start, end;
  cairo_matrix_t shape = pictavo::gdiplus::IdentityMatrix();
  RectF rect;  // what GetRectangle reports; for a texture, its size
  // Texture: a copy of the image's pixels (premultiplied or opaque), and the tile drawn from it
  // (with mirrored copies for the flip modes), rebuilt when the wrap mode changes.
  std::shared_ptr<cairo_surface_t> image;
  std::shared_ptr<cairo_surface_t> tile;
  WrapMode wrap = WrapModeTile;
  cairo_matrix_t transform = pictavo::gdiplus::IdentityMatrix();  // brush space to world
};

class GpPen {
 public:
  ARGB color = Color::Black;
  std::unique_ptr<GpBrush> brush;  // instead of the colour when set
  REAL width = 1;
  Unit unit = UnitWorld;
  DashStyle dash = DashStyleSolid;
  LineJoin join = LineJoinMiter;
  LineCap startCap = LineCapFlat;
  LineCap endCap = LineCapFlat;
  DashCap dashCap = DashCapFlat;
  REAL miterLimit = 10;
};

class GpStringFormat {
 public:
  INT flags = 0;
  StringAlignment align = StringAlignmentNear;
  StringAlignment lineAlign = StringAlignmentNear;
  StringTrimming trimming = StringTrimmingCharacter;
  bool typographic = false;  // no padding around lines
};

class GpPath {
 public:
  std::vector<PointF> points;
  std::vector<BYTE> types;  // PathPointType per point
  FillMode fillMode = FillModeAlternate;
  bool newFigure = true;  // the next point starts a figure
};

class GpFontFamily {
 public:
  std::wstring name;  // as the program names it
  std::string face;   // the installed family drawn for it
};

class GpFont {
 public:
  GpFontFamily family;
  REAL size = 0;
  INT style = FontStyleRegular;
  Unit unit = UnitPoint;
};

}  // namespace Gdiplus
