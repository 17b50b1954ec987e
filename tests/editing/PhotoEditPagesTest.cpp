// The photo editor's intensity, clip-art and subtitle pages on the headless display, each created
// the way the photo configuration dialog (or, for the subtitle page, a host) creates it: over a
// stand-in dialog that records what the pages tell it, with a stand-in canvas where the page
// only sends the canvas messages.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "editing/PhotoEditCanvas.h"
#include "editing/PhotoEditOperArtClipPage.h"
#include "editing/PhotoEditOperProcessPage.h"
#include "editing/PhotoEditOperSubtitlePage.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/SubtitleFont.h"
#include "modules/data/TextMacro.h"
#include "modules/image/CxImage.h"
#include "platform/mfc/Menu.h"
#include "platform/user/Display.h"
#include "shell/AppSettings.h"
#include "tests/editing/SlideDialogFixture.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScratchDir.h"

using namespace slidedialogtest;

namespace {

constexpr int kSliders[6] = {1053, 1054, 1055, 1056, 1057, 1058};
constexpr int kEdits[6] = {1087, 1086, 1392, 1389, 1390, 1391};

// A window that counts the photo editor's messages it receives.
class RecordingWnd : public CWnd {
 public:
  BOOL Make(int x, int y, int width, int height) {
    return CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), "",
                    WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(x, y, x + width, y + height), nullptr, 0);
  }
  int Count(UINT message) const {
    int count = 0;
    for (const MSG& m : m_received) count += m.message == message;
    return count;
  }
  const MSG* Last(UINT message) const {
    for (auto it = m_received.rbegin(); it != m_received.rend(); ++it)
      if (it->message == message) return &*it;
    return nullptr;
  }
  void Clear() { m_received.clear(); }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_PHOTO_INTENSITY_CHANGED || message == WM_PHOTO_ROTATED ||
        message == WM_REDRAW_PHOTO_ROWS || (message == WM_COMMAND && lParam == 0))
      m_received.push_back(MSG{m_hWnd, message, wParam, lParam, 0, {}});
    return CWnd::WindowProc(message, wParam, lParam);
  }

 private:
  std::vector<MSG> m_received;
};

_tagPhotoIntensityParam Param(int b, int c, int g, int cr, int mg, int yb) {
  _tagPhotoIntensityParam p;
  p.nBrightness = b, p.nContrast = c, p.nGamma = g, p.nCyanRed = cr, p.nMagentaGreen = mg, p.nYellowBlue = yb;
  return p;
}

std::array<int, 6> Values(const _tagPhotoIntensityParam& p) {
  return {p.nBrightness, p.nContrast, p.nGamma, p.nCyanRed, p.nMagentaGreen, p.nYellowBlue};
}

// A slider moved as the mouse moves it: the thumb goes to the position and the page hears about it.
void Slide(HWND page, int id, int position) {
  HWND slider = GetDlgItem(page, id);
  SendMessage(slider, TBM_SETPOS, TRUE, position);
  SendMessage(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), reinterpret_cast<LPARAM>(slider));
}

class PhotoEditPagesTest : public SlideDialogTest {
 protected:
  void SetUp() override {
    SlideDialogTest::SetUp();
    ASSERT_TRUE(m_dialog.Make(0, 0, 620, 420));
    ASSERT_TRUE(m_canvas.Make(620, 0, 300, 225));
    // Message boxes of the pages are answered with g_boxAnswer.
    g_dialog = m_dialog.m_hWnd;
  }
  void TearDown() override {
    m_canvas.DestroyWindow();
    m_dialog.DestroyWindow();
    SlideDialogTest::TearDown();
  }
  // A slide of the album that nothing has marked changed yet.
  CDVDImage* CleanSlide(const std::optional<_tagPhotoIntensityParam>& start = std::nullopt) {
    CDVDImage* slide = AddSlide();
    if (start) slide->Set_pPhotoIntensityParam(&*start);
    slide->UpdateCookie();
    m_album->Put_bDirty(FALSE);
    return slide;
  }

  RecordingWnd m_dialog;  // stands for the photo configuration dialog
  RecordingWnd m_canvas;  // stands for the editing canvas
  pictavo::test::ScratchDir m_dir;
  pictavo::test::ScopedEnv m_config{"XDG_CONFIG_HOME", (m_dir.Path() + "/config").c_str()};
};

