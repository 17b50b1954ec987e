// The standard controls' objects: their messages, and the owner-draw calls reflected to them.
#include "platform/mfc/StdControls.h"

#include <string>

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

namespace {

template <class T>
LPARAM AsLParam(T value) {
  return reinterpret_cast<LPARAM>(value);
}

}  // namespace

// CButton.
BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_BUTTON, lpszCaption, dwStyle, rect, pParentWnd, nID);
}
UINT CButton::GetState() const {
  return static_cast<UINT>(SendMessage(BM_GETSTATE));
}
void CButton::SetState(BOOL bHighlight) {
  SendMessage(BM_SETSTATE, bHighlight);
}
int CButton::GetCheck() const {
  return static_cast<int>(SendMessage(BM_GETCHECK));
}
void CButton::SetCheck(int nCheck) {
  SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck));
}
UINT CButton::GetButtonStyle() const {
  return GetStyle() & 0xFFFF;
}
void CButton::SetButtonStyle(UINT nStyle, BOOL bRedraw) {
  SendMessage(BM_SETSTYLE, nStyle, bRedraw);
}
HICON CButton::SetIcon(HICON hIcon) {
  return reinterpret_cast<HICON>(SendMessage(BM_SETIMAGE, IMAGE_ICON, AsLParam(hIcon)));
}
HICON CButton::GetIcon() const {
  return reinterpret_cast<HICON>(SendMessage(BM_GETIMAGE, IMAGE_ICON));
}
HBITMAP CButton::SetBitmap(HBITMAP hBitmap) {
  return reinterpret_cast<HBITMAP>(SendMessage(BM_SETIMAGE, IMAGE_BITMAP, AsLParam(hBitmap)));
}
HBITMAP CButton::GetBitmap() const {
  return reinterpret_cast<HBITMAP>(SendMessage(BM_GETIMAGE, IMAGE_BITMAP));
}
void CButton::DrawItem(LPDRAWITEMSTRUCT) {}
BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, pResult);
  DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  return TRUE;
}

// CStatic.
BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_STATIC, lpszText, dwStyle, rect, pParentWnd, nID);
}
HICON CStatic::SetIcon(HICON hIcon) {
  return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(hIcon)));
}
HICON CStatic::GetIcon() const {
  return reinterpret_cast<HICON>(SendMessage(STM_GETICON));
}
HBITMAP CStatic::SetBitmap(HBITMAP hBitmap) {
  return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, AsLParam(hBitmap)));
}
HBITMAP CStatic::GetBitmap() const {
  return reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP));
}
HCURSOR CStatic::SetCursor(HCURSOR hCursor) {
  return reinterpret_cast<HCURSOR>(SendMessage(STM_SETIMAGE, IMAGE_CURSOR, AsLParam(hCursor)));
}
HCURSOR CStatic::GetCursor() {
  return reinterpret_cast<HCURSOR>(SendMessage(STM_GETIMAGE, IMAGE_CURSOR));
}
void CStatic::DrawItem(LPDRAWITEMSTRUCT) {}
BOOL CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, pResult);
  DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  return TRUE;
}

