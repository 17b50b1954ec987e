#include "editing/TimelineCtrl.h"

#include "albums/AlbumEditorDlg.h"
#include "albums/AlbumOptionsOneDlg.h"
#include "controls/MemoryDC.h"
#include "editing/TLMusicTrack.h"
#include "editing/TimelineItemPaint.h"
#include "editing/TimelineItems.h"
#include "editing/TimelineTracks.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "platform/base/ResourceException.h"
#include "platform/comctl/AfxImageList.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/WinApp.h"
#include "platform/shellapi/DragDrop.h"
#include "platform/user/Controls.h"
#include "platform/user/Cursor.h"
#include "platform/user/Input.h"
#include "platform/user/WindowClass.h"
#include "shell/ProcessObjects.h"
#include "shell/SkinMinor.h"
#include "shell/SmallUtilities.h"
#include "shell/TransitionList.h"

namespace {

constexpr char kClassName[] = "CTimelineCtrl";

struct ItemStrip {
  const char* file;
  int cx, cy, count;
};
// Photo, transition, music, title, credit.
constexpr ItemStrip kStrips[] = {
    {"images\\timeline-photo-item.bmp", 100, 100, 4}, {"images\\timeline-transition-item.bmp", 50, 50, 4},
    {"images\\timeline-music-item.bmp", 9, 30, 6},    {"images\\timeline-album-title.bmp", 70, 70, 4},
    {"images\\timeline-album-credit.bmp", 70, 70, 4},
};

// A list of `strip.count` images cut from the strip file; empty when the file is missing.
std::unique_ptr<CImageList> LoadStrip(const ItemStrip& strip) {
  auto list = std::make_unique<CImageList>();
  list->Create(strip.cx, strip.cy, ILC_COLOR24 | ILC_MASK, 4, 4);
  CBitmap bitmap;
  if (!LoadBitmapFromExeFolder(strip.file, bitmap)) return list;
  for (int i = 0; i < strip.count; ++i) {
    HBITMAP frame = CutBitmapFrame(&bitmap, strip.cx, i);
    if (frame == nullptr) break;
    CBitmap image;
    image.Attach(frame);
    list->Add(&image, RGB(0, 0, 0));
  }
  return list;
}

}  // namespace

BEGIN_MESSAGE_MAP(CTimelineCtrl, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_HSCROLL()
ON_WM_MOUSEWHEEL()
ON_WM_SIZE()
ON_WM_TIMER()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_MOUSELEAVE()
ON_WM_KEYDOWN()
ON_WM_DROPFILES()
ON_MESSAGE(WM_TIMELINE_REBUILD, OnTimelineRebuild)
ON_MESSAGE(WM_TIMELINE_REBUILD_MUSIC, OnTimelineRebuildMusic)
ON_MESSAGE(WM_AUDIO_PREVIEW_DONE, OnAudioPreviewDone)
ON_MESSAGE(WM_TIMELINE_SELECT_CLIP, OnTimelineSelectClip)
ON_MESSAGE(WM_TIMELINE_EDIT_CLIP, OnTimelineEditClip)
ON_MESSAGE(WM_TIMELINE_LOOP_AUDIO, OnTimelineLoopAudio)
ON_MESSAGE(WM_TIMELINE_SCROLL_TO_CURRENT, OnTimelineScrollToCurrent)
END_MESSAGE_MAP()

CTimelineCtrl::CTimelineCtrl() {
  if (CSkinMinor* skin = GetSkinMinor();
      skin != nullptr && skin->GetMiscBitmaps().m_hSoundBadges != nullptr) {
    m_pBadgeList = new CImageList;
    m_pBadgeList->Attach(skin->GetMiscBitmaps().m_hSoundBadges);
  }
  RegisterWndClass();
}

CTimelineCtrl::~CTimelineCtrl() {
  for (CTLTrack* track : m_tracks) delete track;
  m_tracks.clear();
  if (m_pBadgeList != nullptr) {
    m_pBadgeList->Detach();  // the skin's
    delete m_pBadgeList;
  }
}

BOOL CTimelineCtrl::RegisterWndClass() {
  WNDCLASS wc{};
  const HINSTANCE instance = AfxGetInstanceHandle();
  if (::GetClassInfo(instance, kClassName, &wc)) return TRUE;
  wc = WNDCLASS{};
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = ::DefWindowProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  if (!AfxRegisterClass(&wc)) AfxThrowResourceException();
  return TRUE;
}

BOOL CTimelineCtrl::Init(CImageList* pTransitionIcons) {
  DragAcceptFiles(m_hWnd, TRUE);
  m_pPhotoTrack = new CTLPhotoTrack(this, kPhotoTrackTop, kPhotoTrackHeight);
  m_pMusicTrack = new CTLMusicTrack(this, kMusicTrackTop, kMusicTrackHeight);
  m_pMusicTrack->CreateTimeline();
  m_tracks.push_back(m_pPhotoTrack);
  m_tracks.push_back(m_pMusicTrack);
  m_hit.pTrack = nullptr;
  m_hit.pItem = nullptr;
  m_bDragging = m_bArmed = FALSE;
  m_pDragClip = nullptr;
  m_bTrackingLeave = FALSE;
  m_hArrow = ::LoadCursor(nullptr, IDC_ARROW);
  m_hDrop = ::LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDC_TIMELINE_DROP_CURSOR));
  m_hNoDrop = ::LoadCursor(nullptr, IDC_NO);
  m_pTransitionIcons = pTransitionIcons;
  LoadItemLists();
  return 1;
}

