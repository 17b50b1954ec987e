#include "platform/user/EditModel.h"

#include <algorithm>
#include <cwctype>

#include "platform/user/ControlsInternal.h"

namespace pictavo::user::controls {
namespace {

enum class CharClass { kBlank, kWord, kMark, kBreak };

CharClass ClassOf(char32_t cp) {
  if (cp == '\r' || cp == '\n') return CharClass::kBreak;
  if (cp == ' ' || cp == '\t' || cp == 0xA0) return CharClass::kBlank;
  if (cp >= 0x80 || std::iswalnum(static_cast<wint_t>(cp)) || cp == '_') return CharClass::kWord;
  return CharClass::kMark;
}

}  // namespace

void EditBuffer::SetText(std::string text) {
  m_text = std::move(text);
  m_anchor = m_caret = 0;
  EmptyUndo();
}

void EditBuffer::SetSelection(size_t anchor, size_t caret) {
  m_anchor = CharStart(m_text, std::min(anchor, m_text.size()));
  m_caret = CharStart(m_text, std::min(caret, m_text.size()));
  m_typingOpen = false;
}

void EditBuffer::Replace(std::string_view text, Undo undo) {
  const bool continues = undo == Undo::kTyping && m_typingOpen && m_caret == m_typingEnd && !HasSelection();
  if (undo != Undo::kNone && !continues) {
    m_hasUndo = true;
    m_undoText = m_text;
    m_undoAnchor = m_anchor;
    m_undoCaret = m_caret;
  }
  const size_t from = SelMin();
  m_text.replace(from, SelMax() - from, text);
  m_anchor = m_caret = from + text.size();
  m_typingOpen = undo == Undo::kTyping;
  m_typingEnd = m_caret;
}

bool EditBuffer::UndoLast() {
  if (!m_hasUndo) return false;
  std::swap(m_text, m_undoText);
  std::swap(m_anchor, m_undoAnchor);
  std::swap(m_caret, m_undoCaret);
  m_typingOpen = false;
  return true;
}

void EditBuffer::EmptyUndo() {
  m_hasUndo = false;
  m_undoText.clear();
  m_undoText.shrink_to_fit();
  m_typingOpen = false;
}

size_t EditBuffer::Next(size_t pos) const {
  // CR LF is one step.
  if (pos + 1 < m_text.size() && m_text[pos] == '\r' && m_text[pos + 1] == '\n') return pos + 2;
  return NextChar(m_text, pos);
}

size_t EditBuffer::Prev(size_t pos) const {
  if (pos >= 2 && m_text[pos - 1] == '\n' && m_text[pos - 2] == '\r') return pos - 2;
  return PrevChar(m_text, pos);
}

size_t EditBuffer::WordLeft(size_t pos) const {
  // Back over blanks, then over the run before them.
  while (pos > 0 && ClassOf(CharAt(m_text, Prev(pos))) == CharClass::kBlank) pos = Prev(pos);
  if (pos == 0) return 0;
  const CharClass run = ClassOf(CharAt(m_text, Prev(pos)));
  if (run == CharClass::kBreak) return Prev(pos);
  while (pos > 0 && ClassOf(CharAt(m_text, Prev(pos))) == run) pos = Prev(pos);
  return pos;
}

size_t EditBuffer::WordRight(size_t pos) const {
  // Past the run at the position, then past the blanks after it.
  if (pos >= m_text.size()) return m_text.size();
  const CharClass run = ClassOf(CharAt(m_text, pos));
  if (run == CharClass::kBreak) return Next(pos);
  if (run != CharClass::kBlank)
    while (pos < m_text.size() && ClassOf(CharAt(m_text, pos)) == run) pos = Next(pos);
  while (pos < m_text.size() && ClassOf(CharAt(m_text, pos)) == CharClass::kBlank) pos = Next(pos);
  return pos;
}

void EditBuffer::WordAt(size_t pos, size_t* start, size_t* end) const {
  pos = CharStart(m_text, std::min(pos, m_text.size()));
  // At the end of a word (or of the text) the word before is meant.
  if (pos == m_text.size() || ClassOf(CharAt(m_text, pos)) == CharClass::kBreak) {
    if (pos > 0 && ClassOf(CharAt(m_text, Prev(pos))) != CharClass::kBreak) pos = Prev(pos);
  }
  if (pos >= m_text.size() || ClassOf(CharAt(m_text, pos)) == CharClass::kBreak) {
    *start = *end = pos;
    return;
  }
  const CharClass run = ClassOf(CharAt(m_text, pos));
  size_t s = pos;
  while (s > 0 && ClassOf(CharAt(m_text, Prev(s))) == run) s = Prev(s);
  size_t e = pos;
  while (e < m_text.size() && ClassOf(CharAt(m_text, e)) == run) e = Next(e);
  *start = s;
  *end = e;
}

std::vector<EditLine> BreakLines(std::string_view text, int width, const ExtentsOf& extents) {
  std::vector<EditLine> lines;
  size_t start = 0;
  for (;;) {
    size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    size_t next = end;
    if (next < text.size())
      next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
    // Wrap the paragraph [start, end).
    if (width > 0 && end > start) {
      const std::string_view paragraph = text.substr(start, end - start);
      const std::vector<int> ext = extents(paragraph);
      size_t from = 0;
      while (from < paragraph.size()) {
        const int base = from ? ext[from - 1] : 0;
        size_t fit = from;  // bytes that fit
        while (fit < paragraph.size()) {
          const size_t after = NextChar(paragraph, fit);
          if (ext[after - 1] - base > width) break;
          fit = after;
        }
        if (fit >= paragraph.size()) break;
        // Break after the last blank that fits; blanks right after the fitting part stay on the
        // line too.
        size_t breakAt = fit;
        size_t scan = fit;
        while (scan < paragraph.size() && paragraph[scan] == ' ') scan = NextChar(paragraph, scan);
        if (scan > fit) {
          breakAt = scan;
        } else {
          size_t blank = std::string_view::npos;
          for (size_t i = from; i < fit; i = NextChar(paragraph, i))
            if (paragraph[i] == ' ' || paragraph[i] == '\t') blank = i;
          if (blank != std::string_view::npos) breakAt = NextChar(paragraph, blank);
          if (breakAt == from) breakAt = NextChar(paragraph, from);  // at least one character a line
        }
        if (breakAt >= paragraph.size()) break;
        lines.push_back(EditLine{start + from, start + breakAt, start + breakAt});
        from = breakAt;
      }
      lines.push_back(EditLine{start + from, end, next});
    } else {
      lines.push_back(EditLine{start, end, next});
    }
    if (end >= text.size()) break;
    start = next;
    if (start >= text.size()) {
      lines.push_back(EditLine{start, start, start});  // the empty line after a final break
      break;
    }
  }
  return lines;
}

size_t LineOf(const std::vector<EditLine>& lines, size_t pos) {
  for (size_t i = lines.size(); i-- > 0;)
    if (pos >= lines[i].start) return i;
  return 0;
}

}  // namespace pictavo::user::controls
