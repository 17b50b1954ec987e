// CRedirector: runs one console program at a time with its output read on a thread of its own.
//
// The program is started from an argument vector (never through a shell) with its standard
// output and error on pipes. The reader thread hands every line to the flavour (OnStdoutLine,
// OnStderrLine), keeps the last lines of the error output for the log, and once both streams
// have ended and the program has exited records the exit code and signals the end event.
// StopCmd kills the program, so a stop never waits for the program's good will.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "modules/encoders/OutputLines.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/WinTypes.h"
#include "platform/kernel/Process.h"

class CCmdOpts;

class CRedirector {
 public:
  // The exit code of a program that StopCmd ended.
  static constexpr DWORD kStoppedExitCode = ERROR_OPERATION_ABORTED;
  // How many lines of error output are kept.
  static constexpr size_t kKeptLines = 20;

  CRedirector();
  virtual ~CRedirector();
  CRedirector(const CRedirector&) = delete;
  CRedirector& operator=(const CRedirector&) = delete;

  // Starts a command: from a builder (the way to start a program: its arguments go over as they
  // are), from an argument vector, or from a command line split by the platform's rules (a line
  // with redirections fails with ERROR_NOT_SUPPORTED). The program is looked for as
  // pictavo::encoders::ResolveConsoleProgram says (the "gnu" folder beside the executable, then
  // PATH). The output is always read, whatever `nRedirect` says. FALSE with the last error set,
  // the error flag set and the reason in the error text when the program cannot be started, or
  // ERROR_BUSY while a command runs.
  BOOL Open(const CCmdOpts& opts, int nRedirect = 1);
  BOOL Open(const std::vector<std::string>& argv, int nRedirect = 1);
  BOOL Open(LPCSTR pszCommandLine, int nRedirect = 1);

  // 0 once the command has ended (or when none was started), non-zero while it runs after
  // `dwMilliseconds` (INFINITE waits for the end).
  int WaitForConsoleTerminate(DWORD dwMilliseconds);
  // Kills a running command and returns at once; its end follows promptly.
  void StopCmd();
  // Stops a command that still runs and waits for the reader to finish.
  virtual void Close();

  // Signalled (manual reset) while no command runs; usable with WaitForMultipleObjects.
  HANDLE GetEndEvent() const { return m_endEvent; }
  // The ended command's exit code; STILL_ACTIVE while it runs. FALSE when no command was started.
  BOOL GetExitCode(LPDWORD pdwExitCode) const;
  // The last lines of error output (of standard output too, when the flavour does not read it).
  std::vector<std::string> GetLastLines() const;
  // The command line of the last Open, for the log.
  std::string GetCommandLineText() const;

  // Read directly by the program, from any thread.
  std::atomic<BOOL> m_bRunning{FALSE};
  std::atomic<BOOL> m_bUserCancel{FALSE};  // set by the program before StopCmd; cleared by Open
  // Set when the command failed: it could not start, or it ended with a non-zero exit code
  // without being stopped. m_pszError then says why (the program's last error line, or its exit
  // status); it stays valid until the next Open.
  std::atomic<BOOL> m_bError{FALSE};
  LPCSTR m_pszError = "";

 protected:
  // The flavour's changes to the arguments just before the start.
  virtual void PrepareArguments(std::vector<std::string>& argv) {}
  // Reader thread: one line of each stream. By default both are kept for the log.
  virtual void OnStdoutLine(std::string_view line);
  virtual void OnStderrLine(std::string_view line);
  // Reader thread: the command ended with `exitCode`, before the end event is signalled.
  virtual void OnEnded(DWORD exitCode) {}
  // Keeps a line for GetLastLines (any thread).
  void KeepLine(std::string_view line);
  // A derived class calls this from its destructor, so the reader thread never calls into a
  // half-destroyed object.
  void Shutdown();

 private:
  void ReadOutput(int outFd, int errFd);
  void Finish(DWORD exitCode, bool stopped);
  void SetErrorText(std::string text);

  mutable std::mutex m_lock;
  HANDLE m_process = nullptr;                      // guarded by m_lock
  bool m_stopped = false;                          // guarded by m_lock
  DWORD m_exitCode = STILL_ACTIVE;                 // guarded by m_lock
  bool m_started = false;                          // guarded by m_lock
  pictavo::encoders::LineTail m_tail{kKeptLines};  // guarded by m_lock
  std::string m_commandLine;                       // guarded by m_lock
  std::string m_errorText;  // written before m_bError is set, by the thread that sets it
  HANDLE m_endEvent = nullptr;
  std::thread m_reader;  // started by Open, joined by Open/Close on the owner's thread
};
