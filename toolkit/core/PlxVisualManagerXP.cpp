#include "toolkit/core/PlxVisualManagerXP.h"

#include <algorithm>

#include "platform/gdi/GdiTypes.h"
#include "platform/mfc/Dc.h"
#include "toolkit/core/PlxDrawHelper.h"
#include "toolkit/core/PlxGlobalData.h"

IMPLEMENT_DYNCREATE(CPlxVisualManagerXP, CPlxVisualManager)

namespace {

// Per channel (a x c1 + b x c2) / 255, truncating.
COLORREF Mix255(int a, COLORREF c1, int b, COLORREF c2) {
  return RGB((a * GetRValue(c1) + b * GetRValue(c2)) / 255, (a * GetGValue(c1) + b * GetGValue(c2)) / 255,
             (a * GetBValue(c1) + b * GetBValue(c2)) / 255);
}

}  // namespace

CPlxVisualManagerXP::CPlxVisualManagerXP(BOOL bIsTemporary) : CPlxVisualManager(bIsTemporary) {
  m_bLook2000 = TRUE;
  m_nMenuShadowDepth = 4;
  m_bFlatMenuButtons = TRUE;
  m_bShadowHighlightedImage = TRUE;
  m_bEmbossDisabledImage = FALSE;
  m_bFadeInactiveImage = TRUE;
  m_nVertMargin = m_nHorzMargin = m_nGroupVertOffset = 4;
  m_nGroupCaptionHeight = m_nGroupCaptionHorzOffset = m_nGroupCaptionVertOffset = 0;
  m_nTasksHorzOffset = 12;
  m_nTasksIconHorzOffset = 5;
  m_nTasksIconVertOffset = 4;
  m_nPopupMenuBorderSize = 1;
  g_plxGlobalData.UpdateSysColors();
  OnUpdateSystemColors();
}

CPlxVisualManagerXP::~CPlxVisualManagerXP() = default;

COLORREF CPlxVisualManagerXP::GetWindowColor() const {
  return g_plxGlobalData.clrWindow;
}

void CPlxVisualManagerXP::CreateDotBrushes() {
  static const WORD kHorz[8] = {0x00FF, 0x0000, 0x00FF, 0x0000, 0x00FF, 0x0000, 0x00FF, 0x0000};
  static const WORD kVert[8] = {0x00AA, 0x00AA, 0x00AA, 0x00AA, 0x00AA, 0x00AA, 0x00AA, 0x00AA};
  for (auto [brush, rows] : {std::pair{&m_brDotsHorz, kHorz}, std::pair{&m_brDotsVert, kVert}}) {
    CBitmap bitmap;
    brush->DeleteObject();
    if (bitmap.CreateBitmap(8, 8, 1, 1, rows)) brush->CreatePatternBrush(&bitmap);
  }
}

