// The input script's player: the state of the script being played, kept on the thread that plays
// it, and a watchdog that ends the program when that thread stops waiting idle altogether.
#include "platform/display/ScriptPlayer.h"

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>

#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/display/ScriptSteps.h"
#include "platform/display/SdlDisplay.h"

namespace pictavo::display {
namespace {

using Clock = std::chrono::steady_clock;

// How often a waiting step looks again when nothing wakes the thread meanwhile.
constexpr DWORD kPollMs = 50;
// The watchdog gives the playing thread this long beyond a step's time to report it itself.
constexpr auto kWatchdogGrace = std::chrono::seconds(1);

[[noreturn]] void ExitFailed(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  std::fflush(stderr);
  _exit(kScriptFailedExitCode);
}

// Ends the program when the step it is armed for is still not done at its time: the playing
// thread never came back to wait idle. Its thread is detached and never ends, so it outlives
// whatever the program's exit destroys.
class Watchdog {
 public:
  Watchdog() : m_state(std::make_shared<State>()) {
    std::thread([state = m_state] { Run(*state); }).detach();
  }
  ~Watchdog() { Arm(Clock::time_point::max(), {}); }

  void Arm(Clock::time_point due, std::string message) {
    {
      std::lock_guard lock(m_state->lock);
      m_state->due = due;
      m_state->message = std::move(message);
    }
    m_state->changed.notify_one();
  }

 private:
  struct State {
    std::mutex lock;
    std::condition_variable changed;
    Clock::time_point due = Clock::time_point::max();  // guarded by lock
    std::string message;                               // guarded by lock
  };

  static void Run(State& state) {
    std::unique_lock lock(state.lock);
    for (;;) {
      if (state.due == Clock::time_point::max()) {
        state.changed.wait(lock);
      } else if (Clock::now() >= state.due) {
        ExitFailed(state.message);
      } else {
        state.changed.wait_until(lock, state.due);
      }
    }
  }

  std::shared_ptr<State> m_state;
};

class Player {
 public:
  Player(std::vector<ScriptStep> steps, ScriptOptions options)
      : m_steps(std::move(steps)), m_options(std::move(options)), m_thread(std::this_thread::get_id()) {
    if (!m_options.onFailure) m_watchdog = std::make_unique<Watchdog>();
  }

