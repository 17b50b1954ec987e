// CDC and the window DCs over gdi's device contexts.
#include "platform/mfc/Dc.h"

#include <memory>

#include "platform/mfc/ThreadState.h"
#include "platform/mfc/Wnd.h"

using pictavo::mfc::State;

IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CDC::~CDC() {
  if (m_hDC) ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC hDC) {
  if (!hDC) return nullptr;
  auto& map = State().dcs;
  if (CDC* dc = map.FindPermanent(hDC)) return dc;
  if (CDC* dc = map.FindTemporary(hDC)) return dc;
  auto temporary = std::make_unique<CDC>();
  temporary->m_hDC = temporary->m_hAttribDC = hDC;
  return map.AddTemporary(hDC, std::move(temporary));
}

void CDC::DeleteTempMap() {
  pictavo::mfc::DeleteTempObjects();
}

BOOL CDC::Attach(HDC hDC) {
  if (!hDC) return FALSE;
  m_hDC = m_hAttribDC = hDC;
  State().dcs.SetPermanent(hDC, this);
  return TRUE;
}

HDC CDC::Detach() {
  HDC hDC = m_hDC;
  if (hDC) State().dcs.RemovePermanent(hDC, this);
  m_hDC = m_hAttribDC = nullptr;
  return hDC;
}

void CDC::SetAttribDC(HDC hDC) {
  m_hAttribDC = hDC;
}
void CDC::SetOutputDC(HDC hDC) {
  m_hDC = hDC;
}
void CDC::ReleaseAttribDC() {
  m_hAttribDC = nullptr;
}
void CDC::ReleaseOutputDC() {
  m_hDC = nullptr;
}

CWnd* CDC::GetWindow() const {
  return CWnd::FromHandle(::WindowFromDC(m_hDC));
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
  return Attach(::CreateCompatibleDC(pDC->GetSafeHdc()));
}

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  return ::DeleteDC(Detach());
}

int CDC::SaveDC() {
  return ::SaveDC(m_hDC);
}
BOOL CDC::RestoreDC(int nSavedDC) {
  return ::RestoreDC(m_hDC, nSavedDC);
}
int CDC::GetDeviceCaps(int nIndex) const {
  return ::GetDeviceCaps(m_hAttribDC, nIndex);
}

CPen* CDC::GetCurrentPen() const {
  return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN)));
}
CBrush* CDC::GetCurrentBrush() const {
  return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}
CFont* CDC::GetCurrentFont() const {
  return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}
CBitmap* CDC::GetCurrentBitmap() const {
  return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}
CPalette* CDC::GetCurrentPalette() const {
  return CPalette::FromHandle(static_cast<HPALETTE>(::GetCurrentObject(m_hDC, OBJ_PAL)));
}

CGdiObject* CDC::SelectStockObject(int nIndex) {
  return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(nIndex)));
}
CPen* CDC::SelectObject(CPen* pPen) {
  return static_cast<CPen*>(CGdiObject::FromHandle(::SelectObject(m_hDC, pPen->GetSafeHandle())));
}
CBrush* CDC::SelectObject(CBrush* pBrush) {
  return static_cast<CBrush*>(CGdiObject::FromHandle(::SelectObject(m_hDC, pBrush->GetSafeHandle())));
}
CFont* CDC::SelectObject(CFont* pFont) {
  return static_cast<CFont*>(CGdiObject::FromHandle(::SelectObject(m_hDC, pFont->GetSafeHandle())));
}
CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
  return static_cast<CBitmap*>(CGdiObject::FromHandle(::SelectObject(m_hDC, pBitmap->GetSafeHandle())));
}
int CDC::SelectObject(CRgn* pRgn) {
  return ::SelectClipRgn(m_hDC, static_cast<HRGN>(pRgn->GetSafeHandle()));
}
CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
  return CGdiObject::FromHandle(::SelectObject(m_hDC, pObject->GetSafeHandle()));
}
HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) {
  return ::SelectObject(m_hDC, hObject);
}
CPalette* CDC::SelectPalette(CPalette* pPalette, BOOL bForceBackground) {
  return CPalette::FromHandle(
      ::SelectPalette(m_hDC, static_cast<HPALETTE>(pPalette->GetSafeHandle()), bForceBackground));
}
UINT CDC::RealizePalette() {
  return ::RealizePalette(m_hDC);
}

