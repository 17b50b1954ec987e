#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Host.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Controls.h"

namespace {

using namespace testing_comctl;

constexpr RECT kToolA{10, 10, 110, 60};
constexpr RECT kToolB{200, 10, 300, 60};
constexpr RECT kHostRect{100, 100, 500, 400};

class TooltipTest : public ComctlTest {
 protected:
  // A tooltip owned by the host; the host relays its mouse messages as a window of the program
  // does from PreTranslateMessage.
  HWND MakeTip(DWORD style = TTS_ALWAYSTIP) {
    HWND tip = CreateWindowEx(0, TOOLTIPS_CLASS, nullptr, WS_POPUP | style, 0, 0, 0, 0, host.Hwnd(), nullptr,
                              nullptr, nullptr);
    EXPECT_NE(tip, nullptr);
    SendMessage(tip, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(10, 0));
    SendMessage(tip, TTM_SETDELAYTIME, TTDT_RESHOW, MAKELPARAM(10, 0));
    host.onMessage = [this, tip](UINT message, WPARAM wParam, LPARAM lParam, LRESULT*) {
      if (message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN) {
        MSG msg{host.Hwnd(), message, wParam, lParam, 0, {}};
        SendMessage(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
      }
      return false;
    };
    return tip;
  }
  void AddTool(HWND tip, UINT_PTR id, const RECT& rect, LPSTR text, UINT flags = 0) {
    TOOLINFO ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = flags;
    ti.hwnd = host.Hwnd();
    ti.uId = id;
    ti.rect = rect;
    ti.lpszText = text;
    ASSERT_TRUE(SendMessage(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)));
  }
  // Moves the real pointer to a point of the host's client area.
  void MoveTo(POINT client) {
    ClientToScreen(host.Hwnd(), &client);
    SetCursorPos(client.x, client.y);
    PumpPending();
  }
  static std::string TipText(HWND tip) {
    char buffer[128] = {};
    GetWindowText(tip, buffer, sizeof buffer);
    return buffer;
  }

  Host host{kHostRect};
};

TEST_F(TooltipTest, RelayedMovesShowTheTipAfterTheDelay) {
  HWND tip = MakeTip();
  AddTool(tip, 7, kToolA, LPSTR_TEXTCALLBACK);
  std::vector<std::pair<UINT, UINT_PTR>> seen;
  host.onNotify = [&](NMHDR* hdr) -> LRESULT {
    seen.emplace_back(hdr->code, hdr->idFrom);
    EXPECT_EQ(hdr->hwndFrom, tip);
    if (hdr->code == TTN_GETDISPINFO)
      reinterpret_cast<NMTTDISPINFO*>(hdr)->lpszText = const_cast<LPSTR>("Delete the photo");
    return 0;
  };
  EXPECT_EQ(SendMessage(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  MoveTo(POINT{50, 30});
  ASSERT_TRUE(PumpUntil([&] { return host.Count(TTN_SHOW) > 0; }));
  EXPECT_EQ(seen, (std::vector<std::pair<UINT, UINT_PTR>>{{TTN_GETDISPINFO, 7}, {TTN_SHOW, 7}}));
  EXPECT_TRUE(IsWindowVisible(tip));
  EXPECT_EQ(TipText(tip), "Delete the photo");
  EXPECT_EQ(GetParent(tip), host.Hwnd()) << "a top-level pop-up owned by the host";
  RECT r;
  GetWindowRect(tip, &r);
  POINT cursor;
  GetCursorPos(&cursor);
  EXPECT_GT(r.top, cursor.y) << "below the pointer";
  TOOLINFO current{};
  current.cbSize = sizeof current;
  EXPECT_TRUE(SendMessage(tip, TTM_GETCURRENTTOOL, 0, reinterpret_cast<LPARAM>(&current)));
  EXPECT_EQ(current.uId, 7u);

  // Leaving the tool takes the tip away.
  MoveTo(POINT{150, 150});
  EXPECT_FALSE(IsWindowVisible(tip));
  EXPECT_EQ(host.Count(TTN_POP), 1);
}

TEST_F(TooltipTest, AClickHidesTheTipUntilThePointerLeavesTheTool) {
  HWND tip = MakeTip();
  AddTool(tip, 1, kToolA, const_cast<LPSTR>("first"));
  AddTool(tip, 2, kToolB, const_cast<LPSTR>("second"));
  std::vector<UINT_PTR> shown;
  host.onNotify = [&](NMHDR* hdr) -> LRESULT {
    if (hdr->code == TTN_SHOW) shown.push_back(hdr->idFrom);
    return 0;
  };
  MoveTo(POINT{50, 30});
  ASSERT_TRUE(PumpUntil([&] { return !shown.empty(); }));
  SendMessage(host.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 30));
  EXPECT_FALSE(IsWindowVisible(tip));
  MoveTo(POINT{52, 32});  // still over the first tool
  MoveTo(POINT{250, 30});
  ASSERT_TRUE(PumpUntil([&] { return shown.size() > 1; }));
  EXPECT_EQ(shown, (std::vector<UINT_PTR>{1, 2})) << "the first tool stayed quiet";
  EXPECT_EQ(TipText(tip), "second");
}

TEST_F(TooltipTest, SubclassedToolWindowsNeedNoRelay) {
  HWND tip = MakeTip();
  host.onMessage = nullptr;
  HWND button = host.Add(WC_STATIC, SS_NOTIFY, RECT{20, 100, 120, 130}, 5, 0, "button");
  TOOLINFO ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = host.Hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(button);
  ti.lpszText = const_cast<LPSTR>("Play");
  ASSERT_TRUE(SendMessage(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)));
  MoveTo(POINT{60, 115});
  ASSERT_TRUE(PumpUntil([&] { return host.Count(TTN_SHOW) > 0; }));
  EXPECT_EQ(TipText(tip), "Play");
  SendMessage(tip, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&ti));
  EXPECT_FALSE(IsWindowVisible(tip));
  EXPECT_EQ(SendMessage(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
}

TEST_F(TooltipTest, MaxWidthWrapsAndTextUpdatesWhileShown) {
  HWND tip = MakeTip();
  const char* text = "A rather long tip that needs more than one line";
  AddTool(tip, 1, kToolA, const_cast<LPSTR>(text));
  TOOLINFO ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = host.Hwnd();
  ti.uId = 1;
  const LRESULT oneLine = SendMessage(tip, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&ti));
  EXPECT_EQ(SendMessage(tip, TTM_SETMAXTIPWIDTH, 0, 80), -1);
  const LRESULT wrapped = SendMessage(tip, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&ti));
  EXPECT_LT(LOWORD(wrapped), LOWORD(oneLine));
  EXPECT_LE(LOWORD(wrapped), 80 + 10);
  EXPECT_GE(HIWORD(wrapped), 3 * HIWORD(oneLine) / 2);
  MoveTo(POINT{50, 30});
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(tip) != FALSE; }));
  ti.lpszText = const_cast<LPSTR>("Short");
  SendMessage(tip, TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&ti));
  EXPECT_EQ(TipText(tip), "Short");
  char buffer[80] = {};
  ti.lpszText = buffer;
  ASSERT_TRUE(SendMessage(tip, TTM_GETTOOLINFO, 0, reinterpret_cast<LPARAM>(&ti)));
  EXPECT_STREQ(buffer, "Short");
}

