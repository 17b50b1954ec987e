#include "disc/engines/WebAlbumText.h"

#include <string>
#include <string_view>

#include "platform/base/Utf8.h"

CString HtmlEscape(LPCTSTR text) {
  std::string out;
  for (const char* p = text; p != nullptr && *p != '\0'; ++p) {
    switch (*p) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      case '$':
        out += "&#36;";
        break;
      default:
        out += *p;
        break;
    }
  }
  return CString(std::move(out));
}

CString UrlEncodeName(LPCTSTR name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char* p = name; p != nullptr && *p != '\0'; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '.' || c == '_' || c == '~';
    if (plain) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return CString(std::move(out));
}

CString ShortenLabel(LPCTSTR label) {
  const std::string_view text = label != nullptr ? label : "";
  size_t characters = 0;
  size_t cutAt = 0;  // byte offset after the 8th character
  for (size_t i = 0; i < text.size();) {
    i += pictavo::utf8::CharLength(text.substr(i));
    ++characters;
    if (characters == 8) cutAt = i;
  }
  if (characters <= 10) return CString(text);
  return CString(text.substr(0, cutAt)) + "..";
}
