// A splitter between two siblings of a layout table: a thin static that stands as a fixed row of
// the table. The user drags it with the left button; an inverted tracker shows where it would go,
// held so that neither neighbour leaves its minimum or maximum size; on release the bar sends
// "WM_WINMGR" code 2 with the distance to its parent, which moves the row (CLayoutMgr::MoveSizer)
// and applies the layout. Escape or a cancelled mode ends the drag without a notification.
//
// An owner gives the bar a fixed row of its thickness between the two rows it separates, creates
// it with Create (WS_CHILD | WS_VISIBLE, an empty rectangle, its own CLayoutMgr, the bar's id)
// before the first layout, and answers code 2 for the id with MoveSizer and ApplyLayout (1).
// UI thread only.
#pragma once

#include "controls/LayoutMgr.h"
#include "platform/mfc/StdControls.h"

class CSizerBar : public CStatic {
  DECLARE_DYNCREATE(CSizerBar)

 public:
  CSizerBar();
  ~CSizerBar() override;

  BOOL Create(DWORD dwStyle, CWnd* pParentWnd, CLayoutMgr* pLayout, UINT nID, const RECT& rect);
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

  // Wider than high, decided on the first call after the window exists and kept for the bar's
  // life; FALSE while the bar has no window.
  BOOL IsHorizontal();
  BOOL IsDragging() const { return m_bDragging; }
  // Where the cursor may go during the drag (bar client coordinates).
  const RECT& GetCursorLimits() const { return m_rcLimits; }

  // Draws the tracker rectangle (parent window coordinates) by inverting with the skin colour.
  virtual void DrawTrackerRect(CDC* pDC, const RECT& rc);
  void DrawTracker();
  CPoint ClampPoint(POINT pt) const;
  void EndDrag();
  void NotifyMoved(int dx, int dy);

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnCancelMode();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  // The point with the coordinate that does not move set to 0.
  CPoint AlongAxis(POINT pt);

  CLayoutMgr* m_pLayout = nullptr;  // not owned
  int m_nOrientation = -1;          // -1 undecided, 1 horizontal, 0 vertical
  BOOL m_bDragging = FALSE;
  RECT m_rcTracker{};  // screen coordinates
  POINT m_ptStart{};
  POINT m_ptLast{};
  RECT m_rcLimits{};
  HWND m_hwndPrevFocus = nullptr;
};
