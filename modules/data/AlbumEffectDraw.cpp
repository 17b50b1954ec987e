// Drawing an album's titles, credits and theme into frames.
//
// Titles and credits: the text (the settings' text, else the default text) in the settings'
// colour and size over their background colour, moved as the effect file says, the whole frame
// fading in from black and out to black. The theme: its overlay picture stretched over the frame
// and the theme text in its rectangle, made once as a transparent layer and laid over each frame.
#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "modules/data/AlbumEffect.h"
#include "modules/data/DrawSupport.h"
#include "modules/data/StyledText.h"
#include "modules/image/CxImage.h"
#include "modules/log/Log.h"
#include "modules/xml/ValueNotation.h"
#include "platform/kernel/Path.h"

namespace pictavo::data {
namespace {

constexpr float kPixelsPerPoint = 96.0f / 72.0f;

enum class Motion { kFade, kRise, kScroll };

// How a title or credit effect moves and dresses its text (README "Title and credit effects").
struct EffectStyle {
  Motion motion = Motion::kFade;
  std::string face = "DejaVu Sans";
  bool bold = true;
  bool shadow = true;
  COLORREF shadowColour = RGB(0, 0, 0);
};

EffectStyle ReadEffectStyle(const char* file, Motion fallback) {
  EffectStyle style;
  style.motion = fallback;
  if (file == nullptr || *file == '\0') return style;
  pugi::xml_document doc;
  const std::string path = pictavo::path::ResolveDataPath(file);
  const pugi::xml_parse_result parsed = doc.load_file(path.c_str());
  const pugi::xml_node root = doc.child("title_effect");
  if (!parsed || !root) {
    WriteErrorLog("Titles: %s is not a title effect; the %s effect is used", path.c_str(),
                  fallback == Motion::kScroll ? "scrolling" : "fading");
    return style;
  }
  const std::string motion = root.attribute("motion").as_string();
  if (motion == "fade") style.motion = Motion::kFade;
  if (motion == "rise") style.motion = Motion::kRise;
  if (motion == "scroll") style.motion = Motion::kScroll;
  if (const char* face = root.attribute("font").value(); *face != '\0') style.face = face;
  style.bold = root.attribute("bold").as_int(1) != 0;
  style.shadow = root.attribute("shadow").as_int(1) != 0;
  style.shadowColour =
      pictavo::xml::ParseColor(root.attribute("shadow_color").value()).value_or(RGB(0, 0, 0));
  return style;
}

std::string TextOf(const char* text, size_t size) {
  std::string out(text, strnlen(text, size));
  out.erase(std::remove(out.begin(), out.end(), '\r'), out.end());
  return out;
}

// A sequence of title or credit frames.
class TextFrames {
 public:
  TextFrames(int width, int height, int fps, const _ALBUM_TEXT_SETTINGS& settings, const std::string& text,
             Motion fallback)
      : m_count(std::max(0, settings.nDuration) * std::max(1, fps)),
        m_background(settings.clrBackground),
        m_style(ReadEffectStyle(settings.szEffectFile, fallback)) {
    m_fade = std::max(1, std::min(std::max(1, fps), m_count / 4));
    m_frame.Create(static_cast<DWORD>(width), static_cast<DWORD>(height), 24);
    const float factor = static_cast<float>(width) / 768.0f;
    TextLook look;
    look.face = m_style.face;
    look.em = std::max(1.0f, std::max(1, settings.nFontSize) * kPixelsPerPoint * factor);
    look.fontStyle = m_style.bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular;
    look.align = 1;
    look.fill = SolidFill(settings.clrFont);
    look.shadow = m_style.shadow;
    look.shadowDx = look.shadowDy = std::max(1.0f, 2 * factor);
    look.shadowFill = SolidFill(m_style.shadowColour);
    const std::wstring wide = Widen(text);
    // A scrolling text is as tall as it needs; the others fill the frame, centred.
    int layerHeight = height;
    if (m_style.motion == Motion::kScroll) {
      const Gdiplus::RectF measured = MeasureStyledText(wide, look);
      layerHeight =
          std::max(1, static_cast<int>(std::ceil(measured.Y + measured.Height + look.shadowDy + 2)));
    }
    m_layer = std::make_unique<Layer>(width, layerHeight);
    if (Gdiplus::Graphics* graphics = m_layer->Graphics())
      DrawStyledText(
          *graphics, wide, look,
          Gdiplus::RectF(0, 0, static_cast<Gdiplus::REAL>(width), static_cast<Gdiplus::REAL>(layerHeight)),
          m_style.motion != Motion::kScroll);
    m_layer->Finish();
  }

