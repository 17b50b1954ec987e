#include "toolkit/bars/PlxMenuSoundThread.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace pictavo::toolkit {
namespace {

// The values of PlaySound's flags the worker passes (platform/media/PlaySound.h).
constexpr DWORD kSndNoDefault = 0x0002;
constexpr DWORD kSndPurge = 0x0040;
constexpr DWORD kSndNoWait = 0x00002000;
constexpr DWORD kSndAlias = 0x00010000;

// Below-normal priority: a sound may wait, the menu may not.
constexpr int kBelowNormalNice = 5;

}  // namespace

struct MenuSoundThread::State {
  explicit State(Player p) : player(std::move(p)) {}

  const Player player;
  std::atomic<int> request{0};      // 0 idle, 1 command, 2 popup; any thread
  std::atomic<bool> ending{false};  // set once, never cleared; any thread
  std::mutex lock;                  // guards the fields below and pairs with the two conditions
  std::condition_variable wake;     // a request or the end arrived
  std::condition_variable ended;    // the worker has returned
  bool started = false;
  bool finished = false;
  std::thread worker;  // the calling thread's (Request, End)

  void Run() {
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), kBelowNormalNice);
    for (;;) {
      {
        std::unique_lock guard(lock);
        wake.wait(guard, [&] { return ending.load() || request.load() != 0; });
      }
      if (ending.load()) break;
      const int next = request.exchange(0);
      if (next == 1 || next == 2)
        player(next == 1 ? "MenuCommand" : "MenuPopup", nullptr, kSndAlias | kSndNoDefault | kSndNoWait);
    }
    player(nullptr, nullptr, kSndPurge);
    {
      std::lock_guard guard(lock);
      finished = true;
    }
    ended.notify_all();
  }
};

MenuSoundThread::MenuSoundThread(Player player) : m_state(std::make_shared<State>(std::move(player))) {}

MenuSoundThread::~MenuSoundThread() {
  End();
}

void MenuSoundThread::Request(int request) {
  State& s = *m_state;
  if (request == -1) {
    End();
    return;
  }
  if (request != 1 && request != 2) return;
  {
    std::lock_guard guard(s.lock);
    if (s.ending.load()) return;
    if (!s.started) {
      try {
        // The worker holds its own reference, so a worker left behind by End never outlives
        // the state it reads.
        s.worker = std::thread([state = m_state] { state->Run(); });
      } catch (const std::system_error&) {
        return;  // dropped; the next request tries again
      }
      s.started = true;
    }
    s.request.store(request);
  }
  s.wake.notify_one();
}

bool MenuSoundThread::End(std::chrono::milliseconds bound) {
  State& s = *m_state;
  {
    std::lock_guard guard(s.lock);
    s.ending.store(true);
  }
  s.wake.notify_all();
  if (!s.worker.joinable()) return true;  // never started, or ended before
  bool done = false;
  {
    std::unique_lock guard(s.lock);
    done = s.ended.wait_for(guard, bound, [&] { return s.finished; });
  }
  if (done)
    s.worker.join();
  else
    s.worker.detach();
  return done;
}

bool MenuSoundThread::IsRunning() const {
  std::lock_guard guard(m_state->lock);
  return m_state->started && !m_state->finished;
}

bool MenuSoundThread::HasEnded() const {
  return m_state->ending.load();
}

}  // namespace pictavo::toolkit
