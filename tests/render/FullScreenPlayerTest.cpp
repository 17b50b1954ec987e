// The full-screen player: the keys step through the album and leave it, the three-second ticks
// (posted here as the timer's thread posts them, the real timer stopped) advance it and close it
// after the last slide, a manual step or a pause holds the next tick, and the photo list follows
// the slide last shown. Snapshot: build/bin/test-output/render-fullscreen-player.png.
#include <gtest/gtest.h>

#include <string>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "platform/comctl/AfxListCtrl.h"
#include "platform/display/Display.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/MMTimer.h"
#include "platform/kernel/Wait.h"
#include "platform/mfc/WinThread.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Metrics.h"
#include "render/FullScreenPlayerWnd.h"
#include "shell/ProcessObjects.h"
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

const COLORREF kColours[] = {RGB(220, 40, 40), RGB(40, 180, 60), RGB(40, 80, 220), RGB(230, 200, 40)};

class FullScreenPlayerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static const bool initialized = pictavo::display::Initialize();
    ASSERT_TRUE(initialized);
  }
  FullScreenPlayerTest() {
    pictavo::res::SetResourceRoot(rendertest::ProgramFolder() + "/resources");
    CDVDProject::g_m_strAppTempPathBase = (m_dir / "base").c_str();
    GetProject()->NewProject();
    m_album = AddPhotoAlbum(*GetProject(), "Walk");
    m_host = pictavo::test::CreateHostWindow(200, 100);
    m_stop = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  }
  ~FullScreenPlayerTest() override {
    if (m_player != nullptr) m_player->DestroyWindow();
    pictavo::test::PumpPending();
    DestroyWindow(m_host);
    CloseHandle(m_stop);
    GetWindowRegistry()->m_pPhotoListCtrl = nullptr;
    GetProject()->NewProject();
  }

  void AddSlides(int count) {
    for (int i = 0; i < count; ++i)
      AddSlide(*m_album,
               MakePhoto(m_dir / ("s" + std::to_string(i) + ".jpg"), 320, 240, kColours[i], kColours[i]), 1,
               2, "");
  }
  // Opens the player on slide `first` as the album editor does, with its clock stopped: the test
  // posts the ticks itself.
  void Open(int first) {
    m_player = new CFullScreenPlayerWnd(&m_player);
    ASSERT_TRUE(m_player->Create(CWnd::FromHandle(m_host)));
    m_player->m_pAlbum = m_album;
    m_player->SetStopEvent(m_stop);
    m_player->ShowImage(first);
    m_player->ShowWindow(SW_SHOW);
    ASSERT_NE(m_player->GetTimerId(), 0u);
    timeKillEvent(m_player->GetTimerId());
    Pump();  // the play code posted at creation
  }
  // Handles what is queued the way the program's message loop does, PreTranslateMessage first.
  static void Pump() {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (AfxPreTranslateMessage(&msg)) continue;
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
  }
  void Key(WPARAM key) {
    ::PostMessage(m_player->m_hWnd, WM_KEYDOWN, key, 0);
    Pump();
  }
  void Tick() {
    ::PostMessage(m_player->m_hWnd, WM_FULLSCREEN_TICK, m_player->GetTimerId(), 0);
    Pump();
  }
  bool Closed() const { return m_player == nullptr; }

  ScratchDir m_dir;
  CDVDAlbumImage* m_album = nullptr;
  HWND m_host = nullptr;
  HANDLE m_stop = nullptr;
  CFullScreenPlayerWnd* m_player = nullptr;  // cleared by the player when its window is gone
};

TEST_F(FullScreenPlayerTest, KeysStepWithinTheAlbumAndEnterEscapeOrSpaceLeave) {
  AddSlides(4);
  struct Case {
    int first;
    WPARAM key;
    int index;  // -1: the window closed
  };
  const Case kCases[] = {
      {0, VK_LEFT, 0}, {1, VK_LEFT, 0},    {2, VK_UP, 1},      {3, VK_RIGHT, 3},
      {1, VK_DOWN, 2}, {1, VK_RIGHT, 2},   {2, VK_HOME, 0},    {0, VK_END, 3},
      {1, 'A', 1},     {1, VK_RETURN, -1}, {2, VK_ESCAPE, -1}, {0, VK_SPACE, -1},
  };
  for (const Case& c : kCases) {
    ResetEvent(m_stop);
    Open(c.first);
    ASSERT_FALSE(Closed());
    Key(c.key);
    if (c.index < 0) {
      EXPECT_TRUE(Closed()) << c.first << " key " << c.key;
      EXPECT_EQ(WaitForSingleObject(m_stop, 0), WAIT_OBJECT_0) << "the music stops with the window";
      continue;
    }
    ASSERT_FALSE(Closed()) << c.first << " key " << c.key;
    EXPECT_EQ(m_player->GetIndex(), c.index) << c.first << " key " << c.key;
    EXPECT_EQ(m_player->GetPaintedIndex(), c.index) << "repainted at once";
    EXPECT_NE(WaitForSingleObject(m_stop, 0), WAIT_OBJECT_0);
    m_player->DestroyWindow();
    ASSERT_TRUE(Closed());
  }
}

