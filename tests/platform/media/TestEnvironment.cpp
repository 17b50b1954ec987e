// Every test here runs as on a machine without a sound device, whatever the machine has.
#include "tests/support/NoSoundDevice.h"

namespace {

[[maybe_unused]] const auto* const kNoSoundDevice =
    ::testing::AddGlobalTestEnvironment(new pictavo::test::NoSoundDevice);

}  // namespace
