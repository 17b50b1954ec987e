#include <gtest/gtest.h>

#include "editing/TimelineItemPaint.h"
#include "tests/editing/TimelineFixture.h"

namespace timelinetest {
namespace {

using pictavo::test::PumpPending;

// How many of `message` wait in the timeline's queue (left there).
int Queued(HWND window, UINT message) {
  std::vector<MSG> taken;
  MSG msg;
  while (PeekMessage(&msg, window, message, message, PM_REMOVE)) taken.push_back(msg);
  for (const MSG& m : taken) PostMessage(m.hwnd, m.message, m.wParam, m.lParam);
  return static_cast<int>(taken.size());
}

TEST_F(TimelineTest, RebuildWaitsForThePaintAndRunsOnceHoweverManyRequests) {
  struct Case {
    int title, slides, credit, music;
    const char* kinds;
    int width;
    bool musicRebuild;
  };
  const Case cases[] = {
      {0, 0, 0, 1, "", 0, false},       // empty album: text only, no music rebuild
      {5, 0, 0, 1, "T", 80, true},      // titles alone still bring the music
      {0, 2, 0, 2, "tptp", 320, true},  //
      {3, 3, 4, 1, "TtptptpC", 80 + 480 + 80, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kinds);
    m_album->RemoveAllBackgroundMusic();
    while (m_album->GetImageCount() > 0) {
      CDVDImage* slide = m_album->GetImage(0);
      m_album->RemoveDVDImage(slide);
      delete slide;
    }
    SetTitles(c.title, c.credit);
    for (int i = 0; i < c.slides; ++i) AddSlide();
    for (int i = 0; i < c.music; ++i) m_album->AddBackgroundMusic(Clip("music.mp3", i * 3000, 3000));

    const int before = Photos().GetCount();
    for (int i = 0; i < 3; ++i) m_timeline.SendMessage(WM_TIMELINE_REBUILD, 0, 0);
    EXPECT_TRUE(m_timeline.IsRebuildPending());
    EXPECT_EQ(Photos().GetCount(), before);  // nothing until the paint
    m_timeline.UpdateWindow();
    EXPECT_FALSE(m_timeline.IsRebuildPending());
    EXPECT_EQ(Kinds(Photos()), c.kinds);
    EXPECT_EQ(m_timeline.GetTotalWidth(), c.width);
    EXPECT_EQ(m_timeline.GetScrollPosition(), 0);
    EXPECT_EQ(Queued(m_timeline.m_hWnd, WM_TIMELINE_SCROLL_TO_CURRENT), 1);
    EXPECT_EQ(Queued(m_timeline.m_hWnd, WM_TIMELINE_REBUILD_MUSIC), c.musicRebuild ? 1 : 0);
    PumpPending();
    EXPECT_EQ(Music().GetCount(), c.musicRebuild ? c.music : 0);
  }
}

TEST_F(TimelineTest, ItemsLieEndToEndWithTheirClassWidthsAndSlideDurations) {
  m_album->m_nOneDuration = 2;
  m_album->m_nTwoDuration = 4;
  SetTitles(5, 7);
  AddSlide();       // album's 2 + 4
  AddSlide(3, 10);  // its own
  AddSlide(-1, 6);  // own display only
  Rebuild();
  struct Case {
    int left, right, top, bottom, duration, start;
  };
  const Case cases[] = {
      {0, 80, 0, 100, 5000, 0},        {80, 140, 0, 100, 2000, 5000},    {140, 240, 0, 100, 4000, 7000},
      {240, 300, 0, 100, 3000, 11000}, {300, 400, 0, 100, 10000, 14000}, {400, 460, 0, 100, 2000, 24000},
      {460, 560, 0, 100, 6000, 26000}, {560, 640, 0, 100, 7000, 32000},
  };
  ASSERT_EQ(Kinds(Photos()), "TtptptpC");
  for (int i = 0; i < Photos().GetCount(); ++i) {
    const Case& c = cases[i];
    CTimelineItem* item = Photos().GetItem(i);
    EXPECT_EQ(item->m_rcLayout.left, c.left) << i;
    EXPECT_EQ(item->m_rcLayout.right, c.right) << i;
    EXPECT_EQ(item->m_rcLayout.top, c.top) << i;
    EXPECT_EQ(item->m_rcLayout.bottom, c.bottom) << i;
    EXPECT_EQ(item->GetDuration(), c.duration) << i;
    int start = -1;
    EXPECT_TRUE(Photos().GetStartTime(item, start));
    EXPECT_EQ(start, c.start) << i;
  }
  EXPECT_EQ(Photos().GetTotalDuration(), 39000);
  // Drawn places: transitions 50 x 50 and titles 70 x 70 centred in their cells.
  const struct {
    int index;
    RECT display;
  } drawn[] = {{0, {5, 15, 75, 85}}, {1, {85, 25, 135, 75}}, {2, {140, 0, 240, 100}}};
  for (const auto& d : drawn) {
    Photos().GetItem(d.index)->UpdateDisplayRect(0);
    EXPECT_EQ(CRect(Photos().GetItem(d.index)->m_rcDisplay), CRect(d.display)) << d.index;
  }
  // Music clips last their trimmed part and sit 5 pixels below their band.
  m_album->AddBackgroundMusic(Clip("music.mp3", 0, 9000));
  m_timeline.SendMessage(WM_TIMELINE_REBUILD_MUSIC, 0, 0);
  ASSERT_EQ(Music().GetCount(), 1);
  EXPECT_EQ(Music().GetItem(0)->GetDuration(), 9000);
  int outside = 0;
  EXPECT_FALSE(Photos().GetStartTime(Music().GetItem(0), outside));
}

TEST_F(TimelineTest, FindAndSelectMarksTheAlbumsPositionWithoutTouchingTheAlbum) {
  CDVDImage* slides[3] = {AddSlide(), AddSlide(), AddSlide()};
  CDVDImage stranger(nullptr);
  Rebuild();  // items: t p t p t p
  struct Case {
    CDVDImage* slide;
    BOOL transitionActive;
    int selectedItem;  // -1: none
    int resultNumber;  // the photo item returned, by slide number; -1 for null
  };
  const Case cases[] = {
      {slides[1], FALSE, 3, 1}, {slides[1], TRUE, 2, 1},   {slides[2], TRUE, 4, 2},
      {slides[0], FALSE, 1, 0}, {&stranger, FALSE, -1, 0}, {nullptr, FALSE, -1, -1},
  };
  for (const Case& c : cases) {
    m_album->Set_bFirstTransActive(c.transitionActive);
    CDVDImage* const current = m_album->m_pCurImage;
    CTLPhotoItem* result = Photos().FindAndSelect(c.slide);
    EXPECT_EQ(m_album->m_pCurImage, current);
    if (c.resultNumber < 0) {
      EXPECT_EQ(result, nullptr);
      continue;
    }
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->m_pImage, slides[c.resultNumber]);
    if (c.selectedItem >= 0) {
      EXPECT_EQ(Photos().IndexOf(Photos().FindSelected()), c.selectedItem);
    } else {
      EXPECT_EQ(Photos().FindSelected(), nullptr);
    }
  }
  // A track without photos gives nothing.
  Photos().Clear();
  EXPECT_EQ(Photos().FindAndSelect(slides[0]), nullptr);
}

TEST_F(TimelineTest, SelectingItemsMovesTheAlbumsPosition) {
  SetTitles(3, 0);
  CDVDImage* first = AddSlide();
  CDVDImage* second = AddSlide();
  m_album->m_pCurImage = second;
  m_album->m_bTitleActive = TRUE;
  Rebuild();
  // The rebuild selected the current slide's photo and made its display phase the position.
  EXPECT_EQ(Photos().IndexOf(Photos().FindSelected()), 4);
  EXPECT_FALSE(m_album->Get_bFirstTransActive());
  EXPECT_FALSE(m_album->m_bTitleActive);

  struct Case {
    int item;
    CDVDImage* current;
    BOOL transitionActive;
  };
  const Case cases[] = {{1, first, TRUE}, {2, first, FALSE}, {3, second, TRUE}};
  for (const Case& c : cases) {
    EXPECT_EQ(Photos().SelectItem(Photos().GetItem(c.item)), c.item);
    EXPECT_EQ(m_album->m_pCurImage, c.current) << c.item;
    EXPECT_EQ(m_album->Get_bFirstTransActive(), c.transitionActive) << c.item;
    EXPECT_EQ(Photos().IndexOf(Photos().FindSelected()), c.item);
  }
  // Without an album editor window the titles take the selection but leave the album alone.
  Photos().SelectItem(Photos().GetItem(0));
  EXPECT_EQ(m_album->m_pCurImage, second);
  EXPECT_FALSE(m_album->m_bTitleActive);
}

TEST_F(TimelineTest, ClickZonesOpenTheSlideDialogsAndElsewhereOnlySelect) {
  AddSlide();
  AddSlide(3, 5);
  Rebuild();
  CTimelineItem* photo = Photos().GetItem(1);
  CTimelineItem* transition = Photos().GetItem(2);
  const RECT& p = photo->m_rcLayout;
  struct Case {
    const CTimelineItem* item;
    POINT at;  // client point
    std::vector<std::string> opened;
  };
  // Transition cells are 60 wide with the 50 x 50 picture 5 in, 25 down; its zone 5, 34 in that.
  const RECT& t = transition->m_rcLayout;
  const Case cases[] = {
      {photo, {p.left + 20, 80}, {"Photo Options"}},  // duration zone
      {photo, {p.left + 70, 80}, {"Photo Options"}},  // sound zone
      {photo, {p.left + 50, 40}, {}},                 // the thumbnail: select only
      {transition, {t.left + 5 + 20, 25 + 36}, {"Transition Options"}},
      {transition, {t.left + 5 + 20, 25 + 10}, {}},  // plays the preview
  };
  for (const Case& c : cases) {
    g_opened.clear();
    const bool playsBefore = Preview().IsPlaying();
    m_timeline.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(c.at.x, c.at.y));
    EXPECT_EQ(m_timeline.GetHitRecord().pItem, c.item);
    m_timeline.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.at.x, c.at.y));
    m_timeline.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(c.at.x, c.at.y));
    EXPECT_EQ(g_opened, c.opened) << c.at.x << "," << c.at.y;
    EXPECT_EQ(Photos().FindSelected(), c.item);
    EXPECT_FALSE(playsBefore);
  }
  // Only the last click, outside the transition's zone, played its transition in the page.
  EXPECT_TRUE(Preview().IsPlaying());
  EXPECT_EQ(Preview().GetFactory(),
            GetTransitionList()->GetAt(static_cast<CTLTransitionItem*>(transition)->m_nTransID)->pfnFactory);
  // Double clicks: photo and transition open their editors, nothing else does.
  SetTitles(4, 0);
  Rebuild();
  struct DoubleCase {
    int item;
    std::vector<std::string> opened;
  };
  const DoubleCase doubles[] = {{0, {}}, {1, {"Transition Options"}}, {2, {"Photo Configuration"}}};
  for (const DoubleCase& d : doubles) {
    g_opened.clear();
    const CTimelineItem* item = Photos().GetItem(d.item);
    const CPoint at((item->m_rcLayout.left + item->m_rcLayout.right) / 2, 50);
    m_timeline.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    m_timeline.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(g_opened, d.opened) << d.item;
  }
}

