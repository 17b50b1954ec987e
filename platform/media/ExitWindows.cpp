#include "platform/media/ExitWindows.h"

#include <cstdlib>
#include <mutex>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Process.h"
#include "platform/kernel/Wait.h"

namespace pictavo::media {
namespace {

// Long enough for a session manager to take the request, short enough not to hang the caller
// when one shows a confirmation and waits for the user.
constexpr DWORD kCommandWaitMs = 5000;

SessionCommandOutcome RunCommand(const std::vector<std::string>& argv) {
  auto process = kernel::StartProcess(argv);
  if (!process) return SessionCommandOutcome::kMissing;
  CloseHandle(process->hThread);
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process->hProcess, kCommandWaitMs) == WAIT_OBJECT_0)
    GetExitCodeProcess(process->hProcess, &code);
  CloseHandle(process->hProcess);
  return code == 0 || code == STILL_ACTIVE ? SessionCommandOutcome::kAccepted
                                           : SessionCommandOutcome::kRefused;
}

struct RunnerSlot {
  std::mutex lock;
  SessionCommandRunner runner;  // guarded by lock; null: RunCommand
};
RunnerSlot& Runner() {
  static auto* slot = new RunnerSlot;
  return *slot;
}

}  // namespace

void SetSessionCommandRunner(SessionCommandRunner runner) {
  std::lock_guard lock(Runner().lock);
  Runner().runner = std::move(runner);
}

std::vector<std::vector<std::string>> SessionEndCommands(UINT flags) {
  if (flags & EWX_REBOOT)
    return {
        {"gnome-session-quit", "--reboot"}, {"xfce4-session-logout", "--reboot"}, {"systemctl", "reboot"}};
  if (flags & (EWX_SHUTDOWN | EWX_POWEROFF))
    return {
        {"gnome-session-quit", "--power-off"}, {"xfce4-session-logout", "--halt"}, {"systemctl", "poweroff"}};
  std::vector<std::vector<std::string>> commands = {{"gnome-session-quit", "--logout", "--no-prompt"},
                                                    {"xfce4-session-logout", "--logout"}};
  // The last resort ends this session's processes the way a shutdown does (terminated, not
  // killed outright).
  if (const char* session = std::getenv("XDG_SESSION_ID"); session && *session)
    commands.push_back({"loginctl", "terminate-session", session});
  return commands;
}

}  // namespace pictavo::media

BOOL ExitWindowsEx(UINT flags, DWORD) {
  using namespace pictavo::media;
  SessionCommandRunner runner;
  {
    std::lock_guard lock(Runner().lock);
    runner = Runner().runner;
  }
  bool anyRan = false;
  for (const auto& argv : SessionEndCommands(flags)) {
    const SessionCommandOutcome outcome = runner ? runner(argv) : RunCommand(argv);
    if (outcome == SessionCommandOutcome::kAccepted) return TRUE;
    anyRan = anyRan || outcome == SessionCommandOutcome::kRefused;
  }
  SetLastError(anyRan ? ERROR_ACCESS_DENIED : ERROR_NOT_SUPPORTED);
  return FALSE;
}
