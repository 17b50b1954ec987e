// Building path figures and handing them to cairo.
#pragma once

#include "platform/gdiplus/Cairo.h"
#include "platform/gdiplus/Objects.h"

namespace pictavo::gdiplus {

// Appends the path's figures to cairo's current path (in the current user space).
void AppendPath(cairo_t* cr, const Gdiplus::GpPath& path);

// The shapes the drawing calls and the path calls share.
void AddLine(Gdiplus::GpPath& path, Gdiplus::PointF a, Gdiplus::PointF b);
// Joins the points to the current figure (the first one starts a figure when none is open).
void AddLines(Gdiplus::GpPath& path, const Gdiplus::PointF* points, INT count);
void AddBezier(Gdiplus::GpPath& path, Gdiplus::PointF a, Gdiplus::PointF b, Gdiplus::PointF c,
               Gdiplus::PointF d);
// `startAngle` and `sweepAngle` in degrees, clockwise, measured on the ellipse as drawn.
void AddArc(Gdiplus::GpPath& path, const Gdiplus::RectF& rect, double startAngle, double sweepAngle);
void AddRectangle(Gdiplus::GpPath& path, const Gdiplus::RectF& rect);
void AddEllipse(Gdiplus::GpPath& path, const Gdiplus::RectF& rect);
void AddPolygon(Gdiplus::GpPath& path, const Gdiplus::PointF* points, INT count);
void CloseFigure(Gdiplus::GpPath& path);

}  // namespace pictavo::gdiplus
