// The pan-and-zoom preview: the picture it hands the engine, its frame, dragging and the veil.

#include <cmath>

#include "editing/PanZoomPreviewStatic.h"
#include "tests/editing/PanZoomFixture.h"

namespace {

using namespace panzoomtest;

constexpr int kPreviewId = 1468;
constexpr COLORREF kAlbumColour = RGB(0, 0, 200);
constexpr COLORREF kPhotoColour = RGB(200, 40, 40);

// The preview's parent: counts the drag notifications and keeps the last one.
class DragSink : public CWnd {
 public:
  int m_nDragged = 0;
  WPARAM m_lastId = 0;
  LPARAM m_lastRecord = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_PANZOOM_PREVIEW_DRAGGED) {
      ++m_nDragged, m_lastId = wParam, m_lastRecord = lParam;
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

class PanZoomPreviewTest : public PanZoomTest {
 protected:
  void SetUp() override {
    PanZoomTest::SetUp();
    m_album->Set_clrBackground(kAlbumColour);
    m_slide = AddSlide();
    ASSERT_TRUE(m_sink.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 400),
                                &m_owner, 0));
  }
  void TearDown() override {
    m_sink.DestroyWindow();
    PanZoomTest::TearDown();
  }
  // A 400 x 200 preview at (20, 20) of the sink, over `source`.
  void Open(CPanZoomPreviewStatic& preview) {
    ASSERT_TRUE(
        preview.Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(20, 20, 420, 220), &m_sink, kPreviewId));
    Pump();
  }
  POINT ScreenPoint(CPanZoomPreviewStatic& preview, int x, int y) {
    CPoint point(x, y);
    preview.ClientToScreen(&point);
    return point;
  }
  void Drag(CPanZoomPreviewStatic& preview, int dx, int dy) {
    pictavo::user::InjectMouseMove(ScreenPoint(preview, 200, 100));
    Pump();
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
    Pump();
    pictavo::user::InjectMouseMove(ScreenPoint(preview, 200 + dx, 100 + dy));
    Pump();
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
    Pump();
  }

  CDVDImage* m_slide = nullptr;
  DragSink m_sink;
};

TEST(PanZoomPreviewRules, FitMultipleOfAPicture) {
  struct Case {
    int width, height, aspectWidth, aspectHeight, multiple;
  };
  const Case cases[] = {
      {800, 600, 4, 3, 0},      // already 4:3: used as it is
      {800, 500, 4, 3, 200},    // letterboxed to 800 x 600
      {4000, 2500, 4, 3, 256},  // 1000 and 833, capped: 1024 x 768
      {3, 1, 4, 3, 1},          // under one unit: still a 4 x 3 canvas, never 0
      {0, 0, 4, 3, 1},          // empty
      {1920, 1080, 16, 9, 0},  {800, 600, 16, 9, 66}, {1, 1000000, 4, 3, 256},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CPanZoomPreviewStatic::FitMultiple(c.width, c.height, c.aspectWidth, c.aspectHeight),
              c.multiple)
        << c.width << " x " << c.height << " on " << c.aspectWidth << ":" << c.aspectHeight;
}

