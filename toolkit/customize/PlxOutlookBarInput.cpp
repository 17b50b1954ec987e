// CPlxOutlookBar: creation, page changes with their slide, scrolling, the two splitters, the
// arrows' timers, in-place renaming of pages and the bar's own caption.
#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/kernel/Thread.h"
#include "platform/mfc/CmdUI.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/res/Resources.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/customize/PlxOutlookBar.h"

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
ON_WM_CAPTURECHANGED()
ON_WM_CONTEXTMENU()
ON_WM_STYLECHANGING()
ON_WM_SYSCOLORCHANGE()
ON_COMMAND_RANGE(0xF200, 0xF201, OnScrollCommand)
ON_UPDATE_COMMAND_UI_RANGE(0xF200, 0xF20A, OnUpdateScrollCommand)
END_MESSAGE_MAP()

namespace {

// Asks the bar to end the edit of the editor whose serial is in lParam (keep the text when wParam is set).
// Posted: the editor is deleted by the bar, never inside its own messages.
const UINT kEndLabelEditMsg = ::RegisterWindowMessage("PlxOutlookEndLabelEdit");

// The in-place editor of a page label: Enter keeps the text, Escape drops it, and leaving it
// keeps it.
class CPageLabelEdit : public CEdit {
 public:
  CPageLabelEdit(CPlxOutlookBar* pBar, UINT nSerial) : m_pBar(pBar), m_nSerial(nSerial) {}
  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->hwnd == GetSafeHwnd() && pMsg->message == WM_KEYDOWN &&
        (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE)) {
      End(pMsg->wParam == VK_RETURN);
      return TRUE;
    }
    return CEdit::PreTranslateMessage(pMsg);
  }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_GETDLGCODE) return DLGC_WANTALLKEYS;
    if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
      End(wParam == VK_RETURN);
      return 0;
    }
    if (message == WM_KILLFOCUS) End(TRUE);
    return CEdit::WindowProc(message, wParam, lParam);
  }

 private:
  void End(BOOL bCommit) {
    if (m_bEnding) return;
    m_bEnding = TRUE;
    m_pBar->PostMessage(kEndLabelEditMsg, bCommit, m_nSerial);
  }

  CPlxOutlookBar* m_pBar;
  UINT m_nSerial;
  BOOL m_bEnding = FALSE;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Creation

int CPlxOutlookBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CPlxToolBar::OnCreate(lpCreateStruct) == -1) return -1;
  // The bar draws its own captions, caption and splitter: no borders, no gripper, no frame
  // caption.
  SetBarStyle(GetBarStyle() & ~(CBRS_BORDER_ANY | CBRS_GRIPPER));
  SetBorders(0, 0, 0, 0);
  const BOOL caption = (lpCreateStruct->style & WS_CAPTION) != 0;
  ModifyStyle(WS_CAPTION, 0);
  m_bHasCaption = caption || m_bPageLook;

  // Vertical bars lie under everything else of the frame, horizontal ones behind the status bar.
  if (!IsHorizontal()) {
    SetWindowPos(&CWnd::wndBottom, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  } else if (CWnd* parent = GetParent(); parent != nullptr) {
    if (CWnd* status = parent->GetDlgItem(kStatusBarId))
      SetWindowPos(status, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

  const CSize size = PlxMenuGlyphSize() + CSize(4, 4);
  const CRect hidden(CPoint(0, 0), size);
  const BOOL horz = IsHorizontal();
  m_btnUp.Create("", WS_CHILD | BS_PUSHBUTTON, hidden, this, kScrollUpId);
  // Across a horizontal bar the arrows point the way the buttons go: back to the left.
  m_btnUp.SetStdImage(horz ? CPlxMenuGlyphs::IdArowLeft : CPlxMenuGlyphs::IdArowUp);
  m_btnDown.Create("", WS_CHILD | BS_PUSHBUTTON, hidden, this, kScrollDownId);
  m_btnDown.SetStdImage(horz ? CPlxMenuGlyphs::IdArowRight : CPlxMenuGlyphs::IdArowDown);
  m_btnClose.Create("", WS_CHILD | BS_PUSHBUTTON, hidden, this, kCloseId);
  m_btnClose.SetStdImage(CPlxMenuGlyphs::IdClose);
  CString tip;
  if (!tip.LoadString(kCloseTooltip)) tip = "Close";
  m_btnClose.SetTooltip(tip);
  for (CPlxButton* button :
       {static_cast<CPlxButton*>(&m_btnUp), static_cast<CPlxButton*>(&m_btnDown), &m_btnClose}) {
    button->m_bDrawFocus = FALSE;
    button->m_nFlatStyle = CPlxButton::BUTTONSTYLE_SEMIFLAT;
  }
  SetWindowText("Shortcuts");

  if (m_bResizable) {
    if (g_plxGlobalData.hcurStretch == nullptr)
      g_plxGlobalData.hcurStretch = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(30980));
    if (g_plxGlobalData.hcurStretchVert == nullptr)
      g_plxGlobalData.hcurStretchVert = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(30981));
  }

  // The hand over the small toolbar's buttons and a derived pane's links.
  if (g_plxGlobalData.hcurHand == nullptr)
    g_plxGlobalData.hcurHand =
        ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(CPlxOutlookBarToolBar::kHandCursor));
  if (m_wndToolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_HIDE_INPLACE, kToolBarId)) {
    m_wndToolBar.SetOwner(this);
    m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() & ~(CBRS_BORDER_ANY | CBRS_GRIPPER));
    m_wndToolBar.ShowWindow(SW_HIDE);  // until it gets buttons
  }
  for (CPlxOutlookBarPage* page : m_lstPages) {
    page->m_btnPage.m_bDrawFocus = FALSE;
    page->m_btnPage.Create(page->m_strLabel, WS_CHILD | BS_PUSHBUTTON, CRect(0, 0, 0, 0), this,
                           kFirstPageButtonId + page->m_dwId);
    page->m_btnPage.SetFont(&g_plxGlobalData.fontRegular, FALSE);
  }
  return 0;
}

void CPlxOutlookBar::OnStyleChanging(int nStyleType, LPSTYLESTRUCT lpStyleStruct) {
  if (nStyleType == GWL_STYLE) {
    // A frame caption becomes the bar's own.
    m_bHasCaption = (lpStyleStruct->styleNew & WS_CAPTION) != 0 || m_bPageLook;
    lpStyleStruct->styleNew &= ~WS_CAPTION;
    Relayout();
  }
  CPlxToolBar::OnStyleChanging(nStyleType, lpStyleStruct);
}

