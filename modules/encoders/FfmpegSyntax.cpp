#include "modules/encoders/FfmpegSyntax.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string_view>

namespace pictavo::encoders {

namespace {

struct Rename {
  std::string_view from, to;
};
constexpr Rename kRenames[] = {
    {"-b", "-b:v"}, {"-vb", "-b:v"}, {"-ab", "-b:a"}, {"-vcodec", "-c:v"}, {"-acodec", "-c:a"},
};

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// "2000kb" -> "2000k": digits (with an optional fraction), one SI prefix letter, then "b".
void DropBitSuffix(std::string& rate) {
  size_t i = 0;
  while (i < rate.size() && (std::isdigit(static_cast<unsigned char>(rate[i])) || rate[i] == '.')) ++i;
  if (i == 0 || i + 2 != rate.size()) return;
  if (std::string_view("kKMG").find(rate[i]) == std::string_view::npos || rate[i + 1] != 'b') return;
  rate.pop_back();
}

// "29.970" -> "30000/1001"; whole rates and other decimals stay as they are.
void ExactNtscRate(std::string& rate) {
  if (rate.find('.') == std::string::npos) return;
  double fps = 0;
  const auto [end, error] = std::from_chars(rate.data(), rate.data() + rate.size(), fps);
  if (error != std::errc() || end != rate.data() + rate.size() || !(fps > 0)) return;
  constexpr double kTolerance = 0.001;  // profiles print three decimals
  if (std::fabs(fps - std::round(fps)) < kTolerance) return;
  const double base = std::round(fps * 1.001);
  if (base < 1 || std::fabs(fps - base * 1000.0 / 1001.0) >= kTolerance) return;
  rate = std::to_string(static_cast<long long>(base) * 1000) + "/1001";
}

}  // namespace

void ModernizeFfmpegOption(std::string& option, std::optional<std::string>& value) {
  for (const auto& rename : kRenames)
    if (option == rename.from) {
      option = rename.to;
      break;
    }
  if (!value) return;
  if (option == "-b:v" || option == "-b:a") {
    DropBitSuffix(*value);
  } else if (option == "-c:a") {
    if (EqualsNoCase(*value, "libfaac")) *value = "aac";
  } else if (option == "-r") {
    ExactNtscRate(*value);
  }
}

}  // namespace pictavo::encoders
