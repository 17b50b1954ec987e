// CPlxToolbarButton and the kinds the visual managers tell apart by run-time class: what a
// manager reads of a button to draw it (command, style bits, rectangle, the bar it sits on, the
// locked flag, whether its popup is open). Layout, input and persistence come with the toolbars.
#pragma once

#include "platform/base/Object.h"
#include "platform/mfc/Wnd.h"

// Toolbar button style bits of the class library.
#define TBBS_BUTTON 0x0000u
#define TBBS_SEPARATOR 0x0001u
#define TBBS_CHECKBOX 0x0002u
#define TBBS_CHECKED 0x00010000u
#define TBBS_PRESSED 0x00020000u
#define TBBS_DISABLED 0x00040000u
#define TBBS_INDETERMINATE 0x00100000u
#define TBBS_MARKED 0x00400000u

class CPlxPopupMenu;

class CPlxToolbarButton : public CObject {
  DECLARE_DYNCREATE(CPlxToolbarButton)

 public:
  CPlxToolbarButton() = default;
  CPlxToolbarButton(UINT uiID, UINT nStyle) : m_nID(uiID), m_nStyle(nStyle) {}

  // TRUE while the button's popup is open; plain buttons have none.
  virtual BOOL IsDroppedDown() const { return FALSE; }
  // FALSE for commands that cannot be customised: MRU files, windows, system commands and the
  // other reserved ranges.
  virtual BOOL IsEditable() const;

  UINT m_nID = 0;
  UINT m_nStyle = TBBS_BUTTON;
  CRect m_rect;
  BOOL m_bLocked = FALSE;
  CWnd* m_pWndParent = nullptr;  // the bar it sits on, borrowed
};

// A button that opens a popup menu: menu-bar items and the items of popup menus.
class CPlxToolbarMenuButton : public CPlxToolbarButton {
  DECLARE_DYNCREATE(CPlxToolbarMenuButton)

 public:
  CPlxToolbarMenuButton() = default;
  CPlxToolbarMenuButton(UINT uiID, UINT nStyle) : CPlxToolbarButton(uiID, nStyle) {}

  BOOL IsDroppedDown() const override { return m_pPopupMenu != nullptr; }

  CPlxPopupMenu* m_pPopupMenu = nullptr;  // the open popup, borrowed
  BOOL m_bShowDownArrow = FALSE;
};

// The "show all commands" item at the foot of a shortened popup menu.
class CPlxShowAllButton : public CPlxToolbarMenuButton {
  DECLARE_DYNCREATE(CPlxShowAllButton)
};