  int Count() const { return m_count; }

  BYTE* Next() {
    if (m_next >= m_count || !m_frame.IsValid()) return nullptr;
    const int f = m_next++;
    const int height = static_cast<int>(m_frame.GetHeight());
    m_frame.Fill(m_background);
    const int ramp = std::min({f, m_count - 1 - f, m_fade});
    int dy = 0;
    switch (m_style.motion) {
      case Motion::kFade:
        break;
      case Motion::kRise:
        // Up from an eighth of the frame below its place while fading in.
        dy = (height / 8) * (m_fade - std::min(f, m_fade)) / m_fade;
        break;
      case Motion::kScroll: {
        // From just below the frame to just above it over the whole effect.
        const int travel = height + m_layer->Height();
        dy = height - static_cast<int>(static_cast<int64_t>(travel) * f / std::max(1, m_count - 1));
        break;
      }
    }
    m_layer->Compose(m_frame, 0, dy);
    ScaleBrightness(m_frame, 256 * ramp / m_fade);
    return m_frame.GetBits(0);
  }

 private:
  const int m_count;
  const COLORREF m_background;
  const EffectStyle m_style;
  int m_fade = 1;  // frames of the fade in and of the fade out
  int m_next = 0;
  CxImage m_frame;
  std::unique_ptr<Layer> m_layer;
};

}  // namespace

// The drawing state of one album's effects.
class EffectFrames {
 public:
  int width = 0;
  int height = 0;
  int fps = 25;
  std::unique_ptr<TextFrames> title;
  std::unique_ptr<TextFrames> credit;
  bool themeStarted = false;
  std::vector<std::unique_ptr<Layer>> themeLayers;  // one per frame size asked for
};

void EffectFramesDeleter::operator()(EffectFrames* frames) const {
  delete frames;
}

}  // namespace pictavo::data

using pictavo::data::EffectFrames;
using pictavo::data::Layer;
using pictavo::data::Motion;
using pictavo::data::TextFrames;

CAlbumEffect::~CAlbumEffect() = default;

CAlbumEffect::CAlbumEffect(const CAlbumEffect& other)
    : m_pTheme(other.m_pTheme),
      m_strThemeName(other.m_strThemeName),
      m_title(other.m_title),
      m_themeText(other.m_themeText),
      m_credit(other.m_credit),
      m_strDefaultAlbumName(other.m_strDefaultAlbumName),
      m_strDefaultProgramName(other.m_strDefaultProgramName),
      m_strDefaultWebAddress(other.m_strDefaultWebAddress) {}

CAlbumEffect& CAlbumEffect::operator=(const CAlbumEffect& other) {
  if (this == &other) return *this;
  m_pTheme = other.m_pTheme;
  m_strThemeName = other.m_strThemeName;
  m_title = other.m_title;
  m_themeText = other.m_themeText;
  m_credit = other.m_credit;
  m_strDefaultAlbumName = other.m_strDefaultAlbumName;
  m_strDefaultProgramName = other.m_strDefaultProgramName;
  m_strDefaultWebAddress = other.m_strDefaultWebAddress;
  return *this;
}

void CAlbumEffect::Init(int width, int height, int fps) {
  m_frames.reset(new EffectFrames);
  m_frames->width = std::max(1, width);
  m_frames->height = std::max(1, height);
  m_frames->fps = std::max(1, fps);
}

BOOL CAlbumEffect::StartTitleEffect() {
  if (!m_frames || !HasTitleEffect()) return FALSE;
  std::string text = pictavo::data::TextOf(m_title.szText, sizeof m_title.szText);
  if (text.empty()) text = m_strDefaultAlbumName.View();
  m_frames->title = std::make_unique<TextFrames>(m_frames->width, m_frames->height, m_frames->fps, m_title,
                                                 text, Motion::kFade);
  return TRUE;
}

int CAlbumEffect::GetTitleFrameCount() const {
  return m_frames && m_frames->title ? m_frames->title->Count() : 0;
}

BYTE* CAlbumEffect::GetOneTitleFrame() {
  return m_frames && m_frames->title ? m_frames->title->Next() : nullptr;
}

void CAlbumEffect::StopTitleEffect() {
  if (m_frames) m_frames->title.reset();
}

