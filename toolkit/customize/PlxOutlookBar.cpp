#include "toolkit/customize/PlxOutlookBar.h"

#include <algorithm>

#include "platform/mfc/CmdUI.h"
#include "platform/mfc/Dc.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/core/PlxWorkspace.h"

IMPLEMENT_SERIAL(CPlxOutlookBarPage, CObject, 1)
IMPLEMENT_SERIAL(CPlxOutlookButton, CPlxToolbarButton, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CPlxOutlookBar, CPlxToolBar, VERSIONABLE_SCHEMA | 1)

// ---------------------------------------------------------------------------------------------
// Pages

CPlxOutlookBarPage::~CPlxOutlookBarPage() {
  // The page window belongs to the caller: it is only hidden.
  if (m_hwnd != nullptr && ::IsWindow(m_hwnd)) ::ShowWindow(m_hwnd, SW_HIDE);
}

void CPlxOutlookBarPage::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << m_dwId << m_strLabel;
  } else {
    ar >> m_dwId >> m_strLabel;
    m_hwnd = nullptr;
  }
}

// ---------------------------------------------------------------------------------------------
// Shortcut buttons

CPlxOutlookButton::CPlxOutlookButton(UINT uiID, int iImage, LPCTSTR lpszText, DWORD dwPageId)
    : CPlxToolbarButton(uiID, iImage, lpszText), m_dwPageId(dwPageId) {
  m_bText = TRUE;
  m_bImage = iImage >= 0;
}

namespace {

// The page id is always written. Data older than its version lacks it; data whose version is
// unknown (no workspace, or none read yet) is taken to be ours, so the later fields stay in place.
BOOL ArchiveHasPageId() {
  CPlxWorkspace* workspace = CPlxWorkspace::GetWorkspace();
  const int version = workspace != nullptr ? workspace->GetDataVersion() : -1;
  return version < 0 || version >= CPlxOutlookButton::kPageIdVersion;
}

}  // namespace

void CPlxOutlookButton::Serialize(CArchive& ar) {
  CPlxToolbarButton::Serialize(ar);
  if (ar.IsStoring()) {
    ar << m_dwPageId;
  } else {
    m_dwPageId = 0;
    if (ArchiveHasPageId()) ar >> m_dwPageId;
  }
}

BOOL CPlxOutlookButton::CanBeDropped(CPlxToolBar* pToolbar) {
  return dynamic_cast<CPlxOutlookBar*>(pToolbar) != nullptr;
}

void CPlxOutlookButton::CopyFrom(const CPlxToolbarButton& src) {
  CPlxToolbarButton::CopyFrom(src);
  if (const auto* other = dynamic_cast<const CPlxOutlookButton*>(&src)) m_dwPageId = other->m_dwPageId;
}

BOOL CPlxOutlookButton::CompareWith(const CPlxToolbarButton& other) const {
  const auto* button = dynamic_cast<const CPlxOutlookButton*>(&other);
  return CPlxToolbarButton::CompareWith(other) && button != nullptr && button->m_dwPageId == m_dwPageId;
}

void CPlxOutlookButton::OnChangeParentWnd(CWnd* pWndParent) {
  CPlxToolbarButton::OnChangeParentWnd(pWndParent);
  m_pWndParentBar = dynamic_cast<CPlxOutlookBar*>(pWndParent);
}

