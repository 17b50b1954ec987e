#include "toolkit/core/PlxButton.h"

#include <array>

#include "platform/gdi/Gdi.h"
#include "platform/mfc/Afx.h"
#include "platform/res/Resources.h"
#include "platform/user/User.h"
#include "toolkit/core/PlxDrawHelper.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxVisualManager.h"

BOOL PlxDrawOffscreen = TRUE;

namespace {
constexpr UINT_PTR kAutoRepeatTimer = 1;

// The parent's background under the child: its erase-background message with the origin moved
// to the child (no desktop theme paints parent backgrounds here).
BOOL PaintParentBackground(CWnd* pWnd, CDC* pDC) {
  CWnd* pParent = pWnd->GetParent();
  if (pParent == nullptr) return FALSE;
  CRect rect;
  pWnd->GetClientRect(rect);
  pWnd->MapWindowPoints(pParent, rect);
  const int nSaved = pDC->SaveDC();
  CRect rectClip;
  pWnd->GetClientRect(rectClip);
  pDC->IntersectClipRect(rectClip);
  CPoint ptOld;
  ::OffsetWindowOrgEx(pDC->GetSafeHdc(), rect.left, rect.top, &ptOld);
  const BOOL bPainted = pParent->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(pDC->GetSafeHdc())) != 0;
  pDC->RestoreDC(nSaved);
  return bPainted;
}
}  // namespace

// ---- CPlxBufferedDC ----

CPlxBufferedDC::CPlxBufferedDC(CDC& dc, const CRect& rect) : m_dc(dc), m_rect(rect) {
  if (PlxDrawOffscreen && CreateCompatibleDC(&m_dc) &&
      m_bmp.CreateCompatibleBitmap(&m_dc, rect.Width(), rect.Height())) {
    m_bMemDC = TRUE;
    m_pOldBmp = SelectObject(&m_bmp);
    SetWindowOrg(rect.left, rect.top);
  } else {
    if (GetSafeHdc() != nullptr) DeleteDC();
    m_bmp.DeleteObject();
    Attach(m_dc.GetSafeHdc());
  }
}

CPlxBufferedDC::~CPlxBufferedDC() {
  if (!m_bMemDC) {
    Detach();
    return;
  }
  CRect rectClip;
  const int nClip = m_dc.GetClipBox(rectClip);
  if (nClip == SIMPLEREGION) {
    m_dc.BitBlt(rectClip.left, rectClip.top, rectClip.Width(), rectClip.Height(), this, rectClip.left,
                rectClip.top, SRCCOPY);
  } else if (nClip != NULLREGION) {
    m_dc.BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top,
                SRCCOPY);
  }
  SelectObject(m_pOldBmp);
  m_bmp.DeleteObject();
  DeleteDC();
}

// ---- CPlxButton ----

IMPLEMENT_DYNCREATE(CPlxButton, CButton)

BOOL CPlxButton::s_bWinXPTheme = FALSE;
BOOL CPlxButton::s_bThemeDetected = FALSE;

BEGIN_MESSAGE_MAP(CPlxButton, CButton)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_TIMER()
ON_WM_CANCELMODE()
ON_WM_KILLFOCUS()
ON_WM_ENABLE()
ON_WM_SETCURSOR()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_SETFONT, OnSetFont)
ON_MESSAGE(WM_GETFONT, OnGetFont)
ON_MESSAGE(BM_GETCHECK, OnGetCheck)
ON_MESSAGE(BM_SETCHECK, OnSetCheck)
ON_MESSAGE(BM_SETIMAGE, OnSetImage)
ON_MESSAGE(BM_GETIMAGE, OnGetImage)
END_MESSAGE_MAP()

CPlxButton::CPlxButton() = default;

CPlxButton::~CPlxButton() {
  ReleaseImages();
  if (m_wndToolTip.GetSafeHwnd() != nullptr) m_wndToolTip.DestroyWindow();
}

