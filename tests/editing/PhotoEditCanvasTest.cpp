// The canvas as the user sees it: frames, units, the photo it caches, which object a click or the
// hovering mouse finds, and resizing texts and clip art with their handles.
#include <cmath>
#include <vector>

#include "editing/PhotoEditCanvasMath.h"
#include "platform/user/Cursor.h"
#include "tests/editing/PhotoEditCanvasFixture.h"

namespace canvastest {
namespace {

using pictavo::user::MouseButton;

TEST_F(CanvasTest, FrameFollowsTheProjectAspectAndSurvivesNoRoom) {
  ShowSlide();
  struct Case {
    int width, height, aspect;
    RECT frame;
  } cases[] = {
      {400, 300, 1, {1, 1, 398, 299}}, {400, 300, 2, {1, 38, 399, 261}},
      {400, 300, 0, {1, 1, 398, 299}},  // no correction shows 4:3
      {0, 0, 1, {1, 1, 1, 1}},          // smaller than the border: an empty frame
      {2, 2, 2, {1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    GetProject()->GetOptionsData()->nAspectCorrection = c.aspect;
    const float before = m_factor;
    ResizeCanvas(c.width, c.height);
    const CRect frame = m_canvas.GetFrameRect();
    EXPECT_EQ(frame, CRect(c.frame)) << c.width << "x" << c.height << " aspect " << c.aspect;
    if (frame.Width() > 0) {
      EXPECT_EQ(m_canvas.GetFrameOrigin().x, c.frame.left);
      EXPECT_EQ(m_canvas.GetFrameOrigin().y, c.frame.top);
      EXPECT_NEAR(m_factor, frame.Width() / 768.0, 1e-4);
    } else {
      // No frame: the factor keeps its last value instead of becoming 0 and a divisor.
      EXPECT_EQ(m_factor, before);
      EXPECT_TRUE(m_canvas.AddClipArt(ClipArt().c_str(), 5, 5, 20, 20));
      EXPECT_GT(m_canvas.GetSelectedSprite()->Get_szSize().cx, 0);
    }
  }
}

TEST_F(CanvasTest, ClientPixelsAndReferenceUnitsMapBothWays) {
  ShowSlide();  // 400 x 300: a frame of 397 x 298 from (1, 1)
  struct Case {
    RECT client;
    RECT reference;  // position and size in units
  } cases[] = {
      {{1, 1, 398, 299}, {0, 0, 768, 576}},  // the whole frame
      {{200, 150, 300, 200}, {385, 288, 193, 97}},
      {{1, 1, 11, 11}, {0, 0, 19, 19}},
  };
  for (const Case& c : cases) {
    const CRect r(c.client);
    CDVDImageSprite* sprite = AddClipArtAt(r);
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->Get_ptPosition(), CPoint(c.reference.left, c.reference.top));
    EXPECT_EQ(sprite->Get_szSize(), CSize(c.reference.right, c.reference.bottom));
    Paint();
    const CRect back = Box(sprite);
    EXPECT_LE(std::abs(back.left - r.left), 1);
    EXPECT_LE(std::abs(back.top - r.top), 1);
    EXPECT_LE(std::abs(back.Width() - r.Width()), 1);
    EXPECT_LE(std::abs(back.Height() - r.Height()), 1);
  }
  // Without the dialog's factor the units are pixels from the frame's corner.
  m_canvas.SetScaleFactor(nullptr);
  CDVDImageSprite* plain = AddClipArtAt(CRect(51, 21, 91, 41));
  EXPECT_EQ(plain->Get_ptPosition(), CPoint(50, 20));
  EXPECT_EQ(plain->Get_szSize(), CSize(40, 20));
}

TEST_F(CanvasTest, TextsAddedInARowCascade) {
  CDVDImage* slide = ShowSlide();
  for (int i = 0; i < 35; ++i) ASSERT_TRUE(m_canvas.AddText());
  struct Case {
    int index;
    POINT position;
  } cases[] = {{0, {50, 50}},   {1, {70, 70}},    {2, {90, 90}},  {23, {510, 510}},
               {24, {530, 50}}, {33, {710, 230}}, {34, {50, 250}}};
  for (const Case& c : cases)
    EXPECT_EQ(slide->m_arrSprites[c.index]->Get_ptPosition(), CPoint(c.position)) << "text " << c.index;
  auto* text = static_cast<CDVDImageText*>(slide->m_arrSprites[0]);
  EXPECT_EQ(text->Get_strText(), "Double-click to edit text");
  EXPECT_EQ(m_canvas.InsertText(""), FALSE);
}

TEST_F(CanvasTest, PhotoIsCachedAtItsPlacementAndPortraitsAtTheirHeight) {
  struct Case {
    const char* what;
    int pictureWidth, pictureHeight, canvasWidth, canvasHeight;
    CSize cached;
  } cases[] = {
      {"portrait", 600, 800, 535, 402, {400, 533}},
      {"landscape", 1024, 768, 535, 402, {533, 400}},
      {"a sliver", 2, 1600, 535, 402, {1, 400}},
      {"no room", 600, 800, 0, 0, {600, 800}},
  };
  for (const Case& c : cases) {
    m_canvas.MoveWindow(kCanvasX, kCanvasY, c.canvasWidth, c.canvasHeight);
    m_canvas.SetImage(AddSlide(Picture(c.pictureWidth, c.pictureHeight)));
    Paint();
    const CxImage* shown = m_canvas.GetDisplayImage();
    EXPECT_EQ(CSize(static_cast<int>(shown->GetWidth()), static_cast<int>(shown->GetHeight())), c.cached)
        << c.what;
  }
  // A photo that cannot be read shows the frame and nothing breaks.
  m_canvas.MoveWindow(kCanvasX, kCanvasY, 400, 300);
  m_canvas.SetImage(AddSlide(m_scratch.Path() + "/missing.jpg"));
  Paint();
  EXPECT_TRUE(m_canvas.AddText());
}

TEST_F(CanvasTest, RotatingTurnsTheCachedPhotoWithoutReloading) {
  CDVDImage* slide = ShowSlide(Picture(600, 800));
  const CSize before(static_cast<int>(m_canvas.GetDisplayImage()->GetWidth()),
                     static_cast<int>(m_canvas.GetDisplayImage()->GetHeight()));
  // The file is gone: only the cached picture can follow the turns.
  std::filesystem::remove(slide->Get_strPathName().View());
  m_canvas.SendMessage(WM_PHOTO_ROTATED, 270, reinterpret_cast<LPARAM>(slide));
  EXPECT_EQ(static_cast<int>(m_canvas.GetDisplayImage()->GetWidth()), before.cy);
  m_canvas.SendMessage(WM_PHOTO_ROTATED, 90, reinterpret_cast<LPARAM>(slide));
  EXPECT_EQ(CSize(static_cast<int>(m_canvas.GetDisplayImage()->GetWidth()),
                  static_cast<int>(m_canvas.GetDisplayImage()->GetHeight())),
            before);
}

TEST_F(CanvasTest, AdjustmentsAreRecomputedFromTheUnadjustedPhoto) {
  CDVDImage* slide = ShowSlide(Picture(400, 300));
  const CxImage* shown = m_canvas.GetDisplayImage();
  auto centre = [&] {
    const RGBQUAD c = shown->GetPixelColor(static_cast<long>(shown->GetWidth() / 2),
                                           static_cast<long>(shown->GetHeight() / 2));
    return RGB(c.rgbRed, c.rgbGreen, c.rgbBlue);
  };
  const COLORREF plain = centre();
  struct Case {
    const char* what;
    int brightness;
    bool changes;
  } cases[] = {{"brighter", 80, true}, {"darker", -80, true}, {"back to none", 0, false}};
  for (const Case& c : cases) {
    _tagPhotoIntensityParam param;
    param.nBrightness = c.brightness;
    slide->Set_pPhotoIntensityParam(&param);
    EXPECT_EQ(m_canvas.SendMessage(WM_PHOTO_INTENSITY_CHANGED, 0, reinterpret_cast<LPARAM>(slide)), TRUE);
    EXPECT_EQ(centre() != plain, c.changes) << c.what;
  }
  EXPECT_EQ(m_canvas.SendMessage(WM_PHOTO_INTENSITY_CHANGED, 0, 0), FALSE);
  // Automatic exposure is shown at once and undone by the next toggle.
  m_canvas.ToggleAutoExposure();
  EXPECT_TRUE(slide->Get_bAutoExposure());
  m_canvas.ToggleAutoExposure();
  EXPECT_EQ(centre(), plain);
}

TEST_F(CanvasTest, ClicksPreferAlbumWideObjectsAndHoverTheSlidesOwn) {
  CDVDImage* slide = ShowSlide();
  CDVDImageSprite* own = AddClipArtAt(CRect(100, 100, 200, 180));
  auto* shared = new CDVDImageProps(slide);
  shared->Set_strPathName(ClipArt("Sun.emf").c_str());
  m_album->AddImageSprite(shared, 0);
  m_canvas.SetImage(nullptr);
  m_canvas.SetImage(slide);
  Paint();
  // The album-wide object lies under the slide's own, its corner inside the own object.
  shared->Set_fFactor(m_factor);
  shared->Set_ptPosition(m_canvas.ClientToReference(CPoint(150, 140)));
  shared->Set_szSize(CSize(m_canvas.SizeToReference(100), m_canvas.SizeToReference(80)));
  Paint();
  struct Case {
    const char* what;
    POINT at;
    MouseButton button;
    CDVDImageSprite* selected;
  } cases[] = {
      {"left click where both lie", {170, 160}, MouseButton::kLeft, shared},
      {"left click on the slide's own only", {110, 110}, MouseButton::kLeft, own},
      {"left click on the album's only", {230, 200}, MouseButton::kLeft, shared},
      {"left click on nothing", {30, 30}, MouseButton::kLeft, nullptr},
      {"right click where both lie", {170, 160}, MouseButton::kRight, shared},
  };
  for (const Case& c : cases) {
    if (c.button == MouseButton::kRight)
      RightClick(c.at);
    else
      Click(c.at, c.button);
    EXPECT_EQ(m_canvas.GetSelectedSprite(), c.selected) << c.what;
  }
  // Hovering the album object's selected handle inside the slide's own object shows the own
  // object's move cursor: hovering looks at the slide's objects first.
  Click(POINT{230, 200});
  ASSERT_EQ(m_canvas.GetSelectedSprite(), shared);
  MoveTo(POINT{Box(shared).left, Box(shared).top});
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_SIZEALL));
  MoveTo(POINT{Box(shared).right, Box(shared).bottom});
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_SIZENWSE));
}

