#include "modules/encoders/ProgramPath.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <optional>

#include "platform/kernel/Module.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/ProcessLookup.h"

LPCSTR Dravik_GetExeFilePath() {
  return pictavo::ExecutableFolder().c_str();
}

namespace pictavo::encoders {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  return true;
}

// "cmd.exe /c rest" or "cmd /c rest": the rest, else nothing.
std::optional<std::string_view> InterpreterCommand(std::string_view text) {
  for (std::string_view interpreter : {"cmd.exe", "cmd"}) {
    if (!StartsWithNoCase(text, interpreter)) continue;
    std::string_view rest = text.substr(interpreter.size());
    if (rest.empty() || !IsBlank(rest.front())) continue;
    rest = Trimmed(rest);
    if (!StartsWithNoCase(rest, "/c") || (rest.size() > 2 && !IsBlank(rest[2]))) continue;
    return Trimmed(rest.substr(2));
  }
  return std::nullopt;
}

bool IsExecutableFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::string WithoutExe(std::string_view name) {
  if (name.size() > 4 && StartsWithNoCase(name.substr(name.size() - 4), ".exe")) name.remove_suffix(4);
  return std::string(name);
}

}  // namespace

std::string HelperProgramFolder() {
  return pictavo::path::Join(ExecutableFolder(), "gnu");
}

std::string ResolveConsoleProgram(std::string_view name, const std::string& helperFolder) {
  const std::string native = pictavo::path::ToNative(name);
  const std::string stem = WithoutExe(pictavo::path::FileName(native));
  std::vector<std::string> folders;
  const bool hasFolder = pictavo::path::LastSeparator(native) != std::string_view::npos;
  if (hasFolder) {
    const std::string folder(pictavo::path::Folder(native));
    for (const std::string& candidate : {native, pictavo::path::Join(folder, stem)})
      if (IsExecutableFile(candidate)) return candidate;
    folders.push_back(folder);
  }
  if (!helperFolder.empty()) folders.push_back(helperFolder);
  if (stem.empty()) return native;
  if (auto found = pictavo::kernel::FindProgram(stem, folders)) return *found;
  return hasFolder ? native : stem;
}

std::vector<std::string> ProgramArguments(std::string_view programPart, std::string_view defaultName,
                                          const std::string& helperFolder) {
  std::string_view text = Trimmed(programPart);
  std::string program;
  if (text.empty()) {
    program = Trimmed(defaultName);
  } else if (auto command = InterpreterCommand(text)) {
    // The quotes were there for the interpreter; a Windows path cannot hold one.
    for (char c : *command)
      if (c != '"') program += c;
    program = std::string(Trimmed(program));
  } else {
    program = text;
  }
  if (program.empty()) return {};
  return {ResolveConsoleProgram(program, helperFolder)};
}

}  // namespace pictavo::encoders
