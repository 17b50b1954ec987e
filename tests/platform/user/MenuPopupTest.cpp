// Popup menus tracked with TrackPopupMenu: choosing by keyboard and mouse, submenus, placement,
// owner-drawn items, WM_MENUCHAR answers and the notifications the owner gets.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "MenuScript.h"
#include "Recorder.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"
#include "platform/user/Display.h"
#include "platform/user/Menu.h"

using namespace testing_user;
using pictavo::user::MouseButton;

namespace {

constexpr UINT kOpen = 101;
constexpr UINT kSave = 102;
constexpr UINT kExit = 103;

// "&Open", "&Save" (grayed), a separator, "E&xit".
HMENU FileMenu() {
  HMENU menu = CreatePopupMenu();
  AppendMenu(menu, MF_STRING, kOpen, "&Open\tCtrl+O");
  AppendMenu(menu, MF_STRING | MF_GRAYED, kSave, "&Save");
  AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenu(menu, MF_STRING, kExit, "E&xit");
  return menu;
}

constexpr UINT kFirst = 201;
constexpr UINT kInnerOne = 211;
constexpr UINT kInnerTwo = 212;
constexpr UINT kLast = 203;

// "First", "More >" {"Inner one", "Inner two"}, "Last".
HMENU NestedMenu(HMENU* inner) {
  *inner = CreatePopupMenu();
  AppendMenu(*inner, MF_STRING, kInnerOne, "Inner one");
  AppendMenu(*inner, MF_STRING, kInnerTwo, "Inner two");
  HMENU menu = CreatePopupMenu();
  AppendMenu(menu, MF_STRING, kFirst, "First");
  AppendMenu(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(*inner), "More");
  AppendMenu(menu, MF_STRING, kLast, "Last");
  return menu;
}

class MenuPopup : public MenuFixture {
 protected:
  // The command posted to the owner by the last loop, or 0.
  UINT PostedCommand() {
    PumpPending();
    Entry e{};
    if (!Recorder::Get().Last(owner, WM_COMMAND, &e)) return 0;
    EXPECT_EQ(HIWORD(e.wParam), 0) << "a menu command";
    return LOWORD(e.wParam);
  }
};

TEST_F(MenuPopup, KeysChooseReturnedOrPostedCommands) {
  struct Case {
    std::vector<UINT> keys;
    UINT command;
  };
  const Case cases[] = {
      {{VK_DOWN, VK_RETURN}, kOpen},
      {{VK_UP, VK_RETURN}, kExit},                      // from no selection to the last item
      {{VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, kExit},  // the separator is passed over
      {{VK_DOWN, VK_UP, VK_RETURN}, kExit},             // wrapping around
      {{VK_END, VK_UP, VK_UP, VK_RETURN}, kOpen},       // a grayed item can be selected
      {{VK_DOWN, VK_DOWN, VK_RETURN, VK_ESCAPE}, 0},    // ... but not chosen
      {{VK_ESCAPE}, 0},
      {{'X'}, kExit},         // the mnemonic chooses at once
      {{'S', VK_ESCAPE}, 0},  // a grayed item's mnemonic chooses nothing
  };
  HMENU menu = FileMenu();
  for (const Case& c : cases) {
    for (const bool returned : {true, false}) {
      Recorder::Get().Clear();
      Play({Keys(c.keys)});
      const UINT flags = returned ? TPM_RETURNCMD : 0;
      const BOOL result = TrackPopupMenu(menu, flags, 150, 150, 0, owner, nullptr);
      EXPECT_TRUE(Finished()) << c.keys.size() << " keys";
      if (returned) {
        EXPECT_EQ(static_cast<UINT>(result), c.command) << c.keys.size() << " keys";
        EXPECT_EQ(PostedCommand(), 0u);
      } else {
        EXPECT_TRUE(result);
        EXPECT_EQ(PostedCommand(), c.command) << c.keys.size() << " keys";
      }
    }
  }
  DestroyMenu(menu);
}

TEST_F(MenuPopup, ClicksChooseEnabledItemsAndCloseOutside) {
  HMENU menu = FileMenu();
  struct Case {
    std::vector<std::function<bool()>> steps;
    UINT flags;
    UINT command;
  };
  const Case cases[] = {
      {{ClickItem(menu, 3)}, TPM_RETURNCMD, kExit},
      {{ClickItem(menu, 1), ClickItem(menu, 0)}, TPM_RETURNCMD, kOpen},  // the grayed one keeps it open
      {{ClickItem(menu, 2), ClickItem(menu, 0)}, TPM_RETURNCMD, kOpen},  // so does the separator
      {{[] {
         ClickAt(POINT{20, 20});
         return true;
       }},
       TPM_RETURNCMD,
       0},
      {{ClickItem(menu, 0, MouseButton::kRight)}, TPM_RETURNCMD | TPM_RIGHTBUTTON, kOpen},
      {{ClickItem(menu, 0, MouseButton::kRight), Keys({VK_ESCAPE})}, TPM_RETURNCMD, 0},
  };
  for (const Case& c : cases) {
    Play(c.steps);
    EXPECT_EQ(static_cast<UINT>(TrackPopupMenu(menu, c.flags, 150, 150, 0, owner, nullptr)), c.command);
    EXPECT_TRUE(Finished());
  }
  DestroyMenu(menu);
}

// A popup opened by a press that is still held, under the pointer: the release where it was
// pressed chooses nothing; a release after the pointer moved onto an item chooses that item.
TEST_F(MenuPopup, TheReleaseOfTheOpeningPressChoosesOnlyAfterAMove) {
  HMENU menu = FileMenu();
  const POINT press{150, 150};
  struct Case {
    const char* name;
    std::vector<std::function<bool()>> steps;
    UINT command;
  };
  const Case cases[] = {
      {"released in place",
       {[] {
          pictavo::user::InjectMouseButton(MouseButton::kLeft, false);
          return true;
        },
        Keys({VK_ESCAPE})},
       0},
      {"dragged onto Exit",
       {[menu] {
         pictavo::user::InjectMouseMove(Center(ItemRect(menu, 3)));
         pictavo::user::InjectMouseButton(MouseButton::kLeft, false);
         return true;
       }},
       kExit},
  };
  for (const Case& c : cases) {
    pictavo::user::InjectMouseMove(press);
    pictavo::user::InjectMouseButton(MouseButton::kLeft, true);
    PumpPending();
    Play(c.steps);
    // The first item sits under the pointer.
    EXPECT_EQ(
        static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD, press.x - 10, press.y - 8, 0, owner, nullptr)),
        c.command)
        << c.name;
    EXPECT_TRUE(Finished()) << c.name;
  }
  DestroyMenu(menu);
}

