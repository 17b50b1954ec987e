#include "toolkit/customize/PlxOptionsPage.h"

#include "platform/mfc/DataExchange.h"
#include "platform/mfc/WinApp.h"
#include "toolkit/bars/PlxMenuBar.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/customize/PlxCustomizeSheet.h"
#include "toolkit/customize/PlxPageText.h"

IMPLEMENT_DYNCREATE(CPlxOptionsPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CPlxOptionsPage, CPropertyPage)
ON_BN_CLICKED(IDC_SHORTCUT_KEYS, OnShowShortcutKeys)
ON_BN_CLICKED(IDC_TOOLTIPS, OnShowTooltips)
ON_BN_CLICKED(IDC_RESET_USAGE, OnResetUsageData)
ON_BN_CLICKED(IDC_RECENTLY_USED, OnRecentlyUsedMenus)
ON_BN_CLICKED(IDC_SHOW_AFTER_DELAY, OnShowAllMenusDelay)
ON_BN_CLICKED(IDC_LARGE_ICONS, OnLargeIcons)
ON_BN_CLICKED(IDC_LOOK2000, OnLook2000)
END_MESSAGE_MAP()

CPlxOptionsPage::CPlxOptionsPage(BOOL bIsMenuBarExist)
    : CPropertyPage(IDD), m_bIsMenuBarExist(bIsMenuBarExist) {
  m_bShowTooltips = CPlxToolBar::m_bShowTooltips;
  m_bShowShortcutKeys = CPlxToolBar::m_bShowShortcutKeys;
  m_bRecentlyUsedMenus = CPlxMenuBar::m_bRecentlyUsedMenus;
  m_bShowAllMenusDelay = CPlxMenuBar::m_bShowAllMenusAfterDelay;
  m_bLargeIcons = CPlxToolBar::IsLargeIcons();
  m_bLook2000 = CPlxVisualManager::GetInstance()->m_bLook2000;
}

CPlxOptionsPage::~CPlxOptionsPage() = default;

void CPlxOptionsPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_LOOK2000, m_wndLook2000);
  DDX_Control(pDX, IDC_LARGE_ICONS, m_wndLargeIcons);
  DDX_Control(pDX, IDC_RECENTLY_USED, m_wndRUMenus);
  DDX_Control(pDX, IDC_RESET_USAGE, m_wndResetUsageBtn);
  DDX_Control(pDX, IDC_RU_LABEL2, m_wndRuMenusLine);
  DDX_Control(pDX, IDC_RU_LABEL1, m_wndRuMenusTitle);
  DDX_Control(pDX, IDC_SHOW_AFTER_DELAY, m_wndShowAllMenusDelay);
  DDX_Control(pDX, IDC_SHORTCUT_KEYS, m_wndShowShortcutKeys);
  DDX_Check(pDX, IDC_TOOLTIPS, m_bShowTooltips);
  DDX_Check(pDX, IDC_SHORTCUT_KEYS, m_bShowShortcutKeys);
  DDX_Check(pDX, IDC_RECENTLY_USED, m_bRecentlyUsedMenus);
  DDX_Check(pDX, IDC_SHOW_AFTER_DELAY, m_bShowAllMenusDelay);
  DDX_Check(pDX, IDC_LARGE_ICONS, m_bLargeIcons);
  DDX_Check(pDX, IDC_LOOK2000, m_bLook2000);
}

BOOL CPlxOptionsPage::OnInitDialog() {
  const UINT options = plx_page::SheetOptions(this);
  if (options & CUSTOPT_NO_LARGE_ICONS) m_bLargeIcons = FALSE;
  CPropertyPage::OnInitDialog();
  m_wndShowShortcutKeys.EnableWindow(m_bShowTooltips);
  m_wndShowAllMenusDelay.EnableWindow(m_bRecentlyUsedMenus);

  const auto hide = [](CWnd& wnd) {
    wnd.ShowWindow(SW_HIDE);
    wnd.EnableWindow(FALSE);
  };
  if (CPlxToolBar::m_lstBasicCommands.IsEmpty() || !m_bIsMenuBarExist) {
    hide(m_wndRUMenus);
    hide(m_wndResetUsageBtn);
    hide(m_wndRuMenusTitle);
    hide(m_wndRuMenusLine);
    hide(m_wndShowAllMenusDelay);
  }
  if ((options & CUSTOPT_LOOK2000) == 0) hide(m_wndLook2000);
  if (options & CUSTOPT_NO_LARGE_ICONS) hide(m_wndLargeIcons);
  return TRUE;
}

void CPlxOptionsPage::OnShowTooltips() {
  UpdateData();
  CPlxToolBar::m_bShowTooltips = m_bShowTooltips;
  m_wndShowShortcutKeys.EnableWindow(m_bShowTooltips);
}

void CPlxOptionsPage::OnShowShortcutKeys() {
  UpdateData();
  CPlxToolBar::m_bShowShortcutKeys = m_bShowShortcutKeys;
}

void CPlxOptionsPage::OnLargeIcons() {
  UpdateData();
  // A sheet that forbids large icons never changes the mode, even through a stray click.
  if (plx_page::SheetOptions(this) & CUSTOPT_NO_LARGE_ICONS) return;
  CPlxToolBar::SetLargeIcons(m_bLargeIcons);
}

void CPlxOptionsPage::OnLook2000() {
  UpdateData();
  CPlxVisualManager::GetInstance()->SetLook2000(m_bLook2000);
  if (CWnd* main = AfxGetMainWnd(); main != nullptr && main->GetSafeHwnd() != nullptr) main->RedrawWindow();
}

void CPlxOptionsPage::OnRecentlyUsedMenus() {
  UpdateData();
  CPlxMenuBar::m_bRecentlyUsedMenus = m_bRecentlyUsedMenus;
  m_wndShowAllMenusDelay.EnableWindow(m_bRecentlyUsedMenus);
}

void CPlxOptionsPage::OnShowAllMenusDelay() {
  UpdateData();
  CPlxMenuBar::m_bShowAllMenusAfterDelay = m_bShowAllMenusDelay;
}

void CPlxOptionsPage::OnResetUsageData() {
  UpdateData();
  CString text;
  text.LoadString(IDS_RESET_USAGE);
  if (AfxMessageBox(text, MB_YESNO) == IDYES) CPlxToolBar::m_commandUsage.Reset();
}
