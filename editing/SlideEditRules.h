// The arithmetic and texts the slide dialogs and the transition page share, kept apart from the
// windows: a slide's durations (stored -1 = the album's), the transition combo's names and the
// sound annotation's length. Each function has its examples in a comment line; see
// tests/editing/SlideEditRulesTest.cpp.
#pragma once

#include <cstdio>
#include <string>

#include "platform/base/CString.h"

namespace slideedit {

// The durations' radio: 0 the album's, 1 the slide's own.
enum { kAlbum = 0, kCustom = 1 };

struct DurationChoice {
  int radio = kAlbum;
  int one = 0;  // custom transition duration, seconds
  int two = 0;  // custom photo duration, seconds
  bool operator==(const DurationChoice&) const = default;
};

// What a dialog shows for stored durations: both -1 gives Album with the album's values (2 and 3
// without an album) in the custom fields, anything else Custom with the stored values.
// (-1,-1, album 2/5) -> {Album, 2, 5}; (-1,-1, none) -> {Album, 2, 3}; (3,-1) -> {Custom, 3, -1}
inline DurationChoice LoadDurations(int storedOne, int storedTwo, bool hasAlbum, int albumOne, int albumTwo) {
  if (storedOne == -1 && storedTwo == -1)
    return hasAlbum ? DurationChoice{kAlbum, albumOne, albumTwo} : DurationChoice{kAlbum, 2, 3};
  return {kCustom, storedOne, storedTwo};
}

// What OK stores: the custom values for Custom or a slide without album, else -1 and -1.
// {Album, 2, 5} with album -> (-1,-1); {Album, 2, 5} without -> (2,5); {Custom, 3, 5} -> (3,5)
inline DurationChoice StoredDurations(const DurationChoice& shown, bool hasAlbum) {
  if (shown.radio == kCustom || !hasAlbum) return {kCustom, shown.one, shown.two};
  return {kAlbum, -1, -1};
}

// A slide never lasts 0 s: both custom durations 0 turns the photo duration into 1.
// (0,0) -> two 1, true; (0,4) -> unchanged, false
inline bool FixZeroDurations(int one, int& two) {
  if (one != 0 || two != 0) return false;
  two = 1;
  return true;
}

// "Same as Sound Annotation": the photo lasts the sound less the transition, at least 1 s unless
// it comes out 0. (12, 2) -> 10; (3, 5) -> 1; (2, 2) -> 0
inline int PhotoDurationForSound(int soundSeconds, int transitionSeconds) {
  const int photo = soundSeconds - transitionSeconds;
  return photo < 0 ? 1 : photo;
}

// A transition's name in the pickers: the display name up to its last "[", not trimmed; the
// whole name without one. "Fade[Basic]" -> "Fade"; "Fade [TransitionLib]" -> "Fade "; "Wipe" -> "Wipe"
inline CString ComboName(const CString& displayName) {
  const int bracket = displayName.ReverseFind('[');
  return bracket < 0 ? displayName : displayName.Left(bracket);
}

// A length in milliseconds as the annotation's "Duration:" shows it, hours:minutes:seconds.
// 0 -> "0:00:00"; 12000 -> "0:00:12"; 3725000 -> "1:02:05"
inline CString FormatSoundLength(long long milliseconds) {
  const long long seconds = milliseconds > 0 ? milliseconds / 1000 : 0;
  char text[32];
  std::snprintf(text, sizeof text, "%01lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return CString(text);
}

}  // namespace slideedit
