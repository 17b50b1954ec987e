// MDI frames: CMDIFrameWnd holds the MDI client (platform/user/Mdi.h) in place of a view and
// routes commands to the active child first; CMDIChildWnd is a document frame inside the
// client, with the shared menu of its template shown on the main frame while it is active.
// Closing a child goes through the client (WM_MDIDESTROY), so the next child is activated and
// the Window menu follows.
#pragma once

#include "platform/mfc/FrameWnd.h"
#include "platform/user/Mdi.h"

// WM_MDIACTIVATE as a child sees it: activated or not, and the two windows.
#define ON_WM_MDIACTIVATE()                                                                                 \
  PICTAVO_WM_ENTRY(WM_MDIACTIVATE, self->OnMDIActivate(reinterpret_cast<HWND>(call.lParam) == self->m_hWnd, \
                                                       PICTAVO_WND(call.lParam), PICTAVO_WND(call.wParam));)

// The id of the first MDI child (and of its Window menu entry).
#define AFX_IDM_FIRST_MDICHILD 0xFF00

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMDIFrameWnd)

 public:
  CMDIFrameWnd();
  ~CMDIFrameWnd() override;

  // The client, made with the Window menu of the frame's menu and AFX_IDM_FIRST_MDICHILD.
  virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu);
  // The pop-up of the menu bar that holds the Window commands (ID_WINDOW_NEW ..
  // ID_WINDOW_SPLIT and the rest up to 0xE13F), searched from the right; null when none does.
  virtual HMENU GetWindowMenuPopup(HMENU hMenuBar);

  CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
  void MDIActivate(CWnd* pWndActivate);
  void MDINext();
  void MDIPrev();
  void MDIMaximize(CWnd* pWnd);
  void MDIRestore(CWnd* pWnd);
  void MDICascade(int nType = 0);
  void MDITile(int nType = MDITILE_HORIZONTAL);
  void MDIIconArrange();
  // The frame's menu and Window menu through the client; the previous frame menu.
  CMenu* MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu);

  CFrameWnd* GetActiveFrame() override;
  CDocument* GetActiveDocument() override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  void OnUpdateFrameMenu(HMENU hMenuAlt) override;
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  HWND m_hWndMDIClient = nullptr;

 protected:
  afx_msg void OnClose();
  afx_msg void OnWindowCascade();
  afx_msg void OnWindowTileHorz();
  afx_msg void OnWindowTileVert();
  afx_msg void OnWindowArrange();
  afx_msg void OnWindowNew();
  afx_msg void OnUpdateWindowCommand(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMDIChildWnd)

 public:
  CMDIChildWnd();
  ~CMDIChildWnd() override;

  // A child of the MDI frame's client (the main window when pParentWnd is null).
  virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                      DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                      const RECT& rect = rectDefault, CMDIFrameWnd* pParentWnd = nullptr,
                      CCreateContext* pContext = nullptr);
  BOOL LoadFrame(UINT nIDResource,
                 DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  BOOL DestroyWindow() override;

  CMDIFrameWnd* GetMDIFrame() const;
  void MDIDestroy();
  void MDIActivate();
  void MDIMaximize();
  void MDIRestore();
  // The menu and accelerators the main frame shows while this child is active.
  void SetHandles(HMENU hMenu, HACCEL hAccel);

  void ActivateFrame(int nCmdShow = -1) override;
  // Activating: the shared menu (else hMenuAlt, else the frame's own) goes to the main frame;
  // deactivating with no child taking over: the frame's own menu.
  virtual void OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt);
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  HMENU m_hMenuShared = nullptr;  // the template's; not owned

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  DECLARE_MESSAGE_MAP()
};
