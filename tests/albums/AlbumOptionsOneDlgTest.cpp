#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "albums/AlbumOptionsOneDlg.h"
#include "albums/AlbumOptionsRules.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Display.h"
#include "platform/user/Hooks.h"
#include "platform/user/MessageBox.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"
#include "shell/SkinMain.h"
#include "shell/SkinMinor.h"
#include "shell/TransitionList.h"
#include "tests/support/MessagePump.h"
#include "tests/support/PngPicture.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/Snapshot.h"

namespace {

using pictavo::test::PumpPending;

std::string Source(const std::string& part) {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source != nullptr ? source : ".") + "/" + part;
}
std::string Bin() {
  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  return bin != nullptr ? bin : ".";
}

// Every message box or dialog that opens is noted and cancelled at once.
struct SeenWindow {
  std::string caption;
  std::string text;
};
std::vector<SeenWindow> g_seen;
HHOOK g_hook = nullptr;
LRESULT CALLBACK AnswerWindows(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    char className[64] = {};
    GetClassName(box, className, sizeof className);
    if (std::string(className) != "#32770") return CallNextHookEx(g_hook, code, wParam, lParam);
    char text[512] = {}, caption[512] = {};
    GetWindowText(GetDlgItem(box, pictavo::user::kMessageBoxTextId), text, sizeof text);
    GetWindowText(box, caption, sizeof caption);
    g_seen.push_back({caption, text});
    PostMessage(box, WM_COMMAND, IDCANCEL, 0);
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

class AlbumOptionsOneDlgTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    pictavo::res::SetResourceRoot(Bin() + "/resources");
    InitCommonControls();
    pictavo::shell::SetLanguageRoot(Source("data"));
    g_skinMinor.Load(Source("data").c_str(), "zel_en.xml", FALSE);
    g_skinMain.Load(Source("data").c_str(), "zel_en.xml", FALSE);
    if (GetTransitionList()->GetSize() == 0) LoadBuiltInTransitions(Bin().c_str());
  }

  void SetUp() override {
    g_seen.clear();
    g_hook = SetWindowsHookEx(WH_CBT, AnswerWindows, nullptr, GetCurrentThreadId());
    pictavo::user::InjectMouseMove(POINT{1020, 760});
    ASSERT_TRUE(
        m_owner.CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), "",
                         WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 900, 560), nullptr, 0));
    // The page writes settings back only while the album editor's list holds albums.
    ASSERT_TRUE(m_albums.Create(WS_CHILD | LBS_NOTIFY, CRect(0, 0, 10, 10), &m_owner, 1072));
    m_albums.AddString("album");
    GetWindowRegistry()->m_pAlbumListBox = &m_albums;
    ASSERT_TRUE(m_page.Create(IDD_ALBUM_OPTIONS_ONE, &m_owner));
    m_page.MoveWindow(0, 0, 900, 560);
    m_page.ShowWindow(SW_SHOW);
    m_album = new CDVDAlbumImage(GetProject());
    m_album->Set_strAlbumName("Options test");
    for (const char* name : {"beach_landscape.jpg", "tower_portrait.jpg", "valley_large.jpg", "wide_panorama.jpg",
                             "bars_small.jpg"}) {
      auto* slide = new CDVDImage(m_album);
      slide->Put_strPathName(Source(std::string("samples/media/") + name).c_str());
      m_album->AddDVDImage(slide);
    }
    m_album->Set_nOneDuration(-1, 2);
    m_album->Set_nTwoDuration(-1, 4);
    GetProject()->AddAlbum(m_album);
    PumpPending();
  }

  void TearDown() override {
    m_page.SetAlbum(nullptr);
    m_page.DestroyWindow();
    GetWindowRegistry()->m_pAlbumListBox = nullptr;
    m_owner.DestroyWindow();
    if (GetProject()->IndexOfAlbum(m_album) >= 0) GetProject()->DeleteAlbum(m_album);
    PumpPending();
    UnhookWindowsHookEx(g_hook);
  }

  // Clips as the user would have them: back to back in the list's order.
  void AddClips(const std::vector<std::pair<std::string, int>>& clips) {
    int start = 0;
    for (const auto& [path, length] : clips) {
      _AUDIO_SOURCE entry;
      entry.strPathName = path.c_str();
      entry.nSourceLength = length;
      entry.nTrimEnd = length;
      entry.nStartPos = start;
      start += length;
      m_album->AddBackgroundMusic(entry);
    }
  }
  std::vector<int> Starts() const {
    std::vector<int> starts;
    for (int i = 0; i < m_album->GetMusicCount(); ++i) starts.push_back(m_album->GetMusic(i)->nStartPos);
    return starts;
  }
  std::string Text(UINT id) {
    CString text;
    m_page.GetDlgItemText(id, text);
    return text.GetString();
  }
  std::string Cell(int row, int column) { return m_page.GetMusicList().GetItemText(row, column).GetString(); }

  CWnd m_owner;
  CListBox m_albums;
  AlbumOptionsOneDlg m_page;
  CDVDAlbumImage* m_album = nullptr;
};

