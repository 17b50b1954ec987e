// Toolbar layout and painting: the sizes the docking layout asks for, wrapping into rows, the
// button rectangles with the chevron's overflow, and the double-buffered paint.
#include "toolkit/bars/PlxToolBar.h"

#include <algorithm>

#include "platform/mfc/Dc.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/WndMessageMap.h"
#include "toolkit/bars/PlxCustomizeButton.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/customize/PlxCustomizeSheet.h"

namespace {

constexpr int kRowGap = 5;
constexpr int kNoLimit = 32767;

// A client DC with the font of the bar's orientation selected for its lifetime.
class BarDC {
 public:
  BarDC(CWnd* pWnd, BOOL bHorz) : m_dc(pWnd) {
    m_old = m_dc.SelectObject(bHorz ? &g_plxGlobalData.fontRegular : &g_plxGlobalData.fontVert);
  }
  ~BarDC() { m_dc.SelectObject(m_old); }
  CDC* operator->() { return &m_dc; }
  CDC* get() { return &m_dc; }

 private:
  CClientDC m_dc;
  CFont* m_old;
};

bool IsSeparator(const CPlxToolbarButton* b) {
  return (b->m_nStyle & TBBS_SEPARATOR) != 0;
}

}  // namespace

CSize CPlxToolBar::GetButtonSize() const {
  CSize size = m_bLocked ? (m_bFollowLargeIcons ? m_sizeOwnCurButton : m_sizeOwnButton)
                         : (m_bFollowLargeIcons ? m_sizeCurButton : m_sizeButton);
  if (IsButtonExtraSizeAvailable()) size += CPlxVisualManager::GetInstance()->GetButtonExtraBorder();
  return size;
}

CSize CPlxToolBar::GetImageSize() const {
  if (m_bMenuMode) return m_sizeMenuImage;
  return m_bLocked ? (m_bFollowLargeIcons ? m_sizeOwnCurImage : m_sizeOwnImage)
                   : (m_bFollowLargeIcons ? m_sizeCurImage : m_sizeImage);
}

int CPlxToolBar::GetRowHeight() const {
  if (m_bTallRows) return m_nTallRowHeight;
  int height = 0;
  if (m_bMenuMode)
    height = m_sizeMenuButton.cy > 0 ? m_sizeMenuButton.cy : m_sizeButton.cy;
  else
    height = GetButtonSize().cy;
  const int text = IsHorizontal() ? g_plxGlobalData.nTextHeightHorz : g_plxGlobalData.nTextHeightVert;
  return std::max(height, text);
}

int CPlxToolBar::GetColumnWidth() const {
  if (m_bMenuMode) return m_sizeMenuButton.cx >= 1 ? m_sizeMenuButton.cx : m_sizeButton.cx;
  return GetButtonSize().cx;
}

int CPlxToolBar::CalcMaxButtonHeight() {
  m_bTallRows = FALSE;
  if (!IsHorizontal() || !m_bTextLabels || GetSafeHwnd() == nullptr) return 0;
  BarDC dc(this, TRUE);
  int maxHeight = 0;
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
    auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
    if (button == nullptr || !button->m_bTextBelow) continue;
    if (button->m_strText.IsEmpty()) OnSetDefaultButtonText(button);
    maxHeight = std::max<int>(maxHeight, button->OnCalculateSize(dc.get(), GetButtonSize(), TRUE).cy);
  }
  m_bTallRows = GetButtonSize().cy < maxHeight;
  return maxHeight;
}

