#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileMapping.h"
#include "platform/kernel/FileObject.h"
#include "platform/kernel/KernelObject.h"
#include "platform/kernel/Wait.h"
#include "tests/platform/kernel/SyncObjectsChild.h"

namespace {

namespace fs = std::filesystem;

const DWORD kPage = static_cast<DWORD>(sysconf(_SC_PAGESIZE));

// A scratch file of `length` bytes of `fill`, open as a file handle.
class ScratchFile {
 public:
  ScratchFile(size_t length, char fill, int mode = O_RDWR) {
    m_path = (fs::temp_directory_path() / ("pictavo-mapping-" + std::to_string(getpid()) + "-" +
                                           std::to_string(reinterpret_cast<uintptr_t>(this))))
                 .string();
    const int fd = open(m_path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const std::string bytes(length, fill);
    (void)!write(fd, bytes.data(), bytes.size());
    close(fd);
    m_handle = pictavo::kernel::InsertHandle(
        std::make_shared<pictavo::kernel::FileObject>(open(m_path.c_str(), mode | O_CLOEXEC)));
  }
  ~ScratchFile() {
    CloseHandle(m_handle);
    unlink(m_path.c_str());
  }
  HANDLE Handle() const { return m_handle; }
  off_t Length() const {
    struct stat st {};
    stat(m_path.c_str(), &st);
    return st.st_size;
  }
  std::string Read(off_t at, size_t length) const {
    std::string out(length, '\0');
    const int fd = open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    (void)!pread(fd, out.data(), length, at);
    close(fd);
    return out;
  }

 private:
  std::string m_path;
  HANDLE m_handle;
};

uint32_t ReadWord(HANDLE mapping) {
  void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 4);
  if (!view) return 0xDEADDEAD;
  uint32_t value;
  std::memcpy(&value, view, 4);
  UnmapViewOfFile(view);
  return value;
}

}  // namespace

TEST(FileMapping, ViewsOfOneMappingShareTheirBytes) {
  HANDLE mapping = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4 * kPage, nullptr);
  ASSERT_NE(mapping, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  auto* whole = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  auto* tail =
      static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 2 * kPage, kPage));
  ASSERT_NE(whole, nullptr);
  ASSERT_NE(tail, nullptr);
  EXPECT_EQ(whole[0], 0) << "new memory is zero-filled";
  std::strcpy(whole + 2 * kPage, "shared");
  EXPECT_STREQ(tail, "shared");
  tail[10] = 'x';
  EXPECT_EQ(whole[2 * kPage + 10], 'x');

  auto* copy = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_COPY, 0, 0, 0));
  ASSERT_NE(copy, nullptr);
  copy[2 * kPage] = 'S';
  EXPECT_EQ(whole[2 * kPage], 's') << "a copy-on-write view keeps its writes";

  EXPECT_TRUE(CloseHandle(mapping));
  whole[0] = 1;  // views outlive the handle
  EXPECT_TRUE(UnmapViewOfFile(whole));
  EXPECT_TRUE(UnmapViewOfFile(tail));
  EXPECT_TRUE(UnmapViewOfFile(copy));
  EXPECT_FALSE(UnmapViewOfFile(whole));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ADDRESS));
}

