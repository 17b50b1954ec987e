// The status bar: panes, their layout and their flat painting.
#include "platform/mfc/StatusBar.h"

#include <algorithm>
#include <cstring>

#include "platform/mfc/CmdUI.h"
#include "platform/mfc/WinApp.h"

namespace {

constexpr int kPaneMargin = 3;  // between a pane's frame and its text, each side
constexpr int kPaneGap = 2;     // between panes
constexpr int kIconSize = 16;

// The update pass of one pane.
class StatusCmdUI : public CCmdUI {
 public:
  explicit StatusCmdUI(CStatusBar& bar) : m_bar(bar) {}
  void Enable(BOOL bOn) override {
    m_bEnableChanged = TRUE;
    const UINT style = m_bar.GetPaneStyle(static_cast<int>(m_nIndex)) & ~static_cast<UINT>(SBPS_DISABLED);
    m_bar.SetPaneStyle(static_cast<int>(m_nIndex), bOn ? style : style | SBPS_DISABLED);
  }
  void SetCheck(int nCheck) override {
    const UINT style = m_bar.GetPaneStyle(static_cast<int>(m_nIndex)) & ~static_cast<UINT>(SBPS_POPOUT);
    m_bar.SetPaneStyle(static_cast<int>(m_nIndex), nCheck ? style | SBPS_POPOUT : style);
  }
  void SetText(LPCTSTR lpszText) override { m_bar.SetPaneText(static_cast<int>(m_nIndex), lpszText); }

 private:
  CStatusBar& m_bar;
};

}  // namespace

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
ON_WM_SIZE()
ON_MESSAGE(WM_SETFONT, OnSetFont)
ON_MESSAGE(WM_GETFONT, OnGetFont)
ON_MESSAGE(SB_SETTEXT, OnSetText)
ON_MESSAGE(SB_GETTEXT, OnGetText)
ON_MESSAGE(SB_GETTEXTLENGTH, OnGetTextLength)
ON_MESSAGE(SB_SETICON, OnSetIcon)
ON_MESSAGE(SB_GETICON, OnGetIcon)
ON_MESSAGE(SB_SETBKCOLOR, OnSetBkColor)
ON_MESSAGE(SB_GETRECT, OnGetRect)
ON_MESSAGE(SB_SETMINHEIGHT, OnSetMinHeight)
END_MESSAGE_MAP()

CStatusBar::CStatusBar() {
  m_cxLeftBorder = 2;
  m_cxRightBorder = 2;
  m_cyTopBorder = 2;
  m_cyBottomBorder = 1;
}

CStatusBar::~CStatusBar() {
  if (m_hWnd && FromHandlePermanent(m_hWnd) == this) DestroyWindow();
}

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CStatusBar::CreateEx(CWnd* pParentWnd, DWORD, DWORD dwStyle, UINT nID) {
  // The CBRS_ bits are the bar's own; they are not window styles.
  m_dwStyle = dwStyle & CBRS_ALL;
  const DWORD windowStyle = dwStyle & ~static_cast<DWORD>(CBRS_ALL);
  const LPCTSTR className = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
  if (!CWnd::Create(className, nullptr, windowStyle | WS_CHILD, CRect(0, 0, 0, 0), pParentWnd, nID))
    return FALSE;
  return TRUE;
}