void CPlxButton::ReadStyle(DWORD dwStyle) {
  switch (dwStyle & BS_TYPEMASK) {
    case BS_CHECKBOX:
      m_bCheckButton = TRUE;
      break;
    case BS_AUTOCHECKBOX:
      m_bCheckButton = m_bAutoCheck = TRUE;
      break;
    case BS_RADIOBUTTON:
      m_bRadioButton = TRUE;
      break;
    case BS_AUTORADIOBUTTON:
      m_bRadioButton = m_bAutoCheck = TRUE;
      break;
    default:
      break;
  }
  if (m_bCheckButton || m_bRadioButton) {
    switch (dwStyle & BS_CENTER) {
      case BS_LEFT:
        m_nAlignStyle = ALIGN_LEFT;
        break;
      case BS_RIGHT:
        m_nAlignStyle = ALIGN_RIGHT;
        break;
      case BS_CENTER:
        m_nAlignStyle = ALIGN_CENTER;
        break;
      default:
        break;
    }
  }
  if (!s_bThemeDetected) {
    s_bThemeDetected = TRUE;
    // A program that carries a manifest (resource 1 of type 24) asks for themed buttons.
    if (!s_bWinXPTheme)
      s_bWinXPTheme =
          ::FindResource(AfxGetResourceHandle(), MAKEINTRESOURCE(1), MAKEINTRESOURCE(24)) != nullptr;
  }
}

void CPlxButton::PreSubclassWindow() {
  ReadStyle(GetStyle());
  ModifyStyle(BS_DEFPUSHBUTTON | BS_TYPEMASK, BS_OWNERDRAW);
  CButton::PreSubclassWindow();
}

BOOL CPlxButton::PreCreateWindow(CREATESTRUCT& cs) {
  ReadStyle(cs.style);
  cs.style = (cs.style & ~(BS_DEFPUSHBUTTON | BS_TYPEMASK)) | BS_OWNERDRAW;
  return CButton::PreCreateWindow(cs);
}

// ---- images ----

void CPlxButton::ReleaseImages() {
  m_nStdImageId = m_nStdImageDisabledId = -1;
  m_sizeImage = CSize(0, 0);
  for (CPlxButtonImages* p : {&m_Image, &m_ImageHot, &m_ImageDisabled, &m_ImageChecked, &m_ImageCheckedHot,
                              &m_ImageCheckedDisabled})
    p->Clear();
}

std::array<CPlxButtonImages*, 3> CPlxButton::ImageSet(BOOL bChecked) {
  if (bChecked) return {&m_ImageChecked, &m_ImageCheckedHot, &m_ImageCheckedDisabled};
  return {&m_Image, &m_ImageHot, &m_ImageDisabled};
}

void CPlxButton::ClearImageSet(BOOL bChecked) {
  m_nStdImageId = m_nStdImageDisabledId = -1;
  m_sizeImage = CSize(0, 0);
  for (CPlxButtonImages* pStrip : ImageSet(bChecked)) pStrip->Clear();
}

void CPlxButton::SetImageFromBitmaps(HBITMAP hBitmap, BOOL bDestroy, HBITMAP hBitmapHot, BOOL bMap3dColors,
                                     BOOL bChecked, HBITMAP hBitmapDisabled) {
  ClearImageSet(bChecked);
  const HBITMAP bitmaps[] = {hBitmap, hBitmapHot, hBitmapDisabled};
  const std::array<CPlxButtonImages*, 3> strips = ImageSet(bChecked);
  for (int i = 0; i < 3 && bitmaps[i] != nullptr; ++i) {
    BITMAP bm{};
    if (::GetObject(bitmaps[i], sizeof(BITMAP), &bm) == 0) break;
    if (i == 0) m_sizeImage = CSize(bm.bmWidth, bm.bmHeight);
    strips[i]->SetImageSize(CSize(bm.bmWidth, bm.bmHeight));
    const BOOL bLightGrey = bMap3dColors || (bm.bmBitsPixel > 8 && bm.bmBitsPixel < 32);
    strips[i]->SetTransparentColor(bLightGrey ? RGB(192, 192, 192) : ::GetSysColor(COLOR_BTNFACE));
    strips[i]->AddImage(bitmaps[i], TRUE);
  }
  if (bDestroy)
    for (HBITMAP h : bitmaps)
      if (h != nullptr) ::DeleteObject(h);
}

