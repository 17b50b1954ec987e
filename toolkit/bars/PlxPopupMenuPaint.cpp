// Painting of a popup menu: its frame (shadow, border, logo, tear-off caption, scroll buttons),
// the opening animation drawn from off-screen bitmaps, the shadow's repair and the scroll buttons.
#include <algorithm>
#include <cstring>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/user/Display.h"
#include "platform/user/Input.h"
#include "platform/user/Paint.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/core/PlxDrawHelper.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxVisualManager.h"

namespace {

constexpr int kUpGlyph = 16;
constexpr int kDownGlyph = 0;

// A 32-bit DIB section of the size, with its pixels; rows from the top when asked.
BOOL CreateDib(CBitmap& bitmap, CDC* pDC, int cx, int cy, COLORREF*& bits, bool topDown = false) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = cx;
  info.bmiHeader.biHeight = topDown ? -cy : cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = cx * cy;
  void* pixels = nullptr;
  HBITMAP handle = ::CreateDIBSection(pDC->GetSafeHdc(), &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (handle == nullptr || pixels == nullptr) return FALSE;
  bitmap.DeleteObject();
  bitmap.Attach(handle);
  bits = static_cast<COLORREF*>(pixels);
  return TRUE;
}

// Our windows keep their own pixels, so what lies under a popup is composed from the top-level
// windows below it (the desktop colour elsewhere) and painted into the popup's client area.
void PaintScreenUnder(CWnd* pWnd, CDC* pDC) {
  CRect client;
  pWnd->GetClientRect(client);
  CRect screen = client;
  pWnd->ClientToScreen(screen);
  const int cx = screen.Width(), cy = screen.Height();
  if (cx <= 0 || cy <= 0) return;
  CBitmap bitmap;
  COLORREF* pixels = nullptr;
  if (!CreateDib(bitmap, pDC, cx, cy, pixels, true)) return;
  auto* rows = reinterpret_cast<uint32_t*>(pixels);
  std::fill(rows, rows + static_cast<size_t>(cx) * cy,
            pictavo::gdi::PixelFromColor(::GetSysColor(COLOR_DESKTOP)));
  for (const pictavo::user::TopLevelWindow& w : pictavo::user::TopLevelWindows()) {
    if (w.hwnd == pWnd->m_hWnd) break;
    if (!w.visible || !w.surface) continue;
    CRect part;
    if (!part.IntersectRect(screen, CRect(w.rect))) continue;
    for (int y = part.top; y < part.bottom; ++y) {
      const int sy = y - w.rect.top;
      if (sy < 0 || sy >= w.surface->Height()) continue;
      const auto from = w.surface->Row(sy);
      for (int x = part.left; x < part.right; ++x) {
        const int sx = x - w.rect.left;
        if (sx >= 0 && sx < w.surface->Width())
          rows[static_cast<size_t>(y - screen.top) * cx + (x - screen.left)] = from[sx];
      }
    }
  }
  CDC memDC;
  if (memDC.CreateCompatibleDC(pDC)) {
    CBitmap* old = memDC.SelectObject(&bitmap);
    pDC->BitBlt(client.left, client.top, cx, cy, &memDC, 0, 0, SRCCOPY);
    memDC.SelectObject(old);
  }
}

}  // namespace

void CPlxPopupMenu::OnPaint() {
  CPaintDC dc(this);
  // The first paint starts from what lies under the popup, which the shadow and the fade blend.
  if (m_bmpShadowSave1.GetSafeHandle() == nullptr && m_bmpMenu.GetSafeHandle() == nullptr)
    PaintScreenUnder(this, &dc);
  if (m_bAnimationDone || CPlxToolBar::m_bCustomizeMode)
    DrawFrame(&dc);
  else
    DrawAnimated(&dc);
}

void CPlxPopupMenu::DrawFrame(CDC* pDC) {
  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  CRect rect;
  GetClientRect(rect);
  const BOOL rtl = (GetExStyle() & WS_EX_LAYOUTRTL) != 0;
  const int s = m_nShadowSize;
  if (s > 0 && !CPlxToolBar::m_bCustomizeMode) {
    rect.bottom -= s;
    if (rtl)
      rect.left += s;
    else
      rect.right -= s;
    CRect exclude;
    if (m_pParentBtn != nullptr && !IsSubMenu() && m_pParentBtn->m_pWndParent != nullptr &&
        m_pParentBtn->m_pWndParent->GetSafeHwnd() != nullptr) {
      exclude = m_pParentBtn->m_rect;
      exclude.right--;
      exclude.bottom--;
      m_pParentBtn->m_pWndParent->MapWindowPoints(this, exclude);
    }
    manager->OnDrawMenuShadow(pDC, rect, exclude, s, 100, 65, &m_bmpShadowSave1, &m_bmpShadowSave2, rtl);
    if (rtl) rect.OffsetRect(-s, 0);
  }
  manager->OnDrawMenuBorder(pDC, this, rect);
  const int b = manager->GetPopupMenuBorderSize();
  rect.DeflateRect(b, b);
  if (m_nLogoSize > 0) {
    const CRect logo = LogoRect(rect, m_nLogoSize + b);
    CPlxToolkitFrame(GetTopLevelFrame()).OnDrawMenuLogo(pDC, this, logo);
  }
  if (!m_rectTearOffCaption.IsRectEmpty())
    manager->OnDrawTearOffCaption(pDC, m_rectTearOffCaption, m_bTearOffHot);
  if (IsScrollUpAvailable()) DrawScrollButton(pDC, m_rectScrollUp, kUpGlyph, m_nScrollMode < 0);
  if (IsScrollDownAvailable()) DrawScrollButton(pDC, m_rectScrollDown, kDownGlyph, m_nScrollMode > 0);
  m_bShown = TRUE;
}

