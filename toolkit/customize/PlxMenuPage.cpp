#include "toolkit/customize/PlxMenuPage.h"

#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Document.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/WinApp.h"
#include "platform/res/Resources.h"
#include "platform/user/WindowClass.h"
#include "toolkit/bars/PlxContextMenuManager.h"
#include "toolkit/bars/PlxMenuBar.h"
#include "toolkit/bars/PlxMenuTempStore.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxPopupMenuBar.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/customize/PlxCustomizeSheet.h"
#include "toolkit/customize/PlxPageText.h"

IMPLEMENT_DYNCREATE(CPlxMenuPage, CPropertyPage)

CPoint CPlxMenuPage::m_ptMenuLastPos(0, 0);  // the first edited context menu opens at the corner

BEGIN_MESSAGE_MAP(CPlxMenuPage, CPropertyPage)
ON_CBN_SELCHANGE(IDC_APP_MENU, OnSelchangeMenuList)
ON_WM_DESTROY()
ON_CBN_SELCHANGE(IDC_CONTEXT_MENU, OnSelchangeContextMenuList)
ON_BN_CLICKED(IDC_RESET_CONTEXT, OnResetMenu)
ON_BN_CLICKED(IDC_RESET_APP, OnResetFrameMenu)
ON_CBN_SELCHANGE(IDC_ANIMATION, OnMenuLookChanged)
ON_BN_CLICKED(IDC_SHADOWS, OnMenuLookChanged)
END_MESSAGE_MAP()

