// The encoding dialog driven as a user drives it, with the input script on the headless display,
// while the real ffmpeg writes the project.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "modules/data/ProjectOptions.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/display/ScriptPlayer.h"
#include "platform/media/ExitWindows.h"
#include "platform/mfc/WinApp.h"
#include "platform/res/ResourceModule.h"
#include "tests/render/VideoOutputFixture.h"
#include "tests/support/ThreadWindows.h"

namespace {

using rendertest::VideoOutputTest;

constexpr char kTitle[] = "Encoding Photo Album";
constexpr char kBoxTitle[] = "Encode Test";

// Counts the output page's requests to open the output folder.
int g_openFolderRequests = 0;
LRESULT CALLBACK PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_OPEN_OUTPUT_FOLDER) ++g_openFolderRequests;
  return DefWindowProc(hwnd, message, wParam, lParam);
}

// The dialog, with what its controls showed when the run ended.
class ObservedDlg : public CEncodeVideoDlg {
 public:
  std::map<int, std::string> shown;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_VIDEO_ENCODE_FINISHED && shown.empty())
      for (int id : {IDC_ENCODE_TOTAL_ALBUMS, IDC_ENCODE_TOTAL_IMAGES, IDC_ENCODE_TOTAL_TIME,
                     IDC_ENCODE_FILE_SIZE, IDC_ENCODE_MESSAGE, IDC_ENCODE_DETAILED_PROGRESS}) {
        char text[256] = {};
        ::GetDlgItemText(m_hWnd, id, text, sizeof text);
        shown[id] = text;
      }
    return CEncodeVideoDlg::WindowProc(message, wParam, lParam);
  }
};

class EncodeVideoDlgTest : public VideoOutputTest {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(pictavo::display::Initialize());
    InitCommonControls();
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    CWinApp* app = AfxGetApp();
    ASSERT_NE(app, nullptr);
    if (app->m_pszAppName == nullptr) app->m_pszAppName = strdup(kBoxTitle);
  }

  void SetUp() override {
    g_openFolderRequests = 0;
    WNDCLASS wc{};
    wc.lpfnWndProc = PageProc;
    wc.lpszClassName = "EncodeTestPage";
    if (!GetClassInfo(nullptr, wc.lpszClassName, &wc)) RegisterClass(&wc);
    m_page = CreateWindowEx(0, wc.lpszClassName, "Output", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600,
                            nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(m_page, nullptr);
  }

  void TearDown() override {
    pictavo::display::StopScript();
    pictavo::media::SetSessionCommandRunner(nullptr);
    DestroyWindow(m_page);
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  }

  // Plays `script`, then waits for the dialog to go. A script that cannot go on ends every
  // dialog of this thread and leaves its reason in m_scriptFailure.
  // `script` starts once the dialog is shown, unless `atOnce` (a run that fails at once may show
  // its message before the dialog has been shown).
  void Script(const std::string& script, bool atOnce = false) {
    pictavo::display::StopScript();  // the last one may still wait for its dialog to go
    std::vector<pictavo::display::ScriptStep> steps;
    pictavo::display::ScriptError error;
    const std::string first = atOnce ? "" : std::string("wait-window \"") + kTitle + "\" 60\n";
    const std::string full = first + script + "\nwait-gone \"" + kTitle + "\" 120\n";
    ASSERT_TRUE(pictavo::display::ParseScript(full, &steps, &error)) << error.message;
    pictavo::display::ScriptOptions options;
    options.name = "encode-test";
    options.onFailure = [this](const std::string& message) {
      m_scriptFailure = message;
      pictavo::test::EndThreadDialogs(IDABORT);
    };
    ASSERT_TRUE(pictavo::display::PlayScript(std::move(steps), std::move(options)));
  }

  INT_PTR RunDialog(ObservedDlg& dlg) {
    dlg.m_pOwnerPage = CWnd::FromHandle(m_page);
    m_scriptFailure.clear();
    const INT_PTR result = dlg.DoModal();
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
    EXPECT_EQ(m_scriptFailure, "");
    return result;
  }

  void MakeShortAlbum() {
    CDVDAlbumImage* album = rendertest::AddPhotoAlbum(*GetProject(), "Summer");
    rendertest::AddSlide(*album, Photo("one.jpg", 640, 480, RGB(200, 40, 0)), 1, 1, "Fade[TransitionLib]");
    rendertest::AddSlide(*album, Photo("two.jpg", 360, 640, RGB(0, 90, 200)), 1, 1, "Fade[TransitionLib]");
  }

  HWND m_page = nullptr;
  std::string m_scriptFailure;
};

