// Documents, views and document templates: a CDocument holds the data and its views, a CView
// (a child of a frame) shows it, and a CMultiDocTemplate ties a document class, an MDI child
// frame class, a view class and one shared menu and accelerator table (loaded from the
// template's resource id) together, so every child of that kind shows the same menu. The
// application keeps its templates in its document manager (CWinApp::AddDocTemplate).
//
// A document saves through its Serialize into a file written atomically; a document that has no
// path yet is saved under the name the document manager's DoPromptFileName gives (none by
// default: such a save answers FALSE and changes nothing).
#pragma once

#include "platform/base/CString.h"
#include "platform/base/List.h"
#include "platform/mfc/CmdTarget.h"
#include "platform/mfc/Wnd.h"

class CDocument;
class CDocTemplate;
class CFrameWnd;
class CView;

// What a frame and its view are created with (the lpCreateParams of a frame and of a view).
struct CCreateContext {
  CRuntimeClass* m_pNewViewClass = nullptr;
  CDocument* m_pCurrentDoc = nullptr;
  CDocTemplate* m_pNewDocTemplate = nullptr;
  CView* m_pLastView = nullptr;
  CFrameWnd* m_pCurrentFrame = nullptr;
};

class CDocument : public CCmdTarget {
  DECLARE_DYNCREATE(CDocument)

 public:
  CDocument();
  ~CDocument() override;

  const CString& GetTitle() const { return m_strTitle; }
  virtual void SetTitle(LPCTSTR lpszTitle);  // the frames of its views show it
  const CString& GetPathName() const { return m_strPathName; }
  // The path the document is saved to; its file name becomes the title.
  virtual void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE);
  CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

  virtual BOOL IsModified() { return m_bModified; }
  virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

  // Views: a view adds itself when created and removes itself when destroyed; a document with
  // m_bAutoDelete closes itself when its last view goes.
  void AddView(CView* pView);
  void RemoveView(CView* pView);
  POSITION GetFirstViewPosition() const;
  CView* GetNextView(POSITION& rPosition) const;
  void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);
  virtual void OnChangedViewList();

  virtual BOOL OnNewDocument();
  virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
  virtual BOOL OnSaveDocument(LPCTSTR lpszPathName);
  // Destroys the frames of its views (and so the views); the document goes with the last one.
  virtual void OnCloseDocument();
  virtual void DeleteContents() {}
  virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
  // A modified document asks "Save changes to <title>?": Yes saves (FALSE when that fails),
  // No drops the changes, Cancel answers FALSE.
  virtual BOOL SaveModified();
  virtual void PreCloseFrame(CFrameWnd*) {}
  // Saves to its path, or asks for one (DoSave) when it has none; FALSE when nothing was saved.
  virtual BOOL DoFileSave();
  virtual BOOL DoSave(LPCTSTR lpszPathName, BOOL bReplace = TRUE);

  CString m_strTitle;
  CString m_strPathName;
  CDocTemplate* m_pDocTemplate = nullptr;
  CPtrList m_viewList;
  BOOL m_bModified = FALSE;
  BOOL m_bAutoDelete = TRUE;
  BOOL m_bEmbedded = FALSE;

 protected:
  afx_msg void OnFileSave();
  afx_msg void OnFileSaveAs();
  afx_msg void OnFileClose();
  DECLARE_MESSAGE_MAP()
};

class CView : public CWnd {
  DECLARE_DYNAMIC(CView)

 public:
  CView();
  ~CView() override;

  CDocument* GetDocument() const { return m_pDocument; }
  CFrameWnd* GetParentFrame() const;

  virtual void OnInitialUpdate();                                       // OnUpdate(nullptr, 0, nullptr)
  virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);  // repaints
  // The frame made the view its active one (or another): the active view takes the focus.
  virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
  virtual void OnActivateFrame(UINT, CFrameWnd*) {}
  virtual void OnDraw(CDC* pDC) = 0;

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

  CDocument* m_pDocument = nullptr;

 protected:
  void PostNcDestroy() override;  // views are heap objects that die with their window
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()
};

class CDocTemplate : public CCmdTarget {
  DECLARE_DYNAMIC(CDocTemplate)

 public:
  ~CDocTemplate() override;

  virtual POSITION GetFirstDocPosition() const = 0;
  virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;
  virtual void AddDocument(CDocument* pDoc);
  virtual void RemoveDocument(CDocument* pDoc);

  // A new document of the template's class (not yet shown).
  virtual CDocument* CreateNewDocument();
  // A new frame of the template's class for the document, with a view of the template's view
  // class; null when either cannot be made.
  virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
  virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
  // A new document shown in a new frame: from the file, or a new one without a path.
  virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
  virtual void SetDefaultTitle(CDocument* pDocument) = 0;
  virtual void CloseAllDocuments(BOOL bEndSession);

  UINT m_nIDResource;
  CRuntimeClass* m_pDocClass;
  CRuntimeClass* m_pFrameClass;
  CRuntimeClass* m_pViewClass;
  BOOL m_bAutoDelete = TRUE;

 protected:
  CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
               CRuntimeClass* pViewClass);
};

class CMultiDocTemplate : public CDocTemplate {
  DECLARE_DYNAMIC(CMultiDocTemplate)

 public:
  // Loads the shared menu and accelerators of resource nIDResource.
  CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                    CRuntimeClass* pViewClass);
  // Destroys the shared menu and accelerators and deletes the documents left.
  ~CMultiDocTemplate() override;

  POSITION GetFirstDocPosition() const override { return m_docList.GetHeadPosition(); }
  CDocument* GetNextDoc(POSITION& rPos) const override {
    return static_cast<CDocument*>(m_docList.GetNext(rPos));
  }
  void AddDocument(CDocument* pDoc) override;
  void RemoveDocument(CDocument* pDoc) override;
  CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
  // "Untitled" numbered per template: "Report1", "Report2" ... (the document name is the
  // second part of the template's string resource, "Untitled" without one).
  void SetDefaultTitle(CDocument* pDocument) override;

  HMENU m_hMenuShared = nullptr;
  HACCEL m_hAccelTable = nullptr;
  CPtrList m_docList;
  UINT m_nUntitledCount = 0;
};

// The application's templates, in the order added; owns them.
class CDocManager : public CObject {
  DECLARE_DYNAMIC(CDocManager)

 public:
  ~CDocManager() override;
  void AddDocTemplate(CDocTemplate* pTemplate);
  POSITION GetFirstDocTemplatePosition() const { return m_templateList.GetHeadPosition(); }
  CDocTemplate* GetNextDocTemplate(POSITION& pos) const {
    return static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
  }
  virtual void CloseAllDocuments(BOOL bEndSession);
  // Every modified document asks to be saved; FALSE as soon as one is cancelled.
  virtual BOOL SaveAllModified();
  // The name a document without a path is saved under; FALSE leaves it unsaved.
  virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                CDocTemplate* pTemplate);

  CPtrList m_templateList;
};
