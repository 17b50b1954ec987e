#include "platform/base/StringFormat.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "platform/base/Utf8.h"

namespace pictavo {

namespace {

enum class Size { kDefault, kChar, kShort, k32, k64, kPointer, kLongDouble, kWide, kNarrow };

// Formats one value with a C conversion directive and appends the result.
template <class T>
void AppendOne(std::string& out, const std::string& spec, T value) {
  char small[128];
  const int n = std::snprintf(small, sizeof small, spec.c_str(), value);
  if (n < 0) return;
  if (static_cast<size_t>(n) < sizeof small) {
    out.append(small, static_cast<size_t>(n));
    return;
  }
  const size_t at = out.size();
  out.resize(at + static_cast<size_t>(n) + 1);
  std::snprintf(out.data() + at, static_cast<size_t>(n) + 1, spec.c_str(), value);
  out.resize(at + static_cast<size_t>(n));
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

void AppendFormatV(std::string& out, const char* format, va_list argsIn) {
  if (format == nullptr) return;
  va_list args;
  va_copy(args, argsIn);
  const char* p = format;
  while (*p != '\0') {
    const char* percent = std::strchr(p, '%');
    if (percent == nullptr) {
      out.append(p);
      break;
    }
    out.append(p, static_cast<size_t>(percent - p));
    p = percent + 1;
    if (*p == '%') {
      out.push_back('%');
      ++p;
      continue;
    }

    // Rebuild the directive for the C library, with '*' replaced by the argument's value.
    std::string spec = "%";
    while (*p != '\0' && std::strchr("-+ #0", *p) != nullptr) spec.push_back(*p++);
    if (*p == '*') {
      spec += std::to_string(va_arg(args, int));
      ++p;
    } else {
      while (IsDigit(*p)) spec.push_back(*p++);
    }
    if (*p == '.') {
      ++p;
      if (*p == '*') {
        const int precision = va_arg(args, int);
        if (precision >= 0) spec += "." + std::to_string(precision);  // negative: as if omitted
        ++p;
      } else {
        spec.push_back('.');
        while (IsDigit(*p)) spec.push_back(*p++);
      }
    }

    Size size = Size::kDefault;
    if (std::strncmp(p, "I64", 3) == 0) {
      size = Size::k64, p += 3;
    } else if (std::strncmp(p, "I32", 3) == 0) {
      size = Size::k32, p += 3;
    } else if (*p == 'I' || *p == 'z' || *p == 't') {
      size = Size::kPointer, ++p;
    } else if (*p == 'j' || (p[0] == 'l' && p[1] == 'l') || (p[0] == 'q')) {
      size = Size::k64, p += (*p == 'l') ? 2 : 1;
    } else if (*p == 'l' || *p == 'w') {
      size = Size::kWide, ++p;  // 32-bit integers, wide characters and strings
    } else if (p[0] == 'h' && p[1] == 'h') {
      size = Size::kChar, p += 2;
    } else if (*p == 'h') {
      size = Size::kNarrow, ++p;  // 16-bit integers, narrow characters and strings
    } else if (*p == 'L') {
      size = Size::kLongDouble, ++p;
    }

    const char conversion = *p;
    if (conversion == '\0') {  // truncated directive: keep it as written
      out.append(percent);
      break;
    }
    ++p;
    switch (conversion) {
      case 'd':
      case 'i': {
        long long value;
        switch (size) {
          case Size::kChar:
            value = static_cast<signed char>(va_arg(args, int));
            break;
          case Size::kNarrow:
            value = static_cast<short>(va_arg(args, int));
            break;
          case Size::k64:
          case Size::kLongDouble:
            value = va_arg(args, long long);
            break;
          case Size::kPointer:
            value = va_arg(args, intptr_t);
            break;
          default:
            value = va_arg(args, int);
            break;
        }
        AppendOne(out, spec + "lld", value);
        break;
      }
      case 'u':
      case 'o':
      case 'x':
      case 'X': {
        unsigned long long value;
        switch (size) {
          case Size::kChar:
            value = static_cast<unsigned char>(va_arg(args, unsigned));
            break;
          case Size::kNarrow:
            value = static_cast<unsigned short>(va_arg(args, unsigned));
            break;
          case Size::k64:
          case Size::kLongDouble:
            value = va_arg(args, unsigned long long);
            break;
          case Size::kPointer:
            value = va_arg(args, uintptr_t);
            break;
          default:
            value = va_arg(args, unsigned);
            break;
        }
        AppendOne(out, spec + "ll" + conversion, value);
        break;
      }
      case 'c':
      case 'C': {
        const bool wide = (conversion == 'C') ? size != Size::kNarrow : size == Size::kWide;
        const int value = va_arg(args, int);
        if (wide) {
          std::string text;
          utf8::AppendCodePoint(text, static_cast<char32_t>(static_cast<unsigned>(value)));
          AppendOne(out, spec + "s", text.c_str());
        } else {
          AppendOne(out, spec + "c", value);
        }
        break;
      }
      case 's':
      case 'S': {
        const bool wide = (conversion == 'S') ? size != Size::kNarrow : size == Size::kWide;
        if (wide) {
          const wchar_t* value = va_arg(args, const wchar_t*);
          const std::string text = value != nullptr ? utf8::FromWide(value) : std::string("(null)");
          AppendOne(out, spec + "s", text.c_str());
        } else {
          const char* value = va_arg(args, const char*);
          AppendOne(out, spec + "s", value != nullptr ? value : "(null)");
        }
        break;
      }
      case 'f':
      case 'F':
      case 'e':
      case 'E':
      case 'g':
      case 'G':
      case 'a':
      case 'A':
        if (size == Size::kLongDouble)
          AppendOne(out, spec + "L" + conversion, va_arg(args, long double));
        else
          AppendOne(out, spec + conversion, va_arg(args, double));
        break;
      case 'p': {
        const auto value = reinterpret_cast<uintptr_t>(va_arg(args, void*));
        AppendOne(out, "%0" + std::to_string(sizeof(void*) * 2) + "llX",
                  static_cast<unsigned long long>(value));
        break;
      }
      case 'n':
        static_cast<void>(va_arg(args, void*));
        break;
      default:  // unknown conversion: no argument is taken
        out.append(percent, static_cast<size_t>(p - percent));
        break;
    }
  }
  va_end(args);
}

std::string FormatV(const char* format, va_list args) {
  std::string out;
  AppendFormatV(out, format, args);
  return out;
}

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string out = FormatV(format, args);
  va_end(args);
  return out;
}

}  // namespace pictavo
