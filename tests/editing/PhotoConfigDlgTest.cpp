// The photo configuration dialog on the headless display, over a real album editor whose current
// album holds four sample photos: the list and its rows, the tab it opens on and remembers, the
// navigation bar, idle-time switching, rotation, the canvas / custom pan-and-zoom swap, the
// preview's play and stop, Escape, and what closing stores. The user's steps run inside the
// dialog's modal loop (slidedialogtest's hook) and end with the button that closes it.
#include "editing/PhotoConfigDlg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "albums/AlbumEditorDlg.h"
#include "albums/AlbumMessages.h"
#include "albums/AlbumPhotoDlg.h"
#include "albums/ExploreBarDlg.h"
#include "controls/ListCtrls.h"
#include "controls/SkinTabStrip.h"
#include "editing/PhotoEditCanvas.h"
#include "editing/PhotoEditMessages.h"
#include "editing/PhotoEditOperPanZoomPage.h"
#include "modules/buttonbar/CoolButtonBar.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/ImageSprite.h"
#include "platform/kernel/Module.h"
#include "platform/kernel/Path.h"
#include "render/AlbumPreviewContainer.h"
#include "shell/ARRegistry.h"
#include "shell/AppSettings.h"
#include "shell/ProcessObjects.h"
#include "shell/SkinMain.h"
#include "shell/SkinMinor.h"
#include "tests/albums/AlbumEditorFixture.h"
#include "tests/editing/SlideDialogFixture.h"

namespace {

using slidedialogtest::SnapshotWindow;
using timelinetest::Source;

const char* const kPhotos[] = {"beach_landscape.jpg", "tower_portrait.jpg", "valley_large.jpg",
                               "wide_panorama.jpg"};

int ReadTab(bool* found) {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, TRUE);
  int value = -100;
  *found = registry != nullptr && registry->Open("General") && registry->ReadInt("PhotoOperSubIndex", value);
  return value;
}

void WriteTab(int value) {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, FALSE);
  ASSERT_TRUE(registry->Open("General") || registry->CreateKey("General"));
  registry->WriteInt("PhotoOperSubIndex", value);
}

// The suite set-up of the slide dialogs' tests: resources, language, both skins, transitions.
struct SlideDialogSuite : slidedialogtest::SlideDialogTest {
  using SlideDialogTest::SetUpTestSuite;
};

class PhotoConfigDlgTest : public albumtest::AlbumEditorFixture {
 protected:
  static void SetUpTestSuite() {
    SlideDialogSuite::SetUpTestSuite();
    // The clip-art page reads its styles beside the executable, as the program does; the test
    // binaries live one folder away from the program's data.
    const std::filesystem::path artClip = std::filesystem::path(pictavo::ExecutableFolder()) / "ArtClip";
    std::error_code error;
    if (const char* bin = std::getenv("PICTAVO_BIN_DIR");
        bin != nullptr && !std::filesystem::exists(artClip, error))
      std::filesystem::create_directory_symlink(std::filesystem::path(bin) / "ArtClip", artClip, error);
  }

  void SetUp() override {
    AlbumEditorFixture::SetUp();
    slidedialogtest::g_dialog = nullptr;
    slidedialogtest::g_boxes = 0;
    slidedialogtest::g_boxAnswer = IDNO;
    CDVDAlbumBase* album = nullptr;
    for (const char* photo : kPhotos)
      ASSERT_TRUE(editor.AddPhotoFile(&album, Source(std::string("samples/media/") + photo).c_str(), nullptr,
                                      "Trip"));
    m_album = editor.GetCurrentImageAlbum();
    ASSERT_NE(m_album, nullptr);
    ASSERT_EQ(m_album->GetImageCount(), 4);
    pictavo::test::PumpPending();
    slidedialogtest::g_stepsHook =
        SetWindowsHookEx(WH_CBT, slidedialogtest::WatchModals, nullptr, GetCurrentThreadId());
  }

  void TearDown() override {
    UnhookWindowsHookEx(slidedialogtest::g_stepsHook);
    slidedialogtest::g_steps = nullptr;
    AlbumEditorFixture::TearDown();
  }

  // Runs the dialog with the user's steps; the steps' last answer closes it.
  INT_PTR Run(CPhotoConfigDlg& dlg, std::function<WPARAM(HWND)> steps) {
    slidedialogtest::g_dialog = nullptr;
    slidedialogtest::g_steps = std::move(steps);
    return dlg.DoModal();
  }

