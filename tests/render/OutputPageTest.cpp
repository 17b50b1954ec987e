// The output page and its encode options page: where the page sits, the folder checks, the
// options a user edits in the property list reaching the profile the encoder uses, and the
// create-output command refusing to run twice at once and refusing an unusable folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "modules/data/OutputProfile.h"
#include "modules/data/SingleFlag.h"
#include "modules/log/Log.h"
#include "platform/com/OleAuto.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/display/ScriptPlayer.h"
#include "platform/mfc/WinApp.h"
#include "platform/res/ResourceModule.h"
#include "render/AlbumVideoProfilePage.h"
#include "render/EncodeVideoDlg.h"
#include "render/OutputPageRules.h"
#include "shell/AppSettings.h"
#include "shell/LanguageFile.h"
#include "shell/SkinMain.h"
#include "shell/SkinMinor.h"
#include "shell/SlideshowApp.h"
#include "shell/UIHelpers.h"
#include "tests/render/RenderFixtures.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Snapshot.h"
#include "tests/support/ThreadWindows.h"
#include "toolkit/core/PlxProp.h"
#include "toolkit/core/PlxPropList.h"

namespace fs = std::filesystem;
using pictavo::test::PumpPending;

TEST(OutputPageRules, EmbeddedPageIsCentredAndRaised) {
  struct Case {
    SIZE client, page;
    POINT pos;
  };
  const Case kCases[] = {
      {{700, 500}, {600, 400}, {50, 30}},  // 100 taller: 50, raised by 20
      {{700, 430}, {600, 400}, {50, 15}},  // 30 taller: 15, not raised
      {{700, 440}, {600, 400}, {50, 20}},  // exactly 20 stays
      {{500, 300}, {600, 400}, {-50, 0}},  // taller page: top, x unclamped
      {{601, 461}, {600, 400}, {0, 10}},   // truncated halves: 30 - 20
  };
  for (const Case& c : kCases) {
    const POINT pos = output_page::EmbeddedPagePos(c.client, c.page);
    EXPECT_EQ(pos.x, c.pos.x) << c.client.cx << "x" << c.client.cy;
    EXPECT_EQ(pos.y, c.pos.y) << c.client.cx << "x" << c.client.cy;
  }
}

TEST(OutputPageRules, FolderOpenedAfterTheOutput) {
  struct Case {
    int type;
    const char* output;
    const char* group;
    const char* folder;
  };
  const Case kCases[] = {
      {5, "/v", "MP4", "/v/MP4/"},
      {5, "/v/", "MP4/", "/v/MP4/"},
      {5, "/v\\", nullptr, "/v\\"},
      {5, "/v", nullptr, "/v/"},
      {3, "/v", "MP4", "/tmp/p/Bluray_Folder/"},
  };
  for (const Case& c : kCases)
    EXPECT_EQ(std::string(output_page::OutputFolderOf(c.type, "/tmp/p", c.output, c.group)), c.folder);
}

TEST(OutputPageRules, AnEditedValueIsTakenTrimmedAndCutUnlessOnlyItsCaseChanged) {
  struct Case {
    const char* current;
    int maxLength;
    const char* typed;
    const char* stored;
    BOOL changed;
  };
  const Case kCases[] = {
      {"800", 0, " 1200 ", "1200", TRUE},
      {"libx264", 0, "LIBX264", "libx264", FALSE},
      {"1280x720", 7, "1920x1080", "1920x10", TRUE},
      {"a", 3, "\xC3\xA9\xC3\xA9", "\xC3\xA9", TRUE},  // never half a character
      {"48000", 5, "44100", "44100", TRUE},
  };
  for (const Case& c : kCases) {
    _AV_OUTPUT_OPTION option;
    option.strValue = c.current;
    option.nMaxLength = c.maxLength;
    EXPECT_EQ(output_page::TakeOptionText(option, c.typed), c.changed) << c.typed;
    EXPECT_EQ(std::string(option.strValue), c.stored) << c.typed;
  }
}

TEST(OutputPageRules, AFolderThatCannotTakeFilesSaysWhy) {
  pictavo::test::ScratchDir dir;
  EXPECT_EQ(std::string(output_page::OutputFolderProblem((dir / "new/deeper").c_str())), "");
  EXPECT_TRUE(fs::is_directory(dir / "new/deeper"));
  EXPECT_TRUE(fs::is_empty(dir / "new/deeper"));  // the probe file is gone
  std::ofstream(dir / "file") << "x";
  EXPECT_EQ(std::string(output_page::OutputFolderProblem((dir / "file/out").c_str())),
            "A file of that name is in the way.");
  EXPECT_NE(std::string(output_page::OutputFolderProblem("/proc/self/out")), "");
  EXPECT_NE(std::string(output_page::OutputFolderProblem("")), "");
}

