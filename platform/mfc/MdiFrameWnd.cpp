#include "platform/mfc/MdiFrameWnd.h"

#include "platform/mfc/CmdUI.h"
#include "platform/mfc/Document.h"
#include "platform/mfc/ThreadState.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/res/Resources.h"
#include "platform/user/Accel.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

namespace {

constexpr UINT kFirstWindowCommand = ID_WINDOW_NEW;  // 0xE130
constexpr UINT kLastWindowCommand = 0xE13F;

bool HoldsWindowCommands(HMENU popup) {
  const int count = ::GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i) {
    const UINT id = ::GetMenuItemID(popup, i);
    if (id >= kFirstWindowCommand && id <= kLastWindowCommand) return true;
  }
  return false;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// CMDIFrameWnd

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
ON_WM_CLOSE()
ON_COMMAND(ID_WINDOW_CASCADE, OnWindowCascade)
ON_COMMAND(ID_WINDOW_TILE_HORZ, OnWindowTileHorz)
ON_COMMAND(ID_WINDOW_TILE_VERT, OnWindowTileVert)
ON_COMMAND(ID_WINDOW_ARRANGE, OnWindowArrange)
ON_COMMAND(ID_WINDOW_NEW, OnWindowNew)
ON_UPDATE_COMMAND_UI(ID_WINDOW_CASCADE, OnUpdateWindowCommand)
ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_HORZ, OnUpdateWindowCommand)
ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_VERT, OnUpdateWindowCommand)
ON_UPDATE_COMMAND_UI(ID_WINDOW_ARRANGE, OnUpdateWindowCommand)
ON_UPDATE_COMMAND_UI(ID_WINDOW_NEW, OnUpdateWindowCommand)
END_MESSAGE_MAP()

CMDIFrameWnd::CMDIFrameWnd() = default;
CMDIFrameWnd::~CMDIFrameWnd() = default;

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext*) {
  HMENU window = lpcs->hMenu ? GetWindowMenuPopup(lpcs->hMenu) : nullptr;
  return CreateClient(lpcs, window ? CMenu::FromHandle(window) : nullptr);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT, CMenu* pWindowMenu) {
  CLIENTCREATESTRUCT ccs{pWindowMenu ? pWindowMenu->GetSafeHmenu() : nullptr, AFX_IDM_FIRST_MDICHILD};
  m_hWndMDIClient = ::CreateWindowEx(
      WS_EX_CLIENTEDGE, WC_MDICLIENT, nullptr,
      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | MDIS_ALLCHILDSTYLES, 0, 0, 0, 0, m_hWnd,
      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)), AfxGetInstanceHandle(), &ccs);
  return m_hWndMDIClient != nullptr;
}

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU hMenuBar) {
  if (hMenuBar == nullptr || !::IsMenu(hMenuBar)) return nullptr;
  for (int i = ::GetMenuItemCount(hMenuBar) - 1; i >= 0; --i) {
    HMENU popup = ::GetSubMenu(hMenuBar, i);
    if (popup != nullptr && HoldsWindowCommands(popup)) return popup;
  }
  return nullptr;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const {
  BOOL maximized = FALSE;
  HWND active = m_hWndMDIClient ? reinterpret_cast<HWND>(::SendMessage(m_hWndMDIClient, WM_MDIGETACTIVE, 0,
                                                                       reinterpret_cast<LPARAM>(&maximized)))
                                : nullptr;
  if (pbMaximized != nullptr) *pbMaximized = maximized;
  return dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(active));
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate) {
  ::SendMessage(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pWndActivate->GetSafeHwnd()), 0);
}
void CMDIFrameWnd::MDINext() {
  ::SendMessage(m_hWndMDIClient, WM_MDINEXT, 0, 0);
}
void CMDIFrameWnd::MDIPrev() {
  ::SendMessage(m_hWndMDIClient, WM_MDINEXT, 0, 1);
}
void CMDIFrameWnd::MDIMaximize(CWnd* pWnd) {
  ::SendMessage(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(pWnd->GetSafeHwnd()), 0);
}
void CMDIFrameWnd::MDIRestore(CWnd* pWnd) {
  ::SendMessage(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(pWnd->GetSafeHwnd()), 0);
}
void CMDIFrameWnd::MDICascade(int nType) {
  ::SendMessage(m_hWndMDIClient, WM_MDICASCADE, nType, 0);
}
void CMDIFrameWnd::MDITile(int nType) {
  ::SendMessage(m_hWndMDIClient, WM_MDITILE, nType, 0);
}
void CMDIFrameWnd::MDIIconArrange() {
  ::SendMessage(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0);
}

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu) {
  const auto old = reinterpret_cast<HMENU>(
      ::SendMessage(m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(pFrameMenu->GetSafeHmenu()),
                    reinterpret_cast<LPARAM>(pWindowMenu->GetSafeHmenu())));
  return old ? CMenu::FromHandle(old) : nullptr;
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
  CMDIChildWnd* child = MDIGetActive();
  return child != nullptr ? static_cast<CFrameWnd*>(child) : this;
}

