// CCmdUI: one user-interface item of a command (a menu item, a control, a status pane) during
// the update pass. The update handler of the command enables it, checks it or sets its text;
// DoUpdate runs the pass and, when asked, disables items whose command has no handler.
#pragma once

#include "platform/base/WinTypes.h"

class CCmdTarget;
class CMenu;
class CWnd;

class CCmdUI {
 public:
  CCmdUI() = default;
  virtual ~CCmdUI() = default;

  UINT m_nID = 0;
  UINT m_nIndex = 0;               // position of the menu item
  CMenu* m_pMenu = nullptr;        // the menu of the item, when it is one
  CMenu* m_pSubMenu = nullptr;     // the popup the item opens, when it does
  CMenu* m_pParentMenu = nullptr;  // the menu that holds the popup of a submenu pass
  CWnd* m_pOther = nullptr;        // the control (or bar) of the item, when it is not a menu item
  BOOL m_bEnableChanged = FALSE;
  BOOL m_bContinueRouting = FALSE;
  UINT m_nIndexMax = 0;  // number of items of the menu being walked

  virtual void Enable(BOOL bOn = TRUE);
  // 0 unchecked, 1 checked, 2 indeterminate (buttons only).
  virtual void SetCheck(int nCheck = 1);
  virtual void SetRadio(BOOL bOn = TRUE);
  virtual void SetText(LPCTSTR lpszText);
  // Lets the routing go on to the next target, as if this handler were not there.
  void ContinueRouting() { m_bContinueRouting = TRUE; }
  // Runs the update handler of m_nID on pTarget; with bDisableIfNoHndler an item whose handler
  // did not say (and whose command has no handler) is disabled. TRUE when a handler ran.
  BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};

namespace pictavo::mfc {

// An update pass that only records what the handler said, without touching any item (used to
// drop commands that became disabled before they are routed).
class TestCmdUI : public CCmdUI {
 public:
  BOOL m_bEnabled = TRUE;
  void Enable(BOOL bOn = TRUE) override {
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int) override {}
  void SetRadio(BOOL) override {}
  void SetText(LPCTSTR) override {}
};

}  // namespace pictavo::mfc
