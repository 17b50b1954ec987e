// The toolbar demonstration program: a toolkit frame with two bars from the program's toolbar
// resources (the second one locked), a status line and a command log. The end-to-end test drives
// it with the input script; --layout writes where every button lies and quits.
//
// Keys: Ctrl+L large icons on or off, Ctrl+T text labels on the first bar, Ctrl+W a narrow
// frame, Ctrl+F floats the second bar (wrapped in rows), Ctrl+D docks it again.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/comctl/AfxReBar.h"
#include "platform/display/Display.h"
#include "platform/display/Script.h"
#include "platform/display/ScriptPlayer.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/StatusBar.h"
#include "platform/mfc/StdControls.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Accel.h"
#include "tests/support/DemoLoop.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxKeyboardManager.h"
#include "toolkit/core/PlxMouseManager.h"
#include "toolkit/core/PlxRebarState.h"
#include "toolkit/core/PlxUserTools.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/core/PlxWinXPVisualManager.h"
#include "toolkit/core/PlxWorkspace.h"

namespace {

constexpr UINT kMainBarId = 1001;
constexpr UINT kLockedBarId = 1002;
constexpr UINT kMainToolbar = 64600;     // the main menu's item images on the button face
constexpr UINT kContextToolbar = 64601;  // the context menus' item images on the button face
constexpr UINT kExposureCmd = 32857;     // a check button
constexpr UINT kRemoveCmd = 32853;       // always disabled here
constexpr UINT kLargeIconsCmd = 0x7F01, kTextLabelsCmd = 0x7F02, kNarrowCmd = 0x7F03, kFloatCmd = 0x7F04,
               kDockCmd = 0x7F05;
// Customize mode, and the shortcut, double-click command and user tool the managers keep.
constexpr UINT kCustomizeCmd = 0x7F06, kManagersCmd = 0x7F07;
constexpr UINT kReBarBarId = 1003, kLogViewId = 1, kToolsDummy = 0x7E00, kFirstTool = 0x7E01,
               kLastTool = 0x7E08;

// The application object: its workspace keeps the toolbar parameters and the managers' state
// under "SOFTWARE\PictavoToolbarDemo\PlxWorkspace"; the frame's bars and bands are stored there by
// the frame itself.
class CDemoApp : public CPlxWorkspace {
 public:
  CDemoApp() {
    free(const_cast<LPTSTR>(m_pszProfileName));
    m_pszProfileName = strdup("PictavoToolbarDemo");
  }
};
CDemoApp* g_app = nullptr;

CString Profile() {
  return g_app->GetRegSectionPath();
}

std::ofstream g_log;

void Log(const std::string& line) {
  g_log << line << '\n';
  g_log.flush();
}

class CDemoFrame : public CPlxFrameWnd {
 public:
  BOOL CreateDemo() {
    g_app->m_pMainWnd = this;
    if (!Create(nullptr, "Toolbar Demo",
                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN,
                CRect(20, 20, 20 + 900, 20 + 260)))
      return FALSE;
    PlxLoadRebarState(Profile(), this);
    return TRUE;
  }

  // What the managers keep, one line each.
  void LogManagers() {
    Log("accelerators " + std::to_string(CopyAcceleratorTable(m_hAccelTable, nullptr, 0)));
    CString key;
    CPlxKeyboardManager::FindDefaultAccelerator(57603, key, this, TRUE);
    Log("save key " + std::string(key));
    Log("tools " + std::to_string(g_pUserToolsManager->GetUserTools().GetCount()));
    Log("dblclick " + std::to_string(g_pMouseManager->GetViewDblClickCommand(kLogViewId)));
    Log("usage " + std::to_string(CPlxToolBar::m_commandUsage.GetCount(57603)) + " of " +
        std::to_string(CPlxToolBar::m_commandUsage.GetTotal()));
    REBARBANDINFO info{};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_SIZE;
    if (m_wndReBar.GetReBarCtrl().GetBandInfo(0, &info)) Log("band " + std::to_string(info.cx));
  }

