#include "platform/media/MediaProbe.h"

#include "platform/base/LastError.h"
#include "platform/media/FfmpegSupport.h"

namespace pictavo::media {

bool ProbeMedia(std::string_view path, MediaInfo& info, MediaError* error) {
  detail::Input input;
  MediaError failure;
  if (!detail::OpenInput(path, input, failure)) {
    SetLastError(failure.code);
    if (error) *error = std::move(failure);
    return false;
  }
  info = input.info;
  return true;
}

}  // namespace pictavo::media