BOOL CAlbumEffect::StartCreditEffect() {
  if (!m_frames || !HasCreditEffect()) return FALSE;
  std::string text = pictavo::data::TextOf(m_credit.szText, sizeof m_credit.szText);
  if (text.empty()) {
    for (const CString* line : {&m_strDefaultProgramName, &m_strDefaultWebAddress})
      if (!line->IsEmpty()) text += (text.empty() ? "" : "\n") + std::string(line->View());
  }
  m_frames->credit = std::make_unique<TextFrames>(m_frames->width, m_frames->height, m_frames->fps, m_credit,
                                                  text, Motion::kScroll);
  return TRUE;
}

int CAlbumEffect::GetCreditFrameCount() const {
  return m_frames && m_frames->credit ? m_frames->credit->Count() : 0;
}

BYTE* CAlbumEffect::GetOneCreditFrame() {
  return m_frames && m_frames->credit ? m_frames->credit->Next() : nullptr;
}

void CAlbumEffect::StopCreditEffect() {
  if (m_frames) m_frames->credit.reset();
}

BOOL CAlbumEffect::StartEffect() {
  if (!m_frames || !HasAlbumTheme()) return FALSE;
  m_frames->themeLayers.clear();
  m_frames->themeStarted = true;
  return TRUE;
}

void CAlbumEffect::StopEffect() {
  if (!m_frames) return;
  m_frames->themeLayers.clear();
  m_frames->themeStarted = false;
}

BOOL CAlbumEffect::AddEffect(CxImage* picture, int) {
  if (!m_frames || !m_frames->themeStarted || picture == nullptr || !picture->IsValid() || !HasAlbumTheme())
    return FALSE;
  const int w = static_cast<int>(picture->GetWidth());
  const int h = static_cast<int>(picture->GetHeight());
  auto& layers = m_frames->themeLayers;
  auto found = std::find_if(layers.begin(), layers.end(),
                            [&](const auto& layer) { return layer->Width() == w && layer->Height() == h; });
  if (found == layers.end()) {
    layers.push_back(MakeThemeLayer(w, h));
    found = layers.end() - 1;
  }
  (*found)->Compose(*picture);
  return TRUE;
}

std::unique_ptr<Layer> CAlbumEffect::MakeThemeLayer(int width, int height) const {
  auto layer = std::make_unique<Layer>(width, height);
  Gdiplus::Graphics* graphics = layer->Graphics();
  const _ALBUM_THEME& theme = *m_pTheme;
  if (graphics != nullptr && theme.szOverlayFile[0] != '\0') {
    CxImage overlay;
    if (overlay.Load(theme.szOverlayFile)) {
      if (auto bitmap = pictavo::data::BitmapOf(overlay))
        graphics->DrawImage(bitmap.get(), Gdiplus::RectF(0, 0, static_cast<Gdiplus::REAL>(width),
                                                         static_cast<Gdiplus::REAL>(height)));
    } else {
      WriteErrorLog("Theme %s: its overlay %s cannot be read", theme.szThemeName, theme.szOverlayFile);
    }
  }
  std::string text = pictavo::data::TextOf(m_themeText.szText, sizeof m_themeText.szText);
  if (text.empty()) text = m_strDefaultAlbumName.View();
  if (graphics != nullptr && !text.empty()) {
    // The theme's rectangle is given in a 768 x 576 frame.
    const float sx = static_cast<float>(width) / 768.0f;
    const float sy = static_cast<float>(height) / 576.0f;
    pictavo::data::TextLook look;
    look.face = std::string(theme.szFontFace, strnlen(theme.szFontFace, sizeof theme.szFontFace));
    if (look.face.empty()) look.face = "DejaVu Sans";
    look.em = std::max(1.0f, std::max(1, theme.nFontSize) * pictavo::data::kPixelsPerPoint * sx);
    look.align = theme.nTextAlign;
    look.fill = pictavo::data::SolidFill(theme.clrText);
    look.shadow = true;
    look.shadowDx = look.shadowDy = std::max(1.0f, 2 * sx);
    look.shadowFill = pictavo::data::SolidFill(RGB(0, 0, 0));
    look.shadowAlpha = 160;
    const RECT& r = theme.rcText;
    pictavo::data::DrawStyledText(
        *graphics, pictavo::data::Widen(text), look,
        Gdiplus::RectF(r.left * sx, r.top * sy, (r.right - r.left) * sx, (r.bottom - r.top) * sy), true);
  }
  layer->Finish();
  return layer;
}
