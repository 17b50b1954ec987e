// Drawing into frames: title and credit frames with their fades and motion, the theme over slide
// frames, a slide's picture with its rotation and objects at two frame sizes, clip art, brushes
// and the objects in the editor's DC.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "modules/data/AlbumEffect.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/EMF.h"
#include "modules/data/ImageSprite.h"
#include "modules/data/PhotoTextEffect.h"
#include "modules/image/CxImage.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdiplus/GdiPlus.h"
#include "tests/modules/data/DataFixtures.h"
#include "tests/support/Canvas.h"

namespace {

using datatest::ScratchDir;

struct Rgb {
  int r, g, b;
};

// A pixel of a 24-bit bottom-up frame, y counted from the top.
Rgb FramePixel(const BYTE* bits, int width, int height, int x, int y) {
  const size_t stride = static_cast<size_t>((width * 3 + 3) & ~3);
  const BYTE* p = bits + stride * static_cast<size_t>(height - 1 - y) + static_cast<size_t>(x) * 3;
  return Rgb{p[2], p[1], p[0]};
}

Rgb PicturePixel(CxImage& picture, int x, int y) {
  const RGBQUAD q = picture.GetPixelColor(x, static_cast<long>(picture.GetHeight()) - 1 - y);
  return Rgb{q.rgbRed, q.rgbGreen, q.rgbBlue};
}

bool IsNear(const Rgb& a, const Rgb& b, int tolerance = 3) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

bool IsWhitish(const Rgb& c) {
  return c.r > 200 && c.g > 200 && c.b > 200;
}

// The share of pixels in a rectangle that pass a test.
double Share(const std::function<Rgb(int, int)>& pixel, RECT r, const std::function<bool(const Rgb&)>& test) {
  int hits = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) hits += test(pixel(x, y));
  return static_cast<double>(hits) / ((r.right - r.left) * (r.bottom - r.top));
}

void SetText(_ALBUM_TEXT_SETTINGS& settings, const char* text, COLORREF font, COLORREF background, int size,
             int seconds) {
  settings.bEnabled = 1;
  std::strcpy(settings.szText, text);
  settings.clrFont = font;
  settings.clrBackground = background;
  settings.nFontSize = size;
  settings.nDuration = seconds;
}

struct FrameSize {
  int width, height;
};
const FrameSize kSizes[] = {{320, 240}, {640, 360}};

TEST(TitleFrames, TextInTheMiddleOverTheBackgroundAtAnySize) {
  for (const FrameSize& size : kSizes) {
    CAlbumEffect effect;
    SetText(*effect.GetTitleSettings(), "HELLO", RGB(255, 255, 255), RGB(0, 0, 200), 48, 2);
    effect.Init(size.width, size.height, 10);
    ASSERT_TRUE(effect.StartTitleEffect());
    ASSERT_EQ(effect.GetTitleFrameCount(), 20);
    const BYTE* bits = nullptr;
    for (int f = 0; f <= 10; ++f) bits = effect.GetOneTitleFrame();
    ASSERT_NE(bits, nullptr);
    const auto pixel = [&](int x, int y) { return FramePixel(bits, size.width, size.height, x, y); };
    const int w = size.width, h = size.height;
    EXPECT_TRUE(IsNear(pixel(2, 2), Rgb{0, 0, 200})) << w << ": the background";
    EXPECT_GT(Share(pixel, RECT{w / 4, h * 2 / 5, w * 3 / 4, h * 3 / 5}, IsWhitish), 0.08)
        << w << ": text in the middle";
    EXPECT_EQ(Share(pixel, RECT{0, 0, w, h / 4}, IsWhitish), 0.0) << w << ": nothing at the top";
    EXPECT_EQ(Share(pixel, RECT{0, h * 3 / 4, w, h}, IsWhitish), 0.0) << w << ": nothing at the bottom";
    effect.StopTitleEffect();
    EXPECT_EQ(effect.GetTitleFrameCount(), 0);
  }
}