// CEdit.
BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_EDIT, nullptr, dwStyle, rect, pParentWnd, nID);
}
BOOL CEdit::CanUndo() const {
  return static_cast<BOOL>(SendMessage(EM_CANUNDO));
}
int CEdit::GetLineCount() const {
  return static_cast<int>(SendMessage(EM_GETLINECOUNT));
}
BOOL CEdit::GetModify() const {
  return static_cast<BOOL>(SendMessage(EM_GETMODIFY));
}
void CEdit::SetModify(BOOL bModified) {
  SendMessage(EM_SETMODIFY, bModified);
}
void CEdit::GetRect(LPRECT lpRect) const {
  SendMessage(EM_GETRECT, 0, AsLParam(lpRect));
}
DWORD CEdit::GetSel() const {
  return static_cast<DWORD>(SendMessage(EM_GETSEL));
}
void CEdit::GetSel(int& nStartChar, int& nEndChar) const {
  DWORD start = 0;
  DWORD end = 0;
  SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), AsLParam(&end));
  nStartChar = static_cast<int>(start);
  nEndChar = static_cast<int>(end);
}
int CEdit::GetLine(int nIndex, LPTSTR lpszBuffer) const {
  return static_cast<int>(SendMessage(EM_GETLINE, static_cast<WPARAM>(nIndex), AsLParam(lpszBuffer)));
}
int CEdit::GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const {
  if (nMaxLength < 2) return 0;
  *reinterpret_cast<WORD*>(lpszBuffer) = static_cast<WORD>(nMaxLength);
  return GetLine(nIndex, lpszBuffer);
}
UINT CEdit::GetLimitText() const {
  return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT));
}
void CEdit::SetLimitText(UINT nMax) {
  SendMessage(EM_SETLIMITTEXT, nMax);
}
void CEdit::LimitText(int nChars) {
  SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(nChars));
}
int CEdit::LineFromChar(int nIndex) const {
  return static_cast<int>(SendMessage(EM_LINEFROMCHAR, static_cast<WPARAM>(nIndex)));
}
int CEdit::LineIndex(int nLine) const {
  return static_cast<int>(SendMessage(EM_LINEINDEX, static_cast<WPARAM>(nLine)));
}
int CEdit::LineLength(int nLine) const {
  return static_cast<int>(SendMessage(EM_LINELENGTH, static_cast<WPARAM>(nLine)));
}
void CEdit::LineScroll(int nLines, int nChars) {
  SendMessage(EM_LINESCROLL, static_cast<WPARAM>(nChars), nLines);
}
void CEdit::ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo) {
  SendMessage(EM_REPLACESEL, bCanUndo, AsLParam(lpszNewText));
}
void CEdit::SetPasswordChar(TCHAR ch) {
  SendMessage(EM_SETPASSWORDCHAR, static_cast<BYTE>(ch));
}
TCHAR CEdit::GetPasswordChar() const {
  return static_cast<TCHAR>(SendMessage(EM_GETPASSWORDCHAR));
}
void CEdit::SetRect(LPCRECT lpRect) {
  SendMessage(EM_SETRECT, 0, AsLParam(lpRect));
}
void CEdit::SetSel(DWORD dwSelection, BOOL bNoScroll) {
  SetSel(static_cast<int>(static_cast<SHORT>(LOWORD(dwSelection))),
         static_cast<int>(static_cast<SHORT>(HIWORD(dwSelection))), bNoScroll);
}
void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll) {
  SendMessage(EM_SETSEL, static_cast<WPARAM>(nStartChar), nEndChar);
  if (!bNoScroll) SendMessage(EM_SCROLLCARET);
}
BOOL CEdit::SetReadOnly(BOOL bReadOnly) {
  return static_cast<BOOL>(SendMessage(EM_SETREADONLY, bReadOnly));
}
int CEdit::GetFirstVisibleLine() const {
  return static_cast<int>(SendMessage(EM_GETFIRSTVISIBLELINE));
}
void CEdit::SetMargins(UINT nLeft, UINT nRight) {
  SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(nLeft, nRight));
}
DWORD CEdit::GetMargins() const {
  return static_cast<DWORD>(SendMessage(EM_GETMARGINS));
}
CPoint CEdit::PosFromChar(UINT nChar) const {
  const LRESULT result = SendMessage(EM_POSFROMCHAR, nChar);
  return CPoint(static_cast<SHORT>(LOWORD(result)), static_cast<SHORT>(HIWORD(result)));
}
int CEdit::CharFromPos(CPoint pt) const {
  return static_cast<int>(SendMessage(EM_CHARFROMPOS, 0, MAKELPARAM(pt.x, pt.y)));
}
BOOL CEdit::SetTabStops(int nTabStops, LPINT rgTabStops) {
  return static_cast<BOOL>(SendMessage(EM_SETTABSTOPS, static_cast<WPARAM>(nTabStops), AsLParam(rgTabStops)));
}
void CEdit::EmptyUndoBuffer() {
  SendMessage(EM_EMPTYUNDOBUFFER);
}
BOOL CEdit::Undo() {
  return static_cast<BOOL>(SendMessage(EM_UNDO));
}
void CEdit::Clear() {
  SendMessage(WM_CLEAR);
}
void CEdit::Copy() {
  SendMessage(WM_COPY);
}
void CEdit::Cut() {
  SendMessage(WM_CUT);
}
void CEdit::Paste() {
  SendMessage(WM_PASTE);
}

