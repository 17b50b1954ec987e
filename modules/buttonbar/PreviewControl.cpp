#include "modules/buttonbar/PreviewControl.h"

#include "platform/gdi/Gdi.h"

using pictavo::buttonbar::ButtonLook;

namespace {

constexpr SIZE kPadSize{200, 172};
constexpr RECT kTimeRect{8, 6, 192, 26};
constexpr COLORREF kPadColor = RGB(48, 48, 52);

// Key rectangles by code - 1.
std::vector<RECT> KeyRects() {
  std::vector<RECT> rects = {
      {78, 32, 122, 56},     // 1 up
      {78, 88, 122, 112},    // 2 down
      {30, 60, 74, 84},      // 3 left
      {126, 60, 170, 84},    // 4 right
      {78, 60, 122, 84},     // 5 OK
      {30, 118, 74, 138},    // 6 play
      {78, 118, 122, 138},   // 7 menu
      {126, 118, 170, 138},  // 8 stop
  };
  for (int album = 0; album < 9; ++album)
    rects.push_back(RECT{8 + 21 * album, 146, 8 + 21 * album + 19, 166});
  return rects;
}

COLORREF FaceColor(ButtonLook look) {
  switch (look) {
    case ButtonLook::kHot:
      return RGB(112, 116, 150);
    case ButtonLook::kPressed:
      return RGB(36, 40, 70);
    case ButtonLook::kDisabled:
      return RGB(68, 68, 72);
    case ButtonLook::kNormal:
      break;
  }
  return RGB(92, 92, 100);
}

}  // namespace

IMPLEMENT_DYNAMIC(CPreviewControl, CStatic)

BEGIN_MESSAGE_MAP(CPreviewControl, CStatic)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_NCHITTEST()
ON_WM_MOUSEMOVE()
ON_WM_MOUSELEAVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_LBUTTONUP()
ON_WM_CAPTURECHANGED()
ON_WM_ENABLE()
END_MESSAGE_MAP()

CPreviewControl::CPreviewControl() : m_strTime("00:00:00") {
  m_keys.Reset(KeyRects());
}

CPreviewControl::~CPreviewControl() = default;

void CPreviewControl::SetNotifyMessage(HWND hWndNotify, UINT nMessage) {
  m_hWndNotify = hWndNotify;
  m_nNotifyMessage = nMessage;
}

CSize CPreviewControl::GetSize() const {
  return CSize(kPadSize.cx, kPadSize.cy);
}

void CPreviewControl::ShowPlayTime(const CString& strTime) {
  if (strTime == m_strTime) return;
  m_strTime = strTime;
  if (GetSafeHwnd()) InvalidateRect(&kTimeRect, FALSE);
}

BOOL CPreviewControl::EnableButton(int nCode, BOOL bRedraw) {
  if (!m_keys.SetEnabled(nCode - 1, true)) return FALSE;
  if (bRedraw) Repaint({nCode - 1}, true);
  return TRUE;
}

BOOL CPreviewControl::DisableButton(int nCode, BOOL bRedraw) {
  const bool wasPressed = m_keys.Pressed() == nCode - 1;
  if (!m_keys.SetEnabled(nCode - 1, false)) return FALSE;
  if (wasPressed && GetCapture() == this) ReleaseCapture();
  if (bRedraw) Repaint({nCode - 1}, true);
  return TRUE;
}

