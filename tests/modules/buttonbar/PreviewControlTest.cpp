#include "BarFixture.h"
#include "modules/buttonbar/PreviewControl.h"
#include "platform/display/InputSynth.h"
#include "platform/gdi/Surface.h"
#include "platform/user/Display.h"

using namespace testing_buttonbar;

namespace {

constexpr UINT kPadId = 1145;

// Where the pad's keys sit (the layout of the pad), by key code.
POINT KeyCentre(int code) {
  static const POINT kCentres[] = {{100, 44},  {100, 100}, {52, 72},   {148, 72},  {100, 72}, {52, 128},
                                   {100, 128}, {148, 128}, {17, 156},  {38, 156},  {59, 156}, {80, 156},
                                   {101, 156}, {122, 156}, {143, 156}, {164, 156}, {185, 156}};
  const POINT p = kCentres[code - 1];
  return POINT{kHostOrigin.x + kBarOrigin.x + p.x, kHostOrigin.y + kBarOrigin.y + p.y};
}

class PreviewControlTest : public BarTest {
 protected:
  void SetUp() override {
    BarTest::SetUp();
    HWND placeholder = CreateWindowEx(
        0, "Static", "", WS_CHILD | WS_VISIBLE, kBarOrigin.x, kBarOrigin.y, 10, 10, m_host->Hwnd(),
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kPadId)), nullptr, nullptr);
    ASSERT_NE(placeholder, nullptr);
    ASSERT_TRUE(m_pad.SubclassDlgItem(kPadId, CWnd::FromHandle(m_host->Hwnd())));
    m_pad.SetNotifyMessage(m_host->Hwnd(), kNotify);
    const CSize size = m_pad.GetSize();
    m_pad.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    PumpUntil([] { return false; }, 0);
  }
  void TearDown() override {
    m_pad.DestroyWindow();
    BarTest::TearDown();
  }
  std::vector<WPARAM> Reported() const {
    std::vector<WPARAM> codes;
    for (const Notification& n : m_host->notifications) codes.push_back(n.wParam);
    return codes;
  }
  // A row of the host's pixels across the time display.
  std::vector<uint32_t> TimeRow() const {
    pictavo::user::TopLevelWindow window;
    if (!pictavo::user::DescribeTopLevelWindow(m_host->Hwnd(), &window) || !window.surface) return {};
    const auto row = window.surface->Row(kBarOrigin.y + 16);
    return std::vector<uint32_t>(row.begin() + kBarOrigin.x + 8, row.begin() + kBarOrigin.x + 192);
  }

  CPreviewControl m_pad;
};

}  // namespace

TEST_F(PreviewControlTest, EachKeyReportsItsCode) {
  const int kCodes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 13, 17};
  for (int code : kCodes) {
    m_host->notifications.clear();
    pictavo::display::Click(KeyCentre(code));
    ASSERT_TRUE(PumpUntil([&] { return !m_host->notifications.empty(); })) << code;
    EXPECT_EQ(Reported(), std::vector<WPARAM>{static_cast<WPARAM>(code)});
    EXPECT_EQ(m_host->notifications.front().lParam, 0);
  }
}

TEST_F(PreviewControlTest, KeysThatAreOffStayQuiet) {
  // What the menu page does when the preview stops: everything off but play and enter.
  m_pad.DisableAllButtons(TRUE);
  m_pad.EnableButton(6, FALSE);
  m_pad.EnableButton(7, TRUE);
  EXPECT_FALSE(m_pad.EnableButton(0, TRUE));
  EXPECT_FALSE(m_pad.DisableButton(18, TRUE));
  const int kClicks[] = {8, 1, 9, 7, 6};
  for (int code : kClicks) pictavo::display::Click(KeyCentre(code));
  ASSERT_TRUE(PumpUntil([&] { return Reported().size() >= 2 && Reported().back() == 6; }));
  EXPECT_EQ(Reported(), (std::vector<WPARAM>{7, 6}));

  m_pad.EnableAllButtons(FALSE);
  m_pad.DisableButton(12, TRUE);
  m_host->notifications.clear();
  pictavo::display::Click(KeyCentre(12));
  pictavo::display::Click(KeyCentre(11));
  ASSERT_TRUE(PumpUntil([&] { return !m_host->notifications.empty(); }));
  EXPECT_EQ(Reported(), std::vector<WPARAM>{11});
}

TEST_F(PreviewControlTest, ThePlayTimeShowsInTheDisplay) {
  const std::vector<uint32_t> before = TimeRow();
  ASSERT_FALSE(before.empty());
  m_pad.ShowPlayTime("01:15:00");
  ASSERT_TRUE(PumpUntil([&] { return TimeRow() != before; }));
  bool lit = false;
  for (uint32_t pixel : TimeRow()) lit |= pictavo::gdi::ColorFromPixel(pixel) != RGB(0, 0, 0);
  EXPECT_TRUE(lit) << "digits on the dark display";
}
