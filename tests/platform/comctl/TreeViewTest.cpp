#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "Host.h"
#include "platform/display/InputSynth.h"
#include "platform/gdi/Gdi.h"

namespace {

using namespace testing_comctl;

constexpr DWORD kTreeStyle = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;

class TreeViewTest : public ComctlTest {
 protected:
  HWND MakeTree(DWORD style = kTreeStyle) {
    HWND tree = host.Add(WC_TREEVIEW, style, RECT{10, 10, 310, 310});
    host.codes.clear();
    return tree;
  }
  static HTREEITEM Insert(HWND tree, HTREEITEM parent, const char* text, LPARAM data,
                          HTREEITEM after = TVI_LAST, int children = -2) {
    TVINSERTSTRUCT insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<LPSTR>(text);
    insert.item.lParam = data;
    if (children != -2) {
      insert.item.mask |= TVIF_CHILDREN;
      insert.item.cChildren = children;
    }
    return reinterpret_cast<HTREEITEM>(
        SendMessage(tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&insert)));
  }
  static HTREEITEM Next(HWND tree, HTREEITEM item, UINT code) {
    return reinterpret_cast<HTREEITEM>(
        SendMessage(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
  }
  static HTREEITEM Caret(HWND tree) { return Next(tree, nullptr, TVGN_CARET); }
  static LPARAM Data(HWND tree, HTREEITEM item) {
    TVITEM tv{};
    tv.mask = TVIF_PARAM | TVIF_HANDLE;
    tv.hItem = item;
    SendMessage(tree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&tv));
    return tv.lParam;
  }
  static std::string Text(HWND tree, HTREEITEM item) {
    char buffer[64] = {};
    TVITEM tv{};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = item;
    tv.pszText = buffer;
    tv.cchTextMax = sizeof buffer;
    SendMessage(tree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&tv));
    return buffer;
  }
  static UINT State(HWND tree, HTREEITEM item, UINT mask) {
    return static_cast<UINT>(SendMessage(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), mask));
  }
  static RECT Rect(HWND tree, HTREEITEM item, bool textOnly = true) {
    RECT r{};
    *reinterpret_cast<HTREEITEM*>(&r) = item;
    if (!SendMessage(tree, TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(&r)))
      return RECT{-1, -1, -1, -1};
    return r;
  }
  static POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
  // The visible items' data, top to bottom.
  static std::vector<LPARAM> Visible(HWND tree) {
    std::vector<LPARAM> out;
    for (HTREEITEM i = Next(tree, nullptr, TVGN_ROOT); i; i = Next(tree, i, TVGN_NEXTVISIBLE))
      out.push_back(Data(tree, i));
    return out;
  }
  static bool Expand(HWND tree, HTREEITEM item, UINT code) {
    return SendMessage(tree, TVM_EXPAND, code, reinterpret_cast<LPARAM>(item)) != 0;
  }

  Host host;
};

