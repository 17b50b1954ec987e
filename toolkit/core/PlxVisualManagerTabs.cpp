// The classic 3D drawing of tab windows, status-bar panes, header controls, the tasks pane, scroll
// and spin buttons.
#include <algorithm>
#include <vector>

#include "platform/comctl/AfxImageList.h"
#include "platform/comctl/ImageList.h"
#include "platform/gdi/Gdi.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/StatusBar.h"
#include "platform/user/Paint.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxButton.h"
#include "toolkit/core/PlxDrawHelper.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxHeaderCtrl.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/customize/PlxTabWnd.h"
#include "toolkit/customize/PlxTaskRecords.h"

namespace {

void Glyph(CDC* pDC, int nGlyph, const CRect& rect) {
  CPlxMenuGlyphs::Draw(pDC, nGlyph, rect, CSize(0, 0));
}

void Frame(CDC* pDC, const CRect& rect, COLORREF clr) {
  pDC->Draw3dRect(rect, clr, clr);
}

void Line(CDC* pDC, CPen* pen, int x1, int y1, int x2, int y2) {
  CPen* old = pDC->SelectObject(pen);
  pDC->MoveTo(x1, y1);
  pDC->LineTo(x2, y2);
  pDC->SelectObject(old);
}

}  // namespace

// ---- Status bars.

COLORREF CPlxVisualManager::GetStatusBarPaneTextColor(CPlxStatusBar*, CPlxStatusBarPaneInfo* pPane) {
  if (pPane->nStyle & SBPS_DISABLED) return g_plxGlobalData.clrGrayedText;
  return pPane->clrText == (COLORREF)-1 ? g_plxGlobalData.clrBtnText : pPane->clrText;
}

void CPlxVisualManager::OnDrawStatusBarPaneBorder(CDC* pDC, CPlxStatusBar*, CRect rect, UINT, UINT nStyle) {
  if (nStyle & SBPS_NOBORDERS) return;
  const PlxGlobalData& g = g_plxGlobalData;
  if (nStyle & SBPS_POPOUT)
    pDC->Draw3dRect(rect, g.clrBarHilite, g.clrBarShadow);
  else
    pDC->Draw3dRect(rect, g.clrBarShadow, g.clrBarHilite);
}

void CPlxVisualManager::OnDrawStatusBarProgress(CDC* pDC, CPlxStatusBar*, CRect rect, int nTotal, int nCurr,
                                                COLORREF clrBar, COLORREF clrEnd, COLORREF clrText,
                                                BOOL bText) {
  if (nTotal == 0) return;
  // A current value past the total fills the pane, never beyond it.
  nCurr = std::clamp(nCurr, 0, nTotal);
  CRect complete = rect;
  complete.right = complete.left + rect.Width() * nCurr / nTotal;
  if (clrEnd == (COLORREF)-1) {
    CBrush brush;
    brush.CreateSolidBrush(clrBar);
    pDC->FillRect(complete, &brush);
  } else {
    CPlxDrawHelper helper(pDC);
    helper.FillGradient(complete, clrBar, clrEnd, FALSE, 0, 0);
  }
  if (!bText) return;
  CString text;
  text.Format("%d%%", nCurr * 100 / nTotal);
  const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
  const COLORREF old = pDC->SetTextColor(g_plxGlobalData.clrBtnText);
  const int mode = pDC->SetBkMode(TRANSPARENT);
  pDC->DrawText(text, rect, format);
  CRgn clip;
  clip.CreateRectRgnIndirect(complete);
  pDC->SelectClipRgn(&clip);
  pDC->SetTextColor(clrText == (COLORREF)-1 ? GetSysColor(COLOR_HIGHLIGHTTEXT) : clrText);
  pDC->DrawText(text, rect, format);
  pDC->SelectClipRgn(nullptr);
  pDC->SetBkMode(mode);
  pDC->SetTextColor(old);
}

