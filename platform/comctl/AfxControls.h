// The class library's objects of the tab, trackbar, up-down, progress, tooltip and status bar
// controls: thin members over their messages.
#pragma once

#include "platform/base/CString.h"
#include "platform/comctl/AfxImageList.h"
#include "platform/comctl/Progress.h"
#include "platform/comctl/StatusBar.h"
#include "platform/comctl/Tab.h"
#include "platform/comctl/Tooltip.h"
#include "platform/comctl/Trackbar.h"
#include "platform/comctl/UpDown.h"
#include "platform/mfc/Wnd.h"

class CTabCtrl : public CWnd {
  DECLARE_DYNAMIC(CTabCtrl)

 public:
  CTabCtrl() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  CImageList* GetImageList() const;
  CImageList* SetImageList(CImageList* pImageList);
  int GetItemCount() const;
  BOOL GetItem(int nItem, TCITEM* pTabCtrlItem) const;
  BOOL SetItem(int nItem, TCITEM* pTabCtrlItem);
  LONG InsertItem(int nItem, TCITEM* pTabCtrlItem);
  LONG InsertItem(int nItem, LPCTSTR lpszItem);
  LONG InsertItem(int nItem, LPCTSTR lpszItem, int nImage);
  LONG InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, int nImage, LPARAM lParam);
  BOOL DeleteItem(int nItem);
  BOOL DeleteAllItems();
  BOOL GetItemRect(int nItem, LPRECT lpRect) const;
  int GetCurSel() const;
  int SetCurSel(int nItem);
  int GetCurFocus() const;
  void SetCurFocus(int nItem);
  int HitTest(TCHITTESTINFO* pHitTestInfo) const;
  void AdjustRect(BOOL bLarger, LPRECT lpRect);
  CSize SetItemSize(CSize size);
  void SetPadding(CSize size);
  int GetRowCount() const;
  void RemoveImage(int nImage);
  int SetMinTabWidth(int cx);

  // TCS_OWNERDRAWFIXED tabs, reflected from the parent's WM_DRAWITEM.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CSliderCtrl : public CWnd {
  DECLARE_DYNAMIC(CSliderCtrl)

 public:
  CSliderCtrl() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int GetLineSize() const;
  int SetLineSize(int nSize);
  int GetPageSize() const;
  int SetPageSize(int nSize);
  int GetRangeMax() const;
  int GetRangeMin() const;
  void GetRange(int& nMin, int& nMax) const;
  void SetRangeMin(int nMin, BOOL bRedraw = FALSE);
  void SetRangeMax(int nMax, BOOL bRedraw = FALSE);
  void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE);
  void GetSelection(int& nMin, int& nMax) const;
  void SetSelection(int nMin, int nMax);
  void ClearSel(BOOL bRedraw = FALSE);
  void GetChannelRect(LPRECT lprc) const;
  void GetThumbRect(LPRECT lprc) const;
  int GetPos() const;
  void SetPos(int nPos);
  UINT GetNumTics() const;
  DWORD* GetTicArray() const;
  int GetTic(int nTic) const;
  int GetTicPos(int nTic) const;
  BOOL SetTic(int nTic);
  void SetTicFreq(int nFreq);
  void ClearTics(BOOL bRedraw = FALSE);
  int GetThumbLength() const;
  void SetThumbLength(int nLength);
};

class CSpinButtonCtrl : public CWnd {
  DECLARE_DYNAMIC(CSpinButtonCtrl)

 public:
  CSpinButtonCtrl() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  BOOL SetAccel(int nAccel, UDACCEL* pAccel);
  UINT GetAccel(int nAccel, UDACCEL* pAccel) const;
  int SetBase(int nBase);
  UINT GetBase() const;
  CWnd* SetBuddy(CWnd* pWndBuddy);
  CWnd* GetBuddy() const;
  int SetPos(int nPos);
  // The position in the low word; the high word is non-zero when the buddy holds no valid number.
  int GetPos() const;
  int SetPos32(int nPos);
  int GetPos32(LPBOOL lpbError = nullptr) const;
  void SetRange(short nLower, short nUpper);
  void SetRange32(int nLower, int nUpper);
  DWORD GetRange() const;
  void GetRange(int& lower, int& upper) const;
  void GetRange32(int& lower, int& upper) const;
};

