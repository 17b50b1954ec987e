// The image directory of .ico and .cur files.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/res/Templates.h"

namespace pictavo::res {

// The images of an icon (cursor = false) or cursor file, in file order; nullopt with the reason
// when the file is damaged or of the other kind.
std::optional<std::vector<IconImage>> ReadIconDirectory(std::span<const BYTE> file, bool cursor,
                                                        std::string& error);
// The index of the image that suits cx x cy best (see FindIconImage).
size_t ChooseIconImage(const std::vector<IconImage>& images, int cx, int cy);

}  // namespace pictavo::res