void CPlxVisualManager::OnDrawStatusBarSizeBox(CDC* pDC, CPlxStatusBar* pBar, CRect rect) {
  if (m_pfGetWindowTheme != nullptr && pBar != nullptr &&
      m_pfGetWindowTheme(pBar->GetSafeHwnd()) != nullptr && DrawThemed(m_hThemeScrollBar, pDC, 10, 1, rect))
    return;
  CFont* font = pDC->SelectObject(&g_plxGlobalData.fontMarlett);
  const COLORREF color = pDC->SetTextColor(g_plxGlobalData.clrBtnShadow);
  const UINT align = pDC->SetTextAlign(TA_RIGHT | TA_BOTTOM);
  const int mode = pDC->SetBkMode(TRANSPARENT);
  const BOOL rtl = pBar != nullptr && (pBar->GetExStyle() & WS_EX_LAYOUTRTL) != 0;
  pDC->ExtTextOut(rect.right, rect.bottom, ETO_CLIPPED, rect, rtl ? "x" : "o", 1, nullptr);
  pDC->SetBkMode(mode);
  pDC->SetTextAlign(align);
  pDC->SetTextColor(color);
  pDC->SelectObject(font);
}

// ---- Tab windows.

void CPlxVisualManager::OnEraseTabsArea(CDC* pDC, CRect rect, const CPlxTabWnd*) {
  pDC->FillRect(rect, &g_plxGlobalData.brBarFace);
}

void CPlxVisualManager::OnFillTab(CDC* pDC, CRect rect, CBrush* pbrFill, int iTab, BOOL bActive,
                                  const CPlxTabWnd* pTabWnd) {
  const PlxGlobalData& g = g_plxGlobalData;
  if (bActive && (pTabWnd->IsSlantedStyle() || pTabWnd->IsCompactSlantedStyle() || pTabWnd->IsTrapezoidStyle()) &&
      pTabWnd->GetTabBkColor(iTab) == (COLORREF)-1 && !g.bIsBlackHighContrast && !g.bIsWhiteHighContrast) {
    pDC->FillRect(rect, &g_plxGlobalData.brWindow);
    return;
  }
  if (pbrFill != nullptr) pDC->FillRect(rect, pbrFill);
}

BOOL CPlxVisualManager::OnEraseTabsFrame(CDC* pDC, CRect rect, const CPlxTabWnd* pTabWnd) {
  const COLORREF clr = pTabWnd->GetTabBkColor(pTabWnd->GetActiveTab());
  if (clr == (COLORREF)-1) return FALSE;
  pDC->FillSolidRect(rect, clr);
  return TRUE;
}

void CPlxVisualManager::GetTabFrameColors(const CPlxTabWnd* pTabWnd, COLORREF& clrDark, COLORREF& clrBlack,
                                          COLORREF& clrHighlight, COLORREF& clrFace, COLORREF& clrDarkShadow,
                                          COLORREF& clrLight, CBrush*& pbrFace, CBrush*& pbrBlack) {
  PlxGlobalData& g = g_plxGlobalData;
  const COLORREF active = pTabWnd->GetTabBkColor(pTabWnd->GetActiveTab());
  clrFace = pTabWnd->IsSlantedStyle() && active != (COLORREF)-1 ? active : g.clrBarFace;
  clrDark = g.clrBarShadow;
  clrBlack = g.clrBarText;
  clrHighlight = pTabWnd->IsCompactSlantedStyle() ? g.clrBarShadow : g.clrBarHilite;
  clrDarkShadow = g.clrBarDkShadow;
  clrLight = g.clrBarLight;
  pbrFace = &g.brBarFace;
  pbrBlack = &g.brBtnDkShadow;
}

void CPlxVisualManager::OnEraseTabsButton(CDC* pDC, CRect rect, CPlxButton*, const CPlxTabWnd*) {
  pDC->FillRect(rect, &g_plxGlobalData.brBarFace);
}

void CPlxVisualManager::OnDrawTabsButtonBorder(CDC* pDC, CRect& rect, CPlxButton* pButton, UINT uiState,
                                               const CPlxTabWnd*) {
  const PlxGlobalData& g = g_plxGlobalData;
  if ((pButton->IsPushed() && pButton->IsHighlighted()) || (uiState & ODS_SELECTED)) {
    pDC->Draw3dRect(rect, g.clrBtnDkShadow, g.clrBtnHilite);
    rect.left += 2;
    rect.top += 2;
  } else {
    pDC->Draw3dRect(rect, g.clrBtnHilite, g.clrBtnDkShadow);
  }
  rect.DeflateRect(2, 2);
}

