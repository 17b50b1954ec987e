// CPlxMenuPage: the customize sheet's page of menus. It switches the frame's menu bar between the
// frame's own menu and each document template's shared menu so that the user edits them in
// place, opens a registered context menu as an editable popup beside the sheet, resets either
// kind to its resource, and sets the menu animation and shadows. Every edited menu is kept in
// the menu store by handle; closing the page shows the menu bar's first menu again.
#pragma once

#include "platform/mfc/PropertySheet.h"
#include "platform/mfc/StdControls.h"

class CFrameWnd;
class CMultiDocTemplate;
class CPlxMenuBar;
class CPlxPopupMenu;

class CPlxMenuPage : public CPropertyPage {
  DECLARE_DYNCREATE(CPlxMenuPage)

 public:
  enum {
    IDD = 16134,
    IDC_APP_MENU_ICON = 16507,
    IDC_CONTEXT_LABEL = 16508,
    IDC_CONTEXT_FRAME = 16519,
    IDC_CONTEXT_GROUP = 16520,
    IDC_DESCRIPTION = 16506,
    IDC_ANIMATION_LABEL = 16543,
    IDC_APP_MENU = 16621,
    IDC_CONTEXT_MENU = 16622,
    IDC_RESET_CONTEXT = 16623,
    IDC_RESET_APP = 16624,
    IDC_ANIMATION = 16625,
    IDC_SHADOWS = 16626,
  };
  enum {
    IDS_NO_MENU_BAR = 16007,
    IDS_DEFAULT_MENU = 16106,
    IDS_DEFAULT_MENU_DESCRIPTION = 16107,
    IDS_NO_CONTEXT_MENU = 16108,
    IDS_RESET_MENU = 16113,
  };
  // The animation type that stands for the system's choice.
  static constexpr int kSystemDefaultAnimation = 999;

  CPlxMenuPage(CFrameWnd* pParentFrame = nullptr, BOOL bAutoSet = FALSE);
  ~CPlxMenuPage() override;

  // Both are virtual so that the bars reach them through the pointer alone.
  // Selects the entry of the template's menu (null: the frame's own) and shows it; without
  // bSaveCurr the menu shown now is not stored first. FALSE when no entry matches.
  virtual BOOL SelectMenu(CMultiDocTemplate* pTemplate, BOOL bSaveCurr = TRUE);
  // The edited context menu's popup is being destroyed.
  virtual void CloseContextMenu(CPlxPopupMenu* pMenu);

  CPlxPopupMenu* GetContextMenu() const { return m_pContextMenu; }
  HMENU GetShownMenu() const { return m_hmenuSelected; }
  CPlxMenuBar* GetMenuBar() const { return m_pMenuBar; }

  // Where the edited context menu opens: where the last one was when it closed.
  static CPoint m_ptMenuLastPos;

  CStatic m_wndMenuAnimationsLabel;
  CComboBox m_wndMenuAnimations;
  CButton m_wndMenuShadows;
  CWnd m_wndContextFrame;
  CStatic m_wndContextHint;
  CButton m_wndResetMenuButton;
  CStatic m_wndContextMenuCaption;
  CComboBox m_wndContextMenus;
  CStatic m_wndIcon;
  CComboBox m_wndMenuesList;
  CString m_strMenuDescr;
  CString m_strContextMenuName;
  CString m_strMenuName;
  int m_iMenuAnimationType = 0;
  BOOL m_bMenuShadows = FALSE;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  afx_msg void OnSelchangeMenuList();
  afx_msg void OnDestroy();
  afx_msg void OnSelchangeContextMenuList();
  afx_msg void OnResetFrameMenu();
  afx_msg void OnResetMenu();
  afx_msg void OnMenuLookChanged();
  DECLARE_MESSAGE_MAP()

  void SaveContextMenu();
  // The frame's answer to PlxTOOLBAR_RESETMENU; non-zero asks for a new layout.
  BOOL NotifyMenuReset(UINT uiResId);

  CPlxMenuBar* m_pMenuBar = nullptr;
  HMENU m_hmenuCurr = nullptr;      // restored when the page closes
  HMENU m_hmenuSelected = nullptr;  // shown in the menu bar now
  CPlxPopupMenu* m_pContextMenu = nullptr;
  UINT m_uiContextMenuResId = 0;
  BOOL m_bIsDefaultMDIMenu = FALSE;
  BOOL m_bAutoSet;
  CFrameWnd* m_pParentFrame;
};