void CPlxButton::SetImageFromIcons(HICON hIcon, BOOL bDestroy, HICON hIconHot, BOOL bChecked,
                                   HICON hIconDisabled, BOOL bAlphaBlend) {
  ClearImageSet(bChecked);
  const HICON icons[] = {hIcon, hIconHot, hIconDisabled};
  const std::array<CPlxButtonImages*, 3> strips = ImageSet(bChecked);
  for (int i = 0; i < 3; ++i) {
    if (icons[i] == nullptr) continue;
    ICONINFO info{};
    if (!::GetIconInfo(icons[i], &info)) continue;
    BITMAP bm{};
    ::GetObject(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(BITMAP), &bm);
    if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
    m_sizeImage = CSize(bm.bmWidth, bm.bmHeight);
    strips[i]->SetImageSize(m_sizeImage);
    if (!bAlphaBlend) strips[i]->SetTransparentColor(::GetSysColor(COLOR_BTNFACE));
    strips[i]->AddIcon(icons[i], bAlphaBlend);
  }
  if (bDestroy)
    for (HICON h : icons)
      if (h != nullptr) ::DestroyIcon(h);
}

void CPlxButton::SetImageForState(UINT uiBmpResId, UINT uiBmpHotResId, BOOL bChecked, UINT uiBmpDsblResID) {
  ClearImageSet(bChecked);
  if (uiBmpResId == 0) return;
  auto load = [](UINT uiId) -> HBITMAP {
    if (uiId == 0) return nullptr;
    return static_cast<HBITMAP>(::LoadImage(AfxFindResourceHandle(MAKEINTRESOURCE(uiId), RT_BITMAP),
                                            MAKEINTRESOURCE(uiId), IMAGE_BITMAP, 0, 0,
                                            LR_CREATEDIBSECTION | LR_LOADMAP3DCOLORS));
  };
  SetImageFromBitmaps(load(uiBmpResId), TRUE, load(uiBmpHotResId), FALSE, bChecked, load(uiBmpDsblResID));
}

void CPlxButton::SetStdImage(int nGlyph, int nGlyphDisabled) {
  ReleaseImages();
  m_sizeImage = CPlxMenuGlyphs::GetSize();
  m_nStdImageId = nGlyph;
  m_nStdImageDisabledId = nGlyphDisabled;
}

void CPlxButton::SetTooltip(LPCTSTR lpszToolTipText) {
  if (lpszToolTipText == nullptr) {
    if (m_wndToolTip.GetSafeHwnd() != nullptr) m_wndToolTip.Activate(FALSE);
    return;
  }
  if (m_wndToolTip.GetSafeHwnd() == nullptr) {
    if (!m_wndToolTip.Create(nullptr, TTS_ALWAYSTIP)) return;
    m_wndToolTip.AddTool(this, lpszToolTipText);
  } else {
    m_wndToolTip.UpdateTipText(lpszToolTipText, this);
  }
  m_wndToolTip.Activate(TRUE);
}

// ---- drawing ----

void CPlxButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  CDC* pDCPaint = CDC::FromHandle(lpDIS->hDC);
  CRect rectClient;
  GetClientRect(rectClient);
  CPlxBufferedDC dc(*pDCPaint, rectClient);
  OnFillBackground(&dc, rectClient);
  OnDrawBorder(&dc, rectClient, lpDIS->itemState);
  OnDraw(&dc, rectClient, lpDIS->itemState);
  if ((lpDIS->itemState & ODS_FOCUS) && m_bDrawFocus) DrawFocusFrame(&dc, rectClient);
}

void CPlxButton::OnFillBackground(CDC* pDC, const CRect& rectClient) {
  if (m_bTransparent) {
    PaintParentBackground(this, pDC);
  } else if (m_clrFace == (COLORREF)-1) {
    pDC->FillRect(rectClient, &g_plxGlobalData.brBtnFace);
  } else {
    pDC->FillSolidRect(rectClient, m_clrFace);
  }
  if (m_bChecked && m_bHighlightChecked && !(m_bPushed && m_bHighlighted)) {
    CPlxDrawHelper helper(pDC);
    helper.HighlightRect(rectClient);
  }
}

