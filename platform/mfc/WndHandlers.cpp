// CWnd's message map and its default handlers: the default processing of each message, with the
// messages a control may want back (colours, owner-draw, scrolling) reflected to it first; data
// exchange and the update pass of a window's controls; the framework's window classes.
#include <cstdio>
#include <mutex>
#include <set>
#include <string>

#include "platform/mfc/CmdUI.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/ThreadState.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/Wnd.h"

using pictavo::mfc::State;

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_DRAWITEM()
ON_WM_MEASUREITEM()
ON_WM_CTLCOLOR()
ON_WM_COMPAREITEM()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_DELETEITEM()
ON_WM_CHARTOITEM()
ON_WM_VKEYTOITEM()
ON_WM_NCDESTROY()
ON_WM_PARENTNOTIFY()
END_MESSAGE_MAP()

void CWnd::OnNcDestroy() {
  HWND hWnd = m_hWnd;
  if (CWinThread* thread = AfxGetThread()) {
    // The main window going ends the thread's message loop.
    if (thread->m_pMainWnd == this) {
      PostQuitMessage(0);
      thread->m_pMainWnd = nullptr;
    }
    if (thread->m_pActiveWnd == this) thread->m_pActiveWnd = nullptr;
  }
  const auto procBefore = reinterpret_cast<WNDPROC>(::GetWindowLongPtr(hWnd, GWLP_WNDPROC));
  Default();
  if (reinterpret_cast<WNDPROC>(::GetWindowLongPtr(hWnd, GWLP_WNDPROC)) == procBefore) {
    WNDPROC super = *GetSuperWndProcAddr();
    if (super) ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super));
  }
  State().superProcs.erase(hWnd);
  Detach();
  PostNcDestroy();  // may delete this object
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT) {
  LRESULT result = 0;
  if (pWnd && pWnd->m_hWnd && ReflectLastMsg(pWnd->m_hWnd, &result)) return reinterpret_cast<HBRUSH>(result);
  return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct->CtlType == ODT_MENU) {
    if (CMenu* menu = State().menus.FindPermanent(reinterpret_cast<HMENU>(lpDrawItemStruct->hwndItem))) {
      menu->DrawItem(lpDrawItemStruct);
      return;
    }
  } else if (ReflectLastMsg(lpDrawItemStruct->hwndItem)) {
    return;
  }
  Default();
}

namespace {

// The menu of `menu`'s tree that holds the item with command `id`.
HMENU MenuHolding(HMENU menu, UINT id) {
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (HMENU sub = ::GetSubMenu(menu, i)) {
      if (HMENU found = MenuHolding(sub, id)) return found;
    } else if (::GetMenuItemID(menu, i) == id) {
      return menu;
    }
  }
  return nullptr;
}

}  // namespace

void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  if (lpMeasureItemStruct->CtlType == ODT_MENU) {
    HMENU holder = nullptr;
    if (HMENU menu = ::GetMenu(m_hWnd)) holder = MenuHolding(menu, lpMeasureItemStruct->itemID);
    if (CMenu* menu = holder ? State().menus.FindPermanent(holder) : nullptr) {
      menu->MeasureItem(lpMeasureItemStruct);
      return;
    }
  } else if (CWnd* child = GetDescendantWindow(static_cast<int>(lpMeasureItemStruct->CtlID), TRUE)) {
    if (child->SendChildNotifyLastMsg()) return;
  }
  Default();
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT lpDeleteItemStruct) {
  if (ReflectLastMsg(lpDeleteItemStruct->hwndItem)) return;
  Default();
}

int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT lpCompareItemStruct) {
  LRESULT result = 0;
  if (ReflectLastMsg(lpCompareItemStruct->hwndItem, &result)) return static_cast<int>(result);
  return static_cast<int>(Default());
}

int CWnd::OnVKeyToItem(UINT, CListBox* pListBox, UINT) {
  LRESULT result = 0;
  auto* list = reinterpret_cast<CWnd*>(pListBox);
  if (list && ReflectLastMsg(list->m_hWnd, &result)) return static_cast<int>(result);
  return static_cast<int>(Default());
}