  // What the modal loop does when its queue runs dry.
  static void Idle(HWND dialog) {
    pictavo::test::PumpPending();
    SendMessage(dialog, WM_KICKIDLE, MSGF_DIALOGBOX, 0);
  }

  static std::vector<std::string> RowTexts(CPhotoConfigDlg& dlg, int column) {
    std::vector<std::string> texts;
    CBufferedListCtrl* list = dlg.GetPhotoList();
    for (int row = 0; row < list->GetItemCount(); ++row) texts.emplace_back(list->GetItemText(row, column));
    return texts;
  }

  static std::string NavStates(CPhotoConfigDlg&) {
    CCoolButtonBar* bar = GetSkinMinor()->m_pPhotoEditNavigatorButton;
    std::string states;
    for (int button = 0; button < kNavButtonCount; ++button)
      states += bar->IsButtonEnabled(button) ? '1' : '0';
    return states;
  }

  static void Select(CPhotoConfigDlg& dlg, int row) {
    CBufferedListCtrl* list = dlg.GetPhotoList();
    for (int other = list->GetNextItem(-1, LVNI_SELECTED); other >= 0;
         other = list->GetNextItem(other, LVNI_SELECTED))
      list->SetItemState(other, 0, LVIS_SELECTED);
    list->SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
  }

  CDVDAlbumImage* m_album = nullptr;
};

TEST_F(PhotoConfigDlgTest, ListsTheAlbumOrTheSubsetWithTheCurrentPhotoSelected) {
  struct Case {
    std::vector<UINT> subset;
    int current;
    std::vector<std::string> numbers;
    int selectedRow;
  };
  const Case kCases[] = {
      {{}, 2, {"0001", "0002", "0003", "0004"}, 2},
      {{1}, 1, {"0001", "0002", "0003", "0004"}, 1},  // one index lists the whole album
      {{3, 0}, 0, {"0004", "0001"}, 1},               // the caller's order
      {{3, 1}, 2, {"0004", "0002"}, -1},              // a current photo outside the subset
  };
  for (const Case& c : kCases) {
    CPhotoConfigDlg dlg(0);
    for (UINT index : c.subset) dlg.GetSubset().Add(index);
    dlg.SetCurrentImage(m_album->GetImage(c.current));
    std::vector<std::string> numbers;
    int selected = -2;
    Run(dlg, [&](HWND d) {
      pictavo::test::PumpPending();
      numbers = RowTexts(dlg, 0);
      selected = dlg.GetPhotoList()->GetNextItem(-1, LVNI_SELECTED);
      return IDOK;
    });
    EXPECT_EQ(numbers, c.numbers) << c.subset.size();
    EXPECT_EQ(selected, c.selectedRow) << c.subset.size();
  }
}

TEST_F(PhotoConfigDlgTest, RowTextsCarryNameSizeDimensionsAndFolder) {
  CDVDImage* first = m_album->GetImage(0);
  first->m_dwFileSize = 1048576;
  first->m_nWidth = 640;
  first->m_nHeight = 480;
  CPhotoConfigDlg dlg(0);
  dlg.SetCurrentImage(first);
  std::vector<std::string> names, sizes, dims, folders;
  Run(dlg, [&](HWND) {
    pictavo::test::PumpPending();
    names = RowTexts(dlg, 1);
    sizes = RowTexts(dlg, 2);
    dims = RowTexts(dlg, 4);
    folders = RowTexts(dlg, 5);
    return IDOK;
  });
  ASSERT_EQ(names.size(), 4u);
  EXPECT_EQ(names[0], "beach_landscape.jpg");
  EXPECT_EQ(sizes[0], "1,024 KB");
  EXPECT_EQ(dims[0], "  640 x 480");
  EXPECT_EQ(folders[0], Source("samples/media"));
}

