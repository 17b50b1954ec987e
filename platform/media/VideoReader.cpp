#include "platform/media/VideoReader.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <optional>

extern "C" {
#include <libavutil/pixdesc.h>
}

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"
#include "platform/media/FfmpegSupport.h"

namespace pictavo::media {
namespace {

// Closer than this ahead of the last frame, decoding on is cheaper than seeking to a key frame.
constexpr MediaTime kForwardDecodeLimit = std::chrono::seconds(1);
constexpr MediaTime kDefaultFrameDuration = std::chrono::milliseconds(40);

struct Decoded {
  detail::FramePtr frame;
  MediaTime time{};
};

bool IsFullRange(const AVFrame& f) {
  switch (f.format) {
    case AV_PIX_FMT_YUVJ420P:
    case AV_PIX_FMT_YUVJ422P:
    case AV_PIX_FMT_YUVJ444P:
    case AV_PIX_FMT_YUVJ440P:
    case AV_PIX_FMT_YUVJ411P:
      return true;
    default:
      return f.color_range == AVCOL_RANGE_JPEG;
  }
}

// The matrix the frame was coded with; unmarked HD video is taken as BT.709, the rest as BT.601.
int ColorSpaceOf(const AVFrame& f) {
  switch (f.colorspace) {
    case AVCOL_SPC_BT709:
      return SWS_CS_ITU709;
    case AVCOL_SPC_FCC:
      return SWS_CS_FCC;
    case AVCOL_SPC_SMPTE240M:
      return SWS_CS_SMPTE240M;
    case AVCOL_SPC_BT2020_NCL:
    case AVCOL_SPC_BT2020_CL:
      return SWS_CS_BT2020;
    case AVCOL_SPC_UNSPECIFIED:
      return f.height >= 720 ? SWS_CS_ITU709 : SWS_CS_DEFAULT;
    default:
      return SWS_CS_DEFAULT;
  }
}

}  // namespace

BITMAPINFO FrameBitmapInfo(const VideoFrame& frame) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = frame.width;
  info.bmiHeader.biHeight = -frame.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(frame.pixels.size() * sizeof(uint32_t));
  return info;
}

HBITMAP CreateFrameDib(const VideoFrame& frame) {
  if (frame.width <= 0 || frame.height <= 0 ||
      frame.pixels.size() != static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const BITMAPINFO info = FrameBitmapInfo(frame);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) return nullptr;
  std::memcpy(bits, frame.pixels.data(), frame.pixels.size() * sizeof(uint32_t));
  return bitmap;
}

struct VideoReader::State {
  std::string path;
  detail::Input input;
  detail::StreamDecoder decoder;
  detail::ScalerPtr scaler;
  std::deque<Decoded> ahead;    // decoded, not yet delivered, in presentation order
  std::optional<Decoded> last;  // the frame NextFrame delivered last
  MediaTime frameDuration = kDefaultFrameDuration;
  MediaTime nextTime{};  // where a frame without a timestamp is assumed to start
  bool end = false;
  MediaError error;

  VideoResult Fail(MediaError failure) {
    error = std::move(failure);
    SetLastError(error.code);
    return VideoResult::kError;
  }

  VideoResult Decode(Decoded& out) {
    if (end) return VideoResult::kEnd;
    detail::FramePtr frame = detail::MakeFrame();
    switch (decoder.Next(input, frame.get(), path, "Cannot decode the video of", error)) {
      case detail::StreamDecoder::Result::kFrame:
        out.time = frame->best_effort_timestamp != AV_NOPTS_VALUE
                       ? input.StreamToMedia(decoder.stream, frame->best_effort_timestamp)
                       : nextTime;
        nextTime = out.time + frameDuration;
        out.frame = std::move(frame);
        return VideoResult::kFrame;
      case detail::StreamDecoder::Result::kEnd:
        break;
      case detail::StreamDecoder::Result::kError:
        SetLastError(error.code);
        return VideoResult::kError;
    }
    end = true;
    return VideoResult::kEnd;
  }

  VideoResult TakeNext(Decoded& out) {
    if (!ahead.empty()) {
      out = std::move(ahead.front());
      ahead.pop_front();
      return VideoResult::kFrame;
    }
    return Decode(out);
  }

  static Decoded Ref(const Decoded& d) {
    Decoded copy{detail::MakeFrame(), d.time};
    av_frame_ref(copy.frame.get(), d.frame.get());
    return copy;
  }

  bool HardSeek(MediaTime time) {
    const int64_t ts = input.MediaToStream(decoder.stream, time);
    const int result = av_seek_frame(input.format.get(), decoder.stream, ts, AVSEEK_FLAG_BACKWARD);
    if (result < 0) {
      Fail(detail::ErrorFromAv(result, path, "Cannot seek in"));
      return false;
    }
    decoder.Restart();
    ahead.clear();
    last.reset();
    end = false;
    nextTime = time;
    return true;
  }

