#include "modules/data/StyledText.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "modules/data/DVDProject.h"
#include "modules/data/DrawSupport.h"
#include "modules/image/CxImage.h"
#include "platform/kernel/Path.h"

namespace pictavo::data {
namespace {

// Points of the 768-unit reference frame, which stands for a 96-dpi screen that wide.
constexpr float kPixelsPerPoint = 96.0f / 72.0f;

BYTE AlphaOfTransparency(int percent) {
  return static_cast<BYTE>(std::lround(255.0 * (100 - std::clamp(percent, 0, 100)) / 100.0));
}

std::string FaceOf(const char* face, size_t size) {
  const std::string name(face, strnlen(face, size));
  return name.empty() ? std::string("Arial") : name;
}

class Family {
 public:
  explicit Family(const std::string& face) : m_own(Widen(face).c_str()) {}
  const Gdiplus::FontFamily* Get() const {
    return m_own.IsAvailable() ? &m_own : Gdiplus::FontFamily::GenericSansSerif();
  }

 private:
  Gdiplus::FontFamily m_own;
};

// The letters' outlines laid out in the box.
void AddText(Gdiplus::GraphicsPath& path, std::wstring_view text, const TextLook& look,
             const Gdiplus::RectF& box, bool centreVertically) {
  const Family family(look.face);
  Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
  format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsNoClip);
  format.SetAlignment(look.align == 0   ? Gdiplus::StringAlignmentNear
                      : look.align == 2 ? Gdiplus::StringAlignmentFar
                                        : Gdiplus::StringAlignmentCenter);
  format.SetLineAlignment(centreVertically ? Gdiplus::StringAlignmentCenter : Gdiplus::StringAlignmentNear);
  path.AddString(text.data(), static_cast<INT>(text.size()), family.Get(), look.fontStyle, look.em, box,
                 &format);
}

void FillWith(Gdiplus::Graphics& graphics, const Gdiplus::GraphicsPath& path, const _TextBrushStyle& style,
              BYTE alpha, const std::string& folder) {
  Gdiplus::RectF bounds;
  path.GetBounds(&bounds);
  if (bounds.Width <= 0 || bounds.Height <= 0) return;
  if (auto brush = MakeBrush(style, bounds, alpha, folder)) graphics.FillPath(brush.get(), &path);
}

}  // namespace

std::string TextureFolder() {
  return pictavo::path::Join(std::string(CDVDProject::GetExeFilePath().View()), "texteffect/texture");
}

_TextBrushStyle SolidFill(COLORREF colour) {
  _TextBrushStyle style{};
  style.nBrushType = 0;
  style.clrSolid = colour;
  style.clrGradient1 = colour;
  style.clrGradient2 = colour;
  style.nGradientAngle = 90;
  return style;
}

TextLook LookOfTextFont(const _DVDImageTextFont& font, float factor) {
  const _TextEffect& effect = font.effect;
  TextLook look;
  look.face = FaceOf(font.szFaceName, sizeof font.szFaceName);
  look.em = std::max(1.0f, font.nFontSize * kPixelsPerPoint * factor);
  look.fontStyle = (font.bBold ? Gdiplus::FontStyleBold : 0) | (font.bItalic ? Gdiplus::FontStyleItalic : 0) |
                   (font.bUnderline ? Gdiplus::FontStyleUnderline : 0);
  look.align = font.nAlign < 0 ? 0 : std::clamp(font.nAlign, 0, 2);
  look.fill = effect.brush;
  look.alpha = AlphaOfTransparency(font.nTransparency);
  look.shadow = font.bShadow || effect.bShadow;
  const bool ownOffsets = font.nShadowXOffset != 0 || font.nShadowYOffset != 0;
  look.shadowDx = static_cast<float>(ownOffsets ? font.nShadowXOffset : effect.nShadowOffset) * factor;
  look.shadowDy = static_cast<float>(ownOffsets ? font.nShadowYOffset : effect.nShadowOffset) * factor;
  look.shadowFill = effect.shadowBrush;
  look.shadowAlpha = static_cast<BYTE>(look.alpha * AlphaOfTransparency(font.nShadowTransparency) / 255);
  look.outline = effect.bOutline && effect.nOutlineWidth > 0;
  look.outlineWidth = static_cast<float>(effect.nOutlineWidth) * factor;
  look.outlineFill = effect.outlineBrush;
  look.glow = effect.bGlow && effect.nGlowSize > 0;
  look.glowColour = effect.clrGlow;
  look.glowSize = static_cast<float>(effect.nGlowSize) * factor;
  look.textureFolder = TextureFolder();
  return look;
}

