// The system sounds the menus play: their shape, and what PlaySound answers on a machine
// without a sound device (every test binary here runs as on one).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "platform/media/PlaySound.h"

namespace {

using pictavo::media::SystemSoundSamples;

struct SoundCase {
  const char* alias;
  int minMs, maxMs;
};
const SoundCase kSounds[] = {
    {"MenuPopup", 20, 80},
    {"MenuCommand", 20, 80},
    {"SystemDefault", 100, 400},
};

TEST(SystemSounds, ShortSoftAndWithoutClicks) {
  for (const int rate : {22050, 44100, 48000}) {
    for (const auto& c : kSounds) {
      const auto samples = SystemSoundSamples(c.alias, rate);
      const auto ms = static_cast<int>(samples.size() * 1000 / rate);
      EXPECT_GE(ms, c.minMs) << c.alias << " at " << rate;
      EXPECT_LE(ms, c.maxMs) << c.alias << " at " << rate;
      ASSERT_FALSE(samples.empty());
      // A sound that starts or stops away from zero clicks on the speaker.
      EXPECT_EQ(samples.front(), 0) << c.alias;
      EXPECT_EQ(samples.back(), 0) << c.alias;
      int peak = 0;
      for (int16_t s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
      EXPECT_GT(peak, 32767 / 20) << c.alias << " is audible";
      EXPECT_LT(peak, 32767 / 3) << c.alias << " stays soft";
    }
  }
}

TEST(SystemSounds, AliasesSoundDifferent) {
  EXPECT_NE(SystemSoundSamples("MenuPopup", 44100), SystemSoundSamples("MenuCommand", 44100));
  EXPECT_TRUE(SystemSoundSamples("NoSuchSound", 44100).empty());
  EXPECT_TRUE(SystemSoundSamples("MenuPopup", 0).empty());
}

struct PlayCase {
  const char* sound;
  DWORD flags;
  BOOL result;
};
// Nothing plays without a device, and the call never waits for one; a purge always succeeds.
const PlayCase kPlays[] = {
    {"MenuPopup", SND_ALIAS | SND_NODEFAULT | SND_NOWAIT, FALSE},
    {"MenuCommand", SND_ALIAS | SND_NODEFAULT | SND_NOWAIT, FALSE},
    {"NoSuchSound", SND_ALIAS, FALSE},
    {"NoSuchSound", SND_ALIAS | SND_NODEFAULT, FALSE},
    {"MenuPopup", SND_ALIAS | SND_ASYNC, FALSE},
    {"/tmp/sound.wav", SND_FILENAME, FALSE},
    {nullptr, SND_PURGE, TRUE},
    {nullptr, 0, TRUE},
};

TEST(PlaySound, SilentWithoutDevice) {
  for (const auto& c : kPlays)
    EXPECT_EQ(PlaySound(c.sound, nullptr, c.flags), c.result)
        << (c.sound ? c.sound : "(null)") << " " << c.flags;
}

}  // namespace
