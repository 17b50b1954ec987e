// DrawText: lines, word breaking, ellipses, tabs and '&' prefixes laid out in a rectangle.
#include <algorithm>
#include <cstring>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/TextRender.h"

using namespace pictavo::gdi;

namespace {

struct Line {
  std::u32string chars;
  int underline = -1;  // index into chars of the prefixed character
};

class Layout {
 public:
  Layout(RealizedFont& font, UINT format, int charExtra)
      : m_font(font), m_format(format), m_charExtra(charExtra) {
    int chars = (format & DT_TABSTOP) ? static_cast<int>((format >> 8) & 0xFF) : 8;
    m_tab = std::max(1, chars) * font.Metrics().tmAveCharWidth;
  }

  // Advances with tabs expanded relative to the line start.
  std::vector<int> Advances(const std::u32string& s) const {
    std::vector<int> adv;
    int x = 0;
    for (char32_t c : s) {
      int a;
      if (c == U'\t' && (m_format & DT_EXPANDTABS))
        a = m_tab - (x % m_tab);
      else if (c == U'\t' || c == U'\r' || c == U'\n')
        a = 0;
      else
        a = m_font.Advance(c) + m_charExtra;
      adv.push_back(a);
      x += a;
    }
    return adv;
  }
  int Width(const std::u32string& s) const {
    int w = 0;
    for (int a : Advances(s)) w += a;
    return w;
  }

  // Breaks one paragraph into lines no wider than `limit` where spaces allow.
  std::vector<Line> Wrap(const Line& paragraph, int limit) const {
    std::vector<Line> lines;
    const std::u32string& s = paragraph.chars;
    std::vector<int> adv = Advances(s);
    size_t start = 0;
    while (true) {
      size_t i = start;
      int width = 0;
      size_t lastBreak = std::u32string::npos;  // index of the first space of the last space run
      bool overflow = false;
      for (; i < s.size(); ++i) {
        if (s[i] == U' ' && (i == start || s[i - 1] != U' ')) lastBreak = i;
        if (s[i] != U' ' && width + adv[i] > limit && i > start) {
          overflow = true;
          break;
        }
        width += adv[i];
      }
      size_t end = i, next = i;
      if (overflow) {
        if (lastBreak != std::u32string::npos && lastBreak > start) {
          end = lastBreak;
          next = lastBreak;
        } else if (m_format & DT_EDITCONTROL) {
          end = next = i;  // a word wider than the line is broken between characters
        } else {
          // The word overflows: the line ends at the next space.
          end = i;
          while (end < s.size() && s[end] != U' ') ++end;
          next = end;
        }
        while (next < s.size() && s[next] == U' ') ++next;
      }
      // Trailing spaces do not count on a broken line.
      size_t trimmed = end;
      if (next < s.size())
        while (trimmed > start && s[trimmed - 1] == U' ') --trimmed;
      Line line;
      line.chars = s.substr(start, trimmed - start);
      if (paragraph.underline >= static_cast<int>(start) && paragraph.underline < static_cast<int>(trimmed))
        line.underline = paragraph.underline - static_cast<int>(start);
      lines.push_back(std::move(line));
      if (next >= s.size()) break;
      start = next;
    }
    return lines;
  }

