// What customize mode draws on a bar, pixel for pixel against checked-in pictures: the frame
// around the selected button and the I-beam drop mark between two buttons.
// PICTAVO_WRITE_REFERENCES=1 writes the pictures anew (look at them first).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/display/Display.h"
#include "platform/res/ResourceModule.h"
#include "tests/support/MessagePump.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

namespace {

std::string ReferencePath(const std::string& name) {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source ? source : ".") + "/tests/toolkit/bars/reference/" + name;
}

// The number of pixels that differ (all of them when a picture is missing or of another size).
int Differences(const std::string& shot, const std::string& reference) {
  pictavo::test::Picture a, b;
  if (!pictavo::test::ReadPng(shot, &a)) return -1;
  if (!pictavo::test::ReadPng(reference, &b) || a.width != b.width || a.height != b.height)
    return a.width * a.height;
  int differ = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) differ += a.At(x, y) != b.At(x, y);
  return differ;
}

class ToolbarEditingLook : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    pictavo::res::SetResourceRoot(std::string(std::getenv("PICTAVO_BIN_DIR")) + "/resources");
    CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
  }
  void SetUp() override {
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)),
                              "Look", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 140, 30, nullptr,
                              nullptr));
    ASSERT_TRUE(bar.Create(&host, WS_CHILD | WS_VISIBLE | CBRS_TOP, 1001));
    ASSERT_TRUE(bar.LoadToolBar(64600));
    while (bar.GetCount() > 4) bar.RemoveButton(bar.GetCount() - 1);
    bar.SetWindowPos(nullptr, 0, 0, 140, 30, SWP_NOZORDER);
    bar.AdjustLayout();
    ASSERT_TRUE(CPlxToolBar::SetCustomizeMode(TRUE));
  }
  void TearDown() override {
    CPlxToolBar::SetCustomizeMode(FALSE);
    host.DestroyWindow();
  }
  void Check(const std::string& name) {
    pictavo::test::PumpPending();
    bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
    pictavo::test::PumpPending();
    const std::string shot = pictavo::test::SaveDesktopArea({0, 0, 140, 30}, name);
    ASSERT_FALSE(shot.empty());
    const std::string reference = ReferencePath(name);
    const char* write = std::getenv("PICTAVO_WRITE_REFERENCES");
    if (write && std::string(write) == "1") {
      std::filesystem::create_directories(std::filesystem::path(reference).parent_path());
      std::filesystem::copy_file(shot, reference, std::filesystem::copy_options::overwrite_existing);
    }
    EXPECT_EQ(Differences(shot, reference), 0) << name << " differs from " << reference;
  }

  CWnd host;
  CPlxToolBar bar;
};

}  // namespace

TEST_F(ToolbarEditingLook, SelectedButtonHasATwoPixelFrame) {
  CPlxToolBar::m_pSelToolbar = &bar;
  bar.m_iSelected = 1;
  Check("customize_frame.png");
}

TEST_F(ToolbarEditingLook, DropMarkStandsBetweenTwoButtons) {
  CPlxToolbarButton dragged(57603, 2, "Save");
  COleDataSource data;
  ASSERT_TRUE(dragged.PrepareDrag(data));
  COleDataObject object;
  object.Attach(&data);
  const CRect second = bar.GetButton(1)->GetRect();
  ASSERT_EQ(bar.m_dropTarget.OnDragEnter(&bar, &object, 0, CPoint(second.right - 2, second.top + 5)),
            static_cast<DROPEFFECT>(DROPEFFECT_MOVE));
  EXPECT_EQ(bar.m_iDropIndex, 2);
  Check("drop_mark.png");
  bar.m_dropTarget.OnDragLeave(&bar);
}
