// The tab window's child controls, geometry, scrolling and painting.
#include <algorithm>
#include <cstring>

#include "platform/comctl/AfxControls.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/StdControls.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/customize/PlxTabWnd.h"

BEGIN_MESSAGE_MAP(CPlxTabWnd, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_SIZE()
ON_WM_SETTINGCHANGE()
ON_WM_SYSCOLORCHANGE()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_CANCELMODE()
ON_WM_TIMER()
ON_WM_SETCURSOR()
ON_WM_HSCROLL()
END_MESSAGE_MAP()

namespace {

CPlxTabButton* MakeButton(CPlxTabWnd* parent, int glyph, int glyphDisabled, int repeat, LPCTSTR tip) {
  auto* button = new CPlxTabButton;
  if (!button->Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 0, 0), parent,
                      static_cast<UINT>(-1))) {
    delete button;
    return nullptr;
  }
  button->m_nFlatStyle = CPlxButton::BUTTONSTYLE_FLAT;
  button->m_bDrawFocus = FALSE;
  button->SetStdImage(glyph, glyphDisabled);
  if (repeat > 0) button->SetAutorepeatMode(repeat);
  if (tip != nullptr && !parent->IsFlatTab()) button->SetTooltip(tip);
  return button;
}

}  // namespace

int CPlxTabWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  if (m_bScrollable) {
    const int repeat = m_bSlanted || m_bSlantedCompact ? 0 : 50;
    if (m_bFlat) m_pBtnFirst = MakeButton(this, CPlxMenuGlyphs::IdArowPageLeft, 0, 0, nullptr);
    m_pBtnLeft = MakeButton(this, CPlxMenuGlyphs::IdArowLeft, CPlxMenuGlyphs::IdArowLeftDisabled, repeat,
                            "Scroll Left");
    m_pBtnRight = MakeButton(this, CPlxMenuGlyphs::IdArowRight, CPlxMenuGlyphs::IdArowRightDisabled, repeat,
                             "Scroll Right");
    if (m_bFlat) m_pBtnLast = MakeButton(this, CPlxMenuGlyphs::IdArowShowAll, 0, 0, nullptr);
    m_pBtnClose = MakeButton(this, CPlxMenuGlyphs::IdClose, CPlxMenuGlyphs::IdCloseDisabled, 0, "Close");
    for (CPlxTabButton* b : {m_pBtnFirst, m_pBtnLeft, m_pBtnRight, m_pBtnLast, m_pBtnClose})
      if (b != nullptr) m_buttons.push_back(b->GetSafeHwnd());
  }
  if (m_bSharedScrollBar) {
    m_pScrollBar = std::make_unique<CScrollBar>();
    m_pScrollBar->Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(0, 0, 0, 0), this, static_cast<UINT>(-1));
  }
  if (m_bFlat) m_brActiveTab.CreateSolidBrush(::GetSysColor(COLOR_WINDOW));
  // Tooltips only where labels may be cut: the shrinking styles.
  if (!m_bScrollable) {
    m_pToolTip = std::make_unique<CToolTipCtrl>();
    if (m_pToolTip->Create(this, TTS_ALWAYSTIP)) {
      m_pToolTip->Activate(TRUE);
      if (g_plxGlobalData.nMaxToolTipWidth != -1)
        m_pToolTip->SetMaxTipWidth(g_plxGlobalData.nMaxToolTipWidth);
      m_pToolTip->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      for (const auto& tab : m_tabs) {
        const CRect none(0, 0, 0, 0);
        m_pToolTip->AddTool(this, tab->m_strLabel, &none, tab->m_uiToolId);
      }
    }
  }
  UpdateTabsHeight();
  return 0;
}

void CPlxTabWnd::OnDestroy() {
  if (m_pRenameEdit != nullptr) CloseRenameEdit();
  for (auto& tab : m_tabs)
    if (m_bAutoDestroyWnd && tab->m_pWnd != nullptr && tab->m_pWnd->GetSafeHwnd() != nullptr)
      tab->m_pWnd->DestroyWindow();
  m_tabs.clear();
  m_nTabsNum = 0;
  m_iActiveTab = -1;
  m_brActiveTab.DeleteObject();
  if (m_pToolTip && m_pToolTip->GetSafeHwnd() != nullptr) m_pToolTip->DestroyWindow();
  CWnd::OnDestroy();
}

void CPlxTabWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  const int available = cx - 2 * m_nBorderSize - 4 * ::GetSystemMetrics(SM_CXVSCROLL);
  const int arrows = 2 * ::GetSystemMetrics(SM_CXHSCROLL);
  m_nScrollBarWidth = arrows < available / 2 ? available / 2 : arrows < available ? available : 0;
  RecalcLayout();
  SyncScrollBar();
  if (m_bSlanted || m_bSlantedCompact || m_bTrapezoid) {
    m_nScrollOffset = 0;
    m_iFirstScrolledTab = 0;
    EnsureVisible(m_iActiveTab);
  }
}

void CPlxTabWnd::OnSettingChange(UINT uFlags, LPCTSTR lpszSection) {
  CWnd::OnSettingChange(uFlags, lpszSection);
  if (!m_bFlat) return;
  UpdateTabsHeight();
  RecalcLayout();
  SyncScrollBar();
}

void CPlxTabWnd::OnSysColorChange() {
  CWnd::OnSysColorChange();
  if (m_bFlat) {
    m_brActiveTab.DeleteObject();
    m_brActiveTab.CreateSolidBrush(::GetSysColor(COLOR_WINDOW));
    Redraw(TRUE);
  }
  InitAutoColors();
}

BOOL CPlxTabWnd::OnEraseBkgnd(CDC* pDC) {
  if (m_bNoEraseBkgnd || m_nTabsNum > 0) return TRUE;
  CRect client;
  GetClientRect(client);
  pDC->FillRect(client, &g_plxGlobalData.brBarFace);
  return TRUE;
}

BOOL CPlxTabWnd::IsTabRowHidden() const {
  if (m_bSharedScrollBar) return FALSE;
  const int visible = GetVisibleTabsNum();
  return (m_bHideSingleTab && visible < 2) || (m_bHideNoTabs && visible == 0);
}

int CPlxTabWnd::GetTabsOverlap() const {
  if (m_bSlanted || m_bSlantedCompact) return m_rectTabsArea.Height() - kImageMargin - 1;
  if (m_bTrapezoid) return m_rectTabsArea.Height() / 2;
  return 0;
}

int CPlxTabWnd::GetButtonSize() const {
  return std::min<int>(m_nTabsHeight - 4, CPlxMenuGlyphs::GetSize().cx + 6);
}

void CPlxTabWnd::UpdateTabsHeight() {
  if (m_bFlat) {
    m_nTabsHeight = ::GetSystemMetrics(SM_CYHSCROLL) + 2;
    LOGFONT lf{};
    if (HGDIOBJ gui = ::GetStockObject(DEFAULT_GUI_FONT)) {
      LOGFONT base{};
      ::GetObject(gui, sizeof(base), &base);
      lf.lfHeight = base.lfHeight;
      lf.lfCharSet = base.lfCharSet;
    }
    std::strcpy(lf.lfFaceName, "Arial");
    for (;;) {
      m_fontFlat.DeleteObject();
      m_fontFlat.CreateFontIndirect(&lf);
      int textHeight = 0;
      if (GetSafeHwnd() != nullptr) {
        CClientDC dc(this);
        CFont* old = dc.SelectObject(&m_fontFlat);
        TEXTMETRIC tm{};
        dc.GetTextMetrics(&tm);
        textHeight = tm.tmHeight;
        dc.SelectObject(old);
      }
      if (m_nTabsHeight >= textHeight + 2 || lf.lfHeight == 0) break;
      lf.lfHeight += lf.lfHeight < 0 ? 1 : -1;
    }
    lf.lfWeight = 700;
    m_fontFlatBold.DeleteObject();
    m_fontFlatBold.CreateFontIndirect(&lf);
    return;
  }
  const int h = m_pImages != nullptr ? m_sizeImage.cy : 0;
  const int text = g_plxGlobalData.nTextHeightHorz;
  if (m_bSlantedCompact)
    m_nTabsHeight = std::max(h > 0 ? h + 4 : 0, text + 2);
  else
    m_nTabsHeight = std::max(h > 0 ? h + 7 : 0, text + 5);
}

