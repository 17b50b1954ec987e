#include "toolkit/customize/PlxOutlookBar.h"

#include <algorithm>

#include "platform/mfc/CmdUI.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/res/Resources.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxPopupMenuBar.h"
#include "toolkit/core/PlxDrawHelper.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/core/PlxWorkspace.h"

IMPLEMENT_SERIAL(CPlxOutlookBarPage, CObject, 1)
IMPLEMENT_SERIAL(CPlxOutlookButton, CPlxToolbarButton, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CPlxOutlookBar, CPlxToolBar, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_DYNCREATE(CPlxOutlookBarPageButton, CPlxButton)
IMPLEMENT_SERIAL(CPlxOutlookCustomizeButton, CCustomizeButton, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CPlxOutlookBarToolBar, CPlxToolBar, VERSIONABLE_SCHEMA | 1)

// ---------------------------------------------------------------------------------------------
// Page captions and scroll arrows

BEGIN_MESSAGE_MAP(CPlxOutlookBarPageButton, CPlxButton)
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

CPlxOutlookBar* CPlxOutlookBarPageButton::GetParentBar() const {
  return GetSafeHwnd() != nullptr ? dynamic_cast<CPlxOutlookBar*>(GetParent()) : nullptr;
}

void CPlxOutlookBarPageButton::OnFillBackground(CDC* pDC, const CRect& rectClient) {
  COLORREF text = (COLORREF)-1;
  if (CPlxVisualManager::GetInstance()->OnFillOutlookPageButton(this, pDC, rectClient, text)) {
    (m_bHighlighted ? m_clrHover : m_clrRegular) = text;
    return;
  }
  CPlxButton::OnFillBackground(pDC, rectClient);
}

void CPlxOutlookBarPageButton::OnDrawBorder(CDC* pDC, CRect& rectClient, UINT uiState) {
  if (CPlxVisualManager::GetInstance()->OnDrawOutlookPageButtonBorder(this, pDC, rectClient, uiState)) return;
  CPlxButton::OnDrawBorder(pDC, rectClient, uiState);
}

namespace {

BOOL IsAcrossBar(const CPlxOutlookBarPageButton& button) {
  const CPlxOutlookBar* bar = button.GetParentBar();
  return bar != nullptr && bar->IsHorizontal();
}

}  // namespace

CFont* CPlxOutlookBarPageButton::SelectCaptionFont(CDC* pDC) {
  if (!IsAcrossBar(*this)) return CPlxButton::SelectCaptionFont(pDC);
  return pDC->SelectObject(&g_plxGlobalData.fontVert);
}

void CPlxOutlookBarPageButton::DrawCaption(CDC* pDC, const CRect& rect, const CString& strText,
                                           UINT uiDTFlags, UINT uiState) {
  if (!IsAcrossBar(*this)) {
    CPlxButton::DrawCaption(pDC, rect, strText, uiDTFlags, uiState);
    return;
  }
  // The vertical font writes downwards from the right of its starting point.
  const CSize extent = pDC->GetTextExtent(strText);
  const int h = g_plxGlobalData.nTextHeightVert > 0 ? g_plxGlobalData.nTextHeightVert : extent.cy;
  const int centre = rect.CenterPoint().x;
  CRect text(centre - h / 2 + h, rect.top + std::max<int>(0, (rect.Height() - extent.cx) / 2), centre - h / 2,
             rect.bottom);
  pDC->DrawText(strText, text, DT_SINGLELINE | DT_NOCLIP);
}

// A double click renames the page where the bar allows it; otherwise it is a second click.
void CPlxOutlookBarPageButton::OnLButtonDblClk(UINT nFlags, CPoint point) {
  CPlxOutlookBar* bar = GetParentBar();
  if (bar != nullptr && bar->m_bInPlaceEditEnabled) {
    for (CPlxOutlookBarPage* page : bar->m_lstPages) {
      if (&page->m_btnPage != this) continue;
      bar->EditPageLabel(page->m_dwId);
      return;
    }
  }
  CPlxButton::OnLButtonDblClk(nFlags, point);
}

// The bar's context menu, at the caption the user pointed at.
void CPlxOutlookBarPageButton::OnRButtonDown(UINT, CPoint point) {
  CWnd* parent = GetParent();
  if (parent == nullptr) return;
  ClientToScreen(&point);
  parent->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(parent->GetSafeHwnd()),
                      MAKELPARAM(point.x, point.y));
}

