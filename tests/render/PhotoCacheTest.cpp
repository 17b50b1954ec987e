// The photo cache: which photos get a copy, the index files and the version stamp, copies whose
// photo changed, damaged index files, and the worker queue.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "modules/data/DVDProject.h"
#include "modules/image/CxImage.h"
#include "platform/kernel/Wait.h"
#include "render/PhotoCache.h"
#include "render/PhotoCacheIndex.h"
#include "tests/render/RenderFixtures.h"

using pictavo::render::PhotoCacheRecord;
using rendertest::MakePhoto;
using rendertest::ReadWholeFile;
using rendertest::ScratchDir;
using rendertest::WriteWholeFile;
namespace fs = std::filesystem;

namespace {

class PhotoCacheTest : public ::testing::Test {
 protected:
  PhotoCacheTest() { CDVDProject::g_m_strAppTempPathBase = (m_dir / "base").c_str(); }
  ~PhotoCacheTest() override { CDVDProject::g_m_strAppTempPathBase = ""; }

  std::string Folder() const { return std::string(CPhotoCache::GetCacheFolder()); }
  std::string IndexOf(const std::string& photo) const {
    char name[16];
    std::snprintf(name, sizeof(name), "%03d.idx", CPhotoCache::GetBucket(photo.c_str()));
    return Folder() + name;
  }
  std::string Photo(const std::string& name, int w = 2400, int h = 1600) {
    return MakePhoto(m_dir / name, w, h);
  }
  static std::pair<long, long> SizeOf(const std::string& path) {
    CxImage picture;
    if (!picture.Load(path.c_str())) return {0, 0};
    return {static_cast<long>(picture.GetWidth()), static_cast<long>(picture.GetHeight())};
  }

  ScratchDir m_dir;
  CPhotoCache m_cache;
};

}  // namespace

TEST(PhotoCacheRules, BucketIsTheLowByteOfTheSignedByteSum) {
  struct Case {
    const char* path;
    int bucket;
  };
  const Case kCases[] = {{"abc", 38}, {"ABC", 198}, {"\xE9", 233}, {"", 0}, {"/d/ab.jpg", 244}};
  for (const auto& c : kCases) EXPECT_EQ(CPhotoCache::GetBucket(c.path), c.bucket) << c.path;
}

TEST(PhotoCacheRules, FitToMaxSizeKeepsTheShape) {
  struct Case {
    long w, h, fitW, fitH;
  };
  const Case kCases[] = {
      {4000, 3000, 1600, 1200}, {3000, 4000, 900, 1200}, {1601, 1000, 1600, 999}, {1700, 1100, 1600, 1035}};
  for (const auto& c : kCases) {
    CxImage picture;
    picture.Create(c.w, c.h, 24);
    ASSERT_TRUE(CPhotoCache::FitToMaxSize(picture));
    EXPECT_EQ(static_cast<long>(picture.GetWidth()), c.fitW) << c.w << "x" << c.h;
    EXPECT_EQ(static_cast<long>(picture.GetHeight()), c.fitH) << c.w << "x" << c.h;
  }
}

TEST_F(PhotoCacheTest, OnlyPhotosLargerThan1600x1200GetACopyThatFitsIt) {
  struct Case {
    int w, h;
    long copyW, copyH;  // 0: no copy
  };
  const Case kCases[] = {{2400, 1600, 1600, 1067}, {1600, 1200, 0, 0}, {1601, 1200, 1600, 1199},
                         {1600, 1201, 1599, 1200}, {800, 600, 0, 0},   {1200, 2400, 600, 1200}};
  for (const auto& c : kCases) {
    const std::string photo = Photo("p" + std::to_string(c.w) + "x" + std::to_string(c.h) + ".jpg", c.w, c.h);
    EXPECT_TRUE(m_cache.CacheOne(photo.c_str()));
    const std::string copy(m_cache.GetCachedPath(photo.c_str(), nullptr));
    if (c.copyW == 0) {
      EXPECT_EQ(copy, "") << c.w << "x" << c.h;
      continue;
    }
    ASSERT_NE(copy, "") << c.w << "x" << c.h;
    EXPECT_EQ(copy.rfind(Folder(), 0), 0u) << copy;
    EXPECT_EQ(SizeOf(copy), std::make_pair(c.copyW, c.copyH)) << c.w << "x" << c.h;
  }
}

