#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "controls/SkinTabStrip.h"
#include "platform/display/Display.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"
#include "platform/user/Display.h"
#include "platform/user/User.h"
#include "platform/user/WindowClass.h"

namespace {

constexpr UINT kNotify = WM_APP + 40;
constexpr COLORREF kBack = RGB(200, 210, 220);
constexpr COLORREF kBackLeftCap = RGB(90, 90, 200);
constexpr COLORREF kBackRightCap = RGB(200, 90, 90);
constexpr COLORREF kLeft = RGB(10, 200, 10);
constexpr COLORREF kMiddle = RGB(20, 150, 20);
constexpr COLORREF kRight = RGB(30, 100, 30);
constexpr COLORREF kSeparator = RGB(255, 0, 255);
constexpr COLORREF kNormalText = RGB(0, 0, 160);
constexpr COLORREF kSelectText = RGB(160, 0, 0);

// Picture sizes; the separator hangs below the selected tab's pictures so neither hides the other.
constexpr SIZE kBackSize{40, 60}, kLeftSize{4, 10}, kMiddleSize{3, 10}, kRightSize{5, 10}, kSepSize{2, 30};
constexpr int kTextOffset = 20;
constexpr int kStripWidth = 600, kStripHeight = 60;
constexpr int kCapsRow = 5;        // crosses the selected tab's pictures, no caption
constexpr int kSeparatorRow = 45;  // crosses the separators below the captions
constexpr int kCheckRow = 55;      // background only

const char* const kCaptions[] = {"Album Photo", "Music", "Theme", "Preview", "Output"};
constexpr int kTabs = 5;

// A strip that counts its paints.
class CountingStrip : public CSkinTabStrip {
 public:
  int paints = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_PAINT) ++paints;
    return CSkinTabStrip::WindowProc(message, wParam, lParam);
  }
};

// The extent the strip lays a caption out with: the default font of a fresh DC.
SIZE Measure(const char* caption) {
  HDC dc = CreateCompatibleDC(nullptr);
  SIZE size{};
  GetTextExtentPoint32(dc, caption, static_cast<int>(std::string(caption).size()), &size);
  DeleteDC(dc);
  return size;
}

void WritePicture(const std::string& path, SIZE size, COLORREF colour, COLORREF leftCap = CLR_INVALID,
                  COLORREF rightCap = CLR_INVALID) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, size.cx, size.cy);
  ReleaseDC(nullptr, screen);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  pictavo::gdi::FillSolidRect(dc, RECT{0, 0, size.cx, size.cy}, colour);
  if (leftCap != CLR_INVALID) pictavo::gdi::FillSolidRect(dc, RECT{0, 0, 6, size.cy}, leftCap);
  if (rightCap != CLR_INVALID)
    pictavo::gdi::FillSolidRect(dc, RECT{size.cx - 6, 0, size.cx, size.cy}, rightCap);
  SelectObject(dc, old);
  DeleteDC(dc);
  ASSERT_TRUE(pictavo::gdi::SaveBmpFile(bitmap, path.c_str())) << path;
  DeleteObject(bitmap);
}

// Tooltip pop-ups owned by the strip (or, as pop-ups are, by its top-level window).
struct TooltipSearch {
  HWND strip, host;
  std::vector<HWND> found;
};
BOOL CALLBACK CollectTooltip(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<TooltipSearch*>(lParam);
  char name[64] = {};
  GetClassName(hwnd, name, sizeof name);
  const HWND owner = GetWindow(hwnd, GW_OWNER);
  if ((owner == search->strip || owner == search->host) && std::string(name) == TOOLTIPS_CLASS)
    search->found.push_back(hwnd);
  return TRUE;
}

class SkinTabStripTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  }

  void SetUp() override {
    char folder[] = "/tmp/pictavo-tabstrip-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    m_folder = folder;
    WritePicture(Path("back.bmp"), kBackSize, kBack, kBackLeftCap, kBackRightCap);
    WritePicture(Path("left.bmp"), kLeftSize, kLeft);
    WritePicture(Path("middle.bmp"), kMiddleSize, kMiddle);
    WritePicture(Path("right.bmp"), kRightSize, kRight);
    WritePicture(Path("sep.bmp"), kSepSize, kSeparator);

    pictavo::user::InjectMouseMove(POINT{1000, 700});  // away from the host
    WNDCLASS wc{};
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = "TabStripHost";
    if (!GetClassInfo(nullptr, wc.lpszClassName, &wc)) RegisterClass(&wc);
    m_host = CreateWindowEx(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 700, 300, nullptr, nullptr,
                            nullptr, nullptr);
    ASSERT_NE(m_host, nullptr);
    ASSERT_TRUE(m_strip.Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY,
                               CRect(kLeftEdge, kTopEdge, kLeftEdge + kStripWidth, kTopEdge + kStripHeight),
                               CWnd::FromHandle(m_host), 300));
    m_strip.SetSkin(Skin());
    for (int i = 0; i < kTabs; ++i) m_strip.AddTab(kCaptions[i], 0);
    m_strip.SetNotifyMessage(kNotify);
    Repaint();
  }

  void TearDown() override {
    if (m_strip.GetSafeHwnd() != nullptr) m_strip.DestroyWindow();
    if (m_host != nullptr) DestroyWindow(m_host);
    Pump();
    std::filesystem::remove_all(m_folder);
  }

  std::string Path(const char* name) const { return m_folder + "/" + name; }

  _tagTabSkin Skin() const {
    _tagTabSkin skin;
    skin.strBackground = Path("back.bmp").c_str();
    skin.strLeft = Path("left.bmp").c_str();
    skin.strMiddle = Path("middle.bmp").c_str();
    skin.strRight = Path("right.bmp").c_str();
    skin.strSeparator = Path("sep.bmp").c_str();
    skin.clrNormal = kNormalText;
    skin.clrSelect = kSelectText;
    skin.dwHeightOff = kTextOffset;
    skin.dwHeightDelta = 0;
    return skin;
  }

  // Dispatches what is queued; the strip's notifications to the host are kept, not dispatched.
  void Pump() {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == kNotify && msg.hwnd == m_host)
        m_notes.push_back(msg);
      else
        DispatchMessage(&msg);
    }
  }
  void Repaint() {
    m_strip.Invalidate();
    m_strip.UpdateWindow();
    Pump();
  }

  // Strip client coordinates.
  COLORREF Pixel(const CWnd& wnd, int x, int y) const {
    pictavo::user::TopLevelWindow window;
    if (!pictavo::user::DescribeTopLevelWindow(m_host, &window) || !window.surface) return CLR_INVALID;
    POINT p{x, y};
    ::ClientToScreen(wnd.GetSafeHwnd(), &p);
    return pictavo::gdi::ColorFromPixel(
        window.surface->Row(p.y - window.rect.top)[static_cast<size_t>(p.x - window.rect.left)]);
  }
  COLORREF Pixel(int x, int y) const { return Pixel(m_strip, x, y); }
  void MoveTo(int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(m_strip.GetSafeHwnd(), &p);
    pictavo::user::InjectMouseMove(p);
    Pump();
  }
  void Click() {
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
    Pump();
  }

  // Where each tab begins (its left picture when selected) with `selected` selected.
  static std::vector<int> TabStarts(int selected, int count = kTabs) {
    std::vector<int> starts;
    int x = 3;
    for (int i = 0; i < count; ++i) {
      starts.push_back(x);
      x += kLeftSize.cx + kRightSize.cx + Measure(kCaptions[i]).cx + (i == selected ? 18 : 2);
    }
    starts.push_back(x);
    return starts;
  }
  // A point on the caption of tab i, which is not the selected one.
  static POINT OnCaption(int i, int selected) {
    const SIZE extent = Measure(kCaptions[i]);
    return POINT{TabStarts(selected)[static_cast<size_t>(i)] + kLeftSize.cx + 10 + extent.cx / 2,
                 4 + (extent.cy + 3) / 2};
  }
  static POINT OnSelectedCaption(int selected) {
    const SIZE extent = Measure(kCaptions[selected]);
    return POINT{TabStarts(selected)[static_cast<size_t>(selected)] + kLeftSize.cx + 12 + extent.cx / 2,
                 2 + (extent.cy + 4) / 2};
  }
  // Left edges of the separator runs along a row.
  std::vector<int> SeparatorsAt(int row) const {
    std::vector<int> lefts;
    for (int x = 0; x < kStripWidth; ++x)
      if (Pixel(x, row) == kSeparator && (x == 0 || Pixel(x - 1, row) != kSeparator)) lefts.push_back(x);
    return lefts;
  }
  int CountInBox(COLORREF colour, int left, int top, int right, int bottom) const {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) n += Pixel(x, y) == colour;
    return n;
  }

  static constexpr int kLeftEdge = 10, kTopEdge = 20;
  std::string m_folder;
  HWND m_host = nullptr;
  CountingStrip m_strip;
  std::vector<MSG> m_notes;
};

