#include "BarFixture.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/display/InputSynth.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"
#include "platform/user/Display.h"

namespace testing_buttonbar {

namespace {

constexpr char kHostClass[] = "ButtonBarTestHost";

HBITMAP SolidPicture(COLORREF color) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kButtons * kButtonWidth;
  info.bmiHeader.biHeight = kBarHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  pictavo::gdi::FillSolidRect(dc, RECT{0, 0, kButtons * kButtonWidth, kBarHeight}, color);
  SelectObject(dc, old);
  DeleteDC(dc);
  return bitmap;
}

}  // namespace

Host::Host() {
  static const bool registered = [] {
    WNDCLASS wc{};
    wc.lpfnWndProc = &Host::Proc;
    wc.lpszClassName = kHostClass;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    return RegisterClass(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  m_brush = CreateSolidBrush(kHostBackground);
  m_hwnd = CreateWindowEx(0, kHostClass, "host", WS_POPUP | WS_VISIBLE, kHostOrigin.x, kHostOrigin.y, 500,
                          200, nullptr, nullptr, nullptr, this);
  SetWindowLongPtr(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  UpdateWindow(m_hwnd);
}

Host::~Host() {
  if (IsWindow(m_hwnd)) DestroyWindow(m_hwnd);
  DeleteObject(m_brush);
}

LRESULT CALLBACK Host::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Host*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
  if (self && message == kNotify) {
    self->notifications.push_back({message, wParam, lParam});
    return 1;
  }
  if (self && message == WM_CTLCOLORSTATIC) return reinterpret_cast<LRESULT>(self->m_brush);
  if (self && message == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(hwnd, &r);
    FillRect(reinterpret_cast<HDC>(wParam), &r, self->m_brush);
    return 1;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

void BarTest::SetUpTestSuite() {
  if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
}

void BarTest::SetUp() {
  char folder[] = "/tmp/pictavo-buttonbar-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  m_folder = folder;
  const COLORREF colors[CCoolButtonBar::stateCount] = {kNormal, kHot, kPressed, kDisabled};
  const std::vector<CString> paths = StatePaths();
  for (int state = 0; state < CCoolButtonBar::stateCount; ++state) {
    HBITMAP picture = SolidPicture(colors[state]);
    ASSERT_TRUE(pictavo::gdi::SaveBmpFile(picture, paths[static_cast<size_t>(state)]));
    DeleteObject(picture);
  }
  // Parked away from the host so no test starts with the pointer over the bar.
  pictavo::user::InjectMouseMove(POINT{5, 5});
  m_host = new Host;
}

void BarTest::TearDown() {
  delete m_bar;
  m_bar = nullptr;
  delete m_host;
  m_host = nullptr;
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  CWnd::DeleteTempMap();
  std::filesystem::remove_all(m_folder);
}

RECT BarTest::ButtonRect(int k) {
  // A two-pixel rim of the normal picture between buttons.
  return RECT{k * kButtonWidth + 2, 2, (k + 1) * kButtonWidth - 2, kBarHeight - 2};
}

std::vector<CString> BarTest::StatePaths() const {
  return {CString((m_folder + "/normal.bmp").c_str()), CString((m_folder + "/hot.bmp").c_str()),
          CString((m_folder + "/down.bmp").c_str()), CString((m_folder + "/off.bmp").c_str())};
}

std::vector<RECT> BarTest::Rects() const {
  std::vector<RECT> rects;
  for (int k = 0; k < kButtons; ++k) rects.push_back(ButtonRect(k));
  return rects;
}

std::vector<CString> BarTest::Tips() const {
  // Button 3 has no tip of its own.
  return {"Add", "Add all", "Remove", "", "Rotate"};
}

void BarTest::SubclassBar() {
  HWND placeholder = CreateWindowEx(
      0, "Static", "Static", WS_CHILD | WS_VISIBLE, kBarOrigin.x, kBarOrigin.y, kStaticWidth, kBarHeight,
      m_host->Hwnd(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kStaticId)), nullptr, nullptr);
  ASSERT_NE(placeholder, nullptr);
  m_bar = new CCoolButtonBar;
  const std::vector<RECT> rects = Rects();
  const std::vector<CString> paths = StatePaths();
  const std::vector<CString> tips = Tips();
  ASSERT_TRUE(m_bar->Init(kButtons, rects.data(), paths.data(), tips.data()));
  ASSERT_TRUE(m_bar->SubclassDlgItem(kStaticId, CWnd::FromHandle(m_host->Hwnd())));
  m_bar->SetNotifyMessage(m_host->Hwnd(), kNotify);
  PumpUntil([] { return false; }, 0);
}

POINT BarTest::Centre(int k) {
  const RECT r = ButtonRect(k);
  return POINT{kHostOrigin.x + kBarOrigin.x + (r.left + r.right) / 2,
               kHostOrigin.y + kBarOrigin.y + (r.top + r.bottom) / 2};
}

COLORREF BarTest::BarPixel(POINT inBar) const {
  pictavo::user::TopLevelWindow window;
  if (!pictavo::user::DescribeTopLevelWindow(m_host->Hwnd(), &window) || !window.surface) return CLR_INVALID;
  const int x = kBarOrigin.x + inBar.x;
  const int y = kBarOrigin.y + inBar.y;
  return pictavo::gdi::ColorFromPixel(window.surface->Row(y)[static_cast<size_t>(x)]);
}

COLORREF BarTest::ButtonPixel(int k) const {
  const RECT r = ButtonRect(k);
  return BarPixel(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void BarTest::MoveTo(POINT desktop) {
  pictavo::user::InjectMouseMove(desktop);
  PumpUntil([] { return false; }, 0);
}

}  // namespace testing_buttonbar
