// CTreeCtrl over the tree view's messages.
#include "platform/comctl/AfxTreeCtrl.h"

#include "platform/comctl/CommCtrl.h"

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

namespace {

template <class T>
LPARAM AsLParam(T value) {
  return reinterpret_cast<LPARAM>(value);
}

HTREEITEM ItemOf(LRESULT result) {
  return reinterpret_cast<HTREEITEM>(result);
}

}  // namespace

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  InitCommonControls();
  return CWnd::Create(WC_TREEVIEW, nullptr, dwStyle, rect, pParentWnd, nID);
}
BOOL CTreeCtrl::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  InitCommonControls();
  return CWnd::CreateEx(dwExStyle, WC_TREEVIEW, nullptr, dwStyle, rect, pParentWnd, nID);
}

UINT CTreeCtrl::GetCount() const {
  return static_cast<UINT>(SendMessage(TVM_GETCOUNT));
}
UINT CTreeCtrl::GetIndent() const {
  return static_cast<UINT>(SendMessage(TVM_GETINDENT));
}
void CTreeCtrl::SetIndent(UINT nIndent) {
  SendMessage(TVM_SETINDENT, nIndent);
}
CImageList* CTreeCtrl::GetImageList(int nImageList) const {
  return CImageList::FromHandle(
      reinterpret_cast<HIMAGELIST>(SendMessage(TVM_GETIMAGELIST, static_cast<WPARAM>(nImageList))));
}
CImageList* CTreeCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(
      TVM_SETIMAGELIST, static_cast<WPARAM>(nImageListType), AsLParam(pImageList->GetSafeHandle()))));
}
UINT CTreeCtrl::GetVisibleCount() const {
  return static_cast<UINT>(SendMessage(TVM_GETVISIBLECOUNT));
}
COLORREF CTreeCtrl::GetBkColor() const {
  return static_cast<COLORREF>(SendMessage(TVM_GETBKCOLOR));
}
COLORREF CTreeCtrl::SetBkColor(COLORREF clr) {
  return static_cast<COLORREF>(SendMessage(TVM_SETBKCOLOR, 0, static_cast<LPARAM>(clr)));
}
COLORREF CTreeCtrl::GetTextColor() const {
  return static_cast<COLORREF>(SendMessage(TVM_GETTEXTCOLOR));
}
COLORREF CTreeCtrl::SetTextColor(COLORREF clr) {
  return static_cast<COLORREF>(SendMessage(TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(clr)));
}
SHORT CTreeCtrl::GetItemHeight() const {
  return static_cast<SHORT>(SendMessage(TVM_GETITEMHEIGHT));
}
SHORT CTreeCtrl::SetItemHeight(SHORT cyHeight) {
  return static_cast<SHORT>(SendMessage(TVM_SETITEMHEIGHT, static_cast<WPARAM>(static_cast<WORD>(cyHeight))));
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM hItem, UINT nCode) const {
  return ItemOf(SendMessage(TVM_GETNEXTITEM, nCode, AsLParam(hItem)));
}
BOOL CTreeCtrl::ItemHasChildren(HTREEITEM hItem) const {
  TVITEM item{};
  item.mask = TVIF_CHILDREN | TVIF_HANDLE;
  item.hItem = hItem;
  return GetItem(&item) && item.cChildren != 0;
}
HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM hItem) const {
  return GetNextItem(hItem, TVGN_CHILD);
}
HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM hItem) const {
  return GetNextItem(hItem, TVGN_NEXT);
}
HTREEITEM CTreeCtrl::GetPrevSiblingItem(HTREEITEM hItem) const {
  return GetNextItem(hItem, TVGN_PREVIOUS);
}
HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM hItem) const {
  return GetNextItem(hItem, TVGN_PARENT);
}
HTREEITEM CTreeCtrl::GetFirstVisibleItem() const {
  return GetNextItem(nullptr, TVGN_FIRSTVISIBLE);
}
HTREEITEM CTreeCtrl::GetNextVisibleItem(HTREEITEM hItem) const {
  return GetNextItem(hItem, TVGN_NEXTVISIBLE);
}
HTREEITEM CTreeCtrl::GetPrevVisibleItem(HTREEITEM hItem) const {
  return GetNextItem(hItem, TVGN_PREVIOUSVISIBLE);
}
HTREEITEM CTreeCtrl::GetSelectedItem() const {
  return GetNextItem(nullptr, TVGN_CARET);
}
HTREEITEM CTreeCtrl::GetDropHilightItem() const {
  return GetNextItem(nullptr, TVGN_DROPHILITE);
}
HTREEITEM CTreeCtrl::GetRootItem() const {
  return GetNextItem(nullptr, TVGN_ROOT);
}

