#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "controls/SizeableDlg.h"
#include "controls/SizerBar.h"
#include "platform/display/Display.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/Wnd.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/User.h"
#include "tests/support/MessagePump.h"

namespace {

constexpr UINT kLeft = 1, kRight = 2, kBar = 1024;
constexpr int kWidth = 400, kHeight = 100;

struct Limits {
  int minAlong = 0, maxAlong = LAYOUT_MAX_SIZE;
};

// A panel split by a bar: answers the size queries of its two panes and moves the bar's row when
// the bar reports a drag, as the organize page does.
class SplitOwner : public CWnd {
 public:
  explicit SplitOwner(_tagLayoutRow* table) : layout(table) {}
  CLayoutMgr layout;
  std::map<UINT, Limits> limits;  // along the group's axis
  bool vertical = false;          // a rows group: the bar is horizontal
  struct Move {
    UINT id;
    int dx, dy;
  };
  std::vector<Move> moves;

 protected:
  LRESULT OnWinMgr(WPARAM wParam, LPARAM lParam) {
    auto* notify = reinterpret_cast<_tagLayoutNotify*>(lParam);
    const UINT id = static_cast<UINT>(wParam);
    if (notify->hdr.code == LAYOUT_NOTIFY_SIZER_MOVED) {
      moves.push_back({static_cast<UINT>(notify->hdr.idFrom), notify->move.dx, notify->move.dy});
      layout.MoveSizer(id, notify->move.dx, notify->move.dy, this);
      layout.ApplyLayout(this);
      return 1;
    }
    const auto it = limits.find(id);
    if (it == limits.end()) return 0;
    (vertical ? notify->sizeInfo.cyMin : notify->sizeInfo.cxMin) = it->second.minAlong;
    (vertical ? notify->sizeInfo.cyMax : notify->sizeInfo.cxMax) = it->second.maxAlong;
    return 1;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(SplitOwner, CWnd)
ON_REGISTERED_MESSAGE(g_uWinMgrMsg, OnWinMgr)
END_MESSAGE_MAP()

// A to-fit pane keeping its size, the bar, and a pane taking the rest; `group` 0x23 or 0x13.
struct SplitTable {
  explicit SplitTable(WORD group) {
    InitLayoutRow(&rows[0], group, 0, 0);
    InitLayoutRow(&rows[1], LAYOUT_TOFIT, kLeft, 0);
    InitLayoutRow(&rows[2], LAYOUT_FIXED, kBar, 4);
    InitLayoutRow(&rows[3], LAYOUT_REST, kRight, 0);
    InitLayoutRow(&rows[4], LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0);
    InitLayoutRow(&rows[5], LAYOUT_END_TABLE, LAYOUT_NO_WINDOW, 0);
  }
  _tagLayoutRow rows[6];
};

class SizerBarTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  }
  void Build(WORD group) {
    m_table = std::make_unique<SplitTable>(group);
    m_owner = std::make_unique<SplitOwner>(m_table->rows);
    m_owner->vertical = group == 0x13;
    ASSERT_TRUE(m_owner->CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight,
                                  nullptr, nullptr));
    const RECT firstPane = m_owner->vertical ? RECT{0, 0, kWidth, 40} : RECT{0, 0, 150, kHeight};
    m_left.Create(nullptr, WS_CHILD | WS_VISIBLE, firstPane, m_owner.get(), kLeft);
    m_right.Create(nullptr, WS_CHILD | WS_VISIBLE, CRect(), m_owner.get(), kRight);
    ASSERT_TRUE(m_bar.Create(WS_CHILD | WS_VISIBLE, m_owner.get(), &m_owner->layout, kBar, CRect()));
    m_owner->layout.CaptureToFitSizes(m_owner.get());
    Relayout();
  }
  void Relayout() {
    m_owner->layout.LayoutRoot(RECT{0, 0, kWidth, kHeight}, m_owner.get());
    m_owner->layout.ApplyLayout(m_owner.get());
    pictavo::test::PumpPending();
  }
  void TearDown() override {
    if (m_owner && m_owner->GetSafeHwnd()) m_owner->DestroyWindow();
    pictavo::test::PumpPending();
  }
  RECT Rect(CWnd& control) {
    RECT rc;
    control.GetWindowRect(&rc);
    m_owner->ScreenToClient(&rc);
    return rc;
  }
  void Mouse(UINT message, int x, int y) {
    m_bar.SendMessage(message, message == WM_MOUSEMOVE ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
  }
  // Press at (x0, y0), move and release at (x1, y1), bar client coordinates.
  void Drag(int x0, int y0, int x1, int y1) {
    Mouse(WM_LBUTTONDOWN, x0, y0);
    Mouse(WM_MOUSEMOVE, (x0 + x1) / 2, (y0 + y1) / 2);
    Mouse(WM_MOUSEMOVE, x1, y1);
    Mouse(WM_LBUTTONUP, x1, y1);
  }

  std::unique_ptr<SplitTable> m_table;
  std::unique_ptr<SplitOwner> m_owner;
  CStatic m_left, m_right;
  CSizerBar m_bar;
};

TEST_F(SizerBarTest, ADragMovesTheSplitWithinTheNeighboursLimits) {
  Build(0x23);
  m_owner->limits[kLeft] = {50, LAYOUT_MAX_SIZE};
  m_owner->limits[kRight] = {60, LAYOUT_MAX_SIZE};
  ASSERT_FALSE(m_bar.IsHorizontal());
  ASSERT_EQ(Rect(m_bar).left, 150);
  // The bar may go from x 50 to 336 (the right pane keeps 60): from the press at 2, -98 to 188.
  struct Case {
    int to, y;
    int dx;
    int split;  // where the bar ends up
  };
  const Case cases[] = {
      {2, 50, 0, 150},       // a click without movement still reports
      {52, 80, 50, 200},     // vertical movement is ignored
      {-300, 50, -150, 50},  // held at the left pane's minimum
      {900, 50, 286, 336},   // held at the right pane's minimum
  };
  for (const auto& c : cases) {
    m_owner->moves.clear();
    Drag(2, 50, c.to, c.y);
    ASSERT_EQ(m_owner->moves.size(), 1u) << c.to;
    EXPECT_EQ(m_owner->moves[0].id, kBar);
    EXPECT_EQ(m_owner->moves[0].dx, c.dx) << c.to;
    EXPECT_EQ(m_owner->moves[0].dy, 0) << c.to;
    EXPECT_EQ(Rect(m_bar).left, c.split) << c.to;
    EXPECT_EQ(Rect(m_left).right, c.split) << c.to;
    EXPECT_EQ(Rect(m_right).left, c.split + 4) << c.to;
    EXPECT_FALSE(m_bar.IsDragging());
    EXPECT_EQ(::GetCapture(), nullptr);
  }
}

TEST_F(SizerBarTest, AHorizontalBarMovesUpAndDownOnly) {
  Build(0x13);
  ASSERT_TRUE(m_bar.IsHorizontal());
  Drag(100, 1, 300, 21);
  ASSERT_EQ(m_owner->moves.size(), 1u);
  EXPECT_EQ(m_owner->moves[0].dx, 0);
  EXPECT_EQ(m_owner->moves[0].dy, 20);
  EXPECT_EQ(Rect(m_bar).top, 60);
  EXPECT_EQ(Rect(m_left).bottom, 60);
}

TEST_F(SizerBarTest, CrossedLimitsHoldTheCursorAtTheRightLimit) {
  Build(0x23);
  m_owner->limits[kLeft] = {300, LAYOUT_MAX_SIZE};
  m_owner->limits[kRight] = {200, LAYOUT_MAX_SIZE};
  Mouse(WM_LBUTTONDOWN, 2, 50);
  // Left limit 300, right limit 400 - 200 = 200: the bar at 150 may only go to 196.
  EXPECT_GT(m_bar.GetCursorLimits().left, m_bar.GetCursorLimits().right);
  EXPECT_EQ(m_bar.ClampPoint(CPoint(-500, 50)).x, m_bar.GetCursorLimits().right);
  EXPECT_EQ(m_bar.ClampPoint(CPoint(500, 50)).x, m_bar.GetCursorLimits().right);
  Mouse(WM_LBUTTONUP, 2, 50);
  ASSERT_EQ(m_owner->moves.size(), 1u);
  EXPECT_EQ(m_owner->moves[0].dx, 46);
}

TEST_F(SizerBarTest, EscapeAndCancelledModesEndTheDragWithoutAMove) {
  Build(0x23);
  HWND before = m_owner->GetSafeHwnd();
  ::SetFocus(before);
  for (UINT ending : {static_cast<UINT>(WM_CHAR), static_cast<UINT>(WM_CANCELMODE)}) {
    Mouse(WM_LBUTTONDOWN, 2, 50);
    EXPECT_TRUE(m_bar.IsDragging());
    EXPECT_EQ(::GetFocus(), m_bar.GetSafeHwnd());
    Mouse(WM_MOUSEMOVE, 80, 50);
    m_bar.SendMessage(ending, ending == WM_CHAR ? VK_ESCAPE : 0, 0);
    EXPECT_FALSE(m_bar.IsDragging());
    EXPECT_EQ(::GetFocus(), before);
    EXPECT_EQ(::GetCapture(), nullptr);
    Mouse(WM_LBUTTONUP, 80, 50);  // the release after the drag ended reports nothing
  }
  EXPECT_TRUE(m_owner->moves.empty());
  EXPECT_EQ(Rect(m_bar).left, 150);
}

TEST_F(SizerBarTest, TheOrientationIsDecidedOnceEvenBeforeAnyLayout) {
  m_table = std::make_unique<SplitTable>(0x13);
  m_owner = std::make_unique<SplitOwner>(m_table->rows);
  ASSERT_TRUE(m_owner->CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight,
                                nullptr, nullptr));
  CSizerBar early;
  EXPECT_FALSE(early.IsHorizontal());  // no window yet
  ASSERT_TRUE(early.Create(WS_CHILD | WS_VISIBLE, m_owner.get(), &m_owner->layout, kBar, CRect()));
  EXPECT_FALSE(early.IsHorizontal());  // an empty rectangle is taken as vertical ...
  early.MoveWindow(0, 40, kWidth, 4);
  EXPECT_FALSE(early.IsHorizontal());  // ... and stays so
  EXPECT_NE(early.GetStyle() & SS_NOTIFY, 0u);
}

