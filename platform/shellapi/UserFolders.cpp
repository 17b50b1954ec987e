#include "platform/shellapi/UserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string_view>

#include "platform/kernel/Path.h"

namespace pictavo::shell {

namespace {

std::string AbsoluteEnv(const char* name) {
  const char* value = std::getenv(name);
  return value && value[0] == '/' ? std::string(path::WithoutTrailingSeparator(value)) : std::string();
}

struct FolderNames {
  const char* key;
  const char* fallback;
};

FolderNames NamesOf(UserFolder folder) {
  switch (folder) {
    case UserFolder::kDesktop:
      return {"XDG_DESKTOP_DIR", "Desktop"};
    case UserFolder::kDocuments:
      return {"XDG_DOCUMENTS_DIR", "Documents"};
    case UserFolder::kPictures:
      return {"XDG_PICTURES_DIR", "Pictures"};
    case UserFolder::kMusic:
      return {"XDG_MUSIC_DIR", "Music"};
    case UserFolder::kVideos:
      return {"XDG_VIDEOS_DIR", "Videos"};
    case UserFolder::kTemplates:
      return {"XDG_TEMPLATES_DIR", "Templates"};
    case UserFolder::kDownload:
      return {"XDG_DOWNLOAD_DIR", "Downloads"};
    case UserFolder::kPublicShare:
      return {"XDG_PUBLICSHARE_DIR", "Public"};
  }
  return {"", ""};
}

// One value of user-dirs.dirs: a double-quoted "$HOME/relative" or "/absolute" path, with `\`
// escaping the next character. Empty for anything else.
std::string ParseValue(std::string_view text, const std::string& home) {
  if (text.size() < 2 || text.front() != '"') return {};
  std::string value;
  size_t i = 1;
  for (; i < text.size() && text[i] != '"'; ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) ++i;
    value += text[i];
  }
  if (i == text.size()) return {};  // no closing quote
  if (value == "$HOME" || value == "$HOME/") return home;
  if (value.rfind("$HOME/", 0) == 0) return path::Join(home, value.substr(6));
  if (!value.empty() && value[0] == '/') return std::string(path::WithoutTrailingSeparator(value));
  return {};
}

}  // namespace

std::string HomeFolder() {
  if (std::string home = AbsoluteEnv("HOME"); !home.empty()) return home;
  if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir && entry->pw_dir[0] == '/')
    return std::string(path::WithoutTrailingSeparator(entry->pw_dir));
  return "/";
}

std::string ConfigHome() {
  std::string folder = AbsoluteEnv("XDG_CONFIG_HOME");
  return folder.empty() ? path::Join(HomeFolder(), ".config") : folder;
}

std::string DataHome() {
  std::string folder = AbsoluteEnv("XDG_DATA_HOME");
  return folder.empty() ? path::Join(HomeFolder(), ".local/share") : folder;
}

std::string FirstSystemDataFolder() {
  if (const char* dirs = std::getenv("XDG_DATA_DIRS")) {
    std::string_view list(dirs);
    while (!list.empty()) {
      const size_t colon = list.find(':');
      const std::string_view entry = list.substr(0, colon);
      if (!entry.empty() && entry[0] == '/') return std::string(path::WithoutTrailingSeparator(entry));
      if (colon == std::string_view::npos) break;
      list.remove_prefix(colon + 1);
    }
  }
  return "/usr/local/share";
}

std::string UserFolderPath(UserFolder folder) {
  const std::string home = HomeFolder();
  const FolderNames names = NamesOf(folder);
  std::ifstream file(path::Join(ConfigHome(), "user-dirs.dirs"));
  std::string found;
  for (std::string line; std::getline(file, line);) {
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    const size_t equals = line.find('=', start);
    if (equals == std::string::npos || line.compare(start, equals - start, names.key) != 0) continue;
    // The last well-formed entry wins.
    if (std::string value = ParseValue(std::string_view(line).substr(equals + 1), home); !value.empty())
      found = std::move(value);
  }
  return found.empty() ? path::Join(home, names.fallback) : found;
}

}  // namespace pictavo::shell
