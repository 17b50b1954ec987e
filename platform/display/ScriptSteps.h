// Internal: one step of the input script played against the windows as they are now.
#pragma once

#include <chrono>
#include <string>

#include "platform/base/WinTypes.h"
#include "platform/display/Script.h"

namespace pictavo::display {

struct StepContext {
  HWND target = nullptr;                          // the window of the last wait-window
  std::chrono::steady_clock::time_point started;  // when the step was first tried
  // A step made of several inputs (drag): how many it has made, and its desktop points.
  int phase = 0;
  POINT from{}, to{};
};

enum class StepResult {
  kDone,
  kInputMade,  // done, and the input it made waits to be handled
  kInputMore,  // made input that waits to be handled, and has more to make (phase counts on)
  kWaiting,    // cannot act yet (why says what it waits for)
  kFailed,     // can never act (why says why)
};

struct StepOutcome {
  StepResult result = StepResult::kDone;
  std::string why;
  DWORD waitMs = 0;  // when to look again at the latest (0: the player's own poll)
};

// Tries the step once, on the playing thread; input only when `inputAllowed`.
StepOutcome PlayStep(const ScriptStep& step, StepContext& context, bool inputAllowed);

}  // namespace pictavo::display
