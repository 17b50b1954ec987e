// UTF-8 helpers for the multibyte side of the platform: decoding one character, wide (wchar_t,
// UTF-32 here) text to and from UTF-8, and the length of one multibyte character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pictavo::utf8 {

inline constexpr char32_t kReplacement = 0xFFFD;
inline constexpr char32_t kInvalid = 0xFFFFFFFF;

// Decodes the code point at `pos` (inside `text`) and advances past it. Malformed input (overlong
// forms, surrogates, truncated sequences, values past U+10FFFF, stray bytes) gives kInvalid and
// advances one byte.
char32_t Decode(std::string_view text, size_t& pos);
// Appends the UTF-8 form of one code point; invalid code points become U+FFFD.
void AppendCodePoint(std::string& out, char32_t cp);
// UTF-8 form of wide text; invalid code units become U+FFFD.
std::string FromWide(std::wstring_view wide);
// Wide form of UTF-8 text; malformed sequences become U+FFFD, one per bad byte.
std::wstring ToWide(std::string_view text);
// Bytes of the multibyte character that starts at `text[0]`: 1 for ASCII, for a malformed or
// truncated sequence and for a stray continuation byte, else the sequence length. 0 when empty.
size_t CharLength(std::string_view text);
// Copies `text` into a fixed field of `size` bytes (a record's char[N]): always terminated, cut
// before the first character that would not fit whole, the rest of the field zeroed. The bytes
// copied.
size_t CopyToField(char* field, size_t size, std::string_view text);
template <size_t N>
size_t CopyToField(char (&field)[N], std::string_view text) {
  return CopyToField(field, N, text);
}

}  // namespace pictavo::utf8
