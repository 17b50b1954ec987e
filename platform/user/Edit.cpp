// The edit control: single- and multi-line text entry with selection, caret, clipboard, undo and
// the EM_ messages. The text model lives in EditModel.cpp; this is the window around it.
#include <algorithm>
#include <cstring>
#include <new>

#include "platform/base/Utf8.h"
#include "platform/kernel/GlobalMemory.h"
#include "platform/user/Caret.h"
#include "platform/user/Clipboard.h"
#include "platform/user/ControlsInternal.h"
#include "platform/user/EditModel.h"
#include "platform/user/Input.h"
#include "platform/user/Message.h"
#include "platform/user/Paint.h"
#include "platform/user/WindowPos.h"

namespace pictavo::user::controls {
namespace {

constexpr UINT kDefaultLimit = 32767;
constexpr int kWheelLines = 3;

struct EditState : ControlState {
  EditBuffer buffer;
  std::vector<EditLine> lines;  // the layout of the text
  int lineHeight = 13;
  int leftMargin = 1;
  int rightMargin = 1;
  RECT customRect{};  // EM_SETRECT
  bool hasCustomRect = false;
  int scrollX = 0;       // pixels scrolled to the left
  size_t firstLine = 0;  // multi-line: the line at the top
  bool focused = false;
  bool modified = false;
  bool tracking = false;  // a mouse selection is being followed
  UINT limit = kDefaultLimit;
  char32_t password = 0;
  int preferredX = -1;  // the column Up and Down keep to
  bool inCombo = false;
};
StateTable<EditState>& States() {
  static auto* table = new StateTable<EditState>;
  return *table;
}

bool IsMulti(DWORD style) {
  return (style & ES_MULTILINE) != 0;
}

bool Wraps(DWORD style) {
  return IsMulti(style) && !(style & ES_AUTOHSCROLL) && !(style & WS_HSCROLL);
}

// A memory DC with the control's font selected, for measuring.
class MeasureDc {
 public:
  explicit MeasureDc(HFONT font) : m_dc(CreateCompatibleDC(nullptr)) {
    m_old = SelectObject(m_dc, FontOrDefault(font));
  }
  ~MeasureDc() {
    SelectObject(m_dc, m_old);
    DeleteDC(m_dc);
  }
  MeasureDc(const MeasureDc&) = delete;
  MeasureDc& operator=(const MeasureDc&) = delete;
  HDC Dc() const { return m_dc; }

