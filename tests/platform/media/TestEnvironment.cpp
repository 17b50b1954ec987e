// Every test here runs as on a machine without a sound device: SDL's dummy driver makes the
// audio output fall back to the silent sink, whatever the machine has.
#include <gtest/gtest.h>
#include <stdlib.h>

namespace {

class NoSoundDevice : public ::testing::Environment {
 public:
  void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
};

[[maybe_unused]] const auto* const kNoSoundDevice = ::testing::AddGlobalTestEnvironment(new NoSoundDevice);

}  // namespace
