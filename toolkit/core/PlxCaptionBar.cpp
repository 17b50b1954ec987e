#include "toolkit/core/PlxCaptionBar.h"

#include <algorithm>

#include "platform/mfc/FrameWnd.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManager.h"

namespace {

constexpr int kArrowWidth = 10;  // the drop-down arrow's room in a live label
constexpr int kMaxWidth = 32767;

}  // namespace

IMPLEMENT_DYNCREATE(CPlxCaptionBar, CControlBar)

BEGIN_MESSAGE_MAP(CPlxCaptionBar, CControlBar)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_NCCALCSIZE()
ON_WM_NCPAINT()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_SYSCOLORCHANGE()
ON_MESSAGE(WM_SETFONT, OnSetFont)
ON_MESSAGE(WM_GETFONT, OnGetFont)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSELEAVE()
ON_WM_RBUTTONUP()
END_MESSAGE_MAP()

CPlxCaptionBar::CPlxCaptionBar() {
  m_rectImage.SetRectEmpty();
  m_rectText.SetRectEmpty();
  m_rectDrawText.SetRectEmpty();
  m_rectButton.SetRectEmpty();
}

CPlxCaptionBar::~CPlxCaptionBar() = default;

BOOL CPlxCaptionBar::Create(DWORD dwStyle, CWnd* pParentWnd, UINT uiID, int nHeight) {
  m_dwStyle = (dwStyle & CBRS_ALL) | CBRS_ALIGN_TOP;
  m_nDefaultHeight = nHeight;
  m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
  // Every element may move when the width changes.
  LPCTSTR cls =
      AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW), nullptr);
  return CreateEx(0, cls, nullptr, (dwStyle & ~CBRS_ALL) | WS_CHILD, CRect(0, 0, 0, 0), pParentWnd, uiID);
}

// ---- content ----

void CPlxCaptionBar::SetText(const CString& strText, int nAlignment) {
  m_strText = strText;
  m_nTextAlignment = nAlignment;
  Refresh();
}

void CPlxCaptionBar::SetButton(const CString& strLabel, UINT uiCmdId, int nAlignment,
                               BOOL bHasDropDownArrow) {
  m_strBtnText = strLabel;
  m_uiBtnID = uiCmdId;
  m_nBtnAlignment = nAlignment;
  m_bBtnHasDropDownArrow = bHasDropDownArrow;
  Refresh();
}

void CPlxCaptionBar::SetButtonPressed(BOOL bPressed) {
  m_bIsBtnForcePressed = bPressed;
  RepaintButton();
}

void CPlxCaptionBar::SetIcon(HICON hIcon, int nAlignment) {
  m_hIcon = hIcon;
  m_nBmpAlignment = nAlignment;
  Refresh();
}

BOOL CPlxCaptionBar::SetBitmap(HBITMAP hBitmap, COLORREF clrTransparent, BOOL bStretch, int nAlignment) {
  m_Bmp.Clear();
  m_bStretchImage = bStretch;
  m_nBmpAlignment = nAlignment;
  BITMAP bmp{};
  BOOL bOk = FALSE;
  if (hBitmap != nullptr && ::GetObject(hBitmap, sizeof bmp, &bmp) != 0) {
    m_Bmp.SetImageSize(CSize(bmp.bmWidth, bmp.bmHeight));
    m_Bmp.SetTransparentColor(clrTransparent);
    bOk = m_Bmp.AddImage(hBitmap) >= 0;
  }
  Refresh();
  return bOk;
}

void CPlxCaptionBar::RemoveIcon() {
  m_hIcon = nullptr;
  Refresh();
}

void CPlxCaptionBar::RemoveBitmap() {
  m_Bmp.Clear();
  Refresh();
}

