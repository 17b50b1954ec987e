// The skin: the shipped skin file read into the main and minor skin objects, the defaults that
// missing elements and attributes leave, damaged and missing skin files, reloads, and the
// window colours by kind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/comctl/ImageList.h"
#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"
#include "platform/kernel/Module.h"
#include "platform/user/Display.h"
#include "platform/user/User.h"
#include "shell/LanguageFile.h"
#include "shell/LanguageSettings.h"
#include "shell/SkinMain.h"
#include "shell/SkinMinor.h"
#include "shell/UIHelpers.h"
#include "tests/platform/kernel/FileTestSupport.h"

namespace fs = std::filesystem;

namespace {

constexpr char kShippedSkin[] = "zel_en.xml";

// The folder that holds the data folders of the repository (skins, images ...): a program folder.
std::string DataFolder() {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source != nullptr ? source : pictavo::ExecutableFolder()) + "/data";
}

std::string ShippedPicture(const std::string& part) {
  return DataFolder() + "/skins/flat/" + part;
}

CSize SizeOf(HBITMAP bitmap) {
  BITMAP info{};
  if (bitmap == nullptr || GetObject(bitmap, sizeof info, &info) == 0) return CSize(0, 0);
  return CSize(info.bmWidth, info.bmHeight);
}

CSize SizeOfFile(const CString& path) {
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImage(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  const CSize size = SizeOf(bitmap);
  if (bitmap != nullptr) DeleteObject(bitmap);
  return size;
}

CSize ListSize(HIMAGELIST list) {
  int cx = 0, cy = 0;
  ImageList_GetIconSize(list, &cx, &cy);
  return CSize(cx, cy);
}

// A program folder of a test with skin files of its own; "flat" is the shipped picture folder.
class SkinFolder {
 public:
  SkinFolder() {
    fs::create_directories(program / "skins");
    fs::create_directory_symlink(DataFolder() + "/skins/flat", program / "skins/flat");
  }
  void Write(const char* name, std::string_view text) {
    WriteWholeFile(program / (std::string("skins/") + name), text);
  }
  const char* Path() const { return program.Path().c_str(); }

  ScratchDir program;
};

// --- The shipped skin ---------------------------------------------------------------------------

struct BarCase {
  const char* element;
  int count;
  SIZE button;
  const char* firstTip;
};

void ExpectBar(const CCoolButtonBar& bar, const BarCase& c, const CString& skinFolderPath) {
  SCOPED_TRACE(c.element);
  ASSERT_TRUE(bar.IsInitialized());
  ASSERT_EQ(bar.GetButtonCount(), c.count);
  for (int i = 0; i < c.count; ++i) {
    EXPECT_EQ(bar.GetButtonRect(i), CRect(i * c.button.cx, 0, (i + 1) * c.button.cx, c.button.cy)) << i;
    EXPECT_FALSE(bar.GetButtonTip(i).IsEmpty()) << i;
  }
  EXPECT_EQ(bar.GetButtonTip(0), CString(c.firstTip));
  EXPECT_EQ(bar.GetButtonRect(c.count), CRect());
  // Every state picture is in the skin's folder and covers exactly the buttons.
  for (int state = 0; state < CCoolButtonBar::stateCount; ++state) {
    const CString path = bar.GetStatePath(state);
    EXPECT_EQ(path.Find(skinFolderPath), 0) << path.GetString();
    EXPECT_EQ(SizeOfFile(path), bar.GetSize()) << path.GetString();
  }
  EXPECT_EQ(bar.GetSize(), CSize(c.count * c.button.cx, c.button.cy));
}

TEST(ShippedSkin, MainSkin) {
  CSkinMain skin;
  skin.Load(DataFolder().c_str(), kShippedSkin, FALSE);
  const CString folder = skin.GetSkinFolderPath();
  EXPECT_EQ(fs::path(folder.GetString()), fs::path(DataFolder() + "/skins/flat"));

  struct ColourCase {
    COLORREF got;
    COLORREF expected;
  };
  const ColourCase colours[] = {
      {skin.GetMainDlgColor(), RGB(0xF3, 0xF5, 0xF8)},
      {skin.GetOrganizePageColor(), RGB(0xF3, 0xF5, 0xF8)},
      {skin.GetMenuPageColor(), RGB(0xF1, 0xF4, 0xF8)},
      {skin.GetBurnPageColor(), RGB(0xF5, 0xF7, 0xFA)},
      {skin.GetPhotoConfigureColor(), RGB(0xEE, 0xF2, 0xF7)},
      {skin.GetTabPageColor(), RGB(0xFF, 0xFF, 0xFF)},
  };
  for (size_t i = 0; i < std::size(colours); ++i) EXPECT_EQ(colours[i].got, colours[i].expected) << i;

  const CSkinTabLook& tab = skin.GetGeneralTabControl();
  EXPECT_EQ(tab.clrNormal, RGB(0x5B, 0x6B, 0x80));
  EXPECT_EQ(tab.clrSelect, RGB(0x1D, 0x64, 0xC8));
  EXPECT_EQ(tab.dwHeightOff, 6u);
  EXPECT_EQ(tab.dwHeightDelta, 4u);
  const struct {
    const CString& path;
    const char* file;
    CSize size;
  } pictures[] = {
      {tab.strBackground, "tab/tab_bg.bmp", {64, 29}},      {tab.strLeft, "tab/tab_left.bmp", {6, 25}},
      {tab.strMiddle, "tab/tab_middle.bmp", {8, 25}},       {tab.strRight, "tab/tab_right.bmp", {6, 25}},
      {tab.strSeparator, "tab/tab_separator.bmp", {1, 14}},
  };
  for (const auto& p : pictures) {
    EXPECT_EQ(fs::path(p.path.GetString()), fs::path(ShippedPicture(p.file)));
    EXPECT_EQ(SizeOfFile(p.path), p.size) << p.file;
  }
  // The selected tab's pictures reach the bottom of the strip from their offset.
  EXPECT_EQ(static_cast<LONG>(tab.dwHeightDelta) + SizeOfFile(tab.strLeft).cy,
            SizeOfFile(tab.strBackground).cy);

  ExpectBar(*skin.GetMainButtonBar(), {"main_button_bar", 4, {44, 36}, "New Project"}, folder);
  ExpectBar(*skin.GetAlbumButtonBar(), {"album_button", 2, {36, 28}, "New Album"}, folder);
  ExpectBar(*skin.GetEditButtonBar(), {"edit_button", 9, {68, 28}, "Add"}, folder);
  ExpectBar(*skin.GetTransitionButtonBar(), {"transition_button", 11, {52, 28}, "Add Music"}, folder);
  ExpectBar(*skin.GetBurnButtonBar(), {"burn_button", 1, {160, 60}, "Burn Now"}, folder);
  EXPECT_EQ(skin.GetAlbumButtonHeight(), 28);
}

TEST(ShippedSkin, MinorSkinBars) {
  CSkinMinor skin;
  skin.Load(DataFolder().c_str(), kShippedSkin, FALSE);
  const BarCase bars[SKIN_MINOR_BAR_COUNT] = {
      {"album_preview_play_begin_button", 1, {32, 28}, "Play from Beginning"},
      {"album_preview_play_current_button", 1, {32, 28}, "Play from Current Photo"},
      {"album_preview_stop_button", 1, {32, 28}, "Stop"},
      {"photo_edit_navigator_button", 7, {32, 28}, "First Photo"},
      {"trans_music_audio_match_button", 2, {21, 20}, "Fit Slideshow to Music"},
      {"trans_music_slide_duration_reset_button", 1, {20, 20}, "Reset Durations"},
      {"trans_music_trans_oper_button", 3, {45, 16}, "No Transitions"},
      {"burn_page_browser_button", 1, {36, 22}, "Set Disc Image File"},
      {"burn_page_load_eject_button", 1, {36, 22}, "Load or Eject"},
      {"audio_trim_button", 7, {44, 30}, "Set Start"},
      {"encode_button", 1, {160, 60}, "Create Video"},
      {"browse_menu_template_button", 1, {36, 26}, "More Templates"},
      {"photo_edit_preview_play_button", 1, {32, 28}, "Play"},
      {"photo_edit_preview_stop_button", 1, {32, 28}, "Stop"},
      {"photo_edit_reset_button", 1, {32, 28}, "Reset"},
      {"photo_edit_reset_button", 1, {32, 28}, "Reset"},
      {"video_clips_toolbar", 3, {68, 28}, "Add"},
      {"album_preview_play_begin_button", 1, {32, 28}, "Play from Beginning"},
      {"album_preview_stop_button", 1, {32, 28}, "Stop"},
  };
  for (int i = 0; i < SKIN_MINOR_BAR_COUNT; ++i) {
    EXPECT_STREQ(CSkinMinor::GetBarElement(i), bars[i].element);
    ExpectBar(*skin.GetBar(i), bars[i], skin.GetSkinFolderPath());
  }
  // Elements that feed two bars give two objects.
  EXPECT_NE(skin.m_pPhotoEditResetButton, skin.m_pPhotoEditResetButton2);
  EXPECT_NE(skin.m_pAlbumPreviewStopButton, skin.m_pVideoPreviewStopButton);
  EXPECT_EQ(skin.GetBar(10), skin.m_pEncodeButton);
}

TEST(ShippedSkin, MinorSkinPictures) {
  CSkinMinor skin;
  skin.Load(DataFolder().c_str(), kShippedSkin, FALSE);
  EXPECT_EQ(skin.GetProgramFolder(), CString(DataFolder()));
  EXPECT_EQ(skin.GetSkinFileName(), CString(kShippedSkin));

  const CSkinOutputFormatGroups& formats = skin.GetOutputFormatGroups();
  EXPECT_EQ(formats.m_clrBk, RGB(0xFF, 0xFF, 0xFF));
  EXPECT_EQ(formats.m_clrBkSelect, RGB(0xE8, 0xF1, 0xFD));
  EXPECT_EQ(formats.m_clrText, RGB(0x34, 0x40, 0x54));
  EXPECT_EQ(formats.m_clrTextSelect, RGB(0x1D, 0x64, 0xC8));
  EXPECT_FALSE(formats.m_bColorsToRead);
  for (int group = 0; group < 2 * SKIN_OUTPUT_FORMAT_COUNT; ++group) {
    HBITMAP full = nullptr, small = nullptr;
    skin.GetOutputFormatGroupBitmaps(group, &full, &small);
    EXPECT_EQ(SizeOf(full), CSize(46, 30)) << group;
    EXPECT_EQ(SizeOf(small), CSize(37, 24)) << group;
    EXPECT_EQ(full, formats.m_hBitmaps[group % SKIN_OUTPUT_FORMAT_COUNT]);
  }

  for (int index = 0; index < SKIN_DIALOG_HINT_COUNT; ++index)
    EXPECT_EQ(SizeOf(skin.GetDialogHintBitmap(index)), CSize(500, 60)) << index;
  EXPECT_EQ(skin.GetDialogHintBitmap(13), skin.GetDialogHintBitmap(0));
  EXPECT_EQ(skin.GetDialogHintBitmap(25), skin.GetDialogHintBitmap(12));

  const CSkinMiscBitmaps& misc = skin.GetMiscBitmaps();
  EXPECT_EQ(SizeOf(misc.m_hSortAscending), CSize(9, 6));
  EXPECT_EQ(SizeOf(misc.m_hSortDescending), CSize(9, 6));
  struct ListCase {
    HIMAGELIST list;
    CSize size;
    int images;
  };
  const ListCase lists[] = {
      {misc.m_hThumbnailFrames, {112, 86}, 3}, {misc.m_hPlaceholders, {32, 32}, 1},
      {misc.m_hSlideBadges, {11, 11}, 4},      {misc.m_hBrowserTiles, {78, 78}, 3},
      {misc.m_hSoundBadges, {13, 13}, 1},      {misc.m_hAlbumMarks, {16, 16}, 1},
      {misc.m_hMusicListIcons, {16, 16}, 3},
  };
  for (size_t i = 0; i < std::size(lists); ++i) {
    ASSERT_NE(lists[i].list, nullptr) << i;
    EXPECT_EQ(ListSize(lists[i].list), lists[i].size) << i;
    EXPECT_EQ(ImageList_GetImageCount(lists[i].list), lists[i].images) << i;
  }
  EXPECT_EQ(SizeOf(misc.m_bmpSeekTrack), CSize(64, 6));
  EXPECT_EQ(SizeOf(misc.m_bmpSeekRange), CSize(64, 6));
  EXPECT_EQ(SizeOf(misc.m_bmpSeekThumb), CSize(11, 16));

  const CSkinAlbumList& cards = skin.GetAlbumList();
  const struct {
    const CString& path;
    const char* file;
  } albumCards[] = {
      {cards.GetNormal(), "card_normal.bmp"},
      {cards.GetSelected(), "card_selected.bmp"},
      {cards.GetGrayed(), "card_grayed.bmp"},
      {cards.GetNormalVideo(), "card_normal_video.bmp"},
      {cards.GetSelectedVideo(), "card_selected_video.bmp"},
      {cards.GetGrayedVideo(), "card_grayed_video.bmp"},
  };
  for (const auto& card : albumCards) {
    EXPECT_EQ(fs::path(card.path.GetString()),
              fs::path(ShippedPicture(std::string("album_list/") + card.file)));
    EXPECT_EQ(SizeOfFile(card.path), CSize(230, 70)) << card.file;
  }
}

// --- Defaults, damage and reloads ------------------------------------------------------------------

constexpr char kBareSkin[] = R"(<?xml version="1.0"?>
<skins>
  <skin folder="flat"/>
  <skin_minor/>
</skins>
)";

