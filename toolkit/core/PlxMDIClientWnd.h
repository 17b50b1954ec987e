// CPlxMDIClientWnd: the toolkit's hold on the MDI client of a CPlxMDIFrameWnd. It lets the frame's
// menu bar take the menus the children switch in (WM_MDISETMENU), finds the Window menu again after
// a refresh, and lets the frame paint the client background. It also keeps a strip of document
// tabs around the children (a tab window, child of the frame, whose window area the client fills):
// one tab per child with its title and small icon; clicking a tab activates the child. Tabs are
// off until the owner turns them on with EnableTabs.
#pragma once

#include <map>

#include "platform/comctl/AfxImageList.h"
#include "platform/mfc/Wnd.h"
#include "toolkit/customize/PlxTabWnd.h"

class CPlxMDIFrameWnd;

class CPlxMDIClientWnd : public CWnd {
 public:
  CPlxMDIClientWnd();
  ~CPlxMDIClientWnd() override;

  // Shows or hides the document tabs, at the top (CPlxTabWnd::LOCATION_TOP) or the bottom, with
  // or without the children's icons; the frame lays itself out again.
  void EnableTabs(BOOL bEnable, int nLocation = CPlxTabWnd::LOCATION_TOP, BOOL bIcons = TRUE);
  // The children's tabs follow their titles and icons; nothing while tabs are off.
  void UpdateTabs(BOOL bSetActiveTabVisible = FALSE);
  // The child's tab becomes the active one; the tabs-enabled value when there is none.
  BOOL SetActiveTabFor(CWnd* pWnd);
  // The image of the child's small icon in the tab icons, added at its first use; -1 without
  // the tab-icons flag or without an icon. Children with the same icon share one image.
  int GetTabIconIndex(HWND hwndChild);
  // The tab's label for a child: a toolkit child's frame text, else the window title.
  static CString GetTabLabel(HWND hwndChild);
  // Hands Ctrl+Page Up and Page Down to the tabs while they show.
  BOOL PreTranslateMessage(MSG* pMsg) override;

  CPlxTabWnd m_wndTab;
  int m_nTabLocation = 0;
  BOOL m_bTabsEnabled = FALSE;
  CImageList m_TabIcons;
  BOOL m_bTabIcons = TRUE;
  int m_nTabsOption = 0;
  std::map<HICON, int> m_mapIcons;

 protected:
  void PreSubclassWindow() override;
  void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder) override;
  // Creates the tab strip over the frame; FALSE while the tab window cannot hold window tabs.
  virtual BOOL CreateTabWindow();
  // The frame it belongs to when that is a toolkit MDI frame whose window still exists.
  CPlxMDIFrameWnd* GetMDIFrame() const;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnSetMenu(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRefreshMenu(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMDIDestroy(WPARAM wParam, LPARAM lParam);
  // Maximize, restore and activation requests: the frame's menu bar follows the active child.
  afx_msg LRESULT OnMDIChildChange(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnUpdateTabs(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
