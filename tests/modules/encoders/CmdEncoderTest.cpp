// The console runner with the real ffmpeg: names, progress, cancel, failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "modules/encoders/CmdEncoder.h"
#include "modules/encoders/CmdOpts.h"
#include "platform/base/ErrorCodes.h"
#include "platform/kernel/Event.h"
#include "platform/user/User.h"
#include "tests/modules/yuv/MediaTools.h"

using media_tools::kGuardMs;
using pictavo::encoders::Progress;

namespace {

// A short encode of ffmpeg's own test picture: `frames` frames of 64 x 48 into `output`.
void TestPictureCommand(CFFMpegOpts& opts, int frames, const std::string& output) {
  opts.Add(CMDOPT_COMMAND, "-y");
  opts.Add(CMDOPT_IN_PLACE, "-f", "lavfi");
  opts.Add(CMDOPT_IN_PLACE, "-i", "testsrc=size=64x48:rate=25");
  opts.Add(CMDOPT_IN_PLACE, "-frames:v", "%d", frames);
  opts.Add(CMDOPT_IN_PLACE, "-vcodec", "mpeg4");
  opts.SetSourceFile(output.c_str());
}

// An encode that runs until it is stopped.
void EndlessCommand(CFFMpegOpts& opts) {
  opts.Add(CMDOPT_IN_PLACE, "-f", "lavfi");
  opts.Add(CMDOPT_IN_PLACE, "-re");
  opts.Add(CMDOPT_IN_PLACE, "-i", "testsrc=size=64x48:rate=25");
  opts.Add(CMDOPT_IN_PLACE, "-f", "null");
  opts.SetSourceFile("-");
}

// Collects the reports of a runner and signals an event at the first one.
struct ReportLog {
  std::mutex lock;
  std::vector<Progress> reports;  // guarded by lock
  HANDLE first = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  ~ReportLog() { CloseHandle(first); }
  void Attach(CCmdEncoder& runner) {
    runner.SetProgressSink([this](const Progress& p) {
      std::lock_guard guard(lock);
      reports.push_back(p);
      SetEvent(first);
    });
  }
};

DWORD ExitCodeOf(const CRedirector& runner) {
  DWORD code = 0;
  EXPECT_TRUE(runner.GetExitCode(&code));
  return code;
}

std::string Lines(const CRedirector& runner) {
  std::string text;
  for (const auto& line : runner.GetLastLines()) text += line + "\n";
  return text;
}

}  // namespace

TEST(FfmpegRunner, NameWithQuotesAmpersandPipeAndAccentsReachesFfmpegIntact) {
  ScratchDir folder;
  const std::string title = R"(Trip "Summer" & Co | Grüße 100%)";
  const std::string output = folder / (title + ".mp4");
  CFFMpegOpts opts;
  TestPictureCommand(opts, 5, output);
  opts.Add(CMDOPT_COMMAND, "-metadata", ("title=" + title).c_str());

  CCmdEncoder runner(nullptr);
  ASSERT_TRUE(runner.Open(opts, 1)) << runner.m_pszError;
  ASSERT_EQ(runner.WaitForConsoleTerminate(kGuardMs), 0);
  ASSERT_EQ(ExitCodeOf(runner), 0u) << Lines(runner);
  EXPECT_TRUE(Exists(output));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                          std::filesystem::directory_iterator()),
            1);
  EXPECT_EQ(media_tools::RunProgram({"ffprobe", "-v", "error", "-show_entries", "format_tags=title", "-of",
                                     "default=nw=1:nk=1", output})
                .out,
            title + "\n");
}

TEST(FfmpegRunner, ProgressReachesTheWindowAndTheSink) {
  WNDCLASS wc{};
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "FfmpegProgressTarget";
  RegisterClass(&wc);
  HWND window =
      CreateWindowEx(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);
  constexpr UINT kMessage = WM_APP + 7;

  ScratchDir folder;
  const std::string output = folder / "progress.mp4";
  CFFMpegOpts opts;
  TestPictureCommand(opts, 50, output);
  _MEDIA_SOURCE source;
  CCmdEncoder runner(&source);
  ReportLog log;
  log.Attach(runner);
  runner.SetProgressInfo(window, kMessage);
  ASSERT_TRUE(runner.Open(opts, 1)) << runner.m_pszError;
  EXPECT_TRUE(runner.m_bRunning || runner.WaitForConsoleTerminate(0) == 0);
  ASSERT_EQ(runner.WaitForConsoleTerminate(kGuardMs), 0);
  ASSERT_EQ(ExitCodeOf(runner), 0u) << Lines(runner);
  EXPECT_FALSE(runner.m_bRunning);
  EXPECT_FALSE(runner.m_bError);
  const uint64_t size = std::filesystem::file_size(output);

  // Every report is posted before the run's end is signalled.
  std::vector<MSG> posted;
  MSG msg;
  while (PeekMessage(&msg, window, kMessage, kMessage, PM_REMOVE)) posted.push_back(msg);
  std::lock_guard guard(log.lock);
  ASSERT_FALSE(log.reports.empty());
  ASSERT_EQ(posted.size(), log.reports.size());
  const Progress& last = log.reports.back();
  EXPECT_TRUE(last.finished);
  EXPECT_EQ(last.frames, 50u);
  EXPECT_EQ(last.bytes, size);
  EXPECT_EQ(posted.back().wParam, 50u);
  EXPECT_EQ(static_cast<uint64_t>(posted.back().lParam), size);
  EXPECT_EQ(runner.GetProgress().frames, 50u);
  EXPECT_EQ(runner.GetMediaSource(), &source);
  DestroyWindow(window);
}