TEST(SkinDefaults, ElementsTheFileLacksKeepTheirDefaults) {
  SkinFolder folder;
  folder.Write("bare.xml", kBareSkin);
  CSkinMain main;
  main.Load(folder.Path(), "bare.xml", FALSE);
  EXPECT_EQ(main.GetMainDlgColor(), 0u);
  EXPECT_EQ(main.GetTabPageColor(), 0u);
  EXPECT_TRUE(main.GetGeneralTabControl().strLeft.IsEmpty());
  EXPECT_EQ(main.GetGeneralTabControl().clrNormal, 0u);
  EXPECT_EQ(main.GetGeneralTabControl().dwHeightOff, 0u);
  EXPECT_FALSE(main.GetEditButtonBar()->IsInitialized());
  EXPECT_EQ(main.GetAlbumButtonHeight(), 0);
  EXPECT_EQ(fs::path(main.GetSkinFolderPath().GetString()), fs::path(folder.program / "skins/flat"));

  CSkinMinor minor;
  minor.Load(folder.Path(), "bare.xml", FALSE);
  const CSkinOutputFormatGroups& formats = minor.GetOutputFormatGroups();
  EXPECT_EQ(formats.m_clrBk, RGB(232, 232, 232));
  EXPECT_EQ(formats.m_clrBkSelect, RGB(192, 192, 192));
  EXPECT_EQ(formats.m_clrText, RGB(128, 128, 128));
  EXPECT_EQ(formats.m_clrTextSelect, RGB(255, 255, 255));
  HBITMAP full = reinterpret_cast<HBITMAP>(1), small = reinterpret_cast<HBITMAP>(1);
  minor.GetOutputFormatGroupBitmaps(3, &full, &small);
  EXPECT_EQ(full, nullptr);
  EXPECT_EQ(small, nullptr);
  EXPECT_EQ(minor.GetDialogHintBitmap(12), nullptr);
  for (int i = 0; i < SKIN_MINOR_BAR_COUNT; ++i) EXPECT_FALSE(minor.GetBar(i)->IsInitialized()) << i;
  const CSkinAlbumList& cards = minor.GetAlbumList();
  for (const CString* path : {&cards.GetNormal(), &cards.GetSelected(), &cards.GetGrayed(),
                              &cards.GetNormalVideo(), &cards.GetSelectedVideo(), &cards.GetGrayedVideo()})
    EXPECT_TRUE(path->IsEmpty());
  // Lists are made even without pictures; the slide badges take 11 x 11 without their first one.
  const CSkinMiscBitmaps& misc = minor.GetMiscBitmaps();
  EXPECT_EQ(ListSize(misc.m_hSlideBadges), CSize(11, 11));
  EXPECT_EQ(ImageList_GetImageCount(misc.m_hThumbnailFrames), 0);
  EXPECT_EQ(misc.m_hSortAscending, nullptr);
  EXPECT_EQ(misc.m_bmpSeekThumb.GetSafeHandle(), nullptr);
}

