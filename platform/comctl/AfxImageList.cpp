// CImageList over the image list functions, with its map from handles to objects.
#include "platform/comctl/AfxImageList.h"

#include <memory>

#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/HandleMap.h"
#include "platform/mfc/Wnd.h"

IMPLEMENT_DYNCREATE(CImageList, CObject)

namespace {

// Per thread, as the class library's other handle maps.
pictavo::mfc::HandleMap<HIMAGELIST, CImageList>& Map() {
  thread_local pictavo::mfc::HandleMap<HIMAGELIST, CImageList> map;
  return map;
}

HBITMAP BitmapOf(CBitmap* bitmap) {
  return bitmap ? static_cast<HBITMAP>(bitmap->GetSafeHandle()) : nullptr;
}

HDC DcOf(CDC* dc) {
  return dc ? dc->GetSafeHdc() : nullptr;
}

}  // namespace

CImageList::~CImageList() {
  DeleteImageList();
}

CImageList::operator HIMAGELIST() const {
  return GetSafeHandle();
}

HIMAGELIST CImageList::GetSafeHandle() const {
  return pictavo::mfc::IsNullObject(this) ? nullptr : m_hImageList;
}

CImageList* CImageList::FromHandle(HIMAGELIST hImageList) {
  if (!hImageList) return nullptr;
  if (CImageList* list = Map().FindPermanent(hImageList)) return list;
  if (CImageList* list = Map().FindTemporary(hImageList)) return list;
  auto temporary = std::make_unique<CImageList>();
  temporary->m_hImageList = hImageList;
  return Map().AddTemporary(hImageList, std::move(temporary));
}

CImageList* CImageList::FromHandlePermanent(HIMAGELIST hImageList) {
  return Map().FindPermanent(hImageList);
}

void CImageList::DeleteTempMap() {
  // A temporary object never owned its list.
  Map().DeleteTemporaries([](CImageList& list) { list.m_hImageList = nullptr; });
}

BOOL CImageList::Attach(HIMAGELIST hImageList) {
  if (!hImageList || m_hImageList) return FALSE;
  m_hImageList = hImageList;
  Map().SetPermanent(hImageList, this);
  return TRUE;
}

HIMAGELIST CImageList::Detach() {
  HIMAGELIST list = m_hImageList;
  if (list) Map().RemovePermanent(list, this);
  m_hImageList = nullptr;
  return list;
}

BOOL CImageList::DeleteImageList() {
  if (!m_hImageList) return FALSE;
  return ImageList_Destroy(Detach());
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
  return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) {
  return Create(MAKEINTRESOURCE(nBitmapID), cx, nGrow, crMask);
}

BOOL CImageList::Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask) {
  return Attach(
      ImageList_LoadImage(nullptr, lpszBitmapID, cx, nGrow, crMask, IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

BOOL CImageList::Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2, int dx,
                        int dy) {
  return Attach(ImageList_Merge(imagelist1.m_hImageList, nImage1, imagelist2.m_hImageList, nImage2, dx, dy));
}

BOOL CImageList::Create(CImageList* pImageList) {
  return pImageList && Attach(ImageList_Duplicate(pImageList->m_hImageList));
}

int CImageList::GetImageCount() const {
  return ImageList_GetImageCount(m_hImageList);
}
BOOL CImageList::SetImageCount(UINT uNewCount) {
  return ImageList_SetImageCount(m_hImageList, uNewCount);
}
COLORREF CImageList::SetBkColor(COLORREF cr) {
  return ImageList_SetBkColor(m_hImageList, cr);
}
COLORREF CImageList::GetBkColor() const {
  return ImageList_GetBkColor(m_hImageList);
}
BOOL CImageList::GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const {
  return ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
}

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask) {
  return ImageList_Add(m_hImageList, BitmapOf(pbmImage), BitmapOf(pbmMask));
}
int CImageList::Add(CBitmap* pbmImage, COLORREF crMask) {
  return ImageList_AddMasked(m_hImageList, BitmapOf(pbmImage), crMask);
}
int CImageList::Add(HICON hIcon) {
  return ImageList_AddIcon(m_hImageList, hIcon);
}
BOOL CImageList::Remove(int nImage) {
  return ImageList_Remove(m_hImageList, nImage);
}
BOOL CImageList::Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask) {
  return ImageList_Replace(m_hImageList, nImage, BitmapOf(pbmImage), BitmapOf(pbmMask));
}
int CImageList::Replace(int nImage, HICON hIcon) {
  return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon);
}
HICON CImageList::ExtractIcon(int nImage) {
  return ImageList_GetIcon(m_hImageList, nImage, ILD_NORMAL);
}
BOOL CImageList::SetOverlayImage(int nImage, int nOverlay) {
  return ImageList_SetOverlayImage(m_hImageList, nImage, nOverlay);
}
BOOL CImageList::Copy(int iDst, int iSrc, UINT uFlags) {
  return ImageList_Copy(m_hImageList, iDst, m_hImageList, iSrc, uFlags);
}
BOOL CImageList::Copy(int iDst, CImageList* pSrc, int iSrc, UINT uFlags) {
  return pSrc && ImageList_Copy(m_hImageList, iDst, pSrc->m_hImageList, iSrc, uFlags);
}

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle) {
  return ImageList_Draw(m_hImageList, nImage, DcOf(pDC), pt.x, pt.y, nStyle);
}