TEST(TitleFrames, FadesScaleTheBrightness) {
  // 2 s at 10 fps: fades of 5 frames at each end.
  CAlbumEffect effect;
  SetText(*effect.GetTitleSettings(), "", RGB(255, 255, 255), RGB(0, 0, 200), 48, 2);
  effect.Init(160, 120, 10);
  ASSERT_TRUE(effect.StartTitleEffect());
  const int expected[20] = {0,   40,  80,  120, 160, 200, 200, 200, 200, 200,
                            200, 200, 200, 200, 200, 160, 120, 80,  40,  0};
  for (int f = 0; f < 20; ++f) {
    const BYTE* bits = effect.GetOneTitleFrame();
    ASSERT_NE(bits, nullptr) << f;
    EXPECT_NEAR(FramePixel(bits, 160, 120, 5, 5).b, expected[f], 1) << "frame " << f;
  }
  EXPECT_EQ(effect.GetOneTitleFrame(), nullptr) << "all frames given";
}

TEST(CreditFrames, TheTextScrollsUpward) {
  CAlbumEffect effect;
  SetText(*effect.GetCreditSettings(), "THE END", RGB(255, 255, 255), RGB(0, 0, 0), 40, 3);
  effect.Init(320, 240, 10);
  ASSERT_TRUE(effect.StartCreditEffect());
  ASSERT_EQ(effect.GetCreditFrameCount(), 30);
  std::vector<double> centres;
  for (int f = 0; f < 30; ++f) {
    const BYTE* bits = effect.GetOneCreditFrame();
    if (f != 10 && f != 20) continue;
    double sum = 0;
    int count = 0;
    for (int y = 0; y < 240; ++y)
      for (int x = 0; x < 320; ++x)
        if (FramePixel(bits, 320, 240, x, y).r > 128) {
          sum += y;
          ++count;
        }
    ASSERT_GT(count, 0) << "frame " << f;
    centres.push_back(sum / count);
  }
  EXPECT_LT(centres[1], centres[0] - 40) << "higher up later";
}

// The height of the text's middle in a frame (white pixels), -1 when none shows.
double TextCentre(const BYTE* bits, int w, int h) {
  double sum = 0;
  int count = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (FramePixel(bits, w, h, x, y).r > 20) {
        sum += y;
        ++count;
      }
  return count > 0 ? sum / count : -1;
}

TEST(TitleFrames, TheEffectFileSaysHowTheTextMoves) {
  const std::string folder = std::string(std::getenv("PICTAVO_SOURCE_DIR")) + "/data/title/effects/";
  struct Case {
    std::string file;
    bool rises;  // lower at the start of the fade-in than after it
  };
  const Case cases[] = {
      {folder + "rise.xml", true}, {folder + "fade.xml", false}, {"/nowhere/gone.xml", false}};
  for (const Case& c : cases) {
    CAlbumEffect effect;
    SetText(*effect.GetTitleSettings(), "TITLE", RGB(255, 255, 255), RGB(0, 0, 0), 48, 4);
    std::strcpy(effect.GetTitleSettings()->szEffectFile, c.file.c_str());
    effect.Init(320, 240, 10);
    ASSERT_TRUE(effect.StartTitleEffect()) << c.file;
    std::vector<double> centres;
    for (int f = 0; f < 20; ++f) {
      const BYTE* bits = effect.GetOneTitleFrame();
      if (f == 3 || f == 15) centres.push_back(TextCentre(bits, 320, 240));
    }
    ASSERT_GT(centres[0], 0) << c.file;
    if (c.rises)
      EXPECT_GT(centres[0], centres[1] + 5) << c.file;
    else
      EXPECT_NEAR(centres[0], centres[1], 1.5) << c.file;
  }
}

TEST(TitleFrames, NothingWithoutTitlesOrBeforeInit) {
  CAlbumEffect effect;
  EXPECT_FALSE(effect.StartTitleEffect()) << "no Init";
  effect.Init(160, 120, 25);
  EXPECT_FALSE(effect.StartTitleEffect()) << "titles are off";
  EXPECT_EQ(effect.GetOneTitleFrame(), nullptr);
  EXPECT_FALSE(effect.StartEffect()) << "no theme";
}

std::string WriteOverlay(const ScratchDir& dir) {
  // Transparent, with an opaque red middle quarter.
  CxImage overlay;
  overlay.Create(200, 100, 24);
  overlay.Fill(RGB(255, 0, 0));
  overlay.AlphaCreate();
  for (long y = 0; y < 100; ++y)
    for (long x = 0; x < 200; ++x) overlay.AlphaSet(x, y, x >= 50 && x < 150 && y >= 25 && y < 75 ? 255 : 0);
  const std::string path = dir / "overlay.png";
  EXPECT_TRUE(overlay.Save(path.c_str(), CXIMAGE_FORMAT_PNG));
  return path;
}

