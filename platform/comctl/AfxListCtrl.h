// The class library's objects of the list view and header controls: thin members over their
// messages.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/CollectionSupport.h"
#include "platform/comctl/AfxImageList.h"
#include "platform/comctl/Header.h"
#include "platform/comctl/ListView.h"
#include "platform/mfc/StdControls.h"
#include "platform/mfc/Wnd.h"

class CHeaderCtrl : public CWnd {
  DECLARE_DYNAMIC(CHeaderCtrl)

 public:
  CHeaderCtrl() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int GetItemCount() const;
  BOOL GetItem(int nPos, HDITEM* pHeaderItem) const;
  BOOL SetItem(int nPos, HDITEM* pHeaderItem);
  int InsertItem(int nPos, HDITEM* phdi);
  BOOL DeleteItem(int nPos);
  BOOL GetItemRect(int nIndex, LPRECT lpRect) const;
  BOOL Layout(HDLAYOUT* pHeaderLayout);
  int HitTest(LPHDHITTESTINFO pHeaderHitTestInfo);
  CImageList* GetImageList() const;
  CImageList* SetImageList(CImageList* pImageList);
  int OrderToIndex(int nOrder) const;
  BOOL GetOrderArray(LPINT piArray, int iCount = -1);
  BOOL SetOrderArray(int iCount, LPINT piArray);

  // HDF_OWNERDRAW items, reflected from the parent's WM_DRAWITEM.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CListCtrl : public CWnd {
  DECLARE_DYNAMIC(CListCtrl)

 public:
  CListCtrl() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  virtual BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // Looks.
  COLORREF GetBkColor() const;
  BOOL SetBkColor(COLORREF cr);
  COLORREF GetTextColor() const;
  BOOL SetTextColor(COLORREF cr);
  COLORREF GetTextBkColor() const;
  BOOL SetTextBkColor(COLORREF cr);
  CImageList* GetImageList(int nImageList) const;
  CImageList* SetImageList(CImageList* pImageList, int nImageListType);
  DWORD GetExtendedStyle() const;
  DWORD SetExtendedStyle(DWORD dwNewStyle);
  CSize SetIconSpacing(int cx, int cy);
  CSize SetIconSpacing(CSize size);
  BOOL GetItemSpacing(BOOL fSmall, int* pnHorzSpacing, int* pnVertSpacing) const;
  int GetStringWidth(LPCTSTR lpsz) const;
  UINT GetCallbackMask() const;
  BOOL SetCallbackMask(UINT nMask);

  // Items.
  int GetItemCount() const;
  BOOL GetItem(LVITEM* pItem) const;
  BOOL SetItem(const LVITEM* pItem);
  BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState,
               UINT nStateMask, LPARAM lParam);
  int InsertItem(const LVITEM* pItem);
  int InsertItem(int nItem, LPCTSTR lpszItem);
  int InsertItem(int nItem, LPCTSTR lpszItem, int nImage);
  int InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage,
                 LPARAM lParam);
  BOOL DeleteItem(int nItem);
  BOOL DeleteAllItems();
  CString GetItemText(int nItem, int nSubItem) const;
  int GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const;
  BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);
  DWORD_PTR GetItemData(int nItem) const;
  BOOL SetItemData(int nItem, DWORD_PTR dwData);
  UINT GetItemState(int nItem, UINT nMask) const;
  BOOL SetItemState(int nItem, LVITEM* pItem);
  BOOL SetItemState(int nItem, UINT nState, UINT nMask);
  BOOL GetCheck(int nItem) const;
  BOOL SetCheck(int nItem, BOOL fCheck = TRUE);
  int GetNextItem(int nItem, int nFlags) const;
  UINT GetSelectedCount() const;
  // Walks the selected items: the position holds the index after the one it gives.
  POSITION GetFirstSelectedItemPosition() const;
  int GetNextSelectedItem(POSITION& pos) const;
  int GetSelectionMark() const;
  int SetSelectionMark(int iIndex);
  int FindItem(LVFINDINFO* pFindInfo, int nStart = -1) const;
  BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData);
  BOOL Update(int nItem);
  BOOL RedrawItems(int nFirst, int nLast);
  BOOL Arrange(UINT nCode);
  CEdit* EditLabel(int nItem);
  CEdit* GetEditControl() const;
  // A new image list of the item, owned by the caller.
  CImageList* CreateDragImage(int nItem, LPPOINT lpPoint);

  // Geometry.
  BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
  BOOL GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const;
  BOOL GetItemPosition(int nItem, LPPOINT lpPoint) const;
  BOOL GetViewRect(LPRECT lpRect) const;
  BOOL GetOrigin(LPPOINT lpPoint) const;
  int HitTest(LVHITTESTINFO* pHitTestInfo) const;
  int HitTest(CPoint pt, UINT* pFlags = nullptr) const;
  int SubItemHitTest(LPLVHITTESTINFO pInfo);
  BOOL EnsureVisible(int nItem, BOOL bPartialOK);
  BOOL Scroll(CSize size);
  int GetTopIndex() const;
  int GetCountPerPage() const;

  // Columns.
  int InsertColumn(int nCol, const LVCOLUMN* pColumn);
  int InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                   int nSubItem = -1);
  BOOL DeleteColumn(int nCol);
  BOOL GetColumn(int nCol, LVCOLUMN* pColumn) const;
  BOOL SetColumn(int nCol, const LVCOLUMN* pColumn);
  int GetColumnWidth(int nCol) const;
  BOOL SetColumnWidth(int nCol, int cx);
  BOOL GetColumnOrderArray(LPINT piArray, int iCount = -1);
  BOOL SetColumnOrderArray(int iCount, LPINT piArray);
  CHeaderCtrl* GetHeaderCtrl();
};
