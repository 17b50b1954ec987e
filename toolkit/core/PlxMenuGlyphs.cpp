#include "toolkit/core/PlxMenuGlyphs.h"

#include "platform/res/Resources.h"
#include "toolkit/core/PlxButtonImages.h"
#include "toolkit/core/PlxVisualManager.h"

// Made on first use, freed by the exit list; UI thread only.
CPlxButtonImages& CPlxMenuGlyphs::Strip() {
  static CPlxButtonImages s_glyphs;
  return s_glyphs;
}

BOOL CPlxMenuGlyphs::Initialize() {
  CPlxButtonImages& strip = Strip();
  if (strip.GetImageWell() != nullptr) return TRUE;
  strip.SetImageSize(CSize(9, 9));
  if (!strip.Load(kResourceId, AfxFindResourceHandle(MAKEINTRESOURCE(kResourceId), RT_BITMAP))) return FALSE;
  if (CPlxButtonImages::IsMirrorMode()) strip.Mirror();
  if (strip.GetTransparentColor() != kTransparent) {
    strip.SetTransparentColor(kTransparent);
    strip.CreateStateImage(FALSE);
    strip.CreateStateImage(TRUE);
  }
  return TRUE;
}

BOOL CPlxMenuGlyphs::DrawAtPoint(CDC* pDC, int iImage, CPoint point, CSize sizeImage) {
  // The first manager re-reads the system colours and drops the glyphs: it is made before
  // they are loaded, not in the middle of drawing them.
  CPlxVisualManager::GetInstance();
  if (!Initialize()) return FALSE;
  CPlxButtonImages& strip = Strip();
  PlxImageDrawState ds;
  if (!strip.PrepareDrawImage(ds, sizeImage)) return FALSE;
  strip.Draw(pDC, point.x, point.y, iImage);
  return strip.EndDrawImage(ds);
}

BOOL CPlxMenuGlyphs::Draw(CDC* pDC, int iImage, const CRect& rect, CSize sizeImage) {
  CSize sizeGlyph = sizeImage;
  if (sizeGlyph == CSize(0, 0)) {
    Initialize();
    sizeGlyph = Strip().GetImageSize();
  }
  const int ex = rect.Width() - sizeGlyph.cx, ey = rect.Height() - sizeGlyph.cy;
  const CPoint point(rect.left + ex / 2 + ex % 2, rect.top + ey / 2 + ey % 2);
  return DrawAtPoint(pDC, iImage, point, sizeImage);
}

void CPlxMenuGlyphs::CleanUp() {
  CPlxButtonImages& strip = Strip();
  if (strip.GetResourceOffset(kResourceId) >= 0 || strip.GetImageWell() != nullptr) strip.Clear();
}

CSize CPlxMenuGlyphs::GetSize() {
  Initialize();
  return Strip().GetImageSize();
}
