// Icon and cursor resources: the image LoadImage gets for a size.
#include <gtest/gtest.h>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/res/Resources.h"
#include "platform/res/Templates.h"
#include "tests/platform/res/ResourceTestSupport.h"

using namespace pictavo::res;
using restest::IconFile;
using restest::ModuleHandle;
using restest::ScratchDir;
using restest::Xml;

TEST(IconResource, TheImageThatSuitsTheSizeBest) {
  ScratchDir folder;
  folder.Write("app.ico",
               IconFile({{16, 16, 4}, {32, 32, 4}, {32, 32, 32}, {48, 48, 32}, {24, 24, 8}}, false));
  folder.Write("icons.xml", Xml(R"(<icon id="128" file="app.ico"/>)"));
  ModuleHandle module(OpenResourceFolder(folder.Path()));
  struct Case {
    int cx, cy;
    int width, height, bitCount;
  };
  const Case kCases[] = {
      {0, 0, 16, 16, 4},     // the first
      {16, 16, 16, 16, 4},   // exact
      {32, 32, 32, 32, 32},  // exact, most colours
      {20, 20, 24, 24, 8},   // the smallest larger one
      {30, 30, 32, 32, 32},  // the smallest larger one, most colours
      {64, 64, 48, 48, 32},  // the largest
  };
  for (const Case& c : kCases) {
    const std::optional<IconImage> image =
        FindIconImage(module.get(), MAKEINTRESOURCE(128), ImageKind::Icon, c.cx, c.cy);
    ASSERT_TRUE(image.has_value()) << c.cx;
    EXPECT_EQ(image->width, c.width) << c.cx;
    EXPECT_EQ(image->height, c.height) << c.cx;
    EXPECT_EQ(image->bitCount, c.bitCount) << c.cx;
    EXPECT_FALSE(image->png);
    // The image's own header: the DIB holds the colour rows and the mask rows.
    int32_t dibHeight = 0;
    std::memcpy(&dibHeight, image->bits.data() + 8, 4);
    EXPECT_EQ(dibHeight, 2 * c.height) << c.cx;
  }
  // The group's data is the icon file.
  HRSRC group = FindResource(module.get(), MAKEINTRESOURCE(128), RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(SizeofResource(module.get(), group), std::filesystem::file_size(folder / "app.ico"));
}

TEST(IconResource, CursorsCarryTheirHotspot) {
  ScratchDir folder;
  folder.Write("drop.cur", IconFile({{32, 32, 1, 5, 7}}, true));
  folder.Write("app.ico", IconFile({{32, 32, 4}}, false));
  folder.Write("cursors.xml", Xml(R"(<cursor id="293" file="drop.cur"/><cursor id="294" file="app.ico"/>
<icon id="132" file="drop.cur"/>)"));
  ModuleHandle module(OpenResourceFolder(folder.Path()));
  const std::optional<IconImage> cursor =
      FindIconImage(module.get(), MAKEINTRESOURCE(293), ImageKind::Cursor, 32, 32);
  ASSERT_TRUE(cursor.has_value());
  EXPECT_EQ(cursor->hotspot.x, 5);
  EXPECT_EQ(cursor->hotspot.y, 7);
  EXPECT_EQ(cursor->bitCount, 1);
  EXPECT_NE(FindResource(module.get(), MAKEINTRESOURCE(293), RT_GROUP_CURSOR), nullptr);

  // A file of the other kind is damaged data; a cursor is no icon.
  struct Case {
    WORD id;
    ImageKind kind;
    DWORD error;
  };
  const Case kCases[] = {
      {294, ImageKind::Cursor, ERROR_INVALID_DATA},
      {132, ImageKind::Icon, ERROR_INVALID_DATA},
      {293, ImageKind::Icon, ERROR_RESOURCE_NAME_NOT_FOUND},
      {293, ImageKind::Bitmap, ERROR_INVALID_PARAMETER},
  };
  for (const Case& c : kCases) {
    SetLastError(0);
    EXPECT_FALSE(FindIconImage(module.get(), MAKEINTRESOURCE(c.id), c.kind, 32, 32).has_value()) << c.id;
    EXPECT_EQ(GetLastError(), c.error) << c.id;
  }
}

TEST(IconResource, ADamagedDirectoryIsRefused) {
  std::string pastTheEnd = IconFile({{16, 16, 4}}, false);
  pastTheEnd.resize(pastTheEnd.size() - 1);
  std::string noImages = IconFile({{16, 16, 4}}, false);
  noImages[4] = 0;
  for (const std::string& bytes : {pastTheEnd, noImages, std::string("\0\0\1\0", 4)}) {
    ScratchDir folder;
    folder.Write("bad.ico", bytes);
    folder.Write("icons.xml", Xml(R"(<icon id="1" file="bad.ico"/>)"));
    ModuleHandle module(OpenResourceFolder(folder.Path()));
    SetLastError(0);
    EXPECT_FALSE(FindIconImage(module.get(), MAKEINTRESOURCE(1), ImageKind::Icon, 16, 16).has_value());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    EXPECT_EQ(LoadResource(module.get(), FindResource(module.get(), MAKEINTRESOURCE(1), RT_GROUP_ICON)),
              nullptr);
  }
}
