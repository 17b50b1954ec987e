// Named pipes used by other programs, the way the video and disc outputs use them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileIo.h"
#include "platform/kernel/Pipe.h"
#include "platform/kernel/PipeNames.h"
#include "platform/kernel/Process.h"
#include "platform/kernel/Wait.h"
#include "tests/platform/kernel/FileTestSupport.h"

namespace {

using pictavo::kernel::ProcessOptions;
using pictavo::kernel::StartProcess;

constexpr auto kHangGuard = std::chrono::seconds(20);
constexpr DWORD kHangGuardMs = 20000;

HANDLE MakePipe(const char* name, DWORD access) {
  return CreateNamedPipe(name, access, PIPE_TYPE_BYTE | PIPE_WAIT, PIPE_UNLIMITED_INSTANCES, 8192, 8192, 0,
                         nullptr);
}

// A program that keeps running until its standard input closes, holding `pipeName` among its
// arguments without ever opening it.
struct IdlePeer {
  HANDLE input = nullptr;
  PROCESS_INFORMATION information{};

  explicit IdlePeer(const char* pipeName) {
    HANDLE readEnd = nullptr;
    EXPECT_TRUE(CreatePipe(&readEnd, &input, nullptr, 0));
    ProcessOptions options;
    options.stdIn = readEnd;
    auto started = StartProcess({"sh", "-c", "read line", "sh", pipeName}, options);
    EXPECT_TRUE(started);
    if (started) information = *started;
    CloseHandle(readEnd);
  }
  ~IdlePeer() {
    CloseHandle(input);
    WaitForSingleObject(information.hProcess, kHangGuardMs);
    CloseHandle(information.hThread);
    CloseHandle(information.hProcess);
  }
};

}  // namespace

TEST(PipeWithProcess, ConnectGivesUpWhenThePeerProcessEndsWithoutOpening) {
  for (DWORD access : {PIPE_ACCESS_OUTBOUND, PIPE_ACCESS_INBOUND, PIPE_ACCESS_DUPLEX}) {
    SCOPED_TRACE(access);
    {  // the peer is gone before the connection is asked for
      HANDLE pipe = MakePipe(R"(\\.\pipe\peer_gone)", access);
      auto peer = StartProcess({"true", R"(\\.\pipe\peer_gone)"});
      ASSERT_TRUE(peer);
      EXPECT_EQ(WaitForSingleObject(peer->hProcess, kHangGuardMs), WAIT_OBJECT_0);
      EXPECT_FALSE(ConnectNamedPipe(pipe, nullptr));
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BROKEN_PIPE));
      CloseHandle(peer->hThread);
      CloseHandle(peer->hProcess);
      CloseHandle(pipe);
    }
    {  // the peer dies while the connection waits for it
      HANDLE pipe = MakePipe(R"(\\.\pipe\peer_dies)", access);
      IdlePeer peer(R"(\\.\pipe\peer_dies)");
      auto result = std::async(std::launch::async, [&] {
        const BOOL ok = ConnectNamedPipe(pipe, nullptr);
        return std::make_pair(ok, GetLastError());
      });
      EXPECT_EQ(result.wait_for(std::chrono::milliseconds(0)), std::future_status::timeout);
      EXPECT_TRUE(TerminateProcess(peer.information.hProcess, 9));
      ASSERT_EQ(result.wait_for(kHangGuard), std::future_status::ready);
      const auto [ok, error] = result.get();
      EXPECT_FALSE(ok);
      EXPECT_EQ(error, static_cast<DWORD>(ERROR_BROKEN_PIPE));
      CloseHandle(pipe);
    }
  }
}

