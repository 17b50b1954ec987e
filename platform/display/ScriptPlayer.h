// Playing the input script (Script.h) against the program, on the headless or the sdl display.
//
// The steps are played on the thread that starts the script, the one that runs the windows, at
// the moments it waits idle for messages with nothing left to handle: only then does a step
// inject input, and only into a loop that takes messages (GetMessage, WaitMessage, in whichever
// modal loop runs), never inside a flush of pending input or a wait that only pumps
// (MsgWaitForMultipleObjects). A step that needs a window waits until the window can take the
// input (shown, enabled, not covered); steps that wait (wait-file, sleep) check their condition
// at those moments too, so the thread is never blocked by the script. After the last step the
// program goes on as it would without a script.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/display/Script.h"

namespace pictavo::display {

// The exit status of a program whose script could not be played to its end.
inline constexpr int kScriptFailedExitCode = 3;

struct ScriptOptions {
  std::string name;  // how messages name the script (its file)
  // Called once, on the playing thread, with a line that names the step (line number and text)
  // and what kept it from acting; the script stops. Null: the line goes to standard error and
  // the program ends with kScriptFailedExitCode, which it also does when its UI thread stays busy
  // (never waits idle) past a step's time, or when it ends with steps left to play.
  std::function<void(const std::string& message)> onFailure;
  // Called on the playing thread after the last step.
  std::function<void()> onFinished;
};

// Plays `steps` on the calling thread. False when no display is installed that plays scripts,
// or a script is playing already.
bool PlayScript(std::vector<ScriptStep> steps, ScriptOptions options);
// Stops the script being played, if any; its remaining steps are not played.
void StopScript();

// Plays the script the PICTAVO_SCRIPT variable names: the application calls this once, from its
// UI thread, when that thread is about to run its message loop. False when no script is named.
// A script that cannot be read or has a bad line ends the program with kScriptFailedExitCode
// and a line on standard error.
bool StartScriptFromEnvironment();

}  // namespace pictavo::display