// "Auto Adjust Exposure" goes through the canvas, which switches the slide's flag; the check
// shows the slide's flag and the dialog repaints the row's badge later.
TEST_F(PhotoEditPagesTest, AutoExposureThroughTheCanvas) {
  CDVDImage* slide = CleanSlide();
  float factor = 1.0f;
  CPhotoEditCanvas canvas;
  ASSERT_TRUE(canvas.Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(0, 0, 320, 240), &m_dialog,
                            IDC_PHOTO_EDIT_CANVAS));
  canvas.SetScaleFactor(&factor);
  canvas.SetAlbum(m_album);
  canvas.SetImage(slide);
  for (bool withCanvas : {false, true}) {
    SCOPED_TRACE(withCanvas ? "with the canvas" : "without a canvas");
    m_dialog.Clear();
    CPhotoEditOperProcessPage page;
    page.SetCanvas(withCanvas ? &canvas : nullptr);
    page.SetImage(slide);
    ASSERT_TRUE(page.Create(IDD_PHOTO_EDIT_PROCESS, &m_dialog));
    for (bool expected : {true, false}) {
      Check(page.m_hWnd, 1388, true);  // the click checks the box first
      Click(page.m_hWnd, 1388);
      const bool flag = withCanvas && expected;
      EXPECT_EQ(slide->Get_bAutoExposure() != FALSE, flag);
      EXPECT_EQ(Checked(page.m_hWnd, 1388), flag);
      if (!withCanvas) break;
    }
    pictavo::test::PumpPending();
    EXPECT_EQ(m_dialog.Count(WM_REDRAW_PHOTO_ROWS), withCanvas ? 2 : 0);
    page.SetImage(nullptr);
    page.DestroyWindow();
  }
  EXPECT_TRUE(m_album->Get_bDirty());
  canvas.DestroyWindow();
}

// Intensity.

struct IntensityStep {
  enum { kSlide, kKey, kClick } kind;
  int id;
  int value;  // the slider position, the key
};

struct IntensityCase {
  const char* name;
  std::optional<_tagPhotoIntensityParam> start;
  std::vector<IntensityStep> steps;
  bool canvas;
  std::array<int, 6> shown;                       // the value edits after the steps
  std::optional<_tagPhotoIntensityParam> stored;  // the slide's record after the steps; none
  int canvasRedraws;                              // WM_PHOTO_INTENSITY_CHANGED sent to the canvas
  bool rowsRedrawn;                               // leaving the slide repaints the dialog's rows
  bool changed;                                   // the album is marked changed
};

const IntensityCase kIntensityCases[] = {
    {"untouched slide keeps no record", {}, {}, true, {0, 0, 50, 0, 0, 0}, {}, 0, false, false},
    {"brightness to 0 shows -255 and stores it at once",
     {},
     {{IntensityStep::kSlide, 1053, 0}},
     true,
     {-255, 0, 50, 0, 0, 0},
     Param(-255, 0, 50, 0, 0, 0),
     1,
     true,
     true},
    {"a drag redraws at every step; each slider reaches its range's end",
     {},
     {{IntensityStep::kSlide, 1053, 510},
      {IntensityStep::kSlide, 1054, 200},
      {IntensityStep::kSlide, 1055, 100},
      {IntensityStep::kSlide, 1056, 510},
      {IntensityStep::kSlide, 1057, 0},
      {IntensityStep::kSlide, 1058, 400}},
     true,
     {255, 100, 100, 255, -255, 145},
     Param(255, 100, 100, 255, -255, 145),
     6,
     true,
     true},
    {"the keyboard moves a slider too",
     {},
     {{IntensityStep::kKey, 1055, VK_HOME}},
     true,
     {0, 0, 0, 0, 0, 0},
     Param(0, 0, 0, 0, 0, 0),
     -1,
     true,
     true},
    {"reset of the levels keeps the colour balance",
     Param(10, 20, 30, 40, 50, 60),
     {{IntensityStep::kSlide, 1056, 0}, {IntensityStep::kClick, 1393, 0}},
     true,
     {0, 0, 50, -255, 50, 60},
     Param(0, 0, 50, -255, 50, 60),
     2,
     true,
     true},
    {"reset of the colour balance keeps the levels",
     Param(10, 20, 30, 40, 50, 60),
     {{IntensityStep::kClick, 1394, 0}},
     true,
     {10, 20, 30, 0, 0, 0},
     Param(10, 20, 30, 0, 0, 0),
     1,
     true,
     true},
    {"a reset on an untouched slide writes nothing",
     {},
     {{IntensityStep::kClick, 1393, 0}, {IntensityStep::kClick, 1394, 0}},
     true,
     {0, 0, 50, 0, 0, 0},
     {},
     2,
     false,
     false},
    {"a thumb let go where it was changes nothing",
     Param(10, 20, 30, 40, 50, 60),
     {{IntensityStep::kSlide, 1053, 265}},
     true,
     {10, 20, 30, 40, 50, 60},
     Param(10, 20, 30, 40, 50, 60),
     1,
     false,
     false},
    {"without a canvas the values are stored and nothing is redrawn",
     {},
     {{IntensityStep::kSlide, 1056, 0}},
     false,
     {0, 0, 50, -255, 0, 0},
     Param(0, 0, 50, -255, 0, 0),
     0,
     true,
     true},
};