CSize CPlxOutlookButton::OnCalculateSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) {
  const BOOL label = m_bText && !m_strText.IsEmpty();
  if (!bHorz) {
    const int textWidth = sizeDefault.cx - pDC->GetTextExtent("   ").cx;
    int textHeight = 0;
    if (label) {
      CRect text(0, 0, std::max(textWidth, 1), 0);
      textHeight = pDC->DrawText(m_strText, text, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    }
    const int width = std::max(std::min(sizeDefault.cx, textWidth), m_nMinWidth + 4);
    return CSize(width, sizeDefault.cy + textHeight + 10);
  }
  CRect text(0, 0, 1, 0);
  if (label) pDC->DrawText(m_strText, text, DT_CALCRECT | DT_WORDBREAK);
  const int height = std::max(std::min(sizeDefault.cy, text.Height()), m_nMinHeight);
  return CSize(sizeDefault.cx + (label ? text.Width() : 0) + 10, height);
}

void CPlxOutlookButton::OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz,
                               BOOL bCustomizeMode, BOOL bHighlight, BOOL, BOOL) {
  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  const BOOL disabled = (m_nStyle & TBBS_DISABLED) != 0;
  const BOOL pressed = (m_nStyle & TBBS_PRESSED) != 0;
  const BOOL checked = (m_nStyle & TBBS_CHECKED) != 0;
  CSize image = m_pWndParentBar != nullptr ? m_pWndParentBar->GetImageSize() : CSize(16, 15);
  if (pImages != nullptr && pImages->GetCount() > 0) image = pImages->GetImageSize();
  CRect imageRect, textRect = rect;
  textRect.top += 5;
  if (bHorz) {
    imageRect = CRect(CPoint(rect.left + 5, rect.CenterPoint().y - image.cy / 2), image);
    textRect.left = imageRect.right + 10;
  } else {
    imageRect = CRect(CPoint(rect.CenterPoint().x - image.cx / 2, rect.top + 5), image);
    textRect.top = imageRect.bottom + 2;
  }
  if (pressed && bHighlight && !bCustomizeMode) imageRect.OffsetRect(1, 1);

  CRect frame = imageRect;
  frame.InflateRect(2, 2);
  const PlxButtonState state = (checked || (pressed && bHighlight)) ? PlxButtonPressed
                               : bHighlight                         ? PlxButtonHighlighted
                                                                    : PlxButtonNormal;
  manager->OnFillButtonInterior(pDC, this, frame, state);
  const BOOL hasImage = m_bImage && pImages != nullptr && GetImage() >= 0 && GetImage() < pImages->GetCount();
  if (!hasImage) pDC->Draw3dRect(imageRect, g_plxGlobalData.clrBtnHilite, g_plxGlobalData.clrBtnDkShadow);
  if (hasImage) {
    // The bar has prepared the images for drawing.
    pImages->Draw(pDC, imageRect.left, imageRect.top, GetImage(), FALSE, disabled);
  }
  if (!bCustomizeMode && (bHighlight || pressed || checked))
    manager->OnDrawButtonBorder(pDC, this, frame, state);

  if (m_bText && !m_strText.IsEmpty()) {
    COLORREF color = manager->GetToolbarButtonTextColor(this, disabled ? PlxButtonNormal : state);
    if (disabled)
      color = g_plxGlobalData.clrGrayedText;
    else if (m_pWndParentBar != nullptr && m_pWndParentBar->m_clrText != (COLORREF)-1)
      color = m_pWndParentBar->m_clrText;
    pDC->SetTextColor(color);
    pDC->SetBkMode(TRANSPARENT);
    // Labels read across even on a vertical bar (whose own font is turned).
    CFont* oldFont = pDC->SelectObject(&g_plxGlobalData.fontRegular);
    if (bHorz) {
      CRect measure = textRect;
      const int height = pDC->DrawText(m_strText, measure, DT_CALCRECT | DT_WORDBREAK);
      textRect.top = rect.CenterPoint().y - height / 2;
      pDC->DrawText(m_strText, textRect, DT_WORDBREAK);
    } else {
      pDC->DrawText(m_strText, textRect, DT_CENTER | DT_WORDBREAK);
    }
    pDC->SelectObject(oldFont);
  }
}

// ---------------------------------------------------------------------------------------------
// The bar

BEGIN_MESSAGE_MAP(CPlxOutlookBar, CPlxToolBar)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_TIMER()
ON_WM_SETCURSOR()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_CANCELMODE()
ON_WM_SYSCOLORCHANGE()
ON_COMMAND_RANGE(0xF200, 0xF201, OnScrollCommand)
ON_UPDATE_COMMAND_UI_RANGE(0xF200, 0xF20A, OnUpdateScrollCommand)
END_MESSAGE_MAP()

CPlxOutlookBar::CPlxOutlookBar() {
  m_clrBack = ::GetSysColor(COLOR_BTNSHADOW);
}

CPlxOutlookBar::~CPlxOutlookBar() {
  for (CPlxOutlookBarPage* page : m_lstPages) delete page;
}

