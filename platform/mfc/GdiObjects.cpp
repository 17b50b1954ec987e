// The drawing objects: creation over gdi's functions and the map from handles to objects.
#include "platform/mfc/GdiObjects.h"

#include <memory>

#include "platform/mfc/Dc.h"
#include "platform/mfc/ThreadState.h"
#include "platform/res/Resources.h"

using pictavo::mfc::State;

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)

namespace {

// A temporary object of the class that matches the handle's kind.
std::unique_ptr<CGdiObject> MakeTemporary(HGDIOBJ handle) {
  switch (::GetObjectType(handle)) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
      return std::make_unique<CPen>();
    case OBJ_BRUSH:
      return std::make_unique<CBrush>();
    case OBJ_FONT:
      return std::make_unique<CFont>();
    case OBJ_BITMAP:
      return std::make_unique<CBitmap>();
    case OBJ_REGION:
      return std::make_unique<CRgn>();
    case OBJ_PAL:
      return std::make_unique<CPalette>();
    default:
      return std::make_unique<CGdiObject>();
  }
}

}  // namespace

CGdiObject::~CGdiObject() {
  DeleteObject();
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) {
  if (!hObject) return nullptr;
  auto& map = State().gdiObjects;
  if (CGdiObject* object = map.FindPermanent(hObject)) return object;
  if (CGdiObject* object = map.FindTemporary(hObject)) return object;
  auto temporary = MakeTemporary(hObject);
  temporary->m_hObject = hObject;
  return map.AddTemporary(hObject, std::move(temporary));
}

void CGdiObject::DeleteTempMap() {
  pictavo::mfc::DeleteTempObjects();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
  if (!hObject) return FALSE;
  m_hObject = hObject;
  State().gdiObjects.SetPermanent(hObject, this);
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ handle = m_hObject;
  if (handle) State().gdiObjects.RemovePermanent(handle, this);
  m_hObject = nullptr;
  return handle;
}

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const {
  return ::GetObject(m_hObject, nCount, lpObject);
}

UINT CGdiObject::GetObjectType() const {
  return ::GetObjectType(m_hObject);
}

BOOL CGdiObject::CreateStockObject(int nIndex) {
  // Stock objects are shared: the object holds the handle without owning a copy of its own.
  return Attach(::GetStockObject(nIndex));
}

BOOL CGdiObject::UnrealizeObject() {
  return ::UnrealizeObject(m_hObject);
}

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) {
  CreatePen(nPenStyle, nWidth, crColor);
}
CPen* CPen::FromHandle(HPEN hPen) {
  return static_cast<CPen*>(CGdiObject::FromHandle(hPen));
}
BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
  return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}
BOOL CPen::CreatePen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount,
                     const DWORD* lpStyle) {
  return Attach(::ExtCreatePen(static_cast<DWORD>(nPenStyle), static_cast<DWORD>(nWidth), pLogBrush,
                               static_cast<DWORD>(nStyleCount), lpStyle));
}
BOOL CPen::CreatePenIndirect(LOGPEN* lpLogPen) {
  return Attach(::CreatePenIndirect(lpLogPen));
}

CBrush::CBrush(COLORREF crColor) {
  CreateSolidBrush(crColor);
}
CBrush::CBrush(int nIndex, COLORREF crColor) {
  CreateHatchBrush(nIndex, crColor);
}
CBrush::CBrush(CBitmap* pBitmap) {
  CreatePatternBrush(pBitmap);
}
CBrush* CBrush::FromHandle(HBRUSH hBrush) {
  return static_cast<CBrush*>(CGdiObject::FromHandle(hBrush));
}
BOOL CBrush::CreateSolidBrush(COLORREF crColor) {
  return Attach(::CreateSolidBrush(crColor));
}
BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor) {
  return Attach(::CreateHatchBrush(nIndex, crColor));
}
BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush) {
  return Attach(::CreateBrushIndirect(lpLogBrush));
}
BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) {
  return Attach(::CreatePatternBrush(static_cast<HBITMAP>(pBitmap->GetSafeHandle())));
}
BOOL CBrush::CreateSysColorBrush(int nIndex) {
  return Attach(::CreateSolidBrush(::GetSysColor(nIndex)));
}

CFont* CFont::FromHandle(HFONT hFont) {
  return static_cast<CFont*>(CGdiObject::FromHandle(hFont));
}
BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) {
  return Attach(::CreateFontIndirect(lpLogFont));
}
BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision,
                       BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename) {
  return Attach(::CreateFont(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline,
                             cStrikeOut, nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily,
                             lpszFacename));
}
BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC) {
  return Attach(pictavo::gdi::CreatePointFont(nPointSize, lpszFaceName, pDC->GetSafeHdc()));
}
BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC) {
  return Attach(pictavo::gdi::CreatePointFontIndirect(*lpLogFont, pDC->GetSafeHdc()));
}