TEST_F(EncodeVideoDlgTest, ARunShowsItsTotalsSaysItSucceededAndOpensTheOutputFolder) {
  MakeShortAlbum();
  ObservedDlg dlg;
  Script(std::string("wait-window \"") + kBoxTitle + "\" 120\nkey Enter");
  EXPECT_EQ(RunDialog(dlg), IDOK) << m_scriptFailure;
  EXPECT_EQ(g_openFolderRequests, 1);
  EXPECT_EQ(OutputFiles().size(), 1u);
  EXPECT_EQ(dlg.shown[IDC_ENCODE_TOTAL_ALBUMS], "1");
  EXPECT_EQ(dlg.shown[IDC_ENCODE_TOTAL_IMAGES], "2");
  const int seconds = GetProject()->GetTotalFrames() / 25;
  ASSERT_GT(seconds, 0);
  EXPECT_EQ(dlg.shown[IDC_ENCODE_TOTAL_TIME], " 0m:0" + std::to_string(seconds) + "s");
  EXPECT_EQ(dlg.shown[IDC_ENCODE_MESSAGE], "Encoding album no. 1 ...");
  EXPECT_NE(dlg.shown[IDC_ENCODE_FILE_SIZE].find(" KB"), std::string::npos)
      << dlg.shown[IDC_ENCODE_FILE_SIZE];
  EXPECT_NE(dlg.shown[IDC_ENCODE_DETAILED_PROGRESS].find('%'), std::string::npos);
}

TEST_F(EncodeVideoDlgTest, AnsweringNoLeavesTheRunGoingAndYesStopsItLeavingNoFile) {
  MakeLongAlbum("Long");
  {
    ObservedDlg dlg;
    // No: the run goes on to its end.
    Script(std::string("click 2\nwait-window \"") + kBoxTitle + "\"\nclick 7\nwait-window \"" + kBoxTitle +
           "\" 120\nkey Enter");
    EXPECT_EQ(RunDialog(dlg), IDOK) << m_scriptFailure;
    EXPECT_EQ(OutputFiles().size(), 1u);
  }
  std::filesystem::remove_all(m_dir / "out");
  MakeLongAlbum("Longer");  // so that the run is still going when the answer comes
  {
    ObservedDlg dlg;
    Script(std::string("click 2\nwait-window \"") + kBoxTitle + "\"\nclick 6");
    EXPECT_EQ(RunDialog(dlg), IDCANCEL) << m_scriptFailure;
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{});
    EXPECT_EQ(g_openFolderRequests, 1);  // only the first run's
    EXPECT_EQ(WaitForSingleObject(dlg.GetWorkerThread(), rendertest::kGuardMs), WAIT_OBJECT_0);
  }
}

TEST_F(EncodeVideoDlgTest, AFailedRunSaysWhatFailed) {
  MakeShortAlbum();
  rendertest::WriteWholeFile(m_dir / "a-file", "x");
  m_manager->Set_strOutputPath((m_dir / "a-file/out").c_str());
  ObservedDlg dlg;
  Script(std::string("wait-window \"") + kBoxTitle + "\"\nkey Enter", true);
  EXPECT_EQ(RunDialog(dlg), IDCANCEL) << m_scriptFailure;
  EXPECT_NE(std::string(dlg.GetLastFailure()).find("cannot be made"), std::string::npos);
  EXPECT_EQ(g_openFolderRequests, 0);
}

TEST_F(EncodeVideoDlgTest, ShutDownWhenDoneAsksTheSessionInsteadOfTheMessage) {
  const struct {
    const char* name;
    pictavo::media::SessionCommandOutcome outcome;
    const char* afterwards;  // the script once the session was asked
    INT_PTR result;
    int openFolderRequests;
  } cases[] = {
      // The dialog stays up while the session ends; here the test closes it.
      {"accepted", pictavo::media::SessionCommandOutcome::kAccepted,
       "key Escape\nwait-window \"Encode Test\"\nclick 6", IDCANCEL, 0},
      // A session that refuses: the run ends as without the option.
      {"refused", pictavo::media::SessionCommandOutcome::kRefused, "wait-window \"Encode Test\"\nkey Enter",
       IDOK, 1},
  };
  MakeShortAlbum();
  GetProject()->GetOptionsData()->bShutdownWhenDone = 1;
  const std::string asked = m_dir / "session-asked";
  for (const auto& c : cases) {
    g_openFolderRequests = 0;
    std::filesystem::remove(asked);
    int requests = 0;
    pictavo::media::SetSessionCommandRunner([&](const std::vector<std::string>&) {
      if (requests++ == 0) rendertest::WriteWholeFile(asked, "x");
      return c.outcome;
    });
    ObservedDlg dlg;
    Script("wait-file \"" + asked + "\" 120\n" + c.afterwards);
    EXPECT_EQ(RunDialog(dlg), c.result) << c.name << ": " << m_scriptFailure;
    EXPECT_GE(requests, 1) << c.name;
    EXPECT_EQ(g_openFolderRequests, c.openFolderRequests) << c.name;
    EXPECT_EQ(OutputFiles().size(), 1u) << c.name;
    std::filesystem::remove_all(m_dir / "out");
  }
}

}  // namespace
