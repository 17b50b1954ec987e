// The menu bar's menus: building buttons from a menu, one button set per menu handle in the menu
// store, the maximized MDI child's buttons, reset and the per-menu registry state.
#include "toolkit/bars/PlxMenuBar.h"

#include "platform/base/ArchiveBytes.h"
#include "platform/base/MemFile.h"
#include "platform/mfc/Document.h"
#include "platform/mfc/MdiFrameWnd.h"
#include "platform/mfc/WinApp.h"
#include "platform/res/Resources.h"
#include "platform/user/MessageBox.h"
#include "platform/user/WindowClass.h"
#include "toolkit/bars/PlxCustomizeButton.h"
#include "toolkit/bars/PlxMenuTempStore.h"
#include "toolkit/bars/PlxMenuWindowButtons.h"
#include "toolkit/bars/PlxTearOffIdPool.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxRegistry.h"
#include "toolkit/core/PlxWorkspace.h"
#include "toolkit/customize/PlxMenuPage.h"

IMPLEMENT_SERIAL(CPlxMenuBar, CPlxToolBar, VERSIONABLE_SCHEMA | 1)

CString CPlxMenuBar::m_strMenuSection = "PlxMenuBar";
BOOL CPlxMenuBar::m_bMenuShadows = TRUE;
BOOL CPlxMenuBar::m_bRecentlyUsedMenus = TRUE;
BOOL CPlxMenuBar::m_bShowAllMenusAfterDelay = TRUE;
BOOL CPlxMenuBar::m_bShowAllCommands = FALSE;
HHOOK CPlxMenuBar::m_hDragHook = nullptr;
CPlxMenuBar* CPlxMenuBar::m_pHookedMenuBar = nullptr;

namespace {

constexpr UINT kArchiveBuffer = 4096;

// An item's text by position, "" when it has none.
CString MenuItemText(HMENU hMenu, int i) {
  CString text;
  const int length = ::GetMenuString(hMenu, i, nullptr, 0, MF_BYPOSITION);
  if (length <= 0) return text;
  const int size = length * 2 + 2;
  std::vector<char> buffer(static_cast<size_t>(size), '\0');
  ::GetMenuString(hMenu, i, buffer.data(), size, MF_BYPOSITION);
  text = buffer.data();
  return text;
}

// The templates whose shared menus the bar keeps, in the document manager's order.
std::vector<CMultiDocTemplate*> SharedMenuTemplates(BOOL bDocumentMenus) {
  std::vector<CMultiDocTemplate*> templates;
  CWinApp* app = AfxGetApp();
  if (!bDocumentMenus || app == nullptr || app->m_pDocManager == nullptr) return templates;
  for (POSITION pos = app->GetFirstDocTemplatePosition(); pos != nullptr;) {
    auto* multi = dynamic_cast<CMultiDocTemplate*>(app->GetNextDocTemplate(pos));
    if (multi != nullptr && multi->m_hMenuShared != nullptr) templates.push_back(multi);
  }
  return templates;
}

}  // namespace

CPlxMenuBar::CPlxMenuBar() {
  m_bMenuMode = FALSE;
}

CPlxMenuBar::~CPlxMenuBar() {
  SetDragHook(FALSE);
  // Only the frame's own menu is the bar's: a template's shared menu belongs to the template,
  // which destroys it itself. A frame that kept the same handle may have freed it already.
  if (m_hDefaultMenu != nullptr) {
    g_menuTempStore.RemoveMenu(m_hDefaultMenu);
    if (::IsMenu(m_hDefaultMenu)) ::DestroyMenu(m_hDefaultMenu);
  }
  m_hDefaultMenu = m_hMenu = nullptr;
}

BOOL CPlxMenuBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  m_pParentWnd = pParentWnd;
  return CPlxToolBar::Create(pParentWnd, dwStyle, nID);
}

BOOL CPlxMenuBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID) {
  m_pParentWnd = pParentWnd;
  return CPlxToolBar::CreateEx(pParentWnd, dwCtrlStyle, dwStyle, rcBorders, nID);
}

CFont* CPlxMenuBar::GetMenuFont(BOOL bHorz) {
  return bHorz ? &g_plxGlobalData.fontRegular : &g_plxGlobalData.fontVert;
}

