// Toolkit dialogs hosting a popup menu: the popup registered with the dialog and the mouse hook
// while it is open, outside clicks, keys and accelerators, a dialog destroyed with its popup open;
// the caption rules; backgrounds and control colours; a page telling its toolkit sheet.
#include <gtest/gtest.h>

#include "platform/mfc/Dc.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/GdiObjects.h"
#include "tests/toolkit/core/PlxDialogHost.h"
#include "toolkit/customize/PlxPropertySheet.h"

namespace {

using namespace dialogtest;
using pictavo::user::MouseButton;

CRect WindowRect(HWND hwnd) {
  CRect rect;
  ::GetWindowRect(hwnd, rect);
  return rect;
}

class PlxDialogTest : public DialogHostTest {};

TEST_F(PlxDialogTest, AnOpenPopupIsRegisteredWithItsDialogAndHookedUntilItCloses) {
  ASSERT_NE(MakeDialog(), nullptr);
  // The button opens the popup as a user would.
  dialog->SendMessage(WM_COMMAND, MAKEWPARAM(kMenuButton, BN_CLICKED),
                      reinterpret_cast<LPARAM>(dialog->GetDlgItem(kMenuButton)->GetSafeHwnd()));
  Pump();
  ASSERT_TRUE(::IsWindow(dialog->m_hwndPopup));
  CPlxPopupMenu* popup = CPlxPopupMenu::GetActiveMenu();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->GetSafeHwnd(), dialog->m_hwndPopup);
  EXPECT_EQ(dialog->GetActiveMenu(), popup);
  EXPECT_NE(CPlxDialogCore::s_hPopupHook, nullptr);
  EXPECT_EQ(CPlxDialogCore::s_pHookOwner, &dialog->m_core);

  // Keys pressed in the dialog go to the popup: Escape closes it.
  dialog->GetDlgItem(kEdit)->SetFocus();
  dialog->GetDlgItem(kEdit)->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  Pump();
  EXPECT_FALSE(::IsWindow(dialog->m_hwndPopup));
  EXPECT_EQ(CPlxPopupMenu::GetActiveMenu(), nullptr);
  EXPECT_EQ(CPlxDialogCore::s_hPopupHook, nullptr);
  EXPECT_EQ(CPlxDialogCore::s_pHookOwner, nullptr);
  EXPECT_TRUE(dialog->commands.empty());
}