DWORD CPlxOutlookBar::AddPage(LPCTSTR lpszLabel, HWND hwndPage) {
  DWORD id = 1;
  for (CPlxOutlookBarPage* page : m_lstPages) id = std::max(id, page->m_dwId + 1);
  m_lstPages.push_back(new CPlxOutlookBarPage(id, lpszLabel, hwndPage));
  if (hwndPage != nullptr) ::ShowWindow(hwndPage, SW_HIDE);
  if (m_nActivePageId == (DWORD)-1) SetActivePage(id);
  Relayout();
  return id;
}

BOOL CPlxOutlookBar::RemovePage(DWORD dwId) {
  auto it = std::find_if(m_lstPages.begin(), m_lstPages.end(), [&](auto* p) { return p->m_dwId == dwId; });
  if (it == m_lstPages.end()) return FALSE;
  for (int i = GetCount() - 1; i >= 0; --i) {
    auto* button = dynamic_cast<CPlxOutlookButton*>(GetButton(i));
    if (button != nullptr && button->m_dwPageId == dwId) RemoveButton(i);
  }
  delete *it;
  m_lstPages.erase(it);
  if (m_nActivePageId == dwId) {
    m_nActivePageId = (DWORD)-1;
    SetActivePage(m_lstPages.empty() ? (DWORD)-1 : m_lstPages.front()->m_dwId);
  }
  Relayout();
  return TRUE;
}

int CPlxOutlookBar::AddShortcut(UINT uiCmd, int iImage, LPCTSTR lpszLabel, DWORD dwPageId) {
  auto* button = new CPlxOutlookButton(uiCmd, iImage, lpszLabel, dwPageId);
  const int index = InsertButtonObject(button);
  if (index < 0) {
    delete button;
    return -1;
  }
  button->OnChangeParentWnd(this);
  Relayout();
  return index;
}

CPlxOutlookBarPage* CPlxOutlookBar::FindPage(DWORD dwId) const {
  for (CPlxOutlookBarPage* page : m_lstPages)
    if (page->m_dwId == dwId) return page;
  return nullptr;
}

CPlxOutlookBarPage* CPlxOutlookBar::GetPageFromPoint(CPoint point) const {
  for (CPlxOutlookBarPage* page : m_lstPages)
    if (page->m_rectCaption.PtInRect(point)) return page;
  return nullptr;
}

namespace {

BOOL OnPage(CPlxToolbarButton* button, const CPlxOutlookBar& bar) {
  if (bar.m_lstPages.empty()) return TRUE;
  const auto* shortcut = dynamic_cast<CPlxOutlookButton*>(button);
  return shortcut != nullptr && shortcut->m_dwPageId == bar.m_nActivePageId;
}

}  // namespace

CPlxToolbarButton* CPlxOutlookBar::GetPageButton(int nIndex) const {
  if (nIndex < 0) return nullptr;
  for (int i = 0; i < GetCount(); ++i) {
    CPlxToolbarButton* button = GetButton(i);
    if (OnPage(button, *this) && nIndex-- == 0) return button;
  }
  return nullptr;
}

int CPlxOutlookBar::GetPageButtonsNum() const {
  int count = 0;
  for (int i = 0; i < GetCount(); ++i) count += OnPage(GetButton(i), *this) ? 1 : 0;
  return count;
}

BOOL CPlxOutlookBar::IsAlignedToStart() const {
  return (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT)) != 0 ||
         (m_dwStyle & (CBRS_BORDER_BOTTOM | CBRS_BORDER_RIGHT)) != 0;
}

void CPlxOutlookBar::GetButtonsArea(CRect& rect) const {
  GetClientRect(rect);
  if (IsHorizontal())
    rect.left = std::max(rect.left, m_rectCaptions.right);
  else
    rect.top = std::max(rect.top, m_rectCaptions.bottom);
  if (!m_bResizable) return;
  // Away from the splitter strip.
  if (IsHorizontal())
    (IsAlignedToStart() ? rect.bottom : rect.top) += IsAlignedToStart() ? -kSplitter : kSplitter;
  else
    (IsAlignedToStart() ? rect.right : rect.left) += IsAlignedToStart() ? -kSplitter : kSplitter;
}