CBitmap* CBitmap::FromHandle(HBITMAP hBitmap) {
  return static_cast<CBitmap*>(CGdiObject::FromHandle(hBitmap));
}
BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName) {
  return Attach(::LoadBitmap(AfxFindResourceHandle(lpszResourceName, RT_BITMAP), lpszResourceName));
}
BOOL CBitmap::LoadBitmap(UINT nIDResource) {
  return LoadBitmap(MAKEINTRESOURCE(nIDResource));
}
BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) {
  return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}
BOOL CBitmap::CreateBitmapIndirect(LPBITMAP lpBitmap) {
  return Attach(::CreateBitmapIndirect(lpBitmap));
}
BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
  return Attach(::CreateCompatibleBitmap(pDC->GetSafeHdc(), nWidth, nHeight));
}
DWORD CBitmap::SetBitmapBits(DWORD dwCount, const void* lpBits) {
  return static_cast<DWORD>(::SetBitmapBits(static_cast<HBITMAP>(m_hObject), dwCount, lpBits));
}
DWORD CBitmap::GetBitmapBits(DWORD dwCount, LPVOID lpBits) const {
  return static_cast<DWORD>(
      ::GetBitmapBits(static_cast<HBITMAP>(m_hObject), static_cast<LONG>(dwCount), lpBits));
}
CSize CBitmap::SetBitmapDimension(int nWidth, int nHeight) {
  const CSize old = m_dimension;
  m_dimension = CSize(nWidth, nHeight);
  return old;
}
CSize CBitmap::GetBitmapDimension() const {
  return m_dimension;
}

CRgn* CRgn::FromHandle(HRGN hRgn) {
  return static_cast<CRgn*>(CGdiObject::FromHandle(hRgn));
}
BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) {
  return Attach(::CreateRectRgn(x1, y1, x2, y2));
}
BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect) {
  return Attach(::CreateRectRgnIndirect(lpRect));
}
BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2) {
  return Attach(::CreateEllipticRgn(x1, y1, x2, y2));
}
BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT lpRect) {
  return Attach(::CreateEllipticRgnIndirect(lpRect));
}
BOOL CRgn::CreatePolygonRgn(LPPOINT lpPoints, int nCount, int nMode) {
  return Attach(::CreatePolygonRgn(lpPoints, nCount, nMode));
}
BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3) {
  return Attach(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
}
void CRgn::SetRectRgn(int x1, int y1, int x2, int y2) {
  ::SetRectRgn(static_cast<HRGN>(m_hObject), x1, y1, x2, y2);
}
void CRgn::SetRectRgn(LPCRECT lpRect) {
  SetRectRgn(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}
int CRgn::CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode) {
  return ::CombineRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(pRgn1->GetSafeHandle()),
                      static_cast<HRGN>(pRgn2->GetSafeHandle()), nCombineMode);
}
int CRgn::CopyRgn(const CRgn* pRgnSrc) {
  return ::CombineRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(pRgnSrc->GetSafeHandle()), nullptr,
                      RGN_COPY);
}
BOOL CRgn::EqualRgn(const CRgn* pRgn) const {
  return ::EqualRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(pRgn->GetSafeHandle()));
}
int CRgn::OffsetRgn(int x, int y) {
  return ::OffsetRgn(static_cast<HRGN>(m_hObject), x, y);
}
int CRgn::OffsetRgn(POINT point) {
  return OffsetRgn(point.x, point.y);
}
int CRgn::GetRgnBox(LPRECT lpRect) const {
  return ::GetRgnBox(static_cast<HRGN>(m_hObject), lpRect);
}
BOOL CRgn::PtInRegion(int x, int y) const {
  return ::PtInRegion(static_cast<HRGN>(m_hObject), x, y);
}
BOOL CRgn::PtInRegion(POINT point) const {
  return PtInRegion(point.x, point.y);
}
BOOL CRgn::RectInRegion(LPCRECT lpRect) const {
  return ::RectInRegion(static_cast<HRGN>(m_hObject), lpRect);
}

CPalette* CPalette::FromHandle(HPALETTE hPalette) {
  return static_cast<CPalette*>(CGdiObject::FromHandle(hPalette));
}
BOOL CPalette::CreatePalette(LOGPALETTE* lpLogPalette) {
  return Attach(::CreatePalette(lpLogPalette));
}
int CPalette::GetEntryCount() {
  WORD count = 0;
  GetObject(sizeof count, &count);
  return count;
}
UINT CPalette::GetPaletteEntries(UINT nStartIndex, UINT nNumEntries, PALETTEENTRY* lpPaletteColors) const {
  return ::GetPaletteEntries(static_cast<HPALETTE>(m_hObject), nStartIndex, nNumEntries, lpPaletteColors);
}
