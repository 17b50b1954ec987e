// CDirectDrawView: shows 24-bit frames in a window through an offscreen picture of a fixed size,
// stretched onto the window's client area when presented. The slideshow preview and the
// full-screen player draw their frames with it; when Create fails they draw with GDI instead
// (they test m_bCreated). It stands where a hardware surface pair stood: here the platform's frame
// presenter holds the offscreen picture, and nothing is ever "lost", so IsSurfaceLost says FALSE.
//
// No lock of its own: created and released by the thread that renders; Present is called under
// the user's drawing lock, which the UI thread also holds while it paints the same window.
#pragma once

#include <memory>

#include "platform/base/WinTypes.h"
#include "platform/mfc/Afx.h"

namespace pictavo::media {
class FramePresenter;
}

class CDirectDrawView : public CObject {
 public:
  CDirectDrawView();
  ~CDirectDrawView() override;
  CDirectDrawView(const CDirectDrawView&) = delete;
  CDirectDrawView& operator=(const CDirectDrawView&) = delete;

  // E_FAIL for a null window or an empty picture (sizes of 0 take the window's client size); the
  // view is then released and not created. 0 on success.
  HRESULT Create(HWND hWnd, int nWidth, int nHeight);
  // Harmless when not created, and twice.
  void Release();
  // Copies (same sizes) or stretches with HALFTONE the DIB into the offscreen picture. Returns 0;
  // draws nothing when not created.
  HRESULT DrawDIB(const RECT* pTarget, const RECT* pSource, const void* pBits, const BITMAPINFO* pHeader);
  // Stretches the offscreen picture onto the window's client area. E_FAIL when not created or the
  // window is gone.
  HRESULT Present();
  BOOL IsSurfaceLost() const;
  BOOL RestoreSurfaces();

  BOOL m_bCreated = FALSE;  // read directly by the users
  HWND m_hWnd = nullptr;
  int m_nWidth = 0;
  int m_nHeight = 0;

 private:
  std::unique_ptr<pictavo::media::FramePresenter> m_presenter;  // the offscreen picture
};
