#include "editing/TLMusicTrack.h"

#include <algorithm>
#include <vector>

#include "editing/MusicPreviewPlan.h"
#include "editing/TimelineCtrl.h"
#include "editing/TimelineItemPaint.h"
#include "editing/TimelineItems.h"
#include "modules/data/AudioSource.h"
#include "modules/data/DVDImage.h"
#include "modules/data/MusicPlayback.h"
#include "modules/log/Log.h"
#include "platform/base/List.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/Thread.h"
#include "platform/kernel/Wait.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/WinApp.h"

#define IDS_TIMELINE_MUSIC_EMPTY 283

namespace {

// Clip times are compared as unsigned values, as the clip records keep them.
unsigned U(int v) {
  return static_cast<unsigned>(v);
}

int Length(const _AUDIO_SOURCE* s) {
  return s->nTrimEnd - s->nTrimStart;
}

}  // namespace

CTLMusicTrack::~CTLMusicTrack() {
  StopPreview();
  if (m_hStop != nullptr) CloseHandle(m_hStop);
  if (m_hDone != nullptr) CloseHandle(m_hDone);
}

long CTLMusicTrack::CreateTimeline() {
  if (m_hStop == nullptr) m_hStop = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  if (m_hDone == nullptr) m_hDone = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  if (m_hStop == nullptr || m_hDone == nullptr) return E_FAIL;
  m_bTimeline = TRUE;
  m_nStart = 0;
  m_bLoop = 1;
  m_bFade = 1;
  m_hNotify = nullptr;
  return 0;
}

int CTLMusicTrack::SelectItem(CTimelineItem* pItem) {
  const int index = CTLTrack::SelectItem(pItem);
  if (CWnd* parent = m_pOwner->GetSafeHwnd() != nullptr ? m_pOwner->GetParent() : nullptr; parent != nullptr)
    parent->PostMessage(WM_TIMELINE_SELECT_CLIP, static_cast<WPARAM>(index), 1);
  return index;
}

namespace {

unsigned __stdcall AudioClipPreviewThread(void* track) {
  static_cast<CTLMusicTrack*>(track)->RunPreview();
  return 0;
}

}  // namespace

HANDLE CTLMusicTrack::StartPreview(CWnd* pNotify, int nStart, int bLoop, int bFade) {
  if (m_bPlaying)
    return reinterpret_cast<HANDLE>(
        static_cast<INT_PTR>(AfxMessageBox("Already playing, please play again later!", MB_OK)));
  WaitForPreviewThread();
  m_hNotify = pNotify != nullptr ? pNotify->GetSafeHwnd() : nullptr;
  m_nStart = nStart;
  m_bLoop = bLoop;
  m_bFade = bFade;

  // The plan is made here, from copies: the preview thread never reads the album or the tracks.
  std::vector<_AUDIO_SOURCE> clips;
  for (POSITION pos = m_items.GetHeadPosition(); pos != nullptr;)
    if (const _AUDIO_SOURCE* s = static_cast<CTLMusicItem*>(m_items.GetNext(pos))->m_pSource)
      clips.push_back(*s);
  std::vector<music_preview::Item> items;
  int total = 0;
  if (CTLPhotoTrack* photos = m_pOwner->GetPhotoTrack()) {
    total = photos->GetTotalDuration();
    for (int i = 0; i < photos->GetCount(); ++i) {
      CTimelineItem* item = photos->GetItem(i);
      music_preview::Item entry;
      entry.durationMs = item->GetDuration();
      if (auto* photo = dynamic_cast<CTLPhotoItem*>(item); photo != nullptr && photo->m_pImage != nullptr)
        if (const _AUDIO_SOURCE* note = photo->m_pImage->GetAnnotation()) entry.annotation = *note;
      items.push_back(std::move(entry));
    }
  }
  m_plan = music_preview::Plan(clips, items, total, bLoop != 0, bFade != 0);

  ResetEvent(m_hStop);
  m_bPlaying = TRUE;
  m_hThread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &AudioClipPreviewThread, this, 0, nullptr));
  if (m_hThread == nullptr) {
    WriteErrorLog("Music preview: the preview thread could not start");
    m_bPlaying = FALSE;
  }
  return m_hThread;
}

