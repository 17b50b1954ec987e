#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "ControlFixture.h"

using namespace testing_user;

namespace {

class ListBoxControl : public ControlTest {
 protected:
  HWND MakeList(DWORD style, std::initializer_list<const char*> items, RECT rect = RECT{10, 10, 160, 200}) {
    HWND list = Make(WC_LISTBOX, style | WS_BORDER, rect, 50);
    for (const char* item : items) SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    PumpPending();
    Recorder::Get().Clear();
    return list;
  }
  static std::set<int> Selected(HWND list) {
    std::set<int> out;
    const LRESULT count = SendMessage(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i)
      if (SendMessage(list, LB_GETSEL, i, 0) > 0) out.insert(i);
    return out;
  }
  static std::string Text(HWND list, int index) {
    std::string text(static_cast<size_t>(SendMessage(list, LB_GETTEXTLEN, index, 0)) + 1, '\0');
    text.resize(
        static_cast<size_t>(SendMessage(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
    return text;
  }
  static POINT CenterOf(HWND list, int index) {
    RECT r{};
    SendMessage(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  int SelChanges() const {
    const auto codes = Codes();
    return static_cast<int>(std::count(codes.begin(), codes.end(), LBN_SELCHANGE));
  }
};

struct ClickStep {
  int item;
  std::initializer_list<UINT> modifiers;
  std::set<int> selected;
};

TEST_F(ListBoxControl, SelectionModesFollowClicksAndModifiers) {
  struct Case {
    DWORD style;
    std::vector<ClickStep> steps;
  };
  const Case cases[] = {
      {0, {{2, {}, {2}}, {5, {}, {5}}, {5, {VK_CONTROL}, {5}}}},
      {LBS_MULTIPLESEL, {{1, {}, {1}}, {3, {}, {1, 3}}, {1, {}, {3}}, {6, {VK_SHIFT}, {3, 6}}}},
      {LBS_EXTENDEDSEL,
       {{1, {}, {1}},
        {4, {VK_SHIFT}, {1, 2, 3, 4}},
        {6, {VK_CONTROL}, {1, 2, 3, 4, 6}},
        {2, {VK_CONTROL}, {1, 3, 4, 6}},
        {0, {VK_SHIFT}, {0, 1, 2}},  // from the last anchor (2)
        {7, {}, {7}}}},
  };
  for (const Case& c : cases) {
    HWND list = MakeList(c.style | LBS_NOTIFY, {"a", "b", "c", "d", "e", "f", "g", "h"});
    int expectedChanges = 0;
    std::set<int> before;
    for (const ClickStep& step : c.steps) {
      for (UINT m : step.modifiers) Press(m, true);
      Click(list, CenterOf(list, step.item));
      for (UINT m : step.modifiers) Press(m, false);
      PumpPending();
      EXPECT_EQ(Selected(list), step.selected) << c.style << " item " << step.item;
      if (step.selected != before) ++expectedChanges;
      before = step.selected;
    }
    EXPECT_EQ(SelChanges(), expectedChanges) << c.style;
    DestroyWindow(list);
  }
}

TEST_F(ListBoxControl, KeysMoveTheSelection) {
  HWND list = MakeList(LBS_NOTIFY, {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j",
                                    "k", "l", "m", "n", "o", "p", "q", "r", "s", "t"},
                       RECT{10, 10, 160, 10 + 5 * 15 + 2});
  SetFocus(list);
  struct Step {
    UINT key;
    LRESULT selected;
  };
  const Step steps[] = {{VK_DOWN, 0}, {VK_DOWN, 1}, {VK_END, 19}, {VK_UP, 18},
                        {VK_HOME, 0}, {VK_UP, 0},   {VK_NEXT, 4}, {VK_NEXT, 8}};
  for (const Step& s : steps) {
    Key(s.key);
    EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), s.selected) << s.key;
    const LRESULT top = SendMessage(list, LB_GETTOPINDEX, 0, 0);
    EXPECT_LE(top, s.selected);
    EXPECT_GT(top + 5, s.selected);  // kept in view
  }
  EXPECT_EQ(SelChanges(), 7);  // Up at the top changes nothing
}

TEST_F(ListBoxControl, ExtendedSelectionByKeyboard) {
  HWND list = MakeList(LBS_EXTENDEDSEL | LBS_NOTIFY, {"a", "b", "c", "d", "e"});
  SetFocus(list);
  Key(VK_DOWN);
  EXPECT_EQ(Selected(list), (std::set<int>{1}));
  Chord({VK_SHIFT}, VK_DOWN);
  Chord({VK_SHIFT}, VK_DOWN);
  EXPECT_EQ(Selected(list), (std::set<int>{1, 2, 3}));
  Chord({VK_CONTROL}, VK_DOWN);  // the caret moves alone
  EXPECT_EQ(Selected(list), (std::set<int>{1, 2, 3}));
  EXPECT_EQ(SendMessage(list, LB_GETCARETINDEX, 0, 0), 4);
  Chord({VK_CONTROL}, VK_SPACE);  // and toggles its item
  EXPECT_EQ(Selected(list), (std::set<int>{1, 2, 3, 4}));
  Chord({VK_CONTROL}, VK_SPACE);
  EXPECT_EQ(Selected(list), (std::set<int>{1, 2, 3}));
}

TEST_F(ListBoxControl, TypeAheadFindsByFirstLetters) {
  HWND list = MakeList(0, {"apple", "avocado", "banana", "blueberry", "cherry"});
  SetFocus(list);
  struct Step {
    const char* typed;
    LRESULT selected;
  };
  for (const Step& s : {Step{"b", 2}, Step{"b", 3}, Step{"b", 2}, Step{"c", 4}}) {
    Type(s.typed);
    EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), s.selected) << s.typed;
  }
}

TEST_F(ListBoxControl, SortedListsAndSearches) {
  HWND list = MakeList(LBS_SORT, {"pear", "Apple", "banana", "apple"});
  const std::vector<std::string> sorted{"Apple", "apple", "banana", "pear"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Text(list, i), sorted[static_cast<size_t>(i)]);
  EXPECT_EQ(SendMessage(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("zebra")), 0);  // not sorted
  struct Case {
    UINT message;
    int start;
    const char* text;
    LRESULT found;
  };
  const Case cases[] = {
      {LB_FINDSTRING, -1, "BA", 3},
      {LB_FINDSTRINGEXACT, -1, "APPLE", 1},
      {LB_FINDSTRINGEXACT, -1, "app", LB_ERR},
      {LB_FINDSTRING, 1, "app", 2},
      {LB_FINDSTRING, 3, "z", 0},
      {LB_SELECTSTRING, -1, "pe", 4},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SendMessage(list, c.message, static_cast<WPARAM>(c.start), reinterpret_cast<LPARAM>(c.text)),
              c.found)
        << c.text;
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 4);
}

TEST_F(ListBoxControl, MessagesRefuseWhatTheModeOrIndexForbids) {
  HWND single = MakeList(0, {"a", "b"});
  HWND multi = MakeList(LBS_MULTIPLESEL, {"a", "b"}, RECT{200, 10, 300, 100});
  struct Case {
    HWND list;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
  };
  const Case cases[] = {
      {single, LB_GETTEXTLEN, 5, 0, LB_ERR},   {single, LB_SETCURSEL, static_cast<WPARAM>(-1), 0, LB_ERR},
      {single, LB_SETSEL, TRUE, 0, LB_ERR},    {single, LB_GETSELCOUNT, 0, 0, LB_ERR},
      {single, LB_GETCURSEL, 0, 0, LB_ERR},    {single, LB_SETITEMHEIGHT, 0, 300, LB_ERR},
      {single, LB_DELETESTRING, 2, 0, LB_ERR}, {single, LB_GETITEMDATA, 9, 0, LB_ERR},
      {multi, LB_SETCURSEL, 0, 0, LB_ERR},     {multi, LB_SETSEL, TRUE, -1, 0},
      {multi, LB_GETSELCOUNT, 0, 0, 2},        {single, LB_DELETESTRING, 0, 0, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SendMessage(c.list, c.message, c.wParam, c.lParam), c.result) << std::hex << c.message;
  EXPECT_TRUE(SendMessage(single, LB_SETITEMDATA, 0, 1234));
  EXPECT_EQ(SendMessage(single, LB_GETITEMDATA, 0, 0), 1234);
  int items[4] = {};
  EXPECT_EQ(SendMessage(multi, LB_GETSELITEMS, 4, reinterpret_cast<LPARAM>(items)), 2);
  EXPECT_EQ(items[1], 1);
  EXPECT_TRUE(Notes().empty());  // the program's changes are not reported
}

TEST_F(ListBoxControl, OwnerDrawnListsAreMeasuredAndDrawn) {
  std::vector<MEASUREITEMSTRUCT> measures;
  std::vector<DRAWITEMSTRUCT> draws;
  Recorder::Get().Handle(parent, WM_MEASUREITEM, [&](HWND, WPARAM, LPARAM lParam) -> LRESULT {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    mis->itemHeight = 20 + static_cast<UINT>(mis->itemData);
    measures.push_back(*mis);
    return TRUE;
  });
  Recorder::Get().Handle(parent, WM_DRAWITEM, [&](HWND, WPARAM, LPARAM lParam) -> LRESULT {
    draws.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    return TRUE;
  });
  // Fixed rows: measured once, at creation.
  HWND fixed = Make(WC_LISTBOX, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY, RECT{10, 10, 160, 200}, 60);
  ASSERT_EQ(measures.size(), 1u);
  EXPECT_EQ(measures[0].CtlType, static_cast<UINT>(ODT_LISTBOX));
  EXPECT_EQ(measures[0].CtlID, 60u);
  EXPECT_EQ(SendMessage(fixed, LB_GETITEMHEIGHT, 0, 0), 20);
  for (const char* s : {"one", "two", "three"})
    SendMessage(fixed, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  SendMessage(fixed, LB_SETITEMDATA, 1, 77);
  SendMessage(fixed, LB_SETCURSEL, 1, 0);
  SetFocus(fixed);
  draws.clear();
  UpdateWindow(fixed);
  ASSERT_EQ(draws.size(), 3u);
  for (UINT i = 0; i < 3; ++i) {
    EXPECT_EQ(draws[i].itemID, i);
    EXPECT_EQ(draws[i].CtlType, static_cast<UINT>(ODT_LISTBOX));
    EXPECT_EQ(draws[i].hwndItem, fixed);
    EXPECT_EQ(draws[i].itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
    EXPECT_EQ(draws[i].rcItem.top, static_cast<LONG>(i * 20));
  }
  EXPECT_EQ(draws[1].itemState, static_cast<UINT>(ODS_SELECTED | ODS_FOCUS));
  EXPECT_EQ(draws[1].itemData, 77u);
  EXPECT_EQ(draws[0].itemState, 0u);

  // Variable rows: each item measured as it comes, with its data.
  measures.clear();
  HWND variable = Make(WC_LISTBOX, LBS_OWNERDRAWVARIABLE, RECT{200, 10, 300, 200}, 61);
  for (LPARAM data : {0, 5, 10}) SendMessage(variable, LB_ADDSTRING, 0, data);
  ASSERT_EQ(measures.size(), 3u);
  EXPECT_EQ(measures[2].itemID, 2u);
  EXPECT_EQ(measures[2].itemData, 10u);
  RECT r{};
  SendMessage(variable, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.top, 20 + 25);
  EXPECT_EQ(r.bottom - r.top, 30);
  EXPECT_EQ(SendMessage(variable, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 30)), MAKELRESULT(1, 0));
  EXPECT_EQ(SendMessage(variable, LB_GETITEMHEIGHT, 1, 0), 25);
}

TEST_F(ListBoxControl, SortingWithoutStringsAsksTheOwner) {
  int compares = 0;
  Recorder::Get().Handle(parent, WM_COMPAREITEM, [&](HWND, WPARAM, LPARAM lParam) -> LRESULT {
    const auto* cmp = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam);
    ++compares;
    return cmp->itemData1 < cmp->itemData2 ? -1 : cmp->itemData1 > cmp->itemData2 ? 1 : 0;
  });
  HWND list = Make(WC_LISTBOX, LBS_OWNERDRAWFIXED | LBS_SORT, RECT{10, 10, 160, 200}, 62);
  for (LPARAM data : {30, 10, 20, 15}) SendMessage(list, LB_ADDSTRING, 0, data);
  EXPECT_GT(compares, 0);
  const std::vector<LRESULT> expected{10, 15, 20, 30};
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(SendMessage(list, LB_GETITEMDATA, i, 0), expected[static_cast<size_t>(i)]);
  EXPECT_EQ(SendMessage(list, LB_FINDSTRING, static_cast<WPARAM>(-1), 20), 2);  // finds by data
}

TEST_F(ListBoxControl, DeletedItemsAreReported) {
  std::vector<DELETEITEMSTRUCT> deleted;
  Recorder::Get().Handle(parent, WM_DELETEITEM, [&](HWND, WPARAM, LPARAM lParam) -> LRESULT {
    deleted.push_back(*reinterpret_cast<DELETEITEMSTRUCT*>(lParam));
    return TRUE;
  });
  HWND list = Make(WC_LISTBOX, LBS_OWNERDRAWFIXED, RECT{10, 10, 160, 200}, 63);
  for (LPARAM data : {100, 200, 300}) SendMessage(list, LB_ADDSTRING, 0, data);
  EXPECT_EQ(SendMessage(list, LB_DELETESTRING, 1, 0), 2);
  ASSERT_EQ(deleted.size(), 1u);
  EXPECT_EQ(deleted[0].itemID, 1u);
  EXPECT_EQ(deleted[0].itemData, 200u);
  EXPECT_EQ(deleted[0].CtlID, 63u);
  SendMessage(list, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(deleted.size(), 3u);
  // A plain list reports items that carry data, also when it is destroyed.
  HWND plain = MakeList(0, {"x", "y"});
  SendMessage(plain, LB_SETITEMDATA, 1, 9);
  deleted.clear();
  DestroyWindow(plain);
  ASSERT_EQ(deleted.size(), 1u);
  EXPECT_EQ(deleted[0].itemData, 9u);
}

TEST_F(ListBoxControl, NotificationsNeedTheNotifyStyle) {
  HWND quiet = MakeList(0, {"a", "b"});
  Click(quiet, CenterOf(quiet, 1));
  SetFocus(parent);
  EXPECT_EQ(Codes(), (std::vector<int>{LBN_SETFOCUS, LBN_KILLFOCUS}));
  HWND loud = MakeList(LBS_NOTIFY, {"a", "b"}, RECT{200, 10, 300, 100});
  Click(loud, CenterOf(loud, 1));
  Click(loud, CenterOf(loud, 1));
  EXPECT_EQ(Codes(), (std::vector<int>{LBN_SETFOCUS, LBN_SELCHANGE, LBN_DBLCLK}));
}

TEST_F(ListBoxControl, ScrollBarFollowsTheItems) {
  HWND list = MakeList(WS_VSCROLL | LBS_NOTIFY, {"a", "b"}, RECT{10, 10, 160, 10 + 4 * 15 + 2});
  EXPECT_FALSE(GetWindowLong(list, GWL_STYLE) & WS_VSCROLL);  // nothing to scroll yet
  for (const char* s : {"c", "d", "e", "f", "g", "h", "i", "j"})
    SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  EXPECT_TRUE(GetWindowLong(list, GWL_STYLE) & WS_VSCROLL);
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &info));
  EXPECT_EQ(info.nMin, 0);
  EXPECT_EQ(info.nMax, 9);
  EXPECT_EQ(info.nPage, 4u);
  SendMessage(list, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 1);
  EXPECT_EQ(GetScrollPos(list, SB_VERT), 1);
  SendMessage(list, LB_SETTOPINDEX, 9, 0);
  EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 6);  // the last page stays full
  SendMessage(list, LB_RESETCONTENT, 0, 0);
  EXPECT_FALSE(GetWindowLong(list, GWL_STYLE) & WS_VSCROLL);
}

