#include "controls/DirectDrawView.h"

#include "platform/media/FramePresenter.h"

CDirectDrawView::CDirectDrawView() = default;

CDirectDrawView::~CDirectDrawView() {
  Release();
}

HRESULT CDirectDrawView::Create(HWND hWnd, int nWidth, int nHeight) {
  if (hWnd == nullptr) return E_FAIL;
  Release();
  m_hWnd = hWnd;
  auto presenter = std::make_unique<pictavo::media::FramePresenter>();
  if (!presenter->Create(hWnd, nWidth, nHeight)) {
    // The users fall back to GDI; they look at m_bCreated only.
    Release();
    return E_FAIL;
  }
  const SIZE size = presenter->PictureSize();
  m_nWidth = size.cx;
  m_nHeight = size.cy;
  m_presenter = std::move(presenter);
  m_bCreated = TRUE;
  return 0;
}

void CDirectDrawView::Release() {
  m_hWnd = nullptr;
  m_bCreated = FALSE;
  m_presenter.reset();
}

HRESULT CDirectDrawView::DrawDIB(const RECT* pTarget, const RECT* pSource, const void* pBits,
                                 const BITMAPINFO* pHeader) {
  if (m_presenter && pTarget != nullptr && pSource != nullptr && pBits != nullptr && pHeader != nullptr)
    m_presenter->DrawDib(*pTarget, *pSource, pBits, pHeader);
  return 0;
}

HRESULT CDirectDrawView::Present() {
  if (!m_presenter) return E_FAIL;
  return m_presenter->Present() ? 0 : E_FAIL;
}

BOOL CDirectDrawView::IsSurfaceLost() const {
  // The offscreen picture lives in our own memory; nothing can take it away.
  return FALSE;
}

BOOL CDirectDrawView::RestoreSurfaces() {
  return m_presenter ? TRUE : FALSE;
}
