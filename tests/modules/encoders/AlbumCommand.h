// The ffmpeg command of an album, built the way the encode worker builds it: the output profile's
// values, the two pipes, the album's title and output file.
#pragma once

#include <string>

#include "modules/encoders/CmdOpts.h"

namespace album_command {

constexpr char kPcmPipe[] = R"(\\.\pipe\zorv_vqrtz_pcm_pp)";
constexpr char kYuvPipe[] = R"(\\.\pipe\zorv_vqrtz_yuv420_pp)";

struct Profile {
  const char* name;
  int channels;
  const char* sampleRate;
  double frameRate;
  const char* videoBitRate;  // kbit/s
  int width, height;
  const char* videoCodec;
  const char* audioBitRate;  // kbit/s
  const char* audioCodec;    // as the profile names it
  const char* format;
  const char* extension;
};

// The program's own codec names: "mp3" and "aac" name the encoders it always asked for.
inline CString EncoderForAudioCodec(const char* codec) {
  CString name(codec);
  if (name.CompareNoCase("mp3") == 0) return "libmp3lame";
  if (name.CompareNoCase("aac") == 0) return "libfaac";
  return name;
}

// A photo album feeds PCM at the profile's channels and rate; a video album at 2 x 44100.
inline void BuildAlbumCommand(CFFMpegOpts& opts, const Profile& p, bool photoAlbum, const char* title,
                              const std::string& output) {
  opts.Add(CMDOPT_COMMAND, "-y");
  opts.Add(CMDOPT_COMMAND, "-metadata", "title=%s", title);
  opts.Add(CMDOPT_IN_PLACE, "-f", "s16le");
  if (photoAlbum) {
    opts.Add(CMDOPT_IN_PLACE, "-ac", "%d", p.channels);
    opts.Add(CMDOPT_IN_PLACE, "-ar", p.sampleRate);
  } else {
    opts.Add(CMDOPT_IN_PLACE, "-ac", "2");
    opts.Add(CMDOPT_IN_PLACE, "-ar", "44100");
  }
  opts.Add(CMDOPT_IN_PLACE, "-i", kPcmPipe);
  opts.Add(CMDOPT_IN_PLACE, "-f", "yuv4mpegpipe");
  opts.Add(CMDOPT_IN_PLACE, "-i", kYuvPipe);
  opts.Add(CMDOPT_IN_PLACE, "-r", "%.3lf", p.frameRate);
  opts.Add(CMDOPT_IN_PLACE, "-b", "%skb", p.videoBitRate);
  opts.Add(CMDOPT_IN_PLACE, "-s", "%dx%d", p.width, p.height);
  opts.Add(CMDOPT_IN_PLACE, "-aspect", "%d:%d", p.width, p.height);
  opts.Add(CMDOPT_IN_PLACE, "-vcodec", p.videoCodec);
  opts.Add(CMDOPT_IN_PLACE, "-ac", "%d", p.channels);
  opts.Add(CMDOPT_IN_PLACE, "-ar", p.sampleRate);
  opts.Add(CMDOPT_IN_PLACE, "-ab", "%skb", p.audioBitRate);
  opts.Add(CMDOPT_IN_PLACE, "-acodec", EncoderForAudioCodec(p.audioCodec));
  opts.Add(CMDOPT_IN_PLACE, "-f", p.format);
  opts.SetSourceFile(output.c_str());
}

}  // namespace album_command
