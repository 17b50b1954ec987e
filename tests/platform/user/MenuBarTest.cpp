// The menu bar of a top-level window: its room in the frame, the keyboard (Alt, F10, arrows,
// mnemonics, Enter, Escape) and the mouse, and the commands it delivers.
#include <gtest/gtest.h>

#include <vector>

#include "MenuScript.h"
#include "Recorder.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Menu.h"

using namespace testing_user;
using pictavo::user::InjectKey;
using pictavo::user::KeyInput;

namespace {

enum Command : UINT { kNew = 1, kOpen, kNone, kExit, kThumbnails, kDetails, kRefresh, kAbout };

// &File: &New, &Open, -, &Recent Files > {(none), grayed}, -, E&xit; &View: &Thumbnails
// (checked), &Details, -, &Refresh; &Help: &About.
HMENU SampleBar(HMENU* file = nullptr, HMENU* view = nullptr) {
  HMENU recent = CreatePopupMenu();
  AppendMenu(recent, MF_STRING | MF_GRAYED, kNone, "(none)");
  HMENU f = CreatePopupMenu();
  AppendMenu(f, MF_STRING, kNew, "&New\tCtrl+N");
  AppendMenu(f, MF_STRING, kOpen, "&Open...");
  AppendMenu(f, MF_SEPARATOR, 0, nullptr);
  AppendMenu(f, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), "&Recent Files");
  AppendMenu(f, MF_SEPARATOR, 0, nullptr);
  AppendMenu(f, MF_STRING, kExit, "E&xit");
  HMENU v = CreatePopupMenu();
  AppendMenu(v, MF_STRING | MF_CHECKED, kThumbnails, "&Thumbnails");
  AppendMenu(v, MF_STRING, kDetails, "&Details");
  AppendMenu(v, MF_SEPARATOR, 0, nullptr);
  AppendMenu(v, MF_STRING, kRefresh, "&Refresh\tF5");
  HMENU h = CreatePopupMenu();
  AppendMenu(h, MF_STRING, kAbout, "&About");
  HMENU bar = CreateMenu();
  AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(f), "&File");
  AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(v), "&View");
  AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(h), "&Help");
  if (file) *file = f;
  if (view) *view = v;
  return bar;
}

KeyInput Down(UINT vk) {
  return KeyInput{vk, true};
}
KeyInput Up(UINT vk) {
  return KeyInput{vk, false};
}

class MenuBar : public MenuFixture {
 protected:
  void SetUp() override {
    MenuFixture::SetUp();
    bar = SampleBar(&file, &view);
    ASSERT_TRUE(SetMenu(owner, bar));
    PumpPending();
    Recorder::Get().Clear();
  }

  // Plays the input and handles messages until the menu loop it started has ended; returns the
  // command posted, 0 for none.
  UINT Deliver(const std::vector<KeyInput>& input) {
    Recorder::Get().Clear();
    for (const KeyInput& key : input) InjectKey(key);
    EXPECT_TRUE(PumpUntil([&] { return Recorder::Get().Count(owner, WM_EXITMENULOOP) > 0; }));
    PumpPending();
    Entry e{};
    return Recorder::Get().Last(owner, WM_COMMAND, &e) ? LOWORD(e.wParam) : 0;
  }

  HMENU bar = nullptr;
  HMENU file = nullptr;
  HMENU view = nullptr;
};

