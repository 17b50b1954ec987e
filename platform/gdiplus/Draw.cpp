// Drawing calls: clearing, filling and stroking shapes, images and text.
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/gdiplus/Brush.h"
#include "platform/gdiplus/Graphics.h"
#include "platform/gdiplus/Path.h"
#include "platform/gdiplus/Pen.h"
#include "platform/gdiplus/TextLayout.h"

using namespace Gdiplus;
using namespace pictavo::gdiplus;

namespace {

GpStatus Fill(GpGraphics* g, const GpBrush* brush, const GpPath& path) {
  if (!g || !brush) return InvalidParameter;
  return Render(*g, [&](cairo_t* cr, const cairo_matrix_t& base) -> std::optional<Box> {
    UseWorld(cr, base, *g, true);
    cairo_set_antialias(cr, AntialiasOf(g->smoothing));
    AppendPath(cr, path);
    cairo_set_fill_rule(
        cr, path.fillMode == FillModeWinding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    CairoPattern pattern = PatternOf(*brush, g->interpolation, true);
    cairo_set_source(cr, pattern.get());
    double x1, y1, x2, y2;
    cairo_fill_extents(cr, &x1, &y1, &x2, &y2);
    Box box = DeviceExtents(cr, x1, y1, x2, y2);
    cairo_fill(cr);
    return box;
  });
}

GpStatus Stroke(GpGraphics* g, const GpPen* pen, const GpPath& path) {
  if (!g || !pen) return InvalidParameter;
  return Render(*g, [&](cairo_t* cr, const cairo_matrix_t& base) -> std::optional<Box> {
    UseWorld(cr, base, *g, true);
    cairo_set_antialias(cr, AntialiasOf(g->smoothing));
    AppendPath(cr, path);
    ApplyPen(cr, *pen, g->interpolation, true);
    double x1, y1, x2, y2;
    cairo_stroke_extents(cr, &x1, &y1, &x2, &y2);
    Box box = DeviceExtents(cr, x1, y1, x2, y2);
    cairo_stroke(cr);
    return box;
  });
}

GpPath RectanglePath(REAL x, REAL y, REAL width, REAL height) {
  GpPath path;
  AddRectangle(path, RectF(x, y, width, height));
  return path;
}

GpPath EllipsePath(REAL x, REAL y, REAL width, REAL height) {
  GpPath path;
  AddEllipse(path, RectF(x, y, width, height));
  return path;
}

template <class P>
std::vector<PointF> ToPointsF(const P* points, INT count) {
  std::vector<PointF> out;
  out.reserve(static_cast<size_t>(std::max(0, count)));
  for (INT i = 0; i < count; ++i)
    out.emplace_back(static_cast<REAL>(points[i].X), static_cast<REAL>(points[i].Y));
  return out;
}

GpPath OpenPath(const PointF* points, INT count) {
  GpPath path;
  AddLines(path, points, count);
  return path;
}

// Images: the source rectangle (pixels) onto the destination parallelogram of the world.
GpStatus PaintImage(GpGraphics* g, GpImage* image, double dx, double dy, double dw, double dh, double sx,
                    double sy, double sw, double sh) {
  if (!g || !image) return InvalidParameter;
  if (!(sw > 0) || !(sh > 0)) return InvalidParameter;
  // Only the part of the source inside the image is drawn, at the place it would have had.
  double cx1 = std::max(sx, 0.0), cy1 = std::max(sy, 0.0);
  double cx2 = std::min(sx + sw, static_cast<double>(image->Width()));
  double cy2 = std::min(sy + sh, static_cast<double>(image->Height()));
  if (cx1 >= cx2 || cy1 >= cy2 || dw == 0 || dh == 0) return Ok;
  double kx = dw / sw, ky = dh / sh;
  double ox = dx + (cx1 - sx) * kx, oy = dy + (cy1 - sy) * ky;
  return Render(*g, [&](cairo_t* cr, const cairo_matrix_t& base) -> std::optional<Box> {
    // Drawing a bitmap into itself reads a copy.
    CairoSurface copy;
    cairo_surface_t* source = image->View();
    if (image == g->image) {
      copy = image->CopyOfView(RECT{0, 0, image->Width(), image->Height()});
      source = copy.get();
    }
    UseWorld(cr, base, *g, false);
    cairo_set_antialias(cr, AntialiasOf(g->smoothing));
    cairo_rectangle(cr, ox, oy, (cx2 - cx1) * kx, (cy2 - cy1) * ky);
    Box box = DeviceExtents(cr, ox, oy, ox + (cx2 - cx1) * kx, oy + (cy2 - cy1) * ky);
    cairo_translate(cr, ox, oy);
    cairo_scale(cr, kx, ky);
    CairoPattern pattern(cairo_pattern_create_for_surface(source));
    cairo_matrix_t m;
    cairo_matrix_init_translate(&m, cx1, cy1);
    cairo_pattern_set_matrix(pattern.get(), &m);
    cairo_pattern_set_filter(pattern.get(), FilterOf(g->interpolation));
    cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_PAD);
    cairo_set_source(cr, pattern.get());
    cairo_fill(cr);
    return box;
  });
}

CairoFontOptions TextOptions(TextRenderingHint hint) {
  CairoFontOptions options(cairo_font_options_create());
  cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
  switch (hint) {
    case TextRenderingHintSingleBitPerPixelGridFit:
      cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_NONE);
      cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_FULL);
      break;
    case TextRenderingHintSingleBitPerPixel:
      cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_NONE);
      cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_NONE);
      break;
    case TextRenderingHintAntiAlias:
      cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_GRAY);
      cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_NONE);
      break;
    default:
      cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_GRAY);
      cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_SLIGHT);
      break;
  }
  return options;
}

