// The photo editor's pan-and-zoom tab and custom page, hosted as the photo configuration dialog
// hosts them: the custom page over the canvas's place, the tab below it, linked to each other.

#include <cmath>
#include <cstdio>
#include <functional>

#include "editing/PhotoEditOperPanZoomPage.h"
#include "modules/data/PhotoParams.h"
#include "modules/effects/PanZoom.h"
#include "shell/ProcessObjects.h"
#include "shell/UIHelpers.h"
#include "tests/editing/PanZoomFixture.h"

namespace {

using namespace panzoomtest;

// Controls as the user knows them.
enum : int {
  kAlbumRadio = 1387,
  kCustomRadio = 1388,
  kPresetCombo = 1243,
  kAutoCheck = 1386,
  kStartPanX = 1085,
  kStartPanY = 1086,
  kStartZoom = 1087,
  kStartRotate = 1088,
  kEndPanX = 1089,
  kEndPanY = 1090,
  kEndZoom = 1091,
  kEndRotate = 1092,
  kStartZoomSlider = 1464,
  kStartRotateSlider = 1465,
  kEndZoomSlider = 1466,
  kEndRotateSlider = 1467,
  kStartPreview = 1468,
  kEndPreview = 1469,
  kHint = 1483,
  kCopy = 1486,
  kPaste = 1487,
};

std::string Text(HWND window, int id) {
  char text[256] = {};
  GetWindowText(GetDlgItem(window, id), text, sizeof text);
  return text;
}
bool Enabled(HWND window, int id) {
  return IsWindowEnabled(GetDlgItem(window, id)) != FALSE;
}
bool Checked(HWND window, int id) {
  return SendMessage(GetDlgItem(window, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
int SliderPos(HWND window, int id) {
  return static_cast<int>(SendMessage(GetDlgItem(window, id), TBM_GETPOS, 0, 0));
}
int ComboRow(HWND window, int id) {
  return static_cast<int>(SendMessage(GetDlgItem(window, id), CB_GETCURSEL, 0, 0));
}
void Click(HWND window, int id) {
  SendMessage(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
              reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}
void ClickRadio(HWND window, int id) {
  for (int other = kAlbumRadio; other <= kCustomRadio; ++other)
    SendMessage(GetDlgItem(window, other), BM_SETCHECK, other == id ? BST_CHECKED : BST_UNCHECKED, 0);
  Click(window, id);
}
void PickPreset(HWND window, int row) {
  SendMessage(GetDlgItem(window, kPresetCombo), CB_SETCURSEL, row, 0);
  SendMessage(window, WM_COMMAND, MAKEWPARAM(kPresetCombo, CBN_SELCHANGE),
              reinterpret_cast<LPARAM>(GetDlgItem(window, kPresetCombo)));
}

// A position as the four values of one side.
struct Position {
  double panX, panY, zoom, rotate;
};
Position StartOf(const _tagPanZoomWorkParamEx& p) {
  return {p.fStartPanX, p.fStartPanY, p.fStartZoom, p.fStartRotate};
}
Position EndOf(const _tagPanZoomWorkParamEx& p) {
  return {p.fEndPanX, p.fEndPanY, p.fEndZoom, p.fEndRotate};
}
void ExpectPosition(const Position& shown, const Position& expected, const std::string& what) {
  EXPECT_DOUBLE_EQ(shown.panX, expected.panX) << what;
  EXPECT_DOUBLE_EQ(shown.panY, expected.panY) << what;
  EXPECT_DOUBLE_EQ(shown.zoom, expected.zoom) << what;
  EXPECT_DOUBLE_EQ(shown.rotate, expected.rotate) << what;
}
Position PresetStart(int index) {
  _tagPanZoomWorkParamEx p;
  CPanZoomEx::GetPanZoomType_PresetValue(index, p);
  return StartOf(p);
}
Position PresetEnd(int index) {
  _tagPanZoomWorkParamEx p;
  CPanZoomEx::GetPanZoomType_PresetValue(index, p);
  return EndOf(p);
}

class PanZoomPagesTest : public PanZoomTest {
 protected:
  void SetUp() override {
    PanZoomTest::SetUp();
    g_bPanZoomClipboardFilled = FALSE;
    *GetPanZoomClipboard() = _tagPanZoomWorkParamEx();
    m_display = Plain(800, 600, RGB(60, 140, 60));
  }
  void TearDown() override {
    Close();
    PanZoomTest::TearDown();
  }

  // The dialog's order: the custom page first, then the tab with its slide and album, then the
  // links and the previews' sources.
  void Open(CDVDImage* slide, bool withAlbum = true) {
    m_current = slide;
    ASSERT_TRUE(m_custom.Create(IDD_PHOTO_EDIT_CUSTOM_PANZOOM, &m_owner));
    m_custom.MoveWindow(0, 0, 640, 420);
    m_custom.ShowWindow(SW_SHOW);
    if (withAlbum) m_tab.SetAlbum(m_album);
    m_tab.SetImage(slide);
    ASSERT_TRUE(m_tab.Create(IDD_PHOTO_EDIT_PANZOOM, &m_owner));
    m_tab.MoveWindow(0, 420, 680, 150);
    m_tab.ShowWindow(SW_SHOW);
    m_tab.SetCustomPage(&m_custom);
    m_custom.SetPanZoomPage(&m_tab);
    m_custom.PrepareSources();
    g_pages = {m_custom.m_hWnd, m_tab.m_hWnd};
    Pump();
  }
  // The dialog's close: the slide shown is stored.
  void Close() {
    g_pages.clear();
    if (m_tab.GetSafeHwnd() != nullptr) m_tab.SetImage(nullptr);
    m_current = nullptr;
    if (m_tab.GetSafeHwnd() != nullptr) m_tab.DestroyWindow();
    if (m_custom.GetSafeHwnd() != nullptr) m_custom.DestroyWindow();
    Pump();
  }
  // The photo switch of the dialog.
  void Switch(CDVDImage* slide) {
    m_current = slide;
    m_tab.SetImage(slide);
    m_custom.PrepareSources();
    Pump();
  }
  // Types into an edit as the user does (its text selected first), then leaves it by `leave`
  // (VK_TAB or VK_RETURN).
  void TypeInto(int id, const std::string& text, UINT leave) {
    HWND edit = GetDlgItem(Custom(), id);
    ::SetFocus(edit);
    SendMessage(edit, EM_SETSEL, 0, -1);
    Pump();
    pictavo::user::InjectText(text);
    Pump();
    m_boxesWhileTyping = g_boxTexts.size();
    PressKey(leave);
  }
  HWND Custom() { return m_custom.m_hWnd; }
  HWND Tab() { return m_tab.m_hWnd; }
  Position StartShown() { return StartOf(m_custom.GetStartPreview().m_workParam); }
  Position EndShown() { return StartOf(m_custom.GetEndPreview().m_workParam); }

  CxImage m_display;
  CDVDImage* m_current = nullptr;
  CPhotoEditOperCustomPanZoomPage m_custom{&m_display, &m_current};
  CPhotoEditOperPanZoomPage m_tab;
  size_t m_boxesWhileTyping = 0;
};

TEST_F(PanZoomPagesTest, SlidesLoadAsTheirKindSays) {
  const int count = CPanZoomEx::GetPanZoomType_PresetCount();
  ASSERT_GT(count, 5);
  const _tagPhotoPanZoomSaveParam saved{5, -6, 150, 10, -20, 30, 80, -45};
  struct Case {
    const char* what;
    int kind;
    const _tagPhotoPanZoomSaveParam* saved;
    bool custom;
    int preset;  // the combo's row; -1 any
    Position start, end;
  };
  const Case cases[] = {
      {"album", DVD_PANZOOM_ALBUM, nullptr, false, 0, PresetStart(0), PresetEnd(0)},
      {"preset 3", 3, nullptr, true, 3, PresetStart(3), PresetEnd(3)},
      {"kind 7", 7, nullptr, true, 7 % count, PresetStart(7 % count), PresetEnd(7 % count)},
      {"a kind past the list wraps", count + 2, nullptr, true, 2, PresetStart(2), PresetEnd(2)},
      {"saved positions", DVD_PANZOOM_CUSTOM, &saved, true, -1, {5, -6, 150, 10}, {-20, 30, 80, -45}},
      // Shown after the slide above: the reset positions, not the last slide's.
      {"custom without saved positions",
       DVD_PANZOOM_CUSTOM,
       nullptr,
       true,
       -1,
       {0, 0, 100, 0},
       {0, 0, 100, 0}},
  };
  std::vector<CDVDImage*> slides;
  for (const Case& c : cases) slides.push_back(AddSlide(c.kind, c.saved));
  for (bool opened : {true, false}) {
    // Once each slide opening the dialog, once reached by switching photos.
    for (size_t i = 0; i < std::size(cases); ++i) {
      const Case& c = cases[i];
      const std::string what = std::string(c.what) + (opened ? " (opened)" : " (switched to)");
      if (opened) {
        if (i > 0) Close();
        Open(slides[i]);
      } else {
        Switch(slides[i]);
      }
      EXPECT_EQ(Checked(Tab(), kAlbumRadio), !c.custom) << what;
      EXPECT_EQ(Checked(Tab(), kCustomRadio), c.custom) << what;
      EXPECT_EQ(Enabled(Tab(), kPresetCombo), c.custom) << what;
      if (c.preset >= 0) EXPECT_EQ(ComboRow(Tab(), kPresetCombo), c.preset) << what;
      EXPECT_FALSE(Enabled(Tab(), kAutoCheck)) << what;
      EXPECT_EQ(Enabled(Custom(), kStartZoom), c.custom) << what;
      EXPECT_EQ(m_custom.GetStartPreview().IsEditable() != FALSE, c.custom) << what;
      EXPECT_EQ(IsWindowVisible(GetDlgItem(Custom(), kHint)) != FALSE, !c.custom) << what;
      ExpectPosition(StartShown(), c.start, what + ": start");
      ExpectPosition(EndShown(), c.end, what + ": end");
    }
    Close();
    if (opened) Open(slides[0]);
  }
  EXPECT_EQ(m_tab.GetSafeHwnd(), nullptr);
}

TEST_F(PanZoomPagesTest, StoringWritesTheChoiceAndMarksOnlyRealChanges) {
  struct Case {
    const char* what;
    int kind;
    bool withAlbum;
    std::function<void(HWND tab, HWND custom)> steps;
    int storedKind;
    bool positionsStored;
    bool albumChanged;
  };
  const Case cases[] = {
      {"album slide left alone", DVD_PANZOOM_ALBUM, true, [](HWND, HWND) {}, DVD_PANZOOM_ALBUM, false, false},
      {"preset slide left alone", 4, true, [](HWND, HWND) {}, 4, false, false},
      {"custom slide without positions left alone", DVD_PANZOOM_CUSTOM, true, [](HWND, HWND) {},
       DVD_PANZOOM_CUSTOM, false, false},
      {"album chosen", 4, true, [](HWND tab, HWND custom) { ClickRadio(tab, kAlbumRadio); },
       DVD_PANZOOM_ALBUM, false, true},
      {"custom and a preset", DVD_PANZOOM_ALBUM, true,
       [](HWND tab, HWND custom) {
         ClickRadio(tab, kCustomRadio);
         PickPreset(tab, 3);
       },
       3, true, true},
      {"custom positions", DVD_PANZOOM_ALBUM, true,
       [](HWND tab, HWND custom) {
         ClickRadio(tab, kCustomRadio);
         PickPreset(tab, 3);
         SetWindowText(GetDlgItem(custom, kEndZoom), "180");
       },
       DVD_PANZOOM_CUSTOM, true, true},
      {"the still preset is kind 0", 4, true, [](HWND tab, HWND custom) { PickPreset(tab, 0); }, 0, true,
       true},
      {"album without an album stores the positions", DVD_PANZOOM_ALBUM, false, [](HWND, HWND) {}, 0, true,
       true},
      {"a preset chosen again with no album", 5, false, [](HWND tab, HWND) { ClickRadio(tab, kAlbumRadio); },
       5, false, false},
  };
  for (const Case& c : cases) {
    CDVDImage* slide = AddSlide(c.kind);
    m_album->Put_bDirty(FALSE);
    Open(slide, c.withAlbum);
    c.steps(Tab(), Custom());
    const Position start = StartShown(), end = EndShown();
    Close();
    EXPECT_EQ(slide->Get_nPanZoom(), c.storedKind) << c.what;
    const _tagPhotoPanZoomSaveParam* saved = slide->GetpPhotoPanZoomSaveParam();
    EXPECT_EQ(saved != nullptr, c.positionsStored) << c.what;
    if (saved != nullptr) {
      ExpectPosition({saved->fStartPanX, saved->fStartPanY, saved->fStartZoom, saved->fStartRotate}, start,
                     c.what);
      ExpectPosition({saved->fEndPanX, saved->fEndPanY, saved->fEndZoom, saved->fEndRotate}, end, c.what);
    }
    EXPECT_EQ(m_album->Get_bDirty() != FALSE, c.albumChanged) << c.what;
    m_tab.SetAlbum(nullptr);
  }
}

TEST_F(PanZoomPagesTest, ValuesAreCheckedWhenTheEditIsLeft) {
  struct Case {
    const char* what;
    int edit;
    const char* typed;
    UINT leave;
    const char* message;  // the box shown on leaving ("" any), or null
    double value;
    const char* shown;
    int slider, sliderPos;  // 0: no slider
  };
  const Case cases[] = {
      {"700 to 500", kEndZoom, "700", VK_TAB,
       "Zoom Factor limit to is out of range. The valid value range is [20.00, 500.00].", 500, "500.00",
       kEndZoomSlider, 500},
      {"150 is never refused at its 1", kEndZoom, "150", VK_TAB, nullptr, 150, "150.00", kEndZoomSlider, 150},
      {"7 alone becomes 20", kStartZoom, "7", VK_RETURN,
       "Zoom Factor limit to is out of range. The valid value range is [20.00, 500.00].", 20, "20.00",
       kStartZoomSlider, 20},
      {"-10.26 to 351", kStartRotate, "-10.26", VK_RETURN, nullptr, -10.26, "-10.26", kStartRotateSlider,
       351},
      {"a rotation past a turn", kEndRotate, "400", VK_RETURN,
       "Rotate Factor limit to is out of range. The valid value range is [-360.00, 360.00].", 360, "360.00",
       kEndRotateSlider, 720},
      {"pan past -100", kStartPanY, "-150", VK_TAB,
       "Pan Y limit to is out of range. The valid value range is [-100.00, 100.00].", -100, "-100.00", 0, 0},
      {"pan to hundredths", kEndPanX, "12.345", VK_TAB, nullptr, 12.35, "12.35", 0, 0},
      {"not a number keeps the value", kEndPanX, "abc", VK_RETURN, "", 12.35, "12.35", 0, 0},
  };
  CDVDImage* slide = AddSlide(DVD_PANZOOM_CUSTOM);
  Open(slide);
  for (const Case& c : cases) {
    g_boxTexts.clear();
    TypeInto(c.edit, c.typed, c.leave);
    EXPECT_EQ(m_boxesWhileTyping, 0u) << c.what << ": nothing is said while typing";
    if (c.message != nullptr) {
      ASSERT_EQ(g_boxTexts.size(), 1u) << c.what;
      if (*c.message != '\0') EXPECT_EQ(g_boxTexts[0], c.message) << c.what;
    } else {
      EXPECT_TRUE(g_boxTexts.empty()) << c.what << ": " << (g_boxTexts.empty() ? "" : g_boxTexts[0]);
    }
    const bool start = c.edit <= kStartRotate;
    const Position shown = start ? StartShown() : EndShown();
    const double values[] = {shown.panX, shown.panY, shown.zoom, shown.rotate};
    EXPECT_DOUBLE_EQ(values[(c.edit - kStartPanX) % 4], c.value) << c.what;
    EXPECT_EQ(Text(Custom(), c.edit), c.shown) << c.what;
    if (c.slider != 0) EXPECT_EQ(SliderPos(Custom(), c.slider), c.sliderPos) << c.what;
  }
  // The values reach the slide when it is left.
  const Position start = StartShown(), end = EndShown();
  Close();
  const _tagPhotoPanZoomSaveParam* saved = slide->GetpPhotoPanZoomSaveParam();
  ASSERT_NE(saved, nullptr);
  ExpectPosition({saved->fStartPanX, saved->fStartPanY, saved->fStartZoom, saved->fStartRotate}, start,
                 "stored");
  ExpectPosition({saved->fEndPanX, saved->fEndPanY, saved->fEndZoom, saved->fEndRotate}, end, "stored");
  EXPECT_DOUBLE_EQ(saved->fStartRotate, -10.26);
  EXPECT_DOUBLE_EQ(saved->fEndZoom, 150);
}

TEST_F(PanZoomPagesTest, SlidersDragsCopyPasteAndResets) {
  CDVDImage* custom = AddSlide(DVD_PANZOOM_CUSTOM);
  const _tagPhotoPanZoomSaveParam other{10, 10, 200, 45, -10, -10, 50, -45};
  CDVDImage* album = AddSlide(DVD_PANZOOM_ALBUM);
  Open(custom);

  // A slider move writes its edit, and the edit the position.
  struct SliderCase {
    int slider, pos, edit;
    const char* shown;
  };
  const SliderCase sliders[] = {{kStartZoomSlider, 250, kStartZoom, "250.00"},
                                {kEndRotateSlider, 300, kEndRotate, "-60.00"},
                                {kStartRotateSlider, 720, kStartRotate, "360.00"}};
  for (const SliderCase& c : sliders) {
    HWND slider = GetDlgItem(Custom(), c.slider);
    SendMessage(slider, TBM_SETPOS, TRUE, c.pos);
    SendMessage(Custom(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, c.pos), reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(Text(Custom(), c.edit), c.shown);
    EXPECT_EQ(SliderPos(Custom(), c.slider), c.pos);
  }
  EXPECT_DOUBLE_EQ(StartShown().zoom, 250);
  EXPECT_DOUBLE_EQ(EndShown().rotate, -60);

  // Dragging the end preview moves only the end pan.
  const Position startBefore = StartShown(), endBefore = EndShown();
  HWND endPreview = GetDlgItem(Custom(), kEndPreview);
  RECT rect{};
  GetWindowRect(endPreview, &rect);
  const int width = rect.right - rect.left;
  const POINT from{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  pictavo::user::InjectMouseMove(from);
  Pump();
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
  Pump();
  pictavo::user::InjectMouseMove(POINT{from.x + width / 4, from.y});
  Pump();
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
  Pump();
  ExpectPosition(StartShown(), startBefore, "the start stays");
  EXPECT_NEAR(EndShown().panX, 25, 0.5);
  EXPECT_DOUBLE_EQ(EndShown().panY, endBefore.panY);
  EXPECT_DOUBLE_EQ(EndShown().zoom, endBefore.zoom);
  EXPECT_DOUBLE_EQ(EndShown().rotate, endBefore.rotate);
  char panText[16];
  snprintf(panText, sizeof panText, "%.2f", EndShown().panX);
  EXPECT_EQ(Text(Custom(), kEndPanX), panText);
  EXPECT_EQ(Text(Custom(), kStartPanX), "0.00");

  // Copy, then paste on an album slide: it becomes custom with both positions.
  const Position copiedStart = StartShown(), copiedEnd = EndShown();
  Click(Custom(), kCopy);
  EXPECT_TRUE(g_bPanZoomClipboardFilled);
  EXPECT_EQ(GetPanZoomClipboard()->nSize, 120);
  Switch(album);
  EXPECT_TRUE(Checked(Tab(), kAlbumRadio));
  EXPECT_FALSE(Enabled(Custom(), kStartZoom));
  EXPECT_TRUE(Enabled(Custom(), kPaste)) << "a copied position can always be pasted";
  Click(Custom(), kPaste);
  EXPECT_TRUE(Checked(Tab(), kCustomRadio));
  EXPECT_TRUE(Enabled(Custom(), kStartZoom));
  ExpectPosition(StartShown(), copiedStart, "pasted start");
  ExpectPosition(EndShown(), copiedEnd, "pasted end");

  // Reset "S" puts back only the start, "E" only the end.
  m_custom.ApplySaveParam(other, TRUE, TRUE);
  SendMessage(Custom(), WM_PANZOOM_RESET_START, 0, 0);
  ExpectPosition(StartShown(), {0, 0, 100, 0}, "start reset");
  ExpectPosition(EndShown(), {-10, -10, 50, -45}, "end kept");
  EXPECT_EQ(Text(Custom(), kStartZoom), "100.00");
  EXPECT_EQ(SliderPos(Custom(), kStartZoomSlider), 100);
  m_custom.ApplySaveParam(other, TRUE, TRUE);
  SendMessage(Custom(), WM_PANZOOM_RESET_END, 0, 0);
  ExpectPosition(StartShown(), {10, 10, 200, 45}, "start kept");
  ExpectPosition(EndShown(), {0, 0, 100, 0}, "end reset");
  Close();
  EXPECT_EQ(album->Get_nPanZoom(), DVD_PANZOOM_CUSTOM);
  ASSERT_NE(album->GetpPhotoPanZoomSaveParam(), nullptr);
  EXPECT_DOUBLE_EQ(album->GetpPhotoPanZoomSaveParam()->fStartZoom, 200);
}

TEST_F(PanZoomPagesTest, TheCursorOverAPreviewSaysWhetherItMoves) {
  CDVDImage* custom = AddSlide(3);
  CDVDImage* album = AddSlide(DVD_PANZOOM_ALBUM);
  Open(custom);
  struct Case {
    CDVDImage* slide;
    int over;
    LPCTSTR cursor;  // null: left to the default handling
  };
  const Case cases[] = {{custom, kStartPreview, IDC_SIZEALL},
                        {custom, kEndPreview, IDC_SIZEALL},
                        {album, kStartPreview, IDC_NO},
                        {album, kEndPreview, IDC_NO},
                        {custom, kStartZoom, nullptr}};
  for (const Case& c : cases) {
    Switch(c.slide);
    SetCursor(nullptr);
    HWND over = GetDlgItem(Custom(), c.over);
    const LRESULT set = SendMessage(Custom(), WM_SETCURSOR, reinterpret_cast<WPARAM>(over),
                                    MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    if (c.cursor != nullptr) {
      EXPECT_TRUE(set) << c.over;
      EXPECT_EQ(GetCursor(), LoadCursor(nullptr, c.cursor)) << c.over;
    } else {
      EXPECT_NE(GetCursor(), LoadCursor(nullptr, IDC_SIZEALL)) << c.over;
      EXPECT_NE(GetCursor(), LoadCursor(nullptr, IDC_NO)) << c.over;
    }
  }
}

TEST_F(PanZoomPagesTest, BothPagesAsTheUserSeesThem) {
  CDVDImage* slide = AddSlide(7);
  m_display.Load(Source("samples/media/beach_landscape.jpg").c_str());
  Open(slide);
  const pictavo::test::Picture custom = Snapshot(Custom(), "photo-edit-custom-panzoom-page.png");
  const pictavo::test::Picture tab = Snapshot(Tab(), "photo-edit-panzoom-page.png");
  // The pages paint the photo editor's colour; the previews show the photo.
  EXPECT_EQ(custom.At(2, 2), GetSkinColor(SKIN_COLOR_PHOTO_CONFIGURE));
  EXPECT_EQ(tab.At(tab.width - 3, tab.height - 3), GetSkinColor(SKIN_COLOR_PHOTO_CONFIGURE));
  RECT preview{};
  GetWindowRect(GetDlgItem(Custom(), kStartPreview), &preview);
  EXPECT_EQ((preview.right - preview.left) * 3, (preview.bottom - preview.top) * 4) << "4:3 pixels";
  // The album's choice: the custom page veiled with its hint.
  Switch(AddSlide(DVD_PANZOOM_ALBUM));
  Snapshot(Custom(), "photo-edit-custom-panzoom-page-album.png");
}

}  // namespace