COLORREF CDC::GetBkColor() const {
  return ::GetBkColor(m_hAttribDC);
}
COLORREF CDC::SetBkColor(COLORREF crColor) {
  return ::SetBkColor(m_hDC, crColor);
}
int CDC::GetBkMode() const {
  return ::GetBkMode(m_hAttribDC);
}
int CDC::SetBkMode(int nBkMode) {
  return ::SetBkMode(m_hDC, nBkMode);
}
COLORREF CDC::GetTextColor() const {
  return ::GetTextColor(m_hAttribDC);
}
COLORREF CDC::SetTextColor(COLORREF crColor) {
  return ::SetTextColor(m_hDC, crColor);
}
int CDC::GetROP2() const {
  return ::GetROP2(m_hAttribDC);
}
int CDC::SetROP2(int nDrawMode) {
  return ::SetROP2(m_hDC, nDrawMode);
}
int CDC::GetStretchBltMode() const {
  return ::GetStretchBltMode(m_hAttribDC);
}
int CDC::SetStretchBltMode(int nStretchMode) {
  return ::SetStretchBltMode(m_hDC, nStretchMode);
}
int CDC::GetPolyFillMode() const {
  return ::GetPolyFillMode(m_hAttribDC);
}
int CDC::SetPolyFillMode(int nPolyFillMode) {
  return ::SetPolyFillMode(m_hDC, nPolyFillMode);
}
UINT CDC::GetTextAlign() const {
  return ::GetTextAlign(m_hAttribDC);
}
UINT CDC::SetTextAlign(UINT nFlags) {
  return ::SetTextAlign(m_hDC, nFlags);
}
int CDC::SetTextCharacterExtra(int nCharExtra) {
  return ::SetTextCharacterExtra(m_hDC, nCharExtra);
}
CPoint CDC::GetBrushOrg() const {
  POINT point{};
  ::GetBrushOrgEx(m_hDC, &point);
  return point;
}
CPoint CDC::SetBrushOrg(int x, int y) {
  POINT old{};
  ::SetBrushOrgEx(m_hDC, x, y, &old);
  return old;
}
CPoint CDC::SetBrushOrg(POINT point) {
  return SetBrushOrg(point.x, point.y);
}
COLORREF CDC::GetNearestColor(COLORREF crColor) const {
  return ::GetNearestColor(m_hAttribDC, crColor);
}

