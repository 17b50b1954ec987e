// The toolkit's dialog bases. A toolkit popup menu opened from a dialog or a property page has no
// toolkit frame to close it on outside clicks and feed it the keys, so each base embeds a dialog
// core that does that job: it registers the popup the dialog shows, holds a thread mouse hook
// while the popup is open, sends keys to the popup, closes it on clicks outside, and keeps the
// dialog's caption active while its own floating windows are. CPlxDialog can also paint a
// background colour or image; CPlxPropertyPage tells the toolkit property sheet when it becomes
// active. UI thread only.
#pragma once

#include "platform/comctl/TreeView.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/PropertySheet.h"
#include "platform/user/Hooks.h"

class CPlxPopupMenu;

#ifndef WF_STAYACTIVE
#define WF_STAYACTIVE 0x0020  // the window's caption stays active while its floating windows are
#endif
#ifndef FS_SYNCACTIVE
#define FS_SYNCACTIVE 0x0040  // WM_FLOATSTATUS answer of a window that keeps its owner's caption active
#endif

class CPlxDialogCore {
 public:
  explicit CPlxDialogCore(CWnd* pOwnerWnd) : m_pOwnerWnd(pOwnerWnd) {}
  // Forgets the hook ownership when it is this core's (the hook itself goes with the popup).
  virtual ~CPlxDialogCore();
  CPlxDialogCore(const CPlxDialogCore&) = delete;
  CPlxDialogCore& operator=(const CPlxDialogCore&) = delete;

  // The popup the owner shows (installs the mouse hook), or null when it closed (removes it).
  void SetActiveMenu(CPlxPopupMenu* pMenu);
  // A click at a screen point while the popup is open: TRUE when the click was consumed.
  BOOL HandleOutsideClick(CPoint point);
  // The owner's PreTranslateMessage: TRUE when the message was consumed.
  BOOL FilterMessage(MSG* pMsg);
  // The owner's OnCommand: TRUE when the command was consumed.
  BOOL FilterCommand(WPARAM wParam, LPARAM lParam);
  // Caption rules of WM_ACTIVATE and WM_NCACTIVATE.
  void UpdateStayActive(UINT nState, CWnd* pWndOther);
  void AdjustNcActive(BOOL& bActive);
  // Forgets the hook owner when it is this core.
  void ReleaseHookOwner();
  // The owner's window is going: closes the popup it registered (which would otherwise call the
  // gone dialog back when it closes) and removes the hook.
  void CloseActiveMenu();
  // The popup registered by this core's owner, or null.
  CPlxPopupMenu* GetActiveMenu() const;

  CWnd* m_pOwnerWnd;  // not owned

  static HHOOK s_hPopupHook;            // the thread mouse hook, null when none
  static CPlxDialogCore* s_pHookOwner;  // the core the hook reports to, null when none

 protected:
  static LRESULT CALLBACK PopupMouseHook(int nCode, WPARAM wParam, LPARAM lParam);
  // The frame core's rule for a move while a popup is open: TRUE eats it.
  static BOOL ProcessMouseMove(CPoint ptScreen);
};

class CPlxDialog : public CDialog {
  DECLARE_DYNAMIC(CPlxDialog)

 public:
  CPlxDialog();
  explicit CPlxDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  explicit CPlxDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
  ~CPlxDialog() override;

  // Called by the popup menu when it opens and closes with this dialog as its message window.
  void SetActiveMenu(CPlxPopupMenu* pMenu) { m_core.SetActiveMenu(pMenu); }
  CPlxPopupMenu* GetActiveMenu() const { return m_core.GetActiveMenu(); }

  // Where the background image goes (m_nBackImagePlace).
  enum {
    BackImageTile = 0,
    BackImageTopLeft = 1,
    BackImageTopRight = 2,
    BackImageBottomLeft = 3,
    BackImageBottomRight = 4
  };
  // The background colour (CLR_NONE: none) and image; the dialog deletes the image with its
  // window when bOwns.
  void SetBackgroundColor(COLORREF color, BOOL bRepaint = TRUE);
  void SetBackgroundImage(HBITMAP hBitmap, int nPlace = BackImageTile, BOOL bOwns = FALSE,
                          BOOL bRepaint = TRUE);

  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  HBITMAP m_hBackImage = nullptr;
  CSize m_sizeBackImage{0, 0};
  CBrush m_brBackground;
  int m_nBackImagePlace = -1;
  BOOL m_bOwnsBackImage = FALSE;
  CPlxDialogCore m_core{this};

 protected:
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnDestroy();
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnSysColorChange();
  afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
  DECLARE_MESSAGE_MAP()
};

class CPlxPropertyPage : public CPropertyPage {
  DECLARE_DYNCREATE(CPlxPropertyPage)

 public:
  CPlxPropertyPage();
  explicit CPlxPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
  explicit CPlxPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption = 0);
  ~CPlxPropertyPage() override;

  void SetActiveMenu(CPlxPopupMenu* pMenu) { m_core.SetActiveMenu(pMenu); }
  CPlxPopupMenu* GetActiveMenu() const { return m_core.GetActiveMenu(); }

  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnSetActive() override;

  CPlxDialogCore m_core{this};
  void* m_pNavCategory = nullptr;  // the page's category in the toolkit sheet's tree
  int m_iNavImage = -1;
  int m_iNavSelImage = -1;
  HTREEITEM m_hNavItem = nullptr;

 protected:
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()
};
