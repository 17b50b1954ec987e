// The class library's object of the tree view control: thin members over its messages.
#pragma once

#include "platform/base/CString.h"
#include "platform/comctl/AfxImageList.h"
#include "platform/comctl/TreeView.h"
#include "platform/mfc/StdControls.h"
#include "platform/mfc/Wnd.h"

class CTreeCtrl : public CWnd {
  DECLARE_DYNAMIC(CTreeCtrl)

 public:
  CTreeCtrl() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  virtual BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  UINT GetCount() const;
  UINT GetIndent() const;
  void SetIndent(UINT nIndent);
  CImageList* GetImageList(int nImageList) const;
  CImageList* SetImageList(CImageList* pImageList, int nImageListType);
  UINT GetVisibleCount() const;
  COLORREF GetBkColor() const;
  COLORREF SetBkColor(COLORREF clr);
  COLORREF GetTextColor() const;
  COLORREF SetTextColor(COLORREF clr);
  SHORT GetItemHeight() const;
  SHORT SetItemHeight(SHORT cyHeight);

  // Walking the tree.
  HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const;
  BOOL ItemHasChildren(HTREEITEM hItem) const;
  HTREEITEM GetChildItem(HTREEITEM hItem) const;
  HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const;
  HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) const;
  HTREEITEM GetParentItem(HTREEITEM hItem) const;
  HTREEITEM GetFirstVisibleItem() const;
  HTREEITEM GetNextVisibleItem(HTREEITEM hItem) const;
  HTREEITEM GetPrevVisibleItem(HTREEITEM hItem) const;
  HTREEITEM GetSelectedItem() const;
  HTREEITEM GetDropHilightItem() const;
  HTREEITEM GetRootItem() const;

  // Items.
  BOOL GetItem(TVITEM* pItem) const;
  BOOL SetItem(TVITEM* pItem);
  BOOL SetItem(HTREEITEM hItem, UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
               UINT nStateMask, LPARAM lParam);
  CString GetItemText(HTREEITEM hItem) const;
  BOOL SetItemText(HTREEITEM hItem, LPCTSTR lpszItem);
  BOOL GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const;
  BOOL SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage);
  UINT GetItemState(HTREEITEM hItem, UINT nStateMask) const;
  BOOL SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask);
  DWORD_PTR GetItemData(HTREEITEM hItem) const;
  BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData);
  BOOL GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const;
  BOOL GetCheck(HTREEITEM hItem) const;
  BOOL SetCheck(HTREEITEM hItem, BOOL fCheck = TRUE);
  HTREEITEM InsertItem(LPTVINSERTSTRUCT lpInsertStruct);
  HTREEITEM InsertItem(UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                       UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter);
  HTREEITEM InsertItem(LPCTSTR lpszItem, HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST);
  HTREEITEM InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent = TVI_ROOT,
                       HTREEITEM hInsertAfter = TVI_LAST);
  BOOL DeleteItem(HTREEITEM hItem);
  BOOL DeleteAllItems();

  // Actions.
  BOOL Expand(HTREEITEM hItem, UINT nCode);
  BOOL Select(HTREEITEM hItem, UINT nCode);
  BOOL SelectItem(HTREEITEM hItem);
  BOOL SelectDropTarget(HTREEITEM hItem);
  BOOL SelectSetFirstVisible(HTREEITEM hItem);
  BOOL EnsureVisible(HTREEITEM hItem);
  BOOL SortChildren(HTREEITEM hItem);
  BOOL SortChildrenCB(LPTVSORTCB pSort);
  CEdit* EditLabel(HTREEITEM hItem);
  CEdit* GetEditControl() const;
  HTREEITEM HitTest(CPoint pt, UINT* pFlags = nullptr) const;
  HTREEITEM HitTest(TVHITTESTINFO* pHitTestInfo) const;
  // A new image list of the item, owned by the caller.
  CImageList* CreateDragImage(HTREEITEM hItem);
};