TEST_F(ListBoxControl, MultiColumnListsRunDownColumnsAndScrollSideways) {
  // A client 100 pixels wide with 40-pixel columns: two whole columns show; rows of 15 pixels fill
  // what the horizontal bar leaves of the height.
  HWND list = MakeList(LBS_MULTICOLUMN | LBS_NOINTEGRALHEIGHT | WS_HSCROLL | LBS_NOTIFY,
                       {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}, RECT{10, 10, 112, 10 + 62});
  SendMessage(list, LB_SETCOLUMNWIDTH, 40, 0);
  SendMessage(list, LB_SETITEMHEIGHT, 0, MAKELPARAM(15, 0));
  RECT client{};
  GetClientRect(list, &client);
  const int rows = client.bottom / 15;
  ASSERT_GE(rows, 2);
  struct Where {
    int item;
    RECT rect;
  };
  const Where where[] = {{0, {0, 0, 40, 15}},
                         {rows - 1, {0, (rows - 1) * 15, 40, rows * 15}},
                         {rows, {40, 0, 80, 15}},
                         {rows + 1, {40, 15, 80, 30}}};
  for (const Where& w : where) {
    RECT r{};
    SendMessage(list, LB_GETITEMRECT, w.item, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left, w.rect.left) << w.item;
    EXPECT_EQ(r.top, w.rect.top) << w.item;
    EXPECT_EQ(r.right, w.rect.right) << w.item;
    EXPECT_EQ(r.bottom, w.rect.bottom) << w.item;
    const POINT at = CenterOf(list, w.item);
    EXPECT_EQ(LOWORD(SendMessage(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(at.x, at.y))), w.item);
  }
  Click(list, CenterOf(list, rows + 1));
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), rows + 1);
  // Right moves a whole column; the list scrolls by columns to keep the caret in view.
  SetFocus(list);
  Key(VK_RIGHT);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 2 * rows + 1);
  EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), rows);
  EXPECT_EQ(GetScrollPos(list, SB_HORZ), 1);
  SendMessage(list, WM_HSCROLL, SB_LINELEFT, 0);
  EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 0);
  SendMessage(list, WM_HSCROLL, SB_RIGHT, 0);
  EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0) % rows, 0);
  Key(VK_LEFT);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), rows + 1);
}

