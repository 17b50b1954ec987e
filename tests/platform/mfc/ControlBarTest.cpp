// Control bars and their dock bars: a bar object deleted while its window is still up (its own
// WM_DESTROY handler no longer runs by then) must not stay behind in a dock bar's rows, where the
// layout and a floating frame would find a freed bar.
#include <memory>

#include "MfcTestSupport.h"
#include "platform/mfc/ControlBar.h"
#include "platform/mfc/FrameWnd.h"

using namespace testing_mfc;

namespace {

class CPlainBar : public CControlBar {
 public:
  BOOL Make(CWnd* parent) {
    m_dwStyle = CBRS_TOP;
    return CWnd::Create(AfxRegisterWndClass(0), "Plain", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), parent,
                        0xE900);
  }
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
  CSize CalcFixedLayout(BOOL, BOOL) override { return size; }
  CSize size{120, 24};
};

class ControlBarTest : public MfcTest {};

TEST_F(ControlBarTest, ADeletedBarLeavesItsDockBarDockedOrFloating) {
  for (const bool floating : {false, true}) {
    CFrameWnd frame;
    ASSERT_TRUE(frame.Create(nullptr, "Docking", WS_POPUP | WS_VISIBLE, CRect(10, 10, 610, 410)));
    frame.EnableDocking(CBRS_ALIGN_ANY);
    auto bar = std::make_unique<CPlainBar>();
    ASSERT_TRUE(bar->Make(&frame));
    bar->EnableDocking(CBRS_ALIGN_ANY);
    frame.DockControlBar(bar.get(), AFX_IDW_DOCKBAR_TOP);
    if (floating) frame.FloatControlBar(bar.get(), CPoint(300, 200));
    CDockBar* dock = bar->m_pDockBar;
    ASSERT_NE(dock, nullptr) << floating;
    ASSERT_GE(dock->FindBar(bar.get()), 0) << floating;
    CControlBar* const gone = bar.get();
    bar.reset();
    EXPECT_EQ(dock->FindBar(gone), -1) << floating;
    frame.RecalcLayout();   // lays out the rows the bar left
    frame.DestroyWindow();  // and the floating frame, which asks its dock bar for its bar
  }
}

// A floating frame follows its bar's size: it shrinks when the bar gets smaller (fewer buttons, a
// row less) and grows when it gets larger.
TEST_F(ControlBarTest, AFloatingFrameTakesItsBarsSize) {
  CFrameWnd frame;
  ASSERT_TRUE(frame.Create(nullptr, "Docking", WS_POPUP | WS_VISIBLE, CRect(10, 10, 610, 410)));
  frame.EnableDocking(CBRS_ALIGN_ANY);
  CPlainBar bar;
  ASSERT_TRUE(bar.Make(&frame));
  bar.EnableDocking(CBRS_ALIGN_ANY);
  frame.DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
  frame.FloatControlBar(&bar, CPoint(300, 200));
  auto* mini = dynamic_cast<CMiniDockFrameWnd*>(bar.GetParent()->GetParent());  // its dock bar's frame
  ASSERT_NE(mini, &frame);
  ASSERT_NE(mini, nullptr);
  for (const CSize size : {CSize(200, 24), CSize(150, 24), CSize(150, 48), CSize(260, 30)}) {
    bar.size = size;
    mini->RecalcLayout();
    CRect client;
    mini->GetClientRect(&client);
    EXPECT_EQ(client.Size(), size) << size.cx << " x " << size.cy;
    CRect window;
    bar.GetWindowRect(&window);
    EXPECT_EQ(window.Size(), size) << size.cx << " x " << size.cy;
  }
  frame.DestroyWindow();
}

}  // namespace
