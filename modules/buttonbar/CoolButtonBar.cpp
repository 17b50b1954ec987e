#include "modules/buttonbar/CoolButtonBar.h"

#include <algorithm>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"

using pictavo::buttonbar::ButtonLook;

namespace {

// The pointer rests this long on a button before its tip shows; the tip goes after a while
// even if the pointer stays.
constexpr UINT_PTR kTipShowTimer = 0x7C01;
constexpr UINT_PTR kTipHideTimer = 0x7C02;
constexpr UINT kTipShowDelayMs = 400;
constexpr UINT kTipHideDelayMs = 5000;
// The skin loaders cap their bars at 100 buttons; anything far beyond is a damaged skin.
constexpr int kMaxButtons = 1000;

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObject(bitmap, sizeof info, &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

}  // namespace

IMPLEMENT_DYNAMIC(CCoolButtonBar, CStatic)

BEGIN_MESSAGE_MAP(CCoolButtonBar, CStatic)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_NCHITTEST()
ON_WM_MOUSEMOVE()
ON_WM_MOUSELEAVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_LBUTTONUP()
ON_WM_CAPTURECHANGED()
ON_WM_TIMER()
ON_WM_ENABLE()
ON_WM_DESTROY()
END_MESSAGE_MAP()

void CCoolButtonBar::BitmapDeleter::operator()(HBITMAP bitmap) const {
  DeleteObject(bitmap);
}

CCoolButtonBar::CCoolButtonBar() = default;
CCoolButtonBar::~CCoolButtonBar() = default;

bool CCoolButtonBar::ValidDefinition(int nCount, const RECT* pRects) {
  return nCount >= 0 && nCount <= kMaxButtons && (nCount == 0 || pRects != nullptr);
}

BOOL CCoolButtonBar::Init(int nCount, const RECT* pRects, const CString* pStatePaths, const CString* pTips) {
  const bool wasDefined = m_bInitialized;
  const BOOL loaded = Load(nCount, pRects, pStatePaths, pTips);
  if (m_bInitialized && !wasDefined) m_nReloads = 0;
  return loaded;
}

BOOL CCoolButtonBar::OnBitmapChanged(int nCount, const RECT* pRects, const CString* pStatePaths,
                                     const CString* pTips) {
  const bool wasDefined = m_bInitialized;
  const BOOL loaded = Load(nCount, pRects, pStatePaths, pTips);
  // A bar first defined by a reload is defined all the same; only a defined one counts reloads.
  if (wasDefined && ValidDefinition(nCount, pRects)) ++m_nReloads;
  return loaded;
}

CRect CCoolButtonBar::GetButtonRect(int nButton) const {
  return m_buttons.IsValid(nButton) ? CRect(m_buttons.Rect(nButton)) : CRect();
}

CString CCoolButtonBar::GetButtonTip(int nButton) const {
  return m_buttons.IsValid(nButton) ? m_tips[static_cast<size_t>(nButton)] : CString();
}

CString CCoolButtonBar::GetStatePath(int nState) const {
  return nState >= 0 && nState < stateCount ? m_statePaths[nState] : CString();
}

BOOL CCoolButtonBar::Load(int nCount, const RECT* pRects, const CString* pStatePaths, const CString* pTips) {
  if (!ValidDefinition(nCount, pRects)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  HideTip();
  if (GetCapture() == this) ReleaseCapture();

  Bitmap loaded[stateCount];
  DWORD normalError = ERROR_SUCCESS;
  for (int state = 0; state < stateCount; ++state) {
    if (!pStatePaths || pStatePaths[state].IsEmpty()) continue;
    loaded[state].reset(static_cast<HBITMAP>(
        LoadImage(nullptr, pStatePaths[state], IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (state == stateNormal && !loaded[state]) normalError = GetLastError();
  }
  if (!loaded[stateNormal] && normalError == ERROR_SUCCESS) normalError = ERROR_FILE_NOT_FOUND;
  for (int state = 0; state < stateCount; ++state) m_bitmaps[state] = std::move(loaded[state]);
  m_bitmapSize = BitmapSize(m_bitmaps[stateNormal].get());

  for (int state = 0; state < stateCount; ++state)
    m_statePaths[state] = pStatePaths ? pStatePaths[state] : CString();
  m_bInitialized = TRUE;
  m_buttons.Reset(std::vector<RECT>(pRects, pRects + nCount));
  m_tips.assign(static_cast<size_t>(nCount), CString());
  if (pTips)
    for (int i = 0; i < nCount; ++i) m_tips[static_cast<size_t>(i)] = pTips[i];

  if (GetSafeHwnd()) Invalidate(FALSE);
  if (normalError != ERROR_SUCCESS) {
    SetLastError(normalError);
    return FALSE;
  }
  return TRUE;
}

void CCoolButtonBar::SetNotifyMessage(HWND hWndNotify, UINT nMessage) {
  m_hWndNotify = hWndNotify;
  m_nNotifyMessage = nMessage;
}

void CCoolButtonBar::EnableToolTip(UINT nStringId) {
  m_bTipsOn = nStringId != 0;
  m_strDefaultTip.Empty();
  if (m_bTipsOn && !m_strDefaultTip.LoadString(nStringId)) m_strDefaultTip.Empty();
  if (!m_bTipsOn) HideTip();
}

CSize CCoolButtonBar::GetSize() const {
  if (m_bitmapSize.cx > 0 && m_bitmapSize.cy > 0) return CSize(m_bitmapSize.cx, m_bitmapSize.cy);
  const RECT bounds = m_buttons.Bounds();
  return CSize(bounds.right, bounds.bottom);
}

BOOL CCoolButtonBar::EnableButton(int nIndex, BOOL bRedraw) {
  if (!m_buttons.SetEnabled(nIndex, true)) return FALSE;
  if (bRedraw) Repaint({nIndex}, true);
  return TRUE;
}

BOOL CCoolButtonBar::DisableButton(int nIndex, BOOL bRedraw) {
  const bool wasPressed = m_buttons.Pressed() == nIndex;
  if (!m_buttons.SetEnabled(nIndex, false)) return FALSE;
  if (wasPressed && GetCapture() == this) ReleaseCapture();
  if (m_nTipButton == nIndex) HideTip();
  if (bRedraw) Repaint({nIndex}, true);
  return TRUE;
}

void CCoolButtonBar::EnableAllButtons(BOOL bRedraw) {
  for (int i = 0; i < m_buttons.Count(); ++i) EnableButton(i, FALSE);
  if (bRedraw && GetSafeHwnd()) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CCoolButtonBar::DisableAllButtons(BOOL bRedraw) {
  for (int i = 0; i < m_buttons.Count(); ++i) DisableButton(i, FALSE);
  if (bRedraw && GetSafeHwnd()) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CCoolButtonBar::Repaint(const std::vector<int>& buttons, bool now) {
  if (!GetSafeHwnd()) return;
  for (int index : buttons)
    if (m_buttons.IsValid(index)) InvalidateRect(&m_buttons.Rect(index), FALSE);
  if (now) UpdateWindow();
}

HBITMAP CCoolButtonBar::StateBitmap(ButtonLook look) const {
  int state = stateNormal;
  switch (look) {
    case ButtonLook::kNormal:
      state = stateNormal;
      break;
    case ButtonLook::kHot:
      state = stateHighlighted;
      break;
    case ButtonLook::kPressed:
      state = stateClicked;
      break;
    case ButtonLook::kDisabled:
      state = stateDisabled;
      break;
  }
  return m_bitmaps[state] ? m_bitmaps[state].get() : m_bitmaps[stateNormal].get();
}

void CCoolButtonBar::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  if (client.IsRectEmpty()) return;

  // Composed off screen so a hot button never flickers through the background.
  HDC target = paint.m_hDC;
  HDC canvas = CreateCompatibleDC(target);
  HBITMAP buffer = CreateCompatibleBitmap(target, client.Width(), client.Height());
  HGDIOBJ oldBuffer = SelectObject(canvas, buffer);

  // Past the pictures the bar shows its parent's background, as the static it replaces did.
  HBRUSH background = nullptr;
  if (HWND parent = ::GetParent(m_hWnd))
    background = reinterpret_cast<HBRUSH>(::SendMessage(
        parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(canvas), reinterpret_cast<LPARAM>(m_hWnd)));
  FillRect(canvas, &client, background ? background : GetSysColorBrush(COLOR_BTNFACE));

  HDC source = CreateCompatibleDC(target);
  if (HBITMAP normal = m_bitmaps[stateNormal].get()) {
    HGDIOBJ old = SelectObject(source, normal);
    BitBlt(canvas, 0, 0, m_bitmapSize.cx, m_bitmapSize.cy, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
  }
  const bool windowEnabled = IsWindowEnabled() != FALSE;
  for (int i = 0; i < m_buttons.Count(); ++i) {
    const ButtonLook look = m_buttons.LookOf(i, windowEnabled);
    if (look == ButtonLook::kNormal) continue;  // already there with the whole normal picture
    HBITMAP picture = StateBitmap(look);
    if (!picture) continue;
    const RECT& r = m_buttons.Rect(i);
    HGDIOBJ old = SelectObject(source, picture);
    BitBlt(canvas, r.left, r.top, r.right - r.left, r.bottom - r.top, source, r.left, r.top, SRCCOPY);
    SelectObject(source, old);
  }
  DeleteDC(source);

  BitBlt(target, 0, 0, client.Width(), client.Height(), canvas, 0, 0, SRCCOPY);
  SelectObject(canvas, oldBuffer);
  DeleteObject(buffer);
  DeleteDC(canvas);
}

BOOL CCoolButtonBar::OnEraseBkgnd(CDC*) {
  return TRUE;  // the paint covers everything
}

LRESULT CCoolButtonBar::OnNcHitTest(CPoint) {
  // A template's static without SS_NOTIFY would let the mouse through.
  return HTCLIENT;
}

void CCoolButtonBar::OnMouseMove(UINT, CPoint point) {
  if (!m_bTrackingLeave) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = m_hWnd;
    m_bTrackingLeave = TrackMouseEvent(&track) != FALSE;
  }
  Repaint(m_buttons.MouseMove(point), false);
  UpdateTip();
}

void CCoolButtonBar::OnMouseLeave() {
  m_bTrackingLeave = false;
  Repaint(m_buttons.MouseLeave(), false);
  HideTip();
}

void CCoolButtonBar::OnLButtonDown(UINT, CPoint point) {
  HideTip();
  int pressed = -1;
  Repaint(m_buttons.Press(point, &pressed), true);
  if (pressed >= 0) SetCapture();
}

void CCoolButtonBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  OnLButtonDown(nFlags, point);  // a quick second click is a click too
}

void CCoolButtonBar::OnLButtonUp(UINT, CPoint point) {
  int clicked = -1;
  Repaint(m_buttons.Release(point, &clicked), true);
  if (GetCapture() == this) ReleaseCapture();
  // Posted, so the owner acts after the bar has settled and may freely disable or hide it.
  if (clicked >= 0 && m_nNotifyMessage != 0 && ::IsWindow(m_hWndNotify))
    ::PostMessage(m_hWndNotify, m_nNotifyMessage, static_cast<WPARAM>(clicked), 0);
}

void CCoolButtonBar::OnCaptureChanged(CWnd* pWnd) {
  if (pWnd != this) Repaint(m_buttons.Cancel(), false);
}

void CCoolButtonBar::OnEnable(BOOL) {
  HideTip();
  Invalidate(FALSE);
}

void CCoolButtonBar::OnDestroy() {
  HideTip();
  m_tip.Destroy();
  m_buttons.Cancel();
  m_buttons.MouseLeave();
  m_bTrackingLeave = false;
  CStatic::OnDestroy();
}

CString CCoolButtonBar::TipOf(int index) const {
  if (!m_bTipsOn || !m_buttons.IsValid(index)) return CString();
  const CString& own = m_tips[static_cast<size_t>(index)];
  return own.IsEmpty() ? m_strDefaultTip : own;
}

void CCoolButtonBar::UpdateTip() {
  const int hot = m_buttons.Pressed() >= 0 ? -1 : m_buttons.Hot();
  if (hot == m_nTipButton) return;
  const bool wasShowing = m_tip.IsVisible();
  HideTip();
  if (TipOf(hot).IsEmpty()) return;
  m_nTipButton = hot;
  if (wasShowing) {
    // Moving along the bar with a tip up names the next button at once.
    OnTimer(kTipShowTimer);
  } else {
    SetTimer(kTipShowTimer, kTipShowDelayMs, nullptr);
  }
}

void CCoolButtonBar::HideTip() {
  m_nTipButton = -1;
  if (GetSafeHwnd()) {
    KillTimer(kTipShowTimer);
    KillTimer(kTipHideTimer);
  }
  m_tip.Hide();
}

void CCoolButtonBar::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kTipHideTimer) {
    KillTimer(kTipHideTimer);
    m_tip.Hide();
    return;
  }
  if (nIDEvent != kTipShowTimer) {
    CStatic::OnTimer(nIDEvent);
    return;
  }
  KillTimer(kTipShowTimer);
  const CString text = TipOf(m_nTipButton);
  if (text.IsEmpty() || m_nTipButton != m_buttons.Hot() || !IsWindowVisible()) return;
  POINT cursor{0, 0};
  GetCursorPos(&cursor);
  if (m_tip.Show(m_hWnd, text, cursor)) SetTimer(kTipHideTimer, kTipHideDelayMs, nullptr);
}
