// The data-model tests run as on a machine without a sound device: SDL's dummy driver makes the
// music player fall back to the silent output, which keeps real time.
#include <gtest/gtest.h>
#include <stdlib.h>

namespace {

class NoSoundDevice : public ::testing::Environment {
 public:
  void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
};

[[maybe_unused]] const auto* const kNoSoundDevice = ::testing::AddGlobalTestEnvironment(new NoSoundDevice);

}  // namespace