CWnd* CPlxMenuBar::GetOwnerOrParent() const {
  if (GetSafeHwnd() == nullptr) return m_pParentWnd;
  CWnd* owner = GetOwner();
  return owner != nullptr ? owner : GetParent();
}

CMDIFrameWnd* CPlxMenuBar::GetMDIFrame() const {
  return dynamic_cast<CMDIFrameWnd*>(m_pParentWnd);
}

// ---------------------------------------------------------------------------------------------
// The store

std::vector<BYTE> CPlxMenuBar::Snapshot() {
  try {
    CPlxMenuTempStore::m_bSerializing = TRUE;
    std::vector<BYTE> bytes = pictavo::ArchiveBytes([&](CArchive& ar) { Serialize(ar); }, kArchiveBuffer);
    CPlxMenuTempStore::m_bSerializing = FALSE;
    return bytes;
  } catch (CException* e) {
    e->Delete();
  }
  CPlxMenuTempStore::m_bSerializing = FALSE;
  return {};
}

void CPlxMenuBar::RestoreSnapshot(const std::vector<BYTE>& snapshot) {
  if (snapshot.empty()) return;
  CPlxMenuTempStore::m_bSerializing = TRUE;
  try {
    CMemFile memory(const_cast<BYTE*>(snapshot.data()), static_cast<UINT>(snapshot.size()));
    CArchive ar(&memory, CArchive::load, kArchiveBuffer);
    Serialize(ar);
    ar.Close();
  } catch (CException* e) {
    e->Delete();
  }
  CPlxMenuTempStore::m_bSerializing = FALSE;
}

BOOL CPlxMenuBar::StoreCurrent() {
  // A bar without buttons has nothing to keep (a menu not yet shown).
  if (m_hMenu == nullptr || GetCount() == 0) return TRUE;
  // The window buttons of a maximized child are not stored; the system-menu button neither.
  return g_menuTempStore.SaveMenuBar(m_hMenu, this);
}

BOOL CPlxMenuBar::LoadFromStore(HMENU hMenu, BOOL bRedraw) {
  if (hMenu == nullptr || !g_menuTempStore.LoadMenuBar(hMenu, this)) return FALSE;
  if (bRedraw) RecalcAndRedraw();
  return TRUE;
}

void CPlxMenuBar::RecalcAndRedraw() {
  if (GetSafeHwnd() == nullptr) return;
  if (CFrameWnd* frame = AfxGetParentFrame(this); frame != nullptr && frame->GetSafeHwnd() != nullptr)
    frame->RecalcLayout();
  AdjustLocations();
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
}

// ---------------------------------------------------------------------------------------------
// Menus

void CPlxMenuBar::BuildFromMenu(HMENU hMenu) {
  if (g_pTearOffIdPool != nullptr) g_pTearOffIdPool->Build(hMenu);
  CPlxToolbarButton* chevron = TakeChevronCopy();  // the chevron outlives every menu
  RemoveAllButtons();
  const int count = ::GetMenuItemCount(hMenu);
  for (int i = 0; i < count; ++i) {
    const UINT id = ::GetMenuItemID(hMenu, i);
    CString text = MenuItemText(hMenu, i);
    if (id == 0) {
      InsertSeparator();
    } else if (id == (UINT)-1) {
      const UINT tearOff = g_pTearOffIdPool != nullptr ? CPlxTearOffIdPool::ParseTearOffId(text) : 0;
      CPlxToolbarMenuButton item(0, ::GetSubMenu(hMenu, i), -1, text);
      item.m_bText = TRUE;
      item.m_bImage = FALSE;
      item.m_nTearOffID = tearOff;
      InsertButton(item);
    } else {
      CPlxToolbarButton item(id, -1, text);
      item.m_bText = TRUE;
      item.m_bImage = FALSE;
      InsertButton(item);
    }
  }
  PutChevronBack(chevron);
}

