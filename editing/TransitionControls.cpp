#include "editing/TransitionControls.h"

#include "controls/RowDragImage.h"
#include "editing/TimelineCtrl.h"
#include "editing/TimelineItems.h"
#include "editing/TimelineTracks.h"
#include "modules/data/DVDImage.h"
#include "modules/image/CxImage.h"
#include "platform/comctl/AfxImageList.h"
#include "platform/kernel/MMTimer.h"
#include "platform/kernel/Module.h"
#include "platform/kernel/SectionLock.h"
#include "platform/user/Cursor.h"
#include "shell/TransitionList.h"
#include "shell/UIHelpers.h"

namespace {

using pictavo::kernel::SectionLock;

constexpr UINT kStepMs = 33;

}  // namespace

BEGIN_MESSAGE_MAP(CTransitionPreviewStatic, CStatic)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CTransitionPreviewStatic::CTransitionPreviewStatic(COLORREF* pBackground, int bSystemColor)
    : m_pBackground(pBackground),
      m_bSystemColor(bSystemColor),
      m_pFirst(std::make_unique<CxImage>()),
      m_pSecond(std::make_unique<CxImage>()) {
  InitializeCriticalSection(&m_lock);
  LoadPreviewImages();
}

CTransitionPreviewStatic::~CTransitionPreviewStatic() {
  // The timer goes first and its running callback is waited out, so no callback can touch the
  // pictures freed below.
  StopTimer();
  m_pTransition.reset();
  DeleteCriticalSection(&m_lock);
}

