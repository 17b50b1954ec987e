// CListCtrl and CHeaderCtrl over their controls' messages.
#include "platform/comctl/AfxListCtrl.h"

#include "platform/comctl/CommCtrl.h"

IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

namespace {

template <class T>
LPARAM AsLParam(T value) {
  return reinterpret_cast<LPARAM>(value);
}

CImageList* ImageListOf(LRESULT handle) {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(handle));
}

}  // namespace

// CHeaderCtrl.
BOOL CHeaderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  InitCommonControls();
  return CWnd::Create(WC_HEADER, nullptr, dwStyle, rect, pParentWnd, nID);
}
int CHeaderCtrl::GetItemCount() const {
  return static_cast<int>(SendMessage(HDM_GETITEMCOUNT));
}
BOOL CHeaderCtrl::GetItem(int nPos, HDITEM* pHeaderItem) const {
  return static_cast<BOOL>(SendMessage(HDM_GETITEM, static_cast<WPARAM>(nPos), AsLParam(pHeaderItem)));
}
BOOL CHeaderCtrl::SetItem(int nPos, HDITEM* pHeaderItem) {
  return static_cast<BOOL>(SendMessage(HDM_SETITEM, static_cast<WPARAM>(nPos), AsLParam(pHeaderItem)));
}
int CHeaderCtrl::InsertItem(int nPos, HDITEM* phdi) {
  return static_cast<int>(SendMessage(HDM_INSERTITEM, static_cast<WPARAM>(nPos), AsLParam(phdi)));
}
BOOL CHeaderCtrl::DeleteItem(int nPos) {
  return static_cast<BOOL>(SendMessage(HDM_DELETEITEM, static_cast<WPARAM>(nPos)));
}
BOOL CHeaderCtrl::GetItemRect(int nIndex, LPRECT lpRect) const {
  return static_cast<BOOL>(SendMessage(HDM_GETITEMRECT, static_cast<WPARAM>(nIndex), AsLParam(lpRect)));
}
BOOL CHeaderCtrl::Layout(HDLAYOUT* pHeaderLayout) {
  return static_cast<BOOL>(SendMessage(HDM_LAYOUT, 0, AsLParam(pHeaderLayout)));
}
int CHeaderCtrl::HitTest(LPHDHITTESTINFO pHeaderHitTestInfo) {
  return static_cast<int>(SendMessage(HDM_HITTEST, 0, AsLParam(pHeaderHitTestInfo)));
}
CImageList* CHeaderCtrl::GetImageList() const {
  return ImageListOf(SendMessage(HDM_GETIMAGELIST));
}
CImageList* CHeaderCtrl::SetImageList(CImageList* pImageList) {
  return ImageListOf(SendMessage(HDM_SETIMAGELIST, 0, AsLParam(pImageList->GetSafeHandle())));
}
int CHeaderCtrl::OrderToIndex(int nOrder) const {
  return static_cast<int>(SendMessage(HDM_ORDERTOINDEX, static_cast<WPARAM>(nOrder)));
}
BOOL CHeaderCtrl::GetOrderArray(LPINT piArray, int iCount) {
  if (iCount < 0) iCount = GetItemCount();
  return static_cast<BOOL>(SendMessage(HDM_GETORDERARRAY, static_cast<WPARAM>(iCount), AsLParam(piArray)));
}
BOOL CHeaderCtrl::SetOrderArray(int iCount, LPINT piArray) {
  return static_cast<BOOL>(SendMessage(HDM_SETORDERARRAY, static_cast<WPARAM>(iCount), AsLParam(piArray)));
}
void CHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT) {}
BOOL CHeaderCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, pResult);
  DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  return TRUE;
}

// CListCtrl.
BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  InitCommonControls();
  return CWnd::Create(WC_LISTVIEW, nullptr, dwStyle, rect, pParentWnd, nID);
}
BOOL CListCtrl::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  InitCommonControls();
  return CWnd::CreateEx(dwExStyle, WC_LISTVIEW, nullptr, dwStyle, rect, pParentWnd, nID);
}

