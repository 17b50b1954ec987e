#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Module.h"
#include "platform/kernel/Path.h"
#include "tests/platform/kernel/FileTestSupport.h"
#include "tests/support/ScopedEnv.h"

namespace {

using pictavo::test::ScopedEnv;

// Everything a pattern lists, in order.
std::vector<std::string> List(const std::string& pattern, DWORD* error = nullptr) {
  std::vector<std::string> names;
  WIN32_FIND_DATA data;
  HANDLE find = FindFirstFile(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) {
    if (error) *error = GetLastError();
    return names;
  }
  do names.emplace_back(data.cFileName);
  while (FindNextFile(find, &data));
  if (error) *error = GetLastError();
  EXPECT_TRUE(FindClose(find));
  return names;
}

using Names = std::vector<std::string>;

class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(folder / "Sub");
    WriteWholeFile(folder / "b.txt", "bee");
    WriteWholeFile(folder / "A.JPG", std::string(1234, 'x'));
    WriteWholeFile(folder / "c.jpg", "");
    WriteWholeFile(folder / ".hidden", "h");
  }

  ScratchDir folder;
  ScopedEnv tmp{"TMPDIR", folder.Path().c_str()};
};

}  // namespace

TEST_F(FileSystemTest, FindListsMatchesInNameOrderWithDots) {
  struct Case {
    const char* pattern;
    Names names;
  };
  const Case kCases[] = {
      {"*", {".", "..", ".hidden", "A.JPG", "b.txt", "c.jpg", "Sub"}},
      {"*.*", {".", "..", ".hidden", "A.JPG", "b.txt", "c.jpg", "Sub"}},
      {"*.jpg", {"A.JPG", "c.jpg"}},
      {"?.TXT", {"b.txt"}},
      {"Sub", {"Sub"}},
      {"b.txt", {"b.txt"}},
  };
  for (const Case& c : kCases) {
    DWORD error = 0;
    EXPECT_EQ(List(folder / c.pattern, &error), c.names) << c.pattern;
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_NO_MORE_FILES)) << c.pattern;
  }
  // Backslashes name the same folder.
  std::string windowsForm = folder.Path() + "\\*.JPG";
  EXPECT_EQ(List(windowsForm), (Names{"A.JPG", "c.jpg"}));
}

