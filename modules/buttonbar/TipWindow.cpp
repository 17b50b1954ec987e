#include "modules/buttonbar/TipWindow.h"

#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/user/User.h"

namespace pictavo::buttonbar {

namespace {

constexpr char kClassName[] = "PictavoButtonTip";
constexpr int kPadX = 5;
constexpr int kPadY = 3;
// Below the pointer's hot spot, clear of the arrow.
constexpr int kBelowPointer = 20;

HFONT TipFont() {
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

CString TextOf(HWND hwnd) {
  CString text;
  const int length = GetWindowTextLength(hwnd);
  if (length > 0) {
    GetWindowText(hwnd, text.GetBuffer(length + 1), length + 1);
    text.ReleaseBuffer();
  }
  return text;
}

void Paint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
  FrameRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  const CString text = TextOf(hwnd);
  HGDIOBJ oldFont = SelectObject(dc, TipFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
  RECT inside{client.left + kPadX, client.top + kPadY, client.right - kPadX, client.bottom - kPadY};
  DrawText(dc, text, text.GetLength(), &inside, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK TipProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT:
      Paint(hwnd);
      return 0;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

bool RegisterTipClass() {
  static const bool registered = [] {
    WNDCLASS wc{};
    wc.lpfnWndProc = TipProc;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClass(&wc) != 0;
  }();
  return registered;
}

SIZE TextSize(const CString& text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ oldFont = SelectObject(dc, TipFont());
  RECT r{0, 0, 0, 0};
  DrawText(dc, text, text.GetLength(), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  ReleaseDC(nullptr, dc);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace

TipWindow::~TipWindow() {
  Destroy();
}

bool TipWindow::Show(HWND owner, const CString& text, POINT screenPoint) {
  if (m_hwnd && !IsWindow(m_hwnd)) m_hwnd = nullptr;
  if (!m_hwnd) {
    if (!RegisterTipClass()) return false;
    HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    m_hwnd = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName, "", WS_POPUP, 0,
                            0, 0, 0, top, nullptr, nullptr, nullptr);
    if (!m_hwnd) return false;
  }
  SetWindowText(m_hwnd, text);
  const SIZE textSize = TextSize(text);
  const int width = textSize.cx + 2 * kPadX;
  const int height = textSize.cy + 2 * kPadY;
  const int desktopWidth = GetSystemMetrics(SM_CXSCREEN);
  const int desktopHeight = GetSystemMetrics(SM_CYSCREEN);
  int x = std::clamp(static_cast<int>(screenPoint.x), 0, std::max(0, desktopWidth - width));
  int y = screenPoint.y + kBelowPointer;
  // No room below: above the pointer instead.
  if (y + height > desktopHeight) y = std::max(0, static_cast<int>(screenPoint.y) - height - 2);
  SetWindowPos(m_hwnd, HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(m_hwnd, nullptr, FALSE);
  return true;
}

void TipWindow::Hide() {
  if (m_hwnd && IsWindow(m_hwnd) && IsWindowVisible(m_hwnd)) ShowWindow(m_hwnd, SW_HIDE);
}

void TipWindow::Destroy() {
  if (m_hwnd && IsWindow(m_hwnd)) DestroyWindow(m_hwnd);
  m_hwnd = nullptr;
}

bool TipWindow::IsVisible() const {
  return m_hwnd && IsWindow(m_hwnd) && IsWindowVisible(m_hwnd);
}

}  // namespace pictavo::buttonbar
