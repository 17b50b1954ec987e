#include "toolkit/core/PlxOleIPFrameWnd.h"

#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxFrameRouting.h"

namespace {

void CloseOpenPopup() {
  CPlxPopupMenu* active = CPlxPopupMenu::m_pActiveTracked;
  if (active != nullptr && active->GetSafeHwnd() != nullptr) active->SendMessage(WM_CLOSE);
}

// The frame that was the top-level frame before: the frame object still attached to that window.
CFrameWnd* FrameBehind(HWND hwnd) {
  return hwnd != nullptr && ::IsWindow(hwnd) ? dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(hwnd))
                                             : nullptr;
}

}  // namespace

// The two in-place frames behave alike; their bodies are one text with the class names put in.
#define PLX_IMPLEMENT_OLE_FRAME(ClassName, BaseName)                                                      \
  IMPLEMENT_DYNCREATE(ClassName, BaseName)                                                                \
                                                                                                          \
  BEGIN_MESSAGE_MAP(ClassName, BaseName)                                                                  \
  ON_WM_MENUCHAR()                                                                                        \
  ON_WM_CLOSE()                                                                                           \
  ON_WM_ACTIVATE()                                                                                        \
  ON_WM_DESTROY()                                                                                         \
  ON_REGISTERED_MESSAGE(PLX_WM_CREATETOOLBAR, OnToolbarCreateNew)                                         \
  ON_REGISTERED_MESSAGE(PLX_WM_DELETETOOLBAR, OnToolbarDelete)                                            \
  END_MESSAGE_MAP()                                                                                       \
                                                                                                          \
  ClassName::ClassName() : m_Impl(this) {                                                                 \
    if (PLX_WM_RESETRPROMPT == 0) PlxRegisterToolbarMessages();                                           \
  }                                                                                                       \
                                                                                                          \
  ClassName::~ClassName() {                                                                               \
    if (g_pTopLevelFrame == this) g_pTopLevelFrame = nullptr;                                             \
  }                                                                                                       \
                                                                                                          \
  void ClassName::OnClosePopupMenu(CPlxPopupMenu* pMenu) {                                                \
    plxframe::ClosePopupMenu(pMenu, plxframe::Kind::kInPlace);                                            \
  }                                                                                                       \
                                                                                                          \
  BOOL ClassName::OnShowCustomizePane(CPlxPopupMenu* pMenu, UINT uiToolbarResId) {                        \
    m_Impl.AddHiddenToolbarButtons(pMenu, uiToolbarResId);                                                \
    return TRUE;                                                                                          \
  }                                                                                                       \
                                                                                                          \
  BOOL ClassName::OnShowPopupMenu(CPlxPopupMenu* pMenu) {                                                 \
    BOOL askHook = FALSE;                                                                                 \
    if (!plxframe::ShowPopupMenu(this, m_Impl, pMenu, askHook)) return FALSE;                             \
    return askHook ? OnBeforeShowPopupMenu(pMenu) : TRUE;                                                 \
  }                                                                                                       \
                                                                                                          \
  BOOL ClassName::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,                     \
                            CCreateContext* pContext) {                                                   \
    m_Impl.m_uiDefaultMenuResId = nIDResource;                                                            \
    return BaseName::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext);                        \
  }                                                                                                       \
                                                                                                          \
  BOOL ClassName::PreTranslateMessage(MSG* pMsg) {                                                        \
    const plxframe::Routed routed = plxframe::PreTranslate(this, m_Impl, pMsg, plxframe::Kind::kInPlace); \
    if (routed.decided) return routed.result;                                                             \
    return BaseName::PreTranslateMessage(pMsg);                                                           \
  }                                                                                                       \
                                                                                                          \
  BOOL ClassName::OnCommand(WPARAM wParam, LPARAM lParam) {                                               \
    BOOL callBase = FALSE;                                                                                \
    const BOOL handled = plxframe::OnCommand(m_Impl, wParam, callBase);                                   \
    return callBase ? BaseName::OnCommand(wParam, lParam) : handled;                                      \
  }                                                                                                       \
                                                                                                          \
  void ClassName::WinHelp(DWORD_PTR dwData, UINT nCmd) {                                                  \
    plxframe::LogHelpRequest(dwData, nCmd);                                                               \
  }                                                                                                       \
                                                                                                          \
  LRESULT ClassName::OnMenuChar(UINT nChar, UINT, CMenu*) {                                               \
    if (plxframe::MenuCharHandled(m_Impl, nChar)) return MAKELRESULT(2, 0xFFFF);                          \
    return Default();                                                                                     \
  }                                                                                                       \
                                                                                                          \
  LRESULT ClassName::OnToolbarCreateNew(WPARAM, LPARAM lParam) {                                          \
    return plxframe::CreateToolbar(m_Impl, lParam);                                                       \
  }                                                                                                       \
                                                                                                          \
  LRESULT ClassName::OnToolbarDelete(WPARAM, LPARAM lParam) {                                             \
    return plxframe::DeleteToolbar(m_Impl, lParam);                                                       \
  }                                                                                                       \
                                                                                                          \
  void ClassName::OnClose() {                                                                             \
    m_Impl.OnCloseFrame();                                                                                \
    BaseName::OnClose();                                                                                  \
  }                                                                                                       \
                                                                                                          \
  void ClassName::RestoreTopLevelFrame() {                                                                \
    if (g_pTopLevelFrame == this) g_pTopLevelFrame = FrameBehind(m_hwndLastTopLevelFrame);                \
  }                                                                                                       \
                                                                                                          \
  void ClassName::OnActivate(UINT nState, CWnd*, BOOL) {                                                  \
    Default();                                                                                            \
    if (nState == WA_INACTIVE) {                                                                          \
      if (!CPlxToolBar::m_bCustomizeMode) m_Impl.DeactivateMenu();                                        \
      CloseOpenPopup();                                                                                   \
      RestoreTopLevelFrame();                                                                             \
      return;                                                                                             \
    }                                                                                                     \
    if (nState == WA_CLICKACTIVE) UpdateWindow();                                                         \
    if (g_pTopLevelFrame != this) {                                                                       \
      m_hwndLastTopLevelFrame = g_pTopLevelFrame != nullptr ? g_pTopLevelFrame->GetSafeHwnd() : nullptr;  \
      g_pTopLevelFrame = this;                                                                            \
    }                                                                                                     \
  }                                                                                                       \
                                                                                                          \
  void ClassName::OnDestroy() {                                                                           \
    CloseOpenPopup();                                                                                     \
    RestoreTopLevelFrame();                                                                               \
    m_Impl.DeactivateMenu();                                                                              \
    plxframe::DestroyAccelerators(this);                                                                  \
    BaseName::OnDestroy();                                                                                \
  }

PLX_IMPLEMENT_OLE_FRAME(CPlxOleIPFrameWnd, COleIPFrameWnd)
PLX_IMPLEMENT_OLE_FRAME(CPlxOleDocIPFrameWnd, COleDocIPFrameWnd)