TEST(FileMapping, BadRequestsAreRefused) {
  HANDLE readOnly = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READONLY, 0, kPage, nullptr);
  ASSERT_NE(readOnly, nullptr);
  const struct {
    const char* what;
    DWORD access, offset;
    SIZE_T bytes;
    DWORD error;
  } views[] = {
      {"write view of read-only memory", FILE_MAP_WRITE, 0, 0, ERROR_ACCESS_DENIED},
      {"no access asked", 0, 0, 0, ERROR_INVALID_PARAMETER},
      {"offset off the page grid", FILE_MAP_READ, 100, 0, ERROR_MAPPED_ALIGNMENT},
      {"offset past the end", FILE_MAP_READ, kPage, 0, ERROR_INVALID_PARAMETER},
      {"longer than the mapping", FILE_MAP_READ, 0, kPage + 1, ERROR_INVALID_PARAMETER},
  };
  for (const auto& v : views) {
    SetLastError(0);
    EXPECT_EQ(MapViewOfFile(readOnly, v.access, 0, v.offset, v.bytes), nullptr) << v.what;
    EXPECT_EQ(GetLastError(), v.error) << v.what;
  }
  void* view = MapViewOfFile(readOnly, FILE_MAP_READ, 0, 0, 0);
  EXPECT_NE(view, nullptr);
  UnmapViewOfFile(view);
  CloseHandle(readOnly);

  const struct {
    const char* what;
    HANDLE file;
    DWORD protect, size;
    DWORD error;
  } mappings[] = {
      {"memory of no size", INVALID_HANDLE_VALUE, PAGE_READWRITE, 0, ERROR_INVALID_PARAMETER},
      {"no access", INVALID_HANDLE_VALUE, PAGE_NOACCESS, kPage, ERROR_INVALID_PARAMETER},
      {"unknown protection", INVALID_HANDLE_VALUE, 0x1234, kPage, ERROR_INVALID_PARAMETER},
      {"not a file", nullptr, PAGE_READWRITE, kPage, ERROR_INVALID_HANDLE},
  };
  for (const auto& m : mappings) {
    SetLastError(0);
    EXPECT_EQ(CreateFileMapping(m.file, nullptr, m.protect, 0, m.size, nullptr), nullptr) << m.what;
    EXPECT_EQ(GetLastError(), m.error) << m.what;
  }
  EXPECT_FALSE(FlushViewOfFile(reinterpret_cast<void*>(uintptr_t{0x1000}), 0));
}

TEST(FileMapping, FileMappingLengthensTheFileAndWritesThrough) {
  ScratchFile file(520, 'h');
  HANDLE mapping = CreateFileMapping(file.Handle(), nullptr, PAGE_READWRITE, 0, 520 + 532, nullptr);
  ASSERT_NE(mapping, nullptr);
  EXPECT_EQ(file.Length(), 520 + 532) << "the added slot is part of the file";
  auto* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view[519], 'h');
  EXPECT_EQ(view[520], 0);
  std::memcpy(view + 520, "record", 6);
  EXPECT_TRUE(FlushViewOfFile(view + 520, 6));
  EXPECT_EQ(file.Read(520, 6), "record");
  EXPECT_TRUE(UnmapViewOfFile(view));
  EXPECT_TRUE(CloseHandle(mapping));

  HANDLE whole = CreateFileMapping(file.Handle(), nullptr, PAGE_READONLY, 0, 0, nullptr);
  ASSERT_NE(whole, nullptr) << "size 0: the file's length";
  auto* readView = static_cast<const char*>(MapViewOfFile(whole, FILE_MAP_READ, 0, 0, 0));
  ASSERT_NE(readView, nullptr);
  EXPECT_EQ(std::string(readView + 520, 6), "record");
  UnmapViewOfFile(readView);
  CloseHandle(whole);
}

