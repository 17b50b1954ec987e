// What a toolbar draws, pixel for pixel, through the installed manager: each button state in both
// orientations, the cold strip, large icons, text below the images and the drop mark, compared with
// checked-in pictures. PICTAVO_WRITE_REFERENCES=1 writes them anew (look at them first).
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "platform/mfc/Dc.h"
#include "platform/res/ResourceModule.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/Canvas.h"
#include "tests/support/HostWindow.h"
#include "tests/support/MessagePump.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"
#include "tests/toolkit/core/ManagerSheet.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

namespace {

using pictavo::test::Canvas;

constexpr UINT kMainToolbar = 64600;  // the demonstration bar's strip, on the button face

std::string BarsReference(const std::string& name) {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source ? source : ".") + "/tests/toolkit/bars/reference/" + name;
}

class PlxToolBarLook : public shelltest::RegistryFixture {
 protected:
  void SetUp() override {
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
    m_host = pictavo::test::CreateHostWindow(600, 400);
  }
  void TearDown() override {
    DestroyWindow(m_host);
    pictavo::test::PumpPending();
    CPlxToolBar::SetLargeIcons(FALSE);
    CPlxToolBar::m_bAutoColdImages = FALSE;
    CPlxToolBar::CleanUpImages();
    CPlxVisualManager::SetDefaultManager(nullptr);
    CPlxVisualManager::DestroyInstance();
  }

  // A bar of the resource's first five commands in the states normal, hot, pressed, checked and
  // disabled, laid out in a window of the size, painted into a canvas and compared.
  void Check(const std::string& name, DWORD align, CSize size,
             const std::function<void(CPlxToolBar&)>& setup) {
    CPlxToolBar bar;
    ASSERT_TRUE(bar.Create(CWnd::FromHandle(m_host), WS_CHILD | WS_VISIBLE | align, 1001));
    bar.m_dwStyle &= ~CBRS_GRIPPER;
    bar.SetBorders(0, 0, 0, 0);
    ASSERT_TRUE(bar.LoadToolBar(kMainToolbar));
    while (bar.GetCount() > 5) bar.RemoveButton(bar.GetCount() - 1);
    bar.SetButtonStyle(2, TBBS_PRESSED);
    bar.SetButtonStyle(3, TBBS_CHECKBOX | TBBS_CHECKED);
    bar.SetButtonStyle(4, TBBS_DISABLED);
    setup(bar);
    bar.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOMOVE);
    bar.CalcFixedLayout(FALSE, !(align & CBRS_ORIENT_VERT));  // as the frame's layout asks
    bar.AdjustLayout();
    bar.m_iHot = 1;
    bar.m_iPressed = 2;
    Canvas canvas(size.cx, size.cy);
    CDC dc;
    dc.Attach(canvas.Dc());
    bar.DoPaint(&dc);
    dc.Detach();
    bar.m_iPressed = -1;
    bar.DestroyWindow();
    pictavo::test::WriteCanvasPng(canvas, pictavo::test::SnapshotPath("toolbar-look-" + name));
    const std::string reference = BarsReference(name);
    const char* flag = std::getenv("PICTAVO_WRITE_REFERENCES");
    if (flag != nullptr && std::string(flag) == "1")
      ASSERT_TRUE(pictavo::test::WriteCanvasPng(canvas, reference));
    EXPECT_EQ(pictavo::test::CountDifferences(canvas, reference), 0) << name << " differs from " << reference;
  }

  HWND m_host = nullptr;
};

}  // namespace

TEST_F(PlxToolBarLook, EachStateInBothOrientations) {
  Check("horizontal.png", CBRS_ALIGN_TOP, CSize(120, 22), [](CPlxToolBar&) {});
  Check("vertical.png", CBRS_ALIGN_LEFT, CSize(23, 112), [](CPlxToolBar&) {});
}

TEST_F(PlxToolBarLook, ColdStripLargeIconsTextBelowAndDropMark) {
  CPlxToolBar::m_bAutoColdImages = TRUE;
  CPlxToolBar::m_nAutoGrayPercent = 60;
  Check("cold.png", CBRS_ALIGN_TOP, CSize(120, 22), [](CPlxToolBar&) {});
  CPlxToolBar::m_bAutoColdImages = FALSE;
  CPlxToolBar::m_sharedColdImages.Clear();
  Check("large.png", CBRS_ALIGN_TOP, CSize(230, 43), [](CPlxToolBar&) { CPlxToolBar::SetLargeIcons(TRUE); });
  CPlxToolBar::SetLargeIcons(FALSE);
  Check("text-below.png", CBRS_ALIGN_TOP, CSize(360, 50),
        [](CPlxToolBar& bar) { bar.EnableTextLabels(TRUE); });
  Check("drop-mark.png", CBRS_ALIGN_TOP, CSize(120, 22), [](CPlxToolBar& bar) {
    bar.m_iDropIndex = 2;
    bar.m_rectDropMark = CRect(41, 0, 47, 21);
  });
}
