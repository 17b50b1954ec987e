// The progress popups: their caption percentage, the owner chain they disable, cancelling and
// the quit message they keep for the application's own loop.
#include <gtest/gtest.h>

#include <string>

#include "controls/ProgressWnd.h"
#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/user/Display.h"
#include "platform/user/Input.h"
#include "platform/user/User.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Snapshot.h"

namespace {

class ProgressWndTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  }
  void SetUp() override {
    WNDCLASS wc{};
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = "ProgressOwner";
    wc.hbrBackground = CreateSolidBrush(RGB(214, 227, 243));
    if (!GetClassInfo(nullptr, wc.lpszClassName, &wc)) RegisterClass(&wc);
    m_main = CreateWindowEx(0, wc.lpszClassName, "Talvane Pictavo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                            800, 600, nullptr, nullptr, nullptr, nullptr);
    m_dialog = CreateWindowEx(0, wc.lpszClassName, "Album", WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100, 400,
                              300, m_main, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    DestroyWindow(m_dialog);
    DestroyWindow(m_main);
    pictavo::test::PumpPending();
  }
  static CString Caption(const CWnd& wnd) {
    CString text;
    wnd.GetWindowText(text);
    return text;
  }

  HWND m_main = nullptr;
  HWND m_dialog = nullptr;
};

}  // namespace

TEST(ProgressPercentage, RoundsAndNeverDividesByAnEmptyRange) {
  struct Case {
    int pos, lower, upper, percent;
  };
  const Case kCases[] = {{0, 0, 1000, 0},    {4, 0, 1000, 0}, {5, 0, 1000, 1}, {995, 0, 1000, 100},
                         {500, 0, 1000, 50}, {7, 7, 7, 0},    {3, 10, 5, 0},   {15, 10, 20, 50}};
  for (const Case& c : kCases)
    EXPECT_EQ(CProgressPopupWnd::Percentage(c.pos, c.lower, c.upper), c.percent)
        << c.pos << " of " << c.lower << ".." << c.upper;
}

TEST_F(ProgressWndTest, TheCaptionChangesOnlyWithTheWholePercentage) {
  CLoadProgressWnd popup(CWnd::FromHandle(m_main), "Process Project Data...", TRUE, FALSE);
  ASSERT_NE(popup.GetSafeHwnd(), nullptr);
  popup.SetRange(0, 1000);
  popup.SetPos(4);
  EXPECT_EQ(Caption(popup), "Process Project Data... [0%]");
  int changes = 0;
  CString last = Caption(popup);
  for (int pos = 5; pos <= 1000; pos += 3) {
    popup.SetPos(pos);
    if (Caption(popup) != last) ++changes;
    last = Caption(popup);
  }
  EXPECT_EQ(changes, 100);
  EXPECT_EQ(last, "Process Project Data... [100%]");
  EXPECT_TRUE(popup.IsWindowVisible());
}

TEST_F(ProgressWndTest, ModalDisablesTheTopmostEnabledAncestorAndGivesItBack) {
  {
    CAddFilesProgressWnd popup;
    // Owned by the dialog, whose owner is the main window: the main window is the one disabled.
    CWnd* previousMain = AfxGetMainWnd();
    (void)previousMain;
    ASSERT_TRUE(popup.ShowModal("Add Files"));
    // Without an application main window the popup has no owner, so nothing is disabled.
    EXPECT_TRUE(IsWindowEnabled(m_main));
  }
  {
    CLoadProgressWnd popup(CWnd::FromHandle(m_dialog), "Saving", TRUE, TRUE);
    ASSERT_TRUE(popup.ShowModal("Saving"));
    EXPECT_FALSE(IsWindowEnabled(m_main));
    EXPECT_TRUE(IsWindowEnabled(m_dialog));  // only the topmost enabled one
    EXPECT_TRUE(popup.IsWindowEnabled());
  }
  EXPECT_TRUE(IsWindowEnabled(m_main));
}

TEST_F(ProgressWndTest, EscapeCancelsTheAddFilesPopupForGood) {
  CAddFilesProgressWnd popup;
  ASSERT_TRUE(popup.ShowModal("Add Files"));
  popup.SetRange(0, 1000);
  popup.SetPos(10);
  popup.PumpMessages(TRUE);
  EXPECT_FALSE(popup.IsCancelled());
  pictavo::user::InjectKey({VK_ESCAPE, true});
  pictavo::user::InjectKey({VK_ESCAPE, false});
  // What the key makes reaches the queue; the adding work pumps it.
  for (int round = 0; round < 5 && !popup.IsCancelled(); ++round) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    popup.PumpMessages(TRUE);
  }
  EXPECT_TRUE(popup.IsCancelled());
  EXPECT_FALSE(popup.IsWindowVisible());
  popup.PumpMessages(TRUE);
  EXPECT_TRUE(popup.IsCancelled());
}

TEST_F(ProgressWndTest, AQuitWhilePumpingIsPostedAgain) {
  CLoadProgressWnd popup(CWnd::FromHandle(m_main), "Loading", TRUE, FALSE);
  PostQuitMessage(7);
  popup.PumpMessages(FALSE);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(ProgressWndTest, SnapshotOfTheProjectProgressAndTheAddFilesPopup) {
  CLoadProgressWnd load(CWnd::FromHandle(m_main), "Process Project Data...", TRUE, TRUE);
  load.SetRange(0, 1000);
  load.SetPos(420);
  ProgressWndSetText(&load, "Reading %s\n%d of %d photos", "Holiday 2026.r7m", 84, 200);
  load.UpdateWindow();
  pictavo::test::PumpPending();
  CRect rect;
  load.GetWindowRect(&rect);
  rect.InflateRect(20, 20);
  ASSERT_FALSE(pictavo::test::SaveDesktopArea(rect, "progress-load.png").empty());
  // The text and the bar lie inside the client area, the bar below the text.
  CRect client, text, bar;
  load.GetClientRect(&client);
  load.GetDlgItem(IDC_PROGRESS_TEXT)->GetWindowRect(&text);
  load.GetDlgItem(IDC_PROGRESS_BAR)->GetWindowRect(&bar);
  load.ScreenToClient(&text);
  load.ScreenToClient(&bar);
  EXPECT_TRUE(client.PtInRect(text.TopLeft()) && text.bottom <= client.bottom);
  EXPECT_GE(bar.top, text.bottom);
  EXPECT_LE(bar.right, client.right);
  EXPECT_LE(bar.bottom, client.bottom);
  load.Hide();

  CAddFilesProgressWnd adding;
  ASSERT_TRUE(adding.ShowModal("Add Files"));
  adding.SetRange(0, 1000);
  adding.SetPos(300);
  ProgressWndSetText(&adding, "Adding files from\n%s\n%d files added", "/home/ann/Pictures/2026/Summer", 128);
  adding.UpdateWindow();
  pictavo::test::PumpPending();
  adding.GetWindowRect(&rect);
  rect.InflateRect(20, 20);
  ASSERT_FALSE(pictavo::test::SaveDesktopArea(rect, "progress-add-files.png").empty());
  CRect cancel;
  adding.GetDlgItem(IDC_PROGRESS_CANCEL)->GetWindowRect(&cancel);
  adding.ScreenToClient(&cancel);
  adding.GetClientRect(&client);
  EXPECT_GT(cancel.Width(), 40);
  EXPECT_LE(cancel.right, client.right - 10);
  EXPECT_LE(cancel.bottom, client.bottom - 10);
}