TEST(SkinDefaults, AlbumCards) {
  SkinFolder folder;
  folder.Write("nofolder.xml", R"(<skins><skin folder="flat"/>
    <album_list normal="card_normal.bmp" selected="card_selected.bmp" grayed="card_grayed.bmp"/></skins>)");
  folder.Write("novideo.xml", R"(<skins><skin folder="flat"/>
    <album_list folder="album_list" normal="card_normal.bmp" selected="card_selected.bmp" grayed="card_grayed.bmp"
                normal_video="" selected_video="card_selected_video.bmp"/></skins>)");
  CSkinMinor skin;
  skin.Load(folder.Path(), "nofolder.xml", FALSE);
  EXPECT_TRUE(skin.GetAlbumList().GetNormal().IsEmpty());
  EXPECT_TRUE(skin.GetAlbumList().GetNormalVideo().IsEmpty());
  EXPECT_TRUE(skin.GetAlbumList().GetGrayedVideo().IsEmpty());

  skin.Reload(folder.Path(), "novideo.xml");
  const CSkinAlbumList& cards = skin.GetAlbumList();
  EXPECT_EQ(fs::path(cards.GetNormal().GetString()),
            fs::path(folder.program / "skins/flat/album_list/card_normal.bmp"));
  EXPECT_EQ(cards.GetNormalVideo(), cards.GetNormal()) << "an empty video card is the photo card";
  EXPECT_EQ(cards.GetGrayedVideo(), cards.GetGrayed()) << "a missing video card is the photo card";
  EXPECT_NE(cards.GetSelectedVideo(), cards.GetSelected());
}

