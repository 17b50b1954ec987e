#include "modules/effects/TransitionPlugins.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/kernel/Path.h"
#include "platform/kernel/Unicode.h"

namespace pictavo::effects {

bool IsTransitionPluginName(const std::string& fileName) {
  return path::MatchesWildcard(fileName, "*.so") || path::MatchesWildcard(fileName, "*.dll");
}

std::vector<std::string> FindTransitionPlugins(const std::string& programFolder) {
  std::vector<std::string> plugins;
  const std::string folder = path::ResolveNoCase(path::Join(programFolder, kTransitionFolder));
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  if (error) return plugins;
  for (const std::filesystem::directory_entry& entry : it) {
    const std::string name = entry.path().filename().string();
    std::error_code typeError;
    if (entry.is_regular_file(typeError) && IsTransitionPluginName(name))
      plugins.push_back(entry.path().string());
  }
  std::sort(plugins.begin(), plugins.end(), [](const std::string& a, const std::string& b) {
    return unicode::CompareNoCase(path::FileName(a), path::FileName(b)) < 0;
  });
  return plugins;
}

}  // namespace pictavo::effects
