// The customize demonstration frame: a toolkit MDI frame with a menu bar, two toolbars (Standard,
// and Pictures, which is locked and may not be hidden), a picture document whose template brings
// its own menu and accelerators, two context menus, two mouse views, a user-tools manager with
// macro menus, and a Customize command (F2) that opens the customize sheet. Chosen commands, run
// tools and double-clicks are logged; the workspace (bars, user bars, button images, shortcuts,
// menus, double-click commands, tools, options) is loaded at start and saved at the end. The
// end-to-end test drives it with the input script.
//
// Options: --log FILE, --resources DIR.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/Document.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/res/ResourceModule.h"
#include "platform/res/Resources.h"
#include "platform/user/Accel.h"
#include "tests/support/DemoScript.h"
#include "toolkit/bars/PlxContextMenuManager.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxMenuBar.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxButtonImages.h"
#include "toolkit/core/PlxKeyboardManager.h"
#include "toolkit/core/PlxMDIChildWnd.h"
#include "toolkit/core/PlxMDIFrameWnd.h"
#include "toolkit/core/PlxMouseManager.h"
#include "toolkit/core/PlxUserTools.h"
#include "toolkit/core/PlxWinXPVisualManager.h"
#include "toolkit/core/PlxWorkspace.h"
#include "toolkit/customize/PlxCustomizeSheet.h"

namespace {

constexpr UINT kFrameMenu = 16940, kPictureMenu = 16943, kPictureContext = 16945, kCaptionContext = 16946;
constexpr UINT kArgumentsMacros = 16947, kDirectoryMacros = 16948;
constexpr UINT kCustomizeCmd = 16942;
constexpr UINT kToolsDummy = 16950, kFirstTool = 16990, kLastTool = 16996;
constexpr int kPictureView = 16951, kCaptionView = 16952;       // the mouse views, named by these strings
constexpr UINT kStandardStrip = 64600, kPicturesStrip = 64601;  // the toolbar demonstration's strips
constexpr UINT kStandardBarId = 0xE820, kPicturesBarId = 0xE821;
constexpr UINT kFirstUserBar = 0xE830, kLastUserBar = 0xE837;

std::ofstream g_log;

void Log(const std::string& line) {
  g_log << line << '\n';
  g_log.flush();
}

// The user's button images live in one bitmap file in the home folder.
std::string UserImagesPath() {
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : ".") + "/customize-demo-images.bmp";
}

// A strip of one light grey 16 x 15 image, so that the store has a file to load and save.
void WriteBlankStrip(const std::string& path) {
  const int width = 16, height = 15, stride = 48;
  const int size = 54 + stride * height;
  std::vector<unsigned char> file(static_cast<size_t>(size), 0xC0);
  auto put32 = [&](int at, int value) {
    for (int i = 0; i < 4; ++i)
      file[static_cast<size_t>(at + i)] = static_cast<unsigned char>(value >> (8 * i));
  };
  std::fill(file.begin(), file.begin() + 54, 0);
  file[0] = 'B';
  file[1] = 'M';
  put32(2, size);
  put32(10, 54);
  put32(14, 40);
  put32(18, width);
  put32(22, height);
  file[26] = 1;
  file[28] = 24;
  put32(34, stride * height);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), size);
}

// The workspace keeps everything under "Software\PictavoCustomizeDemo".
class CDemoApp : public CPlxWorkspace {
 public:
  CDemoApp() {
    free(const_cast<LPTSTR>(m_pszAppName));
    m_pszAppName = strdup("Customize Demo");  // the message boxes' title
    SetRegistryKey("");  // the frame's dock state goes to the registry too, not to an ini file
    free(const_cast<LPTSTR>(m_pszProfileName));
    m_pszProfileName = strdup("PictavoCustomizeDemo");
  }
};
CDemoApp* g_app = nullptr;
CPlxButtonImages g_userImages;

class CPictureDoc : public CDocument {
  DECLARE_DYNCREATE(CPictureDoc)
};
IMPLEMENT_DYNCREATE(CPictureDoc, CDocument)

// The picture view: a double-click runs the command the mouse page chose for it.
class CPictureView : public CView {
  DECLARE_DYNCREATE(CPictureView)

 public:
  void OnDraw(CDC* pDC) override {
    if (CDocument* doc = GetDocument()) pDC->TextOut(6, 6, doc->GetTitle());
  }

 protected:
  afx_msg void OnLButtonDblClk(UINT, CPoint) {
    const UINT cmd = g_pMouseManager != nullptr ? g_pMouseManager->GetViewDblClickCommand(kPictureView) : 0;
    Log("double-click " + std::to_string(cmd));
    if (cmd != 0) AfxGetMainWnd()->SendMessage(WM_COMMAND, cmd);
  }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CPictureView, CView)
