// The context-menu manager: menus kept by id and name, where a menu asked for at (-1, -1) opens,
// toolkit dialogs as owners, menus shown (the command posted) against menus tracked (the command
// returned), Escape and WM_QUIT during tracking, and customized menus saved and loaded again.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/mfc/WinApp.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/toolkit/core/PlxDialogHost.h"
#include "toolkit/bars/PlxContextMenuManager.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxMenuTempStore.h"

namespace {

using namespace dialogtest;

// Runs an action when its posted message comes, so a test acts inside the tracking loop.
class CScriptWnd : public CWnd {
 public:
  static constexpr UINT kRun = WM_APP + 17;
  std::function<void()> action;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kRun) {
      if (action) action();
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// A toolkit frame that records the commands that reach it; its popups become its active ones.
class CRecordingFrame : public CPlxFrameWnd {
 public:
  BOOL Make(const CRect& rect) { return Create(nullptr, "Frame", WS_POPUP | WS_VISIBLE, rect); }
  std::vector<UINT> commands;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    commands.push_back(LOWORD(wParam));
    return CPlxFrameWnd::OnCommand(wParam, lParam);
  }
};

// A frame with a view and an edit inside the view.
class ContextMenus : public shelltest::RegistryFixture {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  }
  void SetUp() override {
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    CPlxPopupMenu::m_AnimationType = CPlxPopupMenu::NoAnimation;
    CPlxMenuBar::m_bRecentlyUsedMenus = FALSE;
    if (AfxGetApp() == nullptr) m_app = std::make_unique<CWinApp>("ContextMenuTest");
    ASSERT_NE(AfxGetThread(), nullptr);
    ASSERT_TRUE(frame.Make(CRect(0, 0, 800, 600)));
    ASSERT_TRUE(view.CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)),
                              "View", WS_CHILD | WS_VISIBLE, CRect(40, 30, 440, 330), &frame, 1));
    ASSERT_TRUE(
        edit.CreateEx(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(100, 120, 300, 142), &view, 2));
    ASSERT_TRUE(script.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, CRect(0, 0, 1, 1), nullptr, 0));
    manager = std::make_unique<CPlxContextMenuManager>();
    ASSERT_TRUE(manager->AddMenu("Edit", kEditMenu));
    ASSERT_TRUE(manager->AddMenu(kViewMenuName, kViewMenu));
  }
  void TearDown() override {
    if (CPlxPopupMenu* popup = CPlxPopupMenu::GetActiveMenu(); popup != nullptr) popup->SendMessage(WM_CLOSE);
    Pump();
    manager.reset();
    if (dialog != nullptr) {
      if (dialog->GetSafeHwnd() != nullptr) dialog->DestroyWindow();
      delete dialog;
    }
    script.DestroyWindow();
    frame.DestroyWindow();
    Pump();
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    CPlxMenuGlyphs::CleanUp();
    CPlxToolBar::CleanUpImages();
    CPlxVisualManager::DestroyInstance();
    CPlxMenuBar::m_bRecentlyUsedMenus = TRUE;
  }

  // Tracks the edit menu with the action run inside the loop, once the popup is up.
  UINT Track(CWnd* owner, std::function<void()> action, CPoint at = CPoint(300, 200)) {
    script.action = std::move(action);
    script.PostMessage(CScriptWnd::kRun);
    HMENU hMenu = ::GetSubMenu(manager->GetMenuByName("Edit"), 0);
    return manager->TrackPopupMenu(hMenu, at.x, at.y, owner);
  }
  static void Key(UINT key) {
    if (CPlxPopupMenu* popup = CPlxPopupMenu::GetActiveMenu(); popup != nullptr)
      popup->SendMessage(WM_KEYDOWN, key);
  }

  std::unique_ptr<CWinApp> m_app;
  CRecordingFrame frame;
  CWnd view, edit;
  CScriptWnd script;
  std::unique_ptr<CPlxContextMenuManager> manager;
  CMenuDialog* dialog = nullptr;
};

