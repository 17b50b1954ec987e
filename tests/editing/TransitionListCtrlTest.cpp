// The album options page's transition list (control 1022) gives slides their transitions: a row
// dropped on a photo or transition item of the timeline gives that slide the row's transition,
// anywhere else nothing; a double click gives it to the selected item's slide and moves on to the
// next slide.
#include "albums/AlbumEditorDlg.h"
#include "tests/editing/TimelineFixture.h"

using namespace timelinetest;

namespace {

class TransitionListCtrlTest : public TimelineTest {
 protected:
  CTransitionListCtrl& List() { return m_page.GetTransitionListCtrl(); }
  int RowData(int row) { return static_cast<int>(List().GetItemData(row)); }
  // Drags `row` from the list and lets go at a screen point.
  void DragTo(int row, POINT screen) {
    CRect rowRect;
    List().GetItemRect(row, &rowRect, LVIR_BOUNDS);
    NMLISTVIEW notify{};
    notify.hdr.hwndFrom = List().m_hWnd;
    notify.hdr.code = LVN_BEGINDRAG;
    notify.iItem = row;
    notify.ptAction = rowRect.CenterPoint();
    List().BeginDrag(&notify);
    CPoint at = screen;
    List().ScreenToClient(&at);
    List().SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    List().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    EXPECT_FALSE(List().IsDragging());
  }
};

}  // namespace

TEST_F(TransitionListCtrlTest, ADroppedRowGoesToThePhotoOrTransitionUnderIt) {
  SetTitles(4, 4);
  CDVDImage* first = AddSlide();
  CDVDImage* second = AddSlide();
  Rebuild();
  ASSERT_EQ(Kinds(Photos()), "TtptpC");
  ASSERT_GT(List().GetItemCount(), 4);
  struct Case {
    const char* what;
    int item;  // index in the photo track, -1: a point of the page outside the timeline
    int row;
    CDVDImage* changed;
  };
  const Case cases[] = {
      {"photo", 2, 3, first},    {"transition", 3, 4, second}, {"title", 0, 2, nullptr},
      {"credit", 5, 2, nullptr}, {"outside", -1, 2, nullptr},
  };
  for (const Case& c : cases) {
    const CString before1 = first->Get_strTransName(), before2 = second->Get_strTransName();
    POINT screen{};
    if (c.item >= 0) {
      screen = ScreenPointOf(Photos().GetItem(c.item));
    } else {
      CRect list;
      List().GetWindowRect(&list);
      screen = {list.left + 5, list.top + 5};
    }
    DragTo(c.row, screen);
    PumpPendingAndPaint();
    if (c.changed != nullptr) EXPECT_EQ(c.changed->Get_nTransID(), RowData(c.row)) << c.what;
    EXPECT_EQ(first->Get_strTransName() == before1, c.changed != first) << c.what;
    EXPECT_EQ(second->Get_strTransName() == before2, c.changed != second) << c.what;
  }
}

TEST_F(TransitionListCtrlTest, ADoubleClickGivesTheSelectedSlideItsTransitionAndMovesOn) {
  CDVDImage* first = AddSlide();
  CDVDImage* second = AddSlide();
  first->Set_strTransName("");
  Rebuild();
  CRect row;
  List().GetItemRect(3, &row, LVIR_BOUNDS);
  const CPoint at = row.CenterPoint();
  // Nothing selected on the timeline: nothing changes.
  List().SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  EXPECT_EQ(first->Get_strTransName(), "");
  // The first photo selected: it gets the row's transition, and the second slide is the user's.
  const RECT& photo = Photos().GetItem(1)->m_rcLayout;  // "tp": the first photo, clicked on its picture
  const LPARAM body = MAKELPARAM(photo.left + 50 - m_timeline.GetScrollPosition(), 40);
  m_timeline.SendMessage(WM_MOUSEMOVE, 0, body);
  m_timeline.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, body);
  m_timeline.SendMessage(WM_LBUTTONUP, 0, body);
  ASSERT_EQ(m_album->m_pCurImage, first);
  List().SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  PumpPendingAndPaint();
  EXPECT_EQ(first->Get_nTransID(), RowData(3));
  EXPECT_EQ(m_album->m_pCurImage, second);
  EXPECT_TRUE(m_album->Get_bFirstTransActive());
}