TEST(PipeWithProcess, ReaderKilledMidStreamMakesWritesFail) {
  HANDLE pipe = MakePipe(R"(\\.\pipe\killed_reader)", PIPE_ACCESS_OUTBOUND);
  auto reader = StartProcess({"cat", R"(\\.\pipe\killed_reader)"});
  ASSERT_TRUE(reader);
  ASSERT_TRUE(ConnectNamedPipe(pipe, nullptr)) << GetLastError();
  const std::string chunk(65536, 'v');
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(pipe, chunk.data(), static_cast<DWORD>(chunk.size()), &written, nullptr));
  EXPECT_TRUE(TerminateProcess(reader->hProcess, 1));
  EXPECT_EQ(WaitForSingleObject(reader->hProcess, kHangGuardMs), WAIT_OBJECT_0);
  EXPECT_FALSE(WriteFile(pipe, chunk.data(), static_cast<DWORD>(chunk.size()), &written, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_DATA));
  CloseHandle(reader->hThread);
  CloseHandle(reader->hProcess);
  CloseHandle(pipe);
}

TEST(PipeWithProcess, ProgramOutputRedirectedIntoADuplexPipeIsReadHere) {
  HANDLE pipe = MakePipe(R"(\\.\pipe\zorv_vqrtz_mkiso_pp)", PIPE_ACCESS_DUPLEX);
  ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
  std::string line = R"(cmd.exe /c ""printf.exe" "%s" "ISO 9660 image" > "\\.\pipe\zorv_vqrtz_mkiso_pp"")";
  PROCESS_INFORMATION information{};
  ASSERT_TRUE(
      CreateProcess(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, nullptr, &information))
      << GetLastError();
  ASSERT_TRUE(ConnectNamedPipe(pipe, nullptr)) << GetLastError();
  EXPECT_EQ(ReadToEnd(pipe), "ISO 9660 image");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BROKEN_PIPE));
  EXPECT_EQ(WaitForSingleObject(information.hProcess, kHangGuardMs), WAIT_OBJECT_0);
  DWORD code = 1;
  EXPECT_TRUE(GetExitCodeProcess(information.hProcess, &code));
  EXPECT_EQ(code, 0u);
  CloseHandle(information.hThread);
  CloseHandle(information.hProcess);
  CloseHandle(pipe);
}

TEST(PipeWithProcess, ClosingAnUnconnectedPipeLetsAWaitingReaderEnd) {
  HANDLE pipe = MakePipe(R"(\\.\pipe\abandoned)", PIPE_ACCESS_OUTBOUND);
  auto reader = StartProcess({"cat", R"(\\.\pipe\abandoned)"});
  ASSERT_TRUE(reader);
  CloseHandle(pipe);
  // Whether cat was already waiting in its open (it sees an empty stream) or came after the
  // FIFO went (it finds nothing), it ends.
  EXPECT_EQ(WaitForSingleObject(reader->hProcess, kHangGuardMs), WAIT_OBJECT_0);
  CloseHandle(reader->hThread);
  CloseHandle(reader->hProcess);
}

TEST(PipeWithProcess, StaleFoldersOfEndedRunsAreRemoved) {
  HANDLE pipe = MakePipe(R"(\\.\pipe\own_pipe)", PIPE_ACCESS_OUTBOUND);  // makes our own folder
  ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
  const std::string root = pictavo::kernel::PipeRootFolder();

  IdlePeer running("running");
  auto ended = StartProcess({"true"});
  ASSERT_TRUE(ended);
  ASSERT_EQ(WaitForSingleObject(ended->hProcess, kHangGuardMs), WAIT_OBJECT_0);
  const std::string runningFolder = root + "/" + std::to_string(GetProcessId(running.information.hProcess));
  const std::string endedFolder = root + "/" + std::to_string(ended->dwProcessId);
  for (const auto& folder : {runningFolder, endedFolder}) {
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    ASSERT_EQ(mkfifo((folder + "/zorv_vqrtz_yuv420_pp").c_str(), 0600), 0);
  }
  // Another test process making its first pipe may sweep the ended folder first, so the count
  // of this call proves nothing; the folders left afterwards do.
  pictavo::kernel::RemoveStalePipeFolders();
  EXPECT_FALSE(Exists(endedFolder));
  EXPECT_TRUE(Exists(runningFolder + "/zorv_vqrtz_yuv420_pp"));
  EXPECT_TRUE(Exists(pictavo::kernel::PipeFifoPath("own_pipe")));

  std::filesystem::remove_all(runningFolder);
  CloseHandle(ended->hThread);
  CloseHandle(ended->hProcess);
  CloseHandle(pipe);
}