CSize CPlxToolBar::CalcSize(BOOL bVertDock) {
  if (m_lstButtons.IsEmpty()) return GetButtonSize();
  CSize result(GetColumnWidth(), GetRowHeight());
  const int startX = bVertDock ? 0 : 1;
  const int startY = bVertDock ? 1 : 0;
  CPoint cur(startX, startY);
  BarDC dc(this, !bVertDock);
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
    auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
    if (button == nullptr) break;
    if (button == m_pChevron && IsFloating()) break;
    const CSize def(GetColumnWidth(), m_bTallRows ? GetButtonSize().cy : GetRowHeight());
    CSize size = button->OnCalculateSize(dc.get(), def, !bVertDock);
    if (m_bTallRows) size.cy = m_nTallRowHeight;
    if (!bVertDock) {
      if (IsSeparator(button) && (cur.x == startX || button->m_bWrap)) size = CSize(0, 0);
      cur.x += size.cx;
      result.cx = std::max<LONG>(result.cx, cur.x);
      result.cy = std::max<LONG>(result.cy, cur.y + size.cy);
      if (button->m_bWrap) {
        cur.x = startX;
        cur.y += GetRowHeight() + kRowGap;
      }
    } else {
      result.cx = std::max<LONG>(result.cx, cur.x + size.cx);
      cur.y += size.cy;
      result.cy = std::max<LONG>(result.cy, cur.y);
      cur.x = startX;
    }
  }
  return result;
}

int CPlxToolBar::WrapButtons(int nWidth, int nHeight) {
  BarDC dc(this, IsHorizontal());
  CRect client(0, 0, 0, 0);
  if (GetSafeHwnd() != nullptr) GetClientRect(client);
  int y = client.top, x = 0, rows = 1;
  if (IsFloating()) nHeight = kNoLimit;
  if (!IsFloating() && IsHorizontal() && m_pChevron != nullptr)
    nWidth -= m_pChevron->OnCalculateSize(dc.get(), CSize(GetColumnWidth(), GetRowHeight()), TRUE).cx;
  CPlxToolbarButton* previous = nullptr;
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
    auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
    if (button == nullptr || button == m_pChevron) break;
    button->m_bWrap = FALSE;
    if (!button->m_bVisible) continue;
    CSize size = button->OnCalculateSize(dc.get(), CSize(GetColumnWidth(), GetRowHeight()), TRUE);
    if (IsSeparator(button) && x == 0) size = CSize(0, 0);
    if (x + size.cx > nWidth && y + size.cy < nHeight && !IsSeparator(button) && previous != nullptr) {
      previous->m_bWrap = TRUE;
      y += size.cy + kRowGap;
      x = 0;
      ++rows;
    }
    x += size.cx;
    previous = button;
  }
  return rows;
}

int CPlxToolBar::SizeToolBar(int nLength, BOOL bVert) {
  if (!bVert) {
    const int rowsMin = WrapButtons(0, kNoLimit);
    int rows = WrapButtons(nLength, kNoLimit);
    if (rowsMin != rows && nLength > 0) {
      // The narrowest width that keeps the row count of nLength.
      int lo = 0, hi = nLength;
      while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (WrapButtons(mid, kNoLimit) == rows) {
          hi = mid;
        } else if (lo == mid) {
          WrapButtons(hi, kNoLimit);
          break;
        } else {
          lo = mid;
        }
      }
    }
    return WrapButtons(CalcSize(FALSE).cx, kNoLimit);
  }
  WrapButtons(kNoLimit, kNoLimit);
  CSize size = CalcSize(FALSE);
  int width = size.cx;
  if (nLength > size.cy) {
    width = 0;
    const int step = std::max<int>(1, GetButtonSize().cx);
    do {
      width += step;
      WrapButtons(width, kNoLimit);
      size = CalcSize(FALSE);
    } while (nLength < size.cy && width < kNoLimit);
    width = size.cx;
  }
  return WrapButtons(width, kNoLimit);
}