void CPlxOutlookBar::ShowBarCaption(BOOL bShow) {
  m_bHasCaption = bShow || m_bPageLook;
  Relayout();
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

void CPlxOutlookBar::OnSysColorChange() {
  CPlxToolBar::OnSysColorChange();
  m_clrBack = ::GetSysColor(COLOR_BTNSHADOW);
  if (m_uiBackImageId != 0) {
    // The picture's 3D colours follow the new scheme.
    const UINT id = m_uiBackImageId;
    m_uiBackImageId = 0;
    SetBackImage(id);
  } else {
    Invalidate();
  }
}

// ---------------------------------------------------------------------------------------------
// Pages

void CPlxOutlookBar::SetActivePage(DWORD dwId, BOOL bAnimate) {
  if (dwId == m_nActivePageId) return;
  CPlxOutlookBarPage* page = FindPage(dwId);
  if (dwId != (DWORD)-1 && page == nullptr) return;
  CPlxOutlookBarPage* old = FindPage(m_nActivePageId);
  std::vector<CRect> before;
  for (CPlxOutlookBarPage* p : m_lstPages) before.push_back(p->m_rectCaption);
  if (old != nullptr && old->m_hwnd != nullptr) ::ShowWindow(old->m_hwnd, SW_HIDE);
  if (page != nullptr && page->m_hwnd != nullptr) ::ShowWindow(page->m_hwnd, SW_SHOWNOACTIVATE);
  m_nActivePageId = dwId;
  OnActivatePage();
  m_iScrollOffset = 0;
  m_iFirstVisibleButton = 0;
  m_bCanScrollDown = FALSE;
  AdjustLocations();
  m_rectActivePage.SetRectEmpty();
  if (page != nullptr && GetSafeHwnd() != nullptr) {
    m_rectActivePage = page->m_rectCaption;
    ClientToScreen(m_rectActivePage);
  }
  if (GetSafeHwnd() == nullptr) return;

  // The captions that changed ends slide there together, a caption height at a time.
  if (m_bAnimation && bAnimate && old != nullptr && page != nullptr) {
    CPlxOutlookBarPage* moved = nullptr;
    CRect from;
    for (size_t i = 0; i < m_lstPages.size(); ++i) {
      if (before[i].IsRectEmpty() || before[i] == m_lstPages[i]->m_rectCaption) continue;
      if (moved == nullptr || m_lstPages[i] == page) {
        moved = m_lstPages[i];
        from = before[i];
      }
    }
    if (moved != nullptr) AnimatePageChange(moved, from, moved->m_rectCaption);
  }
  Invalidate();
  UpdateWindow();
}

void CPlxOutlookBar::AnimatePageChange(CPlxOutlookBarPage* pMoved, const CRect& rectFrom,
                                       const CRect& rectTo) {
  const BOOL horz = IsHorizontal();
  const int distance = horz ? rectTo.left - rectFrom.left : rectTo.top - rectFrom.top;
  if (distance == 0 || m_nCaptionHeight <= 0) return;
  const int step = distance > 0 ? m_nCaptionHeight : -m_nCaptionHeight;
  // Every caption that moved goes by the same offset.
  std::vector<std::pair<CPlxOutlookBarPage*, CRect>> sliding;
  for (CPlxOutlookBarPage* page : m_lstPages) {
    const CRect final = page->m_rectCaption;
    if (final.IsRectEmpty()) continue;
    CRect start = final;
    start.OffsetRect(horz ? -distance : 0, horz ? 0 : -distance);
    if (page == pMoved || GetPageFromPoint(start.CenterPoint()) == nullptr) sliding.emplace_back(page, start);
  }
  (void)rectFrom;
  CRect clip = m_rectButtonsArea;
  for (auto& [page, start] : sliding) clip.UnionRect(clip, start), clip.UnionRect(clip, page->m_rectCaption);
  int travelled = 0;
  while (std::abs(travelled) < std::abs(distance)) {
    travelled += step;
    if (std::abs(travelled) > std::abs(distance)) travelled = distance;
    {
      CClientDC dc(this);
      OnEraseWorkArea(&dc, m_rectButtonsArea);
    }
    for (auto& [page, start] : sliding) {
      CRect at = start;
      at.OffsetRect(horz ? travelled : 0, horz ? 0 : travelled);
      page->m_btnPage.SetWindowPos(nullptr, at.left, at.top, at.Width(), at.Height(),
                                   SWP_NOZORDER | SWP_NOACTIVATE);
      page->m_btnPage.UpdateWindow();
    }
    UpdateWindow();
    ::Sleep(kAnimationStepMs);
  }
  for (auto& [page, start] : sliding) {
    const CRect& at = page->m_rectCaption;
    page->m_btnPage.SetWindowPos(nullptr, at.left, at.top, at.Width(), at.Height(),
                                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  AdjustLocations();
  Invalidate();
}

BOOL CPlxOutlookBar::EditPageLabel(DWORD dwId) {
  CPlxOutlookBarPage* page = FindPage(dwId);
  if (page == nullptr || GetSafeHwnd() == nullptr || page->m_rectCaption.IsRectEmpty()) return FALSE;
  EndPageLabelEdit(TRUE);
  auto* edit = new CPageLabelEdit(this, ++m_nEditSerial);
  CRect rect = page->m_rectCaption;
  rect.DeflateRect(2, 2);
  if (!edit->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rect, this, 0)) {
    delete edit;
    return FALSE;
  }
  edit->SetFont(&g_plxGlobalData.fontRegular);
  edit->SetWindowText(page->m_strLabel);
  edit->SetSel(0, -1);
  edit->SetFocus();
  m_pInPlaceEdit = edit;
  m_dwEditedPageId = dwId;
  return TRUE;
}

void CPlxOutlookBar::EndPageLabelEdit(BOOL bCommit) {
  CEdit* edit = m_pInPlaceEdit;
  if (edit == nullptr) return;
  m_pInPlaceEdit = nullptr;  // before the focus moves: the editor's leaving comes back here
  const DWORD id = m_dwEditedPageId;
  m_dwEditedPageId = 0;
  CString text;
  if (edit->GetSafeHwnd() != nullptr) edit->GetWindowText(text);
  text.Trim();
  if (bCommit && !text.IsEmpty()) SetPageLabel(id, text);
  if (GetCapture() == edit) ReleaseCapture();
  if (edit->GetSafeHwnd() != nullptr) edit->DestroyWindow();
  delete edit;
}

// ---------------------------------------------------------------------------------------------
// Scrolling

void CPlxOutlookBar::ScrollUp() {
  if (m_iScrollOffset > 0 && m_iFirstVisibleButton > 0) {
    CPlxToolbarButton* button = GetPageButton(m_iFirstVisibleButton);
    if (button == nullptr) {
      if (GetSafeHwnd() != nullptr) KillTimer(kScrollUpTimer);
      return;
    }
    --m_iFirstVisibleButton;
    m_iScrollOffset -=
        ButtonExtent(GetPageButton(m_iFirstVisibleButton)) + (m_bPageWiseScroll ? m_nButtonSpacing : 0);
    if (m_iFirstVisibleButton == 0 || m_iScrollOffset < 0) m_iScrollOffset = 0;
  } else {
    m_iScrollOffset = 0;
    m_iFirstVisibleButton = 0;
    if (GetSafeHwnd() != nullptr) KillTimer(kScrollUpTimer);
  }
  RepaintButtonsArea();
}

void CPlxOutlookBar::ScrollDown() {
  CPlxToolbarButton* button = GetPageButton(m_iFirstVisibleButton);
  if (!m_bCanScrollDown || m_iFirstVisibleButton + 1 >= GetPageButtonsNum() || button == nullptr) {
    if (GetSafeHwnd() != nullptr) KillTimer(kScrollDownTimer);
    return;
  }
  ++m_iFirstVisibleButton;
  m_iScrollOffset += ButtonExtent(button) + (m_bPageWiseScroll ? m_nButtonSpacing : 0);
  RepaintButtonsArea();
}

int CPlxOutlookBar::GetPageStep() const {
  CPlxToolbarButton* first = GetPageButton(0);
  const int size = (first != nullptr ? ButtonExtent(first) : 0) + m_nButtonSpacing;
  int n = 0;
  if (size > 0) {
    if (IsHorizontal()) {
      n = m_rectButtonsArea.Width() / size;
    } else {
      const int captions = m_nCaptionHeight * (GetCount() - GetPageButtonsNum() + 1);
      n = (m_rectButtonsArea.Height() - captions) / size;
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
  for (int i = 0; i < n; ++i)
    m_iScrollOffset +=
        ButtonExtent(GetPageButton(m_iFirstVisibleButton + i)) + (m_bPageWiseScroll ? m_nButtonSpacing : 0);
  m_iFirstVisibleButton += n;
  RepaintButtonsArea();
}

void CPlxOutlookBar::PageUp() {
  if (m_iScrollOffset <= 0 || m_iFirstVisibleButton <= 0) {
    m_iScrollOffset = 0;
    m_iFirstVisibleButton = 0;
    if (GetSafeHwnd() != nullptr) KillTimer(kScrollUpTimer);
    RepaintButtonsArea();
    return;
  }
  if (GetPageButton(m_iFirstVisibleButton) == nullptr) {
    if (GetSafeHwnd() != nullptr) KillTimer(kScrollUpTimer);
    return;
  }
  const int n = std::min(GetPageStep(), m_iFirstVisibleButton);
  for (int i = 1; i <= n; ++i)
    m_iScrollOffset -=
        ButtonExtent(GetPageButton(m_iFirstVisibleButton - i)) + (m_bPageWiseScroll ? m_nButtonSpacing : 0);
  m_iFirstVisibleButton -= n;
  if (m_iFirstVisibleButton == 0 || m_iScrollOffset < 0) m_iScrollOffset = m_iFirstVisibleButton = 0;
  RepaintButtonsArea();
}

void CPlxOutlookBar::EnsureButtonVisible(int nIndex) {
  CPlxToolbarButton* button = GetPageButton(nIndex);
  if (button == nullptr || GetSafeHwnd() == nullptr) return;
  AdjustLocations();
  const BOOL horz = IsHorizontal();
  const int areaLo = horz ? m_rectButtonsArea.left : m_rectButtonsArea.top;
  const int areaHi = horz ? m_rectButtonsArea.right : m_rectButtonsArea.bottom;
  if (ButtonExtent(button) >= areaHi - areaLo) return;
  while (nIndex < m_iFirstVisibleButton) {
    const int before = m_iScrollOffset;
    ScrollUp();
    if (m_iScrollOffset == before) break;
  }
  while ((horz ? button->m_rect.right : button->m_rect.bottom) > areaHi) {
    const int before = m_iScrollOffset;
    ScrollDown();
    if (m_iScrollOffset == before) break;
  }
}

// TRUE when the window is one of the bar's own buttons (the notification is then handled).
BOOL CPlxOutlookBar::OnChildButton(HWND hwnd, UINT code) {
  if (hwnd == nullptr) return FALSE;
  if (hwnd == m_btnUp.GetSafeHwnd() || hwnd == m_btnDown.GetSafeHwnd()) {
    // A press steps once and starts the timer that repeats it while the arrow is held.
    if (code == BN_PUSHED) {
      const BOOL up = hwnd == m_btnUp.GetSafeHwnd();
      if (up)
        m_bPageWiseScroll ? PageUp() : ScrollUp();
      else
        m_bPageWiseScroll ? PageDown() : ScrollDown();
      SetTimer(up ? kScrollUpTimer : kScrollDownTimer, kScrollRepeatMs, nullptr);
    }
    return TRUE;
  }
  if (hwnd == m_btnClose.GetSafeHwnd()) {
    if (code == BN_CLICKED) ClosePane();
    return TRUE;
  }
  for (CPlxOutlookBarPage* page : m_lstPages) {
    if (hwnd != page->m_btnPage.GetSafeHwnd()) continue;
    if (code == BN_CLICKED) SetActivePage(page->m_dwId, m_bAnimation);
    return TRUE;
  }
  return FALSE;
}

BOOL CPlxOutlookBar::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (OnChildButton(reinterpret_cast<HWND>(lParam), HIWORD(wParam))) return TRUE;
  return CPlxToolBar::OnCommand(wParam, lParam);
}

LRESULT CPlxOutlookBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kEndLabelEditMsg) {
    // Only the editor that asked: a later one may have taken its place.
    if (m_pInPlaceEdit != nullptr && static_cast<LPARAM>(m_nEditSerial) == lParam)
      EndPageLabelEdit(static_cast<BOOL>(wParam));
    return 0;
  }
  if (message == WM_COMMAND && OnChildButton(reinterpret_cast<HWND>(lParam), HIWORD(wParam))) return 0;
  // The chevron's scroll items are the bar's own; a control bar would pass them to its owner.
  if (message == WM_COMMAND && lParam == 0 &&
      (LOWORD(wParam) == kScrollUpCmd || LOWORD(wParam) == kScrollDownCmd)) {
    OnScrollCommand(LOWORD(wParam));
    return 0;
  }
  return CPlxToolBar::WindowProc(message, wParam, lParam);
}

void CPlxOutlookBar::ClosePane() {
  if (CFrameWnd* frame = AfxGetParentFrame(this); frame != nullptr && m_pDockSite != nullptr) {
    frame->ShowControlBar(this, FALSE, FALSE);
    return;
  }
  ShowWindow(SW_HIDE);
}

int CPlxOutlookBar::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
  // Held over another page's caption, the drag opens that page after a moment.
  CPlxOutlookBarPage* page = GetPageFromPoint(point);
  if (page != nullptr && page->m_dwId != m_nActivePageId) {
    if (m_nPendingPageId != page->m_dwId) {
      m_nPendingPageId = page->m_dwId;
      SetTimer(kPageChangeTimer, kPageChangeMs, nullptr);
    }
    return DROPEFFECT_NONE;
  }
  return CPlxToolBar::OnDragOver(pDataObject, dwKeyState, point);
}

