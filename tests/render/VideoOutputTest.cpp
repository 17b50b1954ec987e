// The video output with the real ffmpeg: a project becomes one file per album, named as the
// output page shows, with the length, frames, size, rate and streams the albums call for; and a
// run that cannot finish ends promptly, says why and leaves no file behind.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDProject.h"
#include "modules/data/OutputProfile.h"
#include "modules/log/Log.h"
#include "platform/media/ExitWindows.h"
#include "shell/SlideshowApp.h"
#include "tests/render/VideoOutputFixture.h"

using rendertest::Probe;
using rendertest::VideoOutputTest;
namespace fs = std::filesystem;

TEST_F(VideoOutputTest, EveryAlbumBecomesAFileAsLongAsTheAlbum) {
  struct Case {
    const char* group;
    const char* extension;
    const char* videoCodec;
    const char* audioCodec;
  };
  const Case kCases[] = {
      {"MP4", "mp4", "h264", "aac"},
      {"AVI", "avi", "mpeg4", "mp3"},
      {"WebM", "webm", "vp8", "vorbis"},
  };
  MakeTwoAlbumProject();
  for (const auto& c : kCases) {
    UseGroup(c.group);
    const int fps = GetProject()->Get_nFramesPerSecond();
    ASSERT_EQ(fps, 25);
    CEncodeVideoDlg dlg;
    const Run run = Encode(dlg);
    ASSERT_TRUE(run.finished) << c.group;
    EXPECT_EQ(run.result, 1u) << c.group << ": " << static_cast<LPCTSTR>(dlg.GetLastFailure());
    EXPECT_EQ(run.albumsStarted, (std::vector<WPARAM>{0, 1})) << c.group;
    EXPECT_GT(run.progressReports, 0) << c.group;

    for (int a = 0; a < 2; ++a) {
      const auto* album = static_cast<const CDVDAlbumImage*>(GetProject()->GetAlbum(a));
      const std::string file = m_dir / ("out/" + std::string(c.group) + "/Trip_" +
                                        std::string(album->Get_strAlbumName()) + "." + c.extension);
      ASSERT_TRUE(fs::exists(file)) << file;
      const int seconds = album->GetTotalLength();
      EXPECT_EQ(Probe(file, "stream=codec_name", "v:0"), c.videoCodec) << file;
      EXPECT_EQ(Probe(file, "stream=codec_name", "a:0"), c.audioCodec) << file;
      EXPECT_EQ(Probe(file, "stream=width,height", "v:0"), "320\n240") << file;
      EXPECT_EQ(Probe(file, "stream=r_frame_rate", "v:0"), "25/1") << file;
      EXPECT_EQ(Probe(file, "stream=nb_read_frames", "v:0"), std::to_string(seconds * fps)) << file;
      EXPECT_NEAR(std::stod(Probe(file, "format=duration")), seconds, 0.1) << file;
      EXPECT_NEAR(
          std::stod(Probe(file, "stream=duration", "a:0") == "N/A" ? Probe(file, "format=duration")
                                                                   : Probe(file, "stream=duration", "a:0")),
          seconds, 0.1)
          << file;
    }
    for (const auto& file : OutputFiles()) EXPECT_EQ(file.find(".partial"), std::string::npos) << file;
  }
}