TEST_F(TimelineTest, TransitionsGoToTheSelectionOrToEverySlide) {
  ASSERT_GE(GetTransitionList()->GetSize(), 3);
  const CString second = GetTransitionList()->GetAt(1)->strName;
  const CString third = GetTransitionList()->GetAt(2)->strName;
  CDVDImage* slides[3] = {AddSlide(), AddSlide(), AddSlide()};
  m_album->m_pCurImage = nullptr;
  Rebuild();
  Photos().SelectIndex(-1);
  g_answer = IDOK;
  EXPECT_EQ(m_timeline.ApplyTransitionToSelection(1, 0), IDOK);
  EXPECT_EQ(g_boxTexts, std::vector<std::string>{"No photo or transition selected in the timeline!"});
  // A selected photo gives its transition item (the one before it) the transition.
  Photos().SelectIndex(3);
  m_timeline.ApplyTransitionToSelection(1, 0);
  EXPECT_EQ(slides[1]->Get_strTransName(), second);
  EXPECT_EQ(static_cast<CTLTransitionItem*>(Photos().GetItem(2))->m_nTransID, 1);
  EXPECT_NE(slides[0]->Get_strTransName(), second);
  m_timeline.ApplyTransitionToAll(2);
  for (CDVDImage* slide : slides) EXPECT_EQ(slide->Get_strTransName(), third);
}

