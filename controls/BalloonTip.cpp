#include "controls/BalloonTip.h"

#include <algorithm>

#include "platform/mfc/Dc.h"

namespace {

constexpr int kTextLeft = 12;
constexpr int kTextTop = 10;
constexpr int kIconGap = 5;
constexpr int kPointerHeight = 25;

bool SamePoint(const POINT& a, const POINT& b) {
  return a.x == b.x && a.y == b.y;
}

}  // namespace

BEGIN_MESSAGE_MAP(CBalloonTip, CWnd)
ON_WM_PAINT()
ON_WM_CREATE()
ON_WM_TIMER()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CBalloonTip::CBalloonTip() : m_strClassName(AfxRegisterWndClass(0)) {
  m_tips.InitHashTable(17);
}

CBalloonTip::~CBalloonTip() {
  m_tips.RemoveAll();
}

BOOL CBalloonTip::Create(CWnd* pOwner) {
  m_pFont = CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
  return CreateEx(0, m_strClassName, "", WS_POPUP, CRect(0, 0, 0, 0), pOwner, 0);
}

int CBalloonTip::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  return CWnd::OnCreate(lpCreateStruct) == -1 ? -1 : 0;
}

void CBalloonTip::AddTool(CWnd* pControl, LPCTSTR lpszText, HICON hIcon) {
  if (pControl == nullptr || pControl->GetSafeHwnd() == nullptr) return;
  BalloonTipInfo info;
  info.strText = lpszText != nullptr ? lpszText : "";
  info.hIcon = hIcon;
  m_tips.SetAt(pControl->GetSafeHwnd(), info);
}

void CBalloonTip::RelayEvent(MSG* pMsg) {
  if (pMsg == nullptr || GetSafeHwnd() == nullptr) return;
  switch (pMsg->message) {
    case WM_MOUSEMOVE: {
      POINT cursor;
      ::GetCursorPos(&cursor);
      if (SamePoint(cursor, m_ptAnchor)) break;
      BalloonTipInfo info;
      if (m_tips.Lookup(::WindowFromPoint(cursor), info)) {
        m_ptAnchor = cursor;
        SetIcon(info.hIcon);
        Show(info.strText, &cursor);
      }
      if (!SamePoint(cursor, m_ptAnchor)) ShowWindow(SW_HIDE);
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      ShowWindow(SW_HIDE);
      break;
    default:
      break;
  }
}

void CBalloonTip::Show(CString strText, POINT* pAnchor) {
  if (pAnchor != nullptr)
    m_ptAnchor = *pAnchor;
  else
    ::GetCursorPos(&m_ptAnchor);
  m_strText = strText;
  m_nTimerId = SetTimer(kShowTimer, m_nShowDelay, nullptr);
}

void CBalloonTip::SetIcon(HICON hIcon) {
  m_hIcon = hIcon;
  m_nIconWidth = m_nIconHeight = 0;
  ICONINFO info{};
  if (hIcon != nullptr && ::GetIconInfo(hIcon, &info)) {
    // The hotspot of an icon is its centre; the record keeps the size in 8 bits.
    m_nIconWidth = static_cast<int>((2 * info.xHotspot) % 256);
    m_nIconHeight = static_cast<int>((2 * info.yHotspot) % 256);
    if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
  }
  if (GetSafeHwnd() != nullptr) RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
}

void CBalloonTip::GetBalloonRegion(CDC* pDC, HRGN* pRegion, SIZE* pSize) {
  CFont* oldFont = m_pFont != nullptr ? pDC->SelectObject(m_pFont) : nullptr;
  CRect text(0, 0, 0, 0);
  pDC->DrawText(m_strText, &text, DT_CALCRECT);
  if (oldFont != nullptr) pDC->SelectObject(oldFont);
  int w = text.Width() + 2 * kTextLeft;
  if (m_hIcon != nullptr) w += m_nIconWidth + kIconGap;
  const int h = std::max(text.Height() + 2 * kTextTop, m_nIconHeight);

  CRgn round, pointer, whole, clip;
  round.CreateRoundRectRgn(0, 0, w, h, 12, 10);
  POINT tip[3] = {{w - 12, h - 10}, {w - 12, h + 15}, {w - 37, h - 10}};
  pointer.CreatePolygonRgn(tip, 3, ALTERNATE);
  whole.CreateRectRgn(0, 0, 0, 0);
  whole.CombineRgn(&round, &pointer, RGN_OR);
  clip.CreateRectRgn(0, 0, w, h + kPointerHeight);
  whole.CombineRgn(&whole, &clip, RGN_AND);
  if (pRegion != nullptr) *pRegion = static_cast<HRGN>(whole.Detach());
  if (pSize != nullptr) *pSize = SIZE{w, h + kPointerHeight};
}

void CBalloonTip::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kShowTimer) {
    KillTimer(m_nTimerId);
    HRGN region = nullptr;
    SIZE size{0, 0};
    {
      CClientDC dc(this);
      GetBalloonRegion(&dc, &region, &size);
    }
    SetWindowRgn(region, TRUE);  // the window owns the region from here
    // The pointer's tip sits exactly on the anchor.
    SetWindowPos(&wndTop, m_ptAnchor.x - size.cx + 12, m_ptAnchor.y - size.cy + 10, size.cx, size.cy,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    m_nTimerId = SetTimer(kWatchTimer, kWatchMs, nullptr);
  } else if (nIDEvent == kWatchTimer) {
    POINT cursor;
    ::GetCursorPos(&cursor);
    if (!SamePoint(cursor, m_ptAnchor)) {
      KillTimer(m_nTimerId);
      ShowWindow(SW_HIDE);
    }
  }
  CWnd::OnTimer(nIDEvent);
}

void CBalloonTip::OnPaint() {
  CPaintDC dc(this);
  HRGN region = nullptr;
  GetBalloonRegion(&dc, &region, nullptr);
  CRgn* outline = CRgn::FromHandle(region);
  CBrush fill(::GetSysColor(COLOR_INFOBK));
  CBrush edge(::GetSysColor(COLOR_SCROLLBAR));
  CBrush line(::GetSysColor(COLOR_WINDOWTEXT));
  dc.FillRgn(outline, &fill);
  dc.FrameRgn(outline, &edge, 3, 3);
  dc.FrameRgn(outline, &line, 1, 1);
  ::DeleteObject(region);

  CRect text;
  GetClientRect(&text);
  text.left += kTextLeft;
  text.top += kTextTop;
  if (m_hIcon != nullptr) text.left += m_nIconWidth + kIconGap;
  CFont* oldFont = m_pFont != nullptr ? dc.SelectObject(m_pFont) : nullptr;
  dc.SetBkMode(TRANSPARENT);
  dc.DrawText(m_strText, &text, 0);
  if (oldFont != nullptr) dc.SelectObject(oldFont);
  if (m_hIcon != nullptr)
    ::DrawIconEx(dc.GetSafeHdc(), kTextLeft, kTextTop, m_hIcon, m_nIconWidth, m_nIconHeight, 0, nullptr,
                 DI_NORMAL);
}

void CBalloonTip::OnDestroy() {
  KillTimer(m_nTimerId);
  CWnd::OnDestroy();
}
