#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Host.h"
#include "platform/display/InputSynth.h"
#include "platform/gdi/Gdi.h"

namespace {

using namespace testing_comctl;

class SmallControlsTest : public ComctlTest {
 protected:
  Host host;
};

std::string TextOf(HWND hwnd) {
  char buffer[64] = {};
  GetWindowText(hwnd, buffer, sizeof buffer);
  return buffer;
}

// Tabs.

HWND MakeTabs(Host& host, int count) {
  HWND tabs = host.Add(WC_TABCONTROL, 0, RECT{10, 10, 410, 210});
  for (int i = 0; i < count; ++i) {
    std::string text = "Page " + std::to_string(i);
    TCITEM item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = text.data();
    item.lParam = i;
    EXPECT_EQ(SendMessage(tabs, TCM_INSERTITEM, i, reinterpret_cast<LPARAM>(&item)), i);
  }
  host.codes.clear();
  return tabs;
}

POINT TabCentre(HWND tabs, int index) {
  RECT r;
  SendMessage(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST_F(SmallControlsTest, TabClicksChangeTheSelectionUnlessRefused) {
  HWND tabs = MakeTabs(host, 3);
  EXPECT_EQ(SendMessage(tabs, TCM_GETCURSEL, 0, 0), 0) << "the first tab starts selected";
  bool refuse = false;
  int seenDuringChanging = -2;
  host.onNotify = [&](NMHDR* hdr) -> LRESULT {
    if (hdr->code == TCN_SELCHANGING) {
      seenDuringChanging = static_cast<int>(SendMessage(tabs, TCM_GETCURSEL, 0, 0));
      return refuse;
    }
    return 0;
  };
  Click(tabs, TabCentre(tabs, 2));
  EXPECT_EQ(SendMessage(tabs, TCM_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(seenDuringChanging, 0) << "the parent sees the old selection while asked";
  EXPECT_EQ(host.Only({TCN_SELCHANGING, TCN_SELCHANGE}), (std::vector<UINT>{TCN_SELCHANGING, TCN_SELCHANGE}));
  refuse = true;
  host.codes.clear();
  Click(tabs, TabCentre(tabs, 1));
  EXPECT_EQ(SendMessage(tabs, TCM_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(host.Only({TCN_SELCHANGING, TCN_SELCHANGE}), (std::vector<UINT>{TCN_SELCHANGING}));
  // TCM_SETCURSEL tells no one.
  host.codes.clear();
  EXPECT_EQ(SendMessage(tabs, TCM_SETCURSEL, 0, 0), 2);
  EXPECT_TRUE(host.codes.empty());
  EXPECT_EQ(SendMessage(tabs, TCM_SETCURSEL, 9, 0), -1);
}

TEST_F(SmallControlsTest, TabKeysAndGeometry) {
  HWND tabs = MakeTabs(host, 3);
  SetFocus(tabs);
  const struct {
    UINT key;
    UINT modifiers;
    int selected;
  } steps[] = {{VK_RIGHT, 0, 1},
               {VK_RIGHT, 0, 2},
               {VK_RIGHT, 0, 2},
               {VK_TAB, MOD_CONTROL, 0},
               {VK_TAB, MOD_CONTROL | MOD_SHIFT, 2},
               {VK_LEFT, 0, 1},
               {VK_HOME, 0, 0}};
  for (const auto& step : steps) {
    Press(step.key, step.modifiers);
    EXPECT_EQ(SendMessage(tabs, TCM_GETCURSEL, 0, 0), step.selected) << step.key;
  }
  TCHITTESTINFO hit{};
  hit.pt = TabCentre(tabs, 1);
  EXPECT_EQ(SendMessage(tabs, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
  EXPECT_EQ(hit.flags, static_cast<UINT>(TCHT_ONITEMLABEL));
  // ADJUSTRECT there and back gives the window rectangle again.
  RECT window{0, 0, 400, 200};
  RECT display = window;
  SendMessage(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  RECT tab;
  SendMessage(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
  EXPECT_GT(display.top, tab.bottom);
  SendMessage(tabs, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&display));
  EXPECT_EQ(display, window);
  SendMessage(tabs, TCM_SETITEMSIZE, 0, MAKELPARAM(0, 30));
  SendMessage(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
  EXPECT_EQ(tab.bottom - tab.top, 30);
  ASSERT_TRUE(SendMessage(tabs, TCM_DELETEITEM, 0, 0));
  EXPECT_EQ(SendMessage(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
  TCITEM item{};
  item.mask = TCIF_PARAM;
  SendMessage(tabs, TCM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.lParam, 1);
}

// Up-down.

TEST_F(SmallControlsTest, SpinStepsWithinItsRangeAndWritesTheBuddy) {
  HWND edit = host.Add(WC_EDIT, WS_BORDER, RECT{10, 10, 110, 32}, 10);
  HWND spin = host.Add(UPDOWN_CLASS, UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS,
                       RECT{0, 0, 16, 22}, 11);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessage(spin, UDM_GETBUDDY, 0, 0)), edit);
  RECT er;
  RECT sr;
  GetWindowRect(edit, &er);
  GetWindowRect(spin, &sr);
  EXPECT_EQ(sr.left, er.right) << "aligned to the right of the narrowed buddy";
  EXPECT_EQ(er.right - er.left, 84);

  SendMessage(spin, UDM_SETRANGE32, 0, 5);
  SendMessage(spin, UDM_SETPOS32, 0, 4);
  EXPECT_EQ(TextOf(edit), "4");
  std::vector<std::pair<int, int>> deltas;
  host.onNotify = [&](NMHDR* hdr) -> LRESULT {
    if (hdr->code == UDN_DELTAPOS) {
      auto* nm = reinterpret_cast<NMUPDOWN*>(hdr);
      deltas.emplace_back(nm->iPos, nm->iDelta);
    }
    return 0;
  };
  // The top half steps up, the bottom half down.
  Click(spin, POINT{8, 3});
  Click(spin, POINT{8, 3});
  EXPECT_EQ(SendMessage(spin, UDM_GETPOS32, 0, 0), 5) << "clamped at the top";
  EXPECT_EQ(TextOf(edit), "5");
  Click(spin, POINT{8, 19});
  EXPECT_EQ(TextOf(edit), "4");
  EXPECT_EQ(deltas, (std::vector<std::pair<int, int>>{{4, 1}, {5, 1}, {5, -1}}));
  // Each step is reported with SB_THUMBPOSITION, each release with SB_ENDSCROLL.
  std::vector<WORD> codes;
  for (auto& [message, wParam] : host.scrolls) {
    EXPECT_EQ(message, static_cast<UINT>(WM_VSCROLL));
    codes.push_back(LOWORD(wParam));
  }
  EXPECT_EQ(codes, (std::vector<WORD>{SB_THUMBPOSITION, SB_ENDSCROLL, SB_ENDSCROLL, SB_THUMBPOSITION,
                                      SB_ENDSCROLL}));
  EXPECT_EQ(HIWORD(host.scrolls.front().second), 5);

  // What the user typed counts at the next step.
  SetWindowText(edit, "2");
  Click(spin, POINT{8, 3});
  EXPECT_EQ(TextOf(edit), "3");
  // The arrow keys in the buddy step too.
  SetFocus(edit);
  Press(VK_DOWN);
  EXPECT_EQ(TextOf(edit), "2");
  SetWindowText(edit, "junk");
  BOOL error = FALSE;
  SendMessage(spin, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error));
  EXPECT_TRUE(error);
  EXPECT_NE(HIWORD(SendMessage(spin, UDM_GETPOS, 0, 0)), 0);
}

TEST_F(SmallControlsTest, SpinDeltaPosVetoWrapBaseAndThousands) {
  HWND edit = host.Add(WC_EDIT, WS_BORDER, RECT{10, 10, 110, 32}, 10);
  HWND spin = host.Add(UPDOWN_CLASS, UDS_SETBUDDYINT | UDS_WRAP, RECT{110, 10, 126, 32}, 11);
  SendMessage(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
  SendMessage(spin, UDM_SETRANGE, 0, MAKELPARAM(3, 0));  // upper 3, lower 0
  EXPECT_EQ(SendMessage(spin, UDM_GETRANGE, 0, 0), MAKELONG(3, 0));
  SendMessage(spin, UDM_SETPOS, 0, MAKELPARAM(3, 0));
  Click(spin, POINT{8, 3});
  EXPECT_EQ(SendMessage(spin, UDM_GETPOS32, 0, 0), 0) << "wraps past the top";
  bool refuse = true;
  host.onNotify = [&](NMHDR* hdr) -> LRESULT { return hdr->code == UDN_DELTAPOS && refuse; };
  Click(spin, POINT{8, 3});
  EXPECT_EQ(SendMessage(spin, UDM_GETPOS32, 0, 0), 0) << "UDN_DELTAPOS refused the step";
  refuse = false;
  struct Case {
    int base;
    bool thousands;
    int value;
    const char* text;
  };
  const Case cases[] = {{10, true, 12345, "12,345"},
                        {10, false, 12345, "12345"},
                        {16, false, 255, "0x00FF"},
                        {10, true, -1234567, "-1,234,567"}};
  SendMessage(spin, UDM_SETRANGE32, static_cast<WPARAM>(-2000000), 2000000);
  for (const Case& c : cases) {
    const LONG style = GetWindowLong(spin, GWL_STYLE);
    SetWindowLong(spin, GWL_STYLE, c.thousands ? (style & ~UDS_NOTHOUSANDS) : (style | UDS_NOTHOUSANDS));
    SendMessage(spin, UDM_SETBASE, c.base, 0);
    SendMessage(spin, UDM_SETPOS32, 0, c.value);
    EXPECT_EQ(TextOf(edit), c.text);
    EXPECT_EQ(SendMessage(spin, UDM_GETPOS32, 0, 0), c.value) << "reads its own text back";
  }
}

TEST_F(SmallControlsTest, SpinRepeatsWhileHeld) {
  HWND spin = host.Add(UPDOWN_CLASS, 0, RECT{10, 10, 26, 32}, 11);
  SendMessage(spin, UDM_SETRANGE32, 0, 100);
  SendMessage(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 3));
  POINT inside{8, 3};
  ClientToScreen(spin, &inside);
  SetCursorPos(inside.x, inside.y);
  ASSERT_TRUE(PumpUntil([&] { return SendMessage(spin, UDM_GETPOS32, 0, 0) >= 3; }));
  SendMessage(spin, WM_LBUTTONUP, 0, MAKELPARAM(8, 3));
  const LRESULT stopped = SendMessage(spin, UDM_GETPOS32, 0, 0);
  PumpPending();
  EXPECT_EQ(SendMessage(spin, UDM_GETPOS32, 0, 0), stopped) << "released: no more steps";
}

// Trackbar.

TEST_F(SmallControlsTest, TrackbarKeysStepAndClampToTheRange) {
  HWND slider = host.Add(TRACKBAR_CLASS, TBS_AUTOTICKS, RECT{10, 10, 310, 50}, 7);
  SendMessage(slider, TBM_SETRANGE, TRUE, MAKELPARAM(10, 60));
  SendMessage(slider, TBM_SETPAGESIZE, 0, 20);
  SendMessage(slider, TBM_SETLINESIZE, 0, 5);
  SendMessage(slider, TBM_SETPOS, TRUE, 0);
  EXPECT_EQ(SendMessage(slider, TBM_GETPOS, 0, 0), 10) << "clamped to the minimum";
  SetFocus(slider);
  struct Case {
    UINT key;
    int pos;
    WORD code;
  };
  const Case cases[] = {{VK_RIGHT, 15, TB_LINEDOWN}, {VK_NEXT, 35, TB_PAGEDOWN}, {VK_NEXT, 55, TB_PAGEDOWN},
                        {VK_NEXT, 60, TB_PAGEDOWN},  {VK_LEFT, 55, TB_LINEUP},   {VK_HOME, 10, TB_TOP},
                        {VK_UP, 10, TB_LINEUP},      {VK_END, 60, TB_BOTTOM}};
  for (const Case& c : cases) {
    host.scrolls.clear();
    Press(c.key);
    EXPECT_EQ(SendMessage(slider, TBM_GETPOS, 0, 0), c.pos) << c.key;
    ASSERT_EQ(host.scrolls.size(), 2u) << c.key;
    EXPECT_EQ(host.scrolls[0].first, static_cast<UINT>(WM_HSCROLL));
    EXPECT_EQ(LOWORD(host.scrolls[0].second), c.code);
    EXPECT_EQ(LOWORD(host.scrolls[1].second), TB_ENDTRACK) << "the key's release ends it";
  }
  SendMessage(slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, 40));
  EXPECT_EQ(SendMessage(slider, TBM_GETPOS, 0, 0), 40) << "a narrower range pulls the position in";
  SendMessage(slider, TBM_SETTICFREQ, 10, 0);
  EXPECT_EQ(SendMessage(slider, TBM_GETNUMTICS, 0, 0), 5);
}

TEST_F(SmallControlsTest, TrackbarThumbDragAndChannelPaging) {
  HWND slider = host.Add(TRACKBAR_CLASS, TBS_VERT | TBS_BOTH, RECT{10, 10, 50, 310}, 7);
  SendMessage(slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
  RECT thumb;
  SendMessage(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  RECT channel;
  SendMessage(slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  EXPECT_LT(channel.right - channel.left, channel.bottom - channel.top) << "a vertical channel";
  const POINT grab{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
  SendMessage(slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
  SendMessage(slider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grab.x, channel.bottom + 50));
  EXPECT_EQ(SendMessage(slider, TBM_GETPOS, 0, 0), 100);
  SendMessage(slider, WM_LBUTTONUP, 0, MAKELPARAM(grab.x, channel.bottom + 50));
  std::vector<WORD> codes;
  for (auto& [message, wParam] : host.scrolls) {
    EXPECT_EQ(message, static_cast<UINT>(WM_VSCROLL));
    codes.push_back(LOWORD(wParam));
  }
  EXPECT_EQ(codes, (std::vector<WORD>{TB_THUMBTRACK, TB_THUMBPOSITION, TB_ENDTRACK}));
  EXPECT_EQ(HIWORD(host.scrolls[1].second), 100);
  // A click on the channel above the thumb pages up.
  host.scrolls.clear();
  Click(slider, POINT{grab.x, channel.top + 5});
  EXPECT_EQ(SendMessage(slider, TBM_GETPOS, 0, 0), 80);
  EXPECT_EQ(LOWORD(host.scrolls.front().second), TB_PAGEUP);
}

// Progress bar.

TEST_F(SmallControlsTest, ProgressStepsAndClamps) {
  HWND bar = host.Add(PROGRESS_CLASS, PBS_SMOOTH, RECT{10, 10, 210, 30});
  EXPECT_EQ(SendMessage(bar, PBM_SETRANGE32, 0, 100), MAKELONG(0, 100));
  EXPECT_EQ(SendMessage(bar, PBM_SETSTEP, 30, 0), 10);
  struct Case {
    UINT message;
    WPARAM wParam;
    int before;
    int after;
  };
  const Case cases[] = {
      {PBM_STEPIT, 0, 0, 30},     {PBM_STEPIT, 0, 30, 60},
      {PBM_STEPIT, 0, 60, 90},    {PBM_STEPIT, 0, 90, 20},  // past the end it starts over
      {PBM_SETPOS, 150, 20, 100}, {PBM_DELTAPOS, static_cast<WPARAM>(-30), 100, 70},
      {PBM_SETPOS, 0, 70, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SendMessage(bar, c.message, c.wParam, 0), c.before);
    EXPECT_EQ(SendMessage(bar, PBM_GETPOS, 0, 0), c.after);
  }
  SendMessage(bar, PBM_SETPOS, 50, 0);
  SendMessage(bar, PBM_SETBARCOLOR, 0, RGB(0, 180, 0));
  UpdateWindow(bar);
  PBRANGE range{};
  EXPECT_EQ(SendMessage(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range)), 0);
  EXPECT_EQ(range.iHigh, 100);
  // Half of the inside is the bar's colour.
  EXPECT_EQ(Pixel(host.Hwnd(), 10 + 50, 20), RGB(0, 180, 0));
  EXPECT_EQ(Pixel(host.Hwnd(), 10 + 150, 20), GetSysColor(COLOR_BTNFACE));
}

// Header.

TEST_F(SmallControlsTest, HeaderItemsClickAndDividerTracking) {
  HWND header = host.Add(WC_HEADER, HDS_BUTTONS | HDS_HORZ, RECT{0, 0, 400, 24}, 3);
  for (int i = 0; i < 3; ++i) {
    std::string text = "Column " + std::to_string(i);
    HDITEM item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.pszText = text.data();
    item.cxy = 100;
    item.fmt = HDF_LEFT | HDF_STRING;
    ASSERT_EQ(SendMessage(header, HDM_INSERTITEM, i, reinterpret_cast<LPARAM>(&item)), i);
  }
  struct Case {
    POINT pt;
    int item;
    UINT flags;
  };
  const Case cases[] = {{{50, 10}, 0, HHT_ONHEADER},
                        {{101, 10}, 0, HHT_ONDIVIDER},
                        {{250, 10}, 2, HHT_ONHEADER},
                        {{350, 10}, -1, HHT_NOWHERE}};
  for (const Case& c : cases) {
    HDHITTESTINFO info{};
    info.pt = c.pt;
    EXPECT_EQ(SendMessage(header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), c.item) << c.pt.x;
    EXPECT_EQ(info.flags, c.flags) << c.pt.x;
  }
  std::vector<int> tracked;
  host.onNotify = [&](NMHDR* hdr) -> LRESULT {
    auto* nm = reinterpret_cast<NMHEADER*>(hdr);
    if (hdr->code == HDN_TRACK) {
      tracked.push_back(nm->pitem->cxy);
      nm->pitem->cxy = std::min(nm->pitem->cxy, 150);  // the parent may limit the width
    }
    return 0;
  };
  SendMessage(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 10));
  SendMessage(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(130, 10));
  SendMessage(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(190, 10));
  SendMessage(header, WM_LBUTTONUP, 0, MAKELPARAM(190, 10));
  EXPECT_EQ(tracked, (std::vector<int>{130, 190}));
  HDITEM item{};
  item.mask = HDI_WIDTH;
  SendMessage(header, HDM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.cxy, 150);
  EXPECT_EQ(host.Only({HDN_BEGINTRACK, HDN_ENDTRACK, HDN_ITEMCHANGING, HDN_ITEMCHANGED}),
            (std::vector<UINT>{HDN_BEGINTRACK, HDN_ENDTRACK, HDN_ITEMCHANGING, HDN_ITEMCHANGED}));
  host.codes.clear();
  Click(header, POINT{200, 10});
  EXPECT_EQ(host.Only({HDN_ITEMCLICK}), (std::vector<UINT>{HDN_ITEMCLICK}));
  RECT r;
  SendMessage(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.left, 150);
  RECT parent{0, 0, 400, 300};
  WINDOWPOS pos{};
  HDLAYOUT layout{&parent, &pos};
  ASSERT_TRUE(SendMessage(header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout)));
  EXPECT_GT(pos.cy, 10);
  EXPECT_EQ(parent.top, pos.cy);
}

// Status bar.

TEST_F(SmallControlsTest, StatusBarPanesFollowTheParent) {
  HWND status = host.Add(STATUSCLASSNAME, SBARS_SIZEGRIP, RECT{0, 0, 0, 0}, 9);
  RECT client;
  GetClientRect(host.Hwnd(), &client);
  RECT bar;
  GetWindowRect(status, &bar);
  MapWindowPoints(nullptr, host.Hwnd(), reinterpret_cast<POINT*>(&bar), 2);
  EXPECT_EQ(bar.bottom, client.bottom) << "placed along the bottom";
  EXPECT_EQ(bar.right - bar.left, client.right);
  const int edges[] = {100, 250, -1};
  ASSERT_TRUE(SendMessage(status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges)));
  EXPECT_EQ(SendMessage(status, SB_GETPARTS, 0, 0), 3);
  SendMessage(status, SB_SETTEXT, 1 | SBT_NOBORDERS, reinterpret_cast<LPARAM>("Ready"));
  char text[32] = {};
  const LRESULT got = SendMessage(status, SB_GETTEXT, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Ready");
  EXPECT_EQ(LOWORD(got), 5);
  EXPECT_EQ(HIWORD(got), SBT_NOBORDERS);
  RECT pane;
  ASSERT_TRUE(SendMessage(status, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&pane)));
  EXPECT_GT(pane.left, 100);
  EXPECT_EQ(pane.right, 250);
  ASSERT_TRUE(SendMessage(status, SB_GETRECT, 2, reinterpret_cast<LPARAM>(&pane)));
  EXPECT_LT(pane.right, bar.right - bar.left) << "the grip keeps its corner";
  // The parent grows: WM_SIZE handed on moves the bar.
  SetWindowPos(host.Hwnd(), nullptr, 0, 0, 700, 600, SWP_NOMOVE | SWP_NOZORDER);
  SendMessage(status, WM_SIZE, 0, 0);
  GetClientRect(host.Hwnd(), &client);
  GetWindowRect(status, &bar);
  MapWindowPoints(nullptr, host.Hwnd(), reinterpret_cast<POINT*>(&bar), 2);
  EXPECT_EQ(bar.bottom, client.bottom);
  SendMessage(status, SB_SIMPLE, TRUE, 0);
  EXPECT_TRUE(SendMessage(status, SB_ISSIMPLE, 0, 0));
  EXPECT_EQ(host.Count(SBN_SIMPLEMODECHANGE), 1);
  SendMessage(status, SB_SETTEXT, SB_SIMPLEID, reinterpret_cast<LPARAM>("Busy"));
  SendMessage(status, SB_GETTEXT, SB_SIMPLEID, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Busy");
}

}  // namespace
