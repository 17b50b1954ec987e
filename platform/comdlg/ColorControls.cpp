#include "platform/comdlg/ColorControls.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/base/SysColors.h"
#include "platform/comdlg/ColorModel.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/User.h"

namespace pictavo::comdlg {

namespace {

constexpr int kColumns = 8;
constexpr int kMarkerWidth = 6;  // the luminance bar's pointer column

// Every control keeps its state in its first extra window bytes; it is made on WM_NCCREATE and
// freed on WM_NCDESTROY. Touched by the control's thread only.
template <typename State>
State* StateOf(HWND hwnd) {
  return reinterpret_cast<State*>(GetWindowLongPtr(hwnd, 0));
}

template <typename State>
bool Lifetime(HWND hwnd, UINT message) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtr(hwnd, 0, reinterpret_cast<LONG_PTR>(std::make_unique<State>().release()));
    return true;
  }
  if (message == WM_NCDESTROY) {
    std::unique_ptr<State> state(StateOf<State>(hwnd));
    SetWindowLongPtr(hwnd, 0, 0);
    return true;
  }
  return false;
}

// What the colour controls answer alike: they paint every pixel themselves (no erasing), and the
// focusable ones repaint to show or hide the focus. True when `message` was one of those.
template <typename State>
bool PaintMessage(HWND hwnd, UINT message, const State& s, void (*paint)(HWND, HDC, const State&),
                  bool focusable, LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (!focusable) return false;
      InvalidateRect(hwnd, nullptr, FALSE);
      return true;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      paint(hwnd, dc, s);
      EndPaint(hwnd, &ps);
      return true;
    }
    default:
      return false;
  }
}

void NotifyParent(HWND hwnd) {
  SendMessage(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), kColorChanged),
              reinterpret_cast<LPARAM>(hwnd));
}

RECT ClientOf(HWND hwnd) {
  RECT rect{};
  GetClientRect(hwnd, &rect);
  return rect;
}

// A picture drawn a row of 32-bit pixels at a time, put on the DC in one transfer.
class Picture {
 public:
  Picture(int width, int height)
      : m_width(std::max(1, width)),
        m_height(std::max(1, height)),
        m_pixels(static_cast<size_t>(m_width) * m_height) {}
  void Set(int x, int y, COLORREF color) {
    m_pixels[static_cast<size_t>(y) * m_width + x] =
        (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
  }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  void Draw(HDC dc, int x, int y) const {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, x, y, m_width, m_height, 0, 0, 0, m_height, m_pixels.data(), &info, DIB_RGB_COLORS);
  }

 private:
  int m_width, m_height;
  std::vector<DWORD> m_pixels;
};

void FillFace(HDC dc, const RECT& rect) {
  gdi::FillSolidRect(dc, rect, GetSysColor(COLOR_BTNFACE));
}

// --- Cells ---

struct CellsState {
  std::vector<COLORREF> colors;
  int selected = -1;
};

RECT CellRect(HWND hwnd, const CellsState& s, int index) {
  const RECT client = ClientOf(hwnd);
  const int rows = std::max<int>(1, (static_cast<int>(s.colors.size()) + kColumns - 1) / kColumns);
  const int width = (client.right - client.left) / kColumns;
  const int height = (client.bottom - client.top) / rows;
  const int x = (index % kColumns) * width, y = (index / kColumns) * height;
  return RECT{x, y, x + width, y + height};
}

int CellAt(HWND hwnd, const CellsState& s, POINT point) {
  for (int i = 0; i < static_cast<int>(s.colors.size()); ++i) {
    const RECT r = CellRect(hwnd, s, i);
    if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom) return i;
  }
  return -1;
}

void PaintCells(HWND hwnd, HDC dc, const CellsState& s) {
  FillFace(dc, ClientOf(hwnd));
  const bool focused = GetFocus() == hwnd;
  for (int i = 0; i < static_cast<int>(s.colors.size()); ++i) {
    RECT cell = CellRect(hwnd, s, i);
    RECT frame{cell.left + 2, cell.top + 2, cell.right - 2, cell.bottom - 2};
    if (i == s.selected) {
      gdi::FillSolidRect(dc, RECT{cell.left, cell.top, cell.right, cell.bottom}, RGB(0, 0, 0));
      gdi::FillSolidRect(dc, RECT{cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom - 1},
                         RGB(255, 255, 255));
    }
    DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);
    gdi::FillSolidRect(dc, RECT{frame.left + 2, frame.top + 2, frame.right - 2, frame.bottom - 2},
                       s.colors[static_cast<size_t>(i)]);
    if (focused && i == std::max(0, s.selected)) {
      RECT focus{cell.left, cell.top, cell.right, cell.bottom};
      DrawFocusRect(dc, &focus);
    }
  }
}

void SelectCell(HWND hwnd, CellsState& s, int index, bool notify) {
  if (index < 0 || index >= static_cast<int>(s.colors.size())) return;
  s.selected = index;
  InvalidateRect(hwnd, nullptr, FALSE);
  if (notify) NotifyParent(hwnd);
}

