// The album editor on the headless display: albums made on demand are named after the photos'
// folder and kept in the project's order, folder imports take the photos of a folder with or
// without its subfolders, batch collect makes one album per folder ticked in its dialog, and the
// commands on the current album keep the list, the selection and the slides in step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "albums/AlbumEditorDlg.h"
#include "albums/AlbumMessages.h"
#include "albums/AlbumPhotoDlg.h"
#include "albums/ExploreBarDlg.h"
#include "albums/SmallAlbumDialogs.h"
#include "controls/ShellFolderTree.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDProject.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/kernel/FileFind.h"
#include "platform/kernel/Path.h"
#include "platform/res/ResourceModule.h"
#include "shell/AppSettings.h"
#include "shell/ProcessObjects.h"
#include "shell/SkinMinor.h"
#include "tests/albums/AlbumEditorFixture.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Snapshot.h"

using namespace shelltest;
namespace fs = std::filesystem;

namespace {

class AlbumEditorTest : public albumtest::AlbumEditorFixture {
 protected:
  std::vector<std::string> AlbumNames() {
    std::vector<std::string> names;
    CDVDProject* project = GetProject();
    for (int i = 0; i < project->GetAlbumCount(); ++i)
      names.push_back(project->GetAlbum(i)->Get_strAlbumName().GetString());
    return names;
  }
  std::vector<std::string> SlideNames(CDVDAlbumImage* album) {
    std::vector<std::string> names;
    for (int i = 0; album != nullptr && i < album->GetImageCount(); ++i)
      names.push_back(
          std::string(pictavo::path::FileName(album->GetImage(i)->Get_strPathName().GetString())));
    return names;
  }
  // The list's items point at the project's albums in the project's order.
  void ExpectListMirrorsProject() {
    CDVDProject* project = GetProject();
    ASSERT_EQ(editor.GetAlbumList().GetCount(), project->GetAlbumCount());
    for (int i = 0; i < project->GetAlbumCount(); ++i)
      EXPECT_EQ(editor.GetAlbumList().GetItemDataPtr(i), project->GetAlbum(i)) << i;
  }
  CListCtrl& Rows() { return editor.GetAlbumSheet().GetPhotoPage().GetListCtrl(); }
  void SelectRows(std::initializer_list<int> rows) {
    for (int i = 0; i < Rows().GetItemCount(); ++i) Rows().SetItemState(i, 0, LVIS_SELECTED);
    for (int row : rows) Rows().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
  }

