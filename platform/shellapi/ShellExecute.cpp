#include "platform/shellapi/ShellExecute.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/Debug.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Process.h"
#include "platform/kernel/ProcessCommandLine.h"
#include "platform/kernel/Unicode.h"
#include "platform/kernel/Wait.h"
#include "platform/shellapi/KnownFolders.h"

namespace {

constexpr int kStarted = 42;

struct Outcome {
  int code = kStarted;
  HANDLE process = nullptr;
};

bool IsOpenVerb(LPCSTR verb) {
  if (!verb || !*verb) return true;
  return pictavo::unicode::EqualsNoCase(verb, "open") || pictavo::unicode::EqualsNoCase(verb, "explore");
}

// "scheme:..." with a scheme of two or more characters (one letter and a colon is a drive).
bool HasScheme(std::string_view text) {
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon < 2 || !std::isalpha(static_cast<unsigned char>(text[0])))
    return false;
  for (size_t i = 1; i < colon; ++i) {
    const char c = text[i];
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') return false;
  }
  return true;
}

bool Exists(const std::string& path, struct stat& st) {
  return ::stat(path.c_str(), &st) == 0;
}

// An executable file that is a program: an ELF binary or a script, not a document that merely
// carries the execute bit (as every file on a FAT-formatted stick does).
bool IsProgram(const std::string& path, const struct stat& st) {
  if (!S_ISREG(st.st_mode) || ::access(path.c_str(), X_OK) != 0) return false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char magic[4] = {};
  const ssize_t got = ::read(fd, magic, sizeof magic);
  ::close(fd);
  return (got >= 4 && std::memcmp(magic,
                                  "\x7f"
                                  "ELF",
                                  4) == 0) ||
         (got >= 2 && magic[0] == '#' && magic[1] == '!');
}

// A program of that name along PATH.
std::optional<std::string> FindOnPath(std::string name) {
  if (name.size() > 4 &&
      pictavo::unicode::EqualsNoCase(std::string_view(name).substr(name.size() - 4), ".exe"))
    name.resize(name.size() - 4);
  const char* list = std::getenv("PATH");
  std::string_view rest = list ? list : "";
  while (!rest.empty()) {
    const size_t colon = rest.find(':');
    const std::string_view folder = rest.substr(0, colon);
    if (!folder.empty()) {
      const std::string candidate = pictavo::path::Join(folder, name);
      struct stat st;
      if (Exists(candidate, st) && IsProgram(candidate, st)) return candidate;
    }
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  return std::nullopt;
}

int CodeForStartError(DWORD error, bool opener) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return opener ? SE_ERR_NOASSOC : SE_ERR_FNF;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:
      return opener ? SE_ERR_NOASSOC : SE_ERR_PNF;
    case ERROR_ACCESS_DENIED:
      return SE_ERR_ACCESSDENIED;
    case ERROR_NOT_ENOUGH_MEMORY:
      return SE_ERR_OOM;
    default:
      return SE_ERR_NOASSOC;
  }
}

Outcome Start(const std::vector<std::string>& argv, const std::string& folder, bool opener,
              bool keepProcess) {
  pictavo::kernel::ProcessOptions options;
  struct stat st;
  if (!folder.empty() && Exists(folder, st) && S_ISDIR(st.st_mode)) options.workingFolder = folder;
  options.translatePipeNames = false;
  const auto started = pictavo::kernel::StartProcess(argv, options);
  if (!started) return {CodeForStartError(GetLastError(), opener)};
  CloseHandle(started->hThread);
  Outcome outcome;
  if (keepProcess)
    outcome.process = started->hProcess;
  else
    CloseHandle(started->hProcess);
  return outcome;
}

Outcome Open(LPCSTR verb, const std::string& file, LPCSTR parameters, LPCSTR directory, bool keepProcess) {
  if (!IsOpenVerb(verb)) return {SE_ERR_NOASSOC};
  if (file.empty()) return {SE_ERR_FNF};
  const std::string folder = directory ? pictavo::path::ToNative(directory) : std::string();
  if (HasScheme(file)) return Start({"xdg-open", file}, folder, true, keepProcess);

  std::string path = pictavo::path::ToNative(file);
  if (pictavo::path::IsRelative(path) && !folder.empty()) path = pictavo::path::Join(folder, path);
  struct stat st;
  if (!Exists(path, st)) {
    const bool bare = pictavo::path::LastSeparator(file) == std::string::npos;
    const std::optional<std::string> program = bare ? FindOnPath(file) : std::nullopt;
    if (!program) {
      struct stat parent;
      const std::string up(pictavo::path::Folder(path));
      return {up.empty() || (Exists(up, parent) && S_ISDIR(parent.st_mode)) ? SE_ERR_FNF : SE_ERR_PNF};
    }
    path = *program;
    Exists(path, st);
  }
  if (IsProgram(path, st)) {
    std::vector<std::string> argv{path};
    if (parameters && *parameters) {
      std::vector<std::string> split = pictavo::kernel::SplitCommandLine(std::string("x ") + parameters);
      argv.insert(argv.end(), split.begin() + 1, split.end());
    }
    return Start(argv, folder, false, keepProcess);
  }
  return Start({"xdg-open", path}, folder, true, keepProcess);
}

DWORD ErrorForCode(int code) {
  switch (code) {
    case SE_ERR_FNF:
      return ERROR_FILE_NOT_FOUND;
    case SE_ERR_PNF:
      return ERROR_PATH_NOT_FOUND;
    case SE_ERR_ACCESSDENIED:
      return ERROR_ACCESS_DENIED;
    case SE_ERR_OOM:
      return ERROR_NOT_ENOUGH_MEMORY;
    default:
      return ERROR_NO_ASSOCIATION;
  }
}

Outcome Report(Outcome outcome, const std::string& file) {
  if (outcome.code <= 32) {
    SetLastError(ErrorForCode(outcome.code));
    TRACE("ShellExecute: %s cannot be opened (%d)\n", file.c_str(), outcome.code);
  }
  return outcome;
}

}  // namespace

HINSTANCE ShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                       INT showCommand) {
  const std::string target = file ? file : "";
  const Outcome outcome = Report(Open(verb, target, parameters, directory, false), target);
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(outcome.code));
}

BOOL ShellExecuteEx(SHELLEXECUTEINFO* info) {
  if (!info || info->cbSize != sizeof(SHELLEXECUTEINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  info->hProcess = nullptr;
  std::string target = info->lpFile ? info->lpFile : "";
  Outcome outcome;
  if (target.empty() && (info->fMask & SEE_MASK_IDLIST) && info->lpIDList) {
    char path[MAX_PATH];
    if (!SHGetPathFromIDList(static_cast<LPCITEMIDLIST>(info->lpIDList), path))
      outcome.code = SE_ERR_NOASSOC;  // a virtual item: nothing to hand the opener
    target = path;
  }
  if (outcome.code > 32)
    outcome = Open(info->lpVerb, target, info->lpParameters, info->lpDirectory,
                   info->fMask & SEE_MASK_NOCLOSEPROCESS);
  outcome = Report(outcome, target);
  info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(outcome.code));
  info->hProcess = outcome.process;
  return outcome.code > 32;
}
