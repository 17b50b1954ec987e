// Flicker-free painting. CMemoryDC stands in for a paint DC during one paint: everything goes
// into an off-screen bitmap of the painted rectangle, and the destructor copies it to the real DC
// in one BitBlt (a printer DC is drawn on directly). COffscreenBuffer is a bitmap a window keeps
// between paints; asking for the same size again keeps it. UI thread only.
#pragma once

#include "platform/base/Geometry.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"

class CMemoryDC : public CDC {
 public:
  // rectangle NULL: the target's clip box. Maps the rectangle through the target's map mode,
  // fills it with the target's background colour.
  explicit CMemoryDC(CDC* pDC, const RECT* pRect = nullptr);
  // The bare form the icon menu painter uses: no map-mode conversion, no background fill.
  struct Plain {};
  CMemoryDC(CDC* pDC, const RECT& rect, Plain);
  ~CMemoryDC() override;

  CMemoryDC(const CMemoryDC&) = delete;
  CMemoryDC& operator=(const CMemoryDC&) = delete;

  const CRect& GetRect() const { return m_rect; }
  BOOL IsMemoryDC() const { return m_bMemDC; }

 private:
  CBitmap m_bitmap;
  CBitmap* m_oldBitmap = nullptr;
  CDC* m_pDC;  // the real DC
  CRect m_rect;
  BOOL m_bMemDC = FALSE;
};

class COffscreenBuffer {
 public:
  virtual ~COffscreenBuffer();
  // Makes (or keeps, when the size matches) the bitmap. dc NULL: a DC compatible with the screen,
  // kept by the buffer. TRUE even when GDI could not make the bitmap (it then has no handle).
  virtual BOOL Create(int cx, int cy, int nBitsPerPixel, CDC* pDC) = 0;
  // Deletes the bitmap and the buffer's own DC.
  virtual BOOL Release();
  CBitmap* GetBitmap() { return &m_bitmap; }

  COffscreenBuffer(const COffscreenBuffer&) = delete;
  COffscreenBuffer& operator=(const COffscreenBuffer&) = delete;

 protected:
  COffscreenBuffer() = default;
  // The DC to create on: `pDC` (freeing the buffer's own), else the buffer's own screen DC.
  CDC* ChooseDC(CDC* pDC);

  CBitmap m_bitmap;
  CDC* m_pMemDC = nullptr;  // owned
};

class CCompatibleBitmapBuffer : public COffscreenBuffer {
 public:
  CCompatibleBitmapBuffer() = default;
  ~CCompatibleBitmapBuffer() override = default;
  BOOL Create(int cx, int cy, int nBitsPerPixel, CDC* pDC) override;  // bit depth not used
};

class CDibSectionBuffer : public COffscreenBuffer {
 public:
  CDibSectionBuffer();
  ~CDibSectionBuffer() override;
  // A bottom-up DIB section; same size and depth keeps the existing one.
  BOOL Create(int cx, int cy, int nBitsPerPixel, CDC* pDC) override;
  BOOL Release() override;  // also zeroes the header and bits; returns 0
  void* GetBits() const { return m_pBits; }
  const BITMAPINFO& GetBitmapInfo() const { return m_bmi; }

 private:
  void* m_pBits = nullptr;
  BITMAPINFO m_bmi;
};
