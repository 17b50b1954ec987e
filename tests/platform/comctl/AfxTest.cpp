#include <gtest/gtest.h>

#include <vector>

#include "Host.h"
#include "platform/comctl/AfxCmn.h"
#include "platform/mfc/GdiObjects.h"

namespace {

using namespace testing_comctl;

class AfxTest : public ComctlTest {
 protected:
  CWnd* Parent() { return CWnd::FromHandle(host.Hwnd()); }
  Host host;
};

TEST_F(AfxTest, ImageListObjectsOwnTheirListsAndMapHandles) {
  HIMAGELIST handle = nullptr;
  {
    CImageList list;
    ASSERT_TRUE(list.Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1));
    handle = list;
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(32, 16, 1, 32, nullptr));
    EXPECT_EQ(list.Add(&bitmap, RGB(0, 0, 0)), 0);
    EXPECT_EQ(list.GetImageCount(), 2);
    EXPECT_EQ(CImageList::FromHandle(handle), &list);
    EXPECT_EQ(CImageList::FromHandlePermanent(handle), &list);
    CImageList copy;
    ASSERT_TRUE(copy.Create(&list));
    EXPECT_EQ(copy.GetImageCount(), 2);
    EXPECT_NE(copy.m_hImageList, handle);
  }
  EXPECT_EQ(ImageList_GetImageCount(handle), 0) << "destroyed with its object";
  EXPECT_FALSE(ImageList_Destroy(handle));

  HIMAGELIST loose = ImageList_Create(8, 8, ILC_COLOR24, 1, 1);
  CImageList* temporary = CImageList::FromHandle(loose);
  ASSERT_NE(temporary, nullptr);
  EXPECT_EQ(CImageList::FromHandlePermanent(loose), nullptr);
  CImageList::DeleteTempMap();
  EXPECT_TRUE(ImageList_Destroy(loose)) << "a temporary object never owned the list";
  CImageList* nothing = nullptr;
  EXPECT_EQ(nothing->GetSafeHandle(), nullptr);
}

TEST_F(AfxTest, ListCtrlWalksItsSelectionByPosition) {
  CListCtrl list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 200), Parent(), 10));
  EXPECT_EQ(list.InsertColumn(0, "Name", LVCFMT_LEFT, 120), 0);
  EXPECT_EQ(list.InsertColumn(1, "Size", LVCFMT_RIGHT, 60), 1);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(list.InsertItem(i, ("item " + std::to_string(i)).c_str()), i);
    list.SetItemText(i, 1, std::to_string(i * 100).c_str());
    list.SetItemData(i, static_cast<DWORD_PTR>(i * 7));
  }
  EXPECT_EQ(list.GetItemText(3, 1), CString("300"));
  EXPECT_EQ(list.GetItemData(4), 28u);
  list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
  list.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
  std::vector<int> selected;
  for (POSITION pos = list.GetFirstSelectedItemPosition(); pos;)
    selected.push_back(list.GetNextSelectedItem(pos));
  EXPECT_EQ(selected, (std::vector<int>{1, 3}));
  EXPECT_EQ(list.GetSelectedCount(), 2u);
  ASSERT_NE(list.GetHeaderCtrl(), nullptr);
  EXPECT_EQ(list.GetHeaderCtrl()->GetItemCount(), 2);
  list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  EXPECT_EQ(list.GetExtendedStyle(), static_cast<DWORD>(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT));
  list.SetCheck(2);
  EXPECT_TRUE(list.GetCheck(2));
  EXPECT_FALSE(list.GetCheck(1));
  EXPECT_EQ(list.HitTest(CPoint(20, -5)), -1);
  CPoint corner;
  CImageList* image = list.CreateDragImage(0, &corner);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetImageCount(), 1);
  delete image;
}

