// CPlxFrameWnd: the toolkit's single-document frame. It embeds the frame core, restores and keeps
// its placement and toolkit state through the workspace, routes keys and clicks to the popup menus
// and bars first, and offers the hooks toolbars, buttons and menus ask their frame.
// The MDI frame (PlxMDIFrameWnd.h) and the OLE in-place frames (PlxOleIPFrameWnd.h) offer the same
// hooks; toolkit code reaches whichever kind it has through PlxFrameHooks.h.
#pragma once

#include "platform/mfc/FrameWnd.h"
#include "toolkit/core/PlxFrameCore.h"

class CDC;
class CPlxToolbarButton;
class CPlxToolbarMenuButton;
struct TOOLINFOA;

// WinHelp's commands as the frames pass them on (no help viewer here: the frame only logs them).
#ifndef HELP_CONTEXT
#define HELP_CONTEXT 0x0001
#endif

class CPlxFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CPlxFrameWnd)

 public:
  CPlxFrameWnd();
  ~CPlxFrameWnd() override;

  // ---- the frame hooks, in the toolkit's slot order ----
  // A popup is about to show (after the core took it): FALSE refuses it.
  virtual BOOL OnBeforeShowPopupMenu(CPlxPopupMenu* pMenu);
  // A popup goes: the frame forgets it when it is the active one.
  virtual void OnClosePopupMenu(CPlxPopupMenu* pMenu);
  // Draws an image for a menu item that has none: TRUE when it drew one.
  virtual BOOL OnDrawMenuImage(CDC*, const CPlxToolbarMenuButton*, const CRect&) { return FALSE; }
  // A custom tooltip for a button of one of the frame's bars: TRUE when the frame filled pTI.
  virtual BOOL GetToolbarButtonToolTipText(CPlxToolbarButton*, TOOLINFOA*) { return FALSE; }
  // The tooltip text of a bar's button: TRUE when the frame gave one.
  virtual BOOL GetToolbarToolTipText(CPlxToolbarButton*, CString&) { return FALSE; }
  // Draws the logo strip of a popup that asked for one.
  virtual void OnDrawMenuLogo(CDC*, CPlxPopupMenu*, const CRect&) {}
  // A popup was torn off into a bar: FALSE refuses the bar.
  virtual BOOL OnTearOffMenu(CPlxPopupMenu*, CControlBar*) { return TRUE; }
  // A chevron's quick-customize list is filled: by default the bar's hidden resource buttons.
  virtual BOOL OnShowCustomizePane(CPlxPopupMenu* pMenu, UINT uiToolbarResId);

  // The popup menu opens (called by the popup): FALSE closes it again.
  virtual BOOL OnShowPopupMenu(CPlxPopupMenu* pMenu);

  // ---- framework overrides ----
  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnUpdateFrameMenu(HMENU hMenuAlt) override;
  // Help for a context id; 0 while the frame's own context-help loop runs asks it again.
  virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);

  CPlxFrameCore m_Impl;
  BOOL m_bContextHelp = FALSE;

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
  afx_msg LRESULT OnToolbarCreateNew(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnToolbarDelete(WPARAM wParam, LPARAM lParam);
  afx_msg void OnClose();
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg void OnDestroy();
  afx_msg void OnContextHelp();
  DECLARE_MESSAGE_MAP()
};