CSize CPlxToolBar::CalcLayout(DWORD dwMode, int nLength) {
  if (m_pChevron != nullptr) m_pChevron->m_bIsEmpty = FALSE;
  m_nTallRowHeight = CalcMaxButtonHeight();
  if (!(m_dwStyle & CBRS_SIZE_FIXED)) {
    int length = 0;
    BOOL vert = FALSE;
    if (!(m_dwStyle & CBRS_SIZE_DYNAMIC))
      length = (dwMode & LM_HORZ) ? kNoLimit : 0;
    else if (dwMode & LM_MRUWIDTH)
      length = static_cast<int>(m_nMRUWidth);
    else if (dwMode & LM_HORZDOCK)
      length = kNoLimit;
    else if (dwMode & LM_VERTDOCK)
      length = 0;
    else if (nLength != -1) {
      CRect inside(0, 0, 0, 0);
      CalcInsideRect(inside, (dwMode & LM_HORZ) != 0);
      vert = (dwMode & LM_LENGTHY) != 0;
      length = nLength + (vert ? inside.Height() : inside.Width());
    } else if (IsFloating())
      length = static_cast<int>(m_nMRUWidth);
    else
      length = (dwMode & LM_HORZ) ? kNoLimit : 0;
    SizeToolBar(length, vert);
  }
  CSize size = CalcSize(!(dwMode & LM_HORZ));
  if (m_pChevron != nullptr && m_pChevron->m_uiCustomizeCmdId == 0 &&
      m_pChevron->m_lstInvisibleButtons.IsEmpty()) {
    m_pChevron->m_bIsEmpty = TRUE;
    size = CalcSize(!(dwMode & LM_HORZ));
  }
  if ((dwMode & LM_COMMIT) && IsFloating() && (m_dwStyle & CBRS_SIZE_DYNAMIC) && (dwMode & LM_HORZ))
    m_nMRUWidth = size.cx;
  CRect inside(0, 0, 0, 0);
  CalcInsideRect(inside, TRUE);
  size.cx -= inside.Width();
  size.cy -= inside.Height();
  // The base's answer without stretching: a stretched one would be the whole side.
  const CSize fixed = CControlBar::CalcFixedLayout(FALSE, TRUE);
  size.cx = std::max<LONG>(size.cx, fixed.cx);
  size.cy = std::max<LONG>(size.cy, fixed.cy);
  RebuildMnemonics();
  return size;
}

CSize CPlxToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  return CalcLayout((bStretch ? LM_STRETCH : 0) | (bHorz ? LM_HORZ : 0), -1);
}

CSize CPlxToolBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
  if (nLength == -1 && !(dwMode & (LM_MRUWIDTH | LM_COMMIT)) && (dwMode & (LM_HORZDOCK | LM_VERTDOCK)))
    return CalcFixedLayout(dwMode & LM_STRETCH, dwMode & LM_HORZDOCK);
  return CalcLayout(dwMode, nLength);
}

