// CPlxMenuGlyphs: the toolkit's small symbols (arrows, check mark, radio dot, caption buttons,
// chevrons) in 9 x 9 cells, named by cell index, drawn in the button text colour.
#pragma once

#include "platform/base/Geometry.h"

class CDC;

class CPlxMenuGlyphs {
 public:
  static BOOL Initialize();
  // One glyph centred in the rectangle; the odd leftover pixel goes left and up. Size (0, 0) is
  // the native 9 x 9.
  static BOOL Draw(CDC* pDC, int nGlyph, const CRect& rect, CSize size = CSize(0, 0));
  static BOOL DrawAtPoint(CDC* pDC, int nGlyph, CPoint pt, CSize size = CSize(0, 0));
  static void CleanUp();
  static CSize GetSize() { return CSize(9, 9); }
};