TEST_F(VideoOutputTest, OutputFilesAreNamedAfterTheProjectAndTheAlbum) {
  struct Case {
    const char* project;  // "" untitled
    const char* album;
    std::vector<const char*> existing;
    const char* name;
    const char* written = nullptr;  // where the data model last wrote it, when not the project itself
  };
  const Case kCases[] = {
      {"", "Summer", {}, "Summer.mp4"},
      {"", "Summer", {"Summer.mp4"}, "Summer_0001.mp4"},
      {"", "Summer", {}, "Summer.mp4", "untitled-copy.r7m"},
      {"Trip.r7m", "Summer", {}, "Trip_Summer.mp4"},
      {"Holiday.r7m", "Summer", {}, "Holiday_Summer.mp4", "untitled-copy.r7m"},  // saved from an untitled one
      {"Trip.r7m", "Summer", {"Trip_Summer.mp4", "Trip_Summer_0001.mp4"}, "Trip_Summer_0002.mp4"},
      {"Trip.r7m", "a/b: c?", {}, "Trip_a_b_ c_.mp4"},
      {"Trip.r7m", "Say \"Cheese\" & Smile | Été 東京", {}, "Trip_Say _Cheese_ & Smile _ Été 東京.mp4"},
  };
  for (const auto& c : kCases) {
    fs::remove_all(m_dir / "out");
    GetProject()->NewProject();
    CDVDAlbumImage* album = rendertest::AddPhotoAlbum(*GetProject(), c.album);
    if (*c.project) ASSERT_TRUE(GetProject()->SaveToFile((m_dir / c.project).c_str()));
    if (c.written) ASSERT_TRUE(GetProject()->SaveToFile((m_dir / c.written).c_str()));
    theApp.SetProjectPath(*c.project ? (m_dir / c.project).c_str() : "");
    fs::create_directories(m_dir / "out/MP4");
    for (const char* existing : c.existing)
      rendertest::WriteWholeFile(m_dir / ("out/MP4/" + std::string(existing)), "x");
    CEncodeVideoDlg dlg;
    EXPECT_EQ(std::string(dlg.MakeOutputFileName(album)), m_dir / ("out/MP4/" + std::string(c.name)))
        << c.album;
  }
}

TEST_F(VideoOutputTest, TheCommandUsesTodaysOptionsAndPassesNamesAsTheyAre) {
  struct Case {
    const char* group;
    std::vector<std::string> audio;  // what follows the sample rate of the output
  };
  const Case kCases[] = {
      {"MP4", {"-b:a", "128k", "-c:a", "aac"}},
      {"AVI", {"-b:a", "128k", "-c:a", "libmp3lame"}},
      {"WebM", {"-b:a", "128k", "-c:a", "libvorbis"}},
  };
  const std::string title = "Say \"Cheese\" & Smile | Été";
  for (const auto& c : kCases) {
    CAVOutputProfile* profile = UseGroup(c.group);
    profile->GetOption(AVOPT_AUDIO_BITRATE)->strValue = "128";
    const auto argv = CEncodeVideoDlg::BuildFfmpegCommand(*profile, title.c_str(), TRUE, "/out/a b.mp4");
    ASSERT_GT(argv.size(), 4u);
    const std::vector<std::string> inputs = {"-f",
                                             "s16le",
                                             "-ac",
                                             "2",
                                             "-ar",
                                             std::string(profile->Get_strAudioSampleRate()),
                                             "-i",
                                             R"(\\.\pipe\zorv_vqrtz_pcm_pp)",
                                             "-f",
                                             "yuv4mpegpipe",
                                             "-i",
                                             R"(\\.\pipe\zorv_vqrtz_yuv420_pp)",
                                             "-y",
                                             "-metadata",
                                             "title=" + title};
    EXPECT_TRUE(std::equal(inputs.begin(), inputs.end(), argv.begin() + 1)) << c.group;
    EXPECT_TRUE(std::search(argv.begin(), argv.end(), c.audio.begin(), c.audio.end()) != argv.end())
        << c.group;
    const std::vector<std::string> video = {"-b:v", "600k", "-s", "320x240", "-aspect", "320:240"};
    EXPECT_TRUE(std::search(argv.begin(), argv.end(), video.begin(), video.end()) != argv.end()) << c.group;
    EXPECT_EQ(argv.back(), "/out/a b.mp4");
  }
}