  bool Seek(MediaTime time) {
    time = std::max(time, MediaTime::zero());
    const bool forward = last && time >= last->time && time - last->time <= kForwardDecodeLimit;
    if (!forward && !HardSeek(time)) return false;
    std::optional<Decoded> candidate;
    if (last) candidate = Ref(*last);
    for (;;) {
      Decoded next;
      const VideoResult result = TakeNext(next);
      if (result == VideoResult::kError) return false;
      if (result == VideoResult::kEnd) break;
      if (candidate && next.time > time) {
        ahead.push_front(std::move(next));
        break;
      }
      const bool onScreen = next.time <= time;
      candidate = std::move(next);
      if (!onScreen) break;  // `time` lies before the first frame
    }
    if (candidate) ahead.push_front(std::move(*candidate));
    last.reset();
    return true;
  }

  bool ScaleInto(const AVFrame& src, uint8_t* dst, int stride, int width, int height) {
    SwsContext* context =
        sws_getCachedContext(scaler.release(), src.width, src.height, static_cast<AVPixelFormat>(src.format),
                             width, height, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
    scaler.reset(context);
    if (!context) {
      const char* name = av_get_pix_fmt_name(static_cast<AVPixelFormat>(src.format));
      Fail(MediaError{ERROR_NOT_SUPPORTED, "Cannot convert the " + std::string(name ? name : "unknown") +
                                               " pictures of \"" + path + "\""});
      return false;
    }
    // RGB sources have no matrix; the call is then refused, harmlessly.
    sws_setColorspaceDetails(context, sws_getCoefficients(ColorSpaceOf(src)), IsFullRange(src) ? 1 : 0,
                             sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
    uint8_t* planes[4] = {dst, nullptr, nullptr, nullptr};
    int strides[4] = {stride, 0, 0, 0};
    sws_scale(context, src.data, src.linesize, 0, src.height, planes, strides);
    return true;
  }

  void SizeFor(const AVFrame& f, int& width, int& height) const {
    if (width <= 0 || height <= 0) {
      width = f.width;
      height = f.height;
    }
  }
};

VideoReader::VideoReader(std::unique_ptr<State> state) : m(std::move(state)) {}
VideoReader::~VideoReader() = default;

std::unique_ptr<VideoReader> VideoReader::Open(std::string_view path, MediaError* error) {
  auto fail = [&](MediaError failure) -> std::unique_ptr<VideoReader> {
    SetLastError(failure.code);
    if (error) *error = std::move(failure);
    return nullptr;
  };
  auto state = std::make_unique<State>();
  state->path = path;
  MediaError failure;
  if (!state->decoder.Open(path, &detail::Input::videoStream, "video", state->input, failure))
    return fail(std::move(failure));
  const MediaInfo& info = state->input.info;
  if (info.frameRateNum > 0)
    state->frameDuration = MediaTime(MediaTime::period::den * info.frameRateDen / info.frameRateNum);
  return std::unique_ptr<VideoReader>(new VideoReader(std::move(state)));
}

const MediaInfo& VideoReader::Info() const {
  return m->input.info;
}
const MediaError& VideoReader::Error() const {
  return m->error;
}

bool VideoReader::Seek(MediaTime time) {
  return m->Seek(time);
}

VideoResult VideoReader::NextFrame(VideoFrame& frame, int width, int height) {
  Decoded next;
  const VideoResult result = m->TakeNext(next);
  if (result != VideoResult::kFrame) return result;
  m->SizeFor(*next.frame, width, height);
  frame.width = width;
  frame.height = height;
  frame.time = next.time;
  frame.duration = m->frameDuration;
  frame.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  if (!m->ScaleInto(*next.frame, reinterpret_cast<uint8_t*>(frame.pixels.data()), width * 4, width, height))
    return VideoResult::kError;
  m->last = std::move(next);
  return VideoResult::kFrame;
}

VideoResult VideoReader::FrameAt(MediaTime time, VideoFrame& frame, int width, int height) {
  if (!Seek(time)) return VideoResult::kError;
  return NextFrame(frame, width, height);
}

VideoResult VideoReader::FrameAt(MediaTime time, gdi::Surface& target) {
  if (!Seek(time)) return VideoResult::kError;
  Decoded next;
  const VideoResult result = m->TakeNext(next);
  if (result != VideoResult::kFrame) return result;
  const int width = target.Width();
  const int height = target.Height();
  if (target.Stride() > 0) {
    if (!m->ScaleInto(*next.frame, reinterpret_cast<uint8_t*>(target.TopRow()),
                      static_cast<int>(target.Stride()), width, height))
      return VideoResult::kError;
  } else {
    // A bottom-up surface: scale top-down, then place the rows.
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    if (!m->ScaleInto(*next.frame, reinterpret_cast<uint8_t*>(pixels.data()), width * 4, width, height))
      return VideoResult::kError;
    for (int y = 0; y < height; ++y)
      std::copy_n(pixels.data() + static_cast<size_t>(y) * width, width, target.Row(y).data());
  }
  m->last = std::move(next);
  return VideoResult::kFrame;
}

}  // namespace pictavo::media
