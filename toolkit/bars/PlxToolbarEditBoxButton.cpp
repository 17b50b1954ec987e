#include "toolkit/bars/PlxToolbarEditBoxButton.h"

#include <algorithm>
#include <vector>

#include "platform/base/Archive.h"
#include "platform/mfc/Dc.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarControlText.h"
#include "toolkit/bars/PlxTrackMouse.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManager.h"

IMPLEMENT_SERIAL(CPlxToolbarEditBoxButton, CPlxToolbarButton, VERSIONABLE_SCHEMA | 1)

BOOL CPlxToolbarEditBoxButton::s_bFlatBorder = FALSE;

namespace {

constexpr DWORD kDefaultEditStyle = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
constexpr int kDefaultWidth = 150;
constexpr int kMaxControlWidth = 32767;

int EditHeight() {
  return std::max(g_plxGlobalData.nTextHeightHorz, 1);
}

// The other edit-box buttons of the command, on every bar.
std::vector<CPlxToolbarEditBoxButton*> EditTwins(CPlxToolbarEditBoxButton* self) {
  std::vector<CPlxToolbarEditBoxButton*> twins;
  CObList buttons;
  CPlxToolBar::GetCommandButtons(self->m_nID, buttons);
  for (POSITION pos = buttons.GetHeadPosition(); pos != nullptr;) {
    auto* other = dynamic_cast<CPlxToolbarEditBoxButton*>(buttons.GetNext(pos));
    if (other != nullptr && other != self) twins.push_back(other);
  }
  return twins;
}

}  // namespace

CPlxToolbarEditBoxButton::CPlxToolbarEditBoxButton()
    : m_dwEditStyle(kDefaultEditStyle), m_iWidth(kDefaultWidth) {}

CPlxToolbarEditBoxButton::CPlxToolbarEditBoxButton(UINT uiID, int iImage, DWORD dwStyle, int iWidth)
    : CPlxToolbarButton(uiID, iImage),
      m_dwEditStyle(WS_CHILD | WS_VISIBLE | dwStyle),
      m_iWidth(iWidth > 0 ? iWidth : kDefaultWidth) {}

CPlxToolbarEditBoxButton::~CPlxToolbarEditBoxButton() {
  DestroyEdit();
}

void CPlxToolbarEditBoxButton::DestroyEdit() {
  if (m_pWndEdit == nullptr) return;
  if (m_pWndEdit->GetSafeHwnd() != nullptr) m_pWndEdit->DestroyWindow();
  delete m_pWndEdit;
  m_pWndEdit = nullptr;
}

CEdit* CPlxToolbarEditBoxButton::CreateEdit(CWnd* pWndParent, const CRect& rect) {
  auto* edit = new CPlxToolbarEditCtrl(*this);
  // Always a child of the bar, whatever a damaged archive says the style is.
  if (!edit->Create((m_dwEditStyle | WS_CHILD) & ~WS_POPUP, rect, pWndParent, m_nID)) {
    delete edit;
    return nullptr;
  }
  return edit;
}

void CPlxToolbarEditBoxButton::SetEditText(const CString& text) {
  if (!HasEdit()) return;
  m_bChangingText = TRUE;
  m_pWndEdit->SetWindowText(text);
  m_bChangingText = FALSE;
}

void CPlxToolbarEditBoxButton::SetContents(const CString& strContents) {
  if (strContents == m_strContents) return;
  m_strContents = strContents;
  SetEditText(m_strContents);
}

