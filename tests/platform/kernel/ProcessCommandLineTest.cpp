#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/ProcessCommandLine.h"

using pictavo::kernel::JoinCommandLine;
using pictavo::kernel::ParseCommandLine;
using pictavo::kernel::ParsedCommand;
using pictavo::kernel::SplitCommandLine;
using Args = std::vector<std::string>;

TEST(CommandLine, SplitsWithTheRuntimeRules) {
  struct Case {
    const char* line;
    Args argv;
  };
  const Case cases[] = {
      {"prog a b", {"prog", "a", "b"}},
      {R"("C:\Program Files\x.exe" "a b" c)", {R"(C:\Program Files\x.exe)", "a b", "c"}},
      {R"(prog "abc" d e)", {"prog", "abc", "d", "e"}},
      {R"(prog a\\b d"e f"g h)", {"prog", R"(a\\b)", "de fg", "h"}},
      {R"(prog a\\\"b c d)", {"prog", R"(a\"b)", "c", "d"}},
      {R"(prog a\\\\"b c" d e)", {"prog", R"(a\\b c)", "d", "e"}},
      {R"(prog a"b"" c d)", {"prog", R"(ab" c d)"}},
      {R"(prog "" x)", {"prog", "", "x"}},
      {"  prog   spaced\t\targs  ", {"prog", "spaced", "args"}},
      {R"(C:\dir\prog.exe tail\)", {R"(C:\dir\prog.exe)", R"(tail\)"}},
      {R"(prog "a b)", {"prog", "a b"}},
      {R"(prog -metadata title="Summer Trip")", {"prog", "-metadata", "title=Summer Trip"}},
      {R"("a"b\"c d)", {R"(ab\c d)"}},  // the program name knows no backslash escapes
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.argv) << c.line;
}

TEST(CommandLine, JoinedArgumentsSplitBackUnchanged) {
  const Args vectors[] = {
      {"ffmpeg", "-i", "a b", "-metadata", "title=\"Summer\""},
      {"/usr/bin/printf", "%s\\n", "", "tab\there", R"(back\slash)", R"(trailing\)", R"(two\\)", R"(\"q\")"},
      {"prog", "a&b", "x|y", "$HOME", "; rm -rf /", "*.jpg", "Grüße Ωmega ñ 写真"},
      {"C:\\Program Files\\gnu\\ffmpeg.exe", "-y"},
  };
  for (const auto& argv : vectors)
    EXPECT_EQ(SplitCommandLine(JoinCommandLine(argv)), argv) << JoinCommandLine(argv);
  EXPECT_EQ(JoinCommandLine({"ffmpeg", "-i", "a b", R"(a\"b)", "plain"}),
            R"(ffmpeg -i "a b" "a\\\"b" plain)");
  EXPECT_EQ(JoinCommandLine({"my prog", ""}), R"("my prog" "")");
}

TEST(CommandLine, InterpreterLinesBecomeArgumentsAndRedirections) {
  struct Redirect {
    int fd;
    std::string target;
    bool append;
    int sameAs;
  };
  struct Case {
    const char* line;
    Args argv;
    std::vector<Redirect> redirections;
  };
  const Case cases[] = {
      {R"(cmd.exe /c ""C:\exe\gnu\ffmpeg.exe" -y -i "\\.\pipe\yuv" "D:\out file.mp4"")",
       {R"(C:\exe\gnu\ffmpeg.exe)", "-y", "-i", R"(\\.\pipe\yuv)", R"(D:\out file.mp4)"},
       {}},
      {R"(cmd.exe /c ""C:\exe\gnu\mkisofs.exe" -dvd-video -J "D:\DVD" > "\\.\pipe\zorv_vqrtz_mkiso_pp"")",
       {R"(C:\exe\gnu\mkisofs.exe)", "-dvd-video", "-J", R"(D:\DVD)"},
       {{1, R"(\\.\pipe\zorv_vqrtz_mkiso_pp)", false, -1}}},
      {R"(cmd /C "C:\Program Files\tool.exe")", {R"(C:\Program Files\tool.exe)"}, {}},
      {"cmd.exe /c prog a 2>&1 >>log.txt", {"prog", "a"}, {{2, "", false, 1}, {1, "log.txt", true, -1}}},
      {"cmd.exe /c prog < in.txt 2> NUL", {"prog"}, {{0, "in.txt", false, -1}, {2, "NUL", false, -1}}},
      {R"(cmd.exe /c ""prog" "b & c"")", {"prog", "b & c"}, {}},
      {"cmd.exe /c prog ^& x", {"prog", "&", "x"}, {}},
      {R"(cmd.exe /s /c "prog "a b"")", {"prog", "a b"}, {}},
      {R"(C:\Windows\System32\CMD.EXE /C prog)", {"prog"}, {}},
      {"prog > out", {"prog", ">", "out"}, {}},  // no interpreter, no redirection
  };
  for (const auto& c : cases) {
    ParsedCommand parsed;
    ASSERT_TRUE(ParseCommandLine(c.line, &parsed)) << c.line;
    EXPECT_EQ(parsed.argv, c.argv) << c.line;
    ASSERT_EQ(parsed.redirections.size(), c.redirections.size()) << c.line;
    for (size_t i = 0; i < c.redirections.size(); ++i) {
      EXPECT_EQ(parsed.redirections[i].fd, c.redirections[i].fd) << c.line;
      EXPECT_EQ(parsed.redirections[i].target, c.redirections[i].target) << c.line;
      EXPECT_EQ(parsed.redirections[i].append, c.redirections[i].append) << c.line;
      EXPECT_EQ(parsed.redirections[i].sameAs, c.redirections[i].sameAs) << c.line;
    }
  }
}

TEST(CommandLine, WhatNeedsAShellIsRefused) {
  struct Case {
    const char* line;
    DWORD error;
  };
  const Case cases[] = {
      {"cmd.exe /c a & b", ERROR_NOT_SUPPORTED}, {"cmd.exe /c a && b", ERROR_NOT_SUPPORTED},
      {"cmd.exe /c a | b", ERROR_NOT_SUPPORTED}, {"cmd.exe", ERROR_NOT_SUPPORTED},
      {"cmd.exe /c", ERROR_INVALID_PARAMETER},   {"cmd.exe /c prog >", ERROR_INVALID_PARAMETER},
      {"   ", ERROR_INVALID_PARAMETER},
  };
  for (const auto& c : cases) {
    ParsedCommand parsed;
    EXPECT_FALSE(ParseCommandLine(c.line, &parsed)) << c.line;
    EXPECT_EQ(GetLastError(), c.error) << c.line;
  }
}
