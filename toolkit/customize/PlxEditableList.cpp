#include "toolkit/customize/PlxEditableList.h"

#include <algorithm>
#include <cstdlib>

#include "platform/comctl/CommCtrl.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/user/Input.h"
#include "platform/user/Metrics.h"
#include "toolkit/core/PlxButton.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxShortcutText.h"

namespace {

constexpr UINT kStandardTooltips[] = {16017, 16020, 16021, 16022};
constexpr UINT kHighColourImages[] = {17026, 17027, 17028, 17030};
constexpr UINT kPlainImages[] = {16929, 16930, 16931, 16932};
constexpr WORD kStandardKeys[] = {VK_INSERT, VK_DELETE, VK_UP, VK_DOWN};
constexpr BYTE kStandardModifiers[] = {0, 0, FALT, FALT};
constexpr int kStandardActions[] = {CPlxEditableList::kActionNew, CPlxEditableList::kActionDelete,
                                    CPlxEditableList::kActionUp, CPlxEditableList::kActionDown};

}  // namespace

// ---- CPlxInplaceBrowseEdit ----

BEGIN_MESSAGE_MAP(CPlxInplaceBrowseEdit, CEdit)
ON_WM_WINDOWPOSCHANGING()
ON_WM_WINDOWPOSCHANGED()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_NCCALCSIZE()
ON_WM_NCLBUTTONDOWN()
ON_WM_NCPAINT()
ON_WM_NCHITTEST()
ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

void CPlxInplaceBrowseEdit::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
  if (m_bSizeLocked) lpwndpos->flags |= SWP_NOSIZE;
  CEdit::OnWindowPosChanging(lpwndpos);
}

void CPlxInplaceBrowseEdit::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
  CEdit::OnWindowPosChanged(lpwndpos);
  m_rectBrowse.SetRectEmpty();
  if (m_bBrowse) {
    GetWindowRect(m_rectBrowse);
    m_rectBrowse.left = m_rectBrowse.right - kBrowseWidth;
  }
}

void CPlxInplaceBrowseEdit::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) {
  if (m_bSizeLocked) return;
  CEdit::OnNcCalcSize(bCalcValidRects, lpncsp);
  if (m_bBrowse) lpncsp->rgrc[0].right -= kBrowseWidth;
}

LRESULT CPlxInplaceBrowseEdit::OnNcHitTest(CPoint point) {
  if (!m_rectBrowse.IsRectEmpty() && m_rectBrowse.PtInRect(point)) return HTCAPTION;
  return CEdit::OnNcHitTest(point);
}

void CPlxInplaceBrowseEdit::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  if (m_rectBrowse.IsRectEmpty() || !m_rectBrowse.PtInRect(point)) {
    CEdit::OnNcLButtonDown(nHitTest, point);
    return;
  }
  m_bPressed = m_bTracking = TRUE;
  SetCapture();
  RedrawBrowse();
}

void CPlxInplaceBrowseEdit::OnMouseMove(UINT nFlags, CPoint point) {
  if (!m_bTracking) {
    CEdit::OnMouseMove(nFlags, point);
    return;
  }
  ClientToScreen(&point);
  const BOOL bPressed = m_rectBrowse.PtInRect(point);
  if (bPressed != m_bPressed) {
    m_bPressed = bPressed;
    RedrawBrowse();
  }
}

void CPlxInplaceBrowseEdit::OnLButtonUp(UINT nFlags, CPoint point) {
  if (!m_bTracking) {
    CEdit::OnLButtonUp(nFlags, point);
    return;
  }
  m_bTracking = m_bPressed = FALSE;
  ReleaseCapture();
  RedrawBrowse();
  ClientToScreen(&point);
  if (m_rectBrowse.PtInRect(point) && m_pOwner != nullptr) m_pOwner->BrowseClicked();
}

