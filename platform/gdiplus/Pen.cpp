#include "platform/gdiplus/Pen.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "platform/gdiplus/Brush.h"

using namespace Gdiplus;
using namespace pictavo::gdiplus;

namespace {

// Cairo has one cap for both ends and no triangles or anchors: each maps to the nearest shape.
cairo_line_cap_t CapOf(LineCap cap) {
  switch (cap) {
    case LineCapSquare:
    case LineCapSquareAnchor:
      return CAIRO_LINE_CAP_SQUARE;
    case LineCapRound:
    case LineCapRoundAnchor:
      return CAIRO_LINE_CAP_ROUND;
    default:
      return CAIRO_LINE_CAP_BUTT;
  }
}

// Dash and gap lengths in pen widths.
std::vector<double> DashesOf(DashStyle style) {
  switch (style) {
    case DashStyleDash:
      return {3, 1};
    case DashStyleDot:
      return {1, 1};
    case DashStyleDashDot:
      return {3, 1, 1, 1};
    case DashStyleDashDotDot:
      return {3, 1, 1, 1, 1, 1};
    default:
      return {};
  }
}

}  // namespace

namespace pictavo::gdiplus {

void ApplyPen(cairo_t* cr, const GpPen& pen, InterpolationMode mode, bool halfPixel) {
  double width = pen.width;
  if (width <= 0) {
    double dx = 1, dy = 0;
    cairo_device_to_user_distance(cr, &dx, &dy);
    width = std::hypot(dx, dy);
  }
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CapOf(pen.startCap));
  switch (pen.join) {
    case LineJoinBevel:
      cairo_set_line_join(cr, CAIRO_LINE_JOIN_BEVEL);
      break;
    case LineJoinRound:
      cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
      break;
    default:
      cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
      cairo_set_miter_limit(cr, pen.miterLimit);
      break;
  }
  std::vector<double> dashes = DashesOf(pen.dash);
  for (double& d : dashes) d *= width;
  cairo_set_dash(cr, dashes.data(), static_cast<int>(dashes.size()), 0);
  if (pen.brush) {
    CairoPattern pattern = PatternOf(*pen.brush, mode, halfPixel);
    cairo_set_source(cr, pattern.get());
  } else {
    SetSourceArgb(cr, pen.color);
  }
}

}  // namespace pictavo::gdiplus

