#include "platform/base/Utf8.h"

namespace pictavo::utf8 {

namespace {
constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// Decodes one sequence at the start of `text`; returns its length (0 for an empty view) and
// sets `cp` (U+FFFD with length 1 for anything malformed).
size_t Decode(std::string_view text, char32_t& cp) {
  if (text.empty()) return 0;
  const auto b0 = static_cast<unsigned char>(text[0]);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  size_t len;
  char32_t value;
  char32_t minimum;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, value = b0 & 0x1F, minimum = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, value = b0 & 0x0F, minimum = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, value = b0 & 0x07, minimum = 0x10000;
  } else {
    cp = kReplacement;
    return 1;
  }
  if (text.size() < len) {
    cp = kReplacement;
    return 1;
  }
  for (size_t i = 1; i < len; ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (!IsContinuation(b)) {
      cp = kReplacement;
      return 1;
    }
    value = (value << 6) | (b & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    cp = kReplacement;
    return 1;
  }
  cp = value;
  return len;
}
}  // namespace

void AppendCodePoint(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string FromWide(std::wstring_view wide) {
  std::string out;
  out.reserve(wide.size());
  for (wchar_t wc : wide) AppendCodePoint(out, static_cast<char32_t>(wc));
  return out;
}

std::wstring ToWide(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  while (!text.empty()) {
    char32_t cp = 0;
    const size_t len = Decode(text, cp);
    out.push_back(static_cast<wchar_t>(cp));
    text.remove_prefix(len);
  }
  return out;
}

size_t CharLength(std::string_view text) {
  char32_t cp = 0;
  return Decode(text, cp);
}

}  // namespace pictavo::utf8
