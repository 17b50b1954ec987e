// CPlxPopupMenuBar: the toolbar inside a popup menu. It fills itself from a native menu (hiding
// rarely used commands behind the show-all item), lays its items out in vertical columns, runs a
// chosen command and closes the chain, and drives the keyboard, the hot item and the delayed
// opening and closing of sub-menus. CPlxShowAllButton is the show-all item at a short menu's foot.
//
//   PlxPopupMenuBar.cpp      filling, export, size, layout, choosing, the show-all item
//   PlxPopupMenuBarInput.cpp keys, hot item, sub-menu timers, mouse along the chain
#pragma once

#include "platform/base/Array.h"
#include "platform/base/Map.h"
#include "toolkit/bars/PlxToolBar.h"

class CPlxPopupMenu;

class CPlxPopupMenuBar : public CPlxToolBar {
  DECLARE_SERIAL(CPlxPopupMenuBar)

 public:
  CPlxPopupMenuBar();
  ~CPlxPopupMenuBar() override;

  int OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
  BOOL IsButtonExtraSizeAvailable() const override { return FALSE; }
  void SetButtonStyle(int nIndex, UINT nStyle) override;
  BOOL TranslateChar(UINT) override { return FALSE; }
  BOOL OnSetDefaultButtonText(CPlxToolbarButton* pButton) override;
  void OnFillBackground(CDC* pDC) override;
  CSize CalcSize(BOOL bVertDock) override;
  void OnChangeHot(int iHot) override;
  void DrawDragMarker(CDC* pDC) override;
  CWnd* GetCommandTarget() const override;
  int OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
  int FindDropIndex(const CPoint point, CRect& rectDrag) const override;
  void AdjustLocations() override;
  BOOL OnSendCommand(const CPlxToolbarButton* pButton) override;
  BOOL AllowHighlightDisabled() const override { return m_bHighlightDisabledItems; }
  BOOL AllowShowOnList() const override { return FALSE; }
  void DrawSeparator(CDC* pDC, const CRect& rect, BOOL bHorz) override;
  CPlxToolbarButton* CreateDroppedButton(COleDataObject* pDataObject) override;
  BOOL OnKey(UINT nChar) override;
  BOOL EnableContextMenuItems(CPlxToolbarButton* pButton, CMenu* pPopup) override;
  BOOL GetFrameToolTipText(CPlxToolbarButton*, CString&) const override { return FALSE; }
  BOOL AllowAltCustomization() const override { return FALSE; }
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  virtual CSize GetCurrentMenuImageSize() const;

  BOOL ImportFromMenu(HMENU hMenu, BOOL bShowAllCommands = FALSE);
  HMENU ExportToPlainMenu() const;
  void InvokeMenuCommand(UINT uiCmdId, const CPlxToolbarButton* pMenuItem);
  void OpenSubMenuDelayed(CPlxToolbarMenuButton* pMenuItem, BOOL bDelay = 1);
  void CloseDelayedSubMenu();
  void CancelDelayedClose();
  void SetInCommand(BOOL bInCommand = TRUE);
  BOOL IsInCommand() const { return m_bInCommand; }
  CPlxToolBar* FindMenuBarAtPoint(CPoint pt);
  // The popup frame around the bar, or null.
  CPlxPopupMenu* GetPopupMenu() const;
  // The toolkit frame the menus report to (the frame override, else the popup's top-level frame).
  CFrameWnd* TopFrame() const;
  BOOL AreAllCommandsShown() const { return m_bAllCommandsShown; }
  int GetOffset() const { return m_iOffset; }
  void SetOffset(int iOffset) { m_iOffset = iOffset; }
  const CUIntArray& GetColumns() const { return m_arColumns; }
  int GetMaxWidth() const { return m_nMaxWidth; }
  void SetMaxWidth(int nMaxWidth) { m_nMaxWidth = nMaxWidth; }
  // The hidden item's command behind an upper-case mnemonic, or 0.
  UINT GetHiddenMnemonic(UINT uiChar) const;
  CPlxToolbarMenuButton* GetDelayedOpenItem() const { return m_pDelayedOpenItem; }
  CPlxToolbarMenuButton* GetDelayedCloseItem() const { return m_pDelayedCloseItem; }

  // Reads the system's menu show delay into m_nMenuShowDelay (first bar, or again for tests).
  static void ReadMenuShowDelay();

  static constexpr UINT_PTR kOpenTimer = 1;
  static constexpr UINT_PTR kCloseTimer = 2;
  static constexpr UINT_PTR kAccHoverTimer = 20;

  // ---- fields, in the toolkit's order ----
  CPlxToolBar* m_pRelatedToolbar;
  BOOL m_bDisableImageStrip;
  UINT m_uiDefaultItem;

 protected:
  CPlxToolbarMenuButton* m_pDelayedOpenItem;
  CPlxToolbarMenuButton* m_pDelayedCloseItem;

 public:
  BOOL m_bNoButtonDownYet;
  BOOL m_bIgnoreFirstMouseMove;

 protected:
  int m_iOffset;
  int m_nSepIndentLeft;
  int m_nSepIndentRight;
  BOOL m_bAllCommandsShown;
  int m_nMaxWidth;
  CUIntArray m_arColumns;
  CMap<UINT, UINT, UINT, UINT> m_mapHiddenMnemonics;
  BOOL m_bInCommand;

 public:
  BOOL m_bTrackMode;
  BOOL m_bAllowButtonUp;

  static int m_nMenuShowDelay;
  static int m_iLastCommandIndex;
  static BOOL m_bHighlightDisabledItems;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnNcPaint() {}
  afx_msg void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) {}
  afx_msg void OnDestroy();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg void OnToolbarImageAndText();
  afx_msg void OnToolbarText();
  DECLARE_MESSAGE_MAP()

  // A key moves the hot item to nIndex: focus event, repaint, prompt.
  void MoveHot(int nIndex);
  // The next (or previous) selectable item from iStart, wrapping; -1 when none.
  int NextSelectable(int iStart, BOOL bForward) const;
  BOOL CursorOnItem(const CPlxToolbarButton* pItem) const;
};

// The "show all commands" item at the foot of a shortened popup menu.
class CPlxShowAllButton : public CPlxToolbarMenuButton {
  DECLARE_DYNCREATE(CPlxShowAllButton)

 public:
  void OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz = TRUE,
              BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
              BOOL bGrayDisabledButtons = TRUE) override;
  CSize OnCalculateSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) override;
  BOOL OnClick(CWnd* pWnd, BOOL bDelay = TRUE) override;
  BOOL OnToolHitTest(const CWnd* pWnd, TOOLINFOA* pTI) override;
  BOOL OpenPopupMenu(CWnd* pWnd = nullptr) override;
};

#include "toolkit/bars/PlxPopupMenu.h"
