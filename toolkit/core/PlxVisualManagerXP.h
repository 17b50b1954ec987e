// CPlxVisualManagerXP: the flat Office-XP look: light menus with a darker image strip, bars on a
// face-tinted background, hot items filled with a pale selection colour and framed in it, flat
// one-pixel frames and dotted grippers. Its palette is computed from the system colours on every
// colour change; the installed CPlxWinXPVisualManager derives from it.
#pragma once

#include "platform/mfc/GdiObjects.h"
#include "toolkit/core/PlxVisualManager.h"

class CPlxVisualManagerXP : public CPlxVisualManager {
  DECLARE_DYNCREATE(CPlxVisualManagerXP)

 public:
  explicit CPlxVisualManagerXP(BOOL bIsTemporary = FALSE);
  ~CPlxVisualManagerXP() override;

  void OnUpdateSystemColors() override;

  // Bars, menus and buttons.
  void OnFillBarBackground(CDC* pDC, CControlBar* pBar, CRect rectClient, CRect rectClip,
                           BOOL bNCArea = FALSE) override;
  void OnDrawBarBorder(CDC* pDC, CControlBar* pBar, CRect& rect) override;
  void OnDrawMenuBorder(CDC* pDC, CPlxPopupMenu* pMenu, CRect rect) override;
  void OnDrawMenuShadow(CDC* pDC, const CRect& rectClient, const CRect& rectExclude, int nDepth,
                        int iMinBrightness, int iMaxBrightness, CBitmap* pBmpSaveBottom,
                        CBitmap* pBmpSaveRight, BOOL bRTL) override;
  void OnDrawBarGripper(CDC* pDC, CRect rectGripper, BOOL bHorz, CControlBar* pBar) override;
  void OnDrawSeparator(CDC* pDC, CControlBar* pBar, CRect rect, BOOL bIsHoriz) override;
  void OnDrawMenuSystemButton(CDC* pDC, CRect rect, UINT uiSystemCommand, UINT nStyle,
                              BOOL bHighlight) override;
  void OnDrawStatusBarPaneBorder(CDC* pDC, CPlxStatusBar* pBar, CRect rectPane, UINT uiID,
                                 UINT nStyle) override;
  void OnDrawTearOffCaption(CDC* pDC, CRect rect, BOOL bIsActive) override;
  void OnFillButtonInterior(CDC* pDC, CPlxToolbarButton* pButton, CRect rect, PlxButtonState state) override;
  void OnDrawButtonBorder(CDC* pDC, CPlxToolbarButton* pButton, CRect rect, PlxButtonState state) override;
  void OnDrawMenuButtonBorder(CDC* pDC, CPlxToolbarMenuButton* pButton, CRect rect, PlxButtonState state,
                              BOOL bHorz) override;
  void OnHighlightMenuItem(CDC* pDC, CPlxToolbarMenuButton* pButton, CRect rect, COLORREF& clrText) override;
  COLORREF GetMenuButtonTextColor(CPlxToolbarMenuButton* pButton) override;
  void OnHighlightRarelyUsedMenuItems(CDC* pDC, CRect rectRarelyUsed) override;
  COLORREF GetToolbarButtonTextColor(CPlxToolbarButton* pButton, PlxButtonState state) override;
  COLORREF OnFillCommandsListBackground(CDC* pDC, CRect rect, BOOL bIsSelected = FALSE) override;

