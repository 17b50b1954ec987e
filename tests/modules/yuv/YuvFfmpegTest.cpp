// The stream as ffmpeg reads it from a named pipe and encodes it, checked with ffprobe and by
// decoding frames again.
#include <gtest/gtest.h>

#include <string>

#include "modules/yuv/YUVLib.h"
#include "tests/modules/yuv/MediaTools.h"

using media_tools::DibPicture;

TEST(YuvStreamWithFfmpeg, EncodedVideoHasTheFramesSizeRateAndColours) {
  constexpr int kWidth = 96, kHeight = 64;
  constexpr COLORREF kBackground = RGB(0, 0, 160);
  struct Frame {
    COLORREF color;
    int width, height;  // the picture; smaller ones sit on the background
  };
  const Frame kFrames[] = {
      {RGB(220, 30, 30), 96, 64},   {RGB(30, 200, 40), 96, 64},   {RGB(40, 60, 210), 96, 64},
      {RGB(240, 240, 240), 96, 64}, {RGB(128, 128, 128), 96, 64}, {RGB(230, 200, 20), 48, 32},
      {RGB(220, 30, 30), 96, 64},   {RGB(30, 200, 40), 96, 64},   {RGB(40, 60, 210), 96, 64},
      {RGB(240, 240, 240), 96, 64},
  };
  constexpr int kCount = sizeof kFrames / sizeof kFrames[0];

  ScratchDir folder;
  const std::string output = folder / "colours.mp4";
  const std::string log = folder / "ffmpeg.log";
  HANDLE pipe = media_tools::MakeWorkerPipe(R"(\\.\pipe\yuv_colours)");
  ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
  HANDLE logFile =
      CreateFile(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
  pictavo::kernel::ProcessOptions options;
  options.stdErr = logFile;
  // Lossless, so what comes back is the stream's own colour conversion.
  auto ffmpeg =
      pictavo::kernel::StartProcess({"ffmpeg", "-v", "error", "-nostdin", "-f", "yuv4mpegpipe", "-i",
                                     R"(\\.\pipe\yuv_colours)", "-c:v", "libx264", "-qp", "0", output},
                                    options);
  CloseHandle(logFile);
  ASSERT_TRUE(ffmpeg) << GetLastError();
  ASSERT_TRUE(ConnectNamedPipe(pipe, nullptr)) << GetLastError() << ReadWholeFile(log);

  CYUVLib writer(1);
  ASSERT_TRUE(writer.InitYUV(pipe, kWidth, kHeight, 29.97, kBackground, 1));
  for (const Frame& f : kFrames) {
    DibPicture picture(f.width, f.height, f.color);
    ASSERT_TRUE(writer.AppendFrame(picture.bits.data(), f.width, f.height, 1, nullptr)) << GetLastError();
  }
  ASSERT_TRUE(writer.CloseFile());
  ASSERT_EQ(WaitForSingleObject(ffmpeg->hProcess, media_tools::kGuardMs), WAIT_OBJECT_0);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(ffmpeg->hProcess, &code);
  CloseHandle(ffmpeg->hThread);
  CloseHandle(ffmpeg->hProcess);
  ASSERT_EQ(code, 0u) << ReadWholeFile(log);

  EXPECT_EQ(media_tools::ProbeVideo(output, "width,height,r_frame_rate,nb_read_frames"),
            "96,64,30000/1001," + std::to_string(kCount) + "\n");

  constexpr int kTolerance = 6;
  for (int i = 0; i < kCount; ++i) {
    const auto frame = media_tools::DecodeFrame(output, i, kWidth, kHeight);
    const auto centre = frame.At(kWidth / 2, kHeight / 2), corner = frame.At(2, 2);
    EXPECT_TRUE(media_tools::Near(centre, kFrames[i].color, kTolerance))
        << "frame " << i << " " << media_tools::Show(centre);
    const COLORREF cornerWant = kFrames[i].width < kWidth ? kBackground : kFrames[i].color;
    EXPECT_TRUE(media_tools::Near(corner, cornerWant, kTolerance))
        << "frame " << i << " " << media_tools::Show(corner);
  }
  // The small picture's edges: 48 x 32 centred in 96 x 64 covers columns 24..71 and rows 16..47.
  const auto small = media_tools::DecodeFrame(output, 5, kWidth, kHeight);
  struct Probe {
    int x, y;
    bool inside;
  };
  const Probe kEdges[] = {{26, 18, true},  {69, 45, true},  {21, 32, false},
                          {74, 32, false}, {48, 13, false}, {48, 50, false}};
  for (const auto& p : kEdges)
    EXPECT_TRUE(media_tools::Near(small.At(p.x, p.y), p.inside ? kFrames[5].color : kBackground, kTolerance))
        << p.x << "," << p.y << " " << media_tools::Show(small.At(p.x, p.y));
}
