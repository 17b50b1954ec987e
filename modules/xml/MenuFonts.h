// Fonts of menu texts: creation at a pixel height, measuring, and shortening a text to a width.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "modules/xml/MenuTemplate.h"
#include "platform/gdi/Gdi.h"

namespace pictavo::menu {

struct GdiObjectDeleter {
  void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
using FontPtr = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;

// The style's face and weight with cells `height` pixels high (ascent plus descent).
FontPtr CreateMenuFont(const TextStyle& style, int height);
// Width and height of `text` in the style at its own size (menu units), shadow not included.
SIZE MeasureText(const TextStyle& style, std::string_view text);
// `text`, or as much of it as fits `maxWidth` followed by an ellipsis ("…"); the whole text when
// maxWidth is 0 or less.
std::string FitText(const TextStyle& style, std::string_view text, int maxWidth);

}  // namespace pictavo::menu
