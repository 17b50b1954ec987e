// The timeline's lower track: the album's background-music clips, placed in time against the
// photo track above (whose items have no common time scale), moved by dragging a clip onto a
// photo-track item or nudged by seconds, and played for the slideshow's length by the clip
// preview.
//
// The preview: StartPreview works out what plays on the UI thread (MusicPreviewPlan.h) and hands
// that plan to a thread of its own, which renders it with the data model's track renderer and
// plays it. From the start call until the thread has finished the preview counts as playing;
// the thread sets the done event and posts WM_AUDIO_PREVIEW_DONE on every way out. StopPreview
// and the destructor wait for the thread. Everything but the preview thread is UI thread only.
#pragma once

#include <atomic>
#include <memory>

#include "editing/TimelineTracks.h"
#include "modules/data/MusicMix.h"

class CPtrList;
class CTLMusicItem;
class CWnd;
struct _AUDIO_SOURCE;

class CTLMusicTrack : public CTLTrack {
 public:
  CTLMusicTrack(CTimelineCtrl* pOwner, int nTop, int nHeight) : CTLTrack(pOwner, nTop, nHeight) {}
  ~CTLMusicTrack() override;

  // Readies the preview: its events, and loop and fade on. S_OK.
  long CreateTimeline();

  void Paint(CDC* pDC) override;
  int GetTotalDuration() override { return 0; }
  // The base selection, then WM_TIMELINE_SELECT_CLIP (clip index, 1) posted to the control's parent.
  int SelectItem(CTimelineItem* pItem) override;
  // Plays the album's music and the slides' annotations from nStart (milliseconds) to the
  // slideshow's end; WM_AUDIO_PREVIEW_DONE goes to pNotify (may be null) when it ends. While a
  // preview plays: "Already playing, please play again later!" and that box's result. Otherwise
  // the preview thread's handle (the track keeps it), null when no thread could start.
  virtual HANDLE StartPreview(CWnd* pNotify, int nStart, int bLoop, int bFade);
  // On the preview thread: plays the plan StartPreview made.
  virtual void RunPreview();

  // Stops a preview and waits until its thread has ended; nothing when none runs.
  void StopPreview();
  void SetLoop(int bLoop);
  int GetLoop() const { return m_bLoop; }
  BOOL IsPlaying() const { return m_bPlaying.load(); }
  // Set when a preview ends, however it ends (auto-reset).
  HANDLE GetDoneEvent() const { return m_hDone; }
  // The plan of the preview last started.
  const pictavo::data::MusicPlan& GetPreviewPlan() const { return m_plan; }

  // Moves the clip to where pTarget (a photo-track item) starts; nothing when the photo track
  // does not hold pTarget.
  void MoveClipToPoint(CTLMusicItem* pClip, CTimelineItem* pTarget);
  // Moves the clip to start at nStart (milliseconds), shortening a clip it lands in (after asking)
  // and pushing later clips back to back behind it; the list stays sorted by start.
  void MoveClip(CTLMusicItem* pClip, int nStart);
  // Moves the first clip of that source by whole seconds, kept within 0 and the photo track's
  // length; nothing when no clip holds it.
  void NudgeClip(_AUDIO_SOURCE* pSource, int nSeconds);
  // Empties the list and fills it with the clips' sources in track order.
  void GetClipEntries(CPtrList& list) const;

  // Strip x of slideshow time t (milliseconds), through the photo track's items.
  int TimeToX(int t) const;
  // Places every clip by its times; the right edge of the last clip.
  int LayoutClips();
  // The first clip playing at time t, or null.
  CTLMusicItem* FindClipAt(int t) const;
  void SortClipsByStart();

 private:
  // Joins a preview thread that has ended or is ending.
  void WaitForPreviewThread();

  BOOL m_bTimeline = FALSE;  // CreateTimeline succeeded
  // Written before the preview thread starts, read by it.
  int m_nStart = 0;
  int m_bLoop = 0;
  int m_bFade = 0;
  HWND m_hNotify = nullptr;
  pictavo::data::MusicPlan m_plan;
  std::atomic<BOOL> m_bPlaying{FALSE};  // from StartPreview until the thread's last step
  HANDLE m_hStop = nullptr;             // auto-reset
  HANDLE m_hDone = nullptr;             // auto-reset
  HANDLE m_hThread = nullptr;           // UI thread
};