namespace {

std::string Source(const std::string& part) {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source != nullptr ? source : ".") + "/" + part;
}

class OutputPageTest : public shelltest::RegistryFixture {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    InitCommonControls();
    pictavo::shell::SetLanguageRoot(Source("data"));
    g_skinMinor.Load(Source("data").c_str(), "zel_en.xml", FALSE);
    g_skinMain.Load(Source("data").c_str(), "zel_en.xml", FALSE);
    if (AfxGetApp()->m_pszAppName == nullptr) AfxGetApp()->m_pszAppName = strdup("Output Test");
  }

  void SetUp() override {
    m_log = folder / "zel.log";
    OpenLogFile(m_log.c_str());
    CDVDProject::g_m_strAppTempPathBase = (folder / "base").c_str();
    m_manager = CDVDProject::GetAVOutputProfileManager();
    m_manager->SetProfileFolder((rendertest::ProgramFolder() + "/profile_en").c_str());
    ASSERT_TRUE(m_manager->InitProfileManager(0, nullptr, nullptr));
    GetProject()->NewProject();
    GetProject()->SetEmOutputType(DVD_OUTPUT_PROFILE_GROUP);
    GetAppSettings()->AVOutputProfile.OutputFolder = (folder / "out").c_str();
    ASSERT_TRUE(
        m_owner.CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), "",
                         WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 700, 480), nullptr, 0));
    ASSERT_TRUE(m_page.Create(IDD_ALBUM_VIDEO_PROFILE, &m_owner));
    m_page.ShowWindow(SW_SHOW);
    PumpPending();
  }

  void TearDown() override {
    pictavo::display::StopScript();
    m_page.DestroyWindow();
    m_owner.DestroyWindow();
    PumpPending();
    GetProject()->NewProject();
    GetAppSettings()->AVOutputProfile.OutputFolder.Empty();
  }

  // Plays `script` while the calling thread goes on; a script that cannot go on ends every
  // dialog of this thread and leaves its reason in m_scriptFailure.
  void Script(const std::string& script) {
    std::vector<pictavo::display::ScriptStep> steps;
    pictavo::display::ScriptError error;
    ASSERT_TRUE(pictavo::display::ParseScript(script, &steps, &error)) << error.message;
    pictavo::display::ScriptOptions options;
    options.name = "output-page-test";
    options.onFailure = [this](const std::string& message) {
      m_scriptFailure = message;
      pictavo::test::EndThreadDialogs(IDABORT);
    };
    ASSERT_TRUE(pictavo::display::PlayScript(std::move(steps), std::move(options)));
  }

  std::vector<std::string> Log() {
    pictavo::log::Flush();
    std::vector<std::string> lines;
    std::ifstream in(m_log);
    for (std::string line; std::getline(in, line);)
      lines.push_back(line.size() > 24 ? line.substr(24) : line);
    return lines;
  }
  int LogCount(const std::string& text) {
    const std::vector<std::string> lines = Log();
    return static_cast<int>(std::count_if(
        lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; }));
  }

  // The property showing an option, by its name.
  CPlxProp* Property(const char* name) {
    CPlxPropList* list = m_page.GetOptionsPage().GetPropList();
    for (int g = 0; g < list->GetPropertyCount(); ++g)
      for (int i = 0; i < list->GetProperty(g)->GetSubItemsCount(); ++i)
        if (list->GetProperty(g)->GetSubItem(i)->GetName() == name)
          return list->GetProperty(g)->GetSubItem(i);
    return nullptr;
  }

  // Types `text` into the property's in-place editor, as a user does, and leaves it open.
  void TypeInto(CPlxProp* prop, const char* text) {
    CPlxPropList* list = m_page.GetOptionsPage().GetPropList();
    list->SetCurSel(prop);
    ASSERT_TRUE(list->BeginEditItem(prop, nullptr));
    HWND editor = ::GetDlgItem(list->GetSafeHwnd(), CPlxProp::kEditorId);
    ASSERT_NE(editor, nullptr);
    ::SetWindowText(editor, text);
  }

  CAVOutputProfileManager* m_manager = nullptr;
  CWnd m_owner;
  CAlbumVideoProfilePage m_page;
  std::string m_log;
  std::string m_scriptFailure;
};

}  // namespace

