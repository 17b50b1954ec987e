// The docking demonstration program: a toolkit MDI frame with a menu bar, sizing bars (a tree on
// the left, two lists sharing the bottom row, a floating one that rolls up by itself), a caption
// bar, a docked colour bar, a toolbar with a combo box and an edit box whose twins sit on a second
// bar, and a status bar with an animated pane. Clicked colours and typed texts are logged. The
// end-to-end test drives it with the input script; --layout writes where the bars lie and quits.
// The workspace keeps the bars (sizes, roll state, the colour bar) across runs.
//
// Options: --log FILE, --resources DIR, --layout, --animated FILE (made once the status pane has
// shown three frames), --rolls PREFIX (files made as the floating bar rolls up and down).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/comctl/AfxTreeCtrl.h"
#include "platform/comctl/ImageList.h"
#include "platform/display/Display.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/Document.h"
#include "platform/mfc/StdControls.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/res/ResourceModule.h"
#include "platform/res/Resources.h"
#include "platform/user/Accel.h"
#include "platform/user/Menu.h"
#include "tests/support/DemoLoop.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxMenuBar.h"
#include "toolkit/bars/PlxMiniDockFrameWnd.h"
#include "toolkit/bars/PlxStatusBar.h"
#include "toolkit/bars/PlxToolbarComboBoxButton.h"
#include "toolkit/bars/PlxToolbarEditBoxButton.h"
#include "toolkit/core/PlxCaptionBar.h"
#include "toolkit/core/PlxColorBar.h"
#include "toolkit/core/PlxMDIChildWnd.h"
#include "toolkit/core/PlxSizingControlBar.h"
#include "toolkit/core/PlxWinXPVisualManager.h"
#include "toolkit/core/PlxWorkspace.h"

namespace {

constexpr UINT kFrameMenu = 30100, kAlbumMenu = 30101;
constexpr UINT kToolbarResource = 64600;
constexpr UINT kToolBarId = 1002, kTwinBarId = 1003, kColorBarId = 1004, kCaptionBarId = 1005;
constexpr UINT kTreeBarId = 1010, kLeftListBarId = 1011, kRightListBarId = 1012, kFloatBarId = 1013;
constexpr UINT kComboCmd = 41001, kEditCmd = 41002, kColorCmd = 41003;
constexpr UINT kNewAlbumCmd = 40001;
constexpr UINT kShowTracksCmd = 41010;  // Ctrl+T: shows the Tracks bar again

std::ofstream g_log;
std::string g_animatedFile, g_rollPrefix;
constexpr UINT_PTR kWatchTimer = 77;

void Log(const std::string& line) {
  g_log << line << '\n';
  g_log.flush();
}

std::string RectText(const CRect& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
         std::to_string(r.bottom);
}

class CDemoApp : public CPlxWorkspace {
 public:
  CDemoApp() {
    // In the user's registry (under HOME), not in a profile file other runs share; the key
    // takes the application's name as the profile's, so the profile is named after it.
    SetRegistryKey("Pictavo");
    free(const_cast<LPTSTR>(m_pszProfileName));
    m_pszProfileName = strdup("PictavoDockingDemo");
  }
};
CDemoApp* g_app = nullptr;

class CAlbumDoc : public CDocument {
  DECLARE_DYNCREATE(CAlbumDoc)
};
IMPLEMENT_DYNCREATE(CAlbumDoc, CDocument)

class CDemoView : public CView {
  DECLARE_DYNCREATE(CDemoView)

 public:
  void OnDraw(CDC* pDC) override {
    if (CDocument* doc = GetDocument()) pDC->TextOut(6, 6, doc->GetTitle());
  }
};
IMPLEMENT_DYNCREATE(CDemoView, CView)

class CDemoChild : public CPlxMDIChildWnd {
  DECLARE_DYNCREATE(CDemoChild)
};
IMPLEMENT_DYNCREATE(CDemoChild, CPlxMDIChildWnd)

// A sizing bar whose one child control fills its client area.
class CFilledBar : public CPlxSizingControlBar {
 public:
  CWnd* m_pContent = nullptr;

