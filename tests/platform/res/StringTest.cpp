// String resources: LoadString's buffer rules and CString::LoadString through our string table.
#include <gtest/gtest.h>

#include "platform/base/CString.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/res/Resources.h"
#include "tests/platform/res/ResourceTestSupport.h"

using namespace pictavo::res;
using restest::ModuleHandle;
using restest::ScratchDir;
using restest::Xml;

namespace {

class SampleStrings : public ::testing::Test {
 protected:
  void SetUp() override { SetResourceRoot(restest::SourceResources()); }
  void TearDown() override { AfxSetResourceHandle(nullptr); }
};

}  // namespace

TEST_F(SampleStrings, LoadStringCutsToTheBufferAndCountsBytes) {
  struct Case {
    UINT id;
    int bufferMax;
    int length;
    const char* text;
  };
  const Case kCases[] = {
      {60000, 100, 13, "Sample Dialog"},
      {60000, 14, 13, "Sample Dialog"},
      {60000, 13, 12, "Sample Dialo"},
      {60000, 2, 1, "S"},
      {60000, 1, 0, ""},
      {60101, 100, 26, "Create a new slideshow\nNew"},
      {60110, 100, 18, "Name:\tfirst\\second"},
      // "Größe": G r [C3 B6] [C3 9F] e; a cut never splits a character.
      {60111, 100, 17, "Größe der Fotos"},
      {60111, 5, 4, "Grö"},
      {60111, 4, 2, "Gr"},
      {60111, 6, 4, "Grö"},
      {60111, 7, 6, "Größ"},
  };
  for (const Case& c : kCases) {
    char buffer[128];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(LoadString(nullptr, c.id, buffer, c.bufferMax), c.length) << c.id << "/" << c.bufferMax;
    EXPECT_STREQ(buffer, c.text) << c.id << "/" << c.bufferMax;
  }
}

TEST_F(SampleStrings, MissingStringsAndBadBuffers) {
  char buffer[16] = "unchanged";
  SetLastError(0);
  EXPECT_EQ(LoadString(nullptr, 60099, buffer, sizeof buffer), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(LoadString(nullptr, 0x10000 + 60000, buffer, sizeof buffer), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_EQ(LoadString(nullptr, 60000, buffer, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(LoadString(nullptr, 60000, nullptr, 10), 0);

  ScratchDir folder;
  folder.Write("none.xml", Xml(R"(<menu id="1"><item id="1" text="x"/></menu>)"));
  ModuleHandle module(OpenResourceFolder(folder.Path()));
  EXPECT_EQ(LoadString(module.get(), 60000, buffer, sizeof buffer), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
}

TEST_F(SampleStrings, CStringLoadsFromTheResourceHandleThenTheExecutable) {
  CString text;
  ASSERT_TRUE(text.LoadString(60101));
  EXPECT_EQ(text, "Create a new slideshow\nNew");
  EXPECT_EQ(CString(MAKEINTRESOURCE(60000)), "Sample Dialog");
  EXPECT_FALSE(text.LoadString(60099));
  EXPECT_EQ(text, "Create a new slideshow\nNew");

  // A resource module set as the resource handle answers first; what it lacks comes from the
  // executable.
  ScratchDir folder;
  folder.Write("strings.xml", Xml(R"(<strings><string id="60000">Beispiel</string></strings>)"));
  ModuleHandle module(OpenResourceFolder(folder.Path()));
  AfxSetResourceHandle(module.get());
  EXPECT_EQ(AfxGetResourceHandle(), module.get());
  ASSERT_TRUE(text.LoadString(60000));
  EXPECT_EQ(text, "Beispiel");
  ASSERT_TRUE(text.LoadString(60102));
  EXPECT_EQ(text, "Open a slideshow\nOpen");
}
