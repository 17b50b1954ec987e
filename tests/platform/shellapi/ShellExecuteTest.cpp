// Opening through the desktop's opener: a fake `xdg-open` early on PATH writes the arguments it
// gets into a FIFO the test reads, so the test sees exactly what the opener received.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Process.h"
#include "platform/kernel/Wait.h"
#include "platform/shellapi/Shell.h"
#include "tests/platform/shellapi/ShellFixture.h"

namespace {

constexpr int kGuardMs = 10000;  // a hang guard, never reached when things work

class Opening : public shell_test::TempHome {
 protected:
  void SetUp() override {
    TempHome::SetUp();
    const char* path = getenv("PATH");
    m_savedPath = path ? path : "";
    m_fifo = Root() + "/arguments";
    ASSERT_EQ(mkfifo(m_fifo.c_str(), 0600), 0);
    m_bin = Folder("bin", /*outside*/ true);
    Script(m_bin + "/xdg-open");
    setenv("PATH", (m_bin + ":" + m_savedPath).c_str(), 1);
    // Opened before anything writes, without blocking; poll tells when the writer is done.
    m_reader = open(m_fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(m_reader, 0);
  }
  void TearDown() override {
    if (m_reader >= 0) close(m_reader);
    setenv("PATH", m_savedPath.c_str(), 1);
    TempHome::TearDown();
  }

  // An executable script that writes its arguments, NUL-separated, into the FIFO.
  void Script(const std::string& path) {
    const std::string text = "#!/bin/sh\nprintf '%s\\000' \"$@\" > '" + m_fifo + "'\n";
    File(path.substr(Root().size() + 1), text, /*outside*/ true);
    chmod(path.c_str(), 0755);
  }

  // The arguments one run of a script wrote.
  std::vector<std::string> Arguments() {
    std::string bytes;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kGuardMs);
    for (;;) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd wait{m_reader, POLLIN, 0};
      if (left.count() <= 0 || poll(&wait, 1, static_cast<int>(left.count())) <= 0) {
        ADD_FAILURE() << "nothing was started";
        return {};
      }
      char chunk[4096];
      const ssize_t got = read(m_reader, chunk, sizeof chunk);
      if (got > 0) {
        bytes.append(chunk, got);
        continue;
      }
      if (got == 0) break;  // the writer closed
    }
    // Ready for the next run: a new writer opens the FIFO afresh.
    close(m_reader);
    m_reader = open(m_fifo.c_str(), O_RDONLY | O_NONBLOCK);
    std::vector<std::string> args;
    for (size_t at = 0; at < bytes.size();) {
      const size_t end = bytes.find('\0', at);
      args.push_back(bytes.substr(at, end - at));
      at = end + 1;
    }
    return args;
  }

  std::string m_bin;
  std::string m_fifo;
  std::string m_savedPath;
  int m_reader = -1;
};

INT_PTR Code(HINSTANCE result) {
  return reinterpret_cast<INT_PTR>(result);
}

TEST_F(Opening, TheOpenerGetsTheTargetAsOneArgument) {
  const std::string folder = Folder("Album \"Best\" of 2009");
  const std::string photo = File("It's a \"photo\" $HOME; `x`.jpg");
  chmod(photo.c_str(), 0755);  // the execute bit alone does not make a document a program
  const std::string url = "http://example.com/page?a=1&b=\"two words\"";
  struct Case {
    const char* verb;
    std::string file;
    const char* directory;
    std::string received;
  };
  const Case cases[] = {
      {"open", folder, nullptr, folder},
      {nullptr, photo, nullptr, photo},
      {"open", url, nullptr, url},
      {"explore", folder, nullptr, folder},
      {"", "It's a \"photo\" $HOME; `x`.jpg", Home().c_str(), photo},
  };
  for (const Case& c : cases) {
    EXPECT_GT(
        Code(ShellExecute(nullptr, c.verb, c.file.c_str(), "ignored parameters", c.directory, SW_SHOWNORMAL)),
        32)
        << c.file;
    EXPECT_EQ(Arguments(), std::vector<std::string>{c.received}) << c.file;
  }
}

TEST_F(Opening, ProgramsRunWithTheirParameters) {
  Script(Root() + "/tools/tool");
  EXPECT_GT(Code(ShellExecute(nullptr, nullptr, (Root() + "/tools/tool").c_str(), "\"first arg\" second",
                              nullptr, SW_SHOWNORMAL)),
            32);
  EXPECT_EQ(Arguments(), (std::vector<std::string>{"first arg", "second"}));
  // A bare name is found along PATH, with or without ".exe".
  Script(m_bin + "/volume-control");
  EXPECT_GT(Code(ShellExecute(nullptr, "open", "volume-control.exe", "-x", nullptr, SW_SHOWNORMAL)), 32);
  EXPECT_EQ(Arguments(), std::vector<std::string>{"-x"});
}

TEST_F(Opening, ShellExecuteExGivesTheProcessAndTakesIdLists) {
  const std::string photo = File("beach.jpg");
  LPITEMIDLIST pidl = ILCreateFromPath(photo.c_str());
  SHELLEXECUTEINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_IDLIST | SEE_MASK_NOCLOSEPROCESS;
  info.lpIDList = pidl;
  info.nShow = SW_SHOW;
  ASSERT_TRUE(ShellExecuteEx(&info));
  EXPECT_GT(Code(info.hInstApp), 32);
  EXPECT_EQ(Arguments(), std::vector<std::string>{photo});
  ASSERT_NE(info.hProcess, nullptr);
  EXPECT_EQ(WaitForSingleObject(info.hProcess, kGuardMs), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  CloseHandle(info.hProcess);
  ILFree(pidl);

  SHELLEXECUTEINFO wrongSize{};
  wrongSize.cbSize = 12;
  EXPECT_FALSE(ShellExecuteEx(&wrongSize));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(Opening, WhatCannotBeOpenedFailsHarmlessly) {
  const std::string photo = File("beach.jpg");
  struct Case {
    const char* verb;
    std::string file;
    INT_PTR code;
    DWORD error;
  };
  const Case cases[] = {
      {"open", Home() + "/missing.jpg", SE_ERR_FNF, ERROR_FILE_NOT_FOUND},
      {"open", Home() + "/no/folder/missing.jpg", SE_ERR_PNF, ERROR_PATH_NOT_FOUND},
      {"open", "no-such-program.exe", SE_ERR_FNF, ERROR_FILE_NOT_FOUND},
      {"properties", photo, SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION},
      {"print", photo, SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION},
      {"open", "", SE_ERR_FNF, ERROR_FILE_NOT_FOUND},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_EQ(Code(ShellExecute(nullptr, c.verb, c.file.c_str(), nullptr, nullptr, SW_SHOWNORMAL)), c.code)
        << c.file;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(c.error)) << c.file;
  }
  // Without an opener installed nothing can open a document or a link.
  setenv("PATH", (Root() + "/empty").c_str(), 1);
  EXPECT_EQ(Code(ShellExecute(nullptr, "open", photo.c_str(), nullptr, nullptr, SW_SHOWNORMAL)),
            SE_ERR_NOASSOC);
  EXPECT_EQ(Code(ShellExecute(nullptr, "open", "https://example.com/", nullptr, nullptr, SW_SHOWNORMAL)),
            SE_ERR_NOASSOC);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_ASSOCIATION));
}

}  // namespace
