#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileHandle.h"
#include "platform/kernel/FileIo.h"
#include "platform/kernel/Pipe.h"
#include "platform/kernel/Process.h"
#include "platform/kernel/ProcessCommandLine.h"
#include "platform/kernel/ProcessLookup.h"
#include "platform/kernel/Wait.h"
#include "tests/platform/kernel/FileTestSupport.h"

namespace {

using pictavo::kernel::ExitCodeForSignal;
using pictavo::kernel::ProcessOptions;
using pictavo::kernel::StartProcess;
using Args = std::vector<std::string>;

constexpr DWORD kHangGuardMs = 20000;

struct Outcome {
  bool started = false;
  DWORD error = 0;
  DWORD exitCode = 0;
  std::string output;
};

DWORD WaitAndClose(const PROCESS_INFORMATION& information) {
  EXPECT_EQ(WaitForSingleObject(information.hProcess, kHangGuardMs), WAIT_OBJECT_0);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeProcess(information.hProcess, &code));
  CloseHandle(information.hThread);
  CloseHandle(information.hProcess);
  return code;
}

// Runs a program with its output going into a pipe we read, as the console runner does.
Outcome RunCaptured(const Args& argv, ProcessOptions options = {}) {
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  EXPECT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
  options.stdOut = writeEnd;
  auto information = StartProcess(argv, options);
  Outcome outcome;
  outcome.error = GetLastError();
  CloseHandle(writeEnd);  // the child holds its own copy
  if (information) {
    outcome.started = true;
    outcome.output = ReadToEnd(readEnd);
    outcome.exitCode = WaitAndClose(*information);
  }
  CloseHandle(readEnd);
  return outcome;
}

std::string Lines(const Args& args) {
  std::string out;
  for (const auto& arg : args) out += arg + "\n";
  return out;
}

const Args kAwkwardArguments = {"two words",
                                R"(say "hi")",
                                "a&b",
                                "x|y",
                                "$HOME",
                                "`id`",
                                "; rm -rf /",
                                "*.jpg",
                                "Grüße Ωmega ñ 写真",
                                "",
                                R"(back\slash)",
                                R"(trailing\)",
                                "tab\there",
                                "100%",
                                "'single'",
                                "--",
                                "-n"};

}  // namespace