  const fs::path photos{scratch.Path()};
};

TEST_F(AlbumEditorTest, PhotosWithoutAnAlbumGoToOneNamedAfterTheirFolder) {
  CDVDAlbumBase* slot = nullptr;
  for (const char* name : {"b.jpg", "a.JPG", "c.png"})
    ASSERT_TRUE(
        editor.AddPhotoFile(&slot, Touch(photos / "Trips" / "Rome" / name).c_str(), nullptr, nullptr));
  EXPECT_EQ(AlbumNames(), std::vector<std::string>({"Rome"}));
  EXPECT_EQ(SlideNames(editor.GetCurrentImageAlbum()), std::vector<std::string>({"b.jpg", "a.JPG", "c.png"}));
  EXPECT_EQ(editor.GetAddedImages().GetSize(), 3);
  // A given name wins; a new batch with an empty slot makes a second album.
  CDVDAlbumBase* second = nullptr;
  ASSERT_TRUE(editor.AddPhotoFile(&second, Touch(photos / "x" / "d.jpg").c_str(), nullptr, "Named"));
  EXPECT_EQ(AlbumNames().size(), 2u);
  ExpectListMirrorsProject();
}

TEST_F(AlbumEditorTest, ManyPhotosGoInByStepsAndStopWhenTheProjectChanges) {
  constexpr int kFiles = 600;
  std::vector<CString> paths;
  std::vector<std::string> names;
  for (int i = 0; i < kFiles; ++i) {
    names.push_back("p" + std::to_string(1000 + i) + ".jpg");
    paths.emplace_back(Touch(photos / "Many" / names.back()).c_str());
  }
  const struct {
    const char* between;  // what happens after the first step
    size_t slides;        // in the project's albums at the end
  } cases[] = {{"nothing", kFiles}, {"new project", 0}, {"project reloaded", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.between);
    editor.NewProject();
    editor.AddPhotoFiles(paths);
    // The call returns after the first step: the window answers before the batch is in.
    ASSERT_TRUE(editor.IsAddingPhotoFiles());
    ASSERT_NE(editor.GetCurrentImageAlbum(), nullptr);
    EXPECT_LT(editor.GetCurrentImageAlbum()->GetImageCount(), kFiles);
    if (std::string(c.between) == "new project") editor.NewProject();
    if (std::string(c.between) == "project reloaded") {
      editor.SendMessage(WM_PROJECT_RELOADED);
      editor.NewProject();
    }
    ASSERT_TRUE(pictavo::test::PumpUntil([&] { return !editor.IsAddingPhotoFiles(); }, 30000));
    pictavo::test::PumpPending();
    size_t slides = 0;
    for (int i = 0; i < GetProject()->GetAlbumCount(); ++i)
      if (auto* album = dynamic_cast<CDVDAlbumImage*>(GetProject()->GetAlbum(i)))
        slides += static_cast<size_t>(album->GetImageCount());
    EXPECT_EQ(slides, c.slides);
    if (c.slides == 0) continue;
    EXPECT_EQ(AlbumNames(), std::vector<std::string>({"Many"}));
    EXPECT_EQ(SlideNames(editor.GetCurrentImageAlbum()), names);
    EXPECT_EQ(Rows().GetItemCount(), kFiles);
    EXPECT_EQ(static_cast<int>(Rows().GetSelectedCount()), kFiles);
  }
}

TEST_F(AlbumEditorTest, AnAlbumMadeOnDemandGoesAtTheEndWhileAnotherIsActive) {
  editor.NewPhotoAlbum("One");
  editor.NewPhotoAlbum("Two");
  editor.GetAlbumList().SetCurSel(0);
  editor.ApplyAlbumSelection(TRUE, TRUE);
  editor.NewVideoAlbum("Clips");
  CDVDAlbumBase* slot = nullptr;
  editor.AddPhotoFile(&slot, Touch(photos / "Four" / "a.jpg").c_str(), nullptr, nullptr);
  EXPECT_EQ(AlbumNames(), std::vector<std::string>({"Two", "One", "Clips", "Four"}));
  ExpectListMirrorsProject();
  EXPECT_EQ(editor.GetSelectedAlbum(), slot);
  EXPECT_EQ(editor.GetActiveAlbumIndex(), 3);
}

TEST_F(AlbumEditorTest, NewAlbumBeforeTheActiveOneAndDeleteSelectsTheNext) {
  for (const char* name : {"A", "B", "C", "D"}) {
    editor.SetActiveAlbumIndex(-1);
    editor.NewPhotoAlbum(name);
  }
  EXPECT_EQ(AlbumNames(), std::vector<std::string>({"A", "B", "C", "D"}));
  editor.GetAlbumList().SetCurSel(1);
  editor.ApplyAlbumSelection(TRUE, TRUE);
  editor.NewPhotoAlbum("");
  EXPECT_EQ(AlbumNames(), std::vector<std::string>({"A", "My Photo Album", "B", "C", "D"}));
  EXPECT_EQ(editor.GetActiveAlbumIndex(), 1);
  ExpectListMirrorsProject();
  ASSERT_NE(editor.NewVideoAlbum(nullptr), nullptr);
  EXPECT_EQ(editor.GetActiveAlbumIndex(), 5);
  EXPECT_NE(editor.GetCurrentMovieAlbum(), nullptr);
  EXPECT_EQ(editor.GetVideoAlbumSheet()->GetMovieAlbum(), editor.GetCurrentMovieAlbum());
  ExpectListMirrorsProject();
}

TEST_F(AlbumEditorTest, FolderImportTakesPhotosWithOrWithoutSubfolders) {
  const fs::path root = photos / "Holiday";
  Touch(root / "1.jpg");
  Touch(root / "2.JPEG");
  Touch(root / "notes.txt");
  Touch(root / "x.jpg.txt");
  Touch(root / ".hidden.jpg");
  Touch(root / "holiday.jpg" / "3.png");  // a folder named like a photo
  Touch(root / "Day 2" / "4.bmp");
  struct Case {
    bool subfolders;
    std::vector<std::string> slides;
  };
  const Case cases[] = {{false, {"1.jpg", "2.JPEG"}}, {true, {"1.jpg", "2.JPEG", "4.bmp", "3.png"}}};
  for (const Case& c : cases) {
    editor.NewProject();
    CDVDAlbumImage* album = nullptr;
    CDVDAlbumMovie* video = nullptr;
    EXPECT_TRUE(panel.AddFolderToAlbum(root.c_str(), album, video, c.subfolders, nullptr, nullptr));
    ASSERT_NE(album, nullptr);
    EXPECT_EQ(AlbumNames(), std::vector<std::string>({"Holiday"})) << c.subfolders;
    EXPECT_EQ(SlideNames(album), c.slides) << c.subfolders;
  }
}

TEST_F(AlbumEditorTest, BatchCollectMakesOneAlbumPerFolderWithPhotos) {
  Touch(photos / "Rome" / "a.jpg");
  Touch(photos / "Rome" / "Inner" / "b.jpg");
  Touch(photos / "Empty" / "readme.txt");
  Touch(photos / "Paris" / "c.png");
  CStringArray folders;
  for (const char* name : {"Rome", "Empty", "Paris"}) folders.Add((photos / name).c_str());
  CDVDAlbumBase* last = nullptr;
  EXPECT_TRUE(panel.AddFoldersAsAlbums(folders, last));
  EXPECT_EQ(AlbumNames(), std::vector<std::string>({"Rome", "Paris"}));
  ASSERT_NE(last, nullptr);
  EXPECT_STREQ(last->Get_strAlbumName(), "Paris");
  EXPECT_EQ(SlideNames(static_cast<CDVDAlbumImage*>(GetProject()->GetAlbum(0))),
            std::vector<std::string>({"a.jpg"}));
  ExpectListMirrorsProject();
}

TEST_F(AlbumEditorTest, RemovingSlidesRenumbersSelectsTheNextAndLeavesNoDanglingSlide) {
  CDVDAlbumBase* slot = nullptr;
  for (const char* name : {"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg"})
    editor.AddPhotoFile(&slot, Touch(photos / "Five" / name).c_str(), nullptr, nullptr);
  editor.RefreshPhotoList(TRUE);
  auto* album = static_cast<CDVDAlbumImage*>(slot);
  ASSERT_EQ(Rows().GetItemCount(), 5);
  album->Set_pAlbumImage(album->GetImage(1));
  album->m_pCurImage = album->GetImage(2);
  const CDVDImage* removedCurrent = album->m_pCurImage;
  SelectRows({1, 2});
  editor.RemoveSelectedPhotos();
  EXPECT_EQ(SlideNames(album), std::vector<std::string>({"1.jpg", "4.jpg", "5.jpg"}));
  ASSERT_EQ(Rows().GetItemCount(), 3);
  EXPECT_EQ(Rows().GetNextItem(-1, LVNI_SELECTED), 1);
  for (int row = 0; row < 3; ++row) {
    CString expected;
    expected.Format("%02d", row + 1);
    EXPECT_STREQ(Rows().GetItemText(row, 0), expected) << row;
  }
  EXPECT_EQ(album->Get_pAlbumImage(), album->GetImage(0));  // the removed cover is replaced
  // The removed current slide is gone: none, or one the album still holds.
  EXPECT_TRUE(album->m_pCurImage == nullptr || album->IndexOf(album->m_pCurImage) >= 0);
  EXPECT_NE(album->m_pCurImage, removedCurrent);
  for (INT_PTR i = 0; i < editor.GetAddedImages().GetSize(); ++i)
    EXPECT_GE(album->IndexOf(editor.GetAddedImages()[i]), 0);
}

TEST_F(AlbumEditorTest, RotatingSelectedSlidesStaysWithinATurnAndReordersFollowTheRows) {
  CDVDAlbumBase* slot = nullptr;
  for (const char* name : {"1.jpg", "2.jpg", "3.jpg"})
    editor.AddPhotoFile(&slot, Touch(photos / "Three" / name).c_str(), nullptr, nullptr);
  editor.RefreshPhotoList(TRUE);
  auto* album = static_cast<CDVDAlbumImage*>(slot);
  SelectRows({0});
  for (int i = 0; i < 4; ++i) editor.RotateSelectedPhotos(90);
  EXPECT_EQ(album->GetImage(0)->Get_nRotateAngle(), 0);
  SelectRows({0, 2});
  editor.RotateSelectedPhotos(270);
  EXPECT_EQ(album->GetImage(0)->Get_nRotateAngle(), 270);
  EXPECT_EQ(album->GetImage(1)->Get_nRotateAngle(), 0);
  EXPECT_EQ(album->GetImage(2)->Get_nRotateAngle(), 270);
  // The rows' order becomes the album's.
  CDVDImage* first = album->GetImage(0);
  Rows().DeleteItem(0);
  Rows().InsertItem(2, "03");
  Rows().SetItemData(2, reinterpret_cast<DWORD_PTR>(first));
  EXPECT_TRUE(editor.RearrangeToViewOrder());
  EXPECT_EQ(SlideNames(album), std::vector<std::string>({"2.jpg", "3.jpg", "1.jpg"}));
}

// Batch collect as a user runs it: once the dialog shows, tick two folders in its tree, leave a
// snapshot and press the buttons (Cancel right after OK lands while the folder walk runs).
struct BatchCollectAnswer {
  std::vector<std::string> tick;
  std::vector<UINT> buttons;
  bool done = false;
  bool ticked = false;
  std::string snapshot;
  bool saved = false;
} g_batch;
void CALLBACK AnswerBatchCollect(HWND, UINT, UINT_PTR, DWORD) {
  const HWND dialog = FindWindow(nullptr, "Batch Collect");
  if (g_batch.done || dialog == nullptr || !IsWindowVisible(dialog)) return;
  g_batch.done = true;
  auto* tree =
      dynamic_cast<CFolderCheckTree*>(CWnd::FromHandlePermanent(GetDlgItem(dialog, IDC_BATCH_FOLDER_TREE)));
  g_batch.ticked = tree != nullptr;
  for (const std::string& folder : g_batch.tick) {
    if (tree == nullptr || !tree->SelectPath(folder.c_str())) {
      g_batch.ticked = false;
      continue;
    }
    tree->CheckSelected();
    g_batch.ticked = g_batch.ticked && tree->IsChecked(tree->GetSelectedItem());
  }
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  if (!g_batch.snapshot.empty() && pictavo::display::Headless() != nullptr)
    g_batch.saved =
        pictavo::display::Headless()->SaveSnapshot(pictavo::test::SnapshotPath(g_batch.snapshot), dialog);
  for (UINT button : g_batch.buttons) PostMessage(dialog, WM_COMMAND, button, 0);
}

TEST_F(AlbumEditorTest, BatchCollectDialogTurnsTheTickedFoldersIntoAlbums) {
  if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());  // for the snapshot
  Touch(photos / "Rome" / "a.jpg");
  Touch(photos / "Rome" / "b.png");
  Touch(photos / "Paris" / "c.jpg");
  Touch(photos / "Oslo" / "d.jpg");  // not ticked
  const UINT_PTR ticking = SetTimer(nullptr, 0, 20, &AnswerBatchCollect);
  struct Run {
    std::vector<UINT> buttons;
    std::vector<std::string> albums;
    const char* snapshot;
  };
  const Run runs[] = {{{IDCANCEL}, {}, ""},
                      {{IDOK, IDCANCEL}, {}, ""},
                      {{IDOK}, {"Paris", "Rome"}, "album_batch_collect.png"}};
  for (const Run& run : runs) {
    g_batch = {{(photos / "Rome").string(), (photos / "Paris").string()},
               run.buttons,
               false,
               false,
               run.snapshot,
               false};
    editor.SendMessage(WM_COMMAND, 32820, 0);
    EXPECT_TRUE(g_batch.done);
    EXPECT_TRUE(g_batch.ticked);
    EXPECT_EQ(g_batch.saved, *run.snapshot != '\0');
    std::vector<std::string> names = AlbumNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, run.albums);
  }
  KillTimer(nullptr, ticking);
  ExpectListMirrorsProject();
  // The last album made is selected and its photos are in the photo list.
  const int last = editor.GetAlbumList().GetCount() - 1;
  ASSERT_GE(last, 0);
  EXPECT_EQ(editor.GetAlbumList().GetCurSel(), last);
  auto* album = static_cast<CDVDAlbumImage*>(editor.GetAlbumList().GetItemDataPtr(last));
  ASSERT_NE(album, nullptr);
  std::vector<std::string> slides = SlideNames(album);
  std::sort(slides.begin(), slides.end());
  EXPECT_EQ(slides, std::string(album->Get_strAlbumName().GetString()) == "Rome"
                        ? std::vector<std::string>({"a.jpg", "b.png"})
                        : std::vector<std::string>({"c.jpg"}));
  EXPECT_EQ(Rows().GetItemCount(), static_cast<int>(slides.size()));
}