int CDC::GetMapMode() const {
  return ::GetMapMode(m_hAttribDC);
}
int CDC::SetMapMode(int nMapMode) {
  return ::SetMapMode(m_hDC, nMapMode);
}
CPoint CDC::GetViewportOrg() const {
  POINT point{};
  ::GetViewportOrgEx(m_hAttribDC, &point);
  return point;
}
CPoint CDC::SetViewportOrg(int x, int y) {
  POINT old{};
  ::SetViewportOrgEx(m_hDC, x, y, &old);
  return old;
}
CPoint CDC::SetViewportOrg(POINT point) {
  return SetViewportOrg(point.x, point.y);
}
CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight) {
  POINT old{};
  ::OffsetViewportOrgEx(m_hDC, nWidth, nHeight, &old);
  return old;
}
CPoint CDC::GetWindowOrg() const {
  POINT point{};
  ::GetWindowOrgEx(m_hAttribDC, &point);
  return point;
}
CPoint CDC::SetWindowOrg(int x, int y) {
  POINT old{};
  ::SetWindowOrgEx(m_hDC, x, y, &old);
  return old;
}
CPoint CDC::SetWindowOrg(POINT point) {
  return SetWindowOrg(point.x, point.y);
}
CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight) {
  POINT old{};
  ::OffsetWindowOrgEx(m_hDC, nWidth, nHeight, &old);
  return old;
}
void CDC::DPtoLP(LPPOINT lpPoints, int nCount) const {
  ::DPtoLP(m_hAttribDC, lpPoints, nCount);
}
void CDC::DPtoLP(LPRECT lpRect) const {
  ::DPtoLP(m_hAttribDC, reinterpret_cast<LPPOINT>(lpRect), 2);
}
void CDC::DPtoLP(LPSIZE lpSize) const {
  POINT points[2] = {{0, 0}, {lpSize->cx, lpSize->cy}};
  ::DPtoLP(m_hAttribDC, points, 2);
  lpSize->cx = points[1].x - points[0].x;
  lpSize->cy = points[1].y - points[0].y;
}
void CDC::LPtoDP(LPPOINT lpPoints, int nCount) const {
  ::LPtoDP(m_hAttribDC, lpPoints, nCount);
}
void CDC::LPtoDP(LPRECT lpRect) const {
  ::LPtoDP(m_hAttribDC, reinterpret_cast<LPPOINT>(lpRect), 2);
}
void CDC::LPtoDP(LPSIZE lpSize) const {
  POINT points[2] = {{0, 0}, {lpSize->cx, lpSize->cy}};
  ::LPtoDP(m_hAttribDC, points, 2);
  lpSize->cx = points[1].x - points[0].x;
  lpSize->cy = points[1].y - points[0].y;
}

int CDC::GetClipBox(LPRECT lpRect) const {
  return ::GetClipBox(m_hDC, lpRect);
}
BOOL CDC::PtVisible(int x, int y) const {
  return ::PtVisible(m_hDC, x, y);
}
BOOL CDC::PtVisible(POINT point) const {
  return PtVisible(point.x, point.y);
}
BOOL CDC::RectVisible(LPCRECT lpRect) const {
  return ::RectVisible(m_hDC, lpRect);
}
int CDC::SelectClipRgn(CRgn* pRgn) {
  return ::SelectClipRgn(m_hDC, static_cast<HRGN>(pRgn->GetSafeHandle()));
}
int CDC::SelectClipRgn(CRgn* pRgn, int nMode) {
  return ::ExtSelectClipRgn(m_hDC, static_cast<HRGN>(pRgn->GetSafeHandle()), nMode);
}
int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2) {
  return ::ExcludeClipRect(m_hDC, x1, y1, x2, y2);
}
int CDC::ExcludeClipRect(LPCRECT lpRect) {
  return ExcludeClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}
int CDC::IntersectClipRect(int x1, int y1, int x2, int y2) {
  return ::IntersectClipRect(m_hDC, x1, y1, x2, y2);
}
int CDC::IntersectClipRect(LPCRECT lpRect) {
  return IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}
int CDC::OffsetClipRgn(int x, int y) {
  return ::OffsetClipRgn(m_hDC, x, y);
}
int CDC::OffsetClipRgn(SIZE size) {
  return OffsetClipRgn(size.cx, size.cy);
}

