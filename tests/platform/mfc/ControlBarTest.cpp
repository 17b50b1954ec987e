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
  CSize CalcFixedLayout(BOOL, BOOL) override { return CSize(120, 24); }
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

}  // namespace