// The album properties as a user fills them: once the dialog shows, what it offers is read, the
// name and charset changed as asked, a snapshot left, and OK pressed.
struct PropertiesAnswer {
  const char* name = nullptr;  // typed into the name edit, or null
  int charset = -1;            // chosen, or -1
  const char* snapshot = "";
  bool done = false;
  std::string shownSize;
  int shownFont = -2;
  int fonts = 0;
} g_properties;
void CALLBACK AnswerProperties(HWND, UINT, UINT_PTR, DWORD) {
  const HWND dialog = FindWindow(nullptr, "Album Properties");
  if (g_properties.done || dialog == nullptr || !IsWindowVisible(dialog)) return;
  g_properties.done = true;
  char text[64] = {};
  GetDlgItemText(dialog, IDC_ALBUM_FONT_SIZE, text, sizeof text);
  g_properties.shownSize = text;
  const HWND fonts = GetDlgItem(dialog, IDC_ALBUM_FONT_LIST);
  g_properties.shownFont = static_cast<int>(SendMessage(fonts, CB_GETCURSEL, 0, 0));
  g_properties.fonts = static_cast<int>(SendMessage(fonts, CB_GETCOUNT, 0, 0));
  if (g_properties.name != nullptr) SetDlgItemText(dialog, IDC_ALBUM_NAME_EDIT, g_properties.name);
  if (g_properties.charset >= 0)
    SendDlgItemMessage(dialog, IDC_ALBUM_CHARSET_LIST, CB_SETCURSEL, g_properties.charset, 0);
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  if (*g_properties.snapshot != '\0' && pictavo::display::Headless() != nullptr)
    pictavo::display::Headless()->SaveSnapshot(pictavo::test::SnapshotPath(g_properties.snapshot), dialog);
  PostMessage(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(AlbumEditorTest, AlbumPropertiesRenameAndSetTheSubtitleFontAndItsDefault) {
  if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());  // for the snapshot
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  g_skinMinor.Load((std::string(source != nullptr ? source : ".") + "/data").c_str(), "zel_en.xml", FALSE);
  // A real font file, named with its letters' case swapped: it is still the one shown chosen.
  CFileFind find;
  ASSERT_TRUE(find.FindFile(CDVDSubtitleFont::GetSystemFontDirectory() + "/*.ttf"));
  find.FindNextFile();
  std::string swapped = find.GetFilePath().GetString();
  for (char& c : swapped) c = std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c) : std::toupper(c);
  const struct {
    int storedSize;
    std::string storedFont;
    const char* name;
    int charset;
    const char* shownSize;
    bool fontShown;
    const char* albumName;
    const char* snapshot;
  } cases[] = {
      {10, "", nullptr, -1, "16", false, "Trip", ""},
      {50, swapped, "Summer", 1, "36", true, "Summer", "album_properties.png"},
  };
  for (const auto& c : cases) {
    editor.NewProject();
    editor.NewPhotoAlbum("Trip");
    CDVDAlbumBase* album = editor.GetSelectedAlbum();
    ASSERT_NE(album, nullptr);
    album->GetDVDSubtitleFont().Set_nFontSize(c.storedSize);
    album->GetDVDSubtitleFont().Set_strFontFileName(c.storedFont.c_str());
    const CString charsetBefore = album->GetDVDSubtitleFont().Get_strCharset();
    g_properties = PropertiesAnswer{c.name, c.charset, c.snapshot};
    const UINT_PTR ticking = SetTimer(nullptr, 0, 20, &AnswerProperties);
    editor.SendMessage(WM_COMMAND, 32805, 0);
    KillTimer(nullptr, ticking);
    ASSERT_TRUE(g_properties.done);
    EXPECT_EQ(g_properties.shownSize, c.shownSize);
    EXPECT_GT(g_properties.fonts, 0);
    EXPECT_EQ(g_properties.shownFont >= 0, c.fontShown);
    const CDVDSubtitleFont& font = album->GetDVDSubtitleFont();
    EXPECT_STREQ(album->Get_strAlbumName().GetString(), c.albumName);
    EXPECT_EQ(font.Get_nFontSize(), std::atoi(c.shownSize));
    const CString charset =
        c.charset >= 0 ? CDVDSubtitleFont::GetCharsetNameFromIndex(c.charset) : charsetBefore;
    EXPECT_STREQ(font.Get_strCharset().GetString(), charset.GetString());
    // What OK wrote is the default of albums made later.
    const CDVDSubtitleFont& defaults = GetAppSettings()->SubtitleFont.Font;
    EXPECT_EQ(defaults.Get_nFontSize(), font.Get_nFontSize());
    EXPECT_STREQ(defaults.Get_strCharset().GetString(), charset.GetString());
    if (c.fontShown)
      EXPECT_STREQ(defaults.Get_strFontFileName().GetString(), font.Get_strFontFileName().GetString());
  }
}