GpStatus LayOut(const WCHAR* string, INT length, const GpFont* font, const RectF* layoutRect,
                const GpStringFormat* format, TextLayout& layout) {
  if (!string || !font || !layoutRect) return InvalidParameter;
  if (!LayOutText(string, length, font->family.face, font->style, EmSize(*font, 96), *layoutRect, format,
                  layout))
    return FontFamilyNotFound;
  return Ok;
}

}  // namespace

namespace Gdiplus::DllExports {

GpStatus WINAPI GdipGraphicsClear(GpGraphics* graphics, ARGB color) {
  if (!graphics) return InvalidParameter;
  if (graphics->image && !graphics->lentDc) {
    // Stored as given, without a round trip through premultiplied values.
    GpImage& image = *graphics->image;
    RECT bounds{0, 0, image.Width(), image.Height()};
    pictavo::gdi::RegionData area =
        graphics->clip ? graphics->clip->Intersected(bounds) : pictavo::gdi::RegionData(bounds);
    image.BeginStorageAccess();
    for (const RECT& r : area.Rects())
      for (LONG y = r.top; y < r.bottom; ++y)
        for (LONG x = r.left; x < r.right; ++x) image.StorePixel(x, y, color);
    image.StorageWritten();
    return Ok;
  }
  return Render(*graphics, [&](cairo_t* cr, const cairo_matrix_t&) -> std::optional<Box> {
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    SetSourceArgb(cr, color);
    cairo_paint(cr);
    return Box{-HUGE_VAL, -HUGE_VAL, HUGE_VAL, HUGE_VAL};
  });
}

GpStatus WINAPI GdipDrawLine(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2) {
  GpPath path;
  AddLine(path, PointF(x1, y1), PointF(x2, y2));
  return Stroke(graphics, pen, path);
}

GpStatus WINAPI GdipDrawLineI(GpGraphics* graphics, GpPen* pen, INT x1, INT y1, INT x2, INT y2) {
  return GdipDrawLine(graphics, pen, static_cast<REAL>(x1), static_cast<REAL>(y1), static_cast<REAL>(x2),
                      static_cast<REAL>(y2));
}

GpStatus WINAPI GdipDrawLines(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count) {
  if (!points || count < 2) return InvalidParameter;
  return Stroke(graphics, pen, OpenPath(points, count));
}

GpStatus WINAPI GdipDrawLinesI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count) {
  if (!points || count < 2) return InvalidParameter;
  std::vector<PointF> p = ToPointsF(points, count);
  return GdipDrawLines(graphics, pen, p.data(), count);
}

GpStatus WINAPI GdipDrawRectangle(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height) {
  return Stroke(graphics, pen, RectanglePath(x, y, width, height));
}

GpStatus WINAPI GdipDrawRectangleI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height) {
  return GdipDrawRectangle(graphics, pen, static_cast<REAL>(x), static_cast<REAL>(y),
                           static_cast<REAL>(width), static_cast<REAL>(height));
}

GpStatus WINAPI GdipDrawEllipse(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height) {
  return Stroke(graphics, pen, EllipsePath(x, y, width, height));
}

GpStatus WINAPI GdipDrawEllipseI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height) {
  return GdipDrawEllipse(graphics, pen, static_cast<REAL>(x), static_cast<REAL>(y), static_cast<REAL>(width),
                         static_cast<REAL>(height));
}

