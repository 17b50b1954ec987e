#include "controls/MemoryDC.h"

#include <cstring>

#include "platform/user/Paint.h"

CMemoryDC::CMemoryDC(CDC* pDC, const RECT* pRect) : m_pDC(pDC) {
  if (pRect != nullptr)
    m_rect = *pRect;
  else
    pDC->GetClipBox(&m_rect);
  m_bMemDC = !pDC->IsPrinting();
  if (m_bMemDC) {
    CreateCompatibleDC(pDC);
    pDC->LPtoDP(&m_rect);
    m_bitmap.CreateCompatibleBitmap(pDC, m_rect.Width(), m_rect.Height());
    m_oldBitmap = SelectObject(&m_bitmap);
    SetMapMode(pDC->GetMapMode());
    pDC->DPtoLP(&m_rect);
    SetWindowOrg(m_rect.left, m_rect.top);
  } else {
    // A printer gets the drawing directly.
    m_bPrinting = pDC->m_bPrinting;
    m_hDC = pDC->m_hDC;
    m_hAttribDC = pDC->m_hAttribDC;
  }
  FillSolidRect(&m_rect, pDC->GetBkColor());
}

CMemoryDC::CMemoryDC(CDC* pDC, const RECT& rect, Plain) : m_pDC(pDC), m_rect(rect), m_bMemDC(TRUE) {
  CreateCompatibleDC(pDC);
  m_bitmap.CreateCompatibleBitmap(pDC, m_rect.Width(), m_rect.Height());
  m_oldBitmap = SelectObject(&m_bitmap);
  SetWindowOrg(m_rect.left, m_rect.top);
}

CMemoryDC::~CMemoryDC() {
  if (m_bMemDC) {
    m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top,
                  SRCCOPY);
    SelectObject(m_oldBitmap);
  } else {
    // The handles are the target's: leave them to it.
    m_hDC = m_hAttribDC = nullptr;
  }
}

COffscreenBuffer::~COffscreenBuffer() {
  COffscreenBuffer::Release();
}

BOOL COffscreenBuffer::Release() {
  m_bitmap.DeleteObject();
  if (m_pMemDC != nullptr) {
    m_pMemDC->DeleteDC();
    delete m_pMemDC;
    m_pMemDC = nullptr;
  }
  return TRUE;
}

CDC* COffscreenBuffer::ChooseDC(CDC* pDC) {
  if (pDC != nullptr) {
    if (m_pMemDC != nullptr) {
      m_pMemDC->DeleteDC();
      delete m_pMemDC;
      m_pMemDC = nullptr;
    }
    return pDC;
  }
  if (m_pMemDC == nullptr) {
    m_pMemDC = new CDC;
    HDC screen = ::GetDC(nullptr);
    m_pMemDC->CreateCompatibleDC(CDC::FromHandle(screen));
    ::ReleaseDC(nullptr, screen);
  }
  return m_pMemDC;
}

BOOL CCompatibleBitmapBuffer::Create(int cx, int cy, int /*nBitsPerPixel*/, CDC* pDC) {
  if (m_bitmap.GetSafeHandle() != nullptr) {
    BITMAP bm{};
    m_bitmap.GetBitmap(&bm);
    if (bm.bmWidth == cx && bm.bmHeight == cy) return TRUE;
    m_bitmap.DeleteObject();
  }
  CDC* dc = ChooseDC(pDC);
  m_bitmap.Attach(::CreateCompatibleBitmap(dc->GetSafeHdc(), cx, cy));
  return TRUE;
}

CDibSectionBuffer::CDibSectionBuffer() {
  std::memset(&m_bmi, 0, sizeof(m_bmi));
}

CDibSectionBuffer::~CDibSectionBuffer() {
  CDibSectionBuffer::Release();
}

BOOL CDibSectionBuffer::Create(int cx, int cy, int nBitsPerPixel, CDC* pDC) {
  if (m_bitmap.GetSafeHandle() != nullptr) {
    BITMAP bm{};
    m_bitmap.GetBitmap(&bm);
    if (bm.bmWidth == cx && bm.bmHeight == cy && bm.bmBitsPixel == nBitsPerPixel) return TRUE;
    m_bitmap.DeleteObject();
    m_pBits = nullptr;
  }
  CDC* dc = ChooseDC(pDC);
  std::memset(&m_bmi, 0, sizeof(m_bmi));
  m_bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  m_bmi.bmiHeader.biWidth = cx;
  m_bmi.bmiHeader.biHeight = cy;  // bottom-up rows
  m_bmi.bmiHeader.biPlanes = 1;
  m_bmi.bmiHeader.biBitCount = static_cast<WORD>(nBitsPerPixel);
  m_bmi.bmiHeader.biCompression = BI_RGB;
  m_pBits = nullptr;
  m_bitmap.Attach(::CreateDIBSection(dc->GetSafeHdc(), &m_bmi, DIB_RGB_COLORS, &m_pBits, nullptr, 0));
  return TRUE;
}

BOOL CDibSectionBuffer::Release() {
  COffscreenBuffer::Release();
  std::memset(&m_bmi, 0, sizeof(m_bmi));
  m_pBits = nullptr;
  return 0;
}
