// The menu demonstration program: a toolkit MDI frame whose menu bar comes from the program's menu
// resource (File with "Recent File" and an Export sub-menu, Edit with a column break and a default
// item, Tools with the user-tools placeholder, Slides with 60 items that scroll, Window), two
// document kinds (albums and tracks) with menus of their own, and a toolbar with a chevron. Chosen
// commands are logged. The end-to-end test drives it with the input script; --layout writes where
// the menu bar's items and the toolbar's buttons lie (also with a maximized child and a narrow
// frame) and quits. The menus, the toolbar and the frame's placement are kept across runs.
//
// Options: --log FILE, --resources DIR, --layout, --usage FILE (lines "command count": use counts
// the menus read), --animation N (0 none, 1 unfold, 2 slide, 3 fade).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/display/Display.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/Document.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/res/ResourceModule.h"
#include "platform/res/Resources.h"
#include "platform/user/Accel.h"
#include "platform/user/Menu.h"
#include "tests/support/DemoLoop.h"
#include "toolkit/bars/PlxCustomizeButton.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxMenuBar.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/core/PlxMDIChildWnd.h"
#include "toolkit/core/PlxUserTools.h"
#include "toolkit/core/PlxWinXPVisualManager.h"
#include "toolkit/core/PlxWorkspace.h"

namespace {

constexpr UINT kFrameMenu = 30100, kAlbumMenu = 30101, kTrackMenu = 30102;
constexpr UINT kToolbarResource = 64600;  // the toolbar demonstration's strip
constexpr UINT kToolBarId = 1002;
constexpr UINT kNewAlbumCmd = 40001, kNewTrackCmd = 40007;
// Demonstration keys: maximize the active child, narrow the frame, customize mode on and off,
// close every document.
constexpr UINT kMaximizeCmd = 0x7F10, kNarrowCmd = 0x7F11, kCustomizeCmd = 0x7F12, kCloseAllCmd = 0x7F13;
constexpr UINT kToolsDummy = 0x7E00, kFirstTool = 0x7E01, kLastTool = 0x7E08;
constexpr UINT WM_DEMO_CHILD_SIZED = WM_APP + 1;

std::ofstream g_log;

void Log(const std::string& line) {
  g_log << line << '\n';
  g_log.flush();
}

std::string RectText(const CRect& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
         std::to_string(r.bottom);
}

// The application: its workspace keeps the toolbar parameters and the placement under
// "SOFTWARE\PictavoMenuDemo\PlxWorkspace"; the frame stores its bars there itself.
class CDemoApp : public CPlxWorkspace {
 public:
  CDemoApp() {
    free(const_cast<LPTSTR>(m_pszProfileName));
    m_pszProfileName = strdup("PictavoMenuDemo");
  }
};
CDemoApp* g_app = nullptr;

class CAlbumDoc : public CDocument {
  DECLARE_DYNCREATE(CAlbumDoc)
};
IMPLEMENT_DYNCREATE(CAlbumDoc, CDocument)

class CTrackDoc : public CDocument {
  DECLARE_DYNCREATE(CTrackDoc)
};
IMPLEMENT_DYNCREATE(CTrackDoc, CDocument)

class CDemoView : public CView {
  DECLARE_DYNCREATE(CDemoView)

 public:
  void OnDraw(CDC* pDC) override {
    if (CDocument* doc = GetDocument()) pDC->TextOut(6, 6, doc->GetTitle());
  }
};
IMPLEMENT_DYNCREATE(CDemoView, CView)

// A document frame of the toolkit: the menu bar shows its icon and window buttons while it is
// maximized. It tells the main frame when it was resized, only so the log shows what the bar did.
class CDemoChild : public CPlxMDIChildWnd {
  DECLARE_DYNCREATE(CDemoChild)

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    if (CPlxMDIChildWnd::OnCreate(cs) == -1) return -1;
    // The program's icon, which the menu bar shows while the child is maximized.
    SendMessage(WM_SETICON, ICON_SMALL,
                reinterpret_cast<LPARAM>(::LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(128), IMAGE_ICON,
                                                     16, 16, LR_SHARED)));
    return 0;
  }
  afx_msg void OnSize(UINT nType, int cx, int cy) {
    CPlxMDIChildWnd::OnSize(nType, cx, cy);
    if (CWnd* main = AfxGetMainWnd()) main->PostMessage(WM_DEMO_CHILD_SIZED);
  }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CDemoChild, CPlxMDIChildWnd)
