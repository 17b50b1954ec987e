#include "platform/gdi/FontEngine.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <set>

#include "platform/base/Utf8.h"
#include "platform/gdi/MarlettGlyphs.h"

namespace pictavo::gdi {

// One FreeType face at one size. FreeType calls on a face, and on the library, happen under the
// engine lock.
class FontFace {
 public:
  ~FontFace() {
    if (face) FT_Done_Face(face);
  }
  FT_Face face = nullptr;
  bool emboldenSynthetic = false;
  bool obliqueSynthetic = false;
  bool monochrome = false;
};

namespace {

struct Alias {
  const char* name;
  const char* faces[3];
};

// Platform names and the installed faces that stand in for them, best first.
constexpr Alias kAliases[] = {
    {"Arial", {"Liberation Sans", "DejaVu Sans", nullptr}},
    {"Helvetica", {"Liberation Sans", "DejaVu Sans", nullptr}},
    {"Times New Roman", {"Liberation Serif", "DejaVu Serif", nullptr}},
    {"Times", {"Liberation Serif", "DejaVu Serif", nullptr}},
    {"MS Serif", {"Liberation Serif", "DejaVu Serif", nullptr}},
    {"Courier New", {"Liberation Mono", "DejaVu Sans Mono", nullptr}},
    {"Courier", {"Liberation Mono", "DejaVu Sans Mono", nullptr}},
    {"Fixedsys", {"Liberation Mono", "DejaVu Sans Mono", nullptr}},
    {"Terminal", {"Liberation Mono", "DejaVu Sans Mono", nullptr}},
    {"Lucida Console", {"Liberation Mono", "DejaVu Sans Mono", nullptr}},
    {"Tahoma", {"DejaVu Sans Condensed", "DejaVu Sans", "Liberation Sans"}},
    {"MS Sans Serif", {"DejaVu Sans Condensed", "DejaVu Sans", "Liberation Sans"}},
    {"Microsoft Sans Serif", {"DejaVu Sans Condensed", "DejaVu Sans", "Liberation Sans"}},
    {"MS Shell Dlg", {"DejaVu Sans Condensed", "DejaVu Sans", "Liberation Sans"}},
    {"MS Shell Dlg 2", {"DejaVu Sans Condensed", "DejaVu Sans", "Liberation Sans"}},
    {"Segoe UI", {"DejaVu Sans Condensed", "DejaVu Sans", "Liberation Sans"}},
    {"System", {"DejaVu Sans Condensed", "DejaVu Sans", "Liberation Sans"}},
    {"Verdana", {"DejaVu Sans", "Liberation Sans", nullptr}},
};

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

class FontEngine {
 public:
  static FontEngine& Get() {
    static FontEngine* engine = new FontEngine;  // used until the process ends
    return *engine;
  }

  std::mutex& Lock() { return m_lock; }

  std::shared_ptr<RealizedFont> Realize(const LOGFONTA& lf);
  std::string Map(const std::string& face, BYTE pitchAndFamily);
  std::vector<FamilyInfo> Families();
  std::shared_ptr<const Glyph> Render(RealizedFont& font, char32_t c);

 private:
  // The symbol face: square cells as high as the font, no internal leading.
  static std::shared_ptr<RealizedFont> RealizeSymbols(const LOGFONTA& lf);
  FontEngine() {
    FcInit();
    if (FT_Init_FreeType(&m_library) != 0) m_library = nullptr;
  }

  const std::set<std::string>& Installed();  // lower-case family names; lock held
  bool IsInstalled(const std::string& family) { return Installed().count(Lower(family)) != 0; }
  // Opens the file fontconfig picks for a family, weight and slant; lock held.
  std::shared_ptr<FontFace> OpenFace(const std::string& family, int weight, bool italic,
                                     std::string& actualFamily, int& actualWeight, int& actualSlant);

