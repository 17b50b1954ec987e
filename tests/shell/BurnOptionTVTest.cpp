// The TV options page in both of its forms: embedded, it shows what its owner gives it and never
// touches the project; stand-alone, it edits the project's options record, marking the encodes
// dirty only when a value really changed, and tells the previews when the aspect changes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "modules/data/DVDProject.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/res/ResourceModule.h"
#include "shell/AppSettings.h"
#include "shell/BurnOptionTV.h"
#include "shell/LanguageFile.h"
#include "shell/MainDlg.h"
#include "shell/ProcessObjects.h"
#include "tests/shell/OptionsTestSupport.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/MessagePump.h"

using namespace shelltest;
using options_logic::TvOptions;

namespace {

std::string Text(CWnd& page, int id) {
  return pictavo::user::WindowText(::GetDlgItem(page.m_hWnd, id));
}

class BurnOptionTVTest : public RegistryFixture {
 protected:
  static void SetUpTestSuite() { PrepareWindows(); }
  void SetUp() override {
    pictavo::shell::SetLanguageRoot(std::string(std::getenv("PICTAVO_SOURCE_DIR")) + "/data");
    GetProject()->NewProject();
    ASSERT_TRUE(
        owner.CreateEx(0, nullptr, "Owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 700, 400), nullptr, 0));
  }
  void TearDown() override {
    if (::IsWindow(page.GetSafeHwnd())) page.DestroyWindow();
    owner.DestroyWindow();
    GetWindowRegistry()->m_pBurnOptionTV = nullptr;
    GetWindowRegistry()->m_pAlbumPreviewDlg = nullptr;
    pictavo::test::PumpPending();
    CWnd::DeleteTempMap();
    pictavo::shell::SetLanguageRoot("");
  }
  void Make(BOOL embedded) {
    page.m_bEmbedded = embedded;
    ASSERT_TRUE(page.Create(IDD_BURN_OPTION_TV, &owner));
    page.ShowWindow(SW_SHOW);
    pictavo::test::PumpPending();
  }
  void Scroll(int position) {
    page.m_slider.SetPos(position);
    page.SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                     reinterpret_cast<LPARAM>(page.m_slider.GetSafeHwnd()));
  }
  void Select(int combo, int index) {
    ::SendMessage(::GetDlgItem(page.m_hWnd, combo), CB_SETCURSEL, index, 0);
    page.SendMessage(WM_COMMAND, MAKEWPARAM(combo, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(::GetDlgItem(page.m_hWnd, combo)));
  }
  bool Dirty() const { return GetProject()->IsMenuEncodeDirty() != FALSE; }
  void Clean() { GetProject()->Put_bMenuEncodeDirty(FALSE); }

  CWnd owner;
  CBurnOptionTV page;
};

}  // namespace

TEST_F(BurnOptionTVTest, EmbeddedShowsWhatItIsGivenAndNeverTouchesTheProject) {
  const _PROJECT_OPTIONS_DATA before = *GetProject()->GetOptionsData();
  Clean();
  Make(TRUE);
  struct Case {
    TvOptions options;
    int radio;
    const char* systemText;
    const char* cropText;
    bool sliderEnabled;
  };
  const Case cases[] = {
      {{0, 1, 10, 1, 0, 0},
       IDC_TV_NTSC,
       "NTSC is used throughout North/South America and Japan.",
       "10% will be cropped",
       true},
      {{1, 0, 25, 2, 1, 1},
       IDC_TV_PAL,
       "PAL is used in European and Asian countries.",
       "25% will be cropped",
       false},
  };
  for (const Case& c : cases) {
    page.SetTVOptions(c.options);
    EXPECT_EQ(page.IsDlgButtonChecked(c.radio), 1u);
    EXPECT_EQ(Text(page, IDC_TV_SYSTEM_TEXT), c.systemText);
    EXPECT_EQ(page.m_slider.GetPos(), c.options.nCropRatio);
    EXPECT_EQ(Text(page, IDC_TV_CROP_TEXT), c.cropText);
    EXPECT_EQ(page.m_slider.IsWindowEnabled() != FALSE, c.sliderEnabled);
    TvOptions back;
    page.GetTVOptions(back);
    EXPECT_EQ(back, c.options);
    // Controls moved by hand change nothing of the project either.
    Scroll(3);
    Select(IDC_TV_ASPECT, 0);
    Select(IDC_TV_SCALE, 1);
    page.ShowWindow(SW_HIDE);
    page.SendMessage(WM_PREPARE_PROJECT_SAVE, 1, 0);
    page.ShowWindow(SW_SHOW);
  }
  EXPECT_EQ(std::memcmp(GetProject()->GetOptionsData(), &before, sizeof before), 0);
  EXPECT_FALSE(Dirty());
  EXPECT_EQ(GetWindowRegistry()->m_pBurnOptionTV, nullptr);
}

TEST_F(BurnOptionTVTest, StandAloneEditsTheProjectMarkingOnlyRealChanges) {
  _PROJECT_OPTIONS_DATA* record = GetProject()->GetOptionsData();
  record->nTVSystem = 1;
  record->bCropEnable = 1;
  record->nCropRatio = 8;
  record->nAspectCorrection = 0;
  Make(FALSE);
  EXPECT_EQ(GetWindowRegistry()->m_pBurnOptionTV, &page);
  EXPECT_EQ(page.IsDlgButtonChecked(IDC_TV_PAL), 1u);
  EXPECT_EQ(page.m_slider.GetPos(), 8);
  EXPECT_EQ(Text(page, IDC_TV_CROP_TEXT), "8% will be cropped");

  Clean();
  Scroll(8);  // the stored position
  EXPECT_FALSE(Dirty());
  Scroll(12);
  EXPECT_TRUE(Dirty());
  EXPECT_EQ(record->nCropRatio, 12);
  EXPECT_EQ(Text(page, IDC_TV_CROP_TEXT), "12% will be cropped");

  // Hiding with nothing changed copies the block without marking anything.
  Clean();
  page.ShowWindow(SW_HIDE);
  EXPECT_FALSE(Dirty());
  EXPECT_EQ(record->nCropRatio, 12);
  page.ShowWindow(SW_SHOW);

  // The system is written when the page is hidden or the project is about to be saved.
  page.CheckRadioButton(IDC_TV_PAL, IDC_TV_NTSC, IDC_TV_NTSC);
  EXPECT_EQ(record->nTVSystem, 1);
  page.SendMessage(WM_PREPARE_PROJECT_SAVE, 1, 0);
  EXPECT_EQ(record->nTVSystem, 0);
  EXPECT_TRUE(Dirty());

  Clean();
  page.CheckDlgButton(IDC_TV_CROP_ENABLE, BST_UNCHECKED);
  page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TV_CROP_ENABLE, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(page.m_hWnd, IDC_TV_CROP_ENABLE)));
  EXPECT_EQ(record->bCropEnable, 0);
  EXPECT_FALSE(page.m_slider.IsWindowEnabled());
  EXPECT_TRUE(Dirty());
}

