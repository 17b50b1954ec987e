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

}  // namespace pictavo::test
