#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "Host.h"
#include "platform/display/InputSynth.h"

namespace {

using namespace testing_comctl;

constexpr RECT kListRect{10, 10, 410, 310};

class ListViewTest : public ComctlTest {
 protected:
  HWND MakeList(DWORD style = LVS_REPORT | LVS_SHOWSELALWAYS, int items = 8) {
    HWND list = host.Add(WC_LISTVIEW, style, kListRect);
    AddColumn(list, 0, "Name", 150);
    AddColumn(list, 1, "Size", 80);
    for (int i = 0; i < items; ++i) AddItem(list, i, "Item " + std::to_string(i), i * 10);
    UpdateWindow(list);
    host.codes.clear();
    return list;
  }
  static void AddColumn(HWND list, int index, const char* title, int width) {
    LVCOLUMN column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<LPSTR>(title);
    column.cx = width;
    ASSERT_EQ(SendMessage(list, LVM_INSERTCOLUMN, index, reinterpret_cast<LPARAM>(&column)), index);
  }
  static int AddItem(HWND list, int index, const std::string& text, LPARAM data) {
    LVITEM item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<LPSTR>(text.c_str());
    item.lParam = data;
    return static_cast<int>(SendMessage(list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)));
  }
  static RECT ItemRect(HWND list, int index, int code = LVIR_LABEL) {
    RECT r{code, 0, 0, 0};
    SendMessage(list, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  static POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
  static POINT ItemPoint(HWND list, int index) { return Centre(ItemRect(list, index)); }
  static std::set<int> Selected(HWND list) {
    std::set<int> out;
    for (int i = -1; (i = static_cast<int>(SendMessage(list, LVM_GETNEXTITEM, i, LVNI_SELECTED))) >= 0;)
      out.insert(i);
    return out;
  }
  static int Focused(HWND list) {
    return static_cast<int>(SendMessage(list, LVM_GETNEXTITEM, -1, LVNI_FOCUSED));
  }
  static std::string Text(HWND list, int index, int subItem = 0) {
    char buffer[64] = {};
    LVITEM item{};
    item.iSubItem = subItem;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessage(list, LVM_GETITEMTEXT, index, reinterpret_cast<LPARAM>(&item));
    return buffer;
  }
  static LPARAM Data(HWND list, int index) {
    LVITEM item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    SendMessage(list, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
  }
  static void Repaint(HWND list) {
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
  }

  Host host;
};

TEST_F(ListViewTest, ClicksSelectWithShiftAndCtrl) {
  struct Step {
    int item;
    WPARAM keys;
  };
  struct Case {
    std::vector<Step> clicks;
    std::set<int> selected;
    int focus;
  };
  const Case cases[] = {
      {{{2, 0}}, {2}, 2},
      {{{2, 0}, {5, 0}}, {5}, 5},
      {{{1, 0}, {4, MK_SHIFT}}, {1, 2, 3, 4}, 4},
      {{{4, 0}, {1, MK_SHIFT}}, {1, 2, 3, 4}, 1},
      {{{1, 0}, {3, MK_CONTROL}}, {1, 3}, 3},
      {{{1, 0}, {3, MK_CONTROL}, {3, MK_CONTROL}}, {1}, 3},
      {{{1, 0}, {3, MK_CONTROL}, {5, MK_CONTROL | MK_SHIFT}}, {1, 3, 4, 5}, 5},
      {{{1, 0}, {4, MK_SHIFT}, {6, MK_SHIFT}}, {1, 2, 3, 4, 5, 6}, 6},
  };
  for (const Case& c : cases) {
    HWND list = MakeList();
    for (const Step& step : c.clicks) Click(list, ItemPoint(list, step.item), step.keys);
    EXPECT_EQ(Selected(list), c.selected) << "case ending at " << c.clicks.back().item;
    EXPECT_EQ(Focused(list), c.focus);
    EXPECT_EQ(SendMessage(list, LVM_GETSELECTEDCOUNT, 0, 0), static_cast<LRESULT>(c.selected.size()));
    DestroyWindow(list);
  }
}

TEST_F(ListViewTest, SingleSelectionAndClickOnEmptySpace) {
  HWND list = MakeList(LVS_REPORT | LVS_SINGLESEL);
  Click(list, ItemPoint(list, 1));
  Click(list, ItemPoint(list, 4), MK_SHIFT);
  EXPECT_EQ(Selected(list), (std::set<int>{4}));
  Click(list, POINT{100, 280});  // below the last item
  EXPECT_TRUE(Selected(list).empty());
  EXPECT_EQ(host.Count(NM_CLICK), 3);
}

TEST_F(ListViewTest, ItemChangedSequenceAndVeto) {
  HWND list = MakeList();
  Click(list, ItemPoint(list, 1));
  std::vector<std::tuple<UINT, int, UINT, UINT>> seen;
  int refuse = -1;
  host.onNotify = [&](NMHDR* hdr) -> LRESULT {
    if (hdr->code != LVN_ITEMCHANGING && hdr->code != LVN_ITEMCHANGED) return 0;
    auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
    EXPECT_EQ(nm->uChanged, static_cast<UINT>(LVIF_STATE));
    EXPECT_EQ(nm->lParam, nm->iItem * 10) << "the item's data comes along";
    seen.emplace_back(hdr->code, nm->iItem, nm->uOldState, nm->uNewState);
    return hdr->code == LVN_ITEMCHANGING && nm->iItem == refuse;
  };
  Click(list, ItemPoint(list, 3));
  const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
  const std::vector<std::tuple<UINT, int, UINT, UINT>> expected = {
      {LVN_ITEMCHANGING, 1, both, 0u},
      {LVN_ITEMCHANGED, 1, both, 0u},
      {LVN_ITEMCHANGING, 3, 0u, both},
      {LVN_ITEMCHANGED, 3, 0u, both},
  };
  EXPECT_EQ(seen, expected);

  seen.clear();
  refuse = 5;
  Click(list, ItemPoint(list, 5));
  EXPECT_EQ(Selected(list).count(5), 0u) << "LVN_ITEMCHANGING refused it";
  EXPECT_EQ(
      std::count_if(seen.begin(), seen.end(),
                    [](const auto& t) { return std::get<0>(t) == LVN_ITEMCHANGED && std::get<1>(t) == 5; }),
      0);
}

int CALLBACK ByData(LPARAM a, LPARAM b, LPARAM sort) {
  return static_cast<int>(sort > 0 ? a - b : b - a);
}

TEST_F(ListViewTest, SortItemsByCallbackKeepsStatesWithTheirItems) {
  HWND list = MakeList(LVS_REPORT, 0);
  const LPARAM data[] = {30, 10, 50, 20, 40};
  for (int i = 0; i < 5; ++i) AddItem(list, i, "n" + std::to_string(data[i]), data[i]);
  Click(list, ItemPoint(list, 2));  // the item with 50
  ASSERT_TRUE(SendMessage(list, LVM_SORTITEMS, 1, reinterpret_cast<LPARAM>(&ByData)));
  std::vector<LPARAM> order;
  for (int i = 0; i < 5; ++i) order.push_back(Data(list, i));
  EXPECT_EQ(order, (std::vector<LPARAM>{10, 20, 30, 40, 50}));
  EXPECT_EQ(Text(list, 0), "n10");
  EXPECT_EQ(Selected(list), (std::set<int>{4}));
  EXPECT_EQ(Focused(list), 4);
  ASSERT_TRUE(SendMessage(list, LVM_SORTITEMS, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&ByData)));
  EXPECT_EQ(Data(list, 0), 50);
  EXPECT_EQ(Selected(list), (std::set<int>{0}));
}

TEST_F(ListViewTest, CallbackTextAndImagesComeFromGetDispInfo) {
  HWND list = MakeList(LVS_REPORT, 0);
  for (int i = 0; i < 3; ++i) {
    LVITEM item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = i;
    item.pszText = LPSTR_TEXTCALLBACK;
    item.iImage = I_IMAGECALLBACK;
    item.lParam = 100 + i;
    SendMessage(list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
  }
  std::vector<std::pair<int, int>> asked;  // (item, sub-item)
  bool keep = false;
  host.onNotify = [&](NMHDR* hdr) -> LRESULT {
    if (hdr->code != LVN_GETDISPINFO) return 0;
    auto* info = reinterpret_cast<NMLVDISPINFO*>(hdr);
    asked.emplace_back(info->item.iItem, info->item.iSubItem);
    EXPECT_EQ(info->item.lParam, 100 + info->item.iItem);
    if (info->item.mask & LVIF_TEXT) {
      const std::string text =
          "cb" + std::to_string(info->item.iItem) + "." + std::to_string(info->item.iSubItem);
      snprintf(info->item.pszText, static_cast<size_t>(info->item.cchTextMax), "%s", text.c_str());
    }
    if (info->item.mask & LVIF_IMAGE) info->item.iImage = 7;
    if (keep) info->item.mask |= LVIF_DI_SETITEM;
    return 0;
  };
  EXPECT_EQ(Text(list, 1), "cb1.0");
  LVITEM item{};
  item.mask = LVIF_IMAGE;
  item.iItem = 2;
  SendMessage(list, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.iImage, 7);
  asked.clear();
  Repaint(list);
  EXPECT_EQ(asked.size(), 3u) << "one question per painted item";
  keep = true;
  Text(list, 0);
  asked.clear();
  EXPECT_EQ(Text(list, 0), "cb0.0");
  EXPECT_TRUE(asked.empty()) << "LVIF_DI_SETITEM kept the text";
}

TEST_F(ListViewTest, CustomDrawStagesInOrder) {
  HWND list = MakeList(LVS_REPORT, 2);
  std::vector<std::tuple<DWORD, int, int>> stages;  // (stage, item, sub-item)
  host.onNotify = [&](NMHDR* hdr) -> LRESULT {
    if (hdr->code != NM_CUSTOMDRAW) return 0;
    auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(hdr);
    const DWORD stage = cd->nmcd.dwDrawStage;
    const bool item = stage & CDDS_ITEM;
    stages.emplace_back(stage, item ? static_cast<int>(cd->nmcd.dwItemSpec) : -1,
                        (stage & CDDS_SUBITEM) ? cd->iSubItem : -1);
    if (stage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    if (stage == CDDS_ITEMPREPAINT) {
      EXPECT_EQ(cd->nmcd.lItemlParam, static_cast<LPARAM>(cd->nmcd.dwItemSpec * 10));
      return CDRF_NOTIFYSUBITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    }
    return CDRF_DODEFAULT;
  };
  Repaint(list);
  const DWORD sub = CDDS_ITEMPREPAINT | CDDS_SUBITEM;
  const std::vector<std::tuple<DWORD, int, int>> expected = {
      {CDDS_PREPAINT, -1, -1},     {CDDS_ITEMPREPAINT, 0, -1}, {sub, 0, 0}, {sub, 0, 1},
      {CDDS_ITEMPOSTPAINT, 0, -1}, {CDDS_ITEMPREPAINT, 1, -1}, {sub, 1, 0}, {sub, 1, 1},
      {CDDS_ITEMPOSTPAINT, 1, -1}, {CDDS_POSTPAINT, -1, -1},
  };
  EXPECT_EQ(stages, expected);

  // Skipping the default drawing at the start skips the items too.
  stages.clear();
  host.onNotify = [&](NMHDR* hdr) -> LRESULT {
    if (hdr->code != NM_CUSTOMDRAW) return 0;
    stages.emplace_back(reinterpret_cast<NMCUSTOMDRAW*>(hdr)->dwDrawStage, -1, -1);
    return CDRF_SKIPDEFAULT;
  };
  Repaint(list);
  EXPECT_EQ(stages.size(), 1u);
}

TEST_F(ListViewTest, CustomDrawColoursReachThePixels) {
  HWND list = MakeList(LVS_REPORT, 2);
  host.onNotify = [&](NMHDR* hdr) -> LRESULT {
    if (hdr->code != NM_CUSTOMDRAW) return 0;
    auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(hdr);
    if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && cd->nmcd.dwItemSpec == 1) cd->clrTextBk = RGB(0, 200, 0);
    return CDRF_DODEFAULT;
  };
  Repaint(list);
  RECT label = ItemRect(list, 1);
  POINT at{label.left + 1, (label.top + label.bottom) / 2};
  MapWindowPoints(list, host.Hwnd(), &at, 1);
  EXPECT_EQ(Pixel(host.Hwnd(), at.x, at.y), RGB(0, 200, 0));
}

TEST_F(ListViewTest, HitTests) {
  HWND list = MakeList(LVS_REPORT, 4);
  const RECT row = ItemRect(list, 2, LVIR_BOUNDS);
  const int y = (row.top + row.bottom) / 2;
  struct Case {
    POINT pt;
    int item;
    UINT flags;
    int subItem;
  };
  const Case cases[] = {
      {{20, y}, 2, LVHT_ONITEMLABEL, 0},
      {{200, y}, -1, LVHT_NOWHERE, 1},  // the second column, without
                                        // full-row selection
      {{100, 280}, -1, LVHT_NOWHERE, 0},
      {{-5, y}, -1, LVHT_TOLEFT, 0},
      {{20, 400}, -1, LVHT_BELOW, 0},
  };
  for (const Case& c : cases) {
    LVHITTESTINFO info{};
    info.pt = c.pt;
    EXPECT_EQ(SendMessage(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), c.item)
        << c.pt.x << "," << c.pt.y;
    EXPECT_EQ(info.flags, c.flags) << c.pt.x << "," << c.pt.y;
  }
  LVHITTESTINFO info{};
  info.pt = POINT{200, y};
  EXPECT_EQ(SendMessage(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&info)), 2);
  EXPECT_EQ(info.iSubItem, 1);
  SendMessage(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  info = LVHITTESTINFO{};
  info.pt = POINT{200, y};
  EXPECT_EQ(SendMessage(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), 2) << "full-row selection";
  RECT sub{LVIR_BOUNDS, 1, 0, 0};
  ASSERT_TRUE(SendMessage(list, LVM_GETSUBITEMRECT, 2, reinterpret_cast<LPARAM>(&sub)));
  EXPECT_EQ(sub.left, 150);
  EXPECT_EQ(sub.right, 230);
}

TEST_F(ListViewTest, EnsureVisibleScrollsByWholeRows) {
  HWND list = MakeList(LVS_REPORT, 100);
  const int page = static_cast<int>(SendMessage(list, LVM_GETCOUNTPERPAGE, 0, 0));
  ASSERT_GT(page, 5);
  struct Case {
    int item;
    int top;
  };
  const Case cases[] = {{3, 0},   {50, 51 - page},  {40, 51 - page}, {10, 10},
                        {15, 10}, {99, 100 - page}, {0, 0}};
  for (const Case& c : cases) {
    ASSERT_TRUE(SendMessage(list, LVM_ENSUREVISIBLE, c.item, FALSE));
    EXPECT_EQ(SendMessage(list, LVM_GETTOPINDEX, 0, 0), c.top) << c.item;
    const RECT r = ItemRect(list, c.item, LVIR_BOUNDS);
    RECT client;
    GetClientRect(list, &client);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.bottom, client.bottom) << c.item;
  }
  SendMessage(list, LVM_SCROLL, 0, 1);  // part of a row scrolls a whole row
  EXPECT_EQ(SendMessage(list, LVM_GETTOPINDEX, 0, 0), 1);
}

TEST_F(ListViewTest, FiveThousandItemsPaintOnlyTheVisibleRows) {
  HWND list = MakeList(LVS_REPORT, 0);
  for (int i = 0; i < 5000; ++i) {
    LVITEM item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = i;
    item.pszText = LPSTR_TEXTCALLBACK;
    item.lParam = i;
    SendMessage(list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
  }
  int painted = 0;
  int asked = 0;
  host.onNotify = [&](NMHDR* hdr) -> LRESULT {
    if (hdr->code == LVN_GETDISPINFO) {
      ++asked;
      auto* info = reinterpret_cast<NMLVDISPINFO*>(hdr);
      snprintf(info->item.pszText, static_cast<size_t>(info->item.cchTextMax), "row %d", info->item.iItem);
      return 0;
    }
    if (hdr->code != NM_CUSTOMDRAW) return 0;
    auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(hdr);
    if (cd->dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (cd->dwDrawStage == CDDS_ITEMPREPAINT) ++painted;
    return CDRF_DODEFAULT;
  };
  RECT first = ItemRect(list, 0, LVIR_BOUNDS);
  RECT client;
  GetClientRect(list, &client);
  const int rowHeight = first.bottom - first.top;
  const int visibleRows = (client.bottom - first.top + rowHeight - 1) / rowHeight;
  Repaint(list);
  EXPECT_EQ(painted, visibleRows);
  EXPECT_LE(asked, visibleRows * 2);
  painted = asked = 0;
  SendMessage(list, LVM_ENSUREVISIBLE, 4999, FALSE);
  UpdateWindow(list);
  EXPECT_LE(painted, visibleRows);
  EXPECT_GT(painted, 0);
  EXPECT_EQ(SendMessage(list, LVM_GETTOPINDEX, 0, 0), 5000 - SendMessage(list, LVM_GETCOUNTPERPAGE, 0, 0));
}

TEST_F(ListViewTest, KeyboardMovesTheFocusAndSelection) {
  HWND list = MakeList(LVS_REPORT | LVS_SHOWSELALWAYS, 20);
  SetFocus(list);
  Click(list, ItemPoint(list, 2));
  struct Case {
    UINT key;
    UINT modifiers;
    std::set<int> selected;
    int focus;
  };
  const Case cases[] = {
      {VK_DOWN, 0, {3}, 3},
      {VK_DOWN, MOD_SHIFT, {3, 4}, 4},
      {VK_DOWN, MOD_SHIFT, {3, 4, 5}, 5},
      {VK_UP, 0, {4}, 4},
      {VK_DOWN, MOD_CONTROL, {4}, 5},  // Ctrl moves the focus only
      {VK_SPACE, MOD_CONTROL, {4, 5}, 5},
      {VK_END, 0, {19}, 19},
      {VK_HOME, MOD_SHIFT, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}, 0},
      {VK_HOME, 0, {0}, 0},
  };
  for (const Case& c : cases) {
    Press(c.key, c.modifiers);
    EXPECT_EQ(Selected(list), c.selected) << "key " << c.key;
    EXPECT_EQ(Focused(list), c.focus) << "key " << c.key;
  }
  EXPECT_GE(host.Count(LVN_KEYDOWN), static_cast<int>(std::size(cases)));
}

TEST_F(ListViewTest, TypingFindsItems) {
  HWND list = MakeList(LVS_REPORT, 0);
  const char* names[] = {"apple", "banana", "blueberry", "cherry", "beet"};
  for (int i = 0; i < 5; ++i) AddItem(list, i, names[i], i);
  SetFocus(list);
  pictavo::display::TypeText("bl");
  PumpPending();
  EXPECT_EQ(Focused(list), 2);
  LVFINDINFO find{};
  find.flags = LVFI_STRING;
  find.psz = "CHERRY";
  EXPECT_EQ(SendMessage(list, LVM_FINDITEM, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)), 3);
  find.flags = LVFI_PARTIAL | LVFI_WRAP;
  find.psz = "b";
  EXPECT_EQ(SendMessage(list, LVM_FINDITEM, 2, reinterpret_cast<LPARAM>(&find)), 4);
  EXPECT_EQ(SendMessage(list, LVM_FINDITEM, 4, reinterpret_cast<LPARAM>(&find)), 1) << "wraps round";
  find.flags = LVFI_PARAM;
  find.lParam = 3;
  EXPECT_EQ(SendMessage(list, LVM_FINDITEM, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)), 3);
}

TEST_F(ListViewTest, HeaderClicksAndResizesReachTheList) {
  HWND list = MakeList();
  HWND header = reinterpret_cast<HWND>(SendMessage(list, LVM_GETHEADER, 0, 0));
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(GetDlgCtrlID(header), 0);
  EXPECT_EQ(SendMessage(header, HDM_GETITEMCOUNT, 0, 0), 2);
  int column = -1;
  host.onNotify = [&](NMHDR* hdr) -> LRESULT {
    if (hdr->code == LVN_COLUMNCLICK) column = reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem;
    return 0;
  };
  RECT item;
  SendMessage(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  Click(header, Centre(item));
  EXPECT_EQ(column, 1);
  // Dragging the first divider 40 pixels to the right.
  SendMessage(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 5));
  SendMessage(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(190, 5));
  SendMessage(header, WM_LBUTTONUP, 0, MAKELPARAM(190, 5));
  EXPECT_EQ(SendMessage(list, LVM_GETCOLUMNWIDTH, 0, 0), 190);
  EXPECT_EQ(host.Only({HDN_BEGINTRACK, HDN_ENDTRACK}), (std::vector<UINT>{HDN_BEGINTRACK, HDN_ENDTRACK}));
  EXPECT_EQ(ItemRect(list, 0, LVIR_LABEL).right, 190);
  SendMessage(list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(60, 0));
  SendMessage(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.right - item.left, 60);
}

TEST_F(ListViewTest, DragStartsOnlyPastTheThreshold) {
  HWND list = MakeList();
  const POINT start = ItemPoint(list, 2);
  int dragged = -1;
  POINT action{};
  host.onNotify = [&](NMHDR* hdr) -> LRESULT {
    if (hdr->code == LVN_BEGINDRAG) {
      dragged = reinterpret_cast<NMLISTVIEW*>(hdr)->iItem;
      action = reinterpret_cast<NMLISTVIEW*>(hdr)->ptAction;
    }
    return 0;
  };
  SendMessage(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.x, start.y));
  SendMessage(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(start.x + 2, start.y + 1));
  EXPECT_EQ(dragged, -1);
  SendMessage(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(start.x + 20, start.y + 10));
  EXPECT_EQ(dragged, 2);
  EXPECT_EQ(action.x, start.x);
  EXPECT_EQ(action.y, start.y);
  SendMessage(list, WM_LBUTTONUP, 0, MAKELPARAM(start.x + 20, start.y + 10));
  EXPECT_EQ(host.Count(NM_CLICK), 0) << "a drag is no click";
  EXPECT_EQ(GetCapture(), nullptr);

