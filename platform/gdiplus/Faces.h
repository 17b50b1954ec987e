// Installed faces for GDI+ families: cairo faces found through fontconfig, their design
// metrics and glyph advances. Faces are shared, never change and may be used from any thread.
#pragma once

#include <cairo.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/gdiplus/Objects.h"

namespace pictavo::gdiplus {

// Design units of a face, as GDI+ reports them for a family.
struct FaceMetrics {
  double emHeight = 2048;
  double cellAscent = 1854;
  double cellDescent = 434;
  double lineSpacing = 2355;
  double underlinePosition = 217;  // below the baseline
  double underlineThickness = 150;
  double strikeoutPosition = 530;  // above the baseline
};

class Face {
 public:
  ~Face();
  Face(const Face&) = delete;
  Face& operator=(const Face&) = delete;

  cairo_font_face_t* CairoFace() const { return m_face; }
  const FaceMetrics& Metrics() const { return m_metrics; }
  // The glyph of a code point, 0 when the face has none.
  unsigned long GlyphIndex(char32_t c) const;
  // A glyph's advance in ems.
  double Advance(unsigned long glyph) const;

 private:
  friend std::shared_ptr<const Face> FaceOf(const std::string& family, int style);
  Face() = default;

  cairo_font_face_t* m_face = nullptr;
  cairo_scaled_font_t* m_design = nullptr;  // any size: only for FreeType look-ups
  FaceMetrics m_metrics;
  mutable std::mutex m_lock;
  mutable std::map<char32_t, unsigned long> m_glyphs;  // guarded by m_lock
  mutable std::map<unsigned long, double> m_advances;  // guarded by m_lock
};

// The face of an installed family in a style (FontStyleBold and FontStyleItalic count); null
// only when no font at all is installed.
std::shared_ptr<const Face> FaceOf(const std::string& family, int style);
// Where glyphs the family lacks come from.
std::shared_ptr<const Face> FallbackFace(int style);

// The installed family a platform family name is drawn with; false when there is no such
// family (neither installed nor a platform name that maps to an installed one).
bool FindFamily(const std::wstring& name, std::string& face);
// The family and style a LOGFONT asks for, as the GDI draws it, and its em height in pixels.
void FamilyOfLogFont(const LOGFONTA& logFont, Gdiplus::GpFont& font);

// A font's em height in world units on a surface of `dpi`.
double EmSize(const Gdiplus::GpFont& font, double dpi);

}  // namespace pictavo::gdiplus
