// Every format the program opens, read back against an independent reading (ffmpeg's) or
// against the picture that was saved.
#include <gtest/gtest.h>

#include "ImageFixtures.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"

using namespace imagetest;

namespace {

// Flat bands, noise and a gradient: runs and literals for the run-length coders, detail for
// the lossless ones. Alpha (when asked) runs from 128 to 255.
CxImage Pattern(int w, int h, bool alpha) {
  CxImage image = Gradient(w, h, alpha);
  uint32_t seed = 12345;
  for (long y = 0; y < h; ++y)
    for (long x = 0; x < w; ++x) {
      if (y % 7 < 2) {
        image.SetPixelColor(x, y, RGB(200, 40, 90));
      } else if (y % 7 < 4) {
        seed = seed * 1103515245u + 12345u;
        image.SetPixelColor(x, y, RGB(seed >> 24, seed >> 16, seed >> 8));
      }
    }
  return image;
}

struct FfmpegCase {
  const char* extension;
  const char* pixelFormat;
  std::vector<std::string> extra;
  bool alpha;
  int tolerance;
  // From an even-sized gradient: with subsampled chroma, noise and a half-covered edge column
  // come out differently from every decoder.
  bool smooth = false;
};

const FfmpegCase kFfmpegCases[] = {
    {"bmp", "bgr24", {}, false, 0},
    {"bmp", "bgra", {}, true, 0},
    {"bmp", "pal8", {}, false, 0},
    {"bmp", "gray", {}, false, 0},
    {"bmp", "monob", {}, false, 0},
    {"bmp", "rgb555", {}, false, 0},
    {"bmp", "rgb565", {}, false, 0},
    // ffmpeg widens 4-bit channels by shifting (15 -> 240), we by repeating the bits (15 -> 255).
    {"bmp", "rgb444", {}, false, 15},
    {"tif", "rgb24", {"-compression_algo", "raw"}, false, 0},
    {"tif", "rgb24", {"-compression_algo", "packbits"}, false, 0},
    {"tif", "rgb24", {"-compression_algo", "lzw"}, false, 0},
    {"tif", "rgb24", {"-compression_algo", "deflate"}, false, 0},
    {"tif", "rgba", {}, true, 1},
    {"tif", "gray", {}, false, 0},
    {"tif", "pal8", {}, false, 0},
    {"tif", "monob", {}, false, 0},
    {"tif", "rgb48le", {}, false, 1},
    {"pcx", "rgb24", {}, false, 0},
    {"pcx", "pal8", {}, false, 0},
    {"pcx", "gray", {}, false, 0},
    {"pcx", "monob", {}, false, 0},
    {"png", "rgb24", {}, false, 0},
    {"png", "rgba", {}, true, 0},
    {"png", "pal8", {}, false, 0},
    {"png", "gray", {}, false, 0},
    {"png", "ya8", {}, true, 0},
    {"png", "rgb48be", {}, false, 1},
    {"png", "rgba64be", {}, true, 1},
    // Two JPEG decoders differ by rounding in the transform and the chroma upsampling.
    {"jpg", "yuvj420p", {}, false, 10, true},
    {"jpg", "yuvj422p", {}, false, 10, true},
    {"jpg", "yuvj444p", {}, false, 4, true},
};

}  // namespace

TEST(ImageFormats, FilesWrittenByFfmpegReadAsFfmpegReadsThem) {
  ScratchDir dir;
  constexpr int kW = 37, kH = 23;  // odd width: every depth needs row padding
  constexpr int kSmoothW = 38, kSmoothH = 24;
  const std::string pattern = dir / "pattern.png", smooth = dir / "smooth.png";
  ASSERT_TRUE(Pattern(kW, kH, true).Save(pattern.c_str(), CXIMAGE_FORMAT_PNG));
  ASSERT_TRUE(Gradient(kSmoothW, kSmoothH).Save(smooth.c_str(), CXIMAGE_FORMAT_PNG));
  for (const FfmpegCase& c : kFfmpegCases) {
    const int w = c.smooth ? kSmoothW : kW, h = c.smooth ? kSmoothH : kH;
    const std::string name = std::string(c.pixelFormat) + "." + c.extension;
    SCOPED_TRACE(name + (c.extra.empty() ? "" : " " + c.extra.back()));
    const std::string file = dir / name;
    std::vector<std::string> options = {"-pix_fmt", c.pixelFormat};
    options.insert(options.end(), c.extra.begin(), c.extra.end());
    ASSERT_TRUE(Ffmpeg(c.smooth ? smooth : pattern, file, options));
    const CxImage expected = DecodedByFfmpeg(file, dir, w, h, c.alpha);
    ASSERT_TRUE(expected.IsValid());

    CxImage image;
    ASSERT_TRUE(image.Load(file.c_str(), CXIMAGE_FORMAT_UNKNOWN)) << image.GetLastError();
    EXPECT_EQ(image.GetWidth(), static_cast<DWORD>(w));
    EXPECT_EQ(image.GetHeight(), static_cast<DWORD>(h));
    EXPECT_EQ(image.GetBpp(), 24);
    EXPECT_EQ(image.AlphaIsValid(), c.alpha);
    EXPECT_LE(MaxDifference(image, expected), c.tolerance);
  }
}

