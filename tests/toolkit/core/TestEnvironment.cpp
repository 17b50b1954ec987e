// The popup menus of the frame tests play their menu sounds into the silent sink.
#include "tests/support/NoSoundDevice.h"

namespace {

[[maybe_unused]] const auto* const kNoSoundDevice =
    ::testing::AddGlobalTestEnvironment(new pictavo::test::NoSoundDevice);

}  // namespace