BEGIN_MESSAGE_MAP(CDemoChild, CPlxMDIChildWnd)
ON_WM_CREATE()
ON_WM_SIZE()
END_MESSAGE_MAP()

class CMenuDemoFrame : public CPlxMDIFrameWnd {
 public:
  BOOL CreateDemo() {
    g_app->m_pMainWnd = this;
    // The title is the menu resource's string: "Menu Demo".
    if (!LoadFrame(kFrameMenu, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | FWS_ADDTOTITLE)) return FALSE;
    CRect rect(20, 20, 20 + 640, 20 + 440);
    int flags = 0, show = 0;
    if (g_app->LoadWindowPlacement(rect, flags, show)) Log("placement loaded");
    SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER);
    return TRUE;
  }

  // The menu bar's buttons (text, or the kind of a child button) and the toolbar's commands.
  void LogBars(const std::string& prefix) {
    std::string menu = prefix + " menu";
    for (int i = 0; i < m_wndMenuBar.GetCount(); ++i) {
      CPlxToolbarButton* b = m_wndMenuBar.GetButton(i);
      menu += " " + std::string((b->m_nStyle & TBBS_SEPARATOR) ? "|" : static_cast<LPCTSTR>(b->m_strText));
    }
    Log(menu);
    std::string bar = prefix + " toolbar";
    for (int i = 0; i < m_wndToolBar.GetCount(); ++i)
      if (m_wndToolBar.GetButton(i) != m_wndToolBar.GetCustomizeButton())
        bar += std::string(m_wndToolBar.GetButton(i)->IsVisible() ? " " : " -") +  // "-": hidden by the user
               std::to_string(static_cast<int>(m_wndToolBar.GetItemID(i)));
    Log(bar);
    CRect window;
    GetWindowRect(window);
    Log(prefix + " placement " + RectText(window));
  }

  void LogLayout(const std::string& prefix) {
    for (int i = 0; i < m_wndMenuBar.GetCount(); ++i) {
      CPlxToolbarButton* b = m_wndMenuBar.GetButton(i);
      Log(prefix + " item " + std::to_string(i) + " " + RectText(b->m_rect) + " " +
          b->GetRuntimeClass()->m_lpszClassName);
    }
    for (int i = 0; i < m_wndToolBar.GetCount(); ++i) {
      CPlxToolbarButton* b = m_wndToolBar.GetButton(i);
      Log(prefix + " button " + std::to_string(i) + " " + RectText(b->m_rect) + " " +
          std::to_string(static_cast<int>(b->m_nID)) + (b->IsHidden() ? " hidden" : ""));
    }
  }

  // The layout now, with an album maximized, and with the frame narrowed.
  void LogAllLayouts() {
    LogLayout("normal");
    // The Tools popup's rows (in its bar's client area), as the fixture's use counts cut it.
    auto* tools = dynamic_cast<CPlxToolbarMenuButton*>(m_wndMenuBar.GetButton(2));
    if (tools != nullptr && m_wndMenuBar.DropDownMenu(tools)) {
      MSG msg;
      while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessage(&msg);
      if (CPlxPopupMenu* popup = tools->GetPopupMenu()) {
        CPlxPopupMenuBar* bar = popup->GetMenuBar();
        for (int i = 0; i < bar->GetCount(); ++i)
          Log("tools row " + std::to_string(i) + " " + RectText(bar->GetButton(i)->m_rect) + " " +
              std::to_string(static_cast<int>(bar->GetButton(i)->m_nID)));
      }
      tools->OnCancelMode();
      m_wndMenuBar.SendMessage(WM_CANCELMODE);
    }
    OpenDocument(kNewAlbumCmd);
    MaximizeActive();
    LogLayout("maximized");
    if (CMDIChildWnd* child = MDIGetActive()) child->MDIDestroy();
    Narrow();
    LogLayout("narrow");
  }

  BOOL OnShowPopupMenu(CPlxPopupMenu* pMenu) override {
    if (pMenu != nullptr) Log("popup " + std::to_string(pMenu->GetMenuItemCount()) + " items");
    // A title the input script can find the newest popup by.
    if (pMenu != nullptr && pMenu->GetSafeHwnd() != nullptr) pMenu->SetWindowText("Demo menu");
    return CPlxMDIFrameWnd::OnShowPopupMenu(pMenu);
  }

  void OnClosePopupMenu(CPlxPopupMenu* pMenu) override {
    if (pMenu != nullptr) Log("popup closed");
    if (pMenu != nullptr && pMenu->GetParentPopupMenu() == nullptr) CPlxMenuBar::m_bShowAllCommands = FALSE;
    CPlxMDIFrameWnd::OnClosePopupMenu(pMenu);
  }

  CPlxMenuBar m_wndMenuBar;
  CPlxToolBar m_wndToolBar;
  CMultiDocTemplate* m_pAlbums = nullptr;
  CMultiDocTemplate* m_pTracks = nullptr;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    if (CPlxMDIFrameWnd::OnCreate(cs) == -1) return -1;
    ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'N', kNewAlbumCmd},  {FVIRTKEY | FCONTROL, 'M', kNewTrackCmd},
                    {FVIRTKEY | FCONTROL, 'G', kMaximizeCmd},  {FVIRTKEY | FCONTROL, 'W', kNarrowCmd},
                    {FVIRTKEY | FCONTROL, 'K', kCustomizeCmd}, {FVIRTKEY | FCONTROL, 'D', kCloseAllCmd}};
    m_hAccelTable = CreateAcceleratorTable(keys, static_cast<int>(std::size(keys)));
    new CPlxUserToolsManager(kToolsDummy, kFirstTool, kLastTool);
    g_app->LoadState();
    EnableDocking(CBRS_ALIGN_ANY);
    // The menu bar takes the frame's menu when it is made (the frame core hands it over).
    if (!m_wndMenuBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC)) return -1;
    if (m_wndMenuBar.GetMenu() == nullptr) m_wndMenuBar.CreateFromMenu(m_hMenuDefault, TRUE);
    ::SetMenu(m_hWnd, nullptr);
    m_wndMenuBar.SetDefaultMenuResId(kFrameMenu);
    if (!m_wndToolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC | CBRS_TOOLTIPS,
                             kToolBarId) ||
        !m_wndToolBar.LoadToolBar(kToolbarResource))
      return -1;
    m_wndToolBar.SetWindowText("Album");
    m_wndToolBar.EnableCustomizeButton(TRUE, kCustomizeCmd, "Customize...");
    m_wndMenuBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndMenuBar, AFX_IDW_DOCKBAR_TOP);
    DockControlBar(&m_wndToolBar, AFX_IDW_DOCKBAR_TOP);

    m_pAlbums = new CMultiDocTemplate(kAlbumMenu, RUNTIME_CLASS(CAlbumDoc), RUNTIME_CLASS(CDemoChild),
                                      RUNTIME_CLASS(CDemoView));
    m_pTracks = new CMultiDocTemplate(kTrackMenu, RUNTIME_CLASS(CTrackDoc), RUNTIME_CLASS(CDemoChild),
                                      RUNTIME_CLASS(CDemoView));
    g_app->AddDocTemplate(m_pAlbums);
    g_app->AddDocTemplate(m_pTracks);
    // The default item is not part of a menu template: the Edit menus get theirs here.
    for (HMENU menu : {m_hMenuDefault, m_pAlbums->m_hMenuShared})
      ::SetMenuDefaultItem(::GetSubMenu(menu, 1), 40205, FALSE);

    m_wndMenuBar.LoadState(g_app->GetRegSectionPath());
    m_wndToolBar.LoadState(g_app->GetRegSectionPath());
    return 0;
  }

  void OpenDocument(UINT cmd) {
    CMultiDocTemplate* kind = cmd == kNewAlbumCmd ? m_pAlbums : m_pTracks;
    CDocument* doc = kind->OpenDocumentFile(nullptr);
    Log(std::string("opened ") + (doc != nullptr ? static_cast<LPCTSTR>(doc->GetTitle()) : "nothing"));
  }

  void MaximizeActive() {
    if (CMDIChildWnd* child = MDIGetActive()) MDIMaximize(child);
  }

  void Narrow() {
    CRect window;
    GetWindowRect(window);
    SetWindowPos(nullptr, 0, 0, 300, window.Height(), SWP_NOZORDER | SWP_NOMOVE);
    RecalcLayout();
  }

  void CloseAll() {
    while (CMDIChildWnd* child = MDIGetActive()) child->MDIDestroy();
  }

  // A child was resized: the log notes when the menu bar took up or dropped its buttons.
  afx_msg LRESULT OnChildSized(WPARAM, LPARAM) {
    if (m_bLoggedMaximized != m_wndMenuBar.m_bMaximizedChild) {
      m_bLoggedMaximized = m_wndMenuBar.m_bMaximizedChild;
      Log(m_bLoggedMaximized ? "child maximized" : "child restored");
    }
    return 0;
  }
  BOOL m_bLoggedMaximized = FALSE;

  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    const UINT id = LOWORD(wParam);
    if (id == kNewAlbumCmd || id == kNewTrackCmd) {
      OpenDocument(id);
      return TRUE;
    }
    if (id == kMaximizeCmd) {
      MaximizeActive();
      return TRUE;
    }
    if (id == kNarrowCmd) {
      Narrow();
      Log("narrowed");
      return TRUE;
    }
    if (id == kCloseAllCmd) {
      CloseAll();
      return TRUE;
    }
    if (id == kCustomizeCmd) {
      CPlxToolBar::SetCustomizeMode(!CPlxToolBar::m_bCustomizeMode);
      Log(std::string("customize ") + (CPlxToolBar::m_bCustomizeMode ? "on" : "off"));
      return TRUE;
    }
    if ((id >= 40001 && id < 41000) || (id >= 32700 && id < 34000) || (id >= 57600 && id <= 57603)) {
      Log("command " + std::to_string(id));
      return TRUE;
    }
    return CPlxMDIFrameWnd::OnCommand(wParam, lParam);
  }

  afx_msg void OnClose() {
    if (CPlxToolBar::m_bCustomizeMode) CPlxToolBar::SetCustomizeMode(FALSE);
    // The documents go first, so the bar shows the frame's own menu again.
    CloseAll();
    CString title;
    GetWindowText(title);
    Log("end title " + std::string(static_cast<LPCTSTR>(title)));
    LogBars("end");
    Log(std::string("save menus ") + (m_wndMenuBar.SaveState(g_app->GetRegSectionPath()) ? "ok" : "failed"));
    Log(std::string("save toolbar ") +
        (m_wndToolBar.SaveState(g_app->GetRegSectionPath()) ? "ok" : "failed"));
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(&placement);
    g_app->StoreWindowPlacement(placement.rcNormalPosition, placement.flags, placement.showCmd);
    Log(std::string("workspace ") + (g_app->SaveState() ? "ok" : "failed"));
    Log("closed");
    DestroyWindow();
  }
  void PostNcDestroy() override { PostQuitMessage(0); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMenuDemoFrame, CPlxMDIFrameWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_MESSAGE(WM_DEMO_CHILD_SIZED, OnChildSized)
END_MESSAGE_MAP()

// Use counts, one "command count" a line; the commands listed become the basic set so that the
// others count as rare.
void LoadUsage(const char* path) {
  std::ifstream in(path);
  unsigned id = 0, count = 0;
  while (in >> id >> count) {
    for (unsigned i = 0; i < count; ++i) CPlxToolBar::m_commandUsage.AddCmd(id);
    CPlxToolBar::AddBasicCommand(id);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string logPath, usage;
  bool layout = false;
  int animation = -1;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--log" && i + 1 < argc)
      logPath = argv[++i];
    else if (a == "--layout")
      layout = true;
    else if (a == "--resources" && i + 1 < argc)
      pictavo::res::SetResourceRoot(argv[++i]);
    else if (a == "--usage" && i + 1 < argc)
      usage = argv[++i];
    else if (a == "--animation" && i + 1 < argc)
      animation = std::atoi(argv[++i]);
  }
  g_log.open(logPath, std::ios::trunc);
  if (!g_log) {
    std::fprintf(stderr,
                 "usage: menu_demo --log FILE [--resources DIR] [--layout] [--usage FILE] [--animation N]\n");
    return 2;
  }
  if (!pictavo::display::Initialize()) return 1;
  CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
  PlxRegisterToolbarMessages();
  CDemoApp app;
  g_app = &app;
  for (UINT id = 40400; id < 40460; ++id) CPlxToolBar::AddBasicCommand(id);  // the slides are always listed
  auto* frame = new CMenuDemoFrame;
  if (!frame->CreateDemo()) {
    std::fprintf(stderr, "menu_demo: the frame could not be made\n");
    return 1;
  }
  // The fixture's counts and animation stand over what the workspace loaded.
  if (!usage.empty()) LoadUsage(usage.c_str());
  if (animation >= 0) CPlxPopupMenu::m_AnimationType = animation;
  frame->ShowWindow(SW_SHOW);
  frame->RecalcLayout();
  frame->UpdateWindow();
  frame->LogBars("start");
  if (layout) {
    frame->LogAllLayouts();
    frame->DestroyWindow();
    return 0;
  }
  const int exitCode = pictavo::test::RunDemoLoop(frame->GetSafeHwnd());
  CPlxToolBar::CleanUpImages();
  CPlxVisualManager::DestroyInstance();
  return exitCode;
}
