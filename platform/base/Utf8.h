// UTF-8 helpers for the multibyte side of the platform: wide (wchar_t, UTF-32 here) text to and
// from UTF-8, and the length of one multibyte character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pictavo::utf8 {

// Appends the UTF-8 form of one code point; invalid code points become U+FFFD.
void AppendCodePoint(std::string& out, char32_t cp);
// UTF-8 form of wide text; invalid code units become U+FFFD.
std::string FromWide(std::wstring_view wide);
// Wide form of UTF-8 text; malformed sequences become U+FFFD, one per bad byte.
std::wstring ToWide(std::string_view text);
// Bytes of the multibyte character that starts at `text[0]`: 1 for ASCII, for a malformed or
// truncated sequence and for a stray continuation byte, else the sequence length. 0 when empty.
size_t CharLength(std::string_view text);

}  // namespace pictavo::utf8
