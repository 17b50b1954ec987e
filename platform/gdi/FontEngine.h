// Fonts realised through fontconfig and FreeType: face mapping, metrics and a glyph cache.
// Platform face names map to installed faces:
//   Arial, Helvetica                  -> Liberation Sans (metric-compatible), else DejaVu Sans
//   Times New Roman, Times, MS Serif  -> Liberation Serif, else DejaVu Serif
//   Courier New, Courier, Fixedsys... -> Liberation Mono, else DejaVu Sans Mono
//   Tahoma, MS Sans Serif, Microsoft Sans Serif, MS Shell Dlg (2), Segoe UI, System
//                                     -> DejaVu Sans Condensed: the narrow sibling of a
//                                        Verdana-like face, as Tahoma is Verdana's
//   Verdana                           -> DejaVu Sans
//   Marlett                           -> symbols drawn by us (MarlettGlyphs.h)
// Other names are looked up as they are; a name fontconfig does not know falls back by the
// LOGFONT's pitch and family (serif, monospace, else the dialog face).
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/base/Utf8.h"
#include "platform/gdi/GdiTypes.h"

namespace pictavo::gdi {

struct Glyph {
  int width = 0;  // coverage bitmap size
  int height = 0;
  int left = 0;                   // from the pen position to the bitmap's left edge
  int top = 0;                    // from the baseline up to the bitmap's top edge
  int advance = 0;                // whole pixels
  std::vector<uint8_t> coverage;  // 0..255, rows of `width`
};

class FontFace;  // FreeType face, defined in the engine

class RealizedFont {
 public:
  ~RealizedFont();
  const TEXTMETRICA& Metrics() const { return m_metrics; }
  const std::string& Family() const { return m_family; }
  const LOGFONTA& LogFont() const { return m_logFont; }
  int UnderlinePosition() const { return m_underlinePos; }  // pixels below the baseline
  int UnderlineThickness() const { return m_underlineThickness; }
  int StrikeoutPosition() const { return m_strikePos; }  // pixels above the baseline
  // The glyph of a code point, rendered once and kept as long as the font. Any thread.
  const Glyph& GlyphOf(char32_t c);
  int Advance(char32_t c) { return GlyphOf(c).advance; }

 private:
  friend class FontEngine;
  RealizedFont() = default;
  LOGFONTA m_logFont{};
  TEXTMETRICA m_metrics{};
  std::string m_family;
  int m_underlinePos = 1;
  int m_underlineThickness = 1;
  int m_strikePos = 3;
  std::shared_ptr<FontFace> m_face;
  std::shared_ptr<FontFace> m_fallback;  // for code points the face lacks
  int m_symbolCell = 0;                  // non-zero for the symbol face we draw ourselves
  std::mutex m_lock;
  std::unordered_map<char32_t, std::shared_ptr<const Glyph>> m_glyphs;  // guarded by m_lock
  // Plain ASCII without the lock: set once from m_glyphs, whose entries are never dropped.
  std::array<std::atomic<const Glyph*>, 128> m_ascii{};
};

struct FamilyInfo {
  std::string name;
  bool fixedPitch = false;
  BYTE family = FF_SWISS;
  bool trueType = true;   // TrueType or OpenType outlines (not Type 1 or other formats)
  std::string standsFor;  // a platform name: the installed family it maps to; empty otherwise
};

// The font a LOGFONT asks for, realised once per distinct LOGFONT. Null only when no font at
// all is installed.
std::shared_ptr<RealizedFont> RealizeFont(const LOGFONTA& font);
// The installed face a platform face name maps to.
std::string MapFaceName(const std::string& face, BYTE pitchAndFamily);
// Installed families and the platform names that map to them, sorted by name.
std::vector<FamilyInfo> FontFamilies();

// Decodes UTF-8 into code points, invalid bytes becoming U+FFFD; `byteOffsets` receives the
// offset of each code point's first byte when given.
std::u32string DecodeUtf8(const char* text, size_t length, std::vector<size_t>* byteOffsets = nullptr);
// UTF-8 form of wide text, invalid code units becoming U+FFFD.
inline std::string EncodeUtf8(const wchar_t* text, size_t length) {
  return utf8::FromWide({text, length});
}

}  // namespace pictavo::gdi