BOOL CTreeCtrl::GetItem(TVITEM* pItem) const {
  return static_cast<BOOL>(SendMessage(TVM_GETITEM, 0, AsLParam(pItem)));
}
BOOL CTreeCtrl::SetItem(TVITEM* pItem) {
  return static_cast<BOOL>(SendMessage(TVM_SETITEM, 0, AsLParam(pItem)));
}
BOOL CTreeCtrl::SetItem(HTREEITEM hItem, UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage,
                        UINT nState, UINT nStateMask, LPARAM lParam) {
  TVITEM item{};
  item.mask = nMask | TVIF_HANDLE;
  item.hItem = hItem;
  item.pszText = const_cast<LPTSTR>(lpszItem);
  item.iImage = nImage;
  item.iSelectedImage = nSelectedImage;
  item.state = nState;
  item.stateMask = nStateMask;
  item.lParam = lParam;
  return SetItem(&item);
}
CString CTreeCtrl::GetItemText(HTREEITEM hItem) const {
  char buffer[1024] = {};
  TVITEM item{};
  item.mask = TVIF_TEXT | TVIF_HANDLE;
  item.hItem = hItem;
  item.pszText = buffer;
  item.cchTextMax = static_cast<int>(sizeof buffer);
  GetItem(&item);
  return CString(buffer);
}
BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCTSTR lpszItem) {
  return SetItem(hItem, TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0);
}
BOOL CTreeCtrl::GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const {
  TVITEM item{};
  item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
  item.hItem = hItem;
  const BOOL ok = GetItem(&item);
  nImage = item.iImage;
  nSelectedImage = item.iSelectedImage;
  return ok;
}
BOOL CTreeCtrl::SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage) {
  return SetItem(hItem, TVIF_IMAGE | TVIF_SELECTEDIMAGE, nullptr, nImage, nSelectedImage, 0, 0, 0);
}
UINT CTreeCtrl::GetItemState(HTREEITEM hItem, UINT nStateMask) const {
  return static_cast<UINT>(
      SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(hItem), static_cast<LPARAM>(nStateMask)));
}
BOOL CTreeCtrl::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask) {
  return SetItem(hItem, TVIF_STATE, nullptr, 0, 0, nState, nStateMask, 0);
}
DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const {
  TVITEM item{};
  item.mask = TVIF_PARAM | TVIF_HANDLE;
  item.hItem = hItem;
  GetItem(&item);
  return static_cast<DWORD_PTR>(item.lParam);
}
BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData) {
  return SetItem(hItem, TVIF_PARAM, nullptr, 0, 0, 0, 0, static_cast<LPARAM>(dwData));
}
BOOL CTreeCtrl::GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const {
  if (!lpRect) return FALSE;
  *reinterpret_cast<HTREEITEM*>(lpRect) = hItem;
  return static_cast<BOOL>(SendMessage(TVM_GETITEMRECT, static_cast<WPARAM>(bTextOnly), AsLParam(lpRect)));
}
BOOL CTreeCtrl::GetCheck(HTREEITEM hItem) const {
  return (GetItemState(hItem, TVIS_STATEIMAGEMASK) >> 12) == 2;
}
BOOL CTreeCtrl::SetCheck(HTREEITEM hItem, BOOL fCheck) {
  return SetItemState(hItem, INDEXTOSTATEIMAGEMASK(fCheck ? 2 : 1), TVIS_STATEIMAGEMASK);
}
HTREEITEM CTreeCtrl::InsertItem(LPTVINSERTSTRUCT lpInsertStruct) {
  return ItemOf(SendMessage(TVM_INSERTITEM, 0, AsLParam(lpInsertStruct)));
}
HTREEITEM CTreeCtrl::InsertItem(UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                                UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter) {
  TVINSERTSTRUCT insert{};
  insert.hParent = hParent;
  insert.hInsertAfter = hInsertAfter;
  insert.item.mask = nMask;
  insert.item.pszText = const_cast<LPTSTR>(lpszItem);
  insert.item.iImage = nImage;
  insert.item.iSelectedImage = nSelectedImage;
  insert.item.state = nState;
  insert.item.stateMask = nStateMask;
  insert.item.lParam = lParam;
  return InsertItem(&insert);
}
HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter) {
  return InsertItem(TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0, hParent, hInsertAfter);
}
HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent,
                                HTREEITEM hInsertAfter) {
  return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, lpszItem, nImage, nSelectedImage, 0, 0, 0,
                    hParent, hInsertAfter);
}
BOOL CTreeCtrl::DeleteItem(HTREEITEM hItem) {
  return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, AsLParam(hItem)));
}
BOOL CTreeCtrl::DeleteAllItems() {
  return DeleteItem(TVI_ROOT);
}

