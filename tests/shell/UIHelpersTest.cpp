// The shared helpers: the cleaning of paths and file names, the product title and file-dialog
// record size, pictures of the resource module, file sizes and the common-controls version.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/kernel/Library.h"
#include "platform/kernel/Module.h"
#include "platform/kernel/Thread.h"
#include "platform/res/ResourceModule.h"
#include "platform/res/Resources.h"
#include "platform/user/Controls.h"
#include "platform/user/Hooks.h"
#include "platform/user/MessageBox.h"
#include "platform/user/Window.h"
#include "shell/UIHelpers.h"
#include "tests/platform/kernel/FileTestSupport.h"

namespace {

std::string Sanitized(std::string path, BOOL absolute, int* length = nullptr, size_t buffer = 4096) {
  std::vector<char> text(std::max(buffer, path.size() + 1), '\0');
  std::memcpy(text.data(), path.c_str(), path.size() + 1);
  const int result = SanitizePath(text.data(), '_', absolute, buffer);
  if (length != nullptr) *length = result;
  return text.data();
}

TEST(SanitizePath, Cases) {
  struct Case {
    const char* path;
    BOOL absolute;
    const char* result;
  };
  const Case cases[] = {
      {"a*b?c\"d<e>f|g", FALSE, "a_b_c_d_e_f_g"},
      {"C:/photos:old/a.jpg", FALSE, "C:/photos_old/a.jpg"},  // a colon at index 1 stays, others go
      {"/home/x:y/z", FALSE, "/home/x_y/z"},
      {"/home//pictures///a", FALSE, "/home_/pictures__/a"},  // doubled separators
      {"//server/share/a", FALSE, "//server/share/a"},        // except at the start
      {"\\\\server\\share\\a", FALSE, "//server/share/a"},    // backslashes become slashes
      {"a\\b/c", FALSE, "a/b/c"},
      {"a\tb\x19"
       "c\x1a"
       "d\x1f",
       FALSE,
       "a_b_c\x1a"
       "d\x1f"},                                // codes 1 to 25 only
      {"photos/a.jpg", TRUE, "/photos/a.jpg"},  // relative: from the root
      {"/home/a.jpg", TRUE, "/home/a.jpg"},     // already from the root
      {"\\home\\a.jpg", TRUE, "/home/a.jpg"},
      {"//server/a.jpg", TRUE, "//server/a.jpg"},
      {"\\\\server\\a.jpg", TRUE, "//server/a.jpg"},
      {"C:/a.jpg", TRUE, "C:/a.jpg"},
      {"Fotos/Geburtstag \xC3\xBC.jpg", TRUE, "/Fotos/Geburtstag \xC3\xBC.jpg"},  // multibyte text untouched
      {"", FALSE, ""},
  };
  for (const Case& c : cases) {
    int length = -1;
    EXPECT_EQ(Sanitized(c.path, c.absolute, &length), c.result) << c.path;
    EXPECT_EQ(length, static_cast<int>(std::strlen(c.result))) << c.path;
  }
  EXPECT_EQ(SanitizePath(nullptr, '_', TRUE), 0);
}

TEST(SanitizePath, TheRootIsAddedOnlyWhenTheBufferHasRoom) {
  const std::string fits(258, 'a');  // 258 + root + NUL = 260
  const std::string longer(259, 'a');
  EXPECT_EQ(Sanitized(fits, TRUE, nullptr, MAX_PATH), "/" + fits);
  EXPECT_EQ(Sanitized(longer, TRUE, nullptr, MAX_PATH), longer);
}

TEST(SanitizeFileName, Cases) {
  struct Case {
    const char* name;
    const char* result;
  };
  const Case cases[] = {
      {"a/b:c.jpg", "a_b_c.jpg"},
      {"x\ty.jpg", "x_y.jpg"},
      {"a*?\"<>|\\b", "a_______b"},
      {"\x01\x19\x1a\x1f", "__\x1a\x1f"},
      {"Caf\xC3\xA9 \xE5\x90\x8D.jpg", "Caf\xC3\xA9 \xE5\x90\x8D.jpg"},
      {"plain name.r7m", "plain name.r7m"},
  };
  for (const Case& c : cases) {
    char text[64] = {};
    std::strcpy(text, c.name);
    SanitizeFileName(text, '_');
    EXPECT_STREQ(text, c.result) << c.name;
  }
  SanitizeFileName(nullptr, '_');
}

TEST(UIHelpers, FixedAnswers) {
  EXPECT_EQ(GetProductTitle(), CString("Talvane Pictavo"));
  EXPECT_EQ(GetOpenFileNameSize(), 88u);
  EXPECT_EQ(GetComCtlVersion(), 0x40000);
  EXPECT_EQ(GetExeFolderPath(), CString(pictavo::ExecutableFolder()));
}

TEST(UIHelpers, FileSizes) {
  ScratchDir folder;
  WriteWholeFile(folder / "a.bin", std::string(1234, 'x'));
  EXPECT_EQ(GetFileSizeSafe((folder / "a.bin").c_str(), 0), 1234u);
  EXPECT_EQ(GetFileSizeSafe((folder / "missing.bin").c_str(), 1), 0u);
}

// --- Pictures of the resource module ---------------------------------------------------------------

struct SeenBox {
  std::string text;
  std::string caption;
};
std::vector<SeenBox> g_boxes;
HHOOK g_hook = nullptr;

// Answers every message box as soon as it becomes active, noting what it said.
LRESULT CALLBACK AnswerBoxes(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    char text[256] = {}, caption[256] = {};
    GetWindowText(GetDlgItem(box, pictavo::user::kMessageBoxTextId), text, sizeof text);
    GetWindowText(box, caption, sizeof caption);
    g_boxes.push_back({text, caption});
    PostMessage(box, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

class ResourceBitmapTest : public ::testing::Test {
 protected:
  ResourceBitmapTest() {
    g_boxes.clear();
    g_hook = SetWindowsHookEx(WH_CBT, AnswerBoxes, nullptr, GetCurrentThreadId());
  }
  ~ResourceBitmapTest() override {
    UnhookWindowsHookEx(g_hook);
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
  }
  static CSize SizeOf(CBitmap& bitmap) {
    BITMAP info{};
    bitmap.GetBitmap(&info);
    return CSize(info.bmWidth, info.bmHeight);
  }
};

TEST_F(ResourceBitmapTest, ProductPictureAndTvFrame) {
  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
  // The module's files are sound and hold both pictures.
  HMODULE module = LoadLibrary(RESOURCE_DLL_NAME);
  ASSERT_NE(module, nullptr);
  EXPECT_TRUE(pictavo::res::ResourceErrors(module).empty());
  EXPECT_NE(FindResource(module, MAKEINTRESOURCE(101), RT_BITMAP), nullptr);
  EXPECT_NE(FindResource(module, MAKEINTRESOURCE(102), RT_BITMAP), nullptr);
  FreeLibrary(module);

  struct Case {
    UINT id;
    CSize size;
  };
  const Case cases[] = {
      {101, {480, 300}}, {102, {320, 240}}, {0x70065, {480, 300}}};  // only the low 16 bits count
  for (const Case& c : cases) {
    CBitmap bitmap;
    ASSERT_EQ(LoadResourceBitmap(&bitmap, c.id), 1) << c.id;
    EXPECT_EQ(SizeOf(bitmap), c.size) << c.id;
  }
  // A bitmap in place of another: the old one is let go.
  CBitmap bitmap;
  ASSERT_EQ(LoadResourceBitmap(&bitmap, 101), 1);
  ASSERT_EQ(LoadResourceBitmap(&bitmap, 102), 1);
  EXPECT_EQ(SizeOf(bitmap), CSize(320, 240));
  // A missing bitmap fails quietly and leaves the object as it was.
  EXPECT_EQ(LoadResourceBitmap(&bitmap, 9999), 0);
  EXPECT_EQ(SizeOf(bitmap), CSize(320, 240));
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(ResourceBitmapTest, AMissingModuleSaysSoAtEveryCall) {
  ScratchDir empty;
  pictavo::res::SetResourceRoot(empty.Path());
  CBitmap bitmap;
  EXPECT_EQ(LoadResourceBitmap(&bitmap, 101), 0);
  EXPECT_EQ(LoadResourceBitmap(&bitmap, 101), 0);
  EXPECT_EQ(bitmap.GetSafeHandle(), nullptr);
  ASSERT_EQ(g_boxes.size(), 2u);
  for (const SeenBox& box : g_boxes) {
    EXPECT_EQ(box.text, "Couldn't load qvnres.dll");
    EXPECT_EQ(box.caption, "Error");
  }
}

}  // namespace
