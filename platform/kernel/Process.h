// Processes: started from an argument vector (StartProcess) and never through a shell, or from
// the platform's command line (CreateProcess, see ProcessCommandLine.h for how it is split).
// A process handle is signalled when the process ends; every started process is collected when
// it ends, whether or not anyone waits for it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/base/WinTypes.h"

#ifndef STILL_ACTIVE
#define STILL_ACTIVE 259u
#endif

#define CREATE_SUSPENDED 0x00000004u
#define DETACHED_PROCESS 0x00000008u
#define CREATE_NEW_CONSOLE 0x00000010u
#define NORMAL_PRIORITY_CLASS 0x00000020u
#define IDLE_PRIORITY_CLASS 0x00000040u
#define HIGH_PRIORITY_CLASS 0x00000080u
#define CREATE_NEW_PROCESS_GROUP 0x00000200u
#define CREATE_UNICODE_ENVIRONMENT 0x00000400u
#define BELOW_NORMAL_PRIORITY_CLASS 0x00004000u
#define ABOVE_NORMAL_PRIORITY_CLASS 0x00008000u
#define CREATE_NO_WINDOW 0x08000000u

#define STARTF_USESHOWWINDOW 0x00000001u
#define STARTF_USESTDHANDLES 0x00000100u

struct STARTUPINFO {
  DWORD cb;
  LPSTR lpReserved;
  LPSTR lpDesktop;
  LPSTR lpTitle;
  DWORD dwX;
  DWORD dwY;
  DWORD dwXSize;
  DWORD dwYSize;
  DWORD dwXCountChars;
  DWORD dwYCountChars;
  DWORD dwFillAttribute;
  DWORD dwFlags;
  WORD wShowWindow;
  WORD cbReserved2;
  LPBYTE lpReserved2;
  HANDLE hStdInput;
  HANDLE hStdOutput;
  HANDLE hStdError;
};
using STARTUPINFOA = STARTUPINFO;
using LPSTARTUPINFO = STARTUPINFO*;
using LPSTARTUPINFOA = STARTUPINFO*;

// hThread is a second handle to the process object: waiting on it waits for the process.
struct PROCESS_INFORMATION {
  HANDLE hProcess;
  HANDLE hThread;
  DWORD dwProcessId;
  DWORD dwThreadId;
};
using LPPROCESS_INFORMATION = PROCESS_INFORMATION*;

// Runs `application` or the program the command line names. A Windows program name ending in
// `.exe` is looked for as given, then without `.exe`, then by its bare name along PATH (the
// helper programs are installed system-wide here). A bare name is looked for along PATH only.
// Only the standard streams reach the program (from STARTUPINFO with STARTF_USESTDHANDLES,
// otherwise the null device for input and this process's output and error streams); handle
// inheritance, priorities, windows and consoles do not apply. CREATE_SUSPENDED and
// CREATE_UNICODE_ENVIRONMENT fail with ERROR_NOT_SUPPORTED. An environment block replaces the
// environment.
BOOL CreateProcess(LPCSTR application, LPSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                   LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD flags,
                   LPVOID environment, LPCSTR currentDirectory, LPSTARTUPINFO startup,
                   LPPROCESS_INFORMATION information);
inline BOOL CreateProcessA(LPCSTR application, LPSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                           LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD flags,
                           LPVOID environment, LPCSTR currentDirectory, LPSTARTUPINFO startup,
                           LPPROCESS_INFORMATION information) {
  return CreateProcess(application, commandLine, processAttributes, threadAttributes, inheritHandles, flags,
                       environment, currentDirectory, startup, information);
}
// CreateProcess without waiting; above 31 on success, else 0, ERROR_FILE_NOT_FOUND,
// ERROR_PATH_NOT_FOUND or ERROR_BAD_FORMAT. The show command does not apply.
UINT WinExec(LPCSTR commandLine, UINT showCommand);

// STILL_ACTIVE while the process runs. A process ended by a signal reports
// pictavo::kernel::ExitCodeForSignal(signal), unless TerminateProcess ended it.
BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode);
// Kills the process (SIGKILL); its exit code becomes `exitCode`. Fails with ERROR_ACCESS_DENIED
// once the process has ended.
BOOL TerminateProcess(HANDLE process, UINT exitCode);
// The pseudo handle of this process, accepted by GetExitCodeProcess and GetProcessId.
// (GetCurrentProcessId is with the thread calls, Thread.h.)
HANDLE GetCurrentProcess();
DWORD GetProcessId(HANDLE process);

namespace pictavo::kernel {

struct ProcessOptions {
  std::string workingFolder;  // empty: this process's current folder; `\` accepted
  // The standard streams, from handles of files, pipe ends or GetStdHandle. Null (or
  // INVALID_HANDLE_VALUE) gives the null device. The same handle may serve two streams.
  HANDLE stdIn = nullptr;
  HANDLE stdOut = nullptr;
  HANDLE stdErr = nullptr;
  // "NAME=value" entries set on top of this process's environment (or, without
  // inheritEnvironment, the whole environment).
  std::vector<std::string> environment;
  bool inheritEnvironment = true;
  // Pipe names in the arguments (`\\.\pipe\NAME`) become their FIFO paths, and the process
  // becomes a peer of those pipes (ConnectNamedPipe gives up when it ends without opening them).
  bool translatePipeNames = true;
};

// Starts argv[0] (a path, or a bare name looked for along PATH; `\` accepted) with the arguments
// exactly as given. No descriptor other than the three standard streams reaches the program; its
// signal mask and signal dispositions start at their defaults. Returns the handles (to be closed
// by the caller), or nothing with the last error set: ERROR_FILE_NOT_FOUND or
// ERROR_PATH_NOT_FOUND for a missing program, ERROR_ACCESS_DENIED for one that may not be run,
// ERROR_DIRECTORY for a missing working folder, ERROR_INVALID_HANDLE for a stream handle that is
// not a file or pipe.
[[nodiscard]] std::optional<PROCESS_INFORMATION> StartProcess(const std::vector<std::string>& argv,
                                                              const ProcessOptions& options = {});

// The exit code of a process ended by `signal`: outside what any exit status can be.
constexpr DWORD ExitCodeForSignal(int signal) {
  return 0xC0000000u | static_cast<DWORD>(signal);
}

}  // namespace pictavo::kernel
