#include "platform/media/FfmpegSupport.h"

#include <mutex>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Path.h"

namespace pictavo::media::detail {
namespace {

// A stream that keeps failing to decode is given up after this many damaged packets in a row.
constexpr int kMaxBadPacketsInARow = 64;
constexpr AVRational kMediaTimeBase{1, static_cast<int>(MediaTime::period::den)};

// Damaged files make the libraries talk on stderr; we report every failure ourselves.
void QuietLibraries() {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_FATAL); });
}

DWORD CodeFromAv(int averror) {
  switch (averror) {
    case AVERROR_INVALIDDATA:
    case AVERROR_EOF:
      return ERROR_BAD_FORMAT;
    case AVERROR_DECODER_NOT_FOUND:
    case AVERROR_DEMUXER_NOT_FOUND:
    case AVERROR_STREAM_NOT_FOUND:
    case AVERROR_PATCHWELCOME:
      return ERROR_NOT_SUPPORTED;
    default:
      break;
  }
  if (averror < 0 && averror > -4096) {
    const DWORD code = ErrorFromErrno(AVUNERROR(averror));
    return code == ERROR_GEN_FAILURE ? ERROR_READ_FAULT : code;
  }
  return ERROR_BAD_FORMAT;
}

bool IsCoverArt(const AVStream* stream) {
  return (stream->disposition & AV_DISPOSITION_ATTACHED_PIC) != 0;
}

void FillInfo(Input& input) {
  AVFormatContext* f = input.format.get();
  MediaInfo& info = input.info;
  info.container = f->iformat && f->iformat->name ? f->iformat->name : "";
  input.startTime = f->start_time == AV_NOPTS_VALUE ? 0 : f->start_time;

  input.audioStream = av_find_best_stream(f, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  if (input.audioStream < 0) input.audioStream = -1;
  input.videoStream = -1;
  const int video = av_find_best_stream(f, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (video >= 0 && !IsCoverArt(f->streams[video])) input.videoStream = video;

  if (input.audioStream >= 0) {
    const AVCodecParameters* p = f->streams[input.audioStream]->codecpar;
    info.hasAudio = true;
    info.sampleRate = p->sample_rate;
    info.channels = p->ch_layout.nb_channels;
    info.audioCodec = avcodec_get_name(p->codec_id);
  }
  if (input.videoStream >= 0) {
    const AVStream* s = f->streams[input.videoStream];
    info.hasVideo = true;
    info.width = s->codecpar->width;
    info.height = s->codecpar->height;
    AVRational rate =
        s->avg_frame_rate.num > 0 && s->avg_frame_rate.den > 0 ? s->avg_frame_rate : s->r_frame_rate;
    if (rate.num > 0 && rate.den > 0) {
      av_reduce(&rate.num, &rate.den, rate.num, rate.den, 1 << 30);
      info.frameRateNum = rate.num;
      info.frameRateDen = rate.den;
    }
    info.videoCodec = avcodec_get_name(s->codecpar->codec_id);
  }

  if (f->duration != AV_NOPTS_VALUE && f->duration > 0) {
    info.duration = FromStreamTime(f->duration, AV_TIME_BASE_Q);
  } else {
    for (const int index : {input.audioStream, input.videoStream}) {
      if (index < 0) continue;
      const AVStream* s = f->streams[index];
      if (s->duration != AV_NOPTS_VALUE && s->duration > 0)
        info.duration = std::max(info.duration, FromStreamTime(s->duration, s->time_base));
    }
  }
}

}  // namespace

FramePtr MakeFrame() {
  FramePtr frame(av_frame_alloc());
  if (!frame) throw std::bad_alloc();
  return frame;
}

PacketPtr MakePacket() {
  PacketPtr packet(av_packet_alloc());
  if (!packet) throw std::bad_alloc();
  return packet;
}

std::string ErrorText(int averror) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(averror, text, sizeof text);
  return text;
}

MediaError ErrorFromAv(int averror, std::string_view path, std::string_view what) {
  return MediaError{CodeFromAv(averror),
                    std::string(what) + " \"" + std::string(path) + "\": " + ErrorText(averror)};
}

MediaTime FromStreamTime(int64_t ts, AVRational timeBase) {
  return MediaTime(av_rescale_q(ts, timeBase, kMediaTimeBase));
}

int64_t ToStreamTime(MediaTime t, AVRational timeBase) {
  return av_rescale_q(t.count(), kMediaTimeBase, timeBase);
}

MediaTime Input::StreamToMedia(int streamIndex, int64_t ts) const {
  const AVStream* s = format->streams[streamIndex];
  return FromStreamTime(ts, s->time_base) - FromStreamTime(startTime, AV_TIME_BASE_Q);
}

