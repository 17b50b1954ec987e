#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/File.h"
#include "platform/base/LastError.h"
#include "platform/base/MemFile.h"
#include "tests/platform/base/TestSupport.h"

namespace {

namespace fs = std::filesystem;

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "pictavo-file-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    m_dir = pattern;
  }
  void TearDown() override { fs::remove_all(m_dir); }

  std::string PathOf(const char* name) const { return (m_dir / name).string(); }
  void WriteText(const char* name, const std::string& text) const { std::ofstream(PathOf(name)) << text; }
  std::string ReadText(const char* name) const {
    std::ifstream in(PathOf(name));
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path m_dir;
};

// Runs `action`, which must throw a CFileException, and returns its cause.
template <class F>
int FileErrorOf(F action) {
  try {
    action();
  } catch (CFileException* e) {
    const int cause = e->m_cause;
    e->Delete();
    return cause;
  }
  return -1;
}

TEST_F(FileTest, WriteThenReadBack) {
  const std::string path = PathOf("data.bin");
  CFile out;
  ASSERT_TRUE(out.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
  out.Write("hello world", 11);
  EXPECT_EQ(out.GetLength(), 11u);
  EXPECT_EQ(out.GetPosition(), 11u);
  out.Close();
  EXPECT_FALSE(out.IsOpen());

  CFile in(path.c_str(), CFile::modeRead | CFile::shareDenyWrite);
  char buffer[32] = {};
  EXPECT_EQ(in.Read(buffer, 5), 5u);
  EXPECT_STREQ(buffer, "hello");
  EXPECT_EQ(in.Seek(-5, CFile::end), 6u);
  EXPECT_EQ(in.Read(buffer, sizeof buffer), 5u);  // fewer at the end of the file
  EXPECT_EQ(std::string(buffer, 5), "world");
  EXPECT_EQ(in.Read(buffer, 4), 0u);
  in.SeekToBegin();
  EXPECT_EQ(in.GetPosition(), 0u);
  EXPECT_EQ(in.SeekToEnd(), 11u);
  EXPECT_EQ(FileErrorOf([&] { in.Seek(-20, CFile::current); }), CFileException::badSeek);
}

TEST_F(FileTest, CreateTruncatesUnlessTold) {
  WriteText("keep.txt", "0123456789");
  {
    CFile f(PathOf("keep.txt").c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
    EXPECT_EQ(f.GetLength(), 10u);
    f.Write("ab", 2);
  }
  EXPECT_EQ(ReadText("keep.txt"), "ab23456789");
  { CFile f(PathOf("keep.txt").c_str(), CFile::modeCreate | CFile::modeWrite); }
  EXPECT_EQ(ReadText("keep.txt"), "");
}

TEST_F(FileTest, SetLengthMovesToTheNewEnd) {
  CFile f(PathOf("len.bin").c_str(), CFile::modeCreate | CFile::modeReadWrite);
  f.Write("abcdef", 6);
  f.SetLength(3);
  EXPECT_EQ(f.GetLength(), 3u);
  EXPECT_EQ(f.GetPosition(), 3u);
  f.SetLength(5);
  f.SeekToBegin();
  char buffer[5];
  ASSERT_EQ(f.Read(buffer, 5), 5u);
  EXPECT_EQ(std::string(buffer, 5), std::string("abc\0\0", 5));
  f.Flush();
}

TEST_F(FileTest, BackslashesAreSeparators) {
  fs::create_directory(m_dir / "sub");
  const std::string windowsStyle = m_dir.string() + "\\sub\\name.ext";
  CFile f;
  ASSERT_TRUE(f.Open(windowsStyle.c_str(), CFile::modeCreate | CFile::modeWrite));
  EXPECT_TRUE(fs::exists(m_dir / "sub" / "name.ext"));
  EXPECT_EQ(f.GetFileName(), "name.ext");
  EXPECT_EQ(f.GetFileTitle(), "name");
  EXPECT_EQ(f.GetFilePath(), (m_dir / "sub" / "name.ext").string().c_str());
}

TEST_F(FileTest, OpenFailuresAreReported) {
  fs::create_directory(m_dir / "folder");
  struct Case {
    std::string path;
    UINT flags;
    int cause;
    DWORD error;
  };
  const Case kCases[] = {
      {PathOf("missing.txt"), CFile::modeRead, CFileException::fileNotFound, ERROR_FILE_NOT_FOUND},
      {PathOf("folder"), CFile::modeRead, CFileException::accessDenied, ERROR_ACCESS_DENIED},
      {PathOf("nope/file.txt"), CFile::modeCreate | CFile::modeWrite, CFileException::fileNotFound,
       ERROR_FILE_NOT_FOUND},
      {"", CFile::modeRead, CFileException::fileNotFound, ERROR_FILE_NOT_FOUND},
  };
  for (const auto& c : kCases) {
    CFile f;
    CFileException error;
    SetLastError(0);
    EXPECT_FALSE(f.Open(c.path.c_str(), c.flags, &error)) << c.path;
    EXPECT_EQ(error.m_cause, c.cause) << c.path;
    EXPECT_EQ(static_cast<DWORD>(error.m_lOsError), c.error) << c.path;
    EXPECT_EQ(GetLastError(), c.error) << c.path;
    EXPECT_FALSE(f.IsOpen());
  }
  EXPECT_EQ(FileErrorOf([&] { CFile f(PathOf("missing.txt").c_str(), CFile::modeRead); }),
            CFileException::fileNotFound);
  CFile readOnly(PathOf("ro.txt").c_str(), CFile::modeCreate | CFile::modeRead);
  EXPECT_NE(FileErrorOf([&] { readOnly.Write("x", 1); }), -1);
}

TEST_F(FileTest, RenameRefusesToReplace) {
  WriteText("a.txt", "A");
  WriteText("b.txt", "B");
  EXPECT_EQ(FileErrorOf([&] { CFile::Rename(PathOf("a.txt").c_str(), PathOf("b.txt").c_str()); }),
            CFileException::accessDenied);
  EXPECT_EQ(ReadText("b.txt"), "B");
  CFile::Rename(PathOf("a.txt").c_str(), PathOf("c.txt").c_str());
  EXPECT_EQ(ReadText("c.txt"), "A");
  EXPECT_FALSE(fs::exists(PathOf("a.txt")));
  EXPECT_EQ(FileErrorOf([&] { CFile::Rename(PathOf("a.txt").c_str(), PathOf("d.txt").c_str()); }),
            CFileException::fileNotFound);
}

TEST_F(FileTest, RemoveTakesFilesOnly) {
  WriteText("gone.txt", "x");
  CFile::Remove(PathOf("gone.txt").c_str());
  EXPECT_FALSE(fs::exists(PathOf("gone.txt")));
  EXPECT_EQ(FileErrorOf([&] { CFile::Remove(PathOf("gone.txt").c_str()); }), CFileException::fileNotFound);
  fs::create_directory(m_dir / "dir");
  EXPECT_EQ(FileErrorOf([&] { CFile::Remove(PathOf("dir").c_str()); }), CFileException::accessDenied);
}

TEST_F(FileTest, StatusOfFilesAndFolders) {
  WriteText("s.txt", "12345");
  CFileStatus status;
  ASSERT_TRUE(CFile::GetStatus(PathOf("s.txt").c_str(), status));
  EXPECT_EQ(status.m_size, 5u);
  EXPECT_EQ(status.m_attribute & CFile::directory, 0);
  EXPECT_STREQ(status.m_szFullName, PathOf("s.txt").c_str());
  EXPECT_GT(status.m_mtime.GetTime(), 0);

  ::chmod(PathOf("s.txt").c_str(), 0444);
  ASSERT_TRUE(CFile::GetStatus(PathOf("s.txt").c_str(), status));
  EXPECT_NE(status.m_attribute & CFile::readOnly, 0);

  ASSERT_TRUE(CFile::GetStatus(m_dir.string().c_str(), status));
  EXPECT_NE(status.m_attribute & CFile::directory, 0);
  EXPECT_FALSE(CFile::GetStatus(PathOf("none").c_str(), status));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  CFile open(PathOf("s.txt").c_str(), CFile::modeRead);
  ASSERT_TRUE(open.GetStatus(status));
  EXPECT_EQ(status.m_size, 5u);
}

TEST(MemFile, GrowsAndDetaches) {
  CMemFile file(16);
  const std::string text(100, 'x');
  file.Write(text.data(), 100);
  file.Write("end", 3);
  EXPECT_EQ(file.GetLength(), 103u);
  file.Seek(110, CFile::begin);  // a write past the end leaves zeros between
  file.Write("!", 1);
  EXPECT_EQ(file.GetLength(), 111u);
  file.Seek(100, CFile::begin);
  char buffer[16];
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 11u);
  EXPECT_EQ(std::string(buffer, 11), std::string("end\0\0\0\0\0\0\0!", 11));
  EXPECT_EQ(file.Read(buffer, 1), 0u);
  EXPECT_EQ(FileErrorOf([&] { file.Seek(-1, CFile::begin); }), CFileException::badSeek);

  BYTE* block = file.Detach();
  EXPECT_EQ(std::memcmp(block, text.data(), 100), 0);
  std::free(block);
  EXPECT_EQ(file.GetLength(), 0u);
  file.Write("again", 5);  // usable after detaching
  EXPECT_EQ(file.GetLength(), 5u);
}

TEST(MemFile, AttachedBlocks) {
  BYTE fixed[4] = {1, 2, 3, 4};
  CMemFile view(fixed, sizeof fixed);
  EXPECT_EQ(view.GetLength(), 4u);
  view.Seek(2, CFile::begin);
  view.Write("\x09", 1);
  EXPECT_EQ(fixed[2], 9);
  view.Seek(0, CFile::end);
  bool refused = false;
  try {
    view.Write("x", 1);  // a block without growth cannot grow
  } catch (CMemoryException* e) {
    refused = true;
    e->Delete();
  }
  EXPECT_TRUE(refused);
  EXPECT_EQ(view.GetLength(), 4u);

  auto* growable = static_cast<BYTE*>(std::malloc(2));
  CMemFile grow;
  grow.Attach(growable, 2, 8);
  EXPECT_EQ(grow.GetLength(), 0u);  // room, not content
  grow.Write("0123456789", 10);
  BYTE* result = grow.Detach();
  EXPECT_EQ(std::memcmp(result, "0123456789", 10), 0);
  std::free(result);
}

}  // namespace