TEST_F(OutputPageTest, ShowsTheGroupsTheActiveProfileAndItsOptions) {
  CSkinComboBox& formats = m_page.GetFormatList();
  ASSERT_EQ(formats.GetCount(), m_manager->GetGroupCount());
  ASSERT_GT(formats.GetCount(), CAVOutputProfileManager::kDefaultActiveGroup);
  EXPECT_EQ(formats.GetCurSel(), CAVOutputProfileManager::kDefaultActiveGroup);
  EXPECT_EQ(m_page.GetOptionsPage().GetCurrentProfile(), m_manager->Get_pActiveAVOutputProfile());
  ASSERT_NE(Property("Video Bit Rate (kbit/s)"), nullptr);
  ASSERT_NE(Property("Channels"), nullptr);
  EXPECT_FALSE(Property("Video Codec")->IsEnabled());  // read-only options are shown disabled
  CRect rc;
  m_owner.GetWindowRect(&rc);
  const std::string shot = pictavo::test::SaveDesktopArea(rc, "output-page.png");
  EXPECT_FALSE(shot.empty());
}

TEST_F(OutputPageTest, EditedOptionsAreWrittenBackToTheProfileTheEncoderUses) {
  struct Case {
    const char* name;
    const char* typed;
    int option;
    const char* stored;
  };
  const Case kCases[] = {
      {"Video Bit Rate (kbit/s)", " 1200 ", AVOPT_VIDEO_BITRATE, "1200"},
      {"Video Size", "640x360", AVOPT_VIDEO_SIZE, "640x360"},
      {"Sample Rate (Hz)", "44100", AVOPT_AUDIO_SAMPLERATE, "44100"},
  };
  CAVOutputProfile* profile = m_manager->Get_pActiveAVOutputProfile();
  ASSERT_NE(profile, nullptr);
  for (const Case& c : kCases) {
    CPlxProp* prop = Property(c.name);
    ASSERT_NE(prop, nullptr) << c.name;
    TypeInto(prop, c.typed);
    // "Burn now" commits the open edit with the output folder before the encoding starts.
    EXPECT_EQ(m_page.GetOptionsPage().SendMessage(WM_APPLY_OUTPUT_PROFILE, 0, 0), 1);
    EXPECT_EQ(std::string(profile->GetOption(c.option)->strValue), c.stored) << c.name;
  }
  // A letter-case change only is no change.
  TypeInto(Property("Video Size"), "640X360");
  m_page.GetOptionsPage().SendMessage(WM_APPLY_OUTPUT_PROFILE, 0, 0);
  EXPECT_EQ(std::string(profile->GetOption(AVOPT_VIDEO_SIZE)->strValue), "640x360");

  // Refilling with the same active profile keeps the edits; the encoder's command carries them.
  m_page.GetOptionsPage().SendMessage(WM_REFILL_OUTPUT_PROFILES, 0, 0);
  EXPECT_EQ(std::string(profile->GetOption(AVOPT_VIDEO_BITRATE)->strValue), "1200");
  const std::vector<std::string> args =
      CEncodeVideoDlg::BuildFfmpegCommand(*profile, "A", TRUE, "/tmp/a.mp4");
  const std::string line = [&] {
    std::string joined;
    for (const std::string& a : args) joined += a + " ";
    return joined;
  }();
  EXPECT_NE(line.find("-b:v 1200k"), std::string::npos) << line;
  EXPECT_NE(line.find("640x360"), std::string::npos) << line;
  EXPECT_NE(line.find("-ar 44100"), std::string::npos) << line;

  // Another profile of the group starts from its file's values.
  CComboBox* profiles = static_cast<CComboBox*>(m_page.GetOptionsPage().GetDlgItem(IDC_PROFILE_LIST));
  ASSERT_GT(profiles->GetCount(), 1);
  const int other = profiles->GetCurSel() == 0 ? 1 : 0;
  profiles->SetCurSel(other);
  m_page.GetOptionsPage().SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PROFILE_LIST, CBN_SELCHANGE),
                                      reinterpret_cast<LPARAM>(profiles->GetSafeHwnd()));
  EXPECT_EQ(m_manager->Get_pActiveAVOutputProfile(), profiles->GetItemDataPtr(other));
  EXPECT_EQ(m_page.GetOptionsPage().GetCurrentProfile(), profiles->GetItemDataPtr(other));
}

TEST_F(OutputPageTest, TheOutputFolderIsCommittedTrimmedAndKeptInTheSettings) {
  const std::string typed = "  " + (folder / "Out:put") + "  ";
  m_page.GetOptionsPage().SetDlgItemText(IDC_OUTPUT_FOLDER, typed.c_str());
  EXPECT_EQ(m_page.GetOptionsPage().SendMessage(WM_APPLY_OUTPUT_PROFILE, 0, 0), 1);
  const std::string expected = folder / "Out_put";
  EXPECT_EQ(std::string(m_manager->Get_strOutputPath()), expected);
  EXPECT_EQ(std::string(GetAppSettings()->AVOutputProfile.OutputFolder), expected);
  EXPECT_TRUE(fs::is_directory(expected));
}

