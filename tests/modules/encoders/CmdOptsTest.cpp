// The command builder: ffmpeg commands in today's syntax as argument vectors, the program part,
// and the log line.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "modules/encoders/CmdOpts.h"
#include "modules/encoders/FfmpegSyntax.h"
#include "modules/encoders/ProgramPath.h"
#include "platform/kernel/Module.h"
#include "platform/kernel/ProcessCommandLine.h"
#include "platform/kernel/ProcessLookup.h"
#include "tests/modules/encoders/AlbumCommand.h"
#include "tests/platform/kernel/FileTestSupport.h"

using album_command::kPcmPipe;
using album_command::kYuvPipe;
using album_command::Profile;
using Args = std::vector<std::string>;

namespace {

Args WithoutProgram(const CCmdOpts& opts) {
  Args argv = opts.GetArguments();
  if (!argv.empty()) argv.erase(argv.begin());
  return argv;
}

void MakeExecutable(const std::string& path) {
  WriteWholeFile(path, "#!/bin/sh\nexit 0\n");
  ::chmod(path.c_str(), 0755);
}

}  // namespace

// The album commands of the output profile kinds, as ffmpeg receives them.
TEST(FfmpegCommand, AlbumCommandsPerProfileKind) {
  struct Case {
    Profile profile;
    bool photoAlbum;
    Args want;
  };
  // clang-format off
  const Case kCases[] = {
      {{"MP4 MPEG-4/AAC, stereo 48 kHz", 2, "48000", 29.97, "2000", 640, 480, "mpeg4", "128", "aac", "mp4", "mp4"},
       true,
       {"-f", "s16le", "-ac", "2", "-ar", "48000", "-i", kPcmPipe,
        "-f", "yuv4mpegpipe", "-i", kYuvPipe,
        "-y", "-metadata", "title=Summer",
        "-r", "30000/1001", "-b:v", "2000k", "-s", "640x480", "-aspect", "640:480", "-c:v", "mpeg4",
        "-ac", "2", "-ar", "48000", "-b:a", "128k", "-c:a", "aac", "-f", "mp4", "/v/Trip_Summer.mp4"}},
      {{"MP4 H.264/AAC, video album", 2, "48000", 25, "1500", 1280, 720, "libx264", "160", "AAC", "mp4", "mp4"},
       false,
       {"-f", "s16le", "-ac", "2", "-ar", "44100", "-i", kPcmPipe,
        "-f", "yuv4mpegpipe", "-i", kYuvPipe,
        "-y", "-metadata", "title=Summer",
        "-r", "25.000", "-b:v", "1500k", "-s", "1280x720", "-aspect", "1280:720", "-c:v", "libx264",
        "-ac", "2", "-ar", "48000", "-b:a", "160k", "-c:a", "aac", "-f", "mp4", "/v/Trip_Summer.mp4"}},
      {{"AVI MPEG-4/MP3", 2, "44100", 23.976, "1800", 720, 480, "mpeg4", "192", "mp3", "avi", "avi"},
       true,
       {"-f", "s16le", "-ac", "2", "-ar", "44100", "-i", kPcmPipe,
        "-f", "yuv4mpegpipe", "-i", kYuvPipe,
        "-y", "-metadata", "title=Summer",
        "-r", "24000/1001", "-b:v", "1800k", "-s", "720x480", "-aspect", "720:480", "-c:v", "mpeg4",
        "-ac", "2", "-ar", "44100", "-b:a", "192k", "-c:a", "libmp3lame", "-f", "avi", "/v/Trip_Summer.mp4"}},
      {{"WebM, mono, codec named as ffmpeg names it", 1, "48000", 30, "900", 480, 360, "libvpx", "96", "libvorbis",
        "webm", "webm"},
       true,
       {"-f", "s16le", "-ac", "1", "-ar", "48000", "-i", kPcmPipe,
        "-f", "yuv4mpegpipe", "-i", kYuvPipe,
        "-y", "-metadata", "title=Summer",
        "-r", "30.000", "-b:v", "900k", "-s", "480x360", "-aspect", "480:360", "-c:v", "libvpx",
        "-ac", "1", "-ar", "48000", "-b:a", "96k", "-c:a", "libvorbis", "-f", "webm", "/v/Trip_Summer.mp4"}},
  };
  // clang-format on
  for (const auto& c : kCases) {
    CFFMpegOpts opts;
    album_command::BuildAlbumCommand(opts, c.profile, c.photoAlbum, "Summer", R"(\v\Trip_Summer.mp4)");
    EXPECT_EQ(WithoutProgram(opts), c.want) << c.profile.name;
  }
}

TEST(FfmpegCommand, OlderSpellingsBecomeTodaysSyntax) {
  struct Case {
    const char* option;
    const char* value;  // null: an option without a value
    const char* wantOption;
    const char* wantValue;
  };
  const Case kCases[] = {
      {"-b", "2000kb", "-b:v", "2000k"},
      {"-vb", "800kb", "-b:v", "800k"},
      {"-ab", "128kb", "-b:a", "128k"},
      {"-b", "1.5Mb", "-b:v", "1.5M"},
      {"-b:v", "2000k", "-b:v", "2000k"},
      {"-b", "2000000", "-b:v", "2000000"},
      {"-vcodec", "mpeg4", "-c:v", "mpeg4"},
      {"-acodec", "libfaac", "-c:a", "aac"},
      {"-acodec", "LibFAAC", "-c:a", "aac"},
      {"-acodec", "libmp3lame", "-c:a", "libmp3lame"},
      {"-acodec", "vorbis", "-c:a", "vorbis"},
      {"-r", "29.970", "-r", "30000/1001"},
      {"-r", "59.940", "-r", "60000/1001"},
      {"-r", "25.000", "-r", "25.000"},
      {"-r", "12.500", "-r", "12.500"},
      {"-r", "ntsc", "-r", "ntsc"},
      {"-f", "mp4", "-f", "mp4"},
      {"-y", nullptr, "-y", nullptr},
  };
  for (const auto& c : kCases) {
    std::string option = c.option;
    std::optional<std::string> value;
    if (c.value) value = c.value;
    pictavo::encoders::ModernizeFfmpegOption(option, value);
    EXPECT_EQ(option, c.wantOption) << c.option << " " << (c.value ? c.value : "");
    EXPECT_EQ(value.has_value(), c.wantValue != nullptr) << c.option;
    if (value && c.wantValue) {
      EXPECT_EQ(*value, c.wantValue) << c.option << " " << c.value;
    }
  }
}