BEGIN_MESSAGE_MAP(CPlxOutlookScrollButton, CPlxButton)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

void CPlxOutlookScrollButton::OnLButtonDown(UINT nFlags, CPoint point) {
  CPlxButton::OnLButtonDown(nFlags, point);
  CWnd* parent = GetParent();
  if (parent != nullptr)
    parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_PUSHED),
                        reinterpret_cast<LPARAM>(GetSafeHwnd()));
}

// ---------------------------------------------------------------------------------------------
// Pages

CPlxOutlookBarPage::~CPlxOutlookBarPage() {
  if (m_btnPage.GetSafeHwnd() != nullptr) m_btnPage.DestroyWindow();
  // The page window belongs to the caller: it is only hidden.
  if (m_hwnd != nullptr && ::IsWindow(m_hwnd)) ::ShowWindow(m_hwnd, SW_HIDE);
}

void CPlxOutlookBarPage::SetCaptionRect(const CRect& rect) {
  if (rect == m_rectCaption) return;
  m_rectCaption = rect;
  if (m_btnPage.GetSafeHwnd() != nullptr)
    m_btnPage.SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE);
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
  // Managers that grow large buttons: the image keeps its place inside, the label moves on.
  if (const CSize extra = manager->GetButtonExtraBorder(); extra != CSize(0, 0)) {
    imageRect.OffsetRect(extra.cx / 2 + 1, extra.cy / 2 + 1);
    textRect.OffsetRect(bHorz ? extra.cx : 0, bHorz ? 0 : extra.cy);
  }

  CRect frame = imageRect;
  frame.InflateRect(2, 2);
  const PlxButtonState state = (checked || (pressed && bHighlight)) ? PlxButtonPressed
                               : bHighlight                         ? PlxButtonHighlighted
                                                                    : PlxButtonNormal;
  const BOOL backImage = m_pWndParentBar != nullptr && m_pWndParentBar->HasBackImage();
  if (!backImage) {
    manager->OnFillButtonInterior(pDC, this, frame, state);
  } else if (bHighlight && !bCustomizeMode) {
    // Over a picture only a light frame shows the hot button.
    CPlxDrawHelper helper(pDC);
    CRect top(frame.left, frame.top, frame.right, frame.top + 1),
        bottom(frame.left, frame.bottom - 1, frame.right, frame.bottom);
    CRect left(frame.left, frame.top, frame.left + 1, frame.bottom),
        right(frame.right - 1, frame.top, frame.right, frame.bottom);
    for (const CRect& edge : {top, bottom, left, right}) helper.HighlightRect(edge);
  }
  const BOOL hasImage = m_bImage && pImages != nullptr && GetImage() >= 0 && GetImage() < pImages->GetCount();
  if (!hasImage && !backImage)
    pDC->Draw3dRect(imageRect, g_plxGlobalData.clrBtnHilite, g_plxGlobalData.clrBtnDkShadow);
  if (hasImage) {
    // The bar has prepared the images for drawing.
    pImages->Draw(pDC, imageRect.left, imageRect.top, GetImage(), FALSE, disabled);
  }
  if (!bCustomizeMode && (bHighlight || pressed || checked))
    manager->OnDrawButtonBorder(pDC, this, frame, state);

  if (m_bText && !m_strText.IsEmpty()) {
    COLORREF color = manager->GetToolbarButtonTextColor(this, disabled ? PlxButtonNormal : state);
    if (disabled && backImage)
      color = g_plxGlobalData.clrGrayedText;
    else if (!disabled && m_pWndParentBar != nullptr && m_pWndParentBar->m_clrText != (COLORREF)-1)
      color = m_pWndParentBar->m_clrText;
    else if (!disabled && backImage)
      color = g_plxGlobalData.clrWindowText;
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
// The chevron and the small toolbar

void CPlxOutlookCustomizeButton::OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz,
                                        BOOL bCustomizeMode, BOOL bHighlight, BOOL bDrawBorder,
                                        BOOL bGrayDisabledButtons) {
  // The toolbar button's face and frame, then the chevron above the down arrow.
  CPlxToolbarButton::OnDraw(pDC, rect, pImages, bHorz, bCustomizeMode, bHighlight, bDrawBorder,
                            bGrayDisabledButtons);
  CPlxMenuGlyphs::Initialize();
  const CSize glyph = CPlxMenuGlyphs::GetSize();
  const int x = rect.Width() > glyph.cx ? rect.left + (rect.Width() - glyph.cx) / 2 : rect.left;
  const int y = rect.Height() > 2 * glyph.cy ? rect.top + (rect.Height() - 2 * glyph.cy) / 2 : rect.top;
  CPlxMenuGlyphs::DrawAtPoint(pDC, CPlxMenuGlyphs::IdCustomizeArowDown, CPoint(x, y), glyph);
  CPlxMenuGlyphs::DrawAtPoint(pDC, CPlxMenuGlyphs::IdArowDown, CPoint(x, y + glyph.cy), glyph);
}

