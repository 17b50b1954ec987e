#include "modules/data/ProjectFile.h"

#include <sys/stat.h>

#include <filesystem>

#include "modules/data/DVDProject.h"
#include "platform/kernel/Path.h"

namespace pictavo::data::projectfile {
namespace {

bool IsFile(const std::string& p) {
  struct stat st {};
  return stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

thread_local CString t_lastError;

}  // namespace

StoredPath StorePath(const CString& given, const std::string& projectFolder) {
  StoredPath stored;
  if (given.IsEmpty()) return stored;
  namespace fs = std::filesystem;
  const fs::path absolute = fs::path(pictavo::path::ToNative(given.View())).lexically_normal();
  stored.absolute = absolute.string();
  if (absolute.is_absolute() && !projectFolder.empty()) {
    const fs::path relative = absolute.lexically_relative(fs::path(projectFolder).lexically_normal());
    if (!relative.empty()) stored.relative = relative.string();
  }
  return stored;
}

CString ResolvePath(std::string_view relative, std::string_view absolute, const std::string& projectFolder,
                    bool& found) {
  namespace path = pictavo::path;
  const auto normal = [](const std::string& p) {
    return std::filesystem::path(p).lexically_normal().string();
  };
  // What `relative` names: itself when a hand-written file gives an absolute path there.
  std::string named;
  if (!relative.empty())
    named = path::IsAbsolute(relative) ? normal(path::ToNative(relative))
                                       : normal(path::Join(projectFolder, path::ToNative(relative)));
  found = false;
  if (!named.empty() && IsFile(named)) {
    found = true;
    return CString(named);
  }
  if (!absolute.empty()) {
    const std::string native = path::ToNative(absolute);
    found = IsFile(native);
    return CString(native);
  }
  return CString(named);
}

void Progress::Report(float fraction) {
  if (CDVDProject::g_m_readwrite_callback == nullptr) return;
  if (fraction < 1.0f && fraction > 0.0f && fraction - m_last < 0.01f) return;
  m_last = fraction;
  CDVDProject::g_m_readwrite_callback(CDVDProject::g_m_readwrite_callback_userdata, fraction);
}

void SetLastFileError(CString text) {
  t_lastError = std::move(text);
}
CString LastFileError() {
  return t_lastError;
}

}  // namespace pictavo::data::projectfile

CString CDVDProject::GetLastFileError() {
  return pictavo::data::projectfile::LastFileError();
}
