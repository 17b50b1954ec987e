// Damaged, truncated, oversized and foreign files fail cleanly: false, an empty picture and a
// reason, never a crash or a hang.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <random>

#include "ImageFixtures.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"

using namespace imagetest;

namespace {

struct Fixture {
  std::string name;
  std::vector<BYTE> bytes;
  size_t slack;  // trailing bytes a reader may do without (a bitmap's last row padding)
};

// One small file per format and variant.
std::vector<Fixture> MakeFixtures(const ScratchDir& dir) {
  std::vector<Fixture> out;
  CxImage picture = Gradient(29, 17, true);
  const std::string png = dir / "f.png", jpg = dir / "f.jpg";
  EXPECT_TRUE(picture.Save(png.c_str(), CXIMAGE_FORMAT_PNG));
  EXPECT_TRUE(picture.Save(jpg.c_str(), CXIMAGE_FORMAT_JPG));
  out.push_back({"png", ReadFile(png), 0});
  out.push_back({"jpg", ReadFile(jpg), 0});
  struct Made {
    const char* name;
    const char* pixelFormat;
    size_t slack;
  };
  // 29 pixels: 24-bit rows of 87 bytes padded to 88, 8-bit rows of 29 padded to 32. ffmpeg ends
  // a TIFF file with the directory's link to a next one, which a reader can do without.
  const Made kMade[] = {{"bgr24.bmp", "bgr24", 1}, {"pal8.bmp", "pal8", 3},      {"rgb565.bmp", "rgb565", 2},
                        {"bgra.bmp", "bgra", 0},   {"rgb24.tif", "rgb24", 4},    {"rgba.tif", "rgba", 4},
                        {"rgb24.pcx", "rgb24", 0}, {"pal8.pcx", "pal8", 0},      {"monob.pcx", "monob", 0},
                        {"gray.png", "gray", 0},   {"rgb48be.png", "rgb48be", 0}};
  for (const Made& m : kMade) {
    const std::string file = dir / m.name;
    EXPECT_TRUE(Ffmpeg(png, file, {"-pix_fmt", m.pixelFormat}));
    out.push_back({m.name, ReadFile(file), m.slack});
  }
  return out;
}

// Every cut for small files, a few hundred spread over larger ones.
std::vector<size_t> CutPoints(size_t size) {
  std::vector<size_t> cuts;
  const size_t step = std::max<size_t>(1, size / 400);
  for (size_t cut = 0; cut < size; cut += step) cuts.push_back(cut);
  for (size_t tail = 1; tail <= 16 && tail <= size; ++tail) cuts.push_back(size - tail);
  std::sort(cuts.begin(), cuts.end());
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
  return cuts;
}

void Put32(std::vector<BYTE>& b, size_t at, uint32_t v, bool bigEndian = false) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<BYTE>(bigEndian ? v >> (24 - 8 * i) : v >> (8 * i));
}

uint32_t Crc32(const BYTE* data, size_t length) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < length; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

bool FailsCleanly(const std::vector<BYTE>& bytes, std::string* reason = nullptr) {
  CxImage image;
  image.Create(4, 4, 24);  // a load replaces whatever was there
  const bool ok = image.Decode(bytes.data(), static_cast<DWORD>(bytes.size()));
  if (reason) *reason = image.GetLastError();
  return !ok && !image.IsValid() && image.GetLastError()[0] != '\0';
}

}  // namespace

TEST(DamagedFiles, TruncatedFilesFailAtEveryCut) {
  ScratchDir dir;
  for (const Fixture& f : MakeFixtures(dir)) {
    SCOPED_TRACE(f.name);
    ASSERT_GT(f.bytes.size(), 64u);
    CxImage whole;
    ASSERT_TRUE(whole.Decode(f.bytes.data(), static_cast<DWORD>(f.bytes.size()))) << whole.GetLastError();
    for (size_t cut : CutPoints(f.bytes.size())) {
      if (cut + f.slack >= f.bytes.size()) continue;
      const std::vector<BYTE> prefix(f.bytes.begin(), f.bytes.begin() + cut);
      EXPECT_TRUE(cut == 0 || FailsCleanly(prefix)) << "cut at " << cut << " of " << f.bytes.size();
    }
  }
}