 protected:
  afx_msg void OnSize(UINT nType, int cx, int cy) {
    CPlxSizingControlBar::OnSize(nType, cx, cy);
    if (m_pContent != nullptr && m_pContent->GetSafeHwnd() != nullptr)
      m_pContent->SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CFilledBar, CPlxSizingControlBar)
ON_WM_SIZE()
END_MESSAGE_MAP()

class CDockingDemoFrame : public CPlxMDIFrameWnd {
 public:
  BOOL CreateDemo() {
    g_app->m_pMainWnd = this;
    // The frame's own load runs only once a run saved the bars: with nothing stored, the
    // workspace's load floats the docked sizing bars.
    m_Impl.m_uiDefaultMenuResId = kFrameMenu;
    if (!CMDIFrameWnd::LoadFrame(kFrameMenu, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN)) return FALSE;
    if (g_app->GetProfileInt("Docking", "Saved", 0) != 0) {
      m_Impl.OnLoadFrame();
      // The workspace's toolbar load leaves the colour bar without cells: they are made again.
      m_wndColorBar.RebuildCells();
      m_wndColorBar.AdjustLocations();
      RecalcLayout();
      Log("workspace loaded");
    }
    if (m_Impl.m_pMenuBar != nullptr) m_Impl.m_hDefaultMenu = m_hMenuDefault;
    SetWindowText("Docking Demo");
    SetWindowPos(nullptr, 20, 20, 760, 560, SWP_NOZORDER);
    return TRUE;
  }

  void LogBars(const std::string& prefix) {
    for (CFilledBar* bar : {&m_wndTree, &m_wndLeftList, &m_wndRightList, &m_wndFloat}) {
      CRect rect;
      bar->GetWindowRect(rect);
      Log(prefix + " bar " + std::to_string(bar->GetDlgCtrlID()) + " " + RectText(rect) +
          (bar->IsWindowVisible() ? " shown" : " hidden") + (bar->IsFloatingBar() ? " floating" : " docked") +
          " roll " + std::to_string(bar->m_nRollState) + (bar->m_bRolled ? " rolled" : "") + " in " +
          std::to_string(bar->GetParent()->GetDlgCtrlID()) + " " + std::to_string(bar->m_nDockBarID));
    }
    Log(prefix + " colour " + std::to_string(static_cast<unsigned>(m_wndColorBar.GetColor())));
    Log(prefix + " cells " + std::to_string(m_wndColorBar.GetCount()));
    Log(prefix + " edit " + EditText(m_wndToolBar) + " | " + EditText(m_wndTwinBar));
  }

  // The edit-box button's text on a bar (its window's text when it has one).
  static std::string EditText(CPlxToolBar& bar) {
    for (int i = 0; i < bar.GetCount(); ++i)
      if (auto* edit = dynamic_cast<CPlxToolbarEditBoxButton*>(bar.GetButton(i))) {
        CString text = edit->GetContents();
        if (edit->GetEditBox() != nullptr && edit->GetEditBox()->GetSafeHwnd() != nullptr)
          edit->GetEditBox()->GetWindowText(text);
        return static_cast<LPCTSTR>(text);
      }
    return "none";
  }

