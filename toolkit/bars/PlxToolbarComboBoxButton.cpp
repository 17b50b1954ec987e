#include "toolkit/bars/PlxToolbarComboBoxButton.h"

#include <algorithm>
#include <vector>

#include "platform/base/Archive.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/FrameWnd.h"
#include "toolkit/bars/PlxMenuTempStore.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarControlText.h"
#include "toolkit/bars/PlxTrackMouse.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/core/PlxWorkspace.h"

IMPLEMENT_SERIAL(CPlxToolbarComboBoxButton, CPlxToolbarButton, VERSIONABLE_SCHEMA | 1)

BOOL CPlxToolbarComboBoxButton::s_bFlatLook = FALSE;

namespace {

constexpr DWORD kDefaultComboStyle =
    WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_NOINTEGRALHEIGHT | CBS_DROPDOWNLIST;
constexpr int kDefaultWidth = 150;
constexpr int kDefaultDropDownHeight = 150;
constexpr int kDropDownHeightVersion = 0x4071F;
// Bounds for sizes read from archives; a window cannot be larger.
constexpr int kMaxControlWidth = 32767;
constexpr int kMaxDropDownHeight = 32767;

BOOL IsEditableStyle(DWORD style) {
  return (style & 0x3) == CBS_DROPDOWN;
}

BOOL IsOwnerDrawn(DWORD style) {
  return (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0;
}

// Data written by this version always carries the list's height; only a workspace that knows its
// data to be older leaves it out (no workspace, or one that read no version, means this version).
BOOL ArchiveHasDropDownHeight() {
  if (CPlxMenuTempStore::m_bSerializing) return TRUE;
  CPlxWorkspace* workspace = CPlxWorkspace::GetWorkspace();
  const int version = workspace != nullptr ? workspace->GetDataVersion() : -1;
  return version < 0 || version > kDropDownHeightVersion;
}

BOOL IsWindowOrChild(HWND own, HWND hwnd) {
  return own != nullptr && hwnd != nullptr && (own == hwnd || ::IsChild(own, hwnd));
}

}  // namespace

CPlxToolbarComboBoxButton::CPlxToolbarComboBoxButton()
    : m_dwComboStyle(kDefaultComboStyle),
      m_iWidth(kDefaultWidth),
      m_nDropDownHeight(kDefaultDropDownHeight) {}

CPlxToolbarComboBoxButton::CPlxToolbarComboBoxButton(UINT uiID, int iImage, DWORD dwStyle, int iWidth)
    : CPlxToolbarButton(uiID, iImage),
      m_dwComboStyle(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_NOINTEGRALHEIGHT | dwStyle),
      m_iWidth(iWidth > 0 ? iWidth : kDefaultWidth),
      m_nDropDownHeight(kDefaultDropDownHeight) {}

CPlxToolbarComboBoxButton::~CPlxToolbarComboBoxButton() {
  DestroyWindows();
}

void CPlxToolbarComboBoxButton::DestroyWindows() {
  if (m_pWndEdit != nullptr) {
    if (m_pWndEdit->GetSafeHwnd() != nullptr) m_pWndEdit->DestroyWindow();
    delete m_pWndEdit;
    m_pWndEdit = nullptr;
  }
  if (m_pWndCombo != nullptr) {
    if (m_pWndCombo->GetSafeHwnd() != nullptr) m_pWndCombo->DestroyWindow();
    delete m_pWndCombo;
    m_pWndCombo = nullptr;
  }
}

// ---- the items ----

INT_PTR CPlxToolbarComboBoxButton::AddItem(LPCTSTR lpszItem, DWORD dwData) {
  const CString item = lpszItem == nullptr ? "" : lpszItem;
  if (m_pWndCombo != nullptr && m_pWndCombo->GetSafeHwnd() != nullptr) {
    const int index = m_pWndCombo->AddString(item);
    if (index < 0) return -1;
    m_pWndCombo->SetItemData(index, dwData);
  }
  m_lstItems.AddTail(item);
  m_lstItemData.AddTail(dwData);
  return m_lstItems.GetCount() - 1;
}

int CPlxToolbarComboBoxButton::GetCount() const {
  return static_cast<int>(m_lstItems.GetCount());
}

CString CPlxToolbarComboBoxButton::GetItem(int iIndex) const {
  if (iIndex < 0 || iIndex >= GetCount()) return CString();
  return m_lstItems.GetAt(m_lstItems.FindIndex(iIndex));
}

DWORD CPlxToolbarComboBoxButton::GetItemData(int iIndex) const {
  if (iIndex < 0 || iIndex >= static_cast<int>(m_lstItemData.GetCount())) return 0;
  return m_lstItemData.GetAt(m_lstItemData.FindIndex(iIndex));
}

void CPlxToolbarComboBoxButton::RemoveAllItems() {
  m_lstItems.RemoveAll();
  OnItemDataClearing();
  m_lstItemData.RemoveAll();
  m_iSelItem = -1;
  m_strEdit.Empty();
  if (m_pWndCombo != nullptr && m_pWndCombo->GetSafeHwnd() != nullptr) m_pWndCombo->ResetContent();
  if (m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() != nullptr) m_pWndEdit->SetWindowText("");
}

void CPlxToolbarComboBoxButton::FillComboFromLists() {
  POSITION data = m_lstItemData.GetHeadPosition();
  for (POSITION pos = m_lstItems.GetHeadPosition(); pos != nullptr;) {
    const int index = m_pWndCombo->AddString(m_lstItems.GetNext(pos));
    const DWORD value = data != nullptr ? m_lstItemData.GetNext(data) : 0;
    if (index >= 0) m_pWndCombo->SetItemData(index, value);
  }
  if (m_iSelItem != -1) m_pWndCombo->SetCurSel(m_iSelItem);
}

void CPlxToolbarComboBoxButton::TakeListsFromCombo() {
  m_lstItems.RemoveAll();
  OnItemDataClearing();
  m_lstItemData.RemoveAll();
  const int count = m_pWndCombo->GetCount();
  for (int i = 0; i < count; ++i) {
    m_lstItems.AddTail(PlxComboItemText(m_pWndCombo->m_hWnd, i));
    m_lstItemData.AddTail(static_cast<DWORD>(m_pWndCombo->GetItemData(i)));
  }
  OnItemDataFilled();
  m_iSelItem = m_pWndCombo->GetCurSel();
}

// ---- placement ----

CComboBox* CPlxToolbarComboBoxButton::CreateCombo(CWnd* pWndParent, const CRect& rect) {
  auto* combo = new CComboBox;
  // A child of the bar whatever the stored style says: a damaged archive must not make a top-level
  // window out of a button.
  const DWORD style = (m_dwComboStyle | WS_CHILD) & ~WS_POPUP;
  if (!combo->Create(style, rect, pWndParent, m_nID)) {
    delete combo;
    return nullptr;
  }
  return combo;
}

CEdit* CPlxToolbarComboBoxButton::CreateEdit(CWnd* pWndParent, const CRect& rect, DWORD dwEditStyle) {
  auto* edit = new CPlxComboInnerEdit(*this);
  if (!edit->Create(dwEditStyle, rect, pWndParent, m_nID)) {
    delete edit;
    return nullptr;
  }
  return edit;
}

void CPlxToolbarComboBoxButton::OnChangeParentWnd(CWnd* pWndParent) {
  CPlxToolbarButton::OnChangeParentWnd(pWndParent);
  if (m_pWndCombo != nullptr && m_pWndCombo->GetSafeHwnd() != nullptr) {
    if (pWndParent != nullptr && ::GetParent(m_pWndCombo->m_hWnd) == pWndParent->GetSafeHwnd()) return;
    // The window's items and text are the truth while it lives: keep them for the next window.
    TakeListsFromCombo();
    if (IsEditableStyle(m_dwComboStyle)) m_strEdit = PlxWindowText(m_pWndCombo->m_hWnd);
  }
  DestroyWindows();
  if (pWndParent == nullptr || pWndParent->GetSafeHwnd() == nullptr) return;

  CRect rect = m_rect;
  rect.left += 2;
  rect.right = std::max<int>(rect.left, rect.right - 2);
  rect.bottom = rect.top + m_nDropDownHeight;
  m_pWndCombo = CreateCombo(pWndParent, rect);
  if (m_pWndCombo == nullptr) return;
  if (s_bFlatLook) m_pWndCombo->ShowWindow(SW_HIDE);  // its face is drawn by the button
  m_pWndCombo->EnableWindow(!CPlxToolBar::m_bCustomizeMode && !(m_nStyle & TBBS_DISABLED));
  if (s_bFlatLook && IsEditableStyle(m_dwComboStyle)) {
    DWORD editStyle = WS_CHILD | WS_VISIBLE | ES_WANTRETURN | ES_AUTOHSCROLL;
    if (m_dwComboStyle & WS_TABSTOP) editStyle |= WS_TABSTOP;
    m_pWndEdit = CreateEdit(pWndParent, CRect(0, 0, 0, 0), editStyle);
    if (m_pWndEdit != nullptr) {
      m_pWndEdit->SetFont(&g_plxGlobalData.fontRegular);
      if (auto* bar = dynamic_cast<CControlBar*>(pWndParent); bar != nullptr && bar->GetOwner() != nullptr)
        m_pWndEdit->SetOwner(bar->GetOwner());
    }
  }
  AdjustRect();
  m_pWndCombo->SetFont(&g_plxGlobalData.fontRegular);

  if (m_pWndCombo->GetCount() == 0) {
    if (m_iSelItem >= GetCount()) m_iSelItem = -1;
    FillComboFromLists();
  } else {
    TakeListsFromCombo();
  }
  if (m_iSelItem >= 0 && m_iSelItem < m_pWndCombo->GetCount()) {
    m_strEdit = PlxComboItemText(m_pWndCombo->m_hWnd, m_iSelItem);
    m_pWndCombo->SetWindowText(m_strEdit);
    if (m_pWndEdit != nullptr) m_pWndEdit->SetWindowText(m_strEdit);
  } else if (IsEditableStyle(m_dwComboStyle) && !m_strEdit.IsEmpty()) {
    // Typed text that is no item comes back too.
    m_pWndCombo->SetWindowText(m_strEdit);
    if (m_pWndEdit != nullptr) m_pWndEdit->SetWindowText(m_strEdit);
  }
}

void CPlxToolbarComboBoxButton::AdjustRect() {
  if (m_pWndCombo == nullptr || m_pWndCombo->GetSafeHwnd() == nullptr || m_rect.IsRectEmpty() ||
      !m_bHorzLayout || m_pWndParent == nullptr) {
    m_rectCombo.SetRectEmpty();
    m_rectButton.SetRectEmpty();
    return;
  }
  const CSize extra = m_bExtraSize ? CPlxVisualManager::GetInstance()->GetButtonExtraBorder() : CSize(0, 0);
  CRect rect = m_rect;
  rect.DeflateRect(extra.cx / 2, extra.cy / 2);
  m_pWndCombo->SetWindowPos(nullptr, rect.left + 1, rect.top, rect.Width() - 2, m_nDropDownHeight,
                            SWP_NOZORDER | SWP_NOACTIVATE);
  m_pWndCombo->SendMessage(CB_SETEDITSEL, 0, 0xFFFF);
  m_pWndCombo->GetWindowRect(&m_rectCombo);
  m_pWndParent->ScreenToClient(&m_rectCombo);
  if (!s_bFlatLook) return;

  // The flat look draws the face itself: a drop button at the right end, the edit over the rest.
  const int glyphWidth = CPlxMenuGlyphs::GetSize().cx;
  m_rectButton = m_rectCombo;
  m_rectButton.left = m_rectButton.right - glyphWidth * 2;
  m_rectButton.DeflateRect(2, 2);
  m_rect.left = m_rectCombo.left - 1;
  m_rect.right = m_rectCombo.right + 1;
  if (m_sizeTextBelow.cy == 0) {
    m_rect.top = m_rectCombo.top - extra.cy / 2;
    m_rect.bottom = m_rectCombo.bottom + extra.cy / 2;
  }
  if (m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() != nullptr)
    m_pWndEdit->SetWindowPos(nullptr, m_rectCombo.left + 3, m_rect.top + extra.cy / 2 + 3,
                             m_rect.Width() - m_rectButton.Width() - 8, m_rectCombo.Height() - 6,
                             SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPlxToolbarComboBoxButton::OnMove() {
  AdjustRect();
}

void CPlxToolbarComboBoxButton::OnSize(int iSize) {
  m_iWidth = iSize;
  m_rect.right = m_rect.left + iSize;
  AdjustRect();
}

void CPlxToolbarComboBoxButton::Show(BOOL bShow) {
  if (m_pWndCombo == nullptr || m_pWndCombo->GetSafeHwnd() == nullptr) return;
  if (bShow && m_bHorzLayout) {
    OnMove();
    m_pWndCombo->ShowWindow(s_bFlatLook ? SW_HIDE : SW_SHOWNOACTIVATE);
    if (m_pWndEdit != nullptr) m_pWndEdit->ShowWindow(SW_SHOWNOACTIVATE);
  } else {
    m_pWndCombo->ShowWindow(SW_HIDE);
    if (m_pWndEdit != nullptr) m_pWndEdit->ShowWindow(SW_HIDE);
  }
}

CSize CPlxToolbarComboBoxButton::OnCalculateSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) {
  m_sizeTextBelow = CSize(0, 0);
  m_bHorzLayout = bHorz;
  const BOOL hasCombo = m_pWndCombo != nullptr && m_pWndCombo->GetSafeHwnd() != nullptr;
  auto hide = [&] {
    if (!hasCombo) return;
    m_pWndCombo->ShowWindow(SW_HIDE);
    if (m_pWndEdit != nullptr) m_pWndEdit->ShowWindow(SW_HIDE);
  };
  if (!m_bVisible) {
    hide();
    return CSize(0, 0);
  }
  if (!bHorz) {
    hide();
    return CPlxToolbarButton::OnCalculateSize(pDC, sizeDefault, bHorz);
  }
  if (hasCombo && !m_bIsHidden) {
    if (!s_bFlatLook) m_pWndCombo->ShowWindow(SW_SHOWNOACTIVATE);
    if (m_pWndEdit != nullptr) m_pWndEdit->ShowWindow(SW_SHOWNOACTIVATE);
  }
  if (m_bTextBelow && !m_strText.IsEmpty()) {
    CRect box(0, 0, m_iWidth, sizeDefault.cy);
    pDC->DrawText(m_strText, box, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    m_sizeTextBelow = box.Size();
  }
  int height = sizeDefault.cy;
  if (hasCombo) {
    CRect window;
    m_pWndCombo->GetWindowRect(&window);
    height = window.Height();
  }
  return CSize(m_iWidth, height + m_sizeTextBelow.cy);
}

// ---- drawing ----

BOOL CPlxToolbarComboBoxButton::IsDisabledForDrawing() const {
  return CPlxToolBar::m_bCustomizeMode ? !IsEditable() : (m_nStyle & TBBS_DISABLED) != 0;
}

BOOL CPlxToolbarComboBoxButton::IsDropped() const {
  return m_pWndCombo != nullptr && m_pWndCombo->GetSafeHwnd() != nullptr && m_pWndCombo->GetDroppedState();
}

void CPlxToolbarComboBoxButton::OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz,
                                       BOOL bCustomizeMode, BOOL bHighlight, BOOL bDrawBorder,
                                       BOOL bGrayDisabledButtons) {
  if (m_pWndCombo == nullptr || m_pWndCombo->GetSafeHwnd() == nullptr || !bHorz) {
    CPlxToolbarButton::OnDraw(pDC, rect, pImages, bHorz, bCustomizeMode, bHighlight, bDrawBorder,
                              bGrayDisabledButtons);
    return;
  }
  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  const BOOL disabled = bCustomizeMode ? !IsEditable() : (m_nStyle & TBBS_DISABLED) != 0;
  const COLORREF clrText = disabled     ? g_plxGlobalData.clrGrayedText
                           : bHighlight ? CPlxToolBar::GetHotTextColor()
                                        : g_plxGlobalData.clrBarText;
  if (s_bFlatLook) {
    const BOOL dropped = IsDropped();
    const BOOL hot = bHighlight || m_bHotEdit;
    manager->OnDrawComboBorder(pDC, m_rectCombo, disabled, dropped, hot, this);
    CRect inside = m_rectCombo;
    inside.DeflateRect(2, 2);
    if (disabled) {
      pDC->FillRect(inside, &g_plxGlobalData.brBarFace);
      pDC->Draw3dRect(inside, g_plxGlobalData.clrBarHilite, g_plxGlobalData.clrBarHilite);
    } else {
      pDC->FillSolidRect(inside, GetSysColor(COLOR_WINDOW));
    }
    manager->OnDrawComboDropButton(pDC, m_rectButton, disabled, dropped, hot, this);
    CRect rectText = inside;
    rectText.right = m_rectButton.left - 1;
    rectText.left += 2;
    if (IsOwnerDrawn(m_dwComboStyle)) {
      const int sel = m_pWndCombo->GetCurSel();
      DRAWITEMSTRUCT dis{};
      dis.CtlType = ODT_COMBOBOX;
      dis.CtlID = m_nID;
      dis.itemID = static_cast<UINT>(sel);
      dis.itemAction = ODA_DRAWENTIRE;
      dis.itemState = ODS_COMBOBOXEDIT;
      dis.hwndItem = m_pWndCombo->m_hWnd;
      dis.hDC = pDC->GetSafeHdc();
      dis.rcItem = rectText;
      dis.itemData = sel >= 0 ? m_pWndCombo->GetItemData(sel) : 0;
      m_pWndCombo->DrawItem(&dis);
    } else if (m_pWndEdit == nullptr) {
      const int oldMode = pDC->SetBkMode(TRANSPARENT);
      pDC->SetTextColor(disabled ? g_plxGlobalData.clrGrayedText : GetSysColor(COLOR_WINDOWTEXT));
      CFont* oldFont = pDC->SelectObject(&g_plxGlobalData.fontRegular);
      pDC->DrawText(m_strEdit, rectText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
      pDC->SelectObject(oldFont);
      pDC->SetBkMode(oldMode);
    }
  }
  if (m_bTextBelow && !m_strText.IsEmpty()) {
    CRect rectLabel = rect;
    rectLabel.top = (m_rectCombo.bottom + rect.bottom - m_sizeTextBelow.cy) / 2;
    pDC->SetTextColor(clrText);
    pDC->DrawText(m_strText, rectLabel, DT_CENTER | DT_WORDBREAK);
  }
}

int CPlxToolbarComboBoxButton::OnDrawOnCustomizeList(CDC* pDC, const CRect& rect, BOOL bSelected) {
  const int used = CPlxToolbarButton::OnDrawOnCustomizeList(pDC, rect, bSelected);
  CRect box = rect;
  box.left = box.right - std::max<int>(20, rect.Width() - used - 10);
  box.DeflateRect(1, 1);
  pDC->FillRect(box, &g_plxGlobalData.brWindow);
  pDC->Draw3dRect(box, g_plxGlobalData.clrBarShadow, g_plxGlobalData.clrBarShadow);
  CRect button = box;
  button.left = button.right - box.Height();
  button.DeflateRect(1, 1);
  CPlxVisualManager::GetInstance()->OnDrawComboDropButton(pDC, button, FALSE, FALSE, FALSE, this);
  return rect.Width();
}

void CPlxToolbarComboBoxButton::RedrawButton() {
  if (m_pWndParent != nullptr && m_pWndParent->GetSafeHwnd() != nullptr) {
    m_pWndParent->InvalidateRect(m_rect);
    m_pWndParent->UpdateWindow();
  }
}

void CPlxToolbarComboBoxButton::SetHotEdit(BOOL bHot) {
  if (m_bHotEdit == bHot) return;
  m_bHotEdit = bHot;
  RedrawButton();
}

// ---- input and notifications ----

BOOL CPlxToolbarComboBoxButton::OnClick(CWnd*, BOOL) {
  if (m_pWndCombo == nullptr || m_pWndCombo->GetSafeHwnd() == nullptr || !m_bHorzLayout) return FALSE;
  if (s_bFlatLook) {
    if (m_pWndEdit != nullptr)
      m_pWndEdit->SetFocus();
    else
      m_pWndCombo->SetFocus();
    m_pWndCombo->ShowDropDown(TRUE);
    RedrawButton();
  }
  return TRUE;
}

// The twins: the other combo-box buttons of this command, on every bar.
static std::vector<CPlxToolbarComboBoxButton*> ComboTwins(CPlxToolbarComboBoxButton* self) {
  std::vector<CPlxToolbarComboBoxButton*> twins;
  CObList buttons;
  CPlxToolBar::GetCommandButtons(self->m_nID, buttons);
  for (POSITION pos = buttons.GetHeadPosition(); pos != nullptr;) {
    auto* other = dynamic_cast<CPlxToolbarComboBoxButton*>(buttons.GetNext(pos));
    if (other != nullptr && other != self) twins.push_back(other);
  }
  return twins;
}

BOOL CPlxToolbarComboBoxButton::NotifyCommand(int iNotifyCode) {
  if (m_pWndCombo == nullptr || m_pWndCombo->GetSafeHwnd() == nullptr) return FALSE;
  if (s_bFlatLook) {
    if (iNotifyCode == 0) return TRUE;
    RedrawButton();
  }
  // The bar hands on the inner edit's own change notice: it is the combo's typing.
  if (m_pWndEdit != nullptr && iNotifyCode == EN_CHANGE) iNotifyCode = CBN_EDITCHANGE;
  switch (iNotifyCode) {
    case CBN_SELCHANGE:
      if (m_pWndEdit != nullptr) {
        const int sel = m_pWndCombo->GetCurSel();
        if (sel >= 0) m_pWndEdit->SetWindowText(PlxComboItemText(m_pWndCombo->m_hWnd, sel));
      }
      return TRUE;
    case CBN_KILLFOCUS:
    case CBN_EDITUPDATE:
      return TRUE;
    case CBN_EDITCHANGE:
      m_strEdit = PlxWindowText(m_pWndEdit != nullptr ? m_pWndEdit->m_hWnd : m_pWndCombo->m_hWnd);
      for (CPlxToolbarComboBoxButton* twin : ComboTwins(this)) {
        // Only a different text is written: a flat twin's edit reports the change back, and
        // writing the same text again would send the two twins round for ever.
        twin->m_strEdit = m_strEdit;
        if (twin->m_pWndCombo != nullptr && twin->m_pWndCombo->GetSafeHwnd() != nullptr &&
            PlxWindowText(twin->m_pWndCombo->m_hWnd) != m_strEdit)
          twin->m_pWndCombo->SetWindowText(m_strEdit);
        if (twin->m_pWndEdit != nullptr && twin->m_pWndEdit->GetSafeHwnd() != nullptr &&
            PlxWindowText(twin->m_pWndEdit->m_hWnd) != m_strEdit) {
          twin->m_bTextFromTwin = TRUE;
          twin->m_pWndEdit->SetWindowText(m_strEdit);
          twin->m_bTextFromTwin = FALSE;
        }
      }
      // A text a twin wrote is no typing of the user's: no second command.
      return !m_bTextFromTwin;
    case CBN_SELENDOK: {
      m_iSelItem = m_pWndCombo->GetCurSel();
      if (m_iSelItem < 0) return FALSE;
      m_strEdit = PlxComboItemText(m_pWndCombo->m_hWnd, m_iSelItem);
      if (m_pWndEdit != nullptr) m_pWndEdit->SetWindowText(m_strEdit);
      for (CPlxToolbarComboBoxButton* twin : ComboTwins(this))
        if (twin->CanSyncSelection()) twin->SelectItem(m_iSelItem, FALSE);
      if (s_bFlatLook && m_pWndEdit != nullptr) m_pWndEdit->SetFocus();
      return TRUE;
    }
    default:
      return FALSE;
  }
}

BOOL CPlxToolbarComboBoxButton::SelectItem(int iIndex, BOOL bNotify) {
  if (iIndex < 0 || iIndex >= GetCount()) return FALSE;
  const BOOL hasCombo = m_pWndCombo != nullptr && m_pWndCombo->GetSafeHwnd() != nullptr;
  // Items put into the window by hand may be fewer than the stored ones: nothing changes then.
  if (hasCombo && iIndex >= m_pWndCombo->GetCount()) return FALSE;
  m_iSelItem = iIndex;
  if (!hasCombo) {
    m_strEdit = GetItem(iIndex);
    return TRUE;
  }
  m_strEdit = PlxComboItemText(m_pWndCombo->m_hWnd, iIndex);
  if (m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() != nullptr) {
    if (PlxWindowText(m_pWndEdit->m_hWnd) != m_strEdit) m_pWndEdit->SetWindowText(m_strEdit);
  } else if (s_bFlatLook) {
    RedrawButton();
  }
  if (m_pWndCombo->GetCurSel() == iIndex) return TRUE;
  if (m_pWndCombo->SetCurSel(iIndex) == CB_ERR) return FALSE;
  if (bNotify) NotifyCommand(CBN_SELENDOK);
  return TRUE;
}

BOOL CPlxToolbarComboBoxButton::ExportTooltipText(CPlxToolbarButton* pTarget) {
  CString str;
  if (pTarget != nullptr && m_nID != 0 && str.LoadString(m_nID)) {
    const int nl = str.Find('\n');
    if (nl >= 0) pTarget->m_strText = str.Mid(nl + 1);
  }
  return TRUE;
}

void CPlxToolbarComboBoxButton::OnAddToCustomizePage() {
  for (CPlxToolbarComboBoxButton* twin : ComboTwins(this)) {
    // A live button's window holds its current items; its lists may be behind them.
    if (twin->m_pWndCombo != nullptr && twin->m_pWndCombo->GetSafeHwnd() != nullptr)
      twin->TakeListsFromCombo();
    CopyFrom(*twin);
    return;
  }
}

HBRUSH CPlxToolbarComboBoxButton::OnCtlColor(CDC* pDC, UINT) {
  pDC->SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
  pDC->SetBkColor(GetSysColor(COLOR_WINDOW));
  return GetSysColorBrush(COLOR_WINDOW);
}

void CPlxToolbarComboBoxButton::OnGlobalFontsChanged() {
  CPlxToolbarButton::OnGlobalFontsChanged();
  if (m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() != nullptr)
    m_pWndEdit->SetFont(&g_plxGlobalData.fontRegular);
  if (m_pWndCombo != nullptr && m_pWndCombo->GetSafeHwnd() != nullptr)
    m_pWndCombo->SetFont(&g_plxGlobalData.fontRegular);
}

void CPlxToolbarComboBoxButton::SetStyle(UINT nStyle) {
  CPlxToolbarButton::SetStyle(nStyle);
  const BOOL enable = !IsDisabledForDrawing();
  if (m_pWndCombo != nullptr && m_pWndCombo->GetSafeHwnd() != nullptr) m_pWndCombo->EnableWindow(enable);
  if (m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() != nullptr) m_pWndEdit->EnableWindow(enable);
}

HWND CPlxToolbarComboBoxButton::GetHwnd() {
  if (s_bFlatLook && m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() != nullptr && !IsDropped())
    return m_pWndEdit->m_hWnd;
  return m_pWndCombo != nullptr ? m_pWndCombo->GetSafeHwnd() : nullptr;
}

void CPlxToolbarComboBoxButton::EnableWindow(BOOL bEnable) {
  if (m_pWndCombo != nullptr && m_pWndCombo->GetSafeHwnd() != nullptr) m_pWndCombo->EnableWindow(bEnable);
  if (m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() != nullptr) m_pWndEdit->EnableWindow(bEnable);
}

BOOL CPlxToolbarComboBoxButton::IsWindowVisible() {
  auto visible = [](CWnd* wnd) {
    return wnd != nullptr && wnd->GetSafeHwnd() != nullptr && (wnd->GetStyle() & WS_VISIBLE) != 0;
  };
  return visible(m_pWndCombo) || visible(m_pWndEdit);
}

BOOL CPlxToolbarComboBoxButton::IsOwnerOf(HWND hwnd) {
  return IsWindowOrChild(m_pWndCombo != nullptr ? m_pWndCombo->GetSafeHwnd() : nullptr, hwnd) ||
         IsWindowOrChild(m_pWndEdit != nullptr ? m_pWndEdit->GetSafeHwnd() : nullptr, hwnd);
}

BOOL CPlxToolbarComboBoxButton::HasFocus() const {
  if (IsDropped()) return TRUE;
  HWND focus = ::GetFocus();
  return IsWindowOrChild(m_pWndCombo != nullptr ? m_pWndCombo->GetSafeHwnd() : nullptr, focus) ||
         IsWindowOrChild(m_pWndEdit != nullptr ? m_pWndEdit->GetSafeHwnd() : nullptr, focus);
}

// ---- copying and storing ----

void CPlxToolbarComboBoxButton::CopyFrom(const CPlxToolbarButton& s) {
  CPlxToolbarButton::CopyFrom(s);
  const auto* src = dynamic_cast<const CPlxToolbarComboBoxButton*>(&s);
  if (src == nullptr) return;
  m_lstItems.RemoveAll();
  for (POSITION pos = src->m_lstItems.GetHeadPosition(); pos != nullptr;)
    m_lstItems.AddTail(src->m_lstItems.GetNext(pos));
  OnItemDataClearing();
  m_lstItemData.RemoveAll();
  for (POSITION pos = src->m_lstItemData.GetHeadPosition(); pos != nullptr;)
    m_lstItemData.AddTail(src->m_lstItemData.GetNext(pos));
  OnItemDataFilled();
  m_dwComboStyle = src->m_dwComboStyle;
  m_iWidth = src->m_iWidth;
  m_iSelItem = src->m_iSelItem;
  m_nDropDownHeight = src->m_nDropDownHeight;
  m_bSerializeContent = src->m_bSerializeContent;
}

void CPlxToolbarComboBoxButton::Serialize(CArchive& ar) {
  CPlxToolbarButton::Serialize(ar);
  if (ar.IsStoring()) {
    if (m_pWndCombo != nullptr && m_pWndCombo->GetSafeHwnd() != nullptr) TakeListsFromCombo();
    ar << static_cast<DWORD>(m_iWidth) << m_dwComboStyle << static_cast<DWORD>(m_iSelItem);
    ar << m_strEdit;
    ar << static_cast<DWORD>(m_nDropDownHeight);
    SerializeContent(ar);
    return;
  }
  DWORD width = 0, style = 0, sel = 0, height = kDefaultDropDownHeight;
  CString text;
  ar >> width >> style >> sel;
  ar >> text;
  if (ArchiveHasDropDownHeight()) ar >> height;
  SerializeContent(ar);
  // Everything read: now the fields change, with sizes a bar can hold.
  m_iWidth = static_cast<int>(width) > 0 && static_cast<int>(width) <= kMaxControlWidth
                 ? static_cast<int>(width)
                 : kDefaultWidth;
  m_rect.right = m_rect.left + m_iWidth;
  m_dwComboStyle = style;
  m_strEdit = text;
  m_nDropDownHeight = static_cast<int>(height) > 0 && static_cast<int>(height) <= kMaxDropDownHeight
                          ? static_cast<int>(height)
                          : kDefaultDropDownHeight;
  const int index = static_cast<int>(sel);
  m_iSelItem = index >= 0 && index < GetCount() ? index : -1;
  if (m_iSelItem >= 0) SelectItem(m_iSelItem, TRUE);
}

void CPlxToolbarComboBoxButton::SerializeContent(CArchive& ar) {
  if (!m_bSerializeContent) return;
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD_PTR>(m_lstItems.GetCount()));
    for (POSITION pos = m_lstItems.GetHeadPosition(); pos != nullptr;) ar << m_lstItems.GetNext(pos);
    POSITION data = m_lstItemData.GetHeadPosition();
    for (INT_PTR i = 0; i < m_lstItems.GetCount(); ++i)
      ar << (data != nullptr ? m_lstItemData.GetNext(data) : DWORD{0});
    return;
  }
  // Read whole before anything changes: a short or damaged archive leaves the items as they were.
  CStringList items;
  CList<DWORD, DWORD> data;
  for (DWORD_PTR count = ar.ReadCount(); count > 0; --count) {
    CString item;
    ar >> item;
    items.AddTail(item);
  }
  for (INT_PTR i = 0; i < items.GetCount(); ++i) {
    DWORD value = 0;
    ar >> value;
    data.AddTail(value);
  }
  m_lstItems.RemoveAll();
  for (POSITION pos = items.GetHeadPosition(); pos != nullptr;) m_lstItems.AddTail(items.GetNext(pos));
  OnItemDataClearing();
  m_lstItemData.RemoveAll();
  for (POSITION pos = data.GetHeadPosition(); pos != nullptr;) m_lstItemData.AddTail(data.GetNext(pos));
  OnItemDataFilled();
}

// ---- the flat look's inner edit ----

BEGIN_MESSAGE_MAP(CPlxComboInnerEdit, CEdit)
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_MOUSEMOVE()
ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

BOOL CPlxComboInnerEdit::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message != WM_KEYDOWN || GetKeyState(VK_MENU) < 0 || GetKeyState(VK_CONTROL) < 0)
    return CEdit::PreTranslateMessage(pMsg);
  CComboBox* combo = m_pOwnerButton->m_pWndCombo;
  if (combo == nullptr || combo->GetSafeHwnd() == nullptr) return CEdit::PreTranslateMessage(pMsg);
  const BOOL dropped = combo->GetDroppedState();
  switch (pMsg->wParam) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_UP:
    case VK_DOWN:
      if (dropped) {
        combo->SendMessage(WM_KEYDOWN, pMsg->wParam, pMsg->lParam);
        return TRUE;
      }
      if (pMsg->wParam == VK_UP || pMsg->wParam == VK_DOWN) {
        combo->ShowDropDown(TRUE);
        m_pOwnerButton->RedrawButton();
        return TRUE;
      }
      break;
    case VK_RETURN:
      if (dropped) {
        combo->SendMessage(WM_KEYDOWN, VK_RETURN, pMsg->lParam);
        return TRUE;
      } else {
        m_pOwnerButton->m_strEdit = PlxWindowText(m_hWnd);
        // The combo's owner is its bar, which would take the command for its own control's and
        // drop it: the bar's owner gets it instead.
        CWnd* owner = combo->GetOwner();
        if (auto* bar = dynamic_cast<CControlBar*>(combo->GetParent()); bar != nullptr)
          if (owner == nullptr || owner == bar) owner = bar->GetBarOwner();
        if (owner == nullptr) owner = combo->GetParent();
        if (owner != nullptr)
          owner->PostMessage(WM_COMMAND, MAKEWPARAM(m_pOwnerButton->m_nID, 0),
                             reinterpret_cast<LPARAM>(combo->m_hWnd));
        return TRUE;
      }
    case VK_TAB:
      if (CWnd* parent = GetParent(); parent != nullptr) {
        if (CWnd* next = parent->GetNextDlgTabItem(this); next != nullptr && next != this) next->SetFocus();
      }
      return TRUE;
    case VK_ESCAPE:
      combo->ShowDropDown(FALSE);
      if (CWnd* frame = PlxTopLevelFrame(this); frame != nullptr) frame->SetFocus();
      return TRUE;
    default:
      break;
  }
  return CEdit::PreTranslateMessage(pMsg);
}

void CPlxComboInnerEdit::OnSetFocus(CWnd* pOldWnd) {
  CEdit::OnSetFocus(pOldWnd);
  m_pOwnerButton->SetHotEdit(TRUE);
  m_pOwnerButton->NotifyCommand(CBN_SETFOCUS);
}

void CPlxComboInnerEdit::OnKillFocus(CWnd* pNewWnd) {
  CEdit::OnKillFocus(pNewWnd);
  m_pOwnerButton->SetHotEdit(FALSE);
  m_pOwnerButton->NotifyCommand(CBN_KILLFOCUS);
}

void CPlxComboInnerEdit::OnMouseMove(UINT nFlags, CPoint point) {
  CEdit::OnMouseMove(nFlags, point);
  m_pOwnerButton->SetHotEdit(TRUE);
  if (!m_bTracked) {
    m_bTracked = TRUE;
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, 0};
    TrackMouseLeave(&track);
  }
}

void CPlxComboInnerEdit::OnMouseLeave() {
  m_bTracked = FALSE;
  if (::GetFocus() != m_hWnd) m_pOwnerButton->SetHotEdit(FALSE);
}