TEST(DamagedFiles, CorruptedBytesNeverCrash) {
  ScratchDir dir;
  std::mt19937 random(2024);
  for (const Fixture& f : MakeFixtures(dir)) {
    SCOPED_TRACE(f.name);
    for (int trial = 0; trial < 300; ++trial) {
      std::vector<BYTE> bytes = f.bytes;
      const int changes = 1 + static_cast<int>(random() % 8);
      for (int i = 0; i < changes; ++i) bytes[random() % bytes.size()] = static_cast<BYTE>(random());
      CxImage image;
      if (image.Decode(bytes.data(), static_cast<DWORD>(bytes.size()))) {
        // A change that still decodes gives a whole, usable picture.
        ASSERT_TRUE(image.IsValid());
        ASSERT_NE(image.GetBits(image.GetHeight() - 1), nullptr);
        image.GetBits(image.GetHeight() - 1)[image.GetWidth() * 3 - 1] ^= 1;
      } else {
        ASSERT_FALSE(image.IsValid());
      }
    }
  }
}

TEST(DamagedFiles, GarbageAndForeignFilesAreRefused) {
  std::mt19937 random(7);
  const std::vector<std::vector<BYTE>> kPrefixes = {{},
                                                    {0xFF, 0xD8, 0xFF},
                                                    {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A},
                                                    {'B', 'M'},
                                                    {'I', 'I', 42, 0},
                                                    {'M', 'M', 0, 42},
                                                    {0x0A, 5, 1, 8}};
  for (const auto& prefix : kPrefixes) {
    for (size_t length : {size_t{0}, size_t{3}, size_t{40}, size_t{200}, size_t{5000}}) {
      std::vector<BYTE> bytes = prefix;
      for (size_t i = 0; i < length; ++i) bytes.push_back(static_cast<BYTE>(random()));
      if (bytes.empty()) continue;
      EXPECT_TRUE(FailsCleanly(bytes)) << "prefix " << prefix.size() << " length " << length;
    }
  }
  std::string reason;
  const std::string gif = "GIF89a\x01\x00\x01\x00\x00\x00\x00;";
  EXPECT_TRUE(FailsCleanly({gif.begin(), gif.end()}, &reason));
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
  EXPECT_NE(reason.find("GIF"), std::string::npos);
  const std::string text = "just some text, not a picture";
  EXPECT_TRUE(FailsCleanly({text.begin(), text.end()}));
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_BAD_FORMAT));
}