void CPlxInplaceBrowseEdit::OnNcPaint() {
  CEdit::OnNcPaint();
  if (m_rectBrowse.IsRectEmpty()) return;
  CWindowDC dc(this);
  CRect rectWindow;
  GetWindowRect(rectWindow);
  CRect rect = m_rectBrowse;
  rect.OffsetRect(-rectWindow.left, -rectWindow.top);
  if (m_pOwner != nullptr && m_bBrowse) {
    dc.IntersectClipRect(rect);
    m_pOwner->DrawBrowseGlyph(&dc, rect, m_bPressed);
  } else {
    dc.FillSolidRect(rect, ::GetSysColor(COLOR_BTNFACE));
  }
}

UINT CPlxInplaceBrowseEdit::OnGetDlgCode() {
  return DLGC_WANTALLKEYS;
}

void CPlxInplaceBrowseEdit::RedrawBrowse() {
  RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}

// ---- CPlxEditableList ----

BEGIN_MESSAGE_MAP(CPlxEditableList, CStatic)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_SETFOCUS()
ON_WM_ENABLE()
ON_MESSAGE(WM_SETFONT, OnSetFont)
ON_MESSAGE(WM_GETFONT, OnGetFont)
END_MESSAGE_MAP()

CPlxEditableList::~CPlxEditableList() {
  for (CPlxButton* pButton : m_buttons) delete pButton;
}

CPlxButton* CPlxEditableList::Button(int i) const {
  return i >= 0 && i < ButtonCount() ? m_buttons[static_cast<size_t>(i)] : nullptr;
}

BOOL CPlxEditableList::CreateStandardButtons(UINT uiMask) {
  if (GetSafeHwnd() == nullptr) return FALSE;
  const BOOL bHighColour = g_plxGlobalData.bAllowRichColors && g_plxGlobalData.nBitsPerPixel >= 16 &&
                           !g_plxGlobalData.bIsBlackHighContrast && !g_plxGlobalData.bIsWhiteHighContrast;
  for (int i = 0; i < 4; ++i) {
    if (!(uiMask & (1u << i))) continue;
    CString strTip;
    strTip.LoadString(kStandardTooltips[i]);
    AddCaptionButton(bHighColour ? kHighColourImages[i] : kPlainImages[i], strTip, kStandardKeys[i],
                     kStandardModifiers[i], kStandardActions[i]);
  }
  m_uiStandardButtons |= uiMask;
  return TRUE;
}

BOOL CPlxEditableList::AddCaptionButton(UINT uiBmpResId, LPCTSTR lpszTooltip, WORD nKey, BYTE nModifiers,
                                        int nAction) {
  if (GetSafeHwnd() == nullptr) return FALSE;
  auto* pButton = new CPlxButton;
  const UINT nId = static_cast<UINT>(m_buttons.size()) + kFirstButtonId;
  if (!pButton->Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 0, 0), this, nId)) {
    delete pButton;
    return FALSE;
  }
  pButton->m_nFlatStyle = CPlxButton::BUTTONSTYLE_FLAT;
  pButton->m_bDrawFocus = FALSE;
  pButton->SetImage(uiBmpResId);
  CString strTip(lpszTooltip != nullptr ? lpszTooltip : "");
  if (nKey != 0) {
    ACCEL accel{static_cast<BYTE>(nModifiers | FVIRTKEY), nKey, 0};
    CString strKey;
    CPlxShortcutText(&accel).Format(strKey);
    strTip += " (" + strKey + ")";
  }
  pButton->SetTooltip(strTip);
  pButton->SizeToContent();
  if (m_buttons.empty()) {
    CRect rect;
    pButton->GetWindowRect(rect);
    m_sizeButton = rect.Size();
  }
  m_buttons.push_back(pButton);
  m_shortcuts.push_back(MAKELONG(nKey, nModifiers));
  m_actions.push_back(nAction);
  LayoutControl();
  return TRUE;
}

int CPlxEditableList::ButtonForKey(UINT nKey, BYTE nModifiers) const {
  for (size_t i = 0; i < m_shortcuts.size(); ++i)
    if (LOWORD(m_shortcuts[i]) != 0 && LOWORD(m_shortcuts[i]) == nKey &&
        static_cast<BYTE>(HIWORD(m_shortcuts[i])) == nModifiers)
      return static_cast<int>(i);
  return -1;
}

