#include "platform/media/SdlSubsystem.h"

#include <SDL.h>

#include <mutex>

namespace pictavo::media {
namespace {

// SDL's initialisation and shutdown are not thread-safe; every one goes through this lock.
std::mutex& SdlLock() {
  static auto* lock = new std::mutex;
  return *lock;
}

}  // namespace

std::unique_ptr<SdlSubsystem> SdlSubsystem::Acquire(uint32_t flags, std::string* error) {
  std::lock_guard lock(SdlLock());
  // The program handles its own signals; SDL must not turn Ctrl+C into a quit event.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(flags) != 0) {
    if (error) *error = SDL_GetError();
    return nullptr;
  }
  return std::unique_ptr<SdlSubsystem>(new SdlSubsystem(flags));
}

SdlSubsystem::~SdlSubsystem() {
  std::lock_guard lock(SdlLock());
  SDL_QuitSubSystem(m_flags);
}

}  // namespace pictavo::media
