// The YUV4MPEG2 stream header: picture size, frame rate as an exact fraction, pixel aspect,
// interlacing and chroma placement.
#pragma once

#include <optional>
#include <string>

namespace pictavo::yuv {

struct Fraction {
  int num = 0;
  int den = 1;
  friend bool operator==(const Fraction&, const Fraction&) = default;
};

// The rate as the stream header writes it. Whole rates are n:1; the NTSC family given as
// decimals (29.97, 23.976, 59.94, 14.985 ...) is its exact n*1000:1001; any other rate is kept to
// a thousandth and reduced (12.5 is 25:2). Nothing for a rate that is not finite and within
// (0, 1000].
[[nodiscard]] std::optional<Fraction> FrameRateFraction(double framesPerSecond);

// The pixel aspect of a width x height picture that fills a 4:3 screen (720 x 576 gives 16:15,
// 720 x 480 gives 8:9), reduced.
[[nodiscard]] Fraction PixelAspectOn43Screen(int width, int height);

struct StreamFormat {
  int width = 0;
  int height = 0;
  Fraction rate;
  Fraction pixelAspect{1, 1};
};

// The colours a frame's samples stand for, as ffmpeg names them. HD frames (more than 576 lines,
// or wider than 1024) are BT.709, the rest BT.601 (its 625-line primaries for 576 and 288 lines),
// all in the limited range; players assume the same for untagged video, and the tags say it.
enum class ColourMatrix { kBt601, kBt709 };
struct ColourTags {
  ColourMatrix matrix;
  const char* colorspace;  // -colorspace
  const char* primaries;   // -color_primaries
  const char* transfer;    // -color_trc
  const char* range;       // -color_range
};
[[nodiscard]] ColourTags ColourOf(int width, int height);

// "YUV4MPEG2 W.. H.. F..:.. Ip A..:.. C420jpeg XCOLORRANGE=LIMITED\n". Frames are whole pictures
// (progressive). C420jpeg: the chroma of every 2 x 2 block is the mean of its four pixels, which
// places it at the block's centre (see FrameComposer). The samples use ColourOf's matrix with the
// limited (16-235) range encoders expect.
[[nodiscard]] std::string StreamHeader(const StreamFormat& format);

// What precedes the planes of every frame.
inline constexpr char kFrameMarker[] = "FRAME\n";
inline constexpr size_t kFrameMarkerSize = sizeof kFrameMarker - 1;

}  // namespace pictavo::yuv