TEST(FfmpegRunner, StopMidRunEndsItAndReportsFailure) {
  CFFMpegOpts opts;
  EndlessCommand(opts);
  CCmdEncoder runner(nullptr);
  ReportLog log;
  log.Attach(runner);
  ASSERT_TRUE(runner.Open(opts, 1)) << runner.m_pszError;
  // Running and encoding: its first report has come.
  ASSERT_EQ(WaitForSingleObject(log.first, kGuardMs), WAIT_OBJECT_0) << Lines(runner);
  EXPECT_NE(runner.WaitForConsoleTerminate(0), 0);
  EXPECT_FALSE(runner.Open(opts, 1));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUSY));

  runner.m_bUserCancel = TRUE;
  runner.StopCmd();
  ASSERT_EQ(WaitForSingleObject(runner.GetEndEvent(), kGuardMs), WAIT_OBJECT_0);
  EXPECT_EQ(runner.WaitForConsoleTerminate(0), 0);
  EXPECT_EQ(ExitCodeOf(runner), CRedirector::kStoppedExitCode);
  EXPECT_FALSE(runner.m_bRunning);
  EXPECT_FALSE(runner.m_bError);  // stopped, not failed
  EXPECT_TRUE(runner.m_bUserCancel);
}

// The worker's situation: ffmpeg waits for a pipe nobody feeds, and Close (or the runner's end)
// must not wait for it.
TEST(FfmpegRunner, CloseEndsACommandWaitingForItsInput) {
  HANDLE pipe = media_tools::MakeWorkerPipe(R"(\\.\pipe\runner_unfed)");
  ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
  CFFMpegOpts opts;
  opts.Add(CMDOPT_IN_PLACE, "-f", "yuv4mpegpipe");
  opts.Add(CMDOPT_IN_PLACE, "-i", R"(\\.\pipe\runner_unfed)");
  opts.Add(CMDOPT_IN_PLACE, "-f", "null");
  opts.SetSourceFile("-");
  {
    CCmdEncoder runner(nullptr);
    ASSERT_TRUE(runner.Open(opts, 1)) << runner.m_pszError;
    EXPECT_NE(runner.WaitForConsoleTerminate(0), 0);
    runner.Close();
    EXPECT_EQ(runner.WaitForConsoleTerminate(0), 0);
    EXPECT_EQ(ExitCodeOf(runner), CRedirector::kStoppedExitCode);
  }
  // ffmpeg is gone without opening the pipe: connecting gives up instead of waiting.
  EXPECT_FALSE(ConnectNamedPipe(pipe, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BROKEN_PIPE));
  CloseHandle(pipe);
}

TEST(FfmpegRunner, FailingFfmpegGivesItsExitStatusAndLastErrorLine) {
  ScratchDir folder;
  CFFMpegOpts opts;
  TestPictureCommand(opts, 5, folder / "never.mp4");
  opts.Add(CMDOPT_IN_PLACE, "-no_such_option", "1");
  CCmdEncoder runner(nullptr);
  ASSERT_TRUE(runner.Open(opts, 1)) << runner.m_pszError;
  ASSERT_EQ(runner.WaitForConsoleTerminate(kGuardMs), 0);
  const DWORD code = ExitCodeOf(runner);
  EXPECT_NE(code, 0u);
  EXPECT_NE(code, CRedirector::kStoppedExitCode);
  EXPECT_TRUE(runner.m_bError);
  const auto lines = runner.GetLastLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(std::string(runner.m_pszError), lines.back());
  EXPECT_NE(Lines(runner).find("no_such_option"), std::string::npos) << Lines(runner);
  EXPECT_FALSE(Exists(folder / "never.mp4"));
  EXPECT_NE(runner.GetCommandLineText().find("-progress pipe:1"), std::string::npos);
}

TEST(FfmpegRunner, MissingProgramFailsToOpen) {
  for (const char* programPart : {"/nowhere/gnu/no-such-encoder", "no-such-encoder-anywhere"}) {
    CFFMpegOpts opts;
    opts.m_strProgram = programPart;
    opts.Add(CMDOPT_IN_PLACE, "-version");
    CCmdEncoder runner(nullptr);
    SetLastError(0);
    EXPECT_FALSE(runner.Open(opts, 1)) << programPart;
    const DWORD error = GetLastError();
    EXPECT_TRUE(error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        << programPart << " " << error;
    EXPECT_TRUE(runner.m_bError);
    EXPECT_NE(std::string(runner.m_pszError).find("program not found"), std::string::npos)
        << runner.m_pszError;
    EXPECT_FALSE(runner.m_bRunning);
    EXPECT_EQ(runner.WaitForConsoleTerminate(0), 0);
  }
}

TEST(ConsoleRunner, CommandLineAndOtherProgramsKeepTheirOutput) {
  CRedirector runner;
  ASSERT_TRUE(runner.Open(R"(sh -c "echo out; echo err >&2; exit 3")", 1)) << runner.m_pszError;
  ASSERT_EQ(runner.WaitForConsoleTerminate(INFINITE), 0);
  EXPECT_EQ(ExitCodeOf(runner), 3u);
  auto lines = runner.GetLastLines();
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{"err", "out"}));
  EXPECT_TRUE(runner.m_bError);

  EXPECT_FALSE(runner.Open(R"(cmd.exe /c sort > out.txt)", 1));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}