TEST_F(TimelineTest, ScrollingFollowsBarWheelAndTheCurrentSlide) {
  AddSlide();
  Rebuild();
  // The strip fits: the bar shows but is disabled, and scrolling to the current slide does nothing.
  EXPECT_TRUE(m_timeline.GetStyle() & WS_HSCROLL);
  m_timeline.ScrollToCurrentImage(m_album);
  EXPECT_EQ(m_timeline.GetScrollPosition(), 0);

  for (int i = 0; i < 11; ++i) AddSlide();  // 12 slides: 1920 pixels
  Rebuild();
  CRect client;
  m_timeline.GetClientRect(&client);
  // The last position is one past the excess: the bar's range ends a page after it.
  const int excess = 1920 - client.Width() + 1;
  SCROLLINFO info{sizeof info, SIF_ALL};
  m_timeline.GetScrollInfo(SB_HORZ, &info);
  EXPECT_EQ(info.nMax, excess - 1 + 100);
  EXPECT_EQ(info.nPage, 100u);
  struct Case {
    UINT code;
    int thumb;
    int position;
  };
  const Case cases[] = {{SB_LINERIGHT, 0, 100},    {SB_PAGERIGHT, 0, 600},   {SB_LINELEFT, 0, 500},
                        {SB_THUMBTRACK, 777, 777}, {SB_PAGELEFT, 0, 277},    {SB_THUMBPOSITION, 5000, excess},
                        {SB_LEFT, 0, excess},      {SB_ENDSCROLL, 0, excess}};
  for (const Case& c : cases) {
    m_timeline.SendMessage(WM_HSCROLL, MAKEWPARAM(c.code, c.thumb), 0);
    EXPECT_EQ(m_timeline.GetScrollPosition(), c.position) << c.code;
  }
  // The wheel: a notch away from the user scrolls right; never before the start.
  m_timeline.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 300), 0);
  m_timeline.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
  EXPECT_EQ(m_timeline.GetScrollPosition(), 420);
  for (int i = 0; i < 5; ++i) m_timeline.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(m_timeline.GetScrollPosition(), 0);

  // The current slide comes to the middle, its photo selected.
  m_album->m_pCurImage = m_album->GetImage(7);
  m_album->Set_bFirstTransActive(FALSE);
  m_timeline.ScrollToCurrentImage(m_album);
  EXPECT_EQ(m_timeline.GetScrollPosition(), 160 * 8 - client.Width() / 2);
  EXPECT_EQ(Photos().IndexOf(Photos().FindSelected()), 15);
  // The next slide becomes current with its transition, and is scrolled to.
  m_timeline.SelectNextSlide(m_album);
  EXPECT_EQ(m_album->m_pCurImage, m_album->GetImage(8));
  EXPECT_TRUE(m_album->Get_bFirstTransActive());
  EXPECT_EQ(Photos().IndexOf(Photos().FindSelected()), 16);
  EXPECT_EQ(m_timeline.GetScrollPosition(), 160 * 9 - client.Width() / 2);
  // A rebuild sent by the page scrolls to the current slide once its follow-up runs.
  Rebuild();
  EXPECT_EQ(m_timeline.GetScrollPosition(), 160 * 9 - client.Width() / 2);
}