  // Controls, tabs and panels.
  void OnDrawComboDropButton(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsDropped, BOOL bIsHighlighted,
                             CPlxToolbarComboBoxButton* pButton) override;
  void OnDrawComboBorder(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsDropped, BOOL bIsHighlighted,
                         CPlxToolbarComboBoxButton* pButton) override;
  void OnDrawEditBorder(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsHighlighted,
                        CPlxToolbarEditBoxButton* pButton) override;
  void OnDrawSpinButtons(CDC* pDC, CRect rectSpin, int nState, BOOL bOrientation,
                         CPlxSpinButtonCtrl* pSpinCtrl) override;
  COLORREF OnDrawControlBarCaption(CDC* pDC, CControlBar* pBar, BOOL bActive, CRect rectCaption,
                                   CRect rectButtons) override;
  void OnDrawRaisedPanel(CDC* pDC, CRect rect) override;
  void OnFillCaptionPanel(CDC* pDC, CRect rect, COLORREF& clrText) override;
  void OnFillDialogBackground(CDC* pDC, CRect rect) override;
  void OnDrawPopupWindowBorder(CDC* pDC, CRect rect) override;
  COLORREF OnFillMiniFrameCaption(CDC* pDC, CRect rectCaption, CWnd* pFrameWnd) override;
  void OnDrawInsetFrame(CDC* pDC, CWnd* pWnd, CRect rect) override;
  void OnDrawFaceFrame(CDC* pDC, CWnd* pWnd, CRect rect) override;
  void OnEraseTabsArea(CDC* pDC, CRect rect, const CPlxTabWnd* pTabWnd) override;
  void OnDrawTab(CDC* pDC, CRect rectTab, int iTab, BOOL bIsActive, const CPlxTabWnd* pTabWnd) override;
  void OnFillTab(CDC* pDC, CRect rectFill, CBrush* pbrFill, int iTab, BOOL bIsActive,
                 const CPlxTabWnd* pTabWnd) override;
  void OnEraseTabsButton(CDC* pDC, CRect rect, CPlxButton* pButton, const CPlxTabWnd* pTabWnd) override;
  void OnDrawTabsButtonBorder(CDC* pDC, CRect& rect, CPlxButton* pButton, UINT uiState,
                              const CPlxTabWnd* pTabWnd) override;
  void OnFillPushButtonBackground(CDC* pDC, CRect rect, CPlxButton* pButton) override;
  void OnDrawPushButtonBorder(CDC* pDC, CRect& rect, CPlxButton* pButton, UINT uiState) override;
  BOOL OnFillOutlookPageButton(CPlxButton* pButton, CDC* pDC, const CRect& rect, COLORREF& clrText) override;
  BOOL OnDrawOutlookPageButtonBorder(CPlxButton* pButton, CDC* pDC, CRect& rect, UINT uiState) override;
  void OnFillButtonParentBackground(CDC* pDC, CRect rect, CPlxButton* pButton) override;
  void OnDrawButtonFrame(CDC* pDC, CRect& rect, CPlxButton* pButton) override;
  void OnDrawTasksGroupCaption(CDC* pDC, CPlxTasksGroup* pGroup, BOOL bIsHighlighted = FALSE,
                               BOOL bIsSelected = FALSE, BOOL bCanCollapse = FALSE) override;
  void OnDrawTasksGroupAreaBorder(CDC* pDC, CRect rect, BOOL bSpecial = FALSE,
                                  BOOL bNoTitle = FALSE) override;
  void OnDrawTasksGroupFrame(CDC*, CRect, BOOL = FALSE, BOOL = FALSE) override {}
  void OnDrawTask(CDC* pDC, CPlxTask* pTask, CImageList* pIcons, BOOL bIsHighlighted = FALSE,
                  BOOL bIsSelected = FALSE) override;
  void OnDrawScrollButton(CDC* pDC, CRect rect, int nBorderSize, int iImage, BOOL bHilited) override;

  BOOL HasMenuImageStrip() const override { return TRUE; }
  COLORREF GetImageShadowBaseColor() const override { return m_clrHotFill; }
  int GetMenuImageMargin() const override { return 3; }
  int GetPopupMenuOffset() const override { return 0; }
  virtual BOOL IsOptionsFlag4Allowed() const { return FALSE; }
  BOOL IsLook2000Allowed() const override { return FALSE; }

  // Fills with the bar fill and frames in the menu frame colour.
  virtual void OnFillMenuItemFrame(CDC* pDC, CRect rect);
  virtual void CreateDotBrushes();
  // Grows the rectangle of a menu button toward its open popup; the join depth (0, 1 or 4).
  virtual int JoinMenuButtonToPopup(CPlxToolbarMenuButton* pButton, CRect& rect);
  // Every hot, pressed, checked or selected fill goes through here.
  virtual void FillHighlightedArea(CDC* pDC, CRect rect, CBrush* pBrush, CPlxToolbarButton* pButton);
  // The base of the whole palette.
  virtual COLORREF GetWindowColor() const;

  // ---- Property list ----
  COLORREF GetPropListGroupColor(CPlxPropList* pPropList) override;
  COLORREF GetPropListGroupTextColor(CPlxPropList* pPropList) override;
  // ---- end of the property list's block ----

  CBrush m_brDotsHorz, m_brDotsVert;
  COLORREF m_clrBarFill = 0;
  CBrush m_brBarFill;
  COLORREF m_clrRareStrip = 0;
  CBrush m_brRareStrip;
  COLORREF m_clrMenuFill = 0;
  CBrush m_brMenuFill;
  COLORREF m_clrHotFill = 0;
  CBrush m_brHotFill;
  COLORREF m_clrPressedFill = 0;
  CBrush m_brPressedFill;
  COLORREF m_clrCheckedFill = 0;
  CBrush m_brCheckedFill;
  COLORREF m_clrTabTextDim = 0;
  CBrush m_brTabArea;
  CPen m_penSeparatorLine;
  COLORREF m_clrPaneFrame = 0;
  COLORREF m_clrMenuFrame = 0;
  COLORREF m_clrHotFrame = 0;
  CPen m_penHotFrame;
  COLORREF m_clrPressedFrame = (COLORREF)-1;
  COLORREF m_clrGripDots = 0;
  BOOL m_bJoinMenuToParent = TRUE;
  COLORREF m_clrShadowTint = (COLORREF)-1;
  BOOL m_bDroppedButtonShadow = TRUE;
  BOOL m_bLastTabSeparator = TRUE;
  // The colours the last update chose for the tab area and separators.
  COLORREF m_clrTabArea = 0;
  COLORREF m_clrSeparator = 0;

 protected:
  // A one-pixel frame in the hot-frame colour.
  void DrawHotFrame(CDC* pDC, const CRect& rect) const;
};
