#include "modules/data/PhotoTextEffect.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "modules/data/ImageSprite.h"
#include "modules/xml/XMLParse.h"

namespace {

// The attributes a brush element carries (the element is `path` + "/" + child).
void ReadBrush(CXMLParse& parser, const std::string& path, _TextBrushStyle& brush) {
  int kind = brush.nBrushType;
  parser.GetElementAttribute(path.c_str(), "kind", kind);
  brush.nBrushType = std::clamp(kind, 0, 2);
  DWORD colour = brush.clrSolid;
  parser.GetElementAttributeColor(path.c_str(), "color", colour);
  brush.clrSolid = colour;
  colour = brush.clrGradient1;
  parser.GetElementAttributeColor(path.c_str(), "color1", colour);
  brush.clrGradient1 = colour;
  colour = brush.clrGradient2;
  parser.GetElementAttributeColor(path.c_str(), "color2", colour);
  brush.clrGradient2 = colour;
  int angle = brush.nGradientAngle;
  parser.GetElementAttribute(path.c_str(), "angle", angle);
  brush.nGradientAngle = angle;
  int scale = brush.nTextureScale;
  parser.GetElementAttribute(path.c_str(), "texture_scale", scale);
  brush.nTextureScale = std::max(0, scale);
  CString texture(brush.szTextureFile);
  parser.GetElementAttribute(path.c_str(), "texture", texture);
  std::memset(brush.szTextureFile, 0, sizeof brush.szTextureFile);
  std::strncpy(brush.szTextureFile, texture, sizeof brush.szTextureFile - 1);
}

void ReadInt(CXMLParse& parser, const char* path, const char* name, int32_t& field) {
  int value = field;
  if (parser.GetElementAttribute(path, name, value)) field = value;
}

}  // namespace

BOOL CPhotoTextEffect::ReadEffectFromXML(CXMLParse& parser, LPCTSTR path, _TextEffect* effect) {
  if (path == nullptr || effect == nullptr) return FALSE;
  // The element must exist: its face is required.
  CString face;
  if (!parser.GetElementAttribute(path, "face", face)) return FALSE;
  _DVDImageTextFont defaults;
  CDVDImageText::SetDefaultTextFontData(&defaults);
  *effect = defaults.effect;
  std::strncpy(effect->szFaceName, face, sizeof effect->szFaceName - 1);
  ReadInt(parser, path, "size", effect->nFontSize);
  ReadInt(parser, path, "bold", effect->bBold);
  ReadInt(parser, path, "italic", effect->bItalic);
  ReadInt(parser, path, "underline", effect->bUnderline);
  ReadInt(parser, path, "shadow", effect->bShadow);
  ReadInt(parser, path, "shadow_offset", effect->nShadowOffset);
  ReadInt(parser, path, "outline", effect->bOutline);
  ReadInt(parser, path, "outline_width", effect->nOutlineWidth);
  ReadInt(parser, path, "glow", effect->bGlow);
  ReadInt(parser, path, "glow_size", effect->nGlowSize);
  DWORD glow = effect->clrGlow;
  parser.GetElementAttributeColor(path, "glow_color", glow);
  effect->clrGlow = glow;
  const std::string base(path);
  ReadBrush(parser, base + "/brush", effect->brush);
  ReadBrush(parser, base + "/shadow_brush", effect->shadowBrush);
  ReadBrush(parser, base + "/outline_brush", effect->outlineBrush);
  effect->nFontSize = std::clamp<int32_t>(effect->nFontSize, 4, 500);
  return TRUE;
}