HFONT CStatusBar::Font() const {
  return m_hFont ? m_hFont : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
  m_panes.assign(static_cast<size_t>(std::max(nIDCount, 0)), Pane{});
  m_nCount = static_cast<int>(m_panes.size());
  BOOL allFound = TRUE;
  if (lpIDArray) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, Font());
    for (int i = 0; i < m_nCount; ++i) {
      Pane& pane = m_panes[static_cast<size_t>(i)];
      pane.nID = lpIDArray[i];
      if (pane.nID == ID_SEPARATOR) {
        pane.cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
        if (i == 0) pane.nStyle |= SBPS_STRETCH | SBPS_NOBORDERS;
        continue;
      }
      if (!pane.strText.LoadString(pane.nID)) {
        allFound = FALSE;  // the pane starts empty
        continue;
      }
      SIZE size{};
      ::GetTextExtentPoint32(dc, pane.strText, pane.strText.GetLength(), &size);
      pane.cxText = size.cx;
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
  }
  if (m_hWnd) Invalidate();
  return allFound;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const {
  for (size_t i = 0; i < m_panes.size(); ++i)
    if (m_panes[i].nID == nIDFind) return static_cast<int>(i);
  return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const {
  if (nIndex < 0 || nIndex >= m_nCount) return 0;
  return m_panes[static_cast<size_t>(nIndex)].nID;
}

std::vector<CRect> CStatusBar::LayoutPanes() const {
  CRect client;
  GetClientRect(&client);
  const int top = m_cyTopBorder;
  const int bottom = std::max<int>(top, client.bottom - m_cyBottomBorder);
  int fixed = 0;
  int stretchCount = 0;
  for (const Pane& pane : m_panes) {
    if (pane.nStyle & SBPS_STRETCH)
      ++stretchCount;
    else
      fixed += pane.cxText + 2 * kPaneMargin + (pane.hIcon ? kIconSize + kPaneMargin : 0);
  }
  const int gaps = m_panes.empty() ? 0 : static_cast<int>(m_panes.size() - 1) * kPaneGap;
  const int free = client.Width() - m_cxLeftBorder - m_cxRightBorder - fixed - gaps;
  std::vector<CRect> rects;
  int x = m_cxLeftBorder;
  int stretchLeft = stretchCount;
  int freeLeft = std::max(free, 0);
  for (const Pane& pane : m_panes) {
    int width;
    if (pane.nStyle & SBPS_STRETCH) {
      width = freeLeft / stretchLeft;  // the last stretching pane takes the remainder
      freeLeft -= width;
      --stretchLeft;
    } else {
      width = pane.cxText + 2 * kPaneMargin + (pane.hIcon ? kIconSize + kPaneMargin : 0);
    }
    rects.emplace_back(x, top, x + width, bottom);
    x += width + kPaneGap;
  }
  return rects;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  *lpRect = RECT{};
  if (nIndex < 0 || nIndex >= m_nCount) return;
  *lpRect = LayoutPanes()[static_cast<size_t>(nIndex)];
}

void CStatusBar::GetPaneText(int nIndex, CString& rString) const {
  rString = GetPaneText(nIndex);
}

CString CStatusBar::GetPaneText(int nIndex) const {
  if (nIndex < 0 || nIndex >= m_nCount) return CString();
  return m_panes[static_cast<size_t>(nIndex)].strText;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate) {
  if (nIndex < 0 || nIndex >= m_nCount) return FALSE;
  Pane& pane = m_panes[static_cast<size_t>(nIndex)];
  const CString text(lpszNewText);
  if (pane.strText == text) return TRUE;
  pane.strText = text;
  if (bUpdate && m_hWnd) {
    CRect rect;
    GetItemRect(nIndex, &rect);
    InvalidateRect(&rect, TRUE);
  }
  return TRUE;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
  if (nIndex < 0 || nIndex >= m_nCount) {
    nID = 0;
    nStyle = 0;
    cxWidth = 0;
    return;
  }
  const Pane& pane = m_panes[static_cast<size_t>(nIndex)];
  nID = pane.nID;
  nStyle = pane.nStyle;
  cxWidth = pane.cxText;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
  if (nIndex < 0 || nIndex >= m_nCount) return;
  Pane& pane = m_panes[static_cast<size_t>(nIndex)];
  pane.nID = nID;
  pane.nStyle = nStyle;
  pane.cxText = std::max(cxWidth, 0);
  if (m_hWnd) Invalidate();
}

UINT CStatusBar::GetPaneStyle(int nIndex) const {
  if (nIndex < 0 || nIndex >= m_nCount) return 0;
  return m_panes[static_cast<size_t>(nIndex)].nStyle;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
  if (nIndex < 0 || nIndex >= m_nCount) return;
  Pane& pane = m_panes[static_cast<size_t>(nIndex)];
  if (pane.nStyle == nStyle) return;
  pane.nStyle = nStyle;
  if (m_hWnd) Invalidate();
}

HICON CStatusBar::GetPaneIcon(int nIndex) const {
  if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
  return m_panes[static_cast<size_t>(nIndex)].hIcon;
}

CSize CStatusBar::CalcFixedLayout(BOOL, BOOL) {
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, Font());
  TEXTMETRIC tm{};
  ::GetTextMetrics(dc, &tm);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  // The text, a margin and a frame line above and below it, and the bar's borders.
  int height = tm.tmHeight + 2 * (kPaneMargin - 1) + 2 + m_cyTopBorder + m_cyBottomBorder;
  height = std::max(height, m_nMinHeight);
  return CSize(32767, height);
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL) {
  auto* target = reinterpret_cast<CCmdTarget*>(pTarget);
  StatusCmdUI state(*this);
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(m_nCount);
  for (int i = 0; i < m_nCount; ++i) {
    state.m_nIndex = static_cast<UINT>(i);
    state.m_nID = m_panes[static_cast<size_t>(i)].nID;
    // Panes do not go dark for lack of a handler.
    state.DoUpdate(target, FALSE);
  }
}