void CPlxButton::OnDrawBorder(CDC* pDC, CRect& rectClient, UINT uiState) {
  DrawButtonFrame(pDC, rectClient, uiState);
}

void CPlxButton::DrawButtonFrame(CDC* pDC, CRect& rectClient, UINT uiState) {
  if (m_nFlatStyle == BUTTONSTYLE_NOBORDERS) {
    rectClient.DeflateRect(2, 2);
    return;
  }
  const BOOL bThemed = IsThemeDrawable() &&
                       CPlxVisualManager::GetInstance()->DrawPushButtonWinXP(pDC, rectClient, this, uiState);
  const PlxGlobalData& g = g_plxGlobalData;
  if ((m_bPushed && m_bHighlighted) || (uiState & ODS_SELECTED) || m_bChecked) {
    if (bThemed) {
      rectClient.DeflateRect(2, 2);
    } else {
      pDC->Draw3dRect(rectClient, g.clrBtnDkShadow, g.clrBtnHilite);
      rectClient.DeflateRect(1, 1);
      if (m_nFlatStyle != BUTTONSTYLE_FLAT) {
        pDC->Draw3dRect(rectClient, g.clrBtnShadow, g.clrBtnLight);
      }
      rectClient.DeflateRect(1, 1);
    }
    if (!IsThemeDrawable()) {
      rectClient.left += m_sizePushOffset.cx;
      rectClient.top += m_sizePushOffset.cy;
    }
  } else if (bThemed || (m_nFlatStyle == BUTTONSTYLE_FLAT && !m_bHighlighted)) {
    rectClient.DeflateRect(2, 2);
  } else {
    pDC->Draw3dRect(rectClient, g.clrBtnHilite, g.clrBtnDkShadow);
    rectClient.DeflateRect(1, 1);
    if (m_nFlatStyle == BUTTONSTYLE_3D || (m_nFlatStyle == BUTTONSTYLE_SEMIFLAT && m_bHighlighted)) {
      pDC->Draw3dRect(rectClient, g.clrBtnLight, g.clrBtnShadow);
    }
    rectClient.DeflateRect(1, 1);
  }
}

void CPlxButton::DrawFocusFrame(CDC* pDC, const CRect& rectFocus) {
  CRect rect = rectFocus;
  rect.DeflateRect(1, 1);
  if (!IsThemeDrawable()) {
    const COLORREF clr = m_clrFace == (COLORREF)-1 ? g_plxGlobalData.clrBtnFace : m_clrFace;
    rect.DeflateRect(1, 1);
    pDC->Draw3dRect(rect, clr, clr);
  }
  pDC->DrawFocusRect(rect);
}

CFont* CPlxButton::SelectCaptionFont(CDC* pDC) {
  HGDIOBJ hFont = m_hFont != nullptr ? static_cast<HGDIOBJ>(m_hFont) : ::GetStockObject(DEFAULT_GUI_FONT);
  return CFont::FromHandle(static_cast<HFONT>(::SelectObject(pDC->GetSafeHdc(), hFont)));
}

void CPlxButton::DrawCaption(CDC* pDC, const CRect& rect, const CString& strText, UINT uiDTFlags,
                             UINT /*uiState*/) {
  CRect rectText = rect;
  pDC->DrawText(strText, rectText, uiDTFlags);
}