void CTransitionPreviewStatic::LoadPreviewImages() {
  const COLORREF background = m_pBackground != nullptr ? *m_pBackground : RGB(0, 0, 0);
  const CString folder = GetExeFolderPath();
  CxImage* pictures[] = {m_pFirst.get(), m_pSecond.get()};
  const char* names[] = {"/images/transpreview1.jpg", "/images/transpreview2.jpg"};
  SectionLock lock(m_lock);
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
  SectionLock lock(m_lock);
  // A callback waiting for the lock we hold is not waited for; it finds its id stale and leaves.
  if (m_nTimerId != 0) timeKillEvent(m_nTimerId);
  m_nTimerId = 0;
  m_pTransition.reset();
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
  m_hWndTarget = GetSafeHwnd();
  m_nTimerId = timeSetEvent(kStepMs, 1, &CTransitionPreviewStatic::TimerProc,
                            reinterpret_cast<DWORD_PTR>(this), TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
}

BOOL CTransitionPreviewStatic::IsPlaying() const {
  SectionLock lock(m_lock);
  return m_pTransition != nullptr;
}

void CALLBACK CTransitionPreviewStatic::TimerProc(UINT nTimerId, UINT, DWORD_PTR dwUser, DWORD_PTR,
                                                  DWORD_PTR) {
  reinterpret_cast<CTransitionPreviewStatic*>(dwUser)->OnStep(nTimerId);
}

void CTransitionPreviewStatic::OnStep(UINT nTimerId) {
  HWND target = nullptr;
  {
    SectionLock lock(m_lock);
    if (nTimerId != m_nTimerId) return;  // a timer killed while this call waited for the lock
    if (m_nStep >= m_nStepCount) {
      m_pTransition.reset();
      timeKillEvent(m_nTimerId);  // from its own callback: returns at once
      m_nTimerId = 0;
    } else if (m_pTransition != nullptr) {
      m_pTransition->StepIt(m_nStep);
      ++m_nStep;
    }
    target = m_hWndTarget;
  }
  // The UI thread paints the new frame at once; updating from here would wait for it.
  if (target != nullptr) ::InvalidateRect(target, nullptr, FALSE);
}

void CTransitionPreviewStatic::StopTimer() {
  UINT id = 0;
  {
    SectionLock lock(m_lock);
    id = m_nTimerId;
    m_nTimerId = 0;
  }
  if (id != 0) timeKillEvent(id);
}

BOOL CTransitionPreviewStatic::OnEraseBkgnd(CDC*) {
  return TRUE;
}

void CTransitionPreviewStatic::PaintFrame(HDC hdc, const RECT& client, CxImage* frame, COLORREF background) {
  HBRUSH brush = ::CreateSolidBrush(background);
  ::FillRect(hdc, &client, brush);
  ::DeleteObject(brush);
  if (frame == nullptr || !frame->IsValid()) return;
  RECT fitted{};
  const SIZE size{static_cast<LONG>(frame->GetWidth()), static_cast<LONG>(frame->GetHeight())};
  CDVDImage::CalcZoomRect(client, size, &fitted, 1);
  frame->Stretch(hdc, fitted, SRCCOPY);
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
  const COLORREF background = m_bSystemColor ? ::GetSysColor(COLOR_BTNFACE) : GetSkinColor(1);
  {
    SectionLock lock(m_lock);
    CxImage* frame = m_pTransition != nullptr ? m_pTransition->StepIt() : nullptr;
    PaintFrame(memory.GetSafeHdc(), client, frame != nullptr ? frame : m_pFirst.get(), background);
  }
  dc.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
  memory.SelectObject(old);
}

void CTransitionPreviewStatic::OnDestroy() {
  StopTimer();
  {
    SectionLock lock(m_lock);
    m_pTransition.reset();
    m_hWndTarget = nullptr;
  }
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
  auto* timeline =
      window != nullptr ? dynamic_cast<CTimelineCtrl*>(CWnd::FromHandlePermanent(window->m_hWnd)) : nullptr;
  if (timeline == nullptr || ::WindowFromPoint(screen) != timeline->m_hWnd) return nullptr;
  _tagTimelineHit hit;
  CPoint at = screen;
  timeline->ScreenToClient(&at);
  hit.pt = at;
  if (!timeline->HitTest(&hit) || hit.pItem == nullptr) return nullptr;
  if (!hit.pItem->IsKindOf(RUNTIME_CLASS(CTLPhotoItem)) &&
      !hit.pItem->IsKindOf(RUNTIME_CLASS(CTLTransitionItem)))
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
  auto* timeline =
      window != nullptr ? dynamic_cast<CTimelineCtrl*>(CWnd::FromHandlePermanent(window->m_hWnd)) : nullptr;
  if (row >= 0 && timeline != nullptr && timeline->GetPhotoTrack() != nullptr) {
    CTimelineItem* selected = timeline->GetPhotoTrack()->FindSelected();
    const int index = static_cast<int>(GetItemData(row));
    if (selected != nullptr && index != -1 &&
        (selected->IsKindOf(RUNTIME_CLASS(CTLPhotoItem)) ||
         selected->IsKindOf(RUNTIME_CLASS(CTLTransitionItem)))) {
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

CTransitionListBox::CTransitionListBox(CTransitionEntryArray* pTransitions) : m_pTransitions(pTransitions) {
  LOGFONT font{};
  if (::SystemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0)) {
    m_font.CreateFontIndirect(&font);
  } else {
    m_font.CreateFont(18, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "MS Serif");
  }
}

CTransitionListBox::~CTransitionListBox() = default;

void CTransitionListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  lpMeasureItemStruct->itemHeight = 30;
}

void CTransitionListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct == nullptr || static_cast<int>(lpDrawItemStruct->itemID) < 0) return;
  HDC hdc = lpDrawItemStruct->hDC;
  RECT rect = lpDrawItemStruct->rcItem;
  ::InflateRect(&rect, -2, -2);
  ::FillRect(hdc, &rect, ::GetSysColorBrush(COLOR_WINDOW));
  COLORREF text = ::GetSysColor(COLOR_MENUTEXT);
  if (lpDrawItemStruct->itemState & ODS_SELECTED) {
    const int fill = (lpDrawItemStruct->itemState & ODS_FOCUS) ? COLOR_HIGHLIGHT : COLOR_GRAYTEXT;
    ::FillRect(hdc, &rect, ::GetSysColorBrush(fill));
    text = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
  }
  const int count = m_pTransitions != nullptr ? static_cast<int>(m_pTransitions->GetSize()) : 0;
  if (count == 0) return;
  const auto data = static_cast<int>(lpDrawItemStruct->itemData);
  const _tagTransitionEntry* entry = m_pTransitions->GetAt(((data % count) + count) % count);
  const int oldMode = ::SetStretchBltMode(hdc, HALFTONE);
  if (entry->hIcon != nullptr) {
    HDC icons = ::CreateCompatibleDC(hdc);
    HGDIOBJ old = ::SelectObject(icons, entry->hIcon);
    ::BitBlt(hdc, rect.left, rect.top, TRANSITION_ICON_WIDTH, TRANSITION_ICON_HEIGHT, icons, 0, 0, SRCCOPY);
    ::SelectObject(icons, old);
    ::DeleteDC(icons);
  }
  CString label;
  const int length = static_cast<int>(::SendMessage(m_hWnd, LB_GETTEXTLEN, lpDrawItemStruct->itemID, 0));
  if (length > 0) {
    ::SendMessage(m_hWnd, LB_GETTEXT, lpDrawItemStruct->itemID,
                  reinterpret_cast<LPARAM>(label.GetBuffer(length + 1)));
    label.ReleaseBuffer();
  }
  RECT textRect = rect;
  textRect.left += 46;
  HGDIOBJ oldFont = ::SelectObject(hdc, m_font.GetSafeHandle());
  const int oldBk = ::SetBkMode(hdc, TRANSPARENT);
  const COLORREF oldText = ::SetTextColor(hdc, text);
  ::DrawText(hdc, label, -1, &textRect, DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  ::SetTextColor(hdc, oldText);
  ::SetBkMode(hdc, oldBk);
  ::SelectObject(hdc, oldFont);
  ::SetStretchBltMode(hdc, oldMode);
}
