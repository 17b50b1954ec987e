// The application object: profile settings and the recent-file list in the registry (or an ini
// file), the command line, message boxes and the wait cursor.
#include <stdlib.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "MfcTestSupport.h"
#include "platform/base/ErrorCodes.h"
#include "platform/kernel/Registry.h"
#include "platform/registry/Hive.h"
#include "tests/support/ScratchDir.h"

using namespace testing_mfc;

namespace {

using pictavo::test::ReadWholeFile;

class WinAppTest : public MfcTest {
 protected:
  // One configuration folder for the suite: the registry's files live there.
  static void SetUpTestSuite() {
    MfcTest::SetUpTestSuite();
    static std::string folder = [] {
      char pattern[] = "/tmp/pictavo-winapp-XXXXXX";
      return std::string(mkdtemp(pattern));
    }();
    s_folder = folder;
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
  }
  static std::string RegistryFile() {
    pictavo::registry::FlushAllHives();
    return ReadWholeFile(s_folder + "/pictavo/current_user.reg");
  }
  static std::string s_folder;
};
std::string WinAppTest::s_folder;

TEST_F(WinAppTest, ProfileValuesRoundTripThroughTheRegistry) {
  CWinApp app("Profile App");
  app.SetRegistryKey("Pictavo Tests");
  EXPECT_STREQ(app.m_pszProfileName, "Profile App");
  EXPECT_TRUE(app.WriteProfileInt("General", "Count", 42));
  EXPECT_TRUE(app.WriteProfileString("General", "Name", "Größe"));
  BYTE bytes[] = {1, 0, 255, 7};
  EXPECT_TRUE(app.WriteProfileBinary("General", "Window", bytes, sizeof bytes));

  EXPECT_EQ(app.GetProfileInt("General", "Count", 5), 42u);
  EXPECT_EQ(app.GetProfileString("General", "Name"), "Größe");
  LPBYTE data = nullptr;
  UINT size = 0;
  ASSERT_TRUE(app.GetProfileBinary("General", "Window", &data, &size));
  EXPECT_EQ(std::vector<BYTE>(data, data + size), std::vector<BYTE>(bytes, bytes + sizeof bytes));
  delete[] data;

  const struct {
    const char* section;
    const char* entry;
  } missing[] = {{"General", "Nothing"}, {"Nowhere", "Count"}};
  for (const auto& m : missing) {
    EXPECT_EQ(app.GetProfileInt(m.section, m.entry, -3), static_cast<UINT>(-3)) << m.entry;
    EXPECT_EQ(app.GetProfileString(m.section, m.entry, "fallback"), "fallback") << m.entry;
    EXPECT_FALSE(app.GetProfileBinary(m.section, m.entry, &data, &size)) << m.entry;
  }
  EXPECT_EQ(app.GetProfileInt("General", "Name", 8), 8u) << "a string is no number";

  HKEY key = nullptr;
  ASSERT_EQ(
      RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Pictavo Tests\\Profile App\\General", 0, KEY_READ, &key),
      ERROR_SUCCESS);
  DWORD value = 0, type = 0, length = sizeof value;
  EXPECT_EQ(RegQueryValueEx(key, "Count", nullptr, &type, reinterpret_cast<LPBYTE>(&value), &length),
            ERROR_SUCCESS);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(value, 42u);
  RegCloseKey(key);
  EXPECT_NE(RegistryFile().find("[Software\\Pictavo Tests\\Profile App\\General]"), std::string::npos);

  EXPECT_TRUE(app.WriteProfileString("General", "Name", nullptr));
  EXPECT_EQ(app.GetProfileString("General", "Name", "gone"), "gone");
  EXPECT_TRUE(app.WriteProfileString("General", nullptr, nullptr));
  EXPECT_EQ(app.GetProfileInt("General", "Count", 1), 1u) << "the whole section is gone";
}

TEST_F(WinAppTest, AnEmptyRegistryKeyKeepsTheSettingsUnderTheApplicationsName) {
  CWinApp app("Keyless App");
  app.SetRegistryKey("");
  EXPECT_TRUE(app.WriteProfileInt("Settings", "Maximized", 1));
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Keyless App\\Settings", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST_F(WinAppTest, WithoutARegistryKeyTheIniFileHoldsTheSettings) {
  CWinApp app("Ini App");
  const std::string ini = s_folder + "/ini-app.ini";
  free(const_cast<char*>(app.m_pszProfileName));
  app.m_pszProfileName = strdup(ini.c_str());
  EXPECT_TRUE(app.WriteProfileInt("General", "Count", 12));
  EXPECT_TRUE(app.WriteProfileString("General", "Name", "Bob"));
  BYTE bytes[] = {0x12, 0xAB};
  EXPECT_TRUE(app.WriteProfileBinary("General", "Blob", bytes, sizeof bytes));
  EXPECT_EQ(app.GetProfileInt("General", "Count", 0), 12u);
  EXPECT_EQ(app.GetProfileString("General", "Name"), "Bob");
  LPBYTE data = nullptr;
  UINT size = 0;
  ASSERT_TRUE(app.GetProfileBinary("General", "Blob", &data, &size));
  EXPECT_EQ(std::vector<BYTE>(data, data + size), std::vector<BYTE>(bytes, bytes + sizeof bytes));
  delete[] data;
  EXPECT_NE(ReadWholeFile(ini).find("Count=12"), std::string::npos);
}

TEST_F(WinAppTest, RecentFilesGoToTheTopAndSurviveTheApplication) {
  {
    CWinApp app("Recent App");
    app.SetRegistryKey("Pictavo Tests");
    app.LoadStdProfileSettings(3);
    for (const char* path : {"/a/one.r7m", "/a/two.r7m", "/a/three.r7m", "/A/ONE.R7M"})
      app.AddToRecentFileList(path);
    app.ExitInstance();
  }
  const std::string file = RegistryFile();
  EXPECT_NE(file.find("[Software\\Pictavo Tests\\Recent App\\Recent File List]"), std::string::npos);
  EXPECT_NE(file.find("\"File1\"=sz:\"/A/ONE.R7M\""), std::string::npos) << file;

  CWinApp again("Recent App");
  again.SetRegistryKey("Pictavo Tests");
  again.LoadStdProfileSettings(3);
  CRecentFileList& list = *again.m_pRecentFileList;
  EXPECT_EQ(list[0], "/A/ONE.R7M") << "the same file in another spelling moves up";
  EXPECT_EQ(list[1], "/a/three.r7m");
  EXPECT_EQ(list[2], "/a/two.r7m");
  again.AddToRecentFileList("/a/four.r7m");
  EXPECT_EQ(list[0], "/a/four.r7m");
  EXPECT_EQ(list[2], "/a/three.r7m") << "the oldest falls off";
  list.Remove(0);
  EXPECT_EQ(list[0], "/A/ONE.R7M");
  EXPECT_TRUE(list[2].IsEmpty());
  char folder[1024];
  ASSERT_NE(getcwd(folder, sizeof folder), nullptr);
  again.AddToRecentFileList("relative.r7m");
  EXPECT_EQ(list[0], std::string(folder) + "/relative.r7m") << "kept as a full path";
}

TEST_F(WinAppTest, TheRecentFileMenuShowsTheListOrAGrayedPlaceholder) {
  CWinApp app("Menu App");
  app.SetRegistryKey("Pictavo Tests");
  app.LoadStdProfileSettings(4);
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  menu.AppendMenu(MF_STRING, ID_FILE_NEW, "&New");
  menu.AppendMenu(MF_STRING, ID_FILE_MRU_FILE1, "Recent File");
  menu.AppendMenu(MF_STRING, ID_APP_EXIT, "E&xit");
  auto update = [&] {
    CCmdUI state;
    state.m_pMenu = &menu;
    state.m_nIndex = 1;
    state.m_nID = ID_FILE_MRU_FILE1;
    state.m_nIndexMax = menu.GetMenuItemCount();
    state.DoUpdate(&app, FALSE);
  };
  update();
  EXPECT_EQ(menu.GetMenuItemCount(), 3u);
  EXPECT_TRUE(menu.GetMenuState(ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED);
  app.AddToRecentFileList("/photos/summer & sea.r7m");
  app.AddToRecentFileList("/photos/winter.r7m");
  update();
  ASSERT_EQ(menu.GetMenuItemCount(), 4u);
  CString first, second;
  menu.GetMenuString(1, first, MF_BYPOSITION);
  menu.GetMenuString(2, second, MF_BYPOSITION);
  EXPECT_EQ(first, "&1 /photos/winter.r7m");
  EXPECT_EQ(second, "&2 /photos/summer && sea.r7m") << "a '&' of the path is doubled";
  EXPECT_EQ(menu.GetMenuItemID(2), static_cast<UINT>(ID_FILE_MRU_FILE2));
  EXPECT_EQ(menu.GetMenuState(ID_FILE_MRU_FILE2, MF_BYCOMMAND) & MF_GRAYED, 0u);
}

// The program's form: a "setup" flag, everything else as the class library parses it.
class SetupCommandLineInfo : public CCommandLineInfo {
 public:
  BOOL m_bReset = FALSE;
  void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast) override {
    if (bFlag && CString(pszParam).CompareNoCase("setup") == 0) {
      m_bReset = TRUE;
      ParseLast(bLast);
      return;
    }
    CCommandLineInfo::ParseParam(pszParam, bFlag, bLast);
  }
};

TEST_F(WinAppTest, CommandLinesParseIntoFlagsAndTheFileToOpen) {
  const struct {
    std::vector<const char*> args;
    int command;
    const char* file;
    BOOL reset;
    BOOL splash;
  } cases[] = {
      {{}, CCommandLineInfo::FileNew, "", FALSE, TRUE},
      {{"/home/user/show.r7m"}, CCommandLineInfo::FileOpen, "/home/user/show.r7m", FALSE, TRUE},
      {{"-setup"}, CCommandLineInfo::FileNew, "", TRUE, TRUE},
      {{"/SETUP", "show.r7m"}, CCommandLineInfo::FileOpen, "show.r7m", TRUE, TRUE},
      {{"/tmp"}, CCommandLineInfo::FileOpen, "/tmp", FALSE, TRUE},
      {{"/p", "show.r7m"}, CCommandLineInfo::FilePrint, "show.r7m", FALSE, TRUE},
      {{"-Embedding"}, CCommandLineInfo::FileNew, "", FALSE, FALSE},
      {{"first.r7m", "second.r7m"}, CCommandLineInfo::FileOpen, "first.r7m", FALSE, TRUE},
  };
  CWinApp app("Command App");
  for (const auto& c : cases) {
    std::vector<char*> argv{const_cast<char*>("pictavo")};
    for (const char* arg : c.args) argv.push_back(const_cast<char*>(arg));
    app.m_argc = static_cast<int>(argv.size());
    app.m_argv = argv.data();
    SetupCommandLineInfo info;
    app.ParseCommandLine(info);
    const std::string label = c.args.empty() ? "(none)" : c.args[0];
    EXPECT_EQ(info.m_nShellCommand, c.command) << label;
    EXPECT_EQ(info.m_strFileName, c.file) << label;
    EXPECT_EQ(info.m_bReset, c.reset) << label;
    EXPECT_EQ(info.m_bShowSplash, c.splash) << label;
  }
  const char* printTo[] = {"pictavo", "/pt", "doc.r7m", "printer", "driver", "port"};
  app.m_argc = 6;
  app.m_argv = const_cast<char**>(printTo);
  CCommandLineInfo info;
  app.ParseCommandLine(info);
  EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FilePrintTo);
  EXPECT_EQ(info.m_strFileName, "doc.r7m");
  EXPECT_EQ(info.m_strPrinterName, "printer");
  EXPECT_EQ(info.m_strDriverName, "driver");
  EXPECT_EQ(info.m_strPortName, "port");
}