// CListBox.
BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_LISTBOX, nullptr, dwStyle, rect, pParentWnd, nID);
}
int CListBox::GetCount() const {
  return static_cast<int>(SendMessage(LB_GETCOUNT));
}
int CListBox::GetHorizontalExtent() const {
  return static_cast<int>(SendMessage(LB_GETHORIZONTALEXTENT));
}
void CListBox::SetHorizontalExtent(int cxExtent) {
  SendMessage(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(cxExtent));
}
int CListBox::GetTopIndex() const {
  return static_cast<int>(SendMessage(LB_GETTOPINDEX));
}
int CListBox::SetTopIndex(int nIndex) {
  return static_cast<int>(SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(nIndex)));
}
DWORD_PTR CListBox::GetItemData(int nIndex) const {
  return static_cast<DWORD_PTR>(SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(nIndex)));
}
int CListBox::SetItemData(int nIndex, DWORD_PTR dwItemData) {
  return static_cast<int>(
      SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData)));
}
void* CListBox::GetItemDataPtr(int nIndex) const {
  return reinterpret_cast<void*>(GetItemData(nIndex));
}
int CListBox::SetItemDataPtr(int nIndex, void* pData) {
  return SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pData));
}
int CListBox::GetItemRect(int nIndex, LPRECT lpRect) const {
  return static_cast<int>(SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(nIndex), AsLParam(lpRect)));
}
UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const {
  const LRESULT result = SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
  bOutside = HIWORD(result) != 0;
  return LOWORD(result);
}
int CListBox::SetItemHeight(int nIndex, UINT cyItemHeight) {
  return static_cast<int>(
      SendMessage(LB_SETITEMHEIGHT, static_cast<WPARAM>(nIndex), MAKELPARAM(cyItemHeight, 0)));
}
int CListBox::GetItemHeight(int nIndex) const {
  return static_cast<int>(SendMessage(LB_GETITEMHEIGHT, static_cast<WPARAM>(nIndex)));
}
int CListBox::GetSel(int nIndex) const {
  return static_cast<int>(SendMessage(LB_GETSEL, static_cast<WPARAM>(nIndex)));
}
int CListBox::GetText(int nIndex, LPTSTR lpszBuffer) const {
  return static_cast<int>(SendMessage(LB_GETTEXT, static_cast<WPARAM>(nIndex), AsLParam(lpszBuffer)));
}
void CListBox::GetText(int nIndex, CString& rString) const {
  const int length = GetTextLen(nIndex);
  if (length < 0) {
    rString.Empty();
    return;
  }
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int got = GetText(nIndex, text.data());
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  rString = text;
}
int CListBox::GetTextLen(int nIndex) const {
  return static_cast<int>(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(nIndex)));
}
void CListBox::SetColumnWidth(int cxWidth) {
  SendMessage(LB_SETCOLUMNWIDTH, static_cast<WPARAM>(cxWidth));
}
BOOL CListBox::SetTabStops(int nTabStops, LPINT rgTabStops) {
  return static_cast<BOOL>(SendMessage(LB_SETTABSTOPS, static_cast<WPARAM>(nTabStops), AsLParam(rgTabStops)));
}
int CListBox::GetCurSel() const {
  return static_cast<int>(SendMessage(LB_GETCURSEL));
}
int CListBox::SetCurSel(int nSelect) {
  return static_cast<int>(SendMessage(LB_SETCURSEL, static_cast<WPARAM>(nSelect)));
}
int CListBox::SetSel(int nIndex, BOOL bSelect) {
  return static_cast<int>(SendMessage(LB_SETSEL, bSelect, nIndex));
}
int CListBox::GetCaretIndex() const {
  return static_cast<int>(SendMessage(LB_GETCARETINDEX));
}
int CListBox::SetCaretIndex(int nIndex, BOOL bScroll) {
  return static_cast<int>(SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(nIndex), MAKELPARAM(bScroll, 0)));
}
int CListBox::GetSelCount() const {
  return static_cast<int>(SendMessage(LB_GETSELCOUNT));
}
int CListBox::GetSelItems(int nMaxItems, LPINT rgIndex) const {
  return static_cast<int>(SendMessage(LB_GETSELITEMS, static_cast<WPARAM>(nMaxItems), AsLParam(rgIndex)));
}
int CListBox::SelItemRange(BOOL bSelect, int nFirstItem, int nLastItem) {
  return static_cast<int>(SendMessage(LB_SELITEMRANGE, bSelect, MAKELPARAM(nFirstItem, nLastItem)));
}
void CListBox::SetAnchorIndex(int nIndex) {
  SendMessage(LB_SETANCHORINDEX, static_cast<WPARAM>(nIndex));
}
int CListBox::GetAnchorIndex() const {
  return static_cast<int>(SendMessage(LB_GETANCHORINDEX));
}
int CListBox::AddString(LPCTSTR lpszItem) {
  return static_cast<int>(SendMessage(LB_ADDSTRING, 0, AsLParam(lpszItem)));
}
int CListBox::DeleteString(UINT nIndex) {
  return static_cast<int>(SendMessage(LB_DELETESTRING, nIndex));
}
int CListBox::InsertString(int nIndex, LPCTSTR lpszItem) {
  return static_cast<int>(SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(nIndex), AsLParam(lpszItem)));
}
void CListBox::ResetContent() {
  SendMessage(LB_RESETCONTENT);
}
int CListBox::FindString(int nStartAfter, LPCTSTR lpszItem) const {
  return static_cast<int>(SendMessage(LB_FINDSTRING, static_cast<WPARAM>(nStartAfter), AsLParam(lpszItem)));
}
int CListBox::FindStringExact(int nIndexStart, LPCTSTR lpszFind) const {
  return static_cast<int>(
      SendMessage(LB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), AsLParam(lpszFind)));
}
int CListBox::SelectString(int nStartAfter, LPCTSTR lpszItem) {
  return static_cast<int>(SendMessage(LB_SELECTSTRING, static_cast<WPARAM>(nStartAfter), AsLParam(lpszItem)));
}
void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CListBox::CompareItem(LPCOMPAREITEMSTRUCT) {
  return 0;
}
void CListBox::DeleteItem(LPDELETEITEMSTRUCT) {}
int CListBox::VKeyToItem(UINT, UINT) {
  return -1;
}
int CListBox::CharToItem(UINT, UINT) {
  return -1;
}
BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  switch (message) {
    case WM_DRAWITEM:
      DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
      return TRUE;
    case WM_MEASUREITEM:
      MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
      return TRUE;
    case WM_COMPAREITEM: {
      const int order = CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
      if (pResult) *pResult = order;
      return TRUE;
    }
    case WM_DELETEITEM:
      DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
      return TRUE;
    case WM_VKEYTOITEM: {
      const int result = VKeyToItem(LOWORD(wParam), HIWORD(wParam));
      if (pResult) *pResult = result;
      return TRUE;
    }
    case WM_CHARTOITEM: {
      const int result = CharToItem(LOWORD(wParam), HIWORD(wParam));
      if (pResult) *pResult = result;
      return TRUE;
    }
    default:
      return CWnd::OnChildNotify(message, wParam, lParam, pResult);
  }
}