  // The thread about to block: plays what can be played now; how long it may block.
  DWORD OnIdle(user::IdleWait kind) {
    if (std::this_thread::get_id() != m_thread || m_over) return INFINITE;
    const bool inputAllowed = kind != user::IdleWait::kMsgWait;
    while (m_next < m_steps.size()) {
      const ScriptStep& step = m_steps[m_next];
      const auto now = Clock::now();
      if (!m_started) Begin(step, now);
      const StepOutcome outcome = PlayStep(step, m_context, inputAllowed);
      if (outcome.result == StepResult::kFailed) {
        Fail(step, outcome.why);
        return INFINITE;
      }
      if (outcome.result == StepResult::kWaiting) {
        if (Clock::now() >= m_deadline) {
          Fail(step, "not done within " + Seconds(step.timeoutMs) + ": " + outcome.why);
          return INFINITE;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(m_deadline - Clock::now()).count();
        const DWORD wait = outcome.waitMs ? outcome.waitMs : kPollMs;
        return static_cast<DWORD>(std::min<long long>(wait, std::max<long long>(left, 1)));
      }
      if (outcome.result == StepResult::kInputMore) {
        ++m_context.phase;
        return kPollMs;
      }
      // The next step's time runs from now, also while the program handles what this one did.
      ++m_next;
      m_started = false;
      if (m_next < m_steps.size()) Begin(m_steps[m_next], Clock::now());
      // Input just made is handled before the next step looks at the windows.
      if (outcome.result == StepResult::kInputMade) return kPollMs;
    }
    Finish();
    return INFINITE;
  }

  // What is left when the program ends: whether the script was played to its end.
  bool PlayedOut() {
    if (m_over) return true;
    // A last wait for a window to go is met by the end of the program.
    while (m_next < m_steps.size() && m_steps[m_next].kind == ScriptStep::Kind::kWaitGone) ++m_next;
    return m_next >= m_steps.size();
  }
  std::string Unplayed() const {
    if (m_next >= m_steps.size()) return {};
    return Name(m_steps[m_next]) + ": the program ended before this step was played";
  }

  void Stop() {
    m_over = true;
    if (m_watchdog) m_watchdog->Arm(Clock::time_point::max(), {});
  }

 private:
  void Begin(const ScriptStep& step, Clock::time_point now) {
    m_started = true;
    m_context.started = now;
    m_context.phase = 0;
    // A sleep is over when its time is; other steps fail when theirs is.
    const bool sleeping = step.kind == ScriptStep::Kind::kSleep;
    const DWORD limit = sleeping ? step.sleepMs : step.timeoutMs;
    m_deadline = sleeping ? Clock::time_point::max() : now + std::chrono::milliseconds(limit);
    if (m_watchdog)
      m_watchdog->Arm(now + std::chrono::milliseconds(limit) + kWatchdogGrace,
                      Name(step) + ": not done within " + Seconds(limit) +
                          ": the program stayed busy and never waited for input");
  }

  std::string Name(const ScriptStep& step) const {
    return "pictavo: script " + m_options.name + " line " + std::to_string(step.line) + " (" + step.source +
           ")";
  }

  static std::string Seconds(DWORD ms) {
    std::ostringstream out;
    out << ms / 1000.0 << " s";
    return out.str();
  }

  void Fail(const ScriptStep& step, const std::string& why);
  void Finish();

  std::vector<ScriptStep> m_steps;
  const ScriptOptions m_options;
  const std::thread::id m_thread;
  std::unique_ptr<Watchdog> m_watchdog;  // when a failure ends the program
  // The playing thread only.
  StepContext m_context;
  size_t m_next = 0;
  bool m_started = false;
  bool m_over = false;
  Clock::time_point m_deadline{};
};

struct Playing {
  std::mutex lock;
  std::shared_ptr<Player> player;  // guarded by lock
};
Playing& ThePlaying() {
  static auto* playing = new Playing;
  return *playing;
}

bool SetIdleHandler(std::function<DWORD(user::IdleWait)> handler) {
  if (HeadlessDisplay* headless = Headless()) {
    headless->SetIdleHandler(std::move(handler));
    return true;
  }
  if (SdlDisplay* sdl = Sdl()) {
    sdl->SetIdleHandler(std::move(handler));
    return true;
  }
  return false;
}

void Release() {
  SetIdleHandler(nullptr);
  auto& playing = ThePlaying();
  std::lock_guard lock(playing.lock);
  playing.player.reset();
}

void Player::Fail(const ScriptStep& step, const std::string& why) {
  Stop();
  const std::string message = Name(step) + ": " + why;
  if (!m_options.onFailure) ExitFailed(message);
  const auto onFailure = m_options.onFailure;
  Release();  // may destroy this player: nothing of it is used below
  onFailure(message);
}

void Player::Finish() {
  Stop();
  const auto onFinished = m_options.onFinished;
  Release();
  if (onFinished) onFinished();
}

void CheckAtExit() {
  std::shared_ptr<Player> player;
  {
    auto& playing = ThePlaying();
    std::lock_guard lock(playing.lock);
    player = playing.player;
  }
  if (player && !player->PlayedOut()) ExitFailed(player->Unplayed());
}

}  // namespace

bool PlayScript(std::vector<ScriptStep> steps, ScriptOptions options) {
  const bool exitsOnFailure = !options.onFailure;
  auto player = std::make_shared<Player>(std::move(steps), std::move(options));
  {
    auto& playing = ThePlaying();
    std::lock_guard lock(playing.lock);
    if (playing.player) return false;
    playing.player = player;
  }
  if (!SetIdleHandler([player](user::IdleWait kind) { return player->OnIdle(kind); })) {
    Release();
    return false;
  }
  if (exitsOnFailure) {
    static std::once_flag once;
    std::call_once(once, [] { std::atexit(CheckAtExit); });
  }
  return true;
}

void StopScript() {
  std::shared_ptr<Player> player;
  {
    auto& playing = ThePlaying();
    std::lock_guard lock(playing.lock);
    player = playing.player;
  }
  if (player) player->Stop();
  Release();
}

bool StartScriptFromEnvironment() {
  const char* path = std::getenv("PICTAVO_SCRIPT");
  if (!path || !*path) return false;
  const std::string name = std::string("\"") + path + "\"";
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  if (!file || file.bad()) ExitFailed("pictavo: script " + name + " cannot be read");
  std::vector<ScriptStep> steps;
  ScriptError error;
  if (!ParseScript(text.str(), &steps, &error))
    ExitFailed("pictavo: script " + name + " line " + std::to_string(error.line) + ": " + error.message);
  ScriptOptions options;
  options.name = name;
  if (!PlayScript(std::move(steps), std::move(options)))
    ExitFailed("pictavo: script " + name + " cannot be played: no display plays scripts");
  return true;
}

}  // namespace pictavo::display
