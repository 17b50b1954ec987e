// The command builder of the console programs: a program part, options of two kinds, and the
// file the command writes. It produces an argument vector (the program is started from it, never
// through a shell) and, for the log only, the same command as one line.
//
// Values are single arguments taken as they are: no quoting is needed and none is interpreted,
// so a title or file name with quotes, '&', '|' or any UTF-8 letters reaches the program intact.
#pragma once

#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

// Entry kinds.
enum : int {
  CMDOPT_COMMAND = 0,   // an option of the command as a whole (for ffmpeg: of its output)
  CMDOPT_IN_PLACE = 1,  // an option that belongs where it is added (input descriptions, ...)
};

class CCmdOpts {
 public:
  CCmdOpts();
  virtual ~CCmdOpts();

  // The program part, set directly by the program: the program's path or bare name (looked for in
  // the "gnu" folder beside the executable, then along PATH), or the older interpreter form
  // `cmd.exe /c ""<folder>\gnu\ffmpeg.exe"`. Empty: the flavour's own program.
  CString m_strProgram;

  void Add(int nKind, LPCSTR pszOption);
  // The value is taken verbatim ('%' included).
  void Add(int nKind, LPCSTR pszOption, LPCSTR pszValue);
  // The value is formatted printf-style from the format and the values (a CString value is
  // passed as its text).
  template <class... Values>
  requires(sizeof...(Values) > 0) void Add(int nKind, LPCSTR pszOption, LPCSTR pszFormat,
                                           const Values&... values) {
    AddFormatted(nKind, pszOption, pszFormat, FormatArgument(values)...);
  }
  // The file the command writes: the last argument. `\` is taken as a separator.
  void SetSourceFile(LPCSTR pszPath);
  // Removes every entry and the file (the program part stays).
  void Reset();

  // The command as one line, for the log (see pictavo::kernel::JoinCommandLine). Valid until the
  // builder changes.
  operator const char*() const;  // NOLINT: implicit, as the program uses it

  // The argument vector: the program, the entries in the flavour's order, the file.
  [[nodiscard]] std::vector<std::string> GetArguments() const;

 protected:
  struct Entry {
    int kind;
    std::string option;
    std::optional<std::string> value;
  };
  // The program started when the program part is empty.
  virtual std::string DefaultProgram() const { return {}; }
  // The entries as they go to the program: here the whole-command options first, then the others,
  // each in the order they were added.
  virtual std::vector<Entry> Arrange(std::vector<Entry> entries) const;

 private:
  void AddFormatted(int kind, LPCSTR option, LPCSTR format, ...) __attribute__((format(printf, 4, 5)));
  static LPCSTR FormatArgument(const CString& value) { return value; }
  static LPCSTR FormatArgument(LPCSTR value) { return value; }
  template <class T>
  static T FormatArgument(const T& value) {
    static_assert(std::is_scalar_v<T>, "only numbers, pointers and CStrings can be formatted");
    return value;
  }

  std::vector<Entry> m_entries;
  std::optional<std::string> m_sourceFile;
  mutable std::string m_line;  // what operator const char* last returned
};

// ffmpeg: the whole-command options go after the last input (there they apply to the output, as
// "-metadata" must), and every option is written in today's syntax (see FfmpegSyntax.h).
class CFFMpegOpts : public CCmdOpts {
 protected:
  std::string DefaultProgram() const override { return "ffmpeg"; }
  std::vector<Entry> Arrange(std::vector<Entry> entries) const override;
};

// tsMuxeR: entries in the order they were added.
class CtsMuxeROpts : public CCmdOpts {
 protected:
  std::string DefaultProgram() const override { return "tsMuxeR"; }
};
