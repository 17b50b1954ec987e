#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Module.h"
#include "platform/kernel/ModuleVersion.h"
#include "tests/platform/kernel/FileTestSupport.h"

TEST(Module, FileNameOfTheExecutableAndLoadedObjects) {
  const std::string exe = std::filesystem::read_symlink("/proc/self/exe").string();
  char path[4096];
  EXPECT_EQ(GetModuleFileName(nullptr, path, sizeof path), exe.size());
  EXPECT_EQ(path, exe);
  HMODULE self = GetModuleHandle(nullptr);
  ASSERT_NE(self, nullptr);
  EXPECT_EQ(GetModuleFileName(self, path, sizeof path), exe.size());
  EXPECT_EQ(pictavo::ExecutableFolder(), std::filesystem::path(exe).parent_path().string());

  // A short buffer gets the truncated path, terminated.
  char small[5];
  EXPECT_EQ(GetModuleFileName(nullptr, small, sizeof small), 5u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::string(small), exe.substr(0, 4));

  void* library = dlopen("libm.so.6", RTLD_NOW);
  ASSERT_NE(library, nullptr);
  ASSERT_GT(GetModuleFileName(static_cast<HMODULE>(library), path, sizeof path), 0u);
  EXPECT_NE(std::strstr(path, "libm"), nullptr) << path;
  dlclose(library);

  int notAModule = 0;
  EXPECT_EQ(GetModuleFileName(reinterpret_cast<HMODULE>(&notAModule), path, sizeof path), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_EQ(GetModuleHandle("kernel32.dll"), nullptr);
}

TEST(ModuleVersion, TheProgramsFilesCarryItsVersion) {
  const std::string exe = std::filesystem::read_symlink("/proc/self/exe").string();
  DWORD handle = 99;
  const DWORD size = GetFileVersionInfoSize(exe.c_str(), &handle);
  ASSERT_GT(size, 0u);
  EXPECT_EQ(handle, 0u);
  std::string block(size, '\0');
  ASSERT_TRUE(GetFileVersionInfo(exe.c_str(), 0, size, block.data()));

  LPVOID value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValue(block.data(), "\\", &value, &length));
  ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  const auto& v = pictavo::kProgramVersion;
  EXPECT_EQ(fixed->dwSignature, VS_FFI_SIGNATURE);
  EXPECT_EQ(fixed->dwFileVersionMS, (DWORD{v.major} << 16) | v.minor);
  EXPECT_EQ(fixed->dwFileVersionLS, (DWORD{v.build} << 16) | v.revision);
  EXPECT_EQ(fixed->dwFileType, VFT_APP);

  ASSERT_TRUE(VerQueryValue(block.data(), "\\VarFileInfo\\Translation", &value, &length));
  EXPECT_EQ(length, 4u);
  EXPECT_EQ(*static_cast<const DWORD*>(value), 0x04B00409u);

  ASSERT_TRUE(VerQueryValue(block.data(), "\\StringFileInfo\\040904B0\\fileversion", &value, &length));
  EXPECT_STREQ(static_cast<const char*>(value), "8.5.1805.0");
  EXPECT_EQ(length, 11u);
  ASSERT_TRUE(VerQueryValue(block.data(), "/StringFileInfo/040904b0/OriginalFilename", &value, &length));
  EXPECT_EQ(std::string(static_cast<const char*>(value)), std::filesystem::path(exe).filename().string());
  EXPECT_FALSE(VerQueryValue(block.data(), "\\StringFileInfo\\040904b0\\Nothing", &value, &length));
  EXPECT_EQ(length, 0u);

  std::string small(size - 1, '\0');
  EXPECT_FALSE(GetFileVersionInfo(exe.c_str(), 0, size - 1, small.data()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(ModuleVersion, OtherFilesHaveNone) {
  ScratchDir folder;
  WriteWholeFile(folder / "ddraw.dll", "MZ");
  struct Case {
    std::string path;
    DWORD error;
  };
  const Case kCases[] = {
      {folder / "ddraw.dll", ERROR_RESOURCE_TYPE_NOT_FOUND},
      {folder / "d3d9.dll", ERROR_FILE_NOT_FOUND},
      {"/bin/sh", ERROR_RESOURCE_TYPE_NOT_FOUND},
  };
  for (const Case& c : kCases) {
    SetLastError(0);
    EXPECT_EQ(GetFileVersionInfoSize(c.path.c_str(), nullptr), 0u) << c.path;
    EXPECT_EQ(GetLastError(), c.error) << c.path;
  }
}