  // Where the script clicks: the bars' client rectangles in screen coordinates.
  void LogLayout() {
    for (CWnd* wnd : std::initializer_list<CWnd*>{&m_wndTree, &m_wndLeftList, &m_wndRightList, &m_wndFloat,
                                                  &m_wndColorBar, &m_wndToolBar, &m_wndTwinBar}) {
      CRect rect;
      wnd->GetWindowRect(rect);
      Log("layout " + std::to_string(wnd->GetDlgCtrlID()) + " " + RectText(rect));
    }
    // Sizing bars, in their dock bar's client coordinates (the script clicks there, the caption
    // and edges lying outside the bar's client area): the caption, the buttons and the splitter
    // edge past the right of the client area.
    for (CFilledBar* bar : {&m_wndTree, &m_wndLeftList, &m_wndRightList}) {
      CRect window, client;
      bar->GetWindowRect(window);
      bar->GetClientRect(client);
      CPoint origin(0, 0), parent(0, 0);
      bar->ClientToScreen(&origin);
      bar->GetParent()->ClientToScreen(&parent);
      const CPoint off = origin - window.TopLeft();
      const CPoint shift = window.TopLeft() - parent;  // window coordinates to the dock bar's
      const std::string id = std::to_string(bar->GetDlgCtrlID());
      CRect caption;
      bar->GetCaptionRect(CRect(off, client.Size()), FALSE, caption);
      caption.OffsetRect(shift);
      Log("caption " + id + " " + RectText(caption));
      for (int i = 0; i < CPlxSizingControlBar::kButtons; ++i) {
        CRect button = bar->m_Buttons[i].GetRect();
        button.OffsetRect(shift);
        Log("button " + id + " " + std::to_string(i) + " " + RectText(button));
      }
      CRect edge(off.x + client.right, off.y, window.Width(), off.y + client.bottom);
      edge.OffsetRect(shift);
      Log("edge " + id + " " + RectText(edge));
    }
    CPoint menuOrigin(0, 0);  // the MDI client area's, which the floating bar lies over
    ::ClientToScreen(m_hWndMDIClient, &menuOrigin);
    auto* mini = FloatingFrame();
    if (mini != nullptr) {
      CRect frame;
      mini->GetWindowRect(frame);
      frame.OffsetRect(-menuOrigin.x, -menuOrigin.y);
      Log("floating frame " + RectText(frame));  // in the MDI client area's coordinates
    }
    for (CPlxToolBar* bar : {&m_wndToolBar, &m_wndTwinBar})
      for (int i = 0; i < bar->GetCount(); ++i)
        Log("tool " + std::to_string(bar->GetDlgCtrlID()) + " " + std::to_string(i) + " " +
            RectText(bar->GetButton(i)->m_rect));
    for (int i = 0; i < m_wndColorBar.GetCount(); ++i)
      Log("cell " + std::to_string(i) + " " + RectText(m_wndColorBar.GetButton(i)->m_rect));
  }

  // The mini frame the floating bar is in (its dock bar's parent), else null.
  CPlxMiniDockFrameWnd* FloatingFrame() {
    CWnd* dock = m_wndFloat.GetParent();
    return dock != nullptr ? dynamic_cast<CPlxMiniDockFrameWnd*>(dock->GetParent()) : nullptr;
  }

  CPlxMenuBar m_wndMenuBar;
  CPlxToolBar m_wndToolBar, m_wndTwinBar;
  CPlxStatusBar m_wndStatusBar;
  CPlxCaptionBar m_wndCaptionBar;
  CPlxColorBar m_wndColorBar;
  CFilledBar m_wndTree, m_wndLeftList, m_wndRightList, m_wndFloat;
  CTreeCtrl m_tree;
  CListBox m_leftList, m_rightList, m_floatList;
  CMultiDocTemplate* m_pAlbums = nullptr;

 protected:
  BOOL MakeSizingBar(CFilledBar& bar, CWnd& content, LPCTSTR title, UINT id, CSize size, BOOL tree) {
    if (!bar.Create(title, this, size, TRUE, id, WS_CHILD | WS_VISIBLE | CBRS_TOP)) return FALSE;
    const CRect rect(0, 0, size.cx, size.cy);
    const BOOL made =
        tree ? static_cast<CTreeCtrl&>(content).Create(
                   WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT, rect, &bar, 100)
             : static_cast<CListBox&>(content).Create(WS_CHILD | WS_VISIBLE | LBS_NOTIFY, rect, &bar, 100);
    if (!made) return FALSE;
    bar.m_pContent = &content;
    bar.SetBarStyle(bar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    bar.EnableDocking(CBRS_ALIGN_ANY);
    return TRUE;
  }

  // Four frames of a dot going round a 16-pixel square.
  static HIMAGELIST MakeAnimation() {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 0);
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP strip = ::CreateCompatibleBitmap(screen, 64, 16);
    HGDIOBJ old = ::SelectObject(dc, strip);
    HBRUSH back = ::CreateSolidBrush(RGB(255, 0, 255)), dot = ::CreateSolidBrush(RGB(0, 90, 200));
    RECT all = {0, 0, 64, 16};
    ::FillRect(dc, &all, back);
    const POINT corners[] = {{2, 2}, {8, 2}, {8, 8}, {2, 8}};
    for (int i = 0; i < 4; ++i) {
      RECT r = {i * 16 + corners[i].x, corners[i].y, i * 16 + corners[i].x + 6, corners[i].y + 6};
      ::FillRect(dc, &r, dot);
    }
    ::SelectObject(dc, old);
    ImageList_AddMasked(list, strip, RGB(255, 0, 255));
    ::DeleteObject(back);
    ::DeleteObject(dot);
    ::DeleteObject(strip);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return list;
  }