void CPlxToolBar::AdjustLocations() {
  if (m_lstButtons.IsEmpty() || GetSafeHwnd() == nullptr) return;
  const BOOL horz = IsHorizontal();
  CRect client;
  GetClientRect(client);
  BarDC dc(this, horz);
  const int start = horz ? client.left + 1 : client.top + 1;
  int position = start, rowTop = client.top, rowWidth = 0;
  const BOOL docked = !IsFloating();
  const BOOL useChevron = m_pChevron != nullptr && docked && !m_bCustomizeMode;
  CSize chevronSize(0, 0);
  if (useChevron) {
    m_pChevron->m_lstInvisibleButtons.RemoveAll();
    const BOOL wasEmpty = m_pChevron->m_bIsEmpty;
    m_pChevron->m_bIsEmpty = FALSE;
    chevronSize = m_pChevron->OnCalculateSize(
        dc.get(), horz ? CSize(GetColumnWidth(), client.Height()) : CSize(client.Width(), GetRowHeight()),
        horz);
    m_pChevron->m_bIsEmpty = wasEmpty;
  }
  BOOL previousSeparatorShown = FALSE;
  BOOL rowStart = TRUE;
  POSITION rowFirst = m_lstButtons.GetHeadPosition();
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
    POSITION here = pos;
    auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
    if (button == nullptr) break;
    if (button == m_pChevron) continue;
    CSize size = button->OnCalculateSize(dc.get(), CSize(GetColumnWidth(), GetRowHeight()), horz);
    if (horz && button->m_bTextBelow) size.cy = GetRowHeight();
    BOOL hidden = FALSE;
    if (IsSeparator(button)) {
      if (rowStart || previousSeparatorShown) {
        size = CSize(0, 0);
        hidden = TRUE;
      }
      previousSeparatorShown = !hidden;
    } else {
      previousSeparatorShown = FALSE;
    }
    const int before = position;
    CRect rect = horz ? CRect(position, rowTop, position + size.cx, rowTop + size.cy)
                      : CRect(client.left, position, client.left + size.cx, position + size.cy);
    position += horz ? size.cx : size.cy;
    if (horz) rowWidth += size.cx;
    if (useChevron) {
      CSize room = chevronSize;
      const BOOL lastBeforeChevron = pos != nullptr && m_lstButtons.GetAt(pos) == m_pChevron;
      if (m_pChevron->m_uiCustomizeCmdId == 0 && lastBeforeChevron &&
          m_pChevron->m_lstInvisibleButtons.IsEmpty())
        room = CSize(0, 0);
      const BOOL overflow =
          horz ? rect.right > client.right - room.cx : rect.bottom > client.bottom - room.cy;
      if (overflow && !hidden) {
        hidden = TRUE;
        position = before;
        if (horz) rowWidth -= size.cx;
        m_pChevron->m_lstInvisibleButtons.AddTail(button);
      }
    }
    if (!hidden && size.cx + size.cy > 0) rowStart = FALSE;
    if (button->m_bIsHidden != hidden) {
      button->m_bIsHidden = hidden;
      button->Show(!hidden);
    }
    if (rect != button->m_rect) {
      button->m_rect = rect;
      button->OnMove();
    }
    const BOOL last = pos == nullptr || m_lstButtons.GetAt(pos) == m_pChevron;
    if (horz && (button->m_bWrap || last)) {
      if (IsFloating() && m_bTextLabels && rowWidth < client.Width()) {
        const int offset = (client.right - rowWidth - start) / 2;
        if (offset > 0) {
          for (POSITION p = rowFirst; p != nullptr;) {
            auto* b = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(p));
            if (b == m_pChevron) break;
            b->m_rect.OffsetRect(offset, 0);
            b->OnMove();
            if (b == button) break;
          }
        }
      }
      position = start;
      rowWidth = 0;
      rowTop += GetRowHeight() + kRowGap;
      rowStart = TRUE;
      previousSeparatorShown = FALSE;
      rowFirst = pos;
    } else if (!horz) {
      rowStart = FALSE;
    }
    (void)here;
  }
  if (m_pChevron != nullptr) {
    if ((m_pChevron->m_uiCustomizeCmdId == 0 && m_pChevron->m_lstInvisibleButtons.IsEmpty()) ||
        IsFloating() || m_bCustomizeMode) {
      m_pChevron->m_rect.SetRectEmpty();
      m_pChevron->Show(FALSE);
    } else {
      m_pChevron->m_rect =
          horz ? CRect(client.right - chevronSize.cx, client.top, client.right - 1, client.bottom)
               : CRect(client.left, client.bottom - 1 - chevronSize.cy, client.right, client.bottom - 1);
      m_pChevron->Show(TRUE);
    }
  }
  InvalidateChevron();
}

void CPlxToolBar::AdjustLayout() {
  if (GetSafeHwnd() == nullptr) return;
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
    auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
    button->m_bTextBelow = !IsSeparator(button) && m_bTextLabels && IsHorizontal();
  }
  // Bars in a rebar size their band through the rebar's own messages, which come with the rebar.
  if (IsFloating()) {
    if (auto* mini = dynamic_cast<CMiniDockFrameWnd*>(GetParent() ? GetParent()->GetParent() : nullptr)) {
      const CSize size = CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
      CRect rect(CPoint(0, 0), size);
      ::AdjustWindowRectEx(&rect, mini->GetStyle(), FALSE, mini->GetExStyle());
      mini->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  } else if (CFrameWnd* frame = AfxGetParentFrame(this);
             frame != nullptr && frame->GetSafeHwnd() != nullptr) {
    frame->RecalcLayout(TRUE);
  }
  AdjustLocations();
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
}

void CPlxToolBar::EnableTextLabels(BOOL bEnable) {
  if (m_bMenuMode) return;
  m_bTextLabels = bEnable;
  AdjustLayout();
}

void CPlxToolBar::RecalcDelayShow() {
  if (!IsFloating()) AdjustLocations();
}

