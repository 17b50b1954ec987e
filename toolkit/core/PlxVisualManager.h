// CPlxVisualManager: the replaceable object every toolkit control draws through. At most one is
// current: made by the first GetInstance from the default class the application chose,
// replaced by SetDefaultManager and deleted by the toolkit clean-up. The base class draws the
// classic 3D look; the Office-XP and the Windows-XP managers override its slots.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Geometry.h"
#include "toolkit/core/PlxThemeWrapper.h"

class CPlxButton;
class CPlxPropList;

class CBrush;
class CFont;
class CControlBar;
class CImageList;
class CWnd;
class CPlxToolbarButton;
class CPlxToolbarMenuButton;
class CPlxPopupMenu;
class CPlxStatusBar;
struct CPlxStatusBarPaneInfo;
class CPlxTabWnd;
class CPlxHeaderCtrl;
class CPlxSpinButtonCtrl;
class CPlxTasksPane;
struct CPlxTasksGroup;
struct CPlxTask;
class CPlxCaptionBar;
struct CPlxCaptionButton;
class CPlxToolbarComboBoxButton;
class CPlxToolbarEditBoxButton;
class CSplitterWnd;
class CBitmap;

// Toolbar button states handed to the button slots.
enum PlxButtonState { PlxButtonNormal = 0, PlxButtonPressed = 1, PlxButtonHighlighted = 2 };

class CPlxVisualManager : public CPlxThemeWrapper {
  DECLARE_DYNCREATE(CPlxVisualManager)

 public:
  // A temporary manager is a drawing aid: it never becomes current and leaves the colours alone.
  explicit CPlxVisualManager(BOOL bTemporary = FALSE);
  ~CPlxVisualManager() override;

  // The current manager, made from the default class when there is none.
  static CPlxVisualManager* GetInstance();
  // Chooses the class of the next manager and deletes the current one; an unrelated class is
  // ignored.
  static void SetDefaultManager(CRuntimeClass* pRTI);
  // With bAutoDestroyOnly, only a manager GetInstance made is deleted.
  static void DestroyInstance(BOOL bAutoDestroyOnly = FALSE);
  // Repaints the application's main window, every toolbar and every sizing bar.
  static void RedrawAll();
  void SetLook2000(BOOL bLook2000 = TRUE);

  // Themed drawing: FALSE, with nothing drawn, when the theme it needs is not open.
  virtual BOOL DrawProgressBar(CDC* pDC, CPlxStatusBar* pStatusBar, CRect rectProgress, int nProgressTotal,
                               int nProgressCurr, COLORREF clrBar, COLORREF clrProgressBarDest,
                               COLORREF clrProgressText, BOOL bProgressText);
  virtual BOOL DrawComboDropButton(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsDropped,
                                   BOOL bIsHighlighted);
  virtual BOOL DrawComboBorder(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsDropped, BOOL bIsHighlighted);
  virtual BOOL DrawCheckBox(CDC* pDC, CRect rect, BOOL bHighlighted, BOOL bChecked, BOOL bEnabled);
  // -1 without the service, 0 for a theme other than "Luna", else 1 blue, 2 olive, 3 silver.
  virtual int GetWinXPColorScheme();
  virtual BOOL DrawRebarBackground(CDC* pDC, CControlBar* pBar, CRect rect);

  virtual BOOL IsWinXPThemeActive() const { return FALSE; }
  virtual void OnUpdateSystemColors() {}

  // ---- Property list: expand boxes, group colours, the control border and drop-down buttons ----
  virtual void OnDrawExpandingBox(CDC* pDC, CRect rect, BOOL bIsOpened, COLORREF colorBox);
  virtual COLORREF GetPropListGroupColor(CPlxPropList* pPropList);
  virtual COLORREF GetPropListGroupTextColor(CPlxPropList* pPropList);
  virtual void OnDrawControlBorder(CWnd* pWndCtrl);
  // ---- end of the property list's block ----

