#include <gtest/gtest.h>

#include "controls/AlbumListBox.h"
#include "controls/DragDropHelper.h"
#include "controls/ListCtrls.h"
#include "modules/data/DVDAlbumImage.h"
#include "platform/comctl/AfxImageList.h"
#include "tests/controls/ListHostFixture.h"

namespace {

using pictavo::test::ListHostTest;
using pictavo::test::PumpPending;

const CRect kListRect(10, 10, 270, 330);  // host client coordinates: four cards

class AlbumDragTest : public ListHostTest {
 protected:
  void SetUp() override {
    ListHostTest::SetUp();
    ASSERT_TRUE(
        m_list.Create(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_NOTIFY, kListRect, &m_host, 1200));
    for (CDVDAlbumImage& album : m_albums) {
      const int index = m_list.AddString(reinterpret_cast<LPCTSTR>(&album));
      m_list.SetItemDataPtr(index, &album);
    }
    m_list.SetCurSel(0);
    m_targets.Add(&m_list);
    PumpPending();
  }
  void TearDown() override {
    m_list.DestroyWindow();
    ListHostTest::TearDown();
  }
  BOOL Begin(CDragDropHelper& helper) {
    _tagDragInfo info;
    info.nKind = DRAG_KIND_LIST_BOX;
    info.pSource = &m_list;
    info.bDropOnSource = TRUE;
    return helper.BeginDrag(&info, MAKELONG(40, 40), &m_targets);
  }
  // The host point over card `i`.
  static CPoint OverCard(int i) { return CPoint(kListRect.left + 100, kListRect.top + i * 80 + 40); }
  std::vector<int> Highlighted() const {
    std::vector<int> marked;
    for (int i = 0; i < 3; ++i)
      if (m_albums[i].m_bDropHighlight) marked.push_back(i);
    return marked;
  }

  CDVDAlbumImage m_albums[3];
  CMyListBoxA m_list;
  CPtrArray m_targets;
};

TEST_F(AlbumDragTest, MultipleSelectionListDoesNotStartADrag) {
  CMyListBoxA multi;
  ASSERT_TRUE(multi.Create(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_MULTIPLESEL,
                           CRect(300, 10, 560, 200), &m_host, 1201));
  multi.AddString(reinterpret_cast<LPCTSTR>(&m_albums[0]));
  multi.SetSel(0);
  CListBoxDragHelper helper(&m_host, FALSE);
  _tagDragInfo info;
  info.nKind = DRAG_KIND_LIST_BOX;
  info.pSource = &multi;
  EXPECT_FALSE(helper.BeginDrag(&info, MAKELONG(10, 10), &m_targets));
  EXPECT_FALSE(helper.IsDragging());
  EXPECT_EQ(::GetCapture(), nullptr);
  multi.DestroyWindow();
}

TEST_F(AlbumDragTest, AlbumUnderTheCursorIsHighlightedAndClearedWhenLeaving) {
  CListBoxDragHelper helper(&m_host, FALSE);
  ASSERT_TRUE(Begin(helper));
  EXPECT_TRUE(helper.IsDragging());
  EXPECT_EQ(::GetCapture(), m_host.GetSafeHwnd());

  helper.DragOver(0, OverCard(1));
  EXPECT_EQ(Highlighted(), std::vector<int>{1});
  helper.DragOver(0, OverCard(2));
  EXPECT_EQ(Highlighted(), std::vector<int>{2});
  helper.DragOver(0, CPoint(500, 300));  // off the list
  EXPECT_TRUE(Highlighted().empty());
  helper.DragOver(0, OverCard(2));  // back onto the same album
  EXPECT_EQ(Highlighted(), std::vector<int>{2});
  helper.DragOver(0, OverCard(3));  // the list's empty part
  EXPECT_TRUE(Highlighted().empty());

  HWND source = nullptr, target = nullptr;
  helper.DragOver(0, OverCard(1));
  EXPECT_TRUE(helper.Drop(0, OverCard(1), &source, &target));
  EXPECT_EQ(source, m_list.GetSafeHwnd());
  EXPECT_EQ(target, m_list.GetSafeHwnd());
  EXPECT_TRUE(Highlighted().empty());
  EXPECT_FALSE(helper.IsDragging());
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(helper.GetDragInfo().pSource, &m_list);  // readable after the drop
}

TEST_F(AlbumDragTest, DropOutsideEveryTargetReportsNothingAndLeavesNoHighlight) {
  CListBoxDragHelper helper(&m_host, FALSE);
  ASSERT_TRUE(Begin(helper));
  helper.DragOver(0, OverCard(0));
  HWND source = reinterpret_cast<HWND>(1), target = reinterpret_cast<HWND>(2);
  EXPECT_FALSE(helper.Drop(0, CPoint(600, 400), &source, &target));
  EXPECT_EQ(source, reinterpret_cast<HWND>(1));
  EXPECT_EQ(target, reinterpret_cast<HWND>(2));
  EXPECT_TRUE(Highlighted().empty());
  EXPECT_FALSE(helper.Drop(0, OverCard(0), &source, &target));  // idle: nothing happens
}

TEST_F(AlbumDragTest, CursorShowsWhetherAndHowTheDropLands) {
  const HCURSOR arrow = ::LoadCursor(nullptr, IDC_ARROW);
  const HCURSOR noDrop = ::LoadCursor(nullptr, IDC_NO);
  CListBoxDragHelper plain(&m_host, FALSE);
  ASSERT_TRUE(Begin(plain));
  plain.DragOver(0, OverCard(1));
  EXPECT_EQ(plain.GetLastCursor(), arrow);
  plain.DragOver(MK_CONTROL, OverCard(1));
  const HCURSOR drop = plain.GetLastCursor();  // the program's cursor resource 293
  EXPECT_NE(drop, nullptr);
  EXPECT_NE(drop, arrow);
  EXPECT_NE(drop, noDrop);
  plain.DragOver(MK_CONTROL, CPoint(600, 400));
  EXPECT_EQ(plain.GetLastCursor(), noDrop);
  plain.Drop(0, CPoint(600, 400), nullptr, nullptr);

  CListBoxDragHelper always(&m_host, TRUE);
  ASSERT_TRUE(Begin(always));
  always.DragOver(0, OverCard(1));
  EXPECT_NE(always.GetLastCursor(), arrow);
  EXPECT_NE(always.GetLastCursor(), noDrop);
  always.Drop(0, CPoint(600, 400), nullptr, nullptr);
}

class ListDragTest : public ListHostTest {
 protected:
  void SetUp() override {
    ListHostTest::SetUp();
    ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(10, 10, 310, 200), &m_host, 1022));
    m_list.InsertColumn(0, "Name", LVCFMT_LEFT, 200);
    for (int i = 0; i < 40; ++i) {
      CString text;
      text.Format("row %d", i);
      m_list.InsertItem(i, text);
    }
    m_targets.Add(&m_list);
    PumpPending();
  }
  void TearDown() override {
    m_list.DestroyWindow();
    ListHostTest::TearDown();
  }
  CPoint HostPointOfRow(int row) {
    CRect rect;
    m_list.GetItemRect(row, &rect, LVIR_BOUNDS);
    CPoint p = rect.CenterPoint();
    m_list.ClientToScreen(&p);
    m_host.ScreenToClient(&p);
    return p;
  }
  int DropHighlighted() const { return m_list.GetNextItem(-1, LVNI_DROPHILITED); }

  CBufferedListCtrl m_list;
  CPtrArray m_targets;
};

