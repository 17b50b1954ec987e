// The workspace with a frame: the frame's bars, their docking layout, sizing bar sizes, user
// toolbars and tear-off bars saved by one run and found again by the next.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/toolkit/core/FrameFixture.h"
#include "toolkit/core/PlxColorBar.h"
#include "toolkit/core/PlxFrameCore.h"
#include "toolkit/core/PlxSizingControlBar.h"

using namespace frametest;

namespace {

constexpr UINT kTop = 1101, kLeft = 1102, kFloat = 1103, kSizing = 0xEA00, kUser = 2000, kTorn = 0x7001;

// One run's frame: three toolbars and a sizing bar. The first run lays them out (top, left,
// floating, right); every later run starts with all of them docked on top.
struct ProgramRun {
  CTestFrame frame;
  CPlxToolBar top, left, floating;
  CPlxSizingControlBar sizing;

  void Make() {
    ASSERT_TRUE(frame.Create(nullptr, "ProgramRun", WS_POPUP | WS_VISIBLE, CRect(0, 0, 800, 600)));
    frame.EnableDocking(CBRS_ALIGN_ANY);
    frame.m_Impl.EnableUserDefinedToolbars(kUser, kUser + 4);
    for (auto [bar, id] : {std::pair{&top, kTop}, std::pair{&left, kLeft}, std::pair{&floating, kFloat}}) {
      ASSERT_TRUE(bar->Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC, id));
      bar->InsertButton(CPlxToolbarButton(id * 10, -1, "A"));
      bar->InsertButton(CPlxToolbarButton(id * 10 + 1, -1, "B"));
      bar->EnableDocking(CBRS_ALIGN_ANY);
      frame.DockControlBar(bar, AFX_IDW_DOCKBAR_TOP);
    }
    ASSERT_TRUE(
        sizing.Create("Sizing", &frame, CSize(120, 120), TRUE, kSizing, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    sizing.EnableDocking(CBRS_ALIGN_ANY);
    frame.DockControlBar(&sizing, AFX_IDW_DOCKBAR_TOP);
    frame.RecalcLayout();
    pictavo::test::PumpPending();
  }
  void LayOut() {
    frame.DockControlBar(&left, AFX_IDW_DOCKBAR_LEFT);
    frame.FloatControlBar(&floating, CPoint(300, 320));
    frame.DockControlBar(&sizing, AFX_IDW_DOCKBAR_RIGHT);
    sizing.m_szVert = CSize(150, 300);
    CPlxToolBar* user = frame.m_Impl.CreateNewToolBar("Mine");
    ASSERT_NE(user, nullptr);
    user->InsertButton(CPlxToolbarButton(57603, -1, "Save"));
    auto* torn = new CPlxToolBar;
    ASSERT_TRUE(torn->Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, kTorn));
    torn->SetWindowText("Edit");
    torn->InsertButton(CPlxToolbarButton(101, -1, "Cut"));
    frame.m_Impl.AddTearOffToolbar(torn);
    frame.RecalcLayout();
    pictavo::test::PumpPending();
  }
  ~ProgramRun() {
    if (frame.GetSafeHwnd() != nullptr) frame.DestroyWindow();
    pictavo::test::PumpPending();
  }

  static UINT DockOf(CControlBar* bar) {
    return bar->m_pDockBar != nullptr ? static_cast<UINT>(bar->m_pDockBar->GetDlgCtrlID()) : 0;
  }
};

class WorkspaceFrame : public FrameFixture {};

}  // namespace

TEST_F(WorkspaceFrame, TheFramesBarsComeBackWhereTheyWere) {
  {
    ProgramRun first;
    first.Make();
    first.LayOut();
    ASSERT_TRUE(first.floating.IsFloating());
    ASSERT_EQ(ProgramRun::DockOf(&first.left), static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_TRUE(workspace.SaveState(nullptr, &first.frame.m_Impl));
  }
  ProgramRun next;
  next.Make();
  ASSERT_EQ(ProgramRun::DockOf(&next.left), static_cast<UINT>(AFX_IDW_DOCKBAR_TOP));
  EXPECT_TRUE(workspace.LoadState(nullptr, &next.frame.m_Impl));
  pictavo::test::PumpPending();

  EXPECT_EQ(ProgramRun::DockOf(&next.top), static_cast<UINT>(AFX_IDW_DOCKBAR_TOP));
  EXPECT_EQ(ProgramRun::DockOf(&next.left), static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT));
  EXPECT_EQ(ProgramRun::DockOf(&next.sizing), static_cast<UINT>(AFX_IDW_DOCKBAR_RIGHT));
  EXPECT_TRUE(next.floating.IsFloating());
  CRect floatRect;
  next.floating.GetParent()->GetParent()->GetWindowRect(floatRect);  // its dock bar, then the mini frame
  EXPECT_NEAR(floatRect.left, 300, 12);
  EXPECT_NEAR(floatRect.top, 320, 30);
  EXPECT_EQ(next.sizing.m_szVert.cx, 150) << "the sizing bar's width on its side";

  // The user's bar and the torn-off one are made again, with their buttons.
  ASSERT_EQ(next.frame.m_Impl.GetUserToolbars().GetCount(), 1);
  auto* user = static_cast<CPlxToolBar*>(next.frame.m_Impl.GetUserToolbars().GetHead());
  EXPECT_EQ(user->GetDlgCtrlID(), static_cast<int>(kUser));
  ASSERT_EQ(user->GetCount(), 1);
  EXPECT_EQ(user->GetButton(0)->m_nID, 57603u);
  ASSERT_EQ(next.frame.m_Impl.GetTearOffToolbars().GetCount(), 1);
  auto* torn = static_cast<CPlxToolBar*>(next.frame.m_Impl.GetTearOffToolbars().GetHead());
  CString name;
  torn->GetWindowText(name);
  EXPECT_EQ(std::string(name), "Edit");
  EXPECT_EQ(torn->GetDlgCtrlID(), static_cast<int>(kTorn));
}

