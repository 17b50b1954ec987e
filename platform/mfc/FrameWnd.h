// CFrameWnd and the docking of control bars: a frame lays out its bars along its edges
// (RecalcLayout), holds dock bars on the sides docking was enabled for (CDockBar), docks bars in
// rows that wrap when the frame is too narrow, and floats bars in small tool frames
// (CMiniDockFrameWnd). A bar with a dock context (CDockContext) is dragged by its free area to
// another side or off the frame, and a double click toggles it between docked and floating.
#pragma once

#include <vector>

#include "platform/mfc/AfxRes.h"
#include "platform/mfc/ControlBar.h"

// Modes of CalcDynamicLayout.
#define LM_STRETCH 0x01
#define LM_HORZ 0x02
#define LM_MRUWIDTH 0x04
#define LM_HORZDOCK 0x08
#define LM_VERTDOCK 0x10
#define LM_LENGTHY 0x20
#define LM_COMMIT 0x40

// Frame styles (window style bits a frame reads at creation).
#define FWS_ADDTOTITLE 0x00008000L
#define FWS_PREFIXTITLE 0x00004000L
#define FWS_SNAPTOBARS 0x00002000L

class CDockBar;
class CDockState;
class CDocument;
class CMiniDockFrameWnd;
class CView;
struct CCreateContext;

class CFrameWnd : public CWnd {
  DECLARE_DYNCREATE(CFrameWnd)

 public:
  CFrameWnd();
  ~CFrameWnd() override;

  // An overlapped top-level frame; the client area is left to the bars and the pane.
  virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                      const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr,
                      LPCTSTR lpszMenuName = nullptr, DWORD dwExStyle = 0);
  BOOL LoadAccelTable(LPCTSTR lpszResourceName);
  // A frame from resource nIDResource: its title (the string's first part), menu, icon and
  // accelerators; pContext makes the view (OnCreateClient). The menu becomes m_hMenuDefault.
  virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
  // Makes the context's view (a child with AFX_IDW_PANE_FIRST filling the frame).
  virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
  CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
  // Shows the frame (-1: as the application asks the first time, else SW_SHOW) and activates it.
  virtual void ActivateFrame(int nCmdShow = -1);
  // The first update of a new frame's views: OnInitialUpdate, the active view, then shown.
  void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
  // The menu of the active document's template, else m_hMenuDefault.
  virtual void OnUpdateFrameMenu(HMENU hMenuAlt);
  // "Title - Document" with FWS_ADDTOTITLE and an active document ("Document - Title" with
  // FWS_PREFIXTITLE), else the title alone.
  virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
  void UpdateFrameTitleForDocument(LPCTSTR lpszDocName);
  CString GetTitle() const { return m_strTitle; }
  void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle ? lpszTitle : ""; }

  // Views and documents.
  CView* GetActiveView() const { return m_pViewActive; }
  void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
  virtual CDocument* GetActiveDocument();
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  // The docked or floating bar of that control id, or null.
  CControlBar* GetControlBar(UINT nID);
  // An empty floating frame for bars aligned as dwStyle says; the caller docks bars in it.
  CMiniDockFrameWnd* CreateFloatingFrame(DWORD dwStyle);
  // Where every bar is (DockState.h).
  void GetDockState(CDockState& state) const;
  void SetDockState(const CDockState& state);

  virtual void RecalcLayout(BOOL bNotify = TRUE);
  virtual CFrameWnd* GetActiveFrame() { return this; }
  virtual void SetMessageText(LPCTSTR lpszText);
  void SetMessageText(UINT nID);

  // Docking. dwDockStyle names the sides (CBRS_ALIGN_ bits) that get a dock bar.
  void EnableDocking(DWORD dwDockStyle);
  // Docks the bar on the dock bar of that id (0: the first side the bar allows), at the row and
  // place of lpRect (screen) when given, else in a new row.
  void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
  void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
  // Floats the bar in a mini frame whose top left is the screen point.
  void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
  void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
  CDockBar* GetDockBar(UINT nDockBarID) const;
  // The dock bar under a screen point (sides in the order top, bottom, left, right), or null.
  CDockBar* DockBarFromPoint(CPoint point, DWORD dwAllowed) const;
  // Lays the frame out on its next idle pass (a posted WM_IDLEUPDATECMDUI when no loop is idle).
  void DelayRecalcLayout(BOOL bNotify = TRUE);
  enum IdleFlags { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
  UINT m_nIdleFlags = 0;

  static const CRect rectDefault;

  HACCEL m_hAccelTable = nullptr;
  HMENU m_hMenuDefault = nullptr;  // the frame's own menu (LoadFrame); destroyed with the frame
  UINT m_nIDHelp = 0;              // the resource id LoadFrame was given
  CString m_strTitle;
  CString m_strIdleText;                           // what the status line shows when no command is pointed at
  std::vector<CMiniDockFrameWnd*> m_listFloating;  // floating frames, owned through their windows
  // The class of the frames bars float in (a CMiniDockFrameWnd kind); null: CMiniDockFrameWnd.
  CRuntimeClass* m_pFloatingFrameClass = nullptr;

 protected:
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void PostNcDestroy() override;
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  // Asks the active document whether it may go (it saves when the user wants).
  afx_msg void OnClose();
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  DECLARE_MESSAGE_MAP()

  CDockBar* m_pDockBars[4] = {};
  CView* m_pViewActive = nullptr;
  int m_nShowCount = 0;

 public:
  BOOL m_bAutoDelete = FALSE;  // a heap frame (made by a document template) deleted with its window
};

