#include "controls/ProgressWnd.h"

#include <cstdarg>
#include <cstdio>

#include "platform/comctl/CommCtrl.h"
#include "platform/gdi/Gdi.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/WinThread.h"

namespace {

constexpr int kMargin = 10;
constexpr int kWidthWithBar = 390;
constexpr int kWidthWithoutBar = 480;

}  // namespace

BEGIN_MESSAGE_MAP(CProgressPopupWnd, CWnd)
ON_WM_ERASEBKGND()
ON_BN_CLICKED(IDC_PROGRESS_CANCEL, OnCancel)
END_MESSAGE_MAP()

CProgressPopupWnd::CProgressPopupWnd(BOOL bShowBar) : m_bShowBar(bShowBar) {}

CProgressPopupWnd::~CProgressPopupWnd() {
  Clear();
}

void CProgressPopupWnd::Clear() {
  if (m_bModal) {
    m_bModal = FALSE;
    if (m_pDisabledAncestor != nullptr && ::IsWindow(m_pDisabledAncestor->GetSafeHwnd()))
      m_pDisabledAncestor->EnableWindow(TRUE);
    m_pDisabledAncestor = nullptr;
  }
  if (m_hWnd != nullptr) DestroyWindow();
}

int CProgressPopupWnd::Percentage(int nPos, int nLower, int nUpper) {
  if (nLower >= nUpper) return 0;
  return static_cast<int>(static_cast<double>(nPos - nLower) * 100.0 / (nUpper - nLower) + 0.5);
}

BOOL CProgressPopupWnd::CreatePopup(CWnd* pOwner, LPCTSTR lpszTitle, BOOL bSmooth) {
  const LPCTSTR className =
      AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, ::LoadCursor(nullptr, IDC_APPSTARTING));
  NONCLIENTMETRICS metrics{};
  metrics.cbSize = 340;
  if (::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
    m_font.CreateFontIndirect(&metrics.lfMessageFont);
  CWnd* owner = pOwner != nullptr ? pOwner : AfxGetMainWnd();
  if (!CreateEx(WS_EX_DLGMODALFRAME, className, lpszTitle, WS_POPUP | WS_CAPTION, 0, 0, kWidthWithBar, 130,
                owner != nullptr ? owner->GetSafeHwnd() : nullptr, nullptr))
    return FALSE;
  const CRect provisional(0, 0, 10, 10);
  if (!m_text.Create("", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, provisional, this,
                     IDC_PROGRESS_TEXT) ||
      !m_bar.Create(WS_CHILD | WS_VISIBLE | (bSmooth ? PBS_SMOOTH : 0), provisional, this,
                    IDC_PROGRESS_BAR) ||
      !m_cancel.Create(m_strCancelLabel, WS_CHILD | WS_VISIBLE | WS_TABSTOP, provisional, this,
                       IDC_PROGRESS_CANCEL)) {
    DestroyWindow();
    return FALSE;
  }
  if (m_font.GetSafeHandle() != nullptr) {
    m_cancel.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), TRUE);
    m_text.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), TRUE);
  }
  Layout(m_nLines, m_bShowBar ? kWidthWithBar : kWidthWithoutBar);
  CenterWindow();
  Show();
  return TRUE;
}

void CProgressPopupWnd::Layout(int nLines, int nWidth) {
  CClientDC dc(this);
  CFont* oldFont = m_font.GetSafeHandle() != nullptr ? dc.SelectObject(&m_font) : nullptr;
  CRect text(kMargin, kMargin, nWidth - 2 * kMargin, 120);
  CString lines("M");
  for (int i = 1; i < nLines; ++i) lines += "\nM";
  dc.DrawText(lines, &text, DT_CALCRECT | DT_NOCLIP | DT_NOPREFIX);
  text.right = text.left + nWidth;

  const CSize label = dc.GetTextExtent(m_strCancelLabel + "  ");
  if (oldFont != nullptr) dc.SelectObject(oldFont);
  const int cxEdge = ::GetSystemMetrics(SM_CXEDGE);
  const int cyEdge = ::GetSystemMetrics(SM_CYEDGE);
  const CSize button(label.cx + 4 * cxEdge, label.cy + 3 * cyEdge);
  const CRect cancel(text.right - button.cx, text.bottom + kMargin, text.right,
                     text.bottom + kMargin + button.cy);
  CRect bar(0, 0, 0, 0);
  if (m_bShowBar) {
    const int right = CancelButtonShown() ? cancel.left - kMargin : cancel.right;
    bar = CRect(text.left, cancel.top + cyEdge, right, cancel.bottom - cyEdge);
  }

  // Client: the text's width plus margins, its height plus the button row and three margins.
  CRect window(0, 0, text.Width() + 2 * kMargin, text.Height() + button.cy + 3 * kMargin);
  ::AdjustWindowRectEx(&window, GetStyle(), FALSE, GetExStyle());
  SetWindowPos(nullptr, 0, 0, window.Width(), window.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  m_text.MoveWindow(&text, TRUE);
  m_bar.MoveWindow(&bar, TRUE);
  if (CancelButtonShown())
    m_cancel.MoveWindow(&cancel, TRUE);
  else
    m_cancel.MoveWindow(0, 0, 0, 0, TRUE);
}

BOOL CProgressPopupWnd::ShowModal(LPCTSTR lpszTitle, BOOL bSmooth) {
  if (m_hWnd == nullptr && !CreatePopup(nullptr, lpszTitle, bSmooth)) return FALSE;
  CWnd* ancestor = this;
  for (CWnd* parent = ancestor->GetParent(); parent != nullptr && parent->IsWindowEnabled();
       parent = parent->GetParent())
    ancestor = parent;
  if (ancestor != this) {
    ancestor->EnableWindow(FALSE);
    m_pDisabledAncestor = ancestor;
  }
  EnableWindow(TRUE);
  m_bModal = TRUE;
  if (::GetFocus() != m_hWnd) SetFocus();
  return TRUE;
}

void CProgressPopupWnd::SetRange(int nLower, int nUpper, int nStep) {
  if (m_hWnd == nullptr) return;
  m_bar.SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(nLower), static_cast<LPARAM>(nUpper));
  m_nLower = nLower;
  m_nUpper = nUpper;
  m_nStep = nStep;
  m_bar.SendMessage(PBM_SETSTEP, static_cast<WPARAM>(nStep), 0);
}

