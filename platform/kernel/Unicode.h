// Text conversion between the multibyte strings the program uses (UTF-8) and wide strings
// (wchar_t holds one code point), and the case-insensitive comparison that file names, ini files
// and registry names share.
#pragma once

#include <string>
#include <string_view>

#include "platform/base/Utf8.h"
#include "platform/base/WinTypes.h"

// Every "ANSI" code page is UTF-8 here, so the program's CP_ACP conversions and explicit UTF-8
// conversions behave the same. Other code pages are refused with ERROR_INVALID_PARAMETER.
#define CP_ACP 0u
#define CP_OEMCP 1u
#define CP_MACCP 2u
#define CP_THREAD_ACP 3u
#define CP_UTF7 65000u
#define CP_UTF8 65001u

#define MB_PRECOMPOSED 0x00000001u
#define MB_COMPOSITE 0x00000002u
#define MB_USEGLYPHCHARS 0x00000004u
#define MB_ERR_INVALID_CHARS 0x00000008u

#define WC_COMPOSITECHECK 0x00000200u
#define WC_DISCARDNS 0x00000010u
#define WC_SEPCHARS 0x00000020u
#define WC_DEFAULTCHAR 0x00000040u
#define WC_ERR_INVALID_CHARS 0x00000080u
#define WC_NO_BEST_FIT_CHARS 0x00000400u

// A length of -1 converts up to and including the terminating NUL; an output size of 0 asks for
// the size needed. Invalid input becomes U+FFFD unless the *_ERR_INVALID_CHARS flag asks for
// ERROR_NO_UNICODE_TRANSLATION. A short output buffer fails with ERROR_INSUFFICIENT_BUFFER.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteLength, LPWSTR wide,
                        int wideLength);
// lpDefaultChar and lpUsedDefaultChar must be null for CP_UTF8. For the other code pages the
// default character replaces invalid input (lone surrogates, values past U+10FFFF).
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideLength, LPSTR multiByte,
                        int multiByteLength, LPCSTR defaultChar, LPBOOL usedDefaultChar);

namespace pictavo::unicode {

inline constexpr char32_t kReplacement = utf8::kReplacement;
inline constexpr char32_t kInvalid = utf8::kInvalid;

// Decodes the code point at `pos` and advances past it. Malformed input (overlong forms,
// surrogates, truncated sequences, values past U+10FFFF) gives kInvalid and advances one byte.
inline char32_t DecodeUtf8(std::string_view text, size_t& pos) {
  return utf8::Decode(text, pos);
}
bool IsValidUtf8(std::string_view text);
// Plain conversions without error reporting live in platform/base/Utf8.h.

// Case folding shared with the registry (platform/registry/Names.h): Latin, Greek and Cyrillic
// letters fold to lower case, everything else compares as it is.
char32_t FoldCase(char32_t codePoint);
// The folded form of a UTF-8 string, for use as a lookup key. Invalid bytes are kept unchanged.
std::string FoldCase(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
// <0, 0, >0 by folded code points: the order in which folders list their entries.
int CompareNoCase(std::string_view a, std::string_view b);

}  // namespace pictavo::unicode