TEST_F(MenuPopup, PopupsStayOnTheDesktop) {
  HMENU menu = FileMenu();
  const int cx = GetSystemMetrics(SM_CXSCREEN);
  const int cy = GetSystemMetrics(SM_CYSCREEN);
  const RECT keepClear{cx - 200, cy - 60, cx - 100, cy - 40};
  struct Case {
    const char* what;
    POINT at;
    UINT flags;
    const RECT* exclude;
    // Which edges must sit where.
    LONG RECT::*edgeX;
    LONG x;
    LONG RECT::*edgeY;
    LONG y;
  };
  const Case cases[] = {
      {"left top", {150, 160}, TPM_LEFTALIGN | TPM_TOPALIGN, nullptr, &RECT::left, 150, &RECT::top, 160},
      {"right bottom",
       {400, 300},
       TPM_RIGHTALIGN | TPM_BOTTOMALIGN,
       nullptr,
       &RECT::right,
       400,
       &RECT::bottom,
       300},
      {"flipped at the right edge", {cx - 5, 160}, 0, nullptr, &RECT::right, cx - 5, &RECT::top, 160},
      {"flipped at the bottom", {150, cy - 5}, 0, nullptr, &RECT::left, 150, &RECT::bottom, cy - 5},
      {"above what to keep clear",
       {keepClear.left, keepClear.bottom},
       TPM_VERTICAL,
       &keepClear,
       &RECT::left,
       keepClear.left,
       &RECT::bottom,
       keepClear.top},
  };
  for (const Case& c : cases) {
    RECT shown{};
    Play({[&] {
      GetWindowRect(FindWindow("#32768", nullptr), &shown);
      Tap(VK_ESCAPE);
      return true;
    }});
    TPMPARAMS params{sizeof(TPMPARAMS), c.exclude ? *c.exclude : RECT{}};
    TrackPopupMenuEx(menu, c.flags, c.at.x, c.at.y, owner, c.exclude ? &params : nullptr);
    EXPECT_TRUE(Finished()) << c.what;
    EXPECT_EQ(shown.*c.edgeX, c.x) << c.what;
    EXPECT_EQ(shown.*c.edgeY, c.y) << c.what;
    EXPECT_GE(shown.left, 0) << c.what;
    EXPECT_LE(shown.right, cx) << c.what;
    EXPECT_LE(shown.bottom, cy) << c.what;
  }
  // Centred on the point.
  RECT shown{};
  Play({[&] {
    GetWindowRect(FindWindow("#32768", nullptr), &shown);
    Tap(VK_ESCAPE);
    return true;
  }});
  TrackPopupMenu(menu, TPM_CENTERALIGN | TPM_VCENTERALIGN, 300, 300, 0, owner, nullptr);
  EXPECT_LE(std::abs((shown.left + shown.right) / 2 - 300), 1);
  EXPECT_LE(std::abs((shown.top + shown.bottom) / 2 - 300), 1);
  DestroyMenu(menu);
}

