// The main window's status bar and its output-format selector, driven as a user's mouse and
// keyboard drive them on the headless display.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/DropListButton.h"
#include "controls/StatusBarPanes.h"
#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Display.h"
#include "platform/user/Input.h"
#include "platform/user/User.h"
#include "shell/SkinMain.h"
#include "shell/UIHelpers.h"
#include "tests/support/MessagePump.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"

namespace {

constexpr UINT kSelectorPane = 30901;
const UINT kIndicators[] = {30900, 30901, 31001, 31002, 31003};
constexpr int kHostWidth = 900, kHostHeight = 420;
constexpr int kBarHeight = 25;
const char* const kFormats[] = {"DVD Video Disc",
                                "VCD 2.0 Video Disc",
                                "SVCD Video Disc",
                                "Blu-ray Disc",
                                "Web Album",
                                "MP4 (H.264/AAC)",
                                "AVI (MPEG-4)",
                                "WMV",
                                "MOV (QuickTime)",
                                "FLV",
                                "3GP (mobile)",
                                "MPEG-2",
                                "WebM",
                                "iPod video",
                                "PSP video",
                                "Xbox video",
                                "YouTube HD",
                                "YouTube SD",
                                "DivX",
                                "Animated GIF"};

class StatusBarSelectorTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    // The bar and its neighbours take the shipped skin's colours.
    const char* source = std::getenv("PICTAVO_SOURCE_DIR");
    g_skinMain.Load((std::string(source ? source : ".") + "/data").c_str(), "zel_en.xml", FALSE);
  }

  void SetUp() override {
    pictavo::user::InjectMouseMove(POINT{kHostWidth + 50, kHostHeight + 50});  // away from the host
    WNDCLASS wc{};
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = "StatusBarHost";
    wc.hbrBackground = CreateSolidBrush(RGB(243, 227, 214));
    if (!GetClassInfo(nullptr, wc.lpszClassName, &wc)) RegisterClass(&wc);
    m_host = CreateWindowEx(0, wc.lpszClassName, "Status bar", WS_POPUP | WS_VISIBLE, 0, 0, kHostWidth,
                            kHostHeight, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(m_host, nullptr);
    CWnd* host = CWnd::FromHandle(m_host);
    // As the main dialog builds its bar.
    ASSERT_TRUE(m_bar.Create(host, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR));
    m_bar.SetIndicators(kIndicators, 5);
    m_bar.SetPaneInfo(0, 30900, SBPS_NOBORDERS, 130);
    m_bar.SetPaneInfo(1, 30901, SBPS_NOBORDERS, 208);
    m_bar.SetPaneInfo(2, 31001, SBPS_STRETCH | SBPS_NOBORDERS, 0);
    m_bar.SetPaneInfo(3, 31002, SBPS_NORMAL, 280);
    m_bar.SetPaneInfo(4, 31003, SBPS_NORMAL, 160);
    m_bar.SetPaneText(0, "Output Format:");
    m_bar.SetPaneText(3, "Total : 3 Albums, 42 Photos");
    m_bar.MoveWindow(0, kHostHeight - kBarHeight, kHostWidth, kBarHeight);
    ASSERT_TRUE(m_selector.Create("", CRect(0, 0, 0, 0), &m_bar, kSelectorPane, 0xDBE6D6, 0x00FFFF, 0xFF0000,
                                  0x0000FF, nullptr, 0xFFFFFF, 0x000000));
    m_selector.m_nPopupHeightLimit = 258;
    m_selector.m_nPopupWidth = 220;
    m_selector.m_bCaptionFollowsPick = TRUE;
    ASSERT_TRUE(m_bar.AddPaneControl(&m_selector, kSelectorPane, TRUE));
    m_bar.SendMessage(SB_SETBKCOLOR, 0, static_cast<LPARAM>(GetSkinColor(SKIN_COLOR_MAIN_DLG)));
    Fill(5);
    m_selector.SetWindowText(kFormats[0]);
    Pump();
  }

  void TearDown() override {
    m_selector.DestroyWindow();
    m_bar.DestroyWindow();
    DestroyWindow(m_host);
    Pump();
  }

  void Fill(int count) {
    CDropListBox* list = m_selector.GetListBox();
    list->ResetContent();
    for (int i = 0; i < count; ++i) list->AddItem(kFormats[i]);
  }

  // Dispatches what is queued; picks announced to the bar are kept.
  void Pump() {
    MSG msg;
    for (int round = 0; round < 3; ++round) {
      while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_OUTPUT_FORMAT_SELECTED && msg.hwnd == m_bar.GetSafeHwnd())
          m_picks.push_back(msg);
        else
          DispatchMessage(&msg);
      }
    }
  }

  POINT ScreenOf(const CWnd& wnd, POINT p) const {
    ::ClientToScreen(wnd.GetSafeHwnd(), &p);
    return p;
  }
  void MoveTo(POINT screen) {
    pictavo::user::InjectMouseMove(screen);
    Pump();
  }
  void ClickAt(POINT screen) {
    MoveTo(screen);
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
    Pump();
  }
  POINT ButtonCentre() const {
    CRect client;
    m_selector.GetClientRect(&client);
    return ScreenOf(m_selector, client.CenterPoint());
  }
  POINT RowCentre(int row) const {
    CDropListBox* list = m_selector.GetListBox();
    CRect item;
    list->GetItemRect(row, &item);
    return ScreenOf(*list, item.CenterPoint());
  }
  bool PopupShown() const { return m_selector.GetPopup()->IsWindowVisible() != FALSE; }
  CString Caption() const {
    CString text;
    m_selector.GetWindowText(text);
    return text;
  }

  HWND m_host = nullptr;
  MPCStatusBar m_bar;
  CDropListButton m_selector;
  std::vector<MSG> m_picks;
};

}  // namespace

