// Folders as the dialogs show and take them: listings (folders first, then the files a filter
// lets through, each group by name without regard to case), typed paths made absolute, and the
// chain of folders above a folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/base/WinTypes.h"

namespace pictavo::comdlg {

struct FolderEntry {
  std::string name;
  bool folder = false;
};

struct ListingOptions {
  bool files = true;                  // false: folders only
  bool hidden = false;                // names starting with '.'
  std::vector<std::string> patterns;  // files must match one (empty: every file)
};

// The entries of `folder` ("." and ".." left out). False with a Win32 error code when the folder
// cannot be read; an empty folder is no error.
bool ListFolder(const std::string& folder, const ListingOptions& options, std::vector<FolderEntry>* entries,
                DWORD* error);

// True when the folder holds a folder (a hidden one only with `hidden`); it stops at the first.
bool HasSubfolder(const std::string& folder, bool hidden);

bool IsFolder(const std::string& path);
bool IsFile(const std::string& path);  // exists and is no folder

// What the user means by `typed` when he is in `base`: `\` counts as `/`, "~" starts in the home
// folder, a relative path is joined to `base`, "." and ".." are folded and a trailing separator
// dropped ("/" stays). Empty for empty text.
std::string ResolvePath(std::string_view base, std::string_view typed);
// The folder above (the root stays the root).
std::string ParentOf(std::string_view folder);
// "/", then every folder down to `folder` itself.
std::vector<std::string> FolderChain(std::string_view folder);
// True when `path` is `folder` or inside it.
bool IsWithin(std::string_view path, std::string_view folder);

// The first of the candidates that names an existing folder (a file names its folder), else the
// working folder, else the home folder, else "/".
std::string FirstExistingFolder(const std::vector<std::string>& candidates);

}  // namespace pictavo::comdlg