TEST_F(SkinTabStripTest, PaintsSelectedTabAndSeparatorsOnlyBetweenOtherTabs) {
  for (int selected : {0, 1, 2, kTabs - 1}) {
    SCOPED_TRACE(testing::Message() << "selected " << selected);
    m_strip.SetCurSel(selected);
    Repaint();
    const std::vector<int> starts = TabStarts(selected);

    // The selected tab: left cap, middle stretched to the caption width + 18, right cap.
    const int s = starts[static_cast<size_t>(selected)];
    const int width = Measure(kCaptions[selected]).cx + 18;
    for (int x = 6; x < kStripWidth - 6; ++x) {
      COLORREF expected = kBack;
      if (x >= s && x < s + kLeftSize.cx)
        expected = kLeft;
      else if (x >= s + kLeftSize.cx && x < s + kLeftSize.cx + width)
        expected = kMiddle;
      else if (x >= s + kLeftSize.cx + width && x < s + kLeftSize.cx + width + kRightSize.cx)
        expected = kRight;
      ASSERT_EQ(Pixel(x, kCapsRow), expected) << "x " << x;
    }

    // A separator follows each tab except the last and the selected one.
    std::vector<int> expected;
    for (int i = 0; i + 1 < kTabs; ++i)
      if (i != selected) expected.push_back(starts[static_cast<size_t>(i) + 1]);
    EXPECT_EQ(SeparatorsAt(kSeparatorRow), expected);
    EXPECT_EQ(Pixel(expected.front(), kTextOffset), kSeparator);
    EXPECT_EQ(Pixel(expected.front(), kTextOffset - 1), kBack);
  }
  // The background's end columns are copied, not stretched.
  for (int x = 0; x < 6; ++x) {
    EXPECT_EQ(Pixel(x, kCheckRow), kBackLeftCap) << x;
    EXPECT_EQ(Pixel(kStripWidth - 1 - x, kCheckRow), kBackRightCap) << x;
  }
  EXPECT_EQ(Pixel(6, kCheckRow), kBack);
  EXPECT_EQ(Pixel(kStripWidth - 7, kCheckRow), kBack);
}

