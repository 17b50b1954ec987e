// ffmpeg reading frames and samples from named pipes, as the video output feeds it.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileHandle.h"
#include "platform/kernel/FileIo.h"
#include "platform/kernel/Pipe.h"
#include "platform/kernel/Process.h"
#include "platform/kernel/Wait.h"
#include "tests/platform/kernel/FileTestSupport.h"

namespace {

using pictavo::kernel::ProcessOptions;
using pictavo::kernel::StartProcess;

constexpr DWORD kEncodeGuardMs = 60000;

// The worker's pipes: duplex, byte mode, blocking, 8 KiB buffers.
HANDLE MakeWorkerPipe(const char* name) {
  return CreateNamedPipe(name, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT, PIPE_UNLIMITED_INSTANCES, 8192,
                         8192, 0, nullptr);
}

bool WriteAll(HANDLE handle, const std::string& bytes) {
  DWORD written = 0;
  return WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

DWORD WaitForExit(HANDLE process, DWORD milliseconds) {
  EXPECT_EQ(WaitForSingleObject(process, milliseconds), WAIT_OBJECT_0);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process, &code);
  return code;
}

// What ffprobe says about the streams of a file, one `entry` value per line.
std::string Probe(const std::string& file, const char* entry, bool countFrames) {
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  EXPECT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
  std::vector<std::string> argv = {"ffprobe", "-v", "error"};
  if (countFrames) argv.insert(argv.end(), {"-count_frames", "-select_streams", "v:0"});
  argv.insert(argv.end(), {"-show_entries", std::string("stream=") + entry, "-of", "csv=p=0", file});
  ProcessOptions options;
  options.stdOut = writeEnd;
  auto probe = StartProcess(argv, options);
  CloseHandle(writeEnd);
  std::string out = probe ? ReadToEnd(readEnd) : "<ffprobe did not start>";
  if (probe) {
    WaitForExit(probe->hProcess, kEncodeGuardMs);
    CloseHandle(probe->hThread);
    CloseHandle(probe->hProcess);
  }
  CloseHandle(readEnd);
  return out;
}

std::string RgbFrame(int index) {
  std::string frame(64 * 48 * 3, '\0');
  for (size_t i = 0; i < frame.size(); ++i)
    frame[i] = static_cast<char>((i / 3 + static_cast<size_t>(index) * 20) % 256);
  return frame;
}

std::string Yuv420Frame(int index) {
  std::string frame = "FRAME\n";
  frame += std::string(64 * 48, static_cast<char>(16 + index * 20));
  frame += std::string(32 * 24 * 2, static_cast<char>(128));
  return frame;
}

HANDLE LogFile(const std::string& path) {
  return CreateFile(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
}

}  // namespace

TEST(PipeWithFfmpeg, FramesWrittenIntoANamedPipeBecomeAVideo) {
  ScratchDir folder;
  const std::string output = folder / "out.mp4";
  const std::string logPath = folder / "ffmpeg.log";
  HANDLE log = LogFile(logPath);
  HANDLE pipe = MakeWorkerPipe(R"(\\.\pipe\test_yuv)");
  ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
  ProcessOptions options;
  options.stdErr = log;
  auto ffmpeg =
      StartProcess({"ffmpeg", "-nostdin", "-y", "-f", "rawvideo", "-pix_fmt", "rgb24", "-s", "64x48", "-r",
                    "10", "-i", R"(\\.\pipe\test_yuv)", "-frames:v", "10", "-c:v", "mpeg4", output},
                   options);
  CloseHandle(log);
  ASSERT_TRUE(ffmpeg) << GetLastError();

  ASSERT_TRUE(ConnectNamedPipe(pipe, nullptr)) << GetLastError() << "\n" << ReadWholeFile(logPath);
  for (int i = 0; i < 10; ++i)
    ASSERT_TRUE(WriteAll(pipe, RgbFrame(i))) << "frame " << i << ": " << GetLastError();
  CloseHandle(pipe);

  EXPECT_EQ(WaitForExit(ffmpeg->hProcess, kEncodeGuardMs), 0u) << ReadWholeFile(logPath);
  CloseHandle(ffmpeg->hThread);
  CloseHandle(ffmpeg->hProcess);
  ASSERT_TRUE(Exists(output));
  EXPECT_EQ(Probe(output, "nb_read_frames", true), "10\n");
}

// The encode worker's order: both pipes made, ffmpeg started from an interpreter line, the audio
// pipe connected and primed with 4096 zero bytes and fed by another thread, then the video pipe.
TEST(PipeWithFfmpeg, EncodeWorkerFeedsAudioAndVideoPipes) {
  ScratchDir folder;
  const std::string output = folder / "Trip_Summer.mp4";
  const std::string logPath = folder / "ffmpeg.log";
  HANDLE yuv = MakeWorkerPipe(R"(\\.\pipe\zorv_vqrtz_yuv420_pp)");
  HANDLE pcm = MakeWorkerPipe(R"(\\.\pipe\zorv_vqrtz_pcm_pp)");
  ASSERT_NE(yuv, INVALID_HANDLE_VALUE);
  ASSERT_NE(pcm, INVALID_HANDLE_VALUE);

  // The program names ffmpeg in the `gnu` folder beside it; here it is found along PATH.
  const std::string program = folder.Path() + R"(\gnu\ffmpeg.exe)";
  std::string line =
      "cmd.exe /c \"\"" + program +
      R"(" -y -f s16le -ac 2 -ar 44100 -i "\\.\pipe\zorv_vqrtz_pcm_pp" -f yuv4mpegpipe)"
      R"( -i "\\.\pipe\zorv_vqrtz_yuv420_pp" -metadata title="Summer" -r 10.000 -b:v 200k -s 64x48)"
      R"( -aspect 64:48 -vcodec mpeg4 -ac 2 -ar 44100 -b:a 64k -acodec aac -f mp4 ")" +
      output + "\"\"";
  HANDLE log = LogFile(logPath);
  STARTUPINFO startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdError = log;
  PROCESS_INFORMATION ffmpeg{};
  ASSERT_TRUE(CreateProcess(nullptr, line.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
                            nullptr, &startup, &ffmpeg))
      << GetLastError();
  CloseHandle(log);

  ASSERT_TRUE(ConnectNamedPipe(pcm, nullptr)) << GetLastError() << "\n" << ReadWholeFile(logPath);
  ASSERT_TRUE(WriteAll(pcm, std::string(4096, '\0')));
  std::thread audio([pcm] {
    std::string second(44100 * 2 * 2, '\0');
    for (size_t i = 0; i < second.size(); i += 4)
      second[i + 1] = static_cast<char>((i / 400) % 2 ? 0x20 : -0x20);
    EXPECT_TRUE(WriteAll(pcm, second)) << GetLastError();
    CloseHandle(pcm);
  });
  const bool connected = ConnectNamedPipe(yuv, nullptr);
  EXPECT_TRUE(connected) << GetLastError() << "\n" << ReadWholeFile(logPath);
  if (connected) {
    EXPECT_TRUE(WriteAll(yuv, "YUV4MPEG2 W64 H48 F10:1 Ip A1:1 C420jpeg\n"));
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(WriteAll(yuv, Yuv420Frame(i))) << "frame " << i;
  }
  CloseHandle(yuv);
  audio.join();

  EXPECT_EQ(WaitForExit(ffmpeg.hProcess, kEncodeGuardMs), 0u) << ReadWholeFile(logPath);
  CloseHandle(ffmpeg.hThread);
  CloseHandle(ffmpeg.hProcess);
  EXPECT_EQ(Probe(output, "codec_type", false), "video\naudio\n");
  EXPECT_EQ(Probe(output, "nb_read_frames", true), "10\n");
}
