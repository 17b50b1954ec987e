// The transition options dialog, the photo options dialog and the photo editor's transition page
// load a slide's durations and transition and store what the user leaves in them. The three
// share their duration controls, so one table of cases runs on each; what only one of them has
// (the sound annotation, the pan-and-zoom preset, browsing slides) follows.
#include <algorithm>
#include <cstdint>
#include <fstream>

#include "editing/PhotoEditOperTransitionPage.h"
#include "editing/PhotoOptionsDlg.h"
#include "editing/RecordSoundDlg.h"
#include "editing/SlideEditRules.h"
#include "editing/TransitionOptionsDlg.h"
#include "modules/data/AudioSource.h"
#include "modules/effects/PanZoom.h"
#include "modules/sound/RecordSound.h"
#include "tests/editing/SlideDialogFixture.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScratchDir.h"

using namespace slidedialogtest;

namespace {

// A transition-list entry added for a test and removed after it.
class ExtraTransition {
 public:
  explicit ExtraTransition(const char* name) {
    auto* entry = new _tagTransitionEntry;
    entry->strName = name;
    entry->pfnFactory = GetTransitionList()->GetAt(1)->pfnFactory;
    GetTransitionList()->Add(entry);
  }
  ~ExtraTransition() {
    CTransitionEntryArray* list = GetTransitionList();
    delete list->GetAt(list->GetSize() - 1);
    list->RemoveAt(list->GetSize() - 1);
  }
};

// A silent mono 16-bit WAV file of `seconds`.
void WriteSilence(const std::string& path, int seconds) {
  const uint32_t rate = 8000, bytes = rate * 2 * static_cast<uint32_t>(seconds);
  std::ofstream out(path, std::ios::binary);
  auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
  out.write("RIFF", 4), u32(36 + bytes), out.write("WAVEfmt ", 8), u32(16), u16(1), u16(1), u32(rate),
      u32(rate * 2), u16(2), u16(16), out.write("data", 4), u32(bytes);
  const std::string silence(bytes, '\0');
  out.write(silence.data(), bytes);
}

std::string EntryName(int index) {
  return std::string(GetTransitionList()->GetAt(index)->strName);
}

enum class Step { kNone, kAlbumRadio, kCustom3And5, kBothZero };

struct DurationCase {
  const char* what;
  int one, two;            // stored in the slide
  const char* transition;  // the slide's transition name
  Step step;
  // What the dialog shows.
  bool albumShown;
  const char* shownOne;
  const char* shownTwo;
  const char* shownCombo;  // nullptr: entry 0's name without group
  // What the slide holds after OK.
  int storedOne, storedTwo;
  const char* storedTransition;  // nullptr: entry 0's full name
};

// The album's durations are 2 s and 5 s in every case.
const DurationCase kCases[] = {
    {"both -1", -1, -1, "Fade[Basic]", Step::kNone, true, "2", "5", "Fade", -1, -1, "Fade[Basic]"},
    {"own to album", 3, 4, "Fade[Basic]", Step::kAlbumRadio, false, "3", "4", "Fade", -1, -1, "Fade[Basic]"},
    {"custom 3 and 5", -1, -1, "Fade[Basic]", Step::kCustom3And5, true, "2", "5", "Fade", 3, 5,
     "Fade[Basic]"},
    {"both 0", 3, 4, "Fade[Basic]", Step::kBothZero, false, "3", "4", "Fade", 0, 1, "Fade[Basic]"},
    {"unknown name", 6, 7, "Gone[Nowhere]", Step::kNone, false, "6", "7", nullptr, 6, 7, nullptr},
    {"no name", 6, 7, "", Step::kNone, false, "6", "7", nullptr, 6, 7, nullptr},
};

// The user's step on the shared duration controls.
void TakeStep(HWND window, Step step) {
  switch (step) {
    case Step::kNone:
      break;
    case Step::kAlbumRadio:
      ClickRadio(window, IDC_SLIDE_DURATION_ALBUM, 1331, 1332);
      break;
    case Step::kCustom3And5:
      ClickRadio(window, IDC_SLIDE_DURATION_CUSTOM, 1331, 1332);
      Type(window, IDC_SLIDE_TRANSITION_DURATION, "3");
      Type(window, IDC_SLIDE_PHOTO_DURATION, "5");
      break;
    case Step::kBothZero:
      Type(window, IDC_SLIDE_TRANSITION_DURATION, "0");
      Type(window, IDC_SLIDE_PHOTO_DURATION, "0");
      EXPECT_EQ(Text(window, IDC_SLIDE_PHOTO_DURATION), "1") << "a slide never lasts 0 s";
      break;
  }
}

void ExpectShown(HWND window, const DurationCase& c, bool withCombo) {
  EXPECT_EQ(Checked(window, IDC_SLIDE_DURATION_ALBUM), c.albumShown) << c.what;
  EXPECT_EQ(Checked(window, IDC_SLIDE_DURATION_CUSTOM), !c.albumShown) << c.what;
  EXPECT_EQ(Text(window, IDC_SLIDE_ALBUM_TRANSITION), "2") << c.what;
  EXPECT_EQ(Text(window, IDC_SLIDE_ALBUM_PHOTO), "5") << c.what;
  EXPECT_EQ(Text(window, IDC_SLIDE_TRANSITION_DURATION), c.shownOne) << c.what;
  EXPECT_EQ(Text(window, IDC_SLIDE_PHOTO_DURATION), c.shownTwo) << c.what;
  EXPECT_EQ(Enabled(window, IDC_SLIDE_PHOTO_DURATION), !c.albumShown) << c.what;
  if (withCombo) {
    const std::string entry0 = std::string(slideedit::ComboName(GetTransitionList()->GetAt(0)->strName));
    EXPECT_EQ(ComboText(window, IDC_SLIDE_TRANSITION_COMBO), c.shownCombo ? c.shownCombo : entry0) << c.what;
  }
}

class SlideDialogsTest : public SlideDialogTest {
 protected:
  void SetUp() override {
    SlideDialogTest::SetUp();
    m_album->Set_nOneDuration(-1, 2);
    m_album->Set_nTwoDuration(-1, 5);
  }
  CDVDImage* Slide(const DurationCase& c) {
    CDVDImage* slide = AddSlide(c.one, c.two);
    slide->Set_strTransName(c.transition);
    return slide;
  }
  void ExpectStored(CDVDImage* slide, const DurationCase& c, bool withTransition) {
    EXPECT_EQ(slide->Get_nOneDuration(), c.storedOne) << c.what;
    EXPECT_EQ(slide->Get_nTwoDuration(), c.storedTwo) << c.what;
    if (withTransition)
      EXPECT_EQ(std::string(slide->Get_strTransName()),
                c.storedTransition ? c.storedTransition : EntryName(0))
          << c.what;
  }
  ExtraTransition m_fade{"Fade[Basic]"};
};

}  // namespace