TEST(Theme, TheOverlayAndTextLieOverSlideFramesOfAnySize) {
  ScratchDir dir;
  _ALBUM_THEME theme{};
  std::strcpy(theme.szThemeName, "Red");
  std::strcpy(theme.szOverlayFile, WriteOverlay(dir).c_str());
  std::strcpy(theme.szFontFace, "DejaVu Sans");
  theme.rcText = RECT{0, 496, 768, 576};
  theme.clrText = RGB(255, 255, 255);
  theme.nFontSize = 30;
  theme.nTextAlign = 1;
  CAlbumEffect effect;
  effect.SetTheme(&theme);
  effect.SetDefaultText("Summer", "Pictavo", "");
  effect.Init(320, 240, 25);
  ASSERT_TRUE(effect.StartEffect());
  for (const FrameSize& size : kSizes) {
    CxImage frame;
    frame.Create(size.width, size.height, 24);
    frame.Fill(RGB(0, 0, 0));
    ASSERT_TRUE(effect.AddEffect(&frame, 0));
    const int w = size.width, h = size.height;
    EXPECT_TRUE(IsNear(PicturePixel(frame, w / 2, h / 2), Rgb{255, 0, 0})) << w << ": the overlay's middle";
    EXPECT_TRUE(IsNear(PicturePixel(frame, w / 8, h / 8), Rgb{0, 0, 0})) << w << ": transparent elsewhere";
    const auto pixel = [&](int x, int y) { return PicturePixel(frame, x, y); };
    EXPECT_GT(Share(pixel, RECT{w / 4, h * 7 / 8, w * 3 / 4, h}, IsWhitish), 0.01)
        << w << ": the album's name";
  }
  effect.StopEffect();
  CxImage frame;
  frame.Create(32, 32, 24);
  EXPECT_FALSE(effect.AddEffect(&frame, 0)) << "stopped";
}

// A photo whose left half is red and right half green.
std::string WriteHalves(const ScratchDir& dir) {
  CxImage photo;
  photo.Create(80, 40, 24);
  for (long y = 0; y < 40; ++y)
    for (long x = 0; x < 80; ++x) photo.SetPixelColor(x, y, x < 40 ? RGB(255, 0, 0) : RGB(0, 255, 0));
  const std::string path = dir / "halves.png";
  EXPECT_TRUE(photo.Save(path.c_str(), CXIMAGE_FORMAT_PNG));
  return path;
}

std::string WriteBlueBox(const ScratchDir& dir) {
  const std::string path = dir / "box.emf";
  datatest::WriteWholeFile(
      path, "PICTAVO-CLIPART 1\nsize 100 100\n# a blue square\nfill #0000FF\nrect 0 0 100 100\n");
  return path;
}