TEST_F(WinAppTest, MessageBoxesCarryTheApplicationsNameAndAnswerByKey) {
  CWinApp app("Box App");
  const struct {
    UINT prompt;  // 0: text
    UINT type;
    UINT key;
    int result;
    const char* text;
  } cases[] = {
      {kPromptString, MB_OK, VK_RETURN, IDOK, "A prompt from the string table"},
      {AFX_IDP_PARSE_INT, MB_OK, VK_ESCAPE, IDOK, "Please enter an integer."},
      {0, MB_YESNO, 'N', IDNO, "Keep it?"},
  };
  for (const auto& c : cases) {
    std::string caption, text;
    IdleScript script;
    script
        .Then([&] {
          caption = TextOf(::GetActiveWindow());
          text = TextOf(::GetDlgItem(::GetActiveWindow(), pictavo::user::kMessageBoxTextId));
        })
        .Key(c.key);
    const int result = c.prompt ? AfxMessageBox(c.prompt, c.type) : AfxMessageBox(c.text, c.type);
    EXPECT_EQ(result, c.result) << c.text;
    EXPECT_TRUE(script.Done()) << c.text;
    EXPECT_EQ(caption, "Box App");
    EXPECT_EQ(text, c.text);
  }
}

// An application whose main window closes itself the first time the loop goes idle.
class CMainWindow : public CWnd {
 public:
  int idleUpdates = 0;

