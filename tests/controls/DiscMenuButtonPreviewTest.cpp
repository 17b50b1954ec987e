// The disc-menu button preview driven by the mouse over a folder of generated pictures: each
// picture is one flat colour, so the colour under a button tells which picture is drawn there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/DiscMenuButtonPreview.h"
#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"
#include "platform/user/Display.h"
#include "platform/user/User.h"
#include "tests/support/ScratchDir.h"

namespace {

constexpr UINT kNotify = WM_APP + 77;
constexpr int kButtons = 3;
// Buttons of 60 x 30 in a row; the pictures cover 240 x 60 from the left edge.
const RECT kButtonRects[kButtons] = {{10, 10, 70, 40}, {90, 10, 150, 40}, {170, 10, 230, 40}};
constexpr COLORREF kBackground = RGB(30, 30, 30);

COLORREF NormalColour(int selected) {
  return RGB(0, 60 + 60 * selected, 0);
}
COLORREF HighlightColour(int selected, int pointed) {
  return RGB(200, 40 * selected, 40 * pointed);
}
COLORREF ClickedColour(int selected, int pointed) {
  return RGB(40 * selected, 40 * pointed, 200);
}

void WritePicture(const std::string& path, SIZE size, COLORREF colour) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, size.cx, size.cy);
  ReleaseDC(nullptr, screen);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  pictavo::gdi::FillSolidRect(dc, RECT{0, 0, size.cx, size.cy}, colour);
  SelectObject(dc, old);
  DeleteDC(dc);
  ASSERT_TRUE(pictavo::gdi::SaveBmpFile(bitmap, path.c_str())) << path;
  DeleteObject(bitmap);
}

class DiscMenuButtonPreviewTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  }

  void SetUp() override {
    WritePicture(m_folder / "background.bmp", SIZE{60, 60}, kBackground);
    // The overlays are one button large, drawn where the table puts them: over the pointed button.
    for (int s = 0; s < kButtons; ++s) {
      char name[64];
      std::snprintf(name, sizeof name, "%02d-normal.bmp", s + 1);
      WritePicture(m_folder / name, SIZE{240, 50}, NormalColour(s));
      for (int p = 0; p < kButtons; ++p) {
        std::snprintf(name, sizeof name, "%02d-highlight-%02d.bmp", s + 1, p + 1);
        WritePicture(m_folder / name, SIZE{60, 30}, HighlightColour(s, p));
        std::snprintf(name, sizeof name, "%02d-clicked-%02d.bmp", s + 1, p + 1);
        WritePicture(m_folder / name, SIZE{60, 30}, ClickedColour(s, p));
      }
    }
    pictavo::user::InjectMouseMove(POINT{900, 700});
    WNDCLASS wc{};
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = "DiscMenuPreviewHost";
    if (!GetClassInfo(nullptr, wc.lpszClassName, &wc)) RegisterClass(&wc);
    m_host = CreateWindowEx(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 100, 100, 400, 200, nullptr,
                            nullptr, nullptr, nullptr);
    m_preview.m_strTemplateFolder = m_folder.Path().c_str();
    m_preview.m_nButtonCount = kButtons;
    m_preview.m_nOffsetX = 20;
    m_preview.m_nBackgroundLeft = 10;
    m_preview.m_nBackgroundMiddle = 40;
    for (int i = 0; i < kButtons; ++i) {
      m_preview.m_rcButtons[i] = kButtonRects[i];
      for (int j = 0; j < kButtons; ++j) m_preview.m_nOverlayX[i][j] = kButtonRects[j].left;
    }
    m_preview.m_hNotifyWnd = m_host;
    m_preview.m_nNotifyMessage = kNotify;
    ASSERT_TRUE(m_preview.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 80),
                                 CWnd::FromHandle(m_host), 1));
    Pump();
  }

  void TearDown() override {
    m_preview.DestroyWindow();
    DestroyWindow(m_host);
    Pump();
  }

  void Pump() {
    MSG msg;
    for (int round = 0; round < 2; ++round) {
      m_preview.UpdateWindow();
      while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == kNotify)
          m_notes.push_back(static_cast<int>(msg.wParam));
        else
          DispatchMessage(&msg);
      }
    }
  }

  // A hand on button i (its centre), or off every button.
  POINT OnButton(int i) const {
    POINT p{(kButtonRects[i].left + kButtonRects[i].right) / 2 + 20,
            (kButtonRects[i].top + kButtonRects[i].bottom) / 2};
    ::ClientToScreen(m_preview.GetSafeHwnd(), &p);
    return p;
  }
  POINT Between(int i) const {
    POINT p{kButtonRects[i].right + 20 + 10, 25};
    ::ClientToScreen(m_preview.GetSafeHwnd(), &p);
    return p;
  }
  void MoveTo(POINT p) {
    pictavo::user::InjectMouseMove(p);
    Pump();
  }
  void Button(bool down) {
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, down);
    Pump();
  }

  COLORREF ColourOnButton(int i) const {
    pictavo::user::TopLevelWindow window;
    if (!pictavo::user::DescribeTopLevelWindow(m_host, &window) || !window.surface) return CLR_INVALID;
    const POINT p = OnButton(i);
    return pictavo::gdi::ColorFromPixel(
        window.surface->Row(p.y - window.rect.top)[static_cast<size_t>(p.x - window.rect.left)]);
  }

  pictavo::test::ScratchDir m_folder;
  HWND m_host = nullptr;
  CDiscMenuButtonPreview m_preview;
  std::vector<int> m_notes;
};

}  // namespace