TEST_F(SkinTabStripTest, SelectionWrapsOnlyThroughSetCurSel) {
  struct Case {
    int index, selected;
  };
  const Case cases[] = {{7, 2}, {5, 0}, {4, 4}, {0, 0}, {-1, 4}, {-6, 4}};
  for (const Case& c : cases) {
    m_strip.SetCurSel(c.index);
    EXPECT_EQ(m_strip.GetCurSel(), c.selected) << c.index;
  }
  m_strip.SetCurSelNoWrap(7);
  EXPECT_EQ(m_strip.GetCurSel(), 7);
  Repaint();  // no tab is drawn selected
  for (int x = 6; x < kStripWidth - 6; ++x) ASSERT_EQ(Pixel(x, kCapsRow), kBack) << x;

  // The selection survives a rebuild; without tabs there is nothing to wrap onto.
  m_strip.SetCurSel(3);
  m_strip.RemoveAllTabs();
  m_strip.SetCurSel(1);
  EXPECT_EQ(m_strip.GetCurSel(), 3);
  Pump();
  EXPECT_TRUE(m_notes.empty());
}

TEST_F(SkinTabStripTest, ClickingAnotherTabPostsItsIndexOnce) {
  const POINT selected = OnSelectedCaption(0);
  MoveTo(selected.x, selected.y);
  Click();
  EXPECT_TRUE(m_notes.empty());
  EXPECT_EQ(m_strip.GetCurSel(), 0);

  const POINT other = OnCaption(3, 0);
  MoveTo(other.x, other.y);
  Click();
  ASSERT_EQ(m_notes.size(), 1u);
  EXPECT_EQ(m_notes[0].wParam, 3u);
  EXPECT_EQ(m_notes[0].lParam, 0);
  EXPECT_EQ(m_strip.GetCurSel(), 3);

  Click();  // now the selected tab
  EXPECT_EQ(m_notes.size(), 1u);
}

TEST_F(SkinTabStripTest, HoverHighlightsTheTabAndLetsGoOfTheMouse) {
  const int tab = 2;
  const SIZE extent = Measure(kCaptions[tab]);
  const POINT inside = OnCaption(tab, 0);
  const int captionLeft = inside.x - extent.cx / 2;
  auto captionPixels = [&](COLORREF colour) {
    return CountInBox(colour, captionLeft, 4 + kTextOffset, captionLeft + extent.cx + 10,
                      4 + kTextOffset + extent.cy + 4);
  };
  EXPECT_GT(captionPixels(kNormalText), 0);
  EXPECT_EQ(captionPixels(kSelectText), 0);

  int paints = m_strip.paints;
  MoveTo(inside.x, inside.y);
  EXPECT_EQ(m_strip.paints, paints + 1);
  EXPECT_EQ(GetCapture(), m_strip.GetSafeHwnd());
  EXPECT_GT(captionPixels(kSelectText), 0);
  EXPECT_EQ(captionPixels(kNormalText), 0);

  MoveTo(inside.x + 1, inside.y + 1);  // same tab
  EXPECT_EQ(m_strip.paints, paints + 1);

  MoveTo(inside.x, kCheckRow);  // inside the strip, on no tab
  EXPECT_EQ(m_strip.paints, paints + 2);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_GT(captionPixels(kNormalText), 0);
  EXPECT_EQ(captionPixels(kSelectText), 0);

  MoveTo(inside.x + 5, kCheckRow);
  MoveTo(inside.x, kStripHeight + 30);  // below the strip
  EXPECT_EQ(m_strip.paints, paints + 2);
}