void CPlxToolbarEditBoxButton::OnChangeParentWnd(CWnd* pWndParent) {
  CPlxToolbarButton::OnChangeParentWnd(pWndParent);
  if (HasEdit()) {
    if (pWndParent != nullptr && ::GetParent(m_pWndEdit->m_hWnd) == pWndParent->GetSafeHwnd()) return;
    m_strContents = PlxWindowText(m_pWndEdit->m_hWnd);
  }
  DestroyEdit();
  if (pWndParent == nullptr || pWndParent->GetSafeHwnd() == nullptr) return;
  CRect rect = m_rect;
  rect.DeflateRect(3, 1);
  rect.bottom = rect.top + EditHeight();
  m_pWndEdit = CreateEdit(pWndParent, rect);
  if (m_pWndEdit == nullptr) return;
  OnMove();
  m_pWndEdit->SetFont(&g_plxGlobalData.fontRegular);
  const CString existing = PlxWindowText(m_pWndEdit->m_hWnd);
  if (!existing.IsEmpty())
    m_strContents = existing;
  else
    SetEditText(m_strContents);
}

void CPlxToolbarEditBoxButton::OnMove() {
  if (!HasEdit() || (m_pWndEdit->GetStyle() & WS_VISIBLE) == 0) return;
  const int offset = std::max(0, (m_rect.Height() - m_sizeTextBelow.cy - EditHeight()) / 2);
  m_pWndEdit->SetWindowPos(nullptr, m_rect.left + 3, m_rect.top + offset, std::max(0, m_rect.Width() - 6),
                           EditHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
  m_pWndEdit->SendMessage(EM_SETSEL, static_cast<WPARAM>(-1), 0);
  m_pWndEdit->SendMessage(EM_SCROLLCARET);
}

void CPlxToolbarEditBoxButton::OnSize(int iSize) {
  m_iWidth = iSize;
  m_rect.right = m_rect.left + iSize;
  OnMove();
}

void CPlxToolbarEditBoxButton::Show(BOOL bShow) {
  if (!HasEdit()) return;
  if (bShow && m_bHorzLayout) {
    m_pWndEdit->ShowWindow(SW_SHOWNOACTIVATE);
    OnMove();
  } else {
    m_pWndEdit->ShowWindow(SW_HIDE);
  }
  OnShowEdit(bShow);
}

CSize CPlxToolbarEditBoxButton::OnCalculateSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) {
  if (!m_bVisible) {
    if (HasEdit()) m_pWndEdit->ShowWindow(SW_HIDE);
    OnShowEdit(FALSE);
    return CSize(0, 0);
  }
  m_bHorzLayout = bHorz;
  if (!bHorz) {
    if (HasEdit()) {
      m_pWndEdit->ShowWindow(SW_HIDE);
      OnShowEdit(FALSE);
    }
    m_sizeTextBelow = CSize(0, 0);
    return CPlxToolbarButton::OnCalculateSize(pDC, sizeDefault, bHorz);
  }
  if (HasEdit() && !m_bIsHidden) {
    m_pWndEdit->ShowWindow(SW_SHOWNOACTIVATE);
    OnShowEdit(TRUE);
  }
  m_sizeTextBelow = CSize(0, 0);
  if (m_bTextBelow && !m_strText.IsEmpty()) {
    CRect box(0, 0, m_iWidth, sizeDefault.cy);
    pDC->DrawText(m_strText, box, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    m_sizeTextBelow = box.Size();
  }
  return CSize(m_iWidth, sizeDefault.cy + m_sizeTextBelow.cy);
}

BOOL CPlxToolbarEditBoxButton::IsDisabledForDrawing() const {
  return CPlxToolBar::m_bCustomizeMode ? !IsEditable() : (m_nStyle & TBBS_DISABLED) != 0;
}

void CPlxToolbarEditBoxButton::GetEditBorder(CRect& rect) {
  rect.SetRectEmpty();
  if (!HasEdit()) return;
  m_pWndEdit->GetWindowRect(&rect);
  if (CWnd* parent = m_pWndEdit->GetParent(); parent != nullptr) parent->ScreenToClient(&rect);
  rect.InflateRect(1, 1);
}

void CPlxToolbarEditBoxButton::OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz,
                                      BOOL bCustomizeMode, BOOL bHighlight, BOOL bDrawBorder,
                                      BOOL bGrayDisabledButtons) {
  if (!HasEdit() || (m_pWndEdit->GetStyle() & WS_VISIBLE) == 0) {
    CPlxToolbarButton::OnDraw(pDC, rect, pImages, bHorz, bCustomizeMode, bHighlight, bDrawBorder,
                              bGrayDisabledButtons);
    return;
  }
  const BOOL disabled = bCustomizeMode ? !IsEditable() : (m_nStyle & TBBS_DISABLED) != 0;
  CRect border;
  GetEditBorder(border);
  CPlxVisualManager::GetInstance()->OnDrawEditBorder(pDC, border, disabled, !s_bFlatBorder || m_bHotEdit,
                                                     this);
  if (m_bTextBelow && bHorz && !m_strText.IsEmpty()) {
    CRect rectLabel = rect;
    rectLabel.top = (rect.bottom + border.bottom - m_sizeTextBelow.cy) / 2;
    pDC->SetTextColor(disabled     ? g_plxGlobalData.clrGrayedText
                      : bHighlight ? CPlxToolBar::GetHotTextColor()
                                   : g_plxGlobalData.clrBarText);
    pDC->DrawText(m_strText, rectLabel, DT_CENTER | DT_WORDBREAK);
  }
}

