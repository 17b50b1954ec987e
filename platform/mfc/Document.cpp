#include "platform/mfc/Document.h"

#include <vector>

#include "platform/base/Archive.h"
#include "platform/base/ArchiveBytes.h"
#include "platform/base/Exceptions.h"
#include "platform/base/File.h"
#include "platform/base/MemFile.h"
#include "platform/kernel/FileSystem.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/res/Resources.h"
#include "platform/user/Accel.h"

IMPLEMENT_DYNCREATE(CDocument, CCmdTarget)
IMPLEMENT_DYNAMIC(CView, CWnd)
IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)
IMPLEMENT_DYNAMIC(CDocManager, CObject)

namespace {

// The part `index` of a template's "\n"-separated string resource: 0 the window title, 1 the
// document name.
CString TemplateString(UINT id, int index) {
  CString all;
  if (!all.LoadString(id)) return CString();
  int start = 0;
  for (int i = 0; i < index; ++i) {
    start = all.Find('\n', start);
    if (start < 0) return CString();
    ++start;
  }
  const int end = all.Find('\n', start);
  return end < 0 ? all.Mid(start) : all.Mid(start, end - start);
}

// The frames of a document's views, each once.
std::vector<CFrameWnd*> FramesOf(const CDocument& doc) {
  std::vector<CFrameWnd*> frames;
  for (POSITION pos = doc.GetFirstViewPosition(); pos != nullptr;) {
    CFrameWnd* frame = doc.GetNextView(pos)->GetParentFrame();
    if (frame != nullptr && std::find(frames.begin(), frames.end(), frame) == frames.end())
      frames.push_back(frame);
  }
  return frames;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// CDocument

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
END_MESSAGE_MAP()

CDocument::CDocument() = default;

CDocument::~CDocument() {
  // Views outliving their document must not reach it.
  for (POSITION pos = m_viewList.GetHeadPosition(); pos != nullptr;)
    static_cast<CView*>(m_viewList.GetNext(pos))->m_pDocument = nullptr;
  if (m_pDocTemplate != nullptr) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCTSTR lpszTitle) {
  m_strTitle = lpszTitle ? lpszTitle : "";
  for (CFrameWnd* frame : FramesOf(*this)) frame->OnUpdateFrameTitle(TRUE);
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU) {
  m_strPathName = lpszPathName ? lpszPathName : "";
  const int slash = std::max(m_strPathName.ReverseFind('/'), m_strPathName.ReverseFind('\\'));
  SetTitle(m_strPathName.Mid(slash + 1));
  if (bAddToMRU && !m_strPathName.IsEmpty() && AfxGetApp() != nullptr)
    AfxGetApp()->AddToRecentFileList(m_strPathName);
}

void CDocument::AddView(CView* pView) {
  if (pView == nullptr || m_viewList.Find(pView) != nullptr) return;
  m_viewList.AddTail(pView);
  pView->m_pDocument = this;
  OnChangedViewList();
}

void CDocument::RemoveView(CView* pView) {
  POSITION pos = m_viewList.Find(pView);
  if (pos == nullptr) return;
  m_viewList.RemoveAt(pos);
  pView->m_pDocument = nullptr;
  OnChangedViewList();
}

POSITION CDocument::GetFirstViewPosition() const {
  return m_viewList.GetHeadPosition();
}

CView* CDocument::GetNextView(POSITION& rPosition) const {
  return static_cast<CView*>(m_viewList.GetNext(rPosition));
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
  for (POSITION pos = m_viewList.GetHeadPosition(); pos != nullptr;) {
    CView* view = static_cast<CView*>(m_viewList.GetNext(pos));
    if (view != pSender) view->OnUpdate(pSender, lHint, pHint);
  }
}

void CDocument::OnChangedViewList() {
  if (m_viewList.IsEmpty() && m_bAutoDelete) {
    OnCloseDocument();
    return;
  }
  for (CFrameWnd* frame : FramesOf(*this)) frame->OnUpdateFrameTitle(TRUE);
}

BOOL CDocument::OnNewDocument() {
  DeleteContents();
  m_strPathName.Empty();
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName) {
  try {
    CFile file(lpszPathName, CFile::modeRead | CFile::shareDenyWrite);
    DeleteContents();
    CArchive ar(&file, CArchive::load);
    Serialize(ar);
    ar.Close();
  } catch (CException* e) {
    e->Delete();
    DeleteContents();
    return FALSE;
  }
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName) {
  // The whole document is written to memory first and reaches the file in one atomic replace,
  // so a failure leaves the earlier file whole.
  std::vector<uint8_t> bytes;
  try {
    bytes = pictavo::ArchiveBytes([&](CArchive& ar) { Serialize(ar); });
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
  if (pictavo::WriteFileAtomically(lpszPathName, std::span<const uint8_t>(bytes)) != 0) return FALSE;
  SetModifiedFlag(FALSE);
  return TRUE;
}

void CDocument::OnCloseDocument() {
  // The frames go first; the last view's departure would close the document again.
  const BOOL autoDelete = m_bAutoDelete;
  m_bAutoDelete = FALSE;
  for (CFrameWnd* frame : FramesOf(*this)) {
    PreCloseFrame(frame);
    frame->DestroyWindow();
  }
  m_bAutoDelete = autoDelete;
  DeleteContents();
  if (m_bAutoDelete) delete this;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrame) {
  // Other frames still show the document: this one may go without asking.
  for (CFrameWnd* frame : FramesOf(*this))
    if (frame != pFrame) return TRUE;
  return SaveModified();
}

BOOL CDocument::SaveModified() {
  if (!IsModified()) return TRUE;
  CString prompt;
  prompt.Format("Save changes to %s?",
                static_cast<LPCTSTR>(m_strTitle.IsEmpty() ? CString("Untitled") : m_strTitle));
  switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
      return FALSE;
    case IDYES:
      return DoFileSave();
    default:
      SetModifiedFlag(FALSE);
      return TRUE;
  }
}

BOOL CDocument::DoFileSave() {
  return DoSave(m_strPathName.IsEmpty() ? nullptr : static_cast<LPCTSTR>(m_strPathName));
}

BOOL CDocument::DoSave(LPCTSTR lpszPathName, BOOL bReplace) {
  CString path = lpszPathName ? lpszPathName : "";
  if (path.IsEmpty()) {
    CWinApp* app = AfxGetApp();
    path = m_strTitle;
    if (app == nullptr || app->m_pDocManager == nullptr ||
        !app->m_pDocManager->DoPromptFileName(path, 0, 0, FALSE, m_pDocTemplate))
      return FALSE;
  }
  if (!OnSaveDocument(path)) return FALSE;
  if (bReplace) SetPathName(path);
  return TRUE;
}

void CDocument::OnFileSave() {
  DoFileSave();
}
void CDocument::OnFileSaveAs() {
  DoSave(nullptr);
}

void CDocument::OnFileClose() {
  for (CFrameWnd* frame : FramesOf(*this))
    if (!CanCloseFrame(frame)) return;
  OnCloseDocument();
}

// ---------------------------------------------------------------------------------------------
// CView

BEGIN_MESSAGE_MAP(CView, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_MOUSEACTIVATE()
ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
END_MESSAGE_MAP()

CView::CView() = default;

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM) {
  OnInitialUpdate();
  return 0;
}

CView::~CView() {
  if (m_pDocument != nullptr) m_pDocument->RemoveView(this);
}

CFrameWnd* CView::GetParentFrame() const {
  return AfxGetParentFrame(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs) {
  if (cs.lpszClass == nullptr)
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                       reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  return CWnd::PreCreateWindow(cs);
}

int CView::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  auto* context = static_cast<CCreateContext*>(lpcs->lpCreateParams);
  if (context != nullptr && context->m_pCurrentDoc != nullptr) context->m_pCurrentDoc->AddView(this);
  return 0;
}

void CView::OnDestroy() {
  if (CFrameWnd* frame = GetParentFrame(); frame != nullptr && frame->GetActiveView() == this)
    frame->SetActiveView(nullptr, FALSE);
  CWnd::OnDestroy();
}

void CView::PostNcDestroy() {
  delete this;
}

void CView::OnPaint() {
  CPaintDC dc(this);
  OnDraw(&dc);
}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  const int result = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
  if (result == MA_NOACTIVATE || result == MA_NOACTIVATEANDEAT) return result;
  if (CFrameWnd* frame = GetParentFrame(); frame != nullptr && frame->GetActiveView() != this)
    frame->SetActiveView(this);
  return result;
}

void CView::OnInitialUpdate() {
  OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, CObject*) {
  if (m_hWnd != nullptr) Invalidate(TRUE);
}

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView*) {
  if (bActivate && pActivateView == this && m_hWnd != nullptr && ::GetFocus() != m_hWnd &&
      !::IsChild(m_hWnd, ::GetFocus()))
    SetFocus();
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---------------------------------------------------------------------------------------------
// Templates

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource),
      m_pDocClass(pDocClass),
      m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass) {}

