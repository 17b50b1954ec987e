#include <cmath>
#include <new>

#include "platform/gdiplus/Objects.h"

using namespace Gdiplus;
using pictavo::gdiplus::Combine;

namespace {

constexpr double kPi = 3.14159265358979323846;

cairo_matrix_t Rotation(REAL degrees) {
  cairo_matrix_t m;
  cairo_matrix_init_rotate(&m, degrees * kPi / 180.0);
  return m;
}

}  // namespace

namespace Gdiplus::DllExports {

GpStatus WINAPI GdipCreateMatrix(GpMatrix** matrix) {
  return GdipCreateMatrix2(1, 0, 0, 1, 0, 0, matrix);
}

GpStatus WINAPI GdipCreateMatrix2(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy,
                                  GpMatrix** matrix) {
  if (!matrix) return InvalidParameter;
  *matrix = nullptr;
  if (!pictavo::gdiplus::Started()) return GdiplusNotInitialized;
  *matrix = new (std::nothrow) GpMatrix{pictavo::gdiplus::MatrixOf(m11, m12, m21, m22, dx, dy)};
  return *matrix ? Ok : OutOfMemory;
}

GpStatus WINAPI GdipCloneMatrix(GpMatrix* matrix, GpMatrix** clone) {
  if (!matrix || !clone) return InvalidParameter;
  *clone = new (std::nothrow) GpMatrix(*matrix);
  return *clone ? Ok : OutOfMemory;
}

GpStatus WINAPI GdipDeleteMatrix(GpMatrix* matrix) {
  if (!matrix) return InvalidParameter;
  delete matrix;
  return Ok;
}

GpStatus WINAPI GdipSetMatrixElements(GpMatrix* matrix, REAL m11, REAL m12, REAL m21, REAL m22, REAL dx,
                                      REAL dy) {
  if (!matrix) return InvalidParameter;
  matrix->m = pictavo::gdiplus::MatrixOf(m11, m12, m21, m22, dx, dy);
  return Ok;
}

GpStatus WINAPI GdipGetMatrixElements(const GpMatrix* matrix, REAL* elements) {
  if (!matrix || !elements) return InvalidParameter;
  const cairo_matrix_t& m = matrix->m;
  elements[0] = static_cast<REAL>(m.xx);
  elements[1] = static_cast<REAL>(m.yx);
  elements[2] = static_cast<REAL>(m.xy);
  elements[3] = static_cast<REAL>(m.yy);
  elements[4] = static_cast<REAL>(m.x0);
  elements[5] = static_cast<REAL>(m.y0);
  return Ok;
}

GpStatus WINAPI GdipMultiplyMatrix(GpMatrix* matrix, GpMatrix* other, GpMatrixOrder order) {
  if (!matrix || !other) return InvalidParameter;
  Combine(matrix->m, other->m, order);
  return Ok;
}

GpStatus WINAPI GdipTranslateMatrix(GpMatrix* matrix, REAL dx, REAL dy, GpMatrixOrder order) {
  if (!matrix) return InvalidParameter;
  Combine(matrix->m, pictavo::gdiplus::MatrixOf(1, 0, 0, 1, dx, dy), order);
  return Ok;
}

GpStatus WINAPI GdipScaleMatrix(GpMatrix* matrix, REAL sx, REAL sy, GpMatrixOrder order) {
  if (!matrix) return InvalidParameter;
  Combine(matrix->m, pictavo::gdiplus::MatrixOf(sx, 0, 0, sy, 0, 0), order);
  return Ok;
}

GpStatus WINAPI GdipRotateMatrix(GpMatrix* matrix, REAL angle, GpMatrixOrder order) {
  if (!matrix) return InvalidParameter;
  Combine(matrix->m, Rotation(angle), order);
  return Ok;
}

GpStatus WINAPI GdipInvertMatrix(GpMatrix* matrix) {
  if (!matrix) return InvalidParameter;
  cairo_matrix_t m = matrix->m;
  if (cairo_matrix_invert(&m) != CAIRO_STATUS_SUCCESS) return InvalidParameter;
  matrix->m = m;
  return Ok;
}

GpStatus WINAPI GdipTransformMatrixPoints(GpMatrix* matrix, GpPointF* points, INT count) {
  if (!matrix || !points || count <= 0) return InvalidParameter;
  for (INT i = 0; i < count; ++i) {
    double x = points[i].X, y = points[i].Y;
    cairo_matrix_transform_point(&matrix->m, &x, &y);
    points[i] = PointF(static_cast<REAL>(x), static_cast<REAL>(y));
  }
  return Ok;
}

GpStatus WINAPI GdipTransformMatrixPointsI(GpMatrix* matrix, GpPoint* points, INT count) {
  if (!matrix || !points || count <= 0) return InvalidParameter;
  for (INT i = 0; i < count; ++i) {
    double x = points[i].X, y = points[i].Y;
    cairo_matrix_transform_point(&matrix->m, &x, &y);
    points[i] = Point(static_cast<INT>(std::lround(x)), static_cast<INT>(std::lround(y)));
  }
  return Ok;
}

GpStatus WINAPI GdipIsMatrixIdentity(const GpMatrix* matrix, BOOL* result) {
  if (!matrix || !result) return InvalidParameter;
  const cairo_matrix_t& m = matrix->m;
  *result = m.xx == 1 && m.yx == 0 && m.xy == 0 && m.yy == 1 && m.x0 == 0 && m.y0 == 0;
  return Ok;
}

GpStatus WINAPI GdipIsMatrixInvertible(const GpMatrix* matrix, BOOL* result) {
  if (!matrix || !result) return InvalidParameter;
  *result = pictavo::gdiplus::IsInvertible(matrix->m);
  return Ok;
}

}  // namespace Gdiplus::DllExports
