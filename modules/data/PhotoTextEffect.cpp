#include "modules/data/PhotoTextEffect.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "modules/data/DrawSupport.h"
#include "modules/data/ImageSprite.h"
#include "modules/data/StyledText.h"
#include "modules/xml/XMLParse.h"
#include "platform/gdiplus/GdiPlus.h"
#include "platform/kernel/Unicode.h"

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
  pictavo::utf8::CopyToField(brush.szTextureFile, static_cast<LPCTSTR>(texture));
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
  pictavo::utf8::CopyToField(effect->szFaceName, static_cast<LPCTSTR>(face));
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

BOOL CPhotoTextEffect::DrawText(Gdiplus::Graphics* graphics, LPCWSTR text, const Gdiplus::Font* font,
                                const Gdiplus::PointF& origin, LPCTSTR textureFolder,
                                const _TextEffect* effect) {
  if (graphics == nullptr || text == nullptr || font == nullptr || effect == nullptr || !font->IsAvailable())
    return FALSE;
  pictavo::data::EnsureGdiplus();
  Gdiplus::FontFamily family;
  WCHAR name[LF_FACESIZE] = {};
  pictavo::data::TextLook look;
  if (font->GetFamily(&family) == Gdiplus::Ok && family.GetFamilyName(name) == Gdiplus::Ok) {
    char narrow[LF_FACESIZE * 4] = {};
    WideCharToMultiByte(CP_UTF8, 0, name, -1, narrow, sizeof narrow, nullptr, nullptr);
    look.face = narrow;
  }
  // The font's size in world units.
  float em = font->GetSize();
  switch (font->GetUnit()) {
    case Gdiplus::UnitPoint:
      em *= graphics->GetDpiY() / 72.0f;
      break;
    case Gdiplus::UnitInch:
      em *= graphics->GetDpiY();
      break;
    case Gdiplus::UnitMillimeter:
      em *= graphics->GetDpiY() / 25.4f;
      break;
    default:
      break;
  }
  look.em = std::max(1.0f, em);
  look.fontStyle = font->GetStyle();
  look.align = 0;
  look.fill = effect->brush;
  look.shadow = effect->bShadow != 0;
  look.shadowDx = look.shadowDy = static_cast<float>(effect->nShadowOffset);
  look.shadowFill = effect->shadowBrush;
  look.outline = effect->bOutline && effect->nOutlineWidth > 0;
  look.outlineWidth = static_cast<float>(effect->nOutlineWidth);
  look.outlineFill = effect->outlineBrush;
  look.glow = effect->bGlow && effect->nGlowSize > 0;
  look.glowColour = effect->clrGlow;
  look.glowSize = static_cast<float>(effect->nGlowSize);
  look.textureFolder = textureFolder != nullptr ? textureFolder : "";
  pictavo::data::DrawStyledText(*graphics, text, look, Gdiplus::RectF(origin.X, origin.Y, 0, 0), false);
  return TRUE;
}

BOOL CPhotoTextEffect::DrawText(Gdiplus::Graphics* graphics, LPCSTR text, const Gdiplus::Font* font,
                                const Gdiplus::PointF& origin, LPCTSTR textureFolder,
                                const _TextEffect* effect) {
  if (text == nullptr) return FALSE;
  const std::wstring wide = pictavo::data::Widen(text);
  return DrawText(graphics, wide.c_str(), font, origin, textureFolder, effect);
}

Gdiplus::Brush* CPhotoTextEffect::GetBrush(const Gdiplus::RectF& rect, const _TextBrushStyle* style,
                                           LPCTSTR textureFolder) {
  if (style == nullptr) return nullptr;
  return pictavo::data::MakeBrush(*style, rect, 255, textureFolder != nullptr ? textureFolder : "").release();
}