CDocTemplate::~CDocTemplate() = default;

void CDocTemplate::AddDocument(CDocument* pDoc) {
  pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc) {
  if (pDoc->m_pDocTemplate == this) pDoc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument() {
  if (m_pDocClass == nullptr) return nullptr;
  auto* doc = dynamic_cast<CDocument*>(m_pDocClass->CreateObject());
  if (doc != nullptr) AddDocument(doc);
  return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
  if (m_pFrameClass == nullptr) return nullptr;
  CCreateContext context;
  context.m_pCurrentFrame = pOther;
  context.m_pCurrentDoc = pDoc;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pNewDocTemplate = this;
  auto* frame = dynamic_cast<CFrameWnd*>(m_pFrameClass->CreateObject());
  if (frame == nullptr) return nullptr;
  frame->m_bAutoDelete = TRUE;
  if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
    // A frame whose window was never made is not deleted by its window; one that was is.
    if (frame->GetSafeHwnd() == nullptr) delete frame;
    return nullptr;
  }
  return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
  pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

void CDocTemplate::CloseAllDocuments(BOOL) {
  for (POSITION pos = GetFirstDocPosition(); pos != nullptr;) {
    CDocument* doc = GetNextDoc(pos);
    doc->OnCloseDocument();
  }
}

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                     CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {
  m_hMenuShared = ::LoadMenu(AfxGetResourceHandle(), MAKEINTRESOURCE(nIDResource));
  m_hAccelTable = ::LoadAccelerators(AfxGetResourceHandle(), MAKEINTRESOURCE(nIDResource));
}

CMultiDocTemplate::~CMultiDocTemplate() {
  while (!m_docList.IsEmpty()) {
    auto* doc = static_cast<CDocument*>(m_docList.RemoveHead());
    doc->m_pDocTemplate = nullptr;
    delete doc;
  }
  if (m_hMenuShared != nullptr) ::DestroyMenu(m_hMenuShared);
  if (m_hAccelTable != nullptr) ::DestroyAcceleratorTable(m_hAccelTable);
}

void CMultiDocTemplate::AddDocument(CDocument* pDoc) {
  CDocTemplate::AddDocument(pDoc);
  if (m_docList.Find(pDoc) == nullptr) m_docList.AddTail(pDoc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* pDoc) {
  CDocTemplate::RemoveDocument(pDoc);
  if (POSITION pos = m_docList.Find(pDoc)) m_docList.RemoveAt(pos);
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument) {
  CString name = TemplateString(m_nIDResource, 1);
  if (name.IsEmpty()) name = "Untitled";
  CString title;
  title.Format("%s%u", static_cast<LPCTSTR>(name), ++m_nUntitledCount);
  pDocument->SetTitle(title);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible) {
  CDocument* doc = CreateNewDocument();
  if (doc == nullptr) return nullptr;
  const BOOL autoDelete = doc->m_bAutoDelete;
  doc->m_bAutoDelete = FALSE;  // a frame that fails must not take the document with it yet
  CFrameWnd* frame = CreateNewFrame(doc, nullptr);
  doc->m_bAutoDelete = autoDelete;
  if (frame == nullptr) {
    delete doc;
    return nullptr;
  }
  const bool opened = lpszPathName == nullptr ? doc->OnNewDocument() : doc->OnOpenDocument(lpszPathName);
  if (!opened) {
    frame->DestroyWindow();  // the last view takes the document with it
    return nullptr;
  }
  if (lpszPathName == nullptr)
    SetDefaultTitle(doc);
  else
    doc->SetPathName(lpszPathName);
  InitialUpdateFrame(frame, doc, bMakeVisible);
  return doc;
}

CDocManager::~CDocManager() {
  while (!m_templateList.IsEmpty()) delete static_cast<CDocTemplate*>(m_templateList.RemoveHead());
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate) {
  if (pTemplate != nullptr && m_templateList.Find(pTemplate) == nullptr) m_templateList.AddTail(pTemplate);
}

void CDocManager::CloseAllDocuments(BOOL bEndSession) {
  for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;)
    GetNextDocTemplate(pos)->CloseAllDocuments(bEndSession);
}

BOOL CDocManager::SaveAllModified() {
  for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;) {
    CDocTemplate* docTemplate = GetNextDocTemplate(pos);
    for (POSITION doc = docTemplate->GetFirstDocPosition(); doc != nullptr;)
      if (!docTemplate->GetNextDoc(doc)->SaveModified()) return FALSE;
  }
  return TRUE;
}

BOOL CDocManager::DoPromptFileName(CString&, UINT, DWORD, BOOL, CDocTemplate*) {
  return FALSE;
}

// ---------------------------------------------------------------------------------------------
// The application's templates

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
  if (m_pDocManager == nullptr) m_pDocManager = new CDocManager;
  m_pDocManager->AddDocTemplate(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const {
  return m_pDocManager != nullptr ? m_pDocManager->GetFirstDocTemplatePosition() : nullptr;
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const {
  return m_pDocManager != nullptr ? m_pDocManager->GetNextDocTemplate(pos) : nullptr;
}
