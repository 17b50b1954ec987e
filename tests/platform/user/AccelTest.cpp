// Accelerator tables: making, copying and loading them, and translating keys into commands.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "MenuScript.h"
#include "Recorder.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Accel.h"
#include "platform/user/Menu.h"

using namespace testing_user;
using pictavo::user::InjectKey;

namespace {

TEST(AcceleratorTables, TablesAreCopiedAndDestroyed) {
  ACCEL entries[] = {{FVIRTKEY | FCONTROL, 'N', 1}, {FVIRTKEY, VK_F5, 2}, {0, 'x', 3}};
  HACCEL table = CreateAcceleratorTable(entries, 3);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(CopyAcceleratorTable(table, nullptr, 0), 3);
  ACCEL copy[3] = {};
  EXPECT_EQ(CopyAcceleratorTable(table, copy, 2), 2);
  EXPECT_EQ(copy[1].fVirt, FVIRTKEY);
  EXPECT_EQ(copy[1].key, VK_F5);
  EXPECT_EQ(copy[1].cmd, 2);
  EXPECT_EQ(copy[2].cmd, 0);  // not copied
  EXPECT_TRUE(DestroyAcceleratorTable(table));
  EXPECT_FALSE(DestroyAcceleratorTable(table));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ACCEL_HANDLE));
  EXPECT_EQ(CopyAcceleratorTable(table, nullptr, 0), 0);
  EXPECT_EQ(CreateAcceleratorTable(entries, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(AcceleratorTables, LoadsAcceleratorResources) {
  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
  HACCEL table = LoadAccelerators(nullptr, MAKEINTRESOURCE(60002));
  ASSERT_NE(table, nullptr);
  ACCEL entries[4] = {};
  ASSERT_EQ(CopyAcceleratorTable(table, entries, 4), 3);
  EXPECT_EQ(entries[0].fVirt, FVIRTKEY | FCONTROL);
  EXPECT_EQ(entries[0].key, 'N');
  EXPECT_EQ(entries[0].cmd, 60101);
  EXPECT_EQ(entries[2].fVirt, FVIRTKEY);
  EXPECT_EQ(entries[2].key, VK_F5);
  EXPECT_EQ(entries[2].cmd, 60107);
  DestroyAcceleratorTable(table);
  EXPECT_EQ(LoadAccelerators(nullptr, MAKEINTRESOURCE(60998)), nullptr);
}

enum Modifier : UINT { kShift = 1, kCtrl = 2, kAlt = 4 };

void Press(UINT modifiers, UINT vk) {
  if (modifiers & kShift) InjectKey({VK_SHIFT, true});
  if (modifiers & kCtrl) InjectKey({VK_CONTROL, true});
  if (modifiers & kAlt) InjectKey({VK_MENU, true});
  Tap(vk);
  if (modifiers & kAlt) InjectKey({VK_MENU, false});
  if (modifiers & kCtrl) InjectKey({VK_CONTROL, false});
  if (modifiers & kShift) InjectKey({VK_SHIFT, false});
}

class Accelerators : public MenuFixture {
 protected:
  // The program's loop: the table sees each message first.
  void Run(HACCEL table) {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (TranslateAccelerator(owner, table, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
  }
  std::vector<WPARAM> Commands() {
    std::vector<WPARAM> out;
    for (const Entry& e : Recorder::Get().Entries())
      if (e.hwnd == owner && e.message == WM_COMMAND) out.push_back(e.wParam);
    return out;
  }
};

TEST_F(Accelerators, KeysMatchTheirModifiersExactly) {
  ACCEL entries[] = {
      {FVIRTKEY | FCONTROL, 'N', 1},
      {FVIRTKEY, VK_F5, 2},
      {FVIRTKEY | FCONTROL | FSHIFT, 'S', 3},
      {0, 'x', 4},
      {FVIRTKEY | FALT, 'K', 5},
      {FVIRTKEY | FCONTROL, 'S', 6},
  };
  HACCEL table = CreateAcceleratorTable(entries, 6);
  HMENU bar = CreateMenu();
  AppendMenu(bar, MF_STRING, 50, "&Menu");
  SetMenu(owner, bar);
  struct Case {
    const char* what;
    UINT modifiers;
    UINT key;
    WORD command;  // 0: none
  };
  const Case cases[] = {
      {"Ctrl+N", kCtrl, 'N', 1},
      {"N", 0, 'N', 0},
      {"Ctrl+Shift+N", kCtrl | kShift, 'N', 0},
      {"F5", 0, VK_F5, 2},
      {"Ctrl+F5", kCtrl, VK_F5, 0},
      {"Ctrl+Shift+S", kCtrl | kShift, 'S', 3},
      {"Ctrl+S", kCtrl, 'S', 6},
      {"x typed", 0, 'X', 4},
      {"X typed", kShift, 'X', 0},
      {"Alt+K", kAlt, 'K', 5},
      {"K", 0, 'K', 0},
  };
  for (const Case& c : cases) {
    Recorder::Get().Clear();
    Press(c.modifiers, c.key);
    Tap(VK_ESCAPE);  // leaves a menu loop, were one opened
    Run(table);
    const std::vector<WPARAM> expected =
        c.command ? std::vector<WPARAM>{MAKEWPARAM(c.command, 1)} : std::vector<WPARAM>{};
    EXPECT_EQ(Commands(), expected) << c.what;
    // A key that was an accelerator never reaches the window.
    if (c.command) {
      for (const Entry& e : Recorder::Get().Entries())
        if (e.message == WM_CHAR) EXPECT_EQ(e.wParam, static_cast<WPARAM>(VK_ESCAPE)) << c.what;
    }
    // Alt+K was taken by the table: releasing Alt opens no menu loop.
    EXPECT_EQ(Recorder::Get().Count(owner, WM_ENTERMENULOOP), 0) << c.what;
  }
  SetMenu(owner, nullptr);
  DestroyMenu(bar);
  DestroyAcceleratorTable(table);
}

TEST_F(Accelerators, TheMenuHearsFirstAndDisabledItemsSendNothing) {
  HMENU file = CreatePopupMenu();
  AppendMenu(file, MF_STRING, 1, "&New\tCtrl+N");
  AppendMenu(file, MF_STRING, 2, "&Open\tCtrl+O");
  HMENU bar = CreateMenu();
  AppendMenu(bar, MF_STRING, 9, "&Go");
  AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  ASSERT_TRUE(SetMenu(owner, bar));
  ACCEL entries[] = {{FVIRTKEY | FCONTROL, 'N', 1},
                     {FVIRTKEY | FCONTROL, 'O', 2},
                     {FVIRTKEY, VK_F7, 7},
                     {FVIRTKEY, VK_F9, 9}};
  HACCEL table = CreateAcceleratorTable(entries, 4);
  // The owner updates the popup as it opens: Open is disabled.
  Recorder::Get().Handle(owner, WM_INITMENUPOPUP, [](HWND, WPARAM wParam, LPARAM) -> LRESULT {
    EnableMenuItem(reinterpret_cast<HMENU>(wParam), 2, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
    return 0;
  });
  struct Case {
    const char* what;
    UINT modifiers;
    UINT key;
    std::vector<std::pair<UINT, WPARAM>> heard;  // WM_INITMENU, WM_INITMENUPOPUP, WM_COMMAND
  };
  const auto barId = reinterpret_cast<WPARAM>(bar);
  const auto fileId = reinterpret_cast<WPARAM>(file);
  const Case cases[] = {
      {"an enabled item",
       kCtrl,
       'N',
       {{WM_INITMENU, barId}, {WM_INITMENUPOPUP, fileId}, {WM_COMMAND, MAKEWPARAM(1, 1)}}},
      {"an item disabled as its popup opens", kCtrl, 'O', {{WM_INITMENU, barId}, {WM_INITMENUPOPUP, fileId}}},
      {"a command the menu has not", 0, VK_F7, {{WM_COMMAND, MAKEWPARAM(7, 1)}}},
      {"an item of the bar itself", 0, VK_F9, {{WM_INITMENU, barId}, {WM_COMMAND, MAKEWPARAM(9, 1)}}},
  };
  for (const Case& c : cases) {
    Recorder::Get().Clear();
    Press(c.modifiers, c.key);
    Run(table);
    std::vector<std::pair<UINT, WPARAM>> heard;
    for (const Entry& e : Recorder::Get().Entries())
      if (e.hwnd == owner &&
          (e.message == WM_INITMENU || e.message == WM_INITMENUPOPUP || e.message == WM_COMMAND))
        heard.emplace_back(e.message, e.wParam);
    EXPECT_EQ(heard, c.heard) << c.what;
    Entry e{};
    if (Recorder::Get().Last(owner, WM_INITMENUPOPUP, &e))
      EXPECT_EQ(e.lParam, MAKELPARAM(1, FALSE)) << c.what;
  }
  SetMenu(owner, nullptr);
  DestroyMenu(bar);
  DestroyAcceleratorTable(table);
}

}  // namespace
