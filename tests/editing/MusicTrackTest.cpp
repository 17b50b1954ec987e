// The timeline's music track: moving and nudging clips, their order for the page, and the clip
// preview's life from its start call to its thread's end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/List.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/Wait.h"
#include "tests/editing/TimelineFixture.h"
#include "tests/support/MessageWindow.h"

namespace timelinetest {
namespace {

using pictavo::test::MessageWindow;
using pictavo::test::PumpPending;

// Two slides of 2 + 4 seconds (the photo track lasts 12 s) and clips A 0-3 s, B 3-6 s, C 8-10 s.
class MusicTrackTest : public TimelineTest {
 protected:
  void SetUp() override {
    TimelineTest::SetUp();
    m_album->m_nOneDuration = 2;
    m_album->m_nTwoDuration = 4;
    AddSlide();
    AddSlide();
    m_album->AddBackgroundMusic(Clip("music.mp3", 0, 3000));
    m_album->AddBackgroundMusic(Clip("music.mp3", 3000, 3000));
    m_album->AddBackgroundMusic(Clip("music.mp3", 8000, 2000));
    Rebuild();
    m_timeline.UpdateWindow();
    ASSERT_EQ(Music().GetCount(), 3);
    ASSERT_EQ(Photos().GetTotalDuration(), 12000);
    for (int i = 0; i < 3; ++i) m_clips.push_back(static_cast<CTLMusicItem*>(Music().GetItem(i))->m_pSource);
  }
  void Place(std::vector<std::pair<int, int>> startAndLength) {
    for (size_t i = 0; i < m_clips.size(); ++i)
      *m_clips[i] = Clip("music.mp3", startAndLength[i].first, startAndLength[i].second);
    Music().SortClipsByStart();
  }
  CTLMusicItem* ItemOf(const _AUDIO_SOURCE* source) {
    for (int i = 0; i < Music().GetCount(); ++i)
      if (auto* item = static_cast<CTLMusicItem*>(Music().GetItem(i)); item->m_pSource == source) return item;
    return nullptr;
  }
  std::vector<int> Starts() const {
    std::vector<int> starts;
    for (const _AUDIO_SOURCE* s : m_clips) starts.push_back(s->nStartPos);
    return starts;
  }
  std::vector<_AUDIO_SOURCE*> m_clips;  // A, B, C
};

TEST_F(MusicTrackTest, MoveClipPushesOrCutsTheOthers) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, int>> placed;
    int moved, to;
    WPARAM answer;
    bool asked;
    std::vector<int> starts, trimEnds;
  };
  const Case kCases[] = {
      {"later: the clips from the new start on follow back to back",
       {{0, 2000}, {5000, 3000}, {9000, 1000}},
       0,
       2000,
       IDOK,
       false,
       {2000, 4000, 7000},
       {2000, 3000, 1000}},
      {"earlier into a gap",
       {{0, 2000}, {5000, 3000}, {9000, 1000}},
       1,
       2000,
       IDOK,
       false,
       {0, 2000, 8000},
       {2000, 3000, 1000}},
      {"onto the middle of another, cut",
       {{0, 3000}, {3000, 3000}, {8000, 2000}},
       2,
       1000,
       IDOK,
       true,
       {0, 3000, 1000},
       {1000, 3000, 2000}},
      {"onto the middle of another, cancelled",
       {{0, 3000}, {3000, 3000}, {8000, 2000}},
       2,
       1000,
       IDCANCEL,
       true,
       {0, 3000, 8000},
       {3000, 3000, 2000}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Place(c.placed);
    g_boxTexts.clear();
    g_answer = c.answer;
    Music().MoveClip(ItemOf(m_clips[c.moved]), c.to);
    EXPECT_EQ(!g_boxTexts.empty(), c.asked);
    EXPECT_EQ(Starts(), c.starts);
    std::vector<int> ends;
    for (const _AUDIO_SOURCE* s : m_clips) ends.push_back(s->nTrimEnd);
    EXPECT_EQ(ends, c.trimEnds);
    // The track stays sorted by start.
    for (int i = 1; i < Music().GetCount(); ++i)
      EXPECT_LE(static_cast<CTLMusicItem*>(Music().GetItem(i - 1))->m_pSource->nStartPos,
                static_cast<CTLMusicItem*>(Music().GetItem(i))->m_pSource->nStartPos);
  }
}

TEST_F(MusicTrackTest, NudgingStaysWithinTheSlideshow) {
  struct Case {
    const char* name;
    int clip, seconds;
    std::vector<int> starts;
  };
  const Case kCases[] = {
      {"-1 s at 0 stays at 0; the clips behind it close up", 0, -1, {0, 3000, 6000}},
      {"+1 s: the clips behind it follow back to back", 1, 1, {0, 4000, 7000}},
      {"past the end stops at the end", 2, 30, {0, 3000, 12000}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Place({{0, 3000}, {3000, 3000}, {8000, 2000}});
    g_answer = IDOK;
    Music().NudgeClip(m_clips[c.clip], c.seconds);
    EXPECT_EQ(Starts(), c.starts);
  }
  Place({{0, 3000}, {3000, 3000}, {8000, 2000}});
  g_boxTexts.clear();
  _AUDIO_SOURCE stranger = Clip("music.mp3", 0, 1000);
  Music().NudgeClip(&stranger, 1);
  EXPECT_EQ(Starts(), (std::vector<int>{0, 3000, 8000}));
  EXPECT_TRUE(g_boxTexts.empty());

  // The page's ">>" on the selected row nudges through the track, and its row order follows.
  m_page.FillMusicList(m_album);
  m_page.SelectMusicRow(0);
  m_page.SendMessage(WM_MUSIC_BAR_NOTIFY, 7, 0);
  PumpPending();
  EXPECT_EQ(m_clips[0]->nStartPos, 1000);
}

TEST_F(MusicTrackTest, TimeToXWalksThePhotoItems) {
  struct Case {
    const char* name;
    int one;  // transition seconds
    int t, x;
  };
  // Transition cells are 60 pixels, photos 100: with 2 + 4 s, 0-60, 60-160, 160-220, 220-320.
  const Case kCases[] = {
      {"start", 2, 0, 0},
      {"half into the first transition", 2, 1000, 30},
      {"a quarter into the first photo", 2, 3000, 85},
      {"the last millisecond", 2, 11999, 319},
      {"the end is the last item's right edge", 2, 12000, 320},
      {"past the end", 2, 99000, 320},
      {"a transition of 0 s is never where a time lies", 0, 0, 60},
      {"the second photo without transitions", 0, 4000, 220},
  };
  for (const Case& c : kCases) {
    m_album->m_nOneDuration = c.one;
    Rebuild();
    m_timeline.UpdateWindow();
    EXPECT_EQ(Music().TimeToX(c.t), c.x) << c.name;
  }
  while (m_album->GetImageCount() > 0) m_album->RemoveDVDImage(m_album->GetImage(0));
  Rebuild();
  EXPECT_EQ(Music().TimeToX(5000), 0) << "an empty photo track";
}

TEST_F(MusicTrackTest, ClipEntriesComeInTrackOrder) {
  Place({{8000, 1000}, {0, 2000}, {3000, 1000}});
  CPtrList list;
  list.AddTail(static_cast<void*>(m_clips[0]));
  Music().GetClipEntries(list);
  std::vector<void*> got;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) got.push_back(list.GetNext(pos));
  EXPECT_EQ(got, (std::vector<void*>{m_clips[1], m_clips[2], m_clips[0]}));
}

TEST_F(MusicTrackTest, PreviewRunsFromTheStartCallAndEndsAlikeEveryWay) {
  MessageWindow owner;
  CWnd* notify = CWnd::FromHandle(owner.Handle());
  // Stopped by the caller: a second start is refused while the first plays.
  ASSERT_NE(Music().StartPreview(notify, 0, 1, 1), nullptr);
  EXPECT_TRUE(Music().IsPlaying());
  g_boxTexts.clear();
  g_answer = IDOK;
  Music().StartPreview(notify, 0, 1, 1);
  EXPECT_EQ(g_boxTexts, std::vector<std::string>{"Already playing, please play again later!"});
  Music().StopPreview();
  EXPECT_FALSE(Music().IsPlaying());
  EXPECT_EQ(WaitForSingleObject(Music().GetDoneEvent(), 0), WAIT_OBJECT_0);
  MSG msg;
  EXPECT_TRUE(owner.WaitFor(WM_AUDIO_PREVIEW_DONE, msg, 10000));
  Music().StopPreview();  // nothing plays: returns at once

  // Played to the end: half a second before the slideshow ends.
  ASSERT_NE(Music().StartPreview(notify, 11500, 0, 0), nullptr);
  EXPECT_EQ(WaitForSingleObject(Music().GetDoneEvent(), 20000), WAIT_OBJECT_0);
  EXPECT_TRUE(owner.WaitFor(WM_AUDIO_PREVIEW_DONE, msg, 10000));
  EXPECT_FALSE(Music().IsPlaying());

  // A preview still playing when the page goes: the track waits for its thread.
  ASSERT_NE(Music().StartPreview(notify, 0, 1, 1), nullptr);
}

TEST_F(MusicTrackTest, PreviewCutsAnnotationsOnlyInItsPlan) {
  _AUDIO_SOURCE note = Clip("music.mp3", 0, 9000);
  note.nSourceLength = 20000;
  m_album->GetImage(1)->SetAnnotation(&note);
  const _AUDIO_SOURCE before = *m_album->GetImage(1)->GetAnnotation();
  Rebuild();
  ASSERT_NE(Music().StartPreview(nullptr, 11000, 0, 1), nullptr);
  Music().StopPreview();
  EXPECT_EQ(*m_album->GetImage(1)->GetAnnotation(), before);
  int start = 0;
  ASSERT_TRUE(Photos().GetStartTime(Photos().GetItem(3), start));  // the second photo
  const auto& pieces = Music().GetPreviewPlan().pieces;
  ASSERT_FALSE(pieces.empty());
  EXPECT_EQ(pieces.back().startMs, start);
  EXPECT_EQ(pieces.back().lengthMs, 12000 - start);
}

}  // namespace
}  // namespace timelinetest
