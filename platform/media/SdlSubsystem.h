// SDL is initialised once per process and shared: the audio output here and the SDL display
// each hold a reference on the subsystems they use, and the last reference to a subsystem quits
// it. Flags are SDL's own (SDL_INIT_AUDIO, SDL_INIT_VIDEO ...). Safe from any thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace pictavo::media {

class SdlSubsystem {
 public:
  // Initialises the subsystems in `flags` (SDL counts repeated initialisations of one
  // subsystem). Null, with *error holding SDL's reason, when SDL cannot start them.
  [[nodiscard]] static std::unique_ptr<SdlSubsystem> Acquire(uint32_t flags, std::string* error = nullptr);
  ~SdlSubsystem();
  SdlSubsystem(const SdlSubsystem&) = delete;
  SdlSubsystem& operator=(const SdlSubsystem&) = delete;

  uint32_t Flags() const { return m_flags; }

 private:
  explicit SdlSubsystem(uint32_t flags) : m_flags(flags) {}
  uint32_t m_flags;
};

}  // namespace pictavo::media
