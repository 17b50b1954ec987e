#include "platform/kernel/PipeNames.h"

#include "platform/kernel/SyncObjectsNamed.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

namespace pictavo::kernel {
namespace {

constexpr std::string_view kPrefixWord = "pipe";
constexpr size_t kPrefixLength = 9;  // `\\.\pipe\`
constexpr size_t kMaxNameLength = 256;

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool PrefixAt(std::string_view text, size_t pos) {
  if (text.size() - pos < kPrefixLength) return false;
  if (!IsSeparator(text[pos]) || !IsSeparator(text[pos + 1]) || text[pos + 2] != '.' ||
      !IsSeparator(text[pos + 3]))
    return false;
  for (size_t i = 0; i < kPrefixWord.size(); ++i)
    if (LowerAscii(text[pos + 4 + i]) != kPrefixWord[i]) return false;
  return IsSeparator(text[pos + 8]);
}

std::optional<std::string> CheckedName(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameLength || name == "." || name == "..") return std::nullopt;
  std::string out;
  out.reserve(name.size());
  for (char c : name) {
    if (IsSeparator(c) || c == '\0') return std::nullopt;
    out += LowerAscii(c);
  }
  return out;
}

// Where a name inside a longer text ends.
bool EndsName(char c) {
  switch (c) {
    case '/':
    case '\\':
    case '"':
    case '\'':
    case ' ':
    case '\t':
    case '\n':
    case '\r':
    case '|':
    case ',':
    case ';':
      return true;
    default:
      return false;
  }
}

std::string OwnFolder() {
  return PipeRootFolder() + "/" + std::to_string(::getpid());
}

// A folder only this user can enter. In a shared /tmp someone else may have put something at
// the name first; that is refused rather than used.
bool MakePrivateFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) == 0) return true;
  if (errno != EEXIST) return false;
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) return false;
  if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) {
    errno = EACCES;
    return false;
  }
  if ((st.st_mode & 077) != 0 && ::chmod(path.c_str(), 0700) != 0) return false;
  return true;
}

bool ProcessAlive(pid_t pid) {
  return ::kill(pid, 0) == 0 || errno == EPERM;
}

struct FolderState {
  std::mutex lock;
  bool ready = false;  // guarded by lock
  pid_t owner = 0;     // guarded by lock; the process that made the folder (not a forked child)
};
FolderState& State() {
  static FolderState* state = new FolderState;
  return *state;
}

void RemoveOwnFolderAtExit() {
  if (State().owner != ::getpid()) return;
  std::error_code ignored;
  std::filesystem::remove_all(OwnFolder(), ignored);
}

}  // namespace

std::optional<std::string> PipeNameFromPath(std::string_view path) {
  if (!PrefixAt(path, 0)) return std::nullopt;
  return CheckedName(path.substr(kPrefixLength));
}

std::string PipeRootFolder() {
  return pictavo::kernel::RuntimeFolder() + "/pipes";
}

std::string PipeFifoPath(std::string_view name) {
  return OwnFolder() + "/" + std::string(name);
}

bool EnsurePipeFolder() {
  auto& state = State();
  std::lock_guard lock(state.lock);
  if (state.ready && state.owner == ::getpid()) return true;
  if (pictavo::kernel::RuntimeFolder().empty() || !MakePrivateFolder(PipeRootFolder())) return false;
  RemoveStalePipeFolders();
  if (!MakePrivateFolder(OwnFolder())) return false;
  if (state.owner == 0) std::atexit(RemoveOwnFolderAtExit);
  state.owner = ::getpid();
  state.ready = true;
  return true;
}

int RemoveStalePipeFolders() {
  const std::string root = PipeRootFolder();
  std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(root.c_str()), ::closedir);
  if (!folder) return 0;
  std::vector<std::string> stale;
  while (const dirent* entry = ::readdir(folder.get())) {
    const std::string_view name = entry->d_name;
    if (name.empty() || name.size() > 10 || name.find_first_not_of("0123456789") != std::string_view::npos)
      continue;
    const long pid = std::strtol(entry->d_name, nullptr, 10);
    if (pid <= 0 || pid == ::getpid() || ProcessAlive(static_cast<pid_t>(pid))) continue;
    stale.push_back(root + "/" + entry->d_name);
  }
  int removed = 0;
  for (const auto& path : stale) {
    std::error_code error;
    std::filesystem::remove_all(path, error);
    if (!error) ++removed;
  }
  return removed;
}

std::string TranslatePipeNames(std::string_view text, std::vector<std::string>* names) {
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    if (PrefixAt(text, pos)) {
      size_t end = pos + kPrefixLength;
      while (end < text.size() && !EndsName(text[end])) ++end;
      if (auto name = CheckedName(text.substr(pos + kPrefixLength, end - pos - kPrefixLength))) {
        out += PipeFifoPath(*name);
        if (names) names->push_back(std::move(*name));
        pos = end;
        continue;
      }
    }
    out += text[pos++];
  }
  return out;
}

}  // namespace pictavo::kernel