CPoint CDC::GetCurrentPosition() const {
  POINT point{};
  ::GetCurrentPositionEx(m_hAttribDC, &point);
  return point;
}
CPoint CDC::MoveTo(int x, int y) {
  POINT old{};
  ::MoveToEx(m_hDC, x, y, &old);
  return old;
}
CPoint CDC::MoveTo(POINT point) {
  return MoveTo(point.x, point.y);
}
BOOL CDC::LineTo(int x, int y) {
  return ::LineTo(m_hDC, x, y);
}
BOOL CDC::LineTo(POINT point) {
  return LineTo(point.x, point.y);
}
BOOL CDC::Polyline(const POINT* lpPoints, int nCount) {
  return ::Polyline(m_hDC, lpPoints, nCount);
}
BOOL CDC::Polygon(const POINT* lpPoints, int nCount) {
  return ::Polygon(m_hDC, lpPoints, nCount);
}
BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) {
  return ::Rectangle(m_hDC, x1, y1, x2, y2);
}
BOOL CDC::Rectangle(LPCRECT lpRect) {
  return Rectangle(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}
BOOL CDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
  return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3);
}
BOOL CDC::RoundRect(LPCRECT lpRect, POINT point) {
  return RoundRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom, point.x, point.y);
}
BOOL CDC::Ellipse(int x1, int y1, int x2, int y2) {
  return ::Ellipse(m_hDC, x1, y1, x2, y2);
}
BOOL CDC::Ellipse(LPCRECT lpRect) {
  return Ellipse(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}
void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) {
  ::FillRect(m_hDC, lpRect, static_cast<HBRUSH>(pBrush->GetSafeHandle()));
}
void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush) {
  ::FrameRect(m_hDC, lpRect, static_cast<HBRUSH>(pBrush->GetSafeHandle()));
}
void CDC::InvertRect(LPCRECT lpRect) {
  ::InvertRect(m_hDC, lpRect);
}
BOOL CDC::FillRgn(CRgn* pRgn, CBrush* pBrush) {
  return ::FillRgn(m_hDC, static_cast<HRGN>(pRgn->GetSafeHandle()),
                   static_cast<HBRUSH>(pBrush->GetSafeHandle()));
}
BOOL CDC::FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight) {
  return ::FrameRgn(m_hDC, static_cast<HRGN>(pRgn->GetSafeHandle()),
                    static_cast<HBRUSH>(pBrush->GetSafeHandle()), nWidth, nHeight);
}
BOOL CDC::InvertRgn(CRgn* pRgn) {
  return ::InvertRgn(m_hDC, static_cast<HRGN>(pRgn->GetSafeHandle()));
}
BOOL CDC::PaintRgn(CRgn* pRgn) {
  return ::PaintRgn(m_hDC, static_cast<HRGN>(pRgn->GetSafeHandle()));
}
void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
  pictavo::gdi::FillSolidRect(m_hDC, *lpRect, clr);
}
void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
  pictavo::gdi::FillSolidRect(m_hDC, RECT{x, y, x + cx, y + cy}, clr);
}
void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
             clrTopLeft, clrBottomRight);
}
void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  pictavo::gdi::Draw3dRect(m_hDC, x, y, cx, cy, clrTopLeft, clrBottomRight);
}
void CDC::DrawFocusRect(LPCRECT lpRect) {
  ::DrawFocusRect(m_hDC, lpRect);
}
BOOL CDC::DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) {
  return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags);
}
BOOL CDC::DrawFrameControl(LPRECT lpRect, UINT nType, UINT nState) {
  return ::DrawFrameControl(m_hDC, lpRect, nType, nState);
}
BOOL CDC::DrawIcon(int x, int y, HICON hIcon) {
  return ::DrawIcon(m_hDC, x, y, hIcon);
}
BOOL CDC::DrawIcon(POINT point, HICON hIcon) {
  return DrawIcon(point.x, point.y, hIcon);
}
BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush) {
  return ::DrawState(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, pt.x, pt.y, size.cx, size.cy,
                     nFlags | DST_ICON);
}
BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush) {
  return ::DrawState(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hBitmap), 0, pt.x, pt.y, size.cx,
                     size.cy, nFlags | DST_BITMAP);
}
BOOL CDC::DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText, int nTextLen,
                    HBRUSH hBrush) {
  return ::DrawState(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(lpszText),
                     static_cast<WPARAM>(nTextLen), pt.x, pt.y, size.cx, size.cy,
                     nFlags | (bPrefixText ? DST_PREFIXTEXT : DST_TEXT));
}
COLORREF CDC::GetPixel(int x, int y) const {
  return ::GetPixel(m_hDC, x, y);
}
COLORREF CDC::GetPixel(POINT point) const {
  return GetPixel(point.x, point.y);
}
COLORREF CDC::SetPixel(int x, int y, COLORREF crColor) {
  return ::SetPixel(m_hDC, x, y, crColor);
}
COLORREF CDC::SetPixel(POINT point, COLORREF crColor) {
  return SetPixel(point.x, point.y, crColor);
}
BOOL CDC::SetPixelV(int x, int y, COLORREF crColor) {
  return ::SetPixelV(m_hDC, x, y, crColor);
}

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) {
  return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop);
}
BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) {
  return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC->GetSafeHdc(), xSrc, ySrc, dwRop);
}
BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                     int nSrcHeight, DWORD dwRop) {
  return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC->GetSafeHdc(), xSrc, ySrc, nSrcWidth, nSrcHeight,
                      dwRop);
}
BOOL CDC::AlphaBlend(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc, int ySrc,
                     int nSrcWidth, int nSrcHeight, BLENDFUNCTION blend) {
  return ::AlphaBlend(m_hDC, xDest, yDest, nDestWidth, nDestHeight, pSrcDC->GetSafeHdc(), xSrc, ySrc,
                      nSrcWidth, nSrcHeight, blend);
}
BOOL CDC::TransparentBlt(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc,
                         int ySrc, int nSrcWidth, int nSrcHeight, UINT clrTransparent) {
  return ::TransparentBlt(m_hDC, xDest, yDest, nDestWidth, nDestHeight, pSrcDC->GetSafeHdc(), xSrc, ySrc,
                          nSrcWidth, nSrcHeight, clrTransparent);
}

