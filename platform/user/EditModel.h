// Internal: the edit control's text, selection, one-level undo and line breaking, apart from
// any window. Positions are byte offsets into the UTF-8 text, always at character starts.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pictavo::user::controls {

class EditBuffer {
 public:
  enum class Undo { kNone, kNew, kTyping };

  const std::string& Text() const { return m_text; }
  size_t Size() const { return m_text.size(); }
  size_t Anchor() const { return m_anchor; }
  size_t Caret() const { return m_caret; }
  size_t SelMin() const { return m_anchor < m_caret ? m_anchor : m_caret; }
  size_t SelMax() const { return m_anchor < m_caret ? m_caret : m_anchor; }
  bool HasSelection() const { return m_anchor != m_caret; }

  // Replaces everything; the undo buffer empties and the caret goes to the start.
  void SetText(std::string text);
  // Clamped to the text and moved back to character starts.
  void SetSelection(size_t anchor, size_t caret);
  // Replaces the selection by `text`; the caret ends after it. kTyping continues the undo unit
  // of the typing just before when the caret is where that typing ended.
  void Replace(std::string_view text, Undo undo);
  bool CanUndo() const { return m_hasUndo; }
  // Swaps the text with the one before the last change (so a second undo redoes).
  bool UndoLast();
  void EmptyUndo();

  // Character steps and words (runs of letters and digits, of blanks, or of other marks).
  size_t Next(size_t pos) const;
  size_t Prev(size_t pos) const;
  size_t WordLeft(size_t pos) const;
  size_t WordRight(size_t pos) const;
  void WordAt(size_t pos, size_t* start, size_t* end) const;

 private:
  std::string m_text;
  size_t m_anchor = 0;
  size_t m_caret = 0;
  bool m_hasUndo = false;
  std::string m_undoText;
  size_t m_undoAnchor = 0;
  size_t m_undoCaret = 0;
  bool m_typingOpen = false;  // the undo unit still takes typed characters
  size_t m_typingEnd = 0;
};

// One displayed line: [start, end) is its text, `next` where the following line starts (after
// the line break, or at the wrap point).
struct EditLine {
  size_t start = 0;
  size_t end = 0;
  size_t next = 0;
};

// Per-byte extents of a run of text: extents[b] is the width up to the end of the character
// holding byte b (GetTextExtentExPoint's partial extents).
using ExtentsOf = std::function<std::vector<int>(std::string_view)>;

// Lines of `text` at its line breaks (CR LF, LF or CR) and, with width > 0, wrapped after the
// last blank that fits (or inside a word too long for a line).
std::vector<EditLine> BreakLines(std::string_view text, int width, const ExtentsOf& extents);
// The line holding `pos` (a position at a wrap point belongs to the line it starts).
size_t LineOf(const std::vector<EditLine>& lines, size_t pos);

}  // namespace pictavo::user::controls