void CPreviewControl::EnableAllButtons(BOOL bRedraw) {
  m_keys.SetAllEnabled(true);
  if (bRedraw && GetSafeHwnd()) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CPreviewControl::DisableAllButtons(BOOL bRedraw) {
  if (m_keys.Pressed() >= 0 && GetCapture() == this) ReleaseCapture();
  m_keys.SetAllEnabled(false);
  if (bRedraw && GetSafeHwnd()) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CPreviewControl::Repaint(const std::vector<int>& keys, bool now) {
  if (!GetSafeHwnd()) return;
  for (int index : keys)
    if (m_keys.IsValid(index)) InvalidateRect(&m_keys.Rect(index), FALSE);
  if (now) UpdateWindow();
}

void CPreviewControl::DrawKey(HDC dc, int index, ButtonLook look) const {
  RECT r = m_keys.Rect(index);
  HBRUSH face = CreateSolidBrush(FaceColor(look));
  HPEN rim = CreatePen(PS_SOLID, 1, look == ButtonLook::kHot ? RGB(200, 204, 240) : RGB(24, 24, 28));
  HGDIOBJ oldBrush = SelectObject(dc, face);
  HGDIOBJ oldPen = SelectObject(dc, rim);
  RoundRect(dc, r.left, r.top, r.right, r.bottom, 8, 8);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(rim);
  DeleteObject(face);

  const COLORREF ink = look == ButtonLook::kDisabled ? RGB(120, 120, 124) : RGB(240, 240, 240);
  const int code = index + 1;
  const int cx = (r.left + r.right) / 2;
  const int cy = (r.top + r.bottom) / 2;
  if (code <= 4) {
    // Direction keys carry an arrow head.
    POINT arrow[3];
    switch (code) {
      case 1:
        arrow[0] = {cx, cy - 5}, arrow[1] = {cx - 6, cy + 4}, arrow[2] = {cx + 6, cy + 4};
        break;
      case 2:
        arrow[0] = {cx, cy + 5}, arrow[1] = {cx - 6, cy - 4}, arrow[2] = {cx + 6, cy - 4};
        break;
      case 3:
        arrow[0] = {cx - 5, cy}, arrow[1] = {cx + 4, cy - 6}, arrow[2] = {cx + 4, cy + 6};
        break;
      default:
        arrow[0] = {cx + 5, cy}, arrow[1] = {cx - 4, cy - 6}, arrow[2] = {cx - 4, cy + 6};
        break;
    }
    HBRUSH brush = CreateSolidBrush(ink);
    HGDIOBJ old = SelectObject(dc, brush);
    HGDIOBJ oldPenArrow = SelectObject(dc, GetStockObject(NULL_PEN));
    Polygon(dc, arrow, 3);
    SelectObject(dc, oldPenArrow);
    SelectObject(dc, old);
    DeleteObject(brush);
    return;
  }
  static const char* const kLabels[] = {"OK", "Play", "Menu", "Stop"};
  char digit[2] = {static_cast<char>('1' + (code - 9)), 0};
  const char* label = code <= 8 ? kLabels[code - 5] : digit;
  SetTextColor(dc, ink);
  DrawText(dc, label, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void CPreviewControl::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  if (client.IsRectEmpty()) return;
  HDC target = paint.m_hDC;
  HDC canvas = CreateCompatibleDC(target);
  HBITMAP buffer = CreateCompatibleBitmap(target, client.Width(), client.Height());
  HGDIOBJ oldBuffer = SelectObject(canvas, buffer);
  HGDIOBJ oldFont = SelectObject(canvas, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(canvas, TRANSPARENT);

  pictavo::gdi::FillSolidRect(canvas, client, kPadColor);
  pictavo::gdi::FillSolidRect(canvas, kTimeRect, RGB(0, 0, 0));
  RECT time = kTimeRect;
  SetTextColor(canvas, RGB(80, 230, 120));
  DrawText(canvas, m_strTime, m_strTime.GetLength(), &time,
           DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  const bool windowEnabled = IsWindowEnabled() != FALSE;
  for (int i = 0; i < m_keys.Count(); ++i) DrawKey(canvas, i, m_keys.LookOf(i, windowEnabled));

  BitBlt(target, 0, 0, client.Width(), client.Height(), canvas, 0, 0, SRCCOPY);
  SelectObject(canvas, oldFont);
  SelectObject(canvas, oldBuffer);
  DeleteObject(buffer);
  DeleteDC(canvas);
}

BOOL CPreviewControl::OnEraseBkgnd(CDC*) {
  return TRUE;
}

LRESULT CPreviewControl::OnNcHitTest(CPoint) {
  return HTCLIENT;
}

void CPreviewControl::OnMouseMove(UINT, CPoint point) {
  if (!m_bTrackingLeave) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = m_hWnd;
    m_bTrackingLeave = TrackMouseEvent(&track) != FALSE;
  }
  Repaint(m_keys.MouseMove(point), false);
}

void CPreviewControl::OnMouseLeave() {
  m_bTrackingLeave = false;
  Repaint(m_keys.MouseLeave(), false);
}

void CPreviewControl::OnLButtonDown(UINT, CPoint point) {
  int pressed = -1;
  Repaint(m_keys.Press(point, &pressed), true);
  if (pressed >= 0) SetCapture();
}

void CPreviewControl::OnLButtonDblClk(UINT nFlags, CPoint point) {
  OnLButtonDown(nFlags, point);
}

void CPreviewControl::OnLButtonUp(UINT, CPoint point) {
  int clicked = -1;
  Repaint(m_keys.Release(point, &clicked), true);
  if (GetCapture() == this) ReleaseCapture();
  // Sent: the owner drives the menu preview before the next key can arrive.
  if (clicked >= 0 && m_nNotifyMessage != 0 && ::IsWindow(m_hWndNotify))
    ::SendMessage(m_hWndNotify, m_nNotifyMessage, static_cast<WPARAM>(clicked + 1), 0);
}

void CPreviewControl::OnCaptureChanged(CWnd* pWnd) {
  if (pWnd != this) Repaint(m_keys.Cancel(), false);
}

void CPreviewControl::OnEnable(BOOL) {
  Invalidate(FALSE);
}