// A new floating frame object of the frame's floating class (not yet created).
CMiniDockFrameWnd* AfxNewFloatingFrame(const CFrameWnd* pFrame);

// The frame a window sits in: the nearest ancestor (or, for a floating bar, the owner of its mini
// frame) that is a CFrameWnd.
CFrameWnd* AfxGetParentFrame(const CWnd* pWnd);

class CDockBar : public CControlBar {
  DECLARE_DYNAMIC(CDockBar)

 public:
  explicit CDockBar(BOOL bFloating = FALSE);
  ~CDockBar() override;

  BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

  // Bars in rows; a null entry ends a row.
  void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
  BOOL RemoveControlBar(CControlBar* pBar);
  int GetDockedCount() const;
  // The index of the bar in m_arrBars, -1 when it is not there.
  int FindBar(CControlBar* pBar, int nPosExclude = -1) const;
  BOOL IsHorz() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }
  // The frame reads right to left: rows run from the right.
  BOOL IsRTL() const;

  BOOL m_bFloating;
  std::vector<CControlBar*> m_arrBars;
  CRect m_rectLayout;  // the area the last layout offered the side

 protected:
  afx_msg LRESULT OnSizeParentDock(WPARAM wParam, LPARAM lParam);
  // Places the bars in rows inside nLength; answers the size taken. With bMove the bars move.
  CSize LayoutBars(int nLength, BOOL bMove);
  DECLARE_MESSAGE_MAP()
};

class CDockContext {
 public:
  explicit CDockContext(CControlBar* pBar);
  virtual ~CDockContext() = default;

  // Follows the mouse until the button is released: over a side that takes the bar it docks
  // there, elsewhere the bar floats at the point. A release within a few pixels changes nothing.
  virtual void StartDrag(CPoint pt);
  // Floating bars dock again where they were; docked ones float where they are.
  virtual void ToggleDocking();

  CControlBar* m_pBar;
  CFrameWnd* m_pDockSite = nullptr;
  DWORD m_dwDockStyle = 0;  // the sides the bar may dock on
  UINT m_uMRUDockID = AFX_IDW_DOCKBAR_TOP;
  CPoint m_ptMRUFloatPos{-1, -1};
  // During StartDrag: the bar's rectangle at the pointer, as it would float horizontally and
  // vertically. A mouse hook may move them before the release is handled; the bar floats there.
  BOOL m_bDragging = FALSE;
  CRect m_rectDragHorz;
  CRect m_rectDragVert;
};

class CMiniFrameWnd : public CFrameWnd {
  DECLARE_DYNAMIC(CMiniFrameWnd)

 public:
  // A small tool window with a caption and a sizing frame, owned by the parent.
  BOOL CreateMini(LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd);
};

class CMiniDockFrameWnd : public CMiniFrameWnd {
  DECLARE_DYNCREATE(CMiniDockFrameWnd)

 public:
  CMiniDockFrameWnd();
  ~CMiniDockFrameWnd() override;

  // An empty floating frame owned by pParent, its dock bar aligned as dwBarStyle says.
  virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);
  // Holds pBar, sized to its most recent floating width, with its top left at the screen point.
  virtual BOOL Create(CFrameWnd* pDockSite, CControlBar* pBar, CPoint point);
  void RecalcLayout(BOOL bNotify = TRUE) override;
  CControlBar* GetBar() const;

  CDockBar m_wndDockBar{TRUE};
  CFrameWnd* m_pDockSite = nullptr;

 protected:
  void PostNcDestroy() override;
  afx_msg void OnClose();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  bool m_bKeepObject = false;  // set while a failed Create destroys its half-made window
  bool m_bSizingToBar = false;  // set while the frame takes its bar's size
  DECLARE_MESSAGE_MAP()
};