TEST_F(DiscMenuButtonPreviewTest, HitsTheFirstButtonHoldingThePointMovedByTheOffset) {
  struct Case {
    POINT p;
    int hit;
  };
  const Case kCases[] = {{{30, 25}, 0},  {{29, 25}, -1}, {{89, 39}, 0},  {{90, 39}, -1},
                         {{110, 10}, 1}, {{249, 39}, 2}, {{250, 25}, -1}};
  for (const Case& c : kCases) EXPECT_EQ(m_preview.HitTest(c.p), c.hit) << c.p.x << "," << c.p.y;
}

TEST_F(DiscMenuButtonPreviewTest, PointingShowsEachButtonsHighlightAndTheSelectedOneNone) {
  EXPECT_EQ(ColourOnButton(0), NormalColour(0));
  MoveTo(OnButton(1));
  EXPECT_EQ(m_preview.m_strOverlayPicture, m_preview.HighlightPicture(0, 1));
  EXPECT_EQ(ColourOnButton(1), HighlightColour(0, 1));
  // Leaving a pointed button makes it the selected one: the menu shows it selected.
  MoveTo(Between(1));
  EXPECT_EQ(m_preview.m_nSelected, 1);
  EXPECT_TRUE(m_preview.m_strOverlayPicture.IsEmpty());
  EXPECT_EQ(ColourOnButton(1), NormalColour(1));
  MoveTo(OnButton(2));
  EXPECT_EQ(ColourOnButton(2), HighlightColour(1, 2));
  MoveTo(Between(1));
  // Back onto the selected button: no overlay.
  MoveTo(OnButton(2));
  EXPECT_EQ(m_preview.m_nSelected, 2);
  EXPECT_TRUE(m_preview.m_strOverlayPicture.IsEmpty());
  EXPECT_EQ(ColourOnButton(2), NormalColour(2));
  EXPECT_TRUE(m_notes.empty());
}

TEST_F(DiscMenuButtonPreviewTest, OnlyAReleaseOnThePressedButtonSelectsAndTellsTheOwner) {
  // Pressed on button 3 (index 2) and released there: selected and announced with 2.
  MoveTo(OnButton(2));
  Button(true);
  EXPECT_EQ(m_preview.m_strOverlayPicture, m_preview.ClickedPicture(0, 2));
  EXPECT_EQ(ColourOnButton(2), ClickedColour(0, 2));
  Button(false);
  EXPECT_EQ(m_preview.m_nSelected, 2);
  EXPECT_EQ(m_notes, std::vector<int>{2});
  EXPECT_EQ(CWnd::GetCapture(), nullptr);

  // Pressed on button 2, moved in steps and released on button 3: button 3 is selected, nothing
  // is announced.
  m_notes.clear();
  MoveTo(Between(1));
  MoveTo(OnButton(1));
  Button(true);
  const POINT from = OnButton(1), to = OnButton(2);
  for (int step = 1; step <= 8; ++step) MoveTo(POINT{from.x + (to.x - from.x) * step / 8, from.y});
  Button(false);
  EXPECT_EQ(m_preview.m_nSelected, 2);
  EXPECT_TRUE(m_notes.empty());
  EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

TEST_F(DiscMenuButtonPreviewTest, ASelectionBeyondTheButtonsWrapsAround) {
  m_preview.m_nSelected = 4;  // of 3 buttons
  m_preview.Invalidate(FALSE);
  Pump();
  EXPECT_EQ(m_preview.m_nSelected, 1);
  EXPECT_EQ(ColourOnButton(0), NormalColour(1));
}
