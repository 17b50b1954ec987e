// An open menu as the headless display shows it, read back from a PNG snapshot: the menu bar
// with its pressed item, the popup below it with readable text, the selection, a visible check
// mark and grey disabled items.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Display.h"
#include "platform/user/Menu.h"
#include "platform/user/User.h"
#include "tests/support/PngPicture.h"

namespace {

using pictavo::test::Picture;
using pictavo::test::ReadPng;

int Luma(COLORREF c) {
  return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000;
}

// What a part of the picture holds: its darkest pixel and how many pixels differ from `ground`.
struct Ink {
  int darkest = 255;
  int marked = 0;
};
Ink InkIn(const Picture& picture, const RECT& r, COLORREF ground) {
  Ink ink;
  for (int y = std::max<int>(0, r.top); y < std::min<int>(picture.height, r.bottom); ++y)
    for (int x = std::max<int>(0, r.left); x < std::min<int>(picture.width, r.right); ++x) {
      const COLORREF c = picture.At(x, y);
      if (c == ground) continue;
      ++ink.marked;
      ink.darkest = std::min(ink.darkest, Luma(c));
    }
  return ink;
}

std::function<void()> g_onIdle;
bool g_loopEnded = false;
constexpr UINT_PTR kGuardTimer = 77;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ENTERIDLE:
      if (g_onIdle) {
        auto step = g_onIdle;
        step();
      }
      return 0;
    case WM_EXITMENULOOP:
      g_loopEnded = true;
      return 0;
    case WM_TIMER:
      if (wParam == kGuardTimer) {
        // Something kept the menu open: give up rather than hang.
        EndMenu();
        g_loopEnded = true;
      }
      return 0;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

void Tap(UINT vk) {
  pictavo::user::InjectKey({vk, true});
  pictavo::user::InjectKey({vk, false});
}

TEST(MenuSnapshot, AnOpenMenuReadsCleanly) {
  setenv("PICTAVO_DISPLAY", "headless", 1);
  setenv("PICTAVO_DESKTOP", "640x480", 1);
  ASSERT_TRUE(pictavo::display::Initialize());
  pictavo::display::HeadlessDisplay* display = pictavo::display::Headless();
  ASSERT_NE(display, nullptr);

  WNDCLASS wc{};
  wc.lpfnWndProc = OwnerProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1));
  wc.lpszClassName = "MenuSnapshotOwner";
  RegisterClass(&wc);
  HWND owner = CreateWindowEx(0, "MenuSnapshotOwner", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 560,
                              400, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  SetForegroundWindow(owner);

  // The menu bar (File, View) with View open: Alt+V.
  HMENU more = CreatePopupMenu();
  AppendMenu(more, MF_STRING, 10, "Inner");
  HMENU file = CreatePopupMenu();
  AppendMenu(file, MF_STRING, 20, "&New");
  HMENU menu = CreatePopupMenu();
  AppendMenu(menu, MF_STRING, 1, "&Open\tCtrl+O");
  AppendMenu(menu, MF_STRING | MF_CHECKED, 2, "&Thumbnails");
  AppendMenu(menu, MF_STRING | MF_GRAYED, 3, "&Saved item");
  AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenu(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(more), "More");
  AppendMenu(menu, MF_STRING, 4, "E&xit");
  HMENU bar = CreateMenu();
  AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), "&View");
  ASSERT_TRUE(SetMenu(owner, bar));

  const std::string path =
      (std::filesystem::temp_directory_path() / (std::to_string(getpid()) + "-menu.png")).string();
  std::vector<RECT> items(6);
  RECT frame{};
  RECT viewItem{};
  RECT fileItem{};
  bool saved = false;
  g_loopEnded = false;
  g_onIdle = [&] {
    g_onIdle = nullptr;
    for (int i = 0; i < 6; ++i)
      GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &items[static_cast<size_t>(i)]);
    GetMenuItemRect(owner, bar, 0, &fileItem);
    GetMenuItemRect(owner, bar, 1, &viewItem);
    GetWindowRect(FindWindow("#32768", nullptr), &frame);
    saved = display->SaveSnapshot(path);
    Tap(VK_ESCAPE);
    Tap(VK_ESCAPE);
  };
  SetTimer(owner, kGuardTimer, 10000, nullptr);
  pictavo::user::InjectKey({VK_MENU, true});
  Tap('V');
  pictavo::user::InjectKey({VK_MENU, false});
  MSG msg;
  while (!g_loopEnded && GetMessage(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  KillTimer(owner, kGuardTimer);
  g_onIdle = nullptr;
  ASSERT_TRUE(saved);

  Picture picture;
  ASSERT_TRUE(ReadPng(path, &picture));
  std::remove(path.c_str());
  const COLORREF menuColor = GetSysColor(COLOR_MENU);
  auto label = [&](size_t i) {
    const RECT& r = items[i];
    return RECT{r.left + 26, r.top + 2, r.left + 90, r.bottom - 2};
  };
  auto checkColumn = [&](size_t i) {
    const RECT& r = items[i];
    return RECT{r.left + 1, r.top + 1, r.left + 24, r.bottom - 1};
  };

  // The popup hangs below its bar item, which shows pressed; the other bar item is plain text.
  EXPECT_EQ(frame.left, viewItem.left);
  EXPECT_EQ(frame.top, viewItem.bottom);
  EXPECT_EQ(picture.At(frame.left, frame.top + 10), GetSysColor(COLOR_BTNSHADOW));
  const COLORREF barColor = GetSysColor(COLOR_MENUBAR);
  EXPECT_NE(picture.At(viewItem.left + 2, viewItem.top + 2), barColor);
  EXPECT_EQ(picture.At(fileItem.left + 2, fileItem.top + 2), barColor);
  const Ink fileText = InkIn(picture, fileItem, barColor);
  EXPECT_GT(fileText.marked, 10);
  EXPECT_LT(fileText.darkest, 60);
  // Black text on the light menu: Thumbnails, and Open on its selection.
  const Ink thumbnails = InkIn(picture, label(1), menuColor);
  EXPECT_GT(thumbnails.marked, 20);
  EXPECT_LT(thumbnails.darkest, 60);
  const COLORREF selection = picture.At(items[0].right - 6, (items[0].top + items[0].bottom) / 2);
  EXPECT_NE(selection, menuColor);
  const Ink open = InkIn(picture, label(0), selection);
  EXPECT_GT(open.marked, 20);
  EXPECT_LT(open.darkest, 60);
  // The shortcut text at the right of Open.
  const RECT& o = items[0];
  EXPECT_GT(InkIn(picture, RECT{o.right - 70, o.top + 2, o.right - 20, o.bottom - 2}, selection).marked, 10);
  // The grayed item is written in grey, never black.
  const Ink grey = InkIn(picture, label(2), menuColor);
  EXPECT_GT(grey.marked, 20);
  EXPECT_GT(grey.darkest, 80);
  // The check mark shows beside the checked item only.
  const Ink mark = InkIn(picture, checkColumn(1), menuColor);
  EXPECT_GT(mark.marked, 8);
  EXPECT_LT(mark.darkest, 60);
  EXPECT_EQ(InkIn(picture, checkColumn(5), menuColor).marked, 0);
  // The separator is a line; the submenu item shows its arrow at the right.
  EXPECT_GT(InkIn(picture, items[3], menuColor).marked, 0);
  const RECT& m = items[4];
  EXPECT_GT(InkIn(picture, RECT{m.right - 20, m.top, m.right, m.bottom}, menuColor).marked, 4);

  DestroyWindow(owner);
  DestroyMenu(bar);
  unsetenv("PICTAVO_DESKTOP");
}

}  // namespace