TEST(CommandBuilder, ValuesAreVerbatimOrFormatted) {
  CCmdOpts opts;
  opts.m_strProgram = "/bin/true";
  const CString rate("48000");
  opts.Add(CMDOPT_IN_PLACE, "-a", "100% \"quoted\" & piped | ok");
  opts.Add(CMDOPT_IN_PLACE, "-b", "%d:%s", 7, "x");
  opts.Add(CMDOPT_IN_PLACE, "-c", "%s Hz", rate);
  opts.Add(CMDOPT_IN_PLACE, "-d");
  EXPECT_EQ(WithoutProgram(opts),
            (Args{"-a", "100% \"quoted\" & piped | ok", "-b", "7:x", "-c", "48000 Hz", "-d"}));
}

TEST(CommandBuilder, KindsDecideTheOrderPerFlavour) {
  // Plain and tsMuxeR builders: whole-command options first, the others as added.
  CCmdOpts plain;
  plain.m_strProgram = "/bin/true";
  plain.Add(CMDOPT_IN_PLACE, "a");
  plain.Add(CMDOPT_COMMAND, "-g");
  plain.Add(CMDOPT_IN_PLACE, "b");
  plain.SetSourceFile("out");
  EXPECT_EQ(WithoutProgram(plain), (Args{"-g", "a", "b", "out"}));

  CtsMuxeROpts muxer;
  muxer.m_strProgram = "/bin/true";
  muxer.Add(CMDOPT_IN_PLACE, "/tmp/temp.meta");
  muxer.Add(CMDOPT_IN_PLACE, "/tmp/Bluray_Folder");
  EXPECT_EQ(WithoutProgram(muxer), (Args{"/tmp/temp.meta", "/tmp/Bluray_Folder"}));

  // ffmpeg without inputs: the whole-command options lead.
  CFFMpegOpts noInput;
  noInput.Add(CMDOPT_IN_PLACE, "-version");
  noInput.Add(CMDOPT_COMMAND, "-y");
  EXPECT_EQ(WithoutProgram(noInput), (Args{"-y", "-version"}));
}

TEST(CommandBuilder, LogLineSplitsBackIntoTheArguments) {
  CFFMpegOpts opts;
  album_command::BuildAlbumCommand(
      opts, {"MP4", 2, "48000", 25, "2000", 640, 480, "mpeg4", "128", "aac", "mp4", "mp4"}, true,
      R"(Trip "Summer" & Co | Grüße \ 100%)", R"(/videos/Trip "Summer" & Co | Grüße.mp4)");
  const Args argv = opts.GetArguments();
  const char* line = opts;
  EXPECT_EQ(pictavo::kernel::SplitCommandLine(line), argv) << line;
}

TEST(ProgramPart, FoundBesideTheExecutableThenAlongPath) {
  ScratchDir folder;
  const std::string gnu = folder / "gnu";
  ASSERT_TRUE(std::filesystem::create_directory(gnu));
  MakeExecutable(gnu + "/ffmpeg");
  const std::string elsewhere = folder / "elsewhere";
  ASSERT_TRUE(std::filesystem::create_directory(elsewhere));
  MakeExecutable(elsewhere + "/ffmpeg");
  const auto onPath = pictavo::kernel::FindProgram("ffmpeg");
  ASSERT_TRUE(onPath) << "ffmpeg is not installed";

  struct Case {
    std::string programPart, helperFolder, want;
  };
  const Case kCases[] = {
      {"", gnu, gnu + "/ffmpeg"},
      {"", folder / "empty", *onPath},
      {"ffmpeg", gnu, gnu + "/ffmpeg"},
      {"cmd.exe /c \"\"" + folder.Path() + R"(\gnu\ffmpeg.exe")", "", gnu + "/ffmpeg"},
      {"CMD /C \"" + folder.Path() + R"(\gnu\ffmpeg.exe")", "", gnu + "/ffmpeg"},
      {elsewhere + "/ffmpeg", gnu, elsewhere + "/ffmpeg"},
      {folder / "missing/ffmpeg.exe", gnu, gnu + "/ffmpeg"},
      {folder / "missing/ffmpeg.exe", "", *onPath},
      {"  ffmpeg  ", "", *onPath},
      {"no-such-program-here", gnu, "no-such-program-here"},
      {folder / "missing/no-such.exe", gnu, folder / "missing/no-such.exe"},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(pictavo::encoders::ProgramArguments(c.programPart, "ffmpeg", c.helperFolder), Args{c.want})
        << "[" << c.programPart << "] helper [" << c.helperFolder << "]";
}

TEST(ProgramPart, HelperFolderIsGnuBesideTheExecutable) {
  EXPECT_EQ(std::string(Dravik_GetExeFilePath()), pictavo::ExecutableFolder());
  EXPECT_EQ(pictavo::encoders::HelperProgramFolder(), pictavo::ExecutableFolder() + "/gnu");
  CCmdOpts nothing;
  EXPECT_TRUE(nothing.GetArguments().empty());
}
