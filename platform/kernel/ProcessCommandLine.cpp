#include "platform/kernel/ProcessCommandLine.h"

#include <algorithm>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"

namespace pictavo::kernel {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

size_t SkipBlanks(std::string_view text, size_t pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  return pos;
}

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), LowerAscii);
  return out;
}

// The program name at `pos`: quotes group, nothing escapes. Returns the position after it.
size_t ReadProgram(std::string_view line, size_t pos, std::string* program) {
  bool quoted = false;
  for (; pos < line.size(); ++pos) {
    const char c = line[pos];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && IsBlank(c)) {
      break;
    } else {
      *program += c;
    }
  }
  return pos;
}

bool IsInterpreter(std::string_view program) {
  const size_t slash = program.find_last_of("/\\");
  const std::string base = Lower(slash == std::string_view::npos ? program : program.substr(slash + 1));
  return base == "cmd.exe" || base == "cmd";
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// The interpreter's rule for the text after `/c`: it is kept as it is when it holds exactly two
// quotes with blanks and no special characters between them (a quoted program path); otherwise
// a leading quote goes, and so does the last quote of the line.
std::string StripInterpreterQuotes(std::string_view text, bool alwaysStrip) {
  const size_t quotes = static_cast<size_t>(std::count(text.begin(), text.end(), '"'));
  if (!alwaysStrip && quotes == 2) {
    const size_t first = text.find('"');
    const size_t second = text.find('"', first + 1);
    const std::string_view inside = text.substr(first + 1, second - first - 1);
    const bool plain = inside.find_first_of("&<>()@^|") == std::string_view::npos;
    const bool blank = inside.find_first_of(" \t") != std::string_view::npos;
    if (plain && blank) return std::string(text);
  }
  if (text.empty() || text.front() != '"') return std::string(text);
  std::string out(text.substr(1));
  const size_t last = out.rfind('"');
  if (last != std::string::npos) out.erase(last, 1);
  return out;
}

// Takes the interpreter's operators out of `text`: redirections are collected, `^` escapes the
// next character, `&` and `|` would need a shell.
bool TakeRedirections(std::string_view text, std::string* command, std::vector<Redirection>* redirections) {
  bool quoted = false;
  for (size_t pos = 0; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c == '"') quoted = !quoted;
    if (quoted || c == '"') {
      *command += c;
      continue;
    }
    if (c == '^') {
      if (pos + 1 < text.size()) *command += text[++pos];
      continue;
    }
    if (c == '&' || c == '|') return Fail(ERROR_NOT_SUPPORTED);
    if (c != '>' && c != '<') {
      *command += c;
      continue;
    }
    Redirection redirection;
    redirection.fd = c == '<' ? 0 : 1;
    // `2>`: a digit standing alone before the operator names the stream.
    const size_t length = command->size();
    if (length > 0 && (*command)[length - 1] >= '0' && (*command)[length - 1] <= '2' &&
        (length == 1 || IsBlank((*command)[length - 2]))) {
      redirection.fd = (*command)[length - 1] - '0';
      command->pop_back();
    }
    if (c == '>' && pos + 1 < text.size() && text[pos + 1] == '>') {
      redirection.append = true;
      ++pos;
    }
    if (pos + 2 < text.size() && text[pos + 1] == '&' && text[pos + 2] >= '0' && text[pos + 2] <= '2') {
      redirection.sameAs = text[pos + 2] - '0';
      pos += 2;
    } else {
      pos = SkipBlanks(text, pos + 1);
      if (pos < text.size() && text[pos] == '"') {
        const size_t close = text.find('"', pos + 1);
        const size_t end = close == std::string_view::npos ? text.size() : close;
        redirection.target = std::string(text.substr(pos + 1, end - pos - 1));
        pos = end;
      } else {
        while (pos < text.size() && !IsBlank(text[pos]) &&
               std::string_view("<>&|").find(text[pos]) == std::string_view::npos)
          redirection.target += text[pos++];
        --pos;
      }
      if (redirection.target.empty()) return Fail(ERROR_INVALID_PARAMETER);
    }
    redirections->push_back(std::move(redirection));
  }
  return true;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> argv;
  size_t pos = SkipBlanks(line, 0);
  if (pos >= line.size()) return argv;
  std::string program;
  pos = ReadProgram(line, pos, &program);
  argv.push_back(std::move(program));

  for (;;) {
    pos = SkipBlanks(line, pos);
    if (pos >= line.size()) break;
    std::string arg;
    bool quoted = false;
    while (pos < line.size()) {
      const char c = line[pos];
      if (!quoted && IsBlank(c)) break;
      if (c == '\\') {
        size_t slashes = 0;
        while (pos < line.size() && line[pos] == '\\') ++slashes, ++pos;
        if (pos < line.size() && line[pos] == '"') {
          arg.append(slashes / 2, '\\');
          if (slashes % 2) {
            arg += '"';
            ++pos;
          }
        } else {
          arg.append(slashes, '\\');
        }
        continue;
      }
      if (c == '"') {
        if (quoted && pos + 1 < line.size() && line[pos + 1] == '"') {
          arg += '"';
          pos += 2;
          continue;
        }
        quoted = !quoted;
        ++pos;
        continue;
      }
      arg += c;
      ++pos;
    }
    argv.push_back(std::move(arg));
  }
  return argv;
}

