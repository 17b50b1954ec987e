// The arithmetic and texts the slide dialogs share.
#include <gtest/gtest.h>

#include "editing/SlideEditRules.h"

using namespace slideedit;

TEST(SlideEditRules, DurationsShownAndStored) {
  struct Case {
    int one, two;
    bool album;
    DurationChoice shown;
    DurationChoice storedAsShown;  // OK with nothing changed
  };
  const Case cases[] = {
      {-1, -1, true, {kAlbum, 2, 5}, {kAlbum, -1, -1}},
      {-1, -1, false, {kAlbum, 2, 3}, {kCustom, 2, 3}},  // no album: the shown values are stored
      {3, -1, true, {kCustom, 3, -1}, {kCustom, 3, -1}},
      {0, 0, true, {kCustom, 0, 0}, {kCustom, 0, 0}},
  };
  for (const Case& c : cases) {
    const DurationChoice shown = LoadDurations(c.one, c.two, c.album, 2, 5);
    EXPECT_EQ(shown, c.shown) << c.one << "/" << c.two << " album " << c.album;
    EXPECT_EQ(StoredDurations(shown, c.album), c.storedAsShown) << c.one << "/" << c.two;
  }
}

TEST(SlideEditRules, ZeroDurationsAndSoundLength) {
  struct Zero {
    int one, two, two_after;
    bool changed;
  };
  for (const Zero& z : {Zero{0, 0, 1, true}, Zero{0, 4, 4, false}, Zero{2, 0, 0, false}}) {
    int two = z.two;
    EXPECT_EQ(FixZeroDurations(z.one, two), z.changed);
    EXPECT_EQ(two, z.two_after);
  }
  struct Sound {
    int sound, transition, photo;
  };
  for (const Sound& s : {Sound{12, 2, 10}, Sound{3, 5, 1}, Sound{2, 2, 0}})
    EXPECT_EQ(PhotoDurationForSound(s.sound, s.transition), s.photo) << s.sound << " less " << s.transition;
}

TEST(SlideEditRules, NamesAndLengths) {
  struct Name {
    const char* display;
    const char* combo;
  };
  for (const Name& n : {Name{"Fade[Basic]", "Fade"}, Name{"Fade [TransitionLib]", "Fade "},
                        Name{"Wipe", "Wipe"}, Name{"A[b][c]", "A[b]"}})
    EXPECT_STREQ(ComboName(n.display), n.combo);
  struct Length {
    long long ms;
    const char* text;
  };
  for (const Length& l : {Length{0, "0:00:00"}, Length{12000, "0:00:12"}, Length{3725000, "1:02:05"},
                          Length{-5, "0:00:00"}, Length{999, "0:00:00"}})
    EXPECT_STREQ(FormatSoundLength(l.ms), l.text) << l.ms;
}
