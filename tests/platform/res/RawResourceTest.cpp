// FindResource, LoadResource, LockResource, SizeofResource: the bytes the program walks itself.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/res/Resources.h"
#include "tests/platform/res/ResourceTestSupport.h"

using namespace pictavo::res;
using pictavo::test::ReadWholeFile;
using restest::ModuleHandle;
using restest::SampleResources;
using restest::ScratchDir;
using restest::Words;
using restest::Xml;

namespace {

struct Loaded {
  const BYTE* data = nullptr;
  DWORD size = 0;
};

Loaded Load(HMODULE module, LPCSTR name, LPCSTR type) {
  HRSRC resource = FindResource(module, name, type);
  if (resource == nullptr) return {};
  HGLOBAL handle = LoadResource(module, resource);
  return {static_cast<const BYTE*>(LockResource(handle)), SizeofResource(module, resource)};
}

}  // namespace

TEST(RawResource, CustomTypeByIdNameAndAnyCase) {
  const std::string jpeg =
      std::string("\xFF\xD8\xFF\xE0", 4) + "not really a picture" + std::string("\xFF\xD9", 2);
  ScratchDir folder;
  folder.Write("images/NoPhotos.JPG", jpeg);
  folder.Write("empty.bin", "");
  folder.Write("raw.xml", Xml(R"(
<raw type="JPG" id="295" file="images/nophotos.jpg"/>
<raw type="RT_RCDATA" id="Splash_Data" file="images\NoPhotos.JPG"/>
<raw type="1000" id="1" file="empty.bin"/>)"));
  ModuleHandle module(OpenResourceFolder(folder.Path()));
  ASSERT_TRUE(ResourceErrors(module.get()).empty()) << ResourceErrors(module.get())[0];

  struct Case {
    LPCSTR name;
    LPCSTR type;
    std::string bytes;
  };
  const Case kCases[] = {
      {MAKEINTRESOURCE(295), "JPG", jpeg},
      {MAKEINTRESOURCE(295), "jpg", jpeg},
      {"#295", "Jpg", jpeg},
      {"splash_data", RT_RCDATA, jpeg},
      {"SPLASH_DATA", "#10", jpeg},
      {MAKEINTRESOURCE(1), MAKEINTRESOURCE(1000), ""},
  };
  for (const Case& c : kCases) {
    const Loaded loaded = Load(module.get(), c.name, c.type);
    ASSERT_NE(loaded.data, nullptr) << c.type;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(loaded.data), loaded.size), c.bytes) << c.type;
  }
  EXPECT_FALSE(
      FreeResource(LoadResource(module.get(), FindResource(module.get(), MAKEINTRESOURCE(295), "JPG"))));
}