void CPlxPopupMenu::DrawScrollButton(CDC* pDC, const CRect& rect, UINT uiGlyph, BOOL bHighlighted) {
  CPlxMenuGlyphs::Initialize();
  CRect fill = rect;
  fill.top -= 2;
  pDC->FillRect(fill, &g_plxGlobalData.brBtnFace);
  CPlxMenuGlyphs::Draw(pDC, static_cast<int>(uiGlyph), rect);
  if (bHighlighted) pDC->Draw3dRect(rect, g_plxGlobalData.clrBtnHilite, g_plxGlobalData.clrBtnShadow);
}

void CPlxPopupMenu::DrawAnimated(CDC* pDC) {
  const int cx = m_sizeFinal.cx + m_nShadowSize;
  const int cy = m_sizeFinal.cy + m_nShadowSize;
  if (cx <= 0 || cy <= 0) return;
  const int type = GetAnimationType();
  CRect client;
  GetClientRect(client);
  if (m_bmpMenu.GetSafeHandle() == nullptr) {
    CDC menuDC;
    if (!menuDC.CreateCompatibleDC(pDC)) return;
    if (type == Fade || g_plxGlobalData.nBitsPerPixel > 8) {
      if (!CreateDib(m_bmpScreen, pDC, cx, cy, m_pScreenBits) ||
          !CreateDib(m_bmpMenu, pDC, cx, cy, m_pMenuBits) ||
          !CreateDib(m_bmpBlend, pDC, cx, cy, m_pBlendBits)) {
        m_bmpMenu.DeleteObject();
        return;
      }
      CBitmap* old = menuDC.SelectObject(&m_bmpScreen);
      menuDC.BitBlt(0, 0, cx, cy, pDC, client.left, client.top, SRCCOPY);
      menuDC.SelectObject(old);
      std::memcpy(m_pMenuBits, m_pScreenBits, static_cast<size_t>(cx) * cy * 4);
    } else if (!m_bmpMenu.CreateCompatibleBitmap(pDC, cx, cy)) {
      return;
    }
    CBitmap* old = menuDC.SelectObject(&m_bmpMenu);
    DrawFrame(&menuDC);
    CPlxPopupMenuBar* bar = GetMenuBar();
    CRect barRect;
    bar->GetWindowRect(barRect);
    ScreenToClient(barRect);
    const CPoint origin = menuDC.SetViewportOrg(barRect.TopLeft());
    bar->DoPaint(&menuDC);
    menuDC.SetViewportOrg(origin);
    menuDC.SelectObject(old);
  }

  CDC menuDC;
  if (!menuDC.CreateCompatibleDC(pDC)) return;
  switch (type) {
    case Unfold:
    case Slide: {
      CBitmap* old = menuDC.SelectObject(&m_bmpMenu);
      const int x = m_bAnimFromLeft ? client.left : client.right - m_sizeAnimated.cx;
      const int y = m_bAnimFromTop ? client.top : client.bottom - m_sizeAnimated.cy;
      pDC->BitBlt(x, y, m_sizeAnimated.cx, m_sizeAnimated.cy, &menuDC, 0, 0, SRCCOPY);
      menuDC.SelectObject(old);
      break;
    }
    case Fade: {
      if (m_pBlendBits == nullptr) return;
      const int percent = 100 - std::min(m_nFadePercent, 100);
      const size_t count = static_cast<size_t>(cx) * cy;
      for (size_t i = 0; i < count; ++i)
        m_pBlendBits[i] = CPlxDrawHelper::BlendColors(m_pScreenBits[i], m_pMenuBits[i], percent);
      CBitmap* old = menuDC.SelectObject(&m_bmpBlend);
      pDC->BitBlt(client.left, client.top, cx, cy, &menuDC, 0, 0, SRCCOPY);
      menuDC.SelectObject(old);
      break;
    }
    default:
      break;
  }
}

