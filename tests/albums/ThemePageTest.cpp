// The theme page and its title and credit pages as windows on the headless display, with albums
// of the project handed to it as the album editor does. Snapshots: theme-page.png,
// theme-page-titles.png.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "albums/AlbumThemeDlg.h"
#include "albums/AlbumTitleCreditPage.h"
#include "albums/ThemePageRules.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/kernel/Module.h"
#include "platform/res/ResourceModule.h"
#include "render/PreviewMessages.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"
#include "shell/SkinMain.h"
#include "shell/SkinMinor.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Snapshot.h"

namespace fs = std::filesystem;
using pictavo::test::PumpPending;
using pictavo::test::PumpUntil;

namespace {

std::string Source(const std::string& part) {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source != nullptr ? source : ".") + "/" + part;
}

class ThemePageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    InitCommonControls();
    pictavo::shell::SetLanguageRoot(Source("data"));
    g_skinMinor.Load(Source("data").c_str(), "zel_en.xml", FALSE);
    g_skinMain.Load(Source("data").c_str(), "zel_en.xml", FALSE);
    // The page reads its themes and effect lists beside the executable, as the program does; the
    // test binaries live one folder away from the program's data.
    for (const char* folder : {"theme", "title", "Credit"}) {
      const fs::path link = fs::path(pictavo::ExecutableFolder()) / folder;
      std::error_code error;
      if (!fs::exists(link, error)) fs::create_directory_symlink(Source(std::string("data/") + folder), link, error);
    }
  }

  void SetUp() override {
    ASSERT_TRUE(m_owner.CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)),
                                 "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 772, 516), nullptr, 0));
    ASSERT_TRUE(m_page.Create(IDD_ALBUM_THEME, &m_owner));
    m_page.MoveWindow(0, 0, 772, 516);
    for (const char* name : {"Beach", "Plain", "Film"}) {
      auto* album = new CDVDAlbumImage(GetProject());
      album->Set_strAlbumName(name);
      auto* slide = new CDVDImage(album);
      slide->Put_strPathName(Source("samples/media/beach_landscape.jpg").c_str());
      album->AddDVDImage(slide);
      GetProject()->AddAlbum(album);
      m_albums.push_back(album);
    }
    m_albums[0]->SetAlbumTheme(GetProject()->FindTheme("Classic Frame"));
    m_albums[2]->SetAlbumTheme(GetProject()->FindTheme("Film Strip"));
    for (CDVDAlbumImage* album : m_albums) album->Put_bDirty(FALSE);
    m_page.ShowWindow(SW_SHOW);
    PumpPending();
  }

  void TearDown() override {
    m_page.DestroyWindow();
    m_owner.DestroyWindow();
    for (CDVDAlbumImage* album : m_albums)
      if (GetProject()->IndexOfAlbum(album) >= 0) GetProject()->DeleteAlbum(album);
    PumpPending();
  }

  std::string Text(CWnd& wnd, UINT id) {
    CString text;
    wnd.GetDlgItemText(id, text);
    return text.GetString();
  }
  // Typing into a page's text: the edit's change notification stores it.
  void Type(CAlbumTitleCreditPage& page, const std::string& text) {
    page.SetDlgItemText(IDC_TITLE_TEXT, text.c_str());
    PumpPending();
  }

  CWnd m_owner;
  CAlbumThemeDlg m_page;
  std::vector<CDVDAlbumImage*> m_albums;
};

}  // namespace

TEST_F(ThemePageTest, ListsTheShippedThemesAndShowsTheAlbumsThemeOverItsPhoto) {
  std::set<std::string> names;
  for (int i = 0; i < m_page.GetThemeList().GetCount(); ++i) {
    CString name;
    m_page.GetThemeList().GetText(i, name);
    names.insert(name.GetString());
  }
  EXPECT_EQ(names, (std::set<std::string>{"_no_theme", "Classic Frame", "Film Strip", "Sunny Holiday"}));
  m_page.SetAlbum(m_albums[0]);
  PumpPending();
  EXPECT_EQ(Text(m_page, IDC_THEME_CURRENT), "Current theme: Classic Frame");
  EXPECT_EQ(m_page.GetPreviewKind(), CThemePreviewFrames::Kind::kTheme);
  EXPECT_TRUE(m_page.IsPreviewTimerRunning());
  m_owner.UpdateWindow();
  EXPECT_FALSE(pictavo::test::SaveDesktopArea(RECT{0, 0, 772, 516}, "theme-page.png").empty());
}

