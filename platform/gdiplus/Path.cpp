#include "platform/gdiplus/Path.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "platform/gdiplus/Pen.h"
#include "platform/gdiplus/TextLayout.h"

using namespace Gdiplus;

namespace pictavo::gdiplus {
namespace {

constexpr double kPi = 3.14159265358979323846;

PointF At(double x, double y) {
  return PointF(static_cast<REAL>(x), static_cast<REAL>(y));
}

void Push(GpPath& path, PointF p, BYTE type) {
  path.points.push_back(p);
  path.types.push_back(type);
}

// Continues the current figure at `p` (joined to it by a line) or starts a new one there.
void MoveOrJoin(GpPath& path, PointF p) {
  if (path.newFigure || path.points.empty()) {
    Push(path, p, PathPointTypeStart);
    path.newFigure = false;
  } else if (!path.points.back().Equals(p)) {
    Push(path, p, PathPointTypeLine);
  }
}

// The parameter of the point at `degrees` on an ellipse with radii rx, ry.
double ParameterOf(double degrees, double rx, double ry) {
  double a = degrees * kPi / 180.0;
  return std::atan2(std::sin(a) / std::max(ry, 1e-9), std::cos(a) / std::max(rx, 1e-9));
}

// Cubic Bezier segments of at most a quarter turn from parameter t0 to t1.
void AppendEllipticArc(GpPath& path, double cx, double cy, double rx, double ry, double t0, double t1) {
  int segments = std::max(1, static_cast<int>(std::ceil(std::abs(t1 - t0) / (kPi / 2) - 1e-9)));
  double step = (t1 - t0) / segments;
  double k = 4.0 / 3.0 * std::tan(step / 4);
  MoveOrJoin(path, At(cx + rx * std::cos(t0), cy + ry * std::sin(t0)));
  for (int i = 0; i < segments; ++i) {
    double a = t0 + step * i, b = a + step;
    double ax = cx + rx * std::cos(a), ay = cy + ry * std::sin(a);
    double bx = cx + rx * std::cos(b), by = cy + ry * std::sin(b);
    Push(path, At(ax - k * rx * std::sin(a), ay + k * ry * std::cos(a)), PathPointTypeBezier);
    Push(path, At(bx + k * rx * std::sin(b), by - k * ry * std::cos(b)), PathPointTypeBezier);
    Push(path, At(bx, by), PathPointTypeBezier);
  }
}

}  // namespace

void AppendPath(cairo_t* cr, const GpPath& path) {
  const size_t n = path.points.size();
  for (size_t i = 0; i < n;) {
    BYTE type = path.types[i] & PathPointTypePathTypeMask;
    size_t last = i;
    const PointF& p = path.points[i];
    if (type == PathPointTypeStart) {
      cairo_move_to(cr, p.X, p.Y);
    } else if (type == PathPointTypeBezier && i + 2 < n) {
      const PointF& q = path.points[i + 1];
      const PointF& r = path.points[i + 2];
      cairo_curve_to(cr, p.X, p.Y, q.X, q.Y, r.X, r.Y);
      last = i + 2;
    } else {
      cairo_line_to(cr, p.X, p.Y);
    }
    if (path.types[last] & PathPointTypeCloseSubpath) cairo_close_path(cr);
    i = last + 1;
  }
}

void AddLine(GpPath& path, PointF a, PointF b) {
  MoveOrJoin(path, a);
  Push(path, b, PathPointTypeLine);
}

void AddLines(GpPath& path, const PointF* points, INT count) {
  MoveOrJoin(path, points[0]);
  for (INT i = 1; i < count; ++i) Push(path, points[i], PathPointTypeLine);
}

void AddBezier(GpPath& path, PointF a, PointF b, PointF c, PointF d) {
  MoveOrJoin(path, a);
  Push(path, b, PathPointTypeBezier);
  Push(path, c, PathPointTypeBezier);
  Push(path, d, PathPointTypeBezier);
}

void AddArc(GpPath& path, const RectF& rect, double startAngle, double sweepAngle) {
  double rx = rect.Width / 2.0, ry = rect.Height / 2.0;
  double cx = rect.X + rx, cy = rect.Y + ry;
  sweepAngle = std::clamp(sweepAngle, -360.0, 360.0);
  double t0 = ParameterOf(startAngle, rx, ry);
  double dt;
  if (std::abs(sweepAngle) >= 360) {
    dt = sweepAngle > 0 ? 2 * kPi : -2 * kPi;
  } else {
    dt = ParameterOf(startAngle + sweepAngle, rx, ry) - t0;
    if (sweepAngle >= 0)
      while (dt < 0) dt += 2 * kPi;
    else
      while (dt > 0) dt -= 2 * kPi;
  }
  AppendEllipticArc(path, cx, cy, rx, ry, t0, t0 + dt);
}

void AddRectangle(GpPath& path, const RectF& rect) {
  path.newFigure = true;
  MoveOrJoin(path, At(rect.X, rect.Y));
  Push(path, At(rect.X + rect.Width, rect.Y), PathPointTypeLine);
  Push(path, At(rect.X + rect.Width, rect.Y + rect.Height), PathPointTypeLine);
  Push(path, At(rect.X, rect.Y + rect.Height), PathPointTypeLine);
  CloseFigure(path);
}

void AddEllipse(GpPath& path, const RectF& rect) {
  path.newFigure = true;
  double rx = rect.Width / 2.0, ry = rect.Height / 2.0;
  AppendEllipticArc(path, rect.X + rx, rect.Y + ry, rx, ry, 0, 2 * kPi);
  CloseFigure(path);
}

void AddPolygon(GpPath& path, const PointF* points, INT count) {
  path.newFigure = true;
  MoveOrJoin(path, points[0]);
  for (INT i = 1; i < count; ++i) Push(path, points[i], PathPointTypeLine);
  CloseFigure(path);
}

void CloseFigure(GpPath& path) {
  if (!path.types.empty() && !path.newFigure) path.types.back() |= PathPointTypeCloseSubpath;
  path.newFigure = true;
}

}  // namespace pictavo::gdiplus

