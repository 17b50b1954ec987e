// The popup menu demonstration program: a toolkit frame whose first bar holds four menu items
// (File with a sub-menu, Edit with a column break and a default item, Tools whose rare commands
// hide behind the show-all item, and Long with 60 items that scroll). Chosen commands are logged.
// The end-to-end test drives it with the input script; --layout writes where the items lie.
//
// Options: --log FILE, --resources DIR, --usage FILE (lines "command count": use counts the menus
// read), --animation N (0 none, 1 unfold, 2 slide, 3 fade).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/display/Display.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Menu.h"
#include "tests/support/DemoScript.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

namespace {

constexpr UINT kMenuBarId = 1001;
std::ofstream g_log;

void Log(const std::string& line) {
  g_log << line << '\n';
  g_log.flush();
}

HMENU FileMenu() {
  HMENU recent = ::CreatePopupMenu();
  ::AppendMenu(recent, MF_STRING, 40101, "&Holiday.r7m");
  ::AppendMenu(recent, MF_STRING, 40102, "&Birthday.r7m");
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenu(menu, MF_STRING, 40001, "&New\tCtrl+N");
  ::AppendMenu(menu, MF_STRING, 40002, "&Open...\tCtrl+O");
  ::AppendMenu(menu, MF_STRING | MF_GRAYED, 40003, "&Save");
  ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenu(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(recent), "&Recent projects");
  ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenu(menu, MF_STRING, 40004, "E&xit");
  return menu;
}

HMENU EditMenu() {
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenu(menu, MF_STRING, 40201, "&Undo\tCtrl+Z");
  ::AppendMenu(menu, MF_STRING, 40202, "Cu&t\tCtrl+X");
  ::AppendMenu(menu, MF_STRING, 40203, "&Copy\tCtrl+C");
  ::AppendMenu(menu, MF_STRING, 40204, "&Paste\tCtrl+V");
  ::AppendMenu(menu, MF_STRING | MF_MENUBREAK, 40205, "Select &all");
  ::AppendMenu(menu, MF_STRING, 40206, "&Find...");
  ::SetMenuDefaultItem(menu, 40205, FALSE);
  return menu;
}

HMENU ToolsMenu() {
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenu(menu, MF_STRING, 40301, "&Options...");
  ::AppendMenu(menu, MF_STRING, 40302, "&Rotate photos");
  ::AppendMenu(menu, MF_STRING, 40303, "Re&name photos");
  ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenu(menu, MF_STRING, 40304, "&Export settings");
  ::AppendMenu(menu, MF_STRING, 40305, "&Import settings");
  return menu;
}

HMENU LongMenu() {
  HMENU menu = ::CreatePopupMenu();
  for (int i = 0; i < 60; ++i) {
    CPlxToolBar::AddBasicCommand(40400 + i);  // the slides are always listed
    char text[32];
    std::snprintf(text, sizeof text, "Slide %02d", i + 1);
    ::AppendMenu(menu, MF_STRING, 40400 + i, text);
  }
  return menu;
}

class CMenuDemoFrame : public CPlxFrameWnd {
 public:
  BOOL CreateDemo() {
    return Create(nullptr, "Menu Demo", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                  CRect(20, 20, 20 + 520, 20 + 420));
  }

  void LogLayout() {
    for (int i = 0; i < m_wndMenu.GetCount(); ++i) {
      const CRect& r = m_wndMenu.GetButton(i)->m_rect;
      Log("item " + std::to_string(i) + " " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
          std::to_string(r.right) + " " + std::to_string(r.bottom));
    }
  }

  BOOL PreTranslateMessage(MSG* pMsg) override {
    // The frame hands the keys to the open popup menu, which never takes the focus.
    CPlxPopupMenu* popup = CPlxPopupMenu::GetActiveMenu();
    if (pMsg->message == WM_KEYDOWN && popup != nullptr && popup->GetSafeHwnd() != nullptr) {
      popup->SendMessage(WM_KEYDOWN, pMsg->wParam, pMsg->lParam);
      return TRUE;
    }
    return CPlxFrameWnd::PreTranslateMessage(pMsg);
  }