  // ---- Image strips and push buttons ----
  // The colour disabled 24 and 32-bit images are greyed towards; -1: the highlight colour.
  virtual COLORREF GetDisabledImageColor() const { return (COLORREF)-1; }
  // 67 per cent of it fills the shadow copies of image strips.
  virtual COLORREF GetImageShadowBaseColor() const;
  // Draws a push button with the desktop theme over its parent's background; FALSE, with
  // nothing drawn, when the theme is not open. The state flags are not read.
  virtual BOOL DrawPushButton(CDC* pDC, CRect rect, CPlxButton* pButton, UINT uiState);
  // What CPlxButton asks before drawing its classic frame: DrawPushButton.
  virtual BOOL DrawPushButtonWinXP(CDC* pDC, CRect rect, CPlxButton* pButton, UINT uiState);
  virtual void OnFillPushButtonBackground(CDC* pDC, CRect rect, CPlxButton* pButton);
  // Shrinks the rectangle by the frame drawn.
  virtual void OnDrawPushButtonBorder(CDC* pDC, CRect& rect, CPlxButton* pButton, UINT uiState);
  virtual void OnFillButtonParentBackground(CDC* pDC, CRect rect, CPlxButton* pButton);
  // Shrinks the rectangle by one pixel.
  virtual void OnDrawButtonFrame(CDC* pDC, CRect& rect, CPlxButton* pButton);
  virtual BOOL IsThemedButton(CPlxButton* /*pButton*/) const { return FALSE; }
  // ---- end of image strips and push buttons ----

  // Control bars.
  virtual void OnFillBarBackground(CDC* pDC, CControlBar* pBar, CRect rectClient, CRect rectClip,
                                   BOOL bNCArea = FALSE);
  virtual void OnDrawBarBorder(CDC* pDC, CControlBar* pBar, CRect& rect);
  virtual void OnDrawMenuBorder(CDC* pDC, CPlxPopupMenu* pMenu, CRect rect);
  virtual void OnDrawMenuShadow(CDC* pDC, const CRect& rectClient, const CRect& rectExclude, int nDepth,
                                int iMinBrightness, int iMaxBrightness, CBitmap* pBmpSaveBottom,
                                CBitmap* pBmpSaveRight, BOOL bRTL);
  virtual void OnDrawBarGripper(CDC* pDC, CRect rectGripper, BOOL bHorz, CControlBar* pBar);
  virtual void OnDrawSeparator(CDC* pDC, CControlBar* pBar, CRect rect, BOOL bIsHoriz);
  virtual void OnDrawMenuSystemButton(CDC* pDC, CRect rect, UINT uiSystemCommand, UINT nStyle,
                                      BOOL bHighlight);

  // Status bars.
  virtual COLORREF GetStatusBarPaneTextColor(CPlxStatusBar* pStatusBar, CPlxStatusBarPaneInfo* pPane);
  virtual void OnDrawStatusBarPaneBorder(CDC* pDC, CPlxStatusBar* pBar, CRect rectPane, UINT uiID,
                                         UINT nStyle);
  virtual void OnDrawStatusBarProgress(CDC* pDC, CPlxStatusBar* pStatusBar, CRect rectProgress,
                                       int nProgressTotal, int nProgressCurr, COLORREF clrBar,
                                       COLORREF clrProgressBarDest, COLORREF clrProgressText,
                                       BOOL bProgressText);
  virtual void OnDrawStatusBarSizeBox(CDC* pDC, CPlxStatusBar* pStatBar, CRect rectSizeBox);

  // Combo and edit fields.
  virtual void OnDrawComboDropButton(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsDropped,
                                     BOOL bIsHighlighted, CPlxToolbarComboBoxButton* pButton);
  virtual void OnDrawComboBorder(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsDropped, BOOL bIsHighlighted,
                                 CPlxToolbarComboBoxButton* pButton);
  virtual void OnDrawEditBorder(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsHighlighted,
                                CPlxToolbarEditBoxButton* pButton);
  virtual void OnDrawTearOffCaption(CDC* pDC, CRect rect, BOOL bIsActive);
  virtual COLORREF OnDrawControlBarCaption(CDC* pDC, CControlBar* pBar, BOOL bActive, CRect rectCaption,
                                           CRect rectButtons);
  // One caption button of a sizing bar: its glyph, framed raised when hot, sunken when pushed.
  virtual void OnDrawCaptionButton(CDC* pDC, CPlxCaptionButton* pButton, BOOL bHorz, BOOL bMaximized,
                                   BOOL bDisabled);