TEST_F(MenuPopup, SubmenusOpenAndCloseByKeys) {
  HMENU inner = nullptr;
  HMENU menu = NestedMenu(&inner);
  struct Case {
    std::vector<UINT> keys;
    UINT command;
  };
  const Case cases[] = {
      {{VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}, kInnerTwo},
      {{VK_DOWN, VK_DOWN, VK_RETURN, VK_RETURN}, kInnerOne},  // Enter opens it with its first item
      {{VK_DOWN, VK_DOWN, VK_RIGHT, VK_LEFT, VK_DOWN, VK_RETURN}, kLast},
      {{VK_DOWN, VK_DOWN, VK_RIGHT, VK_ESCAPE, VK_DOWN, VK_RETURN}, kLast},  // Escape closes one level
      {{VK_DOWN, VK_DOWN, VK_RIGHT, VK_ESCAPE, VK_ESCAPE}, 0},
      {{VK_DOWN, VK_RIGHT, VK_RETURN}, kFirst},  // Right on a plain item opens nothing
  };
  for (const Case& c : cases) {
    Recorder::Get().Clear();
    Play({Keys(c.keys)});
    EXPECT_EQ(static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr)), c.command)
        << c.keys.size() << " keys";
    EXPECT_TRUE(Finished());
    // The owner heard of each popup before it showed, with its place in its parent, and of
    // each closing, the innermost first.
    std::vector<std::tuple<UINT, WPARAM, LPARAM>> heard;
    for (const Entry& e : Recorder::Get().Entries())
      if (e.hwnd == owner && (e.message == WM_INITMENUPOPUP || e.message == WM_UNINITMENUPOPUP))
        heard.emplace_back(e.message, e.wParam, e.message == WM_INITMENUPOPUP ? e.lParam : 0);
    const auto outer = reinterpret_cast<WPARAM>(menu);
    const auto sub = reinterpret_cast<WPARAM>(inner);
    using Heard = std::vector<std::tuple<UINT, WPARAM, LPARAM>>;
    const Heard both = {{WM_INITMENUPOPUP, outer, MAKELPARAM(0, FALSE)},
                        {WM_INITMENUPOPUP, sub, MAKELPARAM(1, FALSE)},
                        {WM_UNINITMENUPOPUP, sub, 0},
                        {WM_UNINITMENUPOPUP, outer, 0}};
    if (c.command == kInnerOne || c.command == kInnerTwo) EXPECT_EQ(heard, both) << c.keys.size() << " keys";
    EXPECT_EQ(heard.front(), both.front());
    EXPECT_EQ(heard.back(), both.back());
  }
  DestroyMenu(menu);
}