TEST_F(SizerBarTest, ABarWithoutARowIgnoresThePress) {
  Build(0x23);
  CSizerBar stray;
  ASSERT_TRUE(stray.Create(WS_CHILD | WS_VISIBLE, m_owner.get(), &m_owner->layout, 4077, CRect(0, 0, 4, 50)));
  stray.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
  EXPECT_FALSE(stray.IsDragging());
  stray.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
  EXPECT_TRUE(m_owner->moves.empty());
}

}  // namespace

namespace {

// The translation test's dialog: its list box (62012) takes what its OK button (1) leaves.
_tagLayoutRow g_dialogTable[6];
const bool g_dialogTableReady = [] {
  InitLayoutRows(g_dialogTable, {{LAYOUT_ROWS | LAYOUT_REST, 0, MAKELONG(8, 8)},
                                 {LAYOUT_REST, 62012, 0},
                                 {LAYOUT_FIXED, IDOK, 24},
                                 {LAYOUT_FIXED, LAYOUT_NO_WINDOW, -6},
                                 {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
                                 {LAYOUT_END_TABLE, LAYOUT_NO_WINDOW, 0}});
  return true;
}();

TEST(SizeableDlg, SizeAndTrackingFollowTheTable) {
  if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
  CSizeableDlg dialog(62000, nullptr, g_dialogTable);
  ASSERT_TRUE(dialog.Create(62000, nullptr));
  dialog.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
  RECT list, ok;
  dialog.GetDlgItem(62012)->GetWindowRect(&list);
  dialog.GetDlgItem(IDOK)->GetWindowRect(&ok);
  dialog.ScreenToClient(&list);
  dialog.ScreenToClient(&ok);
  EXPECT_EQ(list.left, 8);
  EXPECT_EQ(list.right, 292);
  EXPECT_EQ(list.bottom, 162);
  EXPECT_EQ(ok.top, 162);
  EXPECT_EQ(ok.bottom, 186);

  dialog.ShowWindow(SW_HIDE);
  MINMAXINFO mmi{};
  dialog.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  EXPECT_EQ(mmi.ptMinTrackSize.y, 24 + 16);  // the button and the margins; the spacer may shrink
  EXPECT_EQ(mmi.ptMinTrackSize.x, 16);
  dialog.DestroyWindow();
}

}  // namespace
