// Inside the media layer only: owning pointers for FFmpeg's objects, time conversion, and the
// common steps of opening a file and a decoder.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <memory>
#include <string>
#include <string_view>

#include "platform/media/MediaTypes.h"

namespace pictavo::media::detail {

struct FormatCloser {
  void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct CodecFreer {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFreer {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFreer {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct ResamplerFreer {
  void operator()(SwrContext* s) const { swr_free(&s); }
};
struct ScalerFreer {
  void operator()(SwsContext* s) const { sws_freeContext(s); }
};
using FormatPtr = std::unique_ptr<AVFormatContext, FormatCloser>;
using CodecPtr = std::unique_ptr<AVCodecContext, CodecFreer>;
using FramePtr = std::unique_ptr<AVFrame, FrameFreer>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFreer>;
using ResamplerPtr = std::unique_ptr<SwrContext, ResamplerFreer>;
using ScalerPtr = std::unique_ptr<SwsContext, ScalerFreer>;

[[nodiscard]] FramePtr MakeFrame();
[[nodiscard]] PacketPtr MakePacket();

// FFmpeg's description of an error code.
std::string ErrorText(int averror);
// A MediaError for `path` from an FFmpeg error code, with `what` saying what was being done.
MediaError ErrorFromAv(int averror, std::string_view path, std::string_view what);

// Timestamps of a stream to media time and back.
MediaTime FromStreamTime(int64_t ts, AVRational timeBase);
int64_t ToStreamTime(MediaTime t, AVRational timeBase);

// An opened input: the container with its streams probed. Media time 0 is the container's start
// time, so audio and video of one file share one time line.
struct Input {
  FormatPtr format;
  MediaInfo info;
  int audioStream = -1;  // the best stream of each kind, -1 when there is none
  int videoStream = -1;
  int64_t startTime = 0;  // the container's start, in AV_TIME_BASE units

  // Stream timestamp to media time and back, relative to the container's start.
  MediaTime StreamToMedia(int streamIndex, int64_t ts) const;
  int64_t MediaToStream(int streamIndex, MediaTime t) const;
};

// Opens a file (`\` accepted as a separator) and probes its streams. Only local files are read:
// the path is never taken for a URL.
[[nodiscard]] bool OpenInput(std::string_view path, Input& input, MediaError& error);
// Opens a decoder for one stream of the input.
[[nodiscard]] CodecPtr OpenDecoder(const Input& input, int streamIndex, std::string_view path,
                                   MediaError& error);

// One stream's decoder fed from the input: reads packets as the decoder asks for them and skips
// damaged ones, giving up after too many in a row.
struct StreamDecoder {
  enum class Result { kFrame, kEnd, kError };

  int stream = -1;
  CodecPtr codec;
  PacketPtr packet = MakePacket();
  bool inputDone = false;  // the decoder has been told the input ended
  int badPackets = 0;      // damaged packets in a row

  // Opens `path` and a decoder for its best stream of the kind `streamOf` names (`kind` says it in
  // the error); the other streams' packets are discarded unread.
  [[nodiscard]] bool Open(std::string_view path, int Input::*streamOf, std::string_view kind, Input& input,
                          MediaError& error);
  // Decodes the next frame into `frame`. A read error ends the input early and is noted in
  // `error`; kError: the stream cannot be decoded, `error` says why (`what` names the stream).
  [[nodiscard]] Result Next(const Input& input, AVFrame* frame, std::string_view path, std::string_view what,
                            MediaError& error);
  // After a seek: what the decoder holds is dropped and reading starts again.
  void Restart();
};

}  // namespace pictavo::media::detail
