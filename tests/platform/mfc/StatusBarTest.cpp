// The status bar: panes laid out from their widths with the stretching one taking the rest, placed
// by RepositionBars at the bottom of its parent, painted in the bar's colour.
#include <vector>

#include "MfcTestSupport.h"
#include "platform/gdi/Surface.h"
#include "platform/user/Display.h"

using namespace testing_mfc;

namespace {

constexpr UINT kIndicators[] = {30900, 30901, 31001, 31002, 31003};

class CBarHost : public CWnd {
 public:
  BOOL Make() {
    return CreateEx(0, nullptr, "Bar host", WS_POPUP | WS_VISIBLE, CRect(20, 20, 1020, 420), nullptr, 0);
  }

 protected:
  afx_msg void OnUpdateLastPane(CCmdUI* ui) { ui->SetText("Ready"); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CBarHost, CWnd)
ON_UPDATE_COMMAND_UI(31003, OnUpdateLastPane)
END_MESSAGE_MAP()

COLORREF PixelAt(HWND topLevel, POINT client) {
  pictavo::user::TopLevelWindow window;
  if (!pictavo::user::DescribeTopLevelWindow(topLevel, &window) || !window.surface) return CLR_INVALID;
  ::ClientToScreen(topLevel, &client);
  const auto pixel =
      window.surface->Row(client.y - window.rect.top)[static_cast<size_t>(client.x - window.rect.left)];
  return pictavo::gdi::ColorFromPixel(pixel);
}

class StatusBarTest : public MfcTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_host.Make());
    ASSERT_TRUE(m_bar.Create(&m_host));
    EXPECT_FALSE(m_bar.SetIndicators(kIndicators, 5)) << "no strings for these ids: the panes start empty";
    m_bar.SetPaneInfo(0, 30900, SBPS_NOBORDERS, 130);
    m_bar.SetPaneInfo(1, 30901, SBPS_NOBORDERS, 208);
    m_bar.SetPaneInfo(2, 31001, SBPS_STRETCH | SBPS_NOBORDERS, 0);
    m_bar.SetPaneInfo(3, 31002, SBPS_NORMAL, 280);
    m_bar.SetPaneInfo(4, 31003, SBPS_NORMAL, 160);
  }
  CBarHost m_host;
  CStatusBar m_bar;
};

TEST_F(StatusBarTest, RepositionBarsPutsTheBarAlongTheBottom) {
  CRect client;
  m_host.GetClientRect(&client);
  CRect rest;
  m_host.RepositionBars(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, 31002, CWnd::reposQuery, &rest);
  const int height = m_bar.CalcFixedLayout(TRUE, TRUE).cy;
  EXPECT_GT(height, 10);
  EXPECT_EQ(rest, CRect(0, 0, client.right, client.bottom - height)) << "the query moves nothing";
  CRect before;
  m_bar.GetWindowRect(&before);
  EXPECT_EQ(before.Width(), 0);

  m_host.RepositionBars(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, 31002);
  CRect bar;
  m_bar.GetWindowRect(&bar);
  m_host.ScreenToClient(&bar);
  EXPECT_EQ(bar, CRect(0, client.bottom - height, client.right, client.bottom));

  m_bar.ShowWindow(SW_HIDE);
  m_host.RepositionBars(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, 0, CWnd::reposQuery, &rest);
  EXPECT_EQ(rest, client) << "a hidden bar takes no room";
}

TEST_F(StatusBarTest, PanesKeepTheirWidthsAndTheStretchingOneTakesTheRest) {
  m_bar.SetWindowPos(nullptr, 0, 375, 1000, 25, SWP_NOZORDER);
  std::vector<CRect> panes(5);
  for (int i = 0; i < 5; ++i) m_bar.GetItemRect(i, &panes[static_cast<size_t>(i)]);
  const int fixedWidths[] = {130, 208, -1, 280, 160};
  for (size_t i = 0; i < panes.size(); ++i) {
    if (fixedWidths[i] >= 0) EXPECT_EQ(panes[i].Width(), fixedWidths[i] + 6) << i;
    if (i > 0) EXPECT_EQ(panes[i].left, panes[i - 1].right + 2) << "panes follow each other: " << i;
    EXPECT_GT(panes[i].Height(), 0) << i;
  }
  EXPECT_EQ(panes[0].left, m_bar.m_cxLeftBorder);
  EXPECT_EQ(panes[4].right, 1000 - m_bar.m_cxRightBorder) << "the stretching pane fills the bar";
  EXPECT_GT(panes[2].Width(), 150);
  EXPECT_EQ(m_bar.CommandToIndex(31002), 3);
  EXPECT_EQ(m_bar.CommandToIndex(12345), -1);
  CRect viaMessage;
  EXPECT_TRUE(m_bar.SendMessage(SB_GETRECT, 3, reinterpret_cast<LPARAM>(&viaMessage)));
  EXPECT_EQ(viaMessage, panes[3]);
}

TEST_F(StatusBarTest, TextsIconsAndColourAreThePanes) {
  m_bar.SetWindowPos(nullptr, 0, 375, 800, 25, SWP_NOZORDER);
  m_bar.SendMessage(SB_SETTEXT, 3, reinterpret_cast<LPARAM>("Total : 2 Albums, 9 Photos"));
  EXPECT_EQ(m_bar.GetPaneText(3), "Total : 2 Albums, 9 Photos");
  HICON icon = LoadCursor(nullptr, IDC_ARROW);  // any icon
  EXPECT_TRUE(m_bar.SendMessage(SB_SETICON, 0, reinterpret_cast<LPARAM>(icon)));
  EXPECT_EQ(m_bar.GetPaneIcon(0), icon);
  const COLORREF face = RGB(10, 200, 30);
  m_bar.SendMessage(SB_SETBKCOLOR, 0, static_cast<LPARAM>(face));

  m_host.SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
  EXPECT_EQ(m_bar.GetPaneText(4), "Ready") << "the owner's update handler names the pane's text";

  m_bar.UpdateWindow();
  CRect stretch;
  m_bar.GetItemRect(2, &stretch);
  POINT middle = stretch.CenterPoint();
  m_bar.ClientToScreen(&middle);
  m_host.ScreenToClient(&middle);
  EXPECT_EQ(PixelAt(m_host.m_hWnd, middle), face);
  CRect framed;
  m_bar.GetItemRect(3, &framed);
  POINT corner{framed.left, framed.top};
  m_bar.ClientToScreen(&corner);
  m_host.ScreenToClient(&corner);
  EXPECT_EQ(PixelAt(m_host.m_hWnd, corner), ::GetSysColor(COLOR_3DSHADOW)) << "a normal pane has a frame";
}

}  // namespace