TEST_F(MenuPopup, SubmenusOpenWhereThePointerRests) {
  HMENU inner = nullptr;
  HMENU menu = NestedMenu(&inner);
  RECT innerItem{};
  RECT outerItem{};
  Play({[&] {
          pictavo::user::InjectMouseMove(Center(ItemRect(menu, 1)));
          return true;
        },
        [&] {
          // The loop opens it once the pointer has rested on its item.
          if (!Shown(inner)) return false;
          innerItem = ItemRect(inner, 0);
          outerItem = ItemRect(menu, 1);
          return ClickItem(inner, 1)();
        }});
  EXPECT_EQ(static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr)), kInnerTwo);
  EXPECT_TRUE(Finished());
  // Beside its item, its first item level with it.
  EXPECT_GT(innerItem.left, outerItem.right);
  EXPECT_LE(innerItem.left - outerItem.right, 8);
  EXPECT_LE(std::abs(innerItem.top - outerItem.top), 1);
  DestroyMenu(menu);
}

struct Drawn {
  UINT id;
  UINT action;
  UINT state;
  RECT rect;
  ULONG_PTR data;
  HWND menu;
};

TEST_F(MenuPopup, OwnerDrawnItemsAreMeasuredOnceAndDrawnByTheOwner) {
  static int records[4];
  HMENU menu = CreatePopupMenu();
  AppendMenu(menu, MF_OWNERDRAW, 301, reinterpret_cast<LPCSTR>(&records[0]));
  AppendMenu(menu, MF_OWNERDRAW | MF_GRAYED | MF_DISABLED, 302, reinterpret_cast<LPCSTR>(&records[1]));
  AppendMenu(menu, MF_OWNERDRAW | MF_CHECKED, 303, reinterpret_cast<LPCSTR>(&records[2]));
  AppendMenu(menu, MF_OWNERDRAW | MF_SEPARATOR, 0, reinterpret_cast<LPCSTR>(&records[3]));

  std::vector<MEASUREITEMSTRUCT> measured;
  std::vector<Drawn> drawn;
  Recorder::Get().Handle(owner, WM_MEASUREITEM, [&](HWND, WPARAM wParam, LPARAM lParam) -> LRESULT {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    EXPECT_EQ(wParam, 0u);
    mis->itemWidth = 80;
    mis->itemHeight = mis->itemData == reinterpret_cast<ULONG_PTR>(&records[3]) ? 6 : 24;
    measured.push_back(*mis);
    return TRUE;
  });
  Recorder::Get().Handle(owner, WM_DRAWITEM, [&](HWND, WPARAM, LPARAM lParam) -> LRESULT {
    const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    EXPECT_EQ(dis->CtlType, static_cast<UINT>(ODT_MENU));
    EXPECT_NE(dis->hDC, nullptr);
    drawn.push_back(
        Drawn{dis->itemID, dis->itemAction, dis->itemState, dis->rcItem, dis->itemData, dis->hwndItem});
    return TRUE;
  });
  auto stateOf = [&](UINT id, UINT action) {
    for (auto it = drawn.rbegin(); it != drawn.rend(); ++it)
      if (it->id == id && it->action == action) return it->state;
    return 0xFFFFFFFFu;
  };

  Play({[&] {
          // Shown: every item drawn whole, with its state and its data.
          EXPECT_EQ(drawn.size(), 4u);
          EXPECT_EQ(stateOf(301, ODA_DRAWENTIRE), 0u);
          EXPECT_EQ(stateOf(302, ODA_DRAWENTIRE), static_cast<UINT>(ODS_GRAYED | ODS_DISABLED));
          EXPECT_EQ(stateOf(303, ODA_DRAWENTIRE), static_cast<UINT>(ODS_CHECKED));
          for (const Drawn& d : drawn) {
            EXPECT_EQ(d.menu, reinterpret_cast<HWND>(menu));
            EXPECT_EQ(d.rect.right - d.rect.left, drawn[0].rect.right - drawn[0].rect.left);
            EXPECT_GE(d.rect.right - d.rect.left, 80);
            EXPECT_EQ(d.rect.bottom - d.rect.top, d.id == 0 ? 6 : 24);
          }
          EXPECT_EQ(drawn[1].rect.top, drawn[0].rect.bottom);
          drawn.clear();
          Tap(VK_DOWN);
          return true;
        },
        [&] {
          EXPECT_EQ(stateOf(301, ODA_SELECT), static_cast<UINT>(ODS_SELECTED));
          drawn.clear();
          Tap(VK_DOWN);
          return true;
        },
        [&] {
          // The selection moves: the old item is drawn plain, the new one selected.
          EXPECT_EQ(stateOf(301, ODA_SELECT), 0u);
          EXPECT_EQ(stateOf(302, ODA_SELECT), static_cast<UINT>(ODS_SELECTED | ODS_GRAYED | ODS_DISABLED));
          Tap(VK_DOWN);  // passes over the separator, wraps to the first item
          Tap(VK_DOWN);
          Tap(VK_RETURN);
          return true;
        }});
  EXPECT_EQ(static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr)), 301u);
  EXPECT_TRUE(Finished());
  ASSERT_EQ(measured.size(), 4u);
  const UINT ids[] = {301, 302, 303, 0};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(measured[i].CtlType, static_cast<UINT>(ODT_MENU));
    EXPECT_EQ(measured[i].itemID, ids[i]);
    EXPECT_EQ(measured[i].itemData, reinterpret_cast<ULONG_PTR>(&records[i]));
  }

  // Shown again: nothing is measured again, except an item changed since.
  measured.clear();
  ModifyMenu(menu, 303, MF_BYCOMMAND | MF_OWNERDRAW, 303, reinterpret_cast<LPCSTR>(&records[2]));
  Play({Keys({VK_ESCAPE})});
  TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr);
  EXPECT_TRUE(Finished());
  ASSERT_EQ(measured.size(), 1u);
  EXPECT_EQ(measured[0].itemID, 303u);
  DestroyMenu(menu);
}

