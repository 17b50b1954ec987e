// EXIF orientation and date, read from APP1 blocks built here byte by byte.
#include <gtest/gtest.h>

#include <cstring>

#include "ImageFixtures.h"

using namespace imagetest;

namespace {

// Builds the TIFF structure of an EXIF block in either byte order.
class ExifBuilder {
 public:
  explicit ExifBuilder(bool bigEndian) : m_big(bigEndian) {}

  struct Tag {
    uint16_t tag, type;
    uint32_t count;
    std::vector<BYTE> text;  // ASCII value, placed after the IFD when longer than 4 bytes
    uint16_t number = 0;     // SHORT value
  };
  static Tag Short(uint16_t tag, uint16_t v) { return {tag, 3, 1, {}, v}; }
  static Tag Ascii(uint16_t tag, const std::string& text) {
    Tag t{tag, 2, static_cast<uint32_t>(text.size() + 1), {}};
    t.text.assign(text.begin(), text.end());
    t.text.push_back(0);
    return t;
  }

  // IFD0 with `ifd0` tags (and a pointer to an EXIF IFD holding `sub` when not empty).
  std::vector<BYTE> Build(std::vector<Tag> ifd0, const std::vector<Tag>& sub) {
    std::vector<BYTE> tiff = {BYTE(m_big ? 'M' : 'I'), BYTE(m_big ? 'M' : 'I')};
    Append16(tiff, 42);
    Append32(tiff, 8);
    if (!sub.empty()) ifd0.push_back({0x8769, 4, 1, {}});
    const size_t subAt = 8 + IfdSize(ifd0);
    WriteIfd(tiff, ifd0, sub.empty() ? 0 : static_cast<uint32_t>(subAt));
    if (!sub.empty()) WriteIfd(tiff, sub, 0);
    std::vector<BYTE> app1 = {'E', 'x', 'i', 'f', 0, 0};
    app1.insert(app1.end(), tiff.begin(), tiff.end());
    return app1;
  }

 private:
  static size_t IfdSize(const std::vector<Tag>& tags) {
    size_t size = 2 + tags.size() * 12 + 4;
    for (const Tag& t : tags) size += t.text.size() > 4 ? t.text.size() : 0;
    return size;
  }
  void WriteIfd(std::vector<BYTE>& out, const std::vector<Tag>& tags, uint32_t subAt) {
    const size_t tailAt = out.size() + 2 + tags.size() * 12 + 4;
    Append16(out, static_cast<uint16_t>(tags.size()));
    std::vector<BYTE> tail;
    for (const Tag& t : tags) {
      Append16(out, t.tag);
      Append16(out, t.type);
      Append32(out, t.count);
      if (t.tag == 0x8769) {
        Append32(out, subAt);
      } else if (t.type == 3) {
        Append16(out, t.number);
        Append16(out, 0);
      } else if (t.text.size() <= 4) {
        std::vector<BYTE> v = t.text;
        v.resize(4, 0);
        out.insert(out.end(), v.begin(), v.end());
      } else {
        Append32(out, static_cast<uint32_t>(tailAt + tail.size()));
        tail.insert(tail.end(), t.text.begin(), t.text.end());
      }
    }
    Append32(out, 0);
    out.insert(out.end(), tail.begin(), tail.end());
  }
  void Append16(std::vector<BYTE>& b, uint16_t v) {
    if (m_big)
      b.insert(b.end(), {BYTE(v >> 8), BYTE(v)});
    else
      b.insert(b.end(), {BYTE(v), BYTE(v >> 8)});
  }
  void Append32(std::vector<BYTE>& b, uint32_t v) {
    if (m_big)
      b.insert(b.end(), {BYTE(v >> 24), BYTE(v >> 16), BYTE(v >> 8), BYTE(v)});
    else
      b.insert(b.end(), {BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(v >> 24)});
  }

  bool m_big;
};

// A small JPEG with `app1` as its first segment.
std::vector<BYTE> JpegWith(const ScratchDir& dir, const std::vector<BYTE>& app1) {
  const std::string file = dir / "plain.jpg";
  EXPECT_TRUE(Gradient(24, 16).Save(file.c_str(), CXIMAGE_FORMAT_JPG));
  std::vector<BYTE> jpeg = ReadFile(file);
  const size_t length = app1.size() + 2;
  std::vector<BYTE> segment = {0xFF, 0xE1, BYTE(length >> 8), BYTE(length)};
  segment.insert(segment.end(), app1.begin(), app1.end());
  jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
  return jpeg;
}

constexpr uint16_t kOrientation = 0x0112, kDateTime = 0x0132, kOriginal = 0x9003, kDigitized = 0x9004;

}  // namespace