void CPlxVisualManager::OnDrawTabContent(CDC* pDC, CRect rectTab, int iTab, BOOL, const CPlxTabWnd* pTabWnd,
                                         COLORREF clrText) {
  CString label;
  pTabWnd->GetTabLabel(iTab, label);
  const UINT noPrefix = pTabWnd->m_bLabelNoPrefix ? DT_NOPREFIX : 0;
  const int mode = pDC->SetBkMode(TRANSPARENT);
  if (pTabWnd->IsFlatTab()) {
    pDC->DrawText(label, rectTab, DT_CENTER | DT_VCENTER | DT_SINGLELINE | noPrefix);
    pDC->SetBkMode(mode);
    return;
  }
  const int w = pTabWnd->HasTabImage(iTab) ? pTabWnd->GetImageSize().cx : 0;
  if (rectTab.Width() < 4 + w) {
    pDC->SetBkMode(mode);
    return;
  }
  if (w > 0) {
    const CSize size = pTabWnd->GetImageSize();
    pTabWnd->GetImageList()->Draw(pDC, pTabWnd->GetTabIcon(iTab),
                                  CPoint(rectTab.left + 4, rectTab.top + (rectTab.Height() - size.cy) / 2),
                                  ILD_TRANSPARENT);
  }
  CRect rectText = rectTab;
  rectText.left += w + 6;
  COLORREF old = (COLORREF)-1;
  if (clrText != (COLORREF)-1) old = pDC->SetTextColor(clrText);
  UINT format = DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | noPrefix;
  if (pTabWnd->IsSlantedStyle() || pTabWnd->IsCompactSlantedStyle()) format |= DT_CENTER;
  pDC->DrawText(label, rectText, format);
  if (clrText != (COLORREF)-1) pDC->SetTextColor(old);
  pDC->SetBkMode(mode);
}

