#include <gtest/gtest.h>

#include "tests/editing/TimelineFixture.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"

namespace timelinetest {
namespace {

using pictavo::test::PumpPending;

// Pixels of `colour` (within a small tolerance) inside `area` of the picture.
int Count(const pictavo::test::Picture& picture, const RECT& area, COLORREF colour) {
  int n = 0;
  for (int y = std::max(0L, static_cast<long>(area.top)); y < std::min<long>(area.bottom, picture.height);
       ++y) {
    for (int x = std::max(0L, static_cast<long>(area.left)); x < std::min<long>(area.right, picture.width);
         ++x) {
      const COLORREF c = picture.At(x, y);
      if (std::abs(GetRValue(c) - GetRValue(colour)) < 40 &&
          std::abs(GetGValue(c) - GetGValue(colour)) < 40 && std::abs(GetBValue(c) - GetBValue(colour)) < 40)
        ++n;
    }
  }
  return n;
}

// Pixels inside `area` where one channel clearly outweighs the other two: the ink of small
// anti-aliased text in that colour. channel 0 red, 2 blue.
int Dominant(const pictavo::test::Picture& picture, const RECT& area, int channel) {
  int n = 0;
  for (int y = area.top; y < std::min<long>(area.bottom, picture.height); ++y) {
    for (int x = area.left; x < std::min<long>(area.right, picture.width); ++x) {
      const COLORREF c = picture.At(x, y);
      const int v[3] = {GetRValue(c), GetGValue(c), GetBValue(c)};
      if (v[channel] > v[(channel + 1) % 3] + 80 && v[channel] > v[(channel + 2) % 3] + 80) ++n;
    }
  }
  return n;
}

class TimelineViewTest : public TimelineTest {
 protected:
  // The timeline as the user sees it, saved as `name` and read back; areas in client coordinates.
  pictavo::test::Picture Snapshot(const std::string& name) {
    m_owner.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpPending();
    CRect window;
    m_timeline.GetWindowRect(&window);
    const std::string path = pictavo::test::SaveDesktopArea(window, name);
    pictavo::test::Picture picture;
    EXPECT_TRUE(pictavo::test::ReadPng(path, &picture)) << path;
    return picture;
  }
};

TEST_F(TimelineViewTest, EmptyAlbumShowsWhatToDo) {
  Rebuild();
  const auto picture = Snapshot("timeline-empty.png");
  // The grey hint text sits in each track's band, none of it past the bands.
  EXPECT_GT(Count(picture, {0, 30, picture.width, 70}, RGB(160, 160, 160)), 50);
  EXPECT_GT(Count(picture, {0, 100, picture.width, 125}, RGB(160, 160, 160)), 50);
}

TEST_F(TimelineViewTest, AlbumWithTitlesSlidesCreditsAndMusic) {
  SetTitles(5, 6);
  const char* const photos[] = {"beach_landscape.jpg", "tower_portrait.jpg", "valley_large.jpg",
                                "wide_panorama.jpg", "bars_small.jpg"};
  for (const char* photo : photos) AddSlide(-1, -1, photo)->UpdateThumbnail();
  m_album->GetImage(1)->Put_nTwoDuration(9);  // its own display time: red
  m_album->GetImage(1)->Put_nOneDuration(3);  // its own transition time: red
  _AUDIO_SOURCE note = Clip("music.mp3", 0, 2000);
  m_album->GetImage(2)->SetAnnotation(&note);
  for (int i = 0; i < m_album->GetImageCount(); ++i)
    m_album->GetImage(i)->Set_strTransName(
        GetTransitionList()->GetAt(i % GetTransitionList()->GetSize())->strName);
  m_album->AddBackgroundMusic(Clip("music.mp3", 0, 14000));
  m_album->AddBackgroundMusic(Clip("music.mp3", 14000, 9000));
  m_album->m_pCurImage = m_album->GetImage(0);
  Rebuild();
  m_timeline.SendMessage(WM_TIMELINE_LOOP_AUDIO, 1, 0);
  // The mouse rests on the second photo.
  const CTimelineItem* hot = Photos().GetItem(4);
  pictavo::user::InjectMouseMove(ScreenPointOf(hot, 0, -20));
  PumpPending();
  const auto picture = Snapshot("timeline-album.png");
  ASSERT_EQ(picture.height, 125 + GetSystemMetrics(SM_CYHSCROLL));

  // Slide numbers and default durations in blue; the second slide's own durations in red.
  const RECT firstDuration = {140 + 10, 76, 140 + 40, 91};   // first photo cell starts at 80 + 60
  const RECT secondDuration = {300 + 10, 76, 300 + 40, 91};  // second at 300
  EXPECT_GT(Dominant(picture, firstDuration, 2), 5);
  EXPECT_EQ(Dominant(picture, firstDuration, 0), 0);
  EXPECT_GT(Dominant(picture, secondDuration, 0), 5);
  EXPECT_EQ(Dominant(picture, secondDuration, 2), 0);
  const RECT secondTransition = {240 + 10, 25 + 34, 240 + 50, 25 + 46};
  EXPECT_GT(Dominant(picture, secondTransition, 0), 5);
  // Thumbnails fill their places: the beach photo is no flat colour.
  const RECT thumb = {150, 15, 230, 75};
  EXPECT_LT(Count(picture, thumb, picture.At(190, 45)), 80 * 60 * 9 / 10);
  // Music clips in the lower band and the loop band after the last one, up to the strip's end.
  EXPECT_GT(Count(picture, {0, 105, picture.width, 125}, RGB(247, 216, 121)), 0);
  EXPECT_GT(Count(picture, {0, 105, 300, 125}, RGB(195, 218, 248)), 200);

  // Scrolled to the end: the credits cell and the loop band show.
  m_timeline.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10000), 0);
  const auto scrolled = Snapshot("timeline-album-end.png");
  EXPECT_GT(m_timeline.GetScrollPosition(), 0);
  EXPECT_GT(Count(scrolled, {0, 105, scrolled.width, 125}, RGB(247, 216, 121)), 100);
}

}  // namespace
}  // namespace timelinetest