  // Counts the animated pane's frame changes; after three the file named by --animated appears.
  afx_msg void OnTimer(UINT_PTR id) {
    if (id != kWatchTimer) return CPlxMDIFrameWnd::OnTimer(id);
    WatchRoll();
    CPlxStatusBarPaneInfo* pane = m_wndStatusBar.GetPane(1);
    if (pane == nullptr || pane->nCurrFrame == m_nLastFrame) return;
    m_nLastFrame = pane->nCurrFrame;
    if (++m_nFrameChanges == 3) {
      Log("pane animated");
      if (!g_animatedFile.empty()) std::ofstream(g_animatedFile) << "animated\n";
    }
  }
  int m_nLastFrame = 0, m_nFrameChanges = 0;

  // Each time the floating bar's frame rolls up or down, "<prefix>up-N" or "<prefix>down-N" is
  // made (N counts that direction), so the script can wait for it.
  void WatchRoll() {
    auto* mini = FloatingFrame();
    if (mini == nullptr || mini->m_bRolled == m_bLastRolled) return;
    m_bLastRolled = mini->m_bRolled;
    const int n = m_bLastRolled ? ++m_nRollUps : ++m_nRollDowns;
    const std::string name = std::string(m_bLastRolled ? "up-" : "down-") + std::to_string(n);
    Log("rolled " + name);
    if (!g_rollPrefix.empty()) std::ofstream(g_rollPrefix + name) << name << "\n";
  }
  BOOL m_bLastRolled = FALSE;
  int m_nRollUps = 0, m_nRollDowns = 0;

