// The class library's image list object over an HIMAGELIST. An object destroys the list it holds
// when it goes; FromHandle gives the object that holds a list, or a temporary one that lives
// until DeleteTempMap.
#pragma once

#include "platform/base/Geometry.h"
#include "platform/base/Object.h"
#include "platform/comctl/ImageList.h"

class CBitmap;
class CDC;
class CWnd;

class CImageList : public CObject {
  DECLARE_DYNCREATE(CImageList)

 public:
  CImageList() = default;
  ~CImageList() override;
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;

  HIMAGELIST m_hImageList = nullptr;

  operator HIMAGELIST() const;  // NOLINT: implicit, as the class library's
  HIMAGELIST GetSafeHandle() const;

  static CImageList* FromHandle(HIMAGELIST hImageList);
  static CImageList* FromHandlePermanent(HIMAGELIST hImageList);
  static void DeleteTempMap();
  BOOL Attach(HIMAGELIST hImageList);
  HIMAGELIST Detach();
  BOOL DeleteImageList();

  BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
  // A list cut from a bitmap resource; cx is the image width.
  BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
  BOOL Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask);
  // One image: nImage2 of list 2 over nImage1 of list 1 at (dx, dy).
  BOOL Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2, int dx, int dy);
  // A copy of another list.
  BOOL Create(CImageList* pImageList);

  int GetImageCount() const;
  BOOL SetImageCount(UINT uNewCount);
  COLORREF SetBkColor(COLORREF cr);
  COLORREF GetBkColor() const;
  BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const;

  int Add(CBitmap* pbmImage, CBitmap* pbmMask);
  int Add(CBitmap* pbmImage, COLORREF crMask);
  int Add(HICON hIcon);
  BOOL Remove(int nImage);
  BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask);
  int Replace(int nImage, HICON hIcon);
  HICON ExtractIcon(int nImage);
  BOOL SetOverlayImage(int nImage, int nOverlay);
  BOOL Copy(int iDst, int iSrc, UINT uFlags = ILCF_MOVE);
  BOOL Copy(int iDst, CImageList* pSrc, int iSrc, UINT uFlags = ILCF_MOVE);

  BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);
  BOOL DrawEx(CDC* pDC, int nImage, POINT pt, SIZE sz, COLORREF clrBk, COLORREF clrFg, UINT nStyle);
  BOOL DrawIndirect(IMAGELISTDRAWPARAMS* pimldp);
  BOOL DrawIndirect(CDC* pDC, int nImage, POINT pt, SIZE sz, POINT ptOrigin, UINT fStyle = ILD_NORMAL,
                    DWORD dwRop = SRCCOPY, COLORREF rgbBack = CLR_DEFAULT, COLORREF rgbFore = CLR_DEFAULT,
                    DWORD fState = ILS_NORMAL, DWORD Frame = 0, COLORREF crEffect = CLR_DEFAULT);

  // Drag images (one per process).
  BOOL BeginDrag(int nImage, CPoint ptHotSpot);
  static void EndDrag();
  static BOOL DragMove(CPoint pt);
  static BOOL DragShowNolock(BOOL bShow);
  static BOOL DragEnter(CWnd* pWndLock, CPoint point);
  static BOOL DragLeave(CWnd* pWndLock);
  static CImageList* GetDragImage(LPPOINT lpPoint, LPPOINT lpPointHotSpot);
};