  void LogLayout() {
    for (CPlxToolBar* bar : {&m_wndMain, &m_wndLocked, &m_wndReBarBar}) {
      CRect rect;
      bar->GetWindowRect(rect);
      ScreenToClient(rect);
      Log("bar " + std::to_string(bar->GetDlgCtrlID()) + " " + std::to_string(rect.left) + " " +
          std::to_string(rect.top) + " " + std::to_string(rect.right) + " " + std::to_string(rect.bottom) +
          (bar->IsFloating() ? " floating" : " docked") + " labels " + std::to_string(bar->AreTextLabels()));
      for (int i = 0; i < bar->GetCount(); ++i) {
        CPlxToolbarButton* b = bar->GetButton(i);
        Log("button " + std::to_string(bar->GetDlgCtrlID()) + " " + std::to_string(i) + " " +
            std::to_string(b->m_nID) + " " + std::to_string(b->m_rect.left) + " " +
            std::to_string(b->m_rect.top) + " " + std::to_string(b->m_rect.right) + " " +
            std::to_string(b->m_rect.bottom) + (b->IsHidden() ? " hidden" : ""));
      }
    }
    Log(std::string("large ") + (CPlxToolBar::IsLargeIcons() ? "1" : "0"));
  }

  CPlxToolBar m_wndMain, m_wndLocked, m_wndReBarBar;
  CReBar m_wndReBar;
  CStatusBar m_wndStatus;
  CListBox m_wndLog;
  BOOL m_bExposure = FALSE;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    if (CFrameWnd::OnCreate(cs) == -1) return -1;
    ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'N', 57600},          {FVIRTKEY | FCONTROL, 'O', 57601},
                    {FVIRTKEY | FCONTROL, 'S', 57603},          {FVIRTKEY | FCONTROL, 'L', kLargeIconsCmd},
                    {FVIRTKEY | FCONTROL, 'T', kTextLabelsCmd}, {FVIRTKEY | FCONTROL, 'W', kNarrowCmd},
                    {FVIRTKEY | FCONTROL, 'F', kFloatCmd},      {FVIRTKEY | FCONTROL, 'D', kDockCmd},
                    {FVIRTKEY | FCONTROL, 'M', kCustomizeCmd},  {FVIRTKEY | FCONTROL, 'K', kManagersCmd}};
    m_hAccelTable = CreateAcceleratorTable(keys, static_cast<int>(std::size(keys)));
    // The managers and the toolbar parameters before the bars, as a workspace application loads them.
    new CPlxKeyboardManager;
    new CPlxMouseManager;
    new CPlxUserToolsManager(kToolsDummy, kFirstTool, kLastTool);
    g_app->m_bKeyboardManagerAutocreated = g_app->m_bMouseManagerAutocreated =
        g_app->m_bUserToolsManagerAutoCreated = TRUE;
    g_pMouseManager->AddView(kLogViewId, "Command log");
    g_app->LoadState();
    EnableDocking(CBRS_ALIGN_ANY);
    const DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC;
    if (!m_wndMain.Create(this, style, kMainBarId) || !m_wndMain.LoadToolBar(kMainToolbar)) return -1;
    if (!m_wndLocked.Create(this, style, kLockedBarId) ||
        !m_wndLocked.LoadToolBar(kContextToolbar, 0, 0, TRUE))
      return -1;
    // Room for the gripper at the start of each bar.
    m_wndMain.SetBorders(9, 2, 2, 2);
    m_wndLocked.SetBorders(9, 2, 2, 2);
    m_wndMain.SetWindowText("Standard");
    m_wndLocked.SetWindowText("Pictures");
    m_wndMain.EnableCustomizeButton(TRUE, 0, "");
    for (CPlxToolBar* bar : {&m_wndMain, &m_wndLocked}) {
      bar->EnableDocking(CBRS_ALIGN_ANY);
      bar->LoadState(Profile());
    }
    DockControlBar(&m_wndMain, AFX_IDW_DOCKBAR_TOP);
    RecalcLayout();
    CRect right;
    m_wndMain.GetWindowRect(right);
    right.OffsetRect(right.Width() + 4, 0);
    DockControlBar(&m_wndLocked, AFX_IDW_DOCKBAR_TOP, right);
    // A third bar, in a rebar band under the docked ones.
    if (!m_wndReBar.Create(this) ||
        !m_wndReBarBar.Create(&m_wndReBar, WS_CHILD | WS_VISIBLE | CBRS_TOP, kReBarBarId) ||
        !m_wndReBarBar.LoadToolBar(kMainToolbar))
      return -1;
    while (m_wndReBarBar.GetCount() > 3) m_wndReBarBar.RemoveButton(m_wndReBarBar.GetCount() - 1);
    m_wndReBarBar.LoadState(Profile());
    m_wndReBar.AddBar(&m_wndReBarBar, "Quick");
    const UINT indicator = 0;
    if (!m_wndStatus.Create(this) || !m_wndStatus.SetIndicators(&indicator, 1)) return -1;
    if (!m_wndLog.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, CRect(0, 0, 0, 0), this,
                         AFX_IDW_PANE_FIRST))
      return -1;
    m_strIdleText = "Ready";
    SetMessageText(AFX_IDS_IDLEMESSAGE);
    UpdateBars();
    return 0;
  }

  void SetMessageText(LPCTSTR lpszText) override {
    if (m_wndStatus.GetSafeHwnd() != nullptr) m_wndStatus.SetPaneText(0, lpszText);
  }
  using CFrameWnd::SetMessageText;

  void UpdateBars() {
    m_wndMain.OnUpdateCmdUI(this, FALSE);
    m_wndLocked.OnUpdateCmdUI(this, FALSE);
    m_wndReBarBar.OnUpdateCmdUI(this, FALSE);
  }

  afx_msg void OnCustomize() { CPlxToolBar::SetCustomizeMode(!CPlxToolBar::m_bCustomizeMode); }

  // A toolkit frame takes no commands in customize mode; the demo's own key that ends that mode
  // (there is no customize sheet here to close) still gets through.
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (CPlxToolBar::m_bCustomizeMode && LOWORD(wParam) == kCustomizeCmd)
      return CFrameWnd::OnCommand(wParam, lParam);
    return CPlxFrameWnd::OnCommand(wParam, lParam);
  }

  // Ctrl+E becomes a second key for Save, a double-click on the log saves, and a user tool.
  afx_msg void OnManagers() {
    std::vector<ACCEL> keys(static_cast<size_t>(CopyAcceleratorTable(m_hAccelTable, nullptr, 0)));
    CopyAcceleratorTable(m_hAccelTable, keys.data(), static_cast<int>(keys.size()));
    keys.insert(keys.begin(), ACCEL{FVIRTKEY | FCONTROL, 'E', 57603});
    g_pKeyboardManager->UpdateAcceleratorTable(keys.data(), static_cast<int>(keys.size()), this);
    g_pMouseManager->SetCommandForDblClick(kLogViewId, 57603);
    if (CPlxUserTool* tool = g_pUserToolsManager->CreateNewTool()) {
      tool->m_strLabel = "List";
      tool->SetCommand("ls");
    }
    m_wndLog.AddString("shortcut, double-click command and tool set");
  }

  afx_msg void OnLogDblClk() {
    if (const UINT cmd = g_pMouseManager->GetViewDblClickCommand(kLogViewId)) SendMessage(WM_COMMAND, cmd);
  }

  afx_msg void OnDemoKey(UINT cmd) {
    switch (cmd) {
      case kLargeIconsCmd:
        CPlxToolBar::SetLargeIcons(!CPlxToolBar::IsLargeIcons());
        RecalcLayout();
        break;
      case kTextLabelsCmd:
        m_wndMain.EnableTextLabels(!m_wndMain.AreTextLabels());
        break;
      case kNarrowCmd: {
        CRect rect;
        GetWindowRect(rect);
        MoveWindow(rect.left, rect.top, 440, rect.Height());
        break;
      }
      case kFloatCmd: {
        CRect rect;
        GetWindowRect(rect);
        m_wndLocked.m_nMRUWidth = 6 * m_wndLocked.GetColumnWidth();
        FloatControlBar(&m_wndLocked, CPoint(rect.left + 480, rect.top + 140));
        break;
      }
      default:
        DockControlBar(&m_wndLocked, AFX_IDW_DOCKBAR_TOP);
        break;
    }
    UpdateBars();
  }

  // Every command of the bars: logged with its tooltip text.
  afx_msg void OnBarCommand(UINT cmd) {
    if (cmd == kExposureCmd) m_bExposure = !m_bExposure;
    CString text;
    text.LoadString(cmd);
    if (int nl = text.Find('\n'); nl >= 0) text = text.Mid(nl + 1);
    const std::string line = "command " + std::to_string(cmd) + " " + std::string(text);
    Log(line);
    m_wndLog.AddString(line.c_str());
    CPlxToolBar::m_commandUsage.AddCmd(cmd);
    UpdateBars();
  }

  afx_msg void OnUpdateExposure(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bExposure); }
  afx_msg void OnUpdateRemove(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }

  afx_msg void OnClose() {
    Log("status " + std::string(m_wndStatus.GetPaneText(0)));
    LogLayout();
    LogManagers();
    for (CPlxToolBar* bar : {&m_wndMain, &m_wndLocked, &m_wndReBarBar})
      Log("save " + std::to_string(bar->GetDlgCtrlID()) + " " +
          (bar->SaveState(Profile()) ? "ok" : "failed"));
    PlxSaveRebarState(Profile(), this);
    // Toolbar parameters, use counts, shortcuts, double-click command and tools.
    Log(std::string("workspace ") + (g_app->SaveState() ? "ok" : "failed"));
    DestroyWindow();
  }
  void PostNcDestroy() override { PostQuitMessage(0); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDemoFrame, CPlxFrameWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_COMMAND_RANGE(kLargeIconsCmd, kDockCmd, OnDemoKey)
ON_COMMAND(kCustomizeCmd, OnCustomize)
ON_COMMAND(kManagersCmd, OnManagers)
ON_LBN_DBLCLK(AFX_IDW_PANE_FIRST, OnLogDblClk)
ON_COMMAND_RANGE(32700, 34000, OnBarCommand)
ON_COMMAND_RANGE(57600, 57603, OnBarCommand)
ON_UPDATE_COMMAND_UI(kExposureCmd, OnUpdateExposure)
ON_UPDATE_COMMAND_UI(kRemoveCmd, OnUpdateRemove)
END_MESSAGE_MAP()

}  // namespace

