// The r7m project file, shared by its reader and writer: an XML document whose root element
// carries the format number (see README.md for the whole format).
#pragma once

#include <string>
#include <string_view>

#include "platform/base/CString.h"

namespace pictavo::data::projectfile {

inline constexpr char kRootName[] = "pictavo_project";
// The format this version writes; files of a higher number are refused.
inline constexpr int kFormatVersion = 1;

// Extensions the open dialog offers besides r7m. Their files are recognised by name only: they
// are read when they hold this format and refused as unsupported otherwise.
inline constexpr std::string_view kForeignExtensions[] = {".jvk", ".zel", ".xqd", ".ytw", ".qvn"};

// A media path as the file keeps it: relative to the project file's folder, and absolute.
struct StoredPath {
  std::string relative;
  std::string absolute;
};
StoredPath StorePath(const CString& path, const std::string& projectFolder);
// The path a stored one means now: the relative one when it exists beside the project file (an
// absolute path given there is taken as it is), else the absolute one; when neither exists, the
// absolute one (the relative one when there is no absolute one). `found` tells whether the file
// exists.
CString ResolvePath(std::string_view relative, std::string_view absolute, const std::string& projectFolder,
                    bool& found);

// Calls the progress hook with a fraction, skipping steps of less than a percent.
class Progress {
 public:
  void Report(float fraction);

 private:
  float m_last = -1.0f;
};

// The reason of the last open or save failure, for CDVDProject::GetLastFileError.
void SetLastFileError(CString text);
CString LastFileError();

}  // namespace pictavo::data::projectfile