namespace {

// Texts of the animation combo, one per type in type order, the system's choice last.
constexpr UINT kAnimationNames[] = {16402, 16403, 16404, 16405, 16406};

CString LoadText(UINT id) {
  CString text;
  text.LoadString(id);
  return text;
}

void CloseDropDown(CPlxMenuBar* bar) {
  if (CPlxToolbarMenuButton* button = bar->GetDroppedDownMenu();
      button != nullptr && button->m_pPopupMenu != nullptr && button->m_pPopupMenu->GetSafeHwnd() != nullptr)
    button->m_pPopupMenu->SendMessage(WM_CLOSE);
}

BOOL AskReset(const CString& name) {
  CString text;
  text.Format(LoadText(CPlxMenuPage::IDS_RESET_MENU), static_cast<LPCTSTR>(name));
  return AfxMessageBox(text, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace

CPlxMenuPage::CPlxMenuPage(CFrameWnd* pParentFrame, BOOL bAutoSet)
    : CPropertyPage(IDD), m_bAutoSet(bAutoSet), m_pParentFrame(pParentFrame) {
  const int type = CPlxPopupMenu::m_AnimationType;
  m_iMenuAnimationType = type == kSystemDefaultAnimation ? kSystemDefaultAnimation : type;
  m_bMenuShadows = CPlxMenuBar::m_bMenuShadows;
}

CPlxMenuPage::~CPlxMenuPage() = default;

void CPlxMenuPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_ANIMATION_LABEL, m_wndMenuAnimationsLabel);
  DDX_Control(pDX, IDC_ANIMATION, m_wndMenuAnimations);
  DDX_Control(pDX, IDC_SHADOWS, m_wndMenuShadows);
  DDX_Control(pDX, IDC_CONTEXT_GROUP, m_wndContextFrame);
  DDX_Control(pDX, IDC_CONTEXT_FRAME, m_wndContextHint);
  DDX_Control(pDX, IDC_RESET_CONTEXT, m_wndResetMenuButton);
  DDX_Control(pDX, IDC_CONTEXT_LABEL, m_wndContextMenuCaption);
  DDX_Control(pDX, IDC_CONTEXT_MENU, m_wndContextMenus);
  DDX_Control(pDX, IDC_APP_MENU_ICON, m_wndIcon);
  DDX_Control(pDX, IDC_APP_MENU, m_wndMenuesList);
  DDX_Text(pDX, IDC_DESCRIPTION, m_strMenuDescr);
  DDX_CBString(pDX, IDC_CONTEXT_MENU, m_strContextMenuName);
  DDX_CBString(pDX, IDC_APP_MENU, m_strMenuName);
  DDX_CBIndex(pDX, IDC_ANIMATION, m_iMenuAnimationType);
  DDX_Check(pDX, IDC_SHADOWS, m_bMenuShadows);
}

BOOL CPlxMenuPage::OnInitDialog() {
  // The combo's entries exist before the first exchange selects one.
  if (CWnd* combo = GetDlgItem(IDC_ANIMATION)) {
    for (UINT id : kAnimationNames)
      combo->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(LoadText(id))));
  }
  const int entries = static_cast<int>(std::size(kAnimationNames));
  if (m_iMenuAnimationType == kSystemDefaultAnimation || m_iMenuAnimationType >= entries)
    m_iMenuAnimationType = entries - 1;
  CPropertyPage::OnInitDialog();

  for (POSITION pos = CPlxToolBar::GetAllToolbars().GetHeadPosition(); pos != nullptr;) {
    auto* bar = dynamic_cast<CPlxMenuBar*>(static_cast<CObject*>(CPlxToolBar::GetAllToolbars().GetNext(pos)));
    if (bar != nullptr && bar->GetSafeHwnd() != nullptr &&
        CWnd::FromHandlePermanent(bar->m_hWnd) != nullptr) {
      m_pMenuBar = bar;
      break;
    }
  }

  if (m_pMenuBar != nullptr) {
    m_pMenuBar->m_pMenuPage = this;
    m_hmenuCurr = m_pMenuBar->GetHMenu();
    CloseDropDown(m_pMenuBar);
    if (m_hmenuCurr != nullptr) g_menuTempStore.SaveMenuBar(m_hmenuCurr, m_pMenuBar);
    int selected = CB_ERR;
    if (m_bAutoSet) {
      CList<UINT, UINT> seen;
      CWinApp* app = AfxGetApp();
      for (POSITION pos = app != nullptr ? app->GetFirstDocTemplatePosition() : nullptr; pos != nullptr;) {
        auto* tmpl = dynamic_cast<CMultiDocTemplate*>(app->GetNextDocTemplate(pos));
        if (tmpl == nullptr || tmpl->m_hMenuShared == nullptr || seen.Find(tmpl->m_nIDResource)) continue;
        seen.AddTail(tmpl->m_nIDResource);
        CString name = plx_page::DocString(tmpl, 2);
        if (name.IsEmpty()) name.Format("%u", tmpl->m_nIDResource);
        const int row = m_wndMenuesList.AddString(name);
        m_wndMenuesList.SetItemDataPtr(row, tmpl);
        if (tmpl->m_hMenuShared == m_hmenuCurr) selected = row;
      }
    }
    const int defaultRow = m_wndMenuesList.AddString(LoadText(IDS_DEFAULT_MENU));
    m_wndMenuesList.SetItemData(defaultRow, 0);
    if (selected == CB_ERR) {
      selected = defaultRow;
      m_bIsDefaultMDIMenu = TRUE;
    }
    m_hmenuSelected = m_hmenuCurr;
    m_wndMenuesList.SetCurSel(selected);
    m_wndMenuesList.GetLBText(selected, m_strMenuName);
    UpdateData(FALSE);
    OnSelchangeMenuList();
  } else {
    m_wndMenuesList.EnableWindow(FALSE);
    if (CWnd* reset = GetDlgItem(IDC_RESET_APP)) reset->EnableWindow(FALSE);
    m_strMenuDescr.LoadString(IDS_NO_MENU_BAR);
    UpdateData(FALSE);
  }

  m_wndContextMenus.AddString(LoadText(IDS_NO_CONTEXT_MENU));
  m_wndContextMenus.SetCurSel(0);
  if (g_pContextMenuManager != nullptr) {
    CStringList names;
    g_pContextMenuManager->GetMenuNames(names);
    for (POSITION pos = names.GetHeadPosition(); pos != nullptr;)
      m_wndContextMenus.AddString(names.GetNext(pos));
    const BOOL several = m_wndContextMenus.GetCount() > 1;
    m_wndContextMenuCaption.EnableWindow(several);
    m_wndContextMenus.EnableWindow(several);
  } else {
    for (CWnd* wnd : {static_cast<CWnd*>(&m_wndContextMenuCaption), static_cast<CWnd*>(&m_wndContextMenus),
                      static_cast<CWnd*>(&m_wndResetMenuButton), &m_wndContextFrame,
                      static_cast<CWnd*>(&m_wndContextHint)})
      wnd->ShowWindow(SW_HIDE);
  }
  m_wndResetMenuButton.EnableWindow(FALSE);

  const UINT options = plx_page::SheetOptions(this);
  if ((options & CUSTOPT_MENU_SHADOWS) == 0) m_wndMenuShadows.ShowWindow(SW_HIDE);
  if ((options & CUSTOPT_MENU_ANIMATION) == 0) {
    m_wndMenuAnimationsLabel.ShowWindow(SW_HIDE);
    m_wndMenuAnimations.ShowWindow(SW_HIDE);
  }
  return TRUE;
}