void CTimelineCtrl::LoadItemLists() {
  m_pPhotoList = LoadStrip(kStrips[0]);
  m_pTransitionList = LoadStrip(kStrips[1]);
  m_pMusicList = LoadStrip(kStrips[2]);
  m_pTitleList = LoadStrip(kStrips[3]);
  m_pCreditList = LoadStrip(kStrips[4]);
}

CDVDAlbumImage* CTimelineCtrl::GetCurrentAlbum() {
  auto* page = static_cast<AlbumOptionsOneDlg*>(GetWindowRegistry()->m_pAlbumOptionsOne);
  return page != nullptr ? page->GetAlbum() : nullptr;
}

BOOL CTimelineCtrl::HitTest(_tagTimelineHit* pHit) {
  pHit->pTrack = nullptr;
  pHit->pItem = nullptr;
  CRect client;
  GetClientRect(&client);
  if (!client.PtInRect(pHit->pt)) return 0;
  for (CTLTrack* track : m_tracks) {
    if (pHit->pt.y >= track->GetTop() && pHit->pt.y < track->GetTop() + track->GetHeight())
      pHit->pTrack = track;
  }
  if (pHit->pTrack == nullptr) return 0;
  pHit->pItem = pHit->pTrack->HitTest(pHit->pt);
  return 1;
}

// ---- adding items ----

void CTimelineCtrl::AddTitleItem(int nSeconds) {
  m_pPhotoTrack->AddItem(new CTLTitleItem(this, nSeconds), 0);
  m_nTotalWidth = m_pPhotoTrack->GetTotalWidth();
  Invalidate(TRUE);
  UpdateScrollBar();
}

void CTimelineCtrl::AddCreditItem(int nSeconds) {
  m_pPhotoTrack->AddItem(new CTLCreditItem(this, nSeconds), 0);
  m_nTotalWidth = m_pPhotoTrack->GetTotalWidth();
  Invalidate(TRUE);
  UpdateScrollBar();
}

void CTimelineCtrl::AddTransitionItem(CDVDImage* pImage) {
  m_pPhotoTrack->AddItem(new CTLTransitionItem(pImage, m_pTransitionIcons, this), 0);
  m_nTotalWidth = m_pPhotoTrack->GetTotalWidth();
  Invalidate(TRUE);
  UpdateScrollBar();
}

void CTimelineCtrl::AddPhotoItem(CDVDImage* pImage) {
  auto* item = new CTLPhotoItem(pImage, this);
  const CDVDAlbumImage* album = pImage != nullptr ? pImage->GetAlbum() : nullptr;
  if (album != nullptr && album->m_pCurImage == pImage) item->Select(TRUE);
  m_pPhotoTrack->AddItem(item, 0);
  m_nTotalWidth = m_pPhotoTrack->GetTotalWidth();
  Invalidate(TRUE);
  UpdateScrollBar();
}

