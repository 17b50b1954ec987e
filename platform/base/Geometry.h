// CPoint, CSize and CRect over the platform's POINT, SIZE and RECT, and the platform's
// rectangle functions. A rectangle holds [left, right) x [top, bottom); it is empty when it has
// no width or no height.
#pragma once

#include "platform/base/WinTypes.h"

// Rectangle functions: FALSE for a null pointer, and as the platform answers otherwise.
BOOL SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom);
BOOL SetRectEmpty(LPRECT lprc);
BOOL CopyRect(LPRECT lprcDst, const RECT* lprcSrc);
BOOL IsRectEmpty(const RECT* lprc);
BOOL PtInRect(const RECT* lprc, POINT pt);
BOOL OffsetRect(LPRECT lprc, int dx, int dy);
BOOL InflateRect(LPRECT lprc, int dx, int dy);
BOOL EqualRect(const RECT* lprc1, const RECT* lprc2);
// The overlap; empty (and FALSE) when there is none.
BOOL IntersectRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2);
// The smallest rectangle holding both; an empty source is left out.
BOOL UnionRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2);
// Src1 without src2 when what is left is a rectangle (src2 covers a whole side of src1),
// else src1 itself; FALSE when the result is empty.
BOOL SubtractRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2);

class CSize;
class CRect;

// may_alias: CRect::TopLeft and BottomRight hand out CPoint views of a RECT's corners.
class __attribute__((__may_alias__)) CPoint : public POINT {
 public:
  CPoint() noexcept : POINT{0, 0} {}
  CPoint(int initX, int initY) noexcept : POINT{initX, initY} {}
  CPoint(POINT initPt) noexcept : POINT(initPt) {}                     // NOLINT
  CPoint(SIZE initSize) noexcept : POINT{initSize.cx, initSize.cy} {}  // NOLINT
  // From a mouse message's lParam: signed 16-bit x in the low word, y in the high word.
  explicit CPoint(LPARAM dwPoint) noexcept
      : POINT{static_cast<SHORT>(LOWORD(dwPoint)), static_cast<SHORT>(HIWORD(dwPoint))} {}

  void Offset(int xOffset, int yOffset) { x += xOffset, y += yOffset; }
  void Offset(POINT point) { Offset(point.x, point.y); }
  void Offset(SIZE size) { Offset(size.cx, size.cy); }
  void SetPoint(int X, int Y) { x = X, y = Y; }

  bool operator==(POINT point) const { return x == point.x && y == point.y; }
  void operator+=(SIZE size) { Offset(size); }
  void operator-=(SIZE size) { Offset(-size.cx, -size.cy); }
  void operator+=(POINT point) { Offset(point); }
  void operator-=(POINT point) { Offset(-point.x, -point.y); }

  CPoint operator+(SIZE size) const { return CPoint(x + size.cx, y + size.cy); }
  CPoint operator-(SIZE size) const { return CPoint(x - size.cx, y - size.cy); }
  CPoint operator-() const { return CPoint(-x, -y); }
  CPoint operator+(POINT point) const { return CPoint(x + point.x, y + point.y); }
  inline CSize operator-(POINT point) const;
  inline CRect operator+(const RECT* lpRect) const;
  inline CRect operator-(const RECT* lpRect) const;
};

class CSize : public SIZE {
 public:
  CSize() noexcept : SIZE{0, 0} {}
  CSize(int initCX, int initCY) noexcept : SIZE{initCX, initCY} {}
  CSize(SIZE initSize) noexcept : SIZE(initSize) {}           // NOLINT
  CSize(POINT initPt) noexcept : SIZE{initPt.x, initPt.y} {}  // NOLINT
  explicit CSize(DWORD dwSize) noexcept
      : SIZE{static_cast<SHORT>(LOWORD(dwSize)), static_cast<SHORT>(HIWORD(dwSize))} {}

  void SetSize(int CX, int CY) { cx = CX, cy = CY; }
  bool operator==(SIZE size) const { return cx == size.cx && cy == size.cy; }
  void operator+=(SIZE size) { cx += size.cx, cy += size.cy; }
  void operator-=(SIZE size) { cx -= size.cx, cy -= size.cy; }

  CSize operator+(SIZE size) const { return CSize(cx + size.cx, cy + size.cy); }
  CSize operator-(SIZE size) const { return CSize(cx - size.cx, cy - size.cy); }
  CSize operator-() const { return CSize(-cx, -cy); }
  CPoint operator+(POINT point) const { return CPoint(cx + point.x, cy + point.y); }
  CPoint operator-(POINT point) const { return CPoint(cx - point.x, cy - point.y); }
  inline CRect operator+(const RECT* lpRect) const;
  inline CRect operator-(const RECT* lpRect) const;
};

