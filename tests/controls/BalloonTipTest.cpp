// The balloon tip: its size follows the text's longest line and the icon, it appears after the
// delay with its pointer on the mouse over a registered control, and goes when the mouse leaves
// or a button is pressed.
#include "controls/BalloonTip.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/gdi/Gdi.h"
#include "platform/mfc/Dc.h"
#include "platform/user/Display.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Snapshot.h"

namespace {

using pictavo::test::PumpUntil;

HICON MakeIcon(int size) {
  std::vector<DWORD> bits(static_cast<size_t>(size * size), 0xFF2060C0);
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = CreateBitmap(size, size, 1, 32, bits.data());
  info.hbmMask = CreateBitmap(size, size, 1, 1, nullptr);
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return icon;
}

class BalloonTipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    pictavo::user::InjectMouseMove(POINT{1000, 700});
    const CString cls = AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    ASSERT_TRUE(
        m_owner.CreateEx(0, cls, "owner", WS_POPUP | WS_VISIBLE, CRect(100, 100, 500, 400), nullptr, 0));
    ASSERT_TRUE(
        m_list.Create("music", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(20, 20, 200, 120), &m_owner, 1));
    ASSERT_TRUE(
        m_other.Create("other", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(220, 20, 380, 120), &m_owner, 2));
    ASSERT_TRUE(m_tip.Create(&m_owner));
    m_tip.m_nShowDelay = 50;
    m_tip.AddTool(&m_list, "Drag music here to add it,\nor right-click for more.");
  }
  void TearDown() override {
    m_tip.DestroyWindow();
    m_owner.DestroyWindow();
  }

  // The mouse goes to a desktop point and the owner relays the move, as its PreTranslateMessage does.
  void MoveTo(POINT point) {
    pictavo::user::InjectMouseMove(point);
    MSG msg{};
    msg.hwnd = ::WindowFromPoint(point);
    msg.message = WM_MOUSEMOVE;
    m_tip.RelayEvent(&msg);
  }
  bool Shown() { return m_tip.IsWindowVisible() != FALSE; }

  SIZE SizeOf(const char* text, HICON icon) {
    CBalloonTip tip;
    EXPECT_TRUE(tip.Create(&m_owner));
    tip.SetIcon(icon);
    tip.Show(text);
    CClientDC dc(&tip);
    HRGN region = nullptr;
    SIZE size{};
    tip.GetBalloonRegion(&dc, &region, &size);
    DeleteObject(region);
    tip.DestroyWindow();
    return size;
  }

  CWnd m_owner;
  CStatic m_list, m_other;
  CBalloonTip m_tip;
};

}  // namespace

TEST_F(BalloonTipTest, GrowsWithTheLongestLineAndMakesRoomForTheIcon) {
  const SIZE one = SizeOf("Short", nullptr);
  const SIZE two = SizeOf("Short\nA much longer second line", nullptr);
  const SIZE longest = SizeOf("A much longer second line", nullptr);
  EXPECT_EQ(two.cx, longest.cx);
  EXPECT_GT(two.cx, one.cx);
  EXPECT_GT(two.cy, one.cy);
  EXPECT_GE(one.cy, 20 + 25);  // margins and the pointer below the balloon

  HICON icon = MakeIcon(32);
  const SIZE withIcon = SizeOf("Short", icon);
  EXPECT_EQ(withIcon.cx, one.cx + 37);  // the icon and its gap move the text 37 pixels
  DestroyIcon(icon);
}

TEST_F(BalloonTipTest, ShowsAfterTheDelayWithItsPointerOnTheMouseAndHidesWhenItLeaves) {
  const POINT over{150, 170};  // inside the registered control
  MoveTo(over);
  EXPECT_FALSE(Shown());  // armed, not shown yet
  ASSERT_TRUE(PumpUntil([&] { return Shown(); }, 5000));
  CRect rc;
  m_tip.GetWindowRect(&rc);
  // The pointer's tip (12 in from the right, 10 up from the bottom) is on the mouse.
  EXPECT_EQ(rc.right - 12, over.x);
  EXPECT_EQ(rc.bottom - 10, over.y);
  const std::string shot = pictavo::test::SaveDesktopArea(CRect(0, 0, 520, 420), "balloon-tip.png");
  EXPECT_FALSE(shot.empty());

  // Moving within the control re-arms the tip at the new point.
  MoveTo(POINT{160, 175});
  EXPECT_EQ(m_tip.GetAnchor().x, 160);
  ASSERT_TRUE(PumpUntil([&] { return Shown(); }, 5000));

  // Off every registered control: hidden at once.
  MoveTo(POINT{300, 170});
  EXPECT_FALSE(Shown());

  // A button press hides it too.
  MoveTo(over);
  ASSERT_TRUE(PumpUntil([&] { return Shown(); }, 5000));
  MSG press{};
  press.message = WM_LBUTTONDOWN;
  m_tip.RelayEvent(&press);
  EXPECT_FALSE(Shown());
}
