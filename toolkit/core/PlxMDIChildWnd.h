// CPlxMDIChildWnd: the base of document child frames inside a CPlxMDIFrameWnd. It keeps keys away
// from the child while a toolkit popup menu is open, tells the MDI client's tabs about its title and
// icon, and without a system menu stays maximized, remembering its normal place for when the system
// menu comes back.
#pragma once

#include "platform/mfc/MdiFrameWnd.h"

class CPlxMDIFrameWnd;

class CPlxMDIChildWnd : public CMDIChildWnd {
  DECLARE_DYNCREATE(CPlxMDIChildWnd)

 public:
  CPlxMDIChildWnd();
  ~CPlxMDIChildWnd() override;

  // ---- toolkit virtual operations, in slot order ----
  virtual CString GetFrameText() const;
  virtual HICON GetFrameIcon() const;
  // TRUE for a child whose document cannot be saved (the windows dialog's save stays off).
  virtual BOOL IsReadOnly() { return FALSE; }

  BOOL PreTranslateMessage(MSG* pMsg) override;
  void ActivateFrame(int nCmdShow = -1) override;
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;

  CPlxMDIFrameWnd* m_pMDIFrame = nullptr;
  BOOL m_bBeingDestroyed = FALSE;  // written by the MDI client only
  CRect m_rectNormal;              // MDI client coordinates, kept while there is no system menu

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetIcon(WPARAM wParam, LPARAM lParam);
  afx_msg void OnStyleChanged(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
  // Maximized or restored by its own caption or system menu: the frame's menu bar follows.
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()
};