CPlxPopupMenu* CPlxOutlookCustomizeButton::CreatePopupMenu() {
  // The chevron's popup has no customize item here: the bar's chevron carries no command.
  const UINT customize = m_uiCustomizeCmdId;
  m_uiCustomizeCmdId = 0;
  CPlxPopupMenu* popup = CCustomizeButton::CreatePopupMenu();
  m_uiCustomizeCmdId = customize;
  if (popup == nullptr) return nullptr;
  if (popup->GetMenuBar()->GetCount() > 0) popup->InsertSeparator();
  CString up, down;
  if (!up.LoadString(kScrollUpText)) up = "Scroll Up";
  if (!down.LoadString(kScrollDownText)) down = "Scroll Down";
  popup->InsertItem(CPlxToolbarMenuButton(CPlxOutlookBar::kScrollUpCmd, nullptr, -1, up));
  popup->InsertItem(CPlxToolbarMenuButton(CPlxOutlookBar::kScrollDownCmd, nullptr, -1, down));
  // The scroll commands go to the bar itself.
  if (m_pWndParentToolbar != nullptr) popup->m_pMessageWnd = m_pWndParentToolbar;
  return popup;
}

BEGIN_MESSAGE_MAP(CPlxOutlookBarToolBar, CPlxToolBar)
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

BOOL CPlxOutlookBarToolBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  CPoint point;
  ::GetCursorPos(&point);
  ScreenToClient(&point);
  if (HitTest(point) >= 0) {
    if (g_plxGlobalData.hcurHand == nullptr)
      g_plxGlobalData.hcurHand = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(kHandCursor));
    if (g_plxGlobalData.hcurHand != nullptr) {
      ::SetCursor(g_plxGlobalData.hcurHand);
      return TRUE;
    }
  }
  return CPlxToolBar::OnSetCursor(pWnd, nHitTest, message);
}

// ---------------------------------------------------------------------------------------------
// The bar: pages, shortcuts and layout

CPlxOutlookBar::CPlxOutlookBar() {
  m_clrBack = ::GetSysColor(COLOR_BTNSHADOW);
  // The captions, arrows and close button are the bar's own children: a frame's idle update
  // finds no handler for their ids and would disable them.
  m_bDisableControlsNoHandler = FALSE;
}

CPlxOutlookBar::~CPlxOutlookBar() {
  EndPageLabelEdit(FALSE);
  for (CPlxOutlookBarPage* page : m_lstPages) delete page;
}