TEST_F(BurnOptionTVTest, StandAloneAspectAndScaleChangesReachTheirListeners) {
  AspectListener preview;
  ASSERT_TRUE(preview.CreateEx(0, nullptr, "Preview", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
  GetWindowRegistry()->m_pAlbumPreviewDlg = &preview;
  Make(FALSE);
  Clean();
  Select(IDC_TV_ASPECT, 2);
  EXPECT_EQ(GetProject()->GetOptionsData()->nAspectCorrection, 2);
  EXPECT_TRUE(Dirty());
  EXPECT_TRUE(pictavo::test::PumpUntil([&] { return preview.received == 1; }));

  Clean();
  Select(IDC_TV_SCALE, 1);
  EXPECT_EQ(GetProject()->Get_nPhotoScaleMode(), 1);
  EXPECT_TRUE(Dirty());
  EXPECT_EQ(GetAppSettings()->General.PhotoScaleMode, 1);
  DWORD type = 0;
  Bytes data;
  ASSERT_TRUE(QueryRaw(kAppKey + "\\General", "PhotoScaleMode", type, data));
  EXPECT_EQ(data, (Bytes{1, 0, 0, 0}));

  // Another window's aspect change is read back.
  GetProject()->GetOptionsData()->nAspectCorrection = 1;
  page.SendMessage(WM_TV_ASPECT_CHANGED, 0, 0);
  EXPECT_EQ(::SendMessage(::GetDlgItem(page.m_hWnd, IDC_TV_ASPECT), CB_GETCURSEL, 0, 0), 1);
  preview.DestroyWindow();
}