void CPlxMenuPage::OnSelchangeMenuList() {
  UpdateData();
  if (m_pMenuBar == nullptr) return;
  if (m_hmenuSelected != nullptr) {
    CloseDropDown(m_pMenuBar);
    g_menuTempStore.SaveMenuBar(m_hmenuSelected, m_pMenuBar);
  }
  const int row = m_wndMenuesList.GetCurSel();
  if (row == CB_ERR) {
    m_strMenuDescr.Empty();
    m_wndIcon.SetIcon(nullptr);
    m_hmenuSelected = nullptr;
    UpdateData(FALSE);
    return;
  }
  auto* tmpl = static_cast<CMultiDocTemplate*>(m_wndMenuesList.GetItemDataPtr(row));
  HMENU menu = nullptr;
  HICON icon = nullptr;
  if (tmpl != nullptr) {
    m_strMenuDescr = plx_page::DocString(tmpl, 6);
    if (CWinApp* app = AfxGetApp()) icon = app->LoadIcon(tmpl->m_nIDResource);
    menu = tmpl->m_hMenuShared;
  } else {
    m_strMenuDescr.LoadString(IDS_DEFAULT_MENU_DESCRIPTION);
    if (CWnd* main = AfxGetMainWnd(); main != nullptr && main->GetSafeHwnd() != nullptr)
      icon = reinterpret_cast<HICON>(::GetClassLongPtr(main->m_hWnd, GCLP_HICON));
    menu = m_pMenuBar->GetDefaultMenu();
  }
  m_pMenuBar->CreateFromMenu(menu, FALSE, FALSE);
  m_wndIcon.SetIcon(icon);
  m_hmenuSelected = menu;
  UpdateData(FALSE);
}

BOOL CPlxMenuPage::SelectMenu(CMultiDocTemplate* pTemplate, BOOL bSaveCurr) {
  for (int row = 0; row < m_wndMenuesList.GetCount(); ++row) {
    if (m_wndMenuesList.GetItemDataPtr(row) != pTemplate) continue;
    m_wndMenuesList.SetCurSel(row);
    // The menu shown may be gone already (a reset destroyed it): it is not stored then.
    if (!bSaveCurr) m_hmenuSelected = nullptr;
    OnSelchangeMenuList();
    if (m_pMenuBar != nullptr) m_hmenuCurr = m_pMenuBar->GetHMenu();
    return TRUE;
  }
  return FALSE;
}

