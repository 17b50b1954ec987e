#include "editing/TransitionControls.h"

#include "controls/RowDragImage.h"
#include "editing/TimelineCtrl.h"
#include "editing/TimelineItems.h"
#include "editing/TimelineTracks.h"
#include "modules/data/DVDImage.h"
#include "modules/image/CxImage.h"
#include "platform/comctl/AfxImageList.h"
#include "platform/kernel/Module.h"
#include "platform/user/Cursor.h"
#include "shell/UIHelpers.h"

namespace {

constexpr UINT_PTR kStepTimer = 1;
constexpr UINT kStepMs = 33;

}  // namespace

BEGIN_MESSAGE_MAP(CTransitionPreviewStatic, CStatic)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_TIMER()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CTransitionPreviewStatic::CTransitionPreviewStatic(COLORREF* pBackground, int bSystemColor)
    : m_pBackground(pBackground),
      m_bSystemColor(bSystemColor),
      m_pFirst(std::make_unique<CxImage>()),
      m_pSecond(std::make_unique<CxImage>()) {
  LoadPreviewImages();
}

CTransitionPreviewStatic::~CTransitionPreviewStatic() = default;

void CTransitionPreviewStatic::LoadPreviewImages() {
  const COLORREF background = m_pBackground != nullptr ? *m_pBackground : RGB(0, 0, 0);
  const CString folder = GetExeFolderPath();
  CxImage* pictures[] = {m_pFirst.get(), m_pSecond.get()};
  const char* names[] = {"/images/transpreview1.jpg", "/images/transpreview2.jpg"};
  for (int i = 0; i < 2; ++i) {
    CDVDImage sample;
    sample.Put_strPathName(folder + names[i]);
    sample.Put_nRotateAngle(0);
    if (!sample.LoadToCxImage(pictures[i], &m_sizePicture, background, 0)) {
      // Without the sample picture the preview still shows the colour the slides sit on.
      pictures[i]->Create(m_sizePicture.cx, m_sizePicture.cy, 24);
      pictures[i]->Fill(background);
    }
  }
}

void CTransitionPreviewStatic::PlayTransition(TransitionEntryFactory pfnFactory) {
  m_pfnFactory = pfnFactory;
  if (pfnFactory == nullptr) return;
  StopTransition();
  m_nStep = 0;
  m_pTransition.reset(pfnFactory());
  if (m_pTransition == nullptr) return;
  _tagTransWorkParam param{};
  param.nSize = sizeof(param);
  param.nWidth = static_cast<int32_t>(m_pFirst->GetWidth());
  param.nHeight = static_cast<int32_t>(m_pFirst->GetHeight());
  param.nFrames = m_nStepCount;
  param.clrBackground = m_pBackground != nullptr ? *m_pBackground : RGB(0, 0, 0);
  m_pTransition->SetTransWorkParam(param);
  m_pTransition->SetImages(m_pFirst.get(), m_pSecond.get());
  if (GetSafeHwnd() != nullptr) SetTimer(kStepTimer, kStepMs, nullptr);
}

void CTransitionPreviewStatic::StopTransition() {
  if (GetSafeHwnd() != nullptr) KillTimer(kStepTimer);
  m_pTransition.reset();
}

void CTransitionPreviewStatic::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kStepTimer) return CStatic::OnTimer(nIDEvent);
  if (m_pTransition == nullptr || m_nStep >= m_nStepCount) {
    StopTransition();
  } else {
    m_pTransition->StepIt(m_nStep++);
  }
  Invalidate(FALSE);
  UpdateWindow();
}

BOOL CTransitionPreviewStatic::OnEraseBkgnd(CDC*) {
  return TRUE;
}

void CTransitionPreviewStatic::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  CDC memory;
  memory.CreateCompatibleDC(&dc);
  CBitmap buffer;
  buffer.CreateCompatibleBitmap(&dc, client.Width(), client.Height());
  CBitmap* old = memory.SelectObject(&buffer);
  memory.FillSolidRect(&client, m_bSystemColor ? ::GetSysColor(COLOR_BTNFACE) : GetSkinColor(1));
  CxImage* frame = m_pTransition != nullptr && m_pTransition->StepIt() != nullptr ? m_pTransition->StepIt()
                                                                                    : m_pFirst.get();
  if (frame != nullptr && frame->IsValid()) {
    RECT fitted{};
    const SIZE size{static_cast<LONG>(frame->GetWidth()), static_cast<LONG>(frame->GetHeight())};
    CDVDImage::CalcZoomRect(client, size, &fitted, 1);
    frame->Stretch(memory.GetSafeHdc(), fitted);
  }
  dc.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
  memory.SelectObject(old);
}

void CTransitionPreviewStatic::OnDestroy() {
  StopTransition();
  CStatic::OnDestroy();
}