  std::mutex m_lock;
  FT_Library m_library = nullptr;                                   // guarded by m_lock
  std::set<std::string> m_installed;                                // guarded by m_lock
  bool m_installedRead = false;                                     // guarded by m_lock
  std::vector<FamilyInfo> m_families;                               // guarded by m_lock
  std::map<std::string, std::shared_ptr<RealizedFont>> m_realized;  // by LOGFONT bytes; guarded by m_lock
};

const std::set<std::string>& FontEngine::Installed() {
  if (m_installedRead) return m_installed;
  m_installedRead = true;
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_SPACING, FC_OUTLINE, FC_FONTFORMAT, nullptr);
  FcFontSet* set = FcFontList(nullptr, pattern, objects);
  std::map<std::string, FamilyInfo> families;
  if (set) {
    for (int i = 0; i < set->nfont; ++i) {
      FcBool outline = FcTrue;
      FcPatternGetBool(set->fonts[i], FC_OUTLINE, 0, &outline);
      if (!outline) continue;
      int spacing = FC_PROPORTIONAL;
      FcPatternGetInteger(set->fonts[i], FC_SPACING, 0, &spacing);
      FcChar8* format = nullptr;
      // fontconfig names OpenType outlines "CFF"; a family is TrueType when any file of it is.
      const bool trueType = FcPatternGetString(set->fonts[i], FC_FONTFORMAT, 0, &format) == FcResultMatch &&
                            (std::strcmp(reinterpret_cast<const char*>(format), "TrueType") == 0 ||
                             std::strcmp(reinterpret_cast<const char*>(format), "CFF") == 0);
      FcChar8* name = nullptr;
      for (int n = 0; FcPatternGetString(set->fonts[i], FC_FAMILY, n, &name) == FcResultMatch; ++n) {
        std::string family(reinterpret_cast<const char*>(name));
        m_installed.insert(Lower(family));
        FamilyInfo info{family, spacing >= FC_MONO,
                        static_cast<BYTE>(spacing >= FC_MONO ? FF_MODERN : FF_SWISS)};
        if (Lower(family).find("serif") != std::string::npos &&
            Lower(family).find("sans") == std::string::npos)
          info.family = FF_ROMAN;
        info.trueType = trueType;
        auto [it, added] = families.emplace(Lower(family), info);
        if (!added) it->second.trueType = it->second.trueType || trueType;
      }
    }
    FcFontSetDestroy(set);
  }
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  for (const Alias& alias : kAliases)
    for (const char* face : alias.faces)
      if (face && m_installed.count(Lower(face))) {
        FamilyInfo info = families[Lower(face)];
        info.standsFor = info.name;
        info.name = alias.name;
        families.emplace(Lower(alias.name), info);
        break;
      }
  for (auto& [key, info] : families) m_families.push_back(info);
  return m_installed;
}

std::string FontEngine::Map(const std::string& face, BYTE pitchAndFamily) {
  std::string key = Lower(face);
  for (const Alias& alias : kAliases) {
    if (Lower(alias.name) != key) continue;
    for (const char* candidate : alias.faces)
      if (candidate && IsInstalled(candidate)) return candidate;
  }
  if (!face.empty() && IsInstalled(face)) return face;
  BYTE family = pitchAndFamily & 0xF0;
  const char* const* chain = kAliases[10].faces;  // the dialog face
  if (family == FF_ROMAN) chain = kAliases[2].faces;
  if (family == FF_MODERN || (pitchAndFamily & 0x3) == FIXED_PITCH) chain = kAliases[5].faces;
  for (int i = 0; i < 3; ++i)
    if (chain[i] && IsInstalled(chain[i])) return chain[i];
  return "sans-serif";
}

std::shared_ptr<FontFace> FontEngine::OpenFace(const std::string& family, int weight, bool italic,
                                               std::string& actualFamily, int& actualWeight,
                                               int& actualSlant) {
  if (!m_library) return nullptr;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return nullptr;
  FcChar8* file = nullptr;
  FcChar8* name = nullptr;
  int index = 0;
  actualWeight = FC_WEIGHT_REGULAR;
  actualSlant = FC_SLANT_ROMAN;
  FcPatternGetString(match, FC_FILE, 0, &file);
  // A face lists several family names ("DejaVu Sans", "DejaVu Sans Condensed"): report the one
  // asked for when it is among them.
  FcChar8* candidate = nullptr;
  for (int n = 0; FcPatternGetString(match, FC_FAMILY, n, &candidate) == FcResultMatch; ++n) {
    if (!name) name = candidate;
    if (Lower(reinterpret_cast<const char*>(candidate)) == Lower(family)) {
      name = candidate;
      break;
    }
  }
  FcPatternGetInteger(match, FC_INDEX, 0, &index);
  FcPatternGetInteger(match, FC_WEIGHT, 0, &actualWeight);
  FcPatternGetInteger(match, FC_SLANT, 0, &actualSlant);
  auto face = std::make_shared<FontFace>();
  if (file && FT_New_Face(m_library, reinterpret_cast<const char*>(file), index, &face->face) != 0)
    face->face = nullptr;
  actualFamily = name ? reinterpret_cast<const char*>(name) : family;
  FcPatternDestroy(match);
  if (!face->face) return nullptr;
  return face;
}

std::shared_ptr<RealizedFont> FontEngine::Realize(const LOGFONTA& request) {
  LOGFONTA lf = request;
  lf.lfFaceName[LF_FACESIZE - 1] = 0;
  size_t nameLength = std::strlen(lf.lfFaceName);
  std::memset(lf.lfFaceName + nameLength, 0, LF_FACESIZE - nameLength);
  std::string key(reinterpret_cast<const char*>(&lf), sizeof lf);
  std::lock_guard lock(m_lock);
  if (auto it = m_realized.find(key); it != m_realized.end()) return it->second;
  if (IsMarlettFace(lf.lfFaceName))
    return m_realized.emplace(std::move(key), RealizeSymbols(lf)).first->second;

  int weight = lf.lfWeight == FW_DONTCARE ? FW_NORMAL : std::clamp<int>(lf.lfWeight, 1, 1000);
  bool italic = lf.lfItalic != 0;
  std::string family = Map(lf.lfFaceName, lf.lfPitchAndFamily);
  std::string actualFamily;
  int actualWeight = 0, actualSlant = 0;
  std::shared_ptr<FontFace> face = OpenFace(family, weight, italic, actualFamily, actualWeight, actualSlant);
  if (!face) return nullptr;
  face->emboldenSynthetic = weight >= FW_SEMIBOLD && actualWeight < FC_WEIGHT_DEMIBOLD;
  face->obliqueSynthetic = italic && actualSlant == FC_SLANT_ROMAN;
  face->monochrome = lf.lfQuality == NONANTIALIASED_QUALITY;

  FT_Face f = face->face;
  double upm = f->units_per_EM ? f->units_per_EM : 2048;
  const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
  double ascUnits = os2 && os2->usWinAscent ? os2->usWinAscent : f->ascender;
  double descUnits = os2 && os2->usWinDescent ? os2->usWinDescent : -f->descender;
  if (ascUnits + descUnits <= 0) ascUnits = upm * 0.9, descUnits = upm * 0.2;

  // Negative heights are the em size, positive ones the cell (ascent + descent).
  int requested = lf.lfHeight == 0 ? 16 : lf.lfHeight;
  double em;
  int ascent, descent;
  if (requested < 0) {
    em = -requested;
    ascent = static_cast<int>(std::lround(ascUnits * em / upm));
    descent = static_cast<int>(std::lround(descUnits * em / upm));
  } else {
    em = requested * upm / (ascUnits + descUnits);
    ascent = static_cast<int>(std::lround(ascUnits * requested / (ascUnits + descUnits)));
    descent = requested - ascent;
  }
  em = std::clamp(em, 1.0, 2000.0);
  double avgUnits = os2 && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : upm / 2;
  double xEm = em;
  if (lf.lfWidth > 0) xEm = em * lf.lfWidth / std::max(1.0, avgUnits * em / upm);
  FT_Set_Char_Size(f, static_cast<FT_F26Dot6>(std::lround(xEm * 64)),
                   static_cast<FT_F26Dot6>(std::lround(em * 64)), 72, 72);

  auto font = std::shared_ptr<RealizedFont>(new RealizedFont);
  font->m_logFont = lf;
  font->m_family = actualFamily;
  font->m_face = face;
  if (Lower(actualFamily) != "dejavu sans") {
    std::string ignoredFamily;
    int w = 0, s = 0;
    font->m_fallback = OpenFace("DejaVu Sans", weight, italic, ignoredFamily, w, s);
    if (font->m_fallback) {
      font->m_fallback->monochrome = face->monochrome;
      FT_Set_Char_Size(font->m_fallback->face, 0, static_cast<FT_F26Dot6>(std::lround(em * 64)), 72, 72);
    }
  }
  TEXTMETRICA& tm = font->m_metrics;
  tm.tmAscent = ascent;
  tm.tmDescent = descent;
  tm.tmHeight = ascent + descent;
  tm.tmInternalLeading = std::max(0, tm.tmHeight - static_cast<int>(std::lround(em)));
  double lineGap = os2 ? os2->sTypoLineGap : 0;
  tm.tmExternalLeading = std::max(0, static_cast<int>(std::lround(lineGap * em / upm)));
  tm.tmAveCharWidth = std::max(1, static_cast<int>(std::lround(avgUnits * xEm / upm)));
  tm.tmMaxCharWidth = std::max<int>(tm.tmAveCharWidth,
                                    static_cast<int>(std::lround((f->bbox.xMax - f->bbox.xMin) * xEm / upm)));
  tm.tmWeight = weight;
  tm.tmOverhang = 0;
  tm.tmDigitizedAspectX = 96;
  tm.tmDigitizedAspectY = 96;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFF;
  tm.tmDefaultChar = 0x1F;
  tm.tmBreakChar = 0x20;
  tm.tmItalic = italic ? 1 : 0;
  tm.tmUnderlined = lf.lfUnderline ? 1 : 0;
  tm.tmStruckOut = lf.lfStrikeOut ? 1 : 0;
  bool fixed = FT_IS_FIXED_WIDTH(f);
  // The pitch bit is set for variable pitch fonts, as the platform (confusingly) does.
  tm.tmPitchAndFamily = static_cast<BYTE>(
      (fixed ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR | TMPF_TRUETYPE |
      (fixed ? FF_MODERN : (lf.lfPitchAndFamily & 0xF0 ? lf.lfPitchAndFamily & 0xF0 : FF_SWISS)));
  tm.tmCharSet = lf.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : lf.lfCharSet;
  font->m_underlineThickness = std::max(1, static_cast<int>(std::lround(f->underline_thickness * em / upm)));
  font->m_underlinePos = std::max(1, static_cast<int>(std::lround(-f->underline_position * em / upm)));
  font->m_underlinePos =
      std::min(font->m_underlinePos, std::max(1, descent - font->m_underlineThickness + 1));
  double strike = os2 && os2->yStrikeoutPosition ? os2->yStrikeoutPosition : upm * 0.25;
  font->m_strikePos = std::max(1, static_cast<int>(std::lround(strike * em / upm)));
  m_realized.emplace(std::move(key), font);
  return font;
}

std::shared_ptr<RealizedFont> FontEngine::RealizeSymbols(const LOGFONTA& lf) {
  int cell = std::clamp(lf.lfHeight == 0 ? 16 : std::abs(static_cast<int>(lf.lfHeight)), 1, 2000);
  auto font = std::shared_ptr<RealizedFont>(new RealizedFont);
  font->m_logFont = lf;
  font->m_family = "Marlett";
  font->m_symbolCell = cell;
  TEXTMETRICA& tm = font->m_metrics;
  tm.tmHeight = cell;
  tm.tmAscent = static_cast<int>(std::lround(cell * 0.8));
  tm.tmDescent = cell - tm.tmAscent;
  tm.tmAveCharWidth = cell;
  tm.tmMaxCharWidth = cell;
  tm.tmWeight = lf.lfWeight == FW_DONTCARE ? FW_NORMAL : lf.lfWeight;
  tm.tmDigitizedAspectX = 96;
  tm.tmDigitizedAspectY = 96;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFF;
  tm.tmDefaultChar = 0x20;
  tm.tmBreakChar = 0x20;
  tm.tmUnderlined = lf.lfUnderline ? 1 : 0;
  tm.tmStruckOut = lf.lfStrikeOut ? 1 : 0;
  tm.tmPitchAndFamily = TMPF_VECTOR | TMPF_TRUETYPE | FF_DECORATIVE;
  tm.tmCharSet = SYMBOL_CHARSET;
  font->m_underlinePos = std::max(1, tm.tmDescent / 2);
  font->m_strikePos = cell / 3;
  return font;
}

std::shared_ptr<const Glyph> FontEngine::Render(RealizedFont& font, char32_t c) {
  auto glyph = std::make_shared<Glyph>();
  std::lock_guard lock(m_lock);
  FontFace* face = font.m_face.get();
  FT_UInt index = FT_Get_Char_Index(face->face, c);
  if (index == 0 && font.m_fallback) {
    FT_UInt other = FT_Get_Char_Index(font.m_fallback->face, c);
    if (other) {
      face = font.m_fallback.get();
      index = other;
    }
  }
  FT_Int32 flags = FT_LOAD_DEFAULT | (face->monochrome ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_LIGHT);
  if (FT_Load_Glyph(face->face, index, flags) != 0) return glyph;
  FT_GlyphSlot slot = face->face->glyph;
  if (face->emboldenSynthetic) FT_GlyphSlot_Embolden(slot);
  if (face->obliqueSynthetic) FT_GlyphSlot_Oblique(slot);
  glyph->advance = static_cast<int>((slot->advance.x + 32) >> 6);
  if (FT_Render_Glyph(slot, face->monochrome ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0)
    return glyph;
  const FT_Bitmap& bm = slot->bitmap;
  glyph->width = static_cast<int>(bm.width);
  glyph->height = static_cast<int>(bm.rows);
  glyph->left = slot->bitmap_left;
  glyph->top = slot->bitmap_top;
  glyph->coverage.resize(static_cast<size_t>(glyph->width) * static_cast<size_t>(glyph->height));
  for (int y = 0; y < glyph->height; ++y) {
    const unsigned char* row = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
    uint8_t* out = glyph->coverage.data() + static_cast<size_t>(y) * static_cast<size_t>(glyph->width);
    for (int x = 0; x < glyph->width; ++x)
      out[x] = bm.pixel_mode == FT_PIXEL_MODE_MONO ? ((row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0) : row[x];
  }
  return glyph;
}

std::vector<FamilyInfo> FontEngine::Families() {
  std::lock_guard lock(m_lock);
  Installed();
  return m_families;
}

RealizedFont::~RealizedFont() {
  // Faces are closed under the engine lock: FreeType's library is shared.
  std::lock_guard lock(FontEngine::Get().Lock());
  m_face.reset();
  m_fallback.reset();
}

const Glyph& RealizedFont::GlyphOf(char32_t c) {
  const bool ascii = c < m_ascii.size();
  if (ascii)
    if (const Glyph* known = m_ascii[c].load(std::memory_order_acquire)) return *known;
  const Glyph* glyph = nullptr;
  {
    std::lock_guard lock(m_lock);
    if (auto it = m_glyphs.find(c); it != m_glyphs.end()) glyph = it->second.get();
  }
  if (glyph == nullptr) {
    std::shared_ptr<const Glyph> made =
        m_symbolCell ? MarlettGlyph(c, m_symbolCell, m_metrics.tmAscent) : FontEngine::Get().Render(*this, c);
    std::lock_guard lock(m_lock);
    glyph = m_glyphs.emplace(c, std::move(made)).first->second.get();
  }
  if (ascii) m_ascii[c].store(glyph, std::memory_order_release);
  return *glyph;
}

std::shared_ptr<RealizedFont> RealizeFont(const LOGFONTA& font) {
  return FontEngine::Get().Realize(font);
}

std::string MapFaceName(const std::string& face, BYTE pitchAndFamily) {
  FontEngine& engine = FontEngine::Get();
  std::lock_guard lock(engine.Lock());
  return engine.Map(face, pitchAndFamily);
}

std::vector<FamilyInfo> FontFamilies() {
  return FontEngine::Get().Families();
}

std::u32string DecodeUtf8(const char* text, size_t length, std::vector<size_t>* offsets) {
  const std::string_view view(text, length);
  std::u32string out;
  for (size_t pos = 0; pos < view.size();) {
    if (offsets) offsets->push_back(pos);
    const char32_t cp = utf8::Decode(view, pos);
    out.push_back(cp == utf8::kInvalid ? utf8::kReplacement : cp);
  }
  return out;
}

}  // namespace pictavo::gdi
