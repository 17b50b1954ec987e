// LoadLibrary, GetProcAddress and FreeLibrary: lookup rules, reference counts, failures and
// the resolver for names without a shared object.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Library.h"
#include "platform/kernel/Module.h"

namespace fs = std::filesystem;

namespace {

using CosFunction = double (*)(double);

std::string PathOf(HMODULE module) {
  char path[4096] = {};
  return GetModuleFileName(module, path, sizeof path) > 0 ? path : "";
}

// A file beside the test executable, removed afterwards.
struct BesideExecutable {
  fs::path path;
  explicit BesideExecutable(const std::string& name) : path(fs::path(pictavo::ExecutableFolder()) / name) {}
  ~BesideExecutable() {
    std::error_code ignored;
    fs::remove(path, ignored);
  }
};

std::string Unique(const char* stem) {
  return std::string(stem) + std::to_string(::getpid());
}

}  // namespace

TEST(Library, SystemLibraryByNameWithCountedReferences) {
  HMODULE first = LoadLibrary("libm.so.6");
  ASSERT_NE(first, nullptr) << pictavo::kernel::LibraryErrorText();
  HMODULE second = LoadLibraryEx("libm.so.6", nullptr, DONT_RESOLVE_DLL_REFERENCES);
  EXPECT_EQ(second, first);
  auto cosine = reinterpret_cast<CosFunction>(GetProcAddress(first, "cos"));
  ASSERT_NE(cosine, nullptr);
  EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
  EXPECT_EQ(pictavo::kernel::FindLoadedLibrary("LIBM.SO.6"), first);
  EXPECT_FALSE(PathOf(first).empty());

  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_EQ(pictavo::kernel::FindLoadedLibrary("libm.so.6"), first);  // one reference left
  EXPECT_NE(GetProcAddress(first, "cos"), nullptr);
  EXPECT_TRUE(FreeLibrary(second));
  EXPECT_EQ(pictavo::kernel::FindLoadedLibrary("libm.so.6"), nullptr);
  EXPECT_FALSE(FreeLibrary(first));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(GetProcAddress(first, "cos"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(Library, MissingSymbolsAndLookupsByOrdinal) {
  HMODULE maths = LoadLibrary("libm.so.6");
  ASSERT_NE(maths, nullptr);
  struct Case {
    LPCSTR name;
  };
  const Case kCases[] = {
      {"no_such_symbol"}, {""}, {reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(2))}, {nullptr}};
  for (const Case& c : kCases) {
    SetLastError(0);
    EXPECT_EQ(GetProcAddress(maths, c.name), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  }
  EXPECT_TRUE(FreeLibrary(maths));
  EXPECT_EQ(GetProcAddress(nullptr, "cos"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(FreeLibrary(nullptr));
  EXPECT_TRUE(FreeLibrary(GetModuleHandle(nullptr)));  // the executable stays
}

TEST(Library, DllNamesFindTheSharedObjectBesideTheExecutable) {
  // A copy of the maths library stands in for "<name>.dll" beside the executable.
  HMODULE maths = LoadLibrary("libm.so.6");
  ASSERT_NE(maths, nullptr);
  const std::string name = Unique("pictavo_library_test_");
  BesideExecutable copy(name + ".so");
  fs::copy_file(PathOf(maths), copy.path);
  FreeLibrary(maths);

  struct Case {
    std::string asked;
  };
  const std::string backslashed = [&] {
    std::string text = copy.path.string();
    for (char& ch : text)
      if (ch == '/') ch = '\\';
    return text;
  }();
  const Case kCases[] = {{name + ".dll"}, {name + ".DLL"},      {name},
                         {name + ".so"},  {copy.path.string()}, {backslashed}};
  for (const Case& c : kCases) {
    HMODULE module = LoadLibrary(c.asked.c_str());
    ASSERT_NE(module, nullptr) << c.asked << ": " << pictavo::kernel::LibraryErrorText();
    EXPECT_EQ(fs::path(PathOf(module)), copy.path) << c.asked;
    EXPECT_EQ(pictavo::kernel::FindLoadedLibrary((name + ".dll").c_str()), module) << c.asked;
    EXPECT_NE(GetProcAddress(module, "cos"), nullptr) << c.asked;
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(pictavo::kernel::FindLoadedLibrary(name.c_str()), nullptr) << c.asked;
  }
}

TEST(Library, FailuresAreCleanAndSayWhy) {
  BesideExecutable text(Unique("pictavo_not_a_library_") + ".dll");
  std::ofstream(text.path) << "plain text";
  struct Case {
    std::string name;
    DWORD error;
  };
  const Case kCases[] = {
      {"pictavo_no_such_library.dll", ERROR_MOD_NOT_FOUND},
      {"libpictavo_no_such_library.so.3", ERROR_MOD_NOT_FOUND},
      {"/nonexistent/folder/plugin.so", ERROR_MOD_NOT_FOUND},
      {text.path.filename().string(), ERROR_BAD_EXE_FORMAT},
      {"", ERROR_INVALID_PARAMETER},
  };
  for (const Case& c : kCases) {
    SetLastError(0);
    EXPECT_EQ(LoadLibrary(c.name.c_str()), nullptr) << c.name;
    EXPECT_EQ(GetLastError(), c.error) << c.name;
    if (!c.name.empty()) EXPECT_FALSE(pictavo::kernel::LibraryErrorText().empty()) << c.name;
  }
  EXPECT_EQ(LoadLibrary(nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(LoadLibraryEx("libm.so.6", nullptr, 0x100), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  int dummy = 0;
  EXPECT_EQ(LoadLibraryEx("libm.so.6", &dummy, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(Library, ResolverAnswersDllNamesWithoutASharedObject) {
  static int moduleData = 0;
  const HMODULE resourceModule = reinterpret_cast<HMODULE>(&moduleData);
  std::vector<std::string> asked;
  int released = 0;
  pictavo::kernel::SetModuleNameResolver(
      [&](const char* name) -> HMODULE {
        asked.emplace_back(name);
        return std::string(name) == "qvnres_en.dll" ? resourceModule : nullptr;
      },
      [&](HMODULE module) {
        EXPECT_EQ(module, resourceModule);
        ++released;
        return true;
      });

  HMODULE first = LoadLibrary("qvnres_en.dll");
  HMODULE second = LoadLibrary("qvnres_en.dll");
  EXPECT_EQ(first, resourceModule);
  EXPECT_EQ(second, resourceModule);
  EXPECT_EQ(pictavo::kernel::FindLoadedLibrary("QVNRES_EN"), resourceModule);
  EXPECT_EQ(GetProcAddress(first, "anything"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_EQ(released, 1);
  EXPECT_TRUE(FreeLibrary(second));
  EXPECT_EQ(released, 2);
  EXPECT_FALSE(FreeLibrary(second));
  EXPECT_EQ(pictavo::kernel::FindLoadedLibrary("qvnres_en.dll"), nullptr);

  // Names it does not know, and names that are not ".dll" names, fail as before.
  EXPECT_EQ(LoadLibrary("qvnres_xx.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_EQ(LoadLibrary("libqvnres_en.so.1"), nullptr);
  EXPECT_EQ(asked, (std::vector<std::string>{"qvnres_en.dll", "qvnres_en.dll", "qvnres_xx.dll"}));

  pictavo::kernel::SetModuleNameResolver({});
  EXPECT_EQ(LoadLibrary("qvnres_en.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}
