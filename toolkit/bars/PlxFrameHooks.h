// The toolkit frame as toolbars and buttons reach it: the frame core's user-toolbar range and the
// frame's overridable hooks. The rest of the frame core (menu bar, tear-off bars, popup routing)
// comes with the frames' own work; an application derives its frame from CPlxFrameWnd.
#pragma once

#include "platform/mfc/FrameWnd.h"

class CControlBar;
class CDC;
class CPlxPopupMenu;
class CPlxToolbarButton;
class CPlxToolbarMenuButton;
class CPlxToolBar;
struct TOOLINFOA;

class CPlxFrameCore {
 public:
  // The control ids [first, last] are bars the user made; (UINT)-1 is no range.
  BOOL EnableUserDefinedToolbars(UINT uiFirst, UINT uiLast);
  BOOL IsUserDefinedToolbar(const CControlBar* pBar) const;

  UINT m_uiUserToolbarFirst = (UINT)-1;
  UINT m_uiUserToolbarLast = (UINT)-1;
};

class CPlxFrameWnd : public CFrameWnd {
  DECLARE_DYNAMIC(CPlxFrameWnd)

 public:
  // A custom tooltip for a button of one of the frame's bars: TRUE when the frame filled pTI.
  virtual BOOL GetToolbarButtonToolTipText(CPlxToolbarButton*, TOOLINFOA*) { return FALSE; }
  // The frame core's choice of tooltip text for a bar's button: TRUE when it gave one.
  virtual BOOL OnGetToolbarButtonText(CPlxToolBar*, CPlxToolbarButton*, CString&) { return FALSE; }
  // Draws an image for a menu item that has none: TRUE when it drew one.
  virtual BOOL OnDrawMenuImage(CDC*, const CPlxToolbarMenuButton*, const CRect&) { return FALSE; }
  // A popup menu opens: it becomes the frame's active popup; FALSE refuses it.
  virtual BOOL OnShowPopupMenu(CPlxPopupMenu* pMenu);
  // A popup menu goes: the frame forgets it when it is the active one.
  virtual void OnClosePopupMenu(CPlxPopupMenu* pMenu);
  // Draws the logo strip of a popup that asked for one: TRUE when it drew.
  virtual BOOL OnDrawMenuLogo(CDC*, CPlxPopupMenu*, const CRect&) { return FALSE; }
  // A popup was torn off into a bar: FALSE refuses the bar.
  virtual BOOL OnTearOffMenu(CPlxPopupMenu*, CControlBar*) { return TRUE; }

  CPlxFrameCore m_Impl;
};

// The most recently activated OLE in-place toolkit frame; none in this program.
extern CFrameWnd* g_pTopLevelFrame;

// The toolkit frame to ask for a window: g_pTopLevelFrame, else the window's top-level frame
// (the thread's main window without a window); null when that is no toolkit frame.
CPlxFrameWnd* PlxGetToolkitFrame(const CWnd* pWnd);