TEST_F(TreeViewTest, ChildrenAreFilledInWhenFirstExpanded) {
  HWND tree = MakeTree();
  HTREEITEM folder = Insert(tree, TVI_ROOT, "Folder", 1, TVI_LAST, I_CHILDRENCALLBACK);
  HTREEITEM empty = Insert(tree, TVI_ROOT, "Empty", 2, TVI_LAST, 1);
  std::vector<std::pair<UINT, UINT>> seen;  // (code, action)
  bool refuse = false;
  host.onNotify = [&](NMHDR* hdr) -> LRESULT {
    if (hdr->code == TVN_GETDISPINFO) {
      auto* info = reinterpret_cast<NMTVDISPINFO*>(hdr);
      if (info->item.mask & TVIF_CHILDREN) info->item.cChildren = 1;
      return 0;
    }
    if (hdr->code != TVN_ITEMEXPANDING && hdr->code != TVN_ITEMEXPANDED) return 0;
    auto* nm = reinterpret_cast<NMTREEVIEW*>(hdr);
    seen.emplace_back(hdr->code, nm->action);
    if (hdr->code == TVN_ITEMEXPANDING && nm->action == TVE_EXPAND && nm->itemNew.lParam == 1 &&
        !Next(tree, nm->itemNew.hItem, TVGN_CHILD)) {
      for (int i = 0; i < 3; ++i) Insert(tree, nm->itemNew.hItem, "child", 10 + i);
    }
    return refuse;
  };
  // A click on the button expands the item.
  RECT row = Rect(tree, folder, false);
  TVHITTESTINFO hit{};
  hit.pt = POINT{8, (row.top + row.bottom) / 2};
  SendMessage(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  ASSERT_EQ(hit.flags, static_cast<UINT>(TVHT_ONITEMBUTTON));
  Click(tree, hit.pt);
  EXPECT_EQ(seen, (std::vector<std::pair<UINT, UINT>>{{TVN_ITEMEXPANDING, TVE_EXPAND},
                                                      {TVN_ITEMEXPANDED, TVE_EXPAND}}));
  EXPECT_EQ(Visible(tree), (std::vector<LPARAM>{1, 10, 11, 12, 2}));
  EXPECT_TRUE(State(tree, folder, TVIS_EXPANDED | TVIS_EXPANDEDONCE) == (TVIS_EXPANDED | TVIS_EXPANDEDONCE));
  EXPECT_EQ(Caret(tree), nullptr) << "the button does not select";

  // The user's collapsing and expanding is always told; the program's only the first time.
  seen.clear();
  Click(tree, hit.pt);
  EXPECT_EQ(seen, (std::vector<std::pair<UINT, UINT>>{{TVN_ITEMEXPANDING, TVE_COLLAPSE},
                                                      {TVN_ITEMEXPANDED, TVE_COLLAPSE}}));
  seen.clear();
  EXPECT_TRUE(Expand(tree, folder, TVE_EXPAND));
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(Visible(tree).size(), 5u);

  // Expanding shows nothing new: the button goes.
  EXPECT_FALSE(Expand(tree, empty, TVE_EXPAND));
  TVITEM item{};
  item.mask = TVIF_CHILDREN | TVIF_HANDLE;
  item.hItem = empty;
  SendMessage(tree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.cChildren, 0);

  // A refused expansion stays collapsed.
  HTREEITEM other = Insert(tree, TVI_ROOT, "Other", 3, TVI_LAST, 1);
  Insert(tree, other, "x", 30);
  refuse = true;
  EXPECT_FALSE(Expand(tree, other, TVE_EXPAND));
  EXPECT_EQ(State(tree, other, TVIS_EXPANDED), 0u);
}

TEST_F(TreeViewTest, CollapseResetDeletesTheChildren) {
  HWND tree = MakeTree();
  HTREEITEM folder = Insert(tree, TVI_ROOT, "Folder", 1, TVI_LAST, 1);
  Insert(tree, folder, "a", 10);
  HTREEITEM b = Insert(tree, folder, "b", 11);
  Expand(tree, folder, TVE_EXPAND);
  SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b));
  std::vector<LPARAM> deleted;
  host.onNotify = [&](NMHDR* hdr) -> LRESULT {
    if (hdr->code == TVN_DELETEITEM) deleted.push_back(reinterpret_cast<NMTREEVIEW*>(hdr)->itemOld.lParam);
    return 0;
  };
  EXPECT_TRUE(Expand(tree, folder, TVE_COLLAPSE | TVE_COLLAPSERESET));
  EXPECT_EQ(deleted, (std::vector<LPARAM>{10, 11}));
  EXPECT_EQ(Next(tree, folder, TVGN_CHILD), nullptr);
  EXPECT_EQ(Caret(tree), folder) << "the selection moved up to the collapsed item";
  EXPECT_EQ(State(tree, folder, TVIS_EXPANDEDONCE), 0u);
}

