// What the music track's clip preview plays: pieces of the clips and annotations on the
// slideshow's time axis, worked out from copies, so the user's records stay as they are.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editing/MusicPreviewPlan.h"

namespace {

using music_preview::Item;
using pictavo::data::MusicPiece;

_AUDIO_SOURCE Sound(const char* path, int start, int trimStart, int trimEnd, int length = 600000) {
  _AUDIO_SOURCE s;
  s.strPathName = path;
  s.nSourceLength = length;
  s.nTrimStart = trimStart;
  s.nTrimEnd = trimEnd;
  s.nStartPos = start;
  return s;
}

// path, media start, track start, length, fade
MusicPiece P(const char* path, int64_t media, int64_t start, int64_t length, int64_t fade) {
  return MusicPiece{path, media, start, length, fade};
}

struct Case {
  const char* name;
  std::vector<_AUDIO_SOURCE> clips;
  int64_t total;
  bool loop, fade;
  std::vector<MusicPiece> pieces;
};

TEST(MusicPreviewPlan, ClipsOnTheSlideshowsTimeAxis) {
  const Case kCases[] = {
      {"an empty trim is left out",
       {Sound("a", 0, 5000, 5000), Sound("b", 0, 0, 4000)},
       10000,
       false,
       false,
       {P("b", 0, 0, 4000, 0)}},
      {"the end cuts a clip to 6 s: with fading it is left out and looping stops",
       {Sound("a", 0, 0, 14000), Sound("b", 14000, 0, 10000)},
       20000,
       true,
       true,
       {P("a", 0, 0, 14000, 3000)}},
      {"the end cuts a clip to 7 s: it plays cut, faded, and looping stops",
       {Sound("a", 0, 0, 14000), Sound("b", 14000, 0, 10000)},
       21000,
       true,
       true,
       {P("a", 0, 0, 14000, 3000), P("b", 0, 14000, 7000, 2500)}},
      {"without fading a cut piece of 6 s plays",
       {Sound("a", 0, 2000, 12000)},
       6000,
       true,
       false,
       {P("a", 2000, 0, 6000, 0)}},
      {"a clip starting past the end is left out",
       {Sound("a", 0, 0, 3000), Sound("b", 9000, 0, 3000)},
       8000,
       false,
       false,
       {P("a", 0, 0, 3000, 0)}},
      {"looping repeats the list from where each pass ended",
       {Sound("a", 0, 0, 4000), Sound("b", 4000, 0, 3000)},
       16000,
       true,
       false,
       {P("a", 0, 0, 4000, 0), P("b", 0, 4000, 3000, 0), P("a", 0, 7000, 4000, 0), P("b", 0, 11000, 3000, 0),
        P("a", 0, 14000, 2000, 0)}},
      {"a loop whose clips are all empty ends",
       {Sound("a", 0, 1000, 1000), Sound("b", 0, 0, 0)},
       60000,
       true,
       true,
       {}},
      {"fades: 8 s gets 3 s, 6 s gets 2 s, 2 s gets none",
       {Sound("a", 0, 0, 8000), Sound("b", 8000, 0, 6000), Sound("c", 14000, 0, 2000)},
       100000,
       false,
       true,
       {P("a", 0, 0, 8000, 3000), P("b", 0, 8000, 6000, 2000), P("c", 0, 14000, 2000, 0)}},
  };
  for (const Case& c : kCases) {
    const auto plan = music_preview::Plan(c.clips, {}, c.total, c.loop, c.fade);
    EXPECT_EQ(plan.pieces, c.pieces) << c.name;
    EXPECT_EQ(plan.totalMs, c.total) << c.name;
  }
}

TEST(MusicPreviewPlan, AnnotationsPlayFromTheirItemAndAreOnlyCutInThePlan) {
  // Title 3 s, slide one 5 s with a sound of 4 s (trim 1-5 s), transition 2 s, slide two 6 s
  // with a sound of 20 s that the end cuts to 6 s.
  std::vector<Item> items(4);
  items[0].durationMs = 3000;
  items[1].durationMs = 5000;
  items[1].annotation = Sound("one", 0, 1000, 5000, 9000);
  items[2].durationMs = 2000;
  items[3].durationMs = 6000;
  items[3].annotation = Sound("two", 0, 0, 20000, 30000);
  const _AUDIO_SOURCE before = *items[3].annotation;
  const auto plan = music_preview::Plan({}, items, 16000, true, true);
  EXPECT_EQ(plan.pieces,
            (std::vector<MusicPiece>{P("one", 1000, 3000, 4000, 0), P("two", 0, 10000, 6000, 0)}));
  EXPECT_EQ(*items[3].annotation, before);
}

}  // namespace
