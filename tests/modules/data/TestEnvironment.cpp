// The data-model tests run as on a machine without a sound device, so the music player falls
// back to the silent output, which keeps real time.
#include "tests/support/NoSoundDevice.h"

namespace {

[[maybe_unused]] const auto* const kNoSoundDevice =
    ::testing::AddGlobalTestEnvironment(new pictavo::test::NoSoundDevice);

}  // namespace