void CPlxButton::OnDraw(CDC* pDC, const CRect& rect, UINT uiState) {
  CString strText;
  GetWindowText(strText);
  CRect rectText = rect, rectImage = rect;
  const int nSpacing = GetImageSpacing(), nGap = GetVertGap();
  if (m_sizeImage.cx != 0) {
    if (!strText.IsEmpty()) {
      if (m_bTopImage) {
        rectImage.bottom = rectImage.top + m_sizeImage.cy + nGap;
        rectText.top = rectImage.bottom;
        rectText.bottom -= nGap;
      } else if (m_bRightImage) {
        rectText.right -= m_sizeImage.cx + nSpacing / 2;
        rectImage.left = rectText.right;
        rectImage.right -= nSpacing / 2;
      } else {
        rectText.left += nSpacing / 2 + m_sizeImage.cx;
        rectImage.left += nSpacing / 2;
        rectImage.right = rectText.left;
      }
    }
    rectImage.DeflateRect((rectImage.Width() - m_sizeImage.cx) / 2,
                          std::max<int>(0, (rectImage.Height() - m_sizeImage.cy) / 2));
  } else {
    rectImage.SetRectEmpty();
  }

  CFont* pOldFont = SelectCaptionFont(pDC);
  pDC->SetBkMode(TRANSPARENT);
  COLORREF clrText = m_clrRegular == (COLORREF)-1 ? g_plxGlobalData.clrBtnText : m_clrRegular;
  if (m_bHighlighted && m_clrHover != (COLORREF)-1) clrText = m_clrHover;

  const BOOL bMultiLine = strText.Find('\n') >= 0;
  UINT uiDTFlags = DT_END_ELLIPSIS;
  if (!bMultiLine) {
    uiDTFlags |= DT_SINGLELINE | DT_VCENTER;
  } else {
    rectText.DeflateRect(0, nGap / 2);
  }
  switch (m_nAlignStyle) {
    case ALIGN_LEFT:
      rectText.left += nSpacing / 2;
      break;
    case ALIGN_RIGHT:
      uiDTFlags |= DT_RIGHT;
      rectText.right -= nSpacing / 2;
      break;
    default:
      uiDTFlags |= DT_CENTER;
      break;
  }
  if (GetExStyle() & WS_EX_LAYOUTRTL) uiDTFlags |= DT_RTLREADING;

  const BOOL bDisabledLook = (uiState & ODS_DISABLED) && m_bGrayDisabled;
  if (m_bDelayFullTextTooltipSet) {
    const CSize sizeText = pDC->GetTextExtent(strText);
    SetTooltip(!bMultiLine && sizeText.cx > rectText.Width() ? static_cast<LPCTSTR>(strText) : nullptr);
    m_bDelayFullTextTooltipSet = FALSE;
  }
  if (bDisabledLook) {
    pDC->SetTextColor(g_plxGlobalData.clrBtnHilite);
    CRect rectShifted = rectText;
    rectShifted.OffsetRect(1, 1);
    DrawCaption(pDC, rectShifted, strText, uiDTFlags, uiState);
    pDC->SetTextColor(g_plxGlobalData.clrGrayedText);
  } else {
    pDC->SetTextColor(clrText);
  }
  DrawCaption(pDC, rectText, strText, uiDTFlags, uiState);

  if (!rectImage.IsRectEmpty()) {
    if (m_nStdImageId != -1) {
      const int nGlyph =
          (bDisabledLook && m_nStdImageDisabledId != 0) ? m_nStdImageDisabledId : m_nStdImageId;
      CPlxMenuGlyphs::DrawAtPoint(pDC, nGlyph, rectImage.TopLeft());
    } else {
      auto resolve = [&](CPlxButtonImages& normal, CPlxButtonImages& hot, CPlxButtonImages& disabled) {
        if (bDisabledLook && disabled.GetCount() > 0) return &disabled;
        if (m_bHighlighted && hot.GetCount() > 0) return &hot;
        return &normal;
      };
      CPlxButtonImages* pChecked = resolve(m_ImageChecked, m_ImageCheckedHot, m_ImageCheckedDisabled);
      CPlxButtonImages* pUnchecked = resolve(m_Image, m_ImageHot, m_ImageDisabled);
      CPlxButtonImages* pStrip = (m_bChecked && pChecked->GetCount() > 0) ? pChecked : pUnchecked;
      const BOOL bSetHasDisabled =
          pStrip == pChecked ? m_ImageCheckedDisabled.GetCount() > 0 : m_ImageDisabled.GetCount() > 0;
      if (pStrip->GetCount() > 0) {
        PlxImageDrawState ds;
        if (pStrip->PrepareDrawImage(ds)) {
          pStrip->Draw(pDC, rectImage.left, rectImage.top, 0, FALSE, bDisabledLook && !bSetHasDisabled);
          pStrip->EndDrawImage(ds);
        }
      }
    }
  }
  if (pOldFont != nullptr) ::SelectObject(pDC->GetSafeHdc(), pOldFont->GetSafeHandle());
}