TEST_F(PhotoConfigDlgTest, OpensOnTheRememberedTabAndStoresTheTabShownLast) {
  struct Case {
    int start;
    bool stored;
    int value;
    int opened;
    int switchTo;  // -1: none
    int written;
  };
  const Case kCases[] = {
      {0, false, 0, 0, 3, 3}, {0, true, 2, 2, -1, 2},
      {0, true, 7, 2, 4, 4},  {1, true, 3, 0, -1, 0},  // the Transition tab whatever was remembered
      {0, true, -3, 0, 1, 1},                          // a negative value opens the first tab
  };
  for (const Case& c : kCases) {
    if (c.stored) WriteTab(c.value);
    CPhotoConfigDlg dlg(c.start);
    dlg.SetCurrentImage(m_album->GetImage(0));
    int opened = -1, strip = -1;
    Run(dlg, [&](HWND d) {
      opened = dlg.GetCurrentTab();
      strip = dlg.GetTabStrip()->GetCurSel();
      if (c.switchTo >= 0) SendMessage(d, WM_PHOTO_OPER_TAB, c.switchTo, 0);
      return IDOK;
    });
    EXPECT_EQ(opened, c.opened) << c.value;
    EXPECT_EQ(strip, c.opened) << c.value;
    bool found = false;
    EXPECT_EQ(ReadTab(&found), c.written) << c.value;
    EXPECT_TRUE(found);
  }
}

TEST_F(PhotoConfigDlgTest, PanZoomTabShowsTheCustomPageInPlaceOfTheCanvas) {
  CPhotoConfigDlg dlg(1);
  dlg.SetCurrentImage(m_album->GetImage(0));
  std::vector<std::pair<bool, bool>> shown;  // canvas, custom page
  Run(dlg, [&](HWND d) {
    for (int tab : {1, 2, 1, 4, 0}) {
      SendMessage(d, WM_PHOTO_OPER_TAB, tab, 0);
      shown.emplace_back(dlg.GetCanvas()->IsWindowVisible() != FALSE,
                         dlg.GetCustomPanZoomPage()->IsWindowVisible() != FALSE);
    }
    return IDCANCEL;
  });
  const std::vector<std::pair<bool, bool>> expected = {
      {false, true}, {true, false}, {false, true}, {true, false}, {true, false}};
  EXPECT_EQ(shown, expected);
}

TEST_F(PhotoConfigDlgTest, NavigationSelectsAndTheNextIdleSwitchesOnce) {
  CPhotoConfigDlg dlg(0);
  dlg.SetCurrentImage(m_album->GetImage(0));
  struct Step {
    int button;
    int current;      // album index current after the idle time
    const char* nav;  // enabled buttons 0..6 afterwards
  };
  const Step kSteps[] = {{kNavNext, 1, "1111111"},  {kNavLast, 3, "1100111"},
                         {kNavNext, 3, "1100111"},  {kNavPrevious, 2, "1111111"},
                         {kNavFirst, 0, "0011111"}, {kNavPrevious, 0, "0011111"}};
  std::vector<int> currents;
  std::vector<std::string> navs;
  std::string opened;
  Run(dlg, [&](HWND d) {
    pictavo::test::PumpPending();
    opened = NavStates(dlg);
    for (const Step& s : kSteps) {
      SendMessage(d, WM_PHOTO_NAV_BUTTON, s.button, 0);
      Idle(d);
      currents.push_back(m_album->IndexOf(dlg.GetCurrentImage()));
      navs.push_back(NavStates(dlg));
    }
    return IDOK;
  });
  EXPECT_EQ(opened, "0011111");
  for (size_t i = 0; i < std::size(kSteps); ++i) {
    EXPECT_EQ(currents[i], kSteps[i].current) << i;
    EXPECT_EQ(navs[i], kSteps[i].nav) << i;
  }
}

TEST_F(PhotoConfigDlgTest, ABurstOfSelectionsSwitchesToTheNewestOnly) {
  CPhotoConfigDlg dlg(0);
  dlg.SetCurrentImage(m_album->GetImage(0));
  CDVDImage* before = nullptr;
  CDVDImage* after = nullptr;
  CDVDImage* canvas = nullptr;
  Run(dlg, [&](HWND d) {
    pictavo::test::PumpPending();
    for (int row : {2, 1, 3}) Select(dlg, row);
    before = dlg.GetCurrentImage();
    Idle(d);
    after = dlg.GetCurrentImage();
    canvas = dlg.GetCanvas()->GetImage();
    return IDOK;
  });
  EXPECT_EQ(before, m_album->GetImage(0));
  EXPECT_EQ(after, m_album->GetImage(3));
  EXPECT_EQ(canvas, m_album->GetImage(3));
}