TEST_F(ContextMenus, MenusAreKeptByIdAndName) {
  CStringList names;
  manager->GetMenuNames(names);
  ASSERT_EQ(names.GetCount(), 2);
  EXPECT_TRUE(names.Find("Edit") != nullptr);
  EXPECT_TRUE(names.Find("View menu") != nullptr);  // the name from the string table

  UINT id = 12345;
  EXPECT_EQ(manager->GetMenuByName("Nothing", &id), nullptr);
  EXPECT_EQ(id, 12345u);                                    // untouched
  EXPECT_EQ(manager->GetMenuByName("edit", &id), nullptr);  // names compare exactly
  HMENU view = manager->GetMenuByName("View menu", &id);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(id, kViewMenu);
  EXPECT_EQ(::GetMenuItemID(::GetSubMenu(view, 0), 0), 64876u);

  EXPECT_FALSE(manager->AddMenu("Edit", kViewMenu));   // the name is taken
  EXPECT_FALSE(manager->AddMenu("Other", kEditMenu));  // the id is taken
  EXPECT_FALSE(manager->AddMenu("Missing", 64889));    // no such resource
  EXPECT_FALSE(manager->ShowPopupMenu(64889u, 10, 10, &this->view));
}

TEST_F(ContextMenus, WhereAMenuOpens) {
  auto clientCorner = [](CWnd* wnd) {
    CPoint origin(0, 0);
    wnd->ClientToScreen(&origin);
    return origin;
  };
  struct Case {
    const char* name;
    CPoint asked;
    CWnd* focus;
    CPoint want;
  } const cases[] = {
      {"at the pointer's point", CPoint(300, 200), &view, CPoint(300, 200)},
      {"(-1, -1) from the keyboard: inside the owner's corner", CPoint(-1, -1), &view,
       clientCorner(&view) + CPoint(5, 5)},
      {"(-1, -1) with the focus on a control of the owner: by the focus", CPoint(-1, -1), &edit,
       clientCorner(&edit) + CPoint(5, 5)},
      {"(-1, -1) with the focus outside the owner: the owner's corner", CPoint(-1, -1), &frame,
       clientCorner(&view) + CPoint(5, 5)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.focus->SetFocus();
    ASSERT_TRUE(manager->ShowPopupMenu(kEditMenu, c.asked.x, c.asked.y, &view, FALSE));
    Pump();
    CPlxPopupMenu* popup = CPlxPopupMenu::GetActiveMenu();
    ASSERT_NE(popup, nullptr);
    CRect rect;
    popup->GetWindowRect(rect);
    EXPECT_EQ(rect.TopLeft(), c.want);
    popup->SendMessage(WM_CLOSE);
    Pump();
  }
}

TEST_F(ContextMenus, ShownMenusPostTheCommandTrackedOnesReturnIt) {
  struct Case {
    const char* name;
    bool track;
    std::function<void()> action;
    UINT returned;
    std::vector<UINT> posted;  // to the view's top-level frame
  } const cases[] = {
      {"shown, Copy picked: posted to the frame", false, [] { Key('C'); }, 0, {kCopy}},
      {"tracked, Copy picked: returned, nothing posted", true, [] { Key('C'); }, kCopy, {}},
      {"tracked, Escape: 0", true, [] { Key(VK_ESCAPE); }, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    frame.commands.clear();
    UINT returned = 0;
    if (c.track) {
      returned = Track(&view, c.action);
    } else {
      ASSERT_TRUE(manager->ShowPopupMenu(kEditMenu, 300, 200, &view, FALSE));
      Pump();
      c.action();
      Pump();
    }
    EXPECT_EQ(returned, c.returned);
    EXPECT_EQ(frame.commands, c.posted);
    EXPECT_EQ(CPlxPopupMenu::GetActiveMenu(), nullptr);
    EXPECT_FALSE(manager->m_bTrackMode);
  }
}

TEST_F(ContextMenus, AQuitDuringTrackingEndsItAndStaysForTheApplicationsLoop) {
  HWND popupWindow = nullptr;
  const UINT returned = Track(&view, [&] {
    popupWindow = CPlxPopupMenu::GetActiveMenu()->GetSafeHwnd();
    ::PostQuitMessage(7);
    script.PostMessage(CScriptWnd::kRun + 1);  // queued behind the quit: never reached
  });
  EXPECT_EQ(returned, 0u);
  EXPECT_FALSE(::IsWindow(popupWindow));  // the popup does not outlive its loop
  MSG msg;
  ASSERT_TRUE(::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(ContextMenus, ToolkitDialogsAsOwners) {
  dialog = new CMenuDialog;
  ASSERT_TRUE(dialog->Create(kDialogId, &frame));
  dialog->ShowWindow(SW_SHOW);
  Pump();
  HMENU hMenu = ::GetSubMenu(manager->GetMenuByName("Edit"), 0);

  // Shown without reporting to the dialog: nothing (it could not close it or feed it keys).
  EXPECT_EQ(manager->ShowPopupMenu(hMenu, 300, 200, dialog, FALSE), nullptr);
  // Reporting to the dialog: shown, registered, the command goes to the dialog.
  CPlxPopupMenu* popup = manager->ShowPopupMenu(hMenu, 300, 200, dialog, TRUE);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(dialog->GetActiveMenu(), popup);
  popup->SendMessage(WM_KEYDOWN, 'T');
  Pump();
  EXPECT_EQ(dialog->commands, std::vector<UINT>{kCut});
  EXPECT_EQ(CPlxDialogCore::s_hPopupHook, nullptr);

  struct Case {
    const char* name;
    CWnd* owner;
    std::function<void()> action;
    UINT returned;
  } const cases[] = {
      {"tracked from a control of the dialog", dialog->GetDlgItem(kEdit), [] { Key('P'); }, kPaste},
      {"tracked by the dialog itself", dialog, [] { Key('P'); }, kPaste},
      {"a key pressed in the dialog reaches the popup", dialog,
       [this] { dialog->GetDlgItem(kEdit)->PostMessage(WM_KEYDOWN, VK_ESCAPE); }, 0},
      {"a click on the dialog's frame closes it", dialog,
       [this] {
         CRect rect;
         dialog->GetDlgItem(kEdit)->GetWindowRect(rect);
         pictavo::user::InjectMouseMove(rect.CenterPoint());
         pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
         pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
       },
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialog->commands.clear();
    bool registered = false;
    const UINT returned = Track(c.owner, [&] {
      registered = dialog->GetActiveMenu() != nullptr && CPlxDialogCore::s_hPopupHook != nullptr;
      c.action();
    });
    EXPECT_TRUE(registered);
    EXPECT_EQ(returned, c.returned);
    EXPECT_TRUE(dialog->commands.empty());
    EXPECT_EQ(CPlxDialogCore::s_hPopupHook, nullptr);
    EXPECT_EQ(CPlxPopupMenu::GetActiveMenu(), nullptr);
  }
}

TEST_F(ContextMenus, CustomizedMenusAreSavedAndLoadedAgain) {
  const char* profile = "Software\\Pictavo Test\\Menus\\";
  HMENU edit = ::GetSubMenu(manager->GetMenuByName("Edit"), 0);
  // The user took Paste out of the edit menu (what the menu page leaves in the store).
  {
    CPlxPopupMenuBar bar;
    ASSERT_TRUE(bar.ImportFromMenu(edit));
    ASSERT_EQ(bar.GetCount(), 5);
    ASSERT_TRUE(bar.RemoveButton(2));
    ASSERT_TRUE(g_menuTempStore.SaveMenuBar(edit, &bar));
  }
  EXPECT_TRUE(manager->SaveState(profile));

  // The next run: the menus come fresh from the resources, the edits from the registry.
  manager.reset();
  g_menuTempStore.CleanUp();
  manager = std::make_unique<CPlxContextMenuManager>();
  ASSERT_TRUE(manager->AddMenu("Edit", kEditMenu));
  ASSERT_TRUE(manager->AddMenu(kViewMenuName, kViewMenu));
  EXPECT_TRUE(manager->LoadState(profile));

  struct Case {
    UINT id;
    int items;
  } const cases[] = {{kEditMenu, 4}, {kViewMenu, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    ASSERT_TRUE(manager->ShowPopupMenu(c.id, 300, 200, &view, FALSE));
    Pump();
    CPlxPopupMenu* popup = CPlxPopupMenu::GetActiveMenu();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->GetMenuItemCount(), c.items);
    popup->SendMessage(WM_CLOSE);
    Pump();
  }
  // A profile with nothing saved loads nothing and keeps the menus as they are.
  auto fresh = std::make_unique<CPlxContextMenuManager>();
  manager.reset();
  manager = std::move(fresh);
  ASSERT_TRUE(manager->AddMenu("Edit", kEditMenu));
  EXPECT_TRUE(manager->LoadState("Software\\Pictavo Test\\Nothing\\"));
  ASSERT_TRUE(manager->ShowPopupMenu(kEditMenu, 300, 200, &view, FALSE));
  Pump();
  ASSERT_NE(CPlxPopupMenu::GetActiveMenu(), nullptr);
  EXPECT_EQ(CPlxPopupMenu::GetActiveMenu()->GetMenuItemCount(), 5);
}

}  // namespace
