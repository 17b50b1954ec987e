#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ControlFixture.h"
#include "platform/kernel/Thread.h"

using namespace testing_user;

namespace {

BOOL CALLBACK FindDropped(HWND hwnd, LPARAM out) {
  char name[32] = {};
  GetClassName(hwnd, name, sizeof name);
  if (std::strcmp(name, WC_COMBOLBOX) == 0 && IsWindowVisible(hwnd)) {
    *reinterpret_cast<HWND*>(out) = hwnd;
    return FALSE;
  }
  return TRUE;
}

class ComboBoxControl : public ControlTest {
 protected:
  HWND MakeCombo(DWORD style, RECT rect = RECT{10, 10, 160, 150}, int id = 70) {
    HWND combo = Make(WC_COMBOBOX, style, rect, id);
    for (const char* s : {"red", "green", "blue", "black"})
      SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    PumpPending();
    Recorder::Get().Clear();
    return combo;
  }
  static HWND DroppedList() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDropped, reinterpret_cast<LPARAM>(&found));
    return found;
  }
  static POINT ItemCenter(HWND list, int index) {
    RECT r{};
    SendMessage(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  static LRESULT Sel(HWND combo) { return SendMessage(combo, CB_GETCURSEL, 0, 0); }
  static bool Dropped(HWND combo) { return SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }
};

TEST_F(ComboBoxControl, DropDownListByKeyboard) {
  HWND combo = MakeCombo(CBS_DROPDOWNLIST);
  SetFocus(combo);
  Recorder::Get().Clear();
  struct Step {
    std::initializer_list<UINT> modifiers;
    UINT key;
    LRESULT selection;
    bool dropped;
    std::vector<int> codes;
  };
  const Step steps[] = {
      {{}, VK_DOWN, 0, false, {CBN_SELCHANGE}},
      {{}, VK_DOWN, 1, false, {CBN_SELCHANGE}},
      {{}, VK_UP, 0, false, {CBN_SELCHANGE}},
      {{}, VK_F4, 0, true, {CBN_DROPDOWN}},
      {{}, VK_DOWN, 1, true, {CBN_SELCHANGE}},
      {{}, VK_END, 3, true, {CBN_SELCHANGE}},
      {{}, VK_RETURN, 3, false, {CBN_SELENDOK, CBN_CLOSEUP}},
      {{VK_MENU}, VK_DOWN, 3, true, {CBN_DROPDOWN}},
      {{}, VK_HOME, 0, true, {CBN_SELCHANGE}},
      {{}, VK_ESCAPE, 0, false, {CBN_SELENDCANCEL, CBN_CLOSEUP}},
  };
  for (const Step& s : steps) {
    Recorder::Get().Clear();
    Chord(s.modifiers, s.key);
    EXPECT_EQ(Sel(combo), s.selection) << s.key;
    EXPECT_EQ(Dropped(combo), s.dropped) << s.key;
    EXPECT_EQ(Codes(), s.codes) << s.key;
  }
  EXPECT_EQ(TextOf(combo), "red");
}

TEST_F(ComboBoxControl, DropDownListByMouse) {
  HWND combo = MakeCombo(CBS_DROPDOWNLIST);
  SendMessage(combo, CB_SETCURSEL, 1, 0);
  Click(combo, POINT{10, 5});
  ASSERT_TRUE(Dropped(combo));
  EXPECT_EQ(GetFocus(), combo);
  HWND list = DroppedList();
  ASSERT_NE(list, nullptr);
  RECT comboRect, listRect;
  GetWindowRect(combo, &comboRect);
  GetWindowRect(list, &listRect);
  EXPECT_EQ(listRect.top, comboRect.bottom);  // below the combo box, on the desktop
  EXPECT_EQ(listRect.left, comboRect.left);
  EXPECT_EQ(listRect.right, comboRect.right);
  EXPECT_EQ(GetActiveWindow(), parent);  // the list never takes the activation

  Recorder::Get().Clear();
  Click(list, ItemCenter(list, 3));
  EXPECT_FALSE(Dropped(combo));
  EXPECT_FALSE(IsWindowVisible(list));
  EXPECT_EQ(Codes(), (std::vector<int>{CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
  EXPECT_EQ(Sel(combo), 3);
  EXPECT_EQ(TextOf(combo), "black");
  EXPECT_EQ(GetActiveWindow(), parent);
  EXPECT_EQ(GetFocus(), combo);

  // A click elsewhere closes it and keeps the selection.
  Click(combo, POINT{10, 5});
  ASSERT_TRUE(Dropped(combo));
  Recorder::Get().Clear();
  Click(parent, POINT{350, 250});
  EXPECT_FALSE(Dropped(combo));
  EXPECT_EQ(Codes(), (std::vector<int>{CBN_SELENDCANCEL, CBN_CLOSEUP}));
  EXPECT_EQ(Sel(combo), 3);
  EXPECT_EQ(Recorder::Get().Count(parent, WM_LBUTTONDOWN), 0);  // that click only closed the list

  // Press on the combo box, drag onto an item and release there.
  using pictavo::user::InjectMouseButton;
  using pictavo::user::InjectMouseMove;
  using pictavo::user::MouseButton;
  InjectMouseMove(ScreenOf(combo, POINT{12, 6}));
  InjectMouseButton(MouseButton::kLeft, true);
  PumpPending();
  list = DroppedList();
  ASSERT_NE(list, nullptr);
  InjectMouseMove(ScreenOf(list, ItemCenter(list, 0)));
  InjectMouseButton(MouseButton::kLeft, false);
  PumpPending();
  EXPECT_FALSE(Dropped(combo));
  EXPECT_EQ(Sel(combo), 0);
}

TEST_F(ComboBoxControl, DropsAboveWhenTheDesktopEndsBelow) {
  const int height = GetSystemMetrics(SM_CYSCREEN);
  SetWindowPos(parent, nullptr, 100, height - 120, 400, 120, SWP_NOZORDER);
  HWND combo = MakeCombo(CBS_DROPDOWNLIST, RECT{10, 60, 160, 200});
  SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
  HWND list = DroppedList();
  ASSERT_NE(list, nullptr);
  RECT comboRect, listRect;
  GetWindowRect(combo, &comboRect);
  GetWindowRect(list, &listRect);
  EXPECT_EQ(listRect.bottom, comboRect.top);
  SendMessage(combo, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(Codes(), (std::vector<int>{CBN_DROPDOWN, CBN_CLOSEUP}));
}

TEST_F(ComboBoxControl, EditComboTypesAndFollowsTheSelection) {
  HWND combo = MakeCombo(CBS_DROPDOWN);
  SetFocus(combo);
  HWND edit = GetFocus();
  ASSERT_NE(edit, combo);
  EXPECT_TRUE(IsChild(combo, edit));
  EXPECT_EQ(Codes(), (std::vector<int>{CBN_SETFOCUS}));
  Recorder::Get().Clear();
  Type("gr");
  EXPECT_EQ(TextOf(combo), "gr");
  EXPECT_EQ(Codes(), (std::vector<int>{CBN_EDITUPDATE, CBN_EDITCHANGE, CBN_EDITUPDATE, CBN_EDITCHANGE}));
  Recorder::Get().Clear();
  Key(VK_DOWN);  // the arrows go to the list
  EXPECT_EQ(Sel(combo), 0);
  EXPECT_EQ(TextOf(combo), "red");
  EXPECT_EQ(Codes(), (std::vector<int>{CBN_SELCHANGE}));
  DWORD from = 0, to = 0;
  SendMessage(combo, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, 0u);
  EXPECT_EQ(to, 3u);
  SendMessage(combo, CB_SETCURSEL, 2, 0);
  EXPECT_EQ(TextOf(combo), "blue");
  EXPECT_TRUE(SendMessage(combo, CB_LIMITTEXT, 5, 0));
  SendMessage(combo, CB_SETEDITSEL, 0, MAKELPARAM(4, 4));
  Type("xyz");
  EXPECT_EQ(TextOf(combo), "bluex");
  Recorder::Get().Clear();
  SetFocus(parent);
  EXPECT_EQ(Codes(), (std::vector<int>{CBN_KILLFOCUS}));
}

TEST_F(ComboBoxControl, MessagesOnTheItems) {
  HWND combo = Make(WC_COMBOBOX, CBS_DROPDOWNLIST | CBS_SORT, RECT{10, 10, 160, 150}, 71);
  for (const char* s : {"pear", "apple", "fig"})
    SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  char text[16] = {};
  EXPECT_EQ(SendMessage(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text)), 3);
  EXPECT_STREQ(text, "fig");
  EXPECT_EQ(SendMessage(combo, CB_GETLBTEXTLEN, 2, 0), 4);
  struct Case {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
  };
  const Case cases[] = {
      {CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("PEAR"), 2},
      {CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("f"), 1},
      {CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("ap"), 0},
      {CB_GETCURSEL, 0, 0, 0},
      {CB_SETCURSEL, 7, 0, CB_ERR},
      {CB_GETCURSEL, 0, 0, CB_ERR},
      {CB_GETLBTEXTLEN, 9, 0, CB_ERR},
      {CB_SETITEMDATA, 1, 42, CB_OKAY},
      {CB_GETITEMDATA, 1, 0, 42},
      {CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 300, CB_ERR},
      {CB_LIMITTEXT, 4, 0, CB_ERR},  // no edit in a drop-down list
      {CB_DELETESTRING, 0, 0, 2},
      {CB_GETCOUNT, 0, 0, 2},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SendMessage(combo, c.message, c.wParam, c.lParam), c.result) << std::hex << c.message;

  // The field's height sets the combo box's; the height it was made with is the list's.
  EXPECT_EQ(SendMessage(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 25), CB_OKAY);
  EXPECT_EQ(SendMessage(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 25);
  RECT window;
  GetWindowRect(combo, &window);
  EXPECT_EQ(window.bottom - window.top, 25 + 6);
  RECT dropped{};
  SendMessage(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  EXPECT_EQ(dropped.top, window.top);
  EXPECT_GT(dropped.bottom, window.bottom);
  EXPECT_EQ(SendMessage(combo, CB_SETDROPPEDWIDTH, 300, 0), 300);
  SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
  RECT list;
  GetWindowRect(DroppedList(), &list);
  EXPECT_EQ(list.right - list.left, 300);
  SendMessage(combo, CB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), 0);
}

TEST_F(ComboBoxControl, OwnerDrawnComboIsMeasuredAndDrawn) {
  std::vector<MEASUREITEMSTRUCT> measures;
  std::vector<DRAWITEMSTRUCT> draws;
  Recorder::Get().Handle(parent, WM_MEASUREITEM, [&](HWND, WPARAM, LPARAM lParam) -> LRESULT {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    mis->itemHeight = mis->itemID == static_cast<UINT>(-1) ? 25 : 32;
    measures.push_back(*mis);
    return TRUE;
  });
  Recorder::Get().Handle(parent, WM_DRAWITEM, [&](HWND, WPARAM, LPARAM lParam) -> LRESULT {
    draws.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    return TRUE;
  });
  HWND combo = MakeCombo(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS);
  ASSERT_EQ(measures.size(), 2u);
  EXPECT_EQ(measures[0].itemID, static_cast<UINT>(-1));  // the field first
  EXPECT_EQ(measures[1].itemID, 0u);
  for (const auto& m : measures) {
    EXPECT_EQ(m.CtlType, static_cast<UINT>(ODT_COMBOBOX));
    EXPECT_EQ(m.CtlID, 70u);
  }
  EXPECT_EQ(SendMessage(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 25);
  EXPECT_EQ(SendMessage(combo, CB_GETITEMHEIGHT, 0, 0), 32);

  SendMessage(combo, CB_SETCURSEL, 2, 0);
  SetFocus(combo);
  draws.clear();
  UpdateWindow(combo);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].itemID, 2u);
  EXPECT_EQ(draws[0].hwndItem, combo);
  EXPECT_EQ(draws[0].itemState, static_cast<UINT>(ODS_COMBOBOXEDIT | ODS_SELECTED | ODS_FOCUS));

  SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
  draws.clear();
  UpdateWindow(DroppedList());
  ASSERT_GE(draws.size(), 2u);
  for (const auto& d : draws) {
    EXPECT_EQ(d.CtlType, static_cast<UINT>(ODT_COMBOBOX));
    EXPECT_EQ(d.hwndItem, combo);
    EXPECT_FALSE(d.itemState & ODS_COMBOBOXEDIT);
    EXPECT_EQ((d.itemState & ODS_SELECTED) != 0, d.itemID == 2u) << d.itemID;
  }
}

TEST_F(ComboBoxControl, LosingTheFocusClosesTheList) {
  HWND combo = MakeCombo(CBS_DROPDOWNLIST);
  SetFocus(combo);
  Key(VK_F4);
  ASSERT_TRUE(Dropped(combo));
  Recorder::Get().Clear();
  SetFocus(parent);
  EXPECT_FALSE(Dropped(combo));
  EXPECT_EQ(Codes(), (std::vector<int>{CBN_SELENDCANCEL, CBN_CLOSEUP, CBN_KILLFOCUS}));
}

TEST_F(ComboBoxControl, HiddenComboStillDropsItsList) {
  HWND combo =
      CreateWindowEx(0, WC_COMBOBOX, "", WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_NOINTEGRALHEIGHT, 10,
                     10, 150, 400, parent, reinterpret_cast<HMENU>(3), nullptr, nullptr);
  for (const char* s : {"yes", "no"}) SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
  HWND list = DroppedList();
  ASSERT_NE(list, nullptr);
  EXPECT_FALSE(GetWindowLong(combo, GWL_STYLE) & WS_VSCROLL);  // the list has the bar
  Recorder::Get().Clear();
  Click(list, ItemCenter(list, 1));
  EXPECT_EQ(Notes(), (std::vector<Note>{{3, CBN_SELENDOK}, {3, CBN_CLOSEUP}, {3, CBN_SELCHANGE}}));
  EXPECT_EQ(Sel(combo), 1);
}

}  // namespace

// A drop-down combo box resized stays as high as its field; the height asked for is the list's,
// as when it was made. A simple combo box takes any height.
TEST_F(ComboBoxControl, ResizingADropDownSetsTheListHeight) {
  struct Case {
    DWORD style;
    int height;
    bool fieldOnly;
  };
  const Case cases[] = {{CBS_DROPDOWNLIST, 200, true}, {CBS_DROPDOWN, 90, true}, {CBS_SIMPLE, 120, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    HWND combo = MakeCombo(c.style);
    RECT before{};
    GetWindowRect(combo, &before);
    SetWindowPos(combo, nullptr, 0, 0, 150, c.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT after{};
    GetWindowRect(combo, &after);
    RECT dropped{};
    SendMessage(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    if (c.fieldOnly) {
      EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
      EXPECT_EQ(dropped.bottom - dropped.top, c.height);
    } else {
      EXPECT_EQ(after.bottom - after.top, c.height);
    }
    EXPECT_EQ(after.right - after.left, 150);
    DestroyWindow(combo);
  }
}