TEST_F(SlideDialogsTest, TransitionOptionsLoadAndStoreTheSlide) {
  bool first = true;
  for (const DurationCase& c : kCases) {
    CDVDImage* slide = Slide(c);
    CTransitionOptionsDlg dialog(slide, nullptr);
    ASSERT_EQ(Run(dialog,
                  [&](HWND window) {
                    ExpectShown(window, c, true);
                    TakeStep(window, c.step);
                    if (first) SnapshotWindow(window, "transition-options-dialog.png");
                    first = false;
                    return IDOK;
                  }),
              IDOK);
    ExpectStored(slide, c, true);
  }
}

TEST_F(SlideDialogsTest, TransitionOptionsCancelAndPreview) {
  CDVDImage* slide = AddSlide(3, 4);
  slide->Set_strTransName("Fade[Basic]");
  CTransitionOptionsDlg dialog(slide, nullptr);
  Run(dialog, [&](HWND window) {
    ClickRadio(window, IDC_SLIDE_DURATION_ALBUM, 1331, 1332);
    PickCombo(window, IDC_SLIDE_TRANSITION_COMBO, 2);
    auto* preview =
        dynamic_cast<CTransitionPreviewStatic*>(CWnd::FromHandlePermanent(GetDlgItem(window, 1328)));
    EXPECT_TRUE(preview != nullptr && preview->IsPlaying()) << "a new pick plays at once";
    EXPECT_EQ(preview->GetFactory(), GetTransitionList()->GetAt(2)->pfnFactory);
    return IDCANCEL;
  });
  EXPECT_EQ(slide->Get_nOneDuration(), 3);
  EXPECT_EQ(slide->Get_nTwoDuration(), 4);
  EXPECT_EQ(std::string(slide->Get_strTransName()), "Fade[Basic]");
}

TEST_F(SlideDialogsTest, PhotoOptionsLoadAndStoreTheDurations) {
  for (const DurationCase& c : kCases) {
    CDVDImage* slide = Slide(c);
    CPhotoOptionsDlg dialog(slide, nullptr);
    ASSERT_EQ(Run(dialog,
                  [&](HWND window) {
                    ExpectShown(window, c, false);
                    TakeStep(window, c.step);
                    return IDOK;
                  }),
              IDOK);
    ExpectStored(slide, c, false);
    EXPECT_EQ(std::string(slide->Get_strTransName()), c.transition) << "the transition is not this dialog's";
  }
}

