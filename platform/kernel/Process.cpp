#include "platform/kernel/Process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <thread>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileErrors.h"
#include "platform/kernel/FileHandle.h"
#include "platform/kernel/KernelObject.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Pipe.h"
#include "platform/kernel/PipeNames.h"
#include "platform/kernel/ProcessCommandLine.h"
#include "platform/kernel/ProcessLookup.h"
#include "platform/kernel/Wait.h"

extern char** environ;

namespace pictavo::kernel {
namespace {

class Process final : public KernelObject, public PipePeer {
 public:
  explicit Process(pid_t pid) : m_pid(pid) {}

  pid_t Pid() const { return m_pid; }

  bool IsWaitable() const override { return true; }
  bool IsSignaledLocked(std::thread::id) override { return m_exited; }
  bool HasExited() const override { return m_hasExited.load(); }

  DWORD ExitCode() {
    std::lock_guard lock(SignalLock());
    return m_exited ? m_exitCode : STILL_ACTIVE;
  }

  bool Terminate(UINT exitCode) {
    std::lock_guard lock(m_reapLock);
    // Until it is collected the pid cannot go to another process, so the signal reaches ours.
    if (m_reaped) {
      SetLastError(ERROR_ACCESS_DENIED);
      return false;
    }
    if (!m_terminating) {
      m_terminating = true;
      m_terminateCode = exitCode;
    }
    ::kill(m_pid, SIGKILL);
    return true;
  }

  // The reaper thread's work: wait for the end, work out the exit code, collect the process.
  void Reap() {
    siginfo_t info{};
    int waited;
    do {
      waited = ::waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | WNOWAIT);
    } while (waited != 0 && errno == EINTR);
    DWORD code;
    {
      std::lock_guard lock(m_reapLock);
      if (waited != 0) {
        code = ExitCodeForSignal(0);  // collected behind our back: the cause is unknown
      } else if (info.si_code == CLD_EXITED) {
        code = static_cast<DWORD>(info.si_status);
      } else if (m_terminating && info.si_status == SIGKILL) {
        code = m_terminateCode;
      } else {
        code = ExitCodeForSignal(info.si_status);
      }
      if (waited == 0)
        while (::waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {
        }
      m_reaped = true;
    }
    {
      std::lock_guard lock(SignalLock());
      m_exitCode = code;
      m_exited = true;
    }
    m_hasExited = true;
    NotifySignalChanged();
  }

 private:
  const pid_t m_pid;
  std::mutex m_reapLock;
  bool m_reaped = false;            // guarded by m_reapLock
  bool m_terminating = false;       // guarded by m_reapLock
  UINT m_terminateCode = 0;         // guarded by m_reapLock
  bool m_exited = false;            // guarded by SignalLock()
  DWORD m_exitCode = STILL_ACTIVE;  // guarded by SignalLock()
  std::atomic<bool> m_hasExited{false};
};

HANDLE CurrentProcessPseudoHandle() {
  return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));
}

std::shared_ptr<Process> FindProcess(HANDLE handle) {
  auto process = FindObjectAs<Process>(handle);
  if (!process) SetLastError(ERROR_INVALID_HANDLE);
  return process;
}

template <class T>
std::optional<T> Failed(DWORD error) {
  SetLastError(error);
  return std::nullopt;
}

// A descriptor kept clear of 0 to 2, so that placing the streams cannot overwrite each other.
FdOwner AboveStandardStreams(FdOwner fd) {
  if (!fd || fd.Get() > 2) return fd;
  return FdOwner(::fcntl(fd.Get(), F_DUPFD_CLOEXEC, 3));
}

