// What tab windows look like, pixel for pixel, against checked-in pictures: the eight styles, each
// with its tabs on top (left column) and at the bottom (right column), the second tab active and the
// third coloured, once per visual manager that draws tabs differently. PICTAVO_WRITE_REFERENCES=1
// writes the pictures anew. Without a visual-styles module the Windows XP look draws its tabs as the
// Office XP look does: its picture holds it to that.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/Canvas.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"
#include "tests/toolkit/customize/TabHost.h"
#include "toolkit/core/PlxVisualManagerXP.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

using namespace tabtest;

namespace {

constexpr int kCellWidth = 300, kCellHeight = 56, kGap = 4;

bool WriteReferences() {
  const char* flag = std::getenv("PICTAVO_WRITE_REFERENCES");
  return flag != nullptr && std::string(flag) == "1";
}

std::string ReferencePath(const std::string& name) {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source ? source : ".") + "/tests/toolkit/customize/reference/" + name;
}

class PlxTabWndLook : public ::testing::TestWithParam<const char*>, public TabFixture {
 protected:
  static void SetUpTestSuite() { StartDisplay(); }
  void TearDown() override {
    for (auto& t : all) t.reset();
    Destroy();
    CPlxVisualManager::SetDefaultManager(nullptr);
    CPlxVisualManager::DestroyInstance();
  }
  std::unique_ptr<CPlxTabWnd> all[16];
};

TEST_P(PlxTabWndLook, EveryStyleOnTopAndAtTheBottom) {
  const std::string manager = GetParam();
  CPlxVisualManager::DestroyInstance();
  CPlxVisualManager::SetDefaultManager(manager == "office-xp"    ? RUNTIME_CLASS(CPlxVisualManagerXP)
                                       : manager == "windows-xp" ? RUNTIME_CLASS(CPlxWinXPVisualManager)
                                                                 : RUNTIME_CLASS(CPlxVisualManager));
  CreateHost(2 * kCellWidth + 3 * kGap, 8 * (kCellHeight + kGap) + kGap);
  for (int style = 0; style < 8; ++style)
    for (int bottom = 0; bottom < 2; ++bottom) {
      const int x = kGap + bottom * (kCellWidth + kGap), y = kGap + style * (kCellHeight + kGap);
      auto& tabs = all[style * 2 + bottom];
      tabs = MakeTabs(style, CRect(x, y, x + kCellWidth, y + kCellHeight),
                      bottom ? CPlxTabWnd::LOCATION_BOTTOM : CPlxTabWnd::LOCATION_TOP,
                      {"Photos", "Music", "Titles", "Output"}, style == 3 || style == 7);
      ASSERT_TRUE(tabs) << style;
      tabs->SetTabBkColor(2, RGB(189, 205, 159));
      tabs->SetActiveTab(1);
    }
  host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  pictavo::test::PumpPending();
  CRect rect;
  host.GetWindowRect(rect);
  const std::string name = "tabs-" + manager + ".png";
  const std::string path = pictavo::test::SaveDesktopArea(rect, name);
  ASSERT_FALSE(path.empty());
  pictavo::test::Picture picture;
  ASSERT_TRUE(pictavo::test::ReadPng(path, &picture));
  const std::string reference = ReferencePath(name);
  if (WriteReferences()) {
    std::filesystem::copy_file(path, reference, std::filesystem::copy_options::overwrite_existing);
  }
  pictavo::test::Picture want;
  ASSERT_TRUE(pictavo::test::ReadPng(reference, &want)) << reference;
  ASSERT_EQ(want.width, picture.width);
  ASSERT_EQ(want.height, picture.height);
  int differ = 0;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) differ += picture.At(x, y) != want.At(x, y);
  EXPECT_EQ(differ, 0) << name << " differs from " << reference;
}

INSTANTIATE_TEST_SUITE_P(Managers, PlxTabWndLook, ::testing::Values("classic", "office-xp", "windows-xp"));

}  // namespace
