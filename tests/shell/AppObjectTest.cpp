// The services the application object gives the rest of the shell: the recent-project list, the
// busy cursor, dropping queued input, and the defaults every new album gets.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/RecentFileList.h"
#include "platform/user/Cursor.h"
#include "platform/user/Menu.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"
#include "platform/user/WindowClass.h"
#include "shell/AppSettings.h"
#include "shell/ProcessObjects.h"
#include "shell/SlideshowApp.h"
#include "tests/shell/ShellTestSupport.h"

using namespace shelltest;

namespace {

const std::string kRecentKey = kAppKey + "\\Recent File List";
constexpr int kRecentSize = 12;

// A main window that counts the popup-initialisation requests it receives.
class MainWindow : public CWnd {
 public:
  int initMenuPopups = 0;
  std::vector<HMENU> popups;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_INITMENUPOPUP) {
      ++initMenuPopups;
      popups.push_back(reinterpret_cast<HMENU>(wParam));
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// theApp with its registry-backed recent list, reading from the fixture's private registry.
class AppObjectTest : public RegistryFixture {
 protected:
  void SetUp() override {
    free(const_cast<char*>(theApp.m_pszAppName));
    theApp.m_pszAppName = strdup("Talvane Pictavo");
    theApp.SetRegistryKey("");
    theApp.LoadStdProfileSettings(kRecentSize);
  }

  void TearDown() override {
    theApp.m_pMainWnd = nullptr;
    delete theApp.m_pRecentFileList;
    theApp.m_pRecentFileList = nullptr;
    if (window.GetSafeHwnd()) window.DestroyWindow();
    CWnd::DeleteTempMap();
  }

  std::vector<std::string> RecentEntries() {
    std::vector<std::string> entries;
    CRecentFileList& list = *theApp.m_pRecentFileList;
    for (int i = 0; i < list.GetSize() && !list[i].IsEmpty(); ++i) entries.push_back(list[i].GetString());
    return entries;
  }

  // The main window, with a File menu holding `submenus` popups among plain items.
  void CreateMainWindow(int submenus) {
    ASSERT_TRUE(
        window.CreateEx(0, nullptr, "Main", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
    const HMENU bar = CreateMenu();
    const HMENU file = CreatePopupMenu();
    AppendMenu(file, MF_STRING, 100, "&Open");
    for (int i = 0; i < submenus; ++i) {
      AppendMenu(file, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "Sub");
      AppendMenu(file, MF_SEPARATOR, 0, nullptr);
    }
    AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    ASSERT_TRUE(SetMenu(window.GetSafeHwnd(), bar));
    theApp.m_pMainWnd = &window;
  }

  MainWindow window;
};

TEST_F(AppObjectTest, AddingProjectsPutsTheNewestFirstWithoutDuplicates) {
  struct Case {
    const char* name;
    std::vector<std::string> added;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"one", {"/p/a.r7m"}, {"/p/a.r7m"}},
      {"newest first", {"/p/a.r7m", "/p/b.r7m"}, {"/p/b.r7m", "/p/a.r7m"}},
      {"re-added moves up", {"/p/a.r7m", "/p/b.r7m", "/p/a.r7m"}, {"/p/a.r7m", "/p/b.r7m"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (int i = theApp.m_pRecentFileList->GetSize() - 1; i >= 0; --i) theApp.m_pRecentFileList->Remove(i);
    for (const std::string& path : c.added) EXPECT_TRUE(theApp.AddRecentProject(path.c_str()));
    EXPECT_EQ(RecentEntries(), c.expected);
  }
}

TEST_F(AppObjectTest, CurrentProjectIsAddedByItsPath) {
  theApp.SetProjectPath("/home/me/holiday.r7m");
  EXPECT_TRUE(theApp.AddCurrentProjectToRecent());
  theApp.SetProjectPath("");
  EXPECT_EQ(RecentEntries(), std::vector<std::string>{"/home/me/holiday.r7m"});
}

TEST_F(AppObjectTest, ResetEmptiesTheListAndTheRegistryAndRebuildsEachFileSubmenu) {
  CreateMainWindow(2);
  const int added = 3;
  for (int i = 0; i < added; ++i) theApp.AddRecentProject(("/p/" + std::to_string(i) + ".r7m").c_str());
  theApp.m_pRecentFileList->WriteList();
  DWORD type = 0;
  Bytes data;
  ASSERT_TRUE(QueryRaw(kRecentKey, "File1", type, data));

  EXPECT_TRUE(theApp.ResetRecentFileList());

  EXPECT_TRUE(RecentEntries().empty());
  EXPECT_FALSE(QueryRaw(kRecentKey, "File1", type, data));
  // Every slot is removed, each removal followed by one request per submenu of the File menu.
  EXPECT_EQ(window.initMenuPopups, kRecentSize * 2);
  const HMENU file = GetSubMenu(GetMenu(window.GetSafeHwnd()), 0);
  for (HMENU popup : window.popups) EXPECT_TRUE(popup == GetSubMenu(file, 1) || popup == GetSubMenu(file, 3));
}

TEST_F(AppObjectTest, ResetWithoutAListOrWindowStillSucceeds) {
  delete theApp.m_pRecentFileList;
  theApp.m_pRecentFileList = nullptr;
  EXPECT_TRUE(theApp.ResetRecentFileList());
  theApp.LoadStdProfileSettings(kRecentSize);
  theApp.AddRecentProject("/p/x.r7m");
  EXPECT_TRUE(theApp.ResetRecentFileList());
  EXPECT_TRUE(RecentEntries().empty());
}

TEST_F(AppObjectTest, SetBusyChangesTheClassCursorOfEveryDescendant) {
  EXPECT_FALSE(theApp.SetBusy(TRUE));  // no main window yet

  CreateMainWindow(0);
  const char* const classes[] = {"AppObjectTestChild", "AppObjectTestGrandchild"};
  for (const char* name : classes) {
    WNDCLASS wc{};
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = name;
    RegisterClass(&wc);
  }
  const HWND child = CreateWindowEx(0, classes[0], "", WS_CHILD, 0, 0, 50, 50, window.GetSafeHwnd(), nullptr,
                                    nullptr, nullptr);
  const HWND grandchild =
      CreateWindowEx(0, classes[1], "", WS_CHILD, 0, 0, 10, 10, child, nullptr, nullptr, nullptr);
  ASSERT_NE(child, nullptr);
  ASSERT_NE(grandchild, nullptr);
  const ULONG_PTR mainCursor = GetClassLongPtr(window.GetSafeHwnd(), GCLP_HCURSOR);

  struct Case {
    BOOL busy;
    LPCSTR cursor;
  };
  for (const Case& c : {Case{TRUE, IDC_WAIT}, Case{FALSE, IDC_ARROW}, Case{TRUE, IDC_WAIT}}) {
    SCOPED_TRACE(c.busy);
    EXPECT_TRUE(theApp.SetBusy(c.busy));
    const auto expected = reinterpret_cast<ULONG_PTR>(LoadCursor(nullptr, c.cursor));
    EXPECT_EQ(GetClassLongPtr(child, GCLP_HCURSOR), expected);
    EXPECT_EQ(GetClassLongPtr(grandchild, GCLP_HCURSOR), expected);
    EXPECT_EQ(GetClassLongPtr(window.GetSafeHwnd(), GCLP_HCURSOR), mainCursor);
  }
  DestroyWindow(child);
  for (const char* name : classes) UnregisterClass(name, nullptr);
}

TEST_F(AppObjectTest, FlushDropsOnlyQueuedMouseAndKeyboardMessages) {
  CreateMainWindow(0);
  const HWND hwnd = window.GetSafeHwnd();
  MSG msg;
  // Posted messages only: a window waiting to be painted would answer WM_PAINT forever.
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE)) {
  }
  struct Case {
    UINT message;
    bool kept;
  };
  const Case cases[] = {
      {0x0100, false},  // key down
      {0x0102, false},  // character
      {0x0108, false},  // last of the dropped keyboard range
      {0x0109, true},   // just past it
      {0x0200, false},  // mouse move
      {0x0201, false},  // left button down
      {0x0209, false},  // last of the dropped mouse range
      {0x020A, true},   // wheel
      {WM_USER + 5, true},
  };
  for (const Case& c : cases) ASSERT_TRUE(PostMessage(hwnd, c.message, 0, 0));

  theApp.FlushInputMessages();

  std::vector<UINT> left;
  while (PeekMessage(&msg, hwnd, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE)) left.push_back(msg.message);
  std::vector<UINT> expected;
  for (const Case& c : cases)
    if (c.kept) expected.push_back(c.message);
  EXPECT_EQ(left, expected);
}

TEST_F(AppObjectTest, NewAlbumGetsTheSettingsDefaultsAndSubtitleFont) {
  AppSettings* settings = GetAppSettings();
  CTransitionSettings& t = settings->Transition;
  const DWORD saved[] = {t.DurationOne, t.DurationTwo, t.BackgroundColor, t.DurationType};
  const int savedFlags[] = {t.AutoPanZoom, t.MusicFadeInOut};
  CStringArray savedMusic;
  savedMusic.Copy(t.BackgroundMusic);
  const CDVDSubtitleFont savedFont = settings->SubtitleFont.Font;
  settings->Transition.DurationOne = 3;
  settings->Transition.DurationTwo = 9;
  settings->Transition.BackgroundColor = 0x00336699;
  settings->Transition.DurationType = 1;
  settings->Transition.AutoPanZoom = 1;
  settings->Transition.MusicFadeInOut = 0;
  settings->Transition.BackgroundMusic.RemoveAll();
  settings->SubtitleFont.Font.Set_strFontFileName("/fonts/Subtitle.ttf");
  settings->SubtitleFont.Font.Set_nFontSize(31);

  CDVDProject project;
  CDVDAlbumImage album(&project);
  EXPECT_EQ(ApplyDefaultSubtitleFont(&album), 1);
  EXPECT_EQ(album.Get_nOneDuration(-1), 3);
  EXPECT_EQ(album.Get_nTwoDuration(-1), 9);
  EXPECT_EQ(album.Get_clrBackground(), 0x00336699u);
  EXPECT_EQ(album.Get_dwTransDurationType(), 1u);
  EXPECT_EQ(album.Get_bAutoPanZoom(), 1);
  EXPECT_EQ(album.Get_bMusicFadeInOut(), 0);
  EXPECT_STREQ(album.GetDVDSubtitleFont().Get_strFontFileName().GetString(), "/fonts/Subtitle.ttf");
  EXPECT_EQ(album.GetDVDSubtitleFont().Get_nFontSize(), 31);
  EXPECT_EQ(ApplyDefaultSubtitleFont(nullptr), 1);

  t.DurationOne = saved[0];
  t.DurationTwo = saved[1];
  t.BackgroundColor = saved[2];
  t.DurationType = saved[3];
  t.AutoPanZoom = savedFlags[0];
  t.MusicFadeInOut = savedFlags[1];
  t.BackgroundMusic.Copy(savedMusic);
  settings->SubtitleFont.Font = savedFont;
}

}  // namespace
