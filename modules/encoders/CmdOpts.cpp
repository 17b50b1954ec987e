#include "modules/encoders/CmdOpts.h"

#include <algorithm>
#include <cstdarg>

#include "modules/encoders/FfmpegSyntax.h"
#include "modules/encoders/ProgramPath.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/ProcessCommandLine.h"

CCmdOpts::CCmdOpts() = default;
CCmdOpts::~CCmdOpts() = default;

void CCmdOpts::Add(int nKind, LPCSTR pszOption) {
  m_entries.push_back({nKind, pszOption ? pszOption : "", std::nullopt});
}

void CCmdOpts::Add(int nKind, LPCSTR pszOption, LPCSTR pszValue) {
  m_entries.push_back({nKind, pszOption ? pszOption : "", std::string(pszValue ? pszValue : "")});
}

void CCmdOpts::AddFormatted(int kind, LPCSTR option, LPCSTR format, ...) {
  CString value;
  va_list args;
  va_start(args, format);
  value.FormatV(format ? format : "", args);
  va_end(args);
  m_entries.push_back({kind, option ? option : "", value.Str()});
}

void CCmdOpts::SetSourceFile(LPCSTR pszPath) {
  m_sourceFile = pictavo::path::ToNative(pszPath ? pszPath : "");
}

void CCmdOpts::Reset() {
  m_entries.clear();
  m_sourceFile.reset();
}

std::vector<CCmdOpts::Entry> CCmdOpts::Arrange(std::vector<Entry> entries) const {
  std::stable_partition(entries.begin(), entries.end(),
                        [](const Entry& entry) { return entry.kind == CMDOPT_COMMAND; });
  return entries;
}

std::vector<std::string> CCmdOpts::GetArguments() const {
  std::vector<std::string> argv = pictavo::encoders::ProgramArguments(m_strProgram.View(), DefaultProgram());
  if (argv.empty()) return argv;
  for (const Entry& entry : Arrange(m_entries)) {
    if (!entry.option.empty()) argv.push_back(entry.option);
    if (entry.value) argv.push_back(*entry.value);
  }
  if (m_sourceFile) argv.push_back(*m_sourceFile);
  return argv;
}

CCmdOpts::operator const char*() const {
  m_line = pictavo::kernel::JoinCommandLine(GetArguments());
  return m_line.c_str();
}

std::vector<CCmdOpts::Entry> CFFMpegOpts::Arrange(std::vector<Entry> entries) const {
  for (Entry& entry : entries) pictavo::encoders::ModernizeFfmpegOption(entry.option, entry.value);
  std::vector<Entry> command, arranged;
  for (Entry& entry : entries)
    (entry.kind == CMDOPT_COMMAND ? command : arranged).push_back(std::move(entry));
  // After the last input; at the front when there is none.
  auto lastInput =
      std::find_if(arranged.rbegin(), arranged.rend(), [](const Entry& e) { return e.option == "-i"; });
  const auto at = lastInput == arranged.rend() ? arranged.begin() : lastInput.base();
  arranged.insert(at, std::make_move_iterator(command.begin()), std::make_move_iterator(command.end()));
  return arranged;
}