void CPlxVisualManager::OnDrawTab(CDC* pDC, CRect rectTab, int iTab, BOOL bActive,
                                  const CPlxTabWnd* pTabWnd) {
  const PlxGlobalData& g = g_plxGlobalData;
  const COLORREF c = pTabWnd->GetTabBkColor(iTab);
  CRect rectClip;
  pDC->GetClipBox(rectClip);
  const BOOL bottom = pTabWnd->GetLocation() == CPlxTabWnd::LOCATION_BOTTOM;
  const int L = rectTab.left, T = rectTab.top, R = rectTab.right, B = rectTab.bottom;

  auto drawContent = [&](CRect rectContent) {
    COLORREF old = (COLORREF)-1;
    const COLORREF own = pTabWnd->GetTabTextColor(iTab);
    if (!bActive && own != (COLORREF)-1) old = pDC->SetTextColor(own);
    CRgn clip;
    clip.CreateRectRgnIndirect(rectClip);
    pDC->SelectClipRgn(&clip);
    OnDrawTabContent(pDC, rectContent, iTab, bActive, pTabWnd, (COLORREF)-1);
    pDC->SelectClipRgn(nullptr);
    if (old != (COLORREF)-1) pDC->SetTextColor(old);
  };

  if (pTabWnd->IsFlatTab()) {
    const BOOL strip =
        pTabWnd->m_bScrollable || !((pTabWnd->m_bHideSingleTab && pTabWnd->GetVisibleTabsNum() <= 1) ||
                                (pTabWnd->m_bHideNoTabs && pTabWnd->GetVisibleTabsNum() == 0));
    const int d = strip ? pTabWnd->m_nButtonsHeight / 2 : 0;
    POINT pts[4];
    CRect content = rectTab;
    if (bottom) {
      pts[0] = {L, T};
      pts[1] = {L + d, B - 1};
      pts[2] = {R - d, B - 1};
      pts[3] = {R, T};
      content.bottom = B - 1;
    } else {
      pts[0] = {L + d, T + 1};
      pts[1] = {L, B};
      pts[2] = {R, B};
      pts[3] = {R - d, T + 1};
      content.top = T + 1;
      content.left = L + 2;
    }
    if (!bActive && c != (COLORREF)-1) {
      CBrush brush;
      brush.CreateSolidBrush(c);
      CBrush* old = pDC->SelectObject(&brush);
      pDC->Polygon(pts, 4);
      pDC->SelectObject(old);
    } else {
      pDC->Polygon(pts, 4);
    }
    drawContent(content);
    return;
  }

  CPen penHilite, penShadow, penDark;
  penHilite.CreatePen(PS_SOLID, 1, g.clrBarHilite);
  penShadow.CreatePen(PS_SOLID, 1, g.clrBarShadow);
  penDark.CreatePen(PS_SOLID, 1, g.clrBarDkShadow);
  CPen* oldPen = pDC->GetCurrentPen();

  CRect content = rectTab;
  if (pTabWnd->IsTrapezoidStyle()) {
    std::vector<POINT> left{{L, T}, {L, T + 2}}, right;
    std::vector<POINT> rightTail{{R, T + 2}, {R, T}};
    int xl = L + 1, xr = R - 1, y = T + 2;
    while (y < B - 4) {
      left.push_back({xl, y});
      left.push_back({xl, y + 2});
      right.push_back({xr, y});
      right.push_back({xr, y + 2});
      ++xl;
      --xr;
      y += 2;
    }
    if (!bottom) {
      --xl;
      ++xr;
    }
    const int contentLeft = xl - 1, contentRight = xr + 1;
    while (y < B - 1) {
      left.push_back({xl, y});
      left.push_back({xl + 1, y + 1});
      right.push_back({xr, y});
      right.push_back({xr - 1, y + 1});
      if (y == B - 2) {
        left.push_back({xl + 1, y + 1});
        left.push_back({xl + 3, y + 1});
        right.push_back({xr, y + 1});
        right.push_back({xr - 2, y + 1});
      }
      ++xl;
      --xr;
      ++y;
    }
    left.push_back({xl + 2, B});
    // The right chain runs bottom to top: its head (xr - 2, B), then its steps in reverse.
    std::vector<POINT> pts = left;
    pts.push_back({xr - 2, B});
    for (size_t i = right.size(); i > 0; --i) pts.push_back(right[i - 1]);
    pts.insert(pts.end(), rightTail.begin(), rightTail.end());
    if (!bottom)
      for (POINT& p : pts) p.y = T + B - p.y;
    CRgn rgn;
    rgn.CreatePolygonRgn(pts.data(), static_cast<int>(pts.size()), WINDING);
    pDC->SelectClipRgn(&rgn);
    CBrush brush;
    brush.CreateSolidBrush(c == (COLORREF)-1 ? g.clrBtnFace : c);
    OnFillTab(pDC, rectTab, &brush, iTab, bActive, pTabWnd);
    pDC->SelectClipRgn(nullptr);
    pDC->SelectObject(&penShadow);
    const int middle = (L + R) / 2;
    for (size_t i = 0; i + 1 < pts.size(); i += 2) {
      POINT a = pts[i], b = pts[i + 1];
      if (a.y > b.y) std::swap(a, b);
      const int shift = a.x > middle && b.x > middle ? -1 : 0;
      pDC->MoveTo(a.x + shift, a.y);
      pDC->LineTo(b.x + shift, b.y);
    }
    pDC->SelectObject(oldPen);
    content.left = contentLeft;
    content.right = contentRight;
    drawContent(content);
    return;
  }

  const CRect area = pTabWnd->m_rectTabsArea;
  const BOOL slanted = pTabWnd->IsSlantedStyle(), document = pTabWnd->IsCompactSlantedStyle();
  const BOOL polygon = slanted || document;
  const int h = B - T;
  const int slant = slanted && !bActive && iTab != 0 ? h : 0;
  if (L + slant + 10 > area.right || R - 10 <= area.left) return;

  POINT p[8];
  BOOL clamped = FALSE;
  if (polygon) {
    if (document) {
      p[0] = {L, B};
      p[1] = {L, B};
      p[2] = {L + 2, B};
    } else {
      p[0] = {L, B};
      p[1] = {L + 2, B - 1};
      p[2] = {L + 4, B - 2};
    }
    p[3] = {L + h, T + 2};
    p[4] = {L + h + 4, T};
    p[5] = {R - 2, T};
    p[6] = {R, T + 2};
    p[7] = {R, B};
    for (POINT& pt : p)
      if (pt.x > area.right) {
        pt.x = area.right;
        clamped = TRUE;
      }
    if (bottom)
      for (POINT& pt : p) pt.y = T + B - pt.y - 1;
  }
  const BOOL fill = c != (COLORREF)-1 || polygon || m_bFillTabs;
  if (fill) {
    CBrush brush;
    brush.CreateSolidBrush(c == (COLORREF)-1 ? g.clrBtnFace : c);
    if (polygon) {
      CRgn rgn;
      rgn.CreatePolygonRgn(p, 8, WINDING);
      pDC->SelectClipRgn(&rgn);
      OnFillTab(pDC, rectTab, &brush, iTab, bActive, pTabWnd);
      pDC->SelectClipRgn(nullptr);
    } else {
      CRect r = rectTab;
      r.DeflateRect(1, 0);
      if (bottom)
        r.bottom--;
      else
        r.top++;
      r.right = std::min(r.right, area.right);
      OnFillTab(pDC, r, &brush, iTab, bActive, pTabWnd);
    }
  }

  if (polygon) {
    CRect client;
    pTabWnd->GetClientRect(client);
    pDC->ExcludeClipRect(client.left, client.top, area.left - 1, client.bottom);
    if (!bActive && iTab != 0 && iTab != pTabWnd->GetFirstScrolledTab()) {
      const int extra = document ? 2 : 1;
      CRect excl(area.left, area.top, L + h - 10, area.bottom);
      if (bottom)
        excl.top -= extra;
      else
        excl.bottom += extra;
      pDC->ExcludeClipRect(excl);
    }
    pDC->Polyline(p, 8);
    if (clamped) {
      pDC->MoveTo(area.right, T);
      pDC->LineTo(area.right, B);
    }
    pDC->ExcludeClipRect(R, area.top, area.right, area.bottom);
  }

  if (!polygon) {
    if (R > area.right) pDC->IntersectClipRect(L, T, area.right, B);
    CPen* outer = m_bTabDarkEdges ? &penDark : &penShadow;
    CPen* light = m_bTabDarkEdges ? &penHilite : &penShadow;
    if (!bottom) {
      const int y0 = bActive ? B : B - 1;
      pDC->SelectObject(outer);
      pDC->MoveTo(R, y0);
      pDC->LineTo(R, T + 2);
      pDC->LineTo(R - 2, T);
      pDC->SelectObject(light);
      pDC->LineTo(L + 2, T);
      pDC->LineTo(L, T + 2);
      pDC->LineTo(L, B);
      if (m_bTabDarkEdges) {
        pDC->SelectObject(&penShadow);
        pDC->MoveTo(R - 1, y0);
        pDC->LineTo(R - 1, T + 1);
      }
    } else {
      pDC->SelectObject(light);
      pDC->MoveTo(L, T);
      pDC->LineTo(L, B - 2);
      pDC->SelectObject(outer);
      pDC->LineTo(L + 2, B);
      pDC->LineTo(R - 2, B);
      pDC->LineTo(R, B - 2);
      pDC->LineTo(R, T - 1);
      if (m_bTabDarkEdges) {
        pDC->SelectObject(&penShadow);
        pDC->MoveTo(L + 3, B - 1);
        pDC->LineTo(R - 2, B - 1);
        pDC->LineTo(R - 1, B - 2);
        pDC->LineTo(R - 1, T - 1);
      }
    }
    if (R > area.right) {
      CRgn clip;
      clip.CreateRectRgnIndirect(rectClip);
      pDC->SelectClipRgn(&clip);
    }
  } else {
    pDC->SelectObject(&penHilite);
    if (!bottom) {
      pDC->MoveTo(p[2].x - 1, p[2].y + 1);
      pDC->LineTo(p[2].x, p[2].y + 1);
      pDC->LineTo(p[3].x + 1, p[3].y);
      pDC->LineTo(p[3].x + 2, p[3].y);
      pDC->LineTo(p[3].x + 3, p[3].y);
      pDC->MoveTo(p[4].x - 1, p[4].y + 1);
      pDC->LineTo(p[5].x + 1, p[5].y + 1);
      if (!bActive && !clamped && m_bTabDarkEdges) {
        pDC->SelectObject(&penShadow);
        pDC->MoveTo(p[6].x - 2, p[6].y - 1);
        pDC->LineTo(p[6].x - 1, p[6].y - 1);
      }
      pDC->MoveTo(p[6].x - 1, p[6].y);
      pDC->LineTo(p[7].x - 1, p[7].y);
    } else if (!clamped) {
      pDC->MoveTo(p[6].x - 1, p[6].y);
      pDC->LineTo(p[7].x - 1, bActive ? p[7].y - 1 : p[7].y);
    }
  }
  pDC->SelectObject(oldPen);

  if (bActive) {
    CRect strip(L, bottom ? T - 2 : B, R, bottom ? T : B + 2);
    if (!polygon) {
      if (c == (COLORREF)-1) {
        pDC->FillRect(strip, &g_plxGlobalData.brBarFace);
      } else {
        CBrush brush;
        brush.CreateSolidBrush(c);
        pDC->FillRect(strip, &brush);
      }
    } else {
      if (document)
        strip.left += 3;
      else
        strip.OffsetRect(1, 0);
      if (bottom) strip.left += 1;
      CBrush brush;
      brush.CreateSolidBrush(c == (COLORREF)-1 ? g.clrWindow : c);
      pDC->FillRect(strip, &brush);
    }
  }
  if (polygon) {
    const BOOL activeDoc = bActive && document;
    content.left += activeDoc ? 3 * h / 4 : h;
    content.right -= activeDoc ? 3 : 4;
    if (activeDoc && pTabWnd->HasTabImage(iTab)) content.left += 4;
  }
  drawContent(content);
}

