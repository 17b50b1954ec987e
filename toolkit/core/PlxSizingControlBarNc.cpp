// CPlxSizingControlBar's non-client area: border, splitter edges, the caption band and its close
// and expand buttons, hit tests and painting. Everything is laid out left to right in the bar's
// window coordinates; a right-to-left bar mirrors those rectangles where it draws and hit-tests.
#include <algorithm>

#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/GdiObjects.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxSizingControlBar.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/customize/PlxTabWnd.h"

namespace {

bool IsLight(COLORREF color) {
  return GetRValue(color) > 192 || GetGValue(color) > 192 || GetBValue(color) > 192;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Caption buttons

CSize CPlxCaptionButton::GetSize() const {
  if (m_bHidden) return CSize(0, 0);
  return CPlxMenuGlyphs::GetSize() + CSize(5, 5);
}

int CPlxCaptionButton::GlyphIndex(BOOL bDark, BOOL bHorz, BOOL bMaximized, BOOL bDisabled) const {
  if (m_nHit == HTOBJECT) return bDark ? CPlxMenuGlyphs::IdClose : CPlxMenuGlyphs::IdClosePressed;
  if (bDisabled) return bHorz ? CPlxMenuGlyphs::IdArowLeftDisabled : CPlxMenuGlyphs::IdArowUpDisabled;
  if (bHorz) return bMaximized ? (bDark ? 2 : 4) : (bDark ? 19 : 43);
  return bMaximized ? (bDark ? 16 : 44) : (bDark ? 0 : 28);
}

void CPlxCaptionButton::DrawGlyph(CDC* pDC, CRect rect, BOOL bHorz, BOOL bMaximized, BOOL bDisabled) {
  const BOOL dark = !IsLight(pDC->GetTextColor());
  int glyph = GlyphIndex(dark, bHorz, bMaximized, bDisabled);
  // Our strip keeps white twins only of the close cross and the down arrow; the other light
  // arrows are drawn from their dark cells.
  if (!dark && glyph != CPlxMenuGlyphs::IdClosePressed && glyph != CPlxMenuGlyphs::IdArowDownDropped)
    glyph = GlyphIndex(TRUE, bHorz, bMaximized, bDisabled);
  CPlxMenuGlyphs::Draw(pDC, glyph, rect);
}

void CPlxCaptionButton::OnDraw(CDC* pDC, BOOL bHorz, BOOL bMaximized, BOOL bDisabled) {
  if (m_bHidden) return;
  const COLORREF saved = pDC->GetTextColor();
  const int mode = pDC->SetBkMode(TRANSPARENT);
  if (bDisabled)
    pDC->SetTextColor(g_plxGlobalData.clrGrayedText);
  else if (m_clrForeground != (COLORREF)-1)
    pDC->SetTextColor(IsLight(m_clrForeground) ? RGB(255, 255, 255) : RGB(0, 0, 0));
  CPlxVisualManager::GetInstance()->OnDrawCaptionButton(pDC, this, bHorz, bMaximized, bDisabled);
  pDC->SetTextColor(saved);
  pDC->SetBkMode(mode);
}

CRect CPlxCaptionButton::GetDrawRect() const {
  return m_pParentBar != nullptr ? m_pParentBar->MirrorRect(GetRect()) : GetRect();
}

// ---------------------------------------------------------------------------------------------
// Geometry

int CPlxSizingControlBar::MirrorX(int x) const {
  if (!IsRTL()) return x;
  CRect window;
  GetWindowRect(&window);
  return window.Width() - x;
}

CRect CPlxSizingControlBar::MirrorRect(const CRect& rc) const {
  if (!IsRTL() || rc.IsRectNull()) return rc;
  return CRect(MirrorX(rc.right), rc.top, MirrorX(rc.left), rc.bottom);
}

CRect CPlxSizingControlBar::ClientInWindow() const {
  CRect client, window;
  GetClientRect(&client);
  ClientToScreen(&client);
  GetWindowRect(&window);
  client.OffsetRect(-window.TopLeft());
  return MirrorRect(client);
}

UINT CPlxSizingControlBar::GetEdgeHTCode(int i) {
  switch (i) {
    case 1:
      return HTTOP;
    case 2:
      return HTRIGHT;
    case 3:
      return HTBOTTOM;
    default:
      return HTLEFT;
  }
}

BOOL CPlxSizingControlBar::IsEdgeVisible(UINT nHitTest) const {
  switch (nHitTest) {
    case HTLEFT:
      return m_nDockBarID == AFX_IDW_DOCKBAR_RIGHT && (m_dwSCBStyle & kEdgeLeft);
    case HTTOP:
      if (m_bCaptionAlwaysOnTop) return (m_dwSCBStyle & kEdgeTop) != 0;
      return m_nDockBarID == AFX_IDW_DOCKBAR_BOTTOM && (m_dwSCBStyle & kEdgeTop);
    case HTRIGHT:
      return (m_nDockBarID == AFX_IDW_DOCKBAR_LEFT || !IsLastInRow()) && (m_dwSCBStyle & kEdgeRight);
    case HTBOTTOM:
      if (m_bCaptionAlwaysOnTop) return (m_dwSCBStyle & kEdgeBottom) != 0;
      return m_nDockBarID == AFX_IDW_DOCKBAR_TOP || (!IsLastInRow() && (m_dwSCBStyle & kEdgeBottom));
    default:
      return FALSE;
  }
}

BOOL CPlxSizingControlBar::GetEdgeRect(CRect rcWnd, UINT nHitTest, CRect& rcEdge) const {
  rcEdge.SetRectEmpty();
  if (!IsEdgeVisible(nHitTest)) return FALSE;
  rcEdge = rcWnd;
  if (m_dwSCBStyle & kShowEdges) rcEdge.DeflateRect(1, 1);
  const BOOL horz = IsHorzDocked();
  switch (nHitTest) {
    case HTLEFT:
    case HTRIGHT:
      if (nHitTest == HTLEFT)
        rcEdge.right = rcEdge.left + m_cxEdge;
      else
        rcEdge.left = rcEdge.right - m_cxEdge;
      if (horz) rcEdge.DeflateRect(0, m_cxEdge);
      if (m_nDockBarID == AFX_IDW_DOCKBAR_BOTTOM) rcEdge.bottom = rcWnd.bottom + 1;
      if (m_nDockBarID == AFX_IDW_DOCKBAR_TOP) rcEdge.top = rcWnd.top - 1;
      break;
    default:
      if (nHitTest == HTTOP)
        rcEdge.bottom = rcEdge.top + m_cxEdge;
      else
        rcEdge.top = rcEdge.bottom - m_cxEdge;
      if (!horz) rcEdge.DeflateRect(m_cxEdge, 0);
      if (m_nDockBarID == AFX_IDW_DOCKBAR_LEFT) rcEdge.left = rcWnd.left - 1;
      if (m_nDockBarID == AFX_IDW_DOCKBAR_RIGHT) rcEdge.right = rcWnd.right + 1;
      break;
  }
  return TRUE;
}

void CPlxSizingControlBar::GetCaptionRect(const CRect& rcClient, BOOL bIgnoreButtons, CRect& rc) const {
  CRect window;
  GetWindowRect(&window);
  rc = CRect(0, 0, window.Width(), window.Height());
  rc.DeflateRect(1, 1);
  const CPlxCaptionButton& expand = m_Buttons[kExpandButton];
  if (IsHorzDocked() && !m_bCaptionAlwaysOnTop) {
    rc.left += 1;
    rc.right = rc.left + m_cyGripper;
    rc.top = bIgnoreButtons ? rcClient.top - 3 : expand.m_ptOrg.y + expand.GetSize().cy + 3;
    rc.bottom = rcClient.bottom;
  } else {
    const int top = rc.top + ((m_nDockBarID == AFX_IDW_DOCKBAR_BOTTOM && m_bCaptionAlwaysOnTop) ? 6 : 1);
    rc.left = rcClient.left;
    rc.right = bIgnoreButtons ? rcClient.right : expand.m_ptOrg.x - 3;
    rc.top = top;
    rc.bottom = top + m_cyGripper;
  }
}

void CPlxSizingControlBar::CalcNcSize(CRect& rc) {
  if (CWnd* parent = GetParent()) m_nDockBarID = static_cast<UINT>(parent->GetDlgCtrlID());
  const int border = BorderSize();
  // Insets of the reading order; a right-to-left bar swaps left and right at the end.
  int left = border, top = border, right = border, bottom = border;
  m_cyGripper = 0;
  if (m_bHasGripper) m_cyGripper = std::max(g_plxGlobalData.nTextHeightHorz, 12) + (m_bCaptionText ? 4 : 0);
  m_dwSCBStyle &= ~(kEdgeLeft | kEdgeRight | kEdgeTop | kEdgeBottom);
  switch (m_nDockBarID) {
    case AFX_IDW_DOCKBAR_TOP:
    case AFX_IDW_DOCKBAR_BOTTOM:
      m_dwSCBStyle |= m_nDockBarID == AFX_IDW_DOCKBAR_TOP ? kEdgeBottom : kEdgeTop;
      if (m_bCaptionAlwaysOnTop)
        top += m_cyGripper;
      else
        left += m_cyGripper;
      break;
    case AFX_IDW_DOCKBAR_LEFT:
      m_dwSCBStyle |= kEdgeRight;
      top += m_cyGripper;
      break;
    case AFX_IDW_DOCKBAR_RIGHT:
      m_dwSCBStyle |= kEdgeLeft;
      top += m_cyGripper;
      break;
    default:
      break;
  }
  if (!IsFloatingBar() && m_pDockBar != nullptr) {
    int first = -1, last = -1, self = -1;
    GetRowInfo(first, last, self);
    if (self >= 0) {
      const BOOL horz = IsHorzDocked();
      if (self > first) m_dwSCBStyle |= horz ? kEdgeLeft : kEdgeTop;
      if (self < last) m_dwSCBStyle |= horz ? kEdgeRight : kEdgeBottom;
    }
  }
  if (m_dwSCBStyle & kShowEdges) {
    if (IsEdgeVisible(HTLEFT)) left += m_cxEdge;
    if (IsEdgeVisible(HTRIGHT)) right += m_cxEdge;
    if (IsEdgeVisible(HTTOP)) top += m_cxEdge;
    if (IsEdgeVisible(HTBOTTOM)) bottom += m_cxEdge;
  }
  if (IsRTL()) std::swap(left, right);
  rc.left += left;
  rc.top += top;
  rc.right -= right;
  rc.bottom -= bottom;
  if (rc.right < rc.left) rc.right = rc.left;
  if (rc.bottom < rc.top) rc.bottom = rc.top;
  if (!m_bTracking && GetCapture() == this) ::ReleaseCapture();
}

void CPlxSizingControlBar::SetButtonsPos() {
  CRect band;
  GetCaptionRect(ClientInWindow(), TRUE, band);
  const BOOL vertical = IsHorzDocked() && !m_bCaptionAlwaysOnTop;
  const CSize size = CPlxMenuGlyphs::GetSize() + CSize(5, 5);
  CPoint at;
  if (vertical) {
    band.DeflateRect(0, 2);
    at = CPoint(band.left + std::max<LONG>(0, (band.Width() - size.cx) / 2), band.top);
  } else {
    band.DeflateRect(2, 0);
    at = CPoint(band.right - size.cx, band.top + std::max<LONG>(0, (band.Height() - size.cy) / 2));
  }
  const CRect clientInWindow = MirrorRect(ClientInWindow());
  for (int i = 0; i < kButtons; ++i) {
    CPlxCaptionButton& button = m_Buttons[i];
    button.m_clrForeground = (COLORREF)-1;
    button.m_bPushed = button.m_bFocused = FALSE;
    button.m_bHidden = i == kExpandButton && m_bHideDisabledButtons && m_bIsSingleInRow;
    if (button.m_bHidden) {
      button.m_ptOrg = vertical ? at : at + CPoint(size.cx, 0);
    } else {
      button.m_ptOrg = at;
      if (vertical)
        at.y += size.cy + 1;
      else
        at.x -= size.cx + 1;
    }
    if (m_ToolTip.GetSafeHwnd() != nullptr) {
      CRect tool = button.GetDrawRect();
      tool.OffsetRect(-clientInWindow.TopLeft());
      m_ToolTip.SetToolRect(this, static_cast<UINT_PTR>(i + 1), tool);
    }
  }
  RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

UINT CPlxSizingControlBar::HitTest(CPoint ptScreen) {
  CRect window;
  GetWindowRect(&window);
  CPoint pt = ptScreen - window.TopLeft();
  pt.x = MirrorX(pt.x);
  if (IsRTL()) pt.x -= 1;  // pixel x maps to width - 1 - x
  const CRect local(0, 0, window.Width(), window.Height());
  for (int i = 0; i < 4; ++i) {
    CRect edge;
    if (GetEdgeRect(local, GetEdgeHTCode(i), edge) && edge.PtInRect(pt)) return GetEdgeHTCode(i);
  }
  if (IsFloatingBar())
    return static_cast<UINT>(DefWindowProc(WM_NCHITTEST, 0, MAKELPARAM(ptScreen.x, ptScreen.y)));
  if (m_cyGripper > 0)
    for (const CPlxCaptionButton& button : m_Buttons)
      if (!button.m_bHidden && button.GetRect().PtInRect(pt)) return button.m_nHit;
  return ClientInWindow().PtInRect(pt) ? HTCLIENT : HTCAPTION;
}

void CPlxSizingControlBar::UpdateButtonsHot(CPoint ptScreen) {
  if (m_cyGripper == 0) return;
  int pushed = -1;
  BOOL wasHot = FALSE;
  for (int i = 0; i < kButtons; ++i) {
    if (m_Buttons[i].m_bPushed && pushed < 0) pushed = i;
    wasHot |= m_Buttons[i].m_bFocused;
  }
  CRect window;
  GetWindowRect(&window);
  const CPoint pt = ptScreen - window.TopLeft();
  BOOL isHot = FALSE;
  for (int i = 0; i < kButtons; ++i) {
    CPlxCaptionButton& button = m_Buttons[i];
    BOOL over =
        !button.m_bHidden && button.GetDrawRect().PtInRect(pt) && !(i == kExpandButton && m_bIsSingleInRow);
    if (pushed >= 0 && pushed != i) over = FALSE;
    if (over != button.m_bFocused) {
      button.m_bFocused = over;
      RedrawButton(button);
    }
    isHot |= button.m_bFocused;
  }
  if (pushed >= 0) return;
  if (isHot && !wasHot)
    SetCapture();
  else if (!isHot && wasHot && GetCapture() == this)
    ::ReleaseCapture();
}

CPlxTabWnd* CPlxSizingControlBar::GetTabWnd() const {
  CPlxTabWnd* found = nullptr;
  for (CWnd* child = GetTopWindow(); child != nullptr; child = child->GetWindow(GW_HWNDNEXT)) {
    auto* tabs = dynamic_cast<CPlxTabWnd*>(child);
    if (tabs == nullptr) continue;
    if (found != nullptr) return nullptr;  // several: none is the bar's own
    found = tabs;
  }
  return found;
}

// ---------------------------------------------------------------------------------------------
// Painting

void CPlxSizingControlBar::RedrawButton(const CPlxCaptionButton& button) {
  m_rectRedraw = button.GetRect();
  SendMessage(WM_NCPAINT);
  m_rectRedraw.SetRectEmpty();
  UpdateWindow();
}

void CPlxSizingControlBar::DrawCaption(CDC* pDC, const CRect& rcCaption) {
  const BOOL vertical = IsHorzDocked() && !m_bCaptionAlwaysOnTop;
  CRect buttons;
  for (int i = kButtons - 1; i >= 0 && buttons.IsRectEmpty(); --i)
    if (!m_Buttons[i].m_bHidden) buttons = m_Buttons[i].GetRect();
  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  const COLORREF text = manager->OnDrawControlBarCaption(pDC, this, m_bActive, rcCaption, buttons);
  for (CPlxCaptionButton& button : m_Buttons) button.m_clrForeground = text;
  CString title;
  GetWindowText(title);
  CRect clip = rcCaption;
  if (vertical)
    clip.top = std::max<LONG>(clip.top, buttons.bottom);
  else if (!buttons.IsRectEmpty())
    clip.right = std::min<LONG>(clip.right, buttons.left);
  if (clip.Width() <= 8 || clip.Height() <= 8) return;
  const int mode = pDC->SetBkMode(TRANSPARENT);
  const COLORREF saved = pDC->SetTextColor(text);
  CFont* font = pDC->SelectObject(vertical ? &g_plxGlobalData.fontVert : &g_plxGlobalData.fontRegular);
  if (vertical)
    pDC->ExtTextOut(clip.left, clip.bottom - 3, ETO_CLIPPED, clip, title, title.GetLength(), nullptr);
  else
    pDC->ExtTextOut(clip.left + 3, clip.top + 2, ETO_CLIPPED, clip, title, title.GetLength(), nullptr);
  pDC->SelectObject(font);
  pDC->SetTextColor(saved);
  pDC->SetBkMode(mode);
}

void CPlxSizingControlBar::PaintNc(HRGN hrgnUpdate) {
  if (m_bTracking) return;
  CWindowDC dc(this);
  CRect window;
  GetWindowRect(&window);
  const CRect local(0, 0, window.Width(), window.Height());
  const CRect clientL = ClientInWindow();
  dc.ExcludeClipRect(MirrorRect(clientL));
  if (!m_rectRedraw.IsRectEmpty()) dc.IntersectClipRect(MirrorRect(m_rectRedraw));
  dc.IntersectClipRect(local);
  if (ClipNcPaintToUpdateRegion() && hrgnUpdate != nullptr && hrgnUpdate != reinterpret_cast<HRGN>(1)) {
    CRgn update;
    update.CreateRectRgn(0, 0, 0, 0);
    update.CopyRgn(CRgn::FromHandle(hrgnUpdate));
    update.OffsetRgn(-window.TopLeft());
    dc.SelectClipRgn(&update, RGN_AND);
  }

  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  manager->OnFillBarBackground(&dc, this, local, CRect(), TRUE);

  const BOOL horz = IsHorzDocked();
  const PlxGlobalData& g = g_plxGlobalData;
  if ((m_dwSCBStyle & kShowEdges) && manager->IsLook2000Allowed()) {
    for (const UINT ht : {HTBOTTOM, HTRIGHT, HTTOP, HTLEFT}) {
      CRect edge;
      if (!GetEdgeRect(local, ht, edge)) continue;
      CRect across;  // the sunken frame, one pixel wider across the splitter
      switch (ht) {
        case HTLEFT:
          edge.InflateRect(0, 2);
          if (IsVertDocked()) edge.OffsetRect(-1, 0);
          across = CRect(edge.left - 1, edge.top, edge.right + 1, edge.bottom);
          break;
        case HTRIGHT:
          if (horz && !m_bCaptionAlwaysOnTop) {
            edge.InflateRect(0, 1);
          } else {
            edge.InflateRect(0, 2);
            edge.OffsetRect(1, 0);
          }
          across = CRect(edge.left - 1, edge.top, edge.right + 1, edge.bottom);
          break;
        case HTTOP:
          if (horz) edge.InflateRect(2, 0);
          if (m_nDockBarID == AFX_IDW_DOCKBAR_BOTTOM) edge.OffsetRect(0, -1);
          across = CRect(edge.left, edge.top - 1, edge.right, edge.bottom + 1);
          break;
        default:
          edge.InflateRect(horz ? 2 : 1, 0);
          if (horz) edge.OffsetRect(0, 1);
          across = CRect(edge.left, edge.top - 1, edge.right, edge.bottom + 1);
          break;
      }
      if (manager->m_bLook2000) dc.Draw3dRect(MirrorRect(across), g.clrBtnShadow, g.clrBtnHilite);
      dc.Draw3dRect(MirrorRect(edge), g.clrBtnHilite,
                    manager->m_bLook2000 ? g.clrBtnShadow : g.clrBtnDkShadow);
    }
  }

  if (m_cyGripper > 0 && !IsFloatingBar()) {
    CRect caption;
    GetCaptionRect(clientL, m_bCaptionText, caption);
    // The band is handed over in the reading order's coordinates, the origin shifted to where it
    // lies: a manager that places its lines by the window's edge puts them in the band.
    const CSize shift = MirrorRect(caption).TopLeft() - caption.TopLeft();
    const CPoint origin = dc.OffsetViewportOrg(shift.cx, shift.cy);
    if (m_bCaptionText)
      DrawCaption(&dc, caption);
    else
      manager->OnDrawBarGripper(&dc, caption, horz && !m_bCaptionAlwaysOnTop, this);
    dc.SetViewportOrg(origin);
    for (int i = 0; i < kButtons; ++i)
      m_Buttons[i].OnDraw(&dc, horz, m_bMaximized, m_bIsSingleInRow && i == kExpandButton);
  }
  dc.SelectClipRgn(nullptr);
}
