// The standard control classes and what their procedures share.
#include <cwctype>

#include "platform/base/Utf8.h"
#include "platform/kernel/Unicode.h"
#include "platform/user/ClassTable.h"
#include "platform/user/ControlsInternal.h"
#include "platform/user/Cursor.h"
#include "platform/user/Input.h"
#include "platform/user/Mdi.h"
#include "platform/user/Message.h"
#include "platform/user/Metrics.h"
#include "platform/user/Paint.h"
#include "platform/user/WindowPos.h"

namespace pictavo::user::detail {

std::vector<WNDCLASSEX> ControlClassDefinitions() {
  using namespace controls;
  HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  HCURSOR beam = LoadCursor(nullptr, IDC_IBEAM);
  auto make = [](LPCSTR name, WNDPROC proc, UINT style, HCURSOR cursor) {
    WNDCLASSEX wc{};
    wc.cbSize = sizeof wc;
    wc.style = style | CS_GLOBALCLASS;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = sizeof(void*);
    wc.hCursor = cursor;
    wc.lpszClassName = name;
    return wc;
  };
  return {
      make(WC_BUTTON, ButtonProc, CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW, arrow),
      make(WC_STATIC, StaticProc, CS_DBLCLKS | CS_PARENTDC, arrow),
      make(WC_EDIT, EditProc, CS_DBLCLKS | CS_PARENTDC, beam),
      make(WC_LISTBOX, ListBoxProc, CS_DBLCLKS | CS_PARENTDC, arrow),
      make(WC_COMBOBOX, ComboBoxProc, CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW, arrow),
      make(WC_COMBOLBOX, ListBoxProc, CS_DBLCLKS | CS_SAVEBITS, arrow),
      make(WC_SCROLLBAR, ScrollBarProc, CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW, arrow),
      [&] {
        // The empty area behind the documents shows the application workspace colour.
        WNDCLASSEX wc = make(WC_MDICLIENT, MdiClientProc, 0, arrow);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_APPWORKSPACE + 1));
        return wc;
      }(),
  };
}

}  // namespace pictavo::user::detail

namespace pictavo::user {

void RegisterControlClasses() {
  // Any class lookup registers them.
  WNDCLASSEX wc{};
  wc.cbSize = sizeof wc;
  GetClassInfoEx(nullptr, WC_BUTTON, &wc);
}

HBRUSH ControlColorBrush(HWND control, HDC dc, UINT ctlColorMessage) {
  HWND parent = GetParent(control);
  HBRUSH brush = nullptr;
  if (parent) {
    brush = reinterpret_cast<HBRUSH>(SendMessage(parent, ctlColorMessage, reinterpret_cast<WPARAM>(dc),
                                                 reinterpret_cast<LPARAM>(control)));
  }
  if (!brush)
    brush = reinterpret_cast<HBRUSH>(DefWindowProc(parent ? parent : control, ctlColorMessage,
                                                   reinterpret_cast<WPARAM>(dc),
                                                   reinterpret_cast<LPARAM>(control)));
  return brush;
}

}  // namespace pictavo::user

namespace pictavo::user::controls {

HFONT FontOrDefault(HFONT font) {
  return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int LineHeightOf(HFONT font) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, FontOrDefault(font));
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  SelectObject(dc, old);
  DeleteDC(dc);
  return tm.tmHeight > 0 ? tm.tmHeight : 13;
}

int TextWidth(HDC dc, std::string_view text) {
  if (text.empty()) return 0;
  SIZE size{};
  GetTextExtentPoint32(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

DWORD StyleOf(HWND hwnd) {
  return static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE));
}

int ControlId(HWND hwnd) {
  return GetDlgCtrlID(hwnd);
}

void NotifyParent(HWND control, WORD code) {
  HWND parent = GetParent(control);
  if (!parent) return;
  SendMessage(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(ControlId(control)), code),
              reinterpret_cast<LPARAM>(control));
}

bool KeyDown(int virtualKey) {
  return GetKeyState(virtualKey) < 0;
}

void FillBackground(HWND control, HDC dc, HBRUSH brush, const RECT& rect) {
  // The null brush leaves what the parent painted: transparent controls.
  if (brush) FillRect(dc, &rect, brush);
}

PaintDc::PaintDc(HWND hwnd, WPARAM givenDc) : m_hwnd(hwnd) {
  if (givenDc) {
    m_dc = reinterpret_cast<HDC>(givenDc);
  } else {
    m_dc = BeginPaint(hwnd, &m_ps);
    m_began = true;
  }
}

PaintDc::~PaintDc() {
  if (m_began) EndPaint(m_hwnd, &m_ps);
}

size_t NextChar(std::string_view text, size_t pos) {
  if (pos >= text.size()) return text.size();
  const size_t n = utf8::CharLength(text.substr(pos));
  return std::min(text.size(), pos + (n ? n : 1));
}

size_t CharStart(std::string_view text, size_t pos) {
  if (pos >= text.size()) return text.size();
  // Walk back over continuation bytes, at most three, then check the lead byte covers `pos`.
  size_t start = pos;
  for (int i = 0; i < 3 && start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80; ++i)
    --start;
  if (start != pos && NextChar(text, start) <= pos) return pos;  // a stray continuation byte
  return start;
}

size_t PrevChar(std::string_view text, size_t pos) {
  if (pos == 0) return 0;
  if (pos > text.size()) pos = text.size();
  return CharStart(text, pos - 1);
}

char32_t CharAt(std::string_view text, size_t pos) {
  if (pos >= text.size()) return 0;
  const char32_t cp = unicode::DecodeUtf8(text, pos);
  return cp == unicode::kInvalid ? unicode::kReplacement : cp;
}

namespace {

char32_t UpperOf(char32_t cp) {
  if (cp < 0x80) return (cp >= 'a' && cp <= 'z') ? cp - 32 : cp;
  return static_cast<char32_t>(std::towupper(static_cast<wint_t>(cp)));
}

template <class Map>
std::string MapCase(std::string_view text, Map map) {
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    const size_t next = NextChar(text, pos);
    const char32_t cp = CharAt(text, pos);
    if (cp == unicode::kReplacement)
      out.append(text.substr(pos, next - pos));
    else
      utf8::AppendCodePoint(out, map(cp));
    pos = next;
  }
  return out;
}

}  // namespace

std::string UpperCase(std::string_view text) {
  return MapCase(text, UpperOf);
}

std::string LowerCase(std::string_view text) {
  return MapCase(text, [](char32_t cp) { return unicode::FoldCase(cp); });
}

char32_t FoldedFirst(std::string_view text) {
  return text.empty() ? 0 : unicode::FoldCase(CharAt(text, 0));
}

void Beep() {
  MessageBeep(0);
}

}  // namespace pictavo::user::controls