TEST_F(PhotoCacheTest, IndexRecordsTheWholePathTheSourceFactsAndTheCopy) {
  const std::string photo = Photo("summer/beach.jpg");
  ASSERT_TRUE(m_cache.CacheOne(photo.c_str()));
  const std::string copy(m_cache.GetCachedPath(photo.c_str(), nullptr));
  ASSERT_NE(copy, "");

  const std::string index = ReadWholeFile(IndexOf(photo));
  ASSERT_EQ(index.size(), 520u + 532u);
  EXPECT_EQ(index.substr(0, 520), std::string(520, '\0'));
  PhotoCacheRecord record;
  std::memcpy(&record, index.data() + 520, sizeof(record));
  EXPECT_EQ(std::string(record.szSourcePath), photo);
  EXPECT_EQ(std::string(record.szCachedPath), copy);
  EXPECT_EQ(record.dwSourceSize, fs::file_size(photo));

  // A second pass finds the record current: nothing is written, the copy stays.
  ASSERT_TRUE(m_cache.CacheOne(photo.c_str()));
  EXPECT_EQ(ReadWholeFile(IndexOf(photo)), index);
  EXPECT_EQ(std::string(m_cache.GetCachedPath(photo.c_str(), nullptr)), copy);
}

TEST_F(PhotoCacheTest, AChangedPhotoIsNotServedAndItsNextCopyReplacesTheOld) {
  const std::string photo = Photo("a.jpg");
  ASSERT_TRUE(m_cache.CacheOne(photo.c_str()));
  const std::string oldCopy(m_cache.GetCachedPath(photo.c_str(), nullptr));
  ASSERT_NE(oldCopy, "");
  const auto indexSize = fs::file_size(IndexOf(photo));

  MakePhoto(photo, 2000, 1800, RGB(10, 200, 10));  // another size and time
  int outdated = -1;
  EXPECT_EQ(std::string(m_cache.GetCachedPath(photo.c_str(), &outdated)), "");
  EXPECT_EQ(outdated, 1);
  EXPECT_EQ(std::string(m_cache.GetCachedPath(photo.c_str(), nullptr)), "");

  ASSERT_TRUE(m_cache.CacheOne(photo.c_str()));
  const std::string newCopy(m_cache.GetCachedPath(photo.c_str(), &outdated));
  EXPECT_EQ(outdated, 0);
  ASSERT_NE(newCopy, "");
  EXPECT_NE(newCopy, oldCopy);
  EXPECT_FALSE(fs::exists(oldCopy)) << "the stale copy is deleted";
  EXPECT_EQ(SizeOf(newCopy), std::make_pair(1333L, 1200L));
  EXPECT_EQ(fs::file_size(IndexOf(photo)), indexSize) << "the record is rewritten in place";
}

TEST_F(PhotoCacheTest, AMissingCopyIsRewrittenInPlaceWithoutAddingASlot) {
  const std::string photo = Photo("b.jpg");
  ASSERT_TRUE(m_cache.CacheOne(photo.c_str()));
  const std::string copy(m_cache.GetCachedPath(photo.c_str(), nullptr));
  ASSERT_TRUE(fs::remove(copy));
  int outdated = -1;
  EXPECT_EQ(std::string(m_cache.GetCachedPath(photo.c_str(), &outdated)), "");
  EXPECT_EQ(outdated, 0);
  for (int pass = 0; pass < 3; ++pass) {
    fs::remove(std::string(m_cache.GetCachedPath(photo.c_str(), nullptr)));
    ASSERT_TRUE(m_cache.CacheOne(photo.c_str()));
  }
  EXPECT_NE(std::string(m_cache.GetCachedPath(photo.c_str(), nullptr)), "");
  EXPECT_EQ(fs::file_size(IndexOf(photo)), 520u + 532u);
}

TEST_F(PhotoCacheTest, PathsAreComparedWholeAndWithTheirCase) {
  // Equal byte sums put these in one bucket; each keeps its own copy.
  const std::string a = Photo("same/Ab.jpg", 2400, 1600);
  const std::string b = Photo("same/aB.jpg", 1800, 2400);
  const std::string c = Photo("same/bA.jpg", 3000, 1500);
  ASSERT_EQ(CPhotoCache::GetBucket(a.c_str()), CPhotoCache::GetBucket(b.c_str()));
  ASSERT_EQ(CPhotoCache::GetBucket(a.c_str()), CPhotoCache::GetBucket(c.c_str()));
  for (const auto& photo : {a, b, c}) ASSERT_TRUE(m_cache.CacheOne(photo.c_str()));
  EXPECT_EQ(SizeOf(std::string(m_cache.GetCachedPath(a.c_str(), nullptr))), std::make_pair(1600L, 1067L));
  EXPECT_EQ(SizeOf(std::string(m_cache.GetCachedPath(b.c_str(), nullptr))), std::make_pair(900L, 1200L));
  EXPECT_EQ(SizeOf(std::string(m_cache.GetCachedPath(c.c_str(), nullptr))), std::make_pair(1600L, 800L));
  EXPECT_EQ(fs::file_size(IndexOf(a)), 520u + 3 * 532u);

  // A path too long for a record's field gets no copy rather than one recorded cut short.
  const std::string longName = std::string(280, 'x') + ".jpg";
  const std::string tooLong = Photo("long/" + longName.substr(0, 200) + "/" + longName.substr(200));
  EXPECT_FALSE(m_cache.CacheOne(tooLong.c_str()));
  EXPECT_EQ(std::string(m_cache.GetCachedPath(tooLong.c_str(), nullptr)), "");
}

