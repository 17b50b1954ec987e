// CWnd's core: the handle map, creation and subclassing, the window procedure, message-map
// dispatch, command and notification routing with reflection, and modal loops.
#include "platform/mfc/Wnd.h"

#include "platform/base/Exceptions.h"
#include "platform/mfc/CmdUI.h"
#include "platform/mfc/ThreadState.h"
#include "platform/mfc/WinApp.h"
#include "platform/user/ModalLoop.h"

using pictavo::mfc::State;

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

namespace {

// The message the window procedure handles, restored when it returns (even by an exception).
class CurrentMessage {
 public:
  CurrentMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
      : m_state(State()), m_saved(m_state.lastSent) {
    m_state.lastSent = MSG{hWnd, message, wParam, lParam, 0, {}};
    ++m_state.dispatchDepth;
  }
  ~CurrentMessage() {
    --m_state.dispatchDepth;
    m_state.lastSent = m_saved;
  }
  CurrentMessage(const CurrentMessage&) = delete;
  CurrentMessage& operator=(const CurrentMessage&) = delete;

 private:
  pictavo::mfc::ThreadState& m_state;
  MSG m_saved;
};

// A dialog that neither moved nor showed itself in WM_INITDIALOG is centred on its owner when
// that owner is disabled (a modal dialog) or when it has none.
struct InitDialogPlacement {
  RECT rect{};
  DWORD style = 0;
  void Before(CWnd* wnd) {
    wnd->GetWindowRect(&rect);
    style = wnd->GetStyle();
  }
  void After(HWND hWnd) {
    CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
    if (!wnd || (style & WS_VISIBLE)) return;
    if (wnd->GetStyle() & (WS_VISIBLE | WS_CHILD)) return;
    RECT now{};
    wnd->GetWindowRect(&now);
    if (now.left != rect.left || now.top != rect.top) return;
    HWND owner = ::GetWindow(hWnd, GW_OWNER);
    if (owner && ::IsWindowEnabled(owner)) return;
    if (!wnd->CheckAutoCenter()) return;
    wnd->CenterWindow();
  }
};

}  // namespace

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  CurrentMessage current(hWnd, nMsg, wParam, lParam);
  InitDialogPlacement placement;
  if (nMsg == WM_INITDIALOG) placement.Before(pWnd);
  LRESULT result = 0;
  try {
    result = pWnd->WindowProc(nMsg, wParam, lParam);  // may delete pWnd
  } catch (CException* e) {
    pictavo::ExceptionLink link(e);
    const MSG msg{hWnd, nMsg, wParam, lParam, 0, {}};
    CWinThread* thread = AfxGetThread();
    result = thread ? thread->ProcessWndProcException(e, &msg) : (nMsg == WM_CREATE ? -1 : 0);
  }
  if (nMsg == WM_INITDIALOG) placement.After(hWnd);
  return result;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
  if (!wnd || wnd->m_hWnd != hWnd) {
    // The object is gone but the window is not: its own procedure carries on.
    auto& supers = State().superProcs;
    auto it = supers.find(hWnd);
    WNDPROC super = it != supers.end() ? it->second : nullptr;
    if (nMsg == WM_NCDESTROY && it != supers.end()) supers.erase(it);
    return super ? CallWindowProc(super, hWnd, nMsg, wParam, lParam)
                 : ::DefWindowProc(hWnd, nMsg, wParam, lParam);
  }
  return AfxCallWndProc(wnd, hWnd, nMsg, wParam, lParam);
}

CWnd::CWnd() = default;

CWnd::~CWnd() {
  if (m_hWnd && State().windows.FindPermanent(m_hWnd) == this) {
    DestroyWindow();
    if (m_hWnd) Detach();  // a window of another thread, or one that refused to go
  }
}

CWnd* CWnd::FromHandle(HWND hWnd) {
  if (!hWnd) return nullptr;
  auto& map = State().windows;
  if (CWnd* wnd = map.FindPermanent(hWnd)) return wnd;
  if (CWnd* wnd = map.FindTemporary(hWnd)) return wnd;
  auto temporary = std::make_unique<CWnd>();
  temporary->m_hWnd = hWnd;
  return map.AddTemporary(hWnd, std::move(temporary));
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
  return hWnd ? State().windows.FindPermanent(hWnd) : nullptr;
}

void CWnd::DeleteTempMap() {
  pictavo::mfc::DeleteTempObjects();
}