CDocument* CMDIFrameWnd::GetActiveDocument() {
  CMDIChildWnd* child = MDIGetActive();
  return child != nullptr ? child->GetActiveDocument() : nullptr;
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // The active document frame (its view, document and itself) before the main frame.
  if (CMDIChildWnd* child = MDIGetActive();
      child != nullptr && child->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
    return TRUE;
  return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
  if (CMDIChildWnd* child = MDIGetActive()) {
    child->OnUpdateFrameMenu(TRUE, child, hMenuAlt);
    return;
  }
  HMENU menu = hMenuAlt ? hMenuAlt : m_hMenuDefault;
  ::SendMessage(m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu),
                reinterpret_cast<LPARAM>(GetWindowMenuPopup(menu)));
  ::DrawMenuBar(m_hWnd);
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  // A maximized child's title is shown by the client ("Frame - [Child]").
  BOOL maximized = FALSE;
  CMDIChildWnd* child = MDIGetActive(&maximized);
  CDocument* doc = child != nullptr ? child->GetActiveDocument() : nullptr;
  if (bAddToTitle && (GetStyle() & FWS_ADDTOTITLE) && child != nullptr && !maximized && doc != nullptr)
    UpdateFrameTitleForDocument(doc->GetTitle());
  else
    UpdateFrameTitleForDocument(nullptr);
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefFrameProc(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
    if (m_hWndMDIClient != nullptr && ::TranslateMDISysAccel(m_hWndMDIClient, pMsg)) return TRUE;
    // The active document's accelerators before the frame's own.
    CMDIChildWnd* child = MDIGetActive();
    if (child != nullptr && child->m_hAccelTable != nullptr &&
        ::TranslateAccelerator(m_hWnd, child->m_hAccelTable, pMsg))
      return TRUE;
  }
  return CFrameWnd::PreTranslateMessage(pMsg);
}

void CMDIFrameWnd::OnClose() {
  // Every document frame may refuse (its document asks to be saved first).
  for (HWND w = ::GetWindow(m_hWndMDIClient, GW_CHILD); w != nullptr; w = ::GetWindow(w, GW_HWNDNEXT)) {
    auto* child = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(w));
    CDocument* doc = child != nullptr ? child->GetActiveDocument() : nullptr;
    if (doc != nullptr && !doc->SaveModified()) return;
  }
  CFrameWnd::OnClose();
}

void CMDIFrameWnd::OnWindowCascade() {
  MDICascade();
}
void CMDIFrameWnd::OnWindowTileHorz() {
  MDITile(MDITILE_HORIZONTAL);
}
void CMDIFrameWnd::OnWindowTileVert() {
  MDITile(MDITILE_VERTICAL);
}
void CMDIFrameWnd::OnWindowArrange() {
  MDIIconArrange();
}

