// The menu sound worker against a recording PlaySound: which sounds play for a run of requests,
// with what flags, and that the end is final and bounded. Built twice: in the toolkit's test
// binary and, with the thread sanitizer, as test_toolkit_bars_tsan (tsan/CMakeLists.txt).
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "toolkit/bars/PlxMenuSoundThread.h"

namespace {

using pictavo::toolkit::MenuSoundThread;

constexpr DWORD kSoundFlags = 0x00010000 | 0x0002 | 0x00002000;  // SND_ALIAS | SND_NODEFAULT | SND_NOWAIT
constexpr DWORD kPurge = 0x0040;                                 // SND_PURGE
// Only ends a hopeless wait; nothing here waits for time to pass.
constexpr auto kGiveUp = std::chrono::seconds(10);

// A PlaySound that writes down every call; it can hold the next sound until released, as a slow
// device would.
class Recorder {
 public:
  BOOL Play(LPCSTR sound, DWORD flags) {
    std::unique_lock lock(m_lock);
    m_calls.push_back(sound ? std::string(sound) : std::string("purge"));
    m_flags.push_back(flags);
    if (sound != nullptr && m_holdNext) {
      m_holdNext = false;
      m_holding = true;
      m_changed.notify_all();
      m_changed.wait(lock, [&] { return !m_holding; });
    }
    m_changed.notify_all();
    return TRUE;
  }
  void HoldNext() {
    std::lock_guard lock(m_lock);
    m_holdNext = true;
  }
  bool WaitHolding() {
    std::unique_lock lock(m_lock);
    return m_changed.wait_for(lock, kGiveUp, [&] { return m_holding; });
  }
  void Release() {
    {
      std::lock_guard lock(m_lock);
      m_holding = false;
    }
    m_changed.notify_all();
  }
  bool WaitCalls(size_t n) {
    std::unique_lock lock(m_lock);
    return m_changed.wait_for(lock, kGiveUp, [&] { return m_calls.size() >= n && !m_holding; });
  }
  std::vector<std::string> Calls() {
    std::lock_guard lock(m_lock);
    return m_calls;
  }
  std::vector<DWORD> Flags() {
    std::lock_guard lock(m_lock);
    return m_flags;
  }

 private:
  std::mutex m_lock;
  std::condition_variable m_changed;
  std::vector<std::string> m_calls;
  std::vector<DWORD> m_flags;
  bool m_holdNext = false;
  bool m_holding = false;
};

MenuSoundThread::Player PlayerFor(const std::shared_ptr<Recorder>& recorder) {
  return [recorder](LPCSTR sound, HMODULE, DWORD flags) { return recorder->Play(sound, flags); };
}

// Steps: "1" / "2" / "-1" a request, "H" hold the next sound, "P" wait until it is held, "X"
// release it, "W<n>" wait until n calls were made, "E" end.
struct Case {
  const char* name;
  std::vector<std::string> steps;
  std::vector<std::string> calls;  // after a final end
};

const Case kCases[] = {
    {"popup", {"2", "W1"}, {"MenuPopup", "purge"}},
    {"command", {"1", "W1"}, {"MenuCommand", "purge"}},
    {"one after another", {"2", "W1", "1", "W2"}, {"MenuPopup", "MenuCommand", "purge"}},
    {"request during a sound plays next",
     {"H", "2", "P", "1", "X", "W2"},
     {"MenuPopup", "MenuCommand", "purge"}},
    {"newer request replaces one not taken yet",
     {"H", "1", "P", "1", "2", "X", "W2"},
     {"MenuCommand", "MenuPopup", "purge"}},
    {"end first starts nothing", {"-1", "2", "1"}, {}},
    {"nothing plays after the end", {"2", "W1", "-1", "2", "1"}, {"MenuPopup", "purge"}},
    {"unknown requests ignored", {"0", "3", "-2"}, {}},
};

TEST(MenuSoundThread, RequestsPlayInOrder) {
  for (const auto& c : kCases) {
    auto recorder = std::make_shared<Recorder>();
    MenuSoundThread worker(PlayerFor(recorder));
    for (const auto& step : c.steps) {
      if (step == "H") {
        recorder->HoldNext();
      } else if (step == "P") {
        ASSERT_TRUE(recorder->WaitHolding()) << c.name;
      } else if (step == "X") {
        recorder->Release();
      } else if (step[0] == 'W') {
        ASSERT_TRUE(recorder->WaitCalls(std::stoul(step.substr(1)))) << c.name;
      } else {
        worker.Request(std::stoi(step));
      }
    }
    EXPECT_TRUE(worker.End()) << c.name;
    EXPECT_FALSE(worker.IsRunning()) << c.name;
    EXPECT_TRUE(worker.HasEnded()) << c.name;
    EXPECT_EQ(recorder->Calls(), c.calls) << c.name;
    const auto flags = recorder->Flags();
    const auto calls = recorder->Calls();
    for (size_t i = 0; i < calls.size(); ++i)
      EXPECT_EQ(flags[i], calls[i] == "purge" ? kPurge : kSoundFlags) << c.name << " call " << i;
  }
}

TEST(MenuSoundThread, NoWorkerUntilTheFirstSound) {
  auto recorder = std::make_shared<Recorder>();
  MenuSoundThread worker(PlayerFor(recorder));
  EXPECT_FALSE(worker.IsRunning());
  worker.Request(2);
  EXPECT_TRUE(worker.IsRunning());
  worker.Request(-1);
  EXPECT_FALSE(worker.IsRunning());
}

// A worker stuck in a sound does not hold up the clean-up; it ends by itself once the sound
// returns, and the end it was asked for still holds.
TEST(MenuSoundThread, EndIsBoundedWhileASoundHangs) {
  auto recorder = std::make_shared<Recorder>();
  {
    MenuSoundThread worker(PlayerFor(recorder));
    recorder->HoldNext();
    worker.Request(2);
    ASSERT_TRUE(recorder->WaitHolding());
    worker.Request(1);
    EXPECT_FALSE(worker.End(std::chrono::milliseconds(20)));
    EXPECT_TRUE(worker.HasEnded());
  }
  recorder->Release();
  ASSERT_TRUE(recorder->WaitCalls(2));
  EXPECT_EQ(recorder->Calls(), (std::vector<std::string>{"MenuPopup", "purge"}));
}

}  // namespace