TEST_F(PhotoConfigDlgTest, RotationAddsToTheStoredAngleUnreduced) {
  CDVDImage* slide = m_album->GetImage(1);
  slide->Put_nRotateAngle(90);
  CPhotoConfigDlg dlg(0);
  dlg.SetCurrentImage(slide);
  Run(dlg, [&](HWND d) {
    SendMessage(d, WM_PHOTO_NAV_BUTTON, kNavRotateRight, 0);
    SendMessage(d, WM_PHOTO_NAV_BUTTON, kNavRotateRight, 0);
    SendMessage(d, WM_PHOTO_NAV_BUTTON, kNavRotateLeft, 0);
    return IDOK;
  });
  EXPECT_EQ(slide->Get_nRotateAngle(), 90 + 90 + 90 + 270);
}

TEST_F(PhotoConfigDlgTest, EscapeLeavesTheDialogOpenAndDoneStoresTheTextStyle) {
  CPhotoConfigDlg dlg(0);
  dlg.SetCurrentImage(m_album->GetImage(0));
  bool openAfterEscape = false;
  INT_PTR result = Run(dlg, [&](HWND d) {
    pictavo::test::PumpPending();
    dlg.GetCanvas()->SetFocus();
    // The key as the modal loop hands it over: pre-translated first, dispatched unless taken.
    for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
      MSG key{dlg.GetCanvas()->GetSafeHwnd(), message, VK_ESCAPE, 0, 0, {0, 0}};
      if (!dlg.PreTranslateMessage(&key)) DispatchMessage(&key);
    }
    pictavo::test::PumpPending();
    openAfterEscape = IsWindow(d) && IsWindowVisible(d) && dlg.ContinueModal();
    dlg.GetTextStyle()->nFontSize = 41;
    return IDOK;
  });
  EXPECT_TRUE(openAfterEscape);
  EXPECT_EQ(result, IDOK);
  CTextFontSettings stored;
  stored.Load();
  EXPECT_EQ(stored.Font.nFontSize, 41);
}

TEST_F(PhotoConfigDlgTest, StoppingThePreviewSelectsTheRowOfTheSlideReached) {
  // A subset whose rows are not album indexes: album photo 3 is row 0.
  CPhotoConfigDlg dlg(0);
  dlg.GetSubset().Add(3);
  dlg.GetSubset().Add(1);
  dlg.SetCurrentImage(m_album->GetImage(3));
  int reached = -1, row = -1;
  bool previewShown = false, canvasAfter = false, playing = false;
  Run(dlg, [&](HWND d) {
    pictavo::test::PumpPending();
    Select(dlg, 1);
    Idle(d);  // album photo 1 current
    Select(dlg, 0);
    Idle(d);  // back to album photo 3
    SendMessage(d, WM_PHOTO_PREVIEW_PLAY, 0, 0);
    playing = dlg.IsPreviewMode() != FALSE;
    previewShown = dlg.GetPreviewPage()->IsWindowVisible() != FALSE;
    Select(dlg, 1);  // whatever the list shows while playing, the preview decides
    SendMessage(d, WM_PHOTO_PREVIEW_STOP, 0, 0);
    reached = dlg.GetPreviewPage()->GetPreviewState();
    row = dlg.GetPhotoList()->GetNextItem(-1, LVNI_SELECTED);
    canvasAfter = dlg.GetCanvas()->IsWindowVisible() != FALSE;
    return IDOK;
  });
  EXPECT_TRUE(playing);
  EXPECT_TRUE(previewShown);
  EXPECT_EQ(reached, 3);
  EXPECT_EQ(row, 0);
  EXPECT_EQ(dlg.GetCurrentImage(), m_album->GetImage(3));
  EXPECT_TRUE(canvasAfter);
}

TEST_F(PhotoConfigDlgTest, SnapshotsOfEachTab) {
  const char* const kNames[] = {"photo-config-transition.png", "photo-config-panzoom.png",
                                "photo-config-text.png", "photo-config-artclips.png",
                                "photo-config-process.png"};
  CPhotoConfigDlg dlg(1);
  dlg.SetCurrentImage(m_album->GetImage(0));
  std::vector<std::string> paths;
  bool thumbnails = false;
  Run(dlg, [&](HWND d) {
    // The cells' thumbnails come from the loader thread.
    thumbnails = pictavo::test::PumpUntil([&] {
      for (int i = 0; i < m_album->GetImageCount(); ++i)
        if (!m_album->GetImage(i)->IsThumbnailCurrent()) return false;
      return true;
    });
    for (int tab = 0; tab < kPhotoTabCount; ++tab) {
      SendMessage(d, WM_PHOTO_OPER_TAB, tab, 0);
      Idle(d);
      pictavo::test::PumpPending();
      paths.push_back(SnapshotWindow(d, kNames[tab]));
    }
    return IDOK;
  });
  EXPECT_TRUE(thumbnails);
  for (const std::string& path : paths) EXPECT_FALSE(path.empty());
}

}  // namespace

