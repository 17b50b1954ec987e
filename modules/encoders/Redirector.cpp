#include "modules/encoders/Redirector.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "modules/encoders/CmdOpts.h"
#include "modules/encoders/ProgramPath.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/FileHandle.h"
#include "platform/kernel/KernelObject.h"
#include "platform/kernel/Process.h"
#include "platform/kernel/ProcessCommandLine.h"
#include "platform/kernel/Wait.h"

using pictavo::kernel::FdOwner;

namespace {

// How often the reader looks whether the program has exited while its pipes stay open (a
// descendant may hold them); normally the pipes' end tells first.
constexpr int kExitCheckMs = 100;

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

std::string StartFailure(const std::string& program, DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return program + ": program not found";
    case ERROR_ACCESS_DENIED:
      return program + ": not allowed to run";
    default:
      return program + ": cannot start (error " + std::to_string(error) + ")";
  }
}

std::string ExitDescription(DWORD code) {
  if ((code & 0xC0000000u) == 0xC0000000u) return "ended by signal " + std::to_string(code & 0xFFu);
  return "exit status " + std::to_string(code);
}

// A pipe whose write end becomes a handle for a started program's stream.
struct OutputPipe {
  FdOwner readEnd;
  HANDLE writeEnd = nullptr;

  [[nodiscard]] bool Create() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return pictavo::FailWithErrno();
    readEnd.Reset(fds[0]);
    writeEnd =
        pictavo::kernel::InsertHandle(std::make_shared<pictavo::kernel::FileHandle>(fds[1], false, true));
    return true;
  }
  void CloseWriteEnd() {
    if (writeEnd) CloseHandle(writeEnd);
    writeEnd = nullptr;
  }
  ~OutputPipe() { CloseWriteEnd(); }
};

}  // namespace

CRedirector::CRedirector() : m_endEvent(CreateEvent(nullptr, TRUE, TRUE, nullptr)) {}

CRedirector::~CRedirector() {
  Shutdown();
  if (m_endEvent) CloseHandle(m_endEvent);
}

BOOL CRedirector::Open(const CCmdOpts& opts, int nRedirect) {
  return Open(opts.GetArguments(), nRedirect);
}

BOOL CRedirector::Open(LPCSTR pszCommandLine, int nRedirect) {
  if (m_bRunning) return Fail(ERROR_BUSY);
  pictavo::kernel::ParsedCommand parsed;
  if (!pictavo::kernel::ParseCommandLine(pszCommandLine ? pszCommandLine : "", &parsed)) {
    const DWORD error = GetLastError();
    SetErrorText("the command line cannot be run");
    return Fail(error);
  }
  if (!parsed.redirections.empty()) {
    SetErrorText("redirections in a command line are not supported");
    return Fail(ERROR_NOT_SUPPORTED);
  }
  return Open(parsed.argv, nRedirect);
}

BOOL CRedirector::Open(const std::vector<std::string>& argvIn, int) {
  if (m_bRunning) return Fail(ERROR_BUSY);
  if (m_reader.joinable()) m_reader.join();
  {
    std::lock_guard lock(m_lock);
    if (m_process) CloseHandle(m_process);
    m_process = nullptr;
    m_started = false;
    m_stopped = false;
    m_exitCode = STILL_ACTIVE;
    m_tail.Clear();
    m_commandLine.clear();
  }
  m_bError = FALSE;
  m_pszError = "";
  m_errorText.clear();
  m_bUserCancel = FALSE;

  std::vector<std::string> argv = argvIn;
  if (argv.empty() || argv.front().empty()) {
    SetErrorText("no program to run");
    return Fail(ERROR_INVALID_PARAMETER);
  }
  // Console programs are looked for in the "gnu" folder beside the executable, then along PATH.
  argv.front() =
      pictavo::encoders::ResolveConsoleProgram(argv.front(), pictavo::encoders::HelperProgramFolder());
  PrepareArguments(argv);
  {
    std::lock_guard lock(m_lock);
    m_commandLine = pictavo::kernel::JoinCommandLine(argv);
  }

  OutputPipe out, err;
  if (!out.Create() || !err.Create()) {
    const DWORD error = GetLastError();
    SetErrorText("cannot make the output pipes");
    return Fail(error);
  }
  pictavo::kernel::ProcessOptions options;
  options.stdOut = out.writeEnd;
  options.stdErr = err.writeEnd;
  auto started = pictavo::kernel::StartProcess(argv, options);
  const DWORD startError = GetLastError();
  // Only the program keeps the write ends, so its exit ends the streams.
  out.CloseWriteEnd();
  err.CloseWriteEnd();
  if (!started) {
    SetErrorText(StartFailure(argv.front(), startError));
    return Fail(startError);
  }
  CloseHandle(started->hThread);
  {
    std::lock_guard lock(m_lock);
    m_process = started->hProcess;
    m_started = true;
  }
  ResetEvent(m_endEvent);
  m_bRunning = TRUE;
  try {
    m_reader = std::thread(&CRedirector::ReadOutput, this, out.readEnd.Release(), err.readEnd.Release());
  } catch (const std::system_error&) {
    // Nobody could watch the program: it must not run on unseen.
    TerminateProcess(started->hProcess, kStoppedExitCode);
    WaitForSingleObject(started->hProcess, INFINITE);
    Finish(kStoppedExitCode, true);
    SetErrorText("cannot start the output reader");
    return Fail(ERROR_NOT_ENOUGH_MEMORY);
  }
  return TRUE;
}