void CPlxOutlookBar::OnTimer(UINT_PTR nIDEvent) {
  switch (nIDEvent) {
    case kScrollUpTimer:
    case kScrollDownTimer: {
      const BOOL up = nIDEvent == kScrollUpTimer;
      CPlxButton& arrow = up ? static_cast<CPlxButton&>(m_btnUp) : m_btnDown;
      if (!arrow.IsPushed() || !arrow.IsHighlighted()) {
        KillTimer(nIDEvent);
        return;
      }
      if (up)
        m_bPageWiseScroll ? PageUp() : ScrollUp();
      else
        m_bPageWiseScroll ? PageDown() : ScrollDown();
      return;
    }
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

// ---------------------------------------------------------------------------------------------
// The mouse: splitters

BOOL CPlxOutlookBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (nHitTest == HTCLIENT) {
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    if (m_bSplitterDragging || m_rectSplitter.PtInRect(point)) {
      HCURSOR cursor = IsHorizontal() ? g_plxGlobalData.hcurStretchVert : g_plxGlobalData.hcurStretch;
      ::SetCursor(cursor != nullptr ? cursor
                                    : ::LoadCursor(nullptr, IsHorizontal() ? IDC_SIZENS : IDC_SIZEWE));
      return TRUE;
    }
    if (m_bCaptionSplitterDragging || m_rectCaptionSplitter.PtInRect(point)) {
      ::SetCursor(::LoadCursor(nullptr, IDC_SIZENS));
      return TRUE;
    }
  }
  return CPlxToolBar::OnSetCursor(pWnd, nHitTest, message);
}

// Docked, the bar's parent is its dock bar, no wider than the bar: the line and the drop range are
// the frame's.
CWnd* CPlxOutlookBar::GetDragHost() const {
  return m_pDockSite != nullptr && m_pDockSite->GetSafeHwnd() != nullptr ? static_cast<CWnd*>(m_pDockSite)
                                                                         : GetParent();
}

void CPlxOutlookBar::DrawDragLine(BOOL bErase) {
  CWnd* parent = GetDragHost();
  if (parent == nullptr) return;
  CClientDC dc(parent);
  HGDIOBJ old = dc.SelectObject(static_cast<HGDIOBJ>(pictavo::gdi::HalftoneBrush()));
  if (!m_rectDragLine.IsRectEmpty()) {
    CRect line = m_rectDragLine;
    parent->ScreenToClient(line);
    dc.PatBlt(line.left, line.top, line.Width(), line.Height(), PATINVERT);
    m_rectDragLine.SetRectEmpty();
  }
  if (!bErase) {
    // Three pixels just beyond the drag position on the inner side, less 2 at each end.
    CRect client;
    GetClientRect(client);
    CRect line;
    const BOOL start = IsAlignedToStart();
    if (IsHorizontal())
      line = start ? CRect(client.left + 2, m_nDragPos, client.right - 2, m_nDragPos + 3)
                   : CRect(client.left + 2, m_nDragPos - 3, client.right - 2, m_nDragPos);
    else
      line = start ? CRect(m_nDragPos, client.top + 2, m_nDragPos + 3, client.bottom - 2)
                   : CRect(m_nDragPos - 3, client.top + 2, m_nDragPos, client.bottom - 2);
    ClientToScreen(line);
    m_rectDragLine = line;
    parent->ScreenToClient(line);
    dc.PatBlt(line.left, line.top, line.Width(), line.Height(), PATINVERT);
  }
  dc.SelectObject(old);
}

void CPlxOutlookBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_pInPlaceEdit != nullptr) EndPageLabelEdit(TRUE);
  if (m_rectSplitter.PtInRect(point)) {
    SetCapture();
    SetFocus();
    m_bSplitterDragging = TRUE;
    m_nDragPos = IsHorizontal() ? point.y : point.x;
    DrawDragLine(FALSE);
    return;
  }
  if (m_nVisibleCaptions >= 0 && m_rectCaptionSplitter.PtInRect(point)) {
    SetCapture();
    m_bCaptionSplitterDragging = TRUE;
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
  if (m_rectSplitter.PtInRect(point) || m_rectCaptionSplitter.PtInRect(point)) {
    OnLButtonDown(nFlags, point);
    return;
  }
  CPlxToolBar::OnLButtonDblClk(nFlags, point);
}