TEST_F(TreeViewTest, SelectionNotificationsCarryTheAction) {
  HWND tree = MakeTree();
  HTREEITEM a = Insert(tree, TVI_ROOT, "a", 1);
  HTREEITEM b = Insert(tree, TVI_ROOT, "b", 2);
  HTREEITEM c = Insert(tree, TVI_ROOT, "c", 3);
  std::vector<std::tuple<UINT, UINT, LPARAM, LPARAM>> seen;  // (code, action, old, new)
  HTREEITEM refuse = nullptr;
  host.onNotify = [&](NMHDR* hdr) -> LRESULT {
    if (hdr->code == NM_CLICK) seen.emplace_back(NM_CLICK, 0, 0, 0);
    if (hdr->code != TVN_SELCHANGING && hdr->code != TVN_SELCHANGED) return 0;
    auto* nm = reinterpret_cast<NMTREEVIEW*>(hdr);
    EXPECT_EQ(nm->itemNew.hItem ? static_cast<UINT>(nm->itemNew.mask & TVIF_HANDLE) : TVIF_HANDLE,
              static_cast<UINT>(TVIF_HANDLE));
    seen.emplace_back(hdr->code, nm->action, nm->itemOld.lParam, nm->itemNew.lParam);
    return hdr->code == TVN_SELCHANGING && nm->itemNew.hItem == refuse;
  };
  SetFocus(tree);
  Click(tree, Centre(Rect(tree, b)));
  Press(VK_DOWN);
  SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a));
  const std::vector<std::tuple<UINT, UINT, LPARAM, LPARAM>> expected = {
      {NM_CLICK, 0, 0, 0},
      {TVN_SELCHANGING, TVC_BYMOUSE, 0, 2},
      {TVN_SELCHANGED, TVC_BYMOUSE, 0, 2},
      {TVN_SELCHANGING, TVC_BYKEYBOARD, 2, 3},
      {TVN_SELCHANGED, TVC_BYKEYBOARD, 2, 3},
      {TVN_SELCHANGING, TVC_UNKNOWN, 3, 1},
      {TVN_SELCHANGED, TVC_UNKNOWN, 3, 1},
  };
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(State(tree, a, TVIS_SELECTED), static_cast<UINT>(TVIS_SELECTED));
  refuse = c;
  EXPECT_FALSE(SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(c)));
  EXPECT_EQ(Caret(tree), a);
}

int CALLBACK Descending(LPARAM a, LPARAM b, LPARAM sort) {
  EXPECT_EQ(sort, 77);
  return static_cast<int>(b - a);
}

TEST_F(TreeViewTest, InsertPlacesAndSortCallbacksOrderChildren) {
  HWND tree = MakeTree();
  HTREEITEM parent = Insert(tree, TVI_ROOT, "parent", 0);
  HTREEITEM two = Insert(tree, parent, "delta", 2);
  Insert(tree, parent, "alpha", 1, TVI_FIRST);
  Insert(tree, parent, "charlie", 3, TVI_SORT);
  Insert(tree, parent, "bravo", 4, two);
  auto children = [&] {
    std::vector<LPARAM> out;
    for (HTREEITEM i = Next(tree, parent, TVGN_CHILD); i; i = Next(tree, i, TVGN_NEXT))
      out.push_back(Data(tree, i));
    return out;
  };
  EXPECT_EQ(children(), (std::vector<LPARAM>{1, 3, 2, 4}));
  EXPECT_EQ(Next(tree, two, TVGN_PARENT), parent);
  EXPECT_EQ(Next(tree, parent, TVGN_PARENT), nullptr);
  EXPECT_EQ(Data(tree, Next(tree, two, TVGN_PREVIOUS)), 3);
  TVSORTCB sort{parent, &Descending, 77};
  ASSERT_TRUE(SendMessage(tree, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort)));
  EXPECT_EQ(children(), (std::vector<LPARAM>{4, 3, 2, 1}));
  ASSERT_TRUE(SendMessage(tree, TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(parent)));
  EXPECT_EQ(children(), (std::vector<LPARAM>{1, 4, 3, 2})) << "by text: alpha bravo charlie delta";
  EXPECT_EQ(SendMessage(tree, TVM_GETCOUNT, 0, 0), 5);
}

