// The transition preview steps its transition on the multimedia timer's thread: 60 steps, then it
// stops by itself; a new transition restarts it from the first step; and a preview destroyed while
// it plays stops its timer and waits out a running step before the transition and pictures go, so
// no step ever runs on a deleted transition.
#include <atomic>
#include <memory>

#include "editing/TransitionControls.h"
#include "tests/editing/SlideDialogFixture.h"
#include "tests/support/MessagePump.h"

using namespace slidedialogtest;

namespace {

// What the counting transitions saw; reset by each test.
struct Seen {
  std::atomic<int> made{0}, deleted{0}, steps{0}, firstFrame{-1}, lastFrame{-1};
  std::atomic<bool> stepAfterDelete{false};
};
Seen g_seen;

class CountingTransition : public CTransition {
 public:
  CountingTransition() { ++g_seen.made; }
  ~CountingTransition() override {
    m_alive = false;
    ++g_seen.deleted;
  }
  void GetName(char* buffer, int size) const override {
    snprintf(buffer, static_cast<size_t>(size), "Counting");
  }
  int GetBitmapTag() const override { return 0; }

 protected:
  void Compose(const TransitionFrame& frame) override {
    if (!m_alive) g_seen.stepAfterDelete = true;
    if (m_steps++ == 0) g_seen.firstFrame = frame.frame;
    g_seen.lastFrame = frame.frame;
    ++g_seen.steps;
  }

 private:
  std::atomic<bool> m_alive{true};
  int m_steps = 0;
};

CTransition* MakeCounting() {
  return new CountingTransition;
}

class TransitionPreviewTest : public SlideDialogTest {
 protected:
  void SetUp() override {
    SlideDialogTest::SetUp();
    g_seen.made = g_seen.deleted = g_seen.steps = 0;
    g_seen.firstFrame = g_seen.lastFrame = -1;
    g_seen.stepAfterDelete = false;
  }
  std::unique_ptr<CTransitionPreviewStatic> MakePreview() {
    auto preview = std::make_unique<CTransitionPreviewStatic>(&m_colour, 0);
    EXPECT_TRUE(preview->Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 160, 120), &m_owner, 1328));
    return preview;
  }
  COLORREF m_colour = RGB(0, 0, 0);
};

}  // namespace

TEST_F(TransitionPreviewTest, PlaysSixtyStepsThenShowsTheFirstPictureAgain) {
  auto preview = MakePreview();
  preview->PlayTransition(MakeCounting);
  EXPECT_TRUE(preview->IsPlaying());
  EXPECT_TRUE(pictavo::test::PumpUntil([&] { return !preview->IsPlaying(); }, 10000));
  EXPECT_EQ(g_seen.steps, 60);
  EXPECT_EQ(g_seen.firstFrame, 0);
  EXPECT_EQ(g_seen.lastFrame, 59);
  EXPECT_EQ(g_seen.deleted, 1) << "the finished transition is deleted";
  EXPECT_EQ(preview->GetFactory(), &MakeCounting) << "and remembered";
  // A null factory only is remembered.
  preview->PlayTransition(nullptr);
  EXPECT_FALSE(preview->IsPlaying());
  EXPECT_EQ(g_seen.made, 1);
}

TEST_F(TransitionPreviewTest, ANewTransitionRestartsFromTheFirstStep) {
  auto preview = MakePreview();
  preview->PlayTransition(MakeCounting);
  ASSERT_TRUE(pictavo::test::PumpUntil([&] { return g_seen.steps >= 5; }, 10000));
  preview->PlayTransition(MakeCounting);
  EXPECT_EQ(g_seen.deleted, 1) << "the first is gone at once";
  EXPECT_EQ(g_seen.made, 2);
  g_seen.steps = 0;
  g_seen.firstFrame = -1;
  EXPECT_TRUE(pictavo::test::PumpUntil([&] { return !preview->IsPlaying(); }, 10000));
  EXPECT_EQ(g_seen.firstFrame, 0);
  EXPECT_EQ(g_seen.steps, 60);
  EXPECT_EQ(g_seen.deleted, 2);
}

TEST_F(TransitionPreviewTest, DestroyedWhilePlayingNoStepOutlivesIt) {
  for (int round = 0; round < 20; ++round) {
    auto preview = MakePreview();
    const int before = g_seen.steps;
    preview->PlayTransition(MakeCounting);
    ASSERT_TRUE(pictavo::test::PumpUntil([&] { return g_seen.steps >= before + 1 + round % 3; }, 10000));
    // Some rounds the window goes first (the dialog closing), some the object alone.
    if (round % 2 == 0) preview->DestroyWindow();
    preview.reset();
    EXPECT_EQ(g_seen.deleted, round + 1) << round;
    const int after = g_seen.steps;
    pictavo::test::PumpPending();
    EXPECT_EQ(g_seen.steps, after) << "no step once the preview is gone, round " << round;
  }
  EXPECT_FALSE(g_seen.stepAfterDelete);
}
