#include "platform/comdlg/FileFilter.h"

#include <cstring>

#include "platform/kernel/Path.h"

namespace pictavo::comdlg {

namespace {

std::string_view Trimmed(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n";
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

}  // namespace

std::vector<FilterEntry> ParseFilter(LPCSTR filter) {
  std::vector<FilterEntry> entries;
  if (!filter) return entries;
  const char* p = filter;
  while (*p) {
    const std::string_view description(p);
    p += description.size() + 1;
    if (!*p) break;
    const std::string_view patterns(p);
    p += patterns.size() + 1;
    FilterEntry entry;
    entry.description = std::string(Trimmed(description));
    entry.patterns = SplitPatterns(patterns);
    if (entry.description.empty()) entry.description = std::string(Trimmed(patterns));
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::vector<std::string> SplitPatterns(std::string_view text) {
  std::vector<std::string> patterns;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(';', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view part = Trimmed(text.substr(start, end - start));
    if (!part.empty()) patterns.emplace_back(part);
    start = end + 1;
  }
  return patterns;
}

bool MatchesAny(std::string_view name, const std::vector<std::string>& patterns) {
  if (patterns.empty()) return true;
  for (const std::string& pattern : patterns)
    if (path::MatchesWildcard(name, pattern)) return true;
  return false;
}

}  // namespace pictavo::comdlg