TEST_F(PhotoCacheTest, TwoPhotosOfTheSameNameInTwoFoldersGetTwoCopies) {
  const std::string first = MakePhoto(m_dir / "trip1/IMG_0001.JPG", 2400, 1600, RGB(250, 0, 0));
  const std::string second = MakePhoto(m_dir / "trip2/IMG_0001.JPG", 2400, 1600, RGB(0, 0, 250));
  ASSERT_TRUE(m_cache.CacheOne(first.c_str()));
  ASSERT_TRUE(m_cache.CacheOne(second.c_str()));
  const std::string one(m_cache.GetCachedPath(first.c_str(), nullptr));
  const std::string two(m_cache.GetCachedPath(second.c_str(), nullptr));
  ASSERT_NE(one, "");
  ASSERT_NE(two, "");
  EXPECT_NE(one, two);
  CxImage a, b;
  ASSERT_TRUE(a.Load(one.c_str()));
  ASSERT_TRUE(b.Load(two.c_str()));
  EXPECT_GT(a.GetPixelColor(10, 10).rgbRed, 200);
  EXPECT_GT(b.GetPixelColor(10, 10).rgbBlue, 200);
}

TEST_F(PhotoCacheTest, ReadsNeverCreateIndexFiles) {
  const std::string photo = Photo("never.jpg");
  int outdated = -1;
  EXPECT_EQ(std::string(m_cache.GetCachedPath(photo.c_str(), &outdated)), "");
  EXPECT_EQ(std::string(m_cache.GetCachedPath(photo.c_str(), nullptr)), "");
  EXPECT_EQ(outdated, 0);
  EXPECT_FALSE(fs::exists(IndexOf(photo)));
  EXPECT_FALSE(fs::exists(Folder()));
}

TEST_F(PhotoCacheTest, DamagedIndexFilesAreReadSafelyAndStartedAfresh) {
  struct Case {
    const char* name;
    std::string contents;  // the index file before the photo is cached; "@" is the photo's path
  };
  PhotoCacheRecord unterminated;
  std::memset(&unterminated, 0xFF, sizeof(unterminated));
  const std::string junk(reinterpret_cast<const char*>(&unterminated), sizeof(unterminated));
  const Case kCases[] = {
      {"shorter than its header", std::string(100, 'z')},
      {"fields without an end", std::string(520, '\0') + junk},
      {"a partial record at the end", std::string(520, '\0') + junk + std::string(300, 'q')},
      {"the photo's path without an end to its copy", "@"},
  };
  int n = 0;
  for (const auto& c : kCases) {
    const std::string photo = Photo("damaged" + std::to_string(n++) + ".jpg");
    std::string contents = c.contents;
    if (contents == "@") {
      PhotoCacheRecord record;
      std::memset(&record, 'y', sizeof(record));
      std::memset(record.szSourcePath, 0, sizeof(record.szSourcePath));
      std::memcpy(record.szSourcePath, photo.data(), photo.size());
      contents = std::string(520, '\0') + std::string(reinterpret_cast<const char*>(&record), sizeof(record));
    }
    fs::create_directories(Folder());
    WriteWholeFile(IndexOf(photo), contents);
    int outdated = -1;
    EXPECT_EQ(std::string(m_cache.GetCachedPath(photo.c_str(), &outdated)), "") << c.name;

    ASSERT_TRUE(m_cache.CacheOne(photo.c_str())) << c.name;
    const std::string copy(m_cache.GetCachedPath(photo.c_str(), &outdated));
    EXPECT_NE(copy, "") << c.name;
    EXPECT_EQ(outdated, 0) << c.name;
    EXPECT_EQ((fs::file_size(IndexOf(photo)) - 520) % 532, 0u) << c.name;
  }
}

TEST_F(PhotoCacheTest, ARequestedSizeAboveTheCopiesGivesThePhotoItself) {
  const std::string photo = Photo("big.jpg");
  ASSERT_TRUE(m_cache.CacheOne(photo.c_str()));
  m_cache.SetRequestedSize(1920, 1080);
  EXPECT_EQ(std::string(m_cache.GetCachedPath(photo.c_str(), nullptr)), photo);
  int outdated = -1;
  EXPECT_NE(std::string(m_cache.GetCachedPath(photo.c_str(), &outdated)), photo);
  m_cache.SetRequestedSize(1280, 720);
  EXPECT_NE(std::string(m_cache.GetCachedPath(photo.c_str(), nullptr)), photo);
}