TEST(Process, ArgumentsReachTheProgramIntact) {
  ScratchDir folder;
  const std::string outPath = folder / "args.txt";
  HANDLE out = CreateFile(outPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(out, INVALID_HANDLE_VALUE);
  Args argv = {"printf", "%s\\n"};
  argv.insert(argv.end(), kAwkwardArguments.begin(), kAwkwardArguments.end());
  ProcessOptions options;
  options.stdOut = out;
  auto information = StartProcess(argv, options);
  CloseHandle(out);
  ASSERT_TRUE(information) << GetLastError();
  EXPECT_EQ(WaitAndClose(*information), 0u);
  EXPECT_EQ(ReadWholeFile(outPath), Lines(kAwkwardArguments));
}

TEST(Process, CommandLineJoinedForCreateProcessArrivesAsTheSameArguments) {
  ScratchDir folder;
  const std::string outPath = folder / "args.txt";
  HANDLE out =
      CreateFile(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
  Args argv = {"printf", "%s\\n"};
  argv.insert(argv.end(), kAwkwardArguments.begin(), kAwkwardArguments.end());
  std::string line = pictavo::kernel::JoinCommandLine(argv);
  STARTUPINFO startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  PROCESS_INFORMATION information{};
  ASSERT_TRUE(CreateProcess(nullptr, line.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
                            nullptr, &startup, &information))
      << GetLastError();
  CloseHandle(out);
  EXPECT_EQ(WaitAndClose(information), 0u);
  EXPECT_EQ(ReadWholeFile(outPath), Lines(kAwkwardArguments));
}

TEST(Process, ExitCodesTellHowTheProgramEnded) {
  struct Case {
    const char* script;
    DWORD exitCode;
  };
  const Case cases[] = {
      {"exit 0", 0},
      {"exit 3", 3},
      {"exit 255", 255},
      {"kill -TERM $$", ExitCodeForSignal(SIGTERM)},
      {"kill -KILL $$", ExitCodeForSignal(SIGKILL)},
  };
  for (const auto& c : cases) {
    const Outcome outcome = RunCaptured({"sh", "-c", c.script});
    ASSERT_TRUE(outcome.started) << c.script;
    EXPECT_EQ(outcome.exitCode, c.exitCode) << c.script;
  }
  EXPECT_NE(ExitCodeForSignal(SIGKILL), static_cast<DWORD>(STILL_ACTIVE));
}

TEST(Process, TerminateEndsARunningProcessWithTheGivenCode) {
  HANDLE stdinRead = nullptr, stdinWrite = nullptr;
  ASSERT_TRUE(CreatePipe(&stdinRead, &stdinWrite, nullptr, 0));
  ProcessOptions options;
  options.stdIn = stdinRead;  // cat waits on it for ever
  auto information = StartProcess({"cat"}, options);
  ASSERT_TRUE(information);
  CloseHandle(stdinRead);
  EXPECT_NE(information->dwProcessId, 0u);
  EXPECT_EQ(GetProcessId(information->hProcess), information->dwProcessId);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeProcess(information->hProcess, &code));
  EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(WaitForSingleObject(information->hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));

  EXPECT_TRUE(TerminateProcess(information->hProcess, 42));
  EXPECT_EQ(WaitForSingleObject(information->hThread, kHangGuardMs), WAIT_OBJECT_0);  // the thread handle too
  EXPECT_TRUE(GetExitCodeProcess(information->hProcess, &code));
  EXPECT_EQ(code, 42u);
  EXPECT_FALSE(TerminateProcess(information->hProcess, 1));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  // Collected already: no zombie is left for anyone.
  const pid_t pid = static_cast<pid_t>(information->dwProcessId);
  EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
  CloseHandle(information->hThread);
  CloseHandle(information->hProcess);
  CloseHandle(stdinWrite);
}

TEST(Process, OnlyTheStandardStreamsReachTheProgram) {
  // A descriptor some library left without close-on-exec.
  const int opened = open("/dev/null", O_RDONLY);
  const int leaked = fcntl(opened, F_DUPFD, 100);
  close(opened);
  ASSERT_GE(leaked, 100);
  const Outcome outcome = RunCaptured({"ls", "/proc/self/fd"});
  close(leaked);
  ASSERT_TRUE(outcome.started);
  std::istringstream lines(outcome.output);
  std::vector<std::string> fds;
  for (std::string fd; std::getline(lines, fd);) fds.push_back(fd);
  // 0 to 2, and the folder ls itself reads.
  EXPECT_EQ(fds, (std::vector<std::string>{"0", "1", "2", "3"}));
}

TEST(Process, SignalsStartAtTheirDefaults) {
  const Outcome outcome = RunCaptured({"grep", "-E", "^Sig(Blk|Ign)", "/proc/self/status"});
  unsigned long long blocked = ~0ull, ignored = ~0ull;
  ASSERT_EQ(sscanf(outcome.output.c_str(), "SigBlk:\t%llx\nSigIgn:\t%llx", &blocked, &ignored), 2)
      << outcome.output;
  EXPECT_EQ(blocked, 0u);
  // None of the standard signals (SIGPIPE, which we ignore, above all); the C library keeps the
  // two real-time signals it uses internally to itself.
  EXPECT_EQ(ignored & 0x7FFFFFFFull, 0u) << std::hex << ignored;
}

TEST(Process, WorkingFolderEnvironmentAndInput) {
  ScratchDir folder;
  ProcessOptions inFolder;
  inFolder.workingFolder = folder.Path() + "\\";
  EXPECT_EQ(RunCaptured({"pwd", "-P"}, inFolder).output,
            std::filesystem::canonical(folder.Path()).string() + "\n");

  ProcessOptions withVariable;
  withVariable.environment = {"PICTAVO_PROBE=a b=c"};
  EXPECT_EQ(RunCaptured({"sh", "-c", R"(printf %s "$PICTAVO_PROBE")"}, withVariable).output, "a b=c");
  ProcessOptions onlyOne;
  onlyOne.inheritEnvironment = false;
  onlyOne.environment = {"ONLY=1"};
  EXPECT_EQ(RunCaptured({"/usr/bin/env"}, onlyOne).output, "ONLY=1\n");

  WriteWholeFile(folder / "input.txt", "from a file\n");
  HANDLE input = CreateFile((folder / "input.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ProcessOptions fromFile;
  fromFile.stdIn = input;
  EXPECT_EQ(RunCaptured({"cat"}, fromFile).output, "from a file\n");
  CloseHandle(input);
  // Standard input defaults to the null device: cat ends at once.
  EXPECT_EQ(RunCaptured({"cat"}).output, "");
}

TEST(Process, ProgramsThatCannotStartReportWhy) {
  ScratchDir folder;
  WriteWholeFile(folder / "not-executable", "#!/bin/sh\n");
  struct Case {
    Args argv;
    ProcessOptions options;
    DWORD error;
  };
  ProcessOptions missingFolder;
  missingFolder.workingFolder = folder / "gone";
  ProcessOptions badEnvironment;
  badEnvironment.environment = {"NO_EQUALS_SIGN"};
  ProcessOptions badHandle;
  badHandle.stdOut = reinterpret_cast<HANDLE>(static_cast<intptr_t>(0x7ffffff0));
  const Case cases[] = {
      {{"pictavo-no-such-program"}, {}, ERROR_FILE_NOT_FOUND},
      {{folder / "missing"}, {}, ERROR_FILE_NOT_FOUND},
      {{folder / "no-folder/prog"}, {}, ERROR_PATH_NOT_FOUND},
      {{folder / "not-executable"}, {}, ERROR_ACCESS_DENIED},
      {{folder.Path()}, {}, ERROR_ACCESS_DENIED},
      {{""}, {}, ERROR_INVALID_PARAMETER},
      {{"true"}, missingFolder, ERROR_DIRECTORY},
      {{"true"}, badEnvironment, ERROR_INVALID_PARAMETER},
      {{"true"}, badHandle, ERROR_INVALID_HANDLE},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(StartProcess(c.argv, c.options)) << c.argv.front();
    EXPECT_EQ(GetLastError(), c.error) << c.argv.front();
  }
}

TEST(Process, InterpreterLinesRunWithoutAShell) {
  ScratchDir folder;
  const std::string log = folder / "log.txt";
  struct Case {
    std::string line;
    std::string logAfter;
  };
  // A Windows program path is found by its bare name when the folder does not hold it.
  const std::string program = R"("C:\Program Files\Pictavo\gnu\printf.exe")";
  const Case cases[] = {
      {"cmd.exe /c \"" + program + " \"%s|\" \"a b\" \"$HOME\" > \"" + log + "\"\"", "a b|$HOME|"},
      {"cmd.exe /c \"" + program + " more >> \"" + log + "\"\"", "a b|$HOME|more"},
      {"cmd.exe /c \"sh -c \"echo oops >&2\" > \"" + log + "\" 2>&1\"", "oops\n"},
      {"cmd.exe /c \"sh -c \"echo quiet\" > NUL\"", "oops\n"},
  };
  for (const auto& c : cases) {
    std::string line = c.line;
    PROCESS_INFORMATION information{};
    ASSERT_TRUE(CreateProcess(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                              &information))
        << c.line << " error " << GetLastError();
    EXPECT_EQ(WaitAndClose(information), 0u) << c.line;
    EXPECT_EQ(ReadWholeFile(log), c.logAfter) << c.line;
  }
  std::string chained = "cmd.exe /c printf a & printf b";
  PROCESS_INFORMATION information{};
  EXPECT_FALSE(CreateProcess(nullptr, chained.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                             &information));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
  std::string missing = "cleanmgr.exe /r";
  EXPECT_FALSE(CreateProcess(nullptr, missing.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
                             nullptr, nullptr, &information));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(Process, CreateProcessTakesAnEnvironmentBlockAndAFolder) {
  ScratchDir folder;
  const std::string out = folder / "env.txt";
  std::string line = "cmd.exe /c \"/usr/bin/env > \"" + out + "\"\"";
  const char block[] = "FIRST=1\0SECOND=two words\0";
  PROCESS_INFORMATION information{};
  ASSERT_TRUE(CreateProcess(nullptr, line.data(), nullptr, nullptr, FALSE, 0, const_cast<char*>(block),
                            folder.Path().c_str(), nullptr, &information));
  EXPECT_EQ(WaitAndClose(information), 0u);
  EXPECT_EQ(ReadWholeFile(out), "FIRST=1\nSECOND=two words\n");
  std::string suspended = "true";
  EXPECT_FALSE(CreateProcess(nullptr, suspended.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                             nullptr, nullptr, &information));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

TEST(Process, WinExecStartsWithoutWaiting) {
  EXPECT_GT(WinExec("true", 1), 31u);
  EXPECT_EQ(WinExec("pictavo-no-such-program --help", 1), static_cast<UINT>(ERROR_FILE_NOT_FOUND));
}

TEST(Process, CurrentProcessPseudoHandle) {
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeProcess(GetCurrentProcess(), &code));
  EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(GetProcessId(GetCurrentProcess()), static_cast<DWORD>(getpid()));
  EXPECT_FALSE(GetExitCodeProcess(reinterpret_cast<HANDLE>(static_cast<intptr_t>(0x7ffffff0)), &code));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(ProgramLookup, FindsProgramsInGivenFoldersThenAlongThePath) {
  ScratchDir folder;
  const std::string own = folder / "ffmpeg";
  WriteWholeFile(own, "#!/bin/sh\n");
  chmod(own.c_str(), 0755);
  WriteWholeFile(folder / "data-only", "x");
  EXPECT_EQ(pictavo::kernel::FindProgram("ffmpeg", {folder.Path()}), own);
  const auto shell = pictavo::kernel::FindProgram("sh");
  ASSERT_TRUE(shell);
  EXPECT_EQ(shell->front(), '/');
  EXPECT_TRUE(shell->ends_with("/sh"));
  EXPECT_EQ(pictavo::kernel::FindProgram("data-only", {folder.Path()}), std::nullopt);
  EXPECT_EQ(pictavo::kernel::FindProgram("pictavo-no-such-program"), std::nullopt);
  EXPECT_EQ(pictavo::kernel::FindProgram(own), own);
}

TEST(ProgramLookup, SearchPathFollowsThePlatformsRules) {
  ScratchDir folder;
  std::filesystem::create_directory(folder / "second");
  WriteWholeFile(folder / "second/tool.exe", "x");
  const std::string list = folder / "first" + ";" + (folder / "second");
  char buffer[MAX_PATH];
  char* filePart = nullptr;
  const DWORD length = SearchPath(list.c_str(), "tool", ".exe", MAX_PATH, buffer, &filePart);
  EXPECT_EQ(std::string(buffer, length), folder / "second/tool.exe");
  EXPECT_STREQ(filePart, "tool.exe");
  // Too small: the size needed, the terminating zero included, and nothing written.
  char small[4] = "abc";
  EXPECT_EQ(SearchPath(list.c_str(), "tool.exe", nullptr, sizeof small, small, nullptr), length + 1);
  EXPECT_STREQ(small, "abc");
  EXPECT_EQ(SearchPath(list.c_str(), "absent.exe", nullptr, MAX_PATH, buffer, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_GT(SearchPath(nullptr, "sh", nullptr, MAX_PATH, buffer, nullptr), 0u);  // along PATH
}