TEST_F(FullScreenPlayerTest, TicksAdvanceAndCloseTheWindowATickAfterTheLastSlide) {
  struct Case {
    int slides, first;
    const char* steps;    // t tick, n next key, p pause, r play, x a tick of another timer
    const char* indexes;  // the index after each step; '-' once the window has closed
  };
  const Case kCases[] = {
      {3, 0, "ttt", "12-"},       {1, 0, "t", "-"},  // one slide: the first tick ends it
      {4, 0, "nttt", "1123"},                        // a manual step holds the next tick only
      {4, 1, "ptttrt", "111112"},  // paused ticks change nothing; play resumes with the next one
      {3, 0, "xxt", "001"},        // ticks of other timers are ignored
      {3, 2, "ntt", "22-"},        // a step at the end holds one tick; the next one closes
  };
  for (const Case& c : kCases) {
    AddSlides(c.slides);
    Open(c.first);
    const std::string steps = c.steps;
    for (size_t i = 0; i < steps.size(); ++i) {
      ASSERT_FALSE(Closed()) << c.steps << " step " << i;
      switch (steps[i]) {
        case 't':
          Tick();
          break;
        case 'n':
          Key(VK_RIGHT);
          break;
        case 'p':
          ::PostMessage(m_player->m_hWnd, WM_FULLSCREEN_PLAYER_CMD, kPlayerPause, 0);
          Pump();
          break;
        case 'r':
          ::PostMessage(m_player->m_hWnd, WM_FULLSCREEN_PLAYER_CMD, kPlayerPlay, 0);
          Pump();
          break;
        case 'x':
          ::PostMessage(m_player->m_hWnd, WM_FULLSCREEN_TICK, m_player->GetTimerId() + 1000, 0);
          Pump();
          break;
      }
      if (c.indexes[i] == '-') {
        EXPECT_TRUE(Closed()) << c.steps << " step " << i;
        break;
      }
      ASSERT_FALSE(Closed()) << c.steps << " step " << i;
      EXPECT_EQ(m_player->GetIndex(), c.indexes[i] - '0') << c.steps << " step " << i;
    }
    if (!Closed()) m_player->DestroyWindow();
    while (m_album->GetImageCount() > 0) {
      CDVDImage* slide = m_album->GetImage(0);
      m_album->RemoveDVDImage(slide);
      delete slide;
    }
  }
}

TEST_F(FullScreenPlayerTest, ThePhotoFillsTheScreenAndThePhotoListSelectsTheLastSlideShown) {
  AddSlides(4);
  CListCtrl list;
  ASSERT_TRUE(
      list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 180, 90), CWnd::FromHandle(m_host), 1));
  list.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
  for (int i = 0; i < 4; ++i) list.InsertItem(i, ("photo " + std::to_string(i)).c_str());
  list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  list.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
  GetWindowRegistry()->m_pPhotoListCtrl = &list;

  Open(1);
  Key(VK_RIGHT);
  ASSERT_EQ(m_player->GetIndex(), 2);
  EXPECT_TRUE(m_player->PaintedWithPresenter());
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  const std::string shot = pictavo::test::SaveDesktopArea(RECT{0, 0, w, h}, "render-fullscreen-player.png");
  ASSERT_FALSE(shot.empty());
  pictavo::test::Picture picture;
  ASSERT_TRUE(pictavo::test::ReadPng(shot, &picture));
  ASSERT_EQ(picture.width, w);
  // Slide 2 in the middle of the screen, above every other window.
  const size_t middle = (static_cast<size_t>(h / 2) * picture.width + w / 2) * 3;
  EXPECT_NEAR(picture.rgb[middle], GetRValue(kColours[2]), 12);
  EXPECT_NEAR(picture.rgb[middle + 1], GetGValue(kColours[2]), 12);
  EXPECT_NEAR(picture.rgb[middle + 2], GetBValue(kColours[2]), 12);

  Key(VK_ESCAPE);
  ASSERT_TRUE(Closed());
  for (int i = 0; i < 4; ++i) EXPECT_EQ(list.GetItemState(i, LVIS_SELECTED) != 0, i == 2) << "row " << i;
  list.DestroyWindow();
}

TEST_F(FullScreenPlayerTest, TheContextMenuPlaysPausesStepsAndStops) {
  AddSlides(4);
  Open(1);
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_FULLSCREEN_PLAYER));
  CMenu* popup = menu.GetSubMenu(0);
  ASSERT_NE(popup, nullptr);
  // "Play" is offered only while paused, "Pause" only while playing.
  const auto offered = [&](UINT id) {
    m_player->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup->GetSafeHmenu()), 0);
    return (popup->GetMenuState(id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
  };
  EXPECT_FALSE(offered(ID_FULLSCREEN_PLAY));
  EXPECT_TRUE(offered(ID_FULLSCREEN_PAUSE));
  struct Case {
    UINT command;
    int index;
    bool paused;
  };
  const Case kCases[] = {
      {ID_FULLSCREEN_PAUSE, 1, true}, {ID_FULLSCREEN_NEXT, 2, true},  {ID_FULLSCREEN_LAST, 3, true},
      {ID_FULLSCREEN_NEXT, 3, true},  {ID_FULLSCREEN_FIRST, 0, true}, {ID_FULLSCREEN_PREVIOUS, 0, true},
      {ID_FULLSCREEN_PLAY, 0, false},
  };
  for (const Case& c : kCases) {
    m_player->SendMessage(WM_COMMAND, c.command, 0);
    EXPECT_EQ(m_player->GetIndex(), c.index) << c.command;
    EXPECT_EQ(m_player->IsPaused() != FALSE, c.paused) << c.command;
    EXPECT_EQ(offered(ID_FULLSCREEN_PLAY), c.paused) << c.command;
    EXPECT_EQ(offered(ID_FULLSCREEN_PAUSE), !c.paused) << c.command;
  }
  m_player->SendMessage(WM_COMMAND, ID_FULLSCREEN_STOP, 0);
  Pump();
  EXPECT_TRUE(Closed());
  EXPECT_EQ(WaitForSingleObject(m_stop, 0), WAIT_OBJECT_0);
}

}  // namespace
