#include "platform/gdiplus/TextLayout.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <limits>

using namespace Gdiplus;

namespace pictavo::gdiplus {
namespace {

constexpr char32_t kEllipsis = 0x2026;

struct Char {
  char32_t c;
  const Face* face;
  unsigned long glyph;
  double advance;  // world units
};

struct Line {
  std::vector<Char> chars;  // what is shown
  double width = 0;
  size_t next = 0;  // index of the first character after the line
};

bool IsSpace(char32_t c) {
  return c == U' ' || c == U'\t' || c == 0xA0;
}

bool IsBreak(char32_t c) {
  return c == U'\n' || c == U'\r';
}

class Shaper {
 public:
  Shaper(std::shared_ptr<const Face> face, std::shared_ptr<const Face> fallback, double em)
      : m_face(std::move(face)), m_fallback(std::move(fallback)), m_em(em) {}

  Char Shape(char32_t c) const {
    if (c == U'\t') c = U' ';
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return Char{c, m_face.get(), 0, 0};
    const Face* face = m_face.get();
    unsigned long glyph = face->GlyphIndex(c);
    if (glyph == 0 && m_fallback) {
      if (unsigned long other = m_fallback->GlyphIndex(c)) {
        face = m_fallback.get();
        glyph = other;
      }
    }
    return Char{c, face, glyph, face->Advance(glyph) * m_em};
  }

