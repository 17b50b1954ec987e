// The menu page: it shows each application menu in the menu bar and the menu bar's first menu
// again when it closes, opens context menus as editable popups where the last one was left,
// keeps the animation type (999 for the system's choice) and shadows, and resets menus without
// ever losing the live one when no fresh menu can be had.
#include "toolkit/customize/PlxMenuPage.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/user/Menu.h"
#include "tests/toolkit/customize/KeysHost.h"
#include "toolkit/bars/PlxPopupMenuBar.h"

namespace {

using namespace keys_test;

class PlxMenuPageTest : public ::testing::Test {
 protected:
  void SetUp() override { CPlxMenuPage::m_ptMenuLastPos = CPoint(0, 0); }
  void TearDown() override { CPlxPopupMenu::m_AnimationType = CPlxPopupMenu::NoAnimation; }

  CPlxMenuPage* Open(UINT options = CUSTOPT_MENU_SHADOWS | CUSTOPT_MENU_ANIMATION) {
    page = host.Open(&CPlxToolbarCustomize::GetMenuPage, options);
    return page;
  }
  void Notify(UINT id, UINT code) {
    page->SendMessage(WM_COMMAND, MAKEWPARAM(id, code),
                      reinterpret_cast<LPARAM>(page->GetDlgItem(id)->m_hWnd));
    pictavo::test::PumpPending();
  }
  void PickAppMenu(const char* name) {
    page->m_wndMenuesList.SetCurSel(page->m_wndMenuesList.FindStringExact(-1, name));
    Notify(CPlxMenuPage::IDC_APP_MENU, CBN_SELCHANGE);
  }
  void PickContextMenu(const char* name) {
    page->m_wndContextMenus.SetCurSel(page->m_wndContextMenus.FindStringExact(-1, name));
    Notify(CPlxMenuPage::IDC_CONTEXT_MENU, CBN_SELCHANGE);
  }
  bool Visible(UINT id) { return (page->GetDlgItem(id)->GetStyle() & WS_VISIBLE) != 0; }
  bool Enabled(UINT id) { return page->GetDlgItem(id)->IsWindowEnabled() != FALSE; }
  CPlxMenuBar& Bar() { return host.frame->m_wndMenuBar; }