GpStatus WINAPI GdipDrawPolygon(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count) {
  if (!points || count < 2) return InvalidParameter;
  GpPath path;
  AddPolygon(path, points, count);
  return Stroke(graphics, pen, path);
}

GpStatus WINAPI GdipDrawPolygonI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count) {
  if (!points || count < 2) return InvalidParameter;
  std::vector<PointF> p = ToPointsF(points, count);
  return GdipDrawPolygon(graphics, pen, p.data(), count);
}

GpStatus WINAPI GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path) {
  if (!path) return InvalidParameter;
  return Stroke(graphics, pen, *path);
}

GpStatus WINAPI GdipFillRectangle(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width,
                                  REAL height) {
  return Fill(graphics, brush, RectanglePath(x, y, width, height));
}

GpStatus WINAPI GdipFillRectangleI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width,
                                   INT height) {
  return GdipFillRectangle(graphics, brush, static_cast<REAL>(x), static_cast<REAL>(y),
                           static_cast<REAL>(width), static_cast<REAL>(height));
}

GpStatus WINAPI GdipFillEllipse(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width,
                                REAL height) {
  return Fill(graphics, brush, EllipsePath(x, y, width, height));
}

GpStatus WINAPI GdipFillEllipseI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height) {
  return GdipFillEllipse(graphics, brush, static_cast<REAL>(x), static_cast<REAL>(y),
                         static_cast<REAL>(width), static_cast<REAL>(height));
}

GpStatus WINAPI GdipFillPolygon(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count,
                                GpFillMode fillMode) {
  if (!points || count < 3 || (fillMode != FillModeAlternate && fillMode != FillModeWinding))
    return InvalidParameter;
  GpPath path;
  path.fillMode = fillMode;
  AddPolygon(path, points, count);
  return Fill(graphics, brush, path);
}

GpStatus WINAPI GdipFillPolygonI(GpGraphics* graphics, GpBrush* brush, const GpPoint* points, INT count,
                                 GpFillMode fillMode) {
  if (!points || count < 3) return InvalidParameter;
  std::vector<PointF> p = ToPointsF(points, count);
  return GdipFillPolygon(graphics, brush, p.data(), count, fillMode);
}

GpStatus WINAPI GdipFillPath(GpGraphics* graphics, GpBrush* brush, GpPath* path) {
  if (!path) return InvalidParameter;
  return Fill(graphics, brush, *path);
}

GpStatus WINAPI GdipDrawImage(GpGraphics* graphics, GpImage* image, REAL x, REAL y) {
  if (!image) return InvalidParameter;
  return PaintImage(graphics, image, x, y, image->Width(), image->Height(), 0, 0, image->Width(),
                    image->Height());
}

GpStatus WINAPI GdipDrawImageI(GpGraphics* graphics, GpImage* image, INT x, INT y) {
  return GdipDrawImage(graphics, image, static_cast<REAL>(x), static_cast<REAL>(y));
}

GpStatus WINAPI GdipDrawImageRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL width,
                                  REAL height) {
  if (!image) return InvalidParameter;
  return PaintImage(graphics, image, x, y, width, height, 0, 0, image->Width(), image->Height());
}

GpStatus WINAPI GdipDrawImageRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT width,
                                   INT height) {
  return GdipDrawImageRect(graphics, image, static_cast<REAL>(x), static_cast<REAL>(y),
                           static_cast<REAL>(width), static_cast<REAL>(height));
}

GpStatus WINAPI GdipDrawImagePointRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL srcx,
                                       REAL srcy, REAL srcwidth, REAL srcheight, GpUnit srcUnit) {
  if (srcUnit != UnitPixel) return NotImplemented;
  return PaintImage(graphics, image, x, y, srcwidth, srcheight, srcx, srcy, srcwidth, srcheight);
}

GpStatus WINAPI GdipDrawImagePointRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT srcx,
                                        INT srcy, INT srcwidth, INT srcheight, GpUnit srcUnit) {
  return GdipDrawImagePointRect(graphics, image, static_cast<REAL>(x), static_cast<REAL>(y),
                                static_cast<REAL>(srcx), static_cast<REAL>(srcy), static_cast<REAL>(srcwidth),
                                static_cast<REAL>(srcheight), srcUnit);
}

