// The notations in which our XML files write numbers and colours (see README.md). Both parsers
// accept the whole text or nothing: a value with anything left over is not a value.
#pragma once

#include <optional>
#include <string_view>

#include "platform/base/WinTypes.h"

namespace pictavo::xml {

// A decimal integer with an optional sign, surrounded by optional blanks; nothing when the text
// is not one or does not fit an int.
[[nodiscard]] std::optional<int> ParseInt(std::string_view text);

// A colour as a COLORREF (0x00BBGGRR): "#RRGGBB", "RRGGBB" (exactly six hex digits), "r,g,b"
// (three decimals 0..255) or a plain decimal number taken as the value itself, which is how the
// skin's pixel heights come through the colour reader.
[[nodiscard]] std::optional<DWORD> ParseColor(std::string_view text);

}  // namespace pictavo::xml