BOOL CPlxToolBar::DrawButton(CDC* pDC, CPlxToolbarButton* pButton, CPlxButtonImages* pImages,
                             BOOL bHighlighted, BOOL bDrawDisabledImages) {
  if (!pButton->m_bVisible || pButton->m_bIsHidden || !pDC->RectVisible(pButton->m_rect)) return TRUE;
  const BOOL customize = m_bCustomizeMode && !m_bAltDragActive && !m_bLocked;
  pButton->OnDraw(pDC, pButton->m_rect, pImages, IsHorizontal(), customize, bHighlighted, m_bDrawBorders,
                  m_bGrayDisabled && !bDrawDisabledImages);
  return TRUE;
}

void CPlxToolBar::DrawSeparator(CDC* pDC, const CRect& rect, BOOL bHorz) {
  CPlxVisualManager::GetInstance()->OnDrawSeparator(pDC, this, rect, bHorz);
}

void CPlxToolBar::DrawDragMarker(CDC* pDC) {
  // An I-beam in the mark rectangle, two pixels thick.
  CPen* old = pDC->SelectObject(&m_penDrag);
  const CRect& r = m_rectDropMark;
  for (int i = 0; i < 2; ++i) {
    if (IsHorizontal()) {
      const int x = r.left + r.Width() / 2 - 1 + i;
      pDC->MoveTo(x, r.top);
      pDC->LineTo(x, r.bottom);
      pDC->MoveTo(r.left + i, r.top + i);
      pDC->LineTo(r.right - i, r.top + i);
      pDC->MoveTo(r.left + i, r.bottom - i - 1);
      pDC->LineTo(r.right - i, r.bottom - i - 1);
    } else {
      const int y = r.top + r.Height() / 2 - 1 + i;
      pDC->MoveTo(r.left, y);
      pDC->LineTo(r.right, y);
      pDC->MoveTo(r.left + i, r.top + i);
      pDC->LineTo(r.left + i, r.bottom - i);
      pDC->MoveTo(r.right - i - 1, r.top + i);
      pDC->LineTo(r.right - i - 1, r.bottom - i);
    }
  }
  pDC->SelectObject(old);
}

int CPlxToolBar::FindDropIndex(const CPoint p, CRect& rectDrag) const {
  rectDrag.SetRectEmpty();
  CPoint point = p;
  if (point.y < 0) point.y = 0;
  CRect client(0, 0, 0, 0);
  if (GetSafeHwnd() != nullptr) GetClientRect(client);
  const BOOL horz = IsHorizontal();
  const int count = GetCount();
  int index = -1;
  int edge = 0;
  if (count == 0 || (count == 1 && m_pChevron != nullptr)) {
    index = 0;
    edge = horz ? client.left : client.top;
  } else if (horz) {
    const CPlxToolbarButton* first = nullptr;
    const CPlxToolbarButton* below = nullptr;
    for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
      auto* b = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
      if (b->m_bIsHidden || !b->m_bVisible) continue;
      if (first == nullptr)
        first = b;
      else if (b->m_rect.top >= first->m_rect.bottom) {
        below = b;
        break;
      }
    }
    const int gap =
        first != nullptr && below != nullptr ? below->m_rect.top - first->m_rect.bottom : GetRowHeight();
    const int wantedRow = point.y / std::max(1, GetRowHeight() + gap);
    int row = 0, i = 0;
    const CPlxToolbarButton* previous = nullptr;
    int previousIndex = -1;
    for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr; ++i) {
      auto* b = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
      if (b->m_bIsHidden || !b->m_bVisible) continue;
      if (previous != nullptr && b->m_rect.top >= previous->m_rect.bottom) {
        if (row == wantedRow) break;  // right of the last button of the wanted row
        ++row;
      }
      if (row == wantedRow) {
        if (point.x < b->m_rect.left) {
          index = i;
          edge = b->m_rect.left;
          previous = nullptr;
          break;
        }
        if (point.x < b->m_rect.right) {
          if (point.x - b->m_rect.left <= b->m_rect.right - point.x) {
            index = i;
            edge = b->m_rect.left;
          } else {
            index = i + 1;
            edge = b->m_rect.right;
          }
          previous = nullptr;
          break;
        }
      }
      previous = b;
      previousIndex = i;
    }
    if (index == -1 && previous != nullptr && row == wantedRow) {
      index = previousIndex + 1;
      edge = previous->m_rect.right;
    }
  } else {
    int i = 0;
    for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr; ++i) {
      auto* b = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
      if (point.y < b->m_rect.top) {
        index = i;
        edge = b->m_rect.top;
        break;
      }
      if (point.y < b->m_rect.bottom) {
        if (point.y - b->m_rect.top <= b->m_rect.bottom - point.y) {
          index = i;
          edge = b->m_rect.top;
        } else {
          index = i + 1;
          edge = b->m_rect.bottom;
        }
        break;
      }
    }
  }
  if (index < 0) return -1;
  if (m_pChevron != nullptr && index == count) {
    index = std::max(count - 1, 0);
    if (index == count) return -1;
  }
  const CPlxToolbarButton* at = GetButton(index);
  const CPlxToolbarButton* ref = at != nullptr ? at : GetButton(index - 1);
  if (horz) {
    int left = std::max<int>(edge - 3, client.left);
    int right = left + 6;
    if (right > client.right) {
      right = client.right;
      left = right - 6;
    }
    const CRect rows = ref != nullptr ? ref->m_rect : client;
    rectDrag = CRect(left, rows.top, right, rows.bottom);
  } else {
    int top = std::max<int>(edge - 3, client.top);
    int bottom = top + 6;
    if (bottom > client.bottom) {
      bottom = client.bottom;
      top = bottom - 6;
    }
    rectDrag = CRect(client.left, top, client.right, bottom);
  }
  return index;
}