  // Toolbar and menu buttons.
  virtual void OnFillButtonInterior(CDC* pDC, CPlxToolbarButton* pButton, CRect rect, PlxButtonState state);
  virtual void OnDrawButtonBorder(CDC* pDC, CPlxToolbarButton* pButton, CRect rect, PlxButtonState state);
  virtual void OnDrawMenuButtonBorder(CDC* pDC, CPlxToolbarMenuButton* pButton, CRect rect,
                                      PlxButtonState state, BOOL bHorz);
  virtual void OnFillMenuImageRect(CDC* pDC, CPlxToolbarButton* pButton, CRect rect, PlxButtonState state);
  // Fills a highlighted menu item and may change its text colour.
  virtual void OnHighlightMenuItem(CDC* pDC, CPlxToolbarMenuButton* pButton, CRect rect, COLORREF& clrText);
  virtual COLORREF GetMenuButtonTextColor(CPlxToolbarMenuButton* pButton);
  virtual BOOL HasMenuImageStrip() const { return FALSE; }
  virtual COLORREF GetMenuItemTextColor(CPlxToolbarMenuButton* pButton, BOOL bHighlighted, BOOL bDisabled);
  virtual void OnHighlightRarelyUsedMenuItems(CDC* pDC, CRect rectRarelyUsed);
  virtual void OnDrawMenuCheck(CDC* pDC, CPlxToolbarMenuButton* pButton, CRect rect, BOOL bHighlight,
                               BOOL bIsRadio);
  virtual BOOL IsOwnerDrawnMenuCheck() const { return FALSE; }
  // A highlighted checked menu cell is framed as marked.
  virtual BOOL IsHighlightCheckedBorder() const { return m_bHighlightCheckedBorder; }
  virtual COLORREF GetToolbarButtonTextColor(CPlxToolbarButton* pButton, PlxButtonState state);
  virtual COLORREF GetHighlightedImageColor() const { return (COLORREF)-1; }
  virtual BOOL IsToolbarRoundShape(CControlBar*) const { return FALSE; }
  virtual COLORREF GetToolbarDisabledColor() const;
  virtual COLORREF GetCaptionBarTextColor(CPlxCaptionBar* pBar);

  // Panels, captions and frames.
  virtual void OnDrawRaisedPanel(CDC* pDC, CRect rect);
  virtual void OnFillCaptionPanel(CDC* pDC, CRect rect, COLORREF& clrText);

  // Tab windows.
  virtual void OnEraseTabsArea(CDC* pDC, CRect rect, const CPlxTabWnd* pTabWnd);
  virtual void OnDrawTab(CDC* pDC, CRect rectTab, int iTab, BOOL bIsActive, const CPlxTabWnd* pTabWnd);
  virtual void OnFillTab(CDC* pDC, CRect rectFill, CBrush* pbrFill, int iTab, BOOL bIsActive,
                         const CPlxTabWnd* pTabWnd);
  virtual void OnDrawTabContent(CDC* pDC, CRect rectTab, int iTab, BOOL bIsActive, const CPlxTabWnd* pTabWnd,
                                COLORREF clrText);
  // The tab window's scroll buttons; the tab window is null for a button outside one.
  virtual void OnEraseTabsButton(CDC* pDC, CRect rect, CPlxButton* pButton, const CPlxTabWnd* pTabWnd);
  // Shrinks the rectangle by the frame drawn.
  virtual void OnDrawTabsButtonBorder(CDC* pDC, CRect& rect, CPlxButton* pButton, UINT uiState,
                                      const CPlxTabWnd* pTabWnd);
  virtual void GetTabFrameColors(const CPlxTabWnd* pTabWnd, COLORREF& clrDark, COLORREF& clrBlack,
                                 COLORREF& clrHighlight, COLORREF& clrFace, COLORREF& clrDarkShadow,
                                 COLORREF& clrLight, CBrush*& pbrFace, CBrush*& pbrBlack);
  virtual BOOL OnEraseTabsFrame(CDC* pDC, CRect rect, const CPlxTabWnd* pTabWnd);
  virtual BOOL IsHighlight3DTabsOnHover() const { return FALSE; }
  virtual BOOL IsHighlightTabsOnHover() const { return FALSE; }