TEST(SkinDefaults, ButtonCountsAndCoordinates) {
  SkinFolder folder;
  std::string many = "<skins><skin folder=\"flat\"/><skin_minor><video_clips_toolbar button_count=\"80\">";
  for (int i = 0; i < 80; ++i)
    many += "<button id=\"" + std::to_string(i) + "\" x=\"" + std::to_string(i * 10) +
            "\" y=\"0\" width=\"10\" height=\"8\"/>";
  many +=
      "</video_clips_toolbar>"
      "<encode_button button_count=\"2\"><button id=\"0\" x=\"5\" y=\"6\"/></encode_button>"
      "<audio_trim_button button_count=\"many\"/></skin_minor></skins>";
  folder.Write("counts.xml", many);
  CSkinMinor skin;
  skin.Load(folder.Path(), "counts.xml", FALSE);
  EXPECT_EQ(skin.m_pVideoClipsToolbar->GetButtonCount(), SKIN_MINOR_MAX_BUTTONS);
  EXPECT_EQ(skin.m_pVideoClipsToolbar->GetButtonRect(49), CRect(490, 0, 500, 8));
  ASSERT_EQ(skin.m_pEncodeButton->GetButtonCount(), 2);
  EXPECT_EQ(skin.m_pEncodeButton->GetButtonRect(0), CRect(5, 6, 5, 6)) << "no width or height: empty";
  EXPECT_EQ(skin.m_pEncodeButton->GetButtonRect(1), CRect()) << "no button element: empty";
  EXPECT_TRUE(skin.m_pEncodeButton->GetStatePath(CCoolButtonBar::stateNormal).IsEmpty());
  EXPECT_FALSE(skin.m_pAudioTrimButton->IsInitialized()) << "a count that is no number leaves the bar alone";
}

