// CPlxOptionsPage: the customize sheet's last page: tooltips and their shortcut keys, large
// icons, the Look 2000 style, recently used menus, full menus after a delay and the reset of the
// usage data behind them. Every change is made at once in the toolkit's global options.
#pragma once

#include "platform/mfc/PropertySheet.h"
#include "platform/mfc/StdControls.h"

class CPlxOptionsPage : public CPropertyPage {
  DECLARE_DYNCREATE(CPlxOptionsPage)

 public:
  enum {
    IDD = 16137,
    IDC_TOOLTIPS = 16651,
    IDC_SHORTCUT_KEYS = 16652,
    IDC_LARGE_ICONS = 16653,
    IDC_LOOK2000 = 16654,
    IDC_RECENTLY_USED = 16655,
    IDC_SHOW_AFTER_DELAY = 16656,
    IDC_RESET_USAGE = 16657,
    IDC_RU_LABEL1 = 16538,
    IDC_RU_LABEL2 = 16539,
  };
  enum { IDS_RESET_USAGE = 16244 };

  explicit CPlxOptionsPage(BOOL bIsMenuBarExist = FALSE);
  ~CPlxOptionsPage() override;

  CButton m_wndLook2000;
  CButton m_wndLargeIcons;
  CButton m_wndRUMenus;
  CButton m_wndResetUsageBtn;
  CStatic m_wndRuMenusLine;
  CStatic m_wndRuMenusTitle;
  CButton m_wndShowAllMenusDelay;
  CButton m_wndShowShortcutKeys;
  BOOL m_bShowTooltips;
  BOOL m_bShowShortcutKeys;
  BOOL m_bRecentlyUsedMenus;
  BOOL m_bShowAllMenusDelay;
  BOOL m_bLargeIcons;
  BOOL m_bLook2000;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  afx_msg void OnShowShortcutKeys();
  afx_msg void OnShowTooltips();
  afx_msg void OnResetUsageData();
  afx_msg void OnRecentlyUsedMenus();
  afx_msg void OnShowAllMenusDelay();
  afx_msg void OnLargeIcons();
  afx_msg void OnLook2000();
  DECLARE_MESSAGE_MAP()

  BOOL m_bIsMenuBarExist;
};