TEST_F(StatusBarSelectorTest, APaneHostsOneControlAndOnlyPanesOfTheBar) {
  EXPECT_FALSE(m_bar.AddPaneControl(&m_selector, kSelectorPane, TRUE));  // SetUp added it already
  EXPECT_FALSE(m_bar.AddPaneControl(&m_selector, 4242, TRUE));
  EXPECT_EQ(m_bar.FindPaneControl(4242), nullptr);
  ASSERT_NE(m_bar.FindPaneControl(kSelectorPane), nullptr);
  EXPECT_EQ(m_bar.FindPaneControl(kSelectorPane)->m_hWnd, &m_selector);
}

TEST_F(StatusBarSelectorTest, TheHostedControlFollowsItsPaneWhenTheBarIsResized) {
  for (const int width : {900, 640, 1200}) {
    m_bar.MoveWindow(0, 0, width, kBarHeight);
    Pump();
    int h = 0, v = 0, s = 0;
    m_bar.GetBorders(h, v, s);
    CRect pane;
    m_bar.GetItemRect(m_bar.CommandToIndex(kSelectorPane), &pane);
    pane.DeflateRect(h + s, v);
    CRect placed;
    m_selector.GetWindowRect(&placed);
    m_bar.ScreenToClient(&placed);
    EXPECT_EQ(placed, pane) << width;
    EXPECT_GT(placed.Width(), 150) << width;
  }
}

TEST_F(StatusBarSelectorTest, ThePopupOpensAboveTheButtonSizedToItsRows) {
  struct Case {
    int items;
    int height;  // of the list's rows
  };
  const Case kCases[] = {{5, 80}, {20, 258}, {0, 258}};
  for (const Case& c : kCases) {
    Fill(c.items);
    m_selector.OpenPopup();
    Pump();
    CRect button;
    m_selector.GetWindowRect(&button);
    CRect popup;
    m_selector.GetPopup()->GetWindowRect(&popup);
    EXPECT_EQ(popup.left, button.left) << c.items;
    EXPECT_EQ(popup.Width(), 220) << c.items;
    EXPECT_EQ(popup.top, button.top - c.height - 1) << c.items;
    EXPECT_EQ(popup.bottom, button.top) << c.items;  // its last row of pixels right above the button
    m_selector.GetPopup()->ShowWindow(SW_HIDE);
    Pump();
  }
}

