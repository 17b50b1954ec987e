// The class library's objects of the standard controls: thin members over the controls'
// messages, and the owner-draw calls (DrawItem, MeasureItem ...) a parent reflects to them.
#pragma once

#include "platform/mfc/Wnd.h"

class CButton : public CWnd {
  DECLARE_DYNAMIC(CButton)

 public:
  CButton() = default;
  virtual BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  UINT GetState() const;
  void SetState(BOOL bHighlight);
  int GetCheck() const;
  void SetCheck(int nCheck);
  UINT GetButtonStyle() const;
  void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);
  HICON SetIcon(HICON hIcon);
  HICON GetIcon() const;
  HBITMAP SetBitmap(HBITMAP hBitmap);
  HBITMAP GetBitmap() const;

  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CStatic : public CWnd {
  DECLARE_DYNAMIC(CStatic)

 public:
  CStatic() = default;
  virtual BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xFFFF);

  HICON SetIcon(HICON hIcon);
  HICON GetIcon() const;
  HBITMAP SetBitmap(HBITMAP hBitmap);
  HBITMAP GetBitmap() const;
  HCURSOR SetCursor(HCURSOR hCursor);
  HCURSOR GetCursor();

  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CEdit : public CWnd {
  DECLARE_DYNAMIC(CEdit)

 public:
  CEdit() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  BOOL CanUndo() const;
  int GetLineCount() const;
  BOOL GetModify() const;
  void SetModify(BOOL bModified = TRUE);
  void GetRect(LPRECT lpRect) const;
  DWORD GetSel() const;
  void GetSel(int& nStartChar, int& nEndChar) const;
  int GetLine(int nIndex, LPTSTR lpszBuffer) const;
  int GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const;
  UINT GetLimitText() const;
  void SetLimitText(UINT nMax);
  void LimitText(int nChars = 0);
  int LineFromChar(int nIndex = -1) const;
  int LineIndex(int nLine = -1) const;
  int LineLength(int nLine = -1) const;
  void LineScroll(int nLines, int nChars = 0);
  void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);
  void SetPasswordChar(TCHAR ch);
  TCHAR GetPasswordChar() const;
  void SetRect(LPCRECT lpRect);
  void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE);
  void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
  BOOL SetReadOnly(BOOL bReadOnly = TRUE);
  int GetFirstVisibleLine() const;
  void SetMargins(UINT nLeft, UINT nRight);
  DWORD GetMargins() const;
  CPoint PosFromChar(UINT nChar) const;
  int CharFromPos(CPoint pt) const;
  BOOL SetTabStops(int nTabStops, LPINT rgTabStops);
  void EmptyUndoBuffer();
  BOOL Undo();
  void Clear();
  void Copy();
  void Cut();
  void Paste();
};

class CListBox : public CWnd {
  DECLARE_DYNAMIC(CListBox)

 public:
  CListBox() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int GetCount() const;
  int GetHorizontalExtent() const;
  void SetHorizontalExtent(int cxExtent);
  int GetTopIndex() const;
  int SetTopIndex(int nIndex);
  DWORD_PTR GetItemData(int nIndex) const;
  int SetItemData(int nIndex, DWORD_PTR dwItemData);
  void* GetItemDataPtr(int nIndex) const;
  int SetItemDataPtr(int nIndex, void* pData);
  int GetItemRect(int nIndex, LPRECT lpRect) const;
  UINT ItemFromPoint(CPoint pt, BOOL& bOutside) const;
  int SetItemHeight(int nIndex, UINT cyItemHeight);
  int GetItemHeight(int nIndex) const;
  int GetSel(int nIndex) const;
  int GetText(int nIndex, LPTSTR lpszBuffer) const;
  void GetText(int nIndex, CString& rString) const;
  int GetTextLen(int nIndex) const;
  void SetColumnWidth(int cxWidth);
  BOOL SetTabStops(int nTabStops, LPINT rgTabStops);
  int GetCurSel() const;
  int SetCurSel(int nSelect);
  int SetSel(int nIndex, BOOL bSelect = TRUE);
  int GetCaretIndex() const;
  int SetCaretIndex(int nIndex, BOOL bScroll = TRUE);
  int GetSelCount() const;
  int GetSelItems(int nMaxItems, LPINT rgIndex) const;
  int SelItemRange(BOOL bSelect, int nFirstItem, int nLastItem);
  void SetAnchorIndex(int nIndex);
  int GetAnchorIndex() const;
  int AddString(LPCTSTR lpszItem);
  int DeleteString(UINT nIndex);
  int InsertString(int nIndex, LPCTSTR lpszItem);
  void ResetContent();
  int FindString(int nStartAfter, LPCTSTR lpszItem) const;
  int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
  int SelectString(int nStartAfter, LPCTSTR lpszItem);

  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
  virtual void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);
  virtual int VKeyToItem(UINT nKey, UINT nIndex);
  virtual int CharToItem(UINT nKey, UINT nIndex);

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CComboBox : public CWnd {
  DECLARE_DYNAMIC(CComboBox)

 public:
  CComboBox() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int nSelect);
  DWORD GetEditSel() const;
  BOOL LimitText(int nMaxChars);
  BOOL SetEditSel(int nStartChar, int nEndChar);
  DWORD_PTR GetItemData(int nIndex) const;
  int SetItemData(int nIndex, DWORD_PTR dwItemData);
  void* GetItemDataPtr(int nIndex) const;
  int SetItemDataPtr(int nIndex, void* pData);
  int GetLBText(int nIndex, LPTSTR lpszText) const;
  void GetLBText(int nIndex, CString& rString) const;
  int GetLBTextLen(int nIndex) const;
  int SetItemHeight(int nIndex, UINT cyItemHeight);
  int GetItemHeight(int nIndex) const;
  int SetExtendedUI(BOOL bExtended = TRUE);
  BOOL GetExtendedUI() const;
  void GetDroppedControlRect(LPRECT lprect) const;
  BOOL GetDroppedState() const;
  int GetDroppedWidth() const;
  int SetDroppedWidth(UINT nWidth);
  int GetTopIndex() const;
  int SetTopIndex(int nIndex);
  UINT GetHorizontalExtent() const;
  void SetHorizontalExtent(UINT nExtent);
  void ShowDropDown(BOOL bShowIt = TRUE);
  int AddString(LPCTSTR lpszString);
  int DeleteString(UINT nIndex);
  int InsertString(int nIndex, LPCTSTR lpszString);
  void ResetContent();
  int FindString(int nStartAfter, LPCTSTR lpszString) const;
  int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
  int SelectString(int nStartAfter, LPCTSTR lpszString);
  void Clear();
  void Copy();
  void Cut();
  void Paste();

  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
  virtual void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CScrollBar : public CWnd {
  DECLARE_DYNAMIC(CScrollBar)

 public:
  CScrollBar() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int GetScrollPos() const;
  int SetScrollPos(int nPos, BOOL bRedraw = TRUE);
  void GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const;
  void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
  void ShowScrollBar(BOOL bShow = TRUE);
  BOOL EnableScrollBar(UINT nArrowFlags = ESB_ENABLE_BOTH);
  BOOL SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
  BOOL GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
  int GetScrollLimit();
};
