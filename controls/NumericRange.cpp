#include "controls/NumericRange.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace numeric_range {

namespace {

constexpr int kMaxPositions = 0x7FFF;  // the largest position the up-down control takes
constexpr double kEpsilon = 1e-9;

std::string Printf(const char* format, double value) {
  char small[64];
  const int n = std::snprintf(small, sizeof small, format, value);
  if (n < 0) return {};
  if (static_cast<size_t>(n) < sizeof small) return std::string(small, static_cast<size_t>(n));
  std::string text(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, value);
  text.resize(static_cast<size_t>(n));
  return text;
}

// Trailing zeros, then a trailing decimal point, off a number without exponent.
void TrimTrailingZeros(std::string& text, char decimalPoint) {
  if (text.find(decimalPoint) == std::string::npos) return;
  while (!text.empty() && text.back() == '0') text.pop_back();
  while (!text.empty() && text.back() == decimalPoint) text.pop_back();
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// The later of the last occurrences of two characters, npos when neither occurs.
size_t LastOfEither(std::string_view text, char one, char two) {
  const size_t a = text.rfind(one), b = text.rfind(two);
  if (a == std::string_view::npos) return b;
  if (b == std::string_view::npos) return a;
  return std::max(a, b);
}

}  // namespace

int PositionsFor(double minimum, double maximum, double step) {
  const double quotient = std::fabs((maximum - minimum) / step);
  if (!(quotient < kMaxPositions)) return kMaxPositions;  // also catches NaN and infinity
  return static_cast<int>(quotient);
}

int IntPosFor(double minimum, double maximum, int positions, double value) {
  if (std::isnan(value)) return 0;
  if (value < minimum) return 0;
  if (value > maximum) return positions;
  const double fraction = (value - minimum) / (maximum - minimum);
  // A reversed range (maximum below minimum) still lands inside 0..positions.
  return static_cast<int>(std::clamp(fraction, 0.0, 1.0) * positions + 0.5);
}

double StepValue(double minimum, double maximum, double step, double current, int delta, bool wrap) {
  double v = current + delta * step;
  if (!std::isfinite(v)) return delta < 0 ? (wrap ? maximum : minimum) : (wrap ? minimum : maximum);
  if (delta < 0) {
    const double tolerance = std::max(std::fabs(std::max(v, minimum) * kEpsilon), kEpsilon);
    if (minimum - v > tolerance) v = wrap ? maximum : minimum;
  } else {
    const double tolerance = std::max(std::fabs(std::max(v, maximum) * kEpsilon), kEpsilon);
    if (v - maximum > tolerance) v = wrap ? minimum : maximum;
  }
  return v;
}

std::string FormatValue(double value, int decimals, bool trimZeros, char decimalPoint) {
  if (decimals < 0) return Printf("%g", value);
  // More digits than a double holds only print noise.
  decimals = std::min(decimals, DBL_DIG);
  const bool exponent = Printf("%g", value).find('e') != std::string::npos;
  char format[16];
  std::snprintf(format, sizeof format, exponent ? "%%.%de" : "%%.%df", decimals);
  std::string text = Printf(format, value);
  if (!trimZeros || text.find(decimalPoint) == std::string::npos) return text;
  if (!exponent) {
    TrimTrailingZeros(text, decimalPoint);
    return text;
  }
  const size_t e = text.find('e');
  std::string mantissa = text.substr(0, e);
  TrimTrailingZeros(mantissa, decimalPoint);
  return mantissa + text.substr(e);
}

bool IsValueFormat(std::string_view format) {
  int conversions = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (++i < format.size() && format[i] == '%') continue;
    while (i < format.size() && std::strchr("-+ #0", format[i])) ++i;
    while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i]))) ++i;
    if (i < format.size() && format[i] == '.') {
      ++i;
      while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i]))) ++i;
    }
    if (i >= format.size() || !std::strchr("eEfFgGaA", format[i])) return false;
    ++conversions;
  }
  return conversions == 1;
}

bool ParseDouble(std::string_view text, double* out) {
  const std::string copy(text);  // strtod needs the terminating zero
  const char* p = copy.c_str();
  while (IsBlank(*p)) ++p;
  char* end = nullptr;
  const double value = std::strtod(p, &end);
  // Nothing read at all is no number, whatever strtod returned; neither is "nan" or "inf".
  if (end == p || !std::isfinite(value)) return false;
  while (IsBlank(*end)) ++end;
  if (*end != '\0') return false;
  *out = value;
  return true;
}

bool CheckRange(double value, std::string_view text, std::string* message) {
  if (message) message->clear();
  const size_t open = LastOfEither(text, '[', '(');
  if (open == std::string_view::npos) return true;
  const size_t comma = text.rfind(',');
  if (comma == std::string_view::npos || comma < open) return true;
  const size_t close = LastOfEither(text, ']', ')');
  if (close == std::string_view::npos || close < comma) return true;
  const bool lowerInclusive = text[open] == '[';
  const bool upperInclusive = text[close] == ']';
  const std::string_view lowerText = Trimmed(text.substr(open + 1, comma - open - 1));
  const std::string_view upperText = Trimmed(text.substr(comma + 1, close - comma - 1));
  const bool lowerOpen = lowerText == "-~" || EqualsNoCase(lowerText, "-inf");
  const bool upperOpen = upperText == "~" || EqualsNoCase(upperText, "inf");
  const double lower = lowerOpen ? -DBL_MAX : std::strtod(std::string(lowerText).c_str(), nullptr);
  const double upper = upperOpen ? DBL_MAX : std::strtod(std::string(upperText).c_str(), nullptr);
  const std::string name = open > 0 ? std::string(text.substr(0, open)) : std::string("Value ");
  if (lowerOpen && upperOpen) return true;

  const bool atLower = lowerInclusive && value == lower;
  const bool atUpper = upperInclusive && value == upper;
  std::string said;
  if (lowerOpen) {
    if (!(value >= upper) || atUpper) return true;
    said = name + "is out of range. The value should be less than " + (upperInclusive ? "or equal to " : "") +
           std::string(upperText);
  } else if (upperOpen) {
    if (!(value <= lower) || atLower) return true;
    said = name + "is out of range. The value should be greater than " +
           (lowerInclusive ? "or equal to " : "") + std::string(lowerText);
  } else {
    if (!(value <= lower || value >= upper) || atLower || atUpper) return true;
    said = name + "is out of range. The valid value range is " +
           std::string(text.substr(open, close - open + 1)) + ".";
  }
  if (message) *message = said;
  return false;
}

std::string LoadText(double value) {
  if (std::isfinite(value) && std::fabs(value) >= 1000.0 && std::fabs(value) < 1e15)
    return Printf("%.0f", value);
  return Printf("%.3g", value);
}

}  // namespace numeric_range
