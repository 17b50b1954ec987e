// The preview in menu mode with its threads on the real 50 ms clock: it draws the project's disc
// menu with the focused entry highlighted, walks the focus over albums and page buttons, turns
// pages, plays the chosen album, and at the menu's natural end plays the first album or the menu
// again as the project says. Snapshots: build/bin/test-output/render-menu-preview-*.png.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "disc/pages/MenuTemplates.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "platform/display/Display.h"
#include "platform/mfc/WinThread.h"
#include "platform/res/ResourceModule.h"
#include "render/AlbumPreviewDlg.h"
#include "render/PreviewMessages.h"
#include "tests/render/RenderFixtures.h"
#include "tests/support/HostWindow.h"
#include "tests/support/MessagePump.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"

using rendertest::AddPhotoAlbum;
using rendertest::AddSlide;
using rendertest::MakePhoto;
using rendertest::ScratchDir;

namespace {

class MenuPreviewTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static const bool initialized = pictavo::display::Initialize();
    ASSERT_TRUE(initialized);
  }
  MenuPreviewTest() {
    pictavo::res::SetResourceRoot(rendertest::ProgramFolder() + "/resources");
    rendertest::LoadTransitions();
    CDVDProject::g_m_strAppTempPathBase = (m_dir / "base").c_str();
    GetProject()->NewProject();
    GetProject()->GetOptionsData()->bPlaySlideshowAfterMenu = 0;
    m_host = pictavo::test::CreateHostWindow(400, 320);
  }
  ~MenuPreviewTest() override {
    m_preview.DestroyWindow();
    DestroyWindow(m_host);
    GetProject()->NewProject();
  }

  // `count` albums of one short slide each, named "Album 1" ..., on the Basic menu (six albums a
  // page) whose motion lasts `seconds`.
  void MakeProject(int count, int seconds) {
    const std::string photo = MakePhoto(m_dir / "p.jpg", 320, 240);
    const std::string transition(GetTransitionList()->GetAt(0)->strName);
    pictavo::menu::MenuContent content;
    for (int i = 0; i < count; ++i) {
      const std::string name = "Album " + std::to_string(i + 1);
      AddSlide(*AddPhotoAlbum(*GetProject(), name.c_str()), photo, 1, 1, transition.c_str());
      content.albums.push_back({name, std::nullopt});
    }
    // The shipped template with its motion shortened; its pictures are found below the base path.
    const std::string folder = rendertest::ProgramFolder() + "/template/";
    std::stringstream xml;
    xml << std::ifstream(folder + "19basic.xml").rdbuf();
    std::string text = xml.str();
    const size_t at = text.find("seconds=\"12\"");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 12, "seconds=\"" + std::to_string(seconds) + "\"");
    const std::string copy = m_dir / "short.xml";
    std::ofstream(copy) << text;
    g_dvdMenu.SetBasePath(folder.c_str());
    ASSERT_TRUE(g_dvdMenu.SetTemplateXMLFile(copy.c_str())) << g_dvdMenu.GetTemplateError().GetString();
    g_dvdMenu.SetMenuContent(content);
    g_dvdMenu.SetStatus(0);
    ASSERT_TRUE(g_dvdMenu.ParseMenu(0));
    ASSERT_TRUE(g_dvdMenu.SetCurrentPage(0));
    // Two seconds of music for the menu.
    GetProject()->GetDiscMenuBackgroundMusic()->RemoveAll();
    GetProject()->GetDiscMenuBackgroundMusic()->Add(rendertest::MakeMusic(m_dir / "menu.mp3", 2).c_str());

    ASSERT_TRUE(m_preview.Create(IDD_ALBUM_PREVIEW, CWnd::FromHandle(m_host)));
    m_preview.MoveWindow(8, 8, 384, 288);
    m_preview.ShowWindow(SW_SHOW);
  }
  bool WaitFrames(int frames) {
    const int from = m_preview.GetMenuFramesDrawn();
    return pictavo::test::PumpUntil([&] { return m_preview.GetMenuFramesDrawn() >= from + frames; }, 20000,
                                    20);
  }
  std::string Snapshot(const char* name) {
    RECT area;
    GetWindowRect(m_host, &area);
    return pictavo::test::SaveDesktopArea(area, name);
  }

  ScratchDir m_dir;
  HWND m_host = nullptr;
  AlbumPreviewDlg m_preview{TRUE};
};