// CComboBox.
BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_COMBOBOX, nullptr, dwStyle, rect, pParentWnd, nID);
}
int CComboBox::GetCount() const {
  return static_cast<int>(SendMessage(CB_GETCOUNT));
}
int CComboBox::GetCurSel() const {
  return static_cast<int>(SendMessage(CB_GETCURSEL));
}
int CComboBox::SetCurSel(int nSelect) {
  return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(nSelect)));
}
DWORD CComboBox::GetEditSel() const {
  return static_cast<DWORD>(SendMessage(CB_GETEDITSEL));
}
BOOL CComboBox::LimitText(int nMaxChars) {
  return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, static_cast<WPARAM>(nMaxChars)));
}
BOOL CComboBox::SetEditSel(int nStartChar, int nEndChar) {
  return static_cast<BOOL>(SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(nStartChar, nEndChar)));
}
DWORD_PTR CComboBox::GetItemData(int nIndex) const {
  return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(nIndex)));
}
int CComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData) {
  return static_cast<int>(
      SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData)));
}
void* CComboBox::GetItemDataPtr(int nIndex) const {
  return reinterpret_cast<void*>(GetItemData(nIndex));
}
int CComboBox::SetItemDataPtr(int nIndex, void* pData) {
  return SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pData));
}
int CComboBox::GetLBText(int nIndex, LPTSTR lpszText) const {
  return static_cast<int>(SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(nIndex), AsLParam(lpszText)));
}
void CComboBox::GetLBText(int nIndex, CString& rString) const {
  const int length = GetLBTextLen(nIndex);
  if (length < 0) {
    rString.Empty();
    return;
  }
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int got = GetLBText(nIndex, text.data());
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  rString = text;
}
int CComboBox::GetLBTextLen(int nIndex) const {
  return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex)));
}
int CComboBox::SetItemHeight(int nIndex, UINT cyItemHeight) {
  return static_cast<int>(
      SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(nIndex), MAKELPARAM(cyItemHeight, 0)));
}
int CComboBox::GetItemHeight(int nIndex) const {
  return static_cast<int>(SendMessage(CB_GETITEMHEIGHT, static_cast<WPARAM>(nIndex)));
}
int CComboBox::SetExtendedUI(BOOL bExtended) {
  return static_cast<int>(SendMessage(CB_SETEXTENDEDUI, bExtended));
}
BOOL CComboBox::GetExtendedUI() const {
  return static_cast<BOOL>(SendMessage(CB_GETEXTENDEDUI));
}
void CComboBox::GetDroppedControlRect(LPRECT lprect) const {
  SendMessage(CB_GETDROPPEDCONTROLRECT, 0, AsLParam(lprect));
}
BOOL CComboBox::GetDroppedState() const {
  return static_cast<BOOL>(SendMessage(CB_GETDROPPEDSTATE));
}
int CComboBox::GetDroppedWidth() const {
  return static_cast<int>(SendMessage(CB_GETDROPPEDWIDTH));
}
int CComboBox::SetDroppedWidth(UINT nWidth) {
  return static_cast<int>(SendMessage(CB_SETDROPPEDWIDTH, nWidth));
}
int CComboBox::GetTopIndex() const {
  return static_cast<int>(SendMessage(CB_GETTOPINDEX));
}
int CComboBox::SetTopIndex(int nIndex) {
  return static_cast<int>(SendMessage(CB_SETTOPINDEX, static_cast<WPARAM>(nIndex)));
}
UINT CComboBox::GetHorizontalExtent() const {
  return static_cast<UINT>(SendMessage(CB_GETHORIZONTALEXTENT));
}
void CComboBox::SetHorizontalExtent(UINT nExtent) {
  SendMessage(CB_SETHORIZONTALEXTENT, nExtent);
}
void CComboBox::ShowDropDown(BOOL bShowIt) {
  SendMessage(CB_SHOWDROPDOWN, bShowIt);
}
int CComboBox::AddString(LPCTSTR lpszString) {
  return static_cast<int>(SendMessage(CB_ADDSTRING, 0, AsLParam(lpszString)));
}
int CComboBox::DeleteString(UINT nIndex) {
  return static_cast<int>(SendMessage(CB_DELETESTRING, nIndex));
}
int CComboBox::InsertString(int nIndex, LPCTSTR lpszString) {
  return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(nIndex), AsLParam(lpszString)));
}
void CComboBox::ResetContent() {
  SendMessage(CB_RESETCONTENT);
}
int CComboBox::FindString(int nStartAfter, LPCTSTR lpszString) const {
  return static_cast<int>(SendMessage(CB_FINDSTRING, static_cast<WPARAM>(nStartAfter), AsLParam(lpszString)));
}
int CComboBox::FindStringExact(int nIndexStart, LPCTSTR lpszFind) const {
  return static_cast<int>(
      SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), AsLParam(lpszFind)));
}
int CComboBox::SelectString(int nStartAfter, LPCTSTR lpszString) {
  return static_cast<int>(
      SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(nStartAfter), AsLParam(lpszString)));
}
void CComboBox::Clear() {
  SendMessage(WM_CLEAR);
}
void CComboBox::Copy() {
  SendMessage(WM_COPY);
}
void CComboBox::Cut() {
  SendMessage(WM_CUT);
}
void CComboBox::Paste() {
  SendMessage(WM_PASTE);
}
void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CComboBox::CompareItem(LPCOMPAREITEMSTRUCT) {
  return 0;
}
void CComboBox::DeleteItem(LPDELETEITEMSTRUCT) {}
BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  switch (message) {
    case WM_DRAWITEM:
      DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
      return TRUE;
    case WM_MEASUREITEM:
      MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
      return TRUE;
    case WM_COMPAREITEM: {
      const int order = CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
      if (pResult) *pResult = order;
      return TRUE;
    }
    case WM_DELETEITEM:
      DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
      return TRUE;
    default:
      return CWnd::OnChildNotify(message, wParam, lParam, pResult);
  }
}

