// The message dialogs: the report of invalid albums and missing files, the missing-files list,
// the legal notice, and what saving a report leaves on disk.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "controls/MessageDialogs.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/User.h"
#include "shell/AppSettings.h"
#include "tests/support/MessagePump.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/Snapshot.h"

namespace {

using pictavo::test::ScratchDir;

CDVDAlbumImage* AddAlbum(CDVDProject& project, const char* name) {
  CDVDAlbumImage* album = project.AllocImageAlbum(nullptr);
  album->Set_strAlbumName(name);
  project.AddAlbum(album);
  return album;
}

CDVDImage* AddSlide(CDVDAlbumImage& album, const char* path) {
  auto* slide = new CDVDImage(&album);
  slide->Put_strPathName(path);
  album.AddDVDImage(slide);
  return slide;
}

std::function<void()> g_tick;
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (g_tick) g_tick();
}

class MessageDialogsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
  }

  CDVDProject project;
};

}  // namespace

TEST_F(MessageDialogsTest, TheReportListsEmptyAlbumsThenMissingFilesWithTheirPositions) {
  CDVDAlbumImage* spring = AddAlbum(project, "Spring");
  CDVDAlbumImage* summer = AddAlbum(project, "Summer");
  CDVDAlbumImage* empty = AddAlbum(project, "Empty");
  AddSlide(*summer, "/photos/a.jpg");
  CDVDImage* lost = AddSlide(*summer, "/photos/gone.jpg");
  (void)spring;

  CDVDAlbumArray noPhotos;
  noPhotos.Add(empty);
  CAlbumBreakLinkInfoArray broken;
  auto* info = new CAlbumBreakLinkInfo;
  info->m_pAlbum = summer;
  info->m_pImageAlbum = summer;
  info->m_arrImages.Add(lost);
  info->m_arrFiles.Add("/music/song.mp3");
  broken.Add(info);
  auto* other = new CAlbumBreakLinkInfo;  // an album with only other files missing
  other->m_pAlbum = spring;
  other->m_arrFiles.Add("/clips/intro.avi");
  broken.Add(other);

  EXPECT_EQ(std::string(BuildInvalidItemsReport(project, &noPhotos, &broken).GetString()),
            "There are no photos in the following albums:\r\n"
            "   (#03) Album Name: Empty\r\n"
            "\r\n"
            "The following files are missing:\r\n"
            "   (#02) Album Name: Summer\r\n"
            "      #0002  /photos/gone.jpg\r\n"
            "      #0000  /music/song.mp3\r\n"
            "   (#01) Album Name: Spring\r\n"
            "      #0000  /clips/intro.avi\r\n");
}

TEST_F(MessageDialogsTest, AnEmptyListStillShowsItsHeadingAndANullOneNothing) {
  AddAlbum(project, "Spring");
  CDVDAlbumArray noPhotos;
  CAlbumBreakLinkInfoArray broken;
  EXPECT_EQ(std::string(BuildInvalidItemsReport(project, &noPhotos, &broken).GetString()),
            "There are no photos in the following albums:\r\n\r\nThe following files are missing:\r\n");
  EXPECT_EQ(std::string(BuildInvalidItemsReport(project, nullptr, &broken).GetString()),
            "\r\nThe following files are missing:\r\n");
  EXPECT_TRUE(BuildInvalidItemsReport(project, nullptr, nullptr).IsEmpty());
}

TEST_F(MessageDialogsTest, SavingAReportReplacesTheFileWholeOrLeavesItAlone) {
  ScratchDir folder;
  CStringArray paths;
  paths.Add("/photos/a.jpg");
  paths.Add("/photos/Été 2026/b.jpg");
  const std::string file = folder.Write("missing.txt", "the old report");
  ASSERT_TRUE(SaveReportText(file.c_str(), JoinPaths(&paths, "\r\n")));
  EXPECT_EQ(pictavo::test::ReadWholeFile(file), "/photos/a.jpg\r\n/photos/Été 2026/b.jpg\r\n");
  // A folder that cannot be written: the call says so.
  EXPECT_FALSE(SaveReportText((folder / "no/such/folder/report.txt").c_str(), "x"));
  EXPECT_FALSE(SaveReportText("", "x"));
  EXPECT_TRUE(JoinPaths(nullptr, "\r\n").IsEmpty());
}