void CTimelineCtrl::AddMusicItem(_AUDIO_SOURCE* pSource) {
  m_pMusicTrack->AddItem(new CTLMusicItem(pSource, this), 0);
  Invalidate(TRUE);
  UpdateScrollBar();
}

// ---- rebuilds ----

// The items go away with a rebuild; what the mouse last pointed at and a clip being dragged must not
// outlive them, or the next click would act on a deleted item.
void CTimelineCtrl::ForgetItems() {
  m_hit.pTrack = nullptr;
  m_hit.pItem = nullptr;
  EndClipDrag();
  EndSlideDrag();
}

void CTimelineCtrl::RebuildItems() {
  ForgetItems();
  for (CTLTrack* track : m_tracks) track->Clear();
  m_nTotalWidth = 0;
  m_nScrollPos = 0;
  CDVDAlbumImage* album = GetCurrentAlbum();
  if (album == nullptr) return;
  if (album->Get_nTitleDuration() > 0) AddTitleItem(album->Get_nTitleDuration());
  for (int i = 0; i < album->GetImageCount(); ++i) {
    CDVDImage* slide = album->GetImage(i);
    AddTransitionItem(slide);
    AddPhotoItem(slide);
  }
  if (album->Get_nCreditDuration() > 0) AddCreditItem(album->Get_nCreditDuration());
  UpdateScrollBar();
  if (m_pPhotoTrack->GetCount() > 0) PostMessage(WM_TIMELINE_REBUILD_MUSIC, 0, 0);
}

void CTimelineCtrl::RebuildMusicItems() {
  if (m_hit.pTrack == m_pMusicTrack || m_bDragging || m_bArmed) ForgetItems();
  m_pMusicTrack->Clear();
  if (CDVDAlbumImage* album = GetCurrentAlbum(); album != nullptr) {
    for (int i = 0; i < album->GetMusicCount(); ++i) AddMusicItem(album->GetMusic(i));
  }
  Invalidate(FALSE);
}

LRESULT CTimelineCtrl::OnTimelineRebuild(WPARAM, LPARAM) {
  m_bRebuildPending = TRUE;
  Invalidate(FALSE);
  return 0;
}

LRESULT CTimelineCtrl::OnTimelineRebuildMusic(WPARAM, LPARAM) {
  RebuildMusicItems();
  return 0;
}

LRESULT CTimelineCtrl::OnAudioPreviewDone(WPARAM, LPARAM) {
  return 0;
}

LRESULT CTimelineCtrl::OnTimelineSelectClip(WPARAM, LPARAM) {
  return 0;
}

LRESULT CTimelineCtrl::OnTimelineEditClip(WPARAM, LPARAM) {
  return 0;
}

LRESULT CTimelineCtrl::OnTimelineLoopAudio(WPARAM wParam, LPARAM) {
  if (m_pMusicTrack != nullptr) m_pMusicTrack->SetLoop(static_cast<int>(wParam));
  Invalidate(FALSE);
  return 0;
}

LRESULT CTimelineCtrl::OnTimelineScrollToCurrent(WPARAM, LPARAM) {
  auto* page = static_cast<AlbumOptionsOneDlg*>(GetWindowRegistry()->m_pAlbumOptionsOne);
  if (page != nullptr && page->GetSafeHwnd() != nullptr) ScrollToCurrentImage(page->GetAlbum());
  return 1;
}

// ---- painting ----

void CTimelineCtrl::OnPaint() {
  CPaintDC paintDC(this);
  CMemoryDC dc(&paintDC);  // fills the clip box with the paint DC's background colour
  if (m_bRebuildPending && m_pPhotoTrack != nullptr) {
    RebuildItems();
    m_bRebuildPending = FALSE;
    PostMessage(WM_TIMELINE_SCROLL_TO_CURRENT, 0, 0);
  }
  for (CTLTrack* track : m_tracks) track->Paint(&dc);
  if (m_bSlideDragging) PaintInsertionMark(&dc);
}