  // Shortens a line that is wider than `limit` as the ellipsis flags ask. True when changed.
  bool Ellipsize(Line& line, int limit) const {
    if (Width(line.chars) <= limit) return false;
    const std::u32string dots = U"...";
    if (m_format & DT_PATH_ELLIPSIS) {
      size_t sep = line.chars.find_last_of(U"\\/");
      if (sep != std::u32string::npos && sep > 0) {
        std::u32string head = line.chars.substr(0, sep), tail = line.chars.substr(sep);
        for (size_t keep = head.size(); keep-- > 0;) {
          std::u32string candidate = head.substr(0, keep) + dots + tail;
          if (Width(candidate) <= limit || keep == 0) {
            line.chars = candidate;
            line.underline = -1;
            if (Width(line.chars) > limit && (m_format & DT_END_ELLIPSIS)) EndEllipsis(line, limit);
            return true;
          }
        }
      }
      if (!(m_format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS))) {
        EndEllipsis(line, limit);
        return true;
      }
    }
    if (m_format & DT_WORD_ELLIPSIS) {
      // Cut at a word boundary.
      std::u32string s = line.chars;
      while (!s.empty()) {
        size_t space = s.find_last_of(U' ');
        if (space == std::u32string::npos) break;
        s.erase(space);
        while (!s.empty() && s.back() == U' ') s.pop_back();
        if (Width(s + dots) <= limit) {
          line.chars = s + dots;
          if (line.underline >= static_cast<int>(s.size())) line.underline = -1;
          return true;
        }
      }
      line.chars = std::u32string{};
      EndEllipsisOf(line, s.empty() ? line.chars : s, limit);
      return true;
    }
    EndEllipsis(line, limit);
    return true;
  }

 private:
  void EndEllipsis(Line& line, int limit) const { EndEllipsisOf(line, line.chars, limit); }
  void EndEllipsisOf(Line& line, std::u32string source, int limit) const {
    const std::u32string dots = U"...";
    size_t keep = source.size();
    while (keep > 0 && Width(source.substr(0, keep) + dots) > limit) --keep;
    line.chars = source.substr(0, keep) + dots;
    if (line.underline >= static_cast<int>(keep)) line.underline = -1;
  }

  RealizedFont& m_font;
  UINT m_format;
  int m_charExtra;
  int m_tab;
};

// Removes '&' prefixes: "&&" is a literal '&', "&x" marks x. Returns the marked index or -1.
int StripPrefixes(std::u32string& s) {
  std::u32string out;
  int marked = -1;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == U'&') {
      if (i + 1 < s.size() && s[i + 1] == U'&') {
        out.push_back(U'&');
        ++i;
        continue;
      }
      if (i + 1 < s.size() && marked < 0) marked = static_cast<int>(out.size());
      continue;
    }
    out.push_back(s[i]);
  }
  s = std::move(out);
  return marked;
}

std::string ToUtf8(const std::u32string& s) {
  std::wstring wide(s.begin(), s.end());
  return EncodeUtf8(wide.data(), wide.size());
}

