// The committed icon strip: one 40 x 30 cell per built-in transition, in list order, and
// up to date with what the transitions draw.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "EffectsFixtures.h"
#include "modules/effects/IconStrip.h"

using namespace effectstest;

namespace {

std::string CommittedStrip() {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source != nullptr ? source : ".") + "/data/" + pictavo::effects::kIconStripPath;
}

}  // namespace

TEST(TransitionIcons, CommittedStripHasACellPerTransitionAndIsCurrent) {
  const int count = Mossen_GetTransitionLibInfo(nullptr, nullptr);
  CxImage committed;
  ASSERT_TRUE(committed.Load(CommittedStrip().c_str()))
      << CommittedStrip() << ": " << committed.GetLastError();
  EXPECT_EQ(committed.GetWidth(), static_cast<DWORD>(pictavo::effects::kIconWidth * count));
  EXPECT_EQ(committed.GetHeight(), static_cast<DWORD>(pictavo::effects::kIconHeight));

  // Cell by cell, so a stale or shifted strip names the transition whose icon is wrong. A cell
  // may differ from a fresh rendering only by rounding (another compiler's maths library).
  CxImage fresh = pictavo::effects::RenderTransitionIconStrip();
  ASSERT_EQ(fresh.GetWidth(), committed.GetWidth());
  const auto factories = BuiltInFactories();
  for (int k = 0; k < count; ++k) {
    long difference = 0;
    for (DWORD y = 0; y < committed.GetHeight(); ++y) {
      const BYTE* a = committed.GetBits(y) + 3 * pictavo::effects::kIconWidth * k;
      const BYTE* b = fresh.GetBits(y) + 3 * pictavo::effects::kIconWidth * k;
      for (int i = 0; i < 3 * pictavo::effects::kIconWidth; ++i) difference += std::abs(a[i] - b[i]);
    }
    std::unique_ptr<CTransition> transition(factories[static_cast<size_t>(k)]());
    EXPECT_LT(difference, 3 * pictavo::effects::kIconWidth * pictavo::effects::kIconHeight / 2)
        << "icon " << k << " (" << NameOf(*transition)
        << ") is stale: rebuild it with build/tools/make_transition_icons data/images/trans_icon.bmp";
  }
}

TEST(TransitionIcons, CellsShowTheirTransition) {
  // Neighbouring transitions draw different icons (a cell shifted by one would repeat).
  CxImage strip = pictavo::effects::RenderTransitionIconStrip();
  const int count = static_cast<int>(strip.GetWidth()) / pictavo::effects::kIconWidth;
  for (int k = 1; k + 1 < count; ++k) {
    bool differs = false;
    for (DWORD y = 0; y < strip.GetHeight() && !differs; ++y) {
      const BYTE* a = strip.GetBits(y) + 3 * pictavo::effects::kIconWidth * k;
      differs = std::memcmp(a, a + 3 * pictavo::effects::kIconWidth, 3 * pictavo::effects::kIconWidth) != 0;
    }
    EXPECT_TRUE(differs) << "icons " << k << " and " << k + 1;
  }
}