// Each album shown gets its own titles and credits in the pages, whether it has a theme or not,
// and what is typed lands in the album shown, never in the one before.
TEST_F(ThemePageTest, TitleAndCreditPagesFollowEveryShownAlbum) {
  struct Step {
    int album;
    const char* typed;
    const char* label;
  };
  const Step steps[] = {{0, "Beach days", "Current theme: Classic Frame"},
                        {1, "Plain album", "Current theme: No Theme"},
                        {2, "Film night", "Current theme: Film Strip"},
                        {1, "Plain again", "Current theme: No Theme"}};
  for (const Step& step : steps) {
    CDVDAlbumImage* album = m_albums[step.album];
    m_page.SetAlbum(album);
    PumpPending();
    EXPECT_EQ(m_page.GetTitlePage().GetAlbumSettings(), album->GetAlbumEffect()->GetTitleSettings()) << step.typed;
    EXPECT_EQ(m_page.GetCreditPage().GetAlbumSettings(), album->GetAlbumEffect()->GetCreditSettings()) << step.typed;
    EXPECT_EQ(Text(m_page, IDC_THEME_CURRENT), step.label);
    Type(m_page.GetTitlePage(), step.typed);
    EXPECT_STREQ(album->GetAlbumEffect()->GetTitleSettings()->szText, step.typed);
    EXPECT_TRUE(album->Get_bDirty()) << step.typed;
  }
  EXPECT_STREQ(m_albums[0]->GetAlbumEffect()->GetTitleSettings()->szText, "Beach days");
  EXPECT_STREQ(m_albums[2]->GetAlbumEffect()->GetTitleSettings()->szText, "Film night");
}

// After the project was replaced the pages hold pointers into freed albums: they let go without
// writing, and the next album shown is edited normally.
TEST_F(ThemePageTest, ProjectReloadedForgetsTheAlbumWithoutWriting) {
  m_page.SetAlbum(m_albums[0]);
  Type(m_page.GetTitlePage(), "Before");
  m_page.SendMessage(WM_PROJECT_RELOADED, 0, 0);
  EXPECT_EQ(m_page.GetTitlePage().GetAlbumSettings(), nullptr);
  EXPECT_EQ(m_page.GetCreditPage().GetAlbumSettings(), nullptr);
  Type(m_page.GetTitlePage(), "After the reload");
  m_page.SendMessage(WM_PREPARE_PROJECT_SAVE, 0, 0);
  m_page.ShowWindow(SW_HIDE);
  PumpPending();
  EXPECT_STREQ(m_albums[0]->GetAlbumEffect()->GetTitleSettings()->szText, "Before");
  m_page.ShowWindow(SW_SHOW);
  m_page.SetAlbum(m_albums[1]);
  Type(m_page.GetTitlePage(), "Next album");
  EXPECT_STREQ(m_albums[1]->GetAlbumEffect()->GetTitleSettings()->szText, "Next album");
}

// Only one of the title and credit previews runs; a stop clears both, so a stale flag never cuts
// the next preview short. A title preview counts its seconds and returns to the theme.
TEST_F(ThemePageTest, OnePreviewAtATimeCountingSecondsThenTheTheme) {
  m_albums[0]->GetAlbumEffect()->GetTitleSettings()->nDuration = 1;
  m_albums[0]->GetAlbumEffect()->GetTitleSettings()->bEnabled = 1;
  m_page.SetAlbum(m_albums[0]);
  PumpPending();
  m_page.SendMessage(WM_TITLE_PREVIEW, 0, 0);
  EXPECT_TRUE(m_page.IsTitlePreviewRunning());
  m_page.SendMessage(WM_CREDIT_PREVIEW, 0, 0);
  EXPECT_FALSE(m_page.IsTitlePreviewRunning());
  EXPECT_TRUE(m_page.IsCreditPreviewRunning());
  EXPECT_EQ(m_page.GetPreviewKind(), CThemePreviewFrames::Kind::kCredit);
  m_page.ShowWindow(SW_HIDE);
  PumpPending();
  EXPECT_FALSE(m_page.IsCreditPreviewRunning());
  EXPECT_FALSE(m_page.IsPreviewTimerRunning());
  m_page.ShowWindow(SW_SHOW);
  PumpPending();

  m_page.SendMessage(WM_TITLE_PREVIEW, 0, 0);
  std::set<std::string> seen;
  const bool ended = PumpUntil(
      [&] {
        seen.insert(Text(m_page, IDC_THEME_TIME));
        if (m_page.IsTitlePreviewRunning())
          ::InvalidateRect(m_page.GetDlgItem(IDC_THEME_PREVIEW)->m_hWnd, nullptr, FALSE);
        return !m_page.IsTitlePreviewRunning() && m_page.GetPreviewKind() == CThemePreviewFrames::Kind::kTheme;
      },
      10000);
  EXPECT_TRUE(ended);
  EXPECT_TRUE(seen.count("0 seconds") && seen.count("1 seconds")) << seen.size();
}

TEST_F(ThemePageTest, TitlePreviewSnapshot) {
  m_page.SetAlbum(m_albums[2]);
  Type(m_page.GetTitlePage(), "A Night at the Movies");
  m_page.SendMessage(WM_TITLE_PREVIEW, 0, 0);
  // Past the fade-in.
  ASSERT_TRUE(PumpUntil([&] { return Text(m_page, IDC_THEME_TIME) == "1 seconds"; }, 10000));
  m_owner.UpdateWindow();
  EXPECT_FALSE(pictavo::test::SaveDesktopArea(RECT{0, 0, 772, 516}, "theme-page-titles.png").empty());
}

