#include "toolkit/core/PlxMenuGlyphs.h"

#include <cstdint>

#include "platform/mfc/Dc.h"
#include "toolkit/core/PlxGlobalData.h"

namespace {

// Nine rows of nine bits each, the leftmost pixel in bit 8.
using Cell = uint16_t[9];

const Cell kDown = {0, 0, 0x1FC, 0x0F8, 0x070, 0x020, 0, 0, 0};
const Cell kLeft = {0, 0x020, 0x060, 0x0E0, 0x1E0, 0x0E0, 0x060, 0x020, 0};
const Cell kUp = {0, 0, 0x020, 0x070, 0x0F8, 0x1FC, 0, 0, 0};
const Cell kRight = {0, 0x080, 0x0C0, 0x0E0, 0x0F0, 0x0E0, 0x0C0, 0x080, 0};
const Cell kCheck = {0, 0x002, 0x006, 0x10E, 0x19C, 0x1F8, 0x0F0, 0x060, 0};
const Cell kRadio = {0, 0, 0x070, 0x0F8, 0x0F8, 0x0F8, 0x070, 0, 0};
const Cell kMinimize = {0, 0, 0, 0, 0, 0, 0x0FC, 0x0FC, 0};
const Cell kRestore = {0x03E, 0x03E, 0x022, 0x1FA, 0x1FA, 0x10E, 0x108, 0x108, 0x1F8};
const Cell kClose = {0, 0x183, 0x0C6, 0x06C, 0x038, 0x06C, 0x0C6, 0x183, 0};
const Cell kChevrons = {0x044, 0x028, 0x010, 0, 0x044, 0x028, 0x010, 0, 0};

// Which cell each index shows and whether it is the disabled (grey) form.
struct Entry {
  const uint16_t* cell;
  bool disabled;
};

Entry Lookup(int nGlyph) {
  switch (nGlyph) {
    case 0:
    case 28:
      return {kDown, false};
    case 1:
      return {kDown, true};
    case 2:
      return {kLeft, false};
    case 6:
      return {kCheck, false};
    case 8:
    case 29:
      return {kMinimize, false};
    case 9:
      return {kMinimize, true};
    case 10:
    case 30:
      return {kRestore, false};
    case 11:
      return {kRestore, true};
    case 12:
    case 31:
      return {kClose, false};
    case 13:
      return {kClose, true};
    case 16:
      return {kUp, false};
    case 18:
      return {kChevrons, false};
    case 19:
      return {kRight, false};
    case 22:
      return {kRadio, false};
    default:
      return {nullptr, false};
  }
}

}  // namespace

BOOL CPlxMenuGlyphs::Initialize() {
  return TRUE;
}

void CPlxMenuGlyphs::CleanUp() {}

BOOL CPlxMenuGlyphs::DrawAtPoint(CDC* pDC, int nGlyph, CPoint pt, CSize size) {
  const Entry entry = Lookup(nGlyph);
  if (entry.cell == nullptr) return FALSE;
  const COLORREF clr = entry.disabled ? g_plxGlobalData.clrGrayedText : g_plxGlobalData.clrBtnText;
  const int cx = size.cx > 0 ? size.cx : 9, cy = size.cy > 0 ? size.cy : 9;
  for (int y = 0; y < cy; ++y)
    for (int x = 0; x < cx; ++x)
      if (entry.cell[y * 9 / cy] & (0x100 >> (x * 9 / cx))) pDC->SetPixelV(pt.x + x, pt.y + y, clr);
  return TRUE;
}

BOOL CPlxMenuGlyphs::Draw(CDC* pDC, int nGlyph, const CRect& rect, CSize size) {
  const CSize glyph = size.cx == 0 && size.cy == 0 ? GetSize() : size;
  const int ex = rect.Width() - glyph.cx, ey = rect.Height() - glyph.cy;
  return DrawAtPoint(pDC, nGlyph, CPoint(rect.left + ex / 2 + ex % 2, rect.top + ey / 2 + ey % 2), size);
}