void CPlxToolBar::DoPaint(CDC* pDCPaint) {
  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  CRect clip, client;
  pDCPaint->GetClipBox(clip);
  GetClientRect(client);
  CDC memDC;
  CBitmap bitmap;
  CBitmap* oldBitmap = nullptr;
  CDC* pDC = pDCPaint;
  if (memDC.CreateCompatibleDC(pDCPaint) &&
      bitmap.CreateCompatibleBitmap(pDCPaint, client.Width(), client.Height())) {
    oldBitmap = memDC.SelectObject(&bitmap);
    pDC = &memDC;
    if (GetStyle() & TBSTYLE_TRANSPARENT)
      m_Impl.DrawParentBackground(pDC);
    else
      manager->OnFillBarBackground(pDC, this, client, clip, FALSE);
  }
  OnFillBackground(pDC);
  pDC->SetTextColor(g_plxGlobalData.clrBtnText);
  pDC->SetBkMode(TRANSPARENT);

  CPlxButtonImages* normal = ChooseImages(m_sharedImages, m_ownImages, m_sharedLargeImages, m_ownLargeImages);
  CPlxButtonImages* cold =
      ChooseImages(m_sharedColdImages, m_ownColdImages, m_sharedLargeColdImages, m_ownLargeColdImages);
  CPlxButtonImages* disabled = ChooseImages(m_sharedDisabledImages, m_ownDisabledImages,
                                            m_sharedLargeDisabledImages, m_ownLargeDisabledImages);
  CPlxButtonImages* menu = m_bLocked ? &m_ownMenuImages : &m_sharedMenuImages;
  CPlxButtonImages* menuDisabled = m_bLocked ? &m_ownDisabledMenuImages : &m_sharedDisabledMenuImages;
  const CSize sizeImage = GetImageSize();

  if (normal->GetTransparentColor() != g_plxGlobalData.clrBtnFace) {
    normal->SetTransparentColor(g_plxGlobalData.clrBtnFace);
    normal->CreateStateImage(FALSE);
    normal->CreateStateImage(TRUE);
  }
  // A cold strip greyed from the normal one before its first paint would draw its background
  // as a box over a checked or pressed button.
  if (cold->GetCount() > 0 && cold->GetTransparentColor() != g_plxGlobalData.clrBtnFace)
    cold->SetTransparentColor(g_plxGlobalData.clrBtnFace);
  const BOOL savedFade = manager->m_bFadeInactiveImage;
  if (cold->GetCount() > 0) manager->m_bFadeInactiveImage = FALSE;
  PlxImageDrawState ds;
  CPlxButtonImages* current = normal;
  BOOL prepared = normal->GetImageWell() == nullptr ||
                  normal->PrepareDrawImage(ds, sizeImage, manager->m_bFadeInactiveImage);
  if (prepared) {
    CFont* oldFont =
        pDC->SelectObject(IsHorizontal() ? &g_plxGlobalData.fontRegular : &g_plxGlobalData.fontVert);
    const BOOL horz = IsHorizontal();
    int i = 0;
    for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr; ++i) {
      auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
      if (button == nullptr) break;
      if (IsSeparator(button)) {
        CRect rect = button->m_rect;
        BOOL sepHorz = horz;
        if (button->m_bWrap && horz) {
          rect = CRect(client.left, rect.bottom, client.right, rect.bottom + kRowGap);
          sepHorz = FALSE;
        }
        if (!button->m_bIsHidden && CRect().IntersectRect(rect, clip)) DrawSeparator(pDC, rect, sepHorz);
        continue;
      }
      if (!CRect().IntersectRect(button->m_rect, clip)) continue;
      const BOOL isDisabled = (button->m_nStyle & TBBS_DISABLED) && !m_bCustomizeMode;
      BOOL highlight = FALSE;
      if (m_bCustomizeMode && !m_bLocked)
        highlight = FALSE;
      else if (m_bMenuMode)
        highlight = i == m_iHot;
      else
        highlight = (i == m_iHot || i == m_iPressed) && (m_iPressed == -1 || m_iPressed == i);
      CPlxButtonImages* strip = current;
      BOOL withDisabled = FALSE;
      if (button->m_bUserImage) {
        if (button->m_iUserImage >= 0 && m_pUserImages != nullptr) strip = m_pUserImages;
      } else if (!m_bMenuMode) {
        strip = normal;
        if (isDisabled && disabled->GetCount() > 0) {
          strip = disabled;
          withDisabled = TRUE;
        }
        if (!highlight && !withDisabled && !(button->m_nStyle & TBBS_PRESSED) && !button->IsDroppedDown() &&
            cold->GetCount() > 0)
          strip = cold;
      } else {
        if (isDisabled && menuDisabled->GetCount() > 0)
          strip = menuDisabled;
        else if (menu->GetCount() > 0)
          strip = menu;
        else
          strip = isDisabled && disabled->GetCount() > 0 ? disabled : normal;
      }
      if (strip != current) {
        current->EndDrawImage(ds);
        current = strip;
        current->PrepareDrawImage(ds, sizeImage, manager->m_bFadeInactiveImage);
      }
      if (pDC->RectVisible(button->m_rect))
        DrawButton(pDC, button, normal->GetImageWell() == nullptr ? nullptr : current, highlight,
                   withDisabled);
    }
    if (m_iSelected >= GetCount()) m_iSelected = -1;
    if (m_bCustomizeMode && m_pSelToolbar == this && !m_bLocked && m_iSelected >= 0) {
      CPlxToolbarButton* selected = GetButton(m_iSelected);
      if (selected != nullptr && selected->CanBeStored()) {
        CRect rect = selected->m_rect;
        if (selected->GetHwnd() != nullptr) rect.InflateRect(0, 1);
        pDC->Draw3dRect(rect, g_plxGlobalData.clrBtnText, g_plxGlobalData.clrBtnText);
        rect.DeflateRect(1, 1);
        pDC->Draw3dRect(rect, g_plxGlobalData.clrBtnText, g_plxGlobalData.clrBtnText);
      }
    }
    if (m_iDropIndex >= 0 && !m_bLocked) DrawDragMarker(pDC);
    pDC->SelectObject(oldFont);
    current->EndDrawImage(ds);
  }
  manager->m_bFadeInactiveImage = savedFade;
  if (pDC == &memDC) {
    pDCPaint->BitBlt(clip.left, clip.top, clip.Width(), clip.Height(), &memDC, clip.left, clip.top, SRCCOPY);
    memDC.SelectObject(oldBitmap);
  }
}