namespace {

// A caption button for a page of a bar that has a window.
void CreatePageButton(CPlxOutlookBar& bar, CPlxOutlookBarPage& page) {
  if (bar.GetSafeHwnd() == nullptr || page.m_btnPage.GetSafeHwnd() != nullptr) return;
  page.m_btnPage.m_bDrawFocus = FALSE;
  page.m_btnPage.Create(page.m_strLabel, WS_CHILD | BS_PUSHBUTTON, CRect(0, 0, 0, 0), &bar,
                        CPlxOutlookBar::kFirstPageButtonId + page.m_dwId);
  page.m_btnPage.SetFont(&g_plxGlobalData.fontRegular, FALSE);
  page.m_rectCaption.SetRectEmpty();
}

}  // namespace

DWORD CPlxOutlookBar::AddPage(LPCTSTR lpszLabel, HWND hwndPage) {
  DWORD id = 1;
  for (CPlxOutlookBarPage* page : m_lstPages) id = std::max(id, page->m_dwId + 1);
  auto* page = new CPlxOutlookBarPage(id, lpszLabel, hwndPage);
  m_lstPages.push_back(page);
  CreatePageButton(*this, *page);
  if (hwndPage != nullptr) ::ShowWindow(hwndPage, SW_HIDE);
  if (m_nActivePageId == (DWORD)-1) SetActivePage(id);
  Relayout();
  return id;
}

BOOL CPlxOutlookBar::RemovePage(DWORD dwId) {
  auto it = std::find_if(m_lstPages.begin(), m_lstPages.end(), [&](auto* p) { return p->m_dwId == dwId; });
  if (it == m_lstPages.end()) return FALSE;
  if (m_dwEditedPageId == dwId) EndPageLabelEdit(FALSE);
  if (m_nPendingPageId == dwId) m_nPendingPageId = 0;
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

BOOL CPlxOutlookBar::SetPageLabel(DWORD dwId, LPCTSTR lpszLabel) {
  CPlxOutlookBarPage* page = FindPage(dwId);
  if (page == nullptr) return FALSE;
  page->m_strLabel = lpszLabel;
  if (page->m_btnPage.GetSafeHwnd() != nullptr) {
    page->m_btnPage.SetWindowText(lpszLabel);
    page->m_btnPage.Invalidate();
  }
  return TRUE;
}

int CPlxOutlookBar::AddShortcut(UINT uiCmd, int iImage, LPCTSTR lpszLabel, DWORD dwPageId) {
  auto* button = new CPlxOutlookButton(uiCmd, iImage, lpszLabel, dwPageId);
  const int index = InsertButtonObject(button);  // before the chevron, which stays last
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
  if (button == nullptr || button == bar.GetChevron()) return FALSE;
  if (bar.m_lstPages.empty()) return TRUE;
  const auto* shortcut = dynamic_cast<CPlxOutlookButton*>(button);
  return shortcut != nullptr && shortcut->m_dwPageId == bar.m_nActivePageId;
}

// Rectangles along the bar's length: across the whole width (vertical bars) or height.
struct Axis {
  BOOL horz;
  int Lo(const CRect& r) const { return horz ? r.left : r.top; }
  int Hi(const CRect& r) const { return horz ? r.right : r.bottom; }
  CRect Span(const CRect& across, int lo, int hi) const {
    return horz ? CRect(lo, across.top, hi, across.bottom) : CRect(across.left, lo, across.right, hi);
  }
};

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
  rect = m_rectButtonsArea;
}

int CPlxOutlookBar::ButtonExtent(CPlxToolbarButton* pButton) const {
  if (pButton == nullptr || GetSafeHwnd() == nullptr) return 0;
  CClientDC dc(const_cast<CPlxOutlookBar*>(this));
  CFont* old = dc.SelectObject(&g_plxGlobalData.fontRegular);
  const CSize size = pButton->OnCalculateSize(&dc, GetButtonSize(), IsHorizontal());
  dc.SelectObject(old);
  return IsHorizontal() ? size.cx : size.cy;
}

