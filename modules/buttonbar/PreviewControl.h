// CPreviewControl: the remote-control pad of the disc-menu preview, put over a static of a page.
// Keys are numbered by the code they report: 1 up, 2 down, 3 left, 4 right (1 and 3 step back,
// 2 and 4 forward), 5 OK, 6 play, 7 menu, 8 stop, 9 to 17 the album keys 1 to 9. A click on an
// enabled key sends the notify message with the key code as wParam and 0 as lParam. Above the
// keys a display shows the play time the owner gives.
#pragma once

#include "modules/buttonbar/ButtonSet.h"
#include "platform/mfc/Afx.h"

class CPreviewControl : public CStatic {
  DECLARE_DYNAMIC(CPreviewControl)

 public:
  enum { keyFirst = 1, keyLast = 17 };

  CPreviewControl();
  ~CPreviewControl() override;

  void SetNotifyMessage(HWND hWndNotify, UINT nMessage);
  // The pad's natural size.
  CSize GetSize() const;
  void ShowPlayTime(const CString& strTime);

  // FALSE for a code outside 1 to 17. bRedraw repaints the changed keys now.
  BOOL EnableButton(int nCode, BOOL bRedraw = TRUE);
  BOOL DisableButton(int nCode, BOOL bRedraw = TRUE);
  void EnableAllButtons(BOOL bRedraw = TRUE);
  void DisableAllButtons(BOOL bRedraw = TRUE);

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnMouseLeave();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnEnable(BOOL bEnable);
  DECLARE_MESSAGE_MAP()

 private:
  void Repaint(const std::vector<int>& keys, bool now);
  void DrawKey(HDC dc, int index, pictavo::buttonbar::ButtonLook look) const;

  // UI thread only, all of it.
  pictavo::buttonbar::ButtonSet m_keys;  // index = code - 1
  CString m_strTime;
  HWND m_hWndNotify = nullptr;
  UINT m_nNotifyMessage = 0;
  bool m_bTrackingLeave = false;
};
