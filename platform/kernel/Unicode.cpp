#include "platform/kernel/Unicode.h"

#include <climits>
#include <cstring>
#include <cwchar>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/base/Utf8.h"
#include "platform/registry/Names.h"

namespace pictavo::unicode {

bool IsValidUtf8(std::string_view text) {
  for (size_t pos = 0; pos < text.size();)
    if (DecodeUtf8(text, pos) == kInvalid) return false;
  return true;
}

namespace {

// A wide string may carry UTF-16 surrogate pairs (text that came from a 16-bit source); a pair
// is one code point, a lone surrogate is invalid.
char32_t NextWide(std::wstring_view text, size_t& pos) {
  const char32_t c = static_cast<char32_t>(text[pos++]);
  if (c >= 0xD800 && c <= 0xDBFF && pos < text.size()) {
    const char32_t low = static_cast<char32_t>(text[pos]);
    if (low >= 0xDC00 && low <= 0xDFFF) {
      ++pos;
      return 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
    }
  }
  if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return kInvalid;
  return c;
}

}  // namespace

char32_t FoldCase(char32_t c) {
  return registry::FoldCodePoint(c);
}

std::string FoldCase(std::string_view text) {
  return registry::FoldName(text);
}

namespace {

// The next folded code point; invalid bytes map above the Unicode range so they sort last and
// never equal a letter.
char32_t NextFolded(std::string_view text, size_t& pos) {
  const unsigned char lead = static_cast<unsigned char>(text[pos]);
  const char32_t cp = DecodeUtf8(text, pos);
  return cp == kInvalid ? 0x110000 + lead : FoldCase(cp);
}

}  // namespace

int CompareNoCase(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const char32_t x = NextFolded(a, i);
    const char32_t y = NextFolded(b, j);
    if (x != y) return x < y ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return CompareNoCase(a, b) == 0;
}

}  // namespace pictavo::unicode

namespace {

using namespace pictavo::unicode;

bool IsUtf8CodePage(UINT codePage) {
  return codePage == CP_ACP || codePage == CP_OEMCP || codePage == CP_MACCP || codePage == CP_THREAD_ACP ||
         codePage == CP_UTF8;
}

int Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteLength, LPWSTR wide,
                        int wideLength) {
  if (!IsUtf8CodePage(codePage)) return Fail(ERROR_INVALID_PARAMETER);
  if (multiByte == nullptr || multiByteLength == 0 || multiByteLength < -1 || wideLength < 0 ||
      (wideLength > 0 && wide == nullptr))
    return Fail(ERROR_INVALID_PARAMETER);
  const DWORD allowed = codePage == CP_UTF8
                            ? MB_ERR_INVALID_CHARS
                            : (MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS);
  if ((flags & ~allowed) != 0) return Fail(ERROR_INVALID_FLAGS);

  const size_t length =
      multiByteLength == -1 ? std::strlen(multiByte) + 1 : static_cast<size_t>(multiByteLength);
  const std::string_view text(multiByte, length);
  const bool strict = (flags & MB_ERR_INVALID_CHARS) != 0;
  size_t count = 0;
  for (size_t pos = 0; pos < text.size();) {
    char32_t cp = DecodeUtf8(text, pos);
    if (cp == kInvalid) {
      if (strict) return Fail(ERROR_NO_UNICODE_TRANSLATION);
      cp = kReplacement;
    }
    if (wideLength > 0) {
      if (count >= static_cast<size_t>(wideLength)) return Fail(ERROR_INSUFFICIENT_BUFFER);
      wide[count] = static_cast<wchar_t>(cp);
    }
    ++count;
    if (count > INT_MAX) return Fail(ERROR_INVALID_PARAMETER);
  }
  return static_cast<int>(count);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideLength, LPSTR multiByte,
                        int multiByteLength, LPCSTR defaultChar, LPBOOL usedDefaultChar) {
  if (!IsUtf8CodePage(codePage)) return Fail(ERROR_INVALID_PARAMETER);
  if (wide == nullptr || wideLength == 0 || wideLength < -1 || multiByteLength < 0 ||
      (multiByteLength > 0 && multiByte == nullptr))
    return Fail(ERROR_INVALID_PARAMETER);
  if (codePage == CP_UTF8) {
    if (defaultChar != nullptr || usedDefaultChar != nullptr) return Fail(ERROR_INVALID_PARAMETER);
    if ((flags & ~WC_ERR_INVALID_CHARS) != 0) return Fail(ERROR_INVALID_FLAGS);
  } else if ((flags & ~(WC_COMPOSITECHECK | WC_DISCARDNS | WC_SEPCHARS | WC_DEFAULTCHAR |
                        WC_ERR_INVALID_CHARS | WC_NO_BEST_FIT_CHARS)) != 0) {
    return Fail(ERROR_INVALID_FLAGS);
  }

  const size_t length = wideLength == -1 ? std::wcslen(wide) + 1 : static_cast<size_t>(wideLength);
  const std::wstring_view text(wide, length);
  const bool strict = (flags & WC_ERR_INVALID_CHARS) != 0;
  BOOL usedDefault = FALSE;
  std::string out;
  out.reserve(length);
  for (size_t pos = 0; pos < text.size();) {
    const char32_t cp = NextWide(text, pos);
    if (cp != kInvalid) {
      pictavo::utf8::AppendCodePoint(out, cp);
    } else if (strict) {
      return Fail(ERROR_NO_UNICODE_TRANSLATION);
    } else if (defaultChar != nullptr && *defaultChar != '\0') {
      out += *defaultChar;
      usedDefault = TRUE;
    } else {
      pictavo::utf8::AppendCodePoint(out, kReplacement);
      usedDefault = TRUE;
    }
    if (out.size() > INT_MAX) return Fail(ERROR_INVALID_PARAMETER);
  }
  if (usedDefaultChar != nullptr) *usedDefaultChar = usedDefault;
  if (multiByteLength > 0) {
    if (out.size() > static_cast<size_t>(multiByteLength)) return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(multiByte, out.data(), out.size());
  }
  return static_cast<int>(out.size());
}