int CWnd::OnCharToItem(UINT, CListBox* pListBox, UINT) {
  LRESULT result = 0;
  auto* list = reinterpret_cast<CWnd*>(pListBox);
  if (list && ReflectLastMsg(list->m_hWnd, &result)) return static_cast<int>(result);
  return static_cast<int>(Default());
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar) {
  auto* bar = reinterpret_cast<CWnd*>(pScrollBar);
  if (bar && ReflectLastMsg(bar->m_hWnd)) return;
  Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar) {
  auto* bar = reinterpret_cast<CWnd*>(pScrollBar);
  if (bar && ReflectLastMsg(bar->m_hWnd)) return;
  Default();
}

void CWnd::OnParentNotify(UINT message, LPARAM lParam) {
  if ((LOWORD(message) == WM_CREATE || LOWORD(message) == WM_DESTROY) &&
      ReflectLastMsg(reinterpret_cast<HWND>(lParam)))
    return;
  Default();
}

// Handlers that only run the default processing.
int CWnd::OnCreate(LPCREATESTRUCT) {
  return static_cast<int>(Default());
}
void CWnd::OnDestroy() {
  Default();
}
BOOL CWnd::OnNcCreate(LPCREATESTRUCT) {
  return static_cast<BOOL>(Default());
}
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) {
  Default();
}
LRESULT CWnd::OnNcHitTest(CPoint) {
  return Default();
}
void CWnd::OnNcPaint() {
  Default();
}
BOOL CWnd::OnNcActivate(BOOL) {
  return static_cast<BOOL>(Default());
}
void CWnd::OnNcMouseMove(UINT, CPoint) {
  Default();
}
void CWnd::OnNcLButtonDown(UINT, CPoint) {
  Default();
}
void CWnd::OnNcLButtonUp(UINT, CPoint) {
  Default();
}
void CWnd::OnNcLButtonDblClk(UINT, CPoint) {
  Default();
}
void CWnd::OnNcRButtonDown(UINT, CPoint) {
  Default();
}
void CWnd::OnNcRButtonUp(UINT, CPoint) {
  Default();
}
void CWnd::OnNcMButtonDown(UINT, CPoint) {
  Default();
}
void CWnd::OnMove(int, int) {
  Default();
}
void CWnd::OnSize(UINT, int, int) {
  Default();
}
void CWnd::OnSizing(UINT, LPRECT) {
  Default();
}
void CWnd::OnMoving(UINT, LPRECT) {
  Default();
}
void CWnd::OnActivate(UINT, CWnd*, BOOL) {
  Default();
}
void CWnd::OnActivateApp(BOOL, DWORD) {
  Default();
}
void CWnd::OnSetFocus(CWnd*) {
  Default();
}
void CWnd::OnKillFocus(CWnd*) {
  Default();
}
void CWnd::OnEnable(BOOL) {
  Default();
}
void CWnd::OnPaint() {
  Default();
}
void CWnd::OnClose() {
  Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*) {
  return static_cast<BOOL>(Default());
}
void CWnd::OnShowWindow(BOOL, UINT) {
  Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) {
  return static_cast<BOOL>(Default());
}
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) {
  return static_cast<int>(Default());
}
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) {
  Default();
}
HCURSOR CWnd::OnQueryDragIcon() {
  return reinterpret_cast<HCURSOR>(Default());
}
void CWnd::OnWindowPosChanging(WINDOWPOS*) {
  Default();
}
void CWnd::OnWindowPosChanged(WINDOWPOS*) {
  Default();
}
BOOL CWnd::OnCopyData(CWnd*, COPYDATASTRUCT*) {
  return static_cast<BOOL>(Default());
}
void CWnd::OnContextMenu(CWnd*, CPoint) {
  Default();
}
void CWnd::OnStyleChanging(int, LPSTYLESTRUCT) {
  Default();
}
void CWnd::OnStyleChanged(int, LPSTYLESTRUCT) {
  Default();
}
UINT CWnd::OnGetDlgCode() {
  return static_cast<UINT>(Default());
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {
  Default();
}
void CWnd::OnKeyUp(UINT, UINT, UINT) {
  Default();
}
void CWnd::OnSysKeyDown(UINT, UINT, UINT) {
  Default();
}
void CWnd::OnSysKeyUp(UINT, UINT, UINT) {
  Default();
}
void CWnd::OnChar(UINT, UINT, UINT) {
  Default();
}
void CWnd::OnSysChar(UINT, UINT, UINT) {
  Default();
}
void CWnd::OnInitMenu(CMenu*) {
  Default();
}
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) {
  Default();
}
void CWnd::OnMenuSelect(UINT, UINT, HMENU) {
  Default();
}
LRESULT CWnd::OnMenuChar(UINT, UINT, CMenu*) {
  return Default();
}
void CWnd::OnEnterIdle(UINT, CWnd*) {
  Default();
}
void CWnd::OnSysCommand(UINT, LPARAM) {
  Default();
}
void CWnd::OnTimer(UINT_PTR) {
  Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
  Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
  Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
  Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint) {
  Default();
}
void CWnd::OnRButtonDown(UINT, CPoint) {
  Default();
}
void CWnd::OnRButtonUp(UINT, CPoint) {
  Default();
}
void CWnd::OnRButtonDblClk(UINT, CPoint) {
  Default();
}
void CWnd::OnMButtonDown(UINT, CPoint) {
  Default();
}
void CWnd::OnMButtonUp(UINT, CPoint) {
  Default();
}
void CWnd::OnMButtonDblClk(UINT, CPoint) {
  Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) {
  return static_cast<BOOL>(Default());
}
void CWnd::OnMouseHWheel(UINT, short, CPoint) {
  Default();
}
void CWnd::OnMouseLeave() {
  Default();
}
void CWnd::OnMouseHover(UINT, CPoint) {
  Default();
}
void CWnd::OnCaptureChanged(CWnd*) {
  Default();
}
void CWnd::OnCancelMode() {
  Default();
}
void CWnd::OnSysColorChange() {
  Default();
}
void CWnd::OnSettingChange(UINT, LPCTSTR) {
  Default();
}
void CWnd::OnDropFiles(HDROP) {
  Default();
}
BOOL CWnd::OnQueryEndSession() {
  return static_cast<BOOL>(Default());
}
void CWnd::OnEndSession(BOOL) {
  Default();
}
BOOL CWnd::OnHelpInfo(HELPINFO*) {
  return static_cast<BOOL>(Default());
}

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  auto& state = State();
  HWND oldLockout = state.lockoutNotifyWindow;
  state.lockoutNotifyWindow = m_hWnd;
  BOOL ok = FALSE;
  try {
    DoDataExchange(&dx);
    ok = TRUE;
  } catch (CUserException* e) {
    e->Delete();  // the user was told already
  } catch (CException* e) {
    char text[256] = {};
    e->GetErrorMessage(text, sizeof text);
    e->Delete();
    AfxMessageBox(text[0] ? text : "An internal error occurred.", MB_ICONEXCLAMATION);
  }
  State().lockoutNotifyWindow = oldLockout;
  return ok;
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  CCmdUI state;
  CWnd control;  // borrows each child's handle for the pass; never attached
  for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT)) {
    control.m_hWnd = child;
    state.m_nID = static_cast<WORD>(::GetDlgCtrlID(child));
    state.m_pOther = &control;
    if (CCmdTarget::OnCmdMsg(state.m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr)) continue;
    BOOL disable = bDisableIfNoHndler;
    if (disable) {
      // Only buttons that act by themselves are disabled for lack of a handler.
      if (!(control.SendMessage(WM_GETDLGCODE) & DLGC_BUTTON)) {
        disable = FALSE;
      } else {
        const UINT type = control.GetStyle() & BS_TYPEMASK;
        if (type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE || type == BS_GROUPBOX ||
            type == BS_AUTORADIOBUTTON)
          disable = FALSE;
      }
    }
    state.DoUpdate(pTarget, disable);
  }
  control.m_hWnd = nullptr;
}

BOOL AfxRegisterClass(WNDCLASS* lpWndClass) {
  WNDCLASS existing{};
  if (::GetClassInfo(lpWndClass->hInstance, lpWndClass->lpszClassName, &existing)) return TRUE;
  return ::RegisterClass(lpWndClass) != 0;
}

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
  static std::mutex lock;
  static std::set<std::string>* names = new std::set<std::string>;  // the names callers keep pointers to
  HINSTANCE instance = AfxGetInstanceHandle();
  char name[96];
  std::snprintf(name, sizeof name, "Afx:%p:%x:%p:%p:%p", static_cast<void*>(instance), nClassStyle,
                static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
  std::lock_guard guard(lock);
  auto [it, added] = names->insert(name);
  if (added) {
    WNDCLASS wc{};
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = instance;
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = it->c_str();
    AfxRegisterClass(&wc);
  }
  return it->c_str();
}