TEST_F(TreeViewTest, DeletingNotifiesEveryItemChildrenFirst) {
  HWND tree = MakeTree();
  HTREEITEM a = Insert(tree, TVI_ROOT, "a", 1);
  HTREEITEM b = Insert(tree, a, "b", 2);
  Insert(tree, b, "c", 3);
  Insert(tree, a, "d", 4);
  HTREEITEM e = Insert(tree, TVI_ROOT, "e", 5);
  Expand(tree, a, TVE_EXPAND);
  SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b));
  std::vector<LPARAM> deleted;
  host.onNotify = [&](NMHDR* hdr) -> LRESULT {
    if (hdr->code == TVN_DELETEITEM) deleted.push_back(reinterpret_cast<NMTREEVIEW*>(hdr)->itemOld.lParam);
    return 0;
  };
  ASSERT_TRUE(SendMessage(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(a)));
  EXPECT_EQ(deleted, (std::vector<LPARAM>{3, 2, 4, 1}));
  EXPECT_EQ(Caret(tree), e) << "the selection goes to the next sibling";
  EXPECT_EQ(SendMessage(tree, TVM_GETCOUNT, 0, 0), 1);
  EXPECT_FALSE(SendMessage(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(a))) << "a dead handle";
  deleted.clear();
  ASSERT_TRUE(SendMessage(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)));
  EXPECT_EQ(deleted, (std::vector<LPARAM>{5}));
  EXPECT_EQ(SendMessage(tree, TVM_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(Caret(tree), nullptr);
}

TEST_F(TreeViewTest, DraggingAnItemNotifiesWithoutSelectingIt) {
  HWND tree = MakeTree();
  Insert(tree, TVI_ROOT, "a", 1);
  HTREEITEM b = Insert(tree, TVI_ROOT, "b", 2);
  std::vector<std::pair<UINT, LPARAM>> drags;
  POINT where{};
  host.onNotify = [&](NMHDR* hdr) -> LRESULT {
    if (hdr->code == TVN_BEGINDRAG || hdr->code == TVN_BEGINRDRAG) {
      auto* nm = reinterpret_cast<NMTREEVIEW*>(hdr);
      drags.emplace_back(hdr->code, nm->itemNew.lParam);
      where = nm->ptDrag;
      EXPECT_EQ(nm->itemNew.hItem, b);
    }
    return 0;
  };
  const POINT start = Centre(Rect(tree, b));
  SendMessage(tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.x, start.y));
  SendMessage(tree, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(start.x + 1, start.y));
  EXPECT_TRUE(drags.empty());
  SendMessage(tree, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(start.x + 15, start.y + 15));
  SendMessage(tree, WM_LBUTTONUP, 0, MAKELPARAM(start.x + 15, start.y + 15));
  SendMessage(tree, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(start.x, start.y));
  SendMessage(tree, WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(start.x + 15, start.y));
  SendMessage(tree, WM_RBUTTONUP, 0, MAKELPARAM(start.x + 15, start.y));
  EXPECT_EQ(drags, (std::vector<std::pair<UINT, LPARAM>>{{TVN_BEGINDRAG, 2}, {TVN_BEGINRDRAG, 2}}));
  EXPECT_EQ(where.x, start.x);
  EXPECT_EQ(Caret(tree), nullptr);
  HIMAGELIST image =
      reinterpret_cast<HIMAGELIST>(SendMessage(tree, TVM_CREATEDRAGIMAGE, 0, reinterpret_cast<LPARAM>(b)));
  ASSERT_NE(image, nullptr);
  ImageList_Destroy(image);
}

TEST_F(TreeViewTest, HitTestsNameThePartUnderThePoint) {
  HWND tree = MakeTree(kTreeStyle | TVS_CHECKBOXES);
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1);
  ImageList_SetImageCount(images, 1);
  SendMessage(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
  HTREEITEM parent = Insert(tree, TVI_ROOT, "parent", 1);
  HTREEITEM child = Insert(tree, parent, "child", 2);
  Expand(tree, parent, TVE_EXPAND);
  const RECT label = Rect(tree, child);
  const int y = (label.top + label.bottom) / 2;
  const int indent = static_cast<int>(SendMessage(tree, TVM_GETINDENT, 0, 0));
  struct Case {
    POINT pt;
    HTREEITEM item;
    UINT flags;
  };
  const Case cases[] = {
      {{label.left + 2, y}, child, TVHT_ONITEMLABEL},
      {{label.left - 8, y}, child, TVHT_ONITEMICON},
      {{label.left - 24, y}, child, TVHT_ONITEMSTATEICON},
      {{indent + indent / 2, y}, child, TVHT_ONITEMINDENT},  // the child has no button
      {{indent / 2, label.top - 5}, parent, TVHT_ONITEMBUTTON},
      {{label.right + 20, y}, child, TVHT_ONITEMRIGHT},
      {{20, 250}, nullptr, TVHT_NOWHERE},
      {{20, 400}, nullptr, TVHT_BELOW},
  };
  for (const Case& c : cases) {
    TVHITTESTINFO info{};
    info.pt = c.pt;
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info))),
              c.item)
        << c.pt.x << "," << c.pt.y;
    EXPECT_EQ(info.flags, c.flags) << c.pt.x << "," << c.pt.y;
  }
  ImageList_Destroy(images);
}