void CTimelineCtrl::PaintInsertionMark(CDC* pDC) {
  if (m_nInsertIndex < 0 || m_pPhotoTrack == nullptr) return;
  // Before a slide: the left edge of its transition; after the last one: the right edge of its photo.
  int x = -1;
  for (int i = 0, slide = 0; i < m_pPhotoTrack->GetCount(); ++i) {
    CTimelineItem* item = m_pPhotoTrack->GetItem(i);
    if (item->IsKindOf(RUNTIME_CLASS(CTLTransitionItem))) {
      if (slide == m_nInsertIndex) {
        x = item->m_rcLayout.left;
        break;
      }
    } else if (item->IsKindOf(RUNTIME_CLASS(CTLPhotoItem))) {
      x = item->m_rcLayout.right;  // kept unless a later slide's transition comes first
      ++slide;
    }
  }
  if (x < 0) return;
  TimelinePaint::InsertionMark(pDC, x - m_nScrollPos, kPhotoTrackTop, kPhotoTrackHeight);
}

BOOL CTimelineCtrl::OnEraseBkgnd(CDC*) {
  return TRUE;
}

// ---- scrolling ----

void CTimelineCtrl::UpdateScrollBar() {
  if (m_hWnd == nullptr) return;
  CRect client;
  GetClientRect(&client);
  const int excess = m_nTotalWidth - client.Width();
  ::ShowScrollBar(m_hWnd, SB_HORZ, TRUE);
  if (excess > 0) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = excess + kScrollUnit;
    info.nPage = kScrollUnit;
    SetScrollInfo(SB_HORZ, &info, TRUE);
    ::EnableScrollBar(m_hWnd, SB_HORZ, ESB_ENABLE_BOTH);
  } else {
    ::EnableScrollBar(m_hWnd, SB_HORZ, ESB_DISABLE_BOTH);
  }
}

void CTimelineCtrl::SetScrollPosition(int nPos) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_POS;
  info.nPos = nPos;
  SetScrollInfo(SB_HORZ, &info, TRUE);
  m_nScrollPos = GetScrollPos(SB_HORZ);
}

void CTimelineCtrl::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*) {
  int pos = GetScrollPos(SB_HORZ);
  switch (nSBCode) {
    case SB_LINELEFT:
      pos -= kScrollUnit;
      break;
    case SB_LINERIGHT:
      pos += kScrollUnit;
      break;
    case SB_PAGELEFT:
      pos -= 5 * kScrollUnit;
      break;
    case SB_PAGERIGHT:
      pos += 5 * kScrollUnit;
      break;
    case SB_THUMBTRACK:
      Invalidate(TRUE);
      [[fallthrough]];
    case SB_THUMBPOSITION:
      pos = static_cast<int>(nPos);
      break;
    case SB_ENDSCROLL:
      Invalidate(TRUE);
      break;
    default:
      break;
  }
  SetScrollPosition(pos);
}

BOOL CTimelineCtrl::OnMouseWheel(UINT, short zDelta, CPoint) {
  SetScrollPosition(std::max(0, GetScrollPos(SB_HORZ) - zDelta));
  Invalidate(TRUE);
  return TRUE;
}

void CTimelineCtrl::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  UpdateScrollBar();
}

void CTimelineCtrl::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kTimerScrollLeft || nIDEvent == kTimerScrollRight) {
    const int step = kScrollUnit / 5;
    SetScrollPosition(GetScrollPos(SB_HORZ) + (nIDEvent == kTimerScrollLeft ? -step : step));
    Invalidate(TRUE);
    return;
  }
  CWnd::OnTimer(nIDEvent);
}

