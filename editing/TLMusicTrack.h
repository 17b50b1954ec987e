// The timeline's lower track: the album's background-music clips, placed in time against the
// photo track above (whose items have no common time scale) and moved by dragging a clip onto a
// photo-track item. UI thread only. The clip preview player is not part of this class yet:
// StartPreview and StopPreview answer without playing.
#pragma once

#include "editing/TimelineTracks.h"

class CTLMusicItem;
class CWnd;
struct _AUDIO_SOURCE;

class CTLMusicTrack : public CTLTrack {
 public:
  CTLMusicTrack(CTimelineCtrl* pOwner, int nTop, int nHeight) : CTLTrack(pOwner, nTop, nHeight) {}
  ~CTLMusicTrack() override;

  // Readies the preview parameters (loop and fade on). S_OK.
  long CreateTimeline();

  void Paint(CDC* pDC) override;
  int GetTotalDuration() override { return 0; }
  // The base selection, then WM_TIMELINE_SELECT_CLIP (clip index, 1) posted to the control's parent.
  int SelectItem(CTimelineItem* pItem) override;
  virtual HANDLE StartPreview(CWnd* pNotify, int nStart, int bLoop, int bFade);
  virtual void RunPreview() {}

  void StopPreview();
  void SetLoop(int bLoop);
  int GetLoop() const { return m_bLoop; }
  BOOL IsPlaying() const { return m_bPlaying; }

  // Moves the clip to where pTarget (a photo-track item) starts; nothing when the photo track
  // does not hold pTarget.
  void MoveClipToPoint(CTLMusicItem* pClip, CTimelineItem* pTarget);
  // Moves the clip to start at nStart (milliseconds), shortening a clip it lands in (after asking)
  // and pushing later clips back to back behind it; the list stays sorted by start.
  void MoveClip(CTLMusicItem* pClip, int nStart);

  // Strip x of slideshow time t (milliseconds), through the photo track's items.
  int TimeToX(int t) const;
  // Places every clip by its times; the right edge of the last clip.
  int LayoutClips();
  // The first clip playing at time t, or null.
  CTLMusicItem* FindClipAt(int t) const;
  void SortClipsByStart();

 private:
  int m_nStart = 0;
  int m_bLoop = 0;
  int m_bFade = 0;
  BOOL m_bPlaying = FALSE;
  CWnd* m_pNotify = nullptr;
};
