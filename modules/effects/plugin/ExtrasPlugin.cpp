// "Extras": a transition plug-in with three transitions, built against Transition.h only.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "modules/effects/Transition.h"
#include "modules/effects/TransitionKernel.h"

namespace {

using pictavo::effects::AlphaOfProgress;
using pictavo::effects::BlendByte;
using pictavo::effects::FillPixels;
using pictavo::effects::ScaleByProgress;

class Named : public CTransition {
 public:
  Named(const char* name, int tag) : m_name(name), m_tag(tag) {}
  void GetName(char* buffer, int size) const override {
    if (buffer != nullptr && size > 0) std::snprintf(buffer, static_cast<size_t>(size), "%s", m_name);
  }
  int GetBitmapTag() const override { return m_tag; }

 private:
  const char* m_name;
  int m_tag;
};

// Even rows wipe in from the left, odd rows from the right.
class Interlace final : public Named {
 public:
  Interlace() : Named("Interlace", 1000) {}

 protected:
  void Compose(const TransitionFrame& f) override {
    const int edge = ScaleByProgress(f.progress, f.width);
    for (int y = 0; y < f.height; ++y) {
      BYTE* out = f.OutRow(y);
      std::memcpy(out, f.FromRow(y), static_cast<size_t>(f.width) * 3);
      const int start = (y & 1) == 0 ? 0 : f.width - edge;
      std::memcpy(out + 3 * start, f.ToRow(y) + 3 * start, static_cast<size_t>(edge) * 3);
    }
  }
};

// The outgoing picture loses its colour while the incoming one, grey at first, gains it.
class ColourFade final : public Named {
 public:
  ColourFade() : Named("Colour Fade", 1001) {}

 protected:
  void Compose(const TransitionFrame& f) override {
    const int alpha = AlphaOfProgress(f.progress);
    for (int y = 0; y < f.height; ++y) {
      const BYTE* a = f.FromRow(y);
      const BYTE* b = f.ToRow(y);
      BYTE* out = f.OutRow(y);
      for (int x = 0; x < f.width; ++x) {
        const int greyA = (a[3 * x] * 29 + a[3 * x + 1] * 150 + a[3 * x + 2] * 77) >> 8;
        const int greyB = (b[3 * x] * 29 + b[3 * x + 1] * 150 + b[3 * x + 2] * 77) >> 8;
        for (int c = 0; c < 3; ++c) {
          const BYTE fadedA = BlendByte(a[3 * x + c], static_cast<BYTE>(greyA), alpha);
          const BYTE risingB = BlendByte(static_cast<BYTE>(greyB), b[3 * x + c], alpha);
          out[3 * x + c] = BlendByte(fadedA, risingB, alpha);
        }
      }
    }
  }
};

// Bands close over the outgoing picture in the background colour, then open on the incoming.
class Shutter final : public Named {
 public:
  Shutter() : Named("Shutter", 1002) {}

 protected:
  void Compose(const TransitionFrame& f) override {
    const int band = std::max(1, f.height / 6);
    const bool closing = f.progress < kProgressOne / 2;
    // How many rows of each band the shutter covers (closing) or has uncovered (opening).
    const int rows = closing ? ScaleByProgress(f.progress * 2, band)
                             : ScaleByProgress((f.progress - kProgressOne / 2) * 2, band);
    for (int y = 0; y < f.height; ++y) {
      const int inBand = y % band;
      BYTE* out = f.OutRow(y);
      const bool shut = closing ? inBand < rows : inBand >= rows;
      if (shut)
        FillPixels(out, f.width, f.background);
      else
        std::memcpy(out, closing ? f.FromRow(y) : f.ToRow(y), static_cast<size_t>(f.width) * 3);
    }
  }
};

// The tests build copies that report a zeroed or a foreign version.
#ifndef EXTRAS_REPORTED_ABI_VERSION
#define EXTRAS_REPORTED_ABI_VERSION kTransitionAbiVersion
#endif

template <class T>
CTransition* Make() {
  return new T;
}

constexpr TransitionEntryFactory kFactories[] = {&Make<Interlace>, &Make<ColourFade>, &Make<Shutter>};
constexpr int kCount = static_cast<int>(std::size(kFactories));

}  // namespace

extern "C" __attribute__((visibility("default"))) int Mossen_GetExTransitionLibInfo(
    _tagTransitionLibInfo* info, TransitionEntryFactory* factories) {
  if (info != nullptr) {
    info->dwAbiVersion = EXTRAS_REPORTED_ABI_VERSION;
    info->nCount = kCount;
    std::snprintf(info->szLibName, sizeof info->szLibName, "%s", "Extras");
  }
  if (factories != nullptr) std::copy(std::begin(kFactories), std::end(kFactories), factories);
  return kCount;
}