CRect CPlxToolbarEditBoxButton::GetRect() const {
  if (!(m_bTextBelow && m_bHorzLayout && !m_strText.IsEmpty())) return m_rect;
  // The label under the edit, centred on the button and ending with it.
  const int left = (m_rect.left + m_rect.right - m_sizeTextBelow.cx) / 2;
  const int right = (m_rect.left + m_rect.right + m_sizeTextBelow.cx) / 2;
  return CRect(left, m_rect.top, right, m_rect.bottom);
}

int CPlxToolbarEditBoxButton::OnDrawOnCustomizeList(CDC* pDC, const CRect& rect, BOOL bSelected) {
  const int used = CPlxToolbarButton::OnDrawOnCustomizeList(pDC, rect, bSelected);
  CRect box = rect;
  box.left = box.right - std::max<int>(8, rect.Width() - used - 10);
  box.DeflateRect(2, 2);
  pDC->FillRect(box, &g_plxGlobalData.brWindow);
  pDC->Draw3dRect(box, g_plxGlobalData.clrBarShadow, g_plxGlobalData.clrBarShadow);
  return rect.Width();
}

BOOL CPlxToolbarEditBoxButton::OnClick(CWnd*, BOOL) {
  return HasEdit() && (m_pWndEdit->GetStyle() & WS_VISIBLE) != 0;
}

HWND CPlxToolbarEditBoxButton::GetHwnd() {
  return m_pWndEdit != nullptr ? m_pWndEdit->GetSafeHwnd() : nullptr;
}

BOOL CPlxToolbarEditBoxButton::HaveHotBorder() const {
  return !(HasEdit() && (m_pWndEdit->GetStyle() & WS_VISIBLE) != 0);
}

BOOL CPlxToolbarEditBoxButton::NotifyCommand(int iNotifyCode) {
  if (!HasEdit() || iNotifyCode != EN_CHANGE) return FALSE;
  m_strContents = PlxWindowText(m_pWndEdit->m_hWnd);
  for (CPlxToolbarEditBoxButton* twin : EditTwins(this)) twin->SetContents(m_strContents);
  return !m_bChangingText;
}

void CPlxToolbarEditBoxButton::SetHotEdit(BOOL bHot) {
  if (m_bHotEdit == bHot) return;
  m_bHotEdit = bHot;
  if (!HasEdit()) return;
  if (CWnd* parent = m_pWndEdit->GetParent(); parent != nullptr) {
    parent->InvalidateRect(m_rect);
    parent->UpdateWindow();
  }
}

void CPlxToolbarEditBoxButton::SetStyle(UINT nStyle) {
  m_nStyle = nStyle;
  if (HasEdit()) m_pWndEdit->EnableWindow(!IsDisabledForDrawing());
}