TEST(SlidePicture, RotationAndObjectsAtTwoFrameSizes) {
  ScratchDir dir;
  GetProject()->Set_nPhotoScaleMode(0);
  CDVDAlbumImage album;
  auto* slide = new CDVDImage(&album);
  slide->Put_strPathName(WriteHalves(dir).c_str());
  slide->Put_nRotateAngle(90);
  album.AddDVDImage(slide);
  // Clip art in the reference frame's lower right quarter; a white text near the top left.
  auto* box = new CDVDImageProps(slide);
  box->Set_strPathName(WriteBlueBox(dir).c_str());
  box->Set_ptPosition(POINT{576, 432});
  box->Set_szSize(SIZE{192, 144});
  slide->AddImageSprite(box, 0);
  auto* text = new CDVDImageText(slide);
  _DVDImageTextFont font;
  CDVDImageText::SetDefaultTextFontData(&font);
  font.bShadow = 0;
  font.nFontSize = 40;
  text->SetDVDImageTextFont(&font);
  text->Set_strText("MMM");
  text->Set_ptPosition(POINT{20, 20});
  text->SetTextSize();
  slide->AddImageSprite(text, 0);

  for (const FrameSize& size : {FrameSize{320, 240}, FrameSize{640, 480}}) {
    const int w = size.width, h = size.height;
    const double k = w / 768.0;
    CxImage picture;
    const CSize frame(w, h);
    ASSERT_TRUE(slide->LoadToCxImage(&picture, &frame, RGB(10, 10, 10), 1));
    ASSERT_EQ(picture.GetWidth(), static_cast<DWORD>(w));
    // Turned clockwise, the red left half is on top; fitted, the picture is as tall as the frame.
    EXPECT_TRUE(IsNear(PicturePixel(picture, w / 2, h / 4), Rgb{255, 0, 0})) << w;
    EXPECT_TRUE(IsNear(PicturePixel(picture, w / 2, h * 3 / 4 - 10), Rgb{0, 255, 0})) << w;
    EXPECT_TRUE(IsNear(PicturePixel(picture, w / 10, h / 2), Rgb{10, 10, 10})) << w << ": the background";
    EXPECT_TRUE(
        IsNear(PicturePixel(picture, static_cast<int>(650 * k), static_cast<int>(500 * k)), Rgb{0, 0, 255}))
        << w << ": the clip art";
    EXPECT_TRUE(
        IsNear(PicturePixel(picture, static_cast<int>(560 * k), static_cast<int>(420 * k)), Rgb{10, 10, 10}))
        << w << ": nothing beside it";
    const auto pixel = [&](int x, int y) { return PicturePixel(picture, x, y); };
    const CSize& t = text->Get_szSize();
    EXPECT_GT(Share(pixel,
                    RECT{static_cast<LONG>(20 * k), static_cast<LONG>(20 * k),
                         static_cast<LONG>((20 + t.cx) * k), static_cast<LONG>((20 + t.cy) * k)},
                    IsWhitish),
              0.1)
        << w << ": the text";

    CxImage plain;
    ASSERT_TRUE(slide->LoadToCxImage(&plain, &frame, RGB(10, 10, 10), 0));
    EXPECT_TRUE(
        IsNear(PicturePixel(plain, static_cast<int>(650 * k), static_cast<int>(500 * k)), Rgb{10, 10, 10}))
        << w << ": without apply no objects";
  }
}

TEST(ClipArt, ReadsItsOwnVectorsAndPicturesAndRefusesDamage) {
  ScratchDir dir;
  CEMF art;
  ASSERT_TRUE(art.Load(WriteBlueBox(dir).c_str()));
  CSize size;
  ASSERT_TRUE(art.GetWidthHeight(size));
  EXPECT_EQ(size, CSize(100, 100));

  struct Case {
    const char* what;
    std::string text;
    DWORD error;
    const char* why;
  };
  const Case damaged[] = {
      {"no magic: tried as a picture", "size 10 10\n", ERROR_BAD_FORMAT, "PICTAVO-CLIPART 1"},
      {"no size", "PICTAVO-CLIPART 1\nfill #FF0000\n", ERROR_INVALID_DATA, "size"},
      {"bad number", "PICTAVO-CLIPART 1\nsize 10 10\nrect 0 0 x 4\n", ERROR_INVALID_DATA, "line 3"},
      {"bad colour", "PICTAVO-CLIPART 1\nsize 10 10\nfill red\n", ERROR_INVALID_DATA, "line 3"},
      {"unknown command", "PICTAVO-CLIPART 1\nsize 10 10\nstar 1 2 3\n", ERROR_INVALID_DATA,
       "unknown command"},
      {"short polygon", "PICTAVO-CLIPART 1\nsize 10 10\npolygon 0 0 1 1\n", ERROR_INVALID_DATA, "line 3"},
      {"path before M", "PICTAVO-CLIPART 1\nsize 10 10\npath L 1 1\n", ERROR_INVALID_DATA, "line 3"},
  };
  for (const Case& c : damaged) {
    datatest::WriteWholeFile(dir / "bad.emf", c.text);
    CEMF bad;
    EXPECT_FALSE(bad.Load((dir / "bad.emf").c_str())) << c.what;
    EXPECT_EQ(GetLastError(), c.error) << c.what;
    EXPECT_NE(std::string(bad.GetLastErrorText()).find(c.why), std::string::npos)
        << c.what << ": " << bad.GetLastErrorText();
    EXPECT_FALSE(bad.IsValid());
  }
  CEMF missing;
  EXPECT_FALSE(missing.Load((dir / "none.emf").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  CEMF picture;
  ASSERT_TRUE(picture.Load(WriteOverlay(dir).c_str())) << "a PNG is clip art too";
  ASSERT_TRUE(picture.GetWidthHeight(size));
  EXPECT_EQ(size, CSize(200, 100));
}

// A 32-bit DIB section in a memory DC, for drawing calls that take a DC, read as Rgb.
class DibCanvas : public pictavo::test::Canvas {
 public:
  using Canvas::Canvas;
  Rgb At(int x, int y) const {
    const COLORREF c = Canvas::At(x, y);
    return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
  }
};

TEST(ClipArt, TheProgramsOwnClipArtReadsAndDraws) {
  // Every style the clip-art page lists, every picture of it.
  const std::string folder = std::string(std::getenv("PICTAVO_SOURCE_DIR")) + "/data/ArtClip";
  const std::string ini = datatest::ReadWholeFile(folder + "/artclip.ini");
  ASSERT_NE(ini.find("StyleCount=2"), std::string::npos);
  int pictures = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.path().extension() != ".emf") continue;
    CEMF art;
    ASSERT_TRUE(art.Load(entry.path().c_str())) << entry.path() << ": " << art.GetLastErrorText();
    {
      DibCanvas canvas(100, 100, RGB(128, 128, 128));
      ASSERT_TRUE(art.Draw(canvas.Dc(), RECT{0, 0, 100, 100}));
      const auto pixel = [&](int x, int y) { return canvas.At(x, y); };
      EXPECT_GT(Share(pixel, RECT{0, 0, 100, 100},
                      [](const Rgb& c) {
                        return !IsNear(c, Rgb{128, 128, 128});
                      }),
                0.08)
          << entry.path();
    }
    ++pictures;
  }
  EXPECT_EQ(pictures, 8);
}

