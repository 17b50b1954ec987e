// Laying out and drawing one line of text in a DC: the work behind TextOut, ExtTextOut and
// DrawText.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/FontEngine.h"

namespace pictavo::gdi {

struct TextRun {
  std::u32string chars;
  std::vector<int> advances;  // per code point, character extra and spacing included
  int width = 0;
};

std::shared_ptr<RealizedFont> FontOf(DeviceContext& dc);
// Advances from the font, or from `dx` (one entry per code point) when given.
TextRun LayoutRun(RealizedFont& font, std::u32string chars, int charExtra,
                  const std::vector<int>* dx = nullptr);

struct RunOptions {
  UINT align = TA_LEFT | TA_TOP;
  bool fillCells = false;      // paint the character cells in the background colour first
  const RECT* clip = nullptr;  // surface coordinates
  int underlineFrom = -1;      // an extra underline over code points [from, to)
  int underlineTo = -1;
};

// Draws the run with its reference point at (x, y) in surface coordinates, in the DC's text
// colour, honouring the font's escapement in quarter turns.
void DrawRun(DeviceContext& dc, DrawScope& scope, RealizedFont& font, const TextRun& run, int x, int y,
             const RunOptions& options);

}  // namespace pictavo::gdi
