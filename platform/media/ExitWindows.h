// Ending the desktop session: log out, power off or restart. The request goes to the desktop
// session first, which lets other programs save their work or refuse, and then to the system.
// Other programs are never forced to close: EWX_FORCE and EWX_FORCEIFHUNG are not honoured.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/base/WinTypes.h"

#define EWX_LOGOFF 0x00000000u
#define EWX_SHUTDOWN 0x00000001u
#define EWX_REBOOT 0x00000002u
#define EWX_FORCE 0x00000004u
#define EWX_POWEROFF 0x00000008u
#define EWX_FORCEIFHUNG 0x00000010u

// Tries the commands of SessionEndCommands in order until one accepts the request. FALSE with
// the last error set (ERROR_NOT_SUPPORTED when none could be started, ERROR_ACCESS_DENIED when
// those that ran refused) when none did. Returns once the request is made, not when the
// session ends. `reason` is not used.
BOOL ExitWindowsEx(UINT flags, DWORD reason);

namespace pictavo::media {

enum class SessionCommandOutcome {
  kAccepted,  // the request is made
  kRefused,   // the command ran and said no (not this desktop, not allowed ...)
  kMissing,   // the program is not installed
};
// Runs one command (an argument vector, never through a shell).
using SessionCommandRunner = std::function<SessionCommandOutcome(const std::vector<std::string>& argv)>;
// Replaces how the commands are run (tests must never end the session); null restores the
// default, which starts the program, waits a few seconds for it and takes exit code 0 (or a
// program still running, e.g. asking the user) as accepted.
void SetSessionCommandRunner(SessionCommandRunner runner);
// The commands that ask for what `flags` asks, in the order they are tried: the GNOME and Xfce
// sessions, then systemd (which still lets programs that hold an inhibitor lock delay or block
// the shutdown).
std::vector<std::vector<std::string>> SessionEndCommands(UINT flags);

}  // namespace pictavo::media