void CPlxToolbarEditBoxButton::OnAddToCustomizePage() {
  const std::vector<CPlxToolbarEditBoxButton*> twins = EditTwins(this);
  if (!twins.empty()) CopyFrom(*twins.front());
}

HBRUSH CPlxToolbarEditBoxButton::OnCtlColor(CDC* pDC, UINT) {
  pDC->SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
  pDC->SetBkColor(GetSysColor(COLOR_WINDOW));
  return GetSysColorBrush(COLOR_WINDOW);
}

void CPlxToolbarEditBoxButton::OnGlobalFontsChanged() {
  CPlxToolbarButton::OnGlobalFontsChanged();
  if (HasEdit()) m_pWndEdit->SetFont(&g_plxGlobalData.fontRegular);
}

void CPlxToolbarEditBoxButton::CopyFrom(const CPlxToolbarButton& s) {
  CPlxToolbarButton::CopyFrom(s);
  const auto* src = dynamic_cast<const CPlxToolbarEditBoxButton*>(&s);
  if (src == nullptr) return;
  m_dwEditStyle = src->m_dwEditStyle;
  m_iWidth = src->m_iWidth;
  m_strContents = src->m_strContents;
}

void CPlxToolbarEditBoxButton::Serialize(CArchive& ar) {
  CPlxToolbarButton::Serialize(ar);
  if (ar.IsStoring()) {
    // Only a live edit's text is stored; storing leaves the button's own text as it is.
    const CString contents = HasEdit() ? PlxWindowText(m_pWndEdit->m_hWnd) : CString();
    if (HasEdit()) m_strContents = contents;
    ar << static_cast<DWORD>(m_iWidth) << m_dwEditStyle;
    ar << contents;
    return;
  }
  DWORD width = 0, style = 0;
  CString contents;
  ar >> width >> style;
  ar >> contents;
  m_iWidth = static_cast<int>(width) > 0 && static_cast<int>(width) <= kMaxControlWidth
                 ? static_cast<int>(width)
                 : kDefaultWidth;
  m_rect.right = m_rect.left + m_iWidth;
  m_dwEditStyle = style;
  m_strContents = contents;
}

// ---- the edit ----

BEGIN_MESSAGE_MAP(CPlxToolbarEditCtrl, CEdit)
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_MOUSEMOVE()
ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

BOOL CPlxToolbarEditCtrl::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN) {
    if (pMsg->wParam == VK_TAB) {
      if (CWnd* parent = GetParent(); parent != nullptr) {
        CWnd* next = parent->GetNextDlgTabItem(this, GetKeyState(VK_SHIFT) < 0);
        if (next != nullptr && next != this) next->SetFocus();
      }
      return TRUE;
    }
    if (pMsg->wParam == VK_ESCAPE) {
      if (CWnd* frame = PlxTopLevelFrame(this); frame != nullptr) {
        frame->SetFocus();
        return TRUE;
      }
    }
  }
  return CEdit::PreTranslateMessage(pMsg);
}

void CPlxToolbarEditCtrl::OnSetFocus(CWnd* pOldWnd) {
  CEdit::OnSetFocus(pOldWnd);
  m_pOwnerButton->SetHotEdit(TRUE);
}

void CPlxToolbarEditCtrl::OnKillFocus(CWnd* pNewWnd) {
  CEdit::OnKillFocus(pNewWnd);
  m_pOwnerButton->SetHotEdit(FALSE);
}

void CPlxToolbarEditCtrl::OnMouseMove(UINT nFlags, CPoint point) {
  CEdit::OnMouseMove(nFlags, point);
  m_pOwnerButton->SetHotEdit(TRUE);
  if (!m_bTracked) {
    m_bTracked = TRUE;
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, 0};
    TrackMouseLeave(&track);
  }
}

void CPlxToolbarEditCtrl::OnMouseLeave() {
  m_bTracked = FALSE;
  if (::GetFocus() != m_hWnd) m_pOwnerButton->SetHotEdit(FALSE);
}
