// Text-effect styles of the effect list file (texteffect/effect_list.xml): reading a style, drawing
// text in it and the brushes that fill letters.
#pragma once

#include "modules/data/TextRecords.h"
#include "platform/base/WinTypes.h"
// DrawText is the GDI's macro; the method takes its name the same way wherever it is seen.
#include "platform/gdi/Gdi.h"

class CXMLParse;

namespace Gdiplus {
class Brush;
class Font;
class Graphics;
class PointF;
class RectF;
}  // namespace Gdiplus

class CPhotoTextEffect {
 public:
  // Reads the style at `path` (an element of a parsed effect list, as "//TEXT_EFFECT/data[@id=\"8\"]")
  // into a zero-filled record. Values the element lacks keep their defaults; FALSE when the
  // element does not exist.
  static BOOL ReadEffectFromXML(CXMLParse& parser, LPCTSTR path, _TextEffect* effect);

  // Draws the text with its top-left corner at `origin`, in the font's family, size and style,
  // filled with the effect's brush, with its outline, shadow (offset down and right) and glow.
  // Texture brushes take their pictures from `textureFolder`. FALSE for missing arguments.
  static BOOL DrawText(Gdiplus::Graphics* graphics, LPCWSTR text, const Gdiplus::Font* font,
                       const Gdiplus::PointF& origin, LPCTSTR textureFolder, const _TextEffect* effect);
  static BOOL DrawText(Gdiplus::Graphics* graphics, LPCSTR text, const Gdiplus::Font* font,
                       const Gdiplus::PointF& origin, LPCTSTR textureFolder, const _TextEffect* effect);

  // A new GDI+ brush of the style over `rect` (kind 0 its solid colour, 1 a gradient from the
  // first colour to the second at the style's angle, 2 its texture from `textureFolder` at its
  // scale, the solid colour when the texture cannot be read). The caller deletes it. Null for a
  // missing style.
  static Gdiplus::Brush* GetBrush(const Gdiplus::RectF& rect, const _TextBrushStyle* style,
                                  LPCTSTR textureFolder);
};