TEST_F(FileSystemTest, FindReportsWhatIsMissing) {
  struct Case {
    std::string pattern;
    DWORD error;
  };
  const Case kCases[] = {
      {folder / "*.png", ERROR_FILE_NOT_FOUND},       {folder / "nothing.txt", ERROR_FILE_NOT_FOUND},
      {folder / "B.TXT", ERROR_FILE_NOT_FOUND},  // a name without wildcards is taken as spelled
      {folder / "missing/*.*", ERROR_PATH_NOT_FOUND}, {folder / "b.txt/*", ERROR_PATH_NOT_FOUND},
      {folder / "Sub/", ERROR_FILE_NOT_FOUND},
  };
  for (const Case& c : kCases) {
    WIN32_FIND_DATA data;
    SetLastError(0);
    EXPECT_EQ(FindFirstFile(c.pattern.c_str(), &data), INVALID_HANDLE_VALUE) << c.pattern;
    EXPECT_EQ(GetLastError(), c.error) << c.pattern;
  }
  WIN32_FIND_DATA data;
  EXPECT_FALSE(FindNextFile(reinterpret_cast<HANDLE>(0x7654), &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(FileSystemTest, FindDataCarriesAttributesSizeAndTime) {
  WIN32_FIND_DATA data;
  HANDLE find = FindFirstFile((folder / "A.JPG").c_str(), &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  FindClose(find);
  EXPECT_STREQ(data.cFileName, "A.JPG");
  EXPECT_EQ(data.nFileSizeLow, 1234u);
  EXPECT_EQ(data.nFileSizeHigh, 0u);
  EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE);
  struct stat st;
  ASSERT_EQ(stat((folder / "A.JPG").c_str(), &st), 0);
  const uint64_t ticks = (static_cast<uint64_t>(st.st_mtim.tv_sec) + 11644473600ull) * 10000000ull +
                         static_cast<uint64_t>(st.st_mtim.tv_nsec) / 100;
  EXPECT_EQ(data.ftLastWriteTime.dwLowDateTime, static_cast<DWORD>(ticks));
  EXPECT_EQ(data.ftLastWriteTime.dwHighDateTime, static_cast<DWORD>(ticks >> 32));
}

TEST_F(FileSystemTest, AttributesFollowKindNameAndPermissions) {
  ASSERT_EQ(chmod((folder / "c.jpg").c_str(), 0444), 0);
  struct Case {
    std::string path;
    DWORD attributes;
  };
  const Case kCases[] = {
      {folder / "Sub", FILE_ATTRIBUTE_DIRECTORY},
      {folder / "Sub/", FILE_ATTRIBUTE_DIRECTORY},
      {folder / "b.txt", FILE_ATTRIBUTE_ARCHIVE},
      {folder / ".hidden", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN},
      {folder / "c.jpg", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
      {"/dev/null", FILE_ATTRIBUTE_SYSTEM},
  };
  for (const Case& c : kCases) EXPECT_EQ(GetFileAttributes(c.path.c_str()), c.attributes) << c.path;

  EXPECT_EQ(GetFileAttributes((folder / "gone.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(GetFileAttributes((folder / "gone/x.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

  EXPECT_TRUE(SetFileAttributes((folder / "b.txt").c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(GetFileAttributes((folder / "b.txt").c_str()), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(SetFileAttributes((folder / "b.txt").c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(GetFileAttributes((folder / "b.txt").c_str()), FILE_ATTRIBUTE_ARCHIVE);

  WIN32_FILE_ATTRIBUTE_DATA info;
  ASSERT_TRUE(GetFileAttributesEx((folder / "A.JPG").c_str(), GetFileExInfoStandard, &info));
  EXPECT_EQ(info.nFileSizeLow, 1234u);
  EXPECT_EQ(info.dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE);
}

TEST_F(FileSystemTest, DataBesideTheExecutableIsFoundWithoutRegardToCase) {
  const std::string data = pictavo::ExecutableFolder() + "/casefold-" + std::to_string(getpid());
  std::filesystem::create_directories(data + "/lang");
  WriteWholeFile(data + "/lang/lang_eng.ini", "[General]\n");
  struct Cleanup {
    std::string path;
    ~Cleanup() { std::filesystem::remove_all(path); }
  } cleanup{data};

  const std::string upper = pictavo::ExecutableFolder() + "/CASEFOLD-" + std::to_string(getpid());
  EXPECT_EQ(GetFileAttributes((upper + "\\Lang\\LANG_ENG.INI").c_str()), FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(List(upper + "/LANG/lang_???.ini"), (Names{"lang_eng.ini"}));
  // Elsewhere names are taken as spelled.
  EXPECT_EQ(GetFileAttributes((folder / "B.TXT").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FileSystemTest, FoldersAndTheCurrentDirectory) {
  struct Case {
    std::string path;
    BOOL created;
    DWORD error;
  };
  const Case kCreates[] = {
      {folder / "New Folder", TRUE, 0},
      {folder / "New Folder", FALSE, ERROR_ALREADY_EXISTS},
      {folder / "missing/child", FALSE, ERROR_PATH_NOT_FOUND},
  };
  for (const Case& c : kCreates) {
    SetLastError(0);
    EXPECT_EQ(CreateDirectory(c.path.c_str(), nullptr), c.created) << c.path;
    if (!c.created) {
      EXPECT_EQ(GetLastError(), c.error) << c.path;
    }
  }
  EXPECT_FALSE(RemoveDirectory(folder.Path().c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));
  EXPECT_TRUE(RemoveDirectory((folder / "New Folder").c_str()));
  EXPECT_FALSE(Exists(folder / "New Folder"));

  char old[4096];
  ASSERT_NE(getcwd(old, sizeof old), nullptr);
  ASSERT_TRUE(SetCurrentDirectory((folder.Path() + "\\Sub").c_str()));
  const std::string expected = std::filesystem::canonical(folder / "Sub").string();
  EXPECT_EQ(GetCurrentDirectory(0, nullptr), expected.size() + 1);
  char buffer[4096];
  EXPECT_EQ(GetCurrentDirectory(sizeof buffer, buffer), expected.size());
  EXPECT_EQ(buffer, expected);
  EXPECT_FALSE(SetCurrentDirectory((folder / "absent").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  ASSERT_EQ(chdir(old), 0);
}

TEST_F(FileSystemTest, TempPathAndTempFileNames) {
  const std::string expected = folder.Path() + "/";
  EXPECT_EQ(GetTempPath(0, nullptr), expected.size() + 1);
  char path[MAX_PATH];
  ASSERT_EQ(GetTempPath(MAX_PATH, path), expected.size());
  EXPECT_EQ(path, expected);

  char first[MAX_PATH], second[MAX_PATH];
  const UINT a = GetTempFileName(path, "Plxyz", 0, first);
  const UINT b = GetTempFileName(path, "Plxyz", 0, second);
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  EXPECT_NE(std::string(first), std::string(second));
  for (const char* name : {first, second}) {
    EXPECT_TRUE(Exists(name)) << name;
    EXPECT_EQ(pictavo::path::FileName(name).substr(0, 3), "Plx") << name;
    EXPECT_EQ(pictavo::path::Extension(name), ".TMP") << name;
  }
  char named[MAX_PATH];
  EXPECT_EQ(GetTempFileName(path, "Plx", 0x1A2B, named), 0x1A2Bu);
  EXPECT_EQ(std::string(named), expected + "Plx1A2B.TMP");
  EXPECT_FALSE(Exists(named));
  EXPECT_EQ(GetTempFileName((folder / "absent").c_str(), "Plx", 0, named), 0u);
}

TEST_F(FileSystemTest, DrivesAreMountPoints) {
  char list[4096];
  const DWORD length = GetLogicalDriveStrings(sizeof list, list);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(GetLogicalDriveStrings(1, list), length + 1);
  ASSERT_EQ(GetLogicalDriveStrings(sizeof list, list), length);
  EXPECT_STREQ(list, "/");
  EXPECT_EQ(list[length], '\0');
  EXPECT_NE(GetLogicalDrives() & (1u << 2), 0u);

  EXPECT_NE(GetDriveType("/"), DRIVE_NO_ROOT_DIR);
  EXPECT_EQ(GetDriveType("C:"), GetDriveType("/"));
  EXPECT_EQ(GetDriveType("C:\\"), GetDriveType("/"));
  EXPECT_EQ(GetDriveType(folder.Path().c_str()), DRIVE_NO_ROOT_DIR);

  char name[MAX_PATH], fileSystem[MAX_PATH];
  DWORD serial = 0, maxComponent = 0, flags = 0;
  ASSERT_TRUE(
      GetVolumeInformation("/", name, MAX_PATH, &serial, &maxComponent, &flags, fileSystem, MAX_PATH));
  EXPECT_GT(maxComponent, 0u);
  EXPECT_NE(flags & FILE_CASE_SENSITIVE_SEARCH, 0u);
  EXPECT_FALSE(
      GetVolumeInformation(folder.Path().c_str(), name, MAX_PATH, &serial, nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIR_NOT_ROOT));
}

TEST_F(FileSystemTest, DiskSpaceOfAnyFolder) {
  ULARGE_INTEGER available, total, free;
  ASSERT_TRUE(GetDiskFreeSpaceEx(folder.Path().c_str(), &available, &total, &free));
  EXPECT_GT(total.QuadPart, 0u);
  EXPECT_LE(available.QuadPart, free.QuadPart);
  EXPECT_LE(free.QuadPart, total.QuadPart);
  EXPECT_TRUE(GetDiskFreeSpaceEx(folder.Path().c_str(), nullptr, &total, nullptr));

  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  ASSERT_TRUE(GetDiskFreeSpace(folder.Path().c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                               &totalClusters));
  EXPECT_EQ(bytesPerSector, 512u);
  EXPECT_GT(totalClusters, 0u);

  EXPECT_FALSE(GetDiskFreeSpaceEx((folder / "absent").c_str(), &available, &total, &free));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST_F(FileSystemTest, AtomicWriteReplacesTheWholeFileAndKeepsPermissions) {
  const std::string target = folder / "project.r7m";
  ASSERT_EQ(pictavo::WriteFileAtomically(target, std::string_view("first")),
            static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(ReadWholeFile(target), "first");
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);
  ASSERT_EQ(pictavo::WriteFileAtomically(target, std::string_view("second, longer")),
            static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(ReadWholeFile(target), "second, longer");
  struct stat st;
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(List(folder / "*project*"), (Names{"project.r7m"}));  // no temporary file left

  EXPECT_NE(pictavo::WriteFileAtomically(folder / "absent/x.r7m", std::string_view("x")),
            static_cast<DWORD>(ERROR_SUCCESS));
}

TEST_F(FileSystemTest, AtomicWriteLeavesTheOldFileWhenTheFolderIsReadOnly) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  const std::string target = folder / "Sub/settings.xml";
  WriteWholeFile(target, "old");
  ASSERT_EQ(chmod((folder / "Sub").c_str(), 0555), 0);
  EXPECT_EQ(pictavo::WriteFileAtomically(target, std::string_view("new")),
            static_cast<DWORD>(ERROR_ACCESS_DENIED));
  chmod((folder / "Sub").c_str(), 0755);
  EXPECT_EQ(ReadWholeFile(target), "old");
  EXPECT_EQ(List(folder / "Sub/*.*"), (Names{".", "..", "settings.xml"}));
}

TEST_F(FileSystemTest, AtomicWriteLeavesTheOldFileWhenTheDiskFills) {
  const std::string target = folder / "project.r7m";
  WriteWholeFile(target, "old contents");
  // A child whose files may not grow past 4 KiB stands for a full disk.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    const DWORD error = pictavo::WriteFileAtomically(target, std::string(1 << 20, 'n'));
    _exit(error == ERROR_SUCCESS ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the write reported success";
  EXPECT_EQ(ReadWholeFile(target), "old contents");
  EXPECT_EQ(List(folder / "*project*"), (Names{"project.r7m"}));
}