TEST(ClipArt, DrawsStretchedIntoADcRectangle) {
  ScratchDir dir;
  CEMF art;
  ASSERT_TRUE(art.Load(WriteBlueBox(dir).c_str()));
  DibCanvas canvas(100, 60, RGB(255, 255, 255));
  ASSERT_TRUE(art.Draw(canvas.Dc(), RECT{20, 10, 60, 50}));
  EXPECT_TRUE(IsNear(canvas.At(40, 30), Rgb{0, 0, 255}));
  EXPECT_TRUE(IsNear(canvas.At(10, 30), Rgb{255, 255, 255}));
  EXPECT_TRUE(IsNear(canvas.At(70, 30), Rgb{255, 255, 255}));
}

TEST(Objects, DrawAtTheEditorsScaleWithTheTracker) {
  ScratchDir dir;
  CDVDImageProps box;
  box.Set_strPathName(WriteBlueBox(dir).c_str());
  box.Set_ptPosition(POINT{100, 100});
  box.Set_szSize(SIZE{200, 100});
  box.Set_fFactor(0.5f);
  DibCanvas canvas(300, 200, RGB(255, 255, 255));
  box.Draw(canvas.Dc(), POINT{10, 20}, 1);
  // At half scale from (10, 20): (60, 70) to (160, 120).
  EXPECT_TRUE(IsNear(canvas.At(110, 95), Rgb{0, 0, 255}));
  EXPECT_TRUE(IsNear(canvas.At(40, 95), Rgb{255, 255, 255}));
  const CRect bound = box.GetBoundRect(POINT{10, 20});
  EXPECT_EQ(bound, CRect(60, 70, 160, 120));
  // A handle sits on each corner: its frame is black, the inside white.
  EXPECT_TRUE(IsNear(canvas.At(60 - CDVDImageSprite::kHandleRadius, 70), Rgb{0, 0, 0}));
  EXPECT_TRUE(IsNear(canvas.At(160 + 1, 120 + 1), Rgb{255, 255, 255}));
}

