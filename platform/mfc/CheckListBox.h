// CCheckListBox: an owner-drawn list box (LBS_OWNERDRAWFIXED with LBS_HASSTRINGS) whose rows each
// carry a check box at their left. A click on a row's box, or Space on the caret row, toggles it
// and sends the parent WM_COMMAND with CLBN_CHKCHANGE. The check states follow the rows as they
// are added, inserted and deleted; item data stays the caller's. A click on a box leaves the
// selection alone, so the row whose box changed (GetCheckChangedIndex) need not be the selected one.
#pragma once

#include <vector>

#include "platform/mfc/StdControls.h"

#ifndef CLBN_CHKCHANGE
#define CLBN_CHKCHANGE 40
#endif

class CCheckListBox : public CListBox {
  DECLARE_DYNAMIC(CCheckListBox)

 public:
  CCheckListBox() = default;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;

  // BST_UNCHECKED or BST_CHECKED; -1 for a row that does not exist.
  int GetCheck(int nIndex) const;
  void SetCheck(int nIndex, int nCheck);
  void Enable(int nIndex, BOOL bEnabled = TRUE);
  BOOL IsEnabled(int nIndex) const;
  // The row whose check box lies under point (client coordinates), else -1.
  int CheckFromPoint(CPoint point, BOOL& bInCheck) const;
  // The row whose box changed last (what CLBN_CHKCHANGE reports), -1 when none.
  int GetCheckChangedIndex() const { return m_nCheckChanged; }
  // The width of the box column at the left of every row.
  int CheckBoxWidth() const;

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

 protected:
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg LRESULT OnAddString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnInsertString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDeleteString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnResetContent(WPARAM wParam, LPARAM lParam);
  // Toggles the row's box and tells the parent.
  void ToggleAndNotify(int nIndex);

 private:
  struct RowState {
    int check = 0;
    BOOL enabled = TRUE;
  };
  std::vector<RowState> m_rows;
  int m_nCheckChanged = -1;

  DECLARE_MESSAGE_MAP()
};