using namespace pictavo::gdiplus;

namespace {

GpStatus AddStringTo(GpPath* path, const WCHAR* string, INT length, const GpFontFamily* family, INT style,
                     REAL emSize, const RectF& layoutRect, const GpStringFormat* format) {
  if (!path || !string || !family || !(emSize > 0)) return InvalidParameter;
  TextLayout layout;
  if (!LayOutText(string, length, family->face, style, emSize, layoutRect, format, layout))
    return FontFamilyNotFound;
  // An unbounded surface: cairo leaves out glyphs lying about ten ems beyond a bounded target's
  // edges, which would cut text laid out away from the origin.
  CairoSurface scratch(cairo_recording_surface_create(CAIRO_CONTENT_ALPHA, nullptr));
  CairoContext cr(cairo_create(scratch.get()));
  CairoFontOptions options(cairo_font_options_create());
  cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr.get(), options.get());
  cairo_set_font_size(cr.get(), emSize);
  std::vector<cairo_glyph_t> run;
  for (size_t i = 0; i < layout.glyphs.size(); ++i) {
    const PlacedGlyph& g = layout.glyphs[i];
    run.push_back(cairo_glyph_t{g.index, g.x, g.y});
    if (i + 1 == layout.glyphs.size() || layout.glyphs[i + 1].face != g.face) {
      cairo_set_font_face(cr.get(), g.face->CairoFace());
      cairo_glyph_path(cr.get(), run.data(), static_cast<int>(run.size()));
      run.clear();
    }
  }
  cairo_path_t* outline = cairo_copy_path(cr.get());
  if (outline && outline->status == CAIRO_STATUS_SUCCESS) {
    for (int i = 0; i < outline->num_data; i += outline->data[i].header.length) {
      const cairo_path_data_t* d = &outline->data[i];
      switch (d->header.type) {
        case CAIRO_PATH_MOVE_TO: {
          PointF start(static_cast<REAL>(d[1].point.x), static_cast<REAL>(d[1].point.y));
          // A figure of a single point (cairo moves after closing a contour) is dropped.
          if (!path->newFigure && !path->types.empty() &&
              (path->types.back() & PathPointTypePathTypeMask) == PathPointTypeStart) {
            path->points.pop_back();
            path->types.pop_back();
          }
          path->newFigure = true;
          AddLines(*path, &start, 1);
          break;
        }
        case CAIRO_PATH_LINE_TO:
          pictavo::gdiplus::AddLine(*path, path->points.back(),
                                    PointF(static_cast<REAL>(d[1].point.x), static_cast<REAL>(d[1].point.y)));
          break;
        case CAIRO_PATH_CURVE_TO:
          pictavo::gdiplus::AddBezier(
              *path, path->points.back(),
              PointF(static_cast<REAL>(d[1].point.x), static_cast<REAL>(d[1].point.y)),
              PointF(static_cast<REAL>(d[2].point.x), static_cast<REAL>(d[2].point.y)),
              PointF(static_cast<REAL>(d[3].point.x), static_cast<REAL>(d[3].point.y)));
          break;
        case CAIRO_PATH_CLOSE_PATH:
          CloseFigure(*path);
          break;
      }
    }
  }
  cairo_path_destroy(outline);
  for (const RectF& rule : layout.rules) pictavo::gdiplus::AddRectangle(*path, rule);
  path->newFigure = true;
  return Ok;
}

}  // namespace

