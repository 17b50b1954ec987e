// The buffer conventions of the platform's text getters, in one place.
#pragma once

#include <cstring>
#include <string_view>

#include "platform/base/WinTypes.h"

namespace pictavo::kernel {

// The "size needed" convention (GetTempPath, GetCurrentDirectory, GetEnvironmentVariable ...):
// when the text and its NUL fit, they are copied and the text's length is returned; otherwise
// nothing is copied and the size needed, NUL included, is returned.
inline DWORD CopyOrSizeNeeded(std::string_view text, DWORD size, LPSTR buffer) {
  if (buffer == nullptr || size <= text.size()) return static_cast<DWORD>(text.size() + 1);
  std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
  return static_cast<DWORD>(text.size());
}

// The truncating convention (GetPrivateProfileString, GetModuleFileName): as much of the text
// as fits is copied and always terminated; returns the number of characters copied.
inline DWORD CopyTruncated(std::string_view text, DWORD size, LPSTR buffer) {
  if (buffer == nullptr || size == 0) return 0;
  const size_t n = text.size() < size ? text.size() : size - 1;
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<DWORD>(n);
}

}  // namespace pictavo::kernel