 protected:
  afx_msg LRESULT OnIdleUpdate(WPARAM, LPARAM) {
    if (++idleUpdates == 1) PostMessage(WM_CLOSE);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CMainWindow, CWnd)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

class CLoopApp : public CWinApp {
 public:
  explicit CLoopApp(BOOL init) : CWinApp(nullptr), m_init(init) {}
  CMainWindow m_window;
  int m_exits = 0;
  BOOL InitInstance() override {
    if (!m_init) return FALSE;
    m_window.CreateEx(0, nullptr, "Main", WS_POPUP | WS_VISIBLE, CRect(0, 0, 100, 100), nullptr, 0);
    m_pMainWnd = &m_window;
    return TRUE;
  }
  int ExitInstance() override {
    ++m_exits;
    return CWinApp::ExitInstance() + 10;
  }

 private:
  BOOL m_init;
};

TEST_F(WinAppTest, WinMainRunsTheLoopUntilTheMainWindowCloses) {
  const struct {
    BOOL init;
    int idleUpdates;
  } cases[] = {{TRUE, 1}, {FALSE, 0}};
  for (const auto& c : cases) {
    CLoopApp app(c.init);
    char name[] = "pictavo";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(AfxWinMain(1, argv), 10) << "ExitInstance's result, after WM_QUIT's 0";
    EXPECT_EQ(app.m_exits, 1);
    EXPECT_EQ(app.m_window.idleUpdates, c.idleUpdates);
    EXPECT_EQ(app.m_window.m_hWnd, nullptr);
    EXPECT_EQ(app.m_pMainWnd, nullptr) << "the main window's end ends the loop";
    EXPECT_STREQ(app.m_pszExeName, "test_platform_mfc");
    EXPECT_STREQ(app.m_pszAppName, "test_platform_mfc") << "without a title string, the executable's name";
  }
}

TEST_F(WinAppTest, TheWaitCursorIsCounted) {
  CWinApp app("Cursor App");
  HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  HCURSOR wait = LoadCursor(nullptr, IDC_WAIT);
  SetCursor(arrow);
  app.BeginWaitCursor();
  EXPECT_EQ(GetCursor(), wait);
  {
    CWaitCursor nested;
    EXPECT_EQ(GetCursor(), wait);
  }
  EXPECT_EQ(GetCursor(), wait) << "the outer wait is still on";
  app.EndWaitCursor();
  EXPECT_EQ(GetCursor(), arrow);
}

}  // namespace