void CTimelineCtrl::ScrollToCurrentImage(CDVDAlbumImage* pAlbum) {
  if (pAlbum == nullptr || pAlbum->m_pCurImage == nullptr || m_pPhotoTrack == nullptr) return;
  CRect client;
  GetClientRect(&client);
  if (m_nTotalWidth - client.Width() <= 0) return;
  CTLPhotoItem* item = m_pPhotoTrack->FindAndSelect(pAlbum->m_pCurImage);
  if (item == nullptr) return;
  SetScrollPosition((kPhotoWidth + kTransitionWidth) * (item->m_nNumber + 1) - client.Width() / 2);
  Invalidate(TRUE);
}

void CTimelineCtrl::SelectNextSlide(CDVDAlbumImage* pAlbum) {
  if (pAlbum == nullptr || pAlbum->m_pCurImage == nullptr) return;
  const int index = pAlbum->IndexOf(pAlbum->m_pCurImage);
  if (index < 0 || index >= pAlbum->GetImageCount() - 1) return;
  pAlbum->m_pCurImage = pAlbum->GetImage(index + 1);
  pAlbum->Set_bFirstTransActive(1);
  ScrollToCurrentImage(pAlbum);
}

// ---- transitions ----

void CTimelineCtrl::ApplyTransition(CTimelineItem* pItem, int nTransIndex, int bPlay) {
  CTransitionEntryArray* list = GetTransitionList();
  if (nTransIndex < 0 || nTransIndex >= list->GetSize()) return;
  m_pPhotoTrack->ApplyTransition(pItem, nTransIndex, list->GetAt(nTransIndex)->strName, bPlay);
}

int CTimelineCtrl::ApplyTransitionToSelection(int nTransIndex, int bPlay) {
  CTimelineItem* item = m_pPhotoTrack != nullptr ? m_pPhotoTrack->FindSelected() : nullptr;
  if (item == nullptr ||
      !(item->IsKindOf(RUNTIME_CLASS(CTLPhotoItem)) || item->IsKindOf(RUNTIME_CLASS(CTLTransitionItem)))) {
    return AfxMessageBox("No photo or transition selected in the timeline!", MB_OK);
  }
  ApplyTransition(item, nTransIndex, bPlay);
  Invalidate(FALSE);
  return 0;
}

void CTimelineCtrl::ApplyTransitionToAll(int nTransIndex) {
  CTransitionEntryArray* list = GetTransitionList();
  if (m_pPhotoTrack == nullptr || nTransIndex < 0 || nTransIndex >= list->GetSize()) return;
  m_pPhotoTrack->ApplyToAll(nTransIndex, list->GetAt(nTransIndex)->strName);
  Invalidate(FALSE);
}

void CTimelineCtrl::PlayMusicPreview(_tagTimelinePreviewRequest request) {
  if (m_pMusicTrack == nullptr) return;
  if (request.bStop) {
    if (m_pMusicTrack->IsPlaying()) m_pMusicTrack->StopPreview();
    return;
  }
  if (CTimelineItem* selected = m_pPhotoTrack->FindSelected(); selected != nullptr) {
    m_pPhotoTrack->GetStartTime(selected, request.nStartTime);
  }
  m_pMusicTrack->StartPreview(CWnd::FromHandle(request.hOwner), request.nStartTime, request.bLoop,
                              request.bFade);
}

// ---- mouse ----

void CTimelineCtrl::DragScrollAt(CPoint point) {
  const int third = kScrollUnit / 3;
  CRect client;
  GetClientRect(&client);
  if (point.x <= third) {
    SetTimer(kTimerScrollLeft, 200, nullptr);
  } else if (point.x >= client.right - third - client.left) {
    SetTimer(kTimerScrollRight, 200, nullptr);
  } else {
    KillTimer(kTimerScrollLeft);
    KillTimer(kTimerScrollRight);
  }
}