void CTLMusicTrack::RunPreview() {
  if (m_bTimeline) {
    auto renderer =
        std::make_unique<pictavo::data::MusicRenderer>(m_plan, pictavo::media::AudioFormat{44100, 2});
    renderer->Seek(pictavo::media::FramesForLength(pictavo::media::FromMilliseconds(std::max(0, m_nStart)),
                                                   renderer->Format().sampleRate));
    HANDLE finished = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    if (finished != nullptr) {
      {
        pictavo::data::MusicPlayback playback(std::move(renderer), {nullptr, m_hStop, finished});
        WaitForSingleObject(finished, INFINITE);
      }
      CloseHandle(finished);
    }
  }
  // Every way out ends alike: not playing, the owner told, the done event set.
  m_bPlaying = FALSE;
  if (m_hNotify != nullptr) ::PostMessage(m_hNotify, WM_AUDIO_PREVIEW_DONE, 0, 0);
  SetEvent(m_hDone);
}

void CTLMusicTrack::WaitForPreviewThread() {
  if (m_hThread == nullptr) return;
  WaitForSingleObject(m_hThread, INFINITE);
  CloseHandle(m_hThread);
  m_hThread = nullptr;
}

void CTLMusicTrack::StopPreview() {
  if (m_hThread == nullptr) return;
  SetEvent(m_hStop);
  WaitForPreviewThread();
}

void CTLMusicTrack::SetLoop(int bLoop) {
  m_bLoop = bLoop;
  if (m_pOwner->GetSafeHwnd() != nullptr) m_pOwner->Invalidate(FALSE);
}

int CTLMusicTrack::TimeToX(int t) const {
  const CTLPhotoTrack* photos = m_pOwner->GetPhotoTrack();
  if (photos == nullptr || photos->GetCount() == 0) return 0;
  unsigned sum = 0;
  for (int i = 0; i < photos->GetCount(); ++i) {
    CTimelineItem* item = photos->GetItem(i);
    const unsigned duration = U(item->GetDuration());
    if (duration != 0 && sum <= U(t) && U(t) < sum + duration) {
      const long long width = item->m_rcLayout.right - item->m_rcLayout.left;
      return item->m_rcLayout.left + static_cast<int>(width * (U(t) - sum) / duration);
    }
    sum += duration;
  }
  return photos->GetItem(photos->GetCount() - 1)->m_rcLayout.right;
}

int CTLMusicTrack::LayoutClips() {
  CTLPhotoTrack* photos = m_pOwner->GetPhotoTrack();
  int right = 0;
  if (photos == nullptr || photos->GetTotalDuration() == 0) return right;
  for (POSITION pos = m_items.GetHeadPosition(); pos != nullptr;) {
    auto* clip = static_cast<CTLMusicItem*>(m_items.GetNext(pos));
    if (clip->m_pSource == nullptr) continue;
    clip->m_rcLayout.left = TimeToX(clip->m_pSource->nStartPos);
    clip->m_rcLayout.right = TimeToX(clip->m_pSource->nStartPos + Length(clip->m_pSource));
    right = clip->m_rcLayout.right;
  }
  return right;
}

CTLMusicItem* CTLMusicTrack::FindClipAt(int t) const {
  for (POSITION pos = m_items.GetHeadPosition(); pos != nullptr;) {
    auto* clip = static_cast<CTLMusicItem*>(m_items.GetNext(pos));
    const _AUDIO_SOURCE* s = clip->m_pSource;
    if (s != nullptr && U(s->nStartPos) <= U(t) && U(t) < U(s->nStartPos + Length(s))) return clip;
  }
  return nullptr;
}

void CTLMusicTrack::SortClipsByStart() {
  std::vector<CTLMusicItem*> clips;
  for (POSITION pos = m_items.GetHeadPosition(); pos != nullptr;)
    clips.push_back(static_cast<CTLMusicItem*>(m_items.GetNext(pos)));
  std::stable_sort(clips.begin(), clips.end(), [](const CTLMusicItem* a, const CTLMusicItem* b) {
    return U(a->m_pSource->nStartPos) < U(b->m_pSource->nStartPos);
  });
  m_items.RemoveAll();
  for (CTLMusicItem* clip : clips) m_items.AddTail(clip);
}

