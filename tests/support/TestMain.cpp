// The main of every test binary: the environment the tests expect is set here, so a test binary
// run by hand behaves as under ctest.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

int main(int argc, char** argv) {
  setenv("PICTAVO_SOURCE_DIR", PICTAVO_SOURCE_DIR, 0);
  setenv("PICTAVO_BIN_DIR", PICTAVO_BIN_DIR, 0);
  setenv("PICTAVO_DISPLAY", "headless", 0);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