TEST_F(SkinTabStripTest, SkinWithoutAPictureKeepsTheOldOneAndTakesTheRest) {
  constexpr COLORREF kNewMiddle = RGB(120, 60, 0);
  constexpr COLORREF kNewNormal = RGB(0, 128, 0);
  constexpr int kNewDelta = 12, kNewTextOffset = 24;
  WritePicture(Path("middle2.bmp"), kMiddleSize, kNewMiddle);
  _tagTabSkin skin = Skin();
  skin.strLeft = Path("missing.bmp").c_str();
  skin.strMiddle = Path("middle2.bmp").c_str();
  skin.clrNormal = kNewNormal;
  skin.dwHeightDelta = kNewDelta;
  skin.dwHeightOff = kNewTextOffset;
  EXPECT_TRUE(m_strip.SetSkin(skin));
  Repaint();

  const int s = TabStarts(0)[0];
  EXPECT_EQ(Pixel(s, kNewDelta), kLeft);
  EXPECT_EQ(Pixel(s + kLeftSize.cx - 1, kNewDelta + kLeftSize.cy - 1), kLeft);
  EXPECT_EQ(Pixel(s + kLeftSize.cx, kNewDelta), kNewMiddle);
  EXPECT_EQ(Pixel(s + kLeftSize.cx, kNewDelta - 1), kBack);

  const int separator = TabStarts(0)[2];
  EXPECT_EQ(Pixel(separator, kNewTextOffset - 1), kBack);
  EXPECT_EQ(Pixel(separator, kNewTextOffset), kSeparator);

  const SIZE extent = Measure(kCaptions[1]);
  const POINT caption = OnCaption(1, 0);
  const int left = caption.x - extent.cx / 2, top = 4 + kNewTextOffset;
  EXPECT_GT(CountInBox(kNewNormal, left, top, left + extent.cx + 10, top + extent.cy + 4), 0);
  EXPECT_EQ(CountInBox(kNormalText, left, top, left + extent.cx + 10, top + extent.cy + 4), 0);
}

TEST_F(SkinTabStripTest, RecalcTabsKeepsOneTooltipWithAToolPerTab) {
  auto tooltips = [&] {
    TooltipSearch search{m_strip.GetSafeHwnd(), m_host, {}};
    EnumWindows(CollectTooltip, reinterpret_cast<LPARAM>(&search));
    return search.found;
  };
  EXPECT_TRUE(tooltips().empty());
  m_strip.RecalcTabs();
  m_strip.RecalcTabs();
  const std::vector<HWND> shown = tooltips();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(SendMessage(shown[0], TTM_GETTOOLCOUNT, 0, 0), kTabs);

  m_strip.RemoveAllTabs();
  EXPECT_TRUE(tooltips().empty());
  EXPECT_FALSE(IsWindow(shown[0]));
}

TEST_F(SkinTabStripTest, VerticalLayoutStacksTabsDownwards) {
  const char* const captions[] = {"A", "B", "C"};
  CSkinTabStrip strip;
  ASSERT_TRUE(strip.Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(620, 10, 680, 290),
                           CWnd::FromHandle(m_host), 301));
  strip.SetSkin(Skin());
  strip.SetLayout(CSkinTabStrip::layoutVertical);
  for (const char* caption : captions) strip.AddTab(caption, 0);
  strip.Invalidate();
  strip.UpdateWindow();
  Pump();

  // Tab 0 selected: left cap, the middle stretched downwards by the caption height + 18, right
  // cap; tab 1 is followed by a separator, tab 2 is the last.
  const int height = Measure(captions[0]).cy + 18;
  const int rightTop = kLeftSize.cy + height;
  const int separatorTop =
      rightTop + kRightSize.cy + kLeftSize.cy + kRightSize.cy + Measure(captions[1]).cy + 2;
  EXPECT_EQ(Pixel(strip, 3, 0), kLeft);
  EXPECT_EQ(Pixel(strip, 6, kLeftSize.cy - 1), kLeft);
  EXPECT_EQ(Pixel(strip, 3, kLeftSize.cy), kMiddle);
  EXPECT_EQ(Pixel(strip, 3, rightTop), kRight);
  EXPECT_EQ(Pixel(strip, 7, rightTop + kRightSize.cy - 1), kRight);
  // The last tab's caption may run over the lower part of the separator.
  for (int y = 0; y < 280; ++y) {
    if (y >= separatorTop + 8 && y < separatorTop + kSepSize.cy) continue;
    ASSERT_EQ(Pixel(strip, 4, y) == kSeparator, y >= separatorTop && y < separatorTop + 8) << y;
  }
  EXPECT_EQ(Pixel(strip, 20, 279), kBack);  // the background stretched to the strip's height
  strip.DestroyWindow();
}

}  // namespace
