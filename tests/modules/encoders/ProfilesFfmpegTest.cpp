// Every output profile kind's album command, run by the real ffmpeg the way the encode worker
// runs it: PCM into one named pipe, the frame writer's YUV stream into the other.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "modules/encoders/CmdEncoder.h"
#include "modules/yuv/YUVLib.h"
#include "tests/modules/encoders/AlbumCommand.h"
#include "tests/modules/yuv/MediaTools.h"

using album_command::Profile;

namespace {

constexpr int kProjectFps = 25;
constexpr int kFrames = 10;

bool WriteAll(HANDLE handle, const std::string& bytes) {
  DWORD written = 0;
  return WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

// Runs one album command and feeds it; returns what went wrong, or "" when ffmpeg succeeded.
std::string EncodeAlbum(const Profile& p, bool photoAlbum, const std::string& output) {
  HANDLE yuv = media_tools::MakeWorkerPipe(album_command::kYuvPipe);
  HANDLE pcm = media_tools::MakeWorkerPipe(album_command::kPcmPipe);
  if (yuv == INVALID_HANDLE_VALUE || pcm == INVALID_HANDLE_VALUE) return "pipes not created";

  CFFMpegOpts opts;
  album_command::BuildAlbumCommand(opts, p, photoAlbum, "Summer", output);
  CCmdEncoder runner(nullptr);
  if (!runner.Open(opts, 1)) return std::string("not started: ") + runner.m_pszError;

  std::string problem;
  if (!ConnectNamedPipe(pcm, nullptr)) problem = "pcm pipe not connected";
  const int channels = photoAlbum ? p.channels : 2;
  const int rate = photoAlbum ? std::stoi(p.sampleRate) : 44100;
  std::thread audio([&] {
    if (problem.empty()) {
      WriteAll(pcm, std::string(4096, '\0'));
      std::string samples(static_cast<size_t>(rate) * channels * 2 * kFrames / kProjectFps, '\0');
      for (size_t i = 1; i < samples.size(); i += 2)
        samples[i] = static_cast<char>((i / 200) % 2 ? 0x10 : -0x10);
      WriteAll(pcm, samples);
    }
    CloseHandle(pcm);
  });
  if (problem.empty() && !ConnectNamedPipe(yuv, nullptr)) problem = "yuv pipe not connected";
  if (problem.empty()) {
    CYUVLib writer(1);
    media_tools::DibPicture picture(p.width, p.height, RGB(200, 120, 40));
    bool written = writer.InitYUV(yuv, p.width, p.height, static_cast<double>(kProjectFps), RGB(0, 0, 0), 1);
    for (int i = 0; written && i < kFrames; ++i)
      written = writer.AppendFrame(picture.bits.data(), p.width, p.height, 1, nullptr);
    if (!written) problem = "frames not written: " + std::to_string(GetLastError());
    writer.CloseFile();
  } else {
    CloseHandle(yuv);
  }
  audio.join();
  if (runner.WaitForConsoleTerminate(media_tools::kGuardMs) != 0) return "ffmpeg did not end";
  DWORD code = STILL_ACTIVE;
  runner.GetExitCode(&code);
  if (code != 0) {
    problem += " exit " + std::to_string(code) + ":";
    for (const auto& line : runner.GetLastLines()) problem += "\n  " + line;
  }
  return problem;
}

}  // namespace

TEST(ProfilesWithFfmpeg, EveryProfileKindIsAcceptedAndWritesBothStreams) {
  struct Case {
    Profile profile;
    bool photoAlbum;
  };
  const Case kCases[] = {
      {{"MP4 H.264/AAC", 2, "48000", 29.97, "2000", 320, 240, "libx264", "128", "aac", "mp4", "mp4"}, true},
      {{"MP4 video album", 2, "48000", 29.97, "2000", 320, 240, "libx264", "128", "aac", "mp4", "mp4"},
       false},
      {{"MOV", 2, "44100", 25, "1500", 320, 240, "libx264", "128", "AAC", "mov", "mov"}, true},
      {{"AVI MPEG-4/MP3", 2, "44100", 25, "1800", 320, 240, "mpeg4", "128", "mp3", "avi", "avi"}, true},
      {{"WMV", 2, "44100", 25, "1000", 320, 240, "wmv2", "128", "wmav2", "asf", "wmv"}, true},
      {{"FLV", 2, "44100", 25, "800", 320, 240, "flv", "96", "MP3", "flv", "flv"}, true},
      {{"3GP", 1, "8000", 15, "200", 176, 144, "h263", "12", "aac", "3gp", "3gp"}, true},
      {{"MPEG-2", 2, "48000", 25, "4000", 720, 576, "mpeg2video", "192", "mp2", "vob", "mpg"}, true},
      {{"WebM", 2, "48000", 30, "900", 320, 240, "libvpx", "96", "libvorbis", "webm", "webm"}, true},
  };
  for (const auto& c : kCases) {
    ScratchDir folder;
    const std::string output = folder / (std::string("Trip_Summer.") + c.profile.extension);
    EXPECT_EQ(EncodeAlbum(c.profile, c.photoAlbum, output), "") << c.profile.name;
    EXPECT_EQ(media_tools::StreamKinds(output), (std::vector<std::string>{"audio", "video"}))
        << c.profile.name;
    EXPECT_EQ(media_tools::ProbeVideo(output, "width,height"),
              std::to_string(c.profile.width) + "," + std::to_string(c.profile.height) + "\n")
        << c.profile.name;
  }
}