TEST_F(MenuBar, TheBarTakesItsRoomFromTheClientArea) {
  HWND plain = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 500, 400});
  RECT before{}, window{}, client{};
  GetClientRect(plain, &before);
  HMENU menu = SampleBar();
  ASSERT_TRUE(SetMenu(plain, menu));
  PumpPending();
  EXPECT_EQ(GetMenu(plain), menu);
  GetWindowRect(plain, &window);
  GetClientRect(plain, &client);
  EXPECT_EQ(window, (RECT{100, 100, 500, 400}));
  EXPECT_EQ(client.bottom, before.bottom - GetSystemMetrics(SM_CYMENU));
  EXPECT_EQ(client.right, before.right);

  // The items sit on one row just above the client area, and hit-test as the menu.
  POINT origin{0, 0};
  ClientToScreen(plain, &origin);
  const RECT first = ItemRect(menu, 0, plain);
  const RECT third = ItemRect(menu, 2, plain);
  EXPECT_EQ(first.bottom, origin.y);
  EXPECT_EQ(first.top, origin.y - GetSystemMetrics(SM_CYMENU));
  EXPECT_EQ(first.left, origin.x);
  EXPECT_EQ(third.top, first.top);
  EXPECT_GT(third.left, first.right);
  const POINT onBar = Center(third);
  EXPECT_EQ(SendMessage(plain, WM_NCHITTEST, 0, MAKELPARAM(onBar.x, onBar.y)), HTMENU);
  EXPECT_EQ(MenuItemFromPoint(plain, menu, onBar), 2);
  EXPECT_EQ(SurfacePixel(plain, 390, third.top - window.top + 5), GetSysColor(COLOR_MENUBAR));

  ASSERT_TRUE(SetMenu(plain, nullptr));
  GetClientRect(plain, &client);
  EXPECT_EQ(client, before);
  DestroyMenu(menu);

  // Too narrow for one row: the last item goes to a second row.
  const int twoItems = third.left - first.left;
  HWND narrow = MakeWindow(WS_POPUP | WS_BORDER | WS_VISIBLE,
                           RECT{50, 50, 50 + twoItems + (third.right - third.left) / 2 + 2, 250});
  HMENU wrapping = SampleBar();
  ASSERT_TRUE(SetMenu(narrow, wrapping));
  const RECT row1 = ItemRect(wrapping, 1, narrow);
  const RECT row2 = ItemRect(wrapping, 2, narrow);
  EXPECT_EQ(row2.top, row1.bottom);
  POINT top{0, 0};
  ClientToScreen(narrow, &top);
  EXPECT_EQ(top.y, row2.bottom);

  HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 50}, plain);
  HMENU other = CreateMenu();
  EXPECT_FALSE(SetMenu(child, other));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CHILD_WINDOW_MENU));
  DestroyMenu(other);
}

TEST_F(MenuBar, KeysOpenTheBarAndDeliverTheCommand) {
  const KeyInput alt[] = {Down(VK_MENU), Up(VK_MENU)};
  auto with = [&](std::initializer_list<KeyInput> before, std::initializer_list<UINT> taps) {
    std::vector<KeyInput> keys(before);
    for (UINT vk : taps) {
      keys.push_back(Down(vk));
      keys.push_back(Up(vk));
    }
    return keys;
  };
  struct Case {
    const char* what;
    std::vector<KeyInput> keys;
    UINT command;
  };
  const Case cases[] = {
      {"Alt, Down, Enter", with({alt[0], alt[1]}, {VK_DOWN, VK_RETURN}), kNew},
      {"F10, Down, Down, Enter", with({Down(VK_F10), Up(VK_F10)}, {VK_DOWN, VK_DOWN, VK_RETURN}), kOpen},
      {"Alt, Right, Down, Enter", with({alt[0], alt[1]}, {VK_RIGHT, VK_DOWN, VK_RETURN}), kThumbnails},
      {"Alt, Left wraps to Help, Enter opens it, Enter",
       with({alt[0], alt[1]}, {VK_LEFT, VK_RETURN, VK_RETURN}), kAbout},
      {"Alt+V, Down, Enter", with({Down(VK_MENU), Down('V'), Up('V'), Up(VK_MENU)}, {VK_DOWN, VK_RETURN}),
       kDetails},
      {"Alt, H, A", with({alt[0], alt[1]}, {'H', 'A'}), kAbout},
      {"Right in a popup moves to the next one",
       with({alt[0], alt[1]}, {VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}), kDetails},
      {"into a submenu and back",
       with({alt[0], alt[1]}, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN, VK_LEFT, VK_DOWN, VK_RETURN}),
       kExit},
      {"Escape twice", with({alt[0], alt[1]}, {VK_DOWN, VK_ESCAPE, VK_ESCAPE}), 0},
      {"Alt again leaves", with({alt[0], alt[1]}, {VK_RIGHT, VK_MENU}), 0},
  };
  for (const Case& c : cases) EXPECT_EQ(Deliver(c.keys), c.command) << c.what;

  // The loop told the window it was the menu bar's, and which popups it opened.
  Deliver(with({alt[0], alt[1]}, {VK_RIGHT, VK_DOWN, VK_ESCAPE, VK_ESCAPE}));
  const auto sequence =
      Recorder::Get().Sequence({WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_EXITMENULOOP});
  const std::vector<std::pair<HWND, UINT>> expected = {
      {owner, WM_ENTERMENULOOP}, {owner, WM_INITMENU}, {owner, WM_INITMENUPOPUP}, {owner, WM_EXITMENULOOP}};
  EXPECT_EQ(sequence, expected);
  Entry e{};
  ASSERT_TRUE(Recorder::Get().Last(owner, WM_INITMENU, &e));
  EXPECT_EQ(e.wParam, reinterpret_cast<WPARAM>(bar));
  ASSERT_TRUE(Recorder::Get().Last(owner, WM_INITMENUPOPUP, &e));
  EXPECT_EQ(e.wParam, reinterpret_cast<WPARAM>(view));
  EXPECT_EQ(e.lParam, MAKELPARAM(1, FALSE));
  ASSERT_TRUE(Recorder::Get().Last(owner, WM_ENTERMENULOOP, &e));
  EXPECT_EQ(e.wParam, static_cast<WPARAM>(FALSE));
}