CSize CPlxButton::SizeToContent(BOOL bCalcOnly) {
  CClientDC dc(this);
  CFont* pOldFont = SelectCaptionFont(&dc);
  CString strText;
  GetWindowText(strText);
  CSize sizeText(0, 0);
  if (strText.Find('\n') < 0) {
    if (!strText.IsEmpty()) sizeText = dc.GetTextExtent(strText);
  } else {
    CRect rect;
    GetClientRect(rect);
    dc.DrawText(strText, rect, DT_CALCRECT);
    sizeText = rect.Size();
  }
  if (pOldFont != nullptr) ::SelectObject(dc.GetSafeHdc(), pOldFont->GetSafeHandle());
  const int nSpacing = GetImageSpacing(), nGap = GetVertGap();
  CSize size;
  if (m_bTopImage) {
    size.cx = std::max<int>(m_sizeImage.cx, sizeText.cx) + nSpacing + (sizeText.cx > 0 ? nSpacing : 0);
    size.cy = m_sizeImage.cy + 2 * nGap + sizeText.cy + (sizeText.cy > 0 ? nGap : 0);
  } else {
    size.cx = nSpacing + m_sizeImage.cx + sizeText.cx + (sizeText.cx > 0 ? nSpacing : 0);
    size.cy = std::max<int>(m_sizeImage.cy, sizeText.cy) + 2 * nGap;
  }
  if (!bCalcOnly) SetWindowPos(nullptr, -1, -1, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return size;
}

// ---- mouse and keys ----

void CPlxButton::Repaint() {
  Invalidate();
  UpdateWindow();
}

void CPlxButton::NotifyParent() {
  CWnd* pParent = GetParent();
  if (pParent != nullptr)
    pParent->SendMessage(WM_COMMAND, GetDlgCtrlID(), reinterpret_cast<LPARAM>(GetSafeHwnd()));
}

void CPlxButton::OnMouseMove(UINT nFlags, CPoint point) {
  m_bHover = FALSE;
  const BOOL bLeftHeld = (nFlags & MK_LBUTTON) != 0;
  if (bLeftHeld || m_nFlatStyle != BUTTONSTYLE_3D || IsThemeDrawable()) {
    BOOL bRedraw = FALSE;
    CRect rectClient;
    GetClientRect(rectClient);
    if (rectClient.PtInRect(point)) {
      m_bHover = TRUE;
      if (!m_bHighlighted) {
        m_bHighlighted = TRUE;
        bRedraw = TRUE;
      }
      if (bLeftHeld && m_bClickiedInside && !m_bPushed) {
        m_bPushed = TRUE;
        bRedraw = TRUE;
      }
      if (!m_bCaptured) {
        SetCapture();
        m_bCaptured = TRUE;
        bRedraw = TRUE;
      }
    } else {
      if (bLeftHeld && m_bPushed) {
        m_bPushed = FALSE;
        bRedraw = TRUE;
      }
      if (!bLeftHeld && m_bHighlighted) {
        m_bHighlighted = FALSE;
        bRedraw = TRUE;
      }
      if (m_bCaptured && !bLeftHeld) {
        ReleaseCapture();
        m_bCaptured = FALSE;
        bRedraw = TRUE;
      }
    }
    if (bRedraw) Repaint();
  }
  CButton::OnMouseMove(nFlags, point);
}

void CPlxButton::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_bResponseOnButtonDown) {
    NotifyParent();
  } else {
    m_bPushed = m_bClickiedInside = m_bHighlighted = TRUE;
    if (!m_bCaptured) {
      SetCapture();
      m_bCaptured = TRUE;
    }
    Repaint();
    if (m_nAutoRepeatTimeDelay > 0)
      SetTimer(kAutoRepeatTimer, static_cast<UINT>(m_nAutoRepeatTimeDelay), nullptr);
  }
  CButton::OnLButtonDown(nFlags, point);
}

void CPlxButton::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kAutoRepeatTimer) {
    if (m_bPushed && m_bHighlighted) NotifyParent();
    return;
  }
  CButton::OnTimer(nIDEvent);
}

