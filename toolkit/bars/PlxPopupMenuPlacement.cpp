// Where a popup menu goes on the work area and how tall it may be.
#include <algorithm>

#include "platform/comctl/AfxControls.h"
#include "platform/comctl/Tooltip.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Metrics.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManager.h"

namespace {

constexpr UINT kTearOffTipId = 16028;  // the tear-off caption's tooltip

}  // namespace

void PlxPlacePopup(PlxPopupPlacement& p) {
  const CRect& w = p.rectWork;
  int x = p.ptLocation.x;
  int y = p.ptLocation.y;
  int cx = p.size.cx;
  int cy = p.size.cy;
  int direction = p.nDirection;
  p.bScrollable = FALSE;
  p.bAnimFromLeft = TRUE;
  p.bAnimFromTop = TRUE;

  // A right-aligned popup whose right edge is too near the left edge does not fit either.
  const BOOL rightAlignedOut = p.bRightAlign && !p.bRTL && x < w.left;
  x = std::clamp<int>(x, w.left, w.right);
  if (!p.bHasParentItem) y = std::clamp<int>(y, w.top, w.bottom);

  const BOOL flip = p.bRTL || p.bRightAlign;
  if ((p.bRTL && x - cx < w.left) || (!flip && x + cx > w.right) || rightAlignedOut) {
    if (p.bSubMenu) {
      x = p.bRTL ? p.rectParentPopup.right + cx : p.rectParentPopup.left - cx;
      direction = p.bRTL ? 3 : 4;
    } else if (!p.bParentBar || p.bParentBarHorz) {
      x = p.bRTL ? w.left + cx + 1 : (p.bRightAlign ? w.left + 1 : w.right - cx - 1);
      direction = 0;
    } else {
      x = p.bRTL ? p.rectItem.right + cx : p.rectItem.left - cx;
      direction = 4;
    }
    const BOOL outside = p.bRTL ? (x > w.right || x - cx < w.left) : (x < w.left || x + cx > w.right);
    if (outside) {
      x = p.bRTL ? std::min<int>(x, w.right) : std::max<int>(x, w.left);
      direction = 0;
    }
    if (p.bUnfold) p.bAnimFromLeft = FALSE;
  }

  if (y + cy > w.bottom) {
    p.bAnimFromTop = FALSE;
    if (p.bHasParentItem && p.bParentBar && !p.bParentBarIsPopup) {
      const int above = p.rectItem.top - cy;
      if (above < w.top) {
        // Neither side holds it: the larger one does, scrolling.
        if (w.bottom - p.rectItem.bottom < p.rectItem.top - w.top) {
          y = w.top;
          cy = p.rectItem.top - w.top;
          direction = 0;
        } else {
          cy = w.bottom - y;
          p.bAnimFromTop = TRUE;
        }
        p.bScrollable = TRUE;
      } else {
        y = above;
        direction = p.bParentBarHorz ? 2 : 0;
      }
    } else {
      y -= cy;
      if (p.bSubMenu) y += p.nParentRowHeight + 2 * p.nBorder;
    }
    if (y < w.top) {
      y = w.top;
      direction = 0;
    }
    if (y + cy > w.bottom) {
      cy = w.bottom - y;
      p.bScrollable = TRUE;
    }
  }

  if (y < w.top) {
    if (!p.bItemWndExists || p.bSubMenu) {
      y = w.top;
    } else {
      y = p.rectItem.bottom;
      direction = p.bParentBarHorz ? 1 : 0;
    }
    if (y + cy > w.bottom) {
      y = w.top;
      if (cy > w.Height()) {
        cy = w.Height();
        p.bScrollable = TRUE;
      }
      direction = 0;
    }
  }

  p.pt = CPoint(x, y);
  p.size = CSize(cx, cy);
  p.nDirection = direction;
}

