// How the keyboard, menu, mouse and options pages look in the open sheet, compared with the
// checked-in pictures (PICTAVO_WRITE_REFERENCES=1 writes them anew).
#include <gtest/gtest.h>

#include <string>

#include "platform/base/VirtualKeys.h"
#include "platform/comctl/ListView.h"
#include "tests/toolkit/customize/KeysHost.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/customize/PlxKeyboardPage.h"
#include "toolkit/customize/PlxMenuPage.h"
#include "toolkit/customize/PlxMousePage.h"
#include "toolkit/customize/PlxOptionsPage.h"

namespace {

using namespace keys_test;

CRect PageArea(CWnd* page) {
  pictavo::test::PumpPending();
  page->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  pictavo::test::PumpPending();
  CRect rect;
  page->GetWindowRect(&rect);
  return rect;
}

void Notify(CWnd* page, UINT id, UINT code) {
  page->SendMessage(WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(page->GetDlgItem(id)->m_hWnd));
}

TEST(PlxKeysPagesLookTest, KeyboardPageWithAKeyRecorded) {
  KeysHost host;
  CPlxKeyboardPage* page = host.Open(&CPlxToolbarCustomize::GetKeyboardPage);
  ASSERT_NE(page, nullptr);
  CComboBox& categories = page->m_wndCategoryList;
  categories.SetCurSel(categories.GetCount() - 1);
  Notify(page, CPlxKeyboardPage::IDC_CATEGORY, CBN_SELCHANGE);
  for (int i = 0; i < page->m_wndCommandsList.GetCount(); ++i)
    if (static_cast<CPlxToolbarButton*>(page->m_wndCommandsList.GetItemDataPtr(i))->m_nID == kNew)
      page->m_wndCommandsList.SetCurSel(i);
  Notify(page, CPlxKeyboardPage::IDC_COMMANDS, LBN_SELCHANGE);
  CPlxHotKeyEdit& edit = page->m_wndNewKey;
  MSG click{edit.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, 0, 0, {}};
  edit.PreTranslateMessage(&click);
  for (UINT vk : {static_cast<UINT>(VK_CONTROL), static_cast<UINT>(VK_SHIFT), static_cast<UINT>('K')}) {
    MSG down{edit.m_hWnd, WM_KEYDOWN, vk, 1, 0, {}};
    edit.PreTranslateMessage(&down);
  }
  EXPECT_EQ(customize_test::CompareWithReference(PageArea(page), "keys_keyboard_page.png"), 0);
}

TEST(PlxKeysPagesLookTest, MenuPageEditingAContextMenu) {
  KeysHost host;
  CPlxMenuPage::m_ptMenuLastPos = CPoint(100, 100);
  CPlxMenuPage* page =
      host.Open(&CPlxToolbarCustomize::GetMenuPage, CUSTOPT_MENU_SHADOWS | CUSTOPT_MENU_ANIMATION);
  ASSERT_NE(page, nullptr);
  page->m_wndMenuesList.SetCurSel(page->m_wndMenuesList.FindStringExact(-1, "Picture"));
  Notify(page, CPlxMenuPage::IDC_APP_MENU, CBN_SELCHANGE);
  EXPECT_EQ(customize_test::CompareWithReference(PageArea(page), "keys_menu_page.png"), 0);
  page->m_wndContextMenus.SetCurSel(page->m_wndContextMenus.FindStringExact(-1, "Photo"));
  Notify(page, CPlxMenuPage::IDC_CONTEXT_MENU, CBN_SELCHANGE);
  ASSERT_NE(page->GetContextMenu(), nullptr);
  CRect popup;
  page->GetContextMenu()->RedrawWindow(nullptr, nullptr,
                                       RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  pictavo::test::PumpPending();
  page->GetContextMenu()->GetWindowRect(&popup);
  EXPECT_EQ(customize_test::CompareWithReference(popup, "keys_context_menu.png"), 0);
}

TEST(PlxKeysPagesLookTest, MousePageWithAViewsCommand) {
  KeysHost host(TRUE, FALSE);
  host.mouse = std::make_unique<CPlxMouseManager>();
  host.mouse->AddView(kGridView, "Grid");
  host.mouse->AddView(3, "Clips", 128);
  host.mouse->AddView(kAlbumView, "Album");
  host.mouse->SetCommandForDblClick(kGridView, kRotate);
  CPlxMousePage* page = host.Open(&CPlxToolbarCustomize::GetMousePage);
  ASSERT_NE(page, nullptr);
  page->m_wndListOfViews.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_EQ(customize_test::CompareWithReference(PageArea(page), "keys_mouse_page.png"), 0);
}

TEST(PlxKeysPagesLookTest, OptionsPageWithEveryOption) {
  KeysHost host;
  CPlxToolBar::AddBasicCommand(kNew);
  CPlxOptionsPage* page = host.Open(&CPlxToolbarCustomize::GetOptionsPage, CUSTOPT_LOOK2000);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(customize_test::CompareWithReference(PageArea(page), "keys_options_page.png"), 0);
  CPlxToolBar::m_lstBasicCommands.RemoveAll();
}

}  // namespace
