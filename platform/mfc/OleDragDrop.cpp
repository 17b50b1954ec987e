// The drag's two message loops (waiting for the drag to begin, then the drag itself) and the
// table of registered drop targets. Both loops take every mouse and key message for themselves
// and let the rest (painting, timers, posted work) through, so windows stay live under the drag.
#include <map>

#include "platform/mfc/OleDragDrop.h"
#include "platform/mfc/Wnd.h"
#include "platform/user/Cursor.h"
#include "platform/user/Input.h"
#include "platform/user/Metrics.h"
#include "platform/user/ModalLoop.h"
#include "platform/user/WindowPos.h"

namespace {

// UI thread only, as every window of a target is.
std::map<HWND, COleDropTarget*>& Targets() {
  static std::map<HWND, COleDropTarget*> targets;
  return targets;
}

bool IsMouseMessage(UINT message) {
  return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST;
}
bool IsKeyMessage(UINT message) {
  return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

// The window the drag's mouse input goes to: the one holding the capture, else the focus, else
// the active window.
HWND DragWindow(CWnd* pWnd) {
  if (pWnd && pWnd->GetSafeHwnd()) return pWnd->GetSafeHwnd();
  if (HWND capture = GetCapture()) return capture;
  if (HWND focus = GetFocus()) return focus;
  return GetActiveWindow();
}

CPoint ToClient(HWND hwnd, POINT screen) {
  CPoint point(screen);
  ScreenToClient(hwnd, &point);
  return point;
}

// One drag between OnBeginDrag and the drop or cancel.
class DragLoop {
 public:
  DragLoop(const COleDataSource* source, COleDropSource* dropSource, DWORD effects, HWND capture)
      : m_dropSource(dropSource), m_effects(effects), m_capture(capture) {
    m_data.Attach(source);
  }

  DROPEFFECT Run() {
    const DWORD pos = GetMessagePos();
    m_point = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    if (m_capture) SetCapture(m_capture);
    Step(FALSE);
    pictavo::user::ModalLoop loop;
    loop.done = [this] { return m_over; };
    loop.preTranslate = [this](MSG& msg) { return OnMessage(msg); };
    if (!pictavo::user::RunModalLoop(loop) && !m_over) Cancel();
    if (m_capture && GetCapture() == m_capture) ReleaseCapture();
    return m_result;
  }

 private:
  bool OnMessage(MSG& msg) {
    if (IsMouseMessage(msg.message)) {
      m_point = msg.pt;
      Step(FALSE);
    } else if (IsKeyMessage(msg.message)) {
      Step(msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE);
    } else if (msg.message == WM_CANCELMODE) {
      Cancel();
    } else {
      return false;
    }
    return true;
  }

  // Asks the source whether to go on, then the target under the pointer for the effect.
  void Step(BOOL bEscape) {
    if (m_over) return;
    if (m_capture && GetCapture() != m_capture) return Cancel();
    const DWORD keys = AfxOleDragKeyState();
    const SCODE sc = m_dropSource->QueryContinueDrag(bEscape, keys);
    if (sc == DRAGDROP_S_CANCEL) return Cancel();
    if (sc == DRAGDROP_S_DROP) return Drop();
    COleDropTarget* target = COleDropTarget::FromWindow(WindowFromPoint(m_point));
    if (target != m_target) {
      Leave();
      m_target = target;
      if (m_target) m_effect = Ask(&COleDropTarget::OnDragEnter, keys);
    } else if (m_target) {
      m_effect = Ask(&COleDropTarget::OnDragOver, keys);
    }
    if (m_dropSource->GiveFeedback(m_effect) == DRAGDROP_S_USEDEFAULTCURSORS)
      SetCursor(LoadCursor(nullptr, (m_effect & ~DROPEFFECT_SCROLL) ? IDC_ARROW : IDC_NO));
  }

  using AskFn = DROPEFFECT (COleDropTarget::*)(CWnd*, COleDataObject*, DWORD, CPoint);
  DROPEFFECT Ask(AskFn fn, DWORD keys) {
    const HWND hwnd = m_target->GetRegisteredWindow();
    CWnd* wnd = CWnd::FromHandle(hwnd);
    const CPoint point = ToClient(hwnd, m_point);
    const DROPEFFECT scroll = m_target->OnDragScroll(wnd, keys, point);
    if (scroll & DROPEFFECT_SCROLL) return scroll & (m_effects | DROPEFFECT_SCROLL);
    return (m_target->*fn)(wnd, &m_data, keys, point) & m_effects;
  }

  void Leave() {
    if (m_target && IsWindow(m_target->GetRegisteredWindow()))
      m_target->OnDragLeave(CWnd::FromHandle(m_target->GetRegisteredWindow()));
    m_target = nullptr;
    m_effect = DROPEFFECT_NONE;
  }

  void Cancel() {
    Leave();
    m_result = DROPEFFECT_NONE;
    m_over = true;
  }

  // A drop where the target last refused gets a leave instead, as a cancel does.
  void Drop() {
    const DROPEFFECT effect = m_effect & ~DROPEFFECT_SCROLL;
    if (!m_target || effect == DROPEFFECT_NONE) return Cancel();
    const HWND hwnd = m_target->GetRegisteredWindow();
    CWnd* wnd = CWnd::FromHandle(hwnd);
    const CPoint point = ToClient(hwnd, m_point);
    COleDropTarget* target = m_target;
    m_target = nullptr;
    DROPEFFECT result = target->OnDropEx(wnd, &m_data, effect, m_effects, point);
    if (result == static_cast<DROPEFFECT>(-1))
      result = target->OnDrop(wnd, &m_data, effect, point) ? effect : 0;
    m_result = result;
    m_over = true;
  }

  COleDataObject m_data;
  COleDropSource* m_dropSource;
  const DWORD m_effects;
  const HWND m_capture;
  POINT m_point{};
  COleDropTarget* m_target = nullptr;
  DROPEFFECT m_effect = DROPEFFECT_NONE;
  DROPEFFECT m_result = DROPEFFECT_NONE;
  bool m_over = false;
};

}  // namespace

DWORD AfxOleDragKeyState() {
  DWORD keys = 0;
  if (GetKeyState(VK_LBUTTON) < 0) keys |= MK_LBUTTON;
  if (GetKeyState(VK_RBUTTON) < 0) keys |= MK_RBUTTON;
  if (GetKeyState(VK_MBUTTON) < 0) keys |= MK_MBUTTON;
  if (GetKeyState(VK_SHIFT) < 0) keys |= MK_SHIFT;
  if (GetKeyState(VK_CONTROL) < 0) keys |= MK_CONTROL;
  if (GetKeyState(VK_MENU) < 0) keys |= MK_ALT;
  return keys;
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects, LPCRECT lpRectStartDrag, COleDropSource* pDropSource) {
  COleDropSource defaultSource;
  COleDropSource* source = pDropSource ? pDropSource : &defaultSource;
  // The button held now drops; the other one cancels.
  const DWORD keys = AfxOleDragKeyState();
  source->m_dwButtonDrop = (keys & MK_RBUTTON) && !(keys & MK_LBUTTON) ? MK_RBUTTON : MK_LBUTTON;
  source->m_dwButtonCancel = source->m_dwButtonDrop == MK_LBUTTON ? MK_RBUTTON : MK_LBUTTON;
  if (lpRectStartDrag) {
    source->m_rectStartDrag = *lpRectStartDrag;
  } else {
    const DWORD pos = GetMessagePos();
    const CPoint at(static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos)));
    const int dx = GetSystemMetrics(SM_CXDRAG), dy = GetSystemMetrics(SM_CYDRAG);
    source->m_rectStartDrag.SetRect(at.x - dx, at.y - dy, at.x + dx + 1, at.y + dy + 1);
  }
  const HWND capture = DragWindow(nullptr);
  if (!source->OnBeginDrag(CWnd::FromHandle(capture))) return DROPEFFECT_NONE;
  DragLoop loop(this, source, dwEffects, capture);
  return loop.Run();
}

