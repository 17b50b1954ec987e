// The album options page's arithmetic and texts kept apart from the window: the duration rule,
// the lengths it shows, which music files it takes, and how the music list keeps its start times
// back to back when clips are removed, moved or trimmed. Pure functions over the data model's
// records; the table tests in tests/albums check them.
#pragma once

#include <cstdint>

#include "modules/data/AudioSource.h"
#include "platform/base/CString.h"
#include "platform/base/List.h"
#include "platform/base/WinTypes.h"

// Seconds as the page shows a length: "%01d:%02d:%02d". 0 -> "0:00:00", 3725 -> "1:02:05";
// a negative count shows as 0.
CString FormatAlbumLength(int nSeconds);

// The page's duration rule: a slide that neither fades in nor stays would take no time, so when
// both durations are 0 the photo duration becomes 1. TRUE when it changed the photo duration.
// (0, 0) -> (0, 1) TRUE; (0, 4) and (2, 0) unchanged.
BOOL ApplyDurationRule(int& nTransition, int& nPhoto);

// The size rule for music files: more than 307200 bytes for ".wav" (any case), more than 30720
// bytes for any other extension. ("a.WAV", 307200) -> FALSE; ("a.wav", 307201) -> TRUE;
// ("a.mp3", 30721) -> TRUE.
BOOL IsMusicFileSizeAccepted(LPCTSTR lpszPath, uint64_t nBytes);

// The "Length" column of a music row: clip and file length in whole seconds,
// clip 12500 ms of a 180000 ms file -> "12\" of 180\"".
CString MusicLengthText(const _AUDIO_SOURCE& entry);
// The "Time in Track" column: "start - end" as FormatMilliseconds writes them,
// start 65000, clip 10000 -> "01:05 - 01:15".
CString MusicTimeText(const _AUDIO_SOURCE& entry);
// The music row's image: 2 for a clip that starts before the slideshow ends, else 0.
int MusicRowImage(const _AUDIO_SOURCE& entry, int64_t nSlideshowEndMs);
// TRUE when the entry is the program's default music ("default.mp3" in any case, any folder).
BOOL IsDefaultMusic(const _AUDIO_SOURCE& entry);

// Start-time bookkeeping of an album's music list (a list of _AUDIO_SOURCE*, in play order).
// Every entry after `nIndex` moves by `nDeltaMs` (removal: minus the removed clip's length; a
// trim: the new clip length minus the old one). Starts never go below 0.
void ShiftMusicAfter(CPtrList& list, int nIndex, int nDeltaMs);
// Exchanges entries k-1 and k: the one at k moves up and takes the earlier start, the other
// follows it. FALSE (nothing changes) for k <= 0 or past the end.
BOOL MoveMusicEntryUp(CPtrList& list, int k);
// The same with entries k and k+1; FALSE for the last entry or outside the list.
BOOL MoveMusicEntryDown(CPtrList& list, int k);