TEST_F(StatusBarSelectorTest, PickingARowSetsTheCaptionAndTellsTheBar) {
  ClickAt(ButtonCentre());
  ASSERT_TRUE(PopupShown());
  ClickAt(RowCentre(3));
  EXPECT_FALSE(PopupShown());
  EXPECT_EQ(Caption(), kFormats[3]);
  ASSERT_EQ(m_picks.size(), 1u);
  EXPECT_EQ(m_picks[0].wParam, kSelectorPane);
  EXPECT_EQ(m_picks[0].lParam, 3);
  EXPECT_EQ(m_selector.GetListBox()->GetCurSelIndex(), 3);

  // Refilled, the list forgets the pick: a closing without a pick returns to the first row.
  Fill(5);
  EXPECT_EQ(m_selector.GetListBox()->GetCurSelIndex(), 0);
}

TEST_F(StatusBarSelectorTest, ArrowKeysWithThePointerElsewhereCloseWithoutAPick) {
  ClickAt(ButtonCentre());
  ASSERT_TRUE(PopupShown());
  MoveTo(POINT{5, 5});  // over the host, outside button and popup: the button keeps no capture
  if (!PopupShown()) {
    // Moving away closed it (the pointer left both); open it again without moving.
    m_selector.OpenPopup();
    m_selector.GetListBox()->SetFocus();
    Pump();
  }
  ASSERT_TRUE(PopupShown());
  pictavo::user::InjectKey({VK_DOWN, true});
  pictavo::user::InjectKey({VK_DOWN, false});
  Pump();
  EXPECT_FALSE(PopupShown());
  EXPECT_TRUE(m_picks.empty());
  EXPECT_EQ(m_selector.GetListBox()->GetCurSel(), 0);
  EXPECT_EQ(Caption(), kFormats[0]);
}

TEST_F(StatusBarSelectorTest, ClicksOpenCloseAndReopenTheList) {
  ClickAt(ButtonCentre());
  EXPECT_TRUE(PopupShown());
  ClickAt(ButtonCentre());  // the click on the button closes it
  EXPECT_FALSE(PopupShown());
  ClickAt(ButtonCentre());  // and the next opens it again
  EXPECT_TRUE(PopupShown());

  // Closed by a click elsewhere: the first click on the button only clears the state.
  ClickAt(POINT{300, 100});
  EXPECT_FALSE(PopupShown());
  ClickAt(ButtonCentre());
  EXPECT_FALSE(PopupShown());
  ClickAt(ButtonCentre());
  EXPECT_TRUE(PopupShown());
  EXPECT_TRUE(m_picks.empty());
}

TEST_F(StatusBarSelectorTest, SnapshotOfTheBarWithItsOpenSelector) {
  Fill(12);
  ClickAt(ButtonCentre());
  ASSERT_TRUE(PopupShown());
  MoveTo(RowCentre(2));
  CRect popup;
  m_selector.GetPopup()->GetWindowRect(&popup);
  const RECT area{0, popup.top - 20, kHostWidth, kHostHeight};
  const std::string path = pictavo::test::SaveDesktopArea(area, "statusbar-selector.png");
  ASSERT_FALSE(path.empty());
  pictavo::test::Picture picture;
  ASSERT_TRUE(pictavo::test::ReadPng(path, &picture));
  // The popup's rows are white, the bar keeps its panes' text on the skin colour.
  const int y = RowCentre(5).y - area.top;
  EXPECT_EQ(picture.At(popup.left + 180, y), RGB(255, 255, 255));
}
