// The drop-down toolbar family: the second toolbar a drop-down button stands for
// (CPlxDropDownToolBar, also the bar shown in the popup) and the borderless popup frame that shows
// it next to the button (CPlxDropDownFrame). The button itself is CPlxDropDownToolbarButton.
#pragma once

#include "platform/mfc/FrameWnd.h"
#include "toolkit/bars/PlxToolBar.h"

class CPlxDropDownToolBar : public CPlxToolBar {
  DECLARE_SERIAL(CPlxDropDownToolBar)

 public:
  CPlxDropDownToolBar();

  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  BOOL LoadBitmap(UINT uiResID, UINT uiColdResID = 0, UINT uiMenuResID = 0, BOOL bLocked = FALSE,
                  UINT uiDisabledResID = 0, UINT uiMenuDisabledResID = 0) override;
  BOOL LoadToolBar(UINT uiResID, UINT uiColdResID = 0, UINT uiMenuResID = 0, BOOL bLocked = FALSE,
                   UINT uiDisabledResID = 0, UINT uiMenuDisabledResID = 0, UINT uiHotResID = 0) override;
  BOOL OnSendCommand(const CPlxToolbarButton* pButton) override;

 protected:
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()
};

class CPlxDropDownFrame : public CMiniFrameWnd {
  DECLARE_SERIAL(CPlxDropDownFrame)

 public:
  CPlxDropDownFrame();
  ~CPlxDropDownFrame() override;

  virtual BOOL Create(CWnd* pWndParent, int x, int y, CPlxToolBar* pSrcToolBar);
  void RecalcLayout(BOOL bNotify = TRUE) override;

  CPlxDropDownToolBar& GetToolBar() { return m_wndToolBar; }

  CPlxDropDownToolbarButton* m_pParentButton = nullptr;  // borrowed
  CPlxDropDownToolBar m_wndToolBar;
  CPlxToolBar* m_pSrcToolBar = nullptr;  // borrowed, read only while the frame is made
  int m_x = 0;
  int m_y = 0;
  BOOL m_bDestroyBar = TRUE;
  CString m_strCaption;

  static CString m_strClassName;

 protected:
  void PostNcDestroy() override;
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnPaint();
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnDestroy();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
  afx_msg LRESULT OnCloseFrame(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

  BOOL m_bCreated = FALSE;
};
