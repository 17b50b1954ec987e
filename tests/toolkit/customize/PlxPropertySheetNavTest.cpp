// A property sheet shown through its navigation tree: choosing pages and categories in the tree
// switches pages and opens and closes the categories along the way, the tree follows page changes
// made by the sheet, a page that refuses to be left keeps the tree on it, the images of the
// items, and what the sheet looks like. Shown through an outlook bar: a shortcut per page that
// switches pages, the active one checked and scrolled into view, and its look.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/comctl/CommCtrl.h"
#include "platform/gdi/Gdi.h"
#include "platform/res/Resources.h"
#include "tests/toolkit/customize/CustomizeHost.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/core/PlxDialog.h"
#include "toolkit/customize/PlxOutlookBar.h"
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

// ---------------------------------------------------------------------------------------------
// The outlook look

constexpr int kOutlookPages = 8;

class PlxPropertySheetOutlook : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { customize_test::StartDisplay(); }
  void SetUp() override {
    ASSERT_TRUE(m_images.Create(32, 32, ILC_COLOR24 | ILC_MASK, 1, 1));
    HICON icon =
        static_cast<HICON>(::LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(128), IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(icon, nullptr);
    m_images.Add(icon);
    ::DestroyIcon(icon);
    m_sheet.SetIconsList(&m_images);
    m_sheet.SetLook(CPlxPropertySheet::PropSheetLook_OutlookBar, 110);
    for (int i = 0; i < kOutlookPages; ++i) {
      m_titles.push_back("Page " + std::to_string(i + 1));
      m_pages.push_back(
          std::make_unique<CNamedPage>(i % 2 ? kPageTwoDialog : kPageOneDialog, m_titles.back().c_str()));
      m_sheet.AddPageToTree(nullptr, m_pages.back().get(), 0, 0);
    }
    ASSERT_TRUE(m_sheet.Create(nullptr, WS_POPUP | WS_CAPTION | WS_VISIBLE));
    m_sheet.SetWindowPos(nullptr, 30, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Pump();
    ASSERT_NE(Bar(), nullptr);
  }
  void TearDown() override {
    if (m_sheet.GetSafeHwnd() != nullptr) m_sheet.DestroyWindow();
    Pump();
  }
  CPlxOutlookBar* Bar() { return m_sheet.GetOutlookBar(); }
  std::vector<int> Checked() {
    std::vector<int> checked;
    for (int i = 0; i < Bar()->GetCount(); ++i)
      if (Bar()->GetButtonStyle(i) & TBBS_CHECKED) checked.push_back(i);
    return checked;
  }

  CImageList m_images;
  CPlxPropertySheet m_sheet{"Options"};
  std::vector<std::string> m_titles;
  std::vector<std::unique_ptr<CNamedPage>> m_pages;
};

TEST_F(PlxPropertySheetOutlook, AShortcutPerPageStandsLeftOfThePages) {
  EXPECT_EQ(Bar()->GetDlgCtrlID(), static_cast<int>(CPlxPropertySheet::kOutlookBarId));
  EXPECT_EQ(m_sheet.GetNavigationBar(), Bar());
  EXPECT_EQ(m_sheet.GetNavigationTree().GetSafeHwnd(), nullptr);
  ASSERT_EQ(Bar()->GetCount(), kOutlookPages);
  for (int i = 0; i < kOutlookPages; ++i) {
    EXPECT_EQ(Bar()->GetButton(i)->m_nID, CPlxPropertySheet::kFirstPageCommand + i);
    EXPECT_STREQ(Bar()->GetButton(i)->m_strText, m_titles[i].c_str());
  }
  CRect bar, page;
  Bar()->GetWindowRect(bar);
  m_pages[0]->GetWindowRect(page);
  EXPECT_EQ(bar.Width(), 110);
  EXPECT_GT(page.left, bar.right);
  EXPECT_EQ(page.top, bar.top);
  EXPECT_EQ(Checked(), std::vector<int>{0});
}

TEST_F(PlxPropertySheetOutlook, AClickedShortcutShowsItsPageAndTheBarFollowsTheSheet) {
  CPoint shortcut = Bar()->GetPageButton(1)->m_rect.CenterPoint();
  Bar()->ClientToScreen(&shortcut);
  customize_test::Click(shortcut);
  Pump();
  EXPECT_EQ(m_sheet.GetActiveIndex(), 1);
  EXPECT_TRUE(m_pages[1]->IsWindowVisible());
  EXPECT_EQ(Checked(), std::vector<int>{1});

  // Pages chosen by the sheet: the bar scrolls until the button is whole in its area, and back.
  CRect area;
  const struct {
    int page;
    bool scrolled;
  } cases[] = {{kOutlookPages - 1, true}, {3, true}, {0, false}, {kOutlookPages - 2, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.page);
    m_sheet.SetActivePage(c.page);
    Pump();
    EXPECT_EQ(Checked(), std::vector<int>{c.page});
    Bar()->GetButtonsArea(area);
    CPlxToolbarButton* button = Bar()->GetButton(c.page);
    EXPECT_FALSE(button->m_bIsHidden);
    EXPECT_GE(button->m_rect.top, area.top);
    EXPECT_LE(button->m_rect.bottom, area.bottom);
    EXPECT_EQ(Bar()->CanScrollUp(), c.scrolled);
  }

  // A page that refuses to be left keeps its button checked.
  m_pages[kOutlookPages - 2]->keep = TRUE;
  Bar()->EnsureButtonVisible(0);
  CPoint first = Bar()->GetPageButton(0)->m_rect.CenterPoint();
  Bar()->ClientToScreen(&first);
  customize_test::Click(first);
  Pump();
  EXPECT_EQ(m_sheet.GetActiveIndex(), kOutlookPages - 2);
  EXPECT_EQ(Checked(), std::vector<int>{kOutlookPages - 2});
  m_pages[kOutlookPages - 2]->keep = FALSE;
}

TEST_F(PlxPropertySheetOutlook, LooksLikeABarOfShortcutsBesideThePage) {
  m_sheet.SetActivePage(kOutlookPages - 1);
  Pump();
  m_sheet.RedrawWindow(nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  CRect area;
  m_sheet.GetWindowRect(area);
  EXPECT_EQ(customize_test::CompareWithReference(area, "sheet-outlook.png"), 0);
}

}  // namespace