GpStatus WINAPI GdipDrawImageRectRect(GpGraphics* graphics, GpImage* image, REAL dstx, REAL dsty,
                                      REAL dstwidth, REAL dstheight, REAL srcx, REAL srcy, REAL srcwidth,
                                      REAL srcheight, GpUnit srcUnit, const GpImageAttributes* attributes,
                                      DrawImageAbort, VOID*) {
  if (attributes || srcUnit != UnitPixel) return NotImplemented;
  return PaintImage(graphics, image, dstx, dsty, dstwidth, dstheight, srcx, srcy, srcwidth, srcheight);
}

GpStatus WINAPI GdipDrawImageRectRectI(GpGraphics* graphics, GpImage* image, INT dstx, INT dsty, INT dstwidth,
                                       INT dstheight, INT srcx, INT srcy, INT srcwidth, INT srcheight,
                                       GpUnit srcUnit, const GpImageAttributes* attributes,
                                       DrawImageAbort callback, VOID* callbackData) {
  return GdipDrawImageRectRect(graphics, image, static_cast<REAL>(dstx), static_cast<REAL>(dsty),
                               static_cast<REAL>(dstwidth), static_cast<REAL>(dstheight),
                               static_cast<REAL>(srcx), static_cast<REAL>(srcy), static_cast<REAL>(srcwidth),
                               static_cast<REAL>(srcheight), srcUnit, attributes, callback, callbackData);
}

GpStatus WINAPI GdipDrawString(GpGraphics* graphics, const WCHAR* string, INT length, const GpFont* font,
                               const RectF* layoutRect, const GpStringFormat* format, const GpBrush* brush) {
  if (!graphics || !brush) return InvalidParameter;
  TextLayout layout;
  GpStatus status = LayOut(string, length, font, layoutRect, format, layout);
  if (status != Ok || (layout.glyphs.empty() && layout.rules.empty())) return status;
  bool clipped = layoutRect->Width > 0 && layoutRect->Height > 0 &&
                 !(format && (format->flags & StringFormatFlagsNoClip));
  return Render(*graphics, [&](cairo_t* cr, const cairo_matrix_t& base) -> std::optional<Box> {
    UseWorld(cr, base, *graphics, false);
    if (clipped) {
      cairo_rectangle(cr, layoutRect->X, layoutRect->Y, layoutRect->Width, layoutRect->Height);
      cairo_clip(cr);
    }
    CairoFontOptions options = TextOptions(graphics->textHint);
    cairo_set_font_options(cr, options.get());
    cairo_set_font_size(cr, layout.em);
    CairoPattern pattern = PatternOf(*brush, graphics->interpolation, false);
    cairo_set_source(cr, pattern.get());
    std::vector<cairo_glyph_t> run;
    for (size_t i = 0; i < layout.glyphs.size(); ++i) {
      const PlacedGlyph& glyph = layout.glyphs[i];
      run.push_back(cairo_glyph_t{glyph.index, glyph.x, glyph.y});
      if (i + 1 == layout.glyphs.size() || layout.glyphs[i + 1].face != glyph.face) {
        cairo_set_font_face(cr, glyph.face->CairoFace());
        cairo_show_glyphs(cr, run.data(), static_cast<int>(run.size()));
        run.clear();
      }
    }
    cairo_set_antialias(cr, cairo_font_options_get_antialias(options.get()) == CAIRO_ANTIALIAS_NONE
                                ? CAIRO_ANTIALIAS_NONE
                                : CAIRO_ANTIALIAS_GOOD);
    for (const RectF& rule : layout.rules) cairo_rectangle(cr, rule.X, rule.Y, rule.Width, rule.Height);
    cairo_fill(cr);
    // Glyphs may reach past the line boxes by a fraction of the em.
    const RectF& b = layout.bounds;
    double margin = layout.em;
    return DeviceExtents(cr, b.X - margin, b.Y - margin, b.GetRight() + margin, b.GetBottom() + margin);
  });
}

GpStatus WINAPI GdipMeasureString(GpGraphics* graphics, const WCHAR* string, INT length, const GpFont* font,
                                  const RectF* layoutRect, const GpStringFormat* format, RectF* boundingBox,
                                  INT* codepointsFitted, INT* linesFilled) {
  if (!graphics || !boundingBox) return InvalidParameter;
  TextLayout layout;
  GpStatus status = LayOut(string, length, font, layoutRect, format, layout);
  if (status != Ok) return status;
  *boundingBox = layout.bounds;
  if (codepointsFitted) *codepointsFitted = layout.codepointsFitted;
  if (linesFilled) *linesFilled = layout.linesFilled;
  return Ok;
}

}  // namespace Gdiplus::DllExports