BOOL CImageList::DrawEx(CDC* pDC, int nImage, POINT pt, SIZE sz, COLORREF clrBk, COLORREF clrFg,
                        UINT nStyle) {
  return ImageList_DrawEx(m_hImageList, nImage, DcOf(pDC), pt.x, pt.y, sz.cx, sz.cy, clrBk, clrFg, nStyle);
}

BOOL CImageList::DrawIndirect(IMAGELISTDRAWPARAMS* pimldp) {
  if (!pimldp) return FALSE;
  pimldp->himl = m_hImageList;
  return ImageList_DrawIndirect(pimldp);
}

BOOL CImageList::DrawIndirect(CDC* pDC, int nImage, POINT pt, SIZE sz, POINT ptOrigin, UINT fStyle,
                              DWORD dwRop, COLORREF rgbBack, COLORREF rgbFore, DWORD fState, DWORD Frame,
                              COLORREF crEffect) {
  IMAGELISTDRAWPARAMS params{};
  params.cbSize = sizeof params;
  params.himl = m_hImageList;
  params.i = nImage;
  params.hdcDst = DcOf(pDC);
  params.x = pt.x;
  params.y = pt.y;
  params.cx = sz.cx;
  params.cy = sz.cy;
  params.xBitmap = ptOrigin.x;
  params.yBitmap = ptOrigin.y;
  params.rgbBk = rgbBack;
  params.rgbFg = rgbFore;
  params.fStyle = fStyle;
  params.dwRop = dwRop;
  params.fState = fState;
  params.Frame = Frame;
  params.crEffect = crEffect;
  return ImageList_DrawIndirect(&params);
}

BOOL CImageList::BeginDrag(int nImage, CPoint ptHotSpot) {
  return ImageList_BeginDrag(m_hImageList, nImage, ptHotSpot.x, ptHotSpot.y);
}
void CImageList::EndDrag() {
  ImageList_EndDrag();
}
BOOL CImageList::DragMove(CPoint pt) {
  return ImageList_DragMove(pt.x, pt.y);
}
BOOL CImageList::DragShowNolock(BOOL bShow) {
  return ImageList_DragShowNolock(bShow);
}
BOOL CImageList::DragEnter(CWnd* pWndLock, CPoint point) {
  return ImageList_DragEnter(pWndLock ? pWndLock->GetSafeHwnd() : nullptr, point.x, point.y);
}
BOOL CImageList::DragLeave(CWnd* pWndLock) {
  return ImageList_DragLeave(pWndLock ? pWndLock->GetSafeHwnd() : nullptr);
}
CImageList* CImageList::GetDragImage(LPPOINT lpPoint, LPPOINT lpPointHotSpot) {
  return FromHandle(ImageList_GetDragImage(lpPoint, lpPointHotSpot));
}
