// The album options page's music list: a report list whose rows can be dragged onto the timeline,
// where a dropped row's clip moves to start at the photo it was dropped on. UI thread only.
#pragma once

#include <memory>

#include "controls/ListCtrls.h"

class CDragListCtrl : public CBufferedListCtrl {
 public:
  CDragListCtrl();
  ~CDragListCtrl() override;

  // LVN_BEGINDRAG: starts dragging the notification's row; the drop ends on button release.
  void BeginDrag(NMLISTVIEW* pNotify);
  BOOL IsDragging() const { return m_bDragging; }

 protected:
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  DECLARE_MESSAGE_MAP()

 private:
  // The parent's timeline when the screen point lies over it, else null.
  CWnd* TimelineAt(CPoint screen) const;
  void DropOnTimeline(CWnd* timeline, CPoint screen);
  void EndDrag();

  BOOL m_bDragging = FALSE;
  int m_nDragRow = -1;
  std::unique_ptr<CImageList> m_pDragImage;
  HCURSOR m_hArrow = nullptr;
  HCURSOR m_hDrop = nullptr;
  HCURSOR m_hNoDrop = nullptr;
};