TEST(FileMapping, FilesThatCannotBackTheMappingAreRefused) {
  ScratchFile empty(0, 0);
  EXPECT_EQ(CreateFileMapping(empty.Handle(), nullptr, PAGE_READWRITE, 0, 0, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_INVALID));

  ScratchFile readOnly(100, 'r', O_RDONLY);
  EXPECT_EQ(CreateFileMapping(readOnly.Handle(), nullptr, PAGE_READONLY, 0, 200, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << "cannot grow without writing";
  EXPECT_EQ(CreateFileMapping(readOnly.Handle(), nullptr, PAGE_READWRITE, 0, 200, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(readOnly.Length(), 100);

  HANDLE mapping = CreateFileMapping(readOnly.Handle(), nullptr, PAGE_READWRITE, 0, 0, nullptr);
  ASSERT_NE(mapping, nullptr);
  EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0), nullptr) << "the file is open for reading only";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  CloseHandle(mapping);

  EXPECT_EQ(CreateFileMapping(readOnly.Handle(), nullptr, PAGE_READONLY, 0, 0, "named file"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

TEST(FileMapping, ViewAtAChosenAddress) {
  HANDLE mapping = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kPage, nullptr);
  void* free = mmap(nullptr, kPage, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  munmap(free, kPage);
  void* view = MapViewOfFileEx(mapping, FILE_MAP_WRITE, 0, 0, 0, free);
  EXPECT_EQ(view, free);
  EXPECT_EQ(MapViewOfFileEx(mapping, FILE_MAP_WRITE, 0, 0, 0, free), nullptr) << "the place is taken";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ADDRESS));
  UnmapViewOfFile(view);
  CloseHandle(mapping);
}

TEST(NamedFileMapping, SameNameSameMemoryUntilTheLastHolderGoes) {
  const std::string name = UniqueName("mapping-local");
  HANDLE first = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4, name.c_str());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  auto* view = static_cast<uint32_t*>(MapViewOfFile(first, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 4));
  ASSERT_NE(view, nullptr);
  *view = 0x12345678;

  HANDLE second = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4, name.c_str());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  HANDLE opened = OpenFileMapping(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(ReadWord(opened), 0x12345678u);
  for (HANDLE h : {first, second, opened}) CloseHandle(h);

  HANDLE byView = OpenFileMapping(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
  EXPECT_NE(byView, nullptr) << "the view still holds it";
  CloseHandle(byView);
  UnmapViewOfFile(view);
  EXPECT_EQ(OpenFileMapping(FILE_MAP_ALL_ACCESS, FALSE, name.c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(NamedFileMapping, SharedWithAnotherProcessAndGoneWithItsLastHolder) {
  const std::string name = UniqueName("mapping-shared");
  ForkedChild child([&](ForkedChild&) {
    HANDLE mapping = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4, name.c_str());
    if (!mapping || GetLastError() != ERROR_SUCCESS) return 'n';
    auto* view = static_cast<uint32_t*>(MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 4));
    if (!view || *view != 0) return 'n';
    *view = 0xCAFEF00D;
    UnmapViewOfFile(view);
    return 'y';  // the handle stays open until the child is killed
  });
  ASSERT_EQ(child.Report(), 'y');

  HANDLE opened = OpenFileMapping(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(ReadWord(opened), 0xCAFEF00Du);
  HANDLE created = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4, name.c_str());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  CloseHandle(created);

  child.Kill();
  EXPECT_EQ(ReadWord(opened), 0xCAFEF00Du) << "this process still holds it";
  CloseHandle(opened);
  EXPECT_EQ(OpenFileMapping(FILE_MAP_ALL_ACCESS, FALSE, name.c_str()), nullptr)
      << "gone with the last holder";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  HANDLE fresh = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4, name.c_str());
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(ReadWord(fresh), 0u) << "a new mapping starts zero-filled";
  CloseHandle(fresh);
}

TEST(NamedFileMapping, CrashedHolderLeavesNothingBehind) {
  const std::string name = UniqueName("mapping-crashed");
  ForkedChild child([&](ForkedChild&) {
    HANDLE mapping = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4, name.c_str());
    auto* view = mapping ? static_cast<uint32_t*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 4)) : nullptr;
    if (!view) return 'n';
    *view = 7;
    return 'y';
  });
  ASSERT_EQ(child.Report(), 'y');
  child.Kill();
  EXPECT_EQ(OpenFileMapping(FILE_MAP_ALL_ACCESS, FALSE, name.c_str()), nullptr);
  HANDLE fresh = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4, name.c_str());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(ReadWord(fresh), 0u);
  CloseHandle(fresh);
}
