#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "controls/LayoutMgr.h"
#include "platform/display/Display.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/Wnd.h"
#include "platform/user/Metrics.h"
#include "platform/user/User.h"
#include "tests/support/MessagePump.h"

bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
std::ostream& operator<<(std::ostream& os, const RECT& r) {
  return os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

namespace {

using Rows = std::vector<LayoutRowInit>;
constexpr UINT kNone = LAYOUT_NO_WINDOW;

// Rows as a window's source file declares them, initialised and linked by a manager.
struct Table {
  explicit Table(const Rows& init) : rows(init.size()) {
    for (size_t i = 0; i < init.size(); ++i)
      InitLayoutRow(&rows[i], init[i].flags, init[i].id, init[i].param);
  }
  _tagLayoutRow* Find(UINT id) {
    for (auto& row : rows)
      if (row.id == id) return &row;
    return nullptr;
  }
  std::vector<_tagLayoutRow> rows;
};

struct Case {
  const char* what;
  Rows rows;
  RECT client;
  std::map<UINT, RECT> expected;  // by row id
};

// Tables laid out without windows: ids name rows only.
const Case kCases[] = {
    {"rows group: shrinkable spacers, a to-fit row and a rest row",
     {{0x13, 0, 0},
      {0x01, 11, -2},
      {0x04, 1491, MAKELONG(80, 20)},
      {0x01, 12, -2},
      {0x03, 1023, 0},
      {0xF0, kNone, 0},
      {0x00, kNone, 0}},
     {0, 0, 200, 100},
     {{11, {0, 0, 200, 2}}, {1491, {0, 2, 200, 22}}, {12, {0, 22, 200, 24}}, {1023, {0, 24, 200, 100}}}},
    {"a group shorter than its minima gives them in table order, the rest stacked at the end",
     {{0x13, 0, 0}, {0x01, 1, 30}, {0x01, 2, 30}, {0x01, 3, 30}, {0xF0, kNone, 0}, {0x00, kNone, 0}},
     {0, 0, 10, 50},
     {{1, {0, 0, 10, 30}}, {2, {0, 30, 10, 50}}, {3, {0, 50, 10, 50}}}},
    {"a squeezable spacer gives way first",
     {{0x13, 0, 0}, {0x01, 1, 30}, {0x01, 2, -30}, {0x01, 3, 30}, {0xF0, kNone, 0}, {0x00, kNone, 0}},
     {0, 0, 10, 70},
     {{1, {0, 0, 10, 30}}, {2, {0, 30, 10, 40}}, {3, {0, 40, 10, 70}}}},
    {"two rest rows: only the later takes the rest",
     {{0x23, 0, 0}, {0x03, 1, 0}, {0x01, 2, 40}, {0x03, 3, 0}, {0xF0, kNone, 0}, {0x00, kNone, 0}},
     {0, 0, 300, 20},
     {{1, {0, 0, 0, 20}}, {2, {0, 0, 40, 20}}, {3, {40, 0, 300, 20}}}},
    {"percent of an odd length truncates",
     {{0x23, 0, 0}, {0x02, 1, 50}, {0x03, 2, 0}, {0xF0, kNone, 0}, {0x00, kNone, 0}},
     {0, 0, 101, 10},
     {{1, {0, 0, 50, 10}}, {2, {50, 0, 101, 10}}}},
    {"margins are applied inside the group",
     {{0x13, 0, MAKELONG(5, 7)}, {0x03, 1, 0}, {0xF0, kNone, 0}, {0x00, kNone, 0}},
     {0, 0, 100, 50},
     {{1, {5, 7, 95, 43}}}},
    {"margins larger than half the group are cut to half",
     {{0x23, 0, MAKELONG(100, 100)}, {0x03, 1, 0}, {0xF0, kNone, 0}, {0x00, kNone, 0}},
     {0, 0, 51, 40},
     {{1, {25, 20, 26, 20}}}},
    {"nested columns inside rows; the inner group takes the rest",
     {{0x13, 0, 0},
      {0x01, 1, 20},
      {0x23, 2, MAKELONG(4, 0)},
      {0x04, 3, MAKELONG(60, 10)},
      {0x03, 4, 0},
      {0xF0, kNone, 0},
      {0xF0, kNone, 0},
      {0x00, kNone, 0}},
     {0, 0, 200, 100},
     {{1, {0, 0, 200, 20}}, {2, {0, 20, 200, 100}}, {3, {4, 20, 64, 100}}, {4, {64, 20, 196, 100}}}},
    {"minimising lays out into an empty rectangle",
     {{0x13, 0, MAKELONG(3, 3)}, {0x01, 1, 20}, {0x03, 2, 0}, {0xF0, kNone, 0}, {0x00, kNone, 0}},
     {0, 0, 0, 0},
     {{1, {0, 0, 0, 0}}, {2, {0, 0, 0, 0}}}},
};

TEST(LayoutTable, RowsAreSizedAndStackedByTheirRules) {
  for (const auto& c : kCases) {
    Table table(c.rows);
    CLayoutMgr layout(table.rows.data());
    layout.LayoutRoot(c.client, nullptr);
    for (const auto& [id, rect] : c.expected)
      EXPECT_EQ(table.Find(id)->rect, rect) << c.what << ": row " << id;
  }
}

TEST(LayoutTable, LinkingFollowsTheNesting) {
  Table table({{0x13, 0, 0},
               {0x01, 1, 20},
               {0x23, 2, 0},
               {0x03, 3, 0},
               {0x03, 4, 0},
               {0xF0, kNone, 0},
               {0x03, 5, 0},
               {0xF0, kNone, 0},
               {0x00, kNone, 0}});
  CLayoutMgr layout(table.rows.data());
  auto* root = &table.rows[0];
  EXPECT_EQ(root->next, nullptr);
  EXPECT_EQ(table.Find(1)->next, table.Find(2));
  EXPECT_EQ(table.Find(2)->next, table.Find(5));
  EXPECT_EQ(table.Find(5)->prev, table.Find(2));
  EXPECT_EQ(table.Find(3)->next, table.Find(4));
  EXPECT_EQ(table.Find(4)->next, nullptr);
  EXPECT_EQ(CLayoutMgr::GetParentGroup(table.Find(4)), table.Find(2));
  EXPECT_EQ(CLayoutMgr::GetParentGroup(table.Find(5)), root);
  EXPECT_EQ(layout.CountControls(), 7);  // rows with an id, markers included
  EXPECT_EQ(layout.FindRow(4), table.Find(4));
  EXPECT_EQ(layout.FindRow(77), nullptr);
}

TEST(LayoutTable, AGroupLeftOpenStopsAtTheEndOfTheTable) {
  Table table({{0x13, 0, 0}, {0x23, 1, 0}, {0x03, 2, 0}, {0x00, kNone, 0}});
  CLayoutMgr layout(table.rows.data());
  layout.LayoutRoot(RECT{0, 0, 10, 10}, nullptr);
  EXPECT_EQ(table.Find(2)->rect, (RECT{0, 0, 10, 10}));
}

TEST(LayoutTable, GroupMarginsAreSignedHalves) {
  _tagLayoutRow group{}, leaf{};
  InitLayoutRow(&group, 0x13, 0, MAKELONG(-3, 7));
  InitLayoutRow(&leaf, 0x01, 5, MAKELONG(-3, 7));
  int mx = 1, my = 1;
  EXPECT_TRUE(CLayoutMgr::GetGroupMargins(&group, mx, my));
  EXPECT_EQ(mx, -3);
  EXPECT_EQ(my, 7);
  EXPECT_FALSE(CLayoutMgr::GetGroupMargins(&leaf, mx, my));
  EXPECT_EQ(mx, 0);
  EXPECT_EQ(my, 0);
}

struct SizeCase {
  const char* what;
  Rows rows;
  int cxMin, cyMin, cxMax, cyMax;
};

const SizeCase kSizeCases[] = {
    {"a fixed row adds its length to the minimum; a shrinkable one does not",
     {{0x13, 0, 0}, {0x01, 1, 2}, {0x01, 2, -2}, {0x03, 3, 0}, {0xF0, kNone, 0}, {0x00, kNone, 0}},
     0,
     2,
     32767,
     32767},
    {"a columns group of fixed rows cannot grow wider",
     {{0x23, 0, 0}, {0x01, 1, 30}, {0x01, 2, 40}, {0xF0, kNone, 0}, {0x00, kNone, 0}},
     70,
     0,
     70,
     32767},
    {"summed maxima stop at 32767",
     {{0x23, 0, 0}, {0x03, 1, 0}, {0x03, 2, 0}, {0xF0, kNone, 0}, {0x00, kNone, 0}},
     0,
     0,
     32767,
     32767},
    {"positive margins count towards the minimum, negative ones do not",
     {{0x13, 0, MAKELONG(4, -6)}, {0x01, 1, 10}, {0xF0, kNone, 0}, {0x00, kNone, 0}},
     8,
     10,
     32767,
     10},
};

TEST(LayoutTable, WindowMinimumAndMaximumComeFromTheRows) {
  for (const auto& c : kSizeCases) {
    Table table(c.rows);
    CLayoutMgr layout(table.rows.data());
    MINMAXINFO mmi{};
    mmi.ptMaxPosition = POINT{11, 12};
    layout.FillMinMaxInfo(nullptr, &mmi);
    EXPECT_EQ(mmi.ptMinTrackSize.x, c.cxMin) << c.what;
    EXPECT_EQ(mmi.ptMinTrackSize.y, c.cyMin) << c.what;
    EXPECT_EQ(mmi.ptMaxTrackSize.x, c.cxMax) << c.what;
    EXPECT_EQ(mmi.ptMaxTrackSize.y, c.cyMax) << c.what;
    EXPECT_EQ(mmi.ptMaxPosition.x, 11) << c.what << ": other members are left alone";
  }
}

// A window laying out real controls; it answers size queries through `answer` and records what
// "WM_WINMGR" brought.
class LayoutOwner : public CWnd {
 public:
  std::function<bool(UINT id, _tagLayoutSizeInfo& info)> answer;
  int queries = 0;

 protected:
  LRESULT OnWinMgr(WPARAM wParam, LPARAM lParam) {
    auto* notify = reinterpret_cast<_tagLayoutNotify*>(lParam);
    if (notify->hdr.code != LAYOUT_NOTIFY_SIZE_QUERY) return 0;
    ++queries;
    return answer && answer(static_cast<UINT>(wParam), notify->sizeInfo) ? 1 : 0;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(LayoutOwner, CWnd)
ON_REGISTERED_MESSAGE(g_uWinMgrMsg, OnWinMgr)
END_MESSAGE_MAP()

class LayoutWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  }
  void SetUp() override {
    ASSERT_TRUE(m_owner.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200,
                                 nullptr, nullptr));
  }
  void TearDown() override {
    m_owner.DestroyWindow();
    pictavo::test::PumpPending();
  }
  HWND AddControl(UINT id, RECT rc, bool visible = true) {
    return CreateWindowEx(0, "Static", "", WS_CHILD | (visible ? WS_VISIBLE : 0), rc.left, rc.top,
                          rc.right - rc.left, rc.bottom - rc.top, m_owner.GetSafeHwnd(),
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
  }
  RECT ControlRect(UINT id) {
    RECT rc{};
    HWND control = ::GetDlgItem(m_owner.GetSafeHwnd(), static_cast<int>(id));
    ::GetWindowRect(control, &rc);
    ::MapWindowPoints(nullptr, m_owner.GetSafeHwnd(), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  }
  void Resize(CLayoutMgr& layout, int cx, int cy) {
    layout.LayoutRoot(RECT{0, 0, cx, cy}, &m_owner);
    ASSERT_TRUE(layout.ApplyLayout(&m_owner));
  }

  LayoutOwner m_owner;
};

TEST_F(LayoutWindowTest, ControlsFollowTheirRowsOnEveryResize) {
  Table table({{0x13, 0, MAKELONG(6, 6)},
               {0x04, 1491, 0},
               {0x01, kNone, -4},
               {0x23, 0, 0},
               {0x03, 1023, 0},
               {0x01, 1024, 4},
               {0x02, 1025, 30},
               {0xF0, kNone, 0},
               {0xF0, kNone, 0},
               {0x00, kNone, 0}});
  AddControl(1491, {10, 10, 130, 31});
  AddControl(1023, {});
  AddControl(1024, {});
  AddControl(1025, {});
  CLayoutMgr layout(table.rows.data());
  layout.CaptureToFitSizes(&m_owner);
  EXPECT_EQ(table.Find(1491)->param, MAKELONG(120, 21));

  struct Size {
    int cx, cy;
    RECT fit, rest, bar, percent;
  };
  const Size sizes[] = {
      {300, 200, {6, 6, 294, 27}, {6, 31, 204, 194}, {204, 31, 208, 194}, {208, 31, 294, 194}},
      {500, 120, {6, 6, 494, 27}, {6, 31, 344, 114}, {344, 31, 348, 114}, {348, 31, 494, 114}},
  };
  for (const auto& s : sizes) {
    Resize(layout, s.cx, s.cy);
    EXPECT_EQ(ControlRect(1491), s.fit) << s.cx;
    EXPECT_EQ(ControlRect(1023), s.rest) << s.cx;
    EXPECT_EQ(ControlRect(1024), s.bar) << s.cx;
    EXPECT_EQ(ControlRect(1025), s.percent) << s.cx;
  }
}

TEST_F(LayoutWindowTest, HiddenFixedRowsCloseTheGapHiddenRestRowsStillTakeTheRest) {
  Table table({{0x13, 0, 0},
               {0x01, 1, 30},
               {0x01, 2, 40},
               {0x03, 3, 0},
               {0x01, 4, 25},
               {0xF0, kNone, 0},
               {0x00, kNone, 0}});
  AddControl(1, {});
  AddControl(2, {}, /*visible*/ false);
  AddControl(3, {}, /*visible*/ false);
  AddControl(4, {});
  CLayoutMgr layout(table.rows.data());
  Resize(layout, 100, 200);
  EXPECT_EQ(ControlRect(1), (RECT{0, 0, 100, 30}));
  EXPECT_EQ(ControlRect(2), (RECT{0, 30, 100, 30}));
  EXPECT_EQ(ControlRect(3), (RECT{0, 30, 100, 175}));
  EXPECT_EQ(ControlRect(4), (RECT{0, 175, 100, 200}));
}

TEST_F(LayoutWindowTest, SpacerRowsNeverMoveAnUnnamedControl) {
  // Unnamed statics of a dialog carry the id -1 too.
  Table table({{0x13, 0, 0}, {0x01, kNone, 10}, {0x03, 7, 0}, {0xF0, kNone, 0}, {0x00, kNone, 0}});
  AddControl(kNone, {50, 60, 70, 80});
  AddControl(7, {});
  CLayoutMgr layout(table.rows.data());
  Resize(layout, 100, 100);
  EXPECT_EQ(ControlRect(kNone), (RECT{50, 60, 70, 80}));
  EXPECT_EQ(ControlRect(7), (RECT{0, 10, 100, 100}));
}

TEST_F(LayoutWindowTest, SizeQueriesGoToTheOwnerThenToTheControl) {
  Table table({{0x13, 0, 0}, {0x04, 5, MAKELONG(40, 10)}, {0x03, 6, 0}, {0xF0, kNone, 0}, {0x00, kNone, 0}});
  AddControl(5, {});
  AddControl(6, {});
  m_owner.answer = [](UINT id, _tagLayoutSizeInfo& info) {
    if (id != 5) return false;
    EXPECT_EQ(info.cxAvailable, 120);  // the parent group's size
    EXPECT_EQ(info.cyAvailable, 90);
    info.cyDesired = 33;
    info.cyMin = 33;
    return true;
  };
  CLayoutMgr layout(table.rows.data());
  Resize(layout, 120, 90);
  EXPECT_EQ(ControlRect(5), (RECT{0, 0, 120, 33}));
  EXPECT_EQ(ControlRect(6), (RECT{0, 33, 120, 90}));
  EXPECT_GT(m_owner.queries, 0);

  _tagLayoutSizeInfo info{1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_FALSE(layout.QueryControlSize(info, &m_owner, 6));  // nobody answers: unchanged
  EXPECT_EQ(info.cxMin, 5);
  EXPECT_EQ(info.cyMax, 8);
}

TEST_F(LayoutWindowTest, AVisibleFramedOwnerAddsItsCaptionAndFrameToTheMinimum) {
  Table table({{0x13, 0, 0}, {0x01, 1, 50}, {0xF0, kNone, 0}, {0x00, kNone, 0}});
  CLayoutMgr layout(table.rows.data());
  MINMAXINFO hidden{}, shown{};
  m_owner.ShowWindow(SW_HIDE);
  m_owner.ModifyStyle(0, WS_CAPTION | WS_THICKFRAME);
  layout.FillMinMaxInfo(&m_owner, &hidden);
  EXPECT_EQ(hidden.ptMinTrackSize.y, 50);
  EXPECT_EQ(hidden.ptMinTrackSize.x, 0);
  m_owner.ShowWindow(SW_SHOWNA);
  layout.FillMinMaxInfo(&m_owner, &shown);
  EXPECT_EQ(shown.ptMinTrackSize.y, 50 + GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME));
  EXPECT_EQ(shown.ptMinTrackSize.x, 2 * GetSystemMetrics(SM_CXFRAME));
  EXPECT_EQ(shown.ptMaxTrackSize.y, 50);
}

TEST_F(LayoutWindowTest, MovingASizerResizesItsNeighbours) {
  Table table({{0x23, 0, 0},
               {0x01, 1, 100},
               {0x01, 1024, 4},
               {0x13, 0, 0},
               {0x03, 2, 0},
               {0xF0, kNone, 0},
               {0xF0, kNone, 0},
               {0x00, kNone, 0}});
  AddControl(1, {});
  AddControl(1024, {});
  AddControl(2, {});
  CLayoutMgr layout(table.rows.data());
  Resize(layout, 300, 80);
  layout.MoveSizer(1024, 30, 9, &m_owner);
  ASSERT_TRUE(layout.ApplyLayout(&m_owner));
  EXPECT_EQ(ControlRect(1), (RECT{0, 0, 130, 80}));
  EXPECT_EQ(ControlRect(1024), (RECT{130, 0, 134, 80}));  // a vertical bar ignores dy
  EXPECT_EQ(ControlRect(2), (RECT{134, 0, 300, 80}));     // the group's children follow
}

}  // namespace