TEST_F(MenuPopup, OwnerDrawnSubmenuItemsGetTheMenusArrow) {
  static int records[2];
  HMENU inner = CreatePopupMenu();
  AppendMenu(inner, MF_STRING, 501, "Inner");
  HMENU menu = CreatePopupMenu();
  AppendMenu(menu, MF_OWNERDRAW, 502, reinterpret_cast<LPCSTR>(&records[0]));
  AppendMenu(menu, MF_OWNERDRAW | MF_POPUP, reinterpret_cast<UINT_PTR>(inner),
             reinterpret_cast<LPCSTR>(&records[1]));
  constexpr COLORREF kPaper = RGB(250, 250, 250);
  Recorder::Get().Handle(owner, WM_MEASUREITEM, [](HWND, WPARAM, LPARAM lParam) -> LRESULT {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    mis->itemWidth = 90;
    mis->itemHeight = 22;
    return TRUE;
  });
  Recorder::Get().Handle(owner, WM_DRAWITEM, [&](HWND, WPARAM, LPARAM lParam) -> LRESULT {
    const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    HBRUSH brush = CreateSolidBrush(kPaper);
    FillRect(dis->hDC, &dis->rcItem, brush);
    DeleteObject(brush);
    return TRUE;
  });
  // Dark pixels in the width the menu adds to each item, right of what the owner asked for.
  auto inkAtTheRight = [&](UINT position) {
    HWND popup = FindWindow("#32768", nullptr);
    RECT item{}, frame{};
    GetMenuItemRect(nullptr, menu, position, &item);
    GetWindowRect(popup, &frame);
    pictavo::user::TopLevelWindow window;
    if (!pictavo::user::DescribeTopLevelWindow(popup, &window) || !window.surface) return -1;
    int dark = 0;
    for (int y = item.top; y < item.bottom; ++y)
      for (int x = item.right - 12; x < item.right; ++x) {
        const COLORREF c = pictavo::gdi::ColorFromPixel(
            window.surface->Row(y - frame.top)[static_cast<size_t>(x - frame.left)]);
        dark += GetRValue(c) < 128;
      }
    return dark;
  };
  int plain = -1, submenu = -1;
  Play({[&] {
    plain = inkAtTheRight(0);
    submenu = inkAtTheRight(1);
    Tap(VK_ESCAPE);
    return true;
  }});
  TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr);
  EXPECT_TRUE(Finished());
  EXPECT_EQ(plain, 0);
  EXPECT_GT(submenu, 3);
  DestroyMenu(menu);
}