void CPlxMenuPage::OnSelchangeContextMenuList() {
  m_wndResetMenuButton.EnableWindow(FALSE);
  if (g_pContextMenuManager == nullptr) return;
  m_uiContextMenuResId = 0;
  if (m_pContextMenu != nullptr) {
    SaveContextMenu();
    CPlxPopupMenu* old = m_pContextMenu;
    m_pContextMenu = nullptr;
    old->SendMessage(WM_CLOSE);
  }
  UpdateData();
  const int row = m_wndContextMenus.GetCurSel();
  if (row <= 0) return;
  UINT resId = 0;
  HMENU menu = g_pContextMenuManager->GetMenuByName(m_strContextMenuName, &resId);
  if (menu == nullptr) {
    ::MessageBeep(static_cast<UINT>(-1));
    return;
  }
  m_uiContextMenuResId = resId;
  HMENU popup = ::GetSubMenu(menu, 0);
  if (popup == nullptr) return;

  auto* contextMenu = new CPlxPopupMenu(this, m_strContextMenuName);
  // The manager keeps the menu: the popup must not destroy it.
  if (!g_plxGlobalData.bIsWindowsNT4) contextMenu->SetAutoDestroy(FALSE);
  CWnd* owner = m_pParentFrame;
  if (owner == nullptr || owner->GetSafeHwnd() == nullptr) owner = GetTopLevelParent();
  if (!contextMenu->Create(owner, m_ptMenuLastPos.x, m_ptMenuLastPos.y, popup, FALSE, FALSE)) {
    AfxMessageBox("Can't create context menu!");
    return;
  }
  m_pContextMenu = contextMenu;
  m_wndResetMenuButton.EnableWindow(TRUE);
}

void CPlxMenuPage::SaveContextMenu() {
  if (m_pContextMenu == nullptr || m_pContextMenu->GetSafeHwnd() == nullptr) return;
  CRect rect;
  m_pContextMenu->GetWindowRect(&rect);
  m_ptMenuLastPos = rect.TopLeft();
  g_menuTempStore.SaveMenuBar(m_pContextMenu->GetHMenu(), m_pContextMenu->GetMenuBar());
}

void CPlxMenuPage::CloseContextMenu(CPlxPopupMenu* pMenu) {
  if (m_pContextMenu != nullptr && m_pContextMenu == pMenu) {
    SaveContextMenu();
    m_pContextMenu = nullptr;
    m_wndContextMenus.SetCurSel(0);
    m_wndResetMenuButton.EnableWindow(FALSE);
  }
  m_uiContextMenuResId = 0;
}

void CPlxMenuPage::OnResetMenu() {
  if (g_pContextMenuManager == nullptr || m_pContextMenu == nullptr) return;
  UpdateData();
  if (!AskReset(m_strContextMenuName)) return;
  UINT resId = 0;
  HMENU menu = g_pContextMenuManager->GetMenuByName(m_strContextMenuName, &resId);
  if (menu == nullptr) {
    ::MessageBeep(static_cast<UINT>(-1));
    return;
  }
  CPlxPopupMenuBar* bar = m_pContextMenu->GetMenuBar();
  bar->ImportFromMenu(::GetSubMenu(menu, 0), FALSE);
  if (m_pParentFrame != nullptr && m_pParentFrame->GetSafeHwnd() != nullptr)
    m_pParentFrame->SendMessage(PLX_WM_RESETCONTEXTMENU, resId, reinterpret_cast<LPARAM>(m_pContextMenu));
  // Reopening stores the reset items and frees this popup: the new one is laid out.
  OnSelchangeContextMenuList();
  if (m_pContextMenu != nullptr && m_pContextMenu->GetSafeHwnd() != nullptr) {
    m_pContextMenu->RecalcLayout();
    m_pContextMenu->GetMenuBar()->Invalidate();
    m_pContextMenu->GetMenuBar()->UpdateWindow();
  }
}

BOOL CPlxMenuPage::NotifyMenuReset(UINT uiResId) {
  if (m_pParentFrame == nullptr || m_pParentFrame->GetSafeHwnd() == nullptr) return FALSE;
  return m_pParentFrame->SendMessage(PLX_WM_RESETMENU, uiResId, 0) != 0;
}