TEST_F(AlbumOptionsOneDlgTest, ShowsTheAlbumAndLooksFinished) {
  const std::string music = Source("samples/media/music.mp3");
  ASSERT_TRUE(m_album->AddBackgroundMusic(music.c_str())) << "run samples/make-samples.sh";
  m_page.SetAlbum(m_album);
  PumpPending();
  EXPECT_EQ(Text(IDC_OPTIONS_TRANSITION_DURATION), "2");
  EXPECT_EQ(Text(IDC_OPTIONS_PHOTO_DURATION), "4");
  EXPECT_EQ(Text(IDC_OPTIONS_SLIDESHOW_LENGTH), "0:00:30");  // five slides of 2 + 4 seconds
  EXPECT_EQ(Text(IDC_OPTIONS_MUSIC_LENGTH), std::string(FormatAlbumLength(m_album->GetMusicTimeLen())));
  ASSERT_EQ(m_page.GetMusicList().GetItemCount(), 1);
  EXPECT_EQ(Cell(0, 0), "music.mp3");
  EXPECT_EQ(Cell(0, 3), Source("samples/media"));
  // The row says the clip is heard in the slideshow.
  LVITEM row{};
  row.mask = LVIF_IMAGE;
  ASSERT_TRUE(m_page.GetMusicList().GetItem(&row));
  EXPECT_EQ(row.iImage, 2);
  CImageList* icons = m_page.GetMusicList().GetImageList(LVSIL_SMALL);
  ASSERT_NE(icons, nullptr);
  EXPECT_EQ(icons->GetImageCount(), 3);
  EXPECT_GT(m_page.GetTransitionListCtrl().GetItemCount(), 10);

  // Nothing is clipped: every visible control lies inside the page, and the controls of one box
  // inside that box.
  CRect page;
  m_page.GetClientRect(&page);
  for (CWnd* child = m_page.GetWindow(GW_CHILD); child != nullptr; child = child->GetWindow(GW_HWNDNEXT)) {
    if (!child->IsWindowVisible()) continue;
    CRect rc;
    child->GetWindowRect(&rc);
    m_page.ScreenToClient(&rc);
    EXPECT_TRUE(rc.left >= 0 && rc.top >= 0 && rc.right <= page.right && rc.bottom <= page.bottom)
        << child->GetDlgCtrlID();
    EXPECT_GT(rc.Width(), 0) << child->GetDlgCtrlID();
  }
  auto rectOf = [&](UINT id) {
    CRect rc;
    m_page.GetDlgItem(id)->GetWindowRect(&rc);
    m_page.ScreenToClient(&rc);
    return rc;
  };
  const CRect settings = rectOf(1103);
  for (UINT id : {1094u, 1095u, 1097u, 1098u, 1096u, 1099u, 1100u, 1101u, 1109u, 1107u, 1335u, 1108u, 1106u, 1334u,
                  1153u, 1154u, 1261u}) {
    CRect inside;
    EXPECT_TRUE(inside.IntersectRect(settings, rectOf(id)) && inside == rectOf(id)) << id;
  }
  const CRect musicBox = rectOf(1089);
  for (UINT id : {1087u, 1349u, 1354u, 1450u, 1452u}) {
    CRect inside;
    EXPECT_TRUE(inside.IntersectRect(musicBox, rectOf(id)) && inside == rectOf(id)) << id;
  }
  EXPECT_EQ(rectOf(IDC_OPTIONS_TIMELINE).Height(), 150);

  m_page.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpPending();
  EXPECT_FALSE(pictavo::test::SaveDesktopArea(RECT{0, 0, 900, 560}, "album-options.png").empty());
}

