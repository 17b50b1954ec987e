// CPlxDrawHelper: the pixel effects of the toolkit's look on one DC (lightening, greying,
// mirroring, banded gradients, the popup menus' soft shadow) and the colour arithmetic the visual
// managers use. Pixel effects copy the area into a 32-bit DIB section, work on its bytes in one
// pass and copy it back.
#pragma once

#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"

class CPlxDrawHelper : public CObject {
 public:
  explicit CPlxDrawHelper(CDC* pDC) : m_pDC(pDC) {}

  BOOL HighlightRect(CRect rect, int nPercentage = -1, COLORREF clrTransparent = (COLORREF)-1,
                     int nTolerance = 0, COLORREF clrBlend = (COLORREF)-1);
  BOOL GrayRect(CRect rect, int nPercentage = -1, COLORREF clrTransparent = (COLORREF)-1,
                COLORREF clrDisabled = (COLORREF)-1);
  void MirrorRect(CRect rect, BOOL bHorz = TRUE);
  void FillGradient(CRect rect, COLORREF colorStart, COLORREF colorFinish, BOOL bHorz = TRUE,
                    int nStartFlatPercentage = 0, int nEndFlatPercentage = 0);
  // The shadow outside the bottom edge and the right (or left) edge. With both save bitmaps
  // holding bitmaps, they are drawn back instead; given empty, they receive what the shadow covers.
  BOOL DrawShadow(CRect rect, int nDepth, int iMinBrightness = 100, int iMaxBrightness = 50,
                  CBitmap* pBmpSaveBottom = nullptr, CBitmap* pBmpSaveRight = nullptr,
                  BOOL bRightShadow = TRUE, COLORREF clrTint = (COLORREF)-1);

  static COLORREF ScaleColor(COLORREF color, int nPercent);
  static COLORREF ScaleColorChannels(COLORREF color, double kr, double kg, double kb);
  static COLORREF BlendColors(COLORREF color1, COLORREF color2, int nPercent1);
  static double HueToRGB(double m1, double m2, double h);
  static int HueToRGB360(float m1, float m2, float h);
  static COLORREF HLStoRGB(double h, double l, double s);
  static COLORREF HLStoRGB360(double h, double l, double s);
  static void RGBtoHSL(COLORREF color, double* h, double* s, double* l);

  CDC* m_pDC;
};