std::unique_ptr<Gdiplus::Brush> MakeBrush(const _TextBrushStyle& style, const Gdiplus::RectF& rect,
                                          BYTE alpha, const std::string& textureFolder) {
  EnsureGdiplus();
  if (style.nBrushType == 1 && rect.Width > 0 && rect.Height > 0) {
    // The angle turns clockwise from left-to-right; 90 runs from top to bottom.
    auto brush = std::make_unique<Gdiplus::LinearGradientBrush>(
        rect, ColorOf(style.clrGradient1, alpha), ColorOf(style.clrGradient2, alpha),
        static_cast<Gdiplus::REAL>(style.nGradientAngle));
    if (brush->GetLastStatus() == Gdiplus::Ok) return brush;
  }
  if (style.nBrushType == 2 && style.szTextureFile[0] != '\0') {
    const std::string name(style.szTextureFile, strnlen(style.szTextureFile, sizeof style.szTextureFile));
    CxImage picture;
    const std::string path = pictavo::path::ResolveNoCase(pictavo::path::Join(textureFolder, name));
    if (picture.Load(path.c_str())) {
      if (auto bitmap = BitmapOf(picture)) {
        auto brush = std::make_unique<Gdiplus::TextureBrush>(bitmap.get(), Gdiplus::WrapModeTile);
        if (brush->GetLastStatus() == Gdiplus::Ok) {
          const float scale = (style.nTextureScale > 0 ? style.nTextureScale : 100) / 100.0f;
          brush->TranslateTransform(rect.X, rect.Y);
          brush->ScaleTransform(scale, scale);
          return brush;
        }
      }
    }
  }
  const COLORREF solid = style.nBrushType == 1 ? style.clrGradient1 : style.clrSolid;
  auto brush = std::make_unique<Gdiplus::SolidBrush>(ColorOf(solid, alpha));
  return brush->GetLastStatus() == Gdiplus::Ok ? std::move(brush) : nullptr;
}

void DrawStyledText(Gdiplus::Graphics& graphics, std::wstring_view text, const TextLook& look,
                    const Gdiplus::RectF& box, bool centreVertically) {
  if (text.empty()) return;
  Gdiplus::GraphicsPath path;
  AddText(path, text, look, box, centreVertically);
  if (path.GetPointCount() == 0) return;
  if (look.glow && look.glowSize > 0) {
    // A soft halo: wide, faint strokes under narrower ones.
    for (int step = 3; step >= 1; --step) {
      Gdiplus::Pen pen(ColorOf(look.glowColour, static_cast<BYTE>(look.alpha / 4)),
                       look.glowSize * 2 * step / 3);
      pen.SetLineJoin(Gdiplus::LineJoinRound);
      graphics.DrawPath(&pen, &path);
    }
  }
  if (look.shadow && (look.shadowDx != 0 || look.shadowDy != 0)) {
    std::unique_ptr<Gdiplus::GraphicsPath> shadow(path.Clone());
    Gdiplus::Matrix shift;
    shift.Translate(look.shadowDx, look.shadowDy);
    shadow->Transform(&shift);
    FillWith(graphics, *shadow, look.shadowFill, look.shadowAlpha, look.textureFolder);
    if (look.outline) {
      Gdiplus::Pen pen(ColorOf(look.shadowFill.clrSolid, look.shadowAlpha), look.outlineWidth);
      pen.SetLineJoin(Gdiplus::LineJoinRound);
      graphics.DrawPath(&pen, shadow.get());
    }
  }
  if (look.outline && look.outlineWidth > 0) {
    Gdiplus::RectF bounds;
    path.GetBounds(&bounds);
    if (auto brush = MakeBrush(look.outlineFill, bounds, look.alpha, look.textureFolder)) {
      // Twice as wide, under the fill: the outline stands outside the letters.
      Gdiplus::Pen pen(brush.get(), look.outlineWidth * 2);
      pen.SetLineJoin(Gdiplus::LineJoinRound);
      graphics.DrawPath(&pen, &path);
    }
  }
  FillWith(graphics, path, look.fill, look.alpha, look.textureFolder);
}

Gdiplus::RectF MeasureStyledText(std::wstring_view text, const TextLook& look) {
  EnsureGdiplus();
  Gdiplus::RectF bounds;
  if (text.empty()) return bounds;
  TextLook left = look;
  left.align = 0;
  Gdiplus::GraphicsPath path;
  AddText(path, text, left, Gdiplus::RectF(0, 0, 0, 0), false);
  path.GetBounds(&bounds);
  return bounds;
}

}  // namespace pictavo::data