namespace {

TEST_F(PhotoConfigDlgTest, ThePhotoListPageOpensTheDialogOnItsSelection) {
  auto* page = static_cast<AlbumPhotoDlg*>(GetWindowRegistry()->m_pAlbumPhotoDlg);
  ASSERT_NE(page, nullptr);
  editor.SelectPropPage(0);
  editor.RefreshPhotoList(TRUE);
  CListCtrl& list = page->GetListCtrl();
  ASSERT_TRUE(pictavo::test::PumpUntil([&] { return list.GetItemCount() == 4; }));
  ASSERT_TRUE(page->IsWindowVisible());
  for (int row = 0; row < 4; ++row)
    list.SetItemState(row, row == 1 || row == 3 ? LVIS_SELECTED : 0, LVIS_SELECTED);
  std::vector<std::string> numbers;
  CDVDImage* shown = nullptr;
  int tab = -1;
  slidedialogtest::g_dialog = nullptr;
  slidedialogtest::g_steps = [&](HWND d) {
    auto* dlg = static_cast<CPhotoConfigDlg*>(CWnd::FromHandlePermanent(d));
    pictavo::test::PumpPending();
    numbers = RowTexts(*dlg, 0);
    shown = dlg->GetCurrentImage();
    tab = dlg->GetCurrentTab();
    SendMessage(d, WM_PHOTO_NAV_BUTTON, kNavNext, 0);
    Idle(d);
    return static_cast<WPARAM>(IDOK);
  };
  WriteTab(3);
  page->SendMessage(WM_COMMAND, ID_PHOTO_CUSTOM_TRANSITION);  // "Custom Transition && Pan && Zoom ..."
  EXPECT_EQ(numbers, std::vector<std::string>({"0002", "0004"}));
  EXPECT_EQ(shown, m_album->GetImage(1));
  EXPECT_EQ(tab, 0);
  // The photo the user left the dialog on becomes the album's current one.
  EXPECT_EQ(m_album->m_pCurImage, m_album->GetImage(3));
}

}  // namespace

namespace {

TEST_F(PhotoConfigDlgTest, ThePreviewsNaturalEndReturnsToEditingOnTheSlideReached) {
  struct Case {
    WPARAM code;
    bool stops;
  };
  const Case kCases[] = {{8, true}, {6000, true}, {7, false}};
  for (const Case& c : kCases) {
    CPhotoConfigDlg dlg(0);
    dlg.SetCurrentImage(m_album->GetImage(2));
    bool playing = false, after = true;
    int row = -1;
    Run(dlg, [&](HWND d) {
      pictavo::test::PumpPending();
      SendMessage(d, WM_PHOTO_PREVIEW_PLAY, 0, 0);
      playing = dlg.IsPreviewMode() != FALSE;
      SendMessage(d, WM_PREVIEW_ENDED, c.code, 0);
      after = dlg.IsPreviewMode() != FALSE;
      row = dlg.GetPhotoList()->GetNextItem(-1, LVNI_SELECTED);
      return IDOK;  // closing stops a preview still running
    });
    EXPECT_TRUE(playing) << c.code;
    EXPECT_EQ(after, !c.stops) << c.code;
    EXPECT_EQ(row, 2) << c.code;
    EXPECT_FALSE(dlg.IsPreviewMode()) << c.code;
  }
}

TEST_F(PhotoConfigDlgTest, TextMacroCommandsPutTheirTokenOnTheSlide) {
  CDVDImage* slide = m_album->GetImage(0);
  CPhotoConfigDlg dlg(0);
  dlg.SetCurrentImage(slide);
  Run(dlg, [&](HWND d) {
    for (UINT command : {ID_TEXT_MACRO_FIRST + 1, ID_TEXT_MACRO_LAST}) SendMessage(d, WM_COMMAND, command, 0);
    return IDOK;
  });
  std::vector<std::string> texts;
  for (int i = 0; i < slide->m_arrSprites.GetSize(); ++i)
    if (slide->m_arrSprites[i]->GetSpriteType() == DVD_SPRITE_TEXT)
      texts.emplace_back(static_cast<CDVDImageText*>(slide->m_arrSprites[i])->Get_strText());
  EXPECT_EQ(texts, std::vector<std::string>({"$[f]", "$[D]"}));
}

}  // namespace