void CPlxToolBar::SetRoundRegion() {
  if (GetSafeHwnd() == nullptr) return;
  if (m_bRoundShape && dynamic_cast<CDockBar*>(GetParent()) != nullptr) {
    CRect rect;
    GetWindowRect(rect);
    SetWindowRgn(CreateRoundRectRgn(0, 0, rect.Width() + 1, rect.Height() + 1, 4, 4), FALSE);
  } else {
    SetWindowRgn(nullptr, FALSE);
  }
}

void CPlxToolBar::InvalidateChevron() {
  if (m_pChevron == nullptr || GetSafeHwnd() == nullptr) return;
  CRect rect = m_pChevron->GetRect();
  rect.InflateRect(m_pChevron->GetExtraSize());
  rect.right += 10;
  rect.bottom += 10;
  RedrawWindow(rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
}

void CPlxToolBar::OnChangeVisualManager() {
  m_bRoundShape = CPlxVisualManager::GetInstance()->IsToolbarRoundShape(this);
  if (m_bRoundShape)
    SetRoundRegion();
  else
    SetWindowRgn(nullptr, FALSE);
  if (!m_bLocked) AdjustLayout();
  ResetImagesColors();
}

void CPlxToolBar::OnGlobalFontsChanged() {
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;)
    static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos))->OnGlobalFontsChanged();
}

