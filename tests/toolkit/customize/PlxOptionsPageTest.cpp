// The options page: every box changes its global option at once, dependent boxes follow their
// master, and sheet options or a missing menu bar hide what does not apply.
#include "toolkit/customize/PlxOptionsPage.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "tests/toolkit/customize/KeysHost.h"
#include "toolkit/bars/PlxCommandUsage.h"

namespace {

using namespace keys_test;

class PlxOptionsPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = {CPlxToolBar::m_bShowTooltips, CPlxToolBar::m_bShowShortcutKeys,
             CPlxMenuBar::m_bRecentlyUsedMenus, CPlxMenuBar::m_bShowAllMenusAfterDelay,
             CPlxToolBar::IsLargeIcons()};
  }
  void TearDown() override {
    CPlxToolBar::m_bShowTooltips = saved[0];
    CPlxToolBar::m_bShowShortcutKeys = saved[1];
    CPlxMenuBar::m_bRecentlyUsedMenus = saved[2];
    CPlxMenuBar::m_bShowAllMenusAfterDelay = saved[3];
    CPlxToolBar::SetLargeIcons(saved[4]);
    CPlxToolBar::m_lstBasicCommands.RemoveAll();
    CPlxToolBar::m_commandUsage.Reset();
  }
  CPlxOptionsPage* Open(UINT options = CUSTOPT_LOOK2000) {
    page = host.Open(&CPlxToolbarCustomize::GetOptionsPage, options);
    return page;
  }
  // A click on a check box: its state flips and the page is told.
  void Click(UINT id) {
    page->CheckDlgButton(id, page->IsDlgButtonChecked(id) ? 0 : 1);
    Press(id);
  }
  void Press(UINT id) {
    page->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                      reinterpret_cast<LPARAM>(page->GetDlgItem(id)->m_hWnd));
    pictavo::test::PumpPending();
  }
  bool Visible(UINT id) { return (page->GetDlgItem(id)->GetStyle() & WS_VISIBLE) != 0; }
  bool Enabled(UINT id) { return page->GetDlgItem(id)->IsWindowEnabled() != FALSE; }

  KeysHost host;
  CPlxOptionsPage* page = nullptr;
  std::vector<BOOL> saved;
};

