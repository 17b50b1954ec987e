#include "platform/comctl/Support.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/base/Utf8.h"
#include "platform/comctl/ImageList.h"
#include "platform/kernel/Unicode.h"

namespace pictavo::comctl::detail {

bool RegisterControlClass(LPCSTR name, WNDPROC proc, UINT style, LPCSTR cursor) {
  WNDCLASSEX wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoEx(nullptr, name, &wc)) return false;
  wc = WNDCLASSEX{};
  wc.cbSize = sizeof wc;
  wc.style = style | CS_GLOBALCLASS;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = sizeof(void*);
  wc.hCursor = LoadCursor(nullptr, cursor);
  wc.lpszClassName = name;
  return RegisterClassEx(&wc) != 0;
}

HWND NotifyWindowOf(const CREATESTRUCT& cs) {
  return cs.hwndParent;
}

LRESULT DefControlProc(ControlBase& control, UINT message, WPARAM wParam, LPARAM lParam, unsigned common) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(control.font);
    case WM_SETFONT:
      if (!(common & kSetFont)) break;
      control.font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(control.hwnd, nullptr, TRUE);
      return 0;
    case CCM_SETNOTIFYWINDOW: {
      if (!(common & kSetNotifyWindow)) break;
      HWND old = control.notify;
      control.notify = reinterpret_cast<HWND>(wParam);
      return reinterpret_cast<LRESULT>(old);
    }
    default:
      break;
  }
  return DefWindowProc(control.hwnd, message, wParam, lParam);
}

LRESULT SendNotify(HWND from, HWND to, UINT code, NMHDR* hdr) {
  hdr->hwndFrom = from;
  hdr->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(from));
  hdr->code = code;
  if (!to || !IsWindow(to)) return 0;
  return SendMessage(to, WM_NOTIFY, hdr->idFrom, reinterpret_cast<LPARAM>(hdr));
}

LRESULT SendNotify(const ControlBase& control, UINT code, NMHDR* hdr) {
  return SendNotify(control.hwnd, control.notify, code, hdr);
}

LRESULT SendSimpleNotify(const ControlBase& control, UINT code) {
  NMHDR hdr{};
  return SendNotify(control, code, &hdr);
}

void SendScroll(const ControlBase& control, bool vertical, WORD code, int position) {
  if (!control.notify || !IsWindow(control.notify)) return;
  SendMessage(control.notify, vertical ? WM_VSCROLL : WM_HSCROLL,
              MAKEWPARAM(code, static_cast<WORD>(position)), reinterpret_cast<LPARAM>(control.hwnd));
}

LRESULT SendCustomDraw(const ControlBase& control, NMCUSTOMDRAW* record, DWORD stage) {
  record->dwDrawStage = stage;
  return SendNotify(control, NM_CUSTOMDRAW, &record->hdr);
}

DWORD StyleOf(const ControlBase& control) {
  return user::controls::StyleOf(control.hwnd);
}

HFONT FontOf(const ControlBase& control) {
  return user::controls::FontOrDefault(control.font);
}

namespace {

std::string FontKey(HFONT font) {
  LOGFONT lf{};
  if (!GetObject(font, sizeof lf, &lf)) return {};
  return std::string(reinterpret_cast<const char*>(&lf), sizeof lf);
}

}  // namespace

HFONT BoldFontOf(HFONT font) {
  static std::mutex lock;
  static auto* fonts = new std::map<std::string, HFONT>;  // guarded by lock; never freed
  std::string key = FontKey(font);
  if (key.empty()) return font;
  std::lock_guard guard(lock);
  auto it = fonts->find(key);
  if (it != fonts->end()) return it->second;
  LOGFONT lf{};
  std::memcpy(&lf, key.data(), sizeof lf);
  lf.lfWeight = FW_BOLD;
  HFONT bold = CreateFontIndirect(&lf);
  if (!bold) return font;
  fonts->emplace(std::move(key), bold);
  return bold;
}

SIZE TextExtent(HFONT font, std::string_view text) {
  HDC dc = CreateCompatibleDC(nullptr);
  SIZE size{};
  {
    Selected selected(dc, font);
    if (!text.empty()) GetTextExtentPoint32(dc, text.data(), static_cast<int>(text.size()), &size);
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    size.cy = tm.tmHeight;
  }
  DeleteDC(dc);
  return size;
}

COLORREF ColorOr(COLORREF color, int sysColorIndex) {
  return (color == CLR_DEFAULT || color == CLR_NONE) ? GetSysColor(sysColorIndex) : color;
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
  gdi::FillSolidRect(dc, rect, color);
}

void FrameSolid(HDC dc, const RECT& rect, COLORREF color) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  FillSolid(dc, RECT{rect.left, rect.top, rect.right, rect.top + 1}, color);
  FillSolid(dc, RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, color);
  FillSolid(dc, RECT{rect.left, rect.top, rect.left + 1, rect.bottom}, color);
  FillSolid(dc, RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, color);
}

void DottedLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF color) {
  if (x1 == x2) {
    for (int y = std::min(y1, y2); y < std::max(y1, y2); ++y)
      if (((x1 + y) & 1) == 0) SetPixelV(dc, x1, y, color);
  } else {
    for (int x = std::min(x1, x2); x < std::max(x1, x2); ++x)
      if (((x + y1) & 1) == 0) SetPixelV(dc, x, y1, color);
  }
}

void DrawArrow(HDC dc, const RECT& rect, Arrow direction, int size, COLORREF color) {
  // Lines of a triangle `half` + 1 long, one pixel longer at each end per step from the point.
  const int half = std::max(1, size / 2);
  const int cx = (rect.left + rect.right) / 2;
  const int cy = (rect.top + rect.bottom) / 2;
  const int start = half / 2;  // from the centre to the point
  for (int i = 0; i <= half; ++i) {
    switch (direction) {
      case Arrow::kUp:
        FillSolid(dc, RECT{cx - i, cy - start + i, cx + i + 1, cy - start + i + 1}, color);
        break;
      case Arrow::kDown:
        FillSolid(dc, RECT{cx - i, cy + start - i, cx + i + 1, cy + start - i + 1}, color);
        break;
      case Arrow::kLeft:
        FillSolid(dc, RECT{cx - start + i, cy - i, cx - start + i + 1, cy + i + 1}, color);
        break;
      case Arrow::kRight:
        FillSolid(dc, RECT{cx + start - i, cy - i, cx + start - i + 1, cy + i + 1}, color);
        break;
    }
  }
}

void DrawCheckBox(HDC dc, const RECT& rect, bool checked) {
  RECT box = rect;
  DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
}

HIMAGELIST CreateCheckBoxImages(int blanks) {
  constexpr int kSize = 16;
  constexpr COLORREF kKey = RGB(255, 0, 255);
  const int count = blanks + 2;
  HIMAGELIST list = ImageList_Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, count, 1);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, kSize * count, kSize);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  FillSolid(dc, RECT{0, 0, kSize * count, kSize}, kKey);
  const int unchecked = kSize * blanks;
  DrawCheckBox(dc, RECT{unchecked, 0, unchecked + kSize, kSize}, false);
  DrawCheckBox(dc, RECT{unchecked + kSize, 0, unchecked + 2 * kSize, kSize}, true);
  SelectObject(dc, old);
  DeleteDC(dc);
  ImageList_AddMasked(list, bitmap, kKey);
  DeleteObject(bitmap);
  return list;
}

std::string TextOf(LPCSTR text) {
  return text ? std::string(text) : std::string();
}

int CopyText(std::string_view text, LPSTR buffer, int bufferMax) {
  if (!buffer || bufferMax <= 0) return 0;
  size_t n = std::min(text.size(), static_cast<size_t>(bufferMax - 1));
  // Never cut a multibyte character in two.
  while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

int CompareNoCase(std::string_view a, std::string_view b) {
  return unicode::CompareNoCase(a, b);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return unicode::FoldCase(text).rfind(unicode::FoldCase(prefix), 0) == 0;
}

POINT PointFrom(LPARAM lParam) {
  return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

POINT CursorIn(HWND hwnd) {
  POINT pt{};
  GetCursorPos(&pt);
  ScreenToClient(hwnd, &pt);
  return pt;
}

bool BeyondDragDistance(POINT start, POINT pt) {
  return std::abs(pt.x - start.x) > GetSystemMetrics(SM_CXDRAG) ||
         std::abs(pt.y - start.y) > GetSystemMetrics(SM_CYDRAG);
}

std::optional<int> ScrolledPosition(HWND hwnd, bool vertical, WORD code, int pos, int line) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  GetScrollInfo(hwnd, vertical ? SB_VERT : SB_HORZ, &si);
  const int page = std::max(1, static_cast<int>(si.nPage));
  switch (code) {
    case SB_LINEUP:
      return pos - line;
    case SB_LINEDOWN:
      return pos + line;
    case SB_PAGEUP:
      return pos - page;
    case SB_PAGEDOWN:
      return pos + page;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      return si.nTrackPos;
    case SB_TOP:
      return 0;
    case SB_BOTTOM:
      return si.nMax;
    default:
      return std::nullopt;
  }
}

namespace {

RECT ClientRectOf(HWND hwnd) {
  RECT client{};
  GetClientRect(hwnd, &client);
  return client;
}

}  // namespace

PaintScope::PaintScope(HWND hwnd, WPARAM givenDc) : m_area(ClientRectOf(hwnd)), m_paint(hwnd, givenDc) {
  const RECT& clip = m_paint.UpdateRect();
  if (!IsRectEmpty(&clip)) IntersectRect(&m_area, &m_area, &clip);
}

}  // namespace pictavo::comctl::detail