TEST_F(PhotoEditPagesTest, IntensitySlidersResetsAndRecords) {
  for (const IntensityCase& c : kIntensityCases) {
    SCOPED_TRACE(c.name);
    CDVDImage* slide = CleanSlide(c.start);
    CDVDImage* next = CleanSlide();
    m_canvas.Clear(), m_dialog.Clear();
    CPhotoEditOperProcessPage page;
    page.SetCanvas(c.canvas ? &m_canvas : nullptr);
    page.SetAlbum(m_album);
    page.SetImage(slide);
    ASSERT_TRUE(page.Create(IDD_PHOTO_EDIT_PROCESS, &m_dialog));
    for (const IntensityStep& step : c.steps) {
      if (step.kind == IntensityStep::kSlide) {
        Slide(page.m_hWnd, step.id, step.value);
      } else if (step.kind == IntensityStep::kKey) {
        HWND slider = GetDlgItem(page.m_hWnd, step.id);
        SendMessage(slider, WM_KEYDOWN, step.value, 0);
        SendMessage(slider, WM_KEYUP, step.value, 0);
      } else {
        Click(page.m_hWnd, step.id);
      }
    }
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(Text(page.m_hWnd, kEdits[i]), std::to_string(c.shown[i])) << "edit " << kEdits[i];
      const auto pos = static_cast<int>(SendMessage(GetDlgItem(page.m_hWnd, kSliders[i]), TBM_GETPOS, 0, 0));
      EXPECT_EQ(pos, c.shown[i] + (i == 1 ? 100 : i == 2 ? 0 : 255)) << "slider " << kSliders[i];
    }
    auto expectStored = [&] {
      const _tagPhotoIntensityParam* stored = slide->Get_pPhotoIntensityParam();
      ASSERT_EQ(stored != nullptr, c.stored.has_value());
      if (stored != nullptr) EXPECT_EQ(Values(*stored), Values(*c.stored));
    };
    expectStored();
    if (c.canvasRedraws >= 0)
      EXPECT_EQ(m_canvas.Count(WM_PHOTO_INTENSITY_CHANGED), c.canvasRedraws);
    else
      EXPECT_GT(m_canvas.Count(WM_PHOTO_INTENSITY_CHANGED), 0);
    if (const MSG* sent = m_canvas.Last(WM_PHOTO_INTENSITY_CHANGED))
      EXPECT_EQ(sent->lParam, reinterpret_cast<LPARAM>(slide));
    page.SetImage(next);  // the user walks on
    EXPECT_EQ(m_dialog.Count(WM_REDRAW_PHOTO_ROWS), c.rowsRedrawn ? 1 : 0);
    expectStored();
    EXPECT_EQ(m_album->Get_bDirty() != FALSE, c.changed);
    EXPECT_EQ(next->Get_pPhotoIntensityParam(), nullptr);
    // The next slide shows its own (default) values.
    EXPECT_EQ(Text(page.m_hWnd, 1087), "0");
    page.SetImage(nullptr);  // the dialog closes
    EXPECT_EQ(next->Get_pPhotoIntensityParam(), nullptr);
    page.DestroyWindow();
  }
}

TEST_F(PhotoEditPagesTest, IntensityPageBeforeItsWindowAndRotation) {
  CDVDImage* first = CleanSlide(Param(1, 2, 3, 4, 5, 6));
  CDVDImage* second = CleanSlide();
  CPhotoEditOperProcessPage page;
  page.SetCanvas(&m_canvas);
  // Switching before the window exists only moves the current slide.
  page.SetImage(first);
  page.SetImage(second);
  EXPECT_EQ(second->Get_pPhotoIntensityParam(), nullptr);
  EXPECT_FALSE(m_album->Get_bDirty());
  ASSERT_TRUE(page.Create(IDD_PHOTO_EDIT_PROCESS, &m_dialog));
  page.SetImage(first);
  EXPECT_EQ(Text(page.m_hWnd, 1391), "6");
  EXPECT_EQ(m_album->Get_bDirty(), FALSE);

  // The rotation commands turn the slide and tell the canvas and, later, the dialog.
  page.SendMessage(WM_COMMAND, 1395);
  page.SendMessage(WM_COMMAND, 1396);
  EXPECT_EQ(first->Get_nRotateAngle(), 360);
  ASSERT_EQ(m_canvas.Count(WM_PHOTO_ROTATED), 2);
  EXPECT_EQ(m_canvas.Last(WM_PHOTO_ROTATED)->wParam, 270u);
  EXPECT_EQ(m_canvas.Last(WM_PHOTO_ROTATED)->lParam, reinterpret_cast<LPARAM>(first));
  EXPECT_EQ(m_dialog.Count(WM_REDRAW_PHOTO_ROWS), 0);  // posted, not sent
  pictavo::test::PumpPending();
  EXPECT_EQ(m_dialog.Count(WM_REDRAW_PHOTO_ROWS), 2);
  EXPECT_TRUE(m_album->Get_bDirty());
  page.SetImage(nullptr);
  page.DestroyWindow();

  // A page made without a slide shows the first one it is given, and works from then on.
  CPhotoEditOperProcessPage empty;
  ASSERT_TRUE(empty.Create(IDD_PHOTO_EDIT_PROCESS, &m_dialog));
  empty.SetImage(first);
  EXPECT_EQ(Text(empty.m_hWnd, 1391), "6");
  Slide(empty.m_hWnd, 1058, 255 + 7);
  ASSERT_NE(first->Get_pPhotoIntensityParam(), nullptr);
  EXPECT_EQ(first->Get_pPhotoIntensityParam()->nYellowBlue, 7);
  empty.SetImage(nullptr);
  empty.DestroyWindow();
}