TEST_F(OutputPageTest, ReenteringTheCreateOutputCommandIsRefusedWithItsLogLine) {
  // The command's message box runs a message loop; a second "Burn now" click reaching the page
  // from it must not start the command again.
  ASSERT_EQ(GetProject()->GetAlbumCount(), 0);
  m_page.PostMessage(WM_BURN_BUTTON_NOTIFY, 0, 0);
  Script("wait-window \"" + std::string(AfxGetApp()->m_pszAppName) + "\" 30\nkey Enter\n");
  EXPECT_EQ(m_page.OnButtonBurnWrite(), CAlbumVideoProfilePage::burnNoAlbum);
  EXPECT_EQ(m_scriptFailure, "");
  EXPECT_EQ(LogCount("Enter 2 times repeatly in OnButtonBurnWrite()!"), 1);
  EXPECT_EQ(LogCount("Count of album is zero."), 1);  // the first run only
  EXPECT_EQ(g_burnWriteFlag.GetRefCount(), 0);

  // Held by a run elsewhere in the process: refused at once, nothing shown.
  CWyxSingleFlagAutoLock held(g_burnWriteFlag);
  EXPECT_EQ(m_page.OnButtonBurnWrite(), CAlbumVideoProfilePage::burnReentered);
  EXPECT_EQ(LogCount("Enter 2 times repeatly in OnButtonBurnWrite()!"), 2);
}

TEST_F(OutputPageTest, AnOutputFolderThatCannotTakeTheFilesIsRefusedBeforeEncoding) {
  CDVDAlbumImage* album = rendertest::AddPhotoAlbum(*GetProject(), "Summer");
  rendertest::AddSlide(*album, rendertest::MakePhoto(folder / "one.jpg", 320, 240), 1, 1,
                       "Fade[TransitionLib]");
  std::ofstream(folder / "taken") << "a file, not a folder";
  m_page.GetOptionsPage().SetDlgItemText(IDC_OUTPUT_FOLDER, (folder / "taken").c_str());
  // The refusal is said in a message box; the encoding dialog never opens.
  Script("wait-window \"Talvane Pictavo\" 30\nsnapshot \"" +
         pictavo::test::SnapshotPath("output-folder-refused.png") + "\" \"Talvane Pictavo\"\nkey Enter\n");
  EXPECT_EQ(m_page.OnButtonBurnWrite(), CAlbumVideoProfilePage::burnFolderRefused);
  EXPECT_EQ(m_scriptFailure, "");
  EXPECT_EQ(LogCount("is not usable: A file of that name is in the way."), 1);
  EXPECT_EQ(LogCount("###Create misc video files output."), 1);
  EXPECT_TRUE(fs::is_regular_file(folder / "taken"));
}

TEST_F(OutputPageTest, TheFormatListFollowsTheMainWindowsChoiceAndSetsTheOutputType) {
  CSkinComboBox& formats = m_page.GetFormatList();
  // The Create menu or the status-bar selector picked the first group.
  m_manager->Set_pActiveProfileGroup(m_manager->Get_pProfileGroupArray(0));
  m_page.SelectActiveFormat();
  EXPECT_EQ(formats.GetCurSel(), 0);
  EXPECT_EQ(m_page.GetOptionsPage().GetCurrentProfile(),
            m_manager->Get_pProfileGroupArray(0)->Get_pActiveAVOutputProfile());

  // Picking a format on the page makes it a video-file output whatever was chosen before.
  GetProject()->SetEmOutputType(DVD_OUTPUT_WEB_ALBUM);
  formats.SetCurSel(2);
  m_page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_OUTPUT_FORMAT_LIST, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(formats.GetSafeHwnd()));
  EXPECT_EQ(GetProject()->GetEmOutputType(), DVD_OUTPUT_PROFILE_GROUP);
  EXPECT_EQ(m_manager->Get_pActiveProfileGroup(), m_manager->Get_pProfileGroupArray(2));
  EXPECT_EQ(m_page.GetOptionsPage().GetCurrentProfile(),
            m_manager->Get_pProfileGroupArray(2)->Get_pActiveAVOutputProfile());

  // A language change fills the list again with the eighth group active.
  m_page.SendMessage(WM_LANGUAGE_CHANGED, 0, 0);
  EXPECT_EQ(formats.GetCount(), m_manager->GetGroupCount());
  EXPECT_EQ(m_manager->Get_pActiveProfileGroup(),
            m_manager->Get_pProfileGroupArray(CAVOutputProfileManager::kDefaultActiveGroup));
  EXPECT_EQ(formats.GetCurSel(), CAVOutputProfileManager::kDefaultActiveGroup);
}