std::string JoinCommandLine(const std::vector<std::string>& argv) {
  std::string line;
  for (size_t i = 0; i < argv.size(); ++i) {
    const std::string& arg = argv[i];
    if (i > 0) line += ' ';
    if (i == 0) {
      std::string program;
      std::copy_if(arg.begin(), arg.end(), std::back_inserter(program), [](char c) { return c != '"'; });
      const bool group = program.empty() || program.find_first_of(" \t") != std::string::npos;
      line += group ? '"' + program + '"' : program;
      continue;
    }
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) {
      line += arg;
      continue;
    }
    line += '"';
    size_t slashes = 0;
    for (char c : arg) {
      if (c == '\\') {
        ++slashes;
        continue;
      }
      // Backslashes before a quote (ours or a literal one) are doubled; others stay as they are.
      line.append(c == '"' ? slashes * 2 + 1 : slashes, '\\');
      slashes = 0;
      line += c;
    }
    line.append(slashes * 2, '\\');
    line += '"';
  }
  return line;
}

bool ParseCommandLine(std::string_view line, ParsedCommand* out) {
  out->argv.clear();
  out->redirections.clear();
  size_t pos = SkipBlanks(line, 0);
  std::string program;
  const size_t afterProgram = ReadProgram(line, pos, &program);
  if (program.empty()) return Fail(ERROR_INVALID_PARAMETER);
  if (!IsInterpreter(program)) {
    out->argv = SplitCommandLine(line);
    return true;
  }

  // Switches up to /c (run and end) or /k (run and stay: the same for a program without console).
  bool alwaysStrip = false;
  pos = afterProgram;
  for (;;) {
    pos = SkipBlanks(line, pos);
    if (pos + 1 >= line.size() || line[pos] != '/') return Fail(ERROR_NOT_SUPPORTED);
    const char option = LowerAscii(line[pos + 1]);
    if (option == 'c' || option == 'k') {
      pos += 2;
      break;
    }
    if (option == 's') alwaysStrip = true;
    while (pos < line.size() && !IsBlank(line[pos])) ++pos;
  }
  std::string_view rest = line.substr(SkipBlanks(line, pos));
  while (!rest.empty() && IsBlank(rest.back())) rest.remove_suffix(1);

  std::string command;
  if (!TakeRedirections(StripInterpreterQuotes(rest, alwaysStrip), &command, &out->redirections))
    return false;
  out->argv = SplitCommandLine(command);
  if (out->argv.empty() || out->argv.front().empty()) return Fail(ERROR_INVALID_PARAMETER);
  return true;
}

}  // namespace pictavo::kernel
