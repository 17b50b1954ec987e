// What a media file holds (streams, sizes, rates, codecs, duration), read without decoding.
#pragma once

#include <string_view>

#include "platform/media/MediaTypes.h"

namespace pictavo::media {

// False, with the last error set to error->code, for a missing, damaged or unsupported file or
// one with neither audio nor video. `\` is accepted as a separator.
[[nodiscard]] bool ProbeMedia(std::string_view path, MediaInfo& info, MediaError* error = nullptr);

}  // namespace pictavo::media