COLORREF CListCtrl::GetBkColor() const {
  return static_cast<COLORREF>(SendMessage(LVM_GETBKCOLOR));
}
BOOL CListCtrl::SetBkColor(COLORREF cr) {
  return static_cast<BOOL>(SendMessage(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(cr)));
}
COLORREF CListCtrl::GetTextColor() const {
  return static_cast<COLORREF>(SendMessage(LVM_GETTEXTCOLOR));
}
BOOL CListCtrl::SetTextColor(COLORREF cr) {
  return static_cast<BOOL>(SendMessage(LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(cr)));
}
COLORREF CListCtrl::GetTextBkColor() const {
  return static_cast<COLORREF>(SendMessage(LVM_GETTEXTBKCOLOR));
}
BOOL CListCtrl::SetTextBkColor(COLORREF cr) {
  return static_cast<BOOL>(SendMessage(LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(cr)));
}
CImageList* CListCtrl::GetImageList(int nImageList) const {
  return ImageListOf(SendMessage(LVM_GETIMAGELIST, static_cast<WPARAM>(nImageList)));
}
CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
  return ImageListOf(SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(nImageListType),
                                 AsLParam(pImageList->GetSafeHandle())));
}
DWORD CListCtrl::GetExtendedStyle() const {
  return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE));
}
DWORD CListCtrl::SetExtendedStyle(DWORD dwNewStyle) {
  return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(dwNewStyle)));
}
CSize CListCtrl::SetIconSpacing(int cx, int cy) {
  const LRESULT old = SendMessage(LVM_SETICONSPACING, 0, MAKELPARAM(cx, cy));
  return CSize(LOWORD(old), HIWORD(old));
}
CSize CListCtrl::SetIconSpacing(CSize size) {
  return SetIconSpacing(size.cx, size.cy);
}
BOOL CListCtrl::GetItemSpacing(BOOL fSmall, int* pnHorzSpacing, int* pnVertSpacing) const {
  const LRESULT spacing = SendMessage(LVM_GETITEMSPACING, static_cast<WPARAM>(fSmall));
  if (pnHorzSpacing) *pnHorzSpacing = LOWORD(spacing);
  if (pnVertSpacing) *pnVertSpacing = HIWORD(spacing);
  return TRUE;
}
int CListCtrl::GetStringWidth(LPCTSTR lpsz) const {
  return static_cast<int>(SendMessage(LVM_GETSTRINGWIDTH, 0, AsLParam(lpsz)));
}
UINT CListCtrl::GetCallbackMask() const {
  return static_cast<UINT>(SendMessage(LVM_GETCALLBACKMASK));
}
BOOL CListCtrl::SetCallbackMask(UINT nMask) {
  return static_cast<BOOL>(SendMessage(LVM_SETCALLBACKMASK, nMask));
}