void CPlxMenuPage::OnResetFrameMenu() {
  UpdateData();
  if (m_pMenuBar == nullptr) return;
  const int row = m_wndMenuesList.GetCurSel();
  if (row == CB_ERR) return;
  auto* tmpl = static_cast<CMultiDocTemplate*>(m_wndMenuesList.GetItemDataPtr(row));
  // Nothing changes unless a fresh menu exists: the live one stays until it is replaced.
  const UINT resId = tmpl != nullptr ? tmpl->m_nIDResource : m_pMenuBar->m_uiDefaultMenuResId;
  if (resId == 0) return;
  if (!AskReset(m_strMenuName)) return;
  HMENU fresh = ::LoadMenu(AfxGetResourceHandle(), MAKEINTRESOURCE(resId));
  if (fresh == nullptr) {
    ::MessageBeep(static_cast<UINT>(-1));
    return;
  }
  CloseDropDown(m_pMenuBar);
  HMENU old = nullptr;
  if (tmpl != nullptr) {
    old = tmpl->m_hMenuShared;
    tmpl->m_hMenuShared = fresh;
    g_menuTempStore.RemoveMenu(fresh);
    m_pMenuBar->CreateFromMenu(fresh, FALSE, TRUE);
    CPlxMenuBar::UpdateMDIChildrenMenus(tmpl);
    if (NotifyMenuReset(resId)) m_pMenuBar->AdjustLayout();
    g_menuTempStore.SaveMenuBar(fresh, m_pMenuBar);
    if (old == m_hmenuCurr) m_hmenuCurr = fresh;
  } else {
    old = m_pMenuBar->GetDefaultMenu();
    m_pMenuBar->OnSetDefaultMenu(fresh);
    m_pMenuBar->CreateFromMenu(fresh, TRUE, TRUE);
    if (NotifyMenuReset(resId)) m_pMenuBar->AdjustLayout();
    if (m_pParentFrame != nullptr && m_pParentFrame->m_hMenuDefault == old)
      m_pParentFrame->m_hMenuDefault = fresh;
    g_menuTempStore.SaveMenuBar(fresh, m_pMenuBar);
    if (m_bIsDefaultMDIMenu) m_hmenuCurr = fresh;
  }
  m_hmenuSelected = fresh;
  if (m_pParentFrame != nullptr && m_pParentFrame->GetSafeHwnd() != nullptr)
    m_pParentFrame->OnUpdateFrameMenu(m_hmenuCurr);
  // The frame may have switched the bar to its own choice: the reset menu stays in view.
  if (m_pMenuBar->GetHMenu() != fresh) m_pMenuBar->CreateFromMenu(fresh, tmpl == nullptr, FALSE);
  if (old != nullptr && old != fresh) {
    g_menuTempStore.RemoveMenu(old);
    if (::IsMenu(old)) ::DestroyMenu(old);
  }
  m_pMenuBar->RedrawWindow();
}

void CPlxMenuPage::OnMenuLookChanged() {
  UpdateData();
}

void CPlxMenuPage::OnDestroy() {
  // The controls cannot be read any more while their parent goes: the values were kept as they
  // changed.
  const int entries = static_cast<int>(std::size(kAnimationNames));
  CPlxPopupMenu::m_AnimationType =
      m_iMenuAnimationType == entries - 1 ? kSystemDefaultAnimation : m_iMenuAnimationType;
  if (m_pMenuBar != nullptr) {
    m_pMenuBar->m_pMenuPage = nullptr;
    if (m_hmenuSelected != nullptr) {
      CloseDropDown(m_pMenuBar);
      g_menuTempStore.SaveMenuBar(m_hmenuSelected, m_pMenuBar);
    }
    m_pMenuBar->CreateFromMenu(m_hmenuCurr, m_hmenuCurr == m_pMenuBar->GetDefaultMenu(), FALSE);
  }
  if (m_pContextMenu != nullptr) {
    SaveContextMenu();
    CPlxPopupMenu* menu = m_pContextMenu;
    m_pContextMenu = nullptr;
    if (menu->GetSafeHwnd() != nullptr) menu->SendMessage(WM_CLOSE);
  }
  CPlxMenuBar::m_bMenuShadows = m_bMenuShadows;
  CPropertyPage::OnDestroy();
}
