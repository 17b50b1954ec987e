// printf-style formatting with the platform's conventions, for CString::Format and every other
// printf-like entry point of our layers:
//  - `l` on an integer conversion is 32 bits (LONG, DWORD), as on the platform; `I64` and `ll`
//    are 64 bits, `I32` 32 bits, `I`, `z` and `t` pointer-sized, `h` 16 and `hh` 8 bits;
//  - `%S`, `%ls` and `%ws` take wide strings, `%C`, `%lc` and `%wc` wide characters; both are
//    written as UTF-8 (`%hs` and `%hc` are narrow, as `%s` and `%c`);
//  - a null string pointer prints "(null)"; `%n` writes nothing; `%p` prints the pointer as
//    upper-case hexadecimal digits, zero-padded to the pointer width;
//  - a malformed conversion is copied to the output as written.
#pragma once

#include <cstdarg>
#include <string>

namespace pictavo {

void AppendFormatV(std::string& out, const char* format, va_list args);
std::string FormatV(const char* format, va_list args);
std::string Format(const char* format, ...);

}  // namespace pictavo
