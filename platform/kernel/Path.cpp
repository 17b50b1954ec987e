#include "platform/kernel/Path.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/kernel/Module.h"
#include "platform/kernel/Unicode.h"

namespace pictavo::path {

size_t LastSeparator(std::string_view path) {
  return path.find_last_of("/\\");
}

std::string_view FileName(std::string_view path) {
  const size_t sep = LastSeparator(path);
  return sep == std::string_view::npos ? path : path.substr(sep + 1);
}

std::string_view FolderWithSeparator(std::string_view path) {
  const size_t sep = LastSeparator(path);
  return sep == std::string_view::npos ? std::string_view() : path.substr(0, sep + 1);
}

std::string_view Folder(std::string_view path) {
  const size_t sep = LastSeparator(path);
  if (sep == std::string_view::npos) return {};
  return path.substr(0, sep == 0 ? 1 : sep);
}

std::string_view Extension(std::string_view path) {
  const std::string_view name = FileName(path);
  const size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

std::string_view FileTitle(std::string_view path) {
  const std::string_view name = FileName(path);
  return name.substr(0, name.size() - Extension(name).size());
}

std::string Join(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (!out.empty() && !IsSeparator(out.back()) && !name.empty() && !IsSeparator(name.front())) out += '/';
  if (!out.empty() && IsSeparator(out.back()) && !name.empty() && IsSeparator(name.front()))
    name.remove_prefix(1);
  out += name;
  return out;
}

bool EndsWithSeparator(std::string_view path) {
  return !path.empty() && IsSeparator(path.back());
}

std::string_view WithoutTrailingSeparator(std::string_view path) {
  if (path.size() > 1 && IsSeparator(path.back())) path.remove_suffix(1);
  return path;
}

bool IsAbsolute(std::string_view path) {
  return !path.empty() && IsSeparator(path.front());
}

bool HasWildcards(std::string_view text) {
  return text.find_first_of("*?") != std::string_view::npos;
}

namespace {

std::u32string Folded(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[pos]);
    const char32_t cp = unicode::DecodeUtf8(text, pos);
    out += cp == unicode::kInvalid ? 0x110000 + lead : unicode::FoldCase(cp);
  }
  return out;
}

// Classic wildcard matching with one backtracking point: the last `*` seen.
bool Match(std::u32string_view name, std::u32string_view pattern) {
  size_t n = 0, p = 0;
  size_t starP = std::u32string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
      ++n, ++p;
    } else if (p < pattern.size() && pattern[p] == U'*') {
      starP = p++;
      starN = n;
    } else if (starP != std::u32string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == U'*') ++p;
  return p == pattern.size();
}

}  // namespace

bool MatchesWildcard(std::string_view name, std::string_view pattern) {
  const std::u32string n = Folded(name);
  const std::u32string p = Folded(pattern);
  if (Match(n, p)) return true;
  // "name.*" also stands for "name" without an extension.
  if (p.size() >= 2 && p.compare(p.size() - 2, 2, U".*") == 0 && n.find(U'.') == std::u32string::npos)
    return Match(n, std::u32string_view(p).substr(0, p.size() - 2));
  return false;
}

namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

// The entry of `folder` whose name equals `component` ignoring case; the first in byte order when
// several do, so the answer does not depend on the order the folder lists them in.
bool FindEntryNoCase(const std::string& folder, std::string_view component, std::string& found) {
  std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.empty() ? "." : folder.c_str()));
  if (!dir) return false;
  bool any = false;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name(entry->d_name);
    if (name == "." || name == "..") continue;
    if (!unicode::EqualsNoCase(name, component)) continue;
    if (!any || name < found) found = name;
    any = true;
  }
  return any;
}

}  // namespace

std::string ResolveNoCase(std::string_view input) {
  const std::string native = ToNative(input);
  std::string out = IsAbsolute(native) ? "/" : "";
  bool resolving = true;
  size_t pos = 0;
  while (pos < native.size()) {
    size_t end = native.find('/', pos);
    if (end == std::string::npos) end = native.size();
    const std::string_view component(native.data() + pos, end - pos);
    pos = end + 1;
    if (component.empty()) continue;
    const std::string folder = out;
    if (!out.empty() && out.back() != '/') out += '/';
    if (!resolving || component == "." || component == "..") {
      out += component;
      continue;
    }
    const std::string candidate = out + std::string(component);
    std::string found;
    if (Exists(candidate)) {
      out = candidate;
    } else if (FindEntryNoCase(folder, component, found)) {
      out += found;
    } else {
      out += component;
      resolving = false;
    }
  }
  if (EndsWithSeparator(native) && !out.empty() && out.back() != '/') out += '/';
  return out;
}

std::string ResolveDataPath(std::string_view input) {
  std::string native = ToNative(input);
  if (native.empty() || Exists(native)) return native;
  std::string absolute = native;
  if (IsRelative(native)) {
    char cwd[4096];
    if (::getcwd(cwd, sizeof cwd) == nullptr) return native;
    absolute = Join(cwd, native);
  }
  const std::string& exeFolder = ExecutableFolder();
  if (exeFolder.empty() || absolute.size() <= exeFolder.size() ||
      absolute.compare(0, exeFolder.size(), exeFolder) != 0 ||
      (exeFolder != "/" && absolute[exeFolder.size()] != '/'))
    return native;
  return ResolveNoCase(absolute);
}

}  // namespace pictavo::path

BOOL PathRemoveFileSpec(LPSTR path) {
  if (path == nullptr) return FALSE;
  const std::string_view view(path);
  const size_t sep = pictavo::path::LastSeparator(view);
  if (sep == std::string_view::npos) {
    if (view.empty()) return FALSE;
    path[0] = '\0';
    return TRUE;
  }
  const size_t keep = sep == 0 ? 1 : sep;
  if (keep >= view.size()) return FALSE;
  path[keep] = '\0';
  return TRUE;
}

void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext) {
  using namespace pictavo::path;
  const std::string_view view(path != nullptr ? path : "");
  const auto copy = [](char* out, std::string_view text, size_t capacity) {
    if (out == nullptr) return;
    const size_t n = std::min(text.size(), capacity - 1);
    if (n > 0) std::memcpy(out, text.data(), n);
    out[n] = '\0';
  };
  copy(drive, {}, _MAX_DRIVE);
  copy(dir, FolderWithSeparator(view), _MAX_DIR);
  copy(fname, FileTitle(view), _MAX_FNAME);
  copy(ext, Extension(view), _MAX_EXT);
}