int CPlxOutlookBar::ButtonExtent(CPlxToolbarButton* pButton) const {
  if (pButton == nullptr || GetSafeHwnd() == nullptr) return 0;
  CClientDC dc(const_cast<CPlxOutlookBar*>(this));
  CFont* old = dc.SelectObject(&g_plxGlobalData.fontRegular);
  const CSize size = pButton->OnCalculateSize(&dc, GetButtonSize(), IsHorizontal());
  dc.SelectObject(old);
  return IsHorizontal() ? size.cx : size.cy;
}

void CPlxOutlookBar::AdjustLocations() {
  if (GetSafeHwnd() == nullptr) return;
  const BOOL horz = IsHorizontal();
  CRect client;
  GetClientRect(client);

  // Page captions stack at the start of the bar; the buttons follow them.
  m_rectCaptions = client;
  if (horz)
    m_rectCaptions.right = m_rectCaptions.left;
  else
    m_rectCaptions.bottom = m_rectCaptions.top;
  int at = horz ? client.left : client.top;
  for (CPlxOutlookBarPage* page : m_lstPages) {
    page->m_rectCaption = horz ? CRect(at, client.top, at + m_nCaptionHeight, client.bottom)
                               : CRect(client.left, at, client.right, at + m_nCaptionHeight);
    at += m_nCaptionHeight;
  }
  if (horz)
    m_rectCaptions.right = at;
  else
    m_rectCaptions.bottom = at;

  m_rectSplitter.SetRectEmpty();
  if (m_bResizable) {
    m_rectSplitter = client;
    if (horz) {
      if (IsAlignedToStart())
        m_rectSplitter.top = client.bottom - kSplitter;
      else
        m_rectSplitter.bottom = client.top + kSplitter;
    } else if (IsAlignedToStart()) {
      m_rectSplitter.left = client.right - kSplitter;
    } else {
      m_rectSplitter.right = client.left + kSplitter;
    }
  }

  GetButtonsArea(m_rectButtonsArea);
  int pos = (horz ? m_rectButtonsArea.left : m_rectButtonsArea.top) - m_iScrollOffset;
  int last = pos;
  int index = 0;
  // A page that shows a window shows no buttons.
  const CPlxOutlookBarPage* active = FindPage(m_nActivePageId);
  const BOOL pageWindow = active != nullptr && active->m_hwnd != nullptr;
  for (int i = 0; i < GetCount(); ++i) {
    CPlxToolbarButton* button = GetButton(i);
    if (!OnPage(button, *this) || pageWindow) {
      button->m_bIsHidden = TRUE;
      button->m_rect.SetRectEmpty();
      continue;
    }
    const int extent = ButtonExtent(button);
    button->m_rect = horz ? CRect(pos, m_rectButtonsArea.top, pos + extent, m_rectButtonsArea.bottom)
                          : CRect(m_rectButtonsArea.left, pos, m_rectButtonsArea.right, pos + extent);
    // Buttons scrolled past the start are not shown (they would cover the captions).
    button->m_bIsHidden = index < m_iFirstVisibleButton;
    if (button->m_bIsHidden) button->m_rect.SetRectEmpty();
    pos += extent;
    last = pos;
    ++index;
  }
  m_bCanScrollDown = last > (horz ? m_rectButtonsArea.right : m_rectButtonsArea.bottom);

  if (CPlxOutlookBarPage* page = FindPage(m_nActivePageId); page != nullptr && page->m_hwnd != nullptr) {
    CRect area = m_rectButtonsArea;
    MapWindowPoints(CWnd::FromHandle(::GetParent(page->m_hwnd)), area);
    ::SetWindowPos(page->m_hwnd, nullptr, area.left, area.top, area.Width(), area.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void CPlxOutlookBar::Relayout() {
  if (GetSafeHwnd() == nullptr) return;
  AdjustLocations();
  Invalidate();
}

CSize CPlxOutlookBar::CalcFixedLayout(BOOL, BOOL bHorz) {
  CRect client;
  if (GetSafeHwnd() != nullptr) GetClientRect(client);
  return bHorz ? CSize(32767, m_nBarSize) : CSize(m_nBarSize, 32767);
}

void CPlxOutlookBar::OnEraseWorkArea(CDC* pDC, CRect rect) {
  CBrush brush(m_clrBack == (COLORREF)-1 ? ::GetSysColor(COLOR_BTNSHADOW) : m_clrBack);
  pDC->FillRect(rect, &brush);
}

void CPlxOutlookBar::DoPaint(CDC* pDC) {
  CPlxToolBar::DoPaint(pDC);
}

void CPlxOutlookBar::OnFillBackground(CDC* pDC) {
  CRect client;
  GetClientRect(client);
  OnEraseWorkArea(pDC, client);
  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  CFont* old = pDC->SelectObject(&g_plxGlobalData.fontRegular);
  pDC->SetBkMode(TRANSPARENT);
  for (CPlxOutlookBarPage* page : m_lstPages) {
    CRect rect = page->m_rectCaption;
    CBrush face(g_plxGlobalData.clrBtnFace);
    pDC->FillRect(rect, &face);
    pDC->Draw3dRect(rect, g_plxGlobalData.clrBtnHilite, g_plxGlobalData.clrBtnDkShadow);
    pDC->SetTextColor(g_plxGlobalData.clrBtnText);
    CString label = page->m_strLabel;
    if (page->m_dwId == m_nActivePageId) {
      CFont* bold = pDC->SelectObject(&g_plxGlobalData.fontBold);
      pDC->DrawText(label, rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
      pDC->SelectObject(bold);
    } else {
      pDC->DrawText(label, rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    }
  }
  if (!m_rectSplitter.IsRectEmpty()) {
    CBrush face(g_plxGlobalData.clrBtnFace);
    pDC->FillRect(m_rectSplitter, &face);
  }
  (void)manager;
  pDC->SelectObject(old);
}

void CPlxOutlookBar::SetActivePage(DWORD dwId, BOOL bAnimate) {
  if (dwId == m_nActivePageId) return;
  CPlxOutlookBarPage* page = FindPage(dwId);
  if (dwId != (DWORD)-1 && page == nullptr) return;
  if (CPlxOutlookBarPage* old = FindPage(m_nActivePageId); old != nullptr && old->m_hwnd != nullptr)
    ::ShowWindow(old->m_hwnd, SW_HIDE);
  m_nActivePageId = dwId;
  OnActivatePage();
  m_iScrollOffset = 0;
  m_iFirstVisibleButton = 0;
  m_bCanScrollDown = FALSE;
  AdjustLocations();
  if (page != nullptr && page->m_hwnd != nullptr) ::ShowWindow(page->m_hwnd, SW_SHOWNOACTIVATE);
  // The captions of this layout do not move on a page change, so there is nothing to slide.
  (void)bAnimate;
  if (GetSafeHwnd() != nullptr) {
    Invalidate();
    UpdateWindow();
  }
}

void CPlxOutlookBar::ScrollUp() {
  if (m_iScrollOffset > 0 && m_iFirstVisibleButton > 0) {
    CPlxToolbarButton* button = GetPageButton(m_iFirstVisibleButton - 1);
    if (button == nullptr) {
      KillTimer(kScrollUpTimer);
      return;
    }
    --m_iFirstVisibleButton;
    m_iScrollOffset -= ButtonExtent(button);
    if (m_iFirstVisibleButton == 0 || m_iScrollOffset < 0) m_iScrollOffset = 0;
  } else {
    m_iScrollOffset = 0;
    m_iFirstVisibleButton = 0;
    if (GetSafeHwnd() != nullptr) KillTimer(kScrollUpTimer);
  }
  Relayout();
}

void CPlxOutlookBar::ScrollDown() {
  CPlxToolbarButton* button = GetPageButton(m_iFirstVisibleButton);
  if (!m_bCanScrollDown || m_iFirstVisibleButton + 1 >= GetPageButtonsNum() || button == nullptr) {
    if (GetSafeHwnd() != nullptr) KillTimer(kScrollDownTimer);
    return;
  }
  ++m_iFirstVisibleButton;
  m_iScrollOffset += ButtonExtent(button);
  Relayout();
}

int CPlxOutlookBar::GetPageStep() const {
  CRect area = m_rectButtonsArea;
  CPlxToolbarButton* first = GetPageButton(0);
  const int size = (first != nullptr ? ButtonExtent(first) : 0) + m_nButtonSpacing;
  int n = 0;
  if (size > 0) {
    if (IsHorizontal()) {
      n = area.Width() / size;
    } else {
      const int captions = m_nCaptionHeight * (GetCount() - GetPageButtonsNum() + 1);
      n = (area.Height() - captions) / size;
    }
  }
  // A small area would give no step (the scrolling would stand still) or a backward one.
  return std::max(n, 1);
}

void CPlxOutlookBar::PageDown() {
  const int n = GetPageStep();
  if (!m_bCanScrollDown || m_iFirstVisibleButton + n >= GetPageButtonsNum()) {
    if (GetSafeHwnd() != nullptr) KillTimer(kScrollDownTimer);
    return;
  }
  for (int i = 0; i < n; ++i) m_iScrollOffset += ButtonExtent(GetPageButton(m_iFirstVisibleButton + i));
  m_iFirstVisibleButton += n;
  Relayout();
}

void CPlxOutlookBar::PageUp() {
  if (m_iScrollOffset <= 0 || m_iFirstVisibleButton <= 0) {
    m_iScrollOffset = 0;
    m_iFirstVisibleButton = 0;
    if (GetSafeHwnd() != nullptr) KillTimer(kScrollUpTimer);
    Relayout();
    return;
  }
  if (GetPageButton(m_iFirstVisibleButton) == nullptr) {
    KillTimer(kScrollUpTimer);
    return;
  }
  const int n = std::min(GetPageStep(), m_iFirstVisibleButton);
  for (int i = 1; i <= n; ++i) m_iScrollOffset -= ButtonExtent(GetPageButton(m_iFirstVisibleButton - i));
  m_iFirstVisibleButton -= n;
  if (m_iFirstVisibleButton == 0 || m_iScrollOffset < 0) m_iScrollOffset = m_iFirstVisibleButton = 0;
  Relayout();
}

void CPlxOutlookBar::EnsureButtonVisible(int nIndex) {
  CPlxToolbarButton* button = GetPageButton(nIndex);
  if (button == nullptr) return;
  AdjustLocations();
  if (ButtonExtent(button) >= m_rectButtonsArea.Height()) return;
  while (nIndex < m_iFirstVisibleButton) {
    const int before = m_iScrollOffset;
    ScrollUp();
    if (m_iScrollOffset == before) break;
  }
  while (button->m_rect.bottom > m_rectButtonsArea.bottom) {
    const int before = m_iScrollOffset;
    ScrollDown();
    if (m_iScrollOffset == before) break;
  }
}

int CPlxOutlookBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CPlxToolBar::OnCreate(lpCreateStruct) == -1) return -1;
  // The bar draws its own captions and splitter: no borders, no gripper.
  SetBarStyle(GetBarStyle() & ~(CBRS_BORDER_ANY | CBRS_GRIPPER));
  SetBorders(0, 0, 0, 0);
  SetWindowText("Shortcuts");
  return 0;
}

void CPlxOutlookBar::OnSize(UINT nType, int cx, int cy) {
  CPlxToolBar::OnSize(nType, cx, cy);
  AdjustLocations();
  // A bar grown past its last button gives back the scrolled-away ones one at a time.
  for (;;) {
    CPlxToolbarButton* last = GetPageButton(GetPageButtonsNum() - 1);
    if (m_iScrollOffset <= 0 || last == nullptr || last->m_bIsHidden) break;
    const int lastEnd = IsHorizontal() ? last->m_rect.right : last->m_rect.bottom;
    CPlxToolbarButton* previous = GetPageButton(m_iFirstVisibleButton - 1);
    const int room = (IsHorizontal() ? m_rectButtonsArea.right : m_rectButtonsArea.bottom) - lastEnd;
    if (previous == nullptr || room < ButtonExtent(previous)) break;
    const int before = m_iScrollOffset;
    ScrollUp();
    if (m_iScrollOffset == before) break;
  }
  Invalidate();
}

void CPlxOutlookBar::OnTimer(UINT_PTR nIDEvent) {
  switch (nIDEvent) {
    case kScrollUpTimer:
      m_bPageWiseScroll ? PageUp() : ScrollUp();
      return;
    case kScrollDownTimer:
      m_bPageWiseScroll ? PageDown() : ScrollDown();
      return;
    case kPageChangeTimer: {
      CPoint cursor;
      ::GetCursorPos(&cursor);
      ScreenToClient(&cursor);
      CPlxOutlookBarPage* page = FindPage(m_nPendingPageId);
      if (m_nPendingPageId != 0 && page != nullptr && page->m_rectCaption.PtInRect(cursor))
        SetActivePage(m_nPendingPageId, FALSE);
      m_nPendingPageId = 0;
      KillTimer(kPageChangeTimer);
      return;
    }
    default:
      Default();
  }
}

BOOL CPlxOutlookBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (nHitTest == HTCLIENT) {
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    if (m_bSplitterDragging || m_rectSplitter.PtInRect(point)) {
      ::SetCursor(::LoadCursor(nullptr, IsHorizontal() ? IDC_SIZENS : IDC_SIZEWE));
      return TRUE;
    }
  }
  (void)pWnd;
  (void)message;
  return static_cast<BOOL>(Default());
}

void CPlxOutlookBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_rectSplitter.PtInRect(point)) {
    SetCapture();
    m_bSplitterDragging = TRUE;
    m_nDragPos = IsHorizontal() ? point.y : point.x;
    return;
  }
  if (CPlxOutlookBarPage* page = GetPageFromPoint(point)) {
    SetActivePage(page->m_dwId, m_bAnimation);
    return;
  }
  CPlxToolBar::OnLButtonDown(nFlags, point);
}

