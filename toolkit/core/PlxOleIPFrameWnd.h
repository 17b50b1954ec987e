// The toolkit's OLE in-place frames (server frames shown inside a container). There is no in-place
// activation on this desktop, so they behave as ordinary frames that embed the frame core, offer
// the frame hooks and, while active, stand as g_pTopLevelFrame for the toolkit's bars and menus.
#pragma once

#include "platform/mfc/OleFrames.h"
#include "toolkit/core/PlxFrameCore.h"

class CDC;
class CPlxToolbarButton;
class CPlxToolbarMenuButton;
struct TOOLINFOA;

#ifndef HELP_CONTEXT
#define HELP_CONTEXT 0x0001
#endif

// The most recently activated OLE in-place toolkit frame, or null; toolkit code asks it first.
extern CFrameWnd* g_pTopLevelFrame;

#define PLX_DECLARE_OLE_FRAME(ClassName, BaseName)                                                   \
  class ClassName : public BaseName {                                                                \
    DECLARE_DYNCREATE(ClassName)                                                                     \
                                                                                                     \
   public:                                                                                           \
    ClassName();                                                                                     \
    ~ClassName() override;                                                                           \
                                                                                                     \
    virtual BOOL OnBeforeShowPopupMenu(CPlxPopupMenu*) { return TRUE; }                              \
    virtual void OnClosePopupMenu(CPlxPopupMenu* pMenu);                                             \
    virtual BOOL OnDrawMenuImage(CDC*, const CPlxToolbarMenuButton*, const CRect&) { return FALSE; } \
    virtual BOOL GetToolbarButtonToolTipText(CPlxToolbarButton*, TOOLINFOA*) { return FALSE; }       \
    virtual BOOL GetToolbarToolTipText(CPlxToolbarButton*, CString&) { return FALSE; }               \
    virtual void OnDrawMenuLogo(CDC*, CPlxPopupMenu*, const CRect&) {}                               \
    virtual BOOL OnTearOffMenu(CPlxPopupMenu*, CControlBar*) { return TRUE; }                        \
    virtual BOOL OnShowCustomizePane(CPlxPopupMenu* pMenu, UINT uiToolbarResId);                     \
    virtual BOOL OnShowPopupMenu(CPlxPopupMenu* pMenu);                                              \
                                                                                                     \
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,    \
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;         \
    BOOL PreTranslateMessage(MSG* pMsg) override;                                                    \
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;                                           \
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);                                \
                                                                                                     \
    CPlxFrameCore m_Impl;                                                                            \
    BOOL m_bContextHelp = FALSE;                                                                     \
    HWND m_hwndLastTopLevelFrame = nullptr;                                                          \
                                                                                                     \
   protected:                                                                                        \
    afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);                               \
    afx_msg LRESULT OnToolbarCreateNew(WPARAM wParam, LPARAM lParam);                                \
    afx_msg LRESULT OnToolbarDelete(WPARAM wParam, LPARAM lParam);                                   \
    afx_msg void OnClose();                                                                          \
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);                          \
    afx_msg void OnDestroy();                                                                        \
    /* g_pTopLevelFrame goes back to the frame that held it before this one. */                      \
    void RestoreTopLevelFrame();                                                                     \
    DECLARE_MESSAGE_MAP()                                                                            \
  };

PLX_DECLARE_OLE_FRAME(CPlxOleIPFrameWnd, COleIPFrameWnd)
PLX_DECLARE_OLE_FRAME(CPlxOleDocIPFrameWnd, COleDocIPFrameWnd)

#undef PLX_DECLARE_OLE_FRAME