TEST_F(PhotoCacheTest, VersionCheckWipesAFolderOfAnotherVersion) {
  struct Case {
    const char* name;
    std::string stamp;  // "" leaves pc_info.bin out
    bool kept;
  };
  auto stampOf = [](int version) {
    std::string bytes(32, '\0');
    std::memcpy(bytes.data(), "PC_Info", 8);
    std::memcpy(bytes.data() + 16, &version, 4);
    return bytes;
  };
  const Case kCases[] = {
      {"current", stampOf(756), true},
      {"older", stampOf(755), false},
      {"missing", "", false},
      {"short", std::string("PC_Info\0", 8), false},
  };
  for (const auto& c : kCases) {
    fs::remove_all(Folder());
    const std::string photo = Photo("v.jpg");
    ASSERT_TRUE(m_cache.CacheOne(photo.c_str()));
    fs::remove(Folder() + "pc_info.bin");
    if (!c.stamp.empty()) WriteWholeFile(Folder() + "pc_info.bin", c.stamp);
    EXPECT_TRUE(m_cache.CheckVersion());
    EXPECT_EQ(fs::exists(IndexOf(photo)), c.kept) << c.name;
    EXPECT_EQ(ReadWholeFile(Folder() + "pc_info.bin"), stampOf(756)) << c.name;
  }
}

TEST_F(PhotoCacheTest, TheWorkerCopiesQueuedPhotosAfterAPause) {
  const std::string first = Photo("queue/one.jpg");
  const std::string second = Photo("queue/two.jpg", 1700, 1300);
  const std::string small = Photo("queue/small.jpg", 640, 480);
  m_cache.SetPaused(TRUE);
  for (const auto& photo : {first, second, small, first}) m_cache.Enqueue(photo.c_str());
  EXPECT_EQ(WaitForSingleObject(m_cache.GetIdleEvent(), 0), static_cast<DWORD>(WAIT_TIMEOUT))
      << "paused work stays queued";
  m_cache.SetPaused(FALSE);
  ASSERT_EQ(WaitForSingleObject(m_cache.GetIdleEvent(), rendertest::kGuardMs), WAIT_OBJECT_0);
  EXPECT_NE(std::string(m_cache.GetCachedPath(first.c_str(), nullptr)), "");
  EXPECT_NE(std::string(m_cache.GetCachedPath(second.c_str(), nullptr)), "");
  EXPECT_EQ(std::string(m_cache.GetCachedPath(small.c_str(), nullptr)), "");
  // Queued twice, copied once.
  size_t copies = 0;
  for (const auto& entry : fs::recursive_directory_iterator(Folder()))
    if (entry.path().extension() == ".jpg") ++copies;
  EXPECT_EQ(copies, 2u);
}

TEST_F(PhotoCacheTest, ACopyStandsUprightAsThePhotoIsShown) {
  // A landscape-stored photo whose EXIF says "turn right to show": the copy is the upright
  // portrait, so that readers need no EXIF (copies carry none).
  const std::string photo = Photo("turned.jpg", 2400, 1600);  // its top quarter is the accent colour
  const unsigned char kApp1[] = {0xFF, 0xE1, 0x00, 0x22, 'E', 'x', 'i', 'f', 0,    0,    'I', 'I',
                                 42,   0,    8,    0,    0,   0,   1,   0,   0x12, 0x01, 3,   0,
                                 1,    0,    0,    0,    6,   0,   0,   0,   0,    0,    0,   0};
  std::string bytes = ReadWholeFile(photo);
  bytes.insert(2, reinterpret_cast<const char*>(kApp1), sizeof(kApp1));
  WriteWholeFile(photo, bytes);
  ASSERT_TRUE(m_cache.CacheOne(photo.c_str()));
  CxImage copy;
  ASSERT_TRUE(copy.Load(std::string(m_cache.GetCachedPath(photo.c_str(), nullptr)).c_str()));
  EXPECT_EQ(copy.GetWidth(), 800u);
  EXPECT_EQ(copy.GetHeight(), 1200u);
  EXPECT_FALSE(copy.GetExifInfo()->IsExif);
  // Turned right, the top of the stored picture is the right side of the copy.
  EXPECT_GT(copy.GetPixelColor(790, 600).rgbBlue, 150);
  EXPECT_GT(copy.GetPixelColor(10, 600).rgbRed, 150);
}
