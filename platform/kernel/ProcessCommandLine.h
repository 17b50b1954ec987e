// Command lines as the platform passes them to a program, and their argument vectors.
//
// Programs are started here with an argument vector and never through a shell. A command line
// is split with the platform's C runtime rules; a `cmd.exe /c ...` line loses the interpreter
// and keeps the redirections the program uses (`>`, `>>`, `<`, `2>`, `2>&1`, `> NUL`).
// Callers that build a command should hand StartProcess the vector itself: joining and splitting
// again cannot keep everything (a program name cannot hold a quote, and the `cmd.exe` layer
// knows no escape for a quote inside a quoted argument).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pictavo::kernel {

// The C runtime's rules: blanks (space, tab) separate arguments; "..." groups; inside quotes
// `""` is one quote; 2n backslashes before a quote give n backslashes and the quote groups,
// 2n+1 give n backslashes and a literal quote; other backslashes are literal. The first
// argument (the program) knows only quotes, no backslash rules.
std::vector<std::string> SplitCommandLine(std::string_view line);

// The command line that SplitCommandLine splits back into `argv` (the program name excepted
// when it holds a quote), for logs and for the platform's CreateProcess.
std::string JoinCommandLine(const std::vector<std::string>& argv);

struct Redirection {
  int fd = 1;           // 0 standard input, 1 output, 2 error
  std::string target;   // a path (`NUL` is the null device); empty when sameAs is used
  bool append = false;  // `>>`
  int sameAs = -1;      // `2>&1`: the stream this one goes to
};

struct ParsedCommand {
  std::vector<std::string> argv;
  std::vector<Redirection> redirections;  // only from a `cmd.exe /c` line
};

// A command line as CreateProcess receives it. Returns false with the last error set:
// ERROR_INVALID_PARAMETER for an empty command or a redirection without a target,
// ERROR_NOT_SUPPORTED for what only a shell could do (`&`, `&&`, `|`, `||` outside quotes, an
// interactive `cmd.exe`). `%VARIABLE%` is not expanded.
[[nodiscard]] bool ParseCommandLine(std::string_view line, ParsedCommand* out);

}  // namespace pictavo::kernel
