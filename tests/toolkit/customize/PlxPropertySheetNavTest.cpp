// A property sheet shown through its navigation tree: choosing pages and categories in the tree
// switches pages and opens and closes the categories along the way, the tree follows page changes
// made by the sheet, a page that refuses to be left keeps the tree on it, the images of the
// items, and what the sheet looks like.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/comctl/CommCtrl.h"
#include "tests/toolkit/customize/CustomizeHost.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/core/PlxDialog.h"
#include "toolkit/customize/PlxPropertySheet.h"

namespace {

using customize_test::Pump;

constexpr UINT kPageOneDialog = 61001;  // test pages of the resources
constexpr UINT kPageTwoDialog = 61002;

class CNamedPage : public CPlxPropertyPage {
 public:
  CNamedPage(UINT nTemplate, const char* title) : CPlxPropertyPage(nTemplate), m_title(title) {
    m_psp.dwFlags |= PSP_USETITLE;
    m_psp.pszTitle = m_title.c_str();
  }
  BOOL OnKillActive() override { return keep ? FALSE : CPlxPropertyPage::OnKillActive(); }
  BOOL keep = FALSE;

 private:
  std::string m_title;
};

class PlxPropertySheetNav : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { customize_test::StartDisplay(); }
  void SetUp() override {
    // General: Display, Sound. Advanced: Network (Proxy), then Logs.
    m_sheet.SetLook(CPlxPropertySheet::PropSheetLook_Tree, 110);
    m_general = m_sheet.AddTreeCategory("General", 0, 1);
    m_advanced = m_sheet.AddTreeCategory("Advanced", 0, 1);
    m_network = m_sheet.AddTreeCategory("Network", 0, 1, m_advanced);
    m_sheet.AddPageToTree(m_general, &m_display, 2, 3);
    m_sheet.AddPageToTree(m_general, &m_sound, 2, 3);
    m_sheet.AddPageToTree(m_network, &m_proxy, 4, 5);
    m_sheet.AddPageToTree(m_advanced, &m_logs, 4, 5);
    ASSERT_TRUE(m_sheet.Create(nullptr, WS_POPUP | WS_CAPTION | WS_VISIBLE));
    m_sheet.SetWindowPos(nullptr, 30, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Pump();
  }
  void TearDown() override {
    if (m_sheet.GetSafeHwnd() != nullptr) m_sheet.DestroyWindow();
    Pump();
  }
  CTreeCtrl& Tree() { return m_sheet.GetNavigationTree(); }
  BOOL Expanded(CPlxPropSheetCategory* c) {
    return (Tree().GetItemState(c->m_hTreeItem, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
  }

  CPlxPropertySheet m_sheet{"Options"};
  CNamedPage m_display{kPageOneDialog, "Display"}, m_sound{kPageTwoDialog, "Sound"};
  CNamedPage m_proxy{kPageOneDialog, "Proxy"}, m_logs{kPageTwoDialog, "Logs"};
  CPlxPropSheetCategory *m_general = nullptr, *m_advanced = nullptr, *m_network = nullptr;
};

TEST_F(PlxPropertySheetNav, TheTreeSwitchesPagesAndOpensTheCategoriesOnTheWay) {
  ASSERT_NE(Tree().GetSafeHwnd(), nullptr);
  EXPECT_EQ(Tree().GetDlgCtrlID(), static_cast<int>(CPlxPropertySheet::kTreeId));
  EXPECT_EQ(m_sheet.GetActivePage(), &m_display);
  EXPECT_EQ(Tree().GetSelectedItem(), m_display.m_hNavItem);
  EXPECT_TRUE(Expanded(m_general));
  struct Case {
    const char* name;
    HTREEITEM item;
    CPropertyPage* active;
    BOOL general, advanced, network;  // expanded
  };
  const Case cases[] = {
      {"a page of the open category", m_sound.m_hNavItem, &m_sound, TRUE, FALSE, FALSE},
      {"a category: its first sub-category's first page", m_advanced->m_hTreeItem, &m_proxy, FALSE, TRUE,
       TRUE},
      {"a page of the parent: the sub-category closes", m_logs.m_hNavItem, &m_logs, FALSE, TRUE, FALSE},
      {"back to the first category", m_display.m_hNavItem, &m_display, TRUE, FALSE, FALSE},
  };
  for (const Case& c : cases) {
    Tree().SelectItem(c.item);
    Pump();
    EXPECT_EQ(m_sheet.GetActivePage(), c.active) << c.name;
    EXPECT_TRUE(c.active->IsWindowVisible()) << c.name;
    EXPECT_EQ(Tree().GetSelectedItem(), static_cast<CPlxPropertyPage*>(c.active)->m_hNavItem) << c.name;
    EXPECT_EQ(Expanded(m_general), c.general) << c.name;
    EXPECT_EQ(Expanded(m_advanced), c.advanced) << c.name;
    EXPECT_EQ(Expanded(m_network), c.network) << c.name;
  }
}

TEST_F(PlxPropertySheetNav, AClickOnATreeItemShowsItsPageRightOfTheTree) {
  CRect item;
  ASSERT_TRUE(Tree().GetItemRect(m_sound.m_hNavItem, item, TRUE));
  Tree().ClientToScreen(item);
  customize_test::Click(item.CenterPoint());
  EXPECT_EQ(m_sheet.GetActivePage(), &m_sound);
  CRect tree, page;
  Tree().GetWindowRect(tree);
  m_sound.GetWindowRect(page);
  EXPECT_GT(page.left, tree.right);
  EXPECT_EQ(page.top, tree.top);
}

TEST_F(PlxPropertySheetNav, TheTreeFollowsPagesChangedByTheSheet) {
  m_sheet.SetActivePage(&m_logs);
  Pump();
  EXPECT_EQ(Tree().GetSelectedItem(), m_logs.m_hNavItem);
  EXPECT_EQ(m_sheet.GetActivePage(), &m_logs);
}

TEST_F(PlxPropertySheetNav, APageThatKeepsTheSheetKeepsTheTreeOnIt) {
  m_display.keep = TRUE;
  Tree().SelectItem(m_proxy.m_hNavItem);
  Pump();
  EXPECT_EQ(m_sheet.GetActivePage(), &m_display);
  EXPECT_EQ(Tree().GetSelectedItem(), m_display.m_hNavItem);
  EXPECT_TRUE(Expanded(m_general));
  m_display.keep = FALSE;
}

TEST_F(PlxPropertySheetNav, ItemImagesShowTheActivePageAndOpenCategories) {
  int image = -2, selected = -2;
  ASSERT_TRUE(Tree().GetItemImage(m_display.m_hNavItem, image, selected));
  EXPECT_EQ(image, 3) << "the active page";
  ASSERT_TRUE(Tree().GetItemImage(m_sound.m_hNavItem, image, selected));
  EXPECT_EQ(image, 2);
  ASSERT_TRUE(Tree().GetItemImage(m_general->m_hTreeItem, image, selected));
  EXPECT_EQ(image, 1) << "an open category";
  ASSERT_TRUE(Tree().GetItemImage(m_advanced->m_hTreeItem, image, selected));
  EXPECT_EQ(image, 0);
}

TEST_F(PlxPropertySheetNav, LooksLikeATreeBesideThePage) {
  Tree().SelectItem(m_proxy.m_hNavItem);
  Tree().SetFocus();
  Pump();
  m_sheet.RedrawWindow(nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  CRect area;
  m_sheet.GetWindowRect(area);
  EXPECT_EQ(customize_test::CompareWithReference(area, "sheet-tree.png"), 0);
}

// A bar whose buttons stand for the pages: after each page change only the active page's button
// is checked (the one left behind is released).
TEST_F(PlxPropertySheetNav, ANavigationBarChecksTheActivePagesButtonOnly) {
  customize_test::CHostWnd host;
  ASSERT_TRUE(host.Make(CRect(420, 30, 620, 80)));
  CPlxToolBar bar;
  ASSERT_TRUE(bar.Create(&host, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 1001));
  for (UINT id = 0; id < 4; ++id) bar.InsertButton(CPlxToolbarButton(3001 + id, -1, nullptr, FALSE, TRUE));
  m_sheet.SetNavigationBar(&bar);
  for (int page : {2, 0, 3, 3}) {
    m_sheet.SetActivePage(page);
    Pump();
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ((bar.GetButtonStyle(i) & TBBS_CHECKED) != 0, i == page)
          << "page " << page << ", button " << i;
  }
  m_sheet.SetNavigationBar(nullptr);
  bar.DestroyWindow();
  host.DestroyWindow();
  Pump();
}

}  // namespace