  // Outlook bar page captions: TRUE when the manager filled the button (the colour is then its
  // text colour) or drew its border; FALSE leaves the button's own look.
  virtual BOOL OnFillOutlookPageButton(CPlxButton* pButton, CDC* pDC, const CRect& rect, COLORREF& clrText);
  virtual BOOL OnDrawOutlookPageButtonBorder(CPlxButton* pButton, CDC* pDC, CRect& rect, UINT uiState);

  virtual COLORREF OnFillCommandsListBackground(CDC* pDC, CRect rect, BOOL bIsSelected = FALSE);
  virtual CSize GetButtonExtraBorder() const { return CSize(0, 0); }

  // Header controls.
  virtual void OnFillHeaderCtrlBackground(CPlxHeaderCtrl* pCtrl, CDC* pDC, CRect rect);
  virtual void OnDrawHeaderCtrlBorder(CPlxHeaderCtrl* pCtrl, CDC* pDC, CRect& rect, BOOL bIsPressed,
                                      BOOL bIsHighlighted);
  virtual void OnDrawHeaderCtrlSortArrow(CPlxHeaderCtrl* pCtrl, CDC* pDC, CRect& rect, BOOL bIsUp);

  // Tasks pane.
  virtual void OnFillTasksPaneBackground(CDC* pDC, CRect rectWorkArea);
  virtual void OnDrawTasksGroupCaption(CDC* pDC, CPlxTasksGroup* pGroup, BOOL bIsHighlighted = FALSE,
                                       BOOL bIsSelected = FALSE, BOOL bCanCollapse = FALSE);
  virtual void OnFillTasksGroupInterior(CDC*, CRect) {}
  virtual void OnDrawTasksGroupAreaBorder(CDC*, CRect, BOOL /*bSpecial*/ = FALSE, BOOL /*bNoTitle*/ = FALSE) {
  }
  virtual void OnDrawTasksGroupFrame(CDC* pDC, CRect rect, BOOL bSpecial = FALSE, BOOL bClosedTop = FALSE);
  virtual void OnDrawTask(CDC* pDC, CPlxTask* pTask, CImageList* pIcons, BOOL bIsHighlighted = FALSE,
                          BOOL bIsSelected = FALSE);
  virtual void OnDrawScrollButton(CDC* pDC, CRect rect, int nBorderSize, int iImage, BOOL bHilited);

  // Frames, splitters and dialogs.
  virtual void OnDrawInsetFrame(CDC* pDC, CWnd* pWnd, CRect rect);
  virtual void OnDrawFaceFrame(CDC* pDC, CWnd* pWnd, CRect rect);
  virtual void OnFillFace(CDC* pDC, CWnd* pWnd, CRect rect);
  virtual int GetShowAllMenuItemsHeight(CDC* pDC, const CSize& sizeDefault);
  virtual void OnDrawShowAllMenuItems(CDC* pDC, CRect rect, PlxButtonState state);
  virtual void OnDrawSpinButtons(CDC* pDC, CRect rectSpin, int nState, BOOL bOrientation,
                                 CPlxSpinButtonCtrl* pSpinCtrl);
  virtual void OnDrawSplitterBorder(CDC* pDC, CSplitterWnd* pSplitterWnd, CRect rect, CRect rectBorder);
  virtual void OnDrawCaptionBarText(CDC* pDC, CPlxCaptionBar* pBar, CRect rect, const CString& strText);
  virtual void OnFillDialogBackground(CDC* pDC, CRect rect);
  virtual void OnDrawPopupWindowBorder(CDC* pDC, CRect rect);
  virtual COLORREF OnFillMiniFrameCaption(CDC* pDC, CRect rectCaption, CWnd* pFrameWnd);

