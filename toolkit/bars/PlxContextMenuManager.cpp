#include "toolkit/bars/PlxContextMenuManager.h"

#include "platform/mfc/WinApp.h"
#include "platform/mfc/WinThread.h"
#include "platform/mfc/Wnd.h"
#include "platform/res/Resources.h"
#include "toolkit/bars/PlxMenuTempStore.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxTearOffIdPool.h"
#include "toolkit/core/PlxDialog.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxRegistry.h"

CPlxContextMenuManager* g_pContextMenuManager = nullptr;

namespace {

constexpr LPCTSTR kRegSection = "PlxContextMenuManager";

BOOL IsToolkitDialog(const CWnd* pWnd) {
  return pWnd != nullptr &&
         (pWnd->IsKindOf(RUNTIME_CLASS(CPlxDialog)) || pWnd->IsKindOf(RUNTIME_CLASS(CPlxPropertyPage)));
}

// Registers the popup as the active menu of a toolkit dialog or page (null clears it).
void SetDialogActiveMenu(CWnd* pWnd, CPlxPopupMenu* pMenu) {
  if (auto* dialog = dynamic_cast<CPlxDialog*>(pWnd))
    dialog->SetActiveMenu(pMenu);
  else if (auto* page = dynamic_cast<CPlxPropertyPage*>(pWnd))
    page->SetActiveMenu(pMenu);
}

// Where a menu asked for at (-1, -1) opens: a keyboard request (the menu key, Shift+F10) has no
// pointer, so the menu goes 5 pixels inside the client corner of the window with the focus when
// that lies in the owner, else of the owner; with neither, at the pointer.
CPoint KeyboardMenuPoint(CWnd* pWndOwner) {
  HWND anchor = pWndOwner != nullptr ? pWndOwner->GetSafeHwnd() : nullptr;
  HWND focus = ::GetFocus();
  if (focus != nullptr && (anchor == nullptr || focus == anchor || ::IsChild(anchor, focus))) anchor = focus;
  if (anchor == nullptr) {
    CPoint cursor;
    ::GetCursorPos(&cursor);
    return cursor;
  }
  CPoint origin(0, 0);
  ::ClientToScreen(anchor, &origin);
  return origin + CPoint(5, 5);
}

}  // namespace

CPlxContextMenuManager::CPlxContextMenuManager() : m_Menus(10), m_MenuNames(10) {
  m_Menus.InitHashTable(17);
  m_MenuNames.InitHashTable(17);
  g_pContextMenuManager = this;
}

CPlxContextMenuManager::~CPlxContextMenuManager() {
  for (POSITION pos = m_Menus.GetStartPosition(); pos != nullptr;) {
    UINT id = 0;
    HMENU hMenu = nullptr;
    m_Menus.GetNextAssoc(pos, id, hMenu);
    if (hMenu != nullptr) {
      if (HMENU sub = ::GetSubMenu(hMenu, 0); sub != nullptr) g_menuTempStore.RemoveMenu(sub);
      ::DestroyMenu(hMenu);
    }
  }
  if (g_pContextMenuManager == this) g_pContextMenuManager = nullptr;
}

BOOL CPlxContextMenuManager::AddMenu(LPCTSTR lpszName, UINT uiMenuResId) {
  if (lpszName == nullptr || *lpszName == '\0') return FALSE;
  HMENU existing = nullptr;
  if (m_Menus.Lookup(uiMenuResId, existing) || m_MenuNames.Lookup(lpszName, existing)) return FALSE;
  HMENU hMenu = ::LoadMenu(AfxGetResourceHandle(), MAKEINTRESOURCE(uiMenuResId));
  if (hMenu == nullptr) return FALSE;
  if (::GetSubMenu(hMenu, 0) == nullptr) {
    ::DestroyMenu(hMenu);
    return FALSE;
  }
  m_Menus.SetAt(uiMenuResId, hMenu);
  m_MenuNames.SetAt(lpszName, hMenu);
  return TRUE;
}

BOOL CPlxContextMenuManager::AddMenu(UINT uiMenuNameResId, UINT uiMenuResId) {
  CString name;
  if (!name.LoadString(uiMenuNameResId)) return FALSE;
  return AddMenu(name, uiMenuResId);
}

