// The output-format selector of the status bar: a flat owner-drawn button that opens its list
// upwards in a topmost popup (CDropListFrame holding a CDropListBox) and reports the item the
// user picks. The list's item data word stays free for the owner; the list's own drawing
// records live beside the items, in item order.
#pragma once

#include <vector>

#include "platform/base/CString.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/StdControls.h"

// A pick: popup -> button with (item index, 0), then button -> parent and main window with
// (control id, item index).
#ifndef WM_OUTPUT_FORMAT_SELECTED
#define WM_OUTPUT_FORMAT_SELECTED 0x0466
#endif

// The list's child id inside the popup.
#define IDC_DROPLIST_LIST 1125

class CDropListButton;

// How one list item is drawn. Every item added is an ordinary one drawn in black.
struct DropListItemRecord {
  BYTE bHeading = 0;  // non-zero: bold with a rule, not pickable
  COLORREF crText = 0;
  COLORREF crSelectedText = 0;
};

class CDropListBox : public CListBox {
 public:
  CDropListBox();
  ~CDropListBox() override;

  int AddItem(LPCTSTR lpszText);
  // Drops the drawing records and the items; the owner frees its item data first.
  void ResetContent();
  // The index the list returns to when the popup closes without a pick.
  void SetCurSelIndex(int nIndex);
  int GetCurSelIndex() const { return m_nCurSel; }
  // Set once; later calls change nothing.
  void SetFonts(CFont* pFont);
  void SetBorderColor(COLORREF cr);
  void SetBkColor(COLORREF cr);
  // The record drawn or added last.
  const DropListItemRecord* GetCurrentRecord() const { return m_pCurrent; }

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

 private:
  int m_nCurSel = 0;
  std::vector<DropListItemRecord*> m_records;  // owned, in item order
  CRect m_rcClient;
  CFont* m_pFont = nullptr;      // not owned
  CFont* m_pBoldFont = nullptr;  // owned
  CString m_strText;             // the text of the item being drawn
  CPen* m_pBorderPen = nullptr;
  CBrush* m_pBorderBrush = nullptr;
  CBrush* m_pSelBrush = nullptr;
  DropListItemRecord* m_pCurrent = nullptr;
};

// The topmost popup that holds the list while it is open.
class CDropListFrame : public CWnd {
 public:
  CDropListFrame();
  ~CDropListFrame() override;

  BOOL Create(CDropListButton* pOwner, UINT nID);
  CDropListBox* GetList() const { return m_pList; }

 protected:
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnSelChange();
  DECLARE_MESSAGE_MAP()

 private:
  CDropListButton* m_pOwner = nullptr;
  CDropListBox* m_pList = nullptr;  // owned
};

class CDropListButton : public CButton {
 public:
  CDropListButton();
  ~CDropListButton() override;

  // face == (COLORREF)-1 picks the default face colours; a null font makes the button create
  // its own 12-pixel one.
  BOOL Create(LPCTSTR lpszCaption, RECT rect, CWnd* pParentWnd, UINT nID, COLORREF crFace, COLORREF crHotFace,
              COLORREF crArrow, COLORREF crFourth, CFont* pFont, COLORREF crListBorder, COLORREF crFrame);
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  // Places the popup above the button, sized to the items, and shows it.
  void OpenPopup();

  CDropListBox* GetListBox() const { return m_pPopup != nullptr ? m_pPopup->GetList() : nullptr; }
  CDropListFrame* GetPopup() const { return m_pPopup; }
  // The popup's screen rectangle from the last OpenPopup.
  CRect GetPopupRect() const { return m_rcPopup; }

  int m_nPopupWidth = 0;
  int m_nPopupHeightLimit = 100;
  BOOL m_bCaptionFollowsPick = TRUE;

 protected:
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnItemPicked(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void Redraw();
  bool PopupVisible() const;

  UINT m_nID = 0;
  bool m_bOwnsFont = false;
  bool m_bHot = false;
  CWnd* m_pParent = nullptr;
  CRect m_rcClient;
  CRect m_rcPopup;
  CPen* m_pFramePen = nullptr;
  CPen* m_pArrowPen = nullptr;
  CFont* m_pFont = nullptr;
  CBrush* m_pFaceBrush = nullptr;
  CBrush* m_pHotBrush = nullptr;
  CBrush* m_pArrowBrush = nullptr;
  COLORREF m_crArrow = 0;
  COLORREF m_crFourth = 0;
  CDropListFrame* m_pPopup = nullptr;  // owned
  bool m_bOpened = false;
};
