// CPlxMDIFrameWnd: the toolkit's multiple-document main frame. Beside what the single-document frame
// does (PlxFrameWnd.h) it holds the MDI client as CPlxMDIClientWnd, lets its menu bar take the
// children's menus, puts the maximized child's buttons on the menu bar and lists the children at
// the end of the Window menu's popup.
#pragma once

#include "platform/mfc/MdiFrameWnd.h"
#include "toolkit/core/PlxFrameCore.h"
#include "toolkit/core/PlxMDIClientWnd.h"

class CDC;
class COleClientItem;
class CPlxToolbarButton;
class CPlxToolbarMenuButton;
struct TOOLINFOA;

#ifndef HELP_CONTEXT
#define HELP_CONTEXT 0x0001
#endif

class CPlxMDIFrameWnd : public CMDIFrameWnd {
  DECLARE_DYNCREATE(CPlxMDIFrameWnd)

 public:
  CPlxMDIFrameWnd();
  ~CPlxMDIFrameWnd() override;

  // ---- the frame hooks, in the toolkit's slot order ----
  // The MDI client switches menus: TRUE when the menu bar took hMenu (null: the default menu).
  virtual BOOL OnSetMenu(HMENU hMenu);
  virtual BOOL OnBeforeShowPopupMenu(CPlxPopupMenu* pMenu);
  virtual void OnClosePopupMenu(CPlxPopupMenu* pMenu);
  virtual BOOL OnDrawMenuImage(CDC*, const CPlxToolbarMenuButton*, const CRect&) { return FALSE; }
  virtual BOOL GetToolbarButtonToolTipText(CPlxToolbarButton*, TOOLINFOA*) { return FALSE; }
  virtual BOOL GetToolbarToolTipText(CPlxToolbarButton*, CString&) { return FALSE; }
  // TRUE when the frame painted the MDI client's background itself.
  virtual BOOL OnEraseMDIClientBackground(CDC*) { return FALSE; }
  virtual void OnDrawMenuLogo(CDC*, CPlxPopupMenu*, const CRect&) {}
  virtual BOOL OnTearOffMenu(CPlxPopupMenu*, CControlBar*) { return TRUE; }
  virtual BOOL OnShowCustomizePane(CPlxPopupMenu* pMenu, UINT uiToolbarResId);
  // The OLE item in-place active in the active view's document; none on this desktop.
  virtual COleClientItem* GetInPlaceActiveItem();

  virtual BOOL OnShowPopupMenu(CPlxPopupMenu* pMenu);

  // ---- framework overrides ----
  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnUpdateFrameMenu(HMENU hMenuAlt) override;
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
  HMENU GetWindowMenuPopup(HMENU hMenuBar) override;
  // Print preview hides the document tabs and shows them again after.
  virtual void OnSetPreviewMode(BOOL bPreview, void* pState);
  virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);
  // The menu bar shows the active child's icon and window buttons while that child is maximized,
  // and drops them otherwise. Called whenever a child is maximized, restored, activated, closed or
  // resized, and when the frame moves.
  void UpdateMaximizedChild();

  // ---- fields, in the toolkit's order ----
  CPlxMDIClientWnd m_wndClientArea;
  HMENU m_hmenuWindow = nullptr;
  CPlxFrameCore m_Impl;
  BOOL m_bContextHelp = FALSE;
  BOOL m_bEnableMDIClientSubclass = TRUE;
  UINT m_uiWindowsDlgMenuId = 0;
  CString m_strWindowsDlgMenuText;
  BOOL m_bShowWindowsDlgAlways = FALSE;
  HWND m_hwndMaximizedChild = nullptr;  // the child whose buttons the menu bar shows

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  // The children's entries of the Window menu, appended to a popup that shows Window commands.
  void AddWindowList(CPlxPopupMenu* pMenu);
  afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
  afx_msg LRESULT OnToolbarCreateNew(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnToolbarDelete(WPARAM wParam, LPARAM lParam);
  afx_msg void OnClose();
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg void OnDestroy();
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg void OnContextHelp();
  DECLARE_MESSAGE_MAP()
};