  BOOL OnShowPopupMenu(CPlxPopupMenu* pMenu) override {
    if (pMenu != nullptr) Log("popup " + std::to_string(pMenu->GetMenuItemCount()) + " items");
    return CPlxFrameWnd::OnShowPopupMenu(pMenu);
  }

  void OnClosePopupMenu(CPlxPopupMenu* pMenu) override {
    // As a menu bar does: a closed menu forgets that it was expanded.
    if (pMenu != nullptr && pMenu->GetParentPopupMenu() == nullptr) CPlxMenuBar::m_bShowAllCommands = FALSE;
    CPlxFrameWnd::OnClosePopupMenu(pMenu);
  }

  CPlxToolBar m_wndMenu;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    if (CFrameWnd::OnCreate(cs) == -1) return -1;
    EnableDocking(CBRS_ALIGN_ANY);
    if (!m_wndMenu.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC, kMenuBarId)) return -1;
    m_wndMenu.SetBorders(9, 2, 2, 2);
    struct Top {
      HMENU menu;
      const char* text;
    } const tops[] = {
        {FileMenu(), "&File"}, {EditMenu(), "&Edit"}, {ToolsMenu(), "&Tools"}, {LongMenu(), "&Long"}};
    for (const Top& t : tops) {
      CPlxToolbarMenuButton item(0, t.menu, -1, t.text);
      item.m_bText = TRUE;
      item.m_bImage = FALSE;
      m_wndMenu.InsertButton(item);
      ::DestroyMenu(t.menu);
    }
    m_wndMenu.SetWindowText("Menu");
    DockControlBar(&m_wndMenu, AFX_IDW_DOCKBAR_TOP);
    return 0;
  }

  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    const UINT id = LOWORD(wParam);
    if (id >= 40001 && id < 40500) {
      Log("command " + std::to_string(id));
      return TRUE;
    }
    return CPlxFrameWnd::OnCommand(wParam, lParam);
  }

  afx_msg void OnClose() {
    Log("closed");
    DestroyWindow();
  }
  void PostNcDestroy() override { PostQuitMessage(0); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMenuDemoFrame, CPlxFrameWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
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
    else if (a == "--usage" && i + 1 < argc)
      LoadUsage(argv[++i]);
    else if (a == "--animation" && i + 1 < argc)
      CPlxPopupMenu::m_AnimationType = std::atoi(argv[++i]);
  }
  g_log.open(logPath, std::ios::trunc);
  if (!g_log) {
    std::fprintf(stderr, "usage: menu_demo --log FILE [--resources DIR] [--usage FILE] [--animation N]\n");
    return 2;
  }
  if (!pictavo::display::Initialize()) return 1;
  CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
  PlxRegisterToolbarMessages();
  CWinApp app("PictavoMenuDemo");
  auto* frame = new CMenuDemoFrame;
  if (!frame->CreateDemo()) {
    std::fprintf(stderr, "menu_demo: the frame could not be made\n");
    return 1;
  }
  app.m_pMainWnd = frame;
  frame->ShowWindow(SW_SHOW);
  frame->RecalcLayout();
  frame->UpdateWindow();
  if (layout) {
    frame->LogLayout();
    frame->DestroyWindow();
    return 0;
  }
  const HWND hwnd = frame->GetSafeHwnd();
  if (!pictavo::test::StartDemoScript(hwnd)) return pictavo::display::kScriptFailedExitCode;
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0)) {
    if (!CWnd::WalkPreTranslateTree(::IsWindow(hwnd) ? hwnd : nullptr, &msg)) {
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
  }
  CPlxToolBar::CleanUpImages();
  CPlxVisualManager::DestroyInstance();
  return 0;
}