void CPlxVisualManagerXP::OnUpdateSystemColors() {
  const PlxGlobalData& g = g_plxGlobalData;
  const COLORREF face = g.clrBarFace;
  const COLORREF window = GetWindowColor();
  const COLORREF selection = g.clrHilite;
  if (g.nBitsPerPixel > 8 && !g.bIsBlackHighContrast && !g.bIsWhiteHighContrast) {
    m_clrMenuFill = Mix255(219, window, 36, face);
    double h = 0, s = 0, l = 0;
    CPlxDrawHelper::RGBtoHSL(face, &h, &s, &l);
    double l2, s2;
    if (s < 0.1) {
      l2 = std::min(l + (1 - l) / 2, 1.0);
      s2 = s == 0 ? 0 : std::min(s + 0.1, 1.0);
    } else {
      l2 = std::min((l + 1) / 2, 1.0);
      s2 = std::min(2 * s, 1.0);
    }
    m_clrTabArea = CPlxDrawHelper::HLStoRGB(h, l2, s2);
    m_clrBarFill = Mix255(215, face, 40, window);
    m_clrTabTextDim = CPlxDrawHelper::ScaleColor(face, 55);
    m_clrRareStrip = CPlxDrawHelper::ScaleColor(m_clrBarFill, 94);
    const COLORREF mix = Mix255(77, selection, 178, m_clrMenuFill);
    double hs = 0, ss = 0, ls = 0;
    CPlxDrawHelper::RGBtoHSL(selection, &hs, &ss, &ls);
    if (ls > 0.8) {
      m_clrHotFill = CPlxDrawHelper::ScaleColor(mix, 91);
      m_clrPressedFill = CPlxDrawHelper::ScaleColor(mix, 98);
      m_clrHotFrame = CPlxDrawHelper::ScaleColor(selection, 84);
    } else {
      m_clrHotFill = CPlxDrawHelper::ScaleColor(mix, 102);
      m_clrPressedFill = CPlxDrawHelper::ScaleColor(m_clrHotFill, 87);
      m_clrHotFrame = selection;
    }
    auto sixth = [](int s1, int m) { return (s1 + 5 * m) / 6; };
    m_clrCheckedFill = CPlxDrawHelper::ScaleColor(RGB(sixth(GetRValue(selection), GetRValue(m_clrMenuFill)),
                                                      sixth(GetGValue(selection), GetGValue(m_clrMenuFill)),
                                                      sixth(GetBValue(selection), GetBValue(m_clrMenuFill))),
                                                  100);
    m_clrSeparator = CPlxDrawHelper::ScaleColorChannels(face, 0.86, 0.86, 0.86);
    m_clrPaneFrame = CPlxDrawHelper::ScaleColor(face, 108);
    m_clrMenuFrame = CPlxDrawHelper::ScaleColor(face, 55);
    m_clrGripDots = CPlxDrawHelper::ScaleColor(g.clrBarShadow, 110);
  } else {
    // Few colours or a high-contrast scheme: the system colours as they are.
    m_clrMenuFill = g.clrWindow;
    m_clrBarFill = g.clrBtnFace;
    if (g.bIsBlackHighContrast) {
      m_clrHotFill = m_clrPressedFill = m_clrCheckedFill = selection;
      m_clrRareStrip = g.clrBtnFace;
    } else {
      m_clrHotFill = m_clrPressedFill = g.clrBtnFace;
      m_clrCheckedFill = g.clrWindow;
      m_clrRareStrip = g.clrBarLight;
    }
    m_clrTabTextDim = g.clrBtnDkShadow;
    m_clrTabArea = g.clrBtnFace;
    m_clrSeparator = g.clrBtnShadow;
    m_clrPaneFrame = g.clrBtnShadow;
    m_clrMenuFrame = g.clrBtnDkShadow;
    m_clrGripDots = g.clrBtnShadow;
    m_clrHotFrame = g.bIsBlackHighContrast || g.bIsWhiteHighContrast ? g.clrBtnDkShadow : selection;
  }
  PlxRecreateSolid(m_brBarFill, m_clrBarFill);
  PlxRecreateSolid(m_brRareStrip, m_clrRareStrip);
  PlxRecreateSolid(m_brMenuFill, m_clrMenuFill);
  PlxRecreateSolid(m_brHotFill, m_clrHotFill);
  PlxRecreateSolid(m_brPressedFill, m_clrPressedFill);
  PlxRecreateSolid(m_brCheckedFill, m_clrCheckedFill);
  PlxRecreateSolid(m_brTabArea, m_clrTabArea);
  PlxRecreateSolid(m_penSeparatorLine, m_clrSeparator);
  m_clrShadowTint = (COLORREF)-1;
  m_clrPressedFrame = (COLORREF)-1;
  PlxRecreateSolid(m_penHotFrame, m_clrHotFrame);
}

void CPlxVisualManagerXP::DrawHotFrame(CDC* pDC, const CRect& rect) const {
  pDC->Draw3dRect(rect, m_clrHotFrame, m_clrHotFrame);
}

void CPlxVisualManagerXP::FillHighlightedArea(CDC* pDC, CRect rect, CBrush* pBrush, CPlxToolbarButton*) {
  pDC->FillRect(rect, pBrush);
}

void CPlxVisualManagerXP::OnFillMenuItemFrame(CDC* pDC, CRect rect) {
  pDC->FillRect(rect, &m_brBarFill);
  pDC->Draw3dRect(rect, m_clrMenuFrame, m_clrMenuFrame);
}