TEST_F(TreeViewTest, CheckBoxesToggleByClickAndSpace) {
  HWND tree = MakeTree(kTreeStyle | TVS_CHECKBOXES);
  HTREEITEM a = Insert(tree, TVI_ROOT, "a", 1);
  HTREEITEM b = Insert(tree, TVI_ROOT, "b", 2);
  auto image = [&](HTREEITEM item) { return State(tree, item, TVIS_STATEIMAGEMASK) >> 12; };
  EXPECT_EQ(image(a), 1u) << "items start unchecked";
  const RECT label = Rect(tree, a);
  TVHITTESTINFO info{};
  info.pt = POINT{label.left - 8, (label.top + label.bottom) / 2};
  SendMessage(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
  ASSERT_EQ(info.flags, static_cast<UINT>(TVHT_ONITEMSTATEICON));
  Click(tree, info.pt);
  EXPECT_EQ(image(a), 2u);
  Click(tree, info.pt);
  EXPECT_EQ(image(a), 1u);
  SetFocus(tree);
  SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b));
  Press(VK_SPACE);
  EXPECT_EQ(image(b), 2u);
  // The program sets the state image itself, as a checking tree does.
  TVITEM item{};
  item.mask = TVIF_STATE | TVIF_HANDLE;
  item.hItem = a;
  item.state = INDEXTOSTATEIMAGEMASK(2) | TVIS_BOLD;
  item.stateMask = TVIS_STATEIMAGEMASK | TVIS_BOLD;
  SendMessage(tree, TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(image(a), 2u);
  EXPECT_EQ(State(tree, a, TVIS_BOLD), static_cast<UINT>(TVIS_BOLD));
}

TEST_F(TreeViewTest, KeysExpandCollapseAndWalkTheTree) {
  HWND tree = MakeTree();
  HTREEITEM a = Insert(tree, TVI_ROOT, "a", 1);
  HTREEITEM b = Insert(tree, a, "b", 2);
  HTREEITEM c = Insert(tree, b, "c", 3);
  Insert(tree, TVI_ROOT, "d", 4);
  SetFocus(tree);
  SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a));
  struct Case {
    UINT key;
    HTREEITEM caret;
    bool aExpanded;
  };
  const Case cases[] = {
      {VK_RIGHT, a, true},     // expands
      {VK_RIGHT, b, true},     // to the first child
      {VK_LEFT, a, true},      // b is collapsed: to the parent
      {VK_LEFT, a, false},     // collapses
      {VK_MULTIPLY, a, true},  // everything below
      {VK_DOWN, b, true},     {VK_DOWN, c, true}, {VK_BACK, b, true},
      {VK_SUBTRACT, b, true}, {VK_HOME, a, true},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    Press(cases[i].key);
    EXPECT_EQ(Caret(tree), cases[i].caret) << "step " << i;
    EXPECT_EQ(State(tree, a, TVIS_EXPANDED) != 0, cases[i].aExpanded) << "step " << i;
  }
  EXPECT_EQ(State(tree, b, TVIS_EXPANDED), 0u);
  Press(VK_END);
  EXPECT_EQ(Data(tree, Caret(tree)), 4);
}

