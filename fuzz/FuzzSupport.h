// What the fuzz targets share: a private scratch folder for the files the program opens by path,
// a check that stops the run on a broken promise, and a leak check for builds without
// LeakSanitizer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

// Each target defines it; libFuzzer calls it, and so does the replay main of plain builds.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace pictavo::fuzz {

// This process's scratch folder, made on first use and removed at exit. The first call also points
// the configuration folder and home there and picks the headless display, so nothing the target
// does touches the user's own files.
const std::string& Scratch();

// Writes the bytes to `relativePath` below the scratch folder (making its folders) and returns the
// full path.
std::string WriteInput(const std::string& relativePath, std::span<const uint8_t> bytes);

// Aborts with `what` when `ok` is false: a reader broke a promise its callers rely on.
void Check(bool ok, const char* what);

// Runs `run` twice and aborts when the second run leaves allocations behind (the first run settles
// what is made once per process). With LeakSanitizer present it runs once and leaves leaks to it.
void CheckNoLeak(const std::function<void()>& run);

}  // namespace pictavo::fuzz
