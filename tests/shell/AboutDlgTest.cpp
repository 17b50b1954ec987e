// The About dialog sizes itself to the product picture and lines its three buttons up under it;
// clicking the picture does nothing; a guarded scope logs the disk space when entered and left.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "modules/data/DVDProject.h"
#include "modules/log/Log.h"
#include "platform/display/Display.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/User.h"
#include "shell/AboutDlg.h"
#include "shell/LanguageFile.h"
#include "shell/LanguageSettings.h"
#include "tests/support/MessagePump.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/Snapshot.h"

namespace {

class AboutDlgTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
  }
  static CRect ChildRect(CWnd& dialog, int id) {
    CRect rc;
    dialog.GetDlgItem(id)->GetWindowRect(&rc);
    dialog.ScreenToClient(&rc);
    return rc;
  }
};

}  // namespace

TEST_F(AboutDlgTest, SizesItselfToThePictureWithTheButtonsInARowUnderIt) {
  CAboutDlg about;
  ASSERT_TRUE(about.Create(IDD_ABOUTBOX, nullptr));
  about.ShowWindow(SW_SHOW);
  pictavo::test::PumpPending();
  // The picture is 480 by 300.
  CRect client;
  about.GetClientRect(&client);
  EXPECT_EQ(client.Width(), 480);
  EXPECT_EQ(client.Height(), 300 + 46);
  const CRect legal = ChildRect(about, IDC_ABOUT_LEGAL_NOTICE);
  const CRect credits = ChildRect(about, IDC_ABOUT_CREDITS);
  const CRect close = ChildRect(about, IDOK);
  for (const CRect& button : {legal, credits, close}) EXPECT_EQ(button.top, 300 + 11);
  EXPECT_EQ(client.right - close.right, 30);
  EXPECT_EQ(close.left - credits.right, 12);
  EXPECT_EQ(credits.left - legal.right, 12);
  const CRect picture = ChildRect(about, IDC_ABOUT_PICTURE);
  EXPECT_EQ(picture.top, 1);
  EXPECT_EQ(picture.Height(), 300);
  CString title;
  about.GetWindowText(title);
  EXPECT_STREQ(title, "About Talvane Pictavo");

  // A click on the picture changes nothing.
  about.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 100));
  about.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(200, 100));
  pictavo::test::PumpPending();
  EXPECT_TRUE(about.IsWindowVisible());

  CRect window;
  about.GetWindowRect(&window);
  EXPECT_FALSE(pictavo::test::SaveDesktopArea(window, "about.png").empty());
  about.DestroyWindow();
}

TEST_F(AboutDlgTest, AGuardedScopeLogsTheDiskSpaceOnTheWayInAndOut) {
  pictavo::test::ScratchDir scratch;
  const std::string log = scratch / "zel.log";
  ASSERT_TRUE(OpenLogFile(log.c_str()));
  try {
    CDiskSpaceLogger guard;
    throw std::runtime_error("burn failed");
  } catch (const std::runtime_error&) {
  }
  pictavo::log::Flush();
  const std::string text = pictavo::test::ReadWholeFile(log);
  const size_t enter = text.find("Enter: Hard Disk Space: Total:");
  const size_t exit = text.find("Exit: Hard Disk Space: Total:");
  ASSERT_NE(enter, std::string::npos) << text;
  ASSERT_NE(exit, std::string::npos) << text;
  EXPECT_LT(enter, exit);
  EXPECT_NE(text.find("MB in " + GetProject()->Get_strTempFilePath().Str()), std::string::npos) << text;
}

TEST_F(AboutDlgTest, OpenDialogsTranslateThemselvesAgainWhenTheLanguageChanges) {
  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  pictavo::shell::SetLanguageRoot(bin ? bin : ".");
  g_languageSettings.LangIniFile = "lang_eng.ini";
  CAboutDlg about;
  ASSERT_TRUE(about.Create(IDD_ABOUTBOX, nullptr));
  CCreditsDlg credits;
  ASSERT_TRUE(credits.Create(IDD_CREDITS, nullptr));
  const auto text = [](CWnd& dialog, int id) {
    CString value;
    if (id == 0)
      dialog.GetWindowText(value);
    else
      dialog.GetDlgItem(id)->GetWindowText(value);
    return std::string(value.GetString());
  };
  EXPECT_EQ(text(about, 0), "About Talvane Pictavo");
  EXPECT_EQ(text(credits, 1625), "Special Thanks:");

  g_languageSettings.LangIniFile = "lang_deu.ini";
  about.SendMessage(WM_LANGUAGE_CHANGED);
  credits.SendMessage(WM_LANGUAGE_CHANGED);
  EXPECT_EQ(text(about, 0), "Info Talvane Pictavo");
  EXPECT_EQ(text(about, IDC_ABOUT_CREDITS), "Mitwirkende");
  EXPECT_EQ(text(about, IDOK), "Schließen");
  EXPECT_EQ(text(credits, 0), "Mitwirkende");
  EXPECT_EQ(text(credits, 1625), "Besonderer Dank:");

  about.DestroyWindow();
  credits.DestroyWindow();
  g_languageSettings.LangIniFile = "lang_eng.ini";
  pictavo::shell::SetLanguageRoot("");
}