void CPlxCaptionBar::SetBorderSize(int nSize) {
  m_nBorderSize = std::max(nSize, 0);
  // The border is non-client: the window must measure its client area again.
  if (GetSafeHwnd() != nullptr)
    SetWindowPos(nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Refresh();
}

void CPlxCaptionBar::SetMargin(int nMargin) {
  m_nMargin = nMargin;
  Refresh();
}

void CPlxCaptionBar::SetSpacing(int nSpacing) {
  m_nHorzElementOffset = nSpacing;
  Refresh();
}

void CPlxCaptionBar::SetFlatBorder(BOOL bFlat) {
  m_bFlatBorder = bFlat;
  if (GetSafeHwnd() != nullptr) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
}

void CPlxCaptionBar::SetColors(COLORREF clrText, COLORREF clrBackground, COLORREF clrBorder) {
  m_clrBarText = clrText;
  m_clrBarBackground = clrBackground;
  m_clrBarBorder = clrBorder;
  if (GetSafeHwnd() != nullptr) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
}

void CPlxCaptionBar::Refresh() {
  AdjustLayout();
  // A new content rarely changes the bar's size, so the frame's layout alone would not show it.
  if (GetSafeHwnd() != nullptr) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

// ---- layout ----

CSize CPlxCaptionBar::CalcFixedLayout(BOOL, BOOL) {
  RecalcLayout();
  return CSize(kMaxWidth, m_nCurrentHeight);
}

void CPlxCaptionBar::AdjustLayout() {
  if (GetSafeHwnd() == nullptr) return;
  if (CFrameWnd* pFrame = AfxGetParentFrame(this)) pFrame->RecalcLayout(TRUE);
  RecalcLayout();
}

CFont* CPlxCaptionBar::SelectFont(CDC* pDC) {
  return m_hFont != nullptr ? pDC->SelectObject(CFont::FromHandle(m_hFont))
                            : pDC->SelectObject(&g_plxGlobalData.fontRegular);
}

CSize CPlxCaptionBar::GetImageSize() const {
  if (m_Bmp.GetCount() > 0) return m_Bmp.GetImageSize();
  if (m_hIcon == nullptr) return CSize(0, 0);
  ICONINFO info{};
  if (!::GetIconInfo(m_hIcon, &info)) return CSize(0, 0);
  BITMAP bmp{};
  if (info.hbmColor != nullptr) ::GetObject(info.hbmColor, sizeof bmp, &bmp);
  if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
  return CSize(bmp.bmWidth, bmp.bmHeight);
}

void CPlxCaptionBar::RecalcLayout() {
  CClientDC dc(nullptr);
  CFont* pOldFont = SelectFont(&dc);
  TEXTMETRIC tm{};
  dc.GetTextMetrics(&tm);
  const CSize sizeImage = GetImageSize();
  const BOOL bHasImage = m_hIcon != nullptr || m_Bmp.GetCount() > 0;

  m_nCurrentHeight = m_nDefaultHeight != -1
                         ? m_nDefaultHeight
                         : m_nBorderSize + 2 * m_nMargin + std::max<int>(sizeImage.cy, tm.tmHeight) + 2;

  CRect rectClient;
  if (GetSafeHwnd() != nullptr) GetClientRect(rectClient);
  if (rectClient.IsRectEmpty()) {
    dc.SelectObject(pOldFont);
    return;
  }

  const int nSpacing = m_nHorzElementOffset;
  const int nCenterY = rectClient.Height() / 2;
  int nCenterX = rectClient.Width() / 2;
  int nNextLeft = rectClient.left + m_nMargin;
  int nRightLimit = rectClient.right - m_nMargin;
  BOOL bCenterImage = FALSE, bCenterButton = FALSE, bCenterText = FALSE;
  BOOL bImageRightOfButton = FALSE, bImageRightOfText = FALSE, bButtonRightOfText = FALSE;

  if (!bHasImage) m_rectImage.SetRectEmpty();
  if (m_strBtnText.IsEmpty()) m_rectButton.SetRectEmpty();
  if (bHasImage) {
    m_rectImage.top =
        sizeImage.cy < rectClient.Height() ? nCenterY - sizeImage.cy / 2 : rectClient.top + m_nMargin;
    m_rectImage.bottom = m_bStretchImage ? rectClient.bottom - m_nMargin : m_rectImage.top + sizeImage.cy;
    switch (m_nBmpAlignment) {
      case ALIGN_LEFT:
        m_rectImage.left = nNextLeft;
        m_rectImage.right = m_rectImage.left + sizeImage.cx;
        nNextLeft = m_rectImage.right + nSpacing;
        break;
      case ALIGN_RIGHT:
        m_rectImage.right = nRightLimit;
        m_rectImage.left = m_rectImage.right - sizeImage.cx;
        nRightLimit = m_rectImage.left - nSpacing;
        bImageRightOfButton = bImageRightOfText = TRUE;
        break;
      case ALIGN_CENTER:
        bCenterImage = TRUE;
        nCenterX -= sizeImage.cx / 2;
        bImageRightOfButton = m_nBtnAlignment == ALIGN_LEFT;
        bImageRightOfText = m_nTextAlignment == ALIGN_LEFT;
        break;
      default:
        break;
    }
  }

  int nButtonWidth = 0;
  if (!m_strBtnText.IsEmpty()) {
    nButtonWidth = dc.GetTextExtent(m_strBtnText).cx + 2 * nSpacing + (IsActiveButton() ? kArrowWidth : 0);
    m_rectButton.top = rectClient.top;
    m_rectButton.bottom = rectClient.bottom;
    switch (m_nBtnAlignment) {
      case ALIGN_LEFT:
        // The first element at the left edge sits flush with it.
        m_rectButton.left = nNextLeft == rectClient.left + m_nMargin ? rectClient.left : nNextLeft;
        m_rectButton.right = m_rectButton.left + nButtonWidth;
        nNextLeft = m_rectButton.right + nSpacing;
        break;
      case ALIGN_RIGHT:
        m_rectButton.left = nRightLimit == rectClient.right - m_nMargin ? rectClient.right - nButtonWidth
                                                                        : nRightLimit - nButtonWidth;
        m_rectButton.right = m_rectButton.left + nButtonWidth;
        nRightLimit = m_rectButton.left - nSpacing;
        bButtonRightOfText = TRUE;
        break;
      case ALIGN_CENTER:
        bCenterButton = TRUE;
        nCenterX -= nButtonWidth / 2;
        bButtonRightOfText = m_nTextAlignment == ALIGN_LEFT;
        break;
      default:
        dc.SelectObject(pOldFont);
        return;
    }
  }

  int nTextWidth = 0;
  if (m_strText.IsEmpty()) m_rectText = m_rectDrawText = CRect(0, 0, 0, 0);
  if (!m_strText.IsEmpty()) {
    CRect rectMeasure = rectClient;
    dc.DrawText(m_strText, rectMeasure, DT_CALCRECT | DT_VCENTER | DT_NOPREFIX);
    nTextWidth = rectMeasure.Width();
    m_rectText.top = nCenterY - rectMeasure.Height() / 2;
    m_rectText.bottom = m_rectText.top + rectMeasure.Height();
    switch (m_nTextAlignment) {
      case ALIGN_LEFT:
        m_rectText.left = nNextLeft;
        break;
      case ALIGN_RIGHT:
        m_rectText.left = nRightLimit - nTextWidth;
        break;
      case ALIGN_CENTER:
        bCenterText = TRUE;
        nCenterX -= nTextWidth / 2;
        break;
      default:
        dc.SelectObject(pOldFont);
        return;
    }
    m_rectText.right = m_rectText.left + nTextWidth;
    CheckRectangle(m_rectText, rectClient, FALSE);
    m_rectDrawText = m_rectText;
  }

  // The centred ones form one group in the order image, label, text.
  if (bCenterImage) {
    m_rectImage.left = nCenterX;
    m_rectImage.right = m_rectImage.left + sizeImage.cx;
    nCenterX = m_rectImage.right + nSpacing;
  }
  if (bCenterButton) {
    m_rectButton.left = nCenterX;
    m_rectButton.right = m_rectButton.left + nButtonWidth;
    nCenterX = m_rectButton.right + nSpacing;
  }
  if (bCenterText) {
    m_rectText.left = nCenterX;
    m_rectText.right = m_rectText.left + nTextWidth;
    CheckRectangle(m_rectText, rectClient, FALSE);
    m_rectDrawText = m_rectText;
  }

  if (bHasImage) CheckRectangle(m_rectImage, rectClient, !m_bStretchImage);

  CRect rectButtonCopy = m_rectButton;
  if (!m_strBtnText.IsEmpty()) {
    if (bHasImage) AdjustRectToMargin(rectButtonCopy, m_rectImage, bImageRightOfButton);
    CheckRectangle(rectButtonCopy, rectClient, FALSE);
  }
  if (!m_strText.IsEmpty()) {
    if (bHasImage) AdjustRectToMargin(m_rectDrawText, m_rectImage, bImageRightOfText);
    if (!m_strBtnText.IsEmpty()) AdjustRectToMargin(m_rectDrawText, rectButtonCopy, bButtonRightOfText);
  }
  dc.SelectObject(pOldFont);
}

void CPlxCaptionBar::CheckRectangle(CRect& rectSrc, const CRect& rectOther, BOOL bKeepSize) const {
  const int nWidth = rectSrc.Width();
  if (rectSrc.left < rectOther.left + m_nMargin) {
    rectSrc.left = rectOther.left + m_nMargin;
    if (bKeepSize) rectSrc.right = rectSrc.left + nWidth;
  }
  if (rectSrc.right > rectOther.right - m_nMargin) {
    rectSrc.right = rectOther.right - m_nMargin;
    if (bKeepSize) rectSrc.left = rectSrc.right - nWidth;
  }
}

void CPlxCaptionBar::AdjustRectToMargin(CRect& rectSrc, const CRect& rectOther, BOOL bHide) const {
  if (rectSrc.IsRectEmpty() || rectOther.IsRectEmpty()) return;
  CRect o = rectOther;
  o.InflateRect(m_nHorzElementOffset, m_nHorzElementOffset);
  auto within = [&](int x) { return x >= o.left && x <= o.right; };
  if (within(rectSrc.left)) rectSrc.left = o.right;
  if (within(rectSrc.right)) rectSrc.right = o.left;
  const int nLeftAfterMove = rectSrc.left;
  if (within(rectSrc.left) && rectSrc.right <= o.right) rectSrc.right = rectSrc.left;
  if (rectSrc.left <= o.left && rectSrc.right >= o.right) {
    if (bHide)
      rectSrc.right = o.left;
    else
      rectSrc.left = o.right;
  }
  // What ended up on the wrong side of the other element is not shown.
  if (bHide ? nLeftAfterMove >= o.right : rectSrc.right <= o.left) rectSrc.left = rectSrc.right;
}

// ---- drawing ----

void CPlxCaptionBar::OnDrawBackground(CDC* pDC, CRect rect) {
  CPlxVisualManager::GetInstance()->OnFillBarBackground(pDC, this, rect, rect, FALSE);
}

void CPlxCaptionBar::OnDrawBorder(CDC* pDC, CRect rect) {
  const PlxGlobalData& g = g_plxGlobalData;
  rect.InflateRect(2, 0);
  if (m_clrBarBorder == (COLORREF)-1) {
    pDC->FillRect(rect, &g_plxGlobalData.brBarFace);
  } else {
    CBrush brush;
    brush.CreateSolidBrush(m_clrBarBorder);
    pDC->FillRect(rect, &brush);
  }
  if (!m_bFlatBorder) pDC->Draw3dRect(rect, g.clrBarHilite, g.clrBarShadow);
}

void CPlxCaptionBar::OnDrawText(CDC* pDC, CRect rect, const CString& strText) {
  pDC->DrawText(strText, rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void CPlxCaptionBar::OnDrawImage(CDC* pDC, CRect rect) {
  if (m_hIcon != nullptr) {
    ::DrawIconEx(pDC->GetSafeHdc(), rect.left, rect.top, m_hIcon, rect.Width(), rect.Height(), 0, nullptr,
                 DI_NORMAL);
  } else if (m_Bmp.GetCount() > 0) {
    PlxImageDrawState ds;
    if (!m_Bmp.PrepareDrawImage(ds, rect.Size())) return;
    m_Bmp.Draw(pDC, rect.left, rect.top, 0);
    m_Bmp.EndDrawImage(ds);
  }
}

void CPlxCaptionBar::OnDrawButton(CDC* pDC, CRect rect, const CString& strButton, BOOL bEnabled) {
  CRect rectText = rect;
  rectText.DeflateRect(m_nHorzElementOffset, 0);
  if (IsActiveButton()) rectText.right -= kArrowWidth;
  pDC->DrawText(strButton, rectText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  if (!bEnabled) return;

  CRect rectArrow(rectText.right, 0, rect.right, rect.bottom - m_nMargin);
  rectArrow.top = rectArrow.bottom - kArrowWidth;
  const int nCenter = (rectArrow.left + rectArrow.right) / 2;
  const int nThird = rectArrow.Height() / 3;
  rectArrow.DeflateRect(0, nThird);
  const int nNewThird = rectArrow.Height() / 3;
  rectArrow.DeflateRect(nNewThird, nNewThird);
  const int h = rectArrow.Height();
  const POINT triangle[] = {
      {nCenter - h - 1, rectArrow.top}, {nCenter + h + 1, rectArrow.top}, {nCenter, rectArrow.bottom + 1}};
  CBrush brush;
  brush.CreateSolidBrush(pDC->GetTextColor());
  CBrush* pOldBrush = pDC->SelectObject(&brush);
  CGdiObject* pOldPen = pDC->SelectStockObject(NULL_PEN);
  const int nOldFill = pDC->SetPolyFillMode(WINDING);
  pDC->Polygon(triangle, 3);
  pDC->SetPolyFillMode(nOldFill);
  pDC->SelectObject(pOldPen);
  pDC->SelectObject(pOldBrush);

  const PlxGlobalData& g = g_plxGlobalData;
  if (m_bIsBtnPressed || m_bIsBtnForcePressed)
    pDC->Draw3dRect(rect, g.clrBarDkShadow, g.clrBarHilite);
  else if (m_bIsBtnHighlighted)
    pDC->Draw3dRect(rect, g.clrBarHilite, g.clrBarDkShadow);
}

void CPlxCaptionBar::RepaintButton() {
  if (GetSafeHwnd() == nullptr) return;
  InvalidateRect(m_rectButton);
  UpdateWindow();
}

// ---- messages ----

int CPlxCaptionBar::OnCreate(LPCREATESTRUCT) {
  if (Default() == -1) return -1;
  SetWindowText("Caption Bar");
  return 0;
}

void CPlxCaptionBar::OnSize(UINT, int, int) {
  Default();
  RecalcLayout();
}

void CPlxCaptionBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
  lpncsp->rgrc[0].top += m_nBorderSize;
  lpncsp->rgrc[0].bottom -= m_nBorderSize;
}

void CPlxCaptionBar::OnNcPaint() {
  CWindowDC dc(this);
  CRect rectClient;
  GetClientRect(rectClient);
  CRect rectWindow;
  GetWindowRect(rectWindow);
  ScreenToClient(rectWindow);
  rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
  dc.ExcludeClipRect(rectClient);
  rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
  OnDrawBorder(
      &dc, CRect(rectWindow.left, rectWindow.bottom - m_nBorderSize, rectWindow.right, rectWindow.bottom));
  OnDrawBorder(&dc, CRect(rectWindow.left, rectWindow.top, rectWindow.right, rectWindow.top + m_nBorderSize));
}

BOOL CPlxCaptionBar::OnEraseBkgnd(CDC* pDC) {
  CRect rectClient;
  GetClientRect(rectClient);
  OnDrawBackground(pDC, rectClient);
  return TRUE;
}

void CPlxCaptionBar::OnPaint() {
  CPaintDC dc(this);
  const int nOldMode = dc.SetBkMode(TRANSPARENT);
  const COLORREF clrOldText = dc.SetTextColor(
      m_clrBarText != (COLORREF)-1 ? m_clrBarText
                                   : CPlxVisualManager::GetInstance()->GetCaptionBarTextColor(this));
  CFont* pOldFont = SelectFont(&dc);
  OnDrawButton(&dc, m_rectButton, m_strBtnText, IsActiveButton());
  OnDrawText(&dc, m_rectDrawText, m_strText);
  OnDrawImage(&dc, m_rectImage);
  dc.SelectObject(pOldFont);
  dc.SetTextColor(clrOldText);
  dc.SetBkMode(nOldMode);
}

void CPlxCaptionBar::OnSysColorChange() {}

LRESULT CPlxCaptionBar::OnSetFont(WPARAM wParam, LPARAM lParam) {
  m_hFont = reinterpret_cast<HFONT>(wParam);
  AdjustLayout();
  // The sender's redraw flag: a font of the same height changes no layout that would repaint.
  if (LOWORD(lParam) != 0) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
  return 0;
}

LRESULT CPlxCaptionBar::OnGetFont(WPARAM, LPARAM) {
  return reinterpret_cast<LRESULT>(m_hFont);
}

void CPlxCaptionBar::OnMouseMove(UINT nFlags, CPoint point) {
  Default();
  if (!IsActiveButton()) return;
  const BOOL bHot = m_rectButton.PtInRect(point);
  if (bHot != m_bIsBtnHighlighted) {
    m_bIsBtnHighlighted = bHot;
    m_bIsBtnPressed = bHot && (nFlags & MK_LBUTTON) != 0;
    RepaintButton();
  }
  if (!m_bTracked) {
    m_bTracked = TRUE;
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, 0};
    ::TrackMouseEvent(&track);
  }
}

void CPlxCaptionBar::OnLButtonDown(UINT nFlags, CPoint point) {
  CControlBar::OnLButtonDown(nFlags, point);
  if (!IsActiveButton() || !m_bIsBtnHighlighted) return;
  m_bIsBtnPressed = TRUE;
  RepaintButton();
  CWnd* pOwner = GetBarOwner();
  if (pOwner == nullptr) pOwner = GetParent();
  // Sent: the command has run when the press is done.
  if (pOwner != nullptr) pOwner->SendMessage(WM_COMMAND, m_uiBtnID, 0);
}

void CPlxCaptionBar::OnLButtonUp(UINT, CPoint) {
  if (m_bIsBtnPressed) {
    m_bIsBtnPressed = FALSE;
    RepaintButton();
  }
  Default();
}

void CPlxCaptionBar::OnMouseLeave() {
  m_bTracked = FALSE;
  if (m_bIsBtnPressed || m_bIsBtnHighlighted) {
    m_bIsBtnPressed = m_bIsBtnHighlighted = FALSE;
    RepaintButton();
  }
}

void CPlxCaptionBar::OnRButtonUp(UINT, CPoint point) {
  if (CPlxToolBar::m_bCustomizeMode) {
    Default();
    return;
  }
  ClientToScreen(&point);
  CWnd* pOwner = GetBarOwner();
  if (pOwner == nullptr) pOwner = GetParent();
  if (pOwner != nullptr)
    pOwner->SendMessage(PLX_WM_TOOLBARMENU, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(point.x, point.y));
}