int64_t Input::MediaToStream(int streamIndex, MediaTime t) const {
  const AVStream* s = format->streams[streamIndex];
  return ToStreamTime(t + FromStreamTime(startTime, AV_TIME_BASE_Q), s->time_base);
}

bool OpenInput(std::string_view path, Input& input, MediaError& error) {
  QuietLibraries();
  // The "file:" protocol keeps a name with a colon, or one that looks like a URL, a local file.
  const std::string url = "file:" + path::ToNative(path);
  AVFormatContext* raw = nullptr;
  int result = avformat_open_input(&raw, url.c_str(), nullptr, nullptr);
  if (result < 0) {
    error = ErrorFromAv(result, path, "Cannot open");
    // The demuxers report data they cannot make sense of in several ways.
    if (error.code == ERROR_BAD_FORMAT || error.code == ERROR_INVALID_PARAMETER) {
      error.code = ERROR_BAD_FORMAT;
      error.message = "\"" + std::string(path) + "\" is damaged or not in a known media format";
    }
    return false;
  }
  input.format.reset(raw);
  result = avformat_find_stream_info(raw, nullptr);
  if (result < 0) {
    error = ErrorFromAv(result, path, "Cannot read the streams of");
    return false;
  }
  FillInfo(input);
  if (!input.info.hasAudio && !input.info.hasVideo) {
    error = MediaError{ERROR_NOT_SUPPORTED, "No audio or video stream in \"" + std::string(path) + "\""};
    return false;
  }
  return true;
}

CodecPtr OpenDecoder(const Input& input, int streamIndex, std::string_view path, MediaError& error) {
  const AVStream* stream = input.format->streams[streamIndex];
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  if (!codec) {
    error = MediaError{ERROR_NOT_SUPPORTED, "No decoder for the " +
                                                std::string(avcodec_get_name(stream->codecpar->codec_id)) +
                                                " stream of \"" + std::string(path) + "\""};
    return nullptr;
  }
  CodecPtr context(avcodec_alloc_context3(codec));
  if (!context) throw std::bad_alloc();
  int result = avcodec_parameters_to_context(context.get(), stream->codecpar);
  if (result >= 0) {
    context->pkt_timebase = stream->time_base;
    result = avcodec_open2(context.get(), codec, nullptr);
  }
  if (result < 0) {
    error = ErrorFromAv(result, path, "Cannot decode");
    return nullptr;
  }
  return context;
}

bool StreamDecoder::Open(std::string_view path, int Input::*streamOf, std::string_view kind, Input& input,
                         MediaError& error) {
  if (!OpenInput(path, input, error)) return false;
  stream = input.*streamOf;
  if (stream < 0) {
    error = MediaError{ERROR_NOT_SUPPORTED,
                       "No " + std::string(kind) + " stream in \"" + std::string(path) + "\""};
    return false;
  }
  codec = OpenDecoder(input, stream, path, error);
  if (!codec) return false;
  for (unsigned i = 0; i < input.format->nb_streams; ++i)
    if (static_cast<int>(i) != stream) input.format->streams[i]->discard = AVDISCARD_ALL;
  return true;
}

StreamDecoder::Result StreamDecoder::Next(const Input& input, AVFrame* frame, std::string_view path,
                                          std::string_view what, MediaError& error) {
  const auto countBadPacket = [&](int result) {
    if (result == AVERROR(ENOMEM) || ++badPackets > kMaxBadPacketsInARow) {
      error = ErrorFromAv(result, path, what);
      return false;
    }
    return true;
  };
  for (;;) {
    int result = avcodec_receive_frame(codec.get(), frame);
    if (result == 0) {
      badPackets = 0;
      return Result::kFrame;
    }
    if (result == AVERROR_EOF) return Result::kEnd;
    if (result != AVERROR(EAGAIN)) {
      if (!countBadPacket(result)) return Result::kError;
      continue;
    }
    // The decoder wants input after being told there is none: it is done.
    if (inputDone) return Result::kEnd;
    result = av_read_frame(input.format.get(), packet.get());
    if (result < 0) {
      if (result != AVERROR_EOF) error = ErrorFromAv(result, path, "Cannot read");
      avcodec_send_packet(codec.get(), nullptr);
      inputDone = true;
      continue;
    }
    if (packet->stream_index == stream) {
      result = avcodec_send_packet(codec.get(), packet.get());
      if (result < 0 && result != AVERROR(EAGAIN) && !countBadPacket(result)) {
        av_packet_unref(packet.get());
        return Result::kError;
      }
    }
    av_packet_unref(packet.get());
  }
}

void StreamDecoder::Restart() {
  avcodec_flush_buffers(codec.get());
  inputDone = false;
  badPackets = 0;
}

}  // namespace pictavo::media::detail