void CPlxPopupMenu::RecalcLayout(BOOL) {
  CPlxPopupMenuBar* bar = GetMenuBar();
  if (GetSafeHwnd() == nullptr || bar == nullptr || bar->GetSafeHwnd() == nullptr) return;
  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  const int border = manager->GetPopupMenuBorderSize();

  PlxPopupPlacement p;
  ::SystemParametersInfo(SPI_GETWORKAREA, 0, &p.rectWork, 0);
  p.ptLocation = m_ptLocation;
  p.ptRequested = m_ptRequested;
  p.bRTL = (GetExStyle() & WS_EX_LAYOUTRTL) != 0;
  p.bRightAlign = m_bRightAlign;
  p.bHasParentItem = m_pParentBtn != nullptr;
  p.nBorder = border;
  p.bUnfold = GetAnimationType() == Unfold;
  p.nDirection = m_nDropDirection;

  CSize size = bar->CalcSize(TRUE);
  size.cx += 2 * border;
  size.cy += 2 * border;
  if (m_nLogoLocation >= 2)
    size.cy += m_nLogoSize;
  else
    size.cx += m_nLogoSize;

  const BOOL tearOff =
      m_pParentBtn != nullptr && m_pParentBtn->IsTearOffMenu() && !CPlxToolBar::m_bCustomizeMode;
  if (m_pMenuPage != nullptr) {
    size.cy += ::GetSystemMetrics(SM_CYSMCAPTION) + 2 * ::GetSystemMetrics(SM_CYBORDER) + 5;
  } else if (tearOff) {
    m_rectTearOffCaption = CRect(border, border, size.cx - border, border + 10);
    size.cy += 10;
    if (m_pToolTip == nullptr && !CPlxToolBar::m_bCustomizeMode) {
      m_pToolTip = new CToolTipCtrl;
      if (m_pToolTip->Create(this)) {
        m_pToolTip->Activate(TRUE);
        if (g_plxGlobalData.nMaxToolTipWidth != -1)
          m_pToolTip->SetMaxTipWidth(g_plxGlobalData.nMaxToolTipWidth);
        m_pToolTip->AddTool(this, kTearOffTipId, m_rectTearOffCaption, 1);
      }
    }
  }
  p.size = size;

  CPlxPopupMenu* parentPopup = GetParentPopupMenu();
  p.bSubMenu = parentPopup != nullptr;
  if (m_pParentBtn != nullptr && m_pParentBtn->m_pWndParent != nullptr &&
      m_pParentBtn->m_pWndParent->GetSafeHwnd() != nullptr) {
    CWnd* itemBar = m_pParentBtn->m_pWndParent;
    p.bItemWndExists = TRUE;
    p.rectItem = m_pParentBtn->m_rect;
    itemBar->ClientToScreen(&p.rectItem);
    if (auto* toolBar = dynamic_cast<CPlxToolBar*>(itemBar); toolBar != nullptr) {
      p.bParentBar = TRUE;
      p.bParentBarIsPopup = toolBar->IsKindOf(RUNTIME_CLASS(CPlxPopupMenuBar));
      p.bParentBarHorz = toolBar->IsHorizontal();
      p.nParentRowHeight = toolBar->GetRowHeight();
    }
  }
  if (parentPopup != nullptr && parentPopup->GetSafeHwnd() != nullptr)
    parentPopup->GetWindowRect(&p.rectParentPopup);

  PlxPlacePopup(p);
  m_ptLocation = p.pt;
  m_nDropDirection = p.nDirection;
  m_bAnimFromLeft = p.bAnimFromLeft;
  m_bAnimFromTop = p.bAnimFromTop;
  m_bScrollable = p.bScrollable;
  m_sizeFinal = p.size;

  CSize window = m_sizeFinal;
  if (!CPlxToolBar::m_bCustomizeMode) window += CSize(m_nShadowSize, m_nShadowSize);
  if (m_pMenuPage != nullptr) {
    SetWindowPos(nullptr, 0, 0, window.cx, window.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    const int left = p.bRTL ? p.pt.x - window.cx : p.pt.x;
    SetWindowPos(nullptr, left, p.pt.y, window.cx, window.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (CPlxToolBar::m_bCustomizeMode) bar->AdjustLocations();

  // The opening item repaints where the new shadow falls on it.
  if (m_nShadowSize > 0 && !CPlxToolBar::m_bCustomizeMode && p.bItemWndExists) {
    const BOOL shown = m_bShown;
    m_bShown = TRUE;
    CRect windowRect;
    GetWindowRect(&windowRect);
    const int s = m_nShadowSize;
    CRect side =
        p.bRTL ? CRect(windowRect.left - s - 1, windowRect.top, windowRect.left - 1, windowRect.bottom)
               : CRect(windowRect.right + 1, windowRect.top, windowRect.right + s + 1, windowRect.bottom);
    CRect bottom(windowRect.left, windowRect.bottom + 1, windowRect.right, windowRect.bottom + s + 1);
    CWnd* itemBar = m_pParentBtn->m_pWndParent;
    for (CRect strip : {side, bottom}) {
      itemBar->ScreenToClient(&strip);
      CRect meet;
      if (meet.IntersectRect(strip, m_pParentBtn->m_rect)) {
        itemBar->InvalidateRect(m_pParentBtn->m_rect);
        itemBar->UpdateWindow();
      }
    }
    m_bShown = shown;
  }
}

void CPlxPopupMenu::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  CPlxPopupMenuBar* bar = GetMenuBar();
  if (bar != nullptr && bar->GetSafeHwnd() != nullptr) AdjustScrollButtons(TRUE);
  if (m_nLogoSize > 0) {
    const int border = CPlxVisualManager::GetInstance()->GetPopupMenuBorderSize();
    CRect client;
    GetClientRect(client);
    const CRect logo = LogoRect(client, m_nLogoSize + border);
    InvalidateRect(logo);
    UpdateWindow();
  }
}