// CScrollBar.
BOOL CScrollBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_SCROLLBAR, nullptr, dwStyle, rect, pParentWnd, nID);
}
int CScrollBar::GetScrollPos() const {
  return ::GetScrollPos(m_hWnd, SB_CTL);
}
int CScrollBar::SetScrollPos(int nPos, BOOL bRedraw) {
  return ::SetScrollPos(m_hWnd, SB_CTL, nPos, bRedraw);
}
void CScrollBar::GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const {
  ::GetScrollRange(m_hWnd, SB_CTL, lpMinPos, lpMaxPos);
}
void CScrollBar::SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw) {
  ::SetScrollRange(m_hWnd, SB_CTL, nMinPos, nMaxPos, bRedraw);
}
void CScrollBar::ShowScrollBar(BOOL bShow) {
  ::ShowScrollBar(m_hWnd, SB_CTL, bShow);
}
BOOL CScrollBar::EnableScrollBar(UINT nArrowFlags) {
  return ::EnableScrollBar(m_hWnd, SB_CTL, nArrowFlags);
}
BOOL CScrollBar::SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  ::SetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo, bRedraw);
  return TRUE;
}
BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask) {
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  lpScrollInfo->fMask = nMask;
  return ::GetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo);
}
int CScrollBar::GetScrollLimit() {
  SCROLLINFO info{};
  if (!GetScrollInfo(&info, SIF_RANGE | SIF_PAGE)) return 0;
  const int page = static_cast<int>(info.nPage) - 1;
  return info.nMax - (page > 0 ? page : 0);
}
