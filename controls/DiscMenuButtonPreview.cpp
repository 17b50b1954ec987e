#include "controls/DiscMenuButtonPreview.h"

#include "platform/gdi/Gdi.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"

namespace {

// Draws a bitmap file at (x, top) with its own size; nothing when it cannot be read.
void DrawPicture(CDC* pDC, const CString& path, int x, int top) {
  auto* handle =
      static_cast<HBITMAP>(::LoadImage(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
  if (handle == nullptr) return;
  BITMAP info{};
  ::GetObject(handle, sizeof info, &info);
  CDC source;
  source.CreateCompatibleDC(pDC);
  HGDIOBJ old = source.SelectObject(handle);
  pDC->BitBlt(x, top, info.bmWidth, info.bmHeight, &source, 0, 0, SRCCOPY);
  source.SelectObject(old);
  ::DeleteObject(handle);
}

}  // namespace

BEGIN_MESSAGE_MAP(CDiscMenuButtonPreview, CWnd)
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CDiscMenuButtonPreview::CDiscMenuButtonPreview() = default;
CDiscMenuButtonPreview::~CDiscMenuButtonPreview() = default;

CString CDiscMenuButtonPreview::NormalPicture(int nSelected) const {
  CString path;
  path.Format("%s/%02d-normal.bmp", m_strTemplateFolder.GetString(), nSelected + 1);
  return path;
}

CString CDiscMenuButtonPreview::HighlightPicture(int nSelected, int nPointed) const {
  CString path;
  path.Format("%s/%02d-highlight-%02d.bmp", m_strTemplateFolder.GetString(), nSelected + 1, nPointed + 1);
  return path;
}

CString CDiscMenuButtonPreview::ClickedPicture(int nSelected, int nPointed) const {
  CString path;
  path.Format("%s/%02d-clicked-%02d.bmp", m_strTemplateFolder.GetString(), nSelected + 1, nPointed + 1);
  return path;
}

int CDiscMenuButtonPreview::HitTest(CPoint point) const {
  const int count = m_nButtonCount < kMaxButtons ? m_nButtonCount : kMaxButtons;
  for (int i = 0; i < count; ++i) {
    CRect rect(m_rcButtons[i]);
    rect.OffsetRect(m_nOffsetX, 0);
    if (rect.PtInRect(point)) return i;
  }
  return -1;
}

void CDiscMenuButtonPreview::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  // Drawn off screen first, so moving between buttons never flickers.
  CDC buffer;
  buffer.CreateCompatibleDC(&paint);
  CBitmap canvas;
  canvas.CreateCompatibleBitmap(&paint, client.Width(), client.Height());
  CBitmap* oldCanvas = buffer.SelectObject(&canvas);
  buffer.FillSolidRect(&client, paint.GetBkColor());

  const CString background = m_strTemplateFolder + "/background.bmp";
  if (auto* handle = static_cast<HBITMAP>(
          ::LoadImage(nullptr, background, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE))) {
    BITMAP info{};
    ::GetObject(handle, sizeof info, &info);
    CDC source;
    source.CreateCompatibleDC(&paint);
    HGDIOBJ old = source.SelectObject(handle);
    const int w = info.bmWidth, h = info.bmHeight;
    const int left = m_nBackgroundLeft, middle = m_nBackgroundMiddle;
    buffer.BitBlt(client.left, client.top, left, h, &source, 0, 0, SRCCOPY);
    buffer.StretchBlt(client.left + left, client.top, client.Width() - (w - middle), h, &source, left, 0,
                      middle, h, SRCCOPY);
    const int right = w - left - middle;
    buffer.BitBlt(client.right - right, client.top, right, h, &source, left + middle, 0, SRCCOPY);
    source.SelectObject(old);
    ::DeleteObject(handle);
  }

  const int count = m_nButtonCount > 0 ? m_nButtonCount : 1;
  m_nSelected %= count;
  DrawPicture(&buffer, NormalPicture(m_nSelected), m_nOffsetX, client.top);
  if (!m_strOverlayPicture.IsEmpty()) {
    m_nOverlay %= count;
    const int column = m_nOverlay < kOverlaysPerButton ? m_nOverlay : 0;
    DrawPicture(&buffer, m_strOverlayPicture, m_nOffsetX + m_nOverlayX[m_nSelected][column], client.top);
  }
  paint.BitBlt(0, 0, client.Width(), client.Height(), &buffer, 0, 0, SRCCOPY);
  buffer.SelectObject(oldCanvas);
}

void CDiscMenuButtonPreview::EndTracking() {
  m_bTracking = FALSE;
  if (CWnd::GetCapture() == this) ::ReleaseCapture();
}

void CDiscMenuButtonPreview::OnMouseMove(UINT nFlags, CPoint point) {
  const int hit = HitTest(point);
  if (m_bTracking) {
    if (hit != m_nTracked) {
      // Left the tracked button: what it pointed at becomes the selection.
      m_nSelected = m_nPointed;
      EndTracking();
      m_strOverlayPicture.Empty();
      Invalidate(FALSE);
    }
  } else if (hit >= 0 && hit != m_nPointed) {
    m_nPointed = hit;
    if (hit == m_nSelected) {
      m_strOverlayPicture.Empty();
    } else {
      m_nOverlay = hit;
      m_strOverlayPicture = HighlightPicture(m_nSelected, m_nPointed);
    }
    Invalidate(FALSE);
    SetCapture();
    m_bTracking = TRUE;
    m_nTracked = hit;
  }
  CWnd::OnMouseMove(nFlags, point);
}

void CDiscMenuButtonPreview::OnLButtonDown(UINT nFlags, CPoint point) {
  const int hit = HitTest(point);
  if (hit >= 0) {
    if (hit == m_nSelected || m_nPointed == m_nSelected) {
      m_strOverlayPicture.Empty();
    } else {
      m_nOverlay = hit;
      m_strOverlayPicture = ClickedPicture(m_nSelected, m_nPointed);
    }
    Invalidate(FALSE);
    m_bTracking = TRUE;
    m_nTracked = hit;
    m_nPressed = hit;
    SetCapture();
  }
  CWnd::OnLButtonDown(nFlags, point);
}

void CDiscMenuButtonPreview::OnLButtonUp(UINT nFlags, CPoint point) {
  const int pressed = m_nPressed;
  m_nPressed = -1;
  if (m_bTracking) {
    const int hit = HitTest(point);
    if (hit >= 0 && hit != m_nSelected) {
      m_nSelected = hit;
      m_strOverlayPicture.Empty();
      Invalidate(FALSE);
      const bool pressedHere = hit == pressed;
      EndTracking();
      if (pressedHere && m_nNotifyMessage != 0 && m_hNotifyWnd != nullptr)
        ::PostMessage(m_hNotifyWnd, m_nNotifyMessage, static_cast<WPARAM>(m_nSelected), 0);
    } else {
      EndTracking();
    }
  }
  CWnd::OnLButtonUp(nFlags, point);
}
