#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileHandle.h"
#include "platform/kernel/FileOperations.h"
#include "platform/kernel/Wait.h"
#include "tests/platform/kernel/FileTestSupport.h"

namespace {

size_t EntriesIn(const std::string& folder) {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

HANDLE HoldOpen(const std::string& path, DWORD share) {
  return CreateFile(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
}

// A folder on another file system than `near`, when this machine has one we may write.
std::optional<std::string> FolderOnAnotherDevice(const std::string& near) {
  struct stat here;
  if (stat(near.c_str(), &here) != 0) return std::nullopt;
  for (const char* candidate : {"/dev/shm", "/run/user", "/var/tmp", "/tmp"}) {
    struct stat there;
    if (stat(candidate, &there) == 0 && there.st_dev != here.st_dev && access(candidate, W_OK) == 0)
      return candidate;
  }
  return std::nullopt;
}

}  // namespace

TEST(FileOperations, DeleteFileRefusesWhatThePlatformRefuses) {
  ScratchDir folder;
  struct Case {
    const char* name;
    std::function<void(const std::string&)> setup;
    DWORD share;  // a handle held open with this share mode, when not ~0
    bool deletes;
    DWORD error;
  };
  const auto plainFile = [](const std::string& path) { WriteWholeFile(path, "x"); };
  const Case cases[] = {
      {"plain", plainFile, ~0u, true, 0},
      {"missing", [](const std::string&) {}, ~0u, false, ERROR_FILE_NOT_FOUND},
      {"in-missing-folder/x", [](const std::string&) {}, ~0u, false, ERROR_PATH_NOT_FOUND},
      {"folder", [](const std::string& path) { std::filesystem::create_directory(path); }, ~0u, false,
       ERROR_ACCESS_DENIED},
      {"read-only",
       [](const std::string& path) {
         WriteWholeFile(path, "x");
         chmod(path.c_str(), 0444);
       },
       ~0u, false, ERROR_ACCESS_DENIED},
      {"open-unshared", plainFile, FILE_SHARE_READ, false, ERROR_SHARING_VIOLATION},
      {"open-shared", plainFile, FILE_SHARE_READ | FILE_SHARE_DELETE, true, 0},
  };
  for (const auto& c : cases) {
    const std::string path = folder / c.name;
    c.setup(path);
    HANDLE held = c.share != ~0u ? HoldOpen(path, c.share) : nullptr;
    EXPECT_EQ(DeleteFile(path.c_str()) != FALSE, c.deletes) << c.name;
    if (!c.deletes) EXPECT_EQ(GetLastError(), c.error) << c.name;
    EXPECT_EQ(Exists(path), !c.deletes && c.error != ERROR_FILE_NOT_FOUND && c.error != ERROR_PATH_NOT_FOUND)
        << c.name;
    if (held) CloseHandle(held);
  }
}

TEST(FileOperations, MoveFileExReplacesOnlyWhenAsked) {
  struct Case {
    bool targetExists;
    DWORD flags;
    bool moves;
    DWORD error;
  };
  const Case cases[] = {
      {false, 0, true, 0},
      {true, 0, false, ERROR_ALREADY_EXISTS},
      {true, MOVEFILE_COPY_ALLOWED, false, ERROR_ALREADY_EXISTS},
      {true, MOVEFILE_REPLACE_EXISTING, true, 0},
      {false, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH, true, 0},
  };
  for (const auto& c : cases) {
    ScratchDir folder;
    WriteWholeFile(folder / "from.txt", "new");
    if (c.targetExists) WriteWholeFile(folder / "to.txt", "old");
    const std::string from = folder.Path() + "\\from.txt";
    EXPECT_EQ(MoveFileEx(from.c_str(), (folder / "to.txt").c_str(), c.flags) != FALSE, c.moves) << c.flags;
    if (!c.moves) EXPECT_EQ(GetLastError(), c.error) << c.flags;
    EXPECT_EQ(ReadWholeFile(folder / "to.txt"), c.moves ? "new" : "old") << c.flags;
    EXPECT_EQ(Exists(folder / "from.txt"), !c.moves) << c.flags;
  }
}

TEST(FileOperations, MoveFileErrorsAndFolders) {
  ScratchDir folder;
  EXPECT_FALSE(MoveFile((folder / "missing").c_str(), (folder / "x").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  WriteWholeFile(folder / "a.txt", "a");
  EXPECT_FALSE(MoveFile((folder / "a.txt").c_str(), (folder / "no-folder/a.txt").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(MoveFileEx((folder / "a.txt").c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));

  // A file held open without FILE_SHARE_DELETE stays where it is.
  HANDLE held = HoldOpen(folder / "a.txt", FILE_SHARE_READ);
  EXPECT_FALSE(MoveFile((folder / "a.txt").c_str(), (folder / "b.txt").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  CloseHandle(held);

  std::filesystem::create_directories(folder / "album/photos");
  WriteWholeFile(folder / "album/photos/1.jpg", "jpeg");
  EXPECT_TRUE(MoveFile((folder / "album").c_str(), (folder / "renamed").c_str()));
  EXPECT_EQ(ReadWholeFile(folder / "renamed/photos/1.jpg"), "jpeg");
  std::filesystem::create_directory(folder / "other");
  EXPECT_FALSE(
      MoveFileEx((folder / "renamed").c_str(), (folder / "other").c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(FileOperations, MoveToAnotherFileSystemCopiesOnlyWhenAllowed) {
  ScratchDir folder;
  auto elsewhere = FolderOnAnotherDevice(folder.Path());
  if (!elsewhere) GTEST_SKIP() << "no second writable file system here";
  const std::string target = *elsewhere + "/pictavo-move-" + std::to_string(getpid()) + ".txt";
  WriteWholeFile(folder / "video.mp4", "frames");
  EXPECT_FALSE(MoveFileEx((folder / "video.mp4").c_str(), target.c_str(), 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SAME_DEVICE));
  EXPECT_TRUE(MoveFileEx((folder / "video.mp4").c_str(), target.c_str(), MOVEFILE_COPY_ALLOWED));
  EXPECT_EQ(ReadWholeFile(target), "frames");
  EXPECT_FALSE(Exists(folder / "video.mp4"));
  std::filesystem::remove(target);
}

TEST(FileOperations, CopyFileCopiesContentAndTimesAndHonoursFailIfExists) {
  ScratchDir folder;
  const std::string source = folder / "photo.jpg";
  const std::string target = folder / "copy.jpg";
  std::string content(300000, '\0');
  for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
  WriteWholeFile(source, content);
  const struct timespec times[2] = {{1000000000, 0}, {1200000000, 250000000}};
  ASSERT_EQ(utimensat(AT_FDCWD, source.c_str(), times, 0), 0);

  EXPECT_TRUE(CopyFile(source.c_str(), target.c_str(), TRUE));
  EXPECT_EQ(ReadWholeFile(target), content);
  struct stat st;
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mtim.tv_sec, 1200000000);
  EXPECT_EQ(st.st_mtim.tv_nsec, 250000000);

  WriteWholeFile(target, "edited");
  EXPECT_FALSE(CopyFile(source.c_str(), target.c_str(), TRUE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
  EXPECT_EQ(ReadWholeFile(target), "edited");
  EXPECT_TRUE(CopyFile(source.c_str(), target.c_str(), FALSE));
  EXPECT_EQ(ReadWholeFile(target), content);

  EXPECT_FALSE(CopyFile((folder / "missing.jpg").c_str(), target.c_str(), FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(CopyFile(source.c_str(), (folder / "no-folder/copy.jpg").c_str(), FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(CopyFile(folder.Path().c_str(), (folder / "folder-copy").c_str(), FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  // The source being written by an unshared handle cannot be read for the copy.
  HANDLE writer =
      CreateFile(source.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_FALSE(CopyFile(source.c_str(), (folder / "third.jpg").c_str(), FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  CloseHandle(writer);
  // Only the source and the one copy: no temporary files are left behind.
  EXPECT_EQ(EntriesIn(folder.Path()), 2u);
}