  KeysHost host;
  CPlxMenuPage* page = nullptr;
};

TEST_F(PlxMenuPageTest, TheMenuBarShowsTheChosenMenuWhileThePageIsOpen) {
  const HMENU first = Bar().GetHMenu();
  ASSERT_NE(Open(), nullptr);
  EXPECT_EQ(Bar().m_pMenuPage, page);
  ASSERT_EQ(page->m_wndMenuesList.GetCount(), 2);
  CString name;
  page->m_wndMenuesList.GetLBText(page->m_wndMenuesList.GetCurSel(), name);
  EXPECT_STREQ(name, "Default Menu");  // no document is open

  PickAppMenu("Picture");
  EXPECT_EQ(Bar().GetHMenu(), host.pictures->m_hMenuShared);
  EXPECT_EQ(page->GetShownMenu(), host.pictures->m_hMenuShared);
  CString description;
  page->GetDlgItem(CPlxMenuPage::IDC_DESCRIPTION)->GetWindowText(description);
  EXPECT_STREQ(description, "Picture document");

  host.Close();
  EXPECT_EQ(Bar().m_pMenuPage, nullptr);
  EXPECT_EQ(Bar().GetHMenu(), first);
}

TEST_F(PlxMenuPageTest, TheAnimationTypeMapsTheLastEntryTo999) {
  struct Case {
    int before;
    int openedAt;
    int chosen;
    int after;
  };
  const Case cases[] = {{CPlxMenuPage::kSystemDefaultAnimation, 4, 4, CPlxMenuPage::kSystemDefaultAnimation},
                        {CPlxPopupMenu::Slide, 2, 4, CPlxMenuPage::kSystemDefaultAnimation},
                        {CPlxMenuPage::kSystemDefaultAnimation, 4, 3, CPlxPopupMenu::Fade},
                        {CPlxPopupMenu::NoAnimation, 0, 1, CPlxPopupMenu::Unfold}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    CPlxPopupMenu::m_AnimationType = c.before;
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(page->m_wndMenuAnimations.GetCount(), 5);
    EXPECT_EQ(page->m_wndMenuAnimations.GetCurSel(), c.openedAt);
    page->m_wndMenuAnimations.SetCurSel(c.chosen);
    Notify(CPlxMenuPage::IDC_ANIMATION, CBN_SELCHANGE);
    host.Close();
    EXPECT_EQ(CPlxPopupMenu::m_AnimationType, c.after);
  }
}

TEST_F(PlxMenuPageTest, SheetOptionsShowTheLookControls) {
  ASSERT_NE(Open(0), nullptr);
  EXPECT_FALSE(Visible(CPlxMenuPage::IDC_SHADOWS));
  EXPECT_FALSE(Visible(CPlxMenuPage::IDC_ANIMATION));
  EXPECT_FALSE(Visible(CPlxMenuPage::IDC_ANIMATION_LABEL));
  host.Close();
  ASSERT_NE(Open(), nullptr);
  EXPECT_TRUE(Visible(CPlxMenuPage::IDC_SHADOWS));
  EXPECT_TRUE(Visible(CPlxMenuPage::IDC_ANIMATION));
  // The shadows box writes the global option when the page closes.
  const BOOL shadows = CPlxMenuBar::m_bMenuShadows;
  page->CheckDlgButton(CPlxMenuPage::IDC_SHADOWS, shadows ? 0 : 1);
  Notify(CPlxMenuPage::IDC_SHADOWS, BN_CLICKED);
  host.Close();
  EXPECT_EQ(CPlxMenuBar::m_bMenuShadows, !shadows);
  CPlxMenuBar::m_bMenuShadows = shadows;
}

TEST_F(PlxMenuPageTest, AContextMenuOpensWhereTheLastOneWasLeft) {
  ASSERT_NE(Open(), nullptr);
  EXPECT_EQ(page->m_wndContextMenus.GetCount(), 3);  // none, Photo, Track
  EXPECT_TRUE(Enabled(CPlxMenuPage::IDC_CONTEXT_MENU));
  EXPECT_FALSE(Enabled(CPlxMenuPage::IDC_RESET_CONTEXT));

  PickContextMenu("Photo");
  CPlxPopupMenu* popup = page->GetContextMenu();
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(Enabled(CPlxMenuPage::IDC_RESET_CONTEXT));
  EXPECT_EQ(popup->GetMenuItemCount(), 3);
  CRect rect;
  popup->GetWindowRect(&rect);
  EXPECT_EQ(rect.TopLeft(), CPoint(0, 0));

  // Moved, then closed by its own window: the page forgets it and keeps the place.
  popup->SetWindowPos(nullptr, 240, 160, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  popup->SendMessage(WM_CLOSE);
  pictavo::test::PumpPending();
  EXPECT_EQ(page->GetContextMenu(), nullptr);
  EXPECT_EQ(page->m_wndContextMenus.GetCurSel(), 0);
  EXPECT_FALSE(Enabled(CPlxMenuPage::IDC_RESET_CONTEXT));
  EXPECT_EQ(CPlxMenuPage::m_ptMenuLastPos, CPoint(240, 160));

  PickContextMenu("Track");
  ASSERT_NE(page->GetContextMenu(), nullptr);
  page->GetContextMenu()->GetWindowRect(&rect);
  EXPECT_EQ(rect.TopLeft(), CPoint(240, 160));
  EXPECT_EQ(page->GetContextMenu()->GetMenuItemCount(), 2);
  // Switching back to none closes it.
  PickContextMenu("(none)");
  EXPECT_EQ(page->GetContextMenu(), nullptr);
}

TEST_F(PlxMenuPageTest, ResettingAContextMenuShowsTheFreshItemsInANewPopup) {
  ASSERT_NE(Open(), nullptr);
  PickContextMenu("Photo");
  CPlxPopupMenu* popup = page->GetContextMenu();
  ASSERT_NE(popup, nullptr);
  const HWND before = popup->m_hWnd;
  popup->RemoveItem(2);  // the user drags Delete off
  ASSERT_EQ(popup->GetMenuItemCount(), 2);

  Notify(CPlxMenuPage::IDC_RESET_CONTEXT, BN_CLICKED);
  ASSERT_EQ(g_boxTexts.size(), 1u);
  EXPECT_EQ(g_boxTexts[0], "All changes to the 'Photo' menu will be lost. Reset it?");
  ASSERT_EQ(host.frame->Count(PLX_WM_RESETCONTEXTMENU), 1);
  EXPECT_EQ(host.frame->notices.back().wParam, kPhotoMenu);
  EXPECT_FALSE(::IsWindow(before));
  CPlxPopupMenu* fresh = page->GetContextMenu();
  ASSERT_NE(fresh, nullptr);
  ASSERT_TRUE(::IsWindow(fresh->m_hWnd));
  EXPECT_EQ(fresh->GetMenuItemCount(), 3);
  // Laid out: the bar's items fit the new window.
  CRect window, last;
  fresh->GetWindowRect(&window);
  last = fresh->GetMenuBar()->GetButton(2)->m_rect;
  fresh->GetMenuBar()->ClientToScreen(&last);
  EXPECT_LE(last.bottom, window.bottom);
  EXPECT_GT(last.Height(), 0);
}

TEST_F(PlxMenuPageTest, ContextMenuControlsFollowTheManager) {
  host.contextMenus.reset();
  ASSERT_NE(Open(), nullptr);
  for (UINT id :
       {CPlxMenuPage::IDC_CONTEXT_MENU, CPlxMenuPage::IDC_CONTEXT_LABEL, CPlxMenuPage::IDC_RESET_CONTEXT,
        CPlxMenuPage::IDC_CONTEXT_GROUP, CPlxMenuPage::IDC_CONTEXT_FRAME})
    EXPECT_FALSE(Visible(id)) << id;
}

TEST_F(PlxMenuPageTest, ResettingADocumentMenuReplacesIt) {
  ASSERT_NE(Open(), nullptr);
  PickAppMenu("Picture");
  const HMENU old = host.pictures->m_hMenuShared;
  Bar().RemoveButton(1);  // Edit goes
  Notify(CPlxMenuPage::IDC_RESET_APP, BN_CLICKED);
  const HMENU fresh = host.pictures->m_hMenuShared;
  EXPECT_NE(fresh, old);
  EXPECT_FALSE(::IsMenu(old));
  EXPECT_EQ(Bar().GetHMenu(), fresh);
  EXPECT_EQ(Bar().GetCount(), 2);
  ASSERT_EQ(host.frame->Count(PLX_WM_RESETMENU), 1);
  EXPECT_EQ(host.frame->notices.back().wParam, kPictureRes);
}

TEST_F(PlxMenuPageTest, AResetWithoutAFreshMenuChangesNothing) {
  struct Case {
    const char* name;
    const char* entry;
    std::function<void()> breakIt;
  };
  const Case cases[] = {
      {"the document menu's resource is gone", "Picture", [&] { host.pictures->m_nIDResource = 16499; }},
      {"the default menu has no resource id", "Default Menu", [&] { Bar().SetDefaultMenuResId(0); }},
      {"the default menu's resource is gone", "Default Menu", [&] { Bar().SetDefaultMenuResId(16499); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NE(Open(), nullptr);
    PickAppMenu(c.entry);
    c.breakIt();
    const HMENU shown = Bar().GetHMenu();
    const int buttons = Bar().GetCount();
    Notify(CPlxMenuPage::IDC_RESET_APP, BN_CLICKED);
    EXPECT_TRUE(::IsMenu(shown));
    EXPECT_EQ(Bar().GetHMenu(), shown);
    EXPECT_EQ(Bar().GetCount(), buttons);
    EXPECT_EQ(host.frame->Count(PLX_WM_RESETMENU), 0);
    host.Close();
    host.pictures->m_nIDResource = kPictureRes;
    Bar().SetDefaultMenuResId(kFrameRes);
  }
}

TEST_F(PlxMenuPageTest, AMenuBarResetSelectsTheMenuAgainOnThePage) {
  ASSERT_NE(Open(), nullptr);
  PickAppMenu("Picture");
  ASSERT_TRUE(Bar().RestoreOriginalState());
  // No document is active: the bar and the page both show the fresh default menu.
  CString name;
  page->m_wndMenuesList.GetLBText(page->m_wndMenuesList.GetCurSel(), name);
  EXPECT_STREQ(name, "Default Menu");
  EXPECT_EQ(page->GetShownMenu(), Bar().GetHMenu());
  EXPECT_EQ(Bar().GetHMenu(), Bar().GetDefaultMenu());
  EXPECT_TRUE(::IsMenu(page->GetShownMenu()));
}

}  // namespace
