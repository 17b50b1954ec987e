#include "albums/DragListCtrl.h"

#include "albums/AlbumMessages.h"
#include "controls/DragDropHelper.h"
#include "controls/RowDragImage.h"
#include "editing/TLMusicTrack.h"
#include "editing/TimelineCtrl.h"
#include "editing/TimelineItems.h"
#include "platform/comctl/AfxImageList.h"
#include "platform/kernel/Module.h"



BEGIN_MESSAGE_MAP(CDragListCtrl, CBufferedListCtrl)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CDragListCtrl::CDragListCtrl()
    : m_hArrow(::LoadCursor(nullptr, IDC_ARROW)),
      m_hDrop(::LoadCursor(::GetModuleHandle(nullptr), MAKEINTRESOURCE(IDC_DRAG_DROP))),
      m_hNoDrop(::LoadCursor(nullptr, IDC_NO)) {}

CDragListCtrl::~CDragListCtrl() = default;

void CDragListCtrl::BeginDrag(NMLISTVIEW* pNotify) {
  if (pNotify == nullptr || pNotify->iItem < 0 || pNotify->iItem >= GetItemCount()) return;
  m_nDragRow = pNotify->iItem;
  m_pDragImage = BeginRowDragImage(*this, *pNotify);
  m_bDragging = TRUE;
}

CWnd* CDragListCtrl::TimelineAt(CPoint screen) const {
  CWnd* parent = GetParent();
  CWnd* timeline = parent != nullptr ? parent->GetDlgItem(IDC_TIMELINE) : nullptr;
  if (timeline == nullptr || !timeline->IsWindowVisible()) return nullptr;
  CRect rc;
  timeline->GetWindowRect(&rc);
  return rc.PtInRect(screen) ? timeline : nullptr;
}

void CDragListCtrl::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bDragging) {
    CPoint screen = point;
    ClientToScreen(&screen);
    CImageList::DragMove(screen);
    ::SetCursor(TimelineAt(screen) != nullptr ? m_hDrop : m_hNoDrop);
  }
  CBufferedListCtrl::OnMouseMove(nFlags, point);
}

void CDragListCtrl::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bDragging) {
    CPoint screen = point;
    ClientToScreen(&screen);
    CWnd* timeline = TimelineAt(screen);
    EndDrag();
    if (timeline != nullptr) DropOnTimeline(timeline, screen);
  }
  CBufferedListCtrl::OnLButtonUp(nFlags, point);
}

void CDragListCtrl::OnCaptureChanged(CWnd* pWnd) {
  if (m_bDragging && pWnd != this) EndDrag();
  CBufferedListCtrl::OnCaptureChanged(pWnd);
}

void CDragListCtrl::EndDrag() {
  if (!m_bDragging) return;
  m_bDragging = FALSE;
  EndRowDragImage(m_hWnd, m_hArrow);
}

void CDragListCtrl::DropOnTimeline(CWnd* timeline, CPoint screen) {
  auto* control = dynamic_cast<CTimelineCtrl*>(timeline);
  if (control == nullptr || control->GetMusicTrack() == nullptr) return;
  _tagTimelineHit hit;
  CPoint at = screen;
  control->ScreenToClient(&at);
  hit.pt = at;
  if (!control->HitTest(&hit) || hit.pItem == nullptr) return;
  CObject* item = hit.pItem;
  if (!item->IsKindOf(RUNTIME_CLASS(CTLPhotoItem)) && !item->IsKindOf(RUNTIME_CLASS(CTLTransitionItem)) &&
      !item->IsKindOf(RUNTIME_CLASS(CTLTitleItem)) && !item->IsKindOf(RUNTIME_CLASS(CTLCreditItem)))
    return;
  auto* clip = dynamic_cast<CTLMusicItem*>(control->GetMusicTrack()->GetItem(m_nDragRow));
  if (clip == nullptr) return;
  control->GetMusicTrack()->MoveClipToPoint(clip, hit.pItem);
  control->Invalidate(TRUE);
  if (CWnd* parent = GetParent()) parent->PostMessage(WM_TIMELINE_REBUILD_MUSIC, 0, 0);
}
