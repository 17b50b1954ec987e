// Slides reordered by dragging a photo item along the timeline with the mouse: where the drop
// puts the slide, when nothing changes, the insertion mark while dragging, the album marked
// changed and the strip rebuilt in the new order. Snapshot:
// build/bin/test-output/timeline-slide-drag.png.
#include <gtest/gtest.h>

#include <string>

#include "platform/user/Input.h"
#include "tests/editing/TimelineFixture.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"

namespace {

using namespace timelinetest;
using pictavo::test::PumpPending;
using pictavo::user::InjectMouseButton;
using pictavo::user::InjectMouseMove;
using pictavo::user::MouseButton;

const char* const kPhotos[] = {"beach_landscape.jpg", "tower_portrait.jpg", "valley_large.jpg",
                               "bars_small.jpg"};

class TimelineSlideDragTest : public TimelineTest {
 protected:
  void SetUp() override {
    TimelineTest::SetUp();
    SetTitles(3, 2);
    for (int i = 0; i < 4; ++i) m_slides[i] = AddSlide(1, 2, kPhotos[i]);
    Restore();
  }
  // The album back in the order A B C D, clean, and the strip built from it.
  void Restore() {
    CDVDImageArray order;
    for (CDVDImage* slide : m_slides) order.Add(slide);
    m_album->ReArrangeImageOrder(order);
    m_album->Put_bDirty(FALSE);
    m_album->m_pCurImage = nullptr;
    Rebuild();
  }
  // The album's slides as letters: "ABCD".
  std::string Order() const {
    std::string order;
    for (int i = 0; i < m_album->GetImageCount(); ++i)
      for (int j = 0; j < 4; ++j)
        if (m_album->GetImage(i) == m_slides[j]) order += static_cast<char>('A' + j);
    return order;
  }
  // The photo-track item of a kind: 'T' titles, 'C' credits, 't' / 'p' the transition or photo
  // of slide `slide` (in the album's order now).
  CTimelineItem* Item(char kind, int slide) {
    for (int i = 0, seen = -1; i < Photos().GetCount(); ++i) {
      CTimelineItem* item = Photos().GetItem(i);
      if (kind == 'T' && item->IsKindOf(RUNTIME_CLASS(CTLTitleItem))) return item;
      if (kind == 'C' && item->IsKindOf(RUNTIME_CLASS(CTLCreditItem))) return item;
      if (item->IsKindOf(RUNTIME_CLASS(CTLTransitionItem))) ++seen;
      if (seen == slide && ((kind == 't' && item->IsKindOf(RUNTIME_CLASS(CTLTransitionItem))) ||
                            (kind == 'p' && item->IsKindOf(RUNTIME_CLASS(CTLPhotoItem)))))
        return item;
    }
    return nullptr;
  }
  // Presses on the photo of slide `from`, moves in steps to `to` and, after `before` ran there,
  // releases.
  // Each press lands elsewhere on the photo, so that two presses never make a double click.
  void Drag(int from, POINT to, const std::function<void()>& before = nullptr) {
    const int dx = (m_presses++ % 3 - 1) * 24;
    const POINT start = ScreenPointOf(Item('p', from), dx, -20);  // above the click zones
    InjectMouseMove(start);
    PumpPending();
    InjectMouseButton(MouseButton::kLeft, true);
    PumpPending();
    for (int step = 1; step <= 4; ++step) {
      InjectMouseMove(POINT{start.x + (to.x - start.x) * step / 4, start.y + (to.y - start.y) * step / 4});
      PumpPending();
    }
    m_timeline.UpdateWindow();
    if (before) before();
    InjectMouseButton(MouseButton::kLeft, false);
    PumpPending();
    InjectMouseMove(POINT{1020, 760});
    PumpPendingAndPaint();
  }