TEST_F(TreeViewTest, EnsureVisibleOpensTheWayAndItemRectsFollow) {
  HWND tree = MakeTree();
  HTREEITEM top = nullptr;
  for (int i = 0; i < 40; ++i) {
    HTREEITEM item = Insert(tree, TVI_ROOT, "item", i);
    if (i == 30) top = item;
  }
  HTREEITEM deep = Insert(tree, top, "deep", 100);
  EXPECT_EQ(Rect(tree, deep).left, -1) << "hidden inside a collapsed item";
  ASSERT_TRUE(SendMessage(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(deep)));
  EXPECT_NE(State(tree, top, TVIS_EXPANDED), 0u);
  const RECT r = Rect(tree, deep, false);
  RECT client;
  GetClientRect(tree, &client);
  EXPECT_GE(r.top, 0);
  EXPECT_LE(r.bottom, client.bottom);
  EXPECT_EQ(Data(tree, Next(tree, nullptr, TVGN_LASTVISIBLE)), 39);
  const RECT full = Rect(tree, deep, false);
  const RECT text = Rect(tree, deep, true);
  EXPECT_EQ(full.left, 0);
  EXPECT_GT(text.left, full.left);
}

TEST_F(TreeViewTest, LabelEditingRenamesWhenTheParentAgrees) {
  HWND tree = MakeTree(kTreeStyle | TVS_EDITLABELS);
  HTREEITEM a = Insert(tree, TVI_ROOT, "old", 1);
  std::string ended;
  host.onNotify = [&](NMHDR* hdr) -> LRESULT {
    if (hdr->code == TVN_ENDLABELEDIT) {
      auto* info = reinterpret_cast<NMTVDISPINFO*>(hdr);
      ended = info->item.pszText ? info->item.pszText : "<cancelled>";
      return TRUE;
    }
    return 0;
  };
  HWND edit = reinterpret_cast<HWND>(SendMessage(tree, TVM_EDITLABEL, 0, reinterpret_cast<LPARAM>(a)));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(host.Count(TVN_BEGINLABELEDIT), 1);
  SetWindowText(edit, "new");
  SendMessage(edit, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(ended, "new");
  EXPECT_EQ(Text(tree, a), "new");
  edit = reinterpret_cast<HWND>(SendMessage(tree, TVM_EDITLABEL, 0, reinterpret_cast<LPARAM>(a)));
  ASSERT_TRUE(SendMessage(tree, TVM_ENDEDITLABELNOW, TRUE, 0));
  EXPECT_EQ(ended, "<cancelled>");
  EXPECT_FALSE(IsWindow(edit));
}

TEST_F(TreeViewTest, CustomDrawReportsEachVisibleItemWithItsLevel) {
  HWND tree = MakeTree();
  HTREEITEM a = Insert(tree, TVI_ROOT, "a", 1);
  Insert(tree, a, "b", 2);
  Insert(tree, TVI_ROOT, "c", 3);
  Expand(tree, a, TVE_EXPAND);
  std::vector<std::tuple<DWORD, LPARAM, int>> stages;
  host.onNotify = [&](NMHDR* hdr) -> LRESULT {
    if (hdr->code != NM_CUSTOMDRAW) return 0;
    auto* cd = reinterpret_cast<NMTVCUSTOMDRAW*>(hdr);
    const bool item = cd->nmcd.dwDrawStage & CDDS_ITEM;
    stages.emplace_back(cd->nmcd.dwDrawStage, item ? cd->nmcd.lItemlParam : -1, item ? cd->iLevel : -1);
    if (item) EXPECT_EQ(Data(tree, reinterpret_cast<HTREEITEM>(cd->nmcd.dwItemSpec)), cd->nmcd.lItemlParam);
    return cd->nmcd.dwDrawStage == CDDS_PREPAINT ? CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT
                                                 : CDRF_DODEFAULT;
  };
  InvalidateRect(tree, nullptr, TRUE);
  UpdateWindow(tree);
  const std::vector<std::tuple<DWORD, LPARAM, int>> expected = {
      {CDDS_PREPAINT, -1, -1},   {CDDS_ITEMPREPAINT, 1, 0}, {CDDS_ITEMPREPAINT, 2, 1},
      {CDDS_ITEMPREPAINT, 3, 0}, {CDDS_POSTPAINT, -1, -1},
  };
  EXPECT_EQ(stages, expected);
}

}  // namespace