void CPlxOutlookBar::PlaceCaptions(const CRect& client, CRect& area) {
  const Axis axis{IsHorizontal()};
  const int h = m_nCaptionHeight;
  const int count = GetPageCount();
  m_rectCaptionSplitter.SetRectEmpty();
  m_rectCaptions = axis.Span(area, axis.Lo(area), axis.Lo(area));

  if (m_nVisibleCaptions >= 0 && !axis.horz) {
    // A block of the first captions at the end, under its splitter; the others are not shown.
    const int shown = std::min(m_nVisibleCaptions, count);
    int at = axis.Hi(area) - shown * h;
    m_rectCaptionSplitter = axis.Span(area, at - 2 * kSplitter, at);
    for (int i = 0; i < count; ++i) {
      CPlxOutlookBarPage* page = m_lstPages[i];
      page->SetCaptionRect(i < shown ? axis.Span(area, at, at + h) : CRect());
      if (i < shown) at += h;
    }
    area = axis.Span(area, axis.Lo(area), axis.Lo(m_rectCaptionSplitter));
    (void)client;
    return;
  }

  // The captions up to the active page's at the start, the others at the end.
  int active = count - 1;
  for (int i = 0; i < count; ++i)
    if (m_lstPages[i]->m_dwId == m_nActivePageId) active = i;
  int lo = axis.Lo(area);
  int hi = axis.Hi(area) - (count - 1 - active) * h;
  const int endBlock = hi;
  for (int i = 0; i < count; ++i) {
    CPlxOutlookBarPage* page = m_lstPages[i];
    if (i <= active) {
      page->SetCaptionRect(axis.Span(area, lo, lo + h));
      lo += h;
    } else {
      page->SetCaptionRect(axis.Span(area, hi, hi + h));
      hi += h;
    }
  }
  m_rectCaptions = axis.Span(area, axis.Lo(area), lo);
  area = axis.Span(area, lo, std::max(lo, endBlock));
}