TEST_F(AfxTest, TreeCtrlBuildsAndWalksItsItems) {
  CTreeCtrl tree;
  ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_CHECKBOXES, CRect(0, 0, 200, 200),
                          Parent(), 11));
  HTREEITEM root = tree.InsertItem("root");
  HTREEITEM first = tree.InsertItem("first", root);
  HTREEITEM second = tree.InsertItem("second", 0, 0, root);
  EXPECT_EQ(tree.GetRootItem(), root);
  EXPECT_EQ(tree.GetChildItem(root), first);
  EXPECT_EQ(tree.GetNextSiblingItem(first), second);
  EXPECT_EQ(tree.GetParentItem(second), root);
  EXPECT_TRUE(tree.ItemHasChildren(root));
  EXPECT_EQ(tree.GetItemText(second), CString("second"));
  tree.SetItemData(first, 99);
  EXPECT_EQ(tree.GetItemData(first), 99u);
  EXPECT_TRUE(tree.Expand(root, TVE_EXPAND));
  EXPECT_TRUE(tree.SelectItem(second));
  EXPECT_EQ(tree.GetSelectedItem(), second);
  tree.SetCheck(first);
  EXPECT_TRUE(tree.GetCheck(first));
  EXPECT_EQ(tree.GetCount(), 3u);
  EXPECT_TRUE(tree.DeleteAllItems());
  EXPECT_EQ(tree.GetCount(), 0u);
}

TEST_F(AfxTest, SmallControlObjectsPassTheirMessagesOn) {
  CSpinButtonCtrl spin;
  ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 16, 22), Parent(), 12));
  spin.SetRange32(-5, 50);
  int lower = 0;
  int upper = 0;
  spin.GetRange32(lower, upper);
  EXPECT_EQ(lower, -5);
  EXPECT_EQ(upper, 50);
  spin.SetPos32(60);
  EXPECT_EQ(spin.GetPos32(), 50);
  spin.SetRange(0, 9);
  spin.GetRange(lower, upper);
  EXPECT_EQ(upper, 9);

  CProgressCtrl progress;
  ASSERT_TRUE(progress.Create(WS_CHILD | WS_VISIBLE, CRect(0, 30, 100, 40), Parent(), 13));
  progress.SetRange32(0, 10);
  progress.SetStep(4);
  progress.StepIt();
  EXPECT_EQ(progress.GetPos(), 4);
  EXPECT_EQ(progress.OffsetPos(3), 4);
  EXPECT_EQ(progress.GetPos(), 7);

  CSliderCtrl slider;
  ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE, CRect(0, 50, 200, 80), Parent(), 14));
  slider.SetRange(10, 20);
  slider.SetPos(25);
  EXPECT_EQ(slider.GetPos(), 20);
  int low = 0;
  int high = 0;
  slider.GetRange(low, high);
  EXPECT_EQ(low, 10);

  CTabCtrl tabs;
  ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE, CRect(0, 90, 300, 200), Parent(), 15));
  EXPECT_EQ(tabs.InsertItem(0, "one"), 0);
  EXPECT_EQ(tabs.InsertItem(1, "two"), 1);
  EXPECT_EQ(tabs.SetCurSel(1), 0);
  EXPECT_EQ(tabs.GetCurSel(), 1);

  CStatusBarCtrl status;
  ASSERT_TRUE(status.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), Parent(), 16));
  int edges[] = {80, -1};
  EXPECT_TRUE(status.SetParts(2, edges));
  status.SetText("Ready", 1, 0);
  EXPECT_EQ(status.GetText(1), CString("Ready"));
  EXPECT_EQ(status.GetParts(0, nullptr), 2);
}

TEST_F(AfxTest, ToolTipCtrlAddsWindowTools) {
  CToolTipCtrl tip;
  ASSERT_TRUE(tip.Create(Parent(), TTS_ALWAYSTIP));
  EXPECT_EQ(::GetParent(tip.m_hWnd), host.Hwnd());
  HWND child = host.Add(WC_STATIC, SS_NOTIFY, RECT{10, 10, 60, 30}, 17, 0, "x");
  CWnd* childWnd = CWnd::FromHandle(child);
  ASSERT_TRUE(tip.AddTool(childWnd, "Child tip"));
  EXPECT_EQ(tip.GetToolCount(), 1);
  CString text;
  tip.GetText(text, childWnd);
  EXPECT_EQ(text, CString("Child tip"));
  tip.UpdateTipText("Changed", childWnd);
  tip.GetText(text, childWnd);
  EXPECT_EQ(text, CString("Changed"));
  EXPECT_EQ(tip.SetMaxTipWidth(200), -1);
  tip.DelTool(childWnd);
  EXPECT_EQ(tip.GetToolCount(), 0);
}

}  // namespace