// ---- Header controls.

void CPlxVisualManager::OnFillHeaderCtrlBackground(CPlxHeaderCtrl* pCtrl, CDC* pDC, CRect rect) {
  pDC->FillRect(rect, pCtrl->m_bIsDlgControl ? &g_plxGlobalData.brBtnFace : &g_plxGlobalData.brBarFace);
}

void CPlxVisualManager::OnDrawHeaderCtrlBorder(CPlxHeaderCtrl* pCtrl, CDC* pDC, CRect& rect, BOOL bPressed,
                                               BOOL) {
  const PlxGlobalData& g = g_plxGlobalData;
  const BOOL dlg = pCtrl->m_bIsDlgControl;
  if (bPressed) {
    Frame(pDC, rect, dlg ? g.clrBtnShadow : g.clrBarShadow);
    rect.left++;
    rect.top++;
  } else if (dlg) {
    pDC->Draw3dRect(rect, g.clrBtnHilite, g.clrBtnShadow);
  } else {
    pDC->Draw3dRect(rect, g.clrBarHilite, g.clrBarShadow);
  }
}

void CPlxVisualManager::OnDrawHeaderCtrlSortArrow(CPlxHeaderCtrl* pCtrl, CDC* pDC, CRect& rect, BOOL bUp) {
  const PlxGlobalData& g = g_plxGlobalData;
  const BOOL dlg = pCtrl->m_bIsDlgControl;
  CPen light, dark;
  light.CreatePen(PS_SOLID, 1, dlg ? g.clrBtnHilite : g.clrBarHilite);
  dark.CreatePen(PS_SOLID, 1, dlg ? g.clrBtnDkShadow : g.clrBarDkShadow);
  CPen* old = pDC->SelectObject(&light);
  const int mid = (rect.left + rect.right) / 2;
  if (!bUp) {
    pDC->MoveTo(rect.right, rect.top);
    pDC->LineTo(mid, rect.bottom);
    pDC->SelectObject(&dark);
    pDC->LineTo(rect.left, rect.top);
    pDC->LineTo(rect.right, rect.top);
  } else {
    pDC->MoveTo(rect.left, rect.bottom);
    pDC->LineTo(rect.right, rect.bottom);
    pDC->LineTo(mid, rect.top);
    pDC->SelectObject(&dark);
    pDC->LineTo(rect.left, rect.bottom);
  }
  pDC->SelectObject(old);
}