  static int Fail(int step) {
    std::fprintf(stderr, "docking_demo: bar %d could not be made\n", step);
    return -1;
  }

  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    if (CPlxMDIFrameWnd::OnCreate(cs) == -1) return Fail(1);
    ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'T', kShowTracksCmd}, {FVIRTKEY | FCONTROL, 'N', kNewAlbumCmd}};
    m_hAccelTable = CreateAcceleratorTable(keys, static_cast<int>(std::size(keys)));
    // Made before the dock bars, so it lies below the bottom one.
    static const UINT indicators[] = {0, 59137, 59138};
    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 3)) return Fail(7);
    m_wndStatusBar.SetPaneInfo(1, 59137, SBPS_NORMAL, 40);
    m_wndStatusBar.SetPaneAnimation(1, MakeAnimation(), 100);
    SetTimer(kWatchTimer, 50, nullptr);
    EnableDocking(CBRS_ALIGN_ANY);
    if (!m_wndMenuBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC)) return Fail(2);
    if (m_wndMenuBar.GetMenu() == nullptr) m_wndMenuBar.CreateFromMenu(m_hMenuDefault, TRUE);
    ::SetMenu(m_hWnd, nullptr);
    m_wndMenuBar.SetDefaultMenuResId(kFrameMenu);

    // The toolbar with a combo box and an edit box; the second bar holds their twins.
    if (!m_wndToolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC | CBRS_TOOLTIPS,
                             kToolBarId) ||
        !m_wndToolBar.LoadToolBar(kToolbarResource))
      return Fail(3);
    m_wndToolBar.SetWindowText("Album");
    if (!m_wndTwinBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC | CBRS_TOOLTIPS,
                             kTwinBarId))
      return Fail(4);
    m_wndTwinBar.SetWindowText("Twins");
    for (CPlxToolBar* bar : {&m_wndToolBar, &m_wndTwinBar}) {
      CPlxToolbarComboBoxButton combo(kComboCmd, -1, CBS_DROPDOWN, 110);
      combo.AddItem("Slow");
      combo.AddItem("Normal");
      combo.AddItem("Fast");
      bar->InsertButton(combo, bar == &m_wndToolBar ? 0 : -1);
      CPlxToolbarEditBoxButton edit(kEditCmd, -1, ES_AUTOHSCROLL, 100);
      bar->InsertButton(edit, bar == &m_wndToolBar ? 1 : -1);
    }

    if (!m_wndColorBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS, kColorBarId))
      return Fail(5);
    m_wndColorBar.SetWindowText("Colours");

    if (!m_wndCaptionBar.Create(WS_CHILD | WS_VISIBLE | CBRS_TOP, this, kCaptionBarId, -1)) return Fail(6);
    m_wndCaptionBar.SetText("Album: the bars around keep their places");

    if (!MakeSizingBar(m_wndTree, m_tree, "Albums", kTreeBarId, CSize(180, 200), TRUE) ||
        !MakeSizingBar(m_wndLeftList, m_leftList, "Photos", kLeftListBarId, CSize(200, 120), FALSE) ||
        !MakeSizingBar(m_wndRightList, m_rightList, "Tracks", kRightListBarId, CSize(200, 120), FALSE) ||
        !MakeSizingBar(m_wndFloat, m_floatList, "Effects", kFloatBarId, CSize(160, 160), FALSE))
      return Fail(8);
    HTREEITEM root = m_tree.InsertItem("Holidays");
    m_tree.InsertItem("Beach", root);
    m_tree.InsertItem("Mountains", root);
    m_tree.InsertItem("Birthdays");
    for (const char* s : {"beach-01.jpg", "beach-02.jpg", "hill-01.jpg"}) m_leftList.AddString(s);
    for (const char* s : {"Intro", "Theme", "Outro"}) m_rightList.AddString(s);
    for (const char* s : {"Fade", "Wipe", "Zoom"}) m_floatList.AddString(s);

    m_wndMenuBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndTwinBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndColorBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndMenuBar, AFX_IDW_DOCKBAR_TOP);
    DockControlBar(&m_wndToolBar, AFX_IDW_DOCKBAR_TOP);
    DockBeside(&m_wndTwinBar, &m_wndToolBar, AFX_IDW_DOCKBAR_TOP);
    DockControlBar(&m_wndColorBar, AFX_IDW_DOCKBAR_RIGHT);
    // The bars dock into the frame's final size, not the default one it is made with.
    SetWindowPos(nullptr, 20, 20, 760, 560, SWP_NOZORDER | SWP_NOACTIVATE);
    RecalcLayout();
    // Docked at a place in the side's dock bar (screen coordinates), as a drop there would.
    CRect client;
    GetClientRect(client);
    ClientToScreen(client);
    const CRect left(client.left, client.top + 120, client.left + 180, client.top + 320);
    const CRect bottom(client.left, client.bottom - 140, client.left + 200, client.bottom - 20);
    DockControlBar(&m_wndTree, AFX_IDW_DOCKBAR_LEFT, &left);
    DockControlBar(&m_wndLeftList, AFX_IDW_DOCKBAR_BOTTOM, &bottom);

    RecalcLayout();
    DockBeside(&m_wndRightList, &m_wndLeftList, AFX_IDW_DOCKBAR_BOTTOM);
    // The first list took the whole row while alone in it: the two share it evenly.
    m_wndLeftList.m_szHorz.cx = m_wndRightList.m_szHorz.cx = 200;
    RecalcLayout();
    // The floating bar rolls up when the pointer leaves it and down over its caption.
    m_wndFloat.m_nRollState = CPlxMiniDockFrameWnd::RollAuto;
    FloatControlBar(&m_wndFloat, CPoint(480, 200));
    // Rolled up from the start, as a bar that rolls by itself is while the pointer is away.
    m_wndFloat.m_bRolled = TRUE;
    if (CPlxMiniDockFrameWnd* mini = FloatingFrame()) {
      mini->m_nRollState = m_wndFloat.m_nRollState;
      mini->m_bRolled = TRUE;
      mini->RecalcLayout();
    }

    m_pAlbums = new CMultiDocTemplate(kAlbumMenu, RUNTIME_CLASS(CAlbumDoc), RUNTIME_CLASS(CDemoChild),
                                      RUNTIME_CLASS(CDemoView));
    g_app->AddDocTemplate(m_pAlbums);

    // The colour bar's choice is the program's own setting, beside the workspace's bars.
    m_wndColorBar.SetColor(static_cast<COLORREF>(g_app->GetProfileInt("Docking", "Colour", -1)));
    return 0;
  }

  void DockBeside(CControlBar* bar, CControlBar* beside, UINT dockBarId) {
    RecalcLayout(TRUE);
    CRect rect;
    beside->GetWindowRect(&rect);
    rect.OffsetRect(1, 1);
    DockControlBar(bar, dockBarId, &rect);
  }

  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    const UINT id = LOWORD(wParam);
    if (id == kNewAlbumCmd) {
      CDocument* doc = m_pAlbums->OpenDocumentFile(nullptr);
      Log(std::string("opened ") + (doc != nullptr ? static_cast<LPCTSTR>(doc->GetTitle()) : "nothing"));
      return TRUE;
    }
    if (id == kShowTracksCmd) {
      ShowControlBar(&m_wndRightList, TRUE, FALSE);
      Log("tracks shown");
      return TRUE;
    }
    if (id == kColorCmd || id == kColorBarId) {
      Log("colour " + std::to_string(static_cast<unsigned>(m_wndColorBar.GetColor())));
      return TRUE;
    }
    return CPlxMDIFrameWnd::OnCommand(wParam, lParam);
  }

  afx_msg void OnClose() {
    while (CMDIChildWnd* child = MDIGetActive()) child->MDIDestroy();
    LogBars("end");
    g_app->WriteProfileInt("Docking", "Saved", 1);
    g_app->WriteProfileInt("Docking", "Colour", static_cast<int>(m_wndColorBar.GetColor()));
    Log(std::string("workspace ") + (g_app->SaveState(nullptr, &m_Impl) ? "ok" : "failed"));
    Log("closed");
    DestroyWindow();
  }
  void PostNcDestroy() override { PostQuitMessage(0); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDockingDemoFrame, CPlxMDIFrameWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_TIMER()
END_MESSAGE_MAP()

}  // namespace