namespace Gdiplus::DllExports {

GpStatus WINAPI GdipCreatePath(GpFillMode fillMode, GpPath** path) {
  if (!path) return InvalidParameter;
  *path = nullptr;
  if (!Started()) return GdiplusNotInitialized;
  if (fillMode != FillModeAlternate && fillMode != FillModeWinding) return InvalidParameter;
  *path = new (std::nothrow) GpPath;
  if (!*path) return OutOfMemory;
  (*path)->fillMode = fillMode;
  return Ok;
}

GpStatus WINAPI GdipClonePath(GpPath* path, GpPath** clone) {
  if (!path || !clone) return InvalidParameter;
  *clone = new (std::nothrow) GpPath(*path);
  return *clone ? Ok : OutOfMemory;
}

GpStatus WINAPI GdipDeletePath(GpPath* path) {
  if (!path) return InvalidParameter;
  delete path;
  return Ok;
}

GpStatus WINAPI GdipResetPath(GpPath* path) {
  if (!path) return InvalidParameter;
  FillMode mode = path->fillMode;
  *path = GpPath{};
  path->fillMode = mode;
  return Ok;
}

GpStatus WINAPI GdipGetPointCount(GpPath* path, INT* count) {
  if (!path || !count) return InvalidParameter;
  *count = static_cast<INT>(path->points.size());
  return Ok;
}

GpStatus WINAPI GdipGetPathFillMode(GpPath* path, GpFillMode* fillMode) {
  if (!path || !fillMode) return InvalidParameter;
  *fillMode = path->fillMode;
  return Ok;
}

GpStatus WINAPI GdipSetPathFillMode(GpPath* path, GpFillMode fillMode) {
  if (!path || (fillMode != FillModeAlternate && fillMode != FillModeWinding)) return InvalidParameter;
  path->fillMode = fillMode;
  return Ok;
}

GpStatus WINAPI GdipStartPathFigure(GpPath* path) {
  if (!path) return InvalidParameter;
  path->newFigure = true;
  return Ok;
}

GpStatus WINAPI GdipClosePathFigure(GpPath* path) {
  if (!path) return InvalidParameter;
  CloseFigure(*path);
  return Ok;
}

GpStatus WINAPI GdipClosePathFigures(GpPath* path) {
  if (!path) return InvalidParameter;
  for (size_t i = 0; i < path->types.size(); ++i)
    if (i + 1 == path->types.size() || (path->types[i + 1] & PathPointTypePathTypeMask) == PathPointTypeStart)
      path->types[i] |= PathPointTypeCloseSubpath;
  path->newFigure = true;
  return Ok;
}

GpStatus WINAPI GdipAddPathLine(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2) {
  if (!path) return InvalidParameter;
  pictavo::gdiplus::AddLine(*path, PointF(x1, y1), PointF(x2, y2));
  return Ok;
}

GpStatus WINAPI GdipAddPathLineI(GpPath* path, INT x1, INT y1, INT x2, INT y2) {
  return GdipAddPathLine(path, static_cast<REAL>(x1), static_cast<REAL>(y1), static_cast<REAL>(x2),
                         static_cast<REAL>(y2));
}

GpStatus WINAPI GdipAddPathLine2(GpPath* path, const GpPointF* points, INT count) {
  if (!path || !points || count < 1) return InvalidParameter;
  AddLines(*path, points, count);
  return Ok;
}

GpStatus WINAPI GdipAddPathLine2I(GpPath* path, const GpPoint* points, INT count) {
  if (!points || count < 1) return InvalidParameter;
  std::vector<PointF> p;
  for (INT i = 0; i < count; ++i)
    p.emplace_back(static_cast<REAL>(points[i].X), static_cast<REAL>(points[i].Y));
  return GdipAddPathLine2(path, p.data(), count);
}

GpStatus WINAPI GdipAddPathArc(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                               REAL sweepAngle) {
  if (!path || !(width > 0) || !(height > 0)) return InvalidParameter;
  pictavo::gdiplus::AddArc(*path, RectF(x, y, width, height), startAngle, sweepAngle);
  return Ok;
}

GpStatus WINAPI GdipAddPathArcI(GpPath* path, INT x, INT y, INT width, INT height, REAL startAngle,
                                REAL sweepAngle) {
  return GdipAddPathArc(path, static_cast<REAL>(x), static_cast<REAL>(y), static_cast<REAL>(width),
                        static_cast<REAL>(height), startAngle, sweepAngle);
}

GpStatus WINAPI GdipAddPathBezier(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4,
                                  REAL y4) {
  if (!path) return InvalidParameter;
  pictavo::gdiplus::AddBezier(*path, PointF(x1, y1), PointF(x2, y2), PointF(x3, y3), PointF(x4, y4));
  return Ok;
}

GpStatus WINAPI GdipAddPathBezierI(GpPath* path, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4,
                                   INT y4) {
  return GdipAddPathBezier(path, static_cast<REAL>(x1), static_cast<REAL>(y1), static_cast<REAL>(x2),
                           static_cast<REAL>(y2), static_cast<REAL>(x3), static_cast<REAL>(y3),
                           static_cast<REAL>(x4), static_cast<REAL>(y4));
}

GpStatus WINAPI GdipAddPathRectangle(GpPath* path, REAL x, REAL y, REAL width, REAL height) {
  if (!path) return InvalidParameter;
  pictavo::gdiplus::AddRectangle(*path, RectF(x, y, width, height));
  return Ok;
}

GpStatus WINAPI GdipAddPathRectangleI(GpPath* path, INT x, INT y, INT width, INT height) {
  return GdipAddPathRectangle(path, static_cast<REAL>(x), static_cast<REAL>(y), static_cast<REAL>(width),
                              static_cast<REAL>(height));
}

GpStatus WINAPI GdipAddPathEllipse(GpPath* path, REAL x, REAL y, REAL width, REAL height) {
  if (!path) return InvalidParameter;
  pictavo::gdiplus::AddEllipse(*path, RectF(x, y, width, height));
  return Ok;
}

GpStatus WINAPI GdipAddPathEllipseI(GpPath* path, INT x, INT y, INT width, INT height) {
  return GdipAddPathEllipse(path, static_cast<REAL>(x), static_cast<REAL>(y), static_cast<REAL>(width),
                            static_cast<REAL>(height));
}

GpStatus WINAPI GdipAddPathPolygon(GpPath* path, const GpPointF* points, INT count) {
  if (!path || !points || count < 3) return InvalidParameter;
  pictavo::gdiplus::AddPolygon(*path, points, count);
  return Ok;
}

GpStatus WINAPI GdipAddPathPolygonI(GpPath* path, const GpPoint* points, INT count) {
  if (!points || count < 3) return InvalidParameter;
  std::vector<PointF> p;
  for (INT i = 0; i < count; ++i)
    p.emplace_back(static_cast<REAL>(points[i].X), static_cast<REAL>(points[i].Y));
  return GdipAddPathPolygon(path, p.data(), count);
}

GpStatus WINAPI GdipAddPathString(GpPath* path, const WCHAR* string, INT length, const GpFontFamily* family,
                                  INT style, REAL emSize, const RectF* layoutRect,
                                  const GpStringFormat* format) {
  if (!layoutRect) return InvalidParameter;
  return AddStringTo(path, string, length, family, style, emSize, *layoutRect, format);
}

GpStatus WINAPI GdipAddPathStringI(GpPath* path, const WCHAR* string, INT length, const GpFontFamily* family,
                                   INT style, REAL emSize, const Rect* layoutRect,
                                   const GpStringFormat* format) {
  if (!layoutRect) return InvalidParameter;
  RectF r(static_cast<REAL>(layoutRect->X), static_cast<REAL>(layoutRect->Y),
          static_cast<REAL>(layoutRect->Width), static_cast<REAL>(layoutRect->Height));
  return AddStringTo(path, string, length, family, style, emSize, r, format);
}

GpStatus WINAPI GdipGetPathWorldBounds(GpPath* path, GpRectF* bounds, const GpMatrix* matrix,
                                       const GpPen* pen) {
  if (!path || !bounds) return InvalidParameter;
  *bounds = RectF();
  if (path->points.empty()) return Ok;
  CairoSurface scratch(cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1));
  CairoContext cr(cairo_create(scratch.get()));
  GpPath placed = *path;
  if (matrix)
    for (PointF& p : placed.points) {
      double x = p.X, y = p.Y;
      cairo_matrix_transform_point(&matrix->m, &x, &y);
      p = PointF(static_cast<REAL>(x), static_cast<REAL>(y));
    }
  AppendPath(cr.get(), placed);
  double x1, y1, x2, y2;
  if (pen) {
    ApplyPen(cr.get(), *pen, InterpolationModeDefault, false);
    cairo_stroke_extents(cr.get(), &x1, &y1, &x2, &y2);
  } else {
    cairo_path_extents(cr.get(), &x1, &y1, &x2, &y2);
  }
  *bounds = RectF(static_cast<REAL>(x1), static_cast<REAL>(y1), static_cast<REAL>(x2 - x1),
                  static_cast<REAL>(y2 - y1));
  return Ok;
}

GpStatus WINAPI GdipGetPathWorldBoundsI(GpPath* path, GpRect* bounds, const GpMatrix* matrix,
                                        const GpPen* pen) {
  if (!bounds) return InvalidParameter;
  RectF r;
  GpStatus status = GdipGetPathWorldBounds(path, &r, matrix, pen);
  if (status != Ok) return status;
  INT left = static_cast<INT>(std::floor(r.X)), top = static_cast<INT>(std::floor(r.Y));
  *bounds = Rect(left, top, static_cast<INT>(std::ceil(r.GetRight())) - left,
                 static_cast<INT>(std::ceil(r.GetBottom())) - top);
  return Ok;
}

GpStatus WINAPI GdipTransformPath(GpPath* path, GpMatrix* matrix) {
  if (!path) return InvalidParameter;
  if (!matrix) return Ok;
  for (PointF& p : path->points) {
    double x = p.X, y = p.Y;
    cairo_matrix_transform_point(&matrix->m, &x, &y);
    p = PointF(static_cast<REAL>(x), static_cast<REAL>(y));
  }
  return Ok;
}

}  // namespace Gdiplus::DllExports
