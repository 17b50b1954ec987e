#include "modules/xml/ValueNotation.h"

#include <charconv>
#include <cstdint>

namespace pictavo::xml {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The whole of `text` as an integer of type T in `base`; a leading '+' is allowed.
template <class T>
std::optional<T> WholeNumber(std::string_view text, int base) {
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  if (text.empty() || text.front() == '+') return std::nullopt;
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool IsHexDigits(std::string_view text) {
  for (char c : text)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) return false;
  return true;
}

std::optional<DWORD> FromHexRgb(std::string_view sixDigits) {
  if (sixDigits.size() != 6 || !IsHexDigits(sixDigits)) return std::nullopt;
  const auto rgb = WholeNumber<uint32_t>(sixDigits, 16);
  if (!rgb) return std::nullopt;
  return RGB((*rgb >> 16) & 0xFF, (*rgb >> 8) & 0xFF, *rgb & 0xFF);
}

std::optional<DWORD> FromTriple(std::string_view text) {
  int channels[3];
  for (int i = 0; i < 3; ++i) {
    const size_t comma = text.find(',');
    if ((comma == std::string_view::npos) != (i == 2)) return std::nullopt;
    const auto channel = WholeNumber<int>(TrimBlanks(text.substr(0, comma)), 10);
    if (!channel || *channel < 0 || *channel > 255) return std::nullopt;
    channels[i] = *channel;
    if (comma != std::string_view::npos) text.remove_prefix(comma + 1);
  }
  return RGB(channels[0], channels[1], channels[2]);
}

}  // namespace

std::optional<int> ParseInt(std::string_view text) {
  return WholeNumber<int>(TrimBlanks(text), 10);
}

std::optional<DWORD> ParseColor(std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty()) return std::nullopt;
  if (text.front() == '#') return FromHexRgb(text.substr(1));
  if (text.find(',') != std::string_view::npos) return FromTriple(text);
  if (text.size() == 6 && IsHexDigits(text)) return FromHexRgb(text);
  return WholeNumber<uint32_t>(text, 10);
}

}  // namespace pictavo::xml
