// How names compare without regard to case: registry keys and values here, and file names, ini
// sections and keys through platform/kernel/Unicode.h, so every part of the platform agrees.
#pragma once

#include <string>
#include <string_view>

namespace pictavo::registry {

// Simple case folding (to lower case) of Latin, Greek and Cyrillic letters: enough for the names
// people give files, sections and settings. Every other code point folds to itself.
constexpr char32_t FoldCodePoint(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    if (c == 0x178) return 0xFF;
    const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (oddUpper) return (c & 1) ? c + 1 : c;
    return (c & 1) ? c : c + 1;
  }
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return c + 37;
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return c + 63;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  return c;
}

// The folded form of a UTF-8 name, for use as a lookup key. Bytes that are not UTF-8 stay as
// they are.
std::string FoldName(std::string_view name);
bool NamesEqual(std::string_view a, std::string_view b);

}  // namespace pictavo::registry