 private:
  HDC m_dc;
  HGDIOBJ m_old;
};

// What is shown for a stretch of text: itself, or one password character per character.
std::string Shown(const EditState& s, std::string_view text) {
  if (!s.password) return std::string(text);
  std::string mark;
  utf8::AppendCodePoint(mark, s.password);
  std::string out;
  for (size_t pos = 0; pos < text.size(); pos = NextChar(text, pos)) out += mark;
  return out;
}

// Per-byte extents of `text` as shown (the password form has its own bytes, mapped back).
std::vector<int> ExtentsFor(HDC dc, const EditState& s, std::string_view text) {
  std::vector<int> ext(text.size());
  if (text.empty()) return ext;
  if (s.password) {
    std::string mark;
    utf8::AppendCodePoint(mark, s.password);
    const int w = TextWidth(dc, mark);
    int x = 0;
    for (size_t pos = 0; pos < text.size();) {
      const size_t next = NextChar(text, pos);
      x += w;
      for (size_t b = pos; b < next; ++b) ext[b] = x;
      pos = next;
    }
    return ext;
  }
  SIZE size{};
  GetTextExtentExPoint(dc, text.data(), static_cast<int>(text.size()), 0, nullptr, ext.data(), &size);
  return ext;
}

RECT FormatRect(HWND hwnd, const EditState& s) {
  if (s.hasCustomRect) return s.customRect;
  RECT r;
  GetClientRect(hwnd, &r);
  r.left += s.leftMargin;
  r.right -= s.rightMargin;
  if (r.right < r.left) r.right = r.left;
  return r;
}

int VisibleLines(HWND hwnd, const EditState& s) {
  const RECT r = FormatRect(hwnd, s);
  return std::max(1, static_cast<int>((r.bottom - r.top) / std::max(1, s.lineHeight)));
}

void Relayout(HWND hwnd, EditState& s) {
  const DWORD style = StyleOf(hwnd);
  if (!IsMulti(style)) {
    s.lines = {EditLine{0, s.buffer.Size(), s.buffer.Size()}};
    return;
  }
  MeasureDc dc(s.font);
  const RECT r = FormatRect(hwnd, s);
  const int width = Wraps(style) ? std::max(1, static_cast<int>(r.right - r.left)) : 0;
  s.lines =
      BreakLines(s.buffer.Text(), width, [&](std::string_view text) { return ExtentsFor(dc.Dc(), s, text); });
  if (s.firstLine >= s.lines.size()) s.firstLine = s.lines.size() - 1;
}

int LineWidth(HDC dc, const EditState& s, const EditLine& line) {
  const std::string_view text = std::string_view(s.buffer.Text()).substr(line.start, line.end - line.start);
  const std::vector<int> ext = ExtentsFor(dc, s, text);
  return ext.empty() ? 0 : ext.back();
}

// Where a line's text starts, in client coordinates.
POINT LineOrigin(HWND hwnd, HDC dc, const EditState& s, size_t index) {
  const DWORD style = StyleOf(hwnd);
  const RECT r = FormatRect(hwnd, s);
  POINT p{r.left - s.scrollX, r.top};
  if (IsMulti(style)) {
    p.y = r.top + (static_cast<int>(index) - static_cast<int>(s.firstLine)) * s.lineHeight;
  } else {
    // A single line sits in the middle of the control.
    p.y = r.top + std::max(0, static_cast<int>((r.bottom - r.top - s.lineHeight) / 2));
  }
  if (style & (ES_CENTER | ES_RIGHT)) {
    const int free = (r.right - r.left) - LineWidth(dc, s, s.lines[index]);
    if (free > 0) p.x += (style & ES_RIGHT) ? free : free / 2;
  }
  return p;
}

POINT PosToPoint(HWND hwnd, const EditState& s, size_t pos) {
  MeasureDc dc(s.font);
  const size_t index = LineOf(s.lines, pos);
  const EditLine& line = s.lines[index];
  POINT p = LineOrigin(hwnd, dc.Dc(), s, index);
  const size_t in = std::min(pos, line.end) - line.start;
  if (in > 0) {
    const std::vector<int> ext =
        ExtentsFor(dc.Dc(), s, std::string_view(s.buffer.Text()).substr(line.start, in));
    p.x += ext.back();
  }
  return p;
}

// The character position nearest to a client point.
size_t PointToPos(HWND hwnd, const EditState& s, POINT pt) {
  MeasureDc dc(s.font);
  size_t index = 0;
  if (IsMulti(StyleOf(hwnd))) {
    const RECT r = FormatRect(hwnd, s);
    const int row = pt.y >= r.top ? (pt.y - r.top) / std::max(1, s.lineHeight)
                                  : -1 - (r.top - pt.y - 1) / std::max(1, s.lineHeight);
    const long long at = static_cast<long long>(s.firstLine) + row;
    index = static_cast<size_t>(std::clamp<long long>(at, 0, static_cast<long long>(s.lines.size()) - 1));
  }
  const EditLine& line = s.lines[index];
  const POINT origin = LineOrigin(hwnd, dc.Dc(), s, index);
  const std::string_view text = std::string_view(s.buffer.Text()).substr(line.start, line.end - line.start);
  const std::vector<int> ext = ExtentsFor(dc.Dc(), s, text);
  const int x = pt.x - origin.x;
  size_t best = 0;
  int before = 0;
  for (size_t pos = 0; pos < text.size();) {
    const size_t next = NextChar(text, pos);
    const int after = ext[next - 1];
    if (x < (before + after) / 2) break;
    best = next;
    before = after;
    pos = next;
  }
  // A wrapped line's end is the next line's start: stay on this line by stopping before a
  // trailing blank's end only when the line wraps.
  return line.start + best;
}

void UpdateScrollBars(HWND hwnd, EditState& s) {
  const DWORD style = StyleOf(hwnd);
  if (!IsMulti(style)) return;
  if (style & WS_VSCROLL) {
    SCROLLINFO info{sizeof info,
                    SIF_ALL | SIF_DISABLENOSCROLL,
                    0,
                    static_cast<int>(s.lines.size()) - 1,
                    static_cast<UINT>(VisibleLines(hwnd, s)),
                    static_cast<int>(s.firstLine),
                    0};
    SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
  }
  if (style & WS_HSCROLL) {
    MeasureDc dc(s.font);
    int widest = 0;
    for (const EditLine& line : s.lines) widest = std::max(widest, LineWidth(dc.Dc(), s, line));
    const RECT r = FormatRect(hwnd, s);
    SCROLLINFO info{sizeof info,
                    SIF_ALL | SIF_DISABLENOSCROLL,
                    0,
                    widest,
                    static_cast<UINT>(r.right - r.left),
                    s.scrollX,
                    0};
    SetScrollInfo(hwnd, SB_HORZ, &info, TRUE);
  }
}

void PlaceCaret(HWND hwnd, const EditState& s) {
  if (!s.focused) return;
  const POINT p = PosToPoint(hwnd, s, s.buffer.Caret());
  SetCaretPos(p.x, p.y);
}

// Scrolls so the caret is in view: by a third of the width sideways, line by line up and down.
void ScrollToCaret(HWND hwnd, EditState& s) {
  const DWORD style = StyleOf(hwnd);
  const RECT r = FormatRect(hwnd, s);
  const int width = r.right - r.left;
  bool moved = false;
  if (IsMulti(style)) {
    const size_t line = LineOf(s.lines, s.buffer.Caret());
    const size_t visible = static_cast<size_t>(VisibleLines(hwnd, s));
    size_t first = s.firstLine;
    if (line < first) first = line;
    if (line >= first + visible) first = line - visible + 1;
    if (first != s.firstLine) {
      s.firstLine = first;
      moved = true;
      if (style & WS_VSCROLL) NotifyParent(hwnd, EN_VSCROLL);
    }
  }
  if ((style & ES_AUTOHSCROLL) || (IsMulti(style) && !Wraps(style))) {
    const POINT p = PosToPoint(hwnd, s, s.buffer.Caret());
    const int x = p.x + s.scrollX - r.left;  // caret offset in the unscrolled text
    int scroll = s.scrollX;
    if (x < scroll) scroll = std::max(0, x - width / 3);
    if (x >= scroll + width) scroll = x - width + width / 3;
    if (scroll != s.scrollX) {
      s.scrollX = scroll;
      moved = true;
    }
  } else if (s.scrollX) {
    s.scrollX = 0;
    moved = true;
  }
  if (moved) InvalidateRect(hwnd, nullptr, TRUE);
  UpdateScrollBars(hwnd, s);
  PlaceCaret(hwnd, s);
}

void Redraw(HWND hwnd) {
  InvalidateRect(hwnd, nullptr, TRUE);
}

// After the text changed: layout, view and the parent's EN_UPDATE / EN_CHANGE.
void TextChanged(HWND hwnd, const std::shared_ptr<EditState>& state, bool notify) {
  EditState& s = *state;
  Relayout(hwnd, s);
  ScrollToCaret(hwnd, s);
  Redraw(hwnd);
  if (!notify) return;
  NotifyParent(hwnd, EN_UPDATE);
  if (s.alive) NotifyParent(hwnd, EN_CHANGE);
}

// The text as typing would put it in: the style's case, a single line for a single-line edit.
std::string Filtered(DWORD style, std::string text) {
  if (!IsMulti(style)) {
    const size_t cut = text.find_first_of("\r\n");
    if (cut != std::string::npos) text.resize(cut);
  }
  if (style & ES_UPPERCASE) return UpperCase(text);
  if (style & ES_LOWERCASE) return LowerCase(text);
  return text;
}

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Whether the text after a change still fits where the control cannot scroll.
bool Fits(HWND hwnd, EditState& s) {
  const DWORD style = StyleOf(hwnd);
  const RECT r = FormatRect(hwnd, s);
  if (!IsMulti(style)) {
    if (style & ES_AUTOHSCROLL) return true;
    MeasureDc dc(s.font);
    return LineWidth(dc.Dc(), s, EditLine{0, s.buffer.Size(), s.buffer.Size()}) <= r.right - r.left;
  }
  if (style & (ES_AUTOVSCROLL | WS_VSCROLL)) return true;
  Relayout(hwnd, s);
  return static_cast<int>(s.lines.size()) * s.lineHeight <=
         std::max(s.lineHeight, static_cast<int>(r.bottom - r.top));
}

// Puts user input in place of the selection, within the style's rules and the limit. False
// when nothing could go in.
bool Insert(HWND hwnd, const std::shared_ptr<EditState>& state, std::string text, EditBuffer::Undo undo,
            bool userInput = true) {
  EditState& s = *state;
  const DWORD style = StyleOf(hwnd);
  if (userInput && (style & ES_READONLY)) {
    Beep();
    return false;
  }
  text = Filtered(style, std::move(text));
  if (userInput && (style & ES_NUMBER) && !AllDigits(text)) {
    Beep();
    return false;
  }
  const size_t kept = s.buffer.Size() - (s.buffer.SelMax() - s.buffer.SelMin());
  const size_t room = s.limit > kept ? s.limit - kept : 0;
  bool truncated = false;
  if (text.size() > room) {
    text.resize(CharStart(text, room));
    truncated = true;
  }
  if (text.empty() && !s.buffer.HasSelection()) {
    if (truncated) NotifyParent(hwnd, EN_MAXTEXT);
    return false;
  }
  EditBuffer before;
  try {
    before = s.buffer;
    s.buffer.Replace(text, undo);
  } catch (const std::bad_alloc&) {
    NotifyParent(hwnd, EN_ERRSPACE);
    return false;
  }
  if (!Fits(hwnd, s)) {
    s.buffer = before;
    Relayout(hwnd, s);
    NotifyParent(hwnd, EN_MAXTEXT);
    return false;
  }
  s.modified = true;
  s.preferredX = -1;
  TextChanged(hwnd, state, true);
  if (truncated && s.alive) NotifyParent(hwnd, EN_MAXTEXT);
  return true;
}

void Erase(HWND hwnd, const std::shared_ptr<EditState>& state, size_t from, size_t to) {
  EditState& s = *state;
  if (StyleOf(hwnd) & ES_READONLY) {
    Beep();
    return;
  }
  if (from == to) return;
  s.buffer.SetSelection(from, to);
  s.buffer.Replace("", EditBuffer::Undo::kNew);
  s.modified = true;
  s.preferredX = -1;
  TextChanged(hwnd, state, true);
}

void Copy(HWND hwnd, const EditState& s) {
  if (!s.buffer.HasSelection() || s.password) return;
  const std::string text = s.buffer.Text().substr(s.buffer.SelMin(), s.buffer.SelMax() - s.buffer.SelMin());
  if (!OpenClipboard(hwnd)) return;
  EmptyClipboard();
  if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
    std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    if (!SetClipboardData(CF_TEXT, block)) GlobalFree(block);
  }
  CloseClipboard();
}

void Paste(HWND hwnd, const std::shared_ptr<EditState>& state) {
  if (!OpenClipboard(hwnd)) return;
  std::string text;
  if (HANDLE block = GetClipboardData(CF_TEXT)) {
    if (const auto* bytes = static_cast<const char*>(GlobalLock(block))) {
      text.assign(bytes, strnlen(bytes, GlobalSize(block)));
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  if (!text.empty()) Insert(hwnd, state, std::move(text), EditBuffer::Undo::kNew);
}

void Cut(HWND hwnd, const std::shared_ptr<EditState>& state) {
  EditState& s = *state;
  if (!s.buffer.HasSelection()) return;
  if (StyleOf(hwnd) & ES_READONLY) {
    Beep();
    return;
  }
  Copy(hwnd, s);
  Erase(hwnd, state, s.buffer.SelMin(), s.buffer.SelMax());
}

void Undo(HWND hwnd, const std::shared_ptr<EditState>& state) {
  EditState& s = *state;
  if (StyleOf(hwnd) & ES_READONLY) return;
  if (!s.buffer.UndoLast()) return;
  s.modified = true;
  TextChanged(hwnd, state, true);
}

// Moves the caret; with `extend` the anchor stays.
void MoveCaret(HWND hwnd, EditState& s, size_t pos, bool extend, bool keepColumn = false) {
  s.buffer.SetSelection(extend ? s.buffer.Anchor() : pos, pos);
  if (!keepColumn) s.preferredX = -1;
  ScrollToCaret(hwnd, s);
  Redraw(hwnd);
}

size_t LineStep(HWND hwnd, EditState& s, int delta) {
  const size_t caret = s.buffer.Caret();
  const size_t index = LineOf(s.lines, caret);
  const long long target = std::clamp<long long>(static_cast<long long>(index) + delta, 0,
                                                 static_cast<long long>(s.lines.size()) - 1);
  if (s.preferredX < 0) s.preferredX = PosToPoint(hwnd, s, caret).x;
  const int y = PosToPoint(hwnd, s, s.lines[static_cast<size_t>(target)].start).y;
  return PointToPos(hwnd, s, POINT{s.preferredX, y + s.lineHeight / 2});
}

void OnKeyDown(HWND hwnd, const std::shared_ptr<EditState>& state, WPARAM key) {
  EditState& s = *state;
  const DWORD style = StyleOf(hwnd);
  const bool shift = KeyDown(VK_SHIFT);
  const bool ctrl = KeyDown(VK_CONTROL);
  const bool multi = IsMulti(style);
  EditBuffer& b = s.buffer;
  const size_t line = LineOf(s.lines, b.Caret());
  switch (key) {
    case VK_LEFT:
      if (b.HasSelection() && !shift)
        MoveCaret(hwnd, s, b.SelMin(), false);
      else
        MoveCaret(hwnd, s, ctrl ? b.WordLeft(b.Caret()) : b.Prev(b.Caret()), shift);
      return;
    case VK_RIGHT:
      if (b.HasSelection() && !shift)
        MoveCaret(hwnd, s, b.SelMax(), false);
      else
        MoveCaret(hwnd, s, ctrl ? b.WordRight(b.Caret()) : b.Next(b.Caret()), shift);
      return;
    case VK_UP:
    case VK_DOWN:
      if (!multi) {
        OnKeyDown(hwnd, state, key == VK_UP ? VK_LEFT : VK_RIGHT);
        return;
      }
      MoveCaret(hwnd, s, LineStep(hwnd, s, key == VK_UP ? -1 : 1), shift, true);
      return;
    case VK_PRIOR:
    case VK_NEXT:
      if (!multi) return;
      MoveCaret(hwnd, s, LineStep(hwnd, s, (key == VK_PRIOR ? -1 : 1) * VisibleLines(hwnd, s)), shift, true);
      return;
    case VK_HOME:
      MoveCaret(hwnd, s, (ctrl || !multi) ? 0 : s.lines[line].start, shift);
      return;
    case VK_END:
      MoveCaret(hwnd, s, (ctrl || !multi) ? b.Size() : s.lines[line].end, shift);
      return;
    case VK_DELETE:
      if (shift) {
        Cut(hwnd, state);
      } else if (b.HasSelection()) {
        Erase(hwnd, state, b.SelMin(), b.SelMax());
      } else {
        Erase(hwnd, state, b.Caret(), ctrl ? b.WordRight(b.Caret()) : b.Next(b.Caret()));
      }
      return;
    case VK_INSERT:
      if (ctrl)
        Copy(hwnd, s);
      else if (shift)
        Paste(hwnd, state);
      return;
    default:
      return;
  }
}

void Char(HWND hwnd, const std::shared_ptr<EditState>& state, char32_t ch) {
  EditState& s = *state;
  EditBuffer& b = s.buffer;
  const bool multi = IsMulti(StyleOf(hwnd));
  switch (ch) {
    case 0x01:  // Ctrl+A
      MoveCaret(hwnd, s, b.Size(), false);
      b.SetSelection(0, b.Size());
      Redraw(hwnd);
      return;
    case 0x03:  // Ctrl+C
      Copy(hwnd, s);
      return;
    case 0x16:  // Ctrl+V
      Paste(hwnd, state);
      return;
    case 0x18:  // Ctrl+X
      Cut(hwnd, state);
      return;
    case 0x1A:  // Ctrl+Z
      Undo(hwnd, state);
      return;
    case 0x08:  // Backspace
      if (b.HasSelection())
        Erase(hwnd, state, b.SelMin(), b.SelMax());
      else
        Erase(hwnd, state, b.Prev(b.Caret()), b.Caret());
      return;
    case 0x7F:  // Ctrl+Backspace: the word before
      Erase(hwnd, state, b.WordLeft(b.Caret()), b.HasSelection() ? b.SelMax() : b.Caret());
      return;
    case '\r':
    case '\n':
      if (multi) Insert(hwnd, state, "\r\n", EditBuffer::Undo::kNew);
      return;
    case '\t':
      if (multi) Insert(hwnd, state, "\t", EditBuffer::Undo::kTyping);
      return;
    default:
      break;
  }
  if (ch < 0x20) return;
  std::string text;
  utf8::AppendCodePoint(text, ch);
  Insert(hwnd, state, std::move(text), EditBuffer::Undo::kTyping);
}

void Paint(HWND hwnd, HDC dc, EditState& s) {
  const DWORD style = StyleOf(hwnd);
  const bool disabled = !IsWindowEnabled(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  HBRUSH brush =
      ControlColorBrush(hwnd, dc, (disabled || (style & ES_READONLY)) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
  FillBackground(hwnd, dc, brush, client);
  Selected font(dc, FontOrDefault(s.font));
  const COLORREF text = disabled ? GetSysColor(COLOR_GRAYTEXT) : GetTextColor(dc);
  const int mode = GetBkMode(dc);
  const bool showSelection = s.buffer.HasSelection() && (s.focused || (style & ES_NOHIDESEL)) && !disabled;
  const RECT format = FormatRect(hwnd, s);
  SaveDC(dc);
  IntersectClipRect(dc, format.left, client.top, format.right, client.bottom);
  const size_t last =
      IsMulti(style) ? std::min(s.lines.size(), s.firstLine + static_cast<size_t>(VisibleLines(hwnd, s)) + 1)
                     : s.lines.size();
  for (size_t i = IsMulti(style) ? s.firstLine : 0; i < last; ++i) {
    const EditLine& line = s.lines[i];
    const POINT origin = LineOrigin(hwnd, dc, s, i);
    const std::string_view all(s.buffer.Text());
    const std::vector<int> ext = ExtentsFor(dc, s, all.substr(line.start, line.end - line.start));
    auto xAt = [&](size_t pos) { return pos <= line.start ? 0 : ext[pos - line.start - 1]; };
    // Three runs: before, inside and after the selection.
    const size_t selFrom = showSelection ? std::clamp(s.buffer.SelMin(), line.start, line.end) : line.end;
    const size_t selTo = showSelection ? std::clamp(s.buffer.SelMax(), line.start, line.end) : line.end;
    const size_t bounds[4] = {line.start, selFrom, selTo, line.end};
    for (int run = 0; run < 3; ++run) {
      const size_t from = bounds[run], to = bounds[run + 1];
      const bool selected = run == 1;
      if (from >= to) continue;
      const std::string shown = Shown(s, all.substr(from, to - from));
      const int x = origin.x + xAt(from);
      if (selected) {
        gdi::FillSolidRect(dc, RECT{x, origin.y, origin.x + xAt(to), origin.y + s.lineHeight},
                           GetSysColor(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        SetBkMode(dc, TRANSPARENT);
      } else {
        SetTextColor(dc, text);
        SetBkMode(dc, mode);
      }
      TextOut(dc, x, origin.y, shown.c_str(), static_cast<int>(shown.size()));
    }
    // A selected line break shows as a little block after the line.
    if (showSelection && s.buffer.SelMin() <= line.end && s.buffer.SelMax() > line.end &&
        line.next > line.end) {
      const int x = origin.x + xAt(line.end);
      gdi::FillSolidRect(dc, RECT{x, origin.y, x + 4, origin.y + s.lineHeight}, GetSysColor(COLOR_HIGHLIGHT));
    }
  }
  RestoreDC(dc, -1);
}

void SetFontOf(HWND hwnd, EditState& s, HFONT font, bool redraw) {
  s.font = font;
  s.lineHeight = LineHeightOf(font);
  // The margins follow the font (EC_USEFONTINFO): a little air on each side.
  MeasureDc dc(font);
  TEXTMETRIC tm{};
  GetTextMetrics(dc.Dc(), &tm);
  s.leftMargin = s.rightMargin = std::max(1, static_cast<int>(tm.tmAveCharWidth / 3));
  Relayout(hwnd, s);
  if (s.focused) {
    DestroyCaret();
    CreateCaret(hwnd, nullptr, 1, s.lineHeight);
    ShowCaret(hwnd);
  }
  ScrollToCaret(hwnd, s);
  if (redraw) Redraw(hwnd);
}

LRESULT GetLine(const EditState& s, bool multi, WPARAM index, LPSTR buffer) {
  if (!buffer) return 0;
  WORD max = 0;
  std::memcpy(&max, buffer, sizeof max);
  const size_t i = multi ? static_cast<size_t>(index) : 0;
  if (i >= s.lines.size()) return 0;
  const EditLine& line = s.lines[i];
  size_t n = std::min<size_t>(line.end - line.start, max);
  if (n < line.end - line.start) n = CharStart(std::string_view(s.buffer.Text()).substr(line.start), n);
  std::memcpy(buffer, s.buffer.Text().data() + line.start, n);
  return static_cast<LRESULT>(n);
}

void VScroll(HWND hwnd, EditState& s, WORD request, int thumb) {
  const long long visible = VisibleLines(hwnd, s);
  long long first = static_cast<long long>(s.firstLine);
  switch (request) {
    case SB_LINEUP:
      --first;
      break;
    case SB_LINEDOWN:
      ++first;
      break;
    case SB_PAGEUP:
      first -= visible;
      break;
    case SB_PAGEDOWN:
      first += visible;
      break;
    case SB_TOP:
      first = 0;
      break;
    case SB_BOTTOM:
      first = static_cast<long long>(s.lines.size());
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      first = thumb;
      break;
    default:
      return;
  }
  first = std::clamp<long long>(first, 0,
                                std::max<long long>(0, static_cast<long long>(s.lines.size()) - visible));
  if (static_cast<size_t>(first) == s.firstLine) return;
  s.firstLine = static_cast<size_t>(first);
  UpdateScrollBars(hwnd, s);
  PlaceCaret(hwnd, s);
  Redraw(hwnd);
}

void HScroll(HWND hwnd, EditState& s, WORD request, int thumb) {
  const RECT r = FormatRect(hwnd, s);
  const int width = r.right - r.left;
  int x = s.scrollX;
  switch (request) {
    case SB_LINELEFT:
      x -= 8;
      break;
    case SB_LINERIGHT:
      x += 8;
      break;
    case SB_PAGELEFT:
      x -= width;
      break;
    case SB_PAGERIGHT:
      x += width;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      x = thumb;
      break;
    case SB_LEFT:
      x = 0;
      break;
    default:
      return;
  }
  x = std::max(0, x);
  if (x == s.scrollX) return;
  s.scrollX = x;
  UpdateScrollBars(hwnd, s);
  PlaceCaret(hwnd, s);
  Redraw(hwnd);
}

LRESULT DlgCode(HWND hwnd, const EditState& s, const MSG* msg) {
  LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
  if (IsMulti(StyleOf(hwnd))) {
    code |= DLGC_WANTALLKEYS;
    // Enter without ES_WANTRETURN, Escape and Tab still belong to the dialog.
    if (msg && msg->message == WM_KEYDOWN &&
        ((msg->wParam == VK_RETURN && !(StyleOf(hwnd) & ES_WANTRETURN)) || msg->wParam == VK_ESCAPE ||
         msg->wParam == VK_TAB))
      code &= ~DLGC_WANTALLKEYS;
  }
  // A combo box's edit takes Enter and Escape while the list is dropped.
  if (s.inCombo && SendMessage(GetParent(hwnd), CB_GETDROPPEDSTATE, 0, 0)) code |= DLGC_WANTALLKEYS;
  return code;
}

// Keys a combo box's edit passes to its combo box.
bool ForwardToCombo(HWND hwnd, const EditState& s, UINT message, WPARAM key) {
  if (!s.inCombo) return false;
  HWND combo = GetParent(hwnd);
  bool forward = false;
  if (message == WM_SYSKEYDOWN) {
    forward = key == VK_UP || key == VK_DOWN;
  } else if (message == WM_KEYDOWN) {
    forward = key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT || key == VK_F4 ||
              ((key == VK_RETURN || key == VK_ESCAPE) && SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0));
  }
  if (forward) SendMessage(combo, message, key, 0);
  return forward;
}

bool IsComboParent(HWND parent) {
  char name[16] = {};
  return parent && GetClassName(parent, name, sizeof name) && std::strcmp(name, WC_COMBOBOX) == 0;
}

}  // namespace

LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto state = States().Find(hwnd);
  if (!state) {
    if (message != WM_NCCREATE) return DefWindowProc(hwnd, message, wParam, lParam);
    state = States().Create(hwnd);
  }
  EditState& s = *state;
  EditBuffer& b = s.buffer;
  const DWORD style = StyleOf(hwnd);
  switch (message) {
    case WM_NCCREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
      if (cs->style & ES_PASSWORD) s.password = U'*';
      s.inCombo = IsComboParent(cs->hwndParent);
      if (cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) b.SetText(cs->lpszName);
      s.lineHeight = LineHeightOf(nullptr);
      s.lines = {EditLine{0, b.Size(), b.Size()}};
      return DefWindowProc(hwnd, message, wParam, lParam);
    }
    case WM_NCDESTROY:
      States().Remove(hwnd);
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_CREATE:
      SetFontOf(hwnd, s, nullptr, false);
      return 0;
    case WM_SIZE:
      Relayout(hwnd, s);
      ScrollToCaret(hwnd, s);
      Redraw(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      const bool hide = s.focused && message == WM_PAINT;
      if (hide) HideCaret(hwnd);
      {
        PaintDc paint(hwnd, wParam);
        Paint(hwnd, paint.Dc(), s);
      }
      if (hide) ShowCaret(hwnd);
      return 0;
    }
    case WM_GETDLGCODE:
      return DlgCode(hwnd, s, reinterpret_cast<const MSG*>(lParam));
    case WM_SETFONT:
      SetFontOf(hwnd, s, reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(s.font);
    case WM_ENABLE:
      Redraw(hwnd);
      return 0;
    case WM_SETTEXT: {
      b.SetText(lParam ? reinterpret_cast<LPCSTR>(lParam) : "");
      s.modified = false;
      s.scrollX = 0;
      s.firstLine = 0;
      TextChanged(hwnd, state, true);
      return TRUE;
    }
    case WM_GETTEXT: {
      auto* out = reinterpret_cast<LPSTR>(lParam);
      if (!out || wParam == 0) return 0;
      size_t n = std::min<size_t>(b.Size(), wParam - 1);
      if (n < b.Size()) n = CharStart(b.Text(), n);
      std::memcpy(out, b.Text().data(), n);
      out[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(b.Size());
    case WM_SETFOCUS:
      s.focused = true;
      CreateCaret(hwnd, nullptr, 1, s.lineHeight);
      PlaceCaret(hwnd, s);
      ShowCaret(hwnd);
      Redraw(hwnd);
      NotifyParent(hwnd, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      s.focused = false;
      s.tracking = false;
      DestroyCaret();
      Redraw(hwnd);
      NotifyParent(hwnd, EN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!s.focused) SetFocus(hwnd);
      if (!s.alive || !s.focused) return 0;
      const size_t pos = PointToPos(hwnd, s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      if (message == WM_LBUTTONDBLCLK) {
        size_t from = 0, to = 0;
        b.WordAt(pos, &from, &to);
        b.SetSelection(from, to);
        ScrollToCaret(hwnd, s);
        Redraw(hwnd);
        return 0;
      }
      MoveCaret(hwnd, s, pos, (wParam & MK_SHIFT) != 0);
      s.tracking = true;
      SetCapture(hwnd);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (s.tracking) {
        const size_t pos = PointToPos(hwnd, s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (pos != b.Caret()) MoveCaret(hwnd, s, pos, true);
      }
      return 0;
    case WM_LBUTTONUP:
      if (s.tracking) {
        s.tracking = false;
        if (GetCapture() == hwnd) ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED:
      s.tracking = false;
      return 0;
    case WM_MOUSEWHEEL:
      if (IsMulti(style)) {
        const int notches = static_cast<SHORT>(HIWORD(wParam)) / WHEEL_DELTA;
        for (int i = 0; i < std::abs(notches) * kWheelLines; ++i)
          VScroll(hwnd, s, notches > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
        return 0;
      }
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (ForwardToCombo(hwnd, s, message, wParam)) return 0;
      if (message == WM_KEYDOWN) {
        OnKeyDown(hwnd, state, wParam);
        return 0;
      }
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_CHAR:
      if (s.inCombo && (wParam == '\r' || wParam == 0x1B)) return 0;
      Char(hwnd, state, static_cast<char32_t>(wParam));
      return 0;
    case WM_VSCROLL:
      NotifyParent(hwnd, EN_VSCROLL);
      if (s.alive) VScroll(hwnd, s, LOWORD(wParam), static_cast<SHORT>(HIWORD(wParam)));
      return 0;
    case WM_HSCROLL:
      NotifyParent(hwnd, EN_HSCROLL);
      if (s.alive) HScroll(hwnd, s, LOWORD(wParam), static_cast<SHORT>(HIWORD(wParam)));
      return 0;
    case WM_COPY:
      Copy(hwnd, s);
      return 0;
    case WM_CUT:
      Cut(hwnd, state);
      return 0;
    case WM_PASTE:
      Paste(hwnd, state);
      return 0;
    case WM_CLEAR:
      if (b.HasSelection()) Erase(hwnd, state, b.SelMin(), b.SelMax());
      return 0;
    case WM_UNDO:
    case EM_UNDO:
      if (!b.CanUndo()) return FALSE;
      Undo(hwnd, state);
      return TRUE;
    case EM_CANUNDO:
      return b.CanUndo();
    case EM_EMPTYUNDOBUFFER:
      b.EmptyUndo();
      return 0;
    case EM_GETSEL: {
      const DWORD from = static_cast<DWORD>(b.SelMin()), to = static_cast<DWORD>(b.SelMax());
      if (wParam) *reinterpret_cast<LPDWORD>(wParam) = from;
      if (lParam) *reinterpret_cast<LPDWORD>(lParam) = to;
      return MAKELRESULT(std::min<DWORD>(from, 0xFFFF), std::min<DWORD>(to, 0xFFFF));
    }
    case EM_SETSEL: {
      const long long start = static_cast<int>(wParam), end = static_cast<int>(lParam);
      if (start < 0) {
        b.SetSelection(b.Caret(), b.Caret());  // -1: no selection, the caret stays
      } else {
        const size_t to = end < 0 ? b.Size() : static_cast<size_t>(end);
        b.SetSelection(static_cast<size_t>(start), to);
      }
      s.preferredX = -1;
      PlaceCaret(hwnd, s);
      Redraw(hwnd);
      return 0;
    }
    case EM_REPLACESEL:
      Insert(hwnd, state, lParam ? reinterpret_cast<LPCSTR>(lParam) : "",
             wParam ? EditBuffer::Undo::kNew : EditBuffer::Undo::kNone, false);
      return 0;
    case EM_GETLINECOUNT:
      return static_cast<LRESULT>(s.lines.size());
    case EM_LINEINDEX: {
      const long long line = static_cast<int>(wParam) < 0 ? static_cast<long long>(LineOf(s.lines, b.Caret()))
                                                          : static_cast<int>(wParam);
      if (line >= static_cast<long long>(s.lines.size())) return -1;
      return static_cast<LRESULT>(s.lines[static_cast<size_t>(line)].start);
    }
    case EM_LINELENGTH: {
      const int index = static_cast<int>(wParam);
      if (index < 0) {
        // The unselected characters on the lines the selection touches.
        const EditLine& first = s.lines[LineOf(s.lines, b.SelMin())];
        const EditLine& last = s.lines[LineOf(s.lines, b.SelMax())];
        return static_cast<LRESULT>((b.SelMin() - first.start) + (last.end - std::min(last.end, b.SelMax())));
      }
      const EditLine& line = s.lines[LineOf(s.lines, std::min<size_t>(static_cast<size_t>(index), b.Size()))];
      return static_cast<LRESULT>(line.end - line.start);
    }
    case EM_GETLINE:
      return GetLine(s, IsMulti(style), wParam, reinterpret_cast<LPSTR>(lParam));
    case EM_LINEFROMCHAR: {
      const int index = static_cast<int>(wParam);
      const size_t pos = index < 0 ? b.SelMin() : std::min<size_t>(static_cast<size_t>(index), b.Size());
      return static_cast<LRESULT>(LineOf(s.lines, pos));
    }
    case EM_LIMITTEXT:
      s.limit = wParam ? static_cast<UINT>(wParam) : (IsMulti(style) ? 0xFFFFFFFFu : 0x7FFFFFFEu);
      return 0;
    case EM_GETLIMITTEXT:
      return static_cast<LRESULT>(s.limit);
    case EM_SETMARGINS: {
      if (wParam == EC_USEFONTINFO) {
        SetFontOf(hwnd, s, s.font, true);
        return 0;
      }
      if (wParam & EC_LEFTMARGIN) s.leftMargin = LOWORD(lParam);
      if (wParam & EC_RIGHTMARGIN) s.rightMargin = HIWORD(lParam);
      Relayout(hwnd, s);
      ScrollToCaret(hwnd, s);
      Redraw(hwnd);
      return 0;
    }
    case EM_GETMARGINS:
      return MAKELRESULT(s.leftMargin, s.rightMargin);
    case EM_GETMODIFY:
      return s.modified;
    case EM_SETMODIFY:
      s.modified = wParam != 0;
      return 0;
    case EM_SCROLLCARET:
      ScrollToCaret(hwnd, s);
      return TRUE;
    case EM_SETREADONLY:
      SetWindowLong(hwnd, GWL_STYLE,
                    static_cast<LONG>(wParam ? (style | ES_READONLY) : (style & ~ES_READONLY)));
      Redraw(hwnd);
      return TRUE;
    case EM_SETPASSWORDCHAR:
      s.password = static_cast<char32_t>(wParam);
      SetWindowLong(hwnd, GWL_STYLE,
                    static_cast<LONG>(wParam ? (style | ES_PASSWORD) : (style & ~ES_PASSWORD)));
      Relayout(hwnd, s);
      ScrollToCaret(hwnd, s);
      Redraw(hwnd);
      return 0;
    case EM_GETPASSWORDCHAR:
      return static_cast<LRESULT>(s.password);
    case EM_GETFIRSTVISIBLELINE:
      if (IsMulti(style)) return static_cast<LRESULT>(s.firstLine);
      return static_cast<LRESULT>(PointToPos(hwnd, s, POINT{FormatRect(hwnd, s).left, 0}));
    case EM_LINESCROLL:
      if (!IsMulti(style)) return FALSE;
      VScroll(hwnd, s, SB_THUMBPOSITION, static_cast<int>(s.firstLine) + static_cast<int>(lParam));
      if (wParam)
        HScroll(hwnd, s, SB_THUMBPOSITION, s.scrollX + static_cast<int>(wParam) * LineHeightOf(s.font) / 2);
      return TRUE;
    case EM_SCROLL: {
      if (!IsMulti(style)) return FALSE;
      const size_t before = s.firstLine;
      VScroll(hwnd, s, static_cast<WORD>(wParam), 0);
      return MAKELRESULT(static_cast<WORD>(static_cast<int>(s.firstLine) - static_cast<int>(before)), TRUE);
    }
    case EM_GETRECT:
      if (lParam) *reinterpret_cast<RECT*>(lParam) = FormatRect(hwnd, s);
      return 0;
    case EM_SETRECT:
    case EM_SETRECTNP:
      if (lParam) {
        s.customRect = *reinterpret_cast<const RECT*>(lParam);
        s.hasCustomRect = true;
      } else {
        s.hasCustomRect = false;
      }
      Relayout(hwnd, s);
      ScrollToCaret(hwnd, s);
      if (message == EM_SETRECT) Redraw(hwnd);
      return 0;
    case EM_POSFROMCHAR: {
      const POINT p = PosToPoint(hwnd, s, std::min<size_t>(static_cast<size_t>(wParam), b.Size()));
      return MAKELRESULT(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
    }
    case EM_CHARFROMPOS: {
      const size_t pos = PointToPos(hwnd, s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return MAKELRESULT(static_cast<WORD>(pos), static_cast<WORD>(LineOf(s.lines, pos)));
    }
    case EM_FMTLINES:
    case EM_SETTABSTOPS:
    case EM_SETWORDBREAKPROC:
    case EM_GETWORDBREAKPROC:
    case EM_GETHANDLE:
    case EM_SETHANDLE:
    case EM_GETTHUMB:
      return 0;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace pictavo::user::controls
