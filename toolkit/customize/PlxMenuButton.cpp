#include "toolkit/customize/PlxMenuButton.h"

#include "platform/mfc/WndMessageMap.h"
#include "platform/user/Menu.h"
#include "toolkit/bars/PlxContextMenuManager.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxMenuGlyphs.h"

IMPLEMENT_DYNAMIC(CPlxMenuButton, CPlxButton)

BEGIN_MESSAGE_MAP(CPlxMenuButton, CPlxButton)
ON_WM_KEYDOWN()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_KILLFOCUS()
ON_WM_LBUTTONDBLCLK()
ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

namespace {
constexpr int kArrowGap = 10;
}

int CPlxMenuButton::ArrowAreaWidth() {
  return CPlxMenuGlyphs::GetSize().cx + kArrowGap;
}

CSize CPlxMenuButton::SizeToContent(BOOL bCalcOnly) {
  CSize size = CPlxButton::SizeToContent(TRUE);
  size.cx += CPlxMenuGlyphs::GetSize().cx;
  if (!bCalcOnly) SetWindowPos(nullptr, -1, -1, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return size;
}

void CPlxMenuButton::OnDraw(CDC* pDC, const CRect& rect, UINT uiState) {
  CRect rectContent = rect;
  rectContent.right -= ArrowAreaWidth();
  CPlxButton::OnDraw(pDC, rectContent, uiState);

  CString strText;
  GetWindowText(strText);
  CRect rectArrow = rect;
  if (m_sizeImage.cx != 0 || !strText.IsEmpty()) rectArrow.left = rectContent.right;
  const BOOL bDisabled = (uiState & ODS_DISABLED) != 0;
  const int glyph = m_bMenuOnRight
                        ? (bDisabled ? CPlxMenuGlyphs::IdArowRightDisabled : CPlxMenuGlyphs::IdArowRight)
                        : (bDisabled ? CPlxMenuGlyphs::IdArowDownDisabled : CPlxMenuGlyphs::IdArowDown);
  CPlxMenuGlyphs::Draw(pDC, glyph, rectArrow);

  if (m_bSplit) {
    CRect rectSep(rectArrow.left, rectArrow.top + 2, rectArrow.left + 2, rectArrow.bottom - 2);
    if (!IsThemeDrawable() || (m_bPushed && m_bHighlighted)) rectSep.OffsetRect(m_sizePushOffset);
    pDC->Draw3dRect(rectSep, g_plxGlobalData.clrBtnShadow, g_plxGlobalData.clrBtnHilite);
  }
}

void CPlxMenuButton::ShowMenu() {
  if (m_hMenu == nullptr || m_bMenuIsOpen) return;
  CRect rectWindow;
  GetWindowRect(rectWindow);
  CPoint point;
  if (m_bMenuOnRight)
    point = CPoint(rectWindow.right, rectWindow.top);
  else
    point = CPoint(m_bRightAlign ? rectWindow.right : rectWindow.left, rectWindow.bottom);

  if (m_bStayPressed) m_bPushed = m_bHighlighted = TRUE;
  m_bMenuIsOpen = TRUE;
  Repaint();

  const HWND hwndSelf = GetSafeHwnd();
  UINT nCommand = 0;
  if (m_bPlainMenu || g_pContextMenuManager == nullptr) {
    UINT flags = TPM_RETURNCMD | TPM_NONOTIFY;
    if (m_bRightAlign && !m_bMenuOnRight) flags |= TPM_RIGHTALIGN;
    // Kept clear of the button: a menu that slid back over it would hide what opened it.
    TPMPARAMS params{};
    params.cbSize = sizeof(params);
    params.rcExclude = rectWindow;
    if (!m_bMenuOnRight) flags |= TPM_VERTICAL;  // below the button, else above it
    nCommand = static_cast<UINT>(::TrackPopupMenuEx(m_hMenu, flags, point.x, point.y, hwndSelf, &params));
  } else {
    nCommand = g_pContextMenuManager->TrackPopupMenu(m_hMenu, point.x, point.y, this, m_bRightAlign);
    if (::IsWindow(hwndSelf)) SetFocus();
  }
  // The menu's own loop may have seen the button go away.
  if (!::IsWindow(hwndSelf)) return;
  m_nMenuResult = nCommand;
  if (nCommand != 0) {
    if (CWnd* pParent = GetParent())
      pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED),
                           reinterpret_cast<LPARAM>(hwndSelf));
    // The parent may close the window that holds this button while it handles the command.
    if (!::IsWindow(hwndSelf)) return;
  }
  m_bPushed = m_bHighlighted = FALSE;
  m_bMenuIsOpen = FALSE;
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  if (m_bCaptured) {
    ReleaseCapture();
    m_bCaptured = FALSE;
  }
}

void CPlxMenuButton::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_SPACE || nChar == VK_DOWN) {
    // The space the key made is already queued: the menu would read it as a mnemonic and beep.
    MSG msg;
    if (nChar == VK_SPACE && ::PeekMessage(&msg, GetSafeHwnd(), WM_CHAR, WM_CHAR, PM_NOREMOVE) &&
        msg.wParam == ' ')
      ::PeekMessage(&msg, GetSafeHwnd(), WM_CHAR, WM_CHAR, PM_REMOVE);
    m_bKeyboardOpen = TRUE;
    ShowMenu();
    return;
  }
  CPlxButton::OnKeyDown(nChar, nRepCnt, nFlags);
}

BOOL CPlxMenuButton::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN && pMsg->hwnd == GetSafeHwnd() &&
      CPlxPopupMenu::GetActiveMenu() == nullptr) {
    m_bKeyboardOpen = TRUE;
    ShowMenu();
    return TRUE;
  }
  return CPlxButton::PreTranslateMessage(pMsg);
}

void CPlxMenuButton::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_bButtonMode) {
    // A press the button does not consume: its release is a plain click again, whatever opened
    // the menu last time.
    m_bKeyboardOpen = FALSE;
    CPlxButton::OnLButtonDown(nFlags, point);
    return;
  }
  m_bKeyboardOpen = TRUE;
  if (m_bSplit) {
    CRect rectClient;
    GetClientRect(rectClient);
    if (point.x < rectClient.right - ArrowAreaWidth()) {
      m_bKeyboardOpen = FALSE;
      m_nMenuResult = 0;
      CPlxButton::OnLButtonDown(nFlags, point);
      return;
    }
  }
  SetFocus();
  ShowMenu();
}

void CPlxMenuButton::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bStayPressed && m_bButtonMode && m_bPushed) {
    m_bHighlighted = FALSE;
    CPlxButton::OnLButtonUp(nFlags, point);
    ReleaseCapture();
    m_bCaptured = FALSE;
    return;
  }
  if (!m_bKeyboardOpen) CPlxButton::OnLButtonUp(nFlags, point);
}

void CPlxMenuButton::OnKillFocus(CWnd* pNewWnd) {
  if (m_bStayPressed && m_bButtonMode && m_bPushed) {
    CButton::OnKillFocus(pNewWnd);
    ReleaseCapture();
    m_bCaptured = FALSE;
    m_bHighlighted = m_bHover = FALSE;
    return;
  }
  CPlxButton::OnKillFocus(pNewWnd);
}

void CPlxMenuButton::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (!m_bButtonMode) CPlxButton::OnLButtonDblClk(nFlags, point);
}

UINT CPlxMenuButton::OnGetDlgCode() {
  return DLGC_WANTARROWS;
}