TEST(SkinDefaults, DamagedOrMissingSkinFileChangesNothing) {
  SkinFolder folder;
  fs::copy_file(DataFolder() + "/skins/zel_en.xml", folder.program / "skins/zel_en.xml");
  folder.Write("damaged.xml", "<skins><skin folder=\"flat\"/><window_color main_dlg=\"#000000\"");

  for (const char* file : {"damaged.xml", "gone.xml"}) {
    SCOPED_TRACE(file);
    CSkinMain main;
    CSkinMinor minor;
    main.Load(folder.Path(), file, FALSE);
    minor.Load(folder.Path(), file, FALSE);
    EXPECT_TRUE(main.GetSkinFolderPath().IsEmpty());
    EXPECT_FALSE(main.GetEditButtonBar()->IsInitialized());
    EXPECT_TRUE(minor.GetSkinFileName().IsEmpty());
    EXPECT_EQ(minor.GetMiscBitmaps().m_hThumbnailFrames, nullptr);

    main.Load(folder.Path(), kShippedSkin, FALSE);
    minor.Load(folder.Path(), kShippedSkin, FALSE);
    const COLORREF colour = main.GetMainDlgColor();
    HBITMAP banner = minor.GetDialogHintBitmap(4);
    HBITMAP format = nullptr;
    minor.GetOutputFormatGroupBitmaps(7, &format, nullptr);
    ASSERT_NE(banner, nullptr);
    ASSERT_NE(format, nullptr);
    main.Reload(folder.Path(), file);
    minor.Reload(folder.Path(), file);
    EXPECT_EQ(main.GetMainDlgColor(), colour);
    EXPECT_EQ(main.GetEditButtonBar()->GetReloadCount(), 0);
    EXPECT_EQ(minor.GetSkinFileName(), CString(kShippedSkin));
    EXPECT_EQ(minor.GetDialogHintBitmap(4), banner);
    HBITMAP formatAfter = nullptr;
    minor.GetOutputFormatGroupBitmaps(7, &formatAfter, nullptr);
    EXPECT_EQ(formatAfter, format);
  }
}