BOOL CPlxMenuBar::CreateFromMenu(HMENU hMenu, BOOL bDefaultMenu, BOOL bForceUpdate) {
  if (GetSafeHwnd() != nullptr && ::GetFocus() == m_hWnd && m_pParentWnd != nullptr &&
      m_pParentWnd->GetSafeHwnd() != nullptr)
    m_pParentWnd->SetFocus();

  if (hMenu == m_hMenu && !m_bCustomizeMode && !bForceUpdate) {
    if (m_bMaximizedChild) {
      // The child's buttons follow the active child (its icon or its close state may change).
      SetMaximizedChild(FALSE, nullptr, FALSE);
      CMDIFrameWnd* mdi = GetMDIFrame();
      SetMaximizedChild(TRUE, mdi != nullptr ? mdi->MDIGetActive() : nullptr, TRUE);
    }
    InvalidateButton(0);
    return TRUE;
  }

  if (g_pTearOffIdPool != nullptr && m_hMenu != nullptr) g_pTearOffIdPool->Reset(m_hMenu);

  // The current buttons go to the store first; when they cannot, switching would lose the user's
  // changes to this menu, so the bar stays as it is.
  const BOOL maximized = m_bMaximizedChild;
  if (maximized) SetMaximizedChild(FALSE, nullptr, FALSE);
  if (!StoreCurrent()) {
    if (maximized) RestoreMaximizedChild();
    return FALSE;
  }
  m_hMenu = hMenu;
  if (bDefaultMenu) m_hDefaultMenu = hMenu;

  if (!g_menuTempStore.LoadMenuBar(hMenu, this)) {
    if (hMenu == nullptr) return TRUE;  // the old buttons stay, the mode is off
    BuildFromMenu(hMenu);
  }
  if (maximized && GetMDIFrame() != nullptr) SetMaximizedChild(TRUE, GetMDIFrame()->MDIGetActive(), TRUE);
  if (GetSafeHwnd() != nullptr) AdjustLayout();
  RebuildMnemonics();
  return TRUE;
}

BOOL CPlxMenuBar::FindMenuItemText(HMENU hMenu, UINT nID, CString& strText) {
  if (hMenu == nullptr || nID == 0 || nID == (UINT)-1) return FALSE;
  const int count = ::GetMenuItemCount(hMenu);
  for (int i = 0; i < count; ++i) {
    const UINT id = ::GetMenuItemID(hMenu, i);
    if (id == nID) {
      strText = MenuItemText(hMenu, i);
      return TRUE;
    }
    if (id == (UINT)-1 && FindMenuItemText(::GetSubMenu(hMenu, i), nID, strText)) return TRUE;
  }
  return FALSE;
}

BOOL CPlxMenuBar::OnSetDefaultButtonText(CPlxToolbarButton* pButton) {
  CString text;
  if (pButton != nullptr && FindMenuItemText(m_hMenu, pButton->m_nID, text)) {
    pButton->m_strText = text;
    return TRUE;
  }
  return CPlxToolBar::OnSetDefaultButtonText(pButton);
}

BOOL CPlxMenuBar::IsPureMenuButton(CPlxToolbarButton* pButton) const {
  return m_bMenuMode || dynamic_cast<CPlxToolbarMenuButton*>(pButton) != nullptr;
}

void CPlxMenuBar::UpdateMDIChildrenMenus(CMultiDocTemplate* pTemplate) {
  if (pTemplate == nullptr) return;
  for (POSITION pos = pTemplate->GetFirstDocPosition(); pos != nullptr;) {
    CDocument* doc = pTemplate->GetNextDoc(pos);
    if (doc == nullptr) continue;
    for (POSITION v = doc->GetFirstViewPosition(); v != nullptr;) {
      CView* view = doc->GetNextView(v);
      auto* child = dynamic_cast<CMDIChildWnd*>(view != nullptr ? view->GetParentFrame() : nullptr);
      if (child != nullptr) child->SetHandles(pTemplate->m_hMenuShared, pTemplate->m_hAccelTable);
    }
  }
}

BOOL CPlxMenuBar::LoadDefaultItemsFromMenu(UINT uiMenuResId) {
  while (!m_lstDefaultButtons.IsEmpty()) delete m_lstDefaultButtons.RemoveHead();
  CPlxWorkspace* workspace = CPlxWorkspace::GetWorkspace();
  if (workspace == nullptr || !workspace->m_bResetState) return FALSE;
  HMENU menu = ::LoadMenu(AfxGetResourceHandle(), MAKEINTRESOURCE(uiMenuResId));
  if (menu == nullptr) return FALSE;
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    const UINT id = ::GetMenuItemID(menu, i);
    if (id == 0) {
      auto* separator = new CPlxToolbarButton;
      separator->m_nStyle = TBBS_SEPARATOR;
      m_lstDefaultButtons.AddTail(separator);
    } else if (id == (UINT)-1) {
      m_lstDefaultButtons.AddTail(new CPlxToolbarMenuButton(0, ::GetSubMenu(menu, i), -1));
    } else {
      m_lstDefaultButtons.AddTail(new CPlxToolbarButton(id, -1, nullptr, FALSE, TRUE));
    }
  }
  ::DestroyMenu(menu);
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// The maximized child

