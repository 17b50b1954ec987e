// What the music track's preview plays, worked out on the UI thread from copies of the clips and
// the photo track's items, so the preview thread never reads the album: the clips in track order
// from their start positions (repeating when looping), cut at the slideshow's end, faded in and
// out when fading, and the slides' sound annotations over them. Nothing here changes a clip or
// an annotation; where the slideshow's end cuts a sound, only the plan is cut.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "modules/data/AudioSource.h"
#include "modules/data/MusicMix.h"

namespace music_preview {

// A photo-track item: its length and, for a slide with one, a copy of its sound annotation.
struct Item {
  int durationMs = 0;
  std::optional<_AUDIO_SOURCE> annotation;
};

// The slideshow lasts `totalMs` (the photo track's total). Clips whose trim end equals their
// trim start are left out, and so are clips that start at or after the end (looping stops
// there). A clip the end cuts is cut there, and the looping stops; with fading, a cut piece of 6
// seconds or less is left out instead. Each pass of the loop starts where the previous pass's
// last clip ended; a pass that places nothing ends the looping. Fades: 3 s, or half the piece
// less a second when shorter; none for pieces of 2 s or less. Annotations play from their item's
// start, without fades, for their trimmed length or until the end, whichever comes first.
pictavo::data::MusicPlan Plan(const std::vector<_AUDIO_SOURCE>& clips, const std::vector<Item>& items,
                              int64_t totalMs, bool loop, bool fade);

}  // namespace music_preview