// ---- Tasks pane.

void CPlxVisualManager::OnFillTasksPaneBackground(CDC* pDC, CRect rect) {
  pDC->FillRect(rect, CBrush::FromHandle(GetSysColorBrush(COLOR_WINDOW)));
}

void CPlxVisualManager::OnDrawTasksGroupCaption(CDC* pDC, CPlxTasksGroup* pGroup, BOOL bHighlighted, BOOL,
                                                BOOL bCanCollapse) {
  const PlxGlobalData& g = g_plxGlobalData;
  const CRect caption = pGroup->m_rect;
  pDC->FillSolidRect(caption, pGroup->m_bIsSpecial ? g.clrHilite : g.clrBtnFace);
  COLORREF clr = bHighlighted && bCanCollapse ? pGroup->m_clrTextHot : pGroup->m_clrText;
  if (clr == (COLORREF)-1) clr = GetSysColor(pGroup->m_bIsSpecial ? COLOR_WINDOW : COLOR_WINDOWTEXT);
  DrawTasksGroupLabel(pDC, pGroup, clr, FALSE);
  if (!bCanCollapse || pGroup->m_strName.IsEmpty()) return;
  const CSize glyph = PlxMenuGlyphSize();
  const int height = caption.Height();
  CPoint pt(caption.right - (glyph.cx + 1) / 2 - (height + 1) / 2,
            caption.bottom - (glyph.cy + 1) / 2 - (height + 1) / 2);
  pt.x = std::max(pt.x, static_cast<int>(caption.left));
  pt.y = std::max(pt.y, static_cast<int>(caption.top));
  CRect box(pt, glyph);
  if (box.right > caption.right || box.bottom > caption.bottom) return;
  if (bHighlighted) {
    CRect frame = box;
    frame.InflateRect(1, 1);
    pDC->Draw3dRect(frame, GetSysColor(COLOR_WINDOW), g.clrBtnShadow);
  }
  Glyph(pDC, pGroup->m_bIsCollapsed ? 0 : 16, box);
}