TEST_F(VideoOutputTest, NamesWithQuotesAmpersandsBarsAndAccentsReachTheFileIntact) {
  const std::string name = "Say \"Cheese\" & Smile | Été 東京";
  CDVDAlbumImage* album = rendertest::AddPhotoAlbum(*GetProject(), name.c_str());
  rendertest::AddSlide(*album, Photo("one.jpg", 320, 240, RGB(200, 0, 0)), 1, 1, "Fade[TransitionLib]");
  ASSERT_TRUE(GetProject()->SaveToFile((m_dir / "Trip.r7m").c_str()));
  theApp.SetProjectPath((m_dir / "Trip.r7m").c_str());
  CEncodeVideoDlg dlg;
  const Run run = Encode(dlg);
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.result, 1u) << static_cast<LPCTSTR>(dlg.GetLastFailure());
  const std::string file = m_dir / "out/MP4/Trip_Say _Cheese_ & Smile _ Été 東京.mp4";
  ASSERT_TRUE(fs::exists(file));
  EXPECT_EQ(std::string(dlg.GetLastOutputFile()), file);
  EXPECT_EQ(Probe(file, "format_tags=title"), name);
}

TEST_F(VideoOutputTest, AnFfmpegKilledMidRunFailsTheRunAndLeavesNoFile) {
  MakeLongAlbum("Long");
  CEncodeVideoDlg dlg;
  bool killed = false;
  const Run run = Encode(dlg, [&] { killed = KillOwnFfmpeg(); });
  ASSERT_TRUE(killed);
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.result, 0u);
  EXPECT_NE(std::string(dlg.GetLastFailure()).find("ffmpeg"), std::string::npos)
      << static_cast<LPCTSTR>(dlg.GetLastFailure());
  EXPECT_EQ(OutputFiles(), std::vector<std::string>{});
}

TEST_F(VideoOutputTest, CancelStopsEveryWorkerAndLeavesNoFile) {
  MakeLongAlbum("Long");
  MakeLongAlbum("Longer");
  CEncodeVideoDlg dlg;
  bool allStopped = false;
  const Run run = Encode(dlg, [&] {
    dlg.StopWorkers();
    // StopWorkers came back because the three workers of the album ended, not by its time limit.
    allStopped = WaitForMultipleObjects(3, dlg.m_hWorkerEvents, TRUE, 0) == WAIT_OBJECT_0;
  });
  ASSERT_TRUE(run.finished);
  EXPECT_TRUE(allStopped);
  EXPECT_EQ(run.result, 0u);
  EXPECT_EQ(run.albumsStarted, std::vector<WPARAM>{0});
  EXPECT_EQ(std::string(dlg.GetLastFailure()), "The video output was cancelled.");
  EXPECT_EQ(OutputFiles(), std::vector<std::string>{});
}

TEST_F(VideoOutputTest, AnOutputFolderThatCannotBeWrittenFailsAtOnce) {
  struct Case {
    const char* name;
    std::string outputPath;
    bool readOnly;
    const char* says;
  };
  rendertest::WriteWholeFile(m_dir / "a-file", "x");
  std::vector<Case> cases = {{"below a file", m_dir / "a-file/out", false, "cannot be made"}};
  if (::geteuid() != 0) cases.push_back({"read-only", m_dir / "out", true, "cannot be written"});
  CDVDAlbumImage* album = rendertest::AddPhotoAlbum(*GetProject(), "Summer");
  rendertest::AddSlide(*album, Photo("one.jpg", 320, 240, RGB(200, 0, 0)), 1, 1, "Fade[TransitionLib]");
  for (const auto& c : cases) {
    m_manager->Set_strOutputPath(c.outputPath.c_str());
    if (c.readOnly) {
      fs::create_directories(c.outputPath + "/MP4");
      fs::permissions(c.outputPath + "/MP4", fs::perms::owner_read | fs::perms::owner_exec);
    }
    CEncodeVideoDlg dlg;
    const Run run = Encode(dlg);
    ASSERT_TRUE(run.finished) << c.name;
    EXPECT_EQ(run.result, 0u) << c.name;
    EXPECT_NE(std::string(dlg.GetLastFailure()).find(c.says), std::string::npos)
        << c.name << ": " << static_cast<LPCTSTR>(dlg.GetLastFailure());
    EXPECT_EQ(run.progressReports, 0) << "ffmpeg never started: " << c.name;
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{}) << c.name;
  }
}