TEST_F(MessageDialogsTest, TheMissingFilesDialogListsThePathsInAWhiteReadOnlyBox) {
  CStringArray paths;
  for (const char* p :
       {"/home/ann/Pictures/2026/Summer/IMG_0001.JPG", "/home/ann/Pictures/2026/Summer/IMG_0002.JPG",
        "/home/ann/Music/Holiday theme.mp3", "/media/ann/USB stick/clips/arrival.mp4"})
    paths.Add(p);
  CMissingFilesDlg dialog;
  dialog.SetFileList(&paths);
  std::string shot;
  CString shown;
  // The dialog runs its own loop: a timer looks at it once it shows, then closes it.
  g_tick = [&] {
    const HWND found = FindWindow(nullptr, "Missing files list");
    if (found == nullptr || !IsWindowVisible(found) || !shot.empty()) return;
    char text[1024] = {};
    GetDlgItemText(found, IDC_MISSING_LIST, text, sizeof text);
    shown = text;
    RECT rect;
    GetWindowRect(found, &rect);
    InflateRect(&rect, 16, 16);
    shot = pictavo::test::SaveDesktopArea(rect, "missing-files.png");
    PostMessage(found, WM_COMMAND, IDOK, 0);
  };
  const UINT_PTR ticking = SetTimer(nullptr, 0, 50, &Tick);
  EXPECT_EQ(dialog.DoModal(), IDOK);
  KillTimer(nullptr, ticking);
  g_tick = nullptr;
  EXPECT_EQ(std::string(shown.GetString()), std::string(JoinPaths(&paths, "\r\n").GetString()));
  EXPECT_FALSE(shot.empty());
}

TEST_F(MessageDialogsTest, TheFullScreenTipRemembersDoNotShowOnlyWhenClosedWithOk) {
  ScratchDir home;
  pictavo::test::ScopedEnv config{"XDG_CONFIG_HOME", (home / "config").c_str()};
  struct Case {
    UINT closeWith;
    int stored;
  };
  const Case kCases[] = {{IDCANCEL, 0}, {IDOK, 1}};
  for (const Case& c : kCases) {
    GetAppSettings()->Window.HideFullScreenPreviewMessage = 0;
    CFullScreenTipDlg dialog;
    bool closing = false;
    g_tick = [&] {
      const HWND found = FindWindow(nullptr, "Message");
      if (closing || found == nullptr || !IsWindowVisible(found)) return;
      SendDlgItemMessage(found, IDC_TIP_DONT_SHOW, BM_SETCHECK, BST_CHECKED, 0);
      PostMessage(found, WM_COMMAND, c.closeWith, 0);
      closing = true;
    };
    const UINT_PTR ticking = SetTimer(nullptr, 0, 50, &Tick);
    EXPECT_EQ(dialog.DoModal(), static_cast<INT_PTR>(c.closeWith));
    KillTimer(nullptr, ticking);
    g_tick = nullptr;
    EXPECT_EQ(GetAppSettings()->Window.HideFullScreenPreviewMessage, c.stored) << c.closeWith;
    CWindowSettings reread;
    reread.Load();
    EXPECT_EQ(reread.HideFullScreenPreviewMessage, c.stored) << c.closeWith;
  }
}

TEST_F(MessageDialogsTest, TheInvalidItemsDialogShowsTheReport) {
  CDVDAlbumImage* summer = AddAlbum(project, "Summer at the lake");
  CDVDAlbumImage* empty = AddAlbum(project, "Winter");
  CDVDImage* lost = AddSlide(*summer, "/home/ann/Pictures/2026/Summer/IMG_0042.JPG");
  CDVDProject::SetGlobalDVDProject(&project);
  CDVDAlbumArray noPhotos;
  noPhotos.Add(empty);
  CAlbumBreakLinkInfoArray broken;
  auto* info = new CAlbumBreakLinkInfo;
  info->m_pAlbum = summer;
  info->m_pImageAlbum = summer;
  info->m_arrImages.Add(lost);
  info->m_arrFiles.Add("/home/ann/Music/Lake theme.mp3");
  broken.Add(info);

  CErrorMessageDlg dialog;
  dialog.SetInvalidItems(&noPhotos, &broken);
  std::string shot;
  CString shown;
  g_tick = [&] {
    const HWND found = FindWindow(nullptr, "Error Message");
    if (found == nullptr || !IsWindowVisible(found) || !shot.empty()) return;
    char text[2048] = {};
    GetDlgItemText(found, IDC_ERROR_REPORT, text, sizeof text);
    shown = text;
    RECT rect;
    GetWindowRect(found, &rect);
    InflateRect(&rect, 16, 16);
    shot = pictavo::test::SaveDesktopArea(rect, "invalid-items.png");
    PostMessage(found, WM_COMMAND, IDC_ERROR_CLOSE, 0);
  };
  const UINT_PTR ticking = SetTimer(nullptr, 0, 50, &Tick);
  EXPECT_EQ(dialog.DoModal(), IDOK);
  KillTimer(nullptr, ticking);
  g_tick = nullptr;
  CDVDProject::SetGlobalDVDProject(nullptr);
  EXPECT_EQ(shown, BuildInvalidItemsReport(project, &noPhotos, &broken));
  EXPECT_FALSE(shot.empty());
}