int CListCtrl::GetItemCount() const {
  return static_cast<int>(SendMessage(LVM_GETITEMCOUNT));
}
BOOL CListCtrl::GetItem(LVITEM* pItem) const {
  return static_cast<BOOL>(SendMessage(LVM_GETITEM, 0, AsLParam(pItem)));
}
BOOL CListCtrl::SetItem(const LVITEM* pItem) {
  return static_cast<BOOL>(SendMessage(LVM_SETITEM, 0, AsLParam(pItem)));
}
BOOL CListCtrl::SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState,
                        UINT nStateMask, LPARAM lParam) {
  LVITEM item{};
  item.mask = nMask;
  item.iItem = nItem;
  item.iSubItem = nSubItem;
  item.pszText = const_cast<LPTSTR>(lpszItem);
  item.iImage = nImage;
  item.state = nState;
  item.stateMask = nStateMask;
  item.lParam = lParam;
  return SetItem(&item);
}
int CListCtrl::InsertItem(const LVITEM* pItem) {
  return static_cast<int>(SendMessage(LVM_INSERTITEM, 0, AsLParam(pItem)));
}
int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem) {
  return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0);
}
int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem, int nImage) {
  return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, lpszItem, 0, 0, nImage, 0);
}
int CListCtrl::InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage,
                          LPARAM lParam) {
  LVITEM item{};
  item.mask = nMask;
  item.iItem = nItem;
  item.pszText = const_cast<LPTSTR>(lpszItem);
  item.state = nState;
  item.stateMask = nStateMask;
  item.iImage = nImage;
  item.lParam = lParam;
  return InsertItem(&item);
}
BOOL CListCtrl::DeleteItem(int nItem) {
  return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(nItem)));
}
BOOL CListCtrl::DeleteAllItems() {
  return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS));
}
CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
  char buffer[1024] = {};
  GetItemText(nItem, nSubItem, buffer, static_cast<int>(sizeof buffer));
  return CString(buffer);
}
int CListCtrl::GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const {
  LVITEM item{};
  item.iSubItem = nSubItem;
  item.pszText = lpszText;
  item.cchTextMax = nLen;
  return static_cast<int>(SendMessage(LVM_GETITEMTEXT, static_cast<WPARAM>(nItem), AsLParam(&item)));
}
BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText) {
  LVITEM item{};
  item.iSubItem = nSubItem;
  item.pszText = const_cast<LPTSTR>(lpszText);
  return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXT, static_cast<WPARAM>(nItem), AsLParam(&item)));
}
DWORD_PTR CListCtrl::GetItemData(int nItem) const {
  LVITEM item{};
  item.mask = LVIF_PARAM;
  item.iItem = nItem;
  GetItem(&item);
  return static_cast<DWORD_PTR>(item.lParam);
}
BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData) {
  return SetItem(nItem, 0, LVIF_PARAM, nullptr, 0, 0, 0, static_cast<LPARAM>(dwData));
}
UINT CListCtrl::GetItemState(int nItem, UINT nMask) const {
  return static_cast<UINT>(
      SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(nItem), static_cast<LPARAM>(nMask)));
}
BOOL CListCtrl::SetItemState(int nItem, LVITEM* pItem) {
  return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(nItem), AsLParam(pItem)));
}
BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
  LVITEM item{};
  item.state = nState;
  item.stateMask = nMask;
  return SetItemState(nItem, &item);
}
BOOL CListCtrl::GetCheck(int nItem) const {
  return (GetItemState(nItem, LVIS_STATEIMAGEMASK) >> 12) == 2;
}
BOOL CListCtrl::SetCheck(int nItem, BOOL fCheck) {
  return SetItemState(nItem, INDEXTOSTATEIMAGEMASK(fCheck ? 2 : 1), LVIS_STATEIMAGEMASK);
}
int CListCtrl::GetNextItem(int nItem, int nFlags) const {
  return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(nItem), MAKELPARAM(nFlags, 0)));
}
UINT CListCtrl::GetSelectedCount() const {
  return static_cast<UINT>(SendMessage(LVM_GETSELECTEDCOUNT));
}
POSITION CListCtrl::GetFirstSelectedItemPosition() const {
  const int first = GetNextItem(-1, LVNI_SELECTED);
  return reinterpret_cast<POSITION>(static_cast<intptr_t>(first + 1));
}
int CListCtrl::GetNextSelectedItem(POSITION& pos) const {
  const int item = static_cast<int>(reinterpret_cast<intptr_t>(pos)) - 1;
  pos = reinterpret_cast<POSITION>(static_cast<intptr_t>(GetNextItem(item, LVNI_SELECTED) + 1));
  return item;
}
int CListCtrl::GetSelectionMark() const {
  return static_cast<int>(SendMessage(LVM_GETSELECTIONMARK));
}
int CListCtrl::SetSelectionMark(int iIndex) {
  return static_cast<int>(SendMessage(LVM_SETSELECTIONMARK, 0, iIndex));
}
int CListCtrl::FindItem(LVFINDINFO* pFindInfo, int nStart) const {
  return static_cast<int>(SendMessage(LVM_FINDITEM, static_cast<WPARAM>(nStart), AsLParam(pFindInfo)));
}
BOOL CListCtrl::SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData) {
  return static_cast<BOOL>(SendMessage(LVM_SORTITEMS, dwData, AsLParam(pfnCompare)));
}
BOOL CListCtrl::Update(int nItem) {
  return static_cast<BOOL>(SendMessage(LVM_UPDATE, static_cast<WPARAM>(nItem)));
}
BOOL CListCtrl::RedrawItems(int nFirst, int nLast) {
  return static_cast<BOOL>(SendMessage(LVM_REDRAWITEMS, static_cast<WPARAM>(nFirst), nLast));
}
BOOL CListCtrl::Arrange(UINT nCode) {
  return static_cast<BOOL>(SendMessage(LVM_ARRANGE, nCode));
}
CEdit* CListCtrl::EditLabel(int nItem) {
  return static_cast<CEdit*>(
      CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(LVM_EDITLABEL, static_cast<WPARAM>(nItem)))));
}
CEdit* CListCtrl::GetEditControl() const {
  return static_cast<CEdit*>(CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(LVM_GETEDITCONTROL))));
}
CImageList* CListCtrl::CreateDragImage(int nItem, LPPOINT lpPoint) {
  HIMAGELIST handle = reinterpret_cast<HIMAGELIST>(
      SendMessage(LVM_CREATEDRAGIMAGE, static_cast<WPARAM>(nItem), AsLParam(lpPoint)));
  if (!handle) return nullptr;
  auto* list = new CImageList;
  list->Attach(handle);
  return list;
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const {
  if (!lpRect) return FALSE;
  lpRect->left = static_cast<LONG>(nCode);
  return static_cast<BOOL>(SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(nItem), AsLParam(lpRect)));
}
BOOL CListCtrl::GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const {
  RECT r{nArea, iSubItem, 0, 0};
  const BOOL ok =
      static_cast<BOOL>(SendMessage(LVM_GETSUBITEMRECT, static_cast<WPARAM>(iItem), AsLParam(&r)));
  if (ok) ref = r;
  return ok;
}
BOOL CListCtrl::GetItemPosition(int nItem, LPPOINT lpPoint) const {
  return static_cast<BOOL>(SendMessage(LVM_GETITEMPOSITION, static_cast<WPARAM>(nItem), AsLParam(lpPoint)));
}
BOOL CListCtrl::GetViewRect(LPRECT lpRect) const {
  return static_cast<BOOL>(SendMessage(LVM_GETVIEWRECT, 0, AsLParam(lpRect)));
}
BOOL CListCtrl::GetOrigin(LPPOINT lpPoint) const {
  return static_cast<BOOL>(SendMessage(LVM_GETORIGIN, 0, AsLParam(lpPoint)));
}
int CListCtrl::HitTest(LVHITTESTINFO* pHitTestInfo) const {
  return static_cast<int>(SendMessage(LVM_HITTEST, 0, AsLParam(pHitTestInfo)));
}
int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const {
  LVHITTESTINFO info{};
  info.pt = pt;
  const int item = HitTest(&info);
  if (pFlags) *pFlags = info.flags;
  return item;
}
int CListCtrl::SubItemHitTest(LPLVHITTESTINFO pInfo) {
  return static_cast<int>(SendMessage(LVM_SUBITEMHITTEST, 0, AsLParam(pInfo)));
}
BOOL CListCtrl::EnsureVisible(int nItem, BOOL bPartialOK) {
  return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(nItem), bPartialOK));
}
BOOL CListCtrl::Scroll(CSize size) {
  return static_cast<BOOL>(SendMessage(LVM_SCROLL, static_cast<WPARAM>(size.cx), size.cy));
}
int CListCtrl::GetTopIndex() const {
  return static_cast<int>(SendMessage(LVM_GETTOPINDEX));
}
int CListCtrl::GetCountPerPage() const {
  return static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE));
}

