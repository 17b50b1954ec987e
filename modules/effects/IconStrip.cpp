#include "modules/effects/IconStrip.h"

#include <cstring>
#include <memory>
#include <vector>

#include "modules/effects/Transition.h"

namespace pictavo::effects {

namespace {

struct Colour {
  int r, g, b;
};

// A vertical gradient with a disc (outgoing) or a square (incoming) in a contrasting colour,
// so that both the picture and the motion read at icon size.
CxImage SamplePicture(bool incoming) {
  CxImage picture;
  picture.Create(kIconWidth, kIconHeight, 24);
  const Colour top = incoming ? Colour{236, 128, 40} : Colour{36, 72, 168};
  const Colour bottom = incoming ? Colour{176, 36, 48} : Colour{128, 184, 236};
  const Colour mark = incoming ? Colour{255, 244, 214} : Colour{255, 214, 40};
  for (int y = 0; y < kIconHeight; ++y) {
    BYTE* row = picture.GetBits(static_cast<DWORD>(kIconHeight - 1 - y));
    for (int x = 0; x < kIconWidth; ++x) {
      Colour c{top.r + (bottom.r - top.r) * y / (kIconHeight - 1),
               top.g + (bottom.g - top.g) * y / (kIconHeight - 1),
               top.b + (bottom.b - top.b) * y / (kIconHeight - 1)};
      const bool marked = incoming ? (x >= 21 && x < 33 && y >= 12 && y < 24)
                                   : ((2 * x - 25) * (2 * x - 25) + (2 * y - 21) * (2 * y - 21) <= 150);
      if (marked) c = mark;
      row[3 * x] = static_cast<BYTE>(c.b);
      row[3 * x + 1] = static_cast<BYTE>(c.g);
      row[3 * x + 2] = static_cast<BYTE>(c.r);
    }
  }
  return picture;
}

}  // namespace

CxImage RenderTransitionIconStrip() {
  const int count = Mossen_GetTransitionLibInfo(nullptr, nullptr);
  std::vector<TransitionEntryFactory> factories(static_cast<size_t>(count));
  Mossen_GetTransitionLibInfo(nullptr, factories.data());
  CxImage from = SamplePicture(false);
  CxImage to = SamplePicture(true);
  CxImage strip;
  strip.Create(static_cast<DWORD>(kIconWidth * count), kIconHeight, 24);
  constexpr int kFrames = 11;  // frame 4 of 0..10: two fifths of the way
  for (int k = 0; k < count; ++k) {
    std::unique_ptr<CTransition> transition(factories[static_cast<size_t>(k)]());
    if (!transition) continue;
    transition->SetTransWorkParam({static_cast<int32_t>(sizeof(_tagTransWorkParam)), 0, kIconWidth,
                                   kIconHeight, kFrames, 0, RGB(0, 0, 0)});
    transition->SetImages(&from, &to);
    CxImage* icon = transition->StepIt(4);
    const int cell = transition->GetBitmapTag();
    if (icon == nullptr || cell < 0 || cell >= count) continue;
    for (int y = 0; y < kIconHeight; ++y)
      std::memcpy(strip.GetBits(static_cast<DWORD>(y)) + 3 * kIconWidth * cell,
                  icon->GetBits(static_cast<DWORD>(y)), 3 * kIconWidth);
  }
  return strip;
}

}  // namespace pictavo::effects
