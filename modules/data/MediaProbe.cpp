#include "modules/data/MediaProbe.h"

#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <string_view>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

#include "platform/kernel/Path.h"

namespace pictavo::data {
namespace {

struct InputCloser {
  void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};

int64_t ToMs(int64_t value, AVRational base) {
  return value == AV_NOPTS_VALUE ? 0 : av_rescale_q(value, base, AVRational{1, 1000});
}

}  // namespace

std::optional<MediaFacts> ProbeMedia(const std::string& given) {
  static std::once_flag quiet;
  std::call_once(quiet, [] { av_log_set_level(AV_LOG_QUIET); });
  const std::string path = pictavo::path::ToNative(given);
  // Only regular files: a FIFO would block the probe.
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  AVFormatContext* raw = nullptr;
  if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) return std::nullopt;
  std::unique_ptr<AVFormatContext, InputCloser> context(raw);
  if (avformat_find_stream_info(context.get(), nullptr) < 0) return std::nullopt;
  MediaFacts facts;
  if (context->duration != AV_NOPTS_VALUE && context->duration > 0)
    facts.durationMs = context->duration / 1000;
  for (unsigned i = 0; i < context->nb_streams; ++i) {
    const AVStream* stream = context->streams[i];
    const AVCodecParameters* codec = stream->codecpar;
    facts.durationMs = std::max(facts.durationMs, ToMs(stream->duration, stream->time_base));
    if (codec->codec_type == AVMEDIA_TYPE_AUDIO) facts.hasAudio = true;
    if (codec->codec_type == AVMEDIA_TYPE_VIDEO && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC) &&
        !facts.hasVideo) {
      facts.hasVideo = true;
      facts.width = codec->width;
      facts.height = codec->height;
      const AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
      facts.frameRate = rate.den > 0 ? av_q2d(rate) : 0;
      facts.dvVideo = codec->codec_id == AV_CODEC_ID_DVVIDEO;
    }
  }
  // A picture file is read by the image demuxers as a video of one frame; it is no clip.
  const std::string_view demuxer =
      context->iformat != nullptr && context->iformat->name != nullptr ? context->iformat->name : "";
  if (demuxer.find("image2") != std::string_view::npos || demuxer.ends_with("_pipe")) facts.hasVideo = false;
  if (!facts.hasAudio && !facts.hasVideo) return std::nullopt;
  return facts;
}

}  // namespace pictavo::data
