// Resource modules by library name, the resource handle, and damaged resource files.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Library.h"
#include "platform/res/Resources.h"
#include "platform/res/Templates.h"
#include "tests/platform/res/ResourceTestSupport.h"

using namespace pictavo::res;
using restest::ModuleHandle;
using restest::ScratchDir;
using restest::Xml;

namespace {

// A resource root with the executable's own file and the module qvnres_en beside it.
class ResourceModules : public ::testing::Test {
 protected:
  void SetUp() override {
    m_root.Write("bitmaps/exe.bmp", restest::Bmp(4, 4, 24));
    m_root.Write("own.xml", Xml(R"(<bitmap id="7" file="bitmaps/exe.bmp"/>)"));
    m_root.Write("modules/QvnRes_EN/splash.bmp", restest::Bmp(8, 8, 8));
    m_root.Write("modules/QvnRes_EN/res.xml", Xml(R"(<bitmap id="101" file="SPLASH.BMP"/>)"));
    SetResourceRoot(m_root.Path());
  }
  void TearDown() override { AfxSetResourceHandle(nullptr); }

  ScratchDir m_root;
};

}  // namespace

TEST_F(ResourceModules, ModuleIsFoundByLibraryNameInAnyCaseAndPath) {
  ModuleHandle module(OpenResourceModule("qvnres_en.dll"));
  ASSERT_NE(module.get(), nullptr);
  EXPECT_TRUE(IsResourceModule(module.get()));
  for (const char* name : {"QVNRES_EN.DLL", "C:\\Program Files\\Talvane\\qvnres_en.dll",
                           "/opt/pictavo/QvnRes_En.dll", "qvnres_en"}) {
    ModuleHandle again(OpenResourceModule(name));
    EXPECT_EQ(again.get(), module.get()) << name;
  }
  const std::string* splash = FindImageFile(module.get(), MAKEINTRESOURCE(101), ImageKind::Bitmap);
  ASSERT_NE(splash, nullptr);
  EXPECT_TRUE(splash->ends_with("modules/QvnRes_EN/splash.bmp")) << *splash;
  EXPECT_NE(LoadResource(module.get(), FindResource(module.get(), MAKEINTRESOURCE(101), RT_BITMAP)), nullptr);

  // The module's files are not the executable's, and the other way round.
  EXPECT_EQ(FindResource(nullptr, MAKEINTRESOURCE(101), RT_BITMAP), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_NE(FindResource(nullptr, MAKEINTRESOURCE(7), RT_BITMAP), nullptr);
  EXPECT_EQ(FindResource(module.get(), MAKEINTRESOURCE(7), RT_BITMAP), nullptr);

  for (const char* name : {"winhlp32.exe", "C:\\Windows\\winhlp32.exe", "qvnres_fr.dll", "", "modules"}) {
    SetLastError(0);
    EXPECT_EQ(OpenResourceModule(name), nullptr) << name;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND)) << name;
  }
  EXPECT_EQ(OpenResourceModule(nullptr), nullptr);
}

TEST_F(ResourceModules, LoadLibraryOpensTheResourceModuleAndFreeLibraryClosesIt) {
  // As the program loads a bitmap from its resource library.
  const HMODULE library = LoadLibrary("qvnres_en.dll");
  ASSERT_NE(library, nullptr);
  EXPECT_TRUE(IsResourceModule(library));
  EXPECT_NE(FindImageFile(library, MAKEINTRESOURCE(101), ImageKind::Bitmap), nullptr);
  EXPECT_EQ(GetProcAddress(library, "anything"), nullptr);
  EXPECT_EQ(LoadLibrary("QVNRES_EN.DLL"), library);
  EXPECT_TRUE(FreeLibrary(library));
  EXPECT_TRUE(IsResourceModule(library));
  EXPECT_TRUE(FreeLibrary(library));
  EXPECT_FALSE(IsResourceModule(library));

  SetLastError(0);
  EXPECT_EQ(LoadLibrary("qvnres_fr.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(ResourceModules, EveryOpenIsClosedOnceAndAClosedHandleNamesNothing) {
  const HMODULE first = OpenResourceModule("qvnres_en.dll");
  const HMODULE second = OpenResourceModule("qvnres_en.dll");
  ASSERT_NE(first, nullptr);
  ASSERT_EQ(first, second);
  EXPECT_TRUE(CloseResourceModule(first));
  EXPECT_TRUE(IsResourceModule(first));
  EXPECT_NE(FindResource(first, MAKEINTRESOURCE(101), RT_BITMAP), nullptr);
  EXPECT_TRUE(CloseResourceModule(first));
  EXPECT_FALSE(IsResourceModule(first));
  EXPECT_FALSE(CloseResourceModule(first));
  SetLastError(0);
  EXPECT_EQ(FindResource(first, MAKEINTRESOURCE(101), RT_BITMAP), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
  // Neither the executable nor a made-up handle is a resource module to close.
  EXPECT_FALSE(CloseResourceModule(nullptr));
  int notAModule = 0;
  EXPECT_FALSE(IsResourceModule(reinterpret_cast<HMODULE>(&notAModule)));
}

TEST_F(ResourceModules, FindResourceHandlePrefersTheResourceHandleThenTheExecutable) {
  ModuleHandle module(OpenResourceModule("qvnres_en.dll"));
  ASSERT_NE(module.get(), nullptr);
  const HMODULE exe = AfxGetResourceHandle();
  EXPECT_NE(exe, nullptr);
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(7), RT_BITMAP), exe);
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(101), RT_BITMAP), exe);  // nowhere: the handle

  AfxSetResourceHandle(module.get());
  struct Case {
    WORD id;
    HMODULE expected;
  };
  const Case kCases[] = {{101, module.get()}, {7, exe}, {8, module.get()}};
  for (const Case& c : kCases) {
    SetLastError(1234);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(c.id), RT_BITMAP), c.expected) << c.id;
    EXPECT_EQ(GetLastError(), 1234u) << c.id;
  }
}

