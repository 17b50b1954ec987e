#include "platform/base/Utf8.h"

#include <cstring>

namespace pictavo::utf8 {

char32_t Decode(std::string_view text, size_t& pos) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  size_t extra;
  char32_t cp;
  char32_t minimum;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07, minimum = 0x10000;
  } else {
    ++pos;
    return kInvalid;
  }
  if (pos + extra >= text.size()) {  // the sequence is cut short
    ++pos;
    return kInvalid;
  }
  for (size_t i = 1; i <= extra; ++i) {
    const unsigned char c = byte(pos + i);
    if ((c & 0xC0) != 0x80) {
      ++pos;
      return kInvalid;
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return kInvalid;
  }
  pos += extra + 1;
  return cp;
}

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
  for (size_t pos = 0; pos < text.size();) {
    const char32_t cp = Decode(text, pos);
    out.push_back(static_cast<wchar_t>(cp == kInvalid ? kReplacement : cp));
  }
  return out;
}

size_t CharLength(std::string_view text) {
  if (text.empty()) return 0;
  size_t pos = 0;
  static_cast<void>(Decode(text, pos));
  return pos;
}

size_t CopyToField(char* field, size_t size, std::string_view text) {
  if (field == nullptr || size == 0) return 0;
  size_t used = 0;
  while (used < text.size()) {
    const size_t length = CharLength(text.substr(used));
    if (used + length > size - 1) break;
    used += length;
  }
  std::memcpy(field, text.data(), used);
  std::memset(field + used, 0, size - used);
  return used;
}

}  // namespace pictavo::utf8