// A layout naming a bar this frame does not have is not applied (unless forced).
TEST_F(WorkspaceFrame, ALayoutOfBarsTheFrameLacksIsNotApplied) {
  {
    ProgramRun first;
    first.Make();
    first.LayOut();
    ASSERT_TRUE(workspace.SaveState(nullptr, &first.frame.m_Impl));
  }
  ProgramRun next;
  next.Make();
  next.left.DestroyWindow();
  workspace.LoadState(nullptr, &next.frame.m_Impl);
  pictavo::test::PumpPending();
  EXPECT_FALSE(next.floating.IsFloating()) << "the whole layout is refused";
  EXPECT_EQ(ProgramRun::DockOf(&next.sizing), static_cast<UINT>(AFX_IDW_DOCKBAR_TOP));
}

// A write that does not reach the registry makes the save report FALSE; the rest is still saved.
TEST_F(WorkspaceFrame, AFailedWriteIsReportedAsAFailedSave) {
  ProgramRun run;
  run.Make();
  run.LayOut();
  ASSERT_TRUE(workspace.SaveState(nullptr, &run.frame.m_Impl));
  // A profile name no registry key can have: the user's bar cannot be written.
  run.frame.m_Impl.m_strControlBarRegEntry = CString(std::string(300, 'x').c_str());
  EXPECT_FALSE(workspace.SaveState(nullptr, &run.frame.m_Impl));
  run.frame.m_Impl.m_strControlBarRegEntry.Empty();
  EXPECT_TRUE(workspace.SaveState(nullptr, &run.frame.m_Impl));
  workspace.EnableSaving(FALSE);
  EXPECT_FALSE(workspace.SaveState(nullptr, &run.frame.m_Impl)) << "saving disabled";
}

// A first run (nothing stored) leaves the bars where the program docked them, sizing bars included.
TEST_F(WorkspaceFrame, NothingStoredLeavesTheBarsAsDocked) {
  ProgramRun run;
  run.Make();
  run.LayOut();
  const CSize vert = run.sizing.m_szVert;
  EXPECT_TRUE(workspace.LoadState(nullptr, &run.frame.m_Impl));
  pictavo::test::PumpPending();
  EXPECT_EQ(ProgramRun::DockOf(&run.sizing), static_cast<UINT>(AFX_IDW_DOCKBAR_RIGHT));
  EXPECT_FALSE(run.sizing.IsFloating());
  EXPECT_EQ(ProgramRun::DockOf(&run.left), static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT));
  EXPECT_TRUE(run.floating.IsFloating());
  EXPECT_EQ(run.sizing.m_szVert, vert);
}

// A docked colour bar comes back from the workspace whole: its cells and the colours they show.
TEST_F(WorkspaceFrame, ADockedColourBarKeepsItsCellsAcrossALoad) {
  constexpr UINT kColours = 1104;
  const auto make = [](CTestFrame& host, CPlxColorBar& bar) {
    ASSERT_TRUE(host.Create(nullptr, "Colours", WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 400)));
    host.EnableDocking(CBRS_ALIGN_ANY);
    ASSERT_TRUE(bar.Create(&host, WS_CHILD | WS_VISIBLE | CBRS_TOP, kColours));
    bar.EnableDocking(CBRS_ALIGN_ANY);
    host.DockControlBar(&bar, AFX_IDW_DOCKBAR_RIGHT);
    host.RecalcLayout();
    pictavo::test::PumpPending();
  };
  int cells = 0;
  {
    CTestFrame host;
    CPlxColorBar bar;
    make(host, bar);
    cells = bar.GetCount();
    ASSERT_GT(cells, 0);
    ASSERT_TRUE(workspace.SaveState(nullptr, &host.m_Impl));
    host.DestroyWindow();
    pictavo::test::PumpPending();
  }
  CTestFrame host;
  CPlxColorBar bar;
  make(host, bar);
  EXPECT_TRUE(workspace.LoadState(nullptr, &host.m_Impl));
  pictavo::test::PumpPending();
  EXPECT_EQ(bar.GetCount(), cells);
  const int reds = [&] {
    int n = 0;
    for (int i = 0; i < bar.GetCount(); ++i)
      if (auto* cell = dynamic_cast<CPlxToolBarColorButton*>(bar.GetButton(i)))
        n += cell->m_clrCell == RGB(255, 0, 0) ? 1 : 0;
    return n;
  }();
  EXPECT_EQ(reds, 1) << "the default palette's red cell";
  CRect rect;
  bar.GetWindowRect(rect);
  EXPECT_GT(rect.Height(), 40) << "laid out for its cells";
  host.DestroyWindow();
  pictavo::test::PumpPending();
}
