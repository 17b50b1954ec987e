// CPlxMenuButton: a toolkit push button that drops down a popup menu. It draws a menu arrow at its
// right end, opens the menu on a click, Space, Down or Enter, keeps the command the user picked
// and tells its parent as an ordinary button click. The visual managers also read two flags that
// choose how its face and frame are drawn.
#pragma once

#include "toolkit/core/PlxButton.h"

class CPlxMenuButton : public CPlxButton {
  DECLARE_DYNAMIC(CPlxMenuButton)

 public:
  CPlxMenuButton() = default;

  CSize SizeToContent(BOOL bCalcOnly = FALSE) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // Shows the menu (nothing without one or while it is open); a chosen command is kept in
  // m_nMenuResult and reported to the parent as BN_CLICKED of this button.
  virtual void ShowMenu();

  BOOL IsMenuOpen() const { return m_bMenuIsOpen; }
  // Glyph width plus the gap kept free of the face's content: the area that opens the menu.
  static int ArrowAreaWidth();

  BOOL m_bMenuOnRight = FALSE;  // opens to the right, the arrow points right
  HMENU m_hMenu = nullptr;      // not owned
  UINT m_nMenuResult = 0;       // command chosen the last time the menu was shown, 0 for none
  BOOL m_bStayPressed = FALSE;  // looks pressed while the menu is open
  BOOL m_bPlainMenu = TRUE;     // FALSE: a toolkit popup menu when the context-menu manager exists
  BOOL m_bRightAlign = FALSE;   // a menu below is aligned to the button's right edge
  BOOL m_bSplit = FALSE;        // only the arrow area opens the menu
  BOOL m_bButtonMode = FALSE;   // mouse clicks are plain button clicks

  // First flag: the face is filled with the button face instead of the parent's background.
  BOOL m_bOpaqueFace = FALSE;
  // With the first flag too: a themed desktop draws the frame as a small caption button.
  BOOL m_bCaptionButtonLook = FALSE;

 protected:
  void OnDraw(CDC* pDC, const CRect& rect, UINT uiState) override;

  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg UINT OnGetDlgCode();
  DECLARE_MESSAGE_MAP()

  BOOL m_bKeyboardOpen = FALSE;  // opened by a key, or by a click the button consumed
  BOOL m_bMenuIsOpen = FALSE;
};
