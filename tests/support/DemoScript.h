// Plays the input script named by PICTAVO_SCRIPT against a demonstration program's window and
// closes the window when the script is done. True without a script.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/display/Script.h"
#include "platform/display/ScriptPlayer.h"
#include "platform/user/User.h"

namespace pictavo::test {

inline bool StartDemoScript(HWND window) {
  const char* path = std::getenv("PICTAVO_SCRIPT");
  if (!path) return true;
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  std::vector<pictavo::display::ScriptStep> steps;
  pictavo::display::ScriptError error;
  if (!in || !pictavo::display::ParseScript(text.str(), &steps, &error)) {
    std::fprintf(stderr, "%s:%d: %s\n", path, error.line, error.message.c_str());
    return false;
  }
  pictavo::display::ScriptOptions options;
  options.name = path;
  options.onFinished = [window] { PostMessage(window, WM_CLOSE, 0, 0); };
  return pictavo::display::PlayScript(std::move(steps), options);
}

}  // namespace pictavo::test