TEST_F(CanvasTest, HandlesOneToEightGiveTheirCursors) {
  ShowSlide();
  CDVDImageSprite* sprite = AddClipArtAt(CRect(100, 100, 200, 180));
  Paint();
  const CRect r = Box(sprite);
  const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
  struct Case {
    POINT at;
    LPCTSTR cursor;
  } cases[] = {
      {{r.left, r.top}, IDC_SIZENWSE},     {{midX, r.top}, IDC_SIZENS},
      {{r.right, r.top}, IDC_SIZENESW},    {{r.right, midY}, IDC_SIZEWE},
      {{r.right, r.bottom}, IDC_SIZENWSE}, {{midX, r.bottom}, IDC_SIZENS},
      {{r.left, r.bottom}, IDC_SIZENESW},  {{r.left, midY}, IDC_SIZEWE},
      {{midX, midY}, IDC_SIZEALL},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    MoveTo(cases[i].at);
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, cases[i].cursor)) << "handle " << i + 1;
  }
}

TEST_F(CanvasTest, TextHandlesChangeTheSizeAPointAStepAndKeepTheOppositeSide) {
  ShowSlide();
  struct Case {
    const char* what;
    int size, hit;
    POINT move;  // from the handle, in pixels, in 12 steps
    int expectedSize;
  } cases[] = {
      {"bottom-right outwards", 36, 5, {60, 40}, 48},     {"bottom-right inwards", 36, 5, {-30, -20}, 24},
      {"top-left outwards", 36, 1, {-60, -40}, 48},       {"left side outwards", 36, 8, {-60, 0}, 48},
      {"at 180 it grows no more", 180, 5, {60, 40}, 180}, {"at 8 it shrinks no more", 8, 5, {-30, -10}, 8},
  };
  for (const Case& c : cases) {
    m_style.nFontSize = m_style.effect.nFontSize = c.size;
    ASSERT_TRUE(m_canvas.InsertText("Hello"));
    auto* text = static_cast<CDVDImageText*>(m_canvas.GetSelectedSprite());
    Paint();
    const CRect before = Box(text);
    const POINT handles[9] = {{},
                              {before.left, before.top},
                              {(before.left + before.right) / 2, before.top},
                              {before.right, before.top},
                              {before.right, (before.top + before.bottom) / 2},
                              {before.right, before.bottom},
                              {(before.left + before.right) / 2, before.bottom},
                              {before.left, before.bottom},
                              {before.left, (before.top + before.bottom) / 2}};
    const POINT from = handles[c.hit];
    const int posts = m_textPage.count;
    Drag(from, POINT{from.x + c.move.x, from.y + c.move.y}, 12);
    Paint();
    EXPECT_EQ(text->GetFontSize(), c.expectedSize) << c.what;
    EXPECT_EQ(m_style.nFontSize, c.expectedSize) << c.what << ": the text page's record follows";
    const CRect after = Box(text);
    if (c.hit == 5) EXPECT_EQ(after.TopLeft(), before.TopLeft()) << c.what;
    if (c.hit == 1) {
      EXPECT_LE(std::abs(after.right - before.right), 2) << c.what;
      EXPECT_LE(std::abs(after.bottom - before.bottom), 2) << c.what;
    }
    if (c.hit == 8) {
      EXPECT_LE(std::abs(after.right - before.right), 2) << c.what;
      EXPECT_LE(std::abs((after.top + after.bottom) / 2 - (before.top + before.bottom) / 2), 2) << c.what;
    }
    if (c.expectedSize != c.size) {
      EXPECT_GT(m_textPage.count, posts) << c.what;
    }
    m_canvas.OnKey(VK_DELETE);
  }
}