TEST(DamagedFiles, OversizedHeadersAreRefusedBeforeDecoding) {
  ScratchDir dir;
  const std::string jpg = dir / "small.jpg", png = dir / "small.png";
  ASSERT_TRUE(Gradient(16, 16).Save(jpg.c_str(), CXIMAGE_FORMAT_JPG));
  ASSERT_TRUE(Gradient(16, 16).Save(png.c_str(), CXIMAGE_FORMAT_PNG));

  // JPEG: the frame header's height and width.
  const auto jpegWithSize = [&](uint16_t w, uint16_t h) {
    std::vector<BYTE> b = ReadFile(jpg);
    for (size_t i = 2; i + 9 < b.size(); ++i)
      if (b[i] == 0xFF && b[i + 1] == 0xC0) {
        b[i + 5] = h >> 8, b[i + 6] = h & 0xFF, b[i + 7] = w >> 8, b[i + 8] = w & 0xFF;
        break;
      }
    return b;
  };
  // PNG: the header chunk's size, with its checksum kept right.
  const auto pngWithSize = [&](uint32_t w, uint32_t h) {
    std::vector<BYTE> b = ReadFile(png);
    Put32(b, 16, w, true);
    Put32(b, 20, h, true);
    Put32(b, 29, Crc32(b.data() + 12, 17), true);
    return b;
  };
  const auto bmpHeader = [](int32_t w, int32_t h) {
    std::vector<BYTE> b(54 + 64, 0);
    b[0] = 'B', b[1] = 'M';
    Put32(b, 10, 54);
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<uint32_t>(w));
    Put32(b, 22, static_cast<uint32_t>(h));
    b[26] = 1, b[28] = 24;
    return b;
  };
  const auto pcxHeader = [](uint16_t xmax, uint16_t ymax) {
    std::vector<BYTE> b(128 + 64, 0);
    b[0] = 0x0A, b[1] = 5, b[2] = 1, b[3] = 8, b[65] = 3;
    b[8] = xmax & 0xFF, b[9] = xmax >> 8, b[10] = ymax & 0xFF, b[11] = ymax >> 8;
    const uint32_t line = (xmax + 2u) & ~1u;
    b[66] = line & 0xFF, b[67] = (line >> 8) & 0xFF;
    return b;
  };
  // A little-endian TIFF with one IFD: width, height, 8-bit RGB in one strip.
  const auto tiffHeader = [](uint32_t w, uint32_t h) {
    std::vector<BYTE> b = {'I', 'I', 42, 0, 8, 0, 0, 0};
    const uint16_t tags[][2] = {{256, 4}, {257, 4}, {258, 3}, {259, 3},
                                {262, 3}, {273, 4}, {277, 3}, {279, 4}};
    const uint32_t values[] = {w, h, 8, 1, 2, 200, 3, 3 * w * h};
    b.push_back(std::size(tags)), b.push_back(0);
    for (size_t i = 0; i < std::size(tags); ++i) {
      const BYTE entry[12] = {
          BYTE(tags[i][0]),     BYTE(tags[i][0] >> 8), BYTE(tags[i][1]),     0, 1, 0, 0, 0, BYTE(values[i]),
          BYTE(values[i] >> 8), BYTE(values[i] >> 16), BYTE(values[i] >> 24)};
      b.insert(b.end(), entry, entry + 12);
    }
    b.resize(b.size() + 4 + 64, 0);
    return b;
  };

  struct Case {
    const char* what;
    std::vector<BYTE> bytes;
    const char* reason;
  };
  const Case kCases[] = {
      {"JPEG 60000 x 60000", jpegWithSize(60000, 60000), "too large"},
      {"PNG 100000 x 100000", pngWithSize(100000, 100000), "too large"},
      {"PNG 20000 x 9000 in a few bytes", pngWithSize(20000, 9000), "truncated"},
      {"BMP 70000 x 70000", bmpHeader(70000, 70000), "too large"},
      {"BMP 10000 x 10000 in a few bytes", bmpHeader(10000, 10000), "truncated"},
      {"BMP top-down 70000 x 70000", bmpHeader(70000, -70000), "too large"},
      {"PCX 65536 x 65536", pcxHeader(65535, 65535), "too large"},
      {"PCX 20000 x 9000 in a few bytes", pcxHeader(19999, 8999), "truncated"},
      {"TIFF 100000 x 100000", tiffHeader(100000, 100000), "too large"},
  };
  for (const Case& c : kCases) {
    std::string reason;
    EXPECT_TRUE(FailsCleanly(c.bytes, &reason)) << c.what;
    EXPECT_NE(reason.find(c.reason), std::string::npos) << c.what << ": " << reason;
  }
}

TEST(DamagedFiles, SpecialFilesAreNotWaitedOn) {
  ScratchDir dir;
  const std::string fifo = dir / "pipe.jpg";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  CxImage image;
  EXPECT_FALSE(image.Load(fifo.c_str()));  // would block forever if opened for reading plainly
  EXPECT_FALSE(image.LoadScaled(fifo.c_str(), 100, 100));
  EXIFINFO exif;
  EXPECT_FALSE(CxImage::ReadExifInfo(fifo.c_str(), &exif));

  const std::string empty = dir / "empty.png";
  WriteFile(empty, {});
  EXPECT_FALSE(image.Load(empty.c_str()));
  EXPECT_NE(std::string(image.GetLastError()), "");
}