void CTLMusicTrack::MoveClipToPoint(CTLMusicItem* pClip, CTimelineItem* pTarget) {
  int start = 0;
  if (pClip != nullptr && m_pOwner->GetPhotoTrack()->GetStartTime(pTarget, start)) MoveClip(pClip, start);
}

void CTLMusicTrack::MoveClip(CTLMusicItem* pClip, int nStart) {
  _AUDIO_SOURCE* moved = pClip->m_pSource;
  if (moved == nullptr) return;
  if (CTLMusicItem* landing = FindClipAt(nStart); landing != nullptr && landing != pClip) {
    if (AfxMessageBox("Truncate the current audio clip?", MB_OKCANCEL) == IDCANCEL) return;
    _AUDIO_SOURCE* s = landing->m_pSource;
    s->nTrimEnd = static_cast<int>(std::min(U(nStart - s->nStartPos + s->nTrimStart), U(s->nSourceLength)));
  }
  int end = nStart + Length(moved);
  if (U(nStart) > U(moved->nStartPos)) {
    for (POSITION pos = m_items.GetHeadPosition(); pos != nullptr;) {
      _AUDIO_SOURCE* s = static_cast<CTLMusicItem*>(m_items.GetNext(pos))->m_pSource;
      if (s == moved || s == nullptr || U(s->nStartPos) < U(nStart)) continue;
      s->nStartPos = end;
      end += Length(s);
    }
  } else {
    int e = end;
    for (POSITION pos = m_items.GetHeadPosition(); pos != nullptr;) {
      _AUDIO_SOURCE* s = static_cast<CTLMusicItem*>(m_items.GetNext(pos))->m_pSource;
      if (s == nullptr || U(s->nStartPos) < U(end)) continue;
      s->nStartPos = e;
      e += Length(s);
    }
  }
  moved->nStartPos = nStart;
  SortClipsByStart();
}

void CTLMusicTrack::NudgeClip(_AUDIO_SOURCE* pSource, int nSeconds) {
  for (POSITION pos = m_items.GetHeadPosition(); pos != nullptr;) {
    auto* clip = static_cast<CTLMusicItem*>(m_items.GetNext(pos));
    if (clip->m_pSource != pSource || pSource == nullptr) continue;
    CTLPhotoTrack* photos = m_pOwner->GetPhotoTrack();
    const long long total = photos != nullptr ? std::max(0, photos->GetTotalDuration()) : 0;
    const long long start = static_cast<long long>(pSource->nStartPos) + 1000LL * nSeconds;
    MoveClip(clip, static_cast<int>(std::clamp<long long>(start, 0, total)));
    if (m_pOwner->GetSafeHwnd() != nullptr) m_pOwner->Invalidate(TRUE);
    return;
  }
}

void CTLMusicTrack::GetClipEntries(CPtrList& list) const {
  list.RemoveAll();
  for (POSITION pos = m_items.GetHeadPosition(); pos != nullptr;)
    if (_AUDIO_SOURCE* s = static_cast<CTLMusicItem*>(m_items.GetNext(pos))->m_pSource) list.AddTail(s);
}

void CTLMusicTrack::Paint(CDC* pDC) {
  if (m_items.GetCount() == 0) {
    TimelinePaint::EmptyTrack(pDC, m_pOwner, m_nTop, m_nHeight, IDS_TIMELINE_MUSIC_EMPTY);
    return;
  }
  const int clipsEnd = LayoutClips();
  if (m_bLoop) {
    CRect loop(clipsEnd, m_nTop, m_pOwner->GetTotalWidth(), m_nTop + m_nHeight);
    const RECT band = VisibleBand();
    if (loop.left < band.right && band.left < loop.right) {
      loop.OffsetRect(-m_pOwner->GetScrollPosition(), 5);
      TimelinePaint::LoopBand(pDC, loop);
    }
  }
  CTLTrack::Paint(pDC);
}