TEST(PanZoomPreviewRules, DragMovesThePanByTheClientExtent) {
  struct Case {
    double value;
    int delta, extent;
    double pan;
  };
  const Case cases[] = {
      {0, 400, 400, 100},                          // the whole width: +100
      {50, 400, 400, 100},                         // past 100 stays at 100
      {-90, -200, 400, -100},                      // and past -100 at -100
      {0, 1, 300, 0.33},                           // to hundredths
      {10, -1, 400, 9.75},    {12.5, 7, 0, 12.5},  // no extent: unchanged
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(CPanZoomPreviewStatic::DragPan(c.value, c.delta, c.extent), c.pan)
        << c.value << " + " << c.delta << " / " << c.extent;
}

TEST_F(PanZoomPreviewTest, SourceFittedToTheTvAspect) {
  struct Case {
    int width, height, aspect;
    int fittedWidth, fittedHeight;  // 0: the source itself
  };
  const Case cases[] = {
      {800, 600, 0, 0, 0}, {800, 500, 0, 800, 600}, {4000, 2500, 0, 1024, 768}, {3, 1, 0, 4, 3},
      {0, 0, 0, 4, 3},     {1920, 1080, 2, 0, 0},   {800, 600, 2, 1056, 594},   {800, 600, 1, 0, 0},
  };
  for (const Case& c : cases) {
    GetProject()->GetOptionsData()->nAspectCorrection = c.aspect;
    CxImage source = Plain(c.width, c.height, kPhotoColour);
    CPanZoomPreviewStatic preview(&source, &m_slide);
    Open(preview);
    EXPECT_TRUE(preview.PrepareSource());
    const CxImage* effective = preview.GetEffectiveSource();
    ASSERT_NE(effective, nullptr);
    if (c.fittedWidth == 0) {
      EXPECT_EQ(effective, &source) << c.width << " x " << c.height;
    } else {
      EXPECT_NE(effective, &source);
      EXPECT_EQ(static_cast<int>(effective->GetWidth()), c.fittedWidth) << c.width << " x " << c.height;
      EXPECT_EQ(static_cast<int>(effective->GetHeight()), c.fittedHeight) << c.width << " x " << c.height;
      // The letterbox takes the album's background colour.
      const RGBQUAD corner = effective->GetPixelColor(0, 0, false);
      if (c.width * c.fittedHeight != c.height * c.fittedWidth || c.width == 0)
        EXPECT_EQ(RGB(corner.rgbRed, corner.rgbGreen, corner.rgbBlue), kAlbumColour)
            << c.width << " x " << c.height;
    }
    // The frame has the frame rectangle's size: 266 x 200 of 400 x 200 at 4:3, 400 x 225 at 16:9.
    const CxImage& frame = preview.GetFramePicture();
    EXPECT_EQ(frame.GetWidth(), c.aspect == 2 ? 355u : 266u);
    EXPECT_EQ(frame.GetHeight(), c.aspect == 2 ? 200u : 200u);
    preview.DestroyWindow();
  }
}

TEST_F(PanZoomPreviewTest, NothingRendersBeforeTheSourceIsPrepared) {
  CxImage source = Plain(800, 600, kPhotoColour);
  CPanZoomPreviewStatic preview(&source, &m_slide);
  Open(preview);
  EXPECT_FALSE(preview.Render());
  EXPECT_FALSE(preview.GetFramePicture().IsValid());
  const pictavo::test::Picture shot = Snapshot(preview.m_hWnd, "panzoom-preview-unprepared.png");
  EXPECT_EQ(shot.At(200, 100), RGB(0xA0, 0xA0, 0xA0)) << "the grey field";
  preview.DestroyWindow();
}

TEST_F(PanZoomPreviewTest, DraggingMovesOnlyTheStartPan) {
  struct Case {
    double startX, startY;
    int dx, dy;
    double panX, panY;
  };
  const Case cases[] = {
      {0, 0, 100, 0, 25, 0},    // a quarter of the width
      {90, 0, 100, 0, 100, 0},  // past 100 stays at 100
      {0, 0, 0, -50, 0, -25},   // half the height up
      {-99.5, 10, -60, 20, -100, 20},
  };
  CxImage source = Plain(800, 500, kPhotoColour);
  CPanZoomPreviewStatic preview(&source, &m_slide);
  Open(preview);
  preview.PrepareSource();
  for (const Case& c : cases) {
    preview.m_workParam.fStartPanX = c.startX, preview.m_workParam.fStartPanY = c.startY;
    preview.m_workParam.fEndPanX = 7, preview.m_workParam.fStartZoom = 150,
    preview.m_workParam.fStartRotate = 5;
    m_sink.m_nDragged = 0;
    Drag(preview, c.dx, c.dy);
    EXPECT_DOUBLE_EQ(preview.m_workParam.fStartPanX, c.panX) << c.startX << " by " << c.dx;
    EXPECT_DOUBLE_EQ(preview.m_workParam.fStartPanY, c.panY) << c.startY << " by " << c.dy;
    EXPECT_EQ(preview.m_workParam.fEndPanX, 7);
    EXPECT_EQ(preview.m_workParam.fStartZoom, 150);
    EXPECT_EQ(preview.m_workParam.fStartRotate, 5);
    EXPECT_GE(m_sink.m_nDragged, 1);
    EXPECT_EQ(m_sink.m_lastId, static_cast<WPARAM>(kPreviewId));
    EXPECT_EQ(m_sink.m_lastRecord, reinterpret_cast<LPARAM>(&preview.m_workParam));
    EXPECT_FALSE(preview.IsDragging());
    EXPECT_EQ(GetCapture(), nullptr);
  }
  preview.DestroyWindow();
}

TEST_F(PanZoomPreviewTest, AVeiledPreviewShowsTheSameFrameAndIgnoresTheMouse) {
  CxImage source = Plain(800, 600, kPhotoColour);
  CPanZoomPreviewStatic preview(&source, &m_slide);
  Open(preview);
  preview.PrepareSource();
  const pictavo::test::Picture open = Snapshot(preview.m_hWnd, "panzoom-preview-editable.png");
  EXPECT_EQ(open.At(5, 100), RGB(0xA0, 0xA0, 0xA0)) << "the field beside the 4:3 frame";
  EXPECT_EQ(open.At(200, 100), kPhotoColour);
  preview.SetEditable(FALSE);
  const pictavo::test::Picture veiled = Snapshot(preview.m_hWnd, "panzoom-preview-veiled.png");
  // Translucent white (alpha 0xA0) over the field and over the photo.
  const auto over = [](int base) { return base + (255 - base) * 0xA0 / 255; };
  EXPECT_NEAR(GetRValue(veiled.At(5, 100)), over(0xA0), 2);
  EXPECT_NEAR(GetRValue(veiled.At(200, 100)), over(200), 2);
  EXPECT_NEAR(GetGValue(veiled.At(200, 100)), over(40), 2);
  m_sink.m_nDragged = 0;
  Drag(preview, 100, 40);
  EXPECT_EQ(preview.m_workParam.fStartPanX, 0);
  EXPECT_EQ(m_sink.m_nDragged, 0);
  EXPECT_EQ(GetCapture(), nullptr);
  preview.DestroyWindow();
}

}  // namespace
