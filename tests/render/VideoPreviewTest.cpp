// The video album's preview page on the headless display with the 6 s sample clip: Play runs the
// album's timeline and turns the buttons to playing; a second Play while it runs changes nothing;
// at the clip's end the graph stops and the buttons come back to stopped by themselves; Stop
// when stopped only resets the buttons; an album without clips does not play; hiding stops.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDProject.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/res/ResourceModule.h"
#include "render/VideoPreviewContainer.h"
#include "shell/SkinMinor.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/MessagePump.h"

namespace fs = std::filesystem;

namespace {

class VideoPreviewTest : public shelltest::RegistryFixture {
 protected:
  static void SetUpTestSuite() {
    setenv("SDL_AUDIODRIVER", "dummy", 1);  // the clip's sound plays nowhere
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    InitCommonControls();
    g_skinMinor.Load((std::string(std::getenv("PICTAVO_SOURCE_DIR")) + "/data").c_str(), "zel_en.xml", FALSE);
  }
  void SetUp() override {
    ASSERT_TRUE(
        owner.CreateEx(0, nullptr, "Owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 800, 420), nullptr, 0));
    ASSERT_TRUE(container.Create(IDD_VIDEO_PREVIEW_CONTAINER, &owner));
    container.MoveWindow(0, 0, 800, 420);
    container.ShowWindow(SW_SHOW);
    const fs::path clip = fs::path(std::getenv("PICTAVO_SOURCE_DIR")) / "samples/media/clip.mp4";
    ASSERT_TRUE(fs::exists(clip)) << "run samples/make-samples.sh";
    ASSERT_NE(movie.InsertVideoFile(clip.c_str(), clip.c_str(), nullptr, 0), nullptr);
    pictavo::test::PumpPending();
  }
  void TearDown() override {
    container.DestroyWindow();
    owner.DestroyWindow();
    pictavo::test::PumpPending();
    CWnd::DeleteTempMap();
  }
  bool Playing() { return container.GetPage()->IsPlaying() != FALSE; }

  CDVDAlbumMovie movie{GetProject()};
  CDVDAlbumMovie* shown = &movie;
  CWnd owner;
  CVideoPreviewContainer container{&shown};
};

TEST_F(VideoPreviewTest, PlaysToTheEndAndTheButtonsComeBackByThemselves) {
  ASSERT_FALSE(container.IsShowingPlaying());
  container.Play();
  ASSERT_TRUE(pictavo::test::PumpUntil([&] { return container.IsShowingPlaying() != FALSE; }));
  EXPECT_TRUE(Playing());
  // A second Play while it runs: the same run goes on.
  CTimelineProject* timeline = g_pTimelineProject;
  container.Play();
  EXPECT_EQ(g_pTimelineProject, timeline);
  EXPECT_TRUE(Playing());
  // The clip lasts 6 s.
  ASSERT_TRUE(pictavo::test::PumpUntil([&] { return container.IsShowingPlaying() == FALSE; }, 30000));
  EXPECT_FALSE(Playing());
  // Stop when stopped: the buttons stay stopped.
  container.StopPreview();
  pictavo::test::PumpPending();
  EXPECT_FALSE(container.IsShowingPlaying());
}

TEST_F(VideoPreviewTest, HidingStopsAndAnAlbumWithoutClipsDoesNotPlay) {
  container.Play();
  ASSERT_TRUE(pictavo::test::PumpUntil([&] { return container.IsShowingPlaying() != FALSE; }));
  container.ShowWindow(SW_HIDE);
  ASSERT_TRUE(pictavo::test::PumpUntil([&] { return container.IsShowingPlaying() == FALSE; }));
  EXPECT_FALSE(Playing());
  container.ShowWindow(SW_SHOW);
  CDVDAlbumMovie empty(GetProject());
  shown = &empty;
  container.Play();
  pictavo::test::PumpPending();
  EXPECT_FALSE(container.IsShowingPlaying());
  shown = nullptr;
  container.Play();
  pictavo::test::PumpPending();
  EXPECT_FALSE(container.IsShowingPlaying());
}

}  // namespace