int CTimelineCtrl::SlideInsertIndexAt(const _tagTimelineHit& hit) const {
  CDVDAlbumImage* album = GetCurrentAlbum();
  if (album == nullptr || m_pPhotoTrack == nullptr || hit.pTrack != m_pPhotoTrack) return -1;
  const int count = album->GetImageCount();
  CTimelineItem* item = hit.pItem;
  if (item == nullptr || item->IsKindOf(RUNTIME_CLASS(CTLCreditItem))) return count;
  if (item->IsKindOf(RUNTIME_CLASS(CTLTitleItem))) return 0;
  if (item->IsKindOf(RUNTIME_CLASS(CTLTransitionItem))) {
    const int index = album->IndexOf(static_cast<CTLTransitionItem*>(item)->m_pImage);
    return index < 0 ? -1 : index;
  }
  if (item->IsKindOf(RUNTIME_CLASS(CTLPhotoItem))) {
    const int index = album->IndexOf(static_cast<CTLPhotoItem*>(item)->m_pImage);
    if (index < 0) return -1;
    const int middle = (item->m_rcDisplay.left + item->m_rcDisplay.right) / 2;
    return hit.pt.x < middle ? index : index + 1;
  }
  return -1;
}

void CTimelineCtrl::EndSlideDrag() {
  if (m_bSlideDragging) {
    m_bSlideDragging = FALSE;
    KillTimer(kTimerScrollLeft);
    KillTimer(kTimerScrollRight);
    ::SetCursor(m_hArrow);
    ::ReleaseCapture();
    Invalidate(FALSE);
  }
  m_bSlideArmed = FALSE;
  m_pDragSlide = nullptr;
  m_nInsertIndex = -1;
}

void CTimelineCtrl::DropDraggedSlide(int nInsertIndex) {
  CDVDAlbumImage* album = GetCurrentAlbum();
  CDVDImage* slide = m_pDragSlide;
  if (album == nullptr || slide == nullptr || nInsertIndex < 0) return;
  const int from = album->IndexOf(slide);
  // Dropped where it is (before itself or before its neighbour): nothing changes.
  if (from < 0 || nInsertIndex == from || nInsertIndex == from + 1) return;
  CDVDImageArray moved;
  moved.Add(slide);
  if (!album->MoveDVDImagePos(nInsertIndex < album->GetImageCount() ? album->GetImage(nInsertIndex) : nullptr,
                              moved))
    return;
  album->Put_bDirty(TRUE);
  // The moved slide stays the user's position, so the rebuilt strip scrolls to it.
  album->m_pCurImage = slide;
  album->m_bTitleActive = FALSE;
  album->m_bCreditActive = FALSE;
  album->Set_bFirstTransActive(0);
  SendMessage(WM_TIMELINE_REBUILD, 0, 0);
  if (auto* editor = static_cast<AlbumEditorDlg*>(GetWindowRegistry()->m_pAlbumEditor);
      editor != nullptr && editor->GetSafeHwnd() != nullptr) {
    editor->RefreshPhotoList(TRUE);
  }
}

void CTimelineCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_ESCAPE && m_bSlideDragging) {
    EndSlideDrag();
    return;
  }
  CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CTimelineCtrl::OnMouseMove(UINT nFlags, CPoint point) {
  m_hit.pt = point;
  if (m_bSlideArmed && !m_bSlideDragging) {
    // A press that a dialog answered ended without its release reaching here.
    if (!(nFlags & MK_LBUTTON)) {
      EndSlideDrag();
    } else if (std::abs(point.x - m_ptPress.x) >= GetSystemMetrics(SM_CXDRAG) ||
               std::abs(point.y - m_ptPress.y) >= GetSystemMetrics(SM_CYDRAG)) {
      m_bSlideDragging = TRUE;
      SetCapture();
    }
  }
  if (m_bSlideDragging) {
    HitTest(&m_hit);
    DragScrollAt(point);
    m_nInsertIndex = SlideInsertIndexAt(m_hit);
    ::SetCursor(m_nInsertIndex >= 0 ? m_hDrop : m_hNoDrop);
    Invalidate(FALSE);
    CWnd::OnMouseMove(nFlags, point);
    return;
  }
  if (!m_bTrackingLeave) {
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, 0};
    _TrackMouseEvent(&track);
    m_bTrackingLeave = TRUE;
  }
  if (!HitTest(&m_hit)) {
    if (m_bDragging) ::SetCursor(m_hNoDrop);
    CWnd::OnMouseMove(nFlags, point);
    return;
  }
  if (!m_bDragging && m_bArmed && m_hit.pTrack == m_pMusicTrack && m_hit.pItem != nullptr) {
    m_bDragging = TRUE;
    m_pDragClip = static_cast<CTLMusicItem*>(m_hit.pItem);
    SetCapture();
  }
  if (m_bDragging) {
    DragScrollAt(point);
    const bool photoTrackItem = m_hit.pItem != nullptr && !m_hit.pItem->IsKindOf(RUNTIME_CLASS(CTLMusicItem));
    ::SetCursor(photoTrackItem ? m_hDrop : m_hNoDrop);
  } else {
    ::SetCursor(m_hArrow);
  }
  Invalidate(TRUE);
  CWnd::OnMouseMove(nFlags, point);
}

void CTimelineCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_hit.pTrack != nullptr && m_hit.pItem != nullptr) {
    CTimelineItem* item = m_hit.pItem;
    const bool clip = item->IsKindOf(RUNTIME_CLASS(CTLMusicItem));  // the click may rebuild the strip
    CDVDImage* slide =
        item->IsKindOf(RUNTIME_CLASS(CTLPhotoItem)) ? static_cast<CTLPhotoItem*>(item)->m_pImage : nullptr;
    m_hit.pTrack->SelectItem(item);
    item->Click(point);
    if (clip) m_bArmed = TRUE;
    if (slide != nullptr) {
      m_bSlideArmed = TRUE;
      m_pDragSlide = slide;
      m_ptPress = point;
    }
    Invalidate(TRUE);
  }
  SetFocus();
  CWnd::OnLButtonDown(nFlags, point);
}

void CTimelineCtrl::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bSlideDragging) {
    m_hit.pt = point;
    HitTest(&m_hit);
    const int index = SlideInsertIndexAt(m_hit);
    DropDraggedSlide(index);
    EndSlideDrag();
    CWnd::OnLButtonUp(nFlags, point);
    return;
  }
  m_bSlideArmed = FALSE;
  m_pDragSlide = nullptr;
  if (HitTest(&m_hit) && m_pDragClip != nullptr && m_hit.pTrack == m_pPhotoTrack && m_hit.pItem != nullptr) {
    m_pMusicTrack->MoveClipToPoint(m_pDragClip, m_hit.pItem);
    Invalidate(TRUE);
    if (CWnd* parent = GetParent(); parent != nullptr) parent->PostMessage(WM_TIMELINE_REBUILD_MUSIC, 0, 0);
  }
  EndClipDrag();
  CWnd::OnLButtonUp(nFlags, point);
}

void CTimelineCtrl::EndClipDrag() {
  if (m_bDragging) {
    m_bDragging = FALSE;
    m_pDragClip = nullptr;
    KillTimer(kTimerScrollLeft);
    KillTimer(kTimerScrollRight);
    ::SetCursor(m_hArrow);
    ::ReleaseCapture();
  }
  m_bArmed = FALSE;
}

void CTimelineCtrl::OnLButtonDblClk(UINT nFlags, CPoint point) {
  HitTest(&m_hit);
  if (CTimelineItem* item = m_hit.pItem; item != nullptr) {
    if (item->IsKindOf(RUNTIME_CLASS(CTLPhotoItem)) || item->IsKindOf(RUNTIME_CLASS(CTLTransitionItem))) {
      item->Edit();
      Invalidate(FALSE);
    } else if (item->IsKindOf(RUNTIME_CLASS(CTLMusicItem))) {
      if (CWnd* parent = GetParent(); parent != nullptr) parent->PostMessage(WM_TIMELINE_EDIT_CLIP, 0, 0);
    }
  }
  CWnd::OnLButtonDblClk(nFlags, point);
}

void CTimelineCtrl::OnMouseLeave() {}

void CTimelineCtrl::OnDropFiles(HDROP hDropInfo) {
  if (DragQueryFile(hDropInfo, 0xFFFFFFFF, nullptr, 0) > 0) {
    char file[MAX_PATH + 1] = {};
    DragQueryFile(hDropInfo, 0, file, MAX_PATH);
    CDVDProject::GetMusicDuration(file);
  }
  CWnd::OnDropFiles(hDropInfo);
}
