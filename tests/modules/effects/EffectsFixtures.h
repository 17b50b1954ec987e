// Pictures and helpers shared by the effects tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "modules/effects/Transition.h"
#include "modules/image/CxImage.h"

namespace effectstest {

// A picture whose every pixel differs from its neighbours and from the other picture's pixel at
// the same place, so that moved, mirrored or mixed content never passes for the original.
inline CxImage Pattern(int width, int height, int seed) {
  CxImage picture;
  picture.Create(static_cast<DWORD>(width), static_cast<DWORD>(height), 24);
  for (int y = 0; y < height; ++y) {
    BYTE* row = picture.GetBits(static_cast<DWORD>(y));
    for (int x = 0; x < width; ++x) {
      row[3 * x] = static_cast<BYTE>((x * 7 + y * 3 + seed * 90) & 0xFF);
      row[3 * x + 1] = static_cast<BYTE>((x * 3 + y * 11 + seed * 40) & 0xFF);
      row[3 * x + 2] = static_cast<BYTE>(seed == 0 ? 30 + (x + y) % 50 : 200 + (x * y) % 50);
    }
  }
  return picture;
}

inline CxImage Solid(int width, int height, COLORREF colour) {
  CxImage picture;
  picture.Create(static_cast<DWORD>(width), static_cast<DWORD>(height), 24);
  picture.Fill(colour);
  return picture;
}

// The pixels (not the row padding) of two pictures are equal.
inline bool SamePixels(CxImage& a, CxImage& b) {
  if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) return false;
  for (DWORD y = 0; y < a.GetHeight(); ++y)
    if (std::memcmp(a.GetBits(y), b.GetBits(y), a.GetWidth() * 3) != 0) return false;
  return true;
}

inline std::vector<TransitionEntryFactory> BuiltInFactories() {
  std::vector<TransitionEntryFactory> factories(
      static_cast<size_t>(Mossen_GetTransitionLibInfo(nullptr, nullptr)));
  Mossen_GetTransitionLibInfo(nullptr, factories.data());
  return factories;
}

inline std::string NameOf(const CTransition& transition) {
  char name[100] = {};
  transition.GetName(name, sizeof name);
  return name;
}

inline _tagTransWorkParam WorkParam(int width, int height, int frames, COLORREF background = 0) {
  return {static_cast<int32_t>(sizeof(_tagTransWorkParam)), 0, width, height, frames, 0, background};
}

}  // namespace effectstest