TEST_F(MenuPreviewTest, TheMenuPlaysWithTheFocusShownAndTheKeysWalkItAcrossPages) {
  MakeProject(8, 12);  // pages of 6 and 2 albums
  m_preview.StartMenuPreview();
  EXPECT_TRUE(m_preview.IsMenuPlaying());
  ASSERT_TRUE(WaitFrames(3));
  const std::string first = Snapshot("render-menu-preview-focus0.png");
  // Album 2: the focus moves, the highlight follows.
  m_preview.MenuFocusNext();
  EXPECT_EQ(m_preview.GetMenuFocus(), 1);
  ASSERT_TRUE(WaitFrames(3));
  const std::string second = Snapshot("render-menu-preview-focus1.png");
  pictavo::test::Picture a, b;
  ASSERT_TRUE(pictavo::test::ReadPng(first, &a));
  ASSERT_TRUE(pictavo::test::ReadPng(second, &b));
  EXPECT_NE(a.rgb, b.rgb);

  // Past the sixth album the next-page button (no previous-page button on page 1), then the
  // page turns with the focus on its first album.
  for (int i = 0; i < 8; ++i) m_preview.MenuFocusNext();
  EXPECT_EQ(m_preview.GetMenuFocus(), 7);
  m_preview.MenuFocusPrev();
  EXPECT_EQ(m_preview.GetMenuFocus(), 5);
  m_preview.MenuFocusNext();
  m_preview.MenuEnter();
  EXPECT_EQ(g_dvdMenu.GetCurrentPage(), 1);
  EXPECT_EQ(m_preview.GetMenuFocus(), 0);
  EXPECT_TRUE(m_preview.IsMenuPlaying());
  ASSERT_TRUE(WaitFrames(3));
  Snapshot("render-menu-preview-page2.png");
  // Page 2 of 2 albums and a previous-page button: 0, 1, then the button at 2.
  m_preview.MenuFocusNext();
  m_preview.MenuFocusNext();
  m_preview.MenuFocusNext();
  EXPECT_EQ(m_preview.GetMenuFocus(), 2);

  // Album 8, the second entry of page 2, plays.
  m_preview.MenuFocusPrev();
  m_preview.MenuEnter();
  EXPECT_FALSE(m_preview.IsMenuPlaying());
  EXPECT_TRUE(m_preview.IsPlaying());
  EXPECT_FALSE(m_preview.m_bMenuActive);
  EXPECT_EQ(m_preview.GetPlayingAlbum(), GetProject()->GetAlbum(7));
  m_preview.Stop();
  EXPECT_FALSE(m_preview.IsPlaying());
  // Enter once the menu has ended starts it again.
  m_preview.MenuEnter();
  EXPECT_TRUE(m_preview.IsMenuPlaying());
  m_preview.Stop();
}

TEST_F(MenuPreviewTest, AtItsNaturalEndTheMenuLoopsOrPlaysTheFirstAlbumAsTheProjectSays) {
  MakeProject(2, 1);
  struct Case {
    int playAfterMenu;
    bool albumPlays;
  };
  for (const Case c : {Case{0, false}, Case{1, true}}) {
    GetProject()->GetOptionsData()->bPlaySlideshowAfterMenu = c.playAfterMenu;
    m_preview.StartMenuPreview();
    // The 2 s of music end, the pass of the motion under way ends, the watcher reports it.
    MSG finished;
    ASSERT_TRUE(pictavo::test::WaitForMessage(m_preview.m_hWnd, WM_MENU_PREVIEW_FINISHED, finished, 20000));
    EXPECT_FALSE(m_preview.IsMenuPlaying());
    DispatchMessage(&finished);
    EXPECT_EQ(m_preview.IsMenuPlaying() != FALSE, !c.albumPlays) << c.playAfterMenu;
    EXPECT_EQ(m_preview.IsPlaying() != FALSE, true) << c.playAfterMenu;
    if (c.albumPlays) EXPECT_EQ(m_preview.GetPlayingAlbum(), GetProject()->GetAlbum(0));
    EXPECT_EQ(m_preview.m_bMenuActive != FALSE, !c.albumPlays) << c.playAfterMenu;
    m_preview.Stop();
  }
}

TEST_F(MenuPreviewTest, TheMouseFocusesWhatItIsOverAndAReleasePlaysOrTurnsThePage) {
  MakeProject(8, 12);
  m_preview.StartMenuPreview();
  // Mouse input reaches the status window that covers the preview, through the program's loop.
  const HWND status = ::GetDlgItem(m_preview.m_hWnd, IDC_PREVIEW_STATUS);
  ASSERT_NE(status, nullptr);
  const auto mouse = [&](UINT message, int x, int y) {
    ::PostMessage(status, message, 0, MAKELPARAM(x, y));
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
      if (!AfxPreTranslateMessage(&msg)) DispatchMessage(&msg);
  };
  // The preview is 384 x 288, half the menu's 768 x 576: album 2's thumbnail (72, 262, 200, 358)
  // lies at (36, 131, 100, 179), the next-page button (652, 494, 696, 538) at (326, 247, 348, 269).
  struct Case {
    int x, y, focus;
  };
  // Over nothing the focus stays where it was.
  const Case kCases[] = {{60, 150, 1}, {370, 200, 1}, {250, 80, 3}, {336, 258, 7}, {5, 5, 7}};
  for (const Case& c : kCases) {
    mouse(WM_MOUSEMOVE, c.x, c.y);
    EXPECT_EQ(m_preview.GetMenuFocus(), c.focus) << c.x << "," << c.y;
  }
  // A release over the next-page button turns the page; over an album it plays that album.
  mouse(WM_LBUTTONUP, 336, 258);
  EXPECT_EQ(g_dvdMenu.GetCurrentPage(), 1);
  EXPECT_EQ(m_preview.GetMenuFocus(), 0);
  mouse(WM_LBUTTONUP, 60, 150);  // album 8, second on page 2
  EXPECT_FALSE(m_preview.IsMenuPlaying());
  EXPECT_EQ(m_preview.GetPlayingAlbum(), GetProject()->GetAlbum(7));
  m_preview.Stop();
}

}  // namespace
