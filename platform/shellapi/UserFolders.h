// Where the user's folders are: the home folder, the XDG base folders and the XDG user folders
// (~/.config/user-dirs.dirs). Read afresh on every call, so a changed setting counts at once.
#pragma once

#include <string>

namespace pictavo::shell {

enum class UserFolder {
  kDesktop,
  kDocuments,
  kPictures,
  kMusic,
  kVideos,
  kTemplates,
  kDownload,
  kPublicShare
};

// $HOME, else the password database's entry, else "/".
std::string HomeFolder();
// $XDG_CONFIG_HOME, $XDG_DATA_HOME and $XDG_CACHE_HOME (used only when absolute), else
// ~/.config, ~/.local/share and ~/.cache.
std::string ConfigHome();
std::string DataHome();
// The first absolute entry of $XDG_DATA_DIRS, else /usr/local/share.
std::string FirstSystemDataFolder();
// The folder user-dirs.dirs names (XDG_DESKTOP_DIR="$HOME/Desktop" ...), else ~/Desktop,
// ~/Documents, ~/Pictures, ~/Music, ~/Videos, ~/Templates, ~/Downloads, ~/Public. The folder
// need not exist.
std::string UserFolderPath(UserFolder folder);

}  // namespace pictavo::shell