TEST(TextEffect, BrushesOfEachKind) {
  struct Case {
    const char* what;
    int kind;
    const char* texture;
    Gdiplus::BrushType type;
  };
  const Case cases[] = {
      {"solid", 0, "", Gdiplus::BrushTypeSolidColor},
      {"gradient", 1, "", Gdiplus::BrushTypeLinearGradient},
      {"a texture that is not there falls back to its colour", 2, "none.jpg", Gdiplus::BrushTypeSolidColor}};
  for (const Case& c : cases) {
    _TextBrushStyle style{};
    style.nBrushType = c.kind;
    style.clrSolid = RGB(1, 2, 3);
    style.clrGradient1 = RGB(255, 255, 255);
    style.clrGradient2 = RGB(0, 0, 240);
    style.nGradientAngle = 90;
    std::strcpy(style.szTextureFile, c.texture);
    std::unique_ptr<Gdiplus::Brush> brush(
        CPhotoTextEffect::GetBrush(Gdiplus::RectF(0, 0, 40, 20), &style, "/nowhere"));
    ASSERT_NE(brush, nullptr) << c.what;
    EXPECT_EQ(brush->GetType(), c.type) << c.what;
  }
  EXPECT_EQ(CPhotoTextEffect::GetBrush(Gdiplus::RectF(0, 0, 4, 4), nullptr, ""), nullptr);
}

TEST(TextEffect, DrawsTheSampleLetter) {
  // The program starts GDI+ at start-up, before it makes fonts of its own.
  static ULONG_PTR token = 0;
  Gdiplus::GdiplusStartupInput input;
  if (token == 0) ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
  _DVDImageTextFont font;
  CDVDImageText::SetDefaultTextFontData(&font);
  font.effect.brush.clrSolid = RGB(200, 0, 0);
  DibCanvas canvas(80, 80, RGB(255, 255, 255));
  {
    Gdiplus::Graphics graphics(canvas.Dc());
    Gdiplus::Font gdiFont(L"DejaVu Sans", 48, Gdiplus::FontStyleBold, Gdiplus::UnitPixel);
    ASSERT_TRUE(
        CPhotoTextEffect::DrawText(&graphics, "A", &gdiFont, Gdiplus::PointF(10, 10), "", &font.effect));
  }
  const auto pixel = [&](int x, int y) { return canvas.At(x, y); };
  EXPECT_GT(Share(pixel, RECT{10, 10, 70, 70}, [](const Rgb& c) { return c.r > 150 && c.g < 80; }), 0.05);
}

TEST(Thumbnails, DrawnFittedOrFillingTheBox) {
  ScratchDir dir;
  CDVDImage slide;
  EXPECT_FALSE(slide.DrawThumbnail(nullptr, RECT{}, POINT{}, SIZE{10, 10}, 0, 1));
  slide.Put_strPathName(WriteHalves(dir).c_str());
  DibCanvas canvas(120, 100, RGB(255, 255, 255));
  EXPECT_FALSE(slide.DrawThumbnail(canvas.Dc(), RECT{0, 0, 120, 100}, POINT{10, 10}, SIZE{80, 80}, 0, 1))
      << "no thumbnail yet";
  ASSERT_TRUE(slide.UpdateThumbnail());
  EXPECT_TRUE(slide.IsThumbnailCurrent());
  EXPECT_EQ(slide.m_nWidth, 80);
  // Fitted: the 2:1 picture covers the box's middle rows only.
  ASSERT_TRUE(slide.DrawThumbnail(canvas.Dc(), RECT{0, 0, 120, 100}, POINT{10, 10}, SIZE{80, 80}, 0, 1));
  EXPECT_TRUE(IsNear(canvas.At(20, 50), Rgb{255, 0, 0}, 20));
  EXPECT_TRUE(IsNear(canvas.At(80, 50), Rgb{0, 255, 0}, 20));
  EXPECT_TRUE(IsNear(canvas.At(50, 15), Rgb{255, 255, 255}));
  // Filling: the box is covered.
  ASSERT_TRUE(slide.DrawThumbnail(canvas.Dc(), RECT{0, 0, 120, 100}, POINT{10, 10}, SIZE{80, 80}, 0, 0));
  EXPECT_FALSE(IsNear(canvas.At(50, 15), Rgb{255, 255, 255}));
  EXPECT_TRUE(IsNear(canvas.At(5, 5), Rgb{255, 255, 255})) << "nothing outside the box";

  slide.Put_nRotateAngle(90);
  EXPECT_FALSE(slide.IsThumbnailCurrent()) << "a turn changes the look";
  EXPECT_NE(slide.GetThumbnail(0, 0), nullptr) << "the old one is drawn meanwhile";
}

}  // namespace