TEST_F(PlxDialogTest, ClicksWhilePopupIsOpen) {
  ASSERT_NE(MakeDialog(), nullptr);
  enum Where { kOtherWindow, kDialogEdit, kShadowRight, kShadowBottom, kCutItem };
  struct Case {
    const char* name;
    Where where;
    bool closes;
    int ownerPresses;  // the click reached the other window
    bool editFocused;  // the click reached the dialog's control
    std::vector<UINT> commands;
  } const cases[] = {
      {"another window of the program", kOtherWindow, true, 1, false, {}},
      {"a control of the dialog", kDialogEdit, true, 0, true, {}},
      {"the right shadow band (eaten)", kShadowRight, true, 0, false, {}},
      {"the bottom shadow band (eaten)", kShadowBottom, true, 0, false, {}},
      {"an item of the popup runs its command", kCutItem, true, 0, false, {kCut}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    owner.presses = 0;
    dialog->commands.clear();
    dialog->GetDlgItem(IDOK)->SetFocus();
    CPlxPopupMenu* popup = OpenMenu();
    ASSERT_NE(popup, nullptr);
    const HWND hwndPopup = popup->GetSafeHwnd();
    const CRect rect = WindowRect(hwndPopup);
    const int shadow = popup->GetShadowSize();
    if ((c.where == kShadowRight || c.where == kShadowBottom) && shadow == 0) {
      popup->SendMessage(WM_CLOSE);
      continue;
    }
    CPoint point;
    switch (c.where) {
      case kOtherWindow:
        point = CPoint(700, 550);
        break;
      case kDialogEdit:
        point = WindowRect(dialog->GetDlgItem(kEdit)->GetSafeHwnd()).CenterPoint();
        break;
      case kShadowRight:
        point = CPoint(rect.right - shadow / 2 - 1, rect.top + rect.Height() / 2);
        break;
      case kShadowBottom:
        point = CPoint(rect.left + rect.Width() / 2, rect.bottom - shadow / 2 - 1);
        break;
      case kCutItem: {
        CPlxPopupMenuBar* items = popup->GetMenuBar();
        for (int i = 0; i < items->GetCount(); ++i)
          if (items->GetButton(i)->m_nID == kCut) point = items->GetButton(i)->m_rect.CenterPoint();
        items->ClientToScreen(&point);
        break;
      }
    }
    // The idle update a dialog's owner loop sends leaves the dialog's commands enabled.
    popup->GetMenuBar()->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    Click(point);
    Pump();
    EXPECT_EQ(!::IsWindow(hwndPopup), c.closes);
    EXPECT_EQ(owner.presses, c.ownerPresses);
    EXPECT_EQ(::GetFocus() == dialog->GetDlgItem(kEdit)->GetSafeHwnd(), c.editFocused);
    EXPECT_EQ(dialog->commands, c.commands);
    EXPECT_EQ(CPlxDialogCore::s_hPopupHook, nullptr);
    if (::IsWindow(hwndPopup)) ::SendMessage(hwndPopup, WM_CLOSE, 0, 0);
    Pump();
  }
}

TEST_F(PlxDialogTest, KeysWhilePopupIsOpen) {
  ASSERT_NE(MakeDialog(), nullptr);
  struct Case {
    const char* name;
    UINT message;
    WPARAM wParam;
    bool closes;
    std::vector<UINT> commands;
  } const cases[] = {
      {"an accelerator closes the popup and does not run", WM_COMMAND, MAKEWPARAM(kCut, 1), true, {}},
      {"a menu command is no accelerator and runs", WM_COMMAND, MAKEWPARAM(kCut, 0), false, {kCut}},
      {"Alt alone closes the popup", WM_SYSKEYDOWN, VK_MENU, true, {}},
      {"a mnemonic picks the item", WM_KEYDOWN, 'P', true, {kPaste}},
      {"Down moves in the popup", WM_KEYDOWN, VK_DOWN, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialog->commands.clear();
    CPlxPopupMenu* popup = OpenMenu();
    ASSERT_NE(popup, nullptr);
    const HWND hwndPopup = popup->GetSafeHwnd();
    if (c.message == WM_COMMAND) {
      dialog->SendMessage(WM_COMMAND, c.wParam, 0);
    } else {
      dialog->GetDlgItem(kEdit)->SetFocus();
      dialog->GetDlgItem(kEdit)->PostMessage(c.message, c.wParam, 0);
    }
    Pump();
    EXPECT_EQ(!::IsWindow(hwndPopup), c.closes);
    EXPECT_EQ(dialog->commands, c.commands);
    if (::IsWindow(hwndPopup)) ::SendMessage(hwndPopup, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(CPlxDialogCore::s_hPopupHook, nullptr);
  }
}

// The popup belongs to the dialog's owner, so it outlives the dialog's window unless the dialog
// closes it: it would call the deleted dialog back when it closes, and the hook would stay.
TEST_F(PlxDialogTest, ADialogDestroyedWithItsPopupOpenClosesItAndUnhooks) {
  ASSERT_NE(MakeDialog(), nullptr);
  CPlxPopupMenu* popup = OpenMenu();
  ASSERT_NE(popup, nullptr);
  const HWND hwndPopup = popup->GetSafeHwnd();
  ASSERT_EQ(::GetWindow(hwndPopup, GW_OWNER), owner.GetSafeHwnd());
  ASSERT_NE(CPlxDialogCore::s_hPopupHook, nullptr);

  dialog->DestroyWindow();
  delete dialog;
  dialog = nullptr;
  Pump();
  EXPECT_FALSE(::IsWindow(hwndPopup));
  EXPECT_EQ(CPlxPopupMenu::GetActiveMenu(), nullptr);
  EXPECT_EQ(CPlxDialogCore::s_hPopupHook, nullptr);
  EXPECT_EQ(CPlxDialogCore::s_pHookOwner, nullptr);
  // Clicks afterwards reach their windows and call nobody back.
  Click(CPoint(700, 550));
  EXPECT_EQ(owner.presses, 1);
}

// A window that answers WM_FLOATSTATUS as a floating window of the dialog does, or not.
class CFloating : public CWnd {
 public:
  BOOL m_bSync = FALSE;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_FLOATSTATUS) return (wParam & FS_SYNCACTIVE) && m_bSync ? 1 : 0;
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

TEST_F(PlxDialogTest, TheCaptionStaysActiveWhileItsFloatingWindowIsActive) {
  ASSERT_NE(MakeDialog(), nullptr);
  CFloating floating;
  ASSERT_TRUE(floating.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
  struct Case {
    const char* name;
    UINT state;
    bool other;
    BOOL sync;
    bool stays;
  } const cases[] = {
      {"the dialog itself activated", WA_ACTIVE, false, FALSE, true},
      {"deactivated towards nothing", WA_INACTIVE, false, FALSE, false},
      {"deactivated towards its floating window", WA_INACTIVE, true, TRUE, true},
      {"deactivated towards another window", WA_INACTIVE, true, FALSE, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    floating.m_bSync = c.sync;
    dialog->m_nFlags |= WF_STAYACTIVE;
    dialog->m_core.UpdateStayActive(c.state, c.other ? &floating : nullptr);
    EXPECT_EQ((dialog->m_nFlags & WF_STAYACTIVE) != 0, c.stays);
    BOOL active = FALSE;
    dialog->m_core.AdjustNcActive(active);
    EXPECT_EQ(active, c.stays ? TRUE : FALSE);
  }
  // A disabled dialog shows an inactive caption whatever the flag says.
  dialog->m_nFlags |= WF_STAYACTIVE;
  dialog->EnableWindow(FALSE);
  BOOL active = TRUE;
  dialog->m_core.AdjustNcActive(active);
  EXPECT_FALSE(active);
  dialog->EnableWindow(TRUE);
  floating.DestroyWindow();
}

// What WM_ERASEBKGND leaves in a memory picture of the client area: the colour at the corners.
struct Corners {
  COLORREF topLeft, topRight, bottomLeft, bottomRight;
};

Corners EraseCorners(CPlxDialog* dialog) {
  CRect client;
  dialog->GetClientRect(client);
  CClientDC screen(dialog);
  CDC memory;
  memory.CreateCompatibleDC(&screen);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&screen, client.Width(), client.Height());
  CBitmap* old = memory.SelectObject(&bitmap);
  memory.FillSolidRect(client, RGB(1, 2, 3));
  dialog->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.GetSafeHdc()));
  Corners corners{memory.GetPixel(2, 2), memory.GetPixel(client.right - 3, 2),
                  memory.GetPixel(2, client.bottom - 3),
                  memory.GetPixel(client.right - 3, client.bottom - 3)};
  memory.SelectObject(old);
  return corners;
}

TEST_F(PlxDialogTest, BackgroundImagePlacesAndControlColours) {
  ASSERT_NE(MakeDialog(), nullptr);
  const COLORREF face = ::GetSysColor(COLOR_3DFACE);
  const COLORREF blue = RGB(0, 0, 200), red = RGB(220, 0, 0);
  // A red 16 x 16 picture.
  CClientDC screen(dialog);
  CDC memory;
  memory.CreateCompatibleDC(&screen);
  struct Case {
    const char* name;
    bool brush;
    int place;  // -2: no image
    Corners want;
  } const cases[] = {
      {"no brush, no image: the dialog's own face", false, -2, {face, face, face, face}},
      {"a colour", true, -2, {blue, blue, blue, blue}},
      {"tiled", true, CPlxDialog::BackImageTile, {red, red, red, red}},
      {"top-left", true, -1, {red, blue, blue, blue}},
      {"top-right", true, CPlxDialog::BackImageTopRight, {blue, red, blue, blue}},
      {"bottom-left", true, CPlxDialog::BackImageBottomLeft, {blue, blue, red, blue}},
      {"bottom-right", true, CPlxDialog::BackImageBottomRight, {blue, blue, blue, red}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialog->SetBackgroundColor(c.brush ? blue : CLR_NONE, FALSE);
    HBITMAP image = nullptr;
    if (c.place != -2) {
      CBitmap picture;
      picture.CreateCompatibleBitmap(&screen, 16, 16);
      CBitmap* old = memory.SelectObject(&picture);
      memory.FillSolidRect(0, 0, 16, 16, red);
      memory.SelectObject(old);
      image = static_cast<HBITMAP>(picture.Detach());
    }
    dialog->SetBackgroundImage(image, c.place, TRUE, FALSE);
    const Corners got = EraseCorners(dialog);
    EXPECT_EQ(got.topLeft, c.want.topLeft);
    EXPECT_EQ(got.topRight, c.want.topRight);
    EXPECT_EQ(got.bottomLeft, c.want.bottomLeft);
    EXPECT_EQ(got.bottomRight, c.want.bottomRight);

    // Labels and buttons let a painted background show through; other controls keep theirs.
    CClientDC dc(dialog->GetDlgItem(kLabel));
    const bool painted = c.brush || c.place != -2;
    const auto label = reinterpret_cast<HBRUSH>(
        dialog->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.GetSafeHdc()),
                            reinterpret_cast<LPARAM>(dialog->GetDlgItem(kLabel)->GetSafeHwnd())));
    EXPECT_EQ(label == static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)), painted);
    const auto edit = reinterpret_cast<HBRUSH>(
        dialog->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.GetSafeHdc()),
                            reinterpret_cast<LPARAM>(dialog->GetDlgItem(kEdit)->GetSafeHwnd())));
    EXPECT_NE(edit, static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)));
  }
  dialog->SetBackgroundImage(nullptr, -1, FALSE, FALSE);
  EXPECT_EQ(dialog->m_hBackImage, nullptr);
}

