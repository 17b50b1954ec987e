// Paths as the program writes them: `\` and `/` are both separators; what we hand to the
// system uses `/`.
//
// Every place that splits or tests a path goes through these helpers:
// - "the text after the last backslash"       -> FileName(path)
// - "cut after the last backslash"             -> FolderWithSeparator(path)
// - "the folder without its trailing backslash" -> Folder(path)   (PathRemoveFileSpec)
// - "find the last backslash"                  -> LastSeparator(path)
// - "a path without a colon at index 1"         -> IsRelative(path): absolute paths start with a
//   separator; there are no drive letters.
// - "a drive root" (three characters, "C:\")   -> IsDriveRoot(path): a mount point.
// - "path + '\' + name"                        -> Join(folder, name)
// Names are compared without regard to case with pictavo::unicode::EqualsNoCase.
#pragma once

#include <string>
#include <string_view>

#include "platform/base/WinTypes.h"

namespace pictavo::path {

inline bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

// The path with every `\` turned into `/`.
inline std::string ToNative(std::string_view path) {
  std::string out(path);
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

// Index of the last `/` or `\`, or std::string_view::npos when there is none.
size_t LastSeparator(std::string_view path);
// The text after the last separator; the whole path when there is none; "" for "a/b/".
std::string_view FileName(std::string_view path);
// The text up to and including the last separator; "" when there is none.
std::string_view FolderWithSeparator(std::string_view path);
// The text before the last separator, except that a file in the root keeps the root ("/a" -> "/");
// "" when there is no separator.
std::string_view Folder(std::string_view path);
// The file name's extension from its last '.', the dot included; "" when the name has no dot.
std::string_view Extension(std::string_view path);
// The file name without its extension.
std::string_view FileTitle(std::string_view path);
// folder + '/' + name with exactly one separator between them; the name alone when the folder is
// empty.
std::string Join(std::string_view folder, std::string_view name);
bool EndsWithSeparator(std::string_view path);
// The path without one trailing separator; the root "/" stays as it is.
std::string_view WithoutTrailingSeparator(std::string_view path);
// Absolute paths start with a separator (`\\server\share` included); everything else is
// relative to the current directory.
bool IsAbsolute(std::string_view path);
inline bool IsRelative(std::string_view path) {
  return !IsAbsolute(path);
}
// True for "/" and every other mount point (with or without a trailing separator): what the
// program calls the root of a drive.
bool IsDriveRoot(std::string_view path);

bool HasWildcards(std::string_view text);
// Matches a file name against a pattern of `*` (any run of characters) and `?` (exactly one
// character) without regard to case. A pattern ending in ".*" also matches names without a dot,
// so "*.*" matches every name.
bool MatchesWildcard(std::string_view name, std::string_view pattern);

// Finds the file or folder that exists on disk with the path's spelling ignoring case, one
// component at a time: "/opt/x/data/Skins/default/SKIN.xml" finds "skins/default/skin.xml".
// Components that exist as spelled are kept; when a component matches nothing, it and the rest
// are kept as given (so the result can name a file to create). `\` is accepted as a separator.
std::string ResolveNoCase(std::string_view path);
// The path the program means by a path to its own data: the path itself when it exists as
// spelled; for a missing path inside the executable's folder, ResolveNoCase of it; any other path
// unchanged. Always in native form.
std::string ResolveDataPath(std::string_view path);

}  // namespace pictavo::path

// The folder part of a path in place: everything from the last separator on is removed (the root
// keeps its separator). FALSE when nothing was removed.
BOOL PathRemoveFileSpec(LPSTR path);
#define PathRemoveFileSpecA PathRemoveFileSpec

// The C runtime's path splitter: there are no drive letters, so `drive` is always empty; `dir`
// is the folder with its trailing separator, `fname` the name and `ext` the extension with its
// dot. Any output may be null. Outputs are cut to _MAX_DRIVE, _MAX_DIR, _MAX_FNAME, _MAX_EXT.
#define _MAX_PATH 260
#define _MAX_DRIVE 3
#define _MAX_DIR 256
#define _MAX_FNAME 256
#define _MAX_EXT 256
void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext);