class CProgressCtrl : public CWnd {
  DECLARE_DYNAMIC(CProgressCtrl)

 public:
  CProgressCtrl() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  void SetRange(short nLower, short nUpper);
  void SetRange32(int nLower, int nUpper);
  void GetRange(int& nLower, int& nUpper) const;
  int GetPos() const;
  int SetPos(int nPos);
  int OffsetPos(int nPos);
  int SetStep(int nStep);
  int GetStep() const;
  int StepIt();
  COLORREF SetBarColor(COLORREF clrBar);
  COLORREF SetBkColor(COLORREF clrNew);
  COLORREF GetBarColor() const;
  COLORREF GetBkColor() const;
};

class CToolTipCtrl : public CWnd {
  DECLARE_DYNAMIC(CToolTipCtrl)

 public:
  CToolTipCtrl() = default;
  // A pop-up owned by the parent's window.
  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

  void Activate(BOOL bActivate);
  // The tool is the whole window (nIDTool 0) or a rectangle of it; it relays itself (TTF_SUBCLASS).
  BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
  BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACK, LPCRECT lpRectTool = nullptr,
               UINT_PTR nIDTool = 0);
  void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
  void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
  BOOL GetToolInfo(LPTOOLINFO lpToolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
  void SetToolInfo(LPTOOLINFO lpToolInfo);
  void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
  int GetToolCount() const;
  void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
  void UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool = 0);
  BOOL HitTest(CWnd* pWnd, CPoint pt, LPTOOLINFO lpToolInfo) const;
  void RelayEvent(LPMSG lpMsg);
  void SetDelayTime(UINT nDelay);
  void SetDelayTime(DWORD dwDuration, int iTime);
  int GetDelayTime(DWORD dwDuration) const;
  void SetTipBkColor(COLORREF clr);
  void SetTipTextColor(COLORREF clr);
  COLORREF GetTipBkColor() const;
  COLORREF GetTipTextColor() const;
  int SetMaxTipWidth(int iWidth);
  int GetMaxTipWidth() const;
  void SetMargin(LPRECT lprc);
  void GetMargin(LPRECT lprc) const;
  void Pop();
  void Popup();
  void Update();

 protected:
  void FillInToolInfo(TOOLINFO& ti, CWnd* pWnd, UINT_PTR nIDTool) const;
};

class CStatusBarCtrl : public CWnd {
  DECLARE_DYNAMIC(CStatusBarCtrl)

 public:
  CStatusBarCtrl() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  BOOL SetText(LPCTSTR lpszText, int nPane, int nType);
  CString GetText(int nPane, int* pType = nullptr) const;
  int GetText(LPTSTR lpszText, int nPane, int* pType = nullptr) const;
  int GetTextLength(int nPane, int* pType = nullptr) const;
  BOOL SetParts(int nParts, int* pWidths);
  int GetParts(int nParts, int* pParts) const;
  BOOL GetBorders(int* pBorders) const;
  BOOL GetBorders(int& nHorz, int& nVert, int& nSpacing) const;
  void SetMinHeight(int nMin);
  BOOL SetSimple(BOOL bSimple = TRUE);
  BOOL IsSimple() const;
  BOOL GetRect(int nPane, LPRECT lpRect) const;
  BOOL SetIcon(int nPane, HICON hIcon);
  HICON GetIcon(int nPane) const;
  COLORREF SetBkColor(COLORREF cr);

  // SBT_OWNERDRAW panes, reflected from the parent's WM_DRAWITEM.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
