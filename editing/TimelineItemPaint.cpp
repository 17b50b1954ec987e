#include "editing/TimelineItemPaint.h"

#include <algorithm>

#include "editing/TimelineCtrl.h"
#include "editing/TimelineItems.h"
#include "modules/data/AudioSource.h"
#include "modules/data/DVDImage.h"
#include "platform/comctl/AfxImageList.h"
#include "platform/kernel/Path.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"
#include "shell/LanguageFile.h"
#include "shell/SmallUtilities.h"

namespace TimelinePaint {

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 250);
constexpr COLORREF kRed = RGB(250, 0, 0);
constexpr COLORREF kZone = RGB(0, 250, 250);

// A font selected into the DC for the span of one drawing.
class ScopedFont {
 public:
  ScopedFont(CDC* pDC, LPCTSTR face, int height, int weight = FW_NORMAL) : m_dc(pDC) {
    m_font.CreateFont(height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face);
    m_old = m_dc->SelectObject(&m_font);
  }
  ~ScopedFont() { m_dc->SelectObject(m_old); }

 private:
  CDC* m_dc;
  CFont m_font;
  CFont* m_old;
};

void Outline(CDC* pDC, const RECT& r, COLORREF colour) {
  CPen pen(PS_SOLID, 1, colour);
  CPen* old = pDC->SelectObject(&pen);
  pDC->MoveTo(r.left, r.top);
  pDC->LineTo(r.left, r.bottom - 1);
  pDC->LineTo(r.right - 1, r.bottom - 1);
  pDC->LineTo(r.right - 1, r.top);
  pDC->LineTo(r.left, r.top);
  pDC->SelectObject(old);
}

RECT ZoneAt(const RECT& display, const RECT& zone) {
  return {display.left + zone.left, display.top + zone.top, display.left + zone.right,
          display.top + zone.bottom};
}

void DrawFrame(CDC* pDC, const CTimelineItem& item, CImageList* pFrames, int index) {
  if (pFrames == nullptr || index >= pFrames->GetImageCount()) return;
  const RECT& r = item.m_rcDisplay;
  pFrames->DrawIndirect(pDC, index, CPoint(r.left, r.top), CSize(r.right - r.left, r.bottom - r.top),
                        CPoint(0, 0), ILD_NORMAL, SRCCOPY);
}

int FrameIndex(const CTimelineItem& item) {
  return (item.m_bHot ? 1 : 0) + (item.m_bSelected ? 2 : 0);
}

CString Seconds(int seconds) {
  CString text;
  text.Format("%d\"", seconds);
  return text;
}

}  // namespace

void EmptyTrack(CDC* pDC, CTimelineCtrl* pOwner, int nTop, int nHeight, UINT nStringID) {
  CRect client;
  pOwner->GetClientRect(&client);
  CRect r(client.left, nTop, client.right, nTop + nHeight);
  r.InflateRect(-2, -2);
  Outline(pDC, r, RGB(219, 219, 219));
  ScopedFont font(pDC, "MS Sans Serif", 16, 500);
  const CString text = LoadLangString(nStringID);
  const CSize size = pDC->GetTextExtent(text);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(RGB(160, 160, 160));
  pDC->TextOut((r.right - size.cx - r.left) / 2, r.top + (r.Height() - size.cy) / 2, text);
}

void PhotoItem(CDC* pDC, CTLPhotoItem& item, int nStart) {
  const RECT& r = item.m_rcDisplay;
  DrawFrame(pDC, item, item.m_pOwner->GetPhotoItemList(), FrameIndex(item));
  const RECT duration = ZoneAt(r, CTLPhotoItem::kDurationZone);
  const RECT sound = ZoneAt(r, CTLPhotoItem::kSoundZone);
  if (item.m_bSoundZone)
    Outline(pDC, sound, kZone);
  else if (item.m_bDurationZone)
    Outline(pDC, duration, kZone);
  CDVDImage* slide = item.m_pImage;
  if (slide != nullptr && slide->GetAnnotation() != nullptr) {
    if (CImageList* badges = item.m_pOwner->GetBadgeList(); badges != nullptr)
      badges->Draw(pDC, 0, CPoint(sound.left + 8, sound.top + 1), ILD_TRANSPARENT);
  }
  ScopedFont font(pDC, "Tahoma", 11);
  pDC->SetBkMode(TRANSPARENT);
  CString text;
  text.Format("%d", item.m_nNumber + 1);
  pDC->SetTextColor(kBlue);
  pDC->TextOut(r.left + 10, r.top + 3, text);
  const bool own = slide != nullptr && slide->Get_nTwoDuration() != -1;
  pDC->SetTextColor(own ? kRed : kBlue);
  pDC->TextOut((duration.left + duration.right) / 2 - 5, duration.top + 2,
               Seconds(item.GetDuration() / 1000));
  FormatMilliseconds(static_cast<DWORD>(nStart), text);
  pDC->SetTextColor(RGB(128, 128, 128));
  pDC->TextOut(r.right - pDC->GetTextExtent(text).cx - 10, r.top + 3, text);
  if (slide != nullptr) {
    const RECT thumb = {r.left + 10, r.top + 15, r.left + 90, r.top + 75};
    slide->DrawThumbnail(pDC->GetSafeHdc(), thumb, POINT{0, 0}, SIZE{80, 60}, 1, 1);
  }
}