TEST_F(AlbumOptionsOneDlgTest, BothDurationsZeroGivesPhotoDurationOne) {
  m_page.SetAlbum(m_album);
  m_page.SetDlgItemText(IDC_OPTIONS_TRANSITION_DURATION, "0");
  EXPECT_EQ(m_album->Get_nOneDuration(-1), 0);
  m_page.SetDlgItemText(IDC_OPTIONS_PHOTO_DURATION, "0");
  EXPECT_EQ(m_album->Get_nTwoDuration(-1), 1);
  EXPECT_EQ(Text(IDC_OPTIONS_PHOTO_DURATION), "1");
  EXPECT_EQ(Text(IDC_OPTIONS_SLIDESHOW_LENGTH), "0:00:05");
  m_page.SetDlgItemText(IDC_OPTIONS_PHOTO_DURATION, "3");
  EXPECT_EQ(m_album->Get_nTwoDuration(-1), 3);
  EXPECT_EQ(Text(IDC_OPTIONS_SLIDESHOW_LENGTH), "0:00:15");
}

TEST_F(AlbumOptionsOneDlgTest, HidingWritesWhatTheUserChangedAndNothingStale) {
  m_page.SetAlbum(m_album);
  m_page.CheckDlgButton(IDC_OPTIONS_LOOP, BST_CHECKED);  // typed, not yet applied: the box was not clicked
  // Meanwhile another window gives the album another photo duration and turns the fade off.
  m_album->Set_nTwoDuration(-1, 7);
  m_album->Set_bMusicFadeInOut(FALSE);
  m_page.ShowWindow(SW_HIDE);
  EXPECT_EQ(m_album->Get_dwTransDurationType(), 0u);  // the user's change arrives
  EXPECT_EQ(m_album->Get_nTwoDuration(-1), 7);        // the stale control value does not
  EXPECT_FALSE(m_album->Get_bMusicFadeInOut());
  m_page.ShowWindow(SW_SHOW);
  EXPECT_EQ(Text(IDC_OPTIONS_PHOTO_DURATION), "7");

  // An album that left the project is never written.
  m_page.SetDlgItemText(IDC_OPTIONS_TRANSITION_DURATION, "9");
  EXPECT_EQ(m_album->Get_nOneDuration(-1), 9);
  GetProject()->m_arrAlbums.RemoveAt(GetProject()->IndexOfAlbum(m_album));
  m_page.GetDlgItem(IDC_OPTIONS_TRANSITION_DURATION)->SetWindowText("12");
  m_page.ShowWindow(SW_HIDE);
  EXPECT_EQ(m_album->Get_nOneDuration(-1), 9);
  GetProject()->AddAlbum(m_album);
}

TEST_F(AlbumOptionsOneDlgTest, RemovingAMusicRowKeepsTheOthersBackToBack) {
  const std::string music = Source("samples/media/music.mp3");
  AddClips({{music, 10000}, {music, 20000}, {music, 30000}});
  m_page.SetAlbum(m_album);
  ASSERT_EQ(m_page.GetMusicList().GetItemCount(), 3);
  EXPECT_EQ(Cell(1, 1), "20\" of 20\"");
  EXPECT_EQ(Cell(2, 2), "00:30 - 01:00");
  m_page.SelectMusicRow(1);
  m_page.SendMessage(WM_MUSIC_BAR_NOTIFY, 1, 0);
  EXPECT_EQ(Starts(), (std::vector<int>{0, 10000}));
  ASSERT_EQ(m_page.GetMusicList().GetItemCount(), 2);
  EXPECT_EQ(Cell(1, 2), "00:10 - 00:40");
  // Moving the first row up, or the last one down, changes nothing.
  m_page.SelectMusicRow(0);
  m_page.SendMessage(WM_MUSIC_BAR_NOTIFY, 2, 0);
  m_page.SelectMusicRow(1);
  m_page.SendMessage(WM_MUSIC_BAR_NOTIFY, 3, 0);
  EXPECT_EQ(Starts(), (std::vector<int>{0, 10000}));
  EXPECT_EQ(m_album->GetMusic(0)->GetClipLength(), 10000);
  m_page.SendMessage(WM_MUSIC_BAR_NOTIFY, 2, 0);  // the last moves up and takes the first start
  EXPECT_EQ(Starts(), (std::vector<int>{0, 30000}));
  EXPECT_EQ(m_album->GetMusic(0)->GetClipLength(), 30000);
  EXPECT_TRUE(g_seen.empty());
}