LRESULT CALLBACK CellsProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (Lifetime<CellsState>(hwnd, message)) return DefWindowProc(hwnd, message, wParam, lParam);
  CellsState* s = StateOf<CellsState>(hwnd);
  if (!s) return DefWindowProc(hwnd, message, wParam, lParam);
  if (LRESULT result; PaintMessage(hwnd, message, *s, PaintCells, true, result)) return result;
  switch (message) {
    case kCellsSetColors: {
      const auto* colors = reinterpret_cast<const COLORREF*>(lParam);
      s->colors.assign(colors, colors + wParam);
      if (s->selected >= static_cast<int>(s->colors.size())) s->selected = -1;
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    }
    case kCellsSetSelection:
      s->selected =
          static_cast<int>(wParam) < static_cast<int>(s->colors.size()) ? static_cast<int>(wParam) : -1;
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case kCellsGetSelection:
      return s->selected;
    case kCellsGetColor:
      return wParam < s->colors.size() ? s->colors[wParam] : 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      SelectCell(hwnd, *s, CellAt(hwnd, *s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}), true);
      return 0;
    case WM_KEYDOWN: {
      const int count = static_cast<int>(s->colors.size());
      int index = std::max(0, s->selected);
      if (wParam == VK_LEFT) index = s->selected < 0 ? 0 : std::max(0, index - 1);
      if (wParam == VK_RIGHT) index = s->selected < 0 ? 0 : std::min(count - 1, index + 1);
      if (wParam == VK_UP && index >= kColumns) index -= kColumns;
      if (wParam == VK_DOWN && index + kColumns < count) index += kColumns;
      if (index != s->selected) SelectCell(hwnd, *s, index, true);
      return 0;
    }
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

// --- Spectrum and luminance ---

struct SpectrumState {
  int hue = 0;
  int sat = 0;
  bool tracking = false;
};

struct LuminanceState {
  int hue = 0;
  int sat = 0;
  int lum = 0;
  bool tracking = false;
};

// A pixel position as a value of the scale: 0 at the first pixel, `max` at the last; and back.
int ValueAt(int position, int extent, int max) {
  if (extent <= 1) return 0;
  return std::clamp(position * max / (extent - 1), 0, max);
}
int PositionOf(int value, int extent, int max) {
  return extent <= 1 ? 0 : value * (extent - 1) / max;
}

void PaintSpectrum(HWND hwnd, HDC dc, const SpectrumState& s) {
  const RECT client = ClientOf(hwnd);
  Picture picture(client.right, client.bottom);
  for (int y = 0; y < picture.Height(); ++y) {
    const int sat = kHlsMax - ValueAt(y, picture.Height(), kHlsMax);
    for (int x = 0; x < picture.Width(); ++x)
      picture.Set(x, y, ToRgb(Hls{ValueAt(x, picture.Width(), kHlsMax - 1), kHlsMax / 2, sat}));
  }
  picture.Draw(dc, 0, 0);
  // A cross at the chosen hue and saturation.
  const int x = PositionOf(s.hue, picture.Width(), kHlsMax - 1);
  const int y = PositionOf(kHlsMax - s.sat, picture.Height(), kHlsMax);
  const COLORREF mark = RGB(0, 0, 0);
  gdi::FillSolidRect(dc, RECT{x - 7, y - 1, x - 2, y + 1}, mark);
  gdi::FillSolidRect(dc, RECT{x + 3, y - 1, x + 8, y + 1}, mark);
  gdi::FillSolidRect(dc, RECT{x - 1, y - 7, x + 1, y - 2}, mark);
  gdi::FillSolidRect(dc, RECT{x - 1, y + 3, x + 1, y + 8}, mark);
  if (GetFocus() == hwnd) {
    RECT focus = client;
    DrawFocusRect(dc, &focus);
  }
}

void PaintLuminance(HWND hwnd, HDC dc, const LuminanceState& s) {
  const RECT client = ClientOf(hwnd);
  FillFace(dc, client);
  Picture picture(client.right - kMarkerWidth, client.bottom);
  for (int y = 0; y < picture.Height(); ++y) {
    const COLORREF color = ToRgb(Hls{s.hue, kHlsMax - ValueAt(y, picture.Height(), kHlsMax), s.sat});
    for (int x = 0; x < picture.Width(); ++x) picture.Set(x, y, color);
  }
  picture.Draw(dc, 0, 0);
  const int y = PositionOf(kHlsMax - s.lum, picture.Height(), kHlsMax);
  const int left = picture.Width() + 1;
  for (int i = 0; i < kMarkerWidth - 1; ++i)
    gdi::FillSolidRect(dc, RECT{left + i, y - i, left + i + 1, y + i + 1}, RGB(0, 0, 0));
  if (GetFocus() == hwnd) {
    RECT focus = client;
    DrawFocusRect(dc, &focus);
  }
}