COleDropSource::COleDropSource() : m_dwButtonCancel(MK_RBUTTON), m_dwButtonDrop(MK_LBUTTON) {}

SCODE COleDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState) {
  if (bEscapePressed || (dwKeyState & m_dwButtonCancel)) return DRAGDROP_S_CANCEL;
  if (!(dwKeyState & m_dwButtonDrop)) return m_bDragStarted ? DRAGDROP_S_DROP : DRAGDROP_S_CANCEL;
  return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT) {
  return DRAGDROP_S_USEDEFAULTCURSORS;
}

BOOL COleDropSource::OnBeginDrag(CWnd* pWnd) {
  m_bDragStarted = FALSE;
  const HWND hwnd = DragWindow(pWnd);
  if (hwnd) SetCapture(hwnd);
  bool over = false;
  pictavo::user::ModalLoop loop;
  loop.done = [&] { return over; };
  loop.preTranslate = [&](MSG& msg) {
    if (IsMouseMessage(msg.message)) {
      if (!(AfxOleDragKeyState() & m_dwButtonDrop) || msg.message == WM_RBUTTONDOWN ||
          msg.message == WM_LBUTTONDOWN) {
        over = true;
      } else if (!m_rectStartDrag.PtInRect(msg.pt)) {
        m_bDragStarted = TRUE;
        over = true;
      }
      return true;
    }
    if (IsKeyMessage(msg.message)) {
      if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) over = true;
      return true;
    }
    if (msg.message == WM_CANCELMODE || (hwnd && GetCapture() != hwnd)) over = true;
    return msg.message == WM_CANCELMODE;
  };
  pictavo::user::RunModalLoop(loop);
  if (!m_bDragStarted && hwnd && GetCapture() == hwnd) ReleaseCapture();
  return m_bDragStarted;
}

COleDropTarget::~COleDropTarget() {
  Revoke();
}

BOOL COleDropTarget::Register(CWnd* pWnd) {
  const HWND hwnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
  if (!hwnd || m_hWnd) return FALSE;
  auto [it, added] = Targets().try_emplace(hwnd, this);
  if (!added) {
    if (IsWindow(hwnd) && it->second != this) return FALSE;
    it->second = this;  // a target left over from a window that has gone
  }
  m_hWnd = hwnd;
  return TRUE;
}

void COleDropTarget::Revoke() {
  if (!m_hWnd) return;
  auto it = Targets().find(m_hWnd);
  if (it != Targets().end() && it->second == this) Targets().erase(it);
  m_hWnd = nullptr;
}

COleDropTarget* COleDropTarget::FromWindow(HWND hwnd) {
  auto& targets = Targets();
  for (; hwnd; hwnd = GetAncestor(hwnd, GA_PARENT)) {
    auto it = targets.find(hwnd);
    if (it == targets.end()) continue;
    if (IsWindow(hwnd)) return it->second;
    it->second->m_hWnd = nullptr;
    targets.erase(it);
    return nullptr;
  }
  return nullptr;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint) {
  return DROPEFFECT_NONE;
}
DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) {
  return DROPEFFECT_NONE;
}
void COleDropTarget::OnDragLeave(CWnd*) {}
DROPEFFECT COleDropTarget::OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint) {
  return static_cast<DROPEFFECT>(-1);
}
BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) {
  return FALSE;
}
DROPEFFECT COleDropTarget::OnDragScroll(CWnd*, DWORD, CPoint) {
  return DROPEFFECT_NONE;
}
