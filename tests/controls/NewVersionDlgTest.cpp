// The new-version dialog as the start-up check opens it: the newer version's numbers, the link
// to the upgrade page under them; while it is up it is the report window, and closing it stops
// results from reaching anyone.
#include <gtest/gtest.h>

#include <string>

#include "controls/NewVersionDlg.h"
#include "controls/UpdateCheck.h"
#include "platform/display/Display.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/User.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Snapshot.h"

namespace {

class NewVersionDlgTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
  }
  void TearDown() override { GetUpdateCheckSettings() = UpdateCheckSettings{}; }
  static std::string Text(CWnd& dialog, int id) {
    CString value;
    if (id == 0)
      dialog.GetWindowText(value);
    else
      dialog.GetDlgItem(id)->GetWindowText(value);
    return value.GetString();
  }
};

}  // namespace

TEST_F(NewVersionDlgTest, ShowsTheNewerVersionAndTheWayToIt) {
  GetUpdateCheckSettings().strUpgradePageURL = "https://example.org/pictavo/upgrade";
  CNewVersionDlg dialog(nullptr);
  dialog.m_strMessage = NewVersionText(806, 1);
  ASSERT_TRUE(dialog.Create(IDD_NEW_VERSION, nullptr));
  dialog.ShowWindow(SW_SHOW);
  pictavo::test::PumpPending();
  EXPECT_EQ(Text(dialog, 0), "Check For New Version of Talvane Pictavo");
  EXPECT_EQ(Text(dialog, IDC_NEW_VERSION_TEXT),
            "A new version is available.\nVersion:8.6\nBuild:1\nPlease download it by clicking the following "
            "link and upgrade.");
  EXPECT_TRUE(dialog.GetDlgItem(IDC_NEW_VERSION_LINK)->IsWindowVisible());
  EXPECT_TRUE(dialog.GetDlgItem(IDC_NEW_VERSION_SITE_LABEL)->IsWindowVisible());
  EXPECT_EQ(Text(dialog, IDC_NEW_VERSION_LINK), "https://example.org/pictavo/upgrade");
  EXPECT_EQ(GetUpdateReportWindow(), dialog.GetSafeHwnd());

  // A check's later outcome replaces the text.
  dialog.SendMessage(WM_VERSION_UP_TO_DATE, 805, 1805);
  EXPECT_EQ(Text(dialog, IDC_NEW_VERSION_TEXT),
            "\n\nCongratulations! You are currently running the latest version.");
  dialog.SendMessage(WM_NEW_VERSION_AVAILABLE, 806, 1);
  pictavo::test::PumpPending();
  CRect window;
  dialog.GetWindowRect(&window);
  EXPECT_FALSE(pictavo::test::SaveDesktopArea(window, "new-version.png").empty());

  dialog.DestroyWindow();
  EXPECT_EQ(GetUpdateReportWindow(), nullptr);
}

TEST_F(NewVersionDlgTest, WithoutAnUpgradePageNoEmptyLinkIsShown) {
  CNewVersionDlg dialog(nullptr);
  ASSERT_TRUE(dialog.Create(IDD_NEW_VERSION, nullptr));
  EXPECT_FALSE(dialog.GetDlgItem(IDC_NEW_VERSION_LINK)->IsWindowVisible());
  EXPECT_FALSE(dialog.GetDlgItem(IDC_NEW_VERSION_SITE_LABEL)->IsWindowVisible());
  dialog.DestroyWindow();
}