void CPlxPopupMenu::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kAnimationTimer) {
    if (!m_bAnimationDone) {
      const DWORD now = PlxAnimationClock();
      const int steps = static_cast<int>(
          static_cast<double>(now - m_dwLastAnimTick) / std::max(m_nAnimationSpeed, 1) + 0.5);
      AnimationStep(steps);
    }
  } else if (nIDEvent == kScrollTimer) {
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    ScrollStep(point);
  }
  CWnd::Default();
}

void CPlxPopupMenu::AnimationStep(int nSteps) {
  if (m_bAnimationDone) return;
  CPlxPopupMenuBar* bar = GetMenuBar();
  const int type = GetAnimationType();
  BOOL done = FALSE;
  switch (type) {
    case Unfold:
      m_sizeAnimated.cx += nSteps * bar->GetColumnWidth();
      m_sizeAnimated.cy += nSteps * bar->GetRowHeight();
      done = m_sizeAnimated.cy - m_nShadowSize >= m_sizeFinal.cy ||
             m_sizeAnimated.cx - m_nShadowSize >= m_sizeFinal.cx;
      break;
    case Slide:
      m_sizeAnimated.cy += nSteps * bar->GetRowHeight();
      done = m_sizeAnimated.cy - m_nShadowSize >= m_sizeFinal.cy;
      break;
    case Fade:
      m_nFadePercent += 10;
      if (m_nFadePercent > 100 + 10 * nSteps) m_nFadePercent = 101;
      done = m_nFadePercent > 100;
      break;
    default:
      done = TRUE;
      break;
  }
  if (done) {
    m_sizeAnimated = CSize(m_sizeFinal.cx + m_nShadowSize, m_sizeFinal.cy + m_nShadowSize);
    KillTimer(kAnimationTimer);
    if (bar->GetSafeHwnd() != nullptr) {
      bar->SetWindowPos(
          nullptr, 0, 0, 0, 0,
          SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_SHOWWINDOW);
      bar->ValidateRect(nullptr);
    }
    m_bAnimationDone = TRUE;
  }
  if (GetSafeHwnd() != nullptr) {
    Invalidate();
    UpdateWindow();
  }
  m_dwLastAnimTick = PlxAnimationClock();
}

// ---- scroll buttons ----

BOOL CPlxPopupMenu::IsScrollUpAvailable() {
  return GetMenuBar()->GetOffset() > 0;
}

BOOL CPlxPopupMenu::IsScrollDownAvailable() {
  CPlxPopupMenuBar* bar = GetMenuBar();
  const int count = bar->GetCount();
  if (count == 0) return FALSE;
  return bar->GetButton(count - 1)->m_rect.bottom > m_nBarHeight + bar->GetRowHeight();
}

BOOL CPlxPopupMenu::AdjustScrollButtons(BOOL bForce) {
  CPlxPopupMenuBar* bar = GetMenuBar();
  if (bar->GetSafeHwnd() == nullptr) return FALSE;
  const int b = CPlxVisualManager::GetInstance()->GetPopupMenuBorderSize();
  CRect r;
  GetClientRect(r);
  if (!CPlxToolBar::m_bCustomizeMode) {
    r.right -= m_nShadowSize;
    r.bottom -= m_nShadowSize;
  }
  r.DeflateRect(b, b);
  switch (m_nLogoLocation) {
    case 0:
      r.left += m_nLogoSize;
      break;
    case 1:
      r.right -= m_nLogoSize;
      break;
    case 2:
      r.top += m_nLogoSize;
      break;
    default:
      r.bottom -= m_nLogoSize;
      break;
  }
  r.top += m_rectTearOffCaption.Height();
  const CRect oldUp = m_rectScrollUp;
  const CRect oldDown = m_rectScrollDown;
  m_rectScrollUp.SetRectEmpty();
  m_rectScrollDown.SetRectEmpty();
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (m_bScrollable) {
    // The buttons depend on where the items lie in the room the bar gets.
    m_nBarHeight = r.Height();
    if (IsScrollUpAvailable()) {
      m_rectScrollUp = CRect(r.left, r.top + b, r.right, r.top + b + m_nScrollButtonHeight);
      r.top += m_nScrollButtonHeight + b;
    }
    if (IsScrollDownAvailable()) {
      m_rectScrollDown = CRect(r.left, r.bottom - m_nScrollButtonHeight, r.right, r.bottom);
      r.bottom -= m_nScrollButtonHeight + b;
    }
  } else if (!m_bAnimationDone) {
    flags |= SWP_NOREDRAW;
    KillTimer(kScrollTimer);
    m_nScrollMode = 0;
  }
  const BOOL changed = oldUp != m_rectScrollUp || oldDown != m_rectScrollDown;
  CRect barRect;
  bar->GetWindowRect(barRect);
  ScreenToClient(barRect);
  if (!changed && !bForce && barRect == r) {
    bar->AdjustLayout();
  } else {
    bar->SetWindowPos(nullptr, r.left, r.top, r.Width(), r.Height(), flags);
    m_nBarHeight = r.Height();
  }
  if (!changed) return FALSE;
  for (const CRect& rect : {oldUp, m_rectScrollUp, oldDown, m_rectScrollDown})
    if (!rect.IsRectEmpty()) InvalidateRect(rect);
  UpdateWindow();
  return TRUE;
}