[[nodiscard]] bool StreamFor(HANDLE handle, FdOwner* out) {
  out->Reset();
  if (!handle || handle == INVALID_HANDLE_VALUE) return true;  // the null device
  auto object = FindObject(handle);
  if (auto file = std::dynamic_pointer_cast<FileHandle>(object)) {
    *out = file->DuplicateForChild();
  } else if (auto other = std::dynamic_pointer_cast<FileObject>(object)) {
    out->Reset(::fcntl(other->Fd(), F_DUPFD_CLOEXEC, 3));
    if (!*out) FailWithFileErrno({});
  } else {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  *out = AboveStandardStreams(std::move(*out));
  return static_cast<bool>(*out);
}

std::vector<std::string> EnvironmentFor(const ProcessOptions& options, bool* valid) {
  std::vector<std::string> entries;
  if (options.inheritEnvironment)
    for (char** entry = environ; entry && *entry; ++entry) entries.emplace_back(*entry);
  *valid = true;
  for (const std::string& extra : options.environment) {
    const size_t equals = extra.find('=', 1);
    if (equals == std::string::npos) {
      *valid = false;
      return {};
    }
    const std::string_view name(extra.data(), equals + 1);  // "NAME="
    std::erase_if(entries, [&](const std::string& entry) { return entry.starts_with(name); });
    entries.push_back(extra);
  }
  return entries;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  pointers.reserve(strings.size() + 1);
  for (auto& text : strings) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

DWORD SpawnError(int err, const std::string& program) {
  switch (err) {
    case ENOEXEC:
      return ERROR_BAD_EXE_FORMAT;
    case E2BIG:
      return ERROR_INVALID_PARAMETER;
    default:
      return FileErrorFromErrno(err, program);
  }
}

// The file to run for argv[0] of StartProcess.
std::optional<std::string> ResolveProgram(const std::string& name) {
  const std::string native = pictavo::path::ToNative(name);
  if (native.find('/') == std::string::npos) {
    if (auto found = FindProgram(native)) return found;
    return Failed<std::string>(ERROR_FILE_NOT_FOUND);
  }
  struct stat st;
  if (::stat(native.c_str(), &st) != 0) return Failed<std::string>(FileErrorFromErrno(errno, native));
  if (!S_ISREG(st.st_mode) || ::access(native.c_str(), X_OK) != 0)
    return Failed<std::string>(ERROR_ACCESS_DENIED);
  return native;
}

bool EndsWithExe(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return tail == ".exe";
}

// The file to run for a Windows program name (CreateProcess).
std::optional<std::string> ResolveWindowsProgram(const std::string& name) {
  if (auto found = ResolveProgram(name)) return found;
  const DWORD error = GetLastError();
  const std::string native = pictavo::path::ToNative(name);
  if (!EndsWithExe(native)) return Failed<std::string>(error);
  const std::string stem = native.substr(0, native.size() - 4);
  if (auto found = FindProgram(stem)) return found;
  const size_t slash = stem.rfind('/');
  if (slash != std::string::npos)
    if (auto found = FindProgram(std::string_view(stem).substr(slash + 1))) return found;
  return Failed<std::string>(error);
}

// posix_spawn's attribute objects, released on every path.
struct SpawnSetup {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  SpawnSetup() {
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;
};

}  // namespace

std::optional<PROCESS_INFORMATION> StartProcess(const std::vector<std::string>& argv,
                                                const ProcessOptions& options) {
  using Result = PROCESS_INFORMATION;
  if (argv.empty() || argv.front().empty()) return Failed<Result>(ERROR_INVALID_PARAMETER);
  IgnoreBrokenPipeSignal();
  auto program = ResolveProgram(argv.front());
  if (!program) return std::nullopt;

  std::string folder;
  if (!options.workingFolder.empty()) {
    folder = pictavo::path::ToNative(options.workingFolder);
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return Failed<Result>(ERROR_DIRECTORY);
  }

  std::vector<std::string> args;
  std::vector<std::string> pipeNames;
  args.reserve(argv.size());
  args.push_back(pictavo::path::ToNative(argv.front()));
  for (size_t i = 1; i < argv.size(); ++i)
    args.push_back(options.translatePipeNames ? TranslatePipeNames(argv[i], &pipeNames) : argv[i]);

  bool environmentValid;
  std::vector<std::string> environment = EnvironmentFor(options, &environmentValid);
  if (!environmentValid) return Failed<Result>(ERROR_INVALID_PARAMETER);

  FdOwner streams[3];
  const HANDLE handles[3] = {options.stdIn, options.stdOut, options.stdErr};
  for (int i = 0; i < 3; ++i)
    if (!StreamFor(handles[i], &streams[i])) return std::nullopt;

  SpawnSetup setup;
  for (int i = 0; i < 3; ++i) {
    if (streams[i])
      posix_spawn_file_actions_adddup2(&setup.actions, streams[i].Get(), i);
    else
      posix_spawn_file_actions_addopen(&setup.actions, i, "/dev/null", i == 0 ? O_RDONLY : O_WRONLY, 0);
  }
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&setup.actions, folder.c_str());
  // Descriptors that some library opened without close-on-exec must not reach the program.
  posix_spawn_file_actions_addclosefrom_np(&setup.actions, 3);
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&setup.attributes, &none);
  posix_spawnattr_setsigdefault(&setup.attributes, &all);  // we ignore SIGPIPE; programs expect it
  posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::vector<char*> argPointers = Pointers(args);
  std::vector<char*> environmentPointers = Pointers(environment);
  pid_t pid = 0;
  const int err = ::posix_spawn(&pid, program->c_str(), &setup.actions, &setup.attributes, argPointers.data(),
                                environmentPointers.data());
  if (err != 0) return Failed<Result>(SpawnError(err, *program));

  auto process = std::make_shared<Process>(pid);
  try {
    std::thread([process] { process->Reap(); }).detach();
  } catch (const std::system_error&) {
    // Without a reaper the process could not be waited for: it must not run unseen.
    ::kill(pid, SIGKILL);
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    return Failed<Result>(ERROR_NOT_ENOUGH_MEMORY);
  }
  for (const auto& name : pipeNames) AddPipePeer(name, process);

  PROCESS_INFORMATION information{};
  information.hProcess = InsertHandle(process);
  information.hThread = InsertHandle(process);
  information.dwProcessId = static_cast<DWORD>(pid);
  information.dwThreadId = static_cast<DWORD>(pid);  // the main thread's id is the process id
  SetLastError(ERROR_SUCCESS);
  return information;
}

}  // namespace pictavo::kernel

