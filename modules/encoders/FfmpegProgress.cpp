#include "modules/encoders/FfmpegProgress.h"

#include <charconv>

namespace pictavo::encoders {

namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

template <class T>
void ReadNumber(std::string_view text, T& out) {
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc() && end == text.data() + text.size() && value >= 0) out = value;
}

}  // namespace

std::optional<Progress> FfmpegProgressParser::Feed(std::string_view line) {
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  const std::string_view key = Trimmed(line.substr(0, equals)), value = Trimmed(line.substr(equals + 1));
  if (key == "frame") {
    ReadNumber(value, m_current.frames);
  } else if (key == "total_size") {
    ReadNumber(value, m_current.bytes);
  } else if (key == "out_time_us") {
    ReadNumber(value, m_current.outTimeUs);
  } else if (key == "progress") {
    Progress report = m_current;
    report.finished = value == "end";
    return report;
  }
  return std::nullopt;
}

}  // namespace pictavo::encoders