TEST(RawResource, FailuresSetTheResourceErrors) {
  ScratchDir folder;
  folder.Write("a.bin", "abc");
  folder.Write("raw.xml",
               Xml(R"(<raw type="JPG" id="295" file="a.bin"/><dialog id="5" rect="0, 0, 10, 10"/>)"));
  ScratchDir other;
  other.Write("raw.xml", Xml(R"(<raw type="JPG" id="295" file="../)" +
                             std::filesystem::path(folder.Path()).filename().string() + R"(/a.bin"/>)"));
  ModuleHandle module(OpenResourceFolder(folder.Path()));
  ModuleHandle otherModule(OpenResourceFolder(other.Path()));
  const HMODULE m = module.get();

  struct Case {
    const char* what;
    LPCSTR name;
    LPCSTR type;
    DWORD error;
  };
  const Case kMissing[] = {
      {"name", MAKEINTRESOURCE(296), "JPG", ERROR_RESOURCE_NAME_NOT_FOUND},
      {"string name", "OTHER", "JPG", ERROR_RESOURCE_NAME_NOT_FOUND},
      {"type", MAKEINTRESOURCE(295), "PNG", ERROR_RESOURCE_TYPE_NOT_FOUND},
      {"standard type", MAKEINTRESOURCE(295), RT_BITMAP, ERROR_RESOURCE_TYPE_NOT_FOUND},
      {"strings", MAKEINTRESOURCE(1), RT_STRING, ERROR_RESOURCE_TYPE_NOT_FOUND},
  };
  for (const Case& c : kMissing) {
    SetLastError(0);
    EXPECT_EQ(FindResource(m, c.name, c.type), nullptr) << c.what;
    EXPECT_EQ(GetLastError(), c.error) << c.what;
  }

  // A dialog is found, but its data is read through FindDialog only.
  HRSRC dialog = FindResource(m, MAKEINTRESOURCE(5), RT_DIALOG);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(LoadResource(m, dialog), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));

  // An HRSRC belongs to its module.
  HRSRC mine = FindResource(m, MAKEINTRESOURCE(295), "JPG");
  ASSERT_NE(mine, nullptr);
  EXPECT_EQ(LoadResource(otherModule.get(), mine), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(SizeofResource(m, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(SizeofResource(m, mine), 3u);
}

TEST(RawResource, MenuDataIsTheTemplateTheProgramWalks) {
  ScratchDir folder;
  folder.Write("menu.xml", Xml(R"(
<menu id="9">
  <popup text="A" flags="grayed">
    <item id="5" text="x" flags="checked"/>
    <separator/>
  </popup>
  <item id="6" text="é" flags="default"/>
</menu>)"));
  ModuleHandle module(OpenResourceFolder(folder.Path()));
  const Loaded loaded = Load(module.get(), MAKEINTRESOURCE(9), RT_MENU);
  ASSERT_NE(loaded.data, nullptr);
  const std::vector<uint16_t> expected = {
      0,      0,             // header: version, offset of the items after it
      0x0011, 'A', 0,        // popup (grayed), its text
      0x0008, 5,   'x',  0,  // command 5, checked
      0x0080, 0,   0,        // separator, last of the popup
      0x0080, 6,   0xE9, 0,  // command 6, last of the bar; "default" has no place here
  };
  EXPECT_EQ(Words(loaded.data, loaded.size), expected);
}

TEST_F(SampleResources, ToolbarAcceleratorAndStringBlockData) {
  const Loaded toolbar = Load(nullptr, MAKEINTRESOURCE(60003), RT_TOOLBAR);
  ASSERT_NE(toolbar.data, nullptr);
  EXPECT_EQ(Words(toolbar.data, toolbar.size),
            (std::vector<uint16_t>{1, 16, 15, 5, 60101, 60102, 0, 60105, 60106}));

  const Loaded accel = Load(nullptr, MAKEINTRESOURCE(60002), RT_ACCELERATOR);
  ASSERT_NE(accel.data, nullptr);
  EXPECT_EQ(Words(accel.data, accel.size),
            (std::vector<uint16_t>{0x09, 'N', 60101, 0, 0x09, 'O', 60102, 0, 0x81, 0x74, 60107, 0}));

  // Strings 60096 to 60111 form block 3757: each slot a length and UTF-16 characters, empty slots
  // a length of 0.
  const Loaded block = Load(nullptr, MAKEINTRESOURCE(60110 / 16 + 1), RT_STRING);
  ASSERT_NE(block.data, nullptr);
  const std::map<int, std::u16string> kSlots = {{5, u"Create a new slideshow\nNew"},
                                                {6, u"Open a slideshow\nOpen"},
                                                {14, u"Name:\tfirst\\second"},
                                                {15, u"Größe der Fotos"}};
  std::vector<uint16_t> expected;
  for (int slot = 0; slot < 16; ++slot) {
    const auto it = kSlots.find(slot);
    const std::u16string text = it == kSlots.end() ? u"" : it->second;
    expected.push_back(static_cast<uint16_t>(text.size()));
    expected.insert(expected.end(), text.begin(), text.end());
  }
  EXPECT_EQ(Words(block.data, block.size), expected);
}

TEST_F(SampleResources, BitmapDataIsThePackedDib) {
  struct Case {
    WORD id;
    const char* file;
    uint32_t tableBytes;
  };
  const Case kCases[] = {{60003, "bitmaps/sample_toolbar.bmp", 16 * 4},
                         {60004, "bitmaps/sample_picture.bmp", 0}};
  for (const Case& c : kCases) {
    const std::string file = ReadWholeFile(restest::SourceResources() + "/" + c.file);
    ASSERT_GT(file.size(), 54u) << c.file;
    const Loaded loaded = Load(nullptr, MAKEINTRESOURCE(c.id), RT_BITMAP);
    ASSERT_NE(loaded.data, nullptr) << c.file;
    // Everything after the 14-byte file header, the bits right after the colour table.
    EXPECT_EQ(loaded.size, file.size() - 14) << c.file;
    EXPECT_EQ(std::memcmp(loaded.data, file.data() + 14, loaded.size), 0) << c.file;
    uint32_t headerSize = 0;
    std::memcpy(&headerSize, loaded.data, 4);
    EXPECT_EQ(headerSize, 40u);
    uint32_t bitsOffset = 0;
    std::memcpy(&bitsOffset, file.data() + 10, 4);
    EXPECT_EQ(bitsOffset, 14 + 40 + c.tableBytes) << c.file;
  }
}

TEST(RawResource, BitmapWithAGapBeforeItsBitsIsJoinedUp) {
  // Some writers leave room between the colour table and the bits; the packed DIB has none.
  std::string bmp = restest::Bmp(8, 2, 8);
  const size_t tableEnd = 14 + 40 + 256 * 4;
  bmp.insert(tableEnd, "GAP!");
  const uint32_t offset = static_cast<uint32_t>(tableEnd + 4);
  std::memcpy(bmp.data() + 10, &offset, 4);
  std::memset(bmp.data() + offset, 0x5A, bmp.size() - offset);
  ScratchDir folder;
  folder.Write("gap.bmp", bmp);
  folder.Write("gap.xml", Xml(R"(<bitmap id="1" file="gap.bmp"/>)"));
  ModuleHandle module(OpenResourceFolder(folder.Path()));
  const Loaded loaded = Load(module.get(), MAKEINTRESOURCE(1), RT_BITMAP);
  ASSERT_NE(loaded.data, nullptr);
  ASSERT_EQ(loaded.size, 40u + 256 * 4 + 8 * 2);
  EXPECT_EQ(loaded.data[40 + 256 * 4], 0x5A);
}