BOOL CDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount) {
  return ::TextOut(m_hDC, x, y, lpszString, nCount);
}
BOOL CDC::TextOut(int x, int y, const CString& str) {
  return TextOut(x, y, str, str.GetLength());
}
BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount,
                     LPINT lpDxWidths) {
  return ::ExtTextOut(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
}
BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str, LPINT lpDxWidths) {
  return ExtTextOut(x, y, nOptions, lpRect, str, static_cast<UINT>(str.GetLength()), lpDxWidths);
}
int CDC::DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
  return ::DrawText(m_hDC, lpszString, nCount, lpRect, nFormat);
}
int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat) {
  return DrawText(str, str.GetLength(), lpRect, nFormat);
}
CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const {
  SIZE size{};
  ::GetTextExtentPoint32(m_hAttribDC, lpszString, nCount, &size);
  return size;
}
CSize CDC::GetTextExtent(const CString& str) const {
  return GetTextExtent(str, str.GetLength());
}
CSize CDC::GetOutputTextExtent(LPCTSTR lpszString, int nCount) const {
  SIZE size{};
  ::GetTextExtentPoint32(m_hDC, lpszString, nCount, &size);
  return size;
}
CSize CDC::GetOutputTextExtent(const CString& str) const {
  return GetOutputTextExtent(str, str.GetLength());
}
BOOL CDC::GetTextMetrics(LPTEXTMETRIC lpMetrics) const {
  return ::GetTextMetrics(m_hAttribDC, lpMetrics);
}
BOOL CDC::GetOutputTextMetrics(LPTEXTMETRIC lpMetrics) const {
  return ::GetTextMetrics(m_hDC, lpMetrics);
}
int CDC::GetTextFace(int nCount, LPTSTR lpszFacename) const {
  return ::GetTextFace(m_hDC, nCount, lpszFacename);
}
int CDC::GetTextFace(CString& rString) const {
  char face[LF_FACESIZE] = {};
  const int n = ::GetTextFace(m_hDC, sizeof face, face);
  rString = face;
  return n;
}
BOOL CDC::GetCharWidth(UINT nFirstChar, UINT nLastChar, LPINT lpBuffer) const {
  return ::GetCharWidth32(m_hAttribDC, nFirstChar, nLastChar, lpBuffer);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd()) {
  Attach(::BeginPaint(m_hWnd, &m_ps));
}
CPaintDC::~CPaintDC() {
  ::EndPaint(m_hWnd, &m_ps);
  Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd()) {
  Attach(::GetDC(m_hWnd));
}
CClientDC::~CClientDC() {
  ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd()) {
  Attach(::GetWindowDC(m_hWnd));
}
CWindowDC::~CWindowDC() {
  ::ReleaseDC(m_hWnd, Detach());
}