TEST_F(CanvasTest, ClipArtHandlesKeepTenPixelsTheFrameAndTheRatio) {
  ShowSlide();  // frame (1, 1) - (398, 299)
  struct Case {
    const char* what;
    int hit;
    POINT to;
    CSize size;  // expected on screen, within a pixel
  } cases[] = {
      {"right side past the left side", 4, {20, 140}, {10, 80}},
      {"bottom side out of the frame", 6, {150, 390}, {100, 199}},
      {"bottom-right keeps 5:4", 5, {250, 190}, {150, 120}},
  };
  for (const Case& c : cases) {
    CDVDImageSprite* sprite = AddClipArtAt(CRect(100, 100, 200, 180));
    Paint();
    const CRect r = Box(sprite);
    const POINT handle = c.hit == 4   ? POINT{r.right, (r.top + r.bottom) / 2}
                         : c.hit == 6 ? POINT{(r.left + r.right) / 2, r.bottom}
                                      : POINT{r.right, r.bottom};
    Drag(handle, c.to, 6);
    Paint();
    const CRect after = Box(sprite);
    EXPECT_LE(std::abs(after.Width() - c.size.cx), 1) << c.what << " " << after.Width();
    EXPECT_LE(std::abs(after.Height() - c.size.cy), 1) << c.what << " " << after.Height();
    EXPECT_GE(after.Width(), pictavo::canvas::kMinClipArtPixels - 1) << c.what;
    EXPECT_LE(after.bottom, m_canvas.GetFrameRect().bottom + 1) << c.what;
    m_canvas.OnKey(VK_DELETE);
  }
}

TEST_F(CanvasTest, DraggingAnObjectMovesItByThePointersDistance) {
  ShowSlide();
  CDVDImageSprite* sprite = AddClipArtAt(CRect(100, 100, 160, 150));
  Paint();
  const CRect before = Box(sprite);
  Drag(POINT{130, 120}, POINT{230, 170}, 5);
  Paint();
  const CRect after = Box(sprite);
  EXPECT_LE(std::abs(after.left - (before.left + 100)), 1);
  EXPECT_LE(std::abs(after.top - (before.top + 50)), 1);
  EXPECT_EQ(after.Size(), before.Size());
}

}  // namespace
}  // namespace canvastest