void CPlxOutlookBar::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bSplitterDragging) {
    // Kept inside the parent's client area; a docked bar's parent is its dock bar, no wider than
    // the bar itself, so there the frame's.
    CWnd* parent =
        m_pDockSite != nullptr && m_pDockSite->GetSafeHwnd() != nullptr ? m_pDockSite : GetParent();
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
    DrawDragLine(FALSE);
    return;
  }
  if (m_bCaptionSplitterDragging) {
    if (m_nVisibleCaptions < 0 || m_nCaptionHeight <= 0) return;
    const int steps = (m_rectCaptionSplitter.top - point.y) / m_nCaptionHeight;
    if (steps == 0) return;
    const int visible = std::clamp(m_nVisibleCaptions + steps, 0, GetPageCount());
    if (visible == m_nVisibleCaptions || (m_nMaxVisibleCaptions >= 0 && visible > m_nMaxVisibleCaptions))
      return;
    m_nVisibleCaptions = visible;
    AdjustLocations();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    // The pointer stays on the splitter.
    CPoint centre(point.x, m_rectCaptionSplitter.CenterPoint().y);
    ClientToScreen(&centre);
    ::SetCursorPos(centre.x, centre.y);
    return;
  }
  CPlxToolBar::OnMouseMove(nFlags, point);
}