TEST(SkinReload, BarsKeepTheirObjectsAndFormatColoursStayThoseOfTheFirstSkin) {
  SkinFolder folder;
  fs::copy_file(DataFolder() + "/skins/zel_en.xml", folder.program / "skins/zel_en.xml");
  folder.Write("second.xml", R"(<skins><skin folder="flat"/>
    <edit_button folder="bars" normal="clips_normal.bmp" button_count="1">
      <button id="0" x="0" y="0" width="68" height="28" tips="Add"/></edit_button>
    <skin_minor>
      <encode_button folder="bars" normal="burn_normal.bmp" button_count="1">
        <button id="0" x="0" y="0" width="160" height="60" tips="Burn Now"/></encode_button>
      <output_format_group folder="output" bk_color="#102030" text_color="1,2,3">
        <bitmap id="0" file="format_09.bmp"/></output_format_group>
    </skin_minor></skins>)");

  CSkinMain main;
  CSkinMinor minor;
  minor.Load(folder.Path(), kShippedSkin, FALSE);
  main.Load(folder.Path(), kShippedSkin, FALSE);
  CCoolButtonBar* edit = main.GetEditButtonBar();
  CCoolButtonBar* encode = minor.m_pEncodeButton;
  const COLORREF bk = minor.GetOutputFormatGroups().m_clrBk;

  minor.Reload(folder.Path(), "second.xml");
  main.Reload(folder.Path(), "second.xml");
  EXPECT_EQ(main.GetEditButtonBar(), edit);
  EXPECT_EQ(edit->GetButtonCount(), 1);
  EXPECT_EQ(edit->GetReloadCount(), 1);
  EXPECT_EQ(fs::path(edit->GetStatePath(CCoolButtonBar::stateNormal).GetString()).filename(),
            "clips_normal.bmp");
  EXPECT_TRUE(edit->GetStatePath(CCoolButtonBar::stateDisabled).IsEmpty());
  EXPECT_EQ(minor.m_pEncodeButton, encode);
  EXPECT_EQ(encode->GetReloadCount(), 1);
  EXPECT_EQ(encode->GetButtonTip(0), CString("Burn Now"));
  // The transition bar's element is gone from the second skin: it keeps the first skin's buttons.
  EXPECT_EQ(main.GetTransitionButtonBar()->GetButtonCount(), 11);
  EXPECT_EQ(main.GetTransitionButtonBar()->GetReloadCount(), 0);

  EXPECT_EQ(minor.GetOutputFormatGroups().m_clrBk, bk);
  EXPECT_EQ(minor.GetOutputFormatGroups().m_clrText, RGB(0x34, 0x40, 0x54));
  HBITMAP first = nullptr;
  minor.GetOutputFormatGroupBitmaps(0, &first, nullptr);
  ASSERT_NE(first, nullptr) << "group 0 comes from the second skin's file";
  HBITMAP third = nullptr;
  minor.GetOutputFormatGroupBitmaps(3, &third, nullptr);
  EXPECT_EQ(third, nullptr) << "the second skin has no picture for group 3";
}