TEST_F(TooltipTest, BalloonsHaveAStemTowardsThePointer) {
  HWND tip = MakeTip(TTS_ALWAYSTIP | TTS_BALLOON);
  AddTool(tip, 1, kToolA, const_cast<LPSTR>("Balloon"));
  MoveTo(POINT{50, 30});
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(tip) != FALSE; }));
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(tip, shape), ERROR);
  RECT window;
  GetWindowRect(tip, &window);
  POINT cursor;
  GetCursorPos(&cursor);
  ASSERT_GE(window.top, cursor.y) << "the balloon hangs below the pointer";
  // The stem reaches the top edge near the pointer; the rounded corners are cut away.
  const int stemX = cursor.x - window.left;
  EXPECT_TRUE(PtInRegion(shape, stemX + 1, 3));
  EXPECT_FALSE(PtInRegion(shape, stemX + 8, 3));
  EXPECT_FALSE(PtInRegion(shape, 0, 0));
  EXPECT_FALSE(PtInRegion(shape, window.right - window.left - 1, window.bottom - window.top - 1));
  DeleteObject(shape);
}

TEST_F(TooltipTest, TrackingTipsShowWhereTheyArePut) {
  HWND tip = MakeTip();
  AddTool(tip, 3, RECT{}, const_cast<LPSTR>("Tracking"), TTF_TRACK | TTF_ABSOLUTE);
  TOOLINFO ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = host.Hwnd();
  ti.uId = 3;
  SendMessage(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(300, 200));
  SendMessage(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
  EXPECT_TRUE(IsWindowVisible(tip));
  RECT r;
  GetWindowRect(tip, &r);
  EXPECT_EQ(r.left, 300);
  EXPECT_EQ(r.top, 200);
  SendMessage(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(320, 240));
  GetWindowRect(tip, &r);
  EXPECT_EQ(r.left, 320);
  EXPECT_EQ(r.top, 240);
  MoveTo(POINT{50, 30});  // relayed moves leave a tracking tip alone
  EXPECT_TRUE(IsWindowVisible(tip));
  SendMessage(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
  EXPECT_FALSE(IsWindowVisible(tip));
}

TEST_F(TooltipTest, InactiveTooltipsStayHidden) {
  HWND tip = MakeTip();
  AddTool(tip, 1, kToolA, const_cast<LPSTR>("never"));
  AddTool(tip, 2, kToolB, const_cast<LPSTR>("later"));
  SendMessage(tip, TTM_ACTIVATE, FALSE, 0);
  MoveTo(POINT{50, 30});
  SendMessage(tip, TTM_ACTIVATE, TRUE, 0);
  MoveTo(POINT{250, 30});
  ASSERT_TRUE(PumpUntil([&] { return host.Count(TTN_SHOW) > 0; }));
  EXPECT_EQ(TipText(tip), "later");
  EXPECT_EQ(host.Count(TTN_SHOW), 1);
  SendMessage(tip, TTM_POP, 0, 0);
  EXPECT_FALSE(IsWindowVisible(tip));
  TOOLINFO ti{};
  ti.cbSize = sizeof ti;
  EXPECT_TRUE(SendMessage(tip, TTM_ENUMTOOLS, 1, reinterpret_cast<LPARAM>(&ti)));
  EXPECT_EQ(ti.uId, 2u);
  EXPECT_FALSE(SendMessage(tip, TTM_ENUMTOOLS, 2, reinterpret_cast<LPARAM>(&ti)));
}

}  // namespace