void CPlxOutlookBar::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bCaptionSplitterDragging) {
    EndCaptionSplitterDrag();
    return;
  }
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
  CFrameWnd* frame = m_pDockSite;
  if (frame != nullptr) {
    frame->RecalcLayout();
    return;
  }
  CRect window;
  GetWindowRect(window);
  if (IsHorizontal())
    SetWindowPos(nullptr, 0, 0, window.Width(), m_nBarSize, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  else
    SetWindowPos(nullptr, 0, 0, m_nBarSize, window.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPlxOutlookBar::EndSplitterDrag() {
  DrawDragLine(TRUE);
  m_bSplitterDragging = FALSE;
  m_rectDragLine.SetRectEmpty();
  if (GetCapture() == this) ReleaseCapture();
  RestoreFocus();
}

void CPlxOutlookBar::EndCaptionSplitterDrag() {
  if (!m_bCaptionSplitterDragging) return;
  m_bCaptionSplitterDragging = FALSE;
  if (GetCapture() == this) ReleaseCapture();
}

void CPlxOutlookBar::OnCancelMode() {
  CPlxToolBar::OnCancelMode();
  EndPageLabelEdit(TRUE);
  if (m_bSplitterDragging) EndSplitterDrag();
  EndCaptionSplitterDrag();
}

void CPlxOutlookBar::OnCaptureChanged(CWnd* pWnd) {
  if (pWnd != this) EndCaptionSplitterDrag();
  Default();
}

void CPlxOutlookBar::OnContextMenu(CWnd* pWnd, CPoint point) {
  CPoint client = point;
  ScreenToClient(&client);
  if (CPlxOutlookBarPage* page = GetPageFromPoint(client);
      page != nullptr && page->m_btnPage.GetSafeHwnd() != nullptr)
    page->m_btnPage.SendMessage(WM_CANCELMODE);
  CPlxToolBar::OnContextMenu(pWnd, point);
}
