#include "fuzz/FuzzSupport.h"

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace pictavo::fuzz {

#ifdef PICTAVO_FUZZ_BUILD
long LiveAllocations() {
  return -1;
}
#else
long LiveAllocations();  // FuzzReplay.cpp counts them
#endif

namespace {

std::string MakeScratch() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/pictavo-fuzz-XXXXXX";
  if (!mkdtemp(pattern.data())) {
    std::perror("mkdtemp");
    std::abort();
  }
  setenv("XDG_CONFIG_HOME", (pattern + "/config").c_str(), 1);
  setenv("HOME", (pattern + "/home").c_str(), 1);
  setenv("PICTAVO_DISPLAY", "headless", 1);
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(Scratch(), ignored);
  });
  return pattern;
}

}  // namespace

const std::string& Scratch() {
  // Never destroyed: the exit handler that removes the folder runs after static destructors.
  static const std::string* const folder = new std::string(MakeScratch());
  return *folder;
}

std::string WriteInput(const std::string& relativePath, std::span<const uint8_t> bytes) {
  const std::filesystem::path path = std::filesystem::path(Scratch()) / relativePath;
  std::filesystem::create_directories(path.parent_path());
  // Written beside and renamed over, so each input is a new file to readers that cache by identity.
  const std::filesystem::path temporary = path.string() + ".new";
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  Check(out.good(), "the input could not be written to the scratch folder");
  std::filesystem::rename(temporary, path);
  return path.string();
}

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::fflush(stderr);
  std::abort();
}

void CheckNoLeak(const std::function<void()>& run) {
  run();
  const long before = LiveAllocations();
  if (before < 0) return;
  run();
  const long after = LiveAllocations();
  if (after > before) {
    std::fprintf(stderr, "fuzz check failed: %ld allocations leaked\n", after - before);
    std::fflush(stderr);
    std::abort();
  }
}

}  // namespace pictavo::fuzz