BOOL CPlxToolBar::OnEraseBkgnd(CDC*) {
  return TRUE;  // DoPaint fills the whole client area
}

void CPlxToolBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
  m_Impl.CalcNcSize(lpncsp);
}

void CPlxToolBar::OnNcPaint() {
  m_Impl.DrawNcArea();
}

LRESULT CPlxToolBar::OnNcHitTest(CPoint) {
  return HTCLIENT;
}

namespace {

// The frame right around a bar (not the dock site a floating bar belongs to), when it is a mini frame.
CMiniFrameWnd* NearestMiniFrame(const CWnd* bar) {
  for (HWND hwnd = ::GetParent(bar->GetSafeHwnd()); hwnd != nullptr; hwnd = ::GetParent(hwnd))
    if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(hwnd)))
      return dynamic_cast<CMiniFrameWnd*>(frame);
  return nullptr;
}

}  // namespace

void CPlxToolBar::OnSize(UINT nType, int cx, int cy) {
  SetRoundRegion();
  HideToolTip();  // the buttons move away from under the tip
  Default();
  if (m_bCustomizeMode && !m_bLocked) OnCancelMode();
  // A floating bar's mini frame only moves and closes, and closes only when the bar may go.
  if (CMiniFrameWnd* mini = NearestMiniFrame(this)) {
    if (CMenu* menu = mini->GetSystemMenu(FALSE)) {
      for (UINT command : {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE}) menu->DeleteMenu(command, MF_BYCOMMAND);
      if (!CanBeClosed()) menu->EnableMenuItem(SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    }
  }
  AdjustLocations();
  Invalidate();
}

void CPlxToolBar::OnSettingChange(UINT uFlags, LPCTSTR lpszSection) {
  CWnd::OnSettingChange(uFlags, lpszSection);
  if (uFlags == SPI_SETNONCLIENTMETRICS) {
    g_plxGlobalData.UpdateFonts();
    AdjustLayout();
  }
}

void CPlxToolBar::OnWindowPosChanging(WINDOWPOS*) {
  Default();
}

void CPlxToolBar::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
  Default();
  // The open customize sheet's toolbar list follows a bar shown or hidden while customizing.
  if (lpwndpos != nullptr && (lpwndpos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) && m_bCustomizeMode &&
      g_pActiveCustomizeSheet != nullptr)
    g_pActiveCustomizeSheet->ShowToolBar(this, (lpwndpos->flags & SWP_SHOWWINDOW) != 0);
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
  InvalidateChevron();
}

void CPlxToolBar::OnSysColorChange() {
  g_plxGlobalData.UpdateSysColors();
  CPlxVisualManager::GetInstance()->OnUpdateSystemColors();
  ResetImagesColors();
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME | RDW_ALLCHILDREN);
}
