// The preview window with its threads on the real 50 ms clock: a run shows the titles, the slides
// in order and the credits and then reports its natural end; a run stopped in the middle and
// started again at once never overlaps the next one; an album without photos ends at once.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "modules/data/AlbumEffect.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "platform/display/Display.h"
#include "platform/res/ResourceModule.h"
#include "render/AlbumPreviewDlg.h"
#include "render/PreviewMessages.h"
#include "tests/render/RenderFixtures.h"
#include "tests/support/HostWindow.h"
#include "tests/support/Snapshot.h"

using rendertest::AddPhotoAlbum;
using rendertest::AddSlide;
using rendertest::MakePhoto;
using rendertest::ScratchDir;

namespace {

// What the frames showed, one entry per run of frames of the same stage and slide.
struct Shown {
  PreviewFrameNote::Stage stage;
  int slide;
  bool operator==(const Shown& o) const {
    return stage == o.stage && (stage != PreviewFrameNote::kSlide || slide == o.slide);
  }
};

class AlbumPreviewDlgTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static const bool initialized = pictavo::display::Initialize();
    ASSERT_TRUE(initialized);
  }
  AlbumPreviewDlgTest() {
    pictavo::res::SetResourceRoot(rendertest::ProgramFolder() + "/resources");
    rendertest::LoadTransitions();
    CDVDProject::g_m_strAppTempPathBase = (m_dir / "base").c_str();
    GetProject()->NewProject();
    m_album = AddPhotoAlbum(*GetProject(), "Holiday");
    m_host = pictavo::test::CreateHostWindow(340, 260);
    m_preview.Create(IDD_ALBUM_PREVIEW, CWnd::FromHandle(m_host));
    m_preview.MoveWindow(10, 10, 320, 240);
    m_preview.ShowWindow(SW_SHOW);
    m_preview.SetFrameObserver([this](const PreviewFrameNote& note) {
      std::lock_guard guard(m_lock);
      const Shown shown{note.stage, note.slide};
      if (m_shown.empty() || !(m_shown.back() == shown)) m_shown.push_back(shown);
      ++m_frames;
    });
  }
  ~AlbumPreviewDlgTest() override {
    m_preview.DestroyWindow();
    DestroyWindow(m_host);
    GetProject()->NewProject();
  }

  void AddSlides(int count) {
    const std::string transition(GetTransitionList()->GetAt(0)->strName);
    for (int i = 0; i < count; ++i)
      AddSlide(*m_album,
               MakePhoto(m_dir / ("p" + std::to_string(i) + ".jpg"), 400, 300,
                         RGB(60 + 60 * i, 120, 200 - 50 * i)),
               1, 1, transition.c_str());
  }
  void TitlesAndCredits(int seconds) {
    for (_ALBUM_TEXT_SETTINGS* text :
         {m_album->GetAlbumEffect()->GetTitleSettings(), m_album->GetAlbumEffect()->GetCreditSettings()}) {
      text->bEnabled = 1;
      text->nDuration = seconds;
    }
  }
  std::vector<Shown> ShownSoFar() {
    std::lock_guard guard(m_lock);
    return m_shown;
  }
  int Frames() {
    std::lock_guard guard(m_lock);
    return m_frames;
  }
  // Waits for WM_PREVIEW_ENDED at the host and answers it as the preview pages do.
  bool WaitForEnd(WPARAM* why) {
    MSG msg;
    if (!pictavo::test::WaitForMessage(m_host, WM_PREVIEW_ENDED, msg, 60000)) return false;
    *why = msg.wParam;
    m_preview.Stop();
    return true;
  }

  ScratchDir m_dir;
  CDVDAlbumImage* m_album = nullptr;
  HWND m_host = nullptr;
  AlbumPreviewDlg m_preview;
  std::mutex m_lock;
  std::vector<Shown> m_shown;  // guarded by m_lock
  int m_frames = 0;            // guarded by m_lock
};