void CStatusBar::DoPaint(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  DrawBorders(pDC, client);
  const std::vector<CRect> rects = LayoutPanes();
  const COLORREF shadow = ::GetSysColor(COLOR_3DSHADOW);
  const COLORREF light = ::GetSysColor(COLOR_3DHIGHLIGHT);
  CFont* oldFont = pDC->SelectObject(CFont::FromHandle(Font()));
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
  for (size_t i = 0; i < m_panes.size(); ++i) {
    const Pane& pane = m_panes[i];
    CRect rect = rects[i];
    if (rect.IsRectEmpty()) continue;
    if (!(pane.nStyle & SBPS_NOBORDERS)) {
      if (pane.nStyle & SBPS_POPOUT)
        pDC->Draw3dRect(&rect, light, shadow);
      else
        pDC->Draw3dRect(&rect, shadow, light);
    }
    rect.DeflateRect(kPaneMargin, 1);
    if (pane.hIcon) {
      const int y = rect.top + (rect.Height() - kIconSize) / 2;
      ::DrawIconEx(pDC->GetSafeHdc(), rect.left, y, pane.hIcon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
      rect.left += kIconSize + kPaneMargin;
    }
    if ((pane.nStyle & (SBPS_DISABLED | SBPS_OWNERDRAW)) || pane.strText.IsEmpty()) continue;
    pDC->DrawText(pane.strText, &rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | DT_LEFT);
  }
  pDC->SelectObject(oldFont);
}

void CStatusBar::OnSize(UINT nType, int cx, int cy) {
  CControlBar::OnSize(nType, cx, cy);
  Invalidate();  // stretching panes move the ones after them
}

LRESULT CStatusBar::OnSetFont(WPARAM wParam, LPARAM lParam) {
  m_hFont = reinterpret_cast<HFONT>(wParam);
  if (lParam) Invalidate();
  return 0;
}

LRESULT CStatusBar::OnGetFont(WPARAM, LPARAM) {
  return reinterpret_cast<LRESULT>(m_hFont);
}

LRESULT CStatusBar::OnSetText(WPARAM wParam, LPARAM lParam) {
  return SetPaneText(LOWORD(wParam), reinterpret_cast<LPCTSTR>(lParam));
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
  const int index = static_cast<int>(wParam);
  if (index < 0 || index >= m_nCount) return 0;
  const CString& text = m_panes[static_cast<size_t>(index)].strText;
  if (lParam)
    std::memcpy(reinterpret_cast<char*>(lParam), text.GetString(), static_cast<size_t>(text.GetLength()) + 1);
  return MAKELRESULT(text.GetLength(), 0);
}

LRESULT CStatusBar::OnGetTextLength(WPARAM wParam, LPARAM) {
  const int index = static_cast<int>(wParam);
  if (index < 0 || index >= m_nCount) return 0;
  return MAKELRESULT(m_panes[static_cast<size_t>(index)].strText.GetLength(), 0);
}

LRESULT CStatusBar::OnSetIcon(WPARAM wParam, LPARAM lParam) {
  const int index = static_cast<int>(wParam);
  if (index < 0 || index >= m_nCount) return FALSE;
  m_panes[static_cast<size_t>(index)].hIcon = reinterpret_cast<HICON>(lParam);
  Invalidate();
  return TRUE;
}

LRESULT CStatusBar::OnGetIcon(WPARAM wParam, LPARAM) {
  return reinterpret_cast<LRESULT>(GetPaneIcon(static_cast<int>(wParam)));
}

LRESULT CStatusBar::OnSetBkColor(WPARAM, LPARAM lParam) {
  const COLORREF old = m_clrBackground;
  m_clrBackground = static_cast<COLORREF>(lParam);
  Invalidate();
  return static_cast<LRESULT>(old);
}

LRESULT CStatusBar::OnGetRect(WPARAM wParam, LPARAM lParam) {
  const int index = static_cast<int>(wParam);
  if (!lParam || index < 0 || index >= m_nCount) return FALSE;
  GetItemRect(index, reinterpret_cast<LPRECT>(lParam));
  return TRUE;
}

LRESULT CStatusBar::OnSetMinHeight(WPARAM wParam, LPARAM) {
  m_nMinHeight = static_cast<int>(wParam);
  return 0;
}
