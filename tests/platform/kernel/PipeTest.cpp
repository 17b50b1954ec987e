#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <thread>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/FileHandle.h"
#include "platform/kernel/FileIo.h"
#include "platform/kernel/Pipe.h"
#include "platform/kernel/PipeNames.h"
#include "platform/kernel/Wait.h"
#include "tests/platform/kernel/FileTestSupport.h"

namespace {

using pictavo::kernel::PipeFifoPath;

// Generous bound for calls that must end by themselves; reaching it means a hang.
constexpr auto kHangGuard = std::chrono::seconds(20);

HANDLE MakePipe(const char* name, DWORD access) {
  return CreateNamedPipe(name, access, PIPE_TYPE_BYTE | PIPE_WAIT, PIPE_UNLIMITED_INSTANCES, 8192, 8192, 0,
                         nullptr);
}

HANDLE OpenClient(const char* name, DWORD access) {
  return CreateFile(name, access, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool Write(HANDLE handle, const std::string& text) {
  DWORD written = 0;
  return WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

std::string Read(HANDLE handle, DWORD size) {
  std::string out(size, '\0');
  DWORD read = 0;
  if (!ReadFile(handle, out.data(), size, &read, nullptr)) return "<failed>";
  out.resize(read);
  return out;
}

struct CallResult {
  BOOL ok;
  DWORD error;
};

CallResult Connect(HANDLE pipe) {
  const BOOL ok = ConnectNamedPipe(pipe, nullptr);
  return {ok, GetLastError()};
}

}  // namespace

TEST(PipeNames, PipePathsAreRecognisedInEitherSpelling) {
  struct Case {
    const char* path;
    std::optional<std::string> name;
  };
  const Case cases[] = {
      {R"(\\.\pipe\zorv_vqrtz_yuv420_pp)", "zorv_vqrtz_yuv420_pp"},
      {"//./PIPE/Video", "video"},
      {R"(\\.\Pipe\with space)", "with space"},
      {R"(\\.\pipe\)", std::nullopt},
      {R"(\\.\pipe\a\b)", std::nullopt},
      {R"(\\.\pipe\..)", std::nullopt},
      {R"(C:\pipe\x)", std::nullopt},
      {R"(\\server\pipe\x)", std::nullopt},
      {"/tmp/pipe/x", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(pictavo::kernel::PipeNameFromPath(c.path), c.name) << c.path;
}

TEST(PipeNames, TranslationReplacesEveryPipeNameInAText) {
  const std::string folder = pictavo::kernel::PipeRootFolder() + "/" + std::to_string(getpid());
  EXPECT_EQ(PipeFifoPath("zorv_vqrtz_yuv420_pp"), folder + "/zorv_vqrtz_yuv420_pp");
  const char* runtime = getenv("XDG_RUNTIME_DIR");
  const std::string root = runtime && *runtime == '/'
                               ? std::string(runtime) + "/pictavo/pipes"
                               : "/tmp/pictavo-" + std::to_string(geteuid()) + "/pipes";
  EXPECT_EQ(pictavo::kernel::PipeRootFolder(), root);

  struct Case {
    const char* text;
    std::string translated;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {R"(\\.\pipe\zorv_vqrtz_yuv420_pp)", folder + "/zorv_vqrtz_yuv420_pp", {"zorv_vqrtz_yuv420_pp"}},
      {R"(-i "\\.\pipe\PCM" -f)", "-i \"" + folder + "/pcm\" -f", {"pcm"}},
      {R"(concat:\\.\pipe\a|\\.\pipe\b)", "concat:" + folder + "/a|" + folder + "/b", {"a", "b"}},
      {R"(C:\Videos\out.mp4)", R"(C:\Videos\out.mp4)", {}},
      {R"(\\.\pipe\)", R"(\\.\pipe\)", {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> names;
    EXPECT_EQ(pictavo::kernel::TranslatePipeNames(c.text, &names), c.translated) << c.text;
    EXPECT_EQ(names, c.names) << c.text;
  }
}

TEST(NamedPipe, OutboundPipeCarriesDataToAClientAndIsRemovedOnClose) {
  HANDLE server = MakePipe(R"(\\.\pipe\outbound_test)", PIPE_ACCESS_OUTBOUND);
  ASSERT_NE(server, INVALID_HANDLE_VALUE);
  const std::string fifo = PipeFifoPath("outbound_test");
  struct stat st;
  ASSERT_EQ(lstat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ASSERT_EQ(stat(pictavo::kernel::PipeRootFolder().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  // Before a client connects the pipe only listens.
  DWORD written = 0;
  EXPECT_FALSE(WriteFile(server, "x", 1, &written, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PIPE_LISTENING));

  HANDLE client = OpenClient(R"(\\.\PIPE\Outbound_Test)", GENERIC_READ);
  ASSERT_NE(client, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(ConnectNamedPipe(server, nullptr));
  EXPECT_FALSE(ConnectNamedPipe(server, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PIPE_CONNECTED));
  EXPECT_TRUE(Write(server, "frame data"));
  EXPECT_EQ(Read(client, 100), "frame data");
  char byte;
  EXPECT_FALSE(ReadFile(server, &byte, 1, &written, nullptr));  // outbound: this end only writes
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

  EXPECT_TRUE(Write(server, "tail"));
  CloseHandle(server);
  EXPECT_FALSE(Exists(fifo));
  EXPECT_EQ(Read(client, 100), "tail");  // what was written still arrives, then the end
  DWORD read = 0;
  EXPECT_FALSE(ReadFile(client, &byte, 1, &read, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BROKEN_PIPE));
  CloseHandle(client);
}

TEST(NamedPipe, WritingAfterTheReaderLeftFailsWithNoData) {
  HANDLE server = MakePipe(R"(\\.\pipe\reader_leaves)", PIPE_ACCESS_DUPLEX);
  HANDLE client = OpenClient(R"(\\.\pipe\reader_leaves)", GENERIC_READ | GENERIC_WRITE);
  ASSERT_NE(client, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(ConnectNamedPipe(server, nullptr));
  CloseHandle(client);
  // The process survives: the broken pipe is an error, not a signal.
  const std::string block(100000, 'y');
  DWORD written = 0;
  EXPECT_FALSE(WriteFile(server, block.data(), static_cast<DWORD>(block.size()), &written, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_DATA));
  CloseHandle(server);
}

TEST(NamedPipe, DuplexPipeReadsWhatAWritingClientSends) {
  HANDLE server = MakePipe(R"(\\.\pipe\iso_image)", PIPE_ACCESS_DUPLEX);
  ASSERT_NE(server, INVALID_HANDLE_VALUE);
  // The client can open and write before the server connects, as on the platform.
  HANDLE client = OpenClient(R"(\\.\pipe\iso_image)", GENERIC_WRITE);
  ASSERT_NE(client, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(Write(client, "sector"));
  EXPECT_TRUE(ConnectNamedPipe(server, nullptr));
  EXPECT_EQ(Read(server, 100), "sector");
  CloseHandle(client);
  char byte;
  DWORD read = 0;
  EXPECT_FALSE(ReadFile(server, &byte, 1, &read, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BROKEN_PIPE));
  CloseHandle(server);
}

TEST(NamedPipe, DisconnectedPipeConnectsAgain) {
  HANDLE server = MakePipe(R"(\\.\pipe\reused)", PIPE_ACCESS_OUTBOUND);
  for (const char* text : {"first", "second"}) {
    HANDLE client = OpenClient(R"(\\.\pipe\reused)", GENERIC_READ);
    ASSERT_NE(client, INVALID_HANDLE_VALUE) << text;
    ASSERT_TRUE(ConnectNamedPipe(server, nullptr)) << text;
    EXPECT_TRUE(Write(server, text));
    EXPECT_TRUE(DisconnectNamedPipe(server));
    EXPECT_EQ(ReadToEnd(client), text);  // written data outlives the disconnection
    DWORD written = 0;
    EXPECT_FALSE(WriteFile(server, "x", 1, &written, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PIPE_NOT_CONNECTED));
    CloseHandle(client);
  }
  CloseHandle(server);
}

TEST(NamedPipe, FlushWaitsUntilTheReaderHasTakenEverything) {
  HANDLE server = MakePipe(R"(\\.\pipe\flushed)", PIPE_ACCESS_OUTBOUND);
  HANDLE client = OpenClient(R"(\\.\pipe\flushed)", GENERIC_READ);
  ASSERT_TRUE(ConnectNamedPipe(server, nullptr));
  const std::string data(40000, 'f');
  ASSERT_TRUE(Write(server, data));
  HANDLE flushed = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  std::thread flusher([&] {
    EXPECT_TRUE(FlushFileBuffers(server));
    SetEvent(flushed);
  });
  EXPECT_EQ(WaitForSingleObject(flushed, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  std::string received;
  while (received.size() < data.size()) received += Read(client, 65536);
  EXPECT_EQ(received, data);
  EXPECT_EQ(WaitForSingleObject(flushed, 20000), WAIT_OBJECT_0);
  flusher.join();
  CloseHandle(flushed);
  CloseHandle(client);
  CloseHandle(server);
}

TEST(NamedPipe, CreationAndClientErrors) {
  struct Case {
    const char* name;
    DWORD openMode;
    DWORD pipeMode;
    DWORD instances;
    DWORD error;
  };
  const Case cases[] = {
      {R"(C:\not\a\pipe)", PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, ERROR_INVALID_NAME},
      {R"(\\.\pipe\)", PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, ERROR_INVALID_NAME},
      {R"(\\.\pipe\m)", PIPE_ACCESS_OUTBOUND, PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE, 1,
       ERROR_INVALID_PARAMETER},
      {R"(\\.\pipe\m)", PIPE_ACCESS_OUTBOUND, PIPE_NOWAIT, 1, ERROR_INVALID_PARAMETER},
      {R"(\\.\pipe\m)", 0, PIPE_TYPE_BYTE, 1, ERROR_INVALID_PARAMETER},
      {R"(\\.\pipe\m)", PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 0, ERROR_INVALID_PARAMETER},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CreateNamedPipe(c.name, c.openMode, c.pipeMode, c.instances, 8192, 8192, 0, nullptr),
              INVALID_HANDLE_VALUE)
        << c.name;
    EXPECT_EQ(GetLastError(), c.error) << c.name;
  }

  EXPECT_EQ(OpenClient(R"(\\.\pipe\nobody_here)", GENERIC_READ), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  HANDLE first = MakePipe(R"(\\.\pipe\single)", PIPE_ACCESS_OUTBOUND);
  ASSERT_NE(first, INVALID_HANDLE_VALUE);
  EXPECT_EQ(MakePipe(R"(\\.\pipe\single)", PIPE_ACCESS_OUTBOUND), INVALID_HANDLE_VALUE);  // still listening
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PIPE_BUSY));
  EXPECT_EQ(OpenClient(R"(\\.\pipe\single)", GENERIC_WRITE), INVALID_HANDLE_VALUE);  // it only writes
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  HANDLE client = OpenClient(R"(\\.\pipe\single)", GENERIC_READ);
  ASSERT_TRUE(ConnectNamedPipe(first, nullptr));
  // A connected instance keeps its FIFO; a new instance of the name gets a fresh one.
  HANDLE second = MakePipe(R"(\\.\pipe\single)", PIPE_ACCESS_OUTBOUND);
  EXPECT_NE(second, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(Write(first, "still here"));
  EXPECT_EQ(Read(client, 100), "still here");
  CloseHandle(first);
  EXPECT_TRUE(Exists(PipeFifoPath("single")));  // the first instance leaves the second's FIFO alone
  CloseHandle(second);
  EXPECT_FALSE(Exists(PipeFifoPath("single")));
  CloseHandle(client);
}

TEST(NamedPipe, ConnectWaitingForAClientIsCancelledFromAnotherThread) {
  struct Case {
    const char* how;
    std::function<bool(HANDLE)> cancel;  // true once it reached the waiting call
    DWORD error;
  };
  const Case cases[] = {
      {"CancelIoEx", [](HANDLE pipe) { return CancelIoEx(pipe, nullptr) != FALSE; }, ERROR_OPERATION_ABORTED},
      {"DisconnectNamedPipe",
       [](HANDLE pipe) {
         DisconnectNamedPipe(pipe);
         return false;  // cannot tell: repeated until the call returns
       },
       ERROR_OPERATION_ABORTED},
  };
  for (const auto& c : cases) {
    for (DWORD access : {PIPE_ACCESS_OUTBOUND, PIPE_ACCESS_INBOUND}) {
      HANDLE pipe = MakePipe(R"(\\.\pipe\never_opened)", access);
      ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
      auto result = std::async(std::launch::async, Connect, pipe);
      const auto start = std::chrono::steady_clock::now();
      while (result.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready &&
             std::chrono::steady_clock::now() - start < kHangGuard) {
        if (c.cancel(pipe)) break;
      }
      ASSERT_EQ(result.wait_for(kHangGuard), std::future_status::ready) << c.how;
      const CallResult outcome = result.get();
      EXPECT_FALSE(outcome.ok) << c.how;
      EXPECT_EQ(outcome.error, c.error) << c.how;
      CloseHandle(pipe);
    }
  }
}

TEST(NamedPipe, ClosingThePipeEndsAWaitingConnect) {
  HANDLE pipe = MakePipe(R"(\\.\pipe\closed_while_waiting)", PIPE_ACCESS_OUTBOUND);
  HANDLE entering = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  auto result = std::async(std::launch::async, [&] {
    SetEvent(entering);
    return Connect(pipe);
  });
  ASSERT_EQ(WaitForSingleObject(entering, INFINITE), WAIT_OBJECT_0);
  EXPECT_TRUE(CloseHandle(pipe));
  ASSERT_EQ(result.wait_for(kHangGuard), std::future_status::ready);
  const CallResult outcome = result.get();
  EXPECT_FALSE(outcome.ok);
  // Aborted when the call was already waiting, an invalid handle when it came after the close.
  EXPECT_TRUE(outcome.error == ERROR_OPERATION_ABORTED || outcome.error == ERROR_INVALID_HANDLE)
      << outcome.error;
  EXPECT_FALSE(Exists(PipeFifoPath("closed_while_waiting")));
  CloseHandle(entering);
}

TEST(AnonymousPipe, CarriesDataBetweenThreadsAndReportsEitherEndGoing) {
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 10 * 1024 * 1024));  // more than the system allows
  // A write larger than the pipe holds returns once a reader has taken it all.
  std::string audio(3 * 1024 * 1024, '\0');
  for (size_t i = 0; i < audio.size(); ++i) audio[i] = static_cast<char>(i % 251);
  std::thread writer([&] {
    EXPECT_TRUE(Write(writeEnd, audio));
    CloseHandle(writeEnd);
  });
  EXPECT_EQ(ReadToEnd(readEnd), audio);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BROKEN_PIPE));
  writer.join();
  CloseHandle(readEnd);

  ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
  CloseHandle(readEnd);
  DWORD written = 0;
  EXPECT_FALSE(WriteFile(writeEnd, "pcm", 3, &written, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_DATA));
  CloseHandle(writeEnd);
}

TEST(AnonymousPipe, BlockedReadIsCancelled) {
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
  auto result = std::async(std::launch::async, [&] {
    char byte;
    DWORD read = 0;
    const BOOL ok = ReadFile(readEnd, &byte, 1, &read, nullptr);
    return CallResult{ok, GetLastError()};
  });
  while (!CancelIoEx(readEnd, nullptr)) EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_FOUND));
  ASSERT_EQ(result.wait_for(kHangGuard), std::future_status::ready);
  const CallResult outcome = result.get();
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.error, static_cast<DWORD>(ERROR_OPERATION_ABORTED));
  // The pipe still works afterwards.
  EXPECT_TRUE(Write(writeEnd, "z"));
  EXPECT_EQ(Read(readEnd, 1), "z");
  CloseHandle(readEnd);
  CloseHandle(writeEnd);
}