TEST_F(SlideDialogsTest, TransitionPageLoadsAndStoresAsSlidesChange) {
  for (const DurationCase& c : kCases) {
    CDVDImage* slide = Slide(c);
    CPhotoEditOperTransitionPage page;
    page.SetAlbum(m_album);
    page.SetImage(slide);
    ASSERT_TRUE(page.Create(IDD_PHOTO_EDIT_TRANSITION, &m_owner));
    ExpectShown(page.m_hWnd, c, true);
    TakeStep(page.m_hWnd, c.step);
    page.SetImage(nullptr);  // the dialog closes
    // A transition the user did not pick is not written: the slide keeps its own name.
    DurationCase kept = c;
    kept.storedTransition = c.transition;
    ExpectStored(slide, kept, true);
    page.DestroyWindow();
  }
}

TEST_F(SlideDialogsTest, TransitionPageStoresOnlyATransitionThePickerChose) {
  CDVDImage* known = AddSlide();
  known->Set_strTransName(EntryName(3).c_str());
  CDVDImage* unknown = AddSlide();
  unknown->Set_strTransName("Gone[Nowhere]");
  CDVDImage* third = AddSlide();
  third->Set_strTransName("Fade[Basic]");
  CPhotoEditOperTransitionPage page;
  page.SetAlbum(m_album);
  page.SetImage(known);
  ASSERT_TRUE(page.Create(IDD_PHOTO_EDIT_TRANSITION, &m_owner));
  page.MoveWindow(0, 0, 430, 210);
  page.ShowWindow(SW_SHOW);
  SnapshotWindow(page.m_hWnd, "photo-edit-transition-page.png");
  // Browsing onto the slide whose transition is gone shows the previous choice ...
  page.SetImage(unknown);
  EXPECT_EQ(ComboText(page.m_hWnd, IDC_SLIDE_TRANSITION_COMBO),
            std::string(slideedit::ComboName(EntryName(3).c_str())));
  // ... and moving on keeps the slide's own name.
  page.SetImage(third);
  EXPECT_EQ(std::string(unknown->Get_strTransName()), "Gone[Nowhere]");
  EXPECT_EQ(ComboText(page.m_hWnd, IDC_SLIDE_TRANSITION_COMBO), "Fade");
  // A pick is stored, with its group.
  PickCombo(page.m_hWnd, IDC_SLIDE_TRANSITION_COMBO, 2);
  page.SetImage(nullptr);
  EXPECT_EQ(std::string(third->Get_strTransName()), EntryName(2));
  EXPECT_EQ(std::string(known->Get_strTransName()), EntryName(3));
  page.DestroyWindow();
}

TEST_F(SlideDialogsTest, PhotoOptionsSoundAnnotationAndPreset) {
  pictavo::test::ScratchDir folder;
  const std::string twelve = (std::filesystem::path(folder.Path()) / "twelve.wav").string();
  WriteSilence(twelve, 12);
  ASSERT_EQ(CDVDProject::GetMusicDuration(twelve.c_str()), 12);
  _AUDIO_SOURCE sound;
  sound.strPathName = twelve.c_str();
  sound.nSourceLength = sound.nTrimEnd = 12000;

  // 12 s of sound less a 2 s transition: the photo lasts 10 s, on its own durations.
  CDVDImage* slide = AddSlide();
  slide->SetAnnotation(&sound);
  slide->Set_nPanZoom(-1, nullptr);
  CPhotoOptionsDlg dialog(slide, nullptr);
  Run(dialog, [&](HWND window) {
    EXPECT_TRUE(Checked(window, IDC_ANNOTATION_ENABLE));
    EXPECT_EQ(Text(window, IDC_ANNOTATION_DURATION), "0:00:12");
    EXPECT_EQ(Text(window, IDC_ANNOTATION_PATH), twelve);
    EXPECT_TRUE(Enabled(window, IDC_SAME_AS_ANNOTATION));
    EXPECT_FALSE(Enabled(window, IDC_PANZOOM_PRESET_LIST)) << "the album's pan and zoom";
    Click(window, IDC_SAME_AS_ANNOTATION);
    EXPECT_TRUE(Checked(window, IDC_SLIDE_DURATION_CUSTOM));
    EXPECT_EQ(Text(window, IDC_SLIDE_PHOTO_DURATION), "10");
    ClickRadio(window, IDC_PANZOOM_PRESET, 1433, 1434);
    EXPECT_TRUE(Enabled(window, IDC_PANZOOM_PRESET_LIST));
    PickCombo(window, IDC_PANZOOM_PRESET_LIST, 3);
    SnapshotWindow(window, "photo-options-dialog.png");
    return IDOK;
  });
  EXPECT_EQ(slide->Get_nOneDuration(), 2);
  EXPECT_EQ(slide->Get_nTwoDuration(), 10);
  EXPECT_EQ(slide->Get_nPanZoom(), 3);
  ASSERT_NE(slide->GetAnnotation(), nullptr);
  EXPECT_EQ(*slide->GetAnnotation(), sound);

  struct Case {
    const char* what;
    bool untick;        // "Enable Sound Annotation" cleared
    bool albumPanZoom;  // the pan-and-zoom radio back on Album, a preset still in the list
    WPARAM button;
    bool soundAfter;
    int panZoomAfter;
  };
  const Case cases[] = {
      {"unticked", true, false, IDOK, false, 3},
      {"album pan and zoom", false, true, IDOK, true, -1},
      {"cancel", true, true, IDCANCEL, true, 3},
  };
  for (const Case& c : cases) {
    CDVDImage* other = AddSlide();
    other->SetAnnotation(&sound);
    other->Set_nPanZoom(3, nullptr);
    CPhotoOptionsDlg again(other, nullptr);
    Run(again, [&](HWND window) {
      if (c.untick) {
        Check(window, IDC_ANNOTATION_ENABLE, false);
        Click(window, IDC_ANNOTATION_ENABLE);
        EXPECT_EQ(Text(window, IDC_ANNOTATION_PATH), "") << c.what;
        EXPECT_EQ(Text(window, IDC_ANNOTATION_DURATION), "0:00:00") << c.what;
        EXPECT_FALSE(Enabled(window, IDC_ANNOTATION_BROWSE)) << c.what;
      }
      if (c.albumPanZoom) ClickRadio(window, IDC_PANZOOM_ALBUM, 1433, 1434);
      return c.button;
    });
    EXPECT_EQ(other->GetAnnotation() != nullptr, c.soundAfter) << c.what;
    EXPECT_EQ(other->Get_nPanZoom(), c.panZoomAfter) << c.what;
  }
}

