// Small helpers shared by the file, pipe and process tests.
#pragma once

#include <string>

#include "platform/kernel/FileIo.h"
#include "tests/support/ScratchDir.h"

using pictavo::test::Exists;
using pictavo::test::ReadWholeFile;
using pictavo::test::ScratchDir;
using pictavo::test::WriteWholeFile;

// Everything a handle gives until its writer is gone (ReadFile then fails with a broken pipe).
inline std::string ReadToEnd(HANDLE handle) {
  std::string out;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(handle, buffer, sizeof buffer, &read, nullptr) && read > 0) out.append(buffer, read);
  return out;
}
