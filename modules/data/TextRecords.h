// Text styles: the brush that fills letters, the text-effect style and the text style record of
// text objects and of the TextFont settings. The program copies these records whole.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/base/WinTypes.h"

// How letters are filled.
struct _TextBrushStyle {
  int32_t nBrushType;  // 0 solid colour, 1 linear gradient, 2 texture
  COLORREF clrSolid;
  COLORREF clrGradient1;
  COLORREF clrGradient2;
  int32_t nGradientAngle;   // degrees; the brush dialog sets 90 (top to bottom)
  int32_t nTextureScale;    // percent of the texture's own size; 0 means 100
  char szTextureFile[260];  // a file name in the texture folder
};
static_assert(sizeof(_TextBrushStyle) == 284);

// A text-effect style of the effect list (texteffect/effect_list.xml).
struct _TextEffect {
  char szFaceName[260];
  int32_t nFontSize;  // points
  int32_t bBold;
  int32_t bItalic;
  int32_t bUnderline;
  _TextBrushStyle brush;
  int32_t bShadow;
  _TextBrushStyle shadowBrush;  // fills the shadow
  int32_t nShadowOffset;        // pixels at 768 units across, down and right
  int32_t bOutline;
  int32_t nOutlineWidth;
  _TextBrushStyle outlineBrush;
  int32_t bGlow;
  COLORREF clrGlow;
  int32_t nGlowSize;
  int32_t nReserved[147];
};
static_assert(sizeof(_TextEffect) == 1744);
static_assert(offsetof(_TextEffect, brush) == 276);
static_assert(offsetof(_TextEffect, bShadow) == 560);
static_assert(offsetof(_TextEffect, nShadowOffset) == 848);

// The style of a text object.
struct _DVDImageTextFont {
  char szFaceName[260];
  COLORREF clrText;
  int32_t nFontSize;  // points at the 768-unit reference frame
  int32_t bShadow;
  COLORREF clrShadow;
  int32_t nShadowXOffset;
  int32_t nShadowYOffset;
  int32_t nAlign;  // 0 left, 1 centre, 2 right, -1 none
  int32_t bBold;
  int32_t bItalic;
  int32_t bUnderline;
  int32_t nWidth;               // character width, 0 for the face's own
  int32_t nHeight;              // line height, 0 for the size's own
  int32_t nTransparency;        // percent
  int32_t nShadowTransparency;  // percent
  _TextEffect effect;
  int32_t nEffectIndex;  // list index of the style chosen last, -1 none
};
static_assert(sizeof(_DVDImageTextFont) == 2064);
static_assert(offsetof(_DVDImageTextFont, nWidth) == 300);
static_assert(offsetof(_DVDImageTextFont, effect) == 316);
static_assert(offsetof(_DVDImageTextFont, nEffectIndex) == 2060);
