// The worker that plays the menu sounds, so a slow sound device never stalls a menu. Requests
// (1 the command sound, 2 the popup sound) go through one atomic value that the worker takes with
// an exchange, so a request made while a sound plays is played next, not lost; a newer request
// replaces one the worker has not taken yet. The worker sleeps on a condition variable between
// requests. End (-1) is final: the worker stops any sound, ends, and nothing plays afterwards.
// Standard library only, so the thread tests also build with the thread sanitizer.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "platform/base/WinTypes.h"

namespace pictavo::toolkit {

class MenuSoundThread {
 public:
  // The system's PlaySound, or a test's stand-in; called on the worker only.
  using Player = std::function<BOOL(LPCSTR pszSound, HMODULE hmod, DWORD fdwSound)>;

  explicit MenuSoundThread(Player player);
  // Ends the worker as End does with the default bound.
  ~MenuSoundThread();
  MenuSoundThread(const MenuSoundThread&) = delete;
  MenuSoundThread& operator=(const MenuSoundThread&) = delete;

  // 1 or 2 starts the worker on first use (dropped when it cannot start; the next one tries
  // again); -1 ends as End does. Anything after the end is ignored. Request and End are
  // called from one thread (the UI thread).
  void Request(int request);
  // Asks the worker to end and waits for it at most `bound`; true when it has ended (or never
  // ran). A worker stuck in a sound is left to finish on its own and touches nothing of ours.
  bool End(std::chrono::milliseconds bound = kDefaultEndBound);

  bool IsRunning() const;
  bool HasEnded() const;

  static constexpr std::chrono::milliseconds kDefaultEndBound{1000};

 private:
  struct State;
  std::shared_ptr<State> m_state;
};

}  // namespace pictavo::toolkit
