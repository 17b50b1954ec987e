#include "toolkit/core/PlxInplaceToolTipCtrl.h"

IMPLEMENT_DYNAMIC(CPlxInplaceToolTipCtrl, CWnd)

BEGIN_MESSAGE_MAP(CPlxInplaceToolTipCtrl, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_MESSAGE(WM_SETFONT, OnSetFont)
END_MESSAGE_MAP()

namespace {

CString& ClassName() {
  static CString name;  // registered once per process
  return name;
}

HFONT FontOf(HFONT font) {
  return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

BOOL CPlxInplaceToolTipCtrl::Create(CWnd* pOwner) {
  m_pOwnerWnd = pOwner;
  if (ClassName().IsEmpty())
    ClassName() = AfxRegisterWndClass(CS_SAVEBITS, LoadCursor(nullptr, IDC_ARROW),
                                      reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  return CreateEx(0, ClassName(), "", WS_POPUP, CRect(0, 0, 0, 0), pOwner, 0);
}

void CPlxInplaceToolTipCtrl::Track(CRect rect, const CString& strText) {
  if (!GetSafeHwnd()) return;
  if (rect == m_rectLast && strText == m_strTip) return;
  m_rectLast = rect;
  m_strTip = strText;
  CClientDC dc(this);
  CFont* oldFont = dc.SelectObject(CFont::FromHandle(FontOf(m_hTipFont)));
  const int width = dc.GetTextExtent(m_strTip).cx + 2 * m_nTextMargin;
  dc.SelectObject(oldFont);
  if (m_pOwnerWnd && (m_pOwnerWnd->GetExStyle() & WS_EX_LAYOUTRTL))
    rect.left = rect.right - width;
  else
    rect.right = rect.left + width;
  CRect work;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  if (rect.Width() > work.Width()) {
    rect.left = work.left;
    rect.right = work.right;
  } else if (rect.right > work.right) {
    rect.OffsetRect(work.right - rect.right, 0);
  } else if (rect.left < work.left) {
    rect.OffsetRect(work.left - rect.left, 0);
  }
  SetWindowPos(&wndTop, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOACTIVATE);
  ShowWindow(SW_SHOWNOACTIVATE);
  Invalidate();
  UpdateWindow();
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

void CPlxInplaceToolTipCtrl::Hide() {
  if (GetSafeHwnd()) ShowWindow(SW_HIDE);
}

void CPlxInplaceToolTipCtrl::Deactivate() {
  m_strTip.Empty();
  m_rectLast.SetRectEmpty();
  Hide();
}

BOOL CPlxInplaceToolTipCtrl::OnEraseBkgnd(CDC*) {
  return TRUE;
}

void CPlxInplaceToolTipCtrl::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(client);
  dc.FillSolidRect(client, GetSysColor(COLOR_INFOBK));
  CBrush frame(GetSysColor(COLOR_INFOTEXT));
  dc.FrameRect(client, &frame);
  CFont* oldFont = dc.SelectObject(CFont::FromHandle(FontOf(m_hTipFont)));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(GetSysColor(COLOR_INFOTEXT));
  CRect text = client;
  text.DeflateRect(m_nTextMargin, 0);
  dc.DrawText(m_strTip, text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  dc.SelectObject(oldFont);
}

LRESULT CPlxInplaceToolTipCtrl::OnSetFont(WPARAM wParam, LPARAM lParam) {
  m_hTipFont = reinterpret_cast<HFONT>(wParam);
  if (LOWORD(lParam)) {
    Invalidate();
    UpdateWindow();
  }
  return 0;
}

BOOL CPlxInplaceToolTipCtrl::PreTranslateMessage(MSG* pMsg) {
  const UINT m = pMsg->message;
  if (m == WM_MOUSEMOVE || (m >= WM_LBUTTONDOWN && m <= WM_MBUTTONDBLCLK)) {
    if (m != WM_MOUSEMOVE) Hide();
    if (m_pOwnerWnd && m_pOwnerWnd->GetSafeHwnd()) {
      CPoint point(static_cast<short>(LOWORD(pMsg->lParam)), static_cast<short>(HIWORD(pMsg->lParam)));
      MapWindowPoints(m_pOwnerWnd, &point, 1);
      m_pOwnerWnd->SendMessage(m, pMsg->wParam, MAKELPARAM(point.x, point.y));
    }
    return TRUE;
  }
  return CWnd::PreTranslateMessage(pMsg);
}