BOOL CTreeCtrl::Expand(HTREEITEM hItem, UINT nCode) {
  return static_cast<BOOL>(SendMessage(TVM_EXPAND, nCode, AsLParam(hItem)));
}
BOOL CTreeCtrl::Select(HTREEITEM hItem, UINT nCode) {
  return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, nCode, AsLParam(hItem)));
}
BOOL CTreeCtrl::SelectItem(HTREEITEM hItem) {
  return Select(hItem, TVGN_CARET);
}
BOOL CTreeCtrl::SelectDropTarget(HTREEITEM hItem) {
  return Select(hItem, TVGN_DROPHILITE);
}
BOOL CTreeCtrl::SelectSetFirstVisible(HTREEITEM hItem) {
  return Select(hItem, TVGN_FIRSTVISIBLE);
}
BOOL CTreeCtrl::EnsureVisible(HTREEITEM hItem) {
  return static_cast<BOOL>(SendMessage(TVM_ENSUREVISIBLE, 0, AsLParam(hItem)));
}
BOOL CTreeCtrl::SortChildren(HTREEITEM hItem) {
  return static_cast<BOOL>(SendMessage(TVM_SORTCHILDREN, 0, AsLParam(hItem)));
}
BOOL CTreeCtrl::SortChildrenCB(LPTVSORTCB pSort) {
  return static_cast<BOOL>(SendMessage(TVM_SORTCHILDRENCB, 0, AsLParam(pSort)));
}
CEdit* CTreeCtrl::EditLabel(HTREEITEM hItem) {
  return static_cast<CEdit*>(
      CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(TVM_EDITLABEL, 0, AsLParam(hItem)))));
}
CEdit* CTreeCtrl::GetEditControl() const {
  return static_cast<CEdit*>(CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(TVM_GETEDITCONTROL))));
}
HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const {
  TVHITTESTINFO info{};
  info.pt = pt;
  HTREEITEM item = HitTest(&info);
  if (pFlags) *pFlags = info.flags;
  return item;
}
HTREEITEM CTreeCtrl::HitTest(TVHITTESTINFO* pHitTestInfo) const {
  return ItemOf(SendMessage(TVM_HITTEST, 0, AsLParam(pHitTestInfo)));
}
CImageList* CTreeCtrl::CreateDragImage(HTREEITEM hItem) {
  HIMAGELIST handle = reinterpret_cast<HIMAGELIST>(SendMessage(TVM_CREATEDRAGIMAGE, 0, AsLParam(hItem)));
  if (!handle) return nullptr;
  auto* list = new CImageList;
  list->Attach(handle);
  return list;
}
