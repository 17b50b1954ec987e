#include "modules/effects/BuiltInTransitions.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "modules/effects/TransitionKernel.h"

namespace pictavo::effects {

namespace {

constexpr BuiltInTransition kTransitions[] = {
    {"None", Effect::Cut},
    {"Fade", Effect::Fade},
    {"Dissolve", Effect::Reveal, 0, 0, Shape::Dissolve},
    {"Fade Through Black", Effect::FadeThrough, 0},
    {"Fade Through White", Effect::FadeThrough, 1},
    {"Wipe Right", Effect::Reveal, 0, 0, Shape::WipeRight},
    {"Wipe Left", Effect::Reveal, 0, 0, Shape::WipeLeft},
    {"Wipe Down", Effect::Reveal, 0, 0, Shape::WipeDown},
    {"Wipe Up", Effect::Reveal, 0, 0, Shape::WipeUp},
    {"Wipe Down Right", Effect::Reveal, 0, 0, Shape::WipeDownRight},
    {"Wipe Down Left", Effect::Reveal, 0, 0, Shape::WipeDownLeft},
    {"Wipe Up Right", Effect::Reveal, 0, 0, Shape::WipeUpRight},
    {"Wipe Up Left", Effect::Reveal, 0, 0, Shape::WipeUpLeft},
    {"Slide From Left", Effect::Cover, 1, 0},
    {"Slide From Right", Effect::Cover, -1, 0},
    {"Slide From Top", Effect::Cover, 0, 1},
    {"Slide From Bottom", Effect::Cover, 0, -1},
    {"Slide From Top Left", Effect::Cover, 1, 1},
    {"Slide From Top Right", Effect::Cover, -1, 1},
    {"Slide From Bottom Left", Effect::Cover, 1, -1},
    {"Slide From Bottom Right", Effect::Cover, -1, -1},
    {"Push Left", Effect::Push, -1, 0},
    {"Push Right", Effect::Push, 1, 0},
    {"Push Up", Effect::Push, 0, -1},
    {"Push Down", Effect::Push, 0, 1},
    {"Uncover Left", Effect::Uncover, -1, 0},
    {"Uncover Right", Effect::Uncover, 1, 0},
    {"Uncover Up", Effect::Uncover, 0, -1},
    {"Uncover Down", Effect::Uncover, 0, 1},
    {"Circle In", Effect::Reveal, 0, 0, Shape::CircleIn},
    {"Circle Out", Effect::Reveal, 0, 0, Shape::CircleOut},
    {"Box In", Effect::Reveal, 0, 0, Shape::BoxIn},
    {"Box Out", Effect::Reveal, 0, 0, Shape::BoxOut},
    {"Diamond", Effect::Reveal, 0, 0, Shape::Diamond},
    {"Clock Wipe", Effect::Reveal, 0, 0, Shape::Clock},
    {"Wheel", Effect::Reveal, 0, 0, Shape::Wheel},
    {"Blinds Horizontal", Effect::Reveal, 0, 0, Shape::BlindsHorizontal},
    {"Blinds Vertical", Effect::Reveal, 0, 0, Shape::BlindsVertical},
    {"Checkerboard", Effect::Reveal, 0, 0, Shape::Checkerboard},
    {"Barn Doors Open", Effect::Reveal, 0, 0, Shape::BarnDoorsOpen},
    {"Barn Doors Close", Effect::Reveal, 0, 0, Shape::BarnDoorsClose},
    {"Split Open", Effect::Reveal, 0, 0, Shape::SplitOpen},
    {"Split Close", Effect::Reveal, 0, 0, Shape::SplitClose},
    {"Random Bars", Effect::Reveal, 0, 0, Shape::RandomBars},
    {"Zoom In", Effect::ZoomIn},
    {"Zoom Out", Effect::ZoomOut},
    {"Spin", Effect::Spin},
    {"Page Turn", Effect::PageTurn},
    {"Mosaic", Effect::Mosaic},
    {"Wave", Effect::Wave},
};
constexpr int kCount = static_cast<int>(std::size(kTransitions));

constexpr char kLibraryName[] = "TransitionLib";

class BuiltIn final : public CTransition {
 public:
  explicit BuiltIn(int index) : m_index(index) {}