int main(int argc, char** argv) {
  std::string logPath;
  bool layout = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--log" && i + 1 < argc)
      logPath = argv[++i];
    else if (a == "--layout")
      layout = true;
    else if (a == "--resources" && i + 1 < argc)
      pictavo::res::SetResourceRoot(argv[++i]);
  }
  g_log.open(logPath, std::ios::trunc);
  if (!g_log) {
    std::fprintf(stderr, "usage: toolbar_demo --log FILE [--resources DIR] [--layout]\n");
    return 2;
  }
  if (!pictavo::display::Initialize()) return 1;
  CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
  PlxRegisterToolbarMessages();
  CPlxToolBar::m_bAltCustomization = TRUE;
  CDemoApp app;
  g_app = &app;
  auto* frame = new CDemoFrame;
  if (!frame->CreateDemo()) {
    std::fprintf(stderr, "toolbar_demo: the frame could not be made\n");
    return 1;
  }
  frame->ShowWindow(SW_SHOW);
  frame->RecalcLayout();
  frame->UpdateWindow();
  if (layout) {
    frame->LogLayout();
    frame->LogManagers();
    frame->DestroyWindow();
    return 0;
  }
  const int exitCode = pictavo::test::RunDemoLoop(frame->GetSafeHwnd());
  CPlxToolBar::CleanUpImages();
  CPlxVisualManager::DestroyInstance();
  return exitCode;
}