// Names the new album the moment the name dialog shows, leaves a snapshot and presses a button.
struct NameAnswer {
  const char* name;
  UINT button;
  bool done = false;
} g_name{"", IDOK};
void CALLBACK AnswerAlbumName(HWND, UINT, UINT_PTR, DWORD) {
  const HWND dialog = FindWindow(nullptr, "Album Name");
  if (g_name.done || dialog == nullptr || !IsWindowVisible(dialog)) return;
  g_name.done = true;
  SetDlgItemText(dialog, IDC_ALBUM_NAME_EDIT, g_name.name);
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  if (g_name.button == IDOK && pictavo::display::Headless() != nullptr)
    pictavo::display::Headless()->SaveSnapshot(pictavo::test::SnapshotPath("album_name.png"), dialog);
  PostMessage(dialog, WM_COMMAND, g_name.button, 0);
}

TEST_F(AlbumEditorTest, NewAlbumTakesTheTypedNameOnlyOnOk) {
  if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());  // for the snapshot
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  g_skinMinor.Load((std::string(source != nullptr ? source : ".") + "/data").c_str(), "zel_en.xml", FALSE);
  const struct {
    const char* name;
    UINT button;
    std::vector<std::string> albums;
  } cases[] = {{"Holiday", IDCANCEL, {}}, {"Holiday", IDOK, {"Holiday"}}};
  for (const auto& c : cases) {
    g_name = NameAnswer{c.name, c.button};
    const UINT_PTR ticking = SetTimer(nullptr, 0, 20, &AnswerAlbumName);
    editor.SendMessage(WM_COMMAND, 32925, 0);
    KillTimer(nullptr, ticking);
    EXPECT_TRUE(g_name.done);
    EXPECT_EQ(AlbumNames(), c.albums);
  }
}