void CMDIFrameWnd::OnWindowNew() {
  CMDIChildWnd* child = MDIGetActive();
  CDocument* doc = child != nullptr ? child->GetActiveDocument() : nullptr;
  CDocTemplate* docTemplate = doc != nullptr ? doc->GetDocTemplate() : nullptr;
  if (docTemplate == nullptr) return;
  if (CFrameWnd* frame = docTemplate->CreateNewFrame(doc, child)) docTemplate->InitialUpdateFrame(frame, doc);
}

void CMDIFrameWnd::OnUpdateWindowCommand(CCmdUI* pCmdUI) {
  pCmdUI->Enable(MDIGetActive() != nullptr);
}

// ---------------------------------------------------------------------------------------------
// CMDIChildWnd

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_MDIACTIVATE()
ON_WM_SETFOCUS()
END_MESSAGE_MAP()

CMDIChildWnd::CMDIChildWnd() = default;
CMDIChildWnd::~CMDIChildWnd() = default;

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (cs.lpszClass == nullptr)
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                       reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  cs.style |= WS_CHILD;
  return TRUE;
}

BOOL CMDIChildWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext) {
  if (pParentWnd == nullptr) pParentWnd = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
  if (pParentWnd == nullptr || pParentWnd->m_hWndMDIClient == nullptr) return FALSE;
  CREATESTRUCT cs{};
  cs.style = static_cast<LONG>(dwStyle);
  cs.lpszClass = lpszClassName;
  cs.lpszName = lpszWindowName;
  cs.x = rect.left;
  cs.y = rect.top;
  cs.cx = rect.right - rect.left;
  cs.cy = rect.bottom - rect.top;
  if (rect.left == CW_USEDEFAULT) cs.cx = cs.cy = CW_USEDEFAULT;
  cs.hwndParent = pParentWnd->m_hWndMDIClient;
  cs.lpCreateParams = pContext;
  if (!PreCreateWindow(cs)) return FALSE;
  // The client makes the window; the create hook attaches it to this object on the way.
  MDICREATESTRUCT mcs{cs.lpszClass,
                      cs.lpszName,
                      AfxGetInstanceHandle(),
                      cs.x,
                      cs.y,
                      cs.cx,
                      cs.cy,
                      static_cast<DWORD>(cs.style) & ~static_cast<DWORD>(WS_VISIBLE | WS_MAXIMIZE),
                      reinterpret_cast<LPARAM>(pContext)};
  pictavo::mfc::BeginCreateHook(this);
  const HWND hwnd = reinterpret_cast<HWND>(
      ::SendMessage(pParentWnd->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  if (!pictavo::mfc::EndCreateHook()) PostNcDestroy();
  if (hwnd == nullptr) return FALSE;
  if (dwStyle & WS_VISIBLE) ActivateFrame((dwStyle & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : -1);
  return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                             CCreateContext* pContext) {
  m_nIDHelp = nIDResource;
  CString title;
  if (title.LoadString(nIDResource) && title.Find('\n') >= 0) title = title.Left(title.Find('\n'));
  m_strTitle = title;
  const auto icon = static_cast<HICON>(::LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(nIDResource),
                                                   IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                    reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), icon);
  if (pContext != nullptr)
    if (auto* multi = dynamic_cast<CMultiDocTemplate*>(pContext->m_pNewDocTemplate))
      SetHandles(multi->m_hMenuShared, multi->m_hAccelTable);
  // Shown by InitialUpdateFrame, so the view is ready before the first paint.
  return Create(cls, m_strTitle, dwDefaultStyle & ~WS_VISIBLE, rectDefault,
                dynamic_cast<CMDIFrameWnd*>(pParentWnd), pContext);
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  const auto* mcs = static_cast<MDICREATESTRUCT*>(lpcs->lpCreateParams);
  auto* context = mcs != nullptr ? reinterpret_cast<CCreateContext*>(mcs->lParam) : nullptr;
  return OnCreateClient(lpcs, context) ? 0 : -1;
}

BOOL CMDIChildWnd::DestroyWindow() {
  if (m_hWnd == nullptr) return FALSE;
  CMDIFrameWnd* frame = GetMDIFrame();
  if (frame == nullptr || frame->m_hWndMDIClient == nullptr) return CFrameWnd::DestroyWindow();
  // Through the client, so it activates the next child and updates the Window menu.
  ::SendMessage(frame->m_hWndMDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
  return TRUE;
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const {
  if (m_hWnd == nullptr) return nullptr;
  HWND client = ::GetParent(m_hWnd);
  return client ? dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandlePermanent(::GetParent(client))) : nullptr;
}

void CMDIChildWnd::MDIDestroy() {
  DestroyWindow();
}
void CMDIChildWnd::MDIActivate() {
  if (CMDIFrameWnd* frame = GetMDIFrame()) frame->MDIActivate(this);
}
void CMDIChildWnd::MDIMaximize() {
  if (CMDIFrameWnd* frame = GetMDIFrame()) frame->MDIMaximize(this);
}
void CMDIChildWnd::MDIRestore() {
  if (CMDIFrameWnd* frame = GetMDIFrame()) frame->MDIRestore(this);
}

void CMDIChildWnd::SetHandles(HMENU hMenu, HACCEL hAccel) {
  m_hMenuShared = hMenu;
  m_hAccelTable = hAccel;
}

void CMDIChildWnd::ActivateFrame(int nCmdShow) {
  CMDIFrameWnd* frame = GetMDIFrame();
  if (frame == nullptr) return;
  if (nCmdShow == -1) {
    // A new child joins a maximized one maximized.
    BOOL maximized = FALSE;
    CMDIChildWnd* active = frame->MDIGetActive(&maximized);
    nCmdShow = (maximized && active != this) || IsZoomed() ? SW_SHOWMAXIMIZED : SW_SHOW;
    if (IsIconic()) nCmdShow = SW_RESTORE;
  }
  ++m_nShowCount;
  ShowWindow(nCmdShow);
  frame->MDIActivate(this);
  frame->OnUpdateFrameTitle(TRUE);
}

void CMDIChildWnd::OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt) {
  CMDIFrameWnd* frame = GetMDIFrame();
  if (frame == nullptr) return;
  HMENU menu = nullptr;
  if (bActivate)
    menu = hMenuAlt ? hMenuAlt : (m_hMenuShared ? m_hMenuShared : frame->m_hMenuDefault);
  else if (pActivateWnd == nullptr)
    menu = frame->m_hMenuDefault;  // the last child went: the frame's own menu again
  if (menu == nullptr) return;
  ::SendMessage(frame->m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu),
                reinterpret_cast<LPARAM>(frame->GetWindowMenuPopup(menu)));
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  CDocument* doc = GetActiveDocument();
  if (bAddToTitle && (GetStyle() & FWS_ADDTOTITLE) && doc != nullptr) {
    CString now;
    GetWindowText(now);
    if (now != doc->GetTitle()) SetWindowText(doc->GetTitle());
  }
  if (CMDIFrameWnd* frame = GetMDIFrame()) frame->OnUpdateFrameTitle(bAddToTitle);
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefMDIChildProc(m_hWnd, message, wParam, lParam);
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG* pMsg) {
  // The frame translates the shared accelerators for every child.
  return FALSE;
}

void CMDIChildWnd::OnSize(UINT nType, int cx, int cy) {
  Default();  // maximizing and minimizing are the client's business
  CFrameWnd::OnSize(nType, cx, cy);
}

void CMDIChildWnd::OnSetFocus(CWnd*) {
  Default();  // activates the child in the client
  if (m_pViewActive != nullptr && m_pViewActive->GetSafeHwnd() != nullptr) m_pViewActive->SetFocus();
}

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd*) {
  CMDIFrameWnd* frame = GetMDIFrame();
  if (frame == nullptr) return;
  if (bActivate || pActivateWnd == nullptr) {
    OnUpdateFrameMenu(bActivate, pActivateWnd, nullptr);
    ::DrawMenuBar(frame->m_hWnd);
  }
  if (CView* view = GetActiveView()) view->OnActivateView(bActivate, bActivate ? view : nullptr, view);
  frame->OnUpdateFrameTitle(TRUE);
}