void CPlxVisualManager::OnDrawTasksGroupFrame(CDC* pDC, CRect rect, BOOL bSpecial, BOOL bClosedTop) {
  CPen* old = pDC->SelectObject(bSpecial ? &g_plxGlobalData.penHilite : &g_plxGlobalData.penBarFace);
  pDC->MoveTo(rect.left, rect.top);
  pDC->LineTo(rect.left, rect.bottom - 1);
  pDC->LineTo(rect.right - 1, rect.bottom - 1);
  pDC->LineTo(rect.right - 1, rect.top);
  if (bClosedTop)
    pDC->LineTo(rect.left, rect.top);
  else
    pDC->LineTo(rect.right - 1, rect.top - 1);
  pDC->SelectObject(old);
}

void CPlxVisualManager::OnDrawTask(CDC* pDC, CPlxTask* pTask, CImageList* pIcons, BOOL bHighlighted, BOOL) {
  const PlxGlobalData& g = g_plxGlobalData;
  const CRect rect = pTask->m_rect;
  if (pTask->m_bIsSeparator) {
    const int y = (rect.top + rect.bottom) / 2;
    Line(pDC, &g_plxGlobalData.penBarFace, rect.left, y, rect.right, y);
    return;
  }
  int cx = 0, cy = 0;
  if (pIcons != nullptr) ImageList_GetIconSize(pIcons->GetSafeHandle(), &cx, &cy);
  if (pTask->m_nIcon >= 0 && cx > 0) pIcons->Draw(pDC, pTask->m_nIcon, rect.TopLeft(), ILD_TRANSPARENT);
  const CPlxTasksPaneMetrics* pane = pTask->m_pGroup != nullptr ? pTask->m_pGroup->m_pPage : nullptr;
  const int offset = pane != nullptr && pane->m_nGroupCaptionHorzOffset != -1
                         ? pane->m_nGroupCaptionHorzOffset
                         : m_nTasksIconHorzOffset;
  CFont* font = &g_plxGlobalData.fontRegular;
  COLORREF clr = pTask->m_clrText;
  if (pTask->m_uiCommandID != 0) {
    if (!pTask->m_bEnabled) {
      clr = g.clrGrayedText;
    } else if (bHighlighted) {
      font = &g_plxGlobalData.fontUnderline;
      clr = pTask->m_clrTextHot;
    }
  }
  if (clr == (COLORREF)-1) clr = GetSysColor(COLOR_WINDOWTEXT);
  CRect text = rect;
  text.left += cx + offset;
  PlxDrawTaskText(pDC, pTask, text, font, clr);
}