TEST_F(AlbumOptionsOneDlgTest, MusicWithoutALengthIsNeverTrimmed) {
  pictavo::test::ScratchDir folder;
  AddClips({{Source("samples/media/music.mp3"), 0}, {(folder.Path() + "/gone.mp3"), 5000}});
  m_page.SetAlbum(m_album);
  EXPECT_EQ(Cell(1, 1), "???");
  EXPECT_EQ(Cell(1, 2), "???");
  m_page.SelectMusicRow(0);
  m_page.SendMessage(WM_MUSIC_BAR_NOTIFY, 4, 0);  // trim
  m_page.SendMessage(WM_MUSIC_BAR_NOTIFY, 5, 0);  // play
  ASSERT_EQ(g_seen.size(), 2u);
  for (const SeenWindow& seen : g_seen) {
    EXPECT_EQ(seen.caption, "Invalid File");
    EXPECT_NE(seen.text.find("music.mp3"), std::string::npos);
  }
  // Without a row, or without an album, the commands say so and change nothing.
  g_seen.clear();
  m_page.GetMusicList().SetItemState(0, 0, LVIS_SELECTED);
  m_page.SendMessage(WM_MUSIC_BAR_NOTIFY, 1, 0);
  m_page.SetAlbum(nullptr);
  m_page.SendMessage(WM_MUSIC_BAR_NOTIFY, 0, 0);
  ASSERT_EQ(g_seen.size(), 2u);
  EXPECT_EQ(g_seen[0].text, "Please select a music file at first!");
  EXPECT_EQ(g_seen[1].text, "Please select an album at first!");
  EXPECT_EQ(m_album->GetMusicCount(), 2);
  EXPECT_EQ(Text(IDC_OPTIONS_MUSIC_LENGTH), "0:00:00");
  EXPECT_EQ(Text(IDC_OPTIONS_PHOTO_DURATION), "4");  // the last album's values stay shown
}

TEST_F(AlbumOptionsOneDlgTest, AddedMusicFollowsTheSizeRuleAndReplacesTheDefault) {
  pictavo::test::ScratchDir folder;
  const std::string small = folder.Path() + "/small.mp3";
  std::filesystem::copy_file(Source("samples/media/music.mp3"), folder.Path() + "/default.mp3");
  {
    std::FILE* f = std::fopen(small.c_str(), "wb");
    std::fwrite(std::string(30720, 'x').data(), 1, 30720, f);
    std::fclose(f);
  }
  m_album->AddBackgroundMusic((folder.Path() + "/default.mp3").c_str());
  m_page.SetAlbum(m_album);
  const std::string music = Source("samples/media/music.mp3");
  EXPECT_EQ(m_page.AddMusicPaths({small.c_str(), music.c_str(), (folder.Path() + "/missing.mp3").c_str(),
                                  music.c_str()},
                                 TRUE),
            2);
  ASSERT_EQ(g_seen.size(), 1u);  // the small file; the missing one is skipped without a word
  EXPECT_EQ(g_seen[0].text, "The file " + small + " is corrupt or the size is too small.");
  ASSERT_EQ(m_album->GetMusicCount(), 2);  // the default music was replaced
  EXPECT_EQ(std::string(m_album->GetMusic(0)->strPathName.GetString()), music);
  EXPECT_EQ(m_album->GetMusic(1)->nStartPos, m_album->GetMusic(0)->GetClipLength());

  // A path posted by another window: the page frees it and adds the file.
  char* posted = new char[music.size() + 1];
  std::memcpy(posted, music.c_str(), music.size() + 1);
  EXPECT_EQ(m_page.SendMessage(WM_ADD_MUSIC_FILE, reinterpret_cast<WPARAM>(posted), 0), 0);
  EXPECT_EQ(m_album->GetMusicCount(), 3);
  EXPECT_EQ(m_page.GetMusicList().GetItemCount(), 3);
  EXPECT_EQ(m_page.GetSelectedMusicRow(), 2);
}

}  // namespace