// Choosing another effect is an edit like any other: the album becomes dirty and takes the
// effect's file and default duration.
TEST_F(ThemePageTest, EffectChangeMarksTheAlbumDirty) {
  m_page.SetAlbum(m_albums[1]);
  PumpPending();
  CAlbumTitleCreditPage& titles = m_page.GetTitlePage();
  titles.CheckDlgButton(IDC_TITLE_ENABLE, BST_CHECKED);
  titles.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TITLE_ENABLE, BN_CLICKED),
                     reinterpret_cast<LPARAM>(titles.GetDlgItem(IDC_TITLE_ENABLE)->m_hWnd));
  m_albums[1]->Put_bDirty(FALSE);
  CWnd* combo = titles.GetDlgItem(IDC_TITLE_EFFECT);
  combo->SendMessage(CB_SETCURSEL, 1, 0);
  titles.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TITLE_EFFECT, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo->m_hWnd));
  const _ALBUM_TEXT_SETTINGS* record = m_albums[1]->GetAlbumEffect()->GetTitleSettings();
  EXPECT_TRUE(m_albums[1]->Get_bDirty());
  EXPECT_EQ(fs::path(record->szEffectFile).filename(), "rise.xml");
  EXPECT_EQ(record->nDuration, 5);
  EXPECT_EQ(Text(titles, IDC_TITLE_DURATION), "5");
}

// The check box switches the text, effect, font size, font colour, duration and Preview, but
// not the background colour or itself.
TEST_F(ThemePageTest, EnableCheckSwitchesEightControls) {
  m_page.SetAlbum(m_albums[1]);
  CAlbumTitleCreditPage& titles = m_page.GetTitlePage();
  struct Control {
    UINT id;
    bool switched;
  };
  const Control controls[] = {{IDC_TITLE_TEXT, true},      {IDC_TITLE_FONT_SIZE, true},
                              {IDC_TITLE_FONT_SIZE_SPIN, true}, {IDC_TITLE_FONT_COLOR, true},
                              {IDC_TITLE_PREVIEW, true},   {IDC_TITLE_EFFECT, true},
                              {IDC_TITLE_DURATION, true},  {IDC_TITLE_DURATION_SPIN, true},
                              {IDC_TITLE_BACK_COLOR, false}, {IDC_TITLE_ENABLE, false}};
  for (UINT state : {BST_UNCHECKED, BST_CHECKED}) {
    titles.CheckDlgButton(IDC_TITLE_ENABLE, state);
    titles.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TITLE_ENABLE, BN_CLICKED),
                       reinterpret_cast<LPARAM>(titles.GetDlgItem(IDC_TITLE_ENABLE)->m_hWnd));
    for (const Control& c : controls)
      EXPECT_EQ(titles.GetDlgItem(c.id)->IsWindowEnabled() != FALSE, !c.switched || state == BST_CHECKED)
          << c.id << " " << state;
    EXPECT_EQ(m_albums[1]->GetAlbumEffect()->GetTitleSettings()->bEnabled, state == BST_CHECKED ? 1 : 0);
  }
}

// Texts reach the record with single line feeds and at most 10,239 bytes, cut between
// characters; they come back with carriage returns.
TEST_F(ThemePageTest, TextsAreStoredWithUnixLineEndsAndCappedBetweenCharacters) {
  struct Case {
    std::string typed;
    std::string stored;
  };
  const std::string euro = "\xE2\x82\xAC";
  const Case cases[] = {
      {"Line one\r\nLine two", "Line one\nLine two"},
      {std::string(10239, 'a'), std::string(10239, 'a')},
      {std::string(12000, 'b'), std::string(10239, 'b')},
      {std::string(10237, 'c') + euro, std::string(10237, 'c')},
      {std::string(10236, 'd') + euro, std::string(10236, 'd') + euro},
  };
  m_page.SetAlbum(m_albums[1]);
  for (const Case& c : cases) {
    Type(m_page.GetTitlePage(), c.typed);
    const char* stored = m_albums[1]->GetAlbumEffect()->GetTitleSettings()->szText;
    EXPECT_EQ(std::strlen(stored), c.stored.size());
    EXPECT_TRUE(std::string(stored) == c.stored) << c.typed.substr(0, 20);
  }
  Type(m_page.GetTitlePage(), "Line one\r\nLine two");
  m_page.SetAlbum(m_albums[0]);
  m_page.SetAlbum(m_albums[1]);
  EXPECT_EQ(Text(m_page.GetTitlePage(), IDC_TITLE_TEXT), "Line one\r\nLine two");
}

// A duration of 0 or less shows the default ten seconds.
TEST_F(ThemePageTest, ARecordWithoutDurationShowsTenSeconds) {
  for (int stored : {0, -3}) {
    m_page.SetAlbum(nullptr);
    m_albums[1]->GetAlbumEffect()->GetCreditSettings()->nDuration = stored;
    m_page.SetAlbum(m_albums[1]);
    EXPECT_EQ(Text(m_page.GetCreditPage(), IDC_TITLE_DURATION), "10") << stored;
  }
}
