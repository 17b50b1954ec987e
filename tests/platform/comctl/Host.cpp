#include "Host.h"

#include <algorithm>
#include <set>

#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/display/InputSynth.h"
#include "platform/gdi/Surface.h"
#include "platform/kernel/Thread.h"
#include "platform/user/Display.h"
#include "tests/support/ThreadWindows.h"

namespace testing_comctl {

namespace {
// The hosts alive: a test's handlers go before its windows, whose last notifications would
// otherwise reach variables of a finished test.
std::set<Host*>& Hosts() {
  static std::set<Host*> hosts;
  return hosts;
}
}  // namespace

LRESULT CALLBACK Host::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* host = reinterpret_cast<Host*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
  if (!host) return DefWindowProc(hwnd, message, wParam, lParam);
  if (message == WM_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    host->codes.push_back(hdr->code);
    return host->onNotify ? host->onNotify(hdr) : 0;
  }
  LRESULT result = 0;
  if (host->onMessage && host->onMessage(message, wParam, lParam, &result)) return result;
  if (message == WM_HSCROLL || message == WM_VSCROLL) {
    host->scrolls.emplace_back(message, wParam);
    return 0;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

Host::Host(RECT rect) {
  Hosts().insert(this);
  WNDCLASS wc{};
  if (!GetClassInfo(nullptr, "ComctlHost", &wc)) {
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Host::Proc;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1));
    wc.lpszClassName = "ComctlHost";
    RegisterClass(&wc);
  }
  m_hwnd = CreateWindowEx(0, "ComctlHost", "host", WS_POPUP | WS_CLIPCHILDREN, rect.left, rect.top,
                          rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
  SetWindowLongPtr(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ShowWindow(m_hwnd, SW_SHOW);
  SetActiveWindow(m_hwnd);
  UpdateWindow(m_hwnd);
}

Host::~Host() {
  Hosts().erase(this);
  onNotify = nullptr;
  onMessage = nullptr;
  if (IsWindow(m_hwnd)) {
    SetWindowLongPtr(m_hwnd, GWLP_USERDATA, 0);
    DestroyWindow(m_hwnd);
  }
  PumpPending();
}

HWND Host::Add(const char* className, DWORD style, RECT rect, UINT id, DWORD exStyle, const char* text) {
  HWND hwnd = CreateWindowEx(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                             rect.right - rect.left, rect.bottom - rect.top, m_hwnd,
                             reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)), nullptr, nullptr);
  EXPECT_NE(hwnd, nullptr) << className;
  return hwnd;
}

int Host::Count(UINT code) const {
  return static_cast<int>(std::count(codes.begin(), codes.end(), code));
}

std::vector<UINT> Host::Only(std::initializer_list<UINT> only) const {
  std::vector<UINT> out;
  for (UINT code : codes)
    if (std::find(only.begin(), only.end(), code) != only.end()) out.push_back(code);
  return out;
}

void ComctlTest::SetUpTestSuite() {
  if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  InitCommonControls();
}

void ComctlTest::TearDown() {
  for (Host* host : Hosts()) {
    host->onNotify = nullptr;
    host->onMessage = nullptr;
  }
  ReleaseCapture();
  pictavo::test::DestroyThreadWindows();
  PumpPending();
}

void Click(HWND hwnd, POINT pt, WPARAM keys) {
  SendMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(pt.x, pt.y));
  SendMessage(hwnd, WM_LBUTTONUP, keys, MAKELPARAM(pt.x, pt.y));
}

void RightClick(HWND hwnd, POINT pt) {
  SendMessage(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pt.x, pt.y));
  SendMessage(hwnd, WM_RBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
}

void DoubleClick(HWND hwnd, POINT pt) {
  Click(hwnd, pt);
  SendMessage(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  SendMessage(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
}

void Press(UINT virtualKey, UINT modifiers) {
  pictavo::display::PressKey(virtualKey, modifiers);
  PumpPending();
}

COLORREF Pixel(HWND topLevel, int x, int y) {
  pictavo::user::TopLevelWindow window;
  if (!pictavo::user::DescribeTopLevelWindow(topLevel, &window) || !window.surface) return CLR_INVALID;
  if (x < 0 || y < 0 || x >= window.surface->Width() || y >= window.surface->Height()) return CLR_INVALID;
  return pictavo::gdi::ColorFromPixel(window.surface->Row(y)[static_cast<size_t>(x)]);
}

}  // namespace testing_comctl
