#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "Host.h"
#include "platform/base/Geometry.h"
#include "platform/comctl/SystemImageList.h"
#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/gdi/Gdi.h"
#include "platform/res/Templates.h"
#include "platform/user/Dialog.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"

namespace {

using namespace testing_comctl;

using pictavo::test::Picture;
using pictavo::test::ReadPng;

pictavo::res::DialogControl Control(const char* className, DWORD id, DWORD style, short x, short y, short cx,
                                    short cy) {
  pictavo::res::DialogControl c;
  c.className = className;
  c.id = id;
  c.style = WS_CHILD | WS_VISIBLE | style;
  c.x = x;
  c.y = y;
  c.cx = cx;
  c.cy = cy;
  return c;
}

INT_PTR CALLBACK DialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

// The part of the snapshot a child window covers.
RECT Within(HWND dialog, HWND child) {
  RECT outer;
  RECT inner;
  GetWindowRect(dialog, &outer);
  GetClientRect(child, &inner);
  MapWindowPoints(child, nullptr, reinterpret_cast<POINT*>(&inner), 2);
  OffsetRect(&inner, -outer.left, -outer.top);
  return inner;
}

int CountWhere(const Picture& p, const RECT& r, const std::function<bool(COLORREF)>& test) {
  int n = 0;
  for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, p.height); ++y)
    for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, p.width); ++x) n += test(p.At(x, y));
  return n;
}

bool Dark(COLORREF c) {
  return GetRValue(c) + GetGValue(c) + GetBValue(c) < 200;
}

class SnapshotTest : public ComctlTest {};