using namespace pictavo::kernel;

namespace {

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// Handles CreateProcess opens for redirections, closed when the call ends.
class RedirectionHandles {
 public:
  ~RedirectionHandles() {
    const DWORD error = GetLastError();
    for (HANDLE handle : m_handles) CloseHandle(handle);
    SetLastError(error);
  }
  HANDLE Add(std::shared_ptr<FileHandle> file) {
    return m_handles.emplace_back(InsertHandle(std::move(file)));
  }

 private:
  std::vector<HANDLE> m_handles;
};

bool IsNullDevice(const std::string& target) {
  if (target.size() != 3) return false;
  return (target[0] | 0x20) == 'n' && (target[1] | 0x20) == 'u' && (target[2] | 0x20) == 'l';
}

}  // namespace

BOOL CreateProcess(LPCSTR application, LPSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
                   DWORD flags, LPVOID environment, LPCSTR currentDirectory, LPSTARTUPINFO startup,
                   LPPROCESS_INFORMATION information) {
  if (!information || ((!application || !*application) && (!commandLine || !*commandLine)))
    return Fail(ERROR_INVALID_PARAMETER);
  if (flags & (CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT)) return Fail(ERROR_NOT_SUPPORTED);

  ParsedCommand parsed;
  if (commandLine && *commandLine) {
    if (!ParseCommandLine(commandLine, &parsed)) return FALSE;
  } else {
    parsed.argv = {application};
  }
  auto program = ResolveWindowsProgram(application && *application ? application : parsed.argv.front());
  if (!program) return FALSE;
  std::vector<std::string> argv = parsed.argv;
  argv.front() = *program;

  ProcessOptions options;
  if (currentDirectory) options.workingFolder = currentDirectory;
  if (startup && (startup->dwFlags & STARTF_USESTDHANDLES)) {
    options.stdIn = startup->hStdInput;
    options.stdOut = startup->hStdOutput;
    options.stdErr = startup->hStdError;
  } else {
    options.stdOut = GetStdHandle(STD_OUTPUT_HANDLE);
    options.stdErr = GetStdHandle(STD_ERROR_HANDLE);
  }
  if (environment) {
    options.inheritEnvironment = false;
    for (const char* entry = static_cast<const char*>(environment); *entry; entry += std::strlen(entry) + 1)
      options.environment.emplace_back(entry);
  }

  RedirectionHandles opened;
  std::vector<std::string> redirectedPipes;
  HANDLE* streams[3] = {&options.stdIn, &options.stdOut, &options.stdErr};
  for (const Redirection& redirection : parsed.redirections) {
    if (redirection.sameAs >= 0) {
      *streams[redirection.fd] = *streams[redirection.sameAs];
      continue;
    }
    if (IsNullDevice(redirection.target)) {
      *streams[redirection.fd] = nullptr;
      continue;
    }
    const bool input = redirection.fd == 0;
    const DWORD access = input ? GENERIC_READ : redirection.append ? FILE_APPEND_DATA : GENERIC_WRITE;
    const DWORD disposition = input ? OPEN_EXISTING : redirection.append ? OPEN_ALWAYS : CREATE_ALWAYS;
    auto file = OpenFileObject(redirection.target.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               disposition, FILE_ATTRIBUTE_NORMAL);
    if (!file) return FALSE;
    if (auto name = PipeNameFromPath(redirection.target)) redirectedPipes.push_back(*name);
    *streams[redirection.fd] = opened.Add(std::move(file));
  }

  auto started = StartProcess(argv, options);
  if (!started) return FALSE;
  if (auto process = FindObjectAs<PipePeer>(started->hProcess))
    for (const auto& name : redirectedPipes) AddPipePeer(name, process);
  *information = *started;
  return TRUE;
}