TEST_F(MenuPopup, TheOwnerAnswersForCharactersNoItemHas) {
  static int records[3];
  HMENU menu = CreatePopupMenu();
  for (UINT i = 0; i < 3; ++i) AppendMenu(menu, MF_OWNERDRAW, 401 + i, reinterpret_cast<LPCSTR>(&records[i]));
  Recorder::Get().Handle(owner, WM_MEASUREITEM, [](HWND, WPARAM, LPARAM lParam) -> LRESULT {
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemWidth = 60;
    return TRUE;
  });
  struct Case {
    LRESULT answer;
    std::vector<UINT> then;
    UINT command;
  };
  const Case cases[] = {
      {MAKELRESULT(2, MNC_EXECUTE), {}, 403},
      {MAKELRESULT(1, MNC_SELECT), {VK_RETURN}, 402},
      {MAKELRESULT(0, MNC_CLOSE), {}, 0},
      {MAKELRESULT(0, MNC_IGNORE), {VK_ESCAPE}, 0},   // the menu stays open
      {MAKELRESULT(7, MNC_EXECUTE), {VK_ESCAPE}, 0},  // no such item
  };
  for (const Case& c : cases) {
    Recorder::Get().Clear();
    Recorder::Get().Handle(owner, WM_MENUCHAR, [&](HWND, WPARAM, LPARAM) -> LRESULT { return c.answer; });
    std::vector<std::function<bool()>> steps{Keys({'C'})};
    if (!c.then.empty()) steps.push_back(Keys(c.then));
    Play(steps);
    EXPECT_EQ(static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr)), c.command);
    EXPECT_TRUE(Finished()) << c.answer;
    Entry e{};
    ASSERT_TRUE(Recorder::Get().Last(owner, WM_MENUCHAR, &e));
    EXPECT_EQ(LOWORD(e.wParam), 'c');
    EXPECT_EQ(HIWORD(e.wParam), MF_POPUP);
    EXPECT_EQ(e.lParam, reinterpret_cast<LPARAM>(menu));
  }
  DestroyMenu(menu);
}

