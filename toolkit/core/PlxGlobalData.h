// PlxGlobalData: the process-wide record toolkit classes read when they draw: the system colours
// (a plain set and a bar set that visual managers may recolour), the brushes and pens made from
// them and the screen's colour depth. One instance, g_plxGlobalData.
#pragma once

#include "platform/mfc/GdiObjects.h"

struct PlxGlobalData {
  PlxGlobalData();

  // Re-reads the colours, the colour depth, the brushes and the pens.
  void UpdateSysColors();
  // The cached colour for the indices the record holds, else the live system colour.
  COLORREF GetColor(int nColor) const;

  HBRUSH hbrBtnHilite = nullptr;
  HBRUSH hbrBtnShadow = nullptr;
  HBRUSH hbrWindow = nullptr;

  COLORREF clrBtnFace = 0, clrBtnShadow = 0, clrBtnHilite = 0, clrBtnText = 0, clrWindowFrame = 0,
           clrBtnDkShadow = 0, clrBtnLight = 0, clrGrayedText = 0, clrHilite = 0, clrTextHilite = 0;
  COLORREF clrHotText = 0, clrHotLinkText = 0;
  COLORREF clrBarWindow = 0, clrBarFace = 0, clrBarShadow = 0, clrBarHilite = 0, clrBarDkShadow = 0,
           clrBarLight = 0, clrBarText = 0;
  COLORREF clrWindow = 0, clrWindowText = 0, clrCaptionText = 0, clrMenuText = 0, clrActiveCaption = 0,
           clrInactiveCaption = 0, clrActiveCaptionGradient = 0, clrInactiveCaptionGradient = 0,
           clrInactiveCaptionText = 0, clrActiveBorder = 0, clrInactiveBorder = 0;

  CBrush brBtnFace, brHilite, brLight, brBtnDkShadow, brActiveCaption, brInactiveCaption, brWindow, brBarFace;
  CPen penHilite, penBarFace, penBarShadow;

  int nBitsPerPixel = 32;
  BOOL bIsBlackHighContrast = FALSE;
  BOOL bIsWhiteHighContrast = FALSE;
  BOOL bAllowRichColors = TRUE;
};

extern PlxGlobalData g_plxGlobalData;

// Replaces the object's handle with a solid brush, or a one-pixel solid pen, of the colour.
void PlxRecreateSolid(CBrush& brush, COLORREF color);
void PlxRecreateSolid(CPen& pen, COLORREF color);
