// Input-script steps that several end-to-end tests take the same way a user does.
#pragma once

#include <string>

namespace pictavo::test {

// Organize > Add Photos, every photo of `folder` chosen in the file dialog, and back to the main
// window titled `mainTitle`.
inline std::string AddPhotoFolderSteps(const std::string& folder, const std::string& mainTitle) {
  return "command 32789\n"
         "wait-window Open\n"
         "type " +
         folder +
         "\n"
         "key Enter\n"
         "click 1120\n"
         "key Home\n"
         "key Shift+End\n"
         "key Enter\n"
         "wait-gone Open\n"
         "wait-window \"" +
         mainTitle + "\"\n";
}

// File > Save As to `path`, until the file exists and the main window is titled `mainTitle`.
inline std::string SaveAsSteps(const std::string& path, const std::string& mainTitle) {
  return "command 57604\n"
         "wait-window \"Save As\"\n"
         "type " +
         path +
         "\n"
         "key Enter\n"
         "wait-file \"" +
         path + "\"\nwait-window \"" + mainTitle + "\"\n";
}

// File > New, then Ctrl+O with `path`, until the main window is titled `mainTitle`.
inline std::string NewThenOpenSteps(const std::string& path, const std::string& mainTitle) {
  return "command 57600\n"
         "wait-window \"Untitled - Talvane Pictavo\"\n"
         "key Ctrl+O\n"
         "wait-window Open\n"
         "type " +
         path +
         "\n"
         "key Enter\n"
         "wait-window \"" +
         mainTitle + "\"\n";
}

}  // namespace pictavo::test
