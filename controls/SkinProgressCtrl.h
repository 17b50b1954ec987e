// The progress bar of the progress dialogs: a subclassed progress control that paints itself as a
// framed two-colour bar with a centred caption (the owner's text or the percentage) whose colour
// flips where it crosses the edge of the filled part.
#pragma once

#include "platform/base/CString.h"
#include "platform/comctl/AfxControls.h"
#include "platform/mfc/Afx.h"

class CSkinProgressCtrl : public CProgressCtrl {
 public:
  CSkinProgressCtrl();
  ~CSkinProgressCtrl() override;

  // Stores the bounds; the bar shows them at its next repaint.
  void SetRange(int nLower, int nUpper);
  // The previous position, or -1 when the control has no window. Repaints only when the filled
  // width in pixels changes, so frequent updates cost nothing.
  int SetPos(int nPos);
  // The caption shown instead of the percentage (empty: the percentage).
  void SetText(const CString& text);

 protected:
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  // Pixels of `width` the filled part covers at the current position.
  int FilledWidth(int width) const;

  int m_nPos = 0;
  int m_nUpper = 100;
  int m_nLower = 0;
  CString m_caption;
  BOOL m_bShowCaption = TRUE;
  int m_nFilledWidth = 0;  // at the last repaint request; -1 forces the next SetPos to repaint
  COLORREF m_crFilled = RGB(100, 130, 210);
  COLORREF m_crRest = RGB(220, 240, 230);
  COLORREF m_crTextOverRest = RGB(100, 130, 210);
  COLORREF m_crTextOverFilled = RGB(220, 240, 230);
};
