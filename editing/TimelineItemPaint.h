// How the timeline's items and empty tracks look: frames from the control's item pictures, the
// texts of durations and start times, thumbnails, music clips stretched from their caps. Kept
// apart from the items' behaviour so the items stay small. UI thread only.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

class CDC;
class CImageList;
class CTimelineCtrl;
class CTimelineItem;
class CTLPhotoItem;
class CTLTransitionItem;
class CTLMusicItem;

namespace TimelinePaint {

// A thin grey frame across the client over the track's band, with the string centred in it.
void EmptyTrack(CDC* pDC, CTimelineCtrl* pOwner, int nTop, int nHeight, UINT nStringID);
void PhotoItem(CDC* pDC, CTLPhotoItem& item, int nStart);
void TransitionItem(CDC* pDC, CTLTransitionItem& item);
// Titles and credits: their frame and their seconds.
void SecondsItem(CDC* pDC, CTimelineItem& item, CImageList* pFrames, int nDuration);
void MusicItem(CDC* pDC, CTLMusicItem& item);
// Where a dragged slide would go: a bar at x across the track, with a notch at each end.
void InsertionMark(CDC* pDC, int x, int nTop, int nHeight);
// The band that shows the music looping after the last clip.
void LoopBand(CDC* pDC, const RECT& rect);

// The music clip's text: "00:04 - 00:19 (song.mp3)".
CString MusicItemText(int nStart, int nTrimStart, int nTrimEnd, LPCTSTR lpszPath);

}  // namespace TimelinePaint
