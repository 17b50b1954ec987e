// The mouse page: views sorted by name with their icons, the double-click command of the chosen
// view shown and changed at once in the mouse manager.
#include "toolkit/customize/PlxMousePage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/comctl/ListView.h"
#include "tests/toolkit/customize/KeysHost.h"

namespace {

using namespace keys_test;

constexpr int kClipView = 3;
constexpr UINT kAppIcon = 128;  // an icon of the program's resources
constexpr UINT kNoSuchIcon = 16498;

class PlxMousePageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.mouse.reset();
    host.mouse = std::make_unique<CPlxMouseManager>();
    host.mouse->AddView(kGridView, "Grid", kNoSuchIcon);
    host.mouse->AddView(kClipView, "Clips", kAppIcon);
    host.mouse->AddView(kAlbumView, "Album");
    host.mouse->SetCommandForDblClick(kGridView, kCopy);
    page = host.Open(&CPlxToolbarCustomize::GetMousePage);
    ASSERT_NE(page, nullptr);
  }
  void PickView(int row) {
    page->m_wndListOfViews.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    pictavo::test::PumpPending();
  }
  void Notify(UINT id, UINT code) {
    page->SendMessage(WM_COMMAND, MAKEWPARAM(id, code),
                      reinterpret_cast<LPARAM>(page->GetDlgItem(id)->m_hWnd));
  }
  int RowOf(UINT cmd) {
    for (int i = 0; i < page->m_wndListOfCommands.GetCount(); ++i)
      if (page->m_wndListOfCommands.GetItemData(i) == cmd) return i;
    return -1;
  }
  int Image(int row) {
    LVITEM item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    page->m_wndListOfViews.GetItem(&item);
    return item.iImage;
  }

  KeysHost host{TRUE, FALSE};
  CPlxMousePage* page = nullptr;
};

TEST_F(PlxMousePageTest, ViewsAreSortedByNameWithTheirIcons) {
  ASSERT_EQ(page->m_wndListOfViews.GetItemCount(), 3);
  const std::vector<std::pair<std::string, int>> expected = {
      {"Album", kAlbumView}, {"Clips", kClipView}, {"Grid", kGridView}};
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(std::string(page->m_wndListOfViews.GetItemText(row, 0)), expected[row].first);
    EXPECT_EQ(static_cast<int>(page->m_wndListOfViews.GetItemData(row)), expected[row].second);
  }
  EXPECT_EQ(Image(1), 0);  // Clips: its icon loaded
  EXPECT_LT(Image(2), 0);  // Grid: its icon does not exist
  EXPECT_EQ(page->m_ViewsImages.GetImageCount(), 1);
  // Every command of the catalogue is offered.
  EXPECT_GE(RowOf(kCopy), 0);
  EXPECT_GE(RowOf(kNew), 0);
  // The new-menu item has no command a double-click could run.
  EXPECT_EQ(RowOf(0), -1);
}

TEST_F(PlxMousePageTest, AViewShowsItsCommandAndTheChoiceGoesToTheManager) {
  PickView(2);  // Grid runs Copy
  EXPECT_EQ(page->GetCurrentView(), kGridView);
  EXPECT_EQ(page->IsDlgButtonChecked(CPlxMousePage::IDC_USE_COMMAND), 1u);
  EXPECT_EQ(page->m_wndListOfCommands.GetCurSel(), RowOf(kCopy));
  EXPECT_TRUE(page->m_wndListOfCommands.IsWindowEnabled());

  page->m_wndListOfCommands.SetCurSel(RowOf(kRotate));
  Notify(CPlxMousePage::IDC_COMMANDS, LBN_SELCHANGE);
  EXPECT_EQ(host.mouse->GetViewDblClickCommand(kGridView), kRotate);
  CString description;
  page->GetDlgItem(CPlxMousePage::IDC_DESCRIPTION)->GetWindowText(description);
  EXPECT_STREQ(description, "Rotate the picture");

  PickView(0);  // Album runs nothing
  EXPECT_EQ(page->GetCurrentView(), kAlbumView);
  EXPECT_EQ(page->IsDlgButtonChecked(CPlxMousePage::IDC_NO_COMMAND), 1u);
  EXPECT_FALSE(page->m_wndListOfCommands.IsWindowEnabled());
  EXPECT_EQ(page->m_wndListOfCommands.GetCurSel(), LB_ERR);
}

TEST_F(PlxMousePageTest, RunACommandClearsTheOldOneUntilOneIsPicked) {
  PickView(2);
  page->CheckDlgButton(CPlxMousePage::IDC_USE_COMMAND, 0);
  page->CheckDlgButton(CPlxMousePage::IDC_NO_COMMAND, 1);
  Notify(CPlxMousePage::IDC_NO_COMMAND, BN_CLICKED);
  EXPECT_EQ(host.mouse->GetViewDblClickCommand(kGridView), 0u);
  EXPECT_FALSE(page->m_wndListOfCommands.IsWindowEnabled());

  host.mouse->SetCommandForDblClick(kGridView, kCopy);
  Notify(CPlxMousePage::IDC_USE_COMMAND, BN_CLICKED);
  EXPECT_TRUE(page->m_wndListOfCommands.IsWindowEnabled());
  EXPECT_EQ(host.mouse->GetViewDblClickCommand(kGridView), 0u);
  page->m_wndListOfCommands.SetCurSel(RowOf(kPaste));
  Notify(CPlxMousePage::IDC_COMMANDS, LBN_SELCHANGE);
  EXPECT_EQ(host.mouse->GetViewDblClickCommand(kGridView), kPaste);
}

}  // namespace

// Views without icons still have the icon's slot before their names: the column makes room for
// it and the widest name, or the names are cut short.
TEST(PlxMousePageWithoutIcons, TheColumnHoldsTheIconSlotAndTheWidestName) {
  KeysHost host{TRUE, FALSE};
  host.mouse.reset();
  host.mouse = std::make_unique<CPlxMouseManager>();
  host.mouse->AddView(kGridView, "Picture view");
  host.mouse->AddView(kAlbumView, "Caption view");
  auto* page = host.Open(&CPlxToolbarCustomize::GetMousePage);
  ASSERT_NE(page, nullptr);
  const int widest = std::max(page->m_wndListOfViews.GetStringWidth("Picture view"),
                              page->m_wndListOfViews.GetStringWidth("Caption view"));
  EXPECT_GE(page->m_wndListOfViews.GetColumnWidth(0), widest + ::GetSystemMetrics(SM_CXSMICON));
}