namespace Gdiplus::DllExports {

GpStatus WINAPI GdipCreatePen1(ARGB color, REAL width, GpUnit unit, GpPen** pen) {
  if (!pen) return InvalidParameter;
  *pen = nullptr;
  if (!Started()) return GdiplusNotInitialized;
  if (!std::isfinite(width) || width < 0 || (unit != UnitWorld && unit != UnitPixel)) return InvalidParameter;
  auto* p = new (std::nothrow) GpPen;
  if (!p) return OutOfMemory;
  p->color = color;
  p->width = width;
  p->unit = unit;
  *pen = p;
  return Ok;
}

GpStatus WINAPI GdipCreatePen2(GpBrush* brush, REAL width, GpUnit unit, GpPen** pen) {
  if (!brush) {
    if (pen) *pen = nullptr;
    return InvalidParameter;
  }
  GpStatus status =
      GdipCreatePen1(brush->kind == BrushKind::Solid ? brush->color : Color::Black, width, unit, pen);
  if (status != Ok) return status;
  if (brush->kind != BrushKind::Solid) {
    (*pen)->brush.reset(new (std::nothrow) GpBrush(*brush));
    if (!(*pen)->brush) {
      delete *pen;
      *pen = nullptr;
      return OutOfMemory;
    }
  }
  return Ok;
}

GpStatus WINAPI GdipClonePen(GpPen* pen, GpPen** clone) {
  if (!pen || !clone) return InvalidParameter;
  auto* p = new (std::nothrow) GpPen;
  if (!p) return OutOfMemory;
  p->color = pen->color;
  if (pen->brush) {
    p->brush.reset(new (std::nothrow) GpBrush(*pen->brush));
    if (!p->brush) {
      delete p;
      return OutOfMemory;
    }
  }
  p->width = pen->width;
  p->unit = pen->unit;
  p->dash = pen->dash;
  p->join = pen->join;
  p->startCap = pen->startCap;
  p->endCap = pen->endCap;
  p->dashCap = pen->dashCap;
  p->miterLimit = pen->miterLimit;
  *clone = p;
  return Ok;
}

GpStatus WINAPI GdipDeletePen(GpPen* pen) {
  if (!pen) return InvalidParameter;
  delete pen;
  return Ok;
}

GpStatus WINAPI GdipSetPenWidth(GpPen* pen, REAL width) {
  if (!pen || !std::isfinite(width) || width < 0) return InvalidParameter;
  pen->width = width;
  return Ok;
}

GpStatus WINAPI GdipGetPenWidth(GpPen* pen, REAL* width) {
  if (!pen || !width) return InvalidParameter;
  *width = pen->width;
  return Ok;
}

GpStatus WINAPI GdipSetPenColor(GpPen* pen, ARGB color) {
  if (!pen) return InvalidParameter;
  pen->color = color;
  pen->brush.reset();
  return Ok;
}

GpStatus WINAPI GdipGetPenColor(GpPen* pen, ARGB* color) {
  if (!pen || !color) return InvalidParameter;
  if (pen->brush) return InvalidParameter;  // the pen draws with a brush, not a colour
  *color = pen->color;
  return Ok;
}

GpStatus WINAPI GdipSetPenBrushFill(GpPen* pen, GpBrush* brush) {
  if (!pen || !brush) return InvalidParameter;
  if (brush->kind == BrushKind::Solid) {
    pen->color = brush->color;
    pen->brush.reset();
    return Ok;
  }
  pen->brush.reset(new (std::nothrow) GpBrush(*brush));
  return pen->brush ? Ok : OutOfMemory;
}

GpStatus WINAPI GdipSetPenDashStyle(GpPen* pen, GpDashStyle dashStyle) {
  if (!pen || dashStyle < DashStyleSolid || dashStyle >= DashStyleCustom) return InvalidParameter;
  pen->dash = dashStyle;
  return Ok;
}

GpStatus WINAPI GdipGetPenDashStyle(GpPen* pen, GpDashStyle* dashStyle) {
  if (!pen || !dashStyle) return InvalidParameter;
  *dashStyle = pen->dash;
  return Ok;
}

GpStatus WINAPI GdipSetPenLineJoin(GpPen* pen, GpLineJoin lineJoin) {
  if (!pen || lineJoin < LineJoinMiter || lineJoin > LineJoinMiterClipped) return InvalidParameter;
  pen->join = lineJoin;
  return Ok;
}

GpStatus WINAPI GdipGetPenLineJoin(GpPen* pen, GpLineJoin* lineJoin) {
  if (!pen || !lineJoin) return InvalidParameter;
  *lineJoin = pen->join;
  return Ok;
}

GpStatus WINAPI GdipSetPenStartCap(GpPen* pen, GpLineCap cap) {
  if (!pen) return InvalidParameter;
  pen->startCap = cap;
  return Ok;
}

GpStatus WINAPI GdipSetPenEndCap(GpPen* pen, GpLineCap cap) {
  if (!pen) return InvalidParameter;
  pen->endCap = cap;
  return Ok;
}

GpStatus WINAPI GdipSetPenLineCap197819(GpPen* pen, GpLineCap startCap, GpLineCap endCap, GpDashCap dashCap) {
  if (!pen) return InvalidParameter;
  pen->startCap = startCap;
  pen->endCap = endCap;
  pen->dashCap = dashCap;
  return Ok;
}

GpStatus WINAPI GdipSetPenMiterLimit(GpPen* pen, REAL miterLimit) {
  if (!pen || !std::isfinite(miterLimit)) return InvalidParameter;
  pen->miterLimit = std::max<REAL>(1, miterLimit);
  return Ok;
}

}  // namespace Gdiplus::DllExports