BYTE CPlxEditableList::CurrentModifiers() {
  BYTE modifiers = 0;
  if (::GetKeyState(VK_CONTROL) < 0) modifiers |= FCONTROL;
  if (::GetKeyState(VK_MENU) < 0) modifiers |= FALT;
  if (::GetKeyState(VK_SHIFT) < 0) modifiers |= FSHIFT;
  return modifiers;
}

void CPlxEditableList::HandleButton(int iButton) {
  if (m_uiStandardButtons == 0 || iButton < 0 || iButton >= ButtonCount()) return;
  const int sel = SelectedEntry();
  switch (m_actions[static_cast<size_t>(iButton)]) {
    case kActionDelete:
      if (sel >= 0 && MayDeleteEntry(sel)) DeleteEntry(sel);
      break;
    case kActionNew:
      StartNewEntry();
      break;
    case kActionUp:
    case kActionDown: {
      const BOOL bUp = m_actions[static_cast<size_t>(iButton)] == kActionUp;
      if (sel < 0 || (bUp && sel <= 0) || (!bUp && sel >= EntryCount() - 1)) break;
      CWnd* pList = CWnd::FromHandle(ListWindow());
      SetRedraw(FALSE);
      if (pList != nullptr) pList->SetRedraw(FALSE);
      const CString strText = EntryText(sel);
      const DWORD_PTR dwData = EntryData(sel);
      DeleteEntry(sel);
      const int iNew = InsertEntry(strText, dwData, bUp ? sel - 1 : sel + 1);
      ChooseEntry(iNew);
      if (pList != nullptr) pList->SetRedraw(TRUE);
      SetRedraw(TRUE);
      if (pList != nullptr) pList->Invalidate();
      if (bUp)
        EntryMovedUp(iNew);
      else
        EntryMovedDown(iNew);
      break;
    }
    default:
      break;
  }
}

void CPlxEditableList::HandleKey(UINT nKey, BYTE nModifiers) {
  if (nModifiers != 0 || (nKey != VK_F2 && nKey != VK_SPACE)) return;
  const int sel = SelectedEntry();
  if (sel >= 0) BeginEntryEdit(sel);
}

void CPlxEditableList::StartNewEntry() {
  const int iIndex = InsertEntry("", 0, EntryCount());
  if (iIndex < 0) return;
  // The new entry is the one being edited, so it is the one selected: its name goes to it.
  ChooseEntry(iIndex);
  m_bNewEntry = TRUE;
  if (!BeginEntryEdit(iIndex)) {
    m_bNewEntry = FALSE;
    DeleteEntry(iIndex);
  }
}

void CPlxEditableList::FinishEntryEdit(const CString& strText) {
  // The entry whose label was edited, whatever is selected now.
  int iIndex = m_nEditedEntry;
  m_nEditedEntry = -1;
  if (iIndex < 0 || iIndex >= EntryCount()) iIndex = SelectedEntry();
  const BOOL bNew = m_bNewEntry;
  m_bNewEntry = FALSE;
  if (iIndex < 0) return;
  if (!strText.IsEmpty()) {
    SetEntryText(iIndex, strText);
    if (bNew)
      EntryAdded(iIndex);
    else
      EntryRenamed(iIndex);
  } else if (bNew) {
    DeleteEntry(iIndex);
  }
}