TEST_F(MenuPopup, TheOwnerHearsOfTheLoopInOrder) {
  HMENU menu = FileMenu();
  // The owner disables Exit as the popup opens; a click on it then does nothing.
  Recorder::Get().Handle(owner, WM_INITMENUPOPUP, [](HWND, WPARAM wParam, LPARAM) -> LRESULT {
    EnableMenuItem(reinterpret_cast<HMENU>(wParam), kExit, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
    return 0;
  });
  Play({ClickItem(menu, 3), Keys({VK_UP, VK_RETURN}), ClickItem(menu, 0)});
  EXPECT_TRUE(TrackPopupMenu(menu, 0, 150, 150, 0, owner, nullptr));
  EXPECT_TRUE(Finished());
  EXPECT_EQ(PostedCommand(), kOpen);

  const auto sequence = Recorder::Get().Sequence(
      {WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_UNINITMENUPOPUP, WM_EXITMENULOOP, WM_COMMAND});
  const std::vector<std::pair<HWND, UINT>> expected = {{owner, WM_ENTERMENULOOP}, {owner, WM_INITMENU},
                                                       {owner, WM_INITMENUPOPUP}, {owner, WM_UNINITMENUPOPUP},
                                                       {owner, WM_EXITMENULOOP},  {owner, WM_COMMAND}};
  EXPECT_EQ(sequence, expected);
  Entry e{};
  ASSERT_TRUE(Recorder::Get().Last(owner, WM_ENTERMENULOOP, &e));
  EXPECT_EQ(e.wParam, static_cast<WPARAM>(TRUE));  // a popup, not the menu bar
  // The selection was reported as it moved, and the closing last.
  std::vector<Entry> selects;
  for (const Entry& entry : Recorder::Get().Entries())
    if (entry.hwnd == owner && entry.message == WM_MENUSELECT) selects.push_back(entry);
  ASSERT_GE(selects.size(), 3u);
  EXPECT_EQ(LOWORD(selects[0].wParam), kExit);
  EXPECT_EQ(HIWORD(selects[0].wParam) & (MF_HILITE | MF_MOUSESELECT | MF_GRAYED),
            static_cast<UINT>(MF_HILITE | MF_MOUSESELECT | MF_GRAYED));
  EXPECT_EQ(selects[0].lParam, reinterpret_cast<LPARAM>(menu));
  EXPECT_EQ(selects.back().wParam, MAKEWPARAM(0, 0xFFFF));
  EXPECT_EQ(selects.back().lParam, 0);

  // TPM_NONOTIFY: none of it (WM_ENTERIDLE included, so the keys wait in the queue), and the
  // command comes back only as the result.
  Recorder::Get().Clear();
  Keys({VK_DOWN, VK_RETURN})();
  EXPECT_EQ(
      static_cast<UINT>(TrackPopupMenu(menu, TPM_NONOTIFY | TPM_RETURNCMD, 150, 150, 0, owner, nullptr)),
      kOpen);
  PumpPending();
  EXPECT_TRUE(Recorder::Get()
                  .Sequence({WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_MENUSELECT, WM_EXITMENULOOP,
                             WM_COMMAND})
                  .empty());
  DestroyMenu(menu);
}

TEST_F(MenuPopup, TheLoopEndsWhenAskedOrWhenTheProgramQuits) {
  HMENU menu = FileMenu();
  BOOL second = TRUE;
  DWORD error = 0;
  Play({[&] {
    // One menu at a time in a thread.
    second = TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, owner, nullptr);
    error = GetLastError();
    EXPECT_TRUE(EndMenu());
    return true;
  }});
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr), 0);
  EXPECT_TRUE(Finished());
  EXPECT_FALSE(second);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_POPUP_ALREADY_ACTIVE));
  EXPECT_FALSE(EndMenu());
  EXPECT_EQ(FindWindow("#32768", nullptr), nullptr);

  Play({[] {
    PostQuitMessage(3);
    return true;
  }});
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr), 0);
  EXPECT_TRUE(Finished());
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // left for the program's loop
  EXPECT_EQ(msg.wParam, 3u);

  EXPECT_FALSE(
      TrackPopupMenu(reinterpret_cast<HMENU>(static_cast<uintptr_t>(77)), 0, 0, 0, 0, owner, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
  DestroyMenu(menu);
}

}  // namespace
