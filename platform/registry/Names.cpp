#include "platform/registry/Names.h"

#include "platform/base/Utf8.h"

namespace pictavo::registry {

std::string FoldName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  while (!name.empty()) {
    const size_t length = utf8::CharLength(name);
    const auto lead = static_cast<unsigned char>(name[0]);
    if (lead < 0x80) {
      out += static_cast<char>(FoldCodePoint(lead));
    } else if (length == 1) {
      out += name[0];  // not UTF-8: compared as it is
    } else {
      const std::wstring wide = utf8::ToWide(name.substr(0, length));
      utf8::AppendCodePoint(out, FoldCodePoint(static_cast<char32_t>(wide[0])));
    }
    name.remove_prefix(length);
  }
  return out;
}

bool NamesEqual(std::string_view a, std::string_view b) {
  return FoldName(a) == FoldName(b);
}

}  // namespace pictavo::registry
