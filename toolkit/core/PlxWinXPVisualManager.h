// CPlxWinXPVisualManager: the manager the program installs. With the visual-styles service active
// it draws bars, buttons, menus, tabs, headers, spins and the tasks pane with the theme's parts
// and states; without it (and on this desktop the service is absent) every slot falls back to
// the Office-XP look, a few to the classic one.
#pragma once

#include "toolkit/core/PlxVisualManagerXP.h"

class CPlxWinXPVisualManager : public CPlxVisualManagerXP {
  DECLARE_DYNCREATE(CPlxWinXPVisualManager)

 public:
  explicit CPlxWinXPVisualManager(BOOL bTemporary = FALSE);

  BOOL IsWinXPThemeActive() const override { return m_hThemeWindow != nullptr; }
  void OnUpdateSystemColors() override;

  void OnFillBarBackground(CDC* pDC, CControlBar* pBar, CRect rectClient, CRect rectClip,
                           BOOL bNCArea = FALSE) override;
  void OnDrawBarBorder(CDC* pDC, CControlBar* pBar, CRect& rect) override;
  void OnDrawMenuBorder(CDC* pDC, CPlxPopupMenu* pMenu, CRect rect) override;
  void OnDrawBarGripper(CDC* pDC, CRect rectGripper, BOOL bHorz, CControlBar* pBar) override;
  void OnDrawSeparator(CDC* pDC, CControlBar* pBar, CRect rect, BOOL bIsHoriz) override;
  void OnDrawMenuSystemButton(CDC* pDC, CRect rect, UINT uiSystemCommand, UINT nStyle,
                              BOOL bHighlight) override;
  void OnDrawStatusBarPaneBorder(CDC* pDC, CPlxStatusBar* pBar, CRect rectPane, UINT uiID,
                                 UINT nStyle) override;
  void OnDrawStatusBarProgress(CDC* pDC, CPlxStatusBar* pStatusBar, CRect rectProgress, int nProgressTotal,
                               int nProgressCurr, COLORREF clrBar, COLORREF clrProgressBarDest,
                               COLORREF clrProgressText, BOOL bProgressText) override;
  void OnDrawStatusBarSizeBox(CDC* pDC, CPlxStatusBar* pStatBar, CRect rectSizeBox) override;
  void OnDrawComboDropButton(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsDropped, BOOL bIsHighlighted,
                             CPlxToolbarComboBoxButton* pButton) override;
  void OnDrawComboBorder(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsDropped, BOOL bIsHighlighted,
                         CPlxToolbarComboBoxButton* pButton) override;
  void OnDrawEditBorder(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsHighlighted,
                        CPlxToolbarEditBoxButton* pButton) override;
  void OnFillButtonInterior(CDC* pDC, CPlxToolbarButton* pButton, CRect rect, PlxButtonState state) override;
  void OnDrawButtonBorder(CDC* pDC, CPlxToolbarButton* pButton, CRect rect, PlxButtonState state) override;
  void OnDrawMenuButtonBorder(CDC* pDC, CPlxToolbarMenuButton* pButton, CRect rect, PlxButtonState state,
                              BOOL bHorz) override;
  void OnFillMenuImageRect(CDC* pDC, CPlxToolbarButton* pButton, CRect rect, PlxButtonState state) override;
  COLORREF GetMenuButtonTextColor(CPlxToolbarMenuButton* pButton) override;
  BOOL HasMenuImageStrip() const override { return m_bKeepXPMenus; }
  void OnHighlightMenuItem(CDC* pDC, CPlxToolbarMenuButton* pButton, CRect rect, COLORREF& clrText) override;
  void OnHighlightRarelyUsedMenuItems(CDC* pDC, CRect rectRarelyUsed) override;
  COLORREF GetToolbarButtonTextColor(CPlxToolbarButton* pButton, PlxButtonState state) override;
  void OnEraseTabsArea(CDC* pDC, CRect rect, const CPlxTabWnd* pTabWnd) override;
  void OnDrawTab(CDC* pDC, CRect rectTab, int iTab, BOOL bIsActive, const CPlxTabWnd* pTabWnd) override;
  void OnEraseTabsButton(CDC* pDC, CRect rect, CPlxButton* pButton, const CPlxTabWnd* pTabWnd) override;
  void OnDrawTabsButtonBorder(CDC* pDC, CRect& rect, CPlxButton* pButton, UINT uiState,
                              const CPlxTabWnd* pTabWnd) override;
  void OnFillPushButtonBackground(CDC* pDC, CRect rect, CPlxButton* pButton) override;
  void OnDrawPushButtonBorder(CDC* pDC, CRect& rect, CPlxButton* pButton, UINT uiState) override;
  BOOL OnFillOutlookPageButton(CPlxButton* pButton, CDC* pDC, const CRect& rect, COLORREF& clrText) override;
  BOOL OnDrawOutlookPageButtonBorder(CPlxButton* pButton, CDC* pDC, CRect& rect, UINT uiState) override;
  void OnFillButtonParentBackground(CDC* pDC, CRect rect, CPlxButton* pButton) override;
  void OnDrawButtonFrame(CDC* pDC, CRect& rect, CPlxButton* pButton) override;
  BOOL IsThemedButton(CPlxButton* pButton) const override;
  BOOL OnEraseTabsFrame(CDC* pDC, CRect rect, const CPlxTabWnd* pTabWnd) override;
  BOOL IsHighlightTabsOnHover() const override { return TRUE; }
  COLORREF OnFillCommandsListBackground(CDC* pDC, CRect rect, BOOL bIsSelected = FALSE) override;
  CSize GetButtonExtraBorder() const override;
  void OnDrawHeaderCtrlBorder(CPlxHeaderCtrl* pCtrl, CDC* pDC, CRect& rect, BOOL bIsPressed,
                              BOOL bIsHighlighted) override;
  void OnDrawHeaderCtrlSortArrow(CPlxHeaderCtrl* pCtrl, CDC* pDC, CRect& rect, BOOL bIsUp) override;
  void OnFillTasksPaneBackground(CDC* pDC, CRect rectWorkArea) override;
  void OnDrawTasksGroupCaption(CDC* pDC, CPlxTasksGroup* pGroup, BOOL bIsHighlighted = FALSE,
                               BOOL bIsSelected = FALSE, BOOL bCanCollapse = FALSE) override;
  void OnDrawTasksGroupAreaBorder(CDC* pDC, CRect rect, BOOL bSpecial = FALSE,
                                  BOOL bNoTitle = FALSE) override;
  void OnDrawTasksGroupFrame(CDC* pDC, CRect rect, BOOL bSpecial = FALSE, BOOL bClosedTop = FALSE) override;
  void OnDrawTask(CDC* pDC, CPlxTask* pTask, CImageList* pIcons, BOOL bIsHighlighted = FALSE,
                  BOOL bIsSelected = FALSE) override;
  void OnDrawScrollButton(CDC* pDC, CRect rect, int nBorderSize, int iImage, BOOL bHilited) override;
  void OnDrawSpinButtons(CDC* pDC, CRect rectSpin, int nState, BOOL bOrientation,
                         CPlxSpinButtonCtrl* pSpinCtrl) override;

  int GetMenuImageMargin() const override { return 3; }
  int GetPopupMenuOffset() const override { return !m_bKeepXPMenus; }
  BOOL IsToolbarCustomizeStyleAllowed() const override { return FALSE; }
  BOOL IsLook2000Allowed() const override { return FALSE; }

  BOOL m_bKeepXPMenus = FALSE;  // menus keep the Office-XP look even with themes
  BOOL m_bTasksUnread = TRUE;
  static BOOL m_bThemedTabs;  // themed tabs; nothing in the program sets it

 private:
  BOOL ThemedTabs(const CPlxTabWnd* pTabWnd, BOOL bAllowRounded) const;
};
