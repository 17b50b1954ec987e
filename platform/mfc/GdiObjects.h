// The class library's drawing objects over gdi's handles: CGdiObject and its pens, brushes,
// fonts, bitmaps, regions and palettes. An object deletes the handle it holds when it is
// destroyed; FromHandle gives the object that holds a handle, or a temporary one of the handle's
// kind that lives until the thread is next idle.
#pragma once

#include <cstdint>

#include "platform/base/CString.h"
#include "platform/base/Geometry.h"
#include "platform/base/Object.h"
#include "platform/gdi/Gdi.h"

class CDC;
class CBitmap;

namespace pictavo::mfc {
// Whether an object pointer is null, asked in a way the optimiser cannot drop: the class library's
// GetSafeHandle-style members are called through null pointers on purpose.
inline bool IsNullObject(const void* object) {
  auto value = reinterpret_cast<uintptr_t>(object);
  asm("" : "+r"(value));
  return value == 0;
}
}  // namespace pictavo::mfc

class CGdiObject : public CObject {
  DECLARE_DYNCREATE(CGdiObject)

 public:
  CGdiObject() = default;
  ~CGdiObject() override;

  HGDIOBJ m_hObject = nullptr;

  operator HGDIOBJ() const { return m_hObject; }  // NOLINT: implicit, as the class library's
  HGDIOBJ GetSafeHandle() const { return pictavo::mfc::IsNullObject(this) ? nullptr : m_hObject; }

  static CGdiObject* FromHandle(HGDIOBJ hObject);
  static void DeleteTempMap();
  BOOL Attach(HGDIOBJ hObject);
  HGDIOBJ Detach();
  BOOL DeleteObject();

  int GetObject(int nCount, LPVOID lpObject) const;
  UINT GetObjectType() const;
  BOOL CreateStockObject(int nIndex);
  BOOL UnrealizeObject();
  bool operator==(const CGdiObject& obj) const { return obj.m_hObject == m_hObject; }
};

class CPen : public CGdiObject {
  DECLARE_DYNAMIC(CPen)

 public:
  CPen() = default;
  CPen(int nPenStyle, int nWidth, COLORREF crColor);
  static CPen* FromHandle(HPEN hPen);
  operator HPEN() const { return static_cast<HPEN>(m_hObject); }  // NOLINT
  BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
  BOOL CreatePen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount = 0,
                 const DWORD* lpStyle = nullptr);
  BOOL CreatePenIndirect(LOGPEN* lpLogPen);
  int GetLogPen(LOGPEN* pLogPen) { return GetObject(sizeof(LOGPEN), pLogPen); }
};

class CBrush : public CGdiObject {
  DECLARE_DYNAMIC(CBrush)

 public:
  CBrush() = default;
  explicit CBrush(COLORREF crColor);
  CBrush(int nIndex, COLORREF crColor);
  explicit CBrush(CBitmap* pBitmap);
  static CBrush* FromHandle(HBRUSH hBrush);
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }  // NOLINT
  BOOL CreateSolidBrush(COLORREF crColor);
  BOOL CreateHatchBrush(int nIndex, COLORREF crColor);
  BOOL CreateBrushIndirect(const LOGBRUSH* lpLogBrush);
  BOOL CreatePatternBrush(CBitmap* pBitmap);
  BOOL CreateSysColorBrush(int nIndex);
  int GetLogBrush(LOGBRUSH* pLogBrush) { return GetObject(sizeof(LOGBRUSH), pLogBrush); }
};

class CFont : public CGdiObject {
  DECLARE_DYNAMIC(CFont)

 public:
  CFont() = default;
  static CFont* FromHandle(HFONT hFont);
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }  // NOLINT
  BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
  BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                  BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                  BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename);
  // Heights in tenths of a point, converted with the DC's resolution (the screen's without one).
  BOOL CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC = nullptr);
  BOOL CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC = nullptr);
  int GetLogFont(LOGFONT* pLogFont) { return GetObject(sizeof(LOGFONT), pLogFont); }
};

class CBitmap : public CGdiObject {
  DECLARE_DYNAMIC(CBitmap)

 public:
  CBitmap() = default;
  static CBitmap* FromHandle(HBITMAP hBitmap);
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }  // NOLINT
  BOOL LoadBitmap(LPCTSTR lpszResourceName);
  BOOL LoadBitmap(UINT nIDResource);
  BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits);
  BOOL CreateBitmapIndirect(LPBITMAP lpBitmap);
  BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
  int GetBitmap(BITMAP* pBitMap) { return GetObject(sizeof(BITMAP), pBitMap); }
  DWORD SetBitmapBits(DWORD dwCount, const void* lpBits);
  DWORD GetBitmapBits(DWORD dwCount, LPVOID lpBits) const;
  CSize SetBitmapDimension(int nWidth, int nHeight);
  CSize GetBitmapDimension() const;

 private:
  CSize m_dimension;
};

class CRgn : public CGdiObject {
  DECLARE_DYNAMIC(CRgn)

 public:
  CRgn() = default;
  static CRgn* FromHandle(HRGN hRgn);
  operator HRGN() const { return static_cast<HRGN>(m_hObject); }  // NOLINT
  BOOL CreateRectRgn(int x1, int y1, int x2, int y2);
  BOOL CreateRectRgnIndirect(LPCRECT lpRect);
  BOOL CreateEllipticRgn(int x1, int y1, int x2, int y2);
  BOOL CreateEllipticRgnIndirect(LPCRECT lpRect);
  BOOL CreatePolygonRgn(LPPOINT lpPoints, int nCount, int nMode);
  BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3);
  void SetRectRgn(int x1, int y1, int x2, int y2);
  void SetRectRgn(LPCRECT lpRect);
  int CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode);
  int CopyRgn(const CRgn* pRgnSrc);
  BOOL EqualRgn(const CRgn* pRgn) const;
  int OffsetRgn(int x, int y);
  int OffsetRgn(POINT point);
  int GetRgnBox(LPRECT lpRect) const;
  BOOL PtInRegion(int x, int y) const;
  BOOL PtInRegion(POINT point) const;
  BOOL RectInRegion(LPCRECT lpRect) const;
};

class CPalette : public CGdiObject {
  DECLARE_DYNAMIC(CPalette)

 public:
  CPalette() = default;
  static CPalette* FromHandle(HPALETTE hPalette);
  operator HPALETTE() const { return static_cast<HPALETTE>(m_hObject); }  // NOLINT
  BOOL CreatePalette(LOGPALETTE* lpLogPalette);
  int GetEntryCount();
  UINT GetPaletteEntries(UINT nStartIndex, UINT nNumEntries, PALETTEENTRY* lpPaletteColors) const;
};
