// The desktop's trash (as the freedesktop.org trash rules lay it out): a trashed file moves into a
// trash folder's "files" folder, and "info/<name>.trashinfo" records where it came from and when,
// so the desktop's file manager can restore it.
#pragma once

#include <string>

#include "platform/base/WinTypes.h"

namespace pictavo::shell {

// Moves the file or folder at `path` (absolute, native) into the trash: the home trash
// ($XDG_DATA_HOME/Trash) for files on its file system, otherwise the trash at the top of the
// file's own file system ($topdir/.Trash/$uid when the administrator made $topdir/.Trash, else
// $topdir/.Trash-$uid), else, when neither can be used, a copy in the home trash. A name already
// in the trash gets a number ("photo.2.jpg"). ERROR_SUCCESS, or the Win32 error with the file
// left where it was.
[[nodiscard]] DWORD MoveToTrash(const std::string& path);

}  // namespace pictavo::shell
