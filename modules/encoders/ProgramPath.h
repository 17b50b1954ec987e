// Where the console programs (ffmpeg, tsMuxeR) are found, and the program part of a command.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/base/WinTypes.h"

// The folder that holds the "gnu" folder of helper programs: the executable's folder, without a
// trailing separator. The text lives as long as the process.
LPCSTR Dravik_GetExeFilePath();

namespace pictavo::encoders {

// The "gnu" folder beside the executable.
std::string HelperProgramFolder();

// The file to run for a program named by a path or a bare name. A Windows name loses its ".exe".
// Looked for where the path points (when it has a folder part), then in `helperFolder`, then
// along PATH. When nothing is found the name comes back in native form, and starting it fails
// with ERROR_FILE_NOT_FOUND.
std::string ResolveConsoleProgram(std::string_view name, const std::string& helperFolder);

// The start of a command's argument vector from a builder's program part:
// - empty: `defaultName`, resolved as above (empty too: no arguments, the command is invalid);
// - `cmd.exe /c ""<folder>\gnu\ffmpeg.exe"` (the interpreter form): the interpreter and the quotes
//   meant for it are dropped and the program path is resolved as above;
// - any other text: the whole text is the program's path (blanks and quotes included), resolved
//   as above.
std::vector<std::string> ProgramArguments(std::string_view programPart, std::string_view defaultName,
                                          const std::string& helperFolder = HelperProgramFolder());

}  // namespace pictavo::encoders