void PlxDrawTaskText(CDC* pDC, const CPlxTask* pTask, const CRect& rectText, CFont* pFont, COLORREF clr) {
  const CPlxTasksPaneMetrics* pane = pTask->m_pGroup != nullptr ? pTask->m_pGroup->m_pPage : nullptr;
  CFont* oldFont = pDC->SelectObject(pFont);
  const COLORREF oldColor = pDC->SetTextColor(clr);
  const int mode = pDC->SetBkMode(TRANSPARENT);
  CRect text = rectText;
  const BOOL wrap = pane != nullptr && (pTask->m_uiCommandID != 0 ? pane->m_bWrapTasks : pane->m_bWrapLabels);
  pDC->DrawText(pTask->m_strName, text, wrap ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER);
  pDC->SetBkMode(mode);
  pDC->SetTextColor(oldColor);
  pDC->SelectObject(oldFont);
}

void CPlxVisualManager::OnDrawScrollButton(CDC* pDC, CRect rect, int nBorderSize, int iImage, BOOL bHilited) {
  CRect fill = rect;
  fill.top -= nBorderSize;
  pDC->FillRect(fill, &g_plxGlobalData.brBarFace);
  if (bHilited) {
    CPlxDrawHelper helper(pDC);
    helper.HighlightRect(rect);
    pDC->Draw3dRect(rect, g_plxGlobalData.clrBarHilite, g_plxGlobalData.clrBarDkShadow);
  }
  Glyph(pDC, iImage, rect);
}

void CPlxVisualManager::DrawTasksGroupLabel(CDC* pDC, CPlxTasksGroup* pGroup, COLORREF clr,
                                            BOOL bKeepRightWhenShort) const {
  const CRect caption = pGroup->m_rect;
  const BOOL icon = pGroup->m_hIcon != nullptr && pGroup->m_sizeIcon.cx < caption.Width() - caption.Height();
  if (icon) pDC->DrawIcon(caption.left + 1, caption.bottom - pGroup->m_sizeIcon.cy, pGroup->m_hIcon);
  CFont* font = pDC->SelectObject(&g_plxGlobalData.fontBold);
  const int mode = pDC->SetBkMode(TRANSPARENT);
  const COLORREF oldColor = pDC->SetTextColor(clr);
  const CPlxTasksPaneMetrics* pane = pGroup->m_pPage;
  const int hOffset = pane != nullptr && pane->m_nGroupCaptionHorzOffset != -1
                          ? pane->m_nGroupCaptionHorzOffset
                          : m_nGroupCaptionHorzOffset;
  const int vOffset = pane != nullptr && pane->m_nGroupCaptionVertOffset != -1
                          ? pane->m_nGroupCaptionVertOffset
                          : m_nGroupCaptionVertOffset;
  CRect text = caption;
  text.left += icon ? pGroup->m_sizeIcon.cx + 10 : hOffset;
  text.top += vOffset;
  const LONG end = caption.right - caption.Height();
  if (end > text.left)
    text.right = end;
  else if (!bKeepRightWhenShort)
    text.right = text.left;
  pDC->DrawText(pGroup->m_strName, text, DT_SINGLELINE);
  pDC->SetTextColor(oldColor);
  pDC->SetBkMode(mode);
  pDC->SelectObject(font);
}

// ---- Spin buttons.

void CPlxVisualManager::OnDrawSpinButtons(CDC* pDC, CRect rect, int nState, BOOL bHorz, CPlxSpinButtonCtrl*) {
  const PlxGlobalData& g = g_plxGlobalData;
  rect.DeflateRect(1, 1);
  CRect first = rect, second = rect;
  if (!bHorz) {
    first.bottom -= rect.Height() / 2;
    second.top = first.bottom + 1;
  } else {
    first.right -= rect.Width() / 2;
    second.left = first.right + 1;
  }
  pDC->FillRect(rect, &g_plxGlobalData.brBarFace);
  Frame(pDC, rect, g.clrBarHilite);
  const int pressed = (nState & 3) - 1;
  const CRect halves[2] = {first, second};
  const int glyphs[2] = {bHorz ? 2 : 16, bHorz ? 19 : 0};
  for (int i = 0; i < 2; ++i) {
    if (pressed == i)
      pDC->Draw3dRect(halves[i], g.clrBarShadow, g.clrBarHilite);
    else
      pDC->Draw3dRect(halves[i], g.clrBarHilite, g.clrBarShadow);
    Glyph(pDC, glyphs[i], halves[i]);
  }
}