BOOL CWnd::Attach(HWND hWndNew) {
  if (!hWndNew) return FALSE;
  auto& map = State().windows;
  CWnd* owner = map.FindPermanent(hWndNew);
  if (owner && owner != this) return FALSE;  // the window has an object already
  m_hWnd = hWndNew;
  map.SetPermanent(hWndNew, this);
  return TRUE;
}

HWND CWnd::Detach() {
  HWND hWnd = m_hWnd;
  if (hWnd) State().windows.RemovePermanent(hWnd, this);
  m_hWnd = nullptr;
  return hWnd;
}

void CWnd::PreSubclassWindow() {}

WNDPROC* CWnd::GetSuperWndProcAddr() {
  return &m_pfnSuper;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!::IsWindow(hWnd) || !Attach(hWnd)) return FALSE;
  PreSubclassWindow();
  auto old =
      reinterpret_cast<WNDPROC>(SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
  if (old != AfxWndProc) {
    *GetSuperWndProcAddr() = old;
    State().superProcs[hWnd] = old;
  }
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
  HWND control = pParent ? ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)) : nullptr;
  return control ? SubclassWindow(control) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
  if (!m_hWnd) return nullptr;
  WNDPROC* super = GetSuperWndProcAddr();
  if (*super) {
    SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(*super));
    *super = nullptr;
  }
  State().superProcs.erase(m_hWnd);
  return Detach();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass)
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW),
                                       reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_WINDOW + 1)));
  return TRUE;
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
  CREATESTRUCT cs{lpParam, AfxGetInstanceHandle(),     nIDorHMenu,     hWndParent,    nHeight,  nWidth, y,
                  x,       static_cast<LONG>(dwStyle), lpszWindowName, lpszClassName, dwExStyle};
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  pictavo::mfc::BeginCreateHook(this);
  HWND hWnd = ::CreateWindowEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x,
                               cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  // A window that never got as far as the hook had no WM_NCDESTROY to clean up after it.
  if (!pictavo::mfc::EndCreateHook()) PostNcDestroy();
  return hWnd != nullptr;
}

BOOL CWnd::DestroyWindow() {
  HWND hWnd = m_hWnd;
  if (!hWnd) return FALSE;
  const bool permanent = FromHandlePermanent(hWnd) == this;
  const BOOL result = ::DestroyWindow(hWnd);  // may delete this object (PostNcDestroy)
  if (!permanent) Detach();
  return result;
}