void CPlxPopupMenu::ScrollStep(CPoint ptClient) {
  CPlxPopupMenuBar* bar = GetMenuBar();
  if (CPlxToolbarMenuButton* hot = GetSelItem(); hot != nullptr && hot->IsDroppedDown()) hot->OnCancelMode();
  BOOL moved = FALSE;
  if (m_rectScrollUp.PtInRect(ptClient) && m_nScrollMode < 0 && IsScrollUpAvailable()) {
    bar->SetOffset(bar->GetOffset() - 1);
    moved = TRUE;
  } else if (m_rectScrollDown.PtInRect(ptClient) && m_nScrollMode > 0 && IsScrollDownAvailable()) {
    bar->SetOffset(bar->GetOffset() + 1);
    moved = TRUE;
  }
  if (moved) {
    bar->AdjustLocations();
    bar->Invalidate();
    AdjustScrollButtons(FALSE);
    return;
  }
  KillTimer(kScrollTimer);
  m_nScrollMode = 0;
  InvalidateRect(m_rectScrollUp);
  InvalidateRect(m_rectScrollDown);
}

// ---- shadow ----

void CPlxPopupMenu::CheckShadowFits(BOOL bNoResize) {
  CWnd* top = GetTopLevelParent();
  if (top == nullptr || top == this) return;
  if (m_nShadowSize > 0 && !m_bShadowOutsideAllowed) {
    CRect popup(m_ptLocation, CSize(m_sizeFinal.cx + m_nShadowSize, m_sizeFinal.cy + m_nShadowSize));
    if (GetExStyle() & WS_EX_LAYOUTRTL) popup.OffsetRect(-(m_sizeFinal.cx + m_nShadowSize), 0);
    CRect frame;
    top->GetWindowRect(frame);
    CRect joined;
    joined.UnionRect(popup, frame);
    if (joined != frame) {
      m_nShadowSize = 0;
      if (!bNoResize)
        SetWindowPos(nullptr, 0, 0, m_sizeFinal.cx, m_sizeFinal.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      return;
    }
  }
  top->UpdateWindow();
}

void CPlxPopupMenu::UpdateShadow(LPRECT lprectScreen) {
  const int s = m_nShadowSize;
  CWnd* top = GetTopLevelParent();
  if (s <= 0 || top == nullptr || top == this || GetSafeHwnd() == nullptr) return;
  CRect client;
  GetClientRect(client);
  CRect right(client.right - s - 1, client.top, client.right, client.bottom);
  CRect bottom(client.left, client.bottom - s - 1, client.right, client.bottom);
  if (lprectScreen != nullptr) {
    CRect area = *lprectScreen;
    ScreenToClient(area);
    right.IntersectRect(right, area);
    bottom.IntersectRect(bottom, area);
    if (right.IsRectEmpty() && bottom.IsRectEmpty()) return;
  }
  CRect window, frame;
  GetWindowRect(window);
  top->GetWindowRect(frame);
  CRect joined;
  joined.UnionRect(window, frame);
  if (m_bShadowOutsideAllowed && joined != frame) return;

  m_nShadowSize = 0;
  m_bmpShadowSave1.DeleteObject();
  m_bmpShadowSave2.DeleteObject();
  const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOSENDCHANGING;
  SetWindowPos(nullptr, 0, 0, client.Width() - s, client.Height() - s, flags);
  for (const CRect& band : {right, bottom}) {
    if (band.IsRectEmpty() || (&band == &bottom && band == right)) continue;
    CRect mapped = band;
    MapWindowPoints(top, mapped);
    top->RedrawWindow(mapped, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  top->UpdateWindow();
  m_nShadowSize = s;
  SetWindowPos(nullptr, 0, 0, client.Width(), client.Height(), flags);
  if (!right.IsRectEmpty()) InvalidateRect(right);
  if (!bottom.IsRectEmpty()) InvalidateRect(bottom);
  UpdateWindow();
}

void CPlxPopupMenu::UpdateAllShadows(LPRECT lprectScreen) {
  for (CPlxPopupMenu* popup = m_pActiveTracked; popup != nullptr; popup = popup->GetParentPopupMenu())
    popup->UpdateShadow(lprectScreen);
}
