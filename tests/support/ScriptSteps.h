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

// File > Save As into `path`, waiting for the file and for the main window titled after it
// (`mainTitle`).
inline std::string SaveAsSteps(const std::string& path, const std::string& mainTitle) {
  return "command 57604\n"
         "wait-window \"Save As\"\n"
         "type " +
         path +
         "\n"
         "key Enter\n"
         "wait-file \"" +
         path + "\"\n" + "wait-window \"" + mainTitle + "\"\n";
}

}  // namespace pictavo::test