TEST_F(ListDragTest, DragImageIsMadeOfTheVisibleSelectedRowsOnly) {
  const int perPage = m_list.GetCountPerPage();
  ASSERT_GT(perPage, 3);
  for (int row : {1, 2, perPage + 5}) m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
  CRect first, second;
  m_list.GetItemRect(1, &first, LVIR_BOUNDS);
  m_list.GetItemRect(2, &second, LVIR_BOUNDS);
  POINT origin{};
  std::unique_ptr<CImageList> image(CListCtrlDragHelper::BuildSelectionImage(&m_list, &origin));
  ASSERT_NE(image, nullptr);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(image->GetSafeHandle(), &cx, &cy);
  CRect client;
  m_list.GetClientRect(&client);
  EXPECT_EQ(cx, std::min<int>(first.right, client.right) - std::max<int>(first.left, 0));
  EXPECT_EQ(cy, second.bottom - first.top);
  EXPECT_EQ(origin.y, first.top);
}

TEST_F(ListDragTest, RowUnderTheCursorIsHighlightedButNotTheEmptyPart) {
  m_list.DeleteAllItems();
  for (int i = 0; i < 3; ++i) m_list.InsertItem(i, "row");
  m_list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  CListCtrlDragHelper helper(&m_host, FALSE);
  _tagDragInfo info;
  info.nKind = DRAG_KIND_LIST_CTRL;
  info.pSource = &m_list;
  info.bDropOnSource = TRUE;
  NMLISTVIEW begin{};
  begin.iItem = 0;
  CRect rect;
  m_list.GetItemRect(0, &rect, LVIR_BOUNDS);
  begin.ptAction = rect.CenterPoint();
  ASSERT_TRUE(helper.BeginDrag(&info, reinterpret_cast<LPARAM>(&begin), &m_targets));

  helper.DragOver(0, HostPointOfRow(2));
  EXPECT_EQ(DropHighlighted(), 2);
  helper.DragOver(0, CPoint(100, 180));  // below the rows
  EXPECT_EQ(DropHighlighted(), -1);
  helper.DragOver(0, HostPointOfRow(1));
  EXPECT_EQ(DropHighlighted(), 1);
  HWND source = nullptr, target = nullptr;
  EXPECT_TRUE(helper.Drop(MK_CONTROL, HostPointOfRow(1), &source, &target));
  EXPECT_EQ(target, m_list.GetSafeHwnd());
  EXPECT_EQ(DropHighlighted(), -1);
}

TEST_F(ListDragTest, NoSelectionStartsNoDrag) {
  CListCtrlDragHelper helper(&m_host, FALSE);
  _tagDragInfo info;
  info.nKind = DRAG_KIND_LIST_CTRL;
  info.pSource = &m_list;
  NMLISTVIEW begin{};
  EXPECT_FALSE(helper.BeginDrag(&info, reinterpret_cast<LPARAM>(&begin), &m_targets));
  info.nKind = DRAG_KIND_LIST_BOX;  // the wrong kind for the class
  m_list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_FALSE(helper.BeginDrag(&info, reinterpret_cast<LPARAM>(&begin), &m_targets));
  EXPECT_FALSE(helper.IsDragging());
}

}  // namespace