  void GetName(char* buffer, int size) const override {
    if (buffer != nullptr && size > 0)
      std::snprintf(buffer, static_cast<size_t>(size), "%s", kTransitions[m_index].name);
  }
  int GetBitmapTag() const override { return m_index; }

 protected:
  void Compose(const TransitionFrame& frame) override { ComposeBuiltIn(kTransitions[m_index], frame); }

 private:
  int m_index;
};

template <int Index>
CTransition* Make() {
  return new BuiltIn(Index);
}

template <int... Index>
constexpr std::array<TransitionEntryFactory, sizeof...(Index)> MakeFactories(
    std::integer_sequence<int, Index...>) {
  return {&Make<Index>...};
}

constexpr auto kFactories = MakeFactories(std::make_integer_sequence<int, kCount>());

void ComposeFade(const TransitionFrame& f) {
  const int alpha = AlphaOfProgress(f.progress);
  for (int y = 0; y < f.height; ++y) BlendBytes(f.FromRow(y), f.ToRow(y), f.OutRow(y), f.width * 3, alpha);
}

// Into the colour over the first half, out of it over the second.
void ComposeFadeThrough(const TransitionFrame& f, COLORREF colour) {
  const int32_t half = kProgressOne / 2;
  const bool first = f.progress < half;
  const int alpha = first ? AlphaOfProgress(f.progress * 2) : 256 - AlphaOfProgress((f.progress - half) * 2);
  std::vector<BYTE> plain(static_cast<size_t>(f.width) * 3);
  FillPixels(plain.data(), f.width, colour);
  for (int y = 0; y < f.height; ++y)
    BlendBytes(first ? f.FromRow(y) : f.ToRow(y), plain.data(), f.OutRow(y), f.width * 3, alpha);
}

}  // namespace

std::span<const BuiltInTransition> BuiltInTransitions() {
  return kTransitions;
}

void ComposeBuiltIn(const BuiltInTransition& t, const TransitionFrame& f) {
  switch (t.effect) {
    case Effect::Cut:
      for (int y = 0; y < f.height; ++y)
        std::memcpy(f.OutRow(y), f.ToRow(y), static_cast<size_t>(f.width) * 3);
      return;
    case Effect::Fade:
      return ComposeFade(f);
    case Effect::FadeThrough:
      return ComposeFadeThrough(f, t.dx == 0 ? RGB(0, 0, 0) : RGB(255, 255, 255));
    case Effect::Reveal:
      return ComposeReveal(t.shape, f);
    case Effect::Cover:
    case Effect::Push:
    case Effect::Uncover:
      return ComposeSliding(t.effect, t.dx, t.dy, f);
    case Effect::ZoomIn:
    case Effect::ZoomOut:
    case Effect::Spin:
      return ComposeScaled(t.effect, f);
    case Effect::PageTurn:
      return ComposePageTurn(f);
    case Effect::Mosaic:
      return ComposeMosaic(f);
    case Effect::Wave:
      return ComposeWave(f);
  }
}

}  // namespace pictavo::effects

int Mossen_GetTransitionLibInfo(_tagTransitionLibInfo* info, TransitionEntryFactory* factories) {
  using namespace pictavo::effects;
  if (info != nullptr) {
    info->dwAbiVersion = kTransitionAbiVersion;
    info->nCount = kCount;
    std::snprintf(info->szLibName, sizeof info->szLibName, "%s", kLibraryName);
  }
  if (factories == nullptr) return kCount;
  for (int i = 0; i < kCount; ++i) factories[i] = kFactories[static_cast<size_t>(i)];
  return kCount;
}