int DrawTextUtf8(HDC hdc, char* text, int count, RECT* rect, UINT format) {
  if (!rect || (!text && count != 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  size_t length = count < 0 ? std::strlen(text) : static_cast<size_t>(count);
  DcLock dc(hdc);
  if (!dc) return 0;
  std::shared_ptr<RealizedFont> font = FontOf(*dc);
  if (!font) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return 0;
  }
  const TEXTMETRICA& tm = font->Metrics();
  int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
  Layout layout(*font, format, dc->state.charExtra);

  std::u32string all = DecodeUtf8(text ? text : "", length);
  int marked = (format & DT_NOPREFIX) ? -1 : StripPrefixes(all);
  if (format & DT_HIDEPREFIX) marked = -1;

  // Paragraphs.
  std::vector<Line> paragraphs;
  if (format & DT_SINGLELINE) {
    Line line;
    for (size_t i = 0; i < all.size(); ++i) {
      if (all[i] == U'\r' || all[i] == U'\n') continue;
      if (static_cast<int>(i) == marked) line.underline = static_cast<int>(line.chars.size());
      line.chars.push_back(all[i]);
    }
    paragraphs.push_back(std::move(line));
  } else {
    Line line;
    for (size_t i = 0; i <= all.size(); ++i) {
      if (i == all.size() || all[i] == U'\n' || all[i] == U'\r') {
        paragraphs.push_back(std::move(line));
        line = Line{};
        if (i < all.size() && all[i] == U'\r' && i + 1 < all.size() && all[i + 1] == U'\n') ++i;
        continue;
      }
      if (static_cast<int>(i) == marked) line.underline = static_cast<int>(line.chars.size());
      line.chars.push_back(all[i]);
    }
  }

  int limit = rect->right - rect->left;
  std::vector<Line> lines;
  for (const Line& paragraph : paragraphs) {
    if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) {
      std::vector<Line> wrapped = layout.Wrap(paragraph, limit);
      lines.insert(lines.end(), wrapped.begin(), wrapped.end());
    } else {
      lines.push_back(paragraph);
    }
  }
  bool modified = false;
  if (format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS))
    for (Line& line : lines) modified |= layout.Ellipsize(line, limit);
  if (modified && (format & DT_MODIFYSTRING) && text && lines.size() == 1) {
    // The caller's buffer has room for the ellipsis (four more bytes than the text).
    std::string shown = ToUtf8(lines[0].chars);
    size_t room = length + 4;
    size_t n = std::min(shown.size(), room - 1);
    std::memcpy(text, shown.data(), n);
    text[n] = 0;
  }

  int widest = 0;
  std::vector<std::vector<int>> advances;
  for (const Line& line : lines) {
    advances.push_back(layout.Advances(line.chars));
    int w = 0;
    for (int a : advances.back()) w += a;
    widest = std::max(widest, w);
  }
  int total = static_cast<int>(lines.size()) * lineHeight;
  int top = rect->top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER)
      top = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
    else if (format & DT_BOTTOM)
      top = rect->bottom - lineHeight;
  }
  if (format & DT_CALCRECT) {
    rect->right = rect->left + widest;
    rect->bottom = rect->top + total;
    return total;
  }

  DrawScope scope(*dc);
  RECT clip = dc->ToSurface(*rect);
  for (size_t i = 0; i < lines.size(); ++i) {
    int y = top + static_cast<int>(i) * lineHeight;
    if ((format & DT_EDITCONTROL) && !(format & DT_SINGLELINE) && y + lineHeight > rect->bottom && i > 0)
      break;
    int w = 0;
    for (int a : advances[i]) w += a;
    int x = rect->left;
    if (format & DT_CENTER)
      x = rect->left + (limit - w) / 2;
    else if (format & DT_RIGHT)
      x = rect->right - w;
    TextRun run = LayoutRun(*font, lines[i].chars, 0, &advances[i]);
    RunOptions options;
    options.align = TA_LEFT | TA_TOP;
    options.fillCells = dc->state.bkMode == OPAQUE && !(format & DT_PREFIXONLY);
    options.clip = (format & DT_NOCLIP) ? nullptr : &clip;
    if (lines[i].underline >= 0) {
      options.underlineFrom = lines[i].underline;
      options.underlineTo = lines[i].underline + 1;
    }
    if (format & DT_PREFIXONLY) {
      // Only the underline: draw the run with every glyph replaced by nothing.
      if (options.underlineFrom < 0) continue;
      run.chars.assign(run.chars.size(), U' ');
    }
    DrawRun(*dc, scope, *font, run, dc->SurfaceX(x), dc->SurfaceY(y), options);
  }
  if ((format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM))) return top - rect->top + total;
  return total;
}

}  // namespace

int DrawTextA(HDC dc, LPCSTR text, int count, RECT* rect, UINT format) {
  // The text is written to only with DT_MODIFYSTRING, whose callers pass a writable buffer.
  return DrawTextUtf8(dc, const_cast<char*>(text), count, rect, format);
}

int DrawTextW(HDC dc, LPCWSTR text, int count, RECT* rect, UINT format) {
  if (!text && count != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  size_t length = count < 0 ? std::wcslen(text) : static_cast<size_t>(count);
  std::string utf8 = EncodeUtf8(text ? text : L"", length);
  return DrawTextUtf8(dc, utf8.data(), static_cast<int>(utf8.size()), rect,
                      format & ~static_cast<UINT>(DT_MODIFYSTRING));
}
