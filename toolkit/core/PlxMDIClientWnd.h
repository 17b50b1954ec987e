// CPlxMDIClientWnd: the toolkit's hold on the MDI client of a CPlxMDIFrameWnd. It lets the frame's
// menu bar take the menus the children switch in (WM_MDISETMENU), finds the Window menu again after
// a refresh, and lets the frame paint the client background. The document tabs above the children
// keep their place here (tabs stay off until the docking work brings the tab strip).
#pragma once

#include "platform/mfc/Wnd.h"

class CPlxMDIFrameWnd;

class CPlxMDIClientWnd : public CWnd {
 public:
  CPlxMDIClientWnd();
  ~CPlxMDIClientWnd() override;

  // The children's tabs follow their titles and icons; nothing while tabs are off.
  void UpdateTabs(BOOL bSetActiveTabVisible = FALSE);
  // The child's tab becomes the active one; the tabs-enabled value when there is none.
  BOOL SetActiveTabFor(CWnd* pWnd);

  int m_nTabLocation = 0;
  BOOL m_bTabsEnabled = FALSE;
  BOOL m_bTabIcons = TRUE;
  int m_nTabsOption = 0;

 protected:
  // The frame it belongs to when that is a toolkit MDI frame whose window still exists.
  CPlxMDIFrameWnd* GetMDIFrame() const;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnSetMenu(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRefreshMenu(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMDIDestroy(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnUpdateTabs(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