TEST_F(SlideDialogsTest, PhotoOptionsTrimRefusesASoundWithoutLength) {
  _AUDIO_SOURCE empty;
  empty.strPathName = "/nowhere/empty.wav";
  CDVDImage* slide = AddSlide();
  slide->SetAnnotation(&empty);
  CPhotoOptionsDlg dialog(slide, nullptr);
  g_boxAnswer = IDOK;
  Run(dialog, [&](HWND window) {
    Click(window, IDC_ANNOTATION_TRIM);
    return IDCANCEL;
  });
  EXPECT_EQ(g_boxes, 1);
  const auto& texts = timelinetest::g_boxTexts;
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Duration of annotation is too short."), texts.end());
}

TEST_F(SlideDialogsTest, PhotoOptionsRecordsTheSlidesSound) {
  // SDL's disk driver records from a file: two seconds of stereo samples.
  pictavo::test::ScratchDir folder;
  const std::string mic = (std::filesystem::path(folder.Path()) / "mic.raw").string();
  std::ofstream(mic, std::ios::binary) << std::string(2 * 44100 * 2 * 2, '\x11');
  pictavo::test::ScopedEnv config("XDG_CONFIG_HOME", (folder / "config").c_str());
  pictavo::test::ScopedEnv driver("SDL_AUDIODRIVER", "disk");
  pictavo::test::ScopedEnv out("SDL_DISKAUDIOFILE", "/dev/null");
  pictavo::test::ScopedEnv in("SDL_DISKAUDIOFILEIN", mic.c_str());
  GetProject()->Put_strTempFilePathBase(folder.Path().c_str());
  CDVDImage* slide = AddSlide();
  CPhotoOptionsDlg dialog(slide, nullptr);
  std::string recorded;
  Run(dialog, [&](HWND window) {
    Check(window, IDC_ANNOTATION_ENABLE, true);
    Click(window, IDC_ANNOTATION_ENABLE);
    g_nestedSteps = [](HWND recorder) {
      Click(recorder, IDC_RECORD_START);
      EXPECT_TRUE(CRecordSound::WaitForRecordedFrames(44100 + 4410, 20000));
      Click(recorder, IDC_RECORD_STOP);
      return IDOK;
    };
    Click(window, IDC_ANNOTATION_RECORD);
    recorded = Text(window, IDC_ANNOTATION_PATH);
    EXPECT_EQ(Text(window, IDC_ANNOTATION_DURATION), "0:00:01");
    return IDOK;
  });
  GetProject()->Put_strTempFilePathBase("");
  EXPECT_EQ(recorded, folder / "Audio/record_00001.wav");
  ASSERT_NE(slide->GetAnnotation(), nullptr);
  EXPECT_EQ(std::string(slide->GetAnnotation()->strPathName), recorded);
  EXPECT_EQ(slide->GetAnnotation()->nTrimEnd, 1000);
}