TEST(DamagedResourceFile, GivesAClearErrorAndTheOtherFilesStillLoad) {
  struct Case {
    const char* what;
    std::string content;
    const char* message;
  };
  const Case kCases[] = {
      {"not XML", "<resources version=\"1\">\n<menu id=\"1\">\n</resources>\n", "line 3"},
      {"another root", "<resource version=\"1\"/>", "the root element is not <resources>"},
      {"another version", "<resources version=\"2\"/>", "version 2 is not supported"},
      {"unknown element", Xml("<dialgo id=\"1\"/>"), "line 3: <dialgo> does not belong in <resources>"},
      {"unknown attribute", Xml("<bitmap id=\"1\" fiel=\"x.bmp\"/>"), "<bitmap> has no attribute \"fiel\""},
      {"missing attribute", Xml("<dialog id=\"1\"/>"), "<dialog> needs the attribute \"rect\""},
      {"bad rect", Xml("<dialog id=\"1\" rect=\"0, 0, 10\"/>"), "is not \"x, y, width, height\""},
      {"unknown flag",
       Xml("<dialog id=\"1\" rect=\"0, 0, 9, 9\">\n<control id=\"2\" class=\"Button\" rect=\"0, 0, 1, 1\"\n"
           "  style=\"BS_AUTOCHEK | WS_TABSTOP\"/>\n</dialog>"),
       "line 4: attribute \"style\" of <control>: unknown flag \"BS_AUTOCHEK\""},
      {"font size without font", Xml("<dialog id=\"1\" rect=\"0, 0, 9, 9\" font-size=\"8\"/>"),
       "font attributes without \"font\""},
      {"plain template id",
       Xml("<dialog id=\"1\" rect=\"0,0,9,9\"><control id=\"70000\" class=\"Edit\" "
           "rect=\"0,0,1,1\"/></dialog>"),
       "70000 is not within -1 to 65535"},
      {"missing file", Xml("<bitmap id=\"1\" file=\"nowhere.bmp\"/>"), "\"nowhere.bmp\" does not exist"},
      {"absolute file", Xml("<bitmap id=\"1\" file=\"/etc/passwd\"/>"), "must be relative"},
      {"bad escape", Xml("<strings><string id=\"1\">C:\\photos</string></strings>"),
       "unknown escape \"\\p\""},
      {"twice in a file", Xml("<strings><string id=\"1\">a</string><string id=\"1\">b</string></strings>"),
       "string 1 is defined twice"},
      {"resource twice",
       Xml("<menu id=\"4\"><item id=\"1\" text=\"a\"/></menu><menu id=\"4\"><item id=\"1\" "
           "text=\"a\"/></menu>"),
       "menu 4 is defined twice"},
      {"empty popup", Xml("<menu id=\"4\"><popup text=\"a\"/></menu>"), "<popup> has no items"},
      {"not a virtual key", Xml("<accelerators id=\"1\"><accel key=\"+\" command=\"2\"/></accelerators>"),
       "\"+\" is not a virtual key"},
      {"raw of a standard type", Xml("<raw type=\"RT_BITMAP\" id=\"1\" file=\"good.xml\"/>"),
       "written with its own element"},
      {"id out of range", Xml("<bitmap id=\"70000\" file=\"good.xml\"/>"), "70000 is not within 1 to 65535"},
  };
  for (const Case& c : kCases) {
    ScratchDir folder;
    folder.Write("bad.xml", c.content);
    folder.Write("good.xml", Xml(R"(<menu id="9"><item id="1" text="fine"/></menu>)"));
    ModuleHandle module(OpenResourceFolder(folder.Path()));
    const std::vector<std::string> errors = ResourceErrors(module.get());
    ASSERT_EQ(errors.size(), 1u) << c.what;
    EXPECT_NE(errors[0].find(folder / "bad.xml"), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find(c.message), std::string::npos) << c.what << ": " << errors[0];
    EXPECT_NE(FindMenu(module.get(), MAKEINTRESOURCE(9)), nullptr) << c.what;
  }
}

