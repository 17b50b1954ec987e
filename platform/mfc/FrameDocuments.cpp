// The frame's life with resources, documents and views: LoadFrame, the view it holds, its
// title and menu, closing through the document, and command routing through the active view.
#include "platform/mfc/Document.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/WinApp.h"
#include "platform/res/Resources.h"
#include "platform/user/Accel.h"

namespace {

// The window title of a frame resource: the first part of its string.
CString FrameTitle(UINT nIDResource) {
  CString text;
  if (!text.LoadString(nIDResource)) return CString();
  const int nl = text.Find('\n');
  return nl < 0 ? text : text.Left(nl);
}

}  // namespace

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext) {
  m_nIDHelp = nIDResource;
  m_strTitle = FrameTitle(nIDResource);
  HINSTANCE instance = AfxGetResourceHandle();
  HMENU menu = ::LoadMenu(instance, MAKEINTRESOURCE(nIDResource));
  const auto icon = static_cast<HICON>(
      ::LoadImage(instance, MAKEINTRESOURCE(nIDResource), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                    reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), icon);
  CREATESTRUCT cs{};
  cs.style = static_cast<LONG>(dwDefaultStyle);
  cs.lpszClass = cls;
  cs.lpszName = m_strTitle;
  cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
  cs.hwndParent = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
  cs.hMenu = menu;
  cs.lpCreateParams = pContext;
  if (!PreCreateWindow(cs)) {
    if (menu) ::DestroyMenu(menu);
    return FALSE;
  }
  m_hMenuDefault = menu;
  if (!CreateEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style) & ~WS_VISIBLE, cs.x,
                cs.y, cs.cx, cs.cy, cs.hwndParent, (cs.style & WS_CHILD) ? nullptr : menu,
                cs.lpCreateParams)) {
    if (menu) ::DestroyMenu(menu);
    m_hMenuDefault = nullptr;
    return FALSE;
  }
  if (m_hAccelTable == nullptr) m_hAccelTable = ::LoadAccelerators(instance, MAKEINTRESOURCE(nIDResource));
  if (pContext == nullptr) OnUpdateFrameTitle(TRUE);
  return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  auto* context = static_cast<CCreateContext*>(lpcs->lpCreateParams);
  if (!OnCreateClient(lpcs, context)) return -1;
  return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
  if (pContext != nullptr && pContext->m_pNewViewClass != nullptr)
    return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
  return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
  auto* view = dynamic_cast<CWnd*>(pContext->m_pNewViewClass->CreateObject());
  if (view == nullptr) return nullptr;
  if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID, pContext)) {
    delete view;  // a view deletes itself only once it has a window
    return nullptr;
  }
  return view;
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
  CView* view = m_pViewActive;
  if (view == nullptr) view = dynamic_cast<CView*>(GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
  SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  if (view != nullptr && m_pViewActive == nullptr) SetActiveView(view, FALSE);
  if (bMakeVisible) {
    ActivateFrame();
    if (view != nullptr) view->OnActivateView(TRUE, view, view);
  }
  if (pDoc != nullptr) OnUpdateFrameTitle(TRUE);
  RecalcLayout();
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
  if (nCmdShow == -1) {
    nCmdShow = SW_SHOW;
    if (!IsWindowVisible() && m_nShowCount == 0 && AfxGetApp() != nullptr && AfxGetApp()->m_pMainWnd == this)
      nCmdShow = AfxGetApp()->m_nCmdShow;
    if (IsIconic()) nCmdShow = SW_RESTORE;
  }
  ++m_nShowCount;
  ShowWindow(nCmdShow);
  if (nCmdShow != SW_HIDE && !(GetStyle() & WS_CHILD)) {
    BringWindowToTop();
    ::SetActiveWindow(m_hWnd);
  }
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
  CView* old = m_pViewActive;
  if (pViewNew == old) return;
  m_pViewActive = nullptr;
  if (bNotify && old != nullptr) old->OnActivateView(FALSE, pViewNew, old);
  m_pViewActive = pViewNew;
  if (bNotify && pViewNew != nullptr) pViewNew->OnActivateView(TRUE, pViewNew, old);
}

CDocument* CFrameWnd::GetActiveDocument() {
  CView* view = GetActiveView();
  return view != nullptr ? view->GetDocument() : nullptr;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // The active view (and its document) first, then the frame, then the application.
  if (CView* view = GetActiveView(); view != nullptr && view->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
    return TRUE;
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  CWinApp* app = AfxGetApp();
  return app != nullptr && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
  if (GetStyle() & WS_CHILD) return;
  HMENU menu = hMenuAlt;
  if (menu == nullptr) {
    if (CDocument* doc = GetActiveDocument(); doc != nullptr)
      if (auto* multi = dynamic_cast<CMultiDocTemplate*>(doc->GetDocTemplate())) menu = multi->m_hMenuShared;
  }
  if (menu == nullptr) menu = m_hMenuDefault;
  if (menu != nullptr && ::GetMenu(m_hWnd) != menu) ::SetMenu(m_hWnd, menu);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  if (GetStyle() & WS_CHILD) return;
  CDocument* doc = GetActiveDocument();
  if (bAddToTitle && (GetStyle() & FWS_ADDTOTITLE) && doc != nullptr)
    UpdateFrameTitleForDocument(doc->GetTitle());
  else
    UpdateFrameTitleForDocument(nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCTSTR lpszDocName) {
  CString title = m_strTitle;
  if (lpszDocName != nullptr && *lpszDocName != '\0') {
    if (GetStyle() & FWS_PREFIXTITLE)
      title = CString(lpszDocName) + (m_strTitle.IsEmpty() ? "" : " - ") + m_strTitle;
    else
      title = m_strTitle + (m_strTitle.IsEmpty() ? "" : " - ") + lpszDocName;
  }
  CString now;
  GetWindowText(now);
  if (now != title) SetWindowText(title);
}

void CFrameWnd::OnClose() {
  CDocument* doc = GetActiveDocument();
  if (doc != nullptr && !doc->CanCloseFrame(this)) return;
  CWinApp* app = AfxGetApp();
  if (app != nullptr && app->m_pMainWnd == this && app->m_pDocManager != nullptr) {
    if (!app->m_pDocManager->SaveAllModified()) return;
    app->m_pDocManager->CloseAllDocuments(FALSE);
    if (!IsWindow(m_hWnd)) return;
  }
  if (doc != nullptr) doc->PreCloseFrame(this);
  DestroyWindow();
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
  if (m_pViewActive != nullptr && m_pViewActive->GetSafeHwnd() != nullptr)
    m_pViewActive->SetFocus();
  else
    CWnd::OnSetFocus(pOldWnd);
}

void CFrameWnd::PostNcDestroy() {
  if (m_hMenuDefault != nullptr) {
    // The frame's own menu goes with it unless someone else holds it now.
    ::DestroyMenu(m_hMenuDefault);
    m_hMenuDefault = nullptr;
  }
  if (m_bAutoDelete) delete this;
}