class CRect : public RECT {
 public:
  CRect() noexcept : RECT{0, 0, 0, 0} {}
  CRect(int l, int t, int r, int b) noexcept : RECT{l, t, r, b} {}
  CRect(const RECT& srcRect) noexcept : RECT(srcRect) {}   // NOLINT
  CRect(LPCRECT lpSrcRect) noexcept : RECT(*lpSrcRect) {}  // NOLINT
  CRect(POINT point, SIZE size) noexcept : RECT{point.x, point.y, point.x + size.cx, point.y + size.cy} {}
  CRect(POINT topLeft, POINT bottomRight) noexcept
      : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(this); }
  CPoint& BottomRight() { return *(reinterpret_cast<CPoint*>(this) + 1); }
  const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(this); }
  const CPoint& BottomRight() const { return *(reinterpret_cast<const CPoint*>(this) + 1); }
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

  operator LPRECT() { return this; }         // NOLINT
  operator LPCRECT() const { return this; }  // NOLINT

  BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
  BOOL IsRectNull() const { return left == 0 && right == 0 && top == 0 && bottom == 0; }
  BOOL PtInRect(POINT point) const { return ::PtInRect(this, point); }

  void SetRect(int x1, int y1, int x2, int y2) { ::SetRect(this, x1, y1, x2, y2); }
  void SetRect(POINT topLeft, POINT bottomRight) {
    SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
  }
  void SetRectEmpty() { ::SetRectEmpty(this); }
  void CopyRect(LPCRECT lpSrcRect) { ::CopyRect(this, lpSrcRect); }
  BOOL EqualRect(LPCRECT lpRect) const { return ::EqualRect(this, lpRect); }

  void InflateRect(int x, int y) { ::InflateRect(this, x, y); }
  void InflateRect(SIZE size) { InflateRect(size.cx, size.cy); }
  void InflateRect(LPCRECT lpRect) { InflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
  void InflateRect(int l, int t, int r, int b) { left -= l, top -= t, right += r, bottom += b; }
  void DeflateRect(int x, int y) { ::InflateRect(this, -x, -y); }
  void DeflateRect(SIZE size) { DeflateRect(size.cx, size.cy); }
  void DeflateRect(LPCRECT lpRect) { DeflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
  void DeflateRect(int l, int t, int r, int b) { left += l, top += t, right -= r, bottom -= b; }

  void OffsetRect(int x, int y) { ::OffsetRect(this, x, y); }
  void OffsetRect(POINT point) { OffsetRect(point.x, point.y); }
  void OffsetRect(SIZE size) { OffsetRect(size.cx, size.cy); }
  void NormalizeRect();

  BOOL IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2) { return ::IntersectRect(this, lpRect1, lpRect2); }
  BOOL UnionRect(LPCRECT lpRect1, LPCRECT lpRect2) { return ::UnionRect(this, lpRect1, lpRect2); }
  BOOL SubtractRect(LPCRECT lpRectSrc1, LPCRECT lpRectSrc2) {
    return ::SubtractRect(this, lpRectSrc1, lpRectSrc2);
  }

  bool operator==(const RECT& rect) const { return ::EqualRect(this, &rect) != FALSE; }
  void operator+=(POINT point) { OffsetRect(point); }
  void operator+=(SIZE size) { OffsetRect(size); }
  void operator+=(LPCRECT lpRect) { InflateRect(lpRect); }
  void operator-=(POINT point) { OffsetRect(-point.x, -point.y); }
  void operator-=(SIZE size) { OffsetRect(-size.cx, -size.cy); }
  void operator-=(LPCRECT lpRect) { DeflateRect(lpRect); }
  void operator&=(const RECT& rect) { ::IntersectRect(this, this, &rect); }
  void operator|=(const RECT& rect) { ::UnionRect(this, this, &rect); }

  CRect operator+(POINT point) const {
    CRect r(*this);
    r.OffsetRect(point);
    return r;
  }
  CRect operator-(POINT point) const {
    CRect r(*this);
    r.OffsetRect(-point.x, -point.y);
    return r;
  }
  CRect operator+(SIZE size) const {
    CRect r(*this);
    r.OffsetRect(size);
    return r;
  }
  CRect operator-(SIZE size) const {
    CRect r(*this);
    r.OffsetRect(-size.cx, -size.cy);
    return r;
  }
  CRect operator+(LPCRECT lpRect) const {
    CRect r(*this);
    r.InflateRect(lpRect);
    return r;
  }
  CRect operator-(LPCRECT lpRect) const {
    CRect r(*this);
    r.DeflateRect(lpRect);
    return r;
  }
  CRect operator&(const RECT& rect) const {
    CRect r;
    ::IntersectRect(&r, this, &rect);
    return r;
  }
  CRect operator|(const RECT& rect) const {
    CRect r;
    ::UnionRect(&r, this, &rect);
    return r;
  }
};

inline CSize CPoint::operator-(POINT point) const {
  return CSize(x - point.x, y - point.y);
}
inline CRect CPoint::operator+(const RECT* lpRect) const {
  return CRect(lpRect) + *this;
}
inline CRect CPoint::operator-(const RECT* lpRect) const {
  return CRect(lpRect) - *this;
}
inline CRect CSize::operator+(const RECT* lpRect) const {
  return CRect(lpRect) + *this;
}
inline CRect CSize::operator-(const RECT* lpRect) const {
  return CRect(lpRect) - *this;
}