TEST_F(MenuBar, TheOwnerAnswersForLettersNoBarItemHas) {
  struct Case {
    LRESULT answer;
    std::vector<UINT> then;
    UINT command;
  };
  const Case cases[] = {
      {MAKELRESULT(2, MNC_EXECUTE), {VK_RETURN}, kAbout},  // opens Help with its first item
      {MAKELRESULT(1, MNC_SELECT), {VK_DOWN, VK_RETURN}, kThumbnails},
      {MAKELRESULT(0, MNC_IGNORE), {}, 0},  // a beep, and the menu is left
  };
  for (const Case& c : cases) {
    Recorder::Get().Handle(owner, WM_MENUCHAR, [&](HWND, WPARAM, LPARAM) -> LRESULT { return c.answer; });
    std::vector<KeyInput> keys = {Down(VK_MENU), Down('Q'), Up('Q'), Up(VK_MENU)};
    for (UINT vk : c.then) {
      keys.push_back(Down(vk));
      keys.push_back(Up(vk));
    }
    EXPECT_EQ(Deliver(keys), c.command) << c.answer;
    Entry e{};
    ASSERT_TRUE(Recorder::Get().Last(owner, WM_MENUCHAR, &e));
    EXPECT_EQ(e.wParam, MAKEWPARAM('q', 0));  // the bar is no popup
    EXPECT_EQ(e.lParam, reinterpret_cast<LPARAM>(bar));
  }
}

TEST_F(MenuBar, TheMouseOpensPopupsAndSwitchesBetweenThem) {
  Play({[&] {
          // Open by the click; moving along the bar switches to the next popup.
          EXPECT_TRUE(Shown(file));
          EXPECT_NE(GetMenuState(bar, 0, MF_BYPOSITION) & MF_HILITE, 0u);
          pictavo::user::InjectMouseMove(Center(ItemRect(bar, 1, owner)));
          return true;
        },
        [&] {
          EXPECT_FALSE(Shown(file));
          return ClickItem(view, 1)();
        }});
  ClickAt(Center(ItemRect(bar, 0, owner)));
  ASSERT_TRUE(PumpUntil([&] { return Recorder::Get().Count(owner, WM_COMMAND) > 0; }));
  EXPECT_TRUE(Finished());
  Entry e{};
  ASSERT_TRUE(Recorder::Get().Last(owner, WM_COMMAND, &e));
  EXPECT_EQ(e.wParam, MAKEWPARAM(kDetails, 0));
  EXPECT_EQ(GetMenuState(bar, 1, MF_BYPOSITION) & MF_HILITE, 0u);

  std::vector<WPARAM> opened;
  for (const Entry& entry : Recorder::Get().Entries())
    if (entry.hwnd == owner && entry.message == WM_INITMENUPOPUP) opened.push_back(entry.wParam);
  EXPECT_EQ(opened, (std::vector<WPARAM>{reinterpret_cast<WPARAM>(file), reinterpret_cast<WPARAM>(view)}));

  // A second click on the open item closes the menu without a command.
  Recorder::Get().Clear();
  Play({[&] {
    ClickAt(Center(ItemRect(bar, 2, owner)));
    return true;
  }});
  ClickAt(Center(ItemRect(bar, 2, owner)));
  ASSERT_TRUE(PumpUntil([&] { return Recorder::Get().Count(owner, WM_EXITMENULOOP) > 0; }));
  EXPECT_TRUE(Finished());
  PumpPending();
  EXPECT_EQ(Recorder::Get().Count(owner, WM_COMMAND), 0);
}

TEST_F(MenuBar, TheItemUnderThePointerLightsUp) {
  RECT window{};
  GetWindowRect(owner, &window);
  const RECT item = ItemRect(bar, 1, owner);
  const int x = item.left + 2 - window.left;
  const int y = item.top + 2 - window.top;
  EXPECT_EQ(SurfacePixel(owner, x, y), GetSysColor(COLOR_MENUBAR));
  pictavo::user::InjectMouseMove(Center(item));
  ASSERT_TRUE(PumpUntil([&] { return SurfacePixel(owner, x, y) != GetSysColor(COLOR_MENUBAR); }));
  POINT inside{10, 10};
  ClientToScreen(owner, &inside);
  pictavo::user::InjectMouseMove(inside);
  EXPECT_TRUE(PumpUntil([&] { return SurfacePixel(owner, x, y) == GetSysColor(COLOR_MENUBAR); }));
}

}  // namespace