TEST(ImageFormats, FormatComesFromTheContentNotTheName) {
  ScratchDir dir;
  const std::string source = dir / "source.png";
  ASSERT_TRUE(Gradient(16, 8).Save(source.c_str(), CXIMAGE_FORMAT_PNG));
  struct Case {
    const char* made;
    const char* pixelFormat;
    const char* misnamed;  // name and type hint both say something else
    DWORD hint;
    DWORD type;
  };
  const Case kCases[] = {
      {"real.jpg", "yuvj444p", "a.png", CXIMAGE_FORMAT_PNG, CXIMAGE_FORMAT_JPG},
      {"real.png", "rgb24", "b.bmp", CXIMAGE_FORMAT_BMP, CXIMAGE_FORMAT_PNG},
      {"real.tif", "rgb24", "c.jpg", CXIMAGE_FORMAT_JPG, CXIMAGE_FORMAT_TIF},
      {"real.pcx", "rgb24", "d.tif", CXIMAGE_FORMAT_TIF, CXIMAGE_FORMAT_PCX},
      {"real.bmp", "bgr24", "e.pcx", CXIMAGE_FORMAT_PCX, CXIMAGE_FORMAT_BMP},
  };
  for (const Case& c : kCases) {
    ASSERT_TRUE(Ffmpeg(source, dir / c.made, {"-pix_fmt", c.pixelFormat}));
    fs::rename(dir / c.made, dir / c.misnamed);
    CxImage image;
    EXPECT_TRUE(image.Load((dir / c.misnamed).c_str(), c.hint)) << c.made << ": " << image.GetLastError();
    EXPECT_EQ(image.GetType(), c.type) << c.made;
  }
}

TEST(ImageFormats, SavedFilesLoadBack) {
  ScratchDir dir;
  struct Case {
    DWORD type;
    bool alpha;
    BYTE quality;
    int tolerance;
  };
  const Case kCases[] = {
      {CXIMAGE_FORMAT_PNG, false, 0, 0},
      {CXIMAGE_FORMAT_PNG, true, 0, 0},
      {CXIMAGE_FORMAT_JPG, false, 95, 6},
      {CXIMAGE_FORMAT_JPG, false, 75, 10},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << " alpha " << c.alpha << " quality "
                                    << int(c.quality));
    CxImage original = Gradient(61, 35, c.alpha);
    if (c.quality) original.SetJpegQuality(c.quality);
    const std::string file = dir / "saved";
    ASSERT_TRUE(original.Save(file.c_str(), c.type)) << original.GetLastError();

    CxImage fromFile;
    ASSERT_TRUE(fromFile.Load(file.c_str()));
    EXPECT_EQ(fromFile.GetType(), c.type);
    EXPECT_EQ(fromFile.AlphaIsValid(), c.alpha);
    EXPECT_LE(MaxDifference(fromFile, original), c.tolerance);

    const std::vector<BYTE> bytes = ReadFile(file);
    CxImage fromMemory;
    ASSERT_TRUE(fromMemory.Decode(bytes.data(), static_cast<DWORD>(bytes.size())));
    EXPECT_EQ(MaxDifference(fromMemory, fromFile), 0);
  }
}

TEST(ImageFormats, JpegQualityTradesSizeForFidelity) {
  ScratchDir dir;
  CxImage image = Pattern(64, 64, false);
  std::vector<size_t> sizes;
  for (BYTE quality : {30, 60, 95}) {
    image.SetJpegQuality(quality);
    const std::string file = dir / ("q" + std::to_string(quality) + ".jpg");
    ASSERT_TRUE(image.Save(file.c_str(), CXIMAGE_FORMAT_JPG));
    sizes.push_back(fs::file_size(file));
  }
  EXPECT_LT(sizes[0], sizes[1]);
  EXPECT_LT(sizes[1], sizes[2]);
}

TEST(ImageFormats, SavingReplacesTheFileWholeOrNotAtAll) {
  ScratchDir dir;
  const std::string file = dir / "photo.jpg";
  ASSERT_TRUE(Gradient(20, 10).Save(file.c_str(), CXIMAGE_FORMAT_JPG));
  const auto before = ReadFile(file);

  CxImage empty;
  EXPECT_FALSE(empty.Save(file.c_str(), CXIMAGE_FORMAT_JPG));
  EXPECT_FALSE(Gradient(20, 10).Save(file.c_str(), CXIMAGE_FORMAT_TIF));  // not offered
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
  EXPECT_FALSE(Gradient(20, 10).Save((dir / "missing/photo.jpg").c_str(), CXIMAGE_FORMAT_JPG));
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(ReadFile(file), before);

  ASSERT_TRUE(Gradient(40, 30).Save(file.c_str(), CXIMAGE_FORMAT_JPG));
  CxImage reloaded;
  ASSERT_TRUE(reloaded.Load(file.c_str()));
  EXPECT_EQ(reloaded.GetWidth(), 40u);
  // Nothing but the file itself is left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST(ImageFormats, BackslashPathsAndMissingFiles) {
  ScratchDir dir;
  fs::create_directory(dir / "album");
  ASSERT_TRUE(Gradient(8, 8).Save((dir / "album/p.png").c_str(), CXIMAGE_FORMAT_PNG));
  CxImage image;
  EXPECT_TRUE(image.Load((dir.Path() + "\\album\\p.png").c_str()));

  EXPECT_FALSE(image.Load((dir / "album/none.png").c_str()));
  EXPECT_FALSE(image.IsValid());
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_NE(std::string(image.GetLastError()).find("none.png"), std::string::npos);

  EXPECT_FALSE(image.Load(dir.Path().c_str()));  // a folder
  EXPECT_FALSE(image.Load(""));
  EXPECT_FALSE(image.Load(nullptr));
}