// A quick second press on the splitter is still the start of a drag.
void CPlxOutlookBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (m_rectSplitter.PtInRect(point)) {
    OnLButtonDown(nFlags, point);
    return;
  }
  CPlxToolBar::OnLButtonDblClk(nFlags, point);
}

void CPlxOutlookBar::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bSplitterDragging) {
    // Kept inside the parent's client area.
    CWnd* parent = GetParent();
    if (parent != nullptr) {
      CRect bounds;
      parent->GetClientRect(bounds);
      parent->ClientToScreen(bounds);
      ClientToScreen(&point);
      point.x = std::clamp<int>(point.x, bounds.left, bounds.right);
      point.y = std::clamp<int>(point.y, bounds.top, bounds.bottom);
      ScreenToClient(&point);
    }
    m_nDragPos = IsHorizontal() ? point.y : point.x;
    return;
  }
  CPlxToolBar::OnMouseMove(nFlags, point);
}

void CPlxOutlookBar::OnLButtonUp(UINT nFlags, CPoint point) {
  if (!m_bSplitterDragging) {
    CPlxToolBar::OnLButtonUp(nFlags, point);
    return;
  }
  CRect client;
  GetClientRect(client);
  if (IsAlignedToStart())
    m_nBarSize = m_nDragPos + kSplitter;
  else
    m_nBarSize = (IsHorizontal() ? client.bottom : client.right) - m_nDragPos;
  m_nBarSize = std::max(m_nBarSize, kSplitter);
  EndSplitterDrag();
  CRect window;
  GetWindowRect(window);
  if (IsHorizontal())
    SetWindowPos(nullptr, 0, 0, window.Width(), m_nBarSize, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  else
    SetWindowPos(nullptr, 0, 0, m_nBarSize, window.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPlxOutlookBar::EndSplitterDrag() {
  m_bSplitterDragging = FALSE;
  m_rectDragLine.SetRectEmpty();
  if (GetCapture() == this) ReleaseCapture();
}

void CPlxOutlookBar::OnCancelMode() {
  CPlxToolBar::OnCancelMode();
  if (m_bSplitterDragging) EndSplitterDrag();
}

void CPlxOutlookBar::OnSysColorChange() {
  CPlxToolBar::OnSysColorChange();
  m_clrBack = ::GetSysColor(COLOR_BTNSHADOW);
  Invalidate();
}

void CPlxOutlookBar::OnScrollCommand(UINT nID) {
  nID == kScrollUpCmd ? ScrollUp() : ScrollDown();
}

void CPlxOutlookBar::OnUpdateScrollCommand(CCmdUI* pCmdUI) {
  if (pCmdUI->m_nID == kScrollUpCmd)
    pCmdUI->Enable(CanScrollUp());
  else if (pCmdUI->m_nID == kScrollDownCmd)
    pCmdUI->Enable(CanScrollDown());
  else
    pCmdUI->Enable(TRUE);
}