void CPlxButton::OnLButtonUp(UINT nFlags, CPoint point) {
  const BOOL bClicked = m_bPushed && m_bClickiedInside && m_bHighlighted;
  m_bPushed = m_bClickiedInside = m_bHighlighted = FALSE;
  HWND hWnd = GetSafeHwnd();
  if (bClicked && m_bAutoCheck) {
    if (m_bCheckButton) {
      m_bChecked = !m_bChecked;
    } else if (m_bRadioButton && !m_bChecked) {
      m_bChecked = TRUE;
      UncheckGroupRadios();
    }
  }
  if (m_bWasDblClk) {
    m_bWasDblClk = FALSE;
    NotifyParent();
  }
  if (!::IsWindow(hWnd)) return;  // the command closed the window
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  CButton::OnLButtonUp(nFlags, point);
  if (!::IsWindow(hWnd)) return;
  if (m_bCaptured) {
    ReleaseCapture();
    m_bCaptured = FALSE;
  }
  if (m_nAutoRepeatTimeDelay > 0) KillTimer(kAutoRepeatTimer);
  if (m_wndToolTip.GetSafeHwnd() != nullptr) {
    m_wndToolTip.Pop();
    CString strTip;
    m_wndToolTip.GetText(strTip, this);
    m_wndToolTip.UpdateTipText(strTip, this);
  }
}

void CPlxButton::OnLButtonDblClk(UINT nFlags, CPoint point) {
  m_bPushed = m_bClickiedInside = m_bHighlighted = TRUE;
  Repaint();
  CButton::OnLButtonDblClk(nFlags, point);
  m_bWasDblClk = TRUE;
}

void CPlxButton::OnCancelMode() {
  CButton::OnCancelMode();
  if (m_bCaptured) {
    ReleaseCapture();
    m_bPushed = m_bClickiedInside = m_bHighlighted = m_bCaptured = m_bHover = FALSE;
    Repaint();
  }
  if (m_nAutoRepeatTimeDelay >= 0) KillTimer(kAutoRepeatTimer);
}

void CPlxButton::OnKillFocus(CWnd* pNewWnd) {
  CButton::OnKillFocus(pNewWnd);
  if (m_bCaptured) {
    ReleaseCapture();
    m_bCaptured = FALSE;
  }
  m_bPushed = m_bClickiedInside = m_bHighlighted = m_bHover = FALSE;
  Repaint();
}

void CPlxButton::OnEnable(BOOL bEnable) {
  if (!bEnable) {
    m_bPushed = m_bClickiedInside = m_bHighlighted = FALSE;
    if (m_bCaptured) {
      ReleaseCapture();
      m_bCaptured = FALSE;
    }
  }
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  CButton::OnEnable(bEnable);
}

BOOL CPlxButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_hCursor != nullptr) {
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    CRect rectClient;
    GetClientRect(rectClient);
    if (rectClient.PtInRect(point)) {
      ::SetCursor(m_hCursor);
      return TRUE;
    }
  }
  return CButton::OnSetCursor(pWnd, nHitTest, message);
}

void CPlxButton::OnSize(UINT nType, int cx, int cy) {
  if (m_bAutoToolTip) m_bDelayFullTextTooltipSet = TRUE;
  CButton::OnSize(nType, cx, cy);
}

BOOL CPlxButton::OnEraseBkgnd(CDC* /*pDC*/) {
  return TRUE;
}

LRESULT CPlxButton::OnSetFont(WPARAM wParam, LPARAM lParam) {
  m_hFont = reinterpret_cast<HFONT>(wParam);
  if (lParam != 0) Repaint();
  return 0;
}

LRESULT CPlxButton::OnGetFont(WPARAM, LPARAM) {
  return reinterpret_cast<LRESULT>(m_hFont);
}

LRESULT CPlxButton::OnGetCheck(WPARAM, LPARAM) {
  return (m_bCheckButton || m_bRadioButton) ? (m_bChecked ? 1 : 0) : 0;
}

