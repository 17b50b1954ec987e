// Durations: a slide's transition (One) and display (Two) seconds with -1 meaning the album's,
// the slideshow length and time positions, titles and credits, and the frame counts.
#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDProject.h"
#include "modules/data/OutputProfile.h"

namespace {

struct Slide {
  int one, two;  // as stored; -1 takes the album's
};

struct Case {
  const char* what;
  int albumOne, albumTwo;
  std::vector<Slide> slides;
  int title, credits;         // seconds; 0 leaves them off
  std::vector<int> one;       // Get_nOneDuration(i) for i = -1 .. n (one past the last)
  std::vector<int> two;       // Get_nTwoDuration(i) for i = -1 .. n
  std::vector<int> length;    // Get_nSlideshowLen(i) for i = -1 .. n
  std::vector<int> position;  // Get_nSlideshowTimePos(i) for i = 0 .. n
  int total;                  // titles + slides + credits
};

const Case kCases[] = {
    {"album values only",
     2,
     3,
     {{-1, -1}, {-1, -1}},
     0,
     0,
     {2, 2, 2, 2},
     {3, 3, 3, 3},
     {10, 5, 10, 10},
     {0, 5, 10},
     10},
    {"own values win",
     2,
     3,
     {{4, -1}, {-1, 6}, {0, 1}},
     0,
     0,
     {2, 4, 2, 0, 2},
     {3, 3, 6, 1, 3},
     {16, 7, 15, 16, 16},
     {0, 7, 15, 16},
     16},
    {"titles and credits", 1, 4, {{-1, -1}}, 5, 7, {1, 1, 1}, {4, 4, 4}, {5, 5, 5}, {0, 5}, 17},
    {"no slides", 2, 3, {}, 3, 0, {2, 2}, {3, 3}, {0, 0}, {0}, 3},
    {"totals stop at INT_MAX",
     2,
     3,
     {{INT_MAX, INT_MAX}, {-1, -1}},
     INT_MAX,
     0,
     {2, INT_MAX, 2, 2},
     {3, INT_MAX, 3, 3},
     {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
     {0, INT_MAX, INT_MAX},
     INT_MAX},
};

void SetText(_ALBUM_TEXT_SETTINGS& text, int seconds) {
  text.bEnabled = seconds > 0;
  text.nDuration = seconds;
}

}  // namespace

TEST(AlbumDurations, FollowTheSlideThenTheAlbum) {
  for (const Case& c : kCases) {
    CDVDAlbumImage album;
    album.Set_nOneDuration(-1, c.albumOne);
    album.Set_nTwoDuration(-1, c.albumTwo);
    for (const Slide& s : c.slides) {
      auto* slide = new CDVDImage(&album);
      slide->Put_nOneDuration(s.one);
      slide->Put_nTwoDuration(s.two);
      album.AddDVDImage(slide);
    }
    SetText(*album.GetAlbumEffect()->GetTitleSettings(), c.title);
    SetText(*album.GetAlbumEffect()->GetCreditSettings(), c.credits);
    for (size_t i = 0; i < c.one.size(); ++i) {
      const int index = static_cast<int>(i) - 1;
      EXPECT_EQ(album.Get_nOneDuration(index), c.one[i]) << c.what << " One(" << index << ")";
      EXPECT_EQ(album.Get_nTwoDuration(index), c.two[i]) << c.what << " Two(" << index << ")";
      EXPECT_EQ(album.Get_nSlideshowLen(index), c.length[i]) << c.what << " Len(" << index << ")";
    }
    for (size_t i = 0; i < c.position.size(); ++i)
      EXPECT_EQ(album.Get_nSlideshowTimePos(static_cast<int>(i)), c.position[i])
          << c.what << " TimePos(" << i << ")";
    EXPECT_EQ(album.Get_nTitleDuration(), c.title) << c.what;
    EXPECT_EQ(album.Get_nCreditDuration(), c.credits) << c.what;
    EXPECT_EQ(album.GetTotalLength(), c.total) << c.what;
    EXPECT_EQ(album.GetEncodeMusicLength(), std::min(c.total * 1000ULL, 0xFFFFFFFFULL)) << c.what;
  }
}

TEST(AlbumDurations, DisabledTitlesCountNothing) {
  CDVDAlbumImage album;
  _ALBUM_TEXT_SETTINGS& title = *album.GetAlbumEffect()->GetTitleSettings();
  title.bEnabled = 0;
  title.nDuration = 9;
  EXPECT_EQ(album.Get_nTitleDuration(), 0);
  EXPECT_FALSE(album.GetAlbumEffect()->HasTitleEffect());
  title.bEnabled = 1;
  EXPECT_EQ(album.Get_nTitleDuration(), 9);
  EXPECT_TRUE(album.GetAlbumEffect()->HasTitleEffect());
}

TEST(AlbumDurations, MatchToMusicUndoAndReset) {
  CDVDAlbumImage album;
  for (int i = 0; i < 4; ++i) {
    auto* slide = new CDVDImage(&album);
    slide->Put_nOneDuration(i);
    slide->Put_nTwoDuration(10 + i);
    album.AddDVDImage(slide);
  }
  _AUDIO_SOURCE music;
  music.nSourceLength = music.nTrimEnd = 60000;  // one minute
  album.AddBackgroundMusic(music);
  album.CopyDVDImageDuration();
  album.MatchSlideshowToAudioDuration(3);
  EXPECT_TRUE(album.HasSavedDuration());
  EXPECT_EQ(album.Get_nOneDuration(0), 3);
  EXPECT_EQ(album.Get_nTwoDuration(0), (60 - 4 * 3) / 4);
  EXPECT_EQ(album.Get_nSlideshowLen(-1), 60);
  ASSERT_TRUE(album.UndoDVDImageDuration());
  EXPECT_FALSE(album.HasSavedDuration());
  EXPECT_EQ(album.Get_nOneDuration(2), 2);
  EXPECT_EQ(album.Get_nTwoDuration(3), 13);
  album.ResetDVDImageDuration();
  EXPECT_EQ(album.GetImage(3)->Get_nTwoDuration(), -1);
  EXPECT_EQ(album.Get_nTwoDuration(3), album.Get_nTwoDuration(-1));
}

TEST(ProjectFrames, FrameRateFollowsTheActiveProfileElseTheTvSystem) {
  CAVOutputProfileManager* manager = CDVDProject::GetAVOutputProfileManager();
  manager->Set_pActiveProfileGroup(nullptr);
  CDVDProject project;
  project.GetOptionsData()->nTVSystem = 1;
  EXPECT_EQ(project.Get_nFramesPerSecond(), 25);
  project.GetOptionsData()->nTVSystem = 0;
  EXPECT_EQ(project.Get_nFramesPerSecond(), 30);
}

TEST(ProjectFrames, TotalFramesCountTitlesSlidesCreditsAndClips) {
  CDVDProject::GetAVOutputProfileManager()->Set_pActiveProfileGroup(nullptr);
  CDVDProject project;
  project.GetOptionsData()->nTVSystem = 1;  // 25 frames per second
  struct AlbumCase {
    int slides, one, two, title, credits;
  };
  const AlbumCase albums[] = {{3, 2, 4, 5, 0}, {1, 0, 7, 0, 3}};
  int expected = 0;
  for (const AlbumCase& a : albums) {
    CDVDAlbumImage* album = project.AllocImageAlbum(nullptr);
    project.AddAlbum(album);
    album->Set_nOneDuration(-1, a.one);
    album->Set_nTwoDuration(-1, a.two);
    for (int i = 0; i < a.slides; ++i) album->AddDVDImage(new CDVDImage(album));
    SetText(*album->GetAlbumEffect()->GetTitleSettings(), a.title);
    SetText(*album->GetAlbumEffect()->GetCreditSettings(), a.credits);
    expected += (a.slides * (a.one + a.two) + a.title + a.credits) * 25;
  }
  // A video album counts its length to the nearest second: 2.6 s + 1.4 s of clips is 4 s.
  CDVDAlbumMovie* clips = project.AllocMovieAlbum(nullptr);
  project.AddAlbum(clips);
  for (DWORD ms : {2600u, 1400u}) {
    auto* item = new _DV_LIST_ITEM_DATA;
    item->pSource = new _DV_SOURCE;
    item->pSource->dwDuration = item->pSource->dwEnd = ms;
    clips->InsertVideoItemData(item, nullptr);
  }
  EXPECT_EQ(clips->GetAlbumDuration(), 4000u);
  expected += 4 * 25;
  EXPECT_EQ(project.GetTotalFrames(), expected);
  EXPECT_EQ(project.GetTotalImages(), 4);
  EXPECT_EQ(project.GetTotalVidepClips(), 2);

  // However long the albums, the total stops at INT_MAX instead of overflowing.
  for (int i = 0; i < 2; ++i) {
    CDVDAlbumImage* album = project.AllocImageAlbum(nullptr);
    project.AddAlbum(album);
    SetText(*album->GetAlbumEffect()->GetTitleSettings(), INT_MAX);
  }
  EXPECT_EQ(project.GetTotalFrames(), INT_MAX);
}
