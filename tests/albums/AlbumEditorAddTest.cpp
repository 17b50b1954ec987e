// The album editor's other add roads on the headless display: music through the size rule, files
// dropped from the desktop (photos, clips, folders with their one question; music ignored; paths
// kept whole and in their case), and video clips into "My Video Clips" with the message for a
// file the data model can't read.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "albums/AlbumEditorDlg.h"
#include "albums/ExploreBarDlg.h"
#include "albums/VideoAlbumPage.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDProject.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/res/ResourceModule.h"
#include "platform/shellapi/DragDrop.h"
#include "shell/ProcessObjects.h"
#include "tests/albums/AlbumEditorFixture.h"
#include "tests/support/MessagePump.h"

using namespace shelltest;
namespace fs = std::filesystem;

namespace {

// A silent 16-bit stereo WAV file of exactly `bytes` bytes (the data chunk whole sample frames,
// padded with zeros to the size).
void WriteWav(const fs::path& path, size_t bytes) {
  fs::create_directories(path.parent_path());
  const uint32_t data = static_cast<uint32_t>((bytes - 44) / 4 * 4);
  std::vector<char> file(bytes, '\0');
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>(v >> (8 * i));
  };
  auto put16 = [&](size_t at, uint16_t v) {
    file[at] = static_cast<char>(v);
    file[at + 1] = static_cast<char>(v >> 8);
  };
  std::copy_n("RIFF", 4, file.begin());
  put32(4, 36 + data);
  std::copy_n("WAVEfmt ", 8, file.begin() + 8);
  put32(16, 16);
  put16(20, 1);
  put16(22, 2);
  put32(24, 44100);
  put32(28, 44100 * 4);
  put16(32, 4);
  put16(34, 16);
  std::copy_n("data", 4, file.begin() + 36);
  put32(40, data);
  std::ofstream(path, std::ios::binary).write(file.data(), static_cast<std::streamsize>(file.size()));
}

// The first `bytes` bytes of the sample music.
void WriteMp3(const fs::path& path, size_t bytes) {
  fs::create_directories(path.parent_path());
  std::ifstream in(fs::path(std::getenv("PICTAVO_SOURCE_DIR")) / "samples/media/music.mp3", std::ios::binary);
  std::vector<char> head(bytes);
  in.read(head.data(), static_cast<std::streamsize>(bytes));
  std::ofstream(path, std::ios::binary).write(head.data(), in.gcount());
}

// A question of the program answered the moment it shows: the first visible window with a child
// whose text holds `needle`; how often it came and what it said.
struct Answer {
  const char* needle = "";
  bool yes = false;
  int asked = 0;
  std::string text;
} g_answer;

BOOL CALLBACK FindNeedle(HWND child, LPARAM found) {
  char text[2048] = {};
  GetWindowText(child, text, sizeof text);
  if (std::string(text).find(g_answer.needle) == std::string::npos) return TRUE;
  *reinterpret_cast<std::string*>(found) = text;
  return FALSE;
}

BOOL CALLBACK AnswerIfAsked(HWND top, LPARAM) {
  if (!IsWindowVisible(top)) return TRUE;
  std::string text;
  EnumChildWindows(top, FindNeedle, reinterpret_cast<LPARAM>(&text));
  if (text.empty()) return TRUE;
  ++g_answer.asked;
  g_answer.text = text;
  char title[256] = {};
  GetWindowText(top, title, sizeof title);
  // The folder dialog answers with OK and Cancel, a message box with Yes and No.
  const bool dialog = std::string(title) == "Add photos of a directory to the album";
  PostMessage(top, WM_COMMAND, g_answer.yes ? (dialog ? IDOK : IDYES) : (dialog ? IDCANCEL : IDNO), 0);
  ShowWindow(top, SW_HIDE);
  return FALSE;
}

void CALLBACK AnswerQuestion(HWND, UINT, UINT_PTR, DWORD) {
  EnumWindows(AnswerIfAsked, 0);
}