LRESULT CPlxButton::OnSetCheck(WPARAM wParam, LPARAM) {
  if ((m_bCheckButton || m_bRadioButton) && m_bChecked != (wParam != 0)) {
    m_bChecked = wParam != 0;
    if (m_bRadioButton && m_bChecked) UncheckGroupRadios();
    Repaint();
  }
  return 0;
}

LRESULT CPlxButton::OnSetImage(WPARAM wParam, LPARAM lParam) {
  if (wParam == IMAGE_BITMAP) {
    SetImageFromBitmaps(reinterpret_cast<HBITMAP>(lParam), FALSE, nullptr, TRUE, FALSE);
  } else if (wParam == IMAGE_ICON) {
    SetImageFromIcons(reinterpret_cast<HICON>(lParam), FALSE, nullptr, FALSE, nullptr, FALSE);
  }
  return 0;
}

LRESULT CPlxButton::OnGetImage(WPARAM wParam, LPARAM) {
  if (wParam == IMAGE_BITMAP) return reinterpret_cast<LRESULT>(m_Image.GetImageWell());
  if (wParam == IMAGE_ICON) return reinterpret_cast<LRESULT>(m_Image.ExtractIcon(0));
  return 0;
}

void CPlxButton::UncheckGroupRadios() {
  CWnd* pParent = GetParent();
  if (pParent == nullptr) return;
  for (CWnd* pWnd = pParent->GetNextDlgGroupItem(this); pWnd != nullptr && pWnd != this;
       pWnd = pParent->GetNextDlgGroupItem(pWnd)) {
    auto* pButton = pWnd->IsKindOf(RUNTIME_CLASS(CPlxButton)) ? static_cast<CPlxButton*>(pWnd) : nullptr;
    if (pButton != nullptr && pButton->m_bRadioButton && pButton->m_bChecked) {
      pButton->m_bChecked = FALSE;
      pButton->Repaint();
    }
  }
}

BOOL CPlxButton::CheckNextPrevRadioButton(BOOL bNext) {
  if (!m_bRadioButton) return FALSE;
  CWnd* pParent = GetParent();
  if (pParent == nullptr) return FALSE;
  CPlxButton* pFound = nullptr;
  for (CWnd* pWnd = pParent->GetNextDlgGroupItem(this, !bNext); pWnd != nullptr && pWnd != this;
       pWnd = pParent->GetNextDlgGroupItem(pWnd, !bNext)) {
    auto* pButton = pWnd->IsKindOf(RUNTIME_CLASS(CPlxButton)) ? static_cast<CPlxButton*>(pWnd) : nullptr;
    if (pButton != nullptr && pButton->m_bRadioButton && pButton->IsWindowVisible() &&
        pButton->IsWindowEnabled()) {
      pFound = pButton;
      break;
    }
  }
  if (pFound == nullptr || pFound == this || pFound->m_bChecked) return FALSE;
  pFound->SendMessage(BM_SETCHECK, TRUE);
  pFound->SetFocus();
  pFound->NotifyParent();
  return TRUE;
}

BOOL CPlxButton::PreTranslateMessage(MSG* pMsg) {
  if (m_wndToolTip.GetSafeHwnd() != nullptr &&
      (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_LBUTTONDOWN || pMsg->message == WM_LBUTTONUP))
    m_wndToolTip.RelayEvent(pMsg);
  if (pMsg->message == WM_KEYDOWN) {
    // No toolkit popup menu is ever open in front of a button here, so Enter always acts.
    if (pMsg->wParam == VK_RETURN) {
      NotifyParent();
      return TRUE;
    }
    if (m_bAutoCheck && GetParent() != nullptr) {
      if (pMsg->wParam == VK_SPACE && m_bCheckButton) {
        m_bChecked = !m_bChecked;
        Repaint();
        NotifyParent();
        return TRUE;
      }
      if ((pMsg->wParam == VK_LEFT || pMsg->wParam == VK_UP) && CheckNextPrevRadioButton(FALSE)) return TRUE;
      if ((pMsg->wParam == VK_RIGHT || pMsg->wParam == VK_DOWN) && CheckNextPrevRadioButton(TRUE))
        return TRUE;
    }
  }
  return CButton::PreTranslateMessage(pMsg);
}