  // Dragging several selected items keeps them selected.
  Click(list, ItemPoint(list, 5), MK_SHIFT);
  SendMessage(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ItemPoint(list, 3).x, ItemPoint(list, 3).y));
  SendMessage(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ItemPoint(list, 3).x + 30, ItemPoint(list, 3).y));
  EXPECT_EQ(Selected(list), (std::set<int>{2, 3, 4, 5}));
  HIMAGELIST image = nullptr;
  POINT corner{};
  image = reinterpret_cast<HIMAGELIST>(
      SendMessage(list, LVM_CREATEDRAGIMAGE, 3, reinterpret_cast<LPARAM>(&corner)));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(corner.y, ItemRect(list, 3, LVIR_BOUNDS).top);
  ImageList_Destroy(image);
}

TEST_F(ListViewTest, DeletingItemsNotifiesEachOne) {
  HWND list = MakeList(LVS_REPORT, 4);
  std::vector<std::pair<UINT, LPARAM>> seen;
  bool quiet = false;
  host.onNotify = [&](NMHDR* hdr) -> LRESULT {
    if (hdr->code == LVN_DELETEITEM || hdr->code == LVN_DELETEALLITEMS) {
      seen.emplace_back(hdr->code, reinterpret_cast<NMLISTVIEW*>(hdr)->lParam);
      return hdr->code == LVN_DELETEALLITEMS && quiet;
    }
    return 0;
  };
  ASSERT_TRUE(SendMessage(list, LVM_DELETEITEM, 1, 0));
  EXPECT_EQ(seen, (std::vector<std::pair<UINT, LPARAM>>{{LVN_DELETEITEM, 10}}));
  EXPECT_EQ(Text(list, 1), "Item 2");
  seen.clear();
  ASSERT_TRUE(SendMessage(list, LVM_DELETEALLITEMS, 0, 0));
  EXPECT_EQ(seen,
            (std::vector<std::pair<UINT, LPARAM>>{
                {LVN_DELETEALLITEMS, 0}, {LVN_DELETEITEM, 0}, {LVN_DELETEITEM, 20}, {LVN_DELETEITEM, 30}}));
  AddItem(list, 0, "again", 7);
  seen.clear();
  quiet = true;
  SendMessage(list, LVM_DELETEALLITEMS, 0, 0);
  EXPECT_EQ(seen.size(), 1u) << "answering TRUE spares the per-item notifications";
  EXPECT_EQ(SendMessage(list, LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_FALSE(SendMessage(list, LVM_DELETEITEM, 0, 0));
}

TEST_F(ListViewTest, LabelEditingEndsWithEnterOrEscape) {
  HWND list = MakeList(LVS_REPORT | LVS_EDITLABELS, 3);
  std::string ended = "<none>";
  bool accept = true;
  bool refuse = false;
  host.onNotify = [&](NMHDR* hdr) -> LRESULT {
    if (hdr->code == LVN_BEGINLABELEDIT) return refuse;
    if (hdr->code == LVN_ENDLABELEDIT) {
      auto* info = reinterpret_cast<NMLVDISPINFO*>(hdr);
      ended = info->item.pszText ? info->item.pszText : "<cancelled>";
      return accept;
    }
    return 0;
  };
  HWND edit = reinterpret_cast<HWND>(SendMessage(list, LVM_EDITLABEL, 1, 0));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessage(list, LVM_GETEDITCONTROL, 0, 0)), edit);
  EXPECT_EQ(GetFocus(), edit);
  SetWindowText(edit, "Renamed");
  SendMessage(edit, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(ended, "Renamed");
  EXPECT_EQ(Text(list, 1), "Renamed");
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_EQ(SendMessage(list, LVM_GETEDITCONTROL, 0, 0), 0);

  edit = reinterpret_cast<HWND>(SendMessage(list, LVM_EDITLABEL, 2, 0));
  SetWindowText(edit, "Ignored");
  SendMessage(edit, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(ended, "<cancelled>");
  EXPECT_EQ(Text(list, 2), "Item 2");

  accept = false;
  edit = reinterpret_cast<HWND>(SendMessage(list, LVM_EDITLABEL, 0, 0));
  SetWindowText(edit, "Refused");
  SetFocus(list);  // losing the focus keeps what was typed, if the parent agrees
  EXPECT_EQ(ended, "Refused");
  EXPECT_EQ(Text(list, 0), "Item 0");

  refuse = true;
  EXPECT_EQ(SendMessage(list, LVM_EDITLABEL, 0, 0), 0);
}

TEST_F(ListViewTest, CheckBoxesToggleByClickAndSpace) {
  HWND list = MakeList(LVS_REPORT, 3);
  SendMessage(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
  auto checked = [&](int i) {
    return (SendMessage(list, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK) >> 12) == 2;
  };
  EXPECT_FALSE(checked(1));
  const RECT icon = ItemRect(list, 1, LVIR_ICON);
  LVHITTESTINFO info{};
  info.pt = POINT{icon.left - 5, (icon.top + icon.bottom) / 2};
  ASSERT_EQ(SendMessage(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), 1);
  EXPECT_EQ(info.flags, static_cast<UINT>(LVHT_ONITEMSTATEICON));
  Click(list, info.pt);
  EXPECT_TRUE(checked(1));
  Click(list, info.pt);
  EXPECT_FALSE(checked(1));
  SetFocus(list);
  Click(list, ItemPoint(list, 2));
  Press(VK_SPACE);
  EXPECT_TRUE(checked(2));
}

TEST_F(ListViewTest, IconViewsLayItemsOnAGrid) {
  HWND list = MakeList(LVS_ICON, 6);
  SendMessage(list, LVM_SETICONSPACING, 0, MAKELPARAM(100, 90));
  const RECT a = ItemRect(list, 0, LVIR_BOUNDS);
  const RECT b = ItemRect(list, 1, LVIR_BOUNDS);
  const RECT e = ItemRect(list, 4, LVIR_BOUNDS);
  EXPECT_EQ(b.left - a.left, 100);
  EXPECT_EQ(b.top, a.top);
  EXPECT_EQ(e.top - a.top, 90) << "four cells fit in a row of 400 pixels";
  EXPECT_EQ(e.left, a.left);
  LVHITTESTINFO info{};
  info.pt = Centre(ItemRect(list, 5, LVIR_ICON));
  EXPECT_EQ(SendMessage(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), 5);
  EXPECT_EQ(info.flags, static_cast<UINT>(LVHT_ONITEMICON));
  // The arrows move through the grid.
  SetFocus(list);
  Click(list, ItemPoint(list, 1));
  Press(VK_DOWN);
  EXPECT_EQ(Focused(list), 5);
  Press(VK_LEFT);
  EXPECT_EQ(Focused(list), 4);
  SetWindowLong(list, GWL_STYLE,
                static_cast<LONG>((GetWindowLong(list, GWL_STYLE) & ~LVS_TYPEMASK) | LVS_LIST));
  const RECT first = ItemRect(list, 0, LVIR_BOUNDS);
  const RECT second = ItemRect(list, 1, LVIR_BOUNDS);
  EXPECT_EQ(second.left, first.left) << "the list view fills columns top to bottom";
  EXPECT_EQ(second.top, first.bottom);
}

}  // namespace
