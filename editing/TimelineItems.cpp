#include "editing/TimelineItems.h"

#include "albums/AlbumEditorDlg.h"
#include "albums/AlbumOptionsOneDlg.h"
#include "editing/PhotoConfigDlg.h"
#include "editing/PhotoOptionsDlg.h"
#include "editing/TimelineCtrl.h"
#include "editing/TimelineItemPaint.h"
#include "editing/TransitionControls.h"
#include "editing/TransitionOptionsDlg.h"
#include "modules/data/DVDAlbumImage.h"
#include "shell/ProcessObjects.h"
#include "shell/TransitionList.h"

IMPLEMENT_DYNAMIC(CTimelineItem, CObject)
IMPLEMENT_DYNAMIC(CTLPhotoItem, CTimelineItem)
IMPLEMENT_DYNAMIC(CTLTransitionItem, CTimelineItem)
IMPLEMENT_DYNAMIC(CTLAlbumTextItem, CTimelineItem)
IMPLEMENT_DYNAMIC(CTLTitleItem, CTLAlbumTextItem)
IMPLEMENT_DYNAMIC(CTLCreditItem, CTLAlbumTextItem)
IMPLEMENT_DYNAMIC(CTLMusicItem, CTimelineItem)

namespace {

// The album options page when it has a window; its slideshow length follows slide edits.
AlbumOptionsOneDlg* OptionsPage() {
  auto* page = static_cast<AlbumOptionsOneDlg*>(GetWindowRegistry()->m_pAlbumOptionsOne);
  return page != nullptr && page->GetSafeHwnd() != nullptr ? page : nullptr;
}

void RefreshSlideshowLength() {
  if (AlbumOptionsOneDlg* page = OptionsPage(); page != nullptr) page->RefreshSlideshowLength();
}

// Plays transition `nTransID` of the transition list in the preview of the timeline's parent.
void PlayTransitionInPreview(CTimelineCtrl* owner, int nTransID) {
  CTransitionEntryArray* transitions = GetTransitionList();
  CWnd* parent = owner->GetSafeHwnd() != nullptr ? owner->GetParent() : nullptr;
  if (parent == nullptr || nTransID < 0 || nTransID >= transitions->GetSize()) return;
  CWnd* item = parent->GetDlgItem(IDC_OPTIONS_PREVIEW);
  auto* preview = item != nullptr
                      ? dynamic_cast<CTransitionPreviewStatic*>(CWnd::FromHandlePermanent(item->m_hWnd))
                      : nullptr;
  if (preview != nullptr) preview->PlayTransition(transitions->GetAt(nTransID)->pfnFactory);
}

// The album editor's current photo album, when the editor has a window.
CDVDAlbumImage* EditorAlbum() {
  auto* editor = static_cast<AlbumEditorDlg*>(GetWindowRegistry()->m_pAlbumEditor);
  if (editor == nullptr || editor->GetSafeHwnd() == nullptr) return nullptr;
  return editor->GetCurrentImageAlbum();
}

void RepaintOwnerNow(CTimelineCtrl* owner) {
  if (owner->GetSafeHwnd() == nullptr) return;
  owner->Invalidate(FALSE);
  owner->UpdateWindow();
}

RECT ZoneAt(const RECT& display, const RECT& zone) {
  return {display.left + zone.left, display.top + zone.top, display.left + zone.right,
          display.top + zone.bottom};
}

bool Inside(const RECT& r, POINT pt) {
  return pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom;
}

}  // namespace

// ---- base ----

void CTimelineItem::UpdateDisplayRect(int dx) {
  m_rcDisplay = m_rcLayout;
  m_rcDisplay.left += dx;
  m_rcDisplay.right += dx;
}

BOOL CTimelineItem::HitTest(POINT pt) {
  m_bHot = Inside(m_rcDisplay, pt);
  return m_bHot;
}

// ---- photo ----

int CTLPhotoItem::GetDuration() {
  if (m_pImage == nullptr) return 0;
  const CDVDAlbumImage* album = m_pImage->GetAlbum();
  const int seconds =
      album != nullptr ? album->Get_nTwoDuration(album->IndexOf(m_pImage)) : m_pImage->Get_nTwoDuration();
  return seconds * 1000;
}

BOOL CTLPhotoItem::HitTest(POINT pt) {
  if (CTimelineItem::HitTest(pt)) {
    m_bDurationZone = m_bSoundZone = FALSE;
    if (Inside(ZoneAt(m_rcDisplay, kDurationZone), pt)) m_bDurationZone = TRUE;
    if (Inside(ZoneAt(m_rcDisplay, kSoundZone), pt)) m_bSoundZone = TRUE;
  }
  return m_bHot;
}

void CTLPhotoItem::Click(POINT) {
  // Both zones open the same dialog; the sound zone is looked at first.
  BOOL* zone = m_bSoundZone ? &m_bSoundZone : m_bDurationZone ? &m_bDurationZone : nullptr;
  if (zone == nullptr) return;
  *zone = FALSE;
  // A paint inside the dialog may rebuild the strip and delete this item: keep what comes after
  // in locals.
  CTimelineCtrl* owner = m_pOwner;
  CPhotoOptionsDlg dlg(m_pImage, nullptr);
  if (dlg.DoModal() == IDOK) {
    RepaintOwnerNow(owner);
    RefreshSlideshowLength();
  }
}