void CPlxTabWnd::RecalcLayout() {
  if (GetSafeHwnd() == nullptr) return;
  CRect client;
  GetClientRect(client);
  const BOOL hidden = IsTabRowHidden();
  const int e = hidden ? 0 : m_nTabsHeight;
  const BOOL top = m_location == LOCATION_TOP;
  m_rectTabsArea = client;
  m_rectTabsArea.DeflateRect(2, 0);

  int s = 0, gap = 0, total = 0;
  if (m_bScrollable) {
    s = GetButtonSize();
    gap = 3;
    int count = static_cast<int>(m_buttons.size());
    if (!m_bCloseButton) --count;
    if (m_bHideOverflow) --count;
    total = hidden ? 0 : std::max(0, count) * (s + gap);
  }
  m_nButtonsHeight = s;

  if (m_bFlat) {
    const int inset = m_nBorderSize > 1 ? m_nBorderSize - 1 : 0;
    if (top) {
      m_rectTabsArea.top = client.top + inset;
      m_rectTabsArea.bottom = m_rectTabsArea.top + e;
    } else {
      m_rectTabsArea.bottom = client.bottom - inset;
      m_rectTabsArea.top = m_rectTabsArea.bottom - e;
    }
    m_rectTabsArea.left += total + 1;
    m_rectTabsArea.right -= 1;
    int buttonHeight = s;
    if (client.Height() < e + m_nBorderSize) {
      m_rectTabsArea.right = m_rectTabsArea.left;
      buttonHeight = 0;
    }
    const int y = m_rectTabsArea.Height() < s ? m_rectTabsArea.top
                                              : m_rectTabsArea.top + (m_rectTabsArea.Height() - s) / 2;
    LayoutButtons(client.left + m_nBorderSize + 1, y, s, buttonHeight, hidden, gap);
  } else {
    if (top)
      m_rectTabsArea.bottom = m_rectTabsArea.top + e;
    else
      m_rectTabsArea.top = m_rectTabsArea.bottom - e;
    if (m_bScrollable) {
      m_rectTabsArea.right -= total;
      if ((m_bSlanted || m_bSlantedCompact || m_bTrapezoid) && !m_bHideOverflow)
        m_rectTabsArea.OffsetRect(s, 0);
      LayoutButtons(m_rectTabsArea.right + 1, m_rectTabsArea.top + (m_rectTabsArea.Height() - s) / 2, s, s,
                    hidden, gap);
    }
  }

  m_rectWndArea = client;
  if (m_nBorderSize > 0) m_rectWndArea.DeflateRect(m_nBorderSize + 1, m_nBorderSize + 1);
  if (top)
    m_rectWndArea.top = m_rectTabsArea.bottom + m_nBorderSize;
  else
    m_rectWndArea.bottom = m_bFlat ? m_rectTabsArea.top : m_rectTabsArea.top - m_nBorderSize;
  if (m_bFlat && m_nBorderSize == 0) {
    m_rectWndArea.left++;
    if (top)
      m_rectWndArea.bottom--;
    else
      m_rectWndArea.top++;
  }
  m_nScrollBarRight = m_rectTabsArea.right - ::GetSystemMetrics(SM_CXVSCROLL);

  if (m_bResizeWnd)
    for (const auto& tab : m_tabs)
      if (tab->m_bVisible && tab->m_pWnd != nullptr && tab->m_pWnd->GetSafeHwnd() != nullptr)
        tab->m_pWnd->SetWindowPos(nullptr, m_rectWndArea.left, m_rectWndArea.top, m_rectWndArea.Width(),
                                  m_rectWndArea.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  LayoutScrollBar();
  AdjustTabs();
  AdjustScrollOffset();
  Redraw(TRUE);
}

void CPlxTabWnd::LayoutButtons(int x, int y, int nWidth, int nHeight, BOOL bHide, int nGap) {
  const BOOL overlapping = m_bSlanted || m_bSlantedCompact || m_bTrapezoid;
  for (size_t i = 0; i < m_buttons.size(); ++i) {
    CWnd* button = CWnd::FromHandle(m_buttons[i]);
    if (button == nullptr) continue;
    const BOOL isClose = m_pBtnClose != nullptr && m_buttons[i] == m_pBtnClose->GetSafeHwnd();
    if (bHide || (isClose && !m_bCloseButton) || (i == 0 && m_bHideOverflow)) {
      button->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (i == 0 && overlapping) {
      // Scroll left sits before the row, the others after it.
      button->SetWindowPos(nullptr, m_rectTabsArea.left - nWidth - 1, y, nWidth, nHeight,
                           SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
      button->SetWindowPos(nullptr, x, y, nWidth, nHeight, SWP_NOZORDER | SWP_NOACTIVATE);
      x += nWidth + nGap;
    }
    button->Invalidate(TRUE);
    button->UpdateWindow();
  }
}

void CPlxTabWnd::AdjustTabs() {
  m_bSomeTabsHidden = FALSE;
  const int visible = GetVisibleTabsNum();
  if (visible == 0 || (IsTabRowHidden() && !m_bSharedScrollBar) || m_nTabsHeight == 0) return;
  if (m_bSharedScrollBar && m_bHideSingleTab && visible <= 1) {
    for (auto& tab : m_tabs) tab->m_rect.SetRectEmpty();
    return;
  }
  const BOOL top = m_location == LOCATION_TOP;
  const CRect& row = m_rectTabsArea;
  const int rowHeight = row.Height();
  const int overlap = GetTabsOverlap();
  const BOOL tips = m_pToolTip && m_pToolTip->GetSafeHwnd() != nullptr;
  const CRect none(0, 0, 0, 0);

  CClientDC dc(this);
  CFont* oldFont = dc.SelectObject(m_bFlat ? &m_fontFlatBold : &g_plxGlobalData.fontRegular);
  auto tabRect = [&](int x, int width) {
    CRect r(x, row.top, x + width, row.bottom - 2);
    if (top) r.OffsetRect(0, 2);
    return r;
  };
  auto naturalWidth = [&](const CPlxTabInfo& tab, int imageWidth) {
    int w = dc.GetTextExtent(tab.m_strLabel).cx + 2 * kTextMargin + kImageMargin + imageWidth;
    if (m_bTrapezoid) w += rowHeight / 2;
    if (m_bSlanted) w += rowHeight + 2 * kTextMargin;
    if (m_bSlantedCompact) w += rowHeight - 4;
    return w;
  };

  int x = row.left - m_nScrollOffset;
  m_nTabsTotalWidth = 0;
  int shown = 0;
  for (int i = 0; i < m_nTabsNum; ++i) {
    CPlxTabInfo& tab = *m_tabs[i];
    const int imageWidth = HasTabImage(i) ? m_sizeImage.cx : 0;
    const int width = tab.m_bVisible ? naturalWidth(tab, imageWidth) : 0;
    tab.m_nWidth = width;
    tab.m_rect = tab.m_bVisible ? tabRect(x, width) : CRect(0, 0, 0, 0);
    if (m_bHideOverflow && tab.m_bVisible && tab.m_rect.right > row.right) {
      if (i == 0 && i == m_iActiveTab && row.right - tab.m_rect.left >= overlap + 8) {
        tab.m_rect.right = row.right;
      } else {
        tab.m_nWidth = 0;
        tab.m_rect.SetRectEmpty();
        m_bSomeTabsHidden = TRUE;
        if (tips) m_pToolTip->SetToolRect(this, tab.m_uiToolId, &none);
        continue;
      }
    }
    if (tips) {
      const BOOL cut = tab.m_bVisible && (tab.m_rect.left < row.left || tab.m_rect.right > row.right);
      m_pToolTip->SetToolRect(this, tab.m_uiToolId, cut ? &tab.m_rect : &none);
    }
    if (!tab.m_bVisible) continue;
    x += width - overlap + 1;
    m_nTabsTotalWidth += width + 1 - (shown > 0 ? overlap : 0);
    ++shown;
    if (m_bFlat) tab.m_rect.right += m_nTabsHeight / 2;
  }

  if (m_bScrollable) {
    m_nTabsTotalWidth += m_nTabsHeight / 2;
  } else if (x <= row.right) {
    m_nTabsTotalWidth += m_nTabsHeight / 2;
  } else {
    // Styles without scrolling shrink the tabs to share the row.
    const int n = visible;
    const int W = row.Width();
    const int imageWidth = m_pImages != nullptr ? m_sizeImage.cx : 0;
    int p = W / n - 1;
    if (m_bTrapezoid) p = std::max((W - rowHeight / 3) / n, imageWidth + rowHeight / 2);
    int pool = 0, remaining = n;
    for (const auto& tab : m_tabs)
      if (tab->m_bVisible && tab->m_nWidth < p) {
        pool += p - tab->m_nWidth;
        --remaining;
      }
    if (remaining > 0) {
      p += pool / remaining;
      x = row.left;
      for (int i = 0; i < m_nTabsNum; ++i) {
        CPlxTabInfo& tab = *m_tabs[i];
        if (!tab.m_bVisible) continue;
        const int ownImage = HasTabImage(i) ? m_sizeImage.cx : 0;
        int w;
        if (p < ownImage + 4)
          w = (W + 2 * m_nBorderSize) / n;
        else if (tab.m_strLabel.IsEmpty())
          w = ownImage + 8;
        else
          w = std::min(p, tab.m_nWidth);
        if (m_bTrapezoid) w += rowHeight / 2 - 1;
        const BOOL narrowed = w < tab.m_nWidth;
        tab.m_rect = tabRect(x, w);
        if (tips) m_pToolTip->SetToolRect(this, tab.m_uiToolId, narrowed ? &tab.m_rect : &none);
        x += w - (m_bTrapezoid ? rowHeight / 2 : 0) + (pool != 0 ? 1 : 0);
      }
    }
  }
  dc.SelectObject(oldFont);
}

void CPlxTabWnd::AdjustScrollOffset() {
  if (!m_bScrollable || GetVisibleTabsNum() == 0) {
    m_nMaxScrollOffset = 0;
    m_nScrollOffset = 0;
    return;
  }
  m_nMaxScrollOffset = std::max(0, m_rectTabsArea.left + m_nTabsTotalWidth - m_rectTabsArea.right);
  const int offset = std::clamp(m_nScrollOffset, 0, m_nMaxScrollOffset);
  if (offset != m_nScrollOffset) {
    m_nScrollOffset = offset;
    AdjustTabs();
    if (GetSafeHwnd() != nullptr) {
      InvalidateRect(m_rectTabsArea, TRUE);
      UpdateWindow();
    }
  }
  UpdateButtons();
}

void CPlxTabWnd::UpdateButtons() {
  if (GetSafeHwnd() == nullptr || !m_bScrollable || m_bFlat) return;
  BOOL left = FALSE, right = FALSE;
  if (!m_bSlanted && !m_bSlantedCompact && !m_bTrapezoid) {
    left = m_nScrollOffset > 0;
    right = m_bHideOverflow || m_nScrollOffset < m_nMaxScrollOffset;
  } else if (m_nTabsNum > 0) {
    left = m_iFirstScrolledTab > 0;
    right = m_bHideOverflow || (m_tabs[m_nTabsNum - 1]->m_rect.right > m_rectTabsArea.right &&
                                m_iFirstScrolledTab < m_nTabsNum - 1);
  }
  if (m_pBtnLeft != nullptr) m_pBtnLeft->EnableWindow(left);
  if (m_pBtnRight != nullptr) {
    m_pBtnRight->EnableWindow(right);
    if (m_bHideOverflow)
      m_pBtnRight->SetStdImage(m_bSomeTabsHidden ? CPlxMenuGlyphs::IdArowShowAll
                                                 : CPlxMenuGlyphs::IdCustomizeMoreVert);
  }
  for (HWND hwnd : m_buttons)
    if (!::IsWindowEnabled(hwnd)) ::SendMessage(hwnd, WM_CANCELMODE, 0, 0);
}

BOOL CPlxTabWnd::EnsureVisible(int iTab) {
  if (iTab < 0 || iTab >= m_nTabsNum) return FALSE;
  const CRect& row = m_rectTabsArea;
  if (!m_bScrollable || row.Width() <= 0) return TRUE;
  CPlxTabInfo& tab = *m_tabs[iTab];
  if (m_bHideOverflow) {
    if (tab.m_rect.left >= row.right || tab.m_rect.IsRectEmpty()) MoveTab(iTab, 0);
    return TRUE;
  }
  const BOOL overlapping = m_bSlanted || m_bSlantedCompact || m_bTrapezoid;
  if (tab.m_rect.left < row.left) {
    m_nScrollOffset -= row.left - tab.m_rect.left;
    if (overlapping) m_iFirstScrolledTab = iTab;
  } else if (tab.m_rect.right > row.right && tab.m_rect.Width() <= row.Width()) {
    if (!overlapping) {
      m_nScrollOffset += tab.m_rect.right - row.right;
    } else {
      while (tab.m_rect.right > row.right) {
        if (m_iFirstScrolledTab >= m_nTabsNum) return FALSE;
        const int step = m_tabs[m_iFirstScrolledTab]->m_nWidth - row.Height() + 4 + 1;
        m_nScrollOffset += step;
        tab.m_rect.OffsetRect(-step, 0);
        ++m_iFirstScrolledTab;
      }
    }
  } else {
    return TRUE;
  }
  AdjustTabs();
  AdjustScrollOffset();
  Redraw(FALSE);
  return TRUE;
}

void CPlxTabWnd::ScrollBy(BOOL bRight) {
  const BOOL overlapping = m_bSlanted || m_bSlantedCompact || m_bTrapezoid;
  const int h = m_rectTabsArea.Height();
  if (!bRight) {
    if (overlapping) {
      if (m_iFirstScrolledTab > 0) {
        m_nScrollOffset -= m_tabs[m_iFirstScrolledTab - 1]->m_nWidth - h + 4 + 2;
        --m_iFirstScrolledTab;
      }
    } else {
      m_nScrollOffset -= 20;
    }
  } else if (overlapping) {
    if (m_iFirstScrolledTab < m_nTabsNum - 1) {
      m_nScrollOffset += m_tabs[m_iFirstScrolledTab]->m_nWidth - h + 4 + 1;
      ++m_iFirstScrolledTab;
    }
  } else {
    m_nScrollOffset += 20;
  }
}

BOOL CPlxTabWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  const HWND from = reinterpret_cast<HWND>(lParam);
  auto is = [from](CPlxTabButton* b) { return b != nullptr && from != nullptr && b->GetSafeHwnd() == from; };
  const int before = m_nScrollOffset;
  if (is(m_pBtnLeft)) {
    ScrollBy(FALSE);
  } else if (is(m_pBtnRight)) {
    if (m_bHideOverflow) {
      CRect rect;
      m_pBtnRight->GetWindowRect(rect);
      m_pBtnRight->ShowPressed(TRUE);
      ShowTabsMenu(rect.left, rect.bottom);
      m_pBtnRight->ShowPressed(FALSE);
      return TRUE;
    }
    ScrollBy(TRUE);
  } else if (is(m_pBtnFirst)) {
    m_nScrollOffset = 0;
  } else if (is(m_pBtnLast)) {
    m_nScrollOffset = m_nMaxScrollOffset;
  } else if (is(m_pBtnClose)) {
    if (CWnd* wnd = GetActiveWnd(); wnd != nullptr && wnd->GetSafeHwnd() != nullptr)
      wnd->SendMessage(WM_CLOSE);
    return TRUE;
  } else {
    return CWnd::OnCommand(wParam, lParam);
  }
  m_nScrollOffset = std::max(0, m_nScrollOffset);
  if (!m_bSlanted && !m_bSlantedCompact && !m_bTrapezoid)
    m_nScrollOffset = std::min(m_nScrollOffset, m_nMaxScrollOffset);
  if (m_nScrollOffset != before) {
    AdjustTabs();
    UpdateButtons();
    Redraw(TRUE);
  }
  return TRUE;
}

// ---- Painting.

void CPlxTabWnd::DrawTab(CDC* pDC, CPlxTabInfo* pTab, BOOL bActive) {
  if ((m_bSlanted || m_bSlantedCompact || m_bTrapezoid) && pTab->m_rect.left < m_rectTabsArea.left) return;
  if (!pTab->m_bVisible) return;
  CRect common;
  if (!m_rectClipBox.IsRectEmpty() && !common.IntersectRect(pTab->m_rect, m_rectClipBox)) return;
  CPlxVisualManager::GetInstance()->OnDrawTab(pDC, pTab->m_rect, m_iDrawingTab, bActive, this);
}

void CPlxTabWnd::DrawFlatTab(CDC* pDC, CPlxTabInfo* pTab, BOOL bActive) {
  if (!pTab->m_bVisible) return;
  CPlxVisualManager::GetInstance()->OnDrawTab(pDC, pTab->m_rect, m_iDrawingTab, bActive, this);
}

void CPlxTabWnd::DrawFlatArrow(CDC* pDC, int nLeft, int nTop, int nBottom, int nSize) {
  if (!m_bFlat) return;
  POINT pts[3];
  if (m_location == LOCATION_TOP) {
    pts[0] = {nLeft, nTop};
    pts[1] = {nLeft + nSize, nTop};
    pts[2] = {nLeft + nSize / 2, nBottom - nSize};
  } else {
    pts[0] = {nLeft, nBottom};
    pts[1] = {nLeft + nSize, nBottom};
    pts[2] = {nLeft + nSize / 2, nTop + nSize};
  }
  HGDIOBJ was = ::SelectObject(pDC->GetSafeHdc(), ::GetStockObject(BLACK_BRUSH));
  pDC->Polygon(pts, 3);
  ::SelectObject(pDC->GetSafeHdc(), was);
}

void CPlxTabWnd::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(client);
  CRect clip;
  paint.GetClipBox(clip);
  m_rectClipBox = clip;
  CDC mem;
  CBitmap bitmap;
  CDC* dc = &paint;
  CBitmap* oldBitmap = nullptr;
  if (mem.CreateCompatibleDC(&paint) &&
      bitmap.CreateCompatibleBitmap(&paint, client.Width(), client.Height())) {
    oldBitmap = mem.SelectObject(&bitmap);
    dc = &mem;
  }
  Paint(dc);
  if (dc == &mem) {
    // The window area is the tabs' windows' own: where they are siblings (the MDI client) rather
    // than children, the buffer's unpainted pixels there would cover them.
    paint.ExcludeClipRect(m_rectWndArea);
    if (!clip.IsRectEmpty())
      paint.BitBlt(clip.left, clip.top, clip.Width(), clip.Height(), &mem, clip.left, clip.top, SRCCOPY);
    mem.SelectObject(oldBitmap);
  }
  m_rectClipBox.SetRectEmpty();
}

void CPlxTabWnd::Paint(CDC* pDC) {
  CPlxVisualManager* vm = CPlxVisualManager::GetInstance();
  CRect client;
  GetClientRect(client);
  const BOOL top = m_location == LOCATION_TOP;
  const BOOL rowShown = !IsTabRowHidden();
  const int saved = pDC->SaveDC();

  COLORREF clrDark, clrBlack, clrHighlight, clrFace, clrDarkShadow, clrLight;
  CBrush *pbrFace = nullptr, *pbrBlack = nullptr;
  vm->GetTabFrameColors(this, clrDark, clrBlack, clrHighlight, clrFace, clrDarkShadow, clrLight, pbrFace,
                        pbrBlack);
  pDC->SelectObject(pbrFace);
  CPen penDark, penBlack, penHilite;
  penDark.CreatePen(PS_SOLID, 1, clrDark);
  penBlack.CreatePen(PS_SOLID, 1, clrBlack);
  penHilite.CreatePen(PS_SOLID, 1, clrHighlight);
  pDC->SelectObject(&penDark);

  pDC->ExcludeClipRect(m_rectWndArea);
  const BOOL painted = vm->OnEraseTabsFrame(pDC, client, this);
  CRect band = client;
  if (top)
    band.bottom = m_rectTabsArea.bottom;
  else
    band.top = m_rectTabsArea.top;
  vm->OnEraseTabsArea(pDC, band, this);

  if (m_nBorderSize > 0) {
    const int edge = top ? m_rectTabsArea.bottom : m_rectTabsArea.top;
    CRect frame = client;
    if (!m_bFlat) {
      if (top)
        frame.top = edge;
      else
        frame.bottom = edge;
    } else if (top) {
      frame.top = edge - 1;
    } else {
      frame.bottom = edge + 1;
    }
    auto fillStrips = [&](const CRect& r) {
      const int b = m_nBorderSize;
      pDC->FillRect(CRect(r.left, r.top, r.left + b, r.bottom), pbrFace);
      pDC->FillRect(CRect(r.left, r.top, r.right, r.top + b), pbrFace);
      pDC->FillRect(CRect(r.right - b - 1, r.top, r.right, r.bottom), pbrFace);
      pDC->FillRect(CRect(r.left, r.bottom - b, r.right, r.bottom), pbrFace);
      if (top)
        pDC->FillRect(CRect(r.left, r.top, r.right, m_rectWndArea.top), pbrFace);
      else
        pDC->FillRect(CRect(r.left, m_rectWndArea.bottom, r.right, r.bottom), pbrFace);
    };
    auto flatEdgeLine = [&](const CRect& r) {
      if (!m_bFlat) return;
      pDC->SelectObject(&penBlack);
      pDC->MoveTo(r.left + m_nBorderSize, edge);
      pDC->LineTo(r.right - m_nBorderSize, edge);
      pDC->SelectObject(&penDark);
    };
    if (m_bDrawFrame) {
      CRect inner = frame;
      inner.DeflateRect(1, 1);
      if (!painted && !inner.IsRectEmpty()) fillStrips(inner);
      flatEdgeLine(inner);
      pDC->Draw3dRect(frame, clrFace, clrFace);
      if (rowShown && m_nTabsHeight > 0) {
        pDC->Draw3dRect(frame, clrDark, clrDark);
        if (!m_bSlanted) {
          if (top) {
            pDC->SelectObject(&penHilite);
            pDC->MoveTo(frame.left, frame.top);
            pDC->LineTo(frame.right, frame.top);
          } else {
            pDC->SelectObject(&penBlack);
            pDC->MoveTo(frame.left, frame.bottom - 1);
            pDC->LineTo(frame.right - 1, frame.bottom - 1);
          }
          pDC->SelectObject(&penDark);
        }
      }
    } else {
      CRect r = frame;
      pDC->Draw3dRect(r, clrHighlight, clrDarkShadow);
      r.DeflateRect(1, 1);
      pDC->Draw3dRect(r, clrLight, clrDark);
      if (!painted) {
        fillStrips(frame);
        flatEdgeLine(frame);
        CRect sunken = m_rectWndArea;
        sunken.InflateRect(2, 2);
        pDC->Draw3dRect(sunken, clrDarkShadow, clrHighlight);
      }
    }
  } else {
    CRect r = client;
    if (top)
      r.top = m_rectTabsArea.bottom;
    else
      r.bottom = m_rectTabsArea.top;
    pDC->FrameRect(r, m_bFlat ? pbrBlack : pbrFace);
  }

  if (m_bOutlineClient && top) {
    pDC->SelectObject(&penDark);
    pDC->MoveTo(client.left, m_rectTabsArea.bottom);
    pDC->LineTo(client.left, client.top);
    pDC->LineTo(client.right - 1, client.top);
    pDC->LineTo(client.right - 1, m_rectTabsArea.bottom);
  }

  pDC->SelectObject(m_bFlat ? &m_fontFlat : &g_plxGlobalData.fontRegular);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(g_plxGlobalData.clrBtnText);

  if (m_rectTabsArea.Width() > 5 && m_rectTabsArea.Height() > 5) {
    CRect rowClip = m_rectTabsArea;
    rowClip.InflateRect(1, m_nBorderSize);
    CRgn rgn;
    rgn.CreateRectRgnIndirect(rowClip);
    pDC->SelectClipRgn(&rgn, RGN_AND);
    if (m_bFlat) pDC->SelectObject(&penBlack);
    for (int i = m_nTabsNum - 1; i >= 0; --i) {
      if (i == m_iActiveTab || !m_tabs[i]->m_bVisible) continue;
      m_iDrawingTab = i;
      if (m_bFlat)
        DrawFlatTab(pDC, m_tabs[i].get(), FALSE);
      else
        DrawTab(pDC, m_tabs[i].get(), FALSE);
    }
    if (m_iActiveTab >= 0 && m_tabs[m_iActiveTab]->m_bVisible) {
      CPlxTabInfo* active = m_tabs[m_iActiveTab].get();
      m_iDrawingTab = m_iActiveTab;
      pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
      if (m_bFlat) {
        pDC->SelectObject(&m_brActiveTab);
        pDC->SelectObject(&m_fontFlatBold);
        pDC->SelectObject(&penBlack);
        DrawFlatTab(pDC, active, TRUE);
        CPen penWindow;
        penWindow.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_WINDOW));
        pDC->SelectObject(&penWindow);
        const int y = top ? active->m_rect.bottom : active->m_rect.top;
        pDC->MoveTo(std::max(active->m_rect.left + 1, m_rectTabsArea.left + 1), y);
        pDC->LineTo(active->m_rect.right, y);
        pDC->SelectObject(&penDark);
      } else {
        DrawTab(pDC, active, TRUE);
      }
    }
    m_iDrawingTab = -1;
    pDC->SelectClipRgn(nullptr);
  }

  if (m_bSharedScrollBar && !m_rectSplitter.IsRectEmpty()) {
    pDC->FillRect(m_rectSplitter, pbrFace);
    CRect r = m_rectSplitter;
    pDC->Draw3dRect(r, clrLight, clrDarkShadow);
    r.DeflateRect(1, 1);
    pDC->Draw3dRect(r, clrHighlight, clrDark);
  }
  if (m_bFlat && m_nScrollOffset > 0) {
    pDC->SelectObject(&penDark);
    const int x = m_rectTabsArea.left - 1;
    if (top) {
      pDC->MoveTo(x, m_rectTabsArea.top);
      pDC->LineTo(x, m_rectTabsArea.bottom - 2);
    } else {
      pDC->MoveTo(x, m_rectTabsArea.bottom);
      pDC->LineTo(x, m_rectTabsArea.top + 2);
    }
  }
  pDC->RestoreDC(saved);
}