TEST(Exif, OrientationAndDateTakenInBothByteOrders) {
  ScratchDir dir;
  struct Case {
    bool bigEndian;
    uint16_t orientation;
  };
  for (const Case& c : {Case{false, 6}, Case{true, 8}, Case{false, 3}}) {
    const auto app1 = ExifBuilder(c.bigEndian)
                          .Build({ExifBuilder::Short(kOrientation, c.orientation),
                                  ExifBuilder::Ascii(kDateTime, "2020:01:02 03:04:05")},
                                 {ExifBuilder::Ascii(kOriginal, "2019:07:14 15:30:05")});
    const std::string file = dir / "exif.jpg";
    WriteFile(file, JpegWith(dir, app1));

    CxImage image;
    ASSERT_TRUE(image.Load(file.c_str())) << image.GetLastError();
    const EXIFINFO* info = image.GetExifInfo();
    EXPECT_TRUE(info->IsExif);
    EXPECT_EQ(info->Orientation, c.orientation);
    EXPECT_STREQ(info->DateTime, "2019:07:14 15:30:05");  // when taken, not when last changed

    EXIFINFO header;
    ASSERT_TRUE(CxImage::ReadExifInfo(file.c_str(), &header));
    EXPECT_EQ(header.Orientation, c.orientation);
    EXPECT_STREQ(header.DateTime, info->DateTime);

    // Pixels are left as stored: turning them is the caller's choice.
    EXPECT_EQ(image.GetWidth(), 24u);
  }
}

TEST(Exif, DateFallsBackFromTakenToDigitisedToChanged) {
  ScratchDir dir;
  struct Case {
    std::vector<ExifBuilder::Tag> ifd0, sub;
    const char* date;
  };
  const Case kCases[] = {
      {{ExifBuilder::Ascii(kDateTime, "2001:02:03 04:05:06")},
       {ExifBuilder::Ascii(kDigitized, "2002:02:03 04:05:06")},
       "2002:02:03 04:05:06"},
      {{ExifBuilder::Ascii(kDateTime, "2001:02:03 04:05:06")}, {}, "2001:02:03 04:05:06"},
      // A camera without a clock writes zeros or blanks: no date.
      {{ExifBuilder::Ascii(kDateTime, "0000:00:00 00:00:00")}, {}, ""},
      {{ExifBuilder::Ascii(kDateTime, "                   ")}, {}, ""},
      {{ExifBuilder::Ascii(kDateTime, "yesterday")}, {}, ""},
  };
  for (const Case& c : kCases) {
    const std::string file = dir / "d.jpg";
    WriteFile(file, JpegWith(dir, ExifBuilder(false).Build(c.ifd0, c.sub)));
    EXIFINFO info;
    ASSERT_TRUE(CxImage::ReadExifInfo(file.c_str(), &info));
    EXPECT_STREQ(info.DateTime, c.date);
    EXPECT_EQ(info.Orientation, 0);
  }
}

TEST(Exif, MalformedBlocksAreIgnoredNotTrusted) {
  ScratchDir dir;
  const auto good = ExifBuilder(false).Build({ExifBuilder::Short(kOrientation, 1)},
                                             {ExifBuilder::Ascii(kOriginal, "2019:07:14 15:30:05")});
  const auto patched = [&](size_t at, std::initializer_list<BYTE> bytes) {
    std::vector<BYTE> b = good;
    for (BYTE v : bytes) b.at(at++) = v;
    return b;
  };
  // Offsets below count from the start of the block ("Exif\0\0" is 6 bytes, the TIFF header 8).
  struct Case {
    const char* what;
    std::vector<BYTE> app1;
  };
  const Case kCases[] = {
      {"IFD beyond the block", patched(10, {0xFF, 0xFF, 0xFF, 0x7F})},
      {"entry count beyond the block", patched(14, {0xFF, 0x7F})},
      {"sub-IFD pointing back at the first", patched(6 + 8 + 2 + 12 + 8, {8, 0, 0, 0})},
      {"date pointing outside", patched(6 + 8 + 2 + 2 * 12 + 4 + 2 + 8, {0xF0, 0xFF, 0xFF, 0xFF})},
      {"wrong magic", patched(8, {43, 0})},
      {"unknown byte order", patched(6, {'X', 'X'})},
      {"cut short", std::vector<BYTE>(good.begin(), good.begin() + 20)},
      {"not EXIF", {'X', 'M', 'P', 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}},
  };
  for (const Case& c : kCases) {
    const std::string file = dir / "bad.jpg";
    WriteFile(file, JpegWith(dir, c.app1));
    CxImage image;
    ASSERT_TRUE(image.Load(file.c_str())) << c.what << ": the pixels are still fine";
    EXIFINFO info;
    CxImage::ReadExifInfo(file.c_str(), &info);
    EXPECT_STREQ(info.DateTime, image.GetExifInfo()->DateTime) << c.what;
    EXPECT_EQ(std::string(info.DateTime).find("2019:07:14"), std::string::npos) << c.what;
  }
}

TEST(Exif, FilesWithoutExif) {
  ScratchDir dir;
  const std::string jpg = dir / "plain.jpg", png = dir / "plain.png";
  ASSERT_TRUE(Gradient(8, 8).Save(jpg.c_str(), CXIMAGE_FORMAT_JPG));
  ASSERT_TRUE(Gradient(8, 8).Save(png.c_str(), CXIMAGE_FORMAT_PNG));
  EXIFINFO info;
  EXPECT_FALSE(CxImage::ReadExifInfo(jpg.c_str(), &info));
  EXPECT_FALSE(CxImage::ReadExifInfo(png.c_str(), &info));
  EXPECT_FALSE(CxImage::ReadExifInfo((dir / "missing.jpg").c_str(), &info));
  EXPECT_FALSE(info.IsExif);
  CxImage image;
  ASSERT_TRUE(image.Load(jpg.c_str()));
  EXPECT_FALSE(image.GetExifInfo()->IsExif);
}