void CPlxEditableList::DrawBrowseGlyph(CDC* pDC, CRect rect, BOOL bPressed) {
  pDC->FillSolidRect(rect, ::GetSysColor(COLOR_BTNFACE));
  CGdiObject* pOldFont = pDC->SelectStockObject(DEFAULT_GUI_FONT);
  const int nOldMode = pDC->SetBkMode(TRANSPARENT);
  const COLORREF clrOld = pDC->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
  CRect rectText = rect;
  rectText.InflateRect(-1, -2);
  rectText.OffsetRect(0, -2);
  if (bPressed) rectText.OffsetRect(1, 1);
  pDC->DrawText("...", rectText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  pDC->SetTextColor(clrOld);
  pDC->SetBkMode(nOldMode);
  pDC->SelectObject(pOldFont);
  pDC->Draw3dRect(rect, ::GetSysColor(COLOR_3DDKSHADOW), ::GetSysColor(COLOR_3DDKSHADOW));
  rect.DeflateRect(1, 1);
  pDC->DrawEdge(rect, bPressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
}

BOOL CPlxEditableList::PreCreateWindow(CREATESTRUCT& cs) {
  m_bInCreate = TRUE;
  return CStatic::PreCreateWindow(cs);
}

void CPlxEditableList::PreSubclassWindow() {
  CStatic::PreSubclassWindow();
  if (!m_bInCreate) SetUpWindow();
}

int CPlxEditableList::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CStatic::OnCreate(lpCreateStruct) == -1) return -1;
  m_bInCreate = FALSE;
  SetUpWindow();
  return 0;
}

void CPlxEditableList::SetUpWindow() {
  ModifyStyle(0, 0x0A);
  if (MakeList() != nullptr) LayoutControl();
}

CFont* CPlxEditableList::ControlFont() {
  if (m_font.GetSafeHandle() != nullptr) return &m_font;
  CWnd* pParent = GetParent();
  HFONT hFont = pParent != nullptr ? reinterpret_cast<HFONT>(pParent->SendMessage(WM_GETFONT)) : nullptr;
  return hFont != nullptr ? CFont::FromHandle(hFont) : &g_plxGlobalData.fontRegular;
}

void CPlxEditableList::LayoutControl() {
  if (GetSafeHwnd() == nullptr) return;
  CRect rectClient;
  GetClientRect(rectClient);
  m_rectCaption = rectClient;
  int nTextHeight = 0;
  {
    CClientDC dc(this);
    CFont* pOld = dc.SelectObject(ControlFont());
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    nTextHeight = tm.tmHeight;
    dc.SelectObject(pOld);
  }
  const int nCaption = std::max<int>(m_sizeButton.cy, nTextHeight * 4 / 3);
  m_rectCaption.bottom = m_rectCaption.top + nCaption;
  int x = rectClient.right - m_sizeButton.cx - 1;
  for (CPlxButton* pButton : m_buttons) {
    pButton->SetWindowPos(nullptr, x, rectClient.top + 1, m_sizeButton.cx, nCaption - 2,
                          SWP_NOZORDER | SWP_NOACTIVATE);
    x -= m_sizeButton.cx;
  }
  if (HWND hList = ListWindow()) {
    ::SetWindowPos(hList, nullptr, rectClient.left, m_rectCaption.bottom, rectClient.Width(),
                   std::max<int>(0, rectClient.bottom - m_rectCaption.bottom), SWP_NOZORDER | SWP_NOACTIVATE);
    FitList();
  }
}