 private:
  std::shared_ptr<const Face> m_face;
  std::shared_ptr<const Face> m_fallback;
  double m_em;
};

double WidthOf(const std::vector<Char>& chars) {
  double w = 0;
  for (const Char& c : chars) w += c.advance;
  return w;
}

void TrimTrailingSpaces(std::vector<Char>& chars) {
  while (!chars.empty() && IsSpace(chars.back().c)) chars.pop_back();
}

// Shortens a line to fit `limit` as the trimming says; `more` is true when text follows that is
// not shown, which an ellipsis stands for even when the line itself fits.
void Trim(Line& line, double limit, StringTrimming trimming, bool more, const Char& ellipsis) {
  bool withEllipsis = trimming == StringTrimmingEllipsisCharacter || trimming == StringTrimmingEllipsisWord ||
                      trimming == StringTrimmingEllipsisPath;
  if (line.width <= limit && !(more && withEllipsis)) return;
  if (trimming == StringTrimmingNone) return;
  std::vector<Char>& s = line.chars;
  double room = limit - (withEllipsis ? ellipsis.advance : 0);
  if (trimming == StringTrimmingEllipsisPath && !more) {
    // Keep the last path element whole and as much of the start as fits before the ellipsis.
    size_t sep = s.size();
    for (size_t i = s.size(); i-- > 0;)
      if (s[i].c == U'\\' || s[i].c == U'/') {
        sep = i;
        break;
      }
    if (sep < s.size()) {
      std::vector<Char> tail(s.begin() + static_cast<ptrdiff_t>(sep), s.end());
      std::vector<Char> head(s.begin(), s.begin() + static_cast<ptrdiff_t>(sep));
      double tailWidth = WidthOf(tail);
      while (!head.empty() && WidthOf(head) + tailWidth > room) head.pop_back();
      head.push_back(ellipsis);
      head.insert(head.end(), tail.begin(), tail.end());
      s = std::move(head);
      line.width = WidthOf(s);
      return;
    }
  }
  bool byWord = trimming == StringTrimmingWord || trimming == StringTrimmingEllipsisWord;
  while (!s.empty() && WidthOf(s) > room) {
    if (byWord) {
      size_t cut = s.size();
      while (cut > 0 && !IsSpace(s[cut - 1].c)) --cut;
      if (cut == 0) {
        s.pop_back();  // a single word too wide: cut it by characters
        continue;
      }
      s.resize(cut);
      TrimTrailingSpaces(s);
    } else {
      s.pop_back();
    }
  }
  if (withEllipsis) s.push_back(ellipsis);
  line.width = WidthOf(s);
}

}  // namespace

bool LayOutText(const WCHAR* text, INT length, const std::string& family, int style, double em,
                const RectF& layout, const GpStringFormat* format, TextLayout& out) {
  out = TextLayout{};
  out.em = em;
  out.bounds = RectF(layout.X, layout.Y, 0, 0);
  std::shared_ptr<const Face> face = FaceOf(family, style);
  if (!face) return false;
  std::shared_ptr<const Face> fallback = FallbackFace(style);
  out.faces = {face, fallback};
  const GpStringFormat defaults;
  const GpStringFormat& f = format ? *format : defaults;
  size_t count = length < 0 ? std::wcslen(text) : static_cast<size_t>(length);
  if (count == 0 || !(em > 0)) return true;

  Shaper shaper(face, (f.flags & StringFormatFlagsNoFontFallback) ? nullptr : fallback, em);
  std::vector<Char> chars;
  chars.reserve(count);
  for (size_t i = 0; i < count; ++i) chars.push_back(shaper.Shape(static_cast<char32_t>(text[i])));
  Char ellipsis = shaper.Shape(kEllipsis);

  const FaceMetrics& m = face->Metrics();
  const double pad = f.typographic ? 0 : em / 6;
  const double lineHeight = em * m.lineSpacing / m.emHeight;
  const double ascent = em * m.cellAscent / m.emHeight;
  const bool wrap = layout.Width > 0 && !(f.flags & StringFormatFlagsNoWrap);
  const bool keepTrailing = (f.flags & StringFormatFlagsMeasureTrailingSpaces) != 0;
  const double limit =
      layout.Width > 0 ? std::max(0.0, layout.Width - 2 * pad) : std::numeric_limits<double>::infinity();

  // Paragraphs, then lines broken after spaces (or inside a word wider than the line).
  std::vector<Line> lines;
  size_t p = 0;
  while (p < count) {
    size_t end = p;
    while (end < count && !IsBreak(chars[end].c)) ++end;
    size_t after = end;
    if (after < count)
      after += (chars[after].c == U'\r' && after + 1 < count && chars[after + 1].c == U'\n') ? 2 : 1;
    size_t i = p;
    bool first = true;
    do {
      size_t start = i;
      if (!first)
        while (start < end && IsSpace(chars[start].c)) ++start;
      first = false;
      double w = 0;
      size_t spaceRun = std::string::npos;  // first space of the last run of spaces
      size_t j = start;
      for (; j < end; ++j) {
        if (IsSpace(chars[j].c)) {
          if (j == start || !IsSpace(chars[j - 1].c)) spaceRun = j;
        } else if (wrap && j > start && w + chars[j].advance > limit) {
          break;
        }
        w += chars[j].advance;
      }
      size_t stop = j, next = j;
      if (j < end) {
        if (spaceRun != std::string::npos && spaceRun > start) stop = next = spaceRun;
        while (next < end && IsSpace(chars[next].c)) ++next;
      } else {
        next = after;
      }
      Line line;
      line.chars.assign(chars.begin() + static_cast<ptrdiff_t>(start),
                        chars.begin() + static_cast<ptrdiff_t>(stop));
      if (!keepTrailing) TrimTrailingSpaces(line.chars);
      line.width = WidthOf(line.chars);
      line.next = next;
      lines.push_back(std::move(line));
      i = next;
    } while (i < end);
    if (p == end) lines.back().next = after;  // an empty paragraph
    p = after;
  }

  size_t visible = lines.size();
  if (layout.Height > 0) {
    double fit = layout.Height / lineHeight;
    size_t whole = static_cast<size_t>(std::floor(fit + 1e-6));
    size_t shown =
        (f.flags & StringFormatFlagsLineLimit) ? whole : static_cast<size_t>(std::ceil(fit - 1e-6));
    visible = std::min(visible, shown);
  }
  for (size_t k = 0; k < visible; ++k)
    Trim(lines[k], limit, f.trimming, k + 1 == visible && visible < lines.size(), ellipsis);

  auto share = [](StringAlignment a) {
    return a == StringAlignmentCenter ? 0.5 : a == StringAlignmentFar ? 1.0 : 0.0;
  };
  const double total = static_cast<double>(visible) * lineHeight;
  double top = layout.Height > 0 ? layout.Y + (layout.Height - total) * share(f.lineAlign)
                                 : layout.Y - total * share(f.lineAlign);
  double left = std::numeric_limits<double>::infinity(), right = -left;
  bool underline = (style & FontStyleUnderline) != 0, strikeout = (style & FontStyleStrikeout) != 0;
  double ruleThickness = std::max(1.0, em * m.underlineThickness / m.emHeight);
  for (size_t k = 0; k < visible; ++k) {
    const Line& line = lines[k];
    double x = layout.Width > 0 ? layout.X + pad + (limit - line.width) * share(f.align)
                                : layout.X + pad - (line.width + 2 * pad) * share(f.align);
    double baseline = top + static_cast<double>(k) * lineHeight + ascent;
    left = std::min(left, x - pad);
    right = std::max(right, x + line.width + pad);
    double pen = x;
    for (const Char& c : line.chars) {
      if (c.glyph != 0 && !IsSpace(c.c)) out.glyphs.push_back(PlacedGlyph{c.face, c.glyph, pen, baseline});
      pen += c.advance;
    }
    if (line.width > 0 && underline)
      out.rules.emplace_back(
          static_cast<REAL>(x),
          static_cast<REAL>(baseline + em * m.underlinePosition / m.emHeight - ruleThickness / 2),
          static_cast<REAL>(line.width), static_cast<REAL>(ruleThickness));
    if (line.width > 0 && strikeout)
      out.rules.emplace_back(static_cast<REAL>(x),
                             static_cast<REAL>(baseline - em * m.strikeoutPosition / m.emHeight),
                             static_cast<REAL>(line.width), static_cast<REAL>(ruleThickness));
  }
  if (visible > 0) {
    double bottom = top + total;
    if (layout.Width > 0) {
      left = std::max<double>(left, layout.X);
      right = std::min<double>(right, layout.X + layout.Width);
    }
    if (layout.Height > 0) {
      top = std::max<double>(top, layout.Y);
      bottom = std::min<double>(bottom, layout.Y + layout.Height);
    }
    out.bounds =
        RectF(static_cast<REAL>(left), static_cast<REAL>(top), static_cast<REAL>(std::max(0.0, right - left)),
              static_cast<REAL>(std::max(0.0, bottom - top)));
  }
  out.linesFilled = static_cast<INT>(visible);
  out.codepointsFitted = static_cast<INT>(visible == lines.size() ? count : lines[visible - 1].next);
  if (visible == 0) out.codepointsFitted = 0;
  return true;
}

}  // namespace pictavo::gdiplus
