#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/registry/Hive.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScratchDir.h"

using namespace pictavo::registry;

namespace {

using pictavo::test::ReadWholeFile;
using pictavo::test::ScopedEnv;
using pictavo::test::ScratchDir;

Change SetDword(KeyPath path, std::string name, uint8_t value) {
  return Change{Change::Kind::kSetValue, std::move(path), std::move(name), kTypeDword, {value, 0, 0, 0}};
}

// A hive object of its own stands for another process using the same file.
class HiveTest : public ::testing::Test {
 protected:
  // Applies changes through a fresh hive object and writes them.
  DWORD Write(const std::vector<Change>& changes) {
    Hive hive("current_user.reg", "test");
    auto lock = hive.Lock();
    hive.RefreshLocked();
    for (const Change& change : changes) hive.ChangeLocked(change);
    return hive.FlushLocked();
  }

  ScratchDir scratch;
  const std::string config = scratch.Path();
  ScopedEnv env{"XDG_CONFIG_HOME", config.c_str()};
  const std::string file = config + "/pictavo/current_user.reg";
};

}  // namespace

TEST_F(HiveTest, WritersReplayTheirChangesOntoTheFileAsItIsNow) {
  ASSERT_EQ(Write({SetDword({"K"}, "gone", 1), SetDword({"K"}, "shared", 1),
                   Change{Change::Kind::kCreateKey, {"Old", "Sub"}, {}, 0, {}}}),
            static_cast<DWORD>(ERROR_SUCCESS));

  Hive a("current_user.reg", "test"), b("current_user.reg", "test");
  auto lockA = a.Lock();
  auto lockB = b.Lock();
  a.RefreshLocked();
  b.RefreshLocked();
  a.ChangeLocked(SetDword({"K"}, "fromA", 1));
  a.ChangeLocked(Change{Change::Kind::kDeleteKey, {"Old", "Sub"}, {}, 0, {}});
  a.ChangeLocked(SetDword({"K"}, "shared", 2));
  b.ChangeLocked(SetDword({"k"}, "fromB", 1));
  b.ChangeLocked(Change{Change::Kind::kDeleteValue, {"K"}, "GONE", 0, {}});
  b.ChangeLocked(SetDword({"K"}, "SHARED", 3));
  ASSERT_EQ(a.FlushLocked(), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(b.FlushLocked(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_FALSE(b.HasPendingChangesLocked());

  Hive reader("current_user.reg", "test");
  auto lock = reader.Lock();
  reader.RefreshLocked();
  const Key* k = reader.ViewLocked().Find({"K"});
  ASSERT_NE(k, nullptr);
  EXPECT_NE(k->FindValue("fromA"), nullptr);
  EXPECT_NE(k->FindValue("fromB"), nullptr);
  EXPECT_EQ(k->FindValue("gone"), nullptr);
  ASSERT_NE(k->FindValue("shared"), nullptr);
  EXPECT_EQ(k->FindValue("shared")->data[0], 3);      // the later writer wins
  EXPECT_EQ(k->FindValue("shared")->name, "shared");  // with the first spelling
  EXPECT_NE(reader.ViewLocked().Find({"Old"}), nullptr);
  EXPECT_EQ(reader.ViewLocked().Find({"Old", "Sub"}), nullptr);
  // b's view took in a's changes when it wrote.
  EXPECT_NE(b.ViewLocked().Find({"K"})->FindValue("fromA"), nullptr);
}

TEST_F(HiveTest, AViewFollowsTheFileWhenAnotherWriterReplacesIt) {
  Hive hive("current_user.reg", "test");
  auto lock = hive.Lock();
  hive.RefreshLocked();
  hive.ChangeLocked(SetDword({"Mine"}, "pending", 1));
  ASSERT_EQ(Write({SetDword({"Theirs"}, "v", 2)}), static_cast<DWORD>(ERROR_SUCCESS));
  hive.RefreshLocked();
  EXPECT_NE(hive.ViewLocked().Find({"Theirs"}), nullptr);
  EXPECT_NE(hive.ViewLocked().Find({"Mine"}), nullptr);  // pending changes stay in the view
}

TEST_F(HiveTest, ReadingIsLazyAndNeverWrites) {
  Hive hive("current_user.reg", "test");
  auto lock = hive.Lock();
  hive.RefreshLocked();
  EXPECT_EQ(hive.ViewLocked().ChildCount(), 0u);
  EXPECT_EQ(hive.FlushLocked(), static_cast<DWORD>(ERROR_SUCCESS));  // nothing pending
  EXPECT_FALSE(std::filesystem::exists(config + "/pictavo"));
}

TEST_F(HiveTest, ADamagedFileIsSetAside) {
  std::filesystem::create_directories(config + "/pictavo");
  std::ofstream(file) << "PICTAVO-REGISTRY 1\n[K]\n\"v\"=dword:zz\n";
  Hive hive("current_user.reg", "test");
  auto lock = hive.Lock();
  hive.RefreshLocked();
  EXPECT_EQ(hive.ViewLocked().ChildCount(), 0u);
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(ReadWholeFile(file + ".damaged"), "PICTAVO-REGISTRY 1\n[K]\n\"v\"=dword:zz\n");

  hive.ChangeLocked(SetDword({"K"}, "v", 5));
  ASSERT_EQ(hive.FlushLocked(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_NE(ReadWholeFile(file).find("\"v\"=dword:00000005"), std::string::npos);
}

TEST_F(HiveTest, AFailedWriteKeepsTheOldFileAndThePendingChanges) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  ASSERT_EQ(Write({SetDword({"K"}, "old", 1)}), static_cast<DWORD>(ERROR_SUCCESS));
  const std::string before = ReadWholeFile(file);
  Hive hive("current_user.reg", "test");
  auto lock = hive.Lock();
  hive.RefreshLocked();
  hive.ChangeLocked(SetDword({"K"}, "new", 2));
  chmod((config + "/pictavo").c_str(), 0555);
  EXPECT_EQ(hive.FlushLocked(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(hive.HasPendingChangesLocked());
  EXPECT_EQ(ReadWholeFile(file), before);
  chmod((config + "/pictavo").c_str(), 0755);
  EXPECT_EQ(hive.FlushLocked(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_NE(ReadWholeFile(file).find("\"new\""), std::string::npos);
}

TEST_F(HiveTest, AFullDiskLeavesThePreviousFileWhole) {
  ASSERT_EQ(Write({SetDword({"K"}, "old", 1)}), static_cast<DWORD>(ERROR_SUCCESS));
  const std::string before = ReadWholeFile(file);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    Hive hive("current_user.reg", "test");
    auto lock = hive.Lock();
    hive.RefreshLocked();
    hive.ChangeLocked(
        Change{Change::Kind::kSetValue, {"K"}, "big", kTypeBinary, std::vector<uint8_t>(1 << 20, 1)});
    const DWORD error = hive.FlushLocked();
    _exit(error == ERROR_DISK_FULL && hive.HasPendingChangesLocked() ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(ReadWholeFile(file), before);
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(config + "/pictavo"))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"current_user.reg", "current_user.reg.lock"}));
}

TEST_F(HiveTest, TheFolderFollowsTheEnvironment) {
  EXPECT_EQ(HiveFolder(), config + "/pictavo");
  ScopedEnv relative("XDG_CONFIG_HOME", "relative/path");
  ScopedEnv home("HOME", "/home/anna");
  EXPECT_EQ(HiveFolder(), "/home/anna/.config/pictavo");
}