// Answers the delete question the moment it shows, with Yes or No.
UINT g_answer = IDOK;
void CALLBACK AnswerDeleteQuestion(HWND, UINT, UINT_PTR, DWORD) {
  const HWND ask = FindWindow(nullptr, "Do you want to delete the album?");
  if (ask != nullptr && IsWindowVisible(ask)) PostMessage(ask, WM_COMMAND, g_answer, 0);
}

TEST_F(AlbumEditorTest, DeletingTheLastAlbumSelectsTheNewLastAndTheOnlyOneEmptiesThePages) {
  for (const char* name : {"A", "B", "C"}) {
    editor.SetActiveAlbumIndex(-1);
    editor.NewPhotoAlbum(name);
  }
  const UINT_PTR ticking = SetTimer(nullptr, 0, 20, &AnswerDeleteQuestion);
  struct Step {
    UINT answer;
    int select;
    std::vector<std::string> left;
    int selected;
  };
  const Step steps[] = {
      {IDCANCEL, 2, {"A", "B", "C"}, 2}, {IDOK, 2, {"A", "B"}, 1}, {IDOK, 0, {"B"}, 0}, {IDOK, 0, {}, -1}};
  for (const Step& s : steps) {
    g_answer = s.answer;
    editor.GetAlbumList().SetCurSel(s.select);
    editor.ApplyAlbumSelection(TRUE, TRUE);
    editor.DeleteCurrentAlbum();
    EXPECT_EQ(AlbumNames(), s.left);
    EXPECT_EQ(editor.GetAlbumList().GetCurSel(), s.selected);
    EXPECT_EQ(editor.GetActiveAlbumIndex(), s.selected);
    ExpectListMirrorsProject();
  }
  KillTimer(nullptr, ticking);
  EXPECT_EQ(editor.GetAlbumSheet().GetPhotoPage().GetAlbum(), nullptr);
  EXPECT_EQ(Rows().GetItemCount(), 0);
}

}  // namespace
namespace {

TEST_F(AlbumEditorTest, CardsTabsAndSheetsSitSideBySideWithoutOverlapping) {
  auto place = [&](int id) {
    CRect rc;
    editor.GetDlgItem(id)->GetWindowRect(&rc);
    editor.ScreenToClient(&rc);
    return rc;
  };
  const CRect cards = place(IDC_ALBUM_LIST), tabs = place(IDC_ALBUM_TAB_STRIP),
              sheet = place(IDC_ALBUM_SHEET);
  EXPECT_EQ(cards.left, 0);
  EXPECT_LT(cards.right, tabs.left);
  EXPECT_EQ(tabs.left, sheet.left);
  EXPECT_GE(tabs.Height(), 25);  // the skin's tab pictures are 25 pixels high
  EXPECT_LE(tabs.bottom, sheet.top);
  EXPECT_EQ(sheet.bottom, 500);
  EXPECT_EQ(sheet.right, 1000);
}

}  // namespace
