// The disc-menu preview as the disc-menu page hosts it: a window holding the preview window in
// menu mode over a project's disc menu, with the keys of a player's remote control: Left and Up
// move the focus back, Right and Down forward, Enter activates it (or starts the menu again once
// it has ended). At the end of an album the menu comes back. The program's log lines and the
// window's own go to the log file; the window closes after the input script (PICTAVO_SCRIPT).
//
// With --ready DIR it writes DIR/menu-shown once the menu has drawn its first frames and
// DIR/titles-shown once an album's titles are past their fade-in, for the script's wait-file.
//
//   menu_preview_demo --project FILE.r7m --log FILE [--ready DIR]
#include <atomic>
#include <cstdio>
#include <fstream>
#include <string>

#include "disc/pages/MenuTemplates.h"
#include "modules/data/DVDAlbumBase.h"
#include "modules/data/DVDProject.h"
#include "modules/log/Log.h"
#include "platform/display/Display.h"
#include "platform/display/ScriptPlayer.h"
#include "platform/kernel/Path.h"
#include "platform/mfc/Afx.h"
#include "render/AlbumPreviewDlg.h"
#include "render/PreviewMessages.h"
#include "shell/TransitionList.h"
#include "tests/support/DemoLoop.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr UINT_PTR kReadyTimer = 1;

std::string g_ready;  // the folder of the marker files, or empty
std::atomic<bool> g_titlesShown{false};

void Mark(const char* name) {
  if (!g_ready.empty()) std::ofstream(g_ready + "/" + name) << "1\n";
}

// What the menu shows of the project: its albums by name.
pictavo::menu::MenuContent ContentOf(CDVDProject& project) {
  pictavo::menu::MenuContent content;
  for (int i = 0; i < project.GetAlbumCount(); ++i)
    content.albums.push_back({std::string(project.GetAlbum(i)->Get_strAlbumName()), std::nullopt});
  return content;
}

class CMenuDemoWnd : public CWnd {
 public:
  BOOL CreateDemo() {
    const CString cls = AfxRegisterWndClass(0, LoadCursor(nullptr, IDC_ARROW),
                                            static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return CreateEx(0, cls, "Disc Menu Preview", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                    CRect(60, 40, 60 + kWidth, 40 + kHeight), nullptr, 0);
  }
  AlbumPreviewDlg m_preview{TRUE};

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;
    if (!m_preview.Create(IDD_ALBUM_PREVIEW, this)) return -1;
    CRect client;
    GetClientRect(&client);
    m_preview.MoveWindow(&client);
    m_preview.ShowWindow(SW_SHOW);
    m_preview.SetFrameObserver([](const PreviewFrameNote& note) {
      // Frame 30 of the titles: 1.5 s in, past their fade-in.
      if (note.stage == PreviewFrameNote::kTitle && note.slide >= 30 && !g_titlesShown.exchange(true))
        Mark("titles-shown");
    });
    SetTimer(kReadyTimer, 50, nullptr);
    return 0;
  }
  afx_msg void OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kReadyTimer && m_preview.GetMenuFramesDrawn() >= 3) {
      KillTimer(kReadyTimer);
      Mark("menu-shown");
    }
  }
  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message == WM_KEYDOWN) {
      switch (pMsg->wParam) {
        case VK_LEFT:
        case VK_UP:
          if (m_preview.IsMenuPlaying()) m_preview.MenuFocusPrev();
          WriteLog("Demo: focus %d", m_preview.GetMenuFocus());
          return TRUE;
        case VK_RIGHT:
        case VK_DOWN:
          if (m_preview.IsMenuPlaying()) m_preview.MenuFocusNext();
          WriteLog("Demo: focus %d", m_preview.GetMenuFocus());
          return TRUE;
        case VK_RETURN:
          WriteLog("Demo: enter on focus %d", m_preview.GetMenuFocus());
          m_preview.MenuEnter();
          return TRUE;
        default:
          break;
      }
    }
    return CWnd::PreTranslateMessage(pMsg);
  }
  afx_msg LRESULT OnPreviewEnded(WPARAM wParam, LPARAM) {
    WriteLog("Demo: preview ended (%d)", static_cast<int>(wParam));
    // "Back to menu" after an album.
    if (wParam == PREVIEW_ENDED_NATURAL) m_preview.StartMenuPreview();
    return 0;
  }
  afx_msg LRESULT OnPreviewStarting(WPARAM, LPARAM) {
    WriteLog("Demo: preview starting");
    return 0;
  }
  afx_msg void OnClose() {
    m_preview.Stop();
    DestroyWindow();
  }
  void PostNcDestroy() override { PostQuitMessage(0); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMenuDemoWnd, CWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_TIMER()
ON_MESSAGE(WM_PREVIEW_ENDED, OnPreviewEnded)
ON_MESSAGE(WM_PREVIEW_STARTING, OnPreviewStarting)
END_MESSAGE_MAP()

}  // namespace

int main(int argc, char** argv) {
  std::string projectPath, logPath;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    if (a == "--project") projectPath = argv[i + 1];
    if (a == "--log") logPath = argv[i + 1];
    if (a == "--ready") g_ready = argv[i + 1];
  }
  if (projectPath.empty() || logPath.empty() || !OpenLogFile(logPath.c_str())) {
    std::fprintf(stderr, "usage: menu_preview_demo --project FILE.r7m --log FILE\n");
    return 2;
  }
  if (!pictavo::display::Initialize()) return 1;
  CDVDProject* project = GetProject();
  const std::string folder(CDVDProject::GetExeFilePath().View());
  LoadBuiltInTransitions(folder.c_str());
  int missing = 0;
  CStringArray missingFiles;
  if (!project->OpenFromFile(projectPath.c_str(), missing, missingFiles, 0, -1)) {
    std::fprintf(stderr, "menu_preview_demo: %s cannot be opened\n", projectPath.c_str());
    return 1;
  }
  // The project's menu template from the program's template folder, as the disc-menu page loads it.
  CString name = project->GetMenuTemplateName();
  if (name.IsEmpty()) name = kDefaultMenuTemplateName;
  const std::string templates = pictavo::path::Join(folder, "template");
  g_dvdMenu.SetBasePath((templates + "/").c_str());
  if (!g_dvdMenu.SetTemplateXMLFile(
          pictavo::path::ResolveNoCase(pictavo::path::Join(templates, name.View())).c_str())) {
    std::fprintf(stderr, "menu_preview_demo: %s\n", g_dvdMenu.GetTemplateError().GetString());
    return 1;
  }
  g_dvdMenu.SetMenuContent(ContentOf(*project));
  g_dvdMenu.SetStatus(0);
  if (!g_dvdMenu.ParseMenu(0)) return 1;
  WriteLog("Demo: menu \"%s\" with %d albums", name.GetString(), project->GetAlbumCount());

  CMenuDemoWnd window;
  if (!window.CreateDemo()) return 1;
  window.ShowWindow(SW_SHOW);
  window.UpdateWindow();
  window.SetFocus();
  window.m_preview.StartMenuPreview();
  const int exitCode = pictavo::test::RunDemoLoop(window.GetSafeHwnd());
  pictavo::log::Flush();
  return exitCode;
}