  virtual int GetMenuImageMargin() const { return 2; }
  virtual int GetPopupMenuOffset() const { return 1; }
  virtual BOOL IsToolbarCustomizeStyleAllowed() const { return TRUE; }
  virtual int GetCustomizeButtonMargin() const { return 2; }
  virtual BOOL IsOffsetPressedButton() const { return TRUE; }
  virtual BOOL GetPopupMenuFlag() const { return m_bPopupMenuFlag; }
  virtual int GetPopupMenuBorderSize() const { return m_nPopupMenuBorderSize; }
  virtual BOOL GetMenuButtonFlag() const { return m_bMenuButtonFlag; }
  virtual BOOL GetOutlookFlag() const { return m_bOutlookFlag; }
  virtual BOOL IsLook2000Allowed() const { return TRUE; }

  BOOL m_bLook2000 = FALSE;                // one gripper line instead of two
  int m_nMenuShadowDepth = 6;              // popup menus' shadow width
  BOOL m_bFlatMenuButtons = FALSE;         // menu buttons with an open popup get no border
  BOOL m_bShadowHighlightedImage = FALSE;  // a shadow under highlighted toolbar images
  BOOL m_bEmbossDisabledImage = TRUE;
  BOOL m_bFadeInactiveImage = FALSE;
  BOOL m_bHighlightCheckedBorder = FALSE;
  BOOL m_bShadeCheckedButtons = TRUE;
  BOOL m_bMenuButtonFlag = FALSE;
  BOOL m_bTemporary;
  // Tasks-pane spacings: vertical and horizontal margin, group vertical offset, group caption
  // height, its horizontal and vertical offsets, tasks horizontal offset, task icon offsets.
  int m_nVertMargin = 12, m_nHorzMargin = 12, m_nGroupVertOffset = 15, m_nGroupCaptionHeight = 25,
      m_nGroupCaptionHorzOffset = 13, m_nGroupCaptionVertOffset = 7, m_nTasksHorzOffset = 12,
      m_nTasksIconHorzOffset = 5, m_nTasksIconVertOffset = 4;
  BOOL m_bPopupMenuFlag = FALSE;
  int m_nPopupMenuBorderSize = 2;
  BOOL m_bOutlookFlag = TRUE;
  BOOL m_bFillTabs = FALSE;
  BOOL m_bTabDarkEdges = TRUE;
  BOOL m_bAutoDestroy = FALSE;
  BOOL m_bHotButtonFill = TRUE;  // hot and pressed toolbar buttons get a filled interior

 protected:
  // A tasks group's icon and bold label at the caption offsets; with bKeepRightWhenShort a
  // caption too short for its collapse button keeps its whole width for the label.
  void DrawTasksGroupLabel(CDC* pDC, CPlxTasksGroup* pGroup, COLORREF clr, BOOL bKeepRightWhenShort) const;

  // The theme state of a push button: 4 disabled, 3 pressed or checked, 2 hot, 1 normal.
  static int PushButtonThemeState(const CPlxButton* pButton);
  // Both extension flags of a menu button; a plain push button has neither.
  static BOOL IsMenuButtonFlagSet(const CPlxButton* pButton, BOOL bBoth);
  // The parent's client rectangle in the button's coordinates, filled as dialog background.
  void FillWithParentDialogBackground(CDC* pDC, CPlxButton* pButton);

  static CPlxVisualManager* m_pVisManager;
  static CRuntimeClass* m_pRTIDefault;
};

// The menu glyphs' cell size, loading the strip first.
CSize PlxMenuGlyphSize();
// A task's label in the font and colour, transparent, broken over lines where its pane asks.
void PlxDrawTaskText(CDC* pDC, const CPlxTask* pTask, const CRect& rectText, CFont* pFont, COLORREF clr);