TEST(ShutdownComputer, AsksTheSessionToPowerOffWithoutForcingPrograms) {
  std::vector<std::vector<std::string>> asked;
  pictavo::media::SetSessionCommandRunner([&](const std::vector<std::string>& argv) {
    asked.push_back(argv);
    return pictavo::media::SessionCommandOutcome::kAccepted;
  });
  EXPECT_EQ(ShutdownComputer(), 1);
  pictavo::media::SetSessionCommandRunner(nullptr);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked.front(), pictavo::media::SessionEndCommands(EWX_SHUTDOWN | EWX_POWEROFF).front());
}

TEST_F(VideoOutputTest, AVideoAlbumBecomesAFileOfItsClips) {
  const std::string clip = m_dir / "clips/walk.mp4";
  fs::create_directories(m_dir / "clips");
  ASSERT_TRUE(rendertest::Run({"ffmpeg", "-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                               "testsrc=size=320x240:rate=25:duration=3", "-f", "lavfi", "-i",
                               "sine=duration=3", "-c:v", "mpeg4", "-c:a", "aac", "-shortest", clip}));
  CDVDAlbumMovie* album = GetProject()->AllocMovieAlbum(nullptr);
  album->Set_strAlbumName("Clips");
  GetProject()->AddAlbum(album);
  ASSERT_NE(album->InsertVideoFile(clip.c_str(), clip.c_str(), nullptr, 0), nullptr);
  CEncodeVideoDlg dlg;
  const Run run = Encode(dlg);
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.result, 1u) << static_cast<LPCTSTR>(dlg.GetLastFailure());
  const std::string file = m_dir / "out/MP4/Clips.mp4";
  ASSERT_TRUE(fs::exists(file));
  EXPECT_EQ(Probe(file, "stream=nb_read_frames", "v:0"), "75");
  EXPECT_NEAR(std::stod(Probe(file, "format=duration")), 3.0, 0.1);
  EXPECT_EQ(dlg.m_nAlbumFrameTotal.load(), 75u);
}

TEST_F(VideoOutputTest, AnAlbumWhosePartiesCannotStartFailsAtOnce) {
  struct Case {
    const char* name;
    const char* path;      // PATH while the run starts ffmpeg
    const char* channels;  // of the profile's sound
    const char* says;
  };
  const Case kCases[] = {
      {"ffmpeg missing", "/nonexistent", "2", "ffmpeg could not be started"},
      {"music decoder refusing", nullptr, "3", "music of the album could not be decoded"},
  };
  CDVDAlbumImage* album = rendertest::AddPhotoAlbum(*GetProject(), "Summer");
  rendertest::AddSlide(*album, Photo("one.jpg", 320, 240, RGB(200, 0, 0)), 1, 1, "Fade[TransitionLib]");
  const std::string path = getenv("PATH");
  for (const auto& c : kCases) {
    UseGroup("MP4")->GetOption(AVOPT_AUDIO_CHANNELS)->strValue = c.channels;
    if (c.path != nullptr) setenv("PATH", c.path, 1);
    CEncodeVideoDlg dlg;
    const Run run = Encode(dlg);
    setenv("PATH", path.c_str(), 1);
    ASSERT_TRUE(run.finished) << c.name;
    EXPECT_EQ(run.result, 0u) << c.name;
    EXPECT_NE(std::string(dlg.GetLastFailure()).find(c.says), std::string::npos)
        << c.name << ": " << static_cast<LPCTSTR>(dlg.GetLastFailure());
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{}) << c.name;
  }
}
