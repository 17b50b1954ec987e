// Runs a test binary as on a machine without a sound device: SDL's dummy driver makes the audio
// output fall back to its silent sink, whatever the machine has. A binary registers it once with
// ::testing::AddGlobalTestEnvironment.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

namespace pictavo::test {

class NoSoundDevice : public ::testing::Environment {
 public:
  void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
};

}  // namespace pictavo::test