TEST(DamagedResourceFile, AFileThatRedefinesAResourceIsLeftOutWhole) {
  ScratchDir folder;
  folder.Write("a.xml", Xml(R"(<menu id="9"><item id="1" text="a"/></menu>
<strings><string id="1">from a</string></strings>)"));
  folder.Write("b.xml", Xml(R"(<menu id="10"><item id="1" text="b"/></menu>
<menu id="9"><item id="1" text="b"/></menu>)"));
  folder.Write("c.xml", Xml(R"(<strings><string id="1">from c</string><string id="2">c</string></strings>)"));
  folder.Write("sub/d.xml", Xml(R"(<menu id="11"><item id="1" text="d"/></menu>)"));
  ModuleHandle module(OpenResourceFolder(folder.Path()));
  const std::vector<std::string> errors = ResourceErrors(module.get());
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_NE(errors[0].find("b.xml defines menu 9 again (first at " + (folder / "a.xml") + ":3)"),
            std::string::npos)
      << errors[0];
  EXPECT_NE(errors[1].find("c.xml defines string 1 again"), std::string::npos) << errors[1];

  EXPECT_EQ(FindMenu(module.get(), MAKEINTRESOURCE(9))->items[0].text, "a");
  EXPECT_EQ(FindMenu(module.get(), MAKEINTRESOURCE(10)), nullptr);
  EXPECT_NE(FindMenu(module.get(), MAKEINTRESOURCE(11)), nullptr);  // files in subfolders count
  char buffer[16];
  EXPECT_EQ(LoadString(module.get(), 1, buffer, sizeof buffer), 6);
  EXPECT_STREQ(buffer, "from a");
  EXPECT_EQ(LoadString(module.get(), 2, buffer, sizeof buffer), 0);
}

TEST(DamagedResourceFile, ADamagedBitmapFailsWhenLoaded) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  std::string truncated = restest::Bmp(16, 16, 24);
  truncated.resize(truncated.size() - 10);
  std::string deep = restest::Bmp(4, 4, 24);
  deep[28] = 7;  // 7 bits per pixel
  const Case kCases[] = {
      {"not a bitmap", "GIF89a........................................................"},
      {"cut short", truncated},
      {"odd depth", deep},
      {"empty", ""},
  };
  for (const Case& c : kCases) {
    ScratchDir folder;
    folder.Write("x.bmp", c.bytes);
    folder.Write("x.xml", Xml(R"(<bitmap id="3" file="x.bmp"/>)"));
    ModuleHandle module(OpenResourceFolder(folder.Path()));
    HRSRC resource = FindResource(module.get(), MAKEINTRESOURCE(3), RT_BITMAP);
    ASSERT_NE(resource, nullptr) << c.what;
    SetLastError(0);
    EXPECT_EQ(LoadResource(module.get(), resource), nullptr) << c.what;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA)) << c.what;
    EXPECT_EQ(SizeofResource(module.get(), resource), 0u) << c.what;
  }
}

TEST(ResourceFolder, AFolderThatDoesNotExistIsNoModule) {
  SetLastError(0);
  EXPECT_EQ(OpenResourceFolder("/nonexistent/pictavo/resources"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST(ResourceFolder, ThreadsReadingAtOnceShareOneParseAndOneCopyOfTheData) {
  ScratchDir folder;
  folder.Write("picture.bmp", restest::Bmp(64, 64, 24));
  folder.Write("r.xml",
               Xml(R"(<bitmap id="1" file="picture.bmp"/><strings><string id="5">five</string></strings>)"));
  constexpr int kThreads = 8;
  std::vector<HMODULE> modules(kThreads);
  std::vector<const void*> bits(kThreads);
  std::vector<int> lengths(kThreads);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      modules[i] = OpenResourceFolder(folder.Path());
      bits[i] =
          LockResource(LoadResource(modules[i], FindResource(modules[i], MAKEINTRESOURCE(1), RT_BITMAP)));
      char buffer[8];
      lengths[i] = LoadString(modules[i], 5, buffer, sizeof buffer);
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int i = 0; i < kThreads; ++i) {
    EXPECT_EQ(modules[i], modules[0]) << i;
    EXPECT_NE(bits[i], nullptr) << i;
    EXPECT_EQ(bits[i], bits[0]) << i;
    EXPECT_EQ(lengths[i], 4) << i;
  }
  for (HMODULE module : modules) EXPECT_TRUE(CloseResourceModule(module));
  EXPECT_FALSE(IsResourceModule(modules[0]));
}