TEST_F(AlbumPreviewDlgTest, ARunShowsTitlesSlidesAndCreditsInOrderThenEnds) {
  AddSlides(3);
  TitlesAndCredits(1);
  m_preview.m_bFromBeginning = TRUE;
  m_preview.PlayAlbum(0);
  EXPECT_TRUE(m_preview.IsPlaying());
  // A picture of the run while a slide shows.
  ASSERT_TRUE(pictavo::test::PumpUntil(
      [&] {
        const auto shown = ShownSoFar();
        return !shown.empty() && shown.back().stage == PreviewFrameNote::kSlide && shown.back().slide == 1;
      },
      30000));
  RECT area;
  GetWindowRect(m_host, &area);
  EXPECT_FALSE(pictavo::test::SaveDesktopArea(area, "render-preview-playing.png").empty());
  WPARAM why = 0;
  ASSERT_TRUE(WaitForEnd(&why));
  EXPECT_EQ(why, static_cast<WPARAM>(PREVIEW_ENDED_NATURAL));
  EXPECT_FALSE(m_preview.IsPlaying());
  const std::vector<Shown> expected = {{PreviewFrameNote::kTitle, 0},
                                       {PreviewFrameNote::kSlide, 0},
                                       {PreviewFrameNote::kSlide, 1},
                                       {PreviewFrameNote::kSlide, 2},
                                       {PreviewFrameNote::kCredit, 0}};
  EXPECT_EQ(ShownSoFar(), expected);
  // About 20 frames a second for 1 + 6 + 1 seconds, fewer only by frames dropped.
  EXPECT_GT(Frames(), 60);
  EXPECT_LE(Frames(), 8 * 20);
}

TEST_F(AlbumPreviewDlgTest, AStopInTheMiddleAndAStartAtOnceNeverOverlap) {
  AddSlides(4);
  TitlesAndCredits(1);
  m_preview.m_bFromBeginning = TRUE;
  m_preview.PlayAlbum(0);
  ASSERT_TRUE(pictavo::test::PumpUntil(
      [&] {
        const auto shown = ShownSoFar();
        return !shown.empty() && shown.back().stage == PreviewFrameNote::kSlide;
      },
      30000));
  // Playing again stops the run and waits for all its threads before the next one starts.
  m_preview.PlayAlbum(0);
  const auto afterRestart = ShownSoFar();
  ASSERT_FALSE(afterRestart.empty());
  EXPECT_EQ(afterRestart.back().stage, PreviewFrameNote::kSlide)
      << "the first run drew nothing after its stop";
  {
    std::lock_guard guard(m_lock);
    m_shown.clear();
  }
  // A second stop right away, then a start: the second run plays whole.
  m_preview.Stop();
  EXPECT_FALSE(m_preview.IsPlaying());
  m_preview.PlayAlbum(0);
  WPARAM why = 0;
  ASSERT_TRUE(WaitForEnd(&why));
  EXPECT_EQ(why, static_cast<WPARAM>(PREVIEW_ENDED_NATURAL));
  const auto shown = ShownSoFar();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.front().stage, PreviewFrameNote::kTitle);
  EXPECT_EQ(shown.back().stage, PreviewFrameNote::kCredit);
  // The stopped runs never reported an end of their own.
  MSG msg;
  EXPECT_FALSE(PeekMessage(&msg, m_host, WM_PREVIEW_ENDED, WM_PREVIEW_ENDED, PM_REMOVE));
}

TEST_F(AlbumPreviewDlgTest, AnAlbumWithoutPhotosOrOfNoLengthEndsAtOnce) {
  ASSERT_NE(m_preview.GetSafeHwnd(), nullptr);
  ASSERT_EQ(::GetParent(m_preview.m_hWnd), m_host);
  ASSERT_EQ(GetProject()->GetAlbumCount(), 1);
  m_preview.PlayAlbum(0);
  WPARAM why = 0;
  ASSERT_TRUE(WaitForEnd(&why));
  EXPECT_EQ(why, static_cast<WPARAM>(PREVIEW_ENDED_NATURAL));
  EXPECT_EQ(Frames(), 0);
  EXPECT_FALSE(m_preview.IsPlaying());
  // Photos of no length and no titles or credits: nothing to play either, nothing divided by it.
  AddSlides(2);
  for (int i = 0; i < 2; ++i) {
    m_album->GetImage(i)->Put_nOneDuration(0);
    m_album->GetImage(i)->Put_nTwoDuration(0);
  }
  ASSERT_EQ(m_album->GetTotalLength(), 0);
  m_preview.PlayAlbum(0);
  ASSERT_TRUE(WaitForEnd(&why));
  EXPECT_EQ(why, static_cast<WPARAM>(PREVIEW_ENDED_NATURAL));
  EXPECT_EQ(Frames(), 0);
}

}  // namespace
