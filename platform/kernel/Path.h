// Paths as the program writes them: `\` and `/` are both separators; what we hand to the
// system uses `/`.
#pragma once

#include <string>
#include <string_view>

namespace pictavo::path {

inline bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// The path with every `\` turned into `/`.
inline std::string ToNative(std::string_view path) {
  std::string out(path);
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

}  // namespace pictavo::path