void CTLPhotoItem::Edit() {
  CPhotoConfigDlg dlg(0, nullptr);
  dlg.SetCurrentImage(m_pImage);
  dlg.DoModal();
  RefreshSlideshowLength();
  if (CDVDAlbumImage* album = EditorAlbum(); album != nullptr) {
    album->m_pCurImage = dlg.GetCurrentImage();
    album->Set_bFirstTransActive(1);
  }
}

void CTLPhotoItem::Select(BOOL bSelect) {
  CTimelineItem::Select(bSelect);
  if (!bSelect || m_pImage == nullptr) return;
  if (CDVDAlbumImage* album = m_pImage->GetAlbum(); album != nullptr) {
    album->m_pCurImage = m_pImage;
    album->Set_bFirstTransActive(0);
    album->m_bTitleActive = FALSE;
    album->m_bCreditActive = FALSE;
  }
}

void CTLPhotoItem::Paint(CDC* pDC, int nStart) {
  TimelinePaint::PhotoItem(pDC, *this, nStart);
}

// ---- transition ----

CTLTransitionItem::CTLTransitionItem(CDVDImage* pImage, CImageList* pIcons, CTimelineCtrl* pOwner)
    : CTimelineItem(pOwner),
      m_pImage(pImage),
      m_pIcons(pIcons),
      m_nTransID(pImage != nullptr ? pImage->Get_nTransID() : -1) {}

int CTLTransitionItem::GetDuration() {
  if (m_pImage == nullptr) return 0;
  const CDVDAlbumImage* album = m_pImage->GetAlbum();
  const int seconds =
      album != nullptr ? album->Get_nOneDuration(album->IndexOf(m_pImage)) : m_pImage->Get_nOneDuration();
  return seconds * 1000;
}

void CTLTransitionItem::UpdateDisplayRect(int dx) {
  CTimelineItem::UpdateDisplayRect(dx);
  ::InflateRect(&m_rcDisplay, -5, -25);
}

BOOL CTLTransitionItem::HitTest(POINT pt) {
  if (CTimelineItem::HitTest(pt)) m_bDurationZone = Inside(ZoneAt(m_rcDisplay, kDurationZone), pt);
  return m_bHot;
}

void CTLTransitionItem::Click(POINT) {
  if (m_bDurationZone)
    Edit();
  else
    PlayPreview();
}

void CTLTransitionItem::Edit() {
  CTimelineCtrl* owner = m_pOwner;  // this item may not outlive the dialog (see the photo item)
  CTransitionOptionsDlg dlg(m_pImage, nullptr);
  if (dlg.DoModal() != 0) {
    RepaintOwnerNow(owner);
    RefreshSlideshowLength();
  }
}

void CTLTransitionItem::PlayPreview() {
  if (m_pImage == nullptr) return;
  m_nTransID = m_pImage->Get_nTransID();
  PlayTransitionInPreview(m_pOwner, m_nTransID);
}

void CTLTransitionItem::Select(BOOL bSelect) {
  CTimelineItem::Select(bSelect);
  if (!bSelect || m_pImage == nullptr) return;
  if (CDVDAlbumImage* album = m_pImage->GetAlbum(); album != nullptr) {
    album->m_pCurImage = m_pImage;
    album->Set_bFirstTransActive(1);
    album->m_bTitleActive = FALSE;
    album->m_bCreditActive = FALSE;
  }
}

void CTLTransitionItem::Paint(CDC* pDC, int nStart) {
  if (m_pImage != nullptr) m_nTransID = m_pImage->Get_nTransID();
  TimelinePaint::TransitionItem(pDC, *this);
}

// ---- titles and credits ----

void CTLAlbumTextItem::UpdateDisplayRect(int dx) {
  CTimelineItem::UpdateDisplayRect(dx);
  ::InflateRect(&m_rcDisplay, -5, -15);
}

void CTLAlbumTextItem::MakeAlbumPosition(BOOL bTitle) {
  if (CDVDAlbumImage* album = EditorAlbum(); album != nullptr) {
    album->m_pCurImage = nullptr;
    album->m_bTitleActive = bTitle;
    album->m_bCreditActive = !bTitle;
  }
}

void CTLTitleItem::Select(BOOL bSelect) {
  CTimelineItem::Select(bSelect);
  if (bSelect) MakeAlbumPosition(TRUE);
}

void CTLTitleItem::Paint(CDC* pDC, int) {
  TimelinePaint::SecondsItem(pDC, *this, m_pOwner->GetTitleItemList(), m_nDuration);
}

void CTLCreditItem::Select(BOOL bSelect) {
  CTimelineItem::Select(bSelect);
  if (bSelect) MakeAlbumPosition(FALSE);
}

void CTLCreditItem::Paint(CDC* pDC, int) {
  TimelinePaint::SecondsItem(pDC, *this, m_pOwner->GetCreditItemList(), m_nDuration);
}

// ---- music ----

int CTLMusicItem::GetDuration() {
  return m_pSource != nullptr ? m_pSource->nTrimEnd - m_pSource->nTrimStart : 0;
}

void CTLMusicItem::UpdateDisplayRect(int dx) {
  CTimelineItem::UpdateDisplayRect(dx);
  ::OffsetRect(&m_rcDisplay, 0, 5);
}

void CTLMusicItem::Paint(CDC* pDC, int) {
  TimelinePaint::MusicItem(pDC, *this);
}