// A single-column list made with a horizontal bar scrolls sideways once its horizontal extent is
// wider than the list: the bar shows, rows shift by the scrolled pixels, and a smaller extent
// scrolls back. Without the bar's style the extent changes nothing.
TEST_F(ListBoxControl, WideRowsScrollSidewaysByTheHorizontalExtent) {
  const char* kLong = "A title much too long for a list this narrow to show whole";
  HWND list = MakeList(WS_HSCROLL | LBS_NOINTEGRALHEIGHT, {"short", kLong}, RECT{10, 10, 112, 112});
  EXPECT_FALSE(GetWindowLong(list, GWL_STYLE) & WS_HSCROLL) << "nothing wider than the list yet";
  SendMessage(list, LB_SETHORIZONTALEXTENT, 300, 0);
  EXPECT_TRUE(GetWindowLong(list, GWL_STYLE) & WS_HSCROLL);
  RECT client{};
  GetClientRect(list, &client);
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(list, SB_HORZ, &info));
  EXPECT_EQ(info.nMax, 299);
  EXPECT_EQ(info.nPage, static_cast<UINT>(client.right));

  const auto rowLeft = [&] {
    RECT r{};
    SendMessage(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.right - r.left, 300);
    return r.left;
  };
  const struct {
    WORD code;
    int left;  // the pixels scrolled out at the left, afterwards
  } kSteps[] = {{SB_LINERIGHT, 7},
                {SB_LINERIGHT, 14},
                {SB_LINELEFT, 7},
                {SB_RIGHT, 300 - client.right},
                {SB_LINERIGHT, 300 - client.right},
                {SB_LEFT, 0},
                {SB_LINELEFT, 0},
                {SB_PAGERIGHT, client.right - 7}};
  SendMessage(list, LB_SETITEMHEIGHT, 0, MAKELPARAM(15, 0));
  for (const auto& step : kSteps) {
    SendMessage(list, WM_HSCROLL, step.code, 0);
    EXPECT_EQ(GetScrollPos(list, SB_HORZ), step.left) << step.code;
    EXPECT_EQ(rowLeft(), -step.left) << step.code;
  }
  // The first row, scrolled, is still hit where it shows.
  EXPECT_EQ(LOWORD(SendMessage(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 5))), 0);

  SendMessage(list, LB_SETHORIZONTALEXTENT, 50, 0);
  EXPECT_FALSE(GetWindowLong(list, GWL_STYLE) & WS_HSCROLL) << "narrower than the list again";
  RECT r{};
  SendMessage(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.left, 0);

  HWND plain = MakeList(LBS_NOINTEGRALHEIGHT, {kLong}, RECT{10, 120, 112, 200});
  SendMessage(plain, LB_SETHORIZONTALEXTENT, 300, 0);
  SendMessage(plain, WM_HSCROLL, SB_RIGHT, 0);
  SendMessage(plain, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_FALSE(GetWindowLong(plain, GWL_STYLE) & WS_HSCROLL);
  EXPECT_EQ(r.left, 0);
}

}  // namespace