void CPlxEditableList::OnPaint() {
  CPaintDC dc(this);
  CRect rect = m_rectCaption;
  dc.FillRect(rect, &g_plxGlobalData.brBtnFace);
  dc.Draw3dRect(rect, g_plxGlobalData.clrBtnShadow, g_plxGlobalData.clrBtnHilite);
  CString strText;
  GetWindowText(strText);
  CFont* pOld = dc.SelectObject(ControlFont());
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(IsWindowEnabled() ? g_plxGlobalData.clrBtnText : g_plxGlobalData.clrGrayedText);
  rect.InflateRect(-5, 0);
  dc.DrawText(strText, rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  dc.SelectObject(pOld);
}

void CPlxEditableList::OnSize(UINT nType, int cx, int cy) {
  CStatic::OnSize(nType, cx, cy);
  LayoutControl();
}

BOOL CPlxEditableList::OnEraseBkgnd(CDC*) {
  return TRUE;
}

void CPlxEditableList::OnSetFocus(CWnd*) {
  if (HWND hList = ListWindow()) ::SetFocus(hList);
}

void CPlxEditableList::EnableButtons(BOOL bEnable) {
  for (CPlxButton* pButton : m_buttons) pButton->EnableWindow(bEnable);
}

void CPlxEditableList::OnEnable(BOOL bEnable) {
  CStatic::OnEnable(bEnable);
  for (CPlxButton* pButton : m_buttons) {
    pButton->m_bGrayDisabled = !bEnable;
    pButton->EnableWindow(bEnable);
  }
  if (HWND hList = ListWindow()) ::EnableWindow(hList, bEnable);
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

LRESULT CPlxEditableList::OnSetFont(WPARAM wParam, LPARAM lParam) {
  Default();
  if (m_font.GetSafeHandle() != nullptr) m_font.DeleteObject();
  LOGFONT lf{};
  if (wParam != 0 && ::GetObject(reinterpret_cast<HFONT>(wParam), sizeof(lf), &lf) != 0)
    m_font.CreateFontIndirect(&lf);
  LayoutControl();
  if (lParam != 0) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  return 0;
}

LRESULT CPlxEditableList::OnGetFont(WPARAM, LPARAM) {
  return reinterpret_cast<LRESULT>(m_font.GetSafeHandle());
}

BOOL CPlxEditableList::OnCommand(WPARAM wParam, LPARAM lParam) {
  for (size_t i = 0; i < m_buttons.size(); ++i)
    if (lParam != 0 && reinterpret_cast<HWND>(lParam) == m_buttons[i]->GetSafeHwnd()) {
      if (HWND hList = ListWindow()) ::SetFocus(hList);
      HandleButton(static_cast<int>(i));
      return TRUE;
    }
  return CStatic::OnCommand(wParam, lParam);
}

// ---- CPlxEditableListView ----

BEGIN_MESSAGE_MAP(CPlxEditableListView, CPlxEditableList)
ON_NOTIFY(LVN_KEYDOWN, CPlxEditableListView::kListId, OnListKeyDown)
ON_NOTIFY(NM_DBLCLK, CPlxEditableListView::kListId, OnListDblClk)
ON_NOTIFY(LVN_GETDISPINFO, CPlxEditableListView::kListId, OnListGetDispInfo)
ON_NOTIFY(LVN_ENDLABELEDIT, CPlxEditableListView::kListId, OnListEndLabelEdit)
ON_NOTIFY(LVN_ITEMCHANGED, CPlxEditableListView::kListId, OnListItemChanged)
END_MESSAGE_MAP()

CPlxEditableListView::~CPlxEditableListView() {
  if (m_editor.GetSafeHwnd() != nullptr) m_editor.UnsubclassWindow();
  delete m_pList;
}

int CPlxEditableListView::InsertEntry(const CString& strText, DWORD_PTR dwData, int iIndex) {
  if (m_pList == nullptr) return -1;
  if (iIndex < 0) iIndex = m_pList->GetItemCount();
  const int iItem = m_pList->InsertItem(iIndex, strText);
  if (iItem < 0) return -1;
  m_pList->SetItemData(iItem, dwData);
  if (iItem == 0) m_pList->SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  return iItem;
}

BOOL CPlxEditableListView::DeleteEntry(int iIndex) {
  if (m_pList == nullptr) return FALSE;
  const BOOL bWasSelected = (m_pList->GetItemState(iIndex, LVIS_SELECTED) & LVIS_SELECTED) != 0;
  if (!m_pList->DeleteItem(iIndex)) return FALSE;
  const int nCount = m_pList->GetItemCount();
  if (!bWasSelected || nCount == 0) return FALSE;
  ChooseEntry(std::min(iIndex, nCount - 1));
  return TRUE;
}

int CPlxEditableListView::EntryCount() const {
  return m_pList != nullptr ? m_pList->GetItemCount() : -1;
}

int CPlxEditableListView::SelectedEntry() const {
  return m_pList != nullptr ? m_pList->GetNextItem(-1, LVNI_SELECTED) : -1;
}

BOOL CPlxEditableListView::ChooseEntry(int iIndex) {
  if (m_pList == nullptr) return FALSE;
  if (!m_pList->SetItemState(iIndex, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED))
    return FALSE;
  return m_pList->EnsureVisible(iIndex, FALSE);
}

CString CPlxEditableListView::EntryText(int iIndex) const {
  return m_pList != nullptr ? m_pList->GetItemText(iIndex, 0) : CString();
}

void CPlxEditableListView::SetEntryText(int iIndex, const CString& strText) {
  if (m_pList != nullptr) m_pList->SetItemText(iIndex, 0, strText);
}

DWORD_PTR CPlxEditableListView::EntryData(int iIndex) const {
  return m_pList != nullptr ? m_pList->GetItemData(iIndex) : 0;
}

void CPlxEditableListView::SetEntryData(int iIndex, DWORD_PTR dwData) {
  if (m_pList != nullptr) m_pList->SetItemData(iIndex, dwData);
}

BOOL CPlxEditableListView::BeginEntryEdit(int iIndex) {
  if (m_pList == nullptr) return FALSE;
  if (m_editor.GetSafeHwnd() != nullptr) m_editor.UnsubclassWindow();
  m_pList->SetFocus();
  m_nEditedEntry = iIndex;
  CEdit* pEdit = m_pList->EditLabel(iIndex);
  if (pEdit == nullptr || pEdit->GetSafeHwnd() == nullptr) {
    m_nEditedEntry = -1;
    return FALSE;
  }
  const HWND hEdit = pEdit->GetSafeHwnd();
  pEdit->Detach();  // the editor becomes the window's object
  m_editor.SubclassWindow(hEdit);
  m_editor.m_bBrowse = m_bBrowseButton;
  CRect rectList, rectEdit;
  m_pList->GetClientRect(rectList);
  m_editor.GetWindowRect(rectEdit);
  m_editor.m_bSizeLocked = FALSE;
  m_editor.SetWindowPos(
      nullptr, 0, 0,
      rectList.Width() - 2 * ::GetSystemMetrics(SM_CXBORDER) - ::GetSystemMetrics(SM_CXVSCROLL),
      rectEdit.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  m_editor.m_pOwner = this;
  m_editor.m_bSizeLocked = TRUE;
  EnableButtons(FALSE);
  return TRUE;
}

HWND CPlxEditableListView::ListWindow() const {
  return m_pList != nullptr ? m_pList->GetSafeHwnd() : nullptr;
}

CWnd* CPlxEditableListView::MakeList() {
  if (m_pList != nullptr || GetSafeHwnd() == nullptr) return nullptr;
  m_pList = new CListCtrl;
  if (!m_pList->CreateEx(WS_EX_CLIENTEDGE,
                         WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                             LVS_EDITLABELS | LVS_NOCOLUMNHEADER,
                         CRect(0, 0, 0, 0), this, kListId)) {
    delete m_pList;
    m_pList = nullptr;
    return nullptr;
  }
  m_pList->SetExtendedStyle(LVS_EX_FULLROWSELECT);
  m_pList->InsertColumn(0, "");
  return m_pList;
}

void CPlxEditableListView::FitList() {
  if (m_pList == nullptr) return;
  CRect rect;
  m_pList->GetClientRect(rect);
  m_pList->SetColumnWidth(
      0, rect.Width() - 2 * ::GetSystemMetrics(SM_CXEDGE) - ::GetSystemMetrics(SM_CXVSCROLL));
}

BOOL CPlxEditableListView::PreTranslateMessage(MSG* pMsg) {
  const HWND hList = ListWindow();
  if (hList != nullptr && pMsg->hwnd == hList) {
    switch (pMsg->message) {
      case WM_KEYDOWN:
        // The list view would start a second label edit of its own on F2.
        if (pMsg->wParam == VK_F2) {
          HandleKey(VK_F2, CurrentModifiers());
          return TRUE;
        }
        break;
      case WM_SYSKEYDOWN: {
        // Alt combinations never reach the list's key notification: the buttons' Alt keys are
        // matched here.
        const int iButton = ButtonForKey(static_cast<UINT>(pMsg->wParam), CurrentModifiers());
        if (iButton >= 0 && m_buttons[static_cast<size_t>(iButton)]->IsWindowEnabled()) {
          HandleButton(iButton);
          return TRUE;
        }
        break;
      }
      case WM_LBUTTONDOWN: {
        if (m_nEditedEntry >= 0 || ::GetFocus() != hList) break;
        const CPoint point(static_cast<short>(LOWORD(pMsg->lParam)),
                           static_cast<short>(HIWORD(pMsg->lParam)));
        UINT uFlags = 0;
        const int iItem = m_pList->HitTest(point, &uFlags);
        const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
        if (iItem < 0 || !(uFlags & LVHT_ONITEMLABEL) || m_pList->GetItemState(iItem, both) != both) break;
        m_ptClick = point;
        m_pList->SetCapture();
        return TRUE;
      }
      case WM_LBUTTONUP: {
        if (m_ptClick.x == -1 && m_ptClick.y == -1) break;
        const CPoint press = m_ptClick;
        m_ptClick = CPoint(-1, -1);
        ::ReleaseCapture();
        const CPoint point(static_cast<short>(LOWORD(pMsg->lParam)),
                           static_cast<short>(HIWORD(pMsg->lParam)));
        const int iItem = m_pList->HitTest(point);
        if (iItem >= 0 && std::abs(point.x - press.x) <= ::GetSystemMetrics(SM_CXDRAG) &&
            std::abs(point.y - press.y) <= ::GetSystemMetrics(SM_CYDRAG))
          BeginEntryEdit(iItem);
        return TRUE;
      }
      default:
        break;
    }
  }
  return CPlxEditableList::PreTranslateMessage(pMsg);
}

void CPlxEditableListView::OnListKeyDown(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  const auto* pKey = reinterpret_cast<NMLVKEYDOWN*>(pNMHDR);
  const BYTE modifiers = CurrentModifiers();
  const int iButton = ButtonForKey(pKey->wVKey, modifiers);
  if (iButton >= 0) {
    if (m_buttons[static_cast<size_t>(iButton)]->IsWindowEnabled()) HandleButton(iButton);
    return;
  }
  HandleKey(pKey->wVKey, modifiers);
}

void CPlxEditableListView::OnListDblClk(NMHDR*, LRESULT* pResult) {
  *pResult = 0;
  if (m_pList == nullptr) return;
  CPoint point;
  ::GetCursorPos(&point);
  m_pList->ScreenToClient(&point);
  const int iItem = m_pList->HitTest(point);
  if (iItem < 0) {
    if (m_uiStandardButtons & BUTTON_NEW) StartNewEntry();
  } else {
    BeginEntryEdit(iItem);
  }
}

void CPlxEditableListView::OnListGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  auto* pInfo = reinterpret_cast<NMLVDISPINFO*>(pNMHDR);
  if (pInfo->item.mask & LVIF_IMAGE) pInfo->item.iImage = EntryImage(pInfo->item.iItem);
}

void CPlxEditableListView::OnListEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = FALSE;  // the text is set here, never by the list behind our back
  const auto* pInfo = reinterpret_cast<NMLVDISPINFO*>(pNMHDR);
  if (m_editor.GetSafeHwnd() != nullptr) m_editor.UnsubclassWindow();
  m_editor.m_pOwner = nullptr;
  if (m_nEditedEntry < 0) m_nEditedEntry = pInfo->item.iItem;
  FinishEntryEdit(pInfo->item.pszText != nullptr ? CString(pInfo->item.pszText) : CString());
  EnableButtons(IsWindowEnabled());
}

void CPlxEditableListView::OnListItemChanged(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  const auto* pView = reinterpret_cast<NMLISTVIEW*>(pNMHDR);
  if ((pView->uChanged & LVIF_STATE) && ((pView->uNewState ^ pView->uOldState) & LVIS_SELECTED))
    SelectionMoved();
}