class AlbumEditorAddTest : public albumtest::AlbumEditorFixture {
 protected:
  void Drop(const std::vector<std::string>& paths) {
    HDROP drop = pictavo::shell::MakeDrop(POINT{10, 10}, FALSE, paths);
    ASSERT_NE(drop, nullptr);
    editor.OnDropFiles(drop);
  }
  // The music paths of an album, without the folder.
  static std::vector<std::string> MusicNames(CDVDAlbumImage* album) {
    std::vector<std::string> names;
    for (int i = 0; album != nullptr && i < album->GetMusicCount(); ++i)
      names.push_back(fs::path(album->GetMusic(i)->strPathName.GetString()).filename().string());
    return names;
  }
  static std::vector<std::string> SlidePaths(CDVDAlbumImage* album) {
    std::vector<std::string> paths;
    for (int i = 0; album != nullptr && i < album->GetImageCount(); ++i)
      paths.push_back(album->GetImage(i)->Get_strPathName().GetString());
    return paths;
  }
  static CDVDAlbumImage* PhotoAlbum(int index) {
    CDVDProject* project = GetProject();
    if (index >= project->GetAlbumCount()) return nullptr;
    CDVDAlbumBase* album = project->GetAlbum(index);
    return album->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage)) ? static_cast<CDVDAlbumImage*>(album) : nullptr;
  }
};

TEST_F(AlbumEditorAddTest, MusicIsTakenOnlyPastItsSizeLimit) {
  struct Case {
    const char* name;
    size_t bytes;
    bool wav;
    bool taken;
  };
  const Case cases[] = {
      {"song.WAV", 307200, true, false}, {"song2.WAV", 307201, true, true},
      {"short.wav", 30721, true, false}, {"tune.mp3", 30720, false, false},
      {"tune2.mp3", 30721, false, true}, {"Mixed Case.MP3", 40000, false, true},
  };
  editor.NewPhotoAlbum("Songs");
  CDVDAlbumImage* album = editor.GetCurrentImageAlbum();
  ASSERT_NE(album, nullptr);
  album->RemoveAllBackgroundMusic();
  std::vector<std::string> expected;
  for (const Case& c : cases) {
    const fs::path path = files / "music" / c.name;
    c.wav ? WriteWav(path, c.bytes) : WriteMp3(path, c.bytes);
    EXPECT_TRUE(editor.AddMusicFile(path.c_str(), FALSE, TRUE)) << c.name;
    if (c.taken) expected.push_back(c.name);
    EXPECT_EQ(MusicNames(album), expected) << c.name << " " << c.bytes;
  }
  // A file that is not there, and one whose status can't be read, are skipped too.
  EXPECT_TRUE(editor.AddMusicFile((files / "music/gone.mp3").c_str(), FALSE, TRUE));
  EXPECT_EQ(MusicNames(album), expected);
}

TEST_F(AlbumEditorAddTest, MusicGoesOnlyToAPhotoAlbumAndMakesOneWhenThereIsNone) {
  const fs::path song = files / "song.WAV";
  WriteWav(song, 307201);
  // No album: a photo album is made and takes the music.
  ASSERT_TRUE(editor.AddMusicFile(song.c_str(), FALSE, TRUE));
  ASSERT_EQ(GetProject()->GetAlbumCount(), 1);
  EXPECT_EQ(MusicNames(PhotoAlbum(0)).back(), "song.WAV");
  const int before = PhotoAlbum(0)->GetMusicCount();
  // A video album selected: nothing is added, and the answer is still TRUE.
  ASSERT_NE(editor.NewVideoAlbum(nullptr), nullptr);
  EXPECT_TRUE(editor.AddMusicFile(song.c_str(), FALSE, TRUE));
  EXPECT_EQ(PhotoAlbum(0)->GetMusicCount(), before);
  // Into a slot: the album in it, made on demand.
  CDVDAlbumBase* slot = nullptr;
  ASSERT_TRUE(editor.AddMusicToAlbum(&slot, song.c_str(), FALSE, TRUE));
  ASSERT_NE(slot, nullptr);
  EXPECT_TRUE(slot->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage)));
  EXPECT_EQ(MusicNames(static_cast<CDVDAlbumImage*>(slot)).back(), "song.WAV");
}