int main(int argc, char** argv) {
  std::string logPath;
  bool layout = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--log" && i + 1 < argc)
      logPath = argv[++i];
    else if (a == "--animated" && i + 1 < argc)
      g_animatedFile = argv[++i];
    else if (a == "--rolls" && i + 1 < argc)
      g_rollPrefix = argv[++i];
    else if (a == "--layout")
      layout = true;
    else if (a == "--resources" && i + 1 < argc)
      pictavo::res::SetResourceRoot(argv[++i]);
  }
  g_log.open(logPath, std::ios::trunc);
  if (!g_log) {
    std::fprintf(stderr, "usage: docking_demo --log FILE [--resources DIR] [--layout]\n");
    return 2;
  }
  if (!pictavo::display::Initialize()) return 1;
  CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
  PlxRegisterToolbarMessages();
  CDemoApp app;
  g_app = &app;
  auto* frame = new CDockingDemoFrame;
  if (!frame->CreateDemo()) {
    std::fprintf(stderr, "docking_demo: the frame could not be made\n");
    return 1;
  }
  frame->ShowWindow(SW_SHOW);
  frame->RecalcLayout();
  frame->UpdateWindow();
  frame->LogBars("start");
  if (layout) {
    frame->LogLayout();
    frame->DestroyWindow();
    return 0;
  }
  const int exitCode = pictavo::test::RunDemoLoop(frame->GetSafeHwnd());
  CPlxToolBar::CleanUpImages();
  CPlxVisualManager::DestroyInstance();
  return exitCode;
}