void TransitionItem(CDC* pDC, CTLTransitionItem& item) {
  const RECT& r = item.m_rcDisplay;
  DrawFrame(pDC, item, item.m_pOwner->GetTransitionItemList(), FrameIndex(item));
  if (item.m_pIcons != nullptr && item.m_nTransID >= 0 && item.m_nTransID < item.m_pIcons->GetImageCount()) {
    item.m_pIcons->DrawIndirect(pDC, item.m_nTransID, CPoint(r.left + 5, r.top + 3), CSize(40, 30),
                                CPoint(0, 0), ILD_NORMAL, SRCCOPY);
  }
  const RECT zone = ZoneAt(r, CTLTransitionItem::kDurationZone);
  if (item.m_bDurationZone) Outline(pDC, zone, kZone);
  ScopedFont font(pDC, "Tahoma", 11);
  pDC->SetBkMode(TRANSPARENT);
  const bool own = item.m_pImage != nullptr && item.m_pImage->Get_nOneDuration() != -1;
  pDC->SetTextColor(own ? kRed : kBlue);
  pDC->TextOut((zone.left + zone.right) / 2 - 5, zone.top, Seconds(item.GetDuration() / 1000));
}

void SecondsItem(CDC* pDC, CTimelineItem& item, CImageList* pFrames, int nDuration) {
  const RECT& r = item.m_rcDisplay;
  DrawFrame(pDC, item, pFrames, FrameIndex(item));
  ScopedFont font(pDC, "Tahoma", 11);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(kBlue);
  pDC->TextOut((r.left + r.right) / 2 - 5, r.bottom - 20, Seconds(nDuration / 1000));
}

CString MusicItemText(int nStart, int nTrimStart, int nTrimEnd, LPCTSTR lpszPath) {
  CString from, to;
  FormatMilliseconds(static_cast<DWORD>(nStart), from);
  FormatMilliseconds(static_cast<DWORD>(nStart + nTrimEnd - nTrimStart), to);
  char drive[MAX_PATH] = {}, dir[MAX_PATH] = {}, name[MAX_PATH] = {}, ext[MAX_PATH] = {};
  _splitpath(lpszPath, drive, dir, name, ext);
  CString text;
  text.Format("%s - %s (%s%s)", static_cast<LPCTSTR>(from), static_cast<LPCTSTR>(to), name, ext);
  return text;
}

void MusicItem(CDC* pDC, CTLMusicItem& item) {
  CImageList* pieces = item.m_pOwner->GetMusicItemList();
  if (pieces == nullptr || pieces->GetImageCount() < 6 || item.m_pSource == nullptr) return;
  const CRect r(item.m_rcDisplay);
  const int first = item.m_bSelected ? 0 : 3;
  // Every piece is scaled to the clip's height (the pictures are 30 high, the band 25), so caps
  // and middle keep the same edges.
  CDC source;
  source.CreateCompatibleDC(pDC);
  auto stretch = [&](int image, int x, int width) {
    CBitmap piece;
    if (width <= 0 || !ImageListImageToBitmap(pDC, pieces, image, piece)) return;
    CBitmap* old = source.SelectObject(&piece);
    pDC->StretchBlt(x, r.top, width, r.Height(), &source, 0, 0, 9, 30, SRCCOPY);
    source.SelectObject(old);
  };
  if (r.Width() > 18) {
    stretch(first, r.left, 9);
    stretch(first + 1, r.left + 9, r.Width() - 18);
    stretch(first + 2, r.right - 9, 9);
  } else {
    stretch(first + 1, r.left, r.Width());
  }
  const _AUDIO_SOURCE* s = item.m_pSource;
  const CString text = MusicItemText(s->nStartPos, s->nTrimStart, s->nTrimEnd, s->strPathName);
  ScopedFont font(pDC, "Tahoma", 13);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(item.m_bSelected ? RGB(250, 250, 250) : RGB(0, 72, 145));
  CRect client;
  item.m_pOwner->GetClientRect(&client);
  CRect visible;
  if (!visible.IntersectRect(&r, &client)) {
    const CSize size = pDC->GetTextExtent(text);
    pDC->TextOut(r.CenterPoint().x - size.cx / 2, r.CenterPoint().y - size.cy / 2, text);
  } else {
    pDC->DrawText(text, &visible, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  }
}

void LoopBand(CDC* pDC, const RECT& rect) {
  pDC->FillSolidRect(&rect, RGB(247, 216, 121));
  CPen pen(PS_SOLID, 1, RGB(200, 200, 200));
  CPen* old = pDC->SelectObject(&pen);
  pDC->MoveTo(rect.left, rect.bottom - 1);
  pDC->LineTo(rect.right - 1, rect.bottom - 1);
  pDC->LineTo(rect.right - 1, rect.top);
  pDC->LineTo(rect.left - 1, rect.top);
  pDC->SelectObject(old);
}

void InsertionMark(CDC* pDC, int x, int nTop, int nHeight) {
  constexpr COLORREF kMark = RGB(0, 72, 145);
  constexpr int kNotch = 5;
  pDC->FillSolidRect(x - 1, nTop, 3, nHeight, kMark);
  for (int i = 0; i < kNotch; ++i) {
    pDC->FillSolidRect(x - kNotch + i + 1, nTop + i, 2 * (kNotch - i) - 1, 1, kMark);
    pDC->FillSolidRect(x - kNotch + i + 1, nTop + nHeight - 1 - i, 2 * (kNotch - i) - 1, 1, kMark);
  }
}

}  // namespace TimelinePaint