int CProgressPopupWnd::SetPos(int nPos) {
  if (m_hWnd == nullptr) return m_nLastPos;
  Show();
  m_nLastPos = nPos;
  const int percent = Percentage(nPos, m_nLower, m_nUpper);
  if (percent != m_nLastPercent) {
    m_nLastPercent = percent;
    CString caption;
    caption.Format("%s [%d%%]", m_strTitle.GetString(), percent);
    SetWindowText(caption);
  }
  return static_cast<int>(m_bar.SendMessage(PBM_SETPOS, static_cast<WPARAM>(nPos), 0));
}

void CProgressPopupWnd::SetText(LPCTSTR lpszText) {
  if (m_hWnd == nullptr) return;
  m_text.SetWindowText(lpszText);
}

void ProgressWndSetText(CProgressPopupWnd* pWnd, LPCTSTR lpszFormat, ...) {
  if (pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr) return;
  char buffer[512];
  va_list args;
  va_start(args, lpszFormat);
  std::vsnprintf(buffer, sizeof buffer, lpszFormat, args);
  va_end(args);
  pWnd->SetText(buffer);
}

void CProgressPopupWnd::PumpMessages(BOOL bCancelOnEscape) {
  MSG msg;
  while (!m_bCancelled && ::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    if (bCancelOnEscape && msg.message == WM_CHAR && msg.wParam == VK_ESCAPE) OnCancel();
    if (m_bModal && msg.message == WM_LBUTTONUP && m_cancel.GetSafeHwnd() != nullptr) {
      CRect button;
      m_cancel.GetWindowRect(&button);
      if (button.PtInRect(msg.pt)) OnCancel();
    }
    if (!AfxPumpMessage()) {
      ::PostQuitMessage(0);
      return;
    }
  }
}

void CProgressPopupWnd::Show() {
  if (m_hWnd == nullptr || IsWindowVisible()) return;
  ModifyStyle(0, WS_VISIBLE);
  ShowWindow(SW_SHOWNA);
  RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
}

void CProgressPopupWnd::Hide() {
  if (m_hWnd == nullptr || !IsWindowVisible()) return;
  ShowWindow(SW_HIDE);
  ModifyStyle(WS_VISIBLE, 0);
}

BOOL CProgressPopupWnd::OnEraseBkgnd(CDC* pDC) {
  CRect clip;
  pDC->GetClipBox(&clip);
  CBrush face(::GetSysColor(COLOR_BTNFACE));
  CBrush* old = pDC->SelectObject(&face);
  pDC->PatBlt(clip.left, clip.top, clip.Width(), clip.Height(), PATCOPY);
  pDC->SelectObject(old);
  return TRUE;
}

void CProgressPopupWnd::OnCancel() {
  m_bCancelled = TRUE;
  Hide();
  if (m_bModal) PostMessage(WM_CLOSE);
  if (CWnd* main = AfxGetMainWnd(); main != nullptr && ::IsWindow(main->GetSafeHwnd()))
    main->SetForegroundWindow();
}

CLoadProgressWnd::CLoadProgressWnd(CWnd* pOwner, LPCTSTR lpszTitle, BOOL bShowBar, BOOL bSmooth)
    : CProgressPopupWnd(bShowBar) {
  m_strTitle = lpszTitle;
  CreatePopup(pOwner, lpszTitle, bSmooth);
}

CLoadProgressWnd::~CLoadProgressWnd() = default;

CAddFilesProgressWnd::CAddFilesProgressWnd(BOOL bShowBar) : CProgressPopupWnd(bShowBar) {}

CAddFilesProgressWnd::~CAddFilesProgressWnd() = default;
