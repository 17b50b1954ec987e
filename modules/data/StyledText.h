// Text drawn in a style: the letters' outlines (GDI+ paths) filled with a solid, gradient or
// texture brush, with an outline, a shadow and a glow. Text objects, text-effect samples, titles,
// credits and the theme text all go through here.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "modules/data/TextRecords.h"
#include "platform/gdiplus/GdiPlus.h"

namespace pictavo::data {

struct TextLook {
  std::string face = "Arial";
  float em = 24;      // em height in world units
  int fontStyle = 0;  // Gdiplus::FontStyle bits
  int align = 1;      // 0 left, 1 centre, 2 right
  _TextBrushStyle fill{};
  BYTE alpha = 255;
  bool shadow = false;
  float shadowDx = 0, shadowDy = 0;
  _TextBrushStyle shadowFill{};
  BYTE shadowAlpha = 255;
  bool outline = false;
  float outlineWidth = 0;
  _TextBrushStyle outlineFill{};
  bool glow = false;
  COLORREF glowColour = 0;
  float glowSize = 0;
  std::string textureFolder;  // where texture brushes find their pictures
};

// The folder of the texture pictures beside the program: texteffect/texture.
std::string TextureFolder();

// A solid brush of one colour.
_TextBrushStyle SolidFill(COLORREF colour);

// The look of a text object's style at `factor` world units per reference unit (frame width /
// 768): the record's face, size (points of a 96-dpi frame 768 units wide), flags, alignment and
// transparencies; the effect's brushes, outline and glow; the shadow when either asks for one,
// offset by the record's offsets (the effect's when those are 0).
TextLook LookOfTextFont(const _DVDImageTextFont& font, float factor);

// A brush for `rect` (a gradient runs across it, a texture starts at its corner), with its colours'
// alpha; a texture that cannot be read gives its solid colour. Null only when GDI+ fails.
std::unique_ptr<Gdiplus::Brush> MakeBrush(const _TextBrushStyle& style, const Gdiplus::RectF& rect,
                                          BYTE alpha, const std::string& textureFolder);

// Draws `text` (lines end at '\n') in `box`, each line aligned as the look says; vertically from
// the top, or centred in the box.
void DrawStyledText(Gdiplus::Graphics& graphics, std::wstring_view text, const TextLook& look,
                    const Gdiplus::RectF& box, bool centreVertically);

// The box the text's letters cover when drawn from `origin` with DrawStyledText's layout, empty
// for no text.
Gdiplus::RectF MeasureStyledText(std::wstring_view text, const TextLook& look);

}  // namespace pictavo::data
