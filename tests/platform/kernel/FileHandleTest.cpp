#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileHandle.h"
#include "platform/kernel/FileIo.h"
#include "platform/kernel/FileOperations.h"
#include "platform/kernel/Module.h"
#include "platform/kernel/Wait.h"
#include "tests/platform/kernel/FileTestSupport.h"

namespace {

HANDLE Open(const std::string& path, DWORD access, DWORD disposition, DWORD share = FILE_SHARE_READ,
            DWORD flags = 0) {
  return CreateFile(path.c_str(), access, share, nullptr, disposition, flags | FILE_ATTRIBUTE_NORMAL,
                    nullptr);
}

std::string ReadString(HANDLE file, DWORD size) {
  std::string out(size, '\0');
  DWORD read = 0;
  EXPECT_TRUE(ReadFile(file, out.data(), size, &read, nullptr));
  out.resize(read);
  return out;
}

void WriteString(HANDLE file, const std::string& text) {
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
  EXPECT_EQ(written, text.size());
}

struct DispositionCase {
  DWORD disposition;
  bool existsBefore;
  bool opens;
  DWORD lastError;
  const char* contentAfter;  // null: no file afterwards
};
const DispositionCase kDispositions[] = {
    {CREATE_NEW, false, true, ERROR_SUCCESS, ""},
    {CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old"},
    {CREATE_ALWAYS, false, true, ERROR_SUCCESS, ""},
    {CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
    {OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
    {OPEN_EXISTING, true, true, ERROR_SUCCESS, "old"},
    {OPEN_ALWAYS, false, true, ERROR_SUCCESS, ""},
    {OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
    {TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
    {TRUNCATE_EXISTING, true, true, ERROR_SUCCESS, ""},
};

}  // namespace

TEST(FileHandle, DispositionsCreateOpenAndTruncateAsThePlatformDoes) {
  ScratchDir folder;
  for (const auto& c : kDispositions) {
    const std::string path = folder / "case.txt";
    std::filesystem::remove(path);
    if (c.existsBefore) WriteWholeFile(path, "old");
    // The program writes `\` separators.
    const std::string written = folder.Path() + "\\case.txt";
    HANDLE file = Open(written, GENERIC_READ | GENERIC_WRITE, c.disposition);
    const DWORD error = GetLastError();
    SCOPED_TRACE(testing::Message() << "disposition " << c.disposition << " exists " << c.existsBefore);
    EXPECT_EQ(file != INVALID_HANDLE_VALUE, c.opens);
    EXPECT_EQ(error, static_cast<DWORD>(c.lastError));
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (c.contentAfter)
      EXPECT_EQ(ReadWholeFile(path), c.contentAfter);
    else
      EXPECT_FALSE(Exists(path));
  }
}

TEST(FileHandle, OwnDataFilesAreFoundInAnyCase) {
  std::string folder = pictavo::ExecutableFolder() + "/case-XXXXXX";
  ASSERT_TRUE(mkdtemp(folder.data()));
  std::filesystem::create_directory(folder + "/Data");
  WriteWholeFile(folder + "/Data/Legal-Notice.TXT", "notice");
  HANDLE file = Open(folder + "\\data\\legal-notice.txt", GENERIC_READ, OPEN_EXISTING);
  EXPECT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadString(file, 100), "notice");
  CloseHandle(file);
  std::filesystem::remove_all(folder);
}

TEST(FileHandle, ReadWriteSeekSizeAndTruncate) {
  ScratchDir folder;
  HANDLE file = Open(folder / "data.bin", GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  WriteString(file, "hello world");
  DWORD high = 7;
  EXPECT_EQ(GetFileSize(file, &high), 11u);
  EXPECT_EQ(high, 0u);

  EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_BEGIN), 0u);
  EXPECT_EQ(ReadString(file, 5), "hello");
  EXPECT_EQ(SetFilePointer(file, 1, nullptr, FILE_CURRENT), 6u);
  EXPECT_EQ(ReadString(file, 100), "world");
  EXPECT_EQ(ReadString(file, 100), "");  // at the end: success with nothing
  EXPECT_EQ(SetFilePointer(file, -5, nullptr, FILE_END), 6u);
  EXPECT_EQ(ReadString(file, 2), "wo");

  // A positioned read leaves the next plain read after it.
  OVERLAPPED at{};
  at.Offset = 2;
  char two[2];
  DWORD read = 0;
  EXPECT_TRUE(ReadFile(file, two, 2, &read, &at));
  EXPECT_EQ(std::string(two, read), "ll");
  EXPECT_EQ(at.InternalHigh, 2u);

  EXPECT_EQ(SetFilePointer(file, 5, nullptr, FILE_BEGIN), 5u);
  EXPECT_TRUE(SetEndOfFile(file));
  LARGE_INTEGER size{};
  EXPECT_TRUE(GetFileSizeEx(file, &size));
  EXPECT_EQ(size.QuadPart, 5);
  EXPECT_TRUE(FlushFileBuffers(file));
  CloseHandle(file);
  EXPECT_EQ(ReadWholeFile(folder / "data.bin"), "hello");
}

TEST(FileHandle, PositionsBeyondFourGigabytesUseTheHighPart) {
  ScratchDir folder;
  HANDLE file = Open(folder / "sparse.bin", GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LONG high = 1;
  EXPECT_EQ(SetFilePointer(file, 16, &high, FILE_BEGIN), 16u);  // 4 GiB + 16
  EXPECT_EQ(high, 1);
  EXPECT_TRUE(SetEndOfFile(file));
  DWORD sizeHigh = 0;
  EXPECT_EQ(GetFileSize(file, &sizeHigh), 16u);
  EXPECT_EQ(sizeHigh, 1u);
  // Without a high part the new position must fit in 32 bits, and nothing moves otherwise.
  EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  // 0xFFFFFFFF is a valid position; the last error tells it from a failure.
  EXPECT_EQ(SetFilePointer(file, -1, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
  LARGE_INTEGER distance{};
  distance.QuadPart = 0xFFFFFFFFLL;
  EXPECT_TRUE(SetFilePointerEx(file, distance, nullptr, FILE_BEGIN));
  EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 0xFFFFFFFFu);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_BEGIN), 0u);
  EXPECT_TRUE(SetEndOfFile(file));
  CloseHandle(file);
}

TEST(FileHandle, FailuresReportThePlatformsErrors) {
  ScratchDir folder;
  WriteWholeFile(folder / "present.txt", "x");
  struct Case {
    std::string path;
    DWORD access;
    DWORD disposition;
    DWORD flags;
    DWORD error;
  };
  const Case cases[] = {
      {folder / "missing.txt", GENERIC_READ, OPEN_EXISTING, 0, ERROR_FILE_NOT_FOUND},
      {folder / "no-folder/file.txt", GENERIC_WRITE, CREATE_ALWAYS, 0, ERROR_PATH_NOT_FOUND},
      {folder / "present.txt/below", GENERIC_READ, OPEN_EXISTING, 0, ERROR_PATH_NOT_FOUND},
      {folder.Path(), GENERIC_READ, OPEN_EXISTING, 0, ERROR_ACCESS_DENIED},
      {folder / "present.txt", GENERIC_READ, TRUNCATE_EXISTING, 0, ERROR_INVALID_PARAMETER},
      {folder / "present.txt", GENERIC_READ, 0, 0, ERROR_INVALID_PARAMETER},
      {"", GENERIC_READ, OPEN_EXISTING, 0, ERROR_PATH_NOT_FOUND},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_EQ(Open(c.path, c.access, c.disposition, FILE_SHARE_READ, c.flags), INVALID_HANDLE_VALUE)
        << c.path;
    EXPECT_EQ(GetLastError(), c.error) << c.path;
  }
  // A folder opens with backup semantics (for its times).
  HANDLE handle =
      Open(folder.Path(), GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ, FILE_FLAG_BACKUP_SEMANTICS);
  EXPECT_NE(handle, INVALID_HANDLE_VALUE);
  CloseHandle(handle);

  HANDLE readOnly = Open(folder / "present.txt", GENERIC_READ, OPEN_EXISTING);
  DWORD done = 0;
  EXPECT_FALSE(WriteFile(readOnly, "y", 1, &done, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(SetEndOfFile(readOnly));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(FlushFileBuffers(readOnly));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  CloseHandle(readOnly);
  HANDLE writeOnly = Open(folder / "present.txt", GENERIC_WRITE, OPEN_EXISTING);
  char byte;
  EXPECT_FALSE(ReadFile(writeOnly, &byte, 1, &done, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  CloseHandle(writeOnly);

  EXPECT_FALSE(ReadFile(readOnly, &byte, 1, &done, nullptr));  // closed by now
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(GetFileSize(readOnly, nullptr), INVALID_FILE_SIZE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(FileHandle, ShareModesKeepOtherHandlesOfThisProcessOut) {
  struct Case {
    DWORD firstAccess, firstShare, secondAccess, secondShare;
    bool secondOpens;
  };
  const Case cases[] = {
      {GENERIC_READ, FILE_SHARE_READ, GENERIC_READ, FILE_SHARE_READ, true},
      {GENERIC_READ, FILE_SHARE_READ, GENERIC_WRITE, FILE_SHARE_READ, false},
      {GENERIC_WRITE, FILE_SHARE_READ, GENERIC_READ, FILE_SHARE_READ, false},
      {GENERIC_WRITE, FILE_SHARE_READ, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, true},
      {GENERIC_READ | GENERIC_WRITE, 0, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, false},
      {GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
       true},
  };
  ScratchDir folder;
  const std::string path = folder / "shared.txt";
  WriteWholeFile(path, "content");
  for (const auto& c : cases) {
    HANDLE first = Open(path, c.firstAccess, OPEN_EXISTING, c.firstShare);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    HANDLE second = Open(path, c.secondAccess, OPEN_EXISTING, c.secondShare);
    EXPECT_EQ(second != INVALID_HANDLE_VALUE, c.secondOpens)
        << c.firstAccess << "/" << c.firstShare << " then " << c.secondAccess << "/" << c.secondShare;
    if (second == INVALID_HANDLE_VALUE) {
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    } else {
      CloseHandle(second);
    }
    CloseHandle(first);
    second = Open(path, c.secondAccess, OPEN_EXISTING, c.secondShare);  // the first is gone now
    EXPECT_NE(second, INVALID_HANDLE_VALUE);
    CloseHandle(second);
  }
  EXPECT_EQ(ReadWholeFile(path), "content");
}

TEST(FileHandle, RefusedOpenLeavesTheContentAlone) {
  ScratchDir folder;
  const std::string path = folder / "kept.txt";
  WriteWholeFile(path, "precious");
  HANDLE holder = Open(path, GENERIC_READ, OPEN_EXISTING, 0);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Open(path, GENERIC_WRITE, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  CloseHandle(holder);
  EXPECT_EQ(ReadWholeFile(path), "precious");
}

TEST(FileHandle, DeleteOnCloseRemovesTheFileWithTheLastHandle) {
  ScratchDir folder;
  const std::string path = folder / "scratch.tmp";
  HANDLE file = Open(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS, 0,
                     FILE_FLAG_DELETE_ON_CLOSE | FILE_ATTRIBUTE_TEMPORARY);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  WriteString(file, "menu");
  EXPECT_TRUE(Exists(path));
  CloseHandle(file);
  EXPECT_FALSE(Exists(path));
}

TEST(FileHandle, ReadOnlyAttributeKeepsLaterWritersAndDeletersOut) {
  ScratchDir folder;
  const std::string path = folder / "locked.txt";
  HANDLE file =
      CreateFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_READONLY, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  WriteString(file, "made");  // the creating handle may write
  CloseHandle(file);
  EXPECT_EQ(Open(path, GENERIC_WRITE, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(DeleteFile(path.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  HANDLE reader = Open(path, GENERIC_READ, OPEN_EXISTING);
  EXPECT_EQ(ReadString(reader, 10), "made");
  CloseHandle(reader);
}

TEST(FileHandle, FileTimesRoundTripThroughTheHandle) {
  ScratchDir folder;
  const std::string path = folder / "times.txt";
  HANDLE file = Open(path, GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  // 2009-02-13 23:31:30 UTC, plus 0.5 s.
  const uint64_t ticks = (1234567890ull + 11644473600ull) * 10000000ull + 5000000ull;
  const FILETIME written{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
  FILETIME creation{}, access{}, lastWrite{};
  EXPECT_TRUE(GetFileTime(file, &creation, &access, &lastWrite));
  EXPECT_EQ(lastWrite.dwLowDateTime, written.dwLowDateTime);
  EXPECT_EQ(lastWrite.dwHighDateTime, written.dwHighDateTime);
  CloseHandle(file);
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mtim.tv_sec, 1234567890);
  EXPECT_EQ(st.st_mtim.tv_nsec, 500000000);
}

TEST(FileHandle, StandardHandlesStayAvailable) {
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  ASSERT_NE(error, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetStdHandle(STD_ERROR_HANDLE), error);
  EXPECT_NE(GetStdHandle(STD_INPUT_HANDLE), error);
  DWORD written = 1;
  EXPECT_TRUE(WriteFile(error, "", 0, &written, nullptr));
  EXPECT_EQ(written, 0u);
  // Closing a standard handle does not close the stream: asking again works.
  EXPECT_TRUE(CloseHandle(error));
  HANDLE again = GetStdHandle(STD_ERROR_HANDLE);
  EXPECT_NE(again, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(WriteFile(again, "", 0, &written, nullptr));
  EXPECT_EQ(GetStdHandle(12345), INVALID_HANDLE_VALUE);
}