TEST_F(AlbumEditorAddTest, DesktopDropsAskOnceForFoldersAndKeepPathsAsTheyAre) {
  // Two folders of photos, loose photos with mixed case, a music file and a path longer than
  // 260 bytes.
  Touch(files / "Rome" / "a.jpg");
  Touch(files / "Oslo" / "b.jpg");
  const std::string loose = Touch(files / "Loose" / "IMG_0001.JPG");
  const std::string twin = Touch(files / "Loose" / "img_0001.jpg");
  fs::path deep = files / "Deep";
  while (deep.string().size() < 300) deep /= "a-rather-long-folder-name";
  const std::string far = Touch(deep / "Far.Jpg");
  const fs::path song = files / "song.WAV";
  WriteWav(song, 307201);
  const UINT_PTR answering = SetTimer(nullptr, 0, 20, &AnswerQuestion);
  struct Case {
    bool yes;
    std::vector<std::string> drop;
    int questions;
    std::vector<std::string> slides;  // of the album made
  };
  const Case cases[] = {
      // No: neither folder, but the photos of the same drop.
      {false,
       {(files / "Rome").string(), (files / "Oslo").string(), loose, twin, far, song.string()},
       1,
       {loose, twin, far}},
      // Yes: both folders' photos, the question once.
      {true,
       {(files / "Rome").string(), (files / "Oslo").string()},
       1,
       {(files / "Rome/a.jpg").string(), (files / "Oslo/b.jpg").string()}},
      // Music from the desktop is not taken.
      {true, {song.string()}, 0, {}},
  };
  for (const Case& c : cases) {
    editor.NewProject();
    g_answer = Answer{"Do you want to add photos of", c.yes};
    Drop(c.drop);
    pictavo::test::PumpPending();
    EXPECT_EQ(g_answer.asked, c.questions) << c.drop.size();
    if (c.questions > 0) EXPECT_NE(g_answer.text.find(c.drop[0]), std::string::npos) << g_answer.text;
    std::vector<std::string> slides;
    for (int i = 0; i < GetProject()->GetAlbumCount(); ++i)
      for (const std::string& path : SlidePaths(PhotoAlbum(i))) slides.push_back(path);
    EXPECT_EQ(slides, c.slides);
    if (c.slides.empty()) EXPECT_EQ(GetProject()->GetAlbumCount(), 0);
  }
  KillTimer(nullptr, answering);
}

TEST_F(AlbumEditorAddTest, DroppedClipsGoToMyVideoClipsAndUnreadableOnesAreReportedByName) {
  const fs::path clip = SampleClip(files / "Videos" / "Trip Clip.MP4");
  const std::string bad = Touch(files / "Videos" / "Clip.MOV");
  g_answer = Answer{"is not supported yet", false};
  const UINT_PTR answering = SetTimer(nullptr, 0, 20, &AnswerQuestion);
  Drop({clip.string(), bad, clip.string()});
  pictavo::test::PumpPending();
  KillTimer(nullptr, answering);
  ASSERT_EQ(GetProject()->GetAlbumCount(), 1);
  CDVDAlbumMovie* album = editor.GetCurrentMovieAlbum();
  ASSERT_NE(album, nullptr);
  EXPECT_STREQ(album->Get_strAlbumName(), "My Video Clips");
  ASSERT_EQ(album->Get_nVideoItemCount(), 2) << "the refused one is left out, the batch goes on";
  EXPECT_EQ(std::string(album->Get_pVideoItemData(0)->strPathName.GetString()), clip.string());
  EXPECT_EQ(album->Get_pVideoItemData(0)->GetPlayLength(), 6000u);
  EXPECT_EQ(g_answer.asked, 1);
  EXPECT_NE(g_answer.text.find("The media file(Clip.MOV) is not supported yet!"), std::string::npos)
      << g_answer.text;
  // The clip page shows them.
  EXPECT_EQ(editor.GetVideoAlbumSheet()->GetClipPage()->GetListCtrl().GetItemCount(), 2);
}

}  // namespace