TEST(SkinTooltips, GoThroughTheLanguageFilesDictionary) {
  SkinFolder folder;
  fs::copy_file(DataFolder() + "/skins/zel_en.xml", folder.program / "skins/zel_en.xml");
  fs::create_directories(folder.program / "Lang");
  WriteWholeFile(folder.program / "Lang/lang_test.ini", "[DICTIONARY]\nRemove=Entfernen\nMore=Mehr\n");
  pictavo::shell::SetLanguageRoot(folder.program.Path());
  const CString saved = g_languageSettings.LangIniFile;
  g_languageSettings.LangIniFile = "lang_test.ini";

  CSkinMain skin;
  skin.Load(folder.Path(), kShippedSkin, FALSE);
  g_languageSettings.LangIniFile = saved;
  pictavo::shell::SetLanguageRoot("");
  const CCoolButtonBar& bar = *skin.GetEditButtonBar();
  EXPECT_EQ(bar.GetButtonTip(0), CString("Add"));
  EXPECT_EQ(bar.GetButtonTip(2), CString("Entfernen"));
  EXPECT_EQ(bar.GetButtonTip(8), CString("Mehr"));
}

// --- Window colours by kind ---------------------------------------------------------------------------

TEST(SkinColors, ByKind) {
  SkinFolder folder;
  folder.Write("colours.xml", R"(<skins><skin folder="flat"/>
    <window_color main_dlg="#010203" organize_page="4,5,6" menu_page="070809" burn_page="#0A0B0C"
                  photo_configure="#0D0E0F" tab_page="#101112"/></skins>)");
  g_skinMain.Load(folder.Path(), "colours.xml", FALSE);
  struct Case {
    UINT kind;
    COLORREF colour;
  };
  const Case cases[] = {
      {0, RGB(1, 2, 3)},    {1, RGB(4, 5, 6)},      {2, RGB(4, 5, 6)},    {3, RGB(7, 8, 9)},
      {4, RGB(10, 11, 12)}, {5, RGB(13, 14, 15)},   {6, RGB(16, 17, 18)}, {7, RGB(214, 227, 243)},
      {100, 0xF3E3D6},      {0xFFFFFFFF, 0xF3E3D6},
  };
  for (const Case& c : cases) EXPECT_EQ(GetSkinColor(c.kind), c.colour) << c.kind;
}

}  // namespace

TEST(SkinReload, AShownBarRepaintsWithTheNewPicturesInTheSameWindow) {
  if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  SkinFolder folder;
  fs::copy_file(DataFolder() + "/skins/zel_en.xml", folder.program / "skins/zel_en.xml");
  // The burn bar's pictures in place of the edit bar's.
  folder.Write("second.xml", R"(<skins><skin folder="flat"/>
    <edit_button folder="bars" normal="burn_normal.bmp" button_count="1">
      <button id="0" x="0" y="0" width="60" height="28" tips="Burn"/></edit_button></skins>)");
  CSkinMain main;
  main.Load(folder.Path(), kShippedSkin, FALSE);
  CCoolButtonBar* edit = main.GetEditButtonBar();

  // A page shows the bar: the bar object is the window.
  HWND host = CreateWindowEx(0, "Static", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 100, nullptr, nullptr,
                             nullptr, nullptr);
  ASSERT_TRUE(edit->Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 40), CWnd::FromHandle(host), 100));
  const HWND window = edit->GetSafeHwnd();
  auto pixel = [&](int x, int y) {
    edit->UpdateWindow();
    pictavo::user::TopLevelWindow top;
    if (!pictavo::user::DescribeTopLevelWindow(host, &top) || !top.surface) return CLR_INVALID;
    return pictavo::gdi::ColorFromPixel(top.surface->Row(y)[static_cast<size_t>(x)]);
  };
  auto pictureAt = [](const std::string& file, int x, int y) {
    HBITMAP bitmap =
        static_cast<HBITMAP>(LoadImage(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF colour = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return colour;
  };
  ASSERT_NE(pictureAt(ShippedPicture("bars/clips_normal.bmp"), 30, 14),
            pictureAt(ShippedPicture("bars/burn_normal.bmp"), 30, 14));
  EXPECT_EQ(pixel(30, 14), pictureAt(ShippedPicture("bars/clips_normal.bmp"), 30, 14));

  main.Reload(folder.Path(), "second.xml");
  EXPECT_EQ(main.GetEditButtonBar(), edit);
  EXPECT_EQ(edit->GetSafeHwnd(), window);
  EXPECT_EQ(pixel(30, 14), pictureAt(ShippedPicture("bars/burn_normal.bmp"), 30, 14));
  edit->DestroyWindow();
  DestroyWindow(host);
}