void CPlxOutlookBar::AdjustLocations() {
  if (GetSafeHwnd() == nullptr) return;
  const Axis axis{IsHorizontal()};
  CRect client;
  GetClientRect(client);

  // The splitter strip on the inner edge; the rest is the work area.
  CRect work = client;
  m_rectSplitter.SetRectEmpty();
  if (m_bResizable) {
    m_rectSplitter = client;
    if (axis.horz) {
      if (IsAlignedToStart()) {
        m_rectSplitter.top = client.bottom - kSplitter;
        work.bottom = m_rectSplitter.top;
      } else {
        m_rectSplitter.bottom = client.top + kSplitter;
        work.top = m_rectSplitter.bottom;
      }
    } else if (IsAlignedToStart()) {
      m_rectSplitter.left = client.right - kSplitter;
      work.right = m_rectSplitter.left;
    } else {
      m_rectSplitter.right = client.left + kSplitter;
      work.left = m_rectSplitter.right;
    }
  }

  // The bar's own caption with its close button and a derived bar's buttons.
  m_rectBarCaption.SetRectEmpty();
  if (m_bHasCaption) {
    const CSize glyph = PlxMenuGlyphSize() + CSize(4, 4);
    const int height = std::max<int>(g_plxGlobalData.nTextHeightHorz + 4, glyph.cy + 4);
    m_rectBarCaption = CRect(work.left, work.top, work.right, work.top + height);
    work.top = m_rectBarCaption.bottom;
    CRect buttons = m_rectBarCaption;
    buttons.DeflateRect(2, 2);
    if (m_btnClose.GetSafeHwnd() != nullptr) {
      const CRect close(buttons.right - glyph.cx, buttons.CenterPoint().y - glyph.cy / 2, buttons.right,
                        buttons.CenterPoint().y - glyph.cy / 2 + glyph.cy);
      m_btnClose.SetWindowPos(nullptr, close.left, close.top, close.Width(), close.Height(),
                              SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
      buttons.right = close.left - 2;
    }
    AdjustCaptionButtons(buttons);
  } else if (m_btnClose.GetSafeHwnd() != nullptr && m_btnClose.IsWindowVisible()) {
    m_btnClose.ShowWindow(SW_HIDE);
  }

  // The small toolbar across the top, while it has buttons.
  if (m_wndToolBar.GetSafeHwnd() != nullptr) {
    if (m_wndToolBar.GetCount() > 0) {
      const int height = m_wndToolBar.CalcFixedLayout(FALSE, TRUE).cy;
      m_wndToolBar.SetWindowPos(nullptr, work.left, work.top, work.Width(), height,
                                SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
      work.top += height;
    } else if (m_wndToolBar.IsWindowVisible()) {
      m_wndToolBar.ShowWindow(SW_HIDE);
    }
  }

  CRect area = work;
  PlaceCaptions(client, area);
  for (CPlxOutlookBarPage* page : m_lstPages) {
    if (page->m_btnPage.GetSafeHwnd() == nullptr) continue;
    const BOOL show = !page->m_rectCaption.IsRectEmpty();
    if (show != page->m_btnPage.IsWindowVisible())
      page->m_btnPage.ShowWindow(show ? SW_SHOWNOACTIVATE : SW_HIDE);
    const BOOL checked = m_bPageLook && page->m_dwId == m_nActivePageId;
    if (checked != page->m_btnPage.IsChecked()) {
      page->m_btnPage.SetChecked(checked);
      page->m_btnPage.Invalidate();
    }
  }

  // The chevron closes the button area.
  m_rectChevron.SetRectEmpty();
  if (m_pChevron != nullptr) {
    const CSize glyph = PlxMenuGlyphSize();
    const int extent = axis.horz ? glyph.cx + 8 : 2 * glyph.cy + 6;
    const int hi = axis.Hi(area);
    m_rectChevron = axis.Span(area, std::max(axis.Lo(area), hi - extent), hi);
    area = axis.Span(area, axis.Lo(area), axis.Lo(m_rectChevron));
    m_pChevron->m_rect = m_rectChevron;
    m_pChevron->m_bIsHidden = m_rectChevron.IsRectEmpty();
  }
  m_rectButtonsArea = area;

  int pos = axis.Lo(area) - m_iScrollOffset;
  int last = pos;
  int index = 0;
  // A page that shows a window shows no buttons.
  const CPlxOutlookBarPage* active = FindPage(m_nActivePageId);
  const BOOL pageWindow = active != nullptr && active->m_hwnd != nullptr;
  for (int i = 0; i < GetCount(); ++i) {
    CPlxToolbarButton* button = GetButton(i);
    if (button == m_pChevron) continue;
    if (!OnPage(button, *this) || pageWindow) {
      button->m_bIsHidden = TRUE;
      button->m_rect.SetRectEmpty();
      continue;
    }
    const int extent = ButtonExtent(button);
    button->m_rect = axis.Span(area, pos, pos + extent);
    // Buttons scrolled past the start are not shown (they would cover the captions).
    button->m_bIsHidden = index < m_iFirstVisibleButton;
    if (button->m_bIsHidden) button->m_rect.SetRectEmpty();
    pos += extent + (m_bPageWiseScroll ? m_nButtonSpacing : 0);
    last = pos - (m_bPageWiseScroll ? m_nButtonSpacing : 0);
    ++index;
  }
  m_bCanScrollDown = !pageWindow && last > axis.Hi(area);
  UpdateChevron();

  // The arrows in the corners of the button area, while there is somewhere to go.
  const CSize arrow = PlxMenuGlyphSize() + CSize(4, 4);
  const struct {
    CPlxButton* button;
    BOOL show;
    CPoint at;
  } arrows[] = {
      {&m_btnUp, CanScrollUp() && !pageWindow,
       axis.horz ? CPoint(area.left + 2, area.bottom - arrow.cy - 2)
                 : CPoint(area.right - arrow.cx - 2, area.top + 2)},
      {&m_btnDown, CanScrollDown(), CPoint(area.right - arrow.cx - 2, area.bottom - arrow.cy - 2)},
  };
  for (const auto& a : arrows) {
    if (a.button->GetSafeHwnd() == nullptr) continue;
    if (a.show)
      a.button->SetWindowPos(&CWnd::wndTop, a.at.x, a.at.y, arrow.cx, arrow.cy,
                             SWP_NOACTIVATE | SWP_SHOWWINDOW);
    else if (a.button->IsWindowVisible())
      a.button->ShowWindow(SW_HIDE);
  }

  if (CPlxOutlookBarPage* page = FindPage(m_nActivePageId); page != nullptr && page->m_hwnd != nullptr) {
    CRect rect = m_rectButtonsArea;
    MapWindowPoints(CWnd::FromHandle(::GetParent(page->m_hwnd)), rect);
    ::SetWindowPos(page->m_hwnd, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// The chevron lists the buttons of the page that are out of view.
void CPlxOutlookBar::UpdateChevron() {
  if (m_pChevron == nullptr) return;
  m_pChevron->m_lstInvisibleButtons.RemoveAll();
  const Axis axis{IsHorizontal()};
  for (int i = 0; i < GetPageButtonsNum(); ++i) {
    CPlxToolbarButton* button = GetPageButton(i);
    if (button->m_bIsHidden || axis.Hi(button->m_rect) > axis.Hi(m_rectButtonsArea))
      m_pChevron->m_lstInvisibleButtons.AddTail(button);
  }
}

void CPlxOutlookBar::Relayout() {
  if (GetSafeHwnd() == nullptr) return;
  AdjustLocations();
  Invalidate();
}

void CPlxOutlookBar::RepaintButtonsArea() {
  if (GetSafeHwnd() == nullptr) return;
  AdjustLocations();
  InvalidateRect(m_rectButtonsArea, TRUE);
  if (!m_rectChevron.IsRectEmpty()) InvalidateRect(m_rectChevron, TRUE);
  UpdateWindow();
}

CSize CPlxOutlookBar::CalcFixedLayout(BOOL, BOOL bHorz) {
  return bHorz ? CSize(32767, m_nBarSize) : CSize(m_nBarSize, 32767);
}

void CPlxOutlookBar::SetBackImage(UINT uiImageID) {
  if (uiImageID == m_uiBackImageId) return;
  m_bBackImage = FALSE;
  m_uiBackImageId = 0;
  m_imgBack.Clear();
  HBITMAP bitmap = nullptr;
  if (uiImageID != 0)
    bitmap = static_cast<HBITMAP>(::LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(uiImageID),
                                              IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | LR_LOADMAP3DCOLORS));
  if (bitmap != nullptr) {
    BITMAP info{};
    ::GetObject(bitmap, sizeof(info), &info);
    m_imgBack.SetImageSize(CSize(info.bmWidth, info.bmHeight));
    m_imgBack.AddImage(bitmap);
    ::DeleteObject(bitmap);
    m_bBackImage = g_plxGlobalData.nBitsPerPixel > 8 && m_imgBack.GetCount() > 0;
  }
  if (GetSafeHwnd() != nullptr) {
    Invalidate();
    UpdateWindow();
  }
  m_uiBackImageId = uiImageID;
}

void CPlxOutlookBar::EnableOutlookChevron(BOOL bEnable) {
  if (!bEnable) {
    if (m_pChevron != nullptr) {
      // The chevron is always the last button.
      m_pChevron->m_lstInvisibleButtons.RemoveAll();
      m_lstButtons.RemoveTail();
      delete m_pChevron;
      m_pChevron = nullptr;
    }
  } else if (m_pChevron == nullptr) {
    auto* chevron = new CPlxOutlookCustomizeButton;
    m_lstButtons.AddTail(chevron);
    chevron->OnChangeParentWnd(this);
    m_pChevron = chevron;
  }
  Relayout();
}

void CPlxOutlookBar::SetCaptionSplitter(int nVisible, int nMax) {
  m_nMaxVisibleCaptions = nMax;
  m_nVisibleCaptions = nVisible < 0 ? -1 : (nMax >= 0 ? std::min(nVisible, nMax) : nVisible);
  Relayout();
}

// ---------------------------------------------------------------------------------------------
// Painting

void CPlxOutlookBar::OnEraseWorkArea(CDC* pDC, CRect rect) {
  if (m_bBackImage) {
    // The picture tiled from the area's corner.
    const CSize size = m_imgBack.GetImageSize();
    if (size.cx > 0 && size.cy > 0) {
      PlxImageDrawState ds;
      if (m_imgBack.PrepareDrawImage(ds)) {
        const int saved = pDC->SaveDC();
        pDC->IntersectClipRect(rect);
        for (int y = rect.top; y < rect.bottom; y += size.cy)
          for (int x = rect.left; x < rect.right; x += size.cx) m_imgBack.Draw(pDC, x, y, 0);
        pDC->RestoreDC(saved);
        m_imgBack.EndDrawImage(ds);
        return;
      }
    }
  }
  CBrush brush(m_clrBack == (COLORREF)-1 ? ::GetSysColor(COLOR_BTNSHADOW) : m_clrBack);
  pDC->FillRect(rect, &brush);
}

void CPlxOutlookBar::DoPaint(CDC* pDC) {
  CPlxToolBar::DoPaint(pDC);
  // What lies beyond the button area goes over buttons that reach into it.
  CFont* old = pDC->SelectObject(&g_plxGlobalData.fontRegular);
  if (!m_rectCaptionSplitter.IsRectEmpty()) {
    CRect rect = m_rectCaptionSplitter;
    pDC->FillRect(rect, &g_plxGlobalData.brBtnFace);
    pDC->Draw3dRect(rect, g_plxGlobalData.clrBtnHilite, g_plxGlobalData.clrBtnShadow);
    // A grip of dots in the middle.
    const CPoint centre = rect.CenterPoint();
    for (int dx = -8; dx <= 8; dx += 4)
      pDC->FillSolidRect(centre.x + dx, centre.y - 1, 2, 2, g_plxGlobalData.clrBtnShadow);
  }
  if (!m_rectBarCaption.IsRectEmpty()) {
    CRect buttons = m_rectBarCaption;
    buttons.left = buttons.right;
    const COLORREF text =
        CPlxVisualManager::GetInstance()->OnDrawControlBarCaption(pDC, this, TRUE, m_rectBarCaption, buttons);
    CString title;
    GetWindowText(title);
    CRect rect = m_rectBarCaption;
    rect.DeflateRect(4, 0);
    if (m_btnClose.GetSafeHwnd() != nullptr && m_btnClose.IsWindowVisible()) {
      CRect close;
      m_btnClose.GetWindowRect(close);
      ScreenToClient(close);
      rect.right = close.left - 2;
    }
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(text);
    pDC->DrawText(title, rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  }
  pDC->SelectObject(old);
}

int CPlxOutlookBar::HitTest(CPoint point) {
  if (m_pChevron != nullptr && !m_pChevron->m_bIsHidden && m_pChevron->m_rect.PtInRect(point))
    return ButtonToIndex(m_pChevron);
  if (!m_rectButtonsArea.PtInRect(point)) return -1;
  return CPlxToolBar::HitTest(point);
}

BOOL CPlxOutlookBar::DrawButton(CDC* pDC, CPlxToolbarButton* pButton, CPlxButtonImages* pImages,
                                BOOL bHighlighted, BOOL bDrawDisabledImages) {
  if (pButton == m_pChevron)
    return CPlxToolBar::DrawButton(pDC, pButton, pImages, bHighlighted, bDrawDisabledImages);
  const int saved = pDC->SaveDC();
  pDC->IntersectClipRect(m_rectButtonsArea);
  const BOOL drawn = CPlxToolBar::DrawButton(pDC, pButton, pImages, bHighlighted, bDrawDisabledImages);
  pDC->RestoreDC(saved);
  return drawn;
}

void CPlxOutlookBar::OnFillBackground(CDC* pDC) {
  CRect client;
  GetClientRect(client);
  pDC->FillRect(client, &g_plxGlobalData.brBtnFace);
  OnEraseWorkArea(pDC, m_rectButtonsArea);
  if (!m_rectChevron.IsRectEmpty()) OnEraseWorkArea(pDC, m_rectChevron);
  if (!m_rectSplitter.IsRectEmpty()) pDC->FillRect(m_rectSplitter, &g_plxGlobalData.brBtnFace);
}