BEGIN_MESSAGE_MAP(CTransitionListCtrl, CListCtrl)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CTransitionListCtrl::CTransitionListCtrl() = default;

CTransitionListCtrl::~CTransitionListCtrl() = default;

void CTransitionListCtrl::PreSubclassWindow() {
  CListCtrl::PreSubclassWindow();
  m_hSavedCursor = ::GetCursor();
  m_hNoDropCursor = ::LoadCursor(nullptr, IDC_NO);
  m_hDropCursor = ::LoadCursor(::GetModuleHandle(nullptr), MAKEINTRESOURCE(IDC_TIMELINE_DROP_CURSOR));
}

void CTransitionListCtrl::BeginDrag(NMLISTVIEW* pNotify) {
  if (pNotify == nullptr || pNotify->iItem < 0) return;
  m_pDragImage.reset();
  m_nDragRow = pNotify->iItem;
  m_pDragImage = BeginRowDragImage(*this, *pNotify);
  m_bDragging = TRUE;
}

void CTransitionListCtrl::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bDragging) {
    CPoint screen = point;
    ClientToScreen(&screen);
    CImageList::DragShowNolock(FALSE);
    CTimelineCtrl* timeline = nullptr;
    ::SetCursor(TargetAt(screen, &timeline) != nullptr ? m_hDropCursor : m_hNoDropCursor);
    CImageList::DragShowNolock(TRUE);
    CImageList::DragMove(screen);
  }
  CListCtrl::OnMouseMove(nFlags, point);
}

CTimelineItem* CTransitionListCtrl::TargetAt(CPoint screen, CTimelineCtrl** ppTimeline) const {
  CWnd* parent = GetParent();
  CWnd* window = parent != nullptr ? parent->GetDlgItem(IDC_TIMELINE) : nullptr;
  auto* timeline = window != nullptr ? dynamic_cast<CTimelineCtrl*>(CWnd::FromHandlePermanent(window->m_hWnd)) : nullptr;
  if (timeline == nullptr || ::WindowFromPoint(screen) != timeline->m_hWnd) return nullptr;
  _tagTimelineHit hit;
  CPoint at = screen;
  timeline->ScreenToClient(&at);
  hit.pt = at;
  if (!timeline->HitTest(&hit) || hit.pItem == nullptr) return nullptr;
  if (!hit.pItem->IsKindOf(RUNTIME_CLASS(CTLPhotoItem)) && !hit.pItem->IsKindOf(RUNTIME_CLASS(CTLTransitionItem)))
    return nullptr;
  *ppTimeline = timeline;
  return hit.pItem;
}

void CTransitionListCtrl::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bDragging) {
    CPoint screen = point;
    ClientToScreen(&screen);
    EndDrag();
    CTimelineCtrl* timeline = nullptr;
    CTimelineItem* target = TargetAt(screen, &timeline);
    const int index = m_nDragRow >= 0 ? static_cast<int>(GetItemData(m_nDragRow)) : -1;
    if (target != nullptr && index != -1) timeline->ApplyTransition(target, index, 1);
  }
  CListCtrl::OnLButtonUp(nFlags, point);
}

void CTransitionListCtrl::OnLButtonDblClk(UINT nFlags, CPoint point) {
  const int row = HitTest(point);
  CWnd* parent = GetParent();
  CWnd* window = parent != nullptr ? parent->GetDlgItem(IDC_TIMELINE) : nullptr;
  auto* timeline = window != nullptr ? dynamic_cast<CTimelineCtrl*>(CWnd::FromHandlePermanent(window->m_hWnd)) : nullptr;
  if (row >= 0 && timeline != nullptr && timeline->GetPhotoTrack() != nullptr) {
    CTimelineItem* selected = timeline->GetPhotoTrack()->FindSelected();
    const int index = static_cast<int>(GetItemData(row));
    if (selected != nullptr && index != -1 &&
        (selected->IsKindOf(RUNTIME_CLASS(CTLPhotoItem)) || selected->IsKindOf(RUNTIME_CLASS(CTLTransitionItem)))) {
      timeline->ApplyTransition(selected, index, 1);
      timeline->Invalidate(FALSE);
    }
    // The user moves on to the next slide, to give it a transition in turn.
    if (CDVDAlbumImage* album = CTimelineCtrl::GetCurrentAlbum()) timeline->SelectNextSlide(album);
  }
  CListCtrl::OnLButtonDblClk(nFlags, point);
}

void CTransitionListCtrl::OnCaptureChanged(CWnd* pWnd) {
  if (m_bDragging && pWnd != this) EndDrag();
  CListCtrl::OnCaptureChanged(pWnd);
}

void CTransitionListCtrl::EndDrag() {
  if (!m_bDragging) return;
  m_bDragging = FALSE;
  EndRowDragImage(m_hWnd, m_hSavedCursor);
}