TEST_F(TimelineTest, MusicItemTextGivesTimesAndFileName) {
  struct Case {
    int start, trimStart, trimEnd;
    const char* path;
    const char* text;
  };
  const Case cases[] = {{0, 0, 15000, "/music/song.mp3", "00:00 - 00:15 (song.mp3)"},
                        {65000, 2000, 12000, "C:\\music\\Tune.WAV", "01:05 - 01:15 (Tune.WAV)"},
                        {3600000, 0, 1000, "clip", "01:00:00 - 01:00:01 (clip)"}};
  for (const Case& c : cases)
    EXPECT_EQ(TimelinePaint::MusicItemText(c.start, c.trimStart, c.trimEnd, c.path), c.text) << c.path;
}

}  // namespace
}  // namespace timelinetest

namespace timelinetest {
namespace {

using pictavo::test::PumpPending;
using pictavo::user::InjectMouseButton;
using pictavo::user::InjectMouseMove;
using pictavo::user::MouseButton;

// Two slides of 2 + 4 seconds (transition cells 0-60 and 160-220, photos 60-160 and 220-320)
// and clips A 0-3 s and B 3-6 s.
class TimelineClipTest : public TimelineTest {
 protected:
  void SetUp() override {
    TimelineTest::SetUp();
    m_album->m_nOneDuration = 2;
    m_album->m_nTwoDuration = 4;
    AddSlide();
    AddSlide();
    m_album->AddBackgroundMusic(Clip("music.mp3", 0, 3000));
    m_album->AddBackgroundMusic(Clip("music.mp3", 3000, 3000));
    Rebuild();
    m_timeline.UpdateWindow();  // lays the clips out
    ASSERT_EQ(Music().GetCount(), 2);
    m_a = static_cast<CTLMusicItem*>(Music().GetItem(0))->m_pSource;
    m_b = static_cast<CTLMusicItem*>(Music().GetItem(1))->m_pSource;
  }
  std::vector<int> Starts() const {
    std::vector<int> starts;
    for (int i = 0; i < m_album->GetMusicCount(); ++i) starts.push_back(m_album->GetMusic(i)->nStartPos);
    return starts;
  }
  void Drag(POINT from, POINT to) {
    InjectMouseMove(from);
    PumpPending();
    InjectMouseButton(MouseButton::kLeft, true);
    PumpPending();
    InjectMouseMove(POINT{from.x + 4, from.y});  // the drag starts while still over the clip
    PumpPending();
    EXPECT_TRUE(m_timeline.IsDragging());
    InjectMouseMove(POINT{(from.x + to.x) / 2, (from.y + to.y) / 2});
    PumpPending();
    InjectMouseMove(to);
    PumpPending();
    InjectMouseButton(MouseButton::kLeft, false);
    PumpPending();
    InjectMouseMove(POINT{1020, 760});
    PumpPending();
  }
  _AUDIO_SOURCE* m_a = nullptr;
  _AUDIO_SOURCE* m_b = nullptr;
};

TEST_F(TimelineClipTest, ClipsArePlacedInTimeThroughThePhotoItems) {
  struct Case {
    int index, left, right;
  };
  // 3 s lies a quarter into the first photo (2-6 s); 6 s is where the second transition starts.
  const Case cases[] = {{0, 0, 85}, {1, 85, 160}};
  for (const Case& c : cases) {
    EXPECT_EQ(Music().GetItem(c.index)->m_rcLayout.left, c.left) << c.index;
    EXPECT_EQ(Music().GetItem(c.index)->m_rcLayout.right, c.right) << c.index;
  }
  struct TimeCase {
    int t, x;
  };
  const TimeCase times[] = {{0, 0},       {1000, 30},   {2000, 60},  {4000, 110},
                            {11999, 319}, {12000, 320}, {99000, 320}};
  for (const TimeCase& c : times) EXPECT_EQ(Music().TimeToX(c.t), c.x) << c.t;
}

TEST_F(TimelineClipTest, DraggingAClipOntoAPhotoTrackItemMovesItToThatItemsStart) {
  // Released over the music track or outside the timeline: nothing moves.
  // Each press lands elsewhere on the clip, so that two presses never make a double click.
  Drag(ScreenPointOf(Music().GetItem(0), -20), ScreenPointOf(Music().GetItem(1)));
  EXPECT_EQ(Starts(), (std::vector<int>{0, 3000}));
  Drag(ScreenPointOf(Music().GetItem(0), 0), POINT{700, 10});
  EXPECT_EQ(Starts(), (std::vector<int>{0, 3000}));
  EXPECT_FALSE(m_timeline.IsDragging());

  // Onto the second photo (8 s): A goes behind B, and the page hears that the order changed.
  Drag(ScreenPointOf(Music().GetItem(0), 20), ScreenPointOf(Photos().GetItem(3)));
  EXPECT_EQ(m_a->nStartPos, 8000);
  EXPECT_EQ(m_b->nStartPos, 3000);
  EXPECT_EQ(static_cast<CTLMusicItem*>(Music().GetItem(0))->m_pSource, m_b);  // track sorted by start
  EXPECT_FALSE(m_timeline.IsDragging());
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(TimelineClipTest, MovingOntoAnotherClipAsksBeforeCuttingIt) {
  struct Case {
    const char* name;
    bool moveB;  // else A
    int to;
    WPARAM answer;
    int aStart, aEnd, bStart;
  };
  const Case cases[] = {
      {"B onto A, cancelled", true, 0, IDCANCEL, 0, 3000, 3000},
      {"B onto A, cut", true, 0, IDOK, 0, 0, 0},
      {"A later into B, cut", false, 4000, IDOK, 4000, 3000, 3000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    *m_a = Clip("music.mp3", 0, 3000);
    *m_b = Clip("music.mp3", 3000, 3000);
    Music().SortClipsByStart();
    g_boxTexts.clear();
    g_answer = c.answer;
    CTLMusicItem* moved = nullptr;
    for (int i = 0; i < 2; ++i) {
      auto* item = static_cast<CTLMusicItem*>(Music().GetItem(i));
      if (item->m_pSource == (c.moveB ? m_b : m_a)) moved = item;
    }
    Music().MoveClip(moved, c.to);
    EXPECT_EQ(g_boxTexts, std::vector<std::string>{"Truncate the current audio clip?"});
    EXPECT_EQ(m_a->nStartPos, c.aStart);
    EXPECT_EQ(m_a->nTrimEnd, c.aEnd);
    EXPECT_EQ(m_b->nStartPos, c.bStart);
  }
  // Moving later pushes the clips at or after the new start back to back behind it.
  *m_a = Clip("music.mp3", 0, 2000);
  *m_b = Clip("music.mp3", 6000, 3000);
  Music().SortClipsByStart();
  g_boxTexts.clear();
  Music().MoveClip(static_cast<CTLMusicItem*>(Music().GetItem(0)), 5000);
  EXPECT_TRUE(g_boxTexts.empty());
  EXPECT_EQ(m_a->nStartPos, 5000);
  EXPECT_EQ(m_b->nStartPos, 7000);
}

}  // namespace
}  // namespace timelinetest
