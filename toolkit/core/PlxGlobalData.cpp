#include "toolkit/core/PlxGlobalData.h"

#include "toolkit/core/PlxMenuGlyphs.h"

#include "platform/base/SysColors.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Paint.h"

PlxGlobalData g_plxGlobalData;

void PlxRecreateSolid(CBrush& brush, COLORREF color) {
  brush.DeleteObject();
  brush.CreateSolidBrush(color);
}

void PlxRecreateSolid(CPen& pen, COLORREF color) {
  pen.DeleteObject();
  pen.CreatePen(PS_SOLID, 1, color);
}

PlxGlobalData::PlxGlobalData() {
  UpdateSysColors();
}

void PlxGlobalData::UpdateSysColors() {
  bIsBlackHighContrast = GetSysColor(COLOR_3DLIGHT) == RGB(255, 255, 255) && GetSysColor(COLOR_BTNFACE) == 0;
  bIsWhiteHighContrast =
      GetSysColor(COLOR_3DDKSHADOW) == 0 && GetSysColor(COLOR_BTNFACE) == RGB(255, 255, 255);

  if (HDC screen = GetDC(nullptr)) {
    nBitsPerPixel = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
  }

  clrBtnFace = clrBarFace = GetSysColor(COLOR_BTNFACE);
  clrBtnShadow = clrBarShadow = GetSysColor(COLOR_BTNSHADOW);
  clrBtnHilite = clrBarHilite = GetSysColor(COLOR_BTNHIGHLIGHT);
  clrBtnText = clrBarText = GetSysColor(COLOR_BTNTEXT);
  clrBtnDkShadow = clrBarDkShadow = GetSysColor(COLOR_3DDKSHADOW);
  clrBtnLight = clrBarLight = GetSysColor(COLOR_3DLIGHT);
  clrWindowFrame = GetSysColor(COLOR_WINDOWFRAME);
  clrGrayedText = GetSysColor(COLOR_GRAYTEXT);
  clrHilite = GetSysColor(COLOR_HIGHLIGHT);
  clrTextHilite = GetSysColor(COLOR_HIGHLIGHTTEXT);
  clrWindow = clrBarWindow = GetSysColor(COLOR_WINDOW);
  clrWindowText = GetSysColor(COLOR_WINDOWTEXT);
  clrCaptionText = GetSysColor(COLOR_CAPTIONTEXT);
  clrMenuText = GetSysColor(COLOR_MENUTEXT);
  clrActiveCaption = GetSysColor(COLOR_ACTIVECAPTION);
  clrInactiveCaption = GetSysColor(COLOR_INACTIVECAPTION);
  clrInactiveCaptionText = GetSysColor(COLOR_INACTIVECAPTIONTEXT);
  clrActiveBorder = GetSysColor(COLOR_ACTIVEBORDER);
  clrInactiveBorder = GetSysColor(COLOR_INACTIVEBORDER);
  // The desktop here has caption gradients and the newer link colours.
  clrActiveCaptionGradient = GetSysColor(COLOR_GRADIENTACTIVECAPTION);
  clrInactiveCaptionGradient = GetSysColor(COLOR_GRADIENTINACTIVECAPTION);
  if (bIsBlackHighContrast) {
    clrHotText = clrHotLinkText = clrWindowText;
  } else {
    clrHotText = GetSysColor(COLOR_HOTLIGHT);
    clrHotLinkText = RGB(0, 0, 255);
  }

  hbrBtnHilite = GetSysColorBrush(COLOR_BTNHIGHLIGHT);
  hbrBtnShadow = GetSysColorBrush(COLOR_BTNSHADOW);
  hbrWindow = GetSysColorBrush(COLOR_WINDOW);

  PlxRecreateSolid(brBtnFace, clrBtnFace);
  PlxRecreateSolid(brBarFace, clrBarFace);
  PlxRecreateSolid(brActiveCaption, clrActiveCaption);
  PlxRecreateSolid(brInactiveCaption, clrInactiveCaption);
  PlxRecreateSolid(brHilite, clrHilite);
  PlxRecreateSolid(brBtnDkShadow, clrBtnDkShadow);
  PlxRecreateSolid(brWindow, clrWindow);
  PlxRecreateSolid(penHilite, clrHilite);
  PlxRecreateSolid(penBarFace, clrBarFace);
  PlxRecreateSolid(penBarShadow, clrBarShadow);

  brLight.DeleteObject();
  if (nBitsPerPixel > 8) {
    auto half = [](int face, int hilite) { return face + (hilite - face) / 2; };
    brLight.CreateSolidBrush(RGB(half(GetRValue(clrBtnFace), GetRValue(clrBtnHilite)),
                                 half(GetGValue(clrBtnFace), GetGValue(clrBtnHilite)),
                                 half(GetBValue(clrBtnFace), GetBValue(clrBtnHilite))));
  } else {
    // A checkerboard of face and highlight where the screen cannot show the blend.
    static const WORD kRows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    CBitmap pattern;
    if (pattern.CreateBitmap(8, 8, 1, 1, kRows)) brLight.CreatePatternBrush(&pattern);
  }
  // The glyphs were mapped to the old colours: the next use loads them again.
  CPlxMenuGlyphs::CleanUp();
}

COLORREF PlxGlobalData::GetColor(int nColor) const {
  switch (nColor) {
    case COLOR_ACTIVECAPTION:
      return clrActiveCaption;
    case COLOR_INACTIVECAPTION:
      return clrInactiveCaption;
    case COLOR_WINDOW:
      return clrWindow;
    case COLOR_WINDOWFRAME:
      return clrWindowFrame;
    case COLOR_MENUTEXT:
      return clrMenuText;
    case COLOR_WINDOWTEXT:
      return clrWindowText;
    case COLOR_CAPTIONTEXT:
      return clrCaptionText;
    case COLOR_ACTIVEBORDER:
      return clrActiveBorder;
    case COLOR_INACTIVEBORDER:
      return clrInactiveBorder;
    case COLOR_HIGHLIGHT:
      return clrHilite;
    case COLOR_HIGHLIGHTTEXT:
      return clrTextHilite;
    case COLOR_BTNFACE:
      return clrBtnFace;
    case COLOR_BTNSHADOW:
      return clrBtnShadow;
    case COLOR_GRAYTEXT:
      return clrGrayedText;
    case COLOR_BTNTEXT:
      return clrBtnText;
    case COLOR_INACTIVECAPTIONTEXT:
      return clrInactiveCaptionText;
    case COLOR_BTNHIGHLIGHT:
      return clrBtnHilite;
    case COLOR_3DDKSHADOW:
      return clrBtnDkShadow;
    case COLOR_3DLIGHT:
      return clrBtnLight;
    default:
      return GetSysColor(nColor);
  }
}
