// Re-entry flags: holders counted in this process, and a flag held by another running copy seen
// by IsLocked.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "modules/data/SingleFlag.h"

namespace {

std::string UniqueFlagName(const char* what) {
  return std::string("test-") + what + "-" + std::to_string(getpid());
}

}  // namespace

TEST(SingleFlag, CountsNestedHolders) {
  CWyxSingleFlag flag(UniqueFlagName("nested").c_str());
  EXPECT_FALSE(flag.IsLocked());
  {
    CWyxSingleFlagAutoLock outer(flag);
    EXPECT_EQ(outer.GetRefCount(), 1);
    {
      CWyxSingleFlagAutoLock inner(flag);
      EXPECT_EQ(flag.GetRefCount(), 2);  // a re-entered command sees more than one holder
    }
    EXPECT_EQ(flag.GetRefCount(), 1);
    EXPECT_TRUE(flag.IsLocked());
  }
  EXPECT_EQ(flag.GetRefCount(), 0);
  EXPECT_FALSE(flag.IsLocked());
}

TEST(SingleFlag, WaitForSingleExitReturnsWhenTheWorkerLetsGo) {
  CWyxSingleFlag flag(UniqueFlagName("wait").c_str());
  std::promise<void> locked;
  std::promise<void> release;
  std::thread worker([&] {
    CWyxSingleFlagAutoLock hold(flag);
    locked.set_value();
    release.get_future().wait();
  });
  locked.get_future().wait();
  EXPECT_TRUE(flag.IsLocked());
  auto waiting = std::async(std::launch::async, [&] { flag.WaitForSingleExit(FALSE); });
  EXPECT_EQ(waiting.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
  release.set_value();
  waiting.get();
  EXPECT_EQ(flag.GetRefCount(), 0);
  worker.join();
}

TEST(SingleFlag, IsLockedSeesAFlagHeldByAnotherCopy) {
  const std::string name = UniqueFlagName("copy");
  int up[2];
  ASSERT_EQ(pipe(up), 0);
  // The other copy takes the flag, says so and stays until it is killed.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(up[0]);
    CWyxSingleFlag flag(name.c_str());
    flag.Lock();
    const char held = 'L';
    (void)!write(up[1], &held, 1);
    for (;;) pause();
  }
  close(up[1]);
  char report = 0;
  ASSERT_EQ(read(up[0], &report, 1), 1);
  close(up[0]);
  EXPECT_EQ(report, 'L');
  {
    CWyxSingleFlag flag(name.c_str());
    EXPECT_EQ(flag.GetRefCount(), 0);
    EXPECT_TRUE(flag.IsLocked());
    // This copy's own command still runs: the flag counts here, unmarked.
    CWyxSingleFlagAutoLock hold(flag);
    EXPECT_EQ(flag.GetRefCount(), 1);
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  CWyxSingleFlag flag(name.c_str());
  EXPECT_FALSE(flag.IsLocked()) << "a copy that ended holds nothing";
}