void CRedirector::ReadOutput(int outFd, int errFd) {
  FdOwner out(outFd), err(errFd);
  HANDLE process;
  {
    std::lock_guard lock(m_lock);
    process = m_process;
  }
  pictavo::encoders::LineSplitter outLines, errLines;
  const pictavo::encoders::LineSplitter::Sink outSink = [this](std::string_view line) { OnStdoutLine(line); };
  const pictavo::encoders::LineSplitter::Sink errSink = [this](std::string_view line) { OnStderrLine(line); };

  pollfd fds[2] = {{out.Get(), POLLIN, 0}, {err.Get(), POLLIN, 0}};
  int open = 2;
  bool exited = false;
  char buffer[16384];
  while (open > 0) {
    const int ready = ::poll(fds, 2, exited ? 0 : kExitCheckMs);
    if (ready < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (ready == 0) {
      if (exited) break;  // the program is gone; what still holds the pipes is not ours to wait for
      exited = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
      continue;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        (i == 0 ? outLines : errLines).Feed({buffer, static_cast<size_t>(n)}, i == 0 ? outSink : errSink);
      } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
        fds[i].fd = -1;
        --open;
      }
    }
  }
  outLines.Finish(outSink);
  errLines.Finish(errSink);

  WaitForSingleObject(process, INFINITE);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process, &code);
  bool stopped;
  {
    std::lock_guard lock(m_lock);
    stopped = m_stopped;
  }
  Finish(code, stopped);
}

void CRedirector::Finish(DWORD exitCode, bool stopped) {
  std::string lastLine;
  {
    std::lock_guard lock(m_lock);
    m_exitCode = exitCode;
    lastLine = m_tail.Last();
  }
  if (exitCode != 0 && !stopped) {
    SetErrorText(lastLine.empty() ? ExitDescription(exitCode) : lastLine);
  }
  OnEnded(exitCode);
  m_bRunning = FALSE;
  SetEvent(m_endEvent);
}

void CRedirector::SetErrorText(std::string text) {
  m_errorText = std::move(text);
  m_pszError = m_errorText.c_str();
  m_bError = TRUE;
}

int CRedirector::WaitForConsoleTerminate(DWORD dwMilliseconds) {
  return WaitForSingleObject(m_endEvent, dwMilliseconds) == WAIT_OBJECT_0 ? 0 : 1;
}

void CRedirector::StopCmd() {
  std::lock_guard lock(m_lock);
  if (m_process && m_bRunning && !m_stopped && TerminateProcess(m_process, kStoppedExitCode))
    m_stopped = true;
}

void CRedirector::Close() {
  Shutdown();
}

void CRedirector::Shutdown() {
  if (m_bRunning) StopCmd();
  if (m_reader.joinable()) {
    if (m_reader.get_id() == std::this_thread::get_id()) return;  // called from a line callback
    m_reader.join();
  }
  std::lock_guard lock(m_lock);
  if (m_process) CloseHandle(m_process);
  m_process = nullptr;
}

BOOL CRedirector::GetExitCode(LPDWORD pdwExitCode) const {
  std::lock_guard lock(m_lock);
  if (!m_started || !pdwExitCode) return Fail(ERROR_INVALID_FUNCTION);
  *pdwExitCode = m_exitCode;
  return TRUE;
}

std::vector<std::string> CRedirector::GetLastLines() const {
  std::lock_guard lock(m_lock);
  return m_tail.Lines();
}

std::string CRedirector::GetCommandLineText() const {
  std::lock_guard lock(m_lock);
  return m_commandLine;
}

void CRedirector::KeepLine(std::string_view line) {
  std::lock_guard lock(m_lock);
  m_tail.Add(line);
}

void CRedirector::OnStdoutLine(std::string_view line) {
  KeepLine(line);
}

void CRedirector::OnStderrLine(std::string_view line) {
  KeepLine(line);
}