UINT WinExec(LPCSTR commandLine, UINT) {
  if (!commandLine) return 0;
  std::string line = commandLine;
  STARTUPINFO startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION information{};
  if (!CreateProcess(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &information)) {
    switch (GetLastError()) {
      case ERROR_FILE_NOT_FOUND:
        return ERROR_FILE_NOT_FOUND;
      case ERROR_PATH_NOT_FOUND:
        return ERROR_PATH_NOT_FOUND;
      case ERROR_BAD_EXE_FORMAT:
        return ERROR_BAD_FORMAT;
      default:
        return 0;
    }
  }
  CloseHandle(information.hThread);
  CloseHandle(information.hProcess);
  return 33;
}

BOOL GetExitCodeProcess(HANDLE handle, LPDWORD exitCode) {
  if (!exitCode) return Fail(ERROR_INVALID_PARAMETER);
  if (handle == CurrentProcessPseudoHandle()) {
    *exitCode = STILL_ACTIVE;
    return TRUE;
  }
  auto process = FindProcess(handle);
  if (!process) return FALSE;
  *exitCode = process->ExitCode();
  return TRUE;
}

BOOL TerminateProcess(HANDLE handle, UINT exitCode) {
  if (handle == CurrentProcessPseudoHandle()) ::_exit(static_cast<int>(exitCode));
  auto process = FindProcess(handle);
  if (!process) return FALSE;
  return process->Terminate(exitCode) ? TRUE : FALSE;
}

HANDLE GetCurrentProcess() {
  return CurrentProcessPseudoHandle();
}

DWORD GetProcessId(HANDLE handle) {
  if (handle == CurrentProcessPseudoHandle()) return static_cast<DWORD>(::getpid());
  auto process = FindProcess(handle);
  return process ? static_cast<DWORD>(process->Pid()) : 0;
}
