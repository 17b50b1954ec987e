#include "platform/gdiplus/Faces.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

#include "platform/gdi/FontEngine.h"
#include "platform/gdi/Gdi.h"

using namespace Gdiplus;

namespace pictavo::gdiplus {
namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Locks the FreeType face behind a cairo font for the scope's duration.
class FtLock {
 public:
  explicit FtLock(cairo_scaled_font_t* font) : m_font(font), m_face(cairo_ft_scaled_font_lock_face(font)) {}
  ~FtLock() {
    if (m_face) cairo_ft_scaled_font_unlock_face(m_font);
  }
  FtLock(const FtLock&) = delete;
  FtLock& operator=(const FtLock&) = delete;
  FT_Face get() const { return m_face; }

 private:
  cairo_scaled_font_t* m_font;
  FT_Face m_face;
};

FaceMetrics ReadMetrics(FT_Face face) {
  FaceMetrics m;
  if (!face || face->units_per_EM == 0) return m;
  m.emHeight = face->units_per_EM;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  m.cellAscent = os2 && os2->usWinAscent ? os2->usWinAscent : face->ascender;
  m.cellDescent = os2 && os2->usWinDescent ? os2->usWinDescent : -face->descender;
  m.lineSpacing = std::max<double>(face->height, m.cellAscent + m.cellDescent);
  m.underlinePosition = -face->underline_position;
  m.underlineThickness = std::max<double>(1, face->underline_thickness);
  m.strikeoutPosition = os2 && os2->yStrikeoutPosition ? os2->yStrikeoutPosition : m.emHeight * 0.26;
  return m;
}

struct FaceCache {
  std::mutex lock;
  std::map<std::pair<std::string, int>, std::shared_ptr<const Face>> faces;  // guarded by lock
};

FaceCache& TheFaces() {
  static FaceCache* cache = new FaceCache;  // used until the process ends
  return *cache;
}

std::wstring Widen(const std::string& s) {
  std::u32string chars = pictavo::gdi::DecodeUtf8(s.data(), s.size());
  return std::wstring(chars.begin(), chars.end());
}

}  // namespace

Face::~Face() {
  if (m_design) cairo_scaled_font_destroy(m_design);
  if (m_face) cairo_font_face_destroy(m_face);
}

unsigned long Face::GlyphIndex(char32_t c) const {
  std::lock_guard lock(m_lock);
  if (auto it = m_glyphs.find(c); it != m_glyphs.end()) return it->second;
  FtLock face(m_design);
  unsigned long index = face.get() ? FT_Get_Char_Index(face.get(), c) : 0;
  m_glyphs.emplace(c, index);
  return index;
}

double Face::Advance(unsigned long glyph) const {
  std::lock_guard lock(m_lock);
  if (auto it = m_advances.find(glyph); it != m_advances.end()) return it->second;
  FtLock face(m_design);
  double advance = 0;
  if (face.get() &&
      FT_Load_Glyph(face.get(), static_cast<FT_UInt>(glyph), FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) == 0)
    advance = static_cast<double>(face.get()->glyph->advance.x) / m_metrics.emHeight;
  m_advances.emplace(glyph, advance);
  return advance;
}

std::shared_ptr<const Face> FaceOf(const std::string& family, int style) {
  style &= FontStyleBoldItalic;
  FaceCache& cache = TheFaces();
  std::lock_guard lock(cache.lock);
  auto key = std::make_pair(Lower(family), style);
  if (auto it = cache.faces.find(key); it != cache.faces.end()) return it->second;

  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, (style & FontStyleBold) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, (style & FontStyleItalic) ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return nullptr;
  // Rendering options come from the graphics (text rendering hint), not from the desktop's
  // configuration; synthetic bold and oblique stay.
  for (const char* setting : {FC_ANTIALIAS, FC_HINTING, FC_HINT_STYLE, FC_AUTOHINT, FC_RGBA, FC_LCD_FILTER})
    FcPatternDel(match, setting);
  std::shared_ptr<Face> face(new Face);
  face->m_face = cairo_ft_font_face_create_for_pattern(match);
  FcPatternDestroy(match);
  cairo_matrix_t size, identity;
  cairo_matrix_init_scale(&size, 64, 64);
  cairo_matrix_init_identity(&identity);
  cairo_font_options_t* options = cairo_font_options_create();
  face->m_design = cairo_scaled_font_create(face->m_face, &size, &identity, options);
  cairo_font_options_destroy(options);
  if (cairo_scaled_font_status(face->m_design) != CAIRO_STATUS_SUCCESS) return nullptr;
  {
    FtLock ft(face->m_design);
    if (!ft.get()) return nullptr;
    face->m_metrics = ReadMetrics(ft.get());
  }
  cache.faces.emplace(key, face);
  return face;
}

std::shared_ptr<const Face> FallbackFace(int style) {
  return FaceOf("DejaVu Sans", style);
}

bool FindFamily(const std::wstring& name, std::string& face) {
  std::string utf8 = pictavo::utf8::FromWide({name.data(), name.size()});
  std::string key = Lower(utf8);
  if (key.empty()) return false;
  for (const pictavo::gdi::FamilyInfo& family : pictavo::gdi::FontFamilies())
    if (Lower(family.name) == key) {
      face = pictavo::gdi::ResolvedFaceName(utf8.c_str());
      return !face.empty();
    }
  return false;
}

void FamilyOfLogFont(const LOGFONTA& logFont, GpFont& font) {
  LOGFONTA lf = logFont;
  lf.lfFaceName[LF_FACESIZE - 1] = 0;
  font.family.face = pictavo::gdi::ResolvedFaceName(lf.lfFaceName);
  font.family.name = Widen(lf.lfFaceName[0] ? std::string(lf.lfFaceName) : font.family.face);
  std::shared_ptr<pictavo::gdi::RealizedFont> realized = pictavo::gdi::RealizeFont(lf);
  if (realized) {
    const TEXTMETRICA& tm = realized->Metrics();
    font.size = static_cast<REAL>(std::max(1, tm.tmHeight - tm.tmInternalLeading));
  } else {
    font.size = static_cast<REAL>(lf.lfHeight ? std::abs(lf.lfHeight) : 16);
  }
  font.style = (lf.lfWeight >= FW_SEMIBOLD ? FontStyleBold : 0) | (lf.lfItalic ? FontStyleItalic : 0) |
               (lf.lfUnderline ? FontStyleUnderline : 0) | (lf.lfStrikeOut ? FontStyleStrikeout : 0);
  font.unit = UnitWorld;
}

double EmSize(const GpFont& font, double dpi) {
  switch (font.unit) {
    case UnitPoint:
      return font.size * dpi / 72.0;
    case UnitInch:
      return font.size * dpi;
    case UnitDocument:
      return font.size * dpi / 300.0;
    case UnitMillimeter:
      return font.size * dpi / 25.4;
    default:
      return font.size;
  }
}

}  // namespace pictavo::gdiplus