TEST_F(PlxOptionsPageTest, EachBoxSetsItsGlobalOptionAtOnce) {
  CPlxToolBar::AddBasicCommand(kNew);
  ASSERT_NE(Open(), nullptr);
  struct Case {
    UINT id;
    std::function<BOOL()> option;
  };
  const Case cases[] = {
      {CPlxOptionsPage::IDC_TOOLTIPS, [] { return CPlxToolBar::m_bShowTooltips; }},
      {CPlxOptionsPage::IDC_SHORTCUT_KEYS, [] { return CPlxToolBar::m_bShowShortcutKeys; }},
      {CPlxOptionsPage::IDC_LARGE_ICONS, [] { return CPlxToolBar::IsLargeIcons(); }},
      {CPlxOptionsPage::IDC_LOOK2000, [] { return CPlxVisualManager::GetInstance()->m_bLook2000; }},
      {CPlxOptionsPage::IDC_RECENTLY_USED, [] { return CPlxMenuBar::m_bRecentlyUsedMenus; }},
      {CPlxOptionsPage::IDC_SHOW_AFTER_DELAY, [] { return CPlxMenuBar::m_bShowAllMenusAfterDelay; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_TRUE(Visible(c.id));
    EXPECT_EQ(page->IsDlgButtonChecked(c.id) != 0, c.option() != FALSE);
    const BOOL before = c.option();
    Click(c.id);
    EXPECT_EQ(c.option() != FALSE, !before);
    Click(c.id);
    EXPECT_EQ(c.option() != FALSE, before != FALSE);
  }
}

TEST_F(PlxOptionsPageTest, DependentBoxesFollowTheirMaster) {
  CPlxToolBar::AddBasicCommand(kNew);
  CPlxToolBar::m_bShowTooltips = TRUE;
  CPlxToolBar::m_bShowShortcutKeys = TRUE;
  CPlxMenuBar::m_bRecentlyUsedMenus = TRUE;
  ASSERT_NE(Open(), nullptr);
  EXPECT_TRUE(Enabled(CPlxOptionsPage::IDC_SHORTCUT_KEYS));
  Click(CPlxOptionsPage::IDC_TOOLTIPS);
  EXPECT_FALSE(Enabled(CPlxOptionsPage::IDC_SHORTCUT_KEYS));
  EXPECT_TRUE(CPlxToolBar::m_bShowShortcutKeys);  // disabled, not cleared
  Click(CPlxOptionsPage::IDC_RECENTLY_USED);
  EXPECT_FALSE(Enabled(CPlxOptionsPage::IDC_SHOW_AFTER_DELAY));
  Click(CPlxOptionsPage::IDC_RECENTLY_USED);
  EXPECT_TRUE(Enabled(CPlxOptionsPage::IDC_SHOW_AFTER_DELAY));
}

TEST_F(PlxOptionsPageTest, WhatDoesNotApplyIsHidden) {
  // No basic command: the recently-used group is hidden and inert; no Look 2000 option asked for.
  ASSERT_NE(Open(0), nullptr);
  for (UINT id : {CPlxOptionsPage::IDC_RECENTLY_USED, CPlxOptionsPage::IDC_RESET_USAGE,
                  CPlxOptionsPage::IDC_RU_LABEL1, CPlxOptionsPage::IDC_RU_LABEL2,
                  CPlxOptionsPage::IDC_SHOW_AFTER_DELAY, CPlxOptionsPage::IDC_LOOK2000}) {
    EXPECT_FALSE(Visible(id)) << id;
    EXPECT_FALSE(Enabled(id)) << id;
  }
  EXPECT_TRUE(Visible(CPlxOptionsPage::IDC_LARGE_ICONS));
}

TEST_F(PlxOptionsPageTest, NoLargeIconsNeverChangesTheMode) {
  CPlxToolBar::SetLargeIcons(FALSE);
  ASSERT_NE(Open(CUSTOPT_NO_LARGE_ICONS), nullptr);
  EXPECT_FALSE(Visible(CPlxOptionsPage::IDC_LARGE_ICONS));
  page->CheckDlgButton(CPlxOptionsPage::IDC_LARGE_ICONS, 1);
  Press(CPlxOptionsPage::IDC_LARGE_ICONS);  // a stray notification
  EXPECT_FALSE(CPlxToolBar::IsLargeIcons());
}

TEST_F(PlxOptionsPageTest, ResetUsageAsksFirst) {
  CPlxToolBar::AddBasicCommand(kNew);
  ASSERT_NE(Open(), nullptr);
  CPlxToolBar::m_bCustomizeMode = FALSE;  // usage is counted outside customizing only
  CPlxToolBar::m_commandUsage.AddCmd(kOpen);
  const BOOL saved = CPlxToolBar::m_bCustomizeMode;
  CPlxToolBar::m_bCustomizeMode = TRUE;
  ASSERT_EQ(CPlxToolBar::m_commandUsage.GetCount(kOpen), 1u);
  g_answer = IDNO;
  Press(CPlxOptionsPage::IDC_RESET_USAGE);
  EXPECT_EQ(CPlxToolBar::m_commandUsage.GetCount(kOpen), 1u);
  g_answer = IDYES;
  Press(CPlxOptionsPage::IDC_RESET_USAGE);
  EXPECT_EQ(CPlxToolBar::m_commandUsage.GetCount(kOpen), 0u);
  EXPECT_EQ(g_boxTexts.size(), 2u);
  CPlxToolBar::m_bCustomizeMode = saved;
}

}  // namespace
