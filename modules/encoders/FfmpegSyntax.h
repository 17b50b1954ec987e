// Older ffmpeg option spellings turned into the ones today's ffmpeg accepts, so commands built
// the way the program always built them still run.
#pragma once

#include <optional>
#include <string>

namespace pictavo::encoders {

// Rewrites one option and its value in place:
// - "-b" and "-vb" become "-b:v", "-ab" becomes "-b:a", "-vcodec" "-c:v", "-acodec" "-c:a";
// - a bit rate with a "b" after its unit ("2000kb", "1.5Mb") loses the "b" ("2000k"): today's
//   ffmpeg refuses it;
// - the audio codec "libfaac" (not in any current ffmpeg) becomes the built-in "aac";
// - a "-r" rate of the NTSC family written as a decimal ("29.970", "23.976", "59.940") becomes
//   its exact fraction ("30000/1001"), which the decimal only approximates.
// Everything else is left as it is.
void ModernizeFfmpegOption(std::string& option, std::optional<std::string>& value);

}  // namespace pictavo::encoders
