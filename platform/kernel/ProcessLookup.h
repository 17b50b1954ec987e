// Finding programs and files along search paths.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/WinTypes.h"

// The platform's search: `path` is a list of folders separated by `;`; without one the folder of
// this executable, the current folder and then PATH are searched. `extension` is added to a file
// name that has none. A name with a folder part is only checked where it points. Returns the
// length of the absolute path written to `buffer`, the size needed (with the terminating zero)
// when the buffer is too small, or 0 with ERROR_FILE_NOT_FOUND.
DWORD SearchPath(LPCSTR path, LPCSTR fileName, LPCSTR extension, DWORD bufferLength, LPSTR buffer,
                 LPSTR* filePart);
inline DWORD SearchPathA(LPCSTR path, LPCSTR fileName, LPCSTR extension, DWORD bufferLength, LPSTR buffer,
                         LPSTR* filePart) {
  return SearchPath(path, fileName, extension, bufferLength, buffer, filePart);
}

namespace pictavo::kernel {

// A program to start: a name with a folder part is taken as it is (`\` accepted); a bare name is
// looked for in `folders` first (the `gnu` folder beside the executable, say), then along PATH.
// Only regular files that may be executed count.
std::optional<std::string> FindProgram(std::string_view name, const std::vector<std::string>& folders = {});

}  // namespace pictavo::kernel
