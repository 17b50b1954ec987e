// Dropped files reach the window that accepts them, with the names and the point in its
// client coordinates.
#include <string>
#include <vector>

#include "platform/shellapi/Shell.h"
#include "platform/user/User.h"
#include "tests/platform/shellapi/ShellFixture.h"

namespace {

struct Drop {
  HWND window = nullptr;
  std::vector<std::string> names;
  POINT point{};
  BOOL inClient = FALSE;
};
std::vector<Drop> g_drops;

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DROPFILES) {
    HDROP hdrop = reinterpret_cast<HDROP>(wParam);
    Drop drop;
    drop.window = hwnd;
    const UINT count = DragQueryFile(hdrop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      std::string name(DragQueryFile(hdrop, i, nullptr, 0), '\0');
      EXPECT_EQ(DragQueryFile(hdrop, i, name.data(), static_cast<UINT>(name.size()) + 1), name.size());
      drop.names.push_back(name);
    }
    drop.inClient = DragQueryPoint(hdrop, &drop.point);
    DragFinish(hdrop);
    g_drops.push_back(drop);
    return 0;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

class Dropping : public ::testing::Test {
 protected:
  void SetUp() override {
    g_drops.clear();
    WNDCLASS wc{};
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = "DropTestWindow";
    RegisterClass(&wc);
    m_top = CreateWindowEx(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 100, 50, 400, 300, nullptr,
                           nullptr, nullptr, nullptr);
    m_child = CreateWindowEx(0, wc.lpszClassName, "", WS_CHILD | WS_VISIBLE, 10, 20, 100, 80, m_top, nullptr,
                             nullptr, nullptr);
  }
  void TearDown() override { DestroyWindow(m_top); }

  // Dispatches what is queued for this thread.
  static void Pump() {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  }

  HWND m_top = nullptr;
  HWND m_child = nullptr;
};

TEST_F(Dropping, TheAcceptingWindowGetsNamesAndPoint) {
  const std::vector<std::string> paths = {"/home/u/Pictures/beach 1.jpg", "/home/u/Grüße/\"quoted\".png"};
  EXPECT_FALSE(pictavo::shell::DropFiles(m_top, POINT{150, 100}, paths)) << "nobody accepts files yet";

  DragAcceptFiles(m_top, TRUE);
  EXPECT_TRUE(GetWindowLong(m_top, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  // Over the child, which does not accept files: its parent gets them, in its own coordinates.
  ASSERT_TRUE(pictavo::shell::DropFiles(m_top, POINT{100 + 30, 50 + 40}, paths));
  Pump();
  ASSERT_EQ(g_drops.size(), 1u);
  EXPECT_EQ(g_drops[0].window, m_top);
  EXPECT_EQ(g_drops[0].names, paths);
  EXPECT_EQ(g_drops[0].point.x, 30);
  EXPECT_EQ(g_drops[0].point.y, 40);
  EXPECT_TRUE(g_drops[0].inClient);

  // Once the child accepts files it gets them itself; a null window means the one at the point.
  DragAcceptFiles(m_child, TRUE);
  ASSERT_TRUE(pictavo::shell::DropFiles(nullptr, POINT{100 + 15, 50 + 25}, {"/a.jpg"}));
  Pump();
  ASSERT_EQ(g_drops.size(), 2u);
  EXPECT_EQ(g_drops[1].window, m_child);
  EXPECT_EQ(g_drops[1].point.x, 5);
  EXPECT_EQ(g_drops[1].point.y, 5);

  DragAcceptFiles(m_top, FALSE);
  DragAcceptFiles(m_child, FALSE);
  EXPECT_FALSE(GetWindowLong(m_top, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  EXPECT_FALSE(pictavo::shell::DropFiles(m_top, POINT{150, 100}, paths));
  EXPECT_FALSE(pictavo::shell::DropFiles(m_top, POINT{150, 100}, {})) << "nothing to drop";
}

TEST(DropQueries, CountsLengthsAndCutNames) {
  HDROP drop = pictavo::shell::MakeDrop(POINT{-3, 7}, TRUE, {"/one", "/two/three"});
  ASSERT_NE(drop, nullptr);
  EXPECT_EQ(DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0), 2u);
  EXPECT_EQ(DragQueryFile(drop, 1, nullptr, 0), 10u);
  char cut[5];
  EXPECT_EQ(DragQueryFile(drop, 1, cut, sizeof cut), 4u);
  EXPECT_STREQ(cut, "/two");
  EXPECT_EQ(DragQueryFile(drop, 2, cut, sizeof cut), 0u) << "no third file";
  POINT point{};
  EXPECT_FALSE(DragQueryPoint(drop, &point)) << "outside the client area";
  EXPECT_EQ(point.x, -3);
  EXPECT_EQ(point.y, 7);
  DragFinish(drop);
}

}  // namespace