  CDVDImage* m_slides[4] = {};
  int m_presses = 0;
};

TEST_F(TimelineSlideDragTest, ADroppedPhotoMovesItsSlideWhereTheMarkShowed) {
  struct Case {
    int from;
    char kind;   // where it is dropped: T, C, t, p, or x (off the timeline)
    int slide;   // of t and p
    int dx;      // from the item's centre
    int insert;  // the insertion index while over it (-1: no drop there)
    const char* order;
  };
  const Case kCases[] = {
      {0, 'p', 2, 20, 3, "BCAD"},                               // the right half of C's photo: after C
      {0, 'p', 2, -20, 2, "BACD"},                              // its left half: before C
      {3, 'T', 0, 0, 0, "DABC"},                                // the titles: first
      {0, 'C', 0, 0, 4, "BCDA"},                                // the credits: last
      {2, 't', 1, 0, 1, "ACBD"},                                // B's transition: before B
      {1, 'p', 0, -30, 0, "BACD"},                              // A's left half: first
      {1, 'p', 1, 30, 2, "ABCD"},                               // its own photo: where it is
      {1, 't', 2, 0, 2, "ABCD"},                                // its neighbour's transition: where it is
      {0, 'p', 0, -30, 0, "ABCD"}, {2, 'x', 0, 0, -1, "ABCD"},  // off the timeline: nothing
  };
  for (const Case& c : kCases) {
    Restore();
    POINT to{};
    if (c.kind == 'x') {
      to = ScreenPointOf(Item('p', c.from));
      to.y += 200;
    } else {
      to = ScreenPointOf(Item(c.kind, c.slide), c.dx, -20);
    }
    int shown = -2;
    Drag(c.from, to, [&] {
      EXPECT_TRUE(m_timeline.IsSlideDragging()) << c.from << c.kind << c.slide;
      shown = m_timeline.GetSlideInsertIndex();
    });
    EXPECT_EQ(shown, c.insert) << c.from << " onto " << c.kind << c.slide << " " << c.dx;
    EXPECT_EQ(Order(), c.order) << c.from << " onto " << c.kind << c.slide << " " << c.dx;
    const bool moved = std::string(c.order) != "ABCD";
    EXPECT_EQ(m_album->Get_bDirty() != FALSE, moved) << c.order;
    EXPECT_FALSE(m_timeline.IsSlideDragging());
    EXPECT_EQ(::GetCapture(), nullptr);
    // The strip follows the album: photo items in the new order, the moved slide current.
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(static_cast<CTLPhotoItem*>(Item('p', i))->m_pImage, m_album->GetImage(i))
          << c.order << " " << i;
    if (moved) EXPECT_EQ(m_album->m_pCurImage, m_slides[c.from]) << c.order;
  }
}

TEST_F(TimelineSlideDragTest, AClickIsNoDragAndEscapeCancelsOne) {
  // Press and release without moving: the photo is selected, nothing moves.
  const POINT on = ScreenPointOf(Item('p', 1), 0, -20);
  InjectMouseMove(on);
  PumpPending();
  InjectMouseButton(MouseButton::kLeft, true);
  PumpPending();
  EXPECT_FALSE(m_timeline.IsSlideDragging());
  InjectMouseButton(MouseButton::kLeft, false);
  PumpPendingAndPaint();
  EXPECT_EQ(Order(), "ABCD");
  EXPECT_TRUE(Item('p', 1)->m_bSelected);

  // Escape while dragging: the drag ends where it is and the release drops nothing.
  Drag(0, ScreenPointOf(Item('C', 0)), [&] {
    ASSERT_TRUE(m_timeline.IsSlideDragging());
    m_timeline.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(m_timeline.IsSlideDragging());
  });
  EXPECT_EQ(Order(), "ABCD");
  EXPECT_FALSE(m_album->Get_bDirty());
}

TEST_F(TimelineSlideDragTest, TheInsertionMarkShowsWhereTheSlideWillGo) {
  CRect area;
  m_timeline.GetClientRect(&area);
  m_timeline.ClientToScreen(&area);
  int x = 0;
  Drag(0, ScreenPointOf(Item('t', 2)), [&] {
    ASSERT_EQ(m_timeline.GetSlideInsertIndex(), 2);
    EXPECT_FALSE(pictavo::test::SaveDesktopArea(area, "timeline-slide-drag.png").empty());
    x = Item('t', 2)->m_rcLayout.left - m_timeline.GetScrollPosition();
  });
  pictavo::test::Picture picture;
  ASSERT_TRUE(pictavo::test::ReadPng(pictavo::test::SnapshotPath("timeline-slide-drag.png"), &picture));
  // The bar in the mark's colour down the photo track at the transition's left edge.
  for (int y : {10, 50, 90}) EXPECT_EQ(picture.At(x, y), RGB(0, 72, 145)) << y;
  EXPECT_EQ(Order(), "BACD");
}

}  // namespace