// A dialog that records the bar-menu requests its core sends it.
class CBarMenuDialog : public CMenuDialog {
 public:
  std::vector<std::pair<HWND, CPoint>> requests;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != 0 && message == PLX_WM_TOOLBARMENU) {
      requests.emplace_back(reinterpret_cast<HWND>(wParam),
                            CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
      return 0;
    }
    return CMenuDialog::WindowProc(message, wParam, lParam);
  }
};

TEST_F(PlxDialogTest, ARightClickOnADockBarAsksTheDialogForTheBarMenu) {
  if (PLX_WM_TOOLBARMENU == 0) PlxRegisterToolbarMessages();
  auto* barDialog = new CBarMenuDialog;
  dialog = barDialog;
  ASSERT_TRUE(dialog->Create(kDialogId, &owner));
  dialog->ShowWindow(SW_SHOW);
  CDockBar dock;
  ASSERT_TRUE(dock.Create(dialog, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_TOP));
  dock.SetWindowPos(nullptr, 0, 0, 200, 10, SWP_NOZORDER | SWP_NOACTIVATE);
  struct Case {
    const char* name;
    BOOL customize;
    size_t requests;
  } const cases[] = {{"a right click", FALSE, 1}, {"in customize mode the bars keep it", TRUE, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    barDialog->requests.clear();
    CPlxToolBar::m_bCustomizeMode = c.customize;
    dock.PostMessage(WM_RBUTTONUP, 0, MAKELPARAM(30, 4));
    Pump();
    CPlxToolBar::m_bCustomizeMode = FALSE;
    ASSERT_EQ(barDialog->requests.size(), c.requests);
    if (c.requests == 0) continue;
    CPoint screen(30, 4);
    dock.ClientToScreen(&screen);
    EXPECT_EQ(barDialog->requests[0].first, dialog->GetSafeHwnd());
    EXPECT_EQ(barDialog->requests[0].second, screen);
  }
  dock.DestroyWindow();
}

class CRecordingSheet : public CPlxPropertySheet {
 public:
  using CPlxPropertySheet::CPlxPropertySheet;
  std::vector<CPlxPropertyPage*> activated;
  void OnActivatePage(CPlxPropertyPage* pPage) override {
    activated.push_back(pPage);
    CPlxPropertySheet::OnActivatePage(pPage);
  }
};

TEST_F(PlxDialogTest, APageTellsItsToolkitSheetWhenItBecomesActive) {
  CPlxPropertyPage first(61001), second(61002);
  CRecordingSheet sheet("Pages");
  sheet.AddPage(&first);
  sheet.AddPage(&second);
  ASSERT_TRUE(sheet.Create(&owner, WS_POPUP | WS_CAPTION));
  Pump();
  sheet.SetActivePage(1);
  Pump();
  const std::vector<CPlxPropertyPage*> want{&first, &second};
  EXPECT_EQ(sheet.activated, want);
  EXPECT_EQ(sheet.m_pLastActivatedPage, &second);
  sheet.DestroyWindow();
}

}  // namespace