BEGIN_MESSAGE_MAP(CPictureView, CView)
ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

class CPictureChild : public CPlxMDIChildWnd {
  DECLARE_DYNCREATE(CPictureChild)
};
IMPLEMENT_DYNCREATE(CPictureChild, CPlxMDIChildWnd)

class CCustomizeDemoFrame : public CPlxMDIFrameWnd {
 public:
  BOOL CreateDemo() {
    g_app->m_pMainWnd = this;
    // The title is the menu resource's string: "Customize Demo".
    if (!LoadFrame(kFrameMenu, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | FWS_ADDTOTITLE)) return FALSE;
    // A first start has one tool, so that a new one has somewhere to move.
    if (g_pUserToolsManager->GetUserTools().IsEmpty())
      if (CPlxUserTool* tool = g_pUserToolsManager->CreateNewTool()) {
        tool->m_strLabel = "Notes";
        tool->SetCommand("true");
      }
    CRect rect(10, 10, 10 + 740, 10 + 480);
    int flags = 0, show = 0;
    g_app->LoadWindowPlacement(rect, flags, show);
    SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER);
    return TRUE;
  }

  // What the user can change, one line each: the bars, the shortcuts, the menus, the mouse, the
  // tools and the options. A second start must write the same lines.
  void LogState(const std::string& prefix) {
    for (CPlxToolBar* bar : Bars()) {
      CString name;
      bar->GetWindowText(name);
      std::string line = prefix + " bar " + std::string(name) + (bar->IsVisible() ? " shown" : " hidden");
      for (int i = 0; i < bar->GetCount(); ++i) {
        CPlxToolbarButton* b = bar->GetButton(i);
        if (static_cast<void*>(b) == static_cast<void*>(bar->GetCustomizeButton())) continue;
        line += " " + std::to_string(static_cast<int>(b->m_nID));
        if (b->m_bUserImage && b->GetImage() >= 0) line += "u" + std::to_string(b->GetImage());
        if (b->m_bText && !b->m_bImage) line += "t";
      }
      Log(line);
    }
    CString key;
    CPlxKeyboardManager::FindDefaultAccelerator(57634, key, this, TRUE);
    Log(prefix + " copy key " + std::string(key));
    Log(prefix + " frame keys " + std::to_string(CopyAcceleratorTable(m_hAccelTable, nullptr, 0)));
    if (m_pPictures != nullptr && m_pPictures->m_hAccelTable != nullptr)
      Log(prefix + " picture keys " +
          std::to_string(CopyAcceleratorTable(m_pPictures->m_hAccelTable, nullptr, 0)));
    std::string menu = prefix + " menu";
    for (int i = 0; i < m_wndMenuBar.GetCount(); ++i) {
      CPlxToolbarButton* b = m_wndMenuBar.GetButton(i);
      if (!(b->m_nStyle & TBBS_SEPARATOR)) menu += " " + std::string(b->m_strText);
    }
    Log(menu);
    for (UINT id : {kPictureContext, kCaptionContext}) {
      std::string line = prefix + " context " + std::to_string(id);
      UINT orig = 0;
      CString name;
      name.LoadString(id);
      HMENU popup = g_pContextMenuManager->GetMenuByName(name, &orig);
      if (popup != nullptr && ::GetSubMenu(popup, 0) != nullptr) popup = ::GetSubMenu(popup, 0);
      if (popup != nullptr)
        for (int i = 0; i < ::GetMenuItemCount(popup); ++i)
          line += " " + std::to_string(static_cast<int>(::GetMenuItemID(popup, i)));
      Log(line);
    }
    Log(prefix + " dblclick " + std::to_string(g_pMouseManager->GetViewDblClickCommand(kPictureView)));
    Log(prefix + " large " + std::to_string(CPlxToolBar::IsLargeIcons() ? 1 : 0));
    const CObList& tools = g_pUserToolsManager->GetUserTools();
    for (POSITION pos = tools.GetHeadPosition(); pos != nullptr;) {
      auto* tool = static_cast<CPlxUserTool*>(tools.GetNext(pos));
      Log(prefix + " tool " + std::string(tool->m_strLabel) + " | " + std::string(tool->GetCommand()) +
          " | " + std::string(tool->m_strArguments) + " | " + std::string(tool->m_strInitialDirectory));
    }
  }

  BOOL OnShowPopupMenu(CPlxPopupMenu* pMenu) override {
    // A title the input script finds the newest popup by.
    if (pMenu != nullptr && pMenu->GetSafeHwnd() != nullptr) pMenu->SetWindowText("Demo menu");
    return CPlxMDIFrameWnd::OnShowPopupMenu(pMenu);
  }

  CPlxMenuBar m_wndMenuBar;
  CPlxToolBar m_wndStandard, m_wndPictures;
  CMultiDocTemplate* m_pPictures = nullptr;

 protected:
  std::vector<CPlxToolBar*> Bars() {
    std::vector<CPlxToolBar*> bars{&m_wndStandard, &m_wndPictures};
    for (UINT id = kFirstUserBar; id <= kLastUserBar; ++id)
      if (auto* bar = dynamic_cast<CPlxToolBar*>(GetControlBar(id))) bars.push_back(bar);
    return bars;
  }

  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    if (CPlxMDIFrameWnd::OnCreate(cs) == -1) return -1;
    // The managers before the bars, as a workspace application makes them; the workspace loads
    // their state once the frame is made.
    new CPlxKeyboardManager;
    new CPlxMouseManager;
    g_app->InitContextMenuManager();
    new CPlxUserToolsManager(kToolsDummy, kFirstTool, kLastTool, nullptr, kArgumentsMacros, kDirectoryMacros);
    g_app->m_bKeyboardManagerAutocreated = g_app->m_bMouseManagerAutocreated =
        g_app->m_bUserToolsManagerAutoCreated = TRUE;
    for (int view : {kPictureView, kCaptionView}) {
      CString name;
      name.LoadString(static_cast<UINT>(view));
      g_pMouseManager->AddView(view, name);
    }
    g_pContextMenuManager->AddMenu(kPictureContext, kPictureContext);
    g_pContextMenuManager->AddMenu(kCaptionContext, kCaptionContext);
    m_Impl.EnableUserDefinedToolbars(kFirstUserBar, kLastUserBar);

    // The user's button images: a file in the home folder, made on the first start.
    const std::string images = UserImagesPath();
    if (FILE* f = std::fopen(images.c_str(), "rb"))
      std::fclose(f);
    else
      WriteBlankStrip(images);
    g_userImages.SetImageSize(CSize(16, 15));
    if (g_userImages.LoadFromFile(images.c_str())) CPlxToolBar::SetUserImages(&g_userImages);

    EnableDocking(CBRS_ALIGN_ANY);
    if (!m_wndMenuBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC)) return -1;
    if (m_wndMenuBar.GetMenu() == nullptr) m_wndMenuBar.CreateFromMenu(m_hMenuDefault, TRUE);
    ::SetMenu(m_hWnd, nullptr);
    m_wndMenuBar.SetDefaultMenuResId(kFrameMenu);
    const DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC | CBRS_TOOLTIPS;
    if (!m_wndStandard.Create(this, style, kStandardBarId) || !m_wndStandard.LoadToolBar(kStandardStrip))
      return -1;
    if (!m_wndPictures.Create(this, style, kPicturesBarId) ||
        !m_wndPictures.LoadToolBar(kPicturesStrip, 0, 0, TRUE))
      return -1;
    m_wndStandard.SetWindowText("Standard");
    m_wndPictures.SetWindowText("Pictures");
    m_wndPictures.m_bPermanent = TRUE;  // the locked bar may not be hidden either
    // Buttons that find no room (large icons in a narrow frame) wait behind each bar's chevron.
    for (CPlxToolBar* bar : {&m_wndStandard, &m_wndPictures})
      bar->EnableCustomizeButton(TRUE, kCustomizeCmd, "Customize...");
    for (CPlxToolBar* bar : {static_cast<CPlxToolBar*>(&m_wndMenuBar), &m_wndStandard, &m_wndPictures})
      bar->EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndMenuBar, AFX_IDW_DOCKBAR_TOP);
    DockControlBar(&m_wndStandard, AFX_IDW_DOCKBAR_TOP);
    RecalcLayout();
    CRect right;
    m_wndStandard.GetWindowRect(right);
    right.OffsetRect(right.Width() + 4, 0);
    DockControlBar(&m_wndPictures, AFX_IDW_DOCKBAR_TOP, right);

    m_pPictures = new CMultiDocTemplate(kPictureMenu, RUNTIME_CLASS(CPictureDoc),
                                        RUNTIME_CLASS(CPictureChild), RUNTIME_CLASS(CPictureView));
    g_app->AddDocTemplate(m_pPictures);
    return 0;
  }

  void OpenCustomize() {
    auto* sheet = new CPlxToolbarCustomize(this, TRUE, CUSTOPT_MENU_ANIMATION);
    sheet->EnableUserDefinedToolbars();
    if (!sheet->ShowModeless()) {
      delete sheet;
      Log("customize refused");
      return;
    }
    // Beside the frame, where it hides none of the bars it edits.
    CRect frame;
    GetWindowRect(frame);
    sheet->SetWindowPos(nullptr, frame.right + 10, frame.top + 30, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
    Log("customize open");
  }

  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    const UINT id = LOWORD(wParam);
    if (id == kCustomizeCmd) {
      OpenCustomize();
      return TRUE;
    }
    if (id == 57600) {
      CDocument* doc = m_pPictures->OpenDocumentFile(nullptr);
      Log(std::string("opened ") + (doc != nullptr ? static_cast<LPCTSTR>(doc->GetTitle()) : "nothing"));
      return TRUE;
    }
    if (g_pUserToolsManager != nullptr && g_pUserToolsManager->IsUserToolCmd(id)) {
      CPlxUserTool* tool = g_pUserToolsManager->FindTool(id);
      Log("tool " + std::string(tool != nullptr ? static_cast<LPCTSTR>(tool->m_strLabel) : "none"));
      return CPlxMDIFrameWnd::OnCommand(wParam, lParam);
    }
    if (id == 57634 || id == 57635 || id == 57637 || id == 57601 || id == 16941 || id == 16944 ||
        (id >= 32700 && id < 34000) || id == 57603) {
      Log("command " + std::to_string(id));
      return TRUE;
    }
    return CPlxMDIFrameWnd::OnCommand(wParam, lParam);
  }

  // Customize mode ends when the sheet closes: the log says what the sheet left.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != 0 && message == PLX_WM_CUSTOMIZETOOLBAR && wParam == FALSE) Log("customize closed");
    return CPlxMDIFrameWnd::WindowProc(message, wParam, lParam);
  }

  afx_msg void OnClose() {
    if (g_pActiveCustomizeSheet != nullptr) g_pActiveCustomizeSheet->DestroyWindow();
    while (CMDIChildWnd* child = MDIGetActive()) child->MDIDestroy();
    LogState("end");
    Log(std::string("images ") + (g_userImages.Save() ? "ok" : "failed"));
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(&placement);
    g_app->StoreWindowPlacement(placement.rcNormalPosition, placement.flags, placement.showCmd);
    // The frame's bars, the user's bars, shortcuts, menus, mouse, tools and options.
    Log(std::string("workspace ") + (g_app->SaveState(nullptr, &m_Impl) ? "ok" : "failed"));
    g_app->EnableSaving(FALSE);  // already saved, once
    CPlxMDIFrameWnd::OnClose();
  }
  void PostNcDestroy() override {
    Log("closed");
    PostQuitMessage(0);
    CPlxMDIFrameWnd::PostNcDestroy();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCustomizeDemoFrame, CPlxMDIFrameWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
END_MESSAGE_MAP()

// What the user would have heard: the headless desktop counts the beeps; each new one is logged
// with the control that had the keyboard focus.
void LogNewBeeps() {
  static int heard = 0;
  pictavo::display::HeadlessDisplay* headless = pictavo::display::Headless();
  if (headless == nullptr) return;
  for (const int now = headless->Beeps(); heard < now; ++heard) {
    const HWND focus = ::GetFocus();
    Log("beep at " + std::to_string(focus != nullptr ? ::GetDlgCtrlID(focus) : 0));
  }
}

// The demonstration loop of the other demos, listening for beeps between messages.
int RunLoop(HWND window) {
  if (!pictavo::test::StartDemoScript(window)) return pictavo::display::kScriptFailedExitCode;
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0)) {
    if (!CWnd::WalkPreTranslateTree(::IsWindow(window) ? window : nullptr, &msg)) {
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
    LogNewBeeps();
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string logPath;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--log" && i + 1 < argc)
      logPath = argv[++i];
    else if (a == "--resources" && i + 1 < argc)
      pictavo::res::SetResourceRoot(argv[++i]);
  }
  g_log.open(logPath, std::ios::trunc);
  if (!g_log) {
    std::fprintf(stderr, "usage: customize_demo --log FILE [--resources DIR]\n");
    return 2;
  }
  if (!pictavo::display::Initialize()) return 1;
  CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
  PlxRegisterToolbarMessages();
  CDemoApp app;
  g_app = &app;
  auto* frame = new CCustomizeDemoFrame;
  if (!frame->CreateDemo()) {
    std::fprintf(stderr, "customize_demo: the frame could not be made\n");
    return 1;
  }
  frame->ShowWindow(SW_SHOW);
  frame->RecalcLayout();
  frame->UpdateWindow();
  frame->LogState("start");
  const int exitCode = RunLoop(frame->GetSafeHwnd());
  CPlxToolBar::CleanUpImages();
  CPlxVisualManager::DestroyInstance();
  return exitCode;
}
