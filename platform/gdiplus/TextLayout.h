// Lines of text laid out in a rectangle as a string format says: breaking at spaces, aligning,
// trimming, underlining; shared by DrawString, MeasureString and AddString.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gdiplus/Faces.h"

namespace pictavo::gdiplus {

struct PlacedGlyph {
  const Face* face;
  unsigned long index;
  double x, y;  // pen position on the baseline, world units
};

struct TextLayout {
  double em = 0;
  std::vector<PlacedGlyph> glyphs;
  std::vector<std::shared_ptr<const Face>> faces;  // keeps the glyphs' faces alive
  std::vector<Gdiplus::RectF> rules;               // underlines and strike-outs
  Gdiplus::RectF bounds;                           // what MeasureString reports
  INT codepointsFitted = 0;
  INT linesFilled = 0;
};

// Lays out `length` characters of `text` (-1: up to its terminating zero) in the family's face at
// `em` world units. A layout rectangle without width (height) leaves lines unbroken (unlimited)
// and aligns them around its x (y). A null format is the default one. False when no face exists.
bool LayOutText(const WCHAR* text, INT length, const std::string& family, int style, double em,
                const Gdiplus::RectF& layout, const Gdiplus::GpStringFormat* format, TextLayout& out);

}  // namespace pictavo::gdiplus