BOOL CPlxContextMenuManager::ShowPopupMenu(UINT uiMenuResId, int x, int y, CWnd* pWndOwner, BOOL bOwnMessage,
                                           BOOL bRightAlign) {
  HMENU hMenu = nullptr;
  if (!m_Menus.Lookup(uiMenuResId, hMenu) || hMenu == nullptr) return FALSE;
  if (x == -1 && y == -1 && pWndOwner != nullptr) {
    const CPoint point = KeyboardMenuPoint(pWndOwner);
    x = point.x;
    y = point.y;
  }
  HMENU hPopup = ::GetSubMenu(hMenu, 0);
  if (hPopup == nullptr) return FALSE;
  return ShowPopupMenu(hPopup, x, y, pWndOwner, bOwnMessage, TRUE, bRightAlign) != nullptr;
}

CPlxPopupMenu* CPlxContextMenuManager::ShowPopupMenu(HMENU hmenuPopup, int x, int y, CWnd* pWndOwner,
                                                     BOOL bOwnMessage, BOOL bKeepMenu, BOOL bRightAlign) {
  // A toolkit dialog only hosts popups that report to it (or that it tracks): a popup posting
  // to the dialog's frame would get neither its keys nor its outside clicks.
  if (IsToolkitDialog(pWndOwner) && !bOwnMessage && !m_bTrackMode) return nullptr;
  if (hmenuPopup == nullptr) return nullptr;
  if (g_pTearOffIdPool != nullptr) g_pTearOffIdPool->Build(hmenuPopup);

  if (m_bTrackMode) {
    bOwnMessage = TRUE;
  } else if (!bOwnMessage) {
    while (pWndOwner != nullptr && (pWndOwner->GetStyle() & WS_CHILD)) pWndOwner = pWndOwner->GetParent();
  }
  if (x == -1 && y == -1) {
    const CPoint point = KeyboardMenuPoint(pWndOwner);
    x = point.x;
    y = point.y;
  }

  auto* popup = new CPlxPopupMenu;
  // The popup leaves the handle to its caller (only the oldest system had it destroyed).
  if (bKeepMenu || !g_plxGlobalData.bIsWindowsNT4) popup->SetAutoDestroy(FALSE);
  popup->SetRightAlign(bRightAlign);
  popup->m_bTrackMode = m_bTrackMode;

  if (CPlxPopupMenu* active = CPlxPopupMenu::m_pActiveTracked;
      active != nullptr && ::IsWindow(active->GetSafeHwnd()))
    active->SendMessage(WM_CLOSE);

  // A popup that fails is destroyed with its window and frees itself.
  if (!popup->Create(pWndOwner, x, y, hmenuPopup, FALSE, bOwnMessage)) return nullptr;
  return popup;
}

