#include "editing/TimelineTracks.h"

#include "editing/TimelineCtrl.h"
#include "editing/TimelineItemPaint.h"
#include "editing/TimelineItems.h"
#include "modules/data/DVDAlbumImage.h"
#include "shell/TransitionList.h"

namespace {

bool Meets(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

CTLTrack::~CTLTrack() {
  Clear();
}

void CTLTrack::Clear() {
  for (POSITION pos = m_items.GetHeadPosition(); pos != nullptr;)
    delete static_cast<CTimelineItem*>(m_items.GetNext(pos));
  m_items.RemoveAll();
  m_nTotalWidth = 0;
}

CTimelineItem* CTLTrack::GetItem(int nIndex) const {
  POSITION pos = nIndex >= 0 ? m_items.FindIndex(nIndex) : nullptr;
  return pos != nullptr ? static_cast<CTimelineItem*>(m_items.GetAt(pos)) : nullptr;
}

int CTLTrack::IndexOf(const CTimelineItem* pItem) const {
  int index = 0;
  for (POSITION pos = m_items.GetHeadPosition(); pos != nullptr; ++index) {
    if (m_items.GetNext(pos) == pItem) return index;
  }
  return -1;
}

int CTLTrack::AddItem(CTimelineItem* pItem, int nWidth) {
  if (nWidth == 0) nWidth = pItem->GetWidth();
  RECT r;
  if (m_items.GetCount() > 0) {
    const RECT& last = static_cast<CTimelineItem*>(m_items.GetTail())->m_rcLayout;
    r = {last.right, last.top, 0, last.bottom};
  } else {
    r = {0, m_nTop, 0, m_nTop + m_nHeight};
  }
  if (r.bottom == 0) r.bottom = m_nHeight;
  r.right = r.left + nWidth;
  pItem->m_rcLayout = r;
  m_items.AddTail(pItem);
  m_nTotalWidth += nWidth;
  return nWidth;
}

RECT CTLTrack::VisibleBand() const {
  CRect client(0, 0, 0, 0);
  if (m_pOwner->GetSafeHwnd() != nullptr) m_pOwner->GetClientRect(&client);
  const int scroll = m_pOwner->GetScrollPosition();
  return {scroll, m_nTop, scroll + client.Width(), m_nTop + m_nHeight};
}

void CTLTrack::Paint(CDC* pDC) {
  const RECT band = VisibleBand();
  const _tagTimelineHit& hit = m_pOwner->GetHitRecord();
  const int scroll = m_pOwner->GetScrollPosition();
  int start = 0;
  for (POSITION pos = m_items.GetHeadPosition(); pos != nullptr;) {
    auto* item = static_cast<CTimelineItem*>(m_items.GetNext(pos));
    if (Meets(item->m_rcLayout, band)) {
      item->m_bHot = hit.pTrack == this && hit.pItem == item;
      item->UpdateDisplayRect(-scroll);
      item->Paint(pDC, start);
    }
    start += item->GetDuration();
  }
}

CTimelineItem* CTLTrack::HitTest(POINT pt) {
  const RECT band = VisibleBand();
  const int scroll = m_pOwner->GetScrollPosition();
  CTimelineItem* found = nullptr;
  for (POSITION pos = m_items.GetHeadPosition(); pos != nullptr;) {
    auto* item = static_cast<CTimelineItem*>(m_items.GetNext(pos));
    if (!Meets(item->m_rcLayout, band)) continue;
    item->UpdateDisplayRect(-scroll);
    if (item->HitTest(pt)) found = item;
  }
  return found;
}

void CTLTrack::SetReserved(int a, int b, int c, int d) {
  m_nReserved[0] = a;
  m_nReserved[1] = b;
  m_nReserved[2] = c;
  m_nReserved[3] = d;
}

int CTLTrack::SelectIndex(int nIndex) {
  int index = 0;
  for (POSITION pos = m_items.GetHeadPosition(); pos != nullptr; ++index)
    static_cast<CTimelineItem*>(m_items.GetNext(pos))->Select(index == nIndex);
  return nIndex;
}

int CTLTrack::SelectItem(CTimelineItem* pItem) {
  int index = 0, found = -1;
  for (POSITION pos = m_items.GetHeadPosition(); pos != nullptr; ++index) {
    auto* item = static_cast<CTimelineItem*>(m_items.GetNext(pos));
    item->Select(item == pItem);
    if (item == pItem) found = index;
  }
  return found;
}

// ---- photo track ----

void CTLPhotoTrack::Paint(CDC* pDC) {
  if (m_items.GetCount() == 0) {
    TimelinePaint::EmptyTrack(pDC, m_pOwner, m_nTop, m_nHeight, IDS_TIMELINE_EMPTY);
    return;
  }
  int number = 0;
  for (POSITION pos = m_items.GetHeadPosition(); pos != nullptr;) {
    auto* item = static_cast<CTimelineItem*>(m_items.GetNext(pos));
    if (item->IsKindOf(RUNTIME_CLASS(CTLPhotoItem))) static_cast<CTLPhotoItem*>(item)->m_nNumber = number++;
  }
  CTLTrack::Paint(pDC);
}

int CTLPhotoTrack::GetTotalDuration() {
  long long total = 0;
  for (POSITION pos = m_items.GetHeadPosition(); pos != nullptr;)
    total += static_cast<CTimelineItem*>(m_items.GetNext(pos))->GetDuration();
  return SaturatedTotal(total);
}

CTimelineItem* CTLPhotoTrack::FindSelected() const {
  for (POSITION pos = m_items.GetHeadPosition(); pos != nullptr;) {
    auto* item = static_cast<CTimelineItem*>(m_items.GetNext(pos));
    if (item->m_bSelected) return item;
  }
  return nullptr;
}

BOOL CTLPhotoTrack::GetStartTime(const CTimelineItem* pItem, int& nStart) const {
  long long sum = 0;
  for (POSITION pos = m_items.GetHeadPosition(); pos != nullptr;) {
    auto* item = static_cast<CTimelineItem*>(m_items.GetNext(pos));
    if (item == pItem) {
      nStart = SaturatedTotal(sum);
      return TRUE;
    }
    sum += item->GetDuration();
  }
  return FALSE;
}

CTLPhotoItem* CTLPhotoTrack::FindAndSelect(CDVDImage* pImage) {
  if (pImage == nullptr) return nullptr;
  const CDVDAlbumImage* album = pImage->GetAlbum();
  const BOOL transitionActive = album != nullptr && album->Get_bFirstTransActive();
  CTLPhotoItem* result = nullptr;
  bool takeNextPhoto = false;  // the slide's transition matched; its photo follows
  for (POSITION pos = m_items.GetHeadPosition(); pos != nullptr;) {
    auto* item = static_cast<CTimelineItem*>(m_items.GetNext(pos));
    item->m_bSelected = FALSE;
    if (item->IsKindOf(RUNTIME_CLASS(CTLTransitionItem))) {
      if (transitionActive && static_cast<CTLTransitionItem*>(item)->m_pImage == pImage) {
        item->m_bSelected = TRUE;
        takeNextPhoto = true;
      }
    } else if (item->IsKindOf(RUNTIME_CLASS(CTLPhotoItem))) {
      auto* photo = static_cast<CTLPhotoItem*>(item);
      if (result == nullptr) result = photo;
      if (takeNextPhoto) {
        result = photo;
        takeNextPhoto = false;
      } else if (!transitionActive && photo->m_pImage == pImage) {
        photo->m_bSelected = TRUE;
        result = photo;
      }
    }
  }
  return result;
}

void CTLPhotoTrack::ApplyTransition(CTimelineItem* pItem, int nTransIndex, LPCTSTR strName, int bPlay) {
  CTLTransitionItem* target = nullptr;
  if (pItem != nullptr && pItem->IsKindOf(RUNTIME_CLASS(CTLTransitionItem))) {
    target = static_cast<CTLTransitionItem*>(pItem);
  } else if (pItem != nullptr && pItem->IsKindOf(RUNTIME_CLASS(CTLPhotoItem))) {
    CTimelineItem* before = GetItem(IndexOf(pItem) - 1);
    if (before != nullptr && before->IsKindOf(RUNTIME_CLASS(CTLTransitionItem)))
      target = static_cast<CTLTransitionItem*>(before);
  }
  if (target == nullptr || target->m_pImage == nullptr) return;
  target->m_nTransID = nTransIndex;
  target->m_pImage->Set_strTransName(strName);
  target->m_nTransID = target->m_pImage->Get_nTransID();
  if (bPlay) target->PlayPreview();
}

void CTLPhotoTrack::ApplyToAll(int nTransIndex, LPCTSTR strName) {
  for (POSITION pos = m_items.GetHeadPosition(); pos != nullptr;)
    ApplyTransition(static_cast<CTimelineItem*>(m_items.GetNext(pos)), nTransIndex, strName, 0);
}
