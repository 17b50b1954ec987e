// Owning handles for cairo objects and the conversions between GDI+ values and cairo's.
#pragma once

#include <cairo.h>

#include <memory>

#include "platform/gdiplus/GdiPlusTypes.h"

namespace pictavo::gdiplus {

struct CairoDeleter {
  void operator()(cairo_t* p) const { cairo_destroy(p); }
  void operator()(cairo_surface_t* p) const { cairo_surface_destroy(p); }
  void operator()(cairo_pattern_t* p) const { cairo_pattern_destroy(p); }
  void operator()(cairo_font_face_t* p) const { cairo_font_face_destroy(p); }
  void operator()(cairo_scaled_font_t* p) const { cairo_scaled_font_destroy(p); }
  void operator()(cairo_font_options_t* p) const { cairo_font_options_destroy(p); }
};
using CairoContext = std::unique_ptr<cairo_t, CairoDeleter>;
using CairoSurface = std::unique_ptr<cairo_surface_t, CairoDeleter>;
using CairoPattern = std::unique_ptr<cairo_pattern_t, CairoDeleter>;
using CairoFontOptions = std::unique_ptr<cairo_font_options_t, CairoDeleter>;

// A surface handle shared between owners (a texture brush and its clones).
inline std::shared_ptr<cairo_surface_t> ShareSurface(cairo_surface_t* surface) {
  return std::shared_ptr<cairo_surface_t>(surface, [](cairo_surface_t* s) { cairo_surface_destroy(s); });
}

inline cairo_matrix_t IdentityMatrix() {
  cairo_matrix_t m;
  cairo_matrix_init_identity(&m);
  return m;
}

// GDI+ matrices take row vectors ([x y 1] * M); cairo's fields are the same numbers.
inline cairo_matrix_t MatrixOf(Gdiplus::REAL m11, Gdiplus::REAL m12, Gdiplus::REAL m21, Gdiplus::REAL m22,
                               Gdiplus::REAL dx, Gdiplus::REAL dy) {
  cairo_matrix_t m;
  cairo_matrix_init(&m, m11, m12, m21, m22, dx, dy);
  return m;
}

// `op` combined with `m`: applied before it (prepend) or after it (append).
inline void Combine(cairo_matrix_t& m, const cairo_matrix_t& op, Gdiplus::MatrixOrder order) {
  cairo_matrix_t result;
  if (order == Gdiplus::MatrixOrderAppend)
    cairo_matrix_multiply(&result, &m, &op);
  else
    cairo_matrix_multiply(&result, &op, &m);
  m = result;
}

inline bool IsInvertible(const cairo_matrix_t& m) {
  cairo_matrix_t copy = m;
  return cairo_matrix_invert(&copy) == CAIRO_STATUS_SUCCESS;
}

inline void SetSourceArgb(cairo_t* cr, Gdiplus::ARGB argb) {
  cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0,
                        (argb & 0xFF) / 255.0, (argb >> 24) / 255.0);
}

inline void AddColorStop(cairo_pattern_t* pattern, double offset, Gdiplus::ARGB argb) {
  cairo_pattern_add_color_stop_rgba(pattern, offset, ((argb >> 16) & 0xFF) / 255.0,
                                    ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0,
                                    (argb >> 24) / 255.0);
}

}  // namespace pictavo::gdiplus