void CPlxMenuBar::AddChildButtons(CWnd* pChild) {
  const DWORD style = pChild->GetStyle();
  CPlxToolbarSystemMenuButton icon(m_hChildSysMenu, m_hChildIcon);
  InsertButton(icon, 0);
  m_nSysButtons = 0;
  const auto append = [&](UINT command, BOOL disabled) {
    CPlxToolbarMenuButtonsButton button(command);
    if (disabled) button.m_nStyle |= TBBS_DISABLED;
    // In front of the chevron, which stays last.
    const int at = m_pChevron != nullptr ? ButtonToIndex(m_pChevron) : -1;
    if (InsertButton(button, at) >= 0) ++m_nSysButtons;
  };
  if (style & WS_MINIMIZEBOX) append(SC_MINIMIZE, FALSE);
  if (style & WS_MAXIMIZEBOX) append(SC_RESTORE, FALSE);
  const UINT closeState = ::GetMenuState(m_hChildSysMenu, SC_CLOSE, MF_BYCOMMAND);
  append(SC_CLOSE, closeState == (UINT)-1 || (closeState & (MF_DISABLED | MF_GRAYED)) != 0);
}

void CPlxMenuBar::SetMaximizedChild(BOOL bMaximized, CWnd* pChild, BOOL bRecalcLayout) {
  if (bMaximized == m_bMaximizedChild) return;
  if (!bMaximized) {
    m_nSavedSysButtons = m_nSysButtons;
    if (m_hChildSysMenu != nullptr) RemoveButton(0);
    const int chevron = m_pChevron != nullptr ? 1 : 0;
    for (int i = 0; i < m_nSysButtons; ++i) {
      const int last = GetCount() - 1 - chevron;
      if (last < 0) break;
      RemoveButton(last);
    }
    m_nSysButtons = 0;
  } else if (pChild == nullptr || pChild->GetSafeHwnd() == nullptr) {
    bMaximized = FALSE;
  } else {
    m_hChildSysMenu = nullptr;
    if (pChild->GetStyle() & WS_SYSMENU) {
      HMENU sys = ::GetSystemMenu(pChild->m_hWnd, FALSE);
      if (sys != nullptr && ::IsMenu(sys)) m_hChildSysMenu = sys;
    }
    m_nSysButtons = 0;
    if (m_hChildSysMenu != nullptr) {
      m_hChildIcon = reinterpret_cast<HICON>(pChild->SendMessage(WM_GETICON, 0, 0));
      if (m_hChildIcon == nullptr)
        m_hChildIcon = reinterpret_cast<HICON>(::GetClassLongPtr(pChild->m_hWnd, GCL_HICONSM));
      AddChildButtons(pChild);
    }
  }
  m_bMaximizedChild = bMaximized;
  if (bRecalcLayout) AdjustLayout();
}

void CPlxMenuBar::RestoreMaximizedChild() {
  if (m_bMaximizedChild) return;
  CMDIFrameWnd* mdi = GetMDIFrame();
  CMDIChildWnd* child = mdi != nullptr ? mdi->MDIGetActive() : nullptr;
  if (m_hChildSysMenu != nullptr && child != nullptr) AddChildButtons(child);
  m_bMaximizedChild = TRUE;
  m_nSysButtons = m_nSavedSysButtons;
  RecalcAndRedraw();
}