void CWnd::PostNcDestroy() {}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC super = *GetSuperWndProcAddr();
  if (super) return ::CallWindowProc(super, m_hWnd, message, wParam, lParam);
  return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  const MSG& msg = State().lastSent;
  return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG* CWnd::GetCurrentMessage() {
  return &State().lastSent;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT result = 0;
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    result = 1;
  } else if (message == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header || !OnNotify(wParam, lParam, &result)) return FALSE;
  } else {
    UINT key = message;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
      key = WM_CTLCOLOR;
    else if (message >= WM_REFLECT_BASE + WM_CTLCOLORMSGBOX && message <= WM_REFLECT_BASE + WM_CTLCOLORSTATIC)
      key = WM_REFLECT_BASE + WM_CTLCOLOR;
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(key);
    if (!entry && key != message) entry = FindMessageEntry(message);
    if (!entry) return FALSE;
    AFX_CALL call{message, wParam, lParam, 0, 0, nullptr, 0};
    if (!entry->pfn(this, call)) return FALSE;
    result = call.lResult;
  }
  if (pResult) *pResult = result;
  return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT nID = LOWORD(wParam);
  auto control = reinterpret_cast<HWND>(lParam);
  int code = HIWORD(wParam);
  if (!control) {
    if (nID == 0) return FALSE;
    // A menu item or accelerator whose command became disabled does nothing.
    pictavo::mfc::TestCmdUI state;
    state.m_nID = nID;
    OnCmdMsg(nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr);
    if (!state.m_bEnabled) return TRUE;
    code = CN_COMMAND;
  } else {
    // Control notifications caused by UpdateData's own changes are not the user's.
    if (State().lockoutNotifyWindow == m_hWnd) return TRUE;
    if (CWnd* child = FromHandlePermanent(control)) {
      LRESULT result = 0;
      if (child->OnChildNotify(WM_COMMAND, wParam, lParam, &result)) return TRUE;
    }
    if (nID == 0) return FALSE;
  }
  return OnCmdMsg(nID, code, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  HWND control = header->hwndFrom;
  const UINT nID = control && ::IsWindow(control) ? static_cast<WORD>(::GetDlgCtrlID(control))
                                                  : static_cast<UINT>(header->idFrom);
  if (CWnd* child = FromHandlePermanent(control))
    if (child->OnChildNotify(WM_NOTIFY, static_cast<WPARAM>(nID), lParam, pResult)) return TRUE;
  AFX_NOTIFY notify{pResult, header};
  return OnCmdMsg(nID, static_cast<int>(MAKELONG(LOWORD(header->code), WM_NOTIFY)), &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
      return CWnd::OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    case WM_COMMAND:
      if (CCmdTarget::OnCmdMsg(0, static_cast<int>(MAKELONG(HIWORD(wParam), WM_REFLECT_BASE + WM_COMMAND)),
                               nullptr, nullptr)) {
        if (pResult) *pResult = 1;
        return TRUE;
      }
      return FALSE;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      LRESULT ignored = 0;
      AFX_NOTIFY notify{pResult ? pResult : &ignored, header};
      return CCmdTarget::OnCmdMsg(
          0, static_cast<int>(MAKELONG(LOWORD(header->code), WM_REFLECT_BASE + WM_NOTIFY)), &notify, nullptr);
    }
    default:
      if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        return CWnd::OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
      return FALSE;
  }
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
  CWnd* child = FromHandlePermanent(hWndChild);
  return child ? child->SendChildNotifyLastMsg(pResult) : FALSE;
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult) {
  const MSG msg = State().lastSent;
  return OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL CWnd::PreTranslateMessage(MSG*) {
  return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
  for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
    if (CWnd* wnd = FromHandlePermanent(hWnd))
      if (wnd->PreTranslateMessage(pMsg)) return TRUE;
    if (hWnd == hWndStop) break;
  }
  return FALSE;
}

BOOL CWnd::PreTranslateInput(LPMSG lpMsg) {
  const UINT m = lpMsg->message;
  if ((m < WM_KEYFIRST || m > WM_KEYLAST) && (m < WM_MOUSEFIRST || m > WM_MOUSELAST)) return FALSE;
  return IsDialogMessage(lpMsg);
}

BOOL CWnd::IsDialogMessage(LPMSG lpMsg) {
  return ::IsDialogMessage(m_hWnd, lpMsg);
}

BOOL CWnd::CheckAutoCenter() {
  return TRUE;
}

BOOL CWnd::ContinueModal() {
  return (m_nFlags & WF_CONTINUEMODAL) != 0;
}

void CWnd::EndModalLoop(int nResult) {
  m_nModalResult = nResult;
  if (m_nFlags & WF_CONTINUEMODAL) {
    m_nFlags &= ~WF_CONTINUEMODAL;
    PostMessage(WM_NULL);  // wakes the loop when this came from outside a message it dispatches
  }
}

int CWnd::RunModalLoop(DWORD dwFlags) {
  HWND hWnd = m_hWnd;
  bool showIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
  HWND parent = ::GetParent(hWnd);
  m_nFlags |= WF_MODALLOOP | WF_CONTINUEMODAL;
  auto show = [&] {
    if (!showIdle) return;
    showIdle = false;
    ShowWindow(SW_SHOWNORMAL);
    UpdateWindow();
  };
  pictavo::user::ModalLoop loop;
  loop.done = [&] { return !::IsWindow(hWnd) || !ContinueModal(); };
  loop.preTranslate = [&](MSG& msg) {
    State().msgCur = msg;
    if (msg.message == WM_SYSKEYDOWN) show();
    return AfxPreTranslateMessage(&msg) != FALSE;
  };
  loop.idle = [&](LONG count) {
    show();
    if (!(dwFlags & MLF_NOIDLEMSG) && parent && count == 0)
      ::SendMessage(parent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(hWnd));
    if ((dwFlags & MLF_NOKICKIDLE) || !::IsWindow(hWnd)) return false;
    return ::SendMessage(hWnd, WM_KICKIDLE, MSGF_DIALOGBOX, count) != 0;
  };
  const bool ended = pictavo::user::RunModalLoop(loop);
  if (::IsWindow(hWnd)) m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
  return ended ? m_nModalResult : -1;
}
