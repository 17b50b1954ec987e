// The platform error a failed file-system call stands for, told apart the way the platform does
// ("file not found" when the folder exists, "path not found" when it does not).
#pragma once

#include <string>

#include "platform/base/WinTypes.h"

namespace pictavo::kernel {

// `nativePath` is the path the failed call used (with `/` separators); may be empty.
DWORD FileErrorFromErrno(int err, const std::string& nativePath);
// Sets the last error from errno for a call on `nativePath` and returns FALSE.
BOOL FailWithFileErrno(const std::string& nativePath);

// The path as an absolute one (relative ones are taken from the current folder), with `/`.
std::string AbsoluteNativePath(const std::string& nativePath);
// The folder part of a native path ("." when there is none).
std::string ParentFolder(const std::string& nativePath);

}  // namespace pictavo::kernel