// Clip art.

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// A small vector picture of `w` x `h`.
std::string Vector(int w, int h) {
  return "PICTAVO-CLIPART 1\nsize " + std::to_string(w) + " " + std::to_string(h) +
         "\nfill #3060C0\nrect 0 0 " + std::to_string(w) + " " + std::to_string(h) + "\n";
}

std::vector<std::string> ComboTexts(HWND page, int id) {
  std::vector<std::string> texts;
  HWND combo = GetDlgItem(page, id);
  for (int i = 0; i < static_cast<int>(SendMessage(combo, CB_GETCOUNT, 0, 0)); ++i) {
    char text[300] = {};
    SendMessage(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    texts.emplace_back(text);
  }
  return texts;
}

std::vector<std::string> ListNames(HWND page) {
  std::vector<std::string> names;
  HWND list = GetDlgItem(page, 1021);
  for (int i = 0; i < static_cast<int>(SendMessage(list, LB_GETCOUNT, 0, 0)); ++i) {
    char text[600] = {};
    SendMessage(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    names.push_back(fs::path(text).filename().string());
  }
  return names;
}

struct StyleCase {
  const char* name;
  const char* ini;  // null: no style file
  std::vector<std::string> styles;
  std::vector<std::string> firstStyleFiles;
};

const StyleCase kStyleCases[] = {
    {"a style without Path is skipped",
     "[Base]\nStyleCount=3\n[Style1]\nName=Shapes\nPath=A\n[Style2]\nName=Lost\n[Style3]\nName=Party\nPath="
     "B\n",
     {"Shapes", "Party"},
     {"one.emf", "two.WMF"}},
    {"a style with an empty Name is skipped",
     "[Base]\nStyleCount=2\n[Style1]\nName=\nPath=A\n[Style2]\nName=Party\nPath=B\n",
     {"Party"},
     {"balloon.emf"}},
    {"a count far past the sections present reads what is there",
     "[Base]\nStyleCount=2147483647\n[Style1]\nName=Shapes\nPath=A\n",
     {"Shapes"},
     {"one.emf", "two.WMF"}},
    {"a negative count lists nothing", "[Base]\nStyleCount=-4\n[Style1]\nName=Shapes\nPath=A\n", {}, {}},
    {"a missing count lists nothing", "[Style1]\nName=Shapes\nPath=A\n", {}, {}},
    {"no style file lists nothing", nullptr, {}, {}},
    {"a style whose folder is missing lists no clip art",
     "[Base]\nStyleCount=1\n[Style1]\nName=Gone\nPath=Nowhere\n",
     {"Gone"},
     {}},
};

TEST_F(PhotoEditPagesTest, ClipArtStylesFromTheStyleFile) {
  for (const StyleCase& c : kStyleCases) {
    SCOPED_TRACE(c.name);
    pictavo::test::ScratchDir folder;
    const fs::path root(folder.Path());
    // Style A: two clip arts and files the page does not list; style B: one.
    WriteFile(root / "A" / "one.emf", Vector(200, 100));
    WriteFile(root / "A" / "two.WMF", Vector(100, 200));
    WriteFile(root / "A" / "three.png", "not listed");
    WriteFile(root / "A" / "notes.txt", "not listed");
    WriteFile(root / "B" / "balloon.emf", Vector(50, 50));
    if (c.ini != nullptr) WriteFile(root / "artclip.ini", c.ini);
    CPhotoEditOperArtClipPage page;
    page.SetArtClipFolder(folder.Path().c_str());
    ASSERT_TRUE(page.Create(IDD_PHOTO_EDIT_ARTCLIP, &m_dialog));
    EXPECT_EQ(ComboTexts(page.m_hWnd, 1243), c.styles);
    EXPECT_EQ(SendDlgItemMessage(page.m_hWnd, 1243, CB_GETCURSEL, 0, 0), c.styles.empty() ? CB_ERR : 0);
    EXPECT_EQ(ListNames(page.m_hWnd), c.firstStyleFiles);
    page.DestroyWindow();
  }
}

TEST_F(PhotoEditPagesTest, ClipArtStyleNamesAreCutAndStylesSwitch) {
  pictavo::test::ScratchDir folder;
  const fs::path root(folder.Path());
  const std::string longName(300, 'n');
  WriteFile(root / "artclip.ini",
            "[Base]\nStyleCount=2\n[Style1]\nName=" + longName + "\nPath=A\n[Style2]\nName=B\nPath=B\n");
  WriteFile(root / "A" / "a.emf", Vector(10, 10));
  WriteFile(root / "B" / "b1.emf", Vector(10, 10));
  WriteFile(root / "B" / "b2.EMF", Vector(10, 10));
  CPhotoEditOperArtClipPage page;
  page.SetArtClipFolder(folder.Path().c_str());
  ASSERT_TRUE(page.Create(IDD_PHOTO_EDIT_ARTCLIP, &m_dialog));
  EXPECT_EQ(ComboTexts(page.m_hWnd, 1243), (std::vector<std::string>{longName.substr(0, 259), "B"}));
  PickCombo(page.m_hWnd, 1243, 1);
  EXPECT_EQ(ListNames(page.m_hWnd), (std::vector<std::string>{"b1.emf", "b2.EMF"}));
  // Every cell is 86 pixels square.
  RECT cell{};
  SendDlgItemMessage(page.m_hWnd, 1021, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&cell));
  EXPECT_EQ(cell.right - cell.left, 86);
  EXPECT_EQ(cell.bottom - cell.top, 86);
  page.DestroyWindow();
}

TEST(PhotoEditClipArtMath, FittingAndCascade) {
  struct Fit {
    SIZE picture;
    SIZE fitted;
  };
  const Fit fits[] = {
      {{200, 100}, {120, 60}}, {{100, 200}, {60, 120}}, {{100, 100}, {120, 120}},
      {{0, 0}, {120, 120}},    {{4000, 1}, {120, 1}},   {{1, 5}, {24, 120}},
  };
  for (const Fit& f : fits) {
    const CSize fitted = CPhotoEditOperArtClipPage::FitClipArt(f.picture);
    EXPECT_EQ(fitted.cx, f.fitted.cx) << f.picture.cx << "x" << f.picture.cy;
    EXPECT_EQ(fitted.cy, f.fitted.cy) << f.picture.cx << "x" << f.picture.cy;
  }
  // The clip art is fitted whatever the photo scale: filling would make it wider than the box.
  const int mode = GetProject()->Get_nPhotoScaleMode();
  GetProject()->Set_nPhotoScaleMode(1);
  EXPECT_EQ(CPhotoEditOperArtClipPage::FitClipArt(CSize(200, 100)), CSize(120, 60));
  GetProject()->Set_nPhotoScaleMode(mode);

  struct Step {
    POINT from;
    SIZE canvas;
    POINT to;
  };
  const Step steps[] = {
      {{40, 40}, {640, 480}, {60, 60}},     {{100, 100}, {640, 480}, {120, 120}},
      {{550, 100}, {640, 480}, {570, 120}}, {{560, 100}, {640, 480}, {35, 120}},
      {{100, 400}, {640, 480}, {120, 35}},  {{40, 40}, {0, 0}, {35, 35}},
  };
  for (const Step& s : steps) {
    const CPoint to = CPhotoEditOperArtClipPage::NextCascade(s.from, s.canvas);
    EXPECT_EQ(to, CPoint(s.to)) << s.from.x << "," << s.from.y;
  }
}

// The clip-art page over a real canvas showing a slide.
class ClipArtPageTest : public PhotoEditPagesTest {
 protected:
  void SetUp() override {
    PhotoEditPagesTest::SetUp();
    // The canvas above, the page below it, as in the photo configuration dialog.
    m_canvas.ShowWindow(SW_HIDE);
    m_dialog.MoveWindow(0, 0, 900, 720);
    m_slide = CleanSlide();
    ASSERT_TRUE(m_realCanvas.Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(0, 0, 640, 480), &m_dialog,
                                    IDC_PHOTO_EDIT_CANVAS));
    m_realCanvas.SetScaleFactor(&m_factor);
    m_realCanvas.SetAlbum(m_album);
    m_realCanvas.SetImage(m_slide);
    m_realCanvas.UpdateWindow();
    const fs::path root(m_folder.Path());
    WriteFile(root / "artclip.ini", "[Base]\nStyleCount=1\n[Style1]\nName=Shapes\nPath=Shapes\n");
    WriteFile(root / "Shapes" / "wide.emf", Vector(200, 100));
    WriteFile(root / "Shapes" / "zbroken.emf", "PICTAVO-CLIPART 1\nsize 10 10\nwobble 1 2\n");
    m_page.SetCanvas(&m_realCanvas);
    m_page.SetArtClipFolder(m_folder.Path().c_str());
    ASSERT_TRUE(m_page.Create(IDD_PHOTO_EDIT_ARTCLIP, &m_dialog));
    m_page.SetWindowPos(nullptr, 0, 480, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    m_page.ShowWindow(SW_SHOW);
    pictavo::test::PumpPending();
  }
  void TearDown() override {
    m_page.DestroyWindow();
    m_realCanvas.DestroyWindow();
    PhotoEditPagesTest::TearDown();
  }
  int Sprites() const { return static_cast<int>(m_slide->m_arrSprites.GetSize()); }
  const CDVDImageSprite* LastSprite() const { return m_slide->m_arrSprites.GetAt(Sprites() - 1); }
  void ExpectLastAt(CPoint client, CSize size) {
    ASSERT_GT(Sprites(), 0);
    EXPECT_EQ(LastSprite()->Get_ptPosition(), m_realCanvas.ClientToReference(client));
    EXPECT_EQ(LastSprite()->Get_szSize(),
              CSize(m_realCanvas.SizeToReference(size.cx), m_realCanvas.SizeToReference(size.cy)));
  }
  void DoubleClick(int item) {
    SendDlgItemMessage(m_page.m_hWnd, 1021, LB_SETCURSEL, item, 0);
    SendMessage(m_page.m_hWnd, WM_COMMAND, MAKEWPARAM(1021, LBN_DBLCLK),
                reinterpret_cast<LPARAM>(GetDlgItem(m_page.m_hWnd, 1021)));
  }

  float m_factor = 1.0f;
  CPhotoEditCanvas m_realCanvas;
  CPhotoEditOperArtClipPage m_page;
  pictavo::test::ScratchDir m_folder;
  CDVDImage* m_slide = nullptr;
};

TEST_F(ClipArtPageTest, DoubleClicksCascadeAndUnreadableClipArtAddsNothing) {
  CRect client;
  m_realCanvas.GetClientRect(&client);
  ASSERT_EQ(client.Size(), CSize(640, 480));
  for (int i = 0; i < 5; ++i) {
    DoubleClick(0);
    SCOPED_TRACE(i);
    ExpectLastAt(CPoint(40 + 20 * i, 40 + 20 * i), CSize(120, 60));
  }
  EXPECT_EQ(Sprites(), 5);
  EXPECT_TRUE(m_album->Get_bDirty());
  // A damaged metafile adds nothing and leaves the cascade where it was.
  DoubleClick(1);
  EXPECT_EQ(Sprites(), 5);
  EXPECT_EQ(m_page.GetCascade(), CPoint(140, 140));
  // "Add Selected to All Photos" follows the canvas's selection and asks the canvas.
  SendMessage(m_page.m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
  EXPECT_TRUE(Enabled(m_page.m_hWnd, 1358));
}

TEST_F(ClipArtPageTest, MoreAddsPicturesByTheirEnding) {
  const fs::path root(m_folder.Path());
  const std::string photo = timelinetest::Source("samples/media/bars_small.jpg");
  CxImage sample;
  ASSERT_TRUE(sample.Load(photo.c_str(), 0));
  const CSize fitted = CPhotoEditOperArtClipPage::FitClipArt(
      CSize(static_cast<int>(sample.GetWidth()), static_cast<int>(sample.GetHeight())));
  fs::copy_file(photo, root / "upper.JPEG");
  fs::copy_file(photo, root / "photo.gif");  // a picture, but not an ending the page takes
  fs::copy_file(photo,
                root / "photo.emf");  // a raster picture under a vector ending: the vector reader refuses it
  WriteFile(root / "vector.WMF", Vector(100, 200));
  WriteFile(root / "broken.png", "not a picture");
  struct Case {
    const char* file;
    bool added;
    SIZE size;
  };
  const Case cases[] = {
      {"photo.gif", false, {}},  {"upper.JPEG", true, fitted}, {"vector.WMF", true, {60, 120}},
      {"broken.png", false, {}}, {"missing.jpg", false, {}},   {"notes.txt", false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const int before = Sprites();
    const CPoint at = m_page.GetCascade();
    EXPECT_EQ(m_page.AddPictureFile((root / c.file).string().c_str()) != FALSE, c.added);
    EXPECT_EQ(Sprites(), before + (c.added ? 1 : 0));
    if (c.added) {
      ExpectLastAt(at, c.size);
      EXPECT_EQ(m_page.GetCascade(), at + CSize(20, 20));
    } else {
      EXPECT_EQ(m_page.GetCascade(), at);
    }
  }
}

TEST_F(ClipArtPageTest, DragOntoTheCanvasKeepsTheGrabPoint) {
  using pictavo::user::InjectMouseButton;
  using pictavo::user::InjectMouseMove;
  using pictavo::user::MouseButton;
  HWND list = GetDlgItem(m_page.m_hWnd, 1021);
  RECT cell{};
  SendMessage(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
  // Two presses apart, so that the second is not a double-click.
  POINT grab{cell.left + 60, cell.top + 20};
  ClientToScreen(list, &grab);
  const POINT drop{300, 200};  // canvas client = screen: the canvas sits at the desktop's corner
  auto drag = [&](POINT to) {
    InjectMouseMove(grab);
    pictavo::test::PumpPending();
    InjectMouseButton(MouseButton::kLeft, true);
    pictavo::test::PumpPending();
    InjectMouseMove(POINT{(grab.x + to.x) / 2, (grab.y + to.y) / 2});
    pictavo::test::PumpPending();
    InjectMouseMove(to);
    pictavo::test::PumpPending();
    InjectMouseButton(MouseButton::kLeft, false);
    pictavo::test::PumpPending();
    InjectMouseMove(POINT{1020, 760});
    pictavo::test::PumpPending();
  };
  // Let go over the page itself: nothing is added.
  POINT outside{grab.x + 200, grab.y};
  drag(outside);
  EXPECT_EQ(Sprites(), 0);
  grab = POINT{cell.left + 30, cell.top + 50};
  ClientToScreen(list, &grab);
  drag(drop);
  ASSERT_EQ(Sprites(), 1);
  // The cell's picture box is 120 x 120 around the fitted 120 x 60 picture: its top is 30 down.
  ExpectLastAt(CPoint(drop.x - 30, drop.y - 50 + 30), CSize(120, 60));
  EXPECT_EQ(m_page.GetCascade(), CPoint(40, 40));
}

// Subtitles.

struct FontCase {
  const char* name;
  int albumSize;
  std::string albumFile;  // "" none
  const char* albumCharset;
  std::string shownSize;
  int fontRow;  // -1 none
  int charsetRow;
  int storedSize;
  std::string storedFile;
};

TEST_F(PhotoEditPagesTest, SubtitleFontShownAndStoredOnClose) {
  const CString folder = CDVDSubtitleFont::GetSystemFontDirectory();
  std::vector<std::string> fonts;
  for (const auto& entry : fs::directory_iterator(folder.GetString()))
    if (entry.path().extension() == ".ttf") fonts.push_back(entry.path().string());
  std::sort(fonts.begin(), fonts.end());
  ASSERT_GE(fonts.size(), 2u);
  std::string upper = fonts[1];
  for (char& ch : upper) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
  const FontCase cases[] = {
      {"a size past the range shows and stores 36", 40, fonts[0], "Western", "36", 0, 0, 36, fonts[0]},
      {"a size under the range shows and stores 16", 10, upper, "Western", "16", 1, 0, 16, fonts[1]},
      {"a font outside the folder stays unselected and is kept", 20, "/elsewhere/Other.ttf", "Nowhere", "20",
       -1, -1, 20, "/elsewhere/Other.ttf"},
  };
  for (const FontCase& c : cases) {
    SCOPED_TRACE(c.name);
    CDVDSubtitleFont font;
    font.Set_nFontSize(c.albumSize);
    font.Set_strFontFileName(c.albumFile.c_str());
    font.Set_strCharset(c.albumCharset);
    m_album->SetDVDSubtitleFont(font);
    CPhotoEditOperSubtitlePage page;
    page.SetAlbum(m_album);
    ASSERT_TRUE(page.Create(IDD_PHOTO_EDIT_SUBTITLE, &m_dialog));
    EXPECT_EQ(Text(page.m_hWnd, 1223), c.shownSize);
    EXPECT_EQ(SendDlgItemMessage(page.m_hWnd, 1314, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(fonts.size()));
    EXPECT_EQ(SendDlgItemMessage(page.m_hWnd, 1314, CB_GETCURSEL, 0, 0), c.fontRow);
    EXPECT_EQ(SendDlgItemMessage(page.m_hWnd, 1243, CB_GETCURSEL, 0, 0), c.charsetRow);
    // The font controls follow the check box.
    EXPECT_FALSE(Enabled(page.m_hWnd, 1314));
    Check(page.m_hWnd, 1495, true);
    Click(page.m_hWnd, 1495);
    for (int id : {1314, 1243, 1223, 1228, 1499, 1500, 1501}) EXPECT_TRUE(Enabled(page.m_hWnd, id)) << id;
    m_album->Put_bDirty(FALSE);
    page.DestroyWindow();
    const CDVDSubtitleFont& stored = m_album->GetDVDSubtitleFont();
    EXPECT_EQ(stored.Get_nFontSize(), c.storedSize);
    EXPECT_EQ(std::string(stored.Get_strFontFileName()), c.storedFile);
    EXPECT_EQ(std::string(stored.Get_strCharset()), c.albumCharset);
    EXPECT_EQ(m_album->Get_bDirty() != FALSE, c.storedSize != c.albumSize || c.storedFile != c.albumFile);
    EXPECT_EQ(GetAppSettings()->SubtitleFont.Font.Get_nFontSize(), c.storedSize);
  }
}

TEST_F(PhotoEditPagesTest, SubtitleMacrosApplyAndClear) {
  CDVDImage* first = CleanSlide();
  CDVDImage* second = CleanSlide();
  first->Set_strSubtitle("Hi ");
  second->Set_strSubtitle("Old");
  CPhotoEditOperSubtitlePage page;
  page.SetImage(first);
  page.SetAlbum(m_album);
  ASSERT_TRUE(page.Create(IDD_PHOTO_EDIT_SUBTITLE, &m_dialog));
  EXPECT_EQ(Text(page.m_hWnd, 1307), "Hi ");
  // "Add Macro Text" offers the second popup of the subtitle menu.
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(250));
  CMenu* popup = menu.GetSubMenu(1);
  ASSERT_NE(popup, nullptr);
  std::vector<UINT> ids;
  for (int i = 0; i < popup->GetMenuItemCount(); ++i) ids.push_back(popup->GetMenuItemID(i));
  EXPECT_EQ(ids, (std::vector<UINT>{32880, 32881, 0, 32883, 32884, 32885, 32886, 32887, 32888, 32889, 32890,
                                    32891}));
  page.SendMessage(WM_COMMAND, 32889);  // "$[p]"
  EXPECT_EQ(Text(page.m_hWnd, 1307), "Hi " + std::string(CTextMacro::GetMacroString(6)));
  EXPECT_EQ(GetFocus(), GetDlgItem(page.m_hWnd, 1307));
  // The slide's subtitle is written only by the two commands; No changes nothing.
  EXPECT_EQ(std::string(first->Get_strOrgSubtilte()), "Hi ");
  g_boxAnswer = IDNO;
  page.SendMessage(WM_COMMAND, 32880);
  page.SendMessage(WM_COMMAND, 32881);
  EXPECT_EQ(g_boxes, 2);
  EXPECT_EQ(std::string(second->Get_strOrgSubtilte()), "Old");
  EXPECT_EQ(Text(page.m_hWnd, 1307), "Hi $[p]");
  g_boxAnswer = IDYES;
  page.SendMessage(WM_COMMAND, 32880);
  EXPECT_EQ(std::string(first->Get_strOrgSubtilte()), "Hi $[p]");
  EXPECT_EQ(std::string(second->Get_strOrgSubtilte()), "Hi $[p]");
  EXPECT_TRUE(m_album->Get_bDirty());
  page.SendMessage(WM_COMMAND, 32881);
  EXPECT_EQ(std::string(first->Get_strOrgSubtilte()), "");
  EXPECT_EQ(std::string(second->Get_strOrgSubtilte()), "");
  EXPECT_EQ(Text(page.m_hWnd, 1307), "");
  page.DestroyWindow();
}

// The three pages as the user sees them, on the skin's photo-edit colour.
TEST_F(PhotoEditPagesTest, Snapshots) {
  CDVDImage* slide = CleanSlide(Param(-60, 25, 70, 40, 0, -90));
  slide->Set_strSubtitle("Summer $[p] of $[P]");
  CDVDSubtitleFont font;
  font.Set_nFontSize(28);
  font.Set_strFontFileName(CDVDSubtitleFont::GetSystemFontDirectory() + "/DejaVuSans.ttf");
  m_album->SetDVDSubtitleFont(font);

  CPhotoEditOperProcessPage process;
  process.SetCanvas(&m_canvas);
  process.SetImage(slide);
  ASSERT_TRUE(process.Create(IDD_PHOTO_EDIT_PROCESS, &m_dialog));
  process.ShowWindow(SW_SHOW);
  Check(process.m_hWnd, 1388, true);
  const std::string processPng = SnapshotWindow(process.m_hWnd, "photo-edit-process-page.png");
  EXPECT_FALSE(processPng.empty());
  process.SetImage(nullptr);
  process.DestroyWindow();

  CPhotoEditOperArtClipPage artClip;
  artClip.SetArtClipFolder(timelinetest::Source("data/ArtClip").c_str());
  ASSERT_TRUE(artClip.Create(IDD_PHOTO_EDIT_ARTCLIP, &m_dialog));
  artClip.ShowWindow(SW_SHOW);
  SendDlgItemMessage(artClip.m_hWnd, 1021, LB_SETCURSEL, 1, 0);
  EXPECT_GT(SendDlgItemMessage(artClip.m_hWnd, 1021, LB_GETCOUNT, 0, 0), 2);
  EXPECT_FALSE(SnapshotWindow(artClip.m_hWnd, "photo-edit-artclip-page.png").empty());
  artClip.DestroyWindow();

  CPhotoEditOperSubtitlePage subtitle;
  subtitle.SetImage(slide);
  subtitle.SetAlbum(m_album);
  ASSERT_TRUE(subtitle.Create(IDD_PHOTO_EDIT_SUBTITLE, &m_dialog));
  subtitle.ShowWindow(SW_SHOW);
  Check(subtitle.m_hWnd, 1495, true);
  Click(subtitle.m_hWnd, 1495);
  EXPECT_FALSE(SnapshotWindow(subtitle.m_hWnd, "photo-edit-subtitle-page.png").empty());
  subtitle.DestroyWindow();
}

}  // namespace