int CListCtrl::InsertColumn(int nCol, const LVCOLUMN* pColumn) {
  return static_cast<int>(SendMessage(LVM_INSERTCOLUMN, static_cast<WPARAM>(nCol), AsLParam(pColumn)));
}
int CListCtrl::InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem) {
  LVCOLUMN column{};
  column.mask = LVCF_TEXT | LVCF_FMT;
  column.pszText = const_cast<LPTSTR>(lpszColumnHeading);
  column.fmt = nFormat;
  if (nWidth != -1) {
    column.mask |= LVCF_WIDTH;
    column.cx = nWidth;
  }
  if (nSubItem != -1) {
    column.mask |= LVCF_SUBITEM;
    column.iSubItem = nSubItem;
  }
  return InsertColumn(nCol, &column);
}
BOOL CListCtrl::DeleteColumn(int nCol) {
  return static_cast<BOOL>(SendMessage(LVM_DELETECOLUMN, static_cast<WPARAM>(nCol)));
}
BOOL CListCtrl::GetColumn(int nCol, LVCOLUMN* pColumn) const {
  return static_cast<BOOL>(SendMessage(LVM_GETCOLUMN, static_cast<WPARAM>(nCol), AsLParam(pColumn)));
}
BOOL CListCtrl::SetColumn(int nCol, const LVCOLUMN* pColumn) {
  return static_cast<BOOL>(SendMessage(LVM_SETCOLUMN, static_cast<WPARAM>(nCol), AsLParam(pColumn)));
}
int CListCtrl::GetColumnWidth(int nCol) const {
  return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(nCol)));
}
BOOL CListCtrl::SetColumnWidth(int nCol, int cx) {
  return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nCol), MAKELPARAM(cx, 0)));
}
BOOL CListCtrl::GetColumnOrderArray(LPINT piArray, int iCount) {
  if (iCount < 0) iCount = GetHeaderCtrl() ? GetHeaderCtrl()->GetItemCount() : 0;
  return static_cast<BOOL>(
      SendMessage(LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(iCount), AsLParam(piArray)));
}
BOOL CListCtrl::SetColumnOrderArray(int iCount, LPINT piArray) {
  return static_cast<BOOL>(
      SendMessage(LVM_SETCOLUMNORDERARRAY, static_cast<WPARAM>(iCount), AsLParam(piArray)));
}
CHeaderCtrl* CListCtrl::GetHeaderCtrl() {
  return static_cast<CHeaderCtrl*>(CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER))));
}