TEST_F(SnapshotTest, DialogWithAListTreeAndTabs) {
  pictavo::res::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT;
  t.x = 20;
  t.y = 20;
  t.cx = 330;
  t.cy = 200;
  t.caption = "Photos and folders";
  t.fontFace = "MS Shell Dlg";
  t.pointSize = 8;
  t.controls.push_back(
      Control(WC_LISTVIEW, 100, LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER, 12, 24, 190, 164));
  t.controls.push_back(Control(
      WC_TREEVIEW, 101, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_BORDER, 208,
      24, 110, 164));
  t.controls.push_back(Control(WC_TABCONTROL, 102, WS_CLIPSIBLINGS, 6, 6, 318, 188));
  HWND dialog = CreateDialogIndirectParam(nullptr, &t, nullptr, DialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, 100);
  HWND tree = GetDlgItem(dialog, 101);
  HWND tabs = GetDlgItem(dialog, 102);
  ASSERT_TRUE(list && tree && tabs);

  for (const char* text : {"Photos", "Folders", "Music"}) {
    TCITEM item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPSTR>(text);
    SendMessage(tabs, TCM_INSERTITEM, SendMessage(tabs, TCM_GETITEMCOUNT, 0, 0),
                reinterpret_cast<LPARAM>(&item));
  }
  using pictavo::comctl::SystemIcon;
  using pictavo::comctl::SystemIconIndex;
  HIMAGELIST small = pictavo::comctl::SystemImageList(true);
  SendMessage(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
  SendMessage(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  const char* columns[] = {"Name", "Size", "Type"};
  const int widths[] = {130, 70, 80};
  for (int i = 0; i < 3; ++i) {
    LVCOLUMN column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = i == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT;
    column.pszText = const_cast<LPSTR>(columns[i]);
    column.cx = widths[i];
    SendMessage(list, LVM_INSERTCOLUMN, i, reinterpret_cast<LPARAM>(&column));
  }
  for (int i = 0; i < 30; ++i) {
    const std::string name = "IMG_" + std::to_string(1000 + i) + ".JPG";
    LVITEM item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = i;
    item.pszText = const_cast<LPSTR>(name.c_str());
    item.iImage = SystemIconIndex(i % 5 == 4 ? SystemIcon::kVideoFile : SystemIcon::kImageFile);
    SendMessage(list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
    const std::string size = std::to_string(120 + i * 37) + " KB";
    item.mask = LVIF_TEXT;
    item.iSubItem = 1;
    item.pszText = const_cast<LPSTR>(size.c_str());
    SendMessage(list, LVM_SETITEMTEXT, i, reinterpret_cast<LPARAM>(&item));
    item.iSubItem = 2;
    item.pszText = const_cast<LPSTR>(i % 5 == 4 ? "Video clip" : "JPEG image");
    SendMessage(list, LVM_SETITEMTEXT, i, reinterpret_cast<LPARAM>(&item));
  }
  LVITEM select{};
  select.stateMask = select.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessage(list, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&select));

  SendMessage(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(small));
  auto add = [&](HTREEITEM parent, const char* text, SystemIcon icon) {
    TVINSERTSTRUCT insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<LPSTR>(text);
    insert.item.iImage = SystemIconIndex(icon);
    insert.item.iSelectedImage =
        SystemIconIndex(icon == SystemIcon::kFolder ? SystemIcon::kOpenFolder : icon);
    return reinterpret_cast<HTREEITEM>(
        SendMessage(tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&insert)));
  };
  HTREEITEM disk = add(TVI_ROOT, "Disk", SystemIcon::kDrive);
  HTREEITEM pictures = add(disk, "Pictures", SystemIcon::kFolder);
  add(pictures, "Holiday", SystemIcon::kFolder);
  HTREEITEM birthday = add(pictures, "Birthday", SystemIcon::kFolder);
  add(disk, "Music", SystemIcon::kFolder);
  add(TVI_ROOT, "Network", SystemIcon::kFolder);
  SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(birthday));

  ShowWindow(dialog, SW_SHOW);
  SetFocus(list);
  UpdateWindow(dialog);
  PumpPending();

  // Kept with the other snapshots for a person to look at, wherever the test is run from.
  const std::string path = pictavo::test::SnapshotPath("comctl-snapshot.png");
  ASSERT_TRUE(pictavo::display::Headless()->SaveSnapshot(path, dialog));
  Picture picture;
  ASSERT_TRUE(ReadPng(path, &picture));
  RECT window;
  GetWindowRect(dialog, &window);
  EXPECT_EQ(picture.width, window.right - window.left);
  EXPECT_EQ(picture.height, window.bottom - window.top);

  std::set<COLORREF> colours;
  for (int y = 0; y < picture.height; y += 3)
    for (int x = 0; x < picture.width; x += 3) colours.insert(picture.At(x, y));
  EXPECT_GT(colours.size(), 20u) << "not blank";

  // The header: a band of button face across the top of the list with the column titles and a
  // divider where the first column ends.
  HWND header = reinterpret_cast<HWND>(SendMessage(list, LVM_GETHEADER, 0, 0));
  const RECT head = Within(dialog, header);
  ASSERT_GT(head.bottom - head.top, 10);
  EXPECT_GT(CountWhere(picture, head, [](COLORREF c) { return c == GetSysColor(COLOR_BTNFACE); }),
            (head.right - head.left) * (head.bottom - head.top) / 2);
  EXPECT_GT(CountWhere(picture, head, Dark), 20) << "column titles";
  const int divider = head.left + widths[0] - 1;
  EXPECT_EQ(picture.At(divider, (head.top + head.bottom) / 2), GetSysColor(COLOR_3DSHADOW));

  // The rows: text in every visible row, the selected one highlighted.
  const RECT rows = Within(dialog, list);
  RECT row0{LVIR_BOUNDS};
  SendMessage(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row0));
  const int rowHeight = row0.bottom - row0.top;
  for (int i = 0; i < 4; ++i) {
    RECT r{rows.left, rows.top + row0.top + i * rowHeight, rows.right,
           rows.top + row0.top + (i + 1) * rowHeight};
    if (i == 2) {
      EXPECT_GT(CountWhere(picture, r, [](COLORREF c) { return c == GetSysColor(COLOR_HIGHLIGHT); }), 100);
    } else {
      EXPECT_GT(CountWhere(picture, r, Dark), 20) << "row " << i;
    }
  }

  // The tree: labels, and the selection (grey: the list has the focus).
  const RECT treeArea = Within(dialog, tree);
  EXPECT_GT(CountWhere(picture, treeArea, Dark), 60);
  EXPECT_GT(CountWhere(picture, treeArea, [](COLORREF c) { return c == GetSysColor(COLOR_BTNFACE); }), 40);

  // The tabs: titles along the top edge of the tab control.
  RECT tab;
  SendMessage(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
  const RECT tabArea = Within(dialog, tabs);
  OffsetRect(&tab, tabArea.left, tabArea.top);
  EXPECT_GT(CountWhere(picture, tab, Dark), 15) << "a tab title";
  DestroyWindow(dialog);
}

}  // namespace
