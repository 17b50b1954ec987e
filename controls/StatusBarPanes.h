// The main window's status bar: MPCStatusBar hosts child windows in its panes and keeps each
// fitted to its pane whenever the bar is resized.
#pragma once

#include "platform/base/Array.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/StatusBar.h"

// One hosted control. The bar owns the record, not the control.
class MPCStatusBarPaneControlInfo : public CObject {
  DECLARE_DYNCREATE(MPCStatusBarPaneControlInfo)

 public:
  CWnd* m_hWnd = nullptr;  // the hosted control, not owned
  UINT m_nPaneID = 0;
  BOOL m_bAutodelete = TRUE;  // kept as given; the bar does not consult it
};

class MPCStatusBar : public CStatusBar {
  DECLARE_DYNCREATE(MPCStatusBar)

 public:
  MPCStatusBar();
  ~MPCStatusBar() override;

  // FALSE, changing nothing, when the pane already hosts a control or the bar has no such pane.
  BOOL AddPaneControl(CWnd* pWnd, UINT nPaneID, BOOL bAutodelete);
  MPCStatusBarPaneControlInfo* FindPaneControl(UINT nPaneID);
  // Every hosted control into its pane, inside the bar's borders and pane spacing.
  void RepositionControls();
  // The panes' horizontal and vertical border widths and the spacing between panes.
  void GetBorders(int& nHorz, int& nVert, int& nSpacing) const;

 protected:
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  DECLARE_MESSAGE_MAP()

 private:
  CPtrArray m_arrPaneControls;  // MPCStatusBarPaneControlInfo*, owned, in the order added
};