UINT CPlxContextMenuManager::TrackPopupMenu(HMENU hmenuPopup, int x, int y, CWnd* pWndOwner,
                                            BOOL bRightAlign) {
  m_nLastCommand = 0;
  CWinThread* thread = AfxGetThread();
  if (thread == nullptr) return 0;

  m_bTrackMode = TRUE;
  CPlxPopupMenu* popup = ShowPopupMenu(hmenuPopup, x, y, pWndOwner, FALSE, TRUE, bRightAlign);
  HWND hwndPopup = popup != nullptr ? popup->GetSafeHwnd() : nullptr;
  if (hwndPopup != nullptr) {
    CRect rect;
    popup->GetWindowRect(rect);
    popup->UpdateShadow(&rect);
  }
  // The dialog that hosts the owner closes the popup on outside clicks and feeds it the keys;
  // a toolkit dialog that is the owner itself does the same.
  CWnd* host = nullptr;
  if (popup != nullptr && pWndOwner != nullptr) {
    if (IsToolkitDialog(pWndOwner->GetParent()))
      host = pWndOwner->GetParent();
    else if (IsToolkitDialog(pWndOwner))
      host = pWndOwner;
    if (host != nullptr) SetDialogActiveMenu(host, popup);
  }
  m_bTrackMode = FALSE;

  // The popup deletes itself with its window, so the loop asks the window handle whether the
  // popup is still there before it reads the object.
  auto popupAlive = [&] {
    return hwndPopup != nullptr && ::IsWindow(hwndPopup) && CWnd::FromHandlePermanent(hwndPopup) == popup;
  };
  auto clearHost = [&] {
    if (host != nullptr && ::IsWindow(host->GetSafeHwnd()) && CPlxPopupMenu::m_pActiveTracked == nullptr)
      SetDialogActiveMenu(host, nullptr);
  };

  while (popupAlive() && !popup->m_bClosing) {
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        // The application's own loop ends too: the quit stays for it, and the popup goes now
        // rather than outliving the loop that ran it.
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        if (popupAlive()) {
          popup->m_bClosing = TRUE;
          popup->SendMessage(WM_CLOSE);
        }
        clearHost();
        m_nLastCommand = 0;
        return 0;
      }
      if (popupAlive() && !popup->m_bClosing) {
        if (!thread->PreTranslateMessage(&msg)) {
          ::TranslateMessage(&msg);
          ::DispatchMessage(&msg);
        }
      } else {
        // The popup went while this message waited: it still reaches its window.
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
      }
      if (popupAlive() && popup->IsIdle()) thread->OnIdle(0);
      if (!popupAlive() || popup->m_bClosing) break;
    }
    if (popupAlive() && !popup->m_bClosing) ::WaitMessage();
  }
  clearHost();
  return m_nLastCommand;
}

void CPlxContextMenuManager::GetMenuNames(CStringList& listOfNames) const {
  listOfNames.RemoveAll();
  for (POSITION pos = m_MenuNames.GetStartPosition(); pos != nullptr;) {
    CString name;
    HMENU hMenu = nullptr;
    m_MenuNames.GetNextAssoc(pos, name, hMenu);
    listOfNames.AddTail(name);
  }
}

HMENU CPlxContextMenuManager::GetMenuByName(LPCTSTR lpszName, UINT* puiOrigResID) const {
  HMENU hMenu = nullptr;
  if (lpszName == nullptr || !m_MenuNames.Lookup(lpszName, hMenu)) return nullptr;
  if (puiOrigResID != nullptr) {
    *puiOrigResID = 0;
    for (POSITION pos = m_Menus.GetStartPosition(); pos != nullptr;) {
      UINT id = 0;
      HMENU candidate = nullptr;
      m_Menus.GetNextAssoc(pos, id, candidate);
      if (candidate == hMenu) {
        *puiOrigResID = id;
        break;
      }
    }
  }
  return hMenu;
}

BOOL CPlxContextMenuManager::LoadState(LPCTSTR lpszProfileName) {
  const CString path = PlxGetRegPath(kRegSection, lpszProfileName);
  for (POSITION pos = m_Menus.GetStartPosition(); pos != nullptr;) {
    UINT id = 0;
    HMENU hMenu = nullptr;
    m_Menus.GetNextAssoc(pos, id, hMenu);
    HMENU hPopup = hMenu != nullptr ? ::GetSubMenu(hMenu, 0) : nullptr;
    if (hPopup == nullptr) continue;
    CPlxPopupMenuBar bar;
    if (!bar.ImportFromMenu(hPopup)) return FALSE;
    if (bar.LoadState(path, 0, id)) g_menuTempStore.SaveMenuBar(hPopup, &bar);
  }
  return TRUE;
}

BOOL CPlxContextMenuManager::SaveState(LPCTSTR lpszProfileName) {
  const CString path = PlxGetRegPath(kRegSection, lpszProfileName);
  for (POSITION pos = m_Menus.GetStartPosition(); pos != nullptr;) {
    UINT id = 0;
    HMENU hMenu = nullptr;
    m_Menus.GetNextAssoc(pos, id, hMenu);
    HMENU hPopup = hMenu != nullptr ? ::GetSubMenu(hMenu, 0) : nullptr;
    if (hPopup == nullptr) continue;
    CPlxPopupMenuBar bar;
    if (g_menuTempStore.LoadMenuBar(hPopup, &bar) && !bar.SaveState(path, 0, id)) return FALSE;
  }
  return TRUE;
}