BOOL CPlxMenuBar::OnSendCommand(const CPlxToolbarButton* pButton) {
  const auto* window = dynamic_cast<const CPlxToolbarMenuButtonsButton*>(pButton);
  if (window == nullptr) return FALSE;
  const UINT command = window->m_uiSystemCommand;
  if (command == SC_MINIMIZE || command == SC_RESTORE || command == SC_CLOSE) {
    CMDIFrameWnd* mdi = GetMDIFrame();
    CMDIChildWnd* child = mdi != nullptr ? mdi->MDIGetActive() : nullptr;
    if (child != nullptr)
      child->SendMessage(WM_SYSCOMMAND, command, 0);
    else
      ::MessageBeep(static_cast<UINT>(-1));
  }
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Persistence and reset. Every step passes the buttons through the store; when the store fails
// the bar gets its own buttons back and the operation answers FALSE, so the bar never shows
// another menu's buttons.

BOOL CPlxMenuBar::LoadState(LPCTSTR lpszProfileName, int nIndex, UINT) {
  const CString path = PlxGetRegPath(m_strMenuSection, lpszProfileName);
  const std::vector<BYTE> before = Snapshot();
  const HMENU shown = m_hMenu;
  const BOOL maximized = m_bMaximizedChild;
  SetMaximizedChild(FALSE, nullptr, TRUE);
  if (!StoreCurrent()) {
    if (maximized) RestoreMaximizedChild();
    return FALSE;
  }
  BOOL ok = TRUE;
  // One menu: its saved buttons, or (none saved, or the resource changed) the menu's own items,
  // announced to the owner. Either way they reach the store under the menu's handle.
  const auto loadOne = [&](HMENU menu, UINT resId, UINT stateId, BOOL isDefault) {
    if (!ok || menu == nullptr) return;
    LoadDefaultItemsFromMenu(resId);
    if (CPlxToolBar::LoadState(path, nIndex, stateId) && !IsDefaultSetChanged()) {
      ok = g_menuTempStore.SaveMenuBar(menu, this);
      return;
    }
    CWnd* owner = GetOwnerOrParent();
    if (owner == nullptr || owner->GetSafeHwnd() == nullptr) return;
    m_hMenu = nullptr;
    BuildFromMenu(menu);
    if (isDefault) m_hDefaultMenu = menu;
    owner->SendMessage(PLX_WM_RESETMENU, resId, 0);
    ok = g_menuTempStore.SaveMenuBar(menu, this);
    m_hMenu = menu;
  };
  for (CMultiDocTemplate* tmpl : SharedMenuTemplates(m_bDocumentMenus))
    loadOne(tmpl->m_hMenuShared, tmpl->m_nIDResource, tmpl->m_nIDResource, FALSE);
  loadOne(m_hDefaultMenu, m_uiDefaultMenuResId, 0, TRUE);
  m_hMenu = shown;
  if (!ok || (m_hMenu != nullptr && !g_menuTempStore.LoadMenuBar(m_hMenu, this))) {
    RestoreSnapshot(before);
    ok = FALSE;
  }
  if (maximized) RestoreMaximizedChild();
  RecalcAndRedraw();
  RebuildMnemonics();
  return ok;
}

BOOL CPlxMenuBar::SaveState(LPCTSTR lpszProfileName, int nIndex, UINT) {
  const CString path = PlxGetRegPath(m_strMenuSection, lpszProfileName);
  const BOOL maximized = m_bMaximizedChild;
  SetMaximizedChild(FALSE, nullptr, FALSE);
  const std::vector<BYTE> before = Snapshot();
  if (!StoreCurrent()) {
    if (maximized) RestoreMaximizedChild();
    return FALSE;
  }
  BOOL ok = TRUE;
  for (CMultiDocTemplate* tmpl : SharedMenuTemplates(m_bDocumentMenus)) {
    if (!g_menuTempStore.LoadMenuBar(tmpl->m_hMenuShared, this)) continue;
    LoadDefaultItemsFromMenu(tmpl->m_nIDResource);
    ok = CPlxToolBar::SaveState(path, nIndex, tmpl->m_nIDResource) && ok;
  }
  if (m_hDefaultMenu != nullptr && g_menuTempStore.LoadMenuBar(m_hDefaultMenu, this)) {
    LoadDefaultItemsFromMenu(m_uiDefaultMenuResId);
    ok = CPlxToolBar::SaveState(path, nIndex, 0) && ok;
  }
  if (m_hMenu == nullptr || !g_menuTempStore.LoadMenuBar(m_hMenu, this)) {
    RestoreSnapshot(before);
    if (m_hMenu != nullptr) ok = FALSE;
  }
  RecalcAndRedraw();
  if (maximized) RestoreMaximizedChild();
  return ok;
}

BOOL CPlxMenuBar::RestoreOriginalState() {
  const BOOL maximized = m_bMaximizedChild;
  SetMaximizedChild(FALSE, nullptr, FALSE);
  const std::vector<BYTE> before = Snapshot();
  if (!StoreCurrent()) {
    if (maximized) RestoreMaximizedChild();
    return FALSE;
  }
  if (g_pTearOffIdPool != nullptr) g_pTearOffIdPool->Reset(nullptr);

  CMultiDocTemplate* noted = nullptr;
  if (CMDIFrameWnd* mdi = GetMDIFrame()) {
    if (CMDIChildWnd* child = mdi->MDIGetActive()) {
      if (CDocument* doc = child->GetActiveDocument())
        noted = dynamic_cast<CMultiDocTemplate*>(doc->GetDocTemplate());
    }
  }
  BOOL ok = TRUE;
  HMENU toShow = nullptr;
  // A menu loaded afresh: built, stored, and the old handle forgotten.
  const auto rebuild = [&](HMENU fresh) {
    m_hMenu = nullptr;
    BuildFromMenu(fresh);
    m_hMenu = fresh;
    ok = g_menuTempStore.SaveMenuBar(fresh, this) && ok;
  };
  for (CMultiDocTemplate* tmpl : SharedMenuTemplates(m_bDocumentMenus)) {
    HMENU fresh = ::LoadMenu(AfxGetResourceHandle(), MAKEINTRESOURCE(tmpl->m_nIDResource));
    if (fresh == nullptr) continue;
    HMENU old = tmpl->m_hMenuShared;
    tmpl->m_hMenuShared = fresh;
    rebuild(fresh);
    if (tmpl == noted) toShow = fresh;
    UpdateMDIChildrenMenus(tmpl);
    g_menuTempStore.RemoveMenu(old);
    ::DestroyMenu(old);
  }
  if (m_uiDefaultMenuResId != 0) {
    HMENU fresh = ::LoadMenu(AfxGetResourceHandle(), MAKEINTRESOURCE(m_uiDefaultMenuResId));
    if (fresh != nullptr) {
      HMENU old = m_hDefaultMenu;
      m_hDefaultMenu = fresh;
      OnSetDefaultMenu(fresh);
      rebuild(fresh);
      if (toShow == nullptr) toShow = fresh;
      if (auto* frame = dynamic_cast<CFrameWnd*>(m_pParentWnd); frame != nullptr) {
        if (frame->m_hMenuDefault == old) frame->m_hMenuDefault = fresh;
      }
      if (old != nullptr) {
        g_menuTempStore.RemoveMenu(old);
        if (::IsMenu(old)) ::DestroyMenu(old);
      }
    }
  }
  if (toShow == nullptr) toShow = m_hMenu;
  if (ok && toShow != nullptr && g_menuTempStore.LoadMenuBar(toShow, this)) {
    m_hMenu = toShow;
    if (!maximized) RecalcAndRedraw();
  } else {
    RestoreSnapshot(before);
    ok = FALSE;
  }
  if (CMDIFrameWnd* mdi = GetMDIFrame(); mdi != nullptr && mdi->GetSafeHwnd() != nullptr)
    mdi->OnUpdateFrameMenu(m_hMenu);
  if (maximized) RestoreMaximizedChild();
  // The open menu page shows the menu of the active document again; the old handles are gone.
  if (m_pMenuPage != nullptr) m_pMenuPage->SelectMenu(noted, FALSE);
  return ok;
}

void CPlxMenuBar::OnGlobalFontsChanged() {
  const BOOL maximized = m_bMaximizedChild;
  SetMaximizedChild(FALSE, nullptr, FALSE);
  const std::vector<BYTE> before = Snapshot();
  if (!StoreCurrent()) {
    CPlxToolBar::OnGlobalFontsChanged();
    if (maximized) RestoreMaximizedChild();
    return;
  }
  std::vector<HMENU> menus;
  for (CMultiDocTemplate* tmpl : SharedMenuTemplates(m_bDocumentMenus)) menus.push_back(tmpl->m_hMenuShared);
  menus.push_back(m_hDefaultMenu);
  for (HMENU menu : menus) {
    if (menu == nullptr || !g_menuTempStore.LoadMenuBar(menu, this)) continue;
    CPlxToolBar::OnGlobalFontsChanged();
    g_menuTempStore.SaveMenuBar(menu, this);
  }
  if (m_hMenu == nullptr || !g_menuTempStore.LoadMenuBar(m_hMenu, this)) {
    RestoreSnapshot(before);
    CPlxToolBar::OnGlobalFontsChanged();
  }
  RecalcAndRedraw();
  if (maximized) RestoreMaximizedChild();
}