LRESULT CALLBACK SpectrumProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (Lifetime<SpectrumState>(hwnd, message)) return DefWindowProc(hwnd, message, wParam, lParam);
  SpectrumState* s = StateOf<SpectrumState>(hwnd);
  if (!s) return DefWindowProc(hwnd, message, wParam, lParam);
  if (LRESULT result; PaintMessage(hwnd, message, *s, PaintSpectrum, true, result)) return result;
  const auto moveTo = [&](int hue, int sat) {
    hue = std::clamp(hue, 0, kHlsMax - 1);
    sat = std::clamp(sat, 0, kHlsMax);
    if (hue == s->hue && sat == s->sat) return;
    s->hue = hue;
    s->sat = sat;
    InvalidateRect(hwnd, nullptr, FALSE);
    NotifyParent(hwnd);
  };
  const auto track = [&](LPARAM point) {
    const RECT client = ClientOf(hwnd);
    moveTo(ValueAt(GET_X_LPARAM(point), client.right, kHlsMax - 1),
           kHlsMax - ValueAt(GET_Y_LPARAM(point), client.bottom, kHlsMax));
  };
  switch (message) {
    case kSpectrumSet:
      s->hue = std::clamp(static_cast<int>(wParam), 0, kHlsMax - 1);
      s->sat = std::clamp(static_cast<int>(lParam), 0, kHlsMax);
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case kSpectrumGet:
      return MAKELONG(s->hue, s->sat);
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      SetCapture(hwnd);
      s->tracking = true;
      track(lParam);
      return 0;
    case WM_MOUSEMOVE:
      if (s->tracking) track(lParam);
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (s->tracking) {
        s->tracking = false;
        if (GetCapture() == hwnd) ReleaseCapture();
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_LEFT) moveTo(s->hue - 1, s->sat);
      if (wParam == VK_RIGHT) moveTo(s->hue + 1, s->sat);
      if (wParam == VK_UP) moveTo(s->hue, s->sat + 1);
      if (wParam == VK_DOWN) moveTo(s->hue, s->sat - 1);
      return 0;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

LRESULT CALLBACK LuminanceProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (Lifetime<LuminanceState>(hwnd, message)) return DefWindowProc(hwnd, message, wParam, lParam);
  LuminanceState* s = StateOf<LuminanceState>(hwnd);
  if (!s) return DefWindowProc(hwnd, message, wParam, lParam);
  if (LRESULT result; PaintMessage(hwnd, message, *s, PaintLuminance, true, result)) return result;
  const auto moveTo = [&](int lum) {
    lum = std::clamp(lum, 0, kHlsMax);
    if (lum == s->lum) return;
    s->lum = lum;
    InvalidateRect(hwnd, nullptr, FALSE);
    NotifyParent(hwnd);
  };
  switch (message) {
    case kLuminanceSet:
      s->lum = std::clamp(static_cast<int>(wParam), 0, kHlsMax);
      s->hue = LOWORD(lParam);
      s->sat = HIWORD(lParam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case kLuminanceGet:
      return s->lum;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      SetCapture(hwnd);
      s->tracking = true;
      moveTo(kHlsMax - ValueAt(GET_Y_LPARAM(lParam), ClientOf(hwnd).bottom, kHlsMax));
      return 0;
    case WM_MOUSEMOVE:
      if (s->tracking) moveTo(kHlsMax - ValueAt(GET_Y_LPARAM(lParam), ClientOf(hwnd).bottom, kHlsMax));
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (s->tracking) {
        s->tracking = false;
        if (GetCapture() == hwnd) ReleaseCapture();
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_UP) moveTo(s->lum + 1);
      if (wParam == VK_DOWN) moveTo(s->lum - 1);
      if (wParam == VK_PRIOR) moveTo(s->lum + 10);
      if (wParam == VK_NEXT) moveTo(s->lum - 10);
      return 0;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

// --- Swatch ---

struct SwatchState {
  COLORREF color = RGB(0, 0, 0);
};

void PaintSwatch(HWND hwnd, HDC dc, const SwatchState& s) {
  RECT rect = ClientOf(hwnd);
  DrawEdge(dc, &rect, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  gdi::FillSolidRect(dc, rect, s.color);
}

LRESULT CALLBACK SwatchProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (Lifetime<SwatchState>(hwnd, message)) return DefWindowProc(hwnd, message, wParam, lParam);
  SwatchState* s = StateOf<SwatchState>(hwnd);
  if (!s) return DefWindowProc(hwnd, message, wParam, lParam);
  if (LRESULT result; PaintMessage(hwnd, message, *s, PaintSwatch, false, result)) return result;
  switch (message) {
    case kSwatchSet:
      s->color = static_cast<COLORREF>(wParam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterColorControls() {
  static std::once_flag once;
  std::call_once(once, [] {
    const struct {
      const char* name;
      WNDPROC proc;
    } classes[] = {
        {"PictavoColorCells", CellsProc},
        {"PictavoColorSpectrum", SpectrumProc},
        {"PictavoColorLuminance", LuminanceProc},
        {"PictavoColorSwatch", SwatchProc},
    };
    for (const auto& c : classes) {
      WNDCLASS wc{};
      wc.lpfnWndProc = c.proc;
      wc.cbWndExtra = sizeof(void*);
      wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
      wc.lpszClassName = c.name;
      RegisterClass(&wc);
    }
  });
}

}  // namespace pictavo::comdlg
